// A hidden report grid with a parent, and helpers to fill and read its rows.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/reportgrid/report_grid.h"

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
