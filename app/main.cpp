// MonitorForm: the monitoring form of the Norvale Quillet Monitor File Handler.
#include "monformentry.h"
#include "statereport.h"
#include "widgetmessages.h"

#include "fileoperations.h"
#include "processlist.h"
#include "settingsstore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const auto settingsStore = settings::createPlatformSettingsStore();
    const auto processes = suite::createSystemProcessList();
    WidgetMessages messages;
    monitorfile::LocalFileOperations files;
    const SystemClock clock;
    PassiveWindowHook windowHook;

    MonFormEntry form({*settingsStore, *processes, messages, files, clock, windowHook},
                      QCoreApplication::arguments().mid(1));
    messages.setParent(&form);
    if (!form.load())
        return 0;
    form.show();
    reportStateWhenAsked(form);
    return app.exec();
}
