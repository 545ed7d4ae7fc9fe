// The application's report list: a list view in report mode that the class paints
// entirely itself. It adds per-row and per-cell formats (text and background colour,
// bold text, a small icon), alternating row colours, dotted grid lines, full-width
// selection, flicker-free painting, tooltips for cut-off cells, a text sort on header
// clicks, and saving of the column widths and order in the application's profile.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"
#include <functional>
#include <string>
#include <vector>

// The format of one cell. Only cell 0's colours and boldness are read: they format the
// whole row. The icon is borrowed, never destroyed.
struct ReportCellFormat
{
    bool bBold = false;
    COLORREF clrBack = 0xFFFFFF;
    bool bBackSet = false;
    COLORREF clrText = 0xFFFFFF;
    bool bTextSet = false;
    HICON hIcon = NULL;
};

// Held as the row's item data; the control owns it (not pUserData).
struct ReportRowData
{
    CArray<ReportCellFormat, ReportCellFormat&> cells;
    void* pUserData = NULL;
};

class CExtReportCtrl : public CListCtrl, public CExtPmBridge
{
    DECLARE_DYNAMIC(CExtReportCtrl)
public:
    CExtReportCtrl();
    virtual ~CExtReportCtrl();

    virtual void ApplyListStyles();
    virtual void DrawRows(CDC* pDC, const RECT* pClient);
    virtual void DrawRow(CDC* pDC, int nRow);
    // nAlign 0 left, 1 centre, 2 right.
    virtual void DrawSubItem(CDC* pDC, int nRow, int nColumn, int nAlign, bool bSelected);
    virtual bool HitTestCell(POINT pt, int* pRow, int* pColumn, RECT* pCell);
    // nHigh -1 means the last row.
    virtual bool SortByColumnText(int nColumn, bool bAscending, int nLow, int nHigh);
    virtual void MeasureRow(MEASUREITEMSTRUCT* pMeasure);

    void SetRowHeight(int nHeight);
    ReportRowData* GetRowData(int nRow);
    ReportCellFormat& GetCellFormat(ReportRowData* pRow, int nColumn);
    void SaveColumnWidths();
    void SaveColumnOrder();
    void DeselectAll();
    // With no row selected, selects the focused row; false when there is none to select.
    bool SelectFocusedRow();
    BOOL RedrawRow(int nRow);

    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    // The paint-manager bridge.
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    int m_nRowHeight;
    COLORREF m_clrGrid1;
    COLORREF m_clrGrid2;
    bool m_bAlternateRows;
    COLORREF m_clrGridLines;
    bool m_bGridLines;
    CString m_strProfileSection;
    CString m_strProfileWidths;
    CString m_strProfileOrder;
    bool m_bSaveLayout;
    int m_nClientWidth;
    int m_nSortColumn;
    bool m_bSortAscending;
    bool m_bSortOnHeaderClick;
    // Asked, when set, before the list takes a click or a key: the message and the time
    // the user made it. With it set the list also watches its rows under the pointer: a
    // click on a row that changed there a moment before (filled again, sorted, scrolled,
    // uncovered) or under a window of the program that just closed goes unhandled, as
    // aimed at what showed there before; a double-click counts as one only when both
    // clicks were taken on the same row's data (pUserData). Refused input goes to the
    // input rule (CInputRule::InputDropped), which takes the program the commands act on
    // away, so that no command acts on the row the user was moving away from.
    std::function<bool(UINT message, DWORD dwTime)> m_fnTakesInput;
    // Called, when set, each time the list has ended a paint of its rows: what the user
    // sees of them changes then at the earliest (the system may show them later).
    std::function<void()> m_fnShown;

    // Whether the list takes a click made at dwTime (the message's time) at a point of
    // its client area: its owner's question, the rows that changed there and the
    // windows that closed over it.
    bool TakesClickAt(UINT message, CPoint point, DWORD dwTime);
    // Whether no shown row changed less than the double-click time before ullNow (the
    // 64-bit tick count): every click is the owner's to decide.
    bool RowsSettled(ULONGLONG ullNow) const;
    // When the left button was pressed for the click the list took last (the message's
    // time): the first half of the double-click the list reports, when it reports one.
    DWORD LastPressTime() const { return m_dwPressTime; }
    // When the list took that press off the queue (64-bit ticks): made before then,
    // whatever time the system stamped on it.
    ULONGLONG LastPressTaken() const { return m_ullPressTaken; }
    // Every shown row changed under the pointer now (a pane that covered the list went).
    void RowsUncovered();
    // What the screen shows of the rows' area where the list lies uncovered on it, against
    // what the list last painted there: the same; something else (the system has not put
    // the paint on the screen yet); or nothing of the rows shows (hidden, minimised,
    // covered, off the screen) or the screen cannot be read.
    enum class ScreenShows
    {
        Painted,
        Other,
        Nothing
    };
    ScreenShows CompareRowsWithScreen() const;
    // Dropped input: the selected row is selected no more; the focus stays, so that the
    // keys go on from there.
    void DropSelectionForRefused();

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnClickReflect(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnKeyDownReflect(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnKillFocusReflect(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnInsertItemReflect(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnDeleteItemReflect(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    // Paints the rows through an off-screen buffer, then the themed one-pixel frame.
    void PaintClient(CDC* pDC, const CRect& rcClient);
    // The client area below the header: where the rows paint.
    CRect RowsArea() const;
    void InvalidateBelowHeader();
    // A key that moves through the rows, in a list with no row selected yet.
    LRESULT OnRowKey(WPARAM wParam, LPARAM lParam);
    // A mouse button pressed in the list, through m_pfnTakesInput.
    LRESULT OnButtonInput(UINT message, WPARAM wParam, LPARAM lParam);
    // The user data of the row at a point of the client area, or NULL.
    void* RowDataAt(CPoint point);
    CString CellText(int nRow, int nColumn) const;
    COLORREF ListBkColor() const;
    void SwapRows(int nFirst, int nSecond, int nColumns);

    // The last press of the left button: whether the list took it, and on which row's data.
    bool m_bClickTaken = false;
    void* m_pClickData = NULL;
    DWORD m_dwPressTime = 0;
    ULONGLONG m_ullPressTaken = 0;
    // The last press of the right button was refused: its release asks for nothing.
    bool m_bRightRefused = false;

    // What each place of a row on screen (counted from the top of the rows' area) shows,
    // and when that last changed while the window showed (0: not since it first showed).
    struct ShownRow
    {
        std::string text;
        ULONGLONG ullChanged = 0;
    };
    std::vector<ShownRow> m_shownRows;
    // Redrawing is off: the rows are being filled or sorted, and what shows is compared
    // once it is on again.
    bool m_bRedrawOff = false;
    // Compares what the rows' places show now with what they showed, and notes the time
    // of each change (all of them with bAll).
    void NoteShownRows(bool bAll = false);
    // The place of the row under a point of the client area, or -1 above the rows.
    int ShownRowAt(CPoint point) const;
    // The top of the rows' area in the client area.
    int RowsTop() const;
};
