#pragma once

#include "fileoperations.h"

#include <QString>

#include <chrono>
#include <memory>

namespace monitorfile {

QString lockPathOf(const QString &file);

// Takes the lock file next to file (file + ".lock"), breaking one left by a writer that died,
// and waits at most wait for a living writer to let go. Null with the holder named in error
// when it does not.
std::unique_ptr<WriteLock> lockFileNextTo(const QString &file, std::chrono::milliseconds wait,
                                          QString &error);

} // namespace monitorfile
