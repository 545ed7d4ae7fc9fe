#include "toolkit/grid/grid_cell_number.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/grid/grid_cell_kinds_util.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>

IMPLEMENT_SERIAL(CExtGridCellNumberBase, CExtGridCellVariant, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellNumber, CExtGridCellNumberBase, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellPercentage, CExtGridCellNumber, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellCurrency, CExtGridCellNumberBase, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellFraction, CExtGridCellNumberBase, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellScientific, CExtGridCellNumberBase, VERSIONABLE_SCHEMA | 1)

namespace {

// Every formatting buffer of these cells holds this many characters with the terminator.
const int kBufferSize = 100;

// What the platform's number and currency formatting takes. A digit count of some
// hundreds overruns the platform's own buffers and a separator longer than it takes is
// read past its end, so no field of a cell reaches the call beyond these: counts are
// brought within them when a cell is loaded and again at every call (the fields are
// open to callers), and separators too long are refused.
const int kMaxDigits = 9;
const int kMaxLeadingZero = 1;
const int kMaxNumberNegativeOrder = 4;
const int kMaxCurrencyNegativeOrder = 15;
const int kMaxPositiveOrder = 3;
const int kMaxSeparatorLength = 3;
const int kMaxCurrencySymbolLength = 12;
// Group sizes, one digit each, that a grouping may give.
const int kMaxGroupingDigits = 9;

// A cell's own count: -1 (the locale's) or 0..nMax.
INT BoundedField(INT n, INT nMax) { return n < 0 ? -1 : (n > nMax ? nMax : n); }

// A count as the call gets it: 0..nMax, whatever a cell or the locale answered.
UINT BoundedCount(int n, int nMax) { return (UINT)(n < 0 ? 0 : (n > nMax ? nMax : n)); }

bool SeparatorFits(const CString& str, int nMaxLength) { return str.GetLength() <= nMaxLength; }

// A bounded print: false when the text would not fit the buffer (the buffer is then
// emptied), so an enormous value gives no text rather than a cut one.
template <class... Args>
bool BoundedPrint(char* pBuffer, int nSize, const char* sFormat, Args... args)
{
    int n = std::snprintf(pBuffer, (size_t)nSize, sFormat, args...);
    if (n < 0 || n >= nSize) {
        if (nSize > 0) pBuffer[0] = 0;
        return false;
    }
    return true;
}

// A 64-bit integer in radix 10 without the run-time library's width conventions.
CString Int64Text(ULONGLONG nMagnitude, bool bNegative)
{
    char sDigits[24];
    int i = (int)sizeof(sDigits) - 1;
    sDigits[i] = 0;
    do {
        sDigits[--i] = (char)('0' + (int)(nMagnitude % 10));
        nMagnitude /= 10;
    } while (nMagnitude != 0 && i > 1);
    if (bNegative) sDigits[--i] = '-';
    return CString(sDigits + i);
}

CString SignedText(LONGLONG n)
{
    if (n < 0) return Int64Text((ULONGLONG)0 - (ULONGLONG)n, true);
    return Int64Text((ULONGLONG)n, false);
}

// The value's bytes, followed through a reference; NULL for a NULL reference.
const void* ValueBytes(const VARIANT& var)
{
    if (var.vt & VT_BYREF) return var.byref;
    if ((var.vt & VT_TYPEMASK) == VT_DECIMAL) return &var.decVal;
    return &var.bVal;
}

template <class T>
T ReadAs(const void* p)
{
    T v;
    memcpy(&v, p, sizeof(T));
    return v;
}

// Cuts the zeros that end a fraction, and a point left last.
void CutTrailingZeros(CString& str)
{
    if (str.Find('.') < 0) return;
    int nLen = str.GetLength();
    while (nLen > 0 && str[nLen - 1] == '0') nLen--;
    if (nLen > 0 && str[nLen - 1] == '.') nLen--;
    str = str.Left(nLen);
}

bool IsPlainNumberText(const CString& str)
{
    if (str.IsEmpty()) return false;
    for (int i = 0; i < str.GetLength(); i++) {
        const char c = str[i];
        if ((c >= '0' && c <= '9') || c == '.' || (c == '-' && i == 0)) continue;
        return false;
    }
    return true;
}

void ReplaceAll(CString& str, const char* sFind, const CString& strWith)
{
    if (str.Find(sFind) >= 0) str.Replace(sFind, strWith);
}

// The value changed to a double (0.0 when it does not convert).
double VariantToDouble(const VARIANT& var)
{
    VARIANT vR8;
    ::VariantInit(&vR8);
    double lf = 0.0;
    if (SUCCEEDED(::VariantChangeType(&vR8, const_cast<VARIANT*>(&var), VARIANT_NOVALUEPROP, VT_R8)))
        lf = vR8.dblVal;
    ::VariantClear(&vR8);
    return lf;
}

using gridcellkinds::SerializeInt;

void SerializeFlag(CArchive& ar, bool& b)
{
    if (ar.IsStoring()) {
        ar << (BYTE)(b ? 1 : 0);
    } else {
        BYTE n = 0;
        ar >> n;
        b = n == 1;
    }
}

void SerializeText(CArchive& ar, CString& str)
{
    if (ar.IsStoring()) {
        ar << str;
    } else {
        CString s;
        ar >> s;
        str = s;
    }
}

}  // namespace

// ---- the shared number base ------------------------------------------------------------

CExtGridCellNumberBase::CExtGridCellNumberBase(CExtGridDataProvider* pOwner) : CExtGridCellVariant(pOwner) {}

CString CExtGridCellNumberBase::stat_LocaleText(LCTYPE lcType, int nBufferSize)
{
    CString str;
    if (nBufferSize <= 1) return str;
    LPSTR p = str.GetBuffer(nBufferSize);
    memset(p, 0, (size_t)nBufferSize);
    int n = g_CurrentResourceManager->GetLocaleInfo(lcType, p, nBufferSize);
    // A value that did not fit leaves the buffer undefined: none is taken.
    if (n <= 0) p[0] = 0;
    p[nBufferSize - 1] = 0;
    str.ReleaseBuffer();
    return str;
}

int CExtGridCellNumberBase::stat_LocaleInt(LCTYPE lcType)
{
    return atoi(stat_LocaleText(lcType, 3));
}

UINT CExtGridCellNumberBase::stat_GroupingValue(const CString& strGrouping)
{
    CString str(strGrouping);
    str.Remove(';');
    int nLen = str.GetLength();
    while (nLen > 0 && str[nLen - 1] == '0') nLen--;
    UINT nValue = 0;
    // One digit per group size; more groups than a grouping can give are dropped, so
    // the value neither wraps nor grows past what the formatting takes.
    for (int i = 0; i < nLen && i < kMaxGroupingDigits; i++) {
        const char c = str[i];
        if (c < '0' || c > '9') break;
        nValue = nValue * 10 + (UINT)(c - '0');
    }
    return nValue;
}

int CExtGridCellNumberBase::stat_FractionDigits(const CString& strPlain)
{
    int nPoint = strPlain.Find('.');
    if (nPoint < 0) return 0;
    int n = strPlain.GetLength() - nPoint - 1;
    return n > 9 ? 9 : n;
}

bool CExtGridCellNumberBase::GetPlainNumberText(const VARIANT& var, CString& strOut) const
{
    strOut.Empty();
    char sBuffer[kBufferSize];
    memset(sBuffer, 0, sizeof(sBuffer));
    const void* p = ValueBytes(var);
    if (p == NULL) return false;
    CString str;
    switch (var.vt & ~VT_BYREF) {
    case VT_I1: str = SignedText(ReadAs<signed char>(p)); break;
    case VT_I2: str = SignedText(ReadAs<SHORT>(p)); break;
    case VT_BOOL: str = SignedText(ReadAs<VARIANT_BOOL>(p)); break;
    case VT_INT: str = SignedText(ReadAs<INT>(p)); break;
    case VT_UI1: str = SignedText(ReadAs<BYTE>(p)); break;
    case VT_UI2: str = SignedText(ReadAs<USHORT>(p)); break;
    case VT_I4:
    case VT_ERROR: str = SignedText(ReadAs<LONG>(p)); break;
    case VT_UI4:
    case VT_UINT: str = Int64Text(ReadAs<ULONG>(p), false); break;
    case VT_I8: str = SignedText(ReadAs<LONGLONG>(p)); break;
    case VT_UI8: str = Int64Text(ReadAs<ULONGLONG>(p), false); break;
    case VT_R4:
    case VT_R8:
    case VT_DATE: {
        const double lf = (var.vt & ~VT_BYREF) == VT_R4 ? (double)ReadAs<float>(p) : ReadAs<double>(p);
        if (!BoundedPrint(sBuffer, kBufferSize, "%f", lf)) return false;
        str = sBuffer;
        break;
    }
    case VT_CY:
    case VT_DECIMAL: {
        if (!BoundedPrint(sBuffer, kBufferSize, "%f", VariantToDouble(var))) return false;
        str = sBuffer;
        break;
    }
    default:
        return false;
    }
    CutTrailingZeros(str);
    str.Replace(',', '.');
    if (!IsPlainNumberText(str)) return false;
    strOut = str;
    return true;
}

bool CExtGridCellNumberBase::AdjustValueForDisplay(VARIANT* pVar) const { return pVar != NULL; }

int CExtGridCellNumberBase::GetDigitCount() const
{
    switch (vt & ~VT_BYREF) {
    case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_DECIMAL:
        return stat_LocaleInt(LOCALE_IDIGITS);
    default:
        return 0;
    }
}

int CExtGridCellNumberBase::GetLeadingZero() const { return stat_LocaleInt(LOCALE_ILZERO); }
void CExtGridCellNumberBase::GetGrouping(CString& strOut) const { strOut = stat_LocaleText(LOCALE_SGROUPING, 20); }
void CExtGridCellNumberBase::GetDecimalSeparator(CString& strOut) const
{
    strOut = stat_LocaleText(LOCALE_SDECIMAL, 5);
}
void CExtGridCellNumberBase::GetThousandSeparator(CString& strOut) const
{
    strOut = stat_LocaleText(LOCALE_STHOUSAND, 5);
}
int CExtGridCellNumberBase::GetNegativeOrder() const { return stat_LocaleInt(LOCALE_INEGNUMBER); }

void CExtGridCellNumberBase::NormalizeInputText(CString& strText) const
{
    strText.TrimLeft();
    strText.TrimRight();
    if (strText.IsEmpty()) {
        strText = "0";
        return;
    }
    // Typed text always uses the locale's separator, whatever the cell displays.
    CString strSeparator;
    CExtGridCellNumberBase::GetDecimalSeparator(strSeparator);
    ReplaceAll(strText, ".", strSeparator);
}

bool CExtGridCellNumberBase::_DisplayPlainText(CString& strPlain) const
{
    strPlain.Empty();
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0) return false;
    VARIANT vCopy;
    ::VariantInit(&vCopy);
    bool bOk = SUCCEEDED(::VariantCopy(&vCopy, const_cast<VARIANT*>(VariantPtr()))) &&
               AdjustValueForDisplay(&vCopy) && GetPlainNumberText(vCopy, strPlain);
    ::VariantClear(&vCopy);
    if (!bOk) strPlain.Empty();
    return bOk;
}

double CExtGridCellNumberBase::_ValueAsDouble() const { return VariantToDouble(*VariantPtr()); }

void CExtGridCellNumberBase::TextGet(CString& strCopy) const
{
    strCopy.Empty();
    CString strPlain;
    if (!_DisplayPlainText(strPlain)) return;
    CString strGrouping, strDecimal, strThousand;
    GetGrouping(strGrouping);
    GetDecimalSeparator(strDecimal);
    GetThousandSeparator(strThousand);
    if (!SeparatorFits(strDecimal, kMaxSeparatorLength) || !SeparatorFits(strThousand, kMaxSeparatorLength)) return;
    NUMBERFMT fmt;
    memset(&fmt, 0, sizeof(fmt));
    fmt.NumDigits = BoundedCount(GetDigitCount(), kMaxDigits);
    fmt.LeadingZero = BoundedCount(GetLeadingZero(), kMaxLeadingZero);
    fmt.Grouping = stat_GroupingValue(strGrouping);
    fmt.lpDecimalSep = const_cast<LPSTR>((LPCSTR)strDecimal);
    fmt.lpThousandSep = const_cast<LPSTR>((LPCSTR)strThousand);
    fmt.NegativeOrder = BoundedCount(GetNegativeOrder(), kMaxNumberNegativeOrder);
    char sOut[kBufferSize];
    memset(sOut, 0, sizeof(sOut));
    if (g_CurrentResourceManager->GetNumberFormat(0, strPlain, &fmt, sOut, kBufferSize) <= 0) return;
    sOut[kBufferSize - 1] = 0;
    strCopy = sOut;
}

void CExtGridCellNumberBase::TextSet(LPCTSTR str, bool bAllowChangeDataType)
{
    CString strText(str != NULL ? str : "");
    NormalizeInputText(strText);
    CExtGridCellVariant::TextSet(strText, bAllowChangeDataType);
}

CExtGridCell* CExtGridCellNumberBase::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellNumberBase>(*this, pMalloc);
}

void CExtGridCellNumberBase::TextGetForEdit(CString& strCopy) const
{
    strCopy.Empty();
    if (!GetPlainNumberText(*VariantPtr(), strCopy)) return;
    CString strSeparator;
    CExtGridCellNumberBase::GetDecimalSeparator(strSeparator);
    ReplaceAll(strCopy, ".", strSeparator);
}

HRESULT CExtGridCellNumberBase::OnParseText(LPCTSTR sText) const
{
    if (sText == NULL) return E_INVALIDARG;
    CString strText(sText);
    NormalizeInputText(strText);
    return CExtGridCellVariant::OnParseText(strText);
}

// ---- number cell with its own format -----------------------------------------------------

namespace {

// Number and currency cells keep the same own-format fields; these serve both.
template <class TCell> void ResetOwnFormat(TCell& cell)
{
    cell.m_bAutoDigits = false;
    cell.m_nDigitCount = cell.m_nLeadingZero = cell.m_nNegativeOrder = -1;
    cell.m_strGrouping.Empty();
    cell.m_strDecimalSeparator.Empty();
    cell.m_strThousandSeparator.Empty();
}

template <class TCell> void CopyOwnFormat(TCell& cell, const TCell& src)
{
    cell.m_bAutoDigits = src.m_bAutoDigits;
    cell.m_nDigitCount = src.m_nDigitCount;
    cell.m_nLeadingZero = src.m_nLeadingZero;
    cell.m_nNegativeOrder = src.m_nNegativeOrder;
    cell.m_strGrouping = src.m_strGrouping;
    cell.m_strDecimalSeparator = src.m_strDecimalSeparator;
    cell.m_strThousandSeparator = src.m_strThousandSeparator;
}

// A loaded count outside what the formatting takes is brought within it.
template <class TCell> void SerializeOwnCounts(CArchive& ar, TCell& cell, INT nMaxNegativeOrder)
{
    SerializeFlag(ar, cell.m_bAutoDigits);
    SerializeInt(ar, cell.m_nDigitCount);
    SerializeInt(ar, cell.m_nLeadingZero);
    SerializeInt(ar, cell.m_nNegativeOrder);
    if (ar.IsStoring()) return;
    cell.m_nDigitCount = BoundedField(cell.m_nDigitCount, kMaxDigits);
    cell.m_nLeadingZero = BoundedField(cell.m_nLeadingZero, kMaxLeadingZero);
    cell.m_nNegativeOrder = BoundedField(cell.m_nNegativeOrder, nMaxNegativeOrder);
}

// A separator loaded longer than the formatting takes cannot be shortened without
// changing it: the cell is refused.
void SerializeSeparator(CArchive& ar, CString& str, int nMaxLength)
{
    SerializeText(ar, str);
    if (!ar.IsStoring() && !SeparatorFits(str, nMaxLength))
        AfxThrowArchiveException(CArchiveException::badIndex);
}

template <class TCell> void SerializeOwnSeparators(CArchive& ar, TCell& cell)
{
    SerializeText(ar, cell.m_strGrouping);
    SerializeSeparator(ar, cell.m_strDecimalSeparator, kMaxSeparatorLength);
    SerializeSeparator(ar, cell.m_strThousandSeparator, kMaxSeparatorLength);
}

// With automatic digits the value's own fraction digits count when there are more of
// them than the locale asks for.
template <class TCell> int AutoOwnDigitCount(const TCell& cell, int nLocaleCount)
{
    if (!cell.m_bAutoDigits) return nLocaleCount;
    CString strPlain;
    if (!cell.GetPlainNumberText(*cell.VariantPtr(), strPlain)) return nLocaleCount;
    const int nOwn = TCell::stat_FractionDigits(strPlain);
    return nOwn > nLocaleCount ? nOwn : nLocaleCount;
}

}  // namespace

CExtGridCellNumber::CExtGridCellNumber(CExtGridDataProvider* pOwner) : CExtGridCellNumberBase(pOwner)
{
    _ResetFormat();
}

void CExtGridCellNumber::_ResetFormat() { ResetOwnFormat(*this); }

void CExtGridCellNumber::Serialize(CArchive& ar)
{
    CExtGridCellNumberBase::Serialize(ar);
    SerializeOwnCounts(ar, *this, kMaxNumberNegativeOrder);
    SerializeOwnSeparators(ar, *this);
}

void CExtGridCellNumber::Assign(const CExtGridCell& other)
{
    CExtGridCellNumberBase::Assign(other);
    if (&other == this) return;
    if (!other.IsKindOf(RUNTIME_CLASS(CExtGridCellNumber))) {
        _ResetFormat();
        return;
    }
    CopyOwnFormat(*this, static_cast<const CExtGridCellNumber&>(other));
}

CExtGridCell* CExtGridCellNumber::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellNumber>(*this, pMalloc);
}

int CExtGridCellNumber::_AutoDigitCount(int nLocaleCount) const
{
    if (m_nDigitCount != -1) return nLocaleCount;
    return AutoOwnDigitCount(*this, nLocaleCount);
}

int CExtGridCellNumber::GetDigitCount() const
{
    if (m_nDigitCount >= 0) return m_nDigitCount;
    return _AutoDigitCount(CExtGridCellNumberBase::GetDigitCount());
}

int CExtGridCellNumber::GetLeadingZero() const
{
    return m_nLeadingZero >= 0 ? m_nLeadingZero : CExtGridCellNumberBase::GetLeadingZero();
}

void CExtGridCellNumber::GetGrouping(CString& strOut) const
{
    if (!m_strGrouping.IsEmpty())
        strOut = m_strGrouping;
    else
        CExtGridCellNumberBase::GetGrouping(strOut);
}

void CExtGridCellNumber::GetDecimalSeparator(CString& strOut) const
{
    if (!m_strDecimalSeparator.IsEmpty())
        strOut = m_strDecimalSeparator;
    else
        CExtGridCellNumberBase::GetDecimalSeparator(strOut);
}

void CExtGridCellNumber::GetThousandSeparator(CString& strOut) const
{
    if (!m_strThousandSeparator.IsEmpty())
        strOut = m_strThousandSeparator;
    else
        CExtGridCellNumberBase::GetThousandSeparator(strOut);
}

int CExtGridCellNumber::GetNegativeOrder() const
{
    return m_nNegativeOrder >= 0 ? m_nNegativeOrder : CExtGridCellNumberBase::GetNegativeOrder();
}

// ---- percentage ---------------------------------------------------------------------------

CExtGridCellPercentage::CExtGridCellPercentage(CExtGridDataProvider* pOwner)
    : CExtGridCellNumber(pOwner), m_nSignPosition(-1)
{
}

void CExtGridCellPercentage::Serialize(CArchive& ar)
{
    CExtGridCellNumber::Serialize(ar);
    SerializeInt(ar, m_nSignPosition);
}

void CExtGridCellPercentage::Assign(const CExtGridCell& other)
{
    CExtGridCellNumber::Assign(other);
    if (&other == this) return;
    m_nSignPosition = other.IsKindOf(RUNTIME_CLASS(CExtGridCellPercentage))
                          ? static_cast<const CExtGridCellPercentage&>(other).m_nSignPosition
                          : -1;
}

CExtGridCell* CExtGridCellPercentage::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellPercentage>(*this, pMalloc);
}

bool CExtGridCellPercentage::AdjustValueForDisplay(VARIANT* pVar) const
{
    if (pVar == NULL) return false;
    VARIANT vHundred, vProduct;
    ::VariantInit(&vHundred);
    ::VariantInit(&vProduct);
    vHundred.vt = VT_UI1;
    vHundred.bVal = 100;
    bool bOk = SUCCEEDED(::VarMul(pVar, &vHundred, &vProduct)) && SUCCEEDED(::VariantCopy(pVar, &vProduct));
    ::VariantClear(&vProduct);
    return bOk;
}

int CExtGridCellPercentage::GetDigitCount() const
{
    if (m_nDigitCount >= 0) return m_nDigitCount;
    VARIANT vProduct;
    ::VariantInit(&vProduct);
    if (FAILED(::VariantCopy(&vProduct, const_cast<VARIANT*>(VariantPtr()))) || !AdjustValueForDisplay(&vProduct)) {
        ::VariantClear(&vProduct);
        return 0;
    }
    VARIANT vI8, vR8;
    ::VariantInit(&vI8);
    ::VariantInit(&vR8);
    // A whole percentage shows no fraction digits.
    const bool bWhole = SUCCEEDED(::VariantChangeType(&vI8, &vProduct, VARIANT_NOVALUEPROP, VT_I8)) &&
                        SUCCEEDED(::VariantChangeType(&vR8, &vProduct, VARIANT_NOVALUEPROP, VT_R8)) &&
                        (double)vI8.llVal == vR8.dblVal;
    ::VariantClear(&vI8);
    ::VariantClear(&vR8);
    ::VariantClear(&vProduct);
    if (bWhole) return 0;
    return CExtGridCellNumber::GetDigitCount();
}

int CExtGridCellPercentage::GetSignPosition() const { return m_nSignPosition >= 0 ? m_nSignPosition : 2; }

void CExtGridCellPercentage::TextGet(CString& strCopy) const
{
    strCopy.Empty();
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0 || vt == VT_EMPTY) return;
    CString strNumber;
    CExtGridCellNumberBase::TextGet(strNumber);
    // A value that gives no number gives no lone sign either.
    if (strNumber.IsEmpty()) return;
    switch (GetSignPosition()) {
    case 0: strCopy = "%" + strNumber; break;
    case 1: strCopy = "% " + strNumber; break;
    case 2: strCopy = strNumber + "%"; break;
    case 3: strCopy = strNumber + " %"; break;
    default: break;
    }
}

// ---- currency -------------------------------------------------------------------------------

CExtGridCellCurrency::CExtGridCellCurrency(CExtGridDataProvider* pOwner) : CExtGridCellNumberBase(pOwner)
{
    _ResetFormat();
}

void CExtGridCellCurrency::_ResetFormat()
{
    ResetOwnFormat(*this);
    m_nPositiveOrder = -1;
    m_strCurrencySymbol.Empty();
}

void CExtGridCellCurrency::Serialize(CArchive& ar)
{
    CExtGridCellNumberBase::Serialize(ar);
    // The positive order stands between the counts and the separators in stored cells.
    SerializeOwnCounts(ar, *this, kMaxCurrencyNegativeOrder);
    SerializeInt(ar, m_nPositiveOrder);
    if (!ar.IsStoring()) m_nPositiveOrder = BoundedField(m_nPositiveOrder, kMaxPositiveOrder);
    SerializeOwnSeparators(ar, *this);
    SerializeSeparator(ar, m_strCurrencySymbol, kMaxCurrencySymbolLength);
}

void CExtGridCellCurrency::Assign(const CExtGridCell& other)
{
    CExtGridCellNumberBase::Assign(other);
    if (&other == this) return;
    if (!other.IsKindOf(RUNTIME_CLASS(CExtGridCellCurrency))) {
        _ResetFormat();
        return;
    }
    const CExtGridCellCurrency& src = static_cast<const CExtGridCellCurrency&>(other);
    CopyOwnFormat(*this, src);
    m_nPositiveOrder = src.m_nPositiveOrder;
    m_strCurrencySymbol = src.m_strCurrencySymbol;
}

CExtGridCell* CExtGridCellCurrency::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellCurrency>(*this, pMalloc);
}

int CExtGridCellCurrency::GetDigitCount() const
{
    if (m_nDigitCount >= 0) return m_nDigitCount;
    return AutoOwnDigitCount(*this, stat_LocaleInt(LOCALE_ICURRDIGITS));
}

int CExtGridCellCurrency::GetLeadingZero() const
{
    return m_nLeadingZero >= 0 ? m_nLeadingZero : CExtGridCellNumberBase::GetLeadingZero();
}

void CExtGridCellCurrency::GetGrouping(CString& strOut) const
{
    strOut = !m_strGrouping.IsEmpty() ? m_strGrouping : stat_LocaleText(LOCALE_SMONGROUPING, 20);
}

void CExtGridCellCurrency::GetDecimalSeparator(CString& strOut) const
{
    strOut = !m_strDecimalSeparator.IsEmpty() ? m_strDecimalSeparator : stat_LocaleText(LOCALE_SMONDECIMALSEP, 5);
}

void CExtGridCellCurrency::GetThousandSeparator(CString& strOut) const
{
    strOut = !m_strThousandSeparator.IsEmpty() ? m_strThousandSeparator : stat_LocaleText(LOCALE_SMONTHOUSANDSEP, 5);
}

int CExtGridCellCurrency::GetNegativeOrder() const
{
    return m_nNegativeOrder >= 0 ? m_nNegativeOrder : stat_LocaleInt(LOCALE_INEGCURR);
}

void CExtGridCellCurrency::GetCurrencySymbol(CString& strOut) const
{
    // The locale allows symbols of up to 13 characters with the terminator; a smaller
    // buffer would lose the longer ones.
    strOut = !m_strCurrencySymbol.IsEmpty() ? m_strCurrencySymbol : stat_LocaleText(LOCALE_SCURRENCY, 13);
}

int CExtGridCellCurrency::GetPositiveOrder() const
{
    return m_nPositiveOrder >= 0 ? m_nPositiveOrder : stat_LocaleInt(LOCALE_ICURRENCY);
}

void CExtGridCellCurrency::TextGet(CString& strCopy) const
{
    strCopy.Empty();
    CString strPlain;
    if (!_DisplayPlainText(strPlain)) return;
    CString strGrouping, strDecimal, strThousand, strSymbol;
    GetGrouping(strGrouping);
    GetDecimalSeparator(strDecimal);
    GetThousandSeparator(strThousand);
    GetCurrencySymbol(strSymbol);
    if (!SeparatorFits(strDecimal, kMaxSeparatorLength) || !SeparatorFits(strThousand, kMaxSeparatorLength) ||
        !SeparatorFits(strSymbol, kMaxCurrencySymbolLength))
        return;
    CURRENCYFMT fmt;
    memset(&fmt, 0, sizeof(fmt));
    fmt.NumDigits = BoundedCount(GetDigitCount(), kMaxDigits);
    fmt.LeadingZero = BoundedCount(GetLeadingZero(), kMaxLeadingZero);
    fmt.Grouping = stat_GroupingValue(strGrouping);
    fmt.lpDecimalSep = const_cast<LPSTR>((LPCSTR)strDecimal);
    fmt.lpThousandSep = const_cast<LPSTR>((LPCSTR)strThousand);
    fmt.NegativeOrder = BoundedCount(GetNegativeOrder(), kMaxCurrencyNegativeOrder);
    fmt.PositiveOrder = BoundedCount(GetPositiveOrder(), kMaxPositiveOrder);
    fmt.lpCurrencySymbol = const_cast<LPSTR>((LPCSTR)strSymbol);
    char sOut[kBufferSize];
    memset(sOut, 0, sizeof(sOut));
    if (g_CurrentResourceManager->GetCurrencyFormat(0, strPlain, &fmt, sOut, kBufferSize) <= 0) return;
    sOut[kBufferSize - 1] = 0;
    strCopy = sOut;
}

// ---- fraction -----------------------------------------------------------------------------

namespace {

struct FRACTION
{
    double lfNum, lfDen;
};

// The last continued-fraction convergent of x (0 <= x < 1) whose denominator stays
// within lfMaxDen, or, with lfMaxDen 0, the first one within 1e-14 of x.
FRACTION BestConvergent(double x, double lfMaxDen)
{
    FRACTION best = {0.0, 1.0};
    double h1 = 1.0, h2 = 0.0, k1 = 0.0, k2 = 1.0;
    double r = x;
    for (int i = 0; i < 64; i++) {
        const double a = std::floor(r);
        const double h = a * h1 + h2, k = a * k1 + k2;
        if (lfMaxDen > 0.0 && k > lfMaxDen) break;
        best.lfNum = h;
        best.lfDen = k;
        if (std::fabs(x - h / k) < 1e-14) break;
        const double rest = r - a;
        if (rest <= 0.0) break;
        r = 1.0 / rest;
        h2 = h1;
        h1 = h;
        k2 = k1;
        k1 = k;
    }
    return best;
}

}  // namespace

char* CExtGridCellFraction::FormatFraction(double lfValue, char* pBuffer, int nSize) const
{
    if (pBuffer == NULL || nSize <= 0) return pBuffer;
    pBuffer[0] = 0;
    // The whole part must stay an exact integer of a double for the fraction to mean
    // anything; larger or non-finite values give no text.
    if (!(std::fabs(lfValue) < 1e15)) return pBuffer;
    const bool bNegative = lfValue < 0.0;
    const double lfAbs = std::fabs(lfValue);
    double lfWhole = std::floor(lfAbs);
    const double lfFrac = lfAbs - lfWhole;
    FRACTION f = {0.0, 1.0};
    int nType = m_nFractionType;
    if (nType < 0 || nType > 10) nType = 3;
    static const double s_maxDen[5] = {0.0, 9.0, 99.0, 999.0, 9999.0};
    static const double s_fixedDen[6] = {2.0, 4.0, 8.0, 16.0, 10.0, 100.0};
    if (lfFrac > 0.0) {
        if (nType <= 4) {
            f = BestConvergent(lfFrac, s_maxDen[nType]);
        } else {
            const FRACTION f3 = BestConvergent(lfFrac, 999.0);
            f.lfDen = s_fixedDen[nType - 5];
            f.lfNum = std::floor(f3.lfNum / f3.lfDen * f.lfDen + 0.5);
        }
        // A fraction rounded up to a whole one carries into the whole part.
        if (f.lfNum >= f.lfDen) {
            lfWhole += 1.0;
            f.lfNum = 0.0;
        }
    }
    const bool bHasWhole = lfWhole != 0.0, bHasFraction = f.lfNum != 0.0;
    if (!bHasWhole && !bHasFraction) {
        BoundedPrint(pBuffer, nSize, "0");
    } else if (!bHasFraction) {
        BoundedPrint(pBuffer, nSize, "%s%.0f", bNegative ? "-" : "", lfWhole);
    } else if (!bHasWhole) {
        BoundedPrint(pBuffer, nSize, "%s%.0f/%.0f", bNegative ? "-" : "", f.lfNum, f.lfDen);
    } else {
        BoundedPrint(pBuffer, nSize, "%s%.0f  %.0f/%.0f", bNegative ? "-" : "", lfWhole, f.lfNum, f.lfDen);
    }
    return pBuffer;
}

CExtGridCellFraction::CExtGridCellFraction(CExtGridDataProvider* pOwner)
    : CExtGridCellNumberBase(pOwner), m_nFractionType(0)
{
}

void CExtGridCellFraction::Serialize(CArchive& ar)
{
    CExtGridCellNumberBase::Serialize(ar);
    SerializeInt(ar, m_nFractionType);
}

void CExtGridCellFraction::Assign(const CExtGridCell& other)
{
    CExtGridCellNumberBase::Assign(other);
    if (&other == this) return;
    m_nFractionType = other.IsKindOf(RUNTIME_CLASS(CExtGridCellFraction))
                          ? static_cast<const CExtGridCellFraction&>(other).m_nFractionType
                          : 0;
}

CExtGridCell* CExtGridCellFraction::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellFraction>(*this, pMalloc);
}

void CExtGridCellFraction::TextGet(CString& strCopy) const
{
    strCopy.Empty();
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0 || vt == VT_EMPTY) return;
    char sBuffer[kBufferSize];
    FormatFraction(_ValueAsDouble(), sBuffer, kBufferSize);
    sBuffer[kBufferSize - 1] = 0;
    strCopy = sBuffer;
}

// ---- exponent form ------------------------------------------------------------------------

CExtGridCellScientific::CExtGridCellScientific(CExtGridDataProvider* pOwner)
    : CExtGridCellNumberBase(pOwner), m_nDigitCount(-1)
{
}

void CExtGridCellScientific::Serialize(CArchive& ar)
{
    CExtGridCellNumberBase::Serialize(ar);
    SerializeInt(ar, m_nDigitCount);
}

void CExtGridCellScientific::Assign(const CExtGridCell& other)
{
    CExtGridCellNumberBase::Assign(other);
    if (&other == this) return;
    m_nDigitCount = other.IsKindOf(RUNTIME_CLASS(CExtGridCellScientific))
                        ? static_cast<const CExtGridCellScientific&>(other).m_nDigitCount
                        : -1;
}

CExtGridCell* CExtGridCellScientific::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellScientific>(*this, pMalloc);
}

void CExtGridCellScientific::TextGet(CString& strCopy) const
{
    strCopy.Empty();
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0) return;
    const int nDigits = m_nDigitCount < 0 ? 2 : m_nDigitCount;
    // A mantissa with more digits than the buffer holds can never fit.
    if (nDigits >= kBufferSize) return;
    char sFormat[16], sBuffer[kBufferSize];
    if (!BoundedPrint(sFormat, (int)sizeof(sFormat), "%%.%dE", nDigits)) return;
    if (!BoundedPrint(sBuffer, kBufferSize, sFormat, _ValueAsDouble())) return;
    strCopy = sBuffer;
}
