// The other program in the Windows layer's tests: it plays the suite's Tutor Summary window,
// reads and writes the suite's settings with the registry calls of its own, and records how the
// shell started it. It shares no code with the layer, so a wrong title or registry path in the
// layer shows as a failure.
//
//   LayerPeerProcess window LOG [stall]   hidden window with the Tutor Summary's title; appends
//                                         "MESSAGE sent|posted WPARAM zero|pointer" per message
//                                         1074 to 1078 to LOG; with stall, 1074 takes 10 s
//   LayerPeerProcess read-setting KEY OUT writes the setting's string to OUT (exit 3: none)
//   LayerPeerProcess write-setting KEY VALUE
//   LayerPeerProcess record LOG ARG...    writes each ARG on a line of LOG
//   LayerPeerProcess linger               waits a minute
//   LayerPeerProcess install-printer NAME installs Wine's PostScript driver with layertest.ppd
//                                         (beside this program) and a printer NAME printing to
//                                         a file, and makes it the default (for a throw-away
//                                         Wine prefix only); with FILE, printing into FILE

#include "standinsupport.h"

#include <windows.h>
#include <shellapi.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring g_log;
bool g_stall = false;

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= 1074 && message <= 1078) {
        const bool sent = InSendMessage() != FALSE;
        if (message == 1074 && g_stall)
            Sleep(10000);
        standin::append(g_log, std::to_string(message) + (sent ? " sent " : " posted ") +
                                   std::to_string(wParam) +
                                   (lParam == 0 ? " zero\n" : " pointer\n"));
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int holdWindow(const std::wstring &log, bool stall)
{
    g_log = log;
    g_stall = stall;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LayerPeerTutorSummary";
    if (!RegisterClassW(&windowClass))
        return 2;
    // Never shown: the window exists only to be found and to receive.
    if (!CreateWindowExW(0, windowClass.lpszClassName, standin::kTutorSummaryTitle,
                         WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         windowClass.hInstance, nullptr))
        return 2;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

int readSetting(const std::wstring &key, const std::wstring &out)
{
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, standin::kSettingsKey, key.c_str(), RRF_RT_REG_SZ, nullptr,
                     nullptr, &size) != ERROR_SUCCESS)
        return 3;
    std::vector<wchar_t> value(size / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, standin::kSettingsKey, key.c_str(), RRF_RT_REG_SZ, nullptr,
                     value.data(), &size) != ERROR_SUCCESS)
        return 3;
    return standin::append(out, standin::utf8(value.data())) ? 0 : 2;
}

int writeSetting(const std::wstring &key, const std::wstring &value)
{
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_CURRENT_USER, standin::kSettingsKey, key.c_str(), REG_SZ,
                           value.c_str(), bytes) == ERROR_SUCCESS
               ? 0
               : 2;
}

int installPrinter(const std::wstring &name, std::wstring port)
{
    std::wstring driverName = L"Wine PostScript Driver";
    std::wstring environment = L"Windows x64";
    std::wstring driverFile = L"wineps.drv";
    // The spooler takes the driver's files from its own driver folder.
    std::wstring dataFile = L"layertest.ppd";
    wchar_t driverFolder[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE *>(driverFolder),
                                    sizeof(driverFolder), &needed) ||
        !CopyFileW(standin::besideThisProgram(dataFile).c_str(),
                   (std::wstring(driverFolder) + L"\\" + dataFile).c_str(), FALSE))
        return 2;
    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = &driverName[0];
    driver.pEnvironment = &environment[0];
    driver.pDriverPath = &driverFile[0];
    driver.pDataFile = &dataFile[0];
    driver.pConfigFile = &driverFile[0];
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE *>(&driver), APD_COPY_NEW_FILES))
        return 2;

    std::wstring printerName = name;
    std::wstring processor = L"WinPrint";
    std::wstring dataType = L"RAW";
    PRINTER_INFO_2W printer = {};
    printer.pPrinterName = &printerName[0];
    printer.pDriverName = &driverName[0];
    printer.pPortName = &port[0];
    printer.pPrintProcessor = &processor[0];
    printer.pDatatype = &dataType[0];
    const HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE *>(&printer));
    if (added)
        ClosePrinter(added);
    else if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS)
        return 2;
    return SetDefaultPrinterW(name.c_str()) ? 0 : 2;
}

} // namespace

int main()
{
    int count = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return 2;
    const std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    const std::wstring mode = count > 1 ? args[1] : std::wstring();

    if (mode == L"window" && count >= 3)
        return holdWindow(args[2], count >= 4 && args[3] == L"stall");
    if (mode == L"read-setting" && count == 4)
        return readSetting(args[2], args[3]);
    if (mode == L"write-setting" && count == 4)
        return writeSetting(args[2], args[3]);
    if (mode == L"record" && count >= 3) {
        std::string lines;
        for (int i = 3; i < count; ++i)
            lines += standin::utf8(args[static_cast<std::size_t>(i)]) + "\n";
        return standin::append(args[2], lines) ? 0 : 2;
    }
    if (mode == L"install-printer" && (count == 3 || count == 4))
        return installPrinter(args[2], count == 4 ? args[3] : L"FILE:");
    if (mode == L"linger") {
        Sleep(60000);
        return 0;
    }
    return 2;
}
