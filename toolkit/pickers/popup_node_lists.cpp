// The undo/redo list that a popup menu opens for an undo/redo node of a command tree,
// handed to the menus library when the program starts (the menus are linked before the
// pickers), and the list callbacks of such a popup: they report to the customize site of
// the list and, when the site leaves an item to them, draw and measure it themselves.
// Without a site every callback answers false and the list talks to its receiver as any
// popup list does.
#include "toolkit/core/cmd_tree.h"
#include "toolkit/menus/popup_picker_services.h"
#include "toolkit/pickers/popup_undo_redo.h"
#include "toolkit/theme/paint_manager.h"

namespace {

CExtCustomizeCmdTreeNode* NodeOf(LPVOID pCookie) { return static_cast<CExtCustomizeCmdTreeNode*>(pCookie); }

CExtCustomizeSite* SiteOf(CExtPopupInplaceListBox& wndList)
{
    return CExtCustomizeSite::GetCustomizeSite(wndList.GetSafeHwnd());
}

CExtPaintManager* PaintManagerOf(CExtPopupInplaceListBox& wndList)
{
    CExtPopupControlMenuWnd* pMenu = wndList.GetPopupMenu();
    return pMenu != NULL ? pMenu->GetPaintManager() : g_CurrentPaintManager.GetPM();
}

bool OnNodeListSelection(CExtPopupInplaceListBox& wndList, LPVOID pCookie, int eSAT)
{
    CExtCustomizeSite* pSite = SiteOf(wndList);
    if (pSite == NULL)
        return false;
    if (eSAT == CExtPopupInplaceListBox::__SAT_SELENDOK)
        return pSite->OnPopupListSelEndOK(NodeOf(pCookie), wndList.GetSafeHwnd());
    if (eSAT == CExtPopupInplaceListBox::__SAT_SELENDCANCEL)
        return pSite->OnPopupListSelEndCancel(NodeOf(pCookie), wndList.GetSafeHwnd());
    return false;
}

bool OnNodeListItemDraw(CExtPopupInplaceListBox& wndList, LPVOID pCookie, LPDRAWITEMSTRUCT pDIS)
{
    CExtCustomizeSite* pSite = SiteOf(wndList);
    if (pSite == NULL)
        return false;
    if (pSite->OnPopupListItemDraw(NodeOf(pCookie), wndList.GetSafeHwnd(), pDIS))
        return true;
    if ((wndList.GetStyle() & LBS_HASSTRINGS) == 0)
        return false;
    const int nCount = wndList.GetCount();
    const int nItem = (int)pDIS->itemID;
    if (nItem < 0 || nItem >= nCount)
        return true;
    CExtPaintManager* pPM = PaintManagerOf(wndList);
    CDC dc;
    dc.Attach(pDIS->hDC);
    const CRect rcItem(pDIS->rcItem);
    if ((pDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0)
    {
        // The last item also fills the rest of the list below it.
        CRect rcFill(rcItem);
        if (nItem == nCount - 1)
        {
            CRect rcClient;
            wndList.GetClientRect(&rcClient);
            rcFill.bottom = rcClient.bottom;
        }
        dc.FillSolidRect(&rcFill, pPM->LookupColor(COLOR_WINDOW));
        const bool bSelected = (pDIS->itemState & ODS_SELECTED) != 0;
        dc.FillSolidRect(&rcItem, pPM->LookupColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        CString sText;
        wndList.GetText(nItem, sText);
        if (!sText.IsEmpty())
        {
            const CRect rcMargin = pSite->GetPopupListTextMargin(NodeOf(pCookie));
            CRect rcText(rcItem);
            rcText.DeflateRect(rcMargin.left, rcMargin.top, rcMargin.right, rcMargin.bottom);
            const int nOldMode = dc.SetBkMode(TRANSPARENT);
            const COLORREF clrOld = dc.SetTextColor(pPM->LookupColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
            dc.DrawText(sText, &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            dc.SetTextColor(clrOld);
            dc.SetBkMode(nOldMode);
        }
    }
    if ((pDIS->itemState & ODS_FOCUS) != 0)
        dc.DrawFocusRect(&rcItem);
    dc.Detach();
    return true;
}

bool OnNodeListItemMeasure(CExtPopupInplaceListBox& wndList, LPVOID pCookie, LPMEASUREITEMSTRUCT pMIS)
{
    CExtCustomizeSite* pSite = SiteOf(wndList);
    if (pSite == NULL)
        return false;
    if (pSite->OnPopupListItemMeasure(NodeOf(pCookie), wndList.GetSafeHwnd(), pMIS))
        return true;
    if ((wndList.GetStyle() & LBS_HASSTRINGS) == 0)
        return false;
    pMIS->itemWidth = 10;
    pMIS->itemHeight = 10;
    const int nItem = (int)pMIS->itemID;
    if (nItem < 0 || nItem >= wndList.GetCount())
        return true;
    CString sText;
    wndList.GetText(nItem, sText);
    if (sText.IsEmpty())
        return true;
    CClientDC dc(&wndList);
    CFont* pOldFont = dc.SelectObject(&PaintManagerOf(wndList)->m_FontNormal);
    CRect rcText(0, 0, 0, 0);
    dc.DrawText(sText, &rcText, DT_CALCRECT | DT_SINGLELINE);
    dc.SelectObject(pOldFont);
    const CRect rcMargin = pSite->GetPopupListTextMargin(NodeOf(pCookie));
    pMIS->itemWidth = rcText.Width() + rcMargin.left + rcMargin.right;
    pMIS->itemHeight = rcText.Height() + rcMargin.top + rcMargin.bottom;
    return true;
}

CExtPopupMenuWnd* CreateUndoRedoPopup(CExtCustomizeCmdTreeNode* pNode, DWORD dwListBoxStyles, LPARAM lParamCookie,
                                      SIZE sizeList)
{
    CExtPopupUndoRedoMenuWnd* pPopup = new CExtPopupUndoRedoMenuWnd(dwListBoxStyles, lParamCookie);
    pPopup->m_sizeChildControl = sizeList;
    pPopup->m_pCbListBoxSelection = OnNodeListSelection;
    pPopup->m_pSelectionCookie = pNode;
    pPopup->m_pCbListBoxItemDraw = OnNodeListItemDraw;
    pPopup->m_pCbListBoxItemMeasure = OnNodeListItemMeasure;
    pPopup->m_pListBoxItemCookie = pNode;
    return pPopup;
}

struct UndoRedoPopupInstaller
{
    UndoRedoPopupInstaller() { g_PopupPickerServices.pfnCreateUndoRedoPopup = CreateUndoRedoPopup; }
};
UndoRedoPopupInstaller g_undoRedoPopupInstaller;

}  // namespace

// Nothing may name the undo/redo popup in a program that only builds menus from command
// trees; the link options of the pickers library ask for this symbol so that the
// installer above is always part of such a program.
extern "C" {
int PurgeletUndoRedoPopupLink = 0;
}
