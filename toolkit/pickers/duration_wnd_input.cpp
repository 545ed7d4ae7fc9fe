// The duration editor's input: selection, typing, stepping, the clipboard, the value's
// changes with their notifications, and the window's messages.
#include "toolkit/pickers/duration_wnd.h"

#include <ctype.h>
#include <stdlib.h>

#include "toolkit/core/cmd_manager.h"
#include "toolkit/dialogs/memory_dc.h"

// ---- selection ------------------------------------------------------------------------------

CExtDurationWnd::ITEM_INFO* CExtDurationWnd::HitTestItem(POINT pt) const
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (m_arrItems[i]->IsVisible() && ::PtInRect(&m_arrItems[i]->m_rcRect, pt))
            return m_arrItems[i];
    return NULL;
}

void CExtDurationWnd::SelectItem(ITEM_INFO* pItem)
{
    if (m_pTypingItem != NULL && m_pTypingItem != pItem)
        OnTypingFinished();
    if (pItem == NULL)
        m_pSelectedItem = NULL;
    else if (pItem->IsField())
        m_pSelectedItem = pItem;
    else {
        ITEM_INFO* pOwner = FindOwner(pItem);
        if (pOwner != NULL && pOwner->IsVisible())
            m_pSelectedItem = pOwner;
    }
    m_pTypingItem = NULL;
    UpdateDurationWnd(false, true);
    OnItemSelected();
}

bool CExtDurationWnd::SelectNextItem(const ITEM_INFO* pFrom)
{
    int nCount = GetItemCount();
    if (nCount == 0)
        return false;
    int nStart = ItemIndexOf(pFrom);
    for (int k = 1; k <= nCount; ++k) {
        int i = nStart < 0 ? k - 1 : (nStart + k) % nCount;
        ITEM_INFO* p = m_arrItems[i];
        if (p->IsVisible() && p->IsField()) {
            SelectItem(p);
            return true;
        }
    }
    return false;
}

bool CExtDurationWnd::SelectPrevItem(const ITEM_INFO* pFrom)
{
    int nCount = GetItemCount();
    if (nCount == 0)
        return false;
    int nStart = ItemIndexOf(pFrom);
    for (int k = 1; k <= nCount; ++k) {
        int i = nStart < 0 ? nCount - k : (nStart - k + nCount) % nCount;
        ITEM_INFO* p = m_arrItems[i];
        if (p->IsVisible() && p->IsField()) {
            SelectItem(p);
            return true;
        }
    }
    return false;
}

bool CExtDurationWnd::SelectFirstItem() { return SelectNextItem(NULL); }
bool CExtDurationWnd::SelectLastItem() { return SelectPrevItem(NULL); }

// ---- value ----------------------------------------------------------------------------------

long long CExtDurationWnd::GetItemUnit(const ITEM_INFO* pItem) const
{
    switch (pItem != NULL ? pItem->m_nKind : -1) {
    case __EIT_DAY: return 86400;
    case __EIT_HOUR: return 3600;
    case __EIT_MINUTE: return 60;
    case __EIT_SECOND: return 1;
    default: return 0;
    }
}

int CExtDurationWnd::GetItemLimit(const ITEM_INFO* pItem) const
{
    if (pItem == NULL || IsFirstVisibleItem(pItem))
        return -1;
    switch (pItem->m_nKind) {
    case __EIT_HOUR: return 23;
    case __EIT_MINUTE:
    case __EIT_SECOND: return 59;
    default: return -1;
    }
}

bool CExtDurationWnd::OnValueChanging(int nOld, int nNew)
{
    HWND hWnd = GetNotifyReceiver();
    if (hWnd == NULL)
        return true;
    CHANGING_NOTIFICATION data = {false, m_lParamCookie, nOld, nNew};
    return (LONG_PTR)::SendMessage(hWnd, g_nMsgChangingNotification, (WPARAM)&data, m_lParamCookie) >= 0;
}

void CExtDurationWnd::OnValueChanged(int nOld, int nNew)
{
    HWND hWnd = GetNotifyReceiver();
    if (hWnd == NULL)
        return;
    CHANGING_NOTIFICATION data = {true, m_lParamCookie, nOld, nNew};
    ::SendMessage(hWnd, g_nMsgChangingNotification, (WPARAM)&data, m_lParamCookie);
}

void CExtDurationWnd::SetTotalSeconds(int nSeconds)
{
    if (nSeconds < 0)
        nSeconds = 0;
    int nOld = m_nTotalSeconds;
    if (!OnValueChanging(nOld, nSeconds))
        return;
    m_nTotalSeconds = nSeconds;
    OnValueChanged(nOld, nSeconds);
    UpdateDurationWnd(true, true);
}

void CExtDurationWnd::StepSelectedItem(int nDelta)
{
    ITEM_INFO* p = m_pSelectedItem;
    long long nUnit = GetItemUnit(p);
    if (p == NULL || nUnit == 0)
        return;
    long long nNew;
    if (IsCarryMode())
        nNew = m_nTotalSeconds + nDelta * nUnit;
    else {
        long long n = (long long)p->m_nValue + nDelta;
        int nLimit = p->m_nKind == __EIT_DAY ? -1 : GetItemLimit(p);
        if (n < 0)
            n = p->m_nKind == __EIT_DAY ? 0 : (p->m_nKind == __EIT_HOUR ? 23 : 59);
        else if (nLimit >= 0 && n > nLimit)
            n = 0;
        nNew = m_nTotalSeconds - p->m_nValue * nUnit + n * nUnit;
    }
    if (nNew < __MAX_TOTAL)
        SetTotalSeconds(int(nNew < 0 ? 0 : nNew));
}

void CExtDurationWnd::TypeDigit(int nDigit)
{
    ITEM_INFO* p = m_pSelectedItem;
    long long nUnit = GetItemUnit(p);
    if (p == NULL || nUnit == 0 || nDigit < 0 || nDigit > 9)
        return;
    // In 64 bits: appending digits must not wrap round to a small total that passes the limit.
    long long n = (p == m_pTypingItem) ? (long long)(unsigned)p->m_nValue * 10 + nDigit : nDigit;
    int nLimit = GetItemLimit(p);
    if (nLimit >= 0 && n > nLimit)
        n = nDigit;
    long long nNew = m_nTotalSeconds - p->m_nValue * nUnit + n * nUnit;
    m_pTypingItem = p;
    if (nNew >= 0 && nNew < __MAX_TOTAL)
        SetTotalSeconds(int(nNew));
}

// ---- clipboard ------------------------------------------------------------------------------

void CExtDurationWnd::CopySelectedItem()
{
    if (m_pSelectedItem == NULL || !::OpenClipboard(m_hWnd))
        return;
    CString s = GetCopyText(m_pSelectedItem);
    if (::EmptyClipboard()) {
        HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, s.GetLength() + 1);
        if (hMem != NULL) {
            char* pText = (char*)::GlobalLock(hMem);
            if (pText != NULL) {
                ::memcpy(pText, (LPCSTR)s, s.GetLength() + 1);
                ::GlobalUnlock(hMem);
                if (::SetClipboardData(CF_TEXT, hMem) == NULL)
                    ::GlobalFree(hMem);
            } else
                ::GlobalFree(hMem);
        }
    }
    ::CloseClipboard();
}

void CExtDurationWnd::PasteSelectedItem()
{
    ITEM_INFO* p = m_pSelectedItem;
    if (p == NULL || !::OpenClipboard(m_hWnd))
        return;
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    const char* pText = hData != NULL ? (const char*)::GlobalLock(hData) : NULL;
    if (pText == NULL) {
        ::CloseClipboard();
        return;
    }
    // Read in 64 bits so that a long run of digits cannot wrap round past the limit test.
    long long n = ::_atoi64(pText);
    ::GlobalUnlock(hData);
    long long nUnit = GetItemUnit(p);
    long long nNew = m_nTotalSeconds;
    int nLimit = GetItemLimit(p);
    if (n > 0 && nUnit != 0 && !(nLimit >= 0 && n > nLimit))
        nNew = m_nTotalSeconds - p->m_nValue * nUnit + n * nUnit;
    if (nNew < __MAX_TOTAL)
        SetTotalSeconds(int(nNew));
    ::CloseClipboard();
}

// ---- keyboard and messages ------------------------------------------------------------------

void CExtDurationWnd::OnKeyDownImpl(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    bool bCtrl = (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    bool bShift = (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    if (nChar < 0x100 && ::isdigit((int)nChar)) {
        TypeDigit(int(nChar - '0'));
        return;
    }
    if (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9) {
        TypeDigit(int(nChar - VK_NUMPAD0));
        return;
    }
    switch (nChar) {
    case VK_TAB:
        ::SendMessage(::GetParent(m_hWnd), WM_NEXTDLGCTL, bShift ? 1 : 0, 0);
        return;
    case VK_END: SelectLastItem(); return;
    case VK_HOME: SelectFirstItem(); return;
    case VK_LEFT: SelectPrevItem(m_pSelectedItem); return;
    case VK_RIGHT:
    case VK_DECIMAL:
    case VK_DIVIDE:
    case VK_OEM_COMMA:
    case VK_OEM_MINUS:
    case VK_OEM_PERIOD:
    case VK_OEM_2:
        SelectNextItem(m_pSelectedItem);
        return;
    case VK_UP:
    case VK_DOWN:
        if (GetStatus() == 0)
            StepSelectedItem(nChar == VK_UP ? 1 : -1);
        return;
    case 'C':
        if (bCtrl)
            CopySelectedItem();
        return;
    case 'V':
        if (bCtrl)
            PasteSelectedItem();
        return;
    case VK_INSERT:
        if (bCtrl)
            CopySelectedItem();
        else if (bShift)
            PasteSelectedItem();
        return;
    case VK_F4:
        DropDown();
        return;
    default:
        CWnd::WindowProc(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
        return;
    }
}

BOOL CExtDurationWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pHdr = (NMHDR*)lParam;
    if (pHdr != NULL && pHdr->idFrom == __SPIN_ID && pHdr->code == (UINT)UDN_DELTAPOS) {
        NMUPDOWN* pUD = (NMUPDOWN*)lParam;
        StepSelectedItem(pUD->iDelta < 0 ? 1 : -1);
        if (::IsWindow(m_hWnd))
            ::SetFocus(m_hWnd);
    }
    return CWnd::OnNotify(wParam, lParam, pResult);
}

void CExtDurationWnd::RelaySystemChange(UINT message, WPARAM wParam, LPARAM lParam)
{
    g_CurrentPaintManager.RelaySystemChange(this, GetPaintManager(), message, wParam, lParam);
}

LRESULT CExtDurationWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ITEM_INFO* p = HitTestItem(pt);
        if (p != NULL)
            SelectItem(p);
        if (::IsWindow(m_hWnd))
            ::SetFocus(m_hWnd);
        return lr;
    }
    case WM_KEYDOWN:
        OnKeyDownImpl((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETFOCUS: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        UpdateDurationWnd(false, true);
        return lr;
    }
    case WM_KILLFOCUS: {
        if (m_pTypingItem != NULL)
            OnTypingFinished();
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        UpdateDurationWnd(false, true);
        return lr;
    }
    case WM_SIZE: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        UpdateDurationWnd(true, true);
        return lr;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        CPaintDC dcPaint(this);
        CRect rcClient;
        GetClientRect(&rcClient);
        if (!rcClient.IsRectEmpty()) {
            CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
            OnPaintItems(dc, rcClient);
        }
        return 0;
    }
    case WM_MOUSEWHEEL: {
        short nDelta = (short)HIWORD(wParam);
        if (nDelta == 0)
            break;
        StepSelectedItem(nDelta > 0 ? 1 : -1);
        return 0;
    }
    case WM_ENABLE: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        if (m_wndSpinButton.GetSafeHwnd() != NULL)
            m_wndSpinButton.EnableWindow((BOOL)wParam);
        if (m_wndDropDownButton.GetSafeHwnd() != NULL)
            m_wndDropDownButton.EnableWindow((BOOL)wParam);
        UpdateDurationWnd(false, true);
        return lr;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_THEMECHANGED: {
        LRESULT lr = CWnd::WindowProc(message, wParam, lParam);
        RelaySystemChange(message, wParam, lParam);
        UpdateDurationWnd(true, true);
        return lr;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
