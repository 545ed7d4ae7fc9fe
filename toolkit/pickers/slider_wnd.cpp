#include "toolkit/pickers/slider_wnd.h"

#include "toolkit/core/cmd_manager.h"
#include "toolkit/theme/pm_push_button.h"

IMPLEMENT_DYNCREATE(CExtSliderWnd, CSliderCtrl)

CExtSliderWnd::CExtSliderWnd()
    : m_clrBackground(COLORREF(-1)), m_clrBrush(COLORREF(-1)), m_nSliderStyle(ES_SYSTEM)
{
    RegisterWithHolder();
}

CExtSliderWnd::~CExtSliderWnd()
{
    UnregisterFromHolder();
    if (m_brushBackground.GetSafeHandle() != NULL)
        m_brushBackground.DeleteObject();
}

void CExtSliderWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtSliderWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtSliderWnd::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CExtSliderWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

COLORREF CExtSliderWnd::SetBkColor(COLORREF clrBk)
{
    COLORREF clrOld = m_clrBackground;
    m_clrBackground = clrBk;
    if (GetSafeHwnd() != NULL && ::IsWindow(GetSafeHwnd()))
        RepaintEntire();
    return clrOld;
}

void CExtSliderWnd::RepaintEntire()
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL)
        return;
    // The trackbar caches its look until it loses and regains the focus.
    HWND hWndParent = ::GetParent(hWnd);
    if (hWndParent != NULL) {
        HWND hWndFocus = ::GetFocus();
        ::SetFocus(hWndFocus == hWndParent ? hWnd : hWndParent);
        ::SetFocus(hWndFocus);
    }
    ::InvalidateRect(hWnd, NULL, TRUE);
    ::UpdateWindow(hWnd);
}

bool CExtSliderWnd::OnSliderDrawChannel(CDC& dc, const RECT& rcChannel)
{
    if (m_nSliderStyle != ES_THEMED)
        return false;
    CExtPaintManager* pPM = GetPaintManager();
    dc.FillSolidRect(&rcChannel, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this));
    COLORREF clrFrame = pPM->LookupColor(COLOR_BTNSHADOW, this);
    dc.Draw3dRect(&rcChannel, clrFrame, clrFrame);
    return true;
}

bool CExtSliderWnd::OnSliderDrawThumb(CDC& dc, const RECT& rcThumb, UINT nItemState)
{
    if (m_nSliderStyle != ES_THEMED)
        return false;
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    bool bHover = ::PtInRect(&rcThumb, pt) != FALSE;
    bool bPushed = (nItemState & CDIS_SELECTED) != 0;
    bool bEnabled = IsWindowEnabled() != FALSE;
    CExtPaintManager::PAINTBUTTONDATA _ppbd(this, true, rcThumb, NULL, NULL, false, bHover,
                                            bPushed, false, bEnabled, true, false, false, 0);
    GetPaintManager()->DrawPushButton(dc, _ppbd);
    return true;
}

bool CExtSliderWnd::OnSliderDrawTics(CDC&, const RECT&) { return false; }

LRESULT CExtSliderWnd::OnCustomDraw(NMCUSTOMDRAW* pNMCD)
{
    if (pNMCD->dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (pNMCD->dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    CDC* pDC = CDC::FromHandle(pNMCD->hdc);
    bool bDrawn = false;
    switch (pNMCD->dwItemSpec) {
    case TBCD_CHANNEL:
        bDrawn = OnSliderDrawChannel(*pDC, pNMCD->rc);
        break;
    case TBCD_THUMB:
        bDrawn = OnSliderDrawThumb(*pDC, pNMCD->rc, pNMCD->uItemState);
        break;
    case TBCD_TICS: {
        CRect rcClient;
        GetClientRect(&rcClient);
        bDrawn = OnSliderDrawTics(*pDC, rcClient);
        break;
    }
    default:
        break;
    }
    return bDrawn ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
}

HBRUSH CExtSliderWnd::QueryBackgroundBrush()
{
    CExtPaintManager* pPM = GetPaintManager();
    if (m_clrBackground == COLORREF(-1) && pPM->UsesParentBackground(this)) {
        CRect rcClient;
        GetClientRect(&rcClient);
        CClientDC dcClient(this);
        CDC dcMem;
        CBitmap bmp;
        if (!rcClient.IsRectEmpty() && dcMem.CreateCompatibleDC(&dcClient) &&
            bmp.CreateCompatibleBitmap(&dcClient, rcClient.Width(), rcClient.Height())) {
            CBitmap* pOld = dcMem.SelectObject(&bmp);
            CExtPaintManager::ClipOutChildren(&dcMem, GetSafeHwnd());
            bool bPainted = pPM->AskParentForBackground(true, dcMem, this);
            dcMem.SelectClipRgn(NULL);
            dcMem.SelectObject(pOld);
            if (bPainted) {
                if (m_brushBackground.GetSafeHandle() != NULL)
                    m_brushBackground.DeleteObject();
                m_brushBackground.CreatePatternBrush(&bmp);
                m_clrBrush = 0;
                return (HBRUSH)m_brushBackground.GetSafeHandle();
            }
        }
    }
    COLORREF clr = m_clrBackground != COLORREF(-1)
                       ? m_clrBackground
                       : pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this);
    if (clr != m_clrBrush || m_brushBackground.GetSafeHandle() == NULL) {
        if (m_brushBackground.GetSafeHandle() != NULL)
            m_brushBackground.DeleteObject();
        m_brushBackground.CreateSolidBrush(clr);
        m_clrBrush = clr;
    }
    return (HBRUSH)m_brushBackground.GetSafeHandle();
}

BOOL CExtSliderWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY && lParam != 0 &&
        reinterpret_cast<NMHDR*>(lParam)->code == (UINT)NM_CUSTOMDRAW) {
        LRESULT lr = OnCustomDraw(reinterpret_cast<NMCUSTOMDRAW*>(lParam));
        if (pResult != NULL)
            *pResult = lr;
        return TRUE;
    }
    if (message == WM_CTLCOLORSTATIC) {
        HBRUSH hbr = QueryBackgroundBrush();
        if (pResult != NULL)
            *pResult = (LRESULT)hbr;
        return TRUE;
    }
    return CSliderCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CExtSliderWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_UPDATEUISTATE:
        return 0;
    case WM_SETTEXT:
    case WM_ENABLE: {
        LRESULT lr = CSliderCtrl::WindowProc(message, wParam, lParam);
        ::InvalidateRect(GetSafeHwnd(), NULL, TRUE);
        ::UpdateWindow(GetSafeHwnd());
        return lr;
    }
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE: {
        LRESULT lr = CSliderCtrl::WindowProc(message, wParam, lParam);
        CExtPaintManager* pPM = GetPaintManager();
        g_CurrentPaintManager.RelaySystemChange(this, pPM, message, wParam, lParam);
        if (message == WM_THEMECHANGED)
            return lr;
        RepaintEntire();
        return lr;
    }
    default:
        break;
    }
    return CSliderCtrl::WindowProc(message, wParam, lParam);
}
