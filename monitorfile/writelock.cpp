#include "writelock.h"

#include "messagetexts.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <cerrno>
#include <system_error>

namespace monitorfile {

namespace {

// A rewrite holds the lock for milliseconds; one this old belongs to a writer that hung or to a
// machine whose processes cannot be asked (a network share), and is taken over.
constexpr std::chrono::seconds kStaleAfter(30);

class LockFileHeld : public WriteLock
{
public:
    explicit LockFileHeld(std::unique_ptr<QLockFile> file) : m_file(std::move(file)) {}

private:
    std::unique_ptr<QLockFile> m_file; // unlocks and removes the file when destroyed
};

QString holderOf(const QLockFile &lock, const QString &path)
{
    qint64 pid = 0;
    QString host;
    QString application;
    const QDateTime since = QFileInfo(path).lastModified();
    if (!lock.getLockInfo(&pid, &host, &application))
        return texts::fileLockedByUnknown(path, since);
    return texts::fileLocked(application, pid, host, since);
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
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(kStaleAfter);
    const QDeadlineTimer deadline(wait);
    // Short pauses: the other writer is usually done within a few milliseconds.
    unsigned long pause = 1;
    for (;;) {
        errno = 0;
        if (lock->tryLock(std::chrono::milliseconds::zero()))
            break;
        const int reason = errno; // what the failed create of the lock file left
        if (lock->error() != QLockFile::LockFailedError) {
            error = texts::lockFileNotMade(
                path, reason ? QString::fromLocal8Bit(std::generic_category().message(reason))
                             : QString());
            return {};
        }
        if (deadline.hasExpired()) {
            error = holderOf(*lock, path);
            return {};
        }
        QThread::msleep(pause);
        pause = qMin<unsigned long>(pause * 2, 50);
    }
    return std::make_unique<LockFileHeld>(std::move(lock));
}

} // namespace monitorfile
