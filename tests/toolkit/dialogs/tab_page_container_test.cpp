// The tab page container: pages inserted, numbered and switched, ranges removed, the
// keyboard switch with wrap-around, the strip hiding while empty and the hooks that stop
// at a nested container.
#include <gtest/gtest.h>
#include <set>
#include <vector>
#include "tab_wnd_test_strip.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/dialogs/tab_page_container.h"

namespace {

class ContainerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_container.Create(m_host.Wnd(), CRect(0, 0, 300, 200), 1000));
    }
    void TearDown() override
    {
        if (m_container.GetSafeHwnd() != NULL)
            m_container.DestroyWindow();
        testsupport::PumpPending();
    }
    // A page with one edit inside, made outside the container.
    HWND NewPage()
    {
        HWND hPage = ::CreateWindowEx(0, _T("STATIC"), _T("page"), WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, m_host.m_hWnd,
                                      NULL, NULL, NULL);
        ::CreateWindowEx(0, _T("EDIT"), _T(""), WS_CHILD | WS_VISIBLE, 2, 2, 40, 20, hPage, (HMENU)77, NULL, NULL);
        return hPage;
    }
    std::vector<HWND> AddPages(int n)
    {
        std::vector<HWND> pages;
        for (int i = 0; i < n; i++)
        {
            pages.push_back(NewPage());
            EXPECT_TRUE(m_container.PageInsert(pages.back(), NULL, _T("page"), -1, false));
        }
        return pages;
    }
    std::vector<int> VisiblePages() const
    {
        std::vector<int> v;
        for (int i = 0; i < m_container.PageGetCount(); i++)
            if (::IsWindowVisible(m_container.PageHwndGet(i)))
                v.push_back(i);
        return v;
    }
    TabHost m_host{400, 300};
    CExtTabPageContainerWnd m_container;
};

}  // namespace

TEST_F(ContainerTest, PagesAreNumberedAndTheSelectedOneFillsTheRoomAboveTheStrip)
{
    std::vector<HWND> pages = AddPages(2);
    HWND hLate = NewPage();
    ASSERT_TRUE(m_container.PageInsert(hLate, NULL, _T("late"), 10, false));
    ASSERT_EQ(3, m_container.PageGetCount());
    EXPECT_EQ(hLate, m_container.PageHwndGet(2));
    EXPECT_EQ(0, m_container.PageSelectionGet()) << "the first page inserted is selected";
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(257 + i, ::GetDlgCtrlID(m_container.PageHwndGet(i))) << i;
        EXPECT_EQ(m_container.m_hWnd, ::GetParent(m_container.PageHwndGet(i))) << i;
    }
    CExtTabWnd* pTab = m_container.GetSafeTabWindow();
    ASSERT_TRUE(pTab != NULL);
    EXPECT_EQ(1, pTab->OrientationGet()) << "tabs below the pages";
    EXPECT_EQ(256, pTab->GetDlgCtrlID());
    CRect rcStrip, rcPage;
    pTab->GetWindowRect(&rcStrip);
    m_container.ScreenToClient(&rcStrip);
    for (int nSel : {0, 2, 1})
    {
        SCOPED_TRACE(nSel);
        m_container.PageSelectionSet(nSel);
        EXPECT_EQ(std::vector<int>{nSel}, VisiblePages());
        ::GetWindowRect(m_container.PageHwndGet(nSel), &rcPage);
        m_container.ScreenToClient(&rcPage);
        EXPECT_RECT(CRect(0, 0, 300, rcStrip.top), rcPage);
        EXPECT_EQ(200, rcStrip.bottom);
        EXPECT_TRUE(m_container.IsHookedWindow(::GetDlgItem(m_container.PageHwndGet(nSel), 77)));
        EXPECT_FALSE(m_container.IsHookedWindow(::GetDlgItem(m_container.PageHwndGet((nSel + 1) % 3), 77)));
    }
}

TEST_F(ContainerTest, RemovingARangeTakesEveryPageOfIt)
{
    struct Case
    {
        const char* sName;
        int nPages, nSel, nIndex, nCount;
        bool bDestroy;
        int nRemoved, nNewSel;
        std::set<int> gone;  // original positions whose windows are removed
    } const kCases[] = {
        {"two from the middle, destroyed", 4, 3, 1, 2, true, 2, 0, {1, 2}},
        {"two from the middle, kept", 4, 2, 1, 2, false, 2, 0, {1, 2}},
        {"first of three", 3, 0, 0, 1, true, 1, 0, {0}},
        {"past the end is cut", 3, 1, 1, 5, true, 2, 0, {1, 2}},
        {"index beyond the pages", 2, 0, 2, 1, true, 0, 0, {}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.sName);
        std::vector<HWND> pages = AddPages(c.nPages);
        m_container.PageSelectionSet(c.nSel);
        EXPECT_EQ(c.nRemoved, m_container.PageRemove(c.nIndex, c.nCount, c.bDestroy));
        EXPECT_EQ(c.nPages - c.nRemoved, m_container.PageGetCount());
        EXPECT_EQ(c.nNewSel, m_container.PageSelectionGet());
        for (int i = 0; i < c.nPages; i++)
        {
            const bool bGone = c.gone.count(i) != 0;
            if (!bGone)
                continue;
            EXPECT_EQ(!c.bDestroy, ::IsWindow(pages[i]) != FALSE) << i;
            if (!c.bDestroy)
            {
                EXPECT_FALSE(::IsWindowVisible(pages[i])) << i;
            }
        }
        for (int i = 0; i < m_container.PageGetCount(); i++)
            EXPECT_EQ(257 + i, ::GetDlgCtrlID(m_container.PageHwndGet(i))) << i;
        EXPECT_EQ(std::vector<int>{c.nNewSel}, VisiblePages());
        m_container.PageRemove(0, 100, true);
        for (HWND h : pages)
            if (::IsWindow(h))
                ::DestroyWindow(h);
    }
}

TEST_F(ContainerTest, CtrlPageKeysStepOverDisabledPagesAndWrap)
{
    std::vector<HWND> pages = AddPages(4);
    m_container.GetSafeTabWindow()->ItemGet(1)->ModifyItemStyle(0, CExtTabWnd::TAB_ITEM_INFO::__ETWI_DISABLED);
    BYTE keys[256] = {0};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    struct Case
    {
        int nFrom;
        UINT nKey;
        int nTo;
    } const kCases[] = {{3, VK_NEXT, 0}, {0, VK_NEXT, 2}, {2, VK_PRIOR, 0}, {0, VK_PRIOR, 3}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.nFrom);
        m_container.PageSelectionSet(c.nFrom);
        HWND hEdit = ::GetDlgItem(m_container.PageHwndGet(c.nFrom), 77);
        ::SetFocus(hEdit);
        ::SendMessage(hEdit, WM_KEYDOWN, c.nKey, 0);
        EXPECT_EQ(c.nTo, m_container.PageSelectionGet());
    }
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
}

TEST_F(ContainerTest, EmptyStripHidesAndNestedContainersKeepTheirOwnHooks)
{
    CExtTabWnd* pTab = m_container.GetSafeTabWindow();
    std::vector<HWND> pages = AddPages(1);
    EXPECT_TRUE(pTab->IsWindowVisible());
    m_container.PageRemove(0, 1, true);
    EXPECT_FALSE(pTab->IsWindowVisible());

    HWND hOuter = NewPage();
    CExtTabPageContainerWnd* pNested = new CExtTabPageContainerWnd;
    ASSERT_TRUE(pNested->Create(CWnd::FromHandle(hOuter), CRect(0, 40, 100, 100), 55));
    HWND hInner = NewPage();
    ASSERT_TRUE(pNested->PageInsert(hInner, NULL, _T("inner"), -1, true));
    ASSERT_TRUE(m_container.PageInsert(hOuter, NULL, _T("outer"), -1, true));
    EXPECT_TRUE(pTab->IsWindowVisible());
    EXPECT_TRUE(m_container.IsHookedWindow(::GetDlgItem(hOuter, 77)));
    EXPECT_FALSE(m_container.IsHookedWindow(::GetDlgItem(hInner, 77)));
    EXPECT_FALSE(m_container.IsHookedWindow(pNested->m_hWnd));
    m_container.PageRemove(0, 1, true);
    delete pNested;
}

// The OneNote container paints the background its pages ask for in the selected tab's
// colours: flat in the light colour, or as a gradient that starts dark at the top over
// tabs below the pages.
TEST(OneNoteContainer, PagesInheritTheSelectedTabsColours)
{
    TabHost host(400, 300);
    CExtTabPageContainerOneNoteWnd container;
    ASSERT_TRUE(container.Create(host.Wnd(), CRect(0, 0, 300, 200), 1000));
    HWND hPage = ::CreateWindowEx(0, _T("STATIC"), _T(""), WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, host.m_hWnd, NULL,
                                  NULL, NULL);
    ASSERT_TRUE(container.PageInsert(hPage, NULL, _T("one"), -1, true, RGB(10, 20, 30), RGB(200, 100, 50)));
    CRect rcPage;
    ::GetClientRect(hPage, &rcPage);
    struct Case
    {
        const char* sName;
        BYTE nFlags;
        bool bPainted;
        COLORREF clrTop;
    } const kCases[] = {
        {"not asked to paint", 0x00, false, RGB(1, 2, 3)},
        {"flat", 0x01, true, RGB(10, 20, 30)},
        {"gradient", 0x03, true, RGB(200, 100, 50)},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.sName);
        container.m_nOneNoteFlags = c.nFlags;
        testsupport::DibCanvas canvas(rcPage.Width(), rcPage.Height(), RGB(1, 2, 3));
        CExtPaintManager::PAINTPARENTBACKGROUNDDATA data(true, CDC::FromHandle(canvas.Dc()), CWnd::FromHandle(hPage));
        container.SendMessage(CExtPaintManager::g_nMsgPaintInheritedBackground, (WPARAM)&data);
        EXPECT_EQ(c.bPainted, (bool)data.m_bPainted);
        EXPECT_EQ(c.clrTop, canvas.Pixel(rcPage.Width() / 2, 0));
    }
    container.DestroyWindow();
}
