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
    // A registered column takes its new name or category together with its grid's
    // categories registry. The name and category setters of a registered column leave it
    // as it is when another registered column already has the pair it would take.
    virtual void CategoryNameSet(LPCTSTR sCategory);
    // Sets both in one step; a registered column is refiled under the new pair.
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

    // What the grid's saved layout keeps of a column and matches it by: its name and
    // category, its three extents and its proportional extent.
    struct LAYOUT_FIELDS
    {
        CString m_strName, m_strCategory;
        INT m_nCurrent = 10, m_nMin = 10, m_nMax = 32767;
        double m_lfProportional = 0.0;
    };
    enum e_layout_fault_t : DWORD
    {
        // An extent the layout reader refuses: a negative current or minimum extent, a
        // maximum below the minimum, a proportional extent that is no finite number.
        __ERGC_LAYOUT_BAD_EXTENTS = 0x1,
        // Another column registered in the grid has the same name and category: every
        // lookup would find one of the two, and a layout that stored both would not
        // read back once they differ in sorting or grouping.
        __ERGC_LAYOUT_TWIN = 0x2,
    };
    // The one rule for what a column may hold so that the grid's own saved layout reads
    // back: the layout reader, the column's archive and every setter of the name, the
    // category and the extents ask it, and so does the grid before it registers or
    // renames a column. pGrid NULL checks the extents only; pColumn is the column the
    // fields would belong to (NULL: a column about to be registered). Answers the
    // faults found, 0 for none.
    static DWORD stat_LayoutFaults(const LAYOUT_FIELDS& fields, CExtReportGridWnd* pGrid,
                                   const CExtReportGridColumn* pColumn);
    // The column's present layout fields (the layout's defaults where the cell keeps
    // no extent).
    LAYOUT_FIELDS LayoutFieldsGet();

    bool IsActive() const { return (m_nFlags & __ERGCF_ACTIVE) != 0; }
    CExtReportGridWnd* GetReportGrid() const { return m_pReportGrid; }
    // The grid's transient paint marks (group area painting, drag image) that the
    // theme's report header painting reads; 0 without a grid.
    BYTE GetOwnerStyle() const;

    // ---- cell operations ---------------------------------------------------------------
    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    // A registered column keeps its owner and its grid, and its name empties only under
    // the name setters' rule.
    void Reset() override;
    // A registered column keeps the owner of its grid's header row (the call answers it).
    CExtGridDataProvider* SetOwner(CExtGridDataProvider* pOwner) override;
    // Extents the layout reader would refuse are refused (false, the column unchanged).
    bool ExtentAccess(INT& nExtent, bool bGet, INT nType = 0) override;
    bool ProportionalExtentAccess(double& lfExtent, bool bGet) override;
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
    friend class CExtReportGridDataProvider;
    // Paints the band-style header: the separator lines, or the plain raised face.
    void PaintBandSeparators(CExtReportGridWnd& wndReport, CDC& dc, const RECT& rcCell, LONG nColNo) const;
    // The archive and the assignment of the column's own data, without the grid's registry.
    void SerializeFields(CArchive& ar);
    void AssignFields(const CExtGridCell& other);
    // Whether the column may take this name and category: no other column of its grid
    // has them (always, while it is not registered).
    bool LayoutAcceptsIdentity(LPCTSTR sName, LPCTSTR sCategory);
    // The extents alone (the names stay empty): what the extent setters judge, often
    // while the grid resizes its columns.
    LAYOUT_FIELDS ExtentFieldsGet();
    // Unlinks the column from its grid for a while (an archive read, an assignment), so
    // that its fields change without the registry and are judged once, when all are in;
    // the link comes back however that ends.
    struct GridUnlink
    {
        CExtReportGridColumn& m_column;
        CExtReportGridWnd* const m_pGrid;
        explicit GridUnlink(CExtReportGridColumn& column) : m_column(column), m_pGrid(column.m_pReportGrid)
        {
            column.m_pReportGrid = NULL;
        }
        ~GridUnlink() { m_column.m_pReportGrid = m_pGrid; }
        GridUnlink(const GridUnlink&) = delete;
        GridUnlink& operator=(const GridUnlink&) = delete;
    };

    BYTE m_nFlags;
    CString m_strCategory;
    CExtReportGridWnd* m_pReportGrid;
};
