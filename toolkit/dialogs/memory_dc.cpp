#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/core/bitmap.h"

CExtMemoryDC::CExtMemoryDC(CDC* pTargetDC, const RECT* pRect, DWORD dwFlags)
    : m_hOldBitmap(NULL), m_pDC(NULL), m_rect(0, 0, 0, 0), m_bMemDC(false), m_pHelperDibSurface(NULL)
{
    if (pTargetDC != NULL)
        CreateMemoryDC(pTargetDC, pRect, dwFlags);
}

CExtMemoryDC::~CExtMemoryDC()
{
    FlushToTarget(true);
    m_bitmap.DeleteObject();
}

void CExtMemoryDC::CreateMemoryDC(CDC* pTargetDC, const RECT* pRect, DWORD dwFlags)
{
    m_pDC = pTargetDC;
    m_hOldBitmap = NULL;
    m_pHelperDibSurface = NULL;
    if (m_pDC == NULL)
        return;
    m_bMemDC = (dwFlags & MDCOPT_TO_MEMORY) != 0 && !m_pDC->IsPrinting();
    if (pRect != NULL)
        m_rect = *pRect;
    else
        m_pDC->GetClipBox(&m_rect);

    const CRect rcLogical(m_rect);
    bool bRTL = false;
    DWORD dwLayout = 0;
    if (m_bMemDC)
    {
        CreateCompatibleDC(m_pDC);
        if ((dwFlags & MDCOPT_NO_COPY_OPT) == 0)
        {
            dwLayout = m_pDC->GetLayout();
            if (dwLayout == GDI_ERROR)
                dwLayout = 0;
            bRTL = (dwLayout & LAYOUT_RTL) != 0;
            // A mirrored target maps its logical left edge to the device's right: swap
            // first so that the device rectangle comes out ordered.
            if (bRTL)
                std::swap(m_rect.left, m_rect.right);
            ::LPtoDP(m_pDC->m_hAttribDC, (LPPOINT)&m_rect, 2);
        }
        int nHeight = m_rect.bottom - m_rect.top;
        int nWidth = m_rect.right - m_rect.left;
        if (dwFlags & MDCOPT_FORCE_BLACK_WHITE)
        {
            m_bitmap.CreateBitmap(nWidth, nHeight, 1, 1, NULL);
        }
        else if (dwFlags & MDCOPT_FORCE_DIB)
        {
            void* pBits = NULL;
            // A target whose y axis runs upwards gives a negative height: its rows then go
            // top down, as such a header always made them.
            HBITMAP hDib = CreateDib32(m_pDC->GetSafeHdc(), nWidth, nHeight < 0 ? -nHeight : nHeight, &pBits,
                                       nHeight > 0);
            if (hDib != NULL)
            {
                m_bitmap.Attach(hDib);
                m_pHelperDibSurface = (COLORREF*)pBits;
            }
        }
        else
        {
            m_bitmap.CreateCompatibleBitmap(m_pDC, nWidth, nHeight);
        }
        if (m_bitmap.GetSafeHandle() == NULL)
        {
            // Without a buffer the memory DC would copy its one-pixel stock bitmap over the
            // target: draw straight to the target instead. Callers that asked for the bits
            // see no pixel pointer.
            DeleteDC();
            m_rect = rcLogical;
            m_bMemDC = false;
        }
        else
            m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.GetSafeHandle());
    }
    if (m_bMemDC)
    {
        if ((dwFlags & MDCOPT_NO_COPY_OPT) == 0)
        {
            // The layout goes on after the buffer is selected: a mirrored DC mirrors
            // across the width of the surface it has when the layout is set.
            SetLayout(dwLayout);
            SetMapMode(m_pDC->GetMapMode());
            if (bRTL)
                std::swap(m_rect.left, m_rect.right);
            ::DPtoLP(m_pDC->m_hAttribDC, (LPPOINT)&m_rect, 2);
            // A mirrored DC applies its window origin after mirroring, so the origin
            // that puts the rectangle's leading edge at the buffer's right edge is the
            // negated left.
            SetWindowOrg(bRTL ? -m_rect.left : m_rect.left, m_rect.top);
        }
    }
    else
    {
        // Drawing goes straight to the target: borrow its handles without owning them.
        m_bPrinting = m_pDC->m_bPrinting;
        m_hDC = m_pDC->m_hDC;
        m_hAttribDC = m_pDC->m_hAttribDC;
    }

    if (dwFlags & MDCOPT_FILL_BITS)
        BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_pDC, m_rect.left, m_rect.top, SRCCOPY);
    else if (dwFlags & MDCOPT_FILL_SURFACE)
        FillSolidRect(&m_rect, m_pDC->GetBkColor());
}

void CExtMemoryDC::FlushToTarget(bool bBlit)
{
    if (m_pDC == NULL)
        return;
    if (m_bMemDC)
    {
        if (bBlit)
            m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                          SRCCOPY);
        if (m_hOldBitmap != NULL)
            ::SelectObject(m_hDC, m_hOldBitmap);
    }
    else
    {
        // The handles were borrowed: forget them so the destructor deletes nothing.
        m_hDC = NULL;
        m_hAttribDC = NULL;
        m_bPrinting = FALSE;
    }
    m_pDC = NULL;
    m_hOldBitmap = NULL;
    m_rect.SetRectEmpty();
    m_bMemDC = false;
    m_pHelperDibSurface = NULL;
}
