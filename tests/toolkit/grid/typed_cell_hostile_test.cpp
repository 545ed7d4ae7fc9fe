// Every typed cell refuses an archive cut short at any byte with the archive's own
// exception, never a crash, and keeps its value when the load is refused.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include "toolkit/grid/grid_cell_check.h"
#include "toolkit/grid/grid_cell_combo.h"
#include "toolkit/grid/grid_cell_number.h"
#include "toolkit/grid/grid_cell_updown.h"
#include "support/archive_bytes.h"
#include "typed_cell_test_util.h"

using namespace typedcells;

TEST(TypedCellHostile, ArchivesCutShortAreRefused) {
    struct Case {
        const char* name;
        std::function<CExtGridCell*()> make;
    } cases[] = {
        {"number", [] { auto* c = new CExtGridCellNumber; VARIANT v = R8(2.5); c->VariantSet(&v);
                        c->m_strGrouping = "3;0"; return (CExtGridCell*)c; }},
        {"currency", [] { auto* c = new CExtGridCellCurrency; c->m_strCurrencySymbol = "kr"; return (CExtGridCell*)c; }},
        {"percentage", [] { return (CExtGridCell*)new CExtGridCellPercentage; }},
        {"fraction", [] { return (CExtGridCell*)new CExtGridCellFraction; }},
        {"boolean", [] { return (CExtGridCell*)new CExtGridCellBool; }},
        {"check box", [] { auto* c = new CExtGridCellCheckBox; c->TextSet("x"); return (CExtGridCell*)c; }},
        {"combo", [] { auto* c = new CExtGridCellComboBox; c->InsertItem("a", 1); c->InsertItem("b", 2);
                       c->SetCurSel(1, true); return (CExtGridCell*)c; }},
        {"slider", [] { return (CExtGridCell*)new CExtGridCellSlider; }},
        {"progress", [] { auto* c = new CExtGridCellProgress; c->TextSet("p"); return (CExtGridCell*)c; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CExtGridCell> cell(c.make());
        const Bytes stored = testsupport::StoredBytes([&](CArchive& ar) { cell->Serialize(ar); });
        // The prefixes that end inside the kind's own fields (the base's are tested elsewhere).
        for (size_t n = Builder().ex().b.size(); n < stored.size(); n++) {
            std::unique_ptr<CExtGridCell> back(c.make());
            bool bRefused = false;
            try {
                Load(*back, Bytes(stored.begin(), stored.begin() + (ptrdiff_t)n));
            } catch (CArchiveException* e) {
                bRefused = true;
                e->Delete();
            }
            ASSERT_TRUE(bRefused) << "cut after " << n << " bytes";
            if (back->IsKindOf(RUNTIME_CLASS(CExtGridCellComboBox))) {
                EXPECT_EQ(2, static_cast<CExtGridCellComboBox*>(back.get())->GetItemCount()) << n;
            }
        }
    }
}
