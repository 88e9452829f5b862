#include "commentsdocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

DocumentCreation createEmptyDocument(const QString &path, QString &error)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return DocumentCreation::Created;
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink())
        return DocumentCreation::AlreadyThere;
    error = file.errorString();
    return DocumentCreation::Failed;
}

QString commentsDocumentNotCreated(const QString &path, const QString &reason)
{
    return QStringLiteral("The monitor comments document could not be created:\n%1\n\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}
