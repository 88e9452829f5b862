#include "scratchfolder.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

QString ScratchFolder::parentFolder()
{
    // Not QDir::tempPath(): it quietly gives another folder when TMPDIR does not exist.
    const QString tmpdir = qEnvironmentVariable("TMPDIR");
    if (!tmpdir.isEmpty())
        return QDir::cleanPath(tmpdir);
    return QStringLiteral(MONITOR_BENCH_BUILD_DIR);
}

ScratchFolder::ScratchFolder() : m_dir(parentFolder() + QStringLiteral("/monitor_bench-XXXXXX")) {}

bool ScratchFolder::put(const QString &name, const QByteArray &bytes) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

void ScratchFolder::settleDisk()
{
#ifdef Q_OS_UNIX
    ::sync();
#endif
}
