#include "writelock.h"

#include "messagetexts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <system_error>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <signal.h>
#endif

namespace monitorfile {

namespace {

// A rewrite holds the lock for milliseconds; one this old belongs to a writer that hung or to a
// machine whose processes cannot be asked (a network share), and is taken over.
constexpr qint64 kStaleAfterMs = 30'000;
// A writer fills its lock file the moment it has made it; one still empty after this was left by
// a writer stopped in between.
constexpr qint64 kEmptyStaleAfterMs = 2'000;

// Who holds a lock, as its file says in QLockFile's layout: process, program, computer. A fourth
// line, a random token, lets a writer tell its own file from one made after its own was broken.
struct LockContent
{
    qint64 pid = 0;
    QString application;
    QString host;
};

LockContent parse(const QByteArray &bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    LockContent content;
    if (lines.size() >= 3) {
        content.pid = lines[0].toLongLong();
        content.application = QString::fromUtf8(lines[1]);
        content.host = QString::fromUtf8(lines[2]);
    }
    return content;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
}

bool processRunning(qint64 pid)
{
#ifdef Q_OS_WIN
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD exitCode = 0;
    const bool running = ::GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
#else
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}

// Left by a writer of this computer that is gone, or older than any rewrite takes. A file
// without content (a writer stopped between making and filling it) goes by its age alone.
bool isStale(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const LockContent holder = parse(contentOf(path));
    if (holder.pid > 0 && holder.host == QSysInfo::machineHostName() && !processRunning(holder.pid))
        return true;
    const qint64 age = qAbs(info.lastModified().msecsTo(QDateTime::currentDateTime()));
    return age > (holder.pid > 0 ? kStaleAfterMs : kEmptyStaleAfterMs);
}

// On Windows a file another writer is reading at this moment cannot be deleted: try again for a
// while, or the lock would stay behind.
void removeLockFile(const QString &path)
{
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (QFile::remove(path) || !QFileInfo::exists(path))
            return;
        QThread::msleep(1);
    }
}

// Two writers that find the same stale lock must not both remove it: the second would remove
// the lock the first has made meanwhile. Breakers take turns through a QLockFile of their own.
void breakIfStale(const QString &path)
{
    if (!isStale(path))
        return;
    QLockFile breaker(path + QStringLiteral(".break"));
    if (breaker.tryLock(0) && isStale(path))
        removeLockFile(path);
}

class LockFileHeld : public WriteLock
{
public:
    LockFileHeld(QString path, QByteArray content)
        : m_path(std::move(path)), m_content(std::move(content))
    {
    }
    ~LockFileHeld() override
    {
        // A writer that stalled past the stale age may have lost its lock to another one.
        if (contentOf(m_path) == m_content)
            removeLockFile(m_path);
    }

private:
    QString m_path;
    QByteArray m_content;
};

enum class Attempt { Taken, Held, Failed };

// Makes the lock file exclusively (O_EXCL, CREATE_NEW). It is not flushed to the disk: after a
// crash the file is stale anyway, and a flush would cost as much as the rewrite it guards.
Attempt tryCreate(const QString &path, const QByteArray &content, int &vanished, QString &error)
{
    QFile file(path);
    errno = 0;
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (file.write(content) == content.size() && file.flush())
            return Attempt::Taken;
        const int reason = errno;
        file.close();
        file.remove();
        error = texts::lockFileNotMade(
            path, reason ? QString::fromLocal8Bit(std::generic_category().message(reason))
                         : file.errorString());
        return Attempt::Failed;
    }
    // Held, or given up between the try and this look: either way, worth another try.
    const int reason = errno;
    if (reason == EEXIST || QFileInfo::exists(path)) {
        vanished = 0;
        return Attempt::Held;
    }
    if (++vanished < 3)
        return Attempt::Held;
    error = texts::lockFileNotMade(
        path, reason ? QString::fromLocal8Bit(std::generic_category().message(reason))
                     : file.errorString());
    return Attempt::Failed;
}

} // namespace

QString lockPathOf(const QString &file)
{
    return file + QStringLiteral(".lock");
}

std::unique_ptr<WriteLock> lockFileNextTo(const QString &file, std::chrono::milliseconds wait,
                                          QString &error)
{
    const QString path = lockPathOf(file);
    const QByteArray content =
        QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
        QCoreApplication::applicationName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() +
        '\n' + QByteArray::number(QRandomGenerator::global()->generate64(), 16) + '\n';
    const QDeadlineTimer deadline(wait);
    // Short pauses: the other writer is usually done within a few milliseconds.
    unsigned long pause = 1;
    int vanished = 0;
    for (;;) {
        switch (tryCreate(path, content, vanished, error)) {
        case Attempt::Taken:
            return std::make_unique<LockFileHeld>(path, content);
        case Attempt::Failed:
            return {};
        case Attempt::Held:
            break;
        }
        breakIfStale(path);
        if (deadline.hasExpired())
            break;
        QThread::msleep(pause);
        pause = qMin<unsigned long>(pause * 2, 50);
    }
    const LockContent holder = parse(contentOf(path));
    const QDateTime since = QFileInfo(path).lastModified();
    error = holder.pid > 0 ? texts::fileLocked(holder.application, holder.pid, holder.host, since)
                           : texts::fileLockedByUnknown(path, since);
    return {};
}

} // namespace monitorfile
