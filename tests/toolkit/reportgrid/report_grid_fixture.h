// A hidden report grid with a parent, and helpers to fill and read its rows.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/reportgrid/report_grid.h"

// Every registered column lies in the part of the header its active flag names, and the
// grid can still move it to the other part and back to its place.
inline void CheckColumnsInTheirParts(CExtReportGridWnd& grid)
{
    CExtReportGridDataProvider& dp = grid.GetReportDataProvider();
    std::vector<CExtReportGridColumn*> registered;
    for (POSITION pos = grid.ColumnGetStartPosition(NULL, true, true); pos != NULL;)
        registered.push_back(grid.ColumnGetNext(pos, NULL, true, true));
    for (CExtReportGridColumn* pColumn : registered)
    {
        SCOPED_TRACE(pColumn->ColumnNameGet());
        const bool bActive = pColumn->IsActive();
        auto place = [&] { return bActive ? dp.ActiveColumnIndexOf(pColumn) : dp.InactiveColumnIndexOf(pColumn); };
        const int nAt = place();
        ASSERT_LE(0, nAt) << (bActive ? "shown" : "hidden") << " by its flag, but not there";
        ASSERT_TRUE(grid.ColumnActivate(pColumn, !bActive, -1, false));
        ASSERT_TRUE(grid.ColumnActivate(pColumn, bActive, nAt, false));
        ASSERT_EQ(nAt, place());
    }
}

struct ReportGridFixture : testing::Test
{
    HWND m_hParent = NULL;
    CExtReportGridWnd m_grid;
    void SetUp() override
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 300, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 500, 300), 1, 0, WS_CHILD));
    }
    void TearDown() override
    {
        m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
    // One item per row of texts, one text per column.
    void AddItems(const std::vector<CExtReportGridColumn*>& cols, const std::vector<std::vector<const char*>>& rows)
    {
        CTypedPtrArray<CPtrArray, CExtReportGridItem*> arr;
        arr.SetSize((INT_PTR)rows.size());
        ASSERT_TRUE(m_grid.ItemsRegister(arr, false, false));
        for (size_t r = 0; r < rows.size(); r++)
            for (size_t c = 0; c < cols.size(); c++)
            {
                CExtGridCell* pCell = m_grid.ItemCellGet(cols[c], arr[(INT_PTR)r], RUNTIME_CLASS(CExtGridCellString));
                ASSERT_NE(nullptr, pCell);
                pCell->TextSet(rows[r][c]);
            }
    }
    // The shown rows: a data row as its texts joined, a group row as "<text>" of its first
    // leaf in the group column of its level, indented by its depth.
    std::string Rows(const std::vector<CExtReportGridColumn*>& cols)
    {
        std::string s;
        const CExtReportGridSortOrder& order = m_grid.SortOrderGet();
        for (LONG r = 0; r < m_grid.GetRowCount(); r++)
        {
            CExtReportGridItem* pItem = m_grid.ItemFromNode(m_grid.ItemGetByVisibleRow(r));
            if (pItem == NULL)
                return s + "?";
            if (!s.empty())
                s += " ";
            if (pItem->IsGroupRow())
            {
                CExtTreeGridCellNode* pLeaf = pItem;
                while (pLeaf->TreeNodeGetChildCount() > 0)
                    pLeaf = pLeaf->TreeNodeGetChildAt(0);
                const int nLevel = (int)pItem->TreeNodeGetDepth() - 1;
                s += "<" + Text(order.ItemGet(nLevel), DYNAMIC_DOWNCAST(CExtReportGridItem, pLeaf)) + ">";
                continue;
            }
            for (CExtReportGridColumn* pColumn : cols)
                s += Text(pColumn, pItem);
        }
        return s;
    }
    std::string Text(CExtReportGridColumn* pColumn, CExtReportGridItem* pItem)
    {
        CExtGridCell* pCell = m_grid.ItemCellGet(pColumn, pItem);
        CString str;
        if (pCell != NULL)
            pCell->TextGet(str);
        return (LPCTSTR)str;
    }
    std::string ActiveNames()
    {
        std::string s;
        CExtReportGridDataProvider& dp = m_grid.GetReportDataProvider();
        for (int i = 0; i < dp.ActiveColumnCountGet(); i++)
            s += std::string(i ? "," : "") + dp.ActiveColumnGet(i)->ColumnNameGet();
        return s;
    }
    std::string InactiveNames()
    {
        std::string s;
        CExtReportGridDataProvider& dp = m_grid.GetReportDataProvider();
        for (int i = 0; i < dp.InactiveColumnCountGet(); i++)
            s += std::string(i ? "," : "") + dp.InactiveColumnGet(i)->ColumnNameGet();
        return s;
    }
};
