#include <algorithm>

#include "toolkit/pickers/date_picker_wnd.h"

#include "toolkit/core/cmd_manager.h"
#include "toolkit/pickers/picker_wnd_class.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/pickers/popup_control_input.h"

#define DATE_PICKER_CLASS_NAME _T("Kestrix-DatePickerWnd")

const UINT CExtDatePickerWnd::g_nMsgSelectionNotification =
    ::RegisterWindowMessageA("CExtDatePickerWnd::g_nMsgSelectionNotification");

IMPLEMENT_DYNCREATE(CExtDatePickerWnd, CWnd)

BEGIN_MESSAGE_MAP(CExtDatePickerWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

COleDateTime NullDate()
{
    COleDateTime dt;
    dt.SetStatus(COleDateTime::null);
    return dt;
}

bool IsValidDate(const COleDateTime& dt) { return dt.GetStatus() == COleDateTime::valid; }

// Year, month and day of a date at midnight; a date that is not valid stays invalid.
COleDateTime DateOnly(const COleDateTime& dt)
{
    COleDateTime r;
    if (!IsValidDate(dt)) {
        r.SetStatus(dt.GetStatus() == COleDateTime::null ? COleDateTime::null
                                                          : COleDateTime::invalid);
        return r;
    }
    r.SetDate(dt.GetYear(), dt.GetMonth(), dt.GetDay());
    return r;
}

bool SameDay(const COleDateTime& a, const COleDateTime& b)
{
    return a.GetYear() == b.GetYear() && a.GetMonth() == b.GetMonth() && a.GetDay() == b.GetDay();
}

COleDateTime FromCell(const CExtMonthGrid::DATE_CELL& c)
{
    if (c.IsNull())
        return NullDate();
    return COleDateTime(c.nYear, c.nMonth, c.nDay, 0, 0, 0);
}

}  // namespace

// ---- construction ---------------------------------------------------------------------------

CExtDatePickerWnd::CExtDatePickerWnd()
    : m_lParamCookie(0), m_hWndNotificationReceiver(NULL), m_pExternalSelectionInfo(NULL),
      m_bAutoDeleteWindow(false), m_nTrackedPart(__TRACK_NOTHING),
      m_dwDatePickerStyle(__EDPWS_DEFAULT), m_sizeMin(1, 1), m_sizeCurrent(1, 1),
      m_sizeMax(1, 1), m_nStateFlags(0), m_sizeMonth(0, 0), m_sizeCell(0, 0),
      m_sizeButton(0, 0), m_sizeArrow(0, 0), m_nCaptionHeight(0), m_nButtonAreaHeight(0),
      m_nWeekdayHeaderHeight(0), m_nDaysIndent(0)
{
    m_dtDisplayedFirst = NullDate();
    m_dtDisplayedLast = NullDate();
    RegisterDatePickerWndClass();
    SelectionClear(false);
    SetCurrentDate(GetTodayDate(), false);
    RegisterWithHolder();
}

CExtDatePickerWnd::~CExtDatePickerWnd()
{
    UnregisterFromHolder();
    ClearMonths();
}

void CExtDatePickerWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtDatePickerWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtDatePickerWnd::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CExtDatePickerWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

bool CExtDatePickerWnd::RegisterDatePickerWndClass()
{
    static bool s_bRegistered = false;
    return RegisterPickerWndClass(DATE_PICKER_CLASS_NAME, s_bRegistered);
}

bool CExtDatePickerWnd::Create(CWnd* pParent, const RECT& rc, UINT nID, int nMinCols,
                               int nMinRows, int nMaxCols, int nMaxRows, DWORD dwWindowStyle,
                               DWORD dwDatePickerStyle, CCreateContext* pContext)
{
    if (!RegisterDatePickerWndClass())
        return false;
    m_nStateFlags |= __STATE_CREATED;
    m_dwDatePickerStyle = dwDatePickerStyle;
    if (!CWnd::Create(DATE_PICKER_CLASS_NAME, NULL, dwWindowStyle, rc, pParent, nID, pContext))
        return false;
    SetDimension(nMinCols, nMinRows, nMaxCols, nMaxRows, false);
    MeasureMetrics();
    RecalcLayout(true, true, false);
    return true;
}

void CExtDatePickerWnd::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    if ((m_nStateFlags & __STATE_CREATED) == 0) {
        CWnd::ModifyStyle(0, WS_CLIPCHILDREN);
        MeasureMetrics();
        RecalcLayout(true, true, false);
    }
    if (m_pExternalSelectionInfo != NULL) {
        SelectionSet(m_pExternalSelectionInfo[0], m_pExternalSelectionInfo[1], false, false);
        SetCurrentDate(IsValidDate(m_pExternalSelectionInfo[0]) ? m_pExternalSelectionInfo[0]
                                                                 : m_pExternalSelectionInfo[1],
                       true);
    }
}

void CExtDatePickerWnd::PostNcDestroy()
{
    if (m_bAutoDeleteWindow)
        delete this;
}

// ---- style, dimension, dates ----------------------------------------------------------------

DWORD CExtDatePickerWnd::GetDatePickerStyle() const { return m_dwDatePickerStyle; }

DWORD CExtDatePickerWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, bool bRedraw)
{
    DWORD dwOld = m_dwDatePickerStyle;
    m_dwDatePickerStyle = (dwOld & ~dwRemove) | dwAdd;
    if (GetSafeHwnd() == NULL || !::IsWindow(GetSafeHwnd()))
        return dwOld;
    if (dwRemove & __EDPWS_AUTO_DIMENSION_MODE)
        m_sizeCurrent = m_sizeMin;
    if (dwRemove & __EDPWS_MULTIPLE_SELECTION)
        m_dtSelEnd = m_dtSelBegin;
    bool bMeasure = ((dwRemove | dwAdd) & __EDPWS_METRICS_STYLES) != 0 ||
                    (dwRemove & __EDPWS_AUTO_DIMENSION_MODE) != 0;
    if (bMeasure)
        MeasureMetrics();
    RecalcLayout(true, bMeasure, bRedraw);
    return dwOld;
}

void CExtDatePickerWnd::RecalcLayout(bool bLayout, bool bMonths, bool bRedraw)
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return;
    if (bLayout && (m_nStateFlags & __STATE_IN_LAYOUT) == 0) {
        m_nStateFlags |= __STATE_IN_LAYOUT;
        RecalcAreas();
        m_nStateFlags &= ~__STATE_IN_LAYOUT;
    }
    if (bMonths)
        RecalcMonths();
    if (bRedraw && ::IsWindowVisible(hWnd)) {
        ::InvalidateRect(hWnd, NULL, TRUE);
        ::UpdateWindow(hWnd);
    }
}

bool CExtDatePickerWnd::IsDateSelected(const COleDateTime& dt) const
{
    if (!IsValidDate(m_dtSelBegin) || !IsValidDate(m_dtSelEnd) || !IsValidDate(dt))
        return false;
    COleDateTime dtLo = m_dtSelBegin, dtHi = m_dtSelEnd;
    if (dtHi < dtLo) {
        dtLo = m_dtSelEnd;
        dtHi = m_dtSelBegin;
    }
    COleDateTime d = DateOnly(dt);
    return dtLo <= d && d <= dtHi;
}

bool CExtDatePickerWnd::EnsureVisible(const COleDateTime& dt, bool bRedraw)
{
    if (!IsValidDate(dt))
        return false;
    COleDateTime d = DateOnly(dt);
    if (m_dtDisplayedFirst.GetStatus() == COleDateTime::null ||
        m_dtDisplayedLast.GetStatus() == COleDateTime::null || d < m_dtDisplayedFirst ||
        d > m_dtDisplayedLast)
        SetCurrentDate(dt, bRedraw);
    return true;
}

void CExtDatePickerWnd::SelectionSet(const COleDateTime& dtBegin, const COleDateTime& dtEnd,
                                     bool bNormalize, bool bRedraw)
{
    if (dtBegin.GetStatus() == m_dtSelBegin.GetStatus() &&
        dtEnd.GetStatus() == m_dtSelEnd.GetStatus() && SameDay(dtBegin, m_dtSelBegin) &&
        SameDay(dtEnd, m_dtSelEnd))
        return;
    if (dtBegin.GetStatus() == COleDateTime::null || dtEnd.GetStatus() == COleDateTime::null) {
        m_dtSelBegin = NullDate();
        m_dtSelEnd = NullDate();
    } else {
        m_dtSelBegin = DateOnly(dtBegin);
        m_dtSelEnd = DateOnly(dtEnd);
        if (bNormalize && IsValidDate(m_dtSelBegin) && IsValidDate(m_dtSelEnd) &&
            m_dtSelEnd < m_dtSelBegin) {
            COleDateTime t = m_dtSelBegin;
            m_dtSelBegin = m_dtSelEnd;
            m_dtSelEnd = t;
        }
    }
    if (GetSafeHwnd() == NULL || !::IsWindow(GetSafeHwnd()))
        return;
    RecalcLayout(true, false, bRedraw);
    SendNotification(false, true);
}

void CExtDatePickerWnd::SelectionClear(bool bRedraw)
{
    SelectionSet(NullDate(), NullDate(), false, bRedraw);
}

void CExtDatePickerWnd::SelectionGet(COleDateTime& dtBegin, COleDateTime& dtEnd) const
{
    dtBegin = m_dtSelBegin;
    dtEnd = m_dtSelEnd;
}

void CExtDatePickerWnd::GetDisplayedRange(COleDateTime& dtFirst, COleDateTime& dtLast) const
{
    dtFirst = m_dtDisplayedFirst;
    dtLast = m_dtDisplayedLast;
}

void CExtDatePickerWnd::SetCurrentDate(const COleDateTime& dt, bool bRedraw)
{
    if (!IsValidDate(dt))
        return;
    m_dtCurrent = DateOnly(dt);
    RecalcLayout(true, true, bRedraw);
}

COleDateTime CExtDatePickerWnd::GetCurrentDate() const { return m_dtCurrent; }

void CExtDatePickerWnd::SetDimension(int nMinCols, int nMinRows, int nMaxCols, int nMaxRows,
                                     bool bRedraw)
{
    bool bMin = !(nMinCols == 0 && nMinRows == 0);
    if (bMin)
        m_sizeMin = CSize(std::max(nMinCols, 1), std::max(nMinRows, 1));
    if (!(nMaxCols == 0 && nMaxRows == 0)) {
        CSize s(std::max(nMaxCols, 1), std::max(nMaxRows, 1));
        if (bMin) {
            s.cx = std::max(s.cx, m_sizeMin.cx);
            s.cy = std::max(s.cy, m_sizeMin.cy);
        }
        m_sizeMax = s;
    }
    if (GetSafeHwnd() != NULL && ::IsWindow(GetSafeHwnd()))
        RecalcLayout(true, true, bRedraw);
}

void CExtDatePickerWnd::GetDimension(CSize* pMin, CSize* pMax, CSize* pCurrent) const
{
    if (pMin != NULL)
        *pMin = m_sizeMin;
    if (pMax != NULL)
        *pMax = m_sizeMax;
    if (pCurrent != NULL)
        *pCurrent = m_sizeCurrent;
}

void CExtDatePickerWnd::GetMonthName(CString& strOut, int nMonth, bool bMakeUpper) const
{
    strOut.Empty();
    if (nMonth < 1 || nMonth > 12)
        return;
    TCHAR szBuf[200] = {0};
    g_CurrentResourceManager->GetLocaleInfo(LOCALE_SMONTHNAME1 + nMonth - 1, szBuf, 200);
    szBuf[199] = 0;
    strOut = szBuf;
    if (bMakeUpper)
        strOut.MakeUpper();
}

int CExtDatePickerWnd::GetFirstDayOfWeek() const
{
    return CExtMonthGrid::GetLocaleFirstDayOfWeek();
}

void CExtDatePickerWnd::GetWeekdayName(CString& strOut, int nDay, bool bMakeUpper) const
{
    strOut.Empty();
    if (nDay < 1 || nDay > 7)
        return;
    TCHAR szBuf[100] = {0};
    g_CurrentResourceManager->GetLocaleInfo(LOCALE_SABBREVDAYNAME1 + nDay - 1, szBuf, 100);
    szBuf[99] = 0;
    strOut = szBuf;
    if (bMakeUpper)
        strOut.MakeUpper();
    if (strOut.GetLength() > 1)
        strOut = strOut.Left(1);
}

COleDateTime CExtDatePickerWnd::GetTodayDate() const { return COleDateTime::GetCurrentTime(); }

HWND CExtDatePickerWnd::GetNotificationTarget() const
{
    if (m_hWndNotificationReceiver != NULL && ::IsWindow(m_hWndNotificationReceiver))
        return m_hWndNotificationReceiver;
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return NULL;
    return ::GetParent(hWnd);
}

void CExtDatePickerWnd::GetButtonText(CString& strOut, int nButton) const
{
    strOut.Empty();
    if (nButton == 1) {
        if (!g_CurrentResourceManager->LoadString(strOut, 30369) || strOut.IsEmpty())
            strOut = _T("None");
    } else if (nButton == 2) {
        if (!g_CurrentResourceManager->LoadString(strOut, 30370) || strOut.IsEmpty())
            strOut = _T("Today");
    }
}

CRect CExtDatePickerWnd::GetBorderMargins() const
{
    if (m_dwDatePickerStyle & __EDPWS_BORDER)
        return CRect(4, 4, 4, 4);
    return CRect(0, 0, 0, 0);
}

CSize CExtDatePickerWnd::CalcSize(CSize sizeDimension)
{
    if (GetSafeHwnd() == NULL || !::IsWindow(GetSafeHwnd()))
        MeasureMetrics();
    CRect rcM = GetBorderMargins();
    CSize s(sizeDimension.cx * m_sizeMonth.cx + rcM.left + rcM.right,
            sizeDimension.cy * m_sizeMonth.cy + rcM.top + rcM.bottom);
    if (m_dwDatePickerStyle & (__EDPWS_BUTTON_TODAY | __EDPWS_BUTTON_NONE))
        s.cy += m_nButtonAreaHeight;
    return s;
}

// ---- layout ---------------------------------------------------------------------------------

void CExtDatePickerWnd::RecalcAreas()
{
    m_rcPicker.SetRectEmpty();
    m_rcMonths.SetRectEmpty();
    m_rcBtnNone.SetRectEmpty();
    m_rcBtnToday.SetRectEmpty();
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcM = GetBorderMargins();
    bool bButtons = (m_dwDatePickerStyle & (__EDPWS_BUTTON_TODAY | __EDPWS_BUTTON_NONE)) != 0;
    int nStrip = bButtons ? m_nButtonAreaHeight : 0;
    if ((m_dwDatePickerStyle & __EDPWS_AUTO_DIMENSION_MODE) && m_sizeMonth.cx > 0 &&
        m_sizeMonth.cy > 0) {
        int nWidth = rcClient.Width() - rcM.left - rcM.right;
        int nHeight = rcClient.Height() - rcM.top - rcM.bottom - nStrip;
        int nCols = nWidth > 0 ? nWidth / m_sizeMonth.cx : 0;
        int nRows = nHeight > 0 ? nHeight / m_sizeMonth.cy : 0;
        nCols = std::max(std::min(nCols, (int)m_sizeMax.cx), (int)m_sizeMin.cx);
        nRows = std::max(std::min(nRows, (int)m_sizeMax.cy), (int)m_sizeMin.cy);
        m_sizeCurrent = CSize(nCols, nRows);
    } else
        m_sizeCurrent = m_sizeMin;
    m_rcPicker.SetRect(rcClient.left, rcClient.top,
                       rcClient.left + m_sizeCurrent.cx * m_sizeMonth.cx + rcM.left + rcM.right,
                       rcClient.top + m_sizeCurrent.cy * m_sizeMonth.cy + rcM.top + rcM.bottom);
    int dx = (rcClient.Width() - m_rcPicker.Width()) / 2;
    int dy = (rcClient.Height() - m_rcPicker.Height() - nStrip) / 2;
    m_rcPicker.OffsetRect((dx > 0 && (m_dwDatePickerStyle & __EDPWS_CENTER_HORIZONTALLY)) ? dx : 0,
                          (dy > 0 && (m_dwDatePickerStyle & __EDPWS_CENTER_VERTICALLY)) ? dy : 0);
    m_rcMonths = m_rcPicker;
    m_rcMonths.DeflateRect(rcM.left, rcM.top, rcM.right, rcM.bottom);
    if (!bButtons)
        return;
    m_rcPicker.bottom += nStrip;
    CRect rcStrip(m_rcPicker.left, m_rcMonths.bottom + rcM.bottom, m_rcPicker.right,
                  m_rcPicker.bottom - rcM.bottom);
    int nTop = rcStrip.top + (rcStrip.Height() - m_sizeButton.cy) / 2;
    int nBottom = rcStrip.top + (rcStrip.Height() + m_sizeButton.cy) / 2;
    int nCentre = rcStrip.left + (rcStrip.Width() - m_sizeButton.cx) / 2;
    bool bToday = (m_dwDatePickerStyle & __EDPWS_BUTTON_TODAY) != 0;
    bool bNone = (m_dwDatePickerStyle & __EDPWS_BUTTON_NONE) != 0;
    int nTodayLeft = nCentre, nNoneLeft = nCentre;
    if (bToday && bNone) {
        nTodayLeft = nCentre - 5 - m_sizeButton.cx / 2;
        nNoneLeft = nCentre + m_sizeButton.cx / 2 + 5;
    }
    if (bToday)
        m_rcBtnToday.SetRect(nTodayLeft, nTop, nTodayLeft + m_sizeButton.cx, nBottom);
    if (bNone)
        m_rcBtnNone.SetRect(nNoneLeft, nTop, nNoneLeft + m_sizeButton.cx, nBottom);
}

void CExtDatePickerWnd::ClearMonths()
{
    for (INT_PTR i = 0; i < m_arrMonths.GetSize(); ++i)
        delete m_arrMonths[i];
    m_arrMonths.RemoveAll();
}

CExtDatePickerWnd::MONTH_INFO* CExtDatePickerWnd::GetMonthAt(int i) const
{
    if (i < 0 || i >= m_arrMonths.GetSize())
        return NULL;
    return m_arrMonths[i];
}

void CExtDatePickerWnd::RecalcMonths()
{
    ClearMonths();
    m_dtDisplayedFirst = NullDate();
    m_dtDisplayedLast = NullDate();
    if (!IsValidDate(m_dtCurrent))
        return;
    int nCount = m_sizeCurrent.cx * m_sizeCurrent.cy;
    int m = 0, y = 0;
    CExtMonthGrid::DATE_CELL dFirst, dLast;
    bool bMovedBack = false;
    CExtMonthGrid::BuildMonthRun(m_dtCurrent.GetMonth(), m_dtCurrent.GetYear(), nCount, m, y,
                                 dFirst, dLast, bMovedBack);
    if (bMovedBack)
        m_dtCurrent.SetDate(y, m, 1);
    CRect rcM = GetBorderMargins();
    for (int i = 0; i < nCount; ++i) {
        int nRow = i / m_sizeCurrent.cx, nCol = i % m_sizeCurrent.cx;
        CRect rc(nCol * m_sizeMonth.cx, nRow * m_sizeMonth.cy, (nCol + 1) * m_sizeMonth.cx,
                 (nRow + 1) * m_sizeMonth.cy);
        rc.OffsetRect(m_rcPicker.left + rcM.left, m_rcPicker.top + rcM.top);
        m_arrMonths.Add(new MONTH_INFO(nRow, nCol, m, y, rc, this));
        CExtMonthGrid::AdvanceMonth(m, y, 1);
    }
    m_dtDisplayedFirst = FromCell(dFirst);
    m_dtDisplayedLast = FromCell(dLast);
}

// ---- hit testing and notifications ----------------------------------------------------------

int CExtDatePickerWnd::HitTest(CPoint pt, COleDateTime* pDate) const
{
    if (pDate != NULL)
        *pDate = NullDate();
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return __EDPWH_NOWHERE;
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    if (rcClient.IsRectEmpty() || !rcClient.PtInRect(pt))
        return __EDPWH_NOWHERE;
    if (!m_rcBtnNone.IsRectEmpty() && m_rcBtnNone.PtInRect(pt))
        return __EDPWH_BTN_NONE;
    if (!m_rcBtnToday.IsRectEmpty() && m_rcBtnToday.PtInRect(pt))
        return __EDPWH_BTN_TODAY;
    if (!m_rcMonths.PtInRect(pt))
        return __EDPWH_NOWHERE;
    if (pDate == NULL)
        return __EDPWH_INNER_AREA;
    for (INT_PTR i = 0; i < m_arrMonths.GetSize(); ++i) {
        if (!m_arrMonths[i]->GetRect().PtInRect(pt))
            continue;
        int nHit = m_arrMonths[i]->HitTest(pt, pDate);
        return nHit != __EDPWH_NOWHERE ? nHit : __EDPWH_INNER_AREA;
    }
    return __EDPWH_INNER_AREA;
}

CExtDatePickerWnd::SELECTIONNOTIFICATION::SELECTIONNOTIFICATION(CExtDatePickerWnd& wndPicker,
                                                                bool bFinal, bool bClose)
    : m_hWndDatePicker(wndPicker.GetSafeHwnd()), m_lParamCookie(wndPicker.m_lParamCookie),
      m_bFinalSelectionChanging(bFinal), m_bAllowFinalParentCancelMode(bClose),
      m_pExternalSelectionInfo(wndPicker.m_pExternalSelectionInfo)
{
    wndPicker.SelectionGet(m_dtBegin, m_dtEnd);
}

void CExtDatePickerWnd::SELECTIONNOTIFICATION::Notify(HWND hWndTarget) const
{
    if (m_bFinalSelectionChanging && m_pExternalSelectionInfo != NULL) {
        m_pExternalSelectionInfo[0] = m_dtBegin;
        m_pExternalSelectionInfo[1] = m_dtEnd;
    }
    HWND hWndParent = (m_hWndDatePicker != NULL && ::IsWindow(m_hWndDatePicker))
                          ? ::GetParent(m_hWndDatePicker)
                          : NULL;
    if (hWndTarget != NULL && ::IsWindow(hWndTarget))
        ::SendMessage(hWndTarget, g_nMsgSelectionNotification, (WPARAM)this, m_lParamCookie);
    if (m_bFinalSelectionChanging && m_bAllowFinalParentCancelMode && hWndParent != NULL &&
        ::IsWindow(hWndParent))
        ::SendMessage(hWndParent, WM_CANCELMODE, 0, 0);
}

void CExtDatePickerWnd::SendNotification(bool bFinal, bool bClose)
{
    HWND hWndTarget = GetNotificationTarget();
    if (hWndTarget == NULL)
        return;
    SELECTIONNOTIFICATION sn(*this, bFinal, bClose);
    sn.Notify(hWndTarget);
}

bool CExtDatePickerWnd::IsInPopupMenu() const
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL)
        return false;
    HWND hWndParent = ::GetParent(hWnd);
    if (hWndParent == NULL)
        return false;
    CWnd* pParent = CWnd::FromHandlePermanent(hWndParent);
    return pParent != NULL && pParent->IsKindOf(RUNTIME_CLASS(CExtPopupMenuWnd));
}

// ---- mouse ----------------------------------------------------------------------------------

bool CExtDatePickerWnd::OnMouseClick(CPoint pt, bool bDown, int nButton, UINT)
{
    HWND hWnd = GetSafeHwnd();
    if (GetStyle() & WS_TABSTOP)
        ::SetFocus(hWnd);
    if (nButton != 0)
        return false;
    int nOld = m_nTrackedPart;
    m_nTrackedPart = __TRACK_NOTHING;
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    COleDateTime dt;
    int nHit = HitTest(pt, &dt);
    switch (nHit) {
    case __EDPWH_BTN_NONE:
        if (bDown) {
            CExtMouseCaptureSink::SetCapture(hWnd);
            m_nTrackedPart = __TRACK_BTN_NONE;
            RecalcLayout(false, false, true);
        } else if (nOld == __TRACK_BTN_NONE) {
            SelectionClear(true);
            if (::IsWindow(hWnd))
                SendNotification(true, true);
        }
        return true;
    case __EDPWH_BTN_TODAY:
        if (bDown) {
            CExtMouseCaptureSink::SetCapture(hWnd);
            m_nTrackedPart = __TRACK_BTN_TODAY;
            RecalcLayout(false, false, true);
        } else if (nOld == __TRACK_BTN_TODAY) {
            SetCurrentDate(GetTodayDate(), false);
            if (EnsureVisible(m_dtCurrent, false))
                SelectionSet(m_dtCurrent, m_dtCurrent, false, false);
            if (!::IsWindow(hWnd))
                return true;
            RecalcLayout(false, false, true);
            SendNotification(true, true);
        }
        return true;
    case __EDPWH_ARROW_PREV:
    case __EDPWH_ARROW_NEXT:
        if (bDown) {
            CExtMouseCaptureSink::SetCapture(hWnd);
            m_nTrackedPart = nHit == __EDPWH_ARROW_PREV ? __TRACK_ARROW_PREV : __TRACK_ARROW_NEXT;
            OnAutoScroll(1, true);
        }
        return true;
    case __EDPWH_MONTH_CAPTION:
        if (bDown) {
            for (INT_PTR i = 0; i < m_arrMonths.GetSize(); ++i)
                if (m_arrMonths[i]->GetRect().PtInRect(pt)) {
                    RunHeaderPopup(m_arrMonths[i]);
                    break;
                }
        }
        return true;
    case __EDPWH_DAYS_AREA: {
        MONTH_INFO* pMonth = NULL;
        for (INT_PTR i = 0; i < m_arrMonths.GetSize() && pMonth == NULL; ++i)
            if (m_arrMonths[i]->GetRect().PtInRect(pt))
                pMonth = m_arrMonths[i];
        if (pMonth == NULL || !IsValidDate(dt))
            return true;
        if (dt.GetMonth() != pMonth->GetMonth() &&
            (m_dwDatePickerStyle & __EDPWS_SHOW_NON_MONTH_DAYS) == 0)
            return true;
        if (bDown) {
            m_nTrackedPart = __TRACK_DAYS;
            CExtMouseCaptureSink::SetCapture(hWnd);
            SelectionSet(dt, dt, false, true);
        } else if (nOld == __TRACK_DAYS) {
            EnsureVisible(dt, false);
            SelectionSet(m_dtSelBegin, m_dtSelEnd, false, false);
            if (!::IsWindow(hWnd))
                return true;
            RecalcLayout(false, false, true);
            SendNotification(true, true);
        }
        return true;
    }
    case __EDPWH_NOWHERE:
        return false;
    default:
        return true;
    }
}

void CExtDatePickerWnd::OnMouseMoveImpl(CPoint pt)
{
    BYTE nOldFlags = m_nStateFlags;
    int nArea = HitTest(pt, NULL);
    if (nArea == __EDPWH_BTN_NONE)
        m_nStateFlags |= __STATE_HOVER_NONE;
    else if (nArea == __EDPWH_BTN_TODAY)
        m_nStateFlags |= __STATE_HOVER_TODAY;
    else if (nArea != __EDPWH_INNER_AREA)
        m_nStateFlags &= ~(__STATE_HOVER_NONE | __STATE_HOVER_TODAY);
    if (nArea == __EDPWH_INNER_AREA && m_nTrackedPart == __TRACK_DAYS) {
        COleDateTime dt;
        int nSub = HitTest(pt, &dt);
        if (nSub == __EDPWH_DAYS_AREA && IsValidDate(dt)) {
            MONTH_INFO* pMonth = NULL;
            for (INT_PTR i = 0; i < m_arrMonths.GetSize() && pMonth == NULL; ++i)
                if (m_arrMonths[i]->GetRect().PtInRect(pt))
                    pMonth = m_arrMonths[i];
            if (pMonth != NULL && (dt.GetMonth() == pMonth->GetMonth() ||
                                   (m_dwDatePickerStyle & __EDPWS_SHOW_NON_MONTH_DAYS))) {
                if (m_dwDatePickerStyle & __EDPWS_MULTIPLE_SELECTION)
                    SelectionSet(m_dtSelBegin, dt, false, true);
                else
                    SelectionSet(dt, dt, false, true);
            }
        }
    }
    if (!::IsWindow(GetSafeHwnd()))
        return;
    bool bChanged = ((nOldFlags ^ m_nStateFlags) & (__STATE_HOVER_NONE | __STATE_HOVER_TODAY)) != 0;
    RecalcLayout(false, false, bChanged);
}

void CExtDatePickerWnd::OnAutoScroll(int nMonths, bool bStartTimer)
{
    if (!IsValidDate(m_dtCurrent))
        return;
    int m = m_dtCurrent.GetMonth(), y = m_dtCurrent.GetYear();
    if (m_nTrackedPart == __TRACK_ARROW_PREV) {
        for (int i = 0; i < nMonths; ++i) {
            int m2 = m, y2 = y;
            CExtMonthGrid::AdvanceMonth(m2, y2, -1);
            if (y2 < CExtMonthGrid::MIN_YEAR)
                break;
            m = m2;
            y = y2;
        }
    } else if (m_nTrackedPart == __TRACK_ARROW_NEXT) {
        CExtMonthGrid::AdvanceMonth(m, y, nMonths);
        int mLast = m, yLast = y;
        CExtMonthGrid::AdvanceMonth(mLast, yLast, m_sizeCurrent.cx * m_sizeCurrent.cy - 1);
        if (yLast > CExtMonthGrid::MAX_YEAR)
            return;
    } else
        return;
    SetCurrentDate(COleDateTime(y, m, 1, 0, 0, 0), true);
    if (bStartTimer && ::IsWindow(GetSafeHwnd())) {
        ::Sleep(150);
        SetTimer(1, 150, NULL);
    }
}

void CExtDatePickerWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != 1) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (m_nTrackedPart == __TRACK_NOTHING)
        KillTimer(1);
    else
        OnAutoScroll(1, false);
}

// ---- keyboard -------------------------------------------------------------------------------

void CExtDatePickerWnd::HandleKeyDown(UINT nChar, UINT, UINT)
{
    HWND hWnd = GetSafeHwnd();
    bool bInPopup = IsInPopupMenu();
    COleDateTime dtBegin = m_dtSelBegin, dtEnd = m_dtSelEnd;
    if (bInPopup) {
        bool bBeginNull = dtBegin.GetStatus() == COleDateTime::null;
        bool bEndNull = dtEnd.GetStatus() == COleDateTime::null;
        if (bBeginNull || bEndNull) {
            COleDateTime dtToday = DateOnly(GetTodayDate());
            if (bBeginNull)
                dtBegin = dtToday;
            if (bEndNull)
                dtEnd = dtToday;
        }
    }
    bool bShift = (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    bool bExtend = (m_dwDatePickerStyle & __EDPWS_MULTIPLE_SELECTION) && bShift &&
                   (::GetAsyncKeyState(VK_CONTROL) & 0x8000) == 0 &&
                   (::GetAsyncKeyState(VK_MENU) & 0x8000) == 0;
    int nDays = 0;
    switch (nChar) {
    case VK_LEFT: nDays = -1; break;
    case VK_RIGHT: nDays = 1; break;
    case VK_UP: nDays = -7; break;
    case VK_DOWN: nDays = 7; break;
    case VK_TAB:
        if (GetStyle() & WS_TABSTOP)
            ::SendMessage(::GetParent(hWnd), WM_NEXTDLGCTL, bShift ? 1 : 0, 0);
        return;
    case VK_RETURN:
        if (m_pExternalSelectionInfo != NULL) {
            m_pExternalSelectionInfo[0] = m_dtSelBegin;
            m_pExternalSelectionInfo[1] = m_dtSelEnd;
        } else
            bInPopup = false;
        ::PostMessage(::GetParent(hWnd), WM_CANCELMODE, 0, 0);
        break;
    case VK_ESCAPE:
        if (!bInPopup)
            return;
        ::PostMessage(::GetParent(hWnd), WM_CANCELMODE, 0, 0);
        break;
    default:
        return;
    }
    if (nDays != 0 && IsValidDate(dtEnd)) {
        COleDateTime dtMoved = dtEnd + COleDateTimeSpan(nDays, 0, 0, 0);
        if (!IsValidDate(dtMoved))
            return;  // the range ends at 1 January 100 and 31 December 9999
        dtEnd = dtMoved;
        if (!bExtend)
            dtBegin = dtEnd;
    }
    if (!IsValidDate(dtEnd))
        return;
    SelectionSet(dtBegin, dtEnd, false, false);
    if (!::IsWindow(hWnd))
        return;
    EnsureVisible(dtEnd, false);
    RecalcLayout(false, false, true);
    SendNotification(!bInPopup, true);
}

// ---- window procedure -----------------------------------------------------------------------

BOOL CExtDatePickerWnd::OnEraseBkgnd(CDC*) { return TRUE; }

LRESULT CExtDatePickerWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_nMsgExtControlInputRetranslate) {
        CExtPopupControlInputRecord* pRec = (CExtPopupControlInputRecord*)wParam;
        if (pRec == NULL || pRec->m_eKind != CExtPopupControlInputRecord::__EIK_KEY)
            return 0;
        HandleKeyDown(pRec->m_nChar, pRec->m_nRepCnt, pRec->m_nFlags);
        if (pRec->m_pbNoEat != NULL)
            *pRec->m_pbNoEat = false;
        return 1;
    }
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP: {
        bool bDown = message != WM_LBUTTONUP && message != WM_RBUTTONUP && message != WM_MBUTTONUP;
        int nButton = (message >= WM_LBUTTONDOWN && message <= WM_LBUTTONDBLCLK) ? 0
                      : (message >= WM_RBUTTONDOWN && message <= WM_RBUTTONDBLCLK) ? 1 : 2;
        CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
        if (OnMouseClick(pt, bDown, nButton, (UINT)wParam))
            return 0;
        break;
    }
    case WM_MOUSEMOVE:
        OnMouseMoveImpl(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        return 0;
    case WM_KEYDOWN:
        HandleKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CANCELMODE: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        if (m_nStateFlags & __STATE_IN_CANCEL_MODE)
            return lr;
        m_nStateFlags |= __STATE_IN_CANCEL_MODE;
        if (m_nTrackedPart != __TRACK_NOTHING) {
            m_nTrackedPart = __TRACK_NOTHING;
            RecalcLayout(false, false, true);
        }
        if (::GetCapture() == GetSafeHwnd())
            ::ReleaseCapture();
        m_nStateFlags &= ~__STATE_IN_CANCEL_MODE;
        return lr;
    }
    case WM_CAPTURECHANGED: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        if (m_nTrackedPart != __TRACK_NOTHING && ::GetCapture() != GetSafeHwnd())
            SendMessage(WM_CANCELMODE);
        return lr;
    }
    case WM_GETDLGCODE:
        if (GetStyle() & WS_TABSTOP)
            return DLGC_WANTARROWS;
        break;
    case WM_MOUSEACTIVATE:
        if ((GetStyle() & WS_TABSTOP) == 0)
            return MA_NOACTIVATE;
        break;
    case WM_KILLFOCUS: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        if (GetStyle() & WS_TABSTOP)
            SendMessage(WM_CANCELMODE);
        return lr;
    }
    case WM_SIZE:
    case WM_TIMECHANGE: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        RecalcLayout(true, true, true);
        return lr;
    }
    case WM_SYSCOLORCHANGE: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        g_CurrentPaintManager.RelaySystemChange(this, GetPaintManager(), message, wParam, lParam);
        RecalcLayout(true, true, true);
        return lr;
    }
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_THEMECHANGED: {
        MeasureMetrics();
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        g_CurrentPaintManager.RelaySystemChange(this, GetPaintManager(), message, wParam, lParam);
        RecalcLayout(true, true, true);
        return lr;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
