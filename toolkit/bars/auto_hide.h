// Auto-hide: CExtDynAutoHideArea, the tab strip along one side of a frame's client area
// that stands for the bars pinned away on that side, and CExtDynAutoHideSlider, the one
// window per frame in which a pinned bar's content slides out over the frame when its
// tab is clicked and slides back in when the mouse and the focus have left it.
//
// The slider and the area find each other and the shown bar again from window handles
// on every use, so a bar or area destroyed while the bar is out reads as none.
#pragma once
#include "framework/oledrop.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/dialogs/tab_wnd.h"

class CExtDynAutoHideSlider;

class CExtDynAutoHideArea : public CExtTabWnd
{
    DECLARE_DYNAMIC(CExtDynAutoHideArea)
public:
    // Switches tabs while something is dragged over the strip.
    class CDynDropTarget : public COleDropTarget
    {
    public:
        explicit CDynDropTarget(CExtDynAutoHideArea* pArea = NULL) : m_pArea(pArea) {}
        DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
        DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
        CExtDynAutoHideArea* m_pArea;
    };

    // Busy flags.
    enum
    {
        __EAHB_UPDATING = 0x01,        // bars are being inserted or removed: no slides
        __EAHB_ALLOW_INACTIVE = 0x02,  // ... and a slide-out may run in an inactive frame
    };
    // The tab style bit that the tab-style override switches.
    enum
    {
        __EAH_TAB_STYLE_BIT = 0x00200000,
    };

    CExtDynAutoHideArea();
    virtual ~CExtDynAutoHideArea();

    bool Create(CFrameWnd* pFrame, CExtDynAutoHideSlider* pSlider, UINT nDockBarID);
    void AppendBar(CExtControlBar* pBar, bool bForce = false);
    void RemoveBar(CExtControlBar* pBar, bool bForce = false);
    CExtDynAutoHideSlider* GetSlider() const { return m_pWndSlider; }
    CFrameWnd* GetAreaFrame() const;
    // The four areas of the frame of hWnd (a mini frame counts as its parent frame).
    static void FindAreas(HWND hWnd, CExtDynAutoHideArea** ppTop, CExtDynAutoHideArea** ppBottom,
                          CExtDynAutoHideArea** ppLeft, CExtDynAutoHideArea** ppRight);
    // The area of the bar's frame that has a tab for the bar, and the tab's index.
    static CExtDynAutoHideArea* FindBarArea(CExtControlBar* pBar, int* pnIndex = NULL);
    // Puts the frame's four areas back into their z-order among the dock bars.
    static void ArrangeZOrder(CFrameWnd* pFrame);
    // Makes the frame's four areas and their slider; false when one cannot be made.
    static bool CreateFrameAreas(CFrameWnd* pFrame);
    // The two notifications the frame dock bars forward.
    virtual void OnAreaNotify1();
    virtual void OnAreaNotify2();

    // ---- the tab window's queries and notifications -----------------------------------
    void OnTabWndSyncVisibility() override;
    void OnTabWndQueryMetrics(int& m1, int& m2, int& m3) override;
    CExtCmdIcon* OnTabWndQueryItemIcon(const TAB_ITEM_INFO* pTii) const override;
    LPCTSTR OnTabWndQueryItemText(const TAB_ITEM_INFO* pTii) const override;
    bool OnTabWndSelectionChange(int nOldItem, int nNewItem, bool bPreSelectionTest) override;
    void OnTabWndItemInsert(int nItemIndex, TAB_ITEM_INFO* pTii) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The Ctrl+PageUp / Ctrl+PageDown walk; true when the key was taken.
    bool HandleKeyboardSwitch(const MSG* pMsg);
    // The area reacts to tabs only while its frame is active (or busy bit 1 allows it).
    bool IsFrameActiveForArea() const;

    // ---- fields, in record order ------------------------------------------------------
    CDynDropTarget m_oleDropTarget;
    CExtDynAutoHideSlider* m_pWndSlider;
    BYTE m_nBusyFlags;
    RECT m_rcLastWnd;
    BYTE m_nKeyboardFlags;  // bit 0: the next slide-out came from the keyboard
    bool m_bDeleteWithWindow;  // made by CreateFrameAreas: the object goes with its window

protected:
    void PostNcDestroy() override;
    CExtControlBar* ItemBar(int nIndex) const;
    void OnAreaPaint();
    void OnAreaSizeParent(LPARAM lParam);
    void OnAreaMoved(bool bFromSize);
    void OnAreaContextMenu(CPoint ptScreen);
    void AppendTabbedGroup(CExtControlBar* pGroup);
    void RemoveTabbedGroup(CExtControlBar* pGroup, bool bForce);
};

class CExtDynAutoHideSlider : public CWnd, public CExtPmBridge
{
    DECLARE_DYNAMIC(CExtDynAutoHideSlider)
public:
    // State flags.
    enum
    {
        __EAHS_OUT = 0x01,
        __EAHS_FOCUS_INSIDE = 0x02,
        __EAHS_LEAVE_TIMER = 0x04,
        __EAHS_BUSY = 0x08,
    };
    enum
    {
        __EAHS_RESIZE_NONE = 1,
        __EAHS_TIMER_TRACK = 1,
        __EAHS_TIMER_LEAVE = 2,
        __EAHS_RESIZE_BAND = 5,  // pixels of the inner edge that resize
        __EAHS_GAP_INNER = 3,    // non-client pixels added on the inner side
        __EAHS_MIN_EXTENT = 20,
    };

    static const char* const g_sSliderClassName;  // "Kestrix-AutohideSlider"
    static bool RegisterSliderClass();

    CExtDynAutoHideSlider();
    virtual ~CExtDynAutoHideSlider();

    bool Create(CWnd* pParentFrame);
    void SlideBar(CExtControlBar* pBar, bool bShow, bool bAnimate = true, bool bActivate = true);
    CExtDynAutoHideArea* GetArea() const;
    CExtControlBar* GetShownBar() const;
    bool IsOut() const { return (m_nStateFlags & __EAHS_OUT) != 0; }
    bool IsBusy() const { return (m_nStateFlags & __EAHS_BUSY) != 0; }
    bool IsFocusInside() const { return (m_nStateFlags & __EAHS_FOCUS_INSIDE) != 0; }
    // The shown bar's answer to the tab-shown query (the slider asks nothing of its own).
    bool QueryShownBarTabShown() const;
    // The caption strip in window coordinates, empty without a shown bar; bGripperAtTop
    // tells whether it runs along the top.
    bool GetCaptionRect(RECT& rc, bool* pbGripperAtTop = NULL) const;
    // The two notifications the areas forward: nothing to do for the slider.
    void OnAreaNotify1() {}
    void OnAreaNotify2() {}
    // The slider that installed the thread's hooks, NULL when none.
    static CExtDynAutoHideSlider* g_pHookingSlider;
    // Dispatches the pending non-client paint, erase and paint messages of the thread.
    static void PumpPaintMessages();
    void PostNcDestroy() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    // ---- paint-manager bridge -----------------------------------------------------------
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    // ---- fields, in record order ------------------------------------------------------
    HWND m_hWndArea;
    HWND m_hWndBar;
    CSize m_sizeContent;
    BYTE m_nStateFlags;
    UINT m_nResizingMode;
    DWORD m_dwResizeStartX, m_dwResizeStartY;
    CExtBarNcAreaButton* m_pBtnHover;
    CExtBarNcAreaButton* m_pBtnTip;
    CExtBarNcAreaButton* m_pBtnPressed;
    CToolTipCtrl m_wndToolTip;
    RECT m_rcAvail;
    bool m_bDeleteWithWindow;  // made by CExtDynAutoHideArea::CreateFrameAreas

    // ---- the hooks' handling (also driven directly) -------------------------------------
    bool HandleMouseMove(CPoint ptScreen);
    bool HandleMouseButton(int nButton, bool bDown, bool bNonClient, CPoint ptScreen);
    void OnTrackTimer();
    void OnLeaveTimer();
    // Paints the frame and the shown bar's caption into a DC whose origin is the
    // window's top-left corner.
    void DrawSliderNcArea(CDC& dc);

protected:
    static HHOOK g_hHookMouse;
    static HHOOK g_hHookKeyboard;
    static LRESULT CALLBACK HookMouseProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HookKeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);
    void InstallHooks();
    void RemoveHooks();

    void SlideOut(CExtControlBar* pBar, bool bAnimate);
    void SlideIn(bool bAnimate, bool bActivate);
    UINT AreaSideId() const;
    bool IsHorzSide() const;
    // The non-client sizes around the content: the caption and the borders.
    CRect NonClientInsets(CExtControlBar* pBar) const;
    bool ComputeSlideOut(CExtControlBar* pBar, CExtDynAutoHideArea* pArea, CRect& rcAvail, CRect& rcFinal);
    CRect StepRect(const CRect& rcFinal, int nStep, bool bGrowing) const;
    void ApplyStep(HWND hWndContent, const CRect& rcSlider, bool bFirst);
    void ForgetButtonsHover(CExtControlBar* pBar);
    void RepaintCaption();
    bool IsPointInsideSliderOrArea(CPoint ptScreen) const;
    CExtBarNcAreaButton* CaptionButtonAt(CPoint ptWnd) const;
    bool IsShownAndOut() const;
    void LayoutShownBarButtons();
    void ResizeTrack(CPoint ptScreen);

    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnCancelMode();
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
