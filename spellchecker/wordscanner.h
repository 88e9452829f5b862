#pragma once

#include <QList>
#include <QString>

namespace spelling {

// A word of the text: letters and digits, with apostrophes inside it ("don't", "tutor's").
struct WordSpan
{
    int start = 0;
    int length = 0;
    bool inAddress = false; // part of a domain name, a web address or an e-mail address
};

QList<WordSpan> scanWords(QStringView text);

enum class WordCase { Lower, Capitalized, AllCaps, Mixed };
// Letters only; a word without letters counts as lower case.
WordCase caseOf(QStringView word);
bool hasDigit(QStringView word);
bool hasLetter(QStringView word);

// `replacement` in the case pattern of `original` ("Teh" -> "The", "TEH" -> "THE").
QString matchCase(const QString &original, const QString &replacement);

} // namespace spelling
