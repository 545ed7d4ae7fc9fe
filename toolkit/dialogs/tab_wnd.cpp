// The tab window's items, style, window class and creation, and what the theme engine
// reads of it. Layout, painting and the mouse live in tab_wnd_layout.cpp,
// tab_wnd_paint.cpp and tab_wnd_mouse.cpp.
#include "toolkit/dialogs/tab_wnd.h"
#include "toolkit/theme/pm_tabs.h"
#include "toolkit/core/cmd_manager.h"

IMPLEMENT_DYNCREATE(CExtTabWnd, CWnd)

LPCTSTR CExtTabWnd::g_sWindowClassName = _T("Kestrix-TabWindow");
HCURSOR CExtTabWnd::g_hCursor = ::LoadCursor(NULL, IDC_ARROW);

// ---- TAB_ITEM_INFO ------------------------------------------------------------------------

CExtTabWnd::TAB_ITEM_INFO::TAB_ITEM_INFO(CExtTabWnd* pWndTab, TAB_ITEM_INFO* pPrev,
                                         TAB_ITEM_INFO* pNext, LPCTSTR sText,
                                         const CExtCmdIcon* pIcon, DWORD dwItemStyle,
                                         LPARAM lParam, LPCTSTR sTooltipText)
    : m_pWndTab(pWndTab), m_dwItemStyle(dwItemStyle), m_sText((sText != NULL) ? sText : _T("")),
      m_sTooltipText((sTooltipText != NULL) ? sTooltipText : _T("")), m_size(24, 20),
      m_sizeText(0, 0), m_sizeIcon(0, 0), m_rcItem(0, 0, 24, 20), m_lParam(lParam),
      m_nItemFlags(0), m_pPrev(pPrev), m_pNext(pNext)
{
    if (pIcon != NULL && !pIcon->IsEmpty())
        m_icon = *pIcon;
    if (m_pPrev != NULL)
        m_pPrev->m_pNext = this;
    if (m_pNext != NULL)
        m_pNext->m_pPrev = this;
}

CExtTabWnd::TAB_ITEM_INFO::~TAB_ITEM_INFO() {}

DWORD CExtTabWnd::TAB_ITEM_INFO::ModifyItemStyle(DWORD dwRemove, DWORD dwAdd)
{
    const DWORD dwOld = m_dwItemStyle;
    DWORD dwNew = (dwOld & ~dwRemove) | dwAdd;
    if ((dwNew & __ETWI_SELECTED) != 0)
        dwNew |= __ETWI_IN_GROUP_ACTIVE;
    m_dwItemStyle = dwNew;
    if (((dwOld ^ dwNew) & __ETWI_INVISIBLE) != 0 && m_pWndTab != NULL)
    {
        if ((dwNew & __ETWI_INVISIBLE) == 0)
            m_pWndTab->m_nVisibleItemCount++;
        else if (m_pWndTab->m_nVisibleItemCount > 0)
            m_pWndTab->m_nVisibleItemCount--;
    }
    // At most one item of a group is group-active.
    if ((dwOld & __ETWI_IN_GROUP_ACTIVE) == 0 && (dwNew & __ETWI_IN_GROUP_ACTIVE) != 0 &&
        (m_pPrev != NULL || m_pNext != NULL))
    {
        if ((dwNew & __ETWI_GROUP_START) == 0)
        {
            for (TAB_ITEM_INFO* p = m_pPrev; p != NULL; p = p->m_pPrev)
            {
                if ((p->m_dwItemStyle & __ETWI_IN_GROUP_ACTIVE) != 0)
                {
                    p->m_dwItemStyle &= ~__ETWI_IN_GROUP_ACTIVE;
                    break;
                }
                if ((p->m_dwItemStyle & __ETWI_GROUP_START) != 0)
                    break;
            }
        }
        for (TAB_ITEM_INFO* p = m_pNext; p != NULL; p = p->m_pNext)
        {
            if ((p->m_dwItemStyle & __ETWI_GROUP_START) != 0)
                break;
            if ((p->m_dwItemStyle & __ETWI_IN_GROUP_ACTIVE) != 0)
            {
                p->m_dwItemStyle &= ~__ETWI_IN_GROUP_ACTIVE;
                break;
            }
        }
    }
    return dwOld;
}

bool CExtTabWnd::TAB_ITEM_INFO::VisibleSet(bool bShow)
{
    const bool bOld = VisibleGet();
    if (bShow)
        ModifyItemStyle(__ETWI_INVISIBLE, 0);
    else
        ModifyItemStyle(0, __ETWI_INVISIBLE);
    return bOld;
}

int CExtTabWnd::TAB_ITEM_INFO::GetIndexOf() const
{
    return (m_pWndTab != NULL) ? m_pWndTab->ItemGetIndexOf(this) : -1;
}

CExtTabWnd::TAB_ITEM_INFO* CExtTabWnd::TAB_ITEM_INFO::GetInGroupFirst()
{
    TAB_ITEM_INFO* p = this;
    while ((p->m_dwItemStyle & __ETWI_GROUP_START) == 0 && p->m_pPrev != NULL)
        p = p->m_pPrev;
    return p;
}

CExtTabWnd::TAB_ITEM_INFO* CExtTabWnd::TAB_ITEM_INFO::GetInGroupLast()
{
    TAB_ITEM_INFO* p = this;
    while (p->m_pNext != NULL && (p->m_pNext->m_dwItemStyle & __ETWI_GROUP_START) == 0)
        p = p->m_pNext;
    return p;
}

CString CExtTabWnd::TAB_ITEM_INFO::GetText() const
{
    if (m_pWndTab != NULL)
    {
        LPCTSTR s = m_pWndTab->OnTabWndQueryItemText(this);
        if (s != NULL)
            return CString(s);
    }
    return m_sText;
}

CString CExtTabWnd::TAB_ITEM_INFO::GetTooltipText() const
{
    if (m_pWndTab != NULL)
    {
        LPCTSTR s = m_pWndTab->OnTabWndQueryItemTooltipText(this);
        if (s != NULL && *s != _T('\0'))
            return CString(s);
    }
    return m_sTooltipText;
}

CExtCmdIcon* CExtTabWnd::TAB_ITEM_INFO::GetIconPtr()
{
    if (m_pWndTab != NULL)
    {
        CExtCmdIcon* p = m_pWndTab->OnTabWndQueryItemIcon(this);
        if (p != NULL)
            return p;
    }
    return &m_icon;
}

bool CExtTabWnd::TAB_ITEM_INFO::HitTest(const POINT& pt) const
{
    return VisibleGet() && !m_rcItem.IsRectEmpty() && m_rcItem.PtInRect(pt);
}

// ---- CExtTabWnd: construction -----------------------------------------------------------

CExtTabWnd::CExtTabWnd()
    : m_pHelperLastPaintManagerRTC(NULL), m_pToolTip(NULL), m_nTabWndFlags(0),
      m_dwTabWndStyle(0), m_nSelIndex(-1), m_nIndexVisFirst(-1), m_nIndexVisLast(-1),
      m_nDelayedSelIndex(-1), m_nHoverTrackingIndex(-1), m_nVisibleItemCount(0),
      m_nItemsExtent(0), m_nScrollPos(0), m_nScrollMaxPos(0), m_nScrollDirectionRest(0),
      m_rcTabItemsArea(0, 0, 0, 0), m_rcTabNearBorderArea(0, 0, 0, 0),
      m_wTabWndState(__ETWST_SIZE_PARENT | __ETWST_DELAY_RECALC), m_nPushedTrackingIndex(-1),
      m_nPushedTrackingButton(-1), m_nPushedTrackingHitTest(-1), m_rcRecalcLayout(0, 0, 0, 0),
      m_ptStartDrag(-1, -1), m_rcLastMovedItemRect(0, 0, 0, 0), m_nDragFlags(0)
{
    for (int i = 0; i < __BTN_COUNT; i++)
        m_rcButtons[i].SetRectEmpty();
    RegisterTabWndClass();
    RegisterWithHolder();
}

CExtTabWnd::~CExtTabWnd()
{
    UnregisterFromHolder();
    ItemRemoveAll(false);
    m_arrItems.FreeExtra();
    if (m_pToolTip != NULL)
    {
        if (m_pToolTip->GetSafeHwnd() != NULL)
            m_pToolTip->DestroyWindow();
        delete m_pToolTip;
        m_pToolTip = NULL;
    }
}

bool CExtTabWnd::IsMdiTabCtrl() const { return false; }

bool CExtTabWnd::PaintsOwnBackground() const { return false; }

bool CExtTabWnd::RegisterTabWndClass()
{
    HINSTANCE hInst = ::AfxGetInstanceHandle();
    WNDCLASS wc;
    if (::GetClassInfo(hInst, g_sWindowClassName, &wc))
        return true;
    if (g_hCursor == NULL)
        g_hCursor = ::LoadCursor(NULL, IDC_ARROW);
    ::memset(&wc, 0, sizeof(wc));
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = hInst;
    wc.hCursor = g_hCursor;
    wc.lpszClassName = g_sWindowClassName;
    return ::AfxRegisterClass(&wc) != FALSE;
}

BOOL CExtTabWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!RegisterTabWndClass())
        return FALSE;
    if (cs.lpszClass == NULL)
        cs.lpszClass = g_sWindowClassName;
    return CWnd::PreCreateWindow(cs);
}

BOOL CExtTabWnd::Create(CWnd* pParentWnd, const RECT& rcWnd, UINT nDlgCtrlID,
                        DWORD dwWindowStyle, DWORD dwTabWndStyle, CCreateContext* pContext)
{
    if (!RegisterTabWndClass())
        return FALSE;
    m_wTabWndState |= __ETWST_CREATED;
    m_dwTabWndStyle = dwTabWndStyle;
    if (!CWnd::Create(g_sWindowClassName, NULL, dwWindowStyle, rcWnd, pParentWnd, nDlgCtrlID,
                      pContext))
        return FALSE;
    return TRUE;
}

void CExtTabWnd::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    if ((m_wTabWndState & __ETWST_CREATED) == 0)
    {
        // A dialog control of our class carries the tab style in the low word of its
        // window style.
        const DWORD dwStyle = GetStyle();
        m_dwTabWndStyle = dwStyle & 0x0000FFFF;
        ::SetWindowLong(m_hWnd, GWL_STYLE, (LONG)(dwStyle & 0xFFFF0000));
    }
    _CreationStep();
}

void CExtTabWnd::_CreationStep()
{
    EnableToolTips(TRUE);
    if (OnTabWndToolTipsEnabled())
    {
        if (m_pToolTip == NULL)
            m_pToolTip = new CToolTipCtrl;
        if (m_pToolTip->GetSafeHwnd() == NULL)
        {
            if (!m_pToolTip->Create(this))
                AfxThrowResourceException();
        }
        m_pToolTip->Activate(TRUE);
    }
    UpdateTabWnd(false);
}

// ---- style and orientation --------------------------------------------------------------

DWORD CExtTabWnd::ModifyTabWndStyle(DWORD dwRemove, DWORD dwAdd, bool bUpdate)
{
    const DWORD dwOld = m_dwTabWndStyle;
    m_dwTabWndStyle = (dwOld & ~dwRemove) | dwAdd;
    if ((m_dwTabWndStyle & __ETWS_EQUAL_WIDTHS) != 0)
        m_nScrollPos = 0;
    UpdateTabWnd(bUpdate);
    return dwOld;
}

int CExtTabWnd::OrientationSet(int nOrientation, bool bUpdate)
{
    const int nOld = OrientationGet();
    m_dwTabWndStyle = (m_dwTabWndStyle & ~DWORD(__ETWS_ORIENT_MASK)) | (DWORD(nOrientation) & __ETWS_ORIENT_MASK);
    UpdateTabWnd(bUpdate);
    return nOld;
}

// ---- items --------------------------------------------------------------------------------

int CExtTabWnd::ItemGetIndexOf(const TAB_ITEM_INFO* pTii) const
{
    if (pTii == NULL)
        return -1;
    for (int i = 0; i < ItemGetCount(); i++)
        if (m_arrItems[i] == pTii)
            return i;
    return -1;
}

CExtTabWnd::TAB_ITEM_INFO* CExtTabWnd::ItemInsert(LPCTSTR sText, const CExtCmdIcon& icon,
                                                  DWORD dwItemStyle, int nIndex, LPARAM lParam,
                                                  bool bUpdate)
{
    TAB_ITEM_INFO* pPrev = NULL;
    TAB_ITEM_INFO* pNext = NULL;
    _ItemInsertPlace(nIndex, pPrev, pNext);
    return _ItemInsertFinish(nIndex, new TAB_ITEM_INFO(this, pPrev, pNext, sText, &icon, dwItemStyle, lParam),
                             bUpdate);
}

void CExtTabWnd::_ItemInsertPlace(int& nIndex, TAB_ITEM_INFO*& pPrev, TAB_ITEM_INFO*& pNext) const
{
    const int nCount = ItemGetCount();
    if (nIndex < 0 || nIndex > nCount)
        nIndex = nCount;
    pPrev = (nIndex > 0) ? m_arrItems[nIndex - 1] : NULL;
    pNext = (nIndex < nCount) ? m_arrItems[nIndex] : NULL;
}

CExtTabWnd::TAB_ITEM_INFO* CExtTabWnd::_ItemInsertFinish(int nIndex, TAB_ITEM_INFO* pTii, bool bUpdate)
{
    m_arrItems.InsertAt(nIndex, pTii);
    if (m_nSelIndex >= nIndex)
        m_nSelIndex++;
    if (pTii->VisibleGet())
        m_nVisibleItemCount++;
    OnTabWndItemInsert(nIndex, pTii);
    UpdateTabWnd(bUpdate);
    return pTii;
}

CExtTabWnd::TAB_ITEM_INFO* CExtTabWnd::ItemInsert(LPCTSTR sText, HICON hIcon, DWORD dwItemStyle,
                                                  int nIndex, LPARAM lParam, bool bUpdate)
{
    CExtCmdIcon icon;
    if (hIcon != NULL)
        icon.AssignFromHICON(hIcon, true);
    return ItemInsert(sText, icon, dwItemStyle, nIndex, lParam, bUpdate);
}

int CExtTabWnd::ItemRemove(int nIndex, int nCount, bool bUpdate)
{
    const int nItems = ItemGetCount();
    if (nCount <= 0 || nItems == 0 || nIndex < 0 || nIndex >= nItems)
    {
        UpdateTabWnd(bUpdate);
        return 0;
    }
    if (nIndex + nCount > nItems)
        nCount = nItems - nIndex;
    // The removed range is tested against the selection before it moves back: a
    // selection behind the range may move back onto indices inside it.
    for (int i = nIndex; i < nIndex + nCount; i++)
    {
        TAB_ITEM_INFO* pTii = m_arrItems[i];
        if (pTii->VisibleGet() && m_nVisibleItemCount > 0)
            m_nVisibleItemCount--;
        if (i == m_nSelIndex)
            m_nSelIndex = -1;
    }
    if (m_nSelIndex >= nIndex + nCount)
        m_nSelIndex -= nCount;
    if (m_nDelayedSelIndex >= nIndex)
        SelectionDelay(-1, 0);
    OnTabWndRemoveItem(nIndex, nCount, true);
    TAB_ITEM_INFO* pPrev = (nIndex > 0) ? m_arrItems[nIndex - 1] : NULL;
    TAB_ITEM_INFO* pNext = (nIndex + nCount < nItems) ? m_arrItems[nIndex + nCount] : NULL;
    for (int i = nIndex; i < nIndex + nCount; i++)
        delete m_arrItems[i];
    m_arrItems.RemoveAt(nIndex, nCount);
    if (pPrev != NULL)
        pPrev->m_pNext = pNext;
    if (pNext != NULL)
        pNext->m_pPrev = pPrev;
    // Indices past the gap no longer name the same items.
    m_nHoverTrackingIndex = -1;
    if (m_nPushedTrackingIndex >= nIndex)
        m_nPushedTrackingIndex = -1;
    OnTabWndRemoveItem(nIndex, nCount, false);
    UpdateTabWnd(bUpdate);
    return nCount;
}

void CExtTabWnd::ItemRemoveAll(bool bUpdate)
{
    if (ItemGetCount() > 0)
    {
        OnTabWndRemoveAllItems(true);
        for (int i = 0; i < ItemGetCount(); i++)
            delete m_arrItems[i];
        m_arrItems.RemoveAll();
        m_arrItems.FreeExtra();
        m_wTabWndState |= __ETWST_DELAY_RECALC;
        m_nVisibleItemCount = 0;
        m_nSelIndex = -1;
        m_nDelayedSelIndex = -1;
        m_nHoverTrackingIndex = -1;
        m_nPushedTrackingIndex = -1;
        OnTabWndRemoveAllItems(false);
    }
    if (bUpdate)
        UpdateTabWnd(true);
}

int CExtTabWnd::ItemFindByLParam(LPARAM lParam, int nIndexStartSearch, bool bIncludeVisible,
                                 bool bIncludeInvisible) const
{
    for (int i = (nIndexStartSearch < 0) ? 0 : nIndexStartSearch + 1; i < ItemGetCount(); i++)
    {
        const TAB_ITEM_INFO* pTii = m_arrItems[i];
        if (pTii->LParamGet() != lParam)
            continue;
        const bool bVisible = pTii->VisibleGet();
        bool bPass;
        if (bIncludeVisible)
            bPass = bVisible || bIncludeInvisible;
        else
            bPass = bIncludeInvisible ? !bVisible : true;
        if (bPass)
            return i;
    }
    return -1;
}

int CExtTabWnd::ItemFindByStyle(DWORD dwInclude, DWORD dwExclude, int nIndexStartSearch) const
{
    for (int i = (nIndexStartSearch < 0) ? 0 : nIndexStartSearch + 1; i < ItemGetCount(); i++)
    {
        const DWORD dw = m_arrItems[i]->GetItemStyle();
        if (dwInclude != 0 && (dw & dwInclude) == 0)
            continue;
        if (dwExclude != 0 && (dw & dwExclude) != 0)
            continue;
        return i;
    }
    return -1;
}

int CExtTabWnd::ItemGetGroupFirst(int nIndex) const
{
    TAB_ITEM_INFO* pTii = ItemGet(nIndex);
    return (pTii != NULL) ? ItemGetIndexOf(pTii->GetInGroupFirst()) : -1;
}

int CExtTabWnd::ItemGetGroupLast(int nIndex) const
{
    TAB_ITEM_INFO* pTii = ItemGet(nIndex);
    return (pTii != NULL) ? ItemGetIndexOf(pTii->GetInGroupLast()) : -1;
}

// ---- owner queries and notifications (base answers) ------------------------------------

LPCTSTR CExtTabWnd::OnTabWndQueryItemText(const TAB_ITEM_INFO*) const { return NULL; }

LPCTSTR CExtTabWnd::OnTabWndQueryItemTooltipText(const TAB_ITEM_INFO*) const { return NULL; }

CExtCmdIcon* CExtTabWnd::OnTabWndQueryItemIcon(const TAB_ITEM_INFO* pTii) const
{
    return (pTii != NULL) ? const_cast<CExtCmdIcon*>(&pTii->m_icon) : NULL;
}

void CExtTabWnd::OnTabWndItemInsert(int, TAB_ITEM_INFO*) {}

void CExtTabWnd::OnTabWndRemoveItem(int, int, bool) {}

void CExtTabWnd::OnTabWndRemoveAllItems(bool) {}

bool CExtTabWnd::OnTabWndItemPosChanging(int, int) { return true; }

void CExtTabWnd::OnTabWndItemPosChanged(int, int) {}

bool CExtTabWnd::OnTabWndCanDragItem(int nIndex)
{
    return ItemGet(nIndex) != NULL && (m_dwTabWndStyle & __ETWS_ITEM_DRAGGING) != 0 &&
           (m_dwTabWndStyle & __ETWS_GROUPED) == 0;
}

bool CExtTabWnd::OnTabWndSelectionChange(int, int nNewItem, bool)
{
    TAB_ITEM_INFO* pTii = ItemGet(nNewItem);
    return pTii == NULL || pTii->EnabledGet();
}

// ---- the paint-manager bridge ---------------------------------------------------------------

void CExtTabWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }

void CExtTabWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }

HWND CExtTabWnd::GetBridgeHwnd() { return m_hWnd; }

CExtPaintManager* CExtTabWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

void CExtTabWnd::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    // Icons keep images made for the old theme's disabled and hover looks.
    for (int i = 0; i < ItemGetCount(); i++)
        m_arrItems[i]->m_icon.DropGeneratedStateImages();
    CExtPmBridge::OnPaintManagerInstalled(pPM);
}

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

CExtTabWnd* TabOf(CObject* p) { return DYNAMIC_DOWNCAST(CExtTabWnd, p); }

// What the theme's tab painting reads of a tab window and its items.
struct TabPaintQueriesRegistration
{
    TabPaintQueriesRegistration()
    {
        CExtPmTabQueries::Queries& q = CExtPmTabQueries::g_tabs;
        q.pTabWndClass = RUNTIME_CLASS(CExtTabWnd);
        q.pfnItemCount = [](CObject* p) {
            CExtTabWnd* t = TabOf(p);
            return t != NULL ? t->ItemGetCount() : 0;
        };
        q.pfnSelection = [](CObject* p) {
            CExtTabWnd* t = TabOf(p);
            return t != NULL ? t->SelectionGet() : -1;
        };
        q.pfnTabWndStyle = [](CObject* p) {
            CExtTabWnd* t = TabOf(p);
            return t != NULL ? t->GetTabWndStyle() : (DWORD)0;
        };
        q.pfnItemStyle = [](CObject* p, int nIndex, DWORD& dwItemStyle) {
            CExtTabWnd* t = TabOf(p);
            CExtTabWnd::TAB_ITEM_INFO* pItem = (t != NULL) ? t->ItemGet(nIndex) : NULL;
            if (pItem == NULL)
                return false;
            dwItemStyle = pItem->GetItemStyle();
            return true;
        };
        q.pfnItemIndexOf = [](CObject* p) {
            // The tab window hands its own item records to the item-size query.
            CExtTabWnd::TAB_ITEM_INFO* pItem = static_cast<CExtTabWnd::TAB_ITEM_INFO*>(p);
            return pItem != NULL ? pItem->GetIndexOf() : -1;
        };
        q.pfnTabWndFlags = [](CObject* p) {
            CExtTabWnd* t = TabOf(p);
            return t != NULL ? t->m_nTabWndFlags : (BYTE)0;
        };
        q.pfnPaintsOwnBackground = [](CObject* p) {
            CExtTabWnd* t = TabOf(p);
            return t != NULL && t->PaintsOwnBackground();
        };
        q.pfnOrientation = [](CObject* p) {
            CExtTabWnd* t = TabOf(p);
            return t != NULL ? t->OrientationGet() : 0;
        };
    }
};

const TabPaintQueriesRegistration g_TabPaintQueriesRegistration;

}  // namespace
