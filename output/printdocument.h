#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// What the monitoring form shows, as the printed form needs it. Texts are as the window holds
// them; trimming is the document's business.
struct PrintSource
{
    QString tutor;  // the tutor label's caption
    QString region; // the region label's caption
    QString course; // the course label's caption
    // The student grid's columns 0 to 3, the heading row first.
    QList<std::array<QString, 4>> studentRows;
    // The criteria grid's ten rows of four cells; only rows 0 to 6 of columns 0 and 1 are printed.
    std::array<std::array<QString, 4>, 10> criteria;
    // The comments box's text with Windows line ends ("\r\n"), see toWindowsLineEnds().
    QString comments;
};

// One piece of text placed at a print column (1-based, one character cell per column).
struct PrintItem
{
    int column;
    QString text;

    bool operator==(const PrintItem &other) const
    {
        return column == other.column && text == other.text;
    }
};
using PrintLine = QList<PrintItem>;

// The printed form, line by line. An item whose column lies behind the position already reached
// on its line starts a new line; lines are never wrapped otherwise, except the tutor line and
// the comments.
QList<PrintLine> layOutPrintDocument(const PrintSource &source);

// The comments as printed lines: each typed line on its own, lines over 95 characters broken
// after the last space within the first 95 characters, or at 95 where there is none.
QStringList wrapComments(const QString &comments);

// "\n" (as a Qt text box ends its lines) becomes "\r\n"; existing "\r\n" pairs stay.
QString toWindowsLineEnds(const QString &text);

// Each line as fixed-pitch text: column n is the n-th character; no trailing padding.
QStringList renderPrintLines(const QList<PrintLine> &lines);
