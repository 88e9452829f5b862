#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The texts the file core shows to the monitor, in one place.
namespace monitorfile::texts {

// "Missing <staff_id> from xml file."
QString missingElement(const QByteArray &tag);

QString fileTooLarge(const QString &path, qint64 size, qint64 limit);
QString cannotReadFile(const QString &path, const QString &reason);
QString normalisedRewriteFailed(const QString &path, const QString &reason);
// fileUnchanged: the failure left the file exactly as it was before the save.
QString saveFailed(const QString &path, const QString &reason, bool fileUnchanged = true);
// Said to the monitor of a window only; a command line leaves it out.
QString entriesStillOnScreen();
// A message without what only the window's monitor can be told.
QString forCommandLine(const QString &text);
QString fileLocked(const QString &application, qint64 pid, const QString &host,
                   const QDateTime &since);
QString fileLockedByUnknown(const QString &lockPath, const QDateTime &since);
QString lockFileNotMade(const QString &lockPath, const QString &reason);
QString notARegularFile();
// Something other than a lock file (a pipe, a folder, a link) stands at a lock's name.
QString lockNameTaken(const QString &lockPath, const QString &whatIsThere);
QString endedWritersLockNotRemovable(const QString &lockPath, const QString &application,
                                     qint64 pid, const QString &reason);
QString lockTakenOver(const QString &lockPath);
QString temporaryRemoved(const QString &temporaryPath);
QString fileOfAnotherTutor(const QString &opened, const QString &now);
QString ownerNotKept(const QString &reason);
QString fileVanished();
QString fileGrewTooLarge(qint64 size);
QString saveRefusedUnencodable(const QString &characters);
QString saveRefusedMalformed(const QByteArray &tag);
QString saveRefusedDamaged(const QByteArray &tag);

// Told once per session, when the form cannot hear the suite's other windows.
QString messagesNotReceived(const QString &reason);
// Told once per session, when unsaved work cannot be kept for recovery after a crash.
QString recoveryCopyNotKept(const QString &reason);
// A second form started on a tutor monitoring file that a running form has open.
QString fileAlreadyOpen(const QString &path);
// No claim on the file could be made, so a second form could open it too.
QString fileNotClaimed(const QString &reason);

} // namespace monitorfile::texts
