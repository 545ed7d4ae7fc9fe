// CExtSpinWnd: the common-controls up-down button painted by the paint manager, with
// hover and pressed looks per half and a themed background. Beside an edit (auto-buddy,
// aligned right or left) it keeps a non-client inset so that the edit's themed frame
// surrounds both. The value, range and buddy text stay with the common control.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/theme/paint_manager.h"

class CExtSpinWnd : public CSpinButtonCtrl, public CExtMouseCaptureSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtSpinWnd)
public:
    CExtSpinWnd();
    virtual ~CExtSpinWnd();

    virtual void OnPaintSpin(CDC& dc, const RECT& rc);
    virtual void OnPaintBackground(CDC& dc, const RECT& rc);
    virtual bool OnHoverTrack(int x, int y);
    virtual bool OnMouseClick(int x, int y, bool bDown, int nButton);

    // The first (up, or left with UDS_HORZ) and the second half of a rectangle.
    void GetHalves(const RECT& rc, CRect& rcFirst, CRect& rcSecond) const;
    // Auto-buddy, aligned to a side, and the window before it is an edit.
    bool IsAttachedToEdit() const;

    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override;

    BYTE m_bHoverFirst, m_bHoverSecond, m_bPressedFirst, m_bPressedSecond;
    COLORREF m_clrBackground;
    BYTE m_bNcCalcDone;
    // The hover pair any spin control saw last.
    static BYTE g_nLastHoverFirst, g_nLastHoverSecond;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void RepaintNow();
    void OnPaintMessage();
    void OnNcCalcSizeMessage(NCCALCSIZE_PARAMS* pParams);
};
