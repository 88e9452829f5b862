#include "printerdialog.h"

#include <QPrintDialog>

DialogOutcome showPrinterDialog(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted ? DialogOutcome::Accepted : DialogOutcome::Cancelled;
}
