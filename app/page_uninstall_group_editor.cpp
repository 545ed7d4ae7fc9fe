#include "app/page_uninstall_group_editor.h"
#include "app/box_name_line.h"
#include "app/groups_kept.h"
#include "app/groups_store.h"
#include "app/input_rule.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "app/unstorable_text.h"
#include "catalogue/groups.h"
#include "res/resource.h"
#include <algorithm>
#include <climits>
#include <vector>

BEGIN_MESSAGE_MAP(CPageUninstallGroupEditor, CCommandPage)
    ON_BN_CLICKED(IDC_GROUP_APPLY, &CPageUninstallGroupEditor::OnApply)
    ON_BN_CLICKED(IDCANCEL, &CPageUninstallGroupEditor::OnCancelButton)
    ON_EN_CHANGE(IDC_GROUP_NAME, &CPageUninstallGroupEditor::OnFieldChange)
    ON_EN_CHANGE(IDC_GROUP_KEYWORDS, &CPageUninstallGroupEditor::OnFieldChange)
    ON_WM_SHOWWINDOW()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CPageUninstallGroupEditor::CPageUninstallGroupEditor() : CCommandPage(IDD_PAGE_GROUP_EDITOR), m_pGroup(NULL), m_nGroupSerial(0)
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
    Clear();
}

void CPageUninstallGroupEditor::Clear()
{
    m_pGroup = NULL;
    m_nGroupSerial = 0;
    m_strName.Empty();
    m_strKeywords.Empty();
    ShowOpened();
}

void CPageUninstallGroupEditor::ShowOpened()
{
    m_strOpenedName = m_strName;
    m_strOpenedKeywords = m_strKeywords;
    UpdateData(FALSE);
    // A multi-line edit given its text tells nothing of the change.
    m_bTyped = false;
}

void CPageUninstallGroupEditor::OnFieldChange() { NoteTyping(); }

void CPageUninstallGroupEditor::NoteTyping()
{
    if (m_wndName.GetSafeHwnd() == NULL || m_wndKeywords.GetSafeHwnd() == NULL) return;
    CString strName, strKeywords;
    m_wndName.GetWindowText(strName);
    m_wndKeywords.GetWindowText(strKeywords);
    m_bTyped = strName != m_strOpenedName || strKeywords != m_strOpenedKeywords;
}

namespace
{

// The keywords as the editor shows them: each on a line of its own, ended by a line break.
CString TextOfKeywords(const std::vector<std::string>& keywords)
{
    CString strText;
    for (const std::string& keyword : keywords) {
        strText += keyword.c_str();
        strText += "\r\n";
    }
    return strText;
}

// The keywords the editor's text gives: each line one, runs of line breaks as one.
std::vector<std::string> KeywordsOfText(const CString& strText)
{
    std::vector<std::string> keywords;
    for (int nStart = 0;;) {
        CString strToken = strText.Tokenize("\r\n", nStart);
        if (nStart < 0) break;
        keywords.push_back((LPCTSTR)strToken);
    }
    return keywords;
}

}  // namespace

void CPageUninstallGroupEditor::OpenGroup(int nGroupId)
{
    m_strKeywords.Empty();
    m_strName.Empty();
    m_pGroup = NULL;
    if (nGroupId != -1) m_pGroup = CGroupManager::GetInstance()->FindGroup(nGroupId);
    m_nGroupSerial = m_pGroup != NULL ? m_pGroup->Serial() : 0;
    if (m_pGroup != NULL) {
        m_strName = m_pGroup->Name.c_str();
        m_strKeywords = TextOfKeywords(m_pGroup->Keywords);
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
        const UnstorableText line = FindUnstorableKeyword(keyword);
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

GroupEntry* CPageUninstallGroupEditor::ListedGroup() const
{
    // Found by its serial, never by address: a merge may delete the groups and make them
    // again, and a group made at the freed address is another one. A group made again
    // from its copy is this one; a group deleted while it was open is gone, and Apply
    // makes a new one rather than writing into another.
    if (m_nGroupSerial == 0) return NULL;
    for (GroupEntry* pGroup : CGroupManager::GetInstance()->m_Groups)
        if (pGroup->Serial() == m_nGroupSerial) return pGroup;
    return NULL;
}

std::string CPageUninstallGroupEditor::KeywordApplySplits() const
{
    const GroupEntry* pGroup = ListedGroup();
    if (pGroup == NULL || m_strKeywords == m_strOpenedKeywords) return std::string();
    for (const std::string& keyword : pGroup->Keywords)
        if (keyword.find_first_of("\r\n") != std::string::npos) return keyword;
    return std::string();
}

CString CPageUninstallGroupEditor::SplitQuestion(const std::string& strKeyword)
{
    CString strText("The keyword\r\n\r\n");
    strText += BoxNameLine(strKeyword).c_str();
    strText += "\r\n\r\nholds a line break, and the editor shows each of its lines as a keyword of its own: "
               "applied, the group keeps them as separate keywords.\r\n\r\nDo you want to apply the group?";
    return strText;
}

bool CPageUninstallGroupEditor::ApplyGroup(bool bAsked)
{
    UpdateData(TRUE);
    if (m_strName.IsEmpty()) {
        if (bAsked)
            RefuseUnstorableText(*this, IDC_GROUP_NAME, -1,
                                 "The group is not applied: it has no name.\r\n\r\nType a name and apply again.", "");
        return false;
    }
    const Unstorable refused = FindUnstorable(m_strName, m_strKeywords);
    if (!refused.text.empty()) {
        // Nothing is stored or written; the typing stays for the user to mend, with the
        // character selected.
        RefuseUnstorableText(*this, refused.nField, refused.nChar, refused.text, refused.keyword);
        return false;
    }
    // A keyword read from a hand-edited file may hold a line break; the editor shows its
    // lines one per line, and storing them so is the user's call, not a silent split.
    const std::string split = KeywordApplySplits();
    if (!split.empty()) {
        CBoxNameFitter fitter(split);
        if (CUiManager::ShowBoxOver(m_hWnd, SplitQuestion(split), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return false;
    }
    StoreAndClose(true);
    return true;
}

bool CPageUninstallGroupEditor::StoreAndClose(bool bReport, int* pnStoredId)
{
    CGroupManager* pGroups = CGroupManager::GetInstance();
    m_pGroup = ListedGroup();
    // Untouched keywords stay as stored: their text shows an empty keyword as no line
    // and a keyword holding a line break as two.
    const bool bKeywordsTyped = m_pGroup == NULL || m_strKeywords != m_strOpenedKeywords;
    if (m_pGroup == NULL) {
        m_pGroup = pGroups->CreateGroup();
        m_nGroupSerial = m_pGroup->Serial();
    }
    if (bKeywordsTyped) m_pGroup->Keywords = KeywordsOfText(m_strKeywords);
    m_pGroup->Name = (LPCTSTR)m_strName;
    // Stored: nothing is left to apply, also when the editor cannot close now.
    m_strOpenedName = m_strName;
    m_strOpenedKeywords = m_strKeywords;
    m_bTyped = false;

    const bool bWritten = SaveGroupsFile(bReport);
    // A merge with the file as another program left it may have taken the group away
    // (that program made it a group not shown here): then no group is current.
    m_pGroup = ListedGroup();
    if (pnStoredId != NULL) *pnStoredId = m_pGroup != NULL ? m_pGroup->Id : 0;
    // The applied group becomes the current one: the tree highlights it, bold, and the
    // list, back on screen, shows the programs its keywords now match.
    pGroups->m_pCurrentGroup = m_pGroup;
    CUiManager* pUi = CUiManager::GetInstance();
    pUi->RefreshGroups();
    pUi->CloseGroupEditor();
    pUi->RefreshPrograms(true);
    return bWritten;
}

namespace
{

// The program's registry section that holds typing a session's end could not apply:
// "Group Id" (the Id of the group it was typed for; none for a new group, or one the file
// does not hold under that Id), "Name" and "Keywords" (the fields as typed), and with a
// group's Id "Opened Name" and "Opened Keywords" (the fields as the group was opened, what
// the typing changed). Earlier builds named the group by its name ("Group"), which two
// groups may share: such typing comes back as a new group's.
const char kKeptSection[] = "Group Editor";
const char kKeptGroupId[] = "Group Id";
const char kKeptOpenedName[] = "Opened Name";
const char kKeptOpenedKeywords[] = "Opened Keywords";
// While the groups file is not read yet (its load waits for the window, or another program
// held it at the start): how often the kept typing asks whether its group can be found now.
const UINT_PTR kKeptTypingTimer = 0x4B54;
const UINT kKeptTypingPollMs = 250;

}  // namespace

void CPageUninstallGroupEditor::KeepTypingAtSessionEnd()
{
    if (!m_bTyped) return;
    UpdateData(TRUE);
    // Taken before Apply empties the fields.
    const CString strName = m_strName, strKeywords = m_strKeywords;
    const CString strOpenedName = m_strOpenedName, strOpenedKeywords = m_strOpenedKeywords;
    int nGroupId = 0;
    if (!strName.IsEmpty() && FindUnstorable(strName, strKeywords).text.empty() && KeywordApplySplits().empty()) {
        // Stored in the group; what the file cannot take now the groups store keeps for
        // the next start. A merge on the way may take the group away (another program
        // made it a group not shown here): then the typing comes back as a new group's.
        StoreAndClose(false, &nGroupId);
        if (nGroupId != 0) return;
    } else if (ListedGroup() != NULL) {
        // The next start finds the group by its Id: the file is to hold it (a group made
        // by hand has none until a save gives it one). A merge on the way may take the
        // group away or give it the file's Id.
        SaveGroupsFile(false, m_pGroup->Id);
        nGroupId = ListedGroup() != NULL ? m_pGroup->Id : 0;
    }
    // An Id the file does not hold for this group (one made here and never written) may be
    // another group's there: the typing then comes back as a new group's.
    if (!CGroupsStore::Instance().FileHoldsId(nGroupId)) nGroupId = 0;
    CWinApp* pApp = AfxGetApp();
    ForgetKeptTyping();
    if (nGroupId > 0) {
        pApp->WriteProfileInt(kKeptSection, kKeptGroupId, nGroupId);
        pApp->WriteProfileString(kKeptSection, kKeptOpenedName, strOpenedName);
        pApp->WriteProfileString(kKeptSection, kKeptOpenedKeywords, strOpenedKeywords);
    }
    pApp->WriteProfileString(kKeptSection, "Name", strName);
    pApp->WriteProfileString(kKeptSection, "Keywords", strKeywords);
}

void CPageUninstallGroupEditor::ForgetKeptTyping() { ForgetProgramSection(kKeptSection); }

void CPageUninstallGroupEditor::RestoreKeptTyping()
{
    HKEY hKey = OpenProgramSection(kKeptSection);
    if (hKey == NULL) return;
    if (CGroupsStore::Instance().GroupsToCome()) {
        // The group the typing names may be in the file not read yet (its load waits for
        // the window, or another program still holds it): it comes back once the file is
        // read (OnTimer).
        ::RegCloseKey(hKey);
        SetTimer(kKeptTypingTimer, kKeptTypingPollMs, NULL);
        return;
    }
    std::string name, keywords, openedName, openedKeywords;
    DWORD nKeptId = 0;
    const bool bGroup = ReadSectionNumber(hKey, kKeptGroupId, nKeptId);
    const bool bName = ReadSectionText(hKey, "Name", name), bKeywords = ReadSectionText(hKey, "Keywords", keywords);
    const bool bOpened = ReadSectionText(hKey, kKeptOpenedName, openedName) &&
                         ReadSectionText(hKey, kKeptOpenedKeywords, openedKeywords);
    ::RegCloseKey(hKey);
    if (!bName && !bKeywords) {
        ForgetKeptTyping();
        return;
    }
    // Only into the group it was typed for, whatever its name now; a group gone since
    // gives a new group with the typing.
    const GroupEntry* pGroup = bGroup && nKeptId > 0 && nKeptId <= INT_MAX
                                   ? CGroupManager::GetInstance()->FindGroup(static_cast<int>(nKeptId))
                                   : NULL;
    const int nGroupId = pGroup != NULL && pGroup->BuiltIn != 1 ? pGroup->Id : -1;
    // Not opened (a box already up): kept for the start after.
    if (!CUiManager::GetInstance()->ShowGroupEditor(nGroupId)) return;
    m_strName = name.c_str();
    m_strKeywords = keywords.c_str();
    if (ListedGroup() != NULL && bOpened) {
        // The typing is a change of the group as it was opened then: what another program
        // changed in it since, and the user did not, stays (the editor now shows the group
        // as it is).
        if (name == openedName) m_strName = m_strOpenedName;
        if (keywords == openedKeywords) {
            m_strKeywords = m_strOpenedKeywords;
        } else if (m_strOpenedKeywords != openedKeywords.c_str()) {
            m_strKeywords = TextOfKeywords(MergeKeywords(KeywordsOfText(openedKeywords.c_str()),
                                                         KeywordsOfText(m_strKeywords), m_pGroup->Keywords));
        }
    }
    UpdateData(FALSE);
    NoteTyping();
    ForgetKeptTyping();
}

void CPageUninstallGroupEditor::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kKeptTypingTimer) {
        CCommandPage::OnTimer(nIDEvent);
        return;
    }
    if (CGroupsStore::Instance().GroupsToCome() || !CInputRule::TakesCommands()) return;
    KillTimer(kKeptTypingTimer);
    // A group the user opened meanwhile is not replaced unasked: the kept typing waits for
    // the next start.
    if (!CUiManager::GetInstance()->IsGroupEditorOpen()) RestoreKeptTyping();
}

void CPageUninstallGroupEditor::OnApply() { ApplyGroup(); }

void CPageUninstallGroupEditor::OnCancelButton() { CUiManager::GetInstance()->CloseGroupEditor(); }
