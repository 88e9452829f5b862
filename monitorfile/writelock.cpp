#include "writelock.h"

#include "lockname.h"
#include "messagetexts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
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
#include <unistd.h>
#endif

namespace monitorfile {

namespace {

// A lock of another computer whose processes cannot be asked (a network share) is taken over
// once it is older than any rewrite takes.
constexpr qint64 kStaleAfterMs = 30'000;
// A writer fills its lock file the moment it has made it; one still empty after this was left by
// a writer stopped in between.
constexpr qint64 kEmptyStaleAfterMs = 2'000;
// Each break needs a stale lock, so this only bounds a folder that keeps making them.
constexpr int kMostRetriesAtOnce = 16;

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

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::generic_category().message(error));
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

#ifdef Q_OS_LINUX
// When the process started, from /proc (its start in clock ticks after the boot); invalid when
// it cannot be told.
QDateTime processStart(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    QFile system(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly) || !system.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    // The fields after the name (which may hold blanks), from the third: the start is the 22nd.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const QByteArray all = system.readAll();
    const qsizetype boot = all.indexOf("btime ");
    if (fields.size() < 20 || boot < 0)
        return {};
    const qint64 bootSeconds = all.mid(boot + 6, all.indexOf('\n', boot) - boot - 6).toLongLong();
    const qint64 ticks = fields[19].toLongLong();
    return QDateTime::fromMSecsSinceEpoch(bootSeconds * 1000 +
                                          ticks * 1000 / ::sysconf(_SC_CLK_TCK));
}
#endif

// The holder of a lock written at `written`: a running process that started before then. A
// process started later has only been given the ended holder's id again.
bool holderRunning(qint64 pid, const QDateTime &written)
{
#ifdef Q_OS_LINUX
    const QDateTime started = processStart(pid);
    // The boot time is in whole seconds.
    if (started.isValid() && written.isValid() && started > written.addSecs(2))
        return false;
#else
    Q_UNUSED(written);
#endif
    return processRunning(pid);
}

// Writers' locks also go by age when their holder is on another computer; a process's own lock
// (a form's claim on a file) only when that process has ended.
enum class Rules { Writers, Processes };

// A living holder on this computer is never stale, however old its lock: it may be stopped, or
// stuck in a slow read, and would wake to write over the next writer's save.
bool isStale(const LockName &name, Rules rules)
{
    if (name.state != LockName::State::LockFile)
        return false;
    const LockContent holder = parse(name.content);
    const qint64 age = qAbs(name.modified.msecsTo(QDateTime::currentDateTime()));
    if (holder.pid <= 0)
        return age > kEmptyStaleAfterMs;
    if (holder.host == QSysInfo::machineHostName())
        return !holderRunning(holder.pid, name.modified);
    return rules == Rules::Writers && age > kStaleAfterMs;
}

enum class Breaking { Broken, NotBroken, Refused };

// Two writers that find the same stale lock must not both remove it: the second would remove
// the lock the first has made meanwhile. Breakers take turns through a lock file of their own.
Breaking breakIfStale(const QString &path, const LockName &seen, Rules rules,
                      const QByteArray &content, QString &error)
{
    if (!isStale(seen, rules))
        return Breaking::NotBroken;
    const QString breakerPath = path + QStringLiteral(".break");
    const int made = createLockFile(breakerPath, content, true);
    if (made == EEXIST) {
        const LockName breaker = lookAtLockName(breakerPath);
        if (breaker.state == LockName::State::SomethingElse) {
            error = texts::lockNameTaken(breakerPath, breaker.somethingElse);
            return Breaking::Refused;
        }
        if (isStale(breaker, Rules::Writers))
            removeLockFile(breakerPath);
        return Breaking::NotBroken;
    }
    if (made != 0)
        return Breaking::NotBroken; // the lock's own making will say why
    Breaking result = Breaking::NotBroken;
    const LockName now = lookAtLockName(path);
    if (now.content == seen.content && isStale(now, rules)) {
        const int removed = removeLockFile(path);
        if (removed == 0) {
            result = Breaking::Broken;
        } else {
            const LockContent holder = parse(now.content);
            error = texts::endedWritersLockNotRemovable(path, holder.application, holder.pid,
                                                        systemReason(removed));
            result = Breaking::Refused;
        }
    }
    removeLockFile(breakerPath);
    return result;
}

class LockFileHeld : public WriteLock
{
public:
    LockFileHeld(QString path, QByteArray content, int descriptor)
        : m_file(std::move(path), std::move(content), descriptor)
    {
    }
    ~LockFileHeld() override
    {
        // A holder elsewhere may have lost its lock by age; the new holder's file stays.
        if (m_file.isAtItsName())
            removeLockFile(m_file.path());
    }
    bool isStillHeld(QString &error) const override
    {
        if (m_file.isAtItsName())
            return true;
        error = texts::lockTakenOver(m_file.path());
        return false;
    }

private:
    HeldLockFile m_file;
};

QByteArray ownContent()
{
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
           QCoreApplication::applicationName().toUtf8() + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n' +
           QByteArray::number(QRandomGenerator::global()->generate64(), 16) + '\n';
}

// Makes the lock file at path, breaking a stale one and waiting at most wait for its holder.
// last: what stood at the name at the last look, when the lock was not had.
std::unique_ptr<WriteLock> takeLock(const QString &path, std::chrono::milliseconds wait,
                                    Rules rules, bool sharedRead, QString &error, LockName &last)
{
    const QByteArray content = ownContent();
    const QDeadlineTimer deadline(wait);
    // Short pauses: the other writer is usually done within a few milliseconds.
    unsigned long pause = 1;
    int retriesAtOnce = 0;
    for (;;) {
        int descriptor = -1;
        const int made = createLockFile(path, content, sharedRead, &descriptor);
        if (made == 0)
            return std::make_unique<LockFileHeld>(path, content, descriptor);
        if (made != EEXIST) {
            error = texts::lockFileNotMade(path, systemReason(made));
            return {};
        }
        last = lookAtLockName(path);
        if (last.state == LockName::State::SomethingElse) {
            error = texts::lockNameTaken(path, last.somethingElse);
            return {};
        }
        const Breaking breaking = breakIfStale(path, last, rules, content, error);
        if (breaking == Breaking::Refused)
            return {};
        // Freed just now: one more try, however long the wait has been.
        const bool freed = breaking == Breaking::Broken || last.state == LockName::State::Absent;
        if (freed && ++retriesAtOnce <= kMostRetriesAtOnce)
            continue;
        if (deadline.hasExpired())
            return {};
        QThread::msleep(pause);
        pause = qMin<unsigned long>(pause * 2, 50);
    }
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
    LockName last;
    std::unique_ptr<WriteLock> lock = takeLock(path, wait, Rules::Writers, true, error, last);
    if (lock || !error.isEmpty())
        return lock;
    const LockContent holder = parse(last.content);
    error = holder.pid > 0
                ? texts::fileLocked(holder.application, holder.pid, holder.host, last.modified)
                : texts::fileLockedByUnknown(path, last.modified);
    return {};
}

std::unique_ptr<WriteLock> processLockAt(const QString &path, qint64 &holder, QString &error)
{
    LockName last;
    std::unique_ptr<WriteLock> lock =
        takeLock(path, std::chrono::milliseconds(0), Rules::Processes, false, error, last);
    holder = lock ? 0 : parse(last.content).pid;
    return lock;
}

} // namespace monitorfile
