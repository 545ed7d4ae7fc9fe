// The report grid's companion windows: the group area, the column chooser and the
// chooser's category combo box. The grid makes each from its run-time class, found by
// name, so the grid does not depend on the companions' own code; a companion class
// registers its window class in its PreCreateWindow.
#include "toolkit/reportgrid/report_grid_wnd.h"
#include "toolkit/reportgrid/column_chooser.h"

namespace {

const DWORD g_dwCompanionStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;

CWnd* CreateCompanion(LPCSTR sClassName, CWnd* pParent, UINT nID, DWORD dwStyle)
{
    CRuntimeClass* pClass = CRuntimeClass::FromName(sClassName);
    if (pClass == NULL || pParent == NULL || pParent->m_hWnd == NULL)
        return NULL;
    CWnd* pWnd = DYNAMIC_DOWNCAST(CWnd, pClass->CreateObject());
    if (pWnd == NULL)
        return NULL;
    if (!pWnd->Create(NULL, NULL, dwStyle, CRect(0, 0, 0, 0), pParent, nID))
    {
        delete pWnd;
        return NULL;
    }
    return pWnd;
}

bool HasWindow(const CWnd* pWnd) { return pWnd != NULL && pWnd->m_hWnd != NULL && ::IsWindow(pWnd->m_hWnd); }

}  // namespace

bool CExtReportGridWnd::CreateColumnChooser()
{
    if (HasWindow(m_pWndColumnChooser))
        return true;
    m_pWndColumnChooser = CreateCompanion("CExtReportGridColumnChooserWnd", this, __ID_COLUMN_CHOOSER,
                                          g_dwCompanionStyle);
    if (m_pWndColumnChooser == NULL)
        return false;
    ModifyStyle(0, WS_TABSTOP);
    return true;
}

bool CExtReportGridWnd::CreateCategoryComboBox()
{
    if (HasWindow(m_pWndCategoryComboBox))
        return true;
    CWnd* pChooser = GetColumnChooser();
    if (pChooser == NULL)
        return false;
    m_pWndCategoryComboBox = CreateCompanion("CExtReportGridCategoryComboBox", pChooser, 0,
                                             WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | WS_TABSTOP);
    if (m_pWndCategoryComboBox == NULL)
        return false;
    pChooser->ModifyStyle(0, WS_TABSTOP);
    return true;
}

bool CExtReportGridWnd::CreateGroupArea()
{
    if (HasWindow(m_pWndGroupArea))
        return true;
    m_pWndGroupArea = CreateCompanion("CExtReportGridGroupAreaWnd", this, __ID_GROUP_AREA, g_dwCompanionStyle);
    return m_pWndGroupArea != NULL;
}

CWnd* CExtReportGridWnd::GetCategoryComboBox()
{
    if (m_hWnd == NULL)
        return NULL;
    if (!HasWindow(m_pWndCategoryComboBox))
        CreateCategoryComboBox();
    return HasWindow(m_pWndCategoryComboBox) ? m_pWndCategoryComboBox : NULL;
}

CWnd* CExtReportGridWnd::GetColumnChooser()
{
    if (m_hWnd == NULL)
        return NULL;
    if (!HasWindow(m_pWndColumnChooser))
    {
        if (!CreateColumnChooser())
            return NULL;
        PlaceColumnChooser();
    }
    return m_pWndColumnChooser;
}

CWnd* CExtReportGridWnd::GetGroupArea()
{
    if (m_hWnd == NULL)
        return NULL;
    if (!HasWindow(m_pWndGroupArea))
        CreateGroupArea();
    return HasWindow(m_pWndGroupArea) ? m_pWndGroupArea : NULL;
}

namespace {

// Visible where it lives: in the grid, or in a parent (the chooser, the chooser's mini
// frame) that is visible too.
bool CompanionVisible(const CWnd* pGrid, const CWnd* pWnd)
{
    if (pGrid->m_hWnd == NULL || !HasWindow(pWnd) || (pWnd->GetStyle() & WS_VISIBLE) == 0)
        return false;
    const HWND hParent = ::GetParent(pWnd->m_hWnd);
    return hParent == pGrid->m_hWnd || (hParent != NULL && (::GetWindowLong(hParent, GWL_STYLE) & WS_VISIBLE) != 0);
}

}  // namespace

bool CExtReportGridWnd::IsCategoryComboBoxVisible() { return CompanionVisible(this, m_pWndCategoryComboBox); }
bool CExtReportGridWnd::IsColumnChooserVisible() { return CompanionVisible(this, m_pWndColumnChooser); }
bool CExtReportGridWnd::IsGroupAreaVisible() { return CompanionVisible(this, m_pWndGroupArea); }

void CExtReportGridWnd::ShowCategoryComboBox(bool bShow)
{
    CWnd* pWnd = GetCategoryComboBox();
    if (pWnd == NULL || IsCategoryComboBoxVisible() == bShow)
        return;
    if (::GetParent(pWnd->m_hWnd) == m_hWnd)
    {
        pWnd->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
        CalcClientRect(NULL, true, NULL);
    }
    else
        pWnd->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void CExtReportGridWnd::ShowColumnChooser(bool bShow)
{
    CWnd* pWnd = GetColumnChooser();
    if (pWnd == NULL || IsColumnChooserVisible() == bShow)
        return;
    const HWND hParent = ::GetParent(pWnd->m_hWnd);
    if (hParent == m_hWnd)
    {
        pWnd->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
        CalcClientRect(NULL, true, NULL);
        UpdateAndRedraw();
        return;
    }
    pWnd->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (hParent != NULL)
        ::ShowWindow(hParent, bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void CExtReportGridWnd::ShowGroupArea(bool bShow)
{
    CWnd* pWnd = GetGroupArea();
    if (pWnd == NULL || IsGroupAreaVisible() == bShow)
        return;
    pWnd->ShowWindow(::GetParent(pWnd->m_hWnd) == m_hWnd ? (bShow ? SW_SHOWNA : SW_HIDE)
                                                         : (bShow ? SW_SHOWNOACTIVATE : SW_HIDE));
    CalcClientRect(NULL, true, NULL);
    UpdateAndRedraw();
}

void CExtReportGridWnd::AddComboCategory(LPCTSTR sCategory)
{
    CWnd* pCombo = GetCategoryComboBox();
    if (pCombo == NULL)
        return;
    const LRESULT nIndex = pCombo->SendMessage(CB_ADDSTRING, 0, (LPARAM)(sCategory != NULL ? sCategory : _T("")));
    if (nIndex < 0)
        return;
    pCombo->EnableWindow(TRUE);
    pCombo->SendMessage(CB_SETCURSEL, (WPARAM)nIndex, 0);
    // The combo refreshes the chooser's list when its selection changes.
    CWnd* pParent = pCombo->GetParent();
    if (pParent != NULL)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(pCombo->GetDlgCtrlID(), CBN_SELCHANGE), (LPARAM)pCombo->m_hWnd);
}

void CExtReportGridWnd::RemoveComboCategory(LPCTSTR sCategory)
{
    CWnd* pCombo = GetCategoryComboBox();
    if (pCombo == NULL)
        return;
    const LRESULT nIndex =
        pCombo->SendMessage(CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(sCategory != NULL ? sCategory : _T("")));
    if (nIndex < 0)
        return;
    pCombo->SendMessage(CB_DELETESTRING, (WPARAM)nIndex, 0);
    const LRESULT nCount = pCombo->SendMessage(CB_GETCOUNT, 0, 0);
    if (nCount <= 0)
    {
        pCombo->SendMessage(CB_SETCURSEL, (WPARAM)-1, 0);
        pCombo->SetWindowText(_T(""));
        pCombo->EnableWindow(FALSE);
        return;
    }
    pCombo->SendMessage(CB_SETCURSEL, (WPARAM)(nIndex < nCount ? nIndex : nCount - 1), 0);
    CWnd* pParent = pCombo->GetParent();
    if (pParent != NULL)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(pCombo->GetDlgCtrlID(), CBN_SELCHANGE), (LPARAM)pCombo->m_hWnd);
}

void CExtReportGridWnd::PlaceColumnChooser()
{
    if (m_hWnd == NULL || !HasWindow(m_pWndColumnChooser))
        return;
    // The mini frame lays out the chooser again while it is being made; that inner call
    // only lays out, or it would make a frame for every frame.
    CExtReportGridColumnChooserWnd* pChooser = DYNAMIC_DOWNCAST(CExtReportGridColumnChooserWnd, m_pWndColumnChooser);
    if (pChooser != NULL && (m_nStateFlags & 0x04) == 0)
    {
        m_nStateFlags |= 0x04;
        MoveColumnChooser(pChooser);
        m_nStateFlags &= ~0x04;
    }
    CalcClientRect(NULL, true, NULL);
    UpdateAndRedraw();
}

void CExtReportGridWnd::MoveColumnChooser(CExtReportGridColumnChooserWnd* pChooser)
{
    const HWND hParent = ::GetParent(pChooser->m_hWnd);
    const bool bFloating = pChooser->DockPositionGet() == AFX_IDW_DOCKBAR_FLOAT;
    if (bFloating && hParent == m_hWnd)
    {
        CExtReportGridColumnChooserMiniFrameWnd* pFrame = new CExtReportGridColumnChooserMiniFrameWnd(this);
        if (!pFrame->Create())
        {
            if (pFrame->GetSafeHwnd() != NULL)
                pFrame->DestroyWindow();
            else
                delete pFrame;
            return;
        }
        pChooser->SetParent(pFrame);
        pFrame->RecalcLayout(TRUE);
    }
    else if (!bFloating && hParent != m_hWnd)
    {
        CWnd* pFrame = CWnd::FromHandlePermanent(hParent);
        pChooser->SetParent(this);
        if (pFrame != NULL)
            pFrame->DestroyWindow();
        else if (hParent != NULL)
            ::DestroyWindow(hParent);
    }
}
