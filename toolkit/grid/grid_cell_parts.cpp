// The cell's part sizes, text flags, button states and check-state rule.
#include "toolkit/grid/grid_cell.h"

CRect CExtGridCell::GetIconMargins() const
{
    CRect rc(1, 1, 1, 1);
    // The icon size goes through the owner's list, which is not a const operation.
    if (const_cast<CExtGridCell*>(this)->IconGetSize().cx >= 1) rc.left = 2;
    return rc;
}

CRect CExtGridCell::GetMargins() const { return CRect(2, 0, 2, 0); }

CSize CExtGridCell::GetSortArrowPartSize(DWORD, bool bQueryWidth, bool bQueryHeight) const
{
    if (!bQueryWidth && !bQueryHeight) return CSize(0, 0);
    if ((GetStyle() & __EGCS_SORT_ARROW) == 0) return CSize(0, 0);
    return CSize(14, 14);
}

CSize CExtGridCell::GetFocusArrowPartSize(DWORD, bool bQueryWidth, bool bQueryHeight) const
{
    if (!bQueryWidth && !bQueryHeight) return CSize(0, 0);
    if ((GetStyle() & (__EGCS_HDR_FOCUS_ARROW_DISPLAY | __EGCS_HDR_FOCUS_ARROW_RESERVE_SPACE)) == 0)
        return CSize(0, 0);
    return CSize(12, 12);
}

UINT CExtGridCell::OnQueryDrawTextFlags(bool bHorz, bool bVert, bool bForDrawing) const
{
    const DWORD dwStyle = GetStyle();
    UINT nFlags = bForDrawing ? DT_NOPREFIX : 0;
    nFlags |= (GetStyleEx() & __EGCS_EX_WRAP_TEXT) ? DT_WORDBREAK : DT_SINGLELINE;
    if (bForDrawing && (dwStyle & __EGCS_TA_ELLIPSIS)) nFlags |= DT_END_ELLIPSIS;
    if (bHorz) {
        switch (dwStyle & __EGCS_TA_HORZ_MASK) {
        case __EGCS_TA_HORZ_RIGHT: nFlags |= DT_RIGHT; break;
        case __EGCS_TA_HORZ_CENTER: nFlags |= DT_CENTER; break;
        default: break;
        }
    }
    if (bVert) {
        switch (dwStyle & __EGCS_TA_VERT_MASK) {
        case 0:
        case __EGCS_TA_VERT_CENTER: nFlags |= DT_VCENTER; break;
        case __EGCS_TA_VERT_BOTTOM: nFlags |= DT_BOTTOM; break;
        default: break;
        }
    }
    return nFlags;
}

DWORD CExtGridCell::stat_ButtonStyle(INT nButtonType)
{
    switch (nButtonType) {
    case __EBTT_ELLIPSIS: return __EGCS_BUTTON_ELLIPSIS;
    case __EBTT_DROPDOWN: return __EGCS_BUTTON_DROPDOWN;
    case __EBTT_UPDOWN_UP:
    case __EBTT_UPDOWN_DOWN: return __EGCS_BUTTON_UPDOWN;
    default: return 0;
    }
}

DWORD CExtGridCell::stat_ButtonPressedStyle(INT nButtonType)
{
    switch (nButtonType) {
    case __EBTT_ELLIPSIS: return __EGCS_PRESSED_ELLIPSIS;
    case __EBTT_DROPDOWN: return __EGCS_PRESSED_DROPDOWN;
    case __EBTT_UPDOWN_UP: return __EGCS_PRESSED_UP;
    case __EBTT_UPDOWN_DOWN: return __EGCS_PRESSED_DOWN;
    default: return 0;
    }
}

bool CExtGridCell::OnQueryButtonInfo(INT nButtonType, bool* pbEnabled, bool* pbPressed, bool* pbHold,
                                     DWORD* pnRepeatDelay) const
{
    if (pbEnabled != NULL) *pbEnabled = false;
    if (pbPressed != NULL) *pbPressed = false;
    if (pbHold != NULL) *pbHold = false;
    if (pnRepeatDelay != NULL) *pnRepeatDelay = 0;
    const DWORD dwButton = stat_ButtonStyle(nButtonType);
    const DWORD dwStyle = GetStyle();
    if (dwButton == 0 || (dwStyle & dwButton) == 0) return false;
    CExtGridCell* pThis = const_cast<CExtGridCell*>(this);  // the step queries are not const
    if (pbEnabled != NULL) {
        if (nButtonType == __EBTT_UPDOWN_UP)
            *pbEnabled = pThis->CanIncrement();
        else if (nButtonType == __EBTT_UPDOWN_DOWN)
            *pbEnabled = pThis->CanDecrement();
        else
            *pbEnabled = (dwStyle & __EGCS_READ_ONLY) == 0;
    }
    if (pbPressed != NULL) *pbPressed = (dwStyle & stat_ButtonPressedStyle(nButtonType)) != 0;
    if (pbHold != NULL) *pbHold = nButtonType != __EBTT_DROPDOWN;
    if (pnRepeatDelay != NULL && (nButtonType == __EBTT_UPDOWN_UP || nButtonType == __EBTT_UPDOWN_DOWN))
        *pnRepeatDelay = 300;
    return true;
}

DWORD CExtGridCell::SetButtonPressed(INT nButtonType, bool bPressed)
{
    const DWORD dwOld = GetStyle();
    const DWORD dwButton = stat_ButtonStyle(nButtonType);
    if (dwButton == 0 || (dwOld & dwButton) == 0) return dwOld;
    const DWORD dwPressed = stat_ButtonPressedStyle(nButtonType);
    ModifyStyle(bPressed ? dwPressed : 0, bPressed ? 0 : dwPressed);
    return dwOld;
}

DWORD CExtGridCell::stat_CheckStyleForState(DWORD dwStyle, INT nState)
{
    const DWORD dwType = dwStyle & __EGCS_CHK_MASK;
    if (dwType == 0 || nState < 0 || nState > 2) return dwStyle;
    if (nState == 2 && dwType == __EGCS_CHK_RADIO) return dwStyle;
    if (dwStyle & __EGCS_READ_ONLY) return dwStyle;
    // A mixed check box goes back to a plain check box.
    const DWORD dwBase = dwType == __EGCS_CHK_RADIO ? __EGCS_CHK_RADIO : __EGCS_CHK_CHECK;
    dwStyle &= ~(__EGCS_CHK_MASK | __EGCS_CHECKED);
    switch (nState) {
    case 0: return dwStyle | dwBase;
    case 1: return dwStyle | dwBase | __EGCS_CHECKED;
    default: return dwStyle | __EGCS_CHK_INDETERMINATE | __EGCS_CHECKED;
    }
}
