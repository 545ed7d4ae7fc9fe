// The combo box cells: a string cell with a list of items picked from a drop-down
// list, stepped through with keys, the wheel or double clicks, or typed into; a kind
// without a text editor whose click opens the list; and the font face cell, whose list
// holds the screen's font families drawn in their own faces.
#pragma once
#include <vector>
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/core/cmd_icon.h"

class CExtGridCellComboBox : public CExtGridCellString
{
    DECLARE_SERIAL(CExtGridCellComboBox)
public:
    struct ITEM_INFO
    {
        CString m_strText;
        DWORD m_dwItemData;
        INT m_nListImage;          // list row not selected; -1 none
        INT m_nCellImage;          // the cell's icon part while the item is current
        INT m_nSelectedListImage;  // list row selected
        INT m_nIndent;             // indent level of the list row
        ITEM_INFO() : m_dwItemData(0), m_nListImage(-1), m_nCellImage(-1), m_nSelectedListImage(-1), m_nIndent(0) {}
        virtual ~ITEM_INFO() {}
    };

    explicit CExtGridCellComboBox(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellComboBox();

    // Inserts before nIndex (an index outside the list appends); returns the index used.
    INT InsertItem(LPCTSTR sText, DWORD dwItemData = 0, INT nIndex = -1);
    void RemoveAllItems();
    INT GetItemCount() const { return (INT)m_arrItems.size(); }
    INT GetCurSel() const;
    // -1 clears the current item; another index outside the list fails. With bSetText
    // the cell's text becomes the item's (empty for -1).
    bool SetCurSel(INT nIndex, bool bSetText = true);
    // The first item after nStartAfter (wrapping; from the start for -1) whose text
    // equals sText ignoring case; -1 when none or for an invalid start.
    INT FindItem(LPCTSTR sText, INT nStartAfter = -1) const;
    INT FindItemContaining(LPCTSTR sText, INT nStartAfter = -1, bool bCaseSensitive = false) const;
    LPCTSTR GetItemText(INT nIndex) const;
    DWORD GetItemData(INT nIndex) const;
    ITEM_INFO* GetItemInfo(INT nIndex) const;
    // Keeps a duplicate of a non-empty list; NULL or an empty list leaves none.
    void SetImageList(HIMAGELIST hImageList);
    HIMAGELIST GetImageList() const { return m_hImageList; }
    bool IsItemBound() const { return m_bItemBinding; }
    void SetItemBound(bool bBound) { m_bItemBinding = bBound; }

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    CExtCmdIcon* IconGet() override;
    CSize IconGetSize() override;
    bool OnQueryButtonInfo(INT nButtonType, bool* pbEnabled, bool* pbPressed = NULL, bool* pbHold = NULL,
                           DWORD* pnRepeatDelay = NULL) const override;
    bool CanIncrement() override;
    bool CanDecrement() override;
    // Previous (up) and next (down) item, wrapping at the ends.
    bool Increment() override;
    bool Decrement() override;
    bool OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCell,
                             const RECT& rcCellExtra, const RECT& rcCell) override;
    void OnInplaceControlApply(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo, INT nColType,
                               INT nRowType, LPCTSTR sTextNew, bool bSaveChanges) override;
    HRESULT OnParseText(LPCTSTR sText) const override;
    CSize OnQueryDropDownSize() const override;
    bool OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli) override;
    bool OnPopupListBoxSelEndOK(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli) override;
    bool OnPopupListBoxItemDraw(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli,
                                LPDRAWITEMSTRUCT pDIS) override;
    bool OnPopupListBoxItemMeasure(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli,
                                   LPMEASUREITEMSTRUCT pMIS) override;

    // A new font for the item's list row the caller deletes, or NULL for the list's font.
    virtual HFONT GetItemFont(INT nIndex) const;
    virtual void GetItemIcons(INT nIndex, CExtCmdIcon& iconList, CExtCmdIcon& iconListSelected,
                              CExtCmdIcon& iconCell) const;
    virtual INT GetItemIndent(INT nIndex) const;
    virtual INT GetIndentStep() const;

    bool m_bItemBinding;
    HIMAGELIST m_hImageList;
    ITEM_INFO* m_pCurrentItem;
    std::vector<ITEM_INFO*> m_arrItems;

protected:
    // One step from the current item; false for an empty list.
    bool _Step(bool bNext);
    // The text part of a list row: the row's text in its font and colours.
    virtual void _DrawRowText(CDC& dc, INT nIndex, const CString& strText, CRect rcText, bool bSelected) const;
    // A row's size without indent: the wider icon, the text and the margins.
    CSize _MeasureRow(INT nIndex, bool bWithIndent) const;

    CExtCmdIcon m_iconCell;
};

class CExtGridCellDropListComboBox : public CExtGridCellComboBox
{
    DECLARE_SERIAL(CExtGridCellDropListComboBox)
public:
    explicit CExtGridCellDropListComboBox(CExtGridDataProvider* pOwner = NULL);
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    // A plain left click opens the list.
    bool OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, UINT nButton, UINT nEvent,
                 UINT nFlags) override;
};

class CExtGridCellFontFaceName : public CExtGridCellComboBox
{
    DECLARE_SERIAL(CExtGridCellFontFaceName)
public:
    explicit CExtGridCellFontFaceName(CExtGridDataProvider* pOwner = NULL);

    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    CSize IconGetSize() override;
    void OnPaint(EXT_GRID_CELL_PAINT_ARGS) const override;
    void OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon, EXT_GRID_CELL_PAINT_ARGS) const override;
    CSize OnQueryListItemMargins() const override;
    HFONT GetItemFont(INT nIndex) const override;

    virtual void RebuildFontList();
    virtual int OnEnumFont(const ENUMLOGFONTEX* pELF, const NEWTEXTMETRICEX* pNTM, DWORD dwFontType);
    // The shared glyph of the item's font type, or NULL.
    virtual HBITMAP GetFontTypeBitmap(INT nIndex) const;

    // The 11 x 11 glyph with its 0xFF00FF pixels left out, at (x, y).
    static void stat_DrawGlyph(HDC hDC, HBITMAP hBitmap, int x, int y);

protected:
    void _DrawRowText(CDC& dc, INT nIndex, const CString& strText, CRect rcText, bool bSelected) const override;
    // The font of an item's face from its item data, or NULL.
    HFONT _CreateFaceFont(INT nIndex) const;
};
