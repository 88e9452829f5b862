#include "commandline.h"

#include <QDir>

QStringList GetCommandLine(const QString &line, int maxArgs)
{
    QStringList words(1); // index 0 stays empty
    bool inWord = false;
    for (const QChar c : line) {
        if (c == u' ' || c == u'\t') {
            inWord = false;
            continue;
        }
        if (!inWord) {
            if (words.size() - 1 == maxArgs)
                break;
            words.append(QString());
            inWord = true;
        }
        words.last().append(c);
    }
    return words;
}

QString commandLineText(const QStringList &arguments)
{
    return arguments.join(QLatin1Char(' '));
}

CommandLineProblem takeCommandWords(const QStringList &words, CommandWords &out, QString &badWord)
{
    if (words.size() < 6)
        return CommandLineProblem::Empty;
    for (int i = 1; i <= 5; ++i) {
        const QString &w = words[i];
        if (w == QLatin1String(".") || w == QLatin1String("..") || w.contains(u'/') ||
            w.contains(u'\\')) {
            badWord = w;
            return CommandLineProblem::UnsafeWord;
        }
    }
    out = {words[1], words[2], words[3], words[4], words[5]};
    return CommandLineProblem::None;
}

QString tutorFolderPath(const QString &rootDirectory, const CommandWords &words)
{
    const QChar separator = QDir::separator();
    return rootDirectory + words.CmdArg2 + u'-' + words.CmdArg3 + separator + words.CmdArg4 +
           separator + words.CmdArg1 + separator + words.CmdArg5;
}
