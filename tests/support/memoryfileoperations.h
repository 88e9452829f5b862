#pragma once

#include "fileoperations.h"

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// File operations on a map from path to bytes, so that fuzz runs and tests that read thousands
// of files never touch the disk.
// Temporary files are buffers that stand in the map under their own name until they replace
// their target or are discarded. No step fails: a failed save can then only be a refusal.
class MemoryFileOperations : public monitorfile::FileOperations
{
public:
    void setFile(const QString &path, const QByteArray &bytes) { m_files.insert(path, bytes); }
    bool contains(const QString &path) const { return m_files.contains(path); }
    QByteArray bytesOf(const QString &path) const { return m_files.value(path); }
    QStringList paths() const { return m_files.keys(); }
    // Temporary files created and neither moved into place nor discarded.
    int openTemporaries() const { return int(m_temporaries.size()); }

    bool fileExists(const QString &path) override;
    // One process: the lock is always had.
    std::unique_ptr<monitorfile::WriteLock> lockForWriting(const QString &, QString &) override
    {
        return std::make_unique<monitorfile::WriteLock>();
    }
    monitorfile::ReadStatus readFile(const QString &path, qint64 maxBytes, QByteArray &bytes,
                                     qint64 &size, QString &error) override;
    bool copyToBackup(const QString &source, const QByteArray *asRead, const QString &backup,
                      QString &error) override;
    bool createTemporary(const QString &target, monitorfile::TemporaryFile &temporary,
                         QString &error) override;
    bool write(monitorfile::TemporaryFile &temporary, const QByteArray &bytes,
               QString &error) override;
    bool flushToDisk(monitorfile::TemporaryFile &temporary, QString &error) override;
    bool replace(monitorfile::TemporaryFile &temporary, const QString &target,
                 QString &error) override;
    void discard(monitorfile::TemporaryFile &temporary) override;
    bool flushFolderOf(const QString &target, QString &error) override;
    bool removeFile(const QString &path, QString &error) override;

private:
    void requireOpen(const monitorfile::TemporaryFile &temporary) const;

    QMap<QString, QByteArray> m_files;
    QSet<QString> m_temporaries;
    int m_nextTemporary = 0;
};
