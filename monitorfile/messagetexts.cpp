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

QString saveFailed(const QString &path, const QString &reason)
{
    return QStringLiteral(
               "The monitoring form could not be saved to:\n%1\n\n%2\n\nYour entries are "
               "still on the screen and have not been lost. Please save again once the "
               "problem is solved.")
        .arg(shown(path), reason);
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

} // namespace monitorfile::texts
