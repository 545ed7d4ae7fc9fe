#include "toolkit/pickers/month_grid.h"
#include "toolkit/core/resource_manager.h"

bool CExtMonthGrid::IsLeapYear(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int CExtMonthGrid::DaysInMonth(int nYear, int nMonth)
{
    static const int s_days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12)
        return 0;
    if (nMonth == 2 && IsLeapYear(nYear))
        return 29;
    return s_days[nMonth - 1];
}

long CExtMonthGrid::DayNumber(int nYear, int nMonth, int nDay)
{
    // Count from 1 March of year 0 so the leap day falls at the end of a counted year;
    // 1 January of year 1 lies 306 days after that origin.
    long y = nYear - (nMonth <= 2 ? 1 : 0);
    long nEra = (y >= 0 ? y : y - 399) / 400;
    long nYoe = y - nEra * 400;
    long nDoy = (153 * (nMonth > 2 ? nMonth - 3 : nMonth + 9) + 2) / 5 + nDay - 1;
    long nDoe = nYoe * 365 + nYoe / 4 - nYoe / 100 + nDoy;
    return nEra * 146097 + nDoe - 306;
}

CExtMonthGrid::DATE_CELL CExtMonthGrid::FromDayNumber(long nDayNumber)
{
    long z = nDayNumber + 306;
    long nEra = (z >= 0 ? z : z - 146096) / 146097;
    long nDoe = z - nEra * 146097;
    long nYoe = (nDoe - nDoe / 1460 + nDoe / 36524 - nDoe / 146096) / 365;
    long y = nYoe + nEra * 400;
    long nDoy = nDoe - (365 * nYoe + nYoe / 4 - nYoe / 100);
    long mp = (5 * nDoy + 2) / 153;
    int nDay = int(nDoy - (153 * mp + 2) / 5 + 1);
    int nMonth = int(mp < 10 ? mp + 3 : mp - 9);
    return DATE_CELL(int(y + (nMonth <= 2 ? 1 : 0)), nMonth, nDay);
}

int CExtMonthGrid::DayOfWeek(int nYear, int nMonth, int nDay)
{
    // 1 January of year 1 was a Monday in the proleptic Gregorian calendar.
    long n = DayNumber(nYear, nMonth, nDay);
    int nMondayBased = int(((n % 7) + 7) % 7);  // 0 Monday
    return (nMondayBased + 1) % 7 + 1;          // Monday -> 2, Sunday -> 1
}

bool CExtMonthGrid::IsValid(const DATE_CELL& d)
{
    return d.nMonth >= 1 && d.nMonth <= 12 && d.nDay >= 1 &&
           d.nDay <= DaysInMonth(d.nYear, d.nMonth);
}

bool CExtMonthGrid::IsInRange(const DATE_CELL& d)
{
    return IsValid(d) && d.nYear >= MIN_YEAR && d.nYear <= MAX_YEAR;
}

int CExtMonthGrid::LocaleToDayOfWeek(int nLocaleFirstDay)
{
    if (nLocaleFirstDay < 0 || nLocaleFirstDay > 6)
        nLocaleFirstDay = 0;
    int n = nLocaleFirstDay + 2;
    return n == 8 ? 1 : n;
}

int CExtMonthGrid::GetLocaleFirstDayOfWeek()
{
    TCHAR szBuf[24] = {0};
    g_CurrentResourceManager->GetLocaleInfo(LOCALE_IFIRSTDAYOFWEEK, szBuf, 24);
    szBuf[23] = 0;
    if (szBuf[0] >= '0' && szBuf[0] <= '6' && szBuf[1] == 0)
        return szBuf[0] - '0';
    return 0;
}

void CExtMonthGrid::AdvanceMonth(int& nMonth, int& nYear, int nMonths)
{
    long nIndex = long(nYear) * 12 + (nMonth - 1) + nMonths;
    nYear = int(nIndex / 12);
    nMonth = int(nIndex % 12) + 1;
}

void CExtMonthGrid::ComputeCells(int nYear, int nMonth, int nLocaleFirstDay, bool bShowLeading,
                                 bool bShowTrailing, DATE_CELL cells[CELL_COUNT])
{
    int nFirstDow = LocaleToDayOfWeek(nLocaleFirstDay);
    int nDow = DayOfWeek(nYear, nMonth, 1);
    int nLead = (nDow - nFirstDow + 7) % 7;
    if (nLead == 0)
        nLead = 7;  // the grid always opens with at least one day of the month before
    long nFirstOfMonth = DayNumber(nYear, nMonth, 1);
    long nStart = nFirstOfMonth - nLead;
    for (int i = 0; i < CELL_COUNT; ++i) {
        DATE_CELL d = FromDayNumber(nStart + i);
        cells[i] = DATE_CELL();
        if (!IsInRange(d))
            continue;
        bool bOwn = d.nMonth == nMonth && d.nYear == nYear;
        bool bBefore = nStart + i < nFirstOfMonth;
        if (bOwn || (bBefore && bShowLeading) || (!bBefore && bShowTrailing))
            cells[i] = d;
    }
}

void CExtMonthGrid::NeighbourVisibility(DWORD dwPickerStyle, int nRow, int nColumn, int nRows,
                                        int nColumns, bool& bShowLeading, bool& bShowTrailing)
{
    bool bAll = (dwPickerStyle & 0x400) == 0;
    bShowLeading = bAll || (nRow == 0 && nColumn == 0);
    bShowTrailing = bAll || (nRow == nRows - 1 && nColumn == nColumns - 1);
}

void CExtMonthGrid::BuildMonthRun(int nCurMonth, int nCurYear, int nCount, int& nFirstMonth,
                                  int& nFirstYear, DATE_CELL& dtRangeFirst,
                                  DATE_CELL& dtRangeLast, bool& bMovedBack)
{
    if (nCount < 1)
        nCount = 1;
    int m = nCurMonth, y = nCurYear;
    int nLastMonth = m, nLastYear = y;
    AdvanceMonth(nLastMonth, nLastYear, nCount - 1);
    bMovedBack = false;
    while (nLastYear > MAX_YEAR) {
        AdvanceMonth(nLastMonth, nLastYear, -1);
        AdvanceMonth(m, y, -1);
        bMovedBack = true;
    }
    nFirstMonth = m;
    nFirstYear = y;
    dtRangeFirst = DATE_CELL(y, m, 1);
    dtRangeLast = DATE_CELL(nLastYear, nLastMonth, DaysInMonth(nLastYear, nLastMonth));
}

void CExtMonthGrid::RecalcLayout(const CRect& rcMonth, const METRICS& m, LAYOUT& l)
{
    l.rcMonth = rcMonth;
    l.rcCaption = rcMonth;
    l.rcCaption.bottom = l.rcCaption.top + m.nCaptionHeight;
    l.rcCaptionInner = l.rcCaption;
    l.rcCaptionInner.DeflateRect(1, 1);
    const CRect& in = l.rcCaptionInner;
    l.rcPrevArrow.SetRect(in.left, in.top, in.left + m.nArrowWidth, in.top + m.nArrowHeight);
    l.rcNextArrow.SetRect(in.right - m.nArrowWidth + 4, in.top, in.right,
                          in.top + m.nArrowHeight);
    l.rcCaptionText.SetRect(in.left + m.nArrowWidth, in.top, in.right - m.nArrowWidth + 4,
                            in.bottom);
    l.rcDays.SetRect(rcMonth.left + m.nDaysIndent, l.rcCaption.bottom,
                     rcMonth.right - m.nDaysIndent - 2, rcMonth.bottom);
    l.rcWeekdayHeader = l.rcDays;
    l.rcWeekdayHeader.bottom = l.rcWeekdayHeader.top + m.nWeekdayHeaderHeight;
    l.rcDays.top += m.nWeekdayHeaderHeight;
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLUMNS; ++c)
            l.rcCells[r * COLUMNS + c].SetRect(
                l.rcDays.left + c * m.nCellWidth, l.rcDays.top + r * m.nCellHeight,
                l.rcDays.left + (c + 1) * m.nCellWidth, l.rcDays.top + (r + 1) * m.nCellHeight);
}

int CExtMonthGrid::HitTest(const LAYOUT& l, CPoint pt, bool bFirstMonth,
                           bool bLastColumnOfFirstRow, int* pnCell)
{
    if (pnCell != NULL)
        *pnCell = -1;
    if (l.rcMonth.IsRectEmpty() || !l.rcMonth.PtInRect(pt))
        return HT_NONE;
    if (bFirstMonth && l.rcPrevArrow.PtInRect(pt))
        return HT_PREV;
    if (bLastColumnOfFirstRow && l.rcNextArrow.PtInRect(pt))
        return HT_NEXT;
    if (l.rcCaptionText.PtInRect(pt))
        return HT_CAPTION;
    if (l.rcWeekdayHeader.PtInRect(pt))
        return HT_WEEKDAYS;
    if (l.rcDays.PtInRect(pt)) {
        if (pnCell != NULL)
            for (int i = 0; i < CELL_COUNT; ++i)
                if (l.rcCells[i].PtInRect(pt)) {
                    *pnCell = i;
                    break;
                }
        return HT_DAYS;
    }
    return HT_NONE;
}
