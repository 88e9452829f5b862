#pragma once

#include "monitorsave.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace monitorfile {

// What the monitor typed and chose on one tutor's form and had not saved yet.
struct RecoveryCopy
{
    QString tutorFile; // the tutor monitoring file the entries belong to
    QDateTime keptAt;
    MonitorFormValues values; // the comment date is not kept: a save stamps its own
};

// Keeps recovery copies in a folder of the user's own (never beside the tutor monitoring file),
// one file per tutor monitoring file, so that a crash or a power cut does not take a day's work
// with it. Each copy is written whole or not at all.
class RecoveryStore
{
public:
    explicit RecoveryStore(QString folder);

    // The user's data folder for the suite's recovery copies.
    static QString defaultFolder();

    // False with a reason when the copy could not be written; an older copy then stays.
    bool keep(const RecoveryCopy &copy, QString &error) const;
    // The copy kept for that file; none when there is none or it cannot be read.
    std::optional<RecoveryCopy> find(const QString &tutorFile) const;
    void discard(const QString &tutorFile) const;

    QString pathFor(const QString &tutorFile) const;

private:
    QString m_folder;
};

// True when both hold the same entries; the comment date does not count.
bool sameEntries(const MonitorFormValues &a, const MonitorFormValues &b);

} // namespace monitorfile
