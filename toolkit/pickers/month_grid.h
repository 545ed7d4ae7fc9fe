// Calendar arithmetic of the date picker's months: each month shows 42 day cells,
// six weeks of seven days beginning on the locale's first day of the week, over the
// automation-date range 1 January 100 to 31 December 9999 (proleptic Gregorian; there
// is no Julian gap in 1582 or 1752). Dates here are plain (year, month, day) triples so
// the arithmetic does not depend on any date class; the picker turns them into its own
// date values. The calendar is computed directly in the true year, so year 100 keeps
// its real weekday columns and the days before 1 January 100 and after 31 December 9999
// simply stay empty.
#pragma once

#include "framework/framework.h"

class CExtMonthGrid
{
public:
    enum { CELL_COUNT = 42, ROWS = 6, COLUMNS = 7, MIN_YEAR = 100, MAX_YEAR = 9999 };

    struct DATE_CELL {
        int nYear, nMonth, nDay;  // nDay 0 = the cell shows nothing
        DATE_CELL() : nYear(0), nMonth(0), nDay(0) {}
        DATE_CELL(int y, int m, int d) : nYear(y), nMonth(m), nDay(d) {}
        bool IsNull() const { return nDay == 0; }
        bool operator==(const DATE_CELL& o) const
        {
            return nYear == o.nYear && nMonth == o.nMonth && nDay == o.nDay;
        }
        bool operator!=(const DATE_CELL& o) const { return !(*this == o); }
    };

    static bool IsLeapYear(int nYear);
    static int DaysInMonth(int nYear, int nMonth);  // 0 for a month outside 1..12
    // Days since 1 January of year 1 (proleptic Gregorian, that day is 0).
    static long DayNumber(int nYear, int nMonth, int nDay);
    static DATE_CELL FromDayNumber(long nDayNumber);
    // 1 Sunday ... 7 Saturday, as the automation date type counts.
    static int DayOfWeek(int nYear, int nMonth, int nDay);
    static bool IsInRange(const DATE_CELL& d);
    static bool IsValid(const DATE_CELL& d);

    // Locale value (0 Monday ... 6 Sunday) to a day of week (1 Sunday ... 7 Saturday);
    // out-of-range values count as Monday.
    static int LocaleToDayOfWeek(int nLocaleFirstDay);
    // The resource manager's LOCALE_IFIRSTDAYOFWEEK (0 Monday ... 6 Sunday); 0 when the
    // answer is missing or not a digit 0..6.
    static int GetLocaleFirstDayOfWeek();

    // Steps (month, year) by whole months, after 12 comes month 1 of the next year.
    static void AdvanceMonth(int& nMonth, int& nYear, int nMonths = 1);

    // The 42 cells of one month. bShowLeading/bShowTrailing say whether dates of the
    // neighbouring months before or after this one are shown; cells that do not show
    // a date, or whose date lies outside the range, stay null.
    static void ComputeCells(int nYear, int nMonth, int nLocaleFirstDay, bool bShowLeading,
                             bool bShowTrailing, DATE_CELL cells[CELL_COUNT]);
    // Whether a month at (row, column) of a rows x columns picker shows its neighbours'
    // dates: every month does without the style bit that hides them (0x400), else only
    // the first month its leading and the last month its trailing dates.
    static void NeighbourVisibility(DWORD dwPickerStyle, int nRow, int nColumn, int nRows,
                                    int nColumns, bool& bShowLeading, bool& bShowTrailing);

    // The months a rows x columns picker shows from the current (month, year): when the
    // last one would lie past December 9999 the whole run steps back, and bMovedBack
    // tells the picker to make the first shown month its current date. Fills the first
    // shown (month, year) and the first and last day of the displayed range.
    static void BuildMonthRun(int nCurMonth, int nCurYear, int nCount, int& nFirstMonth,
                              int& nFirstYear, DATE_CELL& dtRangeFirst, DATE_CELL& dtRangeLast,
                              bool& bMovedBack);

    // Layout of one month from the picker's metrics.
    struct METRICS {
        int nCaptionHeight, nArrowWidth, nArrowHeight, nDaysIndent, nWeekdayHeaderHeight,
            nCellWidth, nCellHeight;
    };
    struct LAYOUT {
        CRect rcMonth, rcCaption, rcCaptionInner, rcPrevArrow, rcNextArrow, rcCaptionText,
            rcDays, rcWeekdayHeader;
        CRect rcCells[CELL_COUNT];
    };
    static void RecalcLayout(const CRect& rcMonth, const METRICS& m, LAYOUT& layout);

    // Hit codes: 0 nothing, 4 previous arrow, 5 next arrow, 6 caption text, 7 weekday
    // header, 8 day area. nCell gets the index of the day cell under the point, or -1.
    enum { HT_NONE = 0, HT_PREV = 4, HT_NEXT = 5, HT_CAPTION = 6, HT_WEEKDAYS = 7, HT_DAYS = 8 };
    static int HitTest(const LAYOUT& layout, CPoint pt, bool bFirstMonth,
                       bool bLastColumnOfFirstRow, int* pnCell = NULL);
};
