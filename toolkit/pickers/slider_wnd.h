// The themed slider: the system trackbar with a background brush in the theme's colour
// (or the parent's themed background) and, with slider style 1, its channel and thumb
// drawn by the paint manager. Tics are always the trackbar's own.
#pragma once

#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CExtSliderWnd : public CSliderCtrl, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtSliderWnd)

public:
    enum e_slider_style_t { ES_SYSTEM = 0, ES_THEMED = 1 };

    CExtSliderWnd();
    virtual ~CExtSliderWnd();

    COLORREF SetBkColor(COLORREF clrBk);
    COLORREF GetBkColor() const { return m_clrBackground; }

    virtual bool OnSliderDrawChannel(CDC& dc, const RECT& rcChannel);
    virtual bool OnSliderDrawThumb(CDC& dc, const RECT& rcThumb, UINT nItemState);
    virtual bool OnSliderDrawTics(CDC& dc, const RECT& rcClient);

    // The brush answered for the trackbar's background.
    HBRUSH QueryBackgroundBrush();

    // CExtPmBridge
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    COLORREF m_clrBackground;
    COLORREF m_clrBrush;
    CBrush m_brushBackground;
    int m_nSliderStyle;

protected:
    void RepaintEntire();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT OnCustomDraw(NMCUSTOMDRAW* pNMCD);
};
