// The dock markers shown while a bar is dragged in the marker style: small top-most
// arrow windows at the edges of the frame's free area (outer markers) and in a group over
// the bar under the cursor (inner markers), each able to show a translucent highlight of
// the place where the bar would dock. The shapes, images and positions come from the
// paint manager; the drag loop decides when markers show and which one is under the cursor.
#pragma once
#include "toolkit/bars/control_bar.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/bars/dock_highlight_wnd.h"

class CExtDynControlBar;

class CExtDynDockMarkerWnd : public CWnd, public CExtPmBridge
{
    DECLARE_DYNAMIC(CExtDynDockMarkerWnd)
public:
    enum
    {
        __TIMER_HOVER = 77,
        __TIMER_FADE = 88,
        __FADE_DESTROY_AT_END = 0x01,
        __FADE_RUNNING = 0x02,
        __FADE_TO_VISIBLE = 0x04,
    };
    static const char* const g_sWndClassName;  // "Kestrix-DynDockMarker"

    // Makes the marker window over rc (screen coordinates), hidden, owned by the shared
    // host window; the window takes over hRgn as its shape. The hover image is bmpHover,
    // the other states show bmpNormal; bmpBackground (may be empty) fills the whole window.
    CExtDynDockMarkerWnd(HWND hWndTarget, int nKind, const CExtBitmap& bmpHover, const CExtBitmap& bmpNormal,
                         HRGN hRgn, const RECT& rc, const CExtBitmap& bmpBackground, int nImageOffsetX,
                         int nImageOffsetY, bool bOuter);
    // The same with the images loaded from bitmap resources (0 for no background).
    CExtDynDockMarkerWnd(HWND hWndTarget, int nKind, UINT nHoverBitmapID, UINT nNormalBitmapID, HRGN hRgn,
                         int nLeft, int nTop, int nRight, int nBottom, UINT nBackgroundBitmapID, int nImageOffsetX,
                         int nImageOffsetY, bool bOuter);
    virtual ~CExtDynDockMarkerWnd();

    // The drag state's side code of the marker (14-26), 0 when it docks nothing.
    int GetDockSideCode() const;
    int GetMarkerKind() const { return m_nKind; }
    bool IsDockingKind() const;
    bool IsFading() const { return (m_nFadeFlags & __FADE_RUNNING) != 0; }
    bool IsOuter() const { return m_bOuter; }
    HWND GetTargetWnd() const { return m_hWndTarget; }
    int GetOpacity() const { return m_nOpacity; }
    int GetHoverState() const { return m_nHoverState; }
    CExtDynDockHighlightWnd* GetHighlight() const { return m_pHighlight; }

    bool ShowHighlight(bool bShow);
    bool ShowMarker(bool bShow, bool bAnimate);
    void AnimateShow(bool bShow);
    void StopFade();
    // One hover check, as the marker's timer makes it.
    void CheckHover();

    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();
    virtual void DrawMarker(CDC& dc);

    // HWND of the hovered arrow of a background (kind 4) marker.
    HWND m_hWndLinkedMarker;
    // Kept for the paint manager's hover frame: the marker kind and whether it is one of
    // the four outer markers.
    int m_nKind;
    bool m_bStandAloneOuter;
    int m_nHoverState;  // 0 unknown, 1 hovered, 2 not hovered

    // ---- the marker sets ----------------------------------------------------------------
    static CPtrArray g_arrOuterMarkers;
    static CPtrArray g_arrInnerMarkers;
    static CWnd* g_pHostWnd;
    // The bar the inner markers stand over now.
    static HWND g_hWndInnerTarget;

    static bool RegisterMarkerClasses();
    static CWnd* GetHostWnd();
    static bool CanFade();
    static CExtDynDockMarkerWnd* FindMarker(HWND hWndTarget, int nKind, bool bOuter);
    static CExtDynDockMarkerWnd* FromHandleMarker(HWND hWnd);
    static void HideHighlights(CPtrArray& arr, CExtDynDockMarkerWnd* pKeep, bool bPumpPaint);
    static void HideAllHighlights(CExtDynDockMarkerWnd* pKeep, bool bPumpPaint);
    static void ClearHighlights(bool bPumpPaint);
    static void ShowMarkerArray(CPtrArray& arr, bool bShow, bool bAnimate);
    static void ShowAllMarkers(bool bShow);
    static void DestroyMarkers(CPtrArray& arr, bool bAnimate);
    static void DestroyAllMarkers();
    static void CreateOuterMarkers(CFrameWnd* pFrame, bool bShow, CExtPaintManager* pPM = NULL);
    static void UpdateInnerMarkers(CFrameWnd* pFrame, bool bUnused = false, CExtPaintManager* pPM = NULL);
    static HWND FindDockedBarWindowAt(CExtDynControlBar* pContainer, POINT ptScreen);
    // The frame's client area left free by its bars, in screen coordinates.
    static CRect CalcFrameFreeArea(CFrameWnd* pFrame);

    // ---- paint-manager bridge -----------------------------------------------------------
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

protected:
    bool m_bOuter;
    CExtDynDockHighlightWnd* m_pHighlight;
    HWND m_hWndTarget;
    CExtBitmap m_bmpHover;
    CExtBitmap m_bmpNormal;
    CExtBitmap m_bmpBackground;
    CPoint m_ptImageOffset;
    CRgn m_rgnShape;
    BYTE m_nFadeFlags;
    int m_nOpacity;

    void CreateMarkerWindow(HRGN hRgn, const RECT& rc);
    void FadeStep();
    void SetAlpha();

    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
