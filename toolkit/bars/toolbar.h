// CExtToolControlBar: the toolkit's toolbar, a control bar that owns bar buttons.
//
// The bar measures its buttons, breaks them into rows (floating and dialog bars) or
// keeps one row or column (docked bars), hides what does not fit behind the chevron,
// places and paints them through the current paint manager, and routes the mouse to
// them. The sizing lives in toolbar_layout.cpp, the placing in toolbar_place.cpp, the
// painting in toolbar_paint.cpp, the mouse in toolbar_mouse.cpp and the command state,
// menus and tips in toolbar_cmd.cpp.
//
// control_bar.h includes this header where the class belongs among the bars, so the
// include comes before the guard: whichever header a file names first, the class is
// declared in the family's order.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_TOOLBAR_H_INCLUDED
#define TOOLKIT_BARS_TOOLBAR_H_INCLUDED

#include "toolkit/core/cmd_tree.h"

class CExtBarContentExpandButton;
class CExtCustomizeSite;
class CExtCustomizeCmdTreeNode;
class CExtPopupMenuWnd;
class CExtCmdItem;

class CExtToolControlBar : public CExtControlBar,
                           public CExtCustomizeSite::ICustomizeDropTarget,
                           public CExtCustomizeSite::ICustomizeDropSource
{
    DECLARE_DYNCREATE(CExtToolControlBar)
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

    // The command state of one button as a command-UI object.
    class CExtToolControlBarCmdUI : public CCmdUI
    {
    public:
        // pTBB is the button being updated (the button at m_nIndex of the bar in m_pOther
        // when it lies in the bar).
        explicit CExtToolControlBarCmdUI(CExtBarButton* pTBB = NULL) : m_pTBB(pTBB) {}
        void Enable(BOOL bOn = TRUE) override;
        void SetCheck(int nCheck = 1) override;
        void SetRadio(BOOL bOn = TRUE) override;
        void SetText(LPCTSTR lpszText) override;

    private:
        CExtToolControlBar* Bar() const;
        CExtBarButton* Button() const;
        CExtCmdItem* CmdItem() const;
        void ApplyStyle(CExtBarButton* pTBB, DWORD dwNew);
        CExtBarButton* m_pTBB;
    };

    // Layout types: which of a button's three wrap flags a layout uses.
    enum
    {
        __LAYOUT_DOCKED_HORZ = 0,
        __LAYOUT_DOCKED_VERT = 1,
        __LAYOUT_FLOATING = 2,
    };
    // Toolbar style flags (m_nToolbarStyleFlags).
    enum
    {
        __TBSF_SHOW_BARS_MENU = 0x01,  // the chevron offers its menu even when nothing is hidden
        __TBSF_PANEL = 0x02,
        __TBSF_THEME_BIT2 = 0x04,
        __TBSF_THEME_BIT3 = 0x08,
    };
    // Layout state (m_nLayoutState).
    enum
    {
        __TBLS_FULL_ROW = 0x01,
        __TBLS_RELAYOUT = 0x02,
    };
    // Toolbar options (m_nToolbarOptions).
    enum
    {
        __TBO_NO_RESIZE = 0x01,  // a floating bar is moved, never resized, by its frame's borders
        __TBO_CUSTOMIZE = 0x02,  // a customize site may be attached
    };
    enum
    {
        __TIMER_ID_DELAYED_RELAYOUT = 0x444,
    };

    CExtToolControlBar();
    virtual ~CExtToolControlBar();

    // ---- buttons ------------------------------------------------------------------------
    // Reads the toolbar resource into the command profile of the bar's window (commands,
    // icons with clrTransparent as the see-through colour, tips) and makes one button per
    // entry of the resource, separators included.
    BOOL LoadToolBar(UINT nResourceID, COLORREF clrTransparent = RGB(192, 192, 192));
    BOOL SetButtons(const UINT* pIDs = NULL, int nCount = 0);
    void RemoveAllButtons();
    BOOL RemoveButton(int nPos, BOOL bRecalc = TRUE);
    BOOL InsertButtonObject(int nPos, CExtBarButton* pButton, BOOL bRecalc = TRUE);
    BOOL InsertButton(int nPos = -1, UINT nCmdID = 0, BOOL bRecalc = TRUE);
    BOOL SetButtonsFromCmdTreeNode(CExtCustomizeCmdTreeNode* pNode, bool bRecalc = true);
    void RedrawButton(int nIndex);
    int GetButtonsCount() const;
    CExtBarButton* GetButton(int nIndex) const;
    int GetButtonIndex(const CExtBarButton* pTBB) const;
    UINT GetButtonID(int nIndex) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    bool IsContentExpandButton(int nIndex) const;
    CExtBarContentExpandButton* GetRightButton() const { return m_pRightBtn; }
    bool SetButtonMenu(int nIndex, HMENU hMenu, bool bUseFirstSubMenu = true, bool bOwned = true,
                       BOOL bRecalc = TRUE);
    // Sets the button's horizontal-only option (the menu bar's buttons keep their text
    // across a vertical bar).
    bool SetButtonHorizontalOnly(int nIndex, bool bOn);
    int GetNextNavigableButton(int nFrom, BOOL bForward, BOOL bSkipDisabled = FALSE) const;
    // The first button whose text marks chUpper (upper case) as its access key; -1 when
    // none.
    virtual int GetButtonByAccessKey(TCHAR chUpper);

    // ---- virtual operations of the toolbar -----------------------------------------------
    virtual bool UpdateMetricsFromPaintManager();
    // The classic borders and gripper thicknesses a toolbar starts with and keeps.
    void SetClassicMetrics();
    virtual void GetButtonRect(int nIndex, CRect& rc) const;
    virtual bool QueryButtonOption1() const;  // large icons
    virtual bool QueryButtonOption2() const;  // tool tips
    virtual bool QueryButtonOption3() const;  // the shortcut in the tips
    virtual CExtBarButton* CreateButtonObject(UINT nCmdID, UINT nStyle);
    virtual CExtBarContentExpandButton* CreateContentExpandButton();
    // Non-zero for every toolbar: the theme keeps the start of the bar square.
    virtual int OnQueryShape(int nReserved1, int nReserved2);
    virtual BOOL TrackButtonMenu(int nIndex, BOOL bSelectAny = FALSE, BOOL bDelayed = FALSE, BOOL bKeyboard = FALSE);
    virtual bool IsRightToLeftLayout() const;
    virtual bool IsRightToLeftButtonOrder() const;
    virtual void RecalcButtonPositions();
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    virtual CSize CalcLayout(DWORD dwMode, int nLength = -1);
    virtual CSize CalcSize(BOOL bVertical);
    virtual void SizeToolBar(int nLength, BOOL bVert = FALSE);
    virtual int WrapToolBarVert(int nHeight);
    virtual int WrapToolBar(int nWidth, int nHeight = 32767);
    // The one wrapping pass of both: lays the counted buttons in lines along x (bAlongX) or
    // y, starting a new line where one would pass nLimit (when bWrapByLength) or after a
    // button already marked to wrap (when bKeepGivenWraps); the number of lines.
    int WrapButtonLines(CDC& dc, const CSize& sizeDefault, bool bHorzMeasure, bool bAlongX, int nLimit,
                        bool bWrapByLength, bool bKeepGivenWraps);
    virtual CSize GetDefaultButtonSize() const;
    virtual bool QueryChevronOption() const;
    virtual bool IsMultiRowLayout() const;
    virtual CFont* GetBarFont(bool bVertical, bool bWanted = true);
    virtual int HitTestButton(CPoint point);
    virtual CExtCustomizeSite* GetCustomizeSite();
    virtual bool SetCustomizeSite(CExtCustomizeSite* pSite);
    // The bar's display name: its command's text, its string resource, its window text,
    // or "Toolbar #%08X" with its control id. With a node, the node takes the text and
    // the buttons' nodes.
    virtual void GetBarCaption(CString& sText, CExtCustomizeCmdTreeNode* pNode = NULL);
    virtual void RebuildFromCmdTreeNode(CExtCustomizeCmdTreeNode* pNode, bool bRecalc = true);
    virtual int CountCmdNodeButtonsBefore(int nPos, bool* pbNeighbourIsSeparator = NULL) const;
    virtual bool HasVisibilityMenuItems();
    virtual void BuildVisibilityMenu(CExtPopupMenuWnd* pPopup);

    // ---- overrides of the framework's and the control bar's operations ------------------
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DoPaint(CDC* pDC) override;
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) override;
    CSize GetMinSize() const override;
    void RecalcParentFrameLayout() override;
    bool UsesDockMarkerDrag() const override;
    int OnHelpHitTestBar(CPoint point) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    void DisableContentWindow() override;
    void EnableContentWindow() override;
    bool IsCustomizeModeActive() const override;
    void RegisterWithCustomizeSite(CExtCustomizeSite* pSite) override;
    void ToggleDocking() override;
    bool ProcessMouseMove(UINT nFlags, CPoint point) override;
    bool NcHitTestAndCursor(CPoint point) override;
    // The bar's place in an outer dock bar's rows.
    bool IsFullRow() const override;
    OuterPlace_t* GetOuterPlace() override;
    void SetOuterPlace(const OuterPlace_t& place) override;
    bool TakesRowThickness() const override;

    // ---- customize drag and drop (only a customize site drives them) ---------------------
    DROPEFFECT OnCustomizeTargetOver(CExtCustomizeSite::CCmdDragInfo& dragInfo, CPoint point,
                                     DWORD dwKeyState) override;
    void OnCustomizeTargetLeave() override;
    bool OnCustomizeTargetDrop(CExtCustomizeSite::CCmdDragInfo& dragInfo, CPoint point, DROPEFFECT de) override;
    void OnCustomizeSourceDragComplete(DROPEFFECT de, bool bCanceled, bool* p_bNoResetActiveItem) override;
    // Marks the button beside which a dragged command would go (side -1 before, +1
    // after); NULL clears the mark.
    void SetDropMarker(CExtBarButton* pTBB, int nSide);

    // ---- interaction --------------------------------------------------------------------
    // The general hit test: shown buttons having all of dwStyleMustHave and none of
    // dwStyleMustNotHave; with bNearest the nearest candidate when none contains the
    // point.
    int HitTestButtonEx(int x, int y, DWORD dwStyleMustHave, DWORD dwStyleMustNotHave, bool bNearest);
    void SetMenuTrackingButton(int nIndex);
    int GetMenuTrackingButton() const { return m_nBtnIdxMenuTracking; }
    int GetPressedButton() const { return m_nBtnIdxCapture; }
    int GetHoverButton() const { return m_nBtnIdxHover; }
    void UpdateButtonCmdUI(int nIndex);
    // The live toolbar that is pBarOrButton or holds it as a button; NULL when none.
    static CExtToolControlBar* FindLiveBar(const void* pBarOrButton);
    static bool ToggleVisibilityMenuItem(CExtPopupMenuWnd* pPopup, LPVOID pItemData);
    static bool OnCustomizeMenuItem(CWnd* pWnd, LPVOID pItemData);
    // The help-mode loop of bar buttons whose frame is in context-help mode.
    static int WaitForHelpCommand(CExtControlBar* pBar);
    // Paints the bar's row bands into a child-background record (pInfo) or, without one,
    // into dc; true when the paint manager paints rows with a gradient.
    bool PaintRowBands(CDC* pDC, ChildBkgndInfo_t* pInfo);
    // The layout type: floating (also outside a frame or without a window), docked
    // vertically or docked horizontally.
    int GetLayoutType() const;
    // Alignment style bits 0xA000: the bar lays out horizontally.
    bool IsHorzByStyle() const;
    bool IsPanelBar() const { return (m_nToolbarStyleFlags & __TBSF_PANEL) != 0; }
    bool IsNoResize() const { return (m_nToolbarOptions & __TBO_NO_RESIZE) != 0; }
    void SetNoResize(bool bOn)
    {
        m_nToolbarOptions = BYTE(bOn ? (m_nToolbarOptions | __TBO_NO_RESIZE) : (m_nToolbarOptions & ~__TBO_NO_RESIZE));
    }

    // True while the menu of a toolbar or menu-bar button tracks.
    static bool g_bButtonMenuTracking;
    // Clears that flag; toolbars drop their tracked button.
    static void CancelAllButtonMenuTracking();
    // The next button menu opens with its rarely used items shown.
    static bool g_bMenuTrackingExpanded;
    static const UINT g_nMsgTrackButtonMenu;
    static const UINT g_nMsgContinueTrackMenu;
    // The painter an open button menu calls to show its button joined to it.
    static void stat_PaintCombinedButton(LPVOID pCookie, CDC& dc, const CWnd& wndPopup,
                                         const CRect& rcExcludeArea, int nCombineAlign);

    // ---- fields -------------------------------------------------------------------------
    CExtBarContentExpandButton* m_pRightBtn;  // the chevron, also the array's last element
    CArray<CExtBarButton*, CExtBarButton*> m_buttons;
    BYTE m_nToolbarStyleFlags;
    OuterPlace_t m_outerPlace;
    BYTE m_nLayoutState;
    int m_nBtnIdxMenuTracking;  // -1 when no button's menu is open
    int m_nBtnIdxCapture;       // the pressed button
    int m_nBtnIdxHover;
    CExtCustomizeSite* m_pCustomizeSite;
    CExtBarButton* m_pCustomizeSelection;
    CExtBarButton* m_pDropMarkerButton;
    int m_nDropMarkerSide;
    BYTE m_nToolbarOptions;  // bit 1: a customize site may be attached

    static CSize g_sizeDefaultButton;
    CRect m_rcLastTip;  // the area of the tip shown last, screen coordinates
    // Command nodes of buttons dropped on the bar; the bar keeps them while it lives.
    CArray<CExtCustomizeCmdTreeNode*, CExtCustomizeCmdTreeNode*> m_arrDroppedNodes;

protected:
    // Fills the chevron's list with the overflow and gives every button its place (the
    // steps of RecalcButtonPositions).
    struct PlaceRun;
    void PlaceChevron(PlaceRun& run, CDC& dc);
    void PlaceButtons(PlaceRun& run, CDC& dc);
    void ResolveOverflow(PlaceRun& run, int nCurrent);
    void HideEdgeSeparators(PlaceRun& run);
    void ShiftRightToLeft(PlaceRun& run);
    void ApplyRows(PlaceRun& run);
    void CenterAndStretch(PlaceRun& run);
    void UpdateHiddenList(PlaceRun& run);
    void ApplyToolbarOffset(PlaceRun& run);
    // Whether button i takes part in a layout pass: shown, not hidden, and not a
    // separator that goes with the hidden button after it.
    bool IsButtonCounted(int nIndex) const;
    void PaintButtons(CDC& dc, bool bHorz);
    void PaintRowBreak(CDC& dc, CExtBarButton* pTBB, bool bHorz, bool bMultiRow);
    void HoverTrack(CPoint point);
    // Shows the hovered button's tip in the bar's tip window; true when it was shown.
    bool ShowButtonTip(CPoint point);
    void SetDelayedRelayoutTimer();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void PreSubclassWindow() override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg LRESULT OnTrackButtonMenu(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

#endif
