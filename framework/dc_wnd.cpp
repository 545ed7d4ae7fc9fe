// The window device contexts and the CDC members that need a window.
#include "framework/dc.h"
#include "framework/wnd.h"
#include "framework/exceptions.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CWnd* CDC::GetWindow() const {
    if (m_hDC == NULL) return NULL;
    return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

int CDC::ExcludeUpdateRgn(CWnd* pWnd) {
    if (pWnd == NULL || m_hDC == NULL) return ERROR;
    return ::ExcludeUpdateRgn(m_hDC, pWnd->GetSafeHwnd());
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd != NULL ? pWnd->GetSafeHwnd() : NULL) {
    ::ZeroMemory(&m_ps, sizeof(m_ps));
    if (m_hWnd == NULL || !Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
    if (m_hDC != NULL) {
        ::EndPaint(m_hWnd, &m_ps);
        Detach();
    }
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != NULL ? pWnd->GetSafeHwnd() : NULL) {
    if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}

CClientDC::~CClientDC() {
    if (m_hDC != NULL) ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd != NULL ? pWnd->GetSafeHwnd() : NULL) {
    if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}

CWindowDC::~CWindowDC() {
    if (m_hDC != NULL) ::ReleaseDC(m_hWnd, Detach());
}
