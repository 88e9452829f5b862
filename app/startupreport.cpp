#include "startupreport.h"
#include "firstpaint.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>

#if defined(Q_OS_LINUX)
#include <ctime>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#include <psapi.h>
#endif

namespace {

#if defined(Q_OS_LINUX) || defined(Q_OS_WIN)
bool quitAfterReport()
{
    return qEnvironmentVariable("MONITOR_FORM_QUIT_AFTER_REPORT") == QLatin1String("1");
}
#endif

#if defined(Q_OS_LINUX)

constexpr qint64 kNanosecondsPerSecond = 1000000000;

// The clock the kernel dates a process's start with.
qint64 bootTimeNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

// Field 22 of /proc/self/stat: when the kernel created this process (its fork, before the exec),
// in clock ticks since boot, rounded down.
qint64 processStartTicks()
{
    QFile file(QStringLiteral("/proc/self/stat"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = file.readAll();
    // Field 2, the program name, may hold blanks: count from the bracket that closes it.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    constexpr int kStartTimeIndex = 22 - 3;
    return fields.size() > kStartTimeIndex ? fields[kStartTimeIndex].toLongLong() : -1;
}

// The resident set as the kernel counts it, in KiB, one "Name=value" line each.
QByteArray residentMemoryLines()
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon);
        if (name == "VmRSS" || name == "RssAnon" || name == "RssFile" || name == "RssShmem" ||
            name == "VmHWM")
            lines += name + '=' + line.mid(colon + 1).trimmed().split(' ').first() + '\n';
    }
    return lines;
}

// The figures at the first paint: the milliseconds since the kernel created the process, and
// its resident memory.
QByteArray startupFigures()
{
    const qint64 paintedAt = bootTimeNanoseconds();
    const QByteArray memory = residentMemoryLines();
    const qint64 startTicks = processStartTicks();
    const qint64 ticksPerSecond = sysconf(_SC_CLK_TCK);
    const double elapsedMs =
        double(paintedAt - startTicks * (kNanosecondsPerSecond / ticksPerSecond)) / 1e6;
    return QStringLiteral("first_paint_ms=%1\n").arg(elapsedMs, 0, 'f', 3).toUtf8() +
           "first_paint_boottime_ns=" + QByteArray::number(paintedAt) + '\n' +
           "start_ticks=" + QByteArray::number(startTicks) + '\n' +
           "ticks_per_second=" + QByteArray::number(ticksPerSecond) + '\n' + memory;
}

#elif defined(Q_OS_WIN)

qint64 hundredNanoseconds(const FILETIME &time)
{
    return (qint64(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The figures at the first paint: the milliseconds since the system created the process, and
// its working set, in KiB.
QByteArray startupFigures()
{
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const double elapsedMs = double(hundredNanoseconds(now) - hundredNanoseconds(created)) / 1e4;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return QStringLiteral("first_paint_ms=%1\n").arg(elapsedMs, 0, 'f', 3).toUtf8() +
           "WorkingSet=" + QByteArray::number(qulonglong(counters.WorkingSetSize / 1024)) + '\n' +
           "PeakWorkingSet=" + QByteArray::number(qulonglong(counters.PeakWorkingSetSize / 1024)) +
           '\n';
}
#endif

#if defined(Q_OS_LINUX) || defined(Q_OS_WIN)
constexpr int kSettledPollMilliseconds = 5;
constexpr int kLongestSettling = 10000;

// "name=value" lines again, each name prefixed.
QByteArray prefixed(const QByteArray &prefix, const QByteArray &lines)
{
    QByteArray result;
    for (const QByteArray &line : lines.split('\n')) {
        if (!line.isEmpty())
            result += prefix + line + '\n';
    }
    return result;
}

// Notes the figures at the first paint, and again once the work the program does after it has
// settled (the peak memory then counts the spelling dictionary); writes both and, when asked,
// ends the program.
class StartupProbe : public QObject
{
public:
    StartupProbe(QWidget &window, QString path, std::function<bool()> settled)
        : QObject(&window), m_window(window), m_path(std::move(path)), m_settled(std::move(settled))
    {
        afterFirstPaint(window, [this] { firstPainted(); });
    }

private:
    void firstPainted()
    {
        // Waits until the window system has drawn what was flushed.
        QGuiApplication::sync();
        m_figures =
            startupFigures() +
            QStringLiteral("window=%1x%2\n").arg(m_window.width()).arg(m_window.height()).toUtf8();
        m_waited.start();
        waitUntilSettled();
    }

    void waitUntilSettled()
    {
        if (m_settled && !m_settled() && m_waited.elapsed() < kLongestSettling) {
            QTimer::singleShot(kSettledPollMilliseconds, this, [this] { waitUntilSettled(); });
            return;
        }
        m_figures += prefixed("settled_", startupFigures());
        QSaveFile file(m_path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(m_figures);
            file.commit();
        }
        const bool otherReportPending = !qEnvironmentVariableIsEmpty("MONITOR_FORM_STATE_FILE") ||
                                        !qEnvironmentVariableIsEmpty("MONITOR_FORM_SCREENSHOT");
        if (quitAfterReport() && !otherReportPending)
            QApplication::exit(0);
    }

    QWidget &m_window;
    QString m_path;
    std::function<bool()> m_settled;
    QByteArray m_figures;
    QElapsedTimer m_waited;
};
#endif

} // namespace

void reportStartupWhenAsked(QWidget &window, std::function<bool()> settled)
{
#if defined(Q_OS_LINUX) || defined(Q_OS_WIN)
    const QString path = qEnvironmentVariable("MONITOR_FORM_STARTUP_REPORT");
    if (!path.isEmpty())
        new StartupProbe(window, path, std::move(settled)); // owned by the window
#else
    Q_UNUSED(window) // the times and the memory come from the system
    Q_UNUSED(settled)
#endif
}
