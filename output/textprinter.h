#pragma once

#include "printdocument.h"

#include <QPageLayout>

class QWidget;

// What the monitor chose in the print dialog.
struct PrintChoices
{
    int copies = 1;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

enum class DialogOutcome { Accepted, Cancelled, Failed };

// The default printer as a sink of fixed-pitch text lines. A document takes these steps in
// order: setDocumentName (kept for later documents), chooseInDialog (which starts it), setCopies,
// setOrientation, setFont, printLines (any number of times) and endDocument. A step that fails
// returns false (Failed for the dialog) and abandons the document; the next chooseInDialog starts
// afresh.
class TextPrinter
{
public:
    virtual ~TextPrinter() = default;

    // The name the print queue shows for the documents from now on.
    virtual void setDocumentName(const QString &name) = 0;
    // Shows the platform's print dialog, without print to file, selection, page range or
    // current page; every page is printed. Failed when there is no default printer or it
    // refuses jobs.
    virtual DialogOutcome chooseInDialog(QWidget *parent, PrintChoices &choices) = 0;
    virtual bool setCopies(int copies) = 0;
    virtual bool setOrientation(QPageLayout::Orientation orientation) = 0;
    virtual bool setFont(const QString &family, int points) = 0;
    // Lines that do not fit on the current page continue on the next.
    virtual bool printLines(const QList<PrintLine> &lines) = 0;
    // Sends the document to the printer; false when the print queue refused it.
    virtual bool endDocument() = 0;
    // The printer that took the last document but holds it, paused; empty when none does.
    virtual QString pausedPrinter() const = 0;
};
