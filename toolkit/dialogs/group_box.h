// CExtGroupBox: the themed group box. It takes over a BS_GROUPBOX button and paints its
// frame in one of five styles and its caption through the paint manager, never over the
// controls that lie inside it (those come before it in the parent's child order).
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CExtGroupBox : public CButton, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtGroupBox)
public:
    enum
    {
        STYLE_THEMED = 0,
        STYLE_ETCHED = 1,
        STYLE_ROUNDED = 2,
        STYLE_FLAT = 3,
        STYLE_CAPTION_BAR = 4,
    };
    enum
    {
        ALIGN_FROM_STYLE = 0,
        ALIGN_LEFT = 1,
        ALIGN_RIGHT = 2,
        ALIGN_CENTER = 3,
    };
    CExtGroupBox();
    virtual ~CExtGroupBox();

    void SetStyle(int nStyle);

    virtual HFONT OnQueryFont();
    virtual void DrawCaption(CDC& dc, const RECT& rcCaption, LPCTSTR sText, UINT nDrawTextFlags, bool bEnabled);
    virtual void DrawFrame(CDC& dc, const RECT& rcFrame);
    virtual COLORREF GetCaptionTextColor(bool bEnabled);

    // The caption alignment with 0 resolved from the window style (1 left, 2 right,
    // 3 centred).
    int GetResolvedCaptionAlign();
    // Paints the whole group box into dc (client coordinates).
    void RenderGroupBox(CDC& dc);

    void PreSubclassWindow() override;
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    int m_nCaptionAlign;
    int m_nFrameStyle;
    int m_nCaptionBarHeight;
    COLORREF m_clrBackground;
    COLORREF m_clrText;
    COLORREF m_clrTextDisabled;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    COLORREF SysColor(int nIndex);
    void ClipOutEarlierSiblings(CDC& dc);
    void PaintBackground(CDC& dc, const CRect& rcClient);
    void DrawCaptionBarText(CDC& dc, const CRect& rcClient);
};
