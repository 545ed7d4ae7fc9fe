// Measuring and painting of the date picker. Every font and colour comes from the paint
// manager at the time of the call; nothing is kept across a theme change.
#include <algorithm>

#include "toolkit/pickers/date_picker_wnd.h"

#include "toolkit/dialogs/memory_dc.h"

namespace {

CSize MeasureLine(CDC& dc, const CString& s)
{
    CRect rc(0, 0, 0, 0);
    dc.DrawText(s, &rc, DT_CALCRECT | DT_SINGLELINE);
    return CSize(rc.Width(), rc.Height());
}

void GrowTo(CSize& s, const CSize& t)
{
    s.cx = std::max(s.cx, t.cx);
    s.cy = std::max(s.cy, t.cy);
}

}  // namespace

// ---- fonts ----------------------------------------------------------------------------------

#define PICKER_FONT(name, bit)                                                   \
    CFont* CExtDatePickerWnd::name()                                             \
    {                                                                            \
        CExtPaintManager* pPM = GetPaintManager();                               \
        return (m_dwDatePickerStyle & (bit)) ? &pPM->m_FontBold : &pPM->m_FontNormal; \
    }
PICKER_FONT(GetHeaderListFont, __EDPWS_BOLD_HEADER_POPUP)
PICKER_FONT(GetDayFont, __EDPWS_BOLD_DAY_CELLS)
PICKER_FONT(GetCaptionFont, __EDPWS_BOLD_CAPTION)
PICKER_FONT(GetWeekdayFont, __EDPWS_BOLD_WEEK_DAYS)
#undef PICKER_FONT

// ---- metrics --------------------------------------------------------------------------------

void CExtDatePickerWnd::MeasureMetrics()
{
    HWND hWnd = GetSafeHwnd();
    HDC hdc = ::GetDC(hWnd != NULL && ::IsWindow(hWnd) ? hWnd : NULL);
    if (hdc == NULL)
        return;
    {
        CDC dc;
        dc.Attach(hdc);
        OnQueryMetrics(dc, m_sizeMonth, m_sizeCell, m_sizeButton, m_sizeArrow, m_nCaptionHeight,
                       m_nButtonAreaHeight, m_nWeekdayHeaderHeight, m_nDaysIndent);
        dc.Detach();
    }
    ::ReleaseDC(hWnd != NULL && ::IsWindow(hWnd) ? hWnd : NULL, hdc);
}

void CExtDatePickerWnd::OnQueryMetrics(CDC& dc, CSize& sizeMonth, CSize& sizeCell,
                                       CSize& sizeButton, CSize& sizeArrow, int& nCaptionHeight,
                                       int& nButtonAreaHeight, int& nWeekdayHeaderHeight,
                                       int& nDaysIndent)
{
    CExtPaintManager* pPM = GetPaintManager();
    CFont* pOldFont = dc.SelectObject((m_dwDatePickerStyle & __EDPWS_BOLD_ANY) ? &pPM->m_FontBold
                                                                              : &pPM->m_FontNormal);
    nDaysIndent = 11;
    CString s;
    CSize sizeWeekday(10, 10);
    for (int d = 1; d <= 7; ++d) {
        GetWeekdayName(s, d, true);
        CSize t = MeasureLine(dc, s);
        GrowTo(sizeWeekday, CSize(t.cx + 2, t.cy + 2));
    }
    sizeCell = CSize(17, 15);
    for (int n = 1; n <= 31; ++n) {
        s.Format(_T("%02d"), n);
        CSize t = MeasureLine(dc, s);
        GrowTo(sizeCell, CSize(t.cx + 2, t.cy + 2));
    }
    sizeCell.cx = sizeWeekday.cx = std::max(sizeCell.cx, sizeWeekday.cx);
    sizeButton = CSize(47, 18);
    for (int b = 2; b >= 1; --b) {
        GetButtonText(s, b);
        CSize t = MeasureLine(dc, s);
        GrowTo(sizeButton, CSize(t.cx + 10, t.cy + 6));
    }
    sizeArrow = CSize(16, 16);
    dc.SelectObject(&pPM->m_FontMarlett);
    GrowTo(sizeArrow, MeasureLine(dc, CString(_T("3"))));
    GrowTo(sizeArrow, MeasureLine(dc, CString(_T("4"))));
    CSize sizeCaptionText(10, 10);
    dc.SelectObject(GetHeaderListFont());
    for (int m = 1; m <= 12; ++m) {
        GetMonthName(s, m);
        GrowTo(sizeCaptionText, MeasureLine(dc, s + _T(" 0000")));
    }
    dc.SelectObject(pOldFont);
    nCaptionHeight = int(std::max(std::max(sizeCaptionText.cy, sizeArrow.cy + 2), 18L));
    nWeekdayHeaderHeight = int(std::max(sizeWeekday.cy + 2, 16L));
    nButtonAreaHeight = int(std::max(sizeButton.cy + 10, 30L));
    sizeMonth.cx = std::max(std::max(7 * sizeCell.cx, sizeCaptionText.cx + 2 * sizeArrow.cx + 4) +
                                2 * nDaysIndent, 143L);
    sizeMonth.cy = std::max(long(nCaptionHeight + 6 * sizeCell.cy + nWeekdayHeaderHeight), 125L);
}

// ---- painting -------------------------------------------------------------------------------

void CExtDatePickerWnd::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    PaintEntire(dc, rcClient);
}

void CExtDatePickerWnd::PaintEntire(CDC& dc, const RECT& rcClient)
{
    PaintBackground(dc, rcClient);
    if ((m_dwDatePickerStyle & (__EDPWS_BORDER | __EDPWS_BORDER_FRAME)) ==
        (__EDPWS_BORDER | __EDPWS_BORDER_FRAME))
        PaintBorder(dc, m_rcPicker);
    for (INT_PTR i = 0; i < m_arrMonths.GetSize(); ++i)
        m_arrMonths[i]->Paint(dc);
    if ((m_dwDatePickerStyle & (__EDPWS_BUTTON_TODAY | __EDPWS_BUTTON_NONE)) &&
        (m_dwDatePickerStyle & __EDPWS_BUTTON_SEPARATOR))
        PaintSeparator(dc, CRect(m_rcMonths.left + m_nDaysIndent, m_rcMonths.bottom + 1,
                                 m_rcMonths.right - m_nDaysIndent, m_rcMonths.bottom + 2));
    CString s;
    if (!m_rcBtnToday.IsRectEmpty()) {
        bool bOver = (m_nStateFlags & __STATE_HOVER_TODAY) != 0;
        bool bHover = bOver && (m_nTrackedPart == __TRACK_NOTHING || m_nTrackedPart == __TRACK_BTN_TODAY);
        GetButtonText(s, 2);
        PaintButton(dc, m_rcBtnToday, 2, s, false, true, m_nTrackedPart == __TRACK_BTN_TODAY && bOver, bHover);
    }
    if (!m_rcBtnNone.IsRectEmpty()) {
        bool bOver = (m_nStateFlags & __STATE_HOVER_NONE) != 0;
        bool bHover = bOver && (m_nTrackedPart == __TRACK_NOTHING || m_nTrackedPart == __TRACK_BTN_NONE);
        GetButtonText(s, 1);
        PaintButton(dc, m_rcBtnNone, 1, s, false, true, m_nTrackedPart == __TRACK_BTN_NONE && bOver, bHover);
    }
}

void CExtDatePickerWnd::PaintBackground(CDC& dc, const RECT& rcClient)
{
    GetPaintManager()->DrawDatePickerBackground(dc, rcClient, m_rcPicker, this);
}

void CExtDatePickerWnd::PaintBorder(CDC& dc, const RECT& rcPicker)
{
    GetPaintManager()->DrawDatePickerBorder(dc, rcPicker, this);
}

void CExtDatePickerWnd::PaintSeparator(CDC& dc, const RECT& rc)
{
    GetPaintManager()->DrawDatePickerShadow(dc, rc, this);
}

void CExtDatePickerWnd::PaintButton(CDC& dc, const RECT& rc, int nButton, LPCTSTR sText,
                                    bool bFlat, bool bDrawBorderOnHover, bool bPushed, bool bHover)
{
    CExtMemoryDC dcButton(&dc, &rc, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    GetPaintManager()->DrawDatePickerButton(dcButton, rc, nButton, sText, bFlat,
                                            bDrawBorderOnHover, bPushed, bHover, this);
}

void CExtDatePickerWnd::PaintMonthCaptionBackground(CDC& dc, int nCol, int nRow, int nYear,
                                                    int nMonth, const RECT& rcCaption,
                                                    const RECT& rcCaptionInner, const RECT&,
                                                    const RECT&, const RECT&)
{
    GetPaintManager()->DrawDatePickerFrame(nCol, nRow, dc, nYear, nMonth, rcCaption,
                                           rcCaptionInner, 0, 0, 0, this);
}

void CExtDatePickerWnd::PaintMonthCaption(CDC& dc, int nCol, int nRow, int nYear, int nMonth,
                                          const RECT& rcCaption, const RECT& rcCaptionInner,
                                          const RECT& rcCaptionText, const RECT& rcPrev,
                                          const RECT& rcNext)
{
    if ((m_dwDatePickerStyle & __EDPWS_NO_HEADER_BACKGROUND) == 0)
        PaintMonthCaptionBackground(dc, nCol, nRow, nYear, nMonth, rcCaption, rcCaptionInner,
                                    rcCaptionText, rcPrev, rcNext);
    CExtPaintManager* pPM = GetPaintManager();
    int nOldBk = dc.SetBkMode(TRANSPARENT);
    COLORREF clrText = pPM->LookupColor(COLOR_BTNTEXT, this);
    COLORREF clrOld = dc.SetTextColor(clrText);
    CString sMonth, s;
    GetMonthName(sMonth, nMonth);
    s.Format(_T("%s %d"), (LPCTSTR)sMonth, nYear);
    CFont* pOldFont = dc.SelectObject(GetCaptionFont());
    CRect rcText(rcCaptionText);
    dc.DrawText(s, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    bool bRTL = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    dc.SelectObject(&pPM->m_FontMarlett);
    if (nRow == 0 && nCol == 0) {
        dc.SetTextColor(nYear == CExtMonthGrid::MIN_YEAR && nMonth == 1 ? ::GetSysColor(COLOR_BTNSHADOW)
                                                                       : clrText);
        CRect rc(rcPrev);
        dc.DrawText(bRTL ? _T("4") : _T("3"), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (nRow == 0 && nCol == m_sizeCurrent.cx - 1) {
        int m = nMonth, y = nYear;
        CExtMonthGrid::AdvanceMonth(m, y, (m_sizeCurrent.cy - 1) * m_sizeCurrent.cx);
        bool bLast = y > CExtMonthGrid::MAX_YEAR || (y == CExtMonthGrid::MAX_YEAR && m == 12);
        dc.SetTextColor(bLast ? ::GetSysColor(COLOR_BTNSHADOW) : clrText);
        CRect rc(rcNext);
        dc.DrawText(bRTL ? _T("3") : _T("4"), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SelectObject(pOldFont);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldBk);
}

void CExtDatePickerWnd::PaintWeekdayHeader(int, int, CDC& dc, const RECT& rcIn)
{
    CRect rc(rcIn);
    int nOldBk = dc.SetBkMode(TRANSPARENT);
    COLORREF clrOld = dc.SetTextColor(GetPaintManager()->LookupColor(COLOR_BTNTEXT, this));
    CFont* pOldFont = dc.SelectObject(GetWeekdayFont());
    int nFirst = GetFirstDayOfWeek();
    CString s;
    for (int k = 0; k < 7; ++k) {
        GetWeekdayName(s, ((k + nFirst) % 7) + 1, true);
        CRect rcDay(rc.left + k * m_sizeCell.cx, rc.top, rc.left + (k + 1) * m_sizeCell.cx - 2,
                    rc.top + m_sizeCell.cy);
        rcDay.OffsetRect(0, -1);
        dc.DrawText(s, &rcDay, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
    dc.FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, ::GetSysColor(COLOR_BTNSHADOW));
    dc.SelectObject(pOldFont);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldBk);
}

void CExtDatePickerWnd::PaintDay(CDC& dc, bool bShowAdjacent, bool bFrameToday, bool bOtherMonth,
                                 bool bToday, const RECT& rcCell, const COleDateTime& dt,
                                 bool bSelected)
{
    if (!bShowAdjacent && bOtherMonth)
        return;
    CExtPaintManager* pPM = GetPaintManager();
    int nOldBk = dc.SetBkMode(TRANSPARENT);
    COLORREF clrText = (bOtherMonth && !bSelected) ? ::GetSysColor(COLOR_BTNSHADOW)
                                                   : pPM->LookupColor(COLOR_BTNTEXT, this);
    COLORREF clrOld = dc.SetTextColor(clrText);
    CFont* pOldFont = dc.SelectObject(GetDayFont());
    if (bSelected)
        dc.FillSolidRect(&rcCell, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_IN, this));
    CString s;
    s.Format(_T("%d"), dt.GetDay());
    CRect rc(rcCell);
    rc.right -= 2;
    dc.DrawText(s, &rc, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(pOldFont);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldBk);
    PaintTodayFrame(dc, bShowAdjacent, bFrameToday, bOtherMonth, bToday, rcCell, dt, bSelected);
}

void CExtDatePickerWnd::PaintTodayFrame(CDC& dc, bool, bool bFrameToday, bool, bool bToday,
                                        const RECT& rcCell, const COleDateTime&, bool)
{
    if (!bFrameToday || !bToday)
        return;
    COLORREF clr = dc.GetNearestColor(RGB(128, 0, 0));
    dc.Draw3dRect(&rcCell, clr, clr);
}
