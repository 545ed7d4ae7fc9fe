// CExtStatusControlBar: the themed status bar. The framework's status bar keeps the panes
// (ids, styles, widths, texts) on the system status control; this class paints them
// through the current paint manager instead, with pane icons, a theme-drawn size grip,
// child controls placed over panes, a pane tip and a pane list that grows at run time.
// It is no toolkit control bar: it stands on the framework's status bar directly.
//
// control_bar.h includes this header where the class belongs among the bars, so the
// include comes before the guard: whichever header a file names first, the class is
// declared in the family's order.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_STATUS_BAR_H_INCLUDED
#define TOOLKIT_BARS_STATUS_BAR_H_INCLUDED

#include "framework/statusbar.h"

class CExtPopupMenuTipWnd;

class CExtStatusControlBar : public CStatusBar, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtStatusControlBar)
public:
    // Extras of one pane id: its text format, tip text and a free value.
    struct _ED_
    {
        int m_nTextFormat;
        CString m_strTipText;
        int m_nExtValue;
        _ED_() : m_nTextFormat(0), m_nExtValue(0) {}
    };

    // One pane as it is read, written and rebuilt.
    struct _STATUSBAR_PANE_
    {
        UINT nID;
        int cxText;
        UINT nStyle;
        UINT nFlags;
        CString strText;
        _STATUSBAR_PANE_() : nID(0), cxText(0), nStyle(0), nFlags(0) {}
    };

    // A child window placed over the pane with the same id.
    struct _STATUSBAR_PANE_CTRL_
    {
        HWND hWnd;
        UINT nID;
        bool bDestroyOnRemove;
        _STATUSBAR_PANE_CTRL_() : hWnd(NULL), nID(0), bDestroyOnRemove(false) {}
    };

    // Option flags (m_nOptionFlags).
    enum
    {
        __ESBO_PANE0_BORDER = 0x01,
        __ESBO_THEMED = 0x02,
        __ESBO_SEPARATORS = 0x04,
        __ESBO_HIDE_DISABLED_TEXT = 0x08,
        __ESBO_NO_CONTROL_ICONS = 0x10,
    };

    CExtStatusControlBar();
    virtual ~CExtStatusControlBar();

    // ---- panes --------------------------------------------------------------------------
    int GetPanesCount() const { return m_nCount; }
    bool GetPaneInfoEx(int nIndex, _STATUSBAR_PANE_* pPane) const;
    bool SetPaneInfoEx(int nIndex, const _STATUSBAR_PANE_* pPane, bool bRedraw = true);
    // The framework's, and the pane's controls follow the pane's enabled state.
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void SetPaneWidth(int nIndex, int cxWidth);
    UINT GetPaneID(int nIndex) const;
    // Builds the panes for the ids; an indicator gets its text (and width) from the string
    // of its id through the resource manager, a text pane (id 0) a quarter of the screen.
    bool SetIndicators(const UINT* pIDs, int nCount);
    // Inserts a pane with nID at nIndex (0 .. count); false for a taken id or a bad index.
    bool AddPane(UINT nID, int nIndex);
    void SetDrawPaneBorders(bool bDraw);
    bool GetDrawPaneBorders() const { return (m_nOptionFlags & __ESBO_PANE0_BORDER) != 0; }

    // ---- pane controls ------------------------------------------------------------------
    // Places hWnd over the pane nID from now on; false for a window that is gone or a
    // control already placed. With bDestroyOnRemove the bar destroys the window when the
    // control is removed.
    bool AddPaneControl(HWND hWnd, UINT nID, bool bDestroyOnRemove);
    void EnablePaneControls(int nIndex, bool bEnable);
    bool RemovePaneControl(UINT nID);
    void RepositionPaneControls(bool bRedraw = true);
    int GetPaneControlCount() const { return (int)m_arrPaneControls.GetSize(); }

    // ---- pane extras --------------------------------------------------------------------
    int GetPaneTextFormat(int nIndex) const;
    int LookupPaneExtValue(int nIndex) const;
    CString GetPaneTipText(int nIndex) const;

    // ---- overridables -------------------------------------------------------------------
    virtual int GetPaneExtValue(int nIndex) const;
    virtual void RemoveAllPaneControls();
    virtual int HitTestPane(CPoint ptClient) const;
    virtual bool HasPaneSeparators() const;
    virtual CExtPopupMenuTipWnd* GetTipWnd();
    virtual void ShowPaneTip(CExtPopupMenuTipWnd* pTip, const RECT& rcScreen, const CString& sText);
    virtual void DrawBackground(CDC& dc, const CRect& rcClient);
    virtual void DrawPaneBackground(CDC& dc, int nIndex, const CRect& rcPane);
    virtual void DrawPane(CDC& dc, int nIndex, const CRect& rcPane, UINT nStyle, HICON hIcon, LPCTSTR sText,
                          int nTextFormat);
    virtual COLORREF GetPaneTextColor(int nIndex) const;
    virtual bool IsSizeGripEnabled() const;
    virtual void DrawSizeGrip(CDC& dc, const CRect& rcGrip);
    virtual void DrawPaneSeparator(CDC& dc, int nIndex, const CRect& rcPrev, const CRect& rcPane);

    // The parent window can be resized by the user now: it is not maximized and its
    // minimum tracking size is below its maximum in some direction.
    bool IsParentSizable() const;
    // The rectangle of a pane as it is painted: the last pane is stretched to the size grip
    // or widened by the edge metrics.
    void GetPanePaintRect(int nIndex, CRect& rcPane) const;

    // ---- paint-manager bridge -----------------------------------------------------------
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    virtual void DrawBorders(CDC* pDC, CRect& rect);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;

    // ---- fields, in order ---------------------------------------------------------------
    CMap<UINT, UINT, _ED_, _ED_> m_mapExtData;
    BYTE m_nSuspendFlags;  // bit 0: the pane list is being rebuilt
    int m_nTipStyle;       // 0: standard tooltips; else the shared tip with this style
    BYTE m_nOptionFlags;
    int m_nDefaultTextFormat;
    COLORREF m_clrStatusBk;
    COLORREF m_clrSecond;
    COLORREF m_clrBorder;
    COLORREF m_clrText;
    COLORREF m_clrTextDisabled;
    CArray<_STATUSBAR_PANE_CTRL_*, _STATUSBAR_PANE_CTRL_*> m_arrPaneControls;

protected:
    // Icons the bar copied and handed to the status control; the control only borrows a
    // handle, so the bar destroys them once no pane shows them any more.
    CArray<HICON, HICON> m_arrOwnedIcons;
    void ReplaceOwnedIcons(CArray<HICON, HICON>& arrNew);

    void SyncColors();
    bool IsThemed() const { return (m_nOptionFlags & __ESBO_THEMED) != 0; }
    int FindPaneControl(UINT nID) const;
    void PaintPanes(CDC& dc, const CRect& rcClient);

    virtual void PostNcDestroy();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThemeChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

#endif
