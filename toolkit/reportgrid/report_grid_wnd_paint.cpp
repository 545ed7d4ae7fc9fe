// The report grid's painting: the header band, the extra space of rows and the preview
// under an item.
#include "toolkit/reportgrid/report_grid_wnd.h"
#include "toolkit/theme/paint_manager.h"

INT CExtReportGridWnd::GetRowExtraSpace(CExtReportGridItem* pItem, bool bAfter)
{
    if (pItem == NULL || m_hWnd == NULL || !::IsWindow(m_hWnd))
        return 0;
    if (pItem->IsGroupRow())
        return (m_dwReportStyle & __ERGS_BAND_STYLE) != 0 ? (bAfter ? 4 : 12) : 0;
    if (!bAfter || !IsPreviewStyle())
        return 0;
    CExtGridCell* pPreview = pItem->PreviewCellGet(NULL);
    if (pPreview == NULL)
        return 0;
    return pPreview->MeasureCell(this).cy + 4;
}

bool CExtReportGridWnd::PaintHeaderBand(CDC& dc, const RECT& rc, CObject* pHelperSrc, DWORD dwFlags)
{
    if ((GetScrollItemStyleEx() & 0x80000000) != 0 &&
        GetPaintManager()->DrawReportHeader(dc, rc, pHelperSrc, (LPARAM)dwFlags))
        return true;
    if ((m_dwReportStyle & __ERGS_BAND_STYLE) != 0 && !g_bmpHeader.IsEmpty())
    {
        const CSize sz = g_bmpHeader.GetSize();
        const CRect rcSrc(0, 0, sz.cx, sz.cy), rcPadding(0, 0, 0, 4);
        g_bmpHeader.DrawSkinParts(dc.GetSafeHdc(), rc, rcSrc, rcPadding, CExtBitmap::__EDM_STRETCH, true, false,
                                  SRCCOPY);
    }
    return false;
}

void CExtReportGridWnd::PaintPreview(CDC& dc, const RECT& rcPreview, CExtReportGridItem* pItem,
                                     CExtGridCell* pPreviewCell)
{
    if (pPreviewCell == NULL || ::IsRectEmpty(&rcPreview))
        return;
    // The grid's font, the one GetRowExtraSpace measured the preview with: the rows'
    // painting has already given the device context its own font back.
    CFont* pFont = GetPaintFont();
    CFont* pOldFont = pFont != NULL && pFont->GetSafeHandle() != NULL ? dc.SelectObject(pFont) : NULL;
    const COLORREF clrOld = dc.SetTextColor(GetPreviewTextColor(pItem));
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    pPreviewCell->OnPaint(*this, dc, -1, -1, -1, -1, 0, 0, rcPreview, rcPreview, rcPreview, 0x200, 0);
    dc.SetBkMode(nOldMode);
    dc.SetTextColor(clrOld);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}

COLORREF CExtReportGridWnd::GetPreviewTextColor(CExtReportGridItem* pItem)
{
    if (::GetFocus() != m_hWnd)
        return ::GetSysColor(COLOR_BTNTEXT);
    const LONG nRow = pItem != NULL ? ItemGetVisibleRow(ItemOf(pItem)) : -1;
    if (nRow < 0 || !IsSelected(0, nRow))
        return RGB(0, 0, 0xFF);
    return ::GetSysColor(COLOR_HIGHLIGHTTEXT);
}
