// The Remove warning's shortened name under ANSI code pages whose characters the message
// font's own character set does not give: a Hebrew name with its points (1255), a
// Vietnamese name written with combining accents and a name of many combining marks
// (1258), long Japanese (932) and Chinese (936) names. In each, through the real main
// window and its real box: the line that ends in "..." is a start of the name cut between
// whole characters (never inside a double-byte one, never between a letter and its
// marks), its extent and every pixel it covers lie inside the box's text control as the
// box draws it and within half the narrowest work area, and the box lies inside the work
// area.
//
// How a code page is chosen: under Wine 8 a process's ANSI code page follows the Unix
// locale that LC_ALL names in the environment of the Wine process that started it (the
// locale need not be installed). Neither the prefix's registry value
// HKLM\System\CurrentControlSet\Control\Nls\CodePage "ACP" (Wine does not read it)
// nor an environment block given to CreateProcess changes it for a Windows child,
// which keeps its parent's locale. A Unix program started through CreateProcess gets that
// environment block as its own environment, so the parent starts /bin/sh, and the shell
// starts this test program again under Wine with LC_ALL set and only the child test. Such
// a start gives no process handle (the record CreateProcess fills holds stray values):
// the shell writes the child's exit status into a file of its own once the child has
// ended, and the parent waits for that file. On Windows a process cannot choose its
// code page: the test is skipped there.
#include "main_window_fixture.h"
#include "owned_box.h"
#include "app/purgelet_app.h"
#include "res/resource.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include "support/wide_key_names.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using mainwindowtest::FocusIn;
using mainwindowtest::List;
using mainwindowtest::ReadRemoveWarningOfFirstRow;
using testsupport::RegistrySandbox;
using namespace testsupport::widekeys;

namespace {

const char kChildVariable[] = "PURGELET_CODE_PAGE_CHILD";

struct NameCase
{
    const char* what;
    const wchar_t* piece;  // the name is this, repeated
    int nRepeats;
};

struct CodePage
{
    UINT nCodePage;
    const char* locale;  // the Unix locale whose code page it is
    std::vector<NameCase> names;
};

const CodePage kCodePages[] = {
    // "שָׁלוֹם ": shin with its dot and qamats, lamed, vav with holam, final mem.
    {1255, "he_IL.UTF-8", {{"a Hebrew name with its points", L"\x05E9\x05C1\x05B8\x05DC\x05D5\x05B9\x05DD ", 80}}},
    // "Tiếng Việt ", each accented letter an "ê" and a combining accent (as code page
    // 1258 writes them); then letters that carry three and four marks each. The font's
    // character set reads a mark's byte as a narrow letter ("ì"), so a cut measured that
    // way ran the box past the screen.
    {1258,
     "vi_VN.UTF-8",
     {{"a Vietnamese name with combining accents", L"Ti\x00EA\x0301ng Vi\x00EA\x0323t ", 60},
      {"a name of many combining marks", L"a\x0300\x0301\x0303", 300},
      {"letters under four acute accents each", L"e\x0301\x0301\x0301\x0301", 200}}},
    // "日本語ソフト表ｿﾌﾄ": "表" is 95 5C, a trail byte that reads as a backslash; the
    // half-width katakana are single bytes among the double-byte characters.
    {932,
     "ja_JP.UTF-8",
     {{"a long Japanese name", L"\x65E5\x672C\x8A9E\x30BD\x30D5\x30C8\x8868\xFF7F\xFF8C\xFF84", 50}}},
    // "中文软件工具"
    {936, "zh_CN.UTF-8", {{"a long Chinese name", L"\x4E2D\x6587\x8F6F\x4EF6\x5DE5\x5177", 60}}},
};

// Whether a character is drawn onto the one before it, in the ranges the names above use.
bool IsCombining(wchar_t c) { return (c >= 0x0300 && c <= 0x036F) || (c >= 0x0591 && c <= 0x05C7); }

std::wstring Repeated(const wchar_t* piece, int nTimes)
{
    std::wstring s;
    for (int i = 0; i < nTimes; ++i) s += piece;
    return s;
}

// ---- the child: one code page, its names in real boxes ------------------------------------

class BoxCodePagesTest : public mainwindowtest::NoGroupsFixture
{
};

TEST_F(BoxCodePagesTest, Child)
{
    const char* pszCodePage = getenv(kChildVariable);
    if (pszCodePage == NULL) GTEST_SKIP() << "run by BoxCodePages.TheRemoveWarningFitsTheNameUnderEachCodePage";
    const UINT nCodePage = (UINT)atoi(pszCodePage);
    ASSERT_EQ(nCodePage, ::GetACP()) << "the child runs under the code page it was started for";
    const CodePage* pCodePage = NULL;
    for (const CodePage& cp : kCodePages)
        if (cp.nCodePage == nCodePage) pCodePage = &cp;
    ASSERT_TRUE(pCodePage != NULL);

    for (const NameCase& k : pCodePage->names) {
        SCOPED_TRACE(k.what);
        const std::wstring name = Repeated(k.piece, k.nRepeats);
        const std::wstring key = kUninstallPathW + L"CodePageName";
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, key);
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, key, L"DisplayName", name));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, key, "UninstallString", "none_such.exe"));
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            // The only program: the user picks its row.
            ASSERT_TRUE(FocusIn(List(dlg)));
            ASSERT_EQ(1, List(dlg).GetItemCount());
            ASSERT_EQ(ownedbox::AnsiOf(name), std::string((LPCSTR)List(dlg).GetItemText(0, 0)));
            mainwindowtest::ShownRemoveWarning warning;
            ASSERT_NO_FATAL_FAILURE(ReadRemoveWarningOfFirstRow(dlg, warning));
            ASSERT_TRUE(warning.bFound);
            const ownedbox::ShownNameLine& shown = warning.shown;

            const std::wstring& line = shown.wline;
            ASSERT_GT(line.size(), 13u);
            EXPECT_EQ(L"...", line.substr(line.size() - 3));
            // A start of the name, whole characters only: a double-byte character taken
            // apart would read as another character, and a letter never loses its marks.
            const std::wstring kept = line.substr(0, line.size() - 3);
            EXPECT_EQ(name.substr(0, kept.size()), kept);
            ASSERT_LT(kept.size(), name.size());
            EXPECT_FALSE(IsCombining(name[kept.size()])) << "cut at " << kept.size();
            // As the box draws it: inside its text control, and on screen not clipped
            // before the drawing of it ends. (Wine places a right-to-left run and the
            // "..." after it on screen a pixel or two off its drawing into a bitmap.)
            EXPECT_LE(shown.nExtent, shown.nClientWidth);
            EXPECT_LT(shown.nDrawnRight, shown.nClientWidth);
            EXPECT_GE(shown.nScreenRight, shown.nDrawnRight - 1);
            EXPECT_LT(shown.nScreenRight, shown.nClientWidth);
            EXPECT_LE(std::max(shown.nExtent, shown.nDrawnRight + 1), ownedbox::HalfNarrowestWorkArea(dlg.m_hWnd));
            // The box inside the work area of its monitor.
            MONITORINFO mi;
            mi.cbSize = sizeof(mi);
            ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromRect(&warning.rect, MONITOR_DEFAULTTONEAREST), &mi));
            EXPECT_GE(warning.rect.left, mi.rcWork.left);
            EXPECT_LE(warning.rect.right, mi.rcWork.right);
            EXPECT_GE(warning.rect.top, mi.rcWork.top);
            EXPECT_LE(warning.rect.bottom, mi.rcWork.bottom);
        }));
    }
}

// ---- the parent: a child process per code page --------------------------------------------

// A path the other way round, through the functions Wine exports for it; "" outside Wine.
std::string UnixPath(const std::string& dos)
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
std::string DosPath(const char* unix)
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
std::string UserLocaleName()
{
    char name[LOCALE_NAME_MAX_LENGTH] = "";
    DWORD nSize = sizeof(name);
    ::RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\International", "LocaleName", RRF_RT_REG_SZ, NULL, name, &nSize);
    return name;
}

// Runs the child test under the code page's locale; its output once it ended, with its
// exit status in `nExit` (-1 when it did not end in time).
std::string RunChild(const CodePage& cp, int& nExit)
{
    char exe[MAX_PATH] = "", temp[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, exe, MAX_PATH);
    ::GetTempPathA(MAX_PATH, temp);
    // Files of this run alone: two runs from one build folder never read each other's.
    const std::string stem = std::string(temp) + "purgelet-codepage-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(::GetTickCount()) + "-" + std::to_string(cp.nCodePage);
    const std::string script = stem + ".sh", output = stem + ".out", status = stem + ".status";
    const std::string exeFolder = std::string(exe).substr(0, std::string(exe).find_last_of('\\'));
    // A Wine process writes its user locale into the prefix's "Control Panel\International"
    // as it starts: once the child has ended, a process in this process's locale writes
    // this one's back before the status tells that the child is done.
    std::ofstream(script.c_str(), std::ios::binary)
        << "cd \"" << UnixPath(exeFolder) << "\" || exit 1\n"
        << "LC_ALL=\"$" << kChildVariable << "_LOCALE\" wine \"" << UnixPath(exe)
        << "\" --gtest_color=no --gtest_filter=BoxCodePagesTest.Child >\"" << UnixPath(output) << "\" 2>&1\n"
        << "child=$?\n"
        << "wine cmd /c exit 0 >/dev/null 2>&1\n"
        << "echo $child >\"" << UnixPath(status) << ".part\"\n"
        << "mv \"" << UnixPath(status) << ".part\" \"" << UnixPath(status) << "\"\n";

    const std::string sh = DosPath("/bin/sh");
    std::string command = "\"" + sh + "\" \"" + UnixPath(script) + "\"";
    ::SetEnvironmentVariableA((std::string(kChildVariable) + "_LOCALE").c_str(), cp.locale);
    ::SetEnvironmentVariableA(kChildVariable, std::to_string(cp.nCodePage).c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = ::CreateProcessA(sh.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi);
    ::SetEnvironmentVariableA((std::string(kChildVariable) + "_LOCALE").c_str(), NULL);
    ::SetEnvironmentVariableA(kChildVariable, NULL);
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

}  // namespace

TEST(BoxCodePages, TheRemoveWarningFitsTheNameUnderEachCodePage)
{
    if (getenv(kChildVariable) != NULL) GTEST_SKIP();
    if (UnixPath("C:\\").empty()) GTEST_SKIP() << "a process chooses its ANSI code page only under Wine";
    // This process may have run the program before and hold its one-copy mutex: the
    // child's program must be the one copy.
    if (g_hPurgeletMutex != NULL) ::CloseHandle(g_hPurgeletMutex);
    g_hPurgeletMutex = NULL;
    const std::string locale = UserLocaleName();
    for (const CodePage& cp : kCodePages) {
        SCOPED_TRACE("code page " + std::to_string(cp.nCodePage) + " (" + cp.locale + ")");
        int nExit = -1;
        const std::string output = RunChild(cp, nExit);
        EXPECT_EQ(0, nExit) << output;
        // The child ran its test rather than skipping it.
        EXPECT_NE(std::string::npos, output.find("[       OK ] BoxCodePagesTest.Child")) << output;
        // The prefix's user settings are as the child found them.
        EXPECT_EQ(locale, UserLocaleName());
    }
}
