// The months of the date picker: each builds its 42 cells from the calendar, lays out its
// caption, arrows, weekday header and day cells, hit-tests and paints itself through the
// picker's painting operations.
#include "toolkit/pickers/date_picker_wnd.h"

typedef CExtDatePickerWnd::MONTH_INFO MONTH_INFO;

MONTH_INFO::DATE_INFO::DATE_INFO() : m_pPicker(NULL), m_pMonth(NULL)
{
    m_rcCell.SetRectEmpty();
    m_dt.SetStatus(COleDateTime::null);
}

void MONTH_INFO::DATE_INFO::SetDatePicker(CExtDatePickerWnd* pPicker, MONTH_INFO* pMonth)
{
    m_pPicker = pPicker;
    m_pMonth = pMonth;
}

void MONTH_INFO::DATE_INFO::Paint(CDC& dc) const
{
    if (m_pPicker == NULL || m_pMonth == NULL || m_dt.GetStatus() != COleDateTime::valid)
        return;
    DWORD dwStyle = m_pPicker->GetDatePickerStyle();
    bool bOtherMonth = m_dt.GetMonth() != m_pMonth->GetMonth() || m_dt.GetYear() != m_pMonth->GetYear();
    bool bSelected = m_pPicker->IsDateSelected(m_dt);
    COleDateTime dtToday = m_pPicker->GetTodayDate();
    bool bToday = m_dt.GetYear() == dtToday.GetYear() && m_dt.GetMonth() == dtToday.GetMonth() &&
                  m_dt.GetDay() == dtToday.GetDay();
    m_pPicker->PaintDay(dc, (dwStyle & CExtDatePickerWnd::__EDPWS_SHOW_NON_MONTH_DAYS) != 0,
                        (dwStyle & CExtDatePickerWnd::__EDPWS_SHOW_TODAY_HIGHLIGHT) != 0,
                        bOtherMonth, bToday, m_rcCell, m_dt, bSelected);
}

MONTH_INFO::MONTH_INFO(int nRow, int nCol, int nMonth, int nYear, const RECT& rcMonth,
                       CExtDatePickerWnd* pPicker)
    : m_nMonth(nMonth), m_nYear(nYear), m_pPicker(pPicker), m_nRow(nRow), m_nCol(nCol),
      m_rcMonth(rcMonth)
{
    CSize sizeCurrent(1, 1);
    pPicker->GetDimension(NULL, NULL, &sizeCurrent);
    bool bLeading = false, bTrailing = false;
    CExtMonthGrid::NeighbourVisibility(pPicker->GetDatePickerStyle(), nRow, nCol, sizeCurrent.cy,
                                       sizeCurrent.cx, bLeading, bTrailing);
    CExtMonthGrid::DATE_CELL cells[CExtMonthGrid::CELL_COUNT];
    CExtMonthGrid::ComputeCells(nYear, nMonth, pPicker->GetFirstDayOfWeek(), bLeading,
                                bTrailing, cells);
    for (int i = 0; i < CExtMonthGrid::CELL_COUNT; ++i) {
        m_cells[i].SetDatePicker(pPicker, this);
        if (!cells[i].IsNull())
            m_cells[i].SetDate(COleDateTime(cells[i].nYear, cells[i].nMonth, cells[i].nDay, 0, 0, 0));
    }
    RecalcLayout();
}

COleDateTime MONTH_INFO::GetFirstDate() const
{
    return COleDateTime(m_nYear, m_nMonth, 1, 1, 1, 1);
}

void MONTH_INFO::RecalcLayout()
{
    CExtMonthGrid::METRICS m;
    m.nCaptionHeight = m_pPicker->GetCaptionHeight();
    m.nArrowWidth = m_pPicker->GetArrowSize().cx;
    m.nArrowHeight = m_pPicker->GetArrowSize().cy;
    m.nDaysIndent = m_pPicker->GetDaysIndent();
    m.nWeekdayHeaderHeight = m_pPicker->GetWeekdayHeaderHeight();
    m.nCellWidth = m_pPicker->GetCellSize().cx;
    m.nCellHeight = m_pPicker->GetCellSize().cy;
    CExtMonthGrid::LAYOUT l;
    CExtMonthGrid::RecalcLayout(m_rcMonth, m, l);
    m_rcCaption = l.rcCaption;
    m_rcCaptionInner = l.rcCaptionInner;
    m_rcPrevArrow = l.rcPrevArrow;
    m_rcNextArrow = l.rcNextArrow;
    m_rcCaptionText = l.rcCaptionText;
    m_rcDays = l.rcDays;
    m_rcWeekdayHeader = l.rcWeekdayHeader;
    for (int i = 0; i < CExtMonthGrid::CELL_COUNT; ++i)
        m_cells[i].SetRect(l.rcCells[i]);
}

int MONTH_INFO::HitTest(const POINT& pt, COleDateTime* pDate) const
{
    if (pDate != NULL)
        pDate->SetStatus(COleDateTime::null);
    if (m_rcMonth.IsRectEmpty() || !m_rcMonth.PtInRect(pt))
        return CExtDatePickerWnd::__EDPWH_NOWHERE;
    CSize sizeCurrent(1, 1);
    m_pPicker->GetDimension(NULL, NULL, &sizeCurrent);
    if (m_nRow == 0 && m_nCol == 0 && m_rcPrevArrow.PtInRect(pt))
        return CExtDatePickerWnd::__EDPWH_ARROW_PREV;
    if (m_nRow == 0 && m_nCol == sizeCurrent.cx - 1 && m_rcNextArrow.PtInRect(pt))
        return CExtDatePickerWnd::__EDPWH_ARROW_NEXT;
    int nHit = CExtDatePickerWnd::__EDPWH_NOWHERE;
    if (m_rcCaptionText.PtInRect(pt))
        nHit = CExtDatePickerWnd::__EDPWH_MONTH_CAPTION;
    else if (m_rcWeekdayHeader.PtInRect(pt))
        nHit = CExtDatePickerWnd::__EDPWH_WEEK_DAYS;
    else if (m_rcDays.PtInRect(pt))
        nHit = CExtDatePickerWnd::__EDPWH_DAYS_AREA;
    else
        return CExtDatePickerWnd::__EDPWH_NOWHERE;
    if (pDate != NULL) {
        *pDate = GetFirstDate();
        if (nHit == CExtDatePickerWnd::__EDPWH_DAYS_AREA)
            for (int i = 0; i < CExtMonthGrid::CELL_COUNT; ++i)
                if (m_cells[i].m_rcCell.PtInRect(pt)) {
                    *pDate = m_cells[i].GetDate();
                    break;
                }
    }
    return nHit;
}

void MONTH_INFO::Paint(CDC& dc) const
{
    m_pPicker->PaintMonthCaption(dc, m_nCol, m_nRow, m_nYear, m_nMonth, m_rcCaption,
                                 m_rcCaptionInner, m_rcCaptionText, m_rcPrevArrow, m_rcNextArrow);
    m_pPicker->PaintWeekdayHeader(m_nYear, m_nMonth, dc, m_rcWeekdayHeader);
    for (int i = 0; i < CExtMonthGrid::CELL_COUNT; ++i)
        m_cells[i].Paint(dc);
}
