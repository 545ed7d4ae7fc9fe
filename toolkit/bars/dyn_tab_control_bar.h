// Tabbed groups: CExtDynTabControlBar, the nested container whose pages share one place
// and whose tab strip (CExtDynTabWnd) chooses the page shown, and CExtDockDynTabBar, the
// inner dock bar that stacks every page over the same rectangle. Only the selected page
// is visible; a group of one page hides its strip and looks like a plain bar.
#pragma once
#include "toolkit/bars/dyn_control_bar.h"
#include "toolkit/bars/dyn_tab_wnd.h"

class CExtDockDynTabBar;

class CExtDynTabControlBar : public CExtDynControlBar
{
    DECLARE_DYNCREATE(CExtDynTabControlBar)
public:
    enum
    {
        // The tab window style bit that the tab setting 1 turns on.
        __TAB_SETTING_STYLE_BIT = 0x200000,
        // The strip's height before the first layout measures it.
        __INITIAL_STRIP_HEIGHT = 14,
    };

    CExtDynTabControlBar();
    virtual ~CExtDynTabControlBar();

    // -1 until the application sets it; then the current theme's default applies.
    static int g_nTabSetting;
    // The tab setting in force: the application's, else the current theme's default.
    static int GetTabSetting();
    // The style of the bar's tab window: the setting 1 sets the style bit, any other
    // setting leaves the style as it is.
    static DWORD AdjustTabWndStyle(DWORD dwTabWndStyle);

    CExtDynTabWnd m_wndTabSwitcher;

    // ---- pages ----------------------------------------------------------------------------
    // Inserts pBar (every page of pBar when it is itself a nested container) at nPos,
    // counting on; out of range appends.
    virtual void InsertBar(CExtControlBar* pBar, int nPos = -1, bool bUpdate = true);
    // Preview tabs for a bar dragged over the group.
    virtual void InsertPreview(CExtControlBar* pBar, int nPos = -1, bool bUpdate = true);
    virtual void RemoveBarTab(CExtControlBar* pBar);
    virtual void RemoveSelectedBar();
    int GetBarTabIndex(CExtControlBar* pBar) const;
    // Selects the n-th visible item; item n when there are fewer visible items.
    void SelectVisibleTab(int n, bool bEnsureVisible = false, bool bUpdate = false);
    virtual void OnBarVisibilityChanged(CExtControlBar* pBar);
    void EnsureSelection();
    // The page whose tab is selected; NULL when none.
    CExtControlBar* GetSelectedBar() const;
    // The pages in tab order (preview items skipped).
    void GetPages(CArray<CExtControlBar*, CExtControlBar*>& arrPages) const;
    // The pages pBar brings into a group: a group's pages, a nested container's bars,
    // else pBar itself.
    static void GetPagesBroughtBy(CExtControlBar* pBar, CArray<CExtControlBar*, CExtControlBar*>& arrPages);
    int GetTabStripHeight();
    CExtDockDynTabBar* GetInnerTabDockBar() const;
    // The drag code's marks: the dragged page's own tab, and the drop position shown as
    // a preview tab of pSrc (nIndex -1 appends); the highlight goes away with the
    // preview items.
    void RememberDraggedTab(CExtControlBar* pBar);
    void ShowDropPosition(CExtControlBar* pSrc, int nIndex);
    void RemoveTabHighlight(bool bUpdate = true);
    // Selects pBar's tab and shows the page again after a drag of it ended.
    void RestoreDraggedTab(CExtControlBar* pBar);

    // ---- overrides --------------------------------------------------------------------------
    bool IsBarWithGripper(bool* pbCaptionOnTop = NULL, bool* pbTextOnGripper = NULL) const override;
    using CExtControlBar::OnBarVisibilityChanged;
    void ShowBar(bool bShow, bool bDelay = true, bool bActiveTabOnly = false) override;
    bool IsCloseActiveTabOnly() const override;
    int GetMinHorzExtent() const override;
    int GetMinVertExtent() const override;
    void ResizeContentWindow(int cx = -1, int cy = -1, bool bRedraw = true) override;
    int OnGetBarCaptionText(int nType, CString& sText) const override;
    CSize CalcNestedMinSize() override;
    CExtDockDynBar* CreateInnerDockBar() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The container may veto a change of the selected page (it never does here).
    virtual bool OnTabSelectionChange(int nOld, int nNew, bool bPreSelectionTest);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    void InsertPlainBar(CExtControlBar* pBar, int& nPos);
    DECLARE_MESSAGE_MAP()
};

class CExtDockDynTabBar : public CExtDockDynBar
{
    DECLARE_DYNAMIC(CExtDockDynTabBar)
public:
    CExtDockDynTabBar();
    virtual ~CExtDockDynTabBar();

    CExtDynTabControlBar* GetTabContainer() const;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void UpdateNestedLayout() override;
    void UpdateNestedLayout2() override;
    void CollectBars(CArray<CControlBar*, CControlBar*>& arrBars) const override;
    // Moves every page over the dock bar's whole client area in one batch.
    void StackPages(CSize* pSize, bool bRedraw);
    // Pages take the container's docked and floating sizes; the group keeps a selection.
    void SyncPageSizes(bool bCopySizes, bool bEnsureSelection);

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};

// The tabbed group of dynamic bars: the dynamic caption buttons, and tab mates only
// among bars that are docked.
class CExtDynamicTabbedControlBar : public CExtDynTabControlBar
{
    DECLARE_DYNCREATE(CExtDynamicTabbedControlBar)
public:
    CExtDynamicTabbedControlBar();
    virtual ~CExtDynamicTabbedControlBar();

    DWORD m_dwDynamicReserved;

    bool IsTabMateAllowed(const CExtControlBar* pBar) const override { return OnQueryTabMate(pBar); }
    bool OnQueryTabMate(const CExtControlBar* pBar) const override;
    void CreateNcAreaButtons() override;
};
