// Placing a popup menu: the window rectangle on the monitor's work area beside the
// exclude rectangle (the owner's item or button), flipping to the other side where there
// is no room, and the region that joins a combined menu with its owner.
#include "toolkit/menus/popup_menu_wnd.h"

#include <algorithm>

namespace {

// Moves the rectangle, without resizing it, the least that puts it inside the area.
void MoveRectInside(CRect& rc, const CRect& rcArea)
{
    if (rc.right > rcArea.right)
        rc.OffsetRect(rcArea.right - rc.right, 0);
    if (rc.left < rcArea.left)
        rc.OffsetRect(rcArea.left - rc.left, 0);
    if (rc.bottom > rcArea.bottom)
        rc.OffsetRect(0, rcArea.bottom - rc.bottom);
    if (rc.top < rcArea.top)
        rc.OffsetRect(0, rcArea.top - rc.top);
}

}  // namespace

void CExtPopupMenuWnd::CalcPlacementRect(RECT& rcWindow)
{
    for (int nPass = 0; nPass < 4; nPass++)
    {
        m_nCombineSide = 0;
        const int S = GetShadowSize();
        const bool bExclude = (m_nPbwFlags & 0x01) != 0;
        bool bCombined = (m_nPbwFlags & __PBW_FLAG_COMBINED) != 0;
        CExtPaintManager::MONITORDATA md;
        if (bExclude)
            CExtPaintManager::MonitorDataFromRect(md, m_rcWndArea);
        else if (m_pParentMenu != NULL && m_pParentMenu->GetSafeHwnd() != NULL)
            CExtPaintManager::MonitorDataFromHwnd(md, m_pParentMenu->GetSafeHwnd());
        else
            CExtPaintManager::MonitorDataFromPoint(md, m_ptTrack);
        const CRect rcA = g_bUseWorkArea ? CRect(md.m_rcWorkArea) : CRect(md.m_rcMonitor);
        CSize sizeMenu;
        CalcMenuSize(sizeMenu);
        if (IsTearOffEnabled())
            sizeMenu.cy += GetTearOffCaptionHeight();
        CRect rcM;
        GetBorderMargins(rcM);
        const int T = bCombined ? 0 : rcM.top + S;
        DWORD dwCode = m_dwTrackFlags & TMF_ALIGN_MASK;
        if (dwCode == 0 && !bCombined && m_pParentMenu != NULL && m_pParentMenu->GetSafeHwnd() != NULL)
        {
            const DWORD dwParentCode = m_pParentMenu->m_dwTrackFlags & TMF_ALIGN_MASK;
            if (dwParentCode != 0)
                m_dwTrackFlags = (m_dwTrackFlags & (TMF_ALIGN_MASK | 0x30000)) |
                                 (m_pParentMenu->m_dwTrackFlags & ~(TMF_ALIGN_MASK | 0x30000));
            else if (m_pParentMenu->m_pParentMenu != NULL && m_pParentMenu->m_pParentMenu->GetSafeHwnd() != NULL)
            {
                CRect rcParent, rcGrand;
                m_pParentMenu->GetWindowRect(&rcParent);
                m_pParentMenu->m_pParentMenu->GetWindowRect(&rcGrand);
                const int cParent = rcParent.left + (rcParent.right - rcParent.left) / 2;
                const int cGrand = rcGrand.left + (rcGrand.right - rcGrand.left) / 2;
                dwCode = (cParent < cGrand) ? 3 : 1;
                m_dwTrackFlags = (m_dwTrackFlags & ~TMF_ALIGN_MASK) | dwCode;
            }
        }
        const bool bRoot = m_pParentMenu == NULL;
        CRect R(m_ptTrack.x, m_ptTrack.y, m_ptTrack.x + sizeMenu.cx, m_ptTrack.y + sizeMenu.cy);
        int O = 0;
        if (bCombined)
        {
            if (dwCode == 4)
            {
                O = 1;
                R.OffsetRect(0, -1);
            }
            else if (dwCode == 1)
            {
                O = 1;
                R.OffsetRect(-1, 0);
            }
            else if (dwCode == 6)
            {
                O = -(S + 1);
                R.OffsetRect(0, S + 1);
            }
            else if (dwCode == 3 && (!IsLayoutRTL() || bRoot))
            {
                O = -(S + 1);
                R.OffsetRect(-O, 0);
            }
        }
        const CRect& E = m_rcWndArea;
        if (IsLayoutRTL() && (dwCode == 4 || dwCode == 6))
            R.OffsetRect(E.Width() - R.Width() + S, 0);
        if (R.bottom > rcA.bottom)
        {
            if (bExclude)
                R.OffsetRect(0, E.Height() - R.Height() + T + (bCombined ? S : 0));
            if (R.bottom > rcA.bottom)
            {
                if (bExclude)
                    R.OffsetRect(0, rcA.bottom - R.bottom);
                else
                    R.OffsetRect(0, -R.Height());
            }
        }
        if (R.top < rcA.top)
            R.OffsetRect(0, rcA.top - R.top);
        if (R.right > rcA.right)
        {
            if (!bRoot && bExclude)
                R.OffsetRect(-(E.Width() + R.Width()), 0);
            if (R.right > rcA.right)
            {
                if (bExclude)
                    R.OffsetRect(rcA.right - R.right, 0);
                else
                    R.OffsetRect(-R.Width(), 0);
            }
        }
        if (R.left < rcA.left)
        {
            if (!bRoot && bExclude)
                R.OffsetRect(E.Width() + R.Width(), 0);
            if (R.left < rcA.left)
                R.OffsetRect(rcA.left - R.left, 0);
        }
        bool bRestart = false;
        if (bExclude || bCombined)
        {
            CRect rcX;
            if (rcX.IntersectRect(&R, &E) || bCombined)
            {
                const int nRoomLeft = std::max(0, (int)(E.left - rcA.left));
                const int nRoomRight = std::max(0, (int)(rcA.right - E.right));
                const int nRoomTop = std::max(0, (int)(E.top - rcA.top));
                const int nRoomBottom = std::max(0, (int)(rcA.bottom - E.bottom));
                const int O2 = bCombined ? O : 0;
                if (dwCode == 1 && nRoomRight > R.Width())
                    R.OffsetRect(E.right - O2 - R.left, 0);
                else if (dwCode == 3 && nRoomLeft > R.Width())
                    R.OffsetRect(E.left - O2 - R.right, 0);
                else if (dwCode == 4)
                {
                    if (nRoomBottom > R.Height())
                        R.OffsetRect(0, E.bottom - O2 - R.top);
                    else
                    {
                        if (GetSafeHwnd() != NULL)
                        {
                            CRect rcOld;
                            GetWindowRect(&rcOld);
                            HWND hWnd = m_hWnd;
                            ShowWindow(SW_HIDE);
                            ReleaseAnimationResources();
                            if (!::IsWindow(hWnd))
                            {
                                ::SetRectEmpty(&rcWindow);
                                return;
                            }
                        }
                        m_dwTrackFlags = (m_dwTrackFlags & ~TMF_ALIGN_MASK) | 6;
                        m_ptTrack = CPoint(E.left, E.top - sizeMenu.cy);
                        bRestart = true;
                    }
                }
                else if (dwCode == 6 && nRoomTop > R.Height())
                    R.OffsetRect(0, E.top - O2 - R.bottom);
            }
        }
        if (bRestart)
            continue;
        const CRect rcBefore = R;
        MoveRectInside(R, rcA);
        if (bRoot && R != rcBefore)
        {
            m_nPbwFlags &= ~(0x01 | __PBW_FLAG_COMBINED);
            bCombined = false;
        }
        if (R.bottom > rcA.bottom || R.Height() > rcA.Height())
        {
            m_nMenuFlags |= __MF_SCROLLABLE;
            R.top = std::max((int)R.top, (int)rcA.top);
            R.bottom = rcA.bottom;
        }
        if (!bCombined)
        {
            m_rcMenu.SetRect(0, 0, R.Width() - S, R.Height() - S);
            rcWindow = R;
            return;
        }
        int nSide = 0;
        if (R.bottom == E.top - O)
            nSide = 2;
        if (R.top == E.bottom - O)
            nSide = 1;
        if (R.left == E.right - O)
            nSide = 4;
        if (R.right == E.left - O)
            nSide = 3;
        if (nSide == 0)
        {
            m_nPbwFlags &= ~__PBW_FLAG_COMBINED;
            continue;
        }
        m_nCombineSide = nSide;
        CRect E2(E.left, E.top, E.right + S, E.bottom + S);
        if (!bRoot)
        {
            if (nSide == 3 || nSide == 4)
                E2.bottom -= S;
            else
                E2.right -= S;
        }
        CRect U;
        U.UnionRect(&R, &E2);
        m_rgnCombined.DeleteObject();
        HRGN hR = ::CreateRectRgn(R.left - U.left, R.top - U.top, R.right - U.left, R.bottom - U.top);
        HRGN hE = ::CreateRectRgn(E2.left - U.left, E2.top - U.top, E2.right - U.left, E2.bottom - U.top);
        if (hR == NULL || hE == NULL)
        {
            if (hR != NULL)
                ::DeleteObject(hR);
            if (hE != NULL)
                ::DeleteObject(hE);
            m_nPbwFlags &= ~__PBW_FLAG_COMBINED;
            continue;
        }
        ::CombineRgn(hR, hR, hE, RGN_OR);
        ::DeleteObject(hE);
        m_rgnCombined.Attach(hR);
        m_rcMenu.SetRect(R.left - U.left, R.top - U.top, R.right - U.left - S, R.bottom - U.top - S);
        if (!bRoot)
        {
            if (nSide == 3)
                U.OffsetRect(S + 1, 0);
            else if (nSide == 4)
                U.OffsetRect(-2, 0);
        }
        rcWindow = U;
        return;
    }
    ::SetRectEmpty(&rcWindow);
}
