// The cell parts that paint with a device context alone: background and check glyph.
#include "toolkit/grid/grid_cell.h"
#include "toolkit/theme/paint_manager.h"

namespace {

const int kCheckGlyphFallback = 13;
// "BUTTON" theme parts and states.
const int BP_RADIOBUTTON_ = 2;
const int BP_CHECKBOX_ = 3;

bool IsMixed(DWORD dwStyle, DWORD dwStyleEx)
{
    if ((dwStyle & CExtGridCell::__EGCS_CHK_MASK) == CExtGridCell::__EGCS_CHK_RADIO) return false;
    if (dwStyleEx & CExtGridCell::__EGCS_EX_UNDEFINED_ROLE) return true;
    return (dwStyle & CExtGridCell::__EGCS_CHK_MASK) == CExtGridCell::__EGCS_CHK_INDETERMINATE &&
           (dwStyle & CExtGridCell::__EGCS_CHECKED) != 0;
}

int ThemePart(DWORD dwStyle)
{
    return (dwStyle & CExtGridCell::__EGCS_CHK_MASK) == CExtGridCell::__EGCS_CHK_RADIO ? BP_RADIOBUTTON_
                                                                                        : BP_CHECKBOX_;
}

int ThemeState(DWORD dwStyle, DWORD dwStyleEx)
{
    const bool bReadOnly = (dwStyle & CExtGridCell::__EGCS_READ_ONLY) != 0;
    int nState;
    if (IsMixed(dwStyle, dwStyleEx))
        nState = 9;
    else if (dwStyle & CExtGridCell::__EGCS_CHECKED)
        nState = 5;
    else
        nState = 1;
    return bReadOnly ? nState + 3 : nState;
}

// The toolkit's visual-styles binding, opened for the class on the grid's window.
UxThemeLibrary* OpenTheme(HWND hWnd, LPCWSTR szClass)
{
    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    if (!ux.IsUsable(true)) return NULL;
    if (ux.OpenThemeData(hWnd, szClass) == NULL) return NULL;
    return &ux;
}

}  // namespace

CSize CExtGridCell::stat_GetCheckGlyphSize(HWND hWndGrid, HDC hDC, DWORD dwStyle, DWORD dwStyleEx)
{
    if ((dwStyle & __EGCS_CHK_MASK) == 0) return CSize(0, 0);
    if (UxThemeLibrary* pUx = OpenTheme(hWndGrid, L"BUTTON")) {
        SIZE sz = {0, 0};
        HRESULT hr = pUx->GetThemePartSize(hDC, ThemePart(dwStyle), ThemeState(dwStyle, dwStyleEx), NULL,
                                           1 /* TS_TRUE */, &sz);
        pUx->CloseThemeData(true);
        if (SUCCEEDED(hr) && (sz.cx != 0 || sz.cy != 0)) return CSize(sz);
    }
    return CSize(kCheckGlyphFallback, kCheckGlyphFallback);
}

void CExtGridCell::stat_PaintCheckRadio(HWND hWndGrid, HDC hDC, const RECT& rcPart, DWORD dwStyle,
                                        DWORD dwStyleEx)
{
    if ((dwStyle & __EGCS_CHK_MASK) == 0 || !::RectVisible(hDC, &rcPart)) return;
    CSize sz = stat_GetCheckGlyphSize(hWndGrid, hDC, dwStyle, dwStyleEx);
    RECT rcGlyph = {rcPart.left, rcPart.top, rcPart.left + sz.cx, rcPart.top + sz.cy};
    if (UxThemeLibrary* pUx = OpenTheme(hWndGrid, L"BUTTON")) {
        HRESULT hr = pUx->DrawThemeBackground(hDC, ThemePart(dwStyle), ThemeState(dwStyle, dwStyleEx), &rcGlyph,
                                              &rcGlyph);
        pUx->CloseThemeData(true);
        if (SUCCEEDED(hr)) return;
    }
    UINT nState = DFCS_FLAT;
    if ((dwStyle & __EGCS_CHK_MASK) == __EGCS_CHK_RADIO)
        nState |= DFCS_BUTTONRADIO;
    else if (IsMixed(dwStyle, dwStyleEx))
        nState |= DFCS_BUTTON3STATE;
    else
        nState |= DFCS_BUTTONCHECK;
    if ((dwStyle & __EGCS_CHECKED) || IsMixed(dwStyle, dwStyleEx)) nState |= DFCS_CHECKED;
    if (dwStyle & __EGCS_READ_ONLY) nState |= DFCS_INACTIVE;
    ::DrawFrameControl(hDC, &rcGlyph, DFC_BUTTON, nState);
}

bool CExtGridCell::stat_PaintBackground(HDC hDC, const RECT& rcCell, DWORD dwHelperPaintFlags)
{
    if (::IsRectEmpty(&rcCell)) return true;
    if ((dwHelperPaintFlags & 0x200) == 0) return false;
    ::FillRect(hDC, &rcCell, ::GetSysColorBrush(COLOR_BTNFACE));
    CDC* pDC = CDC::FromHandle(hDC);
    pDC->Draw3dRect(&rcCell, ::GetSysColor(COLOR_3DHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    return true;
}
