#pragma once

#include "processlist.h"

#include <QString>

namespace suite {

// Walks the numbered folders of /proc. Each process is named by the base name of its "exe"
// link; other users' links cannot be read, so then by argv[0] from "cmdline", and only last by
// "comm", which the kernel cuts to 15 characters. Processes that end during the walk are left
// out.
class LinuxProcessList : public ProcessList
{
public:
    // `procRoot` is a folder laid out as /proc, so that tests can build one.
    explicit LinuxProcessList(QString procRoot = QStringLiteral("/proc"));

    QStringList executableNames() const override;
    // Newest processes first: a program looking for itself or for the peers started with it
    // stops after a few folders instead of naming every process.
    bool anyExecutableName(const std::function<bool(const QString &)> &matches) const override;

private:
    QString m_procRoot;
};

} // namespace suite
