#include "toolkit/pickers/date_time_wnd.h"

#include <stdlib.h>

#include <algorithm>

#include "toolkit/core/resource_manager.h"
#include "toolkit/pickers/popup_control_menu.h"

const UINT CExtDateTimeWnd::g_nMsgChangingNotification =
    ::RegisterWindowMessageA("CExtDateTimeWnd::g_nMsgChangingNotification");

IMPLEMENT_DYNCREATE(CExtDateTimeWnd, CExtDurationWnd)

namespace {
bool IsValid(const COleDateTime& dt) { return dt.GetStatus() == COleDateTime::valid; }
}

CExtDateTimeWnd::CExtDateTimeWnd() : m_nMode(__EDTM_ALL), m_nHourFormat(__EDTF_LOCALE), m_lResultChanged(0)
{
    m_dt = COleDateTime::GetCurrentTime();
    SetStatus(COleDateTime::null);
}

// ---- fields ---------------------------------------------------------------------------------

bool CExtDateTimeWnd::IsDropDownButtonShown() const { return (m_nFlags & __EDWF_DROPDOWN) != 0; }
CExtDurationWnd::ITEM_INFO* CExtDateTimeWnd::ItemAddYear(LPCTSTR p, LPCTSTR s) { return AddField(__EIT_YEAR, p, s); }
CExtDurationWnd::ITEM_INFO* CExtDateTimeWnd::ItemAddMonth(LPCTSTR p, LPCTSTR s) { return AddField(__EIT_MONTH, p, s); }
CExtDurationWnd::ITEM_INFO* CExtDateTimeWnd::ItemAddDesignator(LPCTSTR p, LPCTSTR s)
{
    return AddField(__EIT_DESIGNATOR, p, s);
}

void CExtDateTimeWnd::BuildDefaultItems()
{
    CString sPos = GetDesignatorPosition(), t = GetTimeSeparator(), d = GetDateSeparator();
    TCHAR szOrder[50];
    ::memset(szOrder, 0, sizeof(szOrder));
    g_CurrentResourceManager->GetLocaleInfo(LOCALE_IDATE, szOrder, 50);
    szOrder[49] = 0;
    TCHAR chOrder = szOrder[0] != 0 ? szOrder[0] : _T('0');
    if (chOrder == _T('1')) {
        ItemAddDay();
        ItemAddMonth(d);
        ItemAddYear(d);
    } else if (chOrder == _T('2')) {
        ItemAddYear();
        ItemAddMonth(d);
        ItemAddDay(d);
    } else {
        ItemAddMonth();
        ItemAddDay(d);
        ItemAddYear(d);
    }
    bool bDesignatorFirst = sPos == _T("1");
    if (bDesignatorFirst)
        ItemAddDesignator(_T(" "));
    ItemAddHour(_T(" "));
    ItemAddMinute(t);
    ItemAddSecond(t);
    if (!bDesignatorFirst)
        ItemAddDesignator(_T(" "));
}

CString CExtDateTimeWnd::GetItemText(const ITEM_INFO* pItem) const
{
    CString s;
    if (pItem == NULL)
        return s;
    int v = pItem->m_nValue;
    switch (pItem->m_nKind) {
    case __EIT_LITERAL: s.Format(_T("%s"), (LPCTSTR)pItem->m_sText); break;
    case __EIT_YEAR:
        if (GetCenturyFormat() == _T("0"))
            s.Format(_T("%02d"), v % 100);
        else
            s.Format(_T("%04d"), v);
        break;
    case __EIT_MONTH: s.Format(GetMonthLeadingZero() == _T("1") ? _T("%02d") : _T("%d"), v); break;
    case __EIT_DAY: s.Format(GetDayLeadingZero() == _T("1") ? _T("%02d") : _T("%d"), v); break;
    case __EIT_HOUR: s.Format(GetTimeLeadingZero() == _T("1") ? _T("%02d") : _T("%d"), v); break;
    case __EIT_MINUTE:
    case __EIT_SECOND: s.Format(_T("%02d"), v); break;
    case __EIT_DESIGNATOR:
        if (!Is24HourFormat())
            s = m_dt.GetHour() >= 12 ? GetPmDesignator() : GetAmDesignator();
        break;
    default: break;
    }
    return s;
}

CString CExtDateTimeWnd::GetCopyText(const ITEM_INFO* pItem) const
{
    CString s = GetItemText(pItem);
    s.Remove(_T(' '));
    return s;
}

bool CExtDateTimeWnd::Is24HourFormat() const
{
    if (m_nHourFormat == __EDTF_12H)
        return false;
    if (m_nHourFormat == __EDTF_24H)
        return true;
    TCHAR szBuf[10];
    ::memset(szBuf, 0, sizeof(szBuf));
    g_CurrentResourceManager->GetLocaleInfo(LOCALE_ITIME, szBuf, 10);
    szBuf[9] = 0;
    return CString(szBuf) != _T("0");
}

void CExtDateTimeWnd::PrepareItems()
{
    bool bShow = !Is24HourFormat() && (m_nMode == __EDTM_ALL || m_nMode == __EDTM_TIME);
    ItemShow(__EIT_DESIGNATOR, bShow, true);
}

bool CExtDateTimeWnd::UpdateItemsFromValue(bool bRedraw)
{
    ITEM_INFO* pFields[8] = {NULL};
    for (int k = __EIT_YEAR; k <= __EIT_DESIGNATOR; ++k)
        if ((pFields[k] = FindItemByKind(k)) == NULL)
            return false;
    pFields[__EIT_YEAR]->m_nValue = m_dt.GetYear();
    pFields[__EIT_MONTH]->m_nValue = m_dt.GetMonth();
    pFields[__EIT_DAY]->m_nValue = m_dt.GetDay();
    int nHour = m_dt.GetHour();
    if (!Is24HourFormat())
        nHour = nHour == 0 ? 12 : (nHour > 12 ? nHour - 12 : nHour);
    pFields[__EIT_HOUR]->m_nValue = nHour;
    pFields[__EIT_MINUTE]->m_nValue = m_dt.GetMinute();
    pFields[__EIT_SECOND]->m_nValue = m_dt.GetSecond();
    m_nStatus = m_dt.GetStatus();
    UpdateDurationWnd(true, bRedraw);
    return true;
}

void CExtDateTimeWnd::SetStatus(int nStatus)
{
    m_dt.SetStatus(COleDateTime::DateTimeStatus(nStatus));
    m_nStatus = nStatus;
    UpdateDurationWnd(true, true);
}

int CExtDateTimeWnd::GetStatus() const { return m_dt.GetStatus(); }

bool CExtDateTimeWnd::Initialize()
{
    bool bAlready = (m_nFlags & __EDWF_INITIALIZED) != 0;
    if (!CExtDurationWnd::Initialize())
        return false;
    if (!bAlready) {
        // The fields appear only once the window is initialised; fill them from the value.
        BYTE nOld = m_nFlags;
        m_nFlags |= __EDWF_INITIALIZED;
        UpdateItemsFromValue(true);
        UpdateDurationWnd(true, false);
        m_nFlags = nOld;
    }
    return true;
}

void CExtDateTimeWnd::SetMode(int nMode)
{
    m_nMode = nMode;
    bool bDate = nMode == __EDTM_ALL || nMode == __EDTM_DATE;
    bool bTime = nMode == __EDTM_ALL || nMode == __EDTM_TIME;
    for (int k = __EIT_YEAR; k <= __EIT_DAY; ++k)
        ItemShow(k, bDate, false);
    for (int k = __EIT_HOUR; k <= __EIT_DESIGNATOR; ++k)
        ItemShow(k, bTime, false);
    UpdateDurationWnd(true, true);
}

void CExtDateTimeWnd::SetFormatValue(int nFormat)
{
    m_nHourFormat = nFormat;
    UpdateItemsFromValue(true);
    UpdateDurationWnd(true, true);
}

int CExtDateTimeWnd::DaysInMonth(int nYear, int nMonth)
{
    // The true calendar of every year in the range, year 100 included (28 days in its
    // February), rather than a neighbouring year's.
    if (nYear < 100 || nYear > 9999)
        return 0;
    return COleDateTime::DaysInMonth(nYear, nMonth);
}

// ---- value and notifications ----------------------------------------------------------------

bool CExtDateTimeWnd::OnDateTimeChanging(const COleDateTime& dtOld, const COleDateTime& dtNew)
{
    HWND hWnd = GetNotifyReceiver();
    if (hWnd == NULL)
        return true;
    CHANGING_NOTIFICATION data = {false, m_lParamCookie, dtOld, dtNew};
    return (LONG_PTR)::SendMessage(hWnd, g_nMsgChangingNotification, (WPARAM)&data, m_lParamCookie) >= 0;
}

void CExtDateTimeWnd::OnDateTimeChanged(const COleDateTime& dtOld, const COleDateTime& dtNew)
{
    m_lResultChanged = 0;
    HWND hWnd = GetNotifyReceiver();
    if (hWnd == NULL)
        return;
    CHANGING_NOTIFICATION data = {true, m_lParamCookie, dtOld, dtNew};
    m_lResultChanged = ::SendMessage(hWnd, g_nMsgChangingNotification, (WPARAM)&data, m_lParamCookie);
}

bool CExtDateTimeWnd::SetDateTime(const COleDateTime& dt, bool, bool bRedraw)
{
    COleDateTime dtOld = m_dt;
    if (!OnDateTimeChanging(dtOld, dt))
        return false;
    m_dt = dt;
    UpdateItemsFromValue(bRedraw);
    OnDateTimeChanged(dtOld, dt);
    return (LONG_PTR)m_lResultChanged >= 0;
}

void CExtDateTimeWnd::SetDateTimeParts(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond,
                                       bool, bool bRedraw)
{
    if (nYear < 101 || nYear >= 9999)
        nHour = nMinute = nSecond = 0;
    COleDateTime dtNew(nYear, nMonth, nDay, nHour, nMinute, nSecond);
    COleDateTime dtOld = m_dt;
    if (!OnDateTimeChanging(dtOld, dtNew))
        return;
    if (!IsValid(dtNew))
        return;
    m_dt = dtNew;
    UpdateItemsFromValue(bRedraw);
    OnDateTimeChanged(dtOld, m_dt);
}

CExtDateTimeWnd::PARTS CExtDateTimeWnd::GetParts() const
{
    PARTS p = {-1, -1, -1, -1, -1, -1};
    if (IsValid(m_dt)) {
        p.y = m_dt.GetYear();
        p.mo = m_dt.GetMonth();
        p.d = m_dt.GetDay();
        p.h = m_dt.GetHour();
        p.mi = m_dt.GetMinute();
        p.s = m_dt.GetSecond();
    }
    return p;
}

void CExtDateTimeWnd::LowerDay(PARTS& p)
{
    int nDays = DaysInMonth(p.y, p.mo);
    if (nDays > 0 && p.d > nDays)
        p.d = nDays;
}

// ---- typing ---------------------------------------------------------------------------------

void CExtDateTimeWnd::TypeDigit(int nDigit)
{
    ITEM_INFO* pItem = m_pSelectedItem;
    if (pItem == NULL || nDigit < 0 || nDigit > 9)
        return;
    long long n = pItem == m_pTypingItem ? (long long)pItem->m_nValue * 10 + nDigit : nDigit;
    PARTS p = GetParts();
    bool b12 = !Is24HourFormat();
    switch (pItem->m_nKind) {
    case __EIT_YEAR:
        if (n < 0 || n > 9999)
            n = nDigit;
        pItem->m_nValue = int(n);
        if (n >= 100) {
            p.y = int(n);
            LowerDay(p);
        }
        break;
    case __EIT_MONTH:
        if (n < 0 || n > 12)
            n = nDigit;
        pItem->m_nValue = int(n);
        if (n >= 1) {
            p.mo = int(n);
            LowerDay(p);
        }
        break;
    case __EIT_DAY: {
        int m = DaysInMonth(p.y, p.mo);
        if (n < 0 || n > m)
            n = nDigit;
        if (n > m)
            n = m;
        pItem->m_nValue = int(n);
        if (n >= 1)
            p.d = int(n);
        break;
    }
    case __EIT_HOUR:
        if (n < 0 || n > 23)
            n = nDigit;
        pItem->m_nValue = int(n);
        if (b12 && n > 12)
            pItem->m_nValue = int(n - 12);
        if (b12 && p.h >= 12 && n < 12)
            p.h = int(n + 12);
        else
            p.h = int(n);
        break;
    case __EIT_MINUTE:
    case __EIT_SECOND:
        if (n < 0 || n > 59)
            n = nDigit;
        pItem->m_nValue = int(n);
        (pItem->m_nKind == __EIT_MINUTE ? p.mi : p.s) = int(n);
        break;
    default:
        break;
    }
    m_pTypingItem = pItem;
    COleDateTime dtNew(p.y, p.mo, p.d, p.h, p.mi, p.s);
    PARTS q = GetParts();
    bool bDiffers = p.y != q.y || p.mo != q.mo || p.d != q.d || p.h != q.h || p.mi != q.mi || p.s != q.s;
    if (IsValid(dtNew) && bDiffers)
        SetDateTimeParts(p.y, p.mo, p.d, p.h, p.mi, p.s, false, true);
    UpdateDurationWnd(false, true);
}

void CExtDateTimeWnd::OnTypingFinished()
{
    ITEM_INFO* pItem = m_pTypingItem;
    if (pItem == NULL || pItem->m_nKind != __EIT_YEAR || pItem->m_nValue >= 100 || pItem->m_nValue < 0)
        return;
    PARTS p = GetParts();
    p.y = pItem->m_nValue < 30 ? 2000 + pItem->m_nValue : 1900 + pItem->m_nValue;
    m_pTypingItem = NULL;
    if (IsValid(COleDateTime(p.y, p.mo, p.d, p.h, p.mi, p.s)))
        SetParts(p);
}

void CExtDateTimeWnd::OnItemSelected() { UpdateItemsFromValue(true); }

// ---- stepping -------------------------------------------------------------------------------

void CExtDateTimeWnd::StepSelectedItem(int nDelta)
{
    ITEM_INFO* pItem = m_pSelectedItem;
    if (pItem == NULL)
        return;
    bool bCarry = IsCarryMode();
    PARTS p = GetParts();
    auto wrap = [](int v, int lo, int hi, bool& bOver, bool& bUnder) {
        bOver = v > hi;
        bUnder = v < lo;
        return bOver ? lo : (bUnder ? hi : v);
    };
    bool bOver = false, bUnder = false;
    switch (pItem->m_nKind) {
    case __EIT_YEAR:
        p.y = wrap(pItem->m_nValue + nDelta, 100, 9999, bOver, bUnder);
        LowerDay(p);
        break;
    case __EIT_MONTH:
        p.mo = wrap(p.mo + nDelta, 1, 12, bOver, bUnder);
        if (bCarry && (bOver || bUnder))
            p.y += bOver ? 1 : -1;
        LowerDay(p);
        break;
    case __EIT_DAY:
        if (bCarry) {
            if (IsValid(m_dt))
                SetDateTime(m_dt + COleDateTimeSpan(nDelta, 0, 0, 0), false, true);
            UpdateDurationWnd(true, true);
            return;
        }
        p.d = wrap(pItem->m_nValue + nDelta, 1, DaysInMonth(p.y, p.mo), bOver, bUnder);
        break;
    case __EIT_HOUR:
    case __EIT_MINUTE:
    case __EIT_SECOND: {
        int& v = pItem->m_nKind == __EIT_HOUR ? p.h : (pItem->m_nKind == __EIT_MINUTE ? p.mi : p.s);
        v = wrap(v + nDelta, 0, pItem->m_nKind == __EIT_HOUR ? 23 : 59, bOver, bUnder);
        if (bCarry && (bOver || bUnder) && IsValid(m_dt)) {
            // The carry runs into the next larger unit through the date type.
            double dUnit = pItem->m_nKind == __EIT_HOUR ? 1.0 : (pItem->m_nKind == __EIT_MINUTE ? 1.0 / 24 : 1.0 / 1440);
            COleDateTime dtBase(p.y, p.mo, p.d, p.h, p.mi, p.s);
            if (IsValid(dtBase)) {
                COleDateTime dtNew = dtBase + COleDateTimeSpan(bOver ? dUnit : -dUnit);
                SetDateTimeParts(dtNew.GetYear(), dtNew.GetMonth(), dtNew.GetDay(), dtNew.GetHour(),
                                 dtNew.GetMinute(), dtNew.GetSecond(), false, true);
                UpdateDurationWnd(true, true);
                return;
            }
        }
        break;
    }
    case __EIT_DESIGNATOR:
        if (Is24HourFormat())
            return;
        p.h = p.h < 12 ? p.h + 12 : p.h - 12;
        break;
    default:
        return;
    }
    SetParts(p);
    UpdateDurationWnd(true, true);
}

// ---- keys and clipboard ---------------------------------------------------------------------

void CExtDateTimeWnd::SetFieldToLimit(bool bMaximum)
{
    ITEM_INFO* pItem = m_pSelectedItem;
    if (pItem == NULL)
        return;
    PARTS p = GetParts();
    switch (pItem->m_nKind) {
    case __EIT_YEAR: p.y = bMaximum ? 9999 : 100; break;
    case __EIT_MONTH:
        p.mo = bMaximum ? 12 : 1;
        LowerDay(p);
        break;
    case __EIT_DAY: p.d = bMaximum ? DaysInMonth(p.y, p.mo) : 1; break;
    case __EIT_HOUR: p.h = bMaximum ? 23 : 0; break;
    case __EIT_MINUTE: p.mi = bMaximum ? 59 : 0; break;
    case __EIT_SECOND: p.s = bMaximum ? 59 : 0; break;
    case __EIT_DESIGNATOR:
        if (Is24HourFormat())
            return;
        if (!bMaximum && p.h >= 12)
            p.h -= 12;
        else if (bMaximum && p.h >= 0 && p.h < 12)
            p.h += 12;
        break;
    default: return;
    }
    SetParts(p);
}

void CExtDateTimeWnd::OnDesignatorKey(bool bAm)
{
    PARTS p = GetParts();
    if (bAm && p.h >= 12)
        p.h -= 12;
    else if (!bAm && p.h >= 0 && p.h < 12)
        p.h += 12;
    SetParts(p);
}

void CExtDateTimeWnd::PasteDateTime()
{
    ITEM_INFO* pItem = m_pSelectedItem;
    if (pItem == NULL || !::OpenClipboard(m_hWnd))
        return;
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    const char* pText = hData != NULL ? (const char*)::GlobalLock(hData) : NULL;
    if (pText == NULL) {
        ::CloseClipboard();
        return;
    }
    CString sText(pText);
    ::GlobalUnlock(hData);
    // Clamped in 64 bits so that a long run of digits clamps instead of wrapping round.
    long long n = ::_atoi64(sText);
    auto clamp = [](long long v, int lo, int hi) { return int(v < lo ? lo : (v > hi ? hi : v)); };
    PARTS p = GetParts(), q = p;
    switch (pItem->m_nKind) {
    case __EIT_YEAR:
        p.y = clamp(n, 100, 9999);
        LowerDay(p);
        break;
    case __EIT_MONTH:
        p.mo = clamp(n, 1, 12);
        LowerDay(p);
        break;
    case __EIT_DAY: p.d = clamp(n, 1, std::max(1, DaysInMonth(p.y, p.mo))); break;
    case __EIT_HOUR: p.h = clamp(n, 0, 23); break;
    case __EIT_MINUTE: p.mi = clamp(n, 0, 59); break;
    case __EIT_SECOND: p.s = clamp(n, 0, 59); break;
    case __EIT_DESIGNATOR:
        if (!Is24HourFormat()) {
            if (sText.CompareNoCase(GetAmDesignator()) == 0) {
                if (p.h >= 12)
                    p.h -= 12;
            } else if (sText.CompareNoCase(GetPmDesignator()) == 0 && p.h >= 0 && p.h < 12)
                p.h += 12;
        }
        break;
    default: break;
    }
    if (p.y != q.y || p.mo != q.mo || p.d != q.d || p.h != q.h || p.mi != q.mi || p.s != q.s)
        SetParts(p);
    ::CloseClipboard();
}

LRESULT CExtDateTimeWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CExtPopupInplaceDatePicker::g_nMsgPopupDatePickerInitContent) {
        CExtDatePickerWnd* pPicker = reinterpret_cast<CExtDatePickerWnd*>(wParam);
        if (pPicker != NULL && GetStatus() == 0) {
            pPicker->SelectionSet(m_dt, m_dt, false, false);
            pPicker->EnsureVisible(m_dt, false);
        }
        return 0;
    }
    if (message == CExtDatePickerWnd::g_nMsgSelectionNotification) {
        const CExtDatePickerWnd::SELECTIONNOTIFICATION* pSN =
            reinterpret_cast<const CExtDatePickerWnd::SELECTIONNOTIFICATION*>(wParam);
        if (pSN == NULL || !pSN->m_bFinalSelectionChanging)
            return 0;
        if (IsValid(pSN->m_dtBegin) && GetStatus() == 0)
            SetDateTimeParts(pSN->m_dtBegin.GetYear(), pSN->m_dtBegin.GetMonth(), pSN->m_dtBegin.GetDay(),
                             m_dt.GetHour(), m_dt.GetMinute(), m_dt.GetSecond(), true, true);
        else
            SetDateTime(pSN->m_dtBegin, true, true);
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == __DROPDOWN_ID) {
            DropDown();
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        LRESULT lr = CExtDurationWnd::WindowProc(message, wParam, lParam);
        UpdateItemsFromValue(true);
        return lr;
    }
    case WM_KEYDOWN: {
        UINT nChar = (UINT)wParam;
        bool bCtrl = (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
        bool bShift = (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
        switch (nChar) {
        case VK_RETURN:
            if (GetStatus() != 0)
                SetDateTime(COleDateTime::GetCurrentTime(), true, true);
            UpdateDurationWnd(true, true);
            return 0;
        case VK_HOME:
        case VK_END:
            SetFieldToLimit(nChar == VK_END);
            UpdateDurationWnd(true, true);
            return 0;
        case 'C':
        case 'V':
        case VK_INSERT:
            if (bCtrl && (nChar == 'C' || nChar == VK_INSERT))
                CopySelectedItem();
            else if ((bCtrl && nChar == 'V') || (!bCtrl && bShift && nChar == VK_INSERT))
                PasteDateTime();
            UpdateDurationWnd(true, true);
            return 0;
        default:
            break;
        }
        if (!Is24HourFormat()) {
            CString sAm = GetAmDesignator(), sPm = GetPmDesignator();
            if (!sAm.IsEmpty() && (TCHAR)nChar == sAm[0]) {
                OnDesignatorKey(true);
                UpdateDurationWnd(true, true);
                return 0;
            }
            if (!sPm.IsEmpty() && (TCHAR)nChar == sPm[0]) {
                OnDesignatorKey(false);
                UpdateDurationWnd(true, true);
                return 0;
            }
        }
        break;
    }
    default:
        break;
    }
    return CExtDurationWnd::WindowProc(message, wParam, lParam);
}

// ---- drop-down calendar ---------------------------------------------------------------------

bool CExtDateTimeWnd::DropDown()
{
    UpdateItemsFromValue(true);
    CExtPopupDatePickerMenuWnd* pPopup =
        new CExtPopupDatePickerMenuWnd(0, 1, 1, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0x1E17);
    if (!pPopup->CreatePopupMenu(m_hWnd)) {
        delete pPopup;
        return false;
    }
    pPopup->m_dwDatePickerStyle = 0x1E1F;
    CRect rcClient;
    GetClientRect(&rcClient);
    CPoint pt(rcClient.right, rcClient.bottom);
    ClientToScreen(&pt);
    pt.x += pPopup->GetShadowSize();
    CRect rcExclude(pt, pt);
    if (!pPopup->TrackPopupMenu(3, pt.x, pt.y, &rcExclude, this, NULL, NULL, true)) {
        delete pPopup;
        return false;
    }
    return true;
}
