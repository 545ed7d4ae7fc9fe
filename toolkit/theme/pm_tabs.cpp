// Tab painting: the strip background and edge, the items, the buttons, the frames and
// the metrics of tab windows in the four themes.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_tabs.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/core/cmd_icon.h"

CExtPmTabQueries::Queries CExtPmTabQueries::g_tabs = {};

int CExtPmTabQueries::ItemCount(CObject* p) { return (p != NULL && g_tabs.pfnItemCount != NULL) ? g_tabs.pfnItemCount(p) : 0; }
int CExtPmTabQueries::Selection(CObject* p) { return (p != NULL && g_tabs.pfnSelection != NULL) ? g_tabs.pfnSelection(p) : -1; }
DWORD CExtPmTabQueries::TabWndStyle(CObject* p) { return (p != NULL && g_tabs.pfnTabWndStyle != NULL) ? g_tabs.pfnTabWndStyle(p) : 0; }
bool CExtPmTabQueries::ItemStyle(CObject* p, int nIndex, DWORD& dwItemStyle)
{
    dwItemStyle = 0;
    return p != NULL && g_tabs.pfnItemStyle != NULL && g_tabs.pfnItemStyle(p, nIndex, dwItemStyle);
}
bool CExtPmTabQueries::ItemEnabled(CObject* p, int nIndex)
{
    DWORD dw = 0;
    return !ItemStyle(p, nIndex, dw) || (dw & 0x20) == 0;
}
int CExtPmTabQueries::ItemIndexOf(CObject* p) { return (p != NULL && g_tabs.pfnItemIndexOf != NULL) ? g_tabs.pfnItemIndexOf(p) : -1; }
BYTE CExtPmTabQueries::TabWndFlags(CObject* p) { return (p != NULL && g_tabs.pfnTabWndFlags != NULL) ? g_tabs.pfnTabWndFlags(p) : 0; }
bool CExtPmTabQueries::PaintsOwnBackground(CObject* p) { return p != NULL && g_tabs.pfnPaintsOwnBackground != NULL && g_tabs.pfnPaintsOwnBackground(p); }
int CExtPmTabQueries::Orientation(CObject* p) { return (p != NULL && g_tabs.pfnOrientation != NULL) ? g_tabs.pfnOrientation(p) : 0; }

typedef CExtPmTabQueries TQ;

namespace {

const COLORREF CLR_NEAR_WHITE = 0x00FEFCFC;

bool PaletteDC(CDC& dc) { return CExtPaintManager::GetDcBitsPerPixel(dc.GetSafeHdc()) <= 8; }

void PenPolyline(CDC& dc, COLORREF clr, const POINT* pts, int nFrom, int nTo)
{
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, clr))
        return;
    CPen* pOld = dc.SelectObject(&pen);
    dc.MoveTo(pts[nFrom].x, pts[nFrom].y);
    for (int i = nFrom + 1; i <= nTo; i++)
        dc.LineTo(pts[i].x, pts[i].y);
    dc.SelectObject(pOld);
}

COLORREF Pick(COLORREF clrForce, COLORREF clrDefault)
{
    return (clrForce != COLORREF(-1)) ? clrForce : clrDefault;
}

}  // namespace

// ---- colours ------------------------------------------------------------------------------------

void CExtPaintManager::GetTabColors(COLORREF* pClr1, COLORREF* pClr2, COLORREF* pClr3,
                                    COLORREF* pClr4, CObject* pHelperSrc, LPARAM lParam)
{
    if (pClr1 != NULL)
        *pClr1 = LookupColor(COLOR_BTNTEXT, pHelperSrc, lParam);
    if (pClr2 != NULL)
        *pClr2 = LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam);
    if (pClr3 != NULL)
        *pClr3 = LookupColor(COLOR_BTNHIGHLIGHT, pHelperSrc, lParam);
    if (pClr4 != NULL)
        *pClr4 = LookupColor(COLOR_3DDKSHADOW, pHelperSrc, lParam);
}

void CExtPaintManagerStudio2005::GetTabColors(COLORREF* pClr1, COLORREF* pClr2, COLORREF* pClr3,
                                              COLORREF* pClr4, CObject* pHelperSrc, LPARAM lParam)
{
    if (pClr1 != NULL)
        *pClr1 = LookupColor(COLOR_BTNTEXT, pHelperSrc, lParam);
    if (pClr2 != NULL)
        *pClr2 = LookupColor(COLOR_BTNHIGHLIGHT, pHelperSrc, lParam);
    if (pClr3 != NULL)
        *pClr3 = LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam);
    if (pClr4 != NULL)
        *pClr4 = LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam);
}

// ---- the strip --------------------------------------------------------------------------------------

void CExtPaintManager::DrawTabPart(CDC& dc, const RECT& rcWhole, const RECT&, const RECT& rcBorder,
                                   DWORD dwOrientation, bool bNoBorder, CObject* pHelperSrc,
                                   LPARAM lParam)
{
    const COLORREF clrA = LookupColor(bNoBorder ? COLOR_BTNFACE : COLOR_BTNSHADOW, pHelperSrc, lParam);
    const COLORREF clrB = LookupColor(COLOR_BTNFACE, pHelperSrc, lParam);
    const COLORREF clrC = LookupColor((dwOrientation == 1 || dwOrientation == 3) ? COLOR_3DDKSHADOW
                                                                                : COLOR_BTNHIGHLIGHT,
                                      pHelperSrc, lParam);
    FillTabAreaAndEdge(this, dc, rcWhole, rcBorder, (int)dwOrientation, bNoBorder, clrA, clrB, clrC);
}

void CExtPaintManagerXP::DrawTabPart(CDC& dc, const RECT& rcWhole, const RECT&, const RECT& rcBorder,
                                     DWORD dwOrientation, bool bNoBorder, CObject* pHelperSrc,
                                     LPARAM lParam)
{
    const COLORREF clrA = LookupColor(PaletteDC(dc) ? XPCLR_3DFACE_DARK : XPCLR_3DFACE_NORMAL,
                                      pHelperSrc, lParam);
    const COLORREF clrB = LookupColor(XPCLR_3DFACE_DARK, pHelperSrc, lParam);
    const COLORREF clrC = LookupColor((dwOrientation == 1 || dwOrientation == 3) ? COLOR_BTNSHADOW
                                                                                : COLOR_BTNHIGHLIGHT,
                                      pHelperSrc, lParam);
    FillTabAreaAndEdge(this, dc, rcWhole, rcBorder, (int)dwOrientation, bNoBorder, clrA, clrB, clrC);
}

void CExtPaintManagerOffice2003::DrawTabPart(CDC& dc, const RECT& rcWhole, const RECT& rcItemsArea,
                                             const RECT& rcBorder, DWORD dwOrientation,
                                             bool bNoBorder, CObject* pHelperSrc, LPARAM lParam)
{
    const bool bOwn = TQ::IsTabWnd(pHelperSrc) && !PaletteDC(dc) &&
                      ((TQ::TabWndFlags(pHelperSrc) & 0x01) != 0 || TQ::PaintsOwnBackground(pHelperSrc) ||
                       TQ::IsDynTabWnd(pHelperSrc) || TQ::IsDynAutoHideArea(pHelperSrc));
    if (!bOwn)
    {
        CExtPaintManagerXP::DrawTabPart(dc, rcWhole, rcItemsArea, rcBorder, dwOrientation, bNoBorder,
                                        pHelperSrc, lParam);
        return;
    }
    CWnd* pWnd = static_cast<CWnd*>(pHelperSrc);
    if (!DrawWindowBackground(true, dc, pWnd, 0))
    {
        CWnd* pParent = pWnd->GetParentFrame();
        if (pParent == NULL)
            pParent = pWnd->GetParent();
        if (pParent != NULL && pParent->GetSafeHwnd() != NULL && pWnd->GetSafeHwnd() != NULL)
        {
            RECT rcParent;
            pParent->GetClientRect(&rcParent);
            pParent->ClientToScreen(&rcParent);
            pWnd->ScreenToClient(&rcParent);
            FillControlBackground(true, dc, rcParent, pHelperSrc, 0);
        }
    }
    if (bNoBorder)
        return;
    dc.FillSolidRect(&rcBorder, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
    const COLORREF clrEdge = LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam);
    const int cx = rcBorder.right - rcBorder.left, cy = rcBorder.bottom - rcBorder.top;
    switch (dwOrientation)
    {
    case 0:
        dc.FillSolidRect(rcBorder.left, rcBorder.top, cx, 1, clrEdge);
        break;
    case 1:
        dc.FillSolidRect(rcBorder.left, rcBorder.bottom - 1, cx, 1, clrEdge);
        break;
    case 2:
        dc.FillSolidRect(rcBorder.left, rcBorder.top, 1, cy, clrEdge);
        break;
    case 3:
        dc.FillSolidRect(rcBorder.right - 1, rcBorder.top, 1, cy, clrEdge);
        break;
    default:
        break;
    }
}

namespace {

void DrawTabAreaBody(CExtPaintManager* pPM, CDC& dc, const RECT& rcArea, const RECT& rcRef,
                     DWORD dwOrientation, CObject* pHelperSrc, LPARAM lParam, bool bAllShadow)
{
    if (!TQ::IsTabWnd(pHelperSrc))
        return;
    if (!pPM->DrawWindowBackground(true, dc, static_cast<CWnd*>(pHelperSrc), lParam))
        dc.FillSolidRect(&rcArea, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, NULL, 0));
    const COLORREF clrLight = pPM->LookupColor(bAllShadow ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT, NULL, 0);
    const COLORREF clrShadow = pPM->LookupColor(COLOR_BTNSHADOW, NULL, 0);
    const int cx = rcArea.right - rcArea.left, cy = rcArea.bottom - rcArea.top;
    switch (dwOrientation)
    {
    case 0:
        dc.FillSolidRect(rcArea.left, rcRef.bottom, cx, 1, clrLight);
        break;
    case 1:
        dc.FillSolidRect(rcArea.left, rcRef.top - 1, cx, 1, clrShadow);
        break;
    case 2:
        dc.FillSolidRect(rcRef.right, rcArea.top, 1, cy, clrLight);
        break;
    case 3:
        dc.FillSolidRect(rcRef.left - 1, rcArea.top, 1, cy, clrShadow);
        break;
    default:
        break;
    }
}

}  // namespace

void CExtPaintManager::DrawTabArea(CDC& dc, const RECT& rcArea, const RECT& rcReference, int,
                                   DWORD dwOrientation, int, CObject* pHelperSrc, LPARAM lParam)
{
    DrawTabAreaBody(this, dc, rcArea, rcReference, dwOrientation, pHelperSrc, lParam, false);
}

void CExtPaintManagerStudio2005::DrawTabArea(CDC& dc, const RECT& rcArea, const RECT& rcReference,
                                             int, DWORD dwOrientation, int, CObject* pHelperSrc,
                                             LPARAM lParam)
{
    DrawTabAreaBody(this, dc, rcArea, rcReference, dwOrientation, pHelperSrc, lParam, true);
}

// ---- buttons and frames --------------------------------------------------------------------------------

const CExtPaintManager::glyph* TabButtonGlyph(LONG nHitTest, bool bForm, bool bEnabled)
{
    // Enabled scroll arrows are the outlined triangles; their disabled forms stand 15
    // entries earlier in the table.
    int nGlyph = -1;
    switch (nHitTest)
    {
    case -4:
        nGlyph = bForm ? 19 : 17;
        break;
    case -5:
        nGlyph = bForm ? 20 : 18;
        break;
    case -6:
        nGlyph = 9;
        break;
    case -7:
        nGlyph = 1;
        break;
    case -8:
        nGlyph = 45;
        break;
    case -9:
        nGlyph = bForm ? 50 : 49;
        break;
    case -10:
        nGlyph = bForm ? 52 : 51;
        break;
    default:
        return NULL;
    }
    if ((nHitTest == -4 || nHitTest == -5) && !bEnabled)
        nGlyph -= 15;
    return g_ButtonGlyphs[nGlyph];
}

void CExtPaintManager::DrawTabButton(CDC& dc, const RECT& rc, LONG nHitTest, int, bool bForm,
                                     bool bEnabled, bool bHover, bool bPushed, int,
                                     CObject* pHelperSrc, LPARAM lParam)
{
    const glyph* pGlyph = TabButtonGlyph(nHitTest, bForm, bEnabled);
    if (pGlyph != NULL)
    {
        const COLORREF clrs[2] = {0, LookupColor(bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW,
                                                 pHelperSrc, lParam)};
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        (pPM != NULL ? pPM : this)->DrawGlyph(dc, rc, *pGlyph, clrs);
    }
    if (bHover || bPushed)
    {
        const COLORREF clrDark = LookupColor(COLOR_3DDKSHADOW, pHelperSrc, lParam);
        const COLORREF clrLight = LookupColor(COLOR_BTNHIGHLIGHT, pHelperSrc, lParam);
        if (bPushed)
            dc.Draw3dRect(&rc, clrDark, clrLight);
        else
            dc.Draw3dRect(&rc, clrLight, clrDark);
    }
}

void CExtPaintManager::DrawTabWndFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam)
{
    dc.Draw3dRect(&rc, LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam),
                  LookupColor(COLOR_BTNHIGHLIGHT, pHelperSrc, lParam));
}

void CExtPaintManagerXP::DrawTabWndFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam)
{
    const COLORREF clr = LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam);
    dc.Draw3dRect(&rc, clr, clr);
}

void CExtPaintManager::DrawSimpleFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam)
{
    CExtPaintManager::DrawTabWndFrame(dc, rc, pHelperSrc, lParam);
}

void CExtPaintManagerXP::DrawSimpleFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam)
{
    CExtPaintManagerXP::DrawTabWndFrame(dc, rc, pHelperSrc, lParam);
}

// ---- metrics ----------------------------------------------------------------------------------------------

void CExtPaintManager::GetTabMetrics(CObject* pTabWnd, int& nFirst, int& nSecond, int& nThird)
{
    nFirst = 4;
    nSecond = 2;
    if ((TQ::TabWndStyle(pTabWnd) & 0x80) == 0)
        nThird = 2;
}

void CExtPaintManagerStudio2005::GetTabMetrics(CObject* pTabWnd, int& nFirst, int& nSecond, int& nThird)
{
    nFirst = ((TQ::TabWndStyle(pTabWnd) & 0x80) != 0) ? 3 : 0;
    nSecond = 2;
    nThird = 2;
}

void CExtPaintManagerStudio2005::AdjustTabItemSize(CObject* pTabWnd, CObject* pTabItemInfo, int,
                                                   SIZE& size)
{
    switch (m_nDockMarkerStyle)
    {
    case 1:
    case 3:
        return;
    case 2:
        break;
    default:
        AfxThrowNotSupportedException();
    }
    const int nIndex = TQ::ItemIndexOf(pTabItemInfo);
    const bool bEnd = nIndex == 0 || (nIndex >= 0 && nIndex == TQ::ItemCount(pTabWnd) - 1);
    const int nOrientation = TQ::Orientation(pTabWnd);
    if (nOrientation == 0 || nOrientation == 1)
    {
        if (bEnd)
            size.cx += 12;
        size.cy = 19;
    }
    else
    {
        if (bEnd)
            size.cy += 12;
        size.cx = 19;
    }
}

// ---- items of the classic themes ---------------------------------------------------------------------------

CExtPaintManager::PAINTTABITEMDATA::PAINTTABITEMDATA(CObject* pHelperSrc, LPARAM lParam)
    : m_pHelperSrc(pHelperSrc), m_lParam(lParam), m_rcItemsArea(RECT{0, 0, 0, 0}), m_rcItem(RECT{0, 0, 0, 0}),
      m_sizeTextMeasured(SIZE{0, 0}), m_pFont(NULL), m_sText(NULL), m_pIcon(NULL), m_bTopLeft(false), m_bHorz(false),
      m_bSelected(false), m_bCenteredText(false), m_bGroupedMode(false), m_bInGroupActive(false),
      m_bInvertedVerticalMode(false), m_clrForceText(COLORREF(-1)), m_clrForceTabBk(COLORREF(-1)),
      m_clrForceTabBorderLT(COLORREF(-1)), m_clrForceTabBorderRB(COLORREF(-1)), m_clrForceTabSeparator(COLORREF(-1))
{
}

namespace {

// The icon shows when the item has one and the tab window does not hide item icons.
bool TabItemDrawsIcon(const CExtPaintManager::PAINTTABITEMDATA& _ptid)
{
    return _ptid.m_pIcon != NULL && !_ptid.m_pIcon->IsEmpty() && (TQ::TabWndStyle(_ptid.m_pHelperSrc) & 0x800000) == 0;
}

// The classic themes' item colours, the record's overrides taking precedence.
struct ClassicTabItemColors
{
    COLORREF clrText, clrBk, clrLT, clrRB, clrSep;
};

void PaintClassicTabItem(CDC& dc, const CExtPaintManager::PAINTTABITEMDATA& _ptid, bool bEnabled,
                         const ClassicTabItemColors& c)
{
    CExtPaintManager::PaintTabItemShared(dc, _ptid.m_rcItemsArea, _ptid.m_bTopLeft, _ptid.m_bHorz, _ptid.m_bSelected,
                                         bEnabled, _ptid.m_bCenteredText, _ptid.m_bGroupedMode, _ptid.m_bInGroupActive,
                                         _ptid.m_bInvertedVerticalMode, TabItemDrawsIcon(_ptid), _ptid.m_rcItem,
                                         _ptid.m_sizeTextMeasured.cx, _ptid.m_sizeTextMeasured.cy, _ptid.m_pFont,
                                         _ptid.m_sText, _ptid.m_pIcon, c.clrText, c.clrBk, c.clrLT, c.clrRB, c.clrSep);
}

}  // namespace

void CExtPaintManager::DrawTabItem(CDC& dc, PAINTTABITEMDATA& _ptid)
{
    CObject* pHelperSrc = _ptid.m_pHelperSrc;
    const LPARAM lParam = _ptid.m_lParam;
    const bool bGroupedMode = _ptid.m_bGroupedMode;
    const bool bEnabled = TQ::ItemEnabled(pHelperSrc, (int)lParam);
    ClassicTabItemColors c;
    c.clrText =
        Pick(_ptid.m_clrForceText,
             LookupColor((_ptid.m_bSelected || bGroupedMode) ? COLOR_BTNTEXT : COLOR_BTNHIGHLIGHT, pHelperSrc, lParam));
    c.clrBk = Pick(_ptid.m_clrForceTabBk, LookupColor(COLOR_BTNFACE, pHelperSrc, lParam));
    c.clrLT = Pick(_ptid.m_clrForceTabBorderLT,
                   LookupColor(bGroupedMode ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT, pHelperSrc, lParam));
    c.clrRB = Pick(_ptid.m_clrForceTabBorderRB,
                   LookupColor(bGroupedMode ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, pHelperSrc, lParam));
    c.clrSep = Pick(_ptid.m_clrForceTabSeparator,
                    LookupColor(bGroupedMode ? COLOR_BTNSHADOW : COLOR_3DLIGHT, pHelperSrc, lParam));
    PaintClassicTabItem(dc, _ptid, bEnabled, c);
}

void CExtPaintManagerXP::DrawTabItem(CDC& dc, PAINTTABITEMDATA& _ptid)
{
    CObject* pHelperSrc = _ptid.m_pHelperSrc;
    const LPARAM lParam = _ptid.m_lParam;
    const bool bGroupedMode = _ptid.m_bGroupedMode;
    const bool bEnabled = TQ::ItemEnabled(pHelperSrc, (int)lParam);
    int nText = COLOR_BTNSHADOW;
    if (bEnabled && (_ptid.m_bSelected || bGroupedMode))
        nText = COLOR_BTNTEXT;
    ClassicTabItemColors c;
    c.clrText = Pick(_ptid.m_clrForceText, LookupColor(nText, pHelperSrc, lParam));
    c.clrBk =
        Pick(_ptid.m_clrForceTabBk, LookupColor(bGroupedMode ? COLOR_BTNFACE : XPCLR_3DFACE_DARK, pHelperSrc, lParam));
    c.clrLT = Pick(_ptid.m_clrForceTabBorderLT,
                   LookupColor(bGroupedMode ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT, pHelperSrc, lParam));
    c.clrRB = Pick(_ptid.m_clrForceTabBorderRB,
                   LookupColor(bGroupedMode ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, pHelperSrc, lParam));
    c.clrSep = Pick(_ptid.m_clrForceTabSeparator, LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam));
    PaintClassicTabItem(dc, _ptid, bEnabled, c);
}

// ---- Studio 2005 items -------------------------------------------------------------------------------------

namespace {

enum Shape { SHAPE_TOP, SHAPE_BOTTOM, SHAPE_LEFT, SHAPE_RIGHT };

Shape ChooseShape(bool bHorz, bool bTopLeft, bool bGroupedMode)
{
    const bool bFirst = bTopLeft != bGroupedMode;  // style bit 0x80 swaps the two shapes
    if (bHorz)
        return bFirst ? SHAPE_TOP : SHAPE_BOTTOM;
    return bFirst ? SHAPE_LEFT : SHAPE_RIGHT;
}

void SixPointShape(Shape eShape, const RECT& rc, POINT* outline, POINT* region, POINT* sep,
                   int& nRight, int& nBottom)
{
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    switch (eShape)
    {
    case SHAPE_TOP:
    {
        const POINT o[6] = {{L, B - 1}, {L, T + 2}, {L + 2, T}, {R - 2, T}, {R, T + 2}, {R, B}};
        const POINT r[6] = {{L + 1, B + 1}, {L + 1, T + 2}, {L + 2, T + 1}, {R - 1, T + 1}, {R, T + 2}, {R, B + 1}};
        const POINT s[2] = {{R, T + 3}, {R, B - 2}};
        ::memcpy(outline, o, sizeof(o));
        ::memcpy(region, r, sizeof(r));
        ::memcpy(sep, s, sizeof(s));
        nRight = R - 2;
        nBottom = B - 2;
        break;
    }
    case SHAPE_BOTTOM:
    {
        const POINT o[6] = {{L, T}, {L, B - 3}, {L + 2, B - 1}, {R - 2, B - 1}, {R, B - 3}, {R, T - 1}};
        const POINT r[6] = {{L + 1, T - 1}, {L + 1, B - 3}, {L + 2, B - 1}, {R - 2, B - 1}, {R, B - 3}, {R, T - 1}};
        const POINT s[2] = {{R, B - 4}, {R, T + 1}};
        ::memcpy(outline, o, sizeof(o));
        ::memcpy(region, r, sizeof(r));
        ::memcpy(sep, s, sizeof(s));
        nRight = R - 2;
        nBottom = B - 3;
        break;
    }
    case SHAPE_LEFT:
    {
        const POINT o[6] = {{R - 1, T}, {L + 2, T}, {L, T + 2}, {L, B - 2}, {L + 2, B}, {R, B}};
        const POINT r[6] = {{R + 1, T + 1}, {L + 2, T + 1}, {L + 1, T + 2}, {L + 1, B - 2}, {L + 2, B}, {R + 1, B}};
        const POINT s[2] = {{L + 3, B}, {R - 2, B}};
        ::memcpy(outline, o, sizeof(o));
        ::memcpy(region, r, sizeof(r));
        ::memcpy(sep, s, sizeof(s));
        nRight = R - 2;
        nBottom = B - 2;
        break;
    }
    default:
    {
        const POINT o[6] = {{L, T}, {R - 3, T}, {R - 1, T + 2}, {R - 1, B - 2}, {R - 3, B}, {L - 1, B}};
        const POINT r[6] = {{L - 1, T + 1}, {R - 3, T}, {R - 1, T + 2}, {R - 1, B - 2}, {R - 3, B}, {L - 1, B}};
        const POINT s[2] = {{R - 4, B}, {L + 1, B}};
        ::memcpy(outline, o, sizeof(o));
        ::memcpy(region, r, sizeof(r));
        ::memcpy(sep, s, sizeof(s));
        nRight = R - 3;
        nBottom = B - 2;
        break;
    }
    }
}

// Fills the items area through the region, with the region added to the clip.
void FillThroughRegion(CDC& dc, CRgn& rgn, const RECT& rcItemsArea, COLORREF clrSolid,
                       bool bGradient, COLORREF clrA, COLORREF clrB, bool bVertical)
{
    const int nSaved = dc.SaveDC();
    dc.SelectClipRgn(&rgn, RGN_AND);
    if (bGradient)
        CExtPaintManager::GradientFillRect(dc, rcItemsArea, clrA, clrB, bVertical, 256);
    else
        dc.FillSolidRect(&rcItemsArea, clrSolid);
    dc.RestoreDC(nSaved);
}

// The top shape's ten-point lists of the slanted look, turned to the shape's side: a
// point (along, across) of a top item maps onto the other sides of the item rectangle.
POINT Turn(Shape eShape, const RECT& rc, int x, int y)
{
    // x and y are the top-shape coordinates for the item rectangle rc taken as horizontal.
    POINT pt = {x, y};
    switch (eShape)
    {
    case SHAPE_BOTTOM:
        pt.y = rc.top + rc.bottom - 1 - y;
        break;
    case SHAPE_LEFT:
        pt.x = y;
        pt.y = x;
        break;
    case SHAPE_RIGHT:
        pt.x = rc.left + rc.right - 1 - y;
        pt.y = x;
        break;
    default:
        break;
    }
    return pt;
}

}  // namespace

// ---- the Studio 2005 tab item -------------------------------------------------------------

namespace {

struct TabItemColors
{
    COLORREF clrFace;       // the unselected item's gradient, one end
    COLORREF clrFaceLight;  // and the other
    COLORREF clrSelected;   // the selected item's face in the rounded look
    COLORREF clrShadow;     // the slanted look's outline
};

// The rounded looks (styles 1 and 3): a six-point outline filled through its region.
// Returns the rectangle left for the icon and text.
RECT DrawRoundedTabItem(CExtPaintManager* pPM, CDC& dc, int nStyle, const RECT& rcItemsArea, const RECT& rcItem,
                        Shape eShape, bool bHorz, bool bSelected, bool bGroupedMode, bool bLast,
                        const TabItemColors& colors)
{
    POINT ptsOutline[6], ptsRegion[6], ptsSeparator[2];
    int nContentRight = 0, nContentBottom = 0;
    SixPointShape(eShape, rcItem, ptsOutline, ptsRegion, ptsSeparator, nContentRight, nContentBottom);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, pPM->LookupColor(COLOR_BTNSHADOW, pPM, 0));
    CPen* pOldPen = dc.SelectObject(&pen);
    if (nStyle == 3 && !bSelected && !bGroupedMode)
    {
        // The flat look outlines only the selected item; the others are separated.
        if (!bLast)
        {
            dc.MoveTo(ptsSeparator[0].x, ptsSeparator[0].y);
            dc.LineTo(ptsSeparator[1].x, ptsSeparator[1].y);
        }
    }
    else
    {
        dc.MoveTo(ptsOutline[0].x, ptsOutline[0].y);
        for (int i = 1; i < 6; i++)
            dc.LineTo(ptsOutline[i].x, ptsOutline[i].y);
    }
    dc.SelectObject(pOldPen);
    CRgn rgn;
    rgn.CreatePolygonRgn(ptsRegion, 6, ALTERNATE);
    if (nStyle == 3)
    {
        if (bSelected && !bGroupedMode)
        {
            CBrush br;
            br.CreateSolidBrush(CLR_NEAR_WHITE);
            dc.FillRgn(&rgn, &br);
        }
    }
    else if (bSelected && !bGroupedMode)
    {
        CBrush br;
        br.CreateSolidBrush(colors.clrSelected);
        dc.FillRgn(&rgn, &br);
    }
    else if (!PaletteDC(dc))
        FillThroughRegion(dc, rgn, rcItemsArea, 0, true, colors.clrFace, colors.clrFaceLight, bHorz);
    else
    {
        CBrush br;
        br.CreateSolidBrush(pPM->LookupColor(COLOR_BTNFACE, pPM, 0));
        dc.FillRgn(&rgn, &br);
    }
    RECT rcContent;
    ::SetRect(&rcContent, rcItem.left + 3, rcItem.top + (bHorz ? 2 : 3), nContentRight, nContentBottom);
    return rcContent;
}

// The slanted look's three ten-point lines: the dark outline, the fill region and the light
// edge inside it, built for a top item and turned to the item's side.
struct SlantedTabPoints
{
    POINT ptsOutline[10];
    POINT ptsFill[10];
    POINT ptsHighlight[10];
    Shape eTurn;
    int nOpenStartX;  // the outline's two ends along the base, before turning
    int nOpenEndX;
    int nBaseY;
};

void BuildSlantedTabPoints(SlantedTabPoints& pts, const RECT& rcItem, bool bHorz, Shape eShape, int nIndex, int nCount,
                           int nSelected, bool bGroupedMode, bool bGroupStart)
{
    RECT rcAsTop = rcItem;
    if (!bHorz)
        ::SetRect(&rcAsTop, rcItem.top, rcItem.left, rcItem.bottom, rcItem.right);
    const int l = rcAsTop.left, t = rcAsTop.top, r = rcAsTop.right, b = rcAsTop.bottom;
    const POINT outline[10] = {{r + 6, b}, {r, t + 6},     {r - 5, t + 1}, {r - 6, t + 1}, {r - 7, t},
                               {l + 7, t}, {l + 6, t + 1}, {l + 5, t + 1}, {l, t + 6},     {l - 6, b}};
    const POINT fill[10] = {{r + 5, b + 1}, {r - 1, t + 7}, {r - 4, t + 3}, {r - 5, t + 3}, {r - 6, t + 2},
                            {l + 7, t + 2}, {l + 6, t + 3}, {l + 5, t + 3}, {l + 1, t + 7}, {l - 5, b + 1}};
    const POINT highlight[10] = {{r + 5, b},     {r - 1, t + 6}, {r - 5, t + 2}, {r - 6, t + 2}, {r - 7, t + 1},
                                 {l + 7, t + 1}, {l + 6, t + 2}, {l + 5, t + 2}, {l + 1, t + 6}, {l - 5, b}};
    POINT* o = pts.ptsOutline;
    POINT* g = pts.ptsFill;
    POINT* h = pts.ptsHighlight;
    ::memcpy(o, outline, sizeof(outline));
    ::memcpy(g, fill, sizeof(fill));
    ::memcpy(h, highlight, sizeof(highlight));
    // An item's slant overlaps its neighbour on the side of the selected item; the
    // neighbour that lies under it stops short.
    if (nIndex < nSelected && !bGroupedMode && nIndex < nCount - 1)
    {
        o[0] = {r - 6, b};
        g[0] = {r - 6, b};
        h[0] = {r - 1, t + 7};
    }
    if ((nIndex > nSelected || (bGroupedMode && nIndex <= nSelected)) && !bGroupStart)
    {
        o[9] = {l + 6, b};
        g[9] = {l + 7, b};
        h[9] = {l + 1, t + 7};
    }
    // The first and the last item keep their slants inside the strip.
    if (nIndex == 0)
        for (int i = 5; i <= 9; i++)
        {
            o[i].x += 6;
            g[i].x += 6;
            h[i].x += 6;
        }
    if (nIndex == nCount - 1)
        for (int i = 0; i <= 4; i++)
        {
            o[i].x -= 6;
            g[i].x -= 6;
            h[i].x -= 6;
        }
    pts.eTurn = bHorz ? eShape : (eShape == SHAPE_LEFT ? SHAPE_LEFT : SHAPE_RIGHT);
    pts.nOpenStartX = o[0].x;
    pts.nOpenEndX = o[9].x;
    pts.nBaseY = b;
    for (int i = 0; i < 10; i++)
    {
        o[i] = Turn(pts.eTurn, rcItem, o[i].x, o[i].y);
        g[i] = Turn(pts.eTurn, rcItem, g[i].x, g[i].y);
        h[i] = Turn(pts.eTurn, rcItem, h[i].x, h[i].y);
    }
}

void PaintSlantedTabItem(CExtPaintManager* pPM, CDC& dc, SlantedTabPoints& pts, const RECT& rcItem,
                         const RECT& rcItemsArea, bool bHorz, bool bTopLeft, bool bSelected, bool bGroupedMode,
                         const TabItemColors& colors)
{
    // The outline runs back to its eighth point to close the slant's tip.
    POINT ptsOutlineClosed[11];
    ::memcpy(ptsOutlineClosed, pts.ptsOutline, sizeof(pts.ptsOutline));
    ptsOutlineClosed[10] = pts.ptsOutline[8];
    PenPolyline(dc, colors.clrShadow, ptsOutlineClosed, 0, 10);
    const bool bSelectedFlat = bSelected && !bGroupedMode;
    const bool bLongHighlight = bGroupedMode && bTopLeft;
    const COLORREF clrFace = pPM->LookupColor(COLOR_BTNFACE, pPM, 0);
    PenPolyline(dc, bSelectedFlat ? CLR_NEAR_WHITE : clrFace, pts.ptsHighlight, 0, bLongHighlight ? 6 : 5);
    PenPolyline(dc, CLR_NEAR_WHITE, pts.ptsHighlight, bLongHighlight ? 6 : 4, 9);
    if (bSelectedFlat)
    {
        // The selected item opens into the page below it.
        POINT ptsAcross[2] = {Turn(pts.eTurn, rcItem, pts.nOpenStartX, pts.nBaseY + 1),
                              Turn(pts.eTurn, rcItem, pts.nOpenEndX - 1, pts.nBaseY + 1)};
        PenPolyline(dc, CLR_NEAR_WHITE, ptsAcross, 0, 1);
    }
    CRgn rgn;
    rgn.CreatePolygonRgn(pts.ptsFill, 10, ALTERNATE);
    if (bSelectedFlat || PaletteDC(dc))
    {
        FillThroughRegion(dc, rgn, rcItemsArea, bSelected ? CLR_NEAR_WHITE : clrFace, false, 0, 0, false);
        return;
    }
    // The background colour goes to the top (left) when the strip lies there.
    const bool bFaceFirst = bTopLeft && !bGroupedMode;
    COLORREF clrFrom, clrTo;
    if (bHorz)
    {
        // The vertical gradient puts its second colour at the top.
        clrFrom = bFaceFirst ? colors.clrFaceLight : colors.clrFace;
        clrTo = bFaceFirst ? colors.clrFace : colors.clrFaceLight;
    }
    else
    {
        clrFrom = bFaceFirst ? colors.clrFace : colors.clrFaceLight;
        clrTo = bFaceFirst ? colors.clrFaceLight : colors.clrFace;
    }
    FillThroughRegion(dc, rgn, rcItemsArea, 0, true, clrFrom, clrTo, bHorz);
}

RECT SlantedTabContentRect(const RECT& rcItem, bool bHorz, bool bFirstItem)
{
    RECT rcContent;
    if (bHorz)
        ::SetRect(&rcContent, rcItem.left + 3, rcItem.top + 2, rcItem.right - 1, rcItem.bottom - 2);
    else
        ::SetRect(&rcContent, rcItem.left + 2, rcItem.top + 3, rcItem.right - 2, rcItem.bottom - 1);
    // The first item's slant lies inside it.
    if (bFirstItem)
    {
        if (bHorz)
            ::InflateRect(&rcContent, -6, 0);
        else
            ::InflateRect(&rcContent, 0, -6);
    }
    return rcContent;
}

// Whether the item starts a group: the first item always does.
bool TabItemStartsGroup(CObject* pHelperSrc, int nIndex, bool bGroupedMode)
{
    if (nIndex == 0 || !bGroupedMode)
        return nIndex == 0;
    DWORD dwItemStyle = 0;
    return TQ::ItemStyle(pHelperSrc, nIndex, dwItemStyle) && (dwItemStyle & 0x02) != 0;
}

}  // namespace

void CExtPaintManagerStudio2005::DrawTabItem(CDC& dc, PAINTTABITEMDATA& _ptid)
{
    const int nStyle = m_nDockMarkerStyle;
    if (nStyle < 1 || nStyle > 3)
        AfxThrowNotSupportedException();
    CObject* pHelperSrc = _ptid.m_pHelperSrc;
    const LPARAM lParam = _ptid.m_lParam;
    const RECT& rcItem = _ptid.m_rcItem;
    const bool bHorz = _ptid.m_bHorz, bGroupedMode = _ptid.m_bGroupedMode;
    const int nIndex = (int)lParam;
    const int nCount = TQ::ItemCount(pHelperSrc);
    const bool bEnabled = TQ::ItemEnabled(pHelperSrc, nIndex);
    const COLORREF clrText =
        Pick(_ptid.m_clrForceText, LookupColor(bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW, pHelperSrc, lParam));
    TabItemColors colors;
    colors.clrFace = Pick(_ptid.m_clrForceTabBk, LookupColor(COLOR_BTNHIGHLIGHT, this, 0));
    colors.clrFaceLight = Pick(_ptid.m_clrForceTabBk, LookupColor(COLOR_3DLIGHT, this, 0));
    colors.clrSelected = Pick(_ptid.m_clrForceTabBorderLT,
                              LookupColor(bGroupedMode ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT, pHelperSrc, lParam));
    colors.clrShadow = Pick(_ptid.m_clrForceTabBorderRB, LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam));
    const Shape eShape = ChooseShape(bHorz, _ptid.m_bTopLeft, bGroupedMode);
    RECT rcContent;
    if (nStyle == 1 || nStyle == 3)
        rcContent = DrawRoundedTabItem(this, dc, nStyle, _ptid.m_rcItemsArea, rcItem, eShape, bHorz, _ptid.m_bSelected,
                                       bGroupedMode, nIndex >= nCount - 1, colors);
    else
    {
        SlantedTabPoints pts;
        BuildSlantedTabPoints(pts, rcItem, bHorz, eShape, nIndex, nCount, TQ::Selection(pHelperSrc), bGroupedMode,
                              TabItemStartsGroup(pHelperSrc, nIndex, bGroupedMode));
        PaintSlantedTabItem(this, dc, pts, rcItem, _ptid.m_rcItemsArea, bHorz, _ptid.m_bTopLeft, _ptid.m_bSelected,
                            bGroupedMode, colors);
        rcContent = SlantedTabContentRect(rcItem, bHorz, nIndex == 0);
    }
    PaintTabItemContent(this, dc, rcContent, bHorz, bEnabled, _ptid.m_bCenteredText, bGroupedMode,
                        _ptid.m_bInGroupActive, _ptid.m_bInvertedVerticalMode, TabItemDrawsIcon(_ptid),
                        _ptid.m_sizeTextMeasured.cx, _ptid.m_sizeTextMeasured.cy, _ptid.m_pFont, _ptid.m_sText,
                        _ptid.m_pIcon, clrText);
}
