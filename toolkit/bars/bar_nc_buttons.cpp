// The caption buttons of a bar: placement inside the caption, visibility, hover and
// press tracking, painting through the paint manager's glyph buttons, clicks and tips.
#include "toolkit/bars/bar_nc_buttons.h"
#include <cstdlib>
#include <cstring>
#include "framework/miniframe.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/bars/auto_hide.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_glyphs.h"

IMPLEMENT_DYNCREATE(CExtBarNcAreaButton, CObject)
IMPLEMENT_DYNCREATE(CExtBarNcAreaButtonClose, CExtBarNcAreaButton)
IMPLEMENT_DYNCREATE(CExtBarNcAreaButtonAutoHide, CExtBarNcAreaButton)
IMPLEMENT_DYNCREATE(CExtBarNcAreaButtonMenu, CExtBarNcAreaButton)

namespace {

// The Studio 2005 theme asks the Options button whether it takes the XP body.
struct XpLookQueryInstaller
{
    XpLookQueryInstaller()
    {
        CExtPaintManager::PAINTGLYPHBUTTONDATA::g_pfnNcAreaMenuButtonXpLook = [](CObject* p) {
            CExtBarNcAreaButtonMenu* pBtn = DYNAMIC_DOWNCAST(CExtBarNcAreaButtonMenu, p);
            return pBtn != NULL && pBtn->OnQueryXpLook();
        };
    }
};
const XpLookQueryInstaller g_XpLookQueryInstaller;

bool BarWindowExists(const CExtControlBar* pBar) { return pBar != NULL && pBar->GetSafeHwnd() != NULL; }

// The bar's dock bar knows the auto-hide area of its side (inner rings share the area of
// the frame's own dock bar).
bool HasAutoHideArea(CExtControlBar* pBar)
{
    if (pBar->m_pDockSite == NULL || pBar->m_pDockSite->GetSafeHwnd() == NULL)
        return false;
    CExtDockBar* pDockBar = DYNAMIC_DOWNCAST(CExtDockBar, pBar->m_pDockBar);
    CExtDynAutoHideArea* pArea = pDockBar != NULL ? pDockBar->GetAutoHideArea() : NULL;
    return pArea != NULL && pArea->GetSafeHwnd() != NULL;
}

}  // namespace

// ---- base button ----------------------------------------------------------------------

CExtBarNcAreaButton::CExtBarNcAreaButton(CExtControlBar* pBar) : m_pBar(pBar), m_nFlags(0)
{
    ::SetRectEmpty(&m_rc);
}

CExtBarNcAreaButton::~CExtBarNcAreaButton() {}

void CExtBarNcAreaButton::OnNcDestroy() { delete this; }

bool CExtBarNcAreaButton::OnQueryAutoHideSlideIn() const { return true; }

bool CExtBarNcAreaButton::GetBarNcAreaInfo(RECT* prcCaption, RECT* prcBarWnd, bool* pbGripperAtTop,
                                           bool* pbTextOnGripper) const
{
    if (prcCaption != NULL)
        ::SetRectEmpty(prcCaption);
    if (prcBarWnd != NULL)
        ::SetRectEmpty(prcBarWnd);
    if (pbGripperAtTop != NULL)
        *pbGripperAtTop = false;
    if (pbTextOnGripper != NULL)
        *pbTextOnGripper = false;
    if (!BarWindowExists(m_pBar))
        return false;

    // The caption of a floating frame that serves this bar, in the frame's window
    // coordinates, grown to the area the frame's own buttons would take.
    auto miniFrameCaption = [&](CFrameWnd* pFrame) {
        if (prcBarWnd != NULL)
            pFrame->GetWindowRect(prcBarWnd);
        if (!pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
            return false;
        if (prcCaption != NULL)
        {
            RECT rc;
            ::SetRectEmpty(&rc);
            m_pBar->GetPaintManager()->GetMiniFrameCaptionRect(rc, pFrame);
            rc.left -= 2;
            rc.top -= 2;
            rc.right += 1;
            rc.bottom += 2;
            *prcCaption = rc;
        }
        if (pbGripperAtTop != NULL)
            *pbGripperAtTop = true;
        if (pbTextOnGripper != NULL)
            *pbTextOnGripper = true;
        return true;
    };

    if (m_pBar->IsFloating())
    {
        CFrameWnd* pFrame = m_pBar->GetParentFrame();
        return pFrame != NULL && miniFrameCaption(pFrame);
    }
    if (prcBarWnd != NULL)
        m_pBar->GetWindowRect(prcBarWnd);
    CExtDynAutoHideSlider* pSlider = NULL;
    if (!m_pBar->IsFixedMode())
    {
        CFrameWnd* pFrame = m_pBar->GetParentFrame();
        if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)) &&
            m_pBar->IsSingleBarInMiniFrame())
            return miniFrameCaption(pFrame);
        if (m_pBar->AutoHideModeGet())
        {
            // Pinned away, the caption is the slider's while it shows this bar.
            pSlider = static_cast<CExtDynAutoHideSlider*>(m_pBar->GetAutoHideSliderShowingBar());
            if (prcBarWnd != NULL)
            {
                ::SetRectEmpty(prcBarWnd);
                if (pSlider != NULL)
                    pSlider->GetWindowRect(prcBarWnd);
            }
        }
    }
    if (!m_pBar->IsBarWithGripper(pbGripperAtTop, pbTextOnGripper))
        return false;
    if (prcCaption != NULL)
    {
        if (!m_pBar->AutoHideModeGet())
            *prcCaption = *m_pBar->GetCaptionRect();
        else if (pSlider != NULL)
            pSlider->GetCaptionRect(*prcCaption);
    }
    // Pinned away and not out, the bar shows no caption anywhere: the buttons keep the
    // places they had on the slider.
    return !m_pBar->AutoHideModeGet() || pSlider != NULL;
}

bool CExtBarNcAreaButton::IsBarAutoHiddenAndShown(bool* pbShownInSlider, bool* pbSliderActive) const
{
    if (pbShownInSlider != NULL)
        *pbShownInSlider = false;
    if (pbSliderActive != NULL)
        *pbSliderActive = false;
    if (m_pBar == NULL || !m_pBar->AutoHideModeGet())
        return false;
    CExtDynAutoHideSlider* pSlider = static_cast<CExtDynAutoHideSlider*>(m_pBar->GetAutoHideSliderShowingBar());
    if (pSlider != NULL)
    {
        if (pbShownInSlider != NULL)
            *pbShownInSlider = true;
        if (pbSliderActive != NULL)
            *pbSliderActive = pSlider->IsFocusInside();
    }
    return true;
}

bool CExtBarNcAreaButton::IsBarActive() const
{
    if (!BarWindowExists(m_pBar))
        return false;
    if (m_pBar->IsFloating())
    {
        CFrameWnd* pFrame = m_pBar->GetParentFrame();
        if (pFrame == NULL || !pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
            return false;
        const HWND hWndFocus = ::GetFocus();
        return hWndFocus != NULL && (hWndFocus == pFrame->m_hWnd || ::IsChild(pFrame->m_hWnd, hWndFocus));
    }
    return (m_pBar->m_nInteractionFlags & CExtControlBar::__EIF_FOCUS_INSIDE) != 0;
}

bool CExtBarNcAreaButton::IsBarCustomizeMode() const
{
    return m_pBar != NULL && m_pBar->IsCustomizeModeActive();
}

void CExtBarNcAreaButton::OnNcAreaReposition(CExtBarNcAreaButton* pPrevVisible)
{
    RECT rcCaption;
    bool bGripperAtTop = false;
    if (!GetBarNcAreaInfo(&rcCaption, NULL, &bGripperAtTop))
        return;
    RECT rc = rcCaption;
    if (bGripperAtTop)
    {
        // Square buttons from the right end of the caption leftwards.
        rc.left += 2;
        rc.top += 4;
        rc.right -= 2;
        rc.bottom -= 3;
        rc.left = rc.right - (rc.bottom - rc.top);
        ::OffsetRect(&rc, -1, 0);
        if (pPrevVisible != NULL)
            ::OffsetRect(&rc, (pPrevVisible->m_rc.left - 3) - rc.right, 0);
    }
    else
    {
        // Square buttons from the top of the caption downwards.
        ::InflateRect(&rc, -3, -2);
        rc.bottom = rc.top + (rc.right - rc.left);
        ::OffsetRect(&rc, 0, 1);
        if (pPrevVisible != NULL)
            ::OffsetRect(&rc, 0, (pPrevVisible->m_rc.bottom + 3) - rc.top);
    }
    m_rc = rc;
}

bool CExtBarNcAreaButton::OnQueryVisibility() const
{
    if (!BarWindowExists(m_pBar))
        return false;
    if (!m_pBar->IsVisible())
    {
        bool bShownInSlider = false;
        return IsBarAutoHiddenAndShown(&bShownInSlider) && bShownInSlider;
    }
    RECT rcCaption;
    return GetBarNcAreaInfo(&rcCaption) && !::IsRectEmpty(&rcCaption);
}

void CExtBarNcAreaButton::OnNcAreaDraw(CDC&) {}

void CExtBarNcAreaButton::TrackHoverAndPress(bool bInside)
{
    if (!bInside)
    {
        ClearHoverAndPressed();
        return;
    }
    m_nFlags |= __EBNBF_HOVER;
    if (::GetKeyState(VK_LBUTTON) < 0 && ::GetKeyState(VK_MBUTTON) >= 0 && ::GetKeyState(VK_RBUTTON) >= 0)
        m_nFlags |= __EBNBF_PRESSED;
}

UINT CExtBarNcAreaButton::OnNcAreaHitTest(CPoint point)
{
    const bool bInside = PtInButton(point);
    TrackHoverAndPress(bInside);
    return bInside ? HTNOWHERE : HTCLIENT;
}

HCURSOR CExtBarNcAreaButton::OnNcAreaQueryCursor(CPoint point)
{
    return PtInButton(point) ? CExtControlBar::g_hCursorArrow : NULL;
}

bool CExtBarNcAreaButton::OnNcAreaClicked(CPoint point) { return PtInButton(point); }

INT_PTR CExtBarNcAreaButton::OnToolHitTest(CPoint, TOOLINFO*) { return -1; }

void CExtBarNcAreaButton::PaintGlyph(CDC& dc, int nGlyph)
{
    if (::IsRectEmpty(&m_rc) || m_pBar == NULL)
        return;
    const bool bMenuTracking = CExtPopupMenuWnd::IsMenuTracking() != FALSE;
    bool bActive = false;
    if (m_pBar->AutoHideModeGet())
        IsBarAutoHiddenAndShown(NULL, &bActive);
    else
        bActive = IsBarActive();
    if (m_pBar->IsKindOf(RUNTIME_CLASS(CExtToolControlBar)))
        bActive = false;
    const bool bEnabled = !IsDisabled();
    const bool bLive = bEnabled && !bMenuTracking && (m_nFlags & __EBNBF_PAINT_ELSEWHERE) == 0;
    const bool bHover = bLive && IsHover();
    const bool bPressed = bLive && IsPressed();
    const bool bResizableLook = !(m_pBar->IsFixedMode() && (m_nFlags & __EBNBF_PAINT_ELSEWHERE) == 0);
    CExtPaintManager::PAINTGLYPHBUTTONDATA _pgbd(this, m_rc, nGlyph, bHover, bPressed, bEnabled, bResizableLook,
                                                 bActive, m_pBar->IsFloating());
    m_pBar->GetPaintManager()->DrawGlyphButton(dc, _pgbd);
}

void CExtBarNcAreaButton::DrawInWindowDC(CDC& dc, CWnd* pWnd, const RECT* prc)
{
    if (prc == NULL || ::IsRectEmpty(prc) || pWnd == NULL || pWnd->GetSafeHwnd() == NULL ||
        !BarWindowExists(m_pBar))
        return;
    CRect rcBar;
    m_pBar->GetWindowRect(&rcBar);
    CPoint ptClient(0, 0);
    pWnd->ClientToScreen(&ptClient);
    const CPoint ptShift = rcBar.TopLeft() - ptClient;
    POINT ptOld;
    ::OffsetViewportOrgEx(dc.GetSafeHdc(), ptShift.x, ptShift.y, &ptOld);
    m_nFlags |= __EBNBF_PAINT_ELSEWHERE;
    OnNcAreaDraw(dc);
    m_nFlags &= ~__EBNBF_PAINT_ELSEWHERE;
    ::SetViewportOrgEx(dc.GetSafeHdc(), ptOld.x, ptOld.y, NULL);
}

INT_PTR CExtBarNcAreaButton::FillToolInfo(TOOLINFO* pTI, LPCTSTR sText)
{
    if (m_pBar == NULL)
        return -1;
    if (m_pBar->AutoHideModeGet() && m_pBar->GetBarTipWnd() == NULL)
        return 0;
    if (pTI == NULL || !BarWindowExists(m_pBar))
        return -1;
    CWnd* pRefWnd = m_pBar;
    if (m_pBar->IsFloating() && m_pBar->GetParentFrame() != NULL)
        pRefWnd = m_pBar->GetParentFrame();
    else if (m_pBar->GetAutoHideSliderShowingBar() != NULL)
        pRefWnd = m_pBar->GetAutoHideSliderShowingBar();  // the button lies on the slider
    CRect rcWnd, rcClient;
    pRefWnd->GetWindowRect(&rcWnd);
    pRefWnd->GetClientRect(&rcClient);
    pRefWnd->ClientToScreen(&rcClient);
    RECT rc = m_rc;
    ::OffsetRect(&rc, rcWnd.left - rcClient.left, rcWnd.top - rcClient.top);
    pTI->rect = rc;
    pTI->hwnd = pRefWnd->m_hWnd;
    pTI->uId = UINT_PTR(m_pBar->GetDlgCtrlID());
    const char* s = (sText != NULL) ? sText : "";
    const size_t nLen = ::strlen(s) + 1;
    char* pCopy = static_cast<char*>(::malloc(nLen));
    if (pCopy != NULL)
        ::memcpy(pCopy, s, nLen);
    pTI->lpszText = (pCopy != NULL) ? pCopy : LPSTR_TEXTCALLBACK;
    return INT_PTR(m_pBar->GetDlgCtrlID());
}

INT_PTR CExtBarNcAreaButton::ToolHitTestWithText(TOOLINFO* pTI, UINT nTextId, LPCTSTR sDefault)
{
    CString sText;
    if (!g_CurrentResourceManager->LoadString(sText, nTextId))
        sText = sDefault;
    return FillToolInfo(pTI, sText);
}

// ---- Close ----------------------------------------------------------------------------

CExtBarNcAreaButtonClose::CExtBarNcAreaButtonClose(CExtControlBar* pBar) : CExtBarNcAreaButton(pBar) {}

bool CExtBarNcAreaButtonClose::OnQueryVisibility() const
{
    if (!CExtBarNcAreaButton::OnQueryVisibility() || !m_pBar->IsHidingAllowed())
        return false;
    return !m_pBar->IsFixedMode() || m_pBar->IsFloating();
}

void CExtBarNcAreaButtonClose::OnNcAreaDraw(CDC& dc) { PaintGlyph(dc, 1); }

UINT CExtBarNcAreaButtonClose::OnNcAreaHitTest(CPoint point)
{
    return (CExtBarNcAreaButton::OnNcAreaHitTest(point) == HTCLIENT) ? HTCLIENT : HTMINBUTTON;
}

bool CExtBarNcAreaButtonClose::OnNcAreaClicked(CPoint point)
{
    if (!PtInButton(point) || !BarWindowExists(m_pBar))
        return false;
    ClearHoverAndPressed();
    if (!m_pBar->IsFixedMode() && m_pBar->AutoHideModeGet())
    {
        m_pBar->AutoHideModeSet(false, false, true, true);
        if (BarWindowExists(m_pBar))
            m_pBar->ShowBar(false, false, false);
        return true;
    }
    m_pBar->ShowBar(false, false, m_pBar->IsCloseActiveTabOnly());
    return true;
}

INT_PTR CExtBarNcAreaButtonClose::OnToolHitTest(CPoint, TOOLINFO* pTI)
{
    return ToolHitTestWithText(pTI, 30048, "Hide");
}

// ---- Auto Hide ------------------------------------------------------------------------

CExtBarNcAreaButtonAutoHide::CExtBarNcAreaButtonAutoHide(CExtControlBar* pBar) : CExtBarNcAreaButton(pBar) {}

void CExtBarNcAreaButtonAutoHide::OnNcAreaReposition(CExtBarNcAreaButton* pPrevVisible)
{
    if (m_pBar != NULL && !m_pBar->AutoHideModeGet())
        ClearHoverAndPressed();
    CExtBarNcAreaButton::OnNcAreaReposition(pPrevVisible);
}

bool CExtBarNcAreaButtonAutoHide::OnQueryVisibility() const
{
    if (!CExtBarNcAreaButton::OnQueryVisibility() || !m_pBar->IsAutoHidingAllowed() || m_pBar->IsFixedMode() ||
        m_pBar->IsFloating())
        return false;
    // Only a toolkit dock bar whose side has an auto-hide area can take the bar in.
    if (m_pBar->m_pDockBar == NULL || !CExtPaintManagerHolder::IsKindOfByName(m_pBar->m_pDockBar, "CExtDockBar") ||
        !HasAutoHideArea(m_pBar))
        return false;
    CFrameWnd* pFrame = m_pBar->GetParentFrame();
    return pFrame == NULL || !pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd));
}

void CExtBarNcAreaButtonAutoHide::OnNcAreaDraw(CDC& dc)
{
    PaintGlyph(dc, (m_pBar != NULL && m_pBar->AutoHideModeGet()) ? 11 : 10);
}

UINT CExtBarNcAreaButtonAutoHide::OnNcAreaHitTest(CPoint point)
{
    return (CExtBarNcAreaButton::OnNcAreaHitTest(point) == HTCLIENT) ? HTCLIENT : HTMINBUTTON;
}

bool CExtBarNcAreaButtonAutoHide::OnNcAreaClicked(CPoint point)
{
    if (!PtInButton(point) || !BarWindowExists(m_pBar))
        return false;
    ClearHoverAndPressed();
    // A page pins or unpins its whole tabbed group.
    CExtControlBar* pTarget = m_pBar;
    if (m_pBar->m_pDockBar != NULL && CExtPaintManagerHolder::IsKindOfByName(m_pBar->m_pDockBar, "CExtDockDynTabBar"))
    {
        CExtControlBar* pGroup = DYNAMIC_DOWNCAST(CExtControlBar, m_pBar->m_pDockBar->GetParent());
        if (pGroup != NULL)
            pTarget = pGroup;
    }
    pTarget->AutoHideModeSet(!pTarget->AutoHideModeGet(), false, true, false);
    return true;
}

INT_PTR CExtBarNcAreaButtonAutoHide::OnToolHitTest(CPoint, TOOLINFO* pTI)
{
    return ToolHitTestWithText(pTI, 30056, "Auto Hide");
}

// ---- Options --------------------------------------------------------------------------

CExtBarNcAreaButtonMenu::CExtBarNcAreaButtonMenu(CExtControlBar* pBar) : CExtBarNcAreaButton(pBar) {}

bool CExtBarNcAreaButtonMenu::OnQueryXpLook() const { return false; }

bool CExtBarNcAreaButtonMenu::OnQueryVisibility() const
{
    if (!CExtBarNcAreaButton::OnQueryVisibility() || !m_pBar->IsMenuButtonAllowed())
        return false;
    return m_pBar->IsFixedMode() && m_pBar->IsFloating();
}

void CExtBarNcAreaButtonMenu::OnNcAreaDraw(CDC& dc)
{
    if (IsBarCustomizeMode())
        ClearHoverAndPressed();
    PaintGlyph(dc, 3);
}

UINT CExtBarNcAreaButtonMenu::OnNcAreaHitTest(CPoint point)
{
    if (IsBarCustomizeMode())
        return HTCLIENT;
    return (CExtBarNcAreaButton::OnNcAreaHitTest(point) == HTCLIENT) ? HTCLIENT : HTMINBUTTON;
}

bool CExtBarNcAreaButtonMenu::OnNcAreaClicked(CPoint point)
{
    if (!PtInButton(point) || !BarWindowExists(m_pBar))
        return false;
    ClearHoverAndPressed();
    if (IsBarCustomizeMode() || CExtControlBar::IsFrameInHelpMode(m_pBar))
        return true;
    CFrameWnd* pFrame = m_pBar->GetDockingFrame();
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pFrame != NULL ? pFrame->GetSafeHwnd() : NULL))
    {
        delete pPopup;
        return false;
    }
    const POINT ptCursor = {-1, -1};
    CExtControlBar::POPUP_MENU_EVENT_DATA _pmed(10, pPopup, m_pBar, ptCursor, WM_NCLBUTTONDOWN, this);
    if (!_pmed.NotifyTarget(false))
    {
        CString sText;
        if (!g_CurrentResourceManager->LoadString(sText, 30009))
            sText = "&Show/hide panels";
        const int nPos = pPopup->ItemGetCount();
        if (pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, sText))
        {
            CExtPopupMenuWnd* pSub = pPopup->ItemGetPopup(nPos);
            if (pSub == NULL ||
                !CExtDockBar::BuildBarsPopupMenu(pFrame, pSub, 11, m_pBar, WM_NCLBUTTONDOWN, this) ||
                pSub->ItemGetCount() == 0)
                pPopup->ItemRemove(nPos);
        }
    }
    _pmed.NotifyTarget(true);
    if (pPopup->ItemGetCount() == 0 || !BarWindowExists(m_pBar))
    {
        delete pPopup;
        return false;
    }
    // The menu opens from the centre of the button, in screen coordinates.
    CWnd* pRefWnd = m_pBar;
    if (m_pBar->IsFloating() && m_pBar->GetParentFrame() != NULL)
        pRefWnd = m_pBar->GetParentFrame();
    CRect rcRef;
    pRefWnd->GetWindowRect(&rcRef);
    CRect rcBtn(m_rc);
    rcBtn.OffsetRect(rcRef.TopLeft());
    if (CExtControlBar::QueryFocusChangingEnabled(m_pBar, m_pBar->m_hWnd))
        m_pBar->SetFocus();
    const CPoint ptTrack = rcBtn.CenterPoint();
    const UINT nTrackFlags =
        CExtPopupMenuWnd::TMF_OWNER_DRAW | CExtPopupMenuWnd::TMF_COMBINE_BY_PM | CExtPopupMenuWnd::TMF_ALIGN_BELOW;
    if (!pPopup->TrackPopupMenu(nTrackFlags, ptTrack.x, ptTrack.y, &rcBtn))
    {
        // A menu that could not be shown is not deleted by anybody else.
        delete pPopup;
        return false;
    }
    return true;
}

INT_PTR CExtBarNcAreaButtonMenu::OnToolHitTest(CPoint, TOOLINFO* pTI)
{
    return ToolHitTestWithText(pTI, 30049, "Options");
}
