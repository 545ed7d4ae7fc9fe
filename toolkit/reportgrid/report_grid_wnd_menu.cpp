// The report grid's header context menu: its preparation from the menu resource, with
// the column list as a sub-menu of check items.
#include "toolkit/reportgrid/report_grid_wnd.h"

namespace {

const UINT g_nCmdReserved = ID_REPORT_GRID_RESERVED, g_nCmdColumnList = ID_REPORT_GRID_COLUMNS;

// The place that keeps the entries sorted by text: before the first greater one.
int SortedPosition(const CExtPopupMenuWnd* pMenu, LPCTSTR sText)
{
    const int nCount = pMenu->ItemGetCount();
    for (int i = 0; i < nCount; i++)
        if (_tcscmp(pMenu->ItemGetText(i), sText) > 0)
            return i;
    return nCount;
}

}  // namespace

bool CExtReportGridWnd::FillHeaderContextMenu(CExtPopupMenuWnd* pPopup, CExtReportGridColumn* pColumn,
                                              DWORD& dwTrackFlags)
{
    (void)pColumn, (void)dwTrackFlags;
    if (pPopup == NULL || !pPopup->LoadMenu(m_hWnd, __ID_HEADER_MENU, true))
        return false;
    const int nListPos = pPopup->ItemFindPosForCmdID(g_nCmdColumnList);
    if (nListPos >= 0)
    {
        const CString strText = pPopup->ItemGetText(nListPos);
        pPopup->ItemRemove(nListPos);
        if ((m_dwReportStyle & __ERGS_HEADER_MENU_COLUMN_LIST) != 0)
        {
            if (!pPopup->ItemInsert((UINT)CExtPopupMenuWnd::TYPE_POPUP, nListPos, strText))
                return false;
            CExtPopupMenuWnd* pSub = pPopup->ItemGetPopup(nListPos);
            if (pSub == NULL)
                return false;
            const CExtReportGridSortOrder& order = SortOrderGet();
            UINT nCmdID = (UINT)m_nFirstColumnCommandID;
            POSITION pos = ColumnGetStartPosition(NULL, true, true);
            while (pos != NULL)
            {
                CExtReportGridColumn* pListed = ColumnGetNext(pos, NULL, true, true);
                if (pListed == NULL || !pListed->MenuListedGet())
                    continue;
                const int nAt = order.IndexOf(pListed);
                if (nAt >= 0 && nAt < order.GetGroupCount())
                    continue;
                pListed->m_nMenuCommandID = nCmdID;
                const int nPos = SortedPosition(pSub, pListed->ColumnNameGet());
                if (!pSub->ItemInsertCommand(nCmdID, nPos, pListed->ColumnNameGet(), NULL, CExtCmdIcon(), 0, m_hWnd))
                    return false;
                CExtPopupMenuWnd::MENUITEMDATA& mi = pSub->m_items[nPos];
                mi.m_dwUserValue = (DWORD)(DWORD_PTR)pListed;
                mi.m_pCbItemClick = &CExtReportGridWnd::OnColumnMenuItemClick;
                mi.SetCheck(pListed->IsActive());
                nCmdID++;
            }
        }
    }
    for (int nPos = pPopup->ItemFindPosForCmdID(g_nCmdReserved); nPos >= 0;
         nPos = pPopup->ItemFindPosForCmdID(g_nCmdReserved))
        pPopup->ItemRemove(nPos);
    if (pPopup->ItemGetCount() > 0 && pPopup->ItemGetCmdID(0) == (UINT)CExtPopupMenuWnd::TYPE_SEPARATOR)
        pPopup->ItemRemove(0);
    return true;
}
