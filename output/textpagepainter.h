#pragma once

#include "printdocument.h"

#include <QFont>
#include <QPainter>

class QPrinter;

// Paints fixed-pitch text lines onto a printer's pages: column n starts n - 1 widths of "M"
// from the left of the printable area, lines are one line spacing apart, and a line that does
// not fit below the last one starts a new page. No margins, headers or page numbers of its own.
class TextPagePainter
{
public:
    // The printer must outlive the painter.
    explicit TextPagePainter(QPrinter &printer) : m_printer(printer) {}

    // False when painting on the printer cannot start.
    bool begin(const QFont &font);
    bool isActive() const { return m_painter.isActive(); }
    // The family the printer really uses for the font asked for (fonts are substituted).
    QString fontFamily() const;
    bool paint(const QList<PrintLine> &lines);
    // The next line goes to the top of a new page, as for another copy.
    bool startNewPage();
    // Finishes the document; false when the printer reports an error.
    bool end();

private:
    bool nextLineFits() const;

    QPrinter &m_printer;
    QPainter m_painter;
    qreal m_columnWidth = 0;
    qreal m_lineSpacing = 0;
    qreal m_lineHeight = 0;
    qreal m_ascent = 0;
    qreal m_pageHeight = 0;
    qreal m_y = 0;
};
