#include "toolkit/grid/grid_cell_check.h"
#include <algorithm>
#include "toolkit/grid/grid_cell_kinds_util.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/pickers/popup_control_menu.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_SERIAL(CExtGridCellBool, CExtGridCellEx, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellCheckBox, CExtGridCellString, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellRadioButton, CExtGridCellString, VERSIONABLE_SCHEMA | 1)

CString CExtGridCellBool::g_strTextTrue(_T("True"));
CString CExtGridCellBool::g_strTextFalse(_T("False"));

namespace {

bool SameTextNoCase(LPCTSTR s1, const CString& s2) { return s1 != NULL && s2.CompareNoCase(s1) == 0; }

}  // namespace

// ---- boolean cell ---------------------------------------------------------------------------

CExtGridCellBool::CExtGridCellBool(CExtGridDataProvider* pOwner)
    : CExtGridCellEx(pOwner), m_strTextTrue(g_strTextTrue), m_strTextFalse(g_strTextFalse)
{
    ModifyStyle(__EGCS_BUTTON_DROPDOWN);
}

bool CExtGridCellBool::GetValue() const { return (GetStyle() & __EGCS_CHECKED) != 0; }

bool CExtGridCellBool::SetValue(bool bValue)
{
    const bool bOld = GetValue();
    if (bValue)
        ModifyStyle(__EGCS_CHECKED);
    else
        ModifyStyle(0, __EGCS_CHECKED);
    return bOld;
}

CString CExtGridCellBool::GetText(bool bValue) const { return bValue ? m_strTextTrue : m_strTextFalse; }

CString CExtGridCellBool::SetText(bool bValue, LPCTSTR sText)
{
    CString& str = bValue ? m_strTextTrue : m_strTextFalse;
    CString strOld = str;
    str = sText != NULL ? sText : _T("");
    return strOld;
}

void CExtGridCellBool::Serialize(CArchive& ar)
{
    CExtGridCellEx::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_strTextTrue;
        ar << m_strTextFalse;
    } else {
        CString strTrue, strFalse;
        ar >> strTrue;
        ar >> strFalse;
        m_strTextTrue = strTrue;
        m_strTextFalse = strFalse;
    }
}

void CExtGridCellBool::Assign(const CExtGridCell& other)
{
    CExtGridCellEx::Assign(other);
    if (&other == this) return;
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellBool))) {
        const CExtGridCellBool& src = static_cast<const CExtGridCellBool&>(other);
        m_strTextTrue = src.m_strTextTrue;
        m_strTextFalse = src.m_strTextFalse;
    } else {
        m_strTextTrue = g_strTextTrue;
        m_strTextFalse = g_strTextFalse;
    }
}

int CExtGridCellBool::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellBool))) {
        const bool bMine = GetValue(), bOther = static_cast<const CExtGridCellBool&>(other).GetValue();
        if (bMine != bOther) return bMine ? 1 : -1;
        dwStyleMask &= ~(DWORD)__EGCS_CHECKED;
    }
    return CExtGridCellEx::Compare(other, dwStyleMask, dwStyleExMask);
}

void CExtGridCellBool::TextGet(CString& strCopy) const
{
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0)
        strCopy.Empty();
    else
        strCopy = GetValue() ? m_strTextTrue : m_strTextFalse;
}

void CExtGridCellBool::TextSet(LPCTSTR str, bool bAllowChangeDataType)
{
    (void)bAllowChangeDataType;
    if (str == NULL || FAILED(OnParseText(str))) return;
    const bool bNew = SameTextNoCase(str, m_strTextTrue);
    if (bNew != GetValue()) SetValue(bNew);
}

void CExtGridCellBool::VariantGet(VARIANT* pVariant) const
{
    if (pVariant == NULL) return;
    ::VariantClear(pVariant);
    pVariant->vt = VT_BOOL;
    pVariant->boolVal = GetValue() ? VARIANT_TRUE : VARIANT_FALSE;
}

CExtGridCell* CExtGridCellBool::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellBool>(*this, pMalloc);
}

bool CExtGridCellBool::CanIncrement() { return true; }
bool CExtGridCellBool::CanDecrement() { return true; }

bool CExtGridCellBool::Increment()
{
    SetValue(!GetValue());
    return true;
}

bool CExtGridCellBool::Decrement()
{
    SetValue(!GetValue());
    return true;
}

HWND CExtGridCellBool::OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo,
                                              LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                              const RECT& rcCellExtra, const RECT& rcCell,
                                              const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                              LONG nLastEditedRowNo)
{
    // A plain check box without texts has nothing an editor could show.
    if ((GetStyle() & (__EGCS_BUTTON_DROPDOWN | __EGCS_CHK_CHECK)) == __EGCS_CHK_CHECK && m_strTextTrue.IsEmpty() &&
        m_strTextFalse.IsEmpty())
        return NULL;
    return CExtGridCellEx::OnInplaceControlCreate(wndGrid, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType,
                                                  nRowType, rcCellExtra, rcCell, rcInplaceControl, nLastEditedColNo,
                                                  nLastEditedRowNo);
}

void CExtGridCellBool::_ShowInEditor(HWND hWndInplaceControl, bool bSelectAll) const
{
    CString strText;
    TextGet(strText);
    gridcellkinds::SetEditorText(hWndInplaceControl, strText, bSelectAll);
}

bool CExtGridCellBool::OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                           const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                                           const RECT& rcCell)
{
    if (pMsg == NULL) return false;
    if (CExtGridCellEx::OnInplaceControlKey(pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell))
        return true;
    if ((GetStyle() & __EGCS_READ_ONLY) != 0) return false;
    switch (pMsg->message) {
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
        SetValue(!GetValue());
        _ShowInEditor(hWndInplaceControl, false);
        if (pMsg->message == WM_LBUTTONDBLCLK) CExtGridInplaceControl::stat_EndEdit(hWndInplaceControl, true);
        return true;
    case WM_KEYDOWN:
        switch (pMsg->wParam) {
        case VK_RETURN:
        case VK_ESCAPE:
            CExtGridInplaceControl::stat_EndEdit(hWndInplaceControl, true);
            return true;
        case VK_UP:
        case VK_DOWN: {
            const bool bNew = pMsg->wParam == VK_UP;
            if (bNew != GetValue()) {
                SetValue(bNew);
                _ShowInEditor(hWndInplaceControl, true);
            }
            return true;
        }
        case VK_F4: {
            if ((GetStyle() & __EGCS_BUTTON_DROPDOWN) == 0) return false;
            CExtGridInplaceControl::stat_EndEdit(hWndInplaceControl, true);
            OnButtonPressed(wndGrid, __EBTT_DROPDOWN, rcCellExtra, rcCell, htiCell.m_nVisibleColNo,
                            htiCell.m_nVisibleRowNo, htiCell.m_nColNo, htiCell.m_nRowNo, htiCell.GetColumnType(),
                            htiCell.GetRowType());
            return true;
        }
        default:
            return false;
        }
    default:
        return false;
    }
}

void CExtGridCellBool::OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl,
                                                    LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo,
                                                    INT nColType, INT nRowType, DWORD dwAreaFlags, bool* pbReadOnly,
                                                    bool* pbPassword, COLORREF* pclrText, COLORREF* pclrBack)
{
    CExtGridCellEx::OnInplaceControlQueryOptions(wndGrid, hWndInplaceControl, nVisibleColNo, nVisibleRowNo, nColNo,
                                                 nRowNo, nColType, nRowType, dwAreaFlags, pbReadOnly, pbPassword,
                                                 pclrText, pclrBack);
    if (pbReadOnly != NULL) *pbReadOnly = true;
    if (pbPassword != NULL) *pbPassword = false;
}

HRESULT CExtGridCellBool::OnParseText(LPCTSTR sText) const
{
    if (sText == NULL) return E_INVALIDARG;
    if (SameTextNoCase(sText, m_strTextTrue) || SameTextNoCase(sText, m_strTextFalse)) return S_OK;
    return E_FAIL;
}

CSize CExtGridCellBool::OnQueryDropDownSize() const
{
    HFONT hFont = (HFONT)g_CurrentPaintManager->m_FontNormal.GetSafeHandle();
    const CSize szTrue = gridcellkinds::MeasureListText(hFont, m_strTextTrue, DT_SINGLELINE);
    const CSize szFalse = gridcellkinds::MeasureListText(hFont, m_strTextFalse, DT_SINGLELINE);
    // Both rows have the same margins here; a kind with rows of their own margins
    // measures its rows itself.
    const CSize szMargins = OnQueryListItemMargins();
    const LONG nWidth = std::max(szTrue.cx, szFalse.cx) + 2 * szMargins.cx + 30;
    const LONG nHeight = szTrue.cy + szFalse.cy + 4 * szMargins.cy;
    return CSize(nWidth, nHeight);
}

bool CExtGridCellBool::OnPopupListBoxInitContent(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli)
{
    int nTrue = wndListBox.AddString(m_strTextTrue);
    if (nTrue >= 0) wndListBox.SetItemData(nTrue, 1);
    int nFalse = wndListBox.AddString(m_strTextFalse);
    if (nFalse >= 0) wndListBox.SetItemData(nFalse, 0);
    wndListBox.SetCurSel(GetValue() ? nTrue : nFalse);
    pli.m_nItemIndex = wndListBox.GetCurSel();
    return true;
}

bool CExtGridCellBool::OnPopupListBoxSelEndOK(CExtPopupInplaceListBox& wndListBox, POPUP_LIST_INFO& pli)
{
    if (!gridcellkinds::TakeListPick(wndListBox, pli)) return false;
    SetValue(wndListBox.GetItemData(pli.m_nItemIndex) != 0);
    gridcellkinds::ValueChangedFromList(*this, pli);
    return false;
}

// ---- check box cell --------------------------------------------------------------------------

CExtGridCellCheckBox::CExtGridCellCheckBox(CExtGridDataProvider* pOwner)
    : CExtGridCellString(pOwner), m_bThreeState(false), m_bTextMode(false)
{
    ModifyStyle(__EGCS_CHK_CHECK, __EGCS_CHK_MASK);
}

INT CExtGridCellCheckBox::GetCheck() const
{
    const DWORD dwStyle = GetStyle();
    if ((dwStyle & __EGCS_CHK_MASK) == __EGCS_CHK_INDETERMINATE) return 2;
    return (dwStyle & __EGCS_CHECKED) != 0 ? 1 : 0;
}

INT CExtGridCellCheckBox::SetCheck(INT nCheck)
{
    const INT nOld = GetCheck();
    if (nCheck < 0 || nCheck > 2 || (nCheck == 2 && !m_bThreeState) || (GetStyle() & __EGCS_READ_ONLY) != 0)
        return nOld;
    switch (nCheck) {
    case 0: ModifyStyle(__EGCS_CHK_CHECK, __EGCS_CHK_MASK | __EGCS_CHECKED); break;
    case 1: ModifyStyle(__EGCS_CHK_CHECK | __EGCS_CHECKED, __EGCS_CHK_MASK); break;
    default: ModifyStyle(__EGCS_CHK_INDETERMINATE | __EGCS_CHECKED, __EGCS_CHK_MASK); break;
    }
    return nOld;
}

INT CExtGridCellCheckBox::GetNextCheck() const
{
    if (m_bThreeState) return (GetCheck() + 1) % 3;
    return GetCheck() == 0 ? 1 : 0;
}

void CExtGridCellCheckBox::Serialize(CArchive& ar)
{
    CExtGridCellString::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (BYTE)((m_bThreeState ? 1 : 0) | (m_bTextMode ? 2 : 0));
    } else {
        BYTE nBits = 0;
        ar >> nBits;
        m_bThreeState = (nBits & 1) != 0;
        m_bTextMode = (nBits & 2) != 0;
    }
}

void CExtGridCellCheckBox::Assign(const CExtGridCell& other)
{
    if (&other == this) return;
    if (!other.IsKindOf(RUNTIME_CLASS(CExtGridCellCheckBox))) {
        CExtGridCellString::Assign(other);
        m_bThreeState = m_bTextMode = false;
        return;
    }
    const CExtGridCellCheckBox& src = static_cast<const CExtGridCellCheckBox&>(other);
    m_bThreeState = src.m_bThreeState;
    m_bTextMode = src.m_bTextMode;
    // In text mode the text follows the state: the source's stored text is not taken.
    if (m_bTextMode)
        CExtGridCellEx::Assign(other);
    else
        CExtGridCellString::Assign(other);
}

int CExtGridCellCheckBox::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (m_bTextMode) return CExtGridCellEx::Compare(other, dwStyleMask, dwStyleExMask);
    return CExtGridCellString::Compare(other, dwStyleMask, dwStyleExMask);
}

void CExtGridCellCheckBox::TextGet(CString& strCopy) const
{
    if (!m_bTextMode) {
        CExtGridCellString::TextGet(strCopy);
        return;
    }
    strCopy.Empty();
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0) return;
    switch (GetCheck()) {
    case 0: strCopy = CExtGridCellBool::g_strTextFalse; break;
    case 1: strCopy = CExtGridCellBool::g_strTextTrue; break;
    default: break;
    }
}

void CExtGridCellCheckBox::TextSet(LPCTSTR str, bool bAllowChangeDataType)
{
    if (!m_bTextMode) {
        CExtGridCellString::TextSet(str, bAllowChangeDataType);
        return;
    }
    if (str == NULL || *str == 0) {
        SetCheck(2);
        return;
    }
    if (FAILED(OnParseText(str))) return;
    const INT nNew = SameTextNoCase(str, CExtGridCellBool::g_strTextTrue) ? 1 : 0;
    if (nNew != GetCheck()) SetCheck(nNew);
}

CExtGridCell* CExtGridCellCheckBox::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellCheckBox>(*this, pMalloc);
}

bool CExtGridCellCheckBox::OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, UINT nButton, UINT nEvent,
                                   UINT nFlags)
{
    if ((GetStyle() & __EGCS_READ_ONLY) != 0) return false;
    if (nButton == 1 && (nEvent == 1 || nEvent == 2) && (nFlags & (MK_SHIFT | MK_CONTROL)) == 0 &&
        (hti.m_dwAreaFlags & __EGCPF_CHECK) != 0 && (GetStyle() & __EGCS_CHK_MASK) != 0) {
        const INT nColType = hti.GetColumnType(), nRowType = hti.GetRowType();
        OnChangeCheck(GetNextCheck(), wndGrid, hti.m_nColNo, hti.m_nRowNo, nColType, nRowType, hti.m_rcItem);
        wndGrid.OnCellValueChanged(this, hti.m_nRowNo, hti.m_nColNo, nRowType, nColType);
        return true;
    }
    return CExtGridCellString::OnClick(wndGrid, hti, nButton, nEvent, nFlags);
}

bool CExtGridCellCheckBox::OnKey(CExtGridWnd& wndGrid, bool bKeyDownEvent, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const DWORD dwStyle = GetStyle();
    const bool bToggleKey = nChar == VK_SPACE || (nChar == VK_RETURN && (dwStyle & __EGCS_NO_INPLACE_CONTROL) != 0);
    if (bKeyDownEvent || !bToggleKey || (dwStyle & __EGCS_CHK_MASK) == 0)
        return CExtGridCellString::OnKey(wndGrid, bKeyDownEvent, nChar, nRepCnt, nFlags);
    const POINT ptFocus = wndGrid.FocusGet();
    CRect rcCell(0, 0, 0, 0);
    if (ptFocus.x >= 0 && ptFocus.y >= 0) wndGrid.GetCellRects(ptFocus.x, ptFocus.y, 0, 0, NULL, &rcCell);
    OnChangeCheck(GetNextCheck(), wndGrid, ptFocus.x, ptFocus.y, 0, 0, rcCell);
    wndGrid.OnCellValueChanged(this, ptFocus.y, ptFocus.x, 0, 0);
    return true;
}

void CExtGridCellCheckBox::OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl,
                                                        LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                                        LONG nRowNo, INT nColType, INT nRowType, DWORD dwAreaFlags,
                                                        bool* pbReadOnly, bool* pbPassword, COLORREF* pclrText,
                                                        COLORREF* pclrBack)
{
    CExtGridCellString::OnInplaceControlQueryOptions(wndGrid, hWndInplaceControl, nVisibleColNo, nVisibleRowNo,
                                                     nColNo, nRowNo, nColType, nRowType, dwAreaFlags, pbReadOnly,
                                                     pbPassword, pclrText, pclrBack);
    if (m_bTextMode && pbReadOnly != NULL) *pbReadOnly = true;
}

HRESULT CExtGridCellCheckBox::OnParseText(LPCTSTR sText) const
{
    if (sText == NULL) sText = _T("");
    if (!m_bTextMode) return CExtGridCellString::OnParseText(sText);
    if (SameTextNoCase(sText, CExtGridCellBool::g_strTextTrue) ||
        SameTextNoCase(sText, CExtGridCellBool::g_strTextFalse))
        return S_OK;
    return E_FAIL;
}

// ---- radio button cell --------------------------------------------------------------------------

CExtGridCellRadioButton::CExtGridCellRadioButton(CExtGridDataProvider* pOwner) : CExtGridCellString(pOwner)
{
    ModifyStyle(__EGCS_CHK_RADIO, __EGCS_CHK_MASK);
}

CExtGridCell* CExtGridCellRadioButton::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellRadioButton>(*this, pMalloc);
}
