#pragma once

#include <QString>

#include <array>

namespace settings {

class SettingsStore;

// Every key the program reads or writes lives in this application's "Prefs" section.
inline const QString kApplication = QStringLiteral("RERODODUREVIDEDAZIREZ");
inline const QString kSection = QStringLiteral("Prefs");

enum class Pref {
    FormLeft,
    FormTop,
    FormHeight,
    FormWidth,
    AlwaysOnTop,
    FontSize,
    RootDirectory,
    MonitorChanges,
};

struct PrefDefinition
{
    const char *key;
    const char *defaultValue;
};

const PrefDefinition &definitionOf(Pref pref);

// The spelling component's options, stored under their own names, in the order they are read:
// the default when a key is absent, and the value "Restore System Defaults" writes.
struct SpellingOptionDefinition
{
    const char *name;
    bool defaultValue;
    bool restoredValue;
};

constexpr int kSpellingOptionCount = 11;
extern const std::array<SpellingOptionDefinition, kSpellingOptionCount> kSpellingOptions;

// The program's own section of the settings store.
class Preferences
{
public:
    explicit Preferences(SettingsStore &store) : m_store(store) {}

    QString read(Pref pref) const;
    // For the one key whose readers disagree on its default ("MonitorChanges").
    QString read(Pref pref, const QString &defaultValue) const;
    void write(Pref pref, const QString &value);
    // Reads the stored text afresh and writes `value` only when it differs: the store ends the
    // same, without rewriting it for nothing.
    void writeIfChanged(Pref pref, const QString &value);

    QString readSpellingOption(const SpellingOptionDefinition &option) const;
    void writeSpellingOption(const SpellingOptionDefinition &option, bool value);

private:
    SettingsStore &m_store;
};

QString booleanText(bool value); // "True" / "False"

} // namespace settings
