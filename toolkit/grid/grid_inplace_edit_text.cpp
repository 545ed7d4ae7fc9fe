// The text editor: a standard edit over the cell. Every change of its text (typing,
// clipboard, undo, replacement) is shown to the cell, and a change the cell refuses is
// taken back with the selection as it was.
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"

IMPLEMENT_DYNAMIC(CExtGridInplaceEdit, CExtEditBase)

CExtGridInplaceEdit::CExtGridInplaceEdit(CExtGridWnd& wndGrid, CExtGridCell& cell, LONG nVisibleColNo,
                                         LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                         INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                         const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                         LONG nLastEditedRowNo)
    : CExtGIE<CExtEditBase>(wndGrid, cell, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType,
                            rcCellExtra, rcCell, rcInplaceControl, nLastEditedColNo, nLastEditedRowNo),
      m_nEditState(0)
{
}

CExtGridInplaceEdit::~CExtGridInplaceEdit() {}

COLORREF CExtGridInplaceEdit::GetInplaceBackColor() const
{
    return m_clrBackground;
}

bool CExtGridInplaceEdit::IsEditEnding() const
{
    return (m_nEditState & __EGIES_ENDING) != 0;
}

bool CExtGridInplaceEdit::Create()
{
    HWND hWndGrid = m_wndGrid.GetSafeHwnd();
    if (hWndGrid == NULL || !::IsWindow(hWndGrid))
        return AbortCreate();
    DWORD dwAreaFlags = GetAreaFlags();
    if (!CreateEditorFont(m_font))
        return AbortCreate();

    UINT nDrawTextFlags = m_cell.OnQueryDrawTextFlags(true, true, false);
    DWORD dwStyle = WS_CHILD | ES_AUTOHSCROLL;
    if (nDrawTextFlags & DT_WORDBREAK)
        dwStyle = WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL;
    if (nDrawTextFlags & DT_RIGHT)
        dwStyle |= ES_RIGHT;
    else if (nDrawTextFlags & DT_CENTER)
        dwStyle |= ES_CENTER;
    (void)dwAreaFlags;

    COLORREF clrText = COLORREF(-1), clrBack = COLORREF(-1);
    bool bReadOnly = false, bPassword = false;
    QueryEditorColors(clrText, clrBack, bReadOnly, bPassword);
    if (clrText != COLORREF(-1))
        m_clrText = clrText;
    if (clrBack != COLORREF(-1))
        m_clrBackground = clrBack;
    if ((m_cell.GetStyle() & CExtGridCell::__EGCS_READ_ONLY) != 0 || bReadOnly)
        dwStyle |= ES_READONLY;
    if (bPassword)
        dwStyle |= ES_PASSWORD;

    m_nEditState |= __EGIES_CREATING;
    HWND hWnd = ::CreateWindowEx(0, _T("EDIT"), _T(""), dwStyle, m_rcInplaceControl.left, m_rcInplaceControl.top,
                                 m_rcInplaceControl.Width(), m_rcInplaceControl.Height(), hWndGrid, NULL,
                                 AfxGetInstanceHandle(), NULL);
    if (hWnd == NULL)
        return AbortCreate();
    if (!SubclassWindow(hWnd))
    {
        ::DestroyWindow(hWnd);
        return AbortCreate();
    }
    m_dwGieFlags |= __EGIEF_AUTO_DELETE;
    if (bPassword)
        SendMessage(EM_SETPASSWORDCHAR, (WPARAM)(BYTE)m_cell.GetPasswordChar(), 0);

    CString sText;
    m_cell.TextGetForEdit(sText);
    m_sTextAccepted = sText;
    m_sTextInitial = sText;
    if (!sText.IsEmpty())
        SetWindowText(sText);
    SetFont(&m_font, TRUE);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    if (clrText != COLORREF(-1) || clrBack != COLORREF(-1))
        Invalidate();

    // Arriving from the neighbouring cell of the same row keeps the caret on the side
    // the user came from; any other arrival selects the whole text. A start of -1 would
    // only drop the selection and leave the caret at the start: the end is asked for by
    // the text's length.
    if (m_nLastEditedRowNo == m_nRowNo && m_nLastEditedColNo == m_nColNo - 1)
        SendMessage(EM_SETSEL, 0, 0);
    else if (m_nLastEditedRowNo == m_nRowNo && m_nLastEditedColNo == m_nColNo + 1)
    {
        int nLength = GetWindowTextLength();
        SendMessage(EM_SETSEL, (WPARAM)nLength, (LPARAM)nLength);
    }
    else
        SendMessage(EM_SETSEL, 0, (LPARAM)-1);
    SendMessage(EM_SCROLLCARET, 0, 0);

    ShowAndFocus();
    m_nEditState &= ~__EGIES_CREATING;
    return true;
}

bool CExtGridInplaceEdit::VerifyText(const CString& sTextInitial, CString& sTextPrevious, CString& sTextNew,
                                     bool bApplying)
{
    return m_cell.OnInplaceControlTextInputVerify(m_hWnd, m_wndGrid, m_nColNo, m_nRowNo, m_nColType, m_nRowType,
                                                  sTextInitial, sTextPrevious, sTextNew, bApplying);
}

void CExtGridInplaceEdit::EndEditing(bool bApply)
{
    HWND hWndSelf = m_hWnd;
    HWND hWndGrid = m_wndGrid.GetSafeHwnd();
    CString sText = m_sTextAccepted;
    m_cell.OnInplaceControlApply(hWndSelf, m_wndGrid, m_nColNo, m_nRowNo, m_nColType, m_nRowType, sText, bApply);
    DestroyAfterApply(hWndSelf, hWndGrid);
}

bool CExtGridInplaceEdit::DoEndEdit(bool bApply)
{
    return CommitEdit(
        bApply, m_nEditState, __EGIES_ENDING, m_sTextAccepted,
        [this]() {
            CString sTextNew;
            GetWindowText(sTextNew);
            return sTextNew;
        },
        [this](CString& sTextNew) { return VerifyText(m_sTextInitial, m_sTextAccepted, sTextNew, true); });
}

bool CExtGridInplaceEdit::CanLeaveByKey(UINT nChar) const
{
    if (!CanLeaveCellByKey(nChar))
        return false;
    if (nChar == VK_UP || nChar == VK_DOWN)
        return true;
    // Left and right leave only from the caret at the text's start or end.
    DWORD dwSel = (DWORD)::SendMessage(m_hWnd, EM_GETSEL, 0, 0);
    int nStart = (int)LOWORD(dwSel), nEnd = (int)HIWORD(dwSel);
    if (nStart != nEnd)
        return false;
    if (nChar == VK_LEFT)
        return nStart == 0;
    return nEnd == ::GetWindowTextLength(m_hWnd);
}

LRESULT CExtGridInplaceEdit::OnEditKeyDown(UINT nChar, WPARAM wParam, LPARAM lParam)
{
    switch (nChar)
    {
    case VK_TAB:
        MoveFocusToNextControl();
        return 0;
    case VK_RETURN:
        if ((m_cell.GetStyleEx() & CExtGridCell::__EGCS_EX_WRAP_TEXT) != 0 &&
            (::GetKeyState(VK_CONTROL) & 0x8000) != 0)
            break;
        DoEndEdit(true);
        return 0;
    case VK_ESCAPE:
        DoEndEdit(false);
        return 0;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if (CanLeaveByKey(nChar))
            return NavigateByKey(nChar, wParam, lParam);
        break;
    default:
        break;
    }
    return DoVerifiedInput(WM_KEYDOWN, wParam, lParam);
}

LRESULT CExtGridInplaceEdit::DoVerifiedInput(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_nEditState & (__EGIES_CREATING | __EGIES_VERIFYING))
        return CExtGIE<CExtEditBase>::WindowProc(message, wParam, lParam);
    HWND hWndSelf = m_hWnd;
    m_nEditState |= __EGIES_VERIFYING;
    CString sSaved;
    GetWindowText(sSaved);
    DWORD dwSelStart = 0, dwSelEnd = 0;
    ::SendMessage(hWndSelf, EM_GETSEL, (WPARAM)&dwSelStart, (LPARAM)&dwSelEnd);
    LRESULT lResult = CExtGIE<CExtEditBase>::WindowProc(message, wParam, lParam);
    if (!::IsWindow(hWndSelf) || CWnd::FromHandlePermanent(hWndSelf) != this)
        return lResult;
    CString sTextNew;
    GetWindowText(sTextNew);
    if (VerifyText(m_sTextInitial, m_sTextAccepted, sTextNew, false))
        m_sTextAccepted = sTextNew;
    else if (::IsWindow(hWndSelf) && CWnd::FromHandlePermanent(hWndSelf) == this)
    {
        SetRedraw(FALSE);
        ::SendMessage(hWndSelf, EM_SETSEL, 0, (LPARAM)-1);
        ::SendMessage(hWndSelf, EM_REPLACESEL, FALSE, (LPARAM)(LPCTSTR)sSaved);
        ::SendMessage(hWndSelf, EM_SETSEL, (WPARAM)dwSelStart, (LPARAM)dwSelEnd);
        SetRedraw(TRUE);
        ::RedrawWindow(hWndSelf, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    }
    if (::IsWindow(hWndSelf) && CWnd::FromHandlePermanent(hWndSelf) == this)
        m_nEditState &= ~__EGIES_VERIFYING;
    return lResult;
}

LRESULT CExtGridInplaceEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (OfferToCell(lResult, message, wParam, lParam))
        return lResult;
    switch (message)
    {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_KILLFOCUS:
    {
        HWND hWndSelf = m_hWnd;
        lResult = CExtGIE<CExtEditBase>::WindowProc(message, wParam, lParam);
        if (::IsWindow(hWndSelf) && CWnd::FromHandlePermanent(hWndSelf) == this && !IsCreating())
            DoEndEdit(true);
        return lResult;
    }
    case WM_ACTIVATEAPP:
        if (wParam == FALSE)
            DoEndEdit(false);
        return 0;
    case WM_CANCELMODE:
        DoEndEdit(false);
        return 0;
    case WM_KEYDOWN:
        return OnEditKeyDown((UINT)wParam, wParam, lParam);
    case WM_CHAR:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_SETTEXT:
    case EM_REPLACESEL:
        return DoVerifiedInput(message, wParam, lParam);
    default:
        break;
    }
    return CExtGIE<CExtEditBase>::WindowProc(message, wParam, lParam);
}
