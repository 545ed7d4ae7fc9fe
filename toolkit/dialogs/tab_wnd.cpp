#include "toolkit/dialogs/tab_wnd.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNAMIC(CExtTabWnd, CWnd)
IMPLEMENT_DYNAMIC(CExtTabMdiWnd, CExtTabWnd)

int CExtTabWnd::TAB_ITEM_INFO::GetIndexOf() const
{
    if (m_pWndTab == NULL)
        return -1;
    for (int i = 0; i < m_pWndTab->ItemGetCount(); i++)
        if (m_pWndTab->ItemGet(i) == this)
            return i;
    return -1;
}

CExtTabWnd::CExtTabWnd() : m_nSelIndex(-1), m_dwTabWndStyle(0), m_nOrientation(0), m_nTabWndFlags(0) {}

CExtTabWnd::~CExtTabWnd() {}

bool CExtTabWnd::IsMdiTabCtrl() const { return false; }

bool CExtTabWnd::PaintsOwnBackground() const { return false; }

CExtTabMdiWnd::CExtTabMdiWnd() {}

CExtTabMdiWnd::~CExtTabMdiWnd() {}

bool CExtTabMdiWnd::IsMdiTabCtrl() const { return true; }

namespace {

// The paint-manager holder finds a frame's MDI tab window by class name and asks it
// through this test, since the theme engine is linked before the tab windows.
bool QueryMdiTabRelay(CWnd* pWnd)
{
    CExtTabWnd* pTabs = DYNAMIC_DOWNCAST(CExtTabWnd, pWnd);
    return pTabs != NULL && pTabs->IsMdiTabCtrl();
}

struct MdiTabRelayRegistration
{
    MdiTabRelayRegistration() { CExtPaintManagerHolder::g_pfnQueryMdiTabRelay = QueryMdiTabRelay; }
};

const MdiTabRelayRegistration g_MdiTabRelayRegistration;

}  // namespace

#include "toolkit/theme/pm_tabs.h"

namespace {

// What the theme's tab painting reads of a tab window and its items.
CExtTabWnd* TabOf(CObject* p) { return DYNAMIC_DOWNCAST(CExtTabWnd, p); }

const CExtPmTabQueries::Queries g_tabPaintQueries = {
    [](CObject* p) { CExtTabWnd* t = TabOf(p); return t != NULL ? t->ItemGetCount() : 0; },
    [](CObject* p) { CExtTabWnd* t = TabOf(p); return t != NULL ? t->SelectionGet() : -1; },
    [](CObject* p) { CExtTabWnd* t = TabOf(p); return t != NULL ? t->GetTabWndStyle() : (DWORD)0; },
    [](CObject* p, int nIndex, DWORD& dwItemStyle) {
        CExtTabWnd* t = TabOf(p);
        CExtTabWnd::TAB_ITEM_INFO* pItem = (t != NULL) ? t->ItemGet(nIndex) : NULL;
        if (pItem == NULL)
            return false;
        dwItemStyle = pItem->GetItemStyle();
        return true;
    },
    [](CObject* p) {
        // The tab window hands its own item records to the item-size query.
        CExtTabWnd::TAB_ITEM_INFO* pItem = static_cast<CExtTabWnd::TAB_ITEM_INFO*>(p);
        return pItem != NULL ? pItem->GetIndexOf() : -1;
    },
    [](CObject* p) { CExtTabWnd* t = TabOf(p); return t != NULL ? t->m_nTabWndFlags : (BYTE)0; },
    [](CObject* p) { CExtTabWnd* t = TabOf(p); return t != NULL && t->PaintsOwnBackground(); },
    [](CObject* p) { CExtTabWnd* t = TabOf(p); return t != NULL ? t->OrientationGet() : 0; },
};

struct TabPaintQueriesRegistration
{
    TabPaintQueriesRegistration() { CExtPmTabQueries::g_tabs = g_tabPaintQueries; }
};

const TabPaintQueriesRegistration g_TabPaintQueriesRegistration;

}  // namespace
