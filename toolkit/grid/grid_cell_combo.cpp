#include "toolkit/grid/grid_cell_combo.h"
#include <algorithm>
#include <cctype>
#include "toolkit/grid/grid_cell_kinds_util.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/pickers/popup_control_menu.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_SERIAL(CExtGridCellComboBox, CExtGridCellString, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellDropListComboBox, CExtGridCellComboBox, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellFontFaceName, CExtGridCellComboBox, VERSIONABLE_SCHEMA | 1)

namespace {

// The list's own font when an item has none.
HFONT DefaultListFont()
{
    HFONT hFont = (HFONT)g_CurrentPaintManager->m_FontNormal.GetSafeHandle();
    return hFont != NULL ? hFont : (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
}

void ExtractIcon(HIMAGELIST hList, INT nImage, CExtCmdIcon& icon)
{
    if (hList == NULL || nImage < 0 || nImage >= ::ImageList_GetImageCount(hList)) return;
    HICON hIcon = ::ImageList_GetIcon(hList, nImage, ILD_NORMAL);
    if (hIcon != NULL) icon.AssignFromHICON(hIcon, false);  // the icon takes the handle
}

CSize IconSize(const CExtCmdIcon& icon) { return icon.IsEmpty() ? CSize(0, 0) : icon.GetSize(); }

CString Lower(LPCTSTR s)
{
    CString str(s != NULL ? s : _T(""));
    str.MakeLower();
    return str;
}

}  // namespace

// ---- combo box cell ---------------------------------------------------------------------------

CExtGridCellComboBox::CExtGridCellComboBox(CExtGridDataProvider* pOwner)
    : CExtGridCellString(pOwner), m_bItemBinding(false), m_hImageList(NULL), m_pCurrentItem(NULL)
{
    ModifyStyle(__EGCS_BUTTON_DROPDOWN);
}

CExtGridCellComboBox::~CExtGridCellComboBox()
{
    RemoveAllItems();
    SetImageList(NULL);
}

INT CExtGridCellComboBox::InsertItem(LPCTSTR sText, DWORD dwItemData, INT nIndex)
{
    ITEM_INFO* pItem = new ITEM_INFO;
    pItem->m_strText = sText != NULL ? sText : _T("");
    pItem->m_dwItemData = dwItemData;
    if (nIndex < 0 || nIndex >= GetItemCount()) nIndex = GetItemCount();
    m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);
    return nIndex;
}

void CExtGridCellComboBox::RemoveAllItems()
{
    for (ITEM_INFO* p : m_arrItems) delete p;
    m_arrItems.clear();
    m_pCurrentItem = NULL;
}

INT CExtGridCellComboBox::GetCurSel() const
{
    if (m_pCurrentItem == NULL) return -1;
    for (size_t i = 0; i < m_arrItems.size(); i++)
        if (m_arrItems[i] == m_pCurrentItem) return (INT)i;
    return -1;
}

bool CExtGridCellComboBox::SetCurSel(INT nIndex, bool bSetText)
{
    if (nIndex != -1 && (nIndex < 0 || nIndex >= GetItemCount())) return false;
    m_pCurrentItem = nIndex < 0 ? NULL : m_arrItems[(size_t)nIndex];
    if (bSetText) TextSet(m_pCurrentItem != NULL ? (LPCTSTR)m_pCurrentItem->m_strText : _T(""), false);
    return true;
}

INT CExtGridCellComboBox::FindItem(LPCTSTR sText, INT nStartAfter) const
{
    const INT nCount = GetItemCount();
    if (sText == NULL || nStartAfter < -1 || nStartAfter >= nCount) return -1;
    for (INT n = 1; n <= nCount; n++) {
        const INT i = (nStartAfter + n) % nCount;
        if (m_arrItems[(size_t)i]->m_strText.CompareNoCase(sText) == 0) return i;
    }
    return -1;
}

INT CExtGridCellComboBox::FindItemContaining(LPCTSTR sText, INT nStartAfter, bool bCaseSensitive) const
{
    const INT nCount = GetItemCount();
    if (sText == NULL || nStartAfter < -1 || nStartAfter >= nCount) return -1;
    const CString strFind = bCaseSensitive ? CString(sText) : Lower(sText);
    for (INT n = 1; n <= nCount; n++) {
        const INT i = (nStartAfter + n) % nCount;
        const CString& strItem = m_arrItems[(size_t)i]->m_strText;
        if ((bCaseSensitive ? strItem : Lower(strItem)).Find(strFind) >= 0) return i;
    }
    return -1;
}

LPCTSTR CExtGridCellComboBox::GetItemText(INT nIndex) const
{
    ITEM_INFO* p = GetItemInfo(nIndex);
    return p != NULL ? (LPCTSTR)p->m_strText : NULL;
}

DWORD CExtGridCellComboBox::GetItemData(INT nIndex) const
{
    ITEM_INFO* p = GetItemInfo(nIndex);
    return p != NULL ? p->m_dwItemData : 0;
}

CExtGridCellComboBox::ITEM_INFO* CExtGridCellComboBox::GetItemInfo(INT nIndex) const
{
    return nIndex >= 0 && nIndex < GetItemCount() ? m_arrItems[(size_t)nIndex] : NULL;
}

void CExtGridCellComboBox::SetImageList(HIMAGELIST hImageList)
{
    if (m_hImageList != NULL) ::ImageList_Destroy(m_hImageList);
    m_hImageList = NULL;
    if (hImageList != NULL && ::ImageList_GetImageCount(hImageList) > 0)
        m_hImageList = ::ImageList_Duplicate(hImageList);
}

void CExtGridCellComboBox::Serialize(CArchive& ar)
{
    CExtGridCellString::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (DWORD)m_arrItems.size();
        for (const ITEM_INFO* p : m_arrItems) {
            ar << p->m_strText;
            ar << p->m_dwItemData << (DWORD)p->m_nListImage << (DWORD)p->m_nCellImage
               << (DWORD)p->m_nSelectedListImage << (DWORD)p->m_nIndent;
        }
        ar << (DWORD)GetCurSel();
        ar << (BYTE)(m_bItemBinding ? 1 : 0);
        ar << (BYTE)(m_hImageList != NULL ? 1 : 0);
        if (m_hImageList != NULL) {
            // The list object only lends its writer: the handle stays the cell's even
            // when writing throws.
            CImageList list;
            list.Attach(m_hImageList);
            try {
                list.Write(&ar);
            } catch (...) {
                list.Detach();
                throw;
            }
            list.Detach();
        }
        return;
    }
    // Loaded aside first: a damaged archive leaves the cell's items as they were.
    std::vector<ITEM_INFO*> arrLoaded;
    try {
        DWORD nCount = 0;
        ar >> nCount;
        // Items are read one at a time: a count larger than the archive runs out of
        // data (the archive exception) long before it could exhaust memory.
        for (DWORD i = 0; i < nCount; i++) {
            ITEM_INFO* p = new ITEM_INFO;
            arrLoaded.push_back(p);
            CString strText;
            DWORD dwData = 0, dwList = 0, dwCell = 0, dwSelected = 0, dwIndent = 0;
            ar >> strText;
            ar >> dwData >> dwList >> dwCell >> dwSelected >> dwIndent;
            p->m_strText = strText;
            p->m_dwItemData = dwData;
            p->m_nListImage = (INT)dwList;
            p->m_nCellImage = (INT)dwCell;
            p->m_nSelectedListImage = (INT)dwSelected;
            p->m_nIndent = (INT)dwIndent;
        }
        DWORD dwCurrent = 0;
        BYTE nBound = 0, nHasList = 0;
        ar >> dwCurrent >> nBound >> nHasList;
        HIMAGELIST hLoaded = NULL;
        if (nHasList != 0) {
            CImageList list;
            if (list.Read(&ar)) hLoaded = list.Detach();
        }
        RemoveAllItems();
        m_arrItems.swap(arrLoaded);
        // A stored index outside the items names none.
        const INT nCurrent = (INT)dwCurrent;
        m_pCurrentItem = nCurrent >= 0 && nCurrent < GetItemCount() ? m_arrItems[(size_t)nCurrent] : NULL;
        m_bItemBinding = nBound == 1;
        if (m_hImageList != NULL) ::ImageList_Destroy(m_hImageList);
        m_hImageList = hLoaded;
    } catch (...) {
        for (ITEM_INFO* p : arrLoaded) delete p;
        throw;
    }
}

void CExtGridCellComboBox::Assign(const CExtGridCell& other)
{
    CExtGridCellString::Assign(other);
    if (&other == this) return;
    RemoveAllItems();
    if (!other.IsKindOf(RUNTIME_CLASS(CExtGridCellComboBox))) return;
    const CExtGridCellComboBox& src = static_cast<const CExtGridCellComboBox&>(other);
    for (const ITEM_INFO* p : src.m_arrItems) m_arrItems.push_back(new ITEM_INFO(*p));
    const INT nCurrent = src.GetCurSel();
    m_pCurrentItem = nCurrent >= 0 ? m_arrItems[(size_t)nCurrent] : NULL;
    m_bItemBinding = src.m_bItemBinding;
    SetImageList(src.m_hImageList);
}

void CExtGridCellComboBox::TextSet(LPCTSTR str, bool bAllowChangeDataType)
{
    CExtGridCellString::TextSet(str, bAllowChangeDataType);
    if (!m_bItemBinding) return;
    const INT nFound = FindItem(str != NULL ? str : _T(""), -1);
    if (nFound >= 0) {
        if (nFound != GetCurSel()) SetCurSel(nFound, true);
    } else if (str != NULL && *str != 0) {
        SetCurSel(-1, true);
    }
}

CExtGridCell* CExtGridCellComboBox::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellComboBox>(*this, pMalloc);
}

CExtCmdIcon* CExtGridCellComboBox::IconGet()
{
    m_iconCell.Empty();
    if (m_pCurrentItem != NULL) ExtractIcon(m_hImageList, m_pCurrentItem->m_nCellImage, m_iconCell);
    return m_iconCell.IsEmpty() ? NULL : &m_iconCell;
}

CSize CExtGridCellComboBox::IconGetSize()
{
    CExtCmdIcon* pIcon = IconGet();
    return pIcon != NULL ? pIcon->GetSize() : CSize(0, 0);
}

bool CExtGridCellComboBox::OnQueryButtonInfo(INT nButtonType, bool* pbEnabled, bool* pbPressed, bool* pbHold,
                                             DWORD* pnRepeatDelay) const
{
    if (!CExtGridCellString::OnQueryButtonInfo(nButtonType, pbEnabled, pbPressed, pbHold, pnRepeatDelay))
        return false;
    if (nButtonType == __EBTT_DROPDOWN && m_arrItems.empty() && pbEnabled != NULL) *pbEnabled = false;
    return true;
}

bool CExtGridCellComboBox::CanIncrement() { return m_bItemBinding; }
bool CExtGridCellComboBox::CanDecrement() { return m_bItemBinding; }

bool CExtGridCellComboBox::_Step(bool bNext)
{
    const INT nCount = GetItemCount();
    if (nCount == 0) return false;
    const INT nCurrent = GetCurSel();
    INT nNew;
    if (nCurrent < 0)
        nNew = bNext ? 0 : nCount - 1;
    else
        nNew = bNext ? (nCurrent + 1) % nCount : (nCurrent + nCount - 1) % nCount;
    return SetCurSel(nNew, true);
}

bool CExtGridCellComboBox::Increment() { return _Step(false); }
bool CExtGridCellComboBox::Decrement() { return _Step(true); }

bool CExtGridCellComboBox::OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                               const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                                               const RECT& rcCell)
{
    if (pMsg == NULL) return false;
    if (CExtGridCellString::OnInplaceControlKey(pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell))
        return true;
    if ((GetStyle() & __EGCS_READ_ONLY) != 0) return false;
    // A step from the editor shows the new item's text there, selected whole.
    auto stepInEditor = [&](bool bNext) {
        if (_Step(bNext)) gridcellkinds::SetEditorText(hWndInplaceControl, TextStored(), true);
        return true;
    };
    switch (pMsg->message) {
    case WM_LBUTTONDBLCLK:
        return m_bItemBinding && stepInEditor(true);
    case WM_MOUSEWHEEL: {
        const short nDelta = (short)HIWORD(pMsg->wParam);
        if (!m_bItemBinding || nDelta == 0) return false;
        return stepInEditor(nDelta < 0);
    }
    case WM_KEYDOWN:
        switch (pMsg->wParam) {
        case VK_UP:
        case VK_DOWN:
            if (!m_bItemBinding || (wndGrid.GetBehaviorStyle() & 0x40) != 0) return false;
            return stepInEditor(pMsg->wParam == VK_DOWN);
        case VK_DELETE:
            return m_bItemBinding;
        case VK_F4:
            if ((GetStyle() & __EGCS_BUTTON_DROPDOWN) == 0) return false;
            OnButtonPressed(wndGrid, __EBTT_DROPDOWN, rcCellExtra, rcCell, htiCell.m_nVisibleColNo,
                            htiCell.m_nVisibleRowNo, htiCell.m_nColNo, htiCell.m_nRowNo, htiCell.GetColumnType(),
                            htiCell.GetRowType());
            return true;
        default:
            return false;
        }
    case WM_CHAR: {
        if (!m_bItemBinding) return false;
        // Typing never edits a bound cell's text: a printable character picks the next
        // item that contains it.
        const UINT nChar = (UINT)pMsg->wParam;
        if (nChar >= 0x20 && nChar <= 0x7E) {
            const TCHAR sFind[2] = {(TCHAR)nChar, 0};
            const INT nFound = FindItemContaining(sFind, GetCurSel(), false);
            if (nFound >= 0 && SetCurSel(nFound, true))
                gridcellkinds::SetEditorText(hWndInplaceControl, TextStored(), true);
        }
        return true;
    }
    default:
        return false;
    }
}

void CExtGridCellComboBox::OnInplaceControlApply(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                 LONG nRowNo, INT nColType, INT nRowType, LPCTSTR sTextNew,
                                                 bool bSaveChanges)
{
    if (bSaveChanges && sTextNew != NULL && TextStored().Compare(sTextNew) != 0)
        SetCurSel(FindItem(sTextNew, -1), false);
    CExtGridCellString::OnInplaceControlApply(hWndInplaceControl, wndGrid, nColNo, nRowNo, nColType, nRowType,
                                              sTextNew, bSaveChanges);
}

HRESULT CExtGridCellComboBox::OnParseText(LPCTSTR sText) const
{
    HRESULT hr = CExtGridCellString::OnParseText(sText);
    if (FAILED(hr) || !m_bItemBinding) return hr;
    return FindItem(sText, -1) >= 0 ? S_OK : DISP_E_PARAMNOTFOUND;
}

CSize CExtGridCellComboBox::_MeasureRow(INT nIndex, bool bWithIndent) const
{
    const CString strText = GetItemText(nIndex);
    HFONT hItemFont = GetItemFont(nIndex);
    const CSize szText = gridcellkinds::MeasureListText(hItemFont != NULL ? hItemFont : DefaultListFont(), strText,
                                                        gridcellkinds::ListTextFlags(strText));
    if (hItemFont != NULL) ::DeleteObject(hItemFont);
    const CSize szMargins = OnQueryListItemMargins();
    CExtCmdIcon iconList, iconSelected, iconCell;
    GetItemIcons(nIndex, iconList, iconSelected, iconCell);
    const CSize sz1 = IconSize(iconList), sz2 = IconSize(iconSelected);
    CSize sz;
    sz.cx = std::max(sz1.cx, sz2.cx) + szText.cx + 2 * szMargins.cx;
    if (bWithIndent) sz.cx += GetItemIndent(nIndex) + 3;
    sz.cy = std::max(std::max(sz1.cy, sz2.cy), szText.cy) + 2 * szMargins.cy;
    return sz;
}

CSize CExtGridCellComboBox::OnQueryDropDownSize() const
{
    LONG nWidth = 0, nHeight = 0;
    for (INT i = 0; i < GetItemCount(); i++) {
        const CSize sz = _MeasureRow(i, true);
        nWidth = std::max(nWidth, sz.cx);
        // The row that reaches the limit is the last one counted.
        if (nHeight < 200) nHeight += sz.cy;
    }
    return CSize(std::max<LONG>(nWidth + 30, 50), std::max<LONG>(nHeight, 15));
}

bool CExtGridCellComboBox::OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli)
{
    for (const ITEM_INFO* p : m_arrItems) {
        const int n = wndListBox.AddString(p->m_strText);
        if (n >= 0) wndListBox.SetItemData(n, p->m_dwItemData);
    }
    wndListBox.SetCurSel(GetCurSel());
    pli.m_nItemIndex = wndListBox.GetCurSel();
    return true;
}

bool CExtGridCellComboBox::OnPopupListBoxSelEndOK(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli)
{
    if (!gridcellkinds::TakeListPick(wndListBox, pli)) return false;
    const INT nSel = pli.m_nItemIndex;
    SetCurSel(nSel, true);
    CString strRow;
    wndListBox.GetText(nSel, strRow);
    TextSet(strRow, false);
    gridcellkinds::ValueChangedFromList(*this, pli);
    return false;
}

bool CExtGridCellComboBox::OnPopupListBoxItemMeasure(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli,
                                                     LPMEASUREITEMSTRUCT pMIS)
{
    (void)pli;
    if (pMIS == NULL || (wndListBox.GetStyle() & LBS_HASSTRINGS) == 0) return false;
    pMIS->itemWidth = pMIS->itemHeight = 12;
    const INT nIndex = (INT)pMIS->itemID;
    const LPCTSTR sText = GetItemText(nIndex);
    if (sText == NULL || *sText == 0) return true;
    const CSize sz = _MeasureRow(nIndex, false);
    pMIS->itemWidth = (UINT)sz.cx;
    pMIS->itemHeight = (UINT)sz.cy;
    return true;
}

void CExtGridCellComboBox::_DrawRowText(CDC& dc, INT nIndex, const CString& strText, CRect rcText,
                                        bool bSelected) const
{
    HFONT hItemFont = GetItemFont(nIndex);
    HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hItemFont != NULL ? hItemFont : DefaultListFont());
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    dc.DrawText(strText, &rcText,
                gridcellkinds::ListTextFlags(strText) | DT_VCENTER | DT_END_ELLIPSIS);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
    ::SelectObject(dc.GetSafeHdc(), hOld);
    if (hItemFont != NULL) ::DeleteObject(hItemFont);
}

bool CExtGridCellComboBox::OnPopupListBoxItemDraw(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli,
                                                  LPDRAWITEMSTRUCT pDIS)
{
    (void)pli;
    if (pDIS == NULL || (wndListBox.GetStyle() & LBS_HASSTRINGS) == 0) return false;
    const INT nIndex = (INT)pDIS->itemID;
    if (nIndex < 0 || nIndex >= wndListBox.GetCount()) return false;
    CDC* pDC = CDC::FromHandle(pDIS->hDC);
    const bool bSelected = (pDIS->itemState & ODS_SELECTED) != 0;
    CRect rcItem(pDIS->rcItem);
    if ((pDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0 && nIndex == wndListBox.GetCount() - 1) {
        CRect rcClient;
        wndListBox.GetClientRect(&rcClient);
        if (rcClient.bottom > rcItem.bottom) {
            CRect rcBelow(rcClient.left, rcItem.bottom, rcClient.right, rcClient.bottom);
            pDC->FillSolidRect(&rcBelow, ::GetSysColor(COLOR_WINDOW));
        }
    }
    rcItem.left += GetItemIndent(nIndex);
    CExtCmdIcon iconList, iconSelected, iconCell;
    GetItemIcons(nIndex, iconList, iconSelected, iconCell);
    CExtCmdIcon& icon = bSelected ? iconSelected : iconList;
    if (!icon.IsEmpty()) {
        const CSize sz = icon.GetSize();
        CRect rcIcon(rcItem.left, rcItem.top, rcItem.left + sz.cx, rcItem.bottom);
        pDC->FillSolidRect(&rcIcon, ::GetSysColor(COLOR_WINDOW));
        icon.Paint(g_CurrentPaintManager.GetPM(), pDC->GetSafeHdc(), rcIcon.left,
                   rcIcon.top + (rcIcon.Height() - sz.cy) / 2, sz.cx, sz.cy);
        rcItem.left = rcIcon.right + 3;
    }
    const CSize szMargins = OnQueryListItemMargins();
    pDC->FillSolidRect(&rcItem, ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CRect rcText(rcItem);
    rcText.DeflateRect(szMargins.cx, szMargins.cy);
    CString strText;
    wndListBox.GetText(nIndex, strText);
    _DrawRowText(*pDC, nIndex, strText, rcText, bSelected);
    if (bSelected) pDC->DrawFocusRect(&rcItem);
    return true;
}

HFONT CExtGridCellComboBox::GetItemFont(INT nIndex) const
{
    (void)nIndex;
    return NULL;
}

void CExtGridCellComboBox::GetItemIcons(INT nIndex, CExtCmdIcon& iconList, CExtCmdIcon& iconListSelected,
                                        CExtCmdIcon& iconCell) const
{
    iconList.Empty();
    iconListSelected.Empty();
    iconCell.Empty();
    const ITEM_INFO* p = GetItemInfo(nIndex);
    if (p == NULL || m_hImageList == NULL) return;
    ExtractIcon(m_hImageList, p->m_nListImage, iconList);
    ExtractIcon(m_hImageList, p->m_nSelectedListImage, iconListSelected);
    ExtractIcon(m_hImageList, p->m_nCellImage, iconCell);
}

INT CExtGridCellComboBox::GetItemIndent(INT nIndex) const
{
    const ITEM_INFO* p = GetItemInfo(nIndex);
    if (p == NULL) return 0;
    // A damaged indent level must not push the row out of any rectangle.
    const INT nLevel = std::max(0, std::min(p->m_nIndent, 100));
    return nLevel * GetIndentStep();
}

INT CExtGridCellComboBox::GetIndentStep() const { return 10; }

// ---- drop list -----------------------------------------------------------------------------

CExtGridCellDropListComboBox::CExtGridCellDropListComboBox(CExtGridDataProvider* pOwner)
    : CExtGridCellComboBox(pOwner)
{
    ModifyStyle(__EGCS_NO_INPLACE_CONTROL);
}

CExtGridCell* CExtGridCellDropListComboBox::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellDropListComboBox>(*this, pMalloc);
}

bool CExtGridCellDropListComboBox::OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, UINT nButton,
                                           UINT nEvent, UINT nFlags)
{
    if (nButton == 1 && (nEvent == 1 || nEvent == 2) && (nFlags & (MK_SHIFT | MK_CONTROL)) == 0) {
        HIT_TEST_INFO_T htiButton(hti);
        htiButton.m_dwAreaFlags = (htiButton.m_dwAreaFlags & ~(DWORD)__EGCPF_ALL) | __EGCPF_BUTTON;
        htiButton.m_nButtonType = __EBTT_DROPDOWN;
        return wndGrid.TrackCellButton(this, htiButton);
    }
    return CExtGridCellComboBox::OnClick(wndGrid, hti, nButton, nEvent, nFlags);
}

// ---- font face names ------------------------------------------------------------------------

namespace {

// The two type glyphs, 11 x 11: 'T' marks a TrueType face, 'a' any other; '.' is the
// transparent colour.
const char* const g_arrGlyphTrueType[11] = {
    "...........", ".#########.", ".#.##.##.#.", "....##.....", "....##.....", "....##.....",
    "....##.....", "....##.....", "....##.....", "...####....", "...........",
};
const char* const g_arrGlyphOther[11] = {
    "...........", "...........", "...........", "..#####....", ".......#...", "..######...",
    ".#.....#...", ".#.....#...", "..#####.#..", "...........", "...........",
};

// The type glyphs' pixel layout: 11 x 11, top row first, 32 bits a pixel.
BITMAPINFO GlyphBitmapInfo()
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 11;
    bmi.bmiHeader.biHeight = -11;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

HBITMAP MakeGlyph(const char* const* arrRows)
{
    void* pBits = NULL;
    HBITMAP hBitmap = CreateDib32(NULL, 11, 11, &pBits);
    if (hBitmap == NULL) return NULL;
    DWORD* pPixels = static_cast<DWORD*>(pBits);
    for (int y = 0; y < 11; y++)
        for (int x = 0; x < 11; x++) pPixels[y * 11 + x] = arrRows[y][x] == '#' ? 0x00000080 : 0x00FF00FF;
    return hBitmap;
}

// Made once, shared by every font face cell, released at exit.
struct FontTypeGlyphs
{
    HBITMAP m_arr[2];
    FontTypeGlyphs() : m_arr{MakeGlyph(g_arrGlyphTrueType), MakeGlyph(g_arrGlyphOther)} {}
    ~FontTypeGlyphs()
    {
        for (HBITMAP h : m_arr)
            if (h != NULL) ::DeleteObject(h);
    }
};

FontTypeGlyphs& Glyphs()
{
    static FontTypeGlyphs s_glyphs;
    return s_glyphs;
}

int CALLBACK EnumFontProc(const LOGFONT* pLF, const TEXTMETRIC* pTM, DWORD dwFontType, LPARAM lParam)
{
    CExtGridCellFontFaceName* pCell = reinterpret_cast<CExtGridCellFontFaceName*>(lParam);
    return pCell->OnEnumFont(reinterpret_cast<const ENUMLOGFONTEX*>(pLF),
                             reinterpret_cast<const NEWTEXTMETRICEX*>(pTM), dwFontType);
}

BYTE CharSetOf(DWORD dwItemData) { return (BYTE)((dwItemData >> 17) & 0xFF); }
BYTE OutPrecisionOf(DWORD dwItemData) { return (BYTE)((dwItemData >> 9) & 0xFF); }

}  // namespace

CExtGridCellFontFaceName::CExtGridCellFontFaceName(CExtGridDataProvider* pOwner) : CExtGridCellComboBox(pOwner)
{
    RebuildFontList();
}

CExtGridCell* CExtGridCellFontFaceName::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellFontFaceName>(*this, pMalloc);
}

void CExtGridCellFontFaceName::RebuildFontList()
{
    RemoveAllItems();
    HDC hDC = ::GetDC(NULL);
    if (hDC == NULL) return;
    LOGFONT lf;
    memset(&lf, 0, sizeof(lf));
    lf.lfCharSet = ANSI_CHARSET;
    ::EnumFontFamiliesEx(hDC, &lf, (FONTENUMPROC)EnumFontProc, (LPARAM)this, 0);
    ::ReleaseDC(NULL, hDC);
}

int CExtGridCellFontFaceName::OnEnumFont(const ENUMLOGFONTEX* pELF, const NEWTEXTMETRICEX* pNTM, DWORD dwFontType)
{
    (void)pNTM, (void)dwFontType;
    if (pELF == NULL) return 1;
    const LOGFONT& lf = pELF->elfLogFont;
    // The face name is copied within its field, terminated even when the field is not.
    char sFace[LF_FACESIZE];
    memcpy(sFace, lf.lfFaceName, sizeof(sFace));
    sFace[LF_FACESIZE - 1] = 0;
    if (sFace[0] == 0 || sFace[0] == '@' || FindItem(sFace, -1) >= 0) return 1;
    const DWORD dwData = ((DWORD)lf.lfCharSet * 65536 + (DWORD)lf.lfOutPrecision * 256 + lf.lfPitchAndFamily) * 2;
    InsertItem(sFace, dwData, -1);
    return 1;
}

HFONT CExtGridCellFontFaceName::_CreateFaceFont(INT nIndex) const
{
    const ITEM_INFO* p = GetItemInfo(nIndex);
    if (p == NULL) return NULL;
    HFONT hDefault = (HFONT)g_CurrentPaintManager->m_FontNormal.GetSafeHandle();
    if (hDefault == NULL) hDefault = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (hDefault == NULL) hDefault = (HFONT)::GetStockObject(SYSTEM_FONT);
    LOGFONT lf;
    if (hDefault == NULL || ::GetObject(hDefault, sizeof(lf), &lf) != sizeof(lf)) return NULL;
    lstrcpyn(lf.lfFaceName, p->m_strText, LF_FACESIZE);
    lf.lfHeight = ::MulDiv(lf.lfHeight, 13, 8);
    lf.lfCharSet = CharSetOf(p->m_dwItemData);
    lf.lfOutPrecision = OutPrecisionOf(p->m_dwItemData);
    lf.lfQuality = PROOF_QUALITY;
    return ::CreateFontIndirect(&lf);
}

HFONT CExtGridCellFontFaceName::GetItemFont(INT nIndex) const { return _CreateFaceFont(nIndex); }

HBITMAP CExtGridCellFontFaceName::GetFontTypeBitmap(INT nIndex) const
{
    const ITEM_INFO* p = GetItemInfo(nIndex);
    if (p == NULL) return NULL;
    return Glyphs().m_arr[OutPrecisionOf(p->m_dwItemData) == 1 ? 0 : 1];
}

void CExtGridCellFontFaceName::stat_DrawGlyph(HDC hDC, HBITMAP hBitmap, int x, int y)
{
    if (hDC == NULL || hBitmap == NULL) return;
    DWORD arrPixels[11 * 11];
    BITMAPINFO bmi = GlyphBitmapInfo();
    HDC hScreen = ::GetDC(NULL);
    const int nLines = ::GetDIBits(hScreen, hBitmap, 0, 11, arrPixels, &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, hScreen);
    if (nLines != 11) return;
    for (int i = 0; i < 11 * 11; i++) {
        const DWORD px = arrPixels[i] & 0xFFFFFF;
        if (px == 0xFF00FF) continue;
        ::SetPixelV(hDC, x + i % 11, y + i / 11, RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF));
    }
}

CSize CExtGridCellFontFaceName::IconGetSize() { return CSize(24, 15); }

CSize CExtGridCellFontFaceName::OnQueryListItemMargins() const { return CSize(6, 3); }

void CExtGridCellFontFaceName::_DrawRowText(CDC& dc, INT nIndex, const CString& strText, CRect rcText,
                                            bool bSelected) const
{
    if (HBITMAP hGlyph = GetFontTypeBitmap(nIndex)) {
        stat_DrawGlyph(dc.GetSafeHdc(), hGlyph, rcText.left, rcText.top + (rcText.Height() - 11) / 2);
        rcText.left += 11 + 3;
    }
    const ITEM_INFO* p = GetItemInfo(nIndex);
    if (p != NULL && CharSetOf(p->m_dwItemData) == SYMBOL_CHARSET) {
        // A symbol face cannot show its own name: the name first in the list's font.
        const int nOldMode = dc.SetBkMode(TRANSPARENT);
        const COLORREF clrOld = dc.SetTextColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), DefaultListFont());
        CRect rcName(rcText);
        dc.DrawText(strText, &rcName, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        rcName.top = rcText.top;
        rcName.bottom = rcText.bottom;
        dc.DrawText(strText, &rcName, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
        ::SelectObject(dc.GetSafeHdc(), hOld);
        dc.SetTextColor(clrOld);
        dc.SetBkMode(nOldMode);
        rcText.left = rcName.right + 4;
    }
    CExtGridCellComboBox::_DrawRowText(dc, nIndex, strText, rcText, bSelected);
}

void CExtGridCellFontFaceName::OnPaint(EXT_GRID_CELL_PAINT_ARGS) const
{
    CExtGridCellComboBox::OnPaint(EXT_GRID_CELL_PAINT_PASS);
    if (::IsRectEmpty(&rcCell) || !dc.RectVisible(&rcCell)) return;
    // The sample takes the icon part, which has no icon of its own to paint it.
    CELL_LAYOUT lay;
    CalcPartsLayout(lay, EXT_GRID_CELL_PAINT_PASS);
    if (!lay.m_rcIcon.IsRectEmpty()) OnPaintIcon(NULL, lay.m_rcIcon, EXT_GRID_CELL_PAINT_PASS);
}

void CExtGridCellFontFaceName::OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon, EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)pIcon, (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)nColType,
        (void)nRowType, (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange, (void)dwAreaFlags,
        (void)dwHelperPaintFlags;
    if (::IsRectEmpty(&rcIcon) || !dc.RectVisible(&rcIcon)) return;
    const COLORREF clrFace = wndGrid.GetColor(COLOR_BTNFACE);
    dc.FillSolidRect(&rcIcon, clrFace);
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0) {
        // No face to show: the part is crossed out.
        CPen pen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOWTEXT));
        CPen* pOld = dc.SelectObject(&pen);
        dc.MoveTo(rcIcon.left, rcIcon.top);
        dc.LineTo(rcIcon.right, rcIcon.bottom);
        dc.MoveTo(rcIcon.left, rcIcon.bottom - 1);
        dc.LineTo(rcIcon.right, rcIcon.top - 1);
        dc.SelectObject(pOld);
        return;
    }
    CString strText = TextStored();
    strText.Trim(_T(" \t\r\n"));
    const INT nCurrent = GetCurSel();
    if (m_arrItems.empty() || nCurrent < 0 || strText.IsEmpty()) return;
    CRect rcSample(rcIcon);
    rcSample.DeflateRect(1, 1);
    if (rcSample.IsRectEmpty()) return;
    CExtMemoryDC dcMem(&dc, &rcSample);
    dcMem.FillSolidRect(&rcSample, clrFace);
    HFONT hFont = _CreateFaceFont(nCurrent);
    HGDIOBJ hOld = ::SelectObject(dcMem.GetSafeHdc(), hFont != NULL ? (HGDIOBJ)hFont : ::GetStockObject(SYSTEM_FONT));
    const int nOldMode = dcMem.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dcMem.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    CRect rcText(rcSample);
    dcMem.DrawText(_T("abcdefgh"), &rcText, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_LEFT);
    dcMem.SetTextColor(clrOld);
    dcMem.SetBkMode(nOldMode);
    ::SelectObject(dcMem.GetSafeHdc(), hOld);
    if (hFont != NULL) ::DeleteObject(hFont);
}
