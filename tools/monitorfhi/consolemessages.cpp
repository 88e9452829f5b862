#include "consolemessages.h"

#include "messagetexts.h"

#include <QTextStream>

void printError(const QString &text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    QTextStream(stderr) << line << '\n';
}

monitorfile::MessageAnswer ConsoleMessages::show(const QString &text,
                                                 monitorfile::MessageButtons buttons)
{
    // A command line has no screen that would still show the entries.
    const QString shown = monitorfile::texts::forCommandLine(text);
    texts.append(shown);
    if (m_echo)
        printError(shown);
    return buttons == monitorfile::MessageButtons::Ok ? monitorfile::MessageAnswer::Ok
                                                      : monitorfile::MessageAnswer::Cancel;
}
