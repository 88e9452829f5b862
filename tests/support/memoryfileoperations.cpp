#include "memoryfileoperations.h"

#include <QBuffer>

using monitorfile::ReadStatus;
using monitorfile::TemporaryFile;

namespace {

QBuffer *bufferOf(TemporaryFile &temporary)
{
    return qobject_cast<QBuffer *>(temporary.device.get());
}

} // namespace

bool MemoryFileOperations::fileExists(const QString &path)
{
    return m_files.contains(path);
}

ReadStatus MemoryFileOperations::readFile(const QString &path, qint64 maxBytes, QByteArray &bytes,
                                          qint64 &size, QString &error)
{
    Q_UNUSED(error);
    const auto it = m_files.constFind(path);
    if (it == m_files.constEnd())
        return ReadStatus::NotFound;
    size = it->size();
    if (size > maxBytes)
        return ReadStatus::TooLarge;
    bytes = *it;
    return ReadStatus::Ok;
}

bool MemoryFileOperations::copyToBackup(const QString &source, const QByteArray *asRead,
                                        const QString &backup, QString &error)
{
    const auto it = m_files.constFind(source);
    if (it == m_files.constEnd()) {
        error = QStringLiteral("No file to back up");
        return false;
    }
    m_files.insert(backup, asRead ? *asRead : *it);
    return true;
}

bool MemoryFileOperations::createTemporary(const QString &target, TemporaryFile &temporary,
                                           QString &error)
{
    auto buffer = std::make_unique<QBuffer>();
    if (!buffer->open(QIODevice::WriteOnly)) {
        error = buffer->errorString();
        return false;
    }
    temporary.path =
        target + QLatin1Char('.') + QString::number(++m_nextTemporary) + QStringLiteral(".tmp");
    temporary.device = std::move(buffer);
    m_files.insert(temporary.path, QByteArray());
    m_temporaries.insert(temporary.path);
    return true;
}

bool MemoryFileOperations::write(TemporaryFile &temporary, const QByteArray &bytes, QString &error)
{
    requireOpen(temporary);
    if (temporary.device->write(bytes) != bytes.size()) {
        error = temporary.device->errorString();
        return false;
    }
    m_files.insert(temporary.path, bufferOf(temporary)->data());
    return true;
}

bool MemoryFileOperations::flushToDisk(TemporaryFile &temporary, QString &error)
{
    Q_UNUSED(error);
    requireOpen(temporary);
    return true;
}

bool MemoryFileOperations::replace(TemporaryFile &temporary, const QString &target, QString &error)
{
    Q_UNUSED(error);
    requireOpen(temporary);
    temporary.device->close();
    m_files.insert(target, m_files.take(temporary.path));
    m_temporaries.remove(temporary.path);
    return true;
}

void MemoryFileOperations::discard(TemporaryFile &temporary)
{
    if (temporary.device)
        temporary.device->close();
    if (!temporary.path.isEmpty()) {
        m_files.remove(temporary.path);
        m_temporaries.remove(temporary.path);
    }
    temporary = {};
}

bool MemoryFileOperations::flushFolderOf(const QString &target, QString &error)
{
    Q_UNUSED(target);
    Q_UNUSED(error);
    return true;
}

bool MemoryFileOperations::removeFile(const QString &path, QString &error)
{
    Q_UNUSED(error);
    m_files.remove(path); // as on disk: removing what is not there is no error
    return true;
}

void MemoryFileOperations::requireOpen(const TemporaryFile &temporary) const
{
    // Writing through a device this class did not hand out, or after replace or discard, is a
    // misuse of the seam: worth a crash report rather than a quiet failure.
    if (!temporary.device || !m_temporaries.contains(temporary.path) ||
        !qobject_cast<QBuffer *>(temporary.device.get()))
        qFatal("a temporary file was used after replace or discard");
}
