#include "standinsupport.h"

#include <shellapi.h>

#include <cstdio>

namespace standin {

std::vector<std::wstring> arguments()
{
    int count = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return {};
    std::vector<std::wstring> list(argv + (count > 0 ? 1 : 0), argv + count);
    LocalFree(argv);
    return list;
}

std::string utf8(const std::wstring &text)
{
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &bytes[0], length, nullptr, nullptr);
    return bytes;
}

bool append(const std::wstring &path, const std::string &text)
{
    FILE *file = _wfopen(path.c_str(), L"ab");
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

std::wstring besideThisProgram(const std::wstring &name)
{
    std::wstring self(MAX_PATH * 4, L'\0');
    self.resize(GetModuleFileNameW(nullptr, &self[0], static_cast<DWORD>(self.size())));
    return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

void report(const std::string &line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

} // namespace standin
