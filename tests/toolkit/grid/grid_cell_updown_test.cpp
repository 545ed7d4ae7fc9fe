#include <gtest/gtest.h>
#include <memory>
#include "toolkit/grid/grid_cell_updown.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "support/archive_bytes.h"
#include "support/dib_canvas.h"
#include "typed_cell_test_util.h"
#include "typed_cell_grid_fixture.h"

using namespace typedcells;
using testsupport::DibCanvas;

TEST_F(TypedCellGridTest, UpDownEditorStepsByWheelAndArrows) {
    CExtGridCellUpDown* pCell = Put<CExtGridCellUpDown>();
    EXPECT_EQ(0x400002u, pCell->GetStyle() & 0x400003u);
    VARIANT v = I4(5);
    pCell->VariantSet(&v);
    HWND hEdit = OpenEditor(*pCell);
    ASSERT_TRUE(hEdit != NULL);
    const CExtGridHitTestInfo hti = EditorHit();
    struct { const char* name; bool bReadOnly; UINT nMsg; WPARAM wParam; bool bHandled; LONG nValue; } steps[] = {
        {"wheel forward", false, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), true, 6},
        {"wheel back", false, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), true, 5},
        {"down", false, WM_KEYDOWN, VK_DOWN, true, 4}, {"up", false, WM_KEYDOWN, VK_UP, true, 5},
        {"other key", false, WM_KEYDOWN, VK_LEFT, false, 5},
        {"disabled wheel", true, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), false, 5},
        {"disabled up", true, WM_KEYDOWN, VK_UP, false, 5},
    };
    for (const auto& s : steps) {
        const DWORD dwReadOnly = CExtGridCell::__EGCS_READ_ONLY;
        pCell->ModifyStyle(s.bReadOnly ? dwReadOnly : 0, s.bReadOnly ? 0 : dwReadOnly);
        MSG msg = Msg(hEdit, s.nMsg, s.wParam);
        EXPECT_EQ(s.bHandled, pCell->OnInplaceControlKey(&msg, hEdit, m_grid, hti, m_rcExtra, m_rcCell)) << s.name;
        EXPECT_EQ(s.nValue, pCell->lVal) << s.name;
    }
    char sText[16] = "";
    ::GetWindowTextA(hEdit, sText, 16);
    EXPECT_STREQ("5", sText);
    EXPECT_EQ(4, m_grid.m_nValueChanged);
    CExtGridInplaceControl::stat_EndEdit(hEdit, false);
}

TEST_F(TypedCellGridTest, FontWeightStepsParsesAndLists) {
    CExtGridCellUpDownFontWeight* pCell = Put<CExtGridCellUpDownFontWeight>();
    EXPECT_EQ(400, pCell->GetWeight());
    struct { const char* text; HRESULT hr; } parses[] = {
        {"950", E_INVALIDARG}, {"0", E_INVALIDARG}, {"1", S_OK}, {"900", S_OK}, {"700", S_OK},
    };
    for (const auto& p : parses) EXPECT_EQ(p.hr, pCell->OnParseText(p.text)) << p.text;
    EXPECT_TRUE(FAILED(pCell->OnParseText("heavy")));
    struct { LONG nWeight; bool bUp, bDown; } steps[] = {{900, false, true}, {899, true, true}, {1, true, false}};
    for (const auto& s : steps) {
        pCell->lVal = s.nWeight;
        EXPECT_EQ(s.bUp, pCell->CanIncrement()) << s.nWeight;
        EXPECT_EQ(s.bDown, pCell->CanDecrement()) << s.nWeight;
    }
    pCell->lVal = 400;
    CExtGridCell::POPUP_LIST_INFO pli = Pli(pCell);
    ASSERT_TRUE(pCell->OnPopupListBoxInitContent(m_list, pli));
    ASSERT_EQ(9, m_list.GetCount());
    CString s;
    m_list.GetText(m_list.GetCurSel(), s);
    EXPECT_STREQ("400 - Normal", s);
    m_list.GetText(1, s);
    EXPECT_STREQ("200 - Ultra Light", s);
    m_list.SetCurSel(6);
    EXPECT_FALSE(pCell->OnPopupListBoxSelEndOK(m_list, pli));
    EXPECT_EQ(VT_I4, pCell->vt);
    EXPECT_EQ(700, pCell->lVal);
    EXPECT_EQ(1, m_grid.m_nValueChanged);
}

TEST_F(TypedCellGridTest, SliderEditsAnIntegerAndStoresItsRange) {
    CExtGridCellSlider* pCell = Put<CExtGridCellSlider>();
    EXPECT_EQ(Builder().ex().w(VT_I4).dw(0).dw(1).dw(20).dw(0).dw(100).b,
              testsupport::StoredBytes([&](CArchive& ar) { pCell->Serialize(ar); }));
    HWND hSlider = OpenEditor(*pCell);
    ASSERT_TRUE(hSlider != NULL);
    pCell->OnInplaceControlApplyInteger(hSlider, m_grid, 0, 0, 0, 0, 55, false);
    EXPECT_EQ(0, pCell->GetPos());
    pCell->OnInplaceControlApplyInteger(hSlider, m_grid, 0, 0, 0, 0, 55, true);
    EXPECT_EQ(VT_I4, pCell->vt);
    EXPECT_EQ(55, pCell->GetPos());
    EXPECT_EQ(2, m_grid.m_nIntegerApplied);
    CExtGridInplaceControl::stat_EndEdit(hSlider, false);
    pCell->ModifyStyle(CExtGridCell::__EGCS_NO_INPLACE_CONTROL);
    EXPECT_TRUE(OpenEditor(*pCell) == NULL);
    CExtGridCellSlider back;
    back.m_nRangeMax = 7;
    back.Assign(CExtGridCellString());
    EXPECT_EQ(100, back.m_nRangeMax);
}

TEST(GridProgressCells, TextsBarsAndArchive) {
    struct { const char* name; INT nMin, nMax, nPos, nMode; const char* text; } texts[] = {
        {"percent", 0, 200, 30, 2, "15%"}, {"full", 0, 200, 200, 2, "100%"}, {"empty range", 0, 0, 0, 2, "0%"},
        {"past the end", 0, 100, 300, 2, "100%"}, {"reversed range", 100, 0, 50, 2, "0%"},
        {"extreme range", INT_MIN, INT_MAX, INT_MAX, 2, "100%"},
        {"position", 0, 200, 30, 3, "30"}, {"text", 0, 200, 30, 1, "Load"}, {"text and percent", 0, 200, 30, 4, "Load 15%"},
        {"text and position", 0, 200, 30, 5, "Load 30"}, {"none", 0, 200, 30, 0, ""},
    };
    for (const auto& t : texts) {
        CExtGridCellProgress cell;
        cell.TextSet("  Load");
        cell.m_nRangeMin = t.nMin;
        cell.m_nRangeMax = t.nMax;
        cell.m_nPos = t.nPos;
        cell.m_nTextMode = t.nMode;
        EXPECT_STREQ(t.text, cell.GetProgressText()) << t.name;
    }
    struct { const char* name; bool bVert, bRev; INT nPos; CRect rc, bar; } bars[] = {
        {"left", false, false, 25, CRect(0, 0, 100, 20), CRect(0, 0, 25, 20)},
        {"reverse", false, true, 25, CRect(0, 0, 100, 20), CRect(75, 0, 100, 20)},
        {"vertical", true, false, 25, CRect(0, 0, 20, 100), CRect(0, 75, 20, 100)},
        {"vertical reverse", true, true, 25, CRect(0, 0, 20, 100), CRect(0, 0, 20, 25)},
        {"past the end stays inside", false, false, 400, CRect(10, 0, 110, 20), CRect(10, 0, 110, 20)},
    };
    for (const auto& b : bars) {
        CExtGridCellProgress cell;
        cell.m_bVertical = b.bVert;
        cell.m_bReverse = b.bRev;
        cell.m_nPos = b.nPos;
        EXPECT_EQ(b.bar, cell.CalcBarRect(b.rc)) << b.name;
    }

    CExtGridCellProgress cell;
    cell.TextSet("p");
    cell.m_nTextMode = 4;
    cell.m_bReverse = true;
    cell.m_nRangeMin = -5;
    cell.m_nPos = 7;
    cell.m_clrBar2 = RGB(1, 2, 3);
    cell.m_bTextInBar = true;
    Bytes stored = testsupport::StoredBytes([&](CArchive& ar) { cell.Serialize(ar); });
    EXPECT_EQ(Builder().ex(0xC0000000).str("p").dw(4).by(0).by(1).dw((DWORD)-5).dw(100).dw(7).dw(10)
                  .dw(0xFFFFFFFF).dw(0x030201).dw(0xFFFFFFFF).dw(0xFFFFFFFF).by(0).by(1).b,
              stored);
    Bytes loose(stored);
    loose[loose.size() - 1] = 7;  // any non-zero byte means on
    CExtGridCellProgress back;
    Load(back, loose);
    EXPECT_TRUE(back.m_bTextInBar);
    EXPECT_EQ(stored, testsupport::StoredBytes([&](CArchive& ar) { back.Serialize(ar); }));
    std::unique_ptr<CExtGridCell> clone(cell.Clone());
    EXPECT_EQ(stored, testsupport::StoredBytes([&](CArchive& ar) { clone->Serialize(ar); }));
    // Ordered by the filled fraction first.
    back.m_nPos = 8;
    EXPECT_EQ(-1, cell.Compare(back));
    EXPECT_EQ(1, back.Compare(cell));
}

TEST_F(TypedCellGridTest, ProgressBarPaintedInEveryTheme) {
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                               RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    m_grid.ModifyScrollItemStyleEx(CExtScrollItemWnd::__ESIS_EX_PM_COLORS_FONTS, 0, false);
    const COLORREF clrBack = RGB(1, 2, 3);
    for (CRuntimeClass* pTheme : themes) {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        SCOPED_TRACE(pTheme->m_lpszClassName);
        CExtPaintManager* pPM = m_grid.GetPaintManager();
        struct { const char* name; COLORREF clr1, clr2; bool bRev; INT nPos; COLORREF clrIn; int xIn, xOut; } cases[] = {
            {"own colour", RGB(200, 0, 0), RGB(200, 0, 0), false, 50, RGB(200, 0, 0), 25, 75},
            {"own colour reversed", RGB(0, 150, 0), RGB(0, 150, 0), true, 25, RGB(0, 150, 0), 90, 50},
            {"default colour", COLORREF(-1), RGB(0, 0, 1), false, 50, pPM->LookupColor(COLOR_HIGHLIGHT), 10, 60},
            {"past the end", RGB(9, 9, 9), RGB(9, 9, 9), false, 900, RGB(9, 9, 9), 97, 101},
        };
        for (const auto& c : cases) {
            CExtGridCellProgress cell;
            cell.m_clrBar1 = c.clr1;
            cell.m_clrBar2 = c.clr2 == RGB(0, 0, 1) ? c.clr1 : c.clr2;
            cell.m_bReverse = c.bRev;
            cell.m_nPos = c.nPos;
            DibCanvas canvas(110, 20, clrBack);
            CDC* pDC = CDC::FromHandle(canvas.Dc());
            const CRect rc(0, 0, 100, 20), rcAll(0, 0, 110, 20);
            cell.OnPaintText(rc, m_grid, *pDC, 0, 0, 0, 0, 0, 0, rc, rc, rcAll, 0x200, 0);
            EXPECT_EQ(c.clrIn, canvas.Pixel(c.xIn, 10)) << c.name;
            EXPECT_EQ(clrBack, canvas.Pixel(c.xOut, 10)) << c.name;
            const CRect rcBar = cell.CalcBarRect(rc);
            EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(rcBar.left, 0)) << c.name << ": the frame";
        }
    }
}
