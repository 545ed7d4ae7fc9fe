// The progress cell: a string cell painted as a bar, themed or in plain colours, with
// its text, percentage or position drawn over it.
#include "toolkit/grid/grid_cell_updown.h"
#include <algorithm>
#include <cmath>
#include "toolkit/grid/grid_cell_kinds_util.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_SERIAL(CExtGridCellProgress, CExtGridCellString, VERSIONABLE_SCHEMA | 1)

namespace {

// The "PROGRESS" theme class's parts and properties.
enum
{
    kPartBar = 1,
    kPartBarVert = 2,
    kPartChunk = 3,
    kPartChunkVert = 4,
    kPropChunkSize = 2411,
    kPropSpaceSize = 2412,
};

using gridcellkinds::SerializeInt;

void SerializeColor(CArchive& ar, COLORREF& clr)
{
    if (ar.IsStoring()) {
        ar << (DWORD)clr;
    } else {
        DWORD dw = 0;
        ar >> dw;
        clr = dw;
    }
}

void SerializeFlag(CArchive& ar, bool& b)
{
    if (ar.IsStoring()) {
        ar << (BYTE)(b ? 1 : 0);
    } else {
        BYTE n = 0;
        ar >> n;
        b = n != 0;
    }
}

}  // namespace

CExtGridCellProgress::CExtGridCellProgress(CExtGridDataProvider* pOwner) : CExtGridCellString(pOwner)
{
    _ResetFields();
    ModifyStyle(__EGCS_NO_INPLACE_CONTROL);
}

void CExtGridCellProgress::_ResetFields()
{
    m_bVertical = m_bReverse = false;
    m_nRangeMin = 0;
    m_nRangeMax = 100;
    m_nPos = 0;
    m_nStep = 10;
    m_clrBar1 = m_clrBar2 = m_clrText1 = m_clrText2 = COLORREF(-1);
    m_bGradientFlip = m_bTextInBar = false;
    m_nTextMode = __ETM_NONE;
}

double CExtGridCellProgress::GetFilledFraction(bool bClamp) const
{
    // In doubles: the differences of two 32-bit values may not fit 32 bits.
    const double lfRange = (double)m_nRangeMax - (double)m_nRangeMin;
    if (lfRange == 0.0) return 0.0;
    const double f = std::fabs((double)m_nPos - (double)m_nRangeMin) / lfRange;
    if (!bClamp) return f;
    return std::min(1.0, std::max(0.0, f));
}

INT CExtGridCellProgress::GetPercent() const { return (INT)(GetFilledFraction() * 100.0); }

CString CExtGridCellProgress::GetProgressText() const
{
    CString strText;
    if (m_nTextMode == __ETM_NONE) return strText;
    CString strCell;
    LPCTSTR sBuffer = GetTextBuffer();
    if (sBuffer != NULL && *sBuffer != 0)
        strCell = sBuffer;
    else
        TextGet(strCell);
    switch (m_nTextMode) {
    case __ETM_TEXT: strText = strCell; break;
    case __ETM_PERCENT: strText.Format(_T("%d%%"), GetPercent()); break;
    case __ETM_POSITION: strText.Format(_T("%d"), m_nPos); break;
    case __ETM_TEXT_PERCENT: strText.Format(_T("%s %d%%"), (LPCTSTR)strCell, GetPercent()); break;
    case __ETM_TEXT_POSITION: strText.Format(_T("%s %d"), (LPCTSTR)strCell, m_nPos); break;
    default: break;
    }
    strText.TrimLeft();
    return strText;
}

void CExtGridCellProgress::StepIt()
{
    const LONGLONG nLow = std::min(m_nRangeMin, m_nRangeMax), nHigh = std::max(m_nRangeMin, m_nRangeMax);
    const LONGLONG nNew = (LONGLONG)m_nPos + m_nStep;
    m_nPos = (INT)std::min(nHigh, std::max(nLow, nNew));
}

CRect CExtGridCellProgress::CalcBarRect(const RECT& rcIn) const
{
    CRect rc(rcIn), rcBar(rcIn);
    const double f = GetFilledFraction();
    if (m_bVertical) {
        const int nLen = (int)(f * rc.Height());
        if (m_bReverse)
            rcBar.bottom = rc.top + nLen;
        else
            rcBar.top = rc.bottom - nLen;
    } else {
        const int nLen = (int)(f * rc.Width());
        if (m_bReverse)
            rcBar.left = rc.right - nLen;
        else
            rcBar.right = rc.left + nLen;
    }
    return rcBar;
}

void CExtGridCellProgress::Serialize(CArchive& ar)
{
    CExtGridCellString::Serialize(ar);
    SerializeInt(ar, m_nTextMode);
    SerializeFlag(ar, m_bVertical);
    SerializeFlag(ar, m_bReverse);
    SerializeInt(ar, m_nRangeMin);
    SerializeInt(ar, m_nRangeMax);
    SerializeInt(ar, m_nPos);
    SerializeInt(ar, m_nStep);
    SerializeColor(ar, m_clrBar1);
    SerializeColor(ar, m_clrBar2);
    SerializeColor(ar, m_clrText1);
    SerializeColor(ar, m_clrText2);
    SerializeFlag(ar, m_bGradientFlip);
    SerializeFlag(ar, m_bTextInBar);
}

void CExtGridCellProgress::Assign(const CExtGridCell& other)
{
    CExtGridCellString::Assign(other);
    if (&other == this) return;
    if (!other.IsKindOf(RUNTIME_CLASS(CExtGridCellProgress))) {
        _ResetFields();
        return;
    }
    const CExtGridCellProgress& src = static_cast<const CExtGridCellProgress&>(other);
    m_bVertical = src.m_bVertical;
    m_bReverse = src.m_bReverse;
    m_nRangeMin = src.m_nRangeMin;
    m_nRangeMax = src.m_nRangeMax;
    m_nPos = src.m_nPos;
    m_nStep = src.m_nStep;
    m_clrBar1 = src.m_clrBar1;
    m_clrBar2 = src.m_clrBar2;
    m_clrText1 = src.m_clrText1;
    m_clrText2 = src.m_clrText2;
    m_bGradientFlip = src.m_bGradientFlip;
    m_bTextInBar = src.m_bTextInBar;
    m_nTextMode = src.m_nTextMode;
}

int CExtGridCellProgress::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellProgress))) {
        const double f1 = GetFilledFraction(false);
        const double f2 = static_cast<const CExtGridCellProgress&>(other).GetFilledFraction(false);
        if (f1 < f2) return -1;
        if (f1 > f2) return 1;
    }
    return CExtGridCellString::Compare(other, dwStyleMask, dwStyleExMask);
}

CExtGridCell* CExtGridCellProgress::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellProgress>(*this, pMalloc);
}

HWND CExtGridCellProgress::OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo,
                                                  LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                  const RECT& rcCellExtra, const RECT& rcCell,
                                                  const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                                  LONG nLastEditedRowNo)
{
    // A bar is not edited in place.
    (void)wndGrid, (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)nColType,
        (void)nRowType, (void)rcCellExtra, (void)rcCell, (void)rcInplaceControl, (void)nLastEditedColNo,
        (void)nLastEditedRowNo;
    return NULL;
}

bool CExtGridCellProgress::_PaintBarThemed(CExtGridWnd& wndGrid, CDC& dc, const CRect& rc, const CRect& rcBar) const
{
    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    if (!ux.IsUsable(true) || ux.OpenThemeData(wndGrid.GetSafeHwnd(), L"PROGRESS") == NULL) return false;
    bool bOk = SUCCEEDED(ux.DrawThemeBackground(dc.GetSafeHdc(), m_bVertical ? kPartBarVert : kPartBar, 1, &rc, &rc));
    if (bOk && !rcBar.IsRectEmpty()) {
        const int nPart = m_bVertical ? kPartChunkVert : kPartChunk;
        int nChunk = 0, nSpace = 0;
        bOk = ux.m_pfnGetThemeInt != NULL &&
              SUCCEEDED(ux.m_pfnGetThemeInt(ux.GetOpenTheme(), nPart, 1, kPropChunkSize, &nChunk)) &&
              SUCCEEDED(ux.m_pfnGetThemeInt(ux.GetOpenTheme(), nPart, 1, kPropSpaceSize, &nSpace));
        if (bOk) {
            nChunk = std::max(1, nChunk);
            nSpace = std::max(0, nSpace);
            CRect rcInner(rc);
            rcInner.DeflateRect(3, 3);
            CRect rcFill;
            rcFill.IntersectRect(&rcInner, &rcBar);
            // Chunks from the start edge until they reach the end edge.
            const bool bForward = m_bVertical ? m_bReverse : !m_bReverse;
            const int nStart = m_bVertical ? (bForward ? rcFill.top : rcFill.bottom)
                                           : (bForward ? rcFill.left : rcFill.right);
            const int nEnd = m_bVertical ? (bForward ? rcFill.bottom : rcFill.top)
                                         : (bForward ? rcFill.right : rcFill.left);
            for (int p = nStart; bOk && (bForward ? p < nEnd : p > nEnd); p += bForward ? nChunk + nSpace
                                                                                  : -(nChunk + nSpace)) {
                const int a = bForward ? p : std::max(nEnd, p - nChunk);
                const int b = bForward ? std::min(nEnd, p + nChunk) : p;
                CRect rcChunk = m_bVertical ? CRect(rcFill.left, a, rcFill.right, b) : CRect(a, rcFill.top, b, rcFill.bottom);
                bOk = SUCCEEDED(ux.DrawThemeBackground(dc.GetSafeHdc(), nPart, 1, &rcChunk, &rcChunk));
            }
        }
    }
    ux.CloseThemeData(true);
    return bOk;
}

void CExtGridCellProgress::_PaintBarClassic(CExtGridWnd& wndGrid, CDC& dc, CRect rcBar) const
{
    if (rcBar.IsRectEmpty()) return;
    const int nLength = m_bVertical ? rcBar.Height() : rcBar.Width();
    if (nLength > 2) {
        dc.Draw3dRect(&rcBar, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        rcBar.DeflateRect(1, 1);
        if (rcBar.IsRectEmpty()) return;
    }
    const COLORREF clrDefault = wndGrid.GetColor(COLOR_HIGHLIGHT);
    COLORREF clr1 = m_clrBar1 != COLORREF(-1) ? m_clrBar1 : clrDefault;
    COLORREF clr2 = m_clrBar2 != COLORREF(-1) ? m_clrBar2 : clrDefault;
    if (clr1 == clr2) {
        dc.FillSolidRect(&rcBar, clr1);
        return;
    }
    // Colour 1 lies at the bar's start edge; with the flip the colours run across it.
    const bool bVerticalFill = m_bVertical != m_bGradientFlip;
    if (!m_bGradientFlip && (m_bVertical ? !m_bReverse : m_bReverse)) std::swap(clr1, clr2);
    CExtPaintManager::GradientFillRect(dc, rcBar, clr1, clr2, bVerticalFill, 256);
}

void CExtGridCellProgress::_PaintBarText(const CRect& rcCellText, const CRect& rcBar, EXT_GRID_CELL_PAINT_ARGS) const
{
    const CString strText = GetProgressText();
    if (strText.IsEmpty()) return;
    CRect rcTarget(m_bTextInBar ? rcBar : rcCellText);
    if (m_bVertical)
        rcTarget.DeflateRect(0, 2);
    else
        rcTarget.DeflateRect(2, 0);
    if (rcTarget.IsRectEmpty()) return;
    bool bDeleteFont = false;
    HFONT hFont = OnQueryCellFont(&wndGrid, nColNo, nRowNo, nColType, nRowType, &bDeleteFont);
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    UINT nMeasure = DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX;
    if (strText.Find(_T('\t')) >= 0) nMeasure |= DT_EXPANDTABS;
    CRect rcMeasure(0, 0, 0, 0);
    ::DrawText(dc.GetSafeHdc(), strText, -1, &rcMeasure, nMeasure);
    if (rcMeasure.Width() <= rcTarget.Width() && rcMeasure.Height() <= rcTarget.Height()) {
        const COLORREF clrCell = OnQueryTextColor(EXT_GRID_CELL_PAINT_PASS);
        const COLORREF clrBase = clrCell != COLORREF(-1) ? clrCell : dc.GetTextColor();
        const COLORREF clr1 = m_clrText1 != COLORREF(-1) ? m_clrText1 : clrBase;
        const COLORREF clr2 = m_clrText2 != COLORREF(-1) ? m_clrText2 : clrBase;
        const UINT nFlags = OnQueryDrawTextFlags(true, true, true);
        const int nOldMode = dc.SetBkMode(TRANSPARENT);
        const COLORREF clrOld = dc.GetTextColor();
        if (!m_bTextInBar) {
            dc.SetTextColor(clr1);
            CRect rc(rcTarget);
            ::DrawText(dc.GetSafeHdc(), strText, -1, &rc, nFlags);
        }
        // The part of the text over the filled bar in colour 2, composed off screen so
        // that only that part changes.
        CRect rcPass;
        if (rcPass.IntersectRect(&rcTarget, &rcBar)) {
            CDC dcMem;
            CBitmap bmp;
            void* pBits = NULL;
            HBITMAP hBmp = CreateDib32(dc.GetSafeHdc(), rcTarget.Width(), rcTarget.Height(), &pBits);
            if (hBmp != NULL && dcMem.CreateCompatibleDC(&dc)) {
                bmp.Attach(hBmp);
                hBmp = NULL;
                CBitmap* pOldBmp = dcMem.SelectObject(&bmp);
                dcMem.BitBlt(0, 0, rcTarget.Width(), rcTarget.Height(), &dc, rcTarget.left, rcTarget.top, SRCCOPY);
                HGDIOBJ hOldMemFont = ::SelectObject(dcMem.GetSafeHdc(), ::GetCurrentObject(dc.GetSafeHdc(), OBJ_FONT));
                dcMem.SetBkMode(TRANSPARENT);
                dcMem.SetTextColor(clr2);
                CRect rcText(0, 0, rcTarget.Width(), rcTarget.Height());
                ::DrawText(dcMem.GetSafeHdc(), strText, -1, &rcText, nFlags);
                dc.BitBlt(rcPass.left, rcPass.top, rcPass.Width(), rcPass.Height(), &dcMem,
                          rcPass.left - rcTarget.left, rcPass.top - rcTarget.top, SRCCOPY);
                ::SelectObject(dcMem.GetSafeHdc(), hOldMemFont);
                dcMem.SelectObject(pOldBmp);
            }
            if (hBmp != NULL) ::DeleteObject(hBmp);
        }
        dc.SetTextColor(clrOld);
        dc.SetBkMode(nOldMode);
    }
    if (hOldFont != NULL) ::SelectObject(dc.GetSafeHdc(), hOldFont);
    if (bDeleteFont && hFont != NULL) ::DeleteObject(hFont);
}

void CExtGridCellProgress::OnPaintText(const RECT& rcCellText, EXT_GRID_CELL_PAINT_ARGS) const
{
    if (!dc.RectVisible(&rcCellText)) return;
    const CRect rc(rcCellText);
    const CRect rcBar = CalcBarRect(rc);
    const bool bThemed = m_clrBar1 == COLORREF(-1) && m_clrBar2 == COLORREF(-1);
    if (!bThemed || !_PaintBarThemed(wndGrid, dc, rc, rcBar)) _PaintBarClassic(wndGrid, dc, rcBar);
    if (m_nTextMode != __ETM_NONE) _PaintBarText(rc, rcBar, EXT_GRID_CELL_PAINT_PASS);
}
