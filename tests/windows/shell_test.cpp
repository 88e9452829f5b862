// Opening a document with its associated program, and the open-with chooser's command line.
#include "testsupport.h"
#include "win32processes.h"
#include "win32shell.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

using namespace layertest;

namespace {

bool setDefaultValue(const std::wstring &key, const std::wstring &value)
{
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(), bytes) ==
           ERROR_SUCCESS;
}

// Makes the peer the program that opens ".layertest" documents; it records its arguments. Wine
// looks associations up in the machine's classes only, which the throw-away prefix lets us write.
bool associateWithPeer(const std::wstring &log)
{
    return setDefaultValue(L".layertest", L"LayerTest.Document") &&
           setDefaultValue(L"LayerTest.Document\\shell\\open\\command",
                           L"\"" + peerPath() + L"\" record \"" + log + L"\" \"%1\"");
}

void endChoosers()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL found = Process32FirstW(snapshot, &entry); found;
         found = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, L"rundll32.exe") != 0)
            continue;
        const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
        if (process) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

} // namespace

TEST(ShellOpen, ReachesTheAssociatedProgramWithAPathHoldingBlanks)
{
    ScratchFolder folder(L"previous forms");
    const std::wstring log = folder.file(L"opened.log");
    ASSERT_TRUE(associateWithPeer(log));
    const std::wstring document = folder.file(L"TMA 01 marked by tutor.layertest");
    ASSERT_TRUE(writeFile(document, "{\\rtf1}"));

    std::wstring error;
    ASSERT_TRUE(winplatform::shellOpen(0, document, &error)) << utf8(error);
    ASSERT_TRUE(waitUntil([&log] { return !readLines(log).empty(); }));
    EXPECT_EQ(readLines(log), std::vector<std::string>{utf8(document)});
}

TEST(OpenWith, TheChooserTakesThePathUnquotedAfterItsEntry)
{
    EXPECT_EQ(winplatform::openWithCommandLine(L"C:\\Tutor folder\\TMA01 (copy).rtf"),
              L"rundll32.exe shell32.dll,OpenAs_RunDLL C:\\Tutor folder\\TMA01 (copy).rtf");
}

TEST(OpenWith, StartsTheSystemsChooser)
{
    ScratchFolder folder(L"choose");
    const std::wstring document = folder.file(L"monitor comments.rtf");
    ASSERT_TRUE(writeFile(document, "{\\rtf1}"));
    // Wine's chooser entry is a stub that returns at once; Windows waits for the monitor's choice.
    EXPECT_TRUE(winplatform::showOpenWith(document));
    endChoosers();
}
