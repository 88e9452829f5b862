#include "safewrite.h"

#include "fileoperations.h"

namespace monitorfile {

QString backupPathOf(const QString &path)
{
    return path + QStringLiteral(".BAK");
}

WriteResult WriteFileWithBackup(const QString &path, const QByteArray &text, FileOperations &files,
                                const WriteLock *lock, const QByteArray *asRead)
{
    WriteResult result;
    const QString backup = backupPathOf(path);
    if (!files.copyToBackup(path, asRead, backup, result.error))
        return result;

    TemporaryFile temporary;
    if (!files.createTemporary(path, temporary, result.error))
        return result;
    if (!files.write(temporary, text, result.error) ||
        !files.flushToDisk(temporary, result.error) || (lock && !lock->isStillHeld(result.error)) ||
        !files.replace(temporary, path, result.error)) {
        files.discard(temporary);
        return result;
    }
    result.replaced = true;
    if (!files.flushFolderOf(path, result.error))
        return result;

    // The new text is safely in place; a ".BAK" that cannot be removed is replaced next time.
    QString ignored;
    files.removeFile(backup, ignored);
    result.ok = true;
    return result;
}

} // namespace monitorfile
