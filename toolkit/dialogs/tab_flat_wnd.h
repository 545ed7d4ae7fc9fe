// Two looks of the tab window. The flat strip draws its items as trapezoid tabs with
// slanted sides that overlap their neighbours, the selected one white and in front, on a
// band of fixed thickness with a dark line along the items' edge. The button strip draws
// every item as a push button on the base strip's band: only the selected (in group mode:
// the group-active) items are framed. Item model, layout, hit testing and the mouse stay
// the tab window's.
#pragma once
#include "toolkit/dialogs/tab_wnd.h"

class CExtTabFlatWnd : public CExtTabWnd
{
    DECLARE_DYNCREATE(CExtTabFlatWnd)
public:
    // Style bits read with a meaning of their own here: clear, the items' start (end)
    // side is slanted.
    enum
    {
        __ETWS_FLAT_NO_START_SLANT = 0x00020000,
        __ETWS_FLAT_NO_END_SLANT = 0x00040000,
        __ETW_FLAT_BAND_THICKNESS = 16,
    };

    CExtTabFlatWnd();
    virtual ~CExtTabFlatWnd();

    // ---- the flat strip's own queries ----------------------------------------------------
    virtual int GetItemSlant(bool bHorizontal, const RECT& rc);
    virtual void GetItemColors(int nItemIndex, bool bSelected, COLORREF& clrLight, COLORREF& clrShadow,
                               COLORREF& clrDarkShadow, COLORREF& clrFill, COLORREF& clrText);
    virtual void GetLineColor(COLORREF& clrLine);
    virtual void GetItemSlants(int nItem, bool bSelected, bool* pbStart, bool* pbEnd);
    virtual int GetFlatBandThickness(bool bHorizontal);

    // ---- the tab window's measuring and painting -----------------------------------------
    void OnTabWndQueryMetrics(int& m1, int& m2, int& m3) override;
    void OnTabWndDrawEntire(CDC& dc, const RECT& rcClient) override;
    void OnTabWndEraseClientArea(CDC& dc, const RECT& rcClient, const RECT& rcTabItemsArea,
                                 const RECT& rcTabNearBorderArea, int nOrientation,
                                 bool bGroupedMode) override;
    void OnTabWndUpdateItemMeasure(TAB_ITEM_INFO* pTii, CDC& dcMeasure, CSize& sizePreCalc) override;
    void OnTabWndDrawItem(CDC& dc, const RECT& rcTabItemsArea, int nItemIndex, TAB_ITEM_INFO* pTii,
                          bool bTopLeft, bool bHorz, bool bSelected, bool bCenteredText,
                          bool bGroupedMode, bool bInGroupActive, bool bInvertedVerticalMode,
                          const RECT& rcEntireItem, CSize sizeTextMeasured, CFont* pFont,
                          LPCTSTR sText, CExtCmdIcon* pIcon) override;
    void OnTabWndDrawButton(CDC& dc, const RECT& rcButton, int nHitTest, bool bTopLeft, bool bHorz,
                            bool bEnabled, bool bHover, bool bPushed, bool bGroupedMode) override;
    CSize OnTabWndQueryButtonSize() const override;

protected:
    // The 1-pixel line along the client edge that faces the items' open side.
    void DrawOpenSideLine(CDC& dc, const RECT& rcClient, int nOrientation);
    // Icon and text inside rcContent: the icon centred across the strip, the text after
    // it when there is room for it. bThemeIcon draws the icon through the paint manager.
    void DrawItemContent(CDC& dc, const RECT& rcContent, bool bHorz, bool bCenteredText,
                         bool bInvertedVerticalMode, CSize sizeTextMeasured, CFont* pFont,
                         LPCTSTR sText, CExtCmdIcon* pIcon, COLORREF clrText, bool bEnabled,
                         bool bThemeIcon);

    afx_msg LRESULT OnFlatSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CExtTabButtonsWnd : public CExtTabFlatWnd
{
    DECLARE_DYNCREATE(CExtTabButtonsWnd)
public:
    CExtTabButtonsWnd();
    virtual ~CExtTabButtonsWnd();

    void GetItemSlants(int nItem, bool bSelected, bool* pbStart, bool* pbEnd) override;
    void OnTabWndQueryMetrics(int& m1, int& m2, int& m3) override;
    void OnTabWndDrawEntire(CDC& dc, const RECT& rcClient) override;
    void OnTabWndEraseClientArea(CDC& dc, const RECT& rcClient, const RECT& rcTabItemsArea,
                                 const RECT& rcTabNearBorderArea, int nOrientation,
                                 bool bGroupedMode) override;
    void OnTabWndUpdateItemMeasure(TAB_ITEM_INFO* pTii, CDC& dcMeasure, CSize& sizePreCalc) override;
    void OnTabWndDrawItem(CDC& dc, const RECT& rcTabItemsArea, int nItemIndex, TAB_ITEM_INFO* pTii,
                          bool bTopLeft, bool bHorz, bool bSelected, bool bCenteredText,
                          bool bGroupedMode, bool bInGroupActive, bool bInvertedVerticalMode,
                          const RECT& rcEntireItem, CSize sizeTextMeasured, CFont* pFont,
                          LPCTSTR sText, CExtCmdIcon* pIcon) override;
    int OnTabWndQueryBandExtra(int nOrientation) override;

protected:
    afx_msg LRESULT OnButtonsSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
