#include "win32registry.h"

#include <windows.h>

#include <vector>

namespace winplatform {

std::wstring programSettingsKey(const std::wstring &application, const std::wstring &section)
{
    return L"Software\\VB and VBA Program Settings\\" + application + L"\\" + section;
}

std::optional<std::wstring> readProgramSetting(const std::wstring &application,
                                               const std::wstring &section, const std::wstring &key)
{
    const std::wstring path = programSettingsKey(application, section);
    // The value may change between asking its size and reading it: ask again while it grows.
    DWORD size = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ,
                                      nullptr, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD filled = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr,
                              buffer.data(), &filled);
        if (status == ERROR_MORE_DATA) {
            size = filled;
            continue;
        }
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        // RegGetValueW ends the string with a zero, counted in `filled`.
        return std::wstring(buffer.data());
    }
    return std::nullopt;
}

bool writeProgramSetting(const std::wstring &application, const std::wstring &section,
                         const std::wstring &key, const std::wstring &value)
{
    HKEY handle = nullptr;
    const std::wstring path = programSettingsKey(application, section);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LSTATUS status = RegSetValueExW(handle, key.c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE *>(value.c_str()), bytes);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

} // namespace winplatform
