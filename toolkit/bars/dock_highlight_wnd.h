// The dock highlight: a top-most window over the place where the dragged bar would dock
// (a half or strip of the target, or a tab shape for a tabbed drop), showing the screen
// beneath it tinted by the paint manager. Its picture is composed once, on the first paint.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"

class CExtDynDockMarkerWnd;

class CExtDynDockHighlightWnd : public CWnd
{
    DECLARE_DYNAMIC(CExtDynDockHighlightWnd)
public:
    // The window class the highlight registers.
    static const char* const g_sWndClassName;  // "Kestrix-DynDockHighlightWnd"

    CExtDynDockHighlightWnd();
    // Creates the window over the part of the marker's area the dragged bar would take;
    // nothing is created while no bar is dragged or for a marker that docks nothing.
    explicit CExtDynDockHighlightWnd(CExtDynDockMarkerWnd* pMarker);
    virtual ~CExtDynDockHighlightWnd();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    // The screen rectangle of a highlight for a marker kind over an area; bBarTarget: the
    // area is a control bar's window. Empty for kinds that dock nothing.
    static CRect CalcHighlightRect(int nKind, const RECT& rcArea, bool bBarTarget, int cyDockedH, int cxDockedV);
    // The tab shape of a tabbed drop inside a client rectangle: the body and the tab.
    static void CalcTabShape(const RECT& rcClient, bool bTabsAtTop, bool bRTL, RECT& rcBody, RECT& rcTab);

    // Has the current paint manager paint the highlight into a 32-bit pixel buffer of
    // cx by cy pixels whose first row is the bottom row.
    void PaintHighlight(DWORD* pPixels, int cx, int cy);

    // The shape: the main rectangle and, for a tabbed place, the tab rectangle on the
    // side the flag names.
    CRect m_rcMain;
    CRect m_rcTab;
    bool m_bHasTab;
    bool m_bTabAtTop;
    COLORREF m_clrFill;
    COLORREF m_clrBorder;
    int m_nBorderWidth;
    CExtDynDockMarkerWnd* m_pMarker;
    CExtBitmap m_bmpCache;

protected:
    // The first paint: the screen beneath, tinted.
    void ComposePicture(CDC& dc, const CRect& rcClient);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()
};
