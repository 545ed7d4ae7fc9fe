#include "toolkit/dialogs/color_button.h"

#include "toolkit/menus/popup_color_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtColorButton, CExtButton)

CExtColorDialogServices g_ColorDialogServices = {};

CExtColorButton::CExtColorButton()
    : m_bShowDefaultColor(1), m_bShowCustomColor(1), m_bUseSystemColorDialog(0), m_bPreviewOnHover(1),
      m_clrDefault(COLORREF(-1L)), m_clrCurrent(RGB(0, 0, 0)), m_clrHover(COLORREF(-1L)), m_lParamCookie(0)
{
}

CExtColorButton::~CExtColorButton() {}

BEGIN_MESSAGE_MAP(CExtColorButton, CExtButton)
ON_REGISTERED_MESSAGE(CExtPopupColorMenuWnd::g_nMsgNotifyColorChanged, OnColorChanged)
ON_REGISTERED_MESSAGE(CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally, OnColorChangedFinally)
ON_REGISTERED_MESSAGE(CExtPopupColorMenuWnd::g_nMsgNotifyCustColor, OnCustomColor)
END_MESSAGE_MAP()

COLORREF CExtColorButton::GetShownColor() const
{
    return (m_bPreviewOnHover && m_clrHover != COLORREF(-1L)) ? m_clrHover : m_clrCurrent;
}

void CExtColorButton::SyncColorIcon(CExtCmdIcon& icon)
{
    icon.Empty();
    if (HICON hIcon = CExtPaintManager::CreateColorIcon(GetShownColor()))
        icon.AssignFromHICON(hIcon, false);
}

void CExtColorButton::RefreshNow()
{
    if (!IsAlive())
        return;
    Invalidate();
    UpdateWindow();
}

LRESULT CExtColorButton::SendToParent(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hWndParent = IsAlive() ? ::GetParent(m_hWnd) : NULL;
    return hWndParent != NULL ? ::SendMessage(hWndParent, nMsg, wParam, lParam) : 0;
}

// ---- click and menu --------------------------------------------------------------------

void CExtColorButton::OnButtonClick(bool bFromKeyboard, bool bOnDropDownPart)
{
    if (!IsAlive())
        return;
    if (((m_nState & STATE_SPLIT) == 0 || bOnDropDownPart) && OnTrackPopup(bFromKeyboard))
        return;
    // The main part of a split button re-sends the current colour as a choice.
    SendToParent(CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally, (WPARAM)m_clrCurrent, m_lParamCookie);
}

bool CExtColorButton::OnTrackPopup(bool bFromKeyboard)
{
    if (!IsAlive())
        return false;
    m_clrHover = COLORREF(-1L);
    UINT nAlign = 0, nDock = 0;
    bool bOnBar = false;
    const HWND hWndFrame = FindMenuReceiver(nAlign, nDock, bOnBar);
    CExtPopupColorMenuWnd* pPopup = new CExtPopupColorMenuWnd;
    pPopup->SetLeftAreaWidth(m_nMenuLeftAreaWidth);
    pPopup->m_lParamCookie = m_lParamCookie;
    // On a bar the notifications go to the frame; elsewhere they come to this button.
    const HWND hWndRecv = bOnBar ? hWndFrame : m_hWnd;
    if (!pPopup->CreatePopupMenu(hWndRecv))
    {
        delete pPopup;
        return true;
    }
    pPopup->m_nRowFlags = (BYTE)((m_bShowDefaultColor ? CExtPopupColorMenuWnd::ROW_DEFAULT_COLOR : 0) |
                                 (m_bShowCustomColor ? CExtPopupColorMenuWnd::ROW_CUSTOM_COLOR : 0));
    pPopup->m_clrDefault = m_clrDefault;
    pPopup->m_clrInitial = m_clrCurrent;
    if (!m_strDefaultColorText.IsEmpty())
        pPopup->m_sBtnTextColorDefault = m_strDefaultColorText;
    if (!m_strCustomColorText.IsEmpty())
        pPopup->m_sBtnTextColorCustom = m_strCustomColorText;
    CRect rcBtn;
    ::GetWindowRect(m_hWnd, &rcBtn);
    const int x = (rcBtn.left + rcBtn.right) / 2, y = (rcBtn.top + rcBtn.bottom) / 2;
    if (bOnBar)
    {
        g_PopupBarServices.CancelAllButtonMenuTracking();
        ::SetFocus(hWndFrame);
    }
    else
        ::SetFocus(m_hWnd);
    const HWND hWndSelf = m_hWnd;
    const UINT nFlags = nAlign | nDock | 0x20 | CExtPopupMenuWnd::TMF_SYNC | (bFromKeyboard ? 0x40 : 0);
    if (!pPopup->TrackPopupMenu(nFlags, x, y, &rcBtn, this, stat_PaintCombinedContent, NULL, true))
    {
        delete pPopup;
        return true;
    }
    // The menu ran to its end inside the call: no toolbar's button menu is tracking now,
    // so the bars must not be left believing one is.
    if (bOnBar)
        g_PopupBarServices.CancelAllButtonMenuTracking();
    if (::IsWindow(hWndSelf) && m_clrHover != COLORREF(-1L))
    {
        m_clrHover = COLORREF(-1L);
        Invalidate();
    }
    return true;
}

// ---- the colour menu's notifications ---------------------------------------------------

LRESULT CExtColorButton::OnColorChanged(WPARAM wParam, LPARAM lParam)
{
    if (m_bPreviewOnHover)
    {
        m_clrHover = (COLORREF)wParam;
        RefreshNow();
        if (CExtPopupMenuWnd* pMenu = CExtPopupMenuWnd::GetTrackingMenu())
        {
            if (pMenu->GetSafeHwnd() != NULL && ::IsWindow(pMenu->GetSafeHwnd()))
            {
                pMenu->Invalidate();
                pMenu->UpdateWindow();
            }
        }
    }
    return SendToParent(CExtPopupColorMenuWnd::g_nMsgNotifyColorChanged, wParam, lParam);
}

LRESULT CExtColorButton::OnColorChangedFinally(WPARAM wParam, LPARAM lParam)
{
    m_clrCurrent = ((COLORREF)wParam == COLORREF(-1L)) ? RGB(0, 0, 0) : (COLORREF)wParam;
    RefreshNow();
    return SendToParent(CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally, wParam, lParam);
}

bool CExtColorButton::RunColorDialog(COLORREF& clrChosen)
{
    if (!m_bUseSystemColorDialog && g_ColorDialogServices.pfnRunColorDialog != NULL)
        return g_ColorDialogServices.pfnRunColorDialog(m_clrCurrent, m_clrCurrent, this, clrChosen);
    CColorDialog dlg(m_clrCurrent, CC_FULLOPEN, this);
    if (dlg.DoModal() != IDOK)
        return false;
    clrChosen = dlg.GetColor();
    return true;
}

LRESULT CExtColorButton::OnCustomColor(WPARAM, LPARAM lParam)
{
    COLORREF clrChosen = m_clrCurrent;
    if (!RunColorDialog(clrChosen) || !IsAlive())
        return 0;
    m_clrCurrent = clrChosen;
    SendToParent(CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally, (WPARAM)clrChosen, lParam);
    RefreshNow();
    return 0;
}

// ---- painting --------------------------------------------------------------------------

void CExtColorButton::RenderButton(CDC& dc, bool bTransparentBackground, bool bRespectRtl)
{
    SyncColorIcon(m_icon);
    // While a menu tracks the button shows neither its focus rectangle nor its border; an
    // empty caption has no focus rectangle to show.
    const BYTE nSavedState = m_nState;
    const bool bMenuTracking = CExtPopupMenuWnd::IsMenuTracking() != FALSE;
    CString sText;
    if (bMenuTracking || GetButtonText(sText) == 0)
        m_nState &= ~STATE_FOCUS_RECT;
    if (bMenuTracking)
        m_nState &= ~STATE_DRAW_BORDER;
    // A colour button styled as a check box or radio button keeps the push look: the
    // check state changes neither its frame nor its pressed look.
    const int nSavedType = m_nButtonType;
    if (IsCheckType())
        m_nButtonType = BS_PUSHBUTTON;
    CExtButton::RenderButton(dc, bTransparentBackground, bRespectRtl);
    m_nButtonType = nSavedType;
    m_nState = (BYTE)((m_nState & ~(STATE_FOCUS_RECT | STATE_DRAW_BORDER)) |
                      (nSavedState & (STATE_FOCUS_RECT | STATE_DRAW_BORDER)));
}
