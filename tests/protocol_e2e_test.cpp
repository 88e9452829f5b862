// The suite's unsaved-changes protocol between the real MonitorForm, started through the stand-in
// file handler, and the headless stand-in Tutor Summary window, each in its own process.
#include "testfolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace {

constexpr int kReadyBoundMilliseconds = 20000;
constexpr int kMessageBoundMilliseconds = 20000;
const QString kMonitorFile = QStringLiteral("root/M101-05B/03/00417263/MON1/monitor.fhi");

// The process ids whose parent is `parent` and that have not become zombies.
QList<qint64> liveChildrenOf(qint64 parent)
{
    QList<qint64> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // The name in brackets may hold blanks; the fields after it do not.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(0) != "Z" && fields.at(1).toLongLong() == parent)
            children.append(pid);
    }
    return children;
}

// Each case has its own TMPDIR (hence its own socket names) and settings folder, so that cases
// run in parallel and a demo's stand-ins are not disturbed.
class ProtocolEndToEnd : public testing::Test
{
protected:
    void SetUp() override
    {
        m_work.copyTree(QStringLiteral(MONITOR_SAMPLE_DIR "/monitor-root"), QStringLiteral("root"));
        QDir().mkpath(m_work.path(QStringLiteral("tmp")));
        QDir().mkpath(m_work.path(QStringLiteral("config")));
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_env.insert(QStringLiteral("TMPDIR"), m_work.path(QStringLiteral("tmp")));
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_work.path(QStringLiteral("config")));
    }

    void TearDown() override
    {
        for (QProcess *process : {&m_asker, &m_handler, &m_standin}) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(10000)) {
                process->kill();
                process->waitForFinished(10000);
            }
        }
    }

    QString iniPath() const
    {
        return m_work.path(QStringLiteral("config/RERODODUREVIDEDAZIREZ.ini"));
    }

    void writeSettings(const QByteArray &text) const
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(text), text.size());
    }

    QString setting(const QString &key) const
    {
        QFile file(iniPath());
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("<no settings file>");
        const QString prefix = key + QLatin1Char('=');
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (line.startsWith(prefix, Qt::CaseInsensitive))
                return line.mid(prefix.size()).trimmed();
        }
        return QStringLiteral("<no %1>").arg(key);
    }

    // Runs the stand-in Tutor Summary once as a sender; its exit code, or -1 when it hung.
    int runStandin(const QStringList &arguments)
    {
        QProcess sender;
        sender.setProcessEnvironment(m_env);
        sender.start(QStringLiteral(TUTORSUMMARY_PATH), arguments);
        // Above the sender's own bound of 30 s.
        if (!sender.waitForFinished(45000)) {
            sender.kill();
            sender.waitForFinished(10000);
            return -1;
        }
        return sender.exitStatus() == QProcess::NormalExit ? sender.exitCode() : -1;
    }

    void startStandin()
    {
        m_standin.setProcessEnvironment(m_env);
        m_standin.start(QStringLiteral(TUTORSUMMARY_PATH), {QStringLiteral("--headless")});
        ASSERT_TRUE(m_standin.waitForStarted(10000));
    }

    // Starts the form as the suite does and waits until its window answers a message.
    void startForm()
    {
        m_handler.setProcessEnvironment(m_env);
        m_handler.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_handler.start(QStringLiteral(FILEHANDLER_PATH),
                        {QStringLiteral("--root"), m_work.path(QStringLiteral("root")),
                         QStringLiteral("--form"), QStringLiteral(MONITORFORM_PATH),
                         QStringLiteral("00417263"), QStringLiteral("M101"), QStringLiteral("05B"),
                         QStringLiteral("03"), QStringLiteral("MON1")});
        ASSERT_TRUE(m_handler.waitForStarted(10000));
        const QDeadlineTimer deadline(kReadyBoundMilliseconds);
        // 1076 only enables the Save controls, so probing with it changes nothing saved.
        while (runStandin(
                   {QStringLiteral("--send"), QStringLiteral("1076"), QStringLiteral("0")}) != 0) {
            ASSERT_EQ(m_handler.state(), QProcess::Running) << "the form ended before it answered";
            ASSERT_FALSE(deadline.hasExpired()) << "the form's window never answered";
            QThread::msleep(100);
        }
    }

    // The stand-in's "received" lines so far.
    QStringList standinLines()
    {
        m_standinOutput += QString::fromUtf8(m_standin.readAllStandardOutput());
        return m_standinOutput.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    bool waitForStandinLine(const QString &line)
    {
        const QDeadlineTimer deadline(kMessageBoundMilliseconds);
        while (!standinLines().contains(line)) {
            if (deadline.hasExpired())
                return false;
            m_standin.waitForReadyRead(200);
        }
        return true;
    }

    TestFolder m_work;
    QProcessEnvironment m_env;
    QProcess m_standin;
    QProcess m_handler;
    QProcess m_asker;
    QString m_standinOutput;
};

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
