// CExtMemoryDC: a device context that draws into an off-screen bitmap covering one
// rectangle of a target DC and copies the result back when it is flushed or destroyed.
// Printing DCs are never buffered: drawing then goes straight to the printer.
#pragma once
#include "framework/framework.h"

class CExtMemoryDC : public CDC
{
public:
    enum
    {
        MDCOPT_TO_MEMORY = 0x01,         // draw into an off-screen buffer
        MDCOPT_FILL_SURFACE = 0x02,      // fill the buffer with the target's background colour
        MDCOPT_FORCE_BLACK_WHITE = 0x04, // the buffer is a 1-bit bitmap
        MDCOPT_FORCE_DIB = 0x08,         // the buffer is a bottom-up 32-bit DIB section
        MDCOPT_NO_COPY_OPT = 0x10,       // keep the memory DC's own layout and mapping
        MDCOPT_FILL_BITS = 0x20,         // start with the target's image (no fill)
        MDCOPT_DEFAULT = MDCOPT_TO_MEMORY | MDCOPT_FILL_SURFACE,
    };

    CExtMemoryDC(CDC* pTargetDC = NULL, const RECT* pRect = NULL, DWORD dwFlags = MDCOPT_DEFAULT);
    virtual ~CExtMemoryDC();

    void CreateMemoryDC(CDC* pTargetDC, const RECT* pRect, DWORD dwFlags);
    // Copies the buffer to the target (when bBlit) and lets go of the target.
    void FlushToTarget(bool bBlit = true);

    const CRect& GetTargetRect() const { return m_rect; }
    // The bits of the 32-bit DIB section (flag 0x08), NULL otherwise.
    COLORREF* GetDibSurface() const { return m_pHelperDibSurface; }
    bool IsMemDC() const { return m_bMemDC; }
    CDC* GetTargetDC() const { return m_pDC; }

protected:
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap;  // selected into the memory DC before the buffer
    CDC* m_pDC;
    CRect m_rect;
    bool m_bMemDC;
    COLORREF* m_pHelperDibSurface;

private:
    CExtMemoryDC(const CExtMemoryDC&) = delete;
    CExtMemoryDC& operator=(const CExtMemoryDC&) = delete;
};
