#include "inisettingsstore.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStringList>

namespace settings {

namespace {

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isGroup(const QString &line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
}

QString groupName(const QString &line)
{
    const QString t = line.trimmed();
    return t.mid(1, t.size() - 2).trimmed();
}

bool isKeyLine(const QString &line, const QString &key)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}

// Index of the key's line inside the section, or -1; sectionEnd gets the index just behind the
// section's last line (-1 when there is no such section).
qsizetype findKey(const QStringList &lines, const QString &section, const QString &key,
                  qsizetype &sectionEnd)
{
    sectionEnd = -1;
    bool inSection = false;
    qsizetype found = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isGroup(lines[i])) {
            inSection = groupName(lines[i]).compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (!lines[i].trimmed().isEmpty())
            sectionEnd = i + 1;
        if (found < 0 && isKeyLine(lines[i], key))
            found = i;
    }
    return found;
}

} // namespace

IniSettingsStore::IniSettingsStore(QString folder) : m_folder(std::move(folder)) {}

QString IniSettingsStore::defaultFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : xdg;
}

QString IniSettingsStore::filePath(const QString &application) const
{
    return m_folder + QLatin1Char('/') + application + QStringLiteral(".ini");
}

QString IniSettingsStore::value(const QString &application, const QString &section,
                                const QString &key, const QString &defaultValue) const
{
    const QStringList lines = readLines(filePath(application));
    qsizetype sectionEnd = -1;
    const qsizetype at = findKey(lines, section, key, sectionEnd);
    if (at < 0)
        return defaultValue;
    return lines[at].mid(lines[at].indexOf(QLatin1Char('=')) + 1);
}

void IniSettingsStore::setValue(const QString &application, const QString &section,
                                const QString &key, const QString &value)
{
    QDir().mkpath(m_folder);
    const QString path = filePath(application);
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(5000);
    if (!lock.tryLock(5000))
        return; // another writer hangs; the store reports no failures

    QStringList lines = readLines(path);
    qsizetype sectionEnd = -1;
    const qsizetype at = findKey(lines, section, key, sectionEnd);
    // A line break inside a value would start a new line of its own.
    QString stored = value;
    stored.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString line = key + QLatin1Char('=') + stored;
    if (at >= 0) {
        lines[at] = line;
    } else if (sectionEnd >= 0) {
        lines.insert(sectionEnd, line);
    } else {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << line;
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    file.commit();
}

} // namespace settings
