#include "app/about_dlg.h"
#include "res/resource.h"
#include <shellapi.h>

const char* const CAboutDlg::s_pszProductUrl = "https://purgelet.nimbo.example/";
const char* const CAboutDlg::s_pszSupportUrl = "mailto:support@nimbo.example";

BEGIN_MESSAGE_MAP(CAboutDlg, CExtResizableDialog)
    ON_BN_CLICKED(IDC_LINK_WEB, &CAboutDlg::OnLinkWeb)
    ON_BN_CLICKED(IDC_LINK_SUPPORT, &CAboutDlg::OnLinkSupport)
    ON_BN_CLICKED(IDC_LINK_DONATE, &CAboutDlg::OnLinkDonate)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* pParent) : CExtResizableDialog(IDD_ABOUTBOX, pParent) {}

CAboutDlg::~CAboutDlg() {}

BOOL CAboutDlg::Create(CWnd* pParentWnd) { return CExtResizableDialog::Create(IDD_ABOUTBOX, pParentWnd); }

BOOL CAboutDlg::OnInitDialog()
{
    CExtResizableDialog::OnInitDialog();
    ShowSizeGrip(false);

    // The application icon, when the program carries one.
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (hIcon != NULL) SendDlgItemMessage(IDC_ABOUT_ICON, STM_SETICON, (WPARAM)hIcon, 0);

    LOGFONT lf = {};
    CFont* pDlgFont = GetFont();
    HFONT hDlgFont = pDlgFont != NULL ? (HFONT)pDlgFont->GetSafeHandle() : NULL;
    if (hDlgFont == NULL) hDlgFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    ::GetObjectA(hDlgFont, sizeof(lf), &lf);

    LOGFONT lfTitle = lf;
    lfTitle.lfHeight = lf.lfHeight < 1 ? lf.lfHeight - 4 : lf.lfHeight + 4;
    lfTitle.lfWeight = FW_BOLD;
    m_fontTitle.DeleteObject();
    if (m_fontTitle.CreateFontIndirect(&lfTitle)) GetDlgItem(IDC_ABOUT_TITLE)->SetFont(&m_fontTitle, TRUE);

    LOGFONT lfBold = lf;
    lfBold.lfWeight = FW_BOLD;
    m_fontBoldLink.DeleteObject();
    if (m_fontBoldLink.CreateFontIndirect(&lfBold)) GetDlgItem(IDC_LINK_DONATE)->SetFont(&m_fontBoldLink, TRUE);

    SetDlgItemText(IDC_LINK_WEB, "Learn more about Nimbo Purgelet");
    m_strLinkWeb = s_pszProductUrl;
    m_strLinkDonate = s_pszProductUrl;
    SetDlgItemText(IDC_LINK_SUPPORT, "Contact us if you have any questions");
    m_strLinkSupport = s_pszSupportUrl;

    GetDlgItem(IDOK)->SetFocus();
    return TRUE;
}

void CAboutDlg::OnLinkWeb() { OpenLink(m_strLinkWeb); }
void CAboutDlg::OnLinkSupport() { OpenLink(m_strLinkSupport); }
void CAboutDlg::OnLinkDonate() { OpenLink(m_strLinkDonate); }

void CAboutDlg::OpenLink(const CString& strAddress)
{
    if (strAddress.IsEmpty()) return;
    ::ShellExecuteA(m_hWnd, "open", strAddress, NULL, NULL, SW_SHOWNORMAL);
}
