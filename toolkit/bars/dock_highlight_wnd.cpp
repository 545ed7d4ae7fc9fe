#include "toolkit/bars/dock_highlight_wnd.h"
#include "toolkit/bars/dock_marker_wnd.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/theme/paint_manager.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CExtDynDockHighlightWnd, CWnd)

BEGIN_MESSAGE_MAP(CExtDynDockHighlightWnd, CWnd)
    ON_WM_MOUSEACTIVATE()
    ON_WM_PAINT()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

const char* const CExtDynDockHighlightWnd::g_sWndClassName = "Kestrix-DynDockHighlightWnd";

namespace {

const int kDefaultThickness = 30;

}  // namespace

CExtDynDockHighlightWnd::CExtDynDockHighlightWnd()
    : m_rcMain(0, 0, 0, 0),
      m_rcTab(0, 0, 0, 0),
      m_bHasTab(false),
      m_bTabAtTop(false),
      m_clrFill(COLORREF(-1)),
      m_clrBorder(COLORREF(-1)),
      m_nBorderWidth(0),
      m_pMarker(NULL)
{
}

CExtDynDockHighlightWnd::CExtDynDockHighlightWnd(CExtDynDockMarkerWnd* pMarker)
    : m_rcMain(0, 0, 0, 0),
      m_rcTab(0, 0, 0, 0),
      m_bHasTab(false),
      m_bTabAtTop(CExtControlBar::g_bTabsAtTop),
      m_clrFill(COLORREF(-1)),
      m_clrBorder(COLORREF(-1)),
      m_nBorderWidth(2),
      m_pMarker(pMarker)
{
    CExtControlBar* pDragged = CExtControlBar::GetDraggedBar();
    if (pMarker == NULL || pDragged == NULL)
        return;
    CRect rcArea(0, 0, 0, 0);
    bool bBarTarget = false;
    const HWND hWndTarget = pMarker->GetTargetWnd();
    if (hWndTarget != NULL)
    {
        if (!::IsWindow(hWndTarget))
            return;
        ::GetWindowRect(hWndTarget, &rcArea);
        CWnd* pTarget = CWnd::FromHandlePermanent(hWndTarget);
        bBarTarget = pTarget != NULL && pTarget->IsKindOf(RUNTIME_CLASS(CExtControlBar));
    }
    else
    {
        CPtrArray& arr = CExtDynDockMarkerWnd::g_arrOuterMarkers;
        if (arr.GetSize() != 4)
            return;
        CRect rc[4];
        for (int i = 0; i < 4; i++)
        {
            CExtDynDockMarkerWnd* p = static_cast<CExtDynDockMarkerWnd*>(arr[i]);
            if (p->GetSafeHwnd() == NULL)
                return;
            p->GetWindowRect(&rc[i]);
        }
        rcArea.SetRect(rc[2].left, rc[0].top, rc[3].right, rc[1].bottom);
        RECT rcMargins = {0, 0, 0, 0};
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        if (pPM != NULL)
            pPM->GetDockMarkerMargins(rcMargins);
        rcArea.left -= rcMargins.left;
        rcArea.top -= rcMargins.top;
        rcArea.right += rcMargins.right;
        rcArea.bottom += rcMargins.bottom;
    }
    const CRect rc = CalcHighlightRect(pMarker->GetMarkerKind(), rcArea, bBarTarget, pDragged->m_sizeDockedH.cy,
                                       pDragged->m_sizeDockedV.cx);
    if (rc.IsRectEmpty() && pMarker->GetMarkerKind() != 8)
        return;
    m_bHasTab = pMarker->GetMarkerKind() == 8;
    CWnd* pHost = CExtDynDockMarkerWnd::GetHostWnd();
    if (pHost == NULL)
        return;
    if (!CreateEx(WS_EX_TOPMOST, g_sWndClassName, "", WS_POPUP, rc.left, rc.top, rc.Width(), rc.Height(),
                  pHost->GetSafeHwnd(), NULL))
        return;
    SetWindowPos(pHost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

CExtDynDockHighlightWnd::~CExtDynDockHighlightWnd()
{
    m_bmpCache.Empty();
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CExtDynDockHighlightWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CExtDynDockMarkerWnd::RegisterMarkerClasses() || !CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = g_sWndClassName;
    return TRUE;
}

CRect CExtDynDockHighlightWnd::CalcHighlightRect(int nKind, const RECT& rcArea, bool bBarTarget, int cyDockedH,
                                                 int cxDockedV)
{
    CRect rc(rcArea);
    const int cy = bBarTarget ? rc.Height() / 2 : std::max(cyDockedH, kDefaultThickness);
    const int cx = bBarTarget ? rc.Width() / 2 : std::max(cxDockedV, kDefaultThickness);
    switch (nKind)
    {
    case 0: rc.bottom = rc.top + cy; break;
    case 1: rc.top = rc.bottom - cy; break;
    case 2: rc.right = rc.left + cx; break;
    case 3: rc.left = rc.right - cx; break;
    case 8: break;
    default: rc.SetRectEmpty(); break;
    }
    return rc;
}

void CExtDynDockHighlightWnd::CalcTabShape(const RECT& rcClient, bool bTabsAtTop, bool bRTL, RECT& rcBody,
                                           RECT& rcTab)
{
    const int cx = rcClient.right - rcClient.left, cy = rcClient.bottom - rcClient.top;
    const int cyStrip = cy < 36 ? cy / 2 : 18;
    const int cxTab = cx < 72 ? cx / 2 : 36;
    rcBody = rcClient;
    rcTab = rcClient;
    if (bTabsAtTop)
    {
        rcBody.top += cyStrip;
        rcTab.bottom = rcBody.top;
    }
    else
    {
        rcBody.bottom -= cyStrip;
        rcTab.top = rcBody.bottom;
    }
    if (bRTL)
    {
        rcTab.right = rcClient.right - 8;
        rcTab.left = rcTab.right - cxTab;
    }
    else
    {
        rcTab.left = rcClient.left + 8;
        rcTab.right = rcTab.left + cxTab;
    }
}

void CExtDynDockHighlightWnd::PaintHighlight(DWORD* pPixels, int cx, int cy)
{
    if (pPixels == NULL || cx <= 0 || cy <= 0)
        return;
    g_CurrentPaintManager->PaintDockHighlight(pPixels, cx, cy, m_bHasTab, m_bTabAtTop,
                                              &m_rcMain, m_bHasTab ? &m_rcTab : NULL, m_clrFill,
                                              m_clrBorder, m_nBorderWidth);
}

void CExtDynDockHighlightWnd::ComposePicture(CDC& dc, const CRect& rcClient)
{
    const int cx = rcClient.Width(), cy = rcClient.Height();
    void* pBits = NULL;
    // bottom-up: the theme's highlight painter counts rows from the bottom
    HBITMAP hDib = CreateDib32(dc.GetSafeHdc(), cx, cy, &pBits, true);
    if (hDib == NULL)
        return;
    HDC hMem = ::CreateCompatibleDC(dc.GetSafeHdc());
    HGDIOBJ hOld = ::SelectObject(hMem, hDib);
    ::BitBlt(hMem, 0, 0, cx, cy, dc.GetSafeHdc(), rcClient.left, rcClient.top, SRCCOPY);
    ::GdiFlush();
    m_rcMain.SetRect(0, 0, cx, cy);
    if (m_bHasTab)
    {
        bool bRTL = false;
        CExtControlBar* pDragged = CExtControlBar::GetDraggedBar();
        CFrameWnd* pFrame = pDragged != NULL ? pDragged->GetDockingFrame() : NULL;
        if (pFrame != NULL && pFrame->GetSafeHwnd() != NULL)
            bRTL = (pFrame->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
        RECT rcBody, rcTab;
        CalcTabShape(CRect(0, 0, cx, cy), m_bTabAtTop, bRTL, rcBody, rcTab);
        m_rcMain = rcBody;
        m_rcTab = rcTab;
    }
    PaintHighlight(static_cast<DWORD*>(pBits), cx, cy);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    m_bmpCache.AssignFromHBITMAP(hDib);
    ::DeleteObject(hDib);
}

void CExtDynDockHighlightWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    if (m_bmpCache.IsEmpty())
        ComposePicture(dc, rcClient);
    if (!m_bmpCache.IsEmpty())
        m_bmpCache.AlphaBlendWhole(dc.GetSafeHdc(), rcClient, 255);
}

// The highlight lies over the marker that shows it: the marker, not the highlight, must
// stay the window under the cursor.
LRESULT CExtDynDockHighlightWnd::OnNcHitTest(CPoint) { return HTTRANSPARENT; }

int CExtDynDockHighlightWnd::OnMouseActivate(CWnd*, UINT, UINT) { return MA_NOACTIVATEANDEAT; }
