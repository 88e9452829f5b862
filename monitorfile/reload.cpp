#include "reload.h"

#include "fileoperations.h"
#include "markupchars.h"
#include "messages.h"
#include "messagetexts.h"
#include "studentlist.h"
#include "tagsearch.h"
#include "textvalues.h"
#include "tutordata.h"
#include "tutorfilereader.h"

#include <QHash>

namespace monitorfile {

namespace {

bool extract(const QByteArray &name, QByteArray &contents, QByteArray &value,
             MessagePresenter &messages)
{
    const ElementTags tags = tagsOf(name);
    return ExtractElement(tags.start, tags.end, contents, value, &messages) == 0;
}

// The index of the k-th student whose trimmed id is id, or -1.
int studentWithId(const std::vector<StudentRecord> &students, const QByteArray &id, int k)
{
    for (int i = 0; i < int(students.size()); ++i) {
        if (trimBlanks(students[i].student_personal_id) == id && k-- == 0)
            return i;
    }
    return -1;
}

} // namespace

void ReloadMonitoringData(const QString &path, TutorData &data, FileOperations &files,
                          MessagePresenter &messages)
{
    if (!files.fileExists(path))
        return;
    QByteArray text;
    if (readTutorFileText(path, text, files, messages) != ReadStatus::Ok)
        return;

    TutorRecord &record = data.record;
    if (!extract("number_scripts", text, data.NumberScriptsText, messages))
        return;
    record.number_scripts = wholeNumberValue(data.NumberScriptsText);
    if (!extract("monitor_comments", text, record.monitor_comments, messages))
        return;
    DecodeMarkupChars(record.monitor_comments);
    const QList<QByteArray> flags = flagNames();
    for (int i = 0; i < kFlagCount; ++i) {
        if (!extract(flags[i], text, record.flags[i], messages))
            return;
    }
    QByteArray list;
    if (!extract("student_list", text, list, messages))
        return;

    const StudentListCut cut = cutStudentList(list, qMax<int>(0, record.number_scripts));
    QHash<QByteArray, int> seen;
    for (QByteArray block : cut.blocks) {
        QByteArray id;
        if (!extract("student_personal_id", block, id, messages))
            return;
        id = trimBlanks(id);
        const int index = studentWithId(record.students, id, seen[id]++);
        if (index < 0)
            continue;
        StudentRecord &student = record.students[index];
        if (!extract("marking", block, student.marking, messages) ||
            !extract("script_commenting", block, student.script_commenting, messages) ||
            !extract("pt3_commenting", block, student.pt3_commenting, messages))
            return;
    }
    if (!cut.missingTag.isEmpty())
        messages.show(texts::missingElement(cut.missingTag));
}

} // namespace monitorfile
