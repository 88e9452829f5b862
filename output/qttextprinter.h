#pragma once

#include "printqueue.h"
#include "textprinter.h"

#include <QFont>
#include <QString>

#include <memory>

class QPrinter;
class TextPagePainter;

// The system's default printer through Qt's print dialog. Copies the printer cannot make
// itself are painted one after another.
class QtTextPrinter : public TextPrinter
{
public:
    // Without a queue, a refusal is seen only where Qt reports it.
    explicit QtTextPrinter(std::unique_ptr<PrintQueue> queue = nullptr);
    ~QtTextPrinter() override;

    // Pages go to a PDF file instead, and the dialog step keeps the choices it is given: for
    // checking the printed pages where there is no printer. A file has no unprintable edge, so
    // column 1 is the page's left edge.
    static std::unique_ptr<QtTextPrinter> toPdfFile(const QString &path);

    void setDocumentName(const QString &name) override { m_documentName = name; }
    DialogOutcome chooseInDialog(QWidget *parent, PrintChoices &choices) override;
    bool setCopies(int copies) override;
    bool setOrientation(QPageLayout::Orientation orientation) override;
    bool setFont(const QString &family, int points) override;
    bool printLines(const QList<PrintLine> &lines) override;
    bool endDocument() override;
    QString pausedPrinter() const override { return m_pausedPrinter; }

    // The family the last document was printed in, after font substitution.
    QString fontFamilyUsed() const { return m_fontFamilyUsed; }

private:
    void abandon();

    std::unique_ptr<PrintQueue> m_queue;
    QString m_pdfPath;
    QString m_documentName;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<TextPagePainter> m_painter;
    QFont m_font;
    int m_copies = 1;
    QList<PrintLine> m_lines;
    QString m_fontFamilyUsed;
    QString m_pausedPrinter;
};
