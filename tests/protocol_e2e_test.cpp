// The suite's unsaved-changes protocol between the real MonitorForm, started through the stand-in
// file handler, and the headless stand-in Tutor Summary window, each in its own process.
#include "suitee2efixture.h"

#include "foreignsocket.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <csignal>
#include <cstring>
#include <sys/types.h>
#include <sys/wait.h>

namespace {

using ProtocolEndToEnd = SuiteEndToEnd;

TEST_F(ProtocolEndToEnd, ASaveRequestedByAnotherWindowSavesAndClearsTheChanges)
{
    // Pending changes, so that clearing them is seen.
    writeSettings("[Prefs]\nMonitorChanges=True\n");
    startStandin();
    startForm();

    ASSERT_EQ(runStandin({QStringLiteral("--send"), QStringLiteral("1074"), QStringLiteral("2")}),
              0);

    const QString saved = QString::fromLatin1(m_work.read(kMonitorFile));
    const QRegularExpression date(
        QStringLiteral("<monitor_comment_date>\\d{2}-[A-Za-z]{3}-\\d{4}</monitor_comment_date>"));
    EXPECT_TRUE(date.match(saved).hasMatch()) << saved.toStdString();
    EXPECT_EQ(setting(QStringLiteral("MonitorChanges")), QStringLiteral("False"));

    // The form posts 1077 only while a process named like it runs: itself.
    EXPECT_TRUE(waitForStandinLine(QStringLiteral("received 1077 1 0")))
        << standinLines().join(u'\n').toStdString();
    // A requested save raises the asking window instead of telling the Tutor Summary; a 1074
    // would have been sent, and so logged, before the 1077.
    EXPECT_TRUE(
        standinLines().filter(QRegularExpression(QStringLiteral("^received 1074 "))).isEmpty())
        << standinLines().join(u'\n').toStdString();
    EXPECT_EQ(m_handler.state(), QProcess::Running);
}

TEST_F(ProtocolEndToEnd, ACloseRequestWithUnsavedChangesWaitsForTheMonitorsAnswer)
{
    writeSettings("[Prefs]\nMonitorChanges=True\n");
    startStandin();
    startForm();
    const QList<qint64> forms = liveChildrenOf(m_handler.processId());
    ASSERT_EQ(forms.size(), 1);

    // The send returns only once the question is answered, which nobody does here.
    m_asker.setProcessEnvironment(m_env);
    m_asker.start(QStringLiteral(TUTORSUMMARY_PATH),
                  {QStringLiteral("--send"), QStringLiteral("1075"), QStringLiteral("0")});
    ASSERT_TRUE(m_asker.waitForStarted(10000));
    EXPECT_FALSE(m_asker.waitForFinished(2000)) << m_asker.readAllStandardError().toStdString();
    EXPECT_EQ(liveChildrenOf(m_handler.processId()), forms);
    EXPECT_EQ(m_handler.state(), QProcess::Running);
    EXPECT_EQ(setting(QStringLiteral("MonitorChanges")), QStringLiteral("True"));

    ::kill(pid_t(forms.first()), SIGKILL);
    EXPECT_TRUE(m_handler.waitForFinished(20000));
}

// Another user's socket at the very name the form listens under (left from when the folder was
// open to others): the form replaces it rather than stay deaf to the suite.
TEST_F(ProtocolEndToEnd, ASocketPlantedByAnotherUserAtTheFormsNameDoesNotMakeTheFormDeaf)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    const QByteArray digest = QCryptographicHash::hash(
        "Monitor Entry Form - Norvale Quillet Monitor File Handler", QCryptographicHash::Sha1);
    quint64 handle = 0;
    std::memcpy(&handle, digest.constData(), sizeof(handle));
    const QString folder = m_work.path(QStringLiteral("tmp/nqm-%1")).arg(::getuid());
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString name =
        QStringLiteral("%1/nqm-%2").arg(folder).arg(handle, 16, 16, QLatin1Char('0'));
    const pid_t planter = listenAsAnotherUser(QFile::encodeName(name));
    ASSERT_GT(planter, 0);
    startStandin();
    startForm(); // fails unless the form answers
    EXPECT_EQ(QFileInfo(name).ownerId(), ::getuid()) << "the form listens under another name";
    const QByteArray before = m_work.read(kMonitorFile);
    EXPECT_EQ(runStandin({QStringLiteral("--send"), QStringLiteral("1074"), QStringLiteral("1")}),
              0);
    EXPECT_NE(m_work.read(kMonitorFile), before);
    EXPECT_EQ(setting(QStringLiteral("MonitorChanges")), QStringLiteral("False"));
    ::kill(planter, SIGKILL);
    ::waitpid(planter, nullptr, 0);
}

// A second form on the same tutor file brings the first forward and ends at once: a form that
// asked or opened would not end by itself here.
TEST_F(ProtocolEndToEnd, ASecondFormOnTheSameFileDoesNotOpen)
{
    startStandin();
    startForm();
    const QByteArray before = m_work.read(kMonitorFile);
    QProcess second;
    second.setProcessEnvironment(m_env);
    second.start(QStringLiteral(MONITORFORM_PATH),
                 {QStringLiteral("00417263"), QStringLiteral("M101"), QStringLiteral("05B"),
                  QStringLiteral("03"), QStringLiteral("MON1")});
    ASSERT_TRUE(second.waitForFinished(30000)) << "the second form stayed";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(liveChildrenOf(m_handler.processId()).size(), 1);
    EXPECT_EQ(m_work.read(kMonitorFile), before);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
