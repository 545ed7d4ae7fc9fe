// The grid's in-place editors: small child windows that a cell opens over itself inside
// the grid window while the user edits it. CExtGIE<T> binds a control class to its grid
// and cell, gives it a thin non-client border and routes the control's messages through
// the cell first; the four editors add how they are created, which keys end them, how
// they check input and how they hand the value back to the cell.
//
// Every editor is made with new and deletes itself when its window is destroyed, or at
// once when its creation fails. The cell learns of the end of editing through its apply
// operation for the editor's value type; the grid knows the editor by its window handle.
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/edit.h"
#include "toolkit/pickers/date_time_wnd.h"
#include "toolkit/pickers/slider_wnd.h"

class CExtGridWnd;
class CExtGridCell;

// What every editor answers whatever its control: ending it from outside (the cell's key
// filter, the grid) by its window handle.
class CExtGridInplaceControl
{
public:
    virtual ~CExtGridInplaceControl() {}
    // Apply (bApply) or cancel: runs once; a value to be saved is verified a last time
    // and a refusal turns the save into a cancel. False when editing had already ended
    // or the window went away during the check.
    virtual bool DoEndEdit(bool bApply) = 0;
    // True once apply or cancel has started: the cell's hooks are then skipped.
    virtual bool IsEditEnding() const = 0;
    // The editor that owns hWnd, or NULL when hWnd is no live in-place editor.
    static CExtGridInplaceControl* FromHandle(HWND hWnd);
    // Ends the editor of hWnd; false when hWnd is no editor or editing had ended.
    static bool stat_EndEdit(HWND hWnd, bool bApply);
};

template <class T>
class CExtGIE : public T, public CExtGridInplaceControl
{
public:
    enum
    {
        __EGIEF_BORDER = 0x1,  // a one-pixel frame is drawn inside the non-client margins
        __EGIEF_AUTO_DELETE = 0x2,  // set once the window exists: its end deletes the editor
    };

    CExtGIE(CExtGridWnd& wndGrid, CExtGridCell& cell, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
            LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
            const RECT& rcInplaceControl, LONG nLastEditedColNo, LONG nLastEditedRowNo);
    virtual ~CExtGIE();

    // The colour that fills the non-client margins: the control's own background, or -1
    // when it has none (the grid's window colour is used then).
    virtual COLORREF GetInplaceBackColor() const = 0;
    // Hands the accepted value to the cell, applied (bApply) or cancelled, and closes the
    // editor.
    virtual void EndEditing(bool bApply) = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    CExtGridWnd& GetGrid() const { return m_wndGrid; }
    CExtGridCell& GetCell() const { return m_cell; }
    // The area flags of the edited cell: 0x200 inner, else 0x100 with the band's side
    // (0x04 left, 0x08 right, 0x01 top, 0x02 bottom).
    DWORD GetAreaFlags() const;
    bool IsInnerCell() const { return m_nColType == 0 && m_nRowType == 0; }

    CExtGridWnd& m_wndGrid;
    CExtGridCell& m_cell;
    LONG m_nVisibleColNo, m_nVisibleRowNo, m_nColNo, m_nRowNo;
    INT m_nColType, m_nRowType;
    CRect m_rcCellExtra, m_rcCell, m_rcInplaceControl;
    CRect m_rcNcMargins;
    CString m_strTextBuffer;
    DWORD m_dwGieFlags;
    LONG m_nLastEditedColNo, m_nLastEditedRowNo;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    // Offers a message that reached the editor's window procedure to the cell; true when
    // the cell consumed it (lResult is then the answer).
    bool OfferToCell(LRESULT& lResult, UINT message, WPARAM wParam, LPARAM lParam);
    // Whether an arrow key leaves the editor for the neighbouring cell under the grid's
    // behaviour and scroll types; the editor's own position test comes on top.
    bool CanNavigateByKey(UINT nChar) const;
    // The same, for an editor with no caret or item of its own to move first: left and
    // right stop at the grid's first and last column.
    bool CanLeaveCellByKey(UINT nChar) const;
    // Applies, passes the key on to the grid (which moves its focus) and opens the editor
    // again at the new focus when this one has gone; the grid's answer is returned.
    LRESULT NavigateByKey(UINT nChar, WPARAM wParam, LPARAM lParam);
    // The shared font lookup of the editors' creation: the cell's font, the grid's, the
    // default GUI font or the system font copied into fontOut.
    bool CreateEditorFont(CFont& fontOut);
    // The text and background colours of the cell's colour layer (state 0, then 1) and of
    // its editor traits (-1 for none), and whether it edits read-only (its traits or its
    // disabled style) or masked.
    void QueryEditorColors(COLORREF& clrText, COLORREF& clrBack, bool& bReadOnly, bool& bPassword);
    // A failed creation: the window, if any, goes without deleting the editor, then the
    // editor deletes itself; always false.
    bool AbortCreate();
    // Shows the window on top without moving or activating it, and focuses it.
    void ShowAndFocus();
    // Tab and Shift+Tab: the next (previous) control of the grid's parent.
    void MoveFocusToNextControl();
    // The commit step of every editor. It runs once (nEndingBit stays set in nEditState);
    // when applying, the control's value (fnRead) is verified a last time (fnVerify) and
    // kept in valueAccepted, or the save turns into a cancel when the cell refuses it;
    // EndEditing then hands the value over. False when editing had already ended or the
    // window went away during the check.
    template <class TValue, class FnRead, class FnVerify>
    bool CommitEdit(bool bApply, BYTE& nEditState, BYTE nEndingBit, TValue& valueAccepted, FnRead fnRead,
                    FnVerify fnVerify);
    // After the cell took the value: the focus goes back to the grid (hWndGrid) when the
    // editor held it, then the window goes unless the cell already destroyed it.
    void DestroyAfterApply(HWND hWndSelf, HWND hWndGrid);
    // What the value editors handle alike: their dialog code, the end of the edit when the
    // focus leaves for a window that is not their own (not while nEditState has the
    // creating bit), deactivation, cancel mode, Tab, Enter and Esc, and an arrow key that
    // leaves for the neighbouring cell (bLeave). True when handled; lResult is the answer.
    bool HandleValueEditorMessage(UINT message, WPARAM wParam, LPARAM lParam, const BYTE& nEditState,
                                  BYTE nCreatingBit, bool bLeave, LRESULT& lResult);
};

template <class T>
template <class TValue, class FnRead, class FnVerify>
bool CExtGIE<T>::CommitEdit(bool bApply, BYTE& nEditState, BYTE nEndingBit, TValue& valueAccepted, FnRead fnRead,
                            FnVerify fnVerify)
{
    if (nEditState & nEndingBit)
        return false;
    nEditState |= nEndingBit;
    HWND hWndSelf = this->m_hWnd;
    if (bApply && hWndSelf != NULL && ::IsWindow(hWndSelf))
    {
        TValue valueNew = fnRead();
        bool bAccepted = fnVerify(valueNew);
        // The cell may have destroyed the editor during the check.
        if (!::IsWindow(hWndSelf) || CWnd::FromHandlePermanent(hWndSelf) != this)
            return false;
        if (bAccepted)
            valueAccepted = valueNew;
        else
            bApply = false;
    }
    EndEditing(bApply);
    return true;
}

// The text editor: an "EDIT" control whose every change the cell may refuse.
class CExtGridInplaceEdit : public CExtGIE<CExtEditBase>
{
    DECLARE_DYNAMIC(CExtGridInplaceEdit)
public:
    enum
    {
        __EGIES_ENDING = 0x1,
        __EGIES_VERIFYING = 0x2,
        __EGIES_CREATING = 0x4,
    };
    CExtGridInplaceEdit(CExtGridWnd& wndGrid, CExtGridCell& cell, LONG nVisibleColNo, LONG nVisibleRowNo,
                        LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                        const RECT& rcCell, const RECT& rcInplaceControl, LONG nLastEditedColNo,
                        LONG nLastEditedRowNo);
    virtual ~CExtGridInplaceEdit();

    COLORREF GetInplaceBackColor() const override;
    // Creates and shows the window; on failure the editor is deleted and false returned.
    virtual bool Create();
    void EndEditing(bool bApply) override;
    virtual bool VerifyText(const CString& sTextInitial, CString& sTextPrevious, CString& sTextNew,
                            bool bApplying);
    bool DoEndEdit(bool bApply) override;
    bool IsEditEnding() const override;
    // The window is being made: focus changes then end nothing.
    bool IsCreating() const { return (m_nEditState & __EGIES_CREATING) != 0; }

    BYTE m_nEditState;
    CFont m_font;
    CString m_sTextAccepted;
    CString m_sTextInitial;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Lets the control process a change, then asks the cell; a refused change is undone.
    LRESULT DoVerifiedInput(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditKeyDown(UINT nChar, WPARAM wParam, LPARAM lParam);
    bool CanLeaveByKey(UINT nChar) const;
};

// The date-time editor: the toolkit's date-time field editor over the cell.
class CExtGridInplaceDateTime : public CExtGIE<CExtDateTimeWnd>
{
    DECLARE_DYNAMIC(CExtGridInplaceDateTime)
public:
    enum
    {
        __EGIDS_ENDING = 0x1,
        __EGIDS_CREATING = 0x2,
    };
    CExtGridInplaceDateTime(CExtGridWnd& wndGrid, CExtGridCell& cell, LONG nVisibleColNo, LONG nVisibleRowNo,
                            LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                            const RECT& rcCell, const RECT& rcInplaceControl, LONG nLastEditedColNo,
                            LONG nLastEditedRowNo);
    virtual ~CExtGridInplaceDateTime();

    COLORREF GetInplaceBackColor() const override;
    void EndEditing(bool bApply) override;
    virtual bool VerifyDateTime(const COleDateTime& dtOld, const COleDateTime& dtNew, bool bApplying);
    // Creates the field editor from the cell's mode, format, item visibility and value
    // (dtValue); on failure the editor is deleted and false returned.
    virtual bool Create(const COleDateTime& dtValue, int nMode, int nFormatValue, const bool* pbItemVisible);
    bool DoEndEdit(bool bApply) override;
    bool IsEditEnding() const override;
    // The window is being made: focus changes then end nothing.
    bool IsCreating() const { return (m_nEditState & __EGIDS_CREATING) != 0; }

    bool OnDateTimeChanging(const COleDateTime& dtOld, const COleDateTime& dtNew) override;
    HFONT OnQueryFont() override;

    BYTE m_nEditState;
    CFont m_font;
    COleDateTime m_dtInitial;
    COleDateTime m_dtAccepted;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CanLeaveByKey(UINT nChar) const;
};

// The slider editor: the toolkit's slider over the cell.
class CExtGridInplaceSlider : public CExtGIE<CExtSliderWnd>
{
    DECLARE_DYNAMIC(CExtGridInplaceSlider)
public:
    enum
    {
        __EGISS_ENDING = 0x1,
        __EGISS_CREATING = 0x2,
    };
    CExtGridInplaceSlider(CExtGridWnd& wndGrid, CExtGridCell& cell, LONG nVisibleColNo, LONG nVisibleRowNo,
                          LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                          const RECT& rcCell, const RECT& rcInplaceControl, LONG nLastEditedColNo,
                          LONG nLastEditedRowNo);
    virtual ~CExtGridInplaceSlider();

    COLORREF GetInplaceBackColor() const override;
    void EndEditing(bool bApply) override;
    virtual bool VerifyPosition(int nPosOld, int nPosNew, bool bApplying);
    // Creates the slider with the cell's line and page sizes, range and position; on
    // failure the editor is deleted and false returned.
    virtual bool Create(int nLineSize, int nPageSize, int nRangeMin, int nRangeMax, int nPos);
    bool DoEndEdit(bool bApply) override;
    bool IsEditEnding() const override;
    // The window is being made: focus changes then end nothing.
    bool IsCreating() const { return (m_nEditState & __EGISS_CREATING) != 0; }

    BYTE m_nEditState;
    CFont m_font;
    int m_nPosInitial;
    int m_nPosAccepted;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A position change from the control: verified, kept when accepted, else undone.
    void OnPositionChanged();
};

// The address editor: the IP address control over the cell. Its four field edits are
// subclassed so that keys and focus changes inside them reach the editor.
class CExtGridInplaceEditIPAddress : public CExtGIE<CIPAddressCtrl>
{
    DECLARE_DYNAMIC(CExtGridInplaceEditIPAddress)
public:
    enum
    {
        __EGIAS_ENDING = 0x1,
        __EGIAS_CREATING = 0x2,
    };
    CExtGridInplaceEditIPAddress(CExtGridWnd& wndGrid, CExtGridCell& cell, LONG nVisibleColNo,
                                 LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                 const RECT& rcCellExtra, const RECT& rcCell, const RECT& rcInplaceControl,
                                 LONG nLastEditedColNo, LONG nLastEditedRowNo);
    virtual ~CExtGridInplaceEditIPAddress();

    COLORREF GetInplaceBackColor() const override;
    void EndEditing(bool bApply) override;
    virtual bool VerifyAddress(DWORD dwOld, DWORD dwNew, bool bApplying);
    // Creates the control with the cell's address; on failure the editor is deleted and
    // false returned.
    virtual bool Create(DWORD dwAddress);
    bool DoEndEdit(bool bApply) override;
    bool IsEditEnding() const override;
    // The window is being made: focus changes then end nothing.
    bool IsCreating() const { return (m_nEditState & __EGIAS_CREATING) != 0; }

    // The address editor the field procedure reaches; NULL when none lives.
    static CExtGridInplaceEditIPAddress* g_pCurrentEditor;

    BYTE m_nEditState;
    CFont m_font;
    DWORD m_dwAddressInitial;
    DWORD m_dwAddressAccepted;
    WNDPROC m_arrFieldProcs[4];
    HWND m_arrFieldWnds[4];

    // Whether hWnd is one of the four field edits.
    bool IsFieldWindow(HWND hWnd) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SubclassFields();
    void RestoreFields();
    // A field changed: the new address is verified and kept when accepted.
    void OnAddressChanged();
    static LRESULT CALLBACK stat_FieldWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
