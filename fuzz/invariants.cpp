#include "invariants.h"

#include "memoryfileoperations.h"

#include <cstdio>
#include <cstdlib>

void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "Invariant violated: %s\n", what);
    std::abort();
}

void requireFileKept(const MemoryFileOperations &files, const QString &path)
{
    require(files.contains(path), "the file vanished");
    require(files.openTemporaries() == 0, "a temporary file was left behind");
}

void requireCleanFolder(const MemoryFileOperations &files, const QString &path)
{
    requireFileKept(files, path);
    require(!files.contains(path + QStringLiteral(".BAK")), "the .BAK copy was left behind");
    require(files.paths() == QStringList{path}, "an unexpected file was left in the folder");
}
