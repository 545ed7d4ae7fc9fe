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
    // The row that shows the program of this registry key, or -1.
    int FindRow(const ProgramEntryKey& key) const;

    // Where the user was in the list before a refill: the program they chose, named by
    // its registry key (a full refresh frees the entry itself), and the focused row.
    struct ListPlace
    {
        bool bChosen = false;
        ProgramEntryKey chosen;
        int nFocusedRow = -1;
    };
    ListPlace TakePlace() const;
    // After a refill: the chosen program's row selected again when the list still shows
    // it, otherwise no row selected and the focus resting where it was (row 0 after the
    // first fill), so that the next key starts there. Answers the row to scroll into
    // view once redrawing is on again, or -1.
    int RestorePlace(const ListPlace& place);
    // No program is selected any more: the commands have none to act on and the
    // details pane shows none.
    void DropSelection();
    // The rows were filled again or moved: input aimed at them as they were goes
    // unhandled. After a full refresh that is everything queued for the main window;
    // after a re-filter (typed into the search box) only what reaches the list.
    void RowsReplaced(bool bFullRefresh);
    // The list's question before it takes a key or a click (the mediator answers).
    static bool TakesListInput(UINT message, DWORD dwTime);

    // Set while the rows are deleted and added again: the list's own selection
    // changes then say nothing about the program the user chose.
    bool m_bRefilling;
};
