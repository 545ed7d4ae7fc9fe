// The chevron: its size, look, tip, and the popup menu of hidden buttons and frame bars.
#include "toolkit/bars/chevron_button.h"
#include "framework/afxres.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtBarContentExpandButton, CExtBarButton)

namespace {

const UINT IDS_WHERE_ARE_BUTTONS = 30045;
const UINT IDS_SHOW_HIDE_PANELS = 30009;

CString LoadToolkitString(UINT nID, LPCTSTR sFallback)
{
    CString s;
    if (!g_CurrentResourceManager->LoadString(s, nID) || s.IsEmpty())
        s = sFallback;
    return s;
}

// Leading, trailing and doubled separators go; those between groups stay.
void RemoveNeedlessSeparators(CExtPopupMenuWnd* pPopup)
{
    bool bPrevSeparator = true;  // nothing before the first item
    for (int i = 0; i < pPopup->ItemGetCount();)
    {
        const bool bSeparator = pPopup->ItemGetInfo(i).IsSeparator();
        if (bSeparator && bPrevSeparator)
        {
            pPopup->ItemRemove(i);
            continue;
        }
        bPrevSeparator = bSeparator;
        i++;
    }
    const int nCount = pPopup->ItemGetCount();
    if (nCount > 0 && pPopup->ItemGetInfo(nCount - 1).IsSeparator())
        pPopup->ItemRemove(nCount - 1);
}

// The frame's bars as check items of pPopup; false when none was listed.
bool FillFrameBarsList(CFrameWnd* pFrame, CExtPopupMenuWnd* pPopup, CExtToolControlBar* pSrcBar, CObject* pSrcObj)
{
    CExtDockBar::BuildBarsPopupMenu(pFrame, pPopup, 14, pSrcBar, WM_NCLBUTTONDOWN, pSrcObj);
    return pPopup->ItemGetCount() > 0;
}

}  // namespace

CExtBarContentExpandButton::CExtBarContentExpandButton(CExtToolControlBar* pBar)
    : CExtBarButton(pBar, 0, 0), m_nLayoutFlags(0)
{
    SetCmdID(__ID_CHEVRON, false, false);
}

CExtBarContentExpandButton::~CExtBarContentExpandButton() { m_buttons.RemoveAll(); }

CSize CExtBarContentExpandButton::MeasureButton(CDC&, CSize sizeDefault, bool bHorz)
{
    // No theme sizes the chevron itself: a strip of 11 pixels along the bar.
    m_size = bHorz ? CSize(11, sizeDefault.cy) : CSize(sizeDefault.cx, 11);
    return m_size;
}

bool CExtBarContentExpandButton::PutToPopupMenu(CExtPopupMenuWnd*) { return false; }

void CExtBarContentExpandButton::Paint(CDC& dc, bool bHorz)
{
    CRect rc = GetRect();
    if (rc.IsRectEmpty() || m_pBar == NULL)
        return;
    CExtToolControlBar* pBar = GetBar();
    const bool bCustomize = pBar != NULL && pBar->IsCustomizeModeActive();
    const bool bEnabled = !IsDisabled() || bCustomize;
    const bool bEmpty = m_buttons.GetSize() == 0;
    const bool bNothingToShow =
        bEmpty && (pBar == NULL || (pBar->m_nToolbarStyleFlags & CExtToolControlBar::__TBSF_SHOW_BARS_MENU) == 0);
    const bool bPressed = !bNothingToShow && bEnabled && IsPressedOrChecked() && !bCustomize;
    const bool bHover = !bNothingToShow && bEnabled && !bCustomize && IsHot() &&
                        !CExtToolControlBar::g_bButtonMenuTracking && !CExtPopupMenuWnd::IsMenuTracking();
    m_pBar->GetPaintManager()->DrawChevronButton(dc, rc, bHorz, bEmpty, bEnabled && !bNothingToShow, bPressed, bHover,
                                                 this, 0, !(bPressed || bHover));
}

void CExtBarContentExpandButton::OnHover(CPoint point, bool bOn, bool& bSuspendTips)
{
    bSuspendTips = false;
    CExtToolControlBar* pBar = GetBar();
    if (pBar != NULL && pBar->IsCustomizeModeActive())
        return;
    CExtBarButton::OnHover(point, bOn, bSuspendTips);
}

void CExtBarContentExpandButton::OnClick(CPoint point, bool bDown)
{
    CExtToolControlBar* pBar = GetBar();
    if ((pBar != NULL && pBar->IsCustomizeModeActive()) || !bDown)
        return;
    CExtToolControlBar::g_bMenuTrackingExpanded = false;
    OnTrackPopup(point, false, false);
}

int CExtBarContentExpandButton::OnToolHitTest(CPoint, TOOLINFO* pTI)
{
    if (pTI == NULL)
        return -1;
    CRect rc = GetRect();
    ::CopyRect(&pTI->rect, &rc);
    pTI->uId = AFX_IDS_IDLEMESSAGE;
    pTI->hwnd = m_pBar != NULL ? m_pBar->GetSafeHwnd() : NULL;
    CString sTip;
    {
        // The toolkit's strings live in this module whatever resource handle is current.
        HINSTANCE hOld = AfxGetResourceHandle();
        AfxSetResourceHandle(AfxGetInstanceHandle());
        sTip = LoadToolkitString(IDS_WHERE_ARE_BUTTONS, _T("Where are buttons?"));
        AfxSetResourceHandle(hOld);
    }
    SetToolTipText(pTI, sTip);
    return (int)AFX_IDS_IDLEMESSAGE;
}

bool CExtBarContentExpandButton::CanStartCustomizeDrag() { return false; }
CExtCustomizeCmdTreeNode* CExtBarContentExpandButton::GetCmdNode(bool) { return NULL; }
void CExtBarContentExpandButton::SetInitialCmdNode(CExtCustomizeCmdTreeNode*) {}
void CExtBarContentExpandButton::SetBasicCmdNode(CExtCustomizeCmdTreeNode*) {}

UINT CExtBarContentExpandButton::GetTrackPopupPlacement() const
{
    UINT nFlags = CExtBarButton::GetTrackPopupPlacement();
    CExtToolControlBar* pBar = GetBar();
    if (pBar != NULL && pBar->QueryChevronOption())
        nFlags |= CExtPopupMenuWnd::TMF_PALETTE;
    nFlags &= ~UINT(CExtPopupMenuWnd::TMF_COMBINE_MASK);
    // A theme that joins menus to their buttons (the XP look) joins the chevron's too.
    CExtPaintManager* pPM = m_pBar != NULL ? m_pBar->GetPaintManager() : g_CurrentPaintManager.GetPM();
    if (pPM != NULL && pPM->IsMenuCombinedWithOwner(NULL))
        nFlags |= CExtPopupMenuWnd::TMF_COMBINE_BY_PM;
    return nFlags;
}

UINT CExtBarContentExpandButton::OnTrackPopup(CPoint point, bool bSelectAny, bool bNoAnimation)
{
    CExtToolControlBar* pBar = GetBar();
    if (pBar == NULL || pBar->GetSafeHwnd() == NULL || pBar->IsCustomizeModeActive() || IsDisabled())
        return UINT(-1);
    if (CExtToolControlBar::g_bButtonMenuTracking && pBar->GetMenuTrackingButton() == pBar->GetButtonIndex(this))
        return UINT(-1);
    const bool bShowBarsMenu = (pBar->m_nToolbarStyleFlags & CExtToolControlBar::__TBSF_SHOW_BARS_MENU) != 0;
    if (m_buttons.GetSize() == 0 && !bShowBarsMenu)
        return UINT(-1);

    const bool bWasTracking = CExtToolControlBar::g_bButtonMenuTracking;
    CExtToolControlBar::CancelAllButtonMenuTracking();
    CExtToolControlBar::g_bButtonMenuTracking = bWasTracking;
    BringFloatingBarForward(pBar);

    UINT nFlags = GetTrackPopupPlacement() | CExtPopupMenuWnd::TMF_OWNER_DRAW;
    CWnd* pTarget = GetCmdTargetWnd();
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pTarget->GetSafeHwnd()))
    {
        delete pPopup;
        return UINT(-1);
    }
    pPopup->SetTrackFlags(nFlags);

    const bool bInFrame = (pBar->m_nOptionFlags & CExtControlBar::__ESF_OUTSIDE_FRAME) == 0;
    CExtControlBar::POPUP_MENU_EVENT_DATA data(12, pPopup, pBar, CPoint(-1, -1), WM_NCLBUTTONDOWN, this);
    if (!data.NotifyTarget(false))
    {
        AddHiddenButtons(pPopup, nFlags);
        if (pPopup->ItemGetCount() > 0 && bInFrame && bShowBarsMenu)
            pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
        CFrameWnd* pFrame = pBar->GetDockingFrame();
        if (bInFrame && bShowBarsMenu && pFrame != NULL)
            AddBarsSubMenu(pPopup, pFrame);
    }
    if ((pBar->m_nToolbarOptions & CExtToolControlBar::__TBO_CUSTOMIZE) != 0)
        CExtDockBar::AppendToolbarCustomizeMenu(pPopup, pBar);
    data.NotifyTarget(true);

    if (pPopup->ItemGetCount() == 0)
    {
        delete pPopup;
        return UINT(-1);
    }
    CRect rcButton;
    nFlags = PlacePopupOnScreen(pBar, GetRect(), point, rcButton, nFlags, bSelectAny, bNoAnimation);
    const int nIndex = pBar->GetButtonIndex(this);
    pBar->SetMenuTrackingButton(nIndex);
    if (!pPopup->TrackPopupMenu(nFlags, point.x, point.y, &rcButton, pBar,
                                CExtToolControlBar::stat_PaintCombinedButton, NULL, true))
    {
        delete pPopup;
        CExtToolControlBar::CancelAllButtonMenuTracking();
        return UINT(-1);
    }
    CExtToolControlBar::g_bButtonMenuTracking = true;
    pBar->SetMenuTrackingButton(nIndex);
    return UINT(-1);
}

void CExtBarContentExpandButton::AddHiddenButtons(CExtPopupMenuWnd* pPopup, UINT nFlags)
{
    for (INT_PTR i = 0; i < m_buttons.GetSize(); i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (i == 0 && pTBB->IsSeparator())
            continue;
        pTBB->PutToPopupMenu(pPopup);
    }
    if ((nFlags & CExtPopupMenuWnd::TMF_PALETTE) != 0)
    {
        RemoveNeedlessSeparators(pPopup);
        pPopup->UpdateItemsCmdUI();
    }
}

void CExtBarContentExpandButton::AddBarsSubMenu(CExtPopupMenuWnd* pPopup, CFrameWnd* pFrame)
{
    CExtToolControlBar* pBar = GetBar();
    const CString sCaption = LoadToolkitString(IDS_SHOW_HIDE_PANELS, _T("&Show/hide panels"));
    CExtControlBar::POPUP_MENU_EVENT_DATA data(13, pPopup, pBar, CPoint(-1, -1), WM_NCLBUTTONDOWN, this);
    if (!data.NotifyTarget(false))
    {
        const int nPos = pPopup->ItemGetCount();
        if (pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, sCaption))
        {
            CExtPopupMenuWnd::MENUITEMDATA& mi = pPopup->ItemGetInfo(nPos);
            mi.m_nLayoutFlags |= CExtPopupMenuWnd::MENUITEMDATA::__MIF_COMBINED_SUBMENU |
                                 CExtPopupMenuWnd::MENUITEMDATA::__MIF_NO_LEFT_AREA |
                                 CExtPopupMenuWnd::MENUITEMDATA::__MIF_PALETTE_WRAP;
            mi.MeasureItem();
            CExtPopupMenuWnd* pSub = pPopup->ItemGetPopup(nPos);
            if (pSub == NULL || !FillFrameBarsList(pFrame, pSub, pBar, this))
                pPopup->ItemRemove(nPos);
        }
    }
    data.NotifyTarget(true);
}
