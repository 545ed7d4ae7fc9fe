// Colours and brushes: the colour table (system colours first, theme colours after),
// the logical-colour map of the base and XP themes, the lookups with their fall-back
// to button face, the auxiliary brushes and the re-synchronisation order.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/bitmap.h"

// ---- lookups -------------------------------------------------------------------------------

int CExtPaintManager::MapLogicalColor(int nLogicalId) const
{
    int nIndex = -1;
    if (!m_mapColorTranslate.Lookup(nLogicalId, nIndex))
        return -1;
    return nIndex;
}

COLORREF CExtPaintManager::LookupColor(int nColorIndex, CObject*, LPARAM)
{
    if (nColorIndex >= 1000)
    {
        int nIndex = 15;
        if (!m_mapColorTranslate.Lookup(nColorIndex, nIndex))
            nIndex = 15;
        nColorIndex = nIndex;
    }
    const int nCount = (int)m_colors.GetSize();
    if (nColorIndex >= 0 && nColorIndex < nCount)
        return m_colors[nColorIndex];
    if (15 < nCount)
        return m_colors[15];
    return ::GetSysColor(COLOR_BTNFACE);  // not synchronised yet
}

HBRUSH CExtPaintManager::LookupBrush(int nColorIndex)
{
    const int nCount = (int)m_brushes.GetSize();
    if (nColorIndex >= 0 && nColorIndex < nCount)
        return m_brushes[nColorIndex];
    if (15 < nCount)
        return m_brushes[15];
    return ::GetSysColorBrush(COLOR_BTNFACE);
}

int CExtPaintManager::InstallColor(COLORREF clr, int nIndex)
{
    const int nCount = (int)m_colors.GetSize();
    if (nIndex >= 0 && nIndex < nCount)
    {
        m_colors[nIndex] = clr;
        return nIndex;
    }
    return (int)m_colors.Add(clr);
}

COLORREF CExtPaintManager::GetBackgroundColor(CObject* pHelperSrc, LPARAM lParam)
{
    return LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam);
}

COLORREF CExtPaintManagerXP::GetBackgroundColor(CObject* pHelperSrc, LPARAM lParam)
{
    return LookupColor(XPCLR_3DFACE_NORMAL, pHelperSrc, lParam);
}

// ---- system colours ------------------------------------------------------------------------

void CExtPaintManager::RefreshColors()
{
    while (m_colors.GetSize() < __SYS_COLOR_COUNT)
        m_colors.Add(::GetSysColor(COLOR_BTNFACE));
    while (m_brushes.GetSize() < __SYS_COLOR_COUNT)
        m_brushes.Add(::GetSysColorBrush(COLOR_BTNFACE));
    for (int i = 0; i < __SYS_COLOR_COUNT; i++)
    {
        m_colors[i] = ::GetSysColor(i);
        m_brushes[i] = ::GetSysColorBrush(i);
    }
    // Every re-synchronisation rebuilds the theme colours; without cutting the table
    // back it would grow by a full set on each WM_SETTINGCHANGE. The map is rebuilt
    // right after, so ids that the next map leaves out must not point at old indices.
    m_colors.SetSize(__SYS_COLOR_COUNT);
    m_mapColorTranslate.RemoveAll();
}

// ---- logical-colour maps -------------------------------------------------------------------

void CExtPaintManager::InitBaseLogicalColorMap()
{
    static const int g_arrBase[][2] = {
        {1000, 15}, {1001, 15}, {2000, 15}, {1002, 22}, {1003, 22}, {2002, 22},
        {1004, 20}, {1005, 20}, {2004, 20}, {1006, 16}, {1007, 16}, {2006, 16},
        {1008, 21}, {1009, 21}, {2008, 21}, {1010, 8},  {1011, 8},  {2010, 16},
        {1012, 5},  {1013, 5},  {1014, 8},  {1015, 8},  {1016, 14}, {1017, 14},
        {1018, 15}, {1020, 15}, {1019, 13}, {1021, 13},
    };
    for (size_t i = 0; i < sizeof(g_arrBase) / sizeof(g_arrBase[0]); i++)
        MapColor(g_arrBase[i][0], g_arrBase[i][1]);
}

void CExtPaintManager::InitLogicalColorMap() { InitBaseLogicalColorMap(); }

void CExtPaintManagerXP::InitLogicalColorMap()
{
    m_nThemeValue = 128;
    InitBaseLogicalColorMap();
    const bool bHiColor = GetScreenBitsPerPixel() > 8;
    const COLORREF W = LookupColor(COLOR_WINDOW), F = LookupColor(COLOR_BTNFACE),
                   H = LookupColor(COLOR_BTNHIGHLIGHT), S = LookupColor(COLOR_BTNSHADOW),
                   D = LookupColor(COLOR_3DDKSHADOW), T = LookupColor(COLOR_BTNTEXT),
                   L = LookupColor(COLOR_HIGHLIGHT);
    COLORREF A, B, C, E, G, K, M, N;
    if (bHiColor)
    {
        A = CExtBitmap::stat_RGB_Mix(W, F, 165);
        B = CExtBitmap::stat_RGB_Mix(L, W, 30);
        C = RGB((3 * GetRValue(S) + GetRValue(D)) * 250 / 1000,
                (3 * GetGValue(S) + GetGValue(D)) * 250 / 1000,
                (3 * GetBValue(S) + GetBValue(D)) * 250 / 1000);
        E = CExtBitmap::stat_RGB_Mix(F, W, 143);
        G = CExtBitmap::stat_RGB_Mix(S, W, 70);
        K = CExtBitmap::stat_RGB_Mix(L, W, 50);
        M = L;
        N = CExtBitmap::stat_RGB_Mix(F, S, 90);
    }
    else
    {
        A = F;
        B = F;
        C = S;
        E = W;
        G = S;
        K = S;
        M = T;
        N = S;
    }
    // 1.
    MapNewColor(1000, A);
    MapNewColor(1001, B);
    MapColor(2000, 15);
    // 2.
    const int nC = InstallColor(C);
    for (int id = 1002; id <= 1009; id++)
        MapColor(id, nC);
    MapColor(2002, nC);
    MapColor(2004, nC);
    MapColor(2006, nC);
    MapColor(2008, nC);
    // 3.
    MapColor(1010, 8);
    MapNewColor(1011, bHiColor ? RGB(0, 0, 0) : H);
    // 4.
    MapColor(2010, 16);
    MapColor(2010, 15);
    // 5.
    MapNewColor(2011, G);
    MapColor(2006, 14);
    // 6.
    MapNewColor(2000, A);
    MapNewColor(2001, E);
    MapNewColor(2002, G);
    MapNewColor(2003, K);
    MapNewColor(2004, M);
    MapNewColor(2005, N);
    MapNewColor(2007, CExtBitmap::stat_RGB_Mix(T, S, 20));
    MapNewColor(2008, E);
    MapNewColor(2009, LookupColor(1000));
    // 7.
    MapNewColor(1012, E);
    MapNewColor(1013, E);
    MapColor(1014, 8);
    MapColor(1015, 8);
    MapColor(1016, 8);
    MapColor(1017, 8);
}

// ---- auxiliary brushes ---------------------------------------------------------------------

namespace {

COLORREF StepHalf(COLORREF a, COLORREF b)
{
    return RGB(GetRValue(a) + (GetRValue(b) - GetRValue(a)) / 2,
               GetGValue(a) + (GetGValue(b) - GetGValue(a)) / 2,
               GetBValue(a) + (GetBValue(b) - GetBValue(a)) / 2);
}

COLORREF Step(COLORREF a, COLORREF b, int k, int n)
{
    return RGB(GetRValue(a) + ::MulDiv(GetRValue(b) - GetRValue(a), k, n),
               GetGValue(a) + ::MulDiv(GetGValue(b) - GetGValue(a), k, n),
               GetBValue(a) + ::MulDiv(GetBValue(b) - GetBValue(a), k, n));
}

void MakePatternBrush(CBrush& brush, COLORREF clr1, COLORREF clr2, int x1, int y1, int x2, int y2,
                      COLORREF clr3)
{
    HBITMAP hBmp = CExtPaintManager::CreatePatternBitmap(clr1, clr2, x1, y1, x2, y2, clr3);
    if (hBmp == NULL)
        return;
    HBRUSH hBrush = ::CreatePatternBrush(hBmp);
    ::DeleteObject(hBmp);
    if (hBrush != NULL)
        brush.Attach(hBrush);
}

}  // namespace

void CExtPaintManager::CreateAuxBrushes()
{
    for (int i = 0; i < __AUX_BRUSH_COUNT; i++)
        m_brushAux[i].DeleteObject();
    const COLORREF P15 = LookupColor(15), P16 = LookupColor(16), P20 = LookupColor(20),
                   P21 = LookupColor(21);
    const COLORREF Q15 = ::GetSysColor(15), Q16 = ::GetSysColor(16), Q20 = ::GetSysColor(20),
                   Q21 = ::GetSysColor(21);
    if (GetScreenBitsPerPixel() > 8)
    {
        m_brushAux[0].CreateSolidBrush(StepHalf(P15, P20));
        m_brushAux[4].CreateSolidBrush(Step(P15, P20, 3, 5));
        m_brushAux[8].CreateSolidBrush(Step(P15, P20, 4, 5));
        m_brushAux[2].CreateSolidBrush(StepHalf(P16, P15));
        m_brushAux[6].CreateSolidBrush(Step(P16, P15, 2, 5));
        m_brushAux[10].CreateSolidBrush(Step(P16, P15, 1, 5));
        m_brushAux[1].CreateSolidBrush(StepHalf(Q15, Q20));
        m_brushAux[5].CreateSolidBrush(Step(Q15, Q20, 3, 5));
        m_brushAux[9].CreateSolidBrush(Step(Q15, Q20, 4, 5));
        m_brushAux[3].CreateSolidBrush(StepHalf(Q16, Q15));
        m_brushAux[7].CreateSolidBrush(Step(Q16, Q15, 2, 5));
        m_brushAux[11].CreateSolidBrush(Step(Q16, Q15, 1, 5));
        return;
    }
    const COLORREF NONE = COLORREF(-1);
    MakePatternBrush(m_brushAux[0], P15, P20, 1, 1, 0, 0, NONE);
    MakePatternBrush(m_brushAux[4], P15, P20, 1, 1, 1, 1, P20);
    MakePatternBrush(m_brushAux[8], P15, P20, 1, 1, 2, 2, P20);
    MakePatternBrush(m_brushAux[2], P16, P15, 1, 1, 0, 0, NONE);
    MakePatternBrush(m_brushAux[6], P16, P15, 1, 1, 1, 1, NONE);
    MakePatternBrush(m_brushAux[10], P21, P16, 1, 1, 0, 0, NONE);
    MakePatternBrush(m_brushAux[1], Q15, Q20, 1, 1, 0, 0, NONE);
    MakePatternBrush(m_brushAux[5], Q15, Q20, 1, 1, 1, 1, Q20);
    MakePatternBrush(m_brushAux[9], Q15, Q20, 1, 1, 2, 2, Q20);
    MakePatternBrush(m_brushAux[3], Q16, Q15, 1, 1, 0, 0, NONE);
    MakePatternBrush(m_brushAux[7], Q16, Q15, 1, 1, 1, 1, NONE);
    MakePatternBrush(m_brushAux[11], Q21, Q16, 1, 1, 0, 0, NONE);
}

// ---- re-synchronisation --------------------------------------------------------------------

void CExtPaintManager::RefreshFromSystem()
{
    RefreshFonts();
    RefreshColors();
}

void CExtPaintManager::Resync()
{
    OnResyncHook(this, 0);
    RefreshFromSystem();
    InitLogicalColorMap();
    CreateAuxBrushes();
}

void CExtPaintManager::OnSysColorChange() { Resync(); }
void CExtPaintManager::OnSettingChange(UINT, LPCTSTR) { Resync(); }
void CExtPaintManager::OnDisplayChange(int, int, int) { Resync(); }
void CExtPaintManager::OnThemeChanged(WPARAM, LPARAM) { Resync(); }
