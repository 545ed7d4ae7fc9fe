// CExtGridCellEx: the general-purpose layered cell (colours per state and font
// attributes over the root cell) with a mouse cursor of its own; most cell kinds stand
// on it.
#pragma once
#include "toolkit/grid/grid_cell_layers.h"

class CExtGridCellEx : public CExtGCF<CExtGCC<CExtGridCell>>
{
    DECLARE_SERIAL(CExtGridCellEx)
public:
    typedef CExtGCF<CExtGCC<CExtGridCell>> _Base;

    explicit CExtGridCellEx(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellEx();

    // Owned: the old one is destroyed when replaced.
    HCURSOR CursorGet() const { return m_hCursor; }
    void CursorSet(HCURSOR hCursor);
    // By resource id: the module's cursor image, else the system cursor of that id, as a
    // cursor of the cell's own; -1 (or an id that gives neither) clears it.
    bool CursorLoad(UINT nResourceID);
    // Sets the cell's cursor when it has one.
    virtual bool OnSetCursor() const;
    bool OnSetCursor(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent) const override;

    // True when the cell keeps font attributes or colours of its own: the comparison of
    // cells without them is decided by their values and styles alone.
    bool HasOwnLook() const;

    void Assign(const CExtGridCell& other) override;
    void Serialize(CArchive& ar) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;

    HCURSOR m_hCursor;

private:
    void SerializeCursor(CArchive& ar);
};
