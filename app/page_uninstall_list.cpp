#include "app/page_uninstall_list.h"
#include "app/bar_updates_paused.h"
#include "app/click_message.h"
#include "app/clipboard_text.h"
#include "app/input_rule.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/options.h"
#include "res/resource.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <algorithm>
#include <mbstring.h>
#include <stdio.h>
#include <string.h>
#include <string>

namespace {

// The C runtime's multibyte lowercasing of the current locale, on a copy.
std::string LowerCopy(const std::string& text)
{
    std::string copy(text);
    if (!copy.empty()) _mbslwr((unsigned char*)&copy[0]);
    return copy;
}

const COLORREF kNoUninstallTextColor = RGB(192, 0, 0);

// Posted to the page when the list's last selected row lost its selection.
const UINT kMsgSelectionLost = WM_APP + 0x103;

// The re-filter that waits for the rest of a typed word.
const UINT_PTR kFilterTimer = 0x4601;

// How long after a row double-click that ran a command, and after the user sees the
// refill that follows a command, no row double-click acts (ms).
const ULONGLONG kDoubleClickRest = 1000;

// The rest's timer. A timer's message comes only when no input, posted message or paint
// waits, so input taken before it was made before it, whatever time the system stamped
// on it (one that took a process's first input late stamps later input late too). While
// the rows a command brought are painted but not yet seen on the screen, it comes every
// so often to look whether the screen shows them; then it comes when the rest is over.
const UINT_PTR kRestTimer = 0x4602;

// How long after the rows' paint the rest waits at most for the screen to show them
// (ms). A paint reaches the screen only after the window's thread hands it over, and the
// display shows it when it gets to it: on a loaded machine that takes hundreds of
// milliseconds. Rows that never match (covered by a window the system does not count
// as covering, a screen that cannot be read, a window off the screen or minimised, where
// no one clicks them) start the rest once this is over: later than any show we wait for.
const ULONGLONG kScreenWait = 2000;

}  // namespace

BEGIN_MESSAGE_MAP(CPageUninstallList, CCommandPage)
    ON_EN_CHANGE(IDC_SEARCH, &CPageUninstallList::OnSearchChange)
    ON_NOTIFY(HDN_ITEMCLICKA, IDC_LIST, &CPageUninstallList::OnHeaderItemClick)
    ON_NOTIFY(HDN_ITEMCLICKW, IDC_LIST, &CPageUninstallList::OnHeaderItemClick)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, &CPageUninstallList::OnListItemChanged)
    ON_NOTIFY(NM_CLICK, IDC_LIST, &CPageUninstallList::OnListClick)
    ON_NOTIFY(NM_DBLCLK, IDC_LIST, &CPageUninstallList::OnListDblClk)
    ON_NOTIFY(LVN_DELETEITEM, IDC_LIST, &CPageUninstallList::OnListRowDeleted)
    ON_WM_CONTEXTMENU()
    ON_MESSAGE(kMsgSelectionLost, &CPageUninstallList::OnSelectionLost)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CPageUninstallList::CPageUninstallList() : CCommandPage(IDD_PAGE_LIST), m_bRefilling(false) {}

CPageUninstallList::~CPageUninstallList()
{
    CInputRule::SetTargetGone(nullptr);
    CInputRule::SetCommandEnded(nullptr);
    // The catalogue's entries go with the page; the mediator must not keep naming one.
    CUiManager* pUi = CUiManager::GetInstance();
    for (int i = 0; i < m_Catalogue.GetCount(); ++i)
        if (pUi->GetSelectedProgram() == m_Catalogue.GetAt(i)) pUi->SetSelectedProgram(NULL);
}

BOOL CPageUninstallList::Create(CWnd* pParentWnd) { return CExtResizableDialog::Create(IDD_PAGE_LIST, pParentWnd); }

BOOL CPageUninstallList::OnInitDialog()
{
    CExtResizableDialog::OnInitDialog();
    ShowSizeGrip(false);
    m_wndSearch.SubclassDlgItem(IDC_SEARCH, this);
    m_wndList.SubclassDlgItem(IDC_LIST, this);
    // The commands act on the selected row's program, so that row must look selected
    // also while another pane has the focus: the list's unfocused selection colour is
    // the list's own background on current systems.
    m_wndList.ModifyStyle(0, LVS_SHOWSELALWAYS);
    // The mediator answers whether this list is on screen, which decides whether its
    // selected program is the one the commands act on.
    CUiManager::GetInstance()->m_hWndProgramList = m_wndList.GetSafeHwnd();
    m_wndList.m_fnTakesInput = [this](UINT message, DWORD dwTime) { return TakesListInput(message, dwTime); };
    // Input dropped anywhere in the window takes the selected program away.
    CInputRule::SetTargetGone([this] { TargetGone(); });
    // The rest after a command's refill runs from the end of the command and from when
    // the user sees the rows it brought.
    CInputRule::SetCommandEnded([this] { CommandEnded(); });
    m_wndList.m_fnShown = [this] { RowsShown(); };

    AddAnchor(IDC_SEARCH, CSize(0, 0), CSize(100, 0));
    AddAnchor(IDC_LIST, CSize(0, 0), CSize(100, 100));

    m_wndList.m_bAlternateRows = g_GridEnabled.Value != 0;
    m_wndList.m_clrGrid1 = (COLORREF)g_GridColor1.Value;
    m_wndList.m_clrGrid2 = (COLORREF)g_GridColor2.Value;

    struct ColumnInfo
    {
        const char* title;
        int format;
        int width;
    };
    static const ColumnInfo kColumns[] = {
        {"Application", LVCFMT_LEFT, 200}, {"Publisher", LVCFMT_LEFT, 115}, {"Size", LVCFMT_RIGHT, 75},
        {"Used", LVCFMT_RIGHT, 80},        {"Frequency", LVCFMT_RIGHT, 75},
    };
    for (const ColumnInfo& column : kColumns) {
        CHeaderCtrl* pHeader = m_wndList.GetHeaderCtrl();
        int nIndex = pHeader != NULL ? pHeader->GetItemCount() : 0;
        m_wndList.InsertColumn(nIndex, column.title, column.format, column.width);
    }
    m_wndList.SetRowHeight(::GetSystemMetrics(SM_CYSMICON) + 6);

    m_wndSearch.m_wndIcon.m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_SEARCH));
    m_wndSearch.m_wndIcon.Invalidate(TRUE);
    m_wndSearch.Invalidate(TRUE);
    m_wndSearch.UpdateWindow();
    return TRUE;
}

// ---- filling ---------------------------------------------------------------------------

bool CPageUninstallList::IsFilteredOut(const ProgramEntry* pEntry) const
{
    if (g_Hide.Value != 0 && pEntry->UninstallString.empty()) return true;
    const std::string strName = LowerCopy(pEntry->DisplayName);
    if (CGroupManager::GetInstance()->IsExcluded(strName.c_str())) return true;
    if (!m_strSearch.IsEmpty()) {
        const std::string strSearch = LowerCopy(std::string((LPCTSTR)m_strSearch));
        if (_mbsstr((const unsigned char*)strName.c_str(), (const unsigned char*)strSearch.c_str()) == NULL)
            return true;
    }
    return false;
}

void CPageUninstallList::Reading() { NoteMainWindowWorking(); }

void CPageUninstallList::AddProgram(ProgramEntry* entry)
{
    // A long list takes the thread from its messages for a while: a start asking meanwhile
    // learns that this copy works.
    NoteMainWindowWorking();
    if (entry == NULL || IsFilteredOut(entry)) return;
    // The row comes with its record: the list asks for none afterwards, which would
    // cost every row a change of item and its notifications.
    ReportRowData* pNewRow = new ReportRowData;
    pNewRow->pUserData = entry;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = m_wndList.GetItemCount();
    if (item.iItem == 0) SizeRowTables();
    item.pszText = const_cast<char*>(entry->DisplayName.c_str());
    item.lParam = (LPARAM)pNewRow;
    int nRow = m_wndList.InsertItem(&item);
    if (nRow < 0) {
        delete pNewRow;
        return;
    }
    if (entry->HasArpCacheData) {
        m_wndList.SetItemText(nRow, 2, FormatSize(entry->InstalledSize, g_SizeType.Value));
        m_wndList.SetItemText(nRow, 3, FormatDate(entry->LastUsed));
        m_wndList.SetItemText(nRow, 4, FormatFrequency(entry->Frequency));
    } else {
        m_wndList.SetItemText(nRow, 2, "N/A");
        m_wndList.SetItemText(nRow, 3, "N/A");
        m_wndList.SetItemText(nRow, 4, "N/A");
    }
    ReportRowData* pRow = m_wndList.GetRowData(nRow);
    ReportCellFormat& first = m_wndList.GetCellFormat(pRow, 0);
    if (entry->UninstallString.empty()) {
        first.clrText = kNoUninstallTextColor;
        first.bTextSet = true;
    }
    first.hIcon = GetRowIcon(entry);
    m_wndList.SetItemText(nRow, 1, entry->Publisher.empty() ? "N/A" : entry->Publisher.c_str());
    pRow->pUserData = entry;
    NoteSoughtRows(entry, pRow);
}

void CPageUninstallList::SizeRowTables()
{
    // The list view grows its tables of rows a few rows at a time, and each table that
    // cannot grow where it lies moves, leaving its old block behind in the heap while
    // the rows put after it live: a first fill of a long list would keep that memory
    // until the next refill. Told the count first, it sizes them once (Wine 8 takes the
    // count only from lists without rows of their own, and grows them step by step). The
    // count is the catalogue's, the most rows a fill can add; nothing needs repainting.
    m_wndList.SetItemCountEx(m_Catalogue.GetCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void CPageUninstallList::NoteSoughtRows(const ProgramEntry* pEntry, const ReportRowData* pRow)
{
    for (SoughtRow* pSought : {&m_chosen, &m_top})
        if (pSought->bSought && pSought->pRow == NULL && pEntry->HasKey(pSought->key)) pSought->pRow = pRow;
}

HICON CPageUninstallList::GetRowIcon(const ProgramEntry* pEntry)
{
    const char* pszPath = pEntry->DisplayIconPath.c_str();
    HICON hIcon = m_IconCache.Find(pszPath);
    if (hIcon != NULL) return hIcon;
    ::ExtractIconExA(pszPath, pEntry->IconIndex, NULL, &hIcon, 1);
    if (hIcon == NULL) hIcon = m_IconCache.GetDefaultIcon();
    m_IconCache.Add(pszPath, hIcon);
    return hIcon;
}

namespace {

// Marks the list as being refilled for the life of one filling.
class CRefilling
{
public:
    explicit CRefilling(bool& bRefilling) : m_bRefilling(bRefilling) { m_bRefilling = true; }
    ~CRefilling() { m_bRefilling = false; }

private:
    bool& m_bRefilling;
};

}  // namespace

void CPageUninstallList::RefreshList()
{
    // Every row's notifications reach the page while the thread's current message is an
    // idle one, and each would make the page walk its control bars for their command
    // states: thousands of walks for one filling. The walks wait until the list is full;
    // the next idle message makes one.
    CBarUpdatesPaused paused(*this);
    CWaitCursor wait;
    const ListPlace place = TakePlace(true);
    // The catalogue frees every entry it holds now; the mediator must not keep naming one.
    CUiManager* pUi = CUiManager::GetInstance();
    pUi->SetSelectedProgram(NULL);
    m_wndList.SendMessage(WM_SETREDRAW, FALSE, 0);
    {
        CRefilling refilling(m_bRefilling);
        m_wndList.DeleteAllItems();
        // The catalogue has no window of its own, so its failure is shown here; the
        // entries it read before the failure are listed all the same.
        if (!m_Catalogue.Refresh(this)) AfxMessageBox("CVrelPurgelet::Refresh", MB_OK);
        m_wndList.SortItems(&CPageUninstallList::CompareRows, (DWORD_PTR)this);
    }
    // Every command acts on the selected program, so the refresh selects none the user
    // did not choose: after an uninstall that removed the chosen program, a second click
    // must find nothing to run, not the program that moved into its row.
    const int nShow = RestorePlace(place);
    m_wndList.SendMessage(WM_SETREDRAW, TRUE, 0);
    // The list scrolls by the rows it knows of only once redrawing is on again.
    RestoreView(place);
    if (nShow >= 0) m_wndList.EnsureVisible(nShow, FALSE);
    UpdateCounts();
    RowsReplaced(true);
}

void CPageUninstallList::FilterList()
{
    m_bFilterWaiting = false;
    if (m_hWnd != NULL) KillTimer(kFilterTimer);
    CBarUpdatesPaused paused(*this);
    // The commands act on the selected program: it must be one the list shows, and
    // the one the list shows selected.
    const ListPlace place = TakePlace(false);
    m_wndList.SendMessage(WM_SETREDRAW, FALSE, 0);
    {
        CRefilling refilling(m_bRefilling);
        m_wndList.DeleteAllItems();
        m_Catalogue.Populate(this);
        m_wndList.SortItems(&CPageUninstallList::CompareRows, (DWORD_PTR)this);
    }
    const int nShow = RestorePlace(place);
    m_wndList.SendMessage(WM_SETREDRAW, TRUE, 0);
    if (nShow >= 0) m_wndList.EnsureVisible(nShow, FALSE);
    UpdateCounts();
    RowsReplaced(false);
}

CPageUninstallList::ListPlace CPageUninstallList::TakePlace(bool bKeepView)
{
    const auto Seek = [](SoughtRow& sought, const ProgramEntry* pEntry) {
        sought.bSought = pEntry != NULL;
        sought.key = pEntry != NULL ? pEntry->GetKey() : ProgramEntryKey();
        sought.pRow = NULL;
    };
    Seek(m_chosen, CUiManager::GetInstance()->GetSelectedProgram());
    ListPlace place;
    if (!bKeepView) {
        // Other rows now: a search starts at the top of what it found.
        place.bFocusInView = true;
        Seek(m_top, NULL);
        return place;
    }
    const int nCount = m_wndList.GetItemCount();
    place.nFocusedRow = m_wndList.GetNextItem(-1, LVNI_FOCUSED);
    place.nTopRow = nCount > 0 ? m_wndList.GetTopIndex() : 0;
    place.bFocusInView =
        place.nFocusedRow >= place.nTopRow && place.nFocusedRow < place.nTopRow + m_wndList.GetCountPerPage();
    const ReportRowData* pTop = place.nTopRow < nCount ? m_wndList.GetRowData(place.nTopRow) : NULL;
    Seek(m_top, pTop != NULL ? (const ProgramEntry*)pTop->pUserData : NULL);
    return place;
}

void CPageUninstallList::RestoreView(const ListPlace& place)
{
    const int nCount = m_wndList.GetItemCount();
    int nTop = FindRow(m_top);
    m_top = SoughtRow();
    if (nTop < 0) nTop = std::min(place.nTopRow, nCount - 1);
    CRect rcRow;
    if (nTop <= 0 || !m_wndList.GetItemRect(0, &rcRow, LVIR_BOUNDS)) return;
    // In a report the list scrolls by whole rows, from where the refill left it.
    m_wndList.Scroll(CSize(0, (nTop - m_wndList.GetTopIndex()) * rcRow.Height()));
}

int CPageUninstallList::RestorePlace(const ListPlace& place)
{
    const int nRow = FindRow(m_chosen);
    m_chosen = SoughtRow();
    if (nRow >= 0) {
        // Selects and focuses the row; its item change makes its entry the selected
        // program and shows its details.
        m_wndList.SendMessage(LVM_SETSELECTIONMARK, 0, nRow);
        return nRow;
    }
    DropSelection();
    const int nCount = m_wndList.GetItemCount();
    if (nCount == 0) return -1;
    // The row that took the chosen program's place, or the one the focus was on: the
    // user keeps their place in the list, and Down or Space picks from there.
    const int nFocus = place.nFocusedRow < 0 ? 0 : place.nFocusedRow < nCount ? place.nFocusedRow : nCount - 1;
    m_wndList.SetItemState(nFocus, LVIS_FOCUSED, LVIS_FOCUSED);
    return place.bFocusInView ? nFocus : -1;
}

int CPageUninstallList::FindRow(const SoughtRow& sought) const
{
    if (sought.pRow == NULL) return -1;
    LVFINDINFO find = {};
    find.flags = LVFI_PARAM;
    find.lParam = (LPARAM)sought.pRow;
    return m_wndList.FindItem(&find, -1);
}

void CPageUninstallList::DropSelection()
{
    CUiManager* pUi = CUiManager::GetInstance();
    pUi->SetSelectedProgram(NULL);
    // Also while the details pane is hidden: shown again, it must not bring back a
    // program that is no longer selected.
    pUi->ShowProgramDetails(NULL);
}

void CPageUninstallList::TargetGone()
{
    if (m_wndList.GetSafeHwnd() == NULL) return;
    const bool bHeld = CUiManager::GetInstance()->GetSelectedProgram() != NULL;
    // A refill under way no longer seeks the program the user chose.
    m_chosen = SoughtRow();
    m_wndList.DropSelectionForRefused();
    if (bHeld) DropSelection();
}

void CPageUninstallList::RowsReplaced(bool bFullRefresh)
{
    // What the user clicked while the registry was read again was aimed at the window as
    // it was. The keys stay, after F5 and after a command alike: typed into the search
    // box they are its text, and the list itself refuses those made before it was read
    // again (TakesListInput). The list notes by itself which rows changed under the
    // pointer.
    const ULONGLONG ullNow = ::GetTickCount64();
    if (bFullRefresh) {
        CInputRule::DropQueuedClicks();
        const HWND hTop = ::GetAncestor(m_hWnd, GA_ROOT);
        m_ullRefilled = hTop != NULL && ::IsWindowVisible(hTop) ? ullNow : 0;
    }
    // A command's refill (an uninstall, Remove Entry, the options, a keyword added, a
    // group deleted or applied, F5), from whatever window the command came: however long
    // the command or its box took, the rows changed now, and a second double-click of a
    // hand that double-clicked before it may still come. The rest runs on until the
    // command is over and its rows show (CommandEnded, RowsShown).
    if (CInputRule::IsCarryingOutCommand()) {
        m_ullCommandRefill = ullNow;
        m_bCommandRefilled = true;
    }
    // The bars show the commands' states for the rows shown now, also when the selected
    // program stayed what it was (none, after the first fill): nothing else may come to
    // bring them up to date before the user acts.
    CUiManager::GetInstance()->CommandStatesChanged();
}

void CPageUninstallList::CommandEnded()
{
    if (!m_bCommandRefilled) return;
    m_bCommandRefilled = false;
    // What the command did after the refill (a save, a box) kept the window from showing
    // the new rows: the user sees them once the list has painted what the box or the
    // refill left to paint and the screen shows it (AwaitScreen).
    const bool bPaintDue = m_wndList.GetSafeHwnd() != NULL && ::GetUpdateRect(m_wndList.m_hWnd, NULL, FALSE);
    KillTimer(kRestTimer);
    if (bPaintDue || !m_wndList.IsWindowVisible())
        m_restAwaits = RestAwaits::Paint;
    else
        AwaitScreen();
}

void CPageUninstallList::RowsShown()
{
    // A busy machine paints late, after the input that came meanwhile (the pointer's
    // moves over the window a box uncovered): the rows the command brought are drawn
    // only now, and reach the screen later still.
    if (m_restAwaits == RestAwaits::Paint) AwaitScreen();
}

void CPageUninstallList::AwaitScreen()
{
    // Painted now: the user sees them from now at the earliest.
    m_ullRowsPainted = ::GetTickCount64();
    m_ullCommandRefill = m_ullRowsPainted;
    m_restAwaits = RestAwaits::Screen;
    // The window's thread hands the paint over when it next waits for input, and the
    // display shows it when it gets to it; neither says when. What the screen shows is
    // read back and compared with what the list painted, from the timer: by then the
    // thread has waited. Without the timer it is looked at once, now.
    if (m_hWnd == NULL || SetTimer(kRestTimer, USER_TIMER_MINIMUM, NULL) == 0) RestTimerCame();
}

void CPageUninstallList::RestTimerCame()
{
    KillTimer(kRestTimer);
    if (m_restAwaits == RestAwaits::Screen) {
        if (!m_wndList.IsWindowVisible()) {
            // Hidden meanwhile (the group editor took its place): the rows show with the
            // list's next paint.
            m_restAwaits = RestAwaits::Paint;
            return;
        }
        const CExtReportCtrl::ScreenShows shows = m_wndList.CompareRowsWithScreen();
        // Taken once the screen was read: it showed the rows by then, perhaps a moment
        // before, and the rest then lasts a moment longer, never shorter.
        const ULONGLONG ullNow = ::GetTickCount64();
        if (shows != CExtReportCtrl::ScreenShows::Painted && ullNow - m_ullRowsPainted < kScreenWait &&
            m_hWnd != NULL && SetTimer(kRestTimer, USER_TIMER_MINIMUM, NULL) != 0)
            return;
        RestFrom(ullNow);
        return;
    }
    if (m_restAwaits != RestAwaits::Running) return;
    m_restAwaits = RestAwaits::None;
    m_ullRestOver = ::GetTickCount64();
}

void CPageUninstallList::RestFrom(ULONGLONG ullSeen)
{
    m_ullCommandRefill = ullSeen;
    m_restAwaits = RestAwaits::Running;
    const ULONGLONG ullNow = ::GetTickCount64(), ullOver = ullSeen + kDoubleClickRest;
    const UINT nLeft = (UINT)std::max<ULONGLONG>(USER_TIMER_MINIMUM, ullOver > ullNow ? ullOver - ullNow : 0);
    if (m_hWnd != NULL && SetTimer(kRestTimer, nLeft, NULL) != 0) return;
    // Without its timer the rest is over only by the times the system stamps.
    m_restAwaits = RestAwaits::None;
    m_ullRestOver = ullNow;
}

ULONGLONG CPageUninstallList::CommandRowsSeen() const
{
    const bool bWaiting = m_bCommandRefilled || m_restAwaits == RestAwaits::Paint || m_restAwaits == RestAwaits::Screen;
    return bWaiting ? 0 : m_ullCommandRefill;
}

bool CPageUninstallList::TakesListInput(UINT message, DWORD dwTime) const
{
    if (!CInputRule::TakesCommands()) return false;
    // A click is the list's to judge by the rows under the pointer. A key acts on the
    // selection, which a re-filter or a sort keeps, so the keys typed meanwhile act in
    // turn; but a key made before the registry was read again was aimed at the list as
    // it was, whose programs may be gone or have moved.
    if (IsClickMessage(message) || m_ullRefilled == 0) return true;
    return CInputRule::InputTime(dwTime, ::GetTickCount64()) >= m_ullRefilled;
}

void CPageUninstallList::UpdateCounts()
{
    CUiManager* pUi = CUiManager::GetInstance();
    pUi->m_nShownPrograms = (unsigned int)m_wndList.GetItemCount();
    pUi->m_nTotalPrograms = (unsigned int)m_Catalogue.GetCount();
    pUi->UpdateStatusBar();
}

// ---- column texts ------------------------------------------------------------------------

CString CPageUninstallList::FormatSize(LONGLONG nSize, int nSizeType)
{
    if (nSize == -1) return CString("N/A");
    char buffer[64];
    double dSize = (double)nSize;
    switch (nSizeType) {
    case 1:
        _snprintf(buffer, sizeof(buffer), "%.3f KB", dSize * (1.0 / 1024));
        break;
    case 2:
        _snprintf(buffer, sizeof(buffer), "%.3f MB", dSize * (1.0 / 1024) * (1.0 / 1024));
        break;
    case 3:
        _snprintf(buffer, sizeof(buffer), "%.3f GB", dSize * (1.0 / 1024) * (1.0 / 1024) * (1.0 / 1024));
        break;
    default:
        _snprintf(buffer, sizeof(buffer), "%.0f", dSize);
        break;
    }
    buffer[sizeof(buffer) - 1] = '\0';
    std::string text(buffer);
    std::string::size_type nDot = text.rfind('.');
    int p = nDot == std::string::npos ? (int)text.size() : (int)nDot;
    // A sign is not a digit: a damaged negative size groups its digits alone.
    int nFirst = (!text.empty() && text[0] == '-') ? 1 : 0;
    std::string grouped;
    for (int i = 0; i < (int)text.size(); ++i) {
        if (i > nFirst && i < p && ((p - i) % 3) == 0) grouped += ' ';
        grouped += text[i];
    }
    return CString(grouped.c_str());
}

CString CPageUninstallList::FormatDate(const FILETIME& ftLastUsed)
{
    if (ftLastUsed.dwLowDateTime == 0 && ftLastUsed.dwHighDateTime == 0) return CString("N/A");
    SYSTEMTIME st = {};
    char buffer[20] = {};
    if (::FileTimeToSystemTime(&ftLastUsed, &st))
        ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, NULL, buffer, (int)sizeof(buffer));
    buffer[sizeof(buffer) - 1] = '\0';
    return CString(buffer);
}

CString CPageUninstallList::FormatFrequency(int nFrequency)
{
    if (nFrequency < 0) return CString("N/A");
    if (nFrequency <= 2) return CString("Rarely");
    if (nFrequency <= 9) return CString("Occasionally");
    return CString("Frequently");
}

// ---- sorting -----------------------------------------------------------------------------

int CALLBACK CPageUninstallList::CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    CPageUninstallList* pPage = (CPageUninstallList*)lParamSort;
    const ReportRowData* pRow1 = (const ReportRowData*)lParam1;
    const ReportRowData* pRow2 = (const ReportRowData*)lParam2;
    const ProgramEntry* a = pRow1 != NULL ? (const ProgramEntry*)pRow1->pUserData : NULL;
    const ProgramEntry* b = pRow2 != NULL ? (const ProgramEntry*)pRow2->pUserData : NULL;
    NoteMainWindowWorking();
    if (pPage == NULL || a == NULL || b == NULL) return 0;
    int nResult = 0;
    switch (pPage->m_wndList.m_nSortColumn) {
    case 0:
        nResult = _mbsicmp((const unsigned char*)a->DisplayName.c_str(), (const unsigned char*)b->DisplayName.c_str());
        break;
    case 1:
        nResult = _mbsicmp((const unsigned char*)a->Publisher.c_str(), (const unsigned char*)b->Publisher.c_str());
        break;
    case 2:
        nResult = a->InstalledSize < b->InstalledSize ? -1 : a->InstalledSize > b->InstalledSize ? 1 : 0;
        break;
    case 3: {
        LONGLONG nA = ((LONGLONG)(LONG)a->LastUsed.dwHighDateTime << 32) | a->LastUsed.dwLowDateTime;
        LONGLONG nB = ((LONGLONG)(LONG)b->LastUsed.dwHighDateTime << 32) | b->LastUsed.dwLowDateTime;
        nResult = nA < nB ? -1 : nA > nB ? 1 : 0;
        break;
    }
    default:
        nResult = 0;
        break;
    }
    return pPage->m_wndList.m_bSortAscending ? nResult : -nResult;
}

void CPageUninstallList::SortRows()
{
    m_wndList.SendMessage(WM_SETREDRAW, FALSE, 0);
    m_wndList.SortItems(&CPageUninstallList::CompareRows, (DWORD_PTR)this);
    m_wndList.SendMessage(WM_SETREDRAW, TRUE, 0);
    RowsReplaced(false);
}

// ---- notifications -----------------------------------------------------------------------

void CPageUninstallList::OnSearchChange()
{
    m_wndSearch.GetWindowText(m_strSearch);
    // A word typed in one go costs one re-filter, after its last letter: while the next
    // letter for the box waits, the list waits for it. Any other key (Tab, Down, a menu
    // key) finds the list filtered by the text typed before it. The timer comes only
    // once no input waits, should no further change follow.
    if (TextKeyWaiting()) {
        m_bFilterWaiting = true;
        SetTimer(kFilterTimer, USER_TIMER_MINIMUM, NULL);
        return;
    }
    FilterList();
}

bool CPageUninstallList::TextKeyWaiting() const
{
    MSG key;
    const HWND hSearch = m_wndSearch.GetSafeHwnd();
    const UINT nPeek = PM_NOREMOVE | PM_NOYIELD;
    if (!::PeekMessageA(&key, hSearch, WM_KEYDOWN, WM_KEYDOWN, nPeek)) return false;
    // Tab, Enter and Esc map to characters too, but type none into the box.
    const UINT vk = (UINT)key.wParam, ch = ::MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR) & 0x7FFF;
    if (vk != VK_BACK && vk != VK_DELETE && ch < 0x20) return false;
    // A menu or system key (Alt+A, U) or a click (a toolbar button) made before that key
    // must find the list filtered by what was typed before it: the first plain key is not
    // always the next input. Made in the same tick, it counts as made before.
    MSG other;
    const auto madeFirst = [&](HWND hWnd, UINT nFirst, UINT nLast) {
        return ::PeekMessageA(&other, hWnd, nFirst, nLast, nPeek) && (LONG)(key.time - other.time) >= 0;
    };
    return !madeFirst(hSearch, WM_SYSKEYDOWN, WM_SYSKEYDOWN) && !madeFirst(NULL, WM_LBUTTONDOWN, WM_MOUSELAST) &&
           !madeFirst(NULL, WM_NCLBUTTONDOWN, WM_NCMBUTTONDBLCLK);
}

void CPageUninstallList::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kRestTimer) {
        RestTimerCame();
        return;
    }
    if (nIDEvent != kFilterTimer) {
        CCommandPage::OnTimer(nIDEvent);
        return;
    }
    if (m_bFilterWaiting && !TextKeyWaiting()) FilterList();
}

void CPageUninstallList::OnHeaderItemClick(NMHDR*, LRESULT* pResult)
{
    // The report list has already moved its sort column and direction.
    SortRows();
    *pResult = 0;
}

void CPageUninstallList::SelectRow(int nRow)
{
    if (nRow == -1) return;
    ReportRowData* pRow = (ReportRowData*)m_wndList.GetItemData(nRow);
    ProgramEntry* pEntry = pRow != NULL ? (ProgramEntry*)pRow->pUserData : NULL;
    CUiManager* pUi = CUiManager::GetInstance();
    pUi->SetSelectedProgram(pEntry);
    if (g_ShowDetails.Value != 0 && pEntry != NULL) pUi->ShowProgramDetails(pEntry);
}

void CPageUninstallList::OnListItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLISTVIEW* pNM = (NMLISTVIEW*)pNMHDR;
    // Only a change of the selected state moves the selected program: a row that only
    // gains or loses the focus, its record or its texts leaves it alone.
    bool bSelectionChanged = ((pNM->uOldState ^ pNM->uNewState) & LVIS_SELECTED) != 0 || pNM->iItem < 0;
    if ((pNM->uChanged & LVIF_STATE) != 0 && bSelectionChanged && !m_bRefilling) {
        int nRow = pNM->iItem >= 0 && (pNM->uNewState & LVIS_SELECTED) != 0
                       ? pNM->iItem
                       : m_wndList.GetNextItem(-1, LVNI_SELECTED);
        if (nRow >= 0) {
            SelectRow(nRow);
        } else {
            // No row is selected: the commands refuse at once. A click on another row
            // takes the selection from the old row before it gives it to the new one,
            // so the details pane is emptied only when the list's change is over and
            // still no row is selected.
            CUiManager::GetInstance()->SetSelectedProgram(NULL);
            PostMessage(kMsgSelectionLost);
        }
    }
    *pResult = 0;
}

LRESULT CPageUninstallList::OnSelectionLost(WPARAM, LPARAM)
{
    if (m_wndList.GetNextItem(-1, LVNI_SELECTED) < 0 && CUiManager::GetInstance()->GetSelectedProgram() == NULL)
        DropSelection();
    return 0;
}

void CPageUninstallList::OnListClick(NMHDR*, LRESULT* pResult)
{
    // A click may have taken the selection away (empty space, Ctrl+click on the
    // selected row): the list's own state decides, not the row clicked.
    int nRow = m_wndList.GetNextItem(-1, LVNI_SELECTED);
    if (nRow >= 0)
        SelectRow(nRow);
    else
        DropSelection();
    *pResult = 0;
}

void CPageUninstallList::OnListRowDeleted(NMHDR*, LRESULT* pResult)
{
    // A refill deletes every row first: a long list's take a while, noted as the filling is.
    NoteMainWindowWorking();
    *pResult = 0;
}

void CPageUninstallList::OnListDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    // A command that ends at once, with its refill, is over before a hand's second
    // double-click, and a slow one (or one that asked first) may end just before it:
    // within a second of one that ran a command, and within a second after any command
    // that filled the list again was over and its rows reached the screen, none acts, on
    // whatever row moved under the pointer meanwhile. Judged by the time the hand made
    // the double-click, not when it is taken: its first press, since the second may come
    // up to the double-click time later (a slow hand, or a busy machine that delivers it
    // late), and a double-click begun before that counts as within; and by its first
    // press taken off the queue after the rest's timer came, since the system may stamp
    // input later than it was made. The rest after one that runs a command counts from
    // its second press.
    const ULONGLONG ullNow = ::GetTickCount64(), ullClick = CInputRule::InputTime(::GetMessageTime(), ullNow);
    const ULONGLONG ullBegun = std::min(ullClick, CInputRule::InputTime(m_wndList.LastPressTime(), ullNow));
    const ULONGLONG ullRest = std::max(m_ullCommandClick, m_ullCommandRefill);
    const bool bTakenInRest = m_restAwaits != RestAwaits::None || m_wndList.LastPressTaken() < m_ullRestOver;
    if (bTakenInRest || (ullRest != 0 && (ullBegun < ullRest || ullBegun - ullRest < kDoubleClickRest))) {
        // Aimed at the row the command acted on, whatever shows there now.
        CInputRule::InputDropped(WM_LBUTTONDBLCLK, MK_LBUTTON, ::GetMessageTime());
        return;
    }
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == NULL || pMainWnd->GetSafeHwnd() == NULL) return;
    m_ullCommandClick = ullClick;
    pMainWnd->SendMessage(WM_COMMAND, ID_PROGRAM_UNINSTALL, 0);
}

bool CPageUninstallList::IsOnHeader(CWnd* pWnd, CPoint ptScreen) const
{
    CHeaderCtrl* pHeader = m_wndList.GetHeaderCtrl();
    HWND hHeader = pHeader != NULL ? pHeader->GetSafeHwnd() : NULL;
    if (hHeader == NULL) return false;
    if (pWnd != NULL && pWnd->GetSafeHwnd() == hHeader) return true;
    CRect rcHeader;
    ::GetWindowRect(hHeader, &rcHeader);
    return ::IsWindowVisible(hHeader) && rcHeader.PtInRect(ptScreen);
}

CPoint CPageUninstallList::KeyboardMenuPoint()
{
    // The rows' area: the client area below the header.
    CRect rcRows;
    m_wndList.GetClientRect(&rcRows);
    CHeaderCtrl* pHeader = m_wndList.GetHeaderCtrl();
    if (pHeader != NULL && pHeader->GetSafeHwnd() != NULL && pHeader->IsWindowVisible()) {
        CRect rcHeader;
        pHeader->GetWindowRect(&rcHeader);
        m_wndList.ScreenToClient(&rcHeader);
        rcRows.top = std::min(std::max(rcRows.top, rcHeader.bottom), rcRows.bottom);
    }
    CPoint pt = rcRows.TopLeft();
    const int nRow = m_wndList.GetNextItem(-1, LVNI_SELECTED);
    CRect rcRow;
    if (nRow >= 0 && m_wndList.EnsureVisible(nRow, FALSE) && m_wndList.GetItemRect(nRow, &rcRow, LVIR_BOUNDS)) {
        // The row shows where it scrolled to before the menu covers part of it.
        m_wndList.UpdateWindow();
        // Past the row's icon, halfway down the row, inside the rows' area.
        pt.x = std::max(rcRow.left, rcRows.left) + ::GetSystemMetrics(SM_CXSMICON);
        pt.y = (rcRow.top + rcRow.bottom) / 2;
        pt.x = std::min(std::max(pt.x, rcRows.left), std::max(rcRows.left, rcRows.right - 1));
        pt.y = std::min(std::max(pt.y, rcRows.top), std::max(rcRows.top, rcRows.bottom - 1));
    }
    m_wndList.ClientToScreen(&pt);
    return pt;
}

void CPageUninstallList::OnContextMenu(CWnd* pWnd, CPoint point)
{
    // The program menu acts on the selected program. From the keyboard (the position is
    // -1, -1) it opens by that program's row, scrolled into view first, not wherever the
    // pointer rests over another row; with no row selected, at the list's top left with
    // the program commands greyed. The column header is about the columns, not a program.
    if (point.x == -1 && point.y == -1)
        point = KeyboardMenuPoint();
    else if (IsOnHeader(pWnd, point))
        return;
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    if (!pMenu->LoadMenu(m_hWnd, IDR_MENU_PROGRAM_CONTEXT, true)) {
        delete pMenu;
        return;
    }
    // Tracking goes on after the call returns; the menu deletes itself when it ends.
    if (!pMenu->TrackPopupMenu(0, point.x, point.y)) delete pMenu;
}

// ---- copy --------------------------------------------------------------------------------

CString CPageUninstallList::GetSelectedRowsText()
{
    CString strText;
    CHeaderCtrl* pHeader = m_wndList.GetHeaderCtrl();
    int nColumns = pHeader != NULL ? pHeader->GetItemCount() : 0;
    for (int nRow = m_wndList.GetNextItem(-1, LVNI_SELECTED); nRow >= 0;
         nRow = m_wndList.GetNextItem(nRow, LVNI_SELECTED)) {
        for (int nColumn = 0; nColumn < nColumns; ++nColumn) {
            strText += m_wndList.GetItemText(nRow, nColumn);
            strText += (nColumn + 1 < nColumns) ? ", " : "\r\n";
        }
    }
    return strText;
}

void CPageUninstallList::CopySelectedRows() { CopyToClipboard(AfxGetMainWnd(), GetSelectedRowsText()); }
