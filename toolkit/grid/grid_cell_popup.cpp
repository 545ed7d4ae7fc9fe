// A cell's drop-down list: the popup list-box menu it opens under itself, the callbacks
// that route the list's events back to the cell, and the list's own drawing and
// measuring. The cell may die while the popup tracks (a message pumped by the popup can
// destroy it); the program-wide tracking pointer says whether it still lives, and a dead
// cell is never touched again.
#include <algorithm>
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/pickers/popup_control_menu.h"
#include "toolkit/theme/paint_manager.h"

namespace {

CExtGridCell* LiveCell(LPVOID pCookie)
{
    CExtGridCell::POPUP_LIST_INFO* pli = static_cast<CExtGridCell::POPUP_LIST_INFO*>(pCookie);
    if (pli == NULL || pli->m_pCell == NULL || CExtGridCell::g_pCellMenuTracking != pli->m_pCell) return NULL;
    return pli->m_pCell;
}

bool CbSelection(CExtPopupInplaceListBox& wndListBox, LPVOID pCookie, int eSAT)
{
    CExtGridCell* pCell = LiveCell(pCookie);
    if (pCell == NULL) return false;
    CExtGridCell::POPUP_LIST_INFO& pli = *static_cast<CExtGridCell::POPUP_LIST_INFO*>(pCookie);
    switch (eSAT) {
    case CExtPopupInplaceListBox::__SAT_SELCHANGE: return pCell->OnPopupListBoxSelChange(wndListBox, pli);
    case CExtPopupInplaceListBox::__SAT_SELENDOK: return pCell->OnPopupListBoxSelEndOK(wndListBox, pli);
    case CExtPopupInplaceListBox::__SAT_SELENDCANCEL: return pCell->OnPopupListBoxSelEndCancel(wndListBox, pli);
    default: return false;
    }
}

bool CbInitContent(CExtPopupInplaceListBox& wndListBox, LPVOID pCookie)
{
    CExtGridCell* pCell = LiveCell(pCookie);
    return pCell != NULL &&
           pCell->OnPopupListBoxInitContent(wndListBox, *static_cast<CExtGridCell::POPUP_LIST_INFO*>(pCookie));
}

bool CbItemDraw(CExtPopupInplaceListBox& wndListBox, LPVOID pCookie, LPDRAWITEMSTRUCT pDIS)
{
    CExtGridCell* pCell = LiveCell(pCookie);
    return pCell != NULL &&
           pCell->OnPopupListBoxItemDraw(wndListBox, *static_cast<CExtGridCell::POPUP_LIST_INFO*>(pCookie), pDIS);
}

bool CbItemMeasure(CExtPopupInplaceListBox& wndListBox, LPVOID pCookie, LPMEASUREITEMSTRUCT pMIS)
{
    CExtGridCell* pCell = LiveCell(pCookie);
    return pCell != NULL &&
           pCell->OnPopupListBoxItemMeasure(wndListBox, *static_cast<CExtGridCell::POPUP_LIST_INFO*>(pCookie), pMIS);
}

UINT ListTextFlags(const CString& sText)
{
    UINT nFlags = DT_SINGLELINE | DT_NOPREFIX;
    if (sText.Find(_T('\t')) >= 0) nFlags |= DT_EXPANDTABS;
    return nFlags;
}

}  // namespace

CExtGridCell::POPUP_LIST_INFO::POPUP_LIST_INFO(CExtGridCell* pCell, CExtGridWnd* pWndGrid, const RECT& rcCell,
                                               const RECT& rcCellExtra, LONG nColNo, LONG nRowNo, INT nColType,
                                               INT nRowType, LONG nVisibleColNo, LONG nVisibleRowNo)
    : m_pCell(pCell),
      m_pWndGrid(pWndGrid),
      m_bHelperFlag(true),
      m_rcCell(rcCell),
      m_rcCellExtra(rcCellExtra),
      m_nColNo(nColNo),
      m_nRowNo(nRowNo),
      m_nColType(nColType),
      m_nRowType(nRowType),
      m_nVisibleColNo(nVisibleColNo),
      m_nVisibleRowNo(nVisibleRowNo),
      m_dwListBoxStyles(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS |
                        LBS_OWNERDRAWVARIABLE),
      m_dwFlags(0),
      m_nItemIndex(-1),
      m_nReserved1(-1),
      m_nReserved2(-1)
{
}

bool CExtGridCell::OnButtonPopupMenuTrack(POPUP_LIST_INFO& pli)
{
    CExtGridWnd* pWndGrid = pli.m_pWndGrid;
    if (pWndGrid == NULL) return false;
    const HWND hWndGrid = pWndGrid->GetSafeHwnd();
    CExtPopupListBoxMenuWnd* pPopup = new CExtPopupListBoxMenuWnd(pli.m_dwListBoxStyles);
    if (!pPopup->CreatePopupMenu(hWndGrid)) {
        delete pPopup;
        return false;
    }
    pPopup->m_pCbListBoxSelection = CbSelection;
    pPopup->m_pSelectionCookie = &pli;
    pPopup->m_pCbInitListBoxContent = CbInitContent;
    pPopup->m_pInitListBoxCookie = &pli;
    pPopup->m_pCbListBoxItemDraw = CbItemDraw;
    pPopup->m_pCbListBoxItemMeasure = CbItemMeasure;
    pPopup->m_pListBoxItemCookie = &pli;

    CSize szList = OnQueryDropDownSize();
    CRect rcBorders(0, 0, 0, 0);
    pPopup->GetBorderMargins(rcBorders);
    szList.cx = std::max<LONG>(szList.cx, pli.m_rcCell.Width() - rcBorders.left - rcBorders.right);
    pPopup->m_sizeChildControl = szList;

    CRect rcScreen(pli.m_rcCell);
    if (hWndGrid != NULL) ::MapWindowPoints(hWndGrid, NULL, (POINT*)&rcScreen, 2);
    g_pCellMenuTracking = this;
    if (!pPopup->TrackPopupMenu(0x84, rcScreen.CenterPoint().x, rcScreen.CenterPoint().y, &rcScreen)) {
        if (g_pCellMenuTracking == this) g_pCellMenuTracking = NULL;
        // A popup that never tracked is still ours to free.
        delete pPopup;
        return !::IsWindow(hWndGrid);
    }
    if (!::IsWindow(hWndGrid)) return true;
    // The pointer names this cell only while the cell lives; a cell destroyed during the
    // popup cleared it and must not be touched.
    const bool bAlive = g_pCellMenuTracking == this;
    if (bAlive) g_pCellMenuTracking = NULL;
    if ((pli.m_dwFlags & 1) == 0 || !bAlive) return !bAlive;
    return OnPopupListBoxClosed(pli);
}

bool CExtGridCell::OnPopupListBoxClosed(POPUP_LIST_INFO& pli)
{
    (void)pli;
    return true;
}

bool CExtGridCell::OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli)
{
    pli.m_nItemIndex = (INT)wndListBox.GetCurSel();
    return true;
}

bool CExtGridCell::OnPopupListBoxSelChange(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli)
{
    pli.m_nItemIndex = (INT)wndListBox.GetCurSel();
    return false;
}

bool CExtGridCell::OnPopupListBoxSelEndOK(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli)
{
    pli.m_dwFlags |= 1;
    pli.m_nItemIndex = (INT)wndListBox.GetCurSel();
    if ((wndListBox.GetStyle() & LBS_HASSTRINGS) == 0) return false;
    const int nCount = wndListBox.GetCount();
    if (nCount <= 0 || pli.m_nItemIndex < 0 || pli.m_nItemIndex >= nCount) return false;
    CString sText;
    wndListBox.GetText(pli.m_nItemIndex, sText);
    if (sText.IsEmpty() || FAILED(OnParseText(sText))) return false;
    TextSet(sText);
    CExtGridWnd& wndGrid = *pli.m_pWndGrid;
    if (CExtGridDataProvider* pProvider = wndGrid.GetDataProvider()) {
        pProvider->SortApply(true, &wndGrid);
        pProvider->SortApply(false, &wndGrid);
    }
    const POINT ptFocus = wndGrid.FocusGet();
    if (ptFocus.x != -1) wndGrid.EnsureColumnVisible(ptFocus.x);
    if (ptFocus.y != -1) wndGrid.EnsureRowVisible(ptFocus.y);
    wndGrid.OnCellValueChanged(this, pli.m_nRowNo, pli.m_nColNo, pli.m_nRowType, pli.m_nColType);
    return false;
}

bool CExtGridCell::OnPopupListBoxSelEndCancel(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli)
{
    (void)wndListBox, (void)pli;
    return false;
}

bool CExtGridCell::OnPopupListBoxItemDraw(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli,
                                          LPDRAWITEMSTRUCT pDIS)
{
    if (pDIS == NULL || (wndListBox.GetStyle() & LBS_HASSTRINGS) == 0) return false;
    const int nCount = wndListBox.GetCount();
    if ((int)pDIS->itemID < 0 || (int)pDIS->itemID >= nCount) return true;
    if ((pDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) == 0) return true;
    CDC* pDC = CDC::FromHandle(pDIS->hDC);
    CExtGridWnd& wndGrid = *pli.m_pWndGrid;
    const bool bSelected = (pDIS->itemState & ODS_SELECTED) != 0;
    CRect rcItem(pDIS->rcItem);
    if ((int)pDIS->itemID == nCount - 1) {
        // The last item also clears the list's empty tail.
        CRect rcClient;
        wndListBox.GetClientRect(&rcClient);
        CRect rcTail(rcItem);
        rcTail.bottom = std::max(rcTail.bottom, rcClient.bottom);
        pDC->FillSolidRect(&rcTail, wndGrid.GetColor(COLOR_WINDOW));
    }
    pDC->FillSolidRect(&rcItem, wndGrid.GetColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CString sText;
    wndListBox.GetText((int)pDIS->itemID, sText);
    if (!sText.IsEmpty()) {
        const CSize szMargins = OnQueryListItemMargins();
        CRect rcText(rcItem);
        rcText.DeflateRect(szMargins.cx, szMargins.cy);
        CFont* pOldFont = pDC->SelectObject(&g_CurrentPaintManager->m_FontNormal);
        const int nOldMode = pDC->SetBkMode(TRANSPARENT);
        const COLORREF clrOld = pDC->SetTextColor(wndGrid.GetColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
        pDC->DrawText(sText, &rcText, ListTextFlags(sText) | DT_VCENTER);
        pDC->SetTextColor(clrOld);
        pDC->SetBkMode(nOldMode);
        pDC->SelectObject(pOldFont);
    }
    if (bSelected) pDC->DrawFocusRect(&rcItem);
    return true;
}

bool CExtGridCell::OnPopupListBoxItemMeasure(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli,
                                             LPMEASUREITEMSTRUCT pMIS)
{
    (void)pli;
    if (pMIS == NULL || (wndListBox.GetStyle() & LBS_HASSTRINGS) == 0) return false;
    pMIS->itemWidth = pMIS->itemHeight = 12;
    if ((int)pMIS->itemID < 0 || (int)pMIS->itemID >= wndListBox.GetCount()) return true;
    CString sText;
    wndListBox.GetText((int)pMIS->itemID, sText);
    if (sText.IsEmpty()) return true;
    CClientDC dc(&wndListBox);
    CRect rc(0, 0, 0, 0);
    CExtPaintManager::MeasureText(rc, dc, &g_CurrentPaintManager->m_FontNormal, sText, ListTextFlags(sText));
    const CSize szMargins = OnQueryListItemMargins();
    rc.InflateRect(szMargins.cx, szMargins.cy);
    pMIS->itemWidth = rc.Width();
    pMIS->itemHeight = rc.Height();
    return true;
}
