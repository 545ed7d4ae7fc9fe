// CExtReportGridWnd: the report view. A tree grid whose columns are report columns
// registered under a category and a name, and whose rows are report items that the data
// provider groups and sorts by the report sort order. Its companion windows (group area,
// column chooser with its category combo box) are made on first request.
//
// Files: report_grid_wnd.cpp (construction, creation, styles, companions, texts),
// report_grid_wnd_columns.cpp (column registry, activation, cell styles),
// report_grid_wnd_items.cpp (items, sorting, rebuild, locks),
// report_grid_wnd_layout.cpp (the layout archive),
// report_grid_wnd_paint.cpp (painting and header interaction),
// report_grid_wnd_menu.cpp (the header context menu and its commands).
#pragma once
#include "toolkit/grid/tree_grid_wnd.h"
#include "toolkit/grid/scroll_bar.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/reportgrid/report_grid_column.h"
#include "toolkit/reportgrid/report_grid_data.h"
#include "toolkit/reportgrid/report_grid_ids.h"

class CExtReportGridColumnChooserWnd;

class CExtReportGridWnd : public CExtTreeGridWnd
{
    DECLARE_DYNCREATE(CExtReportGridWnd)
public:
    // Report style (GetReportStyle).
    enum e_report_style_t : DWORD
    {
        __ERGS_PREVIEW = 0x01,
        __ERGS_BAND_STYLE = 0x02,
        __ERGS_EXPAND_AFTER_REBUILD = 0x04,
        __ERGS_HEADER_MENU = 0x08,
        __ERGS_HEADER_MENU_COLUMN_LIST = 0x10,
        __ERGS_GROUP_CAPTION_SECOND_FONT = 0x20,
        __ERGS_DEFAULT = 0x1E,
    };
    // Transient paint marks the theme's report header painting reads.
    enum e_paint_flags_t : BYTE
    {
        __ERGPF_GROUP_AREA = 0x01,
        __ERGPF_DRAG_IMAGE = 0x02,
    };
    enum : UINT
    {
        __ID_COLUMN_CHOOSER = 7000,
        __ID_GROUP_AREA = 7001,
        __ID_FLOATING_POSITION = 0xE81F,
        __ID_HEADER_MENU = IDR_REPORT_GRID_HEADER_MENU,
        __ID_HEADER_MENU_BITMAP = IDB_REPORT_GRID_MENU_ICONS,
    };

    CExtReportGridWnd();
    virtual ~CExtReportGridWnd();

    // The shared 8 x 22 header image; empty until the first report grid loads it.
    static CExtBitmap g_bmpHeader;

    // ---- styles ------------------------------------------------------------------------
    virtual DWORD GetReportStyle() const;
    virtual DWORD ModifyReportStyle(DWORD dwAdd, DWORD dwRemove = 0, bool bRedraw = true);
    virtual DWORD GetReportStyleEx() const;
    virtual DWORD ModifyReportStyleEx(DWORD dwAdd, DWORD dwRemove = 0, bool bRedraw = true);
    virtual int GetMaxGroupByColumns() const;
    // A negative count counts as 0.
    virtual void SetMaxGroupByColumns(int nCount, bool bApply = true, bool bRedraw = true);
    virtual void OnGroupByLimitReached();
    void PreviewStyleSet(bool bOn, bool bRedraw = true);
    bool IsPreviewStyle() const { return (m_dwReportStyle & __ERGS_PREVIEW) != 0; }

    // ---- sorting and grouping -------------------------------------------------------------
    virtual const CExtReportGridSortOrder& SortOrderGet();
    virtual bool SortOrderSet(const CExtReportGridSortOrder& order, bool bNotify = true, bool bRedraw = true);
    virtual bool RebuildItems(bool bRedraw = true);
    virtual bool SortOrderCheck(const CExtReportGridSortOrder& order, bool bNotify = true);

    // ---- companion windows ------------------------------------------------------------------
    // The companions are made from their run-time classes (found by name) and kept as
    // windows; callers downcast to the companion's class.
    virtual CWnd* GetCategoryComboBox();
    virtual bool IsCategoryComboBoxVisible();
    virtual void ShowCategoryComboBox(bool bShow = true);
    virtual CWnd* GetColumnChooser();
    virtual bool IsColumnChooserVisible();
    virtual void ShowColumnChooser(bool bShow = true);
    virtual CWnd* GetGroupArea();
    virtual bool IsGroupAreaVisible();
    virtual void ShowGroupArea(bool bShow = true);

    // ---- column registry -------------------------------------------------------------------
    virtual CExtReportGridColumn* ColumnRegister(LPCTSTR sName, LPCTSTR sCategory, bool bActive = true,
                                                 bool bRedraw = true, CRuntimeClass* pColumnRTC = NULL);
    virtual bool ColumnActivate(LPCTSTR sName, LPCTSTR sCategory, bool bActivate = true, int nPos = -1,
                                bool bRedraw = true);
    virtual bool ColumnIsActive(LPCTSTR sName, LPCTSTR sCategory);
    virtual CExtReportGridColumn* ColumnFind(LPCTSTR sName, LPCTSTR sCategory);
    virtual int ColumnGetCount(bool bActive = true, bool bInactive = true);
    virtual POSITION ColumnGetStartPosition(LPCTSTR sCategory = NULL, bool bActive = true, bool bInactive = true);
    virtual CExtReportGridColumn* ColumnGetNext(POSITION& pos, LPCTSTR sCategory = NULL, bool bActive = true,
                                                bool bInactive = true);
    virtual bool ColumnUnregister(CExtReportGridColumn* pColumn, bool bRedraw = true);
    virtual bool ColumnIsOwn(const CExtReportGridColumn* pColumn) const;
    virtual int CellStyleWalk(CExtTreeGridCellNode* pNode, const CExtReportGridColumn* pColumn, DWORD dwValue,
                              DWORD dwMask, bool bStyleEx);
    virtual bool ColumnCellStyleModify(CExtReportGridColumn* pColumn, DWORD dwValue, DWORD dwMask, bool bStyleEx,
                                       bool bRedraw = true);
    virtual bool ColumnCellStyle300Set(CExtReportGridColumn* pColumn, DWORD dwValue, bool bRedraw = true);
    virtual bool ColumnCellStyle3000Set(CExtReportGridColumn* pColumn, DWORD dwValue, bool bRedraw = true);
    virtual bool ColumnCellStyle3Set(CExtReportGridColumn* pColumn, DWORD dwValue, bool bRedraw = true);
    virtual bool ColumnCellStyle30Set(CExtReportGridColumn* pColumn, DWORD dwValue, bool bRedraw = true);
    bool ColumnActivate(CExtReportGridColumn* pColumn, bool bActivate = true, int nPos = -1, bool bRedraw = true);
    bool ColumnIsActive(const CExtReportGridColumn* pColumn);
    int ColumnUnregisterAll(LPCTSTR sName = NULL, LPCTSTR sCategory = NULL, bool bRedraw = true);
    // Renames the registered column found by the old name and category: the column itself
    // takes the new name and category and is filed under them, in one step. Refused (false,
    // nothing changed) when no column has the old pair or another registered column
    // already has the new one.
    bool ColumnRegistryMove(LPCTSTR sOldName, LPCTSTR sOldCategory, LPCTSTR sNewName, LPCTSTR sNewCategory,
                            bool bRedraw = true);
    // A registered column other than pExcept (NULL: any) filed under that name and category; NULL
    // when there is none.
    CExtReportGridColumn* ColumnFindOther(LPCTSTR sName, LPCTSTR sCategory, const CExtReportGridColumn* pExcept);

    // ---- items ---------------------------------------------------------------------------
    virtual bool ItemsRegister(CTypedPtrArray<CPtrArray, CExtReportGridItem*>& arrItems, bool bUpdate = true,
                               bool bRedraw = true);
    virtual bool ItemUnregister(CExtReportGridItem* pItem, bool bFocusNext = true, bool bRedraw = true);
    virtual void ItemSelectRows(CExtReportGridItem* pItem);
    virtual bool ItemUnregisterAndFocusNext(CExtReportGridItem* pItem, bool bRedraw = true);
    virtual bool ItemFindFocusAfterRemoval(CExtReportGridItem*& pItem, bool bRedraw = true);
    virtual bool ItemsUnregisterSelected(bool bRedraw = true);
    virtual bool ItemIsOwn(const CExtReportGridItem* pItem);
    virtual CExtGridCell* ItemCellGet(const CExtReportGridColumn* pColumn, CExtReportGridItem* pItem,
                                      CRuntimeClass* pInitRTC = NULL);
    virtual CExtReportGridItem* ItemFocusedGet();
    virtual CExtReportGridItem* ItemFromNode(HTREEITEM hItem);

    // ---- companion creation and the combo's categories ---------------------------------------
    // Moves the chooser into its mini frame while it reports the floating position
    // (0xE81F) and back into the grid otherwise.
    virtual void PlaceColumnChooser();
    virtual bool CreateColumnChooser();
    virtual bool CreateCategoryComboBox();
    virtual bool CreateGroupArea();
    virtual void AddComboCategory(LPCTSTR sCategory);
    virtual void RemoveComboCategory(LPCTSTR sCategory);

    // ---- texts and messages --------------------------------------------------------------
    virtual void GetSortTooltipText(CString& strText, const CExtReportGridColumn* pColumn);
    virtual CString GetNoFieldsText();
    virtual CString GetChooserCaption();
    virtual CString GetGroupAreaEmptyText();
    virtual CString GetEmptyViewText();
    virtual void OnCannotGroupOrSort(const CExtReportGridSortOrder& order, int nIndex, bool bGroup);
    virtual void OnRebuildDone();

    // ---- painting (the painting file) -------------------------------------------------------
    // Extra space before (bAfter false) or after a row's item.
    virtual INT GetRowExtraSpace(CExtReportGridItem* pItem, bool bAfter);
    // Paints the header band (asked by the grid, flags the area flags) or a column's
    // header cell (asked by the column, flags its paint flags); false: nothing painted.
    virtual bool PaintHeaderBand(CDC& dc, const RECT& rc, CObject* pHelperSrc, DWORD dwFlags);
    virtual void PaintPreview(CDC& dc, const RECT& rcPreview, CExtReportGridItem* pItem, CExtGridCell* pPreviewCell);
    virtual COLORREF GetPreviewTextColor(CExtReportGridItem* pItem);

    // ---- command profile and header menu ---------------------------------------------------------
    virtual CString GetProfileName() const;
    virtual bool SetupCommandProfile();
    virtual void DestroyCommandProfile();
    virtual bool ShowHeaderContextMenu(CObject* pSource, CExtReportGridColumn* pColumn, CPoint ptScreen,
                                       const RECT* pRectExcludeScreen = NULL, DWORD dwTrackFlags = 0);
    // The menu file.
    virtual bool FillHeaderContextMenu(CExtPopupMenuWnd* pPopup, CExtReportGridColumn* pColumn,
                                       DWORD& dwTrackFlags);
    // The layout file.
    virtual bool SerializeLayout(CArchive& ar, bool bStyles = true, bool bSortOrder = true,
                                 bool bThrowExceptions = false, bool* pbMismatch = NULL);
    // The click callback of the header menu's column items.
    static bool OnColumnMenuItemClick(CExtPopupMenuWnd* pPopup, LPVOID pItemData);

    // ---- overrides of the tree grid ---------------------------------------------------------------
    CExtGridDataProvider* GetDataProvider() override;
    CExtReportGridDataProvider& GetReportDataProvider();
    CScrollBar* GetScrollBarCtrl(int nBar) const override;
    void UpdateScrollBars() override;
    bool OnInitializeWindow() override;
    int ColumnExtentGet(bool bLeftBand, int nColNo, bool bZeroWithoutRows = false) override;
    int RowExtentGet(bool bTopBand, int nRowNo, bool bZeroWithoutColumns = false) override;
    int GetColumnCount() const override;
    int GetRowCount() const override;
    // Removed header columns take their columns out of the sort order and the registry.
    int RemoveColumns(int nPos, int nCount = 1, bool bRedraw = true) override;
    bool EnsureColumnVisible(int nColumn, bool bRedraw = true) override;
    bool EnsureRowVisible(int nRow, bool bRedraw = true) override;
    bool OnQuerySelected(int nColumn, int nRow) override;
    bool IsSelected(int nColumn, int nRow) override;
    void NormalizeSelectionRect(RECT& rc) override;
    bool SetSortOrder(bool bColumns, const CExtGridDataSortOrder& order, bool bMerge = false, bool bInvert = true,
                      bool bRedraw = true) override;
    void OnOuterCellDragRemove(const HIT_TEST_INFO& htiSource) override;
    bool IsDragImageCentered() const override;
    void OnResizeTrack(bool bStart, bool bFinish, const POINT* pPoint = NULL) override;
    void OnCellValueChanged(CExtGridCell* pCell, LONG nRowNo, LONG nColNo, INT nRowType, INT nColType,
                            DWORD dwReserved = 0) override;
    bool IsTreeColumn(LONG nColNo) override;
    bool OnQueryCanCollapse(HTREEITEM hItem, LONG nColNo) override;
    bool OnQueryCanExpand(HTREEITEM hItem, LONG nColNo) override;
    bool OnQueryCellTextColor(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, COLORREF& clrText,
                              bool* pbDisabled = NULL) override;
    // Focus-cell mode: the focus marks one cell, not a row.
    bool IsFocusCellMode() const { return (GetScrollItemStyle() & 0x3000) == 0x1000; }
    bool OnCellEditStart(int nColumn, int nRow, int nColType, int nRowType, DWORD dwFlags, const RECT& rcExtent,
                         const RECT& rcCell, const RECT& rcThird) override;

    // ---- painting (report_grid_paint.cpp) ------------------------------------------------
    void OnPaintItems(CDC& dc, bool bFocused) override;
    void OnPaintCell(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow, const RECT& rcExtent,
                     const RECT& rcCell, LPARAM lReserved, DWORD dwAreaFlags, DWORD dwPaintFlags) override;
    void OnDrawFocusRect(CDC& dc, const RECT& rc) override;
    void OnPaintOuterAreaBackground(CDC& dc, const RECT& rc, DWORD dwAreaFlags) override;
    bool OnGridHookCellPaintBackground(const CExtGridCell& cell, CDC& dc, LONG nVisibleColNo, LONG nVisibleRowNo,
                                       LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                       const RECT& rcCellExtra, const RECT& rcCell, const RECT& rcVisibleRange,
                                       DWORD dwAreaFlags, DWORD dwHelperPaintFlags) override;
    bool OnQueryGridLines(bool bHorizontal, int nColumn, int nRow, DWORD dwAreaFlags) override;
    void OnQueryCellIndent(int nColumn, int nRow, int nColType, int nRowType, RECT& rcExtent, RECT& rcCell) override;
    // A group row's caption: the grouping column's name and its value in the group.
    virtual bool GetGroupRowCaption(CExtReportGridItem* pItem, CString& strText, int nLevel);
    virtual void PaintGroupRow(CDC& dc, CExtReportGridItem* pItem, const RECT& rcBand, DWORD dwPaintFlags,
                               bool bFocusRow, bool bSelected);
    virtual void PaintOutlineButton(CDC& dc, bool bExpanded, const RECT& rc);
    virtual void PaintTreeIndent(CDC& dc, CExtReportGridItem* pItem, const RECT& rcIndent);
    // The Luna scheme of the current theme (1-3), 0 for system colours.
    int GetLunaScheme();
    // The report item shown on an inner row, NULL for none.
    CExtReportGridItem* ItemAtRow(LONG nRow);
    // The indent a leaf gives up in band style, 0 elsewhere.
    INT BandLeafStep(CExtReportGridItem* pItem);

    // ---- header interaction (report_grid_header.cpp) ------------------------------------------
    bool OnGridCellQueryTipText(const CExtGridCell& cell, const HIT_TEST_INFO& hti, CString& strTipText) override;
    void TrackOuterCellDrag(CExtGridCell* pCell, const HIT_TEST_INFO& hti, int nButton, UINT nFlags) override;
    int OnOuterCellDropOutside(bool bDrop, int nPrevIndex, const RECT& rcImage, CExtGridCell* pCell,
                               const HIT_TEST_INFO& hti, CExtContentExpandWnd& wndMarker,
                               CExtContentExpandWnd& wndDragImage) override;
    void HitTestInSameBand(const HIT_TEST_INFO& htiRef, HIT_TEST_INFO& htiOut, CPoint point) override;
    // Where a column dropped at a client point would join the active columns: its index
    // (past the middle of a header: one further), -1 off the header band. The marker is
    // the vertical line at that place.
    virtual int HeaderDropPositionGet(CPoint ptClient, RECT* pRectMarker = NULL);
    // Lists the hidden columns of a category in the column chooser, by name.
    virtual void FillColumnChooser(LPCTSTR sCategory);
    // Lists again what the category combo box has selected.
    void RefreshColumnChooser();

    // ---- header menu commands (report_grid_menu.cpp) ----------------------------------------------
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    virtual void OnHeaderMenuSort(bool bAscending);
    virtual void OnHeaderMenuGroupBy();
    virtual void OnHeaderMenuBestFit();
    virtual void OnHeaderMenuRemoveColumn();
    virtual void OnHeaderMenuAlign(DWORD dwAlignment);
    virtual void OnUpdateHeaderMenu(CCmdUI* pCmdUI);

    // ---- state the companions and the painting read -------------------------------------------
    BYTE m_nPaintFlags;
    int m_nFirstColumnCommandID;
    CExtReportGridColumn* m_pContextColumn;
    CExtScrollBar m_wndScrollBarH;
    CExtScrollBar m_wndScrollBarV;

    // Update locks: raise and drop in pairs on one call path.
    int m_nLockPainting;
    int m_nLockScrollBars;
    int m_nLockGridLines;
    int m_nLockColumnVisibility;
    int m_nLockRowVisibility;

protected:
    void PreSubclassWindow() override;
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT OnMenuClosed(WPARAM wParam, LPARAM lParam);
    // The focus row's frame and the previews, after the cells.
    void PaintRowDecorations(CDC& dc, bool bFocused);
    CRect RowDecorationRect(CExtReportGridItem* pItem, const CRect& rcRow);
    // One header-menu command on the context column.
    void HeaderMenuCommand(UINT nID);

    // Registry helpers.
    typedef CTypedPtrArray<CPtrArray, CExtReportGridColumn*> ColumnArray;
    ColumnArray* CategoryArrayGet(LPCTSTR sCategory, bool bCreate);
    void CategoryArrayRemove(LPCTSTR sCategory, CExtReportGridColumn* pColumn);
    // Whether a registered column may take that name and category (no twin).
    bool ColumnRegistryMoveAllowed(CExtReportGridColumn* pColumn, LPCTSTR sNewName, LPCTSTR sNewCategory);
    // The column's setters and ColumnRegistryMove end here: a registered column takes the
    // name and category and is filed under them, or, when another registered column has
    // them, nothing changes (false). The name goes in first: it is the one step that can
    // fail (no memory), and then nothing else has moved.
    friend class CExtReportGridColumn;
    bool ColumnIdentitySet(CExtReportGridColumn* pColumn, LPCTSTR sName, LPCTSTR sCategory, bool bRedraw);
    // Files a registered column under the category it now names, taking it out of the one
    // it was filed under: for a column that took its category from an archive or another
    // cell and was judged by the rule already. Moves that very column, whatever the names
    // of the others.
    bool ColumnRegistryRefile(CExtReportGridColumn* pColumn, LPCTSTR sFiledCategory, bool bRedraw = true);
    void LocksRaise();
    void LocksDrop();
    // A text from the string table, or the built-in one.
    static CString LoadText(UINT nID, LPCTSTR sBuiltIn);
    // Updates the scroll bars and redraws when the window exists.
    void UpdateAndRedraw();
    // A floating chooser goes into a mini frame of its own, a docked one back into the grid.
    void MoveColumnChooser(CExtReportGridColumnChooserWnd* pChooser);

    DWORD m_dwReportStyle;
    DWORD m_dwReportStyleEx;
    int m_nMaxGroupByColumns;
    CMapStringToPtr m_mapCategories;
    CMapPtrToPtr m_mapColumns;
    BYTE m_nStateFlags;  // bit 0 initialised, bit 1 update pending until a menu closes,
                         // bit 2 the chooser being placed
    CWnd* m_pWndCategoryComboBox;
    CWnd* m_pWndColumnChooser;
    CWnd* m_pWndGroupArea;
    CString m_strProfileName;
    CExtReportGridDataProvider* m_pReportDP;

    DECLARE_MESSAGE_MAP()
};
