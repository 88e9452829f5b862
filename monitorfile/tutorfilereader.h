#pragma once

#include "fileoperations.h"
#include "tutordata.h"

#include <QString>

namespace monitorfile {

class MessagePresenter;

constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

struct ReadOptions
{
    // Start-up writes the tidied text back; tools that only look pass false.
    bool rewriteNormalised = true;
};

struct ReadReport
{
    bool fileFound = false;
    bool readFailed = false; // found but unreadable or too large; the model stays empty
    bool normalised = false; // tidying changed the text's length, so start-up rewrites it
    bool malformed = false;  // a block or an end tag is missing: the file is never rewritten
    bool rewritten = false;
    QByteArray normalisedText; // the tidied text, when normalised and not rewritten
    QByteArray readText;       // and the text it was made from
};

// Reads vsFilePath & vsFileTitle into data and shows a message for each missing element: at most
// one per run of reads (the first missing one), every value present still being read. When the
// tidying of empty elements and of the student and file lists changed the text's length and the
// file is well formed, the file is rewritten safely, under the write lock and only if no other
// writer has changed it since it was read. A missing file is not an error: nothing is
// read, nothing shown.
ReadReport ReadTutorXMLFile(const QString &vsFilePath, const QString &vsFileTitle, TutorData &data,
                            MessagePresenter &messages, FileOperations &files,
                            const ReadOptions &options = {});

// Reads the file at path whole into text. A file too large or unreadable is refused with a
// message naming it; a missing file is not mentioned.
ReadStatus readTutorFileText(const QString &path, QByteArray &text, FileOperations &files,
                             MessagePresenter &messages);

// Writes the tidied text of a file read without rewriting, as start-up would have, unless the
// file no longer holds readText (another writer's text then stands); tells the monitor when that
// fails.
bool WriteNormalisedText(const QString &path, const QByteArray &readText, const QByteArray &text,
                         FileOperations &files, MessagePresenter &messages);

} // namespace monitorfile
