#pragma once

#include <QString>

#include <memory>

namespace settings {

// Per-user string values addressed by application, section and key, shared with the suite's
// other programs. A read sees what another program wrote a moment before; a write is visible
// to the others at once. The store reports no failures: a value that cannot be read reads as
// its default.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString value(const QString &application, const QString &section, const QString &key,
                          const QString &defaultValue) const = 0;
    virtual void setValue(const QString &application, const QString &section, const QString &key,
                          const QString &value) = 0;
};

// The store the suite uses on this platform: the registry on Windows, an INI file per
// application in the user's configuration folder elsewhere.
std::unique_ptr<SettingsStore> createPlatformSettingsStore();

} // namespace settings
