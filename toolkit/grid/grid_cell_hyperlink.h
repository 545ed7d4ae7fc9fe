// The hyperlink cell: a read-only link that opens its URL (or its own text) on a click,
// Space or Enter, shows a hand cursor and an underline while hovered and a visited colour
// once opened. A target is handed to other programs only whole and quoted: a target with
// a quotation mark or a control character, or one that would not fit, is refused.
#pragma once
#include "toolkit/grid/grid_cell_string.h"

class CExtGridCellHyperLink : public CExtGridCellString
{
    DECLARE_SERIAL(CExtGridCellHyperLink)
public:
    explicit CExtGridCellHyperLink(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellHyperLink();

    COLORREF m_clrVisited;
    bool m_bUnderlineOnHover;
    bool m_bUseVisitedColor;
    bool m_bVisited;
    CString m_sURL;

    // Verb 0 open, 1 edit, 2 print.
    virtual bool Navigate(LPCTSTR sTarget, int nVerb, bool bShowErrors);
    virtual bool NavigateInternetShortcut(LPCTSTR sTarget, int nVerb, bool bShowErrors);
    virtual bool NavigateShellExecute(LPCTSTR sTarget, int nVerb, bool bShowErrors);
    virtual bool NavigateRegistry(LPCTSTR sTarget, int nVerb, bool bShowErrors);

    // The URL trimmed, else the cell's text trimmed.
    CString GetLinkTarget() const;
    // The launcher's command line from a registered command: cut at the first quoted %1
    // (on its opening quotation mark) or else at the first %1, then a blank and the
    // quoted target. False (sOut empty) for a target the command line cannot carry
    // safely or a result longer than cchMax - 1 characters.
    static bool stat_BuildCommandLine(LPCTSTR sCommand, LPCTSTR sTarget, CString& sOut, int cchMax = 522);
    // "Unable to open hyper link:\n" and the error text of a launcher's result code.
    static CString stat_ErrorMessage(int nCode);
    // True when the target starts with a web or file prefix: such targets go through the
    // registered browser first.
    static bool stat_IsWebTarget(LPCTSTR sTarget);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    HFONT OnQueryCellFont(const CWnd* pWndGrid, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                          bool* pbDelete) const override;
    COLORREF OnQueryTextColor(EXT_GRID_CELL_PAINT_ARGS) const override;
    bool OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, UINT nButton, UINT nEvent,
                 UINT nFlags) override;
    bool OnKey(CExtGridWnd& wndGrid, bool bKeyDownEvent, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    bool OnSetCursor(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent) const override;

protected:
    void ShowError(int nCode) const;
};
