#pragma once

#include "fileoperations.h"

#include <QString>

#include <chrono>
#include <memory>

namespace monitorfile {

QString lockPathOf(const QString &file);

// Takes the lock file next to file (file + ".lock"), breaking one left by a writer that ended
// (or, on another computer, one older than any rewrite takes), and waits at most wait for a
// living writer to let go. Null with the reason in error when it does not, or when something
// other than a lock file stands at the lock's name.
std::unique_ptr<WriteLock> lockFileNextTo(const QString &file, std::chrono::milliseconds wait,
                                          QString &error);

// Takes the lock file at path for as long as this process runs, at once or not at all: only the
// lock of a process of this computer that has ended is taken over, however old. The file is the
// user's alone. Null when another process holds it (its process id then goes to holder) or it
// cannot be made (the reason in error).
std::unique_ptr<WriteLock> processLockAt(const QString &path, qint64 &holder, QString &error);

} // namespace monitorfile
