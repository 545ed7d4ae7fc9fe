// The VARIANT cell: the cell is itself the VARIANT it shows. The number, up-down and
// slider cells stand on it. A VARIANT operation that fails leaves the cell in the error
// state: VT_ERROR with the failing HRESULT as its code.
#pragma once
#include "toolkit/grid/grid_cell_ex.h"

class CExtGridCellVariant : public CExtGridCellEx, public tagVARIANT
{
    DECLARE_SERIAL(CExtGridCellVariant)
public:
    explicit CExtGridCellVariant(CExtGridDataProvider* pOwner = NULL);
    explicit CExtGridCellVariant(const VARIANT& var);
    CExtGridCellVariant(const VARIANT& var, CExtGridDataProvider* pOwner);
    virtual ~CExtGridCellVariant();

    // The VARIANT travels through an IStream over the archive; a value that cannot be
    // read back throws the archive exception.
    void Serialize(CArchive& ar) override;
    bool IsEmpty() const override;
    void Reset() override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    void TextGet(CString& strCopy) const override;
    // Without bAllowChangeDataType the text is converted to the cell's type (an empty
    // cell takes it as text); with it the cell becomes a text cell.
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    void VariantGet(VARIANT* pVariant) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    UINT OnQueryDrawTextFlags(bool bHorz, bool bVert, bool bForDrawing) const override;
    bool CanIncrement() override;
    bool CanDecrement() override;
    bool Increment() override;
    bool Decrement() override;
    HRESULT OnParseText(LPCTSTR sText) const override;
    // An empty value opens no editor.
    HWND OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                const RECT& rcInplaceControl, LONG nLastEditedColNo, LONG nLastEditedRowNo) override;

    // The value as a VARIANT; setting copies (a failed copy leaves the error state).
    const VARIANT* VariantPtr() const { return static_cast<const tagVARIANT*>(this); }
    HRESULT VariantSet(const VARIANT* pVariant);
    // Converts the value in place with VariantChangeType; false (and the error state)
    // when the conversion fails.
    bool VariantChangeTypeTo(VARTYPE vt, USHORT wFlags = 0);

protected:
    void _SetError(HRESULT hr);
    // One step up or down; bApply false only asks whether the step is possible.
    bool _Step(bool bUp, bool bApply);
};
