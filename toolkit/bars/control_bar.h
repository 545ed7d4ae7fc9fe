// The control-bar family as the theme engine reads it: bar style, dock site and dock
// bar, the option flags, the docking queries, the toolbar's child-background record,
// bar buttons, the floating mini frame and the dock-marker window. The control-bars
// subsystem completes these classes (and their framework bases).
#pragma once
#include "framework/framework.h"
#include "framework/miniframe.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/theme/paint_manager.h"

class CExtBitmap;
class CExtBarButton;
class CExtMiniDockFrameWnd;

class CExtPopupMenuWnd;
class CExtPopupMenuTipWnd;
class CExtBarNcAreaButton;
class CExtPaintManager;
class CExtCustomizeSite;
class CExtDynTabControlBar;
class CExtDynControlBar;

// The base of every toolkit bar. A bar lives in a frame (docked or floating) or directly
// in a dialog; in a dialog it has no dock site, answers the docking queries from its
// style and is laid out by the dialog's RepositionBars.
class CExtControlBar : public CControlBar, public CExtMouseCaptureSink, public CExtPmBridge
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
        __DOCKBAR_ID_FLOAT = 0xE81F,
    };

    // State flags (m_nOptionFlags).
    enum
    {
        __ESF_CAPTION_AT_TOP = 0x01,
        __ESF_WNDPROC_RESERVED = 0x02,
        __ESF_OUTSIDE_FRAME = 0x04,
        __ESF_SIZEPARENT = 0x08,
        __ESF_BUSY = 0x10,
        __ESF_IN_BARS_MENU = 0x20,
        __ESF_NC_BUTTONS_RELAYOUT = 0x40,
        __ESF_FIXED_MODE = 0x80,
    };
    // Activity flags.
    enum
    {
        __EAF_ROW_RESIZING = 0x01,
        __EAF_INROW_RESIZING = 0x02,
        __EAF_DRAGGING = 0x04,
        __EAF_DRAG_LOOP = 0x08,
        __EAF_CONTENT_FILLS = 0x10,
        __EAF_SYNC_GUARD = 0x20,
    };
    // Interaction flags.
    enum
    {
        __EIF_FOCUS_INSIDE = 0x01,
        __EIF_LEADING_SPLITTER = 0x02,
        __EIF_NC_HOVER = 0x04,
        __EIF_AUTOHIDE = 0x08,
    };
    // Life flags.
    enum
    {
        __ELF_SELF_DELETE = 0x01,
        __ELF_CUSTOMIZE_REGISTER = 0x02,
    };

    // ---- records sent with the registered messages ------------------------------------
    struct QUERY_FOCUS_CHANGING_DATA
    {
        bool m_bCanChangeFocus;
        CWnd* m_pWndQuerySrc;
        HWND m_hWndNewFocus;
        QUERY_FOCUS_CHANGING_DATA(CWnd* pWndQuerySrc, HWND hWndNewFocus)
            : m_bCanChangeFocus(true), m_pWndQuerySrc(pWndQuerySrc), m_hWndNewFocus(hWndNewFocus)
        {
        }
    };

    struct QUERY_REPOSITION_CALC_EFFECT_DATA
    {
        WORD m_nFlags;  // low 4 bits: the RepositionBars mode; 0x10: leave me out
        CWnd* m_pWndToReposChilds;
        UINT m_nIDFirst, m_nIDLast, m_nIDLeftOver;
        LPRECT m_lpRectParam;
        LPCRECT m_lpcRectClient;
        BYTE m_nStretchFlags;  // bit 0: stretch

        QUERY_REPOSITION_CALC_EFFECT_DATA(UINT nFlag, CWnd* pWndToReposChilds, UINT nIDFirst, UINT nIDLast,
                                          UINT nIDLeftOver, LPRECT lpRectParam, LPCRECT lpcRectClient,
                                          bool bStretch)
            : m_nFlags(WORD(nFlag & 0x0F)), m_pWndToReposChilds(pWndToReposChilds), m_nIDFirst(nIDFirst),
              m_nIDLast(nIDLast), m_nIDLeftOver(nIDLeftOver), m_lpRectParam(lpRectParam),
              m_lpcRectClient(lpcRectClient), m_nStretchFlags(bStretch ? 1 : 0)
        {
        }
        UINT GetReposFlag() const { return m_nFlags & 0x0F; }
        bool IsReposQuery() const { return GetReposFlag() == 1; }
        bool IsStretch() const { return (m_nStretchFlags & 1) != 0; }
        void SetSkipSizeParent(bool bSkip = true)
        {
            if (bSkip)
                m_nFlags |= 0x10;
            else
                m_nFlags &= ~0x10;
        }
        bool IsSkipSizeParent() const { return (m_nFlags & 0x10) != 0; }
    };

    struct POPUP_MENU_EVENT_DATA
    {
        WORD m_nEventCode;
        CExtPopupMenuWnd* m_pPopupMenuWnd;
        CWnd* m_pWndEventSrc;
        UINT m_nMsgID;
        CObject* m_pObjectSrc;
        CFrameWnd* m_pWndInitialTarget;
        BYTE m_nFlags;  // bit 0: the notification after the default items
        POINT m_ptScreen;

        POPUP_MENU_EVENT_DATA(WORD nEventCode, CExtPopupMenuWnd* pPopupMenuWnd, CWnd* pWndEventSrc,
                              const POINT& ptScreen, UINT nMsgID, CObject* pObjectSrc);
        virtual ~POPUP_MENU_EVENT_DATA();
        // The events whose menu lists the bars: 0-6, 11 and 14.
        virtual bool IsControlBarMenuListNotification() const;
        // Sends the construct-menu message to the frame the event belongs to; true when
        // the receiver handled it.
        virtual bool NotifyTarget(bool bPostNotification);
        bool IsPostNotification() const { return (m_nFlags & 1) != 0; }
    };

    struct CUSTOM_NC_AREA_QUERY_DATA
    {
        BYTE m_nFlags;  // bit 0: the receiver laid out and painted the area itself
        HDC m_hDcDraw;
        CExtControlBar* m_pBar;
        CUSTOM_NC_AREA_QUERY_DATA(CExtControlBar* pBar, HDC hDcDraw = NULL)
            : m_nFlags(0), m_hDcDraw(hDcDraw), m_pBar(pBar)
        {
        }
        bool IsHandled() const { return (m_nFlags & 1) != 0; }
        void SetHandled(bool bHandled = true) { m_nFlags = BYTE(bHandled ? (m_nFlags | 1) : (m_nFlags & ~1)); }
        bool Notify();
    };

    struct DRAW_TRACKED_AREA_DATA
    {
        CExtControlBar* m_pBar;
        CDC* m_pDC;
        int m_nKind;
        RECT m_rcArea;
        BYTE m_nFlags;  // bit 0 the builder's, bit 1: the receiver drew the area
        DRAW_TRACKED_AREA_DATA(CExtControlBar* pBar, CDC* pDC, int nKind, const RECT& rcArea, bool bFlag0)
            : m_pBar(pBar), m_pDC(pDC), m_nKind(nKind), m_rcArea(rcArea), m_nFlags(BYTE(bFlag0 ? 1 : 0))
        {
        }
        // Sends the area to the bar's frame; true when the frame drew it.
        bool Notify();
        // The frame's drawing, else the default inverted halftone.
        void Draw();
        // Kinds 0 and 1 invert the whole area, 2 a frame along its edges, 3 the frame of
        // a body with a tab. Drawing the same area twice restores the screen.
        void DrawDefault();
        HRGN TrackedFrameRegion() const;
    };

    // ---- registered messages (sent, never posted) ---------------------------------------
    static const UINT g_nMsgQueryFocusChangingEnabled;
    static const UINT g_nMsgQueryRepositionCalcEffect;
    static const UINT g_nMsgQueryIcon;
    static const UINT g_nMsgPutToPopupMenu;
    static const UINT g_nMsgConstructPopupMenu;
    static const UINT g_nMsgCreateTabbedBar;
    static const UINT g_nMsgDrawTrackedArea;
    static const UINT g_nMsgCustomNcAreaQuery;

    // ---- module state -------------------------------------------------------------------
    static CArray<CExtControlBar*, CExtControlBar*> g_AllBars;
    static HCURSOR g_hCursorArrow;
    static HCURSOR g_hCursorDrag;
    static HCURSOR g_hCursorResizeV;
    static HCURSOR g_hCursorResizeH;
    static CTypedPtrMap<CMapPtrToWord, CFrameWnd*, WORD> g_FrameRegistry;
    static bool g_bControlBarClassRegistered;
    static CExtControlBar* g_pBarLastRepositioned;  // written by the docking code
    static bool g_bLockAllBars;
    // The auto-hide switches (fixed in this program: every slide is immediate).
    static int g_nAutoHideAnimationStepCount;
    static int g_nAutoHideAnimationStepTime;
    static bool g_bAutoHideAnimateShow;
    static bool g_bAutoHideAnimateHide;
    static bool g_bAutoHideKeyboardSwitch;
    static bool g_bAutoHideOleDragOver;
    static int g_nAutoHideTabStyleOverride;
    static bool g_bEnableCustomNcAreaQuery;
    static bool g_bCloseActiveTabOnly;
    static bool g_bUseAdvancedToolTips;  // the bars' tips come from the shared menu tip
    static int g_nDockMarkerStyleOverride;
    static DWORD g_nDelayValue;
    static const char* const g_sControlBarClassName;  // "Kestrix-ControlBar"
    static bool g_bTabsAtTop;  // tabbed groups and tab-shaped docking outlines put their tabs at the top
    static bool g_bTabbedOleDragOver;    // a group's strip turns to the tab that data is dragged over
    static bool g_bTabbedKeyboardSwitch;  // Ctrl+PageUp / Ctrl+PageDown switch a group's pages

    // Global settings that hold -1 until the application sets them; at -1 the bar code
    // asks the paint manager for its default.
    static int g_nBarSetting;
    // The bar setting in force: the application's, else the current theme's default.
    static int GetBarSetting();

    CExtControlBar();
    virtual ~CExtControlBar();

    // ---- window class and creation ------------------------------------------------------
    static bool RegisterControlBarClass();
    virtual BOOL Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, UINT nID = AFX_IDW_DIALOGBAR,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                        CBRS_FLYBY | CBRS_SIZE_DYNAMIC | CBRS_HIDE_INPLACE);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    // ---- layout -------------------------------------------------------------------------
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
    virtual void DelayShow(BOOL bShow);
    virtual int GetMinHorzExtent() const;
    virtual int GetMinVertExtent() const;
    virtual CSize GetDefaultMinSize() const { return CSize(80, 60); }
    virtual CSize GetMinSize() const { return CSize(GetMinHorzExtent(), GetMinVertExtent()); }
    // RepositionBars with the reposition query sent to every child first.
    static void RepositionBarsEx(CWnd* pParent, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver,
                                 UINT nFlag = 0, LPRECT lpRectParam = NULL, LPCRECT lpRectClient = NULL,
                                 BOOL bStretch = TRUE);
    virtual void ResizeContentWindow(int cx = -1, int cy = -1, bool bRedraw = true);
    virtual void RecalcParentFrameLayout();
    virtual void RecalcNcFrame();
    // A new floating frame on the dock site; throws the framework's resource exception
    // when it cannot be made.
    virtual CExtMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    // Keeps a dragged fixed bar's floating frame under the cursor at (x, y), floating a
    // docked bar there first; the bar takes the mouse capture back.
    void FloatUnderCursor(int x, int y);
    // The frame makes its floating frames as CExtMiniDockFrameWnd from now on.
    static bool SetFrameFloatingClass(CFrameWnd* pFrame);

    // ---- command UI and painting --------------------------------------------------------
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    bool DoBarUpdateCmdUI(BOOL bDisableIfNoHandler);
    static BOOL ChildBarsPreTranslateMessage(CWnd* pParent, MSG* pMsg);
    static void UpdateChildBarsCmdUI(CWnd* pParent, BOOL bDisableIfNoHandler);
    virtual void DoPaint(CDC* pDC);
    virtual void OnPaintBackground(CDC& dc);
    UINT NcButtonsHitTest(CPoint point, CExtBarNcAreaButton** ppBtn = NULL);

    // ---- paint-manager bridge -----------------------------------------------------------
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    // ---- docking queries ----------------------------------------------------------------
    UINT GetDockBarCtrlID() const;
    bool IsDockedAtTop() const;
    bool IsDockedAtBottom() const;
    bool IsDockedAtLeft() const;
    bool IsDockedAtRight() const;
    // Docked at the left or right frame dock bar; without a dock site, from the style
    // bits 0x5500.
    bool IsDockedVertically() const;
    // Docked at the top or bottom frame dock bar; without a dock site, from 0xAA00.
    bool IsDockedHorizontally() const;
    // No dock site, or the dock bar is one of the frame's four outer dock bars.
    bool IsDockedAtFrameSide() const;
    // Not at a frame side and inside a mini frame or a nested dock site.
    bool IsFloating() const;
    CFrameWnd* GetDockingFrame() const;
    virtual bool IsBarWithGripper(bool* pbGripperAtTop = NULL, bool* pbTextOnGripper = NULL) const;
    bool IsSingleBarInMiniFrame() const;
    virtual void CalcCaptionTextRect(RECT& rc) const;
    virtual bool IsFixedMode() const;
    virtual bool IsFixedDockStyle() const { return IsFixedMode(); }
    virtual bool IsPrintPreviewMode() const;
    bool IsBarOleInPlaceActive() const;

    // ---- bars menu and visibility -------------------------------------------------------
    virtual bool InsertIntoBarsMenu(CExtPopupMenuWnd* pPopup);
    virtual void ShowBar(bool bShow, bool bDelay = true, bool bActiveTabOnly = false);
    virtual void ToggleVisibility(bool bHideIfVisible = true);
    static BOOL DoFrameBarCheckCmd(CFrameWnd* pFrame, UINT nID, bool bHideIfVisible = true);
    // Fills arrBars with the bars of pFrame that pass dwMask (see the mask bits in the
    // .cpp); the bars menu passes 0xFFF.
    static void GetFrameControlBars(CExtControlBar* pBarExclude, CFrameWnd* pFrame,
                                    CArray<CExtControlBar*, CExtControlBar*>& arrBars, DWORD dwMask = 0xFFF,
                                    CPoint ptRestrict = CPoint(-1000, -1000));
    void GetBarFrameControlBars(CArray<CExtControlBar*, CExtControlBar*>& arrBars, DWORD dwMask = 0xFFF,
                                bool bExcludeThis = false) const;

    // ---- rows of the dock bar ------------------------------------------------------------
    // The nearest counted bar before or after this one in its row; NULL at a row end.
    CExtControlBar* FindRowNeighbour(bool bNext, bool bOnlyExtBars = true, bool bOnlyResizable = false) const;
    // The farthest such bar of the row, or this bar.
    CExtControlBar* FindRowEdgeBar(bool bNext, bool bOnlyExtBars = true, bool bOnlyResizable = false) const;
    bool IsFirstInRow(bool bOnlyResizable) const;
    bool IsSingleInRow(bool bExtOnly = true, bool bResizableOnly = false) const;
    bool IsMinimizedInRow() const;
    // The resizable bars of this bar's row (GetRowExtBars: every toolkit bar of it) in
    // array order, the union of their window rectangles, the index where the row starts
    // and whether it is the dock bar's first or last row.
    void GetRowBars(CArray<CExtControlBar*, CExtControlBar*>& arrBars, bool bVisibleOnly = true,
                    RECT* prcRow = NULL, int* pnFirstIndex = NULL, bool* pbRowFirst = NULL,
                    bool* pbRowLast = NULL) const;
    void GetRowExtBars(CArray<CExtControlBar*, CExtControlBar*>& arrBars, bool bVisibleOnly = true,
                       RECT* prcRow = NULL, int* pnFirstIndex = NULL, bool* pbRowFirst = NULL,
                       bool* pbRowLast = NULL) const;
    // The visible bars of the row before or after this bar's row.
    void GetNeighbourRowBars(bool bNextRow, CArray<CExtControlBar*, CExtControlBar*>& arrBars, RECT* prcRow = NULL,
                             int* pnFirstIndex = NULL, bool* pbRowFirst = NULL, bool* pbRowLast = NULL) const;
    bool IsLastInRow(bool bVisibleOnly = true) const;
    // Which edges of a docked resizable bar carry splitter strips.
    void QuerySplitterSides(bool* pbLeft, bool* pbTop, bool* pbRight, bool* pbBottom) const;

    // ---- sizes and non-client metrics ---------------------------------------------------
    virtual int GetGripperWidthAtLeft() const { return m_nGripWidthAtLeft; }
    virtual void SetGripperWidthAtLeft(int n) { m_nGripWidthAtLeft = n; }
    virtual int GetGripperHeightAtTop() const { return m_nGripHeightAtTop; }
    virtual void SetGripperHeightAtTop(int n) { m_nGripHeightAtTop = n; }
    virtual int GetSeparatorWidth() const { return m_nSeparatorWidth; }
    virtual void SetSeparatorWidth(int n) { m_nSeparatorWidth = n; }
    virtual int GetSeparatorHeight() const { return m_nSeparatorHeight; }
    virtual void SetSeparatorHeight(int n) { m_nSeparatorHeight = n; }
    virtual bool IsCustomNcAreaQueryEnabled() const { return g_bEnableCustomNcAreaQuery; }
    // The extent the auto-hide slider gives the bar across its side (width at the left
    // and right, height at the top and bottom); -1 takes the docked size.
    virtual int AutoHideWidthGet() const { return m_nAutoHideWidth; }
    virtual void AutoHideWidthSet(int n) { m_nAutoHideWidth = n; }
    virtual int AutoHideHeightGet() const { return m_nAutoHideHeight; }
    virtual void AutoHideHeightSet(int n) { m_nAutoHideHeight = n; }
    virtual const RECT* GetCaptionRect() const { return &m_rcCaption; }
    virtual void SetCaptionRect(const RECT& rc) { m_rcCaption = rc; }
    virtual const RECT* GetRowSplitterRect() const { return &m_rcRowSplitter; }
    virtual void SetRowSplitterRect(const RECT& rc) { m_rcRowSplitter = rc; }
    virtual const RECT* GetTrailingSplitterRect() const { return &m_rcTrailingSplitter; }
    virtual void SetTrailingSplitterRect(const RECT& rc) { m_rcTrailingSplitter = rc; }
    virtual const RECT* GetLeadingSplitterRect() const { return &m_rcLeadingSplitter; }
    virtual void SetLeadingSplitterRect(const RECT& rc) { m_rcLeadingSplitter = rc; }
    virtual DWORD GetAuxValue() const { return m_dwAuxValue; }
    virtual void SetAuxValue(DWORD dw) { m_dwAuxValue = dw; }
    virtual DWORD QueryDelayValue() const { return g_nDelayValue; }
    virtual bool IsCloseActiveTabOnly() const { return g_bCloseActiveTabOnly; }

    // ---- permissions and drag style -----------------------------------------------------
    virtual bool IsRowResizingAllowed() const { return !g_bLockAllBars; }
    virtual bool IsInRowResizingAllowed() const { return !g_bLockAllBars; }
    virtual bool IsDraggingAllowed() const { return !g_bLockAllBars; }
    virtual bool IsFloatToggleAllowed() const { return !g_bLockAllBars; }
    virtual bool IsMenuButtonAllowed() const { return !g_bLockAllBars; }
    virtual bool IsHidingAllowed() const { return !g_bLockAllBars; }
    virtual bool IsAutoHidingAllowed() const { return !g_bLockAllBars; }
    virtual bool IsRowResizing() const { return (m_nActivityFlags & __EAF_ROW_RESIZING) != 0; }
    virtual bool IsInRowResizing() const { return (m_nActivityFlags & __EAF_INROW_RESIZING) != 0; }
    virtual bool AutoHideModeGet() const { return (m_nInteractionFlags & __EIF_AUTOHIDE) != 0; }
    // Puts the bar into the auto-hide area of its side or takes it back into its row;
    // false for fixed and floating bars.
    virtual bool AutoHideModeSet(bool bAutoHide, bool bAnimate = false, bool bRecalc = true, bool bForce = false);
    // Whether pBar may join this bar in a tabbed group (the first asks the second).
    virtual bool IsTabMateAllowed(const CExtControlBar* pBar) const { return OnQueryTabMate(pBar); }
    virtual bool OnQueryTabMate(const CExtControlBar* pBar) const;
    // Whether the bar's tab shows in a tabbed group or an auto-hide area (the first asks
    // the second).
    virtual bool IsTabShown() const { return OnQueryTabShown(); }
    virtual bool OnQueryTabShown() const;
    // Told after the frame's bar state was stored (true) or loaded (false).
    virtual void OnBarStateSerialized(bool bStoring);
    // Sets WF_OLECTLCONTAINER on every window that holds an OLE control below it; true
    // when pWnd or a descendant hosts one.
    static bool UpdateOleControlContainerFlags(CWnd* pWnd);
    // The auto-hide slider's window while it shows this bar, else NULL.
    CWnd* GetAutoHideSliderShowingBar() const;
    // A pinned bar's window goes: its content comes back from the slider to go with it,
    // and its tab leaves the area.
    void AutoHideBarGoing();
    int QueryDockMarkerStyle() const;
    virtual bool UsesDockMarkerDrag() const;
    virtual bool UsesLiveRowResize() const;
    virtual bool UsesLiveInRowResize() const;
    virtual bool IsShowContentOnDock() const;
    virtual int OnHelpHitTestBar(CPoint point);

    // ---- focus queries ------------------------------------------------------------------
    static bool QueryFocusChangingEnabled(CWnd* pWndQuerySrc, HWND hWndNewFocus);
    static bool SendQueryFocusChangingEnabled(HWND hWndTarget, CWnd* pWndQuerySrc, HWND hWndNewFocus);

    // ---- frame queries ------------------------------------------------------------------
    static bool IsFrameInHelpMode(CWnd* pWnd);
    static bool IsPrintPreviewActive(CFrameWnd* pFrame);
    // The frame (a mini frame goes to its parent frame, an MDI frame to its active
    // child) has an OLE item active in place; NULL asks for the thread's main window.
    static bool IsOleInPlaceActive(CWnd* pWndFrame);
    static bool IsFrameRegistered(CFrameWnd* pFrame, bool* pbFlag = NULL);

    // Puts the status text of a command (or, with AFX_IDS_IDLEMESSAGE, the idle
    // message) into the status bar of the window's frame; popup menus call it.
    static void ShowCommandStatusText(CWnd* pWnd, UINT nCmdID);
    // A frame's status bar takes a known command's tip straight from the command manager.
    static bool g_bUseCmdManagerForSetMessageString;
    // The bar being dragged now, NULL when none.
    static CExtControlBar* GetDraggedBar();
    static CExtControlBar* g_pDraggedBar;

    // ---- visibility, focus and mouse ----------------------------------------------------
    // Shown, or shown on demand through the frame's bar command; false when a delayed
    // show is pending. A bar in a dialog answers its WS_VISIBLE bit.
    virtual bool EnsureBarShown();
    virtual void OnUpdateBarCommand(CCmdUI* pCmdUI, bool bForceCheck = false);
    virtual void OnBarVisibilityChanged();
    virtual void ActivateBar();
    virtual void DisableContentWindow();
    virtual void EnableContentWindow();
    // The content window: the bar's first child, or the slider's while the bar is out in
    // auto-hide mode; NULL for a nested container and for a bar without one.
    HWND GetContentWindow();
    // Window and client rectangles of a window, both in window coordinates.
    static void GetWindowAndClientRects(CWnd* pWnd, CRect& rcWnd, CRect& rcClient);
    // Moves pBar to rc through the batch of deferred moves, or at once when there is no
    // batch or it failed (the batch handle is NULL then).
    static void MoveBarInBatch(HDWP& hDWP, CWnd* pBar, const CRect& rc);
    // The messages that cancel a drag or resize loop whatever the loop: the application
    // or the mode changing, a context menu, and the other mouse buttons.
    static bool IsTrackingCancelMessage(UINT nMsg);
    // size grown by the room a bar in a dialog leaves for the dialog's edge.
    CSize WithDialogEdgeRoom(CSize size) const;
    virtual bool ProcessMouseMove(UINT nFlags, CPoint point);
    // Sets the cursor for a point in client coordinates; false when the bar leaves the
    // cursor alone (no window, or the frame asks for context help).
    virtual bool NcHitTestAndCursor(CPoint point);
    virtual void ToggleDocking();
    // The frame side a floating bar goes back to: the side it last docked at when it
    // still accepts it, else the first side it accepts (top, bottom, left, right); 0 none.
    UINT GetRedockSide() const;
    // Notes the frame side that holds the bar before it floats.
    void RememberDockedSide();
    // The shared menu tip when the bar shows its tips through it; NULL otherwise.
    virtual CExtPopupMenuTipWnd* GetBarTipWnd();
    virtual void ShowBarTip(CExtPopupMenuTipWnd* pTip, const RECT& rcExclude, LPCTSTR sText);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    virtual bool IsCustomizeModeActive() const;
    virtual void RegisterWithCustomizeSite(CExtCustomizeSite* pSite);

    // ---- dragging -------------------------------------------------------------------------
    // Where a dragged bar would go if it were dropped now. The tracking kinds:
    //  0 float;  1-4 beside the target bar (top, bottom, left, right);
    //  5-8 into the top, bottom, left, right frame dock bar of the ring m_nRing;
    //  9-12 the same in ring 1;  13 dropped where it is (only the layout is refreshed);
    //  14-17 outer marker (frame side, ring 1);  18-21 inner frame-side marker (a new
    //  innermost ring);  22-25 marker beside the target bar;  26 centre marker (join as a tab);
    //  27, 28 caption band of the target (28: it is a tabbed container);
    //  29 the hovered container's tab strip at m_nTabIndex;  30 the same through the centre
    //  marker.
    struct BandQuery;
    class InternalDraggingState_t : public CObject
    {
        DECLARE_DYNAMIC(InternalDraggingState_t)
    public:
        enum
        {
            __EMPTY = 0x01,
            __PART_OF_TARGET = 0x02,  // the rectangle is a part (a half, a band) of the target
        };
        BYTE m_nFlags;
        int m_nKind;
        int m_nFixedCursorKind;  // fixed bars: 0 floating or unmoved, 1 moved in a horizontal, 2 a vertical dock bar
        int m_nRing;
        RECT m_rcTrack;  // screen coordinates
        CExtControlBar* m_pBarSrc;
        CExtControlBar* m_pBarDst;
        int m_nTabIndex;

        InternalDraggingState_t();
        InternalDraggingState_t(const InternalDraggingState_t& other);
        virtual ~InternalDraggingState_t();
        InternalDraggingState_t& operator=(const InternalDraggingState_t& other);
        bool operator==(const InternalDraggingState_t& other) const;
        bool operator!=(const InternalDraggingState_t& other) const { return !(*this == other); }

        bool IsEmpty() const { return (m_nFlags & __EMPTY) != 0; }
        void SetEmpty(bool bEmpty = true);
        bool IsPartOfTarget() const { return (m_nFlags & __PART_OF_TARGET) != 0; }
        void SetPartOfTarget(bool bSet);
        // Stores the new target; unless asked to keep it, a previous tabbed container
        // drops its tab highlight. Answers the previous target.
        CExtControlBar* SetTargetBar(CExtControlBar* pBar, bool bKeepHighlight = false);
        // The insertion position of the target container's tab strip under a screen point.
        void SetTabIndexFromPoint(int x, int y);
        // The tab index of a tabbed drop (kinds 29 and 30), else -1.
        int GetTabIndexForDrop() const { return (m_nKind == 29 || m_nKind == 30) ? m_nTabIndex : -1; }

        virtual void CalcDockTarget(int x, int y, bool bNoDocking);
        virtual void CalcFixedBarTarget(int x, int y, bool bNoDocking);
        virtual bool TryDockFixedBar(int x, int y, CDockBar* pDockBar);
        // Shows (or, drawn again, erases) the docking outline of the state.
        void DrawTracking(bool bErase);

    protected:
        bool CalcMarkerTarget(int x, int y);
        bool CalcCaptionTarget(int x, int y, bool& bNeighbourRefused);
        bool CalcFrameTarget(int x, int y);
        bool CalcSingleBarTarget(int x, int y, bool bCaptionSkipped);
        void CalcFloatTarget(int x, int y);
        static void ReleaseTabHighlight(CExtControlBar* pBar);
        // The band q finds under (x, y) becomes the state with pTarget as its target;
        // bPartOfTarget: a band that is no caption band tracks a part of the target.
        // False when no band is there.
        bool TakeBandTarget(const BandQuery& q, CExtControlBar* pTarget, int x, int y, bool bPartOfTarget,
                            bool& bRefused);
    };
    // What a cursor position means near a bar's rectangle R, worked out on plain
    // rectangles: the caption bands, the strip and the edge bands (kinds 1-4, 27-29).
    struct BandQuery
    {
        RECT m_rcTarget;         // R: the target's frame (its mini frame when it floats)
        RECT m_rcStrip;          // the target's visible tab strip; empty when none
        RECT m_rcDockBar;        // the target's dock bar; the halves widen to cover it
        SIZE m_sizeMinSrc;       // the dragged bar's minimal extents (each at least 8)
        SIZE m_sizeMinDst;       // the target's minimal extents
        bool m_bTabMates;        // the two accept each other as tabs
        bool m_bNeighbours;      // the two accept each other side by side
        bool m_bDstIsContainer;  // the target is a tabbed container
        int m_nBand;             // 32 for the caption phase; also the edge width of the single-bar pass
        int m_nMaxHalfRule;      // the largest minimal extent for which the half-size rule holds; 0 none
        BandQuery();
    };
    // Answers the kind (0 nothing) and fills rcTrack; bRefused tells that the neighbour
    // test failed and ended the search.
    static int CalcBandTarget(const BandQuery& q, POINT pt, RECT& rcTrack, bool& bRefused);
    // Fills what the query asks of the two bars: minimal extents, tab-mate and neighbour
    // answers, and the target's container kind with its visible strip.
    static void FillBandPair(BandQuery& q, CExtControlBar* pSrc, CExtControlBar* pTarget);
    // The frame phase on plain rectangles: rcArea is the docking area bounded by the dock
    // bars' recorded edges. Answers 9-12 (16-pixel band) or 0; dwDockStyle limits the sides.
    static int CalcRingOneTarget(const RECT& rcArea, POINT pt, DWORD dwDockStyle, SIZE sizeDockedH,
                                 SIZE sizeDockedV, RECT& rcTrack);

    static InternalDraggingState_t g_DraggingState;     // the state shown now
    static InternalDraggingState_t g_DraggingStateNew;  // the state of the latest cursor position
    static bool g_bDragUpdateInProgress;
    static bool g_bIdleWhileDragging;  // the loops call the thread's idle processing
    // The cursor's grab offsets: nLayout 0 floating, 1 docked horizontally, 2 vertically.
    CSize GetGrabOffset(int nLayout) const;
    void SetGrabOffset(int nLayout, const CSize& size);
    // The layout the bar has now (0, 1 or 2, as above).
    int GetGrabLayout() const;
    // The bar's floating rectangle placed so that its floating grab offset lies under the
    // screen point.
    CRect CalcFloatingRectAt(int x, int y);
    virtual bool ApplyDraggingState(const InternalDraggingState_t& state, bool bFinal);
    // The modal drag: ptScreen is the press, sizeGrab the cursor's offset from the bar
    // window's corner ((0, 0) keeps the defaults), the thresholds the distance the cursor
    // must travel before the drag starts (0 or less: at once).
    virtual void DragLoop(const POINT& ptScreen, const SIZE& sizeGrab, int cxThreshold = 1, int cyThreshold = 1);
    virtual void DragStop(bool bCancel);
    virtual void DragUpdate(const POINT& ptScreen, bool bNoDocking);
    virtual void OnDraggingDone(const InternalDraggingState_t& stateOld, const InternalDraggingState_t& stateNew,
                                bool bCancel);
    bool IsDragging() const { return (m_nActivityFlags & __EAF_DRAGGING) != 0; }

protected:
    enum DragVerdict
    {
        __DRAG_PUMP,              // dispatch it through the thread's pump
        __DRAG_HANDLED,           // taken care of
        __DRAG_DISPATCH_REMOVED,  // already removed from the queue: dispatch it
        __DRAG_STOP,              // cancels the drag
    };
    DragVerdict ClassifyDragMessage(MSG& msg);
    bool IsStillGrabbing() const;
    void RunDragPhase();
    void DragUpdateUnchanged(bool bNoDocking);
    void DragUpdateChanged(bool bNoDocking);
    void InitGrabOffsets(const SIZE& sizeGrab);
    // A click without a drag moves the focus into the bar's content.
    void FocusContentAfterClick();
    static void ApplyFloat(CExtControlBar* pSrc, const RECT& rcTrack);
    // A frame the bar left is laid out again: a floating frame at once, another later.
    static void RecalcOldFrame(CExtControlBar* pSrc, HWND hWndOldFrame);
    // After a drop into a frame side: the site is laid out, the frame the bar left too,
    // and the bar's frame recomputed.
    static void FinishDockIntoFrame(CFrameWnd* pSite, CExtControlBar* pSrc, HWND hWndOldFrame);

public:
    // Whether this bar may go beside other bars at all (toolbars only into rows).
    virtual bool CanDockBesideOtherBars() const { return !IsFixedDockStyle(); }
    // Each of the two accepts the other as a tab mate, or as a neighbour.
    static bool AreTabMates(const CExtControlBar* pA, const CExtControlBar* pB);
    static bool AreNeighbours(const CExtControlBar* pA, const CExtControlBar* pB);

    // ---- docking into the frame's dock bars -----------------------------------------------
    // Docks into ring 1 of a frame side (with bUseRing into a new innermost ring).
    virtual bool DockAtFrameSide(UINT nDockBarID, bool bUseRing = false, CFrameWnd* pFrame = NULL,
                                 bool bRecalc = true);
    // Docks into the dock bar nDockBarID of ring nRing (0: the frame's own dock bar) with
    // the bar's stored docked size.
    virtual BOOL DockIntoDockBar(UINT nDockBarID, UINT nRing, CFrameWnd* pFrame = NULL, bool bRecalc = true);
    bool DockNextTo(CExtControlBar* pTarget, UINT nDockBarID, bool bRecalc = true);
    // The tabbed container whose inner dock bar holds the bar; NULL for a bar that is no
    // page of one.
    virtual CExtDynTabControlBar* GetTabbedContainer() const;

    // ---- docking operations ---------------------------------------------------------------
    // Called on the bar whose place is split: pBar takes nPercent of it on the side
    // nDockBarID (top, bottom, left, right id) inside a new nested container.
    virtual BOOL ApplyDock(CExtControlBar* pBar, UINT nDockBarID, UINT nPercent);
    // Floats the bar with its mini frame's top-left at the screen point (x, y).
    virtual BOOL FloatControlBar(int x, int y, DWORD dwStyle = CBRS_ALIGN_TOP);
    // Docks this bar beside pTarget (a page of a tabbed group stands for its group).
    virtual BOOL DockNextToPercent(UINT nPercent, CExtControlBar* pTarget, UINT nDockBarID, bool bRecalc = true);
    // Docks pBar beside this bar: along or across this bar's dock bar, on the leading or
    // the trailing side.
    virtual BOOL DockBesideBar(CExtControlBar* pBar, bool bAlongDockBar, bool bLeading, CFrameWnd* pFrame = NULL,
                               bool bRecalc = true);
    // Makes pBar a tab of this bar at nIndex (negative: the last tab); this bar becomes
    // a tabbed group when it is not one.
    virtual BOOL DockIntoTabbedBar(CExtControlBar* pBar, int nIndex = -1, CFrameWnd* pFrame = NULL,
                                   bool bRecalc = true);
    // Whether this bar takes pBar as a neighbour in a split place; two bars join as
    // neighbours, or as tab mates, only when each accepts the other.
    virtual bool CanBeDockedBeside(const CExtControlBar* pBar) const;
    bool AcceptsAsTabMate(const CExtControlBar* pBar) const;
    // Frame dock bar id -> the alignment and border bits it stands for.
    static CMap<UINT, UINT, DWORD, DWORD> g_DockBarAlignments;
    // The bar inside FloatControlBar now, NULL otherwise.
    static CExtControlBar* g_pBarBeingFloated;
    // Whether the bar's dock site runs a visibility synchronisation for an auto-hide
    // change; its frame layout requests wait for the idle pass meanwhile.
    static bool IsDockSiteInVisibilitySync(const CFrameWnd* pFrame);
    // Marks a dock site as running that synchronisation for the scope's lifetime
    // (nested scopes count).
    class VisibilitySyncScope
    {
    public:
        explicit VisibilitySyncScope(const CFrameWnd* pSite);
        ~VisibilitySyncScope();

    private:
        const CFrameWnd* m_pSite;
        VisibilitySyncScope(const VisibilitySyncScope&) = delete;
        VisibilitySyncScope& operator=(const VisibilitySyncScope&) = delete;
    };
    // Creates the frame's dock bars (outer dock bars on the four sides) and, with
    // bToolkitFloatingFrames, makes its floating frames CExtMiniDockFrameWnd.
    static bool EnableFrameDocking(CFrameWnd* pFrame, DWORD dwDockStyle = CBRS_ALIGN_ANY,
                                   bool bToolkitFloatingFrames = true);
    static bool InstallOuterDockBar(UINT nDockBarID, DWORD dwDockStyle, CFrameWnd* pFrame);

    // ---- the place a fixed bar keeps in an outer dock bar's rows ---------------------------
    struct OuterPlace_t
    {
        UINT m_nOrder;       // rank in the row, 1 the most preferred; 0 not ranked yet
        RECT m_rcLast;       // where the user last placed the bar; empty when not set
        int m_nPrefHorz;     // wanted width in a horizontal row; 0 not set
        int m_nPrefVert;     // wanted height in a vertical row; 0 not set
        DWORD m_dwReserved;  // 1 in a fresh record
        OuterPlace_t() { Reset(); }
        void Reset()
        {
            m_nOrder = 0;
            ::SetRectEmpty(&m_rcLast);
            m_nPrefHorz = m_nPrefVert = 0;
            m_dwReserved = 1;
        }
    };
    virtual bool IsFullRow() const { return false; }
    virtual OuterPlace_t* GetOuterPlace() { return NULL; }
    virtual void SetOuterPlace(const OuterPlace_t&) {}
    virtual bool TakesRowThickness() const { return true; }
    virtual void RegisterWithOuterDockBar();
    virtual void ResetDockRecord();

    // ---- docked rows and their resizing ---------------------------------------------------
    virtual void RowResizeLoop();
    virtual void RowResizeStop(bool bCancel);
    virtual void RowResizeUpdate();
    virtual void ColumnResizeLoop();
    virtual void ColumnResizeStop(bool bCancel);
    virtual void ColumnResizeUpdate();
    virtual bool IsTrailingSplitterMovable() const;
    virtual bool IsLeadingSplitterMovable() const;
    virtual void DrawRowResizeTracker(bool bErase);
    virtual void DrawColumnResizeTracker(bool bErase);
    virtual void OnRowVisibilityChanged();
    void MaximizeInRow();
    void MakeRoomInRow();
    // One bar of a row for the length sharing: resizable bars give and take one pixel
    // at a time down to their minimums; the others keep their lengths.
    struct RowSlot
    {
        bool m_bResizable;
        int m_nLen;
        int m_nMin;
    };
    // Shares nDiff (the row's spare length, negative when missing) among the slots.
    static void DistributeRowLengths(RowSlot* pSlots, int nCount, int nDiff);
    // The live-resize switch of the loops: the thread's idle processing runs while a
    // loop waits; off, and nothing in the toolkit turns it on.
    static bool g_bIdleWhileTracking;

    // ---- non-client area ----------------------------------------------------------------
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam);
    // Paints the whole non-client area into a DC whose origin is the window's corner.
    virtual void DrawNcArea(CDC& dc);
    virtual void OnStartDragging();
    virtual void CreateNcAreaButtons();
    virtual void LayoutNcAreaButtons();
    // Fills sText with the caption of kind nType (0-4) and answers its length; a
    // non-positive length leaves sText as it was.
    virtual int OnGetBarCaptionText(int nType, CString& sText) const;
    // Every visible caption button draws itself into the DC, in array order.
    void DrawNcAreaButtons(CDC& dc);
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override;
    // The thicknesses of the splitters and captions, from the custom query or the
    // paint manager's defaults.
    void RefreshNcMetrics(HDC hDcDraw = NULL);
    bool IsDestroying() const { return (m_nOptionFlags & __ESF_BUSY) != 0; }

    // ---- fields -------------------------------------------------------------------------
    BYTE m_nOptionFlags;  // the state flags (__ESF_*); the theme reads bits 1, 2 and 3
    int m_nGripHeightAtTop;
    int m_nGripWidthAtLeft;
    int m_nSeparatorHeight;
    int m_nSeparatorWidth;
    int m_nMinHW;  // non-client width
    int m_nMinVH;  // non-client height
    int m_nTrackerOffset;
    int m_nTrackerExtent;
    int m_nAutoHideWidth, m_nAutoHideHeight;
    CSize m_sizeDockedH;
    CSize m_sizeDockedV;
    CSize m_sizeFloated;
    RECT m_rcCaption;
    RECT m_rcRowSplitter;
    RECT m_rcTrailingSplitter;
    RECT m_rcLeadingSplitter;
    BYTE m_nActivityFlags;
    bool m_bSuppressToolTips;
    DWORD m_dwVisibilitySyncValue;
    CPoint m_ptFloatPos;
    CPoint m_ptDragValue;
    RECT m_rcDragValue;
    BYTE m_nInteractionFlags;
    int m_nDragValueA, m_nDragValueB;
    BYTE m_nLifeFlags;
    DWORD m_dwAuxValue;
    CArray<CExtBarNcAreaButton*, CExtBarNcAreaButton*> m_vNcAreaButtons;

protected:
    int m_nSavedRowLength;  // the length along the row when the bar was hidden; 0 none
    CSize CurrentDockedSize(DWORD dwMode);
    // The docked and floating forms of the dynamic layout; the first resizable bar of a
    // row lays out the whole row.
    CSize CalcDockedRowLayout(int nLength, DWORD dwMode);
    bool FitRowLengths(CDockBar* pDockBar, CArray<int, int>& arrRow, int nOwnInRow, int nAvail, int nUsed,
                       int nMaxThick, bool bHorz);
    static void PlaceRow(CDockBar* pDockBar, const CArray<int, int>& arrRow, bool bHorz);
    bool PrepareResizeLoop();
    void RunResizeLoop(BYTE nBit);
    void ColumnTrackerLimits(int& nLow, int& nHigh) const;
    void ApplyColumnResize();
    void DrawTracker(const CRect& rcScreen);
    INT_PTR FindOwnDockBarPos() const;
    void GatherRow(INT_PTR nRowPos, bool bResizableOnly, bool bVisibleOnly,
                   CArray<CExtControlBar*, CExtControlBar*>& arrBars, RECT* prcRow, int* pnFirstIndex,
                   bool* pbRowFirst, bool* pbRowLast) const;

    bool m_bCreating;  // Create runs: the window's style word no longer holds the bar style

    // Dock sites whose bar runs its visibility synchronisation for an auto-hide change.
    static CMap<const CFrameWnd*, const CFrameWnd*, int, int> g_mapSitesInVisibilitySync;
    // Takes pBar out of the dock bar that holds it and keeps the bar arrays straight.
    static void DetachFromDockBar(CControlBar* pBar, CDockBar* pDockBar);
    // Recalculates a frame now, or at the next idle pass; skipped when it is gone.
    static void RecalcFrameOf(HWND hWndFrame, bool bNow);
    // ---- the steps of docking into a tabbed group ----
    // Takes a group whose pages merged into another off its site and dock bar, and
    // destroys its window.
    static void DestroyEmptiedGroup(CExtDynTabControlBar* pEmptied, CFrameWnd* pSite);
    // This bar is the group pGroupThis: pBar's pages become its tabs from nIndex on.
    BOOL AddPagesToThisGroup(CExtDynTabControlBar* pGroupThis, CExtControlBar* pBar, int nIndex, bool bRecalc);
    // This bar is no group: a new group takes its place with this bar and pBar as pages.
    BOOL StartTabbedGroupWith(CExtControlBar* pBar, CFrameWnd* pFrame, bool bRecalc);
    // Creates the group and puts it in this bar's slot of its dock bar; this bar moves to
    // the group's inner dock bar. NULL when the group cannot be created.
    CExtDynTabControlBar* CreateGroupInOwnPlace(CFrameWnd* pFrame);
    // Re-parents this bar and pBar into the new group, which takes rcPlace in pDockBar;
    // false when pBar (a container) dissolved on the way.
    bool MovePagesIntoNewGroup(CExtDynTabControlBar* pGroup, CDockBar* pDockBar, CExtControlBar* pBar,
                               const CRect& rcPlace);
    // Caption buttons and frame layout of a new group that floats or is recalculated now.
    void LayoutNewGroup(CExtDynTabControlBar* pGroup, bool bRecalc);
    // A new container (split place or tabbed group) takes this bar's slot in pDockBar; its
    // inner dock bar, which this bar moves to, never floats.
    void PutContainerInOwnPlace(CExtDynControlBar* pContainer, CDockBar* pDockBar);

    bool HasLeadingSplitter() const;
    // Cuts the splitter strips of a docked resizable bar off rc (parent coordinates) and
    // stores them in window coordinates (rcWnd0 is the window rectangle).
    void CutSplitterStrips(RECT& rc, const RECT& rcWnd0, bool bLeft, bool bTop, bool bRight, bool bBottom);
    void DrawNcCaption(CDC& dc, bool bGripperAtTop, bool bActive);
    void OnWindowPosChangedBar(const WINDOWPOS* pWP);
    // The bar's tip goes away and a customize site learns the bar's state changed.
    void HideTipAndNotifyCustomizeSite();
    // A new window text reaches the caption, or the tab and caption of the bar's group.
    void OnPageOrBarTextChanged();
    void ShowCaptionButtonTip(CPoint ptScreen);
    void PrintBar(HDC hDC, LPARAM lParamPrint);
    // The bars menu of a right click (event code 1 in the client area, 2 outside it);
    // false when the click is left to the default handling.
    bool TrackBarsMenu(WORD nEventCode, CPoint ptCursor);

    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThemeChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

#include "toolkit/bars/status_bar.h"

#include "toolkit/bars/toolbar.h"

#include "toolkit/bars/dock_bar.h"

#include "toolkit/bars/menu_bar.h"

#include "toolkit/bars/bar_button.h"

#include "toolkit/bars/bar_nc_buttons.h"

#include "toolkit/bars/mini_frame.h"

#include "toolkit/bars/dock_marker_wnd.h"
