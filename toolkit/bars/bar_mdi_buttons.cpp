// The MDI document button (the maximized child's icon and system menu) and the MDI
// right button (the child's caption buttons painted as one group).
#include "toolkit/bars/bar_mdi_buttons.h"
#include "framework/afxres.h"
#include "framework/mdi.h"
#include "framework/resources.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_push_button.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtBarMdiDocButton, CExtBarButton)
IMPLEMENT_DYNCREATE(CExtBarMdiRightButton, CExtBarMdiDocButton)

namespace {

const UINT ID_STRING_ACTIVE_DOCUMENT = 30003;

// Whether a system menu holds an enabled close command.
bool HasEnabledClose(HWND hWnd)
{
    HMENU hSysMenu = hWnd != NULL ? ::GetSystemMenu(hWnd, FALSE) : NULL;
    if (hSysMenu == NULL)
        return false;
    const UINT nState = ::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND);
    return nState != 0xFFFFFFFF && (nState & (MF_GRAYED | MF_DISABLED)) == 0;
}

// The MDI client of the frame a bar serves: the MDI frame's own, else its first child of
// the class "mdiclient".
HWND FindBarMdiClient(CExtControlBar* pBar)
{
    CExtMenuControlBar* pMenuBar = DYNAMIC_DOWNCAST(CExtMenuControlBar, pBar);
    if (pMenuBar != NULL)
        return pMenuBar->FindMdiClient();
    CFrameWnd* pFrame = pBar->m_pDockSite != NULL ? pBar->m_pDockSite : pBar->GetParentFrame();
    if (pFrame == NULL)
        return NULL;
    CMDIFrameWnd* pMdiFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pFrame);
    if (pMdiFrame != NULL && pMdiFrame->m_hWndMDIClient != NULL && ::IsWindow(pMdiFrame->m_hWndMDIClient))
        return pMdiFrame->m_hWndMDIClient;
    for (HWND hWnd = ::GetWindow(pFrame->m_hWnd, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        TCHAR szClass[16] = _T("");
        ::GetClassName(hWnd, szClass, 16);
        if (::lstrcmpi(szClass, _T("mdiclient")) == 0)
            return hWnd;
    }
    return NULL;
}

// The system command of a caption part; the order is the painting order.
struct MdiPart
{
    BYTE nFlag;
    UINT nSysCmd;
    RECT MDI_RIGHT_BUTTONS_INFO::*pRect;
};

}  // namespace

// ---- the document button -----------------------------------------------------------------

CExtBarMdiDocButton::CExtBarMdiDocButton(CExtToolControlBar* pBar, UINT nCmdID, UINT nStyle)
    : CExtBarButton(pBar, nCmdID, nStyle), m_nMdiFlags(__EMDF_DBLCLK_CLOSES), m_hWndMdiChild(NULL)
{
}

CExtBarMdiDocButton::~CExtBarMdiDocButton() {}

DWORD CExtBarMdiDocButton::GetStyle() const { return CExtBarButton::GetStyle() & ~TBBS_DISABLED; }

void CExtBarMdiDocButton::SetStyle(DWORD dwStyle) { CExtBarButton::SetStyle(dwStyle & ~TBBS_DISABLED); }

void CExtBarMdiDocButton::ModifyStyle(DWORD dwAdd, DWORD dwRemove)
{
    CExtBarButton::ModifyStyle(dwAdd & ~TBBS_DISABLED, dwRemove | TBBS_DISABLED);
}

bool CExtBarMdiDocButton::CanStartCustomizeDrag() { return false; }

CExtCustomizeCmdTreeNode* CExtBarMdiDocButton::GetCmdNode(bool) { return NULL; }

void CExtBarMdiDocButton::SetInitialCmdNode(CExtCustomizeCmdTreeNode*) {}

void CExtBarMdiDocButton::SetBasicCmdNode(CExtCustomizeCmdTreeNode*) {}

bool CExtBarMdiDocButton::IsCustomizeMode() const
{
    CExtToolControlBar* pBar = GetBar();
    return pBar != NULL && pBar->IsCustomizeModeActive();
}

HWND CExtBarMdiDocButton::SetMdiChild(HWND hWndMdiChild)
{
    const HWND hWndOld = m_hWndMdiChild;
    if (hWndOld != hWndMdiChild)
    {
        m_hWndMdiChild = hWndMdiChild;
        m_icon.Empty();
    }
    return hWndOld;
}

HWND CExtBarMdiDocButton::FindMdiChild() const
{
    if (m_hWndMdiChild != NULL && ::IsWindow(m_hWndMdiChild))
        return m_hWndMdiChild;
    if (m_pBar == NULL || m_pBar->GetSafeHwnd() == NULL)
        return NULL;
    HWND hWndClient = FindBarMdiClient(m_pBar);
    if (hWndClient == NULL)
        return NULL;
    HWND hWndChild = (HWND)::SendMessage(hWndClient, WM_MDIGETACTIVE, 0, 0);
    if (hWndChild == NULL || (::GetWindowLong(hWndChild, GWL_STYLE) & WS_VISIBLE) != 0)
        return hWndChild;
    // A hidden child counts only for an MDI frame, and not while it is kept active behind
    // an inactive frame.
    CFrameWnd* pFrame = m_pBar->m_pDockSite != NULL ? m_pBar->m_pDockSite : m_pBar->GetParentFrame();
    if (pFrame == NULL || !pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return NULL;
    CMDIChildWnd* pChild = DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(hWndChild));
    if (pChild != NULL && pChild->m_bPseudoInactive)
        return NULL;
    return hWndChild;
}

CWnd* CExtBarMdiDocButton::GetCmdTargetWnd() const
{
    HWND hWndChild = FindMdiChild();
    return hWndChild != NULL ? CWnd::FromHandle(hWndChild) : NULL;
}

void CExtBarMdiDocButton::LoadChildIcon(HWND hWndChild) const
{
    m_icon.Empty();
    if (hWndChild == NULL || !::IsWindow(hWndChild))
        return;
    HICON hIcon = (HICON)::SendMessage(hWndChild, CExtControlBar::g_nMsgQueryIcon, 0, 0);
    if (hIcon == NULL)
        hIcon = (HICON)::SendMessage(hWndChild, WM_GETICON, ICON_SMALL, 0);
    if (hIcon == NULL)
        hIcon = (HICON)::SendMessage(hWndChild, WM_GETICON, ICON_BIG, 0);
    if (hIcon == NULL)
        hIcon = (HICON)::GetClassLongPtr(hWndChild, GCLP_HICONSM);
    if (hIcon == NULL)
        hIcon = (HICON)::GetClassLongPtr(hWndChild, GCLP_HICON);
    if (hIcon == NULL)
        return;
    CExtCmdIcon iconFull;
    iconFull.AssignFromHICON(hIcon, true);
    m_icon.AssignScaled(iconFull, CSize(16, 16));
}

CExtCmdIcon* CExtBarMdiDocButton::GetIconPtr() const
{
    if (m_hWndMdiChild != NULL && ::IsWindow(m_hWndMdiChild) && !m_icon.IsEmpty())
        return &m_icon;
    HWND hWndChild = FindMdiChild();
    if (hWndChild == NULL)
        return NULL;
    if (m_hWndMdiChild != NULL && !::IsWindow(m_hWndMdiChild))
        m_hWndMdiChild = NULL;
    LoadChildIcon(hWndChild);
    return m_icon.IsEmpty() ? NULL : &m_icon;
}

CSize CExtBarMdiDocButton::MeasureButton(CDC&, CSize, bool)
{
    CSize size(16, 16);
    CExtCmdIcon* pIcon = GetIconPtr();
    if (pIcon != NULL && !pIcon->IsEmpty())
        size = pIcon->GetSize();
    m_size = CSize(size.cx + 3, size.cy + 3);
    return m_size;
}

bool CExtBarMdiDocButton::OnDblClick(CPoint point)
{
    if (IsDisabled() || (m_nMdiFlags & __EMDF_DBLCLK_CLOSES) == 0)
        return false;
    HWND hWndChild = FindMdiChild();
    if (HasEnabledClose(hWndChild))
    {
        if (m_pBar != NULL && m_pBar->GetSafeHwnd() != NULL)
            m_pBar->ClientToScreen(&point);
        ::PostMessage(hWndChild, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(point.x, point.y));
    }
    return true;
}

bool CExtBarMdiDocButton::PutToPopupMenu(CExtPopupMenuWnd* pPopup)
{
    HWND hWndChild = FindMdiChild();
    HMENU hSysMenu = hWndChild != NULL ? ::GetSystemMenu(hWndChild, FALSE) : NULL;
    if (pPopup == NULL || hSysMenu == NULL)
        return false;
    // The caption string lives with the application's resources.
    const HINSTANCE hOldRes = AfxGetResourceHandle();
    AfxSetResourceHandle(AfxGetInstanceHandle());
    CString sText;
    if (!g_CurrentResourceManager->LoadString(sText, ID_STRING_ACTIVE_DOCUMENT) || sText.IsEmpty())
        sText = _T("Active document");
    bool bDone = false;
    const int nPos = pPopup->ItemGetCount();
    CExtCmdIcon icon;
    if (CExtCmdIcon* pIcon = GetIconPtr())
        icon = *pIcon;
    if (pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, sText, icon, hWndChild))
    {
        CExtPopupMenuWnd* pSub = pPopup->ItemGetInfo(nPos).GetPopup();
        if (pSub != NULL)
        {
            CMenu menu;
            menu.Attach(hSysMenu);
            pSub->LoadMenu(hWndChild, &menu, false, false, false);
            menu.Detach();
        }
        if ((pPopup->GetTrackFlags() & CExtPopupMenuWnd::TMF_PALETTE) != 0)
            pPopup->ItemFlagSet(nPos, true);
        pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
        bDone = true;
    }
    AfxSetResourceHandle(hOldRes);
    return bDone;
}

UINT CExtBarMdiDocButton::OnTrackPopup(CPoint point, bool bSelectAny, bool bNoAnimation)
{
    if (IsCustomizeMode())
        return UINT(-1);
    CExtMenuControlBar* pMenuBar = DYNAMIC_DOWNCAST(CExtMenuControlBar, m_pBar);
    if (pMenuBar == NULL || pMenuBar->GetSafeHwnd() == NULL)
    {
        CExtBarButton::OnTrackPopup(point, bSelectAny, bNoAnimation);
        return UINT(-1);
    }
    if (CExtToolControlBar::g_bButtonMenuTracking && pMenuBar->GetMenuTrackingButton() == pMenuBar->GetButtonIndex(this))
        return UINT(-1);
    const bool bWasTracking = CExtToolControlBar::g_bButtonMenuTracking;
    CExtToolControlBar::CancelAllButtonMenuTracking();
    if (pMenuBar->IsFloating())
    {
        pMenuBar->ActivateTopParent();
        CFrameWnd* pFrame = pMenuBar->GetDockingFrame();
        if (pFrame != NULL)
            pFrame->BringWindowToTop();
    }
    HWND hWndChild = FindMdiChild();
    const bool bRTL = hWndChild != NULL && (::GetWindowLong(hWndChild, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    UINT nAlign = CExtPopupMenuWnd::TMF_ALIGN_BELOW;
    switch (pMenuBar->GetDockBarCtrlID())
    {
    case AFX_IDW_DOCKBAR_LEFT:
        nAlign = bRTL ? CExtPopupMenuWnd::TMF_ALIGN_LEFT_OF : CExtPopupMenuWnd::TMF_ALIGN_RIGHT_OF;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        nAlign = bRTL ? CExtPopupMenuWnd::TMF_ALIGN_RIGHT_OF : CExtPopupMenuWnd::TMF_ALIGN_LEFT_OF;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        nAlign = CExtPopupMenuWnd::TMF_ALIGN_ABOVE;
        break;
    default:
        break;
    }
    if (bNoAnimation)
        nAlign |= CExtPopupMenuWnd::TMF_NO_ANIMATION;
    CRect rcButton = GetRect();
    pMenuBar->ClientToScreen(&rcButton);
    const CPoint ptCenter = rcButton.CenterPoint();
    CExtToolControlBar::g_bButtonMenuTracking = bWasTracking;
    pMenuBar->SetMenuTrackingButton(pMenuBar->GetButtonIndex(this));
    const HWND hWndBar = pMenuBar->GetSafeHwnd();
    const bool bShown = pMenuBar->TrackSystemMenu(hWndChild != NULL ? CWnd::FromHandle(hWndChild) : NULL, &ptCenter,
                                                  bSelectAny, &rcButton, nAlign,
                                                  (m_nMdiFlags & __EMDF_DBLCLK_CLOSES) == 0);
    if (!::IsWindow(hWndBar))
        return UINT(-1);
    // A menu that did not open leaves no tracking behind for the hover to follow.
    if (bShown)
    {
        pMenuBar->m_nMenuBarState |= CExtMenuControlBar::__EMBS_SYSMENU_TRACKING;
        CExtToolControlBar::g_bButtonMenuTracking = true;
    }
    else
        pMenuBar->m_nMenuBarState &= ~CExtMenuControlBar::__EMBS_SYSMENU_TRACKING;
    return UINT(-1);
}

// ---- the right button ----------------------------------------------------------------------

namespace {

// Painting order; the tip order puts restore before minimize.
const MdiPart g_partsPaint[] = {
    {MDI_RIGHT_BUTTONS_INFO::__MRBF_HELP, SC_CONTEXTHELP, &MDI_RIGHT_BUTTONS_INFO::m_rcHelp},
    {MDI_RIGHT_BUTTONS_INFO::__MRBF_MINIMIZE, SC_MINIMIZE, &MDI_RIGHT_BUTTONS_INFO::m_rcMinimize},
    {MDI_RIGHT_BUTTONS_INFO::__MRBF_MINIMIZE, SC_RESTORE, &MDI_RIGHT_BUTTONS_INFO::m_rcRestore},
    {MDI_RIGHT_BUTTONS_INFO::__MRBF_MAXIMIZE, SC_MAXIMIZE, &MDI_RIGHT_BUTTONS_INFO::m_rcMaximize},
    {MDI_RIGHT_BUTTONS_INFO::__MRBF_CLOSE, SC_CLOSE, &MDI_RIGHT_BUTTONS_INFO::m_rcClose},
};

struct MdiTipPart
{
    RECT MDI_RIGHT_BUTTONS_INFO::*pRect;
    UINT nSysCmd;
    int nTipID;
};

const MdiTipPart g_partsTip[] = {
    {&MDI_RIGHT_BUTTONS_INFO::m_rcHelp, SC_CONTEXTHELP, ID_CONTEXT_HELP},
    {&MDI_RIGHT_BUTTONS_INFO::m_rcRestore, SC_RESTORE, AFX_IDS_SCRESTORE},
    {&MDI_RIGHT_BUTTONS_INFO::m_rcMinimize, SC_MINIMIZE, AFX_IDS_SCMINIMIZE},
    {&MDI_RIGHT_BUTTONS_INFO::m_rcMaximize, SC_MAXIMIZE, AFX_IDS_SCMAXIMIZE},
    {&MDI_RIGHT_BUTTONS_INFO::m_rcClose, SC_CLOSE, AFX_IDS_SCCLOSE},
};

// Places the present parts one after another, 2 pixels in from the button's start.
void PlaceParts(MDI_RIGHT_BUTTONS_INFO& info, const CRect& rcButton, bool bHorz)
{
    for (const MdiPart& part : g_partsPaint)
        ::SetRectEmpty(&(info.*part.pRect));
    if (rcButton.IsRectEmpty())
        return;
    const int cx = info.m_cxButton, cy = info.m_cyButton;
    CRect rcPart;
    if (bHorz)
    {
        const int nTop = rcButton.top + (rcButton.Height() - cy) / 2;
        rcPart.SetRect(rcButton.left + 2, nTop, rcButton.left + 2 + cx, nTop + cy);
    }
    else
    {
        const int nLeft = rcButton.left + (rcButton.Width() - cx) / 2;
        rcPart.SetRect(nLeft, rcButton.top + 2, nLeft + cx, rcButton.top + 2 + cx);
    }
    auto place = [&](RECT& rc) {
        rc = rcPart;
        if (bHorz)
            rcPart.OffsetRect(cx + 2, 0);
        else
            rcPart.OffsetRect(0, cy + 2);
    };
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_HELP) != 0)
        place(info.m_rcHelp);
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_MINIMIZE) != 0)
    {
        place(info.m_rcMinimize);
        place(info.m_rcRestore);
    }
    else if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_MAXIMIZE) != 0)
        place(info.m_rcMaximize);
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_CLOSE) != 0)
        place(info.m_rcClose);
}

}  // namespace

CExtBarMdiRightButton::CExtBarMdiRightButton(CExtToolControlBar* pBar, UINT nCmdID, UINT nStyle)
    : CExtBarMdiDocButton(pBar, nCmdID, nStyle)
{
}

CExtBarMdiRightButton::~CExtBarMdiRightButton() {}

bool CExtBarMdiRightButton::IsBarHorz() const
{
    CExtToolControlBar* pBar = GetBar();
    if (pBar == NULL)
        return true;
    return pBar->m_pDockBar != NULL ? pBar->IsDockedHorizontally() : pBar->IsHorzByStyle();
}

bool CExtBarMdiRightButton::GetPlacedInfo(MDI_RIGHT_BUTTONS_INFO& info, bool bHorz)
{
    CExtMenuControlBar* pMenuBar = DYNAMIC_DOWNCAST(CExtMenuControlBar, m_pBar);
    if (pMenuBar == NULL)
        return false;
    pMenuBar->GetMdiRightButtonsInfo(info, this, bHorz);
    if (!info.IsValid())
        return false;
    PlaceParts(info, GetRect(), bHorz);
    return true;
}

CSize CExtBarMdiRightButton::MeasureButton(CDC&, CSize sizeDefault, bool bHorz)
{
    MDI_RIGHT_BUTTONS_INFO info;
    CExtMenuControlBar* pMenuBar = DYNAMIC_DOWNCAST(CExtMenuControlBar, m_pBar);
    if (pMenuBar != NULL)
        pMenuBar->GetMdiRightButtonsInfo(info, this, bHorz);
    if (!info.IsValid())
    {
        m_size = CSize(1, 1);
        return m_size;
    }
    CSize size(info.m_cxGroup, info.m_cyGroup);
    if (bHorz && size.cy < sizeDefault.cy)
        size.cy = sizeDefault.cy;
    if (!bHorz && size.cx < sizeDefault.cx)
        size.cx = sizeDefault.cx;
    m_size = size;
    return m_size;
}

CExtCmdIcon* CExtBarMdiRightButton::GetIconPtr() const { return NULL; }

UINT CExtBarMdiRightButton::OnTrackPopup(CPoint, bool, bool) { return UINT(-1); }

bool CExtBarMdiRightButton::OnDblClick(CPoint) { return false; }

void CExtBarMdiRightButton::Paint(CDC& dc, bool bHorz)
{
    MDI_RIGHT_BUTTONS_INFO info;
    if (m_pBar == NULL || !IsVisible() || !GetPlacedInfo(info, bHorz))
        return;
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    m_pBar->ScreenToClient(&ptCursor);
    CExtPaintManager* pPM = m_pBar->GetPaintManager();
    if (pPM == NULL)
        return;
    const bool bEnabled = !CExtBarButton::IsDisabled();
    for (const MdiPart& part : g_partsPaint)
    {
        const RECT& rcPart = info.*part.pRect;
        if (::IsRectEmpty(&rcPart))
            continue;
        const bool bIn = ::PtInRect(&rcPart, ptCursor) != FALSE;
        const bool bHover = IsHot() && bIn;
        const bool bPressed = (CExtBarButton::GetStyle() & TBBS_PRESSED) != 0 && bIn;
        CExtPaintManager::PAINTBUTTONDATA pbd(this, bHorz, rcPart, _T(""), NULL, true, bHover, bPressed, false,
                                              bEnabled, true, false, false, 0, NULL, false, part.nSysCmd);
        pPM->DrawPushButton(dc, pbd);
    }
}

void CExtBarMdiRightButton::OnClick(CPoint point, bool bDown)
{
    if (bDown || IsCustomizeMode())
        return;
    MDI_RIGHT_BUTTONS_INFO info;
    if (!GetPlacedInfo(info, IsBarHorz()))
        return;
    UINT nSysCmd = 0;
    if (::PtInRect(&info.m_rcHelp, point))
        nSysCmd = SC_CONTEXTHELP;
    else if (::PtInRect(&info.m_rcRestore, point))
        nSysCmd = SC_RESTORE;
    else if (::PtInRect(&info.m_rcMinimize, point))
        nSysCmd = SC_MINIMIZE;
    else if (::PtInRect(&info.m_rcMaximize, point))
        nSysCmd = SC_MAXIMIZE;
    else if (::PtInRect(&info.m_rcClose, point))
        nSysCmd = SC_CLOSE;
    if (nSysCmd == 0)
        return;
    CWnd* pChild = info.m_pWndMdiChildFrame;
    if (pChild != NULL && pChild->GetSafeHwnd() != NULL)
    {
        if (nSysCmd == SC_MAXIMIZE)
            ::PostMessage(::GetParent(pChild->m_hWnd), WM_MDIRESTORE, (WPARAM)pChild->m_hWnd, 0);
        else
        {
            CPoint ptScreen = point;
            m_pBar->ClientToScreen(&ptScreen);
            ::PostMessage(pChild->m_hWnd, WM_SYSCOMMAND, nSysCmd, MAKELPARAM(ptScreen.x, ptScreen.y));
        }
    }
    if (m_pBar->GetSafeHwnd() == NULL)
        return;
    SetHot(false);
    Redraw(false);
    CExtToolControlBar* pBar = GetBar();
    CExtBarButton* pFirst = pBar != NULL ? pBar->GetButton(0) : NULL;
    if (pFirst != NULL && pFirst != this && pFirst->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)) && pFirst->IsHot())
    {
        pFirst->SetHot(false);
        pFirst->Redraw(false);
    }
}

int CExtBarMdiRightButton::OnToolHitTest(CPoint point, TOOLINFO* pTI)
{
    MDI_RIGHT_BUTTONS_INFO info;
    if (!GetPlacedInfo(info, IsBarHorz()))
        return -1;
    for (const MdiTipPart& part : g_partsTip)
    {
        const RECT& rcPart = info.*part.pRect;
        if (!::PtInRect(&rcPart, point))
            continue;
        if (pTI != NULL)
        {
            pTI->rect = rcPart;
            CString sText;
            LPTSTR pCopy = NULL;
            if (g_CurrentResourceManager->LoadString(sText, (UINT)part.nTipID) && !sText.IsEmpty())
            {
                // The tool-tip machinery frees the copy.
                pCopy = (LPTSTR)::malloc((sText.GetLength() + 1) * sizeof(TCHAR));
                if (pCopy != NULL)
                    ::lstrcpy(pCopy, sText);
            }
            pTI->lpszText = pCopy != NULL ? pCopy : LPSTR_TEXTCALLBACK;
        }
        return part.nTipID;
    }
    return -1;
}

int CExtBarMdiRightButton::OnHelpHitTest(CPoint point) { return OnToolHitTest(point, NULL); }

bool CExtBarMdiRightButton::PutToPopupMenu(CExtPopupMenuWnd* pPopup)
{
    MDI_RIGHT_BUTTONS_INFO info;
    CExtMenuControlBar* pMenuBar = DYNAMIC_DOWNCAST(CExtMenuControlBar, m_pBar);
    if (pPopup == NULL || pMenuBar == NULL)
        return false;
    pMenuBar->GetMdiRightButtonsInfo(info, this, IsBarHorz());
    if (!info.IsValid() || info.m_pWndMdiChildFrame == NULL)
        return false;
    const HWND hWndChild = info.m_pWndMdiChildFrame->GetSafeHwnd();
    const int nCount = pPopup->ItemGetCount();
    if (nCount > 0 && !pPopup->ItemGetInfo(nCount - 1).IsSeparator())
        pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
    HMENU hSysMenu = ::GetSystemMenu(hWndChild, FALSE);
    auto insert = [&](UINT nSysCmd) {
        if (pPopup->ItemInsert(nSysCmd, -1, NULL, CExtCmdIcon(), hWndChild))
            return;
        // A system command the child's profile does not know takes its text from the
        // child's system menu.
        TCHAR szText[128] = _T("");
        if (hSysMenu != NULL)
            ::GetMenuString(hSysMenu, nSysCmd, szText, 128, MF_BYCOMMAND);
        pPopup->ItemInsertCommand(nSysCmd, -1, szText, NULL, CExtCmdIcon(), 0, hWndChild);
    };
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_HELP) != 0)
        insert(SC_CONTEXTHELP);
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_MINIMIZE) != 0)
    {
        insert(SC_MINIMIZE);
        insert(SC_RESTORE);
    }
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_MAXIMIZE) != 0)
        insert((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_MINIMIZE) != 0 ? SC_MAXIMIZE : SC_RESTORE);
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_CLOSE) != 0)
        insert(SC_CLOSE);
    return true;
}
