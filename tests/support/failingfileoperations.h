#pragma once

#include "fileoperations.h"

#include <functional>

// The local file operations, with one chosen step failing on its n-th call (counting from 1):
// with an error, or by the process stopping dead there (the sequence is abandoned by throwing
// AbruptStop, so nothing after it runs, not even the clean-up of a failure).
class FailingFileOperations : public monitorfile::LocalFileOperations
{
public:
    struct AbruptStop
    {
    };
    enum class Failure { Error, AbruptStop };

    enum class Step {
        None,
        Read,
        CopyToBackup,
        CreateTemporary,
        Write,
        FlushToDisk,
        Replace,
        FlushFolder,
        RemoveFile,
        Lock
    };

    FailingFileOperations(Step step = Step::None, int call = 1, Failure failure = Failure::Error)
        : m_step(step), m_call(call), m_failure(failure)
    {
    }

    // From now on the chosen step fails on its n-th call.
    void failAt(Step step, int call = 1, Failure failure = Failure::Error)
    {
        m_step = step;
        m_call = call;
        m_failure = failure;
        m_seen = 0;
    }

    static constexpr const char *kReason = "Injected failure";

    QList<Step> calls;                // every step, in order
    std::function<void(Step)> onStep; // another program's doing, as each step begins

    std::unique_ptr<monitorfile::WriteLock> lockForWriting(const QString &target,
                                                           QString &error) override;
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
    bool flushFolderOf(const QString &target, QString &error) override;
    bool removeFile(const QString &path, QString &error) override;

private:
    bool fails(Step step, QString &error);

    Step m_step;
    int m_call;
    Failure m_failure;
    int m_seen = 0;
};
