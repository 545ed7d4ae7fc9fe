#include "app/container_bar.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/theme/pm_glyphs.h"

const UINT CExtContainerBar::g_nMsgNotifyBtnClose = ::RegisterWindowMessageA("CExtContainerBar::g_nMsgNotifyBtnClose");

IMPLEMENT_DYNAMIC(CExtContainerBar, CWnd)

BEGIN_MESSAGE_MAP(CExtContainerBar, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CExtContainerBar::CExtContainerBar()
    : m_pWndNotify(NULL), m_pWndChild(NULL), m_bHover(false), m_bPressed(false), m_bActive(false)
{
    RegisterWithHolder();
}

CExtContainerBar::~CExtContainerBar() { UnregisterFromHolder(); }

void CExtContainerBar::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtContainerBar::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtContainerBar::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CExtContainerBar::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

BOOL CExtContainerBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), NULL, NULL);
    // A control parent: the dialog that holds the bar tabs into the hosted page's
    // controls as into its own.
    return CWnd::CreateEx(WS_EX_CONTROLPARENT, lpszClass, "", dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd,
                          nID);
}

void CExtContainerBar::GetCloseButtonRect(const RECT* pClient, RECT* pRect)
{
    if (pRect == NULL) return;
    RECT rcClient;
    if (pClient != NULL)
        rcClient = *pClient;
    else
        GetClientRect(&rcClient);
    pRect->left = rcClient.right - CAPTION_HEIGHT;
    pRect->top = rcClient.top;
    pRect->right = rcClient.right;
    pRect->bottom = rcClient.top + CAPTION_HEIGHT;
    ::InflateRect(pRect, -3, -3);
}

bool CExtContainerBar::HasFocusWithin() const
{
    HWND hFocus = ::GetFocus();
    return m_hWnd != NULL && hFocus != NULL && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus));
}

int CExtContainerBar::GetCaptionMinWidth()
{
    // The text goes from 5 pixels after the left edge to 5 pixels before the close
    // button; the button's distance from the right edge is that of an empty client.
    RECT rcNone = {0, 0, 0, 0}, rcClose;
    GetCloseButtonRect(&rcNone, &rcClose);
    int nText = 0;
    CString strText;
    CExtPaintManager* pPM = GetPaintManager();
    if (m_hWnd != NULL && pPM != NULL) {
        GetWindowText(strText);
        CClientDC dc(this);
        CFont* pOldFont = dc.SelectObject(&pPM->m_FontNormalBC);
        nText = dc.GetTextExtent(strText).cx;
        if (pOldFont != NULL) dc.SelectObject(pOldFont);
    }
    return 5 + nText + 5 - rcClose.left;
}

bool CExtContainerBar::IsCursorOverWindow()
{
    POINT pt;
    if (!::GetCursorPos(&pt)) return false;
    return ::WindowFromPoint(pt) == m_hWnd;
}

bool CExtContainerBar::IsOverWindowAt(CPoint ptClient)
{
    ClientToScreen(&ptClient);
    return ::WindowFromPoint(ptClient) == m_hWnd;
}

void CExtContainerBar::SetActive(bool bActive)
{
    if (m_bActive == bActive) return;
    m_bActive = bActive;
    if (m_hWnd != NULL) InvalidateCaption();
}

void CExtContainerBar::ShowFocusIn(CWnd* pWndHosted, bool bFocused)
{
    CWnd* pParent = pWndHosted != NULL ? pWndHosted->GetParent() : NULL;
    CExtContainerBar* pBar = pParent != NULL ? DYNAMIC_DOWNCAST(CExtContainerBar, pParent) : NULL;
    if (pBar != NULL) pBar->SetActive(bFocused);
}

void CExtContainerBar::InvalidateCaption()
{
    CRect rc;
    GetClientRect(&rc);
    rc.bottom = rc.top + CAPTION_HEIGHT;
    InvalidateRect(&rc, TRUE);
}

void CExtContainerBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcCaption(rcClient);
    rcCaption.bottom = rcCaption.top + CAPTION_HEIGHT;
    bool bChild = m_pWndChild != NULL && m_pWndChild->GetSafeHwnd() != NULL;
    CExtMemoryDC dcBuffer(&dc, bChild ? &rcCaption : &rcClient, 0x03);
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL) return;

    if (!bChild) pPM->DrawToolbarBackground(dcBuffer, rcClient, this);
    dcBuffer.FillSolidRect(&rcCaption, pPM->LookupColor(COLOR_INACTIVECAPTION, this));

    RECT rcClose;
    GetCloseButtonRect(&rcClient, &rcClose);
    CExtPaintManager::PAINTGLYPHBUTTONDATA pgbd(this, rcClose, 1, m_bHover, m_bPressed, true, false, m_bActive);
    pPM->DrawGlyphButton(dcBuffer, pgbd);

    CString strText;
    GetWindowText(strText);
    CRect rcText(rcCaption.left, rcCaption.top, rcClose.left, rcCaption.bottom);
    rcText.DeflateRect(5, 0);
    CFont* pOldFont = dcBuffer.SelectObject(&pPM->m_FontNormalBC);
    int nOldMode = dcBuffer.SetBkMode(TRANSPARENT);
    COLORREF clrOld =
        dcBuffer.SetTextColor(pPM->LookupColor(m_bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT, this));
    dcBuffer.DrawText(strText, &rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    dcBuffer.SetTextColor(clrOld);
    dcBuffer.SetBkMode(nOldMode);
    if (pOldFont != NULL) dcBuffer.SelectObject(pOldFont);
}

BOOL CExtContainerBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CExtContainerBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    InvalidateCaption();
    if (m_pWndChild != NULL && m_pWndChild->GetSafeHwnd() != NULL)
        m_pWndChild->MoveWindow(0, CAPTION_HEIGHT, cx, cy - CAPTION_HEIGHT, TRUE);
}

void CExtContainerBar::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CWnd::OnShowWindow(bShow, nStatus);
    if (m_pWndChild != NULL && m_pWndChild->GetSafeHwnd() != NULL) m_pWndChild->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CExtContainerBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    RECT rcClose;
    GetCloseButtonRect(NULL, &rcClose);
    if (::PtInRect(&rcClose, point) && !m_bPressed) {
        m_bPressed = true;
        Invalidate(TRUE);
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CExtContainerBar::OnMouseMove(UINT nFlags, CPoint point)
{
    RECT rcClose;
    GetCloseButtonRect(NULL, &rcClose);
    bool bHover = ::PtInRect(&rcClose, point) != FALSE;
    bool bChanged = bHover != m_bHover;
    m_bHover = bHover;
    if (IsCursorOverWindow()) {
        if (::GetCapture() != m_hWnd) SetCapture();
    } else {
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        m_bPressed = false;
    }
    if (bChanged) Invalidate(TRUE);
    CWnd::OnMouseMove(nFlags, point);
}

void CExtContainerBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonUp(nFlags, point);
    m_bPressed = false;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    Invalidate(TRUE);
    UpdateWindow();
    RECT rcClose;
    GetCloseButtonRect(NULL, &rcClose);
    // Judged where the hand released it, not where the pointer is by now.
    if (IsOverWindowAt(point) && ::PtInRect(&rcClose, point) && m_pWndNotify != NULL &&
        m_pWndNotify->GetSafeHwnd() != NULL)
        m_pWndNotify->SendMessage(g_nMsgNotifyBtnClose, (WPARAM)m_hWnd, (LPARAM)GetDlgCtrlID());
}

void CExtContainerBar::OnCaptureChanged(CWnd* pWnd)
{
    m_bPressed = false;
    m_bHover = false;
    // Releasing here would only start another change; the capture is leaving anyway.
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    Invalidate(TRUE);
    CWnd::OnCaptureChanged(pWnd);
}

void CExtContainerBar::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    m_bPressed = false;
    m_bHover = false;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    Invalidate(TRUE);
}
