// The picker data of the colour control's modes: each mode's geometry, the mapping
// between colours and positions, its drawing into the control's memory DC and its
// reaction to a press, drag and release. The control owns one object of each and
// reaches them only through the virtual operations of any_picker_data_t; it names them
// as CExtColorCtrl::xxx_data_t through typedefs.
//
// Panels, bars, wheels and cube faces are drawn once into cached 32-bit bitmaps and
// block-copied on every paint; only the bitmap that depends on a changed colour is built
// again. Client sizes too small for a panel or cube are raised so no dimension is below
// one pixel (nothing useful is shown there, but nothing divides by zero).
#pragma once

#include "framework/framework.h"

namespace ExtColorPickers {

enum e_part_t {
    PART_NONE = 0,
    PART_HANDLE_A = 1,
    PART_HANDLE_B = 2,
    PART_HANDLE_C = 3,
    PART_BAR = 4,
    PART_PANEL = 5,
    PART_CELLS = 6,
};

// One colour cell, drawn and hit-tested as its rectangle or as its hexagon.
struct cell_t {
    COLORREF m_clr;
    CRect m_rc;
    int m_nFlag;
    POINT m_pts[6];
    BYTE m_bHexagon;

    cell_t();
    void SetHexagon(int cx, int cy, int nSize);
    bool HitTest(CPoint pt) const;
    void Draw(CDC& dc, CPalette* pPalette, bool bSelected) const;
};

class any_picker_data_t
{
public:
    int m_nTrackPart;
    int m_nWidth, m_nHeight;
    COLORREF m_clr;
    COLORREF m_clrReference;
    double m_fL, m_fS, m_fH;

    any_picker_data_t();
    virtual ~any_picker_data_t();

    virtual void RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells);
    virtual void Reset();
    virtual void Paint(CDC& dc, CPalette* pPalette);
    virtual void OnMouseDown(UINT nFlags, int x, int y);
    virtual void OnMouseUp(UINT nFlags, int x, int y);
    virtual void OnMouseTrack(UINT nFlags, int x, int y);
    virtual void SetReferenceColor(COLORREF clr);
    virtual void SetColor(COLORREF clr);
    virtual void SetHLS(double fH, double fL, double fS);
    virtual void RenderBar(CDC& dc, CPalette* pPalette);
    virtual void RenderPanel(CDC& dc, CPalette* pPalette);

    COLORREF GetColor() const { return m_clr; }
    // Fewer than 9 bits per pixel on the screen: bitmaps are drawn in 4 x 4 blocks.
    static bool IsLowColor();
    // A rectangle of cx x cy centred on the point, framed white and then, one pixel
    // further out, black.
    static void DrawMarker(CDC& dc, int x, int y, int cx, int cy);
};

// Cached bitmap in a memory DC, a 32-bit top-down DIB whose bits are written directly.
class cached_bitmap_t
{
public:
    cached_bitmap_t();
    ~cached_bitmap_t();
    bool Create(CDC& dcCompatible, int cx, int cy, COLORREF clrFill);
    void Destroy();
    bool IsCreated() const { return m_hDC != NULL; }
    void SetPixel(int x, int y, COLORREF clr);
    // A 4 x 4 block centred on the point (low-colour drawing).
    void SetBlock(int x, int y, COLORREF clr);
    COLORREF GetPixel(int x, int y) const;
    HDC GetDC() const { return m_hDC; }
    int m_cx, m_cy;

private:
    HDC m_hDC;
    HBITMAP m_hBitmap, m_hBitmapOld;
    DWORD* m_pBits;
    cached_bitmap_t(const cached_bitmap_t&) = delete;
    cached_bitmap_t& operator=(const cached_bitmap_t&) = delete;
};

class cell_based_data_t : public any_picker_data_t
{
public:
    CArray<cell_t, const cell_t&> m_arrCells;

    void RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells) override;
    void Paint(CDC& dc, CPalette* pPalette) override;
    void OnMouseDown(UINT nFlags, int x, int y) override;
    void OnMouseTrack(UINT nFlags, int x, int y) override;
    int HitTestCell(CPoint pt) const;  // first cell holding the point, else -1
protected:
    void SetCellCount(int nCount);
};

class grayscale_mixer_data_t : public cell_based_data_t
{
public:
    void RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells) override;
    void Paint(CDC& dc, CPalette* pPalette) override;
protected:
    // One strip of 256 level cells starting at cell nFirst, moved by dx.
    void LayoutStrip(int nFirst, int dx);
};

class diff_data_t : public grayscale_mixer_data_t
{
public:
    void RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells) override;
    void Paint(CDC& dc, CPalette* pPalette) override;
    void SetColor(COLORREF clr) override;
    void SetHLS(double fH, double fL, double fS) override;
};

class rgb_mixer_data_t : public cell_based_data_t
{
public:
    void RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells) override;
    void Paint(CDC& dc, CPalette* pPalette) override;
    void OnMouseTrack(UINT nFlags, int x, int y) override;
protected:
    virtual bool IsCMY() const { return false; }
};

class cmy_mixer_data_t : public rgb_mixer_data_t
{
protected:
    bool IsCMY() const override { return true; }
};

class rgb_cube_data_t : public any_picker_data_t
{
public:
    cached_bitmap_t m_bmpCube;
    int m_nInset;
    CSize m_sizeHandle;
    CRect m_rcCube;
    CPoint m_ptCenter, m_ptTop, m_ptLowerLeft, m_ptLowerRight;
    CPoint m_ptA, m_ptB, m_ptC;
    CPoint m_ptAB, m_ptAC, m_ptBC, m_ptABC;

    rgb_cube_data_t();
    void RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells) override;
    void Reset() override;
    void Paint(CDC& dc, CPalette* pPalette) override;
    void OnMouseDown(UINT nFlags, int x, int y) override;
    void OnMouseTrack(UINT nFlags, int x, int y) override;
    void SetColor(COLORREF clr) override;
    void SetHLS(double fH, double fL, double fS) override;

    // The cube's components (a, b, c) of a colour and back: R, G, B here; C, M, Y in the
    // CMY cube.
    virtual void ColorToABC(COLORREF clr, int& a, int& b, int& c) const;
    virtual COLORREF ABCToColor(int a, int b, int c) const;
    CPoint Project(int a, int b, int c) const;
    CRect HandleRect(int nHandle) const;  // 0 A, 1 B, 2 C; the hit box of a handle
protected:
    void RecalcHandles();
    void RenderCube(CDC& dc, CPalette* pPalette);
    int m_nSide;  // S, the cube rectangle's height
};

class cmy_cube_data_t : public rgb_cube_data_t
{
public:
    void ColorToABC(COLORREF clr, int& a, int& b, int& c) const override;
    COLORREF ABCToColor(int a, int b, int c) const override;
};

class hsl_panel_data_t : public any_picker_data_t
{
public:
    cached_bitmap_t m_bmpPanel, m_bmpBar;
    bool m_bPanelReady, m_bBarReady;
    CPoint m_ptMarker;
    int m_nPanelWidth, m_nPanelHeight;
    int m_nBarLength, m_nBarThickness;
    const int m_nBarThicknessSetting;  // 20
    const int m_nMargin;               // 4

    hsl_panel_data_t();
    void RecalcLayout(CDC& dc, CPalette* pPalette, int cx, int cy, bool bKeepCells) override;
    void Reset() override;
    void Paint(CDC& dc, CPalette* pPalette) override;
    void OnMouseDown(UINT nFlags, int x, int y) override;
    void OnMouseTrack(UINT nFlags, int x, int y) override;
    void SetColor(COLORREF clr) override;
    void SetHLS(double fH, double fL, double fS) override;
    void RenderBar(CDC& dc, CPalette* pPalette) override;
    void RenderPanel(CDC& dc, CPalette* pPalette) override;

    CPoint GetBarOrigin() const { return CPoint(m_nMargin, m_nPanelHeight + 2 * m_nMargin); }

protected:
    // What differs between the family's modes.
    virtual COLORREF PanelPixel(int x, int y) const;
    virtual COLORREF BarPixel(int x) const;
    virtual int BarMarkerOffset() const;  // from the bar's left end
    virtual void UpdateMarkerFromColor();
    virtual void OnPanelPick(int x, int y);  // panel coordinates, already clamped
    virtual void OnBarPick(int nPos);        // 0 .. bar length
    virtual bool TrackNeedsBar() const { return false; }
    virtual void AfterColorChange();  // drops the bitmap that depends on the colour
    void RenderBitmap(CDC& dc, CPalette* pPalette, cached_bitmap_t& bmp, bool bPanel);
};

class hsl_basic_hue_data_t : public hsl_panel_data_t
{
protected:
    COLORREF PanelPixel(int x, int y) const override;
    COLORREF BarPixel(int x) const override;
    int BarMarkerOffset() const override;
    void UpdateMarkerFromColor() override;
    void OnPanelPick(int x, int y) override;
    void OnBarPick(int nPos) override;
    bool TrackNeedsBar() const override { return true; }
    void AfterColorChange() override;
};

class hsl_roller_data_t : public hsl_panel_data_t
{
public:
    CPoint m_ptWheelCenter;
    int m_nWheelRadius;
    CRgn m_rgnWheel, m_rgnWheelEnlarged;

    hsl_roller_data_t();
    void Paint(CDC& dc, CPalette* pPalette) override;
    void OnMouseDown(UINT nFlags, int x, int y) override;
    void OnMouseTrack(UINT nFlags, int x, int y) override;
    void RenderPanel(CDC& dc, CPalette* pPalette) override;

protected:
    void UpdateMarkerFromColor() override;
    void ComputeWheel();
};

class xyz_plain_data_t : public hsl_panel_data_t
{
public:
    int m_nAxis;  // 0 red, 1 green, 2 blue, 3 cyan, 4 magenta, 5 yellow

    explicit xyz_plain_data_t(int nAxis = 0);
    // The axis component and the two plane components of a colour, and back.
    void Split(COLORREF clr, int& nAxisValue, int& nX, int& nY) const;
    COLORREF Join(int nAxisValue, int nX, int nY) const;

protected:
    COLORREF PanelPixel(int x, int y) const override;
    COLORREF BarPixel(int x) const override;
    int BarMarkerOffset() const override;
    void UpdateMarkerFromColor() override;
    void OnPanelPick(int x, int y) override;
    void OnBarPick(int nPos) override;
    bool TrackNeedsBar() const override { return true; }
    void AfterColorChange() override;
    int PanelComponent(int nPos, int nExtent) const;
};

}  // namespace ExtColorPickers
