#include "benchfiles.h"

#include "tutorfilegenerator.h"

namespace {

QByteArray tutorFile(int students, bool compact)
{
    GeneratedFileOptions options;
    options.students = students;
    options.compactStudentList = compact;
    return generateTutorFile(options);
}

} // namespace

QByteArray compactTutorFile(int students)
{
    return tutorFile(students, true);
}

QByteArray laidOutTutorFile(int students)
{
    return tutorFile(students, false);
}
