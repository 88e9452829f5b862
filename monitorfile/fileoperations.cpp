#include "fileoperations.h"

#include "messagetexts.h"
#include "writelock.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>

namespace monitorfile {

namespace fs = std::filesystem;

namespace {

fs::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return fs::path(path.toStdWString());
#else
    return fs::path(QFile::encodeName(path).toStdString());
#endif
}

QString reasonOf(const std::error_code &code)
{
    return QString::fromLocal8Bit(code.message().c_str());
}

// The system's own reason for the call that just failed: QFile often reports a failed write or
// flush as "Unknown error".
QString systemReason(int error)
{
    return reasonOf(std::error_code(error, std::generic_category()));
}

QString failureOf(const QFileDevice &file, int error)
{
    return error ? systemReason(error) : file.errorString();
}

// A link at the target is kept: the file it points to is the one replaced, as with a save in
// place.
QString replacedFileOf(const QString &target)
{
    const QFileInfo info(target);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : target;
}

QFile *fileOf(TemporaryFile &temporary)
{
    return qobject_cast<QFile *>(temporary.device.get());
}

bool removeIfPresent(const QString &path, QString &error)
{
    std::error_code code;
    fs::remove(fsPath(path), code);
    if (code) {
        error = reasonOf(code);
        return false;
    }
    return true;
}

// Opens path for reading only when it is a regular file: opening a pipe would wait for a writer
// for ever. The check is made on the opened file, so nothing can be swapped in between.
bool openRegularFile(QFile &file, qint64 &size, QString &error)
{
#ifdef Q_OS_WIN
    const QFileInfo info(file.fileName());
    if (!info.isFile()) {
        error = texts::notARegularFile();
        return false;
    }
    size = info.size();
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    return true;
#else
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = systemReason(errno);
        return false;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = texts::notARegularFile();
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    size = status.st_size;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
#endif
}

} // namespace

std::unique_ptr<WriteLock> LocalFileOperations::lockForWriting(const QString &target,
                                                               QString &error)
{
    return lockFileNextTo(replacedFileOf(target), m_lockWait, error);
}

bool LocalFileOperations::fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

#ifndef Q_OS_WIN

namespace {

ReadStatus readOpened(int fd, qint64 maxBytes, QByteArray &bytes, qint64 &size, QString &error)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = texts::notARegularFile();
        return ReadStatus::Failed;
    }
    size = status.st_size;
    if (size > maxBytes)
        return ReadStatus::TooLarge;
    // Read to the end, stopping past the limit: a file that grew meanwhile is still refused. One
    // byte more than the size leaves room to see the end without growing the buffer.
    bytes.resize(qsizetype(size) + 1);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(qMin<qsizetype>(got * 2, qsizetype(maxBytes) + 1));
        const ssize_t count = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            error = systemReason(errno);
            bytes.clear();
            return ReadStatus::Failed;
        }
        if (count == 0)
            break;
        got += qsizetype(count);
        if (got > maxBytes) {
            size = got;
            bytes.clear();
            return ReadStatus::TooLarge;
        }
    }
    bytes.truncate(got);
    return ReadStatus::Ok;
}

} // namespace

// Straight system calls: open, fstat and two reads, where QFile adds a look at the name and
// several stat calls of its own.
ReadStatus LocalFileOperations::readFile(const QString &path, qint64 maxBytes, QByteArray &bytes,
                                         qint64 &size, QString &error)
{
    // Not blocking: opening a pipe would wait for a writer for ever. The check that it is a
    // regular file is made on the opened file, so nothing can be swapped in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR))
        return ReadStatus::NotFound;
    if (fd < 0) {
        error = systemReason(errno);
        return ReadStatus::Failed;
    }
    const ReadStatus status = readOpened(fd, maxBytes, bytes, size, error);
    ::close(fd);
    return status;
}

#else

ReadStatus LocalFileOperations::readFile(const QString &path, qint64 maxBytes, QByteArray &bytes,
                                         qint64 &size, QString &error)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ReadStatus::NotFound;
    QFile file(path);
    if (!openRegularFile(file, size, error))
        return ReadStatus::Failed;
    if (size > maxBytes)
        return ReadStatus::TooLarge;
    // Read in chunks and stop past the limit: a file that grew meanwhile is still refused.
    bytes.clear();
    bytes.reserve(size);
    constexpr qint64 chunk = 1 << 20;
    while (!file.atEnd()) {
        bytes += file.read(chunk);
        if (file.error() != QFileDevice::NoError) {
            error = file.errorString();
            bytes.clear();
            return ReadStatus::Failed;
        }
        if (bytes.size() > maxBytes) {
            size = bytes.size();
            bytes.clear();
            return ReadStatus::TooLarge;
        }
    }
    return ReadStatus::Ok;
}

#endif

namespace {

// Replacing a file goes through its folder, not the file, so a file this user may not write
// (marked read-only, or another user's) would be rewritten all the same, and become this user's:
// refuse it before anything is written, as Windows refuses to replace a read-only file.
bool isWritable(const QString &path, QFile::Permissions mode)
{
    if (!(mode & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther)))
        return false; // root would ignore the mark
#ifdef Q_OS_WIN
    Q_UNUSED(path) // the read-only mark above is what Windows goes by
    return true;
#else
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
#endif
}

// Copies bytes, when given, or else in to a new file at path; NewOnly creates exclusively, so a
// link planted at the name is never followed. Unbuffered, so that a full disk fails the write
// itself, with the system's reason.
bool copyInto(QIODevice *in, const QByteArray *bytes, const QString &path, QFile::Permissions mode,
              QString &error)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        error = out.errorString();
        return false;
    }
    out.setPermissions(mode); // no wider than the file's own
    const auto written = [&](const QByteArray &part) {
        errno = 0;
        if (out.write(part) == part.size())
            return true;
        error = failureOf(out, errno);
        return false;
    };
    bool copied = !bytes || written(*bytes);
    constexpr qint64 chunk = 1 << 20;
    while (copied && !bytes && !in->atEnd()) {
        const QByteArray part = in->read(chunk);
        const auto *file = qobject_cast<QFile *>(in);
        if (file && file->error() != QFileDevice::NoError) {
            error = in->errorString();
            copied = false;
        } else {
            copied = written(part);
        }
    }
    if (!copied) {
        out.close();
        out.remove();
    }
    return copied;
}

QString temporaryNameFor(const QString &base)
{
    return base + QLatin1Char('.') + QString::number(QRandomGenerator::global()->generate(), 16) +
           QStringLiteral(".tmp");
}

} // namespace

bool LocalFileOperations::copyToBackup(const QString &source, const QByteArray *asRead,
                                       const QString &backup, QString &error)
{
    const QFile::Permissions mode = QFile::permissions(source);
    if (QFileInfo::exists(source) && !isWritable(source, mode)) {
        error = QStringLiteral("the file is read-only");
        return false;
    }
    QFile in(source);
    qint64 size = 0;
    if (!asRead && !openRegularFile(in, size, error))
        return false;
    // Made under a new name and put in place of whatever stands at the ".BAK" name (a leftover
    // copy, a link, which is replaced, never written through): a ".BAK" that a network share's
    // stale cache still shows after its removal cannot fail the save.
    const QString fresh = temporaryNameFor(replacedFileOf(source));
    if (!copyInto(&in, asRead, fresh, mode, error))
        return false;
    std::error_code code;
    fs::rename(fsPath(fresh), fsPath(backup), code);
    if (!code)
        return true;
    error = reasonOf(code);
    QString ignored;
    removeIfPresent(fresh, ignored);
    return false;
}

namespace {

// Temporary files of an earlier rewrite of the same file that never ended (the program was
// killed, the machine lost power) are ours and would otherwise stay for ever.
void removeStaleTemporaries(const QString &base)
{
    const QFileInfo info(base);
    const QString prefix = info.fileName() + QLatin1Char('.');
    // Unsorted and without name filters (a pattern is compiled anew each time): this runs on
    // every rewrite.
    QDirIterator entries(info.path(), QDir::Files | QDir::System | QDir::Hidden);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        // base.<1 to 8 hex digits>.tmp, as temporaryNameFor makes them
        if (!name.startsWith(prefix) || !name.endsWith(QStringLiteral(".tmp")))
            continue;
        const QStringView middle = QStringView(name).mid(prefix.size()).chopped(4);
        const bool ours = !middle.isEmpty() && middle.size() <= 8 &&
                          std::all_of(middle.begin(), middle.end(), [](QChar c) {
                              return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
                          });
        QString ignored; // one still held open elsewhere stays until the next rewrite
        if (ours)
            removeIfPresent(info.dir().filePath(name), ignored);
    }
}

} // namespace

namespace {

// The new file takes the old one's mode before anything is written into it, and its owner and
// group where this user may give them (root, or a member of the group); a save that would take
// the file from its owner is refused.
bool keepOwnerAndMode(TemporaryFile &temporary, const QString &replaced, QString &error)
{
#ifdef Q_OS_WIN
    if (QFileInfo::exists(replaced))
        QFile::setPermissions(temporary.path, QFile::permissions(replaced));
    Q_UNUSED(error);
    return true;
#else
    struct stat was = {};
    struct stat made = {};
    const QFile *file = fileOf(temporary);
    if (!file || ::stat(QFile::encodeName(replaced).constData(), &was) != 0 ||
        ::fstat(file->handle(), &made) != 0)
        return true; // nothing to keep
    if ((was.st_uid != made.st_uid || was.st_gid != made.st_gid) &&
        ::fchown(file->handle(), was.st_uid, was.st_gid) != 0) {
        error = texts::ownerNotKept(systemReason(errno));
        return false;
    }
    if ((made.st_mode & 07777) != (was.st_mode & 07777) &&
        ::fchmod(file->handle(), was.st_mode & 07777) != 0) {
        error = texts::ownerNotKept(systemReason(errno));
        return false;
    }
    return true;
#endif
}

} // namespace

bool LocalFileOperations::createTemporary(const QString &target, TemporaryFile &temporary,
                                          QString &error)
{
    const QString base = replacedFileOf(target);
    removeStaleTemporaries(base);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString path = temporaryNameFor(base);
        auto file = std::make_unique<QFile>(path);
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            temporary.path = path;
            temporary.device = std::move(file);
            if (keepOwnerAndMode(temporary, base, error))
                return true;
            discard(temporary);
            return false;
        }
        error = file->errorString();
        if (file->error() != QFileDevice::OpenError || !QFileInfo(path).exists())
            break; // not a name clash: trying other names will not help
    }
    return false;
}

bool LocalFileOperations::write(TemporaryFile &temporary, const QByteArray &bytes, QString &error)
{
    errno = 0;
    if (temporary.device->write(bytes) != bytes.size()) {
        const QFile *file = fileOf(temporary);
        error = file ? failureOf(*file, errno) : temporary.device->errorString();
        return false;
    }
    return true;
}

bool LocalFileOperations::flushToDisk(TemporaryFile &temporary, QString &error)
{
    QFile *file = fileOf(temporary);
    errno = 0;
    if (!file || !file->flush()) {
        error = file ? failureOf(*file, errno) : temporary.device->errorString();
        return false;
    }
#ifdef Q_OS_WIN
    const bool synced = ::_commit(file->handle()) == 0;
#else
    const bool synced = ::fsync(file->handle()) == 0;
#endif
    if (!synced) {
        error = systemReason(errno);
        return false;
    }
    return true;
}

bool LocalFileOperations::replace(TemporaryFile &temporary, const QString &target, QString &error)
{
    const QString replaced = replacedFileOf(target);
    temporary.device->close();
    std::error_code code;
    // On Windows another program (a virus scanner, a sync client) may hold the file open for a
    // moment; the replace succeeds once it lets go.
    const int attempts =
#ifdef Q_OS_WIN
        20;
#else
        1;
#endif
    for (int attempt = 0; attempt < attempts; ++attempt) {
        code.clear();
        fs::rename(fsPath(temporary.path), fsPath(replaced), code);
        if (!code)
            return true;
        if (attempt + 1 < attempts)
            QThread::msleep(50);
    }
    const bool temporaryGone = code == std::errc::no_such_file_or_directory &&
                               !QFileInfo(temporary.path).isSymLink() &&
                               !QFileInfo::exists(temporary.path);
    error = temporaryGone ? texts::temporaryRemoved(temporary.path) : reasonOf(code);
    return false;
}

void LocalFileOperations::discard(TemporaryFile &temporary)
{
    if (temporary.device)
        temporary.device->close();
    if (!temporary.path.isEmpty()) {
        QString ignored;
        removeIfPresent(temporary.path, ignored);
    }
    temporary = {};
}

bool LocalFileOperations::flushFolderOf(const QString &target, QString &error)
{
#ifdef Q_OS_WIN
    Q_UNUSED(target);
    Q_UNUSED(error);
    return true; // NTFS journals the rename itself
#else
    const QString folder = QFileInfo(replacedFileOf(target)).absolutePath();
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        error = systemReason(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
#endif
}

bool LocalFileOperations::removeFile(const QString &path, QString &error)
{
    return removeIfPresent(path, error);
}

} // namespace monitorfile
