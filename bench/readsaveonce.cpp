#include "readsaveonce.h"

#include "benchfiles.h"
#include "formvalues.h"
#include "recordingmessages.h"
#include "scratchfolder.h"

#include "fileoperations.h"
#include "monitorsave.h"
#include "tutorfilereader.h"

#include <QFile>
#include <QFileInfo>

using namespace monitorfile;

QString readAndSaveOnce(int students, qint64 *fileSize)
{
    ScratchFolder folder;
    if (!folder.isValid())
        return QStringLiteral("cannot make a scratch folder in %1: %2")
            .arg(ScratchFolder::parentFolder(), folder.errorString());
    if (!folder.put(kFileName, compactTutorFile(students)))
        return QStringLiteral("cannot write the file in ") + folder.path();
    const QString path = folder.filePath(kFileName);
    if (fileSize)
        *fileSize = QFileInfo(path).size();

    RecordingMessages messages;
    LocalFileOperations files;
    TutorData data;
    const ReadReport report = ReadTutorXMLFile(folder.path(), kFileTitle, data, messages, files);
    if (!report.fileFound || report.readFailed || int(data.record.students.size()) != students)
        return QStringLiteral("the file was not read whole");
    if (!SaveMonitorForm(path, changingFormValues(students, 1), data.NumberScriptsText, files,
                         messages) &&
        messages.texts.isEmpty())
        return QStringLiteral("the save failed");
    if (!messages.texts.isEmpty())
        return QStringLiteral("message shown: ") + messages.texts.first();
    return {};
}

QByteArray memoryPeaks()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    QByteArray peaks;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:") || line.startsWith("VmPeak:"))
            peaks += line.simplified() + ' ';
    }
    return peaks.trimmed();
}
