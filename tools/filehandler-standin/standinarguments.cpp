#include "standinarguments.h"

#include <QDir>

namespace {

constexpr int kWordCount = 5;

QString rootWithSeparator(const QString &root)
{
    QString path = QDir::cleanPath(QDir::current().absoluteFilePath(root));
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

// The form splits its command line at blanks and tabs, so such a word would arrive as two.
bool isPlainWord(const QString &word)
{
    return !word.isEmpty() && !word.contains(QLatin1Char(' ')) && !word.contains(QLatin1Char('\t'));
}

} // namespace

QString parseArguments(const QStringList &arguments, StandinArguments &parsed)
{
    QString root;
    QStringList words;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool takesValue =
            argument == QLatin1String("--root") || argument == QLatin1String("--form");
        if (takesValue) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
                return QStringLiteral("%1 needs a value").arg(argument);
            (argument == QLatin1String("--root") ? root : parsed.formPath) = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option %1").arg(argument);
        } else if (!isPlainWord(argument)) {
            return QStringLiteral("the word \"%1\" is empty or holds a blank").arg(argument);
        } else {
            words.append(argument);
        }
    }
    if (root.isEmpty())
        return QStringLiteral("--root is missing");
    if (words.size() != kWordCount)
        return QStringLiteral("%1 words given, the form takes %2")
            .arg(words.size())
            .arg(kWordCount);
    parsed.root = rootWithSeparator(root);
    parsed.words = words;
    return {};
}

QString usageText()
{
    return QStringLiteral(
        "usage: ZuruzovIrurEdar --root ROOT [--form PATH] TUTOR COURSE PRESENTATION TMA FOLDER\n"
        "Stores ROOT as the monitor root folder and runs the Monitor Entry Form (default: the\n"
        "MonitorForm beside this program) with the five words, until it ends.\n");
}
