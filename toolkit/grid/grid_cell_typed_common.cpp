#include "toolkit/grid/grid_cell_typed_common.h"
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"

namespace gridcell {

void FocusCellNow(CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType)
{
    if (nColType != 0 || nRowType != 0 || wndGrid.GetSafeHwnd() == NULL) return;
    const POINT ptFocus = wndGrid.FocusGet();
    if (ptFocus.x == nColNo && ptFocus.y == nRowNo) return;
    const POINT ptNew = {nColNo, nRowNo};
    wndGrid.FocusSet(ptNew, true, true, true, true, NULL);
    wndGrid.UpdateWindowNow();
}

void ResortShowFocus(CExtGridWnd& wndGrid)
{
    if (CExtGridDataProvider* pProvider = wndGrid.GetDataProvider()) {
        pProvider->SortApply(true, &wndGrid);
        pProvider->SortApply(false, &wndGrid);
    }
    if (wndGrid.GetSafeHwnd() == NULL) return;
    const POINT ptFocus = wndGrid.FocusGet();
    if (ptFocus.x >= 0) wndGrid.EnsureColumnVisible(ptFocus.x, true);
    if (ptFocus.y >= 0) wndGrid.EnsureRowVisible(ptFocus.y, true);
}

void ValueChangedTail(CExtGridCell* pCell, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo, INT nColType,
                      INT nRowType)
{
    ResortShowFocus(wndGrid);
    wndGrid.OnCellValueChanged(pCell, nRowNo, nColNo, nRowType, nColType, 0);
}

bool TrackCellPopup(CExtGridCell* pCell, CExtGridWnd& wndGrid, CExtPopupMenuWnd* pPopup, const RECT& rcButton,
                    bool* pbTracked)
{
    if (pbTracked != NULL) *pbTracked = false;
    const HWND hWndGrid = wndGrid.GetSafeHwnd();
    CRect rcScreen(rcButton);
    if (hWndGrid != NULL) ::MapWindowPoints(hWndGrid, NULL, (POINT*)&rcScreen, 2);
    const CPoint ptTrack(rcScreen.right + pPopup->GetShadowSize(), rcScreen.bottom);
    const CRect rcExclude(ptTrack, ptTrack);
    CExtGridCell::g_pCellMenuTracking = pCell;
    if (!pPopup->TrackPopupMenu(0x83, ptTrack.x, ptTrack.y, &rcExclude)) {
        if (CExtGridCell::g_pCellMenuTracking == pCell) CExtGridCell::g_pCellMenuTracking = NULL;
        // A popup that never tracked is still ours to free.
        delete pPopup;
        return ::IsWindow(hWndGrid) != FALSE;
    }
    if (pbTracked != NULL) *pbTracked = true;
    if (!::IsWindow(hWndGrid)) return false;
    // A cell destroyed while the popup was open cleared the pointer on its way out.
    if (CExtGridCell::g_pCellMenuTracking == NULL) return false;
    if (CExtGridCell::g_pCellMenuTracking == pCell) CExtGridCell::g_pCellMenuTracking = NULL;
    return true;
}

bool EditorF4PressesButton(CExtGridCell& cell, const MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                           const CExtGridCell::HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                           const RECT& rcCell, INT nButtonType)
{
    if (pMsg == NULL || pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_F4) return false;
    if ((cell.GetStyle() & CExtGridCell::__EGCS_READ_ONLY) != 0) return false;
    bool bEnabled = false;
    if (!cell.OnQueryButtonInfo(nButtonType, &bEnabled) || !bEnabled) return false;
    CExtGridInplaceControl::stat_EndEdit(hWndInplaceControl, true);
    cell.OnButtonPressed(wndGrid, nButtonType, rcCellExtra, rcCell, htiCell.m_nVisibleColNo, htiCell.m_nVisibleRowNo,
                         htiCell.m_nColNo, htiCell.m_nRowNo, htiCell.GetColumnType(), htiCell.GetRowType());
    return true;
}

bool CopyBounded(LPTSTR sDest, size_t cchDest, LPCTSTR sText)
{
    if (sDest == NULL || cchDest == 0) return false;
    sDest[0] = _T('\0');
    if (sText == NULL) return false;
    size_t i = 0;
    for (; i + 1 < cchDest && sText[i] != _T('\0'); i++) sDest[i] = sText[i];
    sDest[i] = _T('\0');
    return sText[i] == _T('\0');
}

BSTR AllocBstr(LPCSTR sText)
{
    if (sText == NULL) sText = "";
    const int nWide = ::MultiByteToWideChar(CP_ACP, 0, sText, -1, NULL, 0);
    BSTR bstr = ::SysAllocStringLen(NULL, nWide > 0 ? (UINT)(nWide - 1) : 0);
    if (bstr != NULL && nWide > 1) ::MultiByteToWideChar(CP_ACP, 0, sText, -1, bstr, nWide);
    return bstr;
}

}  // namespace gridcell
