#pragma once

#include <QByteArray>
#include <QString>

// The file the form reads and saves: the reader takes its folder and this title.
inline const QString kFileTitle = QStringLiteral("\\monitor.fhi");
inline const QString kFileName = QStringLiteral("monitor.fhi");

// A generated file of `students` students with its student list run together, as the suite and
// this program write it, so that reading it does not rewrite it.
QByteArray compactTutorFile(int students);

// The same with every element on its own indented line, which the reader tidies and rewrites.
QByteArray laidOutTutorFile(int students);
