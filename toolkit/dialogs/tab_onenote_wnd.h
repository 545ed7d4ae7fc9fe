// The OneNote-look tab strip: every item carries a light and a dark colour of its own,
// taken from a seven-pair palette in turn unless the caller gives them, and is drawn as a
// tinted tab with a slanted leading edge.
#pragma once
#include "toolkit/dialogs/tab_wnd.h"

class CExtTabOneNoteWnd : public CExtTabWnd
{
    DECLARE_DYNCREATE(CExtTabOneNoteWnd)
public:
    class TAB_ITEM_INFO_ONENOTE : public TAB_ITEM_INFO
    {
    public:
        TAB_ITEM_INFO_ONENOTE(CExtTabWnd* pWndTab, TAB_ITEM_INFO* pPrev, TAB_ITEM_INFO* pNext, LPCTSTR sText,
                              const CExtCmdIcon* pIcon, DWORD dwItemStyle, LPARAM lParam, COLORREF clrLight,
                              COLORREF clrDark)
            : TAB_ITEM_INFO(pWndTab, pPrev, pNext, sText, pIcon, dwItemStyle, lParam), m_clrLight(clrLight),
              m_clrDark(clrDark)
        {
        }
        COLORREF m_clrLight;  // the fill
        COLORREF m_clrDark;
    };

    enum
    {
        __ETWS_ONENOTE_SUBCLASS_STYLE = 0x00105340,
        __ETW_ONENOTE_ITEM_THICKNESS = 19,
        __ETW_ONENOTE_FIRST_SLANT = 16,
    };

    CExtTabOneNoteWnd();
    virtual ~CExtTabOneNoteWnd();

    // A strip made from a dialog control takes the OneNote style word whole.
    void PreSubclassWindow() override;

    // Colours -1 (either of them) take the palette's next pair.
    TAB_ITEM_INFO* ItemInsert(LPCTSTR sText = NULL, const CExtCmdIcon* pIcon = NULL, DWORD dwItemStyle = 0,
                              int nIndex = -1, LPARAM lParam = 0, COLORREF clrLight = COLORREF(-1L),
                              COLORREF clrDark = COLORREF(-1L), bool bUpdate = false);
    // The palette pair of an index (modulo 7); a negative index gives the theme's face
    // colour for both. Either pointer may be NULL.
    void GetPaletteColors(int nIndex, COLORREF* pclrLight, COLORREF* pclrDark);
    // The two colours of an item; false when there is no such item.
    bool ItemGetColors(int nIndex, COLORREF* pclrLight, COLORREF* pclrDark) const;
    int GetNextPaletteIndex() const { return m_nNextColorIndex; }

    void OnTabWndQueryMetrics(int& m1, int& m2, int& m3) override;
    void OnTabWndUpdateItemMeasure(TAB_ITEM_INFO* pTii, CDC& dcMeasure, CSize& sizePreCalc) override;
    void OnTabWndEraseClientArea(CDC& dc, const RECT& rcClient, const RECT& rcTabItemsArea,
                                 const RECT& rcTabNearBorderArea, int nOrientation,
                                 bool bGroupedMode) override;
    void OnTabWndDrawItem(CDC& dc, const RECT& rcTabItemsArea, int nItemIndex, TAB_ITEM_INFO* pTii,
                          bool bTopLeft, bool bHorz, bool bSelected, bool bCenteredText,
                          bool bGroupedMode, bool bInGroupActive, bool bInvertedVerticalMode,
                          const RECT& rcEntireItem, CSize sizeTextMeasured, CFont* pFont,
                          LPCTSTR sText, CExtCmdIcon* pIcon) override;
    void ItemMoveImpl(int nIndexFrom, int nIndexTo) override;

    int m_nNextColorIndex;

protected:
    // The item outline of a strip at the top, in the item rectangle's coordinates
    // turned to the strip's side; nPoints gets the count.
    void BuildItemPolygon(int nItemIndex, const RECT& rcItem, POINT* pts, int& nPoints);
    void DrawContentSideLine(CDC& dc, const RECT& rcClient, const RECT& rcItemsArea, int nOrientation);
};
