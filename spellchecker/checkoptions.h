#pragma once

#include "spellingcomponent.h"

#include <array>

namespace spelling {

// In the order of kOptionNames.
enum class Option {
    AutoCorrect,
    CaseSensitive,
    CatchDoubledWords,
    IgnoreAllCapsWords,
    IgnoreCapitalizedWords,
    IgnoreDomainNames,
    IgnoreMixedCaseWords,
    IgnoreWordsWithDigits,
    PhoneticSuggestions,
    TypographicalSuggestions,
    SuggestSplitWords,
};

// The eleven options the check and the underlining follow.
class CheckOptions
{
public:
    CheckOptions();

    bool on(Option option) const { return m_values[static_cast<int>(option)]; }
    void set(Option option, bool value) { m_values[static_cast<int>(option)] = value; }
    bool operator==(const CheckOptions &other) const { return m_values == other.m_values; }
    bool operator!=(const CheckOptions &other) const { return !(*this == other); }

private:
    std::array<bool, kOptionCount> m_values;
};

} // namespace spelling
