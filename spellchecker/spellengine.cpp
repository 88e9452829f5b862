#include "spellengine.h"
#include "flagaliases.h"
#include "wordlistfile.h"
#include "wordscanner.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <hunspell.hxx>

namespace spelling {

namespace {

// Hunspell calls words over 100 bytes wrong and is slow to suggest for them.
constexpr int kLongestWordBytes = 100;
constexpr int kMostVerdicts = 100000;

std::string utf8(const QString &text)
{
    return text.toUtf8().toStdString();
}

bool isSplit(const QString &suggestion, const QString &word)
{
    return suggestion.contains(u' ') || (suggestion.contains(u'-') && !word.contains(u'-'));
}

QString capitalized(const QString &word)
{
    return word.left(1).toUpper() + word.mid(1);
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

bool declaresUtf8(const Hunspell &hunspell)
{
    return QString::fromLatin1(hunspell.get_dict_encoding().c_str()).toUpper() ==
           QLatin1String("UTF-8");
}

std::unique_ptr<Hunspell> loadFrom(const QString &aff, const QString &dic)
{
    return std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                      QFile::encodeName(dic).constData());
}

// The dictionary with its flags as aliases, through a private temporary copy (Hunspell reads
// only files), which saves the heap a block per word; as it is when that cannot be made.
std::unique_ptr<Hunspell> loadHunspell(const QString &aff, const QString &dic)
{
    const QTemporaryDir copy;
    {
        const std::optional<AliasedDictionary> aliased =
            withFlagAliases(fileContents(aff), fileContents(dic));
        if (!copy.isValid() || !aliased ||
            !writeFile(copy.filePath(QStringLiteral("aliased.aff")), aliased->aff) ||
            !writeFile(copy.filePath(QStringLiteral("aliased.dic")), aliased->dic))
            return loadFrom(aff, dic);
    } // the texts go before the dictionary takes their room
    std::unique_ptr<Hunspell> aliased = loadFrom(copy.filePath(QStringLiteral("aliased.aff")),
                                                 copy.filePath(QStringLiteral("aliased.dic")));
    // A copy Hunspell could not open (a temporary folder its file functions cannot name) reads
    // as an empty dictionary in its default encoding.
    return declaresUtf8(*aliased) ? std::move(aliased) : loadFrom(aff, dic);
}

} // namespace

SpellEngine::SpellEngine(const QString &dictionaryBase)
{
    const QString aff = dictionaryBase + QStringLiteral(".aff");
    const QString dic = dictionaryBase + QStringLiteral(".dic");
    // Hunspell builds an empty dictionary from missing files without a word.
    for (const QString &file : {aff, dic}) {
        const QFileInfo info(file);
        if (!info.isFile() || !info.isReadable())
            throw SpellingError(QStringLiteral("The dictionary file %1 cannot be read").arg(file));
    }
    m_hunspell = loadHunspell(aff, dic);
    if (!declaresUtf8(*m_hunspell))
        throw SpellingError(QStringLiteral("The dictionary %1 is not in UTF-8").arg(dic));
}

SpellEngine::~SpellEngine() = default;

void SpellEngine::setOptions(const CheckOptions &options)
{
    if (options.on(Option::CaseSensitive) != m_options.on(Option::CaseSensitive))
        m_verdicts.clear();
    m_options = options;
}

void SpellEngine::useUserWords(const QString &path)
{
    for (const QString &word : std::as_const(m_userWords))
        m_hunspell->remove(utf8(word));
    m_userWordsPath = path;
    m_userWords = path.isEmpty() ? QStringList() : readWordListFile(path);
    for (const QString &word : std::as_const(m_userWords))
        m_hunspell->add(utf8(word));
    m_verdicts.clear();
}

void SpellEngine::useCorrections(const QString &path)
{
    m_correctionsPath = path;
    m_corrections.clear();
    if (path.isEmpty())
        return;
    for (const QString &line : readWordListFile(path)) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab > 0 && tab + 1 < line.size())
            m_corrections.insert(line.left(tab), line.mid(tab + 1));
    }
}

bool SpellEngine::addUserWord(const QString &word, QString &error)
{
    if (!m_userWords.contains(word)) {
        m_userWords.append(word);
        m_hunspell->add(utf8(word));
        m_verdicts.clear();
    }
    if (m_userWordsPath.isEmpty()) {
        error = QStringLiteral("no user word list is in use");
        return false;
    }
    // Another program of the suite may have added words since this one read the list.
    QStringList stored = readWordListFile(m_userWordsPath);
    if (stored.contains(word))
        return true;
    stored.append(word);
    return writeWordListFile(m_userWordsPath, stored, error);
}

bool SpellEngine::setCorrection(const QString &word, const QString &replacement, QString &error)
{
    if (replacement.isEmpty())
        m_corrections.remove(word);
    else
        m_corrections.insert(word, replacement);
    if (m_correctionsPath.isEmpty()) {
        error = QStringLiteral("no list of automatic corrections is in use");
        return false;
    }
    QStringList lines;
    for (const QString &line : readWordListFile(m_correctionsPath)) {
        if (!line.startsWith(word + u'\t'))
            lines.append(line);
    }
    if (!replacement.isEmpty())
        lines.append(word + u'\t' + replacement);
    return writeWordListFile(m_correctionsPath, lines, error);
}

QString SpellEngine::correctionFor(const QString &word) const
{
    const auto found = m_corrections.constFind(word);
    if (found != m_corrections.constEnd())
        return *found;
    // "Teh" is corrected like "teh", keeping its capital.
    const auto lower = m_corrections.constFind(word.toLower());
    return lower != m_corrections.constEnd() ? matchCase(word, *lower) : QString();
}

void SpellEngine::ignoreAll(const QString &word)
{
    m_ignored.insert(word);
}

bool SpellEngine::known(const QString &word) const
{
    const auto found = m_verdicts.constFind(word);
    if (found != m_verdicts.constEnd())
        return *found;
    bool verdict = m_hunspell->spell(utf8(word));
    if (!verdict && !m_options.on(Option::CaseSensitive)) {
        const QString lower = word.toLower();
        verdict = m_hunspell->spell(utf8(lower)) || m_hunspell->spell(utf8(capitalized(lower)));
    }
    if (m_verdicts.size() >= kMostVerdicts)
        m_verdicts.clear();
    m_verdicts.insert(word, verdict);
    return verdict;
}

bool SpellEngine::accepts(QStringView word) const
{
    if (word.isEmpty())
        return true;
    // Decided before the dictionary: it accepts "HELLO" and "123" by itself.
    if (hasDigit(word) && m_options.on(Option::IgnoreWordsWithDigits))
        return true;
    switch (caseOf(word)) {
    case WordCase::AllCaps:
        if (m_options.on(Option::IgnoreAllCapsWords))
            return true;
        break;
    case WordCase::Capitalized:
        if (m_options.on(Option::IgnoreCapitalizedWords))
            return true;
        break;
    case WordCase::Mixed:
        if (m_options.on(Option::IgnoreMixedCaseWords))
            return true;
        break;
    case WordCase::Lower:
        break;
    }
    const QString text = word.toString();
    return m_ignored.contains(text) || known(text);
}

QStringList SpellEngine::suggestions(const QString &word) const
{
    if (word.toUtf8().size() > kLongestWordBytes)
        return {};
    const bool typographical = m_options.on(Option::TypographicalSuggestions);
    const bool phonetic = m_options.on(Option::PhoneticSuggestions);
    const bool splits = m_options.on(Option::SuggestSplitWords);

    QStringList engine;
    if (typographical || phonetic) {
        for (const std::string &s : m_hunspell->suggest(utf8(word))) {
            const QString suggestion = QString::fromStdString(s);
            if (suggestion != word && (splits || !isSplit(suggestion, word)))
                engine.append(suggestion);
        }
    }
    QStringList result;
    if (phonetic) {
        // The dictionary has no phonetic table: the engine's suggestions that sound alike
        // come first (or alone).
        const QString key = soundKey(word);
        for (const QString &s : std::as_const(engine)) {
            if (soundKey(s) == key)
                result.append(s);
        }
        if (typographical) {
            for (const QString &s : std::as_const(engine)) {
                if (!result.contains(s))
                    result.append(s);
            }
        }
    } else {
        result = engine;
    }
    if (splits) {
        // Two known words run together, which the engine does not always offer.
        for (int i = 1; i < word.size(); ++i) {
            const QString left = word.left(i);
            const QString right = word.mid(i);
            const auto wordLike = [](const QString &part) {
                return part.size() > 1 || part == QLatin1String("a") || part == QLatin1String("I");
            };
            if (!wordLike(left) || !wordLike(right) || !hasLetter(left) || !hasLetter(right))
                continue;
            const QString split = left + u' ' + right;
            if (!result.contains(split) && m_hunspell->spell(utf8(left)) &&
                m_hunspell->spell(utf8(right)))
                result.append(split);
        }
    }
    return result;
}

template <typename Visit> void SpellEngine::walk(QStringView text, Visit visit) const
{
    const bool skipAddresses = m_options.on(Option::IgnoreDomainNames);
    const bool doubled = m_options.on(Option::CatchDoubledWords);
    const WordSpan *previous = nullptr;
    const QList<WordSpan> words = scanWords(text);
    for (const WordSpan &span : words) {
        if (span.inAddress && skipAddresses) {
            previous = nullptr;
            continue;
        }
        const QStringView word = text.mid(span.start, span.length);
        Problem problem;
        if (doubled && previous && hasLetter(word) &&
            word.compare(text.mid(previous->start, previous->length), Qt::CaseInsensitive) == 0 &&
            text.mid(previous->start + previous->length,
                     span.start - previous->start - previous->length)
                .trimmed()
                .isEmpty()) {
            problem.kind = Problem::Doubled;
            problem.deleteFrom = previous->start + previous->length;
        } else if (!accepts(word)) {
            problem.kind = Problem::Unknown;
        }
        previous = &span;
        if (problem.kind == Problem::None)
            continue;
        problem.start = span.start;
        problem.length = span.length;
        problem.word = word.toString();
        if (!visit(problem))
            return;
    }
}

Problem SpellEngine::findProblem(QStringView text, int from) const
{
    Problem found;
    walk(text, [&](const Problem &problem) {
        if (problem.start < from)
            return true;
        found = problem;
        return false;
    });
    return found;
}

QList<Problem> SpellEngine::problems(QStringView text) const
{
    QList<Problem> found;
    walk(text, [&](const Problem &problem) {
        found.append(problem);
        return true;
    });
    return found;
}

QString soundKey(const QString &word)
{
    QString s;
    for (const QChar c : word.toLower()) {
        if (c.isLetter())
            s += c;
    }
    // Spellings of one sound, then letters that sound like others.
    const std::pair<const char *, const char *> rules[] = {
        {"ph", "f"}, {"gh", ""},  {"ck", "k"}, {"wh", "w"}, {"dg", "j"}, {"ch", "k"},
        {"sh", "s"}, {"th", "t"}, {"x", "ks"}, {"q", "k"},  {"z", "s"},
    };
    for (const auto &[from, to] : rules)
        s.replace(QLatin1String(from), QLatin1String(to));
    if (s.startsWith(QLatin1String("kn")) || s.startsWith(QLatin1String("wr")))
        s.remove(0, 1);
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == u'c')
            s[i] = i + 1 < s.size() && QStringLiteral("eiy").contains(s[i + 1]) ? u's' : u'k';
    }
    QString key;
    QChar last;
    for (int i = 0; i < s.size(); ++i) {
        const char c = s[i].toLatin1();
        char code = 0;
        if (QByteArrayLiteral("bfpv").contains(c))
            code = '1';
        else if (QByteArrayLiteral("gjks").contains(c))
            code = '2';
        else if (QByteArrayLiteral("dt").contains(c))
            code = '3';
        else if (c == 'l')
            code = '4';
        else if (c == 'm' || c == 'n')
            code = '5';
        else if (c == 'r')
            code = '6';
        else if (i == 0)
            code = 'V'; // a word that starts with a vowel sound
        if (code == 0) {
            last = QChar();
            continue;
        }
        const QChar coded = QLatin1Char(code);
        if (coded != last)
            key += coded;
        last = coded;
        if (key.size() == 6)
            break;
    }
    return key;
}

} // namespace spelling
