#include "messagetexts.h"

#include <QDir>

namespace monitorfile::texts {

namespace {
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

QString missingElement(const QByteArray &tag)
{
    return QStringLiteral("Missing ") + QString::fromLatin1(tag) +
           QStringLiteral(" from xml file.");
}

QString fileTooLarge(const QString &path, qint64 size, qint64 limit)
{
    return QStringLiteral("The tutor monitoring file is too large to open (%1 bytes; the limit is "
                          "%2 bytes):\n%3")
        .arg(size)
        .arg(limit)
        .arg(shown(path));
}

QString cannotReadFile(const QString &path, const QString &reason)
{
    return QStringLiteral("The tutor monitoring file could not be read:\n%1\n\n%2")
        .arg(shown(path), reason);
}

QString normalisedRewriteFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("The tutor monitoring file could not be tidied up and was left as it "
                          "was:\n%1\n\n%2")
        .arg(shown(path), reason);
}

QString entriesStillOnScreen()
{
    return QStringLiteral("\n\nYour entries are still on the screen and have not been lost. Please "
                          "save again once the problem is solved.");
}

QString forCommandLine(const QString &text)
{
    return QString(text)
        .remove(entriesStillOnScreen())
        .remove(QStringLiteral(" Your entries are still on the screen."));
}

QString saveFailed(const QString &path, const QString &reason, bool fileUnchanged)
{
    const QString outcome = fileUnchanged
                                ? QStringLiteral("Nothing was saved: the file is as it was.")
                                : QStringLiteral("The entries were written, but the system could "
                                                 "not confirm that they are safely on the disk.");
    return QStringLiteral("The monitoring form could not be saved to:\n%1\n\n%2\n\n%3")
               .arg(shown(path), reason, outcome) +
           entriesStillOnScreen();
}

QString fileLocked(const QString &application, qint64 pid, const QString &host,
                   const QDateTime &since)
{
    return QStringLiteral("The file is being written by another program (%1, process %2 on %3) "
                          "since %4.")
        .arg(application.isEmpty() ? QStringLiteral("unknown") : application)
        .arg(pid)
        .arg(host.isEmpty() ? QStringLiteral("an unknown computer") : host,
             since.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

QString fileLockedByUnknown(const QString &lockPath, const QDateTime &since)
{
    return QStringLiteral("The file is being written by another program (its lock file %1 dates "
                          "from %2).")
        .arg(shown(lockPath), since.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

QString lockFileNotMade(const QString &lockPath, const QString &reason)
{
    return QStringLiteral("The lock file %1 could not be created: %2")
        .arg(shown(lockPath),
             reason.isEmpty() ? QStringLiteral("the folder cannot be written to") : reason);
}

QString notARegularFile()
{
    return QStringLiteral("It is not a regular file (a pipe, a device or a socket has its name).");
}

QString lockNameTaken(const QString &lockPath, const QString &whatIsThere)
{
    return QStringLiteral("The file's lock %1 cannot be taken: %2 stands at its name, not a lock "
                          "file. Please remove it.")
        .arg(shown(lockPath), whatIsThere);
}

QString endedWritersLockNotRemovable(const QString &lockPath, const QString &application,
                                     qint64 pid, const QString &reason)
{
    const QString holder =
        pid > 0 ? QStringLiteral("%1, process %2")
                      .arg(application.isEmpty() ? QStringLiteral("unknown") : application)
                      .arg(pid)
                : QStringLiteral("one that ended before it said who it was");
    return QStringLiteral("The file's lock %1 was left by a program that has ended (%2), and it "
                          "cannot be removed: %3. In a folder shared by several users only the "
                          "lock's owner or an administrator may remove it.")
        .arg(shown(lockPath), holder, reason);
}

QString lockTakenOver(const QString &lockPath)
{
    return QStringLiteral("While this program was held up, another program took over the file's "
                          "lock %1 and may have saved since: what this program read is out of "
                          "date.")
        .arg(shown(lockPath));
}

QString temporaryRemoved(const QString &temporaryPath)
{
    return QStringLiteral("The new text's temporary file %1 was removed by another program before "
                          "it could take the file's place.")
        .arg(shown(temporaryPath));
}

QString fileOfAnotherTutor(const QString &opened, const QString &now)
{
    return QStringLiteral("The file now belongs to another tutor or assignment (%1; the form was "
                          "opened on %2): it was moved or copied over the file since the form "
                          "was opened.")
        .arg(now, opened);
}

QString ownerNotKept(const QString &reason)
{
    return QStringLiteral("The file's owner, group or permissions could not be kept (%1): a save "
                          "by this user would take the file from its owner.")
        .arg(reason);
}

QString fileVanished()
{
    return QStringLiteral("The file is no longer there: it may have been moved, renamed or deleted "
                          "since the form was opened.");
}

QString fileGrewTooLarge(qint64 size)
{
    return QStringLiteral("The file has grown to %1 bytes, more than the form can open.").arg(size);
}

QString saveRefusedUnencodable(const QString &characters)
{
    return QStringLiteral("The monitoring form was not saved: these characters cannot be stored in "
                          "the tutor monitoring file: %1\n\nPlease replace them and save again.")
        .arg(characters);
}

QString saveRefusedMalformed(const QByteArray &tag)
{
    return missingElement(tag) +
           QStringLiteral("\n\nThe monitoring form was not saved and the file was left unchanged. "
                          "Your entries are still on the screen.");
}

QString saveRefusedDamaged(const QByteArray &tag)
{
    return QStringLiteral("The monitoring form was not saved: the tutor monitoring file is damaged "
                          "around %1, so the entry would not be stored where it can be read "
                          "again.\n\nThe file was left unchanged. Your entries are still on the "
                          "screen.")
        .arg(QString::fromLatin1(tag));
}

QString messagesNotReceived(const QString &reason)
{
    return QStringLiteral("This monitoring form cannot receive the requests of the suite's other "
                          "windows (%1).\n\nA save or a close asked for in the Tutor Summary "
                          "window will not reach it: please save and close the form with its own "
                          "menu.")
        .arg(reason.isEmpty() ? QStringLiteral("no message window") : reason);
}

QString recoveryCopyNotKept(const QString &reason)
{
    return QStringLiteral("Your unsaved changes cannot be kept for recovery after a crash (%1).\n\n"
                          "Your entries are still on the screen: please save them with Save.")
        .arg(reason);
}

QString fileAlreadyOpen(const QString &path)
{
    return QStringLiteral("This tutor monitoring file is already open in another monitoring "
                          "form:\n%1\n\nPlease go on in that form.")
        .arg(shown(path));
}

QString fileNotClaimed(const QString &reason)
{
    return QStringLiteral("This monitoring form cannot make sure that no other monitoring form has "
                          "this tutor's file open (%1).\n\nPlease do not open the same tutor "
                          "twice.")
        .arg(reason);
}

} // namespace monitorfile::texts
