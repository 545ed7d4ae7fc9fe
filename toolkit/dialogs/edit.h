// The toolkit's edits. CExtEditBase is a standard edit with theme-aware colours, its own
// tool tips (also on behalf of a toolbar that hosts it) and a themed context menu whose
// commands it carries out and enables itself. CExtEdit adds the hover polling and the
// themed non-client frame, which also encloses an up-down control attached at its side.
//
// The framework hosts no ActiveX controls, so the design-mode rule of the enabled test
// never applies here.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CExtPopupMenuWnd;

class CExtEditBase : public CEdit, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtEditBase)
public:
    enum
    {
        EDIT_THEMED_MENU = 0x01,  // the toolkit's context menu and its commands
    };
    CExtEditBase();
    virtual ~CExtEditBase();

    virtual bool IsEditEnabled();
    virtual int GetTipMaxWidth(LPCTSTR sText);

    void SetTooltipText(LPCTSTR sText, bool bActivate = true);
    void ActivateTooltip(bool bActivate = true);

    // The command's state for the edit: whether the table knows it, and then whether
    // it is enabled now.
    bool QueryCommandEnabled(UINT nCmdID, bool& bEnabled);
    // Carries out one command of the table; false for other ids.
    bool ExecuteCommand(UINT nCmdID);
    // Fills pPopup with the table's rows through the command profile of the edit's
    // window; false without a profile.
    bool BuildContextMenu(CExtPopupMenuWnd* pPopup);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    BYTE m_nEditFlags;
    CToolTipCtrl m_wndToolTip;
    COLORREF m_clrBackground;
    COLORREF m_clrBrush;
    CBrush m_brushBackground;
    COLORREF m_clrText;

    struct CONTEXT_MENU_ROW
    {
        UINT m_nCmdID;  // 0: separator
        LPCTSTR m_sFallbackText;
    };
    static const CONTEXT_MENU_ROW g_arrContextMenu[8];

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    bool EnsureToolTip();
    // Asks the toolbar pBar (an ancestor) for a tip about this window.
    INT_PTR HitTestThroughToolbar(CWnd* pBar, CWnd* pTipOwner, CPoint point, TOOLINFO* pTI) const;
    friend class CExtComboBoxBase;
};

class CExtEdit : public CExtEditBase
{
    DECLARE_DYNCREATE(CExtEdit)
public:
    CExtEdit();
    virtual ~CExtEdit();

    virtual void RedrawFrame();
    // Paints the frame around rcFrame (window coordinates); without a DC the window DC.
    virtual void PaintFrame(CRect rcFrame, CDC* pDC);

    // The flag byte: bit 0 the mouse is over the edit; bit 1 the owner wants the theme's
    // frame only while the edit is hovered or focused (read by the flat edits).
    bool m_bMouseOver : 1;
    bool m_bHoverFrame : 1;

protected:
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()

    void HoverStep();
    // The up-down control that follows the edit and is its automatic buddy on one side:
    // its handle, and whether it sits at the right.
    HWND FindSpinBuddy(bool& bAlignRight);
    void PaintSpinFrame(HWND hWndSpin, bool bAlignRight, COLORREF clrBack);
};
