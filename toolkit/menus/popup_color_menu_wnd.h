// The colour menu: a popup menu without items that shows a palette of named colours as a
// grid of cells, optionally with a "Default Color" row above the grid and a "Custom
// Color ..." row below it. Moving over the cells posts a preview notification; a click
// or Enter posts the final one (or the request for a custom colour) and closes the menu.
// It tracks like any popup menu and brings its own layout, painting, hit testing and
// input handling. The palette starts as the 40-colour table; the 16-colour table is kept
// for callers that want the short palette.
#pragma once
#include "toolkit/menus/popup_menu_wnd.h"

class CExtPopupColorMenuWnd : public CExtPopupMenuWnd
{
    DECLARE_DYNCREATE(CExtPopupColorMenuWnd)
public:
    // One named colour of a palette; the name is looked up by string id first.
    class COLORREF_TABLE_ENTRY
    {
    public:
        COLORREF_TABLE_ENTRY(UINT nNameResId = 0, COLORREF clr = 0, LPCTSTR sName = NULL);
        COLORREF_TABLE_ENTRY(const COLORREF_TABLE_ENTRY& other);
        virtual ~COLORREF_TABLE_ENTRY();
        // The string of the entry's id from the resource manager when there is a
        // non-empty one, else the built-in name.
        virtual CString GetName() const;

        UINT m_nNameResId;
        COLORREF m_clr;
        CString m_sName;

    private:
        COLORREF_TABLE_ENTRY& operator=(const COLORREF_TABLE_ENTRY&) = delete;
    };

    // Pseudo cell indices of the two rows.
    enum
    {
        IDX_DEFAULT_COLOR = -101,
        IDX_CUSTOM_COLOR = -102,
    };
    // Row flags.
    enum
    {
        ROW_DEFAULT_COLOR = 0x01,
        ROW_CUSTOM_COLOR = 0x02,
    };
    // The colour stored through the result pointer when the custom row is chosen.
    enum
    {
        RESULT_CUSTOM_COLOR = -2,
    };

    CExtPopupColorMenuWnd();
    virtual ~CExtPopupColorMenuWnd();

    // ---- added virtual operations, in slot order ---------------------------------------
    virtual CSize GetCellSize() const;
    virtual CSize GetCellGap() const;
    virtual int GetColorCount() const;
    virtual int GetColumnCount() const;
    virtual int SetColumnCount(int nColumns);
    // Columns and rows; a palette of one row is as wide as its colours.
    virtual CSize GetGridSize() const;
    virtual COLORREF_TABLE_ENTRY* GetColorEntry(int nIndex);
    virtual COLORREF GetColor(int nIndex);
    virtual CString& GetColorName(CString& sOut, int nIndex);
    // The cell an arrow key moves to (wrapping inside rows and columns).
    virtual int GetNextCellIndex(int nIndex, UINT nVirtualKey);
    virtual void RemoveAllColors();

    // ---- overrides -----------------------------------------------------------------------
    void OnPaintMenu(CDC& dc, bool bUseMemoryDC) override;
    bool CreateMenuWindow(CWnd* pWndCmdReceiver) override;
    int HitTest(const POINT& ptClient, bool* pbInplaceEdit = NULL, bool* pbInplaceDropDown = NULL) override;
    bool OnMouseMoveTracked(UINT nMsg, CPoint ptClient, bool& bNoEat) override;
    bool OnMouseClickTracked(UINT nMsg, CPoint ptClient, bool& bNoEat) override;
    bool OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags, bool& bNoEat) override;
    using CExtPopupMenuWnd::OnKeyDown;
    CSize& CalcMenuSize(CSize& sizeMenu) override;
    bool IsAllItemsHidden() const override { return false; }
    // The style of the colour-name tips.
    virtual int GetTipStyle() const { return g_nColorTipStyle; }

    // ---- geometry and state --------------------------------------------------------------
    // The cell (or -101 / -102 for the rows) under a client point, -1 for none.
    int ColorHitTest(const POINT& ptClient);
    // The cell rectangle in client coordinates.
    CRect GetCellRect(int nIndex);
    const CRect& GetDefaultRowRect() const { return m_rcDefaultColor; }
    const CRect& GetCustomRowRect() const { return m_rcCustomColor; }
    int GetHoverIndex() const { return m_nHoverIndex; }
    int GetSelectedIndex() const { return m_nSelectedIndex; }
    void SetHoverIndex(int nIndex) { m_nHoverIndex = nIndex; }
    // Posts the preview or, with bFinal, the final notification for the hover index.
    void NotifyColorChanged(bool bFinal);
    // Appends a copy of the entry to the palette.
    void AddColor(const COLORREF_TABLE_ENTRY& entry);

    static const UINT g_nMsgNotifyColorChanged;
    static const UINT g_nMsgNotifyColorChangedFinally;
    static const UINT g_nMsgNotifyCustColor;
    static int g_nColorTipStyle;
    // The palettes every colour menu may start with.
    static const COLORREF_TABLE_ENTRY g_colors40[40];
    static const COLORREF_TABLE_ENTRY g_colors16[16];

    // ---- fields, in order ----------------------------------------------------------------
    HWND m_hWndNotification;
    LPARAM m_lParamCookie;
    COLORREF* m_pClrResult;
    COLORREF m_clrDefault;
    COLORREF m_clrInitial;
    BYTE m_nRowFlags;
    CString m_sBtnTextColorDefault;
    CString m_sBtnTextColorCustom;
    CRect m_rcDefaultColor;
    CRect m_rcCustomColor;
    int m_nHoverIndex;
    int m_nSelectedIndex;
    int m_nColumns;
    CArray<COLORREF_TABLE_ENTRY*, COLORREF_TABLE_ENTRY*> m_arrColors;
    CSize m_sizeCell;
    CSize m_sizeCellGap;
    BYTE m_nColorFlags;

protected:
    enum
    {
        __CMF_NOTIFYING = 0x01,
    };
    HWND GetNotifyTarget() const;
    // The menu's separator height, the default row's offset of the grid and the grid's
    // origin in client coordinates.
    int GetSeparatorHeight();
    CPoint GetGridOrigin();
    // Measures one row text in the menu font: the row's height and the text's width.
    CSize MeasureRowText(const CString& sText);
    void PaintRowButton(CDC& dc, const CRect& rc, const CString& sText, bool bHover, CExtPaintManager* pPM);
    void PaintRows(CDC& dc, CExtPaintManager* pPM);
    void PaintCells(CDC& dc, CExtPaintManager* pPM);
    void RepaintNow();
    void HideColorTip();
    void ShowColorTip(int nIndex);
    void ShowTearOffTip();
    // Hands a point outside this window to the parent menu; true when the parent took it.
    bool PassMoveToParent(UINT nMsg, CPoint ptClient, bool& bNoEat);
    void ReturnToParent();

    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    DECLARE_MESSAGE_MAP()
};
