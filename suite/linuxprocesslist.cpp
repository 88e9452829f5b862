#include "linuxprocesslist.h"

#include <QFile>

#include <algorithm>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

namespace suite {

namespace {

// Pids in the order /proc lists them (ascending), whatever order the folder gives.
std::vector<long long> processIds(const QByteArray &root)
{
    std::vector<long long> pids;
    DIR *dir = ::opendir(root.constData());
    if (!dir)
        return pids;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        const bool isPid = !name.isEmpty() && std::all_of(name.begin(), name.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
        if (isPid)
            pids.push_back(name.toLongLong());
    }
    ::closedir(dir);
    std::sort(pids.begin(), pids.end());
    return pids;
}

// The first `limit` bytes at most. /proc files report no size, so they are read until the end.
QByteArray readHead(const QByteArray &path, qsizetype limit)
{
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    char buffer[4096];
    while (bytes.size() < limit) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count <= 0)
            break;
        bytes.append(buffer, static_cast<qsizetype>(count));
    }
    ::close(fd);
    return bytes.left(limit);
}

// The last part of a path; argv[0] may have been written with either separator.
QString baseName(const QByteArray &path)
{
    qsizetype start = path.size();
    while (start > 0 && path[start - 1] != '/' && path[start - 1] != '\\')
        --start;
    return QFile::decodeName(path.mid(start));
}

QString executableName(const QByteArray &folder)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink((folder + "/exe").constData(), target, sizeof target);
    if (length > 0) {
        const QString name = baseName(QByteArray(target, static_cast<qsizetype>(length)));
        if (!name.isEmpty())
            return name;
    }

    // Arguments are separated by NUL bytes; argv[0] is the first.
    const QByteArray commandLine = readHead(folder + "/cmdline", PATH_MAX);
    const qsizetype argv0End = commandLine.indexOf('\0');
    const QString argv0Name = baseName(argv0End < 0 ? commandLine : commandLine.left(argv0End));
    if (!argv0Name.isEmpty())
        return argv0Name;

    QByteArray comm = readHead(folder + "/comm", 64);
    if (comm.endsWith('\n'))
        comm.chop(1);
    return QFile::decodeName(comm);
}

} // namespace

bool LinuxProcessList::anyExecutableName(const std::function<bool(const QString &)> &matches) const
{
    const QByteArray root = QFile::encodeName(m_procRoot);
    const std::vector<long long> pids = processIds(root);
    return std::any_of(pids.rbegin(), pids.rend(), [&](long long pid) {
        const QString name = executableName(root + '/' + QByteArray::number(pid));
        return !name.isEmpty() && matches(name);
    });
}

LinuxProcessList::LinuxProcessList(QString procRoot) : m_procRoot(std::move(procRoot)) {}

QStringList LinuxProcessList::executableNames() const
{
    const QByteArray root = QFile::encodeName(m_procRoot);
    QStringList names;
    for (const long long pid : processIds(root)) {
        const QString name = executableName(root + '/' + QByteArray::number(pid));
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

} // namespace suite
