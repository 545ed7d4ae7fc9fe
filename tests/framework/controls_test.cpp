// The control wrappers driven in real windows: owner-draw list boxes, combo boxes,
// buttons and list views reached through the parent's reflection; list-view, tree-view
// and edit members read back from the controls; the small common controls.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "framework_test_app.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"

using testsupport::DibCanvas;
using testsupport::PumpPending;

namespace {

LPCTSTR ParentClass() { return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)); }

// A visible top-level parent for the controls under test.
struct Parent {
    CWnd wnd;
    Parent() {
        wnd.CreateEx(0, ParentClass(), "controls", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 420, 320),
                     NULL, 0);
    }
    ~Parent() {
        if (wnd.m_hWnd) wnd.DestroyWindow();
    }
};

// Item colours for the owner-draw painting checks.
COLORREF ItemColour(UINT id) { return RGB(40 * (id + 1), 0, 200 - 30 * id); }

// An owner-draw list box that records what reflection brought it.
class CRecordingListBox : public CListBox {
public:
    std::vector<UINT> drawn, measured, deleted;
    std::vector<DWORD_PTR> deletedData;
    int compares = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        drawn.push_back(dis->itemID);
        if ((int)dis->itemID >= 0) {
            CDC* dc = CDC::FromHandle(dis->hDC);
            dc->FillSolidRect(&dis->rcItem, ItemColour(dis->itemID));
        }
    }
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
        measured.push_back(mis->itemID);
        mis->itemHeight = 10 + 2 * (UINT)mis->itemData;  // the data says how tall
    }
    int CompareItem(LPCOMPAREITEMSTRUCT cis) override {
        ++compares;
        return (int)cis->itemData1 - (int)cis->itemData2;
    }
    void DeleteItem(LPDELETEITEMSTRUCT dis) override {
        deleted.push_back(dis->itemID);
        deletedData.push_back(dis->itemData);
    }
};

class CRecordingCombo : public CComboBox {
public:
    std::vector<UINT> drawn;
    std::vector<int> measured;
    void DrawItem(LPDRAWITEMSTRUCT dis) override { drawn.push_back(dis->itemID); }
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
        measured.push_back((int)mis->itemID);
        mis->itemHeight = 21;
    }
};

class CRecordingButton : public CButton {
public:
    int draws = 0;
    RECT lastRect{};
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        ++draws;
        lastRect = dis->rcItem;
        ::FillRect(dis->hDC, &dis->rcItem, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    }
};

// An owner-drawn report list whose row height comes from the reflected WM_MEASUREITEM
// through its message map, and whose rows arrive in DrawItem.
class CRowList : public CListCtrl {
public:
    int rowHeight = 30;
    std::vector<UINT> drawn;
    afx_msg void MeasureItem(LPMEASUREITEMSTRUCT mis) { mis->itemHeight = rowHeight; }
    void DrawItem(LPDRAWITEMSTRUCT dis) override { drawn.push_back(dis->itemID); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRowList, CListCtrl)
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

int CALLBACK DescendingByData(LPARAM a, LPARAM b, LPARAM) { return (int)b - (int)a; }

}  // namespace

TEST(ControlsListBox, OwnerDrawCallbacksArriveThroughReflection) {
    Parent parent;
    CRecordingListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_SORT | LBS_NOTIFY,
                            CRect(10, 10, 210, 210), &parent.wnd, 101));
    EXPECT_EQ(&list, CWnd::FromHandlePermanent(list.m_hWnd));
    // Without LBS_HASSTRINGS the "string" is the item data; sorting asks CompareItem.
    const int data[] = {3, 1, 2};
    for (int d : data) list.AddString((LPCTSTR)(DWORD_PTR)d);
    EXPECT_GT(list.compares, 0);
    ASSERT_EQ(3, list.GetCount());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ((DWORD_PTR)(i + 1), list.GetItemData(i));  // sorted by the data
        EXPECT_EQ(10 + 2 * (i + 1), list.GetItemHeight(i));  // MeasureItem decided
    }
    EXPECT_EQ(3u, list.measured.size());

    // Painting: every item reaches DrawItem with its own rectangle.
    DibCanvas canvas(200, 200);
    list.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.Dc(), PRF_CLIENT);
    PumpPending();
    ASSERT_GE(list.drawn.size(), 3u);
    CRect r;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(LB_ERR, list.GetItemRect(i, &r));
        EXPECT_EQ(ItemColour(i), canvas.Pixel(r.left + 2, r.top + 1));
        EXPECT_EQ(ItemColour(i), canvas.Pixel(r.right - 1, r.bottom - 1));
    }

    // Hit tests: inside an item, and below the last one.
    BOOL outside = TRUE;
    list.GetItemRect(1, &r);
    EXPECT_EQ(1u, list.ItemFromPoint(r.CenterPoint(), outside));
    EXPECT_FALSE(outside);
    list.ItemFromPoint(CPoint(5, 190), outside);
    EXPECT_TRUE(outside);

    // Deleting tells DeleteItem which item and data went.
    EXPECT_EQ(2, list.DeleteString(0));
    ASSERT_EQ(1u, list.deleted.size());
    EXPECT_EQ(0u, list.deleted[0]);
    EXPECT_EQ((DWORD_PTR)1, list.deletedData[0]);
    EXPECT_EQ(LB_ERR, list.SetCurSel(5));
    EXPECT_EQ(1, list.SetCurSel(1));
    EXPECT_EQ(1, list.GetCurSel());
    list.DestroyWindow();
    AfxDeleteTempGdiMaps();
}

TEST(ControlsListBox, StringsSelectionAndLookup) {
    Parent parent;
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_EXTENDEDSEL | LBS_HASSTRINGS, CRect(0, 0, 150, 150),
                            &parent.wnd, 102));
    list.AddString("alpha");
    list.AddString("beta");
    list.InsertString(1, "alphabet");
    list.AddString("gamma");
    CString s;
    list.GetText(1, s);
    EXPECT_STREQ("alphabet", (LPCTSTR)s);
    EXPECT_EQ(8, list.GetTextLen(1));
    list.GetText(9, s);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(0, list.FindString(-1, "alp"));  // prefix
    EXPECT_EQ(1, list.FindStringExact(-1, "ALPHABET"));  // whole text, any case
    EXPECT_EQ(LB_ERR, list.FindStringExact(-1, "alph"));
    EXPECT_EQ(0, list.SetSel(0));
    EXPECT_EQ(0, list.SelItemRange(TRUE, 2, 3));
    EXPECT_EQ(3, list.GetSelCount());
    int sel[4] = {};
    EXPECT_EQ(3, list.GetSelItems(4, sel));
    EXPECT_EQ(0, sel[0]);
    EXPECT_EQ(3, sel[2]);
    list.SetItemDataPtr(2, &s);
    EXPECT_EQ(&s, list.GetItemDataPtr(2));
    list.ResetContent();
    EXPECT_EQ(0, list.GetCount());
}

TEST(ControlsComboBox, OwnerDrawStringsDropDownAndEditSelection) {
    Parent parent;
    CRecordingCombo combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             CRect(10, 10, 200, 200), &parent.wnd, 103));
    // The control measured its selection field (-1) and its items while being created.
    ASSERT_FALSE(combo.measured.empty());
    EXPECT_EQ(21, combo.GetItemHeight(0));
    combo.AddString("red");
    combo.AddString("green");
    combo.AddString("blue");
    CString s;
    combo.GetLBText(1, s);
    EXPECT_STREQ("green", (LPCTSTR)s);
    EXPECT_EQ(4, combo.GetLBTextLen(2));
    combo.GetLBText(7, s);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(2, combo.FindStringExact(-1, "BLUE"));
    EXPECT_EQ(CB_ERR, combo.FindStringExact(-1, "blu"));
    EXPECT_EQ(1, combo.SelectString(-1, "gr"));
    EXPECT_EQ(1, combo.GetCurSel());
    combo.SetItemData(2, 0xABC);
    EXPECT_EQ((DWORD_PTR)0xABC, combo.GetItemData(2));

    combo.drawn.clear();
    combo.RedrawWindow();
    PumpPending();
    ASSERT_FALSE(combo.drawn.empty());
    EXPECT_EQ(1u, combo.drawn.back());  // the selection field shows item 1

    EXPECT_FALSE(combo.GetDroppedState());
    combo.ShowDropDown(TRUE);
    PumpPending();
    EXPECT_TRUE(combo.GetDroppedState());
    CRect dropped;
    combo.GetDroppedControlRect(&dropped);
    EXPECT_GT(dropped.Height(), 0);
    combo.ShowDropDown(FALSE);
    PumpPending();
    EXPECT_FALSE(combo.GetDroppedState());

    CComboBox edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 40, 200, 200), &parent.wnd, 104));
    edit.SetWindowText("selection");
    EXPECT_TRUE(edit.SetEditSel(2, 5));
    EXPECT_EQ((DWORD)MAKELONG(2, 5), edit.GetEditSel());
    edit.LimitText(4);  // documented to answer TRUE; Wine answers the edit's FALSE
    COMBOBOXINFO info;
    ASSERT_TRUE(edit.GetComboBoxInfo(&info));
    EXPECT_NE(nullptr, info.hwndItem);
    combo.DestroyWindow();
    edit.DestroyWindow();
}

TEST(ControlsButton, OwnerDrawButtonAndCheckStates) {
    Parent parent;
    CRecordingButton button;
    ASSERT_TRUE(button.Create("draw", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(5, 5, 85, 30), &parent.wnd, 105));
    button.RedrawWindow();
    PumpPending();
    ASSERT_GT(button.draws, 0);
    EXPECT_EQ(CRect(0, 0, 80, 25), CRect(button.lastRect));
    EXPECT_EQ((UINT)BS_OWNERDRAW, button.GetButtonStyle());

    CButton check;
    ASSERT_TRUE(check.Create("check", WS_CHILD | WS_VISIBLE | BS_AUTO3STATE, CRect(5, 40, 85, 60), &parent.wnd, 106));
    EXPECT_EQ(BST_UNCHECKED, check.GetCheck());
    check.SetCheck(BST_INDETERMINATE);
    EXPECT_EQ(BST_INDETERMINATE, check.GetCheck());
    check.SetButtonStyle(BS_AUTOCHECKBOX);
    EXPECT_EQ((UINT)BS_AUTOCHECKBOX, check.GetButtonStyle());

    CStatic icon;
    ASSERT_TRUE(icon.Create(NULL, WS_CHILD | WS_VISIBLE | SS_ICON, CRect(100, 5, 140, 45), &parent.wnd));
    HICON h = ::LoadIcon(NULL, IDI_APPLICATION);
    icon.SetIcon(h);
    EXPECT_EQ(h, icon.GetIcon());
}

TEST(ControlsEdit, SelectionReplaceUndoMarginsAndLimits) {
    Parent parent;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, CRect(0, 0, 200, 80),
                            &parent.wnd, 107));
    edit.SetWindowText("hello world");
    edit.SetSel(0, 5);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(5, end);
    edit.ReplaceSel("goodbye", TRUE);
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("goodbye world", (LPCTSTR)text);
    EXPECT_TRUE(edit.CanUndo());
    EXPECT_TRUE(edit.Undo());
    edit.GetWindowText(text);
    EXPECT_STREQ("hello world", (LPCTSTR)text);
    edit.EmptyUndoBuffer();
    EXPECT_FALSE(edit.CanUndo());

    edit.SetMargins(4, 6);
    EXPECT_EQ((DWORD)MAKELONG(4, 6), edit.GetMargins());
    CRect r;
    edit.GetRect(&r);
    EXPECT_EQ(4, r.left);
    edit.SetLimitText(20);
    EXPECT_EQ(20u, edit.GetLimitText());
    EXPECT_TRUE(edit.SetReadOnly(TRUE));
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);

    edit.SetWindowText("one\r\ntwo\r\nthree");
    EXPECT_EQ(3, edit.GetLineCount());
    EXPECT_EQ(5, edit.LineIndex(1));
    EXPECT_EQ(1, edit.LineFromChar(6));
    TCHAR line[16] = {};
    EXPECT_EQ(5, edit.GetLine(2, line, 16));
    EXPECT_EQ(0, strncmp(line, "three", 5));
    TCHAR one[1] = {'x'};
    EXPECT_EQ(1, edit.GetLine(0, one, 1));  // a one-character buffer is not overrun
    EXPECT_EQ('o', one[0]);
}

TEST(ControlsListCtrl, ColumnsItemsRectsSelectionAndSorting) {
    Parent parent;
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 400, 120),
                            &parent.wnd, 108));
    EXPECT_EQ(0, list.InsertColumn(0, "Name", LVCFMT_LEFT, 100));
    EXPECT_EQ(1, list.InsertColumn(1, "Size", LVCFMT_RIGHT, 60));
    EXPECT_EQ(2, list.InsertColumn(2, "Used", LVCFMT_LEFT, 80));
    ASSERT_NE(nullptr, list.GetHeaderCtrl());
    EXPECT_EQ(3, list.GetHeaderCtrl()->GetItemCount());
    EXPECT_EQ(60, list.GetColumnWidth(1));
    LVCOLUMN col = {};
    col.mask = LVCF_FMT;
    ASSERT_TRUE(list.GetColumn(1, &col));
    EXPECT_EQ(LVCFMT_RIGHT, col.fmt & LVCFMT_JUSTIFYMASK);

    const char* names[] = {"delta", "alpha", "echo", "bravo", "charlie", "foxtrot", "golf", "hotel"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(i, list.InsertItem(i, names[i]));
        list.SetItemText(i, 1, std::to_string(i * 10).c_str());
        list.SetItemData(i, (DWORD_PTR)(i + 100));
    }
    ASSERT_EQ(8, list.GetItemCount());
    EXPECT_STREQ("30", (LPCTSTR)list.GetItemText(3, 1));
    EXPECT_STREQ("", (LPCTSTR)list.GetItemText(3, 2));
    std::string longText(700, 'x');
    list.SetItemText(0, 2, longText.c_str());
    EXPECT_EQ(700, list.GetItemText(0, 2).GetLength());  // longer than the first buffer
    EXPECT_EQ((DWORD_PTR)103, list.GetItemData(3));

    // Rectangles: the label of sub-item 1 starts where column 0 ends.
    CRect bounds, label, sub;
    ASSERT_TRUE(list.GetItemRect(2, &bounds, LVIR_BOUNDS));
    ASSERT_TRUE(list.GetItemRect(2, &label, LVIR_LABEL));
    EXPECT_EQ(bounds.top, label.top);
    EXPECT_LE(label.right, 100 + bounds.left);
    CRect icon, select;
    ASSERT_TRUE(list.GetItemRect(2, &icon, LVIR_ICON));
    ASSERT_TRUE(list.GetItemRect(2, &select, LVIR_SELECTBOUNDS));
    EXPECT_EQ(bounds.top, icon.top);
    EXPECT_LE(icon.right, label.left);  // the icon part comes before the label
    // The selection covers the icon and (at most) the label: the text's width in a
    // report without full-row selection.
    EXPECT_EQ(icon.left, select.left);
    EXPECT_GT(select.right, label.left);
    EXPECT_LE(select.right, label.right);
    ASSERT_TRUE(list.GetSubItemRect(2, 1, LVIR_BOUNDS, sub));
    EXPECT_EQ(bounds.left + 100, sub.left);
    EXPECT_EQ(60, sub.Width());
    EXPECT_EQ(bounds.top, sub.top);
    LVHITTESTINFO hit = {};
    hit.pt = sub.CenterPoint();
    EXPECT_EQ(2, list.SubItemHitTest(&hit));
    EXPECT_EQ(2, hit.iItem);
    EXPECT_EQ(1, hit.iSubItem);
    UINT flags = 0;
    EXPECT_EQ(2, list.HitTest(label.CenterPoint(), &flags));
    EXPECT_TRUE(flags & LVHT_ONITEM);

    // Selection and the selection mark.
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(2u, list.GetSelectedCount());
    EXPECT_EQ(1, list.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(4, list.GetNextItem(-1, LVNI_FOCUSED));
    std::vector<int> selected;
    POSITION pos = list.GetFirstSelectedItemPosition();
    while (pos) selected.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ((std::vector<int>{1, 4}), selected);
    EXPECT_EQ((UINT)LVIS_SELECTED, list.GetItemState(1, LVIS_SELECTED | LVIS_FOCUSED));
    list.SetSelectionMark(4);
    EXPECT_EQ(4, list.GetSelectionMark());

    // Scrolling: the last item comes into view.
    EXPECT_EQ(0, list.GetTopIndex());
    int perPage = list.GetCountPerPage();
    ASSERT_GT(perPage, 0);
    ASSERT_LT(perPage, 8);
    EXPECT_TRUE(list.EnsureVisible(7, FALSE));
    EXPECT_EQ(8 - perPage, list.GetTopIndex());

    // Sorting by item data (descending): the rows follow their data.
    EXPECT_TRUE(list.SortItems(DescendingByData, 0));
    EXPECT_STREQ("hotel", (LPCTSTR)list.GetItemText(0, 0));
    EXPECT_STREQ("delta", (LPCTSTR)list.GetItemText(7, 0));
    EXPECT_STREQ("70", (LPCTSTR)list.GetItemText(0, 1));

    EXPECT_GT(list.GetStringWidth("wide text"), list.GetStringWidth("w"));
    int order[3] = {};
    ASSERT_TRUE(list.GetColumnOrderArray(order));
    EXPECT_EQ(0, order[0]);
    EXPECT_EQ(2, order[2]);
    int newOrder[3] = {2, 0, 1};
    ASSERT_TRUE(list.SetColumnOrderArray(3, newOrder));
    ASSERT_TRUE(list.GetColumnOrderArray(order, 3));
    EXPECT_EQ(2, order[0]);
    EXPECT_EQ(1, order[2]);

    EXPECT_TRUE(list.SetBkColor(RGB(1, 2, 3)));
    EXPECT_EQ(RGB(1, 2, 3), list.GetBkColor());
    EXPECT_TRUE(list.SetTextColor(RGB(4, 5, 6)));
    EXPECT_EQ(RGB(4, 5, 6), list.GetTextColor());
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    EXPECT_EQ((DWORD)(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP), list.GetExtendedStyle());
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(7, list.GetItemCount());
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
    list.DestroyWindow();
    AfxDeleteTempGdiMaps();
}

TEST(ControlsListCtrl, OwnerDrawRowsGetTheirHeightAndPaintThroughReflection) {
    Parent parent;
    CRowList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 300, 200),
                            &parent.wnd, 109));
    list.InsertColumn(0, "Only", LVCFMT_LEFT, 200);
    list.InsertItem(0, "first");
    list.InsertItem(1, "second");
    // The list view asks for the row height again when its position changes.
    CRect rc;
    list.GetWindowRect(&rc);
    list.SetWindowPos(NULL, 0, 0, rc.Width(), rc.Height(),
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CRect item;
    ASSERT_TRUE(list.GetItemRect(0, &item, LVIR_BOUNDS));
    EXPECT_EQ(30, item.Height());

    list.drawn.clear();
    list.RedrawWindow();
    PumpPending();
    EXPECT_NE(list.drawn.end(), std::find(list.drawn.begin(), list.drawn.end(), 0u));
    EXPECT_NE(list.drawn.end(), std::find(list.drawn.begin(), list.drawn.end(), 1u));
    list.DestroyWindow();
}

TEST(ControlsTreeCtrl, HierarchyDataStatesAndHitTests) {
    Parent parent;
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                TVS_CHECKBOXES | TVS_SHOWSELALWAYS,
                            CRect(0, 0, 250, 250), &parent.wnd, 110));
    HTREEITEM root = tree.InsertItem("root");
    HTREEITEM c = tree.InsertItem("charlie", root);
    HTREEITEM a = tree.InsertItem("alpha", root);
    HTREEITEM b = tree.InsertItem("bravo", 1, 2, root, TVI_FIRST);
    ASSERT_TRUE(root && a && b && c);
    EXPECT_EQ(4u, tree.GetCount());
    EXPECT_EQ(root, tree.GetRootItem());
    EXPECT_EQ(b, tree.GetChildItem(root));
    EXPECT_EQ(c, tree.GetNextSiblingItem(b));
    EXPECT_EQ(a, tree.GetNextSiblingItem(c));
    EXPECT_EQ(nullptr, tree.GetNextSiblingItem(a));
    EXPECT_EQ(c, tree.GetPrevSiblingItem(a));
    EXPECT_EQ(root, tree.GetParentItem(a));
    EXPECT_TRUE(tree.ItemHasChildren(root));
    EXPECT_FALSE(tree.ItemHasChildren(a));
    EXPECT_STREQ("charlie", (LPCTSTR)tree.GetItemText(c));
    int image = -1, selImage = -1;
    ASSERT_TRUE(tree.GetItemImage(b, image, selImage));
    EXPECT_EQ(1, image);
    EXPECT_EQ(2, selImage);

    EXPECT_TRUE(tree.SetItemData(c, 0x1234));
    EXPECT_EQ((DWORD_PTR)0x1234, tree.GetItemData(c));
    EXPECT_TRUE(tree.SetItemText(c, "charlie!"));
    EXPECT_STREQ("charlie!", (LPCTSTR)tree.GetItemText(c));

    EXPECT_TRUE(tree.SortChildren(root));
    EXPECT_EQ(a, tree.GetChildItem(root));
    EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));
    EXPECT_TRUE(tree.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(tree.SelectItem(b));
    EXPECT_EQ(b, tree.GetSelectedItem());

    CRect rText, rRow;
    ASSERT_TRUE(tree.GetItemRect(b, &rText, TRUE));
    ASSERT_TRUE(tree.GetItemRect(b, &rRow, FALSE));
    EXPECT_EQ(rRow.top, rText.top);
    EXPECT_GT(rText.left, rRow.left);
    UINT flags = 0;
    EXPECT_EQ(b, tree.HitTest(rText.CenterPoint(), &flags));
    EXPECT_TRUE(flags & TVHT_ONITEMLABEL);

    EXPECT_FALSE(tree.GetCheck(a));
    EXPECT_TRUE(tree.SetCheck(a, TRUE));
    EXPECT_TRUE(tree.GetCheck(a));
    EXPECT_TRUE(tree.SetCheck(a, FALSE));
    EXPECT_FALSE(tree.GetCheck(a));

    EXPECT_TRUE(tree.DeleteItem(c));
    EXPECT_EQ(3u, tree.GetCount());
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(0u, tree.GetCount());
    tree.DestroyWindow();
}

TEST(ControlsCommon, SpinSliderProgressAndAddress) {
    Parent parent;
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT, CRect(0, 0, 20, 30), &parent.wnd, 111));
    spin.SetRange32(-5, 500);
    int lo = 0, hi = 0;
    spin.GetRange32(lo, hi);
    EXPECT_EQ(-5, lo);
    EXPECT_EQ(500, hi);
    spin.SetPos32(321);
    EXPECT_EQ(321, spin.GetPos32());
    spin.SetRange(1, 9);
    spin.GetRange(lo, hi);
    EXPECT_EQ(1, lo);
    EXPECT_EQ(9, hi);

    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_ENABLESELRANGE, CRect(30, 0, 230, 30), &parent.wnd, 112));
    slider.SetRange(10, 50, TRUE);
    slider.GetRange(lo, hi);
    EXPECT_EQ(10, lo);
    EXPECT_EQ(50, hi);
    slider.SetPos(70);
    EXPECT_EQ(50, slider.GetPos());  // the control keeps the thumb inside
    slider.SetSelection(15, 25);
    slider.GetSelection(lo, hi);
    EXPECT_EQ(15, lo);
    EXPECT_EQ(25, hi);
    slider.SetPageSize(7);
    EXPECT_EQ(7, slider.GetPageSize());
    CSliderCtrl tipped;
    ASSERT_TRUE(tipped.Create(WS_CHILD | WS_VISIBLE | TBS_TOOLTIPS, CRect(30, 40, 230, 70), &parent.wnd, 117));
    ASSERT_NE(nullptr, tipped.GetToolTips());  // TBS_TOOLTIPS makes one
    EXPECT_EQ(TBTS_TOP, tipped.SetTipSide(TBTS_BOTTOM));
    EXPECT_EQ(TBTS_BOTTOM, tipped.SetTipSide(TBTS_TOP));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&parent.wnd));
    tipped.SetToolTips(&tip);
    EXPECT_EQ(tip.m_hWnd, tipped.GetToolTips()->m_hWnd);

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 40, 200, 60), &parent.wnd, 113));
    progress.SetRange32(0, 200);
    progress.GetRange(lo, hi);
    EXPECT_EQ(200, hi);
    EXPECT_EQ(0, progress.SetPos(50));
    EXPECT_EQ(50, progress.OffsetPos(10));
    progress.SetStep(5);
    EXPECT_EQ(60, progress.StepIt());
    EXPECT_EQ(65, progress.GetPos());

    CIPAddressCtrl address;
    ASSERT_TRUE(address.Create(WS_CHILD | WS_VISIBLE, CRect(0, 70, 200, 95), &parent.wnd, 114));
    EXPECT_TRUE(address.IsBlank());
    address.SetAddress(192, 168, 1, 20);
    BYTE f0 = 0, f1 = 0, f2 = 0, f3 = 0;
    EXPECT_EQ(4, address.GetAddress(f0, f1, f2, f3));
    EXPECT_EQ(192, f0);
    EXPECT_EQ(20, f3);
    DWORD dw = 0;
    address.GetAddress(dw);
    EXPECT_EQ((DWORD)MAKEIPADDRESS(192, 168, 1, 20), dw);
    address.ClearAddress();
    EXPECT_TRUE(address.IsBlank());
}

TEST(ControlsToolTip, ToolsTextsAndWidth) {
    Parent parent;
    CWnd child;
    ASSERT_TRUE(child.Create(NULL, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &parent.wnd, 115));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&parent.wnd, TTS_ALWAYSTIP));
    EXPECT_EQ(0, tip.GetToolCount());
    EXPECT_TRUE(tip.AddTool(&child, "whole window"));
    CRect area(60, 60, 100, 100);
    EXPECT_TRUE(tip.AddTool(&parent.wnd, "an area", &area, 7));
    EXPECT_FALSE(tip.AddTool(&parent.wnd, "area without id", &area, 0));
    EXPECT_EQ(2, tip.GetToolCount());

    CString text;
    tip.GetText(text, &child);
    EXPECT_STREQ("whole window", (LPCTSTR)text);
    tip.UpdateTipText("changed", &parent.wnd, 7);
    tip.GetText(text, &parent.wnd, 7);
    EXPECT_STREQ("changed", (LPCTSTR)text);

    TOOLINFO ti;
    ASSERT_TRUE(tip.GetToolInfo(&ti, &parent.wnd, 7));
    EXPECT_EQ(area, CRect(ti.rect));
    TOOLINFO hit;
    EXPECT_TRUE(tip.HitTest(&parent.wnd, CPoint(70, 70), &hit));
    EXPECT_EQ((UINT_PTR)7, hit.uId);

    tip.SetMaxTipWidth(250);
    EXPECT_EQ(250, tip.GetMaxTipWidth());
    EXPECT_TRUE(tip.SetTitle(TTI_INFO, "Title"));
    tip.Activate(FALSE);
    tip.Pop();
    tip.DelTool(&parent.wnd, 7);
    EXPECT_EQ(1, tip.GetToolCount());
    tip.DelTool(&child);
    EXPECT_EQ(0, tip.GetToolCount());
    tip.DestroyWindow();
    child.DestroyWindow();
}

TEST(ControlsCommon, ScrollBarLimitsAndHeaderItems) {
    Parent parent;
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 200, 16), &parent.wnd, 116));
    SCROLLINFO si = {};
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;
    si.nMax = 100;
    si.nPage = 10;
    EXPECT_TRUE(bar.SetScrollInfo(&si));
    EXPECT_EQ(91, bar.GetScrollLimit());  // the thumb's page ends at the maximum
    EXPECT_EQ(0, bar.SetScrollPos(40));
    EXPECT_EQ(40, bar.GetScrollPos());
    int lo = -1, hi = -1;
    bar.GetScrollRange(&lo, &hi);
    EXPECT_EQ(0, lo);
    EXPECT_EQ(100, hi);

    CHeaderCtrl header;
    ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_HORZ | HDS_DRAGDROP, CRect(0, 20, 300, 40), &parent.wnd,
                              117));
    HDITEM item = {};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.cxy = 70;
    item.pszText = (LPTSTR) "one";
    EXPECT_EQ(0, header.InsertItem(0, &item));
    item.cxy = 50;
    item.pszText = (LPTSTR) "two";
    EXPECT_EQ(1, header.InsertItem(1, &item));
    EXPECT_EQ(2, header.GetItemCount());
    CRect r;
    ASSERT_TRUE(header.GetItemRect(1, &r));
    EXPECT_EQ(70, r.left);
    EXPECT_EQ(120, r.right);
    int order[2] = {1, 0};
    EXPECT_TRUE(header.SetOrderArray(2, order));
    EXPECT_EQ(1, header.OrderToIndex(0));
    int back[2] = {};
    EXPECT_TRUE(header.GetOrderArray(back));
    EXPECT_EQ(1, back[0]);
    EXPECT_EQ(0, back[1]);
    HDHITTESTINFO hit = {};
    hit.pt = CPoint(10, 5);  // the first column shown is item 1
    EXPECT_EQ(1, header.HitTest(&hit));
    EXPECT_TRUE(header.DeleteItem(0));
    EXPECT_EQ(1, header.GetItemCount());
}

TEST(ControlsListCtrl, CheckBoxesToolTipsAndSpacing) {
    Parent parent;
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 120), &parent.wnd, 109));
    list.SetExtendedStyle(LVS_EX_CHECKBOXES);
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    for (int i = 0; i < 3; ++i) list.InsertItem(i, "row");
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(list.GetCheck(i)) << "row " << i;
    EXPECT_TRUE(list.SetCheck(1));
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_EQ((UINT)INDEXTOSTATEIMAGEMASK(2), list.GetItemState(1, LVIS_STATEIMAGEMASK));
    EXPECT_TRUE(list.SetCheck(1, FALSE));
    EXPECT_FALSE(list.GetCheck(1));
    // A third state image answers 2, as classic callers of tri-state lists expect.
    list.SetItemState(2, INDEXTOSTATEIMAGEMASK(3), LVIS_STATEIMAGEMASK);
    EXPECT_EQ(2, list.GetCheck(2));

    // The list's own tooltip window, and one of ours put in its place.
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&parent.wnd));
    list.SetToolTips(&tip);
    ASSERT_NE(nullptr, list.GetToolTips());
    EXPECT_EQ(tip.m_hWnd, list.GetToolTips()->m_hWnd);

    DWORD spacing = list.GetItemSpacing(TRUE);
    EXPECT_GT(LOWORD(spacing), 0);
    EXPECT_GT(HIWORD(spacing), 0);
}

TEST(ControlsTreeCtrl, InsertMarkColourAndToolTips) {
    Parent parent;
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES, CRect(0, 0, 200, 150), &parent.wnd, 110));
    HTREEITEM a = tree.InsertItem("a");
    tree.InsertItem("b");
    tree.SetInsertMarkColor(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), tree.GetInsertMarkColor());
    EXPECT_TRUE(tree.SetInsertMark(a));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&parent.wnd));
    tree.SetToolTips(&tip);
    ASSERT_NE(nullptr, tree.GetToolTips());
    EXPECT_EQ(tip.m_hWnd, tree.GetToolTips()->m_hWnd);
}
