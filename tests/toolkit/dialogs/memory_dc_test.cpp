// The off-screen device context: what reaches the target and when, with the fill,
// copy, DIB, printing and right-to-left forms.
#include <gtest/gtest.h>
#include "toolkit/dialogs/memory_dc.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// A framework DC over a canvas, detached again before the canvas goes.
struct TargetDC
{
    explicit TargetDC(DibCanvas& canvas) { dc.Attach(canvas.Dc()); }
    ~TargetDC() { dc.Detach(); }
    CDC dc;
};

}  // namespace

TEST(MemoryDC, BufferIsFilledWithTheTargetBackgroundAndCopiedOnlyAtTheEnd)
{
    DibCanvas canvas(40, 30, kWhite);
    TargetDC target(canvas);
    target.dc.SetBkColor(kRed);
    CRect rc(5, 5, 25, 20);
    {
        CExtMemoryDC mdc(&target.dc, &rc, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
        ASSERT_TRUE(mdc.IsMemDC());
        EXPECT_EQ(rc, mdc.GetTargetRect());
        mdc.FillSolidRect(10, 10, 3, 3, kGreen);
        // Nothing reaches the target while the buffer is open.
        EXPECT_EQ(kWhite, canvas.Pixel(5, 5));
        EXPECT_EQ(kWhite, canvas.Pixel(11, 11));
    }
    EXPECT_EQ(kRed, canvas.Pixel(5, 5));
    EXPECT_EQ(kRed, canvas.Pixel(24, 19));
    EXPECT_EQ(kGreen, canvas.Pixel(10, 10));
    EXPECT_EQ(kGreen, canvas.Pixel(12, 12));
    EXPECT_EQ(kRed, canvas.Pixel(13, 13));
    // Outside the rectangle the target is untouched.
    EXPECT_EQ(kWhite, canvas.Pixel(4, 5));
    EXPECT_EQ(kWhite, canvas.Pixel(25, 19));
    EXPECT_EQ(kWhite, canvas.Pixel(24, 20));
}

TEST(MemoryDC, WithoutARectangleTheClipBoxIsBuffered)
{
    DibCanvas canvas(40, 30, kWhite);
    TargetDC target(canvas);
    target.dc.IntersectClipRect(2, 3, 12, 13);
    target.dc.SetBkColor(kBlue);
    {
        CExtMemoryDC mdc(&target.dc, NULL, CExtMemoryDC::MDCOPT_DEFAULT);
        EXPECT_EQ(CRect(2, 3, 12, 13), mdc.GetTargetRect());
    }
    EXPECT_EQ(kBlue, canvas.Pixel(2, 3));
    EXPECT_EQ(kBlue, canvas.Pixel(11, 12));
    EXPECT_EQ(kWhite, canvas.Pixel(12, 12));
}

TEST(MemoryDC, FlushWithoutBlitCopiesNothing)
{
    DibCanvas canvas(20, 20, kWhite);
    TargetDC target(canvas);
    target.dc.SetBkColor(kRed);
    CRect rc(0, 0, 20, 20);
    {
        CExtMemoryDC mdc(&target.dc, &rc, CExtMemoryDC::MDCOPT_DEFAULT);
        mdc.FillSolidRect(&rc, kGreen);
        mdc.FlushToTarget(false);
        EXPECT_FALSE(mdc.IsMemDC());
        EXPECT_TRUE(mdc.GetTargetRect().IsRectEmpty());
        EXPECT_EQ(NULL, mdc.GetTargetDC());
    }
    EXPECT_EQ(canvas.Width() * canvas.Height(), canvas.Count(kWhite, CRect(0, 0, 20, 20)));
}

TEST(MemoryDC, CopyOfTheTargetImageReplacesTheFill)
{
    DibCanvas canvas(30, 30, kWhite);
    TargetDC target(canvas);
    target.dc.FillSolidRect(0, 0, 30, 15, kBlue);
    target.dc.SetBkColor(kRed);
    CRect rc(0, 0, 30, 30);
    {
        CExtMemoryDC mdc(&target.dc, &rc,
                         CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_BITS |
                             CExtMemoryDC::MDCOPT_FILL_SURFACE);
        mdc.FillSolidRect(20, 20, 5, 5, kGreen);
    }
    EXPECT_EQ(30 * 15, canvas.Count(kBlue, CRect(0, 0, 30, 30)));
    EXPECT_EQ(0, canvas.Count(kRed, CRect(0, 0, 30, 30)));
    EXPECT_EQ(25, canvas.Count(kGreen, CRect(0, 0, 30, 30)));
    EXPECT_EQ(kWhite, canvas.Pixel(5, 25));
}

TEST(MemoryDC, PrintingTargetIsDrawnDirectlyAndKeepsItsHandles)
{
    DibCanvas canvas(20, 20, kWhite);
    TargetDC target(canvas);
    target.dc.m_bPrinting = TRUE;
    CRect rc(0, 0, 10, 10);
    {
        CExtMemoryDC mdc(&target.dc, &rc, CExtMemoryDC::MDCOPT_TO_MEMORY);
        EXPECT_FALSE(mdc.IsMemDC());
        EXPECT_EQ(canvas.Dc(), mdc.m_hDC);
        EXPECT_TRUE(mdc.IsPrinting());
        mdc.FillSolidRect(1, 1, 2, 2, kGreen);
        EXPECT_EQ(kGreen, canvas.Pixel(1, 1));  // at once, not at the end
    }
    target.dc.m_bPrinting = FALSE;
    // The borrowed handle was given back, not deleted.
    EXPECT_NE(0, ::GetObjectType(canvas.Dc()));
    EXPECT_EQ(kGreen, canvas.Pixel(2, 2));
}

TEST(MemoryDC, DibSectionBufferIsBottomUpWithItsBitsExposed)
{
    DibCanvas canvas(16, 8, kWhite);
    TargetDC target(canvas);
    CRect rc(0, 0, 16, 8);
    CExtMemoryDC mdc(&target.dc, &rc, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FORCE_DIB);
    COLORREF* pBits = mdc.GetDibSurface();
    ASSERT_NE(nullptr, pBits);
    mdc.FillSolidRect(0, 7, 1, 1, kRed);  // bottom-left pixel
    ::GdiFlush();
    EXPECT_EQ(0x00FF0000u, pBits[0] & 0x00FFFFFFu);
    mdc.FlushToTarget();
    EXPECT_EQ(nullptr, mdc.GetDibSurface());
    EXPECT_EQ(kRed, canvas.Pixel(0, 7));
}

TEST(MemoryDC, MonochromeBufferHoldsOnlyBlackAndWhite)
{
    DibCanvas canvas(16, 16, RGB(10, 20, 30));
    TargetDC target(canvas);
    CRect rc(0, 0, 16, 16);
    {
        CExtMemoryDC mdc(&target.dc, &rc, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FORCE_BLACK_WHITE);
        mdc.FillSolidRect(0, 0, 16, 16, RGB(255, 255, 255));
        mdc.FillSolidRect(0, 0, 4, 4, RGB(0, 0, 0));
    }
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(1, 1));
    EXPECT_EQ(kWhite, canvas.Pixel(10, 10));
}

TEST(MemoryDC, RightToLeftTargetGetsTheSamePixelsAsDirectDrawing)
{
    DibCanvas direct(40, 20, kWhite), buffered(40, 20, kWhite);
    TargetDC dDirect(direct), dBuffered(buffered);
    dDirect.dc.SetLayout(LAYOUT_RTL);
    dBuffered.dc.SetLayout(LAYOUT_RTL);
    CRect rc(4, 2, 30, 18);
    dDirect.dc.FillSolidRect(&rc, kRed);
    dDirect.dc.FillSolidRect(5, 3, 6, 4, kGreen);
    dBuffered.dc.SetBkColor(kRed);
    {
        CExtMemoryDC mdc(&dBuffered.dc, &rc, CExtMemoryDC::MDCOPT_DEFAULT);
        mdc.FillSolidRect(5, 3, 6, 4, kGreen);
    }
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 40; x++)
            ASSERT_EQ(direct.Pixel(x, y), buffered.Pixel(x, y)) << "at " << x << "," << y;
    EXPECT_EQ(24, buffered.Count(kGreen, CRect(0, 0, 40, 20)));
}

TEST(MemoryDC, WithoutTargetTheDcStaysEmpty)
{
    CExtMemoryDC mdc(NULL, NULL, CExtMemoryDC::MDCOPT_DEFAULT);
    EXPECT_EQ(NULL, mdc.m_hDC);
    EXPECT_FALSE(mdc.IsMemDC());
    mdc.FlushToTarget();  // nothing to do, no crash
}

TEST(MemoryDC, ABufferThatCannotBeMadeLetsDrawingGoStraightToTheTarget)
{
    // A rectangle far too large for any bitmap: the compatible and the DIB buffer fail.
    const DWORD kForms[] = {CExtMemoryDC::MDCOPT_TO_MEMORY,
                            CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FORCE_DIB};
    for (DWORD dwFlags : kForms)
    {
        SCOPED_TRACE(testing::Message() << "flags " << dwFlags);
        DibCanvas canvas(40, 30, kWhite);
        TargetDC target(canvas);
        CRect rc(0, 0, 200000, 200000);
        {
            CExtMemoryDC mdc(&target.dc, &rc, dwFlags);
            EXPECT_FALSE(mdc.IsMemDC());
            EXPECT_EQ(nullptr, mdc.GetDibSurface());
            EXPECT_EQ(rc, mdc.GetTargetRect());
            mdc.FillSolidRect(10, 10, 3, 3, kGreen);
            EXPECT_EQ(kGreen, canvas.Pixel(11, 11)) << "drawn at once";
        }
        EXPECT_EQ(kGreen, canvas.Pixel(10, 10));
        EXPECT_EQ(kWhite, canvas.Pixel(20, 20)) << "nothing copied over the target";
        EXPECT_NE(nullptr, target.dc.GetSafeHdc());
    }
}
