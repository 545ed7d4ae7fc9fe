// The dock highlight hands its pixel buffer, size, shape and colours to the current
// paint manager.
#include <gtest/gtest.h>
#include "toolkit/bars/dock_highlight_wnd.h"
#include "toolkit/theme/paint_manager.h"

namespace {

struct HighlightCall
{
    int nCalls = 0;
    DWORD* pPixels = NULL;
    int cx = 0, cy = 0;
    bool bTwoRects = false, bTabAtTop = false;
    RECT rcMain = {0, 0, 0, 0}, rcTab = {0, 0, 0, 0};
    bool bTabGiven = false;
    COLORREF clrFill = 0, clrBorder = 0;
    int nBorderWidth = 0;
};

HighlightCall& Last()
{
    static HighlightCall call;
    return call;
}

class RecordingTheme : public CExtPaintManagerStudio2005
{
public:
    void PaintDockHighlight(DWORD* pPixels, int cx, int cy, bool bTwoRects, bool bTabAtTop,
                            const RECT* pRectMain, const RECT* pRectTab, COLORREF clrFill,
                            COLORREF clrBorder, int nBorderWidth) override
    {
        HighlightCall& c = Last();
        c.nCalls++;
        c.pPixels = pPixels;
        c.cx = cx;
        c.cy = cy;
        c.bTwoRects = bTwoRects;
        c.bTabAtTop = bTabAtTop;
        if (pRectMain != NULL)
            c.rcMain = *pRectMain;
        c.bTabGiven = pRectTab != NULL;
        if (pRectTab != NULL)
            c.rcTab = *pRectTab;
        c.clrFill = clrFill;
        c.clrBorder = clrBorder;
        c.nBorderWidth = nBorderWidth;
    }
};

}  // namespace

TEST(DockHighlight, PaintsThroughTheCurrentPaintManager)
{
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new RecordingTheme));
    Last() = HighlightCall();
    CExtDynDockHighlightWnd wnd;
    EXPECT_TRUE(wnd.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_STREQ("Kestrix-DynDockHighlightWnd", CExtDynDockHighlightWnd::g_sWndClassName);
    wnd.m_rcMain.SetRect(0, 10, 40, 30);
    wnd.m_rcTab.SetRect(5, 0, 20, 10);
    wnd.m_bHasTab = true;
    wnd.m_bTabAtTop = true;
    wnd.m_clrFill = RGB(1, 2, 3);
    wnd.m_clrBorder = RGB(4, 5, 6);
    wnd.m_nBorderWidth = 3;
    DWORD pixels[40 * 30] = {};
    wnd.PaintHighlight(pixels, 40, 30);
    const HighlightCall& c = Last();
    ASSERT_EQ(1, c.nCalls);
    EXPECT_EQ(pixels, c.pPixels);
    EXPECT_EQ(40, c.cx);
    EXPECT_EQ(30, c.cy);
    EXPECT_TRUE(c.bTwoRects);
    EXPECT_TRUE(c.bTabAtTop);
    EXPECT_EQ(10, c.rcMain.top);
    EXPECT_EQ(40, c.rcMain.right);
    ASSERT_TRUE(c.bTabGiven);
    EXPECT_EQ(5, c.rcTab.left);
    EXPECT_EQ(RGB(1, 2, 3), c.clrFill);
    EXPECT_EQ(RGB(4, 5, 6), c.clrBorder);
    EXPECT_EQ(3, c.nBorderWidth);

    // Without a tab only the main rectangle goes; an empty buffer paints nothing.
    wnd.m_bHasTab = false;
    wnd.PaintHighlight(pixels, 40, 30);
    EXPECT_EQ(2, Last().nCalls);
    EXPECT_FALSE(Last().bTwoRects);
    EXPECT_FALSE(Last().bTabGiven);
    wnd.PaintHighlight(NULL, 40, 30);
    wnd.PaintHighlight(pixels, 0, 30);
    EXPECT_EQ(2, Last().nCalls);
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}
