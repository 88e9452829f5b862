#pragma once

#include "checkoptions.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

namespace spelling {

// A place where the check stops: a word the dictionaries do not know, or the second of two
// equal words in a row.
struct Problem
{
    enum Kind { None, Unknown, Doubled };
    Kind kind = None;
    int start = 0;
    int length = 0;
    QString word;
    int deleteFrom = 0; // Doubled: removing from here to the word's end leaves the first word

    int end() const { return start + length; }
};

// Hunspell with the options' rules in front of it, the user's word list and automatic
// corrections. Not thread-safe, like Hunspell.
class SpellEngine
{
public:
    // Throws SpellingError when the dictionary's .aff or .dic file cannot be read.
    explicit SpellEngine(const QString &dictionaryBase);
    ~SpellEngine();

    const CheckOptions &options() const { return m_options; }
    void setOptions(const CheckOptions &options);

    // The user word list and the automatic corrections, read at once; an empty path: none.
    void useUserWords(const QString &path);
    void useCorrections(const QString &path);
    // Known at once; false with the reason when the list could not be written.
    bool addUserWord(const QString &word, QString &error);
    // An empty replacement removes the correction.
    bool setCorrection(const QString &word, const QString &replacement, QString &error);
    QString correctionFor(const QString &word) const;
    // Accepted until the component ends; nothing is written.
    void ignoreAll(const QString &word);

    // Whether a word alone passes under the options.
    bool accepts(QStringView word) const;
    QStringList suggestions(const QString &word) const;
    // The first problem in `text` at or after `from`.
    Problem findProblem(QStringView text, int from) const;
    QList<Problem> problems(QStringView text) const;

private:
    bool known(const QString &word) const;
    template <typename Visit> void walk(QStringView text, Visit visit) const;

    std::unique_ptr<Hunspell> m_hunspell;
    CheckOptions m_options;
    QString m_userWordsPath;
    QStringList m_userWords;
    QString m_correctionsPath;
    QHash<QString, QString> m_corrections;
    QSet<QString> m_ignored;
    mutable QHash<QString, bool> m_verdicts; // dictionary answers, so typing does not ask again
};

// A sound-alike key: "phone" and "fone" share one, "done" does not.
QString soundKey(const QString &word);

} // namespace spelling
