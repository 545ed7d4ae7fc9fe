// The toolbar object: construction, the button array and its upkeep, loading from a
// toolbar resource, the small queries, the message map and the window procedure.
#include "toolkit/bars/toolbar.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/bars/bar_mdi_buttons.h"
#include "framework/afxres.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtToolControlBar, CExtControlBar)

CSize CExtToolControlBar::g_sizeDefaultButton(23, 22);

const UINT CExtToolControlBar::g_nMsgTrackButtonMenu =
    ::RegisterWindowMessage(_T("CExtToolControlBar::g_nMsgTrackButtonMenu"));
const UINT CExtToolControlBar::g_nMsgContinueTrackMenu =
    ::RegisterWindowMessage(_T("CExtToolControlBar::g_nMsgContinueTrackMenu"));

CExtToolControlBar::CExtToolControlBar()
    : m_pRightBtn(NULL), m_nToolbarStyleFlags(__TBSF_SHOW_BARS_MENU), m_nLayoutState(0), m_nBtnIdxMenuTracking(-1),
      m_nBtnIdxCapture(-1), m_nBtnIdxHover(-1), m_pCustomizeSite(NULL), m_pCustomizeSelection(NULL),
      m_pDropMarkerButton(NULL), m_nDropMarkerSide(0), m_nToolbarOptions(__TBO_CUSTOMIZE)
{
    m_rcLastTip.SetRectEmpty();
    SetClassicMetrics();
    // A toolbar has a fixed size, its gripper goes to the left when it is docked
    // horizontally, and its buttons (not one child window) fill it.
    m_nLifeFlags |= __ELF_CUSTOMIZE_REGISTER;
    m_nActivityFlags &= ~__EAF_CONTENT_FILLS;
    m_nOptionFlags = BYTE((m_nOptionFlags | __ESF_FIXED_MODE) & ~__ESF_CAPTION_AT_TOP);
}

CExtToolControlBar::~CExtToolControlBar()
{
    // The base removes the bar from the list of all bars; the buttons are ours, and so
    // are the nodes of buttons dropped on the bar.
    RemoveAllButtons();
    for (INT_PTR i = 0; i < m_arrDroppedNodes.GetSize(); i++)
        delete m_arrDroppedNodes[i];
    m_arrDroppedNodes.RemoveAll();
}

// ---- buttons ------------------------------------------------------------------------

namespace {

// The ids of a toolbar resource in their order, separators (0) included; false when the
// resource cannot be read or its count overruns it.
bool ReadToolBarResourceIDs(UINT nResourceID, CArray<UINT, UINT>& arrIDs)
{
    arrIDs.RemoveAll();
    HRSRC hRsrc = NULL;
    HINSTANCE hInst = g_CurrentResourceManager->FindResourceHandle(MAKEINTRESOURCE(241),
                                                                   MAKEINTRESOURCE(LOWORD(nResourceID)), NULL, &hRsrc);
    if (hInst == NULL || hRsrc == NULL)
        return false;
    CExtResourceMemoryBuffer data;
    if (!data.FromResource(hInst, hRsrc) || data.GetSize() < 4 * sizeof(WORD))
        return false;
    const BYTE* p = data.GetBuffer();
    const DWORD nCount = (DWORD)(p[6] | (p[7] << 8));
    if (nCount * sizeof(WORD) > data.GetSize() - 4 * sizeof(WORD))
        return false;
    for (DWORD i = 0; i < nCount; i++)
    {
        const BYTE* pID = p + 4 * sizeof(WORD) + i * sizeof(WORD);
        arrIDs.Add((UINT)(WORD)(pID[0] | (pID[1] << 8)));
    }
    return true;
}

}  // namespace

BOOL CExtToolControlBar::LoadToolBar(UINT nResourceID, COLORREF clrTransparent)
{
    if (g_CommandManager.GetCmdManager() == NULL)
        return FALSE;
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(GetSafeHwnd());
    UINT* pIDs = NULL;
    INT nCount = 0;
    if (!g_CommandManager->UpdateFromToolBarResource(sProfile, MAKEINTRESOURCE(LOWORD(nResourceID)), &pIDs, &nCount,
                                                     false, true, clrTransparent))
    {
        delete[] pIDs;
        return FALSE;
    }
    // The command manager answers the commands only; the buttons keep the resource's
    // separators, which are read from the same resource.
    CArray<UINT, UINT> arrAll;
    if (ReadToolBarResourceIDs(nResourceID, arrAll))
        SetButtons(arrAll.GetData(), (int)arrAll.GetSize());
    else
        SetButtons(pIDs, nCount);
    delete[] pIDs;
    return TRUE;
}

BOOL CExtToolControlBar::SetButtons(const UINT* pIDs, int nCount)
{
    RemoveAllButtons();
    if (pIDs != NULL && nCount > 0)
    {
        const bool bFront = IsRightToLeftButtonOrder();
        for (int i = 0; i < nCount; i++)
        {
            CExtBarButton* pTBB = CreateButtonObject(pIDs[i], 0);
            if (pTBB == NULL)
                continue;
            if (bFront)
                m_buttons.InsertAt(0, pTBB);
            else
                m_buttons.Add(pTBB);
        }
    }
    m_pRightBtn = CreateContentExpandButton();
    if (m_pRightBtn != NULL)
        m_buttons.Add(m_pRightBtn);
    return TRUE;
}

void CExtToolControlBar::RemoveAllButtons()
{
    if (m_pRightBtn != NULL)
        m_pRightBtn->GetButtons().RemoveAll();
    for (INT_PTR i = 0; i < m_buttons.GetSize(); i++)
        delete m_buttons[i];
    m_buttons.RemoveAll();
    m_pRightBtn = NULL;
    m_pCustomizeSelection = NULL;
    m_pDropMarkerButton = NULL;
    m_nBtnIdxMenuTracking = m_nBtnIdxCapture = m_nBtnIdxHover = -1;
}

BOOL CExtToolControlBar::RemoveButton(int nPos, BOOL bRecalc)
{
    if (nPos < 0 || nPos >= GetButtonsCount())
        return FALSE;
    CExtBarButton* pTBB = m_buttons[nPos];
    if (pTBB == m_pRightBtn)
        return FALSE;
    if (m_pRightBtn != NULL)
    {
        CArray<CExtBarButton*, CExtBarButton*>& arrHidden = m_pRightBtn->GetButtons();
        for (INT_PTR i = arrHidden.GetSize() - 1; i >= 0; i--)
            if (arrHidden[i] == pTBB)
                arrHidden.RemoveAt(i);
    }
    if (m_pCustomizeSelection == pTBB)
        m_pCustomizeSelection = NULL;
    if (m_pDropMarkerButton == pTBB)
        m_pDropMarkerButton = NULL;
    m_buttons.RemoveAt(nPos);
    delete pTBB;
    m_nBtnIdxMenuTracking = m_nBtnIdxCapture = m_nBtnIdxHover = -1;
    if (bRecalc)
        RecalcParentFrameLayout();
    return TRUE;
}

BOOL CExtToolControlBar::InsertButtonObject(int nPos, CExtBarButton* pButton, BOOL bRecalc)
{
    if (pButton == NULL)
        return FALSE;
    const int nCount = GetButtonsCount();
    if (nPos > nCount)
        return FALSE;
    if (GetButtonIndex(pButton) >= 0)
        return FALSE;
    if (nPos < 0)
        nPos = nCount;
    // The chevron stays last.
    if (nPos == nCount && m_pRightBtn != NULL && nCount > 0)
        nPos = nCount - 1;
    m_buttons.InsertAt(nPos, pButton);
    if (bRecalc)
        RecalcParentFrameLayout();
    return TRUE;
}

BOOL CExtToolControlBar::InsertButton(int nPos, UINT nCmdID, BOOL bRecalc)
{
    const int nCount = GetButtonsCount();
    if (nPos > nCount)
        return FALSE;
    CExtBarButton* pTBB = CreateButtonObject(nCmdID, 0);
    if (pTBB == NULL)
        return FALSE;
    if (!InsertButtonObject(nPos, pTBB, bRecalc))
    {
        delete pTBB;
        return FALSE;
    }
    return TRUE;
}

BOOL CExtToolControlBar::SetButtonsFromCmdTreeNode(CExtCustomizeCmdTreeNode* pNode, bool bRecalc)
{
    if (m_pCustomizeSite == NULL || pNode == NULL)
        return FALSE;
    RemoveAllButtons();
    const bool bFront = IsRightToLeftButtonOrder();
    const int nNodes = pNode->GetNodeCount();
    for (int i = 0; i < nNodes; i++)
    {
        CExtCustomizeCmdTreeNode* pChild = pNode->ElementAt(i);
        if (pChild == NULL)
            continue;
        if (i > 0 && (pChild->GetFlags() & 0x10) != 0)
        {
            CExtBarButton* pSep = CreateButtonObject(0, 0);
            if (pSep != NULL)
                m_buttons.InsertAt(bFront ? 0 : m_buttons.GetSize(), pSep);
        }
        CExtBarButton* pTBB = CreateButtonObject(pChild->GetCmdID(false), 0);
        if (pTBB == NULL)
            continue;
        pTBB->SetInitialCmdNode(pChild);
        pTBB->SetBasicCmdNode(pChild);
        pTBB->SyncFromNode(pChild);
        m_buttons.InsertAt(bFront ? 0 : m_buttons.GetSize(), pTBB);
    }
    m_pRightBtn = CreateContentExpandButton();
    if (m_pRightBtn != NULL)
        m_buttons.Add(m_pRightBtn);
    if (bRecalc)
        RecalcParentFrameLayout();
    return TRUE;
}

void CExtToolControlBar::RebuildFromCmdTreeNode(CExtCustomizeCmdTreeNode* pNode, bool bRecalc)
{
    // Only a customize site keeps command trees for its bars.
    if (m_pCustomizeSite == NULL || pNode == NULL)
        return;
    SetButtonsFromCmdTreeNode(pNode, bRecalc);
}

int CExtToolControlBar::CountCmdNodeButtonsBefore(int nPos, bool* pbNeighbourIsSeparator) const
{
    if (pbNeighbourIsSeparator != NULL)
        *pbNeighbourIsSeparator = false;
    const int nCount = GetButtonsCount();
    if (nPos < 0 || nPos > nCount)
        return 0;
    const bool bRTL = IsRightToLeftButtonOrder();
    int nFound = 0;
    if (bRTL)
    {
        for (int i = nCount - 1; i >= nPos; i--)
            if (m_buttons[i]->GetCmdNode(false) != NULL)
                nFound++;
        if (pbNeighbourIsSeparator != NULL && nPos < nCount)
            *pbNeighbourIsSeparator = m_buttons[nPos]->IsSeparator();
    }
    else
    {
        for (int i = 0; i < nPos; i++)
            if (m_buttons[i]->GetCmdNode(false) != NULL)
                nFound++;
        if (pbNeighbourIsSeparator != NULL && nPos > 0)
            *pbNeighbourIsSeparator = m_buttons[nPos - 1]->IsSeparator();
    }
    return nFound;
}

int CExtToolControlBar::GetButtonsCount() const { return (int)m_buttons.GetSize(); }

CExtBarButton* CExtToolControlBar::GetButton(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetButtonsCount())
        return NULL;
    return m_buttons[nIndex];
}

int CExtToolControlBar::GetButtonIndex(const CExtBarButton* pTBB) const
{
    if (pTBB == NULL)
        return -1;
    for (int i = 0; i < GetButtonsCount(); i++)
        if (m_buttons[i] == pTBB)
            return i;
    return -1;
}

UINT CExtToolControlBar::GetButtonID(int nIndex) const
{
    CExtBarButton* pTBB = GetButton(nIndex);
    return pTBB != NULL ? pTBB->GetCmdID(false) : 0;
}

UINT CExtToolControlBar::GetButtonStyle(int nIndex) const
{
    CExtBarButton* pTBB = GetButton(nIndex);
    return pTBB != NULL ? (UINT)pTBB->GetStyle() : 0;
}

void CExtToolControlBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB == NULL || pTBB->GetStyle() == nStyle)
        return;
    const DWORD dwOld = pTBB->GetStyle();
    pTBB->SetStyle(nStyle);
    // A button that keeps bits to itself (the MDI buttons are never disabled) may refuse
    // the change: nothing to repaint then on every idle update.
    if (pTBB->GetStyle() == dwOld)
        return;
    RedrawButton(nIndex);
    if (m_hWnd != NULL)
        UpdateWindow();
}

bool CExtToolControlBar::IsContentExpandButton(int nIndex) const
{
    CExtBarButton* pTBB = GetButton(nIndex);
    return pTBB != NULL && pTBB == m_pRightBtn;
}

bool CExtToolControlBar::SetButtonMenu(int nIndex, HMENU hMenu, bool bUseFirstSubMenu, bool bOwned, BOOL bRecalc)
{
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB == NULL)
        return false;
    pTBB->SetMenu(hMenu, bUseFirstSubMenu, bOwned);
    if (bRecalc)
        RecalcParentFrameLayout();
    return true;
}

bool CExtToolControlBar::SetButtonHorizontalOnly(int nIndex, bool bOn)
{
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB == NULL)
        return false;
    pTBB->SetHorizontalOnly(bOn);
    return true;
}

int CExtToolControlBar::GetNextNavigableButton(int nFrom, BOOL bForward, BOOL bSkipDisabled) const
{
    const int nCount = GetButtonsCount();
    if (nCount == 0)
        return -1;
    if (nCount == 1)
        return 0;
    if (nFrom < 0 || nFrom >= nCount)
        nFrom = bForward ? nCount - 1 : 0;
    int i = nFrom;
    for (int nStep = 0; nStep < nCount; nStep++)
    {
        i = bForward ? (i + 1) % nCount : (i + nCount - 1) % nCount;
        if (i == nFrom)
            break;
        const CExtBarButton* pTBB = m_buttons[i];
        if (!pTBB->IsVisible() || (pTBB->GetStyle() & TBBS_HIDDEN) != 0 || pTBB->IsSeparator())
            continue;
        if (pTBB->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)))
            continue;
        if (bSkipDisabled && pTBB->IsDisabled())
            continue;
        return i;
    }
    return nFrom;
}

// ---- virtual operations -------------------------------------------------------------

bool CExtToolControlBar::UpdateMetricsFromPaintManager()
{
    // No theme of this toolkit supplies toolbar metrics: the classic borders and
    // gripper thicknesses stand.
    SetClassicMetrics();
    return false;
}

void CExtToolControlBar::SetClassicMetrics()
{
    m_cxLeftBorder = 1;
    m_cxRightBorder = 1;
    m_cyTopBorder = 0;
    m_cyBottomBorder = 0;
    m_nGripHeightAtTop = 10;
    m_nGripWidthAtLeft = 8;
}

void CExtToolControlBar::GetButtonRect(int nIndex, CRect& rc) const
{
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB == NULL)
    {
        rc.SetRectEmpty();
        return;
    }
    rc = pTBB->Rect();
}

bool CExtToolControlBar::QueryButtonOption1() const { return false; }
bool CExtToolControlBar::QueryButtonOption2() const { return true; }
bool CExtToolControlBar::QueryButtonOption3() const { return false; }

CExtBarButton* CExtToolControlBar::CreateButtonObject(UINT nCmdID, UINT nStyle)
{
    return new CExtBarButton(this, nCmdID, nStyle);
}

CExtBarContentExpandButton* CExtToolControlBar::CreateContentExpandButton()
{
    if (IsPanelBar())
        return NULL;
    return new CExtBarContentExpandButton(this);
}

int CExtToolControlBar::OnQueryShape(int, int) { return -1; }

bool CExtToolControlBar::IsRightToLeftLayout() const { return false; }
bool CExtToolControlBar::IsRightToLeftButtonOrder() const { return false; }

CSize CExtToolControlBar::GetDefaultButtonSize() const { return g_sizeDefaultButton; }

bool CExtToolControlBar::QueryChevronOption() const { return true; }

bool CExtToolControlBar::IsMultiRowLayout() const
{
    if ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0 || m_pDockSite == NULL || IsPanelBar() || IsFloating())
        return false;
    return IsCustomizeModeActive();
}

CFont* CExtToolControlBar::GetBarFont(bool bVertical, bool bWanted)
{
    if (!bWanted)
        return NULL;
    // No theme gives toolbars a font of their own.
    CExtPaintManager* pPM = GetPaintManager();
    return bVertical ? &pPM->m_FontNormalVert : &pPM->m_FontNormal;
}

CExtCustomizeSite* CExtToolControlBar::GetCustomizeSite() { return m_pCustomizeSite; }

bool CExtToolControlBar::SetCustomizeSite(CExtCustomizeSite* pSite)
{
    m_pCustomizeSite = pSite;
    return (m_nToolbarOptions & __TBO_CUSTOMIZE) != 0 && !IsPanelBar();
}

bool CExtToolControlBar::IsCustomizeModeActive() const
{
    CExtCustomizeSite* pSite = m_pCustomizeSite;
    if (pSite == NULL && m_hWnd != NULL)
        pSite = CExtCustomizeSite::GetCustomizeSite(m_hWnd);
    return pSite != NULL && pSite->IsCustomizeMode();
}

void CExtToolControlBar::RegisterWithCustomizeSite(CExtCustomizeSite* pSite)
{
    if ((m_nLifeFlags & __ELF_CUSTOMIZE_REGISTER) == 0 || pSite == NULL)
        return;
    // The toolbar keeps the site for its button nodes; the registration itself is the
    // control bar's.
    SetCustomizeSite(pSite);
    CExtControlBar::RegisterWithCustomizeSite(pSite);
}

int CExtToolControlBar::GetLayoutType() const
{
    if ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0 || m_hWnd == NULL || IsFloating())
        return __LAYOUT_FLOATING;
    if (IsDockedVertically())
        return __LAYOUT_DOCKED_VERT;
    return __LAYOUT_DOCKED_HORZ;
}

bool CExtToolControlBar::IsHorzByStyle() const { return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }

bool CExtToolControlBar::IsFullRow() const { return (m_nLayoutState & __TBLS_FULL_ROW) != 0; }

CExtToolControlBar::OuterPlace_t* CExtToolControlBar::GetOuterPlace() { return &m_outerPlace; }

void CExtToolControlBar::SetOuterPlace(const OuterPlace_t& place) { m_outerPlace = place; }

bool CExtToolControlBar::TakesRowThickness() const { return !IsPanelBar(); }

bool CExtToolControlBar::UsesDockMarkerDrag() const { return true; }

void CExtToolControlBar::EnableContentWindow() {}

void CExtToolControlBar::DisableContentWindow()
{
    // A toolbar has no content window: a bar in an outer dock bar that hides buttons
    // behind its chevron takes a row of its own instead.
    if (m_pDockBar == NULL || !m_pDockBar->IsKindOf(RUNTIME_CLASS(CDockBar)))
        return;
    CWnd* pDockBarWnd = m_pDockBar;
    if (!pDockBarWnd->IsKindOf(RUNTIME_CLASS(CExtDockOuterBar)))
        return;
    if (m_pCustomizeSite != NULL)
        RegisterWithCustomizeSite(m_pCustomizeSite);
    if (!IsDockedAtFrameSide() || IsFullRow() || GetButtonsCount() == 0 || m_pRightBtn == NULL ||
        m_pRightBtn->GetButtons().GetSize() == 0)
        return;
    CPtrArray& arr = m_pDockBar->m_arrBars;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
    {
        if (arr[i] != this)
            continue;
        if (i + 1 < arr.GetSize() && arr[i + 1] != NULL)
            arr.InsertAt(i + 1, (void*)NULL);
        if (i > 0 && arr[i - 1] != NULL)
            arr.InsertAt(i, (void*)NULL);
        break;
    }
    Invalidate();
}

// ---- window ---------------------------------------------------------------------------

BOOL CExtToolControlBar::PreCreateWindow(CREATESTRUCT& cs) { return CExtControlBar::PreCreateWindow(cs); }

void CExtToolControlBar::PreSubclassWindow()
{
    CExtControlBar::PreSubclassWindow();
    // The class-wide tips switch turns the bar's tool tips on.
    if (QueryButtonOption2())
        EnableToolTips(TRUE);
}

void CExtToolControlBar::SetDelayedRelayoutTimer()
{
    if ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0 || m_hWnd == NULL)
        return;
    SetTimer(__TIMER_ID_DELAYED_RELAYOUT, 1, NULL);
}

BEGIN_MESSAGE_MAP(CExtToolControlBar, CExtControlBar)
    ON_WM_NCCALCSIZE()
    ON_WM_SIZE()
    ON_WM_SETTINGCHANGE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_CANCELMODE()
    ON_WM_CAPTURECHANGED()
    ON_REGISTERED_MESSAGE(CExtToolControlBar::g_nMsgTrackButtonMenu, OnTrackButtonMenu)
END_MESSAGE_MAP()

void CExtToolControlBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!UpdateMetricsFromPaintManager())
    {
        CExtControlBar::OnNcCalcSize(bCalcValidRects, lpncsp);
        return;
    }
    RECT& rc = lpncsp->rgrc[0];
    rc.left += m_cxLeftBorder;
    rc.top += m_cyTopBorder;
    rc.right -= m_cxRightBorder;
    rc.bottom -= m_cyBottomBorder;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
}

void CExtToolControlBar::OnSize(UINT nType, int cx, int cy)
{
    CExtControlBar::OnSize(nType, cx, cy);
    if (GetDraggedBar() == this)
        RecalcButtonPositions();
    else
        RecalcParentFrameLayout();
}

void CExtToolControlBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CExtControlBar::OnSettingChange(uFlags, lpszSection);
    if ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0)
    {
        RecalcParentFrameLayout();
        return;
    }
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
        pFrame->DelayRecalcLayout(TRUE);
}

void CExtToolControlBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != __TIMER_ID_DELAYED_RELAYOUT)
    {
        CExtControlBar::OnTimer(nIDEvent);
        return;
    }
    // A menu or a drag in progress would lose its layout: wait until it ends.
    if (CExtPopupMenuWnd::IsMenuTracking() || g_bButtonMenuTracking || GetDraggedBar() != NULL)
        return;
    KillTimer(__TIMER_ID_DELAYED_RELAYOUT);
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL)
    {
        // Without a frame the bar re-places its own buttons.
        RecalcParentFrameLayout();
        return;
    }
    pFrame->RecalcLayout(TRUE);
    if (pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pFrame->SendMessage(WM_NCPAINT);
}

LRESULT CExtToolControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGED || message == WM_SIZE)
    {
        if (message == WM_WINDOWPOSCHANGED && IsCustomizeModeActive())
        {
            CExtCustomizeSite* pSite = m_pCustomizeSite != NULL ? m_pCustomizeSite
                                                                : CExtCustomizeSite::GetCustomizeSite(m_hWnd);
            if (pSite != NULL)
                pSite->OnBarStateChanged(this);
        }
        const LRESULT lResult = CExtControlBar::WindowProc(message, wParam, lParam);
        // A bar moved by the framework's own drag outline repaints when that ends.
        const bool bPlatformDrag = m_pDockContext != NULL && m_pDockContext->m_bDragging;
        if (m_hWnd != NULL && !bPlatformDrag)
        {
            ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        return lResult;
    }
    return CExtControlBar::WindowProc(message, wParam, lParam);
}

DWORD CExtToolControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
    const DWORD dwStyle = CExtControlBar::RecalcDelayShow(lpLayout);
    if (m_hWnd != NULL && (GetStyle() & WS_VISIBLE) != 0 && !IsFloating())
        RecalcButtonPositions();
    return dwStyle;
}

void CExtToolControlBar::RecalcParentFrameLayout()
{
    CExtControlBar::RecalcParentFrameLayout();
    if (m_hWnd == NULL)
        return;
    RecalcButtonPositions();
    Invalidate();
    if ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0)
        UpdateWindow();
}
