#include "framework/ctrl_common.h"
#include "framework/ctrl_basic.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CIPAddressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

/////////////////////////////////////////////////////////////////////////////
// CSpinButtonCtrl

CSpinButtonCtrl::~CSpinButtonCtrl() { AfxDestroyOwnedControl(this); }

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_UPDOWN_CLASS);
    return CWnd::Create(UPDOWN_CLASS, NULL, dwStyle, rect, pParentWnd, nID);
}

/////////////////////////////////////////////////////////////////////////////
// CSliderCtrl

CSliderCtrl::~CSliderCtrl() { AfxDestroyOwnedControl(this); }

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_BAR_CLASSES);
    return CWnd::Create(TRACKBAR_CLASS, NULL, dwStyle, rect, pParentWnd, nID);
}

void CSliderCtrl::VerifyPos() {
    int nMin = GetRangeMin(), nMax = GetRangeMax(), nPos = GetPos();
    if (nPos < nMin) SetPos(nMin);
    else if (nPos > nMax) SetPos(nMax);
}

CToolTipCtrl* CSliderCtrl::GetToolTips() const {
    return (CToolTipCtrl*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, TBM_GETTOOLTIPS, 0, 0));
}

void CSliderCtrl::SetToolTips(CToolTipCtrl* pWndTip) {
    ::SendMessage(m_hWnd, TBM_SETTOOLTIPS, (WPARAM)pWndTip->GetSafeHwnd(), 0);
}

/////////////////////////////////////////////////////////////////////////////
// CIPAddressCtrl

CIPAddressCtrl::~CIPAddressCtrl() { AfxDestroyOwnedControl(this); }

BOOL CIPAddressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_INTERNET_CLASSES);
    return CWnd::Create(WC_IPADDRESS, NULL, dwStyle, rect, pParentWnd, nID);
}

int CIPAddressCtrl::GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3) const {
    DWORD dwAddress = 0;
    int nFields = GetAddress(dwAddress);
    nField0 = (BYTE)FIRST_IPADDRESS(dwAddress);
    nField1 = (BYTE)SECOND_IPADDRESS(dwAddress);
    nField2 = (BYTE)THIRD_IPADDRESS(dwAddress);
    nField3 = (BYTE)FOURTH_IPADDRESS(dwAddress);
    return nFields;
}

/////////////////////////////////////////////////////////////////////////////
// CToolTipCtrl

CToolTipCtrl::~CToolTipCtrl() { AfxDestroyOwnedControl(this); }

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) { return CreateEx(pParentWnd, dwStyle, 0); }

BOOL CToolTipCtrl::CreateEx(CWnd* pParentWnd, DWORD dwStyle, DWORD dwStyleEx) {
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    if (!CWnd::CreateEx(dwStyleEx, TOOLTIPS_CLASS, NULL, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), NULL, NULL))
        return FALSE;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
    ::ZeroMemory(&ti, sizeof(ti));
    // The classic record size, which every version of the control accepts.
    ti.cbSize = AFX_OLDTOOLINFO_SIZE;
    HWND hWnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        // The whole window is the tool, known by its handle to its parent.
        ti.hwnd = ::GetParent(hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)hWnd;
    } else {
        ti.hwnd = hWnd;
        ti.uFlags = 0;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL) return FALSE;
    // A rectangle tool needs an id of its own; a window tool takes no rectangle.
    if ((lpRectTool != NULL) != (nIDTool != 0)) return FALSE;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool != NULL) ti.rect = *lpRectTool;
    ti.lpszText = (LPTSTR)lpszText;
    return (BOOL)::SendMessage(m_hWnd, TTM_ADDTOOL, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    CString str;
    str.LoadString(nIDText);
    return AddTool(pWnd, (LPCTSTR)str, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    if (pWnd == NULL) return;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ::SendMessage(m_hWnd, TTM_DELTOOL, 0, (LPARAM)&ti);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
    str.Empty();
    if (pWnd == NULL) return;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    // Older controls copy the whole text whatever the size passed: the buffer is far
    // larger than any tip the program shows.
    const int kMax = 1024;
    ti.lpszText = str.GetBuffer(kMax);
    ti.lpszText[0] = 0;
    ::SendMessage(m_hWnd, TTM_GETTEXT, kMax, (LPARAM)&ti);
    str.ReleaseBuffer();
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFO* pToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
    if (pToolInfo == NULL || pWnd == NULL) return FALSE;
    FillInToolInfo(*pToolInfo, pWnd, nIDTool);
    pToolInfo->lpszText = NULL;  // no buffer: only the tool's fields are wanted
    return (BOOL)::SendMessage(m_hWnd, TTM_GETTOOLINFO, 0, (LPARAM)pToolInfo);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
    if (pWnd == NULL || lpRect == NULL || nIDTool == 0) return;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    ::SendMessage(m_hWnd, TTM_NEWTOOLRECT, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const {
    if (pWnd == NULL || lpToolInfo == NULL) return FALSE;
    TTHITTESTINFO hti;
    ::ZeroMemory(&hti, sizeof(hti));
    hti.ti.cbSize = AFX_OLDTOOLINFO_SIZE;
    hti.hwnd = pWnd->GetSafeHwnd();
    hti.pt = pt;
    if (!::SendMessage(m_hWnd, TTM_HITTEST, 0, (LPARAM)&hti)) return FALSE;
    ::CopyMemory(lpToolInfo, &hti.ti, AFX_OLDTOOLINFO_SIZE);
    return TRUE;
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    if (pWnd == NULL) return;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = (LPTSTR)lpszText;
    ::SendMessage(m_hWnd, TTM_UPDATETIPTEXT, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool) {
    CString str;
    str.LoadString(nIDText);
    UpdateTipText((LPCTSTR)str, pWnd, nIDTool);
}

/////////////////////////////////////////////////////////////////////////////
// CProgressCtrl

CProgressCtrl::~CProgressCtrl() { AfxDestroyOwnedControl(this); }

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_PROGRESS_CLASS);
    return CWnd::Create(PROGRESS_CLASS, NULL, dwStyle, rect, pParentWnd, nID);
}
