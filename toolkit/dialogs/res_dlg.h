// The dialog whose template and init data come through the resource manager. The
// dialogs subsystem completes the class.
#pragma once
#include "framework/framework.h"

class CExtResDlg : public CDialog
{
    DECLARE_DYNAMIC(CExtResDlg)
public:
    CExtResDlg();
    explicit CExtResDlg(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CExtResDlg(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual ~CExtResDlg();
};
