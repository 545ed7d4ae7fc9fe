#include "app/dlg_group.h"
#include "app/unstorable_text.h"
#include "catalogue/groups.h"
#include "catalogue/program_entry.h"
#include "res/resource.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CDlgGroup, CExtResizableDialog)
END_MESSAGE_MAP()

CDlgGroup::CDlgGroup(CWnd* pParent, const ProgramEntry* pProgram)
    : CExtResizableDialog(IDD_ADD_TO_GROUP, pParent), m_pProgram(pProgram), m_pGroupAdded(NULL)
{
}

CDlgGroup::~CDlgGroup() {}

BOOL CDlgGroup::Create(CWnd* pParentWnd) { return CExtResizableDialog::Create(IDD_ADD_TO_GROUP, pParentWnd); }

void CDlgGroup::DoDataExchange(CDataExchange* pDX)
{
    CExtResizableDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_KEYWORD_LABEL, m_wndKeywordLabel);
    DDX_Control(pDX, IDC_KEYWORD, m_wndKeyword);
    DDX_Control(pDX, IDC_SELECT_GROUP_LABEL, m_wndGroupsLabel);
    DDX_Control(pDX, IDC_LIST, m_wndGroups);
    DDX_Control(pDX, IDOK, m_wndOK);
    DDX_Control(pDX, IDCANCEL, m_wndCancel);
    DDX_Text(pDX, IDC_KEYWORD, m_strKeyword);
}

BOOL CDlgGroup::OnInitDialog()
{
    CExtResizableDialog::OnInitDialog();
    ShowSizeGrip(false);
    m_wndKeyword.m_bHoverFrame = true;

    for (GroupEntry* pGroup : CGroupManager::GetInstance()->m_Groups) {
        if (pGroup == NULL || pGroup->BuiltIn == 1) continue;
        int nIndex = m_wndGroups.AddString(pGroup->Name.c_str());
        SmartListItem* pItem = m_wndGroups.GetItem(nIndex);
        if (pItem != NULL) pItem->pUserData = pGroup;
    }
    m_wndGroups.SetItemHeight(0, ::GetSystemMetrics(SM_CXSMICON) + 4);
    m_wndGroups.SetCurSel(0);

    if (m_pProgram != NULL) {
        m_strKeyword = m_pProgram->DisplayName.c_str();
        m_wndKeyword.SetWindowText(m_strKeyword);
    }
    return TRUE;
}

void CDlgGroup::OnOK()
{
    // The list is read before the dialog ends: a modeless dialog is only hidden, but
    // its controls are not to be relied on once it is over.
    int nSel = m_wndGroups.GetCurSel();
    SmartListItem* pItem = nSel >= 0 ? m_wndGroups.GetItem(nSel) : NULL;
    GroupEntry* pGroup = pItem != NULL ? (GroupEntry*)pItem->pUserData : NULL;
    if (!UpdateData(TRUE)) return;
    // A display name may hold what the groups file cannot (registry data can hold a
    // control character): added, it would make this save and every later one fail. Nor
    // may it hold a line break, which the group editor would split into two keywords. The
    // dialog stays up with the keyword and the character selected, for the user to mend.
    const std::string keyword = (LPCTSTR)m_strKeyword;
    const UnstorableText found = FindUnstorableKeyword(keyword);
    if (!found.fault.empty()) {
        RefuseUnstorableText(*this, IDC_KEYWORD, found.nChar,
                             UnstorableTextBox("Nothing is added to the group", KeywordLines(keyword), found,
                                               "click OK again"),
                             keyword, found.nChars);
        return;
    }
    EndDialog(IDOK);

    // The group may have gone since the list was filled; only a listed group takes it.
    std::vector<GroupEntry*>& groups = CGroupManager::GetInstance()->m_Groups;
    if (pGroup == NULL || std::find(groups.begin(), groups.end(), pGroup) == groups.end()) return;
    if (m_pProgram == NULL) return;
    // An empty keyword would be part of every name and pull every program in.
    if (m_strKeyword.IsEmpty()) return;
    pGroup->AddKeyword(m_strKeyword);
    m_pGroupAdded = pGroup;
}
