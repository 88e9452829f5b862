#include "flagaliases.h"

#include <QHash>
#include <QList>

namespace spelling {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QList<QByteArray> fields(const QByteArray &line)
{
    return line.simplified().split(' ');
}

// Where the word and its flags end, as Hunspell splits a line: before a morphological field (a
// blank-preceded "xx:" or a tab), otherwise at the line's end.
qsizetype wordPartEnd(QByteArrayView line)
{
    qsizetype end = -1;
    for (qsizetype colon = line.indexOf(':'); colon >= 0; colon = line.indexOf(':', colon + 1)) {
        if (colon > 3 && isBlank(line[colon - 3])) {
            qsizetype at = colon - 3;
            while (at > 0 && isBlank(line[at - 1]))
                --at;
            if (at > 0)
                end = at;
            break;
        }
    }
    const qsizetype tab = line.indexOf('\t');
    if (tab >= 0 && (end < 0 || tab < end))
        end = tab;
    return end < 0 ? line.size() : end;
}

// The slash that starts the flags: not the first character, not escaped ("\/" is part of the
// word). -1 when the word has no flags.
qsizetype flagSlash(QByteArrayView line, qsizetype wordEnd)
{
    for (qsizetype at = line.indexOf('/', 1); at >= 0 && at < wordEnd;
         at = line.indexOf('/', at + 1)) {
        if (line[at - 1] != '\\')
            return at;
    }
    return -1;
}

bool affixRulesTakeFlags(const QByteArray &aff)
{
    for (const QByteArray &line : aff.split('\n')) {
        const QList<QByteArray> f = fields(line);
        if (f.first() == "AF")
            return true;
        // PFX/SFX name strip add[/flags] condition
        if ((f.first() == "PFX" || f.first() == "SFX") && f.size() >= 5 && f[3].contains('/'))
            return true;
    }
    return false;
}

// Hunspell reads its options only up to the first affix rule (when a REP table came before
// it), and the aliases need the flag type set before them: the table goes just before the rules.
QByteArray withTableBeforeAffixes(QByteArray aff, const QByteArray &table)
{
    qsizetype lineStart = 0;
    while (lineStart < aff.size()) {
        const qsizetype lineEnd = aff.indexOf('\n', lineStart);
        const QByteArray first =
            fields(aff.mid(lineStart, lineEnd < 0 ? -1 : lineEnd - lineStart)).first();
        if (first == "PFX" || first == "SFX")
            return aff.insert(lineStart, table);
        if (lineEnd < 0)
            break;
        lineStart = lineEnd + 1;
    }
    if (!aff.endsWith('\n'))
        aff += '\n';
    return aff + table;
}

} // namespace

std::optional<AliasedDictionary> withFlagAliases(const QByteArray &aff, const QByteArray &dic)
{
    if (affixRulesTakeFlags(aff))
        return std::nullopt;
    QHash<QByteArrayView, int> numbers; // views into `dic`
    QList<QByteArrayView> sets;
    QByteArray words;
    words.reserve(dic.size());
    // The first line holds the number of words.
    qsizetype lineStart = dic.indexOf('\n') + 1;
    words += dic.left(lineStart);
    while (lineStart > 0 && lineStart < dic.size()) {
        qsizetype lineEnd = dic.indexOf('\n', lineStart);
        lineEnd = lineEnd < 0 ? dic.size() : lineEnd;
        const QByteArrayView line(dic.constData() + lineStart, lineEnd - lineStart);
        const qsizetype wordEnd = wordPartEnd(line);
        const qsizetype slash = flagSlash(line, wordEnd);
        // A carriage return of a CRLF file belongs to the line's end, not to the flags.
        qsizetype flagsEnd = wordEnd;
        while (slash >= 0 && flagsEnd > slash + 1 && line[flagsEnd - 1] == '\r')
            --flagsEnd;
        if (slash < 0 || flagsEnd == slash + 1) {
            words.append(line);
        } else {
            const QByteArrayView flags = line.sliced(slash + 1, flagsEnd - slash - 1);
            int &number = numbers[flags];
            if (number == 0) {
                sets.append(flags);
                number = int(sets.size());
            }
            words.append(line.first(slash + 1));
            words += QByteArray::number(number);
            words.append(line.sliced(flagsEnd));
        }
        if (lineEnd < dic.size())
            words += '\n';
        lineStart = lineEnd + 1;
    }
    QByteArray table = "AF " + QByteArray::number(sets.size()) + '\n';
    for (const QByteArrayView flags : std::as_const(sets))
        table += "AF " + flags.toByteArray() + '\n';
    return AliasedDictionary{withTableBeforeAffixes(aff, table), words};
}

} // namespace spelling
