#include "failingfileoperations.h"

using monitorfile::LocalFileOperations;
using monitorfile::ReadStatus;
using monitorfile::TemporaryFile;

bool FailingFileOperations::fails(Step step, QString &error)
{
    calls.append(step);
    if (onStep)
        onStep(step);
    if (step != m_step || ++m_seen != m_call)
        return false;
    if (m_failure == Failure::AbruptStop)
        throw AbruptStop();
    error = QString::fromLatin1(kReason);
    return true;
}

std::unique_ptr<monitorfile::WriteLock> FailingFileOperations::lockForWriting(const QString &target,
                                                                              QString &error)
{
    if (fails(Step::Lock, error))
        return {};
    return LocalFileOperations::lockForWriting(target, error);
}

ReadStatus FailingFileOperations::readFile(const QString &path, qint64 maxBytes, QByteArray &bytes,
                                           qint64 &size, QString &error)
{
    if (fails(Step::Read, error))
        return ReadStatus::Failed;
    return LocalFileOperations::readFile(path, maxBytes, bytes, size, error);
}

bool FailingFileOperations::copyToBackup(const QString &source, const QByteArray *asRead,
                                         const QString &backup, QString &error)
{
    return !fails(Step::CopyToBackup, error) &&
           LocalFileOperations::copyToBackup(source, asRead, backup, error);
}

bool FailingFileOperations::createTemporary(const QString &target, TemporaryFile &temporary,
                                            QString &error)
{
    return !fails(Step::CreateTemporary, error) &&
           LocalFileOperations::createTemporary(target, temporary, error);
}

bool FailingFileOperations::write(TemporaryFile &temporary, const QByteArray &bytes, QString &error)
{
    return !fails(Step::Write, error) && LocalFileOperations::write(temporary, bytes, error);
}

bool FailingFileOperations::flushToDisk(TemporaryFile &temporary, QString &error)
{
    return !fails(Step::FlushToDisk, error) && LocalFileOperations::flushToDisk(temporary, error);
}

bool FailingFileOperations::replace(TemporaryFile &temporary, const QString &target, QString &error)
{
    return !fails(Step::Replace, error) && LocalFileOperations::replace(temporary, target, error);
}

bool FailingFileOperations::flushFolderOf(const QString &target, QString &error)
{
    return !fails(Step::FlushFolder, error) && LocalFileOperations::flushFolderOf(target, error);
}

bool FailingFileOperations::removeFile(const QString &path, QString &error)
{
    return !fails(Step::RemoveFile, error) && LocalFileOperations::removeFile(path, error);
}
