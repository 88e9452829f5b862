#include "suitepath.h"

namespace monitorfile {

QString suiteFilePath(const QString &folder, const QString &title)
{
    QString path = folder + title;
#ifndef Q_OS_WIN
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return path;
}

} // namespace monitorfile
