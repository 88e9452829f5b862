#pragma once

#include "testfolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QThread>

#include <gtest/gtest.h>

// The real MonitorForm, started through the stand-in file handler on a copy of the bundled
// sample, beside the headless stand-in Tutor Summary window, each in its own process.

inline constexpr int kReadyBoundMilliseconds = 20000;
inline constexpr int kMessageBoundMilliseconds = 20000;
inline const QString kFormTitlePattern = QStringLiteral("^Monitor Entry Form - ");
inline const QString kMonitorFile = QStringLiteral("root/M101-05B/03/00417263/MON1/monitor.fhi");

// The process ids whose parent is `parent` and that have not become zombies.
QList<qint64> liveChildrenOf(qint64 parent);

// Each case has its own TMPDIR (hence its own socket names) and settings folder, so that cases
// run in parallel and a demo's stand-ins are not disturbed.
class SuiteEndToEnd : public testing::Test
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
        // Else the sockets would go to the session's runtime folder, shared by every case.
        m_env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_work.path(QStringLiteral("config")));
        m_env.insert(QStringLiteral("XDG_DATA_HOME"), m_work.path(QStringLiteral("data")));
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

    // Starts the form as the suite does.
    void launchForm()
    {
        m_handler.setProcessEnvironment(m_env);
        m_handler.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_handler.start(QStringLiteral(FILEHANDLER_PATH),
                        {QStringLiteral("--root"), m_work.path(QStringLiteral("root")),
                         QStringLiteral("--form"), QStringLiteral(MONITORFORM_PATH),
                         QStringLiteral("00417263"), QStringLiteral("M101"), QStringLiteral("05B"),
                         QStringLiteral("03"), QStringLiteral("MON1")});
        ASSERT_TRUE(m_handler.waitForStarted(10000));
    }

    // Starts the form as the suite does and waits until its window answers a message.
    void startForm()
    {
        launchForm();
        if (HasFatalFailure())
            return;
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

// The same on an X display of its own (Xvfb), with or without a window manager (openbox), driven
// with xdotool. The form reports what it shows to state.txt once its window is painted.
class DesktopEndToEnd : public SuiteEndToEnd
{
protected:
    void TearDown() override;

    // Skips the test when Xvfb, xdotool or (when asked for) openbox is missing.
    void startDesktop(bool withWindowManager);
    // Runs xdotool (or another X tool) on the test's display; false when it failed.
    bool xdotool(const QStringList &arguments, QString *output = nullptr,
                 const QString &program = QStringLiteral("xdotool"));
    // The form's outer frame as the monitor sees it: its window on the screen and the window
    // manager's frame extents around it. Null when it cannot be told.
    QRect frameOnScreen();
    // The first line a started program prints (a display number, a bus address), trimmed;
    // empty when none came in time.
    static QByteArray firstLineOf(QProcess &process);
    // The form's own report of what it shows; empty when none came.
    QString waitForShownState();
    // Closes the form from the File menu once it shows; false when the form did not end.
    bool closeFromFileMenu();

    QProcess m_display;
    QProcess m_windowManager;
};
