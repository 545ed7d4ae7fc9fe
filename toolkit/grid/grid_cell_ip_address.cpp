#include "toolkit/grid/grid_cell_ip_address.h"
#include "toolkit/grid/grid_cell_typed_common.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/grid/grid_wnd.h"

IMPLEMENT_SERIAL(CExtGridCellIPAddress, CExtGridCellEx, VERSIONABLE_SCHEMA | 1)

namespace {

// One octet's text as atoi reads it (optional sign, leading digits, none gives 0), but
// saturating: a long run of digits stays large instead of wrapping into range.
DWORD OctetValue(LPCTSTR p, int nLen)
{
    int i = 0;
    bool bNegative = false;
    if (i < nLen && (p[i] == _T('+') || p[i] == _T('-'))) bNegative = p[i++] == _T('-');
    int nValue = 0;
    for (; i < nLen && p[i] >= _T('0') && p[i] <= _T('9'); i++) {
        nValue = nValue * 10 + (p[i] - _T('0'));
        if (nValue > 255) nValue = 256;
    }
    if (bNegative) return 0;
    return (DWORD)(nValue > 255 ? 255 : nValue);
}

}  // namespace

CExtGridCellIPAddress::CExtGridCellIPAddress(CExtGridDataProvider* pOwner) : CExtGridCellEx(pOwner), m_dwAddress(0)
{
}

CExtGridCellIPAddress::~CExtGridCellIPAddress() {}

void CExtGridCellIPAddress::FormatAddress(CString& strText, DWORD dwAddress) const
{
    strText.Format(_T("%d.%d.%d.%d"), (int)((dwAddress >> 24) & 0xFF), (int)((dwAddress >> 16) & 0xFF),
                   (int)((dwAddress >> 8) & 0xFF), (int)(dwAddress & 0xFF));
}

bool CExtGridCellIPAddress::stat_ParseAddress(LPCTSTR sText, DWORD& dwAddress)
{
    if (sText == NULL) return false;
    CString s(sText);
    s.Remove(_T(' '));
    int arrDots[3];
    int nFrom = 0;
    for (int i = 0; i < 3; i++) {
        arrDots[i] = s.Find(_T('.'), nFrom);
        if (arrDots[i] < 0) return false;
        nFrom = arrDots[i] + 1;
    }
    LPCTSTR p = s;
    const int arrStart[4] = {0, arrDots[0] + 1, arrDots[1] + 1, arrDots[2] + 1};
    const int arrEnd[4] = {arrDots[0], arrDots[1], arrDots[2], s.GetLength()};
    DWORD dw = 0;
    for (int i = 0; i < 4; i++) dw = (dw << 8) | OctetValue(p + arrStart[i], arrEnd[i] - arrStart[i]);
    dwAddress = dw;
    return true;
}

void CExtGridCellIPAddress::Serialize(CArchive& ar)
{
    CExtGridCellEx::Serialize(ar);
    if (ar.IsStoring())
        ar << m_dwAddress;
    else
        ar >> m_dwAddress;
}

void CExtGridCellIPAddress::Assign(const CExtGridCell& other)
{
    CExtGridCellEx::Assign(other);
    m_dwAddress = other.IsKindOf(RUNTIME_CLASS(CExtGridCellIPAddress))
                      ? static_cast<const CExtGridCellIPAddress&>(other).m_dwAddress
                      : 0;
}

int CExtGridCellIPAddress::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellIPAddress))) {
        const DWORD dwOther = static_cast<const CExtGridCellIPAddress&>(other).m_dwAddress;
        if (m_dwAddress < dwOther) return -1;
        if (m_dwAddress > dwOther) return 1;
    }
    return CExtGridCellEx::Compare(other, dwStyleMask, dwStyleExMask);
}

void CExtGridCellIPAddress::TextGet(CString& strCopy) const { FormatAddress(strCopy, m_dwAddress); }

void CExtGridCellIPAddress::TextSet(LPCTSTR str, bool bAllowChangeDataType)
{
    (void)bAllowChangeDataType;
    DWORD dw = 0;
    if (stat_ParseAddress(str, dw)) m_dwAddress = dw;
}

void CExtGridCellIPAddress::VariantGet(VARIANT* pVariant) const
{
    if (pVariant == NULL) return;
    ::VariantClear(pVariant);
    pVariant->vt = VT_UI4;
    pVariant->ulVal = m_dwAddress;
}

HRESULT CExtGridCellIPAddress::OnParseText(LPCTSTR sText) const
{
    DWORD dw = 0;
    return stat_ParseAddress(sText, dw) ? S_OK : E_FAIL;
}

CExtGridCell* CExtGridCellIPAddress::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellIPAddress>(*this, pMalloc);
}

HWND CExtGridCellIPAddress::OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo,
                                                   LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                   const RECT& rcCellExtra, const RECT& rcCell,
                                                   const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                                   LONG nLastEditedRowNo)
{
    auto fnCreate = [&](CExtGridInplaceEditIPAddress& editor) { return editor.Create(m_dwAddress); };
    return gridcell::CreateInplaceEditor<CExtGridInplaceEditIPAddress>(
        this, wndGrid, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType, rcCellExtra, rcCell,
        rcInplaceControl, nLastEditedColNo, nLastEditedRowNo, fnCreate);
}

void CExtGridCellIPAddress::OnInplaceControlApplyIPAddress(HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                                           LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                           DWORD dwIPAddress, bool bSaveChanges)
{
    if (bSaveChanges) {
        m_dwAddress = dwIPAddress;
        gridcell::ResortShowFocus(wndGrid);
    }
    wndGrid.OnInplaceControlApplied(this, hWndInplaceControl, nColNo, nRowNo, nColType, nRowType, dwIPAddress,
                                    bSaveChanges);
}
