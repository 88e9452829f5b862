#pragma once

#include <QString>
#include <QStringList>

// The five words the suite's file handler passes: folder names from which the tutor folder's
// path is built.
struct CommandWords
{
    QString CmdArg1; // tutor folder
    QString CmdArg2; // course code
    QString CmdArg3; // presentation code
    QString CmdArg4; // TMA number
    QString CmdArg5;
};

// Splits the text after the program's name into words at blanks and tabs, with no quoting.
// Returns the words from index 1 (index 0 stays empty), at most maxArgs of them; the rest of the
// line is ignored.
QStringList GetCommandLine(const QString &line, int maxArgs = 10);

// The command line as one text, as the suite's programs receive it.
QString commandLineText(const QStringList &arguments);

enum class CommandLineProblem { None, Empty, UnsafeWord };

// Takes the five words from the split line. Fewer than five words count as an empty line; a word
// that could climb out of the root folder (".", "..", or holding "/" or "\") is refused.
CommandLineProblem takeCommandWords(const QStringList &words, CommandWords &out, QString &badWord);

// The tutor folder: root & course-presentation, TMA, tutor and the fifth word, joined with the
// platform's separator. The root keeps its own trailing separator.
QString tutorFolderPath(const QString &rootDirectory, const CommandWords &words);
