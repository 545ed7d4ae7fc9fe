// The Luna colour schemes: how Office 2003 and Studio 2005 decide whether they take
// their colours from the Windows XP blue, olive or silver style, and their colour maps
// with and without it.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/bitmap.h"

namespace {

inline COLORREF A(COLORREF c, double dH, double dL, double dS)
{
    return CExtBitmap::stat_HLS_Adjust(c, dH, dL, dS);
}

inline COLORREF Mix(COLORREF a, COLORREF b, int w) { return CExtBitmap::stat_RGB_Mix(a, b, w); }

COLORREF Lift(COLORREF c)
{
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return RGB(r + ::MulDiv(255 - r, 40, 100), g + ::MulDiv(255 - g, 20, 100), b);
}

COLORREF Scale(COLORREF c, int kr, int kg, int kb)
{
    return RGB(GetRValue(c) * kr / 1000, GetGValue(c) * kg / 1000, GetBValue(c) * kb / 1000);
}

// Fixed per-scheme values of the Office 2003 Luna path; columns blue, olive, silver.
struct SchemeRow
{
    int m_nId;
    COLORREF m_clr[3];
};

const SchemeRow g_arrOffice2003Gradients[] = {
    {3015, {0xFFEFE3, 0xEDFFFF, 0xFFF9F9}}, {3016, {0xFCE1CA, 0xA7DBCE, 0xECE2E1}},
    {3017, {0xE4AD87, 0x92C7B8, 0xB99D9F}}, {3018, {0xF6DDCB, 0xD1E6E6, 0xE2D7D7}},
    {3019, {0xF8C4A1, 0x8FC8BA, 0xCAB9B8}}, {3020, {0xDCA179, 0x78B4A4, 0x9E7E80}},
    {2007, {0x962D00, 0x5E8D75, 0x947C7C}},
};

const COLORREF g_arrOffice2003Menu1012[3] = {0xFEECDD, 0xE7F2F3, 0xF4EEEE};
const COLORREF g_arrOffice2003Menu1013[3] = {0xC97A4A, 0x98C6BE, 0xC3B0B1};
const COLORREF g_arrOffice2003Menu1014[3] = {0x862D00, 0x466B5A, 0x795B5C};
const COLORREF g_arrOffice2003Menu1018[3] = {0xF9DBC4, 0xAEDFD2, 0xDECFCF};
const COLORREF g_arrOffice2003Menu1019[3] = {0xE08F65, 0x80B0A1, 0xBFA8A9};

const COLORREF g_arrStudio2005Captions[3][3] = {
    {0xBAC7CC, 0xBAC7CC, 0xF5F0F0},  // 4000
    {0xED803B, 0x92C3B6, 0xDDD4D3},  // 4001
    {0xC56A31, 0x75A091, 0xBFA5A6},  // 4002
};

int SchemeColumn(int nScheme)
{
    if (nScheme < 1 || nScheme > 3)
        return 0;
    return nScheme - 1;
}

}  // namespace

// ---- Luna queries ----------------------------------------------------------------------------

bool CExtPaintManagerXP::UsesLunaColors()
{
    return g_CurrentPaintManager.IsAppThemed() && GetLunaColorScheme() != 0;
}

bool CExtPaintManagerOffice2003::UsesLunaColors()
{
    if (!g_CurrentPaintManager.IsAppThemed() || !g_CurrentPaintManager.AreTaskbandColorsRead())
        return false;
    const int nScheme = GetLunaColorScheme();
    return nScheme >= 1 && nScheme <= 3;
}

bool CExtPaintManagerStudio2005::UsesLunaColors()
{
    if (!g_CurrentPaintManager.IsAppThemed() || !g_CurrentPaintManager.AreTaskbandColorsRead())
        return false;
    const int nScheme = GetLunaColorScheme();
    return nScheme == 1 || nScheme == 3;  // the olive variant is not used
}

COLORREF CExtPaintManager::GetLunaDerivedColor() { return COLORREF(-1); }

COLORREF CExtPaintManagerOffice2003::GetLunaDerivedColor()
{
    COLORREF clr = 0;
    if (UsesLunaColors() && GetLunaBaseColors(&clr, NULL))
        return A(clr, 0.0, -0.6, 0.5);
    return COLORREF(-1);
}

COLORREF CExtPaintManagerStudio2005::GetLunaDerivedColor()
{
    return CExtPaintManagerOffice2003::GetLunaDerivedColor();
}

bool CExtPaintManagerOffice2003::GetLunaBaseColors(COLORREF* pClr1, COLORREF* pClr2)
{
    if (!UsesLunaColors())
        return false;
    const COLORREF* tb = g_CurrentPaintManager.m_clrTaskband;
    double h0 = 0, s0 = 0, l0 = 0, h2 = 0, s2 = 0, l2 = 0, h5 = 0, s5 = 0, l5 = 0;
    CExtBitmap::stat_RGB2HLS(tb[0], h0, s0, l0);
    CExtBitmap::stat_RGB2HLS(tb[2], h2, s2, l2);
    CExtBitmap::stat_RGB2HLS(tb[5], h5, s5, l5);
    if (pClr1 != NULL)
        *pClr1 = CExtBitmap::stat_HLS2RGB(h5, (l0 + l2) * 0.5, s5);
    if (pClr2 != NULL)
        *pClr2 = A(tb[6], 0.01, 0.0, 0.0);
    return true;
}

bool CExtPaintManagerStudio2005::GetLunaBaseColors(COLORREF* pClr1, COLORREF* pClr2)
{
    if (UsesLunaColors() && GetLunaColorScheme() == 1)
    {
        if (pClr1 != NULL)
            *pClr1 = 0xD2E1E1;
        if (pClr2 != NULL)
            *pClr2 = 0xC56A31;
        return true;
    }
    return CExtPaintManagerOffice2003::GetLunaBaseColors(pClr1, pClr2);
}

// ---- Office 2003 map -------------------------------------------------------------------------

void CExtPaintManagerOffice2003::InitLogicalColorMap()
{
    m_nIdxClrBtnHoverLeft = m_nIdxClrBtnHoverRight = -1;
    m_nIdxClrBtnPressedLeft = m_nIdxClrBtnPressedRight = -1;
    m_nIdxClrBtnHovPresLeft = m_nIdxClrBtnHovPresRight = -1;
    m_nIdxClrTbBorder = -1;
    g_CurrentPaintManager.DetectLunaColorScheme();

    CExtPaintManagerXP::InitLogicalColorMap();

    if (GetScreenBitsPerPixel() <= 8)
    {
        MapNewColor(3014, LookupColor(16));
        return;
    }
    COLORREF clrL1 = 0, clrL2 = 0;
    if (UsesLunaColors() && GetLunaBaseColors(&clrL1, &clrL2))
        InitLunaColorMap(clrL1, clrL2, GetLunaColorScheme());
    else
        InitSystemColorMap();
}

void CExtPaintManagerOffice2003::InitLunaColorMap(COLORREF L1, COLORREF L2, int nScheme)
{
    const int col = SchemeColumn(nScheme);
    MapNewColor(1000, A(L1, 0, 0.2, 0));
    MapNewColor(1001, A(L2, 0.02, 0.6, 0.45));
    MapLunaEdgeColors(A(L1, 0, -0.25, 0), L1);
    MapNewColor(2000, A(L1, 0, 0.2, 0));
    MapNewColor(2001, A(Lift(A(L1, 0, 0.95, -0.05)), 0, 0.06, 0.05));
    MapNewColor(2002, Scale(L1, 857, 857, 857));
    MapNewColor(2003, A(L2, 0, -0.3, 0.45));
    MapNewColor(2004, A(A(A(L1, 0, 0.2, 0), 0, -0.25, 0.1), 0, -0.5, 0));
    MapNewColor(2005, Scale(L1, 999, 995, 995));
    MapNewColor(2009, A(L1, 0, 0.5, 0));
    if (nScheme == 3)
    {
        MapNewColor(3000, A(L1, 0, 0.845, 0.1));
        MapNewColor(3001, A(L1, 0, 0.45, 0.1));
    }
    else
    {
        MapNewColor(3000, A(L1, 0, 0.43, 0));
        MapNewColor(3001, A(L1, 0.02, 0.07, 0));
    }
    MapNewColor(_2003CLR_SEPARATOR_LIGHT, A(L1, 0, 0.98, 0));
    MapNewColor(_2003CLR_SEPARATOR_DARK, A(L1, 0, -0.45, 0));
    MapNewColor(3003, A(L1, 0, -0.6, 0));
    MapNewColor(3002, A(L1, 0, 0.95, 0));
    MapNewColor(_2003CLR_CHEVRON_FACE_START, A(L1, 0, -0.1, 0));
    MapNewColor(_2003CLR_CHEVRON_FACE_END, A(L1, 0, -0.6, 0));
    MapNewColor(_2003CLR_CHEVRON_HOVER_START, A(L2, 0, 0.85, 0));
    MapNewColor(_2003CLR_CHEVRON_HOVER_END, A(L2, 0, -0.05, 0));
    MapNewColor(_2003CLR_CHEVRON_PUSHED_END, A(L2, 0, 0.3, 0));
    MapNewColor(_2003CLR_CHEVRON_PUSHED_START, A(L2, 0, -0.3, 0));
    MapNewColor(_2003CLR_CHEVRON_GLYPH_LIGHT, A(L1, 0, 0.97, 0));
    MapNewColor(_2003CLR_CHEVRON_GLYPH_DARK, A(L1, 0, -0.97, 0));
    MapColor(3014, 16);
    for (size_t i = 0; i < sizeof(g_arrOffice2003Gradients) / sizeof(g_arrOffice2003Gradients[0]);
         i++)
        MapNewColor(g_arrOffice2003Gradients[i].m_nId, g_arrOffice2003Gradients[i].m_clr[col]);
    MapNewColor(3021, A(L2, 0.05, 0.75, 0));
    MapNewColor(3022, A(L2, -0.05, -0.02, 0));
    MapNewColor(3023, A(L2, 0.02, 0.4, 0));
    MapNewColor(3024, A(L2, -0.07, -0.31, 0));
    MapNewColor(3025, A(L2, -0.07, -0.31, 0));
    MapNewColor(3026, A(L2, 0.02, 0.4, 0));
    MapLunaPanelAndButtonColors(L1);

    InstallColor(A(L1, 0, 0.45, 0.1), 22);
    InstallColor(A(L1, 0, 0.75, 0), 20);
    InstallColor(A(L1, 0, -0.45, 0.1), 16);
    InstallColor(A(L1, 0, -0.75, 0), 21);

    MapNewColor(1012, g_arrOffice2003Menu1012[col]);
    MapNewColor(1013, g_arrOffice2003Menu1013[col]);
    MapNewColor(1014, g_arrOffice2003Menu1014[col]);
    MapNewColor(1015, g_arrOffice2003Menu1014[col]);
    MapColor(1016, MapLogicalColor(1014));
    MapColor(1017, MapLogicalColor(1015));
    MapNewColor(1018, g_arrOffice2003Menu1018[col]);
    MapNewColor(1019, g_arrOffice2003Menu1019[col]);
    MapNewColor(1020, g_arrOffice2003Menu1019[col]);
    MapNewColor(1021, g_arrOffice2003Menu1018[col]);
}

// The 3D edge and text ids that both Luna maps give alike: the lights and shadows, the
// separator, the highlight border and the floating face in one installed colour
// (clrEdges), with the field borders drawn from the base colour L1.
void CExtPaintManagerOffice2003::MapLunaEdgeColors(COLORREF clrEdges, COLORREF L1)
{
    MapColor(2000, 15);
    const int nShared = InstallColor(clrEdges);
    for (int id = 1002; id <= 1009; id++)
        MapColor(id, nShared);
    MapColor(2002, nShared);
    MapColor(2004, nShared);
    MapColor(2006, nShared);
    MapColor(2008, nShared);
    MapColor(1010, 8);
    MapColor(1011, 8);
    MapColor(2010, 16);
    MapColor(2006, 18);
    MapColor(2010, 15);
    MapNewColor(2011, Scale(L1, 857, 857, 857));
}

// What both Luna maps end with: the panel frame and gradient colours and the menu
// gradient from the base colour L1, the ids of the buttons' hover and pressed gradients
// and of the toolbar border, and L1 as the button face.
void CExtPaintManagerOffice2003::MapLunaPanelAndButtonColors(COLORREF L1)
{
    MapNewColor(3027, A(L1, 0.1, -0.55, 0));
    MapNewColor(3028, A(L1, 0.02, -0.23, -0.25));
    MapNewColor(3029, A(L1, 0.05, -0.6, 0));
    MapNewColor(3030, A(L1, 0, 0.45, 0));
    MapNewColor(3031, A(L1, 0, 0, 0));
    MapNewColor(3032, A(L1, 0, 0.55, 0.2));
    MapNewColor(3033, A(L1, 0, -0.13, -0.15));
    MapNewColor(3034, LookupColor(3015));
    MapNewColor(3035, LookupColor(3017));

    m_nIdxClrBtnHoverLeft = 3021;
    m_nIdxClrBtnHoverRight = 3022;
    m_nIdxClrBtnPressedLeft = 3023;
    m_nIdxClrBtnPressedRight = 3024;
    m_nIdxClrBtnHovPresLeft = 3025;
    m_nIdxClrBtnHovPresRight = 3026;
    m_nIdxClrTbBorder = _2003CLR_CHEVRON_FACE_END;

    InstallColor(L1, 15);
}

void CExtPaintManagerOffice2003::InitSystemColorMap()
{
#define P(x) LookupColor(x)
    MapNewColor(3000, Mix(P(15), P(5), 222));
    MapColor(3001, 15);
    MapNewColor(_2003CLR_SEPARATOR_LIGHT, RGB(255, 255, 255));
    MapNewColor(_2003CLR_SEPARATOR_DARK, A(P(5), 0, -0.36, -0.8));
    MapNewColor(3003, A(P(16), 0, 0.2, 0));
    MapColor(3002, 5);
    MapNewColor(_2003CLR_CHEVRON_FACE_START, A(P(16), 0, 0.7, 0.1));
    MapNewColor(_2003CLR_CHEVRON_FACE_END, A(P(16), 0, -0.05, 0));
    MapNewColor(_2003CLR_CHEVRON_HOVER_END, A(P(2003), 0, 0.3, 0));
    MapColor(_2003CLR_CHEVRON_HOVER_START, MapLogicalColor(_2003CLR_CHEVRON_HOVER_END));
    MapNewColor(_2003CLR_CHEVRON_PUSHED_START, A(P(2003), 0, 0.6, 0));
    MapColor(_2003CLR_CHEVRON_PUSHED_END, MapLogicalColor(_2003CLR_CHEVRON_PUSHED_START));
    MapColor(_2003CLR_CHEVRON_GLYPH_LIGHT, 5);
    MapColor(_2003CLR_CHEVRON_GLYPH_DARK, 18);
    MapColor(3014, 16);
    MapNewColor(3015, Mix(P(5), P(2001), 0));
    MapNewColor(3016, A(P(2000), 0, 0.4, 0));
    MapNewColor(3017, A(P(2000), 0, -0.04, 0));
    MapNewColor(3018, Mix(P(5), P(2000), 500));
    MapNewColor(3019, A(P(3017), 0, 0.3, 0));
    MapNewColor(3020, A(P(3017), 0, -0.04, 0));
    for (int id = 3021; id <= 3024; id++)
        MapNewColor(id, P(1001));
    MapNewColor(3025, P(2003));
    MapNewColor(3026, P(2003));
    MapNewColor(3027, P(16));
    MapNewColor(3028, P(22));
    MapNewColor(3029, P(16));
    MapNewColor(3030, P(20));
    MapNewColor(3031, P(22));
    MapNewColor(3032, P(20));
    MapNewColor(3033, P(22));
    MapNewColor(3034, P(2001));
    MapNewColor(3035, Mix(P(5), P(15), 550));
    MapNewColor(1012, Mix(P(15), P(5), 50));
    MapNewColor(1013, P(15));
    for (int id = 1014; id <= 1017; id++)
        MapColor(id, 8);
    MapNewColor(1018, Mix(P(15), P(5), 39));
    MapNewColor(1020, Mix(P(15), P(5), 70));
    MapColor(1019, MapLogicalColor(1020));
    MapColor(1021, MapLogicalColor(1018));
#undef P
}

// ---- Studio 2005 map -------------------------------------------------------------------------

void CExtPaintManagerStudio2005::InitLogicalColorMap()
{
    CExtPaintManagerOffice2003::InitLogicalColorMap();
    if (GetScreenBitsPerPixel() <= 8)
        return;
    const int nScheme = GetLunaColorScheme();
    if (!UsesLunaColors() && nScheme != 2)
    {
        MapColor(4000, COLOR_INACTIVECAPTION);
        MapColor(4001, COLOR_ACTIVECAPTION);
        MapColor(4002, COLOR_ACTIVECAPTION);
    }
    else
    {
        COLORREF clrL1 = 0, clrL2 = 0;
        GetLunaBaseColors(&clrL1, &clrL2);
        if (nScheme == 1)
            InitBlueColorMap(clrL1, clrL2);
        const int col = SchemeColumn(nScheme);
        for (int i = 0; i < 3; i++)
            MapNewColor(4000 + i, g_arrStudio2005Captions[i][col]);
    }
#define P(x) LookupColor(x)
    MapNewColor(1012, Mix(P(15), P(5), 50));
    MapNewColor(1013, Mix(P(16), P(5), 60));
    MapNewColor(1014, P(8));
    MapNewColor(1015, P(8));
    MapColor(1016, MapLogicalColor(1014));
    MapColor(1017, MapLogicalColor(1015));
    MapNewColor(1018, Mix(P(15), P(5), 39));
    MapNewColor(1020, Mix(P(16), P(5), 60));
    MapColor(1019, MapLogicalColor(1020));
    MapColor(1021, MapLogicalColor(1018));
#undef P
}

void CExtPaintManagerStudio2005::InitBlueColorMap(COLORREF L1, COLORREF L2)
{
    MapNewColor(1000, L1);
    MapNewColor(1001, A(L2, 0, 0.7, 0));
    MapLunaEdgeColors(Lift(A(L1, 0, 0.95, -0.05)), L1);
    MapNewColor(2000, L1);
    MapNewColor(2001, Lift(A(L1, 0, 0.95, -0.05)));
    MapNewColor(2002, Scale(L1, 857, 857, 857));
    MapNewColor(2003, A(L2, 0, 0.5, 0));
    MapNewColor(2004, L2);
    MapNewColor(2005, Scale(L1, 999, 995, 995));
    MapNewColor(2009, L1);
    MapNewColor(3000, A(L1, 0, 0.8, 0));
    MapNewColor(3001, A(L1, 0, 0.15, 0));
    MapNewColor(_2003CLR_SEPARATOR_LIGHT, A(L1, 0, 0.98, 0));
    MapNewColor(_2003CLR_SEPARATOR_DARK, A(L1, 0, -0.4, 0));
    MapNewColor(3003, A(L1, 0, -0.2, 0));
    MapNewColor(3002, A(L1, 0, 0.95, 0));
    MapNewColor(_2003CLR_CHEVRON_FACE_START, A(L1, 0, 0.6, 0));
    MapNewColor(_2003CLR_CHEVRON_FACE_END, A(L1, 0, -0.4, -0.4));
    MapNewColor(_2003CLR_CHEVRON_HOVER_START, A(L2, 0, 0.7, 0));
    MapNewColor(_2003CLR_CHEVRON_HOVER_END, A(L2, 0, 0.7, 0));
    MapNewColor(_2003CLR_CHEVRON_PUSHED_END, A(L2, 0, 0.5, 0));
    MapNewColor(_2003CLR_CHEVRON_PUSHED_START, A(L2, 0, 0.5, 0));
    MapNewColor(_2003CLR_CHEVRON_GLYPH_LIGHT, A(L1, 0, 0.97, 0));
    MapNewColor(_2003CLR_CHEVRON_GLYPH_DARK, A(L1, 0, -0.97, 0));
    MapColor(3014, 16);
    static const int g_arrIds[7] = {3015, 3016, 3017, 3018, 3019, 3020, 2007};
    static const COLORREF g_arrClr[7] = {0xF9FCFC, 0xECF4F6, 0xA0BABA, 0xF1F5F5,
                                         0xD1DEDE, 0x7FA5A5, 0x7A868A};
    for (int i = 0; i < 7; i++)
        MapNewColor(g_arrIds[i], g_arrClr[i]);
    MapNewColor(3021, A(L2, 0, 0.7, 0));
    MapNewColor(3022, A(L2, 0, 0.7, 0));
    for (int id = 3023; id <= 3026; id++)
        MapNewColor(id, A(L2, 0, 0.5, 0));
    MapLunaPanelAndButtonColors(L1);

    InstallColor(A(L1, 0, 0.1, 0), 22);
    InstallColor(A(L1, 0, 0.95, 0), 20);
    InstallColor(A(L1, 0, -0.3, -0.5), 16);
    InstallColor(A(L1, 0, -0.7, -0.5), 21);
}

// ---- item and panel colours ----------------------------------------------------------------

void CExtPaintManager::QueryItemColors(bool bFlag, bool bHighlighted, COLORREF& clr1,
                                       COLORREF& clr2, COLORREF& clr3, COLORREF& clr4,
                                       COLORREF& clr5)
{
    if (bHighlighted)
    {
        clr1 = clr2 = clr5 = 0x800000;
        clr3 = 0xF4E9E9;
        clr4 = 0xD9B3B3;
        return;
    }
    clr1 = LookupColor(bFlag ? 5 : 15);
    clr2 = LookupColor(16);
    clr3 = clr4 = LookupColor(15);
    clr5 = LookupColor(18);
}

void CExtPaintManagerOffice2003::QueryItemColors(bool bFlag, bool bHighlighted, COLORREF& clr1,
                                                 COLORREF& clr2, COLORREF& clr3, COLORREF& clr4,
                                                 COLORREF& clr5)
{
    const int nScheme = GetLunaColorScheme();
    if (bHighlighted)
    {
        if (nScheme == 0)
        {
            CExtPaintManager::QueryItemColors(bFlag, bHighlighted, clr1, clr2, clr3, clr4, clr5);
            return;
        }
        switch (nScheme)
        {
        case 2:
            clr1 = clr2 = 0x385D3F;
            break;
        case 3:
            clr1 = clr2 = 0x6F4B4B;
            break;
        default:  // blue, and any scheme above silver
            clr1 = clr2 = 0x800000;
            break;
        }
        clr5 = 0;
        clr3 = 0xEDF9FF;
        clr4 = 0xC2EEFF;
        return;
    }
    clr1 = LookupColor((bFlag || nScheme != 0) ? 5 : 15);
    switch (nScheme)
    {
    case 1:
        clr2 = 0x9A3500;
        break;
    case 2:
        clr2 = 0x6B7760;
        break;
    case 3:
        clr2 = 0x927476;
        break;
    default:
        clr2 = LookupColor(16);
        break;
    }
    clr3 = clr4 = LookupColor(15);
    clr5 = LookupColor(18);
}

void CExtPaintManagerStudio2005::QueryItemColors(bool bFlag, bool bHighlighted, COLORREF& clr1,
                                                 COLORREF& clr2, COLORREF& clr3, COLORREF& clr4,
                                                 COLORREF& clr5)
{
    CExtPaintManagerOffice2003::QueryItemColors(bFlag, bHighlighted, clr1, clr2, clr3, clr4, clr5);
}

void CExtPaintManager::QueryPanelColors(bool bFlag, int, COLORREF& clr1, COLORREF& clr2,
                                        COLORREF& clr3, COLORREF& clr4)
{
    clr1 = LookupColor(16);
    clr2 = clr3 = LookupColor(bFlag ? 5 : 22);
    clr4 = LookupColor(18);
}

void CExtPaintManagerOffice2003::QueryPanelColors(bool bFlag, int, COLORREF& clr1,
                                                  COLORREF& clr2, COLORREF& clr3,
                                                  COLORREF& clr4)
{
    clr1 = LookupColor(16);
    clr3 = LookupColor(bFlag ? 5 : 22);
    if (GetLunaColorScheme() == 0)
        clr2 = clr3;
    else
        clr2 = LookupColor(bFlag ? 5 : 20);
    clr4 = LookupColor(18);
}
