// The control-bar family as the theme engine reads it: bar style, dock site and dock
// bar, the option flags, the docking queries, the toolbar's child-background record,
// bar buttons, the floating mini frame and the dock-marker window. The control-bars
// subsystem completes these classes (and their framework bases).
#pragma once
#include "framework/framework.h"

class CExtBitmap;
class CExtBarButton;
class CExtMiniDockFrameWnd;

class CExtControlBar : public CWnd
{
    DECLARE_DYNAMIC(CExtControlBar)
public:
    // Ids of the frame's four outer dock bars.
    enum
    {
        __DOCKBAR_ID_TOP = 0xE81B,
        __DOCKBAR_ID_LEFT = 0xE81C,
        __DOCKBAR_ID_RIGHT = 0xE81D,
        __DOCKBAR_ID_BOTTOM = 0xE81E,
    };

    CExtControlBar();
    virtual ~CExtControlBar();

    // True for bars of fixed size (toolbars), false for resizable bars.
    virtual bool IsFixedMode() const;

    // Docked at the left or right frame dock bar; without a dock site, from the style
    // bits 0x5500.
    bool IsDockedVertically() const;
    // Docked at the top or bottom frame dock bar; without a dock site, from 0xAA00.
    bool IsDockedHorizontally() const;
    // No dock site, or the dock bar is one of the frame's four outer dock bars.
    bool IsDockedAtFrameSide() const;
    // Not at a frame side and inside a mini frame or a nested dock site.
    bool IsFloating() const;

    // The frame (a mini frame goes to its parent frame, an MDI frame to its active
    // child) has an OLE item active in place; NULL asks for the thread's main window.
    static bool IsOleInPlaceActive(CWnd* pWndFrame);

    // Fields the theme reads.
    DWORD m_dwStyle;       // CBRS_ALIGN_* and the border bits
    CFrameWnd* m_pDockSite;
    CWnd* m_pDockBar;
    BYTE m_nOptionFlags;   // bits 1, 2 and 3 are read by the bar painting
    DWORD m_dwOptionFlags2;  // bit 2 is read on a bar's dock bar

    // Global settings that hold -1 until the application sets them; at -1 the bar code
    // asks the paint manager for its default.
    static int g_nBarSetting;
    // The bar setting in force: the application's, else the current theme's default.
    static int GetBarSetting();

    // Puts the status text of a command (or, with AFX_IDS_IDLEMESSAGE, the idle
    // message) into the status bar of the window's frame; popup menus call it.
    static void ShowCommandStatusText(CWnd* pWnd, UINT nCmdID);
    // The bar being dragged now, NULL when none.
    static CExtControlBar* GetDraggedBar();
    static CExtControlBar* g_pDraggedBar;
};

class CExtDockOuterBar : public CWnd
{
    DECLARE_DYNAMIC(CExtDockOuterBar)
public:
    CExtDockOuterBar();
    virtual ~CExtDockOuterBar();
};

class CExtStatusControlBar : public CExtControlBar
{
    DECLARE_DYNAMIC(CExtStatusControlBar)
public:
    CExtStatusControlBar();
    virtual ~CExtStatusControlBar();
};

class CExtToolControlBar : public CExtControlBar
{
    DECLARE_DYNAMIC(CExtToolControlBar)
public:
    // The areas of a toolbar that lie under a child window, with their values, so that
    // the child can paint the toolbar's background beneath itself.
    struct ChildBkgndInfo_t
    {
        CArray<CRect, CRect&> m_arrRects;
        CArray<DWORD, DWORD> m_arrValues;
        CExtToolControlBar* m_pBar;
        CExtMiniDockFrameWnd* m_pMiniFrame;
        HWND m_hWndChild;

        ChildBkgndInfo_t();
        ~ChildBkgndInfo_t();
        bool Init(HWND hWndChild);
        void AreasToChildClient();
        void AreasToChildWindow();
        void PaintAreas(CDC& dc);
    };

    CExtToolControlBar();
    virtual ~CExtToolControlBar();
    virtual bool IsFixedMode() const;
    // Non-zero for every toolbar of this system: the start of the bar stays square.
    virtual int OnQueryShape(int nReserved1, int nReserved2);

    // NULL when the index is outside 0 .. count - 1.
    CExtBarButton* GetButton(int nIndex);
    int m_nBtnIdxMenuTracking;  // -1 when no button's menu is open

    // True while the menu of a toolbar or menu-bar button tracks.
    static bool g_bButtonMenuTracking;
    // Clears that flag; toolbars drop their tracked button.
    static void CancelAllButtonMenuTracking();
};

class CExtMenuControlBar : public CExtToolControlBar
{
    DECLARE_DYNAMIC(CExtMenuControlBar)
public:
    CExtMenuControlBar();
    virtual ~CExtMenuControlBar();
};

class CExtBarButton : public CObject
{
    DECLARE_DYNAMIC(CExtBarButton)
public:
    explicit CExtBarButton(CExtControlBar* pBar = NULL);
    virtual ~CExtBarButton();
    // The button's rectangle in its bar's client coordinates.
    virtual CRect Rect() const;
    // True suppresses the Office 2003 vertical-dock frame of the button gradient.
    virtual bool IsNoVerticalDockFrame() const;

    CExtControlBar* m_pBar;
    CRect m_rc;
};

class CExtBarColorButton : public CExtBarButton
{
    DECLARE_DYNAMIC(CExtBarColorButton)
public:
    explicit CExtBarColorButton(CExtControlBar* pBar = NULL);
    virtual ~CExtBarColorButton();
};

class CExtBarNcAreaButton : public CObject
{
    DECLARE_DYNAMIC(CExtBarNcAreaButton)
public:
    CExtBarNcAreaButton();
    virtual ~CExtBarNcAreaButton();
};

class CExtBarNcAreaButtonMenu : public CExtBarNcAreaButton
{
    DECLARE_DYNAMIC(CExtBarNcAreaButtonMenu)
public:
    CExtBarNcAreaButtonMenu();
    virtual ~CExtBarNcAreaButtonMenu();
    // Decides whether the Studio 2005 caption button takes the XP body.
    virtual bool OnQueryXpLook() const;
};

class CExtMiniDockFrameWnd : public CWnd
{
    DECLARE_DYNAMIC(CExtMiniDockFrameWnd)
public:
    CExtMiniDockFrameWnd();
    virtual ~CExtMiniDockFrameWnd();
    // The control bar the floating frame contains, or NULL.
    CExtControlBar* GetControlBar();
};

class CExtDynDockMarkerWnd : public CWnd
{
    DECLARE_DYNAMIC(CExtDynDockMarkerWnd)
public:
    CExtDynDockMarkerWnd(CWnd* pWndParent, int nKind, const CExtBitmap& bmpFirst,
                         const CExtBitmap& bmpSecond, HRGN hRgn, int nLeft, int nTop, int nRight,
                         int nBottom, const CExtBitmap& bmpFrame, int nOffsetX, int nOffsetY,
                         bool bStandAloneOuter);
    virtual ~CExtDynDockMarkerWnd();

    static void ShowMarkers(CTypedPtrArray<CPtrArray, CExtDynDockMarkerWnd*>& arrMarkers,
                            bool bFlag);

    int m_nKind;               // 0-8
    bool m_bStandAloneOuter;
    HWND m_hWndLinkedMarker;   // the hovered arm of a centre marker, NULL when none
    int m_nHoverState;
};
