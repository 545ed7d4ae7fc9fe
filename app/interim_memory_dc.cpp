#include "app/interim_memory_dc.h"

CInterimMemoryDC::CInterimMemoryDC(CDC* pTargetDC, const RECT* pRect, DWORD dwFlags)
    : m_pTargetDC(pTargetDC), m_bBuffered(false), m_hBitmap(NULL), m_hOldBitmap(NULL)
{
    if (m_pTargetDC == NULL) return;
    if (pRect != NULL)
        m_rcTarget = *pRect;
    else
        m_pTargetDC->GetClipBox(&m_rcTarget);
    m_bBuffered = (dwFlags & 0x01) != 0 && !m_pTargetDC->IsPrinting();
    if (m_bBuffered) {
        CreateCompatibleDC(m_pTargetDC);
        m_hBitmap = ::CreateCompatibleBitmap(m_pTargetDC->m_hDC, m_rcTarget.Width() > 0 ? m_rcTarget.Width() : 1,
                                             m_rcTarget.Height() > 0 ? m_rcTarget.Height() : 1);
        if (m_hDC == NULL || m_hBitmap == NULL) {
            if (m_hBitmap != NULL) ::DeleteObject(m_hBitmap);
            m_hBitmap = NULL;
            if (m_hDC != NULL) DeleteDC();
            m_bBuffered = false;
        } else {
            m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
            SetWindowOrg(m_rcTarget.left, m_rcTarget.top);
        }
    }
    if (!m_bBuffered) {
        m_hDC = m_pTargetDC->m_hDC;
        m_hAttribDC = m_pTargetDC->m_hAttribDC;
    }
    if (dwFlags & 0x02) FillSolidRect(&m_rcTarget, m_pTargetDC->GetBkColor());
}

CInterimMemoryDC::~CInterimMemoryDC()
{
    if (m_pTargetDC == NULL) return;
    if (m_bBuffered) {
        m_pTargetDC->BitBlt(m_rcTarget.left, m_rcTarget.top, m_rcTarget.Width(), m_rcTarget.Height(), this,
                            m_rcTarget.left, m_rcTarget.top, SRCCOPY);
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteObject(m_hBitmap);
        DeleteDC();
    } else {
        m_hDC = NULL;
        m_hAttribDC = NULL;
    }
}
