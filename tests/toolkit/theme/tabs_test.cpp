// Tab painting: strip backgrounds, areas, buttons, frames, metrics and the items of the
// classic and Studio 2005 looks, against a stand-in tab window that the query table names.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"
#include "toolkit/theme/pm_tabs.h"

#include <vector>

using testsupport::DibCanvas;

namespace {

const COLORREF MARK = RGB(1, 2, 3), NEAR_WHITE = RGB(0xFC, 0xFC, 0xFE);

class FakeTabWnd : public CWnd
{
    DECLARE_DYNAMIC(FakeTabWnd)
public:
    std::vector<DWORD> m_items;
    int m_nSel = -1;
    DWORD m_dwStyle = 0;
    int m_nOrientation = 0;
};
IMPLEMENT_DYNAMIC(FakeTabWnd, CWnd)

class TabItemInfo : public CObject
{
public:
    TabItemInfo(int n) : m_nIndex(n) {}
    int m_nIndex;
};

FakeTabWnd* Tab(CObject* p) { return static_cast<FakeTabWnd*>(p); }

class Tabs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = CExtPmTabQueries::g_tabs;
        CExtPmTabQueries::Queries& q = CExtPmTabQueries::g_tabs;
        q.pfnItemCount = [](CObject* p) { return (int)Tab(p)->m_items.size(); };
        q.pfnSelection = [](CObject* p) { return Tab(p)->m_nSel; };
        q.pfnTabWndStyle = [](CObject* p) { return Tab(p)->m_dwStyle; };
        q.pfnItemStyle = [](CObject* p, int n, DWORD& dw) {
            if (n < 0 || n >= (int)Tab(p)->m_items.size())
                return false;
            dw = Tab(p)->m_items[n];
            return true;
        };
        q.pfnItemIndexOf = [](CObject* p) { return static_cast<TabItemInfo*>(p)->m_nIndex; };
        q.pfnTabWndFlags = [](CObject*) { return (BYTE)0; };
        q.pfnPaintsOwnBackground = [](CObject*) { return false; };
        q.pfnOrientation = [](CObject* p) { return Tab(p)->m_nOrientation; };
        q.pTabWndClass = RUNTIME_CLASS(FakeTabWnd);
        m_tab.m_items.assign(3, 0);
    }
    void TearDown() override
    {
        CExtPmTabQueries::g_tabs = m_saved;
        themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    CExtPaintManager* Use(CRuntimeClass* pClass) { return themetest::InstallTheme(pClass); }
    void Item(CExtPaintManager* pPM, CDC& dc, const RECT& rcItem, int nIndex, bool bSelected,
              bool bGrouped = false, bool bTopLeft = true)
    {
        CExtPaintManager::PAINTTABITEMDATA _ptid(&m_tab, nIndex);
        _ptid.m_rcItemsArea = RECT{0, 0, 100, 40};
        _ptid.m_rcItem = rcItem;
        _ptid.m_sText = _T("");
        _ptid.m_bTopLeft = bTopLeft;
        _ptid.m_bHorz = true;
        _ptid.m_bSelected = bSelected;
        _ptid.m_bGroupedMode = bGrouped;
        pPM->DrawTabItem(dc, _ptid);
    }
    CExtPmTabQueries::Queries m_saved;
    FakeTabWnd m_tab;
};

}  // namespace

TEST_F(Tabs, ColoursSkipNullOutputs)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    COLORREF c1 = 7, c3 = 7, c4 = 7;
    pPM->GetTabColors(&c1, NULL, &c3, &c4, NULL);
    EXPECT_EQ(pPM->LookupColor(18), c1);
    EXPECT_EQ(pPM->LookupColor(20), c3);
    EXPECT_EQ(pPM->LookupColor(21), c4);
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    COLORREF c2 = 7;
    pPM->GetTabColors(NULL, &c2, &c3, NULL, NULL);
    EXPECT_EQ(pPM->LookupColor(20), c2);
    EXPECT_EQ(pPM->LookupColor(16), c3);
}

TEST_F(Tabs, StripBackgroundAndEdge)
{
    DibCanvas canvas(60, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcWhole = {0, 0, 60, 30}, rcBorder = {0, 20, 60, 30};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawTabPart(*pDC, rcWhole, rcWhole, rcBorder, 0, false, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(5, 5));
    EXPECT_EQ(pPM->LookupColor(20), canvas.Pixel(5, 20));
    EXPECT_EQ(pPM->LookupColor(15), canvas.Pixel(5, 25));
    pPM->DrawTabPart(*pDC, rcWhole, rcWhole, rcBorder, 1, false, NULL);
    EXPECT_EQ(pPM->LookupColor(21), canvas.Pixel(5, 29));
    pPM->DrawTabPart(*pDC, rcWhole, rcWhole, rcBorder, 0, true, NULL);
    EXPECT_EQ(pPM->LookupColor(15), canvas.Pixel(5, 5));
    EXPECT_EQ(pPM->LookupColor(15), canvas.Pixel(5, 20)) << "no border: no edge line";

    for (CRuntimeClass* pClass : {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                                  RUNTIME_CLASS(CExtPaintManagerStudio2005)})
    {
        pPM = Use(pClass);
        canvas.Fill(MARK);
        pPM->DrawTabPart(*pDC, rcWhole, rcWhole, rcBorder, 3, false, NULL);
        EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(5, 5)) << pClass->m_lpszClassName;
        EXPECT_EQ(pPM->LookupColor(2000), canvas.Pixel(5, 25)) << pClass->m_lpszClassName;
        EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(59, 25)) << pClass->m_lpszClassName;
    }
}

TEST_F(Tabs, AreaOnlyForTabWindows)
{
    DibCanvas canvas(60, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcArea = {0, 0, 60, 30}, rcRef = {0, 0, 60, 10};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawTabArea(*pDC, rcArea, rcRef, 0, 0, 0, pPM);
    EXPECT_EQ(60 * 30, canvas.Count(MARK, rcArea));
    pPM->DrawTabArea(*pDC, rcArea, rcRef, 0, 0, 0, &m_tab);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(5, 5));
    EXPECT_EQ(pPM->LookupColor(20), canvas.Pixel(5, 10)) << "the row below the reference";
    pPM->DrawTabArea(*pDC, rcArea, RECT{10, 0, 30, 30}, 0, 3, 0, &m_tab);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(9, 5));
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    pPM->DrawTabArea(*pDC, rcArea, rcRef, 0, 0, 0, &m_tab);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(5, 10)) << "Studio 2005: the shadow on every side";
}

TEST_F(Tabs, ButtonsAndFrames)
{
    DibCanvas canvas(20, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {2, 2, 18, 18};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawTabButton(*pDC, rc, -99, 0, true, true, true, false, 0, NULL);
    EXPECT_EQ(pPM->LookupColor(20), canvas.Pixel(2, 10));
    EXPECT_EQ(pPM->LookupColor(21), canvas.Pixel(17, 10));
    EXPECT_EQ(16 * 16 - 60, canvas.Count(MARK, rc)) << "an unknown code draws no glyph";
    canvas.Fill(MARK);
    pPM->DrawTabButton(*pDC, rc, -7, 0, true, true, false, true, 0, NULL);
    EXPECT_EQ(pPM->LookupColor(21), canvas.Pixel(2, 10)) << "pushed: sunken";
    EXPECT_GT(canvas.Count(pPM->LookupColor(18), RECT{3, 3, 17, 17}), 0);
    canvas.Fill(MARK);
    pPM->DrawTabButton(*pDC, rc, -4, 0, true, false, false, false, 0, NULL);
    EXPECT_GT(canvas.Count(pPM->LookupColor(16), rc), 0) << "disabled arrow in the shadow colour";
    EXPECT_EQ(0, canvas.Count(pPM->LookupColor(18), rc));

    canvas.Fill(MARK);
    pPM->DrawTabWndFrame(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(2, 10));
    EXPECT_EQ(pPM->LookupColor(20), canvas.Pixel(17, 10));
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    canvas.Fill(MARK);
    pPM->DrawSimpleFrame(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(17, 10));
}

TEST_F(Tabs, MetricsAndItemSizes)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    int a = -1, b = -1, c = 77;
    m_tab.m_dwStyle = 0x80;
    pPM->GetTabMetrics(&m_tab, a, b, c);
    EXPECT_EQ(4, a);
    EXPECT_EQ(2, b);
    EXPECT_EQ(77, c) << "left as the caller set it";
    m_tab.m_dwStyle = 0;
    pPM->GetTabMetrics(&m_tab, a, b, c);
    EXPECT_EQ(2, c);
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    pPM->GetTabMetrics(&m_tab, a, b, c);
    EXPECT_EQ(0, a);
    m_tab.m_dwStyle = 0x80;
    pPM->GetTabMetrics(&m_tab, a, b, c);
    EXPECT_EQ(3, a);

    TabItemInfo first(0), middle(1), last(2);
    SIZE sz = {50, 22};
    pPM->AdjustTabItemSize(&m_tab, &first, 0, sz);
    EXPECT_EQ(50, sz.cx) << "style 3: unchanged";
    pPM->m_nDockMarkerStyle = 2;
    pPM->AdjustTabItemSize(&m_tab, &first, 0, sz);
    EXPECT_EQ(62, sz.cx);
    EXPECT_EQ(19, sz.cy);
    sz = SIZE{50, 22};
    pPM->AdjustTabItemSize(&m_tab, &middle, 0, sz);
    EXPECT_EQ(50, sz.cx);
    EXPECT_EQ(19, sz.cy);
    m_tab.m_nOrientation = 2;
    sz = SIZE{22, 50};
    pPM->AdjustTabItemSize(&m_tab, &last, 0, sz);
    EXPECT_EQ(19, sz.cx);
    EXPECT_EQ(62, sz.cy);
    pPM->m_nDockMarkerStyle = 3;
}

TEST_F(Tabs, ClassicItemsTakeTheThemeColours)
{
    DibCanvas canvas(100, 40, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcItem = {10, 5, 50, 25};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    Item(pPM, *pDC, rcItem, 0, true);
    EXPECT_EQ(pPM->LookupColor(20), canvas.Pixel(9, 10));
    EXPECT_EQ(pPM->LookupColor(21), canvas.Pixel(49, 10));
    EXPECT_EQ(pPM->LookupColor(15), canvas.Pixel(30, 15));
    canvas.Fill(MARK);
    Item(pPM, *pDC, rcItem, 1, false);
    EXPECT_EQ(pPM->LookupColor(22), canvas.Pixel(49, 10));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    Item(pPM, *pDC, rcItem, 0, true);
    EXPECT_EQ(pPM->LookupColor(2000), canvas.Pixel(30, 15));
    canvas.Fill(MARK);
    Item(pPM, *pDC, rcItem, 1, false);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(49, 10));
}

TEST_F(Tabs, Studio2005ItemsOfTheDefaultLook)
{
    DibCanvas canvas(100, 40, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcItem = {10, 5, 50, 25};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    const COLORREF clrLine = pPM->LookupColor(16);
    Item(pPM, *pDC, rcItem, 0, false);
    EXPECT_EQ(MARK, canvas.Pixel(50, 7));
    for (int y = 8; y <= 22; y++)
        EXPECT_EQ(clrLine, canvas.Pixel(50, y)) << y;
    EXPECT_EQ(MARK, canvas.Pixel(50, 23));
    EXPECT_EQ(100 * 40 - 15, canvas.Count(MARK, RECT{0, 0, 100, 40})) << "only the separator";

    canvas.Fill(MARK);
    Item(pPM, *pDC, rcItem, 2, false);
    EXPECT_EQ(100 * 40, canvas.Count(MARK, RECT{0, 0, 100, 40})) << "the last item draws nothing";

    canvas.Fill(MARK);
    Item(pPM, *pDC, rcItem, 1, true);
    EXPECT_EQ(clrLine, canvas.Pixel(10, 15));
    EXPECT_EQ(clrLine, canvas.Pixel(30, 5));
    EXPECT_EQ(clrLine, canvas.Pixel(50, 15));
    EXPECT_EQ(NEAR_WHITE, canvas.Pixel(30, 15));
    EXPECT_EQ(NEAR_WHITE, canvas.Pixel(30, 25)) << "the fill reaches one row below the item";
    EXPECT_EQ(MARK, canvas.Pixel(30, 26));

    // Grouped: every item outlined, none filled, and a top strip takes the bottom shape.
    canvas.Fill(MARK);
    Item(pPM, *pDC, rcItem, 0, true, true);
    EXPECT_EQ(clrLine, canvas.Pixel(30, 24)) << "the bottom shape's closed side";
    EXPECT_EQ(MARK, canvas.Pixel(30, 15));
}

TEST_F(Tabs, Studio2005SlantedLook)
{
    DibCanvas canvas(100, 40, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcItem = {20, 5, 60, 25};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    pPM->m_nDockMarkerStyle = 2;
    m_tab.m_nSel = 1;
    Item(pPM, *pDC, rcItem, 1, true);
    const COLORREF clrDark = pPM->LookupColor(16);
    EXPECT_EQ(clrDark, canvas.Pixel(40, 5)) << "the top edge of the outline";
    EXPECT_EQ(NEAR_WHITE, canvas.Pixel(40, 15)) << "the selected item is filled flat";
    EXPECT_EQ(NEAR_WHITE, canvas.Pixel(40, 26)) << "and its open side is drawn over";
    EXPECT_EQ(MARK, canvas.Pixel(40, 2));

    canvas.Fill(MARK);
    Item(pPM, *pDC, rcItem, 2, false);
    EXPECT_NE(MARK, canvas.Pixel(40, 15)) << "an unselected item gets the gradient";
    EXPECT_NE(NEAR_WHITE, canvas.Pixel(40, 15));
    pPM->m_nDockMarkerStyle = 3;
}

TEST_F(Tabs, UnknownLookIsABrokenState)
{
    DibCanvas canvas(10, 10, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    pPM->m_nDockMarkerStyle = 7;
    bool bThrown = false;
    try
    {
        Item(pPM, *pDC, RECT{0, 0, 10, 10}, 0, false);
    }
    catch (CNotSupportedException* e)
    {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    pPM->m_nDockMarkerStyle = 3;
}

TEST_F(Tabs, Office2003StripOverTheParentBackground)
{
    DibCanvas canvas(60, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcWhole = {0, 0, 60, 30}, rcBorder = {0, 20, 60, 30};
    CExtPmTabQueries::g_tabs.pfnTabWndFlags = [](CObject*) { return (BYTE)0x01; };
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    pPM->DrawTabPart(*pDC, rcWhole, rcWhole, rcBorder, 0, false, &m_tab);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(5, 25)) << "its own border area";
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(5, 20)) << "and edge line";
    EXPECT_EQ(MARK, canvas.Pixel(5, 5)) << "the strip is left to the parent's background";
    canvas.Fill(MARK);
    pPM->DrawTabPart(*pDC, rcWhole, rcWhole, rcBorder, 0, true, &m_tab);
    EXPECT_EQ(MARK, canvas.Pixel(5, 25)) << "no border";
    // Without the flag the XP strip is painted.
    CExtPmTabQueries::g_tabs.pfnTabWndFlags = [](CObject*) { return (BYTE)0; };
    pPM->DrawTabPart(*pDC, rcWhole, rcWhole, rcBorder, 0, false, &m_tab);
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(5, 5));
    EXPECT_EQ(pPM->LookupColor(2000), canvas.Pixel(5, 25));
}
