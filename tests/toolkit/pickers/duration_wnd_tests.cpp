#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/dib_canvas.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/pickers/duration_wnd.h"

namespace {

class ColonLocale : public CExtResourceManager
{
public:
    int GetLocaleInfo(LCTYPE t, LPTSTR p, int cch) override
    {
        const char* psz = t == LOCALE_STIME ? ":" : t == LOCALE_SDATE ? "/" : NULL;
        if (psz == NULL)
            return CExtResourceManager::GetLocaleInfo(t, p, cch);
        lstrcpynA(p, psz, cch);
        return lstrlenA(p) + 1;
    }
};

std::vector<CExtDurationWnd::CHANGING_NOTIFICATION> g_notes;
LRESULT g_nAnswer = 0;

LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == CExtDurationWnd::g_nMsgChangingNotification) {
        g_notes.push_back(*reinterpret_cast<CExtDurationWnd::CHANGING_NOTIFICATION*>(w));
        return g_notes.back().m_bChangedFinally ? 0 : g_nAnswer;
    }
    return ::DefWindowProcA(h, m, w, l);
}

class DurationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_CurrentResourceManager.InstallResourceManager(new ColonLocale);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "DurationTestHost";
        ::RegisterClassA(&wc);
        m_hHost = ::CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100, NULL, NULL,
                                    wc.hInstance, NULL);
        ASSERT_TRUE(m_wnd.Create(CWnd::FromHandle(m_hHost), CRect(10, 10, 310, 40), 5));
        g_notes.clear();
        g_nAnswer = 0;
    }
    void TearDown() override
    {
        m_wnd.DestroyWindow();
        ::DestroyWindow(m_hHost);
        g_CurrentResourceManager.InstallResourceManager(NULL);
    }
    // The visible items' texts, left to right.
    std::string Row()
    {
        std::string s;
        for (int i = 0; i < m_wnd.GetItemCount(); ++i)
            if (m_wnd.GetItemAt(i)->IsVisible())
                s += std::string((LPCSTR)m_wnd.GetItemText(m_wnd.GetItemAt(i))) + "|";
        return s;
    }
    void Select(int nKind) { m_wnd.SelectItem(m_wnd.FindItemByKind(nKind)); }
    void Key(UINT vk) { m_wnd.SendMessage(WM_KEYDOWN, vk, 1); }
    HWND m_hHost = NULL;
    CExtDurationWnd m_wnd;
};

TEST_F(DurationTest, FieldsCarryIntoTheNextVisibleField)
{
    typedef CExtDurationWnd W;
    struct { bool bDay, bHour, bSecond; const char* row; } cases[] = {
        {true, true, true, "1| Days |01|:|01|:|01|"},
        {false, true, true, "25|:|01|:|01|"},
        {false, false, true, "1501|:|01|"},
        {true, true, false, "1| Days |01|:|01|"}};  // no separator after the last field
    m_wnd.SetTotalSeconds(86400 + 3600 + 60 + 1);
    for (const auto& c : cases) {
        m_wnd.ItemShow(W::__EIT_DAY, c.bDay, false);
        m_wnd.ItemShow(W::__EIT_HOUR, c.bHour, false);
        m_wnd.ItemShow(W::__EIT_SECOND, c.bSecond, false);
        EXPECT_EQ(c.row, Row());
    }
}

TEST_F(DurationTest, SteppingWrapsOrCarries)
{
    typedef CExtDurationWnd W;
    struct { bool bCarry, bDayShown; int nKind; UINT vk; int before, after; } cases[] = {
        {false, true, W::__EIT_HOUR, VK_UP, 23 * 3600, 0},
        {true, true, W::__EIT_HOUR, VK_UP, 23 * 3600, 86400},
        {false, false, W::__EIT_HOUR, VK_UP, 23 * 3600, 24 * 3600},
        {false, true, W::__EIT_HOUR, VK_DOWN, 0, 23 * 3600},
        {false, true, W::__EIT_SECOND, VK_UP, 59, 0},
        {false, true, W::__EIT_DAY, VK_DOWN, 0, 0}};
    for (const auto& c : cases) {
        m_wnd.SetCarryMode(c.bCarry);
        m_wnd.ItemShow(W::__EIT_DAY, c.bDayShown, false);
        m_wnd.SetTotalSeconds(c.before);
        Select(c.nKind);
        Key(c.vk);
        EXPECT_EQ(c.after, m_wnd.GetTotalSeconds()) << "kind " << c.nKind << " carry " << c.bCarry;
    }    // The spin button's upper arrow proposes -1 and steps the field up; the wheel likewise.
    m_wnd.SetCarryMode(false);
    m_wnd.SetTotalSeconds(600);
    Select(W::__EIT_MINUTE);
    NMUPDOWN nm = {};
    nm.hdr.hwndFrom = ::GetDlgItem(m_wnd.GetSafeHwnd(), W::__SPIN_ID);
    nm.hdr.idFrom = W::__SPIN_ID;
    nm.hdr.code = UDN_DELTAPOS;
    nm.iDelta = -1;
    m_wnd.SendMessage(WM_NOTIFY, W::__SPIN_ID, (LPARAM)&nm);
    EXPECT_EQ(660, m_wnd.GetTotalSeconds());
    m_wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-120), 0);
    EXPECT_EQ(600, m_wnd.GetTotalSeconds());
}

TEST_F(DurationTest, TypingAppendsWithinTheFieldRangeAndRefusesTheLimit)
{
    typedef CExtDurationWnd W;
    Select(W::__EIT_HOUR);
    Key('2');
    EXPECT_EQ(2 * 3600, m_wnd.GetTotalSeconds());
    Key('5');  // 25 is over 23: a new number
    EXPECT_EQ(5 * 3600, m_wnd.GetTotalSeconds());
    Select(W::__EIT_DAY);
    for (UINT vk : {'1', '2', '3'})
        Key(vk);
    EXPECT_EQ(123 * 86400 + 5 * 3600, m_wnd.GetTotalSeconds());
    // 24855 days reach 2,147,472,000 seconds; a fifth digit would pass 2^31 - 1 and is refused,
    // even where 32-bit arithmetic would wrap round to a small total.
    m_wnd.SetTotalSeconds(0);
    Select(W::__EIT_DAY);
    for (UINT vk : {'2', '4', '8', '5', '5'})
        Key(vk);
    EXPECT_EQ(24855 * 86400, m_wnd.GetTotalSeconds());
    for (UINT vk : {'0', '0', '0', '0', '0'})
        Key(vk);
    EXPECT_EQ(24855 * 86400, m_wnd.GetTotalSeconds());
}

TEST_F(DurationTest, PasteAndCopyGoThroughTheClipboard)
{
    typedef CExtDurationWnd W;
    struct { const char* text; int kind; int before, after; } cases[] = {
        {"61", W::__EIT_MINUTE, 3600, 3600},          {"12", W::__EIT_MINUTE, 3600, 3600 + 720},
        {"0", W::__EIT_HOUR, 7200, 7200},            {"-3", W::__EIT_HOUR, 7200, 7200},
        {"abc", W::__EIT_HOUR, 7200, 7200},          {"99999999999", W::__EIT_DAY, 0, 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(::OpenClipboard(m_hHost));
        ::EmptyClipboard();
        HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, strlen(c.text) + 1);
        strcpy((char*)::GlobalLock(h), c.text);
        ::GlobalUnlock(h);
        ::SetClipboardData(CF_TEXT, h);
        ::CloseClipboard();
        m_wnd.SetTotalSeconds(c.before);
        Select(c.kind);
        g_notes.clear();
        m_wnd.PasteSelectedItem();
        EXPECT_EQ(c.after, m_wnd.GetTotalSeconds()) << c.text;
        // Both notifications go out even for an unchanged total; a total past the limit is dropped.
        EXPECT_EQ(c.kind == W::__EIT_DAY ? 0u : 2u, g_notes.size()) << c.text;
    }
    m_wnd.SetTotalSeconds(3600 + 5 * 60 + 9);
    Select(W::__EIT_MINUTE);
    m_wnd.CopySelectedItem();
    ASSERT_TRUE(::OpenClipboard(m_hHost));
    EXPECT_STREQ("05", (const char*)::GlobalLock(::GetClipboardData(CF_TEXT)));
    ::CloseClipboard();
}

TEST_F(DurationTest, OwnerRefusesAndStatusHidesTheRow)
{
    m_wnd.SetTotalSeconds(60);
    g_notes.clear();
    g_nAnswer = -1;
    m_wnd.SetTotalSeconds(120);
    EXPECT_EQ(60, m_wnd.GetTotalSeconds());
    ASSERT_EQ(1u, g_notes.size());
    EXPECT_FALSE(g_notes[0].m_bChangedFinally);
    EXPECT_EQ(120, g_notes[0].m_nNewValue);
    g_nAnswer = 0;
    m_wnd.SetStatus(2);
    Select(CExtDurationWnd::__EIT_MINUTE);
    Key(VK_UP);
    EXPECT_EQ(60, m_wnd.GetTotalSeconds());
    EXPECT_TRUE(::IsRectEmpty(&m_wnd.FindItemByKind(CExtDurationWnd::__EIT_MINUTE)->m_rcRect));
}

// The frame is the theme's simple frame: the base theme a sunken 3-D edge, the others a
// shadow line all round; the selected field of the focused editor is highlighted.
TEST_F(DurationTest, FrameAndSelectedFieldPerTheme)
{
    struct { CRuntimeClass* pClass; const char* name; bool bSunken; } themes[] = {
        {RUNTIME_CLASS(CExtPaintManager), "base", true},
        {RUNTIME_CLASS(CExtPaintManagerXP), "XP", false},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), "Studio 2005", false}};
    ::SetForegroundWindow(m_hHost);
    ::SetActiveWindow(m_hHost);
    m_wnd.SetFocus();
    m_wnd.SetTotalSeconds(3600 + 5 * 60);
    Select(CExtDurationWnd::__EIT_MINUTE);
    const RECT rcMinute = m_wnd.FindItemByKind(CExtDurationWnd::__EIT_MINUTE)->m_rcRect;
    CRect rcClient;
    m_wnd.GetClientRect(&rcClient);
    for (const auto& t : themes) {
        g_CurrentPaintManager.InstallPaintManagerByClass(t.pClass);
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        testsupport::DibCanvas canvas(rcClient.Width(), rcClient.Height());
        m_wnd.OnPaintItems(*CDC::FromHandle(canvas.Dc()), rcClient);
        const COLORREF clrShadow = pPM->LookupColor(COLOR_BTNSHADOW);
        EXPECT_EQ(clrShadow, canvas.Pixel(0, 0)) << t.name;
        EXPECT_EQ(t.bSunken ? pPM->LookupColor(COLOR_BTNHIGHLIGHT) : clrShadow,
                  canvas.Pixel(rcClient.right - 1, rcClient.bottom - 1)) << t.name;
        EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT), canvas.Pixel(rcMinute.left, rcMinute.top)) << t.name;
        EXPECT_EQ(pPM->LookupColor(COLOR_WINDOW), canvas.Pixel(rcClient.right - 30, 2)) << t.name;
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}

}  // namespace
