#include "standinoptions.h"

#include <cstring>

namespace {

const QString kHeadless = QStringLiteral("--headless");
const QString kSend = QStringLiteral("--send");
const QString kPost = QStringLiteral("--post");

} // namespace

QString parseStandinOptions(const QStringList &arguments, StandinOptions &options)
{
    options = StandinOptions();
    if (arguments.isEmpty())
        return QString();
    if (arguments == QStringList{kHeadless}) {
        options.mode = StandinOptions::Mode::Headless;
        return QString();
    }
    const QString &command = arguments.first();
    if ((command != kSend && command != kPost) || arguments.size() != 3)
        return QStringLiteral("unknown arguments: ") + arguments.join(u' ');

    bool messageOk = false;
    bool wParamOk = false;
    options.message = arguments.at(1).toUInt(&messageOk);
    options.wParam = arguments.at(2).toLongLong(&wParamOk);
    if (!messageOk || !wParamOk)
        return QStringLiteral("NUMBER and WPARAM must be integers: ") + arguments.join(u' ');
    options.mode = command == kSend ? StandinOptions::Mode::Send : StandinOptions::Mode::Post;
    return QString();
}

bool wantsNoWindow(int argc, char *argv[])
{
    // Qt's own options, which only the window takes, start with a single dash.
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0)
            return true;
    }
    return false;
}

QString standinUsage()
{
    return QStringLiteral(
        "usage: TutorSummaryStandin                         a window that logs what it receives\n"
        "       TutorSummaryStandin --headless              no window; prints a line\n"
        "                                                   \"received NUMBER WPARAM LPARAM\"\n"
        "       TutorSummaryStandin --send NUMBER WPARAM    sends to the form's window, waits\n"
        "       TutorSummaryStandin --post NUMBER WPARAM    posts to the form's window\n"
        "--send and --post exit 0 when handled (posted), 1 when the form's window is missing\n"
        "or did not handle it, 2 on wrong arguments.\n");
}
