#pragma once

#include "testfolder.h"

#include "fileoperations.h"
#include "recordingmessages.h"
#include "tutorfilereader.h"

#include <QByteArray>

// A tutor folder holding one monitor.fhi, read the way start-up reads it.
class ReaderFixture
{
public:
    QString put(const QByteArray &bytes)
    {
        return folder.write(QStringLiteral("monitor.fhi"), bytes);
    }
    QByteArray fileBytes() const { return folder.read(QStringLiteral("monitor.fhi")); }
    QString filePath() const { return folder.path(QStringLiteral("monitor.fhi")); }

    monitorfile::ReadReport read(monitorfile::ReadOptions options = {})
    {
        return monitorfile::ReadTutorXMLFile(folder.path(), QStringLiteral("\\monitor.fhi"), data,
                                             messages, files, options);
    }

    TestFolder folder;
    monitorfile::LocalFileOperations files;
    RecordingMessages messages;
    monitorfile::TutorData data;
};

// The text with `from` replaced by `to`, insisting that `from` occurs.
QByteArray edited(QByteArray text, const QByteArray &from, const QByteArray &to);
