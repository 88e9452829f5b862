#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// pdftotext's whole output for the file (UTF-8, a form feed after each page); null on failure.
QByteArray pdfText(const QString &pdfPath);

// The text of a PDF file's pages as `pdftotext -fixed 6` lays it out: at 6 points a character,
// the pitch of a 10-point fixed-pitch font, so character n of a line stands for print column n
// counted from the page's left edge. Leading and trailing empty lines of a page do not show.
// Empty when pdftotext fails.
QList<QStringList> pdfPages(const QString &pdfPath);

// What of the lines can show on a page: trailing blanks cut, leading and trailing empty lines
// dropped.
QStringList visibleLines(const QStringList &lines);
