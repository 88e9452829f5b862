#pragma once

#include <QByteArray>

// Tutor monitoring files made up for tests and measurements.
struct GeneratedFileOptions
{
    int students = 3;
    int filesPerStudent = 2;
    // As the suite writes a file that this program has saved: the student list run together.
    // Otherwise every element stands on its own indented line.
    bool compactStudentList = false;
};

QByteArray generateTutorFile(const GeneratedFileOptions &options);

// The personal id of the i-th generated student.
QByteArray generatedStudentId(int i);
