// The print queue through libcups, which Qt's own printing uses in the same process.
#include "printqueue.h"

#include <cups/cups.h>

namespace {

class CupsPrintQueue : public PrintQueue
{
public:
    bool acceptsJobs(const QString &printerName) const override
    {
        const QByteArray name = printerName.toLocal8Bit();
        cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
        if (!dest)
            return false;
        const char *accepting =
            cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
        const bool accepts = !accepting || qstrcmp(accepting, "false") != 0;
        cupsFreeDests(1, dest);
        return accepts;
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
