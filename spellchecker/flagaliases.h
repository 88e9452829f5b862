#pragma once

#include <QByteArray>

#include <optional>

namespace spelling {

// A Hunspell dictionary (.aff and .dic) with its words' affix flags numbered once in the affix
// file ("AF" aliases) instead of spelled out on every line. Hunspell keeps the flags of each word
// in a heap block of their own (32 bytes for a few flags) unless they are aliases, which all words
// share: for the British dictionary that is 82,000 blocks, 2.5 MiB. The words, their flags and
// their descriptions stay exactly as they were.
struct AliasedDictionary
{
    QByteArray aff;
    QByteArray dic;
};

// None when the dictionary already uses aliases or has affix rules with continuation flags
// (which aliases would also renumber): it is then loaded as it is.
std::optional<AliasedDictionary> withFlagAliases(const QByteArray &aff, const QByteArray &dic);

} // namespace spelling
