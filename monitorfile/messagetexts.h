#pragma once

#include <QByteArray>
#include <QString>

// The texts the file core shows to the monitor, in one place.
namespace monitorfile::texts {

// "Missing <staff_id> from xml file."
QString missingElement(const QByteArray &tag);

QString fileTooLarge(const QString &path, qint64 size, qint64 limit);
QString cannotReadFile(const QString &path, const QString &reason);
QString normalisedRewriteFailed(const QString &path, const QString &reason);
QString saveFailed(const QString &path, const QString &reason);
QString fileVanished();
QString fileGrewTooLarge(qint64 size);
QString saveRefusedUnencodable(const QString &characters);
QString saveRefusedMalformed(const QByteArray &tag);
QString saveRefusedDamaged(const QByteArray &tag);

} // namespace monitorfile::texts
