// TutorSummaryStandin: a stand-in of the suite's Tutor Summary window, for demos and tests on
// Linux, where the suite's other programs do not exist. It is not part of the system. It holds
// the Tutor Summary's exact title, logs every message it receives, and sends or posts the suite's
// messages to the Monitor Entry Form's window; see standinUsage() for the command line.
#include "quitonsignal.h"
#include "standinoptions.h"
#include "tutorsummarywindow.h"

#include "messageendpoint.h"
#include "suitewindows.h"
#include "windowmessages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <memory>

namespace {

constexpr int kExitNotDone = 1;
constexpr int kExitUsage = 2;

int receiveHeadless()
{
    const QString title = suite::windowTitle(suite::SuiteWindow::TutorSummary);
    const std::unique_ptr<suite::MessageEndpoint> endpoint = suite::createPlatformEndpoint();
    const bool open = endpoint->open(title, [](quint32 message, qint64 wParam, qint64 lParam) {
        // Flushed before the handler returns: a sender released by it finds the line there.
        QTextStream(stdout) << receivedLine(message, wParam, lParam) << Qt::endl;
    });
    if (!open) {
        QTextStream(stderr) << "TutorSummaryStandin: cannot receive as \"" << title
                            << "\": another program holds the title" << Qt::endl;
        return kExitNotDone;
    }
    const QuitOnSignal quitOnSignal;
    return QCoreApplication::exec();
}

int sendOrPost(const StandinOptions &options)
{
    QTextStream err(stderr);
    const QString formTitle = suite::windowTitle(suite::SuiteWindow::MonitorForm);
    const std::unique_ptr<suite::WindowMessages> messages = suite::createPlatformMessages();
    const suite::WindowHandle form = messages->findWindow(formTitle);
    if (form == 0) {
        err << "TutorSummaryStandin: no window titled \"" << formTitle << '"' << Qt::endl;
        return kExitNotDone;
    }
    const bool send = options.mode == StandinOptions::Mode::Send;
    const bool done = send ? messages->send(form, options.message, options.wParam, 0)
                           : messages->post(form, options.message, options.wParam, 0);
    if (!done) {
        err << "TutorSummaryStandin: " << options.message
            << (send ? " was not handled" : " was not posted") << Qt::endl;
        return kExitNotDone;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (wantsNoWindow(argc, argv))
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);

    StandinOptions options;
    const QString error = parseStandinOptions(QCoreApplication::arguments().mid(1), options);
    if (!error.isEmpty()) {
        QTextStream(stderr) << "TutorSummaryStandin: " << error << '\n' << standinUsage();
        return kExitUsage;
    }

    switch (options.mode) {
    case StandinOptions::Mode::Headless:
        return receiveHeadless();
    case StandinOptions::Mode::Send:
    case StandinOptions::Mode::Post:
        return sendOrPost(options);
    case StandinOptions::Mode::Window:
        break;
    }
    TutorSummaryWindow window;
    window.startReceiving();
    window.show();
    const QuitOnSignal quitOnSignal;
    return QCoreApplication::exec();
}
