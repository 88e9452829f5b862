// ZuruzovIrurEdar.exe: the Windows stand-in for the suite's file handler, for demos and tests
// under Wine; not part of the product. Like the file handler it stores the monitor root folder in
// the registry and starts the Monitor Entry Form with five words, and it runs until the form ends
// (the form ends at once when no process of this name runs).
//
//   ZuruzovIrurEdar --root ROOT [--form PATH] TUTOR COURSE PRESENTATION TMA FOLDER
//
// ROOT gains a closing "\" when it has none; PATH defaults to MonitorForm.exe beside this program.
// The exit status is the form's, 127 when it cannot be started, 2 on a wrong command line.
#include "standinsupport.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFormNotStarted = 127;
constexpr std::size_t kWordCount = 5;

bool storeRoot(const std::wstring &root)
{
    const auto bytes = static_cast<DWORD>((root.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_CURRENT_USER, standin::kSettingsKey,
                           L"quillet_monitor_root_directory", REG_SZ, root.c_str(),
                           bytes) == ERROR_SUCCESS;
}

int usage(const std::string &problem)
{
    standin::report("ZuruzovIrurEdar: " + problem);
    standin::report("usage: ZuruzovIrurEdar --root ROOT [--form PATH] TUTOR COURSE PRESENTATION "
                    "TMA FOLDER");
    return kExitUsage;
}

} // namespace

int main()
{
    const std::vector<std::wstring> args = standin::arguments();
    std::wstring root;
    std::wstring form = standin::besideThisProgram(L"MonitorForm.exe");
    std::wstring words;
    std::size_t wordCount = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--root" || args[i] == L"--form") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return usage(standin::utf8(args[i]) + " needs a value");
            std::wstring &value = args[i] == L"--root" ? root : form;
            value = args[++i];
        } else if (args[i].empty() || args[i].find_first_of(L" \t") != std::wstring::npos) {
            return usage("the word \"" + standin::utf8(args[i]) + "\" is empty or holds a blank");
        } else {
            words += L' ' + args[i];
            ++wordCount;
        }
    }
    if (root.empty() || wordCount != kWordCount)
        return usage("--root and five words are needed");
    if (root.back() != L'\\')
        root += L'\\';
    if (!storeRoot(root))
        standin::report("ZuruzovIrurEdar: warning: the root folder could not be stored");

    // The form splits its command line at blanks, as the suite passes it: no quoting.
    std::wstring commandLine = L"\"" + form + L"\"" + words;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(form.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        standin::report("ZuruzovIrurEdar: cannot start " + standin::utf8(form));
        return kExitFormNotStarted;
    }
    standin::report("ZuruzovIrurEdar: stand-in for the suite's file handler (demos and tests "
                    "only), root " +
                    standin::utf8(root) + ", started " + standin::utf8(form) +
                    standin::utf8(words));
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}
