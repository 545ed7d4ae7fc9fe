// The tab page container: its window class and creation, pages, layout, keyboard
// switching, the hooks on the selected page's windows, painting, and the strip it owns
// (selection, clicks, moves, visibility and context menu). The OneNote container's
// page background lives at the end.
#include "toolkit/dialogs/tab_page_container.h"

#include "framework/mdi.h"
#include "framework/miniframe.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/dialogs/tab_neighbours.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_bar_parts.h"

IMPLEMENT_DYNCREATE(CExtTabPageContainerWnd, CWnd)
IMPLEMENT_DYNCREATE(CExtTabPageContainerOneNoteWnd, CExtTabPageContainerWnd)

LPCTSTR CExtTabPageContainerWnd::g_sWindowClassName = _T("Kestrix-TabPageContainer");

BEGIN_MESSAGE_MAP(CExtTabPageContainerWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CLOSE()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

// ---- the strip a container owns ---------------------------------------------------------

template <class TBase>
LRESULT CExtTWPC<TBase>::OnContainerStripContextMenu(WPARAM wParam, LPARAM lParam)
{
    CWnd* pSite = GetCmdSiteWnd();
    if (pSite == NULL || pSite->GetSafeHwnd() == NULL)
        return TBase::WindowProc(WM_CONTEXTMENU, wParam, lParam);
    CExtCustomizeSite* pCustomize = CExtCustomizeSite::GetCustomizeSite(pSite->m_hWnd);
    if (pCustomize != NULL && pCustomize->IsCustomizeMode())
        return 0;
    if (CExtTabBarServices::IsFrameInHelpMode(this->GetParentFrame()))
        return 0;
    const CPoint ptScreen((short)LOWORD(lParam), (short)HIWORD(lParam));
    CPoint ptClient(ptScreen);
    this->ScreenToClient(&ptClient);
    const int nHit = this->ItemHitTest(ptClient);
    if (nHit >= 0)
        this->SelectionSet(nHit, true, true);
    const HWND hWndStrip = this->m_hWnd;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pSite->m_hWnd) ||
        !CExtTabBarServices::NotifyPopupMenuEvent(CExtTabPageContainerWnd::__ETPC_CONTEXT_MENU_EVENT, pPopup, this,
                                                  ptScreen, WM_CONTEXTMENU, false))
    {
        delete pPopup;
        return 0;
    }
    CExtTabBarServices::NotifyPopupMenuEvent(CExtTabPageContainerWnd::__ETPC_CONTEXT_MENU_EVENT, pPopup, this,
                                             ptScreen, WM_CONTEXTMENU, true);
    if (pPopup->ItemGetCount() == 0)
    {
        delete pPopup;
        return 0;
    }
    pSite->SetFocus();
    if (!pPopup->TrackPopupMenu(0x880, ptScreen.x, ptScreen.y))
        delete pPopup;
    if (::IsWindow(hWndStrip))
    {
        ::InvalidateRect(hWndStrip, NULL, TRUE);
        ::UpdateWindow(hWndStrip);
    }
    return 0;
}

template class CExtTWPC<CExtTabWnd>;
template class CExtTWPC<CExtTabOneNoteWnd>;
template class CExtTWPC<CExtTabButtonsWnd>;
template class CExtTWPC<CExtTabFlatWnd>;

// ---- CExtTabPageContainerWnd: class and creation ------------------------------------------

CExtTabPageContainerWnd::CExtTabPageContainerWnd() : CExtHookSink(true), m_pWndTab(NULL), m_nContainerFlags(0)
{
    RegisterTabPageContainerClass();
    RegisterWithHolder();
}

CExtTabPageContainerWnd::~CExtTabPageContainerWnd()
{
    UnregisterFromHolder();
    RemoveAllWndHooks();
}

bool CExtTabPageContainerWnd::RegisterTabPageContainerClass()
{
    HINSTANCE hInst = ::AfxGetInstanceHandle();
    WNDCLASS wc;
    if (::GetClassInfo(hInst, g_sWindowClassName, &wc))
        return true;
    if (CExtTabWnd::g_hCursor == NULL)
        CExtTabWnd::g_hCursor = ::LoadCursor(NULL, IDC_ARROW);
    ::memset(&wc, 0, sizeof(wc));
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = hInst;
    wc.hCursor = CExtTabWnd::g_hCursor;
    wc.lpszClassName = g_sWindowClassName;
    return ::AfxRegisterClass(&wc) != FALSE;
}

void CExtTabPageContainerWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtTabPageContainerWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtTabPageContainerWnd::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtTabPageContainerWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

CExtTabWnd* CExtTabPageContainerWnd::CreateTabStrip()
{
    CExtTWPC<CExtTabWnd>* pStrip = new CExtTWPC<CExtTabWnd>;
    pStrip->m_bDeleteWithWindow = true;
    return pStrip;
}

bool CExtTabPageContainerWnd::_CreateTabStripWindow(DWORD dwTabWndStyle)
{
    if (m_pWndTab == NULL)
        m_pWndTab = CreateTabStrip();
    if (m_pWndTab == NULL)
        return false;
    if (m_pWndTab->GetSafeHwnd() != NULL)
        return true;
    return m_pWndTab->Create(this, CRect(0, 0, 0, 0), __ETPC_STRIP_ID, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                             dwTabWndStyle) != FALSE;
}

BOOL CExtTabPageContainerWnd::Create(CWnd* pParentWnd, const RECT& rcWnd, UINT nDlgCtrlID, DWORD dwWindowStyle,
                                     CCreateContext* pContext)
{
    if (!RegisterTabPageContainerClass())
        return FALSE;
    m_nContainerFlags |= __ETPC_CREATED;
    if (!CWnd::Create(g_sWindowClassName, NULL, dwWindowStyle, rcWnd, pParentWnd, nDlgCtrlID, pContext))
        return FALSE;
    if (!_CreateTabStripWindow(__ETPC_CREATE_TAB_STYLE))
        return FALSE;
    RecalcLayout();
    return TRUE;
}

void CExtTabPageContainerWnd::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    if ((m_nContainerFlags & __ETPC_CREATED) == 0)
        _CreateTabStripWindow(CExtTabWnd::__ETWS_ORIENT_BOTTOM);
}

int CExtTabPageContainerWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    // The strip made here, before the default creation, is the one a container normally
    // gets: tabs below the pages.
    if (!_CreateTabStripWindow(CExtTabWnd::__ETWS_ORIENT_BOTTOM))
        return -1;
    return CWnd::OnCreate(lpCreateStruct);
}

void CExtTabPageContainerWnd::OnDestroy()
{
    // The strip window goes with ours and deletes its own object.
    m_pWndTab = NULL;
    RemoveAllWndHooks();
    CWnd::OnDestroy();
}

// ---- pages -----------------------------------------------------------------------------------

CExtTabWnd* CExtTabPageContainerWnd::GetSafeTabWindow() const
{
    return (m_pWndTab != NULL && m_pWndTab->GetSafeHwnd() != NULL) ? m_pWndTab : NULL;
}

int CExtTabPageContainerWnd::PageGetCount() const
{
    return (GetSafeTabWindow() != NULL) ? GetSafeTabWindow()->ItemGetCount() : 0;
}

int CExtTabPageContainerWnd::PageSelectionGet() const
{
    return (GetSafeTabWindow() != NULL) ? GetSafeTabWindow()->SelectionGet() : -1;
}

int CExtTabPageContainerWnd::PageSelectionSet(int nIndex)
{
    CExtTabWnd* pTab = GetSafeTabWindow();
    return (pTab != NULL) ? pTab->SelectionSet(nIndex, true, true) : -1;
}

HWND CExtTabPageContainerWnd::PageHwndGet(int nIndex) const
{
    CExtTabWnd* pTab = GetSafeTabWindow();
    CExtTabWnd::TAB_ITEM_INFO* pTii = (pTab != NULL) ? pTab->ItemGet(nIndex) : NULL;
    return (pTii != NULL) ? (HWND)pTii->LParamGet() : NULL;
}

HWND CExtTabPageContainerWnd::PageHwndGetSafe(int nIndex) const
{
    HWND hWnd = PageHwndGet(nIndex);
    return (hWnd != NULL && ::IsWindow(hWnd)) ? hWnd : NULL;
}

int CExtTabPageContainerWnd::OrientationGet() const
{
    return (GetSafeTabWindow() != NULL) ? GetSafeTabWindow()->OrientationGet() : CExtTabWnd::__ETWS_ORIENT_BOTTOM;
}

bool CExtTabPageContainerWnd::TabWndStyleBit0x10Get() const
{
    return GetSafeTabWindow() != NULL && (GetSafeTabWindow()->GetTabWndStyle() & 0x10) != 0;
}

void CExtTabPageContainerWnd::TabWndStyleBit0x200Set(bool bSet)
{
    CExtTabWnd* pTab = GetSafeTabWindow();
    if (pTab == NULL)
        return;
    pTab->ModifyTabWndStyle(bSet ? 0 : 0x200, bSet ? 0x200 : 0, true);
    RecalcLayout();
}

bool CExtTabPageContainerWnd::PageInsert(CWnd* pWndPage, HICON hIcon, LPCTSTR sText, int nIndex, bool bSelect)
{
    return PageInsert(pWndPage != NULL ? pWndPage->GetSafeHwnd() : NULL, hIcon, sText, nIndex, bSelect);
}

bool CExtTabPageContainerWnd::PageInsert(HWND hWndPage, HICON hIcon, LPCTSTR sText, int nIndex, bool bSelect)
{
    if (!_PageInsertPrepare(hWndPage, nIndex, bSelect))
        return false;
    GetSafeTabWindow()->ItemInsert(sText, hIcon, 0, nIndex, (LPARAM)hWndPage, false);
    _PageInsertFinish(nIndex, bSelect);
    return true;
}

bool CExtTabPageContainerWnd::_PageInsertPrepare(HWND hWndPage, int& nIndex, bool& bSelect)
{
    CExtTabWnd* pTab = GetSafeTabWindow();
    if (hWndPage == NULL || !::IsWindow(hWndPage) || GetSafeHwnd() == NULL || pTab == NULL)
        return false;
    const int nCount = pTab->ItemGetCount();
    if (nCount == 0)
        bSelect = true;
    if (nIndex < 0 || nIndex > nCount)
        nIndex = nCount;
    if (::GetParent(hWndPage) != m_hWnd)
        ::SetParent(hWndPage, m_hWnd);
    if (bSelect)
    {
        HWND hWndOld = PageHwndGetSafe(pTab->SelectionGet());
        if (hWndOld != NULL)
            ::ShowWindow(hWndOld, SW_HIDE);
        if (!::IsWindowVisible(hWndPage))
            ::ShowWindow(hWndPage, SW_SHOW);
    }
    else if ((::GetWindowLong(hWndPage, GWL_STYLE) & WS_VISIBLE) != 0)
        ::ShowWindow(hWndPage, SW_HIDE);
    return true;
}

void CExtTabPageContainerWnd::_PageInsertFinish(int nIndex, bool bSelect)
{
    CExtTabWnd* pTab = GetSafeTabWindow();
    for (int i = nIndex; i < pTab->ItemGetCount(); i++)
    {
        HWND hWnd = PageHwndGetSafe(i);
        if (hWnd != NULL)
            ::SetWindowLong(hWnd, GWL_ID, __ETPC_FIRST_PAGE_ID + i);
    }
    if (bSelect)
        pTab->SelectionSet(nIndex, true, true);
    else
        pTab->UpdateTabWnd(true);
    RecalcLayout();
}

int CExtTabPageContainerWnd::PageRemove(int nIndex, int nCount, bool bDestroyPageWnd)
{
    CExtTabWnd* pTab = GetSafeTabWindow();
    if (pTab == NULL || nIndex < 0 || nIndex >= pTab->ItemGetCount() || nCount <= 0)
        return 0;
    // Every page of the range goes, not only the first: a page left behind would stay
    // a child of the container with a stale id and cover the page that takes its id.
    const int nEnd = (nIndex + nCount < pTab->ItemGetCount()) ? nIndex + nCount : pTab->ItemGetCount();
    for (int i = nIndex; i < nEnd; i++)
    {
        HWND hWnd = PageHwndGetSafe(i);
        if (hWnd == NULL)
            continue;
        ::ShowWindow(hWnd, SW_HIDE);
        if (bDestroyPageWnd)
        {
            CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
            if (pWnd != NULL)
                pWnd->DestroyWindow();
            else
                ::DestroyWindow(hWnd);
        }
    }
    const int nRemoved = pTab->ItemRemove(nIndex, nCount, true);
    if (pTab->ItemGetCount() > 0)
    {
        RenumberPages();
        pTab->SelectionSet((nIndex > 0) ? nIndex - 1 : 0, true, true);
    }
    RemoveAllWndHooks();
    RecalcLayout();
    return nRemoved;
}

void CExtTabPageContainerWnd::RenumberPages()
{
    for (int i = 0; i < PageGetCount(); i++)
    {
        HWND hWnd = PageHwndGetSafe(i);
        if (hWnd != NULL)
            ::SetWindowLong(hWnd, GWL_ID, __ETPC_FIRST_PAGE_ID + i);
    }
}

bool CExtTabPageContainerWnd::PageSelectNext(bool bNext)
{
    CExtTabWnd* pTab = GetSafeTabWindow();
    if (pTab == NULL || pTab->ItemGetCount() < 2)
        return false;
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus == NULL || (hWndFocus != m_hWnd && !::IsChild(m_hWnd, hWndFocus)))
        return false;
    const int nCount = pTab->ItemGetCount();
    const int nStart = (pTab->SelectionGet() >= 0) ? pTab->SelectionGet() : 0;
    int i = nStart;
    for (;;)
    {
        i = bNext ? (i + 1) % nCount : (i + nCount - 1) % nCount;
        if (i == nStart)
            break;
        CExtTabWnd::TAB_ITEM_INFO* pTii = pTab->ItemGet(i);
        if (pTii->VisibleGet() && pTii->EnabledGet())
            break;
    }
    pTab->SelectionSet(i, true, true);
    return true;
}

// ---- layout --------------------------------------------------------------------------------

void CExtTabPageContainerWnd::RecalcLayout()
{
    if (GetSafeHwnd() == NULL)
        return;
    CExtTabWnd* pTab = GetSafeTabWindow();
    const int nSel = (pTab != NULL) ? pTab->SelectionGet() : -1;
    RepositionBars(0, 0xFFFF, __ETPC_FIRST_PAGE_ID + ((nSel >= 0) ? nSel : 0), reposDefault, NULL, NULL, TRUE);
    HWND hWndSel = PageHwndGetSafe(nSel);
    if (hWndSel != NULL && !::IsWindowVisible(hWndSel))
        ::ShowWindow(hWndSel, SW_SHOW);
}

void CExtTabPageContainerWnd::SyncPageRects()
{
    CExtTabWnd* pTab = GetSafeTabWindow();
    if (pTab == NULL || pTab->ItemGetCount() == 0 || pTab->SelectionGet() < 0)
        return;
    RecalcLayout();
    HWND hWndSel = PageHwndGetSafe(pTab->SelectionGet());
    if (hWndSel == NULL)
        return;
    CRect rcSel;
    ::GetWindowRect(hWndSel, &rcSel);
    ScreenToClient(&rcSel);
    for (int i = 0; i < pTab->ItemGetCount(); i++)
    {
        if (i == pTab->SelectionGet())
            continue;
        HWND hWnd = ::GetDlgItem(m_hWnd, __ETPC_FIRST_PAGE_ID + i);
        if (hWnd == NULL)
            continue;
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        ScreenToClient(&rc);
        if (rc != rcSel)
            ::MoveWindow(hWnd, rcSel.left, rcSel.top, rcSel.Width(), rcSel.Height(), TRUE);
    }
}

void CExtTabPageContainerWnd::OnSize(UINT nType, int cx, int cy)
{
    RecalcLayout();
    CWnd::OnSize(nType, cx, cy);
}

void CExtTabPageContainerWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    RecalcLayout();
    CWnd::OnWindowPosChanged(lpwndpos);
}

// ---- notifications from the strip -------------------------------------------------------------

void CExtTabPageContainerWnd::OnStripSelectionChanged(int nOld, int nNew)
{
    RepositionBars(0, 0xFFFF, __ETPC_FIRST_PAGE_ID + nNew, reposDefault, NULL, NULL, TRUE);
    HWND hWndNew = PageHwndGetSafe(nNew);
    HWND hWndOld = (nOld != nNew) ? PageHwndGetSafe(nOld) : NULL;
    if (hWndNew != NULL)
        ::ShowWindow(hWndNew, SW_SHOW);
    if (hWndOld != NULL)
        ::ShowWindow(hWndOld, SW_HIDE);
    if (::GetFocus() != NULL && hWndNew != NULL)
        ::SetFocus(hWndNew);
}

bool CExtTabPageContainerWnd::OnTabWndSelectionChange(int, int nNew, bool bPreSelectionTest)
{
    if (bPreSelectionTest)
        return true;
    SyncPageRects();
    RemoveAllWndHooks();
    HWND hWndPage = PageHwndGetSafe(nNew);
    if (hWndPage != NULL)
        HookPageChildren(hWndPage, NULL, 0, true);
    return true;
}

void CExtTabPageContainerWnd::OnTabWndItemPosChanged(int, int) { RenumberPages(); }

bool CExtTabPageContainerWnd::OnTabWndClickedButton(int nHitTest, bool bButtonPressed, int nMouseButton,
                                                    UINT nMouseEventFlags)
{
    // A frame's document-mode container passes the click on to its bar site.
    const DWORD dwStyle = GetStyle();
    if ((dwStyle & (WS_CHILD | WS_VISIBLE)) != (WS_CHILD | WS_VISIBLE) || GetDlgCtrlID() != 0xE900)
        return true;
    CWnd* pParent = GetParent();
    if (pParent == NULL || !pParent->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ||
        pParent->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) || pParent->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        return true;
    bool bAnswer = true;
    if (CExtTabBarServices::DocumentContainerClickedButton(pParent, this, nHitTest, bButtonPressed, nMouseButton,
                                                           nMouseEventFlags, &bAnswer))
        return bAnswer;
    return true;
}

// ---- keyboard and hooks -------------------------------------------------------------------------

bool CExtTabPageContainerWnd::IsSelectNextKey(const MSG& msg)
{
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_NEXT || msg.wParam == VK_PRIOR) &&
           (::GetKeyState(VK_CONTROL) & 0x8000) != 0 && (::GetKeyState(VK_SHIFT) & 0x8000) == 0 &&
           (::GetKeyState(VK_MENU) & 0x8000) == 0;
}

BOOL CExtTabPageContainerWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg != NULL && IsSelectNextKey(*pMsg))
    {
        PageSelectNext(pMsg->wParam == VK_NEXT);
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

bool CExtTabPageContainerWnd::OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam,
                                           LPARAM& lParam)
{
    MSG msg = {hWndHooked, nMessage, wParam, lParam, 0, {0, 0}};
    if (IsSelectNextKey(msg))
    {
        PageSelectNext(wParam == VK_NEXT);
        lResult = 0;
        return true;
    }
    AFX_MANAGE_STATE(::AfxGetStaticModuleState());
    return CExtHookSink::OnHookWndMsg(lResult, hWndHooked, nMessage, wParam, lParam);
}

int CExtTabPageContainerWnd::HookPageChildren(HWND hWndParent, const UINT* pIds, UINT nCount, bool bDeep)
{
    if (hWndParent == NULL || !::IsWindow(hWndParent))
        return 0;
    return _HookDescendants(hWndParent, pIds, nCount, bDeep);
}

int CExtTabPageContainerWnd::_HookDescendants(HWND hWndParent, const UINT* pIds, UINT nCount, bool bDeep)
{
    int nHooked = 0;
    for (HWND hWnd = ::GetWindow(hWndParent, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        // A nested container switches its own pages.
        if (DYNAMIC_DOWNCAST(CExtTabPageContainerWnd, CWnd::FromHandlePermanent(hWnd)) != NULL)
            continue;
        bool bWanted = (pIds == NULL || nCount == 0);
        for (UINT i = 0; !bWanted && i < nCount; i++)
            bWanted = UINT(::GetDlgCtrlID(hWnd)) == pIds[i];
        if (bWanted && SetupHookWndSink(hWnd))
            nHooked++;
        if (bDeep)
            nHooked += _HookDescendants(hWnd, pIds, nCount, true);
    }
    return nHooked;
}

// ---- painting and other messages ------------------------------------------------------------

void CExtTabPageContainerWnd::OnPaint()
{
    CPaintDC dcPaint(this);
    CExtPaintManager::ClipOutChildren(&dcPaint, m_hWnd);
    CRect rcClient;
    GetClientRect(&rcClient);
    CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    CExtPaintManager* pPM = GetPaintManager();
    if (!pPM->UsesParentBackground(this, 0) || !pPM->DrawWindowBackground(true, dc, this, 0))
        dc.FillSolidRect(&rcClient, pPM->LookupColor(1000, this));
}

BOOL CExtTabPageContainerWnd::OnEraseBkgnd(CDC*) { return FALSE; }

void CExtTabPageContainerWnd::OnClose()
{
    if ((GetStyle() & WS_CHILD) != 0)
        return;
    CWnd::OnClose();
}

void CExtTabPageContainerWnd::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    HWND hWndSel = PageHwndGetSafe(PageSelectionGet());
    if (hWndSel != NULL)
        ::SetFocus(hWndSel);
}

// ---- the OneNote container --------------------------------------------------------------------

CExtTabPageContainerOneNoteWnd::CExtTabPageContainerOneNoteWnd() : m_nOneNoteFlags(0) {}

CExtTabPageContainerOneNoteWnd::~CExtTabPageContainerOneNoteWnd() {}

CExtTabWnd* CExtTabPageContainerOneNoteWnd::CreateTabStrip()
{
    CExtTWPC<CExtTabOneNoteWnd>* pStrip = new CExtTWPC<CExtTabOneNoteWnd>;
    pStrip->m_bDeleteWithWindow = true;
    return pStrip;
}

CExtTabOneNoteWnd* CExtTabPageContainerOneNoteWnd::GetOneNoteStrip() const
{
    return DYNAMIC_DOWNCAST(CExtTabOneNoteWnd, GetSafeTabWindow());
}

bool CExtTabPageContainerOneNoteWnd::PageInsert(HWND hWndPage, HICON hIcon, LPCTSTR sText, int nIndex,
                                                bool bSelect, COLORREF clrLight, COLORREF clrDark)
{
    CExtTabOneNoteWnd* pTab = GetOneNoteStrip();
    if (pTab == NULL || !_PageInsertPrepare(hWndPage, nIndex, bSelect))
        return false;
    CExtCmdIcon icon;
    if (hIcon != NULL)
        icon.AssignFromHICON(hIcon, true);
    pTab->ItemInsert(sText, &icon, 0, nIndex, (LPARAM)hWndPage, clrLight, clrDark, false);
    _PageInsertFinish(nIndex, bSelect);
    return true;
}

LRESULT CExtTabPageContainerOneNoteWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CExtPaintManager::g_nMsgPaintInheritedBackground && message != 0 &&
        (m_nOneNoteFlags & __ETPC_ONENOTE_PAINT_PAGES) != 0)
        return OnPaintInheritedBackground(wParam, lParam);
    return CExtTabPageContainerWnd::WindowProc(message, wParam, lParam);
}

LRESULT CExtTabPageContainerOneNoteWnd::OnPaintInheritedBackground(WPARAM wParam, LPARAM)
{
    CExtPaintManager::PAINTPARENTBACKGROUNDDATA* pData =
        reinterpret_cast<CExtPaintManager::PAINTPARENTBACKGROUNDDATA*>(wParam);
    CExtTabOneNoteWnd* pTab = GetOneNoteStrip();
    if (pData == NULL || pData->m_pDC == NULL || pData->m_pWndTarget == NULL ||
        pData->m_pWndTarget->GetSafeHwnd() == NULL || pTab == NULL || pTab->ItemGetCount() == 0)
        return 0;
    const int nSel = pTab->SelectionGet();
    if (nSel < 0 || pData->m_pWndTarget->m_hWnd == m_hWnd || pData->m_pWndTarget->m_hWnd == pTab->m_hWnd)
        return 0;
    pData->m_bPainted = true;
    pData->m_hWndPainting = m_hWnd;
    COLORREF clrLight = 0, clrDark = 0;
    pTab->ItemGetColors(nSel, &clrLight, &clrDark);
    const RECT rcTarget = pData->GetTargetRect();
    if ((m_nOneNoteFlags & __ETPC_ONENOTE_GRADIENT) == 0)
    {
        pData->m_pDC->FillSolidRect(&rcTarget, clrLight);
        return 0;
    }
    const int nOrientation = pTab->OrientationGet();
    CRect rcPages;
    GetClientRect(&rcPages);
    if (nOrientation == 0 || nOrientation == 2)
        RepositionBars(0, 0xFFFF, __ETPC_FIRST_PAGE_ID + nSel, reposQuery, &rcPages, NULL, TRUE);
    ClientToScreen(&rcPages);
    CWnd* pTarget = pData->m_pWndTarget;
    if (pData->m_bClientOnly)
        pTarget->ScreenToClient(&rcPages);
    else
    {
        CRect rcWnd;
        pTarget->GetWindowRect(&rcWnd);
        rcPages.OffsetRect(-rcWnd.left, -rcWnd.top);
    }
    if (nOrientation == 0 || nOrientation == 3)
    {
        const COLORREF clr = clrLight;
        clrLight = clrDark;
        clrDark = clr;
    }
    CExtPaintManager::GradientFillRect(*pData->m_pDC, rcPages, clrLight, clrDark, nOrientation <= 1, 256);
    return 0;
}
