// The About box: the application icon, the product name and version, the maker's notice
// and three links (the product page, a mail to support and the donation page).
//
// The toolkit's hyperlink buttons, labels and group box are not available yet: the
// template's plain buttons stand in for the links, and the dialog opens their addresses
// itself when they are clicked.
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/resizable_dialog.h"

class CAboutDlg : public CExtResizableDialog
{
public:
    explicit CAboutDlg(CWnd* pParent = NULL);
    virtual ~CAboutDlg();

    BOOL Create(CWnd* pParentWnd);  // modeless, for embedding and tests

    static const char* const s_pszProductUrl;
    static const char* const s_pszSupportUrl;

    CFont m_fontTitle;     // product name and version
    CFont m_fontBoldLink;  // the donation link
    // The address behind each link, by control id order: web, support, donate.
    CString m_strLinkWeb, m_strLinkSupport, m_strLinkDonate;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnLinkWeb();
    afx_msg void OnLinkSupport();
    afx_msg void OnLinkDonate();
    virtual void OpenLink(const CString& strAddress);

    DECLARE_MESSAGE_MAP()
};
