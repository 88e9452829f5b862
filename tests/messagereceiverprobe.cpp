// Receives under the title given and never lets a sender go: with "hang" its handler sleeps for a
// minute, with "die" the process kills itself inside the handler.
#include "messageendpoint.h"

#include <QCoreApplication>
#include <QThread>

#include <csignal>

#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    const bool die = arguments.at(2) == QStringLiteral("die");
    const auto endpoint = suite::createPlatformEndpoint();
    const bool open = endpoint->open(arguments.at(1), [die](quint32, qint64, qint64) {
        if (die)
            ::kill(::getpid(), SIGKILL);
        QThread::sleep(60);
    });
    return open ? QCoreApplication::exec() : 1;
}
