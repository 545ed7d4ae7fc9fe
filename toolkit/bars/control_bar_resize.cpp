// Docked rows of resizable bars: how the first resizable bar of a row shares the row's
// length among the row's bars, breaks rows that do not fit, and the two resize loops
// started from the splitters (the whole row's thickness, or the splitter between two
// neighbours), with their inverted trackers; the room a row gives to a bar shown again.
//
// The loops are nested message loops. A quit request that reaches them cancels the
// resize and is posted again for the outer loop; the loops never spin on it.
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include <algorithm>
#include <cstdlib>
#include "framework/afxres.h"
#include "framework/winthread.h"
#include "toolkit/menus/popup_menu_wnd.h"

bool CExtControlBar::g_bIdleWhileTracking = false;

namespace {

bool IsResizableExt(CControlBar* pBar)
{
    CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
    return pExt != NULL && !pExt->IsFixedMode();
}

bool IsHorzDockBar(const CDockBar* pDockBar) { return (pDockBar->m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

LONG& LenRef(CExtControlBar* pBar, bool bHorz) { return bHorz ? pBar->m_sizeDockedH.cx : pBar->m_sizeDockedV.cy; }
LONG& ThickRef(CExtControlBar* pBar, bool bHorz) { return bHorz ? pBar->m_sizeDockedH.cy : pBar->m_sizeDockedV.cx; }

// A row end at nPos unless one is there already.
void InsertRowBreak(CDockBar* pDockBar, INT_PTR nPos)
{
    CPtrArray& arr = pDockBar->m_arrBars;
    if (nPos <= 0 || nPos > arr.GetSize())
        return;
    if ((nPos < arr.GetSize() && arr[nPos] == NULL) || arr[nPos - 1] == NULL)
        return;
    arr.InsertAt(nPos, (void*)NULL);
}
int MinLen(const CExtControlBar* pBar, bool bHorz) { return bHorz ? pBar->GetMinHorzExtent() : pBar->GetMinVertExtent(); }

int WindowLen(CWnd* pWnd, bool bHorz)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return bHorz ? rc.Width() : rc.Height();
}

// Lets the bars of a row pay nAmount, one pixel each in turn, pass after pass, while
// they are longer than their minimums; answers what was paid.
int PayFromBars(CArray<CExtControlBar*, CExtControlBar*>& arr, int nAmount, bool bHorz)
{
    int nPaid = 0;
    bool bAnyPaid = true;
    while (nPaid < nAmount && bAnyPaid)
    {
        bAnyPaid = false;
        for (INT_PTR i = 0; i < arr.GetSize() && nPaid < nAmount; i++)
        {
            LONG& nLen = LenRef(arr[i], bHorz);
            if (nLen > MinLen(arr[i], bHorz))
            {
                nLen--;
                nPaid++;
                bAnyPaid = true;
            }
        }
    }
    return nPaid;
}

// The messages that end a resize loop as a cancel (the message stays queued).
bool EndsResizeLoop(UINT nMsg, bool bColumn)
{
    if (CExtControlBar::IsTrackingCancelMessage(nMsg))
        return true;
    switch (nMsg)
    {
    case WM_NCLBUTTONUP:
        return !bColumn;
    case WM_NCLBUTTONDOWN:
        return bColumn;
    default:
        return nMsg >= WM_KEYFIRST && nMsg <= 0x108;
    }
}

}  // namespace

// ---- the row's lengths ----------------------------------------------------------------

void CExtControlBar::DistributeRowLengths(RowSlot* pSlots, int nCount, int nDiff)
{
    if (pSlots == NULL || nCount <= 0 || nDiff == 0)
        return;
    int nResizable = 0, nAtMin = 0, nLastResizable = -1;
    for (int i = 0; i < nCount; i++)
    {
        if (!pSlots[i].m_bResizable)
            continue;
        nResizable++;
        nLastResizable = i;
        if (pSlots[i].m_nLen <= pSlots[i].m_nMin)
            nAtMin++;
    }
    if (nResizable == 0)
        return;
    if (nAtMin == nResizable)
    {
        // Nobody can give: the last resizable bar takes all that is left (or missing).
        pSlots[nLastResizable].m_nLen += nDiff;
        return;
    }
    const int nStep = nDiff >= 1 ? 1 : -1;
    const int nMaxPasses = 2 * std::abs(nDiff);
    for (int nPass = 0; nPass < nMaxPasses && nDiff != 0 && nAtMin < nResizable; nPass++)
    {
        for (int i = 0; i < nCount && nDiff != 0; i++)
        {
            RowSlot& slot = pSlots[i];
            if (!slot.m_bResizable || slot.m_nLen <= slot.m_nMin)
                continue;
            slot.m_nLen += nStep;
            nDiff -= nStep;
            if (slot.m_nLen <= slot.m_nMin)
                nAtMin++;
        }
    }
}

CSize CExtControlBar::CurrentDockedSize(DWORD dwMode)
{
    if (IsFloating())
        return m_sizeFloated;
    if ((dwMode & LM_HORZ) != 0)
    {
        m_sizeDockedH.cy = std::max(m_sizeDockedH.cy, LONG(GetMinHorzExtent()));
        return m_sizeDockedH;
    }
    m_sizeDockedV.cx = std::max(m_sizeDockedV.cx, LONG(GetMinVertExtent()));
    return m_sizeDockedV;
}

CSize CExtControlBar::CalcDockedRowLayout(int nLength, DWORD dwMode)
{
    if ((dwMode & (LM_HORZDOCK | LM_VERTDOCK)) == 0 || IsFloating())
    {
        if (nLength > 0)
        {
            if ((dwMode & LM_LENGTHY) != 0)
                m_sizeFloated.cy = nLength;
            else
                m_sizeFloated.cx = nLength;
        }
        if ((dwMode & (LM_MRUWIDTH | LM_COMMIT)) != 0)
            return m_sizeFloated;
        return CurrentDockedSize(dwMode);
    }
    CDockBar* pDockBar = m_pDockBar;
    if (nLength >= 0 || pDockBar == NULL || pDockBar->m_hWnd == NULL || pDockBar->m_bLayoutQuery)
        return CurrentDockedSize(dwMode);
    const bool bHorz = IsHorzDockBar(pDockBar);
    CRect rcAvail = pDockBar->m_rectLayout;
    if (rcAvail.IsRectEmpty())
        pDockBar->GetClientRect(&rcAvail);
    int nAvail = bHorz ? rcAvail.Width() : rcAvail.Height();
    if (nAvail <= 0)
        nAvail = 3;
    int nUsed = bHorz ? AfxGetCyBorder2() : AfxGetCxBorder2();

    // The row of this bar: its visible entries.
    CPtrArray& arr = pDockBar->m_arrBars;
    const int nOwn = pDockBar->FindBar(this);
    if (nOwn <= 0)
        return CurrentDockedSize(dwMode);
    int nRowStart = nOwn;
    while (nRowStart > 1 && arr[nRowStart - 1] != NULL)
        nRowStart--;
    CArray<int, int> arrRow;  // indices of the row's visible bars
    int nOwnInRow = -1, nMaxThick = 0;
    for (int i = nRowStart; i < arr.GetSize() && arr[i] != NULL; i++)
    {
        CControlBar* pBar = pDockBar->GetDockedControlBar(i);
        if (pBar == NULL || pBar->m_hWnd == NULL || !pBar->IsVisible())
            continue;
        if (pBar == this)
            nOwnInRow = int(arrRow.GetSize());
        else if (nOwnInRow < 0 && IsResizableExt(pBar))
            return CurrentDockedSize(dwMode);  // the row's first resizable bar lays it out
        if (IsResizableExt(pBar))
            nMaxThick = std::max(nMaxThick, int(ThickRef(static_cast<CExtControlBar*>(pBar), bHorz)));
        arrRow.Add(i);
    }
    if (nOwnInRow < 0)
        return CurrentDockedSize(dwMode);

    if (arrRow.GetSize() == 1)
        LenRef(this, bHorz) = std::max(MinLen(this, bHorz), nAvail);
    else if (!FitRowLengths(pDockBar, arrRow, nOwnInRow, nAvail, nUsed, nMaxThick, bHorz))
        return CurrentDockedSize(dwMode);
    PlaceRow(pDockBar, arrRow, bHorz);
    return CurrentDockedSize(dwMode);
}

bool CExtControlBar::FitRowLengths(CDockBar* pDockBar, CArray<int, int>& arrRow, int nOwnInRow, int nAvail, int nUsed,
                                   int nMaxThick, bool bHorz)
{
    CPtrArray& arr = pDockBar->m_arrBars;
    int nSumResizable = 0;
    INT_PTR nEnd = arrRow.GetSize();
    for (INT_PTR k = 0; k < arrRow.GetSize(); k++)
    {
        CControlBar* pBar = static_cast<CControlBar*>(arr[arrRow[k]]);
        const bool bResizable = IsResizableExt(pBar);
        int nCount = 0;
        if (bResizable)
        {
            CExtControlBar* pExt = static_cast<CExtControlBar*>(pBar);
            nCount = MinLen(pExt, bHorz);
            LenRef(pExt, bHorz) = std::max(LenRef(pExt, bHorz), LONG(nCount));
        }
        else
            nCount = WindowLen(pBar, bHorz);
        nUsed += nCount;
        if (nUsed > nAvail)
        {
            if (k < nOwnInRow)
            {
                // A bar before this one does not fit: the next pass sees two rows.
                InsertRowBreak(pDockBar, arrRow[k] + 1);
                return false;
            }
            if (k == nOwnInRow)
            {
                LenRef(this, bHorz) = std::max(MinLen(this, bHorz), nAvail - (nUsed - nCount));
                if (k + 1 < arrRow.GetSize())
                    InsertRowBreak(pDockBar, arrRow[k + 1]);
                arrRow.SetSize(k + 1);
                return true;
            }
            InsertRowBreak(pDockBar, arrRow[k]);
            nEnd = k;
            break;
        }
        if (bResizable)
            nSumResizable += LenRef(static_cast<CExtControlBar*>(pBar), bHorz);
        else
            nAvail -= nCount;
    }
    arrRow.SetSize(nEnd);
    // Share the difference among the resizable bars.
    CArray<RowSlot, RowSlot&> arrSlots;
    for (INT_PTR k = 0; k < arrRow.GetSize(); k++)
    {
        CControlBar* pBar = static_cast<CControlBar*>(pDockBar->m_arrBars[arrRow[k]]);
        RowSlot slot = {false, 0, 0};
        if (IsResizableExt(pBar))
        {
            CExtControlBar* pExt = static_cast<CExtControlBar*>(pBar);
            ThickRef(pExt, bHorz) = nMaxThick;
            slot.m_bResizable = true;
            slot.m_nLen = LenRef(pExt, bHorz);
            slot.m_nMin = MinLen(pExt, bHorz);
        }
        arrSlots.Add(slot);
    }
    DistributeRowLengths(arrSlots.GetData(), int(arrSlots.GetSize()), nAvail - nSumResizable);
    for (INT_PTR k = 0; k < arrRow.GetSize(); k++)
        if (arrSlots[k].m_bResizable)
            LenRef(static_cast<CExtControlBar*>(static_cast<CControlBar*>(pDockBar->m_arrBars[arrRow[k]])), bHorz) =
                arrSlots[k].m_nLen;
    return true;
}

void CExtControlBar::MoveBarInBatch(HDWP& hDWP, CWnd* pBar, const CRect& rc)
{
    if (hDWP != NULL)
        hDWP = ::DeferWindowPos(hDWP, pBar->m_hWnd, NULL, rc.left, rc.top, rc.Width(), rc.Height(),
                                SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (hDWP == NULL)
        pBar->SetWindowPos(NULL, rc.left, rc.top, rc.Width(), rc.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void CExtControlBar::PlaceRow(CDockBar* pDockBar, const CArray<int, int>& arrRow, bool bHorz)
{
    HDWP hDWP = ::BeginDeferWindowPos(int(arrRow.GetSize()));
    int nPos = 0;
    for (INT_PTR k = 0; k < arrRow.GetSize(); k++)
    {
        CControlBar* pBar = static_cast<CControlBar*>(pDockBar->m_arrBars[arrRow[k]]);
        CRect rcWnd;
        pBar->GetWindowRect(&rcWnd);
        pDockBar->ScreenToClient(&rcWnd);
        CRect rc = rcWnd;
        if (IsResizableExt(pBar))
        {
            CExtControlBar* pExt = static_cast<CExtControlBar*>(pBar);
            const CSize size = bHorz ? pExt->m_sizeDockedH : pExt->m_sizeDockedV;
            rc = CRect(rcWnd.TopLeft(), size);
        }
        if (bHorz)
            rc.OffsetRect(nPos - rc.left, 0);
        else
            rc.OffsetRect(0, nPos - rc.top);
        if (rc != rcWnd)
            MoveBarInBatch(hDWP, pBar, rc);
        nPos += bHorz ? rc.Width() : rc.Height();
    }
    if (hDWP != NULL)
        ::EndDeferWindowPos(hDWP);
}

// ---- the loops --------------------------------------------------------------------------

bool CExtControlBar::PrepareResizeLoop()
{
    CWnd::CancelToolTips();
    CExtToolControlBar::CancelAllButtonMenuTracking();
    CExtPopupMenuWnd::CancelMenuTracking();
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
    {
        // A menu bar in keyboard selection leaves it.
        for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL;)
        {
            CControlBar* pBar = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
            if (pBar == NULL || pBar->m_hWnd == NULL || pBar->IsDockBar())
                continue;
            CExtMenuControlBar* pMenuBar = DYNAMIC_DOWNCAST(CExtMenuControlBar, pBar);
            if (pMenuBar != NULL)
                pMenuBar->EndFlatTracking();
        }
    }
    return !g_bLockAllBars && m_hWnd != NULL && m_pDockBar != NULL;
}

void CExtControlBar::RunResizeLoop(BYTE nBit)
{
    const bool bColumn = nBit == __EAF_INROW_RESIZING;
    CWinThread* pThread = AfxGetThread();
    const HWND hWndOwn = m_hWnd;
    while (::IsWindow(hWndOwn) && (m_nActivityFlags & nBit) != 0)
    {
        ::WaitMessage();
        MSG msg;
        while (::IsWindow(hWndOwn) && (m_nActivityFlags & nBit) != 0 && ::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            if (EndsResizeLoop(msg.message, bColumn))
            {
                if (bColumn)
                    ColumnResizeStop(true);
                else
                    RowResizeStop(true);
                break;
            }
            const BOOL bPumped = pThread != NULL ? pThread->PumpMessage() : AfxPumpMessage();
            if (!bPumped)
            {
                // The application is quitting: cancel, and leave the request for the
                // outer loop, once.
                const WPARAM nExitCode = msg.message == WM_QUIT ? msg.wParam : 0;
                if (::IsWindow(hWndOwn))
                {
                    if (bColumn)
                        ColumnResizeStop(true);
                    else
                        RowResizeStop(true);
                }
                ::PostQuitMessage(int(nExitCode));
                return;
            }
        }
        if (g_bIdleWhileTracking && pThread != NULL)
            for (LONG nCount = 0; ::IsWindow(hWndOwn) && (m_nActivityFlags & nBit) != 0 && pThread->OnIdle(nCount);
                 nCount++)
            {
            }
    }
}

void CExtControlBar::RowResizeLoop()
{
    if (!PrepareResizeLoop())
        return;
    const bool bHorz = IsDockedHorizontally();
    m_nActivityFlags |= __EAF_ROW_RESIZING;
    CExtMouseCaptureSink::SetCapture(m_hWnd);
    m_nTrackerExtent = bHorz ? m_sizeDockedH.cy : m_sizeDockedV.cx;
    if (!UsesLiveRowResize())
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        m_nTrackerOffset = bHorz ? pt.y : pt.x;
        DrawRowResizeTracker(false);
    }
    RunResizeLoop(__EAF_ROW_RESIZING);
}

void CExtControlBar::RowResizeUpdate()
{
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == NULL || m_pDockBar == NULL)
        return;
    const bool bHorz = IsDockedHorizontally();
    CRect rcFrame;
    pFrame->GetWindowRect(&rcFrame);
    const int nMaxThick = bHorz ? rcFrame.Height() - GetMinVertExtent() : rcFrame.Width() - GetMinHorzExtent();
    if (nMaxThick <= 0)
        return;
    CPoint ptScreen;
    ::GetCursorPos(&ptScreen);
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CPoint pt = ptScreen - rcWnd.TopLeft();
    const int nHalf = bHorz ? (m_rcRowSplitter.bottom - m_rcRowSplitter.top) / 2
                            : (m_rcRowSplitter.right - m_rcRowSplitter.left) / 2;
    const int nCurrent = bHorz ? m_sizeDockedH.cy : m_sizeDockedV.cx;
    int nNew = nCurrent;
    switch (GetDockBarCtrlID())
    {
    case AFX_IDW_DOCKBAR_TOP: nNew = pt.y + nHalf; break;
    case AFX_IDW_DOCKBAR_BOTTOM: nNew = nCurrent - pt.y + nHalf; break;
    case AFX_IDW_DOCKBAR_LEFT: nNew = pt.x + nHalf; break;
    case AFX_IDW_DOCKBAR_RIGHT: nNew = nCurrent - pt.x + nHalf; break;
    default: break;
    }
    nNew = std::max(nNew, 2 * (bHorz ? GetMinVertExtent() : GetMinHorzExtent()));
    nNew = std::min(nNew, nMaxThick);
    if (nNew == m_nTrackerExtent)
        return;
    m_nTrackerExtent = nNew;
    if (UsesLiveRowResize())
    {
        CArray<CExtControlBar*, CExtControlBar*> arrRow;
        GetRowBars(arrRow);
        for (INT_PTR i = 0; i < arrRow.GetSize(); i++)
            ThickRef(arrRow[i], bHorz) = nNew;
        pFrame->RecalcLayout(TRUE);
        CExtPaintManager::PumpPaintMessages();
        return;
    }
    DrawRowResizeTracker(true);
    m_nTrackerOffset = bHorz ? ptScreen.y : ptScreen.x;
    DrawRowResizeTracker(false);
}

void CExtControlBar::RowResizeStop(bool bCancel)
{
    m_nActivityFlags &= ~__EAF_ROW_RESIZING;
    if (m_hWnd != NULL && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (UsesLiveRowResize() || m_hWnd == NULL || m_pDockBar == NULL)
        return;
    DrawRowResizeTracker(true);
    const UINT nRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_NOFRAME;
    if (bCancel)
    {
        m_pDockBar->RedrawWindow(NULL, NULL, nRedraw);
        return;
    }
    const bool bHorz = IsDockedHorizontally();
    const int nNew = m_nTrackerExtent;
    if (nNew != ThickRef(this, bHorz))
    {
        CArray<CExtControlBar*, CExtControlBar*> arrRow;
        GetRowBars(arrRow);
        int nChange = 0;
        bool bFirst = true;
        for (INT_PTR i = 0; i < arrRow.GetSize(); i++)
        {
            if (bFirst)
                nChange = ThickRef(arrRow[i], bHorz) - nNew;
            bFirst = false;
            ThickRef(arrRow[i], bHorz) = nNew;
        }
        if (nChange != 0)
        {
            // The neighbouring row beyond the splitter gives or takes what this row took.
            const UINT nID = GetDockBarCtrlID();
            const bool bNext = nID == AFX_IDW_DOCKBAR_TOP || nID == AFX_IDW_DOCKBAR_LEFT;
            CArray<CExtControlBar*, CExtControlBar*> arrNeighbours;
            GetNeighbourRowBars(bNext, arrNeighbours);
            for (INT_PTR i = 0; i < arrNeighbours.GetSize(); i++)
                if (!arrNeighbours[i]->IsFixedMode())
                    ThickRef(arrNeighbours[i], bHorz) += nChange;
        }
    }
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
        pFrame->RecalcLayout(TRUE);
    if (m_pDockBar != NULL)
        m_pDockBar->RedrawWindow(NULL, NULL, nRedraw);
}

void CExtControlBar::ColumnResizeLoop()
{
    if (!PrepareResizeLoop())
        return;
    const bool bHorz = IsDockedHorizontally();
    m_nActivityFlags |= __EAF_INROW_RESIZING;
    CExtMouseCaptureSink::SetCapture(m_hWnd);
    m_nTrackerExtent = 0;
    if (!UsesLiveInRowResize())
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        m_nTrackerOffset = bHorz ? pt.x : pt.y;
        DrawColumnResizeTracker(false);
    }
    RunResizeLoop(__EAF_INROW_RESIZING);
}

void CExtControlBar::ColumnTrackerLimits(int& nLow, int& nHigh) const
{
    // Screen coordinates along the row within which the grabbed splitter may move so
    // that no bar of the row goes below its minimum.
    const bool bHorz = IsDockedHorizontally();
    const bool bLeading = (m_nInteractionFlags & __EIF_LEADING_SPLITTER) != 0;
    CRect rcDock, rcWnd;
    m_pDockBar->GetWindowRect(&rcDock);
    GetWindowRect(&rcWnd);
    const int nMin = MinLen(this, bHorz);
    CArray<int, int> arrLens;  // the lengths that must stay on the other side
    const CPtrArray& arr = m_pDockBar->m_arrBars;
    const int nOwn = const_cast<CDockBar*>(m_pDockBar)->FindBar(const_cast<CExtControlBar*>(this));
    int nSum = 0;
    if (!bLeading)
    {
        for (int i = nOwn + 1; nOwn > 0 && i < arr.GetSize() && arr[i] != NULL; i++)
        {
            CControlBar* pBar = m_pDockBar->GetDockedControlBar(i);
            if (pBar == NULL || !pBar->IsVisible())
                continue;
            nSum += IsResizableExt(pBar) ? MinLen(static_cast<CExtControlBar*>(pBar), bHorz) : WindowLen(pBar, bHorz);
        }
        nLow = (bHorz ? rcWnd.left : rcWnd.top) + nMin;
        nHigh = (bHorz ? rcDock.right : rcDock.bottom) - nSum;
    }
    else
    {
        int nStart = nOwn;
        while (nStart > 1 && arr[nStart - 1] != NULL)
            nStart--;
        for (int i = nStart; nOwn > 0 && i < nOwn; i++)
        {
            CControlBar* pBar = m_pDockBar->GetDockedControlBar(i);
            if (pBar == NULL || !pBar->IsVisible())
                continue;
            nSum += IsResizableExt(pBar) ? MinLen(static_cast<CExtControlBar*>(pBar), bHorz) : WindowLen(pBar, bHorz);
        }
        nLow = (bHorz ? rcDock.left : rcDock.top) + nSum;
        nHigh = (bHorz ? rcWnd.right : rcWnd.bottom) - nMin;
    }
    if (nHigh < nLow)
        nHigh = nLow;
}

void CExtControlBar::ColumnResizeUpdate()
{
    if (m_pDockBar == NULL)
        return;
    const bool bHorz = IsDockedHorizontally();
    const bool bLeading = (m_nInteractionFlags & __EIF_LEADING_SPLITTER) != 0;
    CPoint ptScreen;
    ::GetCursorPos(&ptScreen);
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const int nCursor = bHorz ? ptScreen.x - rcWnd.left : ptScreen.y - rcWnd.top;
    const int nCurrent = LenRef(this, bHorz);
    const RECT& rcSplit = bLeading ? m_rcLeadingSplitter : m_rcTrailingSplitter;
    const int nHalf = (bHorz ? rcSplit.right - rcSplit.left : rcSplit.bottom - rcSplit.top) / 2;
    int nNew = bLeading ? nCurrent - nCursor + nHalf : nCursor + nHalf;
    nNew = std::max(nNew, MinLen(this, bHorz));
    const int nValue = nCurrent - nNew;
    if (nValue == 0)
        return;
    if (UsesLiveInRowResize())
    {
        m_nTrackerExtent = nValue;
        ApplyColumnResize();
        return;
    }
    m_nTrackerExtent = nValue;
    int nLow = 0, nHigh = 0;
    ColumnTrackerLimits(nLow, nHigh);
    DrawColumnResizeTracker(true);
    m_nTrackerOffset = std::min(std::max(bHorz ? int(ptScreen.x) : int(ptScreen.y), nLow), nHigh);
    DrawColumnResizeTracker(false);
}

void CExtControlBar::ApplyColumnResize()
{
    const bool bHorz = IsDockedHorizontally();
    const bool bLeading = (m_nInteractionFlags & __EIF_LEADING_SPLITTER) != 0;
    int nValue = m_nTrackerExtent;
    CExtControlBar* pNeighbour = NULL;
    CArray<CExtControlBar*, CExtControlBar*> arrRow;
    GetRowExtBars(arrRow);
    for (INT_PTR i = 0; i < arrRow.GetSize(); i++)
    {
        if (arrRow[i] != this)
            continue;
        const INT_PTR j = bLeading ? i - 1 : i + 1;
        if (j >= 0 && j < arrRow.GetSize())
            pNeighbour = arrRow[j];
        break;
    }
    if (pNeighbour != NULL)
    {
        LONG& nLen = LenRef(pNeighbour, bHorz);
        nLen += nValue;
        const int nMin = MinLen(pNeighbour, bHorz);
        if (nLen < nMin)
        {
            nValue -= nMin - nLen;
            nLen = nMin;
        }
    }
    LONG& nOwnLen = LenRef(this, bHorz);
    nOwnLen = std::max(nOwnLen - nValue, LONG(MinLen(this, bHorz)));
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
        pFrame->RecalcLayout(TRUE);
}

void CExtControlBar::ColumnResizeStop(bool bCancel)
{
    m_nActivityFlags &= ~__EAF_INROW_RESIZING;
    if (m_hWnd != NULL && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (UsesLiveInRowResize() || m_hWnd == NULL || m_pDockBar == NULL)
        return;
    DrawColumnResizeTracker(true);
    if (bCancel || m_nTrackerExtent == 0)
        return;
    ApplyColumnResize();
}

// ---- splitters and trackers -------------------------------------------------------------

bool CExtControlBar::IsTrailingSplitterMovable() const
{
    if (!IsMinimizedInRow())
        return true;
    CExtControlBar* pNext = FindRowNeighbour(true, true, true);
    return pNext != NULL && !pNext->IsMinimizedInRow();
}

bool CExtControlBar::IsLeadingSplitterMovable() const
{
    if (!IsMinimizedInRow())
        return true;
    CExtControlBar* pPrev = FindRowNeighbour(false, true, true);
    return pPrev != NULL && !pPrev->IsMinimizedInRow();
}

void CExtControlBar::DrawTracker(const CRect& rcScreen)
{
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == NULL || pFrame->m_hWnd == NULL)
        return;
    HDC hDC = ::GetDCEx(pFrame->m_hWnd, NULL, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (hDC == NULL)
        return;
    CRect rcFrame;
    pFrame->GetWindowRect(&rcFrame);
    CRect rc = rcScreen;
    rc.OffsetRect(-rcFrame.TopLeft());
    DRAW_TRACKED_AREA_DATA data(this, CDC::FromHandle(hDC), 0, rc, false);
    data.Draw();
    ::ReleaseDC(pFrame->m_hWnd, hDC);
}

void CExtControlBar::DrawRowResizeTracker(bool)
{
    if (m_pDockBar == NULL)
        return;
    CRect rcDock;
    m_pDockBar->GetWindowRect(&rcDock);
    if (rcDock.IsRectEmpty())
        return;
    const bool bHorz = IsDockedHorizontally();
    const int nThick = bHorz ? m_rcRowSplitter.bottom - m_rcRowSplitter.top : m_rcRowSplitter.right - m_rcRowSplitter.left;
    CRect rc = rcDock;
    if (bHorz)
    {
        rc.top = m_nTrackerOffset - nThick / 2;
        rc.bottom = rc.top + nThick;
    }
    else
    {
        rc.left = m_nTrackerOffset - nThick / 2;
        rc.right = rc.left + nThick;
    }
    DrawTracker(rc);
}

void CExtControlBar::DrawColumnResizeTracker(bool)
{
    if (m_hWnd == NULL)
        return;
    const bool bHorz = IsDockedHorizontally();
    const RECT& rcSplit = (m_nInteractionFlags & __EIF_LEADING_SPLITTER) != 0 ? m_rcLeadingSplitter : m_rcTrailingSplitter;
    const int nThick = bHorz ? rcSplit.right - rcSplit.left : rcSplit.bottom - rcSplit.top;
    CRect rc;
    GetWindowRect(&rc);
    if (bHorz)
    {
        rc.left = m_nTrackerOffset - nThick / 2;
        rc.right = rc.left + nThick;
    }
    else
    {
        rc.top = m_nTrackerOffset - nThick / 2;
        rc.bottom = rc.top + nThick;
    }
    DrawTracker(rc);
}

// ---- room in the row ------------------------------------------------------------------

void CExtControlBar::OnRowVisibilityChanged()
{
    if (IsFixedMode() || (m_nActivityFlags & __EAF_SYNC_GUARD) != 0 || m_pDockSite == NULL || m_pDockBar == NULL ||
        IsFloating() || GetDockBarCtrlID() == AFX_IDW_DOCKBAR_FLOAT || m_hWnd == NULL)
        return;
    // Pages of a group share no row: the group's tabs follow them instead.
    CExtDynTabControlBar* pGroup = GetTabbedContainer();
    if (pGroup != NULL)
    {
        pGroup->OnBarVisibilityChanged(this);
        return;
    }
    const bool bHorz = IsHorzDockBar(m_pDockBar);
    if ((GetStyle() & WS_VISIBLE) == 0)
    {
        m_nSavedRowLength = LenRef(this, bHorz);
        return;
    }
    if (m_nSavedRowLength <= 0)
        return;
    const int nAmount = m_nSavedRowLength;
    m_nSavedRowLength = 0;
    CArray<CExtControlBar*, CExtControlBar*> arrRow;
    GetRowBars(arrRow);
    for (INT_PTR i = arrRow.GetSize() - 1; i >= 0; i--)
        if (arrRow[i] == this)
            arrRow.RemoveAt(i);
    PayFromBars(arrRow, nAmount, bHorz);
}

void CExtControlBar::MakeRoomInRow()
{
    if (m_hWnd == NULL || m_pDockBar == NULL || IsFloating() || (GetStyle() & WS_VISIBLE) != 0)
        return;
    const bool bHorz = IsHorzDockBar(m_pDockBar);
    CArray<CExtControlBar*, CExtControlBar*> arrRow;
    GetRowBars(arrRow, true);
    for (INT_PTR i = arrRow.GetSize() - 1; i >= 0; i--)
        if (arrRow[i] == this)
            arrRow.RemoveAt(i);
    LONG& nLen = LenRef(this, bHorz);
    if (nLen == 0)
        nLen = MinLen(this, bHorz);
    PayFromBars(arrRow, nLen, bHorz);
    if (arrRow.GetSize() > 0)
        ThickRef(this, bHorz) = ThickRef(arrRow[0], bHorz);
}

void CExtControlBar::MaximizeInRow()
{
    if (m_hWnd == NULL || m_pDockBar == NULL || IsFloating() || IsSingleInRow())
        return;
    const bool bHorz = IsHorzDockBar(m_pDockBar);
    CArray<CExtControlBar*, CExtControlBar*> arrRow;
    GetRowBars(arrRow);
    int nFreed = 0;
    for (INT_PTR i = 0; i < arrRow.GetSize(); i++)
    {
        if (arrRow[i] == this)
            continue;
        LONG& nLen = LenRef(arrRow[i], bHorz);
        const int nMin = MinLen(arrRow[i], bHorz);
        nFreed += nLen - nMin;
        nLen = nMin;
    }
    LenRef(this, bHorz) += nFreed;
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
        pFrame->RecalcLayout(TRUE);
}

