// CExtScrollBar: a standard scroll-bar control whose painting, hit testing and mouse
// tracking the current theme takes over. Owners keep talking to it with the SBM_*
// messages and still receive WM_HSCROLL / WM_VSCROLL. On WM_SIZEPARENT it lays itself
// out along one side of its parent, with up to two small windows attached at its ends.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CExtScrollBar : public CScrollBar, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtScrollBar)
public:
    CExtScrollBar();
    virtual ~CExtScrollBar();

    enum
    {
        __AUTO_REPEAT_TIMER_ID = 401,
        __AUTO_REPEAT_PERIOD = 100,
    };

    // 0 horizontal at the top, 1 at the bottom, 2 vertical at the left, 3 at the right,
    // 4 taken from the window style.
    int m_nBarKind;
    bool m_bAutoDelete : 1;
    bool m_bSizeParentLayout : 1;
    bool m_bNoCornerDetection : 1;
    bool m_bThemeBackgroundFlag : 1;
    bool m_bCornerAtStart : 1;
    bool m_bCornerAtEnd : 1;
    bool m_bThemedLook : 1;
    bool m_bBufferedPaint : 1;
    bool m_bHideAttachedStart : 1;
    bool m_bHideAttachedEnd : 1;
    HWND m_hWndAttachedStart;
    HWND m_hWndAttachedEnd;
    int m_nHorzBarHeight;
    int m_nVertBarWidth;
    int m_nHorzButtonWidth;
    int m_nVertButtonHeight;
    int m_nHorzThumbMin;
    int m_nVertThumbMin;
    bool m_bTracking : 1;
    bool m_bPressedPartOut : 1;
    bool m_bHoverCapture : 1;
    bool m_bCancelling : 1;
    bool m_bTrackPosValid : 1;
    int m_nHoverPart;
    int m_nTrackPos;

    virtual void UpdateCornerFlags(CExtScrollBar* pOther);
    virtual int GetBarKind() const;
    virtual bool IsRedrawMessage(UINT nMsg) const;
    virtual int GetScrollPosEx(bool bTrackPos);
    virtual void ScrollToPos(int nPos, bool bTrackPos, bool bRedraw);

    void UpdateMetrics();

    // CExtPmBridge
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    void ResetState();
    void InvalidateAndUpdate();
    bool IsTrackUnbounded(bool bHorz) const;
    void TrackThumbOrPart(CPoint point);

    afx_msg LRESULT OnEraseBkgndMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaintMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThemedOnly(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPosChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseActivateMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEnableMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCancelModeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCaptureChangedMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCursorMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseMoveMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonDownMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcHitTestMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSettingChangeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
