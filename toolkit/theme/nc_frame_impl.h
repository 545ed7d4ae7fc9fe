// CExtNcFrameImpl: the mix-in that lets a top-level window have its caption and borders
// painted by the paint manager. The frame acts only while the current paint manager
// supports a themed frame; no theme of this program does, so windows that mix it in
// keep the system's frame and only the theme-change path runs: the frame's bridge
// re-frames the window when another theme is installed.
//
// The themed caption itself (pixels of the caption buttons, hit testing of the frame) is
// drawn and measured by the paint manager's themed-frame operations.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/cmd_icon.h"

class CExtNcFrameImpl;

// The frame's link to the paint manager: installing another theme re-applies or
// removes the themed frame.
class CExtPmBridgeNC : public CExtPmBridge
{
public:
    explicit CExtPmBridgeNC(CExtNcFrameImpl* pOwner = NULL);
    virtual ~CExtPmBridgeNC();
    virtual void RegisterWithHolder();
    virtual void UnregisterFromHolder();
    virtual HWND GetBridgeHwnd();
    virtual CExtPaintManager* GetPaintManager();
    virtual void OnPaintManagerInstalled(CExtPaintManager* pPM);
    virtual void OnSysColorsChanged(CExtPaintManager* pPM, CWnd* pWndRelay);
    virtual void OnSystemSettingChanged(CExtPaintManager* pPM, CWnd* pWndRelay, UINT uFlags,
                                        LPCTSTR lpszSection);
    virtual void OnDisplayModeChanged(CExtPaintManager* pPM, CWnd* pWndRelay, int nBitsPerPixel,
                                      int cx, int cy);
    virtual void OnVisualThemeChanged(CExtPaintManager* pPM, CWnd* pWndRelay, WPARAM wParam,
                                      LPARAM lParam);

    CExtNcFrameImpl* m_pOwner;
};

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

    // The tip text of a caption button by its system command; NULL for other commands.
    // The frame itself shows no tip: no theme of this program draws the caption.
    virtual CString* GetCaptionButtonTip(UINT nSysCmd);
    // The themed frame acts: allowed, the window exists and the current paint manager
    // supports a themed frame for it.
    virtual bool IsNcFrameActive() const;
    // Whether the frame supplies its own border margins, and which.
    virtual bool QueryNcFrameMarginsOwn() const;
    virtual void GetNcFrameMargins(RECT& rcMargins) const;
    virtual bool IsCaptionActive() const;
    // Offered every message before the window's own procedure; true when it took it.
    virtual bool FrameWindowProcHook(LRESULT& lResult, UINT message, WPARAM wParam, LPARAM lParam);
    // Sees every message after the window's own procedure while the window lives.
    virtual void FrameWindowProcPostHook(LRESULT& lResult, UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool GetNcStateFlag() const;
    // Makes the system recompute the non-client area; false while busy or without window.
    virtual bool RecalcFrame();
    // Called when the window is subclassed: remembers its styles.
    virtual void InitNcFrame();
    // Called after the window is gone.
    virtual void ResetNcFrame();
    virtual bool IsSysCommandEnabled(UINT nSysCmd);
    virtual LRESULT TrackNcHover(int x, int y, UINT nHitTest);

    // Re-shapes the window for its new size (from the position record when given).
    void RecomputeWindowRgn(const WINDOWPOS* pWP = NULL);
    // The window's small icon, 16 x 16, from the window or its class.
    void UpdateFrameIcon();

    // Raises the busy counter while it lives, so that a theme install does not make the
    // frame recompute itself half-way.
    class BusyLock
    {
    public:
        explicit BusyLock(CExtNcFrameImpl& owner) : m_owner(owner), m_nFlags(0x01) { m_owner.m_nBusy++; }
        ~BusyLock() { Release(); }
        void Release()
        {
            if ((m_nFlags & 0x01) != 0)
            {
                m_owner.m_nBusy--;
                m_nFlags &= ~0x01;
            }
        }

    private:
        CExtNcFrameImpl& m_owner;
        BYTE m_nFlags;
    };

    CExtPmBridgeNC m_BridgeNC;
    DWORD m_dwNcStateFlags;
    DWORD m_dwSavedStyle;
    DWORD m_dwSavedExStyle;
    int m_nBusy;
    int m_nLastHoverHitTest;
    CPoint m_ptLastHover;
    CExtCmdIcon m_FrameIcon;
    DWORD m_dwNcOptionFlags;
    RECT m_rcNcCaptionText;
    RECT m_rcNcIcon;
    RECT m_rcNcHelp;
    RECT m_rcNcClose;
    RECT m_rcNcMaximizeRestore;
    RECT m_rcNcMinimize;
    UINT m_nHoverSysCmd;
    UINT m_nPushedSysCmd;
    CString m_strTipMinimize;
    CString m_strTipMaximize;
    CString m_strTipRestore;
    CString m_strTipClose;

protected:
    void ComputeButtonRects();
    void PaintFrame();
    UINT SysCmdFromPoint(const POINT& ptWnd);
    // Steps of the message hook.
    void FollowActivation(HWND hWnd, UINT message, WPARAM wParam, bool bRepaint);
    void SetFrameIconScaled(HICON hIcon);
    void ShrinkToClientArea(HWND hWnd, RECT* pRect, bool bOwnMargins, const RECT* pOwnMargins);
    // The point a mouse message was made at, relative to the window's rectangle.
    POINT WindowPointOfMessage(HWND hWnd, UINT message, LPARAM lParam);
    LRESULT HitTestFrame(HWND hWnd, LPARAM lParam);
    bool OnFrameDoubleClick(HWND hWnd, WPARAM nHitTest, LRESULT& lResult);
    bool TrackCaptionButtonHover(HWND hWnd, UINT message);
    // Pushes the caption button a press was made on (judged by the message's point) and
    // takes the mouse; false when the press was made on none.
    bool PressCaptionButton(HWND hWnd, UINT message, LPARAM lParam);
    // nReleasedOn: the caption button the release was made on (0: none).
    void ReleaseCaptionButton(HWND hWnd, UINT nReleasedOn);
    void DropRightToLeftStyles(HWND hWnd);

private:
    CExtNcFrameImpl(const CExtNcFrameImpl&) = delete;
    CExtNcFrameImpl& operator=(const CExtNcFrameImpl&) = delete;
};
