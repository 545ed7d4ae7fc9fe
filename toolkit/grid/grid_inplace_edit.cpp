// The editor template: the editing context, the cell's first look at every message, the
// thin non-client border, and the steps that all four editors share (font, colours,
// showing, keyboard navigation out of the editor).
#include "toolkit/grid/grid_inplace_edit.h"
#include <type_traits>
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"

CExtGridInplaceControl* CExtGridInplaceControl::FromHandle(HWND hWnd)
{
    if (hWnd == NULL || !::IsWindow(hWnd))
        return NULL;
    return dynamic_cast<CExtGridInplaceControl*>(CWnd::FromHandlePermanent(hWnd));
}

bool CExtGridInplaceControl::stat_EndEdit(HWND hWnd, bool bApply)
{
    CExtGridInplaceControl* pEditor = FromHandle(hWnd);
    if (pEditor == NULL)
        return false;
    return pEditor->DoEndEdit(bApply);
}

template <class T>
CExtGIE<T>::CExtGIE(CExtGridWnd& wndGrid, CExtGridCell& cell, LONG nVisibleColNo, LONG nVisibleRowNo,
                    LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                    const RECT& rcCell, const RECT& rcInplaceControl, LONG nLastEditedColNo,
                    LONG nLastEditedRowNo)
    : m_wndGrid(wndGrid), m_cell(cell), m_nVisibleColNo(nVisibleColNo), m_nVisibleRowNo(nVisibleRowNo),
      m_nColNo(nColNo), m_nRowNo(nRowNo), m_nColType(nColType), m_nRowType(nRowType),
      m_rcCellExtra(rcCellExtra), m_rcCell(rcCell), m_rcInplaceControl(rcInplaceControl),
      m_rcNcMargins(3, 2, 2, 2), m_dwGieFlags(0), m_nLastEditedColNo(nLastEditedColNo),
      m_nLastEditedRowNo(nLastEditedRowNo)
{
    m_rcInplaceControl.InflateRect(1, 1);
    if (m_rcNcMargins.left < 0)
        m_rcNcMargins.left = 0;
    if (m_rcNcMargins.top < 0)
        m_rcNcMargins.top = 0;
    if (m_rcNcMargins.right < 0)
        m_rcNcMargins.right = 0;
    if (m_rcNcMargins.bottom < 0)
        m_rcNcMargins.bottom = 0;
    if ((cell.GetStyleEx() & CExtGridCell::__EGCS_EX_NO_INPLACE_CONTROL_BORDER) == 0)
        m_dwGieFlags |= __EGIEF_BORDER;
}

template <class T>
CExtGIE<T>::~CExtGIE()
{
    m_strTextBuffer.Empty();
}

template <class T>
DWORD CExtGIE<T>::GetAreaFlags() const
{
    return CExtGridHitTestInfo::AreaFlagsFromTypes(m_nColType, m_nRowType);
}

template <class T>
BOOL CExtGIE<T>::PreTranslateMessage(MSG* pMsg)
{
    if (!IsEditEnding())
    {
        CExtGridHitTestInfo hti;
        hti.m_nColNo = m_nColNo;
        hti.m_nRowNo = m_nRowNo;
        hti.m_nVisibleColNo = m_nVisibleColNo;
        hti.m_nVisibleRowNo = m_nVisibleRowNo;
        hti.m_dwAreaFlags = GetAreaFlags();
        hti.m_rcItem = m_rcCell;
        hti.m_rcExtra = m_rcCellExtra;
        HWND hWndSelf = this->m_hWnd;
        if (m_cell.OnInplaceControlKey(pMsg, hWndSelf, m_wndGrid, hti, m_rcCellExtra, m_rcCell))
            return TRUE;
        // The cell may have ended the editor, which is then gone with this object.
        if (!::IsWindow(hWndSelf))
            return TRUE;
    }
    return T::PreTranslateMessage(pMsg);
}

template <class T>
bool CExtGIE<T>::OfferToCell(LRESULT& lResult, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsEditEnding())
        return false;
    return m_cell.OnInplaceControlWindowProc(lResult, message, wParam, lParam, this->m_hWnd, m_wndGrid,
                                             m_nVisibleColNo, m_nVisibleRowNo, m_nColNo, m_nRowNo,
                                             m_nColType, m_nRowType, m_rcCellExtra, m_rcCell,
                                             m_rcInplaceControl);
}

template <class T>
LRESULT CExtGIE<T>::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_NCCALCSIZE:
    {
        // Both forms carry the proposed client rectangle first.
        RECT* pRect = wParam ? &((NCCALCSIZE_PARAMS*)lParam)->rgrc[0] : (RECT*)lParam;
        if (pRect != NULL)
        {
            pRect->left += m_rcNcMargins.left;
            pRect->top += m_rcNcMargins.top;
            pRect->right -= m_rcNcMargins.right;
            pRect->bottom -= m_rcNcMargins.bottom;
            if (pRect->right < pRect->left)
                pRect->right = pRect->left;
            if (pRect->bottom < pRect->top)
                pRect->bottom = pRect->top;
        }
        return 0;
    }
    case WM_NCPAINT:
    {
        CRect rcWnd, rcClient;
        this->GetWindowRect(&rcWnd);
        this->GetClientRect(&rcClient);
        this->ClientToScreen(&rcClient);
        if (rcWnd == rcClient)
            return 0;
        rcClient.OffsetRect(-rcWnd.left, -rcWnd.top);
        rcWnd.OffsetRect(-rcWnd.left, -rcWnd.top);
        HDC hDC = ::GetWindowDC(this->m_hWnd);
        if (hDC == NULL)
            return 0;
        ::ExcludeClipRect(hDC, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
        COLORREF clrBack = GetInplaceBackColor();
        if (clrBack == COLORREF(-1))
            clrBack = m_wndGrid.GetColor(COLOR_WINDOW);
        HBRUSH hBrush = ::CreateSolidBrush(clrBack);
        ::FillRect(hDC, &rcWnd, hBrush);
        ::DeleteObject(hBrush);
        if (m_dwGieFlags & __EGIEF_BORDER)
        {
            HBRUSH hFrame = ::CreateSolidBrush(m_wndGrid.GetColor(COLOR_3DDKSHADOW));
            ::FrameRect(hDC, &rcWnd, hFrame);
            ::DeleteObject(hFrame);
        }
        ::ReleaseDC(this->m_hWnd, hDC);
        return 0;
    }
    case WM_CONTEXTMENU:
        if constexpr (std::is_base_of<CExtEditBase, T>::value)
            return T::WindowProc(message, wParam, lParam);
        else
            return this->DefWindowProc(message, wParam, lParam);
    default:
        break;
    }
    return T::WindowProc(message, wParam, lParam);
}

template <class T>
void CExtGIE<T>::PostNcDestroy()
{
    T::PostNcDestroy();
    if (m_dwGieFlags & __EGIEF_AUTO_DELETE)
        delete this;
}

template <class T>
bool CExtGIE<T>::CanNavigateByKey(UINT nChar) const
{
    if (!IsInnerCell())
        return false;
    if ((::GetKeyState(VK_CONTROL) & 0x8000) != 0 || (::GetKeyState(VK_SHIFT) & 0x8000) != 0)
        return false;
    DWORD dwBehavior = m_wndGrid.GetBehaviorStyle();
    switch (nChar)
    {
    case VK_LEFT:
    case VK_RIGHT:
        return (dwBehavior & 0x20) != 0 && m_wndGrid.GetScrollTypeH() != 3;
    case VK_UP:
    case VK_DOWN:
        return (dwBehavior & 0x40) != 0 && m_wndGrid.GetScrollTypeV() != 3;
    default:
        return false;
    }
}

template <class T> bool CExtGIE<T>::CanLeaveCellByKey(UINT nChar) const
{
    if (!CanNavigateByKey(nChar))
        return false;
    if (nChar == VK_LEFT)
        return m_nColNo != 0;
    if (nChar == VK_RIGHT)
        return m_nColNo != m_wndGrid.GetColumnCount() - 1;
    return true;
}

template <class T>
LRESULT CExtGIE<T>::NavigateByKey(UINT nChar, WPARAM wParam, LPARAM lParam)
{
    // Applying destroys this editor: keep what the rest of the step needs.
    CExtGridWnd* pWndGrid = &m_wndGrid;
    HWND hWndGrid = m_wndGrid.GetSafeHwnd();
    HWND hWndSelf = this->m_hWnd;
    DoEndEdit(true);
    if (hWndGrid == NULL || !::IsWindow(hWndGrid))
        return 0;
    LRESULT lResult = ::SendMessage(hWndGrid, WM_KEYDOWN, (WPARAM)nChar, lParam);
    (void)wParam;
    if (::IsWindow(hWndGrid) && CWnd::FromHandlePermanent(hWndGrid) == pWndGrid && !::IsWindow(hWndSelf))
    {
        // The grid edits at its new focus the way it edits any cell: with its own loop.
        const RECT rcNone = {0, 0, 0, 0};
        pWndGrid->EditCellAt(-1, -1, 0, 0, rcNone, rcNone, rcNone, true);
    }
    return lResult;
}

template <class T>
bool CExtGIE<T>::CreateEditorFont(CFont& fontOut)
{
    bool bDelete = false;
    HFONT hFont = m_cell.OnQueryCellFont(&m_wndGrid, m_nColNo, m_nRowNo, m_nColType, m_nRowType, &bDelete);
    bool bDeleteCellFont = hFont != NULL && bDelete;
    if (hFont == NULL)
        hFont = (HFONT)::SendMessage(m_wndGrid.GetSafeHwnd(), WM_GETFONT, 0, 0);
    if (hFont == NULL)
        hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (hFont == NULL)
        hFont = (HFONT)::GetStockObject(SYSTEM_FONT);
    if (hFont == NULL)
        return false;
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    int nRead = ::GetObject(hFont, sizeof(lf), &lf);
    if (bDeleteCellFont)
        ::DeleteObject(hFont);
    if (nRead == 0)
        return false;
    return fontOut.CreateFontIndirect(&lf) != FALSE;
}

template <class T>
void CExtGIE<T>::QueryEditorColors(COLORREF& clrText, COLORREF& clrBack, bool& bReadOnly, bool& bPassword)
{
    COLORREF clrTraitsText = COLORREF(-1), clrTraitsBack = COLORREF(-1);
    bReadOnly = false;
    bPassword = false;
    m_cell.OnInplaceControlQueryOptions(m_wndGrid, this->m_hWnd, m_nVisibleColNo, m_nVisibleRowNo, m_nColNo,
                                        m_nRowNo, m_nColType, m_nRowType, GetAreaFlags(), &bReadOnly, &bPassword,
                                        &clrTraitsText, &clrTraitsBack);
    // A disabled cell edits read-only whatever its traits say.
    if (m_cell.GetStyle() & CExtGridCell::__EGCS_READ_ONLY)
        bReadOnly = true;
    clrText = m_cell.TextColorGet(CExtGridCell::__ECS_ALL);
    if (clrText == COLORREF(-1))
        clrText = m_cell.TextColorGet(CExtGridCell::__ECS_NORMAL);
    if (clrText == COLORREF(-1))
        clrText = clrTraitsText;
    clrBack = m_cell.BackColorGet(CExtGridCell::__ECS_ALL);
    if (clrBack == COLORREF(-1))
        clrBack = m_cell.BackColorGet(CExtGridCell::__ECS_NORMAL);
    if (clrBack == COLORREF(-1))
        clrBack = clrTraitsBack;
    if (clrBack == COLORREF(-1) && bReadOnly)
        clrBack = m_wndGrid.GetColor(COLOR_WINDOW);
}

template <class T>
bool CExtGIE<T>::AbortCreate()
{
    m_dwGieFlags &= ~DWORD(__EGIEF_AUTO_DELETE);
    if (this->GetSafeHwnd() != NULL && ::IsWindow(this->m_hWnd))
        this->DestroyWindow();
    delete this;
    return false;
}

template <class T>
void CExtGIE<T>::ShowAndFocus()
{
    ::SetWindowPos(this->m_hWnd, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    ::SetFocus(this->m_hWnd);
}

template <class T>
void CExtGIE<T>::MoveFocusToNextControl()
{
    HWND hWndGrid = m_wndGrid.GetSafeHwnd();
    if (hWndGrid == NULL || (::GetWindowLong(hWndGrid, GWL_STYLE) & WS_POPUP) != 0)
        return;
    HWND hWndParent = ::GetParent(hWndGrid);
    if (hWndParent == NULL)
        return;
    bool bPrevious = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    ::SendMessage(hWndParent, WM_NEXTDLGCTL, bPrevious ? 1 : 0, 0);
}

template <class T> void CExtGIE<T>::DestroyAfterApply(HWND hWndSelf, HWND hWndGrid)
{
    // The cell or the grid may have destroyed the window, and this editor with it.
    if (hWndSelf == NULL || !::IsWindow(hWndSelf) || CWnd::FromHandlePermanent(hWndSelf) != this)
        return;
    HWND hWndFocus = ::GetFocus();
    if (hWndGrid != NULL && (hWndFocus == hWndSelf || ::IsChild(hWndSelf, hWndFocus)))
        ::SetFocus(hWndGrid);
    if (::IsWindow(hWndSelf) && CWnd::FromHandlePermanent(hWndSelf) == this)
        this->DestroyWindow();
}

template class CExtGIE<CExtEditBase>;
template class CExtGIE<CExtDateTimeWnd>;
template class CExtGIE<CExtSliderWnd>;
template class CExtGIE<CIPAddressCtrl>;
