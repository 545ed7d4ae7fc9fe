// CExtBarNcAreaButton and its kinds: the Close, Auto Hide and Options buttons in a bar's
// caption. A button is an object, not a window; its rectangle is relative to the window
// rectangle of the window whose non-client area shows the caption (the bar, or the
// floating frame whose caption serves the bar).
//
// control_bar.h includes this header where the classes belong among the bars, so the
// include comes before the guard.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_BAR_NC_BUTTONS_H_INCLUDED
#define TOOLKIT_BARS_BAR_NC_BUTTONS_H_INCLUDED

class CExtBarNcAreaButton : public CObject
{
    DECLARE_DYNCREATE(CExtBarNcAreaButton)
public:
    enum
    {
        __EBNBF_HOVER = 0x01,
        __EBNBF_PRESSED = 0x02,
        __EBNBF_DISABLED = 0x04,
        __EBNBF_PAINT_ELSEWHERE = 0x08,  // painting into another window's non-client area
    };

    explicit CExtBarNcAreaButton(CExtControlBar* pBar = NULL);
    virtual ~CExtBarNcAreaButton();

    // Deletes the button; the bar calls it for each of its buttons when it goes.
    virtual void OnNcDestroy();
    // Whether a click on the caption of a slid-out bar slides it in first.
    virtual bool OnQueryAutoHideSlideIn() const;
    virtual void OnNcAreaReposition(CExtBarNcAreaButton* pPrevVisible);
    virtual bool OnQueryVisibility() const;
    virtual void OnNcAreaDraw(CDC& dc);
    virtual UINT OnNcAreaHitTest(CPoint point);
    virtual HCURSOR OnNcAreaQueryCursor(CPoint point);
    virtual bool OnNcAreaClicked(CPoint point);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI);

    // The caption rectangle and the window rectangle the buttons are placed against,
    // with the gripper flags of the bar; false when the bar shows no caption here.
    bool GetBarNcAreaInfo(RECT* prcCaption = NULL, RECT* prcBarWnd = NULL, bool* pbGripperAtTop = NULL,
                          bool* pbTextOnGripper = NULL) const;
    bool IsBarAutoHiddenAndShown(bool* pbShownInSlider = NULL, bool* pbSliderActive = NULL) const;
    bool IsBarActive() const;
    void PaintGlyph(CDC& dc, int nGlyph);
    // Draws the button into pWnd's DC, whose origin is pWnd's client corner.
    void DrawInWindowDC(CDC& dc, CWnd* pWnd, const RECT* prc);
    INT_PTR FillToolInfo(TOOLINFO* pTI, LPCTSTR sText);
    INT_PTR ToolHitTestWithText(TOOLINFO* pTI, UINT nTextId, LPCTSTR sDefault);

    CExtControlBar* GetBar() const { return m_pBar; }
    const RECT& GetRect() const { return m_rc; }
    void SetRect(const RECT& rc) { m_rc = rc; }
    bool IsHover() const { return (m_nFlags & __EBNBF_HOVER) != 0; }
    bool IsPressed() const { return (m_nFlags & __EBNBF_PRESSED) != 0; }
    bool IsDisabled() const { return (m_nFlags & __EBNBF_DISABLED) != 0; }
    void ClearHoverAndPressed() { m_nFlags &= BYTE(~(__EBNBF_HOVER | __EBNBF_PRESSED)); }

    CExtControlBar* m_pBar;
    RECT m_rc;
    BYTE m_nFlags;

protected:
    bool PtInButton(CPoint point) const { return ::PtInRect(&m_rc, point) != FALSE; }
    // Inside: hover, and pressed while only the left mouse button is down.
    void TrackHoverAndPress(bool bInside);
    bool IsBarCustomizeMode() const;
};

class CExtBarNcAreaButtonClose : public CExtBarNcAreaButton
{
    DECLARE_DYNCREATE(CExtBarNcAreaButtonClose)
public:
    explicit CExtBarNcAreaButtonClose(CExtControlBar* pBar = NULL);
    bool OnQueryVisibility() const override;
    void OnNcAreaDraw(CDC& dc) override;
    UINT OnNcAreaHitTest(CPoint point) override;
    bool OnNcAreaClicked(CPoint point) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) override;
};

class CExtBarNcAreaButtonAutoHide : public CExtBarNcAreaButton
{
    DECLARE_DYNCREATE(CExtBarNcAreaButtonAutoHide)
public:
    explicit CExtBarNcAreaButtonAutoHide(CExtControlBar* pBar = NULL);
    void OnNcAreaReposition(CExtBarNcAreaButton* pPrevVisible) override;
    bool OnQueryVisibility() const override;
    void OnNcAreaDraw(CDC& dc) override;
    UINT OnNcAreaHitTest(CPoint point) override;
    bool OnNcAreaClicked(CPoint point) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) override;
};

class CExtBarNcAreaButtonMenu : public CExtBarNcAreaButton
{
    DECLARE_DYNCREATE(CExtBarNcAreaButtonMenu)
public:
    explicit CExtBarNcAreaButtonMenu(CExtControlBar* pBar = NULL);
    // Decides whether the Studio 2005 caption button takes the XP body.
    virtual bool OnQueryXpLook() const;
    bool OnQueryVisibility() const override;
    void OnNcAreaDraw(CDC& dc) override;
    UINT OnNcAreaHitTest(CPoint point) override;
    bool OnNcAreaClicked(CPoint point) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) override;
};

#endif
