// The MDI tab strip: one tab per child window of an MDI client, following it as
// children are created, activated, hidden and closed; a click on a tab activates its
// child, the close and help buttons send it the system command. The strip watches the
// MDI client through a hook sink, gives the client a thin frame and keeps itself out of
// the frame's query pass (it places itself through the size-parent pass).
#pragma once
#include "toolkit/core/hook_sink.h"
#include "toolkit/dialogs/tab_wnd.h"

template <class TBase>
class CExtTMWI : public TBase, public CExtHookSink
{
public:
    enum
    {
        ID_TIMER_SYNC = 3,
        __ETMW_SYNC_PERIOD = 10,
        __ETMW_CONTEXT_MENU_EVENT = 7,
        __ETMW_SYNC_RUNNING = 0x01,
        __ETMW_NC_BORDER = 2,
    };

    CExtTMWI();
    virtual ~CExtTMWI();

    virtual HWND GetMdiFrameHwnd() const;
    virtual HWND GetMdiClientHwnd() const;
    virtual int ItemFindByHWND(HWND hWnd, int nIndexStartSearch = -1, bool bIncludeVisible = true,
                               bool bIncludeInvisible = true) const;
    // Follows the MDI client: items for new children, gone ones removed, visibility and
    // the active child's selection.
    virtual void SyncAllItems();
    // Shows or hides the strip for its items; a change relays out the frame later.
    virtual void UpdateMdiTabVisibility();
    // Steps the MDI client's frame painting and sizing leave to derived strips.
    virtual void OnMdiClientNcCalcSizePre(NCCALCSIZE_PARAMS* pParams) { (void)pParams; }
    virtual void OnMdiClientNcPaintInner(CDC& dc, const RECT& rcInner) { (void)dc, (void)rcInner; }

    BOOL Create(CWnd* pParentWnd, const RECT& rcWnd = CRect(0, 0, 0, 0), UINT nDlgCtrlID = UINT(0xFFFF),
                DWORD dwWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                DWORD dwTabWndStyle = CExtTabWnd::__ETWS_ORIENT_TOP, CCreateContext* pContext = NULL) override;
    bool IsMdiTabCtrl() const override { return true; }

    LPCTSTR OnTabWndQueryItemText(const CExtTabWnd::TAB_ITEM_INFO* pTii) const override;
    CExtCmdIcon* OnTabWndQueryItemIcon(const CExtTabWnd::TAB_ITEM_INFO* pTii) const override;
    bool OnTabWndSelectionChange(int nOldItem, int nNewItem, bool bPreSelectionTest) override;
    bool OnTabWndClickedItem(int nItem, bool bButtonPressed, int nMouseButton, UINT nMouseEventFlags) override;
    bool OnTabWndClickedButton(int nHitTest, bool bButtonPressed, int nMouseButton, UINT nMouseEventFlags) override;
    bool OnTabWndStartPushedTracking(int nMouseButton, int nHitTest) override;
    bool OnTabWndStartHoverTracking(int nHitTest) override;
    void OnTabWndItemInsert(int nItemIndex, CExtTabWnd::TAB_ITEM_INFO* pTii) override;
    void OnTabWndRemoveAllItems(bool bPreRemove) override;
    void OnTabWndSyncVisibility() override;

    bool OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam, LPARAM& lParam) override;

    // ---- fields, in record order ------------------------------------------------------
    mutable CExtCmdIcon m_iconMdiChild;  // the icon of the child being measured or painted
    BYTE m_nMdiTabFlags;
    CRect m_rcMdiMargins1, m_rcMdiMargins2;

protected:
    mutable CString m_sItemText;  // the text the last query built
    bool IsCustomizeMode() const;
    bool IsSyncOrDrag() const;
    void RecalcMdiClientFrame() const;
    void PostChildCommand(UINT nCommand);
    void OnMdiClientNcCalcSize(NCCALCSIZE_PARAMS* pParams);
    void OnMdiClientNcPaint(HWND hWndClient);
    LRESULT OnMdiStripContextMenu(WPARAM wParam, LPARAM lParam);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CExtTabMdiWnd : public CExtTMWI<CExtTabWnd>
{
    DECLARE_DYNCREATE(CExtTabMdiWnd)
public:
    CExtTabMdiWnd();
    virtual ~CExtTabMdiWnd();
};
