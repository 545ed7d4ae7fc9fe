// CControlBar: the base of every window that lines a frame's edge (dock bars, status
// bars, the toolkit's bars). It takes its share of the parent's client area through
// WM_SIZEPARENT, shows and hides itself lazily (DelayShow, applied at the next layout or
// idle pass) and receives its command-UI updates from WM_IDLEUPDATECMDUI.
//
// Not supported: OLE in-place hiding, the flyby status of tool tips and the pre-Win95
// border look.
#pragma once
#include "framework/wnd.h"

class CFrameWnd;
class CDockBar;
class CDockContext;
class CDC;

// Gripper metrics of the classic bar look.
#define AFX_CX_GRIPPER 3
#define AFX_CY_GRIPPER 3
#define AFX_CX_BORDER_GRIPPER 2
#define AFX_CY_BORDER_GRIPPER 2

// Help ids a control bar answers WM_HELPHITTEST with.
#ifndef HID_BASE_COMMAND
#define HID_BASE_COMMAND 0x00010000UL
#endif
#ifndef HID_BASE_CONTROL
#define HID_BASE_CONTROL 0x00050000UL
#endif

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    virtual ~CControlBar();

    // Delayed show/hide and temporary hiding (m_nStateFlags).
    enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };

    int m_cxLeftBorder, m_cxRightBorder;
    int m_cyTopBorder, m_cyBottomBorder;
    int m_cxDefaultGap;
    UINT m_nMRUWidth;
    BOOL m_bAutoDelete;       // PostNcDestroy deletes the object
    UINT m_nStateFlags;
    DWORD m_dwStyle;          // CBRS_ bits
    DWORD m_dwDockStyle;      // sides the bar may dock on (EnableDocking)
    CFrameWnd* m_pDockSite;   // the frame whose control-bar list holds the bar
    CDockBar* m_pDockBar;     // the dock bar it lives in, NULL when none
    CDockContext* m_pDockContext;  // docking state, NULL until EnableDocking

    // Element storage for derived bars (panes of a status bar, buttons).
    void* m_pData;
    int m_nCount;
    virtual BOOL AllocElements(int nElements, int cbElement);

    int GetCount() const { return m_nCount; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect);
    CRect GetBorders() const;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    void EnableDocking(DWORD dwDockStyle);
    BOOL IsFloating() const;
    virtual BOOL IsDockBar() const { return FALSE; }
    CFrameWnd* GetDockingFrame() const;
    BOOL IsVisible() const;

    // Size the bar wants: fixed bars answer from their style; CalcDynamicLayout maps a
    // layout mode onto CalcFixedLayout unless a derived bar sizes itself dynamically.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);

    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    virtual void DoPaint(CDC* pDC);
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    virtual void DelayShow(BOOL bShow);

    // The delayed show/hide applied within a layout pass; answers the style the bar
    // is to be laid out with (WS_VISIBLE as it will be).
    virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);

    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();
    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);

    // Drops the bar from its dock bar's array without laying anything out; used when
    // the bar's window goes away while it is docked.
    void DetachFromDockBar();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// Doubled border metrics the bar and dock-bar arithmetic overlaps bars by.
int AFXAPI AfxGetCxBorder2();
int AFXAPI AfxGetCyBorder2();
