// A tiny removal program for the main window's tests. Started as
//   test_uninstaller.exe <key below HKEY_CURRENT_USER> [<event name>]
// it waits (at most 20 s) for the named event when one is given, then deletes the key:
// the program's own Uninstall entry. Started without arguments, as the shell would
// start the file itself, it only leaves a marker file in the temporary folder so the
// test can see that it ran.
#include <windows.h>
#include <string.h>

static void LeaveMarker()
{
    char path[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, path);
    strncat(path, "purgelet_test_uninstaller_ran.txt", MAX_PATH - strlen(path) - 1);
    HANDLE hFile = ::CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (hFile != INVALID_HANDLE_VALUE) ::CloseHandle(hFile);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == NULL || argc < 2) {
        LeaveMarker();
        return 0;
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
