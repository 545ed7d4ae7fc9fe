// Cells that show or edit a number graphically: the up-down cell (buttons, wheel and
// arrow keys step its value), the font weight cell (1 to 900 with the nine named
// weights in a drop-down list), the slider cell edited with an in-place slider, and
// the progress cell painted as a bar with an optional text.
#pragma once
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_cell_variant.h"

class CExtGridCellUpDown : public CExtGridCellVariant
{
    DECLARE_SERIAL(CExtGridCellUpDown)
public:
    explicit CExtGridCellUpDown(CExtGridDataProvider* pOwner = NULL);

    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    bool OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCell,
                             const RECT& rcCellExtra, const RECT& rcCell) override;

protected:
    // One step from the editor: the grid hears of a change, the editor shows the new
    // text selected whole.
    void _StepFromEditor(bool bUp, HWND hWndInplaceControl, CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCell);
};

class CExtGridCellUpDownFontWeight : public CExtGridCellUpDown
{
    DECLARE_SERIAL(CExtGridCellUpDownFontWeight)
public:
    explicit CExtGridCellUpDownFontWeight(CExtGridDataProvider* pOwner = NULL);

    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    bool CanIncrement() override;
    bool CanDecrement() override;
    HRESULT OnParseText(LPCTSTR sText) const override;
    CSize OnQueryDropDownSize() const override;
    bool OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli) override;
    bool OnPopupListBoxSelEndOK(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli) override;

    // The nine (name, weight) rows in order; both arrays are emptied first.
    virtual void GetWeightList(CStringArray& arrNames, CDWordArray& arrWeights) const;
    // The value as a weight (0 when it is no number).
    LONG GetWeight() const;
};

class CExtGridCellSlider : public CExtGridCellVariant
{
    DECLARE_SERIAL(CExtGridCellSlider)
public:
    explicit CExtGridCellSlider(CExtGridDataProvider* pOwner = NULL);

    // The position: the value when it is VT_I4, else 0. Setting returns the old one.
    INT GetPos() const;
    INT SetPos(INT nPos);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    HWND OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                const RECT& rcInplaceControl, LONG nLastEditedColNo, LONG nLastEditedRowNo) override;
    void OnInplaceControlApplyInteger(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo,
                                      INT nColType, INT nRowType, INT nValue, bool bSaveChanges) override;

    INT m_nLineSize;
    INT m_nPageSize;
    INT m_nRangeMin;
    INT m_nRangeMax;
};

class CExtGridCellProgress : public CExtGridCellString
{
    DECLARE_SERIAL(CExtGridCellProgress)
public:
    enum e_text_mode_t
    {
        __ETM_NONE = 0,
        __ETM_TEXT = 1,
        __ETM_PERCENT = 2,
        __ETM_POSITION = 3,
        __ETM_TEXT_PERCENT = 4,
        __ETM_TEXT_POSITION = 5,
    };

    explicit CExtGridCellProgress(CExtGridDataProvider* pOwner = NULL);

    // |position - minimum| / (maximum - minimum), 0 for an empty range; bClamp keeps it
    // within 0 ... 1 as the bar and its percentage show it.
    double GetFilledFraction(bool bClamp = true) const;
    INT GetPercent() const;
    // The text the bar shows by the text mode; empty for none.
    CString GetProgressText() const;
    // Adds the step to the position, within the range.
    void StepIt();
    // The bar's part of rc by the direction flags and the filled fraction.
    CRect CalcBarRect(const RECT& rc) const;

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    void OnPaintText(const RECT& rcCellText, EXT_GRID_CELL_PAINT_ARGS) const override;
    HWND OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                const RECT& rcInplaceControl, LONG nLastEditedColNo, LONG nLastEditedRowNo) override;

    bool m_bVertical;
    bool m_bReverse;
    INT m_nRangeMin;
    INT m_nRangeMax;
    INT m_nPos;
    INT m_nStep;
    COLORREF m_clrBar1;
    COLORREF m_clrBar2;
    COLORREF m_clrText1;
    COLORREF m_clrText2;
    bool m_bGradientFlip;
    bool m_bTextInBar;
    INT m_nTextMode;

protected:
    void _ResetFields();
    // The bar through the visual-styles theme; false when the theme cannot draw it.
    bool _PaintBarThemed(CExtGridWnd& wndGrid, CDC& dc, const CRect& rc, const CRect& rcBar) const;
    void _PaintBarClassic(CExtGridWnd& wndGrid, CDC& dc, CRect rcBar) const;
    void _PaintBarText(const CRect& rcCellText, const CRect& rcBar, EXT_GRID_CELL_PAINT_ARGS) const;
};
