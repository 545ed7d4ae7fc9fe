// The themed-frame dialog: with the frame inactive (no theme supports one) it is the
// resizable dialog, with the frame part initialised and reset around the window.
#include <gtest/gtest.h>
#include "toolkit/dialogs/nc_frame_dialog.h"
#include "anchor_test_dialog.h"

using namespace anchortest;

TEST(NcFrameDialog, ThemedFrameDialogWithTheFrameInactiveActsAsTheResizableDialog)
{
    typedef CAnchorDlgT<CExtNCW<CExtResizableDialog>> CNcAnchorDlg;
    CNcAnchorDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    EXPECT_EQ(dlg.m_hWnd, dlg.GetFrameHwnd());
    EXPECT_FALSE(dlg.IsNcFrameActive());  // no theme supports a themed frame
    EXPECT_TRUE(dlg.m_dwSavedStyle & WS_THICKFRAME);
    EXPECT_TRUE(dlg.GetStyle() & WS_THICKFRAME);
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CExtResizableDialog)));
    EXPECT_TRUE(dlg.GetSizeGrip().m_hWnd != NULL);
    CheckAnchoredResize(dlg);
    dlg.DestroyWindow();
    EXPECT_EQ(CPoint(-32767, -32767), dlg.m_ptLastHover);
}
