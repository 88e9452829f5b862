#pragma once

#include <QString>

namespace monitorfile {

// The suite joins folder names with "\" (the file title is "\monitor.fhi"). Off Windows the
// backslashes become "/" so that the same joined text names the same place.
QString suiteFilePath(const QString &folder, const QString &title);

} // namespace monitorfile
