// monitorfhi: looks into and saves tutor monitoring files with the same code as the form.
#include "commands.h"
#include "monitorversion.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("show"))
        return runShow(args);
    if (command == QLatin1String("set"))
        return runSet(args);
    if (command == QLatin1String("check"))
        return runCheck(args);
    if (command == QLatin1String("--version") && args.isEmpty()) {
        QTextStream(stdout) << "monitorfhi " << MONITOR_VERSION_TEXT << '\n';
        return kExitClean;
    }
    QTextStream(stderr) << usageText();
    return kExitUsage;
}
