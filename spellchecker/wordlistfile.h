#pragma once

#include <QString>
#include <QStringList>

namespace spelling {

// A user word list file: UTF-8 text, one entry a line. A missing file reads as empty.
QStringList readWordListFile(const QString &path);
// Written whole and safely (the folder is created); false with the reason in `error`.
bool writeWordListFile(const QString &path, const QStringList &lines, QString &error);

} // namespace spelling
