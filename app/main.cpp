// MonitorForm: the monitoring form of the Norvale Quillet Monitor File Handler.
#include "monformentry.h"
#include "startupreport.h"
#include "statereport.h"
#include "toolbarimages.h"
#include "widgetmessages.h"

#include "fileoperations.h"
#include "messageendpoint.h"
#include "printqueue.h"
#include "processlist.h"
#include "qttextprinter.h"
#include "settingsstore.h"
#include "shell.h"
#include "spellingcomponent.h"
#include "tutorfileclaim.h"
#include "windowmessages.h"

#include <QApplication>

#ifdef MONITOR_FONTCONFIG
#include <fontconfig/fontconfig.h>
#include <thread>
#endif

int main(int argc, char *argv[])
{
#ifdef MONITOR_FONTCONFIG
    // Fontconfig reads its configuration and font caches (some milliseconds) while the
    // connection to the display is made; the form's first text waits for them otherwise.
    std::thread fonts([] { FcInit(); });
    QApplication app(argc, argv);
    fonts.join();
#else
    QApplication app(argc, argv);
#endif
#ifndef Q_OS_WIN
    // Windows keeps its native style object untouched; the plugins were loaded by Fusion's arrows.
    QApplication::setStyle(new ToolbarImageStyle);
#endif
    const auto settingsStore = settings::createPlatformSettingsStore();
    const auto processes = suite::createSystemProcessList();
    WidgetMessages messages;
    monitorfile::LocalFileOperations files;
    const SystemClock clock;
    const auto windowMessages = suite::createPlatformMessages();
    // On Windows the endpoint finds the form's own window by its title once it is hooked.
    const auto endpoint = suite::createPlatformEndpoint();
    QtTextPrinter printer(createSystemPrintQueue());
    const auto shell = createPlatformShell();
    const auto spelling = spelling::createSpellingComponent();
    const auto fileClaim = suite::createPlatformClaim();

    MonFormEntry form({*settingsStore, *processes, messages, files, clock, *windowMessages,
                       *endpoint, printer, *shell, *spelling, *fileClaim},
                      QCoreApplication::arguments().mid(1));
    messages.setParent(&form);
    // The start-up figures count the dictionary the form loads once it is on the screen. Asked
    // before the form's own work after its first paint, so that they are taken first.
    reportStartupWhenAsked(form, [&spelling = *spelling] { return !spelling.preparing(); });
    if (!form.load())
        return 0;
    form.show();
    reportStateWhenAsked(form);
    return app.exec();
}
