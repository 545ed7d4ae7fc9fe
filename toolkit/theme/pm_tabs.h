// What the tab painting reads of the tab windows, and the icon-and-text step that the
// classic item painter and the Studio 2005 item share.
//
// The tab windows belong to a library linked after the theme engine, so the theme
// recognises them by the run-time class that library hands over in the query table
// below, and asks them through the table's functions; the library fills it when it
// starts (the bars' own tab windows come with the bars' query table). Until then nothing
// is a tab window, and a tab window answers as one without items, selection, style or
// flags.
#pragma once
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_neighbours.h"

// One item of a tab strip as the tab window hands it to CExtPaintManager::DrawTabItem:
// the asking tab window and the item index, where the strip and the item lie, what the
// item shows, and five colours that override the theme's (-1 keeps the theme's).
struct CExtPaintManager::PAINTTABITEMDATA
{
    CObject* m_pHelperSrc;      // the tab window
    LPARAM m_lParam;            // the item index in it
    RECT m_rcItemsArea;         // the strip's items area
    RECT m_rcItem;              // the item, in the tab window's client coordinates
    SIZE m_sizeTextMeasured;
    CFont* m_pFont;             // chosen by the tab window (rotated for vertical strips)
    LPCTSTR m_sText;
    CExtCmdIcon* m_pIcon;       // may be NULL

    bool m_bTopLeft : 1;        // the strip lies at the top, or at the left when vertical
    bool m_bHorz : 1;
    bool m_bSelected : 1;
    bool m_bCenteredText : 1;
    bool m_bGroupedMode : 1;    // the tab window's grouped (no-border) look
    bool m_bInGroupActive : 1;
    bool m_bInvertedVerticalMode : 1;  // direction of the rotated text of vertical strips

    COLORREF m_clrForceText;
    COLORREF m_clrForceTabBk;
    COLORREF m_clrForceTabBorderLT;
    COLORREF m_clrForceTabBorderRB;
    COLORREF m_clrForceTabSeparator;

    // Everything else empty, false or -1; the caller fills what its item has.
    explicit PAINTTABITEMDATA(CObject* pHelperSrc = NULL, LPARAM lParam = 0);
};

class CExtPmTabQueries
{
public:
    struct Queries
    {
        int (*pfnItemCount)(CObject* pTabWnd);
        int (*pfnSelection)(CObject* pTabWnd);             // -1 without selection
        DWORD (*pfnTabWndStyle)(CObject* pTabWnd);
        bool (*pfnItemStyle)(CObject* pTabWnd, int nIndex, DWORD& dwItemStyle);
        int (*pfnItemIndexOf)(CObject* pTabItemInfo);      // -1 when in no tab window
        BYTE (*pfnTabWndFlags)(CObject* pTabWnd);          // bit 0: parent's background
        bool (*pfnPaintsOwnBackground)(CObject* pTabWnd);
        int (*pfnOrientation)(CObject* pTabWnd);           // 0 top, 1 bottom, 2 left, 3 right
        CRuntimeClass* pTabWndClass;                       // NULL: nothing is a tab window
    };
    static Queries g_tabs;

    static bool IsTabWnd(const CObject* p)
    {
        return p != NULL && g_tabs.pTabWndClass != NULL && p->IsKindOf(g_tabs.pTabWndClass);
    }
    // The bars' tab windows, whose classes the bars' query table holds.
    static bool IsDynTabWnd(const CObject* p)
    {
        return CExtPmNeighbours::IsKindOf(p, CExtPmNeighbours::g_bars.pDynTabWndClass);
    }
    static bool IsDynAutoHideArea(const CObject* p)
    {
        return CExtPmNeighbours::IsKindOf(p, CExtPmNeighbours::g_bars.pAutoHideAreaClass);
    }

    static int ItemCount(CObject* pTabWnd);
    static int Selection(CObject* pTabWnd);
    static DWORD TabWndStyle(CObject* pTabWnd);
    // The item's style; false when the tab window has no such item.
    static bool ItemStyle(CObject* pTabWnd, int nIndex, DWORD& dwItemStyle);
    static bool ItemEnabled(CObject* pTabWnd, int nIndex);
    static int ItemIndexOf(CObject* pTabItemInfo);
    static BYTE TabWndFlags(CObject* pTabWnd);
    static bool PaintsOwnBackground(CObject* pTabWnd);
    static int Orientation(CObject* pTabWnd);
};

// Steps after the item body: the icon and the text of a tab item inside rcContent. The
// icon goes through pPMIcon's PaintIcon.
void PaintTabItemContent(CExtPaintManager* pPMIcon, CDC& dc, const RECT& rcContent, bool bHorz,
                         bool bEnabled, bool bCenteredText, bool bGroupedMode,
                         bool bInGroupActive, bool bInvertedVerticalMode, bool bDrawIcon,
                         int cxTextMeasured, int cyTextMeasured, CFont* pFont, LPCTSTR sText,
                         CExtCmdIcon* pIcon, COLORREF clrText);

// The glyph of a tab strip button (hit codes -4 to -10) for the strip's direction and the
// button's state; NULL for any other code.
const CExtPaintManager::glyph* TabButtonGlyph(LONG nHitTest, bool bForm, bool bEnabled);
