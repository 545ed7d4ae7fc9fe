// The toolkit's combo boxes. CExtComboBoxBase keeps a standard combo in step with the
// theme: it answers the colour messages of its parts, keeps a multi-column record behind
// every item of an owner-drawn combo with strings, shows tool tips (also for a toolbar
// that hosts it), gives its edit part the toolkit's edit behaviour and owns two typing
// aids: inline completion and the filter popup list. CExtComboBox adds the hover
// highlight and paints the themed frame and drop-down button.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/dialogs/edit.h"

class CExtComboBoxBase;
class CExtComboBoxFilterPopupListBox;

// The edit part of a drop-down combo.
class CExtComboEditCtrlHook : public CExtEditBase
{
    DECLARE_DYNAMIC(CExtComboEditCtrlHook)
public:
    CExtComboEditCtrlHook();
    virtual ~CExtComboEditCtrlHook();
    CExtComboBoxBase* GetOwnerCombo() const;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CExtComboBoxBase : public CComboBox, public CExtMouseCaptureSink, public CExtHookSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtComboBoxBase)
public:
    enum
    {
        OPT_AUTO_COMPLETE = 0x01,
        OPT_FILTER_POPUP = 0x02,
        OPT_EDIT_THEMED_MENU = 0x04,
        OPT_CHAR_TYPED = 0x08,  // transient: a character key was just typed
    };

    struct LB_ITEM
    {
        struct CELL
        {
            DWORD_PTR m_nValue;
            COLORREF m_clrText;
            COLORREF m_clrBack;
            CString m_strText;
            explicit CELL(LPCTSTR sText = NULL);
        };
        DWORD_PTR m_nItemData;
        CTypedPtrArray<CPtrArray, CELL*> m_arrCells;

        LB_ITEM();
        ~LB_ITEM();
        // Inserts a cell at nPos (appended when out of range); answers the index used.
        int CellInsert(LPCTSTR sText, int nPos = -1);
        int GetCellCount() const { return (int)m_arrCells.GetSize(); }
        CELL* CellGet(int nPos) const;

    private:
        LB_ITEM(const LB_ITEM&) = delete;
        LB_ITEM& operator=(const LB_ITEM&) = delete;
    };

    CExtComboBoxBase();
    virtual ~CExtComboBoxBase();

    virtual int GetTipMaxWidth(LPCTSTR sText);
    virtual void AttachInnerEdit();
    virtual CExtComboEditCtrlHook* GetInnerEdit();
    virtual CExtComboBoxFilterPopupListBox* FilterPopupCreate();
    virtual void FilterPopupClose();
    virtual void FilterPopupFill(const CString& sText);
    virtual void FilterPopupAccept();
    virtual void FilterPopupSelectionMoved();
    virtual void FilterPopupApplySelection(bool bKeepEditSelection);
    virtual CSize FilterPopupGetMinSize();
    virtual CSize FilterPopupGetSizeLimit();
    virtual HFONT OnQueryFont();
    virtual CSize GetItemMargins(int nItem);
    virtual CSize GetCellSpacing();
    virtual int GetColumnWidth(int nColumn);
    virtual void MeasureItemCells(LPMEASUREITEMSTRUCT lpMIS);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
    void DeleteItem(LPDELETEITEMSTRUCT lpDIS) override;
    void DrawItemCells(CDC* pDC, const RECT& rcItem, CSize sizeMargins, UINT nItemState, LB_ITEM* pItem);

    // Whether the combo keeps an LB_ITEM behind its items: owner-drawn with strings.
    bool IsMultiColumn() const;
    // The item's record, NULL when it has none.
    LB_ITEM* GetItemRecord(int nItem) const;
    void SetColumnWidth(int nColumn, UINT nWidth);
    void SetTooltipText(LPCTSTR sText, bool bActivate = true);
    void ActivateTooltip(bool bActivate = true);
    // Shows the filter popup for the typed text (creating it when needed).
    void FilterPopupShow(const CString& sText);
    CExtComboBoxFilterPopupListBox* GetFilterPopup() const { return m_pFilterPopup; }
    // The text the filter popup compares after the URL prefixes are taken off.
    static CString StripUrlPrefixes(const CString& sText);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    bool OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam, LPARAM& lParam) override;

    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    BYTE m_nComboOptions;
    CExtComboEditCtrlHook m_wndInnerEdit;
    COLORREF m_clrBackground;
    COLORREF m_clrBrush;
    CBrush m_brushBackground;
    COLORREF m_clrText;
    CToolTipCtrl m_wndToolTip;
    CDWordArray m_arrColumnWidths;
    CExtComboBoxFilterPopupListBox* m_pFilterPopup;
    int m_nSavedPopupWidth;
    int m_nSavedPopupHeight;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnEditUpdate();
    DECLARE_MESSAGE_MAP()

    COLORREF SysColor(int nIndex);
    DWORD_PTR GetRawItemData(int nItem) const;
    bool EnsureToolTip();
    bool HandleFilterPopupKeys(MSG* pMsg);
    void RunInlineCompletion();
    void AttachFilterHooks();
    HWND GetTopLevelOf() const;
};

class CExtComboBox : public CExtComboBoxBase
{
    DECLARE_DYNCREATE(CExtComboBox)
public:
    enum
    {
        FLAG_LBUTTON_DOWN = 0x01,
        FLAG_HIGHLIGHTED = 0x02,
    };
    CExtComboBox();
    virtual ~CExtComboBox();

    virtual void PaintFrame(bool bPushed, bool bHover, CDC* pDC);
    // Whether the cursor is over the combo and the focus is within it.
    bool IsCursorOver() const;
    bool IsFocusWithin() const;

    BYTE m_nComboFlags;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void HoverStep();
    void PaintCombo();
};

// The filter popup: a topmost, resizable list under the combo with the items that
// match the typed text.
class CExtComboBoxFilterPopupListBox : public CListBox, public CExtMouseCaptureSink
{
public:
    enum
    {
        RESIZE_WIDTH = 0x01,
        RESIZE_HEIGHT = 0x02,
        BOTTOM_STRIP = 14,
    };
    explicit CExtComboBoxFilterPopupListBox(CExtComboBoxBase* pOwner);
    virtual ~CExtComboBoxFilterPopupListBox();

    virtual bool OnPopupMouseMove(CPoint point);
    virtual bool OnPopupMouseButton(CPoint point, bool bDown, int nButton);
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;

    // The sizing zone of a client point: HTBOTTOMRIGHT, HTBOTTOM, HTRIGHT, HTCLIENT, or 0.
    UINT HitTestPopup(CPoint ptClient) const;

    CExtComboBoxBase* m_pOwner;
    BYTE m_nResizeFlags;
    CPoint m_ptLast;
    HCURSOR m_hCursorWidth;
    HCURSOR m_hCursorHeight;
    HCURSOR m_hCursorCorner;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintOwnerDrawn();
    void PaintNonClient();
    void ResizeStep(CPoint point);
    void HoverStep(CPoint point);
};
