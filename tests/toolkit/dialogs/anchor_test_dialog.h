// The anchored test dialog shared by the resizable and themed-frame dialog tests: six
// children anchored in OnInitDialog, and the arithmetic that says where they belong.
#pragma once
#include <gtest/gtest.h>
#include <ostream>
#include "toolkit/dialogs/resizable_dialog.h"
#include "dialogs_test_ids.h"

// Rectangles print as their coordinates in failure messages.
inline void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << "," << rc.top << ")-(" << rc.right << "," << rc.bottom << ")";
}

namespace anchortest {

struct AnchorCase
{
    UINT nID;
    CSize lt, rb;
};
const AnchorCase kAnchors[] = {
    {IDC_DT_FIXED, AnchorTopLeft, AnchorTopLeft},
    {IDC_DT_STRETCH, AnchorTopLeft, AnchorBottomRight},
    {IDC_DT_CORNER, AnchorBottomRight, AnchorBottomRight},
    {IDC_DT_RIGHT, AnchorTopRight, AnchorBottomRight},
    {IDC_DT_HALF, CSize(50, 100), CSize(50, 100)},
    {IDC_DT_COMBO, AnchorBottomLeft, CSize(-1, -1)},
};

template <class TBase>
class CAnchorDlgT : public TBase
{
public:
    CAnchorDlgT() : TBase(IDD_DT_ANCHORS) {}
    CSize m_sizeClientAtInit;
    CRect m_rcAtInit[6];
    BOOL OnInitDialog() override
    {
        BOOL b = TBase::OnInitDialog();
        CRect rc;
        this->GetClientRect(&rc);
        m_sizeClientAtInit = rc.Size();
        for (int i = 0; i < 6; i++)
        {
            ::GetWindowRect(::GetDlgItem(this->m_hWnd, kAnchors[i].nID), &m_rcAtInit[i]);
            this->ScreenToClient(&m_rcAtInit[i]);
            this->AddAnchor(kAnchors[i].nID, kAnchors[i].lt, kAnchors[i].rb);
        }
        return b;
    }
};
typedef CAnchorDlgT<CExtResizableDialog> CAnchorDlg;

inline CRect ChildRect(CWnd& dlg, UINT nID)
{
    CRect rc;
    ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, nID), &rc);
    dlg.ScreenToClient(&rc);
    return rc;
}

// Where the anchoring arithmetic puts a child: offsets stored with truncating division
// at anchoring time, positions computed with rounding.
inline CRect Expected(const CRect& rc0, CSize client0, CSize lt, CSize rb, CSize client)
{
    if (rb == CSize(-1, -1))
        rb = lt;
    int ox1 = rc0.left - lt.cx * client0.cx / 100, oy1 = rc0.top - lt.cy * client0.cy / 100;
    int ox2 = rc0.right - rb.cx * client0.cx / 100, oy2 = rc0.bottom - rb.cy * client0.cy / 100;
    return CRect(::MulDiv(client.cx, lt.cx, 100) + ox1, ::MulDiv(client.cy, lt.cy, 100) + oy1,
                 ::MulDiv(client.cx, rb.cx, 100) + ox2, ::MulDiv(client.cy, rb.cy, 100) + oy2);
}

template <class TDlg>
void CheckAnchoredResize(TDlg& dlg)
{
    CRect rcWnd;
    dlg.GetWindowRect(&rcWnd);
    CSize client0 = dlg.m_sizeClientAtInit;
    // An odd growth, so the 50 % child meets both roundings.
    ASSERT_TRUE(dlg.SetWindowPos(NULL, 0, 0, rcWnd.Width() + 41, rcWnd.Height() + 30,
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    CRect rcClient;
    dlg.GetClientRect(&rcClient);
    ASSERT_EQ(client0.cx + 41, rcClient.Width());
    ASSERT_EQ(client0.cy + 30, rcClient.Height());
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(Expected(dlg.m_rcAtInit[i], client0, kAnchors[i].lt, kAnchors[i].rb, rcClient.Size()),
                  ChildRect(dlg, kAnchors[i].nID))
            << "child " << i;
    // The plain cases, spelled out.
    EXPECT_EQ(dlg.m_rcAtInit[0], ChildRect(dlg, IDC_DT_FIXED));
    CRect rcStretch = dlg.m_rcAtInit[1];
    rcStretch.right += 41;
    rcStretch.bottom += 30;
    EXPECT_EQ(rcStretch, ChildRect(dlg, IDC_DT_STRETCH));
    CRect rcCorner = dlg.m_rcAtInit[2];
    rcCorner.OffsetRect(41, 30);
    EXPECT_EQ(rcCorner, ChildRect(dlg, IDC_DT_CORNER));
    CRect rcRight = dlg.m_rcAtInit[3];
    rcRight.OffsetRect(41, 0);
    rcRight.bottom += 30;
    EXPECT_EQ(rcRight, ChildRect(dlg, IDC_DT_RIGHT));
}

}  // namespace anchortest
