// CExtLabel: the themed static control. Text and icon labels are painted here over the
// theme's dialog background; frames, rectangles, bitmaps, etched lines and owner-drawn
// statics keep the standard painting.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CExtLabel : public CStatic, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtLabel)
public:
    enum
    {
        FONT_BOLD = 0x01,
        FONT_ITALIC = 0x02,
        FONT_UNDERLINE = 0x04,
        FONT_STRIKEOUT = 0x08,
    };
    CExtLabel();
    virtual ~CExtLabel();

    virtual void DrawLabelText(CDC& dc, const RECT& rc, LPCTSTR sText, UINT nDrawTextFlags, bool bEnabled);
    virtual COLORREF GetLabelTextColor(bool bEnabled);
    // The DrawText flags the label uses for its text, from its style and the text.
    UINT GetTextDrawFlags(const CString& sText);
    // Paints the whole label (background, icon or text) into dc.
    void RenderLabel(CDC& dc);

    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    BYTE m_nFontFlags;
    COLORREF m_clrText;
    COLORREF m_clrTextDisabled;
    COLORREF m_clrBackground;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PaintsItself();
};
