// CExtReportGridGroupAreaWnd: the band above a report grid that shows its group-by
// columns as a staircase of header buttons joined by elbow lines, or a hint while nothing
// is grouped. A click reverses a group's direction, a drag reorders the groups or, dropped
// on the grid's header or elsewhere, stops grouping by that column.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/hook_sink.h"

class CExtReportGridWnd;
class CExtReportGridColumn;
class CExtReportGridSortOrder;
class CExtContentExpandWnd;

class CExtReportGridGroupAreaWnd : public CWnd, public CExtMouseCaptureSink
{
    DECLARE_DYNCREATE(CExtReportGridGroupAreaWnd)
public:
    static const char* const g_sWndClassName;
    // The column whose button is dragged anywhere in the process; one drag at a time.
    static CExtReportGridColumn* g_pColumnDragging;
    static bool RegisterGroupAreaWndClass();

    // Made without a grid, the window takes its parent report grid when it is created.
    explicit CExtReportGridGroupAreaWnd(CExtReportGridWnd* pWndReport = NULL);
    virtual ~CExtReportGridGroupAreaWnd();

    virtual bool OnQueryAllowSubclassing();
    virtual int MinHeightGet() const;
    virtual int MinHeightSet(int nHeight);
    virtual int MaxItemWidthGet() const;
    virtual int MaxItemWidthSet(int nWidth);
    virtual RECT MarginsGet() const;
    virtual void MarginsSet(const RECT& rcMargins);
    virtual const CExtReportGridSortOrder* GetReportSortOrder();
    virtual void CalcSize(SIZE& size);
    virtual void MeasureItem(SIZE& size, CExtReportGridColumn* pColumn);
    virtual SIZE GetItemStep() const;
    virtual void GetConnectorInfo(CPen* pPen, int& nInsetH, int& nLengthV);
    virtual int HitTestItem(CPoint point, RECT* pRectItem = NULL);
    virtual int HitTestDropPosition(CPoint point);
    virtual bool GetDropMarkerRect(int nIndex, RECT& rcMarker);

    CExtReportGridWnd* GetReportGrid() const { return m_pWndReport; }
    // The button rectangles in client coordinates, one per group-by column.
    int GetItemRects(CArray<CRect, const CRect&>& arrRects, CArray<CExtReportGridColumn*, CExtReportGridColumn*>* pColumns = NULL);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
    // A band the grid made from its run-time class goes with its window.
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnPaintArea();
    void PaintButtons(CDC& dc, const CArray<CRect, const CRect&>& arrRects,
                      const CArray<CExtReportGridColumn*, CExtReportGridColumn*>& arrColumns);
    void PaintHint(CDC& dc, const CRect& rcClient, const CString& strHint);
    void PaintColumnButton(CDC& dc, CExtReportGridColumn* pColumn, int nIndex, int nCount, const RECT& rc,
                           DWORD dwAreaFlags, DWORD dwPaintFlags);
    bool OnLButtonDownArea(CPoint point);
    bool OnRButtonDownArea(CPoint point);
    void OnSizeParent(AFX_SIZEPARENTPARAMS* pLayout);

    // The drag of one button: what ended it and where.
    enum e_drop_t { DROP_NONE, DROP_CLICK, DROP_AREA, DROP_HEADER, DROP_ELSEWHERE };
    struct DRAG_STATE
    {
        CExtReportGridColumn* pColumn;
        int nIndex;          // the dragged button
        CRect rcItem;        // its rectangle, client coordinates
        CPoint ptPress;      // screen
        bool bDragging;
        e_drop_t eDrop;
        int nDropIndex;      // in the group area, or the header position
        CPoint ptDropClient; // the grid's client point of a header drop
        CExtContentExpandWnd* pWndImage;
        CExtContentExpandWnd* pWndMarker;
    };
    bool DragLoop(DRAG_STATE& st);
    void DragFollow(DRAG_STATE& st, CPoint ptScreen);
    void DragApply(DRAG_STATE& st);

    CExtReportGridWnd* m_pWndReport;
    CExtReportGridColumn* m_pColumnDragged;
    bool m_bCreatedDirectly : 1;
    bool m_bAutoDelete : 1;  // made without a grid, by the grid's run-time class
    int m_nMinHeight;
    int m_nMaxItemWidth;
    RECT m_rcMargins;
};
