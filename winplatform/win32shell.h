#pragma once

// The desktop shell's ways of opening a document in another program. Neither waits for that
// program.

#include <cstdint>
#include <string>

namespace winplatform {

// Opens the file at `path` with the program associated with it: the "open" operation, no
// parameters, no working folder, a normal window, `owner` (an HWND, may be 0) as the owner of
// anything the shell shows. False when the shell could not, with its reason in `error`.
bool shellOpen(std::uintptr_t owner, const std::wstring &path, std::wstring *error = nullptr);

// The command line that starts the system's open-with chooser for `path`: the chooser takes the
// rest of the line as the path, so it is neither quoted nor escaped.
std::wstring openWithCommandLine(const std::wstring &path);

// Starts the open-with chooser, minimised and with the focus, from the system folder's
// rundll32.exe (never one found beside our program). False when it could not be started.
bool showOpenWith(const std::wstring &path);

} // namespace winplatform
