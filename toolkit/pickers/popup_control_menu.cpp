#include "toolkit/pickers/popup_control_menu.h"

#include <algorithm>

#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/pickers/date_picker_header_popup.h"

const UINT& CExtPopupControlMenuWnd::g_nMsgControlInputRetranslate = g_nMsgExtControlInputRetranslate;

IMPLEMENT_DYNCREATE(CExtPopupControlMenuWnd, CExtPopupMenuWnd)

CExtPopupControlMenuWnd::CExtPopupControlMenuWnd() : m_dwControlMenuFlags(0x01), m_hWndChildControl(NULL)
{
    m_sizeChildControl.cx = 150;
    m_sizeChildControl.cy = 100;
    ::SetRectEmpty(&m_rcChildControl);
}

CExtPopupControlMenuWnd::~CExtPopupControlMenuWnd() {}

void CExtPopupControlMenuWnd::OnQueryChildControlRect(RECT* pRect)
{
    if (pRect == NULL)
        return;
    ::SetRect(pRect, 0, 0, m_sizeChildControl.cx, m_sizeChildControl.cy);
    CRect rcM;
    GetBorderMargins(rcM);
    int dy = rcM.top + (IsTearOffEnabled() ? GetTearOffCaptionHeight() : 0);
    ::OffsetRect(pRect, rcM.left + GetLeftAreaWidth(), dy);
}

HWND CExtPopupControlMenuWnd::OnCreateChildControl(const RECT&) { return NULL; }

bool CExtPopupControlMenuWnd::CreateMenuWindow(CWnd* pWndCmdReceiver)
{
    if (!CExtPopupMenuWnd::CreateMenuWindow(pWndCmdReceiver))
        return false;
    OnQueryChildControlRect(&m_rcChildControl);
    m_hWndChildControl = OnCreateChildControl(m_rcChildControl);
    return true;
}

CSize& CExtPopupControlMenuWnd::CalcMenuSize(CSize& sizeMenu)
{
    CRect rcM;
    GetBorderMargins(rcM);
    const int nExtra = GetShadowSize();
    sizeMenu.cx = m_sizeChildControl.cx + GetLeftAreaWidth() + rcM.left + rcM.right + nExtra;
    sizeMenu.cy = m_sizeChildControl.cy + rcM.top + rcM.bottom + nExtra;
    return sizeMenu;
}

void CExtPopupControlMenuWnd::RecalcServiceAreas()
{
    CExtPopupMenuWnd::RecalcServiceAreas();
    if (m_hWndChildControl == NULL || !::IsWindow(m_hWndChildControl))
        return;
    RECT rc;
    OnQueryChildControlRect(&rc);
    if (::EqualRect(&rc, &m_rcChildControl))
        return;
    m_rcChildControl = rc;
    ::SetWindowPos(m_hWndChildControl, NULL, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    if (IsWindowVisible())
        Invalidate();
}

int CExtPopupControlMenuWnd::HitTest(const POINT&, bool* pbInplaceEdit, bool* pbInplaceDropDown)
{
    if (pbInplaceEdit != NULL)
        *pbInplaceEdit = false;
    if (pbInplaceDropDown != NULL)
        *pbInplaceDropDown = false;
    return IDX_NOTHING;
}

LRESULT CExtPopupControlMenuWnd::RetranslateInput(INPUT_RETRANSLATE_DATA& data)
{
    if (m_hWndChildControl == NULL || !::IsWindow(m_hWndChildControl))
        return 0;
    return ::SendMessage(m_hWndChildControl, g_nMsgControlInputRetranslate, (WPARAM)&data, 0);
}

bool CExtPopupControlMenuWnd::IsInputForChild(CPoint ptClient) const
{
    if (m_hWndChildControl == NULL || !::IsWindow(m_hWndChildControl))
        return false;
    CPoint pt(ptClient);
    ::ClientToScreen(m_hWnd, &pt);
    HWND hWnds[3] = {::WindowFromPoint(pt), ::GetFocus(), ::GetCapture()};
    for (HWND h : hWnds)
        if (h != NULL && (h == m_hWndChildControl || ::IsChild(m_hWndChildControl, h)))
            return true;
    return false;
}

bool CExtPopupControlMenuWnd::OnMouseMoveTracked(UINT nMsg, CPoint ptClient, bool& bNoEat)
{
    if (GetTrackingSite().IsShutdownMode() || GetSafeHwnd() == NULL)
        return true;
    if (IsInputForChild(ptClient)) {
        bNoEat = true;
        return false;
    }
    if (IsClientPointOnWindow(ptClient)) {
        INPUT_RETRANSLATE_DATA data(this, &bNoEat, INPUT_RETRANSLATE_DATA::__EIK_MOUSE_MOVE);
        data.m_nFlags = nMsg;
        data.m_nX = ptClient.x;
        data.m_nY = ptClient.y;
        if (CExtPopupMenuWnd::HitTest(ptClient) == IDX_TEAROFF) {
            ::SetCursor(::LoadCursor(NULL, IDC_SIZEALL));
            if (g_bShowMenuTips) {
                CRect rcCaption(m_rcTearOff);
                ClientToScreen(&rcCaption);
                m_wndMenuTip.SetText(stat_GetTearOffCaptionTip());
                m_wndMenuTip.Show(this, rcCaption);
            }
            return true;
        }
        ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
        RetranslateInput(data);
        return true;
    }
    CExtPopupMenuWnd* pParent = GetParentMenu();
    if (pParent != NULL && pParent->GetSafeHwnd() != NULL) {
        CPoint pt(ptClient);
        ClientToScreen(&pt);
        pParent->ScreenToClient(&pt);
        return pParent->OnMouseMoveTracked(nMsg, pt, bNoEat);
    }
    return false;
}

bool CExtPopupControlMenuWnd::OnMouseClickTracked(UINT nMsg, CPoint ptClient, bool& bNoEat)
{
    if (GetTrackingSite().IsShutdownMode() || GetSafeHwnd() == NULL)
        return true;
    if (IsInputForChild(ptClient)) {
        bNoEat = true;
        return false;
    }
    bool bUp = nMsg == WM_LBUTTONUP || nMsg == WM_RBUTTONUP || nMsg == WM_MBUTTONUP ||
               nMsg == WM_NCLBUTTONUP || nMsg == WM_NCRBUTTONUP || nMsg == WM_NCMBUTTONUP;
    if (IsClientPointOnWindow(ptClient)) {
        if (CExtPopupMenuWnd::HitTest(ptClient) == IDX_TEAROFF) {
            if (!bUp)
                StartTearOff();
            return true;
        }
        INPUT_RETRANSLATE_DATA data(this, &bNoEat, INPUT_RETRANSLATE_DATA::__EIK_MOUSE_CLICK);
        data.m_nFlags = nMsg;
        data.m_nX = ptClient.x;
        data.m_nY = ptClient.y;
        RetranslateInput(data);
        return true;
    }
    CExtPopupMenuWnd* pParent = GetParentMenu();
    if (pParent != NULL && pParent->GetSafeHwnd() != NULL) {
        CPoint pt(ptClient);
        ClientToScreen(&pt);
        pParent->ScreenToClient(&pt);
        return pParent->OnMouseClickTracked(nMsg, pt, bNoEat);
    }
    if (bUp)
        return true;
    CancelMenuTracking();
    return true;
}

bool CExtPopupControlMenuWnd::OnMouseWheelTracked(UINT nMsg, MOUSEHOOKSTRUCT* pData, bool& bNoEat)
{
    if (GetTrackingSite().IsShutdownMode() || GetSafeHwnd() == NULL)
        return true;
    INPUT_RETRANSLATE_DATA data(this, &bNoEat, INPUT_RETRANSLATE_DATA::__EIK_MOUSE_WHEEL);
    data.m_wParamHook = nMsg;
    data.m_lParamHook = (LPARAM)pData;
    RetranslateInput(data);
    // A control that sets the pass-through flag lets the wheel go on to its target.
    return !bNoEat;
}

bool CExtPopupControlMenuWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags, bool& bNoEat)
{
    if (GetTrackingSite().IsShutdownMode() || GetSafeHwnd() == NULL)
        return true;
    if (nChar == VK_ESCAPE && (m_dwControlMenuFlags & 0x01) != 0)
        return CExtPopupMenuWnd::OnKeyDown(nChar, nRepCnt, nFlags, bNoEat);
    INPUT_RETRANSLATE_DATA data(this, &bNoEat, INPUT_RETRANSLATE_DATA::__EIK_KEY);
    data.m_nFlags = nFlags;
    data.m_nChar = nChar;
    data.m_nRepCnt = nRepCnt;
    RetranslateInput(data);
    return true;
}

LRESULT CExtPopupControlMenuWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE || message == WM_DESTROY) {
        LRESULT lr = CExtPopupMenuWnd::WindowProc(message, wParam, lParam);
        m_hWndChildControl = NULL;
        return lr;
    }
    return CExtPopupMenuWnd::WindowProc(message, wParam, lParam);
}

// ---- list box menu --------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CExtPopupListBoxMenuWnd, CExtPopupControlMenuWnd)

CExtPopupListBoxMenuWnd::CExtPopupListBoxMenuWnd(DWORD dwListBoxStyles, LPARAM lParamCookie)
    : m_lParamCookie(lParamCookie), m_dwListBoxStyles(dwListBoxStyles), m_pCbListBoxSelection(NULL),
      m_pSelectionCookie(NULL), m_pCbInitListBoxContent(NULL), m_pInitListBoxCookie(NULL),
      m_pCbListBoxItemDraw(NULL), m_pCbListBoxItemMeasure(NULL), m_pListBoxItemCookie(NULL)
{
}

CExtPopupInplaceListBox* CExtPopupListBoxMenuWnd::OnNewListBox() { return new CExtPopupInplaceListBox; }

HWND CExtPopupListBoxMenuWnd::OnCreateChildControl(const RECT& rc)
{
    CExtPopupInplaceListBox* pList = OnNewListBox();
    pList->m_pCbListBoxSelection = m_pCbListBoxSelection;
    pList->m_pSelectionCookie = m_pSelectionCookie;
    pList->m_pCbInitListBoxContent = m_pCbInitListBoxContent;
    pList->m_pInitListBoxCookie = m_pInitListBoxCookie;
    pList->m_pCbListBoxItemDraw = m_pCbListBoxItemDraw;
    pList->m_pCbListBoxItemMeasure = m_pCbListBoxItemMeasure;
    pList->m_pListBoxItemCookie = m_pListBoxItemCookie;
    pList->m_lParamCookie = m_lParamCookie;
    if (!pList->CreateEx(IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0, _T("LISTBOX"), NULL, m_dwListBoxStyles,
                         rc, this, 1)) {
        delete pList;
        return NULL;
    }
    return pList->GetSafeHwnd();
}

bool CExtPopupListBoxMenuWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags, bool& bNoEat)
{
    if (nChar == VK_F4) {
        CancelMenuTracking();
        return true;
    }
    return CExtPopupControlMenuWnd::OnKeyDown(nChar, nRepCnt, nFlags, bNoEat);
}

// ---- date picker menu -----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CExtPopupInplaceDatePicker, CExtDatePickerWnd)

const UINT CExtPopupInplaceDatePicker::g_nMsgPopupDatePickerInitContent =
    ::RegisterWindowMessageA("CExtPopupInplaceDatePicker::g_nMsgPopupDatePickerInitContent");

CExtPopupInplaceDatePicker::CExtPopupInplaceDatePicker()
    : m_pCbDatePickerSelection(NULL), m_pDatePickerSelectionCookie(NULL),
      m_pCbDatePickerInitContent(NULL), m_pDatePickerInitCookie(NULL)
{
    m_bAutoDeleteWindow = true;
}

LRESULT CExtPopupInplaceDatePicker::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    if (message == WM_CREATE) {
        LRESULT lr = CExtDatePickerWnd::WindowProc(message, wParam, lParam);
        if (lr == -1)
            return lr;
        ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)GetPaintManager()->m_FontNormal.GetSafeHandle(), 0);
        if (m_pCbDatePickerInitContent == NULL || !m_pCbDatePickerInitContent(*this, m_pDatePickerInitCookie)) {
            CExtPopupMenuWnd* pMenu = DYNAMIC_DOWNCAST(CExtPopupMenuWnd, GetParent());
            HWND hWndRecv = pMenu != NULL ? pMenu->GetCmdReceiverHWND() : NULL;
            if (hWndRecv != NULL && ::IsWindow(hWndRecv))
                ::SendMessage(hWndRecv, g_nMsgPopupDatePickerInitContent, (WPARAM)this, m_lParamCookie);
        }
        return lr;
    }
    return CExtDatePickerWnd::WindowProc(message, wParam, lParam);
}

IMPLEMENT_DYNCREATE(CExtPopupDatePickerMenuWnd, CExtPopupControlMenuWnd)

CExtPopupDatePickerMenuWnd::CExtPopupDatePickerMenuWnd(LPARAM lParamCookie, int nMonthsHorz, int nMonthsVert,
                                                       DWORD dwDatePickerWindowStyle, DWORD dwDatePickerStyle)
    : m_lParamCookie(lParamCookie), m_sizeCalendarDimensions(std::max(nMonthsHorz, 1), std::max(nMonthsVert, 1)),
      m_dwDatePickerWindowStyle(dwDatePickerWindowStyle), m_dwDatePickerStyle(dwDatePickerStyle),
      m_pCbDatePickerSelection(NULL), m_pDatePickerSelectionCookie(NULL), m_pCbDatePickerInitContent(NULL),
      m_pDatePickerInitCookie(NULL)
{
    CExtDatePickerWnd wndMeasure;
    wndMeasure.ModifyStyle(0xFFFFFFFF, m_dwDatePickerStyle, false);
    CSize s = wndMeasure.CalcSize(m_sizeCalendarDimensions);
    m_sizeChildControl.cx = s.cx;
    m_sizeChildControl.cy = s.cy;
}

void CExtPopupDatePickerMenuWnd::GetBorderMargins(RECT& rcMargins) { ::SetRectEmpty(&rcMargins); }

HWND CExtPopupDatePickerMenuWnd::OnCreateChildControl(const RECT& rc)
{
    CExtPopupInplaceDatePicker* pPicker = new CExtPopupInplaceDatePicker;
    pPicker->m_pCbDatePickerSelection = m_pCbDatePickerSelection;
    pPicker->m_pDatePickerSelectionCookie = m_pDatePickerSelectionCookie;
    pPicker->m_pCbDatePickerInitContent = m_pCbDatePickerInitContent;
    pPicker->m_pDatePickerInitCookie = m_pDatePickerInitCookie;
    pPicker->m_lParamCookie = m_lParamCookie;
    if (!pPicker->Create(this, rc, 1, m_sizeCalendarDimensions.cx, m_sizeCalendarDimensions.cy,
                         m_sizeCalendarDimensions.cx, m_sizeCalendarDimensions.cy, m_dwDatePickerWindowStyle,
                         m_dwDatePickerStyle)) {
        delete pPicker;
        return NULL;
    }
    if (IsLayoutRTL())
        pPicker->ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    return pPicker->GetSafeHwnd();
}

bool CExtPopupDatePickerMenuWnd::IsOverHeaderPopup(CPoint ptClient) const
{
    // The point the message was made at: a click the hand made on the header's popup
    // belongs to it wherever the pointer is by the time it is taken.
    ::ClientToScreen(m_hWnd, &ptClient);
    HWND hWnds[2] = {::WindowFromPoint(ptClient), ::GetCapture()};
    for (HWND h : hWnds) {
        CWnd* p = h != NULL ? CWnd::FromHandlePermanent(h) : NULL;
        if (p != NULL && p->IsKindOf(RUNTIME_CLASS(CExtDatePickerHeaderPopupWnd)))
            return true;
    }
    return false;
}

bool CExtPopupDatePickerMenuWnd::OnMouseWheelTracked(UINT, MOUSEHOOKSTRUCT*, bool&) { return true; }

bool CExtPopupDatePickerMenuWnd::OnMouseMoveTracked(UINT nMsg, CPoint ptClient, bool& bNoEat)
{
    if (IsOverHeaderPopup(ptClient)) {
        bNoEat = true;
        return false;
    }
    return CExtPopupControlMenuWnd::OnMouseMoveTracked(nMsg, ptClient, bNoEat);
}

bool CExtPopupDatePickerMenuWnd::OnMouseClickTracked(UINT nMsg, CPoint ptClient, bool& bNoEat)
{
    if (IsOverHeaderPopup(ptClient)) {
        bNoEat = true;
        return false;
    }
    return CExtPopupControlMenuWnd::OnMouseClickTracked(nMsg, ptClient, bNoEat);
}

LRESULT CExtPopupDatePickerMenuWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CExtDatePickerWnd::g_nMsgSelectionNotification) {
        if (m_pCbDatePickerSelection != NULL &&
            m_pCbDatePickerSelection((LPVOID)wParam, m_pDatePickerSelectionCookie))
            return 1;
        HWND hWndRecv = GetCmdReceiverHWND();
        if (hWndRecv != NULL && ::IsWindow(hWndRecv))
            ::SendMessage(hWndRecv, message, wParam, lParam);
        return 0;
    }
    return CExtPopupControlMenuWnd::WindowProc(message, wParam, lParam);
}
