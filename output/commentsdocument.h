#pragma once

#include <QString>

enum class DocumentCreation { AlreadyThere, Created, Failed };

// Creates the file at path, empty, unless a file, folder or link of that name is there already.
// Testing and creating are one step, so a document that appears meanwhile is never emptied.
// On Failed, error says why.
DocumentCreation createEmptyDocument(const QString &path, QString &error);

// What the monitor is told when the monitor comments document could not be created.
QString commentsDocumentNotCreated(const QString &path, const QString &reason);
