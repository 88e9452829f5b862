#include "qttextprinter.h"
#include "printerdialog.h"
#include "textpagepainter.h"

#include <QPrinter>
#include <QPrinterInfo>

QtTextPrinter::QtTextPrinter(std::unique_ptr<PrintQueue> queue) : m_queue(std::move(queue)) {}

QtTextPrinter::~QtTextPrinter()
{
    abandon();
}

std::unique_ptr<QtTextPrinter> QtTextPrinter::toPdfFile(const QString &path)
{
    auto printer = std::make_unique<QtTextPrinter>();
    printer->m_pdfPath = path;
    return printer;
}

void QtTextPrinter::abandon()
{
    // A document not ended is withdrawn, not sent; the painter goes before its printer.
    if (m_painter && m_painter->isActive())
        m_printer->abort();
    m_painter.reset();
    m_printer.reset();
    m_lines.clear();
    m_copies = 1;
}

DialogOutcome QtTextPrinter::chooseInDialog(QWidget *parent, PrintChoices &choices)
{
    abandon();
    m_pausedPrinter.clear();
    if (!m_pdfPath.isEmpty()) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_pdfPath);
        m_printer->setPageMargins(QMarginsF(), QPageLayout::Point);
        m_printer->setDocName(m_documentName);
        return DialogOutcome::Accepted;
    }
    // Without a printer Qt quietly makes a PDF writer of a default QPrinter.
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        return DialogOutcome::Failed;
    m_printer = std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
    m_printer->setDocName(m_documentName);
    DialogOutcome outcome = showPrinterDialog(*m_printer, parent);
    if (outcome == DialogOutcome::Accepted && m_queue &&
        !m_queue->acceptsJobs(m_printer->printerName()))
        outcome = DialogOutcome::Failed;
    if (outcome != DialogOutcome::Accepted) {
        abandon();
        return outcome;
    }
    choices.copies = m_printer->copyCount();
    choices.orientation = m_printer->pageLayout().orientation();
    return DialogOutcome::Accepted;
}

bool QtTextPrinter::setCopies(int copies)
{
    if (!m_printer || copies < 1)
        return false;
    m_printer->setCopyCount(copies);
    m_copies = copies;
    return true;
}

bool QtTextPrinter::setOrientation(QPageLayout::Orientation orientation)
{
    return m_printer && m_printer->setPageOrientation(orientation);
}

bool QtTextPrinter::setFont(const QString &family, int points)
{
    if (!m_printer || m_painter)
        return false;
    m_font = QFont(family, points);
    m_font.setStyleHint(QFont::TypeWriter);
    return true;
}

bool QtTextPrinter::printLines(const QList<PrintLine> &lines)
{
    if (!m_printer)
        return false;
    if (!m_painter) {
        m_painter = std::make_unique<TextPagePainter>(*m_printer);
        if (!m_painter->begin(m_font)) {
            abandon();
            return false;
        }
        m_fontFamilyUsed = m_painter->fontFamily();
    }
    m_lines += lines;
    if (!m_painter->paint(lines)) {
        abandon();
        return false;
    }
    return true;
}

bool QtTextPrinter::endDocument()
{
    if (!m_painter) {
        abandon();
        return false;
    }
    // A printer that makes its own copies would multiply painted ones.
    const int painted = m_printer->supportsMultipleCopies() ? 1 : m_copies;
    bool ok = true;
    for (int copy = 1; ok && copy < painted; ++copy)
        ok = m_painter->startNewPage() && m_painter->paint(m_lines);
    ok = m_painter->end() && ok;
    // A PDF file has no queue.
    ok = ok && (!m_pdfPath.isEmpty() || !m_queue || m_queue->lastJobTaken());
    if (ok && m_pdfPath.isEmpty() && m_queue && m_queue->isPaused(m_printer->printerName()))
        m_pausedPrinter = m_printer->printerName();
    m_painter.reset();
    abandon();
    return ok;
}
