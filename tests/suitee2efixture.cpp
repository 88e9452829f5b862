#include "suitee2efixture.h"

#include <QRegularExpression>
#include <QStandardPaths>

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

void DesktopEndToEnd::TearDown()
{
    SuiteEndToEnd::TearDown();
    for (QProcess *process : {&m_windowManager, &m_display}) {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            process->waitForFinished(10000);
        }
    }
}

QByteArray DesktopEndToEnd::firstLineOf(QProcess &process)
{
    QByteArray line;
    const QDeadlineTimer deadline(kReadyBoundMilliseconds);
    while (!line.endsWith('\n') && !deadline.hasExpired()) {
        process.waitForReadyRead(200);
        line += process.readAllStandardOutput();
    }
    return line.endsWith('\n') ? line.trimmed() : QByteArray();
}

void DesktopEndToEnd::startDesktop(bool withWindowManager)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty() ||
        (withWindowManager && openbox.isEmpty()))
        GTEST_SKIP() << "needs Xvfb, xdotool and openbox (scripts/install-packages.sh)";
    // -displayfd picks a free number; -noreset keeps the display when one program ends and the
    // next has not yet connected.
    m_display.start(xvfb,
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                     QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    ASSERT_TRUE(m_display.waitForStarted(10000));
    // One bound for the display and the window manager together, as before.
    const QDeadlineTimer deadline(kReadyBoundMilliseconds);
    const QByteArray number = firstLineOf(m_display);
    ASSERT_FALSE(number.isEmpty()) << "Xvfb did not say which display it took";
    m_env.insert(QStringLiteral("DISPLAY"), u':' + QString::fromLatin1(number));
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_env.insert(QStringLiteral("MONITOR_FORM_STATE_FILE"),
                 m_work.path(QStringLiteral("state.txt")));
    if (!withWindowManager)
        return;
    // openbox runs its start-up command once it manages the display.
    const QString ready = m_work.path(QStringLiteral("openbox-ready"));
    m_windowManager.setProcessEnvironment(m_env);
    m_windowManager.start(openbox, {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                                    QStringLiteral("touch ") + ready});
    ASSERT_TRUE(m_windowManager.waitForStarted(10000));
    while (!QFile::exists(ready)) {
        ASSERT_EQ(m_windowManager.state(), QProcess::Running) << "openbox ended";
        ASSERT_FALSE(deadline.hasExpired()) << "openbox did not start";
        QThread::msleep(100);
    }
}

bool DesktopEndToEnd::xdotool(const QStringList &arguments, QString *output, const QString &program)
{
    QProcess tool;
    tool.setProcessEnvironment(m_env);
    tool.start(program, arguments);
    const bool ran = tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit &&
                     tool.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    return ran;
}

QString DesktopEndToEnd::waitForShownState()
{
    const QDeadlineTimer deadline(kReadyBoundMilliseconds);
    while (!QFile::exists(m_work.path(QStringLiteral("state.txt")))) {
        if (deadline.hasExpired())
            return {};
        QThread::msleep(100);
    }
    return QString::fromUtf8(m_work.read(QStringLiteral("state.txt")));
}

bool DesktopEndToEnd::closeFromFileMenu()
{
    if (waitForShownState().isEmpty())
        return false;
    // Xvfb alone gives no window the focus. A window manager still settling the new window may
    // let keys go astray: try again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        xdotool({QStringLiteral("search"), QStringLiteral("--name"),
                 QStringLiteral("^Monitor Entry Form - "), QStringLiteral("windowfocus"),
                 QStringLiteral("--sync"), QStringLiteral("key"), QStringLiteral("alt+f")});
        QThread::msleep(300);
        xdotool({QStringLiteral("key"), QStringLiteral("c")});
        // waitForFinished is false for a process that has already ended.
        if (m_handler.state() == QProcess::NotRunning ||
            m_handler.waitForFinished(kMessageBoundMilliseconds / 4))
            return true;
    }
    return false;
}

QRect DesktopEndToEnd::frameOnScreen()
{
    QString window, info, extents;
    if (!xdotool({QStringLiteral("search"), QStringLiteral("--name"), kFormTitlePattern}, &window))
        return {};
    window = window.section(u'\n', 0, 0);
    xdotool({QStringLiteral("-id"), window}, &info, QStringLiteral("xwininfo"));
    xdotool({QStringLiteral("-id"), window, QStringLiteral("_NET_FRAME_EXTENTS")}, &extents,
            QStringLiteral("xprop"));
    // xwininfo: "Absolute upper-left X:  100", ... "Height: 525"; xprop: "... = 1, 1, 20, 5"
    // (left, right, top, bottom), nothing without a window manager.
    QList<int> n;
    const auto collect = [&n](const QString &text, const QString &pattern) {
        for (const QRegularExpressionMatch &m : QRegularExpression(pattern).globalMatch(text))
            n << m.captured(1).toInt();
    };
    collect(info, QStringLiteral("(?:Absolute upper-left [XY]|Width|Height):\\s+(-?\\d+)"));
    collect(extents.section(u'=', 1), QStringLiteral("(\\d+)"));
    const QRect inside = n.size() >= 4 ? QRect(n[0], n[1], n[2], n[3]) : QRect();
    return n.size() == 8 ? inside.marginsAdded(QMargins(n[4], n[6], n[5], n[7])) : inside;
}
