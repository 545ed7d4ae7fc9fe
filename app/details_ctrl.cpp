#include "app/details_ctrl.h"
#include "toolkit/dialogs/memory_dc.h"

IMPLEMENT_DYNAMIC(CExtDetailsCtrl, CExtReportCtrl)

BEGIN_MESSAGE_MAP(CExtDetailsCtrl, CExtReportCtrl)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CExtDetailsCtrl::CExtDetailsCtrl() {}

CExtDetailsCtrl::~CExtDetailsCtrl() {}

int CExtDetailsCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CExtReportCtrl::OnCreate(lpCreateStruct) == -1) return -1;
    ApplyListStyles();
    return 0;
}

void CExtDetailsCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    // No themed frame: the pane's caption bar frames the list.
    CExtMemoryDC dcBuffer(&dc, &rcClient, 0x03);
    DrawRows(&dcBuffer, &rcClient);
}

void CExtDetailsCtrl::OnSize(UINT nType, int cx, int cy)
{
    CExtReportCtrl::OnSize(nType, cx, cy);
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    if (pHeader != NULL && pHeader->GetSafeHwnd() != NULL && pHeader->GetItemCount() >= 1)
        SetColumnWidth(1, cx - GetColumnWidth(0));
}

void CExtDetailsCtrl::DrawRows(CDC* pDC, const RECT* pClient)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM != NULL)
        pPM->DrawToolbarBackground(*pDC, *pClient, this);
    else
        pDC->FillSolidRect(pClient, ::GetSysColor(COLOR_BTNFACE));
    int nCount = GetItemCount();
    int nTop = GetTopIndex();
    int nLast = nTop + GetCountPerPage() + 1;
    for (int nRow = nTop; nRow <= nLast && nRow < nCount; ++nRow) DrawRow(pDC, nRow);
}

void CExtDetailsCtrl::DrawRow(CDC* pDC, int nRow)
{
    m_clrGridLines = 0;
    m_bGridLines = true;
    CExtPaintManager* pPM = GetPaintManager();
    CFont* pOldFont = NULL;
    LVCOLUMN column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    for (int nColumn = 0; GetColumn(nColumn, &column); ++nColumn) {
        int nAlign = (column.fmt & LVCFMT_RIGHT) ? 2 : (column.fmt & LVCFMT_CENTER) ? 1 : 0;
        if (pPM != NULL) {
            CFont* pPrevious = pDC->SelectObject(nColumn == 0 ? &pPM->m_FontBold : &pPM->m_FontNormal);
            if (pOldFont == NULL) pOldFont = pPrevious;
        }
        DrawSubItem(pDC, nRow, nColumn, nAlign, false);
    }
    if (pOldFont != NULL) pDC->SelectObject(pOldFont);
}
