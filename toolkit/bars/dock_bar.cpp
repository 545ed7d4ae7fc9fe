// CExtDockBar: a frame side's dock bar with its own window class and themed background,
// the rings of dock bars one inside another, placeholders, docking a bar into it, its
// row layout, its strip of the frame, and the bars context menu.
#include "toolkit/bars/dock_bar.h"
#include "toolkit/bars/auto_hide.h"
#include <algorithm>
#include "framework/afxres.h"
#include "framework/miniframe.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_bar_parts.h"

IMPLEMENT_DYNAMIC(CExtDockBar, CDockBar)

const char* const CExtDockBar::g_sDockBarClassName = "Kestrix-DockBar";
bool CExtDockBar::g_bDockBarClassRegistered = false;

BEGIN_MESSAGE_MAP(CExtDockBar, CDockBar)
    ON_MESSAGE(WM_SIZEPARENT, &CExtDockBar::OnSizeParent)
    ON_WM_CONTEXTMENU()
    ON_WM_CANCELMODE()
    ON_WM_ERASEBKGND()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_HELPHITTEST, &CExtDockBar::OnHelpHitTest)
END_MESSAGE_MAP()

namespace {

bool IsBarEntry(void* p) { return p != NULL && UINT_PTR(p) > 0xFFFF; }

const UINT kSideIds[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};

DWORD SideAlign(UINT nID)
{
    switch (nID)
    {
    case AFX_IDW_DOCKBAR_TOP: return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM: return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT: return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT: return CBRS_ALIGN_RIGHT;
    default: return 0;
    }
}

// Removes entry nPos and, when that leaves two row ends side by side, one of them.
void RemoveEntry(CPtrArray& arr, INT_PTR nPos)
{
    arr.RemoveAt(nPos);
    if (nPos > 0 && nPos < arr.GetSize() && arr[nPos - 1] == NULL && arr[nPos] == NULL)
        arr.RemoveAt(nPos);
}

bool IsFixedExtBar(CControlBar* pBar)
{
    CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
    return pExt != NULL && pExt->IsFixedDockStyle() && pExt->IsFullRow();
}

}  // namespace

CExtDockBar::CExtDockBar(UINT nCircleNo)
    : m_bLockLayout(false), m_nCircleNo(nCircleNo), m_pDockBarOuter(NULL), m_pDockBarInner(NULL),
      m_bInNestedLayout(false), m_pAutoHideArea(NULL)
{
    m_rcLastInvisiblePreCalc.SetRectEmpty();
    RegisterDockBarClass();
    RegisterWithHolder();
}

CExtDockBar::~CExtDockBar() { UnregisterFromHolder(); }

void CExtDockBar::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtDockBar::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtDockBar::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtDockBar::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

bool CExtDockBar::RegisterDockBarClass()
{
    if (g_bDockBarClassRegistered)
        return true;
    WNDCLASSA wc;
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (!::GetClassInfoA(hInst, g_sDockBarClassName, &wc))
    {
        ::ZeroMemory(&wc, sizeof(wc));
        wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = hInst;
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = g_sDockBarClassName;
        if (!::RegisterClassA(&wc))
            return false;
    }
    g_bDockBarClassRegistered = true;
    return true;
}

BOOL CExtDockBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!RegisterDockBarClass() || !CDockBar::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = g_sDockBarClassName;
    return TRUE;
}

BOOL CExtDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = (dwStyle & CBRS_ALL);
    CRect rect;
    rect.SetRectEmpty();
    if (!CWnd::Create(g_sDockBarClassName, NULL, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    // A zero-thick strip on the matching edge until the first layout gives it its size.
    CRect rcParent;
    pParentWnd->GetClientRect(&rcParent);
    switch (nID)
    {
    case AFX_IDW_DOCKBAR_TOP: rcParent.bottom = rcParent.top; break;
    case AFX_IDW_DOCKBAR_LEFT: rcParent.right = rcParent.left; break;
    case AFX_IDW_DOCKBAR_RIGHT: rcParent.left = rcParent.right; break;
    case AFX_IDW_DOCKBAR_BOTTOM: rcParent.top = rcParent.bottom; break;
    default: break;
    }
    MoveWindow(&rcParent, FALSE);
    if ((GetExStyle() & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0)
        ModifyStyleEx(WS_EX_LAYOUTRTL | WS_EX_RTLREADING, 0, SWP_FRAMECHANGED);
    return TRUE;
}

LRESULT CExtDockBar::WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    switch (nMessage)
    {
    case WM_CREATE:
    {
        const LRESULT lResult = CDockBar::WindowProc(nMessage, wParam, lParam);
        if (lResult != -1)
            EnableToolTips(TRUE);
        return lResult;
    }
    case WM_NCDESTROY:
        Unlink();
        break;
    default:
        break;
    }
    return CDockBar::WindowProc(nMessage, wParam, lParam);
}

void CExtDockBar::Unlink()
{
    if (m_pDockBarOuter != NULL && m_pDockBarOuter->m_pDockBarInner == this)
        m_pDockBarOuter->m_pDockBarInner = NULL;
    if (m_pDockBarInner != NULL && m_pDockBarInner->m_pDockBarOuter == this)
        m_pDockBarInner->m_pDockBarOuter = NULL;
    m_pDockBarOuter = m_pDockBarInner = NULL;
}

void CExtDockBar::OnDestroy()
{
    Unlink();
    DetachAllBars();
    CDockBar::OnDestroy();
}

BOOL CExtDockBar::DestroyWindow()
{
    DetachAllBars();
    return CDockBar::DestroyWindow();
}

void CExtDockBar::DetachAllBars()
{
    m_bLockLayout = true;
    for (INT_PTR i = m_arrBars.GetSize() - 2; i >= 1; i--)
    {
        if (i >= m_arrBars.GetSize())
            continue;
        CControlBar* pBar = GetDockedControlBar(int(i));
        if (pBar != NULL)
        {
            CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
            if (pExt != NULL)
                pExt->m_nActivityFlags |= CExtControlBar::__EAF_SYNC_GUARD;
            pBar->m_pDockBar = NULL;
            CFrameWnd* pSite = pBar->m_pDockSite;
            if (pBar->m_hWnd != NULL && pSite != NULL && pSite->m_hWnd != NULL && ::GetParent(pBar->m_hWnd) != pSite->m_hWnd)
                pBar->SetParent(pSite);
            if (pExt != NULL)
                pExt->m_nActivityFlags &= ~CExtControlBar::__EAF_SYNC_GUARD;
        }
        m_arrBars.RemoveAt(i);
    }
    m_bLockLayout = false;
}

// ---- plain messages -------------------------------------------------------------------

BOOL CExtDockBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CExtDockBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {}

void CExtDockBar::OnNcPaint() {}

LRESULT CExtDockBar::OnHelpHitTest(WPARAM, LPARAM) { return 0; }

void CExtDockBar::OnCancelMode()
{
    Default();
    if (!CExtControlBar::IsFrameInHelpMode(this))
        CExtPopupMenuWnd::CancelMenuTracking();
}

void CExtDockBar::DoPaint(CDC* pDC)
{
    if (pDC == NULL || m_hWnd == NULL)
        return;
    CExtPaintManager::ClipOutChildren(pDC, m_hWnd);
    CRect rcClient;
    GetClientRect(&rcClient);
    CExtMemoryDC dc(pDC, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    GetPaintManager()->DrawDockBarBackground(dc, rcClient, this);
}

void CExtDockBar::DrawBorders(CDC* pDC, CRect& rect)
{
    if (pDC == NULL)
        return;
    CExtPaintManager::PAINTBARBORDERDATA _pbbd(this, CExtPaintManager::PAINTBARBORDERDATA::__BB_DOCK_BAR, m_dwStyle,
                                               rect);
    GetPaintManager()->DrawBarBorder(*pDC, _pbbd);
}

// ---- lock and nested layout -----------------------------------------------------------

void CExtDockBar::NotifyAutoHideArea1()
{
    if (m_nCircleNo == 0 && m_pAutoHideArea != NULL && m_pAutoHideArea->GetSafeHwnd() != NULL)
        m_pAutoHideArea->OnAreaNotify1();
}

void CExtDockBar::NotifyAutoHideArea2()
{
    if (m_nCircleNo == 0 && m_pAutoHideArea != NULL && m_pAutoHideArea->GetSafeHwnd() != NULL)
        m_pAutoHideArea->OnAreaNotify2();
}

bool CExtDockBar::SetLayoutLock(bool bLock)
{
    const bool bChanged = m_bLockLayout != bLock;
    m_bLockLayout = bLock;
    return bChanged;
}

void CExtDockBar::UpdateNestedLayout()
{
    if (m_bLockLayout || m_bInNestedLayout)
        return;
    m_bInNestedLayout = true;
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++)
    {
        CControlBar* pBar = GetDockedControlBar(int(i));
        if (pBar == NULL || !CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtDynControlBar"))
            continue;
        CExtControlBar* pExt = static_cast<CExtControlBar*>(pBar);
        if (!pExt->IsVisible() || pExt->IsFixedMode() || pExt->IsFixedDockStyle())
            continue;
        CExtDockBar* pInner = DYNAMIC_DOWNCAST(CExtDockBar, pExt->GetWindow(GW_CHILD));
        if (pInner != NULL)
            pInner->UpdateNestedLayout();
    }
    m_bInNestedLayout = false;
}

void CExtDockBar::UpdateNestedLayout2()
{
    if (m_bLockLayout)
        return;
    // A container may dissolve on the way and take its entry out of the array: the
    // containers are listed first and each is found again by its window.
    CArray<HWND, HWND> arrContainers;
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++)
    {
        CControlBar* pBar = GetDockedControlBar(int(i));
        if (pBar != NULL && pBar->m_hWnd != NULL && CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtDynControlBar"))
            arrContainers.Add(pBar->m_hWnd);
    }
    // A dissolving container in a floating frame may take the frame down, and this dock
    // bar with it: it is found again by its window before it is read.
    const HWND hWndOwn = m_hWnd;
    for (INT_PTR i = 0; i < arrContainers.GetSize(); i++)
    {
        CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, CWnd::FromHandlePermanent(arrContainers[i]));
        if (pExt == NULL || FindBar(pExt) <= 0 || !pExt->IsVisible() || pExt->IsFixedMode() ||
            pExt->IsFixedDockStyle())
            continue;
        CExtDockBar* pInner = DYNAMIC_DOWNCAST(CExtDockBar, pExt->GetWindow(GW_CHILD));
        if (pInner != NULL)
            pInner->UpdateNestedLayout2();
        if (LiveWindowObject(hWndOwn) != this || m_bLockLayout)
            break;
    }
}

void CExtDockBar::DelayFrameLayout()
{
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
        pFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
}

// ---- rings ----------------------------------------------------------------------------

CExtDockBar* CExtDockBar::FindDockBar(CFrameWnd* pFrame, UINT nCircleNo, UINT nDockBarID, bool bCreate)
{
    if (pFrame == NULL)
        return NULL;
    for (int nPass = 0; nPass < 2; nPass++)
    {
        for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL;)
        {
            CExtDockBar* pDock = DYNAMIC_DOWNCAST(CExtDockBar, (CObject*)pFrame->m_listControlBars.GetNext(pos));
            if (pDock != NULL && pDock->m_hWnd != NULL && pDock->GetCircleNo() == nCircleNo &&
                UINT(pDock->GetDlgCtrlID()) == nDockBarID)
                return pDock;
        }
        if (!bCreate || nPass > 0)
            break;
        if (CreateInnerRing(pFrame) == 0)
            break;
    }
    return NULL;
}

CExtDockBar* CExtDockBar::InnermostOfSide(CFrameWnd* pFrame, UINT nDockBarID)
{
    CExtDockBar* pDock = DYNAMIC_DOWNCAST(CExtDockBar, pFrame->GetControlBar(nDockBarID));
    // GetControlBar answers the first of that id in the list: ring 0 comes first, but
    // guard against an inner one having been found.
    while (pDock != NULL && pDock->m_pDockBarOuter != NULL)
        pDock = pDock->m_pDockBarOuter;
    int nGuard = 0;
    while (pDock != NULL && pDock->m_pDockBarInner != NULL && nGuard++ < 1000)
        pDock = pDock->m_pDockBarInner;
    return pDock;
}

CExtDockBar* CExtDockBar::GetRingDockBar(UINT nCircleNo)
{
    CExtDockBar* pDock = this;
    while (pDock != NULL && pDock->m_nCircleNo > nCircleNo)
        pDock = pDock->m_pDockBarOuter;
    while (pDock != NULL && pDock->m_nCircleNo < nCircleNo)
    {
        if (pDock->m_pDockBarInner == NULL)
        {
            if (CreateInnerRing(pDock->GetDockingFrame()) == 0 || pDock->m_pDockBarInner == NULL)
                return NULL;
        }
        pDock = pDock->m_pDockBarInner;
    }
    return pDock;
}

UINT CExtDockBar::GetNextRingNo()
{
    if (m_pDockBarInner != NULL)
        return m_nCircleNo + 1;
    return CreateInnerRing(GetDockingFrame());
}

CExtDockBar* CExtDockBar::FindSameRingDockBar(UINT nDockBarID, bool bCreate)
{
    if (UINT(GetDlgCtrlID()) == nDockBarID)
        return this;
    return FindDockBar(GetDockingFrame(), m_nCircleNo, nDockBarID, bCreate);
}

UINT CExtDockBar::CreateInnerRing(CFrameWnd* pFrame)
{
    if (pFrame == NULL || pFrame->m_hWnd == NULL)
        return 0;
    CExtDockBar* arrOuter[4];
    UINT nMaxRing = 0;
    for (int i = 0; i < 4; i++)
    {
        arrOuter[i] = InnermostOfSide(pFrame, kSideIds[i]);
        if (arrOuter[i] == NULL)
            return 0;
        nMaxRing = std::max(nMaxRing, arrOuter[i]->m_nCircleNo);
    }
    const UINT nNewRing = nMaxRing + 1;
    HWND hWndAfter = arrOuter[0]->m_hWnd;
    for (int i = 0; i < 4; i++)
    {
        CExtDockBar* pOuter = arrOuter[i];
        CExtDockBar* pNew = new CExtDockBar(nNewRing);
        if (!pNew->Create(pFrame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SideAlign(kSideIds[i]),
                          kSideIds[i]))
        {
            delete pNew;
            return 0;
        }
        pNew->m_pDockBarOuter = pOuter;
        pOuter->m_pDockBarInner = pNew;
        pNew->SetBarStyle(pOuter->GetBarStyle());
        pNew->m_pAutoHideArea = pOuter->m_pAutoHideArea;
        pNew->m_rcLastInvisiblePreCalc = pOuter->m_rcLastInvisiblePreCalc;
        if (pOuter->IsWindowVisible() && pOuter->GetDockedVisibleCount() > 0)
        {
            CRect rc;
            pOuter->GetWindowRect(&rc);
            switch (kSideIds[i])
            {
            case AFX_IDW_DOCKBAR_TOP: rc.top = rc.bottom; break;
            case AFX_IDW_DOCKBAR_LEFT: rc.left = rc.right; break;
            case AFX_IDW_DOCKBAR_RIGHT: rc.right = rc.left; break;
            default: rc.bottom = rc.top; break;
            }
            pNew->m_rcLastInvisiblePreCalc = rc;
        }
        ::SetWindowPos(pNew->m_hWnd, hWndAfter, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
        hWndAfter = pNew->m_hWnd;
    }
    if (arrOuter[0]->m_pAutoHideArea != NULL)
        CExtDynAutoHideArea::ArrangeZOrder(pFrame);
    return nNewRing;
}

bool CExtDockBar::IsDockBarEmpty() const
{
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
        if (m_arrBars[i] != NULL)
            return false;
    return true;
}

void CExtDockBar::InsertRing(CFrameWnd* pFrame, UINT nCircleNo)
{
    if (pFrame == NULL || nCircleNo == 0)
        return;
    CExtDockBar* arrOld[4];
    bool bAllEmpty = true, bAllThere = true;
    for (int i = 0; i < 4; i++)
    {
        arrOld[i] = FindDockBar(pFrame, nCircleNo, kSideIds[i], false);
        if (arrOld[i] == NULL)
            bAllThere = false;
        else if (!arrOld[i]->IsDockBarEmpty())
            bAllEmpty = false;
    }
    if (!bAllThere)
    {
        // The ring does not exist yet: ring nCircleNo comes from creating inner rings.
        UINT nGuard = 0;
        while (FindDockBar(pFrame, nCircleNo, kSideIds[0], false) == NULL && nGuard++ < 64)
            if (CreateInnerRing(pFrame) == 0)
                break;
        return;
    }
    if (bAllEmpty)
    {
        if (arrOld[0]->m_pAutoHideArea != NULL)
            CExtDynAutoHideArea::ArrangeZOrder(pFrame);
        return;
    }
    HWND hWndAfter = NULL;
    for (int i = 0; i < 4; i++)
    {
        CExtDockBar* pOld = arrOld[i];
        CExtDockBar* pOuter = pOld->m_pDockBarOuter;
        for (CExtDockBar* p = pOld; p != NULL; p = p->m_pDockBarInner)
            p->m_nCircleNo++;
        CExtDockBar* pNew = new CExtDockBar(nCircleNo);
        if (!pNew->Create(pFrame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SideAlign(kSideIds[i]),
                          kSideIds[i]))
        {
            delete pNew;
            for (CExtDockBar* p = pOld; p != NULL; p = p->m_pDockBarInner)
                p->m_nCircleNo--;
            return;
        }
        pNew->m_pDockBarOuter = pOuter;
        pNew->m_pDockBarInner = pOld;
        if (pOuter != NULL)
            pOuter->m_pDockBarInner = pNew;
        pOld->m_pDockBarOuter = pNew;
        pNew->SetBarStyle(pOld->GetBarStyle());
        pNew->m_pAutoHideArea = pOld->m_pAutoHideArea;
        pNew->m_rcLastInvisiblePreCalc = pOld->m_rcLastInvisiblePreCalc;
        if (i == 0)
            hWndAfter = pOuter != NULL ? pOuter->m_hWnd : HWND_TOP;
        ::SetWindowPos(pNew->m_hWnd, hWndAfter, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
        hWndAfter = pNew->m_hWnd;
    }
    if (arrOld[0]->m_pAutoHideArea != NULL)
        CExtDynAutoHideArea::ArrangeZOrder(pFrame);
}

void CExtDockBar::DestroyRingDockBar(CExtDockBar* pDockBar)
{
    pDockBar->Unlink();
    CFrameWnd* pFrame = pDockBar->GetDockingFrame();
    if (pFrame != NULL)
    {
        POSITION pos = pFrame->m_listControlBars.Find(pDockBar);
        if (pos != NULL)
            pFrame->m_listControlBars.RemoveAt(pos);
    }
    pDockBar->m_pDockSite = NULL;
    const BOOL bAutoDelete = pDockBar->m_bAutoDelete;
    pDockBar->DestroyWindow();
    if (!bAutoDelete)
        delete pDockBar;
}

void CExtDockBar::RemoveEmptyRings(CFrameWnd* pFrame)
{
    if (pFrame == NULL)
        return;
    for (int nPass = 0; nPass < 64; nPass++)
    {
        CExtDockBar* arrRing[4];
        for (int i = 0; i < 4; i++)
        {
            CExtDockBar* pSide = DYNAMIC_DOWNCAST(CExtDockBar, pFrame->GetControlBar(kSideIds[i]));
            while (pSide != NULL && pSide->m_pDockBarOuter != NULL)
                pSide = pSide->m_pDockBarOuter;
            arrRing[i] = pSide != NULL ? pSide->m_pDockBarInner : NULL;
        }
        UINT nRemoved = 0;
        while (arrRing[0] != NULL && arrRing[1] != NULL && arrRing[2] != NULL && arrRing[3] != NULL)
        {
            CExtDockBar* arrNext[4];
            bool bEmpty = true;
            for (int i = 0; i < 4; i++)
            {
                arrNext[i] = arrRing[i]->m_pDockBarInner;
                if (!arrRing[i]->IsDockBarEmpty())
                    bEmpty = false;
            }
            if (bEmpty)
            {
                for (int i = 0; i < 4; i++)
                {
                    CExtDockBar* pOuter = arrRing[i]->m_pDockBarOuter;
                    CExtDockBar* pInner = arrRing[i]->m_pDockBarInner;
                    DestroyRingDockBar(arrRing[i]);
                    if (pOuter != NULL)
                        pOuter->m_pDockBarInner = pInner;
                    if (pInner != NULL)
                        pInner->m_pDockBarOuter = pOuter;
                }
                nRemoved++;
            }
            else
            {
                for (int i = 0; i < 4; i++)
                {
                    arrRing[i]->m_nCircleNo -= nRemoved;
                    arrRing[i]->UpdateNestedLayout2();
                }
            }
            for (int i = 0; i < 4; i++)
                arrRing[i] = arrNext[i];
        }
        // Containers left with nothing visible inside are hidden; that may empty more.
        bool bHidden = false;
        for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL;)
        {
            CControlBar* pBar = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
            if (pBar == NULL || pBar->m_hWnd == NULL || !CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtDynControlBar") ||
                !pBar->IsVisible())
                continue;
            CDockBar* pInner = DYNAMIC_DOWNCAST(CDockBar, pBar->GetWindow(GW_CHILD));
            if (pInner != NULL && pInner->GetDockedVisibleCount() == 0)
            {
                pFrame->ShowControlBar(pBar, FALSE, TRUE);
                bHidden = true;
            }
        }
        if (!bHidden)
            break;
    }
}

void CExtDockBar::OptimizeRings()
{
    if (!m_bLockLayout)
        RemoveEmptyRings(GetDockingFrame());
}

// ---- placeholders ---------------------------------------------------------------------

INT_PTR CExtDockBar::FindBarPosition(CControlBar* pBar, bool bNested, bool* pbFound)
{
    if (pbFound != NULL)
        *pbFound = false;
    if (pBar == NULL || pBar->m_hWnd == NULL)
        return -1;
    return FindBarPosition(UINT(WORD(pBar->GetDlgCtrlID())), bNested, pbFound);
}

INT_PTR CExtDockBar::FindBarPosition(UINT nID, bool bNested, bool* pbFound)
{
    if (pbFound != NULL)
        *pbFound = false;
    if (nID == 0 || nID > 0xFFFF)
        return -1;
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++)
    {
        if (UINT_PTR(m_arrBars[i]) != nID)
            continue;
        RemoveEntry(m_arrBars, i);
        if (pbFound != NULL)
            *pbFound = true;
        return i;
    }
    if (bNested && FindPlaceholderInFrame(GetDockingFrame(), nID, this) && pbFound != NULL)
        *pbFound = true;
    return -1;
}

bool CExtDockBar::FindPlaceholderInFrame(CFrameWnd* pFrame, UINT nID, CExtDockBar* pExclude)
{
    if (pFrame == NULL)
        return false;
    bool bFound = false;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL;)
    {
        CControlBar* pBar = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
        CExtDockBar* pDock = DYNAMIC_DOWNCAST(CExtDockBar, pBar);
        if (pDock == NULL && pBar != NULL && CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtDynControlBar") &&
            pBar->m_hWnd != NULL)
            pDock = DYNAMIC_DOWNCAST(CExtDockBar, pBar->GetWindow(GW_CHILD));
        if (pDock == NULL || pDock == pExclude)
            continue;
        bool bHere = false;
        pDock->FindBarPosition(nID, false, &bHere);
        bFound = bFound || bHere;
    }
    return bFound;
}

void CExtDockBar::RemovePlaceholders(bool bNested)
{
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++)
    {
        CControlBar* pBar = GetDockedControlBar(int(i));
        if (pBar != NULL && pBar->m_hWnd != NULL)
        {
            const UINT nID = UINT(WORD(pBar->GetDlgCtrlID()));
            FindBarPosition(nID, false);
            if (bNested)
                FindPlaceholderInFrame(GetDockingFrame(), nID, this);
        }
    }
}

void CExtDockBar::InsertRowBreak(INT_PTR nPos)
{
    if (nPos < 0 || nPos > m_arrBars.GetSize())
        return;
    if (nPos < m_arrBars.GetSize() && m_arrBars[nPos] == NULL)
        return;
    if (nPos > 0 && m_arrBars[nPos - 1] == NULL)
        return;
    m_arrBars.InsertAt(nPos, (void*)NULL);
}

// ---- removing and docking -------------------------------------------------------------

BOOL CExtDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
    return RemoveControlBar(pBar, nPosExclude, nAddPlaceHolder, true);
}

BOOL CExtDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder, bool bRecalc)
{
    if (pBar == NULL)
        return FALSE;
    const int nPos = FindBar(pBar, nPosExclude);
    if (nPos <= 0)
        return FALSE;
    CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
    if (pExt != NULL && !pExt->IsFixedDockStyle())
        nAddPlaceHolder = 0;  // resizable bars find their place by other means
    if (nAddPlaceHolder == 1 && pBar->m_hWnd != NULL)
    {
        void* pID = (void*)(UINT_PTR)(UINT)(WORD)pBar->GetDlgCtrlID();
        m_arrBars[nPos] = pID;
        for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++)
            if (i != nPos && m_arrBars[i] == pID)
            {
                RemoveEntry(m_arrBars, i);
                break;
            }
    }
    else
    {
        RemoveEntry(m_arrBars, nPos);
        if (nAddPlaceHolder == 0 && pBar->m_hWnd != NULL)
        {
            const UINT nID = UINT(WORD(pBar->GetDlgCtrlID()));
            FindBarPosition(nID, false);
            FindPlaceholderInFrame(GetDockingFrame(), nID, this);
        }
    }
    if (pBar->m_pDockBar == this)
        pBar->m_pDockBar = NULL;
    // Callers ignore the answer; without a dock context there is nothing to relayout.
    if (pBar->m_pDockContext == NULL || m_hWnd == NULL)
        return FALSE;
    if (m_bFloating && GetDockedVisibleCount() == 0)
    {
        CFrameWnd* pMini = GetParentFrame();
        if (pMini != NULL)
        {
            if (GetDockedCount() == 0)
            {
                pMini->DestroyWindow();
                return TRUE;
            }
            pMini->ShowWindow(SW_HIDE);
        }
    }
    if (bRecalc)
        DelayFrameLayout();
    return TRUE;
}

void CExtDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect, bool bMoveNow)
{
    if (pBar == NULL || pBar->m_hWnd == NULL || m_hWnd == NULL)
        return;
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    if (pBar->m_pDockBar == this && (lpRect == NULL || rcBar == *lpRect))
        return;
    CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);

    if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI) != 0)
        m_dwStyle |= CBRS_FLOAT_MULTI;
    m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    if ((m_dwStyle & CBRS_FLOAT_MULTI) == 0)
    {
        CString sTitle;
        pBar->GetWindowText(sTitle);
        SetWindowText(sTitle);
    }

    DWORD dwStyle = pBar->GetBarStyle();
    dwStyle &= ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    dwStyle |= (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    if (m_bFloating)
        dwStyle |= CBRS_FLOATING;
    pBar->SetBarStyle(dwStyle);

    bool bShow = false;
    if (pBar->m_pDockBar != this && pBar->IsWindowVisible())
    {
        pBar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        bShow = true;
    }

    int nPos = -1;
    CRect rect;
    if (lpRect != NULL)
    {
        rect = *lpRect;
        ScreenToClient(&rect);
        const CPoint ptMid(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
        nPos = Insert(pBar, rect, ptMid);
        // A full-row bar keeps its row to itself.
        if (nPos > 1 && IsFixedExtBar(GetDockedControlBar(nPos - 1)))
        {
            m_arrBars.InsertAt(nPos, (void*)NULL);
            nPos++;
        }
        if (nPos + 1 < m_arrBars.GetSize() && IsFixedExtBar(GetDockedControlBar(nPos + 1)))
            m_arrBars.InsertAt(nPos + 1, (void*)NULL);
        pBar->SetWindowPos(NULL, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    else
    {
        m_arrBars.Add(pBar);
        m_arrBars.Add(NULL);
        pBar->SetWindowPos(NULL, -AfxGetCxBorder2(), -AfxGetCyBorder2(), 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }

    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    if (pExt != NULL && pExt->IsFixedMode() && pExt->IsFixedDockStyle() && pBar->m_pDockBar != NULL &&
        pBar->m_pDockBar->m_bFloating)
    {
        CFrameWnd* pOldMini = pBar->m_pDockBar->GetParentFrame();
        if (pOldMini != NULL && pOldMini != pBar->m_pDockSite)
        {
            pOldMini->ShowWindow(SW_HIDE);
            CExtPaintManager::PumpPaintMessages();
        }
    }

    CDockBar* pOld = pBar->m_pDockBar;
    if (pOld == this)
        RemoveControlBar(pBar, nPos, 0, true);
    else if (pOld != NULL)
    {
        CExtDockBar* pOldExt = DYNAMIC_DOWNCAST(CExtDockBar, pOld);
        const int nMode = (m_bFloating && !pOld->m_bFloating) ? 1 : 0;
        if (pOldExt != NULL)
        {
            pOldExt->RemoveControlBar(pBar, -1, nMode, false);
            if (!pOldExt->m_bFloating && !m_bLockLayout && pOldExt->m_hWnd != NULL)
                pOldExt->UpdateNestedLayout2();
        }
        else
            pOld->RemoveControlBar(pBar, -1, nMode);
    }
    pBar->m_pDockBar = this;

    if (bShow)
        pBar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else if (bMoveNow && lpRect != NULL)
        pBar->SetWindowPos(NULL, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);

    if (!m_bFloating)
        FindBarPosition(pBar, true);

    if (IsFixedExtBar(pBar))
    {
        const int nAt = FindBar(pBar);
        if (nAt > 0)
        {
            if (nAt + 1 < m_arrBars.GetSize() && IsBarEntry(m_arrBars[nAt + 1]))
            {
                // To the start of its row, with the rest of the row after it.
                int nStart = nAt;
                while (nStart > 1 && m_arrBars[nStart - 1] != NULL)
                    nStart--;
                m_arrBars.RemoveAt(nAt);
                m_arrBars.InsertAt(nStart, pBar);
                m_arrBars.InsertAt(nStart + 1, (void*)NULL);
            }
            else if (m_arrBars[nAt - 1] != NULL)
                m_arrBars.InsertAt(nAt, (void*)NULL);
        }
    }
    DelayFrameLayout();
}
