// A grid window of the given class on a hidden popup parent, destroyed with it after
// each test.
#pragma once
#include <gtest/gtest.h>
#include "framework/framework.h"

namespace gridtests {

template <class TGrid>
struct HostedGridTest : testing::Test
{
    HWND m_hParent = NULL;
    TGrid m_grid;
    void SetUp() override
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 400, NULL, NULL, NULL, NULL);
    }
    void TearDown() override
    {
        if (m_grid.m_hWnd != NULL)
            m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
    void CreateGrid(int cx, int cy, DWORD dwStyle)
    {
        ASSERT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, cx, cy), 1, dwStyle, WS_CHILD));
        m_grid.SetDefaultRowExtent(20, false);
    }
    // Two inner columns and two rows, the focus on the first cell.
    void CreateTwoByTwo()
    {
        CreateGrid(300, 200, 0);
        if (HasFatalFailure())
            return;
        m_grid.InsertColumns(-1, 2, false);
        m_grid.InsertRows(-1, 2, false);
        m_grid.FocusSet(CPoint(0, 0), false, false, false, false);
    }
};

}  // namespace gridtests
