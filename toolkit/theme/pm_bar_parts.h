// Parameter records of the bar, background and small frame painting: the request a
// child sends up its parents for the background beneath it, bar captions and frames,
// edit and combo-box frames, bar borders, and the field box and text field items.
// Callers build them on their stack and pass them to one paint-manager operation.
#pragma once
#include "toolkit/theme/paint_manager.h"

// Travels with "CExtPaintManager::g_nMsgPaintInheritedBackground" (wParam points to it,
// lParam is 0). A window that paints the background under the target sets m_bPainted;
// one that forbids painting from further up sets m_bCancel.
struct CExtPaintManager::PAINTPARENTBACKGROUNDDATA
{
    bool m_bClientOnly : 1;  // the target's client area, else its whole window rectangle
    bool m_bPainted : 1;
    bool m_bCancel : 1;
    bool m_bReserved3 : 1;
    bool m_bReserved4 : 1;
    bool m_bReserved5 : 1;
    bool m_bReserved6 : 1;
    bool m_bReserved7 : 1;
    HWND m_hWndPainting;  // the window that painted
    CDC* m_pDC;           // the asking control's DC
    CWnd* m_pWndTarget;   // the window that needs its background
    DWORD m_dwReserved;
    LPARAM m_lParam;

    PAINTPARENTBACKGROUNDDATA(bool bClientOnly, CDC* pDC, CWnd* pWndTarget, LPARAM lParam = 0)
        : m_bClientOnly(bClientOnly),
          m_bPainted(false),
          m_bCancel(false),
          m_bReserved3(false),
          m_bReserved4(false),
          m_bReserved5(false),
          m_bReserved6(false),
          m_bReserved7(false),
          m_hWndPainting(NULL),
          m_pDC(pDC),
          m_pWndTarget(pWndTarget),
          m_dwReserved(0),
          m_lParam(lParam)
    {
    }

    // The target's client rectangle, or its window rectangle moved to (0, 0).
    RECT GetTargetRect() const;
};

struct CExtPaintManager::PAINTBARCAPTIONDATA
{
    CObject* m_pHelperSrc;
    LPARAM m_lParam;
    RECT m_rcBarCaption;
    RECT m_rcCaptionText;
    bool m_bActive : 1;
    bool m_bFloating : 1;
    bool m_bHorz : 1;        // the bar lies horizontally: a vertical gripper strip at its start
    bool m_bWithText : 1;    // a caption with text, else a gripper
    bool m_bReserved4 : 1;
    bool m_bReserved5 : 1;
    bool m_bReserved6 : 1;
    bool m_bReserved7 : 1;
    LPCTSTR m_sText;
    bool m_bBkPainted1 : 1;  // the background is painted already (both set together)
    bool m_bBkPainted2 : 1;
    bool m_bRTL : 1;
    bool m_bReserved2_3 : 1;
    bool m_bReserved2_4 : 1;
    bool m_bReserved2_5 : 1;
    bool m_bReserved2_6 : 1;
    bool m_bReserved2_7 : 1;

    PAINTBARCAPTIONDATA(CObject* pHelperSrc, const RECT& rcBarCaption, const RECT& rcCaptionText,
                        bool bActive, bool bFloating, bool bHorz, bool bWithText, LPCTSTR sText,
                        bool bRTL = false);
    bool IsBkPainted() const { return m_bBkPainted1 || m_bBkPainted2; }
};

struct CExtPaintManager::PAINTBARFRAMEDATA
{
    CObject* m_pHelperSrc;
    LPARAM m_lParam;
    RECT m_rcWindow;
    RECT m_rcClient;  // excluded from painting
    bool m_bFlag0 : 1;
    bool m_bFloating : 1;
    bool m_bNoInnerBorder : 1;
    bool m_bNoDottedFrame : 1;
    bool m_bReserved4 : 1;
    bool m_bReserved5 : 1;
    bool m_bReserved6 : 1;
    bool m_bReserved7 : 1;

    PAINTBARFRAMEDATA(CObject* pHelperSrc, const RECT& rcWindow, const RECT& rcClient,
                      bool bFlag0, bool bFloating, bool bNoInnerBorder, bool bNoDottedFrame);
};

struct CExtPaintManager::PAINTEDITFRAMEDATA
{
    CObject* m_pHelperSrc;
    LPARAM m_lParam;
    RECT m_rcEditClient;  // the frame is drawn outside it
    bool m_bFlag0 : 1;
    bool m_bHover : 1;
    bool m_bEnabled : 1;
    bool m_bFocus : 1;
    bool m_bReadOnly : 1;
    bool m_bReserved5 : 1;
    bool m_bReserved6 : 1;
    bool m_bReserved7 : 1;

    PAINTEDITFRAMEDATA(CObject* pHelperSrc, const RECT& rcEditClient, bool bFlag0, bool bHover,
                       bool bEnabled, bool bFocus, bool bReadOnly);
};

struct CExtPaintManager::PAINTCOMBOBOXDATA
{
    CObject* m_pHelperSrc;
    LPARAM m_lParam;
    RECT m_rcClient;  // the whole control
    bool m_bHover : 1;
    bool m_bPushed : 1;  // the list is dropped
    bool m_bEnabled : 1;
    bool m_bReserved3 : 1;
    bool m_bReserved4 : 1;
    bool m_bReserved5 : 1;
    bool m_bReserved6 : 1;
    bool m_bReserved7 : 1;
    COLORREF m_clrForceFrame;     // -1: the theme's colour
    COLORREF m_clrForceFace;
    COLORREF m_clrForceFaceHot;
    bool m_bNoOuterFrame : 1;
    bool m_bReserved2_1 : 1;
    bool m_bReserved2_2 : 1;
    bool m_bReserved2_3 : 1;
    bool m_bReserved2_4 : 1;
    bool m_bReserved2_5 : 1;
    bool m_bReserved2_6 : 1;
    bool m_bReserved2_7 : 1;

    PAINTCOMBOBOXDATA(CObject* pHelperSrc, const RECT& rcClient, bool bHover, bool bPushed,
                      bool bEnabled);
    bool HasOverrides() const
    {
        return m_clrForceFrame != COLORREF(-1) || m_clrForceFace != COLORREF(-1) ||
               m_clrForceFaceHot != COLORREF(-1);
    }
};

struct CExtPaintManager::PAINTBARBORDERDATA
{
    enum
    {
        __BB_DOCK_BAR = 0,
        __BB_STATUS_BAR = 1,
        __BB_STATUS_PANE = 2,
    };
    CObject* m_pHelperSrc;
    LPARAM m_lParam;
    int m_nKind;
    DWORD m_dwStyle;  // CBRS_BORDER_* bits
    RECT m_rc;

    PAINTBARBORDERDATA(CObject* pHelperSrc, int nKind, DWORD dwStyle, const RECT& rc);
};

struct CExtPaintManager::PAINTFIELDBOXDATA
{
    CObject* m_pHelperSrc;
    LPARAM m_lParam;
    CExtCmdIcon* m_pIconFirst;
    CExtCmdIcon* m_pIconSecond;
    DWORD m_dwReserved;  // the caller's own value; not read by the painting
    RECT m_rcItem;
    RECT m_rcIcon;
    RECT m_rcLabel;
    RECT m_rcLabelBounds;
    CString m_sLabel;
    bool m_bHover : 1;
    bool m_bPressed : 1;
    bool m_bReserved2 : 1;
    bool m_bReserved3 : 1;
    bool m_bInfoColors : 1;
    bool m_bVerticalLabel : 1;
    bool m_bPreferFirstIcon : 1;
    bool m_bInfoBoxOnly : 1;
    DWORD m_dwFlags2;  // bit 4: a vertical label reads from top to bottom
    HFONT m_hFont;

    PAINTFIELDBOXDATA();
};

struct CExtPaintManager::PAINTTEXTFIELDDATA
{
    CObject* m_pHelperSrc;
    LPARAM m_lParam;
    UINT m_nDrawTextFlags;
    CString m_sText;
    RECT m_rcItem;
    RECT m_rcField;
    bool m_bDropDownLook : 1;
    bool m_bHover : 1;
    bool m_bPressed : 1;
    bool m_bEnabled : 1;
    bool m_bReserved4 : 1;
    bool m_bReserved5 : 1;
    bool m_bReserved6 : 1;
    bool m_bReserved7 : 1;

    PAINTTEXTFIELDDATA();
};
