#include "toolkit/dialogs/check_box.h"
#include "toolkit/theme/pm_check_radio.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtCheckBox, CExtButton)

CExtCheckBox::CExtCheckBox() {}

CExtCheckBox::~CExtCheckBox() {}

bool CExtCheckBox::OnCheckBoxPainted(CDC&, const RECT&, int) { return false; }

void CExtCheckBox::OnButtonClick(bool bFromKeyboard, bool bOnDropDownPart)
{
    if (!IsCheckType())
    {
        CExtButton::OnButtonClick(bFromKeyboard, bOnDropDownPart);
        return;
    }
    if (!IsAlive())
        return;
    int nCheck = (int)::SendMessage(m_hWnd, BM_GETCHECK, 0, 0);
    int nModulo = IsThreeStateType() ? 3 : 2;
    // a stored value outside the cycle starts it again from off
    if (nCheck < 0 || nCheck >= nModulo)
        nCheck = nModulo - 1;
    ::SendMessage(m_hWnd, BM_SETCHECK, (nCheck + 1) % nModulo, 0);
    if (!IsAlive())
        return;
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent != NULL)
    {
        ::SendMessage(hWndParent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), BN_CLICKED), (LPARAM)m_hWnd);
        if (IsAlive())
            ::InvalidateRect(m_hWnd, NULL, TRUE);
    }
}

int CExtCheckBox::GetBoxState()
{
    int nCheck = IsAlive() ? (int)::SendMessage(m_hWnd, BM_GETCHECK, 0, 0) : 0;
    if (nCheck < 0 || nCheck > 2)
        nCheck = 0;
    if (!IsButtonEnabled())
        return 9 + nCheck;
    bool bHover = (m_nState & STATE_HOVER) != 0 && !CExtPopupMenuWnd::IsMenuTracking();
    bool bPressing = (m_nState & STATE_PRESSING) != 0;
    bool bKey = (m_nState & STATE_KEY_PRESS) != 0;
    if (bHover)
        return (bPressing ? 3 : 6) + nCheck;
    if (bPressing)
        return (bKey ? 3 : 6) + nCheck;
    return (bKey ? 3 : 0) + nCheck;
}

void CExtCheckBox::RenderButton(CDC& dc, bool bTransparentBackground, bool bRespectRtl)
{
    if (!IsAlive())
        return;
    DWORD dwStyle = (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE);
    if ((dwStyle & BS_PUSHLIKE) != 0)
    {
        CExtButton::RenderButton(dc, bTransparentBackground, bRespectRtl);
        return;
    }
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL)
        return;
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    CString sText;
    GetButtonText(sText);
    bool bFocus = ::GetFocus() == m_hWnd && (m_nState & STATE_FOCUS_RECT) != 0;
    bool bPushed = (m_nState & STATE_PUSHED) != 0 || ::SendMessage(m_hWnd, BM_GETCHECK, 0, 0) != 0;
    bool bEnabled = IsButtonEnabled();
    bool bHover = (m_nState & STATE_HOVER) != 0 && !CExtPopupMenuWnd::IsMenuTracking();
    HWND hWndParent = ::GetParent(m_hWnd);
    CWnd* pParent = hWndParent != NULL ? CWnd::FromHandlePermanent(hWndParent) : NULL;
    if (pParent != NULL && pParent->IsKindOf(RUNTIME_CLASS(CControlBar)))
        bFocus = false;
    if (!bTransparentBackground)
    {
        bool bDone = false;
        if (pPM->UsesParentBackground(this) && m_clrBackground == COLORREF(-1L))
        {
            CExtPaintManager::ClipOutChildren(&dc, m_hWnd);
            if (pPM->DrawWindowBackground(true, dc, this))
                bTransparentBackground = bDone = true;
        }
        if (!bDone)
            dc.FillSolidRect(&rc, m_clrBackground != COLORREF(-1L) ? m_clrBackground : pPM->LookupColor(1000, this));
    }
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    ::GetObject(OnQueryFont(), sizeof(lf), &lf);
    if (m_nButtonType == BS_DEFPUSHBUTTON && lf.lfWeight <= FW_BOLD)
        lf.lfWeight = FW_BOLD;
    HFONT hFont = ::CreateFontIndirect(&lf);
    bool bLeftText = (dwStyle & BS_LEFTTEXT) != 0 ||
                     (::GetWindowLong(m_hWnd, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
    bool bMultiline = (dwStyle & BS_MULTILINE) != 0;
    DWORD nAlign = 0;
    if ((dwStyle & 0x300) == 0x200)
        nAlign = 2;
    else if ((dwStyle & 0x300) == 0x300)
        nAlign = 1;
    if ((dwStyle & 0xC00) == 0x800)
        nAlign |= 16;
    else if ((dwStyle & 0xC00) == 0x400)
        nAlign |= 4;
    else
        nAlign |= 8;
    int nBoxState = GetBoxState();
    CExtPaintManager::PAINTCHECKBOXDATA _pcbd(this, nBoxState, bLeftText, bMultiline, rc, sText, bHover,
                                              bPushed, bEnabled, bFocus, nAlign, hFont,
                                              bTransparentBackground);
    _pcbd.m_lParam = 0;
    _pcbd.m_clrForceTextDisabled = m_clrText1;
    _pcbd.m_clrForceTextNormal = m_clrText2;
    _pcbd.m_clrForceTextHover = m_clrText3;
    _pcbd.m_clrForceTextPressed = m_clrText4;
    _pcbd.m_clrForceBk = m_clrBackground;
    // The control is owner-drawn after the take-over, so the paint manager cannot learn
    // from its window style that it is a radio button: the round glyph is asked for here.
    if (IsRadioType())
        pPM->DrawRadioButton(dc, _pcbd);
    else
        pPM->DrawCheckBox(dc, _pcbd);
    OnCheckBoxPainted(dc, _pcbd.m_rcBox, _pcbd.m_eState);
    if (hFont != NULL)
        ::DeleteObject(hFont);
}
