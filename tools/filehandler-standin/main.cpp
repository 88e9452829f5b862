// ZuruzovIrurEdar: a stand-in for the suite's file handler, used for demos and tests on Linux,
// where the real suite does not exist. It is not part of the product. Like the file handler it
// stores the monitor root folder in the shared settings and starts the Monitor Entry Form with
// five words; it stays running while the form runs, since the form ends at once when no process
// with this name is running.
#include "standinarguments.h"
#include "stopsignals.h"

#include "preferences.h"
#include "settingsstore.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTextStream>
#include <QTimer>

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFormNotStarted = 127;
constexpr int kStopGraceMilliseconds = 5000;

// As a shell reports a process ended by a signal.
int signalExitCode(int signal)
{
    return 128 + signal;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);

    StandinArguments parsed;
    parsed.formPath = QCoreApplication::applicationDirPath() + QStringLiteral("/MonitorForm");
    const QString error = parseArguments(QCoreApplication::arguments().mid(1), parsed);
    if (!error.isEmpty()) {
        err << "ZuruzovIrurEdar: " << error << '\n' << usageText();
        return kExitUsage;
    }

    const std::unique_ptr<settings::SettingsStore> store = settings::createPlatformSettingsStore();
    settings::Preferences preferences(*store);
    preferences.write(settings::Pref::RootDirectory, parsed.root);
    if (preferences.read(settings::Pref::RootDirectory) != parsed.root)
        err << "ZuruzovIrurEdar: warning: the root folder could not be stored" << Qt::endl;

    QProcess form;
    form.setProcessChannelMode(QProcess::ForwardedChannels);
    form.setInputChannelMode(QProcess::ForwardedInputChannel);

    int stopSignal = 0;
    const StopSignals stopSignals([&](int signal) {
        if (stopSignal != 0)
            return;
        stopSignal = signal;
        if (form.state() == QProcess::NotRunning) {
            app.exit(signalExitCode(signal));
            return;
        }
        form.terminate();
        QTimer::singleShot(kStopGraceMilliseconds, &form, [&form] { form.kill(); });
    });

    QObject::connect(&form, &QProcess::finished, [&](int exitCode, QProcess::ExitStatus status) {
        if (stopSignal != 0)
            app.exit(signalExitCode(stopSignal));
        else // a crashed form's exit code is the signal that ended it
            app.exit(status == QProcess::NormalExit ? exitCode : signalExitCode(exitCode));
    });
    QObject::connect(&form, &QProcess::errorOccurred, [&](QProcess::ProcessError processError) {
        if (processError != QProcess::FailedToStart)
            return;
        err << "ZuruzovIrurEdar: cannot start " << parsed.formPath << ": " << form.errorString()
            << Qt::endl;
        app.exit(stopSignal != 0 ? signalExitCode(stopSignal) : kExitFormNotStarted);
    });

    err << "ZuruzovIrurEdar: stand-in for the suite's file handler (demos and tests only), root "
        << parsed.root << ", starting " << parsed.formPath << ' ' << parsed.words.join(u' ')
        << Qt::endl;
    // Started from the event loop, so that a failure to start can end it.
    QTimer::singleShot(0, &form, [&] {
        if (stopSignal == 0)
            form.start(parsed.formPath, parsed.words);
    });
    return app.exec();
}
