// The grid cell base: fields, archive form, comparison and instance helpers.
#include "toolkit/grid/grid_cell.h"
#include <new>
#include "toolkit/core/cmd_icon.h"
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/grid/grid_text_compare.h"

IMPLEMENT_SERIAL(CExtGridCell, CObject, VERSIONABLE_SCHEMA | 1)

CExtGridCell* CExtGridCell::g_pCellMenuTracking = NULL;

CExtGridCell::CExtGridCell(CExtGridDataProvider* pOwner)
{
    InitFields();
    m_pOwner = pOwner;
}

CExtGridCell::~CExtGridCell()
{
    // The drop-down code checks this after its popup closes, so that a cell destroyed
    // meanwhile is not touched again.
    if (g_pCellMenuTracking == this) g_pCellMenuTracking = NULL;
    CExtGridCellWatch::stat_OnCellDestroyed(this);
}

// ---- Watches of cells: a handful at most, alive while a modal loop runs -------------

CExtGridCellWatch* CExtGridCellWatch::g_pFirst = NULL;

CExtGridCellWatch::CExtGridCellWatch(CExtGridCell* pCell) : m_pCell(pCell), m_pNext(g_pFirst)
{
    g_pFirst = this;
}

CExtGridCellWatch::~CExtGridCellWatch()
{
    for (CExtGridCellWatch** pp = &g_pFirst; *pp != NULL; pp = &(*pp)->m_pNext) {
        if (*pp == this) {
            *pp = m_pNext;
            break;
        }
    }
}

void CExtGridCellWatch::stat_OnCellDestroyed(const CExtGridCell* pCell)
{
    for (CExtGridCellWatch* p = g_pFirst; p != NULL; p = p->m_pNext) {
        if (p->m_pCell == pCell) p->m_pCell = NULL;
    }
}

void CExtGridCell::InitFields()
{
    m_pOwner = NULL;
    m_dwStyle = __EGCS_DEFAULT;
    m_dwStyleEx = 0;
    m_nIconIndex = -1;
    m_nImageIndex = -1;
    m_dwValue32 = 0;
}

void CExtGridCell::Serialize(CArchive& ar)
{
    // No schema of its own: five words, the owner never travels.
    if (ar.IsStoring()) {
        ar << m_dwStyle << m_dwStyleEx << (LONG)m_nIconIndex << (LONG)m_nImageIndex << m_dwValue32;
    } else {
        LONG nIcon = -1, nImage = -1;
        DWORD dwStyle = 0, dwStyleEx = 0, dwValue = 0;
        ar >> dwStyle >> dwStyleEx >> nIcon >> nImage >> dwValue;
        m_dwStyle = dwStyle;
        m_dwStyleEx = dwStyleEx;
        m_nIconIndex = nIcon;
        m_nImageIndex = nImage;
        m_dwValue32 = dwValue;
    }
}

DWORD CExtGridCell::GetValue32() const { return m_dwValue32; }

DWORD CExtGridCell::SetValue32(DWORD dwValue)
{
    DWORD dwOld = m_dwValue32;
    m_dwValue32 = dwValue;
    return dwOld;
}

DWORD CExtGridCell::GetStyle() const { return m_dwStyle; }

DWORD CExtGridCell::ModifyStyle(DWORD dwStyleAdd, DWORD dwStyleRemove)
{
    DWORD dwOld = m_dwStyle;
    if (dwStyleAdd != 0 || dwStyleRemove != 0) m_dwStyle = (m_dwStyle & ~dwStyleRemove) | dwStyleAdd;
    return dwOld;
}

DWORD CExtGridCell::GetStyleEx() const { return m_dwStyleEx; }

DWORD CExtGridCell::ModifyStyleEx(DWORD dwStyleExAdd, DWORD dwStyleExRemove)
{
    DWORD dwOld = m_dwStyleEx;
    if (dwStyleExAdd != 0 || dwStyleExRemove != 0) m_dwStyleEx = (m_dwStyleEx & ~dwStyleExRemove) | dwStyleExAdd;
    return dwOld;
}

CExtGridDataProvider* CExtGridCell::GetOwner() const { return m_pOwner; }

CExtGridDataProvider* CExtGridCell::SetOwner(CExtGridDataProvider* pOwner)
{
    CExtGridDataProvider* pOld = m_pOwner;
    m_pOwner = pOwner;
    return pOld;
}

bool CExtGridCell::IsEmpty() const { return true; }

void CExtGridCell::Reset() { InitFields(); }

void CExtGridCell::Assign(const CExtGridCell& other)
{
    m_dwStyle = other.m_dwStyle;
    m_dwStyleEx = other.m_dwStyleEx;
    m_nIconIndex = other.m_nIconIndex;
    m_nImageIndex = other.m_nImageIndex;
    m_dwValue32 = other.m_dwValue32;
}

int CExtGridCell::CompareStyles(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (dwStyleMask == 0) return 0;
    DWORD dwMine = GetStyle() & dwStyleMask, dwOther = other.GetStyle() & dwStyleMask;
    if (dwMine < dwOther) return -1;
    if (dwMine > dwOther) return 1;
    dwMine = GetStyleEx() & dwStyleExMask;
    dwOther = other.GetStyleEx() & dwStyleExMask;
    if (dwMine < dwOther) return -1;
    if (dwMine > dwOther) return 1;
    return 0;
}

int CExtGridCell::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    LPCTSTR strMine = GetTextBuffer();
    LPCTSTR strOther = other.GetTextBuffer();
    if (strMine != NULL && strOther != NULL) {
        int n = GridCompareTextsOrdinal(strMine, strOther);
        if (n != 0) return n;
    } else {
        VARIANT vMine, vOther;
        ::VariantInit(&vMine);
        ::VariantInit(&vOther);
        VariantGet(&vMine);
        other.VariantGet(&vOther);
        HRESULT hr = stat_VariantCompare(&vMine, &vOther, LOCALE_USER_DEFAULT, 0, true);
        ::VariantClear(&vMine);
        ::VariantClear(&vOther);
        if (hr == VARCMP_LT) return -1;
        if (hr == VARCMP_GT) return 1;
    }
    return CompareStyles(other, dwStyleMask, dwStyleExMask);
}

void CExtGridCell::TextGet(CString& strCopy) const { strCopy.Empty(); }

void CExtGridCell::TextSet(LPCTSTR, bool) {}

// The base holds no value of its own: its text is its value, so cells that keep only a
// text sort by it.
void CExtGridCell::VariantGet(VARIANT* pVariant) const
{
    if (pVariant == NULL) return;
    ::VariantClear(pVariant);
    CString strText;
    TextGet(strText);
    if (strText.IsEmpty()) return;
    LPCSTR sText = strText;
    const int nWide = ::MultiByteToWideChar(CP_ACP, 0, sText, -1, NULL, 0);
    if (nWide <= 1) return;
    BSTR bstr = ::SysAllocStringLen(NULL, (UINT)(nWide - 1));
    if (bstr == NULL) return;  // no memory: the value stays empty
    ::MultiByteToWideChar(CP_ACP, 0, sText, -1, bstr, nWide);
    pVariant->vt = VT_BSTR;
    pVariant->bstrVal = bstr;
}

LPCTSTR CExtGridCell::GetTextBuffer() const { return NULL; }

CExtGridCell* CExtGridCell::Clone(IMalloc* pMalloc) const
{
    CExtGridCell* pCell = pMalloc != NULL ? new (pMalloc) CExtGridCell(GetOwner())
                                          : new CExtGridCell(GetOwner());
    if (pCell == NULL) return NULL;
    pCell->Assign(*this);
    return pCell;
}

bool CExtGridCell::CanIncrement() { return false; }
bool CExtGridCell::CanDecrement() { return false; }
bool CExtGridCell::Increment() { return false; }
bool CExtGridCell::Decrement() { return false; }

bool CExtGridCell::ProportionalExtentAccess(double& lfExtent, bool bGet)
{
    if (bGet) lfExtent = 0.0;
    return false;
}

bool CExtGridCell::ExtentAccess(INT&, bool, INT) { return false; }
bool CExtGridCell::ExtraSpaceAccess(INT&, bool, bool) { return false; }

INT CExtGridCell::IconIndexGet() const { return m_nIconIndex; }

INT CExtGridCell::IconIndexSet(INT nIconIndex)
{
    INT nOld = m_nIconIndex;
    m_nIconIndex = nIconIndex;
    return nOld;
}

INT CExtGridCell::ImageIndexGet() const { return m_nImageIndex; }

INT CExtGridCell::ImageIndexSet(INT nImageIndex)
{
    INT nOld = m_nImageIndex;
    m_nImageIndex = nImageIndex;
    return nOld;
}

CExtCmdIcon* CExtGridCell::IconGet()
{
    CExtGridDataProvider* pOwner = GetOwner();
    INT nIndex = IconIndexGet();
    if (pOwner == NULL || nIndex < 0 || nIndex >= pOwner->IconGetCount()) return NULL;
    return pOwner->IconGetAt(nIndex);
}

CSize CExtGridCell::IconGetSize()
{
    CExtCmdIcon* pIcon = IconGet();
    if (pIcon == NULL || pIcon->IsEmpty()) return CSize(0, 0);
    return pIcon->GetSize();
}

CExtCmdIcon* CExtGridCell::ImageGet()
{
    CExtGridDataProvider* pOwner = GetOwner();
    INT nIndex = ImageIndexGet();
    if (pOwner == NULL || nIndex < 0 || nIndex >= pOwner->ImageGetCount()) return NULL;
    return pOwner->ImageGetAt(nIndex);
}

void CExtGridCell::TextGetForEdit(CString& strCopy) const { TextGet(strCopy); }

TCHAR CExtGridCell::GetPasswordChar() const { return _T('*'); }

HRESULT CExtGridCell::OnParseText(LPCTSTR sText) const { return sText != NULL ? S_OK : E_INVALIDARG; }

CSize CExtGridCell::OnQueryListItemMargins() const { return CSize(2, 1); }

CSize CExtGridCell::OnQueryDropDownSize() const { return CSize(150, 100); }

bool CExtGridCell::GetExtent(INT& nExtent, INT nType) { return ExtentAccess(nExtent, true, nType); }
bool CExtGridCell::SetExtent(INT nExtent, INT nType) { return ExtentAccess(nExtent, false, nType); }
bool CExtGridCell::GetExtraSpace(INT& nExtra, bool bAfter) { return ExtraSpaceAccess(nExtra, true, bAfter); }
bool CExtGridCell::SetExtraSpace(INT nExtra, bool bAfter) { return ExtraSpaceAccess(nExtra, false, bAfter); }
bool CExtGridCell::GetProportionalExtent(double& lfExtent) { return ProportionalExtentAccess(lfExtent, true); }
bool CExtGridCell::SetProportionalExtent(double lfExtent) { return ProportionalExtentAccess(lfExtent, false); }

// ---- Allocation and instances ----------------------------------------------------

void* CExtGridCell::operator new(size_t nSize) { return ::operator new(nSize); }

void* CExtGridCell::stat_AllocBlock(size_t nSize, IMalloc* pMalloc, bool bThrow)
{
    void* p = NULL;
    if (pMalloc != NULL && nSize != 0) p = pMalloc->Alloc((SIZE_T)nSize);
    if (p == NULL && bThrow) AfxThrowMemoryException();
    return p;
}

void* CExtGridCell::operator new(size_t nSize, IMalloc* pMalloc) noexcept
{
    return stat_AllocBlock(nSize, pMalloc, false);
}

void* CExtGridCell::operator new(size_t nSize, IMalloc* pMalloc, bool)
{
    return stat_AllocBlock(nSize, pMalloc, true);
}

void CExtGridCell::operator delete(void* p) { ::operator delete(p); }

// Called only when a constructor throws after the placement allocation.
void CExtGridCell::operator delete(void* p, IMalloc* pMalloc) noexcept { stat_FreeBlock(pMalloc, p, false); }
void CExtGridCell::operator delete(void* p, IMalloc* pMalloc, bool) { stat_FreeBlock(pMalloc, p, false); }

void CExtGridCell::stat_FreeBlock(IMalloc* pMalloc, void* p, bool bThrow)
{
    if (p == NULL) return;
    if (pMalloc != NULL && pMalloc->DidAlloc(p) == 1) {
        pMalloc->Free(p);
        return;
    }
    if (bThrow) AfxThrowMemoryException();
}

CExtGridCell* CExtGridCell::InstanceCreate(CRuntimeClass* pClass, IMalloc* pMalloc, bool bThrow)
{
    CExtGridCell* pClone = NULL;
    if (pClass != NULL && pClass->IsDerivedFrom(RUNTIME_CLASS(CExtGridCell))) {
        CObject* pTemp = pClass->CreateObject();
        if (pTemp != NULL) {
            pClone = static_cast<CExtGridCell*>(pTemp)->Clone(pMalloc);
            delete pTemp;
        }
    }
    if (pClone == NULL && bThrow) AfxThrowMemoryException();
    return pClone;
}

void CExtGridCell::InstanceDestroy(CExtGridCell* pCell, IMalloc* pMalloc, bool bThrow)
{
    if (pCell == NULL) return;
    pCell->~CExtGridCell();
    stat_FreeBlock(pMalloc, pCell, bThrow);
}

bool CExtGridCell::InstanceSave(CArchive& ar, CExtGridCell* pCell)
{
    ar.WriteClass(pCell->GetRuntimeClass());
    pCell->Serialize(ar);
    return true;
}

CExtGridCell* CExtGridCell::InstanceLoad(CArchive& ar, IMalloc* pMalloc, bool bThrow)
{
    CRuntimeClass* pClass = NULL;
    if (bThrow) {
        pClass = ar.ReadClass(NULL);
    } else {
        try {
            pClass = ar.ReadClass(NULL);
        } catch (CArchiveException* e) {
            e->Delete();
            return NULL;
        }
    }
    if (pClass == NULL || !pClass->IsDerivedFrom(RUNTIME_CLASS(CExtGridCell))) {
        if (bThrow) AfxThrowArchiveException(CArchiveException::badClass);
        return NULL;
    }
    CExtGridCell* pCell = InstanceCreate(pClass, pMalloc, bThrow);
    if (pCell == NULL) return NULL;
    try {
        pCell->Serialize(ar);
    } catch (...) {
        // A damaged stream must not leave a half-read cell in the allocator.
        InstanceDestroy(pCell, pMalloc, false);
        if (pMalloc == NULL) ::operator delete(pCell);
        throw;
    }
    return pCell;
}

// ---- Colours and font attributes: kept by the layers, none in the root ---------

COLORREF CExtGridCell::TextColorSet(INT, COLORREF) { return COLORREF(-1L); }
COLORREF CExtGridCell::TextColorGet(INT) const { return COLORREF(-1L); }
COLORREF CExtGridCell::BackColorSet(INT, COLORREF) { return COLORREF(-1L); }
COLORREF CExtGridCell::BackColorGet(INT) const { return COLORREF(-1L); }
LONG CExtGridCell::FontHeightSet(LONG) { return -1; }
bool CExtGridCell::FontHeightGet(LONG&) const { return false; }
void CExtGridCell::FontHeightReset() {}
LONG CExtGridCell::FontWidthSet(LONG) { return -1; }
bool CExtGridCell::FontWidthGet(LONG&) const { return false; }
void CExtGridCell::FontWidthReset() {}
LONG CExtGridCell::FontWeightSet(LONG) { return -1; }
bool CExtGridCell::FontWeightGet(LONG&) const { return false; }
void CExtGridCell::FontWeightReset() {}
bool CExtGridCell::FontItalicSet(bool) { return false; }
bool CExtGridCell::FontItalicGet(bool&) const { return false; }
void CExtGridCell::FontItalicReset() {}
bool CExtGridCell::FontUnderlineSet(bool) { return false; }
bool CExtGridCell::FontUnderlineGet(bool&) const { return false; }
void CExtGridCell::FontUnderlineReset() {}
bool CExtGridCell::FontStrikeOutSet(bool) { return false; }
bool CExtGridCell::FontStrikeOutGet(bool&) const { return false; }
void CExtGridCell::FontStrikeOutReset() {}
BYTE CExtGridCell::FontQualitySet(BYTE) { return 0; }
bool CExtGridCell::FontQualityGet(BYTE&) const { return false; }
void CExtGridCell::FontQualityReset() {}
LPCTSTR CExtGridCell::FontFaceNameSet(LPCTSTR) { return NULL; }
bool CExtGridCell::FontFaceNameGet(CString&) const { return false; }
void CExtGridCell::FontFaceNameReset() {}

