// The date-time, slider and address editors. Unlike the text editor they keep a value
// rather than a text: each change of the control's value is shown to the cell, and only
// a value the cell accepted is handed back when editing ends.
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"

IMPLEMENT_DYNAMIC(CExtGridInplaceDateTime, CExtDateTimeWnd)
IMPLEMENT_DYNAMIC(CExtGridInplaceSlider, CExtSliderWnd)
IMPLEMENT_DYNAMIC(CExtGridInplaceEditIPAddress, CIPAddressCtrl)

namespace
{
// DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS: the arrows stay the dialog's unless
// the editor's own key handling takes them.
const LRESULT g_nDlgCodeFieldEditors = DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;

bool IsSelfOrChild(HWND hWndSelf, HWND hWnd)
{
    return hWnd != NULL && (hWnd == hWndSelf || ::IsChild(hWndSelf, hWnd));
}

// The editor is gone when its window is gone or no longer belongs to it.
bool IsAlive(HWND hWndSelf, const CWnd* pWnd)
{
    return hWndSelf != NULL && ::IsWindow(hWndSelf) && CWnd::FromHandlePermanent(hWndSelf) == pWnd;
}

bool IsArrowKey(WPARAM wParam)
{
    return wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN;
}
}  // namespace

template <class T>
bool CExtGIE<T>::HandleValueEditorMessage(UINT message, WPARAM wParam, LPARAM lParam, const BYTE& nEditState,
                                          BYTE nCreatingBit, bool bLeave, LRESULT& lResult)
{
    HWND hWndSelf = this->m_hWnd;
    lResult = 0;
    switch (message)
    {
    case WM_GETDLGCODE:
        lResult = g_nDlgCodeFieldEditors;
        return true;
    case WM_KILLFOCUS:
        lResult = CExtGIE<T>::WindowProc(message, wParam, lParam);
        // The editor's own buttons and fields may take the focus without ending the edit.
        if (IsAlive(hWndSelf, this) && (nEditState & nCreatingBit) == 0 && !IsSelfOrChild(hWndSelf, (HWND)wParam))
            DoEndEdit(true);
        return true;
    case WM_ACTIVATEAPP:
        if (wParam == FALSE)
            DoEndEdit(false);
        return true;
    case WM_CANCELMODE:
        DoEndEdit(false);
        return true;
    case WM_KEYDOWN:
        switch (wParam)
        {
        case VK_TAB:
            MoveFocusToNextControl();
            return true;
        case VK_RETURN:
            DoEndEdit(true);
            return true;
        case VK_ESCAPE:
            DoEndEdit(false);
            return true;
        default:
            if (IsArrowKey(wParam) && bLeave)
            {
                lResult = NavigateByKey((UINT)wParam, wParam, lParam);
                return true;
            }
            return false;
        }
    default:
        return false;
    }
}

// ---- date-time editor ---------------------------------------------------------------

CExtGridInplaceDateTime::CExtGridInplaceDateTime(CExtGridWnd& wndGrid, CExtGridCell& cell, LONG nVisibleColNo,
                                                 LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                                 INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                                 const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                                 LONG nLastEditedRowNo)
    : CExtGIE<CExtDateTimeWnd>(wndGrid, cell, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType,
                               rcCellExtra, rcCell, rcInplaceControl, nLastEditedColNo, nLastEditedRowNo),
      m_nEditState(0)
{
    m_dtInitial.SetStatus(COleDateTime::null);
    m_dtAccepted.SetStatus(COleDateTime::null);
    m_bAutoDeleteWindow = false;
}

CExtGridInplaceDateTime::~CExtGridInplaceDateTime() {}

COLORREF CExtGridInplaceDateTime::GetInplaceBackColor() const
{
    return GetBkColor();
}

bool CExtGridInplaceDateTime::IsEditEnding() const
{
    return (m_nEditState & __EGIDS_ENDING) != 0;
}

HFONT CExtGridInplaceDateTime::OnQueryFont()
{
    if (m_font.GetSafeHandle() != NULL)
        return (HFONT)m_font.GetSafeHandle();
    return CExtDateTimeWnd::OnQueryFont();
}

bool CExtGridInplaceDateTime::Create(const COleDateTime& dtValue, int nMode, int nFormatValue,
                                     const bool* pbItemVisible)
{
    if (m_wndGrid.GetSafeHwnd() == NULL || !::IsWindow(m_wndGrid.GetSafeHwnd()))
        return AbortCreate();
    if (!CreateEditorFont(m_font))
        return AbortCreate();
    COLORREF clrText = COLORREF(-1), clrBack = COLORREF(-1);
    bool bReadOnly = false, bPassword = false;
    QueryEditorColors(clrText, clrBack, bReadOnly, bPassword);
    if (clrText != COLORREF(-1))
        SetTextColor(clrText);
    if (clrBack != COLORREF(-1))
        SetBkColor(clrBack);

    m_nEditState |= __EGIDS_CREATING;
    bool bCreated = false;
    try
    {
        bCreated = CExtDurationWnd::Create(&m_wndGrid, m_rcInplaceControl, UINT(-1),
                                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP);
    }
    catch (CException* pException)
    {
        pException->Delete();
        bCreated = false;
    }
    if (!bCreated)
        return AbortCreate();
    m_dwGieFlags |= __EGIEF_AUTO_DELETE;

    SetMode(nMode);
    SetFormatValue(nFormatValue);
    if (pbItemVisible != NULL)
    {
        // Items 0-2 of the cell's visibility are the date's, 3-6 the time's.
        static const int g_arrKinds[7] = {__EIT_YEAR, __EIT_MONTH, __EIT_DAY, __EIT_HOUR,
                                          __EIT_MINUTE, __EIT_SECOND, __EIT_DESIGNATOR};
        for (int i = 0; i < 7; ++i)
        {
            bool bDateItem = i < 3;
            if (bDateItem ? (nMode == __EDTM_ALL || nMode == __EDTM_DATE)
                          : (nMode == __EDTM_ALL || nMode == __EDTM_TIME))
                ItemShow(g_arrKinds[i], pbItemVisible[i], false);
        }
    }
    UINT nDrawTextFlags = m_cell.OnQueryDrawTextFlags(true, false, false);
    SetLayoutValue((nDrawTextFlags & DT_RIGHT) ? 1 : ((nDrawTextFlags & DT_CENTER) ? 2 : 0));
    if (m_cell.GetStyle() & CExtGridCell::__EGCS_READ_ONLY)
        EnableWindow(FALSE);
    m_dtInitial = dtValue;
    m_dtAccepted = dtValue;
    SetDateTime(dtValue, false, true);
    UpdateDurationWnd(true, true);

    ShowAndFocus();
    m_nEditState &= ~__EGIDS_CREATING;
    return true;
}

bool CExtGridInplaceDateTime::VerifyDateTime(const COleDateTime& dtOld, const COleDateTime& dtNew, bool bApplying)
{
    return m_cell.OnInplaceControlDateTimeInputVerify(m_hWnd, m_wndGrid, m_nColNo, m_nRowNo, m_nColType,
                                                      m_nRowType, dtOld, dtNew, bApplying);
}

bool CExtGridInplaceDateTime::OnDateTimeChanging(const COleDateTime& dtOld, const COleDateTime& dtNew)
{
    if (m_nEditState & __EGIDS_CREATING)
        return true;
    if (m_nEditState & __EGIDS_ENDING)
        return false;
    if (!VerifyDateTime(m_dtAccepted, dtNew, false))
        return false;
    (void)dtOld;
    m_dtAccepted = dtNew;
    return true;
}

void CExtGridInplaceDateTime::EndEditing(bool bApply)
{
    HWND hWndSelf = m_hWnd;
    HWND hWndGrid = m_wndGrid.GetSafeHwnd();
    COleDateTime dtValue = m_dtAccepted;
    m_cell.OnInplaceControlApplyDateTime(hWndSelf, m_wndGrid, m_nColNo, m_nRowNo, m_nColType, m_nRowType, dtValue,
                                         bApply);
    DestroyAfterApply(hWndSelf, hWndGrid);
}

bool CExtGridInplaceDateTime::DoEndEdit(bool bApply)
{
    return CommitEdit(
        bApply, m_nEditState, __EGIDS_ENDING, m_dtAccepted, [this]() { return GetDateTime(); },
        [this](const COleDateTime& dtNew) { return VerifyDateTime(m_dtAccepted, dtNew, true); });
}

bool CExtGridInplaceDateTime::CanLeaveByKey(UINT nChar) const
{
    if (!CanLeaveCellByKey(nChar))
        return false;
    if (nChar == VK_UP || nChar == VK_DOWN)
        return true;
    // Left and right leave only from the first or last visible item.
    ITEM_INFO* pItem = GetItemArrayData();
    if (nChar == VK_LEFT)
        return pItem == NULL || IsFirstVisibleItem(pItem);
    return pItem == NULL || IsLastVisibleItem(pItem);
}

LRESULT CExtGridInplaceDateTime::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (OfferToCell(lResult, message, wParam, lParam))
        return lResult;
    const bool bLeave = message == WM_KEYDOWN && IsArrowKey(wParam) && CanLeaveByKey((UINT)wParam);
    if (HandleValueEditorMessage(message, wParam, lParam, m_nEditState, __EGIDS_CREATING, bLeave, lResult))
        return lResult;
    return CExtGIE<CExtDateTimeWnd>::WindowProc(message, wParam, lParam);
}

// ---- slider editor ------------------------------------------------------------------

CExtGridInplaceSlider::CExtGridInplaceSlider(CExtGridWnd& wndGrid, CExtGridCell& cell, LONG nVisibleColNo,
                                             LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                             INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                             const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                             LONG nLastEditedRowNo)
    : CExtGIE<CExtSliderWnd>(wndGrid, cell, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType,
                             rcCellExtra, rcCell, rcInplaceControl, nLastEditedColNo, nLastEditedRowNo),
      m_nEditState(0), m_nPosInitial(0), m_nPosAccepted(0)
{
}

CExtGridInplaceSlider::~CExtGridInplaceSlider() {}

COLORREF CExtGridInplaceSlider::GetInplaceBackColor() const
{
    return GetBkColor();
}

bool CExtGridInplaceSlider::IsEditEnding() const
{
    return (m_nEditState & __EGISS_ENDING) != 0;
}

bool CExtGridInplaceSlider::Create(int nLineSize, int nPageSize, int nRangeMin, int nRangeMax, int nPos)
{
    if (m_wndGrid.GetSafeHwnd() == NULL || !::IsWindow(m_wndGrid.GetSafeHwnd()))
        return AbortCreate();
    if (!CreateEditorFont(m_font))
        return AbortCreate();
    COLORREF clrText = COLORREF(-1), clrBack = COLORREF(-1);
    bool bReadOnly = false, bPassword = false;
    QueryEditorColors(clrText, clrBack, bReadOnly, bPassword);
    if (clrBack == COLORREF(-1))
        clrBack = m_wndGrid.GetColor(COLOR_WINDOW);

    // Set before the window exists: a colour change of a live slider bounces the focus.
    SetBkColor(clrBack);
    m_nEditState |= __EGISS_CREATING;
    if (!CSliderCtrl::Create(WS_CHILD | TBS_TOOLTIPS, m_rcInplaceControl, &m_wndGrid, UINT(-1)))
        return AbortCreate();
    m_dwGieFlags |= __EGIEF_AUTO_DELETE;
    SendMessage(TBM_SETTIPSIDE, TBTS_BOTTOM, 0);
    if ((m_cell.GetStyle() & CExtGridCell::__EGCS_READ_ONLY) != 0 || bReadOnly)
        EnableWindow(FALSE);
    SendMessage(TBM_SETLINESIZE, 0, nLineSize);
    SendMessage(TBM_SETPAGESIZE, 0, nPageSize);
    SendMessage(TBM_SETRANGEMIN, FALSE, nRangeMin);
    SendMessage(TBM_SETRANGEMAX, FALSE, nRangeMax);
    SendMessage(TBM_SETPOS, TRUE, nPos);
    m_nPosInitial = m_nPosAccepted = (int)SendMessage(TBM_GETPOS, 0, 0);

    ShowAndFocus();
    m_nEditState &= ~__EGISS_CREATING;
    return true;
}

bool CExtGridInplaceSlider::VerifyPosition(int nPosOld, int nPosNew, bool bApplying)
{
    return m_cell.OnInplaceControlPositionInputVerify(m_hWnd, m_wndGrid, m_nColNo, m_nRowNo, m_nColType,
                                                      m_nRowType, nPosOld, nPosNew, bApplying);
}

void CExtGridInplaceSlider::OnPositionChanged()
{
    if (m_nEditState & (__EGISS_CREATING | __EGISS_ENDING))
        return;
    HWND hWndSelf = m_hWnd;
    int nPosNew = (int)::SendMessage(hWndSelf, TBM_GETPOS, 0, 0);
    if (nPosNew == m_nPosAccepted)
        return;
    bool bAccepted = VerifyPosition(m_nPosAccepted, nPosNew, false);
    if (!IsAlive(hWndSelf, this))
        return;
    if (bAccepted)
        m_nPosAccepted = nPosNew;
    else
        ::SendMessage(hWndSelf, TBM_SETPOS, TRUE, m_nPosAccepted);
}

void CExtGridInplaceSlider::EndEditing(bool bApply)
{
    HWND hWndSelf = m_hWnd;
    HWND hWndGrid = m_wndGrid.GetSafeHwnd();
    m_cell.OnInplaceControlApplyInteger(hWndSelf, m_wndGrid, m_nColNo, m_nRowNo, m_nColType, m_nRowType,
                                        m_nPosAccepted, bApply);
    DestroyAfterApply(hWndSelf, hWndGrid);
}

bool CExtGridInplaceSlider::DoEndEdit(bool bApply)
{
    return CommitEdit(
        bApply, m_nEditState, __EGISS_ENDING, m_nPosAccepted,
        [this]() { return (int)::SendMessage(m_hWnd, TBM_GETPOS, 0, 0); },
        [this](int nPosNew) { return VerifyPosition(m_nPosAccepted, nPosNew, true); });
}

LRESULT CExtGridInplaceSlider::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (OfferToCell(lResult, message, wParam, lParam))
        return lResult;
    const bool bLeave = message == WM_KEYDOWN && IsArrowKey(wParam) && CanLeaveCellByKey((UINT)wParam);
    if (HandleValueEditorMessage(message, wParam, lParam, m_nEditState, __EGISS_CREATING, bLeave, lResult))
        return lResult;
    HWND hWndSelf = m_hWnd;
    lResult = CExtGIE<CExtSliderWnd>::WindowProc(message, wParam, lParam);
    // The trackbar reports moves to the grid, not to itself: the position is read back
    // after every input that can move the thumb.
    switch (message)
    {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL:
    case TBM_SETPOS:
        if (IsAlive(hWndSelf, this))
            OnPositionChanged();
        break;
    default:
        break;
    }
    return lResult;
}

// ---- address editor -----------------------------------------------------------------

CExtGridInplaceEditIPAddress* CExtGridInplaceEditIPAddress::g_pCurrentEditor = NULL;

CExtGridInplaceEditIPAddress::CExtGridInplaceEditIPAddress(CExtGridWnd& wndGrid, CExtGridCell& cell,
                                                           LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                                           LONG nRowNo, INT nColType, INT nRowType,
                                                           const RECT& rcCellExtra, const RECT& rcCell,
                                                           const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                                           LONG nLastEditedRowNo)
    : CExtGIE<CIPAddressCtrl>(wndGrid, cell, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType,
                              rcCellExtra, rcCell, rcInplaceControl, nLastEditedColNo, nLastEditedRowNo),
      m_nEditState(0), m_dwAddressInitial(0), m_dwAddressAccepted(0)
{
    for (int i = 0; i < 4; ++i)
    {
        m_arrFieldProcs[i] = NULL;
        m_arrFieldWnds[i] = NULL;
    }
}

CExtGridInplaceEditIPAddress::~CExtGridInplaceEditIPAddress()
{
    // The field procedure must never reach an editor that is gone.
    RestoreFields();
    if (g_pCurrentEditor == this)
        g_pCurrentEditor = NULL;
}

COLORREF CExtGridInplaceEditIPAddress::GetInplaceBackColor() const
{
    return COLORREF(-1);
}

bool CExtGridInplaceEditIPAddress::IsEditEnding() const
{
    return (m_nEditState & __EGIAS_ENDING) != 0;
}

bool CExtGridInplaceEditIPAddress::IsFieldWindow(HWND hWnd) const
{
    if (hWnd == NULL)
        return false;
    for (int i = 0; i < 4; ++i)
        if (m_arrFieldWnds[i] == hWnd)
            return true;
    return false;
}

bool CExtGridInplaceEditIPAddress::Create(DWORD dwAddress)
{
    if (m_wndGrid.GetSafeHwnd() == NULL || !::IsWindow(m_wndGrid.GetSafeHwnd()))
        return AbortCreate();
    if (!CreateEditorFont(m_font))
        return AbortCreate();
    COLORREF clrText = COLORREF(-1), clrBack = COLORREF(-1);
    bool bReadOnly = false, bPassword = false;
    QueryEditorColors(clrText, clrBack, bReadOnly, bPassword);

    m_nEditState |= __EGIAS_CREATING;
    if (!CIPAddressCtrl::Create(WS_CHILD | WS_VISIBLE, m_rcInplaceControl, &m_wndGrid, UINT(-1)))
        return AbortCreate();
    m_dwGieFlags |= __EGIEF_AUTO_DELETE;
    SetFont(&m_font, FALSE);
    if ((m_cell.GetStyle() & CExtGridCell::__EGCS_READ_ONLY) != 0 || bReadOnly)
        EnableWindow(FALSE);
    m_dwAddressInitial = m_dwAddressAccepted = dwAddress;
    SendMessage(IPM_SETADDRESS, 0, (LPARAM)dwAddress);

    ShowAndFocus();
    g_pCurrentEditor = this;
    SubclassFields();
    m_nEditState &= ~__EGIAS_CREATING;
    return true;
}

void CExtGridInplaceEditIPAddress::SubclassFields()
{
    HWND hWndField = ::GetWindow(m_hWnd, GW_CHILD);
    for (int i = 0; i < 4 && hWndField != NULL; ++i)
    {
        m_arrFieldWnds[i] = hWndField;
        m_arrFieldProcs[i] =
            (WNDPROC)::SetWindowLongPtr(hWndField, GWLP_WNDPROC, (LONG_PTR)&CExtGridInplaceEditIPAddress::stat_FieldWndProc);
        hWndField = ::GetWindow(hWndField, GW_HWNDNEXT);
    }
}

void CExtGridInplaceEditIPAddress::RestoreFields()
{
    for (int i = 0; i < 4; ++i)
    {
        HWND hWndField = m_arrFieldWnds[i];
        WNDPROC pfnPrev = m_arrFieldProcs[i];
        m_arrFieldWnds[i] = NULL;
        m_arrFieldProcs[i] = NULL;
        if (hWndField == NULL || pfnPrev == NULL || !::IsWindow(hWndField))
            continue;
        // Only a field still running through this editor's procedure is given back.
        if ((WNDPROC)::GetWindowLongPtr(hWndField, GWLP_WNDPROC) == &CExtGridInplaceEditIPAddress::stat_FieldWndProc)
            ::SetWindowLongPtr(hWndField, GWLP_WNDPROC, (LONG_PTR)pfnPrev);
    }
}

LRESULT CALLBACK CExtGridInplaceEditIPAddress::stat_FieldWndProc(HWND hWnd, UINT message, WPARAM wParam,
                                                                 LPARAM lParam)
{
    // The editor that subclassed this field: the current one, or (when another address
    // editor was made meanwhile) the one owning the field's parent.
    CExtGridInplaceEditIPAddress* pEditor = g_pCurrentEditor;
    if (pEditor == NULL || !pEditor->IsFieldWindow(hWnd))
        pEditor = dynamic_cast<CExtGridInplaceEditIPAddress*>(CWnd::FromHandlePermanent(::GetParent(hWnd)));
    if (pEditor == NULL || !pEditor->IsFieldWindow(hWnd))
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    WNDPROC pfnPrev = NULL;
    for (int i = 0; i < 4; ++i)
        if (pEditor->m_arrFieldWnds[i] == hWnd)
            pfnPrev = pEditor->m_arrFieldProcs[i];
    HWND hWndEditor = pEditor->GetSafeHwnd();
    if (hWndEditor == NULL || !::IsWindow(hWndEditor) || pEditor->IsEditEnding())
        return ::CallWindowProc(pfnPrev, hWnd, message, wParam, lParam);
    switch (message)
    {
    case WM_KILLFOCUS:
    {
        HWND hWndNew = (HWND)wParam;
        if (IsSelfOrChild(hWndEditor, hWndNew))
            break;
        ::CallWindowProc(pfnPrev, hWnd, message, wParam, lParam);
        if (IsAlive(hWndEditor, pEditor))
            pEditor->DoEndEdit(true);
        return 0;
    }
    case WM_KEYDOWN:
    {
        LRESULT lResult = ::SendMessage(hWndEditor, WM_KEYDOWN, wParam, lParam);
        // Keys that end or leave the editor take the field with it.
        if (!::IsWindow(hWnd) || !IsAlive(hWndEditor, pEditor))
            return lResult;
        if (pEditor->IsEditEnding())
            return lResult;
        switch (wParam)
        {
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_TAB:
            return lResult;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    LRESULT lResult = ::CallWindowProc(pfnPrev, hWnd, message, wParam, lParam);
    if (IsAlive(hWndEditor, pEditor))
    {
        switch (message)
        {
        case WM_CHAR:
        case WM_KEYDOWN:
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
        case WM_SETTEXT:
        case EM_REPLACESEL:
            pEditor->OnAddressChanged();
            break;
        default:
            break;
        }
    }
    return lResult;
}

bool CExtGridInplaceEditIPAddress::VerifyAddress(DWORD dwOld, DWORD dwNew, bool bApplying)
{
    return m_cell.OnInplaceControlAddressInputVerify(m_hWnd, m_wndGrid, m_nColNo, m_nRowNo, m_nColType,
                                                     m_nRowType, dwOld, dwNew, bApplying);
}

void CExtGridInplaceEditIPAddress::OnAddressChanged()
{
    if (m_nEditState & (__EGIAS_CREATING | __EGIAS_ENDING))
        return;
    HWND hWndSelf = m_hWnd;
    DWORD dwNew = 0;
    ::SendMessage(hWndSelf, IPM_GETADDRESS, 0, (LPARAM)&dwNew);
    if (dwNew == m_dwAddressAccepted)
        return;
    bool bAccepted = VerifyAddress(m_dwAddressAccepted, dwNew, false);
    if (IsAlive(hWndSelf, this) && bAccepted)
        m_dwAddressAccepted = dwNew;
}

void CExtGridInplaceEditIPAddress::EndEditing(bool bApply)
{
    HWND hWndSelf = m_hWnd;
    HWND hWndGrid = m_wndGrid.GetSafeHwnd();
    m_cell.OnInplaceControlApplyIPAddress(hWndSelf, m_wndGrid, m_nColNo, m_nRowNo, m_nColType, m_nRowType,
                                          m_dwAddressAccepted, bApply);
    DestroyAfterApply(hWndSelf, hWndGrid);
}

bool CExtGridInplaceEditIPAddress::DoEndEdit(bool bApply)
{
    return CommitEdit(
        bApply, m_nEditState, __EGIAS_ENDING, m_dwAddressAccepted,
        [this]() {
            DWORD dwNew = 0;
            ::SendMessage(m_hWnd, IPM_GETADDRESS, 0, (LPARAM)&dwNew);
            return dwNew;
        },
        [this](DWORD dwNew) { return VerifyAddress(m_dwAddressAccepted, dwNew, true); });
}

LRESULT CExtGridInplaceEditIPAddress::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (OfferToCell(lResult, message, wParam, lParam))
        return lResult;
    if (message == WM_DESTROY)
    {
        // The fields go after this window's own destruction message: they get their
        // procedures back while they still exist.
        RestoreFields();
        if (g_pCurrentEditor == this)
            g_pCurrentEditor = NULL;
    }
    const bool bLeave = message == WM_KEYDOWN && IsArrowKey(wParam) && CanLeaveCellByKey((UINT)wParam);
    if (HandleValueEditorMessage(message, wParam, lParam, m_nEditState, __EGIAS_CREATING, bLeave, lResult))
        return lResult;
    return CExtGIE<CIPAddressCtrl>::WindowProc(message, wParam, lParam);
}
