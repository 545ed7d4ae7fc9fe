#include "app/page_uninstall.h"
#include "app/ui_manager.h"
#include "catalogue/options.h"
#include "res/resource.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CPageUninstall, CCommandPage)
    ON_REGISTERED_MESSAGE(g_nMsgShowGroupsBar, &CPageUninstall::OnShowGroupsBar)
    ON_REGISTERED_MESSAGE(g_nMsgShowGroupEditor, &CPageUninstall::OnShowGroupEditor)
    ON_REGISTERED_MESSAGE(g_nMsgCloseGroupEditor, &CPageUninstall::OnCloseGroupEditor)
    ON_REGISTERED_MESSAGE(g_nMsgApplyGroupEditor, &CPageUninstall::OnApplyGroupEditor)
    ON_REGISTERED_MESSAGE(g_nMsgGroupEditorTyped, &CPageUninstall::OnGroupEditorTyped)
    ON_REGISTERED_MESSAGE(CExtContainerBar::g_nMsgNotifyBtnClose, &CPageUninstall::OnNotifyBtnClose)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPageUninstall::CPageUninstall() : CCommandPage(IDD_PAGE_UNINSTALL) {}

CPageUninstall::~CPageUninstall() {}

BOOL CPageUninstall::Create(CWnd* pParentWnd) { return CExtResizableDialog::Create(IDD_PAGE_UNINSTALL, pParentWnd); }

BOOL CPageUninstall::OnInitDialog()
{
    CExtResizableDialog::OnInitDialog();
    ShowSizeGrip(false);
    CRect rcClient;
    GetClientRect(&rcClient);

    m_wndGroupsBar.Create(WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_GROUPS_BAR);
    m_wndGroupsBar.m_pWndNotify = this;
    m_wndGroupsBar.SetWindowText("Groups");
    m_pageGroups.Create(&m_wndGroupsBar);
    m_pageGroups.ShowWindow(SW_SHOW);
    m_wndGroupsBar.m_pWndChild = &m_pageGroups;

    m_pageView.Create(this);
    m_pageView.MoveWindow(&rcClient);
    m_pageView.ShowWindow(SW_SHOW);

    m_wndEditorBar.Create(WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_EDITOR_BAR);
    m_wndEditorBar.m_pWndNotify = this;
    m_wndEditorBar.SetWindowText("Group Editor");
    m_pageEditor.Create(&m_wndEditorBar);
    m_pageEditor.SetOwner(this);
    m_pageEditor.ShowWindow(SW_SHOW);
    m_wndEditorBar.m_pWndChild = &m_pageEditor;
    // Until a group is opened the editor has no place on the page, and Tab must not
    // reach its fields: the bar (and with it the editor) stays hidden.
    m_wndEditorBar.ShowWindow(SW_HIDE);

    m_wndSplitter.m_bVertical = true;
    m_wndSplitter.Create(WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), this, IDC_SPLITTER);
    m_wndSplitter.m_hCursor = ::LoadCursor(NULL, IDC_SIZEWE);
    // Size and position are settled before the panes join: each layout moves the whole
    // groups page and program view, and only the last one counts.
    m_wndSplitter.MoveWindow(&rcClient, FALSE);
    m_wndSplitter.SetLayoutRect(&rcClient);
    // The groups caption stays readable, with its close button, and the program list
    // keeps its search box and first column; the list wins when both do not fit.
    m_wndSplitter.SetPaneMinimums(m_wndGroupsBar.GetCaptionMinWidth(), m_pageView.GetListMinWidth(), 1);
    // A stored percentage is input like any other: out of range it would overflow here.
    const int nPercent = std::min(std::max(g_CatsSize.Value, 0), 100);
    m_wndSplitter.SetPosition(nPercent * rcClient.Width() / 100, false);
    m_wndSplitter.m_hWndPane[0] = m_wndGroupsBar.GetSafeHwnd();
    m_wndSplitter.m_hWndPane[1] = m_pageView.GetSafeHwnd();
    m_wndSplitter.m_nFocusPane = 1;
    m_wndSplitter.RecalcLayout();
    if (g_ShowCats.Value == 0) m_wndSplitter.ShowPane(1);

    CUiManager* pUi = CUiManager::GetInstance();
    pUi->m_hWndLeftPane = m_hWnd;
    pUi->m_hWndGroupsPage = m_pageGroups.GetSafeHwnd();
    // Typing the last session's end kept comes back in the editor once the groups are read.
    m_pageEditor.RestoreKeptTyping();
    return TRUE;
}

int CPageUninstall::GetGroupsPercentage() const
{
    return SplitterPercentage(m_wndSplitter.m_nPosition, m_wndSplitter.m_rcLayout.right - m_wndSplitter.m_rcLayout.left);
}

void CPageUninstall::SwapSecondPane(bool bEditor)
{
    CWnd& shown = bEditor ? (CWnd&)m_wndEditorBar : (CWnd&)m_pageView;
    CWnd& hidden = bEditor ? (CWnd&)m_pageView : (CWnd&)m_wndEditorBar;
    hidden.ShowWindow(SW_HIDE);
    shown.ShowWindow(SW_SHOW);
    m_wndSplitter.m_hWndPane[1] = shown.GetSafeHwnd();
    // The second pass places the pane once the first has settled a pane that was
    // shown with an empty rectangle.
    m_wndSplitter.RecalcLayout();
    m_wndSplitter.RecalcLayout();
}

void CPageUninstall::FocusProgramList() { m_pageView.m_pageList.m_wndList.SetFocus(); }

void CPageUninstall::MoveFocusOutOfGroups()
{
    if (!m_wndGroupsBar.HasFocusWithin()) return;
    if (m_wndEditorBar.IsWindowVisible())
        m_pageEditor.FocusName();
    else
        FocusProgramList();
}

void CPageUninstall::CloseEditor()
{
    SwapSecondPane(false);
    // The focus must not stay on a control that no longer shows: typing would go there,
    // and Tab would start from there through the hidden panes.
    if (m_wndGroupsBar.IsWindowVisible())
        m_pageGroups.FocusCurrentGroup();
    else
        FocusProgramList();
}

LRESULT CPageUninstall::OnShowGroupsBar(WPARAM wParam, LPARAM)
{
    if (wParam == 0) MoveFocusOutOfGroups();
    m_wndSplitter.ShowPane(wParam != 0 ? -1 : 1);
    return 0;
}

LRESULT CPageUninstall::OnShowGroupEditor(WPARAM wParam, LPARAM)
{
    SwapSecondPane(true);
    m_pageEditor.OpenGroup((int)wParam);
    // The program list and the search box are hidden now, but one of them may still
    // hold the focus: typing meant for the editor would filter the list unseen.
    m_pageEditor.FocusName();
    return 0;
}

LRESULT CPageUninstall::OnApplyGroupEditor(WPARAM, LPARAM)
{
    // The user answered Yes to the question whether to apply the typing.
    return m_pageEditor.ApplyGroup(true) ? 1 : 0;
}

LRESULT CPageUninstall::OnGroupEditorTyped(WPARAM, LPARAM) { return m_pageEditor.IsTyped() ? 1 : 0; }

LRESULT CPageUninstall::OnCloseGroupEditor(WPARAM, LPARAM)
{
    // Closed, the editor holds nothing; the next opening loads a group.
    m_pageEditor.Clear();
    CloseEditor();
    // The list shows where the editor was: a click aimed at the editor's buttons must
    // not land on a row.
    m_pageView.m_pageList.m_wndList.RowsUncovered();
    return 0;
}

LRESULT CPageUninstall::OnNotifyBtnClose(WPARAM, LPARAM lParam)
{
    if (lParam == IDC_GROUPS_BAR) {
        MoveFocusOutOfGroups();
        m_wndSplitter.ShowPane(1);
        if (g_ShowCats.Value != 0) {
            g_ShowCats.Value = 0;
            g_ShowCats.Changed = true;
        }
    } else if (lParam == IDC_EDITOR_BAR) {
        // The same way as Cancel: the mediator closes the editor and notes it closed.
        CUiManager::GetInstance()->CloseGroupEditor();
    }
    return 0;
}

void CPageUninstall::OnSize(UINT nType, int cx, int cy)
{
    CExtResizableDialog::OnSize(nType, cx, cy);
    if (m_wndSplitter.GetSafeHwnd() == NULL) return;
    CRect rc(0, 0, cx, cy);
    m_wndSplitter.MoveWindow(&rc, TRUE);
    m_wndSplitter.SetLayoutRect(&rc);
}

void CPageUninstall::StoreGroupsPercentage()
{
    if (m_wndSplitter.GetSafeHwnd() == NULL) return;
    // A splitter without width has no meaningful percentage: the stored one stays.
    int nPercent = GetGroupsPercentage();
    if (nPercent >= 0 && nPercent != g_CatsSize.Value) {
        g_CatsSize.Value = nPercent;
        g_CatsSize.Changed = true;
    }
}

void CPageUninstall::OnDestroy()
{
    StoreGroupsPercentage();
    if (m_pageGroups.GetSafeHwnd() != NULL) m_pageGroups.DestroyWindow();
    if (m_pageView.GetSafeHwnd() != NULL) m_pageView.DestroyWindow();
    if (m_pageEditor.GetSafeHwnd() != NULL) m_pageEditor.DestroyWindow();
    CExtResizableDialog::OnDestroy();
}
