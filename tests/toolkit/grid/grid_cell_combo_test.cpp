#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include "toolkit/grid/grid_cell_combo.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "support/archive_bytes.h"
#include "typed_cell_test_util.h"
#include "typed_cell_grid_fixture.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

using namespace typedcells;

namespace {

void Fill(CExtGridCellComboBox& c, std::initializer_list<const char*> items) {
    for (const char* s : items) c.InsertItem(s);
}

}  // namespace

TEST(GridComboCells, BindingSteppingAndFinding) {
    CExtGridCellComboBox cell;
    EXPECT_EQ(0x42000000u, cell.GetStyle());
    Fill(cell, {"Red", "Green", "Blue"});
    cell.SetItemBound(true);
    cell.SetCurSel(0, true);
    struct { const char* name; std::function<void()> act; const char* text; INT nCur; } steps[] = {
        {"set green", [&] { cell.TextSet("green"); }, "Green", 1},
        {"set green again", [&] { cell.TextSet("green"); }, "green", 1},
        {"no match clears", [&] { cell.TextSet("pink"); }, "", -1},
        {"up without current", [&] { cell.Increment(); }, "Blue", 2},
        {"down wraps", [&] { cell.Decrement(); }, "Red", 0},
        {"up wraps", [&] { cell.Increment(); }, "Blue", 2},
        {"invalid index fails", [&] { EXPECT_FALSE(cell.SetCurSel(3, true)); }, "Blue", 2},
        {"none", [&] { EXPECT_TRUE(cell.SetCurSel(-1, true)); }, "", -1},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_STREQ(s.text, Text(cell)) << s.name;
        EXPECT_EQ(s.nCur, cell.GetCurSel()) << s.name;
    }
    EXPECT_EQ(DISP_E_PARAMNOTFOUND, cell.OnParseText("pink"));
    EXPECT_EQ(S_OK, cell.OnParseText("BLUE"));
    struct { const char* find; INT nAfter; bool bContaining, bCase; INT nFound; } finds[] = {
        {"red", -1, false, false, 0}, {"red", 0, false, false, 0}, {"RED", 5, false, false, -1},
        {"e", 0, true, false, 1}, {"e", 1, true, false, 2}, {"e", 2, true, false, 0}, {"R", 0, true, true, 0},
        {"r", 0, true, true, 1}, {"x", -1, true, false, -1},
    };
    for (const auto& f : finds) {
        INT n = f.bContaining ? cell.FindItemContaining(f.find, f.nAfter, f.bCase) : cell.FindItem(f.find, f.nAfter);
        EXPECT_EQ(f.nFound, n) << f.find << " after " << f.nAfter;
    }
    EXPECT_TRUE(cell.GetItemText(7) == NULL);
    EXPECT_EQ(0u, cell.GetItemData(-2));
    cell.SetItemBound(false);
    cell.TextSet("pink");
    EXPECT_STREQ("pink", Text(cell));
    EXPECT_FALSE(cell.CanIncrement());
    bool bEnabled = true;
    CExtGridCellComboBox empty;
    EXPECT_TRUE(empty.OnQueryButtonInfo(CExtGridCell::__EBTT_DROPDOWN, &bEnabled));
    EXPECT_FALSE(bEnabled) << "an empty list disables the drop-down button";
}

TEST(GridComboCells, ArchiveByteForByteAndDamagedIndexes) {
    CExtGridCellComboBox cell;
    cell.InsertItem("a", 7);
    cell.InsertItem("b", 9, 0);  // before "a"
    cell.GetItemInfo(1)->m_nIndent = 2;
    cell.SetItemBound(true);
    cell.SetCurSel(1, true);
    Bytes stored = testsupport::StoredBytes([&](CArchive& ar) { cell.Serialize(ar); });
    const Bytes expected = Builder().ex(0x42000000).str("a").dw(2)
        .str("b").dw(9).dw(0xFFFFFFFF).dw(0xFFFFFFFF).dw(0xFFFFFFFF).dw(0)
        .str("a").dw(7).dw(0xFFFFFFFF).dw(0xFFFFFFFF).dw(0xFFFFFFFF).dw(2)
        .dw(1).by(1).by(0).b;
    EXPECT_EQ(expected, stored);
    std::unique_ptr<CExtGridCell> clone(cell.Clone());
    EXPECT_EQ(stored, testsupport::StoredBytes([&](CArchive& ar) { clone->Serialize(ar); }));

    // The stored current index: outside the items it names none.
    struct { const char* name; DWORD dwIndex; INT nCur; } indexes[] = {
        {"valid", 1, 1}, {"none", 0xFFFFFFFF, -1}, {"past the end", 2, -1}, {"far negative", 0x80000000, -1},
    };
    const size_t nIndexAt = expected.size() - 6;
    for (const auto& i : indexes) {
        Bytes bytes(expected);
        for (int k = 0; k < 4; k++) bytes[nIndexAt + k] = (BYTE)(i.dwIndex >> (8 * k));
        CExtGridCellComboBox back;
        back.TextSet("old");
        Load(back, bytes);
        EXPECT_EQ(i.nCur, back.GetCurSel()) << i.name;
        EXPECT_STREQ("a", Text(back)) << i.name << ": loading keeps the stored text";
        EXPECT_EQ(2, back.GetItemCount()) << i.name;
    }
    // A count far beyond the data is refused and the items stay.
    Bytes damaged = Builder().ex(0x42000000).str("a").dw(0x7FFFFFFF).str("x").dw(1).b;
    CExtGridCellComboBox back;
    back.InsertItem("keep");
    bool bRefused = false;
    try {
        Load(back, damaged);
    } catch (CArchiveException* e) {
        bRefused = true;
        e->Delete();
    }
    EXPECT_TRUE(bRefused);
    ASSERT_EQ(1, back.GetItemCount());
    EXPECT_STREQ("keep", back.GetItemText(0));
}

TEST_F(TypedCellGridTest, ComboEditorTypingAndList) {
    CExtGridCellComboBox* pCell = Put<CExtGridCellComboBox>();
    Fill(*pCell, {"Red", "Green", "Blue"});
    pCell->SetItemBound(true);
    pCell->SetCurSel(0, true);
    HWND hEdit = OpenEditor(*pCell);
    ASSERT_TRUE(hEdit != NULL);
    const CExtGridHitTestInfo hti = EditorHit();
    struct { const char* name; UINT nMsg; WPARAM wParam; bool bHandled; const char* text; } steps[] = {
        {"e", WM_CHAR, 'e', true, "Green"}, {"e again", WM_CHAR, 'e', true, "Blue"}, {"e wraps", WM_CHAR, 'e', true, "Red"},
        {"no match", WM_CHAR, 'z', true, "Red"}, {"down", WM_KEYDOWN, VK_DOWN, true, "Green"},
        {"up", WM_KEYDOWN, VK_UP, true, "Red"}, {"wheel back", WM_MOUSEWHEEL, MAKEWPARAM(0, 120), true, "Blue"},
        {"double click", WM_LBUTTONDBLCLK, 0, true, "Red"}, {"delete", WM_KEYDOWN, VK_DELETE, true, "Red"},
        {"left", WM_KEYDOWN, VK_LEFT, false, "Red"},
    };
    for (const auto& s : steps) {
        MSG msg = Msg(hEdit, s.nMsg, s.wParam);
        EXPECT_EQ(s.bHandled, pCell->OnInplaceControlKey(&msg, hEdit, m_grid, hti, m_rcExtra, m_rcCell)) << s.name;
        EXPECT_STREQ(s.text, Text(*pCell)) << s.name;
        char sText[16] = "";
        ::GetWindowTextA(hEdit, sText, 16);
        EXPECT_STREQ(s.text, sText) << s.name;
    }
    CExtGridInplaceControl::stat_EndEdit(hEdit, false);

    CExtGridCell::POPUP_LIST_INFO pli = Pli(pCell);
    ASSERT_TRUE(pCell->OnPopupListBoxInitContent(m_list, pli));
    EXPECT_EQ(3, m_list.GetCount());
    EXPECT_EQ(0, m_list.GetCurSel());
    m_list.SetCurSel(2);
    const int nChanged = m_grid.m_nValueChanged;
    EXPECT_FALSE(pCell->OnPopupListBoxSelEndOK(m_list, pli));
    EXPECT_EQ(2, pCell->GetCurSel());
    EXPECT_STREQ("Blue", Text(*pCell));
    EXPECT_EQ(nChanged + 1, m_grid.m_nValueChanged);

    // The list's height: rows are summed until 200 is reached; never below 15 x 50.
    CExtGridCellComboBox tall;
    for (int i = 0; i < 40; i++) tall.InsertItem("row");
    MEASUREITEMSTRUCT mis = {};
    mis.itemID = 0;
    ASSERT_TRUE(tall.OnPopupListBoxItemMeasure(m_list, pli, &mis));
    const int nRow = (int)mis.itemHeight;
    ASSERT_GT(nRow, 0);
    EXPECT_EQ(((200 + nRow - 1) / nRow) * nRow, tall.OnQueryDropDownSize().cy);
    EXPECT_EQ(CSize(50, 15), CExtGridCellComboBox().OnQueryDropDownSize());

    // A drop list leaves Shift and Ctrl clicks to the base.
    CExtGridCellDropListComboBox drop;
    CExtGridCellDropListComboBox* pDrop = &drop;
    EXPECT_EQ(0x82000000u, pDrop->GetStyle() & 0x82000000u);
    CExtGridHitTestInfo htiText = HitAt(*pDrop, 20, 10);
    EXPECT_FALSE(pDrop->OnClick(m_grid, htiText, 1, 1, MK_SHIFT));
    EXPECT_FALSE(pDrop->OnClick(m_grid, htiText, 1, 1, MK_CONTROL));
}

TEST(GridComboCells, FontFacesListedOnceWithoutVerticalFaces) {
    CExtGridCellFontFaceName cell;
    ASSERT_GT(cell.GetItemCount(), 0);
    std::set<std::string> seen;
    for (INT i = 0; i < cell.GetItemCount(); i++) {
        CString s(cell.GetItemText(i));
        s.MakeLower();
        EXPECT_NE('@', s[0]) << s;
        EXPECT_TRUE(seen.insert((LPCSTR)s).second) << "listed twice: " << (LPCSTR)s;
    }
    EXPECT_EQ(CSize(24, 15), cell.IconGetSize());
    EXPECT_EQ(CSize(6, 3), cell.OnQueryListItemMargins());
    HFONT hFont = cell.GetItemFont(0);
    ASSERT_TRUE(hFont != NULL);
    LOGFONT lf;
    ASSERT_EQ((int)sizeof(lf), ::GetObject(hFont, sizeof(lf), &lf));
    EXPECT_STREQ(cell.GetItemText(0), lf.lfFaceName);
    EXPECT_EQ(PROOF_QUALITY, lf.lfQuality);
    ::DeleteObject(hFont);
    EXPECT_TRUE(cell.GetItemFont(-1) == NULL);
    EXPECT_TRUE(cell.GetFontTypeBitmap(0) != NULL);
}

TEST_F(TypedCellGridTest, ComboRowsAndFontSamplePainted) {
    // List rows: the selected one on the highlight, the last one also clearing below it.
    CExtGridCellComboBox combo;
    Fill(combo, {"one", "two"});
    CExtGridCell::POPUP_LIST_INFO pli = Pli(&combo);
    combo.OnPopupListBoxInitContent(m_list, pli);
    struct { const char* name; UINT nItem, nState; COLORREF clrRow, clrBelow; } rows[] = {
        {"selected", 0, ODS_SELECTED, ::GetSysColor(COLOR_HIGHLIGHT), RGB(1, 2, 3)},
        {"last", 1, 0, ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOW)},
    };
    for (const auto& r : rows) {
        DibCanvas canvas(100, 100, RGB(1, 2, 3));
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_LISTBOX;
        dis.itemID = r.nItem;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = r.nState;
        dis.hDC = canvas.Dc();
        dis.rcItem = CRect(0, 0, 100, 16);
        ASSERT_TRUE(combo.OnPopupListBoxItemDraw(m_list, pli, &dis)) << r.name;
        EXPECT_EQ(r.clrRow, canvas.Pixel(95, 8)) << r.name;
        EXPECT_EQ(r.clrBelow, canvas.Pixel(50, 60)) << r.name;
    }
    // The font sample's part on the grid's face colour, crossed out for an undefined value.
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    m_grid.ModifyScrollItemStyleEx(CExtScrollItemWnd::__ESIS_EX_PM_COLORS_FONTS, 0, false);
    CExtGridCellFontFaceName face;
    face.SetCurSel(0, true);
    face.ModifyStyleEx(CExtGridCell::__EGCS_EX_UNDEFINED_ROLE);
    for (CRuntimeClass* pTheme : themes) {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        DibCanvas canvas(120, 20, RGB(1, 2, 3));
        CDC* pDC = CDC::FromHandle(canvas.Dc());
        const CRect rc(0, 0, 120, 20);
        CExtGridCell::CELL_LAYOUT lay;
        face.CalcPartsLayout(lay, m_grid, *pDC, 0, 0, 0, 0, 0, 0, rc, rc, rc, 0x200, 0);
        ASSERT_EQ(15, lay.m_rcIcon.Height());
        face.OnPaint(m_grid, *pDC, 0, 0, 0, 0, 0, 0, rc, rc, rc, 0x200, 0);
        const CPoint pt = lay.m_rcIcon.TopLeft();
        EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), canvas.Pixel(pt.x, pt.y)) << pTheme->m_lpszClassName;
        EXPECT_EQ(m_grid.GetPaintManager()->LookupColor(COLOR_BTNFACE), canvas.Pixel(pt.x + 12, pt.y + 2))
            << pTheme->m_lpszClassName;
    }
}

TEST(GridComboCells, ImageListKeptAsCopyAndStored) {
    HIMAGELIST hList = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    ASSERT_TRUE(hList != NULL);
    ::ImageList_AddIcon(hList, ::LoadIcon(NULL, IDI_APPLICATION));
    CExtGridCellComboBox cell;
    cell.SetImageList(hList);
    ::ImageList_Destroy(hList);  // the cell keeps its own copy
    cell.InsertItem("a");
    cell.GetItemInfo(0)->m_nCellImage = 0;
    EXPECT_EQ(CSize(0, 0), cell.IconGetSize()) << "no current item, no image";
    cell.SetCurSel(0, true);
    EXPECT_EQ(CSize(16, 16), cell.IconGetSize());
    CExtGridCellComboBox back;
    Load(back, testsupport::StoredBytes([&](CArchive& ar) { cell.Serialize(ar); }));
    ASSERT_TRUE(back.GetImageList() != NULL);
    EXPECT_EQ(1, ::ImageList_GetImageCount(back.GetImageList()));
    EXPECT_EQ(CSize(16, 16), back.IconGetSize());
    cell.SetImageList(NULL);
    EXPECT_EQ(CSize(0, 0), cell.IconGetSize());
}
