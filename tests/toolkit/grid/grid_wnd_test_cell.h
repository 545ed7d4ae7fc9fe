// A cell for the grid window's tests: extents and a proportion like a header cell, and
// its value as text and as a number, so sorting orders the values.
#pragma once
#include "toolkit/grid/grid_cell_layers.h"

class CGridTestCell : public CExtGCP<CExtGCE<CExtGridCell>>
{
    DECLARE_DYNCREATE(CGridTestCell)
public:
    explicit CGridTestCell(CExtGridDataProvider* pOwner = NULL) : CExtGCP<CExtGCE<CExtGridCell>>(pOwner) {}
    void TextGet(CString& strCopy) const override { strCopy.Format("%lu", GetValue32()); }
    void VariantGet(VARIANT* pVariant) const override
    {
        ::VariantClear(pVariant);
        pVariant->vt = VT_I4;
        pVariant->lVal = (LONG)GetValue32();
    }
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override
    {
        return ExtGridCellCloneAs<CGridTestCell>(*this, pMalloc);
    }
};
