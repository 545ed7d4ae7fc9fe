#include "toolkit/pickers/color_picker_modes.h"
#include "toolkit/pickers/color_picker_gdi.h"

#include <math.h>

#include "toolkit/core/bitmap.h"
#include "toolkit/theme/paint_manager.h"

namespace ExtColorPickers {

namespace {

const double c_fPi = 3.14159265358979323846;

// Rounds half away from zero.
int RoundAway(double f)
{
    return f < 0 ? -int(-f + 0.5) : int(f + 0.5);
}

void DrawPolygon(HDC hDC, const POINT* pts, int nCount, COLORREF clr)
{
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    ::Polygon(hDC, pts, nCount);
    ::SelectObject(hDC, hOldPen);
    ::SelectObject(hDC, hOldBrush);
    ::DeleteObject(hPen);
    ::DeleteObject(hBrush);
}

}  // namespace

// ---- cell_t --------------------------------------------------------------------------

cell_t::cell_t() : m_clr(RGB(255, 255, 255)), m_rc(0, 0, 0, 0), m_nFlag(1), m_bHexagon(1)
{
    for (int i = 0; i < 6; ++i)
        m_pts[i].x = m_pts[i].y = 0;
}

void cell_t::SetHexagon(int cx, int cy, int nSize)
{
    float h = float(nSize) * 0.5773502588272095f / 2.0f;
    int nHalf = nSize / 2;
    const double xs[6] = {double(cx - nHalf), double(cx), double(cx + nHalf),
                          double(cx + nHalf), double(cx), double(cx - nHalf)};
    const double ys[6] = {cy - double(h), double(cy - nHalf), cy - double(h),
                          cy + double(h), double(cy + nHalf), cy + double(h)};
    for (int i = 0; i < 6; ++i) {
        m_pts[i].x = RoundAway(xs[i]);
        m_pts[i].y = RoundAway(ys[i]) + (i >= 3 ? 1 : 0);
    }
    m_bHexagon = 1;
}

bool cell_t::HitTest(CPoint pt) const
{
    if (!m_bHexagon)
        return m_rc.PtInRect(pt) != FALSE;
    HRGN hRgn = ::CreatePolygonRgn(m_pts, 6, ALTERNATE);
    if (hRgn == NULL)
        return false;
    bool bHit = ::PtInRegion(hRgn, pt.x, pt.y) != FALSE;
    ::DeleteObject(hRgn);
    return bHit;
}

void cell_t::Draw(CDC& dc, CPalette* /*pPalette*/, bool bSelected) const
{
    HDC hDC = dc.GetSafeHdc();
    if (!m_bHexagon) {
        if (bSelected) {
            CRect rc = m_rc;
            rc.InflateRect(3, 3);
            FillRectColor(hDC, rc, RGB(0, 0, 0));
            rc.DeflateRect(1, 1);
            FillRectColor(hDC, rc, RGB(255, 255, 255));
            rc.DeflateRect(1, 1);
            FillRectColor(hDC, rc, RGB(0, 0, 0));
        }
        FillRectColor(hDC, m_rc, m_clr);
        return;
    }
    if (!bSelected) {
        DrawPolygon(hDC, m_pts, 6, m_clr);
        return;
    }
    static const POINT s_offsets[6] = {{-2, -1}, {0, -2}, {2, -1}, {2, 1}, {0, 2}, {-2, 1}};
    POINT ptsBig[6];
    for (int i = 0; i < 6; ++i) {
        ptsBig[i].x = m_pts[i].x + s_offsets[i].x;
        ptsBig[i].y = m_pts[i].y + s_offsets[i].y;
    }
    DrawPolygon(hDC, ptsBig, 6, RGB(255, 255, 255));
    DrawPolygon(hDC, m_pts, 6, m_clr);
    HBRUSH hWhite = ::CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH hBlack = ::CreateSolidBrush(RGB(0, 0, 0));
    HRGN hRgnBig = ::CreatePolygonRgn(ptsBig, 6, ALTERNATE);
    HRGN hRgn = ::CreatePolygonRgn(m_pts, 6, ALTERNATE);
    if (hRgnBig != NULL) {
        ::FrameRgn(hDC, hRgnBig, hWhite, 3, 3);
        ::FrameRgn(hDC, hRgnBig, hBlack, 1, 1);
        ::DeleteObject(hRgnBig);
    }
    if (hRgn != NULL) {
        ::FrameRgn(hDC, hRgn, hBlack, 1, 1);
        ::DeleteObject(hRgn);
    }
    ::DeleteObject(hBlack);
    ::DeleteObject(hWhite);
}

// ---- any_picker_data_t -------------------------------------------------------------

any_picker_data_t::any_picker_data_t()
    : m_nTrackPart(PART_NONE), m_nWidth(50), m_nHeight(50), m_clr(RGB(255, 255, 255)),
      m_clrReference(RGB(255, 255, 255)), m_fL(0.0), m_fS(0.0), m_fH(0.0)
{
    CExtBitmap::stat_RGB2HLS(m_clr, m_fH, m_fS, m_fL);
}

any_picker_data_t::~any_picker_data_t() {}

void any_picker_data_t::RecalcLayout(CDC&, CPalette*, int cx, int cy, bool)
{
    m_nWidth = cx < 1 ? 1 : cx;
    m_nHeight = cy < 1 ? 1 : cy;
}

void any_picker_data_t::Reset()
{
    m_nTrackPart = PART_NONE;
}

void any_picker_data_t::Paint(CDC&, CPalette*) {}

void any_picker_data_t::OnMouseDown(UINT nFlags, int x, int y)
{
    m_nTrackPart = PART_NONE;
    OnMouseTrack(nFlags | MK_LBUTTON, x, y);
}

void any_picker_data_t::OnMouseUp(UINT, int, int)
{
    m_nTrackPart = PART_NONE;
}

void any_picker_data_t::OnMouseTrack(UINT, int, int) {}

void any_picker_data_t::SetReferenceColor(COLORREF clr)
{
    m_clrReference = clr;
}

void any_picker_data_t::SetColor(COLORREF clr)
{
    m_clr = clr;
    CExtBitmap::stat_RGB2HLS(m_clr, m_fH, m_fS, m_fL);
}

void any_picker_data_t::SetHLS(double fH, double fL, double fS)
{
    m_fH = fH;
    m_fL = fL;
    m_fS = fS;
    m_clr = CExtBitmap::stat_HLS2RGB(fH, fL, fS);
}

void any_picker_data_t::RenderBar(CDC&, CPalette*) {}
void any_picker_data_t::RenderPanel(CDC&, CPalette*) {}

bool any_picker_data_t::IsLowColor()
{
    return CExtPaintManager::GetScreenBitsPerPixel() < 9;
}

void any_picker_data_t::DrawMarker(CDC& dc, int x, int y, int cx, int cy)
{
    CRect rc(x - cx / 2, y - cy / 2, x - cx / 2 + cx, y - cy / 2 + cy);
    FrameRectColor(dc.GetSafeHdc(), rc, RGB(255, 255, 255));
    rc.InflateRect(1, 1);
    FrameRectColor(dc.GetSafeHdc(), rc, RGB(0, 0, 0));
}

// ---- cached_bitmap_t ----------------------------------------------------------------

cached_bitmap_t::cached_bitmap_t()
    : m_cx(0), m_cy(0), m_hDC(NULL), m_hBitmap(NULL), m_hBitmapOld(NULL), m_pBits(NULL)
{
}

cached_bitmap_t::~cached_bitmap_t()
{
    Destroy();
}

bool cached_bitmap_t::Create(CDC& dcCompatible, int cx, int cy, COLORREF clrFill)
{
    Destroy();
    if (cx < 1)
        cx = 1;
    if (cy < 1)
        cy = 1;
    void* pBits = NULL;
    m_hBitmap = CreateDib32(NULL, cx, cy, &pBits);
    if (m_hBitmap == NULL) {
        Destroy();
        return false;
    }
    m_hDC = ::CreateCompatibleDC(dcCompatible.GetSafeHdc());
    if (m_hDC == NULL) {
        Destroy();
        return false;
    }
    m_hBitmapOld = (HBITMAP)::SelectObject(m_hDC, m_hBitmap);
    m_pBits = (DWORD*)pBits;
    m_cx = cx;
    m_cy = cy;
    DWORD dwFill = (GetRValue(clrFill) << 16) | (GetGValue(clrFill) << 8) | GetBValue(clrFill);
    for (int i = 0; i < cx * cy; ++i)
        m_pBits[i] = dwFill;
    return true;
}

void cached_bitmap_t::Destroy()
{
    if (m_hDC != NULL) {
        ::SelectObject(m_hDC, m_hBitmapOld);
        ::DeleteDC(m_hDC);
    }
    if (m_hBitmap != NULL)
        ::DeleteObject(m_hBitmap);
    m_hDC = NULL;
    m_hBitmap = m_hBitmapOld = NULL;
    m_pBits = NULL;
    m_cx = m_cy = 0;
}

void cached_bitmap_t::SetPixel(int x, int y, COLORREF clr)
{
    if (m_pBits == NULL || x < 0 || y < 0 || x >= m_cx || y >= m_cy)
        return;
    m_pBits[y * m_cx + x] = (GetRValue(clr) << 16) | (GetGValue(clr) << 8) | GetBValue(clr);
}

void cached_bitmap_t::SetBlock(int x, int y, COLORREF clr)
{
    for (int yy = y - 2; yy < y + 2; ++yy)
        for (int xx = x - 2; xx < x + 2; ++xx)
            SetPixel(xx, yy, clr);
}

COLORREF cached_bitmap_t::GetPixel(int x, int y) const
{
    if (m_pBits == NULL || x < 0 || y < 0 || x >= m_cx || y >= m_cy)
        return CLR_INVALID;
    DWORD dw = m_pBits[y * m_cx + x];
    return RGB((dw >> 16) & 0xFF, (dw >> 8) & 0xFF, dw & 0xFF);
}

// ---- cell-based pickers ----------------------------------------------------------------

void cell_based_data_t::SetCellCount(int nCount)
{
    m_arrCells.SetSize(nCount);
}

int cell_based_data_t::HitTestCell(CPoint pt) const
{
    for (INT_PTR i = 0; i < m_arrCells.GetSize(); ++i)
        if (m_arrCells[i].HitTest(pt))
            return int(i);
    return -1;
}

void cell_based_data_t::RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy,
                                     bool bKeepCells)
{
    any_picker_data_t::RecalcLayout(dc, pPalette, cx, cy, bKeepCells);
    const int W = m_nWidth, H = m_nHeight;
    if (!bKeepCells)
        m_arrCells.RemoveAll();
    SetCellCount(144);
    int s = W / 16 + 2;
    int s2 = (H - 10) / 16 + 2;
    if (s2 < s)
        s = s2;
    if (s < 1)
        s = 1;
    const int cx0 = W / 2, cy0 = (H - (2 * s + 10)) / 2;
    int nCell = 0;
    m_arrCells[nCell].SetHexagon(cx0, cy0, s);
    if (!bKeepCells)
        m_arrCells[nCell].m_clr = RGB(255, 255, 255);
    ++nCell;
    static const double s_dx[6] = {-0.5, -1.0, -0.5, 0.5, 1.0, 0.5};
    static const double s_dy[6] = {0.8660254, 0.0, -0.8660254, -0.8660254, 0.0, 0.8660254};
    for (int r = 1; r <= 6; ++r) {
        int x = cx0 + r * s, y = cy0;
        for (int k = 0; k < 6; ++k) {
            int nStepX = int(s_dx[k] * s), nStepY = int(s_dy[k] * s);
            for (int j = 0; j < r; ++j) {
                cell_t& cell = m_arrCells[nCell++];
                cell.SetHexagon(x, y, s);
                if (!bKeepCells) {
                    double fHue = double(int(atan2(double(y - cy0), double(x - cx0)) * 180.0 / c_fPi));
                    double fL = double(7 - r) / 7.0 + 0.1;
                    cell.m_clr = CExtBitmap::stat_HLS2RGB_Degrees(fHue, fL, 1.0);
                }
                x += nStepX;
                y += nStepY;
            }
        }
    }
    // The gray row under the rings.
    const int y0 = H - s - 5;
    int x = (W - s / 2 - 15 * s / 2 - 3 * s) / 2;
    m_arrCells[nCell].SetHexagon(x, y0, 2 * s);
    if (!bKeepCells)
        m_arrCells[nCell].m_clr = RGB(255, 255, 255);
    ++nCell;
    x += 2 * s;
    const int d = int(s / 2.3);
    for (int k = 1; k <= 15; ++k) {
        cell_t& cell = m_arrCells[nCell++];
        cell.SetHexagon(x, (k & 1) ? y0 - d : y0 + d, s);
        if (!bKeepCells) {
            int nGray = 255 - 15 * k;
            cell.m_clr = RGB(nGray, nGray, nGray);
        }
        x += s / 2;
    }
    m_arrCells[nCell].SetHexagon(x + 3 * s / 2 - 1, y0, 2 * s);
    if (!bKeepCells)
        m_arrCells[nCell].m_clr = RGB(0, 0, 0);
}

void cell_based_data_t::Paint(CDC& dc, CPalette* pPalette)
{
    CPaletteScope scope(dc.GetSafeHdc(), pPalette);
    for (INT_PTR i = 0; i < m_arrCells.GetSize(); ++i)
        m_arrCells[i].Draw(dc, pPalette, false);
    int nSelected = 0;
    for (INT_PTR i = 0; i < m_arrCells.GetSize() && nSelected < 2; ++i)
        if (m_arrCells[i].m_clr == m_clr) {
            m_arrCells[i].Draw(dc, pPalette, true);
            ++nSelected;
        }
}

void cell_based_data_t::OnMouseDown(UINT nFlags, int x, int y)
{
    m_nTrackPart = PART_CELLS;
    OnMouseTrack(nFlags | MK_LBUTTON, x, y);
}

void cell_based_data_t::OnMouseTrack(UINT, int x, int y)
{
    if (m_nTrackPart != PART_CELLS)
        return;
    int nCell = HitTestCell(CPoint(x, y));
    if (nCell >= 0)
        SetColor(m_arrCells[nCell].m_clr);
}

// gray scale

void grayscale_mixer_data_t::LayoutStrip(int nFirst, int dx)
{
    const int W = m_nWidth, H = m_nHeight;
    int w = W / 3 - 20;
    if (w < 1)
        w = 1;
    int nLeft = W / 2 - w / 2 + dx;
    int nStep = (H - 20) / 256;
    int nCellHeight = nStep > 2 ? nStep : 2;
    for (int i = 0; i < 256; ++i) {
        cell_t& cell = m_arrCells[nFirst + i];
        int nTop = 10 + i * (H - 20) / 256;
        cell.m_rc.SetRect(nLeft, nTop, nLeft + w, nTop + nCellHeight);
        cell.m_bHexagon = 0;
        cell.m_nFlag = 0;
    }
}

void grayscale_mixer_data_t::RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy,
                                          bool bKeepCells)
{
    any_picker_data_t::RecalcLayout(dc, pPalette, cx, cy, bKeepCells);
    SetCellCount(256);
    LayoutStrip(0, 0);
    if (!bKeepCells)
        for (int i = 0; i < 256; ++i)
            m_arrCells[i].m_clr = RGB(i, i, i);
}

void grayscale_mixer_data_t::Paint(CDC& dc, CPalette* pPalette)
{
    CPaletteScope scope(dc.GetSafeHdc(), pPalette);
    for (INT_PTR i = 0; i < m_arrCells.GetSize(); ++i)
        m_arrCells[i].Draw(dc, pPalette, false);
    int r = GetRValue(m_clr);
    if (r == GetGValue(m_clr) && r == GetBValue(m_clr) && r < m_arrCells.GetSize())
        m_arrCells[r].Draw(dc, pPalette, true);
}

// comparison of the new colour with the reference

void diff_data_t::RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells)
{
    any_picker_data_t::RecalcLayout(dc, pPalette, cx, cy, bKeepCells);
    const int W = m_nWidth, H = m_nHeight;
    SetCellCount(2);
    for (int i = 0; i < 2; ++i) {
        m_arrCells[i].m_bHexagon = 0;
        m_arrCells[i].m_nFlag = 0;
    }
    m_arrCells[0].m_rc.SetRect(0, 0, W, H / 2);
    m_arrCells[1].m_rc.SetRect(0, H / 2, W, 2 * (H / 2));
    if (!bKeepCells) {
        m_arrCells[0].m_clr = m_clr;
        m_arrCells[1].m_clr = m_clrReference;
    }
}

void diff_data_t::Paint(CDC& dc, CPalette* pPalette)
{
    CPaletteScope scope(dc.GetSafeHdc(), pPalette);
    for (INT_PTR i = 0; i < m_arrCells.GetSize(); ++i)
        m_arrCells[i].Draw(dc, pPalette, false);
}

void diff_data_t::SetColor(COLORREF clr)
{
    grayscale_mixer_data_t::SetColor(clr);
    if (m_arrCells.GetSize() >= 2) {
        m_arrCells[0].m_clr = m_clr;
        m_arrCells[1].m_clr = m_clrReference;
    }
}

void diff_data_t::SetHLS(double fH, double fL, double fS)
{
    grayscale_mixer_data_t::SetHLS(fH, fL, fS);
    if (m_arrCells.GetSize() >= 2) {
        m_arrCells[0].m_clr = m_clr;
        m_arrCells[1].m_clr = m_clrReference;
    }
}

// RGB and CMY mixers: three strips of 256 levels

void rgb_mixer_data_t::RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy,
                                    bool bKeepCells)
{
    any_picker_data_t::RecalcLayout(dc, pPalette, cx, cy, bKeepCells);
    SetCellCount(768);
    // The strips share the gray-scale geometry, moved left and right by a third.
    const int nThird = m_nWidth / 3;
    const int W = m_nWidth, H = m_nHeight;
    int w = W / 3 - 20;
    if (w < 1)
        w = 1;
    int nStep = (H - 20) / 256;
    int nCellHeight = nStep > 2 ? nStep : 2;
    for (int nStrip = 0; nStrip < 3; ++nStrip) {
        int nLeft = W / 2 - w / 2 + (nStrip - 1) * nThird;
        for (int i = 0; i < 256; ++i) {
            cell_t& cell = m_arrCells[nStrip * 256 + i];
            int nTop = 10 + i * (H - 20) / 256;
            cell.m_rc.SetRect(nLeft, nTop, nLeft + w, nTop + nCellHeight);
            cell.m_bHexagon = 0;
            cell.m_nFlag = 0;
            if (!bKeepCells) {
                COLORREF clr = nStrip == 0 ? RGB(i, 0, 0) : nStrip == 1 ? RGB(0, i, 0) : RGB(0, 0, i);
                cell.m_clr = IsCMY() ? CExtBitmap::stat_RGB_Invert(clr) : clr;
            }
        }
    }
}

void rgb_mixer_data_t::Paint(CDC& dc, CPalette* pPalette)
{
    CPaletteScope scope(dc.GetSafeHdc(), pPalette);
    for (INT_PTR i = 0; i < m_arrCells.GetSize(); ++i)
        m_arrCells[i].Draw(dc, pPalette, false);
    if (m_arrCells.GetSize() < 768)
        return;
    COLORREF clr = IsCMY() ? CExtBitmap::stat_RGB_Invert(m_clr) : m_clr;
    m_arrCells[GetRValue(clr)].Draw(dc, pPalette, true);
    m_arrCells[256 + GetGValue(clr)].Draw(dc, pPalette, true);
    m_arrCells[512 + GetBValue(clr)].Draw(dc, pPalette, true);
}

void rgb_mixer_data_t::OnMouseTrack(UINT, int x, int y)
{
    if (m_nTrackPart != PART_CELLS)
        return;
    int nCell = HitTestCell(CPoint(x, y));
    if (nCell < 0)
        return;
    COLORREF clr = IsCMY() ? CExtBitmap::stat_RGB_Invert(m_clr) : m_clr;
    int c[3] = {GetRValue(clr), GetGValue(clr), GetBValue(clr)};
    c[nCell / 256] = nCell % 256;
    clr = RGB(c[0], c[1], c[2]);
    SetColor(IsCMY() ? CExtBitmap::stat_RGB_Invert(clr) : clr);
}

}  // namespace ExtColorPickers
