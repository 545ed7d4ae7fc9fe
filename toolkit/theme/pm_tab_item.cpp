// The shared painter of one tab item for strips on any of the four sides: the item body,
// then its icon and its text.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_tabs.h"
#include "toolkit/core/cmd_icon.h"

namespace {

void FillIfGiven(CDC& dc, const RECT& rc, COLORREF clr)
{
    if (clr != COLORREF(-1) && rc.right > rc.left && rc.bottom > rc.top)
        dc.FillSolidRect(&rc, clr);
}

// A poly-line of 1-pixel solid pen; each segment stops short of its end point.
void PenLine(CDC& dc, COLORREF clr, const POINT* pts, int nCount)
{
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, clr))
        return;
    CPen* pOld = dc.SelectObject(&pen);
    dc.MoveTo(pts[0].x, pts[0].y);
    for (int i = 1; i < nCount; i++)
        dc.LineTo(pts[i].x, pts[i].y);
    dc.SelectObject(pOld);
}

}  // namespace

void PaintTabItemContent(CExtPaintManager* pPMIcon, CDC& dc, const RECT& rcContent, bool bHorz,
                         bool bEnabled, bool bCenteredText, bool bGroupedMode,
                         bool bInGroupActive, bool bInvertedVerticalMode, bool bDrawIcon,
                         int cxTextMeasured, int cyTextMeasured, CFont* pFont, LPCTSTR sText,
                         CExtCmdIcon* pIcon, COLORREF clrText)
{
    if (sText == NULL)
        sText = _T("");
    int cxIcon = 0, cyIcon = 0;
    if (bDrawIcon && pIcon != NULL)
    {
        CSize sz = pIcon->GetSize();
        cxIcon = sz.cx;
        cyIcon = sz.cy;
    }
    const int nContentW = rcContent.right - rcContent.left;
    const int nContentH = rcContent.bottom - rcContent.top;

    RECT rcIcon = rcContent;
    if (bDrawIcon && cxIcon >= 1 && cyIcon >= 1)
    {
        ::SetRect(&rcIcon, rcContent.left, rcContent.top, rcContent.left + cxIcon,
                  rcContent.top + cyIcon);
        if (bHorz)
            ::OffsetRect(&rcIcon, 0, (nContentH - cyIcon) / 2);
        else
            ::OffsetRect(&rcIcon, (nContentW - cxIcon) / 2, 0);
        rcIcon.left = std::max(rcIcon.left, rcContent.left + 1);
        rcIcon.top = std::max(rcIcon.top, rcContent.top + 1);
        rcIcon.right = std::max(rcIcon.right, rcContent.right - 1);
        rcIcon.bottom = std::max(rcIcon.bottom, rcContent.bottom - 1);
    }

    RECT rcText = rcContent;
    if (bHorz)
        rcText.left += (cxIcon > 0) ? (cxIcon + 3) : 0;
    else
    {
        rcText.top += (cyIcon > 0) ? (cyIcon + 3) : 0;
        if (bInvertedVerticalMode)
            rcText.left = rcContent.left - 6;
        else
            rcText.right = rcContent.right + 6;
    }

    const bool bDrawText = (rcText.right - rcText.left) > 0 && rcContent.bottom > rcText.top;
    if (!bDrawText && !(bGroupedMode && !bInGroupActive))
    {
        // No room for the text: the icon alone, centred along the strip.
        if (bHorz)
            ::OffsetRect(&rcIcon, (nContentW - cxIcon) / 2, 0);
        else
            ::OffsetRect(&rcIcon, 0, (nContentH - cyIcon) / 2);
    }

    if (bDrawIcon && pIcon != NULL && pPMIcon != NULL &&
        (bHorz ? (rcIcon.right - rcIcon.left) >= cxIcon : (rcIcon.bottom - rcIcon.top) >= cyIcon))
    {
        ::OffsetRect(&rcIcon, -4, -1);
        RECT rcOut = {0, 0, 0, 0};
        pPMIcon->PaintIcon(&dc, true, CString(sText), pIcon, rcIcon, rcOut, false, bEnabled,
                           false, 0, false, COLORREF(-1));
    }

    if (!bDrawText)
        return;
    CFont* pOldFont = (pFont != NULL && pFont->GetSafeHandle() != NULL) ? dc.SelectObject(pFont) : NULL;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = dc.SetTextColor(clrText);
    if (bHorz)
    {
        UINT nFlags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
        if (bCenteredText)
            nFlags |= DT_CENTER;
        dc.DrawText(sText, -1, &rcText, nFlags);
    }
    else
    {
        // The font carries the rotation; the text runs along the item from its baseline.
        ::OffsetRect(&rcText, bInvertedVerticalMode ? (cyTextMeasured / 2) : -(cyTextMeasured / 2), 0);
        const UINT nOldAlign = dc.SetTextAlign(bCenteredText ? (TA_BASELINE | TA_CENTER) : TA_BASELINE);
        const int x = (rcText.left + rcText.right) / 2;
        int y;
        if (bCenteredText)
            y = (rcText.top + rcText.bottom) / 2;
        else if (bInvertedVerticalMode)
            y = rcText.top + cxTextMeasured - 4;
        else
            y = rcText.top + 4;
        dc.ExtTextOut(x, y, ETO_CLIPPED, &rcText, sText, (UINT)::lstrlen(sText), NULL);
        dc.SetTextAlign(nOldAlign);
    }
    dc.SetTextColor(clrOldText);
    dc.SetBkMode(nOldMode);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}

void CExtPaintManager::PaintTabItemShared(CDC& dc, const RECT&, bool bTopLeft, bool bHorz,
                                          bool bSelected, bool bEnabled, bool bCenteredText,
                                          bool bGroupedMode, bool bInGroupActive,
                                          bool bInvertedVerticalMode, bool bDrawIcon,
                                          const RECT& rcItem, int cxTextMeasured,
                                          int cyTextMeasured, CFont* pFont, LPCTSTR sText,
                                          CExtCmdIcon* pIcon, COLORREF clrText,
                                          COLORREF clrTabBk, COLORREF clrTabBorderLT,
                                          COLORREF clrTabBorderRB, COLORREF clrTabSeparator)
{
    const bool bBorders = clrTabBorderLT != COLORREF(-1) && clrTabBorderRB != COLORREF(-1);
    if (bGroupedMode)
    {
        RECT r = rcItem;
        if (bHorz)
        {
            r.right++;
            r.top -= 2;
            r.bottom += 2;
        }
        else
        {
            r.bottom++;
            r.left -= 2;
            r.right += 2;
        }
        FillIfGiven(dc, r, clrTabBk);
        if (bBorders)
            dc.Draw3dRect(&r, clrTabBorderLT, clrTabBorderRB);
    }
    else if (bSelected)
    {
        // Three sides are framed; the side toward the page stays open.
        RECT f = rcItem;
        if (bHorz && bTopLeft)
        {
            f.left--;
            f.bottom++;
            if (bBorders)
            {
                const POINT lt[] = {{f.left, f.bottom}, {f.left, f.top}, {f.right, f.top}};
                const POINT rb[] = {{f.right - 1, f.top}, {f.right - 1, f.bottom - 1}};
                PenLine(dc, clrTabBorderLT, lt, 3);
                PenLine(dc, clrTabBorderRB, rb, 2);
            }
            f.left++;
            f.top++;
            f.right--;
        }
        else if (bHorz)
        {
            f.left--;
            f.top--;
            if (bBorders)
            {
                const POINT lt[] = {{f.left, f.top - 1}, {f.left, f.bottom}};
                const POINT rb[] = {{f.left, f.bottom - 1}, {f.right - 1, f.bottom - 1}, {f.right - 1, f.top - 1}};
                PenLine(dc, clrTabBorderLT, lt, 2);
                PenLine(dc, clrTabBorderRB, rb, 3);
            }
            f.left++;
            f.right--;
            f.bottom--;
        }
        else if (bTopLeft)
        {
            f.top--;
            f.right++;
            if (bBorders)
            {
                const POINT lt[] = {{f.right - 1, f.top}, {f.left, f.top}, {f.left, f.bottom}};
                const POINT rb[] = {{f.left, f.bottom - 1}, {f.right - 1, f.bottom - 1}};
                PenLine(dc, clrTabBorderLT, lt, 3);
                PenLine(dc, clrTabBorderRB, rb, 2);
            }
            f.left++;
            f.top++;
            f.bottom--;
        }
        else
        {
            f.left--;
            f.top--;
            if (bBorders)
            {
                const POINT lt[] = {{f.left, f.top}, {f.right, f.top}};
                const POINT rb[] = {{f.right - 1, f.top}, {f.right - 1, f.bottom - 1}, {f.left, f.bottom - 1}};
                PenLine(dc, clrTabBorderLT, lt, 2);
                PenLine(dc, clrTabBorderRB, rb, 3);
            }
            f.top++;
            f.right--;
            f.bottom--;
        }
        FillIfGiven(dc, f, clrTabBk);
    }
    else
    {
        RECT rcSep;
        if (bHorz)
            ::SetRect(&rcSep, rcItem.right - 1, rcItem.top + 2, rcItem.right, rcItem.bottom - 2);
        else
            ::SetRect(&rcSep, rcItem.left + 2, rcItem.bottom - 1, rcItem.right - 2, rcItem.bottom);
        FillIfGiven(dc, rcSep, clrTabSeparator);
    }

    RECT rcContent = rcItem;
    ::InflateRect(&rcContent, -2, -2);
    PaintTabItemContent(g_CurrentPaintManager.GetPM(), dc, rcContent, bHorz, bEnabled,
                        bCenteredText, bGroupedMode, bInGroupActive, bInvertedVerticalMode,
                        bDrawIcon, cxTextMeasured, cyTextMeasured, pFont, sText, pIcon, clrText);
}
