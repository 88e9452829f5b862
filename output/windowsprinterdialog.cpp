// The system's print dialog through the Windows layer, with the suite's flags: Qt's own dialog
// can disable printing to a file but not hide it.
#include "printerdialog.h"
#include "printqueue.h"

#include "win32printdialog.h"

#include <QPrinter>
#include <QWidget>

DialogOutcome showPrinterDialog(QPrinter &printer, QWidget *parent)
{
    const auto owner = parent ? static_cast<std::uintptr_t>(parent->window()->winId()) : 0;
    winplatform::PrintChoice choice;
    switch (winplatform::showPrintDialog(owner, choice)) {
    case winplatform::PrintDialogResult::Cancelled:
        return DialogOutcome::Cancelled;
    case winplatform::PrintDialogResult::Failed:
        return DialogOutcome::Failed;
    case winplatform::PrintDialogResult::Print:
        break;
    }
    if (!choice.printerName.empty())
        printer.setPrinterName(QString::fromStdWString(choice.printerName));
    printer.setCopyCount(static_cast<int>(choice.copies));
    printer.setPageOrientation(choice.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return printer.isValid() ? DialogOutcome::Accepted : DialogOutcome::Failed;
}

std::unique_ptr<PrintQueue> createSystemPrintQueue()
{
    return nullptr;
}
