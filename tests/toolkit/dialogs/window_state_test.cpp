// The window-state layer: the placement saved in and restored from the application's
// profile, the size grip (place, hit codes, painting), themed control colours and the
// background, Alt+Space and where the system menu opens.
#include <gtest/gtest.h>
#include <string>
#include "toolkit/dialogs/resizable_dialog.h"
#include "support/registry_sandbox.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "dialogs_test_ids.h"

using testsupport::DibCanvas;
using testsupport::RegistrySandbox;

namespace {

const char kSectionPath[] = "Software\\Corvalin\\Dialog Tests\\Placement";

class Placement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.Override(HKEY_CURRENT_USER, "HKCU"));
        HKEY hSoftware = NULL;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                                   &hSoftware, NULL));
        ::RegCloseKey(hSoftware);
        app.SetRegistryKey("Corvalin");
    }
    void TearDown() override { box.RestoreOverrides(); }
    static std::string Stored(const char* sEntry)
    {
        char buf[128] = {};
        DWORD cb = sizeof(buf) - 1, type = 0;
        HKEY hKey = NULL;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSectionPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return "(no key)";
        LONG rc = ::RegQueryValueExA(hKey, sEntry, NULL, &type, (BYTE*)buf, &cb);
        ::RegCloseKey(hKey);
        return rc == ERROR_SUCCESS && type == REG_SZ ? buf : "(missing)";
    }
    static CRect NormalRect(CWnd& wnd)
    {
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof(wp);
        wnd.GetWindowPlacement(&wp);
        return wp.rcNormalPosition;
    }

    RegistrySandbox box;
    CWinApp app{"Dialog Tests"};
};

// Copies what a window shows on the screen into a canvas.
void Capture(HWND hWnd, DibCanvas& canvas)
{
    HDC hdc = ::GetDC(hWnd);
    ::BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), hdc, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hdc);
}

}  // namespace

TEST_F(Placement, StoredPlacementIsAppliedAndTheFinalOneSaved)
{
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kSectionPath, "Main", "120,80,760,560,1,0"));
    CExtResizableDialog dlg(IDD_DT_ANCHORS);
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    dlg.EnableSaveRestore("Placement", "Main", true);
    EXPECT_EQ(CRect(120, 80, 760, 560), NormalRect(dlg));
    EXPECT_FALSE(dlg.IsWindowVisible());  // forced hidden
    dlg.SetWindowPos(NULL, 130, 90, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    dlg.DestroyWindow();
    EXPECT_EQ("130,90,830,590,1,0", Stored("Main"));
}

TEST_F(Placement, IncompleteOrMissingTextLeavesThePlacement)
{
    // Also an inverted rectangle and show commands that are hidden or unknown.
    const char* texts[] = {"10,10,300,200,1", "a,b,c,d,e,f", "", "300,200,10,10,1,0", "10,10,300,200,0,0",
                           "10,10,300,200,99,0"};
    for (const char* sText : texts)
    {
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kSectionPath, "Main", sText));
        CExtResizableDialog dlg(IDD_DT_ANCHORS);
        ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
        CRect rcBefore = NormalRect(dlg);
        dlg.LoadWindowRect(true);
        EXPECT_EQ(rcBefore, NormalRect(dlg)) << "text '" << sText << "'";
        dlg.DestroyWindow();
        // Save/restore was never enabled: nothing written.
        EXPECT_EQ(sText, Stored("Main")) << "text '" << sText << "'";
    }
}

TEST_F(Placement, EnablingBeforeTheWindowOnlyRecordsTheNames)
{
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kSectionPath, "Early", "120,80,760,560,1,0"));
    CExtResizableDialog dlg(IDD_DT_ANCHORS);
    dlg.EnableSaveRestore("Placement", "Early");
    EXPECT_TRUE(dlg.IsSaveRestoreEnabled());
    EXPECT_STREQ("Placement", dlg.GetSaveRestoreSection());
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    EXPECT_NE(CRect(120, 80, 760, 560), NormalRect(dlg));
    CRect rc = NormalRect(dlg);
    dlg.DestroyWindow();
    char sExpected[64];
    sprintf(sExpected, "%ld,%ld,%ld,%ld,1,0", rc.left, rc.top, rc.right, rc.bottom);
    EXPECT_EQ(sExpected, Stored("Early"));
}

TEST(WindowState, SizeGripSitsInTheCornerAndAnswersTheSizingHitCode)
{
    CExtResizableDialog dlg(IDD_DT_ANCHORS);
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    CExtWSGripper& grip = dlg.GetSizeGrip();
    ASSERT_TRUE(::IsWindow(grip.m_hWnd));
    EXPECT_EQ(0xFFFF, ::GetDlgCtrlID(grip.m_hWnd) & 0xFFFF);
    EXPECT_TRUE(grip.GetStyle() & WS_VISIBLE);
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    auto CheckCorner = [&](const char* sWhen) {
        CRect rcClient, rcGrip;
        dlg.GetClientRect(&rcClient);
        grip.GetWindowRect(&rcGrip);
        dlg.ScreenToClient(&rcGrip);
        EXPECT_EQ(CRect(rcClient.right - cx, rcClient.bottom - cy, rcClient.right, rcClient.bottom), rcGrip) << sWhen;
    };
    CheckCorner("created");
    dlg.SetWindowPos(NULL, 0, 0, dlg.m_sizeMinTrack.cx + 33, dlg.m_sizeMinTrack.cy + 17,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CheckCorner("resized");

    EXPECT_EQ(HTBOTTOMRIGHT, (int)grip.SendMessage(WM_NCHITTEST, 0, 0));
    EXPECT_EQ(MA_NOACTIVATEANDEAT, (int)grip.SendMessage(WM_MOUSEACTIVATE, (WPARAM)dlg.m_hWnd, 0));
    dlg.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    EXPECT_EQ(HTBOTTOMLEFT, (int)grip.SendMessage(WM_NCHITTEST, 0, 0));
    dlg.ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
    dlg.ModifyStyle(0, WS_MAXIMIZE);  // what IsZoomed reads
    EXPECT_EQ(HTNOWHERE, (int)grip.SendMessage(WM_NCHITTEST, 0, 0));
    dlg.ModifyStyle(WS_MAXIMIZE, 0);

    dlg.ShowSizeGrip(false);
    EXPECT_FALSE(grip.GetStyle() & WS_VISIBLE);
    dlg.ShowSizeGrip(false);
    EXPECT_FALSE(dlg.IsSizeGripShown());
    dlg.ShowSizeGrip(true);
    EXPECT_TRUE(grip.GetStyle() & WS_VISIBLE);
    dlg.CreateSizeGrip();  // never twice
    int nGrips = 0;
    for (HWND h = ::GetWindow(dlg.m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT))
        if ((::GetDlgCtrlID(h) & 0xFFFF) == 0xFFFF)
            nGrips++;
    EXPECT_EQ(1, nGrips);
    dlg.DestroyWindow();
}

TEST(WindowState, GripAndBackgroundPaintInTheThemeColours)
{
    CExtResizableDialog dlg(IDD_DT_ANCHORS);
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    dlg.ShowWindow(SW_SHOWNA);
    dlg.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testsupport::PumpPending();
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    const COLORREF clrFace = pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, &dlg, 0);

    CExtWSGripper& grip = dlg.GetSizeGrip();
    CRect rcGrip;
    grip.GetClientRect(&rcGrip);
    DibCanvas shown(rcGrip.Width(), rcGrip.Height(), RGB(1, 2, 3));
    Capture(grip.m_hWnd, shown);
    DibCanvas expected(rcGrip.Width(), rcGrip.Height(), clrFace);
    {
        CDC dc;
        dc.Attach(expected.Dc());
        dc.SetBkMode(TRANSPARENT);
        pPM->DrawSizeGrip(dc, rcGrip, &grip, 0);
        dc.Detach();
    }
    for (int y = 0; y < rcGrip.Height(); y++)
        for (int x = 0; x < rcGrip.Width(); x++)
            ASSERT_EQ(expected.Pixel(x, y), shown.Pixel(x, y)) << "grip pixel " << x << "," << y;
    EXPECT_EQ(clrFace, shown.Pixel(0, 0));

    // The dialog's own background between the controls.
    CRect rcClient;
    dlg.GetClientRect(&rcClient);
    DibCanvas face(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    Capture(dlg.m_hWnd, face);
    EXPECT_EQ(clrFace, face.Pixel(rcClient.Width() / 2, 2));
    EXPECT_EQ(clrFace, face.Pixel(2, rcClient.Height() - 2));
    dlg.DestroyWindow();
}

TEST(WindowState, StaticControlsAndTheDialogShareTheThemedBrush)
{
    CExtResizableDialog dlg(IDD_DT_ANCHORS);
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    const COLORREF clrFace = g_CurrentPaintManager->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, &dlg, 0);
    DibCanvas canvas(4, 4);
    ::SetBkMode(canvas.Dc(), OPAQUE);
    HBRUSH hStatic = (HBRUSH)dlg.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)canvas.Dc(),
                                             (LPARAM)::GetDlgItem(dlg.m_hWnd, IDC_DT_FIXED));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(canvas.Dc()));
    LOGBRUSH lb = {};
    ASSERT_EQ((int)sizeof(lb), ::GetObjectA(hStatic, sizeof(lb), &lb));
    EXPECT_EQ(BS_SOLID, (int)lb.lbStyle);
    EXPECT_EQ(clrFace, lb.lbColor);
    HBRUSH hDlg = (HBRUSH)dlg.SendMessage(WM_CTLCOLORDLG, (WPARAM)canvas.Dc(), (LPARAM)dlg.m_hWnd);
    EXPECT_EQ(hStatic, hDlg);

    // A read-only edit asks with the static message but is not a static control: the
    // dialog's lower layers answer it.
    ::SetBkMode(canvas.Dc(), OPAQUE);
    HBRUSH hEdit = (HBRUSH)dlg.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)canvas.Dc(),
                                           (LPARAM)::GetDlgItem(dlg.m_hWnd, IDC_DT_EDIT));
    EXPECT_NE(hStatic, hEdit);
    EXPECT_EQ(OPAQUE, ::GetBkMode(canvas.Dc()));
    dlg.DestroyWindow();
}

TEST(WindowState, AltSpaceIsEatenOnlyByPopupDialogs)
{
    CExtResizableDialog dlg(IDD_DT_ANCHORS);
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    MSG msg = {dlg.m_hWnd, WM_SYSKEYDOWN, VK_SPACE, (LPARAM)(1 << 29), 0, {0, 0}};
    EXPECT_TRUE(dlg.PreTranslateMessage(&msg));
    msg.message = WM_SYSKEYUP;
    EXPECT_TRUE(dlg.PreTranslateMessage(&msg));
    CExtWSHelper::stat_CancelMenuTracking();  // the key-down may have opened the menu

    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, NULL, "Host", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CExtResizableDialog page(IDD_DT_PAGE, &host);
    ASSERT_TRUE(page.Create(IDD_DT_PAGE, &host));
    MSG pageMsg = {page.m_hWnd, WM_SYSKEYDOWN, VK_SPACE, (LPARAM)(1 << 29), 0, {0, 0}};
    EXPECT_FALSE(page.PreTranslateMessage(&pageMsg));
    EXPECT_FALSE(page.TrackSystemMenu());  // a page has no system menu
    page.DestroyWindow();
    host.DestroyWindow();
    dlg.DestroyWindow();
}

TEST(WindowState, SystemMenuOpensUnderTheCaptionAtTheLeadingEdge)
{
    CExtResizableDialog dlg(IDD_DT_ANCHORS);
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    dlg.SetWindowPos(NULL, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rcWnd, rcClient;
    dlg.GetWindowRect(&rcWnd);
    dlg.GetClientRect(&rcClient);
    dlg.ClientToScreen(&rcClient);
    const int nFrame = ::GetSystemMetrics(SM_CXFRAME);
    DWORD dwFlags = 0;
    CPoint pt = CExtWSHelper::stat_SystemMenuPoint(&dlg, NULL, false, dwFlags, 4);
    EXPECT_EQ(CPoint(rcWnd.left + nFrame, rcClient.top), pt);
    EXPECT_EQ(4u, dwFlags);
    pt = CExtWSHelper::stat_SystemMenuPoint(&dlg, NULL, true, dwFlags, 4);
    EXPECT_EQ(0x44u, dwFlags);
    CPoint ptGiven(300, 200);
    EXPECT_EQ(ptGiven, CExtWSHelper::stat_SystemMenuPoint(&dlg, &ptGiven, false, dwFlags, 4));

    dlg.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    pt = CExtWSHelper::stat_SystemMenuPoint(&dlg, NULL, false, dwFlags, 4);
    EXPECT_EQ(3u, dwFlags);
    EXPECT_EQ(rcWnd.right - nFrame + 4, pt.x);
    dlg.DestroyWindow();
}

TEST(WindowState, CaptionAndSystemMenuClicksAreTakenByTheDialog)
{
    CExtResizableDialog dlg(IDD_DT_ANCHORS);
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    ASSERT_NE(nullptr, ::GetSystemMenu(dlg.m_hWnd, FALSE));
    EXPECT_EQ(0, (int)dlg.SendMessage(WM_NCLBUTTONDOWN, HTSYSMENU, 0));
    EXPECT_EQ(0, (int)dlg.SendMessage(WM_NCRBUTTONDOWN, HTSYSMENU, 0));
    EXPECT_EQ(0, (int)dlg.SendMessage(WM_NCLBUTTONUP, HTSYSMENU, 0));
    EXPECT_EQ(0, (int)dlg.SendMessage(WM_NCRBUTTONUP, HTCAPTION, 0));
    // The menu is open and timer 301 watches it until it closes.
    EXPECT_TRUE(dlg.TrackSystemMenu(NULL, true));
    EXPECT_TRUE(dlg.IsSystemMenuTracking());
    EXPECT_EQ(0, (int)dlg.SendMessage(WM_TIMER, 301, 0));
    EXPECT_TRUE(dlg.IsSystemMenuTracking());
    CExtWSHelper::stat_CancelMenuTracking();
    EXPECT_FALSE(CExtWSHelper::stat_IsMenuTracking());
    EXPECT_EQ(0, (int)dlg.SendMessage(WM_TIMER, 301, 0));
    EXPECT_FALSE(dlg.IsSystemMenuTracking());
    dlg.DestroyWindow();
}

TEST(WindowState, ParentBackgroundThemeShowsThroughPagesAndTheirStatics)
{
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerStudio2005));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, NULL, "Host", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CExtResizableDialog page(IDD_DT_PAGE, &host);
    ASSERT_TRUE(page.Create(IDD_DT_PAGE, &host));
    ASSERT_TRUE(pPM->UsesParentBackground(&page, 0));  // a true-colour screen
    DibCanvas canvas(4, 4);
    EXPECT_EQ((LRESULT)::GetStockObject(NULL_BRUSH),
              page.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)canvas.Dc(), 0));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(canvas.Dc()));
    page.ModifyStyle(0, WS_CLIPCHILDREN);
    EXPECT_EQ(1, (int)page.SendMessage(WM_ERASEBKGND, (WPARAM)canvas.Dc(), 0));

    // A top-level dialog keeps the shared brush, now in this theme's colour.
    CExtResizableDialog dlg(IDD_DT_ANCHORS);
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    HBRUSH hBrush = (HBRUSH)dlg.SendMessage(WM_CTLCOLORDLG, (WPARAM)canvas.Dc(), (LPARAM)dlg.m_hWnd);
    LOGBRUSH lb = {};
    ASSERT_EQ((int)sizeof(lb), ::GetObjectA(hBrush, sizeof(lb), &lb));
    EXPECT_EQ(pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, &dlg, 0), lb.lbColor);
    dlg.DestroyWindow();
    page.DestroyWindow();
    host.DestroyWindow();
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
}
