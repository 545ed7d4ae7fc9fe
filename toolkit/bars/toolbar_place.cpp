// The toolbar's placing run: every button gets its rectangle and shown state, the
// buttons that pass the bar's end go behind the chevron, and rows are centred.
#include "toolkit/bars/toolbar.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/bars/bar_mdi_buttons.h"
#include <algorithm>

namespace {
const DWORD TBBS_HIDDEN_BIT = 0x80000;
const DWORD TBBS_DISABLED_BIT = 0x40000;
}  // namespace

struct CExtToolControlBar::PlaceRun
{
    int nType;
    bool bHorz;       // rows run horizontally by the alignment style
    bool bFloating;   // the floating layout (also outside a frame)
    bool bMulti;
    bool bPanel;
    bool bVertical;   // buttons measured and stacked vertically
    CRect rcClient;
    int nAvailRight, nAvailBottom;
    CSize sizeDefault;
    int nSpacing;
    int nCount;  // buttons without the chevron
    int x, y, nRowExtent;
    bool bHiddenMark;
    CArray<bool, bool> arrShown;
    CArray<bool, bool> arrSep;
    CArray<CRect, CRect&> arrRects;

    int Extent(int i) const { return bVertical && !bPanel ? arrRects[i].Height() : arrRects[i].Width(); }
    int& Cursor() { return bVertical && !bPanel ? y : x; }
};

void CExtToolControlBar::RecalcButtonPositions()
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd) || GetButtonsCount() == 0)
        return;
    PlaceRun run;
    run.nType = GetLayoutType();
    run.bHorz = IsHorzByStyle();
    run.bFloating = run.nType == __LAYOUT_FLOATING;
    run.bMulti = IsMultiRowLayout();
    run.bPanel = IsPanelBar();
    run.bVertical = !run.bHorz && !run.bPanel;
    GetClientRect(&run.rcClient);
    if (!run.bFloating && run.bMulti)
    {
        const int nThemeId = GetPaintManager()->GetThemeId();
        const int k = (nThemeId == 29901 || nThemeId == 29902) ? 1 : 0;
        if (run.bHorz)
            run.rcClient.OffsetRect(0, 2 - k);
        else
            run.rcClient.OffsetRect(k - 2, 0);
    }
    run.nAvailRight = run.rcClient.right;
    run.nAvailBottom = run.rcClient.bottom;
    run.sizeDefault = GetDefaultButtonSize();
    run.nSpacing = GetPaintManager()->GetToolbarSpacing(this);
    run.nCount = GetButtonsCount();
    if (m_pRightBtn != NULL && m_buttons[run.nCount - 1] == m_pRightBtn)
        run.nCount--;
    run.bHiddenMark = false;

    CClientDC dc(this);
    CFont* pFont = GetBarFont(run.bVertical, true);
    CFont* pOldFont = (pFont != NULL && pFont->GetSafeHandle() != NULL) ? dc.SelectObject(pFont) : NULL;

    PlaceChevron(run, dc);
    if (run.nCount > 0 || m_pRightBtn == NULL)
    {
        PlaceButtons(run, dc);
        if (run.bHiddenMark)
            HideEdgeSeparators(run);
        if (IsRightToLeftLayout() && (run.bHorz || run.bPanel))
            ShiftRightToLeft(run);
        ApplyRows(run);
        CenterAndStretch(run);
        UpdateHiddenList(run);
        ApplyToolbarOffset(run);
    }
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}

void CExtToolControlBar::PlaceChevron(PlaceRun& run, CDC& dc)
{
    if (m_pRightBtn == NULL)
        return;
    m_pRightBtn->GetButtons().RemoveAll();
    m_pRightBtn->SetLayoutFlag(true);
    const CSize sizeChevron = m_pRightBtn->MeasureButton(dc, run.sizeDefault, !run.bVertical);
    if (!run.bFloating && !run.bPanel)
    {
        CRect rc = run.rcClient;
        if (run.bHorz)
            rc.left = rc.right - sizeChevron.cx;
        else
            rc.top = rc.bottom - sizeChevron.cy;
        if (run.bMulti)
        {
            const int nThemeId = GetPaintManager()->GetThemeId();
            const int nShift = (nThemeId == 29901 || nThemeId == 29902) ? 1 : (nThemeId == 29910 ? 2 : 0);
            if (run.bHorz)
                rc.OffsetRect(0, -nShift);
            else
                rc.OffsetRect(nShift, 0);
        }
        m_pRightBtn->SetVisible(true);
        m_pRightBtn->SetRect(rc);
        // No theme of this toolkit keeps a margin round the chevron.
        if (run.bHorz)
            run.nAvailRight -= sizeChevron.cx;
        else
            run.nAvailBottom -= sizeChevron.cy;
        return;
    }
    m_pRightBtn->SetVisible(false);
    m_pRightBtn->SetRect(CRect(run.rcClient.TopLeft(), sizeChevron));
}

void CExtToolControlBar::PlaceButtons(PlaceRun& run, CDC& dc)
{
    run.arrShown.SetSize(run.nCount);
    run.arrSep.SetSize(run.nCount);
    run.arrRects.SetSize(run.nCount);
    const bool bColumnsLeftwards = run.bVertical && run.bMulti;
    run.x = bColumnsLeftwards ? run.rcClient.right : run.rcClient.left;
    run.y = run.rcClient.top;
    run.nRowExtent = bColumnsLeftwards ? run.sizeDefault.cx : run.sizeDefault.cy;
    const bool bRowsByWrap = run.bFloating || run.bMulti || run.bPanel;
    int nLastShown = -1;
    for (int i = 0; i < run.nCount; i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        const bool bSep = pTBB->IsSeparator();
        run.arrSep[i] = bSep;
        run.arrShown[i] = false;
        run.arrRects[i].SetRectEmpty();
        if (!IsButtonCounted(i) || (bSep && (i == 0 || (nLastShown >= 0 && run.arrSep[nLastShown]))))
            continue;
        const CSize sizeTBB = pTBB->MeasureButton(dc, run.sizeDefault, !run.bVertical);
        CRect rc(CPoint(run.x, run.y), sizeTBB);
        if (bColumnsLeftwards)
            rc.OffsetRect(-sizeTBB.cx, 0);
        run.arrRects[i] = rc;
        run.arrShown[i] = true;
        nLastShown = i;
        run.nRowExtent = std::max<int>(run.nRowExtent, (int)(bColumnsLeftwards ? sizeTBB.cx : sizeTBB.cy));
        if (bRowsByWrap && pTBB->IsWrap(run.nType))
        {
            if (bColumnsLeftwards)
            {
                run.y = run.rcClient.top;
                run.x -= run.nRowExtent + run.nSpacing;
                run.nRowExtent = run.sizeDefault.cx;
            }
            else
            {
                run.x = run.rcClient.left;
                run.y += run.nRowExtent + run.nSpacing;
                run.nRowExtent = run.sizeDefault.cy;
            }
            continue;
        }
        run.Cursor() += run.bVertical ? sizeTBB.cy : sizeTBB.cx;
        const int nEdge = run.bVertical ? run.nAvailBottom : run.nAvailRight;
        if (!run.bMulti && run.Cursor() > nEdge)
        {
            ResolveOverflow(run, i);
            if (!run.arrShown[i])
                nLastShown = -1;
            for (int j = i; j >= 0 && nLastShown < 0; j--)
                if (run.arrShown[j])
                    nLastShown = j;
        }
    }
}

void CExtToolControlBar::ResolveOverflow(PlaceRun& run, int nCurrent)
{
    const int nEdge = run.bVertical ? run.nAvailBottom : run.nAvailRight;
    const int nOverflow = run.Cursor() - nEdge;
    int nBest = nCurrent;
    int nBestRemainder = nOverflow - run.Extent(nCurrent);
    for (int j = nCurrent - 1; j >= 0; j--)
    {
        if (!run.arrShown[j] || run.arrSep[j])
            continue;
        const int nExtent = run.Extent(j);
        const int nRemainder = nOverflow - nExtent;
        if (nExtent <= nOverflow && nRemainder < nBestRemainder)
        {
            nBest = j;
            nBestRemainder = nRemainder;
        }
    }
    CArray<CExtBarButton*, CExtBarButton*>* pHidden = m_pRightBtn != NULL ? &m_pRightBtn->GetButtons() : NULL;
    auto addHidden = [&](int nIndex) {
        if (pHidden == NULL)
            return;
        CExtBarButton* pTBB = m_buttons[nIndex];
        INT_PTR nAt = pHidden->GetSize();
        for (INT_PTR k = 0; k < pHidden->GetSize(); k++)
            if (GetButtonIndex((*pHidden)[k]) > nIndex)
            {
                nAt = k;
                break;
            }
        pHidden->InsertAt(nAt, pTBB);
    };
    if (nBest == nCurrent)
    {
        run.arrShown[nCurrent] = false;
        run.Cursor() -= run.Extent(nCurrent);
        addHidden(nCurrent);
    }
    else
    {
        int nShift = run.Extent(nBest);
        run.arrShown[nBest] = false;
        addHidden(nBest);
        // A button between two separators takes the one before it along.
        int nPrevShown = -1, nNextShown = -1;
        for (int k = nBest - 1; k >= 0 && nPrevShown < 0; k--)
            if (run.arrShown[k])
                nPrevShown = k;
        for (int k = nBest + 1; k <= nCurrent && nNextShown < 0; k++)
            if (run.arrShown[k])
                nNextShown = k;
        if (nPrevShown >= 0 && nNextShown >= 0 && run.arrSep[nPrevShown] && run.arrSep[nNextShown])
        {
            nShift += run.Extent(nPrevShown);
            run.arrShown[nPrevShown] = false;
        }
        for (int k = nBest + 1; k <= nCurrent; k++)
        {
            if (!run.arrShown[k])
                continue;
            if (run.bVertical)
                run.arrRects[k].OffsetRect(0, -nShift);
            else
                run.arrRects[k].OffsetRect(-nShift, 0);
        }
        run.Cursor() -= nShift;
    }
    if (!run.bFloating && !run.bPanel)
        run.bHiddenMark = true;
}

void CExtToolControlBar::HideEdgeSeparators(PlaceRun& run)
{
    int nLeadingShift = 0;
    for (int i = 0; i < run.nCount; i++)
    {
        if (!run.arrShown[i])
            continue;
        if (!run.arrSep[i])
            break;
        run.arrShown[i] = false;
        nLeadingShift += run.Extent(i);
    }
    for (int i = run.nCount - 1; i >= 0; i--)
    {
        if (!run.arrShown[i])
            continue;
        if (!run.arrSep[i])
            break;
        run.arrShown[i] = false;
    }
    if (nLeadingShift == 0)
        return;
    for (int i = 0; i < run.nCount; i++)
    {
        if (!run.arrShown[i])
            continue;
        if (run.bVertical)
            run.arrRects[i].OffsetRect(0, -nLeadingShift);
        else
            run.arrRects[i].OffsetRect(-nLeadingShift, 0);
    }
}

void CExtToolControlBar::ShiftRightToLeft(PlaceRun& run)
{
    const bool bRowsByWrap = run.bFloating || run.bMulti || run.bPanel;
    int nGroupStart = 0;
    int nGroupWidth = 0;
    int nDocOffset = 0;
    for (int i = 0; i < run.nCount; i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        const bool bRight = pTBB->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton));
        const bool bDoc = !bRight && pTBB->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton));
        if (bDoc)
        {
            const int nWidth = run.arrRects[i].Width();
            nDocOffset = nWidth != 0 ? -nWidth : -20;
            nGroupStart = i + 1;
            continue;
        }
        if (run.arrShown[i])
            nGroupWidth += run.arrRects[i].Width();
        const bool bEnd = (bRowsByWrap && pTBB->IsWrap(run.nType)) || bRight || i == run.nCount - 1;
        if (!bEnd)
            continue;
        const int nShift = run.nAvailRight - run.rcClient.left - nGroupWidth + nDocOffset - 7;
        for (int k = nGroupStart; k <= i; k++)
        {
            CExtBarButton* pK = m_buttons[k];
            const bool bPlainDoc = pK->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)) &&
                                   !pK->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton));
            if (!run.arrShown[k] || bPlainDoc)
                continue;
            run.arrRects[k].OffsetRect(nShift, 0);
        }
        nGroupStart = i + 1;
        nGroupWidth = 0;
        nDocOffset = 0;
    }
}

void CExtToolControlBar::ApplyRows(PlaceRun& run)
{
    const bool bVertRows = (run.nType == __LAYOUT_DOCKED_VERT && !run.bPanel) || (run.bVertical && run.bMulti);
    const bool bRowsByWrap = run.bFloating || run.bMulti || run.bPanel;
    int nRowStart = 0;
    while (nRowStart < run.nCount)
    {
        int nRowEnd = run.nCount - 1;
        if (bRowsByWrap)
            for (int i = nRowStart; i < run.nCount; i++)
                if (m_buttons[i]->IsWrap(run.nType))
                {
                    nRowEnd = i;
                    break;
                }
        int nExtent = 0;
        for (int i = nRowStart; i <= nRowEnd; i++)
            if (run.arrShown[i] && !run.arrSep[i])
                nExtent = std::max<int>(nExtent, bVertRows ? run.arrRects[i].Width() : run.arrRects[i].Height());
        for (int i = nRowStart; i <= nRowEnd; i++)
        {
            CExtBarButton* pTBB = m_buttons[i];
            CRect& rc = run.arrRects[i];
            pTBB->SetVisible(run.arrShown[i]);
            if (run.arrShown[i])
            {
                if (run.arrSep[i])
                {
                    if (bVertRows)
                        rc.left = rc.right - nExtent;
                    else
                        rc.bottom = rc.top + nExtent;
                }
                else if (bVertRows)
                    rc.OffsetRect((nExtent - rc.Width()) / 2, 0);
                else
                    rc.OffsetRect(0, (nExtent - rc.Height()) / 2);
                if (run.bFloating)
                    rc.OffsetRect(2, 1);
            }
            pTBB->SetRect(rc);
        }
        nRowStart = nRowEnd + 1;
    }
}

void CExtToolControlBar::CenterAndStretch(PlaceRun& run)
{
    if (run.bPanel)
        return;
    const bool bVertRows = (run.nType == __LAYOUT_DOCKED_VERT) || (run.bVertical && run.bMulti);
    int nRows = 1;
    if (run.bFloating || run.bMulti)
        for (int i = 0; i < run.nCount - 1; i++)
            if (m_buttons[i]->IsWrap(run.nType))
                nRows++;
    if (!run.bFloating && !run.bMulti && nRows == 1)
    {
        // One docked row: centred across the bar's thickness.
        for (int i = 0; i < run.nCount; i++)
        {
            if (!run.arrShown[i])
                continue;
            CExtBarButton* pTBB = m_buttons[i];
            CRect rc = pTBB->GetRect();
            if (bVertRows)
                rc.OffsetRect(run.rcClient.left + (run.rcClient.Width() - rc.Width()) / 2 - rc.left, 0);
            else
                rc.OffsetRect(0, run.rcClient.top + (run.rcClient.Height() - rc.Height()) / 2 - rc.top);
            pTBB->SetRect(rc);
        }
        return;
    }
    // Separators span their row from its first to its last edge.
    int nRowStart = 0;
    while (nRowStart < run.nCount)
    {
        int nRowEnd = run.nCount - 1;
        for (int i = nRowStart; i < run.nCount; i++)
            if (m_buttons[i]->IsWrap(run.nType))
            {
                nRowEnd = i;
                break;
            }
        int nLo = INT_MAX, nHi = INT_MIN;
        for (int i = nRowStart; i <= nRowEnd; i++)
        {
            if (!run.arrShown[i])
                continue;
            const CRect rc = m_buttons[i]->GetRect();
            nLo = std::min<int>(nLo, (int)(bVertRows ? rc.left : rc.top));
            nHi = std::max<int>(nHi, (int)(bVertRows ? rc.right : rc.bottom));
        }
        for (int i = nRowStart; i <= nRowEnd && nLo < nHi; i++)
        {
            if (!run.arrShown[i] || !run.arrSep[i])
                continue;
            CRect rc = m_buttons[i]->GetRect();
            if (bVertRows)
            {
                rc.left = nLo;
                rc.right = nHi;
            }
            else
            {
                rc.top = nLo;
                rc.bottom = nHi;
            }
            m_buttons[i]->SetRect(rc);
        }
        nRowStart = nRowEnd + 1;
    }
}

void CExtToolControlBar::UpdateHiddenList(PlaceRun& run)
{
    if (m_pRightBtn == NULL)
        return;
    CArray<CExtBarButton*, CExtBarButton*>& arrHidden = m_pRightBtn->GetButtons();
    for (INT_PTR k = arrHidden.GetSize() - 1; k >= 0; k--)
        if ((arrHidden[k]->GetStyle() & TBBS_HIDDEN_BIT) != 0)
            arrHidden.RemoveAt(k);
    if ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0)
    {
        const DWORD dwStyle = m_pRightBtn->GetStyle();
        const DWORD dwNew = arrHidden.GetSize() == 0 ? (dwStyle | TBBS_DISABLED_BIT) : (dwStyle & ~TBBS_DISABLED_BIT);
        if (dwNew != dwStyle)
            m_pRightBtn->SetStyle(dwNew);
    }
    if (run.bFloating || run.bMulti || run.bPanel || arrHidden.GetSize() < 2)
        return;
    // Groups of hidden buttons keep the separator that stood between them in the bar.
    for (INT_PTR k = arrHidden.GetSize() - 1; k > 0; k--)
    {
        const int nA = GetButtonIndex(arrHidden[k - 1]);
        const int nB = GetButtonIndex(arrHidden[k]);
        if (nA < 0 || nB < 0 || nB == nA + 1 || arrHidden[k - 1]->IsSeparator() || arrHidden[k]->IsSeparator())
            continue;
        for (int i = nA + 1; i < nB; i++)
            if (m_buttons[i]->IsSeparator())
            {
                arrHidden.InsertAt(k, m_buttons[i]);
                break;
            }
    }
}

void CExtToolControlBar::ApplyToolbarOffset(PlaceRun& run)
{
    // No theme of this toolkit offsets toolbar buttons; a panel bar keeps 2 pixels off
    // its edge across its axis.
    if (!run.bPanel)
        return;
    for (int i = 0; i < run.nCount; i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (!pTBB->IsVisible() || (pTBB->GetStyle() & TBBS_HIDDEN_BIT) != 0)
            continue;
        CRect rc = pTBB->GetRect();
        if (run.bHorz)
            rc.OffsetRect(0, 2);
        else
            rc.OffsetRect(2, 0);
        pTBB->SetRect(rc);
    }
}
