// The list box inside a list-box popup menu. It never takes the focus: every mouse move,
// click, wheel turn and key reaches it from the menu's tracking as a retranslated input
// record.
#include <algorithm>

#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/pickers/popup_control_menu.h"

IMPLEMENT_DYNAMIC(CExtPopupInplaceListBox, CListBox)

const UINT CExtPopupInplaceListBox::g_nMsgPopupListBoxInitContent =
    ::RegisterWindowMessageA("CExtPopupInplaceListBox::g_nMsgPopupListBoxInitContent");
const UINT CExtPopupInplaceListBox::g_nMsgPopupListBoxItemMeasure =
    ::RegisterWindowMessageA("CExtPopupInplaceListBox::g_nMsgPopupListBoxItemMeasure");
const UINT CExtPopupInplaceListBox::g_nMsgPopupListBoxItemDraw =
    ::RegisterWindowMessageA("CExtPopupInplaceListBox::g_nMsgPopupListBoxItemDraw");
const UINT CExtPopupInplaceListBox::g_nMsgPopupListBoxSelEndOK =
    ::RegisterWindowMessageA("CExtPopupInplaceListBox::g_nMsgPopupListBoxSelEndOK");
const UINT CExtPopupInplaceListBox::g_nMsgPopupListBoxSelEndCancel =
    ::RegisterWindowMessageA("CExtPopupInplaceListBox::g_nMsgPopupListBoxSelEndCancel");
const UINT CExtPopupInplaceListBox::g_nMsgPopupListBoxSelChange =
    ::RegisterWindowMessageA("CExtPopupInplaceListBox::g_nMsgPopupListBoxSelChange");
bool CExtPopupInplaceListBox::g_bListBoxMouseWheel = true;

CExtPopupInplaceListBox::CExtPopupInplaceListBox()
    : m_pCbListBoxSelection(NULL), m_pSelectionCookie(NULL), m_pCbInitListBoxContent(NULL),
      m_pInitListBoxCookie(NULL), m_pCbListBoxItemDraw(NULL), m_pCbListBoxItemMeasure(NULL),
      m_pListBoxItemCookie(NULL), m_lParamCookie(0), m_nFlags(0), m_hWndCmdReceiver(NULL)
{
}

CExtPopupInplaceListBox::~CExtPopupInplaceListBox() {}

CExtPopupControlMenuWnd* CExtPopupInplaceListBox::GetPopupMenu() const
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL)
        return NULL;
    return DYNAMIC_DOWNCAST(CExtPopupControlMenuWnd, CWnd::FromHandlePermanent(::GetParent(hWnd)));
}

HWND CExtPopupInplaceListBox::GetCmdReceiver() const
{
    CExtPopupControlMenuWnd* pMenu = GetPopupMenu();
    HWND hWnd = pMenu != NULL ? pMenu->GetCmdReceiverHWND() : NULL;
    return hWnd != NULL ? hWnd : m_hWndCmdReceiver;
}

void CExtPopupInplaceListBox::SendListBoxMessage(UINT nMsg, LPARAM lParamItem)
{
    HWND hWndRecv = GetCmdReceiver();
    if (hWndRecv == NULL || !::IsWindow(hWndRecv))
        return;
    LB_NOTIFICATION data = {this, lParamItem};
    ::SendMessage(hWndRecv, nMsg, (WPARAM)&data, m_lParamCookie);
}

void CExtPopupInplaceListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
}

void CExtPopupInplaceListBox::OnCreated()
{
    CExtPopupControlMenuWnd* pMenu = GetPopupMenu();
    m_hWndCmdReceiver = pMenu != NULL ? pMenu->GetCmdReceiverHWND() : NULL;
    CExtPaintManager* pPM = pMenu != NULL ? pMenu->GetPaintManager() : g_CurrentPaintManager.GetPM();
    ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)pPM->m_FontNormal.GetSafeHandle(), FALSE);
    m_nFlags &= ~0x01;
    if (m_pCbInitListBoxContent == NULL || !m_pCbInitListBoxContent(*this, m_pInitListBoxCookie)) {
        HWND hWndRecv = GetCmdReceiver();
        if (hWndRecv != NULL && ::IsWindow(hWndRecv))
            ::SendMessage(hWndRecv, g_nMsgPopupListBoxInitContent, (WPARAM)this, m_lParamCookie);
    }
}

void CExtPopupInplaceListBox::OnListBoxSelChange()
{
    if (m_pCbListBoxSelection != NULL && m_pCbListBoxSelection(*this, m_pSelectionCookie, __SAT_SELCHANGE))
        return;
    CExtPopupControlMenuWnd* pMenu = GetPopupMenu();
    CExtPopupMenuWnd* pParentMenu = pMenu != NULL ? pMenu->GetParentMenu() : NULL;
    int nSel = GetCurSel();
    if (pParentMenu != NULL && (GetStyle() & LBS_HASSTRINGS) != 0 && nSel >= 0) {
        for (int i = 0; i < pParentMenu->ItemGetCount(); ++i)
            if (pParentMenu->ItemGetPopup(i) == pMenu) {
                CString s;
                GetText(nSel, s);
                pParentMenu->ItemSetText(i, s);
                pParentMenu->Invalidate();
                break;
            }
    }
    SendListBoxMessage(g_nMsgPopupListBoxSelChange, nSel);
}

void CExtPopupInplaceListBox::EndSelection(bool bAccept, bool bCloseMenu)
{
    if (m_nFlags & 0x01)
        return;
    m_nFlags |= 0x01;
    int eSAT = bAccept ? __SAT_SELENDOK : __SAT_SELENDCANCEL;
    if (m_pCbListBoxSelection != NULL && m_pCbListBoxSelection(*this, m_pSelectionCookie, eSAT))
        return;
    HWND hWndMenu = ::GetParent(m_hWnd);
    SendListBoxMessage(bAccept ? g_nMsgPopupListBoxSelEndOK : g_nMsgPopupListBoxSelEndCancel, GetCurSel());
    if (bCloseMenu && hWndMenu != NULL && ::IsWindow(hWndMenu))
        ::PostMessage(hWndMenu, WM_CANCELMODE, 0, 0);
}

void CExtPopupInplaceListBox::OnRetranslatedMouseMove(CPoint pt)
{
    int nCount = GetCount();
    if (nCount <= 0)
        return;
    BOOL bOutside = FALSE;
    int nItem = (int)ItemFromPoint(pt, bOutside);
    if (nItem < 0 || nItem >= nCount)
        return;
    if (bOutside) {
        if (::GetCapture() != m_hWnd)
            return;
        int nTop = GetTopIndex();
        if (nItem > nTop && nItem >= nCount - 2 && nItem + 1 < nCount)
            ++nItem;
        else if (nItem <= nTop && nTop > 0)
            nItem = nItem > 0 ? nItem - 1 : 0;
    }
    if (GetCurSel() != nItem) {
        SetCurSel(nItem);
        OnListBoxSelChange();
    }
}

void CExtPopupInplaceListBox::OnRetranslatedWheel(CExtPopupControlInputRecord& data)
{
    if (!g_bListBoxMouseWheel || (GetStyle() & WS_VSCROLL) == 0 || data.m_lParamHook == 0)
        return;
    // The wheel record is a MOUSEHOOKSTRUCTEX: mouseData follows the base record.
    const MOUSEHOOKSTRUCTEX* pHook = reinterpret_cast<const MOUSEHOOKSTRUCTEX*>(data.m_lParamHook);
    short nDelta = (short)HIWORD(pHook->mouseData);
    int nLines = g_CurrentPaintManager.GetWheelLinesPerNotch();
    if (nLines > 2)
        --nLines;
    int nTop = GetTopIndex();
    int nNew = nDelta > 0 ? nTop - nLines : nTop + nLines;
    nNew = std::max(0, std::min(nNew, GetCount() - 1));
    if (nNew == nTop)
        return;
    SetTopIndex(nNew);
    if (GetTopIndex() != nTop && data.m_pbNoEat != NULL)
        *data.m_pbNoEat = true;
}

void CExtPopupInplaceListBox::OnRetranslatedKey(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (::GetKeyState(VK_MENU) & 0x8000) {
        CancelSelection();
        return;
    }
    if ((::GetKeyState(VK_CONTROL) & 0x8000) || (::GetKeyState(VK_SHIFT) & 0x8000))
        return;
    switch (nChar) {
    case VK_ESCAPE:
        CancelSelection();
        return;
    case VK_RETURN:
        AcceptSelection();
        return;
    case VK_RIGHT:
        return;
    case VK_LEFT: {
        CExtPopupControlMenuWnd* pMenu = GetPopupMenu();
        if (pMenu != NULL && pMenu->GetParentMenu() != NULL) {
            bool bNoEat = false;
            pMenu->CExtPopupMenuWnd::OnKeyDown(VK_ESCAPE, nRepCnt, nFlags, bNoEat);
        }
        return;
    }
    default: {
        int nOld = GetCurSel();
        ::SendMessage(m_hWnd, WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
        if (::IsWindow(m_hWnd) && GetCurSel() != nOld)
            OnListBoxSelChange();
        return;
    }
    }
}

bool CExtPopupInplaceListBox::OnRetranslatedInput(CExtPopupControlInputRecord& data)
{
    switch (data.m_eKind) {
    case CExtPopupControlInputRecord::__EIK_MOUSE_MOVE:
    case CExtPopupControlInputRecord::__EIK_MOUSE_CLICK: {
        CPoint pt(data.m_nX, data.m_nY);
        if (data.m_pPopup != NULL)
            ::MapWindowPoints(data.m_pPopup->GetSafeHwnd(), m_hWnd, &pt, 1);
        if (data.m_eKind == CExtPopupControlInputRecord::__EIK_MOUSE_MOVE) {
            OnRetranslatedMouseMove(pt);
            return true;
        }
        if (data.m_nFlags == WM_LBUTTONDOWN) {
            ::SetCapture(m_hWnd);
            OnRetranslatedMouseMove(pt);
        } else if (data.m_nFlags == WM_LBUTTONUP) {
            if (::GetCapture() == m_hWnd)
                ::ReleaseCapture();
            BOOL bOutside = TRUE;
            int nItem = GetCount() > 0 ? (int)ItemFromPoint(pt, bOutside) : -1;
            CRect rcClient;
            GetClientRect(&rcClient);
            if (nItem >= 0 && !bOutside && rcClient.PtInRect(pt))
                AcceptSelection();
        }
        return true;
    }
    case CExtPopupControlInputRecord::__EIK_MOUSE_WHEEL:
        OnRetranslatedWheel(data);
        return true;
    case CExtPopupControlInputRecord::__EIK_KEY:
        OnRetranslatedKey(data.m_nChar, data.m_nRepCnt, data.m_nFlags);
        return true;
    default:
        return false;
    }
}

void CExtPopupInplaceListBox::PaintOwnerDrawn()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    CExtPopupControlMenuWnd* pMenu = GetPopupMenu();
    CExtPaintManager* pPM = pMenu != NULL ? pMenu->GetPaintManager() : g_CurrentPaintManager.GetPM();
    dc.FillSolidRect(&rcClient, pPM->LookupColor(COLOR_WINDOW, this));
    int nCount = GetCount(), nCurSel = GetCurSel();
    for (int i = GetTopIndex(); i >= 0 && i < nCount; ++i) {
        CRect rcItem;
        if (GetItemRect(i, &rcItem) == LB_ERR || rcItem.top >= rcClient.bottom)
            break;
        DRAWITEMSTRUCT dis;
        ::memset(&dis, 0, sizeof(dis));
        dis.CtlType = ODT_LISTBOX;
        dis.CtlID = GetDlgCtrlID();
        dis.itemID = i;
        dis.itemAction = ODA_DRAWENTIRE;
        if (GetSel(i) > 0)
            dis.itemState |= ODS_SELECTED;
        if (i == nCurSel)
            dis.itemState |= ODS_FOCUS;
        dis.hwndItem = m_hWnd;
        dis.hDC = dc.GetSafeHdc();
        dis.rcItem = rcItem;
        dis.itemData = GetItemData(i);
        ::SendMessage(m_hWnd, WM_DRAWITEM, dis.CtlID, (LPARAM)&dis);
    }
}

BOOL CExtPopupInplaceListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The list's owner (the menu) hands the draw and measure requests back to the list.
    if (message == WM_DRAWITEM || message == WM_MEASUREITEM) {
        LRESULT lr = WindowProc(message, wParam, lParam);
        if (pResult != NULL)
            *pResult = lr;
        return TRUE;
    }
    return CListBox::OnChildNotify(message, wParam, lParam, pResult);
}

void CExtPopupInplaceListBox::PostNcDestroy()
{
    delete this;
}

LRESULT CExtPopupInplaceListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_nMsgExtControlInputRetranslate) {
        CExtPopupControlInputRecord* pData = (CExtPopupControlInputRecord*)wParam;
        return (pData != NULL && OnRetranslatedInput(*pData)) ? 1 : 0;
    }
    switch (message) {
    case WM_CREATE: {
        LRESULT lr = CListBox::WindowProc(message, wParam, lParam);
        if (lr != -1)
            OnCreated();
        return lr;
    }
    case WM_PAINT:
        if (GetStyle() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) {
            PaintOwnerDrawn();
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        if (GetStyle() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))
            return TRUE;
        break;
    case WM_DRAWITEM: {
        LPDRAWITEMSTRUCT pDIS = (LPDRAWITEMSTRUCT)lParam;
        if (m_pCbListBoxItemDraw != NULL && m_pCbListBoxItemDraw(*this, m_pListBoxItemCookie, pDIS))
            return TRUE;
        SendListBoxMessage(g_nMsgPopupListBoxItemDraw, (LPARAM)pDIS);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        LPMEASUREITEMSTRUCT pMIS = (LPMEASUREITEMSTRUCT)lParam;
        if (m_pCbListBoxItemMeasure != NULL && m_pCbListBoxItemMeasure(*this, m_pListBoxItemCookie, pMIS))
            return TRUE;
        SendListBoxMessage(g_nMsgPopupListBoxItemMeasure, (LPARAM)pMIS);
        return TRUE;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return 0;
    case WM_CANCELMODE:
        CListBox::WindowProc(message, wParam, lParam);
        EndSelection(false, false);
        return 0;
    case WM_DESTROY:
        EndSelection(false, false);
        break;
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
