// The record through which a toolkit scroll bar is measured, hit-tested and painted, and
// the skin a theme may hand it.
//
// The scroll bar window lives in the grid library, which links after the theme engine;
// the record reaches it only through the functions that library installs
// (CExtScrollBarPaintHooks). Without them every record is empty.
#pragma once
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/bitmap.h"

// What the record needs of a CExtScrollBar.
struct CExtScrollBarPaintHooks
{
    // The bar as a window.
    CWnd* (*m_pfnGetWnd)(CExtScrollBar* pBar);
    // 0 and 1 horizontal, 2 and 3 vertical; anything else: nothing to paint.
    int (*m_pfnGetOrientationKind)(CExtScrollBar* pBar);
    // Arrow extent of a horizontal bar, of a vertical bar, minimum thumb extent of a
    // horizontal bar, of a vertical bar.
    void (*m_pfnGetMetrics)(CExtScrollBar* pBar, int arrMetrics[4]);
};

// A scroll-bar look made of images. No theme of this toolkit supplies one; a theme that
// does answers it from GetScrollBarSkin.
class CExtScrollBarSkin : public CObject
{
    DECLARE_DYNAMIC(CExtScrollBarSkin)
public:
    enum
    {
        __STATE_COUNT = 5,    // 0 disabled, 1 enabled, 2 some part hovered, 3 hovered, 4 pressed
        __ELEMENT_COUNT = 9,  // track, arrows, thumb, page areas, arrow glyphs, gripper
    };
    CExtScrollBarSkin();
    virtual ~CExtScrollBarSkin();

    virtual const CExtBitmap* GetElementImage(int nState, int nElement) const;
    virtual RECT GetElementPadding(int nState, int nElement) const;

    CExtBitmap m_bmpBackground;
    RECT m_rcMargins;  // left, top, right, bottom: arrows and thumb are moved in by them
    CExtBitmap m_arrImages[__STATE_COUNT][__ELEMENT_COUNT];
    RECT m_arrPadding[__STATE_COUNT][__ELEMENT_COUNT];
};

struct CExtPaintManager::PAINTSCROLLBARDATA
{
    enum e_part_t
    {
        __PART_NONE = -1,
        __PART_FIRST_ARROW = 1,   // left or top
        __PART_SECOND_ARROW = 2,  // right or bottom
        __PART_THUMB = 3,
        __PART_FIRST_PAGE = 4,    // track before the thumb
        __PART_SECOND_PAGE = 5,   // track after the thumb
    };

    bool m_bHorzBar : 1;
    bool m_bEnabled : 1;            // the window is enabled and its scroll information was read
    bool m_bHoveredAreaIsPressed : 1;
    bool m_bAlwaysSet : 1;          // set by the constructor, handed to the skin query
    bool m_bReserved4 : 1;
    bool m_bReserved5 : 1;
    bool m_bReserved6 : 1;
    bool m_bReserved7 : 1;
    int m_eHoverPart;
    RECT m_rcBar;
    RECT m_rcFirstPage;
    RECT m_rcSecondPage;
    RECT m_rcFirstArrow;
    RECT m_rcSecondArrow;
    RECT m_rcThumb;
    RECT m_rcTrack;
    CExtScrollBar* m_pScrollBar;
    LPARAM m_lParam;
    SCROLLINFO m_DSI;  // as read from the window, before the geometry's adjustments

    // Sets nothing: for callers that fill the record themselves.
    PAINTSCROLLBARDATA();
    PAINTSCROLLBARDATA(CExtScrollBar* pScrollBar, bool bHoveredAreaIsPressed = false,
                       int eHoverPart = __PART_NONE, LPARAM lParam = 0);
    virtual ~PAINTSCROLLBARDATA();

    virtual void Paint(CDC& dc, CExtPaintManager& pm);
    virtual void PaintSkinned(CDC& dc, CExtPaintManager& pm, CExtScrollBarSkin& skin,
                              BYTE nSCA = 255);
    virtual int HitTest(const POINT& pt) const;
    virtual int TrackHoverPart(const POINT& pt);
    virtual void PartRect(RECT& rc, int ePart) const;
    virtual void GetHoverPartRect(RECT& rc) const;

    // The grid library installs its scroll bar's answers; NULL clears them.
    static void stat_SetBarHooks(const CExtScrollBarPaintHooks* pHooks);
    static const CExtScrollBarPaintHooks* stat_GetBarHooks();

private:
    void ComputeGeometry();
    void PaintClassic(CDC& dc, CExtPaintManager& pm);
    bool PaintThemed(CDC& dc);
};
