// The suite's unsaved-changes protocol between the real MonitorForm, started through the stand-in
// file handler, and the headless stand-in Tutor Summary window, each in its own process.
#include "suitee2efixture.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <csignal>
#include <sys/types.h>

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
