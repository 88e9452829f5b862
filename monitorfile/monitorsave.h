#pragma once

#include "tutordata.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>

#include <array>
#include <vector>

namespace monitorfile {

class FileOperations;
class MessagePresenter;

// One row of the student grid, as the monitor left it.
struct StudentGrading
{
    QString personalId;
    QString marking;
    QString summaryFeedback;
    QString scriptComments;
};

// Everything the form saves, gathered from the window.
struct MonitorFormValues
{
    std::array<QString, kFlagCount> flags;
    QString comments;
    QString commentDate;
    std::vector<StudentGrading> students; // in grid order
};

// "07-Dec-2026", the month named as the locale abbreviates it.
QString formatCommentDate(const QDate &date, const QLocale &locale = QLocale::system());

// Puts value between the element's tags in text: in place of what stood there, in place of the
// element's empty form, or, when the element is absent, in front of the first "</preferences>".
// When readFirst is set the file at path is read into text first; when writeNow is set text is
// then written back with WriteFileWithBackup. Returns false after telling the monitor why when
// the file cannot be read or written, when only one of the tags is present, or when the element
// is absent and there is no "</preferences>" to insert it in front of.
bool ReplaceElementText(const QByteArray &startTag, const QByteArray &endTag, const QString &path,
                        const QByteArray &value, bool readFirst, bool writeNow, QByteArray &text,
                        FileOperations &files, MessagePresenter &messages);

// Writes the monitor's entries into the file at path, in two rewrites: first the fifteen flags,
// the comments and the date, then each student's block, matched to its grid row by personal id.
// Before anything is written the values are checked to fit the file's code page and the file's
// student list to be whole; blocks without a row and blocks beyond numberScriptsText stay as
// they are. Returns true only when both rewrites reached the disk; otherwise the monitor has
// been told why.
bool SaveMonitorForm(const QString &path, const MonitorFormValues &values,
                     const QByteArray &numberScriptsText, FileOperations &files,
                     MessagePresenter &messages);

} // namespace monitorfile
