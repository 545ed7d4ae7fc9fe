#include "toolkit/grid/grid_cell_updown.h"
#include <algorithm>
#include <cstdlib>
#include "toolkit/grid/grid_cell_kinds_util.h"
#include "toolkit/grid/grid_cell_typed_common.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/pickers/popup_control_menu.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_SERIAL(CExtGridCellUpDown, CExtGridCellVariant, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellUpDownFontWeight, CExtGridCellUpDown, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellSlider, CExtGridCellVariant, VERSIONABLE_SCHEMA | 1)

namespace {

const struct
{
    DWORD dwWeight;
    LPCTSTR sName;
} g_arrWeights[9] = {
    {100, _T("100 - Thin")},   {200, _T("200 - Ultra Light")}, {300, _T("300 - Light")},
    {400, _T("400 - Normal")}, {500, _T("500 - Medium")},      {600, _T("600 - Semi Bold")},
    {700, _T("700 - Bold")},   {800, _T("800 - Ultra Bold")},  {900, _T("900 - Heavy")},
};

using gridcellkinds::SerializeInt;

}  // namespace

// ---- up-down cell ---------------------------------------------------------------------------

CExtGridCellUpDown::CExtGridCellUpDown(CExtGridDataProvider* pOwner) : CExtGridCellVariant(pOwner)
{
    ModifyStyle(__EGCS_BUTTON_UPDOWN | __EGCS_TA_HORZ_RIGHT);
}

CExtGridCell* CExtGridCellUpDown::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellUpDown>(*this, pMalloc);
}

void CExtGridCellUpDown::_StepFromEditor(bool bUp, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                         const HIT_TEST_INFO_T& htiCell)
{
    const bool bChanged = bUp ? (CanIncrement() && Increment()) : (CanDecrement() && Decrement());
    if (bChanged && wndGrid.GetSafeHwnd() != NULL && ::GetParent(hWndInplaceControl) == wndGrid.GetSafeHwnd())
        wndGrid.OnCellValueChanged(this, htiCell.m_nRowNo, htiCell.m_nColNo, htiCell.GetRowType(),
                                   htiCell.GetColumnType());
    CString strText;
    TextGet(strText);
    gridcellkinds::SetEditorText(hWndInplaceControl, strText, true);
}

bool CExtGridCellUpDown::OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                             const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                                             const RECT& rcCell)
{
    if (pMsg == NULL) return false;
    if (CExtGridCellVariant::OnInplaceControlKey(pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell))
        return true;
    if ((GetStyle() & __EGCS_READ_ONLY) != 0) return false;
    if (pMsg->message == WM_MOUSEWHEEL) {
        const short nDelta = (short)HIWORD(pMsg->wParam);
        if (nDelta != 0) _StepFromEditor(nDelta > 0, hWndInplaceControl, wndGrid, htiCell);
        return true;
    }
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN) &&
        (wndGrid.GetBehaviorStyle() & 0x40) == 0) {
        _StepFromEditor(pMsg->wParam == VK_UP, hWndInplaceControl, wndGrid, htiCell);
        return true;
    }
    return false;
}

// ---- font weight ------------------------------------------------------------------------------

CExtGridCellUpDownFontWeight::CExtGridCellUpDownFontWeight(CExtGridDataProvider* pOwner)
    : CExtGridCellUpDown(pOwner)
{
    vt = VT_I4;
    lVal = 400;
    ModifyStyle(__EGCS_BUTTON_DROPDOWN);
}

CExtGridCell* CExtGridCellUpDownFontWeight::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellUpDownFontWeight>(*this, pMalloc);
}

LONG CExtGridCellUpDownFontWeight::GetWeight() const
{
    if (vt == VT_I4) return lVal;
    VARIANT v;
    ::VariantInit(&v);
    LONG n = 0;
    if (SUCCEEDED(::VariantChangeType(&v, const_cast<VARIANT*>(VariantPtr()), 0, VT_I4))) n = v.lVal;
    ::VariantClear(&v);
    return n;
}

bool CExtGridCellUpDownFontWeight::CanIncrement() { return CExtGridCellUpDown::CanIncrement() && GetWeight() < 900; }
bool CExtGridCellUpDownFontWeight::CanDecrement() { return CExtGridCellUpDown::CanDecrement() && GetWeight() > 1; }

HRESULT CExtGridCellUpDownFontWeight::OnParseText(LPCTSTR sText) const
{
    HRESULT hr = CExtGridCellUpDown::OnParseText(sText);
    if (FAILED(hr)) return hr;
    const int n = atoi(sText);
    return n >= 1 && n <= 900 ? S_OK : E_INVALIDARG;
}

void CExtGridCellUpDownFontWeight::GetWeightList(CStringArray& arrNames, CDWordArray& arrWeights) const
{
    arrNames.RemoveAll();
    arrWeights.RemoveAll();
    for (const auto& w : g_arrWeights) {
        arrNames.Add(w.sName);
        arrWeights.Add(w.dwWeight);
    }
}

CSize CExtGridCellUpDownFontWeight::OnQueryDropDownSize() const
{
    CStringArray arrNames;
    CDWordArray arrWeights;
    GetWeightList(arrNames, arrWeights);
    HFONT hFont = (HFONT)g_CurrentPaintManager->m_FontNormal.GetSafeHandle();
    const CSize szMargins = OnQueryListItemMargins();
    LONG nWidth = 0, nHeight = 0;
    for (INT_PTR i = 0; i < arrNames.GetSize(); i++) {
        const CSize sz = gridcellkinds::MeasureListText(hFont, arrNames[i], DT_SINGLELINE | DT_NOPREFIX);
        nWidth = std::max<LONG>(nWidth, sz.cx + 2 * szMargins.cx + 3);
        if (nHeight < 200) nHeight += sz.cy + 2 * szMargins.cy;
    }
    return CSize(std::max<LONG>(nWidth + 30, 50), std::max<LONG>(nHeight, 15));
}

bool CExtGridCellUpDownFontWeight::OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox,
                                                             POPUP_LIST_INFO& pli)
{
    CStringArray arrNames;
    CDWordArray arrWeights;
    GetWeightList(arrNames, arrWeights);
    const LONG nWeight = GetWeight();
    int nSelect = -1;
    for (INT_PTR i = 0; i < arrNames.GetSize(); i++) {
        const int n = wndListBox.AddString(arrNames[i]);
        if (n < 0) continue;
        wndListBox.SetItemData(n, arrWeights[i]);
        if ((LONG)arrWeights[i] == nWeight) nSelect = n;
    }
    wndListBox.SetCurSel(nSelect);
    pli.m_nItemIndex = wndListBox.GetCurSel();
    return true;
}

bool CExtGridCellUpDownFontWeight::OnPopupListBoxSelEndOK(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli)
{
    if (!gridcellkinds::TakeListPick(wndListBox, pli)) return false;
    CString strWeight;
    strWeight.Format(_T("%d"), (int)wndListBox.GetItemData(pli.m_nItemIndex));
    TextSet(strWeight, false);
    gridcellkinds::ValueChangedFromList(*this, pli);
    return false;
}

// ---- slider -----------------------------------------------------------------------------------

CExtGridCellSlider::CExtGridCellSlider(CExtGridDataProvider* pOwner)
    : CExtGridCellVariant(pOwner), m_nLineSize(1), m_nPageSize(20), m_nRangeMin(0), m_nRangeMax(100)
{
    vt = VT_I4;
    lVal = 0;
}

INT CExtGridCellSlider::GetPos() const { return vt == VT_I4 ? (INT)lVal : 0; }

INT CExtGridCellSlider::SetPos(INT nPos)
{
    const INT nOld = GetPos();
    ::VariantClear(this);
    vt = VT_I4;
    lVal = nPos;
    return nOld;
}

void CExtGridCellSlider::Serialize(CArchive& ar)
{
    CExtGridCellVariant::Serialize(ar);
    SerializeInt(ar, m_nLineSize);
    SerializeInt(ar, m_nPageSize);
    SerializeInt(ar, m_nRangeMin);
    SerializeInt(ar, m_nRangeMax);
}

void CExtGridCellSlider::Assign(const CExtGridCell& other)
{
    CExtGridCellVariant::Assign(other);
    if (&other == this) return;
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellSlider))) {
        const CExtGridCellSlider& src = static_cast<const CExtGridCellSlider&>(other);
        m_nLineSize = src.m_nLineSize;
        m_nPageSize = src.m_nPageSize;
        m_nRangeMin = src.m_nRangeMin;
        m_nRangeMax = src.m_nRangeMax;
    } else {
        m_nLineSize = 1;
        m_nPageSize = 20;
        m_nRangeMin = 0;
        m_nRangeMax = 100;
    }
}

CExtGridCell* CExtGridCellSlider::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellSlider>(*this, pMalloc);
}

HWND CExtGridCellSlider::OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo,
                                                LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                const RECT& rcCellExtra, const RECT& rcCell,
                                                const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                                LONG nLastEditedRowNo)
{
    auto fnCreate = [&](CExtGridInplaceSlider& editor) {
        return editor.Create(m_nLineSize, m_nPageSize, m_nRangeMin, m_nRangeMax, GetPos());
    };
    return gridcell::CreateInplaceEditor<CExtGridInplaceSlider>(
        this, wndGrid, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType, rcCellExtra, rcCell,
        rcInplaceControl, nLastEditedColNo, nLastEditedRowNo, fnCreate);
}

void CExtGridCellSlider::OnInplaceControlApplyInteger(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                      LONG nRowNo, INT nColType, INT nRowType, INT nValue,
                                                      bool bSaveChanges)
{
    if (bSaveChanges) {
        SetPos(nValue);
        gridcellkinds::ResortAndShowFocus(wndGrid);
    }
    wndGrid.OnInplaceControlApplied(this, hWndInplaceControl, nColNo, nRowNo, nColType, nRowType, (int)nValue,
                                    bSaveChanges);
}
