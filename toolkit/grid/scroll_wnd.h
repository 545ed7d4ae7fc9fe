// CExtScrollWnd: a child window that shows a virtual area larger than its client
// rectangle and scrolls it with its own scroll bars or with external scroll-bar controls
// (GetScrollBarCtrl). Every question about sizes, positions and bars is a virtual
// operation, so that derived windows can scroll by items and past 16-bit positions.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/theme/paint_manager.h"

class CExtScrollWnd : public CWnd, public CExtMouseCaptureSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtScrollWnd)
public:
    CExtScrollWnd();
    virtual ~CExtScrollWnd();

    bool m_bScrollWindowContent : 1;
    bool m_bNoEraseBackground : 1;
    bool m_bBufferWholeClient : 1;
    bool m_bBufferedPaint : 1;
    bool m_bInvalidateOnScroll : 1;
    bool m_bEraseOnScroll : 1;
    bool m_bUpdateOnScroll : 1;
    bool m_bUpdateOnRedraw : 1;
    bool m_bInvalidateOnRedraw : 1;
    bool m_bEraseOnRedraw : 1;
    bool m_bUse32BitScrollInfo : 1;
    int m_nUpdateScrollBarsLock;
    // One pass of UpdateScrollBars, counted in m_nUpdateScrollBarsLock for its length: one
    // pass may start inside another, but none deeper than that.
    class CUpdateScrollBarsPass
    {
    public:
        explicit CUpdateScrollBarsPass(int& nLock) : m_nLock(nLock), m_bEntered(nLock <= 1)
        {
            if (m_bEntered)
                m_nLock++;
        }
        ~CUpdateScrollBarsPass()
        {
            if (m_bEntered)
                m_nLock--;
        }
        bool IsEntered() const { return m_bEntered; }

    private:
        int& m_nLock;
        bool m_bEntered;
    };

    virtual void GetTotalSize(CSize& size);
    virtual void GetPageSize(CSize& size, int nDirection);
    virtual void GetLineSize(CSize& size, int nDirection);
    virtual RECT* CalcClientRect(RECT* pRect, bool bReposition, const RECT* pRectSrc = NULL);
    virtual RECT* GetClientRectEx(RECT* pRect);
    virtual bool IsScrollBarAutoHide(bool bHorz);
    virtual bool IsScrollBarVisible(bool bHorz);
    virtual void EnableScrollBarCtrl(int nBar, bool bEnable);
    virtual bool SetScrollInfo(int nBar, SCROLLINFO* pInfo, bool bRedraw = true);
    virtual void SetScrollRange(int nBar, int nMin, int nMax, bool bRedraw = true);
    virtual bool IsThumbTrackEnabled(bool bHorz);
    virtual int GetScrollLimit(int nBar);
    virtual void GetScrollBarData(int nBar, int* pMin, int* pMax, int* pPage, int* pPos,
                                  int* pTrackPos);
    virtual int GetScrollPos(int nBar, bool bTrackPos = false);
    virtual void SetScrollPos(int nBar, int nPos, bool bRedraw = true);
    virtual void GetScrollPosition(POINT& pt);
    virtual void GetDeviceScrollPosition(POINT& pt);
    virtual void ScrollToPosition(POINT pt);
    virtual void GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange,
                                   POINT& ptMove, bool bInsideClient);
    virtual void GetScrollBarSizes(CSize& size);
    virtual bool GetTrueClientSize(CSize& size, CSize& sizeSb);
    virtual int GetWheelScrollLines(UINT nFlags, short zDelta, POINT pt);
    virtual bool DoMouseWheel(UINT nFlags, short zDelta, POINT pt);
    virtual bool OnScroll(UINT nScrollCode, UINT nPos, bool bDoScroll = true);
    virtual bool OnScrollBy(CSize sizeScroll, bool bDoScroll = true);
    virtual void UpdateScrollBars();
    // The area the bars share and their sizes, from the parent's layout or the true client
    // size; false (with the bars switched off) when there is no room for them.
    bool MeasureScrollArea(CSize& sizeClient, CSize& sizeSb, bool& bInsideClient);
    virtual void ScrollWindowBy(int dx, int dy, const RECT* pRect = NULL, const RECT* pClip = NULL);
    virtual void EnsurePointVisible(POINT pt);
    virtual void InvalidateClientArea(bool bErase);
    virtual void UpdateWindowNow();
    virtual void Redraw();
    virtual void OnPaintContent(CDC& dc);
    virtual void OnPaintAreaBackground(CDC& dc, const RECT& rc);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // CExtPmBridge
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override;

protected:
    // The external bar of an axis, or NULL when the window's own bar serves.
    CScrollBar* ExternalBar(int nBar) const;
    // The bar and the SB_ code the scroll calls take for an axis.
    HWND BarTarget(int nBar, int* pnCode) const;
    void RefreshCornerFlags();
    // A wheel turn in the given direction as a number of lines; fine-resolution wheels
    // send fractions of a notch, which are kept until they add up to a line.
    int WheelLines(short zDelta, int nLinesPerNotch);
    int m_nWheelRemainder;

    afx_msg LRESULT OnSizeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHScrollMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnVScrollMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnScrollMsg(int nAxis, WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseWheelMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEraseBkgndMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaintMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSysColorChangeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSettingChangeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDisplayChangeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThemeChangedMsg(WPARAM wParam, LPARAM lParam);
    // A change of the system's colours, settings, display or theme: the default handling,
    // then the paint managers hear of it, and the window repaints (its client area
    // measured again first when bRecalcClient).
    LRESULT OnSystemChange(UINT message, WPARAM wParam, LPARAM lParam, bool bRecalcClient);
    DECLARE_MESSAGE_MAP()
};
