#pragma once

#include "preferences.h"

#include <QString>

#include <array>

namespace settings {

// The spelling component's eleven options, held by the window until the spell checker takes
// them. Options are addressed by their names, as they are stored.
class SpellingOptions
{
public:
    SpellingOptions();

    // False when no option has that name.
    bool set(const QString &name, bool value);
    bool value(const QString &name) const;

private:
    std::array<bool, kSpellingOptionCount> m_values;
};

// "True" / "False" as stored; any other text is not a truth value.
bool parseBooleanText(const QString &text, bool &value);

} // namespace settings
