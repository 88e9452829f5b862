#pragma once

#include "settingsstore.h"

namespace settings {

// The per-user registry location where the suite's older programs keep their program settings:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, string values.
// Qt reads the registry on every read and writes at once, so other programs see changes live.
class RegistrySettingsStore : public SettingsStore
{
public:
    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue) const override;
    void setValue(const QString &application, const QString &section, const QString &key,
                  const QString &value) override;
};

} // namespace settings
