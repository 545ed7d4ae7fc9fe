// How message parameters reach the classic handler signatures, the system-change relay
// from a top-level window to its children, style changes, and the program entry.
#include <gtest/gtest.h>
#include "framework_test_app.h"
#include "window_test_ids.h"

namespace {

LPCTSTR PopupClass() { return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)); }

class CUnpackWnd : public CWnd {
public:
    std::vector<std::string> log;
    void Add(const char* fmt, ...) {
        char buf[256];
        va_list args;
        va_start(args, fmt);
        vsnprintf(buf, sizeof(buf), fmt, args);
        va_end(args);
        log.push_back(buf);
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt) { Add("LButtonDown %u %d,%d", nFlags, pt.x, pt.y); }
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint pt) { Add("NcRButtonUp %u %d,%d", nHitTest, pt.x, pt.y); }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Add("KeyDown %u %u %#x", nChar, nRepCnt, nFlags); }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
        Add("MouseWheel %u %d %d,%d", nFlags, zDelta, pt.x, pt.y);
        return TRUE;
    }
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pt) {
        Add("ContextMenu %s %d,%d", pWnd == this ? "self" : "other", pt.x, pt.y);
    }
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
        Add("Activate %u %s %d", nState, pWndOther ? "other" : "null", bMinimized);
    }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
        Add("SetCursor %s %u %#x", pWnd == this ? "self" : "other", nHitTest, message);
        return TRUE;
    }
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam) { Add("SysCommand %#x %ld", nID, (long)lParam); }
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
        Add("SettingChange %u %s", uFlags, lpszSection ? lpszSection : "(null)");
        CWnd::OnSettingChange(uFlags, lpszSection);
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        Add("EraseBkgnd %s", pDC && pDC->m_hDC == hdcSent ? "dc" : "wrong");
        return TRUE;
    }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        Add("CtlColor %s %s %u", pDC && pDC->m_hDC == hdcSent ? "dc" : "wrong", pWnd ? "wnd" : "null", nCtlColor);
        return (HBRUSH)GetStockObject(BLACK_BRUSH);
    }
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* p) { Add("GetMinMaxInfo %ld", p ? (long)p->ptMaxTrackSize.x : -1L); }
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus) { Add("ShowWindow %d %u", bShow, nStatus); }
    afx_msg void OnTimer(UINT_PTR id) { Add("Timer %u", (unsigned)id); }
    afx_msg UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }
    afx_msg void OnSysColorChange() { Add("SysColorChange"); CWnd::OnSysColorChange(); }
    HDC hdcSent = NULL;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CUnpackWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_NCRBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_MOUSEWHEEL()
    ON_WM_CONTEXTMENU()
    ON_WM_ACTIVATE()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOMMAND()
    ON_WM_SETTINGCHANGE()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_GETMINMAXINFO()
    ON_WM_SHOWWINDOW()
    ON_WM_TIMER()
    ON_WM_GETDLGCODE()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

// Every ON_WM_ entry compiles against the classic handlers of CWnd.
class CAllEntriesWnd : public CWnd {
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CAllEntriesWnd, CWnd)
    ON_WM_CREATE() ON_WM_NCCREATE() ON_WM_DESTROY() ON_WM_NCDESTROY() ON_WM_PAINT() ON_WM_ERASEBKGND()
    ON_WM_PRINTCLIENT() ON_WM_SIZE() ON_WM_MOVE() ON_WM_MOVING() ON_WM_SIZING() ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED() ON_WM_GETMINMAXINFO() ON_WM_SHOWWINDOW() ON_WM_TIMER() ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN() ON_WM_LBUTTONUP() ON_WM_LBUTTONDBLCLK() ON_WM_RBUTTONDOWN() ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK() ON_WM_MBUTTONDOWN() ON_WM_MBUTTONUP() ON_WM_MBUTTONDBLCLK() ON_WM_NCMOUSEMOVE()
    ON_WM_NCLBUTTONDOWN() ON_WM_NCLBUTTONUP() ON_WM_NCLBUTTONDBLCLK() ON_WM_NCRBUTTONDOWN() ON_WM_NCRBUTTONUP()
    ON_WM_NCRBUTTONDBLCLK() ON_WM_NCMBUTTONDOWN() ON_WM_NCMBUTTONUP() ON_WM_MOUSEWHEEL() ON_WM_MOUSELEAVE()
    ON_WM_ACTIVATE() ON_WM_ACTIVATEAPP() ON_WM_MOUSEACTIVATE() ON_WM_SETCURSOR() ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS() ON_WM_CAPTURECHANGED() ON_WM_CANCELMODE() ON_WM_KEYDOWN() ON_WM_KEYUP() ON_WM_CHAR()
    ON_WM_DEADCHAR() ON_WM_SYSKEYDOWN() ON_WM_SYSKEYUP() ON_WM_SYSCHAR() ON_WM_GETDLGCODE() ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT() ON_WM_NCHITTEST() ON_WM_NCACTIVATE() ON_WM_ENABLE() ON_WM_CLOSE() ON_WM_CONTEXTMENU()
    ON_WM_SYSCOMMAND() ON_WM_PARENTNOTIFY() ON_WM_QUERYDRAGICON() ON_WM_SYSCOLORCHANGE() ON_WM_SETTINGCHANGE()
    ON_WM_DISPLAYCHANGE() ON_WM_THEMECHANGED() ON_WM_TIMECHANGE() ON_WM_PALETTECHANGED()
    ON_WM_PALETTEISCHANGING() ON_WM_QUERYNEWPALETTE() ON_WM_CTLCOLOR() ON_WM_DRAWITEM() ON_WM_MEASUREITEM()
    ON_WM_DELETEITEM() ON_WM_COMPAREITEM() ON_WM_HSCROLL() ON_WM_VSCROLL() ON_WM_INITMENU()
    ON_WM_INITMENUPOPUP() ON_WM_MENUSELECT() ON_WM_MENUCHAR() ON_WM_HELPINFO() ON_WM_STYLECHANGING()
    ON_WM_STYLECHANGED() ON_WM_COPYDATA() ON_WM_DROPFILES() ON_WM_VKEYTOITEM() ON_WM_CHARTOITEM()
    ON_WM_NCMBUTTONDBLCLK() ON_WM_MOUSEHOVER() ON_WM_NCMOUSEHOVER() ON_WM_NCMOUSELEAVE() ON_WM_MDIACTIVATE()
    ON_WM_CHILDACTIVATE() ON_WM_ENTERIDLE() ON_WM_ENTERMENULOOP() ON_WM_EXITMENULOOP() ON_WM_QUERYOPEN()
    ON_WM_QUERYENDSESSION() ON_WM_ENDSESSION()
END_MESSAGE_MAP()

}  // namespace

TEST(WndDispatch, HandlersGetTheClassicArguments) {
    CUnpackWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "unpack", WS_POPUP, CRect(0, 0, 100, 100), NULL, 0));
    wnd.log.clear();
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 40));
    wnd.SendMessage(WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(500, -20));
    wnd.SendMessage(WM_KEYDOWN, VK_F5, 0x403F0003);
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)-120), MAKELPARAM(7, 8));
    wnd.SendMessage(WM_CONTEXTMENU, (WPARAM)wnd.m_hWnd, MAKELPARAM(-1, -1));
    wnd.SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), 0);
    wnd.SendMessage(WM_SETCURSOR, (WPARAM)wnd.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    wnd.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 99);
    wnd.SendMessage(WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, (LPARAM) "WindowMetrics");
    HDC hdc = GetDC(wnd.m_hWnd);
    wnd.hdcSent = hdc;
    EXPECT_EQ(1, wnd.SendMessage(WM_ERASEBKGND, (WPARAM)hdc));
    EXPECT_EQ((LRESULT)GetStockObject(BLACK_BRUSH), wnd.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)hdc, (LPARAM)wnd.m_hWnd));
    ReleaseDC(wnd.m_hWnd, hdc);
    wnd.SendMessage(WM_TIMER, 321);
    EXPECT_EQ(DLGC_WANTALLKEYS, wnd.SendMessage(WM_GETDLGCODE));
    std::vector<std::string> expected = {
        "LButtonDown 5 -3,40",
        "NcRButtonUp 2 500,-20",
        "KeyDown 116 3 0x403f",
        "MouseWheel 8 -120 7,8",
        "ContextMenu self -1,-1",
        "Activate 2 null 1",
        "SetCursor self 1 0x200",
        "SysCommand 0xf060 99",
        "SettingChange 42 WindowMetrics",
        "EraseBkgnd dc",
        "CtlColor dc wnd 6",
        "Timer 321",
    };
    EXPECT_EQ(expected, wnd.log);
    wnd.DestroyWindow();
}

TEST(WndDispatch, TopLevelWindowsPassSystemChangesToTheirChildren) {
    CUnpackWnd top, child, grandchild;
    ASSERT_TRUE(top.CreateEx(0, PopupClass(), "top", WS_POPUP, CRect(0, 0, 100, 100), NULL, 0));
    ASSERT_TRUE(child.Create(NULL, "child", 0, CRect(0, 0, 50, 50), &top, 1));
    ASSERT_TRUE(grandchild.Create(NULL, "grandchild", 0, CRect(0, 0, 20, 20), &child, 2));
    top.log.clear();
    child.log.clear();
    grandchild.log.clear();
    top.SendMessage(WM_SYSCOLORCHANGE);
    top.SendMessage(WM_SETTINGCHANGE, 0, (LPARAM) "Policy");
    EXPECT_EQ((std::vector<std::string>{"SysColorChange", "SettingChange 0 Policy"}), top.log);
    // Each child hears once: the top-level window relays to the whole tree, children
    // do not relay again.
    EXPECT_EQ((std::vector<std::string>{"SysColorChange", "SettingChange 0 Policy"}), child.log);
    EXPECT_EQ((std::vector<std::string>{"SysColorChange", "SettingChange 0 Policy"}), grandchild.log);
    top.DestroyWindow();
}

TEST(WndDispatch, ModifyStyleChangesBitsAndReportsWhetherAnythingChanged) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "style", WS_POPUP | WS_BORDER, CRect(0, 0, 100, 100), NULL, 0));
    EXPECT_TRUE(wnd.ModifyStyle(WS_BORDER, WS_CLIPCHILDREN, SWP_FRAMECHANGED));
    EXPECT_EQ(0u, wnd.GetStyle() & WS_BORDER);
    EXPECT_NE(0u, wnd.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_FALSE(wnd.ModifyStyle(0, WS_CLIPCHILDREN));
    EXPECT_TRUE(wnd.ModifyStyleEx(0, WS_EX_TOOLWINDOW));
    EXPECT_NE(0u, wnd.GetExStyle() & WS_EX_TOOLWINDOW);
    wnd.DestroyWindow();
}

TEST(ProgramEntry, InitInstanceFalseEndsThroughExitInstanceAndRunEndsOnQuit) {
    CFrameworkTestApp& app = TestApp();
    app.m_lifecycle.clear();
    app.m_bInitResult = FALSE;
    // A main-window pointer to an object that never had a window (a dialog whose
    // template was missing, gone with InitInstance's stack) is not touched.
    alignas(CWnd) static unsigned char gone[sizeof(CWnd)];
    memset(gone, 0xDD, sizeof(gone));
    app.m_pMainWnd = reinterpret_cast<CWnd*>(gone);
    AfxWinMain(GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_SHOWNORMAL);
    EXPECT_EQ((std::vector<std::string>{"InitInstance", "ExitInstance"}), app.m_lifecycle);
    EXPECT_TRUE(app.m_pMainWnd == NULL);
    AfxInstallMessageFilterHook();

    // TRUE runs the loop until WM_QUIT, whose code is the program's result. (Without a
    // main window the loop would end at once with 0.)
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
    app.m_pMainWnd = &main;
    app.m_lifecycle.clear();
    app.m_bInitResult = TRUE;
    app.m_nQuitCodeFromInit = 3;
    EXPECT_EQ(3, AfxWinMain(GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_SHOWNORMAL));
    EXPECT_EQ((std::vector<std::string>{"InitInstance", "ExitInstance"}), app.m_lifecycle);
    app.m_pMainWnd = NULL;
    main.DestroyWindow();
    app.m_nQuitCodeFromInit = -1;
    app.m_bInitResult = TRUE;
    // The entry removed the message filter on the way out; the tests still need it.
    AfxInstallMessageFilterHook();
    EXPECT_TRUE(AfxGetThreadState()->m_hHookOldMsgFilter != NULL);
}

TEST(ProgramEntry, AfxMessageBoxByIdUsesTheStringAndItsIdForHelp) {
    CFrameworkTestApp& app = TestApp();
    app.m_bRecordBoxes = true;
    app.m_boxes.clear();
    AfxMessageBox(AFX_IDP_PARSE_INT, MB_OK);
    AfxMessageBox(AFX_IDP_PARSE_UINT, MB_OK, 77);
    app.m_bRecordBoxes = false;
    ASSERT_EQ(2u, app.m_boxes.size());
    EXPECT_EQ("Please enter an integer.", app.m_boxes[0].text);
    EXPECT_EQ((UINT)AFX_IDP_PARSE_INT, app.m_boxes[0].idPrompt);
    EXPECT_EQ("Please enter a positive integer.", app.m_boxes[1].text);
    EXPECT_EQ(77u, app.m_boxes[1].idPrompt);
    // The framework's idle text is there for the status bars.
    CString ready;
    EXPECT_TRUE(ready.LoadString(AFX_IDS_IDLEMESSAGE));
    EXPECT_EQ(CString("Ready"), ready);
    CString close;
    EXPECT_TRUE(close.LoadString(AFX_IDS_SCCLOSE));
    EXPECT_EQ(CString("Close the active window and prompts to save the documents"), close);
}

TEST(DialogIndirect, CreateIndirectRunsTheDialogInitDataItIsGiven) {
    HRSRC hRsrc = FindResourceA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_WT_MAIN), (LPCSTR)RT_DIALOG);
    ASSERT_TRUE(hRsrc != NULL);
    LPCDLGTEMPLATE pTemplate = (LPCDLGTEMPLATE)LockResource(LoadResource(GetModuleHandleA(NULL), hRsrc));
    // Two strings for the combo, the second one with an odd length (unaligned record).
    static const BYTE init[] = {0x23, 0x7B, 0x03, 0x04, 3, 0, 0, 0, 'O', 'n', 0,
                                0x23, 0x7B, 0x03, 0x04, 4, 0, 0, 0, 'T', 'w', 'o', 0, 0, 0};
    CDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(pTemplate, NULL, (void*)init));
    HWND hCombo = ::GetDlgItem(dlg.m_hWnd, IDC_WT_COMBO);
    ASSERT_EQ(2, (int)SendMessageA(hCombo, CB_GETCOUNT, 0, 0));
    char item[16];
    SendMessageA(hCombo, CB_GETLBTEXT, 1, (LPARAM)item);
    EXPECT_STREQ("Two", item);
    dlg.DestroyWindow();
}

TEST(WndDispatch, AWindowMappingEveryEntryStillBehavesLikeAPlainWindow) {
    CAllEntriesWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "all", WS_POPUP, CRect(0, 0, 60, 40), NULL, 0));
    EXPECT_TRUE(wnd.HasMessageMapEntry(WM_PRINTCLIENT));
    EXPECT_TRUE(wnd.HasMessageMapEntry(WM_THEMECHANGED));
    wnd.SetWindowText("still works");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(CString("still works"), text);
    EXPECT_EQ(HTCLIENT, wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(5, 5)));
    wnd.SendMessage(WM_SETTINGCHANGE, 0, 0);
    wnd.SendMessage(WM_SYSCOLORCHANGE);
    wnd.DestroyWindow();
}

TEST(WndDispatch, AClickOnAWindowAModalPopupDisabledBringsThePopupForward) {
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
    CWnd owner, popup, other;
    ASSERT_TRUE(owner.CreateEx(0, cls, "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 150), NULL, 0));
    ASSERT_TRUE(popup.CreateEx(0, cls, "popup", WS_POPUP | WS_VISIBLE, CRect(20, 20, 120, 90), &owner, 0));
    ASSERT_TRUE(other.CreateEx(0, cls, "other", WS_POPUP | WS_VISIBLE, CRect(300, 0, 400, 90), NULL, 0));
    ::SetForegroundWindow(popup.m_hWnd);
    ::SetActiveWindow(popup.m_hWnd);
    owner.EnableWindow(FALSE);  // as a modal popup leaves it
    ::SetForegroundWindow(other.m_hWnd);
    ASSERT_EQ(other.m_hWnd, ::GetForegroundWindow());

    // Only a button press on the disabled window counts, not a mere move.
    EXPECT_EQ(0, owner.SendMessage(WM_SETCURSOR, (WPARAM)owner.m_hWnd, MAKELPARAM((WORD)HTERROR, WM_MOUSEMOVE)));
    EXPECT_EQ(other.m_hWnd, ::GetForegroundWindow());
    EXPECT_EQ(1, owner.SendMessage(WM_SETCURSOR, (WPARAM)owner.m_hWnd, MAKELPARAM((WORD)HTERROR, WM_LBUTTONDOWN)));
    EXPECT_EQ(popup.m_hWnd, ::GetForegroundWindow());
    owner.EnableWindow(TRUE);
    other.DestroyWindow();
    popup.DestroyWindow();
    owner.DestroyWindow();
}

namespace {

class CRecordingMenu : public CMenu {
public:
    std::vector<UINT> drawn, measured;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { drawn.push_back(lpDIS->itemID); }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override {
        measured.push_back(lpMIS->itemID);
        lpMIS->itemHeight = 19;
    }
};

}  // namespace

TEST(WndDispatch, OwnerDrawnMenuItemsAreDrawnAndMeasuredByTheirMenuObjects) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "menus", WS_POPUP | WS_CAPTION, CRect(0, 0, 200, 150), NULL, 0));
    CMenu bar;
    CRecordingMenu file, tracked;
    ASSERT_TRUE(bar.CreateMenu());
    ASSERT_TRUE(file.CreatePopupMenu());
    ASSERT_TRUE(tracked.CreatePopupMenu());
    file.AppendMenu(MF_OWNERDRAW, 0x9001);
    tracked.AppendMenu(MF_OWNERDRAW, 0x9002);
    bar.AppendMenu(MF_POPUP, (UINT_PTR)file.m_hMenu, "File");
    ASSERT_TRUE(wnd.SetMenu(&bar));

    // The menu bar's item: found through the window's menu.
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = 0x9001;
    wnd.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    EXPECT_EQ(std::vector<UINT>{0x9001}, file.measured);
    EXPECT_EQ(19u, mis.itemHeight);
    // A popup the window tracks: found through the thread's tracking record.
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_hTrackingWindow = wnd.m_hWnd;
    pState->m_hTrackingMenu = tracked.m_hMenu;
    mis.itemID = 0x9002;
    wnd.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    pState->m_hTrackingWindow = NULL;
    pState->m_hTrackingMenu = NULL;
    EXPECT_EQ(std::vector<UINT>{0x9002}, tracked.measured);

    // Drawing names the menu itself.
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = 0x9001;
    dis.hwndItem = (HWND)file.m_hMenu;
    EXPECT_TRUE(wnd.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis));
    EXPECT_EQ(std::vector<UINT>{0x9001}, file.drawn);

    wnd.SetMenu(NULL);
    wnd.DestroyWindow();
}

TEST(WndDispatch, ActivateTopParentBringsAPalettesOwnerForwardUnlessThePaletteIsInFront) {
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
    CWnd owner, palette, other, child;
    ASSERT_TRUE(owner.CreateEx(0, cls, "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 150), NULL, 0));
    ASSERT_TRUE(palette.CreateEx(0, cls, "palette", WS_POPUP | WS_VISIBLE, CRect(20, 20, 120, 90), &owner, 0));
    ASSERT_TRUE(child.Create(NULL, "child", WS_VISIBLE, CRect(0, 0, 20, 20), &palette, 5));
    ASSERT_TRUE(other.CreateEx(0, cls, "other", WS_POPUP | WS_VISIBLE, CRect(300, 0, 400, 90), NULL, 0));

    ::SetForegroundWindow(other.m_hWnd);
    child.ActivateTopParent();
    EXPECT_EQ(owner.m_hWnd, ::GetForegroundWindow());

    ::SetForegroundWindow(palette.m_hWnd);
    child.ActivateTopParent();  // the palette holding the child is in front: left alone
    EXPECT_EQ(palette.m_hWnd, ::GetForegroundWindow());
    other.DestroyWindow();
    palette.DestroyWindow();
    owner.DestroyWindow();
}

namespace {

// A window whose horizontal bar is a control beside it.
class COutsideBarWnd : public CWnd {
public:
    CScrollBar* pHorz = nullptr;
    CScrollBar* GetScrollBarCtrl(int nBar) const override { return nBar == SB_HORZ ? pHorz : NULL; }
};

}  // namespace

TEST(WndDispatch, ScrollMembersUseTheOutsideBarWhenTheWindowHasOne) {
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, cls, "host", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
    COutsideBarWnd wnd;
    ASSERT_TRUE(wnd.Create(NULL, "scrolled", WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, CRect(0, 0, 200, 150), &host, 1));
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 160, 200, 176), &host, 2));
    wnd.pHorz = &bar;

    SCROLLINFO si = {};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 5;
    ASSERT_TRUE(wnd.SetScrollInfo(SB_HORZ, &si));
    si.nMax = 49;
    ASSERT_TRUE(wnd.SetScrollInfo(SB_VERT, &si));

    // The horizontal axis lives in the bar control, the vertical one in the window.
    SCROLLINFO got = {};
    got.cbSize = sizeof(got);
    got.fMask = SIF_RANGE;
    ASSERT_TRUE(::GetScrollInfo(bar.m_hWnd, SB_CTL, &got));
    EXPECT_EQ(99, got.nMax);
    ASSERT_TRUE(::GetScrollInfo(wnd.m_hWnd, SB_VERT, &got));
    EXPECT_EQ(49, got.nMax);
    EXPECT_EQ(90, wnd.GetScrollLimit(SB_HORZ));
    EXPECT_EQ(40, wnd.GetScrollLimit(SB_VERT));
    wnd.SetScrollPos(SB_HORZ, 30);
    EXPECT_EQ(30, ::GetScrollPos(bar.m_hWnd, SB_CTL));
    EXPECT_EQ(30, wnd.GetScrollPos(SB_HORZ));
    EXPECT_EQ(5, wnd.GetScrollPos(SB_VERT));

    // Switching the bars off: the control is disabled, the window's own bar hidden.
    wnd.EnableScrollBarCtrl(SB_BOTH, FALSE);
    EXPECT_FALSE(bar.IsWindowEnabled());
    EXPECT_FALSE(wnd.GetStyle() & WS_VSCROLL);
    host.DestroyWindow();
}

namespace {

UINT g_nMsgThreadPing = RegisterWindowMessageA("FrameworkTests::g_nMsgThreadPing");

class CPingThread : public CWinThread {
public:
    std::vector<std::string> seen;
    afx_msg void OnPing(WPARAM wParam, LPARAM lParam) {
        seen.push_back("ping " + std::to_string(wParam) + " " + std::to_string(lParam));
    }
    afx_msg void OnRegisteredPing(WPARAM wParam, LPARAM) { seen.push_back("registered " + std::to_string(wParam)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPingThread, CWinThread)
    ON_THREAD_MESSAGE(WM_APP + 40, &CPingThread::OnPing)
    ON_REGISTERED_THREAD_MESSAGE(g_nMsgThreadPing, &CPingThread::OnRegisteredPing)
END_MESSAGE_MAP()

}  // namespace

TEST(ProgramEntry, ThreadMessagesReachTheThreadsOwnMap) {
    CPingThread thread;
    MSG msg = {};
    msg.message = WM_APP + 40;
    msg.wParam = 3;
    msg.lParam = 4;
    EXPECT_TRUE(thread.DispatchThreadMessageEx(&msg));
    msg.message = g_nMsgThreadPing;
    msg.wParam = 5;
    EXPECT_TRUE(thread.DispatchThreadMessageEx(&msg));
    msg.message = WM_APP + 41;  // not in the map
    EXPECT_FALSE(thread.DispatchThreadMessageEx(&msg));
    EXPECT_EQ((std::vector<std::string>{"ping 3 4", "registered 5"}), thread.seen);
}
