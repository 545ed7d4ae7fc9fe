#include <gtest/gtest.h>

#include "support/dib_canvas.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/pickers/color_picker_modes.h"
#include "toolkit/theme/paint_manager.h"

using namespace ExtColorPickers;
using testsupport::DibCanvas;

namespace {

// A CDC over a test canvas for the length of one test step.
class CanvasDC
{
public:
    explicit CanvasDC(DibCanvas& canvas) { m_dc.Attach(canvas.Dc()); }
    ~CanvasDC() { m_dc.Detach(); }
    CDC& operator*() { return m_dc; }

private:
    CDC m_dc;
};

void Layout(any_picker_data_t& picker, DibCanvas& canvas, bool bKeepCells = false)
{
    CanvasDC dc(canvas);
    picker.RecalcLayout(*dc, NULL, canvas.Width(), canvas.Height(), bKeepCells);
}

void PaintInto(any_picker_data_t& picker, DibCanvas& canvas, COLORREF clrBack)
{
    canvas.Fill(clrBack);
    CanvasDC dc(canvas);
    picker.Paint(*dc, NULL);
}

void Press(any_picker_data_t& picker, int x, int y, UINT nFlags = 0)
{
    picker.OnMouseDown(nFlags | MK_LBUTTON, x, y);
    picker.OnMouseUp(nFlags, x, y);
}

TEST(ColorPickerCells, HexagonVerticesAreRoundedAndTheLowerHalfMovesDown)
{
    cell_t cell;
    EXPECT_EQ(RGB(255, 255, 255), cell.m_clr);
    EXPECT_EQ(1, cell.m_nFlag);
    EXPECT_EQ(1, cell.m_bHexagon);
    cell.SetHexagon(80, 73, 12);  // h = 3.4641
    const POINT expected[6] = {{74, 70}, {80, 67}, {86, 70}, {86, 77}, {80, 80}, {74, 77}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(expected[i].x, cell.m_pts[i].x) << "vertex " << i;
        EXPECT_EQ(expected[i].y, cell.m_pts[i].y) << "vertex " << i;
    }
    EXPECT_TRUE(cell.HitTest(CPoint(80, 73)));
    EXPECT_FALSE(cell.HitTest(CPoint(80, 66)));
}

TEST(ColorPickerBasic, LayoutOfA160By180Client)
{
    cell_based_data_t picker;
    DibCanvas canvas(160, 180);
    Layout(picker, canvas);
    ASSERT_EQ(144, picker.m_arrCells.GetSize());
    const cell_t& centre = picker.m_arrCells[0];
    EXPECT_EQ(80, centre.m_pts[1].x);
    EXPECT_EQ(73 - 6, centre.m_pts[1].y);  // s = 12, the centre at (80, 73)
    EXPECT_EQ(RGB(255, 255, 255), centre.m_clr);
    // Ring 1 opens at (cx + s, cy): hue 0, lightness 6/7 + 0.1.
    EXPECT_EQ(92, picker.m_arrCells[1].m_pts[1].x);
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB_Degrees(0.0, 6.0 / 7.0 + 0.1, 1.0), picker.m_arrCells[1].m_clr);
    // The gray row: 240 down to 30, then black.
    EXPECT_EQ(RGB(240, 240, 240), picker.m_arrCells[128].m_clr);
    EXPECT_EQ(RGB(30, 30, 30), picker.m_arrCells[142].m_clr);
    EXPECT_EQ(RGB(0, 0, 0), picker.m_arrCells[143].m_clr);
    EXPECT_EQ(RGB(255, 255, 255), picker.m_arrCells[127].m_clr);
    const int y0 = 180 - 12 - 5, x0 = (160 - 6 - 90 - 36) / 2;
    EXPECT_EQ(x0, picker.m_arrCells[127].m_pts[1].x);
    EXPECT_EQ(y0 - 12, picker.m_arrCells[127].m_pts[1].y);  // size 2s
    EXPECT_EQ(x0 + 24, picker.m_arrCells[128].m_pts[1].x);
    EXPECT_EQ(y0 - 5 - 6, picker.m_arrCells[128].m_pts[1].y);  // odd k above, d = 5
    EXPECT_EQ(y0 + 5 - 6, picker.m_arrCells[129].m_pts[1].y);
}

TEST(ColorPickerBasic, PressPicksTheCellAndKeptCellsSurviveALayout)
{
    cell_based_data_t picker;
    DibCanvas canvas(160, 180);
    Layout(picker, canvas);
    picker.SetColor(RGB(1, 2, 3));
    Press(picker, 92, 73);
    EXPECT_EQ(picker.m_arrCells[1].m_clr, picker.GetColor());
    Press(picker, 2, 2);  // on no cell
    EXPECT_EQ(picker.m_arrCells[1].m_clr, picker.GetColor());

    picker.m_arrCells[0].m_clr = RGB(9, 9, 9);
    DibCanvas bigger(200, 200);
    Layout(picker, bigger, true);
    EXPECT_EQ(RGB(9, 9, 9), picker.m_arrCells[0].m_clr);
    EXPECT_EQ(100, picker.m_arrCells[0].m_pts[1].x);
    Layout(picker, bigger, false);
    EXPECT_EQ(RGB(255, 255, 255), picker.m_arrCells[0].m_clr);
}

TEST(ColorPickerBasic, WhiteIsHighlightedTwice)
{
    cell_based_data_t picker;
    DibCanvas plain(160, 180), white(160, 180);
    Layout(picker, plain);
    picker.SetColor(RGB(1, 2, 3));  // no cell has it
    PaintInto(picker, plain, RGB(100, 0, 100));
    EXPECT_EQ(RGB(255, 255, 255), plain.Pixel(80, 73));
    EXPECT_EQ(picker.m_arrCells[1].m_clr, plain.Pixel(92, 73));
    EXPECT_EQ(RGB(0, 0, 0), plain.Pixel(picker.m_arrCells[143].m_pts[1].x, 163));
    picker.SetColor(RGB(255, 255, 255));
    PaintInto(picker, white, RGB(100, 0, 100));
    // The highlight frames change pixels around the centre cell and around the large
    // white cell of the gray row, and nowhere in between.
    int nLeftOfCentre = 0, nNearGrayWhite = 0, nElsewhere = 0;
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 160; ++x) {
            if (plain.Pixel(x, y) == white.Pixel(x, y))
                continue;
            if (x >= 70 && x <= 90 && y >= 62 && y <= 85)
                ++nLeftOfCentre;
            else if (y >= 145)
                ++nNearGrayWhite;
            else
                ++nElsewhere;
        }
    EXPECT_GT(nLeftOfCentre, 0);
    EXPECT_GT(nNearGrayWhite, 0);
    EXPECT_EQ(0, nElsewhere);
}

TEST(ColorPickerGray, StripGeometryPickAndHighlight)
{
    grayscale_mixer_data_t picker;
    DibCanvas canvas(300, 276);  // strip 80 wide from x 110; cells 2 high, one apart
    Layout(picker, canvas);
    ASSERT_EQ(256, picker.m_arrCells.GetSize());
    EXPECT_EQ(CRect(110, 110, 190, 112), picker.m_arrCells[100].m_rc);
    EXPECT_EQ(RGB(100, 100, 100), picker.m_arrCells[100].m_clr);
    EXPECT_EQ(0, picker.m_arrCells[100].m_nFlag);
    Press(picker, 120, 110);  // cells 99 and 100 both hold it: the first wins
    EXPECT_EQ(RGB(99, 99, 99), picker.GetColor());

    picker.SetColor(RGB(100, 100, 100));
    PaintInto(picker, canvas, RGB(0, 0, 255));
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(107, 111));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(108, 111));
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(109, 111));
    EXPECT_EQ(RGB(100, 100, 100), canvas.Pixel(150, 110));
    picker.SetColor(RGB(100, 100, 101));
    PaintInto(picker, canvas, RGB(0, 0, 255));
    for (int y = 0; y < 276; ++y)
        ASSERT_EQ(RGB(0, 0, 255), canvas.Pixel(107, y)) << "row " << y;
}

TEST(ColorPickerMixers, RgbAndCmyStripsChangeOneComponent)
{
    rgb_mixer_data_t rgb;
    DibCanvas canvas(300, 276);
    Layout(rgb, canvas);
    ASSERT_EQ(768, rgb.m_arrCells.GetSize());
    EXPECT_EQ(CRect(10, 10, 90, 12), rgb.m_arrCells[0].m_rc);
    EXPECT_EQ(CRect(210, 10, 290, 12), rgb.m_arrCells[512].m_rc);
    EXPECT_EQ(RGB(0, 0, 77), rgb.m_arrCells[512 + 77].m_clr);
    rgb.SetColor(RGB(1, 2, 3));
    Press(rgb, 20, 110);
    EXPECT_EQ(RGB(99, 2, 3), rgb.GetColor());
    Press(rgb, 250, 20);
    EXPECT_EQ(RGB(99, 2, 9), rgb.GetColor());
    PaintInto(rgb, canvas, RGB(0, 0, 255));
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(7, 110));     // red 99 selected
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(108, 13));  // green 2 selected
    EXPECT_EQ(RGB(0, 0, 9), canvas.Pixel(250, 19));

    cmy_mixer_data_t cmy;
    Layout(cmy, canvas);
    EXPECT_EQ(RGB(255, 255, 255), cmy.m_arrCells[256].m_clr);
    EXPECT_EQ(RGB(255, 0, 255), cmy.m_arrCells[511].m_clr);  // full magenta
    cmy.SetColor(RGB(255, 255, 255));
    Press(cmy, 120, 60);  // magenta level 49
    EXPECT_EQ(RGB(255, 206, 255), cmy.GetColor());
}

TEST(ColorPickerDiff, CellsShowColourAndReference)
{
    diff_data_t picker;
    DibCanvas canvas(100, 51);
    picker.SetReferenceColor(RGB(255, 0, 0));
    Layout(picker, canvas);
    picker.SetColor(RGB(0, 0, 255));
    ASSERT_EQ(2, picker.m_arrCells.GetSize());
    EXPECT_EQ(CRect(0, 25, 100, 50), picker.m_arrCells[1].m_rc);
    PaintInto(picker, canvas, RGB(0, 255, 0));
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(50, 10));
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(50, 40));
    EXPECT_EQ(RGB(0, 255, 0), canvas.Pixel(50, 50));
    Press(picker, 10, 30);
    EXPECT_EQ(RGB(255, 0, 0), picker.GetColor());
    picker.SetReferenceColor(RGB(0, 255, 0));  // only stored
    EXPECT_EQ(RGB(255, 0, 0), picker.m_arrCells[1].m_clr);
}

// Panels: a 208 x 152 client gives a 200 x 120 panel at (4, 4) and a 200 x 20 bar at
// (4, 128).
TEST(ColorPickerHslPanel, PaintsPanelAndBarAndPicksHueAndSaturation)
{
    hsl_panel_data_t picker;
    DibCanvas canvas(208, 152);
    Layout(picker, canvas);
    picker.SetColor(RGB(255, 0, 0));
    EXPECT_EQ(200, picker.m_nPanelWidth);
    EXPECT_EQ(120, picker.m_nPanelHeight);
    EXPECT_EQ(CPoint(0, 119 - 120 + 0), CPoint(picker.m_ptMarker.x, picker.m_ptMarker.y));
    PaintInto(picker, canvas, RGB(0, 0, 0));
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(100 / 200.0, 0.5, (120 - 50 - 1) / 120.0), canvas.Pixel(104, 54));
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(0.0, 150 / 200.0, 1.0), canvas.Pixel(154, 140));
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(2, 2));

    Press(picker, 54, 34);
    EXPECT_DOUBLE_EQ(0.25, picker.m_fH);
    EXPECT_DOUBLE_EQ(0.75, picker.m_fS);
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(0.25, 0.5, 0.75), picker.GetColor());
    EXPECT_FALSE(picker.m_bBarReady);

    // Ctrl keeps the marker's x (the hue), Shift its y (the saturation).
    picker.OnMouseDown(MK_LBUTTON, 54, 34);
    picker.OnMouseTrack(MK_LBUTTON | MK_CONTROL, 150, 64);
    EXPECT_DOUBLE_EQ(0.25, picker.m_fH);
    EXPECT_DOUBLE_EQ(0.5, picker.m_fS);
    picker.OnMouseTrack(MK_LBUTTON | MK_SHIFT, 104, 4);
    EXPECT_DOUBLE_EQ(0.5, picker.m_fH);
    EXPECT_DOUBLE_EQ(0.5, picker.m_fS);
    picker.OnMouseUp(0, 104, 4);
    picker.OnMouseTrack(MK_LBUTTON, 4, 4);  // released: nothing changes
    EXPECT_DOUBLE_EQ(0.5, picker.m_fH);

    Press(picker, 54, 140);  // the bar: lightness 50/200
    EXPECT_DOUBLE_EQ(0.25, picker.m_fL);
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(0.5, 0.25, 0.5), picker.GetColor());
}

TEST(ColorPickerHslBasicHue, BarPicksHueAndPanelSaturationAndLightness)
{
    hsl_basic_hue_data_t picker;
    DibCanvas canvas(208, 152);
    Layout(picker, canvas);
    picker.SetColor(RGB(255, 0, 0));
    PaintInto(picker, canvas, RGB(0, 0, 0));
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(20 / 200.0, 0.5, 1.0), canvas.Pixel(24, 140));
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(0.0, (120 - 90 - 1) / 120.0, 150 / 200.0), canvas.Pixel(154, 94));
    Press(picker, 104, 140);
    EXPECT_DOUBLE_EQ(0.5, picker.m_fH);
    EXPECT_FALSE(picker.m_bPanelReady);
    Press(picker, 54, 94);
    EXPECT_DOUBLE_EQ(0.25, picker.m_fS);
    EXPECT_DOUBLE_EQ(0.25, picker.m_fL);
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(0.5, 0.25, 0.25), picker.GetColor());
}

TEST(ColorPickerRoller, WheelIsTransparentAndTheRimPicksFullSaturation)
{
    hsl_roller_data_t picker;
    DibCanvas canvas(208, 152);  // wheel centre (100, 60) in the panel, radius 58
    Layout(picker, canvas);
    picker.SetColor(RGB(255, 0, 0));
    EXPECT_EQ(58, picker.m_nWheelRadius);
    EXPECT_EQ(CPoint(100 - 58, 60), picker.m_ptMarker);  // hue 0 at full saturation: left
    PaintInto(picker, canvas, RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(6, 6));  // white around the disc is not copied
    // Left of the centre the hue is 0: pure red at full saturation near the rim.
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(0.0, 0.5, 1600.0 / 3364.0), canvas.Pixel(4 + 60, 4 + 60));

    Press(picker, 4 + 100 + 68, 4 + 60);  // 10 pixels outside the disc
    const COLORREF clrRim = CExtBitmap::stat_HLS2RGB(0.5, 0.5, 1.0);
    EXPECT_EQ(clrRim, picker.GetColor());
    EXPECT_DOUBLE_EQ(0.5, picker.m_fL);
    Press(picker, 9, 9);  // far outside the enlarged disc, above the bar
    EXPECT_EQ(clrRim, picker.GetColor());
}

TEST(ColorPickerAxes, PlanesAndBarsOfRgbAndCmyAxes)
{
    DibCanvas canvas(263, 287);  // 255 x 255 panel, 255-long bar at (4, 263)
    xyz_plain_data_t red(0);
    Layout(red, canvas);
    red.SetColor(RGB(10, 20, 30));
    EXPECT_EQ(CPoint(20, 30), CPoint(red.m_ptMarker.x, red.m_ptMarker.y));
    PaintInto(red, canvas, RGB(0, 0, 0));
    EXPECT_EQ(RGB(10, 100, 200), canvas.Pixel(4 + 100, 4 + 200));
    EXPECT_EQ(RGB(200, 0, 0), canvas.Pixel(4 + 200, 270));
    Press(red, 4 + 100, 4 + 200);
    EXPECT_EQ(RGB(10, 100, 200), red.GetColor());
    Press(red, 4 + 128, 270);
    EXPECT_EQ(RGB(128, 100, 200), red.GetColor());

    xyz_plain_data_t blue(2);
    Layout(blue, canvas);
    blue.SetColor(RGB(10, 20, 30));
    Press(blue, 4 + 100, 4 + 200);  // x is red, y is green
    EXPECT_EQ(RGB(100, 200, 30), blue.GetColor());

    xyz_plain_data_t cyan(3);
    Layout(cyan, canvas);
    cyan.SetColor(RGB(255, 255, 255));
    PaintInto(cyan, canvas, RGB(0, 0, 0));
    EXPECT_EQ(RGB(55, 255, 255), canvas.Pixel(4 + 200, 270));  // white to cyan
    Press(cyan, 4 + 100, 4 + 200);  // magenta 100, yellow 200
    EXPECT_EQ(RGB(255, 155, 55), cyan.GetColor());
}

// A 110 x 110 client: cube square (5, 5, 105, 105), centre (55, 55), n = 50.
TEST(ColorPickerCube, GeometryHandlesAndFaces)
{
    rgb_cube_data_t picker;
    DibCanvas canvas(110, 110);
    Layout(picker, canvas);
    picker.SetColor(RGB(10, 20, 30));
    EXPECT_EQ(CRect(5, 5, 105, 105), picker.m_rcCube);
    EXPECT_EQ(CPoint(55, 5), picker.m_ptTop);
    EXPECT_EQ(CPoint(5, 80), picker.m_ptLowerLeft);
    EXPECT_EQ(CPoint(55, 54), picker.m_ptA);
    EXPECT_EQ(CPoint(52, 56), picker.m_ptB);
    EXPECT_EQ(CPoint(60, 57), picker.m_ptC);
    EXPECT_EQ(CPoint(57, 57), picker.m_ptABC);

    int nCubePixels = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            nCubePixels += picker.m_bmpCube.GetPixel(x, y) != RGB(255, 255, 255);
    EXPECT_GT(nCubePixels, 5000) << picker.m_bmpCube.m_cx << "x" << picker.m_bmpCube.m_cy;
    PaintInto(picker, canvas, RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(100, 8));  // white corner left out
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(55, 20));  // edge from the centre to the top
    // The red-blue face, stepped in 51 steps per component: red 204 and 209 both land
    // 40 pixels up and blue 102 and 107 both 20 pixels right; the last step stays.
    COLORREF clrFace = canvas.Pixel(75, 25);
    EXPECT_EQ(RGB(209, 0, 107), clrFace);
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(74, 25));  // a gap of the stepping

    Press(picker, 75, 25);
    EXPECT_EQ(clrFace, picker.GetColor());
    picker.SetColor(RGB(10, 20, 30));
    Press(picker, 75, 25, MK_CONTROL);  // green stays
    EXPECT_EQ(RGB(GetRValue(clrFace), 20, GetBValue(clrFace)), picker.GetColor());
    Press(picker, 100, 8);  // white around the cube
    EXPECT_EQ(RGB(GetRValue(clrFace), 20, GetBValue(clrFace)), picker.GetColor());

    picker.SetColor(RGB(10, 20, 30));
    picker.OnMouseDown(MK_LBUTTON, 55, 54);
    EXPECT_EQ(1, picker.m_nTrackPart);
    picker.OnMouseTrack(MK_LBUTTON, 55, 0);
    EXPECT_EQ(RGB(255, 20, 30), picker.GetColor());
    EXPECT_EQ(CPoint(55, 5), picker.m_ptA);
    picker.OnMouseUp(0, 55, 0);
    EXPECT_EQ(0, picker.m_nTrackPart);
}

TEST(ColorPickerCube, CmyCubeHasWhiteAtTheCentre)
{
    cmy_cube_data_t picker;
    DibCanvas canvas(110, 110);
    Layout(picker, canvas);
    picker.SetColor(RGB(255, 255, 255));
    EXPECT_EQ(CPoint(55, 55), picker.m_ptA);
    picker.OnMouseDown(MK_LBUTTON, 55, 55);  // handle A: cyan
    picker.OnMouseTrack(MK_LBUTTON, 55, 5);
    EXPECT_EQ(RGB(0, 255, 255), picker.GetColor());
}

TEST(ColorPickerAll, TinyClientsDoNotFail)
{
    cell_based_data_t basic;
    grayscale_mixer_data_t gray;
    rgb_mixer_data_t mixer;
    diff_data_t diff;
    rgb_cube_data_t cube;
    hsl_panel_data_t panel;
    hsl_basic_hue_data_t hue;
    hsl_roller_data_t roller;
    xyz_plain_data_t axis(4);
    any_picker_data_t* pickers[] = {&basic, &gray, &mixer, &diff, &cube, &panel, &hue, &roller, &axis};
    DibCanvas canvas(8, 8);
    for (int i = 0; i < 9; ++i) {
        CanvasDC dc(canvas);
        pickers[i]->RecalcLayout(*dc, NULL, 0, -5, false);
        pickers[i]->SetColor(RGB(10, 20, 30));
        pickers[i]->Paint(*dc, NULL);
        pickers[i]->OnMouseDown(MK_LBUTTON, 0, 0);
        pickers[i]->OnMouseTrack(MK_LBUTTON, 3, 3);
        pickers[i]->OnMouseUp(0, 3, 3);
        pickers[i]->Reset();
        pickers[i]->Paint(*dc, NULL);
    }
}

TEST(ColorPickerAll, LowColourDisplaysPaintTheWheelInBlocks)
{
    CExtPaintManager::g_nScreenBitsPerPixelOverride = 8;
    hsl_roller_data_t picker;
    DibCanvas canvas(208, 152);
    Layout(picker, canvas);
    picker.SetColor(RGB(255, 0, 0));
    PaintInto(picker, canvas, RGB(1, 2, 3));
    CExtPaintManager::g_nScreenBitsPerPixelOverride = 0;
    // Wheel pixel (62, 60) lies in the block centred on (64, 60).
    EXPECT_EQ(canvas.Pixel(4 + 64, 4 + 60), canvas.Pixel(4 + 62, 4 + 60));
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(0.0, 0.5, 36.0 * 36.0 / 3364.0), canvas.Pixel(4 + 62, 4 + 60));
}

}  // namespace
