#pragma once

#include "settingsstore.h"

namespace settings {

// The per-user registry location where the suite's older programs keep their program settings:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, string values,
// through the Windows layer. Every read goes to the registry and every write is made at once, so
// the suite's programs see one another's changes live.
class RegistrySettingsStore : public SettingsStore
{
public:
    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue) const override;
    void setValue(const QString &application, const QString &section, const QString &key,
                  const QString &value) override;
};

} // namespace settings
