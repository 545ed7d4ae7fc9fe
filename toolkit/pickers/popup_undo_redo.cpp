#include "toolkit/pickers/popup_undo_redo.h"

#include <algorithm>

#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/pickers/date_picker_header_popup.h"

namespace {
enum { TIMER_SCROLL_UP = 2, TIMER_SCROLL_DOWN = 3, CAPTION_HEIGHT = 24 };
}

// ---- list -----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CExtPopupUndoRedoListBox, CExtPopupInplaceListBox)

CExtPopupUndoRedoListBox::CExtPopupUndoRedoListBox()
    : m_nTimerFlags(0), m_nScrollUpPeriod(0), m_nScrollDownPeriod(0), m_nButtonFlags(0)
{
}

void CExtPopupUndoRedoListBox::SelectUpTo(int n)
{
    int nCount = GetCount();
    if (nCount <= 0)
        return;
    n = std::max(0, std::min(n, nCount - 1));
    ::SendMessage(m_hWnd, LB_SELITEMRANGEEX, nCount - 1, 0);
    if (n == 0)
        ::SendMessage(m_hWnd, LB_SETSEL, TRUE, 0);
    else
        ::SendMessage(m_hWnd, LB_SELITEMRANGEEX, 0, n);
    OnListBoxSelChange();
}

void CExtPopupUndoRedoListBox::OnListBoxSelChange()
{
    if (m_pCbListBoxSelection != NULL && m_pCbListBoxSelection(*this, m_pSelectionCookie, __SAT_SELCHANGE))
        return;
    CExtPopupUndoRedoMenuWnd* pMenu = DYNAMIC_DOWNCAST(CExtPopupUndoRedoMenuWnd, GetPopupMenu());
    if (pMenu != NULL)
        pMenu->SetSelCount(GetSelCount());
    SendListBoxMessage(g_nMsgPopupListBoxSelChange, GetCurSel());
}

int CExtPopupUndoRedoListBox::LastVisibleItem() const
{
    int nCount = GetCount();
    CRect rcClient;
    GetClientRect(&rcClient);
    for (int i = GetTopIndex(); i >= 0 && i < nCount; ++i) {
        CRect rc;
        if (GetItemRect(i, &rc) == LB_ERR)
            break;
        if (rc.bottom >= rcClient.bottom)
            return i;
    }
    return std::max(0, nCount - 1);
}

void CExtPopupUndoRedoListBox::StopTimers()
{
    if (m_nTimerFlags & 0x01)
        KillTimer(TIMER_SCROLL_UP);
    if (m_nTimerFlags & 0x02)
        KillTimer(TIMER_SCROLL_DOWN);
    m_nTimerFlags = 0;
}

void CExtPopupUndoRedoListBox::TrackScrollTimers(CPoint pt)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    if (pt.y >= rcClient.top && pt.y < rcClient.bottom) {
        StopTimers();
        return;
    }
    bool bUp = pt.y < rcClient.top;
    int nPeriod = CExtDatePickerHeaderPopupWnd::ScrollPeriod(bUp ? rcClient.top - pt.y : pt.y - rcClient.bottom);
    BYTE nBit = bUp ? 0x01 : 0x02;
    int& nStored = bUp ? m_nScrollUpPeriod : m_nScrollDownPeriod;
    if ((m_nTimerFlags & nBit) && nStored == nPeriod)
        return;
    StopTimers();
    SetTimer(bUp ? TIMER_SCROLL_UP : TIMER_SCROLL_DOWN, nPeriod, NULL);
    m_nTimerFlags = nBit;
    nStored = nPeriod;
}

void CExtPopupUndoRedoListBox::OnScrolled(int nCode, int nTopBefore)
{
    int nTop = GetTopIndex();
    bool bUp;
    if (nCode == SB_LINEUP || nCode == SB_PAGEUP || nCode == SB_TOP)
        bUp = true;
    else if (nCode == SB_LINEDOWN || nCode == SB_PAGEDOWN || nCode == SB_BOTTOM)
        bUp = false;
    else if (nTop != nTopBefore)
        bUp = nTop < nTopBefore;
    else
        return;
    SelectUpTo(bUp ? nTop : LastVisibleItem());
}

void CExtPopupUndoRedoListBox::OnUndoRedoKey(UINT nChar)
{
    int S = GetSelCount(), N = GetCount(), T = GetTopIndex(), V = LastVisibleItem();
    switch (nChar) {
    case VK_UP:
        if (S >= 2) {
            SelectUpTo(S - 2);
            if (S - 2 < T)
                SetTopIndex(S - 2);
        }
        break;
    case VK_DOWN:
        if (S < N) {
            SelectUpTo(S);
            if (S > V)
                SetTopIndex(T + (S - V));
        }
        break;
    case VK_HOME:
        SelectUpTo(0);
        SetTopIndex(0);
        break;
    case VK_END:
        if (S < N) {
            SelectUpTo(N - 1);
            SetTopIndex(N - 1);
        }
        break;
    case VK_PRIOR:
        if (S >= 2) {
            int nEnd = std::max(0, S - 1 - (V - T));
            SelectUpTo(nEnd);
            if (nEnd < T)
                SetTopIndex(nEnd);
        }
        break;
    case VK_NEXT:
        if (S < N) {
            int K = V - T + 1;
            int nEnd = std::min(N - 1, S - 2 + K);
            SelectUpTo(nEnd);
            if (nEnd > V)
                SetTopIndex(nEnd - K + 1);
        }
        break;
    default:
        break;
    }
}

bool CExtPopupUndoRedoListBox::OnRetranslatedInput(CExtPopupControlInputRecord& data)
{
    switch (data.m_eKind) {
    case CExtPopupControlInputRecord::__EIK_MOUSE_MOVE:
    case CExtPopupControlInputRecord::__EIK_MOUSE_CLICK: {
        CPoint pt(data.m_nX, data.m_nY);
        if (data.m_pPopup != NULL)
            ::MapWindowPoints(data.m_pPopup->GetSafeHwnd(), m_hWnd, &pt, 1);
        UINT nMsg = data.m_eKind == CExtPopupControlInputRecord::__EIK_MOUSE_MOVE ? WM_MOUSEMOVE : data.m_nFlags;
        if (nMsg == WM_MOUSEMOVE || nMsg == WM_LBUTTONDOWN || nMsg == WM_LBUTTONUP)
            WindowProc(nMsg, 0, MAKELPARAM(pt.x, pt.y));
        return true;
    }
    case CExtPopupControlInputRecord::__EIK_MOUSE_WHEEL: {
        int nTop = GetTopIndex();
        CExtPopupInplaceListBox::OnRetranslatedInput(data);
        OnScrolled(-1, nTop);
        return true;
    }
    case CExtPopupControlInputRecord::__EIK_KEY:
        switch (data.m_nChar) {
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
            OnUndoRedoKey(data.m_nChar);
            return true;
        default:
            return CExtPopupInplaceListBox::OnRetranslatedInput(data);
        }
    default:
        return false;
    }
}

LRESULT CExtPopupUndoRedoListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
        int nCount = GetCount();
        if (nCount > 0) {
            BOOL bOutside = TRUE;
            int n = (int)ItemFromPoint(pt, bOutside);
            CRect rcClient;
            GetClientRect(&rcClient);
            if (!bOutside && rcClient.PtInRect(pt) && n >= 0 && n < nCount && n + 1 != GetSelCount())
                SelectUpTo(n);
        }
        if (m_nButtonFlags & 0x01)
            TrackScrollTimers(pt);
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (GetCount() > 0) {
            ::SetCapture(m_hWnd);
            m_nButtonFlags |= 0x01;
        }
        return 0;
    case WM_LBUTTONUP: {
        StopTimers();
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        bool bAccept = GetCount() > 0 && (m_nButtonFlags & 0x01) != 0;
        m_nButtonFlags &= ~0x01;
        if (bAccept)
            AcceptSelection();
        return 0;
    }
    case WM_TIMER:
        if (wParam == TIMER_SCROLL_UP) {
            int nTop = GetTopIndex();
            if (nTop > 0) {
                SetTopIndex(nTop - 1);
                SelectUpTo(nTop - 1);
            }
            return 0;
        }
        if (wParam == TIMER_SCROLL_DOWN) {
            CRect rcClient;
            GetClientRect(&rcClient);
            int nCount = GetCount();
            for (int i = GetTopIndex(); i >= 0 && i < nCount; ++i) {
                CRect rc;
                if (GetItemRect(i, &rc) == LB_ERR)
                    break;
                if (rc.bottom > rcClient.bottom) {
                    if (i + 1 < nCount) {
                        SelectUpTo(i + 1);
                        SetTopIndex(GetTopIndex() + 1);
                    }
                    break;
                }
            }
            return 0;
        }
        break;
    case WM_CANCELMODE:
        StopTimers();
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        CancelSelection();
        return 0;
    case WM_DESTROY:
        StopTimers();
        EndSelection(false, false);
        break;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        CPaintDC dcPaint(this);
        CRect rcClient;
        GetClientRect(&rcClient);
        if (rcClient.IsRectEmpty())
            return 0;
        CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
        CExtPopupControlMenuWnd* pMenu = GetPopupMenu();
        CExtPaintManager* pPM = pMenu != NULL ? pMenu->GetPaintManager() : g_CurrentPaintManager.GetPM();
        dc.FillSolidRect(&rcClient, pPM->LookupColor(COLOR_WINDOW, this));
        CListBox::WindowProc(WM_PRINTCLIENT, (WPARAM)dc.GetSafeHdc(), PRF_CLIENT);
        return 0;
    }
    case WM_VSCROLL: {
        int nTop = GetTopIndex();
        SetRedraw(FALSE);
        LRESULT lr = CListBox::WindowProc(message, wParam, lParam);
        SetRedraw(TRUE);
        Invalidate();
        OnScrolled(LOWORD(wParam), nTop);
        return lr;
    }
    default:
        break;
    }
    return CExtPopupInplaceListBox::WindowProc(message, wParam, lParam);
}

// ---- menu -----------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CExtPopupUndoRedoMenuWnd, CExtPopupListBoxMenuWnd)

CExtPopupUndoRedoMenuWnd::CExtPopupUndoRedoMenuWnd(DWORD dwListBoxStyles, LPARAM lParamCookie)
    : CExtPopupListBoxMenuWnd(dwListBoxStyles, lParamCookie), m_pCbFormatCaption(NULL),
      m_pFormatCaptionCookie(NULL), m_nSelCount(0)
{
    ::SetRectEmpty(&m_rcCaption);
}

CExtPopupInplaceListBox* CExtPopupUndoRedoMenuWnd::OnNewListBox() { return new CExtPopupUndoRedoListBox; }

void CExtPopupUndoRedoMenuWnd::OnQueryChildControlRect(RECT* pRect)
{
    CExtPopupListBoxMenuWnd::OnQueryChildControlRect(pRect);
    if (pRect != NULL)
        ::OffsetRect(pRect, 1, 1);
}

CSize& CExtPopupUndoRedoMenuWnd::CalcMenuSize(CSize& sizeMenu)
{
    CExtPopupListBoxMenuWnd::CalcMenuSize(sizeMenu);
    sizeMenu.cx += 2;
    sizeMenu.cy += GetCaptionHeight() + 2;
    return sizeMenu;
}

void CExtPopupUndoRedoMenuWnd::RecalcServiceAreas()
{
    CExtPopupMenuWnd::RecalcServiceAreas();
    RECT rc;
    OnQueryChildControlRect(&rc);
    if (::EqualRect(&rc, &m_rcChildControl) && !::IsRectEmpty(&m_rcCaption))
        return;
    m_rcChildControl = rc;
    ::SetRect(&m_rcCaption, rc.left, rc.bottom, rc.right, rc.bottom + GetCaptionHeight());
    if (m_hWndChildControl != NULL && ::IsWindow(m_hWndChildControl)) {
        ::SetWindowPos(m_hWndChildControl, NULL, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        if (IsWindowVisible())
            Invalidate();
    }
}

HWND CExtPopupUndoRedoMenuWnd::OnCreateChildControl(const RECT& rc)
{
    ::SetRect(&m_rcCaption, rc.left, rc.bottom, rc.right, rc.bottom + GetCaptionHeight());
    HWND hWnd = CExtPopupListBoxMenuWnd::OnCreateChildControl(rc);
    if (hWnd != NULL)
        SetSelCount((int)::SendMessage(hWnd, LB_GETSELCOUNT, 0, 0));
    return hWnd;
}

CString CExtPopupUndoRedoMenuWnd::GetCaptionText()
{
    CString s;
    if (m_pCbFormatCaption != NULL && m_pCbFormatCaption(s, this, m_pFormatCaptionCookie))
        return s;
    s.Format(_T("Undo %d Actions"), m_nSelCount);
    return s;
}

void CExtPopupUndoRedoMenuWnd::DrawCaption(CDC& dc, const RECT& rcCaption)
{
    GetPaintManager()->DrawUndoRedoCaption(dc, rcCaption, GetCaptionText(), this);
}

void CExtPopupUndoRedoMenuWnd::OnPaintMenu(CDC& dc, bool bFull)
{
    CExtPopupListBoxMenuWnd::OnPaintMenu(dc, bFull);
    DrawCaption(dc, m_rcCaption);
}

void CExtPopupUndoRedoMenuWnd::SetSelCount(int nCount)
{
    m_nSelCount = nCount;
    if (GetSafeHwnd() == NULL || ::IsRectEmpty(&m_rcCaption))
        return;
    CClientDC dc(this);
    DrawCaption(dc, m_rcCaption);
}
