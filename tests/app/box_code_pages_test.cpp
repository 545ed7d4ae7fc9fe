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
// How a code page is chosen: see code_page_child.h. On Windows a process cannot choose
// its code page: the test is skipped there.
#include "code_page_child.h"
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

// Runs the child test under the code page's locale; its output once it ended, with its
// exit status in `nExit` (-1 when it did not end in time).
std::string RunChild(const CodePage& cp, int& nExit)
{
    return codepagechild::Run(cp.locale, "BoxCodePagesTest.Child", {{kChildVariable, std::to_string(cp.nCodePage)}},
                              nExit);
}

}  // namespace

TEST(BoxCodePages, TheRemoveWarningFitsTheNameUnderEachCodePage)
{
    if (getenv(kChildVariable) != NULL) GTEST_SKIP();
    if (codepagechild::UnixPath("C:\\").empty()) GTEST_SKIP() << "a process chooses its ANSI code page only under Wine";
    // This process may have run the program before and hold its one-copy mutex: the
    // child's program must be the one copy.
    if (g_hPurgeletMutex != NULL) ::CloseHandle(g_hPurgeletMutex);
    g_hPurgeletMutex = NULL;
    const std::string locale = codepagechild::UserLocaleName();
    for (const CodePage& cp : kCodePages) {
        SCOPED_TRACE("code page " + std::to_string(cp.nCodePage) + " (" + cp.locale + ")");
        int nExit = -1;
        const std::string output = RunChild(cp, nExit);
        EXPECT_EQ(0, nExit) << output;
        // The child ran its test rather than skipping it.
        EXPECT_NE(std::string::npos, output.find("[       OK ] BoxCodePagesTest.Child")) << output;
        // The prefix's user settings are as the child found them.
        EXPECT_EQ(locale, codepagechild::UserLocaleName());
    }
}
