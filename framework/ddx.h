// Dialog data exchange: CDataExchange and the DDX_ routines that move values between
// a dialog's controls and its members (UpdateData).
#pragma once
#include "framework/platform.h"
#include "framework/str.h"

class CWnd;

class CDataExchange {
public:
    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl;
    BOOL m_bEditLastControl;
    UINT m_idLastControl;

    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    HWND PrepareCtrl(int nIDC);      // the control's window; throws when it is missing
    HWND PrepareEditCtrl(int nIDC);  // the same, remembered as an edit for Fail()
    // Validation failed: focus the offending control and abandon the exchange.
    [[noreturn]] void Fail();
};

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
