#include "app/page_uninstall_groups.h"
#include "app/box_name_line.h"
#include "app/container_bar.h"
#include "app/groups_store.h"
#include "app/input_rule.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "res/resource.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/core/cmd_manager.h"
#include <algorithm>

namespace
{
// Posted to itself at start: the box about an unreadable groups file shows over the
// window, not before it.
const UINT kMsgReportGroupsFile = WM_APP + 0x110;
// Posted to itself: a group the user picked in the tree, to open in the editor once the
// tree's handling of the click or key is over (wParam: the group's id).
const UINT kMsgEditFromTree = WM_APP + 0x111;
// The tree's root while the groups wait for another copy's turn at the file.
const char kAwaitedRootText[] = "Groups (shown once another copy of the program has written them)";
}  // namespace

BEGIN_MESSAGE_MAP(CPageUninstallGroups, CCommandPage)
    ON_COMMAND(ID_GROUP_NEW, &CPageUninstallGroups::OnGroupNew)
    ON_COMMAND(ID_GROUP_DELETE, &CPageUninstallGroups::OnGroupDelete)
    ON_COMMAND(ID_GROUP_EDIT, &CPageUninstallGroups::OnGroupEdit)
    ON_UPDATE_COMMAND_UI(ID_GROUP_NEW, &CPageUninstallGroups::OnUpdateGroupNew)
    ON_UPDATE_COMMAND_UI(ID_GROUP_DELETE, &CPageUninstallGroups::OnUpdateGroupUserCommand)
    ON_UPDATE_COMMAND_UI(ID_GROUP_EDIT, &CPageUninstallGroups::OnUpdateGroupUserCommand)
    ON_NOTIFY(TVN_SELCHANGING, IDC_TREE, &CPageUninstallGroups::OnTreeSelChanging)
    ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, &CPageUninstallGroups::OnTreeSelChanged)
    ON_NOTIFY(NM_CLICK, IDC_TREE, &CPageUninstallGroups::OnTreeClick)
    ON_NOTIFY(NM_DBLCLK, IDC_TREE, &CPageUninstallGroups::OnTreeDblClk)
    ON_NOTIFY(NM_SETFOCUS, IDC_TREE, &CPageUninstallGroups::OnTreeSetFocus)
    ON_NOTIFY(NM_KILLFOCUS, IDC_TREE, &CPageUninstallGroups::OnTreeKillFocus)
    ON_REGISTERED_MESSAGE(g_nMsgRefreshGroups, &CPageUninstallGroups::OnRefreshGroups)
    ON_MESSAGE(kMsgReportGroupsFile, &CPageUninstallGroups::OnReportGroupsFile)
    ON_MESSAGE(kMsgEditFromTree, &CPageUninstallGroups::OnEditFromTree)
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPageUninstallGroups::CPageUninstallGroups()
    : CCommandPage(IDD_PAGE_GROUPS), m_hRoot(NULL), m_hCurrent(NULL), m_bOwnSelection(false)
{
}

CPageUninstallGroups::~CPageUninstallGroups() {}

CExtBarContentExpandButton* CPageUninstallGroups::CExtToolBar::CreateContentExpandButton() { return NULL; }

void CPageUninstallGroups::DoDataExchange(CDataExchange* pDX)
{
    CExtResizableDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GROUPS_TOOLBAR, m_wndToolBar);
}

BOOL CPageUninstallGroups::Create(CWnd* pParentWnd)
{
    return CExtResizableDialog::Create(IDD_PAGE_GROUPS, pParentWnd);
}

BOOL CPageUninstallGroups::OnInitDialog()
{
    CExtResizableDialog::OnInitDialog();
    ShowSizeGrip(false);
    m_wndTree.SubclassDlgItem(IDC_TREE, this);

    m_hRoot = m_wndTree.InsertItem("Groups", TVI_ROOT, TVI_LAST);
    m_wndTree.Expand(m_hRoot, TVE_EXPAND);
    m_wndTree.SendMessage(TVM_SETITEMHEIGHT, 20, 0);

    if (m_wndToolBar.LoadToolBar(IDR_GROUPS_TOOLBAR, RGB(192, 192, 192)))
        m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() & ~CBRS_GRIPPER);
    LoadToolBarIcons();

    // Laying the bars out must not move the tree.
    CRect rcTree;
    m_wndTree.GetWindowRect(&rcTree);
    ScreenToClient(&rcTree);
    RepositionBars(0, 0xFFFF, 0);
    // ...except where the toolbar, taller with its icons than the template's place for
    // it, would lie over the tree's top border.
    if (m_wndToolBar.GetSafeHwnd() != NULL && (m_wndToolBar.GetStyle() & WS_VISIBLE) != 0) {
        CRect rcBar;
        m_wndToolBar.GetWindowRect(&rcBar);
        ScreenToClient(&rcBar);
        if (rcTree.top < rcBar.bottom) rcTree.top = std::min(rcBar.bottom, rcTree.bottom);
    }
    m_wndTree.MoveWindow(&rcTree);
    AddAnchor(IDC_TREE, CSize(0, 0), CSize(100, 100));

    if (CGroupsStore::Instance().PutOffLoad()) {
        // Changes earlier ends kept wait to be merged and stored: the window shows and is
        // painted first, the groups come once it is up (StoreKeptChanges). Until then the
        // tree holds the root alone, and the list shows every program.
        m_hCurrent = m_hRoot;
        m_wndTree.SetItemState(m_hRoot, TVIS_BOLD, TVIS_BOLD);
        SetTimer(kKeptChangesTimer, kKeptChangesPollMs, NULL);
        return TRUE;
    }
    LoadGroups();
    return TRUE;
}

void CPageUninstallGroups::LoadGroups()
{
    m_strFileProblem = LoadGroupsFile();
    if (!CGroupsStore::Instance().GroupsMayChange()) {
        // Another copy is at the file or its records: read once it is done, as a load put
        // off, at the pace a held file is waited for. The tree says why it shows no groups,
        // and is left as it is between the tries.
        SetTimer(kKeptChangesTimer, kHeldFilePollMs, NULL);
        if (!m_bTurnAwaited) {
            m_bTurnAwaited = true;
            RefillTree();
        }
        return;
    }
    m_bTurnAwaited = false;
    // The file takes the changes earlier ends kept once the window is up (the list shows
    // them already), and one box tells of them after what the load found.
    if (CGroupsStore::Instance().KeepsChangesToStore()) {
        SetTimer(kKeptChangesTimer, kKeptChangesPollMs, NULL);
    } else {
        KillTimer(kKeptChangesTimer);
        if (!m_strFileProblem.empty()) PostMessage(kMsgReportGroupsFile);
    }
    if (CGroupsStore::Instance().WaitsForHeldFile()) SetTimer(kHeldFileTimer, kHeldFilePollMs, NULL);
    RefillTree();
}

void CPageUninstallGroups::LoadToolBarIcons()
{
    // The toolbar's buttons in order (separators and the content-expand button left
    // out) get these icons as their command icons; the command manager keeps the
    // handles it takes.
    static const UINT kIcons[] = {IDI_GROUP_NEW, IDI_GROUP_DELETE, IDI_GROUP_EDIT};
    int nIcon = 0;
    for (int i = 0; i < m_wndToolBar.GetButtonsCount() && nIcon < 3; ++i) {
        CExtBarButton* pButton = m_wndToolBar.GetButton(i);
        if (pButton == NULL || pButton->IsSeparator() || pButton->IsKindOf(RUNTIME_CLASS(CExtBarContentExpandButton)))
            continue;
        UINT nCmdID = pButton->GetCmdID(false);
        HICON hIcon =
            (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kIcons[nIcon++]), IMAGE_ICON, 24, 24, 0);
        if (hIcon == NULL) continue;
        if (!g_CommandManager->CmdSetIconFromHICON(g_szPurgeletProfileName, nCmdID, hIcon, false))
            ::DestroyIcon(hIcon);  // no such command in the profile: nobody took the icon
    }
}

// ---- the tree ------------------------------------------------------------------------------

GroupEntry* CPageUninstallGroups::GetItemGroup(HTREEITEM hItem) const
{
    if (hItem == NULL || m_wndTree.GetSafeHwnd() == NULL) return NULL;
    GroupEntry* pGroup = (GroupEntry*)m_wndTree.GetItemData(hItem);
    if (pGroup == NULL) return NULL;
    // An item may outlive its group until the tree is rebuilt.
    const std::vector<GroupEntry*>& groups = CGroupManager::GetInstance()->m_Groups;
    return std::find(groups.begin(), groups.end(), pGroup) != groups.end() ? pGroup : NULL;
}

GroupEntry* CPageUninstallGroups::GetCaretUserGroup() const
{
    HTREEITEM hCaret = m_wndTree.GetSafeHwnd() != NULL ? m_wndTree.GetSelectedItem() : NULL;
    if (hCaret == NULL || hCaret == m_hRoot) return NULL;
    GroupEntry* pGroup = GetItemGroup(hCaret);
    return pGroup != NULL && pGroup->BuiltIn != 1 ? pGroup : NULL;
}

void CPageUninstallGroups::RefillTree()
{
    CGroupManager* pGroups = CGroupManager::GetInstance();
    m_bOwnSelection = true;
    m_wndTree.SendMessage(WM_SETREDRAW, FALSE, 0);
    m_wndTree.DeleteAllItems();
    m_hCurrent = NULL;
    m_hRoot = m_wndTree.InsertItem(m_bTurnAwaited ? kAwaitedRootText : "Groups", TVI_ROOT, TVI_LAST);
    for (GroupEntry* pGroup : pGroups->m_Groups) {
        if (pGroup->BuiltIn == 1) continue;
        HTREEITEM hItem = m_wndTree.InsertItem(pGroup->Name.c_str(), m_hRoot, TVI_LAST);
        m_wndTree.SetItemData(hItem, (DWORD_PTR)pGroup);
        if (pGroup == pGroups->m_pCurrentGroup) m_hCurrent = hItem;
    }
    GroupEntry* pOther = pGroups->m_Groups.empty() ? NULL : pGroups->m_Groups.front();
    HTREEITEM hOther = m_wndTree.InsertItem("Other", m_hRoot, TVI_LAST);
    m_wndTree.SetItemData(hOther, (DWORD_PTR)pOther);
    if (pOther != NULL && pOther == pGroups->m_pCurrentGroup) m_hCurrent = hOther;
    m_wndTree.Expand(m_hRoot, TVE_EXPAND);
    if (m_hCurrent == NULL) m_hCurrent = m_hRoot;
    m_wndTree.SetItemState(m_hCurrent, TVIS_BOLD, TVIS_BOLD);
    // The highlight is the group that filters the list; a tree without one would also
    // pick its first item (the root) as it gains the focus.
    m_wndTree.SelectItem(m_hCurrent);
    m_wndTree.SendMessage(WM_SETREDRAW, TRUE, 0);
    m_bOwnSelection = false;
    UpdateToolBarButtons();
}

void CPageUninstallGroups::SelectQuietly(HTREEITEM hItem)
{
    m_bOwnSelection = true;
    m_wndTree.SelectItem(hItem);
    m_bOwnSelection = false;
}

HTREEITEM CPageUninstallGroups::ItemOf(const GroupEntry* pGroup) const
{
    if (pGroup == NULL || m_hRoot == NULL) return NULL;
    for (HTREEITEM h = m_wndTree.GetChildItem(m_hRoot); h != NULL; h = m_wndTree.GetNextSiblingItem(h))
        if ((const GroupEntry*)m_wndTree.GetItemData(h) == pGroup) return h;
    return NULL;
}

void CPageUninstallGroups::FocusCurrentGroup()
{
    if (m_hCurrent != NULL && m_hCurrent != m_wndTree.GetSelectedItem()) SelectQuietly(m_hCurrent);
    m_wndTree.SetFocus();
    UpdateToolBarButtons();
}

bool CPageUninstallGroups::ListDependsOn(const GroupEntry* pGroup)
{
    const GroupEntry* pCurrent = CGroupManager::GetInstance()->m_pCurrentGroup;
    if (pGroup == NULL || pCurrent == NULL) return false;
    return pCurrent == pGroup || pCurrent->BuiltIn == 1;
}

CString CPageUninstallGroups::DeleteQuestion(const std::string& strName)
{
    // A name from the groups file may hold line breaks or run to any length.
    CString strText("Are you sure you want to delete this group and its keywords?\r\n\r\n");
    strText += BoxNameLine(strName).c_str();
    strText += "\r\n\r\nThe group cannot be restored.";
    return strText;
}

void CPageUninstallGroups::UpdateToolBarButtons()
{
    if (m_wndToolBar.GetSafeHwnd() != NULL) CExtControlBar::UpdateChildBarsCmdUI(this, TRUE);
}

// ---- commands ----------------------------------------------------------------------------

void CPageUninstallGroups::OnGroupNew() { CUiManager::GetInstance()->ShowGroupEditor(-1); }

void CPageUninstallGroups::OnGroupDelete()
{
    GroupEntry* pGroup = GetCaretUserGroup();
    if (pGroup == NULL) return;
    // A group and its keywords have no undo: the user confirms, with the group named.
    // No is the default, so a stray Enter keeps the group.
    const int nId = pGroup->Id;
    CBoxNameFitter fitter(pGroup->Name);
    if (CUiManager::ShowBoxOver(m_hWnd, DeleteQuestion(pGroup->Name), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
        IDYES)
        return;
    // The answer is about the group the question named; it may not be there any more.
    CGroupManager* pGroups = CGroupManager::GetInstance();
    if (pGroups->FindGroup(nId) != pGroup) return;
    // Its programs leave the list when it is the current group (the current group falls
    // back to the root, which shows every program) and join "Other".
    const bool bRefilter = ListDependsOn(pGroup);
    if (pGroups->m_pCurrentGroup == pGroup) pGroups->m_pCurrentGroup = NULL;
    pGroups->DeleteGroup(pGroup);
    RefillTree();
    if (bRefilter) CUiManager::GetInstance()->RefreshPrograms(true);
    // Written now: a session's end or a crash before the exit loses no deletion.
    SaveGroupsFile();
}

void CPageUninstallGroups::OnGroupEdit()
{
    GroupEntry* pGroup = GetCaretUserGroup();
    if (pGroup != NULL) EditGroup(pGroup->Id);
}

bool CPageUninstallGroups::EditGroup(int nGroupId)
{
    if (!CUiManager::GetInstance()->ShowGroupEditor(nGroupId)) return false;
    // Applying the typing the editor held first rebuilt the tree around the group it
    // applied: the highlight goes back to the group the editor shows now.
    HTREEITEM hItem = ItemOf(CGroupManager::GetInstance()->FindGroup(nGroupId));
    if (hItem != NULL && hItem != m_wndTree.GetSelectedItem()) SelectQuietly(hItem);
    UpdateToolBarButtons();
    return true;
}

void CPageUninstallGroups::OnUpdateGroupNew(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CGroupsStore::Instance().GroupsMayChange());
}

void CPageUninstallGroups::OnUpdateGroupUserCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(GetCaretUserGroup() != NULL); }

// ---- notifications -----------------------------------------------------------------------

void CPageUninstallGroups::MakeCurrent(HTREEITEM hItem)
{
    if (hItem != m_hCurrent) {
        if (m_hCurrent != NULL) m_wndTree.SetItemState(m_hCurrent, 0, TVIS_BOLD);
        if (hItem != NULL) m_wndTree.SetItemState(hItem, TVIS_BOLD, TVIS_BOLD);
        m_hCurrent = hItem;
    }
    // Filtering again rebuilds the whole list; a selection that keeps the group (the
    // tree picking its first item as it first gains the focus, the root selected while
    // it is current) must not pay for that.
    CGroupManager* pGroups = CGroupManager::GetInstance();
    GroupEntry* pGroup = GetItemGroup(hItem);
    if (pGroup == pGroups->m_pCurrentGroup) return;
    pGroups->m_pCurrentGroup = pGroup;
    CUiManager::GetInstance()->RefreshPrograms(true);
}

void CPageUninstallGroups::EditFromTreeLater(const GroupEntry* pGroup)
{
    PostMessage(kMsgEditFromTree, (WPARAM)(INT_PTR)pGroup->Id);
}

void CPageUninstallGroups::OnTreeSelChanging(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bOwnSelection || !CUiManager::GetInstance()->IsGroupEditorTyped()) return;
    // The root and "Other" open nothing in the editor: the caret moves, the typing stays.
    GroupEntry* pGroup = GetItemGroup(((NMTREEVIEW*)pNMHDR)->itemNew.hItem);
    if (pGroup == NULL || pGroup->BuiltIn == 1) return;
    *pResult = TRUE;
    EditFromTreeLater(pGroup);
}

LRESULT CPageUninstallGroups::OnEditFromTree(WPARAM wParam, LPARAM)
{
    // The group is found again by its id: the question's Yes rebuilds the tree, and the
    // group may have gone meanwhile. A click whose editor has closed since opens nothing.
    CUiManager* pUi = CUiManager::GetInstance();
    GroupEntry* pGroup = CGroupManager::GetInstance()->FindGroup((int)(INT_PTR)wParam);
    if (!pUi->IsGroupEditorOpen() || pGroup == NULL || pGroup->BuiltIn == 1) return 0;
    const bool bTreeFocused = ::GetFocus() == m_wndTree.m_hWnd;
    if (EditGroup(pGroup->Id) && bTreeFocused) m_wndTree.SetFocus();
    return 0;
}

void CPageUninstallGroups::OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bOwnSelection) return;
    NMTREEVIEW* pNM = (NMTREEVIEW*)pNMHDR;
    // The caret moved: Delete and Edit follow it now rather than at the next idle pass.
    UpdateToolBarButtons();
    if (CUiManager::GetInstance()->IsGroupEditorOpen()) {
        // Opening a group puts the focus in the editor's Name field; a user going
        // through the groups with the keys or the mouse keeps it in the tree.
        const bool bTreeFocused = ::GetFocus() == m_wndTree.m_hWnd;
        OnGroupEdit();
        if (bTreeFocused && ::GetFocus() != m_wndTree.m_hWnd) m_wndTree.SetFocus();
        return;
    }
    MakeCurrent(pNM->itemNew.hItem);
}

// The caret need not be the current group (the group editor leaves the group it closed
// on as the caret), and a click on the caret item changes no selection: the click makes
// it current all the same.
void CPageUninstallGroups::OnTreeClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (CUiManager::GetInstance()->IsGroupEditorOpen()) return;
    const DWORD dwPos = ::GetMessagePos();
    CPoint pt((short)LOWORD(dwPos), (short)HIWORD(dwPos));
    m_wndTree.ScreenToClient(&pt);
    UINT nFlags = 0;
    HTREEITEM hHit = m_wndTree.HitTest(pt, &nFlags);
    if (hHit != NULL && (nFlags & TVHT_ONITEM) != 0 && hHit == m_wndTree.GetSelectedItem() && hHit != m_hCurrent)
        MakeCurrent(hHit);
}

void CPageUninstallGroups::OnTreeDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    GroupEntry* pGroup = GetCaretUserGroup();
    if (pGroup != NULL && CUiManager::GetInstance()->IsGroupEditorTyped()) {
        // The tree's own handling of the double-click goes on with the item after this.
        *pResult = 1;
        EditFromTreeLater(pGroup);
        return;
    }
    OnGroupEdit();
}

// The Groups caption shows when the tree has the keyboard focus.
void CPageUninstallGroups::OnTreeSetFocus(NMHDR*, LRESULT* pResult)
{
    CExtContainerBar::ShowFocusIn(this, true);
    *pResult = 0;
}

void CPageUninstallGroups::OnTreeKillFocus(NMHDR*, LRESULT* pResult)
{
    CExtContainerBar::ShowFocusIn(this, false);
    *pResult = 0;
}

LRESULT CPageUninstallGroups::OnRefreshGroups(WPARAM, LPARAM)
{
    RefillTree();
    return 0;
}

void CPageUninstallGroups::OnSize(UINT nType, int cx, int cy)
{
    CExtResizableDialog::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED) RepositionBars(0, 0xFFFF, 0);
}

LRESULT CPageUninstallGroups::OnReportGroupsFile(WPARAM, LPARAM)
{
    std::string strText;
    strText.swap(m_strFileProblem);
    // Once the session has ended, the system ends the program: nobody answers a box.
    if (!strText.empty() && !CGroupsStore::Instance().SessionEnded())
        AfxMessageBox(strText.c_str(), MB_OK | MB_ICONWARNING);
    return 0;
}

// The changes earlier ends kept are read once the main window shows its list and is
// painted (the timer's first tick may come before the window is shown), and stored at a
// later tick, so that what the user does meanwhile is answered between the two; not
// behind a box or while a command runs. A change stored before stores them with it.
void CPageUninstallGroups::StoreKeptChanges()
{
    CWnd* pMain = GetTopLevelParent();
    if ((pMain != NULL && !pMain->IsWindowVisible()) || !CInputRule::TakesCommands()) return;
    CGroupsStore& store = CGroupsStore::Instance();
    if (store.SessionEnded()) {
        // The system ends the program: what earlier ends kept waits for the next start.
        KillTimer(kKeptChangesTimer);
        return;
    }
    if (!store.GroupsMayChange()) {
        if (pMain != NULL) pMain->UpdateWindow();
        LoadGroups();
        return;
    }
    KillTimer(kKeptChangesTimer);
    const std::string strKept = store.StoreKept();
    m_strFileProblem += (m_strFileProblem.empty() || strKept.empty() ? "" : "\r\n\r\n") + strKept;
    OnReportGroupsFile(0, 0);
}

// The groups file was held by another program at the start: its groups join the tree as
// soon as it is free. Not behind a box or while a command runs, which hold groups or a
// program the user chose among those shown.
void CPageUninstallGroups::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kKeptChangesTimer) {
        StoreKeptChanges();
        return;
    }
    if (nIDEvent != kHeldFileTimer) {
        CCommandPage::OnTimer(nIDEvent);
        return;
    }
    if (!CInputRule::TakesCommands()) return;
    CGroupsStore& store = CGroupsStore::Instance();
    const std::string strText = store.ReadHeldFile();
    if (!store.WaitsForHeldFile()) KillTimer(kHeldFileTimer);
    if (!strText.empty()) AfxMessageBox(strText.c_str(), MB_OK | MB_ICONWARNING);
}

void CPageUninstallGroups::OnDestroy()
{
    // Every change was written when it was made; only one whose write failed is tried
    // once more, quietly (the failure was reported at the change).
    SaveGroupsFile(false);
    CExtResizableDialog::OnDestroy();
}
