#pragma once

// Processes, folders and files for the Windows layer's tests.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace layertest {

// The path of LayerPeerProcess.exe, built beside the tests.
std::wstring peerPath();

// Runs until it ends or the object goes, which ends it.
class ChildProcess
{
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Starts the peer with `args` (each quoted); false when it could not start.
    bool startPeer(const std::vector<std::wstring> &args);
    // The exit code once it has ended within `milliseconds`, else nothing.
    std::optional<unsigned long> waitForExit(unsigned milliseconds);
    void terminate();
    unsigned long processId() const;

private:
    void *m_process = nullptr;
};

// Runs the peer to its end; its exit code, or nothing when it did not end in 30 s.
std::optional<unsigned long> runPeer(const std::vector<std::wstring> &args);

// A new empty folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder
{
public:
    explicit ScratchFolder(const std::wstring &name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const std::wstring &path() const { return m_path; }
    std::wstring file(const std::wstring &name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

std::string readFile(const std::wstring &path);
std::vector<std::string> readLines(const std::wstring &path);
bool writeFile(const std::wstring &path, const std::string &bytes);
std::string utf8(const std::wstring &text);

// Polls `condition` every 20 ms, pumping this thread's messages, for up to `milliseconds`.
bool waitUntil(const std::function<bool()> &condition, unsigned milliseconds = 20000);

} // namespace layertest
