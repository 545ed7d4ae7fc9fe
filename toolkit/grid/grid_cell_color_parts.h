// Up-down number cells for the parts of a colour (red, green or blue, 0..255, with a
// swatch and a list of preset values) and of a rectangle (a side, with a picture of it).
#pragma once
#include "toolkit/grid/grid_cell_updown.h"

class CExtGridCellUpDownColorPart : public CExtGridCellUpDown
{
    DECLARE_SERIAL(CExtGridCellUpDownColorPart)
public:
    enum e_color_part_t
    {
        __ECP_NONE = 0,
        __ECP_RED = 1,
        __ECP_GREEN = 2,
        __ECP_BLUE = 3,
    };
    explicit CExtGridCellUpDownColorPart(CExtGridDataProvider* pOwner = NULL);

    virtual void OnQueryListValues(CArray<int, int>& arrValues) const;

    INT m_nColorPart;
    INT m_nSwatchWidth, m_nSwatchHeight;
    // The value, 0 when it is no 32-bit number.
    INT GetPartValue() const;
    // The part's colour for a value: the value in the red, green or blue byte.
    COLORREF PartColor(INT nValue) const;

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    CSize IconGetSize() override;
    void OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon, EXT_GRID_CELL_PAINT_ARGS) const override;
    bool CanIncrement() override;
    bool CanDecrement() override;
    HRESULT OnParseText(LPCTSTR sText) const override;
    CSize OnQueryDropDownSize() const override;
    bool OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli) override;
    bool OnPopupListBoxItemMeasure(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli,
                                   LPMEASUREITEMSTRUCT pMIS) override;
    bool OnPopupListBoxItemDraw(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli,
                                LPDRAWITEMSTRUCT pDIS) override;
};

class CExtGridCellUpDownRectPart : public CExtGridCellUpDown
{
    DECLARE_SERIAL(CExtGridCellUpDownRectPart)
public:
    enum e_rect_part_t
    {
        __ERP_NONE = 0,
        __ERP_LEFT = 1,
        __ERP_TOP = 2,
        __ERP_RIGHT = 3,
        __ERP_BOTTOM = 4,
    };
    explicit CExtGridCellUpDownRectPart(CExtGridDataProvider* pOwner = NULL);

    INT m_nRectPart;

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    // The picture of the side: a dotted grey square with that edge solid and an arrow
    // pointing at it; NULL for no side.
    CExtCmdIcon* IconGet() override;
    CSize IconGetSize() override;
};
