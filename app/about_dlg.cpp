#include "app/about_dlg.h"
#include "res/resource.h"

const char* const CAboutDlg::s_pszProductUrl = "https://purgelet.example/";
const char* const CAboutDlg::s_pszSupportUrl = "mailto:support@purgelet.example";

CAboutDlg::CAboutDlg(CWnd* pParent) : CExtResizableDialog(IDD_ABOUTBOX, pParent) {}

CAboutDlg::~CAboutDlg() {}

BOOL CAboutDlg::Create(CWnd* pParentWnd) { return CExtResizableDialog::Create(IDD_ABOUTBOX, pParentWnd); }

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CExtResizableDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_ICON, m_wndIcon);
    DDX_Control(pDX, IDC_ABOUT_TITLE, m_wndTitle);
    DDX_Control(pDX, IDC_ABOUT_NOTICE, m_wndNotice);
    DDX_Control(pDX, IDC_ABOUT_LINKS, m_wndLinksBox);
    DDX_Control(pDX, IDC_WEB_LABEL, m_wndWebLabel);
    DDX_Control(pDX, IDC_LINK_WEB, m_wndLinkWeb);
    DDX_Control(pDX, IDC_SUPPORT_LABEL, m_wndSupportLabel);
    DDX_Control(pDX, IDC_LINK_SUPPORT, m_wndLinkSupport);
    DDX_Control(pDX, IDC_LINK_DONATE, m_wndLinkDonate);
    DDX_Control(pDX, IDOK, m_wndOK);
}

BOOL CAboutDlg::OnInitDialog()
{
    CExtResizableDialog::OnInitDialog();
    ShowSizeGrip(false);

    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (hIcon != NULL) m_wndIcon.SetIcon(hIcon);

    LOGFONT lf = {};
    CFont* pDlgFont = GetFont();
    HFONT hDlgFont = pDlgFont != NULL ? (HFONT)pDlgFont->GetSafeHandle() : NULL;
    if (hDlgFont == NULL) hDlgFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    ::GetObjectA(hDlgFont, sizeof(lf), &lf);

    LOGFONT lfTitle = lf;
    lfTitle.lfHeight = lf.lfHeight < 1 ? lf.lfHeight - 4 : lf.lfHeight + 4;
    lfTitle.lfWeight = FW_BOLD;
    m_fontTitle.DeleteObject();
    if (m_fontTitle.CreateFontIndirect(&lfTitle)) m_wndTitle.SetFont(&m_fontTitle, TRUE);

    LOGFONT lfBold = lf;
    lfBold.lfWeight = FW_BOLD;
    m_fontBoldLink.DeleteObject();
    if (m_fontBoldLink.CreateFontIndirect(&lfBold)) m_wndLinkDonate.SetFont(&m_fontBoldLink, TRUE);

    m_wndLinksBox.SetStyle(CExtGroupBox::STYLE_FLAT);

    m_wndLinkWeb.SetWindowText("Learn more about Nimbo Purgelet");
    m_wndLinkWeb.m_strURL = s_pszProductUrl;
    m_wndLinkDonate.m_strURL = s_pszProductUrl;
    m_wndLinkSupport.SetWindowText("Contact us if you have any questions");
    m_wndLinkSupport.m_strURL = s_pszSupportUrl;
    for (CExtHyperLinkButton* pLink : {&m_wndLinkWeb, &m_wndLinkSupport, &m_wndLinkDonate})
        pLink->m_nLinkFlags = CExtHyperLinkButton::LINK_SHOW_VISITED;

    // The dialog puts the focus on OK itself, so it tells the framework not to.
    m_wndOK.SetFocus();
    return FALSE;
}
