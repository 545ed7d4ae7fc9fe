#include "app/page_uninstall_group_editor.h"
#include "app/groups_store.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "res/resource.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CPageUninstallGroupEditor, CCommandPage)
    ON_BN_CLICKED(IDC_GROUP_APPLY, &CPageUninstallGroupEditor::OnApply)
    ON_BN_CLICKED(IDCANCEL, &CPageUninstallGroupEditor::OnCancelButton)
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CPageUninstallGroupEditor::CPageUninstallGroupEditor() : CCommandPage(IDD_PAGE_GROUP_EDITOR), m_pGroup(NULL)
{
}

CPageUninstallGroupEditor::~CPageUninstallGroupEditor() {}

BOOL CPageUninstallGroupEditor::Create(CWnd* pParentWnd)
{
    return CExtResizableDialog::Create(IDD_PAGE_GROUP_EDITOR, pParentWnd);
}

void CPageUninstallGroupEditor::DoDataExchange(CDataExchange* pDX)
{
    CExtResizableDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GROUP_PROPERTY, m_wndPropertyBox);
    DDX_Control(pDX, IDC_GROUP_NAME_LABEL, m_wndNameLabel);
    DDX_Control(pDX, IDC_GROUP_NAME, m_wndName);
    DDX_Control(pDX, IDC_GROUP_KEYWORDS_LABEL, m_wndKeywordsLabel);
    DDX_Control(pDX, IDC_GROUP_KEYWORDS, m_wndKeywords);
    DDX_Control(pDX, IDC_GROUP_APPLY, m_wndApply);
    DDX_Control(pDX, IDCANCEL, m_wndCancel);
    DDX_Text(pDX, IDC_GROUP_NAME, m_strName);
    DDX_Text(pDX, IDC_GROUP_KEYWORDS, m_strKeywords);
}

BOOL CPageUninstallGroupEditor::OnInitDialog()
{
    CExtResizableDialog::OnInitDialog();
    ShowSizeGrip(false);
    m_wndPropertyBox.SetStyle(CExtGroupBox::STYLE_FLAT);
    m_wndName.m_bHoverFrame = true;
    m_wndKeywords.m_bHoverFrame = true;
    return TRUE;
}

void CPageUninstallGroupEditor::OnOK() {}

void CPageUninstallGroupEditor::OnCancel() {}

void CPageUninstallGroupEditor::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CExtResizableDialog::OnShowWindow(bShow, nStatus);
    // Every show or hide starts clean; an opening loads the group afterwards.
    m_pGroup = NULL;
    m_strName.Empty();
    m_strKeywords.Empty();
    UpdateData(FALSE);
}

void CPageUninstallGroupEditor::OpenGroup(int nGroupId)
{
    m_strKeywords.Empty();
    m_strName.Empty();
    m_pGroup = NULL;
    if (nGroupId != -1) m_pGroup = CGroupManager::GetInstance()->FindGroup(nGroupId);
    if (m_pGroup != NULL) {
        m_strName = m_pGroup->Name.c_str();
        for (const std::string& keyword : m_pGroup->Keywords) {
            m_strKeywords += keyword.c_str();
            m_strKeywords += "\r\n";
        }
    }
    UpdateData(FALSE);
}

void CPageUninstallGroupEditor::FocusName() { GotoDlgCtrl(&m_wndName); }

void CPageUninstallGroupEditor::ApplyGroup()
{
    UpdateData(TRUE);
    if (m_strName.IsEmpty()) return;
    CGroupManager* pGroups = CGroupManager::GetInstance();
    // A group deleted while it was open is gone: Apply makes a new one rather than
    // writing into the freed one.
    if (m_pGroup != NULL &&
        std::find(pGroups->m_Groups.begin(), pGroups->m_Groups.end(), m_pGroup) == pGroups->m_Groups.end())
        m_pGroup = NULL;
    if (m_pGroup == NULL) m_pGroup = pGroups->CreateGroup();

    m_pGroup->Keywords.clear();
    int nStart = 0;
    for (;;) {
        CString strToken = m_strKeywords.Tokenize("\r\n", nStart);
        if (nStart < 0) break;
        m_pGroup->AddKeyword(strToken);
    }
    m_pGroup->Name = (LPCTSTR)m_strName;

    SaveGroupsFile();
    // The applied group becomes the current one: the tree highlights it, bold, and the
    // list, back on screen, shows the programs its keywords now match.
    pGroups->m_pCurrentGroup = m_pGroup;
    CUiManager* pUi = CUiManager::GetInstance();
    pUi->RefreshGroups();
    pUi->CloseGroupEditor();
    pUi->RefreshPrograms(true);
}

void CPageUninstallGroupEditor::OnApply() { ApplyGroup(); }

void CPageUninstallGroupEditor::OnCancelButton() { CUiManager::GetInstance()->CloseGroupEditor(); }
