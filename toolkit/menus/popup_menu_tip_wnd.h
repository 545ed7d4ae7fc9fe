// The toolkit's own tooltip: one line of text, optionally with a 16 x 16 information icon,
// as a rounded balloon whose stem points at an area or as a plain rectangle with a shadow.
// One shared instance belongs to the tracking site; every popup menu embeds one for its
// items. The tip shows after a delay (quickly when another tip was shown just before),
// and hides itself when the pointer leaves its area, a button or Alt is pressed, a bar is
// dragged or the application is deactivated.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/menus/popup_base_wnd.h"

#include <time.h>

class CExtPopupMenuTipWnd : public CExtPopupBaseWnd
{
    DECLARE_DYNCREATE(CExtPopupMenuTipWnd)
public:
    enum
    {
        ID_TIMER_TIP_DELAY = 671,  // the area watcher
        ID_PERIOD_SHOW = 500,
        ID_PERIOD_QUICK_SHOW = 20,
        ID_PERIOD_WATCH = 200,
    };
    enum e_tip_style_t
    {
        __ETS_NONE = 0,
        __ETS_BALLOON = 1,
        __ETS_BALLOON_NO_ICON = 2,
        __ETS_RECTANGLE = 3,
        __ETS_RECTANGLE_NO_ICON = 4,
        __ETS_INV_RECTANGLE = 5,
        __ETS_INV_RECTANGLE_NO_ICON = 6,
    };
    enum
    {
        __FLIP_HORZ = 0x01,
        __FLIP_VERT = 0x02,
    };

    CExtPopupMenuTipWnd();
    virtual ~CExtPopupMenuTipWnd();

    void SetText(LPCTSTR sText);
    CString GetText() const { return m_sText; }
    void SetTipStyle(int nStyle) { m_nTipStyle = nStyle; }
    int GetTipStyle() const { return m_nTipStyle; }
    void SetAppearanceValue(int nShadowSize);
    // Shows the tip for an area in screen coordinates; FALSE for no style or a bad one.
    bool Show(CWnd* pWndOwner, const RECT& rcArea);
    // Kills the tip timers, hides the window, empties its area and releases its shadow.
    void Hide();
    // The tip's size and window region for the current text and style.
    virtual HRGN CalcLayout(CDC& dc, SIZE& sizeTip);

    void OnPaintMenu(CDC& dc, bool bFull) override;
    bool IsShadowEnabled() override { return false; }
    int GetShadowSize() override;
    bool IsBalloon() const { return m_nTipStyle == __ETS_BALLOON || m_nTipStyle == __ETS_BALLOON_NO_ICON; }
    bool HasIcon() const
    {
        return m_nTipStyle == __ETS_BALLOON || m_nTipStyle == __ETS_RECTANGLE || m_nTipStyle == __ETS_INV_RECTANGLE;
    }

    // ---- fields, in order ----------------------------------------------------------------
    CExtCmdIcon m_icon;
    CSize m_sizeIcon;
    int m_nRectMarginX, m_nRectMarginY;
    int m_nBalloonEllipseX, m_nBalloonEllipseY;
    int m_nStemWidth, m_nStemHeight;
    int m_nIconGap;
    int m_nBalloonOffset;
    int m_nDistanceBelow;
    int m_nShadowSize;
    CString m_sText;
    BYTE m_nFlipFlags;
    int m_nTipStyle;
    CExtPopupShadow m_shadowTip;
    time_t m_nLastQuickShow;

protected:
    // The work area (or monitor) bounds around the area's centre.
    CRect GetBounds() const;
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    DECLARE_MESSAGE_MAP()
};
