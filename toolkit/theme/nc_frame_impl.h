// CExtNcFrameImpl: the mix-in that lets a top-level window have its caption and borders
// painted by the paint manager. The frame acts only while the current paint manager
// supports a themed frame; no theme of this program does, so windows that mix it in
// keep the system's frame. What stands here is the frame's life cycle (initialising,
// resetting, re-framing) and the hooks its window calls; the themed caption painting,
// hit testing and caption-button tracking come with the themes that support a frame.
#pragma once
#include "framework/framework.h"

class CExtNcFrameImpl
{
public:
    enum
    {
        __ENCF_CAPTION_ACTIVE = 0x01,
        __ENCF_REGION_SET = 0x02,
        __ENCF_BORDER_RESTORED = 0x04,
        __ENCF_NOT_FRAME_CHANGE = 0x08,
        __ENCF_QUERY = 0x10,
    };
    enum
    {
        __ENCO_THEMED_FRAME_ALLOWED = 0x01,
    };

    CExtNcFrameImpl();
    virtual ~CExtNcFrameImpl();

    // The window of the frame; NULL while it has none.
    virtual HWND GetFrameHwnd() const = 0;
    CWnd* GetFrameWnd() const;

    // The themed frame acts: allowed, the window exists and the current paint manager
    // supports a themed frame for it.
    virtual bool IsNcFrameActive() const;
    // Offered every message before the window's own procedure; true when it took it.
    virtual bool FrameWindowProcHook(LRESULT& lResult, UINT message, WPARAM wParam, LPARAM lParam);
    // Sees every message after the window's own procedure while the window lives.
    virtual void FrameWindowProcPostHook(LRESULT& lResult, UINT message, WPARAM wParam, LPARAM lParam);
    // Makes the system recompute the non-client area; false while busy or without window.
    virtual bool RecalcFrame();
    // Called when the window is subclassed: remembers its styles.
    virtual void InitNcFrame();
    // Called after the window is gone.
    virtual void ResetNcFrame();

    DWORD m_dwNcStateFlags;
    DWORD m_dwSavedStyle;
    DWORD m_dwSavedExStyle;
    int m_nBusy;
    int m_nLastHoverHitTest;
    CPoint m_ptLastHover;
    DWORD m_dwNcOptionFlags;
};
