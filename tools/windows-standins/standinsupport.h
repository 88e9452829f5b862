#pragma once

// What the Windows stand-ins and the layer's test peer share. They share nothing with the
// program's own Windows layer, so a wrong window title or registry path in the program shows as a
// failure of the tests that use them.

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

inline constexpr wchar_t kTutorSummaryTitle[] =
    L"Norvale Quillet Monitor File Handler - Tutor Summary";
inline constexpr wchar_t kMonitorFormTitle[] =
    L"Monitor Entry Form - Norvale Quillet Monitor File Handler";
inline constexpr wchar_t kSettingsKey[] =
    L"Software\\VB and VBA Program Settings\\RERODODUREVIDEDAZIREZ\\Prefs";

// The program's arguments, without the program itself.
std::vector<std::wstring> arguments();
std::string utf8(const std::wstring &text);
// Appends text to a file, creating it; false when it cannot.
bool append(const std::wstring &path, const std::string &text);
// The path of a file in this program's folder.
std::wstring besideThisProgram(const std::wstring &name);
// Writes a line to the standard error, flushed at once.
void report(const std::string &line);

} // namespace standin
