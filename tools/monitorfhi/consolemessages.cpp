#include "consolemessages.h"

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
    texts.append(text);
    if (m_echo)
        printError(text);
    return buttons == monitorfile::MessageButtons::Ok ? monitorfile::MessageAnswer::Ok
                                                      : monitorfile::MessageAnswer::Cancel;
}
