// The combo's typing aids: inline completion of the edit part and the filter popup list
// that shows the items matching the typed text (after common URL prefixes).
#include "toolkit/dialogs/combo_box.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"
#include <algorithm>

namespace {
const LPCTSTR g_arrUrlPrefixes[] = {_T("http://"), _T("http://www."), _T("ftp://"),
                                    _T("ftp://www."), _T("file://"),      _T("www.")};

const UINT g_nMsgPrepareMenuCombo = ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgPrepareMenu"));
}  // namespace

CString CExtComboBoxBase::StripUrlPrefixes(const CString& sText)
{
    CString s(sText);
    for (LPCTSTR sPrefix : g_arrUrlPrefixes)
    {
        int n = lstrlen(sPrefix);
        if (s.GetLength() >= n && s.Left(n).CompareNoCase(sPrefix) == 0)
            s = s.Mid(n);
    }
    return s;
}

// ---- the edit notification -------------------------------------------------------------

BOOL CExtComboBoxBase::OnEditUpdate()
{
    CExtComboEditCtrlHook* pEdit = GetInnerEdit();
    if ((m_nComboOptions & OPT_FILTER_POPUP) != 0 && pEdit != NULL)
    {
        CString sText;
        pEdit->GetWindowText(sText);
        int nStart = 0, nEnd = 0;
        ::SendMessage(pEdit->m_hWnd, EM_GETSEL, (WPARAM)&nStart, (LPARAM)&nEnd);
        if (nStart < nEnd && nStart >= 0 && nEnd <= sText.GetLength())
            sText = sText.Left(nStart) + sText.Mid(nEnd);
        sText.TrimLeft();
        if (::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0) == 0)
            FilterPopupShow(sText);
    }
    if ((m_nComboOptions & OPT_AUTO_COMPLETE) != 0)
        RunInlineCompletion();
    // The parent is told of the change as well.
    return FALSE;
}

void CExtComboBoxBase::RunInlineCompletion()
{
    if ((m_nComboOptions & OPT_CHAR_TYPED) == 0)
        return;
    CString sText;
    GetWindowText(sText);
    int n = sText.GetLength();
    DWORD dwSel = (DWORD)::SendMessage(m_hWnd, CB_GETEDITSEL, 0, 0);
    bool bSelValid = dwSel != (DWORD)CB_ERR;
    int nStart = (int)(short)LOWORD(dwSel), nEnd = (int)(short)HIWORD(dwSel);
    if (::SendMessage(m_hWnd, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)sText) == CB_ERR)
    {
        SetWindowText(sText);
        if (bSelValid)
            ::SendMessage(m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(nStart, nEnd));
    }
    if (nEnd < n && bSelValid)
        ::SendMessage(m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(nStart, nEnd));
    else
        ::SendMessage(m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(n, -1));
}

// ---- filter popup: life ------------------------------------------------------------------

HWND CExtComboBoxBase::GetTopLevelOf() const
{
    HWND hWnd = m_hWnd;
    while (hWnd != NULL && (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) != 0)
        hWnd = ::GetParent(hWnd);
    return hWnd;
}

void CExtComboBoxBase::AttachFilterHooks()
{
    HWND hWndTop = GetTopLevelOf();
    if (hWndTop != NULL)
        SetupHookWndSink(hWndTop);
    SetupHookWndSink(m_hWnd);
    CExtComboEditCtrlHook* pEdit = GetInnerEdit();
    if (pEdit != NULL)
        SetupHookWndSink(pEdit->m_hWnd);
}

void CExtComboBoxBase::FilterPopupShow(const CString& sText)
{
    if (m_pFilterPopup == NULL && FilterPopupCreate() == NULL)
        return;
    AttachFilterHooks();
    FilterPopupFill(sText);
    if (m_pFilterPopup == NULL)
        return;
    if (sText.IsEmpty() || m_pFilterPopup->GetCount() <= 0)
    {
        FilterPopupClose();
        return;
    }
    if (!::IsWindowVisible(m_pFilterPopup->m_hWnd))
        ::SetWindowPos(m_pFilterPopup->m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

CExtComboBoxFilterPopupListBox* CExtComboBoxBase::FilterPopupCreate()
{
    FilterPopupClose();
    if (m_hWnd == NULL)
        return NULL;
    CExtComboBoxFilterPopupListBox* pPopup = new CExtComboBoxFilterPopupListBox(this);
    CSize sizeLimit = FilterPopupGetSizeLimit();
    if (sizeLimit.cx < 1)
        sizeLimit.cx = 150;
    if (sizeLimit.cy < 1)
        sizeLimit.cy = 100;
    CRect rcCombo;
    ::GetWindowRect(m_hWnd, &rcCombo);
    int cx = m_nSavedPopupWidth >= 0 ? m_nSavedPopupWidth : std::max((int)rcCombo.Width(), (int)sizeLimit.cx);
    int cy = m_nSavedPopupHeight >= 0 ? m_nSavedPopupHeight
                                      : std::max(::MulDiv(rcCombo.Width(), 2, 3), (int)sizeLimit.cy);
    CRect rc(rcCombo.left, rcCombo.bottom, rcCombo.left + cx, rcCombo.bottom + cy);
    rc.OffsetRect(1, 1);
    DWORD dwStyle = WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
    if (IsMultiColumn())
        dwStyle |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    if (!pPopup->CreateEx(WS_EX_TOPMOST | WS_EX_WINDOWEDGE, _T("LISTBOX"), _T(""), dwStyle, rc, this, 0))
    {
        delete pPopup;
        return NULL;
    }
    pPopup->SendMessage(WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), TRUE);
    m_pFilterPopup = pPopup;
    return pPopup;
}

void CExtComboBoxBase::FilterPopupClose()
{
    CExtComboBoxFilterPopupListBox* pPopup = m_pFilterPopup;
    if (pPopup == NULL)
        return;
    m_pFilterPopup = NULL;
    if (pPopup->m_hWnd != NULL && ::IsWindow(pPopup->m_hWnd))
    {
        RemoveAllWndHooks();
        CRect rc;
        ::GetWindowRect(pPopup->m_hWnd, &rc);
        m_nSavedPopupWidth = rc.Width();
        m_nSavedPopupHeight = rc.Height();
        pPopup->DestroyWindow();
    }
    delete pPopup;
}

void CExtComboBoxBase::FilterPopupFill(const CString& sText)
{
    CExtComboBoxFilterPopupListBox* pPopup = m_pFilterPopup;
    if (pPopup == NULL || pPopup->m_hWnd == NULL)
        return;
    pPopup->SetRedraw(FALSE);
    pPopup->ResetContent();
    if (!sText.IsEmpty())
    {
        int nTyped = sText.GetLength();
        bool bMulti = IsMultiColumn();
        int nCount = GetCount();
        for (int i = 0; i < nCount; ++i)
        {
            CString sItem;
            GetLBText(i, sItem);
            CString sShort = StripUrlPrefixes(sItem);
            if (sShort.GetLength() < nTyped || sShort.Left(nTyped).CompareNoCase(sText) != 0)
                continue;
            int nAdded = pPopup->AddString(sItem);
            if (nAdded < 0)
                continue;
            // A multi-column popup item carries the combo item's record (its cells are
            // drawn); a plain one carries the combo item's own data, so that picking one
            // of two equal texts finds the occurrence it came from.
            DWORD_PTR nData = bMulti ? (DWORD_PTR)GetItemRecord(i) : (DWORD_PTR)::SendMessage(m_hWnd, CB_GETITEMDATA, i, 0);
            pPopup->SetItemData(nAdded, nData);
            if (bMulti)
            {
                // Measured while added, the item had no record yet: give it the height
                // of the combo's own item.
                MEASUREITEMSTRUCT mis;
                ::memset(&mis, 0, sizeof(mis));
                mis.CtlType = ODT_LISTBOX;
                mis.itemID = (UINT)i;
                mis.itemWidth = mis.itemHeight = 16;
                MeasureItemCells(&mis);
                pPopup->SetItemHeight(nAdded, mis.itemHeight);
            }
        }
    }
    pPopup->SetRedraw(TRUE);
    ::InvalidateRect(pPopup->m_hWnd, NULL, TRUE);
    ::UpdateWindow(pPopup->m_hWnd);
}

// ---- filter popup: picking -------------------------------------------------------------

void CExtComboBoxBase::FilterPopupAccept()
{
    if (m_pFilterPopup == NULL || m_pFilterPopup->m_hWnd == NULL)
        return;
    FilterPopupApplySelection(true);
    FilterPopupClose();
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent != NULL)
        ::SendMessage(hWndParent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), CBN_SELENDOK), (LPARAM)m_hWnd);
}

void CExtComboBoxBase::FilterPopupSelectionMoved()
{
    if (m_pFilterPopup == NULL || m_pFilterPopup->m_hWnd == NULL)
        return;
    ::InvalidateRect(m_pFilterPopup->m_hWnd, NULL, TRUE);
    ::UpdateWindow(m_pFilterPopup->m_hWnd);
    FilterPopupApplySelection(false);
}

void CExtComboBoxBase::FilterPopupApplySelection(bool bKeepEditSelection)
{
    CExtComboBoxFilterPopupListBox* pPopup = m_pFilterPopup;
    if (pPopup == NULL || pPopup->m_hWnd == NULL)
        return;
    int nCur = pPopup->GetCurSel();
    if (nCur < 0)
        return;
    CString sText;
    pPopup->GetText(nCur, sText);
    DWORD_PTR nData = pPopup->GetItemData(nCur);
    if (IsMultiColumn())
        nData = nData != 0 ? ((LB_ITEM*)nData)->m_nItemData : 0;
    int nFirst = -1, nFound = -1, nAfter = 0;
    for (;;)
    {
        int n = (int)::SendMessage(m_hWnd, CB_FINDSTRINGEXACT, (WPARAM)nAfter, (LPARAM)(LPCTSTR)sText);
        if (n == CB_ERR || n == nFirst)
            break;
        if (nFirst < 0)
            nFirst = n;
        if ((DWORD_PTR)::SendMessage(m_hWnd, CB_GETITEMDATA, (WPARAM)n, 0) == nData)
        {
            nFound = n;
            break;
        }
        nAfter = n;
    }
    if (nFound < 0)
        return;
    CExtComboEditCtrlHook* pEdit = GetInnerEdit();
    if (pEdit != NULL)
        pEdit->SetRedraw(FALSE);
    SetCurSel(nFound);
    if (!bKeepEditSelection)
        ::SendMessage(m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
    if (pEdit != NULL)
    {
        pEdit->SetRedraw(TRUE);
        ::InvalidateRect(pEdit->m_hWnd, NULL, TRUE);
        ::UpdateWindow(pEdit->m_hWnd);
    }
}

bool CExtComboBoxBase::HandleFilterPopupKeys(MSG* pMsg)
{
    CExtComboBoxFilterPopupListBox* pPopup = m_pFilterPopup;
    if (pPopup == NULL || pPopup->m_hWnd == NULL || pMsg == NULL)
        return false;
    HWND hWndFocus = ::GetFocus();
    bool bFocusHere = hWndFocus != NULL && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus));
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && bFocusHere)
    {
        FilterPopupClose();
        return true;
    }
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && bFocusHere)
    {
        if (pPopup->GetCurSel() < 0 && pPopup->GetCount() > 0)
            pPopup->SetCurSel(0);
        FilterPopupAccept();
        return true;
    }
    bool bMove = pMsg->message == WM_MOUSEWHEEL ||
                 (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_DOWN || pMsg->wParam == VK_UP ||
                                                  pMsg->wParam == VK_PRIOR || pMsg->wParam == VK_NEXT));
    if (!bMove)
        return false;
    int nOld = pPopup->GetCurSel();
    pPopup->SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
    if (m_pFilterPopup == pPopup && pPopup->GetCurSel() != nOld)
        FilterPopupSelectionMoved();
    return true;
}

bool CExtComboBoxBase::OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam,
                                    LPARAM& lParam)
{
    if (m_hWnd != NULL && m_pFilterPopup != NULL)
    {
        bool bClose = false;
        switch (nMessage)
        {
        case WM_SETFOCUS: case WM_KILLFOCUS: case WM_NEXTDLGCTL: case WM_SIZE: case WM_ACTIVATEAPP:
        case WM_CANCELMODE: case WM_STYLECHANGING: case WM_STYLECHANGED: case WM_SYSCOMMAND:
        case WM_DESTROY: case WM_NCDESTROY: case WM_ENABLE:
            bClose = true;
            break;
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED:
        {
            const WINDOWPOS* pWP = (const WINDOWPOS*)lParam;
            bClose = pWP != NULL && (pWP->flags & (SWP_NOSIZE | SWP_NOMOVE)) == 0;
            break;
        }
        case WM_MOUSEACTIVATE:
        case WM_ACTIVATE:
            bClose = hWndHooked != m_hWnd && !::IsChild(m_hWnd, hWndHooked);
            break;
        default:
            bClose = nMessage == g_nMsgPrepareMenuCombo;
            break;
        }
        if (!bClose && (CExtPopupMenuWnd::IsMenuTracking() || g_PopupBarServices.GetDraggedBar() != NULL))
            bClose = true;
        if (bClose)
            FilterPopupClose();
    }
    return CExtHookSink::OnHookWndMsg(lResult, hWndHooked, nMessage, wParam, lParam);
}

// ---- the popup list ----------------------------------------------------------------------

CExtComboBoxFilterPopupListBox::CExtComboBoxFilterPopupListBox(CExtComboBoxBase* pOwner)
    : m_pOwner(pOwner),
      m_nResizeFlags(0),
      m_ptLast(0, 0),
      m_hCursorWidth(::LoadCursor(NULL, IDC_SIZEWE)),
      m_hCursorHeight(::LoadCursor(NULL, IDC_SIZENS)),
      m_hCursorCorner(::LoadCursor(NULL, IDC_SIZENWSE))
{
}

// The sizing cursors are the system's shared ones: nothing to free.
CExtComboBoxFilterPopupListBox::~CExtComboBoxFilterPopupListBox() {}

UINT CExtComboBoxFilterPopupListBox::HitTestPopup(CPoint ptClient) const
{
    CPoint pt(ptClient);
    ::ClientToScreen(m_hWnd, &pt);
    CRect rcWnd;
    ::GetWindowRect(m_hWnd, &rcWnd);
    if (!rcWnd.PtInRect(pt))
        return 0;
    CRect rcCorner(rcWnd.right - ::GetSystemMetrics(SM_CXVSCROLL), rcWnd.bottom - ::GetSystemMetrics(SM_CYVSCROLL),
                   rcWnd.right, rcWnd.bottom);
    if (rcCorner.PtInRect(pt))
        return HTBOTTOMRIGHT;
    if (pt.y >= rcWnd.bottom - ::GetSystemMetrics(SM_CYEDGE))
        return HTBOTTOM;
    if (pt.x >= rcWnd.right - ::GetSystemMetrics(SM_CXEDGE))
        return HTRIGHT;
    return HTCLIENT;
}

bool CExtComboBoxFilterPopupListBox::OnPopupMouseButton(CPoint point, bool bDown, int nButton)
{
    if (nButton != 1)
        return false;
    if (!bDown && m_nResizeFlags == 0)
    {
        if (GetCount() <= 0)
            return true;
        BOOL bOutside = TRUE;
        UINT nItem = ItemFromPoint(point, bOutside);
        if (!bOutside)
            SetCurSel((int)nItem);
        if (m_pOwner != NULL)
            m_pOwner->FilterPopupAccept();
        return true;
    }
    UINT nHit = HitTestPopup(point);
    m_nResizeFlags = 0;
    m_ptLast = CPoint(0, 0);
    if (bDown)
    {
        if (nHit == HTBOTTOMRIGHT)
            m_nResizeFlags = RESIZE_WIDTH | RESIZE_HEIGHT;
        else if (nHit == HTRIGHT)
            m_nResizeFlags = RESIZE_WIDTH;
        else if (nHit == HTBOTTOM)
            m_nResizeFlags = RESIZE_HEIGHT;
        if (m_nResizeFlags != 0)
        {
            m_ptLast = point;
            if (::GetCapture() != m_hWnd)
                CExtMouseCaptureSink::SetCapture(m_hWnd);
            return true;
        }
    }
    else if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    return nHit == HTCLIENT;
}

void CExtComboBoxFilterPopupListBox::HoverStep(CPoint point)
{
    if (GetCount() <= 0)
        return;
    BOOL bOutside = TRUE;
    int nItem = (int)ItemFromPoint(point, bOutside);
    if (bOutside)
    {
        int nTop = GetTopIndex(), nCount = GetCount();
        if (nItem >= nCount - 2 && nItem > nTop)
            nItem = std::min(nItem + 1, nCount - 1);
        else if (nTop > 0)
            nItem = std::max(nItem - 1, 0);
    }
    m_ptLast = point;
    if (nItem != GetCurSel())
    {
        SetCurSel(nItem);
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        ::UpdateWindow(m_hWnd);
    }
}

void CExtComboBoxFilterPopupListBox::ResizeStep(CPoint point)
{
    CSize sizeMin(40, 20), sizeLimit(-1, -1);
    if (m_pOwner != NULL)
    {
        sizeMin = m_pOwner->FilterPopupGetMinSize();
        sizeLimit = m_pOwner->FilterPopupGetSizeLimit();
    }
    CRect rcWnd;
    ::GetWindowRect(m_hWnd, &rcWnd);
    CRect rcNew(rcWnd);
    if ((m_nResizeFlags & RESIZE_WIDTH) != 0 && point.x > sizeMin.cx && (point.x < sizeLimit.cx || sizeLimit.cx < 0))
        rcNew.right += point.x - m_ptLast.x;
    if ((m_nResizeFlags & RESIZE_HEIGHT) != 0 && point.y > sizeMin.cy &&
        (point.y < sizeLimit.cy || sizeLimit.cy < 0))
        rcNew.bottom += point.y - m_ptLast.y;
    m_ptLast = point;
    if (rcNew == rcWnd)
        return;
    ::SetWindowPos(m_hWnd, NULL, 0, 0, rcNew.Width(), rcNew.Height(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

bool CExtComboBoxFilterPopupListBox::OnPopupMouseMove(CPoint point)
{
    if (CExtPopupMenuWnd::IsMenuTracking())
        return false;
    if (!CExtPopupMenuWnd::stat_TestWindowsShareParent(m_hWnd, ::GetActiveWindow(), true, true, true))
        return false;
    if (point == m_ptLast)
        return true;
    if (m_nResizeFlags != 0)
    {
        ResizeStep(point);
        return true;
    }
    if (HitTestPopup(point) != HTCLIENT)
        return false;
    HoverStep(point);
    return true;
}

void CExtComboBoxFilterPopupListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    if (m_pOwner != NULL && lpMIS != NULL)
        m_pOwner->MeasureItemCells(lpMIS);
}

void CExtComboBoxFilterPopupListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS == NULL || m_pOwner == NULL || (GetStyle() & (0x200 | 0x40)) == 0)
        return;
    int nItem = (int)lpDIS->itemID;
    if (nItem < 0 || nItem >= GetCount())
        return;
    CExtComboBoxBase::LB_ITEM* pItem = (CExtComboBoxBase::LB_ITEM*)GetItemData(nItem);
    if (pItem == NULL || (DWORD_PTR)pItem == (DWORD_PTR)LB_ERR)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    if ((lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0)
    {
        CRect rcFill(lpDIS->rcItem);
        if (nItem == GetCount() - 1)
        {
            CRect rcClient;
            GetClientRect(&rcClient);
            rcFill.bottom = std::max(rcFill.bottom, rcClient.bottom);
        }
        pDC->FillSolidRect(&rcFill, pPM != NULL ? pPM->LookupColor(COLOR_WINDOW) : ::GetSysColor(COLOR_WINDOW));
    }
    m_pOwner->DrawItemCells(pDC, lpDIS->rcItem, m_pOwner->GetItemMargins(nItem), lpDIS->itemState, pItem);
}

void CExtComboBoxFilterPopupListBox::PaintNonClient()
{
    CRect rcWnd, rcClient;
    ::GetWindowRect(m_hWnd, &rcWnd);
    ::GetClientRect(m_hWnd, &rcClient);
    ::ClientToScreen(m_hWnd, (LPPOINT)&rcClient.left);
    ::ClientToScreen(m_hWnd, (LPPOINT)&rcClient.right);
    if (rcWnd == rcClient)
        return;
    rcClient.OffsetRect(-rcWnd.left, -rcWnd.top);
    rcWnd.OffsetRect(-rcWnd.left, -rcWnd.top);
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (hdc == NULL)
        return;
    CDC* pDC = CDC::FromHandle(hdc);
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    COLORREF clrWindow = pPM != NULL ? pPM->LookupColor(COLOR_WINDOW) : ::GetSysColor(COLOR_WINDOW);
    DWORD dwStyle = GetStyle();
    CRect rcScrolls(rcClient);
    if ((dwStyle & WS_VSCROLL) != 0)
        rcScrolls.right += ::GetSystemMetrics(SM_CXVSCROLL);
    if ((dwStyle & WS_HSCROLL) != 0)
        rcScrolls.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    if ((dwStyle & (WS_VSCROLL | WS_HSCROLL)) == (WS_VSCROLL | WS_HSCROLL))
    {
        CRect rcSquare(rcClient.right, rcClient.bottom, rcScrolls.right, rcScrolls.bottom);
        pDC->FillSolidRect(&rcSquare, clrWindow);
    }
    pDC->ExcludeClipRect(&rcScrolls);
    CRect rcInside(rcWnd);
    rcInside.DeflateRect(1, 1);
    pDC->FillSolidRect(&rcInside, clrWindow);
    if (pPM != NULL)
        pPM->DrawSizeGrip(*pDC, rcInside, this);
    ::ReleaseDC(m_hWnd, hdc);
}

void CExtComboBoxFilterPopupListBox::PaintOwnerDrawn()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (hdc != NULL)
    {
        CRect rcClient;
        GetClientRect(&rcClient);
        CExtMemoryDC dcMem(CDC::FromHandle(hdc), &rcClient,
                           CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        dcMem.FillSolidRect(&rcClient, pPM != NULL ? pPM->LookupColor(COLOR_WINDOW) : ::GetSysColor(COLOR_WINDOW));
        HGDIOBJ hOldFont = ::SelectObject(dcMem.m_hDC, (HGDIOBJ)::SendMessage(m_hWnd, WM_GETFONT, 0, 0));
        int nCount = GetCount(), nCur = GetCurSel();
        for (int i = GetTopIndex(); i >= 0 && i < nCount; ++i)
        {
            DRAWITEMSTRUCT dis;
            ::memset(&dis, 0, sizeof(dis));
            dis.CtlType = ODT_LISTBOX;
            dis.CtlID = (UINT)::GetDlgCtrlID(m_hWnd);
            dis.itemID = (UINT)i;
            dis.itemAction = ODA_DRAWENTIRE;
            if (GetSel(i) > 0)
                dis.itemState |= ODS_SELECTED;
            if (i == nCur)
                dis.itemState |= ODS_FOCUS;
            dis.hwndItem = m_hWnd;
            dis.hDC = dcMem.m_hDC;
            ::SendMessage(m_hWnd, LB_GETITEMRECT, (WPARAM)i, (LPARAM)&dis.rcItem);
            dis.itemData = (ULONG_PTR)GetItemData(i);
            if (dis.rcItem.top > rcClient.bottom)
                break;
            ::SendMessage(m_hWnd, WM_DRAWITEM, (WPARAM)dis.CtlID, (LPARAM)&dis);
        }
        if (hOldFont != NULL)
            ::SelectObject(dcMem.m_hDC, hOldFont);
    }
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CExtComboBoxFilterPopupListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool bOwnerDrawn = m_hWnd != NULL && (GetStyle() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    switch (message)
    {
    case WM_MOUSEACTIVATE:
        // The edit keeps the focus while the user works in the list.
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (OnPopupMouseButton(pt, true, 1))
            return 0;
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        // The scroll bar keeps its own mouse handling, or it could not be dragged.
        if (wParam == HTVSCROLL || wParam == HTHSCROLL)
            break;
        ::ScreenToClient(m_hWnd, &pt);
        if (OnPopupMouseButton(pt, true, 1))
            return 0;
        break;
    case WM_LBUTTONUP:
        if (OnPopupMouseButton(pt, false, 1))
            return 0;
        break;
    case WM_NCLBUTTONUP:
        if (wParam == HTVSCROLL || wParam == HTHSCROLL)
            break;
        ::ScreenToClient(m_hWnd, &pt);
        if (OnPopupMouseButton(pt, false, 1))
            return 0;
        break;
    case WM_MOUSEMOVE:
        if (OnPopupMouseMove(pt))
            return 0;
        break;
    case WM_SETCURSOR:
    {
        POINT ptCursor;
        ::GetCursorPos(&ptCursor);
        ::ScreenToClient(m_hWnd, &ptCursor);
        switch (HitTestPopup(ptCursor))
        {
        case HTBOTTOMRIGHT: ::SetCursor(m_hCursorCorner); return TRUE;
        case HTRIGHT: ::SetCursor(m_hCursorWidth); return TRUE;
        case HTBOTTOM: ::SetCursor(m_hCursorHeight); return TRUE;
        }
        break;
    }
    case WM_CANCELMODE:
    {
        LRESULT lr = CListBox::WindowProc(message, wParam, lParam);
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        m_nResizeFlags = 0;
        m_ptLast = CPoint(0, 0);
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        return lr;
    }
    case WM_NCCALCSIZE:
        if (wParam != 0)
            ((NCCALCSIZE_PARAMS*)lParam)->rgrc[0].bottom -= BOTTOM_STRIP;
        else if (lParam != 0)
            ((RECT*)lParam)->bottom -= BOTTOM_STRIP;
        break;
    case WM_NCPAINT:
    {
        LRESULT lr = CListBox::WindowProc(message, wParam, lParam);
        PaintNonClient();
        return lr;
    }
    case WM_NCHITTEST:
    {
        CPoint ptClient(pt);
        ::ScreenToClient(m_hWnd, &ptClient);
        if (HitTestPopup(ptClient) != HTCLIENT)
            return HTCLIENT;
        break;
    }
    case WM_ERASEBKGND:
        if (bOwnerDrawn)
            return 1;
        break;
    case WM_PAINT:
        if (bOwnerDrawn)
        {
            PaintOwnerDrawn();
            return 0;
        }
        break;
    case WM_DRAWITEM:
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        return TRUE;
    case WM_MEASUREITEM:
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        return TRUE;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
