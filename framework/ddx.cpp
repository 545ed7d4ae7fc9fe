// Dialog data exchange.
#include "framework/ddx.h"
#include "framework/wnd.h"
#include "framework/app.h"
#include "framework/exceptions.h"
#include "framework/afxres.h"
#include <stdio.h>
#include <stdlib.h>
#include <errno.h>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate),
      m_pDlgWnd(pDlgWnd),
      m_hWndLastControl(NULL),
      m_bEditLastControl(FALSE),
      m_idLastControl(0) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == NULL) AfxThrowNotSupportedException();
    m_hWndLastControl = hWndCtrl;
    m_idLastControl = (UINT)nIDC;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    if (!m_bSaveAndValidate) {
        // Loading cannot fail the user; nothing to point at.
    } else if (m_hWndLastControl != NULL) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd == NULL) {
        HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
        if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowNotSupportedException();
    }
}

namespace {

void SetTextIfChanged(HWND hWnd, LPCTSTR lpszNew) {
    // Avoids flicker and needless change notifications.
    CString strOld;
    int nLen = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, strOld.GetBufferSetLength(nLen), nLen + 1);
    strOld.ReleaseBuffer();
    if (strOld != lpszNew) ::SetWindowTextA(hWnd, lpszNew);
}

CString GetText(HWND hWnd) {
    CString s;
    int nLen = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, s.GetBufferSetLength(nLen), nLen + 1);
    s.ReleaseBuffer();
    return s;
}

void FailWithPrompt(CDataExchange* pDX, UINT nIDPrompt, LPCTSTR lpszFallback) {
    CString strPrompt;
    if (!strPrompt.LoadString(nIDPrompt)) strPrompt = lpszFallback;
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

// Whole-text integer parse: blanks around the number are fine, anything else is not.
BOOL ParseLong(const CString& text, long long& value) {
    CString t(text);
    t.Trim();
    if (t.IsEmpty()) return FALSE;
    errno = 0;
    char* end = NULL;
    value = strtoll(t, &end, 10);
    return errno == 0 && end != NULL && *end == '\0';
}

}  // namespace

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetText(hWndCtrl);
    else
        SetTextIfChanged(hWndCtrl, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v;
        if (!ParseLong(GetText(hWndCtrl), v) || v < INT_MIN || v > INT_MAX)
            FailWithPrompt(pDX, AFX_IDP_PARSE_INT, "Please enter an integer.");
        value = (int)v;
    } else {
        CString s;
        s.Format("%d", value);
        SetTextIfChanged(hWndCtrl, s);
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v;
        if (!ParseLong(GetText(hWndCtrl), v) || v < 0 || v > (long long)UINT_MAX)
            FailWithPrompt(pDX, AFX_IDP_PARSE_UINT, "Please enter a positive integer.");
        value = (UINT)v;
    } else {
        CString s;
        s.Format("%u", value);
        SetTextIfChanged(hWndCtrl, s);
    }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = (int)::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0);
    } else {
        if (value < 0 || value > 2) value = 0;  // not a check state: unchecked
        ::SendMessageA(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
    }
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    // nIDC is the first button of a group; the group runs to the next WS_GROUP control.
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) value = -1;
    int iButton = 0;
    do {
        if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED) value = iButton;
            } else {
                ::SendMessageA(hWndCtrl, BM_SETCHECK, (iButton == value) ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            iButton++;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != NULL && !(::GetWindowLongA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
        CString prompt;
        prompt.Format("Please enter no more than %d characters.", nChars);
        AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
        pDX->Fail();
    } else if (pDX->m_hWndLastControl != NULL && pDX->m_bEditLastControl) {
        ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
    }
}
