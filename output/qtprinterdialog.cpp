#include "printerdialog.h"

#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QTimer>

namespace {

// Where Qt's CUPS engine keeps the job options the dialog chose, as name and value pairs.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Qt's Unix dialog (6.4) shows its page range and page set controls when it shows, whatever the
// options say, and has CUPS honour them: hide them once it shows.
void hidePageRange(QPrintDialog &dialog)
{
    QTimer::singleShot(0, &dialog, [&dialog] {
        if (auto *range = dialog.findChild<QWidget *>(QStringLiteral("gbPrintRange")))
            range->hide();
    });
}

// The form prints every page, whatever was chosen.
void printEveryPage(QPrinter &printer)
{
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPageRanges({});
    QPrintEngine *engine = printer.printEngine();
    const QStringList options = engine->property(kCupsOptions).toStringList();
    QStringList kept;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (options[i] != QLatin1String("page-ranges") && options[i] != QLatin1String("page-set"))
            kept << options[i] << options[i + 1];
    }
    if (kept != options)
        engine->setProperty(kCupsOptions, kept);
}

} // namespace

DialogOutcome showPrinterDialog(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    hidePageRange(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return DialogOutcome::Cancelled;
    printEveryPage(printer);
    return DialogOutcome::Accepted;
}
