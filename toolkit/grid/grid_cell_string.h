// The text cells: a string cell that holds its own text, a string cell whose text lives
// in its data provider's memory, a password cell shown masked and the header cell of
// the outer bands.
#pragma once
#include "toolkit/grid/grid_cell_ex.h"

class CExtGridCellString : public CExtGridCellEx
{
    DECLARE_SERIAL(CExtGridCellString)
public:
    explicit CExtGridCellString(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellString();

    void Serialize(CArchive& ar) override;
    bool IsEmpty() const override;
    void Reset() override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    void TextGet(CString& strCopy) const override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    void VariantGet(VARIANT* pVariant) const override;
    LPCTSTR GetTextBuffer() const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;

    // The stored text, also while the cell shows none (extended style 0x8).
    const CString& TextStored() const { return m_str; }

protected:
    CString m_str;
};

class CExtGridCellStringDM : public CExtGridCell
{
    DECLARE_SERIAL(CExtGridCellStringDM)
public:
    explicit CExtGridCellStringDM(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellStringDM();

    void Serialize(CArchive& ar) override;
    // The text moves with the cell into the new owner's memory (or goes, without one).
    CExtGridDataProvider* SetOwner(CExtGridDataProvider* pOwner) override;
    bool IsEmpty() const override;
    void Reset() override;
    void Assign(const CExtGridCell& other) override;
    void TextGet(CString& strCopy) const override;
    // The text lives in the owner's memory: without an owner provider, or when the
    // owner has no memory for it, the framework's memory exception is thrown. A cell
    // loaded or assigned without an owner keeps its text until it gets one.
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    void VariantGet(VARIANT* pVariant) const override;
    LPCTSTR GetTextBuffer() const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;

protected:
    // Gives the buffer back to the owner (or the heap, without one); the cell then has
    // no text.
    void _TextFree();
    // Without an owner: the text in a heap block of the cell's own; false when there is
    // no memory for it (the old text is kept).
    bool _TextKeepOwnerless(LPCTSTR str);
    LPTSTR m_pstr;
};

class CExtGridCellPassword : public CExtGridCellString
{
    DECLARE_SERIAL(CExtGridCellPassword)
public:
    explicit CExtGridCellPassword(CExtGridDataProvider* pOwner = NULL);

    // Only password cells are ordered among themselves: the shorter text first, then
    // the string cells' order.
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    // The text painted in place of the cell's own: one mask character per character.
    CString MaskedTextGet() const;
    // Mask characters instead of the text; a header drawn for a dragged image with
    // in-place editing off shows its text in clear.
    void OnPaintText(const RECT& rcCellText, EXT_GRID_CELL_PAINT_ARGS) const override;
    // Its text editor masks what is typed.
    void OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl, LONG nVisibleColNo,
                                      LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                      DWORD dwAreaFlags, bool* pbReadOnly, bool* pbPassword, COLORREF* pclrText,
                                      COLORREF* pclrBack) override;
};

class CExtGridCellHeader : public CExtGCF<CExtGCC<CExtGCP<CExtGCE<CExtGridCellStringDM>>>>
{
    DECLARE_SERIAL(CExtGridCellHeader)
public:
    typedef CExtGCF<CExtGCC<CExtGCP<CExtGCE<CExtGridCellStringDM>>>> _Base;

    // Header texts end with an ellipsis when they do not fit.
    explicit CExtGridCellHeader(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellHeader();

    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
};
