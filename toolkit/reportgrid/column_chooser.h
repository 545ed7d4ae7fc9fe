// The column chooser of a report grid: a one-column grid that lists the grid's hidden
// columns ("fields") of one category as header buttons, so the user can drag one back
// into the grid's header or into the group area; the tool frame that floats it; and the
// combo box that picks the category.
#pragma once
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/grid/scroll_bar.h"
#include "toolkit/dialogs/combo_box.h"
#include "framework/miniframe.h"

class CExtReportGridWnd;
class CExtReportGridColumn;

class CExtReportGridColumnChooserWnd : public CExtGridWnd
{
    DECLARE_DYNCREATE(CExtReportGridColumnChooserWnd)
public:
    // The field dragged anywhere in the process; one field drag at a time.
    static CExtReportGridColumn* g_pColumnDragging;

    explicit CExtReportGridColumnChooserWnd(CExtReportGridWnd* pWndReport = NULL);
    virtual ~CExtReportGridColumnChooserWnd();

    CScrollBar* GetScrollBarCtrl(int nBar) const override;
    bool OnInitializeWindow() override;
    int QueryColumnExtent(int nColumn, int* pBefore = NULL, int* pAfter = NULL) override;
    void OnPaintItems(CDC& dc, bool bFocused) override;
    void OnPaintOuterAreaBackground(CDC& dc, const RECT& rc, DWORD dwAreaFlags) override;
    bool IsCellDragEnabled() override;
    bool OnCellPressedForDrag(HIT_TEST_INFO& hti) override;
    void OnOuterCellDragStart(const HIT_TEST_INFO& hti) override;
    bool GetCellRects(int nColumn, int nRow, int nColType = 0, int nRowType = 0, RECT* pRectExtent = NULL,
                      RECT* pRectCell = NULL, int* pnVisibleColumn = NULL, int* pnVisibleRow = NULL) override;
    // The dragged field paints itself into the drag image.
    bool OnPaintItemContent(CExtContentExpandWnd::ITEM_PAINT_INFO& _pi) override;

    virtual void DockedExtentsGet(int& nLeft, int& nTop, int& nRight, int& nBottom) const;
    virtual bool DockedExtentsSet(int nLeft, int nTop, int nRight, int nBottom);
    virtual UINT DockPositionGet() const;
    virtual void DockPositionSet(UINT nDockPosition);

    // The category whose hidden columns are listed.
    const CString& CategoryGet() const { return m_strCategory; }
    void CategorySet(LPCTSTR sCategory) { m_strCategory = sCategory != NULL ? sCategory : _T(""); }
    // Lists the given columns, one field per row, in the given order.
    bool FieldsSet(const CArray<CExtReportGridColumn*, CExtReportGridColumn*>& arrColumns);
    // The report grid's column a field row stands for; NULL when none.
    CExtReportGridColumn* FieldColumnGet(LONG nRowNo);
    CExtReportGridWnd* GetReportGrid() const { return m_pWndReport; }

    CExtScrollBar m_wndScrollBarV;

protected:
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSizeParent(AFX_SIZEPARENTPARAMS* pLayout);

    // The drag of one field.
    enum e_drop_t { DROP_NONE, DROP_AREA, DROP_HEADER };
    struct FIELD_DRAG_STATE
    {
        CExtReportGridColumn* pColumn;
        CExtReportGridColumn* pField;
        bool bGroupArea;
        e_drop_t eDrop;
        int nIndex;
        CExtContentExpandWnd* pWndImage;
        CExtContentExpandWnd* pWndMarker;
        CRect rcImageWnd;
        CPoint ptPress;
        CPoint ptDropClient;
    };
    void FieldDragLoop(FIELD_DRAG_STATE& st);
    void FieldDragFollow(FIELD_DRAG_STATE& st, CPoint ptScreen);
    void FieldDragApply(FIELD_DRAG_STATE& st);

    CExtReportGridWnd* m_pWndReport;
    int m_nDockedLeft, m_nDockedTop, m_nDockedRight, m_nDockedBottom;
    UINT m_nDockPosition;
    CString m_strCategory;
    HIT_TEST_INFO m_htiFieldPress;
    CExtReportGridColumn* m_pFieldDragged;
};

class CExtReportGridColumnChooserMiniFrameWnd : public CMiniFrameWnd
{
    DECLARE_DYNCREATE(CExtReportGridColumnChooserMiniFrameWnd)
public:
    static const char* const g_sWndClassName;

    explicit CExtReportGridColumnChooserMiniFrameWnd(CExtReportGridWnd* pWndReport = NULL);
    virtual ~CExtReportGridColumnChooserMiniFrameWnd();

    virtual bool Create();
    void RecalcLayout(BOOL bNotify = TRUE) override;

protected:
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CExtReportGridWnd* m_pWndReport;
};

class CExtReportGridCategoryComboBox : public CExtComboBoxBase
{
    DECLARE_DYNCREATE(CExtReportGridCategoryComboBox)
public:
    enum : UINT { __ID_CATEGORY_COMBO = 257 };

    explicit CExtReportGridCategoryComboBox(CExtReportGridWnd* pWndReport = NULL);
    virtual ~CExtReportGridCategoryComboBox();

    virtual bool Create(CWnd* pWndParent, bool bVisible);
    // Lists the hidden columns of the selected category in the report grid's chooser.
    virtual void OnCategorySelected();

protected:
    // Made by the grid without a class name or styles: it is a sorted drop-down list
    // whatever the caller asked for.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
    // A combo box the grid made from its run-time class goes with its window.
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CExtReportGridWnd* m_pWndReport;
    bool m_bAutoDelete;  // made without a grid, by the grid's run-time class
};
