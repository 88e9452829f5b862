// ReadTutorXMLFile on the real disk, as the form reads its file at start-up.
#include "benchchecks.h"
#include "benchfiles.h"
#include "recordingmessages.h"
#include "scratchfolder.h"

#include "fileoperations.h"
#include "tutorfilereader.h"

using namespace monitorfile;

namespace {

// Every student read, nothing damaged, and rewritten exactly when the file needed tidying.
bool readAsExpected(benchmark::State &state, const ReadReport &report, const TutorData &data,
                    int students, bool rewriteExpected)
{
    if (!report.fileFound || report.readFailed || report.malformed)
        return fail(state, QStringLiteral("the file was not read"));
    if (int(data.record.students.size()) != students)
        return fail(state, QStringLiteral("%1 of %2 students read")
                               .arg(data.record.students.size())
                               .arg(students));
    if (report.rewritten != rewriteExpected)
        return fail(state, rewriteExpected ? QStringLiteral("the laid-out file was not rewritten")
                                           : QStringLiteral("the compact file was rewritten"));
    return true;
}

void BM_ReadCompactFile(benchmark::State &state)
{
    const int students = int(state.range(0));
    ScratchFolder folder;
    if (!folderReady(state, folder))
        return;
    const QByteArray text = compactTutorFile(students);
    if (!folder.put(kFileName, text)) {
        fail(state, QStringLiteral("cannot write the file"));
        return;
    }
    LocalFileOperations files;
    ScratchFolder::settleDisk();
    for (auto _ : state) {
        RecordingMessages messages;
        TutorData data;
        const ReadReport report =
            ReadTutorXMLFile(folder.path(), kFileTitle, data, messages, files);
        if (!noMessages(state, messages) || !readAsExpected(state, report, data, students, false))
            break;
    }
    state.SetComplexityN(students);
    state.SetBytesProcessed(state.iterations() * text.size());
}

// The reader tidies a laid-out file and rewrites it safely, flushing the file and its folder.
// The file is put back in its laid-out form before each read, outside the timing.
void BM_ReadLaidOutFile(benchmark::State &state)
{
    const int students = int(state.range(0));
    ScratchFolder folder;
    if (!folderReady(state, folder))
        return;
    const QByteArray text = laidOutTutorFile(students);
    LocalFileOperations files;
    ScratchFolder::settleDisk();
    for (auto _ : state) {
        state.PauseTiming();
        const bool laidOut = folder.put(kFileName, text);
        state.ResumeTiming();
        if (!laidOut) {
            fail(state, QStringLiteral("cannot write the file"));
            break;
        }
        RecordingMessages messages;
        TutorData data;
        const ReadReport report =
            ReadTutorXMLFile(folder.path(), kFileTitle, data, messages, files);
        if (!noMessages(state, messages) || !readAsExpected(state, report, data, students, true))
            break;
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

} // namespace

BENCHMARK(BM_ReadCompactFile)
    ->Name("Read")
    ->ArgName("students")
    ->Arg(3)
    ->Arg(30)
    ->Arg(300)
    ->Arg(3000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Complexity(benchmark::oN);

BENCHMARK(BM_ReadLaidOutFile)
    ->Name("ReadAndRewriteLaidOut")
    ->ArgName("students")
    ->Arg(30)
    ->Arg(3000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
