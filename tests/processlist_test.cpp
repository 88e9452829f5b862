#include "fakeprocesslist.h"
#include "isprocessrunning.h"
#include "linuxprocesslist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using suite::IsProcessRunning;

namespace {

const QStringList kSystem = {QStringLiteral("systemd"), QStringLiteral("ZuruzovIrurEdar.exe"),
                             QStringLiteral("MonitorForm.exe"), QStringLiteral("zuruzovirurEdar")};

TEST(IsProcessRunningTest, MatchesAPartOfAnExecutableNameIgnoringCase)
{
    const struct
    {
        const char *name;
        bool running;
    } cases[] = {
        {"ZuruzovIrurEdar", true},
        {"ZURUZOVIRUREDAR", true},
        {"irur", true},
        {"monitorform.EXE", true},
        {"md", true},
        {"ZuruzovIrurEdar2", false},
        {"Monitor Form", false},
        {"systemd ", false},
    };
    const FakeProcessList processes(kSystem);
    for (const auto &c : cases)
        EXPECT_EQ(IsProcessRunning(processes, QString::fromLatin1(c.name)), c.running) << c.name;
}

TEST(IsProcessRunningTest, TakesOneListAndStopsAtTheFirstMatch)
{
    const FakeProcessList processes(kSystem);
    EXPECT_TRUE(IsProcessRunning(processes, QStringLiteral("zuruzov")));
    EXPECT_EQ(processes.calls, 1);
}

TEST(IsProcessRunningTest, NothingRunsWhenNoListCanBeTaken)
{
    const FakeProcessList processes;
    EXPECT_FALSE(IsProcessRunning(processes, QStringLiteral("ZuruzovIrurEdar")));
    EXPECT_FALSE(IsProcessRunning(processes, QString()));
}

// One process folder as /proc lays it out; an empty `exe` stands for a link that cannot be read.
void addProcess(const QTemporaryDir &proc, const char *pid, const char *exe,
                const QByteArray &cmdline, const QByteArray &comm)
{
    const QString folder = proc.filePath(QString::fromLatin1(pid));
    ASSERT_TRUE(QDir().mkpath(folder));
    if (*exe) {
        ASSERT_TRUE(QFile::link(QString::fromLatin1(exe), folder + QStringLiteral("/exe")));
    }
    for (const auto &[name, bytes] : {std::pair{"/cmdline", cmdline}, std::pair{"/comm", comm}}) {
        QFile file(folder + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
}

TEST(LinuxProcessListTest, NamesEachProcessByExeThenArgv0ThenCommInPidOrder)
{
    QTemporaryDir proc;
    addProcess(proc, "20", "", QByteArray("C:\\Suite\\ZuruzovIrurEdar.exe\0-x\0", 32),
               "ZuruzovIrurEdar\n");
    addProcess(proc, "1", "/usr/lib/systemd/systemd", QByteArray("/sbin/init\0splash\0", 18),
               "systemd\n");
    addProcess(proc, "100", "", "/opt/probe/process_list_probe_with_a_long_name",
               "process_list_pr\n");
    addProcess(proc, "3", "", "", "kworker/0:1\n");
    addProcess(proc, "4000", "", "", ""); // ended during the walk
    addProcess(proc, "self", "/usr/bin/bash", "bash", "bash\n");

    EXPECT_EQ(suite::LinuxProcessList(proc.path()).executableNames(),
              QStringList({QStringLiteral("systemd"), QStringLiteral("kworker/0:1"),
                           QStringLiteral("ZuruzovIrurEdar.exe"),
                           QStringLiteral("process_list_probe_with_a_long_name")}));
    EXPECT_TRUE(
        suite::LinuxProcessList(proc.filePath(QStringLiteral("none"))).executableNames().isEmpty());

    // A search tries the newest processes first and stops at the first match.
    QStringList tried;
    EXPECT_TRUE(suite::LinuxProcessList(proc.path()).anyExecutableName([&](const QString &name) {
        tried.append(name);
        return name.startsWith(QLatin1String("Zuruzov"));
    }));
    EXPECT_EQ(tried, QStringList({QStringLiteral("process_list_probe_with_a_long_name"),
                                  QStringLiteral("ZuruzovIrurEdar.exe")}));
    EXPECT_TRUE(
        suite::IsProcessRunning(suite::LinuxProcessList(proc.path()), QStringLiteral("KWORKER")));
    EXPECT_FALSE(
        suite::IsProcessRunning(suite::LinuxProcessList(proc.path()), QStringLiteral("absent")));
}

TEST(LinuxProcessListTest, FindsRunningProgramsByTheirFullNames)
{
    const QString probeName = QFileInfo(QStringLiteral(LONG_NAME_PROBE_PATH)).fileName();
    ASSERT_GT(probeName.size(), 15); // longer than /proc/<pid>/comm keeps

    QProcess probe;
    probe.start(QStringLiteral(LONG_NAME_PROBE_PATH), {});
    ASSERT_TRUE(probe.waitForReadyRead(10000)); // it prints once it runs under its own name
    const std::unique_ptr<suite::ProcessList> system = suite::createSystemProcessList();
    const QStringList names = system->executableNames();
    probe.kill();
    probe.waitForFinished();

    EXPECT_TRUE(names.contains(probeName)) << names.join(u' ').toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("suite_tests")));
    EXPECT_FALSE(IsProcessRunning(*system, QStringLiteral("NoProgramOfThisNameRuns")));
}

} // namespace
