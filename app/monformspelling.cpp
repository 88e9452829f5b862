// Spell checking of the comments box through the spelling component, and its options.
#include "monformentry.h"

#include "spellingcomponent.h"

#include <exception>

namespace {

const QString kCheckComplete = QStringLiteral("The Spelling Check Is Complete");
const QString kNotAvailable = QStringLiteral("The spell checker is not available");

} // namespace

void MonFormEntry::applySpellingOptions()
{
    for (const settings::SpellingOptionDefinition &option : settings::kSpellingOptions) {
        bool value = false;
        // An option that cannot be read as a truth value keeps what it had.
        if (!settings::parseBooleanText(m_preferences.readSpellingOption(option), value))
            continue;
        m_spellingOptions.set(QLatin1String(option.name), value);
        try {
            m_platform.spelling.setOption(QLatin1String(option.name), value);
        } catch (const std::exception &) {
            // A component that refuses one option still takes the others.
        }
    }
}

void MonFormEntry::underlineMisspellings()
{
    try {
        m_platform.spelling.underlineAsYouType(m_commentsBox);
    } catch (const std::exception &) {
        // The box works as before without it; the check command reports a missing component.
    }
}

void MonFormEntry::checkSpelling()
{
    spelling::SpellingComponent &wspell1 = m_platform.spelling;
    try {
        wspell1.setMainWordLists(QStringLiteral("sscebr.tlx,sscebr2.clx"));
        wspell1.setUserWordLists(QStringLiteral("userdic.tlx,correct.tlx"));
        wspell1.setTextControl(m_commentsBox);
        wspell1.start();
        m_platform.messages.show(kCheckComplete);
        // Options the monitor changed in the component's dialog outlive the program.
        for (const settings::SpellingOptionDefinition &option : settings::kSpellingOptions) {
            const bool value = wspell1.option(QLatin1String(option.name));
            m_preferences.writeSpellingOption(option, value);
            m_spellingOptions.set(QLatin1String(option.name), value);
        }
    } catch (const std::exception &) {
        m_platform.messages.show(kNotAvailable);
    }
}
