// What the bar and menu painting reads of objects that belong to libraries linked after
// the theme engine: control bars, toolbars, bar buttons, mini frames and popup menus.
//
// The theme engine recognises those classes by the run-time classes that the two query
// tables below hold (the panel bar and the status bar still by name along the run-time
// class chain) and asks everything else through the tables' functions. The bars and
// menus libraries fill the tables when they start. Until a table is filled nothing is of
// its classes and every query answers as for an object without dock site, options or
// items, so the painting takes its plain look.
#pragma once
#include "toolkit/theme/paint_manager.h"

class CExtPmNeighbours
{
public:
    // Control bars (CExtControlBar and its family). Each function gets the bar itself.
    struct BarQueries
    {
        BYTE (*pfnOptionFlags)(CObject* pBar);         // the option flags byte
        DWORD (*pfnOptionFlags2)(CObject* pBar);       // the second option word
        DWORD (*pfnBarStyle)(CObject* pBar);           // CBRS_* style word
        CWnd* (*pfnDockSite)(CObject* pBar);           // frame the bar docks in, or NULL
        CWnd* (*pfnDockBar)(CObject* pBar);            // dock bar holding the bar, or NULL
        bool (*pfnIsDockedVertically)(CObject* pBar);
        bool (*pfnIsDockedHorizontally)(CObject* pBar);
        bool (*pfnIsDockedAtFrameSide)(CObject* pBar);
        bool (*pfnIsFloating)(CObject* pBar);
        bool (*pfnIsFixedMode)(CObject* pBar);
        int (*pfnToolbarShape)(CObject* pToolbar);              // the shape query
        CObject* (*pfnToolbarTrackedButton)(CObject* pToolbar); // button whose menu is open
        CObject* (*pfnMiniFrameControlBar)(CObject* pMiniFrame);
        CObject* (*pfnButtonBar)(CObject* pBarButton);          // the bar of a bar button
        // Paints the toolbar areas under hWndChild (the toolbar's child-background
        // record) in the child's client or window coordinates; false when the child lies
        // in no toolbar that paints areas for it.
        bool (*pfnPaintChildAreas)(HWND hWndChild, CDC& dc, bool bClientOnly);
        // The classes the painting tells apart.
        CRuntimeClass* pControlBarClass;
        CRuntimeClass* pToolBarClass;
        CRuntimeClass* pMenuBarClass;
        CRuntimeClass* pDockOuterBarClass;    // the dock bars at the frame's sides
        CRuntimeClass* pAutoHideSliderClass;  // the window an auto-hidden bar slides out in
        CRuntimeClass* pMiniDockFrameClass;
        CRuntimeClass* pBarButtonClass;
        CRuntimeClass* pExpandButtonClass;    // a toolbar's chevron
        CRuntimeClass* pDynTabWndClass;       // the tab strip of a tabbed bar group
        CRuntimeClass* pAutoHideAreaClass;    // the tab strip of auto-hidden bars
    };

    // Popup menus (CExtPopupBaseWnd, CExtPopupMenuWnd).
    struct MenuQueries
    {
        bool (*pfnIsLayoutRTL)(CObject* pPopup);
        CObject* (*pfnGetCombinedObject)(CObject* pPopup);
        bool (*pfnUsesDefaultCombinePainter)(CObject* pPopup);
        // The left-area width and item flags of the last item; false without items.
        bool (*pfnLastItem)(CObject* pMenu, int& nLeftAreaWidth, DWORD& dwItemFlags);
        CRuntimeClass* pPopupMenuClass;
    };

    static BarQueries g_bars;
    static MenuQueries g_menus;

    // ---- class tests ---------------------------------------------------------------------
    // False for NULL and while the class is not filled in.
    static bool IsKindOf(const CObject* pObj, const CRuntimeClass* pClass)
    {
        return pObj != NULL && pClass != NULL && pObj->IsKindOf(pClass);
    }
    static bool IsKindOf(const CObject* pObj, LPCSTR sClassName)
    {
        return CExtPaintManagerHolder::IsKindOfByName(pObj, sClassName);
    }
    static bool IsControlBar(const CObject* p) { return IsKindOf(p, g_bars.pControlBarClass); }
    static bool IsToolBar(const CObject* p) { return IsKindOf(p, g_bars.pToolBarClass); }
    static bool IsMenuBar(const CObject* p) { return IsKindOf(p, g_bars.pMenuBarClass); }
    static bool IsPanelBar(const CObject* p) { return IsKindOf(p, "CExtPanelControlBar"); }
    static bool IsStatusBar(const CObject* p) { return IsKindOf(p, "CExtStatusControlBar"); }
    static bool IsBarButton(const CObject* p) { return IsKindOf(p, g_bars.pBarButtonClass); }
    static bool IsPopupMenu(const CObject* p) { return IsKindOf(p, g_menus.pPopupMenuClass); }
    static bool IsMiniDockFrame(const CObject* p) { return IsKindOf(p, g_bars.pMiniDockFrameClass); }
    static bool IsDockOuterBar(const CObject* p) { return IsKindOf(p, g_bars.pDockOuterBarClass); }
    static bool IsAutoHideSlider(const CObject* p) { return IsKindOf(p, g_bars.pAutoHideSliderClass); }
    static bool IsExpandButton(const CObject* p) { return IsKindOf(p, g_bars.pExpandButtonClass); }

    // ---- bar queries --------------------------------------------------------------------
    static BYTE BarOptions(CObject* pBar);
    static DWORD BarOptions2(CObject* pBar);
    static DWORD BarStyle(CObject* pBar);
    static CWnd* DockSite(CObject* pBar);
    static CWnd* DockBar(CObject* pBar);
    // The second option word of the bar's dock bar (0 without one).
    static DWORD DockBarOptions2(CObject* pBar);
    static bool IsDockedVertically(CObject* pBar);
    static bool IsDockedHorizontally(CObject* pBar);
    static bool IsDockedAtFrameSide(CObject* pBar);
    static bool IsFloating(CObject* pBar);
    static bool IsFixedMode(CObject* pBar);
    static int ToolbarShape(CObject* pToolbar);
    static CObject* ToolbarTrackedButton(CObject* pToolbar);
    static CObject* MiniFrameControlBar(CObject* pMiniFrame);
    static CObject* ButtonBar(CObject* pBarButton);
    static bool PaintChildAreas(HWND hWndChild, CDC& dc, bool bClientOnly);

    // ---- menu queries -------------------------------------------------------------------
    // True only for a popup menu whose own layout query answers right to left.
    static bool IsMenuRTL(CObject* pObj);
    static CObject* CombinedObject(CObject* pPopup);
    static bool UsesDefaultCombinePainter(CObject* pPopup);
    static bool MenuLastItem(CObject* pMenu, int& nLeftAreaWidth, DWORD& dwItemFlags);
};
