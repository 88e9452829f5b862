#pragma once

// The system's print dialog, shown as the suite's programs show it: no choice of a selection or a
// page range, and no printing to a file (neither offered nor shown).

#include <cstdint>
#include <string>

namespace winplatform {

// PD_NOSELECTION | PD_NOPAGENUMS | PD_DISABLEPRINTTOFILE | PD_HIDEPRINTTOFILE.
inline constexpr unsigned long kPrintDialogFlags = 0x18000C;

struct PrintChoice
{
    std::wstring printerName;
    unsigned copies = 1;
    bool landscape = false;
};

enum class PrintDialogResult { Print, Cancelled, Failed };

// Shows the dialog owned by `owner` (an HWND, may be 0) and, on Print, fills `choice`. Failed
// (with the reason in `error`) when the dialog could not be shown, as when there is no printer.
PrintDialogResult showPrintDialog(std::uintptr_t owner, PrintChoice &choice,
                                  std::wstring *error = nullptr);

} // namespace winplatform
