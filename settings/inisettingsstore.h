#pragma once

#include "settingsstore.h"

namespace settings {

// Keeps each application's values in "<folder>/<application>.ini", one "[section]" group and
// one "key=value" line per key, values as they stand, so that scripts can read and write them
// too. The file is read afresh on every read (another program may have changed it within the
// same clock tick, with the same size) and replaced in one step on every write, under a lock
// file so that two writers never lose each other's keys. Keys are matched without regard to
// case, as in the registry.
class IniSettingsStore : public SettingsStore
{
public:
    explicit IniSettingsStore(QString folder);

    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue) const override;
    void setValue(const QString &application, const QString &section, const QString &key,
                  const QString &value) override;

    QString filePath(const QString &application) const;

    // $XDG_CONFIG_HOME, or ~/.config when it is not set.
    static QString defaultFolder();

private:
    QString m_folder;
};

} // namespace settings
