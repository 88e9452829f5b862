// The print queue through libcups, which Qt's own printing uses in the same process.
#include "printqueue.h"

#include <cups/cups.h>
#include <dlfcn.h>

namespace {

// libcups is opened at the first question, not with the program: with the TLS and Kerberos
// libraries it brings it would cost every start some milliseconds and megabytes, and most
// sessions never print. Qt's print plugin opens the same library when it prints.
struct Cups
{
    decltype(&cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&cupsGetOption) getOption = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsLastError) lastError = nullptr;

    // Null when the library or one of its functions is missing: then nothing can print.
    static const Cups *library()
    {
        static const Cups cups = open();
        return cups.lastError ? &cups : nullptr;
    }

private:
    template <typename F> static F symbol(void *handle, const char *name)
    {
        return reinterpret_cast<F>(dlsym(handle, name));
    }

    static Cups open()
    {
        Cups cups;
        void *handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return cups;
        cups.getNamedDest = symbol<decltype(getNamedDest)>(handle, "cupsGetNamedDest");
        cups.getOption = symbol<decltype(getOption)>(handle, "cupsGetOption");
        cups.freeDests = symbol<decltype(freeDests)>(handle, "cupsFreeDests");
        if (cups.getNamedDest && cups.getOption && cups.freeDests)
            cups.lastError = symbol<decltype(lastError)>(handle, "cupsLastError");
        return cups;
    }
};

// One of the printer's attributes as CUPS reports it now; empty when it has none or when CUPS
// cannot be had.
QByteArray printerOption(const QString &printerName, const char *option, bool *found = nullptr)
{
    if (found)
        *found = false;
    const Cups *cups = Cups::library();
    if (!cups)
        return {};
    const QByteArray name = printerName.toLocal8Bit();
    cups_dest_t *dest = cups->getNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (found)
        *found = dest != nullptr;
    if (!dest)
        return {};
    const QByteArray value(cups->getOption(option, dest->num_options, dest->options));
    cups->freeDests(1, dest);
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
        const Cups *cups = Cups::library();
        return cups && cups->lastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
    }
};

} // namespace

std::unique_ptr<PrintQueue> createSystemPrintQueue()
{
    return std::make_unique<CupsPrintQueue>();
}
