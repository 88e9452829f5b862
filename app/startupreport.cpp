#include "startupreport.h"

#include <QApplication>
#include <QFile>
#include <QSaveFile>
#include <QWidget>
#include <QWindow>

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
// Waits for the first expose of the shown window and reports once it has been handled: by then
// every widget has been painted into the backing store and the result flushed to the window.
class FirstPaintProbe : public QObject
{
public:
    FirstPaintProbe(QWidget &window, const QString &path)
        : QObject(&window), m_window(window), m_path(path)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The native window may only exist once the widget is shown.
        if (watched == &m_window && event->type() == QEvent::Show && m_window.windowHandle()) {
            m_window.removeEventFilter(this);
            m_window.windowHandle()->installEventFilter(this);
        } else if (watched == m_window.windowHandle() &&
                   (event->type() == QEvent::Expose || event->type() == QEvent::Paint) &&
                   m_window.windowHandle()->isExposed()) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(this, &FirstPaintProbe::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        // Waits until the window system has drawn what was flushed.
        QGuiApplication::sync();
        const QByteArray figures = startupFigures();
        QSaveFile file(m_path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(figures);
            file.write(QStringLiteral("window=%1x%2\n")
                           .arg(m_window.width())
                           .arg(m_window.height())
                           .toUtf8());
            file.commit();
        }
        const bool otherReportPending = !qEnvironmentVariableIsEmpty("MONITOR_FORM_STATE_FILE") ||
                                        !qEnvironmentVariableIsEmpty("MONITOR_FORM_SCREENSHOT");
        if (quitAfterReport() && !otherReportPending)
            QApplication::exit(0);
    }

    QWidget &m_window;
    QString m_path;
};
#endif

} // namespace

void reportStartupWhenAsked(QWidget &window)
{
#if defined(Q_OS_LINUX) || defined(Q_OS_WIN)
    const QString path = qEnvironmentVariable("MONITOR_FORM_STARTUP_REPORT");
    if (!path.isEmpty())
        new FirstPaintProbe(window, path); // owned by the window
#else
    Q_UNUSED(window) // the times and the memory come from the system
#endif
}
