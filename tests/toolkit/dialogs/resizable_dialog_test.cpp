// The resizable dialog: anchor records, exact child rectangles after a resize, the
// minimum tracking size taken from the first size, and pages that ignore OK and Cancel.
#include <gtest/gtest.h>
#include "toolkit/dialogs/resizable_dialog.h"
#include "anchor_test_dialog.h"

using namespace anchortest;

TEST(ResizableDialog, AnchoredChildrenFollowTheClientArea)
{
    CAnchorDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    EXPECT_EQ(6, dlg.GetAnchorCount());
    CheckAnchoredResize(dlg);
    // Shrinking back to the first size puts every child where it began.
    CRect rcWnd;
    dlg.GetWindowRect(&rcWnd);
    dlg.SetWindowPos(NULL, 0, 0, dlg.m_sizeMinTrack.cx, dlg.m_sizeMinTrack.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(dlg.m_rcAtInit[i], ChildRect(dlg, kAnchors[i].nID)) << "child " << i;
    dlg.DestroyWindow();
    EXPECT_EQ(0, dlg.GetAnchorCount());  // emptied with the window
}

TEST(ResizableDialog, AnchorRecordsHoldPercentagesAndTruncatedOffsets)
{
    CAnchorDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    CExtResizableDialog::RDI_t rdi;
    ASSERT_TRUE(dlg.GetAnchor(::GetDlgItem(dlg.m_hWnd, IDC_DT_COMBO), rdi));
    // A bottom-right anchor of (-1, -1) is the top-left one.
    EXPECT_EQ(0, rdi.m_nLtAnchorCx);
    EXPECT_EQ(100, rdi.m_nLtAnchorCy);
    EXPECT_EQ(0, rdi.m_nRbAnchorCx);
    EXPECT_EQ(100, rdi.m_nRbAnchorCy);
    EXPECT_EQ(dlg.m_rcAtInit[5].bottom - dlg.m_sizeClientAtInit.cy, rdi.m_nRbOffsetY);
    ASSERT_TRUE(dlg.GetAnchor(::GetDlgItem(dlg.m_hWnd, IDC_DT_HALF), rdi));
    EXPECT_EQ(dlg.m_rcAtInit[4].left - 50 * dlg.m_sizeClientAtInit.cx / 100, rdi.m_nLtOffsetX);

    // Anchoring again replaces the record; (TopLeft, (-1, -1)) never moves the child.
    HWND hFixed = ::GetDlgItem(dlg.m_hWnd, IDC_DT_CORNER);
    EXPECT_TRUE(dlg.AddAnchor(IDC_DT_CORNER, AnchorTopLeft));
    EXPECT_EQ(6, dlg.GetAnchorCount());
    ASSERT_TRUE(dlg.GetAnchor(hFixed, rdi));
    EXPECT_EQ(0, rdi.m_nRbAnchorCx);
    EXPECT_EQ(0, rdi.m_nRbAnchorCy);
    CRect rcBefore = ChildRect(dlg, IDC_DT_CORNER);
    dlg.SetWindowPos(NULL, 0, 0, dlg.m_sizeMinTrack.cx + 20, dlg.m_sizeMinTrack.cy + 20,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(rcBefore, ChildRect(dlg, IDC_DT_CORNER));
    dlg.DestroyWindow();
}

TEST(ResizableDialog, BadAnchorsAreRefusedAndDeadChildrenDropped)
{
    CAnchorDlg dlg, other;
    EXPECT_FALSE(dlg.AddAnchor(IDC_DT_FIXED, AnchorTopLeft));  // no window yet
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    ASSERT_TRUE(other.Create(IDD_DT_ANCHORS, NULL));
    EXPECT_FALSE(dlg.AddAnchor(::GetDlgItem(other.m_hWnd, IDC_DT_FIXED), AnchorTopLeft));
    EXPECT_FALSE(dlg.AddAnchor(IDC_DT_FIXED, CSize(-1, -1)));
    EXPECT_FALSE(dlg.AddAnchor(0x7FFF, AnchorTopLeft));
    EXPECT_FALSE(dlg.AddAnchor((HWND)NULL, AnchorTopLeft));
    EXPECT_EQ(6, dlg.GetAnchorCount());
    ::DestroyWindow(::GetDlgItem(dlg.m_hWnd, IDC_DT_CORNER));
    dlg.ArrangeLayout();
    EXPECT_EQ(5, dlg.GetAnchorCount());
    other.DestroyWindow();
    dlg.DestroyWindow();
}

TEST(ResizableDialog, NeverSmallerThanFirstShown)
{
    CAnchorDlg dlg;
    // Until the first size the tracking sizes are not in force.
    MINMAXINFO mmi = {};
    mmi.ptMinTrackSize = CPoint(11, 12);
    mmi.ptMaxTrackSize = CPoint(13, 14);
    EXPECT_EQ(0, dlg.WindowProc(WM_GETMINMAXINFO, 0, (LPARAM)&mmi));
    EXPECT_EQ(11, mmi.ptMinTrackSize.x);
    EXPECT_EQ(12, mmi.ptMinTrackSize.y);
    EXPECT_EQ(13, mmi.ptMaxTrackSize.x);

    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    CRect rcFirst;
    dlg.GetWindowRect(&rcFirst);
    EXPECT_EQ(rcFirst.Size(), dlg.m_sizeMinTrack);
    mmi = MINMAXINFO();
    dlg.SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
    EXPECT_EQ(rcFirst.Width(), mmi.ptMinTrackSize.x);
    EXPECT_EQ(rcFirst.Height(), mmi.ptMinTrackSize.y);
    EXPECT_EQ(0, mmi.ptMaxTrackSize.x);  // the maximum is the owner's to set

    dlg.SetWindowPos(NULL, 0, 0, rcFirst.Width() - 50, rcFirst.Height() - 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rc;
    dlg.GetWindowRect(&rc);
    EXPECT_EQ(rcFirst.Size(), rc.Size());

    // A minimized size (what the system reports while iconic) neither lays out nor
    // changes the minimum.
    CRect rcFixed = ChildRect(dlg, IDC_DT_CORNER);
    dlg.SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(36, 18));
    EXPECT_EQ(rcFixed, ChildRect(dlg, IDC_DT_CORNER));
    dlg.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(dlg.m_sizeClientAtInit.cx, dlg.m_sizeClientAtInit.cy));
    EXPECT_EQ(rcFirst.Size(), dlg.m_sizeMinTrack);
    EXPECT_EQ(rcFixed, ChildRect(dlg, IDC_DT_CORNER));
    dlg.DestroyWindow();
}

TEST(ResizableDialog, PageIgnoresOkAndCancel)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, NULL, "Host", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CExtResizableDialog page(IDD_DT_PAGE, &host);
    ASSERT_TRUE(page.Create(IDD_DT_PAGE, &host));
    ASSERT_TRUE(page.GetStyle() & WS_CHILD);
    page.SendMessage(WM_COMMAND, IDOK);
    page.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(page.GetStyle() & WS_VISIBLE);
    EXPECT_STREQ("Dialog", page.QueryDialogName());
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CExtResDlg)));
    page.DestroyWindow();
    host.DestroyWindow();
}

namespace {

int g_nBarUpdates = 0;
HWND g_hWndBarUpdateParent = NULL;
void CountBarUpdates(CWnd* pWndParent, BOOL bDisable)
{
    g_nBarUpdates++;
    g_hWndBarUpdateParent = bDisable ? pWndParent->m_hWnd : NULL;
}
BOOL TakeKeys(CWnd*, MSG* pMsg) { return pMsg->message == WM_KEYDOWN; }

}  // namespace

TEST(ResizableDialog, ChildBarsAreUpdatedAfterIdleProducingMessagesAndOfferedKeysFirst)
{
    CWinApp app("Bar Updates");
    CAnchorDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    CWinThread* pThread = AfxGetThread();
    ASSERT_NE(nullptr, pThread);
    MSG msgSaved = pThread->m_msgCur;
    CExtResizableDialog::g_pfnUpdateChildBarsCmdUI = CountBarUpdates;
    g_nBarUpdates = 0;
    pThread->m_msgCur.message = WM_KEYUP;  // a message after which the idle work is due
    dlg.SendMessage(WM_NULL);
    EXPECT_EQ(1, g_nBarUpdates);
    EXPECT_EQ(dlg.m_hWnd, g_hWndBarUpdateParent);
    pThread->m_msgCur.message = WM_PAINT;  // not idle-producing
    dlg.SendMessage(WM_NULL);
    EXPECT_EQ(1, g_nBarUpdates);
    CExtResizableDialog::g_pfnUpdateChildBarsCmdUI = NULL;
    pThread->m_msgCur = msgSaved;

    CExtResizableDialog::g_pfnChildBarsPreTranslateMessage = TakeKeys;
    MSG msg = {::GetDlgItem(dlg.m_hWnd, IDC_DT_EDIT), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_TRUE(dlg.PreTranslateMessage(&msg));
    CExtResizableDialog::g_pfnChildBarsPreTranslateMessage = NULL;
    dlg.DestroyWindow();
}
