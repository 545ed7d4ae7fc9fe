// Colour cells: text modes both ways, hostile numbers, archive, swatches, popup results
// and the colour and rectangle part cells.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "support/archive_bytes.h"
#include "support/dib_canvas.h"
#include "toolkit/grid/grid_cell_color.h"
#include "toolkit/grid/grid_cell_color_parts.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_wnd.h"

using testsupport::StoredBytes;

namespace {
std::string Text(const CExtGridCell& cell)
{
    CString s;
    cell.TextGet(s);
    return std::string((LPCSTR)s);
}
}  // namespace

TEST(GridColorCells, TextModesParseAndFormat)
{
    CExtGridCellColor* pNew = static_cast<CExtGridCellColor*>(RUNTIME_CLASS(CExtGridCellColor)->CreateObject());
    EXPECT_EQ("Black", Text(*pNew));
    CExtGridCellString text;
    pNew->Assign(text);
    EXPECT_EQ("0, 0, 0", Text(*pNew));  // the user's list separator here is ","
    delete pNew;
    const struct { int mode; const char* text; bool ok; COLORREF clr; const char* back; } cases[] = {
        {2, "skyblue", true, 0x00EBCE87, "SkyBlue"}, {2, " Sky Blue ", true, 0x00EBCE87, "SkyBlue"},
        {2, "Bisque", true, 0x00F0FAFF, "FloralWhite"}, {2, "10,20,30", true, 0x001E140A, "10, 20, 30"},
        {2, ",10,20", false, 0, ""}, {1, "10,,20", false, 0, ""}, {1, "10,20", false, 0, ""},
        {3, "FF8000", true, 0x000080FF, "FF8000"}, {3, "FF80ZZ", false, 0, ""}, {3, "1FF8000", false, 0, ""},
        {5, "Red, 128", true, 0x800000FF, "Red, 128"}, {6, "10203040", true, 0x40302010, "10203040"},
        {8, "255,0,255", true, 0x0000FF00, "255, 0, 255"}, {0, "1,2,3", false, 0, ""},
        // Numbers saturate at 255 however long; a negative one is 0.
        {1, "99999999999999999999,256,-7", true, 0x000000FFFF, "255, 255, 0"},
        {4, "4294967297,1,2,300", true, 0xFF0201FF, "255, 1, 2, 255"},
    };
    for (const auto& c : cases) {
        CExtGridCellColor cell(NULL, 0x00123456);
        cell.m_nTextMode = c.mode;
        COLORREF clr = 0;
        EXPECT_EQ(c.ok, cell.ParseColor(c.text, clr)) << c.text;
        EXPECT_EQ(c.ok ? S_OK : E_FAIL, cell.OnParseText(c.text)) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(c.clr, clr) << c.text;
        cell.TextSet(c.text);
        EXPECT_EQ(c.clr, cell.GetColor()) << c.text;
        EXPECT_EQ(c.back, Text(cell)) << c.text;
    }
    // HLS text reads back (nearly) the colour it was written from.
    CExtGridCellColor hls(NULL, RGB(200, 100, 50));
    hls.m_nTextMode = 7;
    const std::string sHls = Text(hls);
    hls.TextSet(sHls.c_str());
    EXPECT_NEAR(200, GetRValue(hls.GetColor()), 3) << sHls;
    EXPECT_NEAR(100, GetGValue(hls.GetColor()), 3) << sHls;
    EXPECT_NEAR(50, GetBValue(hls.GetColor()), 3) << sHls;
}

TEST(GridColorCells, ArchiveCompareSystemColourAndPopupResults)
{
    CExtGridCellColor cell(NULL, 0x11223344, 20, 13, true, true, true);
    EXPECT_EQ((DWORD)(CExtGridCellColor::__EGCCB_CUSTOM | CExtGridCellColor::__EGCCB_DEFAULT), cell.m_dwButtonFlags);
    std::vector<BYTE> expected = StoredBytes([&](CArchive& ar) { cell.CExtGridCellEx::Serialize(ar); });
    for (BYTE b : {0x11, 0x22, 0x33, 0x44, 0, 20, 0, 0, 0, 13, 0, 0, 0, 6, 0, 0, 0}) expected.push_back(b);
    const char* sRandom = "Random Color";
    expected.push_back(12);
    expected.insert(expected.end(), sRandom, sRandom + 12);
    for (BYTE b : {0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0}) expected.push_back(b);
    EXPECT_EQ(expected, StoredBytes([&](CArchive& ar) { cell.Serialize(ar); }));
    CMemFile file;
    file.Write(expected.data(), (UINT)expected.size());
    file.SeekToBegin();
    CExtGridCellColor loaded;
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(0x11223344u, loaded.GetColor());
    EXPECT_EQ(0, loaded.Compare(cell));
    CExtGridCellColor lower(NULL, 0x11223343);
    EXPECT_EQ(-1, lower.Compare(cell));
    lower.m_value.SetSysColor(COLOR_WINDOW);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), lower.GetColor());
    VARIANT v;
    ::VariantInit(&v);
    lower.VariantGet(&v);
    EXPECT_EQ(VT_UI4, v.vt);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), v.ulVal);
    CExtGridWnd grid;  // the results below open no dialog
    CExtGridCellColor pick(NULL, 0x7F000000);
    EXPECT_FALSE(pick.ApplyPopupResult(grid, COLORREF(-1)));
    EXPECT_EQ(0x7F000000u, pick.GetColor());
    EXPECT_TRUE(pick.ApplyPopupResult(grid, RGB(1, 2, 3)));
    EXPECT_EQ(0x7F030201u, pick.GetColor());  // a picked colour keeps the alpha byte
    for (int i = 0; i < 200; i++) {
        ASSERT_TRUE(pick.ApplyPopupResult(grid, COLORREF(-100)));
        const COLORREF c = pick.GetColor();
        for (int n : {GetRValue(c), GetGValue(c), GetBValue(c)}) ASSERT_TRUE(n >= 32 && n <= 243) << n;
        EXPECT_EQ(0u, c >> 24);
    }
    EXPECT_EQ(RGB(9, 8, 7), pick.GenerateRandomColor(9, 9, 8, 8, 7, 7));
}

TEST(GridColorCells, SwatchPaintsTheColourInABlackFrame)
{
    CExtGridWnd grid;
    const struct { const char* what; DWORD styleEx; COLORREF fill; } cases[] = {
        {"colour", 0, RGB(10, 200, 30)}, {"undefined", CExtGridCell::__EGCS_EX_UNDEFINED_ROLE, ::GetSysColor(COLOR_BTNFACE)},
    };
    for (const auto& c : cases) {
        CExtGridCellColor cell(NULL, RGB(10, 200, 30));
        cell.ModifyStyleEx(c.styleEx);
        testsupport::DibCanvas canvas(30, 20, RGB(255, 255, 255));
        const CRect rc(2, 2, 22, 15);
        cell.OnPaintIcon(NULL, rc, grid, *CDC::FromHandle(canvas.Dc()), 0, 0, 0, 0, 0, 0, rc, rc, rc, 0x200, 0);
        EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(2, 2)) << c.what;
        EXPECT_EQ(c.fill, canvas.Pixel(10, 8)) << c.what;
        EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(23, 8)) << c.what;
    }
    EXPECT_EQ(CRect(3, 1, 1, 1), CExtGridCellColor().GetIconMargins());
    EXPECT_EQ(CSize(20, 13), CExtGridCellColor().IconGetSize());
}

TEST(GridColorCells, PartCellsStepParseListAndArchive)
{
    CExtGridCellUpDownColorPart part;
    CArray<int, int> values;
    part.OnQueryListValues(values);
    std::vector<int> got(values.GetData(), values.GetData() + values.GetSize());
    EXPECT_EQ((std::vector<int>{0, 32, 64, 96, 128, 160, 192, 224, 255}), got);
    const struct { const char* text; HRESULT hr; } parses[] = {
        {"255", S_OK}, {"0", S_OK}, {"256", E_INVALIDARG}, {"-1", E_INVALIDARG}, {"4294967296", DISP_E_OVERFLOW},
    };
    for (const auto& p : parses) EXPECT_EQ(p.hr, part.OnParseText(p.text)) << p.text;
    part.m_nColorPart = CExtGridCellUpDownColorPart::__ECP_GREEN;
    part.TextSet(_T("255"));
    EXPECT_FALSE(part.CanIncrement());
    EXPECT_TRUE(part.CanDecrement());
    EXPECT_EQ(RGB(0, 255, 0), part.PartColor(255));
    EXPECT_EQ(CSize(8, 8), part.IconGetSize());
    std::vector<BYTE> expected = StoredBytes([&](CArchive& ar) { part.CExtGridCellVariant::Serialize(ar); });
    for (BYTE b : {8, 0, 0, 0, 8, 0, 0, 0, 2}) expected.push_back(b);
    EXPECT_EQ(expected, StoredBytes([&](CArchive& ar) { part.Serialize(ar); }));
    CExtGridCellUpDownRectPart side;
    EXPECT_EQ(nullptr, side.IconGet());
    side.m_nRectPart = CExtGridCellUpDownRectPart::__ERP_TOP;
    ASSERT_NE(nullptr, side.IconGet());
    EXPECT_EQ(CSize(16, 16), side.IconGetSize());
    expected = StoredBytes([&](CArchive& ar) { side.CExtGridCellVariant::Serialize(ar); });
    expected.push_back(2);
    EXPECT_EQ(expected, StoredBytes([&](CArchive& ar) { side.Serialize(ar); }));
}
