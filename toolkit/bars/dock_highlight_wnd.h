// The dock highlight window shown while a bar is dragged over a place where it would
// dock, as the theme engine meets it: its class record, its shape and colours, and the
// hand-over of its pixel buffer to the paint manager. The control-bars subsystem
// completes the window.
#pragma once
#include "framework/framework.h"

class CExtDynDockHighlightWnd : public CWnd
{
    DECLARE_DYNAMIC(CExtDynDockHighlightWnd)
public:
    // The window class the highlight registers.
    static const char* const g_sWndClassName;  // "Kestrix-DynDockHighlightWnd"

    CExtDynDockHighlightWnd();
    virtual ~CExtDynDockHighlightWnd();

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
};
