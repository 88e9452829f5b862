// bare_window: an empty main window of the form's size (9600 x 6705 twips), the yardstick for
// the form's start-up time and memory in bench/startup.sh. With BARE_WINDOW_TABLE=1 it is the
// second yardstick, a window that shows text the way any Qt window of the form's kind must: a
// menu bar and a table of fifteen rows of four cells in the form's design font, stock widgets.
#include "designfont.h"
#include "startupreport.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>
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

void showTextAsTheFormDoes(QMainWindow &window)
{
    for (const char *title : {"&File", "&Edit", "&View", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title));
    constexpr int kRows = 15;
    constexpr int kColumns = 4;
    auto *table = new QTableWidget(kRows, kColumns);
    table->setFont(designFont());
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            table->setItem(
                row, column,
                new QTableWidgetItem(
                    QStringLiteral("Criterion %1, rating %2").arg(row + 1).arg(column + 1)));
    window.setCentralWidget(table);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    const QScreen *screen = QGuiApplication::primaryScreen();
    window.resize(pixels(kFormWidthTwips, screen->logicalDotsPerInchX()),
                  pixels(kFormHeightTwips, screen->logicalDotsPerInchY()));
    if (qEnvironmentVariableIntValue("BARE_WINDOW_TABLE") == 1)
        showTextAsTheFormDoes(window);
    reportStartupWhenAsked(window);
    window.show();
    return app.exec();
}
