#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <chrono>
#include <memory>

namespace monitorfile {

// A file being written beside its target before it replaces it.
struct TemporaryFile
{
    QString path;
    std::unique_ptr<QIODevice> device;
};

enum class ReadStatus { Ok, NotFound, TooLarge, Failed };

// The right to read, change and rewrite one file, held by one writer at a time across processes
// (and machines sharing the folder); given up when destroyed.
class WriteLock
{
public:
    virtual ~WriteLock() = default;
    // False, with the reason, when another writer has taken the lock over meanwhile: whatever
    // this writer read is then out of date and must not be written.
    virtual bool isStillHeld(QString &error) const
    {
        Q_UNUSED(error);
        return true;
    }
};

// The file operations of reading and safely rewriting a tutor monitoring file, one call per step
// so that tests can make any step fail. Every call that can fail returns false (or a failed
// status) and puts a reason for the monitor into error; nothing throws.
class FileOperations
{
public:
    virtual ~FileOperations() = default;

    virtual bool fileExists(const QString &path) = 0;

    // Waits a few seconds at most for the right to rewrite target. Null, with a reason naming
    // the writer that holds it and since when, when that writer does not let go in time. A
    // rewrite and the removal of leftover temporary files happen only while it is held.
    virtual std::unique_ptr<WriteLock> lockForWriting(const QString &target, QString &error) = 0;

    // Reads the whole file; files larger than maxBytes are refused before they are read, their
    // size then goes to size.
    virtual ReadStatus readFile(const QString &path, qint64 maxBytes, QByteArray &bytes,
                                qint64 &size, QString &error) = 0;

    // Copies the file at source to backup: asRead, when given, holds the file's bytes as this
    // writer read them under the lock, which are copied instead of reading the file again.
    // Whatever stands at backup (a file, a link) is replaced, never written through.
    virtual bool copyToBackup(const QString &source, const QByteArray *asRead,
                              const QString &backup, QString &error) = 0;

    // Creates a new, empty file in the folder of target that no one else has opened.
    virtual bool createTemporary(const QString &target, TemporaryFile &temporary,
                                 QString &error) = 0;
    virtual bool write(TemporaryFile &temporary, const QByteArray &bytes, QString &error) = 0;
    // Returns once the written bytes are on the disk.
    virtual bool flushToDisk(TemporaryFile &temporary, QString &error) = 0;
    // Closes the temporary file and puts it in the place of target in one step.
    virtual bool replace(TemporaryFile &temporary, const QString &target, QString &error) = 0;
    // Closes and deletes a temporary file that will not be used.
    virtual void discard(TemporaryFile &temporary) = 0;
    // Makes the replacement of target itself durable.
    virtual bool flushFolderOf(const QString &target, QString &error) = 0;
    // Removes a file or a link (never what a link points to).
    virtual bool removeFile(const QString &path, QString &error) = 0;
};

// The operations on the local file system.
class LocalFileOperations : public FileOperations
{
public:
    // lockWait: how long a writer waits for another one to finish its rewrite.
    explicit LocalFileOperations(std::chrono::milliseconds lockWait = std::chrono::seconds(5))
        : m_lockWait(lockWait)
    {
    }

    bool fileExists(const QString &path) override;
    std::unique_ptr<WriteLock> lockForWriting(const QString &target, QString &error) override;
    ReadStatus readFile(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 &size,
                        QString &error) override;
    bool copyToBackup(const QString &source, const QByteArray *asRead, const QString &backup,
                      QString &error) override;
    bool createTemporary(const QString &target, TemporaryFile &temporary, QString &error) override;
    bool write(TemporaryFile &temporary, const QByteArray &bytes, QString &error) override;
    bool flushToDisk(TemporaryFile &temporary, QString &error) override;
    bool replace(TemporaryFile &temporary, const QString &target, QString &error) override;
    void discard(TemporaryFile &temporary) override;
    bool flushFolderOf(const QString &target, QString &error) override;
    bool removeFile(const QString &path, QString &error) override;

private:
    std::chrono::milliseconds m_lockWait;
};

} // namespace monitorfile
