#include "wordscanner.h"

#include <QRegularExpression>

namespace spelling {

namespace {

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == QChar(0x2019);
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

// Web addresses with a scheme or "www.", e-mail addresses, and names ending in a common
// top-level domain. Sentences run together without a blank ("end.Next") are not addresses.
const QRegularExpression &addressPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:\b[a-z][a-z0-9+.\-]*://[^\s<>"]+)"
                       R"(|[\w.+\-]+@[\w\-]+(?:\.[\w\-]+)+)"
                       R"(|\bwww\.[\w\-]+(?:\.[\w\-]+)+(?:/[^\s<>"]*)?)"
                       R"(|\b[\w\-]+(?:\.[\w\-]+)*\.(?:com|org|net|edu|gov|mil|int|info|biz|io|uk)"
                       R"(|ac|co|eu|de|fr|ie|au|nz|ca|us)\b(?:/[^\s<>"]*)?))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

struct Range
{
    int start;
    int end;
};

QList<Range> addressRanges(QStringView text)
{
    QList<Range> ranges;
    auto it = addressPattern().globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        int end = int(match.capturedEnd());
        // A full stop or bracket after an address closes the sentence, not the address.
        while (end > match.capturedStart() && QStringLiteral(".,;:!?)]'\"").contains(text[end - 1]))
            --end;
        ranges.append({int(match.capturedStart()), end});
    }
    return ranges;
}

} // namespace

QList<WordSpan> scanWords(QStringView text)
{
    QList<WordSpan> words;
    const QList<Range> addresses = addressRanges(text);
    int address = 0;
    const int size = int(text.size());
    int i = 0;
    while (i < size) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < size && (isWordChar(text[i]) || (isApostrophe(text[i]) && i + 1 < size &&
                                                    isWordChar(text[i + 1]) && i > start)))
            ++i;
        while (address < addresses.size() && addresses[address].end <= start)
            ++address;
        const bool inAddress = address < addresses.size() && addresses[address].start <= start;
        words.append({start, i - start, inAddress});
    }
    return words;
}

WordCase caseOf(QStringView word)
{
    int letters = 0;
    int upper = 0;
    bool firstUpper = false;
    bool upperAfterFirst = false;
    for (const QChar c : word) {
        if (!c.isLetter())
            continue;
        if (c.isUpper()) {
            ++upper;
            if (letters == 0)
                firstUpper = true;
            else
                upperAfterFirst = true;
        }
        ++letters;
    }
    if (upper == 0)
        return WordCase::Lower;
    // A single capital ("I", "A") reads as a capitalised word.
    if (upper == letters && letters > 1)
        return WordCase::AllCaps;
    if (firstUpper && !upperAfterFirst)
        return WordCase::Capitalized;
    return WordCase::Mixed;
}

bool hasDigit(QStringView word)
{
    for (const QChar c : word) {
        if (c.isDigit())
            return true;
    }
    return false;
}

bool hasLetter(QStringView word)
{
    for (const QChar c : word) {
        if (c.isLetter())
            return true;
    }
    return false;
}

QString matchCase(const QString &original, const QString &replacement)
{
    if (replacement.isEmpty() || caseOf(replacement) != WordCase::Lower)
        return replacement;
    switch (caseOf(original)) {
    case WordCase::AllCaps:
        return replacement.toUpper();
    case WordCase::Capitalized:
        return replacement.left(1).toUpper() + replacement.mid(1);
    default:
        return replacement;
    }
}

} // namespace spelling
