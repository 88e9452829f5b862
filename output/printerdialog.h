#pragma once

#include "textprinter.h"

class QPrinter;
class QWidget;

// Shows the platform's print dialog for `printer`, offering neither a selection, a page range,
// the current page nor printing to a file; on Accepted the printer holds the monitor's choices.
DialogOutcome showPrinterDialog(QPrinter &printer, QWidget *parent);
