// The font cell: a LOGFONT and an optional text colour, shown as "face; size pt", picked
// with the common font dialog from the ellipsis button and handed to automation as a
// font object. Face names never exceed the 31 characters a LOGFONT holds.
#pragma once
#include "toolkit/grid/grid_cell_ex.h"

class CExtGridCellFont : public CExtGridCellEx
{
    DECLARE_SERIAL(CExtGridCellFont)
public:
    explicit CExtGridCellFont(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellFont();

    virtual void FormatFont(CString& strText, const LOGFONT& lf) const;

    // The face name is cut to 31 characters on the way in.
    void LogFontSet(const LOGFONT& lf);
    const LOGFONT& LogFontGet() const { return m_lf; }
    // -1: the cell has no colour.
    COLORREF ColorGet() const { return m_clr; }
    void ColorSet(COLORREF clr) { m_clr = clr; }

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    void TextGet(CString& strCopy) const override;
    // A font object (VT_DISPATCH, IFontDisp); its pointer is NULL when none could be made.
    void VariantGet(VARIANT* pVariant) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    void OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra, const RECT& rcCell,
                         LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                         INT nRowType) override;
    bool OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                             const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra, const RECT& rcCell) override;
    // The text is only shown: its editor is read-only.
    void OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl, LONG nVisibleColNo,
                                      LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                      DWORD dwAreaFlags, bool* pbReadOnly, bool* pbPassword, COLORREF* pclrText,
                                      COLORREF* pclrBack) override;

    // The dialog step of the ellipsis button, apart so that it can be replaced: true with
    // lfOut and clrOut set when the user confirmed.
    virtual bool OnRunFontDialog(CExtGridWnd& wndGrid, LOGFONT& lfOut, COLORREF& clrOut);

    static int stat_ScreenDpiY();

protected:
    LOGFONT m_lf;
    COLORREF m_clr;
};
