#include <gtest/gtest.h>
#include <memory>
#include "toolkit/grid/grid_cell_check.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "support/archive_bytes.h"
#include "typed_cell_test_util.h"
#include "typed_cell_grid_fixture.h"

using namespace typedcells;

TEST(GridCheckCells, BooleanTextValueAndArchive) {
    CExtGridCellBool cell;
    EXPECT_STREQ("False", Text(cell));
    EXPECT_EQ(0x42000000u, cell.GetStyle());
    cell.SetText(true, "Yes");
    struct { const char* text; HRESULT hr; bool value; } steps[] = {
        {"YES", S_OK, true}, {"maybe", E_FAIL, true}, {"false", S_OK, false}, {"", E_FAIL, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.text);
        EXPECT_EQ(s.hr, cell.OnParseText(s.text));
        cell.TextSet(s.text);
        EXPECT_EQ(s.value, cell.GetValue());
    }
    EXPECT_EQ(E_INVALIDARG, cell.OnParseText(NULL));
    EXPECT_TRUE(cell.Increment());
    EXPECT_STREQ("Yes", Text(cell));
    EXPECT_TRUE(cell.Decrement());
    EXPECT_FALSE(cell.GetValue());
    cell.SetValue(true);
    VARIANT v;
    ::VariantInit(&v);
    cell.VariantGet(&v);
    EXPECT_EQ(VT_BOOL, v.vt);
    EXPECT_EQ(VARIANT_TRUE, v.boolVal);

    Bytes stored = testsupport::StoredBytes([&](CArchive& ar) { cell.Serialize(ar); });
    EXPECT_EQ(Builder().ex(0x42080000).str("Yes").str("False").b, stored);
    CExtGridCellBool back;
    Load(back, stored);
    EXPECT_STREQ("Yes", Text(back));
    EXPECT_EQ(0, back.Compare(cell, 0xFFFFFFFF, 0xFFFFFFFF));
    back.SetValue(false);
    EXPECT_EQ(-1, back.Compare(cell));
    EXPECT_EQ(1, cell.Compare(back));
    // From another kind both texts return to the shared ones.
    back.Assign(CExtGridCellString());
    EXPECT_STREQ("True", back.GetText(true));
    std::unique_ptr<CExtGridCell> clone(cell.Clone());
    EXPECT_STREQ("Yes", Text(*clone));
}

TEST(GridCheckCells, CheckBoxStatesTextModeAndArchive) {
    CExtGridCellCheckBox cell;
    EXPECT_EQ(0x10000u, cell.GetStyle() & 0xB0000);
    struct { INT nSet; bool bThree; INT nAfter; } sets[] = {
        {1, false, 1}, {2, false, 1}, {2, true, 2}, {3, true, 2}, {-1, true, 2}, {0, true, 0},
    };
    for (const auto& s : sets) {
        cell.SetThreeState(s.bThree);
        cell.SetCheck(s.nSet);
        EXPECT_EQ(s.nAfter, cell.GetCheck()) << s.nSet << " three-state " << s.bThree;
    }
    cell.ModifyStyle(CExtGridCell::__EGCS_READ_ONLY);
    cell.SetCheck(1);
    EXPECT_EQ(0, cell.GetCheck());
    cell.ModifyStyle(0, CExtGridCell::__EGCS_READ_ONLY);

    cell.SetTextMode(true);
    struct { const char* text; HRESULT hr; INT nState; const char* shown; } texts[] = {
        {"true", S_OK, 1, "True"}, {"nope", E_FAIL, 1, "True"}, {"FALSE", S_OK, 0, "False"}, {"", E_FAIL, 2, ""},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.text);
        EXPECT_EQ(t.hr, cell.OnParseText(t.text));
        cell.TextSet(t.text);
        EXPECT_EQ(t.nState, cell.GetCheck());
        EXPECT_STREQ(t.shown, Text(cell));
    }
    cell.SetThreeState(false);
    cell.TextSet("True");
    cell.TextSet("");
    EXPECT_EQ(1, cell.GetCheck()) << "no third state without three-state";

    Bytes stored = testsupport::StoredBytes([&](CArchive& ar) { cell.Serialize(ar); });
    EXPECT_EQ(Builder().ex(0x40090000).str("").by(2).b, stored);
    CExtGridCellCheckBox back;
    Load(back, stored);
    EXPECT_TRUE(back.GetTextMode());
    EXPECT_FALSE(back.GetThreeState());
    EXPECT_STREQ("True", Text(back));

    CExtGridCellRadioButton radio;
    radio.TextSet("r");
    EXPECT_EQ(Builder().ex(0x40020000).str("r").b, testsupport::StoredBytes([&](CArchive& ar) { radio.Serialize(ar); }));
}

TEST_F(TypedCellGridTest, CheckBoxClicksAndKeysCycle) {
    CExtGridCellCheckBox* pCell = Put<CExtGridCellCheckBox>();
    pCell->SetThreeState(true);
    const CExtGridHitTestInfo hti = HitAt(*pCell, 6, 10);
    ASSERT_EQ(0x400u, hti.m_dwAreaFlags & 0x1FC00);
    struct { const char* name; UINT nEvent, nFlags; bool bHandled; INT nState; } clicks[] = {
        {"press", 1, 0, true, 1}, {"double click", 2, 0, true, 2}, {"press again", 1, 0, true, 0},
        {"release", 3, 0, false, 0}, {"shift press", 1, MK_SHIFT, false, 0}, {"ctrl press", 1, MK_CONTROL, false, 0},
    };
    for (const auto& c : clicks) {
        EXPECT_EQ(c.bHandled, pCell->OnClick(m_grid, hti, 1, c.nEvent, c.nFlags)) << c.name;
        EXPECT_EQ(c.nState, pCell->GetCheck()) << c.name;
    }
    pCell->SetThreeState(false);
    struct { const char* name; bool bDown; UINT nChar; bool bHandled; INT nState; } keys[] = {
        {"space down", true, VK_SPACE, false, 0}, {"space up", false, VK_SPACE, true, 1},
        {"space up again", false, VK_SPACE, true, 0}, {"enter up with editor", false, VK_RETURN, false, 0},
    };
    for (const auto& k : keys) {
        EXPECT_EQ(k.bHandled, pCell->OnKey(m_grid, k.bDown, k.nChar, 1, 0)) << k.name;
        EXPECT_EQ(k.nState, pCell->GetCheck()) << k.name;
    }
    EXPECT_EQ(5, m_grid.m_nValueChanged);
    pCell->ModifyStyle(CExtGridCell::__EGCS_READ_ONLY);
    EXPECT_FALSE(pCell->OnClick(m_grid, hti, 1, 1, 0));
    EXPECT_EQ(0, pCell->GetCheck());
}

TEST_F(TypedCellGridTest, BooleanEditorKeysAndList) {
    CExtGridCellBool* pCell = Put<CExtGridCellBool>();
    // A check-box style without texts and without drop-down opens nothing.
    pCell->ModifyStyle(CExtGridCell::__EGCS_CHK_CHECK, CExtGridCell::__EGCS_BUTTON_DROPDOWN);
    pCell->SetText(true, "");
    pCell->SetText(false, "");
    EXPECT_TRUE(OpenEditor(*pCell) == NULL);
    pCell->SetText(true, "On");
    pCell->SetText(false, "Off");
    HWND hEdit = OpenEditor(*pCell);
    ASSERT_TRUE(hEdit != NULL);
    const CExtGridHitTestInfo hti = EditorHit();
    struct { const char* name; UINT nMsg; WPARAM wParam; bool bHandled; bool bValue; const char* editor; } steps[] = {
        {"up", WM_KEYDOWN, VK_UP, true, true, "On"}, {"up again", WM_KEYDOWN, VK_UP, true, true, "On"},
        {"down", WM_KEYDOWN, VK_DOWN, true, false, "Off"}, {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, 120), true, true, "On"},
        {"letter", WM_CHAR, 'x', false, true, "On"},
    };
    for (const auto& s : steps) {
        MSG msg = Msg(hEdit, s.nMsg, s.wParam);
        EXPECT_EQ(s.bHandled, pCell->OnInplaceControlKey(&msg, hEdit, m_grid, hti, m_rcExtra, m_rcCell)) << s.name;
        EXPECT_EQ(s.bValue, pCell->GetValue()) << s.name;
        char sText[16] = "";
        ::GetWindowTextA(hEdit, sText, 16);
        EXPECT_STREQ(s.editor, sText) << s.name;
    }
    pCell->ModifyStyle(CExtGridCell::__EGCS_READ_ONLY);
    MSG msg = Msg(hEdit, WM_KEYDOWN, VK_DOWN);
    EXPECT_FALSE(pCell->OnInplaceControlKey(&msg, hEdit, m_grid, hti, m_rcExtra, m_rcCell));
    EXPECT_TRUE(pCell->GetValue());
    pCell->ModifyStyle(0, CExtGridCell::__EGCS_READ_ONLY);
    msg = Msg(hEdit, WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(pCell->OnInplaceControlKey(&msg, hEdit, m_grid, hti, m_rcExtra, m_rcCell));
    EXPECT_FALSE(::IsWindow(hEdit)) << "Enter ends the editing";

    CExtGridCell::POPUP_LIST_INFO pli = Pli(pCell);
    ASSERT_TRUE(pCell->OnPopupListBoxInitContent(m_list, pli));
    EXPECT_EQ(2, m_list.GetCount());
    EXPECT_EQ(0, m_list.GetCurSel());
    m_list.SetCurSel(1);
    const int nChanged = m_grid.m_nValueChanged;
    EXPECT_FALSE(pCell->OnPopupListBoxSelEndOK(m_list, pli));
    EXPECT_FALSE(pCell->GetValue());
    EXPECT_EQ(1u, pli.m_dwFlags & 1);
    EXPECT_EQ(nChanged + 1, m_grid.m_nValueChanged);
}

TEST_F(TypedCellGridTest, EditorTraitsOfTheYesNoCells) {
    CExtGridCellBool boolean;
    CExtGridCellCheckBox check;
    struct { const char* name; CExtGridCell* pCell; bool bTextMode; bool bReadOnly; } cases[] = {
        {"boolean", &boolean, false, true}, {"check box", &check, false, false}, {"check box text mode", &check, true, true},
    };
    for (const auto& c : cases) {
        check.SetTextMode(c.bTextMode);
        bool bReadOnly = false, bPassword = true;
        COLORREF clrText = COLORREF(-1), clrBack = COLORREF(-1);
        c.pCell->OnInplaceControlQueryOptions(m_grid, NULL, 0, 0, 0, 0, 0, 0, 0x200, &bReadOnly, &bPassword, &clrText,
                                              &clrBack);
        EXPECT_EQ(c.bReadOnly, bReadOnly) << c.name;
        EXPECT_EQ(c.pCell == &check, bPassword) << c.name << ": only the boolean cell clears the second flag";
    }
}
