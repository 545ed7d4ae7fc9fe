// The bitmap-based colour pickers: the RGB and CMY cubes and the HSL-panel family
// (HSL panel, basic hue, roller and the six axis planes).
#include "toolkit/pickers/color_picker_modes.h"
#include "toolkit/pickers/color_picker_gdi.h"

#include <math.h>

#include "toolkit/core/bitmap.h"
#include "toolkit/theme/paint_manager.h"

namespace ExtColorPickers {

namespace {

const double c_fPi = 3.14159265358979323846;
const COLORREF c_clrWhite = RGB(255, 255, 255);

int Clamp(int n, int nMin, int nMax)
{
    return n < nMin ? nMin : (n > nMax ? nMax : n);
}

void Polyline(HDC hDC, const POINT* pts, int nCount, COLORREF clr)
{
    HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
    HGDIOBJ hOld = ::SelectObject(hDC, hPen);
    ::Polyline(hDC, pts, nCount);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hPen);
}

}  // namespace

// ---- cubes -----------------------------------------------------------------------------

rgb_cube_data_t::rgb_cube_data_t()
    : m_nInset(5), m_sizeHandle(4, 4), m_rcCube(0, 0, 0, 0), m_nSide(1)
{
}

void rgb_cube_data_t::ColorToABC(COLORREF clr, int& a, int& b, int& c) const
{
    a = GetRValue(clr);
    b = GetGValue(clr);
    c = GetBValue(clr);
}

COLORREF rgb_cube_data_t::ABCToColor(int a, int b, int c) const
{
    return RGB(a, b, c);
}

void cmy_cube_data_t::ColorToABC(COLORREF clr, int& a, int& b, int& c) const
{
    rgb_cube_data_t::ColorToABC(CExtBitmap::stat_RGB_Invert(clr), a, b, c);
}

COLORREF cmy_cube_data_t::ABCToColor(int a, int b, int c) const
{
    return CExtBitmap::stat_RGB_Invert(RGB(a, b, c));
}

CPoint rgb_cube_data_t::Project(int a, int b, int c) const
{
    const int n = m_nSide / 2;
    return CPoint(m_ptCenter.x + (c - b) * n / 255,
                  m_ptCenter.y - a * n / 255 + (b + c) * n / (2 * 255));
}

void rgb_cube_data_t::RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells)
{
    any_picker_data_t::RecalcLayout(dc, pPalette, cx, cy, bKeepCells);
    CRect rc(0, 0, m_nWidth, m_nHeight);
    rc.DeflateRect(m_nInset, m_nInset);
    int w = rc.Width(), h = rc.Height();
    if (w > h) {
        rc.left += (w - h) / 2;
        rc.right -= (w - h) / 2;
    } else if (h > w) {
        rc.top += (h - w) / 2;
        rc.bottom -= (h - w) / 2;
    }
    if (rc.Width() % 4 != 0)
        rc.right -= 3;
    if (rc.Height() % 4 != 0)
        rc.bottom -= 3;
    // Too small a client: keep a few pixels so no step or division meets a zero.
    if (rc.Width() < 4)
        rc.right = rc.left + 4;
    if (rc.Height() < 4)
        rc.bottom = rc.top + 4;
    if (m_rcCube != rc)
        m_bmpCube.Destroy();
    m_rcCube = rc;
    m_nSide = rc.Height();
    m_ptCenter = rc.CenterPoint();
    m_ptTop.SetPoint(m_ptCenter.x, rc.top);
    m_ptLowerLeft.SetPoint(rc.left, rc.bottom - m_nSide / 4);
    m_ptLowerRight.SetPoint(rc.right, rc.bottom - m_nSide / 4);
    RecalcHandles();
    RenderCube(dc, pPalette);
}

void rgb_cube_data_t::Reset()
{
    any_picker_data_t::Reset();
    m_bmpCube.Destroy();
}

void rgb_cube_data_t::RecalcHandles()
{
    int a, b, c;
    ColorToABC(m_clr, a, b, c);
    const int n = m_nSide / 2;
    const int cx = m_ptCenter.x, cy = m_ptCenter.y;
    m_ptA.SetPoint(cx, cy - a * n / 255);
    m_ptB.SetPoint(cx - b * n / 255, cy + (b * n / 255) / 2);
    m_ptC.SetPoint(cx + c * n / 255, cy + (c * n / 255) / 2);
    m_ptAB.SetPoint(m_ptB.x, m_ptA.y + m_ptB.y - cy);
    m_ptAC.SetPoint(m_ptC.x, m_ptA.y + m_ptC.y - cy);
    m_ptBC.SetPoint(m_ptB.x + m_ptC.x - cx, m_ptB.y + m_ptC.y - cy);
    m_ptABC.SetPoint(m_ptB.x + m_ptC.x - cx, m_ptA.y + m_ptB.y + m_ptC.y - 2 * cy);
}

CRect rgb_cube_data_t::HandleRect(int nHandle) const
{
    const CPoint& pt = nHandle == 0 ? m_ptA : nHandle == 1 ? m_ptB : m_ptC;
    return CRect(pt.x - m_sizeHandle.cx, pt.y - m_sizeHandle.cy, pt.x + m_sizeHandle.cx,
                 pt.y + m_sizeHandle.cy);
}

void rgb_cube_data_t::RenderCube(CDC& dc, CPalette*)
{
    if (m_bmpCube.IsCreated())
        return;
    if (!m_bmpCube.Create(dc, m_rcCube.Width(), m_rcCube.Height(), c_clrWhite))
        return;
    const bool bLow = IsLowColor();
    const int n = m_nSide / 2 > 0 ? m_nSide / 2 : 1;
    const int ox = m_rcCube.left, oy = m_rcCube.top;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            int u = i * 255 / n, v = j * 255 / n;
            struct { int a, b, c, dx, nTwice; } faces[3] = {
                {u, v, 0, -1, 0}, {u, 0, v, 0, 0}, {0, u, v, 0, 1}};
            for (const auto& f : faces) {
                CPoint pt = Project(f.a, f.b, f.c);
                COLORREF clr = ABCToColor(f.a, f.b, f.c);
                int x = pt.x - ox + f.dx, y = pt.y - oy;
                if (bLow) {
                    if (i % 4 == 0 && j % 4 == 0)
                        m_bmpCube.SetBlock(x, y, clr);
                    continue;
                }
                m_bmpCube.SetPixel(x, y, clr);
                if (f.nTwice)
                    m_bmpCube.SetPixel(x - 1, y, clr);
            }
        }
    }
}

void rgb_cube_data_t::Paint(CDC& dc, CPalette* pPalette)
{
    CPaletteScope scope(dc.GetSafeHdc(), pPalette);
    RenderCube(dc, pPalette);
    HDC hDC = dc.GetSafeHdc();
    if (m_bmpCube.IsCreated())
        CExtPaintManager::TransparentBltByColor(hDC, m_rcCube.left, m_rcCube.top,
                                                m_rcCube.Width(), m_rcCube.Height(),
                                                m_bmpCube.GetDC(), 0, 0, m_rcCube.Width(),
                                                m_rcCube.Height(), c_clrWhite);
    POINT ptEdges[2] = {m_ptCenter, m_ptTop};
    Polyline(hDC, ptEdges, 2, RGB(0, 0, 0));
    ptEdges[1] = m_ptLowerRight;
    Polyline(hDC, ptEdges, 2, RGB(0, 0, 0));
    ptEdges[1] = m_ptLowerLeft;
    Polyline(hDC, ptEdges, 2, RGB(0, 0, 0));
    POINT ptBox[9] = {m_ptAB, m_ptB, m_ptBC, m_ptC, m_ptAC, m_ptA, m_ptAB, m_ptABC, m_ptAC};
    Polyline(hDC, ptBox, 9, c_clrWhite);
    POINT ptTail[2] = {m_ptABC, m_ptBC};
    Polyline(hDC, ptTail, 2, c_clrWhite);
    for (int i = 0; i < 3; ++i) {
        CRect rc = HandleRect(i);
        if (i == 0) {
            rc.right++;
            rc.bottom++;
        }
        FrameRectColor(hDC, rc, RGB(0, 0, 0));
        rc.DeflateRect(1, 1);
        FillRectColor(hDC, rc, c_clrWhite);
    }
}

void rgb_cube_data_t::OnMouseDown(UINT nFlags, int x, int y)
{
    m_nTrackPart = PART_NONE;
    for (int i = 0; i < 3; ++i) {
        CRect rc = HandleRect(i);
        if (x >= rc.left && x <= rc.right && y >= rc.top && y <= rc.bottom) {
            m_nTrackPart = PART_HANDLE_A + i;
            OnMouseTrack(nFlags | MK_LBUTTON, x, y);
            return;
        }
    }
    if (CExtPaintManager::GetScreenBitsPerPixel() < 9 || !m_bmpCube.IsCreated())
        return;
    // The three visible faces: (a, b) with c = 0, (a, c) with b = 0, (b, c) with a = 0.
    POINT faces[3][4] = {
        {Project(0, 0, 0), Project(255, 0, 0), Project(255, 255, 0), Project(0, 255, 0)},
        {Project(0, 0, 0), Project(255, 0, 0), Project(255, 0, 255), Project(0, 0, 255)},
        {Project(0, 0, 0), Project(0, 255, 0), Project(0, 255, 255), Project(0, 0, 255)}};
    for (int nFace = 0; nFace < 3; ++nFace) {
        HRGN hRgn = ::CreatePolygonRgn(faces[nFace], 4, ALTERNATE);
        bool bHit = hRgn != NULL && ::PtInRegion(hRgn, x, y);
        if (hRgn != NULL)
            ::DeleteObject(hRgn);
        if (!bHit)
            continue;
        COLORREF clrPixel = m_bmpCube.GetPixel(x - m_rcCube.left, y - m_rcCube.top);
        if (clrPixel == CLR_INVALID || clrPixel == c_clrWhite)
            return;
        if (nFlags & MK_CONTROL) {
            int a, b, c, a0, b0, c0;
            ColorToABC(clrPixel, a, b, c);
            ColorToABC(m_clr, a0, b0, c0);
            if (nFace == 0)
                c = c0;
            else if (nFace == 1)
                b = b0;
            else
                a = a0;
            clrPixel = ABCToColor(a, b, c);
        }
        SetColor(clrPixel);
        return;
    }
}

void rgb_cube_data_t::OnMouseTrack(UINT, int x, int y)
{
    if (m_nTrackPart < PART_HANDLE_A || m_nTrackPart > PART_HANDLE_C)
        return;
    int a, b, c;
    ColorToABC(m_clr, a, b, c);
    const int cx = m_ptCenter.x, cy = m_ptCenter.y;
    int a2 = a, b2 = b, c2 = c;
    if (m_nTrackPart == PART_HANDLE_A) {
        if (m_ptTop.y == cy)
            return;
        y = Clamp(y, m_ptTop.y, cy);
        a2 = (y - cy) * 255 / (m_ptTop.y - cy);
    } else if (m_nTrackPart == PART_HANDLE_B) {
        if (m_ptLowerLeft.x == cx)
            return;
        x = Clamp(x, m_ptLowerLeft.x, cx);
        b2 = (x - cx) * 255 / (m_ptLowerLeft.x - cx);
    } else {
        if (m_ptLowerRight.x == cx)
            return;
        x = Clamp(x, cx, m_ptLowerRight.x);
        c2 = (cx - x) * 255 / (cx - m_ptLowerRight.x);
    }
    if (a2 == a && b2 == b && c2 == c)
        return;
    SetColor(ABCToColor(a2, b2, c2));
}

void rgb_cube_data_t::SetColor(COLORREF clr)
{
    any_picker_data_t::SetColor(clr);
    RecalcHandles();
}

void rgb_cube_data_t::SetHLS(double fH, double fL, double fS)
{
    any_picker_data_t::SetHLS(fH, fL, fS);
    RecalcHandles();
}

// ---- HSL-panel family ----------------------------------------------------------------

hsl_panel_data_t::hsl_panel_data_t()
    : m_bPanelReady(false), m_bBarReady(false), m_ptMarker(0, 0), m_nPanelWidth(1),
      m_nPanelHeight(1), m_nBarLength(1), m_nBarThickness(20), m_nBarThicknessSetting(20),
      m_nMargin(4)
{
}

void hsl_panel_data_t::RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells)
{
    any_picker_data_t::RecalcLayout(dc, pPalette, cx, cy, bKeepCells);
    const int W = m_nWidth, H = m_nHeight, m = m_nMargin, t = m_nBarThicknessSetting;
    m_bmpPanel.Destroy();
    m_bmpBar.Destroy();
    m_bPanelReady = m_bBarReady = false;
    m_nWidth = W - 2 * m;
    m_nHeight = H - 3 * m;
    m_nPanelWidth = m_nBarLength = W - 2 * m > 0 ? W - 2 * m : 1;
    m_nPanelHeight = H - 3 * m - t > 0 ? H - 3 * m - t : 1;
    m_nBarThickness = t;
    UpdateMarkerFromColor();
    RenderPanel(dc, pPalette);
    RenderBar(dc, pPalette);
}

void hsl_panel_data_t::Reset()
{
    any_picker_data_t::Reset();
    m_bmpPanel.Destroy();
    m_bmpBar.Destroy();
    m_bPanelReady = m_bBarReady = false;
}

void hsl_panel_data_t::RenderBitmap(CDC& dc, CPalette* pPalette, cached_bitmap_t& bmp, bool bPanel)
{
    CPaletteScope scope(dc.GetSafeHdc(), pPalette);
    int cx = bPanel ? m_nPanelWidth : m_nBarLength;
    int cy = bPanel ? m_nPanelHeight : m_nBarThickness;
    if (!bmp.Create(dc, cx, cy, c_clrWhite))
        return;
    const bool bLow = IsLowColor();
    if (bLow) {
        for (int y = 0; y < cy + 4; y += 4)
            for (int x = 0; x < cx + 4; x += 4)
                bmp.SetBlock(x, y, bPanel ? PanelPixel(Clamp(x, 0, cx - 1), Clamp(y, 0, cy - 1))
                                          : BarPixel(Clamp(x, 0, cx - 1)));
        return;
    }
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            bmp.SetPixel(x, y, bPanel ? PanelPixel(x, y) : BarPixel(x));
}

void hsl_panel_data_t::RenderPanel(CDC& dc, CPalette* pPalette)
{
    if (!m_bPanelReady)
        m_bmpPanel.Destroy();
    if (!m_bmpPanel.IsCreated())
        RenderBitmap(dc, pPalette, m_bmpPanel, true);
    m_bPanelReady = m_bmpPanel.IsCreated();
}

void hsl_panel_data_t::RenderBar(CDC& dc, CPalette* pPalette)
{
    if (!m_bBarReady)
        m_bmpBar.Destroy();
    if (!m_bmpBar.IsCreated())
        RenderBitmap(dc, pPalette, m_bmpBar, false);
    m_bBarReady = m_bmpBar.IsCreated();
}

void hsl_panel_data_t::Paint(CDC& dc, CPalette* pPalette)
{
    CPaletteScope scope(dc.GetSafeHdc(), pPalette);
    RenderPanel(dc, pPalette);
    RenderBar(dc, pPalette);
    const int m = m_nMargin;
    HDC hDC = dc.GetSafeHdc();
    if (m_bmpPanel.IsCreated())
        ::BitBlt(hDC, m, m, m_nPanelWidth, m_nPanelHeight, m_bmpPanel.GetDC(), 0, 0, SRCCOPY);
    CPoint ptBar = GetBarOrigin();
    if (m_bmpBar.IsCreated())
        ::BitBlt(hDC, ptBar.x, ptBar.y, m_nBarLength, m_nBarThickness, m_bmpBar.GetDC(), 0, 0,
                 SRCCOPY);
    DrawMarker(dc, m + m_ptMarker.x, m + m_ptMarker.y, 6, 6);
    DrawMarker(dc, m + BarMarkerOffset(), ptBar.y + m_nBarThickness / 2, 6, m_nBarThickness);
}

void hsl_panel_data_t::OnMouseDown(UINT nFlags, int x, int y)
{
    if (!m_bmpPanel.IsCreated())
        return;
    m_nTrackPart = (y - 2 * m_nMargin > m_nPanelHeight) ? PART_BAR : PART_PANEL;
    OnMouseTrack(nFlags | MK_LBUTTON, x, y);
}

void hsl_panel_data_t::OnMouseTrack(UINT nFlags, int x, int y)
{
    if ((nFlags & MK_LBUTTON) == 0)
        return;
    if (m_nTrackPart != PART_BAR && m_nTrackPart != PART_PANEL)
        return;
    if (!(TrackNeedsBar() ? m_bmpBar.IsCreated() : m_bmpPanel.IsCreated()))
        return;
    const int m = m_nMargin;
    if (m_nTrackPart == PART_PANEL) {
        int x2 = Clamp(x - m, 0, m_nPanelWidth);
        int y2 = Clamp(y - m, 0, m_nPanelHeight);
        if (nFlags & MK_CONTROL)
            x2 = m_ptMarker.x;
        if (nFlags & MK_SHIFT)
            y2 = m_ptMarker.y;
        m_ptMarker.SetPoint(x2, y2);
        OnPanelPick(x2, y2);
    } else {
        OnBarPick(Clamp(x - m, 0, m_nBarLength));
    }
}

void hsl_panel_data_t::SetColor(COLORREF clr)
{
    any_picker_data_t::SetColor(clr);
    UpdateMarkerFromColor();
    AfterColorChange();
}

void hsl_panel_data_t::SetHLS(double fH, double fL, double fS)
{
    any_picker_data_t::SetHLS(fH, fL, fS);
    UpdateMarkerFromColor();
    AfterColorChange();
}

// Mode 1: hue across, saturation up the panel; the bar runs through the lightness.
COLORREF hsl_panel_data_t::PanelPixel(int x, int y) const
{
    return CExtBitmap::stat_HLS2RGB(double(x) / m_nPanelWidth, 0.5,
                                    double(m_nPanelHeight - y - 1) / m_nPanelHeight);
}

COLORREF hsl_panel_data_t::BarPixel(int x) const
{
    return CExtBitmap::stat_HLS2RGB(m_fH, double(x) / m_nBarLength, m_fS);
}

int hsl_panel_data_t::BarMarkerOffset() const
{
    return int(m_nBarLength * m_fL);
}

void hsl_panel_data_t::UpdateMarkerFromColor()
{
    m_ptMarker.SetPoint(int(m_nPanelWidth * m_fH),
                        m_nPanelHeight - int(m_nPanelHeight * m_fS) - 1);
}

void hsl_panel_data_t::OnPanelPick(int x, int y)
{
    m_fH = double(x) / m_nPanelWidth;
    m_fS = double(m_nPanelHeight - y) / m_nPanelHeight;
    m_clr = CExtBitmap::stat_HLS2RGB(m_fH, m_fL, m_fS);
    m_bBarReady = false;
}

void hsl_panel_data_t::OnBarPick(int nPos)
{
    m_fL = double(nPos) / m_nBarLength;
    m_clr = CExtBitmap::stat_HLS2RGB(m_fH, m_fL, m_fS);
}

void hsl_panel_data_t::AfterColorChange()
{
    m_bBarReady = false;
}

// Mode 2: saturation across, lightness up the panel at the current hue; the bar is the hue.
COLORREF hsl_basic_hue_data_t::PanelPixel(int x, int y) const
{
    return CExtBitmap::stat_HLS2RGB(m_fH, double(m_nPanelHeight - y - 1) / m_nPanelHeight,
                                    double(x) / m_nPanelWidth);
}

COLORREF hsl_basic_hue_data_t::BarPixel(int x) const
{
    return CExtBitmap::stat_HLS2RGB(double(x) / m_nBarLength, 0.5, 1.0);
}

int hsl_basic_hue_data_t::BarMarkerOffset() const
{
    return int(m_nBarLength * m_fH);
}

void hsl_basic_hue_data_t::UpdateMarkerFromColor()
{
    m_ptMarker.SetPoint(int(m_nPanelWidth * m_fS), m_nPanelHeight - int(m_nPanelHeight * m_fL));
}

void hsl_basic_hue_data_t::OnPanelPick(int x, int y)
{
    m_fS = double(x) / m_nPanelWidth;
    m_fL = double(m_nPanelHeight - y) / m_nPanelHeight;
    m_clr = CExtBitmap::stat_HLS2RGB(m_fH, m_fL, m_fS);
}

void hsl_basic_hue_data_t::OnBarPick(int nPos)
{
    m_fH = double(nPos) / m_nBarLength;
    m_clr = CExtBitmap::stat_HLS2RGB(m_fH, m_fL, m_fS);
    m_bPanelReady = false;
}

void hsl_basic_hue_data_t::AfterColorChange()
{
    m_bPanelReady = false;
}

// Mode 3: a hue and saturation wheel; the bar is the lightness as in mode 1.
hsl_roller_data_t::hsl_roller_data_t() : m_ptWheelCenter(0, 0), m_nWheelRadius(1) {}

void hsl_roller_data_t::ComputeWheel()
{
    m_ptWheelCenter.SetPoint(m_nPanelWidth / 2, m_nPanelHeight / 2);
    int nMin = m_nPanelWidth < m_nPanelHeight ? m_nPanelWidth : m_nPanelHeight;
    m_nWheelRadius = (nMin - m_nMargin) / 2;
    if (m_nWheelRadius < 1)
        m_nWheelRadius = 1;
}

void hsl_roller_data_t::RenderPanel(CDC& dc, CPalette* pPalette)
{
    if (!m_bPanelReady)
        m_bmpPanel.Destroy();
    if (m_bmpPanel.IsCreated())
        return;
    ComputeWheel();
    const int cx = m_ptWheelCenter.x, cy = m_ptWheelCenter.y, r = m_nWheelRadius;
    m_rgnWheel.DeleteObject();
    m_rgnWheelEnlarged.DeleteObject();
    m_rgnWheel.CreateEllipticRgn(cx - r, cy - r, cx + r + 1, cy + r + 1);
    m_rgnWheelEnlarged.CreateEllipticRgn(cx - r - 18, cy - r - 18, cx + r + 18 + 1, cy + r + 18 + 1);
    CPaletteScope scope(dc.GetSafeHdc(), pPalette);
    if (!m_bmpPanel.Create(dc, m_nPanelWidth, m_nPanelHeight, c_clrWhite))
        return;
    const bool bLow = IsLowColor();
    const double fR2 = double(r) * r;
    for (int y = cy - r; y <= cy + r; ++y) {
        for (int x = cx - r; x <= cx + r; ++x) {
            if (bLow && (x % 4 != 0 || y % 4 != 0))
                continue;
            double d2 = double(cx - x) * (cx - x) + double(cy - y) * (cy - y);
            if (d2 > fR2)
                continue;
            COLORREF clr = CExtBitmap::stat_HLS2RGB(atan2(double(cy - y), double(cx - x)) / (2 * c_fPi),
                                                    0.5, d2 / fR2);
            if (!bLow) {
                m_bmpPanel.SetPixel(x, y, clr);
                continue;
            }
            for (int yy = y - 2; yy < y + 2; ++yy)
                for (int xx = x - 2; xx < x + 2; ++xx)
                    if (double(cx - xx) * (cx - xx) + double(cy - yy) * (cy - yy) <= fR2)
                        m_bmpPanel.SetPixel(xx, yy, clr);
        }
    }
    m_bPanelReady = true;
}

void hsl_roller_data_t::UpdateMarkerFromColor()
{
    // The layout places the marker before the wheel bitmap exists; take the wheel's
    // geometry from the panel size so the marker is right from the start.
    ComputeWheel();
    const double fRoot = sqrt(m_fS > 0 ? m_fS : 0.0);
    m_ptMarker.SetPoint(m_ptWheelCenter.x - int(cos(2 * c_fPi * m_fH) * fRoot * m_nWheelRadius),
                        m_ptWheelCenter.y - int(sin(2 * c_fPi * m_fH) * fRoot * m_nWheelRadius));
}

void hsl_roller_data_t::Paint(CDC& dc, CPalette* pPalette)
{
    CPaletteScope scope(dc.GetSafeHdc(), pPalette);
    RenderPanel(dc, pPalette);
    RenderBar(dc, pPalette);
    const int m = m_nMargin;
    HDC hDC = dc.GetSafeHdc();
    if (m_bmpPanel.IsCreated())
        CExtPaintManager::TransparentBltByColor(hDC, m, m, m_nPanelWidth, m_nPanelHeight,
                                                m_bmpPanel.GetDC(), 0, 0, m_nPanelWidth,
                                                m_nPanelHeight, c_clrWhite);
    CPoint ptBar = GetBarOrigin();
    if (m_bmpBar.IsCreated())
        ::BitBlt(hDC, ptBar.x, ptBar.y, m_nBarLength, m_nBarThickness, m_bmpBar.GetDC(), 0, 0,
                 SRCCOPY);
    DrawMarker(dc, m + m_ptMarker.x, m + m_ptMarker.y, 6, 6);
    DrawMarker(dc, m + BarMarkerOffset(), ptBar.y + m_nBarThickness / 2, 6, m_nBarThickness);
}

void hsl_roller_data_t::OnMouseDown(UINT nFlags, int x, int y)
{
    if (!m_bmpPanel.IsCreated())
        return;
    const int m = m_nMargin;
    if (m_rgnWheelEnlarged.GetSafeHandle() != NULL && m_rgnWheelEnlarged.PtInRegion(x - m, y - m))
        m_nTrackPart = PART_PANEL;
    else if (y - 2 * m > m_nPanelHeight)
        m_nTrackPart = PART_BAR;
    else
        m_nTrackPart = PART_NONE;
    OnMouseTrack(nFlags | MK_LBUTTON, x, y);
}

void hsl_roller_data_t::OnMouseTrack(UINT nFlags, int x, int y)
{
    if (m_nTrackPart != PART_PANEL) {
        hsl_panel_data_t::OnMouseTrack(nFlags, x, y);
        return;
    }
    if ((nFlags & MK_LBUTTON) == 0 || !m_bmpPanel.IsCreated())
        return;
    const int m = m_nMargin;
    x -= m;
    y -= m;
    if (m_rgnWheelEnlarged.GetSafeHandle() == NULL || !m_rgnWheelEnlarged.PtInRegion(x, y))
        return;
    const int dx = m_ptWheelCenter.x - x, dy = m_ptWheelCenter.y - y;
    const double d2 = double(dx) * dx + double(dy) * dy;
    const double fR2 = double(m_nWheelRadius) * m_nWheelRadius;
    double fHue = atan2(double(dy), double(dx)) / (2 * c_fPi);
    double fSat = int(sqrt(d2)) <= m_nWheelRadius ? d2 / fR2 : 1.0;
    double fL = m_fL;
    SetColor(CExtBitmap::stat_HLS2RGB(fHue, fL, fSat));
    m_fL = fL;
}

// Modes 9-14: a plane of two components at the current value of the third.
xyz_plain_data_t::xyz_plain_data_t(int nAxis) : m_nAxis(nAxis) {}

void xyz_plain_data_t::Split(COLORREF clr, int& nAxisValue, int& nX, int& nY) const
{
    if (m_nAxis >= 3)
        clr = CExtBitmap::stat_RGB_Invert(clr);
    int c[3] = {GetRValue(clr), GetGValue(clr), GetBValue(clr)};
    int nBar = m_nAxis % 3;
    nAxisValue = c[nBar];
    nX = c[nBar == 0 ? 1 : 0];
    nY = c[nBar == 2 ? 1 : 2];
}

COLORREF xyz_plain_data_t::Join(int nAxisValue, int nX, int nY) const
{
    int c[3] = {0, 0, 0};
    int nBar = m_nAxis % 3;
    c[nBar] = nAxisValue;
    c[nBar == 0 ? 1 : 0] = nX;
    c[nBar == 2 ? 1 : 2] = nY;
    COLORREF clr = RGB(c[0], c[1], c[2]);
    return m_nAxis >= 3 ? CExtBitmap::stat_RGB_Invert(clr) : clr;
}

int xyz_plain_data_t::PanelComponent(int nPos, int nExtent) const
{
    int n = nPos * 255 / (nExtent > 0 ? nExtent : 1);
    return n > 255 ? 255 : n;
}

COLORREF xyz_plain_data_t::PanelPixel(int x, int y) const
{
    int nAxisValue, nX, nY;
    Split(m_clr, nAxisValue, nX, nY);
    return Join(nAxisValue, PanelComponent(x, m_nPanelWidth), PanelComponent(y, m_nPanelHeight));
}

COLORREF xyz_plain_data_t::BarPixel(int x) const
{
    return Join(PanelComponent(x, m_nBarLength), 0, 0);
}

int xyz_plain_data_t::BarMarkerOffset() const
{
    int nAxisValue, nX, nY;
    Split(m_clr, nAxisValue, nX, nY);
    return nAxisValue * m_nBarLength / 255;
}

void xyz_plain_data_t::UpdateMarkerFromColor()
{
    int nAxisValue, nX, nY;
    Split(m_clr, nAxisValue, nX, nY);
    m_ptMarker.SetPoint(nX * m_nPanelWidth / 255, nY * m_nPanelHeight / 255);
}

void xyz_plain_data_t::OnPanelPick(int x, int y)
{
    int nAxisValue, nX, nY;
    Split(m_clr, nAxisValue, nX, nY);
    any_picker_data_t::SetColor(
        Join(nAxisValue, PanelComponent(x, m_nPanelWidth), PanelComponent(y, m_nPanelHeight)));
}

void xyz_plain_data_t::OnBarPick(int nPos)
{
    int nAxisValue, nX, nY;
    Split(m_clr, nAxisValue, nX, nY);
    any_picker_data_t::SetColor(Join(PanelComponent(nPos, m_nBarLength), nX, nY));
    m_bPanelReady = false;
}

void xyz_plain_data_t::AfterColorChange()
{
    m_bPanelReady = false;
}

}  // namespace ExtColorPickers
