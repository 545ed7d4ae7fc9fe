#include "toolkit/dialogs/res_dlg.h"

IMPLEMENT_DYNAMIC(CExtResDlg, CDialog)

CExtResDlg::CExtResDlg() {}

CExtResDlg::CExtResDlg(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

CExtResDlg::CExtResDlg(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : CDialog(lpszTemplateName, pParentWnd)
{
}

CExtResDlg::~CExtResDlg() {}
