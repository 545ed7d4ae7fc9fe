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

// Runs the test `filter` of this program again under the Unix locale `locale`, with the
// environment variables given set for it; its output once it ended, with its exit status
// in `nExit` (-1 when it did not end in time).
inline std::string Run(const char* locale, const std::string& filter,
                       const std::vector<std::pair<std::string, std::string>>& variables, int& nExit)
{
    char exe[MAX_PATH] = "", temp[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, exe, MAX_PATH);
    ::GetTempPathA(MAX_PATH, temp);
    // Files of this run alone: two runs from one build folder never read each other's.
    const std::string stem = std::string(temp) + "purgelet-codepage-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(::GetTickCount()) + "-" + locale;
    const std::string script = stem + ".sh", output = stem + ".out", status = stem + ".status";
    const std::string exeFolder = std::string(exe).substr(0, std::string(exe).find_last_of('\\'));
    const char kLocaleVariable[] = "PURGELET_CHILD_LOCALE";
    // A Wine process writes its user locale into the prefix's "Control Panel\International"
    // as it starts: once the child has ended, a process in this process's locale writes
    // this one's back before the status tells that the child is done.
    std::ofstream(script.c_str(), std::ios::binary)
        << "cd \"" << UnixPath(exeFolder) << "\" || exit 1\n"
        << "LC_ALL=\"$" << kLocaleVariable << "\" wine \"" << UnixPath(exe) << "\" --gtest_color=no --gtest_filter="
        << filter << " >\"" << UnixPath(output) << "\" 2>&1\n"
        << "child=$?\n"
        << "wine cmd /c exit 0 >/dev/null 2>&1\n"
        << "echo $child >\"" << UnixPath(status) << ".part\"\n"
        << "mv \"" << UnixPath(status) << ".part\" \"" << UnixPath(status) << "\"\n";

    const std::string sh = DosPath("/bin/sh");
    std::string command = "\"" + sh + "\" \"" + UnixPath(script) + "\"";
    ::SetEnvironmentVariableA(kLocaleVariable, locale);
    for (const auto& v : variables) ::SetEnvironmentVariableA(v.first.c_str(), v.second.c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = ::CreateProcessA(sh.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi);
    ::SetEnvironmentVariableA(kLocaleVariable, NULL);
    for (const auto& v : variables) ::SetEnvironmentVariableA(v.first.c_str(), NULL);
    // No handles come back for a Unix program: the record's handle fields then hold
    // stray values that may name handles of this process, so they are left alone.
    // A Wine start and a main window with a box, on a machine that may be busy.
    const bool bEnded =
        bStarted && testsupport::PumpUntil(
                        [&] { return ::GetFileAttributesA(status.c_str()) != INVALID_FILE_ATTRIBUTES; }, 180000);
    nExit = bEnded ? atoi(mainwindowtest::ReadFile(status).c_str()) : -1;
    const std::string text = mainwindowtest::ReadFile(output);
    for (const std::string& file : {script, output, status}) ::DeleteFileA(file.c_str());
    return text;
}

}  // namespace codepagechild
