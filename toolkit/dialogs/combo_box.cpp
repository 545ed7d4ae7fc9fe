#include "toolkit/dialogs/combo_box.h"
#include "toolkit/dialogs/control_font.h"
#include "toolkit/dialogs/control_tooltip.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNAMIC(CExtComboEditCtrlHook, CExtEditBase)
IMPLEMENT_DYNCREATE(CExtComboBoxBase, CComboBox)
IMPLEMENT_DYNCREATE(CExtComboBox, CExtComboBoxBase)

// The focus rectangle of a selected row is drawn in the highlight text colour over black,
// so that its dots stand out against the highlight fill.
static void DrawSelectedItemFocus(CDC* pDC, const RECT& rcItem, COLORREF clrHighlightText)
{
    COLORREF clrOldText = pDC->SetTextColor(clrHighlightText);
    COLORREF clrOldBk = pDC->SetBkColor(RGB(0, 0, 0));
    pDC->DrawFocusRect(&rcItem);
    pDC->SetBkColor(clrOldBk);
    pDC->SetTextColor(clrOldText);
}

// ---- item records ----------------------------------------------------------------------

CExtComboBoxBase::LB_ITEM::CELL::CELL(LPCTSTR sText)
    : m_nValue(0), m_clrText(COLORREF(-1L)), m_clrBack(COLORREF(-1L)), m_strText(sText != NULL ? sText : _T(""))
{
}

CExtComboBoxBase::LB_ITEM::LB_ITEM() : m_nItemData(0) {}

CExtComboBoxBase::LB_ITEM::~LB_ITEM()
{
    for (INT_PTR i = 0; i < m_arrCells.GetSize(); ++i)
        delete m_arrCells[i];
    m_arrCells.RemoveAll();
}

int CExtComboBoxBase::LB_ITEM::CellInsert(LPCTSTR sText, int nPos)
{
    CELL* pCell = new CELL(sText);
    int nCount = GetCellCount();
    if (nPos < 0 || nPos > nCount)
        nPos = nCount;
    m_arrCells.InsertAt(nPos, pCell);
    return nPos;
}

CExtComboBoxBase::LB_ITEM::CELL* CExtComboBoxBase::LB_ITEM::CellGet(int nPos) const
{
    return (nPos >= 0 && nPos < GetCellCount()) ? m_arrCells[nPos] : NULL;
}

// ---- the edit part ---------------------------------------------------------------------

CExtComboEditCtrlHook::CExtComboEditCtrlHook() {}
CExtComboEditCtrlHook::~CExtComboEditCtrlHook() {}

CExtComboBoxBase* CExtComboEditCtrlHook::GetOwnerCombo() const
{
    HWND hWndParent = m_hWnd != NULL ? ::GetParent(m_hWnd) : NULL;
    CWnd* pParent = hWndParent != NULL ? CWnd::FromHandlePermanent(hWndParent) : NULL;
    if (pParent == NULL || !pParent->IsKindOf(RUNTIME_CLASS(CExtComboBoxBase)))
        return NULL;
    return (CExtComboBoxBase*)pParent;
}

INT_PTR CExtComboEditCtrlHook::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    HWND hWndCombo = m_hWnd != NULL ? ::GetParent(m_hWnd) : NULL;
    HWND hWndBar = hWndCombo != NULL ? ::GetParent(hWndCombo) : NULL;
    CWnd* pBar = hWndBar != NULL ? CWnd::FromHandlePermanent(hWndBar) : NULL;
    if (pBar != NULL && CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtToolControlBar"))
        return HitTestThroughToolbar(pBar, const_cast<CExtComboEditCtrlHook*>(this), point, pTI);
    return CExtEditBase::OnToolHitTest(point, pTI);
}

LRESULT CExtComboEditCtrlHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CExtComboBoxBase* pCombo = GetOwnerCombo();
    switch (message)
    {
    case WM_COMMAND:
        if (LOWORD(wParam) >= ID_EDIT_CLEAR && LOWORD(wParam) <= ID_EDIT_REDO && pCombo != NULL)
            pCombo->m_nComboOptions &= ~CExtComboBoxBase::OPT_CHAR_TYPED;
        break;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        if (pCombo != NULL)
            pCombo->m_nComboOptions &= ~CExtComboBoxBase::OPT_CHAR_TYPED;
        break;
    case WM_DESTROY:
        if (pCombo != NULL)
            pCombo->FilterPopupClose();
        break;
    case WM_CONTEXTMENU:
    {
        if ((m_nEditFlags & EDIT_THEMED_MENU) == 0)
            break;
        if (pCombo != NULL)
        {
            if ((pCombo->m_nComboOptions & CExtComboBoxBase::OPT_EDIT_THEMED_MENU) != 0)
                m_nEditFlags |= EDIT_THEMED_MENU;
            else
                m_nEditFlags &= ~EDIT_THEMED_MENU;
        }
        ::SetFocus(m_hWnd);
        HWND hWndCombo = pCombo != NULL ? pCombo->m_hWnd : NULL;
        LRESULT lr = CExtEditBase::WindowProc(message, wParam, lParam);
        if (hWndCombo != NULL && ::IsWindow(hWndCombo))
            ::RedrawWindow(hWndCombo, NULL, NULL,
                           RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
        return lr;
    }
    }
    return CExtEditBase::WindowProc(message, wParam, lParam);
}

// ---- the combo base --------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CExtComboBoxBase, CComboBox)
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT_EX(CBN_EDITUPDATE, &CExtComboBoxBase::OnEditUpdate)
END_MESSAGE_MAP()

CExtComboBoxBase::CExtComboBoxBase()
    : m_nComboOptions(OPT_AUTO_COMPLETE | OPT_EDIT_THEMED_MENU | OPT_CHAR_TYPED),
      m_clrBackground(COLORREF(-1L)),
      m_clrBrush(COLORREF(-1L)),
      m_clrText(COLORREF(-1L)),
      m_pFilterPopup(NULL),
      m_nSavedPopupWidth(-1),
      m_nSavedPopupHeight(-1)
{
    EnableToolTips(TRUE);
    RegisterWithHolder();
}

CExtComboBoxBase::~CExtComboBoxBase()
{
    UnregisterFromHolder();
    FilterPopupClose();
    m_arrColumnWidths.RemoveAll();
    if (m_wndToolTip.m_hWnd != NULL && ::IsWindow(m_wndToolTip.m_hWnd))
        m_wndToolTip.DestroyWindow();
    m_brushBackground.DeleteObject();
    if (m_wndInnerEdit.m_hWnd != NULL)
        m_wndInnerEdit.UnsubclassWindow();
}

void CExtComboBoxBase::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtComboBoxBase::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtComboBoxBase::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtComboBoxBase::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

COLORREF CExtComboBoxBase::SysColor(int nIndex)
{
    CExtPaintManager* pPM = GetPaintManager();
    return pPM != NULL ? pPM->LookupColor(nIndex, this) : ::GetSysColor(nIndex);
}

int CExtComboBoxBase::GetTipMaxWidth(LPCTSTR) { return 250; }
CSize CExtComboBoxBase::GetItemMargins(int) { return CSize(2, 0); }
CSize CExtComboBoxBase::GetCellSpacing() { return CSize(4, 0); }
CSize CExtComboBoxBase::FilterPopupGetMinSize() { return CSize(40, 20); }
CSize CExtComboBoxBase::FilterPopupGetSizeLimit() { return CSize(-1, -1); }

int CExtComboBoxBase::GetColumnWidth(int nColumn)
{
    if (nColumn < 0 || nColumn >= (int)m_arrColumnWidths.GetSize())
        return 0;
    int nWidth = (int)m_arrColumnWidths[nColumn];
    return (nWidth >= 1 && nWidth <= 49) ? 50 : nWidth;
}

void CExtComboBoxBase::SetColumnWidth(int nColumn, UINT nWidth)
{
    if (nColumn < 0)
        return;
    if (nColumn >= (int)m_arrColumnWidths.GetSize())
        m_arrColumnWidths.SetSize(nColumn + 1);
    m_arrColumnWidths[nColumn] = nWidth;
}

HFONT CExtComboBoxBase::OnQueryFont()
{
    return QueryControlFont(m_hWnd);
}

bool CExtComboBoxBase::IsMultiColumn() const
{
    if (m_hWnd == NULL)
        return false;
    DWORD dwStyle = (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE);
    return (dwStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0 && (dwStyle & CBS_HASSTRINGS) != 0;
}

DWORD_PTR CExtComboBoxBase::GetRawItemData(int nItem) const
{
    return (DWORD_PTR)const_cast<CExtComboBoxBase*>(this)->CComboBox::WindowProc(CB_GETITEMDATA, nItem, 0);
}

CExtComboBoxBase::LB_ITEM* CExtComboBoxBase::GetItemRecord(int nItem) const
{
    if (!IsMultiColumn())
        return NULL;
    DWORD_PTR nRaw = GetRawItemData(nItem);
    if (nRaw == (DWORD_PTR)CB_ERR)
        return NULL;
    return (LB_ITEM*)nRaw;
}

// ---- the edit part and the window --------------------------------------------------------

void CExtComboBoxBase::AttachInnerEdit()
{
    if (m_wndInnerEdit.m_hWnd != NULL || m_hWnd == NULL)
        return;
    HWND hWndEdit = ::GetWindow(m_hWnd, GW_CHILD);
    if (hWndEdit == NULL || !::IsWindow(hWndEdit))
        return;
    if ((m_nComboOptions & OPT_EDIT_THEMED_MENU) != 0)
        m_wndInnerEdit.m_nEditFlags |= CExtEditBase::EDIT_THEMED_MENU;
    else
        m_wndInnerEdit.m_nEditFlags &= ~CExtEditBase::EDIT_THEMED_MENU;
    m_wndInnerEdit.SubclassWindow(hWndEdit);
}

CExtComboEditCtrlHook* CExtComboBoxBase::GetInnerEdit()
{
    if (m_hWnd == NULL || (GetStyle() & 0x03) == CBS_DROPDOWNLIST)
        return NULL;
    if (m_wndInnerEdit.m_hWnd == NULL || !::IsWindow(m_wndInnerEdit.m_hWnd))
        return NULL;
    return &m_wndInnerEdit;
}

void CExtComboBoxBase::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
    AttachInnerEdit();
    if ((GetStyle() & WS_CLIPCHILDREN) == 0)
    {
        ::SetWindowLong(m_hWnd, GWL_STYLE, ::GetWindowLong(m_hWnd, GWL_STYLE) | WS_CLIPCHILDREN);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

BOOL CExtComboBoxBase::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_DROPDOWN)
        FilterPopupClose();
    return CComboBox::OnChildNotify(message, wParam, lParam, pResult);
}

HBRUSH CExtComboBoxBase::CtlColor(CDC* pDC, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_EDIT && nCtlColor != CTLCOLOR_MSGBOX && nCtlColor != CTLCOLOR_STATIC)
        return NULL;
    bool bEnabled = m_hWnd != NULL && ::IsWindowEnabled(m_hWnd);
    COLORREF clrText = m_clrText != COLORREF(-1L) ? m_clrText : SysColor(bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    COLORREF clrBack =
        m_clrBackground != COLORREF(-1L) ? m_clrBackground : SysColor(bEnabled ? COLOR_WINDOW : COLOR_BTNFACE);
    pDC->SetBkColor(clrBack);
    pDC->SetTextColor(clrText);
    if (clrBack != m_clrBrush || m_brushBackground.GetSafeHandle() == NULL)
    {
        m_brushBackground.DeleteObject();
        m_brushBackground.CreateSolidBrush(clrBack);
        m_clrBrush = clrBack;
    }
    return (HBRUSH)m_brushBackground.GetSafeHandle();
}

// ---- tool tips -------------------------------------------------------------------------

bool CExtComboBoxBase::EnsureToolTip()
{
    return EnsureControlToolTip(m_wndToolTip, this);
}

void CExtComboBoxBase::SetTooltipText(LPCTSTR sText, bool bActivate)
{
    SetControlToolTipText(m_wndToolTip, this, sText, bActivate);
}

void CExtComboBoxBase::ActivateTooltip(bool bActivate)
{
    ActivateControlToolTip(m_wndToolTip, bActivate);
}

INT_PTR CExtComboBoxBase::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    HWND hWndParent = m_hWnd != NULL ? ::GetParent(m_hWnd) : NULL;
    CWnd* pBar = hWndParent != NULL ? CWnd::FromHandlePermanent(hWndParent) : NULL;
    if (pBar == NULL || !CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtToolControlBar"))
        return CComboBox::OnToolHitTest(point, pTI);
    return ForwardToolbarToolTip(const_cast<CExtComboBoxBase*>(this), pBar, m_hWnd, point, pTI);
}

// ---- messages --------------------------------------------------------------------------

LRESULT CExtComboBoxBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    {
        LRESULT lr = CComboBox::WindowProc(message, wParam, lParam);
        if (lr != CB_ERR && lr != CB_ERRSPACE && IsMultiColumn())
        {
            LB_ITEM* pItem = new LB_ITEM;
            pItem->CellInsert((LPCTSTR)lParam);
            if (CComboBox::WindowProc(CB_SETITEMDATA, (WPARAM)lr, (LPARAM)pItem) == CB_ERR)
                delete pItem;
        }
        return lr;
    }
    case CB_GETITEMDATA:
    {
        LRESULT lr = CComboBox::WindowProc(message, wParam, lParam);
        if (lr == CB_ERR || !IsMultiColumn())
            return lr;
        LB_ITEM* pItem = (LB_ITEM*)lr;
        return pItem != NULL ? (LRESULT)pItem->m_nItemData : 0;
    }
    case CB_SETITEMDATA:
        if (IsMultiColumn())
        {
            LB_ITEM* pItem = GetItemRecord((int)wParam);
            if (pItem != NULL)
                pItem->m_nItemData = (DWORD_PTR)lParam;
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORMSGBOX:
    {
        // The edit part asks its combo: the combo's own colours apply to it.
        HBRUSH hBrush = CtlColor(CDC::FromHandle((HDC)wParam), message - WM_CTLCOLORMSGBOX);
        if (hBrush != NULL)
            return (LRESULT)hBrush;
        break;
    }
    case WM_CREATE:
    {
        LRESULT lr = CComboBox::WindowProc(message, wParam, lParam);
        AttachInnerEdit();
        return lr;
    }
    case WM_ENABLE:
    {
        HWND hWndEdit = ::GetWindow(m_hWnd, GW_CHILD);
        if (hWndEdit != NULL)
        {
            ::EnableWindow(hWndEdit, TRUE);
            ::SendMessage(hWndEdit, EM_SETREADONLY, wParam ? FALSE : TRUE, 0);
        }
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        LRESULT lr = CComboBox::WindowProc(message, wParam, lParam);
        // The default enabling disables the children again: the edit stays enabled.
        if (hWndEdit != NULL && ::IsWindow(hWndEdit) && !::IsWindowEnabled(hWndEdit))
            ::EnableWindow(hWndEdit, TRUE);
        return lr;
    }
    case WM_NOTIFY:
    {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (pNMHDR != NULL && pNMHDR->code == TTN_SHOW && m_wndToolTip.m_hWnd != NULL &&
            pNMHDR->hwndFrom == m_wndToolTip.m_hWnd)
            ::SetWindowPos(m_wndToolTip.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        break;
    }
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}

BOOL CExtComboBoxBase::PreTranslateMessage(MSG* pMsg)
{
    if (!CExtPopupMenuWnd::IsMenuTracking() && EnsureToolTip())
        m_wndToolTip.RelayEvent(pMsg);
    if (HandleFilterPopupKeys(pMsg))
        return TRUE;
    if ((m_nComboOptions & OPT_AUTO_COMPLETE) != 0)
    {
        if (pMsg->message == WM_SYSCHAR)
            return TRUE;
        if (pMsg->message == WM_KEYDOWN)
        {
            if (pMsg->wParam == VK_DELETE || pMsg->wParam == VK_BACK)
                m_nComboOptions &= ~OPT_CHAR_TYPED;
            else
                m_nComboOptions |= OPT_CHAR_TYPED;
        }
    }
    else
        m_nComboOptions &= ~OPT_CHAR_TYPED;
    return CComboBox::PreTranslateMessage(pMsg);
}

// ---- owner-drawn items -----------------------------------------------------------------

void CExtComboBoxBase::MeasureItemCells(LPMEASUREITEMSTRUCT lpMIS)
{
    HDC hdc = ::GetDC(m_hWnd);
    if (hdc == NULL)
        return;
    CDC* pDC = CDC::FromHandle(hdc);
    CFont* pFont = CFont::FromHandle(OnQueryFont());
    int nItem = (int)lpMIS->itemID;
    LB_ITEM* pItem = GetItemRecord(nItem);
    int cx = 0, cy = 0;
    bool bMeasured = false;
    if (pItem == NULL)
    {
        CString sText;
        GetLBText(nItem, sText);
        if (!sText.IsEmpty())
        {
            CRect rc(0, 0, 0, 0);
            rc = CExtPaintManager::MeasureText(rc, *pDC, pFont, sText, DT_NOPREFIX | DT_SINGLELINE);
            cx = rc.Width();
            cy = rc.Height();
            bMeasured = true;
        }
    }
    else
    {
        int nSpacing = GetCellSpacing().cx;
        for (int i = 0; i < pItem->GetCellCount(); ++i)
        {
            LB_ITEM::CELL* pCell = pItem->CellGet(i);
            if (pCell == NULL || pCell->m_strText.IsEmpty())
                continue;
            UINT nFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
            if (pCell->m_strText.Find(_T('\t')) >= 0)
                nFlags |= DT_EXPANDTABS;
            CRect rc(0, 0, 0, 0);
            rc = CExtPaintManager::MeasureText(rc, *pDC, pFont, pCell->m_strText, nFlags);
            cx += rc.Width() + nSpacing;
            cy = std::max(cy, (int)rc.Height());
        }
        bMeasured = true;
    }
    ::ReleaseDC(m_hWnd, hdc);
    if (!bMeasured)
        return;
    CSize sizeMargins = GetItemMargins(nItem);
    lpMIS->itemWidth = (UINT)(cx + 2 * sizeMargins.cx);
    lpMIS->itemHeight = (UINT)(std::max(16, cy) + 2 * sizeMargins.cy);
}

void CExtComboBoxBase::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    if (lpMIS == NULL || m_hWnd == NULL || (GetStyle() & (0x200 | 0x40)) == 0)
        return;
    lpMIS->itemWidth = 16;
    lpMIS->itemHeight = 16;
    int nItem = (int)lpMIS->itemID;
    if (nItem < 0 || nItem >= GetCount())
        return;
    MeasureItemCells(lpMIS);
}

void CExtComboBoxBase::DrawItemCells(CDC* pDC, const RECT& rcItem, CSize sizeMargins, UINT nItemState,
                                     LB_ITEM* pItem)
{
    if (pDC == NULL || pItem == NULL)
        return;
    bool bSelected = (nItemState & ODS_SELECTED) != 0;
    if (bSelected)
        pDC->FillSolidRect(&rcItem, SysColor(COLOR_HIGHLIGHT));
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rcCell(rcItem);
    rcCell.DeflateRect(sizeMargins.cx, sizeMargins.cy);
    for (int i = 0; i < pItem->GetCellCount(); ++i)
    {
        LB_ITEM::CELL* pCell = pItem->CellGet(i);
        if (pCell == NULL)
            continue;
        int w = GetColumnWidth(i);
        if (pCell->m_clrBack != COLORREF(-1L) && !bSelected)
        {
            CRect rcBack(rcCell.left, rcCell.top, rcItem.right, rcCell.bottom);
            pDC->FillSolidRect(&rcBack, pCell->m_clrBack);
        }
        if (!pCell->m_strText.IsEmpty())
        {
            COLORREF clr = bSelected ? SysColor(COLOR_HIGHLIGHTTEXT)
                                     : (pCell->m_clrText != COLORREF(-1L) ? pCell->m_clrText : SysColor(COLOR_BTNTEXT));
            UINT nFlags = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
            if (pCell->m_strText.Find(_T('\t')) >= 0)
                nFlags |= DT_EXPANDTABS;
            CRect rcText(rcCell);
            if (w != 0)
                rcText.right = std::min(rcText.right, rcText.left + w);
            COLORREF clrOld = pDC->SetTextColor(clr);
            pDC->DrawText(pCell->m_strText, &rcText, nFlags);
            pDC->SetTextColor(clrOld);
        }
        if (w != 0)
            rcCell.left += w;
    }
    pDC->SetBkMode(nOldMode);
    if (bSelected)
        DrawSelectedItemFocus(pDC, rcItem, SysColor(COLOR_HIGHLIGHTTEXT));
}

void CExtComboBoxBase::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS == NULL || m_hWnd == NULL || (GetStyle() & (0x200 | 0x40)) == 0)
        return;
    int nItem = (int)lpDIS->itemID;
    if (nItem < 0 || nItem >= GetCount() || GetRawItemData(nItem) == (DWORD_PTR)CB_ERR)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rcItem(lpDIS->rcItem);
    if ((lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0)
    {
        CRect rcFill(rcItem);
        if (nItem == GetCount() - 1)
        {
            CRect rcClient;
            ::GetClientRect(lpDIS->hwndItem, &rcClient);
            if (rcClient.bottom > rcFill.bottom)
                rcFill.bottom = rcClient.bottom;
        }
        pDC->FillSolidRect(&rcFill, SysColor(COLOR_WINDOW));
    }
    LB_ITEM* pItem = GetItemRecord(nItem);
    if (pItem != NULL)
    {
        DrawItemCells(pDC, rcItem, GetItemMargins(nItem), lpDIS->itemState, pItem);
        return;
    }
    bool bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    if (bSelected)
        pDC->FillSolidRect(&rcItem, SysColor(COLOR_HIGHLIGHT));
    CString sText;
    GetLBText(nItem, sText);
    if (!sText.IsEmpty())
    {
        int nOldMode = pDC->SetBkMode(TRANSPARENT);
        COLORREF clrOld = pDC->SetTextColor(SysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
        CRect rcText(rcItem);
        rcText.DeflateRect(2, 0);
        UINT nFlags = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
        if (sText.Find(_T('\t')) >= 0)
            nFlags |= DT_EXPANDTABS;
        pDC->DrawText(sText, &rcText, nFlags);
        pDC->SetTextColor(clrOld);
        pDC->SetBkMode(nOldMode);
    }
    if (bSelected)
        DrawSelectedItemFocus(pDC, rcItem, SysColor(COLOR_HIGHLIGHTTEXT));
}

void CExtComboBoxBase::DeleteItem(LPDELETEITEMSTRUCT lpDIS)
{
    if (lpDIS == NULL)
        return;
    if (lpDIS->itemData == 0 && m_hWnd != NULL)
        lpDIS->itemData = GetRawItemData((int)lpDIS->itemID);
    if (lpDIS->itemData == 0 || lpDIS->itemData == (ULONG_PTR)CB_ERR)
    {
        CComboBox::DeleteItem(lpDIS);
        return;
    }
    if (IsMultiColumn())
    {
        LB_ITEM* pItem = (LB_ITEM*)lpDIS->itemData;
        lpDIS->itemData = pItem->m_nItemData;
        delete pItem;
    }
    CComboBox::DeleteItem(lpDIS);
}

// ---- CExtComboBox: hover and painting ----------------------------------------------------

CExtComboBox::CExtComboBox() : m_nComboFlags(0) {}
CExtComboBox::~CExtComboBox() {}

bool CExtComboBox::IsCursorOver() const
{
    POINT pt;
    if (m_hWnd == NULL || !::GetCursorPos(&pt))
        return false;
    CRect rcWnd;
    ::GetWindowRect(m_hWnd, &rcWnd);
    return rcWnd.PtInRect(pt) != FALSE;
}

bool CExtComboBox::IsFocusWithin() const
{
    HWND hWndFocus = ::GetFocus();
    return hWndFocus != NULL && m_hWnd != NULL && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus));
}

void CExtComboBox::PaintFrame(bool bPushed, bool bHover, CDC* pDC)
{
    if (m_hWnd == NULL || (GetStyle() & 0x03) == CBS_SIMPLE)
        return;
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL)
        return;
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    HDC hdcOwn = NULL;
    if (pDC == NULL)
    {
        hdcOwn = ::GetDC(m_hWnd);
        if (hdcOwn == NULL)
            return;
        pDC = CDC::FromHandle(hdcOwn);
    }
    bool bEnabled = ::IsWindowEnabled(m_hWnd) != FALSE;
    bPushed = bPushed || ::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (!IsCursorOver() && IsFocusWithin())
        bHover = true;
    if (!bEnabled)
        bPushed = bHover = false;
    if (CExtPopupMenuWnd::IsMenuTracking())
        bHover = false;
    CRect rcStrip(rc.right - ::GetSystemMetrics(SM_CXHTHUMB) - 2, rc.top, rc.right, rc.bottom);
    COLORREF clrBack =
        m_clrBackground != COLORREF(-1L) ? m_clrBackground : SysColor(bEnabled ? COLOR_WINDOW : COLOR_BTNFACE);
    pDC->FillSolidRect(&rcStrip, clrBack);
    CExtPaintManager::PAINTCOMBOBOXDATA data(this, rc, bHover, bPushed, bEnabled);
    pPM->DrawComboBoxFrame(*pDC, data);
    if (hdcOwn != NULL)
        ::ReleaseDC(m_hWnd, hdcOwn);
}

void CExtComboBox::HoverStep()
{
    HDC hdc = ::GetDC(m_hWnd);
    if (hdc == NULL)
        return;
    CDC* pDC = CDC::FromHandle(hdc);
    bool bDropped = ::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if ((m_nComboFlags & FLAG_LBUTTON_DOWN) != 0)
    {
        KillTimer(1);
        if ((m_nComboFlags & FLAG_HIGHLIGHTED) != 0)
        {
            PaintFrame(bDropped, IsCursorOver(), pDC);
            m_nComboFlags &= ~FLAG_HIGHLIGHTED;
        }
    }
    else if (IsCursorOver() || IsFocusWithin())
    {
        if ((m_nComboFlags & FLAG_HIGHLIGHTED) == 0)
        {
            m_nComboFlags |= FLAG_HIGHLIGHTED;
            PaintFrame(bDropped, true, pDC);
        }
    }
    else
    {
        KillTimer(1);
        if ((m_nComboFlags & FLAG_HIGHLIGHTED) != 0)
        {
            PaintFrame(false, false, pDC);
            m_nComboFlags &= ~FLAG_HIGHLIGHTED;
        }
    }
    ::ReleaseDC(m_hWnd, hdc);
}

void CExtComboBox::PaintCombo()
{
    DWORD dwExStyle = (DWORD)::GetWindowLong(m_hWnd, GWL_EXSTYLE);
    const DWORD dwEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME;
    if ((dwExStyle & dwEdges) != 0)
    {
        ::SetWindowLong(m_hWnd, GWL_EXSTYLE, dwExStyle & ~dwEdges);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    DWORD dwStyle = GetStyle();
    bool bDropped = ::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if ((dwStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0 && (dwStyle & 0x03) == CBS_DROPDOWNLIST)
    {
        CComboBox::WindowProc(WM_PAINT, 0, 0);
        HDC hdc = ::GetDC(m_hWnd);
        if (hdc != NULL)
        {
            PaintFrame(bDropped, IsCursorOver(), CDC::FromHandle(hdc));
            ::ReleaseDC(m_hWnd, hdc);
        }
        return;
    }
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (hdc != NULL)
    {
        CDC* pDC = CDC::FromHandle(hdc);
        CExtPaintManager::ClipOutChildren(pDC, m_hWnd);
        CRect rc;
        ::GetClientRect(m_hWnd, &rc);
        CExtMemoryDC dcMem(pDC, &rc, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
        CComboBox::DefWindowProc(WM_PAINT, (WPARAM)dcMem.m_hDC, 0);
        if ((dwStyle & 0x03) == CBS_SIMPLE)
        {
            CExtPaintManager* pPM = GetPaintManager();
            if (pPM != NULL)
            {
                bool bDone = false;
                if (pPM->UsesParentBackground(this))
                    bDone = pPM->DrawWindowBackground(true, dcMem, this);
                if (!bDone)
                    dcMem.FillSolidRect(&rc, pPM->LookupColor(1000, this));
            }
        }
        PaintFrame(bDropped, IsCursorOver(), &dcMem);
    }
    ::EndPaint(m_hWnd, &ps);
}

BOOL CExtComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_CLOSEUP && m_hWnd != NULL)
        ::InvalidateRect(m_hWnd, NULL, TRUE);
    return CExtComboBoxBase::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CExtComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_LBUTTONDOWN:
        m_nComboFlags |= FLAG_LBUTTON_DOWN;
        break;
    case WM_LBUTTONUP:
        m_nComboFlags &= ~FLAG_LBUTTON_DOWN;
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    {
        LRESULT lr = CExtComboBoxBase::WindowProc(message, wParam, lParam);
        if (m_hWnd != NULL && ::IsWindow(m_hWnd))
            ::InvalidateRect(m_hWnd, NULL, TRUE);
        return lr;
    }
    case WM_SETCURSOR:
        if (HIWORD(lParam) == WM_MOUSEMOVE)
        {
            DWORD dwPos = ::GetMessagePos();
            CPoint pt((short)LOWORD(dwPos), (short)HIWORD(dwPos));
            CRect rcWnd;
            ::GetWindowRect(m_hWnd, &rcWnd);
            if (rcWnd.PtInRect(pt))
            {
                SetTimer(1, 10, NULL);
                HoverStep();
            }
        }
        break;
    case WM_TIMER:
        if (wParam == 1)
        {
            HoverStep();
            return 0;
        }
        break;
    case WM_PAINT:
        PaintCombo();
        return 0;
    case WM_PRINTCLIENT:
    {
        LRESULT lr = CExtComboBoxBase::WindowProc(message, wParam, lParam);
        PaintFrame(::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0) != 0, IsCursorOver(),
                   CDC::FromHandle((HDC)wParam));
        return lr;
    }
    }
    return CExtComboBoxBase::WindowProc(message, wParam, lParam);
}
