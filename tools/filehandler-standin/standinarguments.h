#pragma once

#include <QString>
#include <QStringList>

// What the stand-in was asked to start.
struct StandinArguments
{
    QString root; // absolute, ending with "/": the form appends the next folder name directly
    QString formPath;
    QStringList words; // the five words the form is started with
};

// Reads "--root ROOT [--form PATH] WORD1 WORD2 WORD3 WORD4 WORD5" (without the program's own
// name) into `parsed`; `formPath` is kept when no --form is given. Returns what is wrong, or an
// empty text.
QString parseArguments(const QStringList &arguments, StandinArguments &parsed);

QString usageText();
