#include "registrysettingsstore.h"

#include <QSettings>

namespace settings {

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings");

QString keyPath(const QString &application, const QString &section, const QString &key)
{
    return application + QLatin1Char('/') + section + QLatin1Char('/') + key;
}

} // namespace

QString RegistrySettingsStore::value(const QString &application, const QString &section,
                                     const QString &key, const QString &defaultValue) const
{
    const QSettings registry(kRoot, QSettings::NativeFormat);
    return registry.value(keyPath(application, section, key), defaultValue).toString();
}

void RegistrySettingsStore::setValue(const QString &application, const QString &section,
                                     const QString &key, const QString &value)
{
    QSettings registry(kRoot, QSettings::NativeFormat);
    registry.setValue(keyPath(application, section, key), value);
}

} // namespace settings
