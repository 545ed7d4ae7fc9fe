#include "toolkit/theme/nc_frame_impl.h"
#include "toolkit/theme/paint_manager.h"

CExtNcFrameImpl::CExtNcFrameImpl()
    : m_dwNcStateFlags(0),
      m_dwSavedStyle(0),
      m_dwSavedExStyle(0),
      m_nBusy(0),
      m_nLastHoverHitTest(0),
      m_ptLastHover(-32767, -32767),
      m_dwNcOptionFlags(__ENCO_THEMED_FRAME_ALLOWED)
{
}

CExtNcFrameImpl::~CExtNcFrameImpl() {}

CWnd* CExtNcFrameImpl::GetFrameWnd() const
{
    HWND hWnd = GetFrameHwnd();
    return (hWnd != NULL) ? CWnd::FromHandle(hWnd) : NULL;
}

bool CExtNcFrameImpl::IsNcFrameActive() const
{
    if ((m_dwNcOptionFlags & __ENCO_THEMED_FRAME_ALLOWED) == 0)
        return false;
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return false;
    return g_CurrentPaintManager->IsThemedFrameSupported(CWnd::FromHandle(hWnd), 0);
}

bool CExtNcFrameImpl::FrameWindowProcHook(LRESULT&, UINT, WPARAM, LPARAM)
{
    m_dwNcStateFlags &= ~__ENCF_BORDER_RESTORED;
    return false;
}

void CExtNcFrameImpl::FrameWindowProcPostHook(LRESULT&, UINT message, WPARAM, LPARAM)
{
    if (message == WM_WINDOWPOSCHANGED)
        m_dwNcStateFlags &= ~__ENCF_NOT_FRAME_CHANGE;
}

bool CExtNcFrameImpl::RecalcFrame()
{
    HWND hWnd = GetFrameHwnd();
    if (m_nBusy > 0 || hWnd == NULL || !::IsWindow(hWnd))
        return false;
    ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

void CExtNcFrameImpl::InitNcFrame()
{
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL)
        return;
    m_dwSavedStyle = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
    m_dwSavedExStyle = (DWORD)::GetWindowLongA(hWnd, GWL_EXSTYLE);
    if ((m_dwSavedStyle & WS_BORDER) != 0 && IsNcFrameActive())
    {
        m_dwNcStateFlags &= ~__ENCF_REGION_SET;
        ::SetWindowLongA(hWnd, GWL_STYLE, (LONG)(m_dwSavedStyle & ~WS_BORDER));
    }
    RecalcFrame();
}

void CExtNcFrameImpl::ResetNcFrame()
{
    m_dwNcStateFlags &= ~__ENCF_REGION_SET;
    m_ptLastHover = CPoint(-32767, -32767);
    m_nLastHoverHitTest = 0;
}
