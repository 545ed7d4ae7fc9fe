// Dock markers: their looks, images, layout and windows, the hover frames and the
// highlight's pixels.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_dock_markers.h"
#include "toolkit/theme/dock_marker_ids.h"

typedef CExtPaintManager::DockMarkerBase DockMarkerBase;
typedef CExtPaintManager::DockMarkerBeta2 DockMarkerBeta2;

CExtPmDockMarkerHooks::Hooks CExtPmDockMarkerHooks::g_hooks = {};

// ---- images ----------------------------------------------------------------------------------

UINT DockMarkerBase::stat_BaseImageId(int nKind)
{
    static const UINT ids[9] = {IDB_DOCK_MARKER_TOP,    IDB_DOCK_MARKER_BOTTOM,
                                IDB_DOCK_MARKER_LEFT,   IDB_DOCK_MARKER_RIGHT,
                                IDB_DOCK_MARKER_CENTRE, 0, 0, 0, IDB_DOCK_MARKER_SECOND_CENTRE};
    return (nKind >= 0 && nKind <= 8) ? ids[nKind] : 0;
}

UINT DockMarkerBase::stat_Beta2ImageId(int nKind)
{
    static const UINT ids[9] = {IDB_DOCK_MARKER_BETA2_TOP,    IDB_DOCK_MARKER_BETA2_BOTTOM,
                                IDB_DOCK_MARKER_BETA2_LEFT,   IDB_DOCK_MARKER_BETA2_RIGHT,
                                IDB_DOCK_MARKER_BETA2_CENTRE, 0, 0, 0, IDB_DOCK_MARKER_BETA2_SECOND_CENTRE};
    return (nKind >= 0 && nKind <= 8) ? ids[nKind] : 0;
}

UINT DockMarkerBase::stat_Beta2FrameImageId(int nKind)
{
    static const UINT ids[4] = {IDB_DOCK_MARKER_BETA2_FRAME_TOP, IDB_DOCK_MARKER_BETA2_FRAME_BOTTOM,
                                IDB_DOCK_MARKER_BETA2_FRAME_LEFT, IDB_DOCK_MARKER_BETA2_FRAME_RIGHT};
    return (nKind >= 0 && nKind <= 3) ? ids[nKind] : 0;
}

// ---- the marker ------------------------------------------------------------------------------

DockMarkerBase::DockMarkerBase(int nKind, const RECT* pRect)
    : m_nKind(-1), m_nOffsetX(0), m_nOffsetY(0), m_cx(0), m_cy(0), m_nFlags(0)
{
    ::SetRectEmpty(&m_rcMarker);
    if (nKind != -1)
    {
        RECT rc = {0, 0, 0, 0};
        if (pRect != NULL)
            rc = *pRect;
        Create(false, nKind, rc);
    }
}

void DockMarkerBase::RemoveChildren()
{
    for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++)
        delete m_arrChildren[i];
    m_arrChildren.RemoveAll();
}

void DockMarkerBase::ReleaseImages()
{
    m_bmpFirst.Empty();
    m_bmpSecond.Empty();
    m_rgn.DeleteObject();
}

DockMarkerBase::~DockMarkerBase() { Empty(); }

bool DockMarkerBase::IsEmpty() const { return m_nKind == -1; }

void DockMarkerBase::Empty()
{
    m_bmpFirst.Empty();
    m_bmpSecond.Empty();
    m_rgn.DeleteObject();
    m_nKind = -1;
    m_cx = m_cy = 0;
    ::SetRectEmpty(&m_rcMarker);
    RemoveChildren();
}

bool DockMarkerBase::CreateFromResources(const RECT& rc, int nKind, COLORREF clrKey, UINT nIdFirst,
                                         UINT nIdSecond, LPCTSTR sTypeFirst, LPCTSTR sTypeSecond,
                                         HINSTANCE hInstFirst, HINSTANCE hInstSecond)
{
    if (nIdSecond == 0)
    {
        nIdSecond = nIdFirst;
        sTypeSecond = sTypeFirst;
        hInstSecond = hInstFirst;
    }
    CExtBitmap bmpFirst, bmpSecond;
    if (!bmpFirst.LoadFromResource(MAKEINTRESOURCE(nIdFirst), sTypeFirst, hInstFirst) ||
        !bmpSecond.LoadFromResource(MAKEINTRESOURCE(nIdSecond), sTypeSecond, hInstSecond))
        return false;
    return CreateFromBitmaps(rc, nKind, clrKey, bmpFirst, bmpSecond);
}

bool DockMarkerBase::CreateFromBitmaps(const RECT& rc, int nKind, COLORREF clrKey,
                                       const CExtBitmap& bmpFirst, const CExtBitmap& bmpSecond)
{
    const CSize sz = bmpFirst.GetSize();
    if (sz != bmpSecond.GetSize())
        return false;
    HRGN hRgn = bmpFirst.GenerateRgn(clrKey, RGB(0, 0, 0));
    if (hRgn == NULL)
        return false;
    m_cx = sz.cx;
    m_cy = sz.cy;
    m_bmpFirst = bmpFirst;
    m_bmpSecond = bmpSecond;
    m_rgn.DeleteObject();
    m_rgn.Attach(hRgn);
    m_nKind = nKind;
    Layout(nKind, rc, NULL);
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    if (pPM != NULL)
        pPM->AdjustDockMarkerColor(nKind, m_bmpFirst, clrKey, m_bmpSecond, clrKey);
    return true;
}

bool DockMarkerBase::Create(bool bPartOfCross, int nKind, const RECT& rc)
{
    return CreateByIds(bPartOfCross, nKind, rc, &DockMarkerBase::stat_BaseImageId);
}

bool DockMarkerBase::CreateByIds(bool bPartOfCross, int nKind, const RECT& rc,
                                 UINT (*pfnImageId)(int))
{
    Empty();
    if (nKind == -1)
        return true;
    if (nKind < -1 || nKind > 8)
        return false;
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    switch (nKind)
    {
    case 5:
    {
        // The four outer markers, in the current look.
        DockMarkerBase* arr[4] = {NULL, NULL, NULL, NULL};
        bool bOk = pPM != NULL;
        for (int i = 0; bOk && i < 4; i++)
        {
            arr[i] = pPM->GetDockMarker();
            if (arr[i] == NULL)
            {
                bOk = false;
                break;
            }
            if (!bPartOfCross)
                arr[i]->m_nFlags |= __FLAG_STAND_ALONE;
            bOk = arr[i]->Create(bPartOfCross, i, rc);
        }
        if (!bOk)
        {
            for (int i = 0; i < 4; i++)
                delete arr[i];
            return false;
        }
        m_nKind = 5;
        for (int i = 0; i < 4; i++)
            m_arrChildren.Add(arr[i]);
        return true;
    }
    case 6:
    {
        if (!Create(true, 5, rc))
        {
            Empty();
            return false;
        }
        DockMarkerBase* pCentre = pPM->GetDockMarker();
        if (pCentre == NULL || !pCentre->Create(true, 4, rc))
        {
            delete pCentre;
            Empty();
            return false;
        }
        const int cxBox = pCentre->m_cx + 12, cyBox = pCentre->m_cy + 12;
        RECT rcBox;
        rcBox.left = rc.left + (rc.right - rc.left - cxBox) / 2;
        rcBox.top = rc.top + (rc.bottom - rc.top - cyBox) / 2;
        rcBox.right = rcBox.left + cxBox;
        rcBox.bottom = rcBox.top + cyBox;
        // The four outer markers move next to the centre.
        for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++)
        {
            DockMarkerBase* pChild = m_arrChildren[i];
            pChild->Layout(pChild->m_nKind, rcBox, pCentre);
        }
        m_nKind = 6;
        m_arrChildren.InsertAt(0, pCentre);
        return true;
    }
    case 7:
    {
        if (!Create(true, 6, rc))
        {
            Empty();
            return false;
        }
        DockMarkerBase* pSecond = pPM->GetDockMarker();
        if (pSecond == NULL || !pSecond->Create(true, 8, rc))
        {
            delete pSecond;
            Empty();
            return false;
        }
        m_nKind = 7;
        m_arrChildren.Add(pSecond);
        return true;
    }
    default:
        return CreateFromResources(rc, nKind, __KEY_COLOR, pfnImageId(nKind), 0, RT_BITMAP,
                                   RT_BITMAP, NULL, NULL);
    }
}

void DockMarkerBase::Layout(int nKind, const RECT& rc, DockMarkerBase*)
{
    m_rcMarker = rc;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    switch (nKind)
    {
    case 0:
        ::SetRect(&m_rcMarker, rc.left + (w - m_cx) / 2, rc.top, rc.left + (w - m_cx) / 2 + m_cx, rc.top + m_cy);
        break;
    case 1:
        ::SetRect(&m_rcMarker, rc.left + (w - m_cx) / 2, rc.bottom - m_cy, rc.left + (w - m_cx) / 2 + m_cx, rc.bottom);
        break;
    case 2:
        ::SetRect(&m_rcMarker, rc.left, rc.top + (h - m_cy) / 2, rc.left + m_cx, rc.top + (h - m_cy) / 2 + m_cy);
        break;
    case 3:
        ::SetRect(&m_rcMarker, rc.right - m_cx, rc.top + (h - m_cy) / 2, rc.right, rc.top + (h - m_cy) / 2 + m_cy);
        break;
    case 4:
    case 8:
        ::SetRect(&m_rcMarker, rc.left + (w - m_cx) / 2, rc.top + (h - m_cy) / 2,
                  rc.left + (w - m_cx) / 2 + m_cx, rc.top + (h - m_cy) / 2 + m_cy);
        break;
    default:
        break;
    }
}

bool DockMarkerBase::CreateWindows(CWnd* pWndParent, CPtrArray& arrMarkerWindows)
{
    bool bResult = true;
    if (!m_bmpFirst.IsEmpty())
    {
        CWnd* pWnd = NULL;
        const CExtPmDockMarkerHooks::Hooks& hooks = CExtPmDockMarkerHooks::g_hooks;
        if (hooks.pfnCreateMarkerWnd != NULL)
        {
            // The window takes its own copy of the shape.
            HRGN hRgn = NULL;
            if (m_rgn.GetSafeHandle() != NULL)
            {
                hRgn = ::CreateRectRgn(0, 0, 0, 0);
                ::CombineRgn(hRgn, (HRGN)m_rgn.GetSafeHandle(), NULL, RGN_COPY);
            }
            pWnd = hooks.pfnCreateMarkerWnd(pWndParent, m_nKind, m_bmpFirst, m_bmpSecond, hRgn,
                                            m_rcMarker, m_bmpFrame, m_nOffsetX, m_nOffsetY,
                                            (m_nFlags & __FLAG_STAND_ALONE) != 0);
        }
        ReleaseImages();
        // A leaf marker has no children, so emptying it loses nothing still to be shown.
        CTypedPtrArray<CPtrArray, DockMarkerBase*> arrKeep;
        arrKeep.Append(m_arrChildren);
        m_arrChildren.RemoveAll();
        Empty();
        m_arrChildren.Append(arrKeep);
        if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
            bResult = false;
        else
            arrMarkerWindows.Add(pWnd);
    }
    for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++)
        if (!m_arrChildren[i]->CreateWindows(pWndParent, arrMarkerWindows))
            bResult = false;
    return bResult;
}

// ---- the Beta2 look ------------------------------------------------------------------------------

DockMarkerBeta2::DockMarkerBeta2(int nKind, const RECT* pRect) : DockMarkerBase(-1, NULL)
{
    if (nKind != -1)
    {
        RECT rc = {0, 0, 0, 0};
        if (pRect != NULL)
            rc = *pRect;
        Create(false, nKind, rc);
    }
}

bool DockMarkerBeta2::Create(bool bPartOfCross, int nKind, const RECT& rc)
{
    return CreateByIds(bPartOfCross, nKind, rc, &DockMarkerBase::stat_Beta2ImageId);
}

void DockMarkerBeta2::Layout(int nKind, const RECT& rc, DockMarkerBase* pCentre)
{
    DockMarkerBase::Layout(nKind, rc, pCentre);
    if ((m_nFlags & __FLAG_STAND_ALONE) != 0 && nKind >= 0 && nKind <= 3 && m_bmpFrame.IsEmpty())
    {
        RECT m = {0, 0, 0, 0};
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        if (pPM != NULL)
            pPM->GetDockMarkerMargins(m);
        CExtBitmap bmpFrame;
        if (bmpFrame.LoadFromResource(MAKEINTRESOURCE(stat_Beta2FrameImageId(nKind)), RT_BITMAP, NULL))
        {
            const CSize szFrame = bmpFrame.GetSize();
            const int fx = szFrame.cx, fy = szFrame.cy;
            const int cxArrow = m_rcMarker.right - m_rcMarker.left;
            const int cyArrow = m_rcMarker.bottom - m_rcMarker.top;
            RECT& r = m_rcMarker;
            switch (nKind)
            {
            case 0:
            {
                const int d = (fx - cxArrow) / 2;
                ::SetRect(&r, r.left - d, r.top, r.left - d + fx, r.top + fy);
                m_nOffsetX = d + 1;
                m_nOffsetY = 4;
                ::OffsetRect(&r, 0, m.top);
                break;
            }
            case 1:
            {
                const int d = (fx - cxArrow) / 2;
                ::SetRect(&r, r.left - d, r.bottom - fy, r.left - d + fx, r.bottom);
                m_nOffsetX = d + 1;
                m_nOffsetY = 3;
                ::OffsetRect(&r, 0, -m.bottom);
                break;
            }
            case 2:
            {
                const int d = (fy - cyArrow) / 2;
                ::SetRect(&r, r.left, r.top - d, r.left + fx, r.top - d + fy);
                m_nOffsetX = 4;
                m_nOffsetY = d + 1;
                ::OffsetRect(&r, m.left, 0);
                break;
            }
            default:
            {
                const int d = (fy - cyArrow) / 2;
                ::SetRect(&r, r.right - fx, r.top - d, r.right, r.top - d + fy);
                m_nOffsetX = 3;
                m_nOffsetY = d + 1;
                ::OffsetRect(&r, -m.right, 0);
                break;
            }
            }
            m_bmpFrame = bmpFrame;
            m_cx = fx;
            m_cy = fy;
            HRGN hRgn = m_bmpFrame.GenerateRgn(__KEY_COLOR, RGB(0, 0, 0));
            if (hRgn != NULL)
            {
                m_rgn.DeleteObject();
                m_rgn.Attach(hRgn);
            }
        }
    }
    if (pCentre != NULL)
    {
        static const POINT offsets[4] = {{1, 10}, {1, -8}, {10, 1}, {-8, 1}};
        if (nKind >= 0 && nKind <= 3)
            ::OffsetRect(&m_rcMarker, offsets[nKind].x, offsets[nKind].y);
        else if (nKind == 8)
            ::OffsetRect(&m_rcMarker, 1, 1);
    }
    else if (nKind == 8)
        ::OffsetRect(&m_rcMarker, 1, 1);
}

// ---- paint-manager operations -------------------------------------------------------------------

DockMarkerBase* CExtPaintManager::GetDockMarker()
{
    switch (m_nDockMarkerStyle)
    {
    case 1:
        return new DockMarkerBase(-1, NULL);
    case 2:
    case 3:
        return new DockMarkerBeta2(-1, NULL);
    default:
        AfxThrowNotSupportedException();
    }
    return NULL;
}

bool CExtPaintManager::CreateDockMarkerWindows(CWnd* pWndParent, int nKind, const RECT& rc,
                                               CPtrArray& arrMarkerWindows)
{
    if (CExtPmDockMarkerHooks::g_hooks.pfnShowMarkers != NULL)
        CExtPmDockMarkerHooks::g_hooks.pfnShowMarkers(arrMarkerWindows, true);
    DockMarkerBase marker(-1, NULL);
    if (!marker.Create(false, nKind, rc))
        return false;
    return marker.CreateWindows(pWndParent, arrMarkerWindows);
}

void CExtPaintManager::DrawDockMarker(CDC& dc, const RECT& rc, int nKind, bool bHover,
                                      CObject* pMarkerWnd, LPARAM)
{
    if ((m_nDockMarkerStyle != 2 && m_nDockMarkerStyle != 3) || pMarkerWnd == NULL)
        return;
    const CExtPmDockMarkerHooks::Hooks& hooks = CExtPmDockMarkerHooks::g_hooks;
    int nOwnKind = nKind;
    bool bStandAlone = false;
    HWND hWndLinked = NULL;
    // The bars' marker state query answers false for any window but a dock marker.
    if (hooks.pfnMarkerState == NULL || !hooks.pfnMarkerState(pMarkerWnd, nOwnKind, bStandAlone, hWndLinked))
        return;
    const COLORREF clr = dc.GetNearestColor(RGB(0x00, 0x60, 0xC4));
    const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    if (bHover && bStandAlone && nKind >= 0 && nKind <= 3)
    {
        const bool bTop = nKind != 1, bBottom = nKind != 0, bLeft = nKind != 3, bRight = nKind != 2;
        if (bTop)
            dc.FillSolidRect(l, t, r - l, 1, clr);
        if (bBottom)
            dc.FillSolidRect(l, b - 1, r - l, 1, clr);
        if (bLeft)
            dc.FillSolidRect(l, t, 1, b - t, clr);
        if (bRight)
            dc.FillSolidRect(r - 1, t, 1, b - t, clr);
    }
    if (nKind != 4 || hWndLinked == NULL || !::IsWindow(hWndLinked))
        return;
    CWnd* pLinked = CWnd::FromHandlePermanent(hWndLinked);
    int h = -1;
    bool bUnused = false;
    HWND hUnused = NULL;
    if (pLinked == NULL || !hooks.pfnMarkerState(pLinked, h, bUnused, hUnused) || h < 0 || h >= 9)
        return;
    // The arm of the hovered marker, in the 88 x 88 centre image's own coordinates.
    switch (h)
    {
    case 0:
        dc.FillSolidRect(l + 29, t + 0, 29, 1, clr);
        dc.FillSolidRect(l + 29, t + 0, 1, 23, clr);
        dc.FillSolidRect(l + 57, t + 0, 1, 23, clr);
        break;
    case 1:
        dc.FillSolidRect(l + 29, t + 87, 29, 1, clr);
        dc.FillSolidRect(l + 29, t + 64, 1, 24, clr);
        dc.FillSolidRect(l + 57, t + 64, 1, 24, clr);
        break;
    case 2:
        dc.FillSolidRect(l + 0, t + 29, 23, 1, clr);
        dc.FillSolidRect(l + 0, t + 57, 23, 1, clr);
        dc.FillSolidRect(l + 0, t + 29, 1, 29, clr);
        break;
    case 3:
        dc.FillSolidRect(l + 64, t + 29, 24, 1, clr);
        dc.FillSolidRect(l + 64, t + 57, 24, 1, clr);
        dc.FillSolidRect(l + 87, t + 29, 1, 29, clr);
        break;
    case 8:
    {
        CPen pen;
        if (!pen.CreatePen(PS_SOLID, 1, clr))
            break;
        CPen* pOld = dc.SelectObject(&pen);
        static const POINT lines[4][2] = {{{23, 28}, {29, 22}}, {{58, 23}, {64, 29}},
                                          {{58, 63}, {64, 57}}, {{23, 58}, {29, 64}}};
        for (int i = 0; i < 4; i++)
        {
            dc.MoveTo(l + lines[i][0].x, t + lines[i][0].y);
            dc.LineTo(l + lines[i][1].x, t + lines[i][1].y);
        }
        dc.SelectObject(pOld);
        break;
    }
    default:
        break;
    }
}

void CExtPaintManager::AdjustDockMarkerColor(int nKind, CExtBitmap& bmpFirst, COLORREF clrKeyFirst,
                                             CExtBitmap& bmpSecond, COLORREF clrKeySecond)
{
    if (!IsDockMarkerStyle1() || nKind == 4)
        return;
    if (GetScreenBitsPerPixel() <= 8)
    {
        bmpSecond.AdjustHLS(clrKeySecond, RGB(0, 0, 0), 0.0, 0.3, -1.0);
        bmpFirst.AdjustHLS(clrKeyFirst, RGB(0, 0, 0), 0.0, -0.15, -1.0);
    }
    else
        bmpSecond.AdjustHLS(clrKeySecond, RGB(0, 0, 0), 0.0, 0.35, 0.0);
}

void CExtPaintManagerOffice2003::AdjustDockMarkerColor(int nKind, CExtBitmap& bmpFirst,
                                                       COLORREF clrKeyFirst, CExtBitmap& bmpSecond,
                                                       COLORREF clrKeySecond)
{
    if (!IsDockMarkerStyle1() || nKind == 4)
        return;
    const int nScheme = GetLunaColorScheme();
    if (nScheme == 0 || GetScreenBitsPerPixel() <= 8)
    {
        CExtPaintManagerXP::AdjustDockMarkerColor(nKind, bmpFirst, clrKeyFirst, bmpSecond, clrKeySecond);
        return;
    }
    bmpSecond.AdjustHLS(clrKeySecond, RGB(0, 0, 0), 0.0, 0.35, 0.0);
    if (nScheme == 2)
    {
        bmpFirst.AdjustHLS(clrKeyFirst, RGB(0, 0, 0), 0.6, 0.0, -0.45);
        bmpSecond.AdjustHLS(clrKeySecond, RGB(0, 0, 0), 0.6, 0.0, -0.45);
    }
    else if (nScheme == 3)
    {
        bmpFirst.AdjustHLS(clrKeyFirst, RGB(0, 0, 0), 0.0, 0.0, -0.85);
        bmpSecond.AdjustHLS(clrKeySecond, RGB(0, 0, 0), 0.0, 0.0, -0.85);
    }
}

namespace {

inline DWORD ToPixel(COLORREF clr)
{
    return ((DWORD)GetRValue(clr) << 16) | ((DWORD)GetGValue(clr) << 8) | GetBValue(clr);
}

inline COLORREF FromPixel(DWORD px)
{
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

inline bool InRect(const RECT& rc, int x, int y)
{
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

}  // namespace

void CExtPaintManager::PaintDockHighlight(DWORD* pPixels, int cx, int cy, bool bTwoRects,
                                          bool bTabAtTop, const RECT* pRectMain,
                                          const RECT* pRectTab, COLORREF clrFill,
                                          COLORREF clrBorder, int nBorderWidth)
{
    if (pPixels == NULL || cx <= 0 || cy <= 0)
        return;
    bTwoRects = bTwoRects && pRectMain != NULL && pRectTab != NULL;
    RECT rcMain = {0, 0, cx, cy};
    RECT rcTab = {0, 0, 0, 0};
    if (bTwoRects)
    {
        rcMain = *pRectMain;
        rcTab = *pRectTab;
    }
    const bool bPalette = GetScreenBitsPerPixel() <= 8;
    if (!bPalette)
    {
        if (clrFill == COLORREF(-1))
            clrFill = ::GetSysColor(COLOR_HIGHLIGHT);
        if (m_nDockMarkerStyle == 2 || m_nDockMarkerStyle == 3)
            clrFill = RGB(0x00, 0x40, 0xC4);
        if (clrBorder == COLORREF(-1) && nBorderWidth >= 1)
            clrBorder = ::GetSysColor(COLOR_ACTIVEBORDER);
    }
    const DWORD pxChecker = ToPixel(LookupColor(COLOR_BTNSHADOW));
    const int w = std::max(0, nBorderWidth);
    DWORD pxLastOld = 0xFFFFFFFF, pxLastResult = 0;
    COLORREF clrLastNew = CLR_INVALID;
    for (int row = 0; row < cy; row++)
    {
        const int y = cy - 1 - row;  // the buffer's first row is the bottom row
        for (int x = 0; x < cx; x++)
        {
            const bool bInMain = InRect(rcMain, x, y);
            const bool bInTab = bTwoRects && InRect(rcTab, x, y);
            if (!bInMain && !bInTab)
                continue;
            DWORD& px = pPixels[row * cx + x];
            if (bPalette)
            {
                if (((row + x) & 1) != 0)
                    px = pxChecker;
                continue;
            }
            bool bBorder = false;
            if (w > 0)
            {
                if (bInMain)
                {
                    const bool bOnTop = y < rcMain.top + w, bOnBottom = y >= rcMain.bottom - w;
                    bBorder = x < rcMain.left + w || x >= rcMain.right - w || bOnTop || bOnBottom;
                    // No border where the tab joins the main rectangle.
                    if (bBorder && bTwoRects && x >= rcTab.left + w && x < rcTab.right - w &&
                        !(x < rcMain.left + w || x >= rcMain.right - w) &&
                        ((bTabAtTop && bOnTop && !bOnBottom) || (!bTabAtTop && bOnBottom && !bOnTop)))
                        bBorder = false;
                }
                if (!bBorder && bInTab && !bInMain)
                {
                    bBorder = x < rcTab.left + w || x >= rcTab.right - w ||
                              (bTabAtTop ? (y < rcTab.top + w) : (y >= rcTab.bottom - w));
                }
                else if (bInTab && bInMain && !bBorder)
                    bBorder = false;
            }
            const COLORREF clrNew = (bBorder && clrBorder != COLORREF(-1)) ? clrBorder : clrFill;
            if (px == pxLastOld && clrNew == clrLastNew)
            {
                px = pxLastResult;
                continue;
            }
            pxLastOld = px;
            clrLastNew = clrNew;
            const COLORREF clrOld = FromPixel(px);
            const int r = GetRValue(clrOld) + (GetRValue(clrNew) - GetRValue(clrOld)) / 2;
            const int g = GetGValue(clrOld) + (GetGValue(clrNew) - GetGValue(clrOld)) / 2;
            const int b = GetBValue(clrOld) + (GetBValue(clrNew) - GetBValue(clrOld)) / 2;
            const COLORREF clrMixed = CExtBitmap::stat_HLS_Adjust(RGB(r, g, b), 0.0, 0.1, 0.0);
            pxLastResult = ToPixel(clrMixed) | (px & 0xFF000000);
            px = pxLastResult;
        }
    }
}

void CExtPaintManagerOffice2003::PaintDockHighlight(DWORD* pPixels, int cx, int cy,
                                                    bool bTwoRects, bool bTabAtTop,
                                                    const RECT* pRectMain, const RECT* pRectTab,
                                                    COLORREF clrFill, COLORREF clrBorder,
                                                    int nBorderWidth)
{
    if (clrFill == COLORREF(-1) && GetScreenBitsPerPixel() > 8)
    {
        switch (GetLunaColorScheme())
        {
        case 1:
            clrFill = 0x800000;
            break;
        case 2:
            clrFill = 0x83BBAA;
            break;
        case 3:
            clrFill = 0x906060;
            break;
        default:
            break;
        }
    }
    CExtPaintManagerXP::PaintDockHighlight(pPixels, cx, cy, bTwoRects, bTabAtTop, pRectMain,
                                           pRectTab, clrFill, clrBorder, nBorderWidth);
}
