#include "toolkit/bars/drag_tab_strip.h"
#include "toolkit/bars/dyn_tab_control_bar.h"

namespace DragTabStrip
{

namespace {

CExtDynTabControlBar* Group(CExtControlBar* pBar)
{
    CExtDynTabControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynTabControlBar, pBar);
    return (pGroup != NULL && pGroup->GetSafeHwnd() != NULL) ? pGroup : NULL;
}

}  // namespace

CExtDynTabWnd* Find(CExtControlBar* pContainer)
{
    CExtDynTabControlBar* pGroup = Group(pContainer);
    return (pGroup != NULL && pGroup->m_wndTabSwitcher.GetSafeHwnd() != NULL) ? &pGroup->m_wndTabSwitcher : NULL;
}

bool IsVisible(CExtControlBar* pContainer)
{
    CExtDynTabWnd* pTabs = Find(pContainer);
    return pTabs != NULL && (pTabs->GetStyle() & WS_VISIBLE) != 0;
}

int HitTestScreen(CExtControlBar* pContainer, POINT ptScreen)
{
    CExtDynTabWnd* pTabs = Find(pContainer);
    if (pTabs == NULL || (pTabs->GetStyle() & WS_VISIBLE) == 0)
        return -1;
    CRect rc;
    pTabs->GetWindowRect(&rc);
    if (!rc.PtInRect(ptScreen))
        return -1;
    const int nHit = pTabs->HitTestScreen(ptScreen);
    return nHit >= 0 ? nHit : pTabs->ItemGetCount();
}

int ItemCount(CExtControlBar* pContainer)
{
    CExtDynTabWnd* pTabs = Find(pContainer);
    return pTabs != NULL ? pTabs->ItemGetCount() : 0;
}

void RemovePreview(CExtControlBar* pContainer)
{
    CExtDynTabControlBar* pGroup = Group(pContainer);
    if (pGroup != NULL)
        pGroup->RemoveTabHighlight(true);
}

void ShowPreview(CExtControlBar* pContainer, CExtControlBar* pBar, int nIndex)
{
    CExtDynTabControlBar* pGroup = Group(pContainer);
    if (pGroup != NULL)
        pGroup->ShowDropPosition(pBar, nIndex);
}

void UnmarkDraggedTab(CExtControlBar* pContainer)
{
    CExtDynTabWnd* pTabs = Find(pContainer);
    if (pTabs != NULL)
        pTabs->ClearPreviewMarks(true);
}

void SelectBarTab(CExtControlBar* pContainer, CExtControlBar* pBar)
{
    CExtDynTabControlBar* pGroup = Group(pContainer);
    if (pGroup != NULL)
        pGroup->RestoreDraggedTab(pBar);
}

}  // namespace DragTabStrip
