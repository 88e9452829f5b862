#include "testfolder.h"

#include "recoverycopy.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace monitorfile;

namespace {

class RecoveryStoreTest : public testing::Test
{
protected:
    RecoveryStoreTest() : store(folder.path(QStringLiteral("recovery")))
    {
        QDir().mkpath(folder.path(QStringLiteral("tutor")));
        QDir().mkpath(folder.path(QStringLiteral("other")));
        tutorFile = folder.write(QStringLiteral("tutor/monitor.fhi"), "<zip_file_details/>");
    }

    static RecoveryCopy sampleCopy(const QString &tutorFile)
    {
        RecoveryCopy copy;
        copy.tutorFile = tutorFile;
        copy.keptAt = QDateTime(QDate(2026, 12, 8), QTime(16, 40), Qt::UTC);
        copy.values.comments = QStringLiteral("Ní Bhriain: < half & \"quoted\"\nsecond line\t€");
        for (int i = 0; i < kFlagCount; ++i)
            copy.values.flags[i] = i % 2 ? QStringLiteral(" ") : QStringLiteral("E");
        copy.values.students = {
            {QStringLiteral("A1"), QStringLiteral("Severe"), QString(), QStringLiteral(" ")},
            {QStringLiteral("A1"), QString(), QStringLiteral("Good (G)"), QString()}};
        return copy;
    }

    TestFolder folder;
    RecoveryStore store;
    QString tutorFile;
};

TEST_F(RecoveryStoreTest, KeptEntriesComeBackExactly)
{
    const RecoveryCopy copy = sampleCopy(tutorFile);
    QString error;
    ASSERT_TRUE(store.keep(copy, error)) << error.toStdString();
    const std::optional<RecoveryCopy> found = store.find(tutorFile);
    ASSERT_TRUE(found);
    EXPECT_TRUE(sameEntries(found->values, copy.values));
    EXPECT_EQ(found->keptAt, copy.keptAt);
    // The tutor folder holds only what it held.
    EXPECT_EQ(QDir(folder.path(QStringLiteral("tutor"))).entryList(QDir::Files),
              QStringList{QStringLiteral("monitor.fhi")});
}

TEST_F(RecoveryStoreTest, AnotherSpellingOfThePathFindsTheSameCopy)
{
    QString error;
    ASSERT_TRUE(store.keep(sampleCopy(tutorFile), error));
    EXPECT_TRUE(store.find(folder.path(QStringLiteral("tutor/../tutor/monitor.fhi"))));
    EXPECT_FALSE(store.find(folder.write(QStringLiteral("other/monitor.fhi"), "")));
}

TEST_F(RecoveryStoreTest, DiscardedOrDamagedCopiesAreNotFound)
{
    QString error;
    ASSERT_TRUE(store.keep(sampleCopy(tutorFile), error));
    store.discard(tutorFile);
    EXPECT_FALSE(store.find(tutorFile));

    for (const QByteArray &damaged :
         {QByteArray("{\"comments\": \"half a fi"), QByteArray("[1, 2]"), QByteArray(),
          QByteArray("{\"comments\": \"x\", \"flags\": [\"E\"]}")}) {
        QFile file(store.pathFor(tutorFile));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
        file.close();
        EXPECT_FALSE(store.find(tutorFile)) << damaged.toStdString();
    }
}

TEST_F(RecoveryStoreTest, UnwritableFolderIsReportedAndTheOlderCopyStays)
{
    QString error;
    ASSERT_TRUE(store.keep(sampleCopy(tutorFile), error));
    // A file where the folder should be.
    RecoveryStore blocked(folder.write(QStringLiteral("blocked"), "not a folder"));
    EXPECT_FALSE(blocked.keep(sampleCopy(tutorFile), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(store.find(tutorFile));
}

// Students' grades and the monitor's comments are the user's alone, whatever the umask, and an
// existing folder is checked before anything is written into it.
TEST_F(RecoveryStoreTest, CopiesAreTheUsersAloneWhateverTheUmask)
{
    const QString recovery = folder.path(QStringLiteral("recovery"));
    const QByteArray native = QFile::encodeName(recovery);
    struct Case
    {
        const char *name;
        std::function<bool()> prepare; // false when it cannot be made here
        bool kept;
    } cases[] = {
        {"new folder", [] { return true; }, true},
        {"folder open to all",
         [&] { return QDir().mkpath(recovery) && ::chmod(native.constData(), 0777) == 0; }, true},
        {"link to another folder",
         [&] { return QFile::link(folder.path(QStringLiteral("other")), recovery); }, false},
        {"another user's folder",
         [&] { return QDir().mkpath(recovery) && ::chown(native.constData(), 65534, 65534) == 0; },
         false},
    };
    const mode_t umaskBefore = ::umask(0);
    for (const Case &c : cases) {
        QFile::remove(recovery); // a link, never followed
        QDir(recovery).removeRecursively();
        if (!c.prepare()) {
            // Another user's folder can only be made by root.
            EXPECT_NE(::geteuid(), 0u) << c.name << ": could not be prepared";
            continue;
        }
        RecoveryStore store(recovery);
        QString error;
        EXPECT_EQ(store.keep(sampleCopy(tutorFile), error), c.kept) << c.name;
        struct stat info = {};
        if (c.kept) {
            ASSERT_EQ(::lstat(QFile::encodeName(recovery).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u) << c.name;
            ASSERT_EQ(::stat(QFile::encodeName(store.pathFor(tutorFile)).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0600u) << c.name;
            const QString lock = store.pathFor(tutorFile).chopped(5) + QStringLiteral(".lock");
            ASSERT_EQ(::stat(QFile::encodeName(lock).constData(), &info), 0); // the form's, 0600
            EXPECT_EQ(info.st_mode & 0777, 0600u) << c.name;
        } else {
            EXPECT_FALSE(error.isEmpty()) << c.name;
            EXPECT_TRUE(QDir(folder.path(QStringLiteral("other"))).isEmpty()) << c.name;
        }
    }
    ::umask(umaskBefore);
}

TEST(SameEntries, EveryEntryCountsButTheCommentDate)
{
    MonitorFormValues a;
    a.students = {{QStringLiteral("A1"), QStringLiteral("x"), QString(), QString()}};
    MonitorFormValues b = a;
    b.commentDate = QStringLiteral("08-Dec-2026");
    EXPECT_TRUE(sameEntries(a, b));
    b.students[0].scriptComments = QStringLiteral(" ");
    EXPECT_FALSE(sameEntries(a, b));
    b = a;
    b.flags[14] = QStringLiteral("G");
    EXPECT_FALSE(sameEntries(a, b));
    b = a;
    b.students.push_back({});
    EXPECT_FALSE(sameEntries(a, b));
    b = a;
    b.comments = QStringLiteral("x");
    EXPECT_FALSE(sameEntries(a, b));
}

} // namespace
