#include <gtest/gtest.h>
#include <vector>
#include "framework/framework.h"
#include "toolkit/grid/grid_alloc.h"
#include "toolkit/grid/grid_cell_ex.h"
#include "toolkit/theme/paint_manager.h"
#include "support/archive_bytes.h"

using testsupport::StoredBytes;

namespace {

void Put32(std::vector<BYTE>& v, DWORD d)
{
    for (int i = 0; i < 4; i++)
        v.push_back((BYTE)(d >> (8 * i)));
}
void Put16(std::vector<BYTE>& v, WORD w)
{
    v.push_back((BYTE)w);
    v.push_back((BYTE)(w >> 8));
}

// The class reference an archive writes the first time it meets a class.
std::vector<BYTE> NewClassTag(const char* sName)
{
    std::vector<BYTE> v;
    Put16(v, 0xFFFF);
    Put16(v, 1);
    Put16(v, (WORD)strlen(sName));
    for (const char* p = sName; *p; p++)
        v.push_back((BYTE)*p);
    return v;
}

std::vector<BYTE> RootBlock(DWORD dwStyle = 0x40000000, DWORD dwStyleEx = 0, LONG nIcon = -1, LONG nFont = -1,
                            DWORD dwValue = 0)
{
    std::vector<BYTE> v;
    for (DWORD d : {dwStyle, dwStyleEx, (DWORD)nIcon, (DWORD)nFont, dwValue})
        Put32(v, d);
    return v;
}

void Append(std::vector<BYTE>& v, const std::vector<BYTE>& more) { v.insert(v.end(), more.begin(), more.end()); }

}  // namespace

// Every byte of the extended cell's archive: root, colours, font attributes, cursor.
TEST(GridCellLayers, ExtendedCellArchiveBytes)
{
    struct Case
    {
        const char* what;
        void (*setup)(CExtGridCellEx&);
        std::vector<BYTE> (*after_root)();
    };
    const Case cases[] = {
        {"nothing set", [](CExtGridCellEx&) {},
         [] {
             std::vector<BYTE> v;
             for (int i = 0; i < 8; i++)
                 Put32(v, 0xFFFFFFFF);
             Append(v, {1, 1, 1});
             for (int i = 0; i < 4; i++)
                 Put16(v, 0xFFFF);
             Append(v, {1, 0});
             return v;
         }},
        {"height 0, weight, italic, quality, face, colours",
         [](CExtGridCellEx& c) {
             c.FontHeightSet(0);
             c.FontWeightSet(700);
             c.FontItalicSet(true);
             c.FontQualitySet(5);
             c.FontFaceNameSet("Tahoma");
             c.BackColorSet(0, RGB(1, 2, 3));
             c.TextColorSet(3, RGB(4, 5, 6));
         },
         [] {
             std::vector<BYTE> v;
             Put32(v, RGB(1, 2, 3));
             for (int i = 0; i < 6; i++)
                 Put32(v, 0xFFFFFFFF);
             Put32(v, RGB(4, 5, 6));
             v.push_back(0), Put32(v, 0);
             v.push_back(1);
             v.push_back(0), Put32(v, 700);
             Put16(v, 1), Put16(v, 0xFFFF), Put16(v, 0xFFFF), Put16(v, 5);
             Append(v, {0, 6, 'T', 'a', 'h', 'o', 'm', 'a'});
             v.push_back(0);
             return v;
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CExtGridCellEx cell;
        c.setup(cell);
        std::vector<BYTE> expected = NewClassTag("CExtGridCellEx");
        Append(expected, RootBlock());
        Append(expected, c.after_root());
        EXPECT_EQ(expected, StoredBytes([&](CArchive& ar) { CExtGridCell::InstanceSave(ar, &cell); }));

        // Loading gives back a cell that stores the same bytes.
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            CExtGridCell::InstanceSave(ar, &cell);
            ar.Close();
        }
        file.SeekToBegin();
        CExtAlloc alloc(256, false, NULL, false);
        CArchive ar(&file, CArchive::load);
        CExtGridCell* pLoaded = CExtGridCell::InstanceLoad(ar, &alloc, false);
        ASSERT_NE(nullptr, pLoaded);
        ASSERT_TRUE(pLoaded->IsKindOf(RUNTIME_CLASS(CExtGridCellEx)));
        EXPECT_EQ(1, alloc.DidAlloc(pLoaded));
        EXPECT_EQ(expected, StoredBytes([&](CArchive& a) { CExtGridCell::InstanceSave(a, pLoaded); }));
        EXPECT_EQ(0, pLoaded->Compare(cell));
        CExtGridCell::InstanceDestroy(pLoaded, &alloc);
    }
}

TEST(GridCellLayers, ExtentLayerDefaultsAndArchive)
{
    CExtGCE<CExtGridCell> cell;
    INT n = 0;
    const struct
    {
        INT type;
        INT value;
    } extents[] = {{0, ::GetSystemMetrics(SM_CYHSCROLL) + 1}, {-1, 0}, {1, 32767}};
    for (const auto& e : extents)
    {
        EXPECT_TRUE(cell.ExtentAccess(n, true, e.type));
        EXPECT_EQ(e.value, n) << e.type;
    }
    INT nAfter = 7, nBefore = 9;
    cell.ExtraSpaceAccess(nAfter, false, true);
    cell.ExtraSpaceAccess(nBefore, false, false);
    std::vector<BYTE> expected = RootBlock();
    for (DWORD d : {(DWORD)(::GetSystemMetrics(SM_CYHSCROLL) + 1), (DWORD)0, (DWORD)32767, (DWORD)7, (DWORD)9})
        Put32(expected, d);
    EXPECT_EQ(expected, StoredBytes([&](CArchive& ar) { cell.Serialize(ar); }));
    // A clone into an allocator keeps the extents.
    CExtAlloc alloc(256, false, NULL, false);
    CExtGridCell* pClone = cell.Clone(&alloc);
    ASSERT_NE(nullptr, pClone);
    EXPECT_EQ(expected, StoredBytes([&](CArchive& ar) { pClone->Serialize(ar); }));
    CExtGridCell::InstanceDestroy(pClone, &alloc);
}

TEST(GridCellLayers, AssignCompareAndColourStates)
{
    CExtGridCellEx ex;
    ex.BackColorSet(1, RGB(9, 9, 9));
    ex.FontWeightSet(700);
    ex.CursorSet(::LoadCursor(NULL, IDC_CROSS) ? (HCURSOR)::CopyImage(::LoadCursor(NULL, IDC_CROSS), IMAGE_CURSOR, 0, 0, 0) : NULL);
    EXPECT_EQ(COLORREF(-1L), ex.TextColorSet(4, RGB(1, 1, 1)));
    EXPECT_EQ(COLORREF(-1L), ex.TextColorGet(4));

    // A plain cell assigned over it clears every layer and the cursor.
    CExtGridCell plain;
    plain.SetValue32(42);
    ex.Assign(plain);
    EXPECT_EQ(42u, ex.GetValue32());
    for (INT s = 0; s < 4; s++)
        EXPECT_EQ(COLORREF(-1L), ex.BackColorGet(s)) << s;
    LONG nWeight = 0;
    EXPECT_FALSE(ex.FontWeightGet(nWeight));
    EXPECT_EQ(nullptr, ex.m_hCursor);

    // The font comes before colours and the root in comparisons.
    CExtGridCellEx a, b;
    a.FontWeightSet(400);
    b.FontWeightSet(700);
    a.BackColorSet(0, RGB(255, 255, 255));
    EXPECT_EQ(-1, a.Compare(b));
    EXPECT_EQ(1, b.Compare(a));
    b.FontWeightSet(400);
    EXPECT_EQ(-1, a.Compare(b)) << "then the background colour of state 0, unsigned against none";
}

TEST(GridCellLayers, FontLayerBuildsOnlyWhatIsSet)
{
    CExtGridCellEx cell;
    bool bDelete = true;
    EXPECT_EQ(nullptr, cell.OnQueryCellFont(NULL, 0, 0, 0, 0, &bDelete));
    EXPECT_FALSE(bDelete);
    cell.FontWeightSet(FW_BOLD);
    HFONT hFont = cell.OnQueryCellFont(NULL, 0, 0, 0, 0, &bDelete);
    ASSERT_NE(nullptr, hFont);
    EXPECT_TRUE(bDelete);
    LOGFONT lfBase, lfCell;
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    ASSERT_NE(nullptr, pPM);
    ::GetObject(pPM->m_FontNormal.GetSafeHandle(), sizeof(lfBase), &lfBase);
    ::GetObject(hFont, sizeof(lfCell), &lfCell);
    EXPECT_EQ(FW_BOLD, lfCell.lfWeight);
    // Everything else is the base font's.
    EXPECT_EQ(lfBase.lfHeight, lfCell.lfHeight);
    EXPECT_EQ(lfBase.lfWidth, lfCell.lfWidth);
    EXPECT_EQ(lfBase.lfItalic, lfCell.lfItalic);
    EXPECT_EQ(lfBase.lfUnderline, lfCell.lfUnderline);
    EXPECT_EQ(lfBase.lfStrikeOut, lfCell.lfStrikeOut);
    EXPECT_EQ(lfBase.lfCharSet, lfCell.lfCharSet);
    EXPECT_EQ(lfBase.lfQuality, lfCell.lfQuality);
    EXPECT_STREQ(lfBase.lfFaceName, lfCell.lfFaceName);
    ::DeleteObject(hFont);
}

// Cell classes are versionable with schema 1: a stored schema of another version still
// loads.
TEST(GridCellLayers, RootClassReferenceIsVersionable)
{
    CExtGridCell cell;
    std::vector<BYTE> expected = NewClassTag("CExtGridCell");
    Append(expected, RootBlock());
    EXPECT_EQ(expected, StoredBytes([&](CArchive& ar) { CExtGridCell::InstanceSave(ar, &cell); }));
    expected[2] = 2;  // schema 2
    CMemFile file;
    file.Write(expected.data(), (UINT)expected.size());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CExtAlloc alloc(256, false, NULL, false);
    CExtGridCell* p = CExtGridCell::InstanceLoad(ar, &alloc, false);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(0x40000000u, p->GetStyle());
    CExtGridCell::InstanceDestroy(p, &alloc);
}
