#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

struct StandinOptions
{
    enum class Mode { Window, Headless, Send, Post };

    Mode mode = Mode::Window;
    quint32 message = 0; // for Send and Post
    qint64 wParam = 0;
};

// The arguments after the program's name, Qt's own already taken out. Empty when they are
// understood, else what is wrong with them.
QString parseStandinOptions(const QStringList &arguments, StandinOptions &options);

// Whether the arguments ask for no window (or are wrong), decided before any application object
// exists: without a display a window cannot even report a wrong argument.
bool wantsNoWindow(int argc, char *argv[]);

QString standinUsage();
