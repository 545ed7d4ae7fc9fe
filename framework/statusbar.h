// CStatusBar: the status bar control bar on the system status-bar control. Panes have
// an id, a style (SBPS_), a width and a text; pane 0 with id 0 stretches and shows the
// frame's command prompts (WM_SETTEXT sets the pane whose id is 0).
#pragma once
#include "framework/ctrlbar.h"

// One pane as the bar keeps it (m_pData holds m_nCount of these).
struct AFX_STATUSPANE {
    UINT nID;        // command id of the indicator, 0 for a plain text pane
    int cxText;      // width of the text area
    UINT nStyle;     // SBPS_ bits
    UINT nFlags;     // SBPF_ bits
    CString strText;
};

#define SBPF_UPDATE 0x0001  // the text still has to reach the control

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    virtual ~CStatusBar();

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);

    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetPaneText(int nIndex, CString& rString) const;
    CString GetPaneText(int nIndex) const;
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);

    // Lays the panes out over the bar's width (the stretching panes share what is left)
    // and pushes pending texts to the control.
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    virtual BOOL AllocElements(int nElements, int cbElement);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    int m_nMinHeight;

protected:
    AFX_STATUSPANE* _GetPanePtr(int nIndex) const;
    // The control's own window procedure, bypassing this class's handlers.
    LRESULT ControlProc(UINT nMsg, WPARAM wParam, LPARAM lParam) const;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The command-UI object that updates one pane.
class CStatusCmdUI : public CCmdUI {
public:
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(LPCTSTR lpszText);
};
