// One WriteFileWithBackup on the real disk: the step each save and each tidying rewrite repeats;
// and the write lock each of them takes around it.
#include "benchchecks.h"
#include "benchfiles.h"
#include "scratchfolder.h"

#include "fileoperations.h"
#include "safewrite.h"
#include "writelock.h"

#include <QFile>

using namespace monitorfile;

namespace {

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void BM_WriteFileWithBackup(benchmark::State &state)
{
    const int students = int(state.range(0));
    ScratchFolder folder;
    if (!folderReady(state, folder))
        return;
    // Two texts taking turns, so that every rewrite changes the file.
    const QByteArray first = compactTutorFile(students);
    QByteArray second = first;
    second.replace("<monitor_comments></monitor_comments>",
                   "<monitor_comments>Rewritten</monitor_comments>");
    const QByteArray texts[] = {first, second};
    if (second == first) {
        fail(state, QStringLiteral("the generated file has no empty monitor_comments to change"));
        return;
    }
    if (!folder.put(kFileName, first)) {
        fail(state, QStringLiteral("cannot write the file"));
        return;
    }
    const QString path = folder.filePath(kFileName);
    LocalFileOperations files;
    ScratchFolder::settleDisk();
    int64_t writes = 0;
    for (auto _ : state) {
        const WriteResult written = WriteFileWithBackup(path, texts[writes++ % 2], files);
        if (!written.ok) {
            fail(state, QStringLiteral("the rewrite failed: ") + written.error);
            break;
        }
    }
    if (state.error_occurred())
        return;
    if (QFile::exists(backupPathOf(path))) {
        fail(state, QStringLiteral("the backup copy was left behind"));
        return;
    }
    if (writes > 0 && fileContent(path) != texts[(writes - 1) % 2]) {
        fail(state, QStringLiteral("the file does not hold the last text"));
        return;
    }
    state.SetBytesProcessed(state.iterations() * first.size());
}

// Taking and giving up the lock file beside monitor.fhi, nobody else wanting it.
void BM_WriteLock(benchmark::State &state)
{
    ScratchFolder folder;
    if (!folderReady(state, folder))
        return;
    const QString path = folder.filePath(kFileName);
    LocalFileOperations files;
    ScratchFolder::settleDisk();
    for (auto _ : state) {
        QString error;
        if (!files.lockForWriting(path, error)) {
            fail(state, QStringLiteral("the lock was not had: ") + error);
            break;
        }
    }
    if (!state.error_occurred() && QFile::exists(lockPathOf(path)))
        fail(state, QStringLiteral("the lock file was left behind"));
}

} // namespace

BENCHMARK(BM_WriteLock)->Name("WriteLock")->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK(BM_WriteFileWithBackup)
    ->Name("SafeRewrite")
    ->ArgName("students")
    ->Arg(30)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
