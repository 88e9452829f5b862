#include "lockname.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace monitorfile {

namespace {
constexpr qint64 kLongestLockContent = 4096;
} // namespace

#ifndef Q_OS_WIN

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISLNK(mode))
        return QStringLiteral("a link");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a pipe (FIFO)");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("a device");
}

QDateTime modifiedOf(const struct stat &status)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(status.st_mtim.tv_sec) * 1000 +
                                          status.st_mtim.tv_nsec / 1'000'000);
}

} // namespace

LockName lookAtLockName(const QString &path)
{
    LockName name;
    const QByteArray native = QFile::encodeName(path);
    struct stat status = {};
    if (::lstat(native.constData(), &status) != 0)
        return name;
    name.modified = modifiedOf(status);
    if (!S_ISREG(status.st_mode)) {
        name.state = LockName::State::SomethingElse;
        name.somethingElse = kindOf(status.st_mode);
        return name;
    }
    name.state = LockName::State::LockFile;
    // Swapped for a pipe or a link since the look: never wait, never follow.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            name.state = LockName::State::Absent;
        return name;
    }
    if (::fstat(fd, &status) == 0 && !S_ISREG(status.st_mode)) {
        name.state = LockName::State::SomethingElse;
        name.somethingElse = kindOf(status.st_mode);
    } else {
        name.content.resize(kLongestLockContent);
        const ssize_t got = ::read(fd, name.content.data(), size_t(name.content.size()));
        name.content.resize(got > 0 ? qsizetype(got) : 0);
    }
    ::close(fd);
    return name;
}

int createLockFile(const QString &path, const QByteArray &content, bool sharedRead, int *held)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd < 0)
        return errno;
    // Whatever the umask: others may read who holds a shared file's lock, and nothing more.
    if (sharedRead)
        ::fchmod(fd, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH);
    const ssize_t written = ::write(fd, content.constData(), size_t(content.size()));
    const int error = written == ssize_t(content.size()) ? 0 : (written < 0 ? errno : ENOSPC);
    if (error || !held)
        ::close(fd);
    if (error)
        ::unlink(native.constData());
    else if (held)
        *held = fd;
    return error;
}

HeldLockFile::HeldLockFile(QString path, QByteArray content, int descriptor)
    : m_path(std::move(path)), m_content(std::move(content)), m_descriptor(descriptor)
{
    struct stat status = {};
    if (::fstat(m_descriptor, &status) == 0) {
        m_device = status.st_dev;
        m_inode = status.st_ino;
    }
}

HeldLockFile::~HeldLockFile()
{
    ::close(m_descriptor);
}

bool HeldLockFile::isAtItsName() const
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(m_path).constData(), &status) == 0 &&
           quint64(status.st_dev) == m_device && quint64(status.st_ino) == m_inode;
}

int removeLockFile(const QString &path)
{
    if (::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT)
        return 0;
    return errno;
}

#else

LockName lookAtLockName(const QString &path)
{
    LockName name;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return name;
    name.modified = info.lastModified();
    if (info.isSymLink() || !info.isFile()) {
        name.state = LockName::State::SomethingElse;
        name.somethingElse = info.isSymLink() ? QStringLiteral("a link")
                             : info.isDir()   ? QStringLiteral("a folder")
                                              : QStringLiteral("a device");
        return name;
    }
    name.state = LockName::State::LockFile;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        name.content = file.read(kLongestLockContent);
    else if (!QFileInfo::exists(path))
        name.state = LockName::State::Absent;
    return name;
}

int createLockFile(const QString &path, const QByteArray &content, bool sharedRead, int *held)
{
    Q_UNUSED(sharedRead); // the folders' rights decide on Windows
    if (held)
        *held = -1;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QFileInfo::exists(path) || QFileInfo(path).isSymLink() ? EEXIST : EACCES;
    if (file.write(content) == content.size() && file.flush())
        return 0;
    file.close();
    file.remove();
    return ENOSPC;
}

HeldLockFile::HeldLockFile(QString path, QByteArray content, int descriptor)
    : m_path(std::move(path)), m_content(std::move(content)), m_descriptor(descriptor)
{
}

HeldLockFile::~HeldLockFile() = default;

bool HeldLockFile::isAtItsName() const
{
    const LockName name = lookAtLockName(m_path);
    return name.state == LockName::State::LockFile && name.content == m_content;
}

int removeLockFile(const QString &path)
{
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (QFile::remove(path) || !QFileInfo::exists(path))
            return 0;
        QThread::msleep(1);
    }
    return EACCES;
}

#endif

} // namespace monitorfile
