#include <gtest/gtest.h>

#include "toolkit/core/resource_manager.h"
#include "toolkit/pickers/month_grid.h"

namespace {

typedef CExtMonthGrid G;
typedef CExtMonthGrid::DATE_CELL D;

::testing::AssertionResult CellIs(const D* cells, int i, int y, int m, int d)
{
    if (cells[i] == D(y, m, d))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "cell " << i << " is " << cells[i].nYear << "-" << cells[i].nMonth << "-"
           << cells[i].nDay << ", expected " << y << "-" << m << "-" << d;
}

TEST(MonthGridCalendar, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(G::IsLeapYear(2000));
    EXPECT_TRUE(G::IsLeapYear(2024));
    EXPECT_FALSE(G::IsLeapYear(1900));
    EXPECT_FALSE(G::IsLeapYear(100));
    EXPECT_TRUE(G::IsLeapYear(1600));
    EXPECT_EQ(29, G::DaysInMonth(2024, 2));
    EXPECT_EQ(28, G::DaysInMonth(1900, 2));
    EXPECT_EQ(28, G::DaysInMonth(100, 2));
    EXPECT_EQ(31, G::DaysInMonth(9999, 12));
    EXPECT_EQ(0, G::DaysInMonth(2024, 13));
}

// The Gregorian rule runs back over the reform dates: 4 October 1582 and 2 September
// 1752 are the Gregorian Monday and Saturday, not the Julian Thursday and Wednesday.
TEST(MonthGridCalendar, DayOfWeekIsProlepticGregorian)
{
    struct { int y, m, d, dow; } cases[] = {
        {1, 1, 1, 2},      {100, 1, 1, 6},   {100, 3, 1, 2},   {1582, 10, 4, 2},
        {1582, 10, 15, 6}, {1752, 9, 2, 7},  {1752, 9, 14, 5}, {2000, 1, 1, 7},
        {2024, 2, 29, 5},  {9999, 12, 31, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(c.dow, G::DayOfWeek(c.y, c.m, c.d)) << c.y << "-" << c.m << "-" << c.d;
}

TEST(MonthGridCalendar, DayNumbersRoundTripOverTheWholeRange)
{
    long nFirst = G::DayNumber(1, 1, 1);
    long nLast = G::DayNumber(9999, 12, 31);
    EXPECT_EQ(0, nFirst);
    EXPECT_EQ(3652058, nLast);
    D prev = G::FromDayNumber(nFirst);
    EXPECT_EQ(D(1, 1, 1), prev);
    for (long n = nFirst + 1; n <= nLast; ++n) {
        D d = G::FromDayNumber(n);
        bool bNext = (d.nYear == prev.nYear && d.nMonth == prev.nMonth && d.nDay == prev.nDay + 1) ||
                     (d.nDay == 1 && prev.nDay == G::DaysInMonth(prev.nYear, prev.nMonth) &&
                      ((d.nYear == prev.nYear && d.nMonth == prev.nMonth + 1) ||
                       (d.nYear == prev.nYear + 1 && d.nMonth == 1 && prev.nMonth == 12)));
        ASSERT_TRUE(bNext) << "day " << n << ": " << d.nYear << "-" << d.nMonth << "-" << d.nDay;
        ASSERT_EQ(n, G::DayNumber(d.nYear, d.nMonth, d.nDay)) << "day " << n;
        prev = d;
    }
}

TEST(MonthGridCalendar, LocaleFirstDayMapsToDayOfWeek)
{
    EXPECT_EQ(2, G::LocaleToDayOfWeek(0));
    EXPECT_EQ(7, G::LocaleToDayOfWeek(5));
    EXPECT_EQ(1, G::LocaleToDayOfWeek(6));
    EXPECT_EQ(2, G::LocaleToDayOfWeek(9));
}

class FixedLocaleManager : public CExtResourceManager
{
public:
    explicit FixedLocaleManager(const char* psz) : m_psz(psz) {}
    int GetLocaleInfo(LCTYPE LCType, LPTSTR lpLCData, int cchData) override
    {
        if (LCType != LOCALE_IFIRSTDAYOFWEEK)
            return CExtResourceManager::GetLocaleInfo(LCType, lpLCData, cchData);
        lstrcpynA(lpLCData, m_psz, cchData);
        return lstrlenA(lpLCData) + 1;
    }
    const char* m_psz;
};

TEST(MonthGridCalendar, FirstDayOfWeekComesFromTheResourceManager)
{
    struct { const char* psz; int n; } cases[] = {{"6", 6}, {"2", 2}, {"0", 0}, {"x", 0}, {"", 0}, {"66", 0}};
    for (const auto& c : cases) {
        g_CurrentResourceManager.InstallResourceManager(new FixedLocaleManager(c.psz));
        EXPECT_EQ(c.n, G::GetLocaleFirstDayOfWeek()) << "locale value \"" << c.psz << "\"";
    }
    g_CurrentResourceManager.InstallResourceManager(NULL);
}

TEST(MonthGridCells, MondayFirstAndTheFirstOnAMondayOpensRowTwo)
{
    D cells[42];
    G::ComputeCells(2024, 1, 0, true, true, cells);  // 1 January 2024 was a Monday
    EXPECT_TRUE(CellIs(cells, 0, 2023, 12, 25));
    EXPECT_TRUE(CellIs(cells, 6, 2023, 12, 31));
    EXPECT_TRUE(CellIs(cells, 7, 2024, 1, 1));
    EXPECT_TRUE(CellIs(cells, 41, 2024, 2, 4));
}

TEST(MonthGridCells, SundayFirstBeginsOnASunday)
{
    D cells[42];
    G::ComputeCells(2024, 9, 6, true, true, cells);  // 1 September 2024 was a Sunday
    EXPECT_TRUE(CellIs(cells, 0, 2024, 8, 25));
    EXPECT_EQ(1, G::DayOfWeek(cells[0].nYear, cells[0].nMonth, cells[0].nDay));
    EXPECT_TRUE(CellIs(cells, 7, 2024, 9, 1));
}

TEST(MonthGridCells, LeapFebruaryEndsOnTheTwentyNinth)
{
    D cells[42];
    G::ComputeCells(2024, 2, 0, true, true, cells);  // Thursday the 1st
    EXPECT_TRUE(CellIs(cells, 0, 2024, 1, 29));
    EXPECT_TRUE(CellIs(cells, 3, 2024, 2, 1));
    EXPECT_TRUE(CellIs(cells, 31, 2024, 2, 29));
    EXPECT_TRUE(CellIs(cells, 32, 2024, 3, 1));
    EXPECT_TRUE(CellIs(cells, 41, 2024, 3, 10));
}

TEST(MonthGridCells, CalendarReformMonthsHaveNoGap)
{
    D cells[42];
    G::ComputeCells(1752, 9, 6, true, true, cells);  // Sunday first, Friday the 1st
    EXPECT_TRUE(CellIs(cells, 4, 1752, 8, 31));
    EXPECT_TRUE(CellIs(cells, 5, 1752, 9, 1));
    EXPECT_TRUE(CellIs(cells, 6, 1752, 9, 2));
    EXPECT_TRUE(CellIs(cells, 7, 1752, 9, 3));
    EXPECT_TRUE(CellIs(cells, 18, 1752, 9, 14));
    EXPECT_TRUE(CellIs(cells, 35, 1752, 10, 1));
    G::ComputeCells(1582, 10, 0, true, true, cells);  // Monday first, Friday the 1st
    EXPECT_TRUE(CellIs(cells, 7, 1582, 10, 4));
    EXPECT_TRUE(CellIs(cells, 8, 1582, 10, 5));
    EXPECT_TRUE(CellIs(cells, 18, 1582, 10, 15));
}

TEST(MonthGridCells, RangeEnds)
{
    D cells[42];
    G::ComputeCells(100, 1, 0, true, true, cells);  // 1 January 100 was a Friday
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(cells[i].IsNull()) << "cell " << i << " lies in year 99";
    EXPECT_TRUE(CellIs(cells, 4, 100, 1, 1));
    EXPECT_TRUE(CellIs(cells, 34, 100, 1, 31));
    EXPECT_TRUE(CellIs(cells, 35, 100, 2, 1));
    G::ComputeCells(100, 2, 0, true, true, cells);
    EXPECT_TRUE(CellIs(cells, 0, 100, 1, 25));  // Monday 1 February: a whole leading week
    EXPECT_TRUE(CellIs(cells, 6, 100, 1, 31));
    EXPECT_TRUE(CellIs(cells, 7, 100, 2, 1));
    EXPECT_TRUE(CellIs(cells, 34, 100, 2, 28));  // year 100 has no 29 February
    EXPECT_TRUE(CellIs(cells, 35, 100, 3, 1));

    G::ComputeCells(9999, 12, 0, true, true, cells);  // Wednesday the 1st
    EXPECT_TRUE(CellIs(cells, 0, 9999, 11, 29));
    EXPECT_TRUE(CellIs(cells, 2, 9999, 12, 1));
    EXPECT_TRUE(CellIs(cells, 32, 9999, 12, 31));
    for (int i = 33; i < 42; ++i)
        EXPECT_TRUE(cells[i].IsNull()) << "cell " << i << " lies in year 10000";
}

TEST(MonthGridCells, NeighbourDatesOfATwoByTwoPickerWithTheHidingStyle)
{
    struct { int r, c; bool bLead, bTrail; } cases[] = {
        {0, 0, true, false}, {0, 1, false, false}, {1, 0, false, false}, {1, 1, false, true}};
    for (const auto& c : cases) {
        bool bLead = false, bTrail = false;
        G::NeighbourVisibility(0x400, c.r, c.c, 2, 2, bLead, bTrail);
        EXPECT_EQ(c.bLead, bLead) << "month " << c.r << "," << c.c;
        EXPECT_EQ(c.bTrail, bTrail) << "month " << c.r << "," << c.c;
        G::NeighbourVisibility(0, c.r, c.c, 2, 2, bLead, bTrail);
        EXPECT_TRUE(bLead && bTrail) << "month " << c.r << "," << c.c << " without the style";
    }
    D cells[42];
    G::ComputeCells(2024, 2, 0, true, false, cells);
    EXPECT_TRUE(CellIs(cells, 0, 2024, 1, 29));
    EXPECT_TRUE(cells[32].IsNull());
    G::ComputeCells(2024, 2, 0, false, true, cells);
    EXPECT_TRUE(cells[0].IsNull());
    EXPECT_TRUE(CellIs(cells, 3, 2024, 2, 1));
    EXPECT_TRUE(CellIs(cells, 32, 2024, 3, 1));
}

TEST(MonthGridRun, StepsBackBeforeTheEndOfTheRange)
{
    int m = 0, y = 0;
    D first, last;
    bool bMoved = true;
    G::BuildMonthRun(11, 9999, 3, m, y, first, last, bMoved);
    EXPECT_TRUE(bMoved);
    EXPECT_EQ(10, m);
    EXPECT_EQ(9999, y);
    EXPECT_EQ(D(9999, 10, 1), first);
    EXPECT_EQ(D(9999, 12, 31), last);

    G::BuildMonthRun(12, 9999, 1, m, y, first, last, bMoved);
    EXPECT_FALSE(bMoved);
    EXPECT_EQ(D(9999, 12, 31), last);

    G::BuildMonthRun(11, 2023, 4, m, y, first, last, bMoved);
    EXPECT_FALSE(bMoved);
    EXPECT_EQ(11, m);
    EXPECT_EQ(2023, y);
    EXPECT_EQ(D(2023, 11, 1), first);
    EXPECT_EQ(D(2024, 2, 29), last);
}

TEST(MonthGridLayout, RectanglesAndHitCodes)
{
    G::METRICS met = {20, 16, 18, 5, 15, 25, 20};
    G::LAYOUT l;
    G::RecalcLayout(CRect(10, 20, 200, 180), met, l);
    EXPECT_EQ(CRect(10, 20, 200, 40), l.rcCaption);
    EXPECT_EQ(CRect(11, 21, 199, 39), l.rcCaptionInner);
    EXPECT_EQ(CRect(11, 21, 27, 39), l.rcPrevArrow);
    EXPECT_EQ(CRect(187, 21, 199, 39), l.rcNextArrow);
    EXPECT_EQ(CRect(27, 21, 187, 39), l.rcCaptionText);
    EXPECT_EQ(CRect(15, 40, 193, 55), l.rcWeekdayHeader);
    EXPECT_EQ(CRect(15, 55, 193, 180), l.rcDays);
    EXPECT_EQ(CRect(65, 75, 90, 95), l.rcCells[9]);

    int nCell = 0;
    EXPECT_EQ(4, G::HitTest(l, CPoint(12, 25), true, false, &nCell));
    EXPECT_EQ(-1, nCell);
    EXPECT_EQ(0, G::HitTest(l, CPoint(12, 25), false, true));
    EXPECT_EQ(5, G::HitTest(l, CPoint(190, 25), false, true));
    EXPECT_EQ(0, G::HitTest(l, CPoint(190, 25), true, false));
    EXPECT_EQ(6, G::HitTest(l, CPoint(100, 30), true, true));
    EXPECT_EQ(7, G::HitTest(l, CPoint(100, 45), false, false));
    EXPECT_EQ(8, G::HitTest(l, CPoint(70, 80), false, false, &nCell));
    EXPECT_EQ(9, nCell);
    EXPECT_EQ(8, G::HitTest(l, CPoint(190, 80), false, false, &nCell));  // past the last column
    EXPECT_EQ(-1, nCell);
    EXPECT_EQ(0, G::HitTest(l, CPoint(12, 170), false, false));
    EXPECT_EQ(0, G::HitTest(l, CPoint(5, 5), true, true));
    G::LAYOUT empty;
    G::RecalcLayout(CRect(0, 0, 0, 0), met, empty);
    EXPECT_EQ(0, G::HitTest(empty, CPoint(0, 0), true, true));
}

}  // namespace
