// SaveMonitorForm on the real disk, as the form calls it: the lock taken and released, the text
// built whole and written in one safe rewrite that flushes the file and its folder.
#include "benchchecks.h"
#include "benchfiles.h"
#include "formvalues.h"
#include "recordingmessages.h"
#include "scratchfolder.h"

#include "fileoperations.h"
#include "monitorsave.h"
#include "tutorfilereader.h"

#include <QFileInfo>

using namespace monitorfile;

namespace {

// Reads the file back: the saves must have left the last values in it, or the figure
// measured something else.
bool holdsValues(benchmark::State &state, const ScratchFolder &folder,
                 const MonitorFormValues &values)
{
    RecordingMessages messages;
    LocalFileOperations files;
    TutorData data;
    ReadTutorXMLFile(folder.path(), kFileTitle, data, messages, files, ReadOptions{false});
    if (!noMessages(state, messages))
        return false;
    const TutorRecord &record = data.record;
    bool same = record.monitor_comments == values.comments.toLatin1() &&
                record.students.size() == values.students.size();
    for (int i = 0; same && i < kFlagCount; ++i)
        same = record.flags[i] == values.flags[i].toLatin1();
    for (size_t i = 0; same && i < values.students.size(); ++i) {
        const StudentRecord &student = record.students[i];
        const StudentGrading &row = values.students[i];
        same = student.marking == row.marking.toLatin1() &&
               student.pt3_commenting == row.summaryFeedback.toLatin1() &&
               student.script_commenting == row.scriptComments.toLatin1();
    }
    return same || fail(state, QStringLiteral("the file does not hold the saved values"));
}

void BM_SaveMonitorForm(benchmark::State &state)
{
    const int students = int(state.range(0));
    ScratchFolder folder;
    if (!folderReady(state, folder))
        return;
    if (!folder.put(kFileName, compactTutorFile(students))) {
        fail(state, QStringLiteral("cannot write the file"));
        return;
    }
    const QString path = folder.filePath(kFileName);
    const QByteArray numberScripts = QByteArray::number(students);
    // Two sets of values taking turns change every value on every save. They are made
    // beforehand: gathering them is the window's work, not the save's.
    const MonitorFormValues values[] = {changingFormValues(students, 1),
                                        changingFormValues(students, 2)};
    LocalFileOperations files;
    ScratchFolder::settleDisk();
    int64_t saves = 0;
    for (auto _ : state) {
        RecordingMessages messages;
        // The form hands over the values it read, which the file held before this save.
        const bool saved = SaveMonitorForm(path, values[saves % 2], numberScripts, files, messages,
                                           &values[(saves + 1) % 2]);
        ++saves;
        if (!noMessages(state, messages))
            break;
        if (!saved) {
            fail(state, QStringLiteral("the save failed"));
            break;
        }
    }
    if (saves > 0 && !state.error_occurred() &&
        !holdsValues(state, folder, values[(saves - 1) % 2]))
        return;
    state.SetComplexityN(students);
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

} // namespace

BENCHMARK(BM_SaveMonitorForm)
    ->Name("Save")
    ->ArgName("students")
    ->Arg(3)
    ->Arg(30)
    ->Arg(300)
    ->Arg(3000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Complexity(benchmark::oN);
