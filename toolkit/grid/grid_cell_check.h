// The yes/no cells: the boolean cell that shows one of two texts and offers both in a
// drop-down list, the check box cell with an optional third state and an optional text
// mode, and the radio button cell. All three keep their state in the style word (0x80000
// the value, the kind bits 0x30000), so it travels with the base fields.
#pragma once
#include "toolkit/grid/grid_cell_string.h"

class CExtGridCellBool : public CExtGridCellEx
{
    DECLARE_SERIAL(CExtGridCellBool)
public:
    // The two texts every boolean cell starts with; the check box's text mode uses them.
    static CString g_strTextTrue;
    static CString g_strTextFalse;

    explicit CExtGridCellBool(CExtGridDataProvider* pOwner = NULL);

    bool GetValue() const;
    // Returns the old value.
    bool SetValue(bool bValue);
    CString GetText(bool bValue) const;
    // Returns the old text.
    CString SetText(bool bValue, LPCTSTR sText);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    void TextGet(CString& strCopy) const override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    void VariantGet(VARIANT* pVariant) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    bool CanIncrement() override;
    bool CanDecrement() override;
    bool Increment() override;
    bool Decrement() override;
    HWND OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                const RECT& rcInplaceControl, LONG nLastEditedColNo, LONG nLastEditedRowNo) override;
    bool OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCell,
                             const RECT& rcCellExtra, const RECT& rcCell) override;
    void OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl, LONG nVisibleColNo,
                                      LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                      DWORD dwAreaFlags, bool* pbReadOnly, bool* pbPassword, COLORREF* pclrText,
                                      COLORREF* pclrBack) override;
    HRESULT OnParseText(LPCTSTR sText) const override;
    CSize OnQueryDropDownSize() const override;
    bool OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli) override;
    bool OnPopupListBoxSelEndOK(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli) override;

    CString m_strTextTrue;
    CString m_strTextFalse;

protected:
    // A new value put into the open editor, selected whole.
    void _ShowInEditor(HWND hWndInplaceControl, bool bSelectAll) const;
};

class CExtGridCellCheckBox : public CExtGridCellString
{
    DECLARE_SERIAL(CExtGridCellCheckBox)
public:
    explicit CExtGridCellCheckBox(CExtGridDataProvider* pOwner = NULL);

    // 0 unchecked, 1 checked, 2 the third state.
    INT GetCheck() const;
    // Returns the old state; a state outside 0-2, the third state without three-state
    // and a disabled cell change nothing.
    INT SetCheck(INT nCheck);
    bool GetThreeState() const { return m_bThreeState; }
    void SetThreeState(bool bThreeState) { m_bThreeState = bThreeState; }
    bool GetTextMode() const { return m_bTextMode; }
    void SetTextMode(bool bTextMode) { m_bTextMode = bTextMode; }
    // The state a click or Space gives next.
    INT GetNextCheck() const;

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    void TextGet(CString& strCopy) const override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    bool OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, UINT nButton, UINT nEvent,
                 UINT nFlags) override;
    bool OnKey(CExtGridWnd& wndGrid, bool bKeyDownEvent, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl, LONG nVisibleColNo,
                                      LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                      DWORD dwAreaFlags, bool* pbReadOnly, bool* pbPassword, COLORREF* pclrText,
                                      COLORREF* pclrBack) override;
    HRESULT OnParseText(LPCTSTR sText) const override;

    bool m_bThreeState;
    bool m_bTextMode;
};

class CExtGridCellRadioButton : public CExtGridCellString
{
    DECLARE_SERIAL(CExtGridCellRadioButton)
public:
    explicit CExtGridCellRadioButton(CExtGridDataProvider* pOwner = NULL);
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
};
