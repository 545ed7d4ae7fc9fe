#include "app/page_uninstall_details.h"
#include "app/container_bar.h"
#include "app/ui_manager.h"
#include "catalogue/program_entry.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CPageUninstallDetails, CExtResizableDialog)
    ON_REGISTERED_MESSAGE(g_nMsgShowProgramDetails, &CPageUninstallDetails::OnShowProgramDetails)
    ON_NOTIFY(NM_SETFOCUS, IDC_LIST, &CPageUninstallDetails::OnListSetFocus)
    ON_NOTIFY(NM_KILLFOCUS, IDC_LIST, &CPageUninstallDetails::OnListKillFocus)
END_MESSAGE_MAP()

CPageUninstallDetails::CPageUninstallDetails() : CExtResizableDialog(IDD_PAGE_DETAILS) {}

CPageUninstallDetails::~CPageUninstallDetails() {}

BOOL CPageUninstallDetails::Create(CWnd* pParentWnd)
{
    return CExtResizableDialog::Create(IDD_PAGE_DETAILS, pParentWnd);
}

BOOL CPageUninstallDetails::OnInitDialog()
{
    CExtResizableDialog::OnInitDialog();
    ShowSizeGrip(false);
    m_wndDetails.SubclassDlgItem(IDC_LIST, this);
    AddAnchor(IDC_LIST, CSize(0, 0), CSize(100, 100));
    m_wndDetails.InsertColumn(0, "Property", LVCFMT_LEFT, 80);
    m_wndDetails.InsertColumn(1, "Value", LVCFMT_LEFT, 0);
    return TRUE;
}

LRESULT CPageUninstallDetails::OnShowProgramDetails(WPARAM, LPARAM)
{
    // The mediator's selection is the one to show; wParam may be stale by now. With
    // none selected the pane shows none either.
    ShowProgram(CUiManager::GetInstance()->GetSelectedProgram());
    return 0;
}

void CPageUninstallDetails::ShowProgram(const ProgramEntry* pEntry)
{
    if (m_wndDetails.GetSafeHwnd() == NULL) return;
    m_wndDetails.SendMessage(WM_SETREDRAW, FALSE, 0);
    m_wndDetails.DeleteAllItems();
    if (pEntry != NULL) {
        for (const auto& value : pEntry->Values) {
            int nRow = m_wndDetails.InsertItem(m_wndDetails.GetItemCount(), value.first.c_str());
            if (nRow >= 0) m_wndDetails.SetItemText(nRow, 1, value.second.c_str());
        }
    }
    m_wndDetails.SendMessage(WM_SETREDRAW, TRUE, 0);
    m_wndDetails.Invalidate(FALSE);
}

// The list draws neither selection nor focus: the Details caption shows the focus.
void CPageUninstallDetails::OnListSetFocus(NMHDR*, LRESULT* pResult)
{
    CExtContainerBar::ShowFocusIn(this, true);
    *pResult = 0;
}

void CPageUninstallDetails::OnListKillFocus(NMHDR*, LRESULT* pResult)
{
    CExtContainerBar::ShowFocusIn(this, false);
    *pResult = 0;
}

LRESULT CPageUninstallDetails::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = CExtResizableDialog::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE && m_wndDetails.GetSafeHwnd() != NULL) {
        int cx = (short)LOWORD(lParam);
        m_wndDetails.SetColumnWidth(0, (int)((float)cx * 0.3f));
        m_wndDetails.SetColumnWidth(1, (int)((float)cx * 0.64f));
    }
    return lResult;
}
