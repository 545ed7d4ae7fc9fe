// The control bar base: the list of all bars, the window class, creation in a frame and
// from a dialog template, command-UI updates, painting through the paint manager and the
// system-change relay.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "framework/afxres.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/dialogs/resizable_dialog.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"
#include "bars_test_ids.h"

namespace {

bool InAllBars(CExtControlBar* pBar)
{
    int nCount = 0;
    for (INT_PTR i = 0; i < CExtControlBar::g_AllBars.GetSize(); i++)
        if (CExtControlBar::g_AllBars[i] == pBar)
            nCount++;
    return nCount == 1;
}

// A plain popup parent that is neither a frame nor a bar, like a dialog.
struct Host : CWnd
{
    Host(int cx = 300, int cy = 200) { CreateEx(0, NULL, "Host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, cx, cy, NULL, NULL); }
    ~Host()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
};

class CountingBar : public CExtControlBar
{
public:
    int m_nUpdates = 0;
    CFrameWnd* m_pLastTarget = reinterpret_cast<CFrameWnd*>(1);
    bool m_bNestedAnswer = false;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisable) override
    {
        m_nUpdates++;
        m_pLastTarget = pTarget;
        // A second update asked for from inside the first returns at once.
        m_bNestedAnswer = DoBarUpdateCmdUI(bDisable);
        CExtControlBar::OnUpdateCmdUI(pTarget, bDisable);
    }
};

}  // namespace

TEST(ControlBarBase, ConstructionListsTheBarOnceAndDestructionRemovesIt)
{
    const INT_PTR nBefore = CExtControlBar::g_AllBars.GetSize();
    CExtControlBar* pFirst = new CExtControlBar;
    CExtToolControlBar* pTool = new CExtToolControlBar;
    EXPECT_TRUE(InAllBars(pFirst));
    EXPECT_TRUE(InAllBars(pTool));
    EXPECT_EQ(nBefore + 2, CExtControlBar::g_AllBars.GetSize());
    EXPECT_EQ(pTool, CExtControlBar::g_AllBars[CExtControlBar::g_AllBars.GetSize() - 1]);

    // Initial state of a resizable bar and of a toolbar.
    EXPECT_EQ(0x29, pFirst->m_nOptionFlags);
    EXPECT_EQ(0x10, pFirst->m_nActivityFlags);
    EXPECT_FALSE(pFirst->IsFixedMode());
    EXPECT_EQ(CSize(200, 150), pFirst->m_sizeDockedH);
    EXPECT_EQ(CSize(150, 200), pFirst->m_sizeDockedV);
    EXPECT_EQ(CSize(200, 200), pFirst->m_sizeFloated);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSMCAPTION) + 1, pFirst->GetGripperHeightAtTop());
    EXPECT_EQ(std::min(::GetSystemMetrics(SM_CXFRAME), 4), pFirst->GetSeparatorWidth());
    EXPECT_EQ(::GetSystemMetrics(SM_CYSMCAPTION) + pFirst->GetSeparatorWidth() + 1, pFirst->m_nMinHW);
    EXPECT_EQ(-1, pFirst->AutoHideWidthGet());
    EXPECT_TRUE(pTool->IsFixedMode());
    EXPECT_EQ(0x80 | 0x08 | 0x20, pTool->m_nOptionFlags);
    EXPECT_EQ(0, pTool->m_nActivityFlags & 0x10);
    EXPECT_TRUE(g_CurrentPaintManager.IsBridgeRegistered(pFirst));

    delete pFirst;
    EXPECT_EQ(nBefore + 1, CExtControlBar::g_AllBars.GetSize());
    EXPECT_TRUE(InAllBars(pTool));
    delete pTool;
    EXPECT_EQ(nBefore, CExtControlBar::g_AllBars.GetSize());
}

TEST(ControlBarBase, WindowClassAndRegisteredMessages)
{
    CExtControlBar bar;
    WNDCLASSA wc;
    ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), "Kestrix-ControlBar", &wc));
    EXPECT_EQ(UINT(0x400B), wc.style);
    EXPECT_EQ(NULL, wc.hbrBackground);
    EXPECT_TRUE(CExtControlBar::g_bControlBarClassRegistered);

    struct
    {
        const char* name;
        UINT id;
    } msgs[] = {
        {"CExtControlBar::g_nMsgQueryFocusChangingEnabled", CExtControlBar::g_nMsgQueryFocusChangingEnabled},
        {"CExtControlBar::g_nMsgQueryRepositionCalcEffect", CExtControlBar::g_nMsgQueryRepositionCalcEffect},
        {"CExtControlBar::g_nMsgQueryIcon", CExtControlBar::g_nMsgQueryIcon},
        {"CExtControlBar::g_nMsgPutToPopupMenu", CExtControlBar::g_nMsgPutToPopupMenu},
        {"CExtControlBar::g_nMsgConstructPopupMenu", CExtControlBar::g_nMsgConstructPopupMenu},
        {"CExtControlBar::g_nMsgCreateTabbedBar", CExtControlBar::g_nMsgCreateTabbedBar},
        {"CExtControlBar::g_nMsgDrawTrackedArea", CExtControlBar::g_nMsgDrawTrackedArea},
        {"CExtControlBar::g_nMsgCustomNcAreaQuery", CExtControlBar::g_nMsgCustomNcAreaQuery},
    };
    for (const auto& m : msgs)
    {
        EXPECT_NE(0u, m.id) << m.name;
        EXPECT_EQ(::RegisterWindowMessageA(m.name), m.id) << m.name;
    }
    EXPECT_EQ(::LoadCursor(NULL, IDC_SIZEALL), CExtControlBar::g_hCursorDrag);
    EXPECT_EQ(::LoadCursor(NULL, IDC_SIZEWE), CExtControlBar::g_hCursorResizeH);
    EXPECT_FALSE(CExtControlBar::IsFrameRegistered(NULL));
}

TEST(ControlBarBase, CreatedInAFrameKeepsTheBarBitsOutOfTheWindowStyle)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create(NULL, pFrame, IDS_BT_BAR_CAPTION, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER));
    char sClass[64] = {0};
    ::GetClassNameA(bar.m_hWnd, sClass, sizeof(sClass));
    EXPECT_STREQ("Kestrix-ControlBar", sClass);
    EXPECT_EQ(DWORD(CBRS_ALIGN_TOP | CBRS_GRIPPER), bar.m_dwStyle & (CBRS_ALIGN_ANY | CBRS_GRIPPER));
    EXPECT_EQ(0u, bar.GetStyle() & 0x402000);
    EXPECT_NE(0u, bar.GetStyle() & WS_CLIPCHILDREN);
    // The text of a string resource without its tip part; ampersands stay.
    CString sText;
    bar.GetWindowText(sText);
    EXPECT_STREQ("Bar &caption", sText);
    EXPECT_EQ(0, bar.m_nOptionFlags & 0x04);
    EXPECT_EQ(pFrame, bar.GetDockingFrame());
    // Not yet in a dock bar: its parent is no dock bar.
    EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_FLOAT), bar.GetDockBarCtrlID());

    CExtControlBar named;
    ASSERT_TRUE(named.Create("Named", pFrame, 0xE901, WS_CHILD | WS_VISIBLE | CBRS_LEFT));
    named.GetWindowText(sText);
    EXPECT_STREQ("Named", sText);

    // Docked through the framework, the dock bar's id answers the side queries.
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    named.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    pFrame->DockControlBar(&named, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_TOP), bar.GetDockBarCtrlID());
    EXPECT_TRUE(bar.IsDockedAtTop());
    EXPECT_TRUE(bar.IsDockedHorizontally());
    EXPECT_TRUE(bar.IsDockedAtFrameSide());
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_TRUE(named.IsDockedAtLeft());
    EXPECT_TRUE(named.IsDockedVertically());
    EXPECT_FALSE(named.IsDockedHorizontally());
    EXPECT_EQ(pFrame, named.GetDockingFrame());
    EXPECT_TRUE(CExtControlBar::DoFrameBarCheckCmd(pFrame, 0xE901, true));
    EXPECT_EQ(0u, named.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(CExtControlBar::DoFrameBarCheckCmd(pFrame, 0xE9FF, true));
    pFrame->DestroyWindow();
}

TEST(ControlBarBase, DialogTemplateControlBecomesABarOutsideAFrame)
{
    CExtControlBar dummy;  // constructing any bar registers the class the template names
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_BT_BAR_DIALOG, NULL));
    CExtControlBar bar;
    ASSERT_TRUE(bar.SubclassDlgItem(IDC_BT_TEMPLATE_BAR, &dlg));
    EXPECT_NE(0, bar.m_nOptionFlags & 0x04);
    EXPECT_EQ(DWORD(CBRS_ALIGN_TOP), bar.m_dwStyle & CBRS_ALIGN_ANY);
    EXPECT_EQ(0u, bar.GetStyle() & 0x2000);
    EXPECT_TRUE(bar.IsDockedHorizontally());
    EXPECT_TRUE(bar.IsDockedAtFrameSide());
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_FALSE(bar.IsPrintPreviewMode());

    // The dialog lays its bars out as the application does.
    CRect rcClient;
    dlg.GetClientRect(&rcClient);
    dlg.RepositionBars(0, 0xFFFF, 0, reposDefault, NULL, NULL, TRUE);
    CRect rcBar;
    bar.GetWindowRect(&rcBar);
    dlg.ScreenToClient(&rcBar);
    EXPECT_EQ(CRect(0, 0, rcClient.Width(), 150), rcBar);
    bar.UnsubclassWindow();
    dlg.DestroyWindow();
}

TEST(ControlBarBase, CommandUpdateIsGuardedAndReachesBarsOfADialog)
{
    Host host;
    CountingBar bar;
    ASSERT_TRUE(bar.Create("Bar", &host, 0xE902, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    // Created by hand in a non-frame parent: mark it as a dialog bar the way subclassing does.
    bar.m_nOptionFlags |= 0x04;
    EXPECT_TRUE(bar.DoBarUpdateCmdUI(TRUE));
    EXPECT_EQ(1, bar.m_nUpdates);
    EXPECT_TRUE(bar.m_bNestedAnswer);
    EXPECT_EQ(nullptr, bar.m_pLastTarget);
    EXPECT_EQ(0, bar.m_nOptionFlags & 0x10);

    // The resizable dialog's hook walks its child bars.
    ASSERT_NE(nullptr, CExtResizableDialog::g_pfnUpdateChildBarsCmdUI);
    CExtResizableDialog::g_pfnUpdateChildBarsCmdUI(&host, TRUE);
    EXPECT_EQ(2, bar.m_nUpdates);
    EXPECT_EQ(CExtControlBar::ChildBarsPreTranslateMessage, CExtResizableDialog::g_pfnChildBarsPreTranslateMessage);

    bar.DestroyWindow();
    EXPECT_FALSE(bar.DoBarUpdateCmdUI(TRUE));
}

TEST(ControlBarBase, FocusEnteringTheBarRepaintsBarAndParentNonClientOnce)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    pFrame->ShowWindow(SW_SHOWNA);
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", pFrame, 0xE903, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    CWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &bar, 1));
    ::SetActiveWindow(pFrame->m_hWnd);
    ::SetFocus(edit.m_hWnd);
    ASSERT_EQ(edit.m_hWnd, ::GetFocus());

    testsupport::MsgRecorder rec;
    rec.Only({WM_NCPAINT});
    rec.Watch(bar.m_hWnd);
    rec.Watch(pFrame->m_hWnd);
    rec.HookThread();
    bar.DoBarUpdateCmdUI(TRUE);
    EXPECT_NE(0, bar.m_nInteractionFlags & 0x01);
    bar.DoBarUpdateCmdUI(TRUE);  // nothing changed: no repaint
    rec.Unhook();
    EXPECT_TRUE(rec.Matches({
        {WM_NCPAINT, testsupport::kSent | testsupport::kHwnd, 0, 0, bar.m_hWnd},
        {WM_NCPAINT, testsupport::kSent | testsupport::kHwnd, 0, 0, pFrame->m_hWnd},
    }));
    edit.DestroyWindow();
    bar.DestroyWindow();
    pFrame->DestroyWindow();
}

namespace {

const COLORREF kBarFace = RGB(10, 200, 30);

class FaceTheme : public CExtPaintManagerXP
{
public:
    int m_nSysColor = 0, m_nSetting = 0, m_nDisplay = 0, m_nTheme = 0;
    UINT m_uLastFlags = 0;
    WPARAM m_wLast = 0;
    int m_nLastBpp = 0, m_cxLast = 0, m_cyLast = 0;
    void DrawToolbarBackground(CDC& dc, const RECT& rc, CObject*, LPARAM) override
    {
        dc.FillSolidRect(&rc, kBarFace);
    }
    void OnSysColorChange() override { m_nSysColor++; }
    void OnSettingChange(UINT uFlags, LPCTSTR) override
    {
        m_nSetting++;
        m_uLastFlags = uFlags;
    }
    void OnDisplayChange(int nBpp, int cx, int cy) override
    {
        m_nDisplay++;
        m_nLastBpp = nBpp;
        m_cxLast = cx;
        m_cyLast = cy;
    }
    void OnThemeChanged(WPARAM wParam, LPARAM) override
    {
        m_nTheme++;
        m_wLast = wParam;
    }
};

struct ThemeScope
{
    FaceTheme* p;
    ThemeScope() : p(new FaceTheme) { g_CurrentPaintManager.InstallPaintManager(p); }
    ~ThemeScope() { g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP)); }
};

}  // namespace

TEST(ControlBarBase, PaintsItsBackgroundThroughThePaintManager)
{
    ThemeScope theme;
    Host host;
    CExtToolControlBar tool;  // a bar whose buttons, not one child, fill it
    ASSERT_TRUE(tool.Create("Tool", &host, 0xE904, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    tool.MoveWindow(0, 0, 40, 20);
    testsupport::DibCanvas canvas(60, 30);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    tool.DoPaint(pDC);
    // The client area: the window less the frame the theme takes round a fixed bar.
    CRect rcClient;
    tool.GetClientRect(&rcClient);
    EXPECT_EQ(CSize(38, 18), rcClient.Size());
    EXPECT_EQ(kBarFace, canvas.Pixel(0, 0));
    EXPECT_EQ(kBarFace, canvas.Pixel(37, 17));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(38, 17));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(10, 18));

    // A resizable bar whose single child covers the client area paints nothing.
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", &host, 0xE905, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    bar.MoveWindow(0, 0, 40, 20);
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &bar, 1));
    bar.ResizeContentWindow(-1, -1, false);
    CRect rcChild;
    child.GetWindowRect(&rcChild);
    bar.ScreenToClient(&rcChild);
    EXPECT_EQ(CRect(0, 0, 40, 20), rcChild);
    canvas.Fill(RGB(255, 255, 255));
    bar.DoPaint(pDC);
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(5, 5));
    child.ShowWindow(SW_HIDE);
    bar.DoPaint(pDC);
    EXPECT_EQ(kBarFace, canvas.Pixel(5, 5));
    child.DestroyWindow();
    bar.DestroyWindow();
    tool.DestroyWindow();
}

TEST(ControlBarBase, RelaysSystemChangesToThePaintManager)
{
    ThemeScope theme;
    Host host;
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", &host, 0xE906, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    bar.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(1, theme.p->m_nSysColor);
    bar.SendMessage(WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_EQ(1, theme.p->m_nSetting);
    EXPECT_EQ(UINT(SPI_SETNONCLIENTMETRICS), theme.p->m_uLastFlags);
    bar.SendMessage(WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
    EXPECT_EQ(1, theme.p->m_nDisplay);
    EXPECT_EQ(24, theme.p->m_nLastBpp);
    EXPECT_EQ(1024, theme.p->m_cxLast);
    EXPECT_EQ(768, theme.p->m_cyLast);
    bar.SendMessage(WM_THEMECHANGED, 7, 0);
    EXPECT_EQ(1, theme.p->m_nTheme);
    EXPECT_EQ(WPARAM(7), theme.p->m_wLast);
    bar.DestroyWindow();
}

TEST(ControlBarBase, PopupMenuEventRecordAndItsTarget)
{
    POINT ptCursor;
    ASSERT_TRUE(::GetCursorPos(&ptCursor));
    const POINT pts[3] = {{-1, -1}, {10, -1}, {10, 20}};
    for (int i = 0; i < 3; i++)
    {
        CExtControlBar::POPUP_MENU_EVENT_DATA d(1, NULL, NULL, pts[i], WM_RBUTTONUP, NULL);
        const POINT expect = (i < 2) ? ptCursor : pts[2];
        EXPECT_EQ(expect.x, d.m_ptScreen.x) << "case " << i;
        EXPECT_EQ(expect.y, d.m_ptScreen.y) << "case " << i;
        EXPECT_EQ(nullptr, d.m_pWndInitialTarget) << "case " << i;
        EXPECT_FALSE(d.IsPostNotification()) << "case " << i;
    }
    for (WORD nCode = 0; nCode <= 16; nCode++)
    {
        CExtControlBar::POPUP_MENU_EVENT_DATA d(nCode, NULL, NULL, pts[2], WM_CONTEXTMENU, NULL);
        const bool bList = nCode <= 6 || nCode == 11 || nCode == 14;
        EXPECT_EQ(bList, d.IsControlBarMenuListNotification()) << "code " << nCode;
    }

    // A bar in a plain parent notifies that parent; a zero reply means not handled.
    Host host;
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", &host, 0xE907, WS_CHILD | CBRS_TOP));
    testsupport::MsgRecorder rec;
    rec.Only({CExtControlBar::g_nMsgConstructPopupMenu});
    rec.Watch(host.m_hWnd);
    rec.HookThread();
    CExtControlBar::POPUP_MENU_EVENT_DATA d(1, NULL, &bar, pts[2], WM_RBUTTONUP, NULL);
    EXPECT_FALSE(d.NotifyTarget(false));
    EXPECT_TRUE(d.NotifyTarget(true) == false && d.IsPostNotification());
    rec.Unhook();
    EXPECT_TRUE(rec.Matches({
        {CExtControlBar::g_nMsgConstructPopupMenu, testsupport::kSent | testsupport::kHwnd | testsupport::kWParam,
         (WPARAM)&d, 0, host.m_hWnd},
        {CExtControlBar::g_nMsgConstructPopupMenu, testsupport::kSent | testsupport::kHwnd | testsupport::kWParam,
         (WPARAM)&d, 0, host.m_hWnd},
    }));
    EXPECT_EQ(static_cast<CWnd*>(&host), static_cast<CWnd*>(d.m_pWndInitialTarget));
    bar.DestroyWindow();
}

TEST(ControlBarBase, BarsMenuAndPermissionsFollowTheLockSwitch)
{
    CExtControlBar bar;
    EXPECT_TRUE(bar.IsDraggingAllowed());
    EXPECT_TRUE(bar.IsHidingAllowed());
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->CreatePopupMenu(NULL));
    EXPECT_TRUE(bar.InsertIntoBarsMenu(pMenu));
    EXPECT_EQ(1, pMenu->ItemGetCount());
    CExtControlBar::g_bLockAllBars = true;
    EXPECT_FALSE(bar.IsDraggingAllowed());
    EXPECT_FALSE(bar.IsRowResizingAllowed());
    EXPECT_FALSE(bar.InsertIntoBarsMenu(pMenu));
    CExtControlBar::g_bLockAllBars = false;
    bar.m_nOptionFlags &= ~0x20;
    EXPECT_FALSE(bar.InsertIntoBarsMenu(pMenu));
    EXPECT_EQ(1, pMenu->ItemGetCount());
    delete pMenu;
}

TEST(ControlBarBase, DockMarkerStyleFollowsTheThemeUnlessOverridden)
{
    CExtControlBar bar;
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    EXPECT_EQ(1, bar.QueryDockMarkerStyle());
    EXPECT_TRUE(bar.UsesDockMarkerDrag());
    EXPECT_FALSE(bar.UsesLiveRowResize());
    EXPECT_TRUE(bar.IsShowContentOnDock());
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    EXPECT_EQ(0, bar.QueryDockMarkerStyle());
    EXPECT_FALSE(bar.UsesDockMarkerDrag());
    EXPECT_FALSE(bar.UsesLiveInRowResize());
    CExtControlBar::g_nDockMarkerStyleOverride = 1;
    EXPECT_EQ(1, bar.QueryDockMarkerStyle());
    CExtControlBar::g_nDockMarkerStyleOverride = -1;
}
