// A tiny removal program for the main window's tests. Started as
//   test_uninstaller.exe <key below HKEY_CURRENT_USER> [<event name>]
// it waits (at most 20 s) for the named event when one is given, then deletes the key:
// the program's own Uninstall entry. Started without arguments, as the shell would
// start the file itself, it only leaves a marker file in the temporary folder so the
// test can see that it ran. Started as a witness,
//   test_uninstaller.exe --log <name> <milliseconds or event name> [<key below HKEY_CURRENT_USER>]
// it adds a line with the name to a log in the temporary folder as it starts, so the
// test reads which programs ran and in what order, runs for the time given (or until
// the named event is set, at most 20 s), then deletes the key when one is named.
#include <windows.h>
#include <string.h>
#include <wchar.h>

static void LeaveMarker()
{
    char path[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, path);
    strncat(path, "purgelet_test_uninstaller_ran.txt", MAX_PATH - strlen(path) - 1);
    HANDLE hFile = ::CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (hFile != INVALID_HANDLE_VALUE) ::CloseHandle(hFile);
}

static void LogRun(LPCWSTR name)
{
    wchar_t path[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, path);
    wcsncat(path, L"purgelet_test_uninstaller_log.txt", MAX_PATH - wcslen(path) - 1);
    HANDLE hFile = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return;
    char line[256];
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, name, -1, line, (int)sizeof(line) - 2, NULL, NULL);
    if (n > 0) {
        line[n - 1] = '\n';
        DWORD written = 0;
        ::WriteFile(hFile, line, (DWORD)n, &written, NULL);
    }
    ::CloseHandle(hFile);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == NULL || argc < 2) {
        LeaveMarker();
        return 0;
    }
    if (wcscmp(argv[1], L"--log") == 0 && argc >= 4) {
        LogRun(argv[2]);
        if (argv[3][0] >= L'0' && argv[3][0] <= L'9') {
            ::Sleep((DWORD)_wtoi(argv[3]));
        } else {
            HANDLE hEvent = ::OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
            if (hEvent != NULL) {
                ::WaitForSingleObject(hEvent, 20000);
                ::CloseHandle(hEvent);
            }
        }
        const LONG rc = argc >= 5 ? ::RegDeleteKeyW(HKEY_CURRENT_USER, argv[4]) : ERROR_SUCCESS;
        ::LocalFree(argv);
        return rc == ERROR_SUCCESS ? 0 : 1;
    }
    if (argc >= 3) {
        HANDLE hEvent = ::OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
        if (hEvent != NULL) {
            ::WaitForSingleObject(hEvent, 20000);
            ::CloseHandle(hEvent);
        }
    }
    LONG rc = ::RegDeleteKeyW(HKEY_CURRENT_USER, argv[1]);
    ::LocalFree(argv);
    return rc == ERROR_SUCCESS ? 0 : 1;
}
