// CExtDockOuterBar: the frame-edge dock bar of fixed bars. A row's bars keep the length
// the user gave them while they fit; when the row is too short they first close the
// gaps, then shrink from the row's end towards its start down to their minimums, the
// more preferred taking their lengths back from the less preferred; only a row that
// does not fit even then wraps. The planning works on plain records; windows move only
// in LayoutRow's last step.
#include "toolkit/bars/dock_bar.h"
#include <algorithm>
#include "framework/afxres.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"

IMPLEMENT_DYNAMIC(CExtDockOuterBar, CExtDockBar)

BEGIN_MESSAGE_MAP(CExtDockOuterBar, CExtDockBar)
    ON_WM_TIMER()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
    ON_MESSAGE(WM_DISPLAYCHANGE, &CExtDockOuterBar::OnDisplayChange)
    ON_MESSAGE(WM_THEMECHANGED, &CExtDockOuterBar::OnThemeChanged)
END_MESSAGE_MAP()

namespace {

typedef CExtDockOuterBar::OuterLayoutItemData Item;

int Start(const CRect& rc, bool bHorz) { return bHorz ? rc.left : rc.top; }
int End(const CRect& rc, bool bHorz) { return bHorz ? rc.right : rc.bottom; }
int Len(const CRect& rc, bool bHorz) { return bHorz ? rc.Width() : rc.Height(); }
int Along(const CSize& s, bool bHorz) { return bHorz ? s.cx : s.cy; }
int Across(const CSize& s, bool bHorz) { return bHorz ? s.cy : s.cx; }

void MoveAlong(CRect& rc, int nDelta, bool bHorz) { rc.OffsetRect(bHorz ? nDelta : 0, bHorz ? 0 : nDelta); }
void SetStart(CRect& rc, int nStart, bool bHorz) { MoveAlong(rc, nStart - Start(rc, bHorz), bHorz); }
void SetEnd(CRect& rc, int nEnd, bool bHorz)
{
    if (bHorz)
        rc.right = nEnd;
    else
        rc.bottom = nEnd;
}
void SetLen(CRect& rc, int nLen, bool bHorz) { SetEnd(rc, Start(rc, bHorz) + nLen, bHorz); }

int PrefLen(const Item& item, bool bHorz)
{
    if (item.m_pPlace != NULL)
    {
        const int n = bHorz ? item.m_pPlace->m_nPrefHorz : item.m_pPlace->m_nPrefVert;
        if (n > 0)
            return n;
    }
    return Along(item.m_size, bHorz);
}

bool IsRanked(const Item& item) { return item.m_pPlace != NULL && item.m_pPlace->m_nOrder != 0; }

// Packs the plans of [nFirst, nLast] so that none ends beyond the start of the next one
// and the last none beyond nLimit.
void PackBackwards(CArray<CRect, CRect&>& arr, int nLimit, bool bHorz)
{
    for (INT_PTR i = arr.GetSize() - 1; i >= 0; i--)
    {
        const int nMaxEnd = (i == arr.GetSize() - 1) ? nLimit : Start(arr[i + 1], bHorz);
        if (End(arr[i], bHorz) > nMaxEnd)
            MoveAlong(arr[i], nMaxEnd - End(arr[i], bHorz), bHorz);
    }
}

// Puts the plans end to end, the last ending at nLimit.
void PackTight(CArray<CRect, CRect&>& arr, int nLimit, bool bHorz)
{
    for (INT_PTR i = arr.GetSize() - 1; i >= 0; i--)
    {
        const int nEnd = (i == arr.GetSize() - 1) ? nLimit : Start(arr[i + 1], bHorz);
        MoveAlong(arr[i], nEnd - End(arr[i], bHorz), bHorz);
    }
}

}  // namespace

// ---- records --------------------------------------------------------------------------

CExtDockOuterBar::OuterLayoutItemData::OuterLayoutItemData()
    : m_pBar(NULL), m_bVisible(false), m_size(0, 0), m_sizeMin(0, 0), m_pPlace(NULL), m_bShrinkable(true),
      m_bTakesThickness(false)
{
    m_rcPreCalc.SetRectEmpty();
    m_rcBar.SetRectEmpty();
}

CExtDockOuterBar::OuterLayoutItemData::OuterLayoutItemData(CControlBar* pBar, bool bHorz, const CSize& sizeAvail,
                                                           bool)
    : OuterLayoutItemData()
{
    m_pBar = pBar;
    if (pBar == NULL || pBar->m_hWnd == NULL)
        return;
    m_bVisible = pBar->IsVisible() != FALSE;
    if (!m_bVisible)
        return;
    DWORD dwMode = LM_VERTDOCK;
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) != 0 && (pBar->m_dwStyle & CBRS_FLOATING) != 0)
        dwMode = LM_HORZ | LM_MRUWIDTH;
    else if ((pBar->m_dwStyle & CBRS_ORIENT_HORZ) != 0)
        dwMode = LM_HORZ | LM_HORZDOCK;
    m_size = pBar->CalcDynamicLayout(-1, dwMode);
    CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
    if (pExt != NULL && pExt->IsFullRow())
    {
        if (dwMode == (LM_HORZ | LM_HORZDOCK))
            m_size.cx = sizeAvail.cx;
        else if (dwMode == LM_VERTDOCK)
            m_size.cy = sizeAvail.cy;
    }
    CRect rcWnd, rcClient;
    pBar->GetWindowRect(&rcWnd);
    pBar->GetClientRect(&rcClient);
    m_sizeMin = CSize(rcWnd.Width() - rcClient.Width(), rcWnd.Height() - rcClient.Height());
    if (pExt != NULL)
    {
        m_sizeMin += pExt->GetMinSize();
        m_pPlace = pExt->GetOuterPlace();
        m_bShrinkable = pExt->IsFixedMode();
        m_bTakesThickness = pExt->TakesRowThickness();
    }
    (void)bHorz;
}

// ---- construction and messages ----------------------------------------------------------

CExtDockOuterBar::CExtDockOuterBar() : CExtDockBar(0), m_bFrameRecalcInProgress(false), m_bFrameRecalcPending(false) {}

CExtDockOuterBar::~CExtDockOuterBar() {}

void CExtDockOuterBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != 901)
    {
        CExtDockBar::OnTimer(nIDEvent);
        return;
    }
    if (RecalcFrameLayout())
    {
        KillTimer(901);
        m_bFrameRecalcPending = false;
    }
}

bool CExtDockOuterBar::RecalcFrameLayout()
{
    if (m_bFrameRecalcInProgress)
        return false;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL || pFrame->m_hWnd == NULL || pFrame->m_bInRecalcLayout ||
        CExtControlBar::IsFrameRegistered(pFrame) || (pFrame->GetStyle() & WS_VISIBLE) == 0)
        return false;
    m_bFrameRecalcInProgress = true;
    pFrame->RecalcLayout(TRUE);
    m_bFrameRecalcInProgress = false;
    return true;
}

void CExtDockOuterBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (CExtControlBar::IsFrameInHelpMode(this))
        return;
    // No customize site in this system offers a customize operation on a double click.
    CExtDockBar::OnLButtonDblClk(nFlags, point);
}

void CExtDockOuterBar::OnSysColorChange()
{
    Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_SYSCOLORCHANGE, 0, 0);
}

void CExtDockOuterBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_SETTINGCHANGE, uFlags, LPARAM(lpszSection));
}

LRESULT CExtDockOuterBar::OnDisplayChange(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_DISPLAYCHANGE, wParam, lParam);
    return lResult;
}

LRESULT CExtDockOuterBar::OnThemeChanged(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_THEMECHANGED, wParam, lParam);
    return lResult;
}

// ---- the layout -----------------------------------------------------------------------

CSize CExtDockOuterBar::CalcFixedLayout(BOOL bStretch, BOOL bHorzArg)
{
    const bool bHorz = bHorzArg != FALSE;
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorzArg);
    const CSize sizeAvail = GetLayoutArea();
    AFX_SIZEPARENTPARAMS layout;
    ::ZeroMemory(&layout, sizeof(layout));
    layout.hDWP = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos(int(m_arrBars.GetSize()));
    layout.bStretch = bStretch;
    CPoint ptPen(0, 0);
    OuterItemsArr_t arrRow;
    // Collect first: the row layout may insert row ends into the array it walks.
    CArray<CControlBar*, CControlBar*> arrEntries;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
    {
        void* p = m_arrBars[i];
        if (p == NULL)
            arrEntries.Add(NULL);
        else if (UINT_PTR(p) > 0xFFFF)
            arrEntries.Add(static_cast<CControlBar*>(p));
    }
    for (INT_PTR i = 0; i <= arrEntries.GetSize(); i++)
    {
        CControlBar* pBar = i < arrEntries.GetSize() ? arrEntries[i] : NULL;
        if (pBar != NULL)
        {
            arrRow.Add(OuterLayoutItemData(pBar, bHorz, sizeAvail, m_bFloating != FALSE));
            continue;
        }
        if (arrRow.GetSize() > 0)
        {
            LayoutRow(sizeFixed, sizeAvail, ptPen, bHorz, &layout, arrRow);
            arrRow.RemoveAll();
        }
    }
    return EndFixedLayout(sizeFixed, layout, bStretch, bHorz);
}

void CExtDockOuterBar::LayoutRow(CSize& sizeFixed, const CSize& sizeAvail, CPoint& ptPen, bool bHorz,
                                 AFX_SIZEPARENTPARAMS* pLayout, OuterItemsArr_t& arrRow, int* pnRows, bool* pbRowFull)
{
    for (INT_PTR i = arrRow.GetSize() - 1; i >= 0; i--)
    {
        Item& item = arrRow[i];
        if (!item.m_bVisible)
        {
            if (item.m_pBar != NULL && item.m_pBar->m_hWnd != NULL && pLayout != NULL)
                item.m_pBar->RecalcDelayShow(pLayout);
            arrRow.RemoveAt(i);
            continue;
        }
        if (item.m_pBar != NULL && item.m_pBar->m_hWnd != NULL && m_hWnd != NULL)
        {
            item.m_pBar->GetWindowRect(&item.m_rcBar);
            ScreenToClient(&item.m_rcBar);
        }
    }
    const INT_PTR nCount = arrRow.GetSize();
    PlanRow(sizeFixed, sizeAvail, ptPen, bHorz, m_bFloating != FALSE, arrRow, pnRows, pbRowFull);
    if (m_bLayoutQuery || nCount == 0 || pLayout == NULL)
        return;
    for (INT_PTR i = 0; i < nCount; i++)
    {
        Item& item = arrRow[i];
        if (item.m_pBar == NULL || item.m_pBar->m_hWnd == NULL || item.m_rcPreCalc == item.m_rcBar)
            continue;
        AfxRepositionWindow(pLayout, item.m_pBar->m_hWnd, &item.m_rcPreCalc);
        if ((item.m_pBar->m_dwStyle & CBRS_FLOATING) == 0 && item.m_pBar->m_pDockContext != NULL)
            item.m_pBar->m_pDockContext->m_rectMRUDockPos = item.m_rcPreCalc;
    }
}

void CExtDockOuterBar::PlanRow(CSize& sizeFixed, const CSize& sizeAvail, CPoint& ptPen, bool bHorz, bool bFloating,
                               OuterItemsArr_t& arrRow, int* pnRows, bool* pbRowFull)
{
    if (pnRows != NULL)
        *pnRows = 1;
    if (pbRowFull != NULL)
        *pbRowFull = false;
    const INT_PTR nCount = arrRow.GetSize();
    const int nAvail = Along(sizeAvail, bHorz);
    CArray<INT_PTR, INT_PTR> arrOrder;
    BuildPreferenceOrder(bHorz, arrOrder, arrRow, true);

    int nThickness = 0;
    INT_PTR nSegStart = 0;
    bool bStillFitting = true, bLastFitted = true;
    for (INT_PTR i = 0; i < nCount; i++)
    {
        Item& item = arrRow[i];
        item.m_rcPreCalc = CRect(ptPen, item.m_size);
        const int nPen = bHorz ? ptPen.x : ptPen.y;
        if (!bFloating && Start(item.m_rcBar, bHorz) > nPen && !item.m_rcBar.IsRectEmpty())
            SetStart(item.m_rcPreCalc, Start(item.m_rcBar, bHorz), bHorz);
        if (End(item.m_rcPreCalc, bHorz) >= nAvail && item.m_bShrinkable)
        {
            bLastFitted = FitSegment(arrRow, nSegStart, i, nAvail, bHorz, bStillFitting, pbRowFull);
            if (!bLastFitted && i > nSegStart)
            {
                if (pnRows != NULL)
                    (*pnRows)++;
                if (pbRowFull != NULL)
                    *pbRowFull = true;
                EqualizeThickness(bHorz, arrRow, nSegStart, i - 1);
                AdvanceRow(nThickness, sizeFixed, ptPen, bHorz);
                item.m_rcPreCalc = CRect(ptPen, item.m_size);
                nSegStart = i;
            }
        }
        if (bHorz)
            ptPen.x = item.m_rcPreCalc.right;
        else
            ptPen.y = item.m_rcPreCalc.bottom;
        nThickness = std::max(nThickness, Across(item.m_size, bHorz));
    }
    if (bLastFitted && nCount > 0)
        EqualizeThickness(bHorz, arrRow, nSegStart, nCount - 1);

    // Nothing had to shrink: bars go back towards where the user left them.
    if (bStillFitting)
    {
        for (int nPass = 0; nPass < 2; nPass++)
        {
            for (INT_PTR k = arrOrder.GetSize() - 1; k >= 0; k--)
            {
                const INT_PTR i = arrOrder[k];
                Item& item = arrRow[i];
                if (!IsRanked(item) || ::IsRectEmpty(&item.m_pPlace->m_rcLast))
                    continue;
                const int nMove = Start(CRect(item.m_pPlace->m_rcLast), bHorz) - Start(item.m_rcPreCalc, bHorz);
                if (nMove == 0)
                    continue;
                if (nPass == 0)
                    PushTowards(bHorz, arrRow, i, nMove, nAvail);
                else
                    SlideTowards(bHorz, arrRow, i, nMove, nAvail);
            }
        }
    }
    for (INT_PTR i = 0; i < nCount; i++)
    {
        Item& item = arrRow[i];
        if (End(item.m_rcPreCalc, bHorz) > nAvail)
        {
            SetEnd(item.m_rcPreCalc, nAvail, bHorz);
            const int nMin = Along(item.m_sizeMin, bHorz);
            if (Len(item.m_rcPreCalc, bHorz) < nMin)
                SetLen(item.m_rcPreCalc, nMin, bHorz);
        }
    }
    if (nCount > 0)
        AdvanceRow(nThickness, sizeFixed, ptPen, bHorz);
}

void CExtDockOuterBar::AdvanceRow(int& nThickness, CSize& sizeFixed, CPoint& ptPen, bool bHorz)
{
    if (nThickness == 0)
        return;
    if (bHorz)
        ptPen.y += nThickness;
    else
        ptPen.x += nThickness;
    sizeFixed.cx = std::max(sizeFixed.cx, LONG(ptPen.x));
    sizeFixed.cy = std::max(sizeFixed.cy, LONG(ptPen.y));
    if (bHorz)
    {
        sizeFixed.cy--;
        ptPen.x = 0;
    }
    else
    {
        sizeFixed.cx--;
        ptPen.y = 0;
    }
    nThickness = 0;
}

void CExtDockOuterBar::EqualizeThickness(bool bHorz, OuterItemsArr_t& arrRow, INT_PTR nFirst, INT_PTR nLast)
{
    int nMax = 0;
    INT_PTR nFirstTaker = -1, nLastTaker = -1;
    for (INT_PTR i = nFirst; i <= nLast && i < arrRow.GetSize(); i++)
    {
        if (!arrRow[i].m_bTakesThickness)
            continue;
        const CRect& rc = arrRow[i].m_rcPreCalc;
        nMax = std::max(nMax, int(bHorz ? rc.Height() : rc.Width()));
        if (nFirstTaker < 0)
            nFirstTaker = i;
        nLastTaker = i;
    }
    if (nFirstTaker < 0 || nFirstTaker == nLastTaker)
        return;
    for (INT_PTR i = nFirstTaker; i <= nLastTaker; i++)
    {
        if (!arrRow[i].m_bTakesThickness)
            continue;
        CRect& rc = arrRow[i].m_rcPreCalc;
        if (bHorz)
            rc.bottom = rc.top + nMax;
        else
            rc.right = rc.left + nMax;
    }
}

void CExtDockOuterBar::BuildPreferenceOrder(bool bHorz, CArray<INT_PTR, INT_PTR>& arrOrder, OuterItemsArr_t& arrRow,
                                            bool bRank, INT_PTR nFirst, INT_PTR nLast)
{
    arrOrder.RemoveAll();
    if (nLast < 0 || nLast >= arrRow.GetSize())
        nLast = arrRow.GetSize() - 1;
    UINT nNext = UINT(arrRow.GetSize()) + 1;
    for (INT_PTR i = nFirst; i <= nLast; i++)
    {
        Item& item = arrRow[i];
        CExtControlBar::OuterPlace_t* pPlace = item.m_pPlace;
        if (pPlace != NULL && bRank)
        {
            if (pPlace->m_nOrder == 0)
                pPlace->m_nOrder = nNext++;
            if (::IsRectEmpty(&pPlace->m_rcLast))
                pPlace->m_rcLast = item.m_rcBar;
            int& nPref = bHorz ? pPlace->m_nPrefHorz : pPlace->m_nPrefVert;
            if (nPref == 0)
                nPref = Len(item.m_rcBar, bHorz);
            if (nPref > Along(item.m_size, bHorz))
                nPref = Along(item.m_size, bHorz);
        }
        const bool bListedAsRanked = pPlace != NULL && pPlace->m_nOrder != 0 &&
                                     (bRank || !::IsRectEmpty(&pPlace->m_rcLast));
        if (!bListedAsRanked)
        {
            arrOrder.Add(i);
            continue;
        }
        INT_PTR nAt = arrOrder.GetSize();
        for (INT_PTR k = 0; k < arrOrder.GetSize(); k++)
        {
            const Item& other = arrRow[arrOrder[k]];
            const bool bOtherRanked = other.m_pPlace != NULL && other.m_pPlace->m_nOrder != 0 &&
                                      (bRank || !::IsRectEmpty(&other.m_pPlace->m_rcLast));
            if (!bOtherRanked || other.m_pPlace->m_nOrder > pPlace->m_nOrder)
            {
                nAt = k;
                break;
            }
        }
        arrOrder.InsertAt(nAt, i);
    }
}

bool CExtDockOuterBar::FitSegment(OuterItemsArr_t& arrRow, INT_PTR nFirst, INT_PTR nLast, int nAvail, bool bHorz,
                                  bool& bStillFitting, bool* pbRowFull)
{
    if (nFirst < 0 || nLast >= arrRow.GetSize() || nFirst > nLast)
        return true;
    CArray<CRect, CRect&> arrWork;
    for (INT_PTR i = nFirst; i <= nLast; i++)
        arrWork.Add(arrRow[i].m_rcPreCalc);
    const INT_PTR nCount = arrWork.GetSize();

    // Closing the gaps first.
    PackBackwards(arrWork, nAvail, bHorz);
    bool bBalanced = false;
    if (Start(arrWork[0], bHorz) < 0)
    {
        // Then shrinking, from the segment's end towards its start.
        bStillFitting = false;
        int nExcess = -Start(arrWork[0], bHorz);
        for (INT_PTR i = nCount - 1; i >= 0 && nExcess > 0; i--)
        {
            const int nMin = Along(arrRow[nFirst + i].m_sizeMin, bHorz);
            const int nGive = std::min(nExcess, std::max(0, Len(arrWork[i], bHorz) - nMin));
            if (bHorz)
                arrWork[i].left += nGive;
            else
                arrWork[i].top += nGive;
            nExcess -= nGive;
        }
        if (nExcess > 0)
            return false;
        PackTight(arrWork, nAvail, bHorz);
        if (Start(arrWork[0], bHorz) < 0)
            return false;
        // The segment is packed from 0: the more preferred bars take their lengths back
        // from the less preferred ones.
        if (Start(arrWork[0], bHorz) == 0 && nCount > 1)
        {
            CArray<INT_PTR, INT_PTR> arrOrder;
            BuildPreferenceOrder(bHorz, arrOrder, arrRow, false, nFirst, nLast);
            bool bMoved = false;
            for (INT_PTR k = arrOrder.GetSize() - 2; k >= 0; k--)
            {
                const INT_PTR nTaker = arrOrder[k] - nFirst;
                if (!IsRanked(arrRow[arrOrder[k]]))
                    continue;
                int nWant = PrefLen(arrRow[arrOrder[k]], bHorz) - Len(arrWork[nTaker], bHorz);
                for (INT_PTR g = arrOrder.GetSize() - 1; g > k && nWant > 0; g--)
                {
                    if (!IsRanked(arrRow[arrOrder[g]]))
                        continue;
                    const INT_PTR nGiver = arrOrder[g] - nFirst;
                    const int nMin = Along(arrRow[arrOrder[g]].m_sizeMin, bHorz);
                    const int nGive = std::min(nWant, std::max(0, Len(arrWork[nGiver], bHorz) - nMin));
                    if (nGive <= 0)
                        continue;
                    SetEnd(arrWork[nGiver], End(arrWork[nGiver], bHorz) - nGive, bHorz);
                    SetEnd(arrWork[nTaker], End(arrWork[nTaker], bHorz) + nGive, bHorz);
                    nWant -= nGive;
                    bMoved = true;
                }
            }
            if (bMoved)
            {
                int nPos = 0;
                for (INT_PTR i = 0; i < nCount; i++)
                {
                    SetStart(arrWork[i], nPos, bHorz);
                    nPos = End(arrWork[i], bHorz);
                }
                bBalanced = true;
            }
        }
    }
    const bool bWholeRow = nFirst == 0 && nLast == arrRow.GetSize() - 1;
    bool bDecideFull = pbRowFull != NULL && !*pbRowFull && bWholeRow;
    if (bDecideFull && bBalanced)
    {
        *pbRowFull = true;
        bDecideFull = false;
    }
    for (INT_PTR i = 0; i < nCount; i++)
        arrRow[nFirst + i].m_rcPreCalc = arrWork[i];
    if (bDecideFull)
    {
        bool bFull = Start(arrWork[0], bHorz) <= 0 && End(arrWork[nCount - 1], bHorz) >= nAvail;
        for (INT_PTR i = 1; i < nCount && bFull; i++)
            bFull = Start(arrWork[i], bHorz) <= End(arrWork[i - 1], bHorz);
        *pbRowFull = bFull;
    }
    return true;
}

void CExtDockOuterBar::PushTowards(bool bHorz, OuterItemsArr_t& arrRow, INT_PTR nIndex, int nMove, int nAvail)
{
    CRect& rc = arrRow[nIndex].m_rcPreCalc;
    if (nMove > 0)
    {
        const bool bLast = nIndex == arrRow.GetSize() - 1;
        int nRoom = (bLast ? nAvail : Start(arrRow[nIndex + 1].m_rcPreCalc, bHorz)) - End(rc, bHorz);
        if (!bLast && nRoom < nMove)
        {
            PushTowards(bHorz, arrRow, nIndex + 1, nMove - std::max(nRoom, 0), nAvail);
            nRoom = Start(arrRow[nIndex + 1].m_rcPreCalc, bHorz) - End(rc, bHorz);
        }
        MoveAlong(rc, std::max(0, std::min(nMove, nRoom)), bHorz);
    }
    else if (nMove < 0)
    {
        const int nLimit = nIndex > 0 ? End(arrRow[nIndex - 1].m_rcPreCalc, bHorz) : 0;
        MoveAlong(rc, std::min(0, std::max(nMove, nLimit - Start(rc, bHorz))), bHorz);
    }
}

void CExtDockOuterBar::SlideTowards(bool bHorz, OuterItemsArr_t& arrRow, INT_PTR nIndex, int nMove, int nAvail)
{
    CRect& rc = arrRow[nIndex].m_rcPreCalc;
    if (nMove > 0)
    {
        const bool bLast = nIndex == arrRow.GetSize() - 1;
        const int nRoom = (bLast ? nAvail : Start(arrRow[nIndex + 1].m_rcPreCalc, bHorz)) - End(rc, bHorz);
        MoveAlong(rc, std::max(0, std::min(nMove, nRoom)), bHorz);
    }
    else if (nMove < 0)
    {
        const int nLimit = nIndex > 0 ? End(arrRow[nIndex - 1].m_rcPreCalc, bHorz) : 0;
        MoveAlong(rc, std::min(0, std::max(nMove, nLimit - Start(rc, bHorz))), bHorz);
    }
}

// ---- registration and row operations ------------------------------------------------------

void CExtDockOuterBar::RegisterBar(CExtControlBar* pBar)
{
    if (pBar == NULL)
        return;
    CExtControlBar::OuterPlace_t* pPlace = pBar->GetOuterPlace();
    if (pPlace == NULL)
        return;
    pPlace->m_nOrder = 1;
    const int nPos = FindBar(pBar);
    if (nPos <= 0)
        return;
    INT_PTR nStart = nPos;
    while (nStart > 1 && m_arrBars[nStart - 1] != NULL)
        nStart--;
    CArray<CExtControlBar*, CExtControlBar*> arrRow;
    for (INT_PTR i = nStart; i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++)
    {
        CControlBar* p = GetDockedControlBar(int(i));
        CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, p);
        if (pExt != NULL && pExt != pBar && pExt->GetOuterPlace() != NULL)
            arrRow.Add(pExt);
    }
    if (arrRow.GetSize() == 0)
        return;
    UINT nAbove = UINT(4 * m_arrBars.GetSize());
    for (INT_PTR i = 0; i < arrRow.GetSize(); i++)
        if (arrRow[i]->GetOuterPlace()->m_nOrder == 0)
            arrRow[i]->GetOuterPlace()->m_nOrder = nAbove++;
    // Keep their relative order, renumbered after the new favourite.
    for (INT_PTR i = 1; i < arrRow.GetSize(); i++)
        for (INT_PTR j = i; j > 0 && arrRow[j - 1]->GetOuterPlace()->m_nOrder > arrRow[j]->GetOuterPlace()->m_nOrder; j--)
        {
            CExtControlBar* t = arrRow[j];
            arrRow[j] = arrRow[j - 1];
            arrRow[j - 1] = t;
        }
    for (INT_PTR i = 0; i < arrRow.GetSize(); i++)
        arrRow[i]->GetOuterPlace()->m_nOrder = UINT(i + 2);
}

void CExtDockOuterBar::SwapRowItems(OuterItemsArr_t& arrRow, INT_PTR nA, INT_PTR nB)
{
    if (nA < 0 || nB < 0 || nA >= arrRow.GetSize() || nB >= arrRow.GetSize() || nA == nB)
        return;
    const int nPosA = FindBar(arrRow[nA].m_pBar), nPosB = FindBar(arrRow[nB].m_pBar);
    if (nPosA > 0 && nPosB > 0)
    {
        void* t = m_arrBars[nPosA];
        m_arrBars[nPosA] = m_arrBars[nPosB];
        m_arrBars[nPosB] = t;
    }
    const OuterLayoutItemData item = arrRow[nB];
    arrRow.RemoveAt(nB);
    arrRow.InsertAt(nA, item);
}

bool CExtDockOuterBar::DockBarAsEdgeRow(CControlBar* pBar, bool bInnerSide)
{
    if (pBar == NULL || pBar->m_hWnd == NULL)
        return false;
    const int nPos = FindBar(pBar);
    if (nPos == 1)
        return true;
    if (nPos > 0)
    {
        m_arrBars.RemoveAt(nPos);
        if (nPos < m_arrBars.GetSize() && m_arrBars[nPos - 1] == NULL && m_arrBars[nPos] == NULL)
            m_arrBars.RemoveAt(nPos);
    }
    const UINT nID = UINT(GetDlgCtrlID());
    if (bInnerSide && (nID == AFX_IDW_DOCKBAR_RIGHT || nID == AFX_IDW_DOCKBAR_BOTTOM))
    {
        m_arrBars.InsertAt(1, pBar);
        m_arrBars.InsertAt(2, (void*)NULL);
    }
    else
    {
        if (m_arrBars.GetSize() == 0 || m_arrBars[m_arrBars.GetSize() - 1] != NULL)
            m_arrBars.Add(NULL);
        m_arrBars.Add(pBar);
        m_arrBars.Add(NULL);
    }
    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    pBar->m_pDockBar = this;
    pBar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    OptimizeRings();
    return true;
}

// ---- the bar's side of the outer layout ---------------------------------------------------

void CExtControlBar::RegisterWithOuterDockBar()
{
    CExtDockOuterBar* pOuter = DYNAMIC_DOWNCAST(CExtDockOuterBar, m_pDockBar);
    if (pOuter != NULL && GetOuterPlace() != NULL)
        pOuter->RegisterBar(this);
}

void CExtControlBar::ResetDockRecord()
{
    OuterPlace_t* pPlace = GetOuterPlace();
    if (pPlace != NULL)
        pPlace->Reset();
}

// ---- moving bars between rows ---------------------------------------------------------

bool CExtDockOuterBar::DockBarAsNewRow(CControlBar* pTargetBar, CControlBar* pBar, bool bBefore)
{
    if (pBar == NULL || pBar->m_hWnd == NULL || pTargetBar == NULL || m_hWnd == NULL)
        return false;
    if (FindBar(pTargetBar) <= 0)
        return false;
    const bool bSelf = pTargetBar == pBar;
    CDockBar* pOld = pBar->m_pDockBar;
    CFrameWnd* pOldMini = (pOld != NULL && pOld->m_bFloating) ? pOld->GetParentFrame() : NULL;
    pBar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    DWORD dwStyle = pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    dwStyle |= (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    if (m_bFloating)
        dwStyle |= CBRS_FLOATING;
    pBar->SetBarStyle(dwStyle);
    if (!bSelf && pOld != NULL)
    {
        CExtDockBar* pOldExt = DYNAMIC_DOWNCAST(CExtDockBar, pOld);
        if (pOldExt != NULL && !pOldExt->m_bFloating)
        {
            pOldExt->RemoveControlBar(pBar, -1, 0, false);
            pOldExt->UpdateNestedLayout();
        }
        else
            pOld->RemoveControlBar(pBar, -1, 0);
    }
    // The target's row, after the bar left it.
    const int nTarget = FindBar(pTargetBar);
    INT_PTR nStart = nTarget, nEnd = nTarget;
    while (nStart > 1 && m_arrBars[nStart - 1] != NULL)
        nStart--;
    while (nEnd < m_arrBars.GetSize() && m_arrBars[nEnd] != NULL)
        nEnd++;
    INT_PTR nAt = bBefore ? nStart : nEnd + 1;
    if (!bBefore && nEnd >= m_arrBars.GetSize())
        m_arrBars.Add(NULL);
    m_arrBars.InsertAt(nAt, (void*)NULL);
    m_arrBars.InsertAt(nAt, pBar);
    if (bSelf)
    {
        const int nOld = FindBar(pBar, int(nAt));
        if (nOld > 0)
        {
            m_arrBars.RemoveAt(nOld);
            if (nOld < m_arrBars.GetSize() && m_arrBars[nOld - 1] == NULL && m_arrBars[nOld] == NULL)
                m_arrBars.RemoveAt(nOld);
        }
    }
    pBar->m_pDockBar = this;
    if (pBar->m_pDockContext != NULL)
        pBar->m_pDockContext->m_uMRUDockID = UINT(GetDlgCtrlID());
    if (pOldMini != NULL && pOldMini != GetParentFrame() && pOldMini->m_hWnd != NULL)
    {
        CMiniDockFrameWnd* pMini = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pOldMini);
        if (pMini != NULL && pMini->m_wndDockBar.GetDockedCount() == 0)
            pOldMini->DestroyWindow();
        else
            pOldMini->ShowWindow(SW_HIDE);
    }
    pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    UpdateNestedLayout();
    CExtDockBar* pOldExt = DYNAMIC_DOWNCAST(CExtDockBar, pOld);
    if (pOldExt != NULL && pOldExt != this && pOldExt->m_hWnd != NULL)
        pOldExt->UpdateNestedLayout();
    if (!m_bFloating)
        OptimizeRings();
    return true;
}

bool CExtDockOuterBar::TryDockIntoRow(CControlBar* pBar, const CArray<CControlBar*, CControlBar*>& arrRowBars,
                                      int nOffset)
{
    if (pBar == NULL || pBar->m_hWnd == NULL || arrRowBars.GetSize() == 0 || m_hWnd == NULL)
        return false;
    const bool bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    auto minLen = [bHorz](CControlBar* p) {
        CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, p);
        if (pExt != NULL)
            return Along(pExt->GetMinSize(), bHorz);
        CRect rc;
        p->GetWindowRect(&rc);
        return Len(rc, bHorz);
    };
    CRect rcClient;
    GetClientRect(&rcClient);
    int nFree = Len(rcClient, bHorz);
    for (INT_PTR i = 0; i < arrRowBars.GetSize(); i++)
        nFree -= minLen(arrRowBars[i]);
    if (nFree < minLen(pBar))
        return false;
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    ScreenToClient(&rcBar);
    MoveAlong(rcBar, nOffset, bHorz);
    if (Start(rcBar, bHorz) < 0)
        SetStart(rcBar, 0, bHorz);
    CControlBar* pBefore = NULL;
    bool bAfterRow = false, bAnyBehind = false;
    for (INT_PTR i = 0; i < arrRowBars.GetSize() && pBefore == NULL && !bAfterRow; i++)
    {
        CRect rc;
        arrRowBars[i]->GetWindowRect(&rc);
        ScreenToClient(&rc);
        if (End(rc, bHorz) <= Start(rcBar, bHorz))
        {
            bAnyBehind = true;
            continue;
        }
        if (Start(rc, bHorz) >= End(rcBar, bHorz))
        {
            pBefore = arrRowBars[i];
            continue;
        }
        // Overlapping: its middle decides.
        if (Start(rcBar, bHorz) <= (Start(rc, bHorz) + End(rc, bHorz)) / 2)
            pBefore = arrRowBars[i];
        else
            bAfterRow = true;
    }
    if (pBefore == NULL && !bAfterRow)
    {
        if (!bAnyBehind)
            return false;
        bAfterRow = true;
    }
    const int nOld = FindBar(pBar);
    if (nOld > 0)
    {
        m_arrBars.RemoveAt(nOld);
        if (nOld < m_arrBars.GetSize() && m_arrBars[nOld - 1] == NULL && m_arrBars[nOld] == NULL)
            m_arrBars.RemoveAt(nOld);
    }
    CControlBar* pRef = pBefore != NULL ? pBefore : arrRowBars[arrRowBars.GetSize() - 1];
    const int nRef = FindBar(pRef);
    if (nRef <= 0)
        return false;
    m_arrBars.InsertAt(pBefore != NULL ? nRef : nRef + 1, pBar);
    pBar->m_pDockBar = this;
    CRect rcRef;
    pRef->GetWindowRect(&rcRef);
    ScreenToClient(&rcRef);
    CRect rcNew = rcBar;
    if (bHorz)
        rcNew.OffsetRect(0, rcRef.top - rcNew.top);
    else
        rcNew.OffsetRect(rcRef.left - rcNew.left, 0);
    if (pBefore != NULL && Start(rcNew, bHorz) > Start(rcRef, bHorz))
        SetStart(rcNew, Start(rcRef, bHorz), bHorz);
    if (pBefore == NULL && Start(rcNew, bHorz) < End(rcRef, bHorz))
        SetStart(rcNew, End(rcRef, bHorz), bHorz);
    CRect rcCur;
    pBar->GetWindowRect(&rcCur);
    ScreenToClient(&rcCur);
    if (rcNew != rcCur)
        pBar->SetWindowPos(NULL, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOREDRAW);
    return true;
}

namespace {

// The remembered rectangle of a bar with a place record follows the drag, kept inside
// the dock bar.
void ShiftRememberedPlace(CExtControlBar::OuterPlace_t& place, const CRect& rcWnd, int nOffset, int nAvail, bool bHorz)
{
    CRect rcLast(place.m_rcLast);
    if (rcLast.IsRectEmpty())
        rcLast = rcWnd;
    MoveAlong(rcLast, nOffset, bHorz);
    if (End(rcLast, bHorz) > nAvail)
        MoveAlong(rcLast, nAvail - End(rcLast, bHorz), bHorz);
    if (Start(rcLast, bHorz) < 0)
        MoveAlong(rcLast, -Start(rcLast, bHorz), bHorz);
    place.m_rcLast = rcLast;
}

// Whether the bars ahead of the moved one, in the direction of the move, stand packed
// against it and each other, or the row's far end is reached.
bool IsPackedAhead(const CExtDockOuterBar::OuterItemsArr_t& arrRow, INT_PTR nSelf, int nOffset, int nAvail, bool bHorz)
{
    if (nOffset <= 0)
    {
        for (INT_PTR i = nSelf; i > 0; i--)
            if (Start(arrRow[i].m_rcPreCalc, bHorz) > End(arrRow[i - 1].m_rcPreCalc, bHorz))
                return Start(arrRow[0].m_rcPreCalc, bHorz) <= 0;
        return true;
    }
    for (INT_PTR i = nSelf; i + 1 < arrRow.GetSize(); i++)
        if (Start(arrRow[i + 1].m_rcPreCalc, bHorz) > End(arrRow[i].m_rcPreCalc, bHorz))
            return End(arrRow[arrRow.GetSize() - 1].m_rcPreCalc, bHorz) >= nAvail;
    return true;
}

}  // namespace

CSize CExtDockOuterBar::RowRoom()
{
    if (!m_rectLayout.IsRectEmpty())
        return m_rectLayout.Size();
    CRect rcClient;
    GetClientRect(&rcClient);
    return rcClient.Size();
}

INT_PTR CExtDockOuterBar::CollectMovedRow(INT_PTR nRowStart, CControlBar* pBar, int nOffset, bool bHorz,
                                          const CSize& sizeAvail, OuterItemsArr_t& arrRow)
{
    INT_PTR nSelf = -1;
    for (INT_PTR i = nRowStart; i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++)
    {
        CControlBar* pRowBar = GetDockedControlBar(int(i));
        if (pRowBar == NULL || !pRowBar->IsVisible())
            continue;
        OuterLayoutItemData item(pRowBar, bHorz, sizeAvail, m_bFloating != FALSE);
        pRowBar->GetWindowRect(&item.m_rcBar);
        ScreenToClient(&item.m_rcBar);
        if (pRowBar == pBar)
        {
            nSelf = arrRow.GetSize();
            MoveAlong(item.m_rcBar, nOffset, bHorz);
        }
        arrRow.Add(item);
    }
    return nSelf;
}

bool CExtDockOuterBar::ResizeInFullRow(CExtControlBar* pBar, CExtControlBar::OuterPlace_t& place,
                                       const OuterLayoutItemData& self, int nOffset, bool bHorz)
{
    // Dragging back lengthens the bar, forward shortens it.
    int& nPref = bHorz ? place.m_nPrefHorz : place.m_nPrefVert;
    int nNewLen = Len(self.m_rcPreCalc, bHorz) - nOffset;
    nNewLen = std::min(nNewLen, Along(self.m_size, bHorz));
    nNewLen = std::max(nNewLen, Along(self.m_sizeMin, bHorz));
    if (nNewLen == nPref)
        return false;
    if (place.m_nOrder != 1)
        RegisterBar(pBar);
    nPref = nNewLen;
    return true;
}

void CExtDockOuterBar::SwapWithPassedNeighbour(CExtControlBar* pBar, CExtControlBar::OuterPlace_t& place,
                                               OuterItemsArr_t& arrRow, INT_PTR nSelf, int nOffset, bool bHorz)
{
    if (place.m_nOrder != 1)
        RegisterBar(pBar);
    place.m_rcLast = arrRow[nSelf].m_rcPreCalc;
    const INT_PTR nOther = nOffset > 0 ? nSelf + 1 : nSelf - 1;
    if (nOther < 0 || nOther >= arrRow.GetSize())
        return;
    const Item& other = arrRow[nOther];
    CRect rcOtherLast = other.m_pPlace != NULL && !::IsRectEmpty(&other.m_pPlace->m_rcLast)
                            ? CRect(other.m_pPlace->m_rcLast)
                            : other.m_rcBar;
    const CRect rcMoved(place.m_rcLast);
    const bool bPast = nOffset > 0 ? Start(rcMoved, bHorz) > Start(rcOtherLast, bHorz)
                                   : Start(rcMoved, bHorz) < Start(rcOtherLast, bHorz);
    CRect rcOverlap;
    const bool bOverlapsByOffset =
        rcOverlap.IntersectRect(&rcMoved, &rcOtherLast) && Len(rcOverlap, bHorz) >= std::abs(nOffset);
    if (bPast || bOverlapsByOffset)
        SwapRowItems(arrRow, nSelf, nOther);
}

void CExtDockOuterBar::LayoutRowNow(INT_PTR nRowStart, const CPoint& ptRow, bool bHorz, const CSize& sizeAvail,
                                    int nWindowsHint)
{
    AFX_SIZEPARENTPARAMS layout;
    ::ZeroMemory(&layout, sizeof(layout));
    layout.hDWP = ::BeginDeferWindowPos(nWindowsHint);
    OuterItemsArr_t arrReal;
    for (INT_PTR i = nRowStart; i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++)
    {
        CControlBar* pRowBar = GetDockedControlBar(int(i));
        if (pRowBar != NULL)
            arrReal.Add(OuterLayoutItemData(pRowBar, bHorz, sizeAvail, m_bFloating != FALSE));
    }
    CSize sizeFixed(0, 0);
    CPoint ptPen = ptRow;
    const BOOL bSavedQuery = m_bLayoutQuery;
    m_bLayoutQuery = FALSE;
    LayoutRow(sizeFixed, sizeAvail, ptPen, bHorz, &layout, arrReal);
    m_bLayoutQuery = bSavedQuery;
    if (layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);
    for (INT_PTR i = 0; i < arrReal.GetSize(); i++)
    {
        CExtControlBar* pRowBar = DYNAMIC_DOWNCAST(CExtControlBar, arrReal[i].m_pBar);
        if (pRowBar != NULL && pRowBar->m_hWnd != NULL && pRowBar->IsVisible())
            pRowBar->RedrawWindow(
                NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_NOFRAME);
    }
}

void CExtDockOuterBar::MoveBarInRow(CControlBar* pBar, int nOffsetX, int nOffsetY, bool* pbChanged)
{
    if (pbChanged != NULL)
        *pbChanged = false;
    const int nPos = FindBar(pBar);
    if (pBar == NULL || pBar->m_hWnd == NULL || nPos <= 0 || m_hWnd == NULL)
        return;
    const bool bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    const int nOffset = bHorz ? nOffsetX : nOffsetY;
    const CSize sizeAvail = RowRoom();
    const int nAvail = Along(sizeAvail, bHorz);
    CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
    CExtControlBar::OuterPlace_t* pPlace = pExt != NULL ? pExt->GetOuterPlace() : NULL;
    CRect rcWnd;
    pBar->GetWindowRect(&rcWnd);
    ScreenToClient(&rcWnd);
    if (pPlace != NULL)
        ShiftRememberedPlace(*pPlace, rcWnd, nOffset, nAvail, bHorz);
    // The bar's row, planned as it would be with the move (a bar with a place record
    // has moved there already).
    INT_PTR nRowStart = nPos;
    while (nRowStart > 1 && m_arrBars[nRowStart - 1] != NULL)
        nRowStart--;
    OuterItemsArr_t arrRow;
    const INT_PTR nSelf = CollectMovedRow(nRowStart, pBar, pPlace == NULL ? nOffset : 0, bHorz, sizeAvail, arrRow);
    if (nSelf < 0)
        return;
    // The row keeps its place across the dock bar.
    const CPoint ptRow = bHorz ? CPoint(0, rcWnd.top) : CPoint(rcWnd.left, 0);
    CSize sizeFixed(0, 0);
    CPoint ptPen = ptRow;
    int nRows = 1;
    bool bRowFull = false;
    PlanRow(sizeFixed, sizeAvail, ptPen, bHorz, m_bFloating != FALSE, arrRow, &nRows, &bRowFull);
    if (arrRow.GetSize() >= 2 && pPlace != NULL && pExt != NULL && nOffset != 0)
    {
        if (bRowFull && nRows == 1)
        {
            // A full row: the bar's wanted length changes.
            if (ResizeInFullRow(pExt, *pPlace, arrRow[nSelf], nOffset, bHorz) && pbChanged != NULL)
                *pbChanged = bRowFull;
        }
        else if (nRows == 1)
        {
            // Room ahead lets the bar move; packed bars ahead are pushed by it.
            if (IsPackedAhead(arrRow, nSelf, nOffset, nAvail, bHorz) && pPlace->m_nOrder != 1)
                RegisterBar(pExt);
        }
        else
            SwapWithPassedNeighbour(pExt, *pPlace, arrRow, nSelf, nOffset, bHorz);
    }
    // And now for real.
    LayoutRowNow(nRowStart, ptRow, bHorz, sizeAvail, int(arrRow.GetSize()));
}
