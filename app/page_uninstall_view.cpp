#include "app/page_uninstall_view.h"
#include "app/ui_manager.h"
#include "catalogue/options.h"
#include "res/resource.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CPageUninstallView, CCommandPage)
    ON_REGISTERED_MESSAGE(g_nMsgRefreshPrograms, &CPageUninstallView::OnRefreshPrograms)
    ON_REGISTERED_MESSAGE(g_nMsgCopySelection, &CPageUninstallView::OnCopySelection)
    ON_REGISTERED_MESSAGE(g_nMsgOptionsChanged, &CPageUninstallView::OnOptionsChanged)
    ON_REGISTERED_MESSAGE(g_nMsgShowDetailsBar, &CPageUninstallView::OnShowDetailsBar)
    ON_REGISTERED_MESSAGE(CExtContainerBar::g_nMsgNotifyBtnClose, &CPageUninstallView::OnNotifyBtnClose)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

int SplitterPercentage(int nPosition, int nExtent)
{
    if (nExtent < 1) return -1;
    float fPercent = (float)((double)nPosition / (double)nExtent * 100.0);
    return (int)(fPercent + 0.5f);
}

CPageUninstallView::CPageUninstallView() : CCommandPage(IDD_PAGE_VIEW) {}

CPageUninstallView::~CPageUninstallView() {}

BOOL CPageUninstallView::Create(CWnd* pParentWnd) { return CExtResizableDialog::Create(IDD_PAGE_VIEW, pParentWnd); }

BOOL CPageUninstallView::OnInitDialog()
{
    CExtResizableDialog::OnInitDialog();
    ShowSizeGrip(false);
    CRect rcClient;
    GetClientRect(&rcClient);

    if (g_ListSize.Value == 0) {
        g_ListSize.Value = 65;
        g_ListSize.Changed = true;
    }

    m_wndDetailsBar.Create(WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_DETAILS_BAR);
    m_wndDetailsBar.m_pWndNotify = this;
    m_wndDetailsBar.SetWindowText("Details");

    m_pageDetails.Create(&m_wndDetailsBar);
    m_pageDetails.ShowWindow(SW_SHOW);
    m_wndDetailsBar.m_pWndChild = &m_pageDetails;
    CUiManager::GetInstance()->m_hWndDetailsPane = m_pageDetails.GetSafeHwnd();

    m_pageList.Create(this);
    m_pageList.MoveWindow(&rcClient);
    m_pageList.ShowWindow(SW_SHOW);
    // Tab goes through the panes in reading order: the list above, then the details.
    m_wndDetailsBar.SetWindowPos(&m_pageList, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CUiManager::GetInstance()->m_hWndRightPane = m_hWnd;

    m_wndSplitter.m_bVertical = false;
    m_wndSplitter.Create(WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), this, IDC_SPLITTER);
    m_wndSplitter.m_hCursor = ::LoadCursor(NULL, IDC_SIZENS);
    m_wndSplitter.m_hWndPane[0] = m_pageList.GetSafeHwnd();
    m_wndSplitter.m_hWndPane[1] = m_wndDetailsBar.GetSafeHwnd();
    m_wndSplitter.m_nFocusPane = 0;
    // The splitter covers the client area before it is anchored, so the anchor keeps it
    // covering the pane (an anchor taken from an empty rectangle would shrink it).
    m_wndSplitter.MoveWindow(&rcClient, FALSE);
    m_wndSplitter.SetLayoutRect(&rcClient);
    // Neither a drag nor a stored percentage may squeeze the list out of sight (its
    // selected row would still be what the commands act on) or the details caption,
    // the way back to a larger pane. The list wins when both do not fit.
    m_wndSplitter.SetPaneMinimums(GetListMinHeight(), CExtContainerBar::CAPTION_HEIGHT, 0);
    // A stored percentage is input like any other: out of range it would overflow here.
    const int nPercent = std::min(std::max(g_ListSize.Value, 0), 100);
    m_wndSplitter.SetPosition(nPercent * rcClient.Height() / 100, true);
    if (g_ShowDetails.Value == 0) m_wndSplitter.ShowPane(0);
    AddAnchor(m_wndSplitter.GetSafeHwnd(), CSize(0, 0), CSize(100, 100));
    return TRUE;
}

// The list's frame, without its scroll bars: taken from its styles, since the pages
// measure it before the list has been shown and laid out.
static CRect ListFrame(CExtReportCtrl& list)
{
    CRect rcFrame(0, 0, 0, 0);
    ::AdjustWindowRectEx(&rcFrame, list.GetStyle() & ~(WS_HSCROLL | WS_VSCROLL), FALSE,
                         list.GetExStyle());
    return CRect(-rcFrame.left, -rcFrame.top, rcFrame.right, rcFrame.bottom);
}

int CPageUninstallView::GetListMinHeight()
{
    CExtReportCtrl& list = m_pageList.m_wndList;
    if (list.GetSafeHwnd() == NULL) return 0;
    CRect rcList;
    list.GetWindowRect(&rcList);
    m_pageList.ScreenToClient(&rcList);
    const CRect rcFrame = ListFrame(list);
    // The header's height as it lays itself out; its window may not be sized yet.
    int nHeader = 0;
    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    if (pHeader != NULL && pHeader->GetSafeHwnd() != NULL) {
        RECT rcArea = {0, 0, 1000, 1000};
        WINDOWPOS wp = {};
        HDLAYOUT layout = {&rcArea, &wp};
        if (pHeader->SendMessage(HDM_LAYOUT, 0, (LPARAM)&layout)) nHeader = wp.cy;
    }
    // The search box lies above the list: the list's top in the page covers it. A
    // horizontal scroll bar is counted whether it shows now or not, as a narrower pane
    // brings it.
    return rcList.top + rcFrame.top + rcFrame.bottom + ::GetSystemMetrics(SM_CYHSCROLL) + nHeader +
           3 * list.m_nRowHeight;
}

int CPageUninstallView::GetListMinWidth()
{
    CExtReportCtrl& list = m_pageList.m_wndList;
    if (list.GetSafeHwnd() == NULL) return 0;
    CRect rcList, rcPage;
    list.GetWindowRect(&rcList);
    m_pageList.ScreenToClient(&rcList);
    m_pageList.GetClientRect(&rcPage);
    const CRect rcFrame = ListFrame(list);
    int nColumn = 0;
    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    CRect rcColumn;
    if (pHeader != NULL && pHeader->GetSafeHwnd() != NULL && pHeader->GetItemRect(0, &rcColumn))
        nColumn = rcColumn.Width();
    // The list's margins in the page (anchored, so they keep their size) come along.
    return rcList.left + (rcPage.right - rcList.right) + rcFrame.left + rcFrame.right +
           ::GetSystemMetrics(SM_CXVSCROLL) + nColumn;
}

void CPageUninstallView::MoveFocusOutOfDetails()
{
    if (m_wndDetailsBar.HasFocusWithin()) m_pageList.m_wndList.SetFocus();
}

int CPageUninstallView::GetListPercentage() const
{
    return SplitterPercentage(m_wndSplitter.m_nPosition,
                              m_wndSplitter.m_rcLayout.bottom - m_wndSplitter.m_rcLayout.top);
}

LRESULT CPageUninstallView::OnRefreshPrograms(WPARAM wParam, LPARAM)
{
    if (wParam == 0)
        m_pageList.RefreshList();
    else
        m_pageList.FilterList();
    return 0;
}

LRESULT CPageUninstallView::OnCopySelection(WPARAM, LPARAM)
{
    m_pageList.CopySelectedRows();
    return 0;
}

LRESULT CPageUninstallView::OnOptionsChanged(WPARAM, LPARAM)
{
    m_pageList.m_wndList.m_bAlternateRows = g_GridEnabled.Value != 0;
    m_pageList.m_wndList.m_clrGrid1 = (COLORREF)g_GridColor1.Value;
    m_pageList.m_wndList.m_clrGrid2 = (COLORREF)g_GridColor2.Value;
    // A full refresh, so the size unit and the hide option take effect too.
    m_pageList.RefreshList();
    return 0;
}

LRESULT CPageUninstallView::OnShowDetailsBar(WPARAM wParam, LPARAM)
{
    if (wParam == 0) MoveFocusOutOfDetails();
    m_wndSplitter.ShowPane(wParam != 0 ? -1 : 0);
    // While hidden the pane was not filled: it shows the program selected now, not the
    // one of its last fill.
    if (wParam != 0) m_pageDetails.ShowProgram(CUiManager::GetInstance()->GetSelectedProgram());
    int nMark = m_pageList.m_wndList.GetSelectionMark();
    if (nMark != -1) m_pageList.m_wndList.EnsureVisible(nMark, FALSE);
    int nShow = wParam != 0 ? 1 : 0;
    if (g_ShowDetails.Value != nShow) {
        g_ShowDetails.Value = nShow;
        g_ShowDetails.Changed = true;
    }
    return 0;
}

LRESULT CPageUninstallView::OnNotifyBtnClose(WPARAM, LPARAM)
{
    MoveFocusOutOfDetails();
    m_wndSplitter.ShowPane(0);
    if (g_ShowDetails.Value != 0) {
        g_ShowDetails.Value = 0;
        g_ShowDetails.Changed = true;
    }
    return 0;
}

void CPageUninstallView::StoreListPercentage()
{
    if (GetSafeHwnd() == NULL) return;
    // A splitter without height has no meaningful percentage: the stored one stays.
    int nPercent = GetListPercentage();
    if (nPercent >= 0 && nPercent != g_ListSize.Value) {
        g_ListSize.Value = nPercent;
        g_ListSize.Changed = true;
    }
}

void CPageUninstallView::OnDestroy()
{
    StoreListPercentage();
    CExtResizableDialog::OnDestroy();
}
