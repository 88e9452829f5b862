#include "win32printdialog.h"

#include <windows.h>
#include <commdlg.h>
#include <cderr.h>

namespace winplatform {

static_assert(kPrintDialogFlags ==
                  (PD_NOSELECTION | PD_NOPAGENUMS | PD_DISABLEPRINTTOFILE | PD_HIDEPRINTTOFILE),
              "the print dialog's flags");

namespace {

std::wstring reasonOf(DWORD code)
{
    switch (code) {
    case PDERR_NODEFAULTPRN:
        return L"There is no default printer.";
    case PDERR_PRINTERNOTFOUND:
        return L"The printer was not found.";
    case CDERR_MEMALLOCFAILURE:
    case CDERR_MEMLOCKFAILURE:
        return L"There was not enough memory.";
    default:
        return L"The print dialog failed (error " + std::to_wstring(code) + L").";
    }
}

// Frees the dialog's memory on every way out.
class GlobalMemory
{
public:
    explicit GlobalMemory(HGLOBAL handle) : m_handle(handle) {}
    ~GlobalMemory()
    {
        if (m_handle)
            GlobalFree(m_handle);
    }
    GlobalMemory(const GlobalMemory &) = delete;
    GlobalMemory &operator=(const GlobalMemory &) = delete;

    template <typename T> T *lock() const
    {
        return m_handle ? static_cast<T *>(GlobalLock(m_handle)) : nullptr;
    }
    void unlock() const { GlobalUnlock(m_handle); }

private:
    HGLOBAL m_handle;
};

} // namespace

PrintDialogResult showPrintDialog(std::uintptr_t owner, PrintChoice &choice, std::wstring *error)
{
    PRINTDLGW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = reinterpret_cast<HWND>(owner);
    // The driver makes the copies where it can; nCopies says how many we must print otherwise.
    // No box of the system's when there is no printer: the caller reports the failure, once.
    dialog.Flags = kPrintDialogFlags | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOWARNING;
    dialog.nCopies = 1;
    const BOOL accepted = PrintDlgW(&dialog);
    const GlobalMemory devMode(dialog.hDevMode);
    const GlobalMemory devNames(dialog.hDevNames);
    if (!accepted) {
        const DWORD code = CommDlgExtendedError();
        if (code == 0)
            return PrintDialogResult::Cancelled;
        if (error)
            *error = reasonOf(code);
        return PrintDialogResult::Failed;
    }

    choice = PrintChoice();
    choice.copies = dialog.nCopies > 0 ? dialog.nCopies : 1;
    if (const auto *names = devNames.lock<DEVNAMES>()) {
        choice.printerName = reinterpret_cast<const wchar_t *>(names) + names->wDeviceOffset;
        devNames.unlock();
    }
    if (const auto *mode = devMode.lock<DEVMODEW>()) {
        if ((mode->dmFields & DM_COPIES) && mode->dmCopies > 0)
            choice.copies = static_cast<unsigned>(mode->dmCopies);
        choice.landscape =
            (mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE;
        devMode.unlock();
    }
    return PrintDialogResult::Print;
}

} // namespace winplatform
