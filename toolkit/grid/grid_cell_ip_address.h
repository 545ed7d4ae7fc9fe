// The IP address cell: one IPv4 address as a 32-bit number (first octet highest), shown
// dotted and edited with the address control.
#pragma once
#include "toolkit/grid/grid_cell_ex.h"

class CExtGridCellIPAddress : public CExtGridCellEx
{
    DECLARE_SERIAL(CExtGridCellIPAddress)
public:
    explicit CExtGridCellIPAddress(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellIPAddress();

    virtual void FormatAddress(CString& strText, DWORD dwAddress) const;

    DWORD GetAddress() const { return m_dwAddress; }
    void SetAddress(DWORD dwAddress) { m_dwAddress = dwAddress; }
    // Dotted text to an address: blanks ignored, four parts separated by three dots, each
    // read as a decimal number and clamped to 0..255 (an empty part is 0).
    static bool stat_ParseAddress(LPCTSTR sText, DWORD& dwAddress);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    void TextGet(CString& strCopy) const override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    void VariantGet(VARIANT* pVariant) const override;
    HRESULT OnParseText(LPCTSTR sText) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    HWND OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                                const RECT& rcCell, const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                LONG nLastEditedRowNo) override;
    void OnInplaceControlApplyIPAddress(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo,
                                        INT nColType, INT nRowType, DWORD dwIPAddress, bool bSaveChanges) override;

protected:
    DWORD m_dwAddress;
};
