#include "toolkit/pickers/duration_wnd.h"

#include <algorithm>

#include "toolkit/core/cmd_manager.h"
#include "toolkit/pickers/picker_wnd_class.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/dialogs/memory_dc.h"

#define DURATION_CLASS_NAME _T("Kestrix-DurationWnd")

const UINT CExtDurationWnd::g_nMsgChangingNotification =
    ::RegisterWindowMessageA("CExtDurationWnd::g_nMsgChangingNotification");

IMPLEMENT_DYNCREATE(CExtDurationWnd, CWnd)

CExtDurationWnd::ITEM_INFO::ITEM_INFO(int nKind, LPCTSTR sText, bool bPrefix)
    : m_nKind(nKind), m_sText(sText != NULL ? sText : _T("")), m_nValue(0),
      m_nFlags(BYTE(__EIF_VISIBLE | (bPrefix ? __EIF_PREFIX : 0)))
{
    ::SetRectEmpty(&m_rcRect);
}

// ---- construction ---------------------------------------------------------------------------

CExtDurationWnd::CExtDurationWnd()
    : m_lParamCookie(0), m_hWndNotificationReceiver(NULL), m_bAutoDeleteWindow(false),
      m_nFlags(__EDWF_SPIN | __EDWF_DROPDOWN), m_pSelectedItem(NULL), m_pTypingItem(NULL),
      m_nTotalSeconds(0), m_clrBackground(COLORREF(-1)), m_clrText(COLORREF(-1)), m_nStatus(0),
      m_nAlignment(0)
{
    ::SetRectEmpty(&m_rcSpinButton);
    ::SetRectEmpty(&m_rcDropDownButton);
    RegisterWithHolder();
    RegisterDurationWndClass();
}

CExtDurationWnd::~CExtDurationWnd()
{
    while (m_arrItems.GetSize() > 0) {
        ITEM_INFO* pItem = m_arrItems[0];
        m_arrItems.RemoveAt(0);
        delete pItem;
    }
    UnregisterFromHolder();
}

void CExtDurationWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtDurationWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtDurationWnd::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CExtDurationWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

bool CExtDurationWnd::RegisterDurationWndClass()
{
    static bool s_bRegistered = false;
    return RegisterPickerWndClass(DURATION_CLASS_NAME, s_bRegistered);
}

bool CExtDurationWnd::Create(CWnd* pParent, const RECT& rc, UINT nID, DWORD dwStyle, CCreateContext* pContext)
{
    if (!RegisterDurationWndClass())
        return false;
    m_nFlags |= __EDWF_CREATED;
    if (!CWnd::Create(DURATION_CLASS_NAME, NULL, dwStyle, rc, pParent, nID, pContext))
        return false;
    if (!Initialize())
        AfxThrowResourceException();
    m_nFlags |= __EDWF_INITIALIZED;
    UpdateDurationWnd(true, false);
    return true;
}

void CExtDurationWnd::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    if (m_nFlags & __EDWF_CREATED)
        return;
    if (!Initialize())
        AfxThrowResourceException();
    m_nFlags |= __EDWF_INITIALIZED;
    UpdateDurationWnd(true, false);
}

BOOL CExtDurationWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style &= ~WS_BORDER;
    return CWnd::PreCreateWindow(cs);
}

void CExtDurationWnd::PostNcDestroy()
{
    if (m_bAutoDeleteWindow)
        delete this;
}

bool CExtDurationWnd::Initialize()
{
    if (m_nFlags & __EDWF_INITIALIZED)
        return true;
    BuildDefaultItems();
    CreateSpinButton();
    CreateDropDownButton();
    UpdateDurationWnd(true, false);
    return true;
}

bool CExtDurationWnd::CreateSpinButton()
{
    if (m_wndSpinButton.GetSafeHwnd() != NULL)
        return true;
    return m_wndSpinButton.Create(WS_CHILD | UDS_ALIGNRIGHT | UDS_AUTOBUDDY, CRect(0, 0, 1, 1), this,
                                  __SPIN_ID) != FALSE;
}

bool CExtDurationWnd::CreateDropDownButton()
{
    if (m_wndDropDownButton.GetSafeHwnd() != NULL)
        return true;
    return m_wndDropDownButton.Create(_T(""), WS_CHILD, CRect(0, 0, 1, 1), this, __DROPDOWN_ID) != FALSE;
}

// ---- items ----------------------------------------------------------------------------------

CExtDurationWnd::ITEM_INFO* CExtDurationWnd::AddField(int nKind, LPCTSTR sPrefix, LPCTSTR sSuffix)
{
    ITEM_INFO* pField = new ITEM_INFO(nKind);
    if (sPrefix != NULL) {
        ITEM_INFO* pLiteral = new ITEM_INFO(__EIT_LITERAL, sPrefix, true);
        m_arrItems.Add(pLiteral);
        pField->m_arrDependants.Add(pLiteral);
    }
    m_arrItems.Add(pField);
    if (sSuffix != NULL) {
        ITEM_INFO* pLiteral = new ITEM_INFO(__EIT_LITERAL, sSuffix, false);
        m_arrItems.Add(pLiteral);
        pField->m_arrDependants.Add(pLiteral);
    }
    return pField;
}

CExtDurationWnd::ITEM_INFO* CExtDurationWnd::ItemAddYear(LPCTSTR, LPCTSTR) { return NULL; }
CExtDurationWnd::ITEM_INFO* CExtDurationWnd::ItemAddMonth(LPCTSTR, LPCTSTR) { return NULL; }
CExtDurationWnd::ITEM_INFO* CExtDurationWnd::ItemAddDay(LPCTSTR p, LPCTSTR s) { return AddField(__EIT_DAY, p, s); }
CExtDurationWnd::ITEM_INFO* CExtDurationWnd::ItemAddHour(LPCTSTR p, LPCTSTR s) { return AddField(__EIT_HOUR, p, s); }
CExtDurationWnd::ITEM_INFO* CExtDurationWnd::ItemAddMinute(LPCTSTR p, LPCTSTR s) { return AddField(__EIT_MINUTE, p, s); }
CExtDurationWnd::ITEM_INFO* CExtDurationWnd::ItemAddSecond(LPCTSTR p, LPCTSTR s) { return AddField(__EIT_SECOND, p, s); }
CExtDurationWnd::ITEM_INFO* CExtDurationWnd::ItemAddDesignator(LPCTSTR, LPCTSTR) { return NULL; }

void CExtDurationWnd::BuildDefaultItems()
{
    CString s = GetTimeSeparator();
    ItemAddDay(NULL, _T(" Days "));
    ItemAddHour(NULL, s);
    ItemAddMinute(NULL, s);
    ItemAddSecond(NULL, NULL);
}

CExtDurationWnd::ITEM_INFO* CExtDurationWnd::FindItemByKind(int nKind) const
{
    if (nKind == __EIT_LITERAL)
        return NULL;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (m_arrItems[i]->m_nKind == nKind)
            return m_arrItems[i];
    return NULL;
}

int CExtDurationWnd::ItemIndexOf(const ITEM_INFO* pItem) const
{
    if (pItem == NULL)
        return -1;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (m_arrItems[i] == pItem)
            return int(i);
    return -1;
}

CExtDurationWnd::ITEM_INFO* CExtDurationWnd::FindOwner(const ITEM_INFO* pLiteral) const
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        ITEM_INFO* p = m_arrItems[i];
        for (INT_PTR j = 0; j < p->m_arrDependants.GetSize(); ++j)
            if (p->m_arrDependants[j] == pLiteral)
                return p;
    }
    return NULL;
}

void CExtDurationWnd::ItemShow(int nKind, bool bShow, bool bRedraw)
{
    ITEM_INFO* pItem = FindItemByKind(nKind);
    if (pItem == NULL || pItem->IsVisible() == bShow)
        return;
    pItem->SetVisible(bShow);
    UpdateDurationWnd(true, bRedraw);
}

bool CExtDurationWnd::IsFirstVisibleItem(const ITEM_INFO* pItem) const
{
    if (pItem == NULL)
        return false;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (m_arrItems[i]->IsVisible() && m_arrItems[i]->IsField())
            return m_arrItems[i] == pItem;
    return false;
}

bool CExtDurationWnd::IsLastVisibleItem(const ITEM_INFO* pItem) const
{
    if (pItem == NULL)
        return false;
    for (INT_PTR i = m_arrItems.GetSize() - 1; i >= 0; --i)
        if (m_arrItems[i]->IsVisible() && m_arrItems[i]->IsField())
            return m_arrItems[i] == pItem;
    return false;
}

void CExtDurationWnd::PrepareItems()
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        m_arrItems[i]->m_nValue = 0;
    long long nDays = m_nTotalSeconds / 86400, nHours = (m_nTotalSeconds % 86400) / 3600,
              nMinutes = (m_nTotalSeconds % 3600) / 60, nSeconds = m_nTotalSeconds % 60;
    ITEM_INFO* p = FindItemByKind(__EIT_DAY);
    if (p != NULL && p->IsVisible()) {
        p->m_nValue = int(nDays);
        nDays = 0;
    }
    p = FindItemByKind(__EIT_HOUR);
    if (p != NULL && p->IsVisible()) {
        p->m_nValue = int(nHours + 24 * nDays);
        nDays = nHours = 0;
    }
    p = FindItemByKind(__EIT_MINUTE);
    if (p != NULL && p->IsVisible()) {
        p->m_nValue = int(nMinutes + 60 * (nHours + 24 * nDays));
        nDays = nHours = nMinutes = 0;
    }
    p = FindItemByKind(__EIT_SECOND);
    if (p != NULL && p->IsVisible())
        p->m_nValue = int(nSeconds + 60 * (nMinutes + 60 * (nHours + 24 * nDays)));
}

// ---- status, colours, locale ----------------------------------------------------------------

void CExtDurationWnd::SetStatus(int nStatus)
{
    m_nStatus = nStatus;
    UpdateDurationWnd(true, true);
}

int CExtDurationWnd::GetStatus() const { return m_nStatus; }
bool CExtDurationWnd::IsSpinButtonShown() const { return (m_nFlags & __EDWF_SPIN) != 0; }
bool CExtDurationWnd::IsDropDownButtonShown() const { return false; }

void CExtDurationWnd::SetBkColor(COLORREF clr)
{
    m_clrBackground = clr;
    UpdateDurationWnd(false, true);
}

void CExtDurationWnd::SetTextColor(COLORREF clr)
{
    m_clrText = clr;
    UpdateDurationWnd(false, true);
}

void CExtDurationWnd::SetAlignment(int nAlignment)
{
    m_nAlignment = nAlignment;
    UpdateDurationWnd(true, true);
}

CString CExtDurationWnd::ReadLocale(LCTYPE lcType) const
{
    TCHAR szBuf[10];
    ::memset(szBuf, 0, sizeof(szBuf));
    g_CurrentResourceManager->GetLocaleInfo(lcType, szBuf, 10);
    szBuf[9] = 0;
    return CString(szBuf);
}

CString CExtDurationWnd::GetTimeSeparator() const { return ReadLocale(LOCALE_STIME); }
CString CExtDurationWnd::GetDateSeparator() const { return ReadLocale(LOCALE_SDATE); }
CString CExtDurationWnd::GetTimeLeadingZero() const { return ReadLocale(LOCALE_ITLZERO); }
CString CExtDurationWnd::GetDayLeadingZero() const { return ReadLocale(LOCALE_IDAYLZERO); }
CString CExtDurationWnd::GetMonthLeadingZero() const { return ReadLocale(LOCALE_IMONLZERO); }
CString CExtDurationWnd::GetCenturyFormat() const { return ReadLocale(LOCALE_ICENTURY); }
CString CExtDurationWnd::GetAmDesignator() const { return ReadLocale(LOCALE_S1159); }
CString CExtDurationWnd::GetPmDesignator() const { return ReadLocale(LOCALE_S2359); }
CString CExtDurationWnd::GetDesignatorPosition() const { return ReadLocale(LOCALE_ITIMEMARKPOSN); }

CSize CExtDurationWnd::GetBorderSize() const { return CSize(1, 1); }
int CExtDurationWnd::GetSpinButtonWidth() const { return ::GetSystemMetrics(SM_CYVTHUMB); }
int CExtDurationWnd::GetDropDownButtonWidth() const { return ::GetSystemMetrics(SM_CYVTHUMB); }

RECT CExtDurationWnd::GetItemMargins(const ITEM_INFO* pItem) const
{
    RECT rc = {1, 1, 1, 1};
    if (pItem != NULL && !pItem->IsField())
        rc.left = rc.right = 0;
    return rc;
}

CString CExtDurationWnd::GetItemText(const ITEM_INFO* pItem) const
{
    CString s;
    if (pItem == NULL)
        return s;
    switch (pItem->m_nKind) {
    case __EIT_LITERAL: s.Format(_T("%s"), (LPCTSTR)pItem->m_sText); break;
    case __EIT_DAY: s.Format(_T("%d"), pItem->m_nValue); break;
    case __EIT_HOUR:
    case __EIT_MINUTE:
    case __EIT_SECOND: s.Format(_T("%02d"), pItem->m_nValue); break;
    default: break;
    }
    return s;
}

HFONT CExtDurationWnd::OnQueryFont()
{
    HFONT hFont = (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
    if (hFont == NULL && ::GetParent(m_hWnd) != NULL)
        hFont = (HFONT)::SendMessage(::GetParent(m_hWnd), WM_GETFONT, 0, 0);
    if (hFont == NULL)
        hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (hFont == NULL)
        hFont = (HFONT)::GetStockObject(SYSTEM_FONT);
    return hFont;
}

HWND CExtDurationWnd::GetNotifyReceiver() const
{
    if (m_hWndNotificationReceiver != NULL && ::IsWindow(m_hWndNotificationReceiver))
        return m_hWndNotificationReceiver;
    if (GetSafeHwnd() == NULL)
        return NULL;
    return ::GetParent(m_hWnd);
}

bool CExtDurationWnd::DropDown() { return false; }
void CExtDurationWnd::OnItemSelected() {}
void CExtDurationWnd::OnTypingFinished() {}

// ---- update and layout ----------------------------------------------------------------------

void CExtDurationWnd::UpdateDurationWnd(bool bRecalc, bool bRedraw)
{
    if (GetSafeHwnd() == NULL || !::IsWindow(m_hWnd) || (m_nFlags & __EDWF_INITIALIZED) == 0)
        return;
    if (bRecalc) {
        PrepareItems();
        RecalcLayout();
    }
    if (!bRedraw || (GetStyle() & WS_VISIBLE) == 0)
        return;
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    ::UpdateWindow(m_hWnd);
    CWnd* pButtons[2] = {&m_wndSpinButton, &m_wndDropDownButton};
    for (CWnd* p : pButtons)
        if (p->GetSafeHwnd() != NULL && p->IsWindowVisible())
            ::RedrawWindow(p->GetSafeHwnd(), NULL, NULL,
                           RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
}

void CExtDurationWnd::UpdateSpinButton()
{
    if (m_wndSpinButton.GetSafeHwnd() != NULL)
        m_wndSpinButton.ShowWindow((IsSpinButtonShown() && m_nStatus == 0) ? SW_SHOW : SW_HIDE);
}

void CExtDurationWnd::UpdateDropDownButton()
{
    if (m_wndDropDownButton.GetSafeHwnd() != NULL)
        m_wndDropDownButton.ShowWindow(IsDropDownButtonShown() ? SW_SHOW : SW_HIDE);
}

void CExtDurationWnd::UpdateLiteralVisibility(ITEM_INFO* pItem)
{
    if (pItem == NULL || pItem->IsField())
        return;
    ITEM_INFO* pOwner = FindOwner(pItem);
    if (pOwner == NULL)
        return;
    if (!pOwner->IsVisible()) {
        pItem->SetVisible(false);
        return;
    }
    bool bSeparator = pItem->m_sText == GetTimeSeparator() || pItem->m_sText == GetDateSeparator();
    bool bEdge = (pItem->IsPrefix() && IsFirstVisibleItem(pOwner)) ||
                 (!pItem->IsPrefix() && IsLastVisibleItem(pOwner));
    pItem->SetVisible(!(bSeparator && bEdge));
}

void CExtDurationWnd::RecalcLayout()
{
    if ((m_nFlags & __EDWF_IN_LAYOUT) || GetSafeHwnd() == NULL || !::IsWindow(m_hWnd))
        return;
    m_nFlags |= __EDWF_IN_LAYOUT;
    ::SetRectEmpty(&m_rcSpinButton);
    ::SetRectEmpty(&m_rcDropDownButton);
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        ::SetRectEmpty(&m_arrItems[i]->m_rcRect);
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        UpdateLiteralVisibility(m_arrItems[i]);
    CRect rcArea;
    GetClientRect(&rcArea);
    CSize sizeBorder = GetBorderSize();
    if (sizeBorder.cx > 0 || sizeBorder.cy > 0)
        rcArea.DeflateRect(sizeBorder.cx, sizeBorder.cy);
    bool bEnabled = IsWindowEnabled() != FALSE;
    bool bDropDown = IsDropDownButtonShown(), bSpin = IsSpinButtonShown();
    if (bDropDown) {
        ::SetRect(&m_rcDropDownButton, rcArea.right - GetDropDownButtonWidth(), rcArea.top, rcArea.right, rcArea.bottom);
        rcArea.right = m_rcDropDownButton.left;
        if (m_wndDropDownButton.GetSafeHwnd() != NULL) {
            m_wndDropDownButton.MoveWindow(&m_rcDropDownButton);
            m_wndDropDownButton.EnableWindow(bEnabled);
        }
    }
    UpdateDropDownButton();
    if (bSpin) {
        ::SetRect(&m_rcSpinButton, rcArea.right - GetSpinButtonWidth(), rcArea.top, rcArea.right, rcArea.bottom);
        rcArea.right = m_rcSpinButton.left;
        if (m_wndSpinButton.GetSafeHwnd() != NULL) {
            m_wndSpinButton.MoveWindow(&m_rcSpinButton);
            m_wndSpinButton.EnableWindow(bEnabled);
        }
    }
    UpdateSpinButton();
    rcArea.right -= (bDropDown || bSpin) ? 1 : 2;
    if (m_nStatus == 0) {
        HDC hdc = ::GetDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hdc, OnQueryFont());
        int nRight = rcArea.right;
        int nLeftmost = nRight;
        for (INT_PTR i = m_arrItems.GetSize() - 1; i >= 0; --i) {
            ITEM_INFO* p = m_arrItems[i];
            if (!p->IsVisible())
                continue;
            CString s = GetItemText(p);
            int cx = 0, cy = 0;
            if (!s.IsEmpty()) {
                RECT rcText = {0, 0, 0, 0};
                ::DrawText(hdc, s, s.GetLength(), &rcText, DT_CALCRECT | DT_SINGLELINE);
                RECT rcM = GetItemMargins(p);
                cx = rcText.right - rcText.left + rcM.left + rcM.right;
                cy = rcText.bottom - rcText.top + rcM.top + rcM.bottom;
            }
            int nTop = rcArea.top + (rcArea.Height() - cy) / 2;
            ::SetRect(&p->m_rcRect, nRight - cx, nTop, nRight, nTop + cy);
            nRight -= cx;
            nLeftmost = nRight;
        }
        ::SelectObject(hdc, hOld);
        ::ReleaseDC(NULL, hdc);
        if (m_nAlignment != 1) {
            int nShift = nLeftmost - rcArea.left - (sizeBorder.cx > 0 ? 2 : 0);
            if (m_nAlignment == 2)
                nShift = ::MulDiv(nShift, 1, 2);
            for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
                if (m_arrItems[i]->IsVisible())
                    ::OffsetRect(&m_arrItems[i]->m_rcRect, -nShift, 0);
        }
    }
    m_nFlags &= ~__EDWF_IN_LAYOUT;
}

CSize CExtDurationWnd::CalcSize()
{
    CSize s(0, 0);
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        const ITEM_INFO* p = m_arrItems[i];
        if (!p->IsVisible())
            continue;
        s.cx += p->m_rcRect.right - p->m_rcRect.left;
        s.cy = std::max(s.cy, long(p->m_rcRect.bottom - p->m_rcRect.top));
    }
    if (IsSpinButtonShown())
        s.cx += GetSpinButtonWidth();
    if (IsDropDownButtonShown())
        s.cx += GetDropDownButtonWidth();
    CSize b = GetBorderSize();
    s.cx += b.cx + 4;
    s.cy += b.cy;
    if (s.cy < 20)
        s.cy = 20;
    return s;
}

// ---- painting -------------------------------------------------------------------------------

void CExtDurationWnd::OnPaintBackground(CDC& dc, const RECT& rc)
{
    if (!dc.RectVisible(&rc))
        return;
    COLORREF clr = m_clrBackground;
    if (clr == COLORREF(-1))
        clr = IsWindowEnabled() ? GetPaintManager()->LookupColor(COLOR_WINDOW, this) : ::GetSysColor(COLOR_BTNFACE);
    dc.FillSolidRect(&rc, clr);
}

void CExtDurationWnd::OnPaintBorder(CDC& dc, const RECT& rc)
{
    GetPaintManager()->DrawSimpleFrame(dc, rc, this, 0);
}

COLORREF CExtDurationWnd::GetItemBkColor(const ITEM_INFO* pItem)
{
    if (pItem != NULL && pItem == m_pSelectedItem && ::GetFocus() == m_hWnd)
        return GetPaintManager()->LookupColor(COLOR_HIGHLIGHT, this);
    return COLORREF(-1);
}

COLORREF CExtDurationWnd::GetItemTextColor(const ITEM_INFO* pItem)
{
    if (m_clrText != COLORREF(-1))
        return m_clrText;
    CExtPaintManager* pPM = GetPaintManager();
    if (!IsWindowEnabled())
        return pPM->LookupColor(COLOR_GRAYTEXT, this);
    if (pItem != NULL && pItem == m_pSelectedItem && ::GetFocus() == m_hWnd)
        return pPM->LookupColor(COLOR_HIGHLIGHTTEXT, this);
    return pPM->LookupColor(COLOR_BTNTEXT, this);
}

void CExtDurationWnd::OnPaintItems(CDC& dc, const RECT& rc)
{
    HFONT hFont = OnQueryFont();
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    int nOldBk = dc.SetBkMode(TRANSPARENT);
    OnPaintBackground(dc, rc);
    CSize b = GetBorderSize();
    if (b.cx > 0 || b.cy > 0)
        OnPaintBorder(dc, rc);
    for (INT_PTR i = m_arrItems.GetSize() - 1; i >= 0; --i) {
        ITEM_INFO* p = m_arrItems[i];
        if (!p->IsVisible() || ::IsRectEmpty(&p->m_rcRect))
            continue;
        COLORREF clrBk = GetItemBkColor(p);
        if (clrBk != COLORREF(-1))
            dc.FillSolidRect(&p->m_rcRect, clrBk);
        COLORREF clrOld = dc.SetTextColor(GetItemTextColor(p));
        CString s = GetItemText(p);
        RECT rcText = p->m_rcRect;
        dc.DrawText(s, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SetTextColor(clrOld);
    }
    dc.SetBkMode(nOldBk);
    if (hOldFont != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOldFont);
}

// ---- nested buttons -------------------------------------------------------------------------

namespace {

LRESULT NestedFrameProc(CWnd* pButton, UINT message, LPARAM lParam, bool& bHandled)
{
    bHandled = false;
    if (message == WM_NCCALCSIZE) {
        NCCALCSIZE_PARAMS* p = (NCCALCSIZE_PARAMS*)lParam;
        if (p != NULL)
            ::InflateRect(&p->rgrc[0], -1, -1);
        bHandled = true;
        return 0;
    }
    if (message != WM_NCPAINT)
        return 0;
    CRect rcWnd, rcClient;
    pButton->GetWindowRect(&rcWnd);
    pButton->GetClientRect(&rcClient);
    pButton->ClientToScreen(&rcClient);
    rcClient.OffsetRect(-rcWnd.TopLeft());
    rcWnd.OffsetRect(-rcWnd.TopLeft());
    bHandled = true;
    if (rcWnd == rcClient)
        return 0;
    CExtDurationWnd* pEditor = DYNAMIC_DOWNCAST(CExtDurationWnd, pButton->GetParent());
    COLORREF clr = ::GetSysColor(COLOR_BTNFACE);
    if (pEditor != NULL && pEditor->GetBkColor() != COLORREF(-1))
        clr = pEditor->GetBkColor();
    else if (pEditor != NULL && pEditor->IsWindowEnabled())
        clr = pEditor->GetPaintManager()->LookupColor(COLOR_WINDOW, pButton);
    CWindowDC dc(pButton);
    dc.ExcludeClipRect(&rcClient);
    dc.FillSolidRect(&rcWnd, clr);
    return 0;
}

}  // namespace

LRESULT CExtDurationWnd::CExtSpinButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool bHandled = false;
    LRESULT lr = NestedFrameProc(this, message, lParam, bHandled);
    return bHandled ? lr : CExtSpinWnd::WindowProc(message, wParam, lParam);
}

LRESULT CExtDurationWnd::CExtDropDownButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool bHandled = false;
    LRESULT lr = NestedFrameProc(this, message, lParam, bHandled);
    return bHandled ? lr : CExtButton::WindowProc(message, wParam, lParam);
}

void CExtDurationWnd::CExtDropDownButton::RenderButton(CDC& dc, bool, bool)
{
    CRect rc;
    GetClientRect(&rc);
    CExtPaintManager* pPM = GetPaintManager();
    dc.FillSolidRect(&rc, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this));
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    bool bPushed = (::SendMessage(m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    bool bHot = rc.PtInRect(pt) != FALSE;
    pPM->DrawSpinButton(dc, rc, false, false, IsWindowEnabled() != FALSE, false, false, bPushed, bHot, false, this);
}
