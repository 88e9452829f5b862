#include "preferences.h"

#include "settingsstore.h"

namespace settings {

namespace {

constexpr PrefDefinition kDefinitions[] = {
    {"monitoring_form_left", "0"},          {"monitoring_form_top", "0"},
    {"monitoring_form_height", "6705"},     {"monitoring_form_width", "9600"},
    {"monitoring_always_on_top", "N"},      {"mon_form_entry_font_size", "Small"},
    {"quillet_monitor_root_directory", ""}, {"MonitorChanges", "False"},
};

} // namespace

const std::array<SpellingOptionDefinition, kSpellingOptionCount> kSpellingOptions = {{
    {"AutoCorrect", true, false},
    {"CaseSensitive", true, false},
    {"CatchDoubledWords", true, true},
    {"IgnoreAllCapsWords", true, true},
    {"IgnoreCapitalizedWords", false, false},
    {"IgnoreDomainNames", true, true},
    {"IgnoreMixedCaseWords", true, false},
    {"IgnoreWordsWithDigits", true, true},
    {"PhoneticSuggestions", false, false},
    {"TypographicalSuggestions", true, true},
    {"SuggestSplitWords", true, false},
}};

const PrefDefinition &definitionOf(Pref pref)
{
    return kDefinitions[static_cast<int>(pref)];
}

QString booleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString Preferences::read(Pref pref) const
{
    return read(pref, QString::fromLatin1(definitionOf(pref).defaultValue));
}

QString Preferences::read(Pref pref, const QString &defaultValue) const
{
    return m_store.value(kApplication, kSection, QString::fromLatin1(definitionOf(pref).key),
                         defaultValue);
}

void Preferences::write(Pref pref, const QString &value)
{
    m_store.setValue(kApplication, kSection, QString::fromLatin1(definitionOf(pref).key), value);
}

void Preferences::writeIfChanged(Pref pref, const QString &value)
{
    if (read(pref, QString()) != value)
        write(pref, value);
}

QString Preferences::readSpellingOption(const SpellingOptionDefinition &option) const
{
    return m_store.value(kApplication, kSection, QString::fromLatin1(option.name),
                         booleanText(option.defaultValue));
}

void Preferences::writeSpellingOption(const SpellingOptionDefinition &option, bool value)
{
    m_store.setValue(kApplication, kSection, QString::fromLatin1(option.name), booleanText(value));
}

} // namespace settings
