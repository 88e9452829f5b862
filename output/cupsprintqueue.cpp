// The print queue through libcups, which Qt's own printing uses in the same process.
#include "printqueue.h"

#include <cups/cups.h>

namespace {

// One of the printer's attributes as CUPS reports it now; empty when it has none.
QByteArray printerOption(const QString &printerName, const char *option, bool *found = nullptr)
{
    const QByteArray name = printerName.toLocal8Bit();
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (found)
        *found = dest != nullptr;
    if (!dest)
        return {};
    const QByteArray value(cupsGetOption(option, dest->num_options, dest->options));
    cupsFreeDests(1, dest);
    return value;
}

class CupsPrintQueue : public PrintQueue
{
public:
    bool acceptsJobs(const QString &printerName) const override
    {
        bool found = false;
        const QByteArray accepting =
            printerOption(printerName, "printer-is-accepting-jobs", &found);
        return found && accepting != "false";
    }

    bool isPaused(const QString &printerName) const override
    {
        return printerOption(printerName, "printer-state") == "5"; // IPP_PSTATE_STOPPED
    }

    bool lastJobTaken() const override
    {
        // Qt's print engine submits the job on this thread and ignores the answer; libcups keeps
        // it per thread until the next request.
        return cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
    }
};

} // namespace

std::unique_ptr<PrintQueue> createSystemPrintQueue()
{
    return std::make_unique<CupsPrintQueue>();
}
