#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/scroll_item_wnd.h"
#include "support/message_pump.h"

namespace {

// A pixel-scrolled area of a fixed size with 10-pixel lines.
class PixelArea : public CExtScrollWnd
{
public:
    CSize m_total{1000, 1000};
    int m_nWheelLines = 3;
    void GetTotalSize(CSize& s) override { s = m_total; }
    void GetLineSize(CSize& s, int) override { s = CSize(10, 10); }
    void GetPageSize(CSize& s, int) override
    {
        CRect rc;
        GetClientRectEx(&rc);
        s = rc.Size();
    }
    int GetWheelScrollLines(UINT, short, POINT) override { return m_nWheelLines; }
};

// Rows of 20 pixels: an item axis (or unbounded) vertically, none horizontally.
class RowList : public CExtScrollItemWnd
{
public:
    int m_nRows = 100;
    void GetItemSize(CSize& s) override { s = CSize(10, 20); }
    void GetTotalSize(CSize& s) override
    {
        CExtScrollItemWnd::GetTotalSize(s);
        if (GetScrollTypeV() == __ESIS_ST_ITEM)
            s.cy = m_nRows;
    }
};

struct ScrollWndTest : testing::Test
{
    HWND m_hParent = NULL;
    void SetUp() override
    {
        ASSERT_TRUE(CExtScrollItemWnd::RegisterScrollItemWndClass());
        m_hParent = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 30, 30, 400,
                                      300, NULL, NULL, NULL, NULL);
    }
    void TearDown() override { ::DestroyWindow(m_hParent); }
    CWnd* Parent() { return CWnd::FromHandle(m_hParent); }
};

}  // namespace

TEST_F(ScrollWndTest, PixelAreaRangesScrollingAndTheWheel)
{
    PixelArea wnd;
    ASSERT_TRUE(wnd.CreateEx(0, CExtScrollItemWnd::g_sWndClassName, "",
                             WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, CRect(0, 0, 300, 200),
                             Parent(), 1));
    wnd.UpdateScrollBars();
    CRect rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ(1000 - rc.Width(), wnd.GetScrollLimit(SB_HORZ));
    EXPECT_EQ(1000 - rc.Height(), wnd.GetScrollLimit(SB_VERT));
    const int nLimitV = wnd.GetScrollLimit(SB_VERT);
    struct Step
    {
        const char* what;
        int nLines;  // lines per notch the window reports
        UINT nFlags;
        short zDelta;
        UINT nScrollCode;  // used when zDelta is 0
        POINT ptAfter;
    } steps[] = {
        {"bottom asks for the largest position", 3, 0, 0, 0x07FF, {0, nLimitV}},
        {"top", 3, 0, 0, 0x06FF, {0, 0}},
        {"line down", 3, 0, 0, 0x01FF, {0, 10}},
        {"one notch: three lines", 3, 0, -120, 0, {0, 40}},
        {"a fine wheel gathers a third of a notch per line", 1, 0, -40, 0, {0, 40}},
        {"...", 1, 0, -40, 0, {0, 40}},
        {"...until a line is full", 1, 0, -40, 0, {0, 50}},
        {"a small turn back is one line, not a page", 3, 0, 40, 0, {0, 40}},
        {"page scrolling only when the system asks for it", (int)WHEEL_PAGESCROLL, 0, -120, 0,
         {0, 40 + rc.Height()}},
        {"shift scrolls sideways", 3, MK_SHIFT, -120, 0, {30, 40 + rc.Height()}},
        {"control does not scroll", 3, MK_CONTROL, -120, 0, {30, 40 + rc.Height()}},
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.what);
        wnd.m_nWheelLines = s.nLines;
        if (s.zDelta != 0)
            wnd.DoMouseWheel(s.nFlags, s.zDelta, CPoint(0, 0));
        else
            wnd.OnScroll(s.nScrollCode, 0, true);
        POINT pt;
        wnd.GetScrollPosition(pt);
        EXPECT_EQ(s.ptAfter.x, pt.x);
        EXPECT_EQ(s.ptAfter.y, pt.y);
    }
    // Without a visible horizontal bar a horizontal request is ignored.
    wnd.m_total = CSize(10, 1000);
    wnd.UpdateScrollBars();
    EXPECT_FALSE(wnd.IsScrollBarVisible(true));
    EXPECT_FALSE(wnd.DoMouseWheel(MK_SHIFT, -120, CPoint(0, 0)));
    EXPECT_FALSE(wnd.OnScrollBy(CSize(50, 0), true));
    wnd.DestroyWindow();
}

TEST_F(ScrollWndTest, ItemAxisPagesAndReportsTheVisibleRange)
{
    RowList wnd;
    ASSERT_TRUE(wnd.Create(Parent(), CRect(0, 0, 300, 200), 1, 0x8,
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL));
    CRect rc;
    wnd.GetClientRect(&rc);
    const int nPage = rc.Height() / 20;
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(::GetScrollInfo(wnd.m_hWnd, SB_VERT, &si));
    EXPECT_EQ(99, si.nMax);
    EXPECT_EQ((UINT)nPage, si.nPage);
    const struct
    {
        UINT nCode;
        int nPos;
    } steps[] = {{0x03FF, nPage}, {0x01FF, nPage + 1}, {0x07FF, 100 - nPage}, {0x00FF, 99 - nPage}, {0x06FF, 0}};
    for (const auto& s : steps)
    {
        SCOPED_TRACE(s.nCode);
        wnd.OnScroll(s.nCode, 0, true);
        EXPECT_EQ(s.nPos, wnd.GetScrollPos(SB_VERT));
        EXPECT_EQ(s.nPos, wnd.m_rangeLast.m_nPosV);
        EXPECT_EQ(100 - nPage, wnd.m_rangeLast.m_nLimitV);
        EXPECT_EQ(s.nPos == 0, wnd.m_rangeLast.m_bBeginV);
        EXPECT_EQ(s.nPos == 100 - nPage, wnd.m_rangeLast.m_bEndV);
        // The partly shown last row counts until the end is reached.
        EXPECT_EQ(nPage + (s.nPos < 100 - nPage ? 1 : 0), wnd.m_rangeLast.m_nPageV);
        RECT rcRange;
        wnd.GetVisibleRange(rcRange);
        EXPECT_EQ(s.nPos, rcRange.top);
        EXPECT_EQ(std::min(s.nPos + nPage, 99), (int)rcRange.bottom);
    }
    // Rows that all fit need no bar.
    wnd.m_nRows = nPage;
    wnd.UpdateScrollBars();
    EXPECT_FALSE(wnd.IsScrollBarVisible(false));
    // An unbounded axis shows where the view stands and saturates instead of wrapping.
    wnd.SetScrollTypeV(CExtScrollItemWnd::__ESIS_ST_UNBOUNDED, true);
    ASSERT_TRUE(wnd.IsScrollBarVisible(false));
    ASSERT_TRUE(::GetScrollInfo(wnd.m_hWnd, SB_VERT, &si));
    EXPECT_GE(si.nMax, 0x7FFFFFFE);
    EXPECT_EQ((UINT)nPage, si.nPage);
    EXPECT_EQ(0x3FFFFFFF, si.nPos);
    wnd.OnScroll(0x07FF, 0, true);
    const int nEnd = wnd.GetScrollPos(SB_VERT);
    EXPECT_EQ(wnd.GetScrollLimit(SB_VERT), nEnd);
    wnd.OnScroll(0x03FF, 0, true);
    EXPECT_EQ(nEnd, wnd.GetScrollPos(SB_VERT)) << "a page past the end stays at the end";
    EXPECT_TRUE(wnd.OnScroll(0x04FF, 0, true)) << "a thumb release jumps to the start";
    EXPECT_EQ(0, wnd.GetScrollPos(SB_VERT));
    wnd.DestroyWindow();
}

TEST_F(ScrollWndTest, SubclassingTakesTheLowStyleBits)
{
    HWND hWnd = ::CreateWindowExA(0, CExtScrollItemWnd::g_sWndClassName, "", WS_CHILD | WS_VISIBLE | 0x0009, 0,
                                  0, 100, 100, m_hParent, NULL, NULL, NULL);
    ASSERT_NE(hWnd, nullptr);
    RowList wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(1, wnd.GetScrollTypeH());
    EXPECT_EQ(2, wnd.GetScrollTypeV());
    EXPECT_EQ(0u, (DWORD)::GetWindowLong(hWnd, GWL_STYLE) & 0xFFFF);
    wnd.DestroyWindow();
}
