// The small drawing steps that the colour pickers' modes and panels share: solid fills
// and frames in one colour, and the palette selected for the length of one drawing.
#pragma once

#include "framework/framework.h"

namespace ExtColorPickers {

inline void FillRectColor(HDC hDC, const RECT& rc, COLORREF clr)
{
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
}

inline void FrameRectColor(HDC hDC, const RECT& rc, COLORREF clr)
{
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::FrameRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
}

// Selects and realises a palette for the length of one drawing.
class CPaletteScope
{
public:
    CPaletteScope(HDC hDC, CPalette* pPalette) : m_hDC(hDC), m_hOld(NULL)
    {
        if (pPalette != NULL && pPalette->GetSafeHandle() != NULL)
        {
            m_hOld = ::SelectPalette(hDC, (HPALETTE)pPalette->GetSafeHandle(), FALSE);
            ::RealizePalette(hDC);
        }
    }
    ~CPaletteScope()
    {
        if (m_hOld != NULL)
            ::SelectPalette(m_hDC, m_hOld, FALSE);
    }

private:
    HDC m_hDC;
    HPALETTE m_hOld;
};

}  // namespace ExtColorPickers
