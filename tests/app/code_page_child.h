// A child test run under another ANSI code page. Under Wine 8 a process's ANSI code page
// follows the Unix locale that LC_ALL names in the environment of the Wine process that
// started it (the locale need not be installed); neither the prefix's registry nor an
// environment block given to CreateProcess changes it for a Windows child. A Unix program
// started through CreateProcess gets that block as its own environment, so the parent
// starts /bin/sh, and the shell starts this test program again under Wine with LC_ALL set
// and only the child test. Such a start gives no process handle (the record CreateProcess
// fills holds stray values): the shell writes the child's exit status into a file of its
// own once the child has ended, and the parent waits for that file.
#pragma once
#include "main_window_fixture.h"
#include "support/message_pump.h"
#include <windows.h>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace codepagechild {

// A path the other way round, through the functions Wine exports for it; "" outside Wine.
inline std::string UnixPath(const std::string& dos)
{
    typedef char*(CDECL * UnixFileNameFn)(LPCWSTR);
    const UnixFileNameFn pfn =
        (UnixFileNameFn)(void*)::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    WCHAR wide[MAX_PATH] = L"";
    ::MultiByteToWideChar(CP_ACP, 0, dos.c_str(), -1, wide, MAX_PATH);
    char* psz = pfn != NULL ? pfn(wide) : NULL;
    const std::string unix = psz != NULL ? psz : "";
    if (psz != NULL) ::HeapFree(::GetProcessHeap(), 0, psz);
    return unix;
}
inline std::string DosPath(const char* unix)
{
    typedef WCHAR*(CDECL * DosFileNameFn)(LPCSTR);
    const DosFileNameFn pfn =
        (DosFileNameFn)(void*)::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name");
    WCHAR* psz = pfn != NULL ? pfn(unix) : NULL;
    char dos[MAX_PATH] = "";
    if (psz != NULL) ::WideCharToMultiByte(CP_ACP, 0, psz, -1, dos, MAX_PATH, NULL, NULL);
    if (psz != NULL) ::HeapFree(::GetProcessHeap(), 0, psz);
    return dos;
}

// The user locale the prefix's settings name.
inline std::string UserLocaleName()
{
    char name[LOCALE_NAME_MAX_LENGTH] = "";
    DWORD nSize = sizeof(name);
    ::RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\International", "LocaleName", RRF_RT_REG_SZ, NULL, name, &nSize);
    return name;
}

// One start of the child: its output (with a note of what the shell said, when it said
// anything) and its exit status, -1 when it did not end in time.
struct Start
{
    std::string output;
    int nExit = -1;
};

inline Start StartOnce(const char* locale, const std::string& filter,
                       const std::vector<std::pair<std::string, std::string>>& variables)
{
    char exe[MAX_PATH] = "", temp[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, exe, MAX_PATH);
    ::GetTempPathA(MAX_PATH, temp);
    // Files of this start alone: two runs from one build folder never read each other's.
    static int nStarts = 0;
    const std::string stem = std::string(temp) + "purgelet-codepage-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(::GetTickCount()) + "-" + std::to_string(++nStarts) + "-" + locale;
    const std::string script = stem + ".sh", output = stem + ".out", status = stem + ".status", said = stem + ".said";
    const std::string exeFolder = std::string(exe).substr(0, std::string(exe).find_last_of('\\'));
    const char kLocaleVariable[] = "PURGELET_CHILD_LOCALE";
    // A Wine process writes its user locale into the prefix's "Control Panel\International"
    // as it starts: once the child has ended, a process in this process's locale writes
    // this one's back before the status tells that the child is done. The status is written
    // however the shell ends (125: it could not enter the program's folder), and what the
    // shell itself said is kept. The child's Wine reports its errors (only they, not its
    // notes of missing features), so that a start Wine could not make says why.
    std::ofstream(script.c_str(), std::ios::binary)
        << "exec 2>\"" << UnixPath(said) << "\"\n"
        << "done_with() { echo \"$1\" >\"" << UnixPath(status) << ".part\" && mv \"" << UnixPath(status) << ".part\" \""
        << UnixPath(status) << "\"; exit; }\n"
        << "cd \"" << UnixPath(exeFolder) << "\" || done_with 125\n"
        << "LC_ALL=\"$" << kLocaleVariable << "\" WINEDEBUG=fixme-all wine \"" << UnixPath(exe)
        << "\" --gtest_color=no --gtest_filter=" << filter << " >\"" << UnixPath(output) << "\" 2>&1\n"
        << "child=$?\n"
        << "wine cmd /c exit 0 >/dev/null 2>&1\n"
        << "done_with $child\n";

    const std::string sh = DosPath("/bin/sh");
    std::string command = "\"" + sh + "\" \"" + UnixPath(script) + "\"";
    ::SetEnvironmentVariableA(kLocaleVariable, locale);
    for (const auto& v : variables) ::SetEnvironmentVariableA(v.first.c_str(), v.second.c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = ::CreateProcessA(sh.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi);
    const DWORD nStartError = ::GetLastError();
    ::SetEnvironmentVariableA(kLocaleVariable, NULL);
    for (const auto& v : variables) ::SetEnvironmentVariableA(v.first.c_str(), NULL);
    // No handles come back for a Unix program: the record's handle fields then hold
    // stray values that may name handles of this process, so they are left alone.
    // A Wine start and a main window with a box, on a machine that may be busy.
    const bool bEnded =
        bStarted && testsupport::PumpUntil(
                        [&] { return ::GetFileAttributesA(status.c_str()) != INVALID_FILE_ATTRIBUTES; }, 180000);
    Start start;
    start.nExit = bEnded ? atoi(mainwindowtest::ReadFile(status).c_str()) : -1;
    start.output = mainwindowtest::ReadFile(output);
    if (!bStarted)
        start.output = "/bin/sh could not be started (error " + std::to_string(nStartError) + ")\n";
    else if (::GetFileAttributesA(output.c_str()) == INVALID_FILE_ATTRIBUTES)
        start.output = "(the child wrote no output file)\n";
    const std::string shellSaid = mainwindowtest::ReadFile(said);
    if (!shellSaid.empty()) start.output += "the shell said: " + shellSaid;
    for (const std::string& file : {script, output, status, said}) ::DeleteFileA(file.c_str());
    return start;
}

// Runs the test `filter` of this program again under the Unix locale `locale`, with the
// environment variables given set for it; its output once it ended, with its exit status
// in `nExit` (-1 when it did not end in time). A child that ended before it ran a test (on a
// busy machine, Wine may fail to start a program) is started again, twice at most; the
// output then begins with what became of the starts before.
inline std::string Run(const char* locale, const std::string& filter,
                       const std::vector<std::pair<std::string, std::string>>& variables, int& nExit)
{
    std::string before;
    for (int nStart = 1;; ++nStart) {
        const Start start = StartOnce(locale, filter, variables);
        nExit = start.nExit;
        if (start.output.find("[==========] Running") != std::string::npos || start.nExit == -1)
            return before + start.output;
        before += "start " + std::to_string(nStart) + " of the child ended with code " + std::to_string(start.nExit) +
                  " before it ran a test; its output:\n" + (start.output.empty() ? "(none)\n" : start.output);
        if (nStart == 3) return before;
    }
}

}  // namespace codepagechild
