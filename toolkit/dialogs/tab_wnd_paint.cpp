// The tab window's painting through the paint manager, its hit testing and the tooltip
// texts of its buttons.
#include "toolkit/dialogs/tab_wnd.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/theme/pm_tabs.h"
#include "toolkit/core/resource_manager.h"

namespace {

struct ButtonInfo
{
    int nButton;
    int nHitTest;
    UINT nStringId;
    LPCTSTR sFallback;
    DWORD dwEnableStyle;
    WORD wPressedState;
};

// In painting order.
const ButtonInfo g_buttons[CExtTabWnd::__BTN_COUNT] = {
    {CExtTabWnd::__BTN_UP, -4, 30052, _T("Previous"), 0x00000400, 0x0040},
    {CExtTabWnd::__BTN_DOWN, -5, 30053, _T("Next"), 0x00000800, 0x0080},
    {CExtTabWnd::__BTN_HELP, -6, 30054, _T("Help"), 0x00000100, 0x0400},
    {CExtTabWnd::__BTN_CLOSE, -7, 30055, _T(""), 0x00000200, 0x0800},
    {CExtTabWnd::__BTN_TAB_LIST, -8, 30342, _T(""), 0x00100000, 0x1000},
    {CExtTabWnd::__BTN_HOME, -9, 30385, _T("Home"), 0x01000000, 0x0100},
    {CExtTabWnd::__BTN_END, -10, 30386, _T("End"), 0x02000000, 0x0200},
};

const ButtonInfo* FindButton(int nHitTest)
{
    for (int i = 0; i < CExtTabWnd::__BTN_COUNT; i++)
        if (g_buttons[i].nHitTest == nHitTest)
            return &g_buttons[i];
    return NULL;
}

}  // namespace

bool CExtTabWnd::IsButtonEnabled(int nHitTest) const
{
    const ButtonInfo* p = FindButton(nHitTest);
    if (p == NULL || (m_dwTabWndStyle & p->dwEnableStyle) == 0)
        return false;
    return nHitTest != __ETWH_BUTTON_TAB_LIST || ItemGetCount() > 0;
}

CString CExtTabWnd::GetButtonTooltipText(int nHitTest)
{
    const ButtonInfo* p = FindButton(nHitTest);
    if (p == NULL)
        return CString();
    CString s;
    if (!g_CurrentResourceManager->LoadString(s, p->nStringId) || s.IsEmpty())
        s = p->sFallback;
    return s;
}

// ---- hit testing -----------------------------------------------------------------------------

int CExtTabWnd::ItemHitTest(const POINT& ptClient) const
{
    if (GetSafeHwnd() == NULL)
        return __ETWH_NOWHERE;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty() || !rcClient.PtInRect(ptClient))
        return __ETWH_NOWHERE;
    if (!m_rcTabNearBorderArea.IsRectEmpty() && m_rcTabNearBorderArea.PtInRect(ptClient))
        return __ETWH_BORDER_AREA;
    static const int s_order[] = {__BTN_UP, __BTN_DOWN, __BTN_HOME, __BTN_END,
                                  __BTN_HELP, __BTN_CLOSE, __BTN_TAB_LIST};
    static const int s_codes[] = {-4, -5, -9, -10, -6, -7, -8};
    for (int i = 0; i < __BTN_COUNT; i++)
    {
        const CRect& rc = m_rcButtons[s_order[i]];
        if (!rc.IsRectEmpty() && rc.PtInRect(ptClient))
            return s_codes[i];
    }
    if (!m_rcTabItemsArea.PtInRect(ptClient))
        return __ETWH_NOWHERE;
    if (m_nVisibleItemCount <= 0 || m_nIndexVisFirst < 0 || m_nIndexVisLast < 0)
        return __ETWH_ITEMS_AREA;
    CPoint pt(ptClient);
    if (OrientationIsHorizontal())
        pt.x += m_nScrollPos - m_rcTabItemsArea.left;
    else
        pt.y += m_nScrollPos - m_rcTabItemsArea.top;
    for (int i = m_nIndexVisFirst; i <= m_nIndexVisLast && i < ItemGetCount(); i++)
        if (m_arrItems[i]->HitTest(pt))
            return i;
    return __ETWH_ITEMS_AREA;
}

// ---- painting ---------------------------------------------------------------------------------

void CExtTabWnd::OnPaint()
{
    CExtPaintManager* pPM = GetPaintManager();
    CRuntimeClass* pRTC = pPM->GetRuntimeClass();
    if (m_pHelperLastPaintManagerRTC != pRTC)
    {
        // Another theme measures differently.
        m_wTabWndState |= __ETWST_DELAY_RECALC;
        m_pHelperLastPaintManagerRTC = pRTC;
    }
    RecalcLayout();
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.IsRectEmpty())
    {
        CExtMemoryDC dc(&dcPaint, &rcClient,
                        CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
        OnTabWndDrawEntire(dc, rcClient);
    }
    pPM->NotifyPaintDone(this, 0);
}

BOOL CExtTabWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CExtTabWnd::OnTabWndDrawEntire(CDC& dc, const RECT& rcClient)
{
    _DrawBackground(dc, rcClient);
    if (_HasItemsInView())
    {
        const CRect rcClip = _GetItemsClipRect();
        CRgn rgnClip;
        rgnClip.CreateRectRgnIndirect(&rcClip);
        dc.SelectClipRgn(&rgnClip);
        for (int i = m_nIndexVisFirst; i <= m_nIndexVisLast && i < ItemGetCount(); i++)
            _DrawItemInView(dc, i);
        dc.SelectClipRgn(NULL);
    }
    _DrawButtons(dc);
}

void CExtTabWnd::_DrawBackground(CDC& dc, const RECT& rcClient)
{
    OnTabWndEraseClientArea(dc, rcClient, m_rcTabItemsArea, m_rcTabNearBorderArea, OrientationGet(),
                            (m_dwTabWndStyle & __ETWS_GROUPED) != 0);
}

bool CExtTabWnd::_HasItemsInView() const
{
    return ItemGetCount() > 0 && m_nVisibleItemCount > 0 && m_nIndexVisFirst >= 0 &&
           m_nIndexVisLast >= m_nIndexVisFirst;
}

CRect CExtTabWnd::_GetItemsClipRect() const
{
    const bool bGrouped = (m_dwTabWndStyle & __ETWS_GROUPED) != 0;
    CRect rcClip = m_rcTabItemsArea;
    if (OrientationIsHorizontal())
        rcClip.InflateRect(1, bGrouped ? 1 : 0);
    else
        rcClip.InflateRect(bGrouped ? 1 : 0, 1);
    // Selected items reach one pixel towards the content.
    switch (OrientationGet())
    {
    case 0:
        rcClip.bottom++;
        break;
    case 1:
        rcClip.top--;
        break;
    case 2:
        rcClip.right++;
        break;
    default:
        rcClip.left--;
        break;
    }
    return rcClip;
}

CRect CExtTabWnd::_GetItemRectInView(int nIndex) const
{
    TAB_ITEM_INFO* pTii = ItemGet(nIndex);
    if (pTii == NULL)
        return CRect(0, 0, 0, 0);
    CRect rcItem = pTii->m_rcItem;
    const bool bHorz = OrientationIsHorizontal();
    const int nShift = (bHorz ? m_rcTabItemsArea.left : m_rcTabItemsArea.top) - m_nScrollPos;
    if (bHorz)
        rcItem.OffsetRect(nShift, 0);
    else
        rcItem.OffsetRect(0, nShift);
    return rcItem;
}

void CExtTabWnd::_DrawItemInView(CDC& dc, int nIndex)
{
    TAB_ITEM_INFO* pTii = ItemGet(nIndex);
    if (pTii == NULL || !pTii->VisibleGet())
        return;
    const CRect rcItem = _GetItemRectInView(nIndex);
    if (!dc.RectVisible(&rcItem))
        return;
    const bool bSelected = pTii->SelectedGet();
    const CString sText = pTii->GetText();
    OnTabWndDrawItem(dc, m_rcTabItemsArea, nIndex, pTii, OrientationIsTopLeft(), OrientationIsHorizontal(),
                     bSelected, (m_dwTabWndStyle & __ETWS_CENTERED_TEXT) != 0,
                     (m_dwTabWndStyle & __ETWS_GROUPED) != 0, pTii->InGroupActiveGet(),
                     (m_dwTabWndStyle & __ETWS_INVERT_VERT_FONT) != 0, rcItem, pTii->m_sizeText,
                     &OnQueryFont(bSelected), sText, pTii->GetIconPtr());
}

void CExtTabWnd::_DrawButtons(CDC& dc)
{
    const bool bHorz = OrientationIsHorizontal();
    const bool bTopLeft = OrientationIsTopLeft();
    const bool bGrouped = (m_dwTabWndStyle & __ETWS_GROUPED) != 0;
    CPoint ptCursor(-1, -1);
    if (GetSafeHwnd() != NULL)
    {
        ::GetCursorPos(&ptCursor);
        ScreenToClient(&ptCursor);
    }
    for (int i = 0; i < __BTN_COUNT; i++)
    {
        const ButtonInfo& bi = g_buttons[i];
        const CRect& rc = m_rcButtons[bi.nButton];
        if (rc.IsRectEmpty() || !dc.RectVisible(&rc))
            continue;
        const bool bEnabled = IsButtonEnabled(bi.nHitTest);
        const bool bHover = bEnabled && rc.PtInRect(ptCursor);
        const bool bPushed = (m_wTabWndState & bi.wPressedState) != 0;
        OnTabWndDrawButton(dc, rc, bi.nHitTest, bTopLeft, bHorz, bEnabled, bHover, bPushed, bGrouped);
    }
}

void CExtTabWnd::OnTabWndEraseClientArea(CDC& dc, const RECT& rcClient, const RECT& rcTabItemsArea,
                                         const RECT& rcTabNearBorderArea, int nOrientation,
                                         bool bGroupedMode)
{
    GetPaintManager()->DrawTabPart(dc, rcClient, rcTabItemsArea, rcTabNearBorderArea,
                                   (DWORD)nOrientation, bGroupedMode, this, 0);
}

void CExtTabWnd::OnTabWndDrawItem(CDC& dc, const RECT& rcTabItemsArea, int nItemIndex,
                                  TAB_ITEM_INFO* pTii, bool bTopLeft, bool bHorz, bool bSelected,
                                  bool bCenteredText, bool bGroupedMode, bool bInGroupActive,
                                  bool bInvertedVerticalMode, const RECT& rcEntireItem,
                                  CSize sizeTextMeasured, CFont* pFont, LPCTSTR sText,
                                  CExtCmdIcon* pIcon)
{
    if (pTii != NULL && (pTii->GetItemStyle() & TAB_ITEM_INFO::__ETWI_CENTERED_TEXT) != 0)
        bInGroupActive = true;
    CExtPaintManager::PAINTTABITEMDATA _ptid(this, (LPARAM)nItemIndex);
    _ptid.m_rcItemsArea = rcTabItemsArea;
    _ptid.m_rcItem = rcEntireItem;
    _ptid.m_sizeTextMeasured = sizeTextMeasured;
    _ptid.m_pFont = pFont;
    _ptid.m_sText = sText;
    _ptid.m_pIcon = pIcon;
    _ptid.m_bTopLeft = bTopLeft;
    _ptid.m_bHorz = bHorz;
    _ptid.m_bSelected = bSelected;
    _ptid.m_bCenteredText = bCenteredText;
    _ptid.m_bGroupedMode = bGroupedMode;
    _ptid.m_bInGroupActive = bInGroupActive;
    _ptid.m_bInvertedVerticalMode = bInvertedVerticalMode;
    GetPaintManager()->DrawTabItem(dc, _ptid);
}

void CExtTabWnd::OnTabWndDrawButton(CDC& dc, const RECT& rcButton, int nHitTest, bool bTopLeft,
                                    bool bHorz, bool bEnabled, bool bHover, bool bPushed,
                                    bool bGroupedMode)
{
    GetPaintManager()->DrawTabButton(dc, rcButton, nHitTest, bTopLeft ? 1 : 0, bHorz, bEnabled,
                                     bHover, bPushed, bGroupedMode ? 1 : 0, this, 0);
}
