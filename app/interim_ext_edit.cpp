#include "app/interim_ext_edit.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNAMIC(CInterimExtEdit, CEdit)

BEGIN_MESSAGE_MAP(CInterimExtEdit, CEdit)
    ON_WM_SETCURSOR()
    ON_WM_TIMER()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

bool IsPopupMenuTracking() { return CExtPopupMenuWnd::IsMenuTracking() != FALSE; }

CInterimExtEdit::CInterimExtEdit() : m_bMouseOver(false), m_bHoverFrame(false) { RegisterWithHolder(); }

CInterimExtEdit::~CInterimExtEdit() { UnregisterFromHolder(); }

void CInterimExtEdit::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CInterimExtEdit::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CInterimExtEdit::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CInterimExtEdit::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

bool CInterimExtEdit::IsEditEnabled() { return IsWindowEnabled() != FALSE; }

void CInterimExtEdit::RedrawFrame()
{
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
}

void CInterimExtEdit::PaintFrame(CRect rcFrame, CDC* pDC)
{
    CWindowDC* pWindowDC = NULL;
    if (pDC == NULL) pDC = pWindowDC = new CWindowDC(this);
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM != NULL) {
        bool bFocus = ::GetFocus() == m_hWnd && !IsPopupMenuTracking();
        CExtPaintManager::PAINTEDITFRAMEDATA data(this, rcFrame, true, m_bMouseOver, IsEditEnabled(), bFocus,
                                                  (GetStyle() & ES_READONLY) != 0);
        pPM->DrawEditFrame(*pDC, data);
    }
    delete pWindowDC;
}

BOOL CInterimExtEdit::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (message == WM_MOUSEMOVE) {
        DWORD dwPos = ::GetMessagePos();
        CPoint pt((short)LOWORD(dwPos), (short)HIWORD(dwPos));
        CRect rcWnd;
        GetWindowRect(&rcWnd);
        if (rcWnd.PtInRect(pt)) {
            SetTimer(1, 10, NULL);
            HoverStep();
        }
    }
    return CEdit::OnSetCursor(pWnd, nHitTest, message);
}

void CInterimExtEdit::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != 1) {
        CEdit::OnTimer(nIDEvent);
        return;
    }
    HoverStep();
}

void CInterimExtEdit::HoverStep()
{
    CPoint pt;
    if (!::GetCursorPos(&pt) || !IsWindowVisible()) return;
    bool bOld = m_bMouseOver;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    if (rcWnd.PtInRect(pt)) {
        if (::WindowFromPoint(pt) == m_hWnd) m_bMouseOver = true;
    } else {
        KillTimer(1);
        m_bMouseOver = false;
    }
    if (bOld != m_bMouseOver) RedrawFrame();
}

void CInterimExtEdit::OnSetFocus(CWnd* pOldWnd)
{
    CEdit::OnSetFocus(pOldWnd);
    RedrawFrame();
}

void CInterimExtEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    RedrawFrame();
}

void CInterimExtEdit::OnNcPaint()
{
    CRect rcWnd, rcClient;
    GetWindowRect(&rcWnd);
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    rcClient.OffsetRect(-rcWnd.left, -rcWnd.top);
    rcWnd.OffsetRect(-rcWnd.left, -rcWnd.top);
    if (rcWnd == rcClient) return;

    CWindowDC dc(this);
    CRect rcInner(rcClient);
    if (GetStyle() & WS_VSCROLL) rcInner.right += ::GetSystemMetrics(SM_CXVSCROLL);
    if (GetStyle() & WS_HSCROLL) rcInner.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    dc.ExcludeClipRect(&rcInner);
    if (GetStyle() & (WS_VSCROLL | WS_HSCROLL)) Default();

    CExtPaintManager* pPM = GetPaintManager();
    bool bPlain = (GetStyle() & ES_READONLY) != 0 || !IsEditEnabled();
    COLORREF clrBack = pPM != NULL ? pPM->LookupColor(bPlain ? COLOR_BTNFACE : COLOR_WINDOW, this)
                                   : ::GetSysColor(bPlain ? COLOR_BTNFACE : COLOR_WINDOW);
    dc.FillSolidRect(&rcWnd, clrBack);
    CRect rcFrame(rcWnd);
    rcFrame.DeflateRect(3, 3);
    PaintFrame(rcFrame, &dc);
}
