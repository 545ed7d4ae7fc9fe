// The tab window's geometry: measuring items, the layout pass that places items, rows
// and buttons, scrolling an item into view, and the strip's band in a frame's layout.
#include "toolkit/dialogs/tab_wnd.h"

#include <algorithm>

namespace {

// Lengths along the strip and thicknesses across it, for either direction.
int AlongLen(const SIZE& sz, bool bHorz) { return bHorz ? sz.cx : sz.cy; }
int AcrossLen(const SIZE& sz, bool bHorz) { return bHorz ? sz.cy : sz.cx; }
void SetAlongLen(CSize& sz, bool bHorz, int n)
{
    if (bHorz)
        sz.cx = n;
    else
        sz.cy = n;
}
int AreaLen(const RECT& rc, bool bHorz) { return bHorz ? (rc.right - rc.left) : (rc.bottom - rc.top); }

}  // namespace

// ---- measuring ------------------------------------------------------------------------------

CSize CExtTabWnd::TAB_ITEM_INFO::Measure(CDC* pDC)
{
    if (m_pWndTab == NULL)
        return m_size;
    CDC dcScreen;
    HDC hScreen = NULL;
    if (pDC == NULL)
    {
        hScreen = ::GetDC(NULL);
        dcScreen.Attach(hScreen);
        pDC = &dcScreen;
    }
    const CString sText = GetText();
    CRect rcText(0, 0, 0, 0);
    CFont* pOldFont = pDC->SelectObject(&m_pWndTab->OnQueryFont(SelectedGet(), 0));
    pDC->DrawText(sText, &rcText, DT_SINGLELINE | DT_CALCRECT);
    CSize sizeText(rcText.Width(), rcText.Height());
    if (m_pWndTab->_IsBoldMeasure())
    {
        // Selection must not change the size: keep the larger of both weights.
        CRect rcOther(0, 0, 0, 0);
        pDC->SelectObject(&m_pWndTab->OnQueryFont(!SelectedGet(), 0));
        pDC->DrawText(sText, &rcOther, DT_SINGLELINE | DT_CALCRECT);
        sizeText.cx = std::max<LONG>(sizeText.cx, rcOther.Width());
        sizeText.cy = std::max<LONG>(sizeText.cy, rcOther.Height());
    }
    pDC->SelectObject(pOldFont);

    CExtCmdIcon* pIcon = GetIconPtr();
    CSize sizeIcon(0, 0);
    if (pIcon != NULL && !pIcon->IsEmpty())
        sizeIcon = pIcon->GetSize();
    else if (!m_icon.IsEmpty())
        sizeIcon = m_icon.GetSize();
    m_sizeIcon = sizeIcon;

    CSize size;
    if (m_pWndTab->OrientationIsHorizontal())
    {
        m_sizeText = sizeText;
        size.cx = sizeText.cx + sizeIcon.cx + 3 + 4 + ((sizeIcon.cx > 0) ? 3 : 0);
        size.cy = std::max(sizeIcon.cy, sizeText.cy) + 4;
        size.cx = std::max<LONG>(size.cx, (int)__ETW_MIN_ITEM_LENGTH);
        size.cy = std::max<LONG>(size.cy, (int)__ETW_MIN_ITEM_THICKNESS);
    }
    else
    {
        sizeText.cy += 2;
        sizeText.cx += 10;
        m_sizeText = sizeText;
        size.cx = std::max(sizeIcon.cx, sizeText.cy) + 4;
        size.cx = std::max<LONG>(size.cx, (int)__ETW_MIN_ITEM_THICKNESS);
        size.cy = sizeText.cx + sizeIcon.cy + 3 + 4 + ((sizeIcon.cy > 0) ? 3 : 0);
        size.cy = std::max<LONG>(size.cy, (int)__ETW_MIN_ITEM_LENGTH);
    }
    m_pWndTab->OnTabWndUpdateItemMeasure(this, *pDC, size);
    m_size = size;
    if (hScreen != NULL)
    {
        dcScreen.Detach();
        ::ReleaseDC(NULL, hScreen);
    }
    return m_size;
}

CFont& CExtTabWnd::OnQueryFont(bool bSelected, int nOrientation)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (nOrientation < 0)
        nOrientation = OrientationGet();
    const bool bBold = bSelected && (m_dwTabWndStyle & __ETWS_BOLD_SELECTION) != 0 &&
                       (m_dwTabWndStyle & __ETWS_GROUPED) == 0;
    if (nOrientation == 0 || nOrientation == 1)
        return bBold ? pPM->m_FontBold : pPM->m_FontNormal;
    if ((m_dwTabWndStyle & __ETWS_INVERT_VERT_FONT) != 0)
        return bBold ? pPM->m_FontBoldVertX : pPM->m_FontNormalVertX;
    return bBold ? pPM->m_FontBoldVert : pPM->m_FontNormalVert;
}

void CExtTabWnd::OnTabWndUpdateItemMeasure(TAB_ITEM_INFO* pTii, CDC&, CSize& sizePreCalc)
{
    SIZE size = sizePreCalc;
    GetPaintManager()->AdjustTabItemSize(this, pTii, 0, size);
    sizePreCalc = size;
}

void CExtTabWnd::OnTabWndQueryMetrics(int& m1, int& m2, int& m3)
{
    m1 = m2 = m3 = 0;
    GetPaintManager()->GetTabMetrics(this, m1, m2, m3);
}

int CExtTabWnd::OnTabWndQueryBandExtra(int nOrientation)
{
    LONG nValue = 0;
    if (GetPaintManager()->QueryTabWndMetric(nValue, nOrientation, this))
        return (int)nValue;
    return (nOrientation >= 0 && nOrientation <= 3) ? 6 : 0;
}

bool CExtTabWnd::OnTabWndHoverRepaintNeeded() { return GetPaintManager()->QueryTabWndOption(this, 0); }

// ---- buttons --------------------------------------------------------------------------------

CSize CExtTabWnd::OnTabWndQueryButtonSize() const
{
    const int cx = ::MulDiv(::GetSystemMetrics(SM_CXSMSIZE), 3, 4);
    const int cy = ::MulDiv(::GetSystemMetrics(SM_CYSMSIZE), 3, 4);
    const int s = std::max(std::min(cx, cy) + 1, 12);
    return CSize(s, s);
}

int CExtTabWnd::OnTabWndButtonsCalcExtent(int nButtonSize, int nButtonGap) const
{
    int n = 0;
    if ((m_dwTabWndStyle & __ETWS_SHOW_BTN_CLOSE) != 0)
        n++;
    if ((m_dwTabWndStyle & __ETWS_SHOW_BTN_HELP) != 0)
        n++;
    if ((m_dwTabWndStyle & __ETWS_SHOW_BTN_TAB_LIST) != 0)
        n++;
    if ((m_dwTabWndStyle & __ETWS_EQUAL_WIDTHS) == 0 && !_IsMultiRowColumnMode())
    {
        // The scroll buttons' room is kept even while they are hidden, so that they
        // appear without moving the items when the items stop fitting.
        n += 2;
        if ((m_dwTabWndStyle & __ETWS_SHOW_BTN_SCROLL_HOME) != 0)
            n++;
        if ((m_dwTabWndStyle & __ETWS_SHOW_BTN_SCROLL_END) != 0)
            n++;
    }
    return (n == 0) ? 0 : nButtonGap + n * (nButtonSize + nButtonGap);
}

void CExtTabWnd::_UpdateButtonStyles()
{
    m_dwTabWndStyle &= ~DWORD(__ETWS_ENABLED_BTN_UP | __ETWS_ENABLED_BTN_DOWN |
                              __ETWS_ENABLED_BTN_SCROLL_HOME | __ETWS_ENABLED_BTN_SCROLL_END);
    if (_IsScrollAvail())
    {
        if (m_nScrollPos >= 1)
            m_dwTabWndStyle |= __ETWS_ENABLED_BTN_UP | __ETWS_ENABLED_BTN_SCROLL_HOME;
        if (m_nScrollPos < m_nScrollMaxPos)
            m_dwTabWndStyle |= __ETWS_ENABLED_BTN_DOWN | __ETWS_ENABLED_BTN_SCROLL_END;
    }
}

void CExtTabWnd::OnTabWndButtonsRecalcLayout(CRect& rcButton, int nButtonSize, int nButtonGap)
{
    _UpdateButtonStyles();
    const bool bHorz = OrientationIsHorizontal();
    const int nStep = nButtonSize + nButtonGap;
    auto place = [&](int nButton) {
        m_rcButtons[nButton] = rcButton;
        if (bHorz)
            rcButton.OffsetRect(-nStep, 0);
        else
            rcButton.OffsetRect(0, -nStep);
    };
    if ((m_dwTabWndStyle & __ETWS_SHOW_BTN_CLOSE) != 0)
        place(__BTN_CLOSE);
    if ((m_dwTabWndStyle & __ETWS_SHOW_BTN_TAB_LIST) != 0)
        place(__BTN_TAB_LIST);
    if ((m_dwTabWndStyle & __ETWS_SHOW_BTN_HELP) != 0)
        place(__BTN_HELP);
    if ((m_dwTabWndStyle & __ETWS_EQUAL_WIDTHS) != 0)
        return;
    const bool bMultiRow = _IsMultiRowColumnMode();
    if (!_IsScrollAvail() && ((m_dwTabWndStyle & __ETWS_AUTOHIDE_SCROLL) != 0 || bMultiRow))
        return;
    if (!bMultiRow && (m_dwTabWndStyle & __ETWS_SHOW_BTN_SCROLL_END) != 0)
        place(__BTN_END);
    place(__BTN_DOWN);
    place(__BTN_UP);
    if (!bMultiRow && (m_dwTabWndStyle & __ETWS_SHOW_BTN_SCROLL_HOME) != 0)
        place(__BTN_HOME);
}

// ---- the layout pass ----------------------------------------------------------------------

void CExtTabWnd::UpdateTabWnd(bool bImmediate)
{
    m_wTabWndState |= __ETWST_DELAY_RECALC;
    if (GetSafeHwnd() != NULL && (GetStyle() & WS_VISIBLE) != 0 && bImmediate)
    {
        RecalcLayout();
        Invalidate();
        UpdateWindow();
    }
}

CRect CExtTabWnd::GetTabWndClientRect() const
{
    if (!m_rcRecalcLayout.IsRectEmpty())
        return m_rcRecalcLayout;
    CRect rc(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetClientRect(&rc);
    return rc;
}

void CExtTabWnd::CalcItemsAreaForRect(RECT& rcOut, const RECT& rcClient)
{
    m_rcRecalcLayout = rcClient;
    m_wTabWndState |= __ETWST_DELAY_RECALC;
    RecalcLayout();
    m_rcRecalcLayout.SetRectEmpty();
    if (!m_rcTabItemsArea.IsRectEmpty())
        rcOut = m_rcTabItemsArea;
    else if (GetSafeHwnd() != NULL)
        GetWindowRect(&rcOut);
    else
        rcOut = m_rcTabItemsArea;
    // The next real pass recomputes for the real client rectangle.
    m_wTabWndState |= __ETWST_DELAY_RECALC;
}

void CExtTabWnd::RecalcLayout()
{
    if (GetSafeHwnd() == NULL || (m_wTabWndState & __ETWST_DELAY_RECALC) == 0)
        return;
    _RecalcLayoutImpl();
}

// What one layout pass knows while it runs: the strip's direction and modes, the button
// size and, for several rows, the room a row has and the gap between rows.
struct CExtTabWnd::LAYOUT_PASS
{
    CRect rcClient;
    CRect rcItems;
    int nOrientation = 0;
    bool bHorz = true;
    bool bMultiRow = false;
    bool bGrouped = false;
    bool bFitEqualShares = false;
    bool bGroupExpand = false;
    int nCount = 0;
    CSize sizeButton;
    int nButtonLen = 0;       // a button's length along the strip
    int nRowAvail = 0;        // several rows: the room a row has before the buttons
    int nRowGap = 0;          // several rows: the gap between two rows
    int nItemsThickness = 0;  // one row: the thickest item across the strip
    int nEndMargin = 0;       // the room left after the buttons at the strip's far end
};

void CExtTabWnd::_RecalcLayoutImpl()
{
    _ResetLayoutResults();
    LAYOUT_PASS pass;
    if (!_BeginLayoutPass(pass))
        return;
    _MeasureItems(pass);
    _PlaceItemsArea(pass);
    _FitItemsToEqualShares(pass);
    if (m_nScrollPos > m_nScrollMaxPos)
        m_nScrollPos = m_nScrollMaxPos;
    if (m_nScrollPos < 0)
        m_nScrollPos = 0;
    _PlaceButtons(pass);
    if (pass.bMultiRow)
        _PlaceItemsInRows(pass);
    else
        _PlaceItemsInStrip(pass);
    if (m_nIndexVisFirst < 0 || m_nIndexVisLast < 0 || m_nIndexVisFirst > m_nIndexVisLast)
        m_nIndexVisFirst = m_nIndexVisLast = -1;
}

void CExtTabWnd::_ResetLayoutResults()
{
    m_wTabWndState &= ~__ETWST_DELAY_RECALC;
    // Only this pass's shortened items are marked.
    m_wTabWndState &= ~__ETWST_SHORTENED_ITEMS;
    m_rcTabItemsArea.SetRectEmpty();
    m_rcTabNearBorderArea.SetRectEmpty();
    m_nIndexVisFirst = m_nIndexVisLast = -1;
    for (int i = 0; i < __BTN_COUNT; i++)
        m_rcButtons[i].SetRectEmpty();
}

bool CExtTabWnd::_BeginLayoutPass(LAYOUT_PASS& pass)
{
    pass.rcClient = GetTabWndClientRect();
    if (pass.rcClient.right <= pass.rcClient.left || pass.rcClient.bottom <= pass.rcClient.top)
        return false;
    pass.rcItems = pass.rcClient;
    pass.nOrientation = OrientationGet();
    pass.bHorz = pass.nOrientation <= 1;
    pass.bMultiRow = _IsMultiRowColumnMode();
    pass.nCount = ItemGetCount();
    pass.bGrouped = (m_dwTabWndStyle & __ETWS_GROUPED) != 0;
    // Grouped strips never share the room out equally.
    pass.bFitEqualShares = (m_dwTabWndStyle & __ETWS_EQUAL_WIDTHS) != 0 && !pass.bGrouped;
    pass.bGroupExpand = (m_dwTabWndStyle & __ETWS_GROUPED_EXPAND_ITEMS) != 0;
    pass.sizeButton = OnTabWndQueryButtonSize();
    // Buttons line up along the strip: their length there decides the room they take.
    pass.nButtonLen = pass.bHorz ? pass.sizeButton.cx : pass.sizeButton.cy;
    if (!pass.bMultiRow)
    {
        m_nItemsExtent = m_nScrollMaxPos = pass.bGrouped ? 10 : 0;
        return true;
    }
    m_nItemsExtent = m_nScrollMaxPos = 0;
    pass.nRowAvail = AreaLen(pass.rcItems, pass.bHorz) - OnTabWndButtonsCalcExtent(pass.nButtonLen, __ETW_BUTTON_GAP);
    pass.nRowGap = OnTabWndQueryRowGap();
    if (pass.bHorz)
        pass.rcItems.bottom = pass.rcItems.top;
    else
        pass.rcItems.right = pass.rcItems.left;
    return true;
}

void CExtTabWnd::_MeasureItems(LAYOUT_PASS& pass)
{
    CClientDC dcMeasure(this);
    const bool bHorz = pass.bHorz;
    for (int i = 0; i < pass.nCount; i++)
        m_arrItems[i]->m_nItemFlags &= ~(TAB_ITEM_INFO::__ETWIF_NEW_ROW | TAB_ITEM_INFO::__ETWIF_SHORTENED);
    int nRowLen = 0, nRowThickness = 0, nRowsThickness = 0;
    bool bFirstGroup = true;
    for (int i = 0; i < pass.nCount; i++)
    {
        TAB_ITEM_INFO* pTii = m_arrItems[i];
        if (!pTii->VisibleGet())
            continue;
        if (pass.bGrouped && !pass.bGroupExpand)
        {
            i = _MeasureCollapsedGroup(pass, dcMeasure, i, bFirstGroup);
            continue;
        }
        const CSize sizeItem = pTii->Measure(&dcMeasure);
        const int nItemLen = AlongLen(sizeItem, bHorz), nItemThickness = AcrossLen(sizeItem, bHorz);
        if (pass.bGrouped)
        {
            // Expanded groups: every item at its full size, a gap before each group.
            if (pTii->GroupStartGet() && !bFirstGroup)
                m_nItemsExtent += __ETW_GROUP_GAP;
            bFirstGroup = false;
        }
        if (pass.bGrouped || !pass.bMultiRow)
        {
            m_nItemsExtent += nItemLen;
            pass.nItemsThickness = std::max(pass.nItemsThickness, nItemThickness);
            continue;
        }
        // Several rows: an item that does not fit in the row starts the next one.
        if (nRowLen > 0 && nRowLen + nItemLen > pass.nRowAvail)
        {
            pTii->m_nItemFlags |= TAB_ITEM_INFO::__ETWIF_NEW_ROW;
            nRowsThickness += nRowThickness + pass.nRowGap;
            nRowLen = 0;
            nRowThickness = 0;
        }
        nRowLen += nItemLen;
        nRowThickness = std::max(nRowThickness, nItemThickness);
    }
    if (pass.bMultiRow)
    {
        nRowsThickness += nRowThickness;
        if (bHorz)
            pass.rcItems.bottom = pass.rcItems.top + nRowsThickness;
        else
            pass.rcItems.right = pass.rcItems.left + nRowsThickness;
    }
}

int CExtTabWnd::_MeasureCollapsedGroup(LAYOUT_PASS& pass, CDC& dcMeasure, int nFirst, bool& bFirstGroup)
{
    // A group shows its active item with text and the others as icons.
    const bool bHorz = pass.bHorz;
    int nLast = nFirst;
    while (nLast + 1 < pass.nCount && !m_arrItems[nLast + 1]->GroupStartGet())
        nLast++;
    int nFullLen = 0, nIconOnlyLen = 0, nVisibleInGroup = 0;
    for (int i = nFirst; i <= nLast; i++)
    {
        TAB_ITEM_INFO* pTii = m_arrItems[i];
        if (!pTii->VisibleGet())
            continue;
        const CSize sizeItem = pTii->Measure(&dcMeasure);
        const int nItemLen = AlongLen(sizeItem, bHorz);
        pass.nItemsThickness = std::max(pass.nItemsThickness, AcrossLen(sizeItem, bHorz));
        int nWithoutText = nItemLen - AlongLen(pTii->m_sizeText, true);
        if (AlongLen(pTii->m_sizeIcon, bHorz) > 0)
            nWithoutText -= 3;
        nFullLen = std::max(nFullLen, nItemLen);
        nIconOnlyLen = std::max(nIconOnlyLen, nWithoutText);
        nVisibleInGroup++;
    }
    if (!bFirstGroup)
        m_nItemsExtent += __ETW_GROUP_GAP;
    bFirstGroup = false;
    m_nItemsExtent += (nVisibleInGroup - 1) * nIconOnlyLen + nFullLen;
    for (int i = nFirst; i <= nLast; i++)
    {
        TAB_ITEM_INFO* pTii = m_arrItems[i];
        if (pTii->VisibleGet())
            SetAlongLen(pTii->m_size, bHorz, pTii->InGroupActiveGet() ? nFullLen : nIconOnlyLen);
    }
    return nLast;
}

void CExtTabWnd::_PlaceItemsArea(LAYOUT_PASS& pass)
{
    const CRect& rcClient = pass.rcClient;
    CRect& rcItems = pass.rcItems;
    const int nThickness = std::max(pass.nItemsThickness, (int)__ETW_MIN_ITEM_THICKNESS);
    // The theme's margins: before the first item, after the buttons, and between the
    // client edge on the strip's side and the items.
    int nStartMargin = 0, nEndMargin = 0, nEdgeGap = 0;
    OnTabWndQueryMetrics(nStartMargin, nEndMargin, nEdgeGap);
    pass.nEndMargin = nEndMargin;
    const int nButtonsLen = OnTabWndButtonsCalcExtent(pass.nButtonLen, __ETW_BUTTON_GAP);
    if (!pass.bMultiRow)
    {
        // One row lies against its side; the rest of the client area is the near border.
        switch (pass.nOrientation)
        {
        case 0:
            rcItems.top += nEdgeGap;
            rcItems.bottom = std::min(rcItems.top + nThickness, rcClient.bottom);
            if (rcItems.bottom < rcClient.bottom)
                m_rcTabNearBorderArea.SetRect(rcClient.left, rcItems.bottom, rcClient.right, rcClient.bottom);
            break;
        case 1:
            rcItems.bottom -= nEdgeGap;
            rcItems.top = std::max(rcItems.bottom - nThickness, rcClient.top);
            if (rcItems.top > rcClient.top)
                m_rcTabNearBorderArea.SetRect(rcClient.left, rcClient.top, rcClient.right, rcItems.top);
            break;
        case 2:
            rcItems.left += nEdgeGap;
            rcItems.right = std::min(rcItems.left + nThickness, rcClient.right);
            if (rcItems.right < rcClient.right)
                m_rcTabNearBorderArea.SetRect(rcItems.right, rcClient.top, rcClient.right, rcClient.bottom);
            break;
        default:
            rcItems.right -= nEdgeGap;
            rcItems.left = std::max(rcItems.right - nThickness, rcClient.left);
            if (rcItems.left > rcClient.left)
                m_rcTabNearBorderArea.SetRect(rcClient.left, rcClient.top, rcItems.left, rcClient.bottom);
            break;
        }
    }
    if (pass.bHorz)
    {
        rcItems.left += nStartMargin;
        rcItems.right -= nEndMargin + nButtonsLen;
    }
    else
    {
        rcItems.top += nStartMargin;
        rcItems.bottom -= nEndMargin + nButtonsLen;
    }
    m_rcTabItemsArea = rcItems;
    if (pass.bMultiRow)
        m_nScrollMaxPos = 0;
    else
        m_nScrollMaxPos = std::max(0, m_nItemsExtent - AreaLen(rcItems, pass.bHorz));
}

void CExtTabWnd::_FitItemsToEqualShares(const LAYOUT_PASS& pass)
{
    // Fit mode: every visible item takes an equal share of the strip.
    if (!pass.bFitEqualShares || pass.bMultiRow || m_nVisibleItemCount <= 0 ||
        (m_nScrollMaxPos <= 0 && (m_dwTabWndStyle & __ETWS_FULL_WIDTH) == 0))
        return;
    const int nAreaLen = AreaLen(pass.rcItems, pass.bHorz);
    const int nShare = std::max(nAreaLen / m_nVisibleItemCount, (int)__ETW_MIN_ITEM_LENGTH);
    m_nItemsExtent = 0;
    for (int i = 0; i < pass.nCount; i++)
    {
        TAB_ITEM_INFO* pTii = m_arrItems[i];
        if (!pTii->VisibleGet())
            continue;
        if (AlongLen(pTii->m_size, pass.bHorz) > nShare)
        {
            pTii->m_nItemFlags |= TAB_ITEM_INFO::__ETWIF_SHORTENED;
            m_wTabWndState |= __ETWST_SHORTENED_ITEMS;
        }
        SetAlongLen(pTii->m_size, pass.bHorz, nShare);
        m_nItemsExtent += nShare;
    }
    // The shares now decide how far the strip can scroll.
    m_nScrollMaxPos = std::max(0, m_nItemsExtent - nAreaLen);
}

void CExtTabWnd::_PlaceButtons(const LAYOUT_PASS& pass)
{
    // The buttons, from the far end backwards, centred across the items.
    const CSize& sizeButton = pass.sizeButton;
    CRect rcButton;
    if (pass.bHorz)
    {
        rcButton.right = pass.rcClient.right - pass.nEndMargin;
        rcButton.left = rcButton.right - sizeButton.cx;
        rcButton.top = pass.rcItems.top + (pass.rcItems.Height() - sizeButton.cy) / 2;
        rcButton.bottom = rcButton.top + sizeButton.cy;
        rcButton.OffsetRect(-__ETW_BUTTON_GAP, 0);
    }
    else
    {
        rcButton.bottom = pass.rcClient.bottom - pass.nEndMargin;
        rcButton.top = rcButton.bottom - sizeButton.cy;
        rcButton.left = pass.rcItems.left + (pass.rcItems.Width() - sizeButton.cx) / 2;
        rcButton.right = rcButton.left + sizeButton.cx;
        rcButton.OffsetRect(0, -__ETW_BUTTON_GAP);
    }
    OnTabWndButtonsRecalcLayout(rcButton, pass.nButtonLen, __ETW_BUTTON_GAP);
}

void CExtTabWnd::_PlaceItemsInStrip(const LAYOUT_PASS& pass)
{
    // Item rectangles: along the strip relative to the items-area start and unscrolled.
    const bool bHorz = pass.bHorz;
    const CRect& rcItems = pass.rcItems;
    const int nAreaLen = AreaLen(rcItems, bHorz);
    int nPos = 0;
    bool bFirstPlaced = true;
    for (int i = 0; i < pass.nCount; i++)
    {
        TAB_ITEM_INFO* pTii = m_arrItems[i];
        if (!pTii->VisibleGet())
            continue;
        if (pass.bGrouped && pTii->GroupStartGet() && !bFirstPlaced)
            nPos += __ETW_GROUP_GAP;
        bFirstPlaced = false;
        const CSize sizeItem = pTii->m_size;
        if (bHorz)
            pTii->m_rcItem.SetRect(nPos, rcItems.top, nPos + sizeItem.cx, rcItems.top + sizeItem.cy);
        else
            pTii->m_rcItem.SetRect(rcItems.left, nPos, rcItems.left + sizeItem.cx, nPos + sizeItem.cy);
        const int nItemLen = AlongLen(sizeItem, bHorz);
        const int nNearInView = nPos - m_nScrollPos, nFarInView = nNearInView + nItemLen;
        if (nFarInView >= 0 && nNearInView <= nAreaLen + 8)
        {
            if (m_nIndexVisFirst < 0)
                m_nIndexVisFirst = i;
            m_nIndexVisLast = i;
        }
        nPos += nItemLen;
    }
}

void CExtTabWnd::_PlaceItemsInRows(const LAYOUT_PASS& pass)
{
    const bool bHorz = pass.bHorz;
    int nRowStart = bHorz ? pass.rcItems.top : pass.rcItems.left;
    int nFirst = 0;
    while (nFirst < pass.nCount)
    {
        // One row: up to the next item that starts a new row.
        int nEnd = nFirst;
        int nRowThickness = 0;
        bool bAnyInRow = false;
        for (; nEnd < pass.nCount; nEnd++)
        {
            TAB_ITEM_INFO* pTii = m_arrItems[nEnd];
            if (!pTii->VisibleGet())
                continue;
            if (bAnyInRow && pTii->IsNewRow())
                break;
            bAnyInRow = true;
            nRowThickness = std::max(nRowThickness, AcrossLen(pTii->m_size, bHorz));
        }
        int nPos = 0;
        for (int i = nFirst; i < nEnd; i++)
        {
            TAB_ITEM_INFO* pTii = m_arrItems[i];
            if (!pTii->VisibleGet())
                continue;
            const CSize sizeItem = pTii->m_size;
            if (bHorz)
                pTii->m_rcItem.SetRect(nPos, nRowStart, nPos + sizeItem.cx, nRowStart + sizeItem.cy);
            else
                pTii->m_rcItem.SetRect(nRowStart, nPos, nRowStart + sizeItem.cx, nPos + sizeItem.cy);
            nPos += AlongLen(sizeItem, bHorz);
            if (m_nIndexVisFirst < 0)
                m_nIndexVisFirst = i;
            m_nIndexVisLast = i;
        }
        nRowStart += nRowThickness + pass.nRowGap;
        nFirst = nEnd;
    }
}

// ---- scrolling an item into view ----------------------------------------------------------

bool CExtTabWnd::ItemEnsureVisible(int nIndex, bool bUpdate)
{
    if (!_IsScrollAvail())
        return false;
    TAB_ITEM_INFO* pTii = ItemGet(nIndex);
    if (pTii == NULL)
        return false;
    if (!pTii->VisibleGet())
    {
        UpdateTabWnd(bUpdate);
        return false;
    }
    const bool bHorz = OrientationIsHorizontal();
    const int nNear = (bHorz ? pTii->m_rcItem.left : pTii->m_rcItem.top) - m_nScrollPos;
    const int nFar = (bHorz ? pTii->m_rcItem.right : pTii->m_rcItem.bottom) - m_nScrollPos;
    const int nLimit = AreaLen(m_rcTabItemsArea, bHorz) + 6;
    if (nFar > nLimit)
    {
        m_nScrollPos += nFar - nLimit;
        m_nScrollPos = std::min(m_nScrollPos + 6, std::max(m_nScrollPos, m_nScrollMaxPos));
    }
    else if (nNear < 0)
    {
        m_nScrollPos += nNear;
        m_nScrollPos = std::max(m_nScrollPos - 6, std::min(m_nScrollPos, 0));
    }
    if (m_nScrollPos > m_nScrollMaxPos)
        m_nScrollPos = m_nScrollMaxPos;
    if (m_nScrollPos < 0)
        m_nScrollPos = 0;
    UpdateTabWnd(bUpdate);
    return true;
}

// ---- the frame's size pass ------------------------------------------------------------------

LRESULT CExtTabWnd::OnSizeParent(WPARAM, LPARAM lParam)
{
    _SizeParent(lParam, -1);
    return 0;
}

void CExtTabWnd::_SizeParent(LPARAM lParam, int nItemsThickness)
{
    if ((m_wTabWndState & __ETWST_SIZE_PARENT) == 0)
        return;
    AFX_SIZEPARENTPARAMS* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pLayout == NULL)
        return;
    CRect rcFree(pLayout->rect);
    if (rcFree.right <= rcFree.left || rcFree.bottom <= rcFree.top)
    {
        if (pLayout->hDWP != NULL)
            SetWindowPos(NULL, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOOWNERZORDER | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    OnTabWndSyncVisibility();
    if ((GetStyle() & WS_VISIBLE) == 0)
        return;
    m_wTabWndState |= __ETWST_DELAY_RECALC;
    m_rcRecalcLayout = rcFree;
    RecalcLayout();
    m_rcRecalcLayout.SetRectEmpty();
    if (nItemsThickness >= 0)
    {
        if (OrientationGet() == 0 || OrientationGet() == 2)
        {
            if (OrientationIsHorizontal())
                m_rcTabItemsArea.bottom = m_rcTabItemsArea.top + nItemsThickness;
            else
                m_rcTabItemsArea.right = m_rcTabItemsArea.left + nItemsThickness;
        }
        else if (OrientationIsHorizontal())
            m_rcTabItemsArea.top = m_rcTabItemsArea.bottom - nItemsThickness;
        else
            m_rcTabItemsArea.left = m_rcTabItemsArea.right - nItemsThickness;
    }
    if (m_rcTabItemsArea.Width() <= 0 || m_rcTabItemsArea.Height() <= 0)
        return;
    int nOrientation = OrientationGet();
    int nBand = (nOrientation <= 1) ? m_rcTabItemsArea.Height() : m_rcTabItemsArea.Width();
    nBand += OnTabWndQueryBandExtra(nOrientation);
    if (nOrientation == 1 || nOrientation == 3)
        nBand += 2;
    CWnd* pParent = GetParent();
    if (pParent != NULL && (pParent->GetExStyle() & WS_EX_LAYOUTRTL) != 0 && nOrientation >= 2)
        nOrientation = (nOrientation == 2) ? 3 : 2;
    CRect rcBand = rcFree;
    switch (nOrientation)
    {
    case 0:
        rcBand.bottom = rcBand.top + nBand;
        pLayout->rect.top += nBand;
        pLayout->sizeTotal.cy += nBand;
        break;
    case 1:
        rcBand.top = rcBand.bottom - nBand;
        pLayout->rect.bottom -= nBand;
        pLayout->sizeTotal.cy += nBand;
        break;
    case 2:
        rcBand.right = rcBand.left + nBand;
        pLayout->rect.left += nBand;
        pLayout->sizeTotal.cx += nBand;
        break;
    default:
        rcBand.left = rcBand.right - nBand;
        pLayout->rect.right -= nBand;
        pLayout->sizeTotal.cx += nBand;
        break;
    }
    if (pLayout->hDWP != NULL)
    {
        pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, m_hWnd, NULL, rcBand.left, rcBand.top,
                                         rcBand.Width(), rcBand.Height(),
                                         SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER);
        SetWindowPos(NULL, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOOWNERZORDER | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
        UpdateTabWnd(true);
    }
}
