// The colour button of a toolbar: its icon follows the colour, its drop-down is the
// colour menu (which reports the user's choice to the command target itself), and its
// click reports the button's colour.
#include "toolkit/bars/bar_color_button.h"
#include "framework/afxres.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/menus/popup_color_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtBarColorButton, CExtBarButton)

CExtBarColorButton::CExtBarColorButton(CExtToolControlBar* pBar, UINT nCmdID, UINT nStyle, COLORREF clr,
                                       COLORREF clrDefault, LPARAM lParam, bool bShowDefaultColorButton,
                                       bool bShowCustomColorButton, LPCTSTR sDefaultColorBtnText,
                                       LPCTSTR sCustomColorBtnText, int nIconStyle)
    : CExtBarButton(pBar, nCmdID, nStyle), m_nIconStyle(nIconStyle), m_clr(clr), m_clrDefault(clrDefault),
      m_lParamCookie(lParam), m_nColorFlags(0),
      m_sBtnTextColorDefault(sDefaultColorBtnText != NULL ? sDefaultColorBtnText : _T("")),
      m_sBtnTextColorCustom(sCustomColorBtnText != NULL ? sCustomColorBtnText : _T(""))
{
    if (bShowDefaultColorButton)
        m_nColorFlags |= __ECBF_DEFAULT_BTN;
    if (bShowCustomColorButton)
        m_nColorFlags |= __ECBF_CUSTOM_BTN;
    OnSyncIcon();
}

CExtBarColorButton::~CExtBarColorButton() {}

// ---- stored values ----------------------------------------------------------------------

bool CExtBarColorButton::GetColorFlag(BYTE nBit, DWORD dwNodeFlag) const
{
    return GetMirroredFlag(m_nColorFlags, nBit, dwNodeFlag);
}

void CExtBarColorButton::SetColorFlag(BYTE nBit, DWORD dwNodeFlag, bool bOn)
{
    SetMirroredFlag(m_nColorFlags, nBit, dwNodeFlag, bOn);
}

COLORREF CExtBarColorButton::ColorGet(bool bButtonColor) const
{
    return bButtonColor ? m_clr : m_clrDefault;
}

void CExtBarColorButton::ColorSet(COLORREF clr, bool bDefaultColor)
{
    COLORREF& clrStored = bDefaultColor ? m_clrDefault : m_clr;
    if (clrStored == clr)
        return;
    clrStored = clr;
    OnSyncIcon();
}

LPARAM CExtBarColorButton::LParamGet() const
{
    if (m_pBasicNode != NULL)
        return (LPARAM)m_pBasicNode->GetLParam();
    return m_lParamCookie;
}

void CExtBarColorButton::LParamSet(LPARAM lParam)
{
    m_lParamCookie = lParam;
    if (m_pBasicNode != NULL)
        m_pBasicNode->SetLParam((DWORD)lParam);
}

bool CExtBarColorButton::IsDefaultColorBtnVisible() const
{
    return GetColorFlag(__ECBF_DEFAULT_BTN, __NODE_DEFAULT_BTN);
}

void CExtBarColorButton::SetDefaultColorBtnVisible(bool bVisible)
{
    SetColorFlag(__ECBF_DEFAULT_BTN, __NODE_DEFAULT_BTN, bVisible);
}

bool CExtBarColorButton::IsCustomColorBtnVisible() const
{
    return GetColorFlag(__ECBF_CUSTOM_BTN, __NODE_CUSTOM_BTN);
}

void CExtBarColorButton::SetCustomColorBtnVisible(bool bVisible)
{
    SetColorFlag(__ECBF_CUSTOM_BTN, __NODE_CUSTOM_BTN, bVisible);
}

LPCTSTR CExtBarColorButton::GetDefaultColorBtnText() const { return m_sBtnTextColorDefault; }

void CExtBarColorButton::SetDefaultColorBtnText(LPCTSTR sText)
{
    m_sBtnTextColorDefault = sText != NULL ? sText : _T("");
}

LPCTSTR CExtBarColorButton::GetCustomColorBtnText() const { return m_sBtnTextColorCustom; }

void CExtBarColorButton::SetCustomColorBtnText(LPCTSTR sText)
{
    m_sBtnTextColorCustom = sText != NULL ? sText : _T("");
}

// ---- the icon ---------------------------------------------------------------------------

void CExtBarColorButton::OnGenerateIcon(CExtCmdIcon& icon)
{
    icon.Empty();
    const COLORREF clr = ColorGet(true);
    HICON hIcon = NULL;
    switch (m_nIconStyle)
    {
    case __ICON_STYLE_FRAME:
        hIcon = CExtPaintManager::CreateColorFrameIcon(clr);
        break;
    case __ICON_STYLE_LETTER:
    {
        CExtPaintManager* pPM = m_pBar != NULL ? m_pBar->GetPaintManager() : g_CurrentPaintManager.GetPM();
        if (pPM == NULL)
            pPM = g_CurrentPaintManager.GetPM();
        LOGFONT lf;
        ::memset(&lf, 0, sizeof(lf));
        HGDIOBJ hFontSrc = pPM != NULL ? pPM->m_FontNormal.GetSafeHandle() : NULL;
        if (hFontSrc == NULL)
            hFontSrc = ::GetStockObject(DEFAULT_GUI_FONT);
        if (::GetObject(hFontSrc, sizeof(lf), &lf) == 0)
            break;
        ::lstrcpyn(lf.lfFaceName, _T("Times New Roman"), LF_FACESIZE);
        lf.lfHeight = ::MulDiv(lf.lfHeight, 3, 2);
        lf.lfWeight = 900;
        HFONT hFont = ::CreateFontIndirect(&lf);
        if (hFont == NULL)
            break;
        hIcon = CExtPaintManager::CreateTextColorIcon(clr, hFont, _T("A"));
        ::DeleteObject(hFont);
        break;
    }
    default:
        hIcon = CExtPaintManager::CreateColorIcon(clr);
        break;
    }
    if (hIcon != NULL)
        icon.AssignFromHICON(hIcon, false);
}

void CExtBarColorButton::OnSyncIcon()
{
    CExtCmdIcon icon;
    OnGenerateIcon(icon);
    LPCTSTR sProfile = ProfileName();
    if (sProfile == NULL)
        return;
    g_CommandManager->CmdSetIcon(sProfile, GetCmdID(true), icon);
}

// ---- overrides --------------------------------------------------------------------------

bool CExtBarColorButton::IsAbleToTrackMenu() const { return false; }

// A drop-down for every ordinary question, so the arrow is measured and painted.
bool CExtBarColorButton::HasPopup(bool bCustomizeMode) const { return !bCustomizeMode; }

int CExtBarColorButton::OnHelpHitTest(CPoint) { return (int)GetCmdID(true); }

bool CExtBarColorButton::CanStartCustomizeDrag() { return m_pBasicNode != NULL; }

int CExtBarColorButton::OnCustomizeCalcDropPos(CPoint point, bool)
{
    return CExtBarButton::OnCustomizeCalcDropPos(point, false);
}

void CExtBarColorButton::SetupColorMenu(CExtPopupColorMenuWnd* pPopup) const
{
    pPopup->m_lParamCookie = LParamGet();
    pPopup->m_nRowFlags = BYTE((IsDefaultColorBtnVisible() ? CExtPopupColorMenuWnd::ROW_DEFAULT_COLOR : 0) |
                               (IsCustomColorBtnVisible() ? CExtPopupColorMenuWnd::ROW_CUSTOM_COLOR : 0));
    pPopup->m_clrDefault = ColorGet(false);
    pPopup->m_clrInitial = ColorGet(true);
    const CString sDefault = GetDefaultColorBtnText();
    if (!sDefault.IsEmpty())
        pPopup->m_sBtnTextColorDefault = sDefault;
    const CString sCustom = GetCustomColorBtnText();
    if (!sCustom.IsEmpty())
        pPopup->m_sBtnTextColorCustom = sCustom;
    pPopup->m_pSourceNode = m_pBasicNode;
}

UINT CExtBarColorButton::OnTrackPopup(CPoint point, bool bSelectAny, bool bNoAnimation)
{
    CExtToolControlBar* pBar = GetBar();
    if (pBar == NULL || pBar->GetSafeHwnd() == NULL || pBar->IsCustomizeModeActive() || IsDisabled())
        return UINT(-1);
    if (CExtToolControlBar::g_bButtonMenuTracking && IsTracked())
        return UINT(-1);
    const bool bWasTracking = CExtToolControlBar::g_bButtonMenuTracking;
    CExtToolControlBar::CancelAllButtonMenuTracking();
    BringFloatingBarForward(pBar);
    CWnd* pTarget = GetCmdTargetWnd();
    CExtPopupColorMenuWnd* pPopup = new CExtPopupColorMenuWnd;
    if (!pPopup->CreatePopupMenu(pTarget->GetSafeHwnd()))
    {
        delete pPopup;
        CExtToolControlBar::g_bButtonMenuTracking = bWasTracking;
        return UINT(-1);
    }
    SetupColorMenu(pPopup);
    CExtToolControlBar::g_bButtonMenuTracking = bWasTracking;
    CRect rcButton;
    const UINT nMenuFlags =
        GetTrackPopupPlacement() | CExtPopupMenuWnd::TMF_COMBINE_BY_PM | CExtPopupMenuWnd::TMF_OWNER_DRAW;
    const UINT nFlags = PlacePopupOnScreen(pBar, GetRect(), point, rcButton, nMenuFlags, bSelectAny, bNoAnimation);
    // The menu tracks after this call returns, so it gets no result slot on this stack:
    // the colour menu reports the choice by its own messages.
    TrackButtonMenu(pBar, pPopup, nFlags, point, rcButton, false);
    return UINT(-1);
}

void CExtBarColorButton::OnDeliverCmd()
{
    CWnd* pTarget = GetCmdTargetWnd();
    if (pTarget == NULL || pTarget->GetSafeHwnd() == NULL)
        return;
    pTarget->SendMessage(CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally, (WPARAM)ColorGet(true),
                         LParamGet());
}

bool CExtBarColorButton::PutToPopupMenu(CExtPopupMenuWnd* pPopup)
{
    if (pPopup == NULL)
        return false;
    const bool bFromBar = (pPopup->GetTrackFlags() & CExtPopupMenuWnd::TMF_PALETTE) != 0;
    CFrameWnd* pDockSite = m_pBar != NULL ? m_pBar->m_pDockSite : NULL;
    CExtCustomizeCmdTreeNode* pParentNode = m_pBasicNode != NULL ? m_pBasicNode->GetParentNode() : NULL;
    // The dock-site branch builds the sub-menu from the node's place among its parent's
    // children; a button without a placed node takes the colour-menu branch instead.
    if (pDockSite != NULL && pParentNode != NULL)
    {
        const int nPos = pPopup->ItemGetCount();
        if (!pPopup->ItemInsert(GetCmdID(true)))
            return false;
        pPopup->ItemGetInfo(nPos).ConstructPopupFromNode(pDockSite->GetSafeHwnd(), m_pBasicNode,
                                                         pParentNode->GetOwnIndex(m_pBasicNode), pPopup);
        return true;
    }
    CString sText;
    CExtCmdItem* pItem = CmdItem();
    if (pItem != NULL)
        sText = pItem->m_sMenuText;
    CExtCmdIcon icon;
    CExtCmdIcon* pIcon = GetIconPtr();
    if (pIcon != NULL && !pIcon->IsEmpty())
        icon = *pIcon;
    CWnd* pTarget = GetCmdTargetWnd();
    CExtPopupColorMenuWnd* pColorMenu = new CExtPopupColorMenuWnd;
    SetupColorMenu(pColorMenu);
    pColorMenu->m_hWndNotification = pTarget->GetSafeHwnd();
    const int nPos = pPopup->ItemGetCount();
    if (!pPopup->ItemInsertSubMenu(pColorMenu, -1, sText, icon))
    {
        delete pColorMenu;
        return false;
    }
    if ((GetStyle() & TBBS_DISABLED) != 0)
    {
        // A sub-menu item without a command of its own counts as enabled unless it is
        // marked as never enabled.
        pPopup->ItemEnabledSet(nPos, false);
        pPopup->ItemGetInfo(nPos).m_nLayoutFlags |= CExtPopupMenuWnd::MENUITEMDATA::__MIF_NEVER_ENABLED;
    }
    if (bFromBar)
        pPopup->ItemFlagSet(nPos, true);
    return true;
}
