#include "toolkit/grid/grid_cell_color.h"
#include <stdlib.h>
#include "toolkit/core/bitmap.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/grid/grid_cell_typed_common.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/menus/popup_color_menu_wnd.h"
#include "toolkit/pickers/color_dlg.h"

IMPLEMENT_SERIAL(CExtGridCellColor, CExtGridCellEx, VERSIONABLE_SCHEMA | 1)

namespace {

const LPCTSTR kRandomCaption = _T("Random Color");
const COLORREF kResultNone = COLORREF(-1), kResultCustom = COLORREF(-2), kResultRandom = COLORREF(-100);

// A component's decimal text as atoi reads it, saturated to 0..255 whatever its length.
int Component(LPCTSTR p)
{
    while (*p == _T(' ') || *p == _T('\t')) p++;
    bool bNegative = false;
    if (*p == _T('+') || *p == _T('-')) bNegative = *p++ == _T('-');
    int n = 0;
    for (; *p >= _T('0') && *p <= _T('9'); p++) {
        n = n * 10 + (*p - _T('0'));
        if (n > 255) n = 256;
    }
    if (bNegative) return 0;
    return n > 255 ? 255 : n;
}

double Unit(int n)
{
    const double d = (n + 0.5) / 255.0;
    return d > 1.0 ? 1.0 : d;
}

int Scaled(double d)
{
    int n = (int)(d * 255.0 + 0.5);
    if (n > 255) n = 255;
    return n < 0 ? 0 : n;
}

}  // namespace

// ---- colour value -----------------------------------------------------------------------

CExtGridCellColor::COLOR_VALUE::COLOR_VALUE() : m_nAlpha(0), m_nBlue(0), m_nGreen(0), m_nRed(0), m_nFlags(0) {}

COLORREF CExtGridCellColor::COLOR_VALUE::GetColor() const
{
    const COLORREF clr = ((COLORREF)m_nAlpha << 24) | ((COLORREF)m_nBlue << 16) | ((COLORREF)m_nGreen << 8) | m_nRed;
    return (m_nFlags & 1) != 0 ? ::GetSysColor((int)clr) : clr;
}

void CExtGridCellColor::COLOR_VALUE::SetColor(COLORREF clr, bool bSetAlpha)
{
    m_nRed = (BYTE)(clr & 0xFF);
    m_nGreen = (BYTE)((clr >> 8) & 0xFF);
    m_nBlue = (BYTE)((clr >> 16) & 0xFF);
    if (bSetAlpha) m_nAlpha = (BYTE)(clr >> 24);
    m_nFlags &= ~1;
}

void CExtGridCellColor::COLOR_VALUE::SetSysColor(int nIndex)
{
    SetColor((COLORREF)nIndex, true);
    m_nFlags |= 1;
}

void CExtGridCellColor::COLOR_VALUE::Clear() { m_nAlpha = m_nBlue = m_nGreen = m_nRed = m_nFlags = 0; }

int CExtGridCellColor::COLOR_VALUE::Compare(const COLOR_VALUE& other) const
{
    const BYTE a[5] = {m_nAlpha, m_nBlue, m_nGreen, m_nRed, m_nFlags};
    const BYTE b[5] = {other.m_nAlpha, other.m_nBlue, other.m_nGreen, other.m_nRed, other.m_nFlags};
    for (int i = 0; i < 5; i++)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

namespace {

struct NameTables
{
    std::map<COLORREF, CString> m_names;
    std::map<CString, COLORREF> m_colors;
    NameTables()
    {
        Add(CExtGridCellColor::g_arrNamedColors, 128);
        Add(CExtGridCellColor::g_arrPaletteColors, 40);
    }
    void Add(const CExtGridCellColor::NAMED_COLOR* p, int n)
    {
        for (int i = 0; i < n; i++) {
            m_names.insert(std::make_pair(p[i].m_clr, CString(p[i].m_sName)));
            CString sLower(p[i].m_sName);
            sLower.MakeLower();
            m_colors.insert(std::make_pair(sLower, p[i].m_clr));
        }
    }
};

const NameTables& Tables()
{
    static const NameTables g_tables;
    return g_tables;
}

bool LookupName(CString sName, COLORREF& clr)
{
    sName.MakeLower();
    const std::map<CString, COLORREF>& map = Tables().m_colors;
    auto it = map.find(sName);
    if (it == map.end()) return false;
    clr = it->second;
    return true;
}

}  // namespace

const std::map<COLORREF, CString>& CExtGridCellColor::COLOR_VALUE::NameOf() { return Tables().m_names; }
const std::map<CString, COLORREF>& CExtGridCellColor::COLOR_VALUE::ColorOf() { return Tables().m_colors; }

// ---- cell -----------------------------------------------------------------------------------

CExtGridCellColor::CExtGridCellColor(CExtGridDataProvider* pOwner, COLORREF clr, INT nIconWidth, INT nIconHeight,
                                     bool bRandomButton, bool bCustomButton, bool bDefaultButton)
    : CExtGridCellEx(pOwner),
      m_dwButtonFlags(0),
      m_sRandomCaption(kRandomCaption),
      m_clrDefault(COLORREF(-1)),
      m_nTextMode(2),
      m_nIconWidth(nIconWidth),
      m_nIconHeight(nIconHeight)
{
    m_value.SetColor(clr, true);
    // Both buttons would share the popup's first extra row: the default one keeps it.
    if (bRandomButton && !bDefaultButton) m_dwButtonFlags |= __EGCCB_RANDOM;
    if (bCustomButton) m_dwButtonFlags |= __EGCCB_CUSTOM;
    if (bDefaultButton) m_dwButtonFlags |= __EGCCB_DEFAULT;
    ModifyStyle(__EGCS_BUTTON_DROPDOWN);
}

CExtGridCellColor::~CExtGridCellColor() {}

void CExtGridCellColor::GetListSeparator(CString& strSeparator) const
{
    TCHAR sBuffer[4] = {0, 0, 0, 0};
    const int n = g_CurrentResourceManager->GetLocaleInfo(LOCALE_SLIST, sBuffer, 4);
    sBuffer[3] = _T('\0');
    if (n < 1)
        strSeparator = _T(";");
    else
        strSeparator = sBuffer;
}

bool CExtGridCellColor::ParseColor(LPCTSTR sText, COLORREF& clrOut) const
{
    if (sText == NULL) return false;
    CString sSep;
    GetListSeparator(sSep);
    CString s(sText);
    s.Remove(_T(' '));
    const int nMode = m_nTextMode;
    if (nMode == 0) return false;
    if (nMode == 2 && LookupName(s, clrOut)) return true;
    if (nMode == 5) {
        const int nPos = sSep.IsEmpty() ? -1 : s.Find(sSep);
        int nAlpha = 0;
        CString sName(s);
        if (nPos >= 0) {
            nAlpha = Component((LPCTSTR)s + nPos + sSep.GetLength());
            sName = s.Left(nPos);
        }
        COLORREF clr = 0;
        if (LookupName(sName, clr)) {
            clrOut = (clr & 0xFFFFFF) | ((COLORREF)nAlpha << 24);
            return true;
        }
    }
    if (nMode == 3 || nMode == 6) {
        if (!sSep.IsEmpty()) s.Replace(sSep, _T(""));
        const int nDigits = nMode == 3 ? 6 : 8;
        if (s.IsEmpty() || s.GetLength() > nDigits) return false;
        LPTSTR pEnd = NULL;
        const unsigned long v = _tcstoul(s, &pEnd, 16);
        if (pEnd == NULL || *pEnd != _T('\0') || !_istxdigit((_TUCHAR)s[0])) return false;
        if (nMode == 3)
            clrOut = ((v >> 16) & 0xFF) | (((v >> 8) & 0xFF) << 8) | ((v & 0xFF) << 16);
        else
            clrOut = ((v >> 24) & 0xFF) | (((v >> 16) & 0xFF) << 8) | (((v >> 8) & 0xFF) << 16) | ((v & 0xFF) << 24);
        return true;
    }
    if (sSep.IsEmpty()) return false;
    const int nCount = (nMode == 4 || nMode == 5) ? 4 : 3;
    int arrValues[4] = {0, 0, 0, 0};
    int nFrom = 0;
    for (int i = 0; i < nCount - 1; i++) {
        const int nPos = s.Find(sSep, nFrom);
        // A missing number (a separator first or right after another) is refused.
        if (nPos < 0 || nPos == nFrom) return false;
        arrValues[i] = Component(s.Mid(nFrom, nPos - nFrom));
        nFrom = nPos + sSep.GetLength();
    }
    arrValues[nCount - 1] = Component((LPCTSTR)s + nFrom);
    const int c1 = arrValues[0], c2 = arrValues[1], c3 = arrValues[2], c4 = arrValues[3];
    switch (nMode) {
    case 7: clrOut = CExtBitmap::stat_HLS2RGB(Unit(c1), Unit(c2), Unit(c3)); break;
    case 8: clrOut = (COLORREF)((255 - c1) | ((255 - c2) << 8) | ((255 - c3) << 16)); break;
    case 4:
    case 5: clrOut = (COLORREF)(c1 | (c2 << 8) | (c3 << 16) | ((COLORREF)c4 << 24)); break;
    default: clrOut = (COLORREF)(c1 | (c2 << 8) | (c3 << 16)); break;
    }
    return true;
}

void CExtGridCellColor::FormatColor(CString& strText, COLORREF clr) const
{
    CString sSep;
    GetListSeparator(sSep);
    const int r = GetRValue(clr), g = GetGValue(clr), b = GetBValue(clr), a = (int)((clr >> 24) & 0xFF);
    const std::map<COLORREF, CString>& names = COLOR_VALUE::NameOf();
    switch (m_nTextMode) {
    case 0: strText.Empty(); break;
    case 2: {
        auto it = names.find(clr);
        if (it != names.end()) {
            strText = it->second;
            break;
        }
        strText.Format(_T("%d%s %d%s %d"), r, (LPCTSTR)sSep, g, (LPCTSTR)sSep, b);
        break;
    }
    case 1: strText.Format(_T("%d%s %d%s %d"), r, (LPCTSTR)sSep, g, (LPCTSTR)sSep, b); break;
    case 3: strText.Format(_T("%02X%02X%02X"), r, g, b); break;
    case 5: {
        auto it = names.find(clr & 0xFFFFFF);
        if (it != names.end()) {
            strText.Format(_T("%s%s %d"), (LPCTSTR)it->second, (LPCTSTR)sSep, a);
            break;
        }
        strText.Format(_T("%d%s %d%s %d%s %d"), r, (LPCTSTR)sSep, g, (LPCTSTR)sSep, b, (LPCTSTR)sSep, a);
        break;
    }
    case 4:
        strText.Format(_T("%d%s %d%s %d%s %d"), r, (LPCTSTR)sSep, g, (LPCTSTR)sSep, b, (LPCTSTR)sSep, a);
        break;
    case 6: strText.Format(_T("%02X%02X%02X%02X"), r, g, b, a); break;
    case 7: {
        double h = 0, s = 0, l = 0;
        CExtBitmap::stat_RGB2HLS(clr & 0xFFFFFF, h, s, l);
        strText.Format(_T("%d%s %d%s %d"), Scaled(h), (LPCTSTR)sSep, Scaled(l), (LPCTSTR)sSep, Scaled(s));
        break;
    }
    case 8: strText.Format(_T("%d%s %d%s %d"), 255 - r, (LPCTSTR)sSep, 255 - g, (LPCTSTR)sSep, 255 - b); break;
    default: break;
    }
}

COLORREF CExtGridCellColor::GenerateRandomColor(BYTE nMinR, BYTE nMaxR, BYTE nMinG, BYTE nMaxG, BYTE nMinB,
                                                BYTE nMaxB)
{
    auto pick = [](BYTE nMin, BYTE nMax) -> int {
        if (nMax <= nMin) return nMin;
        return nMin + ::rand() % (nMax - nMin);
    };
    const COLORREF clr = RGB(pick(nMinR, nMaxR), pick(nMinG, nMaxG), pick(nMinB, nMaxB));
    m_value.SetColor(clr, true);
    return clr;
}

void CExtGridCellColor::Serialize(CArchive& ar)
{
    CExtGridCellEx::Serialize(ar);
    if (ar.IsStoring()) {
        const BYTE arrValue[5] = {m_value.m_nAlpha, m_value.m_nBlue, m_value.m_nGreen, m_value.m_nRed,
                                  m_value.m_nFlags};
        ar.Write(arrValue, 5);
        ar << (LONG)m_nIconWidth << (LONG)m_nIconHeight;
        ar << (DWORD)(m_dwButtonFlags & 7);
        ar << m_sRandomCaption << m_sCustomCaption << m_sDefaultCaption;
        ar << (DWORD)m_clrDefault << (LONG)m_nTextMode;
        return;
    }
    BYTE arrValue[5];
    if (ar.Read(arrValue, 5) != 5) AfxThrowArchiveException(CArchiveException::endOfFile);
    LONG nWidth = 0, nHeight = 0, nMode = 0;
    DWORD dwFlags = 0, dwDefault = 0;
    CString sRandom, sCustom, sDefault;
    ar >> nWidth >> nHeight >> dwFlags >> sRandom >> sCustom >> sDefault >> dwDefault >> nMode;
    m_value.m_nAlpha = arrValue[0];
    m_value.m_nBlue = arrValue[1];
    m_value.m_nGreen = arrValue[2];
    m_value.m_nRed = arrValue[3];
    m_value.m_nFlags = arrValue[4];
    m_nIconWidth = (INT)nWidth;
    m_nIconHeight = (INT)nHeight;
    m_dwButtonFlags = dwFlags & 7;
    m_sRandomCaption = sRandom;
    m_sCustomCaption = sCustom;
    m_sDefaultCaption = sDefault;
    m_clrDefault = dwDefault;
    m_nTextMode = (INT)nMode;
}

void CExtGridCellColor::Assign(const CExtGridCell& other)
{
    CExtGridCellEx::Assign(other);
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellColor))) {
        const CExtGridCellColor& src = static_cast<const CExtGridCellColor&>(other);
        m_value.m_nAlpha = src.m_value.m_nAlpha;
        m_value.m_nBlue = src.m_value.m_nBlue;
        m_value.m_nGreen = src.m_value.m_nGreen;
        m_value.m_nRed = src.m_value.m_nRed;
        m_value.m_nFlags = src.m_value.m_nFlags;
        m_nIconWidth = src.m_nIconWidth;
        m_nIconHeight = src.m_nIconHeight;
        m_dwButtonFlags = src.m_dwButtonFlags;
        m_sRandomCaption = src.m_sRandomCaption;
        m_sCustomCaption = src.m_sCustomCaption;
        m_sDefaultCaption = src.m_sDefaultCaption;
        m_clrDefault = src.m_clrDefault;
        m_nTextMode = src.m_nTextMode;
    } else {
        m_value.Clear();
        m_nIconWidth = 20;
        m_nIconHeight = 13;
        m_dwButtonFlags = __EGCCB_CUSTOM;
        m_sRandomCaption = kRandomCaption;
        m_sCustomCaption.Empty();
        m_sDefaultCaption.Empty();
        m_clrDefault = COLORREF(-1);
        m_nTextMode = 1;
    }
}

int CExtGridCellColor::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellColor))) {
        const int n = m_value.Compare(static_cast<const CExtGridCellColor&>(other).m_value);
        if (n != 0) return n;
    }
    return CExtGridCellEx::Compare(other, dwStyleMask, dwStyleExMask);
}

void CExtGridCellColor::TextGet(CString& strCopy) const
{
    strCopy.Empty();
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0) return;
    FormatColor(strCopy, m_value.GetColor());
}

void CExtGridCellColor::TextSet(LPCTSTR str, bool bAllowChangeDataType)
{
    (void)bAllowChangeDataType;
    COLORREF clr = 0;
    if (ParseColor(str, clr)) m_value.SetColor(clr, true);
}

HRESULT CExtGridCellColor::OnParseText(LPCTSTR sText) const
{
    COLORREF clr = 0;
    return ParseColor(sText, clr) ? S_OK : E_FAIL;
}

void CExtGridCellColor::VariantGet(VARIANT* pVariant) const
{
    if (pVariant == NULL) return;
    ::VariantClear(pVariant);
    pVariant->vt = VT_UI4;
    pVariant->ulVal = m_value.GetColor();
}

CExtGridCell* CExtGridCellColor::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellColor>(*this, pMalloc);
}

CSize CExtGridCellColor::IconGetSize() { return CSize(m_nIconWidth, m_nIconHeight); }

CRect CExtGridCellColor::GetIconMargins() const { return CRect(m_nIconWidth >= 1 ? 3 : 1, 1, 1, 1); }

void CExtGridCellColor::OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon, EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)pIcon, (void)wndGrid, (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo;
    (void)nColType, (void)nRowType, (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange, (void)dwAreaFlags;
    (void)dwHelperPaintFlags;
    if (::IsRectEmpty(&rcIcon) || !dc.RectVisible(&rcIcon)) return;
    // An undefined value shows a neutral swatch rather than some colour.
    const bool bUndefined = (GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0;
    dc.FillSolidRect(&rcIcon, bUndefined ? ::GetSysColor(COLOR_BTNFACE) : (m_value.GetColor() & 0xFFFFFF));
    ::FrameRect(dc.GetSafeHdc(), &rcIcon, (HBRUSH)::GetStockObject(BLACK_BRUSH));
}

bool CExtGridCellColor::OnRunColorDialog(CExtGridWnd& wndGrid, COLORREF clrInitial, COLORREF& clrOut)
{
    const HINSTANCE hOld = AfxGetResourceHandle();
    AfxSetResourceHandle(AfxGetInstanceHandle());
    CExtColorDlg dlg(clrInitial, clrInitial, &wndGrid);
    const INT_PTR nResult = dlg.DoModal();
    AfxSetResourceHandle(hOld);
    if (nResult != IDOK) return false;
    clrOut = dlg.m_clrNew;
    return true;
}

void CExtGridCellColor::OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra,
                                        const RECT& rcCell, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                        LONG nRowNo, INT nColType, INT nRowType)
{
    auto fnRunDialog = [&]() {
        COLORREF clr = 0;
        if (!OnRunColorDialog(wndGrid, m_value.GetColor() & 0xFFFFFF, clr))
            return false;
        m_value.SetColor(clr, false);
        return true;
    };
    if (gridcell::PressEllipsisButton(this, wndGrid, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo,
                                      nColNo, nRowNo, nColType, nRowType, fnRunDialog))
        return;
    CExtGridCellEx::OnButtonPressed(wndGrid, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo, nColNo,
                                    nRowNo, nColType, nRowType);
}

bool CExtGridCellColor::ApplyPopupResult(CExtGridWnd& wndGrid, COLORREF clrResult)
{
    if (clrResult == kResultNone) return false;
    if (clrResult == kResultCustom) {
        COLORREF clr = 0;
        if (!OnRunColorDialog(wndGrid, m_value.GetColor() & 0xFFFFFF, clr)) return false;
        m_value.SetColor(clr, false);
        return true;
    }
    if (clrResult == kResultRandom) {
        const int r = ::rand() % 212 + 32, g = ::rand() % 212 + 32, b = ::rand() % 212 + 32;
        m_value.SetColor(RGB(r, g, b), true);
        return true;
    }
    m_value.SetColor(clrResult, false);
    return true;
}

bool CExtGridCellColor::OnButtonPopupMenuTrack(POPUP_LIST_INFO& pli)
{
    if (pli.m_pWndGrid == NULL) return false;
    CExtGridWnd& wndGrid = *pli.m_pWndGrid;
    const HWND hWndGrid = wndGrid.GetSafeHwnd();
    gridcell::FocusCellNow(wndGrid, pli.m_nColNo, pli.m_nRowNo, pli.m_nColType, pli.m_nRowType);
    if (hWndGrid != NULL) {
        ::InvalidateRect(hWndGrid, &pli.m_rcCell, TRUE);
        wndGrid.UpdateWindowNow();
    }
    CExtPopupColorMenuWnd* pPopup = new CExtPopupColorMenuWnd;
    if (!pPopup->CreatePopupMenu(hWndGrid)) {
        delete pPopup;
        return true;
    }
    pPopup->m_nRowFlags &= ~CExtPopupColorMenuWnd::ROW_DEFAULT_COLOR;
    pPopup->m_nRowFlags &= ~CExtPopupColorMenuWnd::ROW_CUSTOM_COLOR;
    if ((m_dwButtonFlags & __EGCCB_DEFAULT) != 0) {
        pPopup->m_nRowFlags |= CExtPopupColorMenuWnd::ROW_DEFAULT_COLOR;
        pPopup->m_clrDefault = m_clrDefault;
        if (!m_sDefaultCaption.IsEmpty()) pPopup->m_sBtnTextColorDefault = m_sDefaultCaption;
    }
    if ((m_dwButtonFlags & __EGCCB_RANDOM) != 0) {
        pPopup->m_nRowFlags |= CExtPopupColorMenuWnd::ROW_DEFAULT_COLOR;
        pPopup->m_clrDefault = kResultRandom;
        if (!m_sRandomCaption.IsEmpty()) pPopup->m_sBtnTextColorDefault = m_sRandomCaption;
    }
    if ((m_dwButtonFlags & __EGCCB_CUSTOM) != 0) {
        pPopup->m_nRowFlags |= CExtPopupColorMenuWnd::ROW_CUSTOM_COLOR;
        if (!m_sCustomCaption.IsEmpty()) pPopup->m_sBtnTextColorCustom = m_sCustomCaption;
    }
    pPopup->m_clrInitial = m_value.GetColor() & 0xFFFFFF;
    COLORREF clrResult = kResultNone;
    pPopup->m_pClrResult = &clrResult;
    bool bTracked = false;
    if (!gridcell::TrackCellPopup(this, wndGrid, pPopup, pli.m_rcCell, &bTracked) || !bTracked) return true;
    if (!ApplyPopupResult(wndGrid, clrResult)) return true;
    if (::IsWindow(hWndGrid)) ::InvalidateRect(hWndGrid, &pli.m_rcCell, TRUE);
    gridcell::ValueChangedTail(this, wndGrid, pli.m_nColNo, pli.m_nRowNo, pli.m_nColType, pli.m_nRowType);
    return OnPopupListBoxClosed(pli);
}

bool CExtGridCellColor::OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                            const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                                            const RECT& rcCell)
{
    if (gridcell::EditorF4PressesButton(*this, pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell,
                                        __EBTT_DROPDOWN) ||
        gridcell::EditorF4PressesButton(*this, pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell,
                                        __EBTT_ELLIPSIS))
        return true;
    return CExtGridCellEx::OnInplaceControlKey(pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell);
}
