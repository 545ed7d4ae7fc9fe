// The grid window's construction, its provider, counts and cells in the four bands,
// extents read from the header cells and the proportional fitting of extents.
#include "toolkit/grid/grid_wnd.h"
#include <algorithm>
#include <new>
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNCREATE(CExtGridWnd, CExtGridBaseWnd)

BEGIN_MESSAGE_MAP(CExtGridWnd, CExtGridBaseWnd)
END_MESSAGE_MAP()

CExtGridCell* CExtGridWnd::g_pCellInplaceEditing = NULL;
CExtGridCell* CExtGridWnd::g_pCellTrackingButton = NULL;
CExtGridCell* CExtGridWnd::g_pCellTrackingOuterPress = NULL;
CExtGridCell* CExtGridWnd::g_pCellTrackingOuterDrag = NULL;

CExtGridWnd::CExtGridWnd()
    : m_hCursorOuterDragOK(::LoadCursor(NULL, IDC_ARROW)),
      m_hCursorOuterDragRemove(LoadAppCursor(30290)),
      m_pDataProvider(NULL),
      m_dwBehaviorStyle(__EGBS_DEFAULT),
      m_dwGridStyleEx(0),
      m_nEditedColNo(-1),
      m_nEditedRowNo(-1),
      m_hWndInplaceControl(NULL)
{
}

CExtGridWnd::~CExtGridWnd()
{
    delete m_pDataProvider;
    m_pDataProvider = NULL;
    // The arrow is the system's shared cursor and is not ours to destroy.
    if (m_hCursorOuterDragRemove != NULL && m_hCursorOuterDragRemove != m_hCursorOuterDragOK)
        ::DestroyCursor(m_hCursorOuterDragRemove);
}

LRESULT CExtGridWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY && m_hWndInplaceControl != NULL)
    {
        // The editor dies with the grid; its loop must not find the grid's record set.
        g_pCellInplaceEditing = NULL;
        m_nEditedColNo = m_nEditedRowNo = -1;
        m_hWndInplaceControl = NULL;
    }
    const LRESULT lResult = CExtGridBaseWnd::WindowProc(message, wParam, lParam);
    // A theme handle the shared visual-styles binding still holds may be this window's.
    if (message == WM_DESTROY)
        g_CurrentPaintManager.m_UxTheme.CloseThemeData();
    return lResult;
}

// ---- styles ---------------------------------------------------------------------

DWORD CExtGridWnd::GetBehaviorStyle() const { return m_dwBehaviorStyle; }
DWORD CExtGridWnd::GetGridStyleEx() const { return m_dwGridStyleEx; }

namespace {

DWORD ModifyStyleWord(CExtGridWnd* pWnd, DWORD& dwStyle, DWORD dwAdd, DWORD dwRemove, bool bRedraw)
{
    const bool bLive = bRedraw && ::IsWindow(pWnd->m_hWnd);
    if (bLive)
        pWnd->SendMessage(WM_CANCELMODE);
    const DWORD dwOld = dwStyle;
    dwStyle = (dwOld & ~dwRemove) | dwAdd;
    if (bLive)
        pWnd->UpdateScrollBars(), pWnd->Redraw();
    return dwOld;
}

}  // namespace

DWORD CExtGridWnd::ModifyBehaviorStyle(DWORD dwAdd, DWORD dwRemove, bool bRedraw)
{
    return ModifyStyleWord(this, m_dwBehaviorStyle, dwAdd, dwRemove, bRedraw);
}

DWORD CExtGridWnd::ModifyGridStyleEx(DWORD dwAdd, DWORD dwRemove, bool bRedraw)
{
    return ModifyStyleWord(this, m_dwGridStyleEx, dwAdd, dwRemove, bRedraw);
}

// ---- provider -------------------------------------------------------------------

CExtGridDataProvider* CExtGridWnd::GetDataProvider()
{
    if (m_pDataProvider != NULL)
        return m_pDataProvider;
    try
    {
        m_pDataProvider = new (std::nothrow) CExtGridDataProviderMemory(NULL, NULL, NULL, 32);
    }
    catch (CException* pException)
    {
        // The provider throws when it cannot make its allocators: no provider then.
        pException->Delete();
        m_pDataProvider = NULL;
    }
    return m_pDataProvider;
}

void CExtGridWnd::OuterReserved(ULONG& nColumns, ULONG& nRows)
{
    nColumns = nRows = 0;
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP != NULL)
        pDP->OuterCellsReservedGet(&nColumns, &nRows);
}

LONG CExtGridWnd::GridIconGetCount()
{
    CExtGridDataProvider* pDP = GetDataProvider();
    return pDP != NULL ? pDP->IconCountGet() : 0;
}

CExtCmdIcon* CExtGridWnd::GridIconGetAt(LONG nPos)
{
    CExtGridDataProvider* pDP = GetDataProvider();
    return pDP != NULL ? pDP->IconGet(nPos) : NULL;
}

void CExtGridWnd::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    // Generated state images were made in the old theme's colours.
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP != NULL)
    {
        const LONG nCount = pDP->IconCountGet();
        for (LONG i = 0; i < nCount; i++)
        {
            CExtCmdIcon* pIcon = pDP->IconGet(i);
            if (pIcon != NULL)
                pIcon->DropGeneratedStateImages();
        }
    }
    CExtGridBaseWnd::OnPaintManagerInstalled(pPM);
}

// ---- counts -----------------------------------------------------------------------

int CExtGridWnd::GetColumnCount() const
{
    CExtGridWnd* pThis = const_cast<CExtGridWnd*>(this);
    if ((GetScrollItemStyleEx() & __EGSE_EXTERNAL_DATA) != 0 && GetScrollTypeH() != __ESIS_ST_UNBOUNDED)
    {
        CExtGridDataProvider* pDP = pThis->GetDataProvider();
        if (pDP == NULL)
            return 0;
        const LONG nCount = (LONG)pDP->ColumnCountGet() - GetLeftOuterColumnCount() - GetRightOuterColumnCount();
        return std::max(0L, nCount);
    }
    return CExtGridBaseWnd::GetColumnCount();
}

int CExtGridWnd::GetRowCount() const
{
    CExtGridWnd* pThis = const_cast<CExtGridWnd*>(this);
    if ((GetScrollItemStyleEx() & __EGSE_EXTERNAL_DATA) != 0 && GetScrollTypeV() != __ESIS_ST_UNBOUNDED)
    {
        CExtGridDataProvider* pDP = pThis->GetDataProvider();
        if (pDP == NULL)
            return 0;
        const LONG nCount = (LONG)pDP->RowCountGet() - GetTopOuterRowCount() - GetBottomOuterRowCount();
        return std::max(0L, nCount);
    }
    return CExtGridBaseWnd::GetRowCount();
}

int CExtGridWnd::ChangeOuterCount(bool bColumns, bool bFar, int nCount, bool bRedraw)
{
    if (nCount < 0)
        nCount = 0;
    const int nNear = bColumns ? GetLeftOuterColumnCount() : GetTopOuterRowCount();
    const int nFarCount = bColumns ? GetRightOuterColumnCount() : GetBottomOuterRowCount();
    const int nOld = bFar ? nFarCount : nNear;
    if (nOld == nCount)
    {
        if (bRedraw && ::IsWindow(m_hWnd))
            UpdateScrollBars(), Redraw();
        return nOld;
    }
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL)
        return -1;
    const ULONG nL = GetLeftOuterColumnCount(), nR = GetRightOuterColumnCount();
    const ULONG nT = GetTopOuterRowCount(), nB = GetBottomOuterRowCount();
    const ULONG nNewCols = bColumns ? (bFar ? nL + nCount : nCount + nR) : nL + nR;
    const ULONG nNewRows = bColumns ? nT + nB : (bFar ? nT + nCount : nCount + nB);
    if (!pDP->OuterCellsReserve(nNewCols, nNewRows))
    {
        // The band's own items are the last ones of the band; the far band starts after
        // the near one.
        const ULONG nBase = bFar ? (ULONG)nNear : 0;
        bool bDone;
        if (nCount > nOld)
            bDone = bColumns ? pDP->ColumnInsert(nBase + nOld, nCount - nOld) : pDP->RowInsert(nBase + nOld, nCount - nOld);
        else
            bDone = bColumns ? pDP->ColumnRemove(nBase + nCount, nOld - nCount) : pDP->RowRemove(nBase + nCount, nOld - nCount);
        if (!bDone)
        {
            // The provider keeps its old shape, so it keeps the old reservation too.
            pDP->OuterCellsReserve(nL + nR, nT + nB);
            return -1;
        }
    }
    if (bColumns)
        return bFar ? CExtGridBaseWnd::SetRightOuterColumnCount(nCount, bRedraw)
                    : CExtGridBaseWnd::SetLeftOuterColumnCount(nCount, bRedraw);
    return bFar ? CExtGridBaseWnd::SetBottomOuterRowCount(nCount, bRedraw)
                : CExtGridBaseWnd::SetTopOuterRowCount(nCount, bRedraw);
}

int CExtGridWnd::SetLeftOuterColumnCount(int nCount, bool bRedraw) { return ChangeOuterCount(true, false, nCount, bRedraw); }
int CExtGridWnd::SetRightOuterColumnCount(int nCount, bool bRedraw) { return ChangeOuterCount(true, true, nCount, bRedraw); }
int CExtGridWnd::SetTopOuterRowCount(int nCount, bool bRedraw) { return ChangeOuterCount(false, false, nCount, bRedraw); }
int CExtGridWnd::SetBottomOuterRowCount(int nCount, bool bRedraw) { return ChangeOuterCount(false, true, nCount, bRedraw); }

bool CExtGridWnd::InsertInner(bool bColumns, int nPos, int nCount, bool bRedraw)
{
    if ((GetScrollItemStyleEx() & __EGSE_EXTERNAL_DATA) != 0)
        return false;
    const int nOld = bColumns ? GetColumnCount() : GetRowCount();
    if (nPos < 0)
        nPos = nOld;
    if (nCount < 0 || nPos > nOld || nOld < 0)
        return false;
    if (nCount == 0)
    {
        if (bRedraw && ::IsWindow(m_hWnd))
            UpdateScrollBars(), Redraw();
        return true;
    }
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL)
        return false;
    OnCancelTracking();
    const ULONG nOuter = bColumns ? GetLeftOuterColumnCount() + GetRightOuterColumnCount()
                                  : GetTopOuterRowCount() + GetBottomOuterRowCount();
    if (!(bColumns ? pDP->ColumnInsert(nOuter + nPos, nCount) : pDP->RowInsert(nOuter + nPos, nCount)))
        return false;
    return bColumns ? CExtGridBaseWnd::InsertColumns(nPos, nCount, bRedraw)
                    : CExtGridBaseWnd::InsertRows(nPos, nCount, bRedraw);
}

bool CExtGridWnd::InsertColumns(int nPos, int nCount, bool bRedraw) { return InsertInner(true, nPos, nCount, bRedraw); }
bool CExtGridWnd::InsertRows(int nPos, int nCount, bool bRedraw) { return InsertInner(false, nPos, nCount, bRedraw); }

int CExtGridWnd::RemoveInner(bool bColumns, int nPos, int nCount, bool bRedraw)
{
    if ((GetScrollItemStyleEx() & __EGSE_EXTERNAL_DATA) != 0)
        return 0;
    const int n = bColumns ? GetColumnCount() : GetRowCount();
    if (nCount < 0)
        nCount = n;
    if (nPos < 0 || n < 0 || nCount > n - nPos)
        return 0;
    if (nCount == 0)
    {
        if (bRedraw && ::IsWindow(m_hWnd))
            UpdateScrollBars(), Redraw();
        return 0;
    }
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL)
        return 0;
    OnCancelTracking();
    const ULONG nOuter = bColumns ? GetLeftOuterColumnCount() + GetRightOuterColumnCount()
                                  : GetTopOuterRowCount() + GetBottomOuterRowCount();
    if (!(bColumns ? pDP->ColumnRemove(nOuter + nPos, nCount) : pDP->RowRemove(nOuter + nPos, nCount)))
        return 0;
    return bColumns ? CExtGridBaseWnd::RemoveColumns(nPos, nCount, bRedraw)
                    : CExtGridBaseWnd::RemoveRows(nPos, nCount, bRedraw);
}

int CExtGridWnd::RemoveColumns(int nPos, int nCount, bool bRedraw) { return RemoveInner(true, nPos, nCount, bRedraw); }
int CExtGridWnd::RemoveRows(int nPos, int nCount, bool bRedraw) { return RemoveInner(false, nPos, nCount, bRedraw); }

// ---- cells ------------------------------------------------------------------------

LONG CExtGridWnd::ProviderColumn(LONG nColNo, INT nColType)
{
    if (nColType < 0)
        return nColNo;
    if (nColType > 0)
        return GetLeftOuterColumnCount() + nColNo;
    return GetLeftOuterColumnCount() + GetRightOuterColumnCount() + nColNo;
}

LONG CExtGridWnd::ProviderRow(LONG nRowNo, INT nRowType)
{
    if (nRowType < 0)
        return nRowNo;
    if (nRowType > 0)
        return GetTopOuterRowCount() + nRowNo;
    return GetTopOuterRowCount() + GetBottomOuterRowCount() + nRowNo;
}

// Whether index .. index + count - 1 lies inside its band.
bool CExtGridWnd::BandCountCheck(bool bColumns, LONG nIndex, INT nType, LONG nCount)
{
    LONG nBand;
    if (nType < 0)
        nBand = bColumns ? GetLeftOuterColumnCount() : GetTopOuterRowCount();
    else if (nType > 0)
        nBand = bColumns ? GetRightOuterColumnCount() : GetBottomOuterRowCount();
    else
    {
        nBand = bColumns ? GetColumnCount() : GetRowCount();
        if ((bColumns ? GetScrollTypeH() : GetScrollTypeV()) == __ESIS_ST_UNBOUNDED || nBand < 0)
        {
            CExtGridDataProvider* pDP = GetDataProvider();
            if (pDP == NULL)
                return false;
            nBand = bColumns ? (LONG)pDP->ColumnCountGet() - GetLeftOuterColumnCount() - GetRightOuterColumnCount()
                             : (LONG)pDP->RowCountGet() - GetTopOuterRowCount() - GetBottomOuterRowCount();
        }
    }
    return nIndex >= 0 && nCount >= 0 && nIndex < nBand && nCount <= nBand - nIndex;
}

CExtGridCell* CExtGridWnd::GridCellGet(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                       CRuntimeClass* pInitRTC, bool bAutoFindValue, bool bUseColumnDefaultValue)
{
    if (nColNo < 0 || nRowNo < 0 || (nColType != 0 && nRowType != 0))
        return NULL;
    if (!BandCountCheck(true, nColNo, nColType, 1) || !BandCountCheck(false, nRowNo, nRowType, 1))
        return NULL;
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL)
        return NULL;
    return pDP->CellGet(ProviderColumn(nColNo, nColType), ProviderRow(nRowNo, nRowType), pInitRTC, bAutoFindValue,
                        bUseColumnDefaultValue);
}

bool CExtGridWnd::GridCellSet(LONG nColNo, LONG nRowNo, const CExtGridCell* pCell, LONG nColCount, LONG nRowCount,
                              INT nColType, INT nRowType, bool bRedraw)
{
    if (nColNo < 0 || nRowNo < 0 || nColCount < 0 || nRowCount < 0 || (nColType != 0 && nRowType != 0))
        return false;
    if (nColCount == 0 || nRowCount == 0)
    {
        if (bRedraw && ::IsWindow(m_hWnd))
            Redraw();
        return true;
    }
    if (!BandCountCheck(true, nColNo, nColType, nColCount) || !BandCountCheck(false, nRowNo, nRowType, nRowCount))
        return false;
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL)
        return false;
    const bool bResult = pDP->CellRangeSet(ProviderColumn(nColNo, nColType), ProviderRow(nRowNo, nRowType), nColCount,
                                           nRowCount, pCell, false, NULL, true, true);
    if (bRedraw && ::IsWindow(m_hWnd))
        Redraw();
    return bResult;
}

CExtGridCell* CExtGridWnd::GetCell(const HIT_TEST_INFO& hti)
{
    if (hti.IsEmpty())
        return NULL;
    return GridCellGet(hti.m_nColNo, hti.m_nRowNo, hti.GetColumnType(), hti.GetRowType());
}

CExtGridCell* CExtGridWnd::GetOuterCellAtTop(LONG nColNo, CRuntimeClass* pInitRTC)
{
    return GridCellGet(nColNo, 0, 0, -1, pInitRTC);
}

// ---- extents --------------------------------------------------------------------------

CExtGridCell* CExtGridWnd::HeaderCellOf(bool bColumns, int nIndex)
{
    if (nIndex < 0)
        return NULL;
    const int nNear = bColumns ? GetTopOuterRowCount() : GetLeftOuterColumnCount();
    const int nFar = bColumns ? GetBottomOuterRowCount() : GetRightOuterColumnCount();
    const INT nBand = nNear > 0 ? -1 : (nFar > 0 ? 1 : 0);
    return bColumns ? GridCellGet(nIndex, 0, 0, nBand) : GridCellGet(0, nIndex, nBand, 0);
}

int CExtGridWnd::QueryItemExtent(bool bColumns, int nIndex, int* pBefore, int* pAfter)
{
    if (pBefore != NULL)
        *pBefore = 0;
    if (pAfter != NULL)
        *pAfter = 0;
    const DWORD dwUniform = bColumns ? GRID_UNIFORM_COLUMNS : GRID_UNIFORM_ROWS;
    if ((GetScrollItemStyle() & dwUniform) == 0)
    {
        CExtGridCell* pCell = HeaderCellOf(bColumns, nIndex);
        INT nExtent = 0;
        if (pCell != NULL && pCell->GetExtent(nExtent, 0))
        {
            INT nBefore = 0, nAfter = 0;
            pCell->GetExtraSpace(nBefore, false);
            pCell->GetExtraSpace(nAfter, true);
            if (pBefore != NULL)
                *pBefore = nBefore;
            if (pAfter != NULL)
                *pAfter = nAfter;
            return nExtent + nBefore + nAfter;
        }
    }
    return bColumns ? CExtGridBaseWnd::QueryColumnExtent(nIndex, pBefore, pAfter)
                    : CExtGridBaseWnd::QueryRowExtent(nIndex, pBefore, pAfter);
}

int CExtGridWnd::QueryColumnExtent(int nColumn, int* pBefore, int* pAfter)
{
    return QueryItemExtent(true, nColumn, pBefore, pAfter);
}

int CExtGridWnd::QueryRowExtent(int nRow, int* pBefore, int* pAfter)
{
    return QueryItemExtent(false, nRow, pBefore, pAfter);
}

bool CExtGridWnd::IsWalkColumnSkipped(int nColumn, DWORD dwAreaFlags)
{
    if (GetScrollTypeH() == __ESIS_ST_UNBOUNDED && nColumn >= 0)
    {
        CExtGridDataProvider* pDP = GetDataProvider();
        const LONG nInner = pDP == NULL ? 0
                                        : (LONG)pDP->ColumnCountGet() - GetLeftOuterColumnCount() -
                                              GetRightOuterColumnCount();
        if (nColumn >= nInner)
            return true;
    }
    return CExtGridBaseWnd::IsWalkColumnSkipped(nColumn, dwAreaFlags);
}

bool CExtGridWnd::IsWalkRowSkipped(int nRow, DWORD dwAreaFlags)
{
    if (GetScrollTypeV() == __ESIS_ST_UNBOUNDED && nRow >= 0)
    {
        CExtGridDataProvider* pDP = GetDataProvider();
        const LONG nInner =
            pDP == NULL ? 0 : (LONG)pDP->RowCountGet() - GetTopOuterRowCount() - GetBottomOuterRowCount();
        if (nRow >= nInner)
            return true;
    }
    return CExtGridBaseWnd::IsWalkRowSkipped(nRow, dwAreaFlags);
}

bool CExtGridWnd::IsItemRangeLimitedAtEnd(bool bHorz)
{
    if ((bHorz ? GetScrollTypeH() : GetScrollTypeV()) != __ESIS_ST_UNBOUNDED)
        return true;
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL || !pDP->CacheRangeQuery(bHorz))
        return false;
    RECT rcClient;
    GetClientRectEx(&rcClient);
    HIT_TEST_INFO hti(bHorz ? rcClient.right - 1 : rcClient.left + 1, bHorz ? rcClient.top + 1 : rcClient.bottom - 1);
    HitTest(hti, false, true, false);
    if (!hti.IsInner() || ::IsRectEmpty(&hti.m_rcExtra))
        return true;
    return !(bHorz ? hti.m_rcExtra.right > rcClient.right : hti.m_rcExtra.bottom > rcClient.bottom);
}

RECT* CExtGridWnd::CalcClientRect(RECT* pRect, bool bReposition, const RECT* pRectSrc)
{
    RECT rc;
    CExtGridBaseWnd::CalcClientRect(&rc, bReposition, pRectSrc);
    if (bReposition)
    {
        if (IsProportional(true))
            AdjustProportionalExtents(rc.right - rc.left, true, -1);
        if (IsProportional(false))
            AdjustProportionalExtents(rc.bottom - rc.top, false, -1);
    }
    if (pRect != NULL)
        *pRect = rc;
    return pRect;
}

CSize CExtGridWnd::GetGridMargins() const { return CSize(4, 4); }

bool CExtGridWnd::OnVisibleRangeChanging(const SCROLL_POSITION_INFO& next, const SCROLL_POSITION_INFO& last)
{
    if (!CExtGridBaseWnd::OnVisibleRangeChanging(next, last))
        return false;
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL)
        return true;
    // Item and unbounded axes scroll by items: their positions are the first shown
    // items; a pixel axis is asked for what it shows now.
    int nFirstCol = 0, nLastCol = -1, nFirstRow = 0, nLastRow = -1, nOffset = 0;
    GetVisibleColumnRange(nFirstCol, nLastCol, nOffset);
    GetVisibleRowRange(nFirstRow, nLastRow, nOffset);
    CRect rcNext(nFirstCol, nFirstRow, nLastCol, nLastRow), rcLast = rcNext;
    if (GetScrollTypeH() >= __ESIS_ST_ITEM)
    {
        rcNext.left = next.m_nPosH, rcNext.right = next.m_nPosH + std::max(0, next.m_nPageH - 1);
        rcLast.left = last.m_nPosH, rcLast.right = last.m_nPosH + std::max(0, last.m_nPageH - 1);
    }
    if (GetScrollTypeV() >= __ESIS_ST_ITEM)
    {
        rcNext.top = next.m_nPosV, rcNext.bottom = next.m_nPosV + std::max(0, next.m_nPageV - 1);
        rcLast.top = last.m_nPosV, rcLast.bottom = last.m_nPosV + std::max(0, last.m_nPageV - 1);
    }
    return pDP->CacheHint(rcNext, rcLast);
}

bool CExtGridWnd::GetItemResizeRange(bool bColumns, int nIndex, int& nMin, int& nMax)
{
    const DWORD dwUniform = bColumns ? GRID_UNIFORM_COLUMNS : GRID_UNIFORM_ROWS;
    if ((GetScrollItemStyle() & dwUniform) != 0)
    {
        nMin = 2;
        nMax = 32767;
        return true;
    }
    nMin = 0;
    nMax = 32767;
    CExtGridCell* pCell = HeaderCellOf(bColumns, nIndex);
    if (pCell != NULL)
    {
        INT nValue = 0;
        if (pCell->GetExtent(nValue, -1))
        {
            nMin = std::max(0, nValue);
            if (pCell->GetExtent(nValue, 1))
                nMax = nValue;
        }
    }
    const int nCount = bColumns ? GetColumnCount() : GetRowCount();
    if (IsProportional(bColumns) && nIndex >= 0 && nIndex < nCount)
    {
        // The items after this one must still fit between their own limits in what is
        // left of the client area.
        RECT rc;
        GetClientRectEx(&rc);
        const int nAvailable = bColumns ? rc.right - rc.left : rc.bottom - rc.top;
        long long nBefore = 0, nMinAfter = 0, nMaxAfter = 0;
        for (int i = 0; i < nCount; i++)
        {
            int nSpaceBefore = 0, nSpaceAfter = 0;
            const int nExtent = QueryItemExtent(bColumns, i, &nSpaceBefore, &nSpaceAfter);
            if (i < nIndex)
            {
                nBefore += std::max(0, nExtent);
                continue;
            }
            const int nExtras = std::max(0, nSpaceBefore) + std::max(0, nSpaceAfter);
            if (i == nIndex)
            {
                nBefore += nExtras;
                continue;
            }
            INT nItemMin = 0, nItemMax = 32767;
            HeaderExtentLimits(HeaderCellOf(bColumns, i), nItemMin, nItemMax);
            nMinAfter += std::max(0, nItemMin) + nExtras;
            nMaxAfter += std::max(0, nItemMax) + nExtras;
        }
        const long long nRoomMax = nAvailable - nBefore - nMinAfter;
        const long long nRoomMin = nAvailable - nBefore - nMaxAfter;
        if (nRoomMax < nMax)
            nMax = (int)std::max<long long>(nMin, nRoomMax);
        if (nRoomMin > nMin)
            nMin = (int)std::min<long long>(nMax, nRoomMin);
    }
    // The tracker sizes the whole item, extra space included (InnerExtent): the
    // header's limits on its own extent move by that space.
    const int nExtras = ItemExtraSpace(bColumns, nIndex);
    nMin += nExtras;
    nMax += nExtras;
    return nMin != nMax;
}

int CExtGridWnd::ItemExtraSpace(bool bColumns, int nIndex)
{
    int nBefore = 0, nAfter = 0;
    InnerExtent(bColumns, nIndex, &nBefore, &nAfter);
    return std::max(0, nBefore) + std::max(0, nAfter);
}

bool CExtGridWnd::GetColumnResizeRange(int nColumn, int& nMin, int& nMax)
{
    return GetItemResizeRange(true, nColumn, nMin, nMax);
}

bool CExtGridWnd::GetRowResizeRange(int nRow, int& nMin, int& nMax)
{
    return GetItemResizeRange(false, nRow, nMin, nMax);
}

void CExtGridWnd::OnResizeApply(bool bColumns, int nIndex, int nExtent)
{
    const DWORD dwUniform = bColumns ? GRID_UNIFORM_COLUMNS : GRID_UNIFORM_ROWS;
    if ((GetScrollItemStyle() & dwUniform) != 0)
    {
        if (bColumns)
            SetDefaultColumnExtent(nExtent, true);
        else
            SetDefaultRowExtent(nExtent, true);
        return;
    }
    CExtGridCell* pCell = HeaderCellOf(bColumns, nIndex);
    if (pCell != NULL)
    {
        // The tracked extent covers the whole item; the header keeps its extra space apart,
        // or every resize would grow the item by that space.
        INT nMin = 0, nMax = 32767;
        HeaderExtentLimits(pCell, nMin, nMax);
        nExtent -= ItemExtraSpace(bColumns, nIndex);
        ClampExtent(nExtent, nMin, nMax);
        pCell->SetExtent(nExtent, 0);
    }
    if (IsProportional(bColumns))
        FitProportional(bColumns, nIndex);
    else
        UpdateScrollBars();
    Redraw();
}

bool CExtGridWnd::IsProportional(bool bColumns) const
{
    return ScrollType(bColumns) == __ESIS_ST_NONE &&
           (m_dwGridStyleEx & (bColumns ? __EGSE_PROPORTIONAL_COLUMNS : __EGSE_PROPORTIONAL_ROWS)) != 0;
}

void CExtGridWnd::FitProportional(bool bColumns, int nIndex)
{
    RECT rc;
    GetClientRectEx(&rc);
    AdjustProportionalExtents(bColumns ? rc.right - rc.left : rc.bottom - rc.top, bColumns, nIndex);
}

void CExtGridWnd::HeaderExtentLimits(CExtGridCell* pHeader, INT& nMin, INT& nMax)
{
    nMin = 0;
    nMax = 32767;
    // A header without limits of its own leaves the whole range open.
    if (pHeader == NULL || !pHeader->GetExtent(nMin, -1))
    {
        nMin = 0;
        return;
    }
    pHeader->GetExtent(nMax, 1);
}

// ---- proportional fitting ----------------------------------------------------------------

namespace {

struct PROPORTIONAL_ITEM
{
    CExtGridCell* pHeader;
    int nMin, nExtent, nMax;
    double lfProportion;
};

// Moves items by one pixel toward the remainder while it lasts; items already at the
// limit of that direction stay. False when no item could move.
bool OnePixelPass(CArray<PROPORTIONAL_ITEM, const PROPORTIONAL_ITEM&>& arr, int nFirst, int nLast,
                  long long& nRemainder)
{
    const long long nBefore = nRemainder;
    for (int i = nFirst; i <= nLast && nRemainder != 0; i++)
    {
        PROPORTIONAL_ITEM& item = arr[i];
        if (item.nExtent <= item.nMin && nRemainder < 0)
            continue;
        if (item.nExtent >= item.nMax && nRemainder > 0)
            continue;
        if (nRemainder > 0)
            item.nExtent++, nRemainder--;
        else
            item.nExtent--, nRemainder++;
        if (item.pHeader != NULL)
            item.pHeader->SetExtent(item.nExtent, 0);
    }
    return nRemainder != nBefore;
}

// As many one-pixel passes as it takes, while any item can still move. Whole passes in
// which the remainder lasts and no item reaches its limit are taken at once: a stored
// extent of two thousand million pixels would otherwise take as many passes.
void SpreadRemainder(CArray<PROPORTIONAL_ITEM, const PROPORTIONAL_ITEM&>& arr, int nFirst, int nLast,
                     long long& nRemainder)
{
    while (nRemainder != 0)
    {
        const bool bGrow = nRemainder > 0;
        long long nMovable = 0, nRoom = 0;
        for (int i = nFirst; i <= nLast; i++)
        {
            const PROPORTIONAL_ITEM& item = arr[i];
            const long long nItemRoom =
                bGrow ? (long long)item.nMax - item.nExtent : (long long)item.nExtent - item.nMin;
            if (nItemRoom <= 0)
                continue;
            nRoom = nMovable == 0 ? nItemRoom : std::min(nRoom, nItemRoom);
            nMovable++;
        }
        if (nMovable == 0)
            return;
        const long long nPasses = std::min(nRoom, (bGrow ? nRemainder : -nRemainder) / nMovable);
        if (nPasses == 0)
        {
            // Fewer pixels left than items that can take one: the last pass.
            OnePixelPass(arr, nFirst, nLast, nRemainder);
            continue;
        }
        for (int i = nFirst; i <= nLast; i++)
        {
            PROPORTIONAL_ITEM& item = arr[i];
            if (bGrow ? item.nExtent >= item.nMax : item.nExtent <= item.nMin)
                continue;
            item.nExtent = (int)(item.nExtent + (bGrow ? nPasses : -nPasses));
            if (item.pHeader != NULL)
                item.pHeader->SetExtent(item.nExtent, 0);
        }
        nRemainder += bGrow ? -nPasses * nMovable : nPasses * nMovable;
    }
}

}  // namespace

void CExtGridWnd::AdjustProportionalExtents(int nAvailable, bool bColumns, int nKeepThrough)
{
    const int nCount = bColumns ? GetColumnCount() : GetRowCount();
    if (nAvailable <= 0 || nCount <= 0)
        return;
    CArray<PROPORTIONAL_ITEM, const PROPORTIONAL_ITEM&> arr;
    arr.SetSize(nCount);
    long long nAvail = nAvailable, nSumExtents = 0, nSumExtras = 0;
    double lfTotal = 0.0;
    bool bAllAtMin = true, bAllAtMax = true;
    for (int i = 0; i < nCount; i++)
    {
        int nBefore = 0, nAfter = 0;
        int nExtent = QueryItemExtent(bColumns, i, &nBefore, &nAfter);
        nBefore = std::max(0, nBefore);
        nAfter = std::max(0, nAfter);
        // The query answers the extent with its extra spaces included.
        nExtent = std::max(0, nExtent - nBefore - nAfter);
        PROPORTIONAL_ITEM& item = arr[i];
        item.pHeader = HeaderCellOf(bColumns, i);
        item.nMin = 0;
        item.nMax = 32767;
        item.lfProportion = 0.0;
        item.nExtent = nExtent;
        if (item.pHeader != NULL)
        {
            INT nValue = 0;
            if (item.pHeader->GetExtent(nValue, -1))
            {
                item.nMin = nValue;
                if (item.pHeader->GetExtent(nValue, 1))
                    item.nMax = nValue;
            }
            item.pHeader->GetProportionalExtent(item.lfProportion);
        }
        if (nKeepThrough >= 0 && i <= nKeepThrough)
        {
            nAvail -= nExtent + nBefore + nAfter;
            continue;
        }
        if (item.nMin <= nExtent && nExtent <= item.nMax)
            lfTotal += item.lfProportion;
        nSumExtents += nExtent;
        nSumExtras += nBefore + nAfter;
        if (nExtent > item.nMin)
            bAllAtMin = false;
        if (nExtent < item.nMax)
            bAllAtMax = false;
    }
    if (bAllAtMin && bAllAtMax)
        return;
    const long long nFree = std::max(0LL, nAvail - nSumExtras);
    if (nFree == nSumExtents)
        return;
    const long long nDelta = nFree - nSumExtents;
    if ((nDelta <= 0 && bAllAtMin) || (nDelta > 0 && bAllAtMax))
        return;
    const int nFirst = nKeepThrough >= 0 ? nKeepThrough + 1 : 0;
    long long nRemainder = nDelta;
    // Without any proportion to share by, the one-pixel passes below spread the delta.
    if (lfTotal > 0.0)
    {
        for (int i = nFirst; i < nCount; i++)
        {
            PROPORTIONAL_ITEM& item = arr[i];
            if ((nDelta < 0 && item.nExtent <= item.nMin) || (nDelta > 0 && item.nExtent >= item.nMax))
                continue;
            const long long nShare = (long long)(item.lfProportion * (double)nDelta / lfTotal);
            if (nShare == 0)
                continue;
            long long nNew = item.nExtent + nShare;
            nNew = std::min<long long>(std::max<long long>(nNew, item.nMin), item.nMax);
            // What a limit cut off stays in the remainder for the one-pixel passes, so the
            // items still fill the area.
            nRemainder -= nNew - item.nExtent;
            item.nExtent = (int)nNew;
            if (item.pHeader != NULL)
                item.pHeader->SetExtent(item.nExtent, 0);
        }
    }
    // The passes go on while some item can still move that way: an item at its limit
    // in the other direction (all at maximum while shrinking) does not stop them.
    if (nFirst < nCount)
        SpreadRemainder(arr, nFirst, nCount - 1, nRemainder);
    if (nKeepThrough >= 0)
        SpreadRemainder(arr, 0, std::min(nKeepThrough, nCount - 1), nRemainder);
}
