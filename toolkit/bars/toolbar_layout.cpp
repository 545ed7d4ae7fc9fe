// The toolbar's sizing: how long a row may be in each layout, where the rows break, and
// the size the bar asks for. Docked bars keep one row (or column) and hide the rest
// behind the chevron; floating bars, and bars outside a frame, wrap into rows.
#include "toolkit/bars/toolbar.h"
#include "toolkit/bars/chevron_button.h"
#include <algorithm>

namespace {

// A client DC of the bar with the bar font of one orientation selected, restored when it
// goes out of scope.
class CBarFontDC : public CClientDC
{
public:
    CBarFontDC(CExtToolControlBar* pBar, bool bVertical) : CClientDC(pBar), m_pOld(NULL)
    {
        CFont* pFont = pBar->GetBarFont(bVertical, true);
        if (pFont != NULL && pFont->GetSafeHandle() != NULL)
            m_pOld = SelectObject(pFont);
    }
    ~CBarFontDC()
    {
        if (m_pOld != NULL)
            SelectObject(m_pOld);
    }

private:
    CFont* m_pOld;
};

const DWORD TBBS_HIDDEN_BIT = 0x80000;

}  // namespace

bool CExtToolControlBar::IsButtonCounted(int nIndex) const
{
    const CExtBarButton* pTBB = m_buttons[nIndex];
    if ((pTBB->GetStyle() & TBBS_HIDDEN_BIT) != 0)
        return false;
    // A separator goes with the hidden button after it.
    if (pTBB->IsSeparator() && nIndex + 1 < GetButtonsCount() &&
        (m_buttons[nIndex + 1]->GetStyle() & TBBS_HIDDEN_BIT) != 0)
        return false;
    return true;
}

void CExtToolControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    if (!const_cast<CExtToolControlBar*>(this)->UpdateMetricsFromPaintManager())
    {
        CExtControlBar::CalcInsideRect(rect, bHorz);
        return;
    }
    if ((m_dwStyle & CBRS_BORDER_LEFT) != 0)
        rect.left += AfxGetCxBorder2();
    if ((m_dwStyle & CBRS_BORDER_TOP) != 0)
        rect.top += AfxGetCyBorder2();
    if ((m_dwStyle & CBRS_BORDER_RIGHT) != 0)
        rect.right -= AfxGetCxBorder2();
    if ((m_dwStyle & CBRS_BORDER_BOTTOM) != 0)
        rect.bottom -= AfxGetCyBorder2();
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
}

CSize CExtToolControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0), -1);
}

CSize CExtToolControlBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && (dwMode & (LM_MRUWIDTH | LM_COMMIT)) == 0 && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) != 0)
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    return CalcLayout(dwMode, nLength);
}

CSize CExtToolControlBar::CalcLayout(DWORD dwMode, int nLength)
{
    if ((m_nLayoutState & __TBLS_RELAYOUT) == 0)
        m_nLayoutState &= ~__TBLS_FULL_ROW;
    CSize size = GetDefaultButtonSize();
    if (GetButtonsCount() > 0 && m_hWnd != NULL)
    {
        if (m_pRightBtn != NULL)
            m_pRightBtn->SetLayoutFlag(false);
        const BOOL bHorz = (dwMode & LM_HORZ) != 0;
        int nWrapLength = bHorz ? 32767 : 0;
        BOOL bVertFit = FALSE;
        if ((m_dwStyle & CBRS_SIZE_DYNAMIC) != 0)
        {
            if ((dwMode & LM_MRUWIDTH) != 0)
                nWrapLength = (int)m_nMRUWidth;
            else if ((dwMode & LM_HORZDOCK) != 0)
                nWrapLength = 32767;
            else if ((dwMode & LM_VERTDOCK) != 0)
                nWrapLength = 0;
            else if (nLength != -1)
            {
                CRect rcInside(0, 0, 0, 0);
                CalcInsideRect(rcInside, bHorz);
                const bool bLengthY = (dwMode & LM_LENGTHY) != 0;
                nWrapLength = nLength + (bLengthY ? rcInside.Height() : rcInside.Width());
                bVertFit = bLengthY ? TRUE : FALSE;
            }
            else if ((m_dwStyle & CBRS_FLOATING) != 0)
                nWrapLength = (int)m_nMRUWidth;
        }
        const bool bMulti = IsMultiRowLayout();
        CRect rcAvail(0, 0, 0, 0);
        if (bMulti)
        {
            if (m_pDockBar != NULL)
                rcAvail = m_pDockBar->m_rectLayout;
            else if (GetParent() != NULL)
                GetParent()->GetClientRect(&rcAvail);
        }
        if (bMulti && !bHorz && !IsPanelBar())
        {
            nWrapLength = rcAvail.Height();
            bVertFit = TRUE;
        }
        SizeToolBar(nWrapLength, bVertFit);
        size = CalcSize(!bHorz);

        if ((m_dwStyle & CBRS_SIZE_DYNAMIC) != 0 && bMulti && !IsPanelBar())
        {
            // Fit the rows into the dock row: shorten the wrap length to the room left.
            CSize sizeReserve(6, 6);
            if (m_pRightBtn != NULL && m_pRightBtn->IsVisible())
            {
                if (bHorz)
                    sizeReserve.cx += m_pRightBtn->GetSize().cx;
                else
                    sizeReserve.cy += m_pRightBtn->GetSize().cy;
            }
            int nNewLength = nWrapLength;
            if (bHorz && size.cx + sizeReserve.cx > rcAvail.Width())
                nNewLength = rcAvail.Width() - sizeReserve.cx;
            else if (!bHorz && size.cy + sizeReserve.cy > rcAvail.Height())
                nNewLength = rcAvail.Height() - sizeReserve.cy;
            nNewLength = std::max<int>(nNewLength, 1);
            if (nNewLength != nWrapLength && (m_nLayoutState & __TBLS_RELAYOUT) == 0)
            {
                m_nLayoutState |= __TBLS_FULL_ROW | __TBLS_RELAYOUT;
                size = CalcLayout(dwMode, nNewLength);
                if (nWrapLength != 32767)
                    RecalcButtonPositions();
                m_nLayoutState &= ~__TBLS_RELAYOUT;
                return size;
            }
            if (nWrapLength != 32767)
                RecalcButtonPositions();
        }

        if (m_pRightBtn != NULL && m_pRightBtn->GetButtons().GetSize() == 0)
        {
            m_pRightBtn->SetLayoutFlag(true);
            size = CalcSize(!bHorz);
        }
        if ((dwMode & LM_COMMIT) != 0 && (m_dwStyle & (CBRS_SIZE_DYNAMIC | CBRS_FLOATING)) != 0 && bHorz)
            m_nMRUWidth = (UINT)size.cx;

        CRect rcInside(0, 0, 0, 0);
        CalcInsideRect(rcInside, bHorz);
        size.cx -= rcInside.Width();
        size.cy -= rcInside.Height();
        const CSize sizeStretch = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, bHorz);
        size.cx = std::max<int>(size.cx, sizeStretch.cx);
        size.cy = std::max<int>(size.cy, sizeStretch.cy);

        bool bGripperAtTop = false;
        if (IsFloating() && IsBarWithGripper(&bGripperAtTop))
        {
            const RECT* prcCaption = GetCaptionRect();
            size.cy += std::min<int>(prcCaption->right - prcCaption->left, prcCaption->bottom - prcCaption->top);
        }
    }

    switch (GetLayoutType())
    {
    case __LAYOUT_DOCKED_HORZ:
        m_sizeDockedH = size;
        m_nMinHW = size.cy;
        break;
    case __LAYOUT_DOCKED_VERT:
        m_sizeDockedV = size;
        m_nMinVH = size.cx;
        break;
    default:
        size.cx = std::max<int>(size.cx, 2 * GetDefaultButtonSize().cx);
        m_sizeFloated = size;
        break;
    }
    return WithDialogEdgeRoom(size);
}

void CExtToolControlBar::SizeToolBar(int nLength, BOOL bVert)
{
    if (IsPanelBar() || GetButtonsCount() == 0)
        return;
    const bool bMulti = IsMultiRowLayout();
    const CSize sizeDefault = GetDefaultButtonSize();
    if (GetLayoutType() != __LAYOUT_FLOATING && !bMulti)
    {
        if (bVert)
            WrapToolBar(32767, nLength);
        else
            WrapToolBar(nLength, 32767);
        return;
    }
    if (bMulti)
    {
        if (!bVert)
        {
            WrapToolBar(nLength, 32767);
            return;
        }
        int h = std::max<int>(nLength - sizeDefault.cy, (int)sizeDefault.cy);
        WrapToolBarVert(h);
        while (CalcSize(TRUE).cy > nLength)
        {
            h -= sizeDefault.cy / 2;
            if (h <= 0)
                break;
            WrapToolBarVert(h);
        }
        return;
    }
    if (!bVert)
    {
        // The narrowest width that still gives the rows the requested width gives.
        const int nTarget = WrapToolBar(nLength, 32767);
        int nLo = sizeDefault.cx / 2;
        if (WrapToolBar(nLo, 32767) != nTarget && nLo < nLength)
        {
            while (nLo < nLength)
            {
                const int nMid = (nLo + nLength) / 2;
                if (WrapToolBar(nMid, 32767) == nTarget)
                    nLength = nMid;
                else if (nLo == nMid)
                {
                    WrapToolBar(nLength, 32767);
                    break;
                }
                else
                    nLo = nMid;
            }
        }
        WrapToolBar(CalcSize(FALSE).cx, 32767);
        return;
    }
    // Height given: widen by half a button until the rows fit, but not beyond the
    // monitor's work area and one step more.
    const int nStep = std::max<int>(sizeDefault.cx / 2, 1);
    CExtPaintManager::MONITORDATA md;
    CExtPaintManager::MonitorDataFromWnd(md, this);
    const int nLimit = (md.m_rcWorkArea.right - md.m_rcWorkArea.left) + nStep;
    if (nLength == 32767)
    {
        WrapToolBar(32767, 32767);
        return;
    }
    int nWidth = nStep;
    CSize size(0, 0);
    do
    {
        WrapToolBar(nWidth, 32767);
        size = CalcSize(FALSE);
        if (nWidth > nLimit)
            return;
        nWidth += nStep;
    } while (size.cy > nLength);
    WrapToolBar(size.cx, 32767);
}

int CExtToolControlBar::WrapToolBar(int nWidth, int nHeight)
{
    const int nCount = GetButtonsCount();
    if (nCount == 0 || m_hWnd == NULL)
        return 1;
    const bool bPanel = IsPanelBar();
    const bool bVertical = !IsHorzByStyle();
    const int nType = GetLayoutType();
    const bool bWrapAllowed = nType == __LAYOUT_FLOATING || nHeight == 32767 || IsMultiRowLayout();
    CBarFontDC dc(this, bVertical && !bPanel);
    const CSize sizeDefault = GetDefaultButtonSize();
    const bool bHorzMeasure = !(bVertical && !bPanel);
    if (!bWrapAllowed && !bVertical && m_pRightBtn != NULL && !bPanel)
        nWidth -= m_pRightBtn->MeasureButton(dc, sizeDefault, true).cx;
    // A panel keeps the line breaks it was given.
    return WrapButtonLines(dc, sizeDefault, bHorzMeasure, true, nWidth, bWrapAllowed, bPanel);
}

int CExtToolControlBar::WrapToolBarVert(int nHeight)
{
    const int nCount = GetButtonsCount();
    if (nCount == 0 || m_hWnd == NULL)
        return 1;
    CBarFontDC dc(this, true);
    const CSize sizeDefault = GetDefaultButtonSize();
    if (m_pRightBtn != NULL)
        nHeight -= m_pRightBtn->MeasureButton(dc, sizeDefault, false).cy;
    return WrapButtonLines(dc, sizeDefault, false, false, nHeight, true, false);
}

int CExtToolControlBar::WrapButtonLines(CDC& dc, const CSize& sizeDefault, bool bHorzMeasure, bool bAlongX, int nLimit,
                                        bool bWrapByLength, bool bKeepGivenWraps)
{
    const int nCount = GetButtonsCount();
    const bool bPanel = IsPanelBar();
    const int nType = GetLayoutType();
    int nLines = 1;
    int nPen = 0;
    CExtBarButton* pPrev = NULL;
    for (int i = 0; i < nCount; i++)
    {
        CExtBarButton* pButton = m_buttons[i];
        if (!bPanel)
            pButton->SetWrap(nType, false);
        if (i == nCount - 1 && pButton == m_pRightBtn)
            break;
        if (!IsButtonCounted(i))
            continue;
        const CSize sizeButton = pButton->MeasureButton(dc, sizeDefault, bHorzMeasure);
        // A separator that would open a line takes no room.
        const int nButtonLen = pButton->IsSeparator() && nPen == 0 ? 0 : (bAlongX ? sizeButton.cx : sizeButton.cy);
        if (pPrev != NULL && ((bKeepGivenWraps && pPrev->IsWrap(nType)) ||
                              (bWrapByLength && nPen + nButtonLen > nLimit && !pButton->IsSeparator())))
        {
            if (!bPanel)
                pPrev->SetWrap(nType, true);
            nLines++;
            nPen = 0;
        }
        nPen += nButtonLen;
        pPrev = pButton;
    }
    return nLines;
}

CSize CExtToolControlBar::CalcSize(BOOL bVertical)
{
    const CSize sizeDefault = GetDefaultButtonSize();
    const int nCount = GetButtonsCount();
    if (nCount == 0 || m_hWnd == NULL)
        return sizeDefault;
    const bool bPanel = IsPanelBar();
    const bool bMulti = IsMultiRowLayout();
    const int nType = GetLayoutType();
    const bool bFloating = nType == __LAYOUT_FLOATING;
    const bool bVertMeasure = bVertical && !bPanel;
    CBarFontDC dc(this, bVertMeasure);
    const int nSpacing = GetPaintManager()->GetToolbarSpacing(this);

    CSize sizeTotal(0, 0);
    int x = 0, y = 0;
    int nBand = bVertMeasure && bMulti ? sizeDefault.cx : (bVertMeasure ? 0 : sizeDefault.cy);
    bool bRowBreak = false;
    for (int i = 0; i < nCount; i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (!IsButtonCounted(i))
            continue;
        CSize sizeTBB = pTBB->MeasureButton(dc, sizeDefault, !bVertMeasure);
        if (i == nCount - 1 && pTBB == m_pRightBtn)
        {
            if (bFloating && !bMulti)
                break;
            if (bMulti)
            {
                if (bVertical)
                    sizeTotal.cy += sizeTBB.cy;
                else
                    sizeTotal.cx += sizeTBB.cx;
                if (bRowBreak && !bPanel)
                    m_nLayoutState |= __TBLS_FULL_ROW;
                break;
            }
        }
        const bool bWrap = pTBB->IsWrap(nType);
        if (bVertMeasure && bMulti)
        {
            // Columns downwards, the next column to the right of the widest button.
            if (pTBB->IsSeparator() && (y == 0 || bWrap))
                sizeTBB = CSize(0, 0);
            nBand = std::max<int>(nBand, (int)sizeTBB.cx);
            sizeTotal.cx = std::max<int>(sizeTotal.cx, x + sizeTBB.cx);
            sizeTotal.cy = std::max<int>(sizeTotal.cy, y + sizeTBB.cy);
            y += sizeTBB.cy;
            if (bWrap)
            {
                x += nSpacing + nBand;
                y = 0;
                nBand = sizeDefault.cx;
                bRowBreak = true;
            }
        }
        else if (bVertMeasure)
        {
            sizeTotal.cx = std::max<int>(sizeTotal.cx, sizeTBB.cx);
            y += sizeTBB.cy;
            sizeTotal.cy = std::max<int>(sizeTotal.cy, y);
        }
        else
        {
            if (pTBB->IsSeparator() && (x == 0 || bWrap))
                sizeTBB = CSize(0, 0);
            nBand = std::max<int>(nBand, (int)sizeTBB.cy);
            sizeTotal.cx = std::max<int>(sizeTotal.cx, x + sizeTBB.cx);
            sizeTotal.cy = std::max<int>(sizeTotal.cy, y + nBand);
            x += sizeTBB.cx;
            if (bWrap)
            {
                y += nSpacing + nBand;
                x = 0;
                nBand = sizeDefault.cy;
                bRowBreak = true;
            }
        }
    }
    sizeTotal.cx = std::max<int>(sizeTotal.cx, sizeDefault.cx);
    sizeTotal.cy = std::max<int>(sizeTotal.cy, sizeDefault.cy);
    if (bVertMeasure)
        sizeTotal.cy += nSpacing;
    else
        sizeTotal.cx += nSpacing / 2;
    if (bFloating)
    {
        sizeTotal.cx += 1;
        sizeTotal.cy += 1;
    }
    return sizeTotal;
}

CSize CExtToolControlBar::GetMinSize() const
{
    CExtToolControlBar* pThis = const_cast<CExtToolControlBar*>(this);
    const bool bHorz = IsHorzByStyle() || IsPanelBar();
    CSize size(0, 0);
    if (m_hWnd == NULL)
        return size;
    CBarFontDC dc(pThis, !bHorz);
    const CSize sizeDefault = GetDefaultButtonSize();
    if (m_pRightBtn != NULL)
        size = m_pRightBtn->MeasureButton(dc, sizeDefault, bHorz);
    int nSmallest = -1;
    for (int i = 0; i < GetButtonsCount(); i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (pTBB == m_pRightBtn || pTBB->IsSeparator() || (pTBB->GetStyle() & TBBS_HIDDEN_BIT) != 0)
            continue;
        const CSize sizeTBB = pTBB->MeasureButton(dc, sizeDefault, bHorz);
        const int nExtent = bHorz ? sizeTBB.cx : sizeTBB.cy;
        if (nSmallest < 0 || nExtent < nSmallest)
            nSmallest = nExtent;
    }
    if (nSmallest > 0)
    {
        if (bHorz)
            size.cx += nSmallest;
        else
            size.cy += nSmallest;
    }
    CRect rcWnd, rcClient;
    GetWindowRect(&rcWnd);
    GetClientRect(&rcClient);
    if (bHorz)
        size.cx += rcWnd.Width() - rcClient.Width();
    else
        size.cy += rcWnd.Height() - rcClient.Height();
    return size;
}
