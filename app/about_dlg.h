// The About box: the application icon, the product name and version, the maker's notice
// and three links (the product page, a mail to support and the donation page), which
// open their addresses themselves.
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/group_box.h"
#include "toolkit/dialogs/hyperlink_button.h"
#include "toolkit/dialogs/label.h"
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

    CExtLabel m_wndIcon;
    CExtLabel m_wndTitle;
    CExtLabel m_wndNotice;
    CExtGroupBox m_wndLinksBox;
    CExtLabel m_wndWebLabel;
    CExtHyperLinkButton m_wndLinkWeb;
    CExtLabel m_wndSupportLabel;
    CExtHyperLinkButton m_wndLinkSupport;
    CExtHyperLinkButton m_wndLinkDonate;
    CExtButton m_wndOK;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
