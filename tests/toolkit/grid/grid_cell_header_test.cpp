// The header cell's layer chain: text in provider memory under extents, a proportion,
// colours per state and font attributes; its archive round trip and its ordering.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_data_provider.h"
#include "support/archive_bytes.h"

using testsupport::StoredBytes;

TEST(GridCellHeader, RoundTripKeepsEveryLayer)
{
    CExtGridDataProviderMemory dp;
    CExtGridCellHeader h(&dp);
    h.TextSet("Name");
    h.SetExtent(77);
    h.SetExtent(10, -1);
    h.SetExtent(300, 1);
    h.SetExtraSpace(3, true);
    h.SetExtraSpace(4, false);
    h.SetProportionalExtent(0.25);
    for (INT s = 0; s < 4; s++) {
        h.BackColorSet(s, RGB(s, 1, 1));
        if (s != 2) h.TextColorSet(s, RGB(s, 2, 2));
    }
    h.FontWeightSet(700);
    h.FontItalicSet(true);
    h.FontFaceNameSet("Tahoma");
    const std::vector<BYTE> bytes = StoredBytes([&](CArchive& ar) { h.Serialize(ar); });

    CMemFile file;
    file.Write(bytes.data(), (UINT)bytes.size());
    file.SeekToBegin();
    CExtGridCellHeader loaded(&dp);
    loaded.FontUnderlineSet(true);  // loading resets what the archive does not set
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    CString sText;
    loaded.TextGet(sText);
    EXPECT_STREQ("Name", sText);
    INT n = 0;
    double lf = 0;
    const struct
    {
        bool (CExtGridCell::*get)(INT&, INT);
        INT nType, nExpected;
    } extents[] = {{&CExtGridCell::GetExtent, 0, 77}, {&CExtGridCell::GetExtent, -1, 10}, {&CExtGridCell::GetExtent, 1, 300}};
    for (const auto& e : extents) {
        EXPECT_TRUE((loaded.*e.get)(n, e.nType));
        EXPECT_EQ(e.nExpected, n) << "extent type " << e.nType;
    }
    EXPECT_TRUE(loaded.GetExtraSpace(n, true));
    EXPECT_EQ(3, n);
    EXPECT_TRUE(loaded.GetExtraSpace(n, false));
    EXPECT_EQ(4, n);
    EXPECT_TRUE(loaded.GetProportionalExtent(lf));
    EXPECT_DOUBLE_EQ(0.25, lf);
    for (INT s = 0; s < 4; s++) {
        EXPECT_EQ(RGB(s, 1, 1), loaded.BackColorGet(s)) << "state " << s;
        EXPECT_EQ(s != 2 ? RGB(s, 2, 2) : COLORREF(-1), loaded.TextColorGet(s)) << "state " << s;
    }
    LONG nWeight = 0;
    bool b = false;
    CString sFace;
    EXPECT_TRUE(loaded.FontWeightGet(nWeight));
    EXPECT_EQ(700, nWeight);
    EXPECT_TRUE(loaded.FontItalicGet(b));
    EXPECT_FALSE(loaded.FontUnderlineGet(b));
    EXPECT_FALSE(loaded.FontHeightGet(nWeight));
    EXPECT_TRUE(loaded.FontFaceNameGet(sFace));
    EXPECT_STREQ("Tahoma", sFace);
    EXPECT_EQ(bytes, StoredBytes([&](CArchive& ar) { loaded.Serialize(ar); }));
}

TEST(GridCellHeader, OrderByBackgroundThenTextColourThenText)
{
    CExtGridDataProviderMemory dp;
    struct
    {
        const char* name;
        COLORREF back1, text1, back2, text2;
        const char *s1, *s2;
        int sign;
    } cases[] = {
        {"equal backgrounds, the first without text colour: by text", RGB(5, 5, 5), COLORREF(-1), RGB(5, 5, 5),
         RGB(9, 9, 9), "A", "B", -1},
        {"lower background first", RGB(4, 0, 0), COLORREF(-1), RGB(5, 0, 0), COLORREF(-1), "B", "A", -1},
        {"equal backgrounds, higher text colour last", RGB(5, 5, 5), RGB(9, 0, 0), RGB(5, 5, 5), RGB(8, 0, 0), "A",
         "B", 1},
        {"no colours at all: by text", COLORREF(-1), COLORREF(-1), COLORREF(-1), COLORREF(-1), "B", "A", 1},
    };
    for (const auto& c : cases) {
        CExtGridCellHeader h1(&dp), h2(&dp);
        h1.BackColorSet(0, c.back1);
        h1.TextColorSet(0, c.text1);
        h2.BackColorSet(0, c.back2);
        h2.TextColorSet(0, c.text2);
        h1.TextSet(c.s1);
        h2.TextSet(c.s2);
        const int n = h1.Compare(h2);
        EXPECT_EQ(c.sign, (n > 0) - (n < 0)) << c.name;
    }
}
