#include "testsupport.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace layertest {

namespace {

std::wstring quoted(const std::wstring &arg)
{
    // The tests' arguments hold no quotes and end in no backslash.
    return L"\"" + arg + L"\"";
}

} // namespace

std::wstring peerPath()
{
    std::wstring self(MAX_PATH * 4, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, &self[0], static_cast<DWORD>(self.size()));
    self.resize(length);
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"LayerPeerProcess.exe";
}

ChildProcess::~ChildProcess()
{
    terminate();
}

bool ChildProcess::startPeer(const std::vector<std::wstring> &args)
{
    terminate();
    const std::wstring program = peerPath();
    std::wstring commandLine = quoted(program);
    for (const std::wstring &arg : args)
        commandLine += L" " + quoted(arg);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    return true;
}

std::optional<unsigned long> ChildProcess::waitForExit(unsigned milliseconds)
{
    if (!m_process || WaitForSingleObject(m_process, milliseconds) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    CloseHandle(m_process);
    m_process = nullptr;
    return code;
}

unsigned long ChildProcess::processId() const
{
    return m_process ? GetProcessId(m_process) : 0;
}

void ChildProcess::terminate()
{
    if (!m_process)
        return;
    TerminateProcess(m_process, 1);
    WaitForSingleObject(m_process, 10000);
    CloseHandle(m_process);
    m_process = nullptr;
}

std::optional<unsigned long> runPeer(const std::vector<std::wstring> &args)
{
    ChildProcess peer;
    if (!peer.startPeer(args))
        return std::nullopt;
    return peer.waitForExit(30000);
}

ScratchFolder::ScratchFolder(const std::wstring &name)
{
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temporary);
    m_path = std::wstring(temporary) + L"layertest-" + std::to_wstring(GetCurrentProcessId()) +
             L"-" + std::to_wstring(GetTickCount64()) + L"\\" + name;
    std::filesystem::create_directories(m_path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(m_path).parent_path(), ignored);
}

std::string readFile(const std::wstring &path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::string> readLines(const std::wstring &path)
{
    std::vector<std::string> lines;
    std::istringstream text(readFile(path));
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

bool writeFile(const std::wstring &path, const std::string &bytes)
{
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    file << bytes;
    return static_cast<bool>(file.flush());
}

std::string utf8(const std::wstring &text)
{
    return std::filesystem::path(text).u8string();
}

bool waitUntil(const std::function<bool()> &condition, unsigned milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= end)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(20);
    }
}

} // namespace layertest
