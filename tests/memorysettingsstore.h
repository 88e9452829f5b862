#pragma once

#include "settingsstore.h"

#include <QMap>
#include <QStringList>

// Settings held in memory, keyed "application/section/key" (keys without regard to case).
class MemorySettingsStore : public settings::SettingsStore
{
public:
    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue) const override
    {
        return values.value(path(application, section, key), defaultValue);
    }
    void setValue(const QString &application, const QString &section, const QString &key,
                  const QString &value) override
    {
        values.insert(path(application, section, key), value);
        written.append(key);
    }

    // The program's own section.
    QString pref(const QString &key) const
    {
        return values.value(
            path(QStringLiteral("RERODODUREVIDEDAZIREZ"), QStringLiteral("Prefs"), key));
    }
    void setPref(const QString &key, const QString &value)
    {
        setValue(QStringLiteral("RERODODUREVIDEDAZIREZ"), QStringLiteral("Prefs"), key, value);
    }
    bool hasPref(const QString &key) const
    {
        return values.contains(
            path(QStringLiteral("RERODODUREVIDEDAZIREZ"), QStringLiteral("Prefs"), key));
    }

    QMap<QString, QString> values;
    QStringList written; // keys in the order they were written

private:
    static QString path(const QString &application, const QString &section, const QString &key)
    {
        return (application + u'/' + section + u'/' + key).toLower();
    }
};
