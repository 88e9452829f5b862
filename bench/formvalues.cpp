#include "formvalues.h"

#include "tutorfilegenerator.h"

#include <QDate>

using monitorfile::MonitorFormValues;
using monitorfile::StudentGrading;

namespace {

const char *const kMarkings[] = {"Appropriate", "Generous", "Harsh"};
const char *const kCommentings[] = {"Good (G)", "Fair (F)", "Weak (W)"};

QString comments(int pass)
{
    // The markup characters make the save encode them, as a real comment often does.
    return QStringLiteral("Pass %1: marks <fair> & comments helpful.").arg(pass);
}

} // namespace

MonitorFormValues changingFormValues(int students, int pass)
{
    MonitorFormValues values;
    for (int i = 0; i < monitorfile::kFlagCount; ++i)
        values.flags[i] = (pass + i) % 2 ? QStringLiteral("Y") : QStringLiteral("N");
    values.comments = comments(pass);
    values.commentDate =
        monitorfile::formatCommentDate(QDate(2027, 1, 1).addDays(pass % 365), QLocale::c());
    values.students.reserve(students);
    for (int i = 0; i < students; ++i) {
        StudentGrading row;
        row.personalId = QString::fromLatin1(generatedStudentId(i));
        row.marking = QLatin1String(kMarkings[(i + pass) % 3]);
        row.summaryFeedback = QStringLiteral("Summary %1, pass %2").arg(i).arg(pass);
        row.scriptComments = QLatin1String(kCommentings[(i + 2 * pass) % 3]);
        values.students.push_back(row);
    }
    return values;
}
