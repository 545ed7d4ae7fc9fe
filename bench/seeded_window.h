#pragma once
// Runs the program's main window over a registry of its own: the Uninstall key seeded with
// the benchmark's plain entries, the user's groups file kept and put back, and a timer
// that drives the benchmark from inside the window's modal loop.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include "app/purgelet_app.h"
#include "support/registry_sandbox.h"
#include "bench/registry_bench.h"
#include "bench/window_bench.h"

// False when the registry roots cannot be redirected (said on the output); otherwise the
// window ran until the drive closed it.
inline bool RunSeededMainWindow(CWinApp& app, const char* mark, int entries, TIMERPROC drive)
{
    AfxWinInit(::GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    testsupport::RegistrySandbox box;
    if (!box.Override(HKEY_CURRENT_USER, "HKCU") || !box.Override(HKEY_LOCAL_MACHINE, "HKLM")) {
        std::printf("could not redirect the registry roots\n");
        return false;
    }
    SeedPlainEntries(mark, entries);
    const BenchFileKept groupsFile(GetGroupsFilePath());
    ::SetTimer(NULL, 0, 1, drive);
    app.InitInstance();
    MSG quit;
    ::PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
    box.RestoreOverrides();
    groupsFile.Restore();
    return true;
}
