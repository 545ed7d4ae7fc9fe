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
