// The application's report list: a list view in report mode that the class paints
// entirely itself. It adds per-row and per-cell formats (text and background colour,
// bold text, a small icon), alternating row colours, dotted grid lines, full-width
// selection, flicker-free painting, tooltips for cut-off cells, a text sort on header
// clicks, and saving of the column widths and order in the application's profile.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

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
    // the user made it. A list whose rows change under the pointer refuses input aimed
    // at the rows it showed before; with it set, a double-click counts as one only when
    // both clicks were taken on the same row's data (pUserData).
    bool (*m_pfnTakesInput)(UINT message, DWORD dwTime) = NULL;

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
    // The last press of the right button was refused: its release asks for nothing.
    bool m_bRightRefused = false;
};
