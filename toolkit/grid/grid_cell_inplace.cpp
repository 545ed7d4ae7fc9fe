// The cell's side of the editors' calls that only pass a message, a value check or a
// traits query on to the grid window: a kind that cares overrides them.
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"

bool CExtGridCell::OnInplaceControlWindowProc(LRESULT& lResult, UINT nMessage, WPARAM wParam, LPARAM lParam,
                                              HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nVisibleColNo,
                                              LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                              INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                              const RECT& rcInplaceControl)
{
    (void)nVisibleColNo;
    (void)nVisibleRowNo;
    (void)rcCellExtra;
    (void)rcCell;
    (void)rcInplaceControl;
    return wndGrid.OnGridCellInplaceControlMessage(this, hWndInplaceControl, nMessage, wParam, lParam, lResult,
                                                   nColNo, nRowNo, nColType, nRowType);
}

bool CExtGridCell::OnInplaceControlDateTimeInputVerify(HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                                       LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                       const COleDateTime& dtOld, const COleDateTime& dtNew,
                                                       bool bEndEdit)
{
    (void)dtOld;
    wndGrid.OnGridCellInplaceControlDateTimeInputVerify(this, hWndInplaceControl, nColNo, nRowNo, nColType,
                                                        nRowType, dtNew, bEndEdit);
    return true;
}

bool CExtGridCell::OnInplaceControlPositionInputVerify(HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                                       LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                       INT nPosOld, INT nPosNew, bool bEndEdit)
{
    (void)nPosOld;
    wndGrid.OnGridCellInplaceControlPositionInputVerify(this, hWndInplaceControl, nColNo, nRowNo, nColType,
                                                        nRowType, nPosNew, bEndEdit);
    return true;
}

bool CExtGridCell::OnInplaceControlAddressInputVerify(HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                                      LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                      DWORD dwOld, DWORD dwNew, bool bEndEdit)
{
    (void)dwOld;
    wndGrid.OnGridCellInplaceControlAddressInputVerify(this, hWndInplaceControl, nColNo, nRowNo, nColType,
                                                       nRowType, dwNew, bEndEdit);
    return true;
}

bool CExtGridCell::OnInplaceControlIdle(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nIdleCounter)
{
    (void)hWndInplaceControl;
    (void)wndGrid;
    (void)nIdleCounter;
    return false;  // the plain cell has no idle work
}

void CExtGridCell::OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl,
                                                LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo,
                                                INT nColType, INT nRowType, DWORD dwAreaFlags, bool* pbReadOnly,
                                                bool* pbPassword, COLORREF* pclrText, COLORREF* pclrBack)
{
    (void)nVisibleColNo;
    (void)nVisibleRowNo;
    (void)dwAreaFlags;
    wndGrid.OnGridCellInplaceControlQueryOptions(this, hWndInplaceControl, nColNo, nRowNo, nColType, nRowType,
                                                 pbReadOnly, pbPassword, pclrText, pclrBack);
}

void CExtGridWnd::OnGridCellInplaceControlQueryOptions(CExtGridCell* pCell, HWND hWndInplaceControl,
                                                       LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                       bool* pbReadOnly, bool* pbPassword, COLORREF* pclrText,
                                                       COLORREF* pclrBack)
{
    (void)pCell;
    (void)hWndInplaceControl;
    (void)nColNo;
    (void)nRowNo;
    (void)nColType;
    (void)nRowType;
    (void)pbReadOnly;
    (void)pbPassword;
    (void)pclrText;
    (void)pclrBack;
}
