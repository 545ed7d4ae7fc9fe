// The toolbar in a customize site's drag and drop: a command dragged over the bar marks
// the button beside which it would go, a drop makes a button for it there, and a button
// dragged off the bar leaves it unless the drag copied it.
#include "toolkit/bars/toolbar.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/bars/bar_mdi_buttons.h"

void CExtToolControlBar::SetDropMarker(CExtBarButton* pTBB, int nSide)
{
    if (pTBB == m_pDropMarkerButton && nSide == m_nDropMarkerSide)
        return;
    const int nOld = GetButtonIndex(m_pDropMarkerButton);
    m_pDropMarkerButton = pTBB;
    m_nDropMarkerSide = pTBB != NULL ? nSide : 0;
    if (nOld >= 0)
        RedrawButton(nOld);
    if (pTBB != NULL)
        RedrawButton(GetButtonIndex(pTBB));
}

DROPEFFECT CExtToolControlBar::OnCustomizeTargetOver(CExtCustomizeSite::CCmdDragInfo& dragInfo, CPoint point,
                                                     DWORD dwKeyState)
{
    if (m_hWnd == NULL || dragInfo.m_pNode == NULL)
    {
        SetDropMarker(NULL, 0);
        return DROPEFFECT_NONE;
    }
    const DROPEFFECT de = (dwKeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    // A bar of nothing but document buttons and the chevron takes any command at its end.
    bool bOnlyService = true;
    for (int i = 0; i < GetButtonsCount() && bOnlyService; i++)
        if (m_buttons[i] != m_pRightBtn && !m_buttons[i]->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)))
            bOnlyService = false;
    if (bOnlyService)
    {
        SetDropMarker(NULL, 0);
        return de;
    }
    int nIndex = HitTestButtonEx(point.x, point.y, 0, 0, true);
    if (nIndex >= 0 && m_buttons[nIndex]->IsSeparator())
        nIndex--;  // the button left of a separator takes the drop
    if (nIndex < 0 || m_buttons[nIndex]->IsSeparator() || m_buttons[nIndex] == m_pRightBtn)
    {
        SetDropMarker(NULL, 0);
        return DROPEFFECT_NONE;
    }
    CExtBarButton* pTBB = m_buttons[nIndex];
    const int nPos = pTBB->OnCustomizeCalcDropPos(point, true);
    int nSide = 0;
    if (nPos == -1 || nPos == 1)
        nSide = nPos;
    else if (nPos == -2)
    {
        const CPoint ptCenter = pTBB->GetRect().CenterPoint();
        nSide = (IsHorzByStyle() ? point.x < ptCenter.x : point.y < ptCenter.y) ? -1 : 1;
    }
    if (nSide == 0)
    {
        SetDropMarker(NULL, 0);
        return DROPEFFECT_NONE;
    }
    SetDropMarker(pTBB, nSide);
    return de;
}

void CExtToolControlBar::OnCustomizeTargetLeave() { SetDropMarker(NULL, 0); }

bool CExtToolControlBar::OnCustomizeTargetDrop(CExtCustomizeSite::CCmdDragInfo& dragInfo, CPoint, DROPEFFECT de)
{
    CExtCustomizeCmdTreeNode* pDragged = dragInfo.m_pNode;
    int nPos = -1;
    if (m_pDropMarkerButton != NULL)
        nPos = GetButtonIndex(m_pDropMarkerButton) + (m_nDropMarkerSide > 0 ? 1 : 0);
    const bool bMarked = m_pDropMarkerButton != NULL;
    SetDropMarker(NULL, 0);
    if (de == DROPEFFECT_NONE || pDragged == NULL || m_hWnd == NULL)
        return false;
    bool bOnlyService = true;
    for (int i = 0; i < GetButtonsCount() && bOnlyService; i++)
        if (m_buttons[i] != m_pRightBtn && !m_buttons[i]->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)))
            bOnlyService = false;
    if (!bMarked && !bOnlyService)
        return false;
    // The dragged node belongs to the drag; the button keeps a copy the bar owns.
    CExtCustomizeCmdTreeNode* pNode = pDragged->CloneNode(m_pCustomizeSite, true);
    if (pNode == NULL)
        return false;
    pNode->m_dwFlags &= ~DWORD(CExtCustomizeCmdTreeNode::__ECTN_GROUP_START);
    CExtBarButton* pTBB = CreateButtonObject(pNode->GetCmdID(false), 0);
    if (pTBB == NULL)
    {
        delete pNode;
        return false;
    }
    pTBB->SetInitialCmdNode(pNode);
    pTBB->SetBasicCmdNode(pNode);
    pTBB->SyncFromNode(pNode);
    if (!InsertButtonObject(nPos, pTBB, TRUE))
    {
        delete pTBB;
        delete pNode;
        return false;
    }
    m_arrDroppedNodes.Add(pNode);
    return true;
}

void CExtToolControlBar::OnCustomizeSourceDragComplete(DROPEFFECT de, bool bCanceled, bool* p_bNoResetActiveItem)
{
    CExtCustomizeSite* pSite = m_pCustomizeSite != NULL ? m_pCustomizeSite
                                                        : (m_hWnd != NULL ? CExtCustomizeSite::GetCustomizeSite(m_hWnd)
                                                                          : NULL);
    if (bCanceled || de == DROPEFFECT_COPY || de == DROPEFFECT_NONE)
    {
        if (p_bNoResetActiveItem != NULL && pSite != NULL && pSite->IsCustomizeMode())
            *p_bNoResetActiveItem = true;
        return;
    }
    CExtCustomizeCmdTreeNode* pNode = pSite != NULL ? pSite->DraggedNodeGet() : NULL;
    if (pNode == NULL)
        return;
    for (int i = 0; i < GetButtonsCount(); i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (pTBB->GetCmdNode(false) != pNode && pTBB->GetCmdNode(true) != pNode)
            continue;
        // The separator that started the moved button's group goes when the group ends
        // with it.
        RemoveButton(i, TRUE);
        if (i > 0 && i < GetButtonsCount() && m_buttons[i - 1]->IsSeparator() && m_buttons[i]->IsSeparator())
            RemoveButton(i, TRUE);
        return;
    }
}
