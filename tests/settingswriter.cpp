// Writes settings for the settings store's tests from another process: each line read from
// stdin is written as the value of KEY, and "ok" is printed once it is in the store.
#include "inisettingsstore.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5)
        return 2;
    settings::IniSettingsStore store(args[1]);
    QTextStream in(stdin);
    QTextStream out(stdout);
    QString value;
    while (in.readLineInto(&value)) {
        store.setValue(args[2], args[3], args[4], value);
        out << "ok" << Qt::endl;
    }
    return 0;
}
