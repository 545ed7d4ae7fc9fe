// The toolbar button object: measuring, placing, painting, mouse handling and the command
// state (its drop-down menu is in bar_button_menu.cpp). Every step that may run after a
// menu's own message loop checks the bar's window again: the chosen command may have
// destroyed the bar.
#include "toolkit/bars/bar_button.h"
#include "framework/afxres.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_push_button.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <algorithm>

// Set by the menu bar when an open popup reports that it expanded its rarely used items,
// so that the next button menu opens expanded too.
bool CExtToolControlBar::g_bMenuTrackingExpanded = false;

IMPLEMENT_DYNCREATE(CExtBarButton, CObject)

namespace {

// Strips mnemonics the way the menu and toolbar text is shown: "&&" is one ampersand,
// a single one marks the access key and takes no room.
CString StripAmpersands(const CString& sText)
{
    CString sOut;
    int nLen = sText.GetLength();
    for (int i = 0; i < nLen; ++i)
    {
        TCHAR ch = sText[i];
        if (ch == _T('&'))
        {
            if (i + 1 < nLen && sText[i + 1] == _T('&'))
            {
                sOut += _T('&');
                ++i;
            }
            continue;
        }
        sOut += ch;
    }
    return sOut;
}

// The command state of one button, applied to the button itself.
class CBarButtonCmdUI : public CCmdUI
{
public:
    explicit CBarButtonCmdUI(CExtBarButton* pTBB) : m_pTBB(pTBB) {}
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        DWORD dwOld = m_pTBB->GetStyle();
        DWORD dwNew = bOn ? (dwOld & ~TBBS_DISABLED) : (dwOld | TBBS_DISABLED);
        // A disabled button can be neither pressed nor hot.
        if (!bOn)
            dwNew &= ~TBBS_PRESSED;
        Apply(dwOld, dwNew);
    }
    void SetCheck(int nCheck) override
    {
        DWORD dwOld = m_pTBB->GetStyle();
        DWORD dwNew = dwOld & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1)
            dwNew |= TBBS_CHECKED;
        else if (nCheck == 2)
            dwNew |= TBBS_INDETERMINATE;
        Apply(dwOld, dwNew);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCTSTR) override {}

private:
    void Apply(DWORD dwOld, DWORD dwNew)
    {
        if (dwOld == dwNew)
            return;
        m_pTBB->SetStyle(dwNew);
        m_pTBB->Redraw(false);
    }
    CExtBarButton* m_pTBB;
};

// Command-tree node flags that mirror the button's own flags.
const DWORD NODE_MDI_LIST = 0x20;
const DWORD NODE_SEPARATED_DD = 0x40;
const DWORD NODE_AUTO_CHANGE = 0x80;
const DWORD NODE_HORZ_ONLY = 0x100;
const DWORD NODE_HIDDEN = 0x400;
const DWORD NODE_CTRL_SHOWN = 0x40000;

}  // namespace

// With a node attached, the node's flag answers; the setters write both.
bool CExtBarButton::GetMirroredFlag(const BYTE& nFlags, BYTE nBit, DWORD dwNodeFlag) const
{
    if (m_pBasicNode != NULL)
        return (m_pBasicNode->GetFlags() & dwNodeFlag) != 0;
    return (nFlags & nBit) != 0;
}

void CExtBarButton::SetMirroredFlag(BYTE& nFlags, BYTE nBit, DWORD dwNodeFlag, bool bOn)
{
    if (bOn)
        nFlags |= nBit;
    else
        nFlags &= ~nBit;
    if (m_pBasicNode != NULL)
        m_pBasicNode->ModifyFlags(bOn ? dwNodeFlag : 0, bOn ? 0 : dwNodeFlag);
}

CExtBarButton::CExtBarButton(CExtControlBar* pBar, UINT nCmdID, UINT nStyle)
    : m_pBar(pBar), m_rc(0, 0, 0, 0), m_nCmdID(0), m_nEffectiveCmdID(0), m_dwStyle(nStyle), m_size(0, 0),
      m_nFlags1(__F1_VISIBLE), m_nFlags2(0), m_pInitialNode(NULL), m_pBasicNode(NULL), m_pCtrl(NULL),
      m_hMenu(NULL)
{
    SetCmdID(nCmdID, false, false);
}

CExtBarButton::~CExtBarButton()
{
    // The attached control belongs to whoever made it; only an owned menu goes with us.
    if (m_hMenu != NULL && (m_nFlags2 & __F2_MENU_OWNED) != 0 && ::IsMenu(m_hMenu))
        ::DestroyMenu(m_hMenu);
    m_hMenu = NULL;
}

CExtToolControlBar* CExtBarButton::GetBar() const
{
    return DYNAMIC_DOWNCAST(CExtToolControlBar, m_pBar);
}

bool CExtBarButton::IsInMenuBar() const
{
    return m_pBar != NULL && m_pBar->IsKindOf(RUNTIME_CLASS(CExtMenuControlBar));
}

LPCTSTR CExtBarButton::ProfileName() const
{
    if (m_pBar == NULL || m_pBar->GetSafeHwnd() == NULL || g_CommandManager.GetCmdManager() == NULL)
        return NULL;
    return g_CommandManager->ProfileNameFromWnd(m_pBar->GetSafeHwnd());
}

CExtCmdItem* CExtBarButton::CmdItem() const
{
    LPCTSTR sProfile = ProfileName();
    if (sProfile == NULL)
        return NULL;
    return g_CommandManager->CmdGetPtr(sProfile, m_nEffectiveCmdID);
}

bool CExtBarButton::IsCtrlInUse() const
{
    return m_pCtrl != NULL && ((m_nFlags1 & __F1_CTRL_OPTIONAL) == 0 || IsCtrlShown());
}

void CExtBarButton::SyncAttachedControl()
{
    if (m_pCtrl == NULL || m_pCtrl->GetSafeHwnd() == NULL)
        return;
    bool bShow = IsVisible() && (m_dwStyle & TBBS_HIDDEN) == 0 && IsCtrlInUse();
    m_pCtrl->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    m_pCtrl->EnableWindow(IsDisabled() ? FALSE : TRUE);
    if (m_pCtrl->IsKindOf(RUNTIME_CLASS(CButton)))
    {
        WPARAM nCheck = IsPressedOrChecked() ? 1 : (IsIndeterminate() ? 2 : 0);
        m_pCtrl->SendMessage(BM_SETCHECK, nCheck, 0);
    }
}

// The bar's button options are class-wide switches that nothing in this program changes:
// no large icons, tool tips on, no shortcut in the tips.
bool CExtBarButton::IsLargeIcon() const
{
    CExtToolControlBar* pBar = GetBar();
    return pBar != NULL && !IsSeparator() && pBar->QueryButtonOption1();
}

bool CExtBarButton::IsShowTips() const
{
    if (m_pBar == NULL || IsSeparator())
        return false;
    CExtToolControlBar* pBar = GetBar();
    return pBar == NULL || pBar->QueryButtonOption2();
}

bool CExtBarButton::IsShowShortcutInTips() const
{
    CExtToolControlBar* pBar = GetBar();
    return pBar != NULL && !IsSeparator() && pBar->QueryButtonOption3();
}

UINT CExtBarButton::GetCmdID(bool bEffective) const
{
    return bEffective ? m_nEffectiveCmdID : m_nCmdID;
}

void CExtBarButton::SetCmdID(UINT nCmdID, bool bEffectiveOnly, bool bRedraw)
{
    UINT nOldEffective = m_nEffectiveCmdID;
    m_nEffectiveCmdID = nCmdID;
    if (!bEffectiveOnly)
    {
        m_nCmdID = nCmdID;
        if (nCmdID == 0)
            m_dwStyle |= TBBS_SEPARATOR;
        else
            m_dwStyle &= ~TBBS_SEPARATOR;
    }
    if (!bRedraw || nOldEffective == m_nEffectiveCmdID || m_pBar == NULL || m_pBar->GetSafeHwnd() == NULL)
        return;
    m_pBar->Invalidate();
    CFrameWnd* pFrame = m_pBar->GetParentFrame();
    if (pFrame != NULL)
        pFrame->RecalcLayout(TRUE);
    else
        m_pBar->SetTimer(CExtToolControlBar::__TIMER_ID_DELAYED_RELAYOUT, 1, NULL);
}

bool CExtBarButton::IsSeparatedDropDown() const
{
    return GetMirroredFlag(__F2_SEPARATED_DD, NODE_SEPARATED_DD);
}

void CExtBarButton::SetSeparatedDropDown(bool bOn)
{
    if (IsSeparatedDropDown() == bOn)
        return;
    SetMirroredFlag(__F2_SEPARATED_DD, NODE_SEPARATED_DD, bOn);
    SyncAttachedControl();
}

bool CExtBarButton::IsAutoChangeID() const
{
    return GetMirroredFlag(__F2_AUTO_CHANGE, NODE_AUTO_CHANGE);
}

void CExtBarButton::SetAutoChangeID(bool bOn)
{
    if (IsAutoChangeID() == bOn)
        return;
    SetMirroredFlag(__F2_AUTO_CHANGE, NODE_AUTO_CHANGE, bOn);
    if (bOn)
        SetCmdID(m_nEffectiveCmdID, true, false);
    SyncAttachedControl();
}

bool CExtBarButton::IsHorizontalOnly() const
{
    if (GetMirroredFlag(__F2_HORZ_ONLY, NODE_HORZ_ONLY))
        return true;
    // Every button of a panel bar lies horizontally.
    return m_pBar != NULL && CExtPaintManagerHolder::IsKindOfByName(m_pBar, "CExtPanelControlBar");
}

void CExtBarButton::SetHorizontalOnly(bool bOn)
{
    if (GetMirroredFlag(__F2_HORZ_ONLY, NODE_HORZ_ONLY) == bOn)
        return;
    SetMirroredFlag(__F2_HORZ_ONLY, NODE_HORZ_ONLY, bOn);
    SyncAttachedControl();
}

bool CExtBarButton::IsCtrlShown() const
{
    return GetMirroredFlag(__F2_CTRL_SHOWN, NODE_CTRL_SHOWN);
}

void CExtBarButton::SetCtrlShown(bool bOn)
{
    SetMirroredFlag(__F2_CTRL_SHOWN, NODE_CTRL_SHOWN, bOn);
    SyncAttachedControl();
}

CWnd* CExtBarButton::GetCtrl()
{
    return m_pCtrl;
}

CWnd* CExtBarButton::SetCtrl(CWnd* pCtrl, bool bCtrlDeletesItself)
{
    if (m_pCtrl != NULL && m_pCtrl != pCtrl)
    {
        if (m_pCtrl->GetSafeHwnd() != NULL && ::IsWindow(m_pCtrl->GetSafeHwnd()))
            m_pCtrl->DestroyWindow();
        if ((m_nFlags1 & __F1_CTRL_DELETES_ITSELF) == 0)
            delete m_pCtrl;
    }
    m_pCtrl = pCtrl;
    if (bCtrlDeletesItself)
        m_nFlags1 |= __F1_CTRL_DELETES_ITSELF;
    else
        m_nFlags1 &= ~__F1_CTRL_DELETES_ITSELF;
    return m_pCtrl;
}

DWORD CExtBarButton::GetStyle() const
{
    return m_dwStyle;
}

void CExtBarButton::SetStyle(DWORD dwStyle)
{
    m_dwStyle = dwStyle;
    if ((m_dwStyle & TBBS_PRESSED) == 0)
        m_nFlags2 &= ~__F2_DD_PART_PRESSED;
    if ((m_dwStyle & TBBS_SEPARATOR) != 0)
    {
        m_nCmdID = 0;
        m_nEffectiveCmdID = 0;
    }
    SyncAttachedControl();
    SyncNodeHidden();
}

void CExtBarButton::ModifyStyle(DWORD dwAdd, DWORD dwRemove)
{
    SetStyle((m_dwStyle | dwAdd) & ~dwRemove);
}

void CExtBarButton::SetTracked()
{
    m_nFlags2 |= __F2_TRACKED;
}

void CExtBarButton::ClearTracked()
{
    m_nFlags2 &= ~__F2_TRACKED;
}

bool CExtBarButton::IsTracked() const
{
    return (m_nFlags2 & __F2_TRACKED) != 0;
}

void CExtBarButton::SetCtrlOptional(bool bOn)
{
    if (bOn)
        m_nFlags1 |= __F1_CTRL_OPTIONAL;
    else
        m_nFlags1 &= ~__F1_CTRL_OPTIONAL;
}

static BYTE WrapBit(int nLayout)
{
    return BYTE(nLayout == 0 ? CExtBarButton::__F1_WRAP0
                             : (nLayout == 1 ? CExtBarButton::__F1_WRAP1 : CExtBarButton::__F1_WRAP2));
}

bool CExtBarButton::IsWrap(int nLayout) const
{
    return (m_nFlags1 & WrapBit(nLayout)) != 0;
}

void CExtBarButton::SetWrap(int nLayout, bool bWrap)
{
    if (bWrap)
        m_nFlags1 |= WrapBit(nLayout);
    else
        m_nFlags1 &= ~WrapBit(nLayout);
}

bool CExtBarButton::IsSeparator() const { return (m_dwStyle & TBBS_SEPARATOR) != 0; }

bool CExtBarButton::IsDisabled() const { return (m_dwStyle & TBBS_DISABLED) != 0; }

bool CExtBarButton::IsIndeterminate() const { return (m_dwStyle & TBBS_INDETERMINATE) != 0; }

bool CExtBarButton::IsPressedOrChecked() const { return (m_dwStyle & (TBBS_PRESSED | TBBS_CHECKED)) != 0; }

void CExtBarButton::SetVisible(bool bVisible)
{
    if (bVisible)
        m_nFlags1 |= __F1_VISIBLE;
    else
        m_nFlags1 &= ~__F1_VISIBLE;
    SyncAttachedControl();
}

bool CExtBarButton::IsVisible() const
{
    return (m_nFlags1 & __F1_VISIBLE) != 0;
}

void CExtBarButton::SetHot(bool bHot)
{
    if (bHot)
        m_nFlags1 |= __F1_HOT;
    else
        m_nFlags1 &= ~__F1_HOT;
    SyncAttachedControl();
}

bool CExtBarButton::IsHot() const
{
    return (m_nFlags1 & __F1_HOT) != 0;
}

CString CExtBarButton::GetText() const
{
    if (IsSeparator())
        return CString();
    CExtCmdItem* pItem = CmdItem();
    if (m_pBasicNode != NULL)
    {
        LPCTSTR sNodeText = m_pBasicNode->GetTextInToolbar(pItem, true);
        return CString(sNodeText != NULL ? sNodeText : _T(""));
    }
    if (pItem == NULL || pItem->m_sToolbarText.IsEmpty())
        return CString();
    CString sText = pItem->m_sToolbarText;
    int nTab = sText.Find(_T('\t'));
    if (nTab >= 0)
        sText = sText.Left(nTab);
    return sText;
}

void CExtBarButton::SetRect(const RECT& rc)
{
    m_rc = rc;
    if (m_pCtrl != NULL && m_pCtrl->GetSafeHwnd() != NULL && IsCtrlInUse())
    {
        CRect rcCtrl;
        m_pCtrl->GetWindowRect(&rcCtrl);
        CSize size = rcCtrl.Size();
        CPoint pt = m_rc.TopLeft();
        if ((m_nFlags1 & __F1_CTRL_OPTIONAL) == 0)
            pt.y += (m_rc.Height() - size.cy) / 2;
        else
            pt.x += (m_rc.Width() - size.cx) / 2;
        m_pCtrl->MoveWindow(pt.x, pt.y, size.cx, size.cy, FALSE);
    }
    SyncAttachedControl();
}

CRect CExtBarButton::GetRect() const
{
    return m_rc;
}

CRect CExtBarButton::GetRectDropDown() const
{
    CRect rc = GetRect();
    bool bHorz = IsHorizontalOnly() || m_pBar == NULL || !m_pBar->IsDockedVertically();
    if (!bHorz)
    {
        rc.top = rc.bottom - __DROPDOWN_EXTENT;
        return rc;
    }
    bool bRTL = false;
    if (m_pBar != NULL && m_pBar->GetSafeHwnd() != NULL)
    {
        HWND hWndTest = m_pBar->GetSafeHwnd();
        if (m_pBar->m_pDockBar == NULL && ::GetParent(hWndTest) != NULL)
            hWndTest = ::GetParent(hWndTest);
        bRTL = (::GetWindowLong(hWndTest, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    }
    if (bRTL)
        rc.right = rc.left + __DROPDOWN_EXTENT;
    else
        rc.left = rc.right - __DROPDOWN_EXTENT;
    return rc;
}

CSize CExtBarButton::GetSize() const
{
    return m_size;
}

void CExtBarButton::SetMenu(HMENU hMenu, bool bUseFirstSubMenu, bool bOwned)
{
    if (m_hMenu != NULL && m_hMenu != hMenu && (m_nFlags2 & __F2_MENU_OWNED) != 0 && ::IsMenu(m_hMenu))
        ::DestroyMenu(m_hMenu);
    m_hMenu = hMenu;
    m_nFlags2 &= ~__F2_MENU_OWNED;
    if (m_hMenu == NULL)
        return;
    LPCTSTR sProfile = ProfileName();
    if (sProfile != NULL)
        g_CommandManager->UpdateFromMenu(sProfile, m_hMenu, false, true, true);
    if (bUseFirstSubMenu)
        m_nFlags1 |= __F1_FIRST_SUBMENU;
    else
        m_nFlags1 &= ~__F1_FIRST_SUBMENU;
    m_dwStyle &= ~TBBS_DISABLED;
    if (bOwned)
        m_nFlags2 |= __F2_MENU_OWNED;
}

HMENU CExtBarButton::GetMenu()
{
    return m_hMenu;
}

void CExtBarButton::SetAppendMdiWindowsMenu(bool bOn)
{
    SetMirroredFlag(__F2_MDI_LIST, NODE_MDI_LIST, bOn);
}

bool CExtBarButton::IsAppendMdiWindowsMenu() const
{
    return GetMirroredFlag(__F2_MDI_LIST, NODE_MDI_LIST);
}

bool CExtBarButton::IsAbleToTrackMenu() const
{
    return HasPopup(false);
}

bool CExtBarButton::HasPopup(bool) const
{
    if (m_hMenu != NULL)
        return true;
    if (m_pBasicNode != NULL && ((m_pBasicNode->GetFlags() & CExtCustomizeCmdTreeNode::__ECTN_AUTO_POPUP) != 0 ||
                                 m_pBasicNode->GetNodeCount() > 0))
        return true;
    // The chevron at the end of a bar always has its popup.
    return CExtPaintManagerHolder::IsKindOfByName(this, "CExtBarContentExpandButton");
}

bool CExtBarButton::IsSubMenuUsed() const
{
    return (m_nFlags1 & __F1_FIRST_SUBMENU) != 0;
}

CSize CExtBarButton::MeasureButton(CDC& dc, CSize sizeDefault, bool bHorz)
{
    if (IsHorizontalOnly())
        bHorz = true;
    if (IsCtrlInUse() && m_pCtrl->GetSafeHwnd() != NULL)
    {
        CRect rcCtrl;
        m_pCtrl->GetWindowRect(&rcCtrl);
        m_size = rcCtrl.Size();
        if (m_size.cy < sizeDefault.cy)
            m_size.cy = sizeDefault.cy;
        return m_size;
    }
    CSize size = sizeDefault;
    if (IsSeparator())
    {
        if (bHorz)
            size.cx = 6;
        else
            size.cy = 6;
    }
    else
    {
        if (m_pBasicNode == NULL && CmdItem() == NULL)
        {
            m_size = sizeDefault;
            return m_size;
        }
        CSize sizeIcon(0, 0);
        CExtCmdIcon* pIcon = GetIconPtr();
        if (pIcon != NULL && !pIcon->IsEmpty())
        {
            sizeIcon = pIcon->GetSize();
            if (IsLargeIcon())
            {
                sizeIcon.cx *= 2;
                sizeIcon.cy *= 2;
            }
        }
        CSize sizeText(0, 0);
        CString sText = GetText();
        if (!sText.IsEmpty())
        {
            sText = StripAmpersands(sText);
            CRect rcText(0, 0, 0, 0);
            dc.DrawText(sText, &rcText, DT_CALCRECT | DT_SINGLELINE);
            sizeText = rcText.Size();
        }
        if (bHorz)
        {
            size.cx = sizeIcon.cx + sizeText.cx + 6;
            size.cy = std::max(sizeIcon.cy, sizeText.cy);
        }
        else
        {
            size.cx = std::max(sizeIcon.cx, sizeText.cy);
            size.cy = sizeIcon.cy + sizeText.cx + 3;
        }
        size.cx = std::max(size.cx + 6, sizeDefault.cx);
        size.cy = std::max(size.cy + 6, sizeDefault.cy);
        // The themes of this program leave the size as it is here and add no extra space.
    }
    if (HasPopup(false) && !IsInMenuBar())
    {
        if (bHorz)
            size.cx += __DROPDOWN_EXTENT;
        else
            size.cy += __DROPDOWN_EXTENT;
    }
    m_size = size;
    return m_size;
}

CExtCmdIcon* CExtBarButton::GetIconPtr() const
{
    LPCTSTR sProfile = ProfileName();
    if (sProfile == NULL)
        return NULL;
    if (m_pBasicNode == NULL)
        return g_CommandManager->CmdGetIconPtr(sProfile, m_nEffectiveCmdID);
    if ((INT)m_nEffectiveCmdID <= 0)
        return NULL;
    if ((m_pBasicNode->GetFlags() & NODE_AUTO_CHANGE) != 0)
        return g_CommandManager->CmdGetIconPtr(sProfile, m_nEffectiveCmdID);
    CExtCmdItem* pItem = g_CommandManager->CmdGetPtr(sProfile, m_nEffectiveCmdID);
    if (pItem == NULL)
        return NULL;
    return m_pBasicNode->GetIconPtrInToolbar(pItem);
}

CExtCmdIcon& CExtBarButton::GetIcon() const
{
    CExtCmdIcon* pIcon = GetIconPtr();
    if (pIcon != NULL)
        return *pIcon;
    static CExtCmdIcon g_EmptyIcon;
    return g_EmptyIcon;
}

CWnd* CExtBarButton::GetCmdTargetWnd() const
{
    if (m_pBar == NULL || m_pBar->GetSafeHwnd() == NULL)
        return NULL;
    CWnd* pOwner = m_pBar->GetOwner();
    if (pOwner != NULL)
        return pOwner;
    return m_pBar->GetParent();
}

void CExtBarButton::Paint(CDC& dc, bool bHorz)
{
    if (IsHorizontalOnly())
        bHorz = true;
    if (IsCtrlInUse())
        return;
    CRect rc = GetRect();
    if (rc.IsRectEmpty() || !IsVisible() || (m_dwStyle & TBBS_HIDDEN) != 0 || !dc.RectVisible(&rc))
        return;
    if (m_pBar == NULL)
        return;
    // This program never puts a bar into customize mode.
    bool bPressed = IsPressedOrChecked();
    bool bEnabled = !IsDisabled();
    bool bIndeterminate = IsIndeterminate();
    bool bHover = !CExtToolControlBar::g_bButtonMenuTracking && !CExtPopupMenuWnd::IsMenuTracking() &&
                  (IsHot() || IsTracked());
    CExtCmdIcon* pIcon = GetIconPtr();
    CString sText = GetText();
    bool bDropDown = HasPopup(false) && !IsInMenuBar();
    CExtPaintManager::PAINTBUTTONDATA pbd(this, bHorz, rc, sText, pIcon, true, bHover, bPressed, bIndeterminate,
                                          bEnabled, true, false, false, 9, NULL, bDropDown, 0,
                                          !(bEnabled && (bHover || bPressed)));
    if (IsSeparatedDropDown())
    {
        pbd.m_bSeparatedDropDown = true;
        if ((m_nFlags2 & __F2_DD_PART_PRESSED) != 0 && (m_dwStyle & TBBS_PRESSED) != 0)
            pbd.m_bPushedDropDown = true;
    }
    pbd.m_clrCustomIcon = GetTextColor(dc);
    CExtPaintManager* pPM = m_pBar->GetPaintManager();
    if (pPM == NULL)
        pPM = g_CurrentPaintManager.GetPM();
    if (pPM != NULL)
        pPM->DrawPushButton(dc, pbd);
}

COLORREF CExtBarButton::GetTextColor(CDC&)
{
    // The toolbar leaves the colour to the theme.
    return COLORREF(-1L);
}

void CExtBarButton::OnHover(CPoint point, bool bOn, bool& bSuspendTips)
{
    bSuspendTips = false;
    if (m_pBar == NULL || m_pBar->GetSafeHwnd() == NULL)
        return;
    if (bOn)
    {
        if (CExtToolControlBar::g_bButtonMenuTracking)
        {
            OnTrackPopup(point, false, false);
            return;
        }
        UINT nStatusID = m_nEffectiveCmdID;
        if (IsInMenuBar() || CExtPaintManagerHolder::IsKindOfByName(this, "CExtBarContentExpandButton") ||
            !CExtCmdManager::IsCommand(m_nCmdID))
            nStatusID = AFX_IDS_IDLEMESSAGE;
        CExtControlBar::ShowCommandStatusText(GetCmdTargetWnd(), nStatusID);
        if (m_pCtrl == NULL || m_pCtrl->GetSafeHwnd() == NULL || !m_pCtrl->IsWindowVisible())
            m_pBar->CExtMouseCaptureSink::SetCapture(m_pBar->GetSafeHwnd());
        return;
    }
    CExtControlBar::ShowCommandStatusText(GetCmdTargetWnd(), AFX_IDS_IDLEMESSAGE);
    if (::GetCapture() == m_pBar->GetSafeHwnd())
        ::ReleaseCapture();
}

void CExtBarButton::OnClick(CPoint point, bool bDown)
{
    bool bInArrow = IsSeparatedDropDown() && GetRectDropDown().PtInRect(point);
    if (IsDisabled() && !(bInArrow && IsAbleToTrackMenu()))
    {
        // A disabled button with a plain drop-down still opens its menu.
        if (!(bDown && !IsSeparatedDropDown() && IsAbleToTrackMenu()))
            return;
    }
    CWnd* pTarget = GetCmdTargetWnd();
    if (bDown)
    {
        CExtToolControlBar::CancelAllButtonMenuTracking();
        m_nFlags2 &= ~__F2_DD_PART_PRESSED;
        if (IsSeparatedDropDown() && bInArrow)
            m_nFlags2 |= __F2_DD_PART_PRESSED;
        if ((IsSeparatedDropDown() && !bInArrow) || !HasPopup(false))
        {
            CExtControlBar::ShowCommandStatusText(pTarget, m_nCmdID);
            return;
        }
        CExtToolControlBar::g_bMenuTrackingExpanded = false;
        OnTrackPopup(point, false, false);
        return;
    }
    CExtControlBar::ShowCommandStatusText(pTarget, AFX_IDS_IDLEMESSAGE);
    bInArrow = bInArrow && (m_nFlags2 & __F2_DD_PART_PRESSED) != 0;
    m_nFlags2 &= ~__F2_DD_PART_PRESSED;
    if ((HasPopup(false) && !IsSeparatedDropDown()) || bInArrow)
        return;
    if (m_pCtrl != NULL && m_pCtrl->GetSafeHwnd() != NULL &&
        (m_pCtrl->GetStyle() & WS_VISIBLE) != 0)
    {
        if (m_pBar != NULL && ::GetCapture() == m_pBar->GetSafeHwnd())
            m_pBar->SendMessage(WM_CANCELMODE);
        return;
    }
    OnDeliverCmd();
}

bool CExtBarButton::OnDblClick(CPoint)
{
    return false;
}

void CExtBarButton::OnDeliverCmd()
{
    if (m_nCmdID < 1 || m_pBar == NULL)
        return;
    CExtCmdItem* pItem = CmdItem();
    CWnd* pTarget = GetCmdTargetWnd();
    if (pItem == NULL || pTarget == NULL)
        return;
    pItem->Deliver(pTarget, true);
}

int CExtBarButton::OnToolHitTest(CPoint, TOOLINFO* pTI)
{
    if (!IsShowTips())
        return -1;
    CExtCmdItem* pItem = CmdItem();
    if (pItem == NULL || pItem->m_sTipTool.IsEmpty())
        return -1;
    if (pTI != NULL)
    {
        CString sTip = pItem->m_sTipTool;
        if (IsShowShortcutInTips() && !pItem->m_sAccelText.IsEmpty())
            sTip += _T(" (") + pItem->m_sAccelText + _T(")");
        CRect rc = GetRect();
        ::CopyRect(&pTI->rect, &rc);
        pTI->uId = m_nEffectiveCmdID;
        pTI->hwnd = m_pBar->GetSafeHwnd();
        SetToolTipText(pTI, sTip);
    }
    return (int)m_nEffectiveCmdID;
}

void CExtBarButton::SetToolTipText(TOOLINFO* pTI, const CString& sTip)
{
    // The tool-tip machinery frees the copy.
    LPTSTR pCopy = (LPTSTR)::malloc((sTip.GetLength() + 1) * sizeof(TCHAR));
    if (pCopy != NULL)
    {
        ::lstrcpy(pCopy, sTip);
        pTI->lpszText = pCopy;
    }
    else
        pTI->lpszText = LPSTR_TEXTCALLBACK;
}

int CExtBarButton::OnHelpHitTest(CPoint point)
{
    if (IsSeparator())
        return -1;
    if (!HasPopup(false))
    {
        LPCTSTR sProfile = ProfileName();
        if (sProfile != NULL && g_CommandManager->CmdGetPtr(sProfile, m_nCmdID) != NULL)
            return (int)m_nCmdID;
        return -1;
    }
    if (m_pBar == NULL || m_pBar->m_pDockSite == NULL || !m_pBar->m_pDockSite->m_bHelpMode)
        return -3;
    OnTrackPopup(point, false, false);
    return -3;
}

void CExtBarButton::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler, int nIndex)
{
    if (IsSeparator() || (HasPopup(false) && IsInMenuBar()) || pTarget == NULL)
        return;
    CExtToolControlBar* pBar = GetBar();
    if (pBar == NULL)
    {
        CBarButtonCmdUI state(this);
        state.m_nID = m_nEffectiveCmdID;
        state.m_nIndex = (UINT)nIndex;
        state.m_nIndexMax = (UINT)std::max(nIndex + 1, 1);
        state.m_pOther = m_pBar;
        state.DoUpdate(pTarget, bDisableIfNoHandler);
        return;
    }
    CExtToolControlBar::CExtToolControlBarCmdUI state(this);
    state.m_nID = m_nEffectiveCmdID;
    state.m_nIndex = (UINT)nIndex;
    state.m_nIndexMax = (UINT)std::max(pBar->GetButtonsCount(), nIndex + 1);
    state.m_pOther = pBar;
    state.DoUpdate(pTarget, bDisableIfNoHandler);
}

bool CExtBarButton::CanStartCustomizeDrag()
{
    if (IsSeparator() || (m_pCtrl != NULL && m_pCtrl->GetSafeHwnd() != NULL))
        return false;
    return m_pBasicNode != NULL;
}

void CExtBarButton::SyncNodeHidden()
{
    if (m_pBar == NULL || m_pBasicNode == NULL)
        return;
    if ((m_dwStyle & TBBS_HIDDEN) != 0)
        m_pBasicNode->ModifyFlags(NODE_HIDDEN, 0);
    else
        m_pBasicNode->ModifyFlags(0, NODE_HIDDEN);
}

void CExtBarButton::SyncNodeTexts()
{
    if (m_pBasicNode == NULL)
        return;
    CExtCmdItem* pItem = CmdItem();
    CString sText;
    if (pItem != NULL)
        sText = !pItem->m_sToolbarText.IsEmpty() ? pItem->m_sToolbarText : pItem->m_sMenuText;
    m_pBasicNode->SetTextInToolbar(sText);
    m_pBasicNode->SetTextInMenu(sText);
}

void CExtBarButton::SyncFromNode(CExtCustomizeCmdTreeNode* pNode)
{
    if (pNode == NULL)
        pNode = m_pInitialNode;
    if (pNode == NULL)
        return;
    m_nCmdID = pNode->GetCmdID(false);
    m_nEffectiveCmdID = pNode->GetCmdID(true);
    DWORD dwFlags = pNode->GetFlags();
    if ((dwFlags & NODE_MDI_LIST) != 0)
        m_nFlags2 |= __F2_MDI_LIST;
    if ((dwFlags & NODE_SEPARATED_DD) != 0)
        m_nFlags2 |= __F2_SEPARATED_DD;
    if ((dwFlags & NODE_AUTO_CHANGE) != 0)
        m_nFlags2 |= __F2_AUTO_CHANGE;
    if ((dwFlags & NODE_HORZ_ONLY) != 0)
        m_nFlags2 |= __F2_HORZ_ONLY;
    if (IsAutoChangeID())
        SyncNodeTexts();
}

CExtCustomizeCmdTreeNode* CExtBarButton::GetCmdNode(bool bInitial)
{
    if (IsSeparator())
        return NULL;
    return bInitial ? m_pInitialNode : m_pBasicNode;
}

void CExtBarButton::SetInitialCmdNode(CExtCustomizeCmdTreeNode* pNode)
{
    m_pInitialNode = pNode;
}

void CExtBarButton::SetBasicCmdNode(CExtCustomizeCmdTreeNode* pNode)
{
    m_pBasicNode = pNode;
    if (IsAutoChangeID())
        SyncNodeTexts();
}

int CExtBarButton::OnCustomizeQuery(int, int, int, int)
{
    return 0;
}

int CExtBarButton::OnCustomizeCalcDropPos(CPoint point, bool bDropDownAware)
{
    // A drop-down button would open its node's menu beside itself for a site that shows
    // such menus; the sites of this toolkit show none, so the position alone answers.
    (void)bDropDownAware;
    const CRect rc = GetRect();
    const bool bHorzFlow = m_pBar == NULL || (m_pBar->m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    const int nStart = bHorzFlow ? rc.left : rc.top;
    const int nExtent = bHorzFlow ? rc.Width() : rc.Height();
    const int nAt = (bHorzFlow ? point.x : point.y) - nStart;
    if (nAt < nExtent / 4)
        return -1;
    if (nAt < nExtent - nExtent / 4)
        return -2;
    return 1;
}

void CExtBarButton::Redraw(bool bUpdateNow)
{
    if (!IsVisible() || (m_dwStyle & TBBS_HIDDEN) != 0 || m_pBar == NULL || m_pBar->GetSafeHwnd() == NULL)
        return;
    CExtToolControlBar* pBar = GetBar();
    const int nIndex = pBar != NULL ? pBar->GetButtonIndex(this) : -1;
    if (nIndex >= 0)
        pBar->RedrawButton(nIndex);
    else
    {
        CRect rc = GetRect();
        m_pBar->InvalidateRect(&rc);
    }
    if (bUpdateNow)
        m_pBar->UpdateWindow();
}

bool CExtBarButton::OnCustomizeSetCursor(CPoint)
{
    return false;
}

bool CExtBarButton::IsNoVerticalDockFrame() const
{
    return false;
}

namespace {

// A button lays out right to left when its bar's window does.
struct BarButtonRtlInstaller
{
    BarButtonRtlInstaller()
    {
        CExtPaintManager::PAINTBUTTONDATA::g_pfnBarButtonRTL = [](const CObject* pHelperSrc) {
            const CExtBarButton* pTBB = DYNAMIC_DOWNCAST(CExtBarButton, const_cast<CObject*>(pHelperSrc));
            if (pTBB == NULL || pTBB->m_pBar == NULL || pTBB->m_pBar->GetSafeHwnd() == NULL)
                return false;
            return (::GetWindowLong(pTBB->m_pBar->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
        };
    }
};
const BarButtonRtlInstaller g_BarButtonRtlInstaller;

}  // namespace
