#pragma once

#include <QString>

class MemoryFileOperations;

// Stops the run with a message when condition is false: libFuzzer then keeps the input.
void require(bool condition, const char *what);

// After any call into the core: the file is still there and no temporary file is left open.
void requireFileKept(const MemoryFileOperations &files, const QString &path);

// After a rewrite that succeeded: nothing but the file itself is left in the folder.
void requireCleanFolder(const MemoryFileOperations &files, const QString &path);
