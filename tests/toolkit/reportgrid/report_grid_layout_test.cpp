// The report grid's layout archive: its bytes, a round trip into another grid, and
// damaged or mismatching archives refused with the layout unchanged.
#include "report_grid_fixture.h"
#include "support/archive_bytes.h"

namespace {

std::vector<BYTE> Bytes(CMemFile& file)
{
    std::vector<BYTE> v((size_t)file.GetLength());
    file.SeekToBegin();
    if (!v.empty())
        file.Read(v.data(), (UINT)v.size());
    return v;
}

struct Writer
{
    std::vector<BYTE> v;
    void Dword(DWORD d)
    {
        for (int i = 0; i < 4; i++)
            v.push_back((BYTE)(d >> (8 * i)));
    }
    void Str(const char* s)
    {
        v.push_back((BYTE)strlen(s));
        v.insert(v.end(), s, s + strlen(s));
    }
    void Double(double lf)
    {
        const BYTE* p = (const BYTE*)&lf;
        v.insert(v.end(), p, p + 8);
    }
};

struct ReportLayoutTest : ReportGridFixture
{
    CExtReportGridColumn *m_pName = NULL, *m_pSize = NULL, *m_pDate = NULL;
    void SetUp() override
    {
        ReportGridFixture::SetUp();
        m_pName = m_grid.ColumnRegister("Name", "File", true, false);
        m_pSize = m_grid.ColumnRegister("Size", "File", true, false);
        m_pDate = m_grid.ColumnRegister("Date", "", false, false);
        m_pSize->SetExtent(120, 0);
        m_pSize->SetProportionalExtent(0.25);
        m_grid.ColumnCellStyle3Set(m_pSize, 2, false);
        m_pDate->MenuListedSet(false);
        CExtReportGridSortOrder order;
        order.ItemInsert(m_pName, -1, true);
        order.ItemInsert(m_pSize, -1, false);
        order.SetGroupCount(1);
        ASSERT_TRUE(m_grid.SortOrderSet(order, false, false));
    }
    std::vector<BYTE> Store(CExtReportGridWnd& grid, bool bStyles = true, bool bSortOrder = true)
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            EXPECT_TRUE(grid.SerializeLayout(ar, bStyles, bSortOrder));
        }
        return Bytes(file);
    }
    bool Load(CExtReportGridWnd& grid, std::vector<BYTE> bytes, bool* pbMismatch = NULL)
    {
        CMemFile file(bytes.empty() ? NULL : bytes.data(), (UINT)bytes.size());
        CArchive ar(&file, CArchive::load);
        return grid.SerializeLayout(ar, true, true, false, pbMismatch);
    }
};

}  // namespace

TEST_F(ReportLayoutTest, StoredBytes)
{
    Writer w;
    w.Dword(0x3);
    w.Dword(3);
    for (POSITION pos = m_grid.ColumnGetStartPosition(); pos != NULL;)
    {
        CExtReportGridColumn* p = m_grid.ColumnGetNext(pos);
        w.Str(p->CategoryNameGet());
        w.Str(p->ColumnNameGet());
        w.Dword(p == m_pDate ? 0x17 : 0x3F);
        w.Dword(p == m_pSize ? 2 : 0);
        w.Dword(p == m_pSize ? 120 : 10);
        w.Dword(10);
        w.Dword(32767);
        w.Double(p == m_pSize ? 0.25 : 0.5);
    }
    w.Dword(1);  // Name went to the group-by part
    w.Str("File");
    w.Str("Size");
    w.Dword(2);
    w.Dword(1);
    w.Str("File");
    w.Str("Name");
    w.v.push_back(1);
    w.Str("File");
    w.Str("Size");
    w.v.push_back(0);
    EXPECT_EQ(w.v, Store(m_grid));
    Writer wPlain;
    wPlain.Dword(0);
    EXPECT_TRUE(std::equal(wPlain.v.begin(), wPlain.v.end(), Store(m_grid, false, false).begin()))
        << "no styles, no sort order: layout flags 0";
}

TEST_F(ReportLayoutTest, RoundTripIntoAnotherGrid)
{
    const std::vector<BYTE> bytes = Store(m_grid);
    CExtReportGridWnd other;
    ASSERT_TRUE(other.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 500, 300), 2, 0, WS_CHILD));
    other.ColumnRegister("Date", "", true, false);
    other.ColumnRegister("Size", "File", true, false);
    other.ColumnRegister("Name", "File", true, false);
    bool bMismatch = true;
    EXPECT_TRUE(Load(other, bytes, &bMismatch));
    EXPECT_FALSE(bMismatch);
    EXPECT_FALSE(other.ColumnIsActive("Date", "")) << "not among the stored headers";
    CExtReportGridColumn* pSize = other.ColumnFind("Size", "File");
    EXPECT_TRUE(other.ColumnIsActive(pSize));
    EXPECT_FALSE(other.ColumnIsActive("Name", "File")) << "grouped by";
    EXPECT_EQ(2u, pSize->GetStyle() & 0x3333);
    double lf = 0;
    EXPECT_TRUE(pSize->GetProportionalExtent(lf));
    EXPECT_EQ(0.25, lf);
    const CExtReportGridSortOrder& order = other.SortOrderGet();
    bool bAscending = true;
    EXPECT_EQ(1, order.GetGroupCount());
    EXPECT_EQ(other.ColumnFind("Name", "File"), order.ItemGet(0));
    EXPECT_EQ(pSize, order.ItemGet(1, &bAscending));
    EXPECT_FALSE(bAscending);
    other.DestroyWindow();
}

TEST_F(ReportLayoutTest, DamagedOrMismatchingArchivesChangeNothing)
{
    const std::vector<BYTE> good = Store(m_grid);
    std::vector<BYTE> negative = good;
    // The first record's current extent lies after its two strings and two DWORDs.
    const size_t nExtentAt = 8 + 1 + good[8] + 1 + good[9 + good[8]] + 8;
    negative[nExtentAt + 3] = 0x80;
    struct Case
    {
        const char* name;
        std::vector<BYTE> bytes;
        bool bMismatch;
    } cases[] = {
        {"empty", {}, false},
        {"cut inside the records", std::vector<BYTE>(good.begin(), good.begin() + 30), false},
        {"cut inside the sort order", std::vector<BYTE>(good.begin(), good.end() - 3), false},
        {"a negative extent", negative, false},
    };
    for (const Case& c : cases)
    {
        bool bMismatch = true;
        EXPECT_FALSE(Load(m_grid, c.bytes, &bMismatch)) << c.name;
        EXPECT_EQ(c.bMismatch, bMismatch) << c.name;
        EXPECT_EQ(good, Store(m_grid)) << c.name;
    }
    m_pName->GroupingEnabledSet(false);
    const std::vector<BYTE> before = Store(m_grid);
    bool bMismatch = false;
    EXPECT_FALSE(Load(m_grid, good, &bMismatch)) << "grouping permission changed since";
    EXPECT_TRUE(bMismatch);
    EXPECT_EQ(before, Store(m_grid));
}

// A column of another category read into a registered column, or assigned to one, is
// filed under it: found there, the grid's own layout reads back, and once unregistered
// and removed, no category still names it.
TEST_F(ReportLayoutTest, ColumnTakingAnotherCategoryIsFiledUnderIt)
{
    CExtGridDataProviderMemory dp;
    CExtReportGridColumn other(&dp);
    other.NameAndCategorySet("When", "Stats");
    m_pDate->Assign(other);
    other.NameAndCategorySet("Size", "Stats");
    const std::vector<BYTE> bytes = testsupport::StoredBytes([&](CArchive& ar) { other.Serialize(ar); });
    CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    m_pSize->Serialize(ar);
    ASSERT_EQ(m_pSize, m_grid.ColumnFind("Size", "Stats"));
    EXPECT_EQ(m_pDate, m_grid.ColumnFind("When", "Stats"));
    EXPECT_FALSE(m_pDate->IsActive()) << "hidden, as the provider keeps it";
    EXPECT_TRUE(Load(m_grid, Store(m_grid)));
    ASSERT_TRUE(m_grid.SortOrderSet(CExtReportGridSortOrder(), false, false));
    const int nIndex = m_grid.GetReportDataProvider().ActiveColumnIndexOf(m_pSize);
    ASSERT_TRUE(m_grid.ColumnUnregister(m_pSize, false));
    ASSERT_EQ(1, m_grid.RemoveColumns(nIndex, 1, false));
    EXPECT_EQ(nullptr, m_grid.ColumnFind("Size", "File"));
}

TEST_F(ReportLayoutTest, CategoryChangeMovesTheColumnItWasAskedOf)
{
    // The name another column of the category has is refused; the move then takes the
    // column it was asked of and leaves the one of that name where it is.
    m_pSize->ColumnNameSet("Name");
    EXPECT_STREQ("Size", m_pSize->ColumnNameGet());
    m_pSize->CategoryNameSet("Stats");
    m_pSize->ColumnNameSet("Name");
    EXPECT_EQ(m_pSize, m_grid.ColumnFind("Name", "Stats"));
    EXPECT_EQ(m_pName, m_grid.ColumnFind("Name", "File"));
    EXPECT_STREQ("File", m_pName->CategoryNameGet());
    EXPECT_TRUE(Load(m_grid, Store(m_grid)));
}
