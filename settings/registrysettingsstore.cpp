#include "registrysettingsstore.h"

#include "win32registry.h"

namespace settings {

QString RegistrySettingsStore::value(const QString &application, const QString &section,
                                     const QString &key, const QString &defaultValue) const
{
    const auto stored = winplatform::readProgramSetting(application.toStdWString(),
                                                        section.toStdWString(), key.toStdWString());
    return stored ? QString::fromStdWString(*stored) : defaultValue;
}

void RegistrySettingsStore::setValue(const QString &application, const QString &section,
                                     const QString &key, const QString &value)
{
    // The store reports no failures (see SettingsStore); a refused write reads back as before.
    winplatform::writeProgramSetting(application.toStdWString(), section.toStdWString(),
                                     key.toStdWString(), value.toStdWString());
}

} // namespace settings
