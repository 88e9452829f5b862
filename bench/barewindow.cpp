// bare_window: an empty main window of the form's size (9600 x 6705 twips), the yardstick for
// the form's start-up time and memory in bench/startup.sh.
#include "startupreport.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>

#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kFormWidthTwips = 9600;
constexpr int kFormHeightTwips = 6705;

int pixels(int twips, double dotsPerInch)
{
    return int(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    const QScreen *screen = QGuiApplication::primaryScreen();
    window.resize(pixels(kFormWidthTwips, screen->logicalDotsPerInchX()),
                  pixels(kFormHeightTwips, screen->logicalDotsPerInchY()));
    reportStartupWhenAsked(window);
    window.show();
    return app.exec();
}
