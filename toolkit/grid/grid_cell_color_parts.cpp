#include "toolkit/grid/grid_cell_color_parts.h"
#include <algorithm>
#include <vector>
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/pickers/popup_control_menu.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_SERIAL(CExtGridCellUpDownColorPart, CExtGridCellUpDown, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellUpDownRectPart, CExtGridCellUpDown, VERSIONABLE_SCHEMA | 1)

namespace {

void SetI4(VARIANT& v, LONG n)
{
    ::VariantClear(&v);
    v.vt = VT_I4;
    v.lVal = n;
}

CSize TextSize(const CString& s)
{
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, g_CurrentPaintManager->m_FontNormal.GetSafeHandle());
    RECT rc = {0, 0, 0, 0};
    ::DrawText(hDC, s, s.GetLength(), &rc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    return CSize(rc.right - rc.left, rc.bottom - rc.top);
}

CString ValueText(int n)
{
    CString s;
    s.Format(_T("%d"), std::min(n, 255));
    return s;
}

}  // namespace

// ---- colour part ------------------------------------------------------------------------------

CExtGridCellUpDownColorPart::CExtGridCellUpDownColorPart(CExtGridDataProvider* pOwner)
    : CExtGridCellUpDown(pOwner), m_nColorPart(__ECP_NONE), m_nSwatchWidth(8), m_nSwatchHeight(8)
{
    ModifyStyle(__EGCS_BUTTON_DROPDOWN | __EGCS_TA_HORZ_RIGHT);
    SetI4(*this, 0);
}

void CExtGridCellUpDownColorPart::OnQueryListValues(CArray<int, int>& arrValues) const
{
    arrValues.RemoveAll();
    for (int n = 0; n < 257; n += 32) arrValues.Add(std::min(n, 255));
}

INT CExtGridCellUpDownColorPart::GetPartValue() const { return vt == VT_I4 ? (INT)lVal : 0; }

COLORREF CExtGridCellUpDownColorPart::PartColor(INT nValue) const
{
    const BYTE b = (BYTE)std::max(0, std::min(255, (int)nValue));
    switch (m_nColorPart) {
    case __ECP_RED: return RGB(b, 0, 0);
    case __ECP_GREEN: return RGB(0, b, 0);
    case __ECP_BLUE: return RGB(0, 0, b);
    default: return RGB(0, 0, 0);
    }
}

void CExtGridCellUpDownColorPart::Serialize(CArchive& ar)
{
    CExtGridCellVariant::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (LONG)m_nSwatchWidth << (LONG)m_nSwatchHeight << (BYTE)m_nColorPart;
    } else {
        LONG nWidth = 0, nHeight = 0;
        BYTE nPart = 0;
        ar >> nWidth >> nHeight >> nPart;
        m_nSwatchWidth = (INT)nWidth;
        m_nSwatchHeight = (INT)nHeight;
        m_nColorPart = nPart;
    }
}

void CExtGridCellUpDownColorPart::Assign(const CExtGridCell& other)
{
    CExtGridCellVariant::Assign(other);
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellUpDownColorPart))) {
        const CExtGridCellUpDownColorPart& src = static_cast<const CExtGridCellUpDownColorPart&>(other);
        m_nColorPart = src.m_nColorPart;
        m_nSwatchWidth = src.m_nSwatchWidth;
        m_nSwatchHeight = src.m_nSwatchHeight;
    } else {
        m_nColorPart = __ECP_NONE;
        m_nSwatchWidth = m_nSwatchHeight = 8;
    }
}

CExtGridCell* CExtGridCellUpDownColorPart::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellUpDownColorPart>(*this, pMalloc);
}

CSize CExtGridCellUpDownColorPart::IconGetSize()
{
    if (m_nColorPart < __ECP_RED || m_nColorPart > __ECP_BLUE) return CSize(0, 0);
    return CSize(m_nSwatchWidth, m_nSwatchHeight);
}

void CExtGridCellUpDownColorPart::OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon,
                                              EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)pIcon, (void)wndGrid, (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo;
    (void)nColType, (void)nRowType, (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange, (void)dwAreaFlags;
    (void)dwHelperPaintFlags;
    if (m_nColorPart < __ECP_RED || m_nColorPart > __ECP_BLUE || ::IsRectEmpty(&rcIcon) || !dc.RectVisible(&rcIcon))
        return;
    const bool bUndefined = (GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0;
    dc.FillSolidRect(&rcIcon, bUndefined ? ::GetSysColor(COLOR_BTNFACE) : PartColor(GetPartValue()));
    ::FrameRect(dc.GetSafeHdc(), &rcIcon, (HBRUSH)::GetStockObject(BLACK_BRUSH));
}

bool CExtGridCellUpDownColorPart::CanIncrement() { return GetPartValue() < 255 && CExtGridCellUpDown::CanIncrement(); }

bool CExtGridCellUpDownColorPart::CanDecrement() { return GetPartValue() > 0 && CExtGridCellUpDown::CanDecrement(); }

HRESULT CExtGridCellUpDownColorPart::OnParseText(LPCTSTR sText) const
{
    HRESULT hr = CExtGridCellUpDown::OnParseText(sText);
    if (FAILED(hr)) return hr;
    // Read as an unsigned number, a negative text is a huge one: both are refused.
    LPCTSTR p = sText;
    while (*p == _T(' ') || *p == _T('\t')) p++;
    if (*p == _T('-')) return E_INVALIDARG;
    if (*p == _T('+')) p++;
    unsigned long n = 0;
    for (; *p >= _T('0') && *p <= _T('9'); p++) {
        n = n * 10 + (unsigned long)(*p - _T('0'));
        if (n > 255) return E_INVALIDARG;
    }
    return hr;
}

CSize CExtGridCellUpDownColorPart::OnQueryDropDownSize() const
{
    CArray<int, int> arrValues;
    OnQueryListValues(arrValues);
    const CSize szMargins = OnQueryListItemMargins();
    LONG nWidth = 0, nHeight = 0;
    for (INT_PTR i = 0; i < arrValues.GetSize(); i++) {
        const CSize szText = TextSize(ValueText(arrValues[i]));
        nWidth = std::max<LONG>(nWidth, m_nSwatchWidth + 2 * szMargins.cx + szText.cx + 3);
        if (nHeight < 200) nHeight += std::max<LONG>(szText.cy, m_nSwatchHeight) + 2 * szMargins.cy;
    }
    return CSize(std::max<LONG>(nWidth + 30, 50), std::max<LONG>(nHeight, 15));
}

bool CExtGridCellUpDownColorPart::OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox,
                                                            POPUP_LIST_INFO& pli)
{
    (void)pli;
    CArray<int, int> arrValues;
    OnQueryListValues(arrValues);
    const INT nCurrent = GetPartValue();
    for (INT_PTR i = 0; i < arrValues.GetSize(); i++) {
        const int nItem = (int)wndListBox.SendMessage(LB_ADDSTRING, 0, (LPARAM)(LPCTSTR)ValueText(arrValues[i]));
        if (nItem < 0) continue;
        wndListBox.SendMessage(LB_SETITEMDATA, nItem, (LPARAM)arrValues[i]);
        if (arrValues[i] == nCurrent) wndListBox.SendMessage(LB_SETCURSEL, nItem, 0);
    }
    return true;
}

bool CExtGridCellUpDownColorPart::OnPopupListBoxItemMeasure(CExtPopupInplaceListBox& wndListBox,
                                                            POPUP_LIST_INFO& pli, LPMEASUREITEMSTRUCT pMIS)
{
    if (!CExtGridCellUpDown::OnPopupListBoxItemMeasure(wndListBox, pli, pMIS)) return false;
    if (pMIS == NULL || (int)pMIS->itemID < 0 || (int)pMIS->itemID >= wndListBox.GetCount()) return true;
    CString sText;
    wndListBox.GetText((int)pMIS->itemID, sText);
    const CSize szText = TextSize(sText), szMargins = OnQueryListItemMargins();
    pMIS->itemWidth = (UINT)(m_nSwatchWidth + szText.cx + 2 * szMargins.cx);
    pMIS->itemHeight = (UINT)(std::max<LONG>(szText.cy, m_nSwatchHeight) + 2 * szMargins.cy);
    return true;
}

bool CExtGridCellUpDownColorPart::OnPopupListBoxItemDraw(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli,
                                                         LPDRAWITEMSTRUCT pDIS)
{
    if (pDIS == NULL || (wndListBox.GetStyle() & LBS_HASSTRINGS) == 0) return false;
    if ((int)pDIS->itemID < 0 || (int)pDIS->itemID >= wndListBox.GetCount()) return true;
    if (m_nColorPart < __ECP_RED || m_nColorPart > __ECP_BLUE)
        return CExtGridCellUpDown::OnPopupListBoxItemDraw(wndListBox, pli, pDIS);
    // The text part is drawn by the base, moved right of the swatch.
    DRAWITEMSTRUCT dis = *pDIS;
    dis.rcItem.left += m_nSwatchWidth + 3;
    CExtGridCellUpDown::OnPopupListBoxItemDraw(wndListBox, pli, &dis);
    RECT rcSwatch = pDIS->rcItem;
    rcSwatch.right = rcSwatch.left + m_nSwatchWidth + 2;
    const int nValue = (int)wndListBox.SendMessage(LB_GETITEMDATA, pDIS->itemID, 0);
    CDC* pDC = CDC::FromHandle(pDIS->hDC);
    pDC->FillSolidRect(&rcSwatch, PartColor(nValue));
    ::FrameRect(pDIS->hDC, &rcSwatch, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    return true;
}

// ---- rectangle part ---------------------------------------------------------------------------

namespace {

// The 16 x 16 picture of one side, magenta where it is transparent.
HBITMAP MakeSidePicture(int nPart)
{
    const COLORREF kMagenta = RGB(255, 0, 255), kGrey = RGB(128, 128, 128), kBlack = RGB(0, 0, 0);
    std::vector<COLORREF> px(16 * 16, kMagenta);
    auto put = [&px](int x, int y, COLORREF c) {
        if (x >= 0 && x < 16 && y >= 0 && y < 16) px[y * 16 + x] = c;
    };
    // The square's dotted edges at 2 and 13, the chosen edge solid.
    for (int i = 2; i <= 13; i++) {
        const COLORREF c = (i % 2) == 0 ? kGrey : kMagenta;
        put(i, 2, nPart == 2 ? kBlack : c);
        put(i, 13, nPart == 4 ? kBlack : c);
        put(2, i, nPart == 1 ? kBlack : c);
        put(13, i, nPart == 3 ? kBlack : c);
    }
    // An arrow from the middle towards the edge.
    for (int d = 0; d < 6; d++) {
        switch (nPart) {
        case 1: put(8 - d, 8, kBlack); break;
        case 2: put(8, 8 - d, kBlack); break;
        case 3: put(7 + d, 7, kBlack); break;
        default: put(7, 7 + d, kBlack); break;
        }
    }
    for (int w = 1; w <= 2; w++) {
        switch (nPart) {
        case 1: put(4 + w, 8 - w, kBlack), put(4 + w, 8 + w, kBlack); break;
        case 2: put(8 - w, 4 + w, kBlack), put(8 + w, 4 + w, kBlack); break;
        case 3: put(11 - w, 7 - w, kBlack), put(11 - w, 7 + w, kBlack); break;
        default: put(7 - w, 11 - w, kBlack), put(7 + w, 11 - w, kBlack); break;
        }
    }
    void* pBits = NULL;
    HBITMAP hbm = CreateDib32(NULL, 16, 16, &pBits);
    if (hbm == NULL) return NULL;
    DWORD* p = static_cast<DWORD*>(pBits);
    for (int i = 0; i < 256; i++) p[i] = RGB(GetBValue(px[i]), GetGValue(px[i]), GetRValue(px[i]));
    return hbm;
}

struct SideIcons
{
    CExtCmdIcon m_icons[4];
    SideIcons()
    {
        for (int i = 0; i < 4; i++) {
            HBITMAP hbm = MakeSidePicture(i + 1);
            if (hbm == NULL) continue;
            m_icons[i].AssignFromHBITMAP(hbm, RGB(255, 0, 255));
            ::DeleteObject(hbm);
        }
    }
};

}  // namespace

CExtGridCellUpDownRectPart::CExtGridCellUpDownRectPart(CExtGridDataProvider* pOwner)
    : CExtGridCellUpDown(pOwner), m_nRectPart(__ERP_NONE)
{
    ModifyStyle(__EGCS_TA_HORZ_RIGHT);
    SetI4(*this, 0);
}

void CExtGridCellUpDownRectPart::Serialize(CArchive& ar)
{
    CExtGridCellVariant::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (BYTE)m_nRectPart;
    } else {
        BYTE nPart = 0;
        ar >> nPart;
        m_nRectPart = nPart;
    }
}

void CExtGridCellUpDownRectPart::Assign(const CExtGridCell& other)
{
    CExtGridCellVariant::Assign(other);
    m_nRectPart = other.IsKindOf(RUNTIME_CLASS(CExtGridCellUpDownRectPart))
                      ? static_cast<const CExtGridCellUpDownRectPart&>(other).m_nRectPart
                      : __ERP_NONE;
}

CExtGridCell* CExtGridCellUpDownRectPart::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellUpDownRectPart>(*this, pMalloc);
}

CExtCmdIcon* CExtGridCellUpDownRectPart::IconGet()
{
    if (m_nRectPart < __ERP_LEFT || m_nRectPart > __ERP_BOTTOM) return NULL;
    // Made on first use, shared by every cell, gone at exit.
    static SideIcons g_icons;
    CExtCmdIcon& icon = g_icons.m_icons[m_nRectPart - 1];
    return icon.IsEmpty() ? NULL : &icon;
}

CSize CExtGridCellUpDownRectPart::IconGetSize()
{
    CExtCmdIcon* pIcon = IconGet();
    return pIcon != NULL ? pIcon->GetSize() : CSize(0, 0);
}
