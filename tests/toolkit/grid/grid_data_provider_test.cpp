#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_data_provider.h"

namespace {

typedef CExtGridDataProvider::IDataProviderEvents IEvents;

// Records every event and replays the swaps and moves on its own copy of the series,
// so a test can check that what the grid was told matches what the provider did.
class EventLog : public IEvents {
public:
    std::vector<std::string> series;  // the labels the grid believes in, by position
    std::string log;
    int nSwaps = 0;
    void OnSortBegin(bool bColumns) override { log += bColumns ? "B(c)" : "B(r)"; }
    void OnSortEnd(bool bColumns) override { log += bColumns ? "E(c)" : "E(r)"; }
    void OnSeriesSwapping(bool, ULONG a, ULONG b, ULONG nCounter) override {
        EXPECT_EQ((ULONG)nSwaps, nCounter);
        nSwaps++;
        std::swap(series.at(a), series.at(b));
    }
    void OnSeriesMoved(bool bColumns, ULONG nFrom, ULONG nTo) override {
        log += (bColumns ? "M(c" : "M(r") + std::to_string(nFrom) + "," + std::to_string(nTo) + ")";
        std::string s = series.at(nFrom);
        series.erase(series.begin() + nFrom);
        series.insert(series.begin() + (nTo > nFrom ? nTo - 1 : nTo), s);
    }
};

// "" leaves the slot without a cell.
void FillColumn(CExtGridDataProviderMemory& dp, ULONG nCol, const std::vector<const char*>& texts) {
    for (ULONG r = 0; r < texts.size(); r++) {
        if (*texts[r] == 0) continue;
        CExtGridCell* p = dp.CellGet(nCol, r, RUNTIME_CLASS(CExtGridCellString));
        ASSERT_TRUE(p != NULL);
        p->TextSet(texts[r]);
    }
}

std::string Text(CExtGridDataProvider& dp, ULONG c, ULONG r) {
    CExtGridCell* p = dp.CellGet(c, r, NULL, false);
    if (p == NULL) return "-";
    CString s;
    p->TextGet(s);
    return (LPCSTR)s;
}

std::string Column(CExtGridDataProvider& dp, ULONG c) {
    std::string s;
    for (ULONG r = 0; r < dp.RowCountGet(); r++) s += (r ? "," : "") + Text(dp, c, r);
    return s;
}

std::string Keys(CExtGridDataProvider& dp, bool bColumns) {
    CExtGridDataSortOrder o;
    dp.SortOrderGet(o, bColumns);
    std::string s;
    for (INT_PTR i = 0; i < o.m_arrItems.GetSize(); i++)
        s += std::to_string(o.m_arrItems[i].m_nRowColNo) + (o.m_arrItems[i].m_bAscending ? "a " : "d ");
    return s;
}

CExtGridDataSortOrder Order(const std::vector<std::pair<LONG, bool>>& keys) {
    CExtGridDataSortOrder o;
    for (auto& k : keys) {
        CExtGridDataSortOrder::ITEM_INFO item(k.first, k.second);
        o.m_arrItems.Add(item);
    }
    return o;
}

}  // namespace

TEST(GridDataProvider, SortsRowsAndTellsEverySwap) {
    struct Case {
        const char* name;
        std::vector<const char*> col0, col1;
        ULONG nReservedRows;
        std::vector<std::pair<LONG, bool>> keys;
        const char* expected0;
        const char* expectedLog;
        bool bAnySwap;
    } cases[] = {
        {"ascending", {"c", "a", "b"}, {"1", "2", "3"}, 0, {{0, true}}, "a,b,c", "B(r)E(r)", true},
        {"descending", {"c", "a", "b"}, {"1", "2", "3"}, 0, {{0, false}}, "c,b,a", "B(r)E(r)", true},
        {"header row stays", {"h", "c", "a", "b"}, {"", "", "", ""}, 1, {{0, true}}, "h,a,b,c", "B(r)E(r)", true},
        {"missing first", {"b", "", "a"}, {"", "", ""}, 0, {{0, true}}, "-,a,b", "B(r)E(r)", true},
        {"missing last descending", {"b", "", "a"}, {"", "", ""}, 0, {{0, false}}, "b,a,-", "B(r)E(r)", true},
        {"second key breaks ties", {"x", "y", "x"}, {"2", "1", "1"}, 0, {{0, true}, {1, true}}, "x,x,y", "B(r)E(r)",
         true},
        {"no cells in key column", {"", "", ""}, {"a", "b", "c"}, 0, {{0, true}}, "-,-,-", "B(r)E(r)", false},
        {"one data row", {"h", "z"}, {"", ""}, 1, {{0, true}}, "h,z", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExtGridDataProviderMemory dp;
        ASSERT_TRUE(dp.ColumnInsert(0, 2));
        ASSERT_TRUE(dp.RowInsert(0, (ULONG)c.col0.size()));
        FillColumn(dp, 0, c.col0);
        FillColumn(dp, 1, c.col1);
        dp.OuterCellsReserve(0, c.nReservedRows);
        EventLog ev;
        for (ULONG r = 0; r < dp.RowCountGet(); r++) ev.series.push_back(Text(dp, 0, r) + "/" + Text(dp, 1, r));
        CExtGridDataSortOrder o = Order(c.keys);
        EXPECT_TRUE(dp.SortOrderSet(o, false, &ev));
        EXPECT_EQ(c.expected0, Column(dp, 0));
        EXPECT_EQ(c.expectedLog, ev.log);
        EXPECT_EQ(c.bAnySwap, ev.nSwaps > 0);
        for (ULONG r = 0; r < dp.RowCountGet(); r++)
            EXPECT_EQ(ev.series[r], Text(dp, 0, r) + "/" + Text(dp, 1, r)) << "row " << r;
        // The same order again sorts nothing.
        ev.log.clear();
        EXPECT_TRUE(dp.SortOrderSet(o, false, &ev));
        EXPECT_EQ("", ev.log);
    }
}

namespace {

// Records the swaps a sort reports, in order.
class SwapLog : public IEvents {
public:
    std::vector<std::pair<ULONG, ULONG>> swaps;
    void OnSortBegin(bool) override {}
    void OnSortEnd(bool) override {}
    void OnSeriesSwapping(bool, ULONG a, ULONG b, ULONG) override { swaps.push_back(std::make_pair(a, b)); }
    void OnSeriesMoved(bool, ULONG, ULONG) override {}
};

}  // namespace

// The provider's sort keeps its keys in a compact table; whatever the cells hold, the sort
// must make exactly the swaps that comparing the cells themselves makes.
TEST(GridDataProvider, SortKeyTableSwapsAsTheCellsCompare) {
    const ULONG kRows = 400;
    // Short and long texts (sharing their first twelve bytes and more), multibyte bytes,
    // equal texts told apart by style bits only, empty places, and a derived string cell.
    const char* kTexts[] = {"b", "a", "", "abcdefghijklmnop", "abcdefghijklmnoq", "abcdefghijkl", "abcdefghijk",
                            "\xE9t\xE9", "\xE9tat", "zz", "a", "Group 010", "Group 01", "Group 010x"};
    const size_t nTexts = sizeof(kTexts) / sizeof(kTexts[0]);
    struct Case {
        const char* name;
        std::vector<std::pair<LONG, bool>> keys;
    } cases[] = {
        {"one key ascending", {{0, true}}},
        {"one key descending", {{0, false}}},
        {"two keys", {{0, true}, {1, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExtGridDataProviderMemory dp;
        ASSERT_TRUE(dp.ColumnInsert(0, 2));
        ASSERT_TRUE(dp.RowInsert(0, kRows));
        unsigned nSeed = 12345;
        for (ULONG r = 0; r < kRows; r++) {
            nSeed = nSeed * 1103515245u + 12345u;
            const char* sText = kTexts[(nSeed >> 16) % nTexts];
            if (*sText != 0) {
                CRuntimeClass* pClass =
                    (nSeed >> 8) % 17 == 0 ? RUNTIME_CLASS(CExtGridCellPassword) : RUNTIME_CLASS(CExtGridCellString);
                CExtGridCell* p = dp.CellGet(0, r, pClass);
                ASSERT_TRUE(p != NULL);
                p->TextSet(sText);
                p->ModifyStyle((nSeed >> 4) % 3 == 0 ? 0x10000 : 0);
            }
            CExtGridCell* p1 = dp.CellGet(1, r, RUNTIME_CLASS(CExtGridCellString));
            ASSERT_TRUE(p1 != NULL);
            p1->TextSet(std::to_string((nSeed >> 20) % 5).c_str());
        }
        std::vector<CExtGridCell*> before;
        for (ULONG r = 0; r < kRows; r++) before.push_back(dp.CellGet(1, r, NULL, false));
        CExtGridDataSortOrder o = Order(c.keys);
        // The plain sort, then every swap undone.
        SwapLog plain;
        ULONG nCounter = 0;
        ASSERT_TRUE(dp.QuickSort(false, &plain, o, nCounter, 0, (LONG)kRows - 1));
        ASSERT_FALSE(plain.swaps.empty());
        for (size_t i = plain.swaps.size(); i-- > 0;)
            ASSERT_TRUE(dp.SwapSeries(plain.swaps[i].first, plain.swaps[i].second, nCounter, NULL, false));
        for (ULONG r = 0; r < kRows; r++) ASSERT_EQ(before[r], dp.CellGet(1, r, NULL, false)) << "row " << r;
        SwapLog tabled;
        ASSERT_TRUE(dp.SortOrderSet(o, false, &tabled));
        EXPECT_TRUE(plain.swaps == tabled.swaps);
    }
}

// A sink that empties key cells while the sort runs leaves the table behind: the sort
// goes on as the cells now compare, never with a destroyed cell.
TEST(GridDataProvider, SortAfterCellsDestroyedBySink) {
    class Clearing : public SwapLog {
    public:
        CExtGridDataProviderMemory* pDP = NULL;
        void OnSeriesSwapping(bool b, ULONG a, ULONG c, ULONG n) override {
            SwapLog::OnSeriesSwapping(b, a, c, n);
            if (swaps.size() == 1) pDP->CellRangeSet(0, a, 1, 20);
        }
    } plain, tabled;
    CExtGridDataProviderMemory dp1, dp2;
    for (CExtGridDataProviderMemory* pDP : {&dp1, &dp2}) {
        ASSERT_TRUE(pDP->ColumnInsert(0, 1));
        ASSERT_TRUE(pDP->RowInsert(0, 50));
        for (ULONG r = 0; r < 50; r++)
            pDP->CellGet(0, r, RUNTIME_CLASS(CExtGridCellString))->TextSet(std::to_string(100 + (r * 37) % 50).c_str());
    }
    plain.pDP = &dp1;
    tabled.pDP = &dp2;
    CExtGridDataSortOrder o = Order({{0, true}});
    ULONG nCounter = 0;
    ASSERT_TRUE(dp1.QuickSort(false, &plain, o, nCounter, 0, 49));
    EXPECT_TRUE(dp2.SortOrderSet(o, false, &tabled));
    EXPECT_TRUE(plain.swaps == tabled.swaps);
    EXPECT_EQ(Column(dp1, 0), Column(dp2, 0));
}

namespace {

std::string Row(CExtGridDataProvider& dp, ULONG r) {
    std::string s;
    for (ULONG c = 0; c < dp.ColumnCountGet(); c++) s += (c ? "," : "") + Text(dp, c, r);
    return s;
}

}  // namespace

TEST(GridDataProvider, InsertRemoveMoveKeepCellsAndSortKeys) {
    struct Case {
        const char* name;
        bool (*op)(CExtGridDataProvider&, IEvents*);
        bool bResult;
        const char* expected;  // row 0 | column 0 | row-order keys | column-order keys | events
    } cases[] = {
        {"remove column 1", [](CExtGridDataProvider& dp, IEvents*) { return dp.ColumnRemove(1, 1); }, true,
         "c0r0,c2r0,c3r0 | c0r0,c0r1,c0r2 | 2d | 0a 2d | "},
        {"move column 2 first", [](CExtGridDataProvider& dp, IEvents* e) { return dp.MoveColumnOrRow(true, 2, 0, e); },
         true, "c2r0,c0r0,c1r0,c3r0 | c2r0,c2r1,c2r2 | 2a 3d | 0a 2d | M(c2,0)"},
        {"move column 2 to 3", [](CExtGridDataProvider& dp, IEvents* e) { return dp.MoveColumnOrRow(true, 2, 3, e); },
         true, "c0r0,c1r0,c2r0,c3r0 | c0r0,c0r1,c0r2 | 1a 3d | 0a 2d | "},
        {"move row 2 first", [](CExtGridDataProvider& dp, IEvents* e) { return dp.MoveColumnOrRow(false, 2, 0, e); },
         true, "c0r2,c1r2,c2r2,c3r2 | c0r2,c0r0,c0r1 | 1a 3d | 1a 0d | M(r2,0)"},
        {"move past the end", [](CExtGridDataProvider& dp, IEvents* e) { return dp.MoveColumnOrRow(true, 0, 5, e); },
         false, "c0r0,c1r0,c2r0,c3r0 | c0r0,c0r1,c0r2 | 1a 3d | 0a 2d | "},
        {"insert 2 rows at 1", [](CExtGridDataProvider& dp, IEvents*) { return dp.RowInsert(1, 2); }, true,
         "c0r0,c1r0,c2r0,c3r0 | c0r0,-,-,c0r1,c0r2 | 1a 3d | 0a 4d | "},
        {"remove rows 0 and 1", [](CExtGridDataProvider& dp, IEvents*) { return dp.RowRemove(0, 2); }, true,
         "c0r2,c1r2,c2r2,c3r2 | c0r2 | 1a 3d | 0d | "},
        {"remove every row", [](CExtGridDataProvider& dp, IEvents*) { return dp.RowRemove(0, 3) && dp.ColumnCountGet() == 4; },
         true, "-,-,-,- |  | 1a 3d | | "},
        {"insert a column at the end", [](CExtGridDataProvider& dp, IEvents*) { return dp.ColumnInsert(4, 1); }, true,
         "c0r0,c1r0,c2r0,c3r0,- | c0r0,c0r1,c0r2 | 1a 3d | 0a 2d | "},
        {"insert a column at 0", [](CExtGridDataProvider& dp, IEvents*) { return dp.ColumnInsert(0, 1); }, true,
         "-,c0r0,c1r0,c2r0,c3r0 | -,-,- | 2a 4d | 0a 2d | "},
        {"insert columns past the end", [](CExtGridDataProvider& dp, IEvents*) { return dp.ColumnInsert(9, 1); }, false,
         "c0r0,c1r0,c2r0,c3r0 | c0r0,c0r1,c0r2 | 1a 3d | 0a 2d | "},
        {"remove a range one past the end", [](CExtGridDataProvider& dp, IEvents*) { return dp.ColumnRemove(3, 2); },
         false, "c0r0,c1r0,c2r0,c3r0 | c0r0,c0r1,c0r2 | 1a 3d | 0a 2d | "},
        {"empty a range", [](CExtGridDataProvider& dp, IEvents*) {
             ULONG n = 0;
             return dp.CellRangeEmpty(0, 0, 3, 1, &n) && n == 3;
         }, true, "-,-,-,c3r0 | -,c0r1,c0r2 | 1a 3d | 0a 2d | "},
        {"fill a range one column past the end", [](CExtGridDataProvider& dp, IEvents*) {
             CExtGridCellString src;
             ULONG n = 9;
             return dp.CellRangeSet(3, 0, 2, 1, &src, true, NULL, true, true, &n) || n != 0;
         }, false, "c0r0,c1r0,c2r0,c3r0 | c0r0,c0r1,c0r2 | 1a 3d | 0a 2d | "},
        {"assign a range", [](CExtGridDataProvider& dp, IEvents*) {
             CExtGridCellString src;
             src.TextSet("s");
             ULONG n = 0;
             return dp.CellRangeSet(0, 1, 2, 2, &src, false, NULL, true, true, &n) && n == 4;
         }, true, "c0r0,c1r0,c2r0,c3r0 | c0r0,s,s | 1a 3d | 0a 2d | "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExtGridDataProviderMemory dp;
        ASSERT_TRUE(dp.ColumnInsert(0, 4));
        ASSERT_TRUE(dp.RowInsert(0, 3));
        for (ULONG col = 0; col < 4; col++) {
            std::string t[3];
            for (int r = 0; r < 3; r++) t[r] = "c" + std::to_string(col) + "r" + std::to_string(r);
            FillColumn(dp, col, {t[0].c_str(), t[1].c_str(), t[2].c_str()});
        }
        // Both orders match the data already: setting them moves nothing.
        ASSERT_TRUE(dp.SortOrderSet(Order({{1, true}, {3, false}}), false));
        ASSERT_TRUE(dp.SortOrderSet(Order({{0, true}, {2, false}}), true));
        EventLog ev;
        for (ULONG i = 0; i < 4; i++) ev.series.push_back(std::to_string(i));
        EXPECT_EQ(c.bResult, c.op(dp, &ev));
        std::string state = Row(dp, 0) + " | " + Column(dp, 0) + " | " + Keys(dp, false) + "| " + Keys(dp, true) +
                            "| " + ev.log;
        EXPECT_EQ(c.expected, state);
    }
}

TEST(GridDataProvider, DefaultCellsAndReservedCounts) {
    CExtGridDataProviderMemory dp;
    ASSERT_TRUE(dp.ColumnInsert(0, 2));
    ASSERT_TRUE(dp.RowInsert(0, 2));
    CExtGridCellString def;
    def.TextSet("dflt");
    EXPECT_FALSE(dp.ColumnDefaultCellSet(1, NULL));  // none to remove
    EXPECT_TRUE(dp.ColumnDefaultCellSet(1, &def));
    def.TextSet("row");
    EXPECT_TRUE(dp.RowDefaultValueBind(0, &def));
    EXPECT_NE(&def, dp.ColumnDefaultCellGet(1));  // a clone, owned by the provider
    EXPECT_EQ(&dp, dp.ColumnDefaultCellGet(1)->GetOwner());

    EXPECT_TRUE(dp.CellGet(1, 0, NULL, false) == NULL);  // nothing made without asking
    EXPECT_TRUE(dp.CellGet(0, 0, NULL, true, true) == NULL);  // column 0 has no default
    CExtGridCell* p = dp.CellGet(1, 0, NULL, true, true);
    ASSERT_TRUE(p != NULL);
    EXPECT_EQ("dflt", Text(dp, 1, 0));
    EXPECT_EQ(p, dp.CellGet(1, 0, NULL, false));  // kept in its slot
    EXPECT_EQ(0, p->Compare(*dp.ColumnDefaultCellGet(1)));
    EXPECT_TRUE(dp.CellGet(0, 1, NULL, true, false) == NULL);  // row 1 has no default
    ASSERT_TRUE(dp.CellGet(0, 0, NULL, true, false) != NULL);
    EXPECT_EQ("row", Text(dp, 0, 0));
    EXPECT_TRUE(dp.CellGet(2, 0, RUNTIME_CLASS(CExtGridCellString)) == NULL);  // out of range

    EXPECT_TRUE(dp.ColumnDefaultValueBind(1, NULL));
    EXPECT_TRUE(dp.ColumnDefaultCellGet(1) == NULL);
    dp.RowDefaultCellsRemoveAll();
    EXPECT_TRUE(dp.RowDefaultCellGet(0) == NULL);

    ULONG nCols = 7, nRows = 7;
    dp.OuterCellsReservedGet(&nCols, &nRows);
    EXPECT_EQ(0u, nCols);
    EXPECT_EQ(0u, nRows);
    EXPECT_FALSE(dp.OuterCellsReserve(1, 2));  // the grid inserts the outer series itself
    dp.OuterCellsReservedGet(&nCols, NULL);
    dp.OuterCellsReservedGet(NULL, &nRows);
    EXPECT_EQ(1u, nCols);
    EXPECT_EQ(2u, nRows);
}

namespace {

// Remembers the sizes asked of it.
class SizeLog : public IMalloc {
public:
    std::vector<SIZE_T> sizes;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override { sizes.push_back(cb); return malloc(cb); }
    void* STDMETHODCALLTYPE Realloc(void* p, SIZE_T cb) override { return realloc(p, cb); }
    void STDMETHODCALLTYPE Free(void* p) override { free(p); }
    SIZE_T STDMETHODCALLTYPE GetSize(void*) override { return 0; }
    int STDMETHODCALLTYPE DidAlloc(void*) override { return 1; }
    void STDMETHODCALLTYPE HeapMinimize() override {}
};

}  // namespace

TEST(GridDataProvider, MemoryIconsAndFonts) {
    struct { ULONG nGranularity, nAsk; SIZE_T nExpected; } sizes[] = {{32, 33, 64}, {32, 64, 64}, {0, 33, 33}, {1, 33, 33}};
    for (auto& s : sizes) {
        SizeLog log;
        CExtGridDataProviderMemory dp(&log, NULL, NULL, s.nGranularity);
        void* p = dp.MallocAlloc(s.nAsk);
        ASSERT_EQ(1u, log.sizes.size()) << s.nGranularity << "/" << s.nAsk;
        EXPECT_EQ(s.nExpected, log.sizes[0]) << s.nGranularity << "/" << s.nAsk;
        EXPECT_TRUE(dp.MallocAlloc(0) == NULL);
        dp.MallocFree(p);
    }

    CExtGridDataProviderMemory dp;
    CExtCmdIcon icon;
    EXPECT_EQ(-1, dp.IconInsert(NULL));
    for (LONG i = 0; i < 4; i++) EXPECT_EQ(i, dp.IconInsert(&icon, 99));
    CExtCmdIcon* pOwned = new CExtCmdIcon;
    EXPECT_EQ(1, dp.IconInsert(pOwned, 1, false));
    EXPECT_EQ(pOwned, dp.IconGetAt(1));
    EXPECT_NE(&icon, dp.IconGet(0));  // copies
    EXPECT_TRUE(dp.IconGet(5) == NULL);
    EXPECT_EQ(0, dp.IconRemove(5, 1));
    EXPECT_EQ(3, dp.IconRemove(2, -1));
    EXPECT_EQ(2, dp.IconCountGet());

    HFONT hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    EXPECT_EQ(-1, dp.FontInsert(NULL));
    EXPECT_EQ(0, dp.FontInsert(hFont, -1, false));
    EXPECT_EQ(0, dp.FontInsert(hFont, 0, true));
    HFONT hCopy = dp.FontGet(0);
    EXPECT_TRUE(hCopy != NULL && hCopy != hFont);
    EXPECT_EQ(hFont, dp.FontGet(1));
    EXPECT_TRUE(dp.FontGet(2) == NULL);
    EXPECT_EQ(2, dp.FontRemove(0, 10));
    EXPECT_EQ(0, ::GetObjectType(hCopy));  // the copy was the provider's to delete
    EXPECT_EQ((DWORD)OBJ_FONT, ::GetObjectType(hFont));
}

TEST(GridDataProvider, SortOrderMergeAndChecks) {
    struct Case {
        const char* name;
        std::vector<std::pair<LONG, bool>> mine, other;
        bool bInvert;
        const char* expected;
    } cases[] = {
        {"empty takes the other", {}, {{2, false}, {0, true}}, false, "2d 0a "},
        {"same index takes its direction", {{1, true}, {3, true}}, {{3, false}}, false, "1a 3d "},
        {"same index toggles", {{1, true}, {3, false}}, {{3, false}, {1, false}}, true, "1d 3a "},
        {"new index appended", {{1, true}}, {{4, false}}, true, "1a 4d "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExtGridDataSortOrder o = Order(c.mine);
        o.MergeFrom(Order(c.other), c.bInvert);
        CExtGridDataProviderMemory dp;
        ASSERT_TRUE(dp.ColumnInsert(0, 5));
        ASSERT_TRUE(dp.SortOrderSet(o, false));
        EXPECT_EQ(c.expected, Keys(dp, false));
    }
    CExtGridDataProviderMemory dp;
    ASSERT_TRUE(dp.ColumnInsert(0, 2));
    ASSERT_TRUE(dp.RowInsert(0, 2));
    EXPECT_FALSE(dp.SortOrderSet(Order({{0, true}, {0, true}}), false));   // twice the same key
    EXPECT_TRUE(dp.SortOrderSet(Order({{0, true}, {0, false}}), false));   // both directions pass
    EXPECT_FALSE(dp.SortOrderSet(Order({{2, true}}), true));               // no row 2
    EXPECT_FALSE(dp.SortOrderSet(Order({{-1, true}}), false));
    EXPECT_EQ("0a 0d ", Keys(dp, false));
}

// Two string cells with equal texts are told apart by their fonts and colours before
// their styles, by the cells themselves and by the sort's key table alike.
TEST(GridDataProvider, EqualTextsCompareByFontAndColourBeforeStyle) {
    typedef std::function<void(CExtGridCell&)> Setup;
    const Setup none = [](CExtGridCell&) {};
    struct Case {
        const char* name;
        Setup first, second;
        int expected;  // the first compared with the second
    } cases[] = {
        {"nothing of their own", none, none, 0},
        {"bold before normal", [](CExtGridCell& c) { c.FontWeightSet(700); },
         [](CExtGridCell& c) { c.FontWeightSet(400); }, 1},
        {"normal before bold", [](CExtGridCell& c) { c.FontWeightSet(400); },
         [](CExtGridCell& c) { c.FontWeightSet(700); }, -1},
        {"italic against none", [](CExtGridCell& c) { c.FontItalicSet(true); }, none, 1},
        {"text colours", [](CExtGridCell& c) { c.TextColorSet(0, RGB(0, 0, 9)); },
         [](CExtGridCell& c) { c.TextColorSet(0, RGB(0, 0, 3)); }, 1},
        {"same weight, style decides", [](CExtGridCell& c) { c.FontWeightSet(700); c.ModifyStyle(0x10000); },
         [](CExtGridCell& c) { c.FontWeightSet(700); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExtGridDataProviderMemory dp;
        ASSERT_TRUE(dp.ColumnInsert(0, 1));
        ASSERT_TRUE(dp.RowInsert(0, 2));
        CExtGridCell* pFirst = dp.CellGet(0, 0, RUNTIME_CLASS(CExtGridCellString));
        CExtGridCell* pSecond = dp.CellGet(0, 1, RUNTIME_CLASS(CExtGridCellString));
        ASSERT_TRUE(pFirst != NULL && pSecond != NULL);
        pFirst->TextSet("same");
        pSecond->TextSet("same");
        c.first(*pFirst);
        c.second(*pSecond);
        EXPECT_EQ(c.expected, pFirst->Compare(*pSecond, 0xB0000, 0));
        // Ascending: the lower cell first; a tie keeps the earlier cell first.
        ASSERT_TRUE(dp.SortOrderSet(Order({{0, true}}), false, NULL));
        EXPECT_EQ(c.expected > 0 ? pSecond : pFirst, dp.CellGet(0, 0, NULL, false));
    }
}

// A sink that throws in the middle of a sort: the exception reaches the caller, the sink
// still hears the sort end, and the provider, no longer bound to that sort's key table,
// swaps and sorts again as it would have.
TEST(GridDataProvider, ASortLeftByAnExceptionLeavesNothingBehind) {
    class Throwing : public SwapLog {
    public:
        bool bThrow = true;
        int nEnds = 0;
        void OnSortEnd(bool) override { nEnds++; }
        void OnSeriesSwapping(bool b, ULONG a, ULONG c, ULONG n) override {
            if (bThrow) throw 7;
            SwapLog::OnSeriesSwapping(b, a, c, n);
        }
    } sink;
    CExtGridDataProviderMemory dp;
    ASSERT_TRUE(dp.ColumnInsert(0, 1));
    ASSERT_TRUE(dp.RowInsert(0, 6));
    FillColumn(dp, 0, {"e", "b", "f", "a", "d", "c"});
    bool bThrown = false;
    try {
        dp.SortOrderSet(Order({{0, true}}), false, &sink);
    } catch (int) {
        bThrown = true;
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(1, sink.nEnds);
    EXPECT_EQ("e,b,f,a,d,c", Column(dp, 0));
    ULONG nCounter = 0;
    ASSERT_TRUE(dp.SwapSeries(0, 3, nCounter, NULL, false));
    EXPECT_EQ("a,b,f,e,d,c", Column(dp, 0));
    sink.bThrow = false;
    EXPECT_TRUE(dp.SortApply(false, &sink));
    EXPECT_EQ("a,b,c,d,e,f", Column(dp, 0));
    EXPECT_EQ(2, sink.nEnds);
}
