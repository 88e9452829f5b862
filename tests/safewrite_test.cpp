#include "testfolder.h"

#include "failingfileoperations.h"
#include "safewrite.h"
#include "writelock.h"

#include <QFile>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <functional>

#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace monitorfile;
using Step = FailingFileOperations::Step;

namespace {

const QString kName = QStringLiteral("monitor.fhi");
const QString kBackup = QStringLiteral("monitor.fhi.BAK");

class SafeWriteTest : public testing::Test
{
protected:
    QString target() const { return folder.path(kName); }

    TestFolder folder;
    LocalFileOperations files;
};

TEST_F(SafeWriteTest, ReplacesTheContentAndLeavesOnlyTheFile)
{
    folder.write(kName, "old");
    const WriteResult result = WriteFileWithBackup(target(), "new\r\ncontent", files);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(folder.read(kName), "new\r\ncontent");
    EXPECT_EQ(folder.entries(), QStringList{kName});
}

TEST_F(SafeWriteTest, StepsRunInTheirSafeOrder)
{
    folder.write(kName, "old");
    FailingFileOperations recording;
    ASSERT_TRUE(WriteFileWithBackup(target(), "new", recording).ok);
    // The new text is on the disk before it replaces the file, and the folder after.
    const QList<Step> expected = {Step::CopyToBackup, Step::CreateTemporary, Step::Write,
                                  Step::FlushToDisk,  Step::Replace,         Step::FlushFolder,
                                  Step::RemoveFile};
    EXPECT_EQ(recording.calls, expected);
}

TEST_F(SafeWriteTest, FailingStepKeepsTheOldContentAndLeavesNoTemporaryFile)
{
    for (const Step step : {Step::CopyToBackup, Step::CreateTemporary, Step::Write,
                            Step::FlushToDisk, Step::Replace}) {
        folder.write(kName, "old");
        QFile::remove(folder.path(kBackup));
        FailingFileOperations failing(step);
        const WriteResult result = WriteFileWithBackup(target(), "new", failing);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, QString::fromLatin1(FailingFileOperations::kReason));
        EXPECT_EQ(folder.read(kName), "old");
        // Past the copy, the backup holds the previous content until a later save replaces it.
        const QStringList expectedEntries =
            step == Step::CopyToBackup ? QStringList{kName} : QStringList{kName, kBackup};
        EXPECT_EQ(folder.entries(), expectedEntries) << int(step);
        if (step != Step::CopyToBackup) {
            EXPECT_EQ(folder.read(kBackup), "old");
        }
    }
}

TEST_F(SafeWriteTest, FailedFolderFlushIsReportedThoughTheTextIsInPlace)
{
    folder.write(kName, "old");
    FailingFileOperations failing(Step::FlushFolder);
    EXPECT_FALSE(WriteFileWithBackup(target(), "new", failing).ok);
    EXPECT_EQ(folder.read(kName), "new");
}

TEST_F(SafeWriteTest, BackupLinkIsReplacedNeverWrittenThrough)
{
    folder.write(kName, "old");
    folder.write(QStringLiteral("precious.txt"), "keep me");
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral("precious.txt")), folder.path(kBackup)));
    ASSERT_TRUE(WriteFileWithBackup(target(), "new", files).ok);
    EXPECT_EQ(folder.read(QStringLiteral("precious.txt")), "keep me");
    EXPECT_EQ(folder.read(kName), "new");
    EXPECT_EQ(folder.entries(), (QStringList{kName, QStringLiteral("precious.txt")}));
}

TEST_F(SafeWriteTest, DanglingBackupLinkAndStaleBackupAreCleared)
{
    folder.write(kName, "old");
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral("nowhere")), folder.path(kBackup)));
    ASSERT_TRUE(WriteFileWithBackup(target(), "one", files).ok);
    folder.write(kBackup, "stale");
    ASSERT_TRUE(WriteFileWithBackup(target(), "two", files).ok);
    EXPECT_EQ(folder.read(kName), "two");
    EXPECT_EQ(folder.entries(), QStringList{kName});
}

TEST_F(SafeWriteTest, KeepsPermissions)
{
    folder.write(kName, "old");
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(target(), permissions));
    ASSERT_TRUE(WriteFileWithBackup(target(), "new", files).ok);
    // Owner, group and others; the "user" flags only echo the owner's for the current user.
    const auto mask = QFile::Permissions(0x7077);
    EXPECT_EQ(QFile::permissions(target()) & mask, permissions & mask);
    // Nor are the ".BAK" copy and the temporary file ever wider, even when left behind.
    FailingFileOperations stopping(Step::Write, 1, FailingFileOperations::Failure::AbruptStop);
    EXPECT_THROW(WriteFileWithBackup(target(), "newer", stopping),
                 FailingFileOperations::AbruptStop);
    for (const QString &entry : folder.entries())
        EXPECT_EQ(QFile::permissions(folder.path(entry)) & mask, permissions & mask)
            << entry.toStdString();
}

TEST_F(SafeWriteTest, LinkedFileIsRewrittenWhereItPoints)
{
    folder.write(QStringLiteral("real.fhi"), "old");
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral("real.fhi")), target()));
    ASSERT_TRUE(WriteFileWithBackup(target(), "new", files).ok);
    EXPECT_EQ(folder.read(QStringLiteral("real.fhi")), "new");
    EXPECT_EQ(QFile::symLinkTarget(target()), folder.path(QStringLiteral("real.fhi")));
}

TEST_F(SafeWriteTest, MissingFileIsNotCreated)
{
    const WriteResult result = WriteFileWithBackup(target(), "new", files);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_TRUE(folder.entries().isEmpty());
}

TEST_F(SafeWriteTest, ReadOnlyFileIsRefusedBeforeAnythingIsWritten)
{
    folder.write(kName, "old");
    ASSERT_TRUE(QFile::setPermissions(target(), QFile::ReadOwner | QFile::ReadGroup));
    const WriteResult result = WriteFileWithBackup(target(), "new", files);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("read-only"))) << result.error.toStdString();
    EXPECT_EQ(folder.read(kName), "old");
    EXPECT_EQ(folder.entries(), QStringList{kName});
}

// A full disk (here a file size limit) names the system's reason, not "Unknown error". In a child
// process, so that the limit stays there.
TEST_F(SafeWriteTest, FullDiskIsReportedWithTheSystemsReason)
{
    folder.write(kName, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const WriteResult result = WriteFileWithBackup(target(), QByteArray(8000, 'x'), files);
        ::_exit(!result.ok && result.error == QString::fromLocal8Bit(std::strerror(EFBIG)) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(folder.read(kName), "old");
}

// Root ignores the folder's permission bits, so the write runs in a child process that has
// given up root for the unprivileged "nobody" (uid and gid 65534 on Debian).
TEST_F(SafeWriteTest, ReadOnlyFolderIsReportedAndTheFileKeepsItsContent)
{
    folder.write(kName, "old");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(folder.path()).constData(), 65534, 65534), 0);
        ASSERT_EQ(::chown(QFile::encodeName(target()).constData(), 65534, 65534), 0);
    }
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));

    const auto writeAndCheck = [this] {
        const WriteResult result = WriteFileWithBackup(target(), "new", files);
        return !result.ok && !result.error.isEmpty() ? 0 : 1;
    };
    int failures = 0;
    if (root) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            ::_exit(writeAndCheck());
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_NE(WEXITSTATUS(status), 2) << "could not give up root";
        failures = WEXITSTATUS(status);
    } else {
        failures = writeAndCheck();
    }
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(failures, 0) << "the write into a read-only folder was reported as done";
    EXPECT_EQ(folder.read(kName), "old");
    EXPECT_EQ(folder.entries(), QStringList{kName});
}

// Runs check as "nobody" in a child process; its exit status.
int asNobody(const std::function<int()> &check)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(65534) != 0 || ::setuid(65534) != 0 ? 2 : check());
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)
               ? WEXITSTATUS(status)
               : 2;
}

// Two users: nobody, who may write in the folder (1777) but not root's file (0644), is refused
// with the read-only message, and told truly that a lock of root's that outlived its writer cannot
// be removed; root's save of nobody's file (0600) leaves it nobody's, 0600, readable by its owner.
TEST_F(SafeWriteTest, AnotherUsersFileAndLockStayTheirs)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as two users";
    folder.write(kName, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 01777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(target()).constData(), 0644), 0);
    EXPECT_EQ(asNobody([this] {
                  const WriteResult result = WriteFileWithBackup(target(), "new", files);
                  return !result.ok && result.error.contains(QStringLiteral("read-only")) ? 0 : 1;
              }),
              0);
    folder.write(QStringLiteral("monitor.fhi.lock"),
                 "999999\nmonitorfhi\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    EXPECT_EQ(asNobody([this] {
                  QString error;
                  return !lockFileNextTo(target(), std::chrono::milliseconds(30), error) &&
                                 error.contains(QStringLiteral("ended (monitorfhi, process "
                                                               "999999), and it cannot be removed"))
                             ? 0
                             : 1;
              }),
              0);
    QFile::remove(folder.path(QStringLiteral("monitor.fhi.lock")));
    EXPECT_EQ(folder.read(kName), "old");

    ASSERT_EQ(::chown(QFile::encodeName(target()).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(target()).constData(), 0600), 0);
    ASSERT_TRUE(WriteFileWithBackup(target(), "new", files).ok);
    struct stat saved = {};
    ASSERT_EQ(::stat(QFile::encodeName(target()).constData(), &saved), 0);
    EXPECT_TRUE(saved.st_uid == 65534 && saved.st_gid == 65534 && (saved.st_mode & 07777) == 0600);
}

} // namespace
