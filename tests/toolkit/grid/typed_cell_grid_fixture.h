// A grid window with two columns and two rows for the typed cell tests, counting the
// notifications it receives, and a drop-down list box made the way the popup makes it.
#pragma once
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/pickers/popup_control_menu.h"
#include "toolkit/theme/paint_manager.h"
#include "hosted_grid_fixture.h"

namespace typedcells {

class CountingGrid : public CExtGridWnd
{
public:
    int m_nValueChanged = 0, m_nCheckChanged = 0, m_nIntegerApplied = 0;
    void OnCellValueChanged(CExtGridCell* p, LONG c, LONG r, INT ct, INT rt, DWORD d) override
    {
        m_nValueChanged++;
        CExtGridWnd::OnCellValueChanged(p, c, r, ct, rt, d);
    }
    void OnCheckStateChanged(CExtGridCell*, LONG, LONG, INT, INT) override { m_nCheckChanged++; }
    void OnInplaceControlApplied(CExtGridCell*, HWND, LONG, LONG, INT, INT, int, bool) override
    {
        m_nIntegerApplied++;
    }
};

struct TypedCellGridTest : gridtests::HostedGridTest<CountingGrid>
{
    CExtPopupInplaceListBox m_list;
    CRect m_rcExtra, m_rcCell;
    void SetUp() override
    {
        HostedGridTest::SetUp();
        CreateTwoByTwo();
        ASSERT_TRUE(m_list.Create(WS_CHILD | LBS_HASSTRINGS | LBS_NOTIFY, CRect(0, 0, 100, 100),
                                  CWnd::FromHandle(m_hParent), 1));
    }
    void TearDown() override
    {
        m_list.DestroyWindow();
        HostedGridTest::TearDown();
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    // A cell of the class at (0, 0), its style changed.
    template <class T>
    T* Put(DWORD dwAdd = 0, DWORD dwRemove = 0)
    {
        T* p = static_cast<T*>(m_grid.GridCellGet(0, 0, 0, 0, RUNTIME_CLASS(T)));
        p->ModifyStyle(dwAdd, dwRemove);
        return p;
    }
    CExtGridCell::POPUP_LIST_INFO Pli(CExtGridCell* pCell)
    {
        return CExtGridCell::POPUP_LIST_INFO(pCell, &m_grid, CRect(0, 0, 80, 20), CRect(0, 0, 80, 20), 0, 0, 0, 0,
                                             0, 0);
    }
    // The hit-test record of a click at (x, y) inside the cell at (0, 0).
    CExtGridHitTestInfo HitAt(CExtGridCell& cell, int x, int y)
    {
        CExtGridHitTestInfo hti;
        hti.m_nColNo = hti.m_nRowNo = 0;
        hti.m_dwAreaFlags = 0x200;
        m_grid.GetCellRects(0, 0, 0, 0, &hti.m_rcExtra, &hti.m_rcItem);
        hti.m_ptClient = CPoint(hti.m_rcItem.left + x, hti.m_rcItem.top + y);
        cell.OnHitTest(m_grid, hti, false);
        return hti;
    }
    // The editor the cell opens over (0, 0), NULL when it opens none; the cell's rects
    // are kept for its key filter.
    HWND OpenEditor(CExtGridCell& cell)
    {
        m_grid.GetCellRects(0, 0, 0, 0, &m_rcExtra, &m_rcCell);
        return cell.OnInplaceControlCreate(m_grid, 0, 0, 0, 0, 0, 0, m_rcExtra, m_rcCell, m_rcCell, -1, -1);
    }
    // The hit its editor's keys come with: the inner area of (0, 0).
    static CExtGridHitTestInfo EditorHit()
    {
        CExtGridHitTestInfo hti;
        hti.m_nColNo = hti.m_nRowNo = 0;
        hti.m_dwAreaFlags = 0x200;
        return hti;
    }
    // A message for the cell's editor filter.
    static MSG Msg(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam = 0)
    {
        MSG msg = {};
        msg.hwnd = hWnd;
        msg.message = nMsg;
        msg.wParam = wParam;
        msg.lParam = lParam;
        return msg;
    }
};

}  // namespace typedcells
