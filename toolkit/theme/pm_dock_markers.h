// Dock markers: the shapes the theme shows while a control bar is dragged. A marker
// loads its arrow image, lays itself out in the target rectangle and makes one marker
// window; groups (the four outer markers, the cross) own their child markers.
//
// The marker windows belong to the docking library, linked after the theme engine. It
// installs the three functions below when it starts; until then no marker window can be
// made (CreateWindows answers false) and the hover frames are not drawn.
#pragma once
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/bitmap.h"

class CExtPaintManager::DockMarkerBase
{
public:
    enum
    {
        __KEY_COLOR = RGB(0, 255, 0),  // the transparent colour of every marker image
        __FLAG_STAND_ALONE = 0x01,
    };

    DockMarkerBase(int nKind = -1, const RECT* pRect = NULL);

    virtual void RemoveChildren();
    virtual void ReleaseImages();
    virtual ~DockMarkerBase();
    virtual bool IsEmpty() const;
    virtual void Empty();
    virtual bool CreateFromResources(const RECT& rc, int nKind, COLORREF clrKey, UINT nIdFirst,
                                     UINT nIdSecond, LPCTSTR sTypeFirst, LPCTSTR sTypeSecond,
                                     HINSTANCE hInstFirst, HINSTANCE hInstSecond);
    virtual bool CreateFromBitmaps(const RECT& rc, int nKind, COLORREF clrKey,
                                   const CExtBitmap& bmpFirst, const CExtBitmap& bmpSecond);
    virtual bool Create(bool bPartOfCross, int nKind, const RECT& rc);
    virtual bool CreateWindows(CWnd* pWndParent, CPtrArray& arrMarkerWindows);
    virtual void Layout(int nKind, const RECT& rc, DockMarkerBase* pCentre);

    // The image of a marker kind in each look; 0 for the group kinds.
    static UINT stat_BaseImageId(int nKind);
    static UINT stat_Beta2ImageId(int nKind);
    static UINT stat_Beta2FrameImageId(int nKind);

    int m_nKind;
    CExtBitmap m_bmpFirst;
    CExtBitmap m_bmpSecond;
    CExtBitmap m_bmpFrame;
    int m_nOffsetX, m_nOffsetY;
    CRgn m_rgn;
    int m_cx, m_cy;
    CTypedPtrArray<CPtrArray, DockMarkerBase*> m_arrChildren;
    RECT m_rcMarker;
    BYTE m_nFlags;

protected:
    // Create with the image ids of one look.
    bool CreateByIds(bool bPartOfCross, int nKind, const RECT& rc, UINT (*pfnImageId)(int));

private:
    DockMarkerBase(const DockMarkerBase&) = delete;
    DockMarkerBase& operator=(const DockMarkerBase&) = delete;
};

class CExtPaintManager::DockMarkerBeta2 : public CExtPaintManager::DockMarkerBase
{
public:
    DockMarkerBeta2(int nKind = -1, const RECT* pRect = NULL);
    virtual bool Create(bool bPartOfCross, int nKind, const RECT& rc);
    virtual void Layout(int nKind, const RECT& rc, DockMarkerBase* pCentre);
};

class CExtPmDockMarkerHooks
{
public:
    struct Hooks
    {
        // Makes a marker window (a top-most popup) and answers it, NULL on failure.
        CWnd* (*pfnCreateMarkerWnd)(CWnd* pWndParent, int nKind, const CExtBitmap& bmpFirst,
                                    const CExtBitmap& bmpSecond, HRGN hRgn, const RECT& rc,
                                    const CExtBitmap& bmpFrame, int nOffsetX, int nOffsetY,
                                    bool bStandAloneOuter);
        // Hides and destroys the marker windows of the array and empties it.
        void (*pfnShowMarkers)(CPtrArray& arrMarkerWindows, bool bFlag);
        // The state of a marker window: kind, stand-alone flag and linked marker window;
        // false for any object that is no marker window.
        bool (*pfnMarkerState)(CObject* pMarkerWnd, int& nKind, bool& bStandAlone,
                               HWND& hWndLinked);
    };
    static Hooks g_hooks;
};
