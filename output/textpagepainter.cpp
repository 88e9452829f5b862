#include "textpagepainter.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPrinter>

bool TextPagePainter::begin(const QFont &font)
{
    if (!m_painter.begin(&m_printer))
        return false;
    m_painter.setFont(font);
    const QFontMetricsF metrics(font, &m_printer);
    m_columnWidth = metrics.horizontalAdvance(u'M');
    m_lineSpacing = metrics.lineSpacing();
    m_lineHeight = metrics.height();
    m_ascent = metrics.ascent();
    // Without full-page mode the painter's origin is the printable area's top left corner.
    m_pageHeight = m_printer.pageLayout().paintRectPixels(m_printer.resolution()).height();
    m_y = 0;
    return true;
}

QString TextPagePainter::fontFamily() const
{
    return m_painter.isActive() ? m_painter.fontInfo().family() : QString();
}

bool TextPagePainter::nextLineFits() const
{
    return m_y == 0 || m_y + m_lineHeight <= m_pageHeight;
}

bool TextPagePainter::paint(const QList<PrintLine> &lines)
{
    if (!m_painter.isActive())
        return false;
    for (const PrintLine &line : lines) {
        if (!nextLineFits() && !startNewPage())
            return false;
        for (const PrintItem &item : line) {
            m_painter.drawText(QPointF((item.column - 1) * m_columnWidth, m_y + m_ascent),
                               item.text);
        }
        m_y += m_lineSpacing;
    }
    return true;
}

bool TextPagePainter::startNewPage()
{
    if (!m_printer.newPage())
        return false;
    m_y = 0;
    return true;
}

bool TextPagePainter::end()
{
    if (!m_painter.isActive())
        return false;
    const bool ended = m_painter.end();
    return ended && m_printer.printerState() != QPrinter::Error;
}
