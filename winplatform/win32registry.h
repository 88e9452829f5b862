#pragma once

// Per-user program settings where the suite's older programs keep theirs:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one string
// (REG_SZ) value per key. Every read goes to the registry, so a value another program wrote a
// moment before is seen.

#include <optional>
#include <string>

namespace winplatform {

// The key of one application's section, below HKEY_CURRENT_USER.
std::wstring programSettingsKey(const std::wstring &application, const std::wstring &section);

// The string stored at the key; nothing when the key or value is missing or holds no string.
std::optional<std::wstring> readProgramSetting(const std::wstring &application,
                                               const std::wstring &section,
                                               const std::wstring &key);

// Stores the string, creating the section's key when needed. False when the registry refused.
bool writeProgramSetting(const std::wstring &application, const std::wstring &section,
                         const std::wstring &key, const std::wstring &value);

} // namespace winplatform
