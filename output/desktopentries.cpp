#include "desktopentries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace {

// The string escapes of desktop file values: \s, \n, \t, \r and \\.
QString unescapeValue(const QString &value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            result += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            result += u' ';
            break;
        case 'n':
            result += u'\n';
            break;
        case 't':
            result += u'\t';
            break;
        case 'r':
            result += u'\r';
            break;
        case '\\':
            result += u'\\';
            break;
        default: // not an escape: kept as written
            result += c;
            result += next;
            break;
        }
    }
    return result;
}

// The keys of the [Desktop Entry] group; later groups (actions) are not read.
QHash<QString, QString> desktopEntryKeys(const QByteArray &contents)
{
    QHash<QString, QString> keys;
    bool inEntry = false;
    const QList<QByteArray> lines = contents.split('\n');
    for (const QByteArray &raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntry || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!keys.contains(key))
            keys.insert(key, line.mid(equals + 1).trimmed());
    }
    return keys;
}

bool isTrue(const QHash<QString, QString> &keys, const QString &key)
{
    return keys.value(key) == QLatin1String("true");
}

// Name[en_GB], then Name[en], then Name.
QString localisedName(const QHash<QString, QString> &keys, const QString &locale)
{
    QStringList candidates;
    if (!locale.isEmpty()) {
        candidates << locale;
        const qsizetype underscore = locale.indexOf(u'_');
        if (underscore > 0)
            candidates << locale.left(underscore);
    }
    for (const QString &candidate : std::as_const(candidates)) {
        const QString key = QStringLiteral("Name[%1]").arg(candidate);
        if (keys.contains(key))
            return unescapeValue(keys.value(key));
    }
    return unescapeValue(keys.value(QStringLiteral("Name")));
}

bool isInstalled(const QString &program)
{
    if (QDir::isAbsolutePath(program))
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QStringList splitList(const QString &value)
{
    QStringList items = value.split(u';', Qt::SkipEmptyParts);
    for (QString &item : items)
        item = item.trimmed();
    items.removeAll(QString());
    return items;
}

} // namespace

QStringList xdgDataDirs()
{
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.local/share");
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share:/usr/share");
    QStringList result{home};
    for (const QString &dir : dirs.split(u':', Qt::SkipEmptyParts)) {
        if (!result.contains(dir))
            result << dir;
    }
    return result;
}

std::optional<DesktopApplication> parseDesktopEntry(const QByteArray &contents, const QString &id,
                                                    const QString &filePath, const QString &locale)
{
    const QHash<QString, QString> keys = desktopEntryKeys(contents);
    if (keys.value(QStringLiteral("Type")) != QLatin1String("Application") ||
        isTrue(keys, QStringLiteral("Hidden")) || isTrue(keys, QStringLiteral("NoDisplay")) ||
        isTrue(keys, QStringLiteral("Terminal"))) {
        return std::nullopt;
    }
    const QString tryExec = unescapeValue(keys.value(QStringLiteral("TryExec")));
    if (!tryExec.isEmpty() && !isInstalled(tryExec))
        return std::nullopt;

    DesktopApplication app;
    app.id = id;
    app.filePath = filePath;
    app.exec = unescapeValue(keys.value(QStringLiteral("Exec")));
    app.name = localisedName(keys, locale);
    app.icon = unescapeValue(keys.value(QStringLiteral("Icon")));
    app.mimeTypes = splitList(keys.value(QStringLiteral("MimeType")));
    if (app.name.isEmpty() || !splitExecLine(app.exec))
        return std::nullopt;
    return app;
}

QList<DesktopApplication> applicationsForMimeTypes(const QStringList &mimeTypes,
                                                   const QStringList &dataDirs,
                                                   const QString &locale)
{
    QMimeDatabase mimeDatabase;
    QSet<QString> seenIds;
    QList<DesktopApplication> candidates;
    for (const QString &dataDir : dataDirs) {
        const QString applications = dataDir + QStringLiteral("/applications");
        QDirIterator it(applications, {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QString id = QDir(applications).relativeFilePath(path);
            id.replace(u'/', u'-');
            // The first folder that has an ID decides, even when it hides the application.
            if (seenIds.contains(id))
                continue;
            seenIds.insert(id);
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            if (auto app = parseDesktopEntry(file.readAll(), id, path, locale)) {
                for (QString &type : app->mimeTypes) {
                    const QMimeType known = mimeDatabase.mimeTypeForName(type);
                    if (known.isValid())
                        type = known.name(); // aliases such as application/rtf
                }
                candidates << *app;
            }
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const DesktopApplication &a, const DesktopApplication &b) {
                  const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
                  return byName != 0 ? byName < 0 : a.id < b.id;
              });

    QList<DesktopApplication> result;
    QSet<QString> taken;
    for (const QString &type : mimeTypes) {
        for (const DesktopApplication &app : std::as_const(candidates)) {
            if (app.mimeTypes.contains(type) && !taken.contains(app.id)) {
                taken.insert(app.id);
                result << app;
            }
        }
    }
    return result;
}

std::optional<QStringList> splitExecLine(const QString &exec)
{
    QStringList args;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            const bool escape = c == u'\\' && i + 1 < exec.size() &&
                                QStringView(u"\"`$\\").contains(exec.at(i + 1));
            if (escape)
                current += exec.at(++i);
            else if (c == u'"')
                quoted = false;
            else
                current += c;
        } else if (c == u' ' || c == u'\t') {
            if (inArgument)
                args << current;
            current.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (c == u'"')
                quoted = true;
            else
                current += c;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        args << current;
    if (args.isEmpty() || args.first().isEmpty())
        return std::nullopt;
    return args;
}

std::optional<QStringList> commandForFile(const DesktopApplication &app, const QString &filePath)
{
    const std::optional<QStringList> args = splitExecLine(app.exec);
    // The program itself is never made from a code: the file must not become what is run.
    if (!args || QString(args->first()).remove(QLatin1String("%%")).contains(u'%'))
        return std::nullopt;
    const QString path = QFileInfo(filePath).absoluteFilePath();
    const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);

    QStringList command;
    bool fileGiven = false;
    for (const QString &arg : *args) {
        // Whole-argument codes first: the file becomes exactly one argument.
        if (arg == QLatin1String("%f") || arg == QLatin1String("%F")) {
            command << path;
            fileGiven = true;
            continue;
        }
        if (arg == QLatin1String("%u") || arg == QLatin1String("%U")) {
            command << url;
            fileGiven = true;
            continue;
        }
        if (arg == QLatin1String("%i")) {
            if (!app.icon.isEmpty())
                command << QStringLiteral("--icon") << app.icon;
            continue;
        }
        // One pass over the argument, so a percent sign in what is put in stays as it is.
        QString expanded;
        for (qsizetype i = 0; i < arg.size(); ++i) {
            if (arg.at(i) != u'%' || i + 1 == arg.size()) {
                expanded += arg.at(i);
                continue;
            }
            switch (arg.at(++i).unicode()) {
            case '%':
                expanded += u'%';
                break;
            case 'f':
            case 'F':
                expanded += path;
                fileGiven = true;
                break;
            case 'u':
            case 'U':
                expanded += url;
                fileGiven = true;
                break;
            case 'c':
                expanded += app.name;
                break;
            case 'k':
                expanded += app.filePath;
                break;
            default: // deprecated or unknown codes stand for nothing
                break;
            }
        }
        if (!expanded.isEmpty() || arg.isEmpty())
            command << expanded;
    }
    if (command.isEmpty() || command.first().isEmpty())
        return std::nullopt;
    if (!fileGiven)
        command << path;
    return command;
}
