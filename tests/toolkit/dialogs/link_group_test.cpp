// The hyperlink button (colours, address tests, the association's command line, error
// texts) and the group box's frame styles and caption gap.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "toolkit/dialogs/hyperlink_button.h"
#include "toolkit/dialogs/group_box.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include "popup_parent_test.h"

using namespace testsupport;

namespace {

class LinkGroupTest : public PopupParentTest
{
protected:
    void DestroyControls() override
    {
        DestroyIfOpen(m_link);
        DestroyIfOpen(m_group);
    }
    HWND MakeButton(DWORD dwStyle, const char* text, int cx, int cy)
    {
        return ::CreateWindowA("BUTTON", text, WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, cx, cy, m_hParent, NULL,
                               ::GetModuleHandle(NULL), NULL);
    }
    COLORREF Sys(int n) { return g_CurrentPaintManager.GetPM()->LookupColor(n); }
    CExtHyperLinkButton m_link;
    CExtGroupBox m_group;
};

const COLORREF kBack = RGB(10, 200, 30);

// Records the order in which the three ways are tried; the way named m_cSucceeds works.
class CRecordingLink : public CExtHyperLinkButton
{
public:
    std::string m_tried;
    char m_cSucceeds = 0;
    bool m_bAllErrorsOff = true;
    bool Try(char c, bool bShowError)
    {
        m_tried += c;
        m_bAllErrorsOff = m_bAllErrorsOff && !bShowError;
        return c == m_cSucceeds;
    }
    bool OpenWithInternetShortcut(LPCTSTR, int, bool b) override { return Try('I', b); }
    bool OpenWithShellExecute(LPCTSTR, int, bool b) override { return Try('S', b); }
    bool OpenWithAssociation(LPCTSTR, int, bool b) override { return Try('A', b); }
};

}  // namespace

TEST_F(LinkGroupTest, LinkColoursFollowTheState)
{
    struct Case { bool visited, enabled, focused, hover, pushed; COLORREF expected; const char* name; } cases[] = {
        {false, true, false, false, false, RGB(0, 0, 255), "normal"},
        {true, true, false, false, false, RGB(128, 0, 128), "visited"},
        {true, true, false, true, false, RGB(255, 0, 0), "visited and hovered"},
        {false, true, true, false, false, RGB(255, 0, 0), "focused"},
        {false, true, false, false, true, RGB(255, 0, 0), "pushed"},
        {true, false, false, true, false, Sys(COLOR_BTNSHADOW), "disabled"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, m_link.GetLinkTextColor(c.visited, c.enabled, true, c.focused, c.hover, c.pushed))
            << c.name;
    m_link.m_clrVisited = COLORREF(-1L);
    EXPECT_EQ(Sys(COLOR_BTNTEXT), m_link.GetLinkTextColor(true, true, false, false, false, false));
    EXPECT_EQ(0, m_link.m_nKeyFlags & 0x01) << "a link ignores its mnemonic";
}

TEST_F(LinkGroupTest, WebAddressesAndClickTarget)
{
    struct Case { const char* url; bool web; } cases[] = {
        {"http://a", true}, {"HTTP://a", true}, {"file://c/x", true}, {"www.a.example", true},
        {"Web.a", true},    {"https://a", false}, {"mailto:x@y", false}, {"c:\\a.txt", false}, {"ww", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.web, CExtHyperLinkButton::IsWebAddress(c.url)) << c.url;

    ASSERT_TRUE(m_link.SubclassWindow(MakeButton(BS_PUSHBUTTON, "  www.purgelet.example \t", 120, 20)));
    EXPECT_STREQ("www.purgelet.example", m_link.GetClickTarget());
    m_link.m_strURL = "mailto:support@purgelet.example";
    EXPECT_STREQ("mailto:support@purgelet.example", m_link.GetClickTarget());
}

TEST_F(LinkGroupTest, OpeningTriesTheWaysInOrderAndMarksVisited)
{
    struct Case { const char* url; char succeeds; const char* tried; bool visited; } cases[] = {
        {"www.purgelet.example", 0, "AIS", false},
        {"http://purgelet.example/", 'I', "AI", true},
        {"mailto:support@purgelet.example", 0, "ISA", false},
        {"C:\\readme.txt", 'S', "IS", true},
    };
    for (const Case& c : cases)
    {
        CRecordingLink link;
        link.m_cSucceeds = c.succeeds;
        link.m_strURL = c.url;
        link.OnButtonClick(false, false);
        EXPECT_EQ(c.tried, link.m_tried) << c.url;
        EXPECT_TRUE(link.m_bAllErrorsOff) << "a click shows no error box: " << c.url;
        EXPECT_EQ(c.visited, (link.m_nLinkFlags & CExtHyperLinkButton::LINK_VISITED) != 0) << c.url;
    }
}

TEST_F(LinkGroupTest, ErrorReasons)
{
    struct Case { int code; const char* text; } cases[] = {
        {0, "OS is out of memory or resources."},
        {31, "There is no application associated with the given filename extension."},
        {32, "DLL was not found."},
        {4, "Unknown Error (4=0x4) occurred."},
        {17, "Unknown Error (17=0x11) occurred."},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, CExtHyperLinkButton::GetErrorReason(c.code)) << c.code;
}

TEST_F(LinkGroupTest, AssociationCommandLineIsQuotedAndBounded)
{
    struct Case { const char* cmd; const char* url; bool ok; const char* line; } cases[] = {
        {"\"C:\\b.exe\" -nohome \"%1\"", "http://a.example/", true, "\"C:\\b.exe\" -nohome  \"http://a.example/\""},
        {"C:\\b.exe %1 -x", "www.a", true, "C:\\b.exe  \"www.a\""},
        {"C:\\b.exe", "www.a", true, "C:\\b.exe \"www.a\""},
        {"C:\\b.exe %1", "www.a\" & calc", false, ""},
        {"C:\\b.exe %1", "www.a\r\nx", false, ""},
        {"C:\\b.exe %1", "", false, ""},
    };
    for (const Case& c : cases)
    {
        CString sLine;
        EXPECT_EQ(c.ok, CExtHyperLinkButton::BuildAssociationCommand(c.cmd, c.url, sLine)) << c.url;
        if (c.ok)
        {
            EXPECT_STREQ(c.line, sLine) << c.url;
        }
    }
    CString sLong('w', 516), sLine;
    EXPECT_TRUE(CExtHyperLinkButton::BuildAssociationCommand("b %1", sLong, sLine));
    EXPECT_EQ(521, sLine.GetLength());
    sLong += "w";
    EXPECT_FALSE(CExtHyperLinkButton::BuildAssociationCommand("b %1", sLong, sLine)) << "does not fit 522";
}

TEST_F(LinkGroupTest, AssociationCommandIsReadBoundedFromClassesRoot)
{
    RegistrySandbox sandbox;
    HKEY hTarget = NULL;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(sandbox.Root(), "hkcr", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hTarget, NULL));
    ASSERT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(HKEY_CLASSES_ROOT, hTarget));
    CString sCmd;
    EXPECT_FALSE(CExtHyperLinkButton::ReadAssociationCommand(0, sCmd)) << "no .htm key";
    RegistrySandbox::SetString(hTarget, ".htm", NULL, "pgtest.file");
    RegistrySandbox::SetString(hTarget, "pgtest.file\\shell\\open\\command", NULL, "viewer.exe \"%1\"");
    // 300 bytes with no terminator: only 260 are read.
    std::string sRaw(300, 'x');
    RegistrySandbox::SetBinary(hTarget, "pgtest.file\\shell\\edit\\command", NULL, sRaw.data(), 300, REG_SZ);
    RegistrySandbox::SetDword(hTarget, "pgtest.file\\shell\\print\\command", NULL, 7);
    EXPECT_TRUE(CExtHyperLinkButton::ReadAssociationCommand(0, sCmd));
    EXPECT_STREQ("viewer.exe \"%1\"", sCmd);
    bool bEdit = CExtHyperLinkButton::ReadAssociationCommand(1, sCmd);
    EXPECT_TRUE(!bEdit || sCmd.GetLength() <= 260) << sCmd.GetLength();
    EXPECT_FALSE(CExtHyperLinkButton::ReadAssociationCommand(2, sCmd)) << "a number is no command";
    EXPECT_FALSE(CExtHyperLinkButton::ReadAssociationCommand(3, sCmd)) << "unknown verb";
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, NULL);
    ::RegCloseKey(hTarget);
}

TEST_F(LinkGroupTest, FocusBoxFollowsAlignment)
{
    CRect rc(2, 2, 98, 18);
    struct Case { int align; CRect expected; } cases[] = {
        {0, CRect(0, 2, 44, 17)},
        {1, CRect(26, 2, 70, 17)},
        {2, CRect(52, 2, 96, 17)},
    };
    for (const Case& c : cases)
    {
        m_link.m_nTextAlign = c.align;
        EXPECT_EQ(c.expected, m_link.CalcFocusRect(rc, CSize(40, 12))) << c.align;
    }
}

TEST_F(LinkGroupTest, LinkPaintsOnlyItsText)
{
    ASSERT_TRUE(m_link.SubclassWindow(MakeButton(BS_PUSHBUTTON, "WWWWWWWW", 120, 20)));
    m_link.m_clrBackground = kBack;
    DibCanvas canvas(120, 20, RGB(1, 1, 1));
    m_link.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.Dc(), PRF_CLIENT);
    int nBlue = 0, nBack = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 20; ++y)
        {
            nBlue += canvas.Pixel(x, y) == RGB(0, 0, 255);
            nBack += canvas.Pixel(x, y) == kBack;
        }
    EXPECT_GT(nBlue, 20);
    EXPECT_EQ(120 * 20, nBlue + nBack) << "no button face";
}

TEST_F(LinkGroupTest, GroupBoxFramesAndCaptionGap)
{
    HFONT hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    HDC hdc = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    RECT rcText = {0, 0, 0, 0};
    ::DrawTextA(hdc, "Wg", -1, &rcText, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(NULL, hdc);
    const int w = rcText.right, h2 = rcText.bottom / 2, xc = (100 - 18 - w) / 2;
    const COLORREF shadow = Sys(COLOR_BTNSHADOW), window = Sys(COLOR_WINDOW);
    struct Point { int x, y; COLORREF clr; };
    struct Case { int style; int align; const char* text; std::vector<Point> points; } cases[] = {
        {3, 0, "", {{0, 6, shadow}, {0, 5, kBack}, {99, 59, shadow}, {50, 30, kBack}}},
        {3, 1, "Wg", {{0, h2, shadow}, {8, h2, kBack}, {9 + w + 1, h2, kBack}, {9 + w + 3, h2, shadow}}},
        {3, 3, "Wg", {{xc - 3, h2, shadow}, {xc - 1, h2, kBack}}},
        {1, 0, "", {{0, 6, shadow}, {1, 7, window}, {99, 59, window}}},
        {2, 0, "", {{0, 6, kBack}, {50, 6, shadow}}},
        {4, 0, "", {{1, 1, shadow}, {50, 17, shadow}, {50, 18, kBack}, {0, 59, shadow}}},
        {9, 0, "", {{0, 6, kBack}, {50, 59, kBack}}},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(m_group.SubclassWindow(MakeButton(BS_GROUPBOX, c.text, 100, 60)));
        m_group.m_clrBackground = kBack;
        m_group.SetStyle(c.style);
        m_group.m_nCaptionAlign = c.align;
        DibCanvas canvas(100, 60, RGB(1, 1, 1));
        m_group.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.Dc(), PRF_CLIENT);
        for (const Point& p : c.points)
            EXPECT_EQ(p.clr, canvas.Pixel(p.x, p.y)) << "style " << c.style << " align " << c.align << " at " << p.x
                                                    << "," << p.y;
        m_group.DestroyWindow();
    }
}
