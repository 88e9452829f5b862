// What every keystroke in the comments box costs (MonFormEntry::MarkMonitorChanged): the setting
// written to the INI file, a fresh process list from /proc, the Tutor Summary window looked up by
// its title and 1076 posted to it. A headless stand-in Tutor Summary runs in a private TMPDIR so
// that the post really happens. The program's name holds "monitorform", so the form's check for
// a running "MonitorForm" finds it, as the form finds itself. Nothing is cached between
// iterations, as in the form.
#include "scratchfolder.h"

#include "inisettingsstore.h"
#include "isprocessrunning.h"
#include "preferences.h"
#include "processlist.h"
#include "suitewindows.h"
#include "windowmessages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const QString kTutorTitle = suite::windowTitle(suite::SuiteWindow::TutorSummary);

qint64 g_posts = 0;
QString g_configFolder;

void MarkMonitorChanged(benchmark::State &state)
{
    settings::IniSettingsStore store(g_configFolder);
    settings::Preferences preferences(store);
    const std::unique_ptr<suite::WindowMessages> windows = suite::createPlatformMessages();
    for (auto _ : state) {
        preferences.writeIfChanged(settings::Pref::MonitorChanges, QStringLiteral("True"));
        const std::unique_ptr<suite::ProcessList> processes = suite::createSystemProcessList();
        if (!suite::IsProcessRunning(*processes, QStringLiteral("MonitorForm"))) {
            state.SkipWithError("no process named like MonitorForm: nothing would be posted");
            break;
        }
        if (!windows->post(windows->findWindow(kTutorTitle), 1076, 1, 0)) {
            state.SkipWithError("the stand-in Tutor Summary window was not found");
            break;
        }
        ++g_posts;
    }
    if (preferences.read(settings::Pref::MonitorChanges, QString()) != QStringLiteral("True"))
        state.SkipWithError("the setting was not written");
}
BENCHMARK(MarkMonitorChanged)->Unit(benchmark::kMillisecond)->UseRealTime();

// The three parts on their own, to show where the time goes.
void WriteMonitorChanges(benchmark::State &state)
{
    settings::IniSettingsStore store(g_configFolder);
    settings::Preferences preferences(store);
    for (auto _ : state)
        preferences.write(settings::Pref::MonitorChanges, QStringLiteral("True"));
}
BENCHMARK(WriteMonitorChanges)->Unit(benchmark::kMillisecond)->UseRealTime();

void FindMonitorFormProcess(benchmark::State &state)
{
    for (auto _ : state) {
        const std::unique_ptr<suite::ProcessList> processes = suite::createSystemProcessList();
        benchmark::DoNotOptimize(
            suite::IsProcessRunning(*processes, QStringLiteral("MonitorForm")));
    }
}
BENCHMARK(FindMonitorFormProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void FindAndPost(benchmark::State &state)
{
    const std::unique_ptr<suite::WindowMessages> windows = suite::createPlatformMessages();
    for (auto _ : state) {
        if (!windows->post(windows->findWindow(kTutorTitle), 1076, 1, 0)) {
            state.SkipWithError("the stand-in Tutor Summary window was not found");
            break;
        }
        ++g_posts;
    }
}
// Fewer posts than a window's queue holds: without pauses between keystrokes the stand-in falls
// behind, and a full queue refuses further posts, as on Windows.
BENCHMARK(FindAndPost)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5000);

int failed(const char *reason)
{
    std::fprintf(stderr, "monitorform_markchanged_bench: %s\n", reason);
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    // The INI file goes where the other measured files go: on the real disk, not in /tmp.
    QTemporaryDir config(ScratchFolder::parentFolder() + QStringLiteral("/markchanged-XXXXXX"));
    // A private socket folder: a stand-in someone runs for a demo is neither found nor flooded.
    QTemporaryDir sockets;
    if (!config.isValid() || !sockets.isValid())
        return failed("no temporary folders");
    g_configFolder = config.path();
    qputenv("TMPDIR", QFile::encodeName(sockets.path()));
    qunsetenv("XDG_RUNTIME_DIR"); // else the sockets go to the session's runtime folder

    // Its log goes to a file: a full pipe would stop it receiving.
    QProcess standin;
    standin.setStandardOutputFile(sockets.filePath(QStringLiteral("standin.log")));
    standin.start(QStringLiteral(TUTORSUMMARY_PATH), {QStringLiteral("--headless")});
    if (!standin.waitForStarted(10000))
        return failed("the stand-in Tutor Summary did not start");
    const std::unique_ptr<suite::WindowMessages> windows = suite::createPlatformMessages();
    const QDeadlineTimer deadline(20000);
    while (windows->findWindow(kTutorTitle) == 0) {
        if (deadline.hasExpired() || standin.state() != QProcess::Running)
            return failed("the stand-in Tutor Summary window never appeared");
        QThread::msleep(20);
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // Posts still in the stand-in's queue get a moment to be logged.
    QFile log(sockets.filePath(QStringLiteral("standin.log")));
    qint64 received = -1;
    const QDeadlineTimer drain(10000);
    do {
        QThread::msleep(100);
        received = log.open(QIODevice::ReadOnly) ? log.readAll().count("received 1076 1 0") : -1;
        log.close();
    } while (received < g_posts && !drain.hasExpired());
    standin.terminate();
    standin.waitForFinished(10000);
    std::printf("posted %lld, the stand-in logged %lld\n", static_cast<long long>(g_posts),
                static_cast<long long>(received));
    return 0;
}
