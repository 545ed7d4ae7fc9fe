// Wrappers of the list-view and header controls: CListCtrl and CHeaderCtrl.
// Owner-drawn list views (LVS_OWNERDRAWFIXED) and headers (HDF_OWNERDRAW items) receive
// the parent's reflected WM_DRAWITEM in the virtual DrawItem.
#pragma once
#include "framework/platform.h"
#include "framework/wnd.h"
#include "framework/str.h"
#include "framework/imagelist.h"
#include "framework/ctrl_basic.h"
#include "framework/ctrl_common.h"

#ifndef AFX_POSITION_DEFINED
#define AFX_POSITION_DEFINED
struct __POSITION {};
typedef __POSITION* POSITION;
#endif

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    CHeaderCtrl() {}
    virtual ~CHeaderCtrl();

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetItemCount() const { return (int)::SendMessage(m_hWnd, HDM_GETITEMCOUNT, 0, 0); }
    BOOL GetItem(int nPos, HDITEM* pHeaderItem) const {
        return (BOOL)::SendMessage(m_hWnd, HDM_GETITEM, nPos, (LPARAM)pHeaderItem);
    }
    BOOL SetItem(int nPos, HDITEM* pHeaderItem) {
        return (BOOL)::SendMessage(m_hWnd, HDM_SETITEM, nPos, (LPARAM)pHeaderItem);
    }
    int InsertItem(int nPos, HDITEM* phdi) { return (int)::SendMessage(m_hWnd, HDM_INSERTITEM, nPos, (LPARAM)phdi); }
    BOOL DeleteItem(int nPos) { return (BOOL)::SendMessage(m_hWnd, HDM_DELETEITEM, nPos, 0); }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
        return (BOOL)::SendMessage(m_hWnd, HDM_GETITEMRECT, nIndex, (LPARAM)lpRect);
    }
    BOOL Layout(HDLAYOUT* pHeaderLayout) { return (BOOL)::SendMessage(m_hWnd, HDM_LAYOUT, 0, (LPARAM)pHeaderLayout); }
    int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) {
        return (int)::SendMessage(m_hWnd, HDM_HITTEST, 0, (LPARAM)pHeaderHitTestInfo);
    }
    int OrderToIndex(int nOrder) const { return (int)::SendMessage(m_hWnd, HDM_ORDERTOINDEX, nOrder, 0); }
    // iCount -1 means every item.
    BOOL GetOrderArray(LPINT piArray, int iCount = -1) const;
    BOOL SetOrderArray(int iCount, LPINT piArray) {
        return (BOOL)::SendMessage(m_hWnd, HDM_SETORDERARRAY, iCount, (LPARAM)piArray);
    }
    CImageList* SetImageList(CImageList* pImageList);
    CImageList* GetImageList() const;
    CImageList* CreateDragImage(int nIndex);
    int SetHotDivider(CPoint pt) { return (int)::SendMessage(m_hWnd, HDM_SETHOTDIVIDER, TRUE, MAKELPARAM(pt.x, pt.y)); }
    int SetHotDivider(int nIndex) { return (int)::SendMessage(m_hWnd, HDM_SETHOTDIVIDER, FALSE, nIndex); }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() {}
    virtual ~CListCtrl();

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- colours and styles
    COLORREF GetBkColor() const { return (COLORREF)::SendMessage(m_hWnd, LVM_GETBKCOLOR, 0, 0); }
    BOOL SetBkColor(COLORREF cr) { return (BOOL)::SendMessage(m_hWnd, LVM_SETBKCOLOR, 0, cr); }
    COLORREF GetTextColor() const { return (COLORREF)::SendMessage(m_hWnd, LVM_GETTEXTCOLOR, 0, 0); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)::SendMessage(m_hWnd, LVM_SETTEXTCOLOR, 0, cr); }
    COLORREF GetTextBkColor() const { return (COLORREF)::SendMessage(m_hWnd, LVM_GETTEXTBKCOLOR, 0, 0); }
    BOOL SetTextBkColor(COLORREF cr) { return (BOOL)::SendMessage(m_hWnd, LVM_SETTEXTBKCOLOR, 0, cr); }
    DWORD GetExtendedStyle() const { return (DWORD)::SendMessage(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }
    // Returns the previous extended styles.
    DWORD SetExtendedStyle(DWORD dwNewStyle) {
        return (DWORD)::SendMessage(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle);
    }
    CImageList* GetImageList(int nImageList) const;
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    UINT GetCallbackMask() const { return (UINT)::SendMessage(m_hWnd, LVM_GETCALLBACKMASK, 0, 0); }
    BOOL SetCallbackMask(UINT nMask) { return (BOOL)::SendMessage(m_hWnd, LVM_SETCALLBACKMASK, nMask, 0); }
    CHeaderCtrl* GetHeaderCtrl() const;
    HCURSOR SetHotCursor(HCURSOR hc) { return (HCURSOR)::SendMessage(m_hWnd, LVM_SETHOTCURSOR, 0, (LPARAM)hc); }
    int SetHotItem(int iIndex) { return (int)::SendMessage(m_hWnd, LVM_SETHOTITEM, iIndex, 0); }
    int GetHotItem() const { return (int)::SendMessage(m_hWnd, LVM_GETHOTITEM, 0, 0); }
    DWORD GetItemSpacing(BOOL fSmall) const {
        return (DWORD)::SendMessage(m_hWnd, LVM_GETITEMSPACING, fSmall, 0);
    }
    BOOL GetViewRect(LPRECT lpRect) const { return (BOOL)::SendMessage(m_hWnd, LVM_GETVIEWRECT, 0, (LPARAM)lpRect); }
    // The size the control needs for iCount items (-1: all) in its current view.
    CSize ApproximateViewRect(CSize sz = CSize(-1, -1), int iCount = -1) const {
        DWORD d = (DWORD)::SendMessage(m_hWnd, LVM_APPROXIMATEVIEWRECT, iCount, MAKELPARAM(sz.cx, sz.cy));
        return CSize(LOWORD(d), HIWORD(d));
    }
    DWORD GetView() const { return (DWORD)::SendMessage(m_hWnd, LVM_GETVIEW, 0, 0); }
    int SetView(int iView) { return (int)::SendMessage(m_hWnd, LVM_SETVIEW, iView, 0); }
    HCURSOR GetHotCursor() const { return (HCURSOR)::SendMessage(m_hWnd, LVM_GETHOTCURSOR, 0, 0); }
    DWORD GetHoverTime() const { return (DWORD)::SendMessage(m_hWnd, LVM_GETHOVERTIME, 0, 0); }
    DWORD SetHoverTime(DWORD dwHoverTime = (DWORD)-1) {
        return (DWORD)::SendMessage(m_hWnd, LVM_SETHOVERTIME, 0, dwHoverTime);
    }
    CToolTipCtrl* GetToolTips() const;
    CToolTipCtrl* SetToolTips(CToolTipCtrl* pTip);
    BOOL GetISearchString(LPTSTR lpsz) const {
        return (BOOL)::SendMessage(m_hWnd, LVM_GETISEARCHSTRING, 0, (LPARAM)lpsz);
    }
    UINT GetNumberOfWorkAreas() const {
        UINT n = 0;
        ::SendMessage(m_hWnd, LVM_GETNUMBEROFWORKAREAS, 0, (LPARAM)&n);
        return n;
    }
    void GetWorkAreas(int nWorkAreas, LPRECT prc) const {
        ::SendMessage(m_hWnd, LVM_GETWORKAREAS, nWorkAreas, (LPARAM)prc);
    }
    void SetWorkAreas(int nWorkAreas, LPRECT lpRect) {
        ::SendMessage(m_hWnd, LVM_SETWORKAREAS, nWorkAreas, (LPARAM)lpRect);
    }
    COLORREF GetOutlineColor() const { return (COLORREF)::SendMessage(m_hWnd, LVM_GETOUTLINECOLOR, 0, 0); }
    COLORREF SetOutlineColor(COLORREF color) {
        return (COLORREF)::SendMessage(m_hWnd, LVM_SETOUTLINECOLOR, 0, color);
    }
    int GetSelectedColumn() const { return (int)::SendMessage(m_hWnd, LVM_GETSELECTEDCOLUMN, 0, 0); }
    void SetSelectedColumn(int iCol) { ::SendMessage(m_hWnd, LVM_SETSELECTEDCOLUMN, iCol, 0); }
    DWORD SetIconSpacing(int cx, int cy) {
        return (DWORD)::SendMessage(m_hWnd, LVM_SETICONSPACING, 0, MAKELONG(cx, cy));
    }

    // ---- columns
    int InsertColumn(int nCol, const LVCOLUMN* pColumn) {
        return (int)::SendMessage(m_hWnd, LVM_INSERTCOLUMN, nCol, (LPARAM)pColumn);
    }
    // nSubItem -1 gives the new column the sub-item of its index.
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return (BOOL)::SendMessage(m_hWnd, LVM_DELETECOLUMN, nCol, 0); }
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const {
        return (BOOL)::SendMessage(m_hWnd, LVM_GETCOLUMN, nCol, (LPARAM)pColumn);
    }
    BOOL SetColumn(int nCol, const LVCOLUMN* pColumn) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETCOLUMN, nCol, (LPARAM)pColumn);
    }
    int GetColumnWidth(int nCol) const { return (int)::SendMessage(m_hWnd, LVM_GETCOLUMNWIDTH, nCol, 0); }
    BOOL SetColumnWidth(int nCol, int cx) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0));
    }
    // iCount -1 means every column (the header's item count).
    BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1) const;
    BOOL SetColumnOrderArray(int iCount, LPINT piArray) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETCOLUMNORDERARRAY, iCount, (LPARAM)piArray);
    }

    // ---- items
    int GetItemCount() const { return (int)::SendMessage(m_hWnd, LVM_GETITEMCOUNT, 0, 0); }
    void SetItemCount(int nItems) { ::SendMessage(m_hWnd, LVM_SETITEMCOUNT, nItems, 0); }
    BOOL SetItemCountEx(int iCount, DWORD dwFlags = LVSICF_NOINVALIDATEALL) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMCOUNT, iCount, dwFlags);
    }
    int InsertItem(const LVITEM* pItem) { return (int)::SendMessage(m_hWnd, LVM_INSERTITEM, 0, (LPARAM)pItem); }
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                   LPARAM lParam);
    BOOL DeleteItem(int nItem) { return (BOOL)::SendMessage(m_hWnd, LVM_DELETEITEM, nItem, 0); }
    BOOL DeleteAllItems() { return (BOOL)::SendMessage(m_hWnd, LVM_DELETEALLITEMS, 0, 0); }
    BOOL GetItem(LVITEM* pItem) const { return (BOOL)::SendMessage(m_hWnd, LVM_GETITEM, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEM* pItem) { return (BOOL)::SendMessage(m_hWnd, LVM_SETITEM, 0, (LPARAM)pItem); }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam);
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    CString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    UINT GetItemState(int nItem, UINT nMask) const {
        return (UINT)::SendMessage(m_hWnd, LVM_GETITEMSTATE, nItem, nMask);
    }
    BOOL SetItemState(int nItem, LVITEM* pItem) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMSTATE, nItem, (LPARAM)pItem);
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    // LVS_EX_CHECKBOXES: the check box is state image 2 (checked) or 1 (clear). The
    // answer is the state image index less one, so further state images answer 2 and up.
    BOOL GetCheck(int nItem) const { return (BOOL)(GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1; }
    BOOL SetCheck(int nItem, BOOL fCheck = TRUE) {
        return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const {
        return (BOOL)::SendMessage(m_hWnd, LVM_GETITEMPOSITION, nItem, (LPARAM)lpPoint);
    }
    BOOL SetItemPosition(int nItem, POINT pt) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMPOSITION32, nItem, (LPARAM)&pt);
    }
    // nCode is LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL or LVIR_SELECTBOUNDS.
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    // The rectangle of one cell; nArea LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL.
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const {
        return (int)::SendMessage(m_hWnd, LVM_FINDITEM, nStart, (LPARAM)pFindInfo);
    }
    int GetStringWidth(LPCTSTR lpsz) const {
        return (int)::SendMessage(m_hWnd, LVM_GETSTRINGWIDTH, 0, (LPARAM)lpsz);
    }

    // ---- selection and navigation
    int GetNextItem(int nItem, int nFlags) const {
        return (int)::SendMessage(m_hWnd, LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0));
    }
    UINT GetSelectedCount() const { return (UINT)::SendMessage(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0); }
    // Iteration over the selected items: NULL ends; the position is item index + 1.
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    int GetSelectionMark() const { return (int)::SendMessage(m_hWnd, LVM_GETSELECTIONMARK, 0, 0); }
    int SetSelectionMark(int iIndex) { return (int)::SendMessage(m_hWnd, LVM_SETSELECTIONMARK, 0, iIndex); }
    int GetTopIndex() const { return (int)::SendMessage(m_hWnd, LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)::SendMessage(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0); }
    BOOL GetOrigin(LPPOINT lpPoint) const { return (BOOL)::SendMessage(m_hWnd, LVM_GETORIGIN, 0, (LPARAM)lpPoint); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
        return (BOOL)::SendMessage(m_hWnd, LVM_ENSUREVISIBLE, nItem, MAKELPARAM(bPartialOK, 0));
    }
    BOOL Scroll(CSize size) { return (BOOL)::SendMessage(m_hWnd, LVM_SCROLL, size.cx, size.cy); }
    BOOL RedrawItems(int nFirst, int nLast) {
        return (BOOL)::SendMessage(m_hWnd, LVM_REDRAWITEMS, nFirst, nLast);
    }
    BOOL Update(int nItem) { return (BOOL)::SendMessage(m_hWnd, LVM_UPDATE, nItem, 0); }
    BOOL Arrange(UINT nCode) { return (BOOL)::SendMessage(m_hWnd, LVM_ARRANGE, nCode, 0); }
    CEdit* EditLabel(int nItem);
    CEdit* GetEditControl() const;
    CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);

    // ---- hit tests and sorting
    int HitTest(LVHITTESTINFO* pHitTestInfo) const {
        return (int)::SendMessage(m_hWnd, LVM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    int HitTest(CPoint pt, UINT* pFlags = NULL) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo) {
        return (int)::SendMessage(m_hWnd, LVM_SUBITEMHITTEST, 0, (LPARAM)pInfo);
    }
    // pfnCompare gets the two items' lParam values and dwData.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SORTITEMS, dwData, (LPARAM)pfnCompare);
    }
    // pfnCompare gets the two items' indexes and dwData.
    BOOL SortItemsEx(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
        return (BOOL)::SendMessage(m_hWnd, LVM_SORTITEMSEX, dwData, (LPARAM)pfnCompare);
    }

    // LVS_OWNERDRAWFIXED list views.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
