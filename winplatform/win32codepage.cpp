#include "win32codepage.h"

#include <windows.h>

#include <climits>

namespace winplatform {

unsigned ansiCodePage()
{
    return GetACP();
}

std::wstring decodeAnsi(const std::string &bytes)
{
    if (bytes.empty() || bytes.size() > INT_MAX)
        return std::wstring();
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &text[0], length);
    return text;
}

std::optional<std::string> encodeAnsi(const std::wstring &text)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(text.size());
    BOOL replaced = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr,
                                           0, nullptr, &replaced);
    if (length <= 0 || replaced)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, &bytes[0], length, nullptr,
                        &replaced);
    if (replaced)
        return std::nullopt;
    return bytes;
}

} // namespace winplatform
