// The query tables through which the painting reads bars and menus, and their plain
// answers while the libraries that own those classes have not filled them.
#include "toolkit/theme/pm_neighbours.h"

CExtPmNeighbours::BarQueries CExtPmNeighbours::g_bars = {};
CExtPmNeighbours::MenuQueries CExtPmNeighbours::g_menus = {};

BYTE CExtPmNeighbours::BarOptions(CObject* pBar)
{
    return (pBar != NULL && g_bars.pfnOptionFlags != NULL) ? g_bars.pfnOptionFlags(pBar) : 0;
}

DWORD CExtPmNeighbours::BarOptions2(CObject* pBar)
{
    return (pBar != NULL && g_bars.pfnOptionFlags2 != NULL) ? g_bars.pfnOptionFlags2(pBar) : 0;
}

DWORD CExtPmNeighbours::BarStyle(CObject* pBar)
{
    return (pBar != NULL && g_bars.pfnBarStyle != NULL) ? g_bars.pfnBarStyle(pBar) : 0;
}

CWnd* CExtPmNeighbours::DockSite(CObject* pBar)
{
    return (pBar != NULL && g_bars.pfnDockSite != NULL) ? g_bars.pfnDockSite(pBar) : NULL;
}

CWnd* CExtPmNeighbours::DockBar(CObject* pBar)
{
    return (pBar != NULL && g_bars.pfnDockBar != NULL) ? g_bars.pfnDockBar(pBar) : NULL;
}

DWORD CExtPmNeighbours::DockBarOptions2(CObject* pBar)
{
    CWnd* pDockBar = DockBar(pBar);
    if (pDockBar == NULL)
        return 0;
    return BarOptions2(pDockBar);
}

bool CExtPmNeighbours::IsDockedVertically(CObject* pBar)
{
    if (pBar == NULL)
        return false;
    if (g_bars.pfnIsDockedVertically != NULL)
        return g_bars.pfnIsDockedVertically(pBar);
    return (BarStyle(pBar) & 0x5500) != 0;
}

bool CExtPmNeighbours::IsDockedHorizontally(CObject* pBar)
{
    if (pBar == NULL)
        return false;
    if (g_bars.pfnIsDockedHorizontally != NULL)
        return g_bars.pfnIsDockedHorizontally(pBar);
    return (BarStyle(pBar) & 0xAA00) != 0;
}

bool CExtPmNeighbours::IsDockedAtFrameSide(CObject* pBar)
{
    if (pBar == NULL)
        return false;
    if (g_bars.pfnIsDockedAtFrameSide != NULL)
        return g_bars.pfnIsDockedAtFrameSide(pBar);
    return DockSite(pBar) == NULL;
}

bool CExtPmNeighbours::IsFloating(CObject* pBar)
{
    if (pBar == NULL)
        return false;
    if (g_bars.pfnIsFloating != NULL)
        return g_bars.pfnIsFloating(pBar);
    return false;
}

bool CExtPmNeighbours::IsFixedMode(CObject* pBar)
{
    if (pBar == NULL)
        return false;
    if (g_bars.pfnIsFixedMode != NULL)
        return g_bars.pfnIsFixedMode(pBar);
    return IsToolBar(pBar);
}

int CExtPmNeighbours::ToolbarShape(CObject* pToolbar)
{
    if (pToolbar == NULL)
        return 0;
    return (g_bars.pfnToolbarShape != NULL) ? g_bars.pfnToolbarShape(pToolbar) : 1;
}

CObject* CExtPmNeighbours::ToolbarTrackedButton(CObject* pToolbar)
{
    return (pToolbar != NULL && g_bars.pfnToolbarTrackedButton != NULL)
               ? g_bars.pfnToolbarTrackedButton(pToolbar)
               : NULL;
}

CObject* CExtPmNeighbours::MiniFrameControlBar(CObject* pMiniFrame)
{
    return (pMiniFrame != NULL && g_bars.pfnMiniFrameControlBar != NULL)
               ? g_bars.pfnMiniFrameControlBar(pMiniFrame)
               : NULL;
}

CObject* CExtPmNeighbours::ButtonBar(CObject* pBarButton)
{
    return (pBarButton != NULL && g_bars.pfnButtonBar != NULL) ? g_bars.pfnButtonBar(pBarButton)
                                                               : NULL;
}

bool CExtPmNeighbours::PaintChildAreas(HWND hWndChild, CDC& dc, bool bClientOnly)
{
    if (hWndChild == NULL || g_bars.pfnPaintChildAreas == NULL)
        return false;
    return g_bars.pfnPaintChildAreas(hWndChild, dc, bClientOnly);
}

bool CExtPmNeighbours::IsMenuRTL(CObject* pObj)
{
    if (pObj == NULL || g_menus.pfnIsLayoutRTL == NULL || !IsPopupMenu(pObj))
        return false;
    return g_menus.pfnIsLayoutRTL(pObj);
}

CObject* CExtPmNeighbours::CombinedObject(CObject* pPopup)
{
    return (pPopup != NULL && g_menus.pfnGetCombinedObject != NULL)
               ? g_menus.pfnGetCombinedObject(pPopup)
               : NULL;
}

bool CExtPmNeighbours::UsesDefaultCombinePainter(CObject* pPopup)
{
    return (pPopup != NULL && g_menus.pfnUsesDefaultCombinePainter != NULL)
               ? g_menus.pfnUsesDefaultCombinePainter(pPopup)
               : false;
}

bool CExtPmNeighbours::MenuLastItem(CObject* pMenu, int& nLeftAreaWidth, DWORD& dwItemFlags)
{
    nLeftAreaWidth = 0;
    dwItemFlags = 0;
    if (pMenu == NULL || g_menus.pfnLastItem == NULL)
        return false;
    return g_menus.pfnLastItem(pMenu, nLeftAreaWidth, dwItemFlags);
}
