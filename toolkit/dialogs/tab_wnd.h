// The tab window: a strip of tab items along one side of its parent, in one row that
// scrolls or shrinks to fit, in several rows, or in groups, with up to seven small
// buttons (scroll back and forward, first, last, help, close, list). Everything it shows
// is painted by the current paint manager; derived strips change the look by overriding
// the virtual painting operations, owners follow it through the virtual notifications.
//
// The theme engine recognises the MDI tab window through IsMdiTabCtrl; the MDI strip
// itself lives in tab_mdi_wnd.h.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/theme/paint_manager.h"

class CExtTabWnd : public CWnd, public CExtMouseCaptureSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtTabWnd)
public:
    // Tab window style bits (GetTabWndStyle).
    enum
    {
        __ETWS_ORIENT_TOP = 0x00000000,
        __ETWS_ORIENT_BOTTOM = 0x00000001,
        __ETWS_ORIENT_LEFT = 0x00000002,
        __ETWS_ORIENT_RIGHT = 0x00000003,
        __ETWS_ORIENT_MASK = 0x00000003,
        __ETWS_EQUAL_WIDTHS = 0x00000004,  // fit mode
        __ETWS_SHOW_BTN_HELP = 0x00000008,
        __ETWS_SHOW_BTN_CLOSE = 0x00000010,
        __ETWS_INVERT_VERT_FONT = 0x00000020,
        __ETWS_BOLD_SELECTION = 0x00000040,
        __ETWS_GROUPED = 0x00000080,
        __ETWS_ENABLED_BTN_HELP = 0x00000100,
        __ETWS_ENABLED_BTN_CLOSE = 0x00000200,
        __ETWS_ENABLED_BTN_UP = 0x00000400,    // set by the layout
        __ETWS_ENABLED_BTN_DOWN = 0x00000800,  // set by the layout
        __ETWS_CENTERED_TEXT = 0x00001000,
        __ETWS_FULL_WIDTH = 0x00002000,
        __ETWS_AUTOHIDE_SCROLL = 0x00004000,
        __ETWS_HOVER_FOCUS = 0x00008000,
        __ETWS_SCROLL_BY_PAGE = 0x00010000,
        __ETWS_SHOW_BTN_SCROLL_HOME = 0x00020000,
        __ETWS_SHOW_BTN_SCROLL_END = 0x00040000,
        __ETWS_SHOW_BTN_TAB_LIST = 0x00080000,
        __ETWS_ENABLED_BTN_TAB_LIST = 0x00100000,
        __ETWS_GROUPED_EXPAND_ITEMS = 0x00200000,
        __ETWS_ITEM_DRAGGING = 0x00400000,
        __ETWS_HIDE_ICONS = 0x00800000,
        __ETWS_ENABLED_BTN_SCROLL_HOME = 0x01000000,  // set by the layout
        __ETWS_ENABLED_BTN_SCROLL_END = 0x02000000,   // set by the layout
        __ETWS_MULTI_ROW_COLUMN = 0x04000000,
        __ETWS_BOLD_MEASURE = 0x08000000,
    };
    // Run-time state bits.
    enum
    {
        __ETWST_SIZE_PARENT = 0x0001,
        __ETWST_CREATED = 0x0002,
        __ETWST_DELAY_RECALC = 0x0004,
        __ETWST_PUSHED_TRACKING = 0x0008,
        __ETWST_HOVER_TRACKING = 0x0010,
        __ETWST_SHORTENED_ITEMS = 0x0020,
        __ETWST_PRESSED_UP = 0x0040,
        __ETWST_PRESSED_DOWN = 0x0080,
        __ETWST_PRESSED_HOME = 0x0100,
        __ETWST_PRESSED_END = 0x0200,
        __ETWST_PRESSED_HELP = 0x0400,
        __ETWST_PRESSED_CLOSE = 0x0800,
        __ETWST_PRESSED_TAB_LIST = 0x1000,
    };
    // Hit codes of ItemHitTest (item indices are 0 and up).
    enum
    {
        __ETWH_NOWHERE = -1,
        __ETWH_BORDER_AREA = -2,
        __ETWH_ITEMS_AREA = -3,
        __ETWH_BUTTON_LEFTUP = -4,
        __ETWH_BUTTON_RIGHTDOWN = -5,
        __ETWH_BUTTON_HELP = -6,
        __ETWH_BUTTON_CLOSE = -7,
        __ETWH_BUTTON_TAB_LIST = -8,
        __ETWH_BUTTON_SCROLL_HOME = -9,
        __ETWH_BUTTON_SCROLL_END = -10,
    };
    // Indices into the button rectangles.
    enum
    {
        __BTN_UP = 0,
        __BTN_DOWN = 1,
        __BTN_HOME = 2,
        __BTN_END = 3,
        __BTN_HELP = 4,
        __BTN_CLOSE = 5,
        __BTN_TAB_LIST = 6,
        __BTN_COUNT = 7,
    };
    enum
    {
        __ETW_GROUP_GAP = 20,
        __ETW_MIN_ITEM_LENGTH = 24,
        __ETW_MIN_ITEM_THICKNESS = 20,
        __ETW_BUTTON_GAP = 2,
        __ETW_LIST_CMD_BASE = 65535,
        ID_TIMER_SMOOTH_SCROLL = 1,
        ID_TIMER_DELAYED_SELECTION = 2,
    };

    class TAB_ITEM_INFO : public CObject
    {
    public:
        enum
        {
            __ETWI_INVISIBLE = 0x01,
            __ETWI_GROUP_START = 0x02,
            __ETWI_SELECTED = 0x04,
            __ETWI_IN_GROUP_ACTIVE = 0x08,
            __ETWI_DISABLED = 0x20,
            __ETWI_CENTERED_TEXT = 0x40,  // painted as group-active
        };
        enum
        {
            __ETWIF_SHORTENED = 0x01,
            __ETWIF_NEW_ROW = 0x02,
        };

        TAB_ITEM_INFO(CExtTabWnd* pWndTab = NULL, TAB_ITEM_INFO* pPrev = NULL,
                      TAB_ITEM_INFO* pNext = NULL, LPCTSTR sText = NULL,
                      const CExtCmdIcon* pIcon = NULL, DWORD dwItemStyle = 0,
                      LPARAM lParam = 0, LPCTSTR sTooltipText = NULL);
        virtual ~TAB_ITEM_INFO();

        CExtTabWnd* GetTabWnd() const { return m_pWndTab; }
        DWORD GetItemStyle() const { return m_dwItemStyle; }
        DWORD ModifyItemStyle(DWORD dwRemove, DWORD dwAdd);

        bool VisibleGet() const { return (m_dwItemStyle & __ETWI_INVISIBLE) == 0; }
        // Shows or hides the item; the old visibility.
        bool VisibleSet(bool bShow = true);
        // An item is enabled while its style bit 0x20 is clear.
        bool EnabledGet() const { return (m_dwItemStyle & __ETWI_DISABLED) == 0; }
        bool SelectedGet() const { return (m_dwItemStyle & __ETWI_SELECTED) != 0; }
        bool InGroupActiveGet() const { return (m_dwItemStyle & __ETWI_IN_GROUP_ACTIVE) != 0; }
        bool GroupStartGet() const { return (m_dwItemStyle & __ETWI_GROUP_START) != 0; }

        TAB_ITEM_INFO* GetPrev() const { return m_pPrev; }
        TAB_ITEM_INFO* GetNext() const { return m_pNext; }
        // The item's index in its tab window, -1 when it is in none.
        int GetIndexOf() const;
        TAB_ITEM_INFO* GetInGroupFirst();
        TAB_ITEM_INFO* GetInGroupLast();

        // The owner may supply the text, tooltip text and icon; else the item's own.
        CString GetText() const;
        void TextSet(LPCTSTR sText) { m_sText = (sText != NULL) ? sText : _T(""); }
        CString GetTooltipText() const;
        void TooltipTextSet(LPCTSTR sText) { m_sTooltipText = (sText != NULL) ? sText : _T(""); }
        CExtCmdIcon* GetIconPtr();
        CExtCmdIcon& IconGetRef() { return m_icon; }
        void IconSet(const CExtCmdIcon& icon) { m_icon = icon; }

        CSize GetSize() const { return m_size; }
        CSize GetTextSize() const { return m_sizeText; }
        CSize GetIconSize() const { return m_sizeIcon; }
        const CRect& ItemRectGet() const { return m_rcItem; }
        void ItemRectSet(const RECT& rc) { m_rcItem = rc; }
        LPARAM LParamGet() const { return m_lParam; }
        LPARAM LParamSet(LPARAM lParam)
        {
            LPARAM lOld = m_lParam;
            m_lParam = lParam;
            return lOld;
        }
        bool IsShortened() const { return (m_nItemFlags & __ETWIF_SHORTENED) != 0; }
        bool IsNewRow() const { return (m_nItemFlags & __ETWIF_NEW_ROW) != 0; }

        // Visible, not empty and holding the point (items-area coordinates).
        bool HitTest(const POINT& pt) const;
        // Measures the item for its strip's orientation and stores the size.
        CSize Measure(CDC* pDC = NULL);

        // ---- fields, in record order ----------------------------------------------------
        CExtTabWnd* m_pWndTab;
        DWORD m_dwItemStyle;
        CString m_sText;
        CString m_sTooltipText;
        CExtCmdIcon m_icon;
        CSize m_size;
        CSize m_sizeText;
        CSize m_sizeIcon;
        CRect m_rcItem;
        LPARAM m_lParam;
        BYTE m_nItemFlags;
        TAB_ITEM_INFO* m_pPrev;
        TAB_ITEM_INFO* m_pNext;
    };

    CExtTabWnd();
    virtual ~CExtTabWnd();

    // ---- creation ------------------------------------------------------------------------
    static LPCTSTR g_sWindowClassName;  // "Kestrix-TabWindow"
    static HCURSOR g_hCursor;           // the tab windows' shared cursor (the arrow)
    static bool RegisterTabWndClass();
    virtual BOOL Create(CWnd* pParentWnd, const RECT& rcWnd = CRect(0, 0, 0, 0),
                        UINT nDlgCtrlID = UINT(0xFFFF),
                        DWORD dwWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN |
                                              WS_CLIPSIBLINGS,
                        DWORD dwTabWndStyle = __ETWS_ORIENT_TOP, CCreateContext* pContext = NULL);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- the MDI-tab and background tests the theme asks --------------------------------
    virtual bool IsMdiTabCtrl() const;
    // The tab window paints its own background (false here).
    virtual bool PaintsOwnBackground() const;

    // ---- style and orientation -------------------------------------------------------------
    DWORD GetTabWndStyle() const { return m_dwTabWndStyle; }
    DWORD ModifyTabWndStyle(DWORD dwRemove, DWORD dwAdd, bool bUpdate = false);
    int OrientationGet() const { return (int)(m_dwTabWndStyle & __ETWS_ORIENT_MASK); }
    int OrientationSet(int nOrientation, bool bUpdate = false);
    bool OrientationIsHorizontal() const { return OrientationGet() <= 1; }
    bool OrientationIsVertical() const { return !OrientationIsHorizontal(); }
    // The strip lies at the top or the left of its content.
    bool OrientationIsTopLeft() const { return OrientationGet() == 0 || OrientationGet() == 2; }
    virtual bool _IsMultiRowColumnMode() const { return (m_dwTabWndStyle & __ETWS_MULTI_ROW_COLUMN) != 0; }
    virtual bool _IsBoldMeasure() const { return (m_dwTabWndStyle & __ETWS_BOLD_MEASURE) != 0; }
    virtual bool _IsScrollAvail() const { return m_nScrollMaxPos > 0; }
    virtual bool _IsScrolling() const { return m_nScrollDirectionRest != 0; }

    // ---- items ------------------------------------------------------------------------------
    int ItemGetCount() const { return (int)m_arrItems.GetSize(); }
    // NULL when the index is out of range.
    TAB_ITEM_INFO* ItemGet(int nIndex) const
    {
        return (nIndex >= 0 && nIndex < ItemGetCount()) ? m_arrItems[nIndex] : NULL;
    }
    int ItemGetIndexOf(const TAB_ITEM_INFO* pTii) const;
    int ItemGetVisibleCount() const { return m_nVisibleItemCount; }
    TAB_ITEM_INFO* ItemInsert(LPCTSTR sText, const CExtCmdIcon& icon, DWORD dwItemStyle = 0,
                              int nIndex = -1, LPARAM lParam = 0, bool bUpdate = false);
    TAB_ITEM_INFO* ItemInsert(LPCTSTR sText = NULL, HICON hIcon = NULL, DWORD dwItemStyle = 0,
                              int nIndex = -1, LPARAM lParam = 0, bool bUpdate = false);
    int ItemRemove(int nIndex, int nCount = 1, bool bUpdate = false);
    void ItemRemoveAll(bool bUpdate = false);
    int ItemFindByLParam(LPARAM lParam, int nIndexStartSearch = -1, bool bIncludeVisible = true,
                         bool bIncludeInvisible = false) const;
    int ItemFindByStyle(DWORD dwInclude, DWORD dwExclude = 0, int nIndexStartSearch = -1) const;
    // The first and the last item of the item's group; -1 when out of range.
    int ItemGetGroupFirst(int nIndex) const;
    int ItemGetGroupLast(int nIndex) const;
    bool ItemEnsureVisible(int nIndex, bool bUpdate = false);
    bool ItemMove(int nIndexFrom, int nIndexTo, bool bUpdate = false);
    // The move itself: a copy at the new place, the old item removed, the copy selected.
    virtual void ItemMoveImpl(int nIndexFrom, int nIndexTo);

    // ---- selection ------------------------------------------------------------------------
    int SelectionGet() const { return m_nSelIndex; }
    int SelectionSet(int nIndex, bool bEnsureVisible = false, bool bUpdate = false);
    bool SelectionDelay(int nIndex = -1, UINT nElapse = 0);
    int SelectionDelayGet() const { return m_nDelayedSelIndex; }

    // ---- layout -----------------------------------------------------------------------------
    void UpdateTabWnd(bool bImmediate = true);
    CRect GetTabWndClientRect() const;
    virtual void CalcItemsAreaForRect(RECT& rcOut, const RECT& rcClient);
    virtual void RecalcLayout();
    virtual CFont& OnQueryFont(bool bSelected, int nOrientation = -1);
    const CRect& GetItemsArea() const { return m_rcTabItemsArea; }
    const CRect& GetBorderArea() const { return m_rcTabNearBorderArea; }
    const CRect& GetButtonRect(int nButton) const { return m_rcButtons[nButton]; }
    int GetScrollPos() const { return m_nScrollPos; }
    int GetScrollMaxPos() const { return m_nScrollMaxPos; }
    int GetItemsExtent() const { return m_nItemsExtent; }
    int GetIndexVisibleFirst() const { return m_nIndexVisFirst; }
    int GetIndexVisibleLast() const { return m_nIndexVisLast; }
    WORD GetTabWndState() const { return m_wTabWndState; }
    // Leaves the strip in or out of the parent frame's size pass.
    void SizeParentModeSet(bool bOn)
    {
        m_wTabWndState = bOn ? WORD(m_wTabWndState | __ETWST_SIZE_PARENT)
                             : WORD(m_wTabWndState & ~__ETWST_SIZE_PARENT);
    }

    // ---- painting and hit testing -----------------------------------------------------
    int ItemHitTest(const POINT& ptClient) const;
    // Tooltip text of a button hit code; empty when it has none.
    static CString GetButtonTooltipText(int nHitTest);
    virtual void OnTabWndDrawEntire(CDC& dc, const RECT& rcClient);
    virtual void OnTabWndEraseClientArea(CDC& dc, const RECT& rcClient, const RECT& rcTabItemsArea,
                                         const RECT& rcTabNearBorderArea, int nOrientation,
                                         bool bGroupedMode);
    virtual void OnTabWndDrawItem(CDC& dc, const RECT& rcTabItemsArea, int nItemIndex,
                                  TAB_ITEM_INFO* pTii, bool bTopLeft, bool bHorz, bool bSelected,
                                  bool bCenteredText, bool bGroupedMode, bool bInGroupActive,
                                  bool bInvertedVerticalMode, const RECT& rcEntireItem,
                                  CSize sizeTextMeasured, CFont* pFont, LPCTSTR sText,
                                  CExtCmdIcon* pIcon);
    virtual void OnTabWndDrawButton(CDC& dc, const RECT& rcButton, int nHitTest, bool bTopLeft,
                                    bool bHorz, bool bEnabled, bool bHover, bool bPushed,
                                    bool bGroupedMode);
    virtual void OnTabWndQueryMetrics(int& m1, int& m2, int& m3);
    virtual void OnTabWndUpdateItemMeasure(TAB_ITEM_INFO* pTii, CDC& dcMeasure, CSize& sizePreCalc);
    virtual int OnTabWndQueryBandExtra(int nOrientation);
    virtual bool OnTabWndHoverRepaintNeeded();
    virtual int OnTabWndQueryRowGap() { return 0; }
    // The buttons' width and height (square in the base strip).
    virtual CSize OnTabWndQueryButtonSize() const;
    virtual int OnTabWndButtonsCalcExtent(int nButtonSize, int nButtonGap) const;
    virtual void OnTabWndButtonsRecalcLayout(CRect& rcButton, int nButtonSize, int nButtonGap);
    bool IsButtonEnabled(int nHitTest) const;

    // ---- notifications and queries (the base behaviour in the definitions) -----------------
    virtual bool OnTabWndSelectionChange(int nOldItem, int nNewItem, bool bPreSelectionTest);
    virtual bool OnTabWndClickedItem(int nItem, bool bButtonPressed, int nMouseButton,
                                     UINT nMouseEventFlags);
    virtual bool OnTabWndClickedButton(int nHitTest, bool bButtonPressed, int nMouseButton,
                                       UINT nMouseEventFlags);
    virtual bool OnTabWndMouseTrackingPushedStart(int nMouseButton, int nHitTest)
    {
        return OnTabWndStartPushedTracking(nMouseButton, nHitTest);
    }
    virtual bool OnTabWndStartPushedTracking(int nMouseButton, int nHitTest);
    virtual void OnTabWndStopPushedTracking(bool bReleaseCapture);
    virtual bool OnTabWndStartHoverTracking(int nHitTest);
    virtual void OnTabWndStopHoverTracking(bool bReleaseCapture);
    int GetPushedTrackingIndex() const { return m_nPushedTrackingIndex; }
    int GetPushedTrackingButton() const { return m_nPushedTrackingButton; }
    int GetHoverTrackingIndex() const { return m_nHoverTrackingIndex; }
    virtual void OnTabWndItemInsert(int nItemIndex, TAB_ITEM_INFO* pTii);
    virtual void OnTabWndRemoveItem(int nItemIndex, int nCount, bool bPreRemove);
    virtual void OnTabWndRemoveAllItems(bool bPreRemove);
    virtual bool OnTabWndItemPosChanging(int nItemOldIndex, int nItemNewIndex);
    virtual void OnTabWndItemPosChanged(int nItemOldIndex, int nItemNewIndex);
    virtual bool OnTabWndCanDragItem(int nIndex);
    virtual bool OnTabWndToolTipsEnabled() { return true; }
    virtual void OnTabWndSyncVisibility() {}
    virtual LPCTSTR OnTabWndQueryItemText(const TAB_ITEM_INFO* pTii) const;
    virtual LPCTSTR OnTabWndQueryItemTooltipText(const TAB_ITEM_INFO* pTii) const;
    virtual CExtCmdIcon* OnTabWndQueryItemIcon(const TAB_ITEM_INFO* pTii) const;

    // ---- scrolling and dragging -------------------------------------------------------
    void ScrollTabItems(int nStep, bool bSmooth = true);
    virtual void ItemDragLoop(int nIndex);
    virtual bool OnTabWndProcessClick(const POINT& point, bool bButtonPressed, int nMouseButton,
                                      UINT nMouseEventFlags);

    // ---- the paint-manager bridge -----------------------------------------------------
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override;

    // ---- fields, in record order --------------------------------------------------------
    CRuntimeClass* m_pHelperLastPaintManagerRTC;
    CToolTipCtrl* m_pToolTip;
    BYTE m_nTabWndFlags;  // bit 0: left out of the frame's size pass; the theme reads it too
    DWORD m_dwTabWndStyle;
    int m_nSelIndex;
    int m_nIndexVisFirst;
    int m_nIndexVisLast;
    int m_nDelayedSelIndex;
    int m_nHoverTrackingIndex;
    int m_nVisibleItemCount;
    int m_nItemsExtent;
    int m_nScrollPos;
    int m_nScrollMaxPos;
    int m_nScrollDirectionRest;
    CRect m_rcTabItemsArea;
    CRect m_rcTabNearBorderArea;
    CRect m_rcButtons[__BTN_COUNT];
    CTypedPtrArray<CPtrArray, TAB_ITEM_INFO*> m_arrItems;
    WORD m_wTabWndState;
    int m_nPushedTrackingIndex;
    int m_nPushedTrackingButton;
    int m_nPushedTrackingHitTest;  // the hovered button code
    CRect m_rcRecalcLayout;        // forced client rectangle
    CPoint m_ptStartDrag;
    CRect m_rcLastMovedItemRect;
    BYTE m_nDragFlags;

protected:
    void _CreationStep();
    void _RecalcLayoutImpl();
    // The steps of the layout pass, in the order it takes them.
    struct LAYOUT_PASS;
    void _ResetLayoutResults();
    bool _BeginLayoutPass(LAYOUT_PASS& pass);
    void _MeasureItems(LAYOUT_PASS& pass);
    int _MeasureCollapsedGroup(LAYOUT_PASS& pass, CDC& dcMeasure, int nFirst, bool& bFirstGroup);
    void _PlaceItemsArea(LAYOUT_PASS& pass);
    void _FitItemsToEqualShares(const LAYOUT_PASS& pass);
    void _PlaceButtons(const LAYOUT_PASS& pass);
    void _PlaceItemsInStrip(const LAYOUT_PASS& pass);
    void _PlaceItemsInRows(const LAYOUT_PASS& pass);
    void _UpdateButtonStyles();
    // Item insertion in two steps, so that derived strips insert their own item records:
    // the index made valid with the neighbours there, then the new item put in place.
    void _ItemInsertPlace(int& nIndex, TAB_ITEM_INFO*& pPrev, TAB_ITEM_INFO*& pNext) const;
    TAB_ITEM_INFO* _ItemInsertFinish(int nIndex, TAB_ITEM_INFO* pTii, bool bUpdate);
    // Steps of the whole-strip painting, for strips that paint their items in another order.
    void _DrawBackground(CDC& dc, const RECT& rcClient);
    bool _HasItemsInView() const;
    CRect _GetItemsClipRect() const;
    CRect _GetItemRectInView(int nIndex) const;
    void _DrawItemInView(CDC& dc, int nIndex);
    void _DrawButtons(CDC& dc);
    // The frame's size pass; a thickness of 0 or more replaces the items area's.
    void _SizeParent(LPARAM lParam, int nItemsThickness);
    void _ShowTip(const CRect& rcClient, const CString& sText);
    void _HideTips();
    void _ShowListMenu();

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSettingChangeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThemeChangedMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnQueryRepositionCalcEffect(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseButtonMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseMoveMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTimerMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCancelModeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCaptureChangedMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFocusMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseActivateMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCursorMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNothingMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
