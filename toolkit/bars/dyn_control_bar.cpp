// Nested docking: the container bar answers and acts for the bars inside it; its dock
// bar shares the container's client area among them, row by row, one pixel at a time,
// and dissolves the container when it holds one bar or none.
#include "toolkit/bars/dyn_control_bar.h"
#include <algorithm>
#include "framework/afxres.h"
#include "toolkit/dialogs/memory_dc.h"

IMPLEMENT_DYNCREATE(CExtDynControlBar, CExtControlBar)
IMPLEMENT_DYNAMIC(CExtDockDynBar, CExtDockBar)

BEGIN_MESSAGE_MAP(CExtDynControlBar, CExtControlBar)
    ON_WM_CREATE()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CExtDockDynBar, CExtDockBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

LONG& Thick(CExtControlBar* pBar, bool bHorz) { return bHorz ? pBar->m_sizeDockedH.cy : pBar->m_sizeDockedV.cx; }
LONG& Length(CExtControlBar* pBar, bool bHorz) { return bHorz ? pBar->m_sizeDockedH.cx : pBar->m_sizeDockedV.cy; }
// In a horizontal container rows stack downwards: a bar's minimum across the row is its
// vertical extent, along the row its horizontal one.
int MinThick(const CExtControlBar* pBar, bool bHorz) { return bHorz ? pBar->GetMinVertExtent() : pBar->GetMinHorzExtent(); }
int MinLength(const CExtControlBar* pBar, bool bHorz) { return bHorz ? pBar->GetMinHorzExtent() : pBar->GetMinVertExtent(); }

}  // namespace

// ---- the container ----------------------------------------------------------------------

CExtDynControlBar::CExtDynControlBar() : m_pWndDynDocker(NULL), m_pReserved(NULL), m_bReserved(false)
{
    // The container is never listed in bars menus: its bars are.
    m_nOptionFlags &= ~__ESF_IN_BARS_MENU;
    m_bAutoDelete = TRUE;
}

CExtDynControlBar::~CExtDynControlBar() {}

CExtDockDynBar* CExtDynControlBar::CreateInnerDockBar() { return new CExtDockDynBar; }

int CExtDynControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CExtControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    UINT nID = UINT(GetDlgCtrlID());
    if (nID < AFX_IDW_DOCKBAR_TOP || nID > AFX_IDW_DOCKBAR_FLOAT)
        nID = AFX_IDW_DOCKBAR_TOP;
    if (nID == AFX_IDW_DOCKBAR_FLOAT && CExtPaintManagerHolder::IsKindOfByName(this, "CExtDynTabControlBar"))
    {
        nID = AFX_IDW_DOCKBAR_TOP;
        SetDlgCtrlID(int(nID));
    }
    m_pWndDynDocker = CreateInnerDockBar();
    if (m_pWndDynDocker == NULL)
        return -1;
    if (!m_pWndDynDocker->Create(this, 0x56002F00, nID))
    {
        delete m_pWndDynDocker;
        m_pWndDynDocker = NULL;
        return -1;
    }
    if (m_pWndDynDocker->GetParent() != this)
        m_pWndDynDocker->SetParent(this);
    m_pWndDynDocker->EnableToolTips(TRUE);
    return 0;
}

void CExtDynControlBar::GetInnerBars(CArray<CExtControlBar*, CExtControlBar*>& arrBars) const
{
    arrBars.RemoveAll();
    if (m_pWndDynDocker == NULL || m_pWndDynDocker->m_hWnd == NULL)
        return;
    for (INT_PTR i = 0; i < m_pWndDynDocker->m_arrBars.GetSize(); i++)
    {
        CExtControlBar* pBar =
            DYNAMIC_DOWNCAST(CExtControlBar, m_pWndDynDocker->GetDockedControlBar(int(i)));
        if (pBar != NULL)
            arrBars.Add(pBar);
    }
}

#define DYN_ALL_INNER(query)                                     \
    bool CExtDynControlBar::query() const                        \
    {                                                            \
        CArray<CExtControlBar*, CExtControlBar*> arr;            \
        GetInnerBars(arr);                                       \
        for (INT_PTR i = 0; i < arr.GetSize(); i++)              \
            if (!arr[i]->query())                                \
                return false;                                    \
        return CExtControlBar::query();                          \
    }
DYN_ALL_INNER(IsDraggingAllowed)
DYN_ALL_INNER(IsFloatToggleAllowed)
DYN_ALL_INNER(IsMenuButtonAllowed)
DYN_ALL_INNER(IsHidingAllowed)
DYN_ALL_INNER(IsAutoHidingAllowed)
DYN_ALL_INNER(IsRowResizingAllowed)
DYN_ALL_INNER(IsInRowResizingAllowed)
#undef DYN_ALL_INNER

void CExtDynControlBar::ShowBar(bool bShow, bool bDelay, bool bActiveTabOnly)
{
    CFrameWnd* pFrame = GetDockingFrame();
    if (m_pWndDynDocker != NULL)
    {
        for (INT_PTR i = 0; i < m_pWndDynDocker->m_arrBars.GetSize(); i++)
        {
            CControlBar* pBar = m_pWndDynDocker->GetDockedControlBar(int(i));
            if (pBar == NULL || pBar->m_hWnd == NULL)
                continue;
            CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
            if (pExt != NULL)
                pExt->ShowBar(bShow, false, bActiveTabOnly);
            else if (pFrame != NULL)
                pFrame->ShowControlBar(pBar, bShow, FALSE);
        }
    }
    CExtControlBar::ShowBar(bShow, bDelay, bActiveTabOnly);
    if (!bDelay && pFrame != NULL)
        pFrame->RecalcLayout();
}

int CExtDynControlBar::GetMinHorzExtent() const
{
    CArray<CExtControlBar*, CExtControlBar*> arr;
    GetInnerBars(arr);
    int n = 0;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        n = std::max(n, arr[i]->GetMinHorzExtent());
    return n;
}

int CExtDynControlBar::GetMinVertExtent() const
{
    CArray<CExtControlBar*, CExtControlBar*> arr;
    GetInnerBars(arr);
    int n = 0;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        n = std::max(n, arr[i]->GetMinVertExtent());
    return n;
}

CSize CExtDynControlBar::GetDefaultMinSize() const { return const_cast<CExtDynControlBar*>(this)->CalcNestedMinSize(); }

CSize CExtDynControlBar::CalcNestedMinSize()
{
    if (m_pWndDynDocker == NULL || m_pWndDynDocker->m_hWnd == NULL)
        return CSize(0, 0);
    CExtDockDynBar::VisibleLayout_t layout;
    m_pWndDynDocker->BuildVisibleLayout(layout);
    if (m_pWndDynDocker->IsHorzContainer())
        return CSize(layout.m_nTotalMinThickness, layout.m_nMaxMinLength);
    return CSize(layout.m_nMaxMinLength, layout.m_nMaxMinLength);
}

bool CExtDynControlBar::IsHostedByDockBar() const
{
    return m_hWnd != NULL && GetParent() != NULL && GetParent()->IsKindOf(RUNTIME_CLASS(CExtDockBar));
}

void CExtDynControlBar::OnPaintBackground(CDC& dc)
{
    if (IsHostedByDockBar())
    {
        CExtControlBar::OnPaintBackground(dc);
        return;
    }
    CRect rc;
    GetClientRect(&rc);
    CExtPaintManager* pPM = GetPaintManager();
    if (!(pPM->UsesParentBackground(this) && pPM->DrawWindowBackground(true, dc, this)))
        dc.FillSolidRect(&rc, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this));
}

void CExtDynControlBar::DrawNcArea(CDC& dc)
{
    if (IsHostedByDockBar())
    {
        CExtControlBar::DrawNcArea(dc);
        return;
    }
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.TopLeft());
    CExtPaintManager* pPM = GetPaintManager();
    if (!(pPM->UsesParentBackground(this) && pPM->DrawWindowBackground(false, dc, this)))
        dc.FillSolidRect(&rc, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this));
}

// ---- the dock bar inside ------------------------------------------------------------------

CExtDockDynBar::VisibleLayout_t::~VisibleLayout_t()
{
    for (INT_PTR i = 0; i < m_arrRows.GetSize(); i++)
        delete m_arrRows[i];
}

bool CExtDockDynBar::VisibleLayout_t::IsEmpty() const
{
    return m_arrRows.GetSize() == 0 || (m_arrRows.GetSize() == 1 && m_arrRows[0]->m_arrBars.GetSize() == 0);
}

CExtDockDynBar::CExtDockDynBar() : CExtDockBar(0), m_bRemovedFromFrameList(false) {}

CExtDockDynBar::~CExtDockDynBar() {}

void CExtDockDynBar::CollectBars(CArray<CControlBar*, CControlBar*>& arrBars) const
{
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
    {
        CControlBar* pBar = GetDockedControlBar(int(i));
        if (pBar != NULL)
            arrBars.Add(pBar);
    }
}

CExtDockBar* CExtDockDynBar::OuterDockBar() const
{
    CWnd* pContainer = GetParent();
    if (pContainer == NULL || !pContainer->IsKindOf(RUNTIME_CLASS(CControlBar)))
        return NULL;
    return DYNAMIC_DOWNCAST(CExtDockBar, static_cast<CControlBar*>(pContainer)->m_pDockBar);
}

bool CExtDockDynBar::SetLayoutLock(bool bLock)
{
    const bool bChanged = CExtDockBar::SetLayoutLock(bLock);
    CExtDockBar* pOuter = OuterDockBar();
    if (pOuter != NULL)
        pOuter->SetLayoutLock(bLock);
    return bChanged;
}

CExtDynAutoHideArea* CExtDockDynBar::GetAutoHideArea() const
{
    CExtDockBar* pOuter = OuterDockBar();
    return pOuter != NULL ? pOuter->GetAutoHideArea() : NULL;
}

bool CExtDockDynBar::IsHorzContainer() const
{
    // The container's own id names the direction it was made for: beside one another
    // under a top or bottom id, one above the other under a left or right id.
    const UINT nOwnID = m_hWnd != NULL ? UINT(GetDlgCtrlID()) : 0;
    if (nOwnID == AFX_IDW_DOCKBAR_TOP || nOwnID == AFX_IDW_DOCKBAR_BOTTOM)
        return true;
    if (nOwnID == AFX_IDW_DOCKBAR_LEFT || nOwnID == AFX_IDW_DOCKBAR_RIGHT)
        return false;
    CWnd* pContainer = GetParent();
    CControlBar* pBar = DYNAMIC_DOWNCAST(CControlBar, pContainer);
    if (pBar == NULL || pBar->m_pDockBar == NULL)
        return true;
    const UINT nID = UINT(pBar->m_pDockBar->GetDlgCtrlID());
    if (nID == AFX_IDW_DOCKBAR_LEFT || nID == AFX_IDW_DOCKBAR_RIGHT)
        return false;
    if (nID == AFX_IDW_DOCKBAR_TOP || nID == AFX_IDW_DOCKBAR_BOTTOM || nID == AFX_IDW_DOCKBAR_FLOAT)
        return true;
    return (pBar->m_pDockBar->m_dwStyle & CBRS_ORIENT_HORZ) != 0;
}

void CExtDockDynBar::BuildVisibleLayout(VisibleLayout_t& layout) const
{
    const bool bHorz = IsHorzContainer();
    layout.m_arrRows.Add(new VisibleLayoutItem_t);
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++)
    {
        if (m_arrBars[i] == NULL)
        {
            if (layout.m_arrRows[layout.m_arrRows.GetSize() - 1]->m_arrBars.GetSize() > 0)
                layout.m_arrRows.Add(new VisibleLayoutItem_t);
            continue;
        }
        CExtControlBar* pBar = DYNAMIC_DOWNCAST(CExtControlBar, GetDockedControlBar(int(i)));
        if (pBar != NULL && pBar->m_hWnd != NULL && pBar->IsVisible())
            layout.m_arrRows[layout.m_arrRows.GetSize() - 1]->m_arrBars.Add(pBar);
    }
    // A trailing empty row record is no row.
    if (layout.m_arrRows.GetSize() > 1 && layout.m_arrRows[layout.m_arrRows.GetSize() - 1]->m_arrBars.GetSize() == 0)
    {
        delete layout.m_arrRows[layout.m_arrRows.GetSize() - 1];
        layout.m_arrRows.RemoveAt(layout.m_arrRows.GetSize() - 1);
    }
    for (INT_PTR r = 0; r < layout.m_arrRows.GetSize(); r++)
    {
        VisibleLayoutItem_t* pRow = layout.m_arrRows[r];
        if (pRow->m_arrBars.GetSize() == 0)
            continue;
        pRow->m_nThickness = Thick(pRow->m_arrBars[0], bHorz);
        pRow->m_nMinThickness = MinThick(pRow->m_arrBars[0], bHorz);
        for (INT_PTR i = 0; i < pRow->m_arrBars.GetSize(); i++)
        {
            CExtControlBar* pBar = pRow->m_arrBars[i];
            pRow->m_nMinThickness = std::min(pRow->m_nMinThickness, MinThick(pBar, bHorz));
            pRow->m_nLength += Length(pBar, bHorz);
            pRow->m_nMinLength += MinLength(pBar, bHorz);
        }
        layout.m_nTotalThickness += pRow->m_nThickness;
        layout.m_nTotalMinThickness += pRow->m_nMinThickness;
        layout.m_nMaxMinLength = std::max(layout.m_nMaxMinLength, pRow->m_nMinLength);
    }
}

void CExtDockDynBar::ArrangeRows(VisibleLayout_t& layout, int cx, int cy)
{
    if (cx <= 0 || cy <= 0)
        return;
    const bool bHorz = IsHorzContainer();
    const INT_PTR nRows = layout.m_arrRows.GetSize();
    // Rows first: the spare thickness goes one pixel at a time to each row in turn.
    int nDiff = (bHorz ? cy : cx) - layout.m_nTotalThickness;
    const int nStep = nDiff > 0 ? 1 : -1;
    for (bool bChanged = true; nDiff != 0 && bChanged;)
    {
        bChanged = false;
        for (INT_PTR r = 0; r < nRows && nDiff != 0; r++)
        {
            VisibleLayoutItem_t* pRow = layout.m_arrRows[r];
            if (pRow->m_arrBars.GetSize() == 0 || (nStep < 0 && pRow->m_nThickness <= pRow->m_nMinThickness))
                continue;
            pRow->m_nThickness += nStep;
            nDiff -= nStep;
            bChanged = true;
        }
    }
    for (INT_PTR r = 0; r < nRows; r++)
    {
        VisibleLayoutItem_t* pRow = layout.m_arrRows[r];
        for (INT_PTR i = 0; i < pRow->m_arrBars.GetSize(); i++)
            Thick(pRow->m_arrBars[i], bHorz) = pRow->m_nThickness;
        // Then each row's bars share its length the same way.
        int nLenDiff = (bHorz ? cx : cy) - pRow->m_nLength;
        const int nLenStep = nLenDiff > 0 ? 1 : -1;
        for (bool bChanged = true; nLenDiff != 0 && bChanged;)
        {
            bChanged = false;
            for (INT_PTR i = 0; i < pRow->m_arrBars.GetSize() && nLenDiff != 0; i++)
            {
                CExtControlBar* pBar = pRow->m_arrBars[i];
                if (nLenStep < 0 && Length(pBar, bHorz) <= MinLength(pBar, bHorz))
                    continue;
                Length(pBar, bHorz) += nLenStep;
                nLenDiff -= nLenStep;
                bChanged = true;
            }
        }
    }
    // Placement in one batch.
    HDWP hDWP = ::BeginDeferWindowPos(int(m_arrBars.GetSize()));
    int nAcross = 0;
    for (INT_PTR r = 0; r < nRows; r++)
    {
        VisibleLayoutItem_t* pRow = layout.m_arrRows[r];
        int nAlong = 0;
        for (INT_PTR i = 0; i < pRow->m_arrBars.GetSize(); i++)
        {
            CExtControlBar* pBar = pRow->m_arrBars[i];
            const int nLen = Length(pBar, bHorz);
            const CRect rc = bHorz ? CRect(nAlong, nAcross, nAlong + nLen, nAcross + pRow->m_nThickness)
                                   : CRect(nAcross, nAlong, nAcross + pRow->m_nThickness, nAlong + nLen);
            CExtControlBar::MoveBarInBatch(hDWP, pBar, rc);
            nAlong += nLen;
        }
        nAcross += pRow->m_nThickness;
    }
    if (hDWP != NULL)
        ::EndDeferWindowPos(hDWP);
    for (INT_PTR r = 0; r < nRows; r++)
        for (INT_PTR i = 0; i < layout.m_arrRows[r]->m_arrBars.GetSize(); i++)
            layout.m_arrRows[r]->m_arrBars[i]->ResizeContentWindow(-1, -1, true);
}

CSize CExtDockDynBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CSize size = rcWnd.Size();
    VisibleLayout_t layout;
    BuildVisibleLayout(layout);
    if (!layout.IsEmpty() && bStretch && size.cx >= 1 && size.cy >= 1)
        ArrangeRows(layout, size.cx, size.cy);
    return size;
}

void CExtDockDynBar::OnSize(UINT nType, int cx, int cy)
{
    CExtDockBar::OnSize(nType, cx, cy);
    if (m_bRemovedFromFrameList)
        return;
    // The container places this dock bar; the frame's own layout never moves it.
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == NULL)
        return;
    POSITION pos = pFrame->m_listControlBars.Find(this);
    if (pos != NULL)
        pFrame->m_listControlBars.RemoveAt(pos);
    m_bRemovedFromFrameList = true;
}

void CExtDockDynBar::UpdateNestedLayout()
{
    if (IsLayoutLocked() || m_bInNestedLayout)
        return;
    CalcFixedLayout(TRUE, IsHorzContainer());
    CExtDockBar::UpdateNestedLayout();
}

void CExtDockDynBar::UpdateNestedLayout2()
{
    if (IsLayoutLocked())
        return;
    int nBars = 0, nPlaceholders = 0;
    CControlBar* pHeir = NULL;
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++)
    {
        void* p = m_arrBars[i];
        if (p == NULL)
            continue;
        if (UINT_PTR(p) <= 0xFFFF)
            nPlaceholders++;
        else
        {
            nBars++;
            pHeir = static_cast<CControlBar*>(p);
        }
    }
    if (nBars >= 2 || (nBars == 1 && nPlaceholders > 0))
    {
        CExtDockBar::UpdateNestedLayout2();
        return;
    }
    DissolveContainer(nBars == 1 ? pHeir : NULL);
}

void CExtDockDynBar::DissolveContainer(CControlBar* pHeir)
{
    CExtDynControlBar* pContainer = DYNAMIC_DOWNCAST(CExtDynControlBar, GetParent());
    if (pContainer == NULL || pContainer->m_hWnd == NULL)
        return;
    // Nothing may dissolve this container a second time while it goes: a layout pass
    // that the moves below set off finds this dock bar locked. The lock is never lifted,
    // since this dock bar goes with its container.
    CExtDockBar::SetLayoutLock(true);
    CDockBar* pOuter = pContainer->m_pDockBar;
    CFrameWnd* pFrame = GetDockingFrame();
    const bool bInMiniFrame = pContainer->GetParentFrame() != NULL &&
                              pContainer->GetParentFrame()->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd));
    if (pHeir != NULL && pOuter != NULL)
        HandContainerPlaceTo(pContainer, pOuter, pHeir);
    pContainer->m_pDockBar = NULL;
    if (pFrame != NULL)
    {
        POSITION pos = pFrame->m_listControlBars.Find(this);
        if (pos != NULL)
            pFrame->m_listControlBars.RemoveAt(pos);
        pos = pFrame->m_listControlBars.Find(pContainer);
        if (pos != NULL)
            pFrame->m_listControlBars.RemoveAt(pos);
    }
    // Taking the container out of a floating dock bar that it leaves empty takes the
    // floating frame down with everything inside it: the outer dock bar, the container
    // and this dock bar are then freed. From here on each is found again by its window,
    // and nothing of this object is read any more.
    const HWND hWndContainer = pContainer->m_hWnd;
    const HWND hWndOuter = pOuter != NULL ? pOuter->m_hWnd : NULL;
    const HWND hWndFrame = pFrame != NULL ? pFrame->m_hWnd : NULL;
    if (pOuter != NULL)
    {
        CExtDockBar* pOuterExt = DYNAMIC_DOWNCAST(CExtDockBar, pOuter);
        if (pOuterExt != NULL)
            pOuterExt->RemoveControlBar(pContainer, -1, 0, false);
        else
            pOuter->RemoveControlBar(pContainer, -1, 0);
    }
    if (LiveWindowObject(hWndContainer) == pContainer)
        pContainer->DestroyWindow();
    CFrameWnd* pLiveFrame = DYNAMIC_DOWNCAST(CFrameWnd, LiveWindowObject(hWndFrame));
    if (pLiveFrame != NULL && !bInMiniFrame)
        pLiveFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
    CExtDockBar* pOuterExt = DYNAMIC_DOWNCAST(CExtDockBar, LiveWindowObject(hWndOuter));
    if (pOuterExt != NULL)
        pOuterExt->UpdateNestedLayout();
}

void CExtDockDynBar::HandContainerPlaceTo(CExtDynControlBar* pContainer, CDockBar* pOuter, CControlBar* pHeir)
{
    // The remaining bar takes the container's place and size.
    const int nPos = pOuter->FindBar(pContainer);
    if (nPos > 0)
        pOuter->m_arrBars.InsertAt(nPos, pHeir);
    CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pHeir);
    CRect rcContainer;
    pContainer->GetWindowRect(&rcContainer);
    if (pExt != NULL && !pExt->IsFixedMode())
    {
        if ((pOuter->m_dwStyle & CBRS_ORIENT_HORZ) != 0)
            pExt->m_sizeDockedH = rcContainer.Size();
        else
            pExt->m_sizeDockedV = rcContainer.Size();
    }
    DWORD dwStyle = pHeir->GetBarStyle();
    dwStyle &= ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY);
    dwStyle |= pOuter->m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY);
    pHeir->SetBarStyle(dwStyle);
    m_arrBars.RemoveAll();
    m_arrBars.Add(NULL);
    pHeir->m_pDockBar = pOuter;
    pHeir->SetParent(pOuter);
}
