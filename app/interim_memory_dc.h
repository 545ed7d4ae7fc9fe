// An off-screen device context over a rectangle of a target DC, copied to the target
// when it goes: 0x01 draws into a buffer, 0x02 fills the buffer first with the target's
// background colour. Without 0x01 (or on a printer DC) drawing goes straight to the
// target.
#pragma once
#include "framework/framework.h"

class CInterimMemoryDC : public CDC
{
public:
    CInterimMemoryDC(CDC* pTargetDC, const RECT* pRect, DWORD dwFlags);
    virtual ~CInterimMemoryDC();

    bool IsBuffered() const { return m_bBuffered; }
    const CRect& GetTargetRect() const { return m_rcTarget; }

private:
    CDC* m_pTargetDC;
    CRect m_rcTarget;
    bool m_bBuffered;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;

    CInterimMemoryDC(const CInterimMemoryDC&) = delete;
    CInterimMemoryDC& operator=(const CInterimMemoryDC&) = delete;
};
