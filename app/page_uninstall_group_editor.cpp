#include "app/page_uninstall_group_editor.h"
#include "app/groups_store.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "app/unstorable_text.h"
#include "catalogue/groups.h"
#include "res/resource.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CPageUninstallGroupEditor, CCommandPage)
    ON_BN_CLICKED(IDC_GROUP_APPLY, &CPageUninstallGroupEditor::OnApply)
    ON_BN_CLICKED(IDCANCEL, &CPageUninstallGroupEditor::OnCancelButton)
    ON_EN_CHANGE(IDC_GROUP_NAME, &CPageUninstallGroupEditor::OnFieldChange)
    ON_EN_CHANGE(IDC_GROUP_KEYWORDS, &CPageUninstallGroupEditor::OnFieldChange)
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
    ShowOpened();
}

void CPageUninstallGroupEditor::ShowOpened()
{
    m_strOpenedName = m_strName;
    m_strOpenedKeywords = m_strKeywords;
    UpdateData(FALSE);
}

void CPageUninstallGroupEditor::OnFieldChange()
{
    if (m_wndName.GetSafeHwnd() == NULL || m_wndKeywords.GetSafeHwnd() == NULL) return;
    CString strName, strKeywords;
    m_wndName.GetWindowText(strName);
    m_wndKeywords.GetWindowText(strKeywords);
    CUiManager::GetInstance()->SetGroupEditorTyped(strName != m_strOpenedName || strKeywords != m_strOpenedKeywords);
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
    ShowOpened();
}

void CPageUninstallGroupEditor::FocusName() { GotoDlgCtrl(&m_wndName); }

namespace
{

// The characters of text before the byte at nByte (a double-byte character counts once).
int CharsBefore(const std::string& text, size_t nByte)
{
    int nChars = 0;
    for (const char *p = text.c_str(), *pEnd = text.c_str() + nByte; p < pEnd; p = ::CharNextA(p)) ++nChars;
    return nChars;
}

const char kNotApplied[] = "The group is not applied";
const char kApplyAgain[] = "apply again";

}  // namespace

CPageUninstallGroupEditor::Unstorable CPageUninstallGroupEditor::FindUnstorable(const CString& strName,
                                                                                const CString& strKeywords)
{
    Unstorable found;
    const UnstorableText name = FindUnstorableText((LPCTSTR)strName);
    if (!name.fault.empty()) {
        found.nField = IDC_GROUP_NAME;
        found.nChar = name.nChar;
        found.text = UnstorableTextBox(kNotApplied, "its name ", name, kApplyAgain);
        return found;
    }
    // Each line is a keyword (runs of line breaks separate them, as Apply splits them).
    const std::string keywords = (LPCTSTR)strKeywords;
    for (size_t nStart = 0; nStart < keywords.size();) {
        size_t nEnd = keywords.find_first_of("\r\n", nStart);
        if (nEnd == std::string::npos) nEnd = keywords.size();
        const std::string keyword = keywords.substr(nStart, nEnd - nStart);
        const UnstorableText line = FindUnstorableText(keyword);
        if (!line.fault.empty()) {
            found.keyword = keyword;
            found.nField = IDC_GROUP_KEYWORDS;
            found.nChar = line.nChar < 0 ? -1 : CharsBefore(keywords, nStart) + line.nChar;
            found.text = UnstorableTextBox(kNotApplied, KeywordLines(keyword), line, kApplyAgain);
            return found;
        }
        nStart = nEnd + 1;
    }
    return found;
}

bool CPageUninstallGroupEditor::ApplyGroup()
{
    UpdateData(TRUE);
    if (m_strName.IsEmpty()) return false;
    const Unstorable refused = FindUnstorable(m_strName, m_strKeywords);
    if (!refused.text.empty()) {
        // Nothing is stored or written; the typing stays for the user to mend, with the
        // character selected.
        RefuseUnstorableText(*this, refused.nField, refused.nChar, refused.text, refused.keyword);
        return false;
    }
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
    return true;
}

void CPageUninstallGroupEditor::OnApply() { ApplyGroup(); }

void CPageUninstallGroupEditor::OnCancelButton() { CUiManager::GetInstance()->CloseGroupEditor(); }
