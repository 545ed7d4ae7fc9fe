// The tab page container: a window that shows one of several page windows at a time and
// a tab strip to switch between them. Page i is a direct child with the control id
// 257 + i and the strip's item i carries its handle; the strip (id 256) takes its band
// through the frame layout and the selected page gets the rest. The OneNote container
// can paint its pages' background in the selected tab's colours.
#pragma once
#include "toolkit/core/hook_sink.h"
#include "toolkit/dialogs/tab_flat_wnd.h"
#include "toolkit/dialogs/tab_onenote_wnd.h"

class CExtTabPageContainerWnd : public CWnd, public CExtHookSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtTabPageContainerWnd)
public:
    enum
    {
        __ETPC_STRIP_ID = 256,
        __ETPC_FIRST_PAGE_ID = 257,
        __ETPC_CREATED = 0x01,  // made by Create: subclassing does not make the strip
        __ETPC_CREATE_TAB_STYLE = 0x104300,
        __ETPC_CONTEXT_MENU_EVENT = 16,
    };

    CExtTabPageContainerWnd();
    virtual ~CExtTabPageContainerWnd();

    static LPCTSTR g_sWindowClassName;  // "Kestrix-TabPageContainer"
    static bool RegisterTabPageContainerClass();

    // ---- virtual operations, in slot order ------------------------------------------------
    virtual BOOL Create(CWnd* pParentWnd, const RECT& rcWnd = CRect(0, 0, 0, 0), UINT nDlgCtrlID = UINT(0xFFFF),
                        DWORD dwWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        CCreateContext* pContext = NULL);
    virtual void RenumberPages();
    virtual void RecalcLayout();
    virtual void SyncPageRects();
    virtual CExtTabWnd* CreateTabStrip();
    virtual bool OnTabWndClickedButton(int nHitTest, bool bButtonPressed, int nMouseButton, UINT nMouseEventFlags);
    virtual void OnTabWndItemPosChanged(int nOld, int nNew);
    virtual bool OnTabWndSelectionChange(int nOld, int nNew, bool bPreSelectionTest);

    // ---- pages ----------------------------------------------------------------------------
    bool PageInsert(HWND hWndPage, HICON hIcon = NULL, LPCTSTR sText = NULL, int nIndex = -1, bool bSelect = false);
    bool PageInsert(CWnd* pWndPage, HICON hIcon = NULL, LPCTSTR sText = NULL, int nIndex = -1, bool bSelect = false);
    int PageRemove(int nIndex, int nCount = 1, bool bDestroyPageWnd = true);
    HWND PageHwndGet(int nIndex) const;
    HWND PageHwndGetSafe(int nIndex) const;
    int PageGetCount() const;
    int PageSelectionGet() const;
    int PageSelectionSet(int nIndex);
    bool PageSelectNext(bool bNext);

    bool TabWndStyleBit0x10Get() const;
    void TabWndStyleBit0x200Set(bool bSet);
    int OrientationGet() const;
    // The strip, NULL while it has no window.
    CExtTabWnd* GetSafeTabWindow() const;
    int HookPageChildren(HWND hWndParent, const UINT* pIds, UINT nCount, bool bDeep);

    // The strip told the container of a selection change it made (see CExtTWPC).
    void OnStripSelectionChanged(int nOld, int nNew);

    // ---- hook sink and paint-manager bridge -----------------------------------------------
    bool OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam, LPARAM& lParam) override;
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PreSubclassWindow() override;

    CExtTabWnd* m_pWndTab;
    BYTE m_nContainerFlags;

protected:
    // The strip from the factory, its window made with the tab style; false on failure.
    bool _CreateTabStripWindow(DWORD dwTabWndStyle);
    // The steps of a page insertion around the strip's own item insertion: checks, the
    // index made valid, the page made a child and shown or hidden; then the ids from the
    // index on, the selection or update, and the layout.
    bool _PageInsertPrepare(HWND hWndPage, int& nIndex, bool& bSelect);
    void _PageInsertFinish(int nIndex, bool bSelect);
    static bool IsSelectNextKey(const MSG& msg);
    int _HookDescendants(HWND hWndParent, const UINT* pIds, UINT nCount, bool bDeep);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnClose();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()
};

// The strip as owned by a tab page container: it deletes itself with its window, hides
// while it has no items, tells its container of selection changes, clicks and moves,
// and offers its context menu to the container's command site.
template <class TBase>
class CExtTWPC : public TBase
{
public:
    bool m_bDeleteWithWindow = false;

    CExtTabPageContainerWnd* GetContainer() const
    {
        return (this->m_hWnd != NULL) ? DYNAMIC_DOWNCAST(CExtTabPageContainerWnd, this->GetParent()) : NULL;
    }
    // The window that fills and receives the context menu: the strip's parent frame (a
    // mini frame's own parent frame), else its parent, or that one's parent when it is
    // a child window.
    virtual CWnd* GetCmdSiteWnd() const
    {
        CFrameWnd* pFrame = this->GetParentFrame();
        if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
            pFrame = pFrame->GetParentFrame();
        if (pFrame != NULL)
            return pFrame;
        CWnd* pParent = this->GetParent();
        if (pParent != NULL && (pParent->GetStyle() & WS_CHILD) != 0)
            pParent = pParent->GetParent();
        return pParent;
    }
    void PostNcDestroy() override
    {
        TBase::PostNcDestroy();
        if (m_bDeleteWithWindow)
            delete this;
    }
    void OnTabWndSyncVisibility() override
    {
        const bool bVisible = (this->GetStyle() & WS_VISIBLE) != 0;
        if (this->ItemGetCount() == 0)
        {
            if (bVisible)
                this->SetWindowPos(NULL, 0, 0, 0, 0,
                                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
        }
        else if (!bVisible)
            this->SetWindowPos(NULL, 0, 0, 0, 0,
                               SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                                   SWP_NOOWNERZORDER);
    }
    bool OnTabWndClickedButton(int nHitTest, bool bButtonPressed, int nMouseButton, UINT nMouseEventFlags) override
    {
        const bool bResult = TBase::OnTabWndClickedButton(nHitTest, bButtonPressed, nMouseButton, nMouseEventFlags);
        CExtTabPageContainerWnd* pContainer = GetContainer();
        // A document-mode container answers for the strip (its frame's bar site may act).
        if (pContainer != NULL)
            return pContainer->OnTabWndClickedButton(nHitTest, bButtonPressed, nMouseButton, nMouseEventFlags);
        return bResult;
    }
    bool OnTabWndSelectionChange(int nOld, int nNew, bool bPreSelectionTest) override
    {
        if (!TBase::OnTabWndSelectionChange(nOld, nNew, bPreSelectionTest))
            return false;
        CExtTabPageContainerWnd* pContainer = GetContainer();
        if (pContainer == NULL)
            return true;
        if (!bPreSelectionTest && nNew >= 0 && this->ItemGetCount() > 0)
            pContainer->OnStripSelectionChanged(nOld, nNew);
        return pContainer->OnTabWndSelectionChange(nOld, nNew, bPreSelectionTest);
    }
    void OnTabWndItemPosChanged(int nOld, int nNew) override
    {
        TBase::OnTabWndItemPosChanged(nOld, nNew);
        CExtTabPageContainerWnd* pContainer = GetContainer();
        if (pContainer != NULL)
            pContainer->OnTabWndItemPosChanged(nOld, nNew);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CONTEXTMENU)
            return OnContainerStripContextMenu(wParam, lParam);
        return TBase::WindowProc(message, wParam, lParam);
    }

protected:
    LRESULT OnContainerStripContextMenu(WPARAM wParam, LPARAM lParam);
};

// The container whose strip has the OneNote look; it may paint the background its pages
// ask for in the selected tab's colours.
class CExtTabPageContainerOneNoteWnd : public CExtTabPageContainerWnd
{
    DECLARE_DYNCREATE(CExtTabPageContainerOneNoteWnd)
public:
    enum
    {
        __ETPC_ONENOTE_PAINT_PAGES = 0x01,
        __ETPC_ONENOTE_GRADIENT = 0x02,
    };
    CExtTabPageContainerOneNoteWnd();
    virtual ~CExtTabPageContainerOneNoteWnd();

    CExtTabWnd* CreateTabStrip() override;
    bool PageInsert(HWND hWndPage, HICON hIcon = NULL, LPCTSTR sText = NULL, int nIndex = -1, bool bSelect = false,
                    COLORREF clrLight = COLORREF(-1L), COLORREF clrDark = COLORREF(-1L));
    CExtTabOneNoteWnd* GetOneNoteStrip() const;

    BYTE m_nOneNoteFlags;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaintInheritedBackground(WPARAM wParam, LPARAM lParam);
};
