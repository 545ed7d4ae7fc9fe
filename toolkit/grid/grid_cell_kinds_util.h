// Small steps the typed cell kinds share: the tail of a value change made from a popup
// list or an editor, the text of an open editor, measuring list texts and an INT field
// of a stored cell.
#pragma once
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/pickers/popup_control_menu.h"

namespace gridcellkinds {

// The provider sorts again by the grid's orders (columns, then rows) and the focused
// cell is brought into view.
inline void ResortAndShowFocus(CExtGridWnd& wndGrid)
{
    if (CExtGridDataProvider* pProvider = wndGrid.GetDataProvider()) {
        pProvider->SortApply(true, &wndGrid);
        pProvider->SortApply(false, &wndGrid);
    }
    const POINT ptFocus = wndGrid.FocusGet();
    if (ptFocus.x >= 0) wndGrid.EnsureColumnVisible(ptFocus.x);
    if (ptFocus.y >= 0) wndGrid.EnsureRowVisible(ptFocus.y);
}

// An INT field of a typed cell's stored form: a DWORD.
inline void SerializeInt(CArchive& ar, INT& n)
{
    if (ar.IsStoring()) {
        ar << (DWORD)n;
    } else {
        DWORD dw = 0;
        ar >> dw;
        n = (INT)dw;
    }
}

// The pick a drop-down list closes with, recorded in pli; true when it names an item of
// a list of texts.
inline bool TakeListPick(CExtPopupInplaceListBox& wndListBox, CExtGridCell::POPUP_LIST_INFO& pli)
{
    pli.m_nItemIndex = wndListBox.GetCurSel();
    pli.m_dwFlags |= 1;
    if ((wndListBox.GetStyle() & LBS_HASSTRINGS) == 0) return false;
    return pli.m_nItemIndex >= 0 && pli.m_nItemIndex < wndListBox.GetCount();
}

// The whole tail after a pick from a drop-down list.
inline void ValueChangedFromList(CExtGridCell& cell, CExtGridCell::POPUP_LIST_INFO& pli)
{
    if (pli.m_pWndGrid == NULL) return;
    CExtGridWnd& wndGrid = *pli.m_pWndGrid;
    ResortAndShowFocus(wndGrid);
    wndGrid.OnCellValueChanged(&cell, pli.m_nRowNo, pli.m_nColNo, pli.m_nRowType, pli.m_nColType);
}

// The editor shows sText; with bSelectAll the whole text is selected.
inline void SetEditorText(HWND hWndEditor, LPCTSTR sText, bool bSelectAll)
{
    if (!::IsWindow(hWndEditor)) return;
    ::SetWindowText(hWndEditor, sText != NULL ? sText : _T(""));
    if (bSelectAll) ::SendMessage(hWndEditor, EM_SETSEL, 0, -1);
}

// A single-line text's size in a font (the screen's when hDC is NULL).
inline CSize MeasureListText(HFONT hFont, LPCTSTR sText, UINT nFlags)
{
    HDC hDC = ::GetDC(NULL);
    if (hDC == NULL) return CSize(0, 0);
    HGDIOBJ hOld = hFont != NULL ? ::SelectObject(hDC, hFont) : NULL;
    RECT rc = {0, 0, 0, 0};
    ::DrawText(hDC, sText != NULL ? sText : _T(""), -1, &rc, nFlags | DT_CALCRECT);
    if (hOld != NULL) ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    return CSize(rc.right - rc.left, rc.bottom - rc.top);
}

inline UINT ListTextFlags(LPCTSTR sText)
{
    UINT nFlags = DT_SINGLELINE | DT_NOPREFIX;
    if (sText != NULL && _tcschr(sText, _T('\t')) != NULL) nFlags |= DT_EXPANDTABS;
    return nFlags;
}

}  // namespace gridcellkinds
