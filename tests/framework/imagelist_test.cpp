// CImageList: 32-bit icons keep their alpha through adding, extracting and drawing;
// masked bitmaps keep their transparency; the archive form reads back exactly what was
// written and a damaged archive fails without harm.
#include <gtest/gtest.h>
#include "support/exception_probe.h"
#include <vector>
#include "framework/imagelist.h"
#include "framework/dc.h"
#include "framework/archive.h"
#include "framework/file.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

// A 16x16 32-bit icon with straight alpha: left half opaque red, right half blue at
// alpha 0x80, bottom row fully transparent.
HICON MakeAlphaIcon() {
    HBITMAP colour = testsupport::CreateSection32(16, 16, [](int x, int y) {
        return y == 15 ? 0x00000000u : x < 8 ? 0xFFFF0000u : 0x800000FFu;
    });
    HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, NULL);
    ICONINFO ii = {TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&ii);
    ::DeleteObject(colour);
    ::DeleteObject(mask);
    return icon;
}

// The 32-bit pixels (0xAARRGGBB, top row first) of a bitmap.
std::vector<DWORD> PixelsOf(HBITMAP hbm, int width, int height) {
    std::vector<DWORD> out(width * height);
    BITMAPINFO bi = testsupport::TopDown32Info(width, height);
    HDC dc = ::GetDC(NULL);
    ::GetDIBits(dc, hbm, 0, height, out.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, dc);
    return out;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Every pixel of two canvases of the same size agrees.
::testing::AssertionResult SameImage(const DibCanvas& a, const DibCanvas& b) {
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return ::testing::AssertionFailure() << "differs at " << x << "," << y << ": 0x" << std::hex
                                                     << a.Pixel(x, y) << " vs 0x" << b.Pixel(x, y);
    return ::testing::AssertionSuccess();
}

void DrawAll(CImageList& list, const DibCanvas& canvas) {
    CDC dc;
    dc.Attach(canvas.Dc());
    int cx = 0, cy = 0;
    list.GetIconSize(&cx, &cy);
    for (int i = 0; i < list.GetImageCount(); ++i) list.Draw(&dc, i, CPoint(i * cx, 0), ILD_NORMAL);
    dc.Detach();
}

}  // namespace

TEST(CImageListAlpha, AddedIconKeepsItsAlphaAndDrawsBlended) {
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32, 1, 1));
    HICON icon = MakeAlphaIcon();
    ASSERT_EQ(0, list.Add(icon));
    EXPECT_EQ(1, list.GetImageCount());
    IMAGEINFO info;
    ASSERT_TRUE(list.GetImageInfo(0, &info));
    EXPECT_EQ(CRect(0, 0, 16, 16), CRect(info.rcImage));
    std::vector<DWORD> px = PixelsOf(info.hbmImage, info.rcImage.right, 16);
    EXPECT_EQ(0xFFu, px[0] >> 24);
    EXPECT_EQ(0xFF0000u, px[0] & 0xFFFFFF);
    EXPECT_EQ(0x80u, px[10] >> 24);
    EXPECT_EQ(0u, px[15 * info.rcImage.right] >> 24);

    DibCanvas canvas(16, 16);
    CDC dc;
    dc.Attach(canvas.Dc());
    EXPECT_TRUE(list.Draw(&dc, 0, CPoint(0, 0), ILD_NORMAL));
    dc.Detach();
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(2, 2));
    EXPECT_TRUE(Near(RGB(127, 127, 255), canvas.Pixel(12, 2), 2)) << std::hex << canvas.Pixel(12, 2);
    EXPECT_EQ(kWhite, canvas.Pixel(5, 15));

    // An icon extracted from the list carries the same alpha.
    HICON back = list.ExtractIcon(0);
    ASSERT_NE(nullptr, back);
    ICONINFO ii;
    ASSERT_TRUE(::GetIconInfo(back, &ii));
    std::vector<DWORD> bpx = PixelsOf(ii.hbmColor, 16, 16);
    EXPECT_EQ(0xFFu, bpx[0] >> 24);
    EXPECT_EQ(0x80u, bpx[10] >> 24);
    ::DeleteObject(ii.hbmColor);
    ::DeleteObject(ii.hbmMask);
    ::DestroyIcon(back);
    EXPECT_EQ(nullptr, list.ExtractIcon(7));
    ::DestroyIcon(icon);
}

TEST(CImageListMasked, MaskColourBecomesTransparent) {
    CImageList list;
    ASSERT_TRUE(list.Create(8, 8, ILC_COLOR24 | ILC_MASK, 2, 2));
    // Two 8x8 images side by side: magenta background, a red and a blue 4x4 square.
    DibCanvas strip(16, 8, RGB(255, 0, 255));
    CDC sdc;
    sdc.Attach(strip.Dc());
    sdc.FillSolidRect(2, 2, 4, 4, RGB(255, 0, 0));
    sdc.FillSolidRect(10, 2, 4, 4, RGB(0, 0, 255));
    sdc.Detach();
    CBitmap bmp;
    // Copy the strip into a bitmap of our own: the canvas keeps its DIB selected.
    HDC screen = ::GetDC(NULL);
    ASSERT_TRUE(bmp.Attach(::CreateCompatibleBitmap(screen, 16, 8)));
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, bmp.m_hObject);
    ::BitBlt(mem, 0, 0, 16, 8, strip.Dc(), 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(NULL, screen);

    EXPECT_EQ(0, list.Add(&bmp, RGB(255, 0, 255)));
    ASSERT_EQ(2, list.GetImageCount());
    DibCanvas canvas(16, 8, RGB(0, 128, 0));
    DrawAll(list, canvas);
    EXPECT_EQ(RGB(0, 128, 0), canvas.Pixel(0, 0));
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(3, 3));
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(11, 3));
    EXPECT_EQ(RGB(0, 128, 0), canvas.Pixel(15, 7));

    // Replace, copy and remove keep the list consistent.
    HICON icon = MakeAlphaIcon();
    CImageList big;
    ASSERT_TRUE(big.Create(16, 16, ILC_COLOR32, 0, 4));
    EXPECT_EQ(0, big.Add(icon));
    EXPECT_EQ(1, big.Add(icon));
    EXPECT_EQ(1, big.Replace(1, icon));
    EXPECT_TRUE(big.Remove(0));
    EXPECT_EQ(1, big.GetImageCount());
    EXPECT_FALSE(big.Remove(5));
    ::DestroyIcon(icon);
}

TEST(CImageListForms, DuplicateMergeAndHandles) {
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32, 2, 2));
    HICON icon = MakeAlphaIcon();
    list.Add(icon);
    list.Add(icon);
    CImageList copy;
    ASSERT_TRUE(copy.Create(&list));
    EXPECT_EQ(2, copy.GetImageCount());
    EXPECT_NE(list.GetSafeHandle(), copy.GetSafeHandle());
    int cx = 0, cy = 0;
    EXPECT_TRUE(copy.GetIconSize(&cx, &cy));
    EXPECT_EQ(16, cx);
    EXPECT_EQ(16, cy);
    EXPECT_FALSE(CImageList().Create((CImageList*)nullptr));

    CImageList merged;
    ASSERT_TRUE(merged.Create(list, 0, copy, 1, 4, 0));
    EXPECT_EQ(1, merged.GetImageCount());
    EXPECT_TRUE(merged.GetIconSize(&cx, &cy));
    EXPECT_EQ(20, cx);

    // Handles: temporaries until idle, owners destroy.
    HIMAGELIST h = copy.Detach();
    CImageList* temp = CImageList::FromHandle(h);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(temp, CImageList::FromHandle(h));
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(h));
    AfxDeleteTempGdiMaps();
    EXPECT_EQ(2, ImageList_GetImageCount(h));  // still alive
    {
        CImageList owner;
        owner.Attach(h);
        EXPECT_EQ(&owner, CImageList::FromHandle(h));
        EXPECT_TRUE(owner.DeleteImageList());
        EXPECT_EQ(nullptr, owner.GetSafeHandle());
    }
    ::DestroyIcon(icon);
}

TEST(CImageListArchive, RoundTripKeepsImagesAlphaAndWhatFollows) {
    HICON icon = MakeAlphaIcon();
    CImageList alpha;
    ASSERT_TRUE(alpha.Create(16, 16, ILC_COLOR32, 2, 2));
    alpha.Add(icon);
    alpha.Add(icon);
    CImageList masked;
    ASSERT_TRUE(masked.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
    masked.Add(icon);
    ::DestroyIcon(icon);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(alpha.Write(&ar));
        EXPECT_TRUE(masked.Write(&ar));
        DWORD trailer = 0xC0FFEE;
        ar << trailer;
        CImageList empty;
        EXPECT_FALSE(empty.Write(&ar));  // nothing to write: nothing written
        ar.Close();
    }
    file.SeekToBegin();
    CImageList alphaBack, maskedBack;
    DWORD trailer = 0;
    {
        CArchive ar(&file, CArchive::load);
        ASSERT_TRUE(alphaBack.Read(&ar));
        ASSERT_TRUE(maskedBack.Read(&ar));
        ar >> trailer;  // the stream consumed exactly the image lists
        ar.Close();
    }
    EXPECT_EQ(0xC0FFEEu, trailer);
    ASSERT_EQ(2, alphaBack.GetImageCount());
    ASSERT_EQ(1, maskedBack.GetImageCount());

    IMAGEINFO info;
    ASSERT_TRUE(alphaBack.GetImageInfo(1, &info));
    std::vector<DWORD> px = PixelsOf(info.hbmImage, info.rcImage.right, 16);
    EXPECT_EQ(0xFFu, px[info.rcImage.left] >> 24);
    EXPECT_EQ(0x80u, px[info.rcImage.left + 10] >> 24);

    struct Case {
        const char* name;
        CImageList& original;
        CImageList& read;
    } cases[] = {{"alpha", alpha, alphaBack}, {"masked", masked, maskedBack}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas before(32, 16), after(32, 16);
        DrawAll(c.original, before);
        DrawAll(c.read, after);
        EXPECT_TRUE(SameImage(before, after));
    }
}

TEST(CImageListArchive, DamagedArchiveFailsCleanly) {
    HICON icon = MakeAlphaIcon();
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32, 1, 1));
    list.Add(icon);
    ::DestroyIcon(icon);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ASSERT_TRUE(list.Write(&ar));
        ar.Close();
    }
    ULONGLONG length = file.GetLength();
    BYTE* data = file.Detach();
    ASSERT_GT(length, 40u);

    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"empty", {}},
        {"header only", std::vector<BYTE>(data, data + 20)},
        {"cut in the image", std::vector<BYTE>(data, data + length / 2)},
        {"not an image list", std::vector<BYTE>(64, 0x5A)},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMemFile in(c.bytes.empty() ? nullptr : c.bytes.data(), (UINT)c.bytes.size());
        CArchive ar(&in, CArchive::load);
        CImageList back;
        back.Create(4, 4, ILC_COLOR32, 1, 1);  // replaced by Read, whatever the outcome
        EXPECT_TRUE(Throws<CArchiveException>([&] { back.Read(&ar); }));
        EXPECT_EQ(nullptr, back.GetSafeHandle());
        ar.Abort();
    }
    free(data);
}

TEST(CImageListForms, DrawIndirectTakesPartOfAnImageFromItsOrigin) {
    // Two 4x4 images: the first red with a green first column, the second blue.
    DibCanvas strip(8, 4, RGB(255, 0, 0));
    CDC stripDC;
    stripDC.Attach(strip.Dc());
    stripDC.FillSolidRect(0, 0, 1, 4, RGB(0, 255, 0));
    stripDC.FillSolidRect(4, 0, 4, 4, RGB(0, 0, 255));
    stripDC.Detach();
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(8, 4, 1, 32, strip.Bits()));
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR32, 2, 1));
    ASSERT_EQ(0, list.Add(&bmp, (CBitmap*)NULL));
    ASSERT_EQ(2, list.GetImageCount());

    DibCanvas canvas(10, 10);
    CDC dc;
    dc.Attach(canvas.Dc());
    // 2x2 of image 0 from (1, 1): red only, the green column is left out.
    ASSERT_TRUE(list.DrawIndirect(&dc, 0, CPoint(2, 2), CSize(2, 2), CPoint(1, 1)));
    EXPECT_EQ(2 * 2, canvas.Count(RGB(255, 0, 0), RECT{0, 0, 10, 10}));
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(2, 2));
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(3, 3));
    EXPECT_EQ(0, canvas.Count(RGB(0, 255, 0), RECT{0, 0, 10, 10}));
    // A size of 0x0 draws the whole image.
    ASSERT_TRUE(list.DrawIndirect(&dc, 1, CPoint(6, 6), CSize(0, 0), CPoint(0, 0)));
    EXPECT_EQ(4 * 4, canvas.Count(RGB(0, 0, 255), RECT{6, 6, 10, 10}));
    dc.Detach();
    EXPECT_FALSE(CImageList().DrawIndirect(&dc, 0, CPoint(0, 0), CSize(0, 0), CPoint(0, 0)));
}
