// The toolbar's painting: background, row bands, buttons and separators through the
// current paint manager, the repaint of one button, the button painted into its open
// menu, and the record of toolbar areas behind a child window.
#include "toolkit/bars/toolbar.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_neighbours.h"
#include <algorithm>

namespace {
const DWORD TBBS_HIDDEN_BIT = 0x80000;
const DWORD TBBS_CHECKED_BIT = 0x10000;
const DWORD TBBS_PRESSED_BIT = 0x20000;
const DWORD TBBS_CHECKBOX_BIT = 0x2;
const int LOGICAL_TOOLBAR_TEXT = 1010;
}  // namespace

void CExtToolControlBar::DoPaint(CDC* pDC)
{
    if (pDC == NULL || m_hWnd == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CExtPaintManager::ClipOutChildren(pDC, m_hWnd);
    CExtMemoryDC dc(pDC, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    OnPaintBackground(dc);
    CExtPaintManager* pPM = GetPaintManager();
    dc.SetTextColor(pPM->LookupColor(LOGICAL_TOOLBAR_TEXT, this));
    dc.SetBkMode(TRANSPARENT);
    const bool bHorz = IsHorzByStyle() || IsPanelBar();
    CFont* pFont = GetBarFont(!bHorz, true);
    CFont* pOldFont = (pFont != NULL && pFont->GetSafeHandle() != NULL) ? dc.SelectObject(pFont) : NULL;
    PaintRowBands(&dc, NULL);
    PaintButtons(dc, bHorz);
    // A customize site of this toolkit draws no insertion or selection marks.
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}

void CExtToolControlBar::PaintButtons(CDC& dc, bool bHorz)
{
    const int nType = GetLayoutType();
    const bool bMulti = IsMultiRowLayout();
    CExtPaintManager* pPM = GetPaintManager();
    for (int i = 0; i < GetButtonsCount(); i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (!pTBB->IsVisible() || !IsButtonCounted(i))
            continue;
        const CRect rc = pTBB->GetRect();
        if (!dc.RectVisible(&rc))
            continue;
        if (!pTBB->IsSeparator())
        {
            pTBB->Paint(dc, bHorz);
            continue;
        }
        if (pTBB->IsWrap(nType) && (nType == __LAYOUT_FLOATING || bMulti))
        {
            PaintRowBreak(dc, pTBB, bHorz, bMulti);
            continue;
        }
        const bool bOrient = bHorz || !bMulti;
        pPM->DrawSeparator(dc, rc, bOrient, true, this);
    }
}

void CExtToolControlBar::PaintRowBreak(CDC& dc, CExtBarButton* pTBB, bool bHorz, bool bMultiRow)
{
    const int nSpacing = GetPaintManager()->GetToolbarSpacing(this);
    if (nSpacing == 0)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const CRect rcSep = pTBB->GetRect();
    CRect rcLine;
    if (bHorz)
    {
        rcLine.SetRect(rcClient.left, rcSep.bottom, rcClient.right, rcSep.bottom + nSpacing);
        rcLine.DeflateRect(2, 0);
        if (bMultiRow && m_pRightBtn != NULL && m_pRightBtn->IsVisible())
            rcLine.right = std::min<int>(rcLine.right, m_pRightBtn->GetRect().left - 3);
    }
    else
    {
        rcLine.SetRect(rcSep.left - nSpacing, rcClient.top, rcSep.left, rcClient.bottom);
        rcLine.DeflateRect(0, 2);
        if (bMultiRow && m_pRightBtn != NULL && m_pRightBtn->IsVisible())
            rcLine.bottom = std::min<int>(rcLine.bottom, m_pRightBtn->GetRect().top - 3);
    }
    if (rcLine.IsRectEmpty())
        return;
    // The line runs across the bar, so the orientation turns.
    const bool bOrient = bHorz || !bMultiRow;
    GetPaintManager()->DrawSeparator(dc, rcLine, !bOrient, true, this);
}

bool CExtToolControlBar::PaintRowBands(CDC* pDC, ChildBkgndInfo_t* pInfo)
{
    if (m_hWnd == NULL || !GetPaintManager()->UsesToolbarGradient(this))
        return false;
    const int nType = GetLayoutType();
    const bool bOneRow = nType != __LAYOUT_FLOATING && !IsMultiRowLayout();
    const bool bVert = !IsHorzByStyle() && !IsPanelBar();
    CRect rcClient;
    GetClientRect(&rcClient);
    bool bAny = false;
    DWORD dwRow = 0;
    int nLo = INT_MAX, nHi = INT_MIN;
    const int nCount = GetButtonsCount();
    for (int i = 0; i < nCount; i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (pTBB->IsVisible() && IsButtonCounted(i) && pTBB != m_pRightBtn)
        {
            const CRect rc = pTBB->GetRect();
            nLo = std::min<int>(nLo, (int)(bVert ? rc.left : rc.top));
            nHi = std::max<int>(nHi, (int)(bVert ? rc.right : rc.bottom));
        }
        const bool bRowEnd = i == nCount - 1 || (!bOneRow && pTBB->IsWrap(nType));
        if (!bRowEnd || nLo >= nHi)
            continue;
        CRect rcBand = bVert ? CRect(nLo, rcClient.top, nHi, rcClient.bottom)
                             : CRect(rcClient.left, nLo, rcClient.right, nHi);
        if (pInfo != NULL)
        {
            pInfo->m_arrRects.Add(rcBand);
            pInfo->m_arrValues.Add(dwRow);
        }
        else if (pDC != NULL)
            GetPaintManager()->FillToolbarArea(*pDC, this, dwRow, rcBand);
        bAny = true;
        dwRow++;
        nLo = INT_MAX;
        nHi = INT_MIN;
    }
    return bAny;
}

void CExtToolControlBar::RedrawButton(int nIndex)
{
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB == NULL || m_hWnd == NULL)
        return;
    CRect rc = pTBB->GetRect();
    if (rc.IsRectEmpty())
        return;
    // No theme of this toolkit keeps a margin round the chevron or the customize frame.
    rc.InflateRect(1, 1);
    InvalidateRect(&rc, TRUE);
}

void CExtToolControlBar::stat_PaintCombinedButton(LPVOID pCookie, CDC& dc, const CWnd& wndPopup, const CRect&,
                                                  int)
{
    // The menu may outlive the bar that opened it.
    CExtToolControlBar* pBar = FindLiveBar(pCookie);
    if (pBar == NULL || pBar->GetSafeHwnd() == NULL || !::IsWindow(pBar->GetSafeHwnd()))
        return;
    g_bButtonMenuTracking = true;
    CExtBarButton* pTBB = pBar->GetButton(pBar->m_nBtnIdxMenuTracking);
    if (pTBB == NULL)
        return;
    CExtPaintManager* pPM = pBar->GetPaintManager();
    if (pTBB == pBar->m_pRightBtn && !CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtMenuControlBar") &&
        (pBar->m_pDockSite != NULL || (pBar->m_nToolbarStyleFlags & __TBSF_THEME_BIT2) != 0) &&
        pPM->UsesParentBackground(pBar) && CExtPaintManager::GetDcBitsPerPixel(dc.GetSafeHdc()) > 8)
        return;
    const DWORD dwStyle = pTBB->GetStyle();
    const bool bHot = pTBB->IsHot();
    pTBB->SetHot(false);
    pTBB->SetStyle(dwStyle & ~(TBBS_CHECKED_BIT | TBBS_PRESSED_BIT | TBBS_CHECKBOX_BIT));
    CRect rcBar, rcPopup;
    pBar->GetClientRect(&rcBar);
    pBar->ClientToScreen(&rcBar);
    ::GetClientRect(wndPopup.GetSafeHwnd(), &rcPopup);
    ::ClientToScreen(wndPopup.GetSafeHwnd(), (LPPOINT)&rcPopup);
    const CPoint ptOffset(rcBar.left - rcPopup.left, rcBar.top - rcPopup.top);
    const CPoint ptOld = dc.OffsetViewportOrg(ptOffset.x, ptOffset.y);
    pTBB->Paint(dc, !pBar->IsDockedVertically());
    dc.SetViewportOrg(ptOld);
    pTBB->SetHot(bHot);
    pTBB->SetStyle(dwStyle);
}

// ---- child background record ----------------------------------------------------------

CExtToolControlBar::ChildBkgndInfo_t::ChildBkgndInfo_t() : m_pBar(NULL), m_pMiniFrame(NULL), m_hWndChild(NULL) {}

CExtToolControlBar::ChildBkgndInfo_t::~ChildBkgndInfo_t()
{
    m_arrRects.RemoveAll();
    m_arrValues.RemoveAll();
}

bool CExtToolControlBar::ChildBkgndInfo_t::Init(HWND hWndChild)
{
    m_arrRects.RemoveAll();
    m_arrValues.RemoveAll();
    m_pBar = NULL;
    m_pMiniFrame = NULL;
    m_hWndChild = NULL;
    if (hWndChild == NULL || !::IsWindow(hWndChild))
        return false;
    m_hWndChild = hWndChild;
    for (HWND hWnd = hWndChild; hWnd != NULL; hWnd = ::GetParent(hWnd))
    {
        if (m_pMiniFrame != NULL && hWnd == m_pMiniFrame->GetSafeHwnd())
            return false;
        if (m_pMiniFrame == NULL && (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) == 0)
            return false;
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd == NULL)
            continue;
        if (m_pMiniFrame == NULL)
        {
            m_pMiniFrame = DYNAMIC_DOWNCAST(CExtMiniDockFrameWnd, pWnd->GetParentFrame());
            if (m_pMiniFrame == NULL)
                return false;
        }
        CExtToolControlBar* pBar = DYNAMIC_DOWNCAST(CExtToolControlBar, pWnd);
        if (pBar == NULL)
            continue;
        m_pBar = pBar;
        if (hWnd == hWndChild)
            return false;
        return pBar->PaintRowBands(NULL, this);
    }
    return false;
}

void CExtToolControlBar::ChildBkgndInfo_t::AreasToChildClient()
{
    if (m_pBar == NULL || m_hWndChild == NULL)
        return;
    for (INT_PTR i = 0; i < m_arrRects.GetSize(); i++)
    {
        CRect& rc = m_arrRects[i];
        m_pBar->ClientToScreen(&rc);
        ::ScreenToClient(m_hWndChild, (LPPOINT)&rc.left);
        ::ScreenToClient(m_hWndChild, (LPPOINT)&rc.right);
    }
}

void CExtToolControlBar::ChildBkgndInfo_t::AreasToChildWindow()
{
    if (m_pBar == NULL || m_hWndChild == NULL)
        return;
    CRect rcWnd;
    ::GetWindowRect(m_hWndChild, &rcWnd);
    for (INT_PTR i = 0; i < m_arrRects.GetSize(); i++)
    {
        CRect& rc = m_arrRects[i];
        m_pBar->ClientToScreen(&rc);
        rc.OffsetRect(-rcWnd.left, -rcWnd.top);
    }
}

void CExtToolControlBar::ChildBkgndInfo_t::PaintAreas(CDC& dc)
{
    if (m_pBar == NULL)
        return;
    for (INT_PTR i = 0; i < m_arrRects.GetSize(); i++)
        if (dc.RectVisible(&m_arrRects[i]))
            m_pBar->GetPaintManager()->FillToolbarArea(dc, m_pBar, m_arrValues[i], m_arrRects[i]);
}

namespace {

// The theme reads the toolbar through these when it paints bars, menus and children.
struct ToolbarQueriesInstaller
{
    ToolbarQueriesInstaller()
    {
        CExtPmNeighbours::BarQueries& q = CExtPmNeighbours::g_bars;
        q.pToolBarClass = RUNTIME_CLASS(CExtToolControlBar);
        q.pExpandButtonClass = RUNTIME_CLASS(CExtBarContentExpandButton);
        q.pfnToolbarShape = [](CObject* p) -> int {
            CExtToolControlBar* pBar = DYNAMIC_DOWNCAST(CExtToolControlBar, p);
            return pBar != NULL ? pBar->OnQueryShape(0, 0) : 1;
        };
        q.pfnToolbarTrackedButton = [](CObject* p) -> CObject* {
            CExtToolControlBar* pBar = DYNAMIC_DOWNCAST(CExtToolControlBar, p);
            return pBar != NULL ? pBar->GetButton(pBar->GetMenuTrackingButton()) : NULL;
        };
        q.pfnPaintChildAreas = [](HWND hWndChild, CDC& dc, bool bClientOnly) {
            CExtToolControlBar::ChildBkgndInfo_t info;
            if (!info.Init(hWndChild))
                return false;
            if (bClientOnly)
                info.AreasToChildClient();
            else
                info.AreasToChildWindow();
            info.PaintAreas(dc);
            return true;
        };
    }
};
const ToolbarQueriesInstaller g_ToolbarQueriesInstaller;

}  // namespace
