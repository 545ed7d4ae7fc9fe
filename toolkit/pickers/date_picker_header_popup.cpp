#include <algorithm>

#include "toolkit/pickers/date_picker_header_popup.h"

#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/pickers/date_picker_wnd.h"

IMPLEMENT_DYNAMIC(CExtDatePickerHeaderPopupWnd, CWnd)

namespace {

enum { FLAG_TIMER_UP = 0x01, FLAG_TIMER_DOWN = 0x02, FLAG_SHADOW = 0x04 };
enum { TIMER_UP = 2, TIMER_DOWN = 3, SHADOW_SIZE = 3 };

}  // namespace

CExtDatePickerHeaderPopupWnd::CExtDatePickerHeaderPopupWnd(CExtDatePickerWnd* pPicker, bool bShadow)
    : m_nWindowWidth(0), m_nWindowHeight(0), m_nItemWidth(0), m_nItemHeight(0),
      m_nCentreMonth(1), m_nCentreYear(2000), m_nHoverMonth(0), m_nHoverYear(0), m_nItemCount(7),
      m_pPicker(pPicker), m_nFlags(bShadow ? FLAG_SHADOW : 0), m_nPeriodUp(0), m_nPeriodDown(0)
{
    RecalcSize();
}

void CExtDatePickerHeaderPopupWnd::RecalcSize()
{
    m_nItemWidth = m_nItemHeight = 0;
    if (m_pPicker != NULL && m_pPicker->GetSafeHwnd() != NULL) {
        CClientDC dc(m_pPicker);
        CFont* pOld = dc.SelectObject(m_pPicker->GetHeaderListFont());
        CString s;
        for (int m = 1; m <= 12; ++m) {
            m_pPicker->GetMonthName(s, m);
            s += _T(" 0000");
            CRect rc(0, 0, 0, 0);
            dc.DrawText(s, &rc, DT_CALCRECT | DT_SINGLELINE);
            m_nItemWidth = std::max(m_nItemWidth, rc.Width());
            m_nItemHeight = std::max(m_nItemHeight, rc.Height());
        }
        dc.SelectObject(pOld);
    }
    m_nItemHeight += 2;
    m_nItemWidth += 24;
    int s = (m_nFlags & FLAG_SHADOW) ? SHADOW_SIZE : 0;
    m_nWindowHeight = m_nItemCount * m_nItemHeight + 2 + s;
    m_nWindowWidth = m_nItemWidth + 1 + s;
}

void CExtDatePickerHeaderPopupWnd::GetWindowSize(CSize& sizeOut, bool bWithoutShadow) const
{
    sizeOut = CSize(m_nWindowWidth, m_nWindowHeight);
    if (bWithoutShadow && (m_nFlags & FLAG_SHADOW)) {
        sizeOut.cx -= SHADOW_SIZE;
        sizeOut.cy -= SHADOW_SIZE;
    }
}

void CExtDatePickerHeaderPopupWnd::SetMonthYear(int nMonth, int nYear)
{
    if (nMonth >= 1 && nMonth <= 12)
        m_nCentreMonth = nMonth;
    if (nYear >= 100 && nYear <= 9999)
        m_nCentreYear = nYear;
}

bool CExtDatePickerHeaderPopupWnd::GetSelectedMonthYear(int& nMonth, int& nYear) const
{
    if (m_nHoverMonth == 0)
        return false;
    nMonth = m_nHoverMonth;
    nYear = m_nHoverYear;
    return true;
}

int CExtDatePickerHeaderPopupWnd::HitTest(int x, int y) const
{
    for (int i = 0; i < m_nItemCount; ++i) {
        CRect rc(0, i * m_nItemHeight, m_nItemWidth, (i + 1) * m_nItemHeight);
        if (rc.PtInRect(CPoint(x, y)))
            return i;
    }
    return -1;
}

int CExtDatePickerHeaderPopupWnd::ScrollPeriod(int nDistance)
{
    switch (nDistance / 10) {
    case 0: return 500;
    case 1: return 300;
    case 2: return 200;
    case 3: return 100;
    default: return 50;
    }
}

bool CExtDatePickerHeaderPopupWnd::GetLineMonth(int nLine, int& nMonth, int& nYear) const
{
    nMonth = m_nCentreMonth;
    nYear = m_nCentreYear;
    CExtMonthGrid::AdvanceMonth(nMonth, nYear, nLine - m_nItemCount / 2);
    return nYear >= CExtMonthGrid::MIN_YEAR && nYear <= CExtMonthGrid::MAX_YEAR;
}

BOOL CExtDatePickerHeaderPopupWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.cx = m_nWindowWidth;
    cs.cy = m_nWindowHeight;
    return CWnd::PreCreateWindow(cs);
}

void CExtDatePickerHeaderPopupWnd::PostNcDestroy() { delete this; }

void CExtDatePickerHeaderPopupWnd::OnTrackMouse(CPoint ptScreen)
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL)
        return;
    CPoint pt = ptScreen;
    ::ScreenToClient(hWnd, &pt);
    if (pt.y >= 1 && pt.y < m_nWindowHeight) {
        if (m_nFlags & FLAG_TIMER_DOWN)
            KillTimer(TIMER_DOWN);
        if (m_nFlags & FLAG_TIMER_UP)
            KillTimer(TIMER_UP);
        m_nFlags &= ~(FLAG_TIMER_UP | FLAG_TIMER_DOWN);
    }
    m_nHoverMonth = m_nHoverYear = 0;
    CSize sizeList;
    GetWindowSize(sizeList, true);
    int nLine = HitTest(pt.x, pt.y);
    if (nLine < 0) {
        if (pt.y < 0) {
            int nPeriod = ScrollPeriod(-pt.y);
            if ((m_nFlags & FLAG_TIMER_UP) == 0 || m_nPeriodUp != nPeriod) {
                SetTimer(TIMER_UP, nPeriod, NULL);
                m_nFlags |= FLAG_TIMER_UP;
                m_nPeriodUp = nPeriod;
            }
        } else if (pt.y > sizeList.cy) {
            int nPeriod = ScrollPeriod(pt.y - sizeList.cy);
            if ((m_nFlags & FLAG_TIMER_DOWN) == 0 || m_nPeriodDown != nPeriod) {
                if (m_nFlags & FLAG_TIMER_UP) {
                    KillTimer(TIMER_UP);
                    m_nFlags &= ~FLAG_TIMER_UP;
                }
                SetTimer(TIMER_DOWN, nPeriod, NULL);
                m_nFlags |= FLAG_TIMER_DOWN;
                m_nPeriodDown = nPeriod;
            }
        }
    } else {
        int m = 0, y = 0;
        if (GetLineMonth(nLine, m, y)) {
            m_nHoverMonth = m;
            m_nHoverYear = y;
        }
    }
    Invalidate();
}

void CExtDatePickerHeaderPopupWnd::PaintList(CDC& dc, const CRect& rcClient)
{
    CExtPaintManager* pPM = m_pPicker->GetPaintManager();
    dc.FillSolidRect(&rcClient, pPM->LookupColor(COLOR_WINDOW, m_pPicker));
    int nOldBk = dc.SetBkMode(TRANSPARENT);
    COLORREF clrText = pPM->LookupColor(COLOR_BTNTEXT, m_pPicker);
    COLORREF clrOld = dc.SetTextColor(clrText);
    CFont* pOldFont = dc.SelectObject(m_pPicker->GetHeaderListFont());
    for (int i = 0; i < m_nItemCount; ++i) {
        int m = 0, y = 0;
        if (!GetLineMonth(i, m, y))
            continue;
        CRect rc(0, i * m_nItemHeight, m_nItemWidth, (i + 1) * m_nItemHeight);
        rc.OffsetRect(0, -1);
        bool bHover = m == m_nHoverMonth && y == m_nHoverYear;
        if (bHover)
            dc.FillSolidRect(&rc, RGB(0, 0, 0));
        dc.SetTextColor(bHover ? RGB(255, 255, 255) : clrText);
        CString sMonth, s;
        m_pPicker->GetMonthName(sMonth, m);
        s.Format(_T("%s %d"), (LPCTSTR)sMonth, y);
        dc.DrawText(s, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SelectObject(pOldFont);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldBk);
}

LRESULT CExtDatePickerHeaderPopupWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return (GetStyle() & WS_TABSTOP) ? MA_ACTIVATE : MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_NCCALCSIZE: {
        NCCALCSIZE_PARAMS* p = (NCCALCSIZE_PARAMS*)lParam;
        if (p != NULL) {
            int s = (m_nFlags & FLAG_SHADOW) ? SHADOW_SIZE : 0;
            p->rgrc[0].left += 1;
            p->rgrc[0].top += 1;
            p->rgrc[0].right -= 1 + s;
            p->rgrc[0].bottom -= 1 + s;
        }
        return 0;
    }
    case WM_NCPAINT: {
        CRect rcWnd, rcClient;
        GetWindowRect(&rcWnd);
        GetClientRect(&rcClient);
        ClientToScreen(&rcClient);
        if (rcWnd == rcClient)
            return 0;
        rcClient.OffsetRect(-rcWnd.TopLeft());
        rcWnd.OffsetRect(-rcWnd.TopLeft());
        CWindowDC dc(this);
        dc.ExcludeClipRect(&rcClient);
        CRect rcFrame(rcWnd);
        if (m_nFlags & FLAG_SHADOW) {
            rcFrame.right -= SHADOW_SIZE;
            rcFrame.bottom -= SHADOW_SIZE;
            CRect rcEmpty(0, 0, 0, 0);
            m_shadow.Paint(m_pPicker->GetPaintManager(), dc, rcFrame, rcEmpty, rcEmpty,
                           SHADOW_SIZE, 75, 100, false, false);
        }
        dc.FrameRect(&rcFrame, CBrush::FromHandle((HBRUSH)::GetStockObject(BLACK_BRUSH)));
        return 0;
    }
    case WM_PAINT: {
        CPaintDC dcPaint(this);
        CRect rcClient;
        GetClientRect(&rcClient);
        if (rcClient.IsRectEmpty())
            return 0;
        CExtMemoryDC dc(&dcPaint, &rcClient,
                        CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
        PaintList(dc, rcClient);
        return 0;
    }
    case WM_TIMER:
        if (wParam == TIMER_UP) {
            if (!(m_nCentreMonth == 1 && m_nCentreYear == CExtMonthGrid::MIN_YEAR))
                CExtMonthGrid::AdvanceMonth(m_nCentreMonth, m_nCentreYear, -1);
            Invalidate();
            return 0;
        }
        if (wParam == TIMER_DOWN) {
            if (!(m_nCentreMonth == 12 && m_nCentreYear == CExtMonthGrid::MAX_YEAR))
                CExtMonthGrid::AdvanceMonth(m_nCentreMonth, m_nCentreYear, 1);
            Invalidate();
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---- the picker's side: opening and the modal loop ------------------------------------------

namespace {

bool EndsHeaderLoop(const MSG& msg, HWND hWndPopup, bool& bAccepted)
{
    UINT m = msg.message;
    if (m == WM_LBUTTONUP) {
        bAccepted = true;
        return true;
    }
    if ((m >= WM_LBUTTONDOWN && m <= WM_MOUSELAST && m != WM_MOUSEMOVE) ||
        (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) || m == WM_CONTEXTMENU ||
        (m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == WM_SYSCOLORCHANGE ||
        m == WM_SETTINGCHANGE || m == WM_ACTIVATEAPP || m == WM_CANCELMODE)
        return true;
    if (m == WM_CAPTURECHANGED && msg.hwnd != hWndPopup)
        return true;
    return false;
}

// Whether a mouse message other than a move (a button or the wheel) waits in the queue.
bool IsButtonMessageQueued()
{
    MSG msg;
    return ::PeekMessage(&msg, NULL, WM_LBUTTONDOWN, WM_MOUSELAST, PM_NOREMOVE) != FALSE;
}

}  // namespace

void CExtDatePickerWnd::RunHeaderPopup(MONTH_INFO* pMonth)
{
    if (pMonth == NULL)
        return;
    int nPressedRow = pMonth->m_nRow, nPressedCol = pMonth->m_nCol;
    int nPressedMonth = pMonth->GetMonth(), nPressedYear = pMonth->GetYear();
    CExtDatePickerHeaderPopupWnd* pPopup = new CExtDatePickerHeaderPopupWnd(
        this, (m_dwDatePickerStyle & __EDPWS_SHOW_MONTH_LIST_SHADOW) != 0);
    CSize sizeFull, sizeList;
    pPopup->GetWindowSize(sizeFull, false);
    pPopup->GetWindowSize(sizeList, true);
    CRect rcCaption = pMonth->GetHeaderRect();
    ClientToScreen(&rcCaption);
    CPoint ptCentre = rcCaption.CenterPoint();
    LPCTSTR sClass = AfxRegisterWndClass(CS_SAVEBITS, NULL, NULL, NULL);
    if (!pPopup->CreateEx(WS_EX_TOPMOST | WS_EX_WINDOWEDGE, sClass, _T(""), WS_POPUP,
                          ptCentre.x - sizeList.cx / 2, ptCentre.y - sizeList.cy / 2, sizeFull.cx,
                          sizeFull.cy, GetSafeHwnd(), NULL)) {
        delete pPopup;
        return;
    }
    HWND hWndPopup = pPopup->GetSafeHwnd();
    pPopup->SetMonthYear(nPressedMonth, nPressedYear);
    ::SetWindowPos(hWndPopup, NULL, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::SetCapture(hWndPopup);
    bool bAccepted = false;
    HWND hWndParent = ::GetParent(GetSafeHwnd());
    bool bHostedInMenu = (GetStyle() & (WS_POPUP | WS_TABSTOP)) == 0 && (GetStyle() & WS_CHILD) &&
                         hWndParent != NULL && CWnd::FromHandlePermanent(hWndParent) != NULL &&
                         CWnd::FromHandlePermanent(hWndParent)->IsKindOf(RUNTIME_CLASS(CExtPopupMenuWnd));
    // The month is chosen where the hand released the button, the release's own point.
    CPoint ptRelease;
    while (::IsWindow(hWndPopup)) {
        MSG msg;
        if (::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (EndsHeaderLoop(msg, hWndPopup, bAccepted)) {
                ptRelease = msg.pt;
                break;
            }
            if (msg.message == WM_MOUSEMOVE)
                pPopup->OnTrackMouse(msg.pt);
        }
        if (::GetCapture() != hWndPopup)
            break;
        // The buttons as they are now end the loop only while no button message waits: a
        // release the hand made while this thread was busy is taken from the queue.
        if (!IsButtonMessageQueued() && ((::GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0 ||
                                         (::GetAsyncKeyState(VK_MBUTTON) & 0x8000) != 0 ||
                                         (::GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0))
            break;
        if (CExtPopupMenuWnd::IsMenuTracking() && !bHostedInMenu)
            break;
        if (::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (!::GetMessage(&msg, NULL, 0, 0)) {
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        } else
            ::WaitMessage();
    }
    if (!::IsWindow(hWndPopup))
        return;
    if (::GetCapture() == hWndPopup)
        ::ReleaseCapture();
    if (bAccepted) {
        pPopup->OnTrackMouse(ptRelease);
        int m = 0, y = 0;
        if (pPopup->GetSelectedMonthYear(m, y))
            ApplyHeaderChoice(nPressedRow, nPressedCol, m, y);
    }
    pPopup->DestroyWindow();
}

void CExtDatePickerWnd::ApplyHeaderChoice(int nRow, int nCol, int nMonth, int nYear)
{
    // The pane that was pressed shows the chosen month; the first pane lies as many
    // months before it as the pressed pane lies after the first.
    CExtMonthGrid::AdvanceMonth(nMonth, nYear, -(nRow * m_sizeCurrent.cx + nCol));
    if (nYear >= CExtMonthGrid::MIN_YEAR)
        SetCurrentDate(COleDateTime(nYear, nMonth, 1, 0, 0, 0), true);
}
