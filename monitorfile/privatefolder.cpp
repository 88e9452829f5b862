#include "privatefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace monitorfile {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

#ifndef Q_OS_WIN
constexpr mode_t kOthersAccess = S_IRWXG | S_IRWXO;

// Why the folder cannot be used as it stands; empty when it is ours.
QString notOurs(const struct stat &info, const QString &path)
{
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("%1 is a link, not a folder").arg(shown(path));
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("%1 is not a folder").arg(shown(path));
    if (info.st_uid != ::geteuid())
        return QStringLiteral("%1 belongs to another user").arg(shown(path));
    return QString();
}
#endif

} // namespace

#ifndef Q_OS_WIN

bool makePrivateFolder(const QString &path, QString &reason)
{
    const QByteArray native = QFile::encodeName(path);
    const QString parent = QFileInfo(path).path();
    if (!QDir().mkpath(parent)) {
        reason = QStringLiteral("cannot create the folder %1").arg(shown(parent));
        return false;
    }
    // mkdir with 0700 gives no other user a moment in which the folder is open.
    if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST) {
        reason = QStringLiteral("cannot create the folder %1: %2")
                     .arg(shown(path), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat info = {};
    if (::lstat(native.constData(), &info) != 0) {
        reason = QStringLiteral("cannot look at the folder %1: %2")
                     .arg(shown(path), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    reason = notOurs(info, path);
    if (!reason.isEmpty())
        return false;
    if ((info.st_mode & kOthersAccess) != 0 && ::chmod(native.constData(), S_IRWXU) != 0) {
        reason = QStringLiteral("the folder %1 is open to other users and cannot be closed: %2")
                     .arg(shown(path), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

bool isPrivateFolder(const QString &path)
{
    struct stat info = {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return notOurs(info, path).isEmpty() && (info.st_mode & kOthersAccess) == 0;
}

#else

bool makePrivateFolder(const QString &path, QString &reason)
{
    if (QDir().mkpath(path))
        return true;
    reason = QStringLiteral("cannot create the folder %1").arg(shown(path));
    return false;
}

bool isPrivateFolder(const QString &path)
{
    return QFileInfo(path).isDir();
}

#endif

} // namespace monitorfile
