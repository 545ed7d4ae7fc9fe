// The program list page: the search box above the five-column report list of
// installed programs. The page owns the catalogue and is its view: the catalogue hands
// every program entry to AddProgram, and the page decides whether the entry is shown
// (hide option, current group, search text) and builds its row.
#pragma once
#include "framework/framework.h"
#include "app/command_page.h"
#include "catalogue/catalogue.h"
#include "app/flat_edit.h"
#include "app/icon_cache.h"
#include "app/report_ctrl.h"

class CPageUninstallList : public CCommandPage, public IUninstallManager
{
public:
    CPageUninstallList();
    virtual ~CPageUninstallList();

    BOOL Create(CWnd* pParentWnd);

    // IUninstallManager: one entry of the catalogue, in catalogue order.
    void AddProgram(ProgramEntry* entry) override;
    // IUninstallManager: the registry's reading gets on (the window is at work meanwhile).
    void Reading() override;

    // Reads the registry again, fills and sorts the list. The program the user chose
    // stays selected while the list still shows it (found again by its registry key:
    // the refresh frees every entry); otherwise no row is selected. No refresh picks a
    // program for the user.
    void RefreshList();
    // Hands the entries already read over again (after a search or group change).
    // The selected program keeps its row selected while the list still shows it;
    // otherwise the selection is dropped.
    void FilterList();
    // The selected rows' texts ("a, b, c\r\n" per row) to the clipboard.
    void CopySelectedRows();
    // The same text, without the clipboard.
    CString GetSelectedRowsText();

    // When the user could first see the rows the last command that filled the list again
    // brought, from which no row double-click acts for a second (64-bit ticks); 0 while
    // the screen has not shown them yet, or before any such command.
    ULONGLONG CommandRowsSeen() const;
    // Whether the rest after such a command is over, or none runs.
    bool CommandRestOver() const { return m_restAwaits == RestAwaits::None; }
    // When the rest last ended, by the program's clock (64-bit ticks; 0: none ended yet).
    ULONGLONG CommandRestEnded() const { return m_ullRestOver; }

    // Whether the list leaves an entry out: hide option, current group, search text.
    bool IsFilteredOut(const ProgramEntry* pEntry) const;
    // Column texts.
    static CString FormatSize(LONGLONG nSize, int nSizeType);
    static CString FormatDate(const FILETIME& ftLastUsed);
    static CString FormatFrequency(int nFrequency);
    // The row order of the list view's sort: rows are ReportRowData records, the
    // parameter the page.
    static int CALLBACK CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    CExtEditWithIcon m_wndSearch;
    CExtReportCtrl m_wndList;
    CExtIconCache m_IconCache;
    CVrelPurgelet m_Catalogue;
    CString m_strSearch;

protected:
    BOOL OnInitDialog() override;

    HICON GetRowIcon(const ProgramEntry* pEntry);
    void SortRows();
    void UpdateCounts();

    afx_msg void OnSearchChange();
    afx_msg void OnHeaderItemClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnListItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnListClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnListDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnListRowDeleted(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg LRESULT OnSelectionLost(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Whether a context menu asked for at a point of the screen comes from the list's
    // column header (pWnd: the window the request names).
    bool IsOnHeader(CWnd* pWnd, CPoint ptScreen) const;
    // Where a context menu asked for from the keyboard opens, on the screen: by the
    // selected row, scrolled into view; with none, at the top left of the rows' area.
    CPoint KeyboardMenuPoint();

    void SelectRow(int nRow);

    // Where the user was in the list before a refill: the focused row and whether it was
    // in view, and the row at the top of the view. The program they chose, and the one
    // the top row showed, are sought while the rows are added (m_chosen, m_top).
    struct ListPlace
    {
        int nFocusedRow = -1;
        bool bFocusInView = false;
        int nTopRow = 0;
    };
    // Before a refill: the place, and the chosen program to seek among the new rows. With
    // bKeepView (a full refresh) the top row's program is sought too; otherwise (a new
    // search) the rows start at the top of what the list then shows.
    ListPlace TakePlace(bool bKeepView);
    // After a refill: the chosen program's row selected again when the list still shows
    // it, otherwise no row selected (no program selected, the details empty) and the
    // focus resting where it was (row 0 after the first fill), so that the next key
    // starts there. Answers the row to scroll into view once redrawing is on again, or -1
    // (the focus alone, out of view before: the view stays where it was).
    int RestorePlace(const ListPlace& place);
    // After a full refresh, once redrawing is on again: the rows in view stay where they
    // were. The row of the program the top row showed comes to the top again, or, where
    // that program is no longer listed, the row at the same place.
    void RestoreView(const ListPlace& place);
    // A program sought during a refill: named by its registry key (a full refresh frees
    // the entry itself), compared with each entry in place, and the record of the row
    // that shows it once AddProgram has added that row. The record travels with its row
    // through the sort, so the row is found again without a walk.
    struct SoughtRow
    {
        bool bSought = false;
        ProgramEntryKey key;
        const ReportRowData* pRow = NULL;
    };
    // The row AddProgram noted for a sought program, where the sort has put it, or -1.
    int FindRow(const SoughtRow& sought) const;
    // Notes the row just added when it shows a sought program.
    void NoteSoughtRows(const ProgramEntry* pEntry, const ReportRowData* pRow);
    // Sizes the list's row tables for every entry of the catalogue before the first row
    // of a fill, so that they do not move again and again while the rows come.
    void SizeRowTables();
    // No program is selected any more: the commands have none to act on and the
    // details pane shows none.
    void DropSelection();
    // The rows were filled again or moved: input aimed at them as they were goes
    // unhandled. After a full refresh the clicks queued for the main window go, and the
    // list takes no key made before it (TakesListInput); the rows that changed under the
    // pointer the list notes by itself.
    void RowsReplaced(bool bFullRefresh);
    // Input aimed at the window was dropped: the program it would have changed is the
    // target no more. No row stays selected, the commands have no program, and a refill
    // under way does not bring the chosen one back.
    void TargetGone();
    // The outermost command carried out is over: when it filled the list again, the
    // rest after it runs from when its rows reach the screen (painted, and seen there).
    void CommandEnded();
    // The list painted its rows.
    void RowsShown();
    // The rest after a command's refill waits until the screen shows the painted rows.
    void AwaitScreen();
    // The rest's timer came: the screen shows the rows (or will not in time), and the
    // rest runs from now; or the rest is over.
    void RestTimerCame();
    // The rest runs for a second from when the user could see the rows (64-bit ticks).
    void RestFrom(ULONGLONG ullSeen);
    // The list's question before it takes a key or a click made at dwTime.
    bool TakesListInput(UINT message, DWORD dwTime) const;
    // A key that would change the search text waits for the search box.
    bool TextKeyWaiting() const;
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    // When the registry was last read again while the window showed (64-bit ticks; 0:
    // not since).
    ULONGLONG m_ullRefilled = 0;
    // When a row double-click last ran a command (the click's time; 0: none yet).
    ULONGLONG m_ullCommandClick = 0;
    // When the rest after a command that filled the list again began: the refill, then
    // the command's end, then the rows' paint, then when the screen showed the painted
    // rows, which the user sees (0: none yet).
    ULONGLONG m_ullCommandRefill = 0;
    // When the list painted the rows a command brought (64-bit ticks).
    ULONGLONG m_ullRowsPainted = 0;
    // A command carried out now filled the list again.
    bool m_bCommandRefilled = false;
    // Where the rest after a command that filled the list again stands: none runs, it
    // waits for the rows' paint, or for the screen to show the painted rows, or it runs
    // until its timer comes.
    enum class RestAwaits
    {
        None,
        Paint,
        Screen,
        Running
    };
    RestAwaits m_restAwaits = RestAwaits::None;
    // When the rest's timer last said it was over (64-bit ticks; 0: not yet).
    ULONGLONG m_ullRestOver = 0;
    // The search text changed and the list waits for the rest of the word.
    bool m_bFilterWaiting = false;

    // Set while the rows are deleted and added again: the list's own selection
    // changes then say nothing about the program the user chose.
    bool m_bRefilling;

    // The program the user chose, sought during a refill.
    SoughtRow m_chosen;
    // The program at the top of the view, sought during a full refresh.
    SoughtRow m_top;
};
