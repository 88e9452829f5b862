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

// Whose file a form was opened on: tutor, course, presentation and assignment, as the file said.
struct FileIdentity
{
    QByteArray staffId;
    QByteArray courseCode;
    QByteArray presCode;
    QByteArray assignment;
    bool operator==(const FileIdentity &other) const;
    bool isEmpty() const { return *this == FileIdentity{}; }
    QString shown() const; // "tutor 00417263, M101-05B TMA 03"
};

// Everything the form saves, gathered from the window.
struct MonitorFormValues
{
    FileIdentity identity; // of the file as first read; empty in the values to save
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
// then written back with WriteFileWithBackup (the caller holds the file's write lock). Returns
// false after telling the monitor why when the file cannot be read or written, when only one of
// the tags is present, or when the element is absent and there is no "</preferences>" to insert
// it in front of.
bool ReplaceElementText(const QByteArray &startTag, const QByteArray &endTag, const QString &path,
                        const QByteArray &value, bool readFirst, bool writeNow, QByteArray &text,
                        FileOperations &files, MessagePresenter &messages);

// Writes the monitor's entries into the file at path in one safe rewrite, holding the file's
// write lock from the read to the rewrite: the fifteen flags, the comments (their line breaks
// stored as CR LF) and the date, then each student's block, matched to its grid row by personal
// id. Before anything is written the values are checked to fit the file's code page and the
// file's student list to be whole; blocks without a row and blocks beyond numberScriptsText stay
// as they are. asRead, when given, holds the values as this writer first had them: a value
// still equal to it is left as the file now holds it, so another writer's change to it is kept;
// a file that by then belongs to another tutor or assignment than asRead's is left alone.
// Messages are shown once the lock is let go (a missing personal id's after the rewrite).
// Returns true only when the new text reached the disk; otherwise the monitor has been told why.
bool SaveMonitorForm(const QString &path, const MonitorFormValues &values,
                     const QByteArray &numberScriptsText, FileOperations &files,
                     MessagePresenter &messages, const MonitorFormValues *asRead = nullptr);

// The values a form shows for the model (no date), with the file's identity: what asRead is made
// from.
MonitorFormValues formValuesOf(const TutorData &data);

// After a save the model holds what was saved, so that the next save tells this writer's changes
// from another writer's.
void keepSavedValues(TutorData &data, const MonitorFormValues &values);

} // namespace monitorfile
