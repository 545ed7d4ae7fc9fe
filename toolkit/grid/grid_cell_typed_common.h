// What the typed cells' editors, buttons, popups and dialogs share: opening an in-place
// editor, pressing the ellipsis button, bringing the grid's focus to the cell before a
// dialog opens, and the tail that follows every value the user picked (resort, keep the
// focused cell in view, tell the grid).
#pragma once
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"

class CExtPopupMenuWnd;

namespace gridcell {

// Focuses an inner cell that does not have the grid's focus yet and repaints at once.
void FocusCellNow(CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType);
// The provider sorts again by both orders and the focused cell is scrolled into view.
void ResortShowFocus(CExtGridWnd& wndGrid);
// ResortShowFocus, then the grid's value-changed notification for the cell.
void ValueChangedTail(CExtGridCell* pCell, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo, INT nColType,
                      INT nRowType);
// The ellipsis button of a cell that edits its value in a dialog: unless the grid takes
// the press, the cell gets the focus, fnRunDialog runs the dialog and stores what the user
// chose (false when the user cancelled), and the value-changed tail follows. False for any
// other button, which the caller hands to its base class.
template <class FnRunDialog>
bool PressEllipsisButton(CExtGridCell* pCell, CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra,
                         const RECT& rcCell, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo,
                         INT nColType, INT nRowType, FnRunDialog fnRunDialog)
{
    if (nButtonType != CExtGridCell::__EBTT_ELLIPSIS)
        return false;
    if (wndGrid.OnGridCellButtonPressed(pCell, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo, nColNo,
                                        nRowNo, nColType, nRowType))
        return true;
    FocusCellNow(wndGrid, nColNo, nRowNo, nColType, nRowType);
    if (fnRunDialog())
        ValueChangedTail(pCell, wndGrid, nColNo, nRowNo, nColType, nRowType);
    return true;
}
// The in-place editor a cell opens: none under __EGCS_NO_INPLACE_CONTROL, the grid's own
// when its hook makes one, else a new TEditor over the cell that fnCreate(editor) creates
// (an editor whose creation fails deletes itself). The editor's window, or NULL.
template <class TEditor, class FnCreate>
HWND CreateInplaceEditor(CExtGridCell* pCell, CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                         LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                         const RECT& rcInplaceControl, LONG nLastEditedColNo, LONG nLastEditedRowNo, FnCreate fnCreate)
{
    if ((pCell->GetStyle() & CExtGridCell::__EGCS_NO_INPLACE_CONTROL) != 0)
        return NULL;
    HWND hWnd = wndGrid.OnGridCellInplaceControlCreate(pCell, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType,
                                                       nRowType, rcCellExtra, rcCell, rcInplaceControl,
                                                       nLastEditedColNo, nLastEditedRowNo);
    if (hWnd != NULL)
        return hWnd;
    TEditor* pEditor = new TEditor(wndGrid, *pCell, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType,
                                   rcCellExtra, rcCell, rcInplaceControl, nLastEditedColNo, nLastEditedRowNo);
    if (!fnCreate(*pEditor))
        return NULL;
    return pEditor->GetSafeHwnd();
}
// Runs a popup menu for a cell: the track point is the button's bottom-right corner in
// screen coordinates (right edge moved by the popup's shadow). The program-wide tracking
// pointer guards the cell: false when the cell died meanwhile (or the grid went away) and
// must not be touched; pbTracked (when given) tells whether tracking happened at all.
// The popup is freed here when it never tracked.
bool TrackCellPopup(CExtGridCell* pCell, CExtGridWnd& wndGrid, CExtPopupMenuWnd* pPopup, const RECT& rcButton,
                    bool* pbTracked = NULL);
// F4 in the cell's editor, on a cell that is not read-only and whose button of that type
// is enabled: the editor ends (saving) and the button is pressed. True when it acted.
bool EditorF4PressesButton(CExtGridCell& cell, const MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                           const CExtGridCell::HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                           const RECT& rcCell, INT nButtonType);
// Copies at most cchDest - 1 characters and always terminates; false when sText had to be
// cut (or was NULL, which gives an empty text).
bool CopyBounded(LPTSTR sDest, size_t cchDest, LPCTSTR sText);
// The ANSI text as a new BSTR; NULL when memory runs out.
BSTR AllocBstr(LPCSTR sText);

}  // namespace gridcell
