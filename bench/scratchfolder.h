#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for the measured files, removed with the object. It lies in TMPDIR when
// that is set, otherwise in the build tree: /tmp is often a RAM disk, where a flush to disk
// costs nothing and the figures would flatter the save.
class ScratchFolder
{
public:
    ScratchFolder();

    static QString parentFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString errorString() const { return m_dir.errorString(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Replaces the file with bytes and flushes it to the disk, so that the measured work does
    // not wait for it.
    bool put(const QString &name, const QByteArray &bytes) const;

    // Writes out whatever the system still holds for the disk, e.g. the files an earlier
    // benchmark left: a flush measured next would otherwise wait for them.
    static void settleDisk();

private:
    QTemporaryDir m_dir;
};
