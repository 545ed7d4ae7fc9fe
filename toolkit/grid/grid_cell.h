// The root of every grid cell: style words, owner, icon and image indices, one
// application word, comparison, assignment, the archive form, text and VARIANT
// exchange, and the helpers that create, clone, load, save and destroy cells inside
// a data provider's allocator.
//
// Cells that live in an allocator are made with the placement form of operator new
// (or InstanceCreate/Clone) and destroyed only with InstanceDestroy and the same
// allocator; a cell made with plain new is deleted normally.
#pragma once
#include <objidl.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_hit_test.h"
#include "toolkit/grid/content_expand_wnd.h"

class CExtCmdIcon;
class CExtGridDataProvider;
class CExtGridWnd;
class CExtPopupMenuTipWnd;
class CExtPopupInplaceListBox;

class CExtGridCell : public CObject
{
    DECLARE_SERIAL(CExtGridCell)
public:
    typedef CExtGridHitTestInfo HIT_TEST_INFO_T;
    // Style bits the cell family tests; every other bit travels with the word.
    enum e_style_t : DWORD
    {
        __EGCS_TA_HORZ_MASK = 0x00000003,
        __EGCS_TA_HORZ_BY_TYPE = 0x00000000,
        __EGCS_TA_HORZ_LEFT = 0x00000001,
        __EGCS_TA_HORZ_RIGHT = 0x00000002,
        __EGCS_TA_HORZ_CENTER = 0x00000003,
        __EGCS_TA_VERT_MASK = 0x00000030,
        __EGCS_TA_VERT_TOP = 0x00000010,
        __EGCS_TA_VERT_BOTTOM = 0x00000020,
        __EGCS_TA_VERT_CENTER = 0x00000030,
        __EGCS_TA_ELLIPSIS = 0x00000008,
        __EGCS_HDR_FOCUS_ARROW_DISPLAY = 0x00000800,
        __EGCS_HDR_FOCUS_ARROW_RESERVE_SPACE = 0x00008000,
        __EGCS_ICA_VERT_MASK = 0x00003000,
        __EGCS_ICA_VERT_TOP = 0x00001000,
        __EGCS_ICA_VERT_BOTTOM = 0x00002000,
        __EGCS_ICA_VERT_CENTER = 0x00003000,
        __EGCS_CHK_CHECK = 0x00010000,
        __EGCS_CHK_RADIO = 0x00020000,
        __EGCS_CHK_INDETERMINATE = 0x00030000,
        __EGCS_CHK_MASK = 0x00030000,
        __EGCS_CHECKED = 0x00080000,
        __EGCS_SORT_ARROW = 0x00100000,
        __EGCS_SORT_DESCENDING = 0x00200000,
        __EGCS_BUTTON_UPDOWN = 0x00400000,
        __EGCS_PRESSED_UP = 0x00800000,
        __EGCS_PRESSED_DOWN = 0x01000000,
        __EGCS_BUTTON_DROPDOWN = 0x02000000,
        __EGCS_PRESSED_DROPDOWN = 0x04000000,
        __EGCS_BUTTON_ELLIPSIS = 0x08000000,
        __EGCS_PRESSED_ELLIPSIS = 0x10000000,
        __EGCS_READ_ONLY = 0x20000000,
        __EGCS_DEFAULT = 0x40000000,
        __EGCS_NO_INPLACE_CONTROL = 0x80000000,
    };
    enum e_style_ex_t : DWORD
    {
        __EGCS_EX_NO_INPLACE_CONTROL_BORDER = 0x00000004,
        __EGCS_EX_UNDEFINED_ROLE = 0x00000008,
        __EGCS_EX_WRAP_TEXT = 0x00000010,
        __EGCS_EX_NO_SORT_ARROW_ON_PAINT = 0x00000020,
    };
    // Colour states: 0 applies in every situation and wins when set; otherwise 3 for
    // the hovered cell, 2 for a selected one, 1 for the rest.
    enum e_cell_state_t
    {
        __ECS_ALL = 0,
        __ECS_NORMAL = 1,
        __ECS_SELECTED = 2,
        __ECS_HOVERED = 3,
    };
    // Button types, shared with the grid windows and the hit-test record.
    enum e_button_type_t
    {
        __EBTT_ELLIPSIS = 0,
        __EBTT_DROPDOWN = 1,
        __EBTT_UPDOWN_UP = 2,
        __EBTT_UPDOWN_DOWN = 3,
    };

    explicit CExtGridCell(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCell();

    virtual void Serialize(CArchive& ar) override;

    virtual DWORD GetValue32() const;
    virtual DWORD SetValue32(DWORD dwValue);
    virtual DWORD GetStyle() const;
    virtual DWORD ModifyStyle(DWORD dwStyleAdd, DWORD dwStyleRemove = 0);
    virtual DWORD GetStyleEx() const;
    virtual DWORD ModifyStyleEx(DWORD dwStyleExAdd, DWORD dwStyleExRemove = 0);
    virtual CExtGridDataProvider* GetOwner() const;
    virtual CExtGridDataProvider* SetOwner(CExtGridDataProvider* pOwner);
    virtual bool IsEmpty() const;
    // Back to a new cell's fields, the owner cleared too.
    virtual void Reset();
    virtual void Assign(const CExtGridCell& other);
    virtual int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const;
    virtual int CompareStyles(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const;
    virtual void TextGet(CString& strCopy) const;
    virtual void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false);
    // Fills an initialised (or cleared) VARIANT with the cell's value.
    virtual void VariantGet(VARIANT* pVariant) const;
    virtual LPCTSTR GetTextBuffer() const;
    virtual CExtGridCell* Clone(IMalloc* pMalloc = NULL) const;

    // ---- the grid's calls: one argument list for painting, layout and measuring ----
    // The grid passes the position (visible and real column and row, the band types
    // -1 left or top, 0 inner, 1 right or bottom), the rectangles, the area flags of the
    // cell (0x100 outer with its side bits, 0x200 inner) and its paint flags.
#define EXT_GRID_CELL_PAINT_ARGS                                                                      \
    CExtGridWnd &wndGrid, CDC &dc, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, \
        INT nColType, INT nRowType, const RECT &rcCellExtra, const RECT &rcCell,                     \
        const RECT &rcVisibleRange, DWORD dwAreaFlags, DWORD dwHelperPaintFlags
#define EXT_GRID_CELL_PAINT_PASS                                                                   \
    wndGrid, dc, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType, rcCellExtra, rcCell, \
        rcVisibleRange, dwAreaFlags, dwHelperPaintFlags
#define EXT_GRID_CELL_PAINT_PASS_NO_GRID                                                      \
    dc, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType, rcCellExtra, rcCell, \
        rcVisibleRange, dwAreaFlags, dwHelperPaintFlags

    // The rectangles of a cell's parts and the focus-arrow glyph chosen by the layout.
    struct CELL_LAYOUT
    {
        CRect m_rcRest, m_rcText, m_rcFocusArrow, m_rcIcon, m_rcCheck, m_rcSortArrow;
        CRect m_rcUp, m_rcDown, m_rcDropDown, m_rcEllipsis;
        INT m_nFocusGlyph;  // -1 none; 5 left, 4 right, 3 top, 2 bottom band
        CELL_LAYOUT();
    };
    // What the layout needs besides the cell's styles; filled by the cell from the grid.
    struct LAYOUT_INPUT
    {
        CRect m_rcCell;
        DWORD m_dwStyle, m_dwStyleEx;
        INT m_nColType, m_nRowType;
        bool m_bGridLinesH, m_bGridLinesV;
        bool m_bFocusInBand;  // the grid's focus lies in the cell's row (side bands) or column
        bool m_bHasText;
        CSize m_szFocusArrow, m_szIcon, m_szCheck, m_szSortArrow;
        INT m_nWidthUpDown, m_nWidthDropDown, m_nWidthEllipsis;
        CRect m_rcIconMargins, m_rcTextMargins;
        LAYOUT_INPUT();
    };
    static void stat_CalcLayout(const LAYOUT_INPUT& in, CELL_LAYOUT& out);
    // The part under a point (hit-test order: buttons, sort arrow, check box, icon,
    // focus arrow, text, rest): its part flag, or 0 when none; nButtonType and rcPart
    // receive the button type (-1 for other parts) and the part's rectangle.
    static DWORD stat_HitTestParts(const CELL_LAYOUT& lay, POINT pt, INT& nButtonType, RECT& rcPart);

    enum e_part_flags_t : DWORD
    {
        __EGCPF_CHECK = 0x400,
        __EGCPF_ICON = 0x800,
        __EGCPF_BUTTON = 0x1000,
        __EGCPF_TEXT = 0x2000,
        __EGCPF_REST = 0x4000,
        __EGCPF_SORT_ARROW = 0x8000,
        __EGCPF_FOCUS_ARROW = 0x10000,
        __EGCPF_ALL = 0x1FC00,
    };

    virtual bool OnPaintBackground(EXT_GRID_CELL_PAINT_ARGS) const;
    virtual void OnPaint(EXT_GRID_CELL_PAINT_ARGS) const;
    virtual void OnPaintText(const RECT& rcCellText, EXT_GRID_CELL_PAINT_ARGS) const;
    virtual CSize OnMeasureText(EXT_GRID_CELL_PAINT_ARGS) const;
    virtual void OnPaintSortArrow(const RECT& rcSortArrow, EXT_GRID_CELL_PAINT_ARGS) const;
    virtual void OnPaintButton(const RECT& rcButton, INT nButtonType, bool bPressed, bool bEnabled,
                               EXT_GRID_CELL_PAINT_ARGS) const;
    virtual void OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon, EXT_GRID_CELL_PAINT_ARGS) const;
    virtual void OnPaintCheckRadio(const RECT& rcCheck, EXT_GRID_CELL_PAINT_ARGS) const;
    virtual CSize GetCheckGlyphSize(CExtGridWnd& wndGrid, CDC& dc) const;
    // Fills the layout from the grid's facts and the part sizes.
    virtual void OnCalcLayout(CELL_LAYOUT& lay, CSize szFocusArrow, CSize szIcon, CSize szCheck,
                              CSize szSortArrow, INT nWidthUpDown, INT nWidthDropDown, INT nWidthEllipsis,
                              EXT_GRID_CELL_PAINT_ARGS) const;
    // The part sizes of one cell position and its layout, as painting and hit testing use them.
    void CalcPartsLayout(CELL_LAYOUT& lay, EXT_GRID_CELL_PAINT_ARGS) const;
    virtual INT GetButtonWidth(INT nButtonType, EXT_GRID_CELL_PAINT_ARGS) const;
    virtual void OnFormatHeaderNumber(CString& strText, EXT_GRID_CELL_PAINT_ARGS) const;
    virtual COLORREF OnQueryTextColor(EXT_GRID_CELL_PAINT_ARGS) const;
    virtual COLORREF OnQueryBackColor(EXT_GRID_CELL_PAINT_ARGS) const;
    // Writes the part flags (0x400..0x10000), the part rectangle and the button type.
    virtual void OnHitTest(CExtGridWnd& wndGrid, HIT_TEST_INFO_T& htiCurrent, bool bComputeOuterDropAfterState) const;
    virtual void OnHover(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, bool bHoverEnter,
                         bool bHoverLeave);
    // nButton 1 left, 2 right, 4 middle; nEvent 1 press, 2 double click, 3 release.
    virtual bool OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, UINT nButton, UINT nEvent,
                         UINT nFlags);
    // State 0 unchecked, 1 checked, 2 mixed (check boxes only).
    virtual void OnChangeCheck(INT nNewState, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo, INT nColType,
                               INT nRowType, const RECT& rcCell);
    // The auto-repeat step of a held button and the end of a press on a button.
    virtual void OnButtonPressing(CExtGridWnd& wndGrid, INT nButtonType, bool bMouseInsideButton,
                                  ULONG nPressedTimerCounter, const RECT& rcButton, const RECT& rcCellExtra,
                                  const RECT& rcCell, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType);
    virtual void OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra,
                                 const RECT& rcCell, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                 LONG nRowNo, INT nColType, INT nRowType);
    virtual bool OnSysKey(CExtGridWnd& wndGrid, bool bKeyDownEvent, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual bool OnKey(CExtGridWnd& wndGrid, bool bKeyDownEvent, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual bool OnSetCursor(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent) const;
    virtual bool OnQueryTipText(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, CString& strTipText) const;
    virtual bool OnInitTipWnd(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent,
                              CExtPopupMenuTipWnd& wndTip, const RECT& rcArea) const;
    virtual bool OnInitToolTip(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, CToolTipCtrl& wndToolTip,
                               UINT nIdTool, const RECT& rcTool) const;
    virtual bool OnInitContentExpandWnd(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent,
                                        CExtContentExpandWnd& wndContentExpand, const RECT& rcExcludeArea,
                                        INT nSizeOfExpandShadow) const;
    virtual bool OnPaintExpandedContent(CExtContentExpandWnd::ITEM_PAINT_INFO& ipi, CExtGridWnd& wndGrid,
                                        const HIT_TEST_INFO_T& htiCurrent, CExtContentExpandWnd& wndContentExpand,
                                        INT nSizeOfExpandShadow) const;

    // In-place editing: the editor window for the cell, or NULL (style 0x80000000).
    virtual HWND OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                        LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                                        const RECT& rcCell, const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                        LONG nLastEditedRowNo);
    // The editor's keys first: true keeps the message from the editor.
    virtual bool OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                     const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra, const RECT& rcCell);
    virtual bool OnInplaceControlTextInputVerify(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                 LONG nRowNo, INT nColType, INT nRowType, LPCTSTR sTextInitial,
                                                 LPCTSTR sTextPrevious, CString& sTextNew, bool bEndEdit);
    virtual void OnInplaceControlApply(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo,
                                       INT nColType, INT nRowType, LPCTSTR sTextNew, bool bSaveChanges);
    virtual void OnInplaceControlApplyDateTime(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                               LONG nRowNo, INT nColType, INT nRowType,
                                               const COleDateTime& dtValue, bool bSaveChanges);
    virtual void OnInplaceControlApplyInteger(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                              LONG nRowNo, INT nColType, INT nRowType, INT nValue,
                                              bool bSaveChanges);
    virtual void OnInplaceControlApplyIPAddress(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                LONG nRowNo, INT nColType, INT nRowType, DWORD dwIPAddress,
                                                bool bSaveChanges);
    // Runs while the grid's modal edit loop finds the queue empty, again and again until
    // it answers false (no more idle work); nIdleCounter counts the calls of one pause.
    virtual bool OnInplaceControlIdle(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nIdleCounter);
    // The editors' other calls: a message reaching the editor's window procedure (true
    // consumes it with lResult), the three value checks (the grid's hook is told, the
    // value accepted) and the editor's traits (out values untouched mean none).
    virtual bool OnInplaceControlWindowProc(LRESULT& lResult, UINT nMessage, WPARAM wParam, LPARAM lParam,
                                            HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nVisibleColNo,
                                            LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                            INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                            const RECT& rcInplaceControl);
    virtual bool OnInplaceControlDateTimeInputVerify(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                     LONG nRowNo, INT nColType, INT nRowType,
                                                     const COleDateTime& dtOld, const COleDateTime& dtNew,
                                                     bool bEndEdit);
    virtual bool OnInplaceControlPositionInputVerify(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                     LONG nRowNo, INT nColType, INT nRowType, INT nPosOld,
                                                     INT nPosNew, bool bEndEdit);
    virtual bool OnInplaceControlAddressInputVerify(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                    LONG nRowNo, INT nColType, INT nRowType, DWORD dwOld,
                                                    DWORD dwNew, bool bEndEdit);
    virtual void OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl, LONG nVisibleColNo,
                                              LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                              INT nRowType, DWORD dwAreaFlags, bool* pbReadOnly, bool* pbPassword,
                                              COLORREF* pclrText, COLORREF* pclrBack);

    // The record that a drop-down list carries for its cell.
    struct POPUP_LIST_INFO
    {
        CExtGridCell* m_pCell;
        CExtGridWnd* m_pWndGrid;
        bool m_bHelperFlag;
        CRect m_rcCell, m_rcCellExtra;
        LONG m_nColNo, m_nRowNo;
        INT m_nColType, m_nRowType;
        LONG m_nVisibleColNo, m_nVisibleRowNo;
        DWORD m_dwListBoxStyles;
        DWORD m_dwFlags;  // bit 0: a selection was made
        INT m_nItemIndex, m_nReserved1, m_nReserved2;
        POPUP_LIST_INFO(CExtGridCell* pCell, CExtGridWnd* pWndGrid, const RECT& rcCell, const RECT& rcCellExtra,
                        LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, LONG nVisibleColNo,
                        LONG nVisibleRowNo);
    };
    virtual bool OnButtonPopupMenuTrack(POPUP_LIST_INFO& _pli);
    // After the list closed with a selection; the list window is gone by then.
    virtual bool OnPopupListBoxClosed(POPUP_LIST_INFO& _pli);
    virtual bool OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& _pli);
    virtual bool OnPopupListBoxSelChange(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& _pli);
    virtual bool OnPopupListBoxSelEndOK(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& _pli);
    virtual bool OnPopupListBoxSelEndCancel(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& _pli);
    virtual bool OnPopupListBoxItemDraw(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& _pli,
                                        LPDRAWITEMSTRUCT pDIS);
    virtual bool OnPopupListBoxItemMeasure(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& _pli,
                                           LPMEASUREITEMSTRUCT pMIS);

    // Press and drag of an outer cell while the grid tracks it; true: the cell handled
    // the event itself.
    virtual bool OnOuterPressBegin(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, INT nButton, UINT nFlags);
    virtual void OnOuterPressStateChanged(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, INT nButton,
                                          UINT nFlags, bool bPressed);
    virtual bool OnOuterPressEnd(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, INT nButton, UINT nFlags,
                                 bool bClicked, bool bDragStarted);
    virtual bool OnOuterDragBegin(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, INT nButton, UINT nFlags);
    virtual bool OnOuterDragComplete(CExtGridWnd& wndGrid, bool bDropped, const HIT_TEST_INFO_T& htiSource,
                                     const HIT_TEST_INFO_T& htiTarget);
    virtual bool OnOuterDragRemove(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent);

    // Size of the cell's content; the grid may be NULL.
    virtual CSize OnMeasureCell(CExtGridWnd* pWndGrid, CDC& dc) const;
    virtual INT MeasureExtent(CExtGridWnd* pWndGrid, CDC& dc, bool bWidth) const;
    // OnMeasureCell with the grid's client DC, or the screen's without a grid window.
    CSize MeasureCell(CExtGridWnd* pWndGrid) const;

    // The owner's font at the font index; NULL outside the owner's list.
    virtual HFONT GetFont() const;
    CExtCmdIcon* GetIcon() { return IconGet(); }
    CSize GetIconSize() { return IconGetSize(); }
    INT GetIconIndex() const { return IconIndexGet(); }
    INT SetIconIndex(INT nIndex) { return IconIndexSet(nIndex); }

    // The probe string whose height every single-line text gets at least.
    static LPCTSTR stat_GetHeightProbeString();

    // Part sizes and margins.
    virtual CRect GetIconMargins() const;
    virtual CRect GetMargins() const;
    virtual CSize GetSortArrowPartSize(DWORD dwHelperPaintFlags, bool bQueryWidth = true,
                                       bool bQueryHeight = true) const;
    virtual CSize GetFocusArrowPartSize(DWORD dwHelperPaintFlags, bool bQueryWidth = true,
                                        bool bQueryHeight = true) const;
    virtual UINT OnQueryDrawTextFlags(bool bHorz, bool bVert, bool bForDrawing) const;

    // Buttons: false when the type is above 3 or the cell has no such button. The
    // hold flag asks the grid to repeat the click while the button stays pressed,
    // every nRepeatDelay milliseconds.
    virtual bool OnQueryButtonInfo(INT nButtonType, bool* pbEnabled, bool* pbPressed = NULL,
                                   bool* pbHold = NULL, DWORD* pnRepeatDelay = NULL) const;
    // Sets or clears the pressed bit of an existing button; returns the old style.
    virtual DWORD SetButtonPressed(INT nButtonType, bool bPressed);

    virtual bool CanIncrement();
    virtual bool CanDecrement();
    virtual bool Increment();
    virtual bool Decrement();

    virtual bool ProportionalExtentAccess(double& lfExtent, bool bGet);
    virtual bool ExtentAccess(INT& nExtent, bool bGet, INT nType = 0);
    virtual bool ExtraSpaceAccess(INT& nExtra, bool bGet, bool bAfter);

    virtual INT IconIndexGet() const;
    virtual INT IconIndexSet(INT nIconIndex);
    virtual INT ImageIndexGet() const;
    virtual INT ImageIndexSet(INT nImageIndex);
    virtual CExtCmdIcon* IconGet();
    virtual CSize IconGetSize();
    virtual CExtCmdIcon* ImageGet();

    virtual void TextGetForEdit(CString& strCopy) const;
    virtual TCHAR GetPasswordChar() const;
    virtual HRESULT OnParseText(LPCTSTR sText) const;

    virtual CSize OnQueryListItemMargins() const;
    virtual CSize OnQueryDropDownSize() const;

    // Colours per state and font attributes: the root keeps none (setters change
    // nothing, getters answer -1 or false); the colour and font layers keep them.
    virtual COLORREF TextColorSet(INT nState, COLORREF clr);
    virtual COLORREF TextColorGet(INT nState) const;
    virtual COLORREF BackColorSet(INT nState, COLORREF clr);
    virtual COLORREF BackColorGet(INT nState) const;
    virtual LONG FontHeightSet(LONG nHeight);
    virtual bool FontHeightGet(LONG& nHeight) const;
    virtual void FontHeightReset();
    virtual LONG FontWidthSet(LONG nWidth);
    virtual bool FontWidthGet(LONG& nWidth) const;
    virtual void FontWidthReset();
    virtual LONG FontWeightSet(LONG nWeight);
    virtual bool FontWeightGet(LONG& nWeight) const;
    virtual void FontWeightReset();
    virtual bool FontItalicSet(bool bItalic);
    virtual bool FontItalicGet(bool& bItalic) const;
    virtual void FontItalicReset();
    virtual bool FontUnderlineSet(bool bUnderline);
    virtual bool FontUnderlineGet(bool& bUnderline) const;
    virtual void FontUnderlineReset();
    virtual bool FontStrikeOutSet(bool bStrikeOut);
    virtual bool FontStrikeOutGet(bool& bStrikeOut) const;
    virtual void FontStrikeOutReset();
    virtual BYTE FontQualitySet(BYTE nQuality);
    virtual bool FontQualityGet(BYTE& nQuality) const;
    virtual void FontQualityReset();
    virtual LPCTSTR FontFaceNameSet(LPCTSTR sFaceName);
    virtual bool FontFaceNameGet(CString& sFaceName) const;
    virtual void FontFaceNameReset();
    // The font to paint the cell with, or NULL for the grid's own; *pbDelete tells the
    // caller whether it must delete the returned font. The root's own font comes from the
    // owner's font list (never deleted); without one the grid's font hook answers.
    virtual HFONT OnQueryCellFont(const CWnd* pWndGrid, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                  bool* pbDelete) const;
    // The fifth root field under its other name: the index into the owner's font list.
    INT GetFontIndex() const { return ImageIndexGet(); }
    INT SetFontIndex(INT nFontIndex) { return ImageIndexSet(nFontIndex); }

    // Extents through the cell's access operations: false when the cell keeps none.
    bool GetExtent(INT& nExtent, INT nType = 0);
    bool SetExtent(INT nExtent, INT nType = 0);
    bool GetExtraSpace(INT& nExtra, bool bAfter);
    bool SetExtraSpace(INT nExtra, bool bAfter);
    bool GetProportionalExtent(double& lfExtent);
    bool SetProportionalExtent(double lfExtent);

    // Allocation inside a data provider's allocator.
    static void* operator new(size_t nSize);
    // A new-expression checks for NULL only when its allocation function cannot throw:
    // the two-argument form yields NULL on failure (a NULL allocator included); the
    // form with bThrow throws the framework's memory exception on any failure.
    static void* operator new(size_t nSize, IMalloc* pMalloc) noexcept;
    static void* operator new(size_t nSize, IMalloc* pMalloc, bool bThrow);
    static void operator delete(void* p);
    static void operator delete(void* p, IMalloc* pMalloc) noexcept;
    static void operator delete(void* p, IMalloc* pMalloc, bool bThrow);
    // The raw block: NULL allocator or size 0 gives NULL, or the memory exception
    // with bThrow; so does a failed allocation.
    static void* stat_AllocBlock(size_t nSize, IMalloc* pMalloc, bool bThrow = false);
    static void stat_FreeBlock(IMalloc* pMalloc, void* p, bool bThrow = false);

    static CExtGridCell* InstanceCreate(CRuntimeClass* pClass, IMalloc* pMalloc, bool bThrow = false);
    static void InstanceDestroy(CExtGridCell* pCell, IMalloc* pMalloc, bool bThrow = false);
    static bool InstanceSave(CArchive& ar, CExtGridCell* pCell);
    static CExtGridCell* InstanceLoad(CArchive& ar, IMalloc* pMalloc, bool bThrow = false);

    // VARIANT comparison: 0 less, 1 equal, 2 greater, 3 null, as VarCmp answers.
    static HRESULT stat_VariantCompare(VARIANT* pLeft, VARIANT* pRight, LCID lcid = LOCALE_USER_DEFAULT,
                                       ULONG dwFlags = 0, bool bNullEquals = true);
    // A VARIANT's stream form: a 2-byte type, then the value. On loading, a vtType
    // other than VT_EMPTY is taken as the stored type and no type is read.
    // The classes whose objects a VARIANT stream may create on loading (VT_UNKNOWN and
    // VT_DISPATCH). None by default: a stream from a file must not choose what code runs.
    static void stat_VariantAllowClass(REFCLSID clsid, bool bAllow = true);
    static HRESULT stat_VariantSerialize(VARIANT* pVariant, IStream* pStream, bool bSave,
                                         VARTYPE vtType = VT_EMPTY);

    // The style bit of a button type and of its pressed state; 0 for other types.
    static DWORD stat_ButtonStyle(INT nButtonType);
    static DWORD stat_ButtonPressedStyle(INT nButtonType);
    // The check bits after a change to state 0 (unchecked), 1 (checked) or 2 (mixed);
    // the style unchanged when the change does not apply (no check type, a radio button
    // asked for the mixed state, a state above 2, a read-only cell).
    static DWORD stat_CheckStyleForState(DWORD dwStyle, INT nState);

    // Drawing of the parts that need only the grid's window (for its visual-styles
    // theme) and a device context; the cell's painting operations call them.
    // The check glyph: 0 x 0 without a check type, the "BUTTON" theme's true size, or
    // 13 x 13 when visual styles are off or give nothing.
    static CSize stat_GetCheckGlyphSize(HWND hWndGrid, HDC hDC, DWORD dwStyle, DWORD dwStyleEx);
    // The check box or radio button at the top-left of rcPart.
    static void stat_PaintCheckRadio(HWND hWndGrid, HDC hDC, const RECT& rcPart, DWORD dwStyle,
                                     DWORD dwStyleEx);
    // The base background: nothing (false) outside the inner area (paint flag 0x200),
    // else the face colour in a raised 3D frame (true).
    static bool stat_PaintBackground(HDC hDC, const RECT& rcCell, DWORD dwHelperPaintFlags);

    // The cell whose drop-down list is open, if any; cleared when that cell dies.
    static CExtGridCell* g_pCellMenuTracking;

protected:
    void InitFields();

    CExtGridDataProvider* m_pOwner;
    DWORD m_dwStyle;
    DWORD m_dwStyleEx;
    INT m_nIconIndex;
    INT m_nImageIndex;
    DWORD m_dwValue32;
};

// A pointer to a cell that becomes NULL when the cell is destroyed. The grid's modal
// loops hold the cell they track by one: a message they pump, or the cell's own action,
// may remove the cell's row or column while the loop still runs.
class CExtGridCellWatch
{
public:
    explicit CExtGridCellWatch(CExtGridCell* pCell);
    ~CExtGridCellWatch();

    CExtGridCell* Get() const { return m_pCell; }
    // The pointer itself, for code that reads it again after every message.
    CExtGridCell* const& Ref() const { return m_pCell; }

    // Clears every watch of the cell; the cell's destructor calls it.
    static void stat_OnCellDestroyed(const CExtGridCell* pCell);

private:
    CExtGridCell* m_pCell;
    CExtGridCellWatch* m_pNext;
    static CExtGridCellWatch* g_pFirst;

    CExtGridCellWatch(const CExtGridCellWatch&) = delete;
    CExtGridCellWatch& operator=(const CExtGridCellWatch&) = delete;
};
