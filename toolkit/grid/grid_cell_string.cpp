#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/grid/grid_text_compare.h"
#include "toolkit/grid/grid_wnd.h"
#include <stdlib.h>
#include <string.h>

IMPLEMENT_SERIAL(CExtGridCellString, CExtGridCellEx, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellStringDM, CExtGridCell, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellPassword, CExtGridCellString, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellHeader, CExtGridCellStringDM, VERSIONABLE_SCHEMA | 1)

namespace {

// An ANSI text as a VT_BSTR, converted with the process code page; an empty text gives
// an empty BSTR.
void TextToVariant(LPCSTR sText, VARIANT* pVariant)
{
    if (pVariant == NULL) return;
    ::VariantClear(pVariant);
    if (sText == NULL) sText = "";
    int nWide = ::MultiByteToWideChar(CP_ACP, 0, sText, -1, NULL, 0);
    BSTR bstr = ::SysAllocStringLen(NULL, nWide > 0 ? (UINT)(nWide - 1) : 0);
    if (bstr == NULL) return;
    if (nWide > 1) ::MultiByteToWideChar(CP_ACP, 0, sText, -1, bstr, nWide);
    pVariant->vt = VT_BSTR;
    pVariant->bstrVal = bstr;
}

// Ordinal, case-sensitive, one multibyte character (lead and trail byte) at a time.
int CompareTexts(LPCSTR s1, LPCSTR s2)
{
    return GridCompareTextsOrdinal(s1 != NULL ? s1 : "", s2 != NULL ? s2 : "");
}

}  // namespace

// ---- String cell --------------------------------------------------------------------

CExtGridCellString::CExtGridCellString(CExtGridDataProvider* pOwner) : CExtGridCellEx(pOwner) {}
CExtGridCellString::~CExtGridCellString() {}

void CExtGridCellString::Serialize(CArchive& ar)
{
    CExtGridCellEx::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_str;
    } else {
        CString str;
        ar >> str;
        m_str = str;
    }
}

bool CExtGridCellString::IsEmpty() const { return m_str.IsEmpty() ? CExtGridCellEx::IsEmpty() : false; }

void CExtGridCellString::Reset()
{
    m_str.Empty();
    CExtGridCellEx::Reset();
}

// The stored text is copied, not the shown one: a clone of a cell whose value is marked
// undefined keeps its text.
void CExtGridCellString::Assign(const CExtGridCell& other)
{
    CExtGridCellEx::Assign(other);
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellString)))
        m_str = static_cast<const CExtGridCellString&>(other).m_str;
    else
        m_str.Empty();
}

int CExtGridCellString::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellString))) {
        int n = CompareTexts(m_str, static_cast<const CExtGridCellString&>(other).m_str);
        if (n != 0) return n;
        // Two plain string cells with equal texts have equal values: their VARIANTs are the
        // same BSTR, so converting both (two allocations per comparison while a sort meets
        // long runs of equal keys) would only confirm it. The font and colour steps come
        // before the values, so only cells with no font or colour of their own can skip
        // to the styles. Derived cells may give other values and go the whole way.
        if (GetRuntimeClass() == RUNTIME_CLASS(CExtGridCellString) &&
            other.GetRuntimeClass() == RUNTIME_CLASS(CExtGridCellString) && !HasOwnLook() &&
            !static_cast<const CExtGridCellString&>(other).HasOwnLook())
            return CompareStyles(other, dwStyleMask, dwStyleExMask);
    }
    return CExtGridCellEx::Compare(other, dwStyleMask, dwStyleExMask);
}

void CExtGridCellString::TextGet(CString& strCopy) const
{
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0)
        strCopy.Empty();
    else
        strCopy = m_str;
}

void CExtGridCellString::TextSet(LPCTSTR str, bool)
{
    if (str == NULL)
        m_str.Empty();
    else
        m_str = str;
}

void CExtGridCellString::VariantGet(VARIANT* pVariant) const { TextToVariant(m_str, pVariant); }

LPCTSTR CExtGridCellString::GetTextBuffer() const { return NULL; }

CExtGridCell* CExtGridCellString::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellString>(*this, pMalloc);
}

// ---- String cell in provider memory ---------------------------------------------
//
// A cell without an owner has no provider memory for its text. One that is loaded or
// assigned before it has an owner (a stored header cell read by the cell reader) keeps
// the text in a heap block of its own until SetOwner moves it into the owner's memory:
// without an owner the buffer is always the cell's own.

namespace {

LPTSTR HeapTextCopy(LPCTSTR str)
{
    const size_t nBytes = strlen(str) + 1;
    LPTSTR p = (LPTSTR)::malloc(nBytes);
    if (p != NULL) ::memcpy(p, str, nBytes);
    return p;
}

}  // namespace

CExtGridCellStringDM::CExtGridCellStringDM(CExtGridDataProvider* pOwner) : CExtGridCell(pOwner), m_pstr(NULL) {}

CExtGridCellStringDM::~CExtGridCellStringDM() { _TextFree(); }

void CExtGridCellStringDM::_TextFree()
{
    if (m_pstr == NULL) return;
    CExtGridDataProvider* pOwner = GetOwner();
    if (pOwner != NULL)
        pOwner->MallocFree(m_pstr);
    else
        ::free(m_pstr);
    m_pstr = NULL;
}

bool CExtGridCellStringDM::_TextKeepOwnerless(LPCTSTR str)
{
    LPTSTR pCopy = HeapTextCopy(str);
    if (pCopy == NULL) return false;
    _TextFree();
    m_pstr = pCopy;
    return true;
}

CExtGridDataProvider* CExtGridCellStringDM::SetOwner(CExtGridDataProvider* pOwner)
{
    CExtGridDataProvider* pOld = GetOwner();
    if (pOld == pOwner || m_pstr == NULL) return CExtGridCell::SetOwner(pOwner);
    LPTSTR pCopy = pOwner != NULL ? pOwner->StringAlloc(m_pstr) : NULL;
    _TextFree();
    m_pstr = pCopy;
    return CExtGridCell::SetOwner(pOwner);
}

void CExtGridCellStringDM::TextSet(LPCTSTR str, bool)
{
    if (str == m_pstr) return;
    CExtGridDataProvider* pOwner = GetOwner();
    if (pOwner == NULL) {
        if (str != NULL) AfxThrowMemoryException();
        _TextFree();
        return;
    }
    // The copy is made before the old text goes: the new text may lie inside it, and a
    // failed allocation keeps the old text.
    LPTSTR pCopy = NULL;
    if (str != NULL) {
        pCopy = pOwner->StringAlloc(str);
        if (pCopy == NULL) AfxThrowMemoryException();
    }
    _TextFree();
    m_pstr = pCopy;
}

void CExtGridCellStringDM::TextGet(CString& strCopy) const
{
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0 || m_pstr == NULL)
        strCopy.Empty();
    else
        strCopy = m_pstr;
}

bool CExtGridCellStringDM::IsEmpty() const
{
    return (m_pstr == NULL || *m_pstr == 0) ? CExtGridCell::IsEmpty() : false;
}

void CExtGridCellStringDM::Reset()
{
    _TextFree();
    CExtGridCell::Reset();
}

void CExtGridCellStringDM::Assign(const CExtGridCell& other)
{
    CExtGridCell::Assign(other);
    if (&other == this) return;
    LPCTSTR sText = NULL;
    CString strOther;
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellStringDM))) {
        sText = static_cast<const CExtGridCellStringDM&>(other).m_pstr;
    } else {
        sText = other.GetTextBuffer();
        if (sText == NULL) {
            other.TextGet(strOther);
            sText = strOther;
        }
    }
    if (sText == NULL || *sText == 0)
        _TextFree();
    else if (GetOwner() != NULL)
        TextSet(sText);
    else if (!_TextKeepOwnerless(sText))
        AfxThrowMemoryException();
}

void CExtGridCellStringDM::VariantGet(VARIANT* pVariant) const { TextToVariant(m_pstr, pVariant); }

LPCTSTR CExtGridCellStringDM::GetTextBuffer() const { return m_pstr; }

void CExtGridCellStringDM::Serialize(CArchive& ar)
{
    CExtGridCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (LPCSTR)(m_pstr != NULL ? m_pstr : "");
        return;
    }
    CString str;
    ar >> str;
    if (str.IsEmpty()) {
        _TextFree();
        return;
    }
    // A text that cannot be held makes the stored cell unreadable, like damaged bytes.
    if (GetOwner() == NULL) {
        if (!_TextKeepOwnerless(str)) AfxThrowArchiveException(CArchiveException::genericException);
        return;
    }
    try {
        TextSet(str);
    } catch (CMemoryException* e) {
        e->Delete();
        AfxThrowArchiveException(CArchiveException::genericException);
    }
}

CExtGridCell* CExtGridCellStringDM::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellStringDM>(*this, pMalloc);
}

// ---- Password cell --------------------------------------------------------------

CExtGridCellPassword::CExtGridCellPassword(CExtGridDataProvider* pOwner) : CExtGridCellString(pOwner) {}

int CExtGridCellPassword::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (!other.IsKindOf(RUNTIME_CLASS(CExtGridCellPassword))) return 0;
    int nMine = m_str.GetLength();
    int nOther = static_cast<const CExtGridCellPassword&>(other).m_str.GetLength();
    if (nMine < nOther) return -1;
    if (nMine > nOther) return 1;
    return CExtGridCellString::Compare(other, dwStyleMask, dwStyleExMask);
}

CExtGridCell* CExtGridCellPassword::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellPassword>(*this, pMalloc);
}

CString CExtGridCellPassword::MaskedTextGet() const
{
    CString strText;
    TextGet(strText);
    CString strMask;
    int nLength = strText.GetLength();
    if (nLength > 0) {
        LPSTR p = strMask.GetBuffer(nLength);
        ::memset(p, GetPasswordChar(), (size_t)nLength);
        strMask.ReleaseBuffer(nLength);
    }
    return strMask;
}

void CExtGridCellPassword::OnPaintText(const RECT& rcCellText, EXT_GRID_CELL_PAINT_ARGS) const
{
    if (::IsRectEmpty(&rcCellText) || !dc.RectVisible(&rcCellText)) return;
    const bool bOuter = nColType != 0 || nRowType != 0;
    if ((dwHelperPaintFlags & 0x100) != 0 && (GetStyle() & __EGCS_NO_INPLACE_CONTROL) != 0 && bOuter) {
        CExtGridCellString::OnPaintText(rcCellText, EXT_GRID_CELL_PAINT_PASS);
        return;
    }
    bool bDeleteFont = false;
    HFONT hFont = OnQueryCellFont(&wndGrid, nColNo, nRowNo, nColType, nRowType, &bDeleteFont);
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    const COLORREF clrOld = dc.GetTextColor();
    CString strMask = MaskedTextGet();
    if (!strMask.IsEmpty()) {
        const COLORREF clr = OnQueryTextColor(EXT_GRID_CELL_PAINT_PASS);
        if (clr != COLORREF(-1)) dc.SetTextColor(clr);
        CRect rc(rcCellText);
        ::DrawTextA(dc.GetSafeHdc(), strMask, strMask.GetLength(), &rc, OnQueryDrawTextFlags(true, true, true));
    }
    dc.SetTextColor(clrOld);
    if (hOldFont != NULL) ::SelectObject(dc.GetSafeHdc(), hOldFont);
    if (bDeleteFont && hFont != NULL) ::DeleteObject(hFont);
}

void CExtGridCellPassword::OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl,
                                                        LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                                        LONG nRowNo, INT nColType, INT nRowType, DWORD dwAreaFlags,
                                                        bool* pbReadOnly, bool* pbPassword, COLORREF* pclrText,
                                                        COLORREF* pclrBack)
{
    CExtGridCellString::OnInplaceControlQueryOptions(wndGrid, hWndInplaceControl, nVisibleColNo, nVisibleRowNo,
                                                     nColNo, nRowNo, nColType, nRowType, dwAreaFlags, pbReadOnly,
                                                     pbPassword, pclrText, pclrBack);
    if (pbPassword != NULL) *pbPassword = true;
}

// ---- Header cell ------------------------------------------------------------------

CExtGridCellHeader::CExtGridCellHeader(CExtGridDataProvider* pOwner) : _Base(pOwner)
{
    ModifyStyle(__EGCS_TA_ELLIPSIS);
}

CExtGridCellHeader::~CExtGridCellHeader() {}

CExtGridCell* CExtGridCellHeader::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellHeader>(*this, pMalloc);
}
