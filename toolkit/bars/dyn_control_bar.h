// Nested docking: CExtDynControlBar, the container that takes the place of two or more
// resizable bars docked beside one another inside a row, and CExtDockDynBar, the dock
// bar inside it that divides the container's client area among those bars in rows of
// its own. A container left with one bar or none dissolves.
#pragma once
#include "toolkit/bars/dock_bar.h"

class CExtDockDynBar;

class CExtDynControlBar : public CExtControlBar
{
    DECLARE_DYNCREATE(CExtDynControlBar)
public:
    CExtDynControlBar();
    virtual ~CExtDynControlBar();

    CExtDockDynBar* m_pWndDynDocker;
    void* m_pReserved;
    bool m_bReserved;

    virtual CSize CalcNestedMinSize();
    virtual bool IsNestedQuery() const { return false; }
    virtual CExtDockDynBar* CreateInnerDockBar();

    // Every inner toolkit bar must allow what the container is asked.
    bool IsDraggingAllowed() const override;
    bool IsFloatToggleAllowed() const override;
    bool IsMenuButtonAllowed() const override;
    bool IsHidingAllowed() const override;
    bool IsAutoHidingAllowed() const override;
    bool IsRowResizingAllowed() const override;
    bool IsInRowResizingAllowed() const override;
    void ShowBar(bool bShow, bool bDelay = true, bool bActiveTabOnly = false) override;
    int GetMinHorzExtent() const override;
    int GetMinVertExtent() const override;
    CSize GetDefaultMinSize() const override;
    void OnPaintBackground(CDC& dc) override;
    void DrawNcArea(CDC& dc) override;
    // The toolkit bars docked inside, in array order.
    void GetInnerBars(CArray<CExtControlBar*, CExtControlBar*>& arrBars) const;

protected:
    bool IsHostedByDockBar() const;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};

class CExtDockDynBar : public CExtDockBar
{
    DECLARE_DYNAMIC(CExtDockDynBar)
public:
    CExtDockDynBar();
    virtual ~CExtDockDynBar();

    // One row of the visible layout: its visible bars and its measures.
    struct VisibleLayoutItem_t
    {
        CArray<CExtControlBar*, CExtControlBar*> m_arrBars;
        int m_nThickness;     // the first bar's docked thickness
        int m_nMinThickness;  // the smallest minimum extent across the row
        int m_nLength;        // the bars' docked lengths together
        int m_nMinLength;     // the bars' minimum extents along the row together
        VisibleLayoutItem_t() : m_nThickness(0), m_nMinThickness(0), m_nLength(0), m_nMinLength(0) {}
    };
    struct VisibleLayout_t
    {
        CTypedPtrArray<CPtrArray, VisibleLayoutItem_t*> m_arrRows;
        int m_nTotalThickness, m_nTotalMinThickness, m_nMaxMinLength;
        VisibleLayout_t() : m_nTotalThickness(0), m_nTotalMinThickness(0), m_nMaxMinLength(0) {}
        ~VisibleLayout_t();
        bool IsEmpty() const;
    };

    virtual void CollectBars(CArray<CControlBar*, CControlBar*>& arrBars) const;
    bool SetLayoutLock(bool bLock) override;
    CExtDynAutoHideArea* GetAutoHideArea() const override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void UpdateNestedLayout() override;
    void UpdateNestedLayout2() override;

    // Whether the container lies in a horizontal (top or bottom) dock bar.
    bool IsHorzContainer() const;
    void BuildVisibleLayout(VisibleLayout_t& layout) const;
    void ArrangeRows(VisibleLayout_t& layout, int cx, int cy);

protected:
    bool m_bRemovedFromFrameList;
    CExtDockBar* OuterDockBar() const;
    // The container leaves its outer dock bar and goes away.
    void DissolveContainer(CControlBar* pHeir);
    void HandContainerPlaceTo(CExtDynControlBar* pContainer, CDockBar* pOuter, CControlBar* pHeir);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
