// CExtReportGridColumn: one column of the report grid. It is the header cell the grid
// shows for the column and, at the same time, the object by which everything else names
// the column: the pair (column name = the header text, category name). Five flag bits say
// what the user may do with it; two extended style bits forbid sorting and dragging.
#pragma once
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"

class CExtReportGridWnd;

class CExtReportGridColumn : public CExtGridCellHeader
{
    DECLARE_SERIAL(CExtReportGridColumn)
public:
    enum e_flags_t : BYTE
    {
        __ERGCF_ACTIVE = 0x01,
        __ERGCF_GROUPING = 0x02,
        __ERGCF_ASCENDING = 0x04,
        __ERGCF_MENU_LISTED = 0x08,
        __ERGCF_ALIGNMENT_MENU = 0x10,
        __ERGCF_ALL = 0x1F,
    };
    enum e_style_ex_t : DWORD
    {
        __ERGCS_EX_NO_SORTING = 0x1,
        __ERGCS_EX_NO_DRAG = 0x2,
    };

    explicit CExtReportGridColumn(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtReportGridColumn();

    // ---- the column's own operations ------------------------------------------------
    virtual LPCTSTR ColumnNameGet() const;
    virtual void ColumnNameSet(LPCTSTR sName);
    virtual LPCTSTR CategoryNameGet() const;
    // Moves the column in its grid's categories registry first.
    virtual void CategoryNameSet(LPCTSTR sCategory);
    // Sets both without moving the column by name; a registered column is refiled.
    virtual void NameAndCategorySet(LPCTSTR sName, LPCTSTR sCategory);
    virtual bool MenuListedGet() const;
    virtual void MenuListedSet(bool bListed);
    virtual bool AlignmentMenuGet() const;
    virtual void AlignmentMenuSet(bool bEnabled);
    // Grouping needs sorting too.
    virtual bool GroupingEnabledGet() const;
    virtual void GroupingEnabledSet(bool bEnabled);
    virtual bool SortingEnabledGet() const;
    virtual void SortingEnabledSet(bool bEnabled);
    virtual bool DragEnabledGet() const;
    virtual void DragEnabledSet(bool bEnabled);
    virtual bool SortAscendingGet() const;
    virtual void SortAscendingSet(bool bAscending);
    virtual CSize MeasureHeader();

    bool IsActive() const { return (m_nFlags & __ERGCF_ACTIVE) != 0; }
    CExtReportGridWnd* GetReportGrid() const { return m_pReportGrid; }
    // The grid's transient paint marks (group area painting, drag image) that the
    // theme's report header painting reads; 0 without a grid.
    BYTE GetOwnerStyle() const;

    // ---- cell operations ---------------------------------------------------------------
    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    bool OnPaintBackground(EXT_GRID_CELL_PAINT_ARGS) const override;
    void OnPaintSortArrow(const RECT& rcSortArrow, EXT_GRID_CELL_PAINT_ARGS) const override;
    COLORREF OnQueryTextColor(EXT_GRID_CELL_PAINT_ARGS) const override;
    bool OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, UINT nButton, UINT nEvent,
                 UINT nFlags) override;
    bool OnOuterPressEnd(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, INT nButton, UINT nFlags,
                         bool bClicked, bool bDragStarted) override;

    // The command id of the column's entry in the header menu's column list; runtime
    // only, never stored.
    UINT m_nMenuCommandID;

protected:
    friend class CExtReportGridWnd;
    // Paints the band-style header: the separator lines, or the plain raised face.
    void PaintBandSeparators(CExtReportGridWnd& wndReport, CDC& dc, const RECT& rcCell, LONG nColNo) const;
    // The archive and the assignment of the column's own data, without the grid's registry.
    void SerializeFields(CArchive& ar);
    void AssignFields(const CExtGridCell& other);

    BYTE m_nFlags;
    CString m_strCategory;
    CExtReportGridWnd* m_pReportGrid;
};
