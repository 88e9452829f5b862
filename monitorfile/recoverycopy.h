#pragma once

#include "fileoperations.h"
#include "monitorsave.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace monitorfile {

// What the monitor typed and chose on one tutor's form and had not saved yet.
struct RecoveryCopy
{
    QString tutorFile; // the tutor monitoring file the entries belong to
    QDateTime keptAt;
    MonitorFormValues values; // the comment date is not kept: a save stamps its own
};

// Keeps recovery copies in a folder of the user's own (never beside the tutor monitoring file),
// so that a crash or a power cut does not take a day's work with it. Each form has its own copy
// of its tutor monitoring file, so that one form's save or discard never deletes another's work;
// while a form has a copy it holds a lock file beside it, by which a later start-up tells the
// copies of forms that still run from those of forms that ended without saving. The folder is
// made the user's alone (0700) and each copy is written whole or not at all, readable by the
// user only (0600).
class RecoveryStore
{
public:
    explicit RecoveryStore(QString folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // The user's data folder for the suite's recovery copies.
    static QString defaultFolder();

    // Writes this form's copy. False with a reason when it could not be written, or when the
    // folder is not the user's own; an older copy then stays.
    bool keep(const RecoveryCopy &copy, QString &error);
    // This form's copy of that file; none when there is none or it cannot be read.
    std::optional<RecoveryCopy> find(const QString &tutorFile) const;
    // Deletes this form's copy only.
    void discard(const QString &tutorFile);
    // Takes over the newest readable copy of that file whose form has ended: from then on it is
    // this form's copy, kept and discarded as such. None when there is no such copy.
    std::optional<RecoveryCopy> takeOrphan(const QString &tutorFile);
    // The copies of every form for that file, newest first.
    std::vector<RecoveryCopy> allCopiesOf(const QString &tutorFile) const;

    // Where this form's copy of that file is kept.
    QString pathFor(const QString &tutorFile) const;

private:
    QStringList copyPathsOf(const QString &tutorFile) const;
    void releaseOwnership();

    QString m_folder;
    QString m_instance;                 // names this form's copies
    std::unique_ptr<WriteLock> m_owner; // held while this form has a copy
    QStringList m_taken;                // copies of ended forms taken over, by path
};

// True when both hold the same entries; the comment date does not count.
bool sameEntries(const MonitorFormValues &a, const MonitorFormValues &b);

} // namespace monitorfile
