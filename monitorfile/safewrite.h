#pragma once

#include <QByteArray>
#include <QString>

namespace monitorfile {

class FileOperations;
class WriteLock;

struct WriteResult
{
    bool ok = false;
    QString error;         // the reason, for the monitor, when !ok
    bool replaced = false; // the new text is in place, though not known to be on the disk
};

// Rewrites the file at path with text without a moment in which the file is missing or half
// written: the file is copied to path + ".BAK", the text goes to a new file in the same folder
// and onto the disk, that file replaces the old one in one step, the folder is flushed and the
// ".BAK" removed. On failure the file keeps its previous content, any temporary file is removed
// and the ".BAK" copy, when made, stays beside it. The caller holds files.lockForWriting(path):
// leftover temporary files are removed on the way. When lock is given, the new text takes the
// file's place only while the lock is still held; asRead, when given, is the file as the caller
// read it under that lock, which the ".BAK" copy is made from without reading the file again.
WriteResult WriteFileWithBackup(const QString &path, const QByteArray &text, FileOperations &files,
                                const WriteLock *lock = nullptr,
                                const QByteArray *asRead = nullptr);

QString backupPathOf(const QString &path);

} // namespace monitorfile
