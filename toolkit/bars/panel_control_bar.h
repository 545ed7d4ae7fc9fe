// CExtPanelControlBar: a toolbar-like bar that hosts one child window (its first child,
// created by the owner) instead of buttons. It docks, floats and sizes like a toolbar,
// but it is always exactly as large as the hosted window plus its margins and frame, and
// it keeps the hosted window at the margin corner without resizing it. The panel keeps
// no pointer to the hosted window: it finds its first child at every use.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_PANEL_CONTROL_BAR_H_INCLUDED
#define TOOLKIT_BARS_PANEL_CONTROL_BAR_H_INCLUDED

class CExtPanelControlBar : public CExtToolControlBar
{
    DECLARE_DYNCREATE(CExtPanelControlBar)
public:
    // Kinds of size a caller asks for.
    enum
    {
        __PANEL_SIZE_FLOATING = 0,
        __PANEL_SIZE_DOCKED_HORZ = 1,
        __PANEL_SIZE_DOCKED_VERT = 2,
    };

    CExtPanelControlBar();
    virtual ~CExtPanelControlBar();

    // ---- operations of the panel, in table order ----------------------------------------
    // The hosted window's size plus the margins; the kind is passed on, not used.
    virtual void CalcPanelSize(CSize& size, int nType);
    virtual CRect GetMargins() const;
    virtual void QueryPanelSize(CSize& size, int nType);
    // Moves the hosted window to the client corner inset by the left and top margins.
    virtual void RepositionChild(bool bRedraw = true);
    // The hosted window's size; (0, 0) without a window or a child.
    virtual CSize GetChildSize() const;

    // ---- overrides ------------------------------------------------------------------------
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void DisableContentWindow() override;
    int GetMinHorzExtent() const override;
    int GetMinVertExtent() const override;
    CSize GetDefaultMinSize() const override;
    CSize GetMinSize() const override;
    bool TakesRowThickness() const override;
    int OnHelpHitTestBar(CPoint point) override;
    CSize CalcLayout(DWORD dwMode, int nLength = -1) override;
    bool IsMultiRowLayout() const override;
    CExtCustomizeSite* GetCustomizeSite() override;
    bool SetCustomizeSite(CExtCustomizeSite* pSite) override;

    int m_nMarginLeft, m_nMarginTop, m_nMarginRight, m_nMarginBottom;

protected:
    CSize PanelSize(int nType) const;
    void PaintPanelBackground(CDC& dc, const CRect& rcClient);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

#endif
