// The base of every popup window of the toolkit (menus, the colour menu, the tip window,
// the pickers' popups): the open animation driven by a 30 ms timer, the sound played when
// it ends, the delayed show, the deferred repaint, the two shadows and the link to the
// paint manager. Derived classes paint in OnPaintFull (animating) and OnPaintMenu.
#pragma once
#include "framework/framework.h"
#include "toolkit/menus/popup_shadow.h"
#include "toolkit/theme/paint_manager.h"

class CExtPopupBaseWnd : public CWnd, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtPopupBaseWnd)
public:
    enum e_animation_type_t
    {
        __AT_NONE = 0,
        __AT_RANDOM = 1,
        __AT_CONTENT_DISPLAY = -1,
        __AT_CONTENT_EXPAND = -2,
        __AT_MAX_VALID = 10,
    };
    enum
    {
        ID_TIMER_ANIMATION = 666,
        ID_TIMER_DELAY_SHOW = 669,
        ID_TIMER_DELAY_PAINT = 672,
        ID_TIMER_TIP_IGNORED = 673,
        ID_PERIOD_ANIMATION = 30,
    };
    enum
    {
        __PBW_FLAG_COMBINED = 0x02,  // painted combined with the area it opened from
        __PBW_ANIM_DONE = 0x01,      // animation flags: finished or off
    };
    // Paints the combined area (the button or item the popup opened from).
    typedef void (*pCbPaintCombinedContent)(LPVOID pCookie, CDC& dc, const CWnd& wndPopup,
                                            const CRect& rcExcludeArea, int nCombineAlign);

    CExtPopupBaseWnd();
    virtual ~CExtPopupBaseWnd();

    // ---- added virtual operations, in slot order -------------------------------------
    virtual bool IsLayoutRTL();
    virtual LPVOID GetCombinedCookieObject();
    virtual bool IsCombinedWithParentItem();
    virtual bool IsUntrackedMode();
    virtual void ResetState();
    virtual void AnimationStart();
    virtual void OnAdjustAnimationKind(int* pnAnimationKind);
    virtual void ReleaseCachedBitmaps();
    virtual bool IsShadowEnabled();
    virtual void OnPaintFull(CDC& dc);
    virtual int GetShadowSize();
    virtual void OnPaintMenu(CDC& dc, bool bFull);
    virtual void PostRepaint();
    virtual void GetPaintRect(RECT& rc);
    virtual bool IsArrowCursorWanted();

    BOOL DestroyWindow() override;

    // ---- the paint-manager bridge ------------------------------------------------------
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    bool IsAnimationDone() const { return (m_nAnimFlags & __PBW_ANIM_DONE) != 0; }
    int GetAnimationKind() const { return m_nAnimationKind; }
    void SetAnimationKind(int nKind) { m_nAnimationKind = nKind; }
    int GetSoundEvent() const { return m_nSoundEvent; }
    void SetSoundEvent(int nEvent) { m_nSoundEvent = nEvent; }

    // ---- fields, in order ------------------------------------------------------------
    CRect m_rcWndArea;
    CPoint m_ptTrack;
    BYTE m_nPbwFlags;
    LPVOID m_pCbPaintCombinedCookie;
    pCbPaintCombinedContent m_pCbPaintCombinedContent;
    bool m_bCookieIsObject;
    int m_nAnimationKind;
    int m_nSoundEvent;
    COLORREF* m_pAnimBits[3];
    int m_nAnimPercent;
    int m_nAnimPercentOld;
    BYTE m_nAnimFlags;
    int m_nReserved1;
    int m_nReserved2;
    CExtPopupShadow m_shadow;
    CExtPopupShadow m_shadowCombined;
    CBitmap m_bmpAnim[3];

    static int g_nDefaultAnimation;
    // False keeps every popup from animating its opening, whatever its animation kind.
    static bool g_bAnimationAllowed;
    static bool g_bMenuWithShadows;
    static long g_nLastAnimTick;

protected:
    // The animation step of timer 666.
    void OnAnimationTimer();

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    // WM_MOUSEACTIVATE of a tracked popup: activate only for a click on one of its child
    // windows (an in-place edit).
    int MouseActivateTracked();
};
