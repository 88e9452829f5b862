// Runs the monitorfhi tool as support staff would, on copies of the fixtures.
#include "monitorversion.h"
#include "readerfixture.h"
#include "testfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(MONITORFHI_PATH), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

class MonitorFhiTest : public testing::Test
{
protected:
    QString copy(const QString &fixtureName)
    {
        return folder.copyFixture(fixtureName, QStringLiteral("monitor.fhi"));
    }
    QByteArray file() const { return folder.read(QStringLiteral("monitor.fhi")); }

    TestFolder folder;
};

TEST_F(MonitorFhiTest, ShowPrintsTheModelInRecordOrderAndLeavesTheFile)
{
    const QString path = copy(QStringLiteral("laid_out.fhi"));
    const ToolRun run = runTool({QStringLiteral("show"), path});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(file(), fixture(QStringLiteral("laid_out.fhi")));

    const QJsonObject model = QJsonDocument::fromJson(run.out).object();
    const QJsonObject tutor = model.value(QStringLiteral("tutor")).toObject();
    EXPECT_EQ(tutor.value(QStringLiteral("number_scripts")).toInt(-1), 4);
    EXPECT_EQ(tutor.value(QStringLiteral("tutor_name")).toString(),
              QStringLiteral("Okonkwo-Reilly, Margaret Ann"));
    EXPECT_EQ(tutor.value(QStringLiteral("file_title")).toString(),
              QStringLiteral("\\monitor.fhi"));
    EXPECT_TRUE(tutor.value(QStringLiteral("monitor_comments")).toString().contains(u"Q3 & Q4"));
    const QJsonArray students = model.value(QStringLiteral("students")).toArray();
    ASSERT_EQ(students.size(), 4);
    EXPECT_EQ(students[0].toObject().value(QStringLiteral("student_name")).toString(),
              QStringLiteral("N\u00ed Bhriain, Siobh\u00e1n"));
    EXPECT_TRUE(model.value(QStringLiteral("messages")).toArray().isEmpty());

    // The record's order, not the alphabet's.
    const QByteArrayList order = {"\"tutor_forenames\"",
                                  "\"tutor_name\"",
                                  "\"number_scripts\"",
                                  "\"flag1\"",
                                  "\"flag15\"",
                                  "\"download_exe_name\"",
                                  "\"file_title\"",
                                  "\"file_path\"",
                                  "\"previous_monitor_forms\"",
                                  "\"students\"",
                                  "\"student_forenames\"",
                                  "\"pt3_commenting\"",
                                  "\"messages\""};
    qsizetype last = -1;
    for (const QByteArray &key : order) {
        const qsizetype at = run.out.indexOf(key);
        EXPECT_GT(at, last) << key.constData();
        last = at;
    }
}

TEST_F(MonitorFhiTest, ShowWritesTheTidiedFileOnlyWhenAsked)
{
    const QString path = copy(QStringLiteral("laid_out.fhi"));
    EXPECT_EQ(
        runTool({QStringLiteral("show"), QStringLiteral("--write-normalised"), path}).exitCode, 0);
    EXPECT_EQ(file(), fixture(QStringLiteral("laid_out.normalised.fhi")));
}

TEST_F(MonitorFhiTest, ShowListsTheReadersMessagesAndExitsOne)
{
    const QString path = folder.write(
        QStringLiteral("monitor.fhi"),
        edited(fixture(QStringLiteral("laid_out.fhi")), "<tutor_status>Active</tutor_status>", ""));
    const ToolRun run = runTool({QStringLiteral("show"), path});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonArray messages =
        QJsonDocument::fromJson(run.out).object().value(QStringLiteral("messages")).toArray();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].toString(), QStringLiteral("Missing <tutor_status> from xml file."));
}

TEST_F(MonitorFhiTest, SetSavesAsTheFormDoes)
{
    const QString path = copy(QStringLiteral("laid_out.fhi"));
    const ToolRun run = runTool(
        {QStringLiteral("set"), path, QStringLiteral("--flag"), QStringLiteral("3=E"),
         QStringLiteral("--comments"), QStringLiteral("Thorough <b>marking</b> & good feedback."),
         QStringLiteral("--student"),
         QStringLiteral("C2468013=Inconsistent|Scope For Improvement (I)|Good (G)"),
         QStringLiteral("--date"), QStringLiteral("08-Dec-2026")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(file(), fixture(QStringLiteral("laid_out.saved.fhi")));
    EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("monitor.fhi")});
}

TEST_F(MonitorFhiTest, SetRefusesBadRequestsAndWritesNothing)
{
    const QString path = copy(QStringLiteral("laid_out.fhi"));
    const QList<QStringList> requests = {
        {QStringLiteral("--student"), QStringLiteral("Z9999999=Severe||")},
        {QStringLiteral("--student"), QStringLiteral("C2468013=Severe")},
        {QStringLiteral("--flag"), QStringLiteral("16=E")},
        {QStringLiteral("--flag"), QStringLiteral("2=</flag2>")},
        {QStringLiteral("--student"), QStringLiteral("C2468013=<marking>||")},
        {QStringLiteral("--flag")},
        {QStringLiteral("--colour"), QStringLiteral("red")},
    };
    for (const QStringList &request : requests) {
        const ToolRun run = runTool(QStringList{QStringLiteral("set"), path} + request);
        EXPECT_EQ(run.exitCode, 2) << request.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_EQ(file(), fixture(QStringLiteral("laid_out.fhi")));
    }
}

// A typed line break is stored as CR LF; a failure says nothing was saved, and nothing of a
// screen, which a command line does not have.
TEST_F(MonitorFhiTest, SetStoresCrLfAndReportsFailureForTheCommandLine)
{
    const QString path = copy(QStringLiteral("laid_out.normalised.fhi"));
    const QStringList comments = {QStringLiteral("set"), path, QStringLiteral("--comments"),
                                  QStringLiteral("first\nsecond")};
    EXPECT_EQ(runTool(comments).exitCode, 0);
    EXPECT_TRUE(file().contains("<monitor_comments>first\r\nsecond</monitor_comments>"));

    const QByteArray before = file();
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    const ToolRun run =
        runTool({QStringLiteral("set"), path, QStringLiteral("--flag"), QStringLiteral("1=E")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("Nothing was saved")) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("screen"));
    EXPECT_EQ(file(), before);
}

// Pairs of writers changing different elements at the same moment both keep their change.
TEST_F(MonitorFhiTest, SimultaneousSetsOfDifferentElementsBothLand)
{
    const QString path = copy(QStringLiteral("laid_out.normalised.fhi"));
    for (int round = 0; round < 10; ++round) {
        const QString value = QString::number(round);
        QProcess first;
        QProcess second;
        first.start(
            QStringLiteral(MONITORFHI_PATH),
            {QStringLiteral("set"), path, QStringLiteral("--flag"), QStringLiteral("1=") + value});
        second.start(QStringLiteral(MONITORFHI_PATH),
                     {QStringLiteral("set"), path, QStringLiteral("--student"),
                      QStringLiteral("C2468013=Severe|Good (G)|") + value});
        ASSERT_TRUE(first.waitForFinished(60000) && second.waitForFinished(60000));
        EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
        EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
        EXPECT_TRUE(file().contains("<flag1>" + value.toLatin1() + "</flag1>")) << round;
        EXPECT_TRUE(
            file().contains("<script_commenting>" + value.toLatin1() + "</script_commenting>"))
            << round;
    }
}

TEST_F(MonitorFhiTest, CheckReportsEachFileWithoutChangingAny)
{
    QDir(folder.path()).mkpath(QStringLiteral("a/T1"));
    QDir(folder.path()).mkpath(QStringLiteral("b/T2"));
    const QByteArray good = fixture(QStringLiteral("laid_out.normalised.fhi"));
    const QByteArray damaged =
        edited(fixture(QStringLiteral("laid_out.fhi")), "</system_details>", "");
    folder.write(QStringLiteral("a/T1/monitor.fhi"), good);
    folder.write(QStringLiteral("b/T2/monitor.fhi"), damaged);
    folder.write(QStringLiteral("b/T2/notes.txt"), "not a monitoring file");

    const ToolRun run = runTool({QStringLiteral("check"), folder.path()});
    EXPECT_EQ(run.exitCode, 1);
    const QString out = QString::fromUtf8(run.out);
    EXPECT_TRUE(out.contains(QStringLiteral("a/T1/monitor.fhi: ok"))) << out.toStdString();
    EXPECT_TRUE(
        out.contains(QStringLiteral("b/T2/monitor.fhi: Missing </system_details> from xml file.")));
    EXPECT_FALSE(out.contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(folder.read(QStringLiteral("a/T1/monitor.fhi")), good);
    EXPECT_EQ(folder.read(QStringLiteral("b/T2/monitor.fhi")), damaged);
}

TEST_F(MonitorFhiTest, UsageAndMissingFilesExitTwo)
{
    EXPECT_EQ(runTool({}).exitCode, 2);
    EXPECT_EQ(runTool({QStringLiteral("show")}).exitCode, 2);
    EXPECT_EQ(runTool({QStringLiteral("show"), folder.path(QStringLiteral("none.fhi"))}).exitCode,
              2);
    EXPECT_EQ(runTool({QStringLiteral("check"), folder.path(QStringLiteral("none"))}).exitCode, 2);
    // A pipe at the name is refused at once: reading it would wait for a writer for ever.
    const QString pipe = folder.path(QStringLiteral("monitor.fhi"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const char *command : {"show", "set", "check"}) {
        const ToolRun run = runTool({QString::fromLatin1(command), pipe});
        EXPECT_EQ(run.exitCode, 2) << command;
        EXPECT_TRUE(run.err.contains("not a regular file")) << run.err.toStdString();
    }
    // At the lock's name only the core's look sees it: a set ends at once, naming it.
    QFile::remove(pipe);
    const QString path = copy(QStringLiteral("laid_out.normalised.fhi"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path + QStringLiteral(".lock")).constData(), 0600), 0);
    const ToolRun run =
        runTool({QStringLiteral("set"), path, QStringLiteral("--flag"), QStringLiteral("1=E")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("monitor.fhi.lock cannot be taken: a pipe (FIFO)"))
        << run.err.toStdString();
    EXPECT_EQ(file(), fixture(QStringLiteral("laid_out.normalised.fhi")));
}

TEST_F(MonitorFhiTest, VersionIsTheBuildsOne)
{
    const ToolRun run = runTool({QStringLiteral("--version")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("monitorfhi " MONITOR_VERSION_TEXT "\n"));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
