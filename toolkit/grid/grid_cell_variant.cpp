// The cell base's VARIANT helpers: comparison and the stream form.
#include "toolkit/grid/grid_cell.h"
#include <ole2.h>
#include <ocidl.h>
#include <vector>

namespace {

typedef HRESULT(STDAPICALLTYPE* PFN_VarCmp)(LPVARIANT, LPVARIANT, LCID, ULONG);

// Looked up once in the already loaded module; this code never loads it.
PFN_VarCmp LookupVarCmp()
{
    static bool s_bLooked = false;
    static PFN_VarCmp s_pfn = NULL;
    if (!s_bLooked) {
        s_bLooked = true;
        HMODULE hModule = ::GetModuleHandleA("OLEAUT32.DLL");
        if (hModule != NULL) s_pfn = (PFN_VarCmp)(void*)::GetProcAddress(hModule, "VarCmp");
    }
    return s_pfn;
}

HRESULT CallVarCmp(VARIANT* pLeft, VARIANT* pRight, LCID lcid, ULONG dwFlags, bool bNullEquals)
{
    PFN_VarCmp pfn = LookupVarCmp();
    if (pfn == NULL) return bNullEquals ? VARCMP_EQ : VARCMP_NULL;
    HRESULT hr = pfn(pLeft, pRight, lcid, dwFlags);
    if (bNullEquals && hr == VARCMP_NULL) hr = VARCMP_EQ;
    return hr;
}

template <class T>
HRESULT Order(T left, T right)
{
    if (left < right) return VARCMP_LT;
    if (left > right) return VARCMP_GT;
    return VARCMP_EQ;
}

// The value's bytes: in place, or behind the by-reference pointer.
const void* ValuePtr(const VARIANT* p)
{
    if (p->vt & VT_BYREF) return p->byref;
    return &p->bVal;
}

template <class T>
T Read(const VARIANT* p)
{
    const void* pv = ValuePtr(p);
    if (pv == NULL) return T();
    T v;
    memcpy(&v, pv, sizeof(T));
    return v;
}

HRESULT ReadExact(IStream* pStream, void* pv, ULONG cb)
{
    if (cb == 0) return S_OK;
    ULONG nRead = 0;
    HRESULT hr = pStream->Read(pv, cb, &nRead);
    if (FAILED(hr)) return hr;
    return nRead == cb ? S_OK : E_FAIL;
}

HRESULT WriteExact(IStream* pStream, const void* pv, ULONG cb)
{
    if (cb == 0) return S_OK;
    ULONG nWritten = 0;
    HRESULT hr = pStream->Write(pv, cb, &nWritten);
    if (FAILED(hr)) return hr;
    return nWritten == cb ? S_OK : STG_E_MEDIUMFULL;
}

ULONG FixedSize(VARTYPE vt)
{
    switch (vt) {
    case VT_I2: case VT_BOOL: case VT_UI2: return 2;
    case VT_I4: case VT_R4: case VT_ERROR: case VT_UI4: case VT_INT: case VT_UINT: return 4;
    case VT_R8: case VT_CY: case VT_DATE: case VT_I8: case VT_UI8: return 8;
    case VT_I1: case VT_UI1: return 1;
    default: return 0;
    }
}

// What is left to read, or all a DWORD can count when the stream does not say.
ULONGLONG RemainingBytes(IStream* pStream)
{
    STATSTG stat;
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    ULARGE_INTEGER pos;
    if (FAILED(pStream->Stat(&stat, STATFLAG_NONAME)) || FAILED(pStream->Seek(zero, STREAM_SEEK_CUR, &pos)))
        return 0xFFFFFFFF;
    return stat.cbSize.QuadPart > pos.QuadPart ? stat.cbSize.QuadPart - pos.QuadPart : 0;
}

std::vector<CLSID>& AllowedClasses()
{
    static std::vector<CLSID> s_classes;
    return s_classes;
}

bool IsAllowedClass(REFCLSID clsid)
{
    for (const CLSID& c : AllowedClasses())
        if (IsEqualCLSID(c, clsid)) return true;
    return false;
}

// The object form: a class id, then what the object's IPersistStream::Load reads. Only a
// class the application allowed is created; any other is refused with the stream left
// after the class id. A NULL class id is a stored NULL object.
HRESULT LoadObject(IStream* pStream, REFIID riid, IUnknown** ppUnk)
{
    *ppUnk = NULL;
    CLSID clsid;
    HRESULT hr = ReadExact(pStream, &clsid, sizeof(clsid));
    if (FAILED(hr)) return hr;
    if (IsEqualCLSID(clsid, CLSID_NULL)) return S_OK;
    if (!IsAllowedClass(clsid)) return E_FAIL;
    IPersistStream* pPersist = NULL;
    hr = ::CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                            IID_IPersistStream, (void**)&pPersist);
    if (hr == REGDB_E_CLASSNOTREG) return S_OK;  // an unknown class loads as no object
    if (FAILED(hr)) return hr;
    hr = pPersist->Load(pStream);
    if (SUCCEEDED(hr)) hr = pPersist->QueryInterface(riid, (void**)ppUnk);
    pPersist->Release();
    return hr;
}

}  // namespace

void CExtGridCell::stat_VariantAllowClass(REFCLSID clsid, bool bAllow)
{
    std::vector<CLSID>& classes = AllowedClasses();
    for (size_t i = 0; i < classes.size(); i++) {
        if (IsEqualCLSID(classes[i], clsid)) {
            if (!bAllow) classes.erase(classes.begin() + (ptrdiff_t)i);
            return;
        }
    }
    if (bAllow) classes.push_back(clsid);
}

HRESULT CExtGridCell::stat_VariantCompare(VARIANT* pLeft, VARIANT* pRight, LCID lcid, ULONG dwFlags,
                                          bool bNullEquals)
{
    if (pLeft == NULL || pRight == NULL) return CallVarCmp(pLeft, pRight, lcid, dwFlags, bNullEquals);
    while (pLeft->vt == (VT_VARIANT | VT_BYREF) && pLeft->pvarVal != NULL) pLeft = pLeft->pvarVal;
    while (pRight->vt == (VT_VARIANT | VT_BYREF) && pRight->pvarVal != NULL) pRight = pRight->pvarVal;
    const VARTYPE vtLeft = pLeft->vt & ~VT_BYREF, vtRight = pRight->vt & ~VT_BYREF;
    if ((vtLeft & VT_ARRAY) || (vtRight & VT_ARRAY) || vtLeft != vtRight || vtLeft > VT_UINT)
        return CallVarCmp(pLeft, pRight, lcid, dwFlags, bNullEquals);
    switch (vtLeft) {
    case VT_EMPTY:
    case VT_NULL:
        return VARCMP_EQ;
    case VT_I2: return Order(Read<SHORT>(pLeft), Read<SHORT>(pRight));
    case VT_I1: return Order(Read<signed char>(pLeft), Read<signed char>(pRight));
    case VT_I4: case VT_ERROR: case VT_INT: return Order(Read<LONG>(pLeft), Read<LONG>(pRight));
    case VT_UI1: return Order(Read<BYTE>(pLeft), Read<BYTE>(pRight));
    case VT_UI2: return Order(Read<USHORT>(pLeft), Read<USHORT>(pRight));
    case VT_UI4: case VT_UINT: return Order(Read<ULONG>(pLeft), Read<ULONG>(pRight));
    case VT_R4: return Order((double)Read<float>(pLeft), (double)Read<float>(pRight));
    case VT_R8: return Order(Read<double>(pLeft), Read<double>(pRight));
    case VT_BOOL: {
        bool bLeft = Read<VARIANT_BOOL>(pLeft) != VARIANT_FALSE;
        bool bRight = Read<VARIANT_BOOL>(pRight) != VARIANT_FALSE;
        return Order(bLeft ? 1 : 0, bRight ? 1 : 0);
    }
    case VT_BSTR: {
        BSTR sLeft = Read<BSTR>(pLeft), sRight = Read<BSTR>(pRight);
        bool bLeftEmpty = sLeft == NULL || ::SysStringLen(sLeft) == 0;
        bool bRightEmpty = sRight == NULL || ::SysStringLen(sRight) == 0;
        if (bLeftEmpty || bRightEmpty) return Order(bLeftEmpty ? 0 : 1, bRightEmpty ? 0 : 1);
        return CallVarCmp(pLeft, pRight, lcid, dwFlags, bNullEquals);
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        IUnknown* pL = Read<IUnknown*>(pLeft);
        IUnknown* pR = Read<IUnknown*>(pRight);
        if (pL != NULL && pR != NULL) {
            IUnknown *pIdL = NULL, *pIdR = NULL;
            bool bSame = SUCCEEDED(pL->QueryInterface(IID_IUnknown, (void**)&pIdL)) &&
                         SUCCEEDED(pR->QueryInterface(IID_IUnknown, (void**)&pIdR)) && pIdL == pIdR;
            if (pIdL != NULL) pIdL->Release();
            if (pIdR != NULL) pIdR->Release();
            if (bSame) return VARCMP_EQ;
        }
        return CallVarCmp(pLeft, pRight, lcid, dwFlags, bNullEquals);
    }
    default:
        return CallVarCmp(pLeft, pRight, lcid, dwFlags, bNullEquals);
    }
}

HRESULT CExtGridCell::stat_VariantSerialize(VARIANT* pVariant, IStream* pStream, bool bSave, VARTYPE vtType)
{
    if (pVariant == NULL || pStream == NULL) return E_INVALIDARG;
    HRESULT hr;
    if (bSave) {
        VARTYPE vt = pVariant->vt;
        hr = WriteExact(pStream, &vt, sizeof(vt));
        if (FAILED(hr)) return hr;
        if (ULONG cb = FixedSize(vt)) return WriteExact(pStream, &pVariant->bVal, cb);
        if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
            IUnknown* pUnk = pVariant->punkVal;
            IPersistStream* pPersist = NULL;
            if (pUnk != NULL &&
                (SUCCEEDED(pUnk->QueryInterface(IID_IPersistStream, (void**)&pPersist)) ||
                 SUCCEEDED(pUnk->QueryInterface(IID_IPersistStreamInit, (void**)&pPersist))) &&
                pPersist != NULL) {
                // IPersistStreamInit starts with IPersistStream's slots.
                hr = ::OleSaveToStream(pPersist, pStream);
                pPersist->Release();
                return hr;
            }
            return ::WriteClassStm(pStream, CLSID_NULL);
        }
        if (vt == VT_NULL) {
            // A null has no text form; an empty count keeps the stream readable.
            DWORD cbNone = 0;
            return WriteExact(pStream, &cbNone, sizeof(cbNone));
        }
        VARIANT vText;
        ::VariantInit(&vText);
        hr = ::VariantChangeType(&vText, pVariant, 0, VT_BSTR);
        if (FAILED(hr)) return hr;
        DWORD cb = vText.bstrVal != NULL ? ::SysStringByteLen(vText.bstrVal) + 2 : 0;
        hr = WriteExact(pStream, &cb, sizeof(cb));
        if (SUCCEEDED(hr) && cb != 0) hr = WriteExact(pStream, vText.bstrVal, cb);
        ::VariantClear(&vText);
        return hr;
    }

    VARTYPE vt = vtType;
    if (vt == VT_EMPTY) {
        hr = ReadExact(pStream, &vt, sizeof(vt));
        if (FAILED(hr)) return hr;
    }
    ::VariantClear(pVariant);
    if (ULONG cb = FixedSize(vt)) {
        VARIANT v;
        ::VariantInit(&v);
        hr = ReadExact(pStream, &v.bVal, cb);
        if (FAILED(hr)) return hr;
        v.vt = vt;
        *pVariant = v;
        return S_OK;
    }
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        IUnknown* pUnk = NULL;
        hr = LoadObject(pStream, vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &pUnk);
        if (FAILED(hr)) return hr;
        pVariant->vt = vt;
        pVariant->punkVal = pUnk;
        return S_OK;
    }
    if (vt == VT_EMPTY || vt == VT_NULL) {
        // Stored through the text form like every other type; the text is dropped.
        DWORD cb = 0;
        hr = ReadExact(pStream, &cb, sizeof(cb));
        if (FAILED(hr)) return hr;
        if (cb != 0) {
            LARGE_INTEGER li;
            li.QuadPart = cb;
            hr = pStream->Seek(li, STREAM_SEEK_CUR, NULL);
            if (FAILED(hr)) return hr;
        }
        pVariant->vt = vt;
        return S_OK;
    }
    DWORD cb = 0;
    hr = ReadExact(pStream, &cb, sizeof(cb));
    if (FAILED(hr)) return hr;
    VARIANT vText;
    ::VariantInit(&vText);
    vText.vt = VT_BSTR;
    vText.bstrVal = NULL;
    if (cb != 0) {
        // The count includes the two-byte terminator; anything shorter is damage, and so
        // is a count beyond what a stream of known length still holds.
        if (cb < 2 || (cb & 1) != 0 || cb > RemainingBytes(pStream)) return E_FAIL;
        vText.bstrVal = ::SysAllocStringByteLen(NULL, cb - 2);
        if (vText.bstrVal == NULL) return E_OUTOFMEMORY;
        hr = ReadExact(pStream, vText.bstrVal, cb - 2);
        WCHAR wTerm = 0;
        if (SUCCEEDED(hr)) hr = ReadExact(pStream, &wTerm, sizeof(wTerm));
        if (FAILED(hr)) {
            ::VariantClear(&vText);
            return hr;
        }
    }
    if (vt == VT_BSTR) {
        *pVariant = vText;
        return S_OK;
    }
    hr = ::VariantChangeType(pVariant, &vText, 0, vt);
    ::VariantClear(&vText);
    return hr;
}

// ---- The VARIANT cell -----------------------------------------------------------------

#include "toolkit/grid/grid_cell_variant.h"
#include "toolkit/grid/grid_archive_stream.h"
#include <float.h>
#include <limits>

IMPLEMENT_SERIAL(CExtGridCellVariant, CExtGridCellEx, VERSIONABLE_SCHEMA | 1)

namespace {

// Steps an integer of type T by one within its range.
template <class T>
bool StepInteger(void* pData, bool bUp, bool bApply)
{
    T& value = *(T*)pData;
    if (bUp ? value >= std::numeric_limits<T>::max() : value <= std::numeric_limits<T>::min()) return false;
    if (bApply) value = bUp ? (T)(value + 1) : (T)(value - 1);
    return true;
}

// Steps a floating value by 1.0 while it stays below the type's largest magnitude.
template <class T>
bool StepFloat(void* pData, bool bUp, bool bApply, T maxValue)
{
    T& value = *(T*)pData;
    if (value != value) return false;  // not a number
    if (bUp ? value >= maxValue : value <= -maxValue) return false;
    if (bApply) value = bUp ? (T)(value + 1) : (T)(value - 1);
    return true;
}

bool IsNumberType(VARTYPE vt)
{
    switch (vt) {
    case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_ERROR: case VT_DECIMAL:
    case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
        return true;
    default:
        return false;
    }
}

// A BSTR as ANSI text with the process code page; NULL gives the empty text.
void WideToText(BSTR bstr, CString& strText)
{
    strText.Empty();
    if (bstr == NULL) return;
    int nWide = (int)::SysStringLen(bstr);
    if (nWide == 0) return;
    int nAnsi = ::WideCharToMultiByte(CP_ACP, 0, bstr, nWide, NULL, 0, NULL, NULL);
    if (nAnsi <= 0) return;
    LPSTR p = strText.GetBuffer(nAnsi);
    ::WideCharToMultiByte(CP_ACP, 0, bstr, nWide, p, nAnsi, NULL, NULL);
    strText.ReleaseBuffer(nAnsi);
}

// An ANSI text as a new BSTR (an empty one for NULL); NULL when memory runs out.
BSTR TextToWide(LPCSTR sText)
{
    if (sText == NULL) sText = "";
    int nWide = ::MultiByteToWideChar(CP_ACP, 0, sText, -1, NULL, 0);
    BSTR bstr = ::SysAllocStringLen(NULL, nWide > 0 ? (UINT)(nWide - 1) : 0);
    if (bstr != NULL && nWide > 1) ::MultiByteToWideChar(CP_ACP, 0, sText, -1, bstr, nWide);
    return bstr;
}

}  // namespace

CExtGridCellVariant::CExtGridCellVariant(CExtGridDataProvider* pOwner) : CExtGridCellEx(pOwner)
{
    ::VariantInit(this);
}

CExtGridCellVariant::CExtGridCellVariant(const VARIANT& var) : CExtGridCellEx(NULL)
{
    ::VariantInit(this);
    VariantSet(&var);
}

CExtGridCellVariant::CExtGridCellVariant(const VARIANT& var, CExtGridDataProvider* pOwner) : CExtGridCellEx(pOwner)
{
    ::VariantInit(this);
    VariantSet(&var);
}

CExtGridCellVariant::~CExtGridCellVariant() { ::VariantClear(this); }

void CExtGridCellVariant::_SetError(HRESULT hr)
{
    ::VariantClear(this);
    vt = VT_ERROR;
    scode = hr;
}

HRESULT CExtGridCellVariant::VariantSet(const VARIANT* pVariant)
{
    if (pVariant == static_cast<const tagVARIANT*>(this)) return S_OK;
    ::VariantClear(this);
    if (pVariant == NULL) return S_OK;
    HRESULT hr = ::VariantCopy(this, const_cast<VARIANT*>(pVariant));
    if (FAILED(hr)) _SetError(hr);
    return hr;
}

bool CExtGridCellVariant::VariantChangeTypeTo(VARTYPE vtNew, USHORT wFlags)
{
    VARIANT vResult;
    ::VariantInit(&vResult);
    HRESULT hr = ::VariantChangeType(&vResult, this, wFlags, vtNew);
    if (FAILED(hr)) {
        _SetError(hr);
        return false;
    }
    ::VariantClear(this);
    *static_cast<tagVARIANT*>(this) = vResult;
    return true;
}

bool CExtGridCellVariant::IsEmpty() const { return vt == VT_EMPTY; }

void CExtGridCellVariant::Reset()
{
    CExtGridCellEx::Reset();
    ::VariantClear(this);
}

void CExtGridCellVariant::Assign(const CExtGridCell& other)
{
    CExtGridCellEx::Assign(other);
    if (&other == this) return;
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellVariant))) {
        VariantSet(static_cast<const CExtGridCellVariant&>(other).VariantPtr());
        return;
    }
    ::VariantClear(this);
    CString strText;
    LPCTSTR sText = other.GetTextBuffer();
    if (sText == NULL) {
        other.TextGet(strText);
        sText = strText;
    }
    if (sText == NULL || *sText == 0) return;
    BSTR bstr = TextToWide(sText);
    if (bstr == NULL) {
        _SetError(E_OUTOFMEMORY);
        return;
    }
    vt = VT_BSTR;
    bstrVal = bstr;
}

int CExtGridCellVariant::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellVariant))) {
        VARIANT* pMine = const_cast<VARIANT*>(VariantPtr());
        VARIANT* pOther = const_cast<VARIANT*>(static_cast<const CExtGridCellVariant&>(other).VariantPtr());
        HRESULT hr = stat_VariantCompare(pMine, pOther, LOCALE_USER_DEFAULT, 0, false);
        if (hr == VARCMP_LT) return -1;
        if (hr == VARCMP_GT) return 1;
    }
    return CExtGridCellEx::Compare(other, dwStyleMask, dwStyleExMask);
}

void CExtGridCellVariant::TextGet(CString& strCopy) const
{
    strCopy.Empty();
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0) return;
    if (vt == VT_BSTR) {
        WideToText(bstrVal, strCopy);
        return;
    }
    if (vt == (VT_BSTR | VT_BYREF)) {
        if (pbstrVal != NULL) WideToText(*pbstrVal, strCopy);
        return;
    }
    VARIANT vText;
    ::VariantInit(&vText);
    if (SUCCEEDED(::VariantChangeType(&vText, const_cast<VARIANT*>(VariantPtr()), 0, VT_BSTR)) &&
        vText.vt == VT_BSTR)
        WideToText(vText.bstrVal, strCopy);
    ::VariantClear(&vText);
}

void CExtGridCellVariant::TextSet(LPCTSTR str, bool bAllowChangeDataType)
{
    BSTR bstr = TextToWide(str);
    if (bstr == NULL) {
        _SetError(E_OUTOFMEMORY);
        return;
    }
    VARIANT vText;
    ::VariantInit(&vText);
    vText.vt = VT_BSTR;
    vText.bstrVal = bstr;
    // An empty cell has no type to keep: the text is its value.
    VARTYPE vtTarget = (VARTYPE)(vt & ~VT_BYREF);
    if (bAllowChangeDataType || vtTarget == VT_EMPTY || vtTarget == VT_BSTR) {
        ::VariantClear(this);
        *static_cast<tagVARIANT*>(this) = vText;
        return;
    }
    VARIANT vResult;
    ::VariantInit(&vResult);
    HRESULT hr = ::VariantChangeType(&vResult, &vText, 0, vtTarget);
    ::VariantClear(&vText);
    if (FAILED(hr)) {
        _SetError(hr);
        return;
    }
    ::VariantClear(this);
    *static_cast<tagVARIANT*>(this) = vResult;
}

void CExtGridCellVariant::VariantGet(VARIANT* pVariant) const
{
    if (pVariant == NULL) return;
    ::VariantClear(pVariant);
    if (FAILED(::VariantCopy(pVariant, const_cast<VARIANT*>(VariantPtr())))) ::VariantInit(pVariant);
}

CExtGridCell* CExtGridCellVariant::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellVariant>(*this, pMalloc);
}

UINT CExtGridCellVariant::OnQueryDrawTextFlags(bool bHorz, bool bVert, bool bForDrawing) const
{
    UINT nFlags = CExtGridCellEx::OnQueryDrawTextFlags(bHorz, bVert, bForDrawing);
    if (bHorz && (GetStyle() & __EGCS_TA_HORZ_MASK) == 0) {
        VARTYPE vtValue = (VARTYPE)(vt & VT_TYPEMASK);
        if (IsNumberType(vtValue))
            nFlags |= DT_RIGHT;
        else if (vtValue == VT_DATE || vtValue == VT_BOOL)
            nFlags |= DT_CENTER;
    }
    return nFlags;
}

bool CExtGridCellVariant::_Step(bool bUp, bool bApply)
{
    if ((GetStyle() & __EGCS_READ_ONLY) != 0) return false;
    VARIANT* pVar = this;
    // A VARIANT by reference is followed to the value it names; the depth is bounded
    // so that a reference cycle cannot hold the grid.
    for (int nDepth = 0; pVar != NULL && pVar->vt == (VT_VARIANT | VT_BYREF); nDepth++) {
        if (nDepth >= 16) return false;
        pVar = pVar->pvarVal;
    }
    if (pVar == NULL || (pVar->vt & VT_ARRAY) != 0) return false;
    bool bByRef = (pVar->vt & VT_BYREF) != 0;
    // A DECIMAL fills the whole VARIANT, its reserved word being the type.
    void* pData = bByRef ? pVar->byref
                         : ((pVar->vt & VT_TYPEMASK) == VT_DECIMAL ? (void*)&pVar->decVal : (void*)&pVar->bVal);
    if (pData == NULL) return false;
    switch (pVar->vt & VT_TYPEMASK) {
    case VT_I1: return StepInteger<CHAR>(pData, bUp, bApply);
    case VT_UI1: return StepInteger<BYTE>(pData, bUp, bApply);
    case VT_I2: return StepInteger<SHORT>(pData, bUp, bApply);
    case VT_UI2: return StepInteger<USHORT>(pData, bUp, bApply);
    case VT_I4: return StepInteger<LONG>(pData, bUp, bApply);
    case VT_UI4: return StepInteger<ULONG>(pData, bUp, bApply);
    case VT_INT: return StepInteger<INT>(pData, bUp, bApply);
    case VT_UINT: return StepInteger<UINT>(pData, bUp, bApply);
    case VT_I8:
    case VT_CY: return StepInteger<LONGLONG>(pData, bUp, bApply);
    case VT_UI8: return StepInteger<ULONGLONG>(pData, bUp, bApply);
    case VT_R4: return StepFloat<float>(pData, bUp, bApply, FLT_MAX);
    case VT_R8:
    case VT_DATE: return StepFloat<double>(pData, bUp, bApply, DBL_MAX);
    case VT_BOOL:
        if (bApply) {
            VARIANT_BOOL& b = *(VARIANT_BOOL*)pData;
            b = b == VARIANT_FALSE ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return true;
    case VT_DECIMAL: {
        DECIMAL& dec = *(DECIMAL*)pData;
        if (bUp ? dec.Hi32 >= 0xFFFFFFFFUL : dec.Hi32 == 0) return false;
        if (bApply) dec.Hi32 = bUp ? dec.Hi32 + 1 : dec.Hi32 - 1;
        return true;
    }
    default:
        return false;
    }
}

bool CExtGridCellVariant::CanIncrement() { return _Step(true, false); }
bool CExtGridCellVariant::CanDecrement() { return _Step(false, false); }
bool CExtGridCellVariant::Increment() { return _Step(true, true); }
bool CExtGridCellVariant::Decrement() { return _Step(false, true); }

HRESULT CExtGridCellVariant::OnParseText(LPCTSTR sText) const
{
    if (sText == NULL) return E_INVALIDARG;
    VARTYPE vtTarget = (VARTYPE)(vt & ~VT_BYREF);
    if (vtTarget == VT_EMPTY || vtTarget == VT_BSTR) return S_OK;
    BSTR bstr = TextToWide(sText);
    if (bstr == NULL) return E_OUTOFMEMORY;
    VARIANT vText, vResult;
    ::VariantInit(&vText);
    ::VariantInit(&vResult);
    vText.vt = VT_BSTR;
    vText.bstrVal = bstr;
    HRESULT hr = ::VariantChangeType(&vResult, &vText, 0, vtTarget);
    ::VariantClear(&vText);
    ::VariantClear(&vResult);
    return hr;
}

HWND CExtGridCellVariant::OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo,
                                                 LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                 const RECT& rcCellExtra, const RECT& rcCell,
                                                 const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                                 LONG nLastEditedRowNo)
{
    if (vt == VT_EMPTY) return NULL;
    return CExtGridCellEx::OnInplaceControlCreate(wndGrid, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType,
                                                  nRowType, rcCellExtra, rcCell, rcInplaceControl, nLastEditedColNo,
                                                  nLastEditedRowNo);
}

void CExtGridCellVariant::Serialize(CArchive& ar)
{
    CExtGridCellEx::Serialize(ar);
    HRESULT hr = S_OK;
    CFile* pFile = ar.GetFile();
    if (pFile != NULL && pFile->IsKindOf(RUNTIME_CLASS(COleStreamFile))) {
        // The archive's own stream: what the archive buffered goes to (or comes back
        // from) the stream first, so the value lands where the archive stands.
        IStream* pStream = static_cast<COleStreamFile*>(pFile)->GetStream();
        if (pStream == NULL) {
            hr = E_FAIL;
        } else {
            ar.Flush();
            hr = stat_VariantSerialize(this, pStream, ar.IsStoring() != FALSE);
        }
    } else {
        CExtArchiveIStream stream(&ar, false);
        hr = stat_VariantSerialize(this, &stream, ar.IsStoring() != FALSE);
    }
    if (FAILED(hr)) {
        if (!ar.IsStoring()) _SetError(hr);
        AfxThrowArchiveException(ar.IsStoring() ? CArchiveException::genericException : CArchiveException::badSchema);
    }
}
