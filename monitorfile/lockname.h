#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace monitorfile {

// What stands at a lock file's name, looked at without following a link and without waiting on
// a pipe: a lock file is only ever a regular file, anything else was put there by hand.
struct LockName
{
    enum class State { Absent, LockFile, SomethingElse };
    State state = State::Absent;
    QByteArray content;    // a lock file's first bytes
    QDateTime modified;    // a lock file's last change
    QString somethingElse; // "a pipe (FIFO)", "a folder", "a link", ...
};

LockName lookAtLockName(const QString &path);

// Makes a lock file at path exclusively, readable by others only when sharedRead, and fills it
// with content. Never follows a link at the name. Not flushed to the disk: after a crash the
// file is stale anyway. Returns 0, or the system's error number (EEXIST when something stands
// there). With held, the file is kept open for the holder (-1 where that is not done).
int createLockFile(const QString &path, const QByteArray &content, bool sharedRead,
                   int *held = nullptr);

// The lock file a holder keeps open: while it is open no other file can have its identity, so
// the name leads to it exactly when the name's device and inode are its own.
class HeldLockFile
{
public:
    HeldLockFile(QString path, QByteArray content, int descriptor);
    ~HeldLockFile();
    HeldLockFile(const HeldLockFile &) = delete;
    HeldLockFile &operator=(const HeldLockFile &) = delete;

    bool isAtItsName() const;
    const QString &path() const { return m_path; }

private:
    QString m_path;
    QByteArray m_content; // what is compared where the file is not kept open
    int m_descriptor;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};

// Removes the lock file at path; 0, or the system's error number. A lock file another process is
// reading at this moment cannot be removed on Windows: it is tried again for a while.
int removeLockFile(const QString &path);

} // namespace monitorfile
