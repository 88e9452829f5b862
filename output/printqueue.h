#pragma once

#include <QString>

#include <memory>

// The system's print queue, asked what Qt's printer does not tell: with CUPS a printer that
// refuses jobs leaves QPrinter's state untouched and the job silently dropped.
class PrintQueue
{
public:
    virtual ~PrintQueue() = default;

    // False when the named printer is gone or refuses new jobs.
    virtual bool acceptsJobs(const QString &printerName) const = 0;
    // False when the queue refused the last job this thread handed to it.
    virtual bool lastJobTaken() const = 0;
    // True when the named printer is stopped: it takes jobs and holds them until resumed.
    virtual bool isPaused(const QString &printerName) const = 0;
};

// CUPS off Windows; null on Windows, where the spooler's refusals reach the printer's state.
std::unique_ptr<PrintQueue> createSystemPrintQueue();
