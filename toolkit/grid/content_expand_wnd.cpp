#include "toolkit/grid/content_expand_wnd.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/core/message_point.h"
#include "toolkit/theme/pm_glyphs.h"

// ---- the forwarding drop target ---------------------------------------------------

CExtRedirectOleDropTarget::CExtRedirectOleDropTarget(COleDropTarget* pTarget, CWnd* pWndRedirect,
                                                     CWnd* pWndRegister)
    : m_pTarget(pTarget), m_pWndRedirect(pWndRedirect), m_pWndRegister(pWndRegister)
{
    if (pWndRegister != NULL)
        Register(pWndRegister);
}

DROPEFFECT CExtRedirectOleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                                  CPoint point)
{
    return m_pTarget != NULL ? m_pTarget->OnDragEnter(Named(pWnd), pDataObject, dwKeyState, point)
                             : DROPEFFECT_NONE;
}

DROPEFFECT CExtRedirectOleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                                 CPoint point)
{
    return m_pTarget != NULL ? m_pTarget->OnDragOver(Named(pWnd), pDataObject, dwKeyState, point)
                             : DROPEFFECT_NONE;
}

BOOL CExtRedirectOleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                                       CPoint point)
{
    return m_pTarget != NULL ? m_pTarget->OnDrop(Named(pWnd), pDataObject, dropEffect, point) : FALSE;
}

DROPEFFECT CExtRedirectOleDropTarget::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                               DROPEFFECT dropList, CPoint point)
{
    return m_pTarget != NULL ? m_pTarget->OnDropEx(Named(pWnd), pDataObject, dropDefault, dropList, point)
                             : (DROPEFFECT)-1;
}

void CExtRedirectOleDropTarget::OnDragLeave(CWnd* pWnd)
{
    if (m_pTarget != NULL)
        m_pTarget->OnDragLeave(Named(pWnd));
}

DROPEFFECT CExtRedirectOleDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point)
{
    return m_pTarget != NULL ? m_pTarget->OnDragScroll(Named(pWnd), dwKeyState, point) : DROPEFFECT_NONE;
}

// ---- the popup --------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CExtContentExpandWnd, CWnd)

UINT CExtContentExpandWnd::g_nMsgPaintItemContent =
    ::RegisterWindowMessageA("CExtContentExpandWnd::g_nMsgPaintItemContent");
const char* const CExtContentExpandWnd::g_sWndClassName = "Kestrix-ContentExpandWnd";

bool CExtContentExpandWnd::RegisterContentExpandWndClass()
{
    static bool s_bRegistered = false;
    if (s_bRegistered)
        return true;
    HINSTANCE hInst = ::AfxGetInstanceHandle();
    WNDCLASSA wc;
    if (!::GetClassInfoA(hInst, g_sWndClassName, &wc))
    {
        ::memset(&wc, 0, sizeof(wc));
        wc.style = CS_GLOBALCLASS | CS_SAVEBITS | CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = hInst;
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = g_sWndClassName;
        if (!::RegisterClassA(&wc))
            return false;
    }
    s_bRegistered = true;
    return true;
}

CExtContentExpandWnd::CExtContentExpandWnd() : m_pWndOwner(NULL), m_dwActivateFlags(__ECWAF_DEFAULT), m_pDropTarget(NULL)
{
    RegisterWithHolder();
    Reset();
    RegisterContentExpandWndClass();
}

CExtContentExpandWnd::~CExtContentExpandWnd()
{
    if (::IsWindow(m_hWnd))
        Deactivate();
    DropTargetDestroy();
    UnregisterFromHolder();
}

void CExtContentExpandWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtContentExpandWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtContentExpandWnd::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtContentExpandWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

void CExtContentExpandWnd::Reset()
{
    m_bActivating = m_bVerticalMarker = false;
    m_pDropTarget = NULL;
    m_rcWnd.SetRectEmpty();
    m_rcItem.SetRectEmpty();
    m_pWndOwner = NULL;
    m_dwActivateFlags = __ECWAF_DEFAULT;
    m_rgnFrame.DeleteObject();
    m_rgnWnd.DeleteObject();
    m_rgnItem.DeleteObject();
    m_brushFrame.DeleteObject();
}

void CExtContentExpandWnd::DropTargetDestroy()
{
    if (m_pDropTarget == NULL)
        return;
    m_pDropTarget->Revoke();
    delete m_pDropTarget;
    m_pDropTarget = NULL;
}

BOOL CExtContentExpandWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!RegisterContentExpandWndClass() || !CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = g_sWndClassName;
    return TRUE;
}

namespace {
// The window takes its region over; the popup keeps its own copy for painting.
void ApplyWindowRegion(HWND hWnd, CRgn& rgn, BOOL bRedraw)
{
    if (hWnd == NULL || rgn.GetSafeHandle() == NULL)
        return;
    HRGN hCopy = ::CreateRectRgn(0, 0, 0, 0);
    if (hCopy == NULL)
        return;
    if (::CombineRgn(hCopy, (HRGN)rgn.GetSafeHandle(), NULL, RGN_COPY) == ERROR ||
        !::SetWindowRgn(hWnd, hCopy, bRedraw))
        ::DeleteObject(hCopy);
}
}  // namespace

void CExtContentExpandWnd::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    if (!m_bActivating)
        ApplyWindowRegion(m_hWnd, m_rgnWnd, TRUE);
}

bool CExtContentExpandWnd::Activate(const RECT& rcItem, CWnd* pWndOwner, DWORD dwActivateFlags,
                                    COleDropTarget* pDropTarget, CWnd* pWndDropRedirect)
{
    if (!RegisterContentExpandWndClass())
        return false;
    if (m_pWndOwner != NULL)
        Deactivate();
    m_bActivating = true;
    m_pWndOwner = pWndOwner;
    m_dwActivateFlags = dwActivateFlags;
    m_rcWnd = rcItem;
    if (pWndOwner != NULL && ::IsWindow(pWndOwner->m_hWnd))
        ::MapWindowPoints(pWndOwner->m_hWnd, NULL, (POINT*)&m_rcWnd, 2);
    ComputeShape();
    DWORD dwExStyle = WS_EX_TOPMOST;
    if ((dwActivateFlags & __ECWAF_TRANSPARENT_WND) != 0)
        dwExStyle |= WS_EX_TRANSPARENT;
    if (!CWnd::CreateEx(dwExStyle, g_sWndClassName, NULL, WS_POPUP, m_rcWnd.left, m_rcWnd.top,
                        m_rcWnd.Width(), m_rcWnd.Height(),
                        pWndOwner != NULL ? pWndOwner->GetSafeHwnd() : NULL, NULL))
    {
        Deactivate();
        return false;
    }
    ApplyWindowRegion(m_hWnd, m_rgnWnd, FALSE);
    if (pDropTarget != NULL)
        m_pDropTarget = new CExtRedirectOleDropTarget(pDropTarget, pWndDropRedirect, this);
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    if ((dwActivateFlags & __ECWAF_NO_CAPTURE) == 0)
        CExtMouseCaptureSink::SetCapture(m_hWnd);
    m_bActivating = false;
    return true;
}

void CExtContentExpandWnd::Deactivate()
{
    if (!::IsWindow(m_hWnd))
    {
        Reset();
        return;
    }
    if ((m_dwActivateFlags & __ECWAF_REDRAW_OWNER_ON_DEACTIVATE) != 0 && m_pWndOwner != NULL &&
        ::IsWindow(m_pWndOwner->m_hWnd))
        ::InvalidateRect(m_pWndOwner->m_hWnd, NULL, TRUE);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    DropTargetDestroy();
    DestroyWindow();
    Reset();
}

// ---- shape ------------------------------------------------------------------------

void CExtContentExpandWnd::AddGlyphRegion(const CExtPaintManager::glyph& aGlyph, int x, int y)
{
    CRgn rgnGlyph;
    aGlyph.GenerateRegion(rgnGlyph, CExtPaintManager::glyph::stat_FilterTransparent);
    if (rgnGlyph.GetSafeHandle() == NULL)
        return;
    rgnGlyph.OffsetRgn(x, y);
    if (m_rgnFrame.GetSafeHandle() == NULL)
    {
        m_rgnFrame.CreateRectRgn(0, 0, 0, 0);
        m_rgnFrame.CombineRgn(&rgnGlyph, NULL, RGN_COPY);
    }
    else
        m_rgnFrame.CombineRgn(&m_rgnFrame, &rgnGlyph, RGN_OR);
}

void CExtContentExpandWnd::AddDot(int xCenter, int yCenter)
{
    CRgn rgnDot;
    if (!rgnDot.CreateEllipticRgn(xCenter - 2, yCenter - 2, xCenter + 2, yCenter + 2))
        return;
    if (m_rgnFrame.GetSafeHandle() == NULL)
    {
        m_rgnFrame.CreateRectRgn(0, 0, 0, 0);
        m_rgnFrame.CombineRgn(&rgnDot, NULL, RGN_COPY);
    }
    else
        m_rgnFrame.CombineRgn(&m_rgnFrame, &rgnDot, RGN_OR);
}

void CExtContentExpandWnd::AddOwnerPaintedDecorations()
{
    const bool bArrows = (m_dwActivateFlags & __ECWAF_DRAW_RED_ARROWS) != 0;
    if (bArrows)
    {
        m_rcWnd.InflateRect(12, 12);
        m_rcItem.OffsetRect(12, 12);
        const int W = m_rcWnd.Width(), H = m_rcWnd.Height();
        AddGlyphRegion(g_glyphExpandCornerTL, 0, 0);
        AddGlyphRegion(g_glyphExpandCornerTR, W - 12, 0);
        AddGlyphRegion(g_glyphExpandCornerBL, 0, H - 12);
        AddGlyphRegion(g_glyphExpandCornerBR, W - 12, H - 12);
    }
    if ((m_dwActivateFlags & __ECWAF_DRAW_RED_DOTS) == 0)
        return;
    if (!bArrows)
    {
        m_rcWnd.InflateRect(2, 2);
        m_rcItem.OffsetRect(2, 2);
    }
    const int w = m_rcItem.Width(), h = m_rcItem.Height();
    if (2 * (w + h) < 8)
        return;
    for (int x = 4; x < w; x += 8)
    {
        AddDot(m_rcItem.left + x, m_rcItem.top);
        AddDot(m_rcItem.right - x, m_rcItem.bottom);
    }
    for (int y = (h % 8) / 2; y < h; y += 8)
    {
        AddDot(m_rcItem.right, m_rcItem.top + y);
        AddDot(m_rcItem.left, m_rcItem.bottom - y);
    }
}

void CExtContentExpandWnd::AddMarkerDecorations()
{
    m_bVerticalMarker = m_rcItem.Width() == 0;
    const bool bArrows = (m_dwActivateFlags & __ECWAF_DRAW_RED_ARROWS) != 0;
    if (bArrows)
    {
        if (m_bVerticalMarker)
        {
            m_rcWnd.InflateRect(6, 12);
            m_rcItem.OffsetRect(6, 12);
        }
        else
        {
            m_rcWnd.InflateRect(12, 6);
            m_rcItem.OffsetRect(12, 6);
        }
        const int W = m_rcWnd.Width(), H = m_rcWnd.Height();
        if (m_bVerticalMarker)
        {
            AddGlyphRegion(g_glyphMarkerEndTop, (W - 11) / 2, 0);
            AddGlyphRegion(g_glyphMarkerEndBottom, (W - 11) / 2, H - 11);
        }
        else
        {
            AddGlyphRegion(g_glyphMarkerEndLeft, 0, (H - 11) / 2);
            AddGlyphRegion(g_glyphMarkerEndRight, W - 11, (H - 11) / 2);
        }
    }
    if ((m_dwActivateFlags & __ECWAF_DRAW_RED_DOTS) == 0)
        return;
    if (!bArrows)
    {
        if (m_bVerticalMarker)
        {
            m_rcWnd.left -= 1, m_rcWnd.right += 2;
            m_rcItem.OffsetRect(1, 0);
        }
        else
        {
            m_rcWnd.top -= 1, m_rcWnd.bottom += 2;
            m_rcItem.OffsetRect(0, 1);
        }
    }
    const int nLength = m_bVerticalMarker ? m_rcItem.Height() : m_rcItem.Width();
    for (int d = (nLength % 8) / 2; d < nLength; d += 8)
    {
        if (m_bVerticalMarker)
            AddDot(m_rcItem.left, m_rcItem.top + d);
        else
            AddDot(m_rcItem.left + d, m_rcItem.top);
    }
}

void CExtContentExpandWnd::ComputeShape()
{
    m_rcItem = m_rcWnd;
    m_rcItem.OffsetRect(-m_rcWnd.left, -m_rcWnd.top);
    m_bVerticalMarker = false;
    m_rgnFrame.DeleteObject();
    if ((m_dwActivateFlags & __ECWAF_DRAW_ITEM) != 0)
        AddOwnerPaintedDecorations();
    else
        AddMarkerDecorations();
    m_rgnItem.DeleteObject();
    m_rgnItem.CreateRectRgnIndirect(&m_rcItem);
    m_rgnWnd.DeleteObject();
    m_rgnWnd.CreateRectRgn(0, 0, 0, 0);
    if (m_rgnFrame.GetSafeHandle() != NULL)
        m_rgnWnd.CombineRgn(&m_rgnFrame, &m_rgnItem, RGN_OR);
    else
        m_rgnWnd.CombineRgn(&m_rgnItem, NULL, RGN_COPY);
}

// ---- painting and input -----------------------------------------------------------

bool CExtContentExpandWnd::SendPaintItem(CDC& dc, const RECT& rcItem)
{
    if (rcItem.right <= rcItem.left || rcItem.bottom <= rcItem.top || !dc.RectVisible(&rcItem))
        return true;
    if (m_pWndOwner == NULL || !::IsWindow(m_pWndOwner->m_hWnd))
        return false;
    ITEM_PAINT_INFO info(dc, rcItem);
    return ::SendMessage(m_pWndOwner->m_hWnd, g_nMsgPaintItemContent, (WPARAM)&info, 0) != 0;
}

void CExtContentExpandWnd::PaintPopup()
{
    CPaintDC dcPaint(this);
    if (m_dwActivateFlags == 0)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const bool bCopyScreen = (m_dwActivateFlags & __ECWAF_COPY_SCREEN) != 0;
    CExtMemoryDC dc(&dcPaint, &rcClient,
                    CExtMemoryDC::MDCOPT_TO_MEMORY |
                        (bCopyScreen ? CExtMemoryDC::MDCOPT_FILL_BITS : CExtMemoryDC::MDCOPT_FILL_SURFACE));
    if ((m_dwActivateFlags & __ECWAF_DRAW_ITEM) != 0 && (m_dwActivateFlags & __ECWAF_NO_OWNER_PAINT) == 0 &&
        !SendPaintItem(dc, m_rcItem))
    {
        CExtPaintManager* pPM = GetPaintManager();
        dc.FillSolidRect(&rcClient, pPM != NULL ? pPM->LookupColor(COLOR_3DFACE, this, 0)
                                                : ::GetSysColor(COLOR_3DFACE));
    }
    if (m_rgnFrame.GetSafeHandle() != NULL)
    {
        if (m_brushFrame.GetSafeHandle() == NULL)
            m_brushFrame.CreateSolidBrush(RGB(255, 0, 0));
        dc.FillRgn(&m_rgnFrame, &m_brushFrame);
    }
}

bool CExtContentExpandWnd::PassMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    static const struct
    {
        UINT message;
        DWORD dwFlag;
    } s_map[] = {
        {WM_LBUTTONDOWN, __ECWAF_PASS_LBUTTONDOWN},     {WM_MBUTTONDOWN, __ECWAF_PASS_MBUTTONDOWN},
        {WM_RBUTTONDOWN, __ECWAF_PASS_RBUTTONDOWN},     {WM_MOUSEWHEEL, __ECWAF_PASS_WHEEL},
        {WM_MOUSEMOVE, __ECWAF_PASS_MOUSEMOVE},         {WM_LBUTTONUP, __ECWAF_PASS_LBUTTONUP},
        {WM_MBUTTONUP, __ECWAF_PASS_MBUTTONUP},         {WM_RBUTTONUP, __ECWAF_PASS_RBUTTONUP},
        {WM_LBUTTONDBLCLK, __ECWAF_PASS_LBUTTONDBLCLK}, {WM_MBUTTONDBLCLK, __ECWAF_PASS_MBUTTONDBLCLK},
        {WM_RBUTTONDBLCLK, __ECWAF_PASS_RBUTTONDBLCLK},
    };
    if (m_pWndOwner == NULL)
        return false;
    DWORD dwFlag = 0;
    for (const auto& m : s_map)
        if (m.message == message)
            dwFlag = m.dwFlag;
    if (dwFlag == 0 || (m_dwActivateFlags & dwFlag) == 0)
        return false;
    const DWORD dwFlags = m_dwActivateFlags;
    const HWND hWndOwner = m_pWndOwner->GetSafeHwnd();
    // The owner judges the click where the hand made it, not where the pointer has gone:
    // the message's own point, in the owner's client coordinates. A wheel carries its
    // point on the screen, which holds for the owner as it stands.
    LPARAM lParamOwner = lParam;
    if (message != WM_MOUSEWHEEL)
    {
        POINT pt = MessagePoint(m_hWnd, message, lParam);
        ::MapWindowPoints(m_hWnd, hWndOwner, &pt, 1);
        lParamOwner = MAKELPARAM((WORD)(short)pt.x, (WORD)(short)pt.y);
    }
    const LRESULT lOwner = hWndOwner != NULL ? ::SendMessage(hWndOwner, message, wParam, lParamOwner) : 0;
    if ((dwFlags & __ECWAF_KEEP_AFTER_PASS) == 0)
        Deactivate();
    // The popup's own default handling takes the message as the popup was given it (a
    // right release becomes a context menu at the point on the screen it was made at).
    if ((dwFlags & __ECWAF_ALSO_DEFAULT) != 0)
        lResult = ::IsWindow(m_hWnd) ? CWnd::DefWindowProc(message, wParam, lParam) : 0;
    else
        lResult = (dwFlags & __ECWAF_RETURN_OWNER_RESULT) != 0 ? lOwner : 0;
    return true;
}

LRESULT CExtContentExpandWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_NCCALCSIZE:
        if (lParam != 0)
            *(RECT*)lParam = m_rcWnd;
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        PaintPopup();
        return 0;
    case WM_DESTROY:
        DropTargetDestroy();
        break;
    case WM_MOUSEACTIVATE:
        if ((m_dwActivateFlags & __ECWAF_MOUSEACTIVATE_BY_BITS) != 0)
        {
            const DWORD n = (m_dwActivateFlags & __ECWAF_MOUSEACTIVATE_MASK) >> 24;
            if (n >= 1 && n <= 4)
                return (LRESULT)n;  // MA_ACTIVATE ... MA_NOACTIVATEANDEAT are 1 ... 4
        }
        break;
    default: {
        LRESULT lResult = 0;
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && PassMouseMessage(message, wParam, lParam, lResult))
            return lResult;
        break;
    }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
