// CString implementation.
#include "framework/str.h"
#include "framework/resources.h"
#include "framework/exceptions.h"
#include <ctype.h>
#include <mbstring.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <new>

namespace {

// The shared empty string: header with zero capacity followed by a terminator.
// Never written except for its terminator, which always stays zero.
struct EmptyBlock
{
    int nDataLength;
    int nAllocLength;
    char chNil[4];
};
EmptyBlock g_emptyString = { 0, 0, { 0, 0, 0, 0 } };

inline int SafeLen(LPCSTR lpsz)
{
    return (lpsz != NULL && !IS_INTRESOURCE(lpsz)) ? (int)strlen(lpsz) : 0;
}

inline bool IsBlank(char ch)
{
    return isspace((unsigned char)ch) != 0;
}

}  // namespace

// ---- Storage -------------------------------------------------------------------

#define AFX_EMPTY_DATA (reinterpret_cast<LPSTR>(g_emptyString.chNil))

CString::CString() : m_pszData(AFX_EMPTY_DATA) {}

CString::CString(const CString& stringSrc) : m_pszData(AFX_EMPTY_DATA)
{
    Assign(stringSrc.m_pszData, stringSrc.GetLength());
}

CString::CString(CString&& stringSrc) noexcept : m_pszData(stringSrc.m_pszData)
{
    stringSrc.m_pszData = AFX_EMPTY_DATA;
}

CString::CString(LPCSTR lpsz) : m_pszData(AFX_EMPTY_DATA)
{
    if (lpsz != NULL && IS_INTRESOURCE(lpsz))
        LoadString(LOWORD((ULONG_PTR)lpsz));
    else
        Assign(lpsz, SafeLen(lpsz));
}

CString::CString(LPCWSTR lpsz) : m_pszData(AFX_EMPTY_DATA)
{
    *this = lpsz;
}

CString::CString(LPCSTR lpch, int nLength) : m_pszData(AFX_EMPTY_DATA)
{
    if (lpch == NULL || nLength < 0)
        nLength = 0;
    Assign(lpch, nLength);
}

CString::CString(const unsigned char* psz) : m_pszData(AFX_EMPTY_DATA)
{
    Assign((LPCSTR)psz, SafeLen((LPCSTR)psz));
}

CString::CString(char ch, int nRepeat) : m_pszData(AFX_EMPTY_DATA)
{
    if (nRepeat > 0)
    {
        Reserve(nRepeat);
        memset(m_pszData, ch, nRepeat);
        SetLength(nRepeat);
    }
}

CString::~CString()
{
    Release();
}

void CString::Release()
{
    if (m_pszData != AFX_EMPTY_DATA)
        free(GetData());
    m_pszData = AFX_EMPTY_DATA;
}

void CString::Reserve(int nLength)
{
    CStringData* pOld = GetData();
    if (nLength <= pOld->nAllocLength)
        return;
    if (nLength <= 0)
        return;
    // Grow geometrically so repeated appends stay linear.
    int nNewAlloc = nLength;
    if (pOld->nAllocLength > 0 && nNewAlloc < pOld->nAllocLength + pOld->nAllocLength / 2)
        nNewAlloc = pOld->nAllocLength + pOld->nAllocLength / 2;
    if ((size_t)nNewAlloc > (size_t)0x7FFFFFF0 - sizeof(CStringData))
        AfxThrowMemoryException();
    CStringData* pNew = (CStringData*)malloc(sizeof(CStringData) + nNewAlloc + 1);
    if (pNew == NULL)
        AfxThrowMemoryException();
    pNew->nAllocLength = nNewAlloc;
    pNew->nDataLength = pOld->nDataLength;
    memcpy(pNew->data(), m_pszData, pOld->nDataLength + 1);
    if (m_pszData != AFX_EMPTY_DATA)
        free(pOld);
    m_pszData = pNew->data();
}

void CString::SetLength(int nLength)
{
    CStringData* pData = GetData();
    if (pData->nAllocLength == 0)
        return;  // the shared empty block keeps length 0
    if (nLength < 0)
        nLength = 0;
    if (nLength > pData->nAllocLength)
        nLength = pData->nAllocLength;
    pData->nDataLength = nLength;
    m_pszData[nLength] = '\0';
}

void CString::Assign(LPCSTR lpch, int nLength)
{
    if (nLength <= 0 || lpch == NULL)
    {
        SetLength(0);
        return;
    }
    // The source may live inside this string's own buffer.
    if (lpch >= m_pszData && lpch <= m_pszData + GetLength())
    {
        memmove(m_pszData, lpch, nLength);
        SetLength(nLength);
        return;
    }
    if (nLength > GetAllocLength())
    {
        Release();
        Reserve(nLength);
    }
    memcpy(m_pszData, lpch, nLength);
    SetLength(nLength);
}

void CString::Empty()
{
    Release();
}

// ---- Element access --------------------------------------------------------------

char CString::GetAt(int nIndex) const
{
    // Reading the terminator is allowed, as with the classic class.
    if (nIndex < 0 || nIndex > GetLength())
        AfxThrowInvalidArgException();
    return m_pszData[nIndex];
}

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex < 0 || nIndex >= GetLength())
        AfxThrowInvalidArgException();
    m_pszData[nIndex] = ch;
}

// ---- Assignment ---------------------------------------------------------------------

CString& CString::operator=(const CString& stringSrc)
{
    if (this != &stringSrc)
        Assign(stringSrc.m_pszData, stringSrc.GetLength());
    return *this;
}

CString& CString::operator=(CString&& stringSrc) noexcept
{
    if (this != &stringSrc)
    {
        Release();
        m_pszData = stringSrc.m_pszData;
        stringSrc.m_pszData = AFX_EMPTY_DATA;
    }
    return *this;
}

CString& CString::operator=(LPCSTR lpsz)
{
    Assign(lpsz, SafeLen(lpsz));
    return *this;
}

CString& CString::operator=(LPCWSTR lpsz)
{
    if (lpsz == NULL || *lpsz == 0)
    {
        Empty();
        return *this;
    }
    int nLen = WideCharToMultiByte(CP_ACP, 0, lpsz, -1, NULL, 0, NULL, NULL);
    if (nLen <= 1)
    {
        Empty();
        return *this;
    }
    CString strNew;
    strNew.Reserve(nLen);
    WideCharToMultiByte(CP_ACP, 0, lpsz, -1, strNew.m_pszData, nLen, NULL, NULL);
    strNew.SetLength(nLen - 1);
    *this = static_cast<CString&&>(strNew);
    return *this;
}

CString& CString::operator=(const unsigned char* psz)
{
    return *this = (LPCSTR)psz;
}

CString& CString::operator=(char ch)
{
    Assign(&ch, 1);
    return *this;
}

void CString::SetString(LPCSTR lpsz)
{
    Assign(lpsz, SafeLen(lpsz));
}

void CString::SetString(LPCSTR lpch, int nLength)
{
    Assign(lpch, nLength);
}

void CString::Append(LPCSTR lpch, int nLength)
{
    if (lpch == NULL || nLength <= 0)
        return;
    int nOld = GetLength();
    // The source may live inside this buffer, which Reserve may move.
    if (lpch >= m_pszData && lpch <= m_pszData + nOld)
    {
        CString strCopy(lpch, nLength);
        Append(strCopy.m_pszData, nLength);
        return;
    }
    if ((long long)nOld + nLength > 0x7FFFFFF0LL)
        AfxThrowMemoryException();
    Reserve(nOld + nLength);
    memcpy(m_pszData + nOld, lpch, nLength);
    SetLength(nOld + nLength);
}

void CString::Append(LPCSTR lpsz)
{
    Append(lpsz, SafeLen(lpsz));
}

void CString::Append(const CString& str)
{
    Append(str.m_pszData, str.GetLength());
}

void CString::AppendChar(char ch)
{
    Append(&ch, 1);
}

CString& CString::operator+=(const CString& string)
{
    Append(string);
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz)
{
    Append(lpsz);
    return *this;
}

CString& CString::operator+=(char ch)
{
    AppendChar(ch);
    return *this;
}

CString AFXAPI operator+(const CString& string1, const CString& string2)
{
    CString s;
    s.Preallocate(string1.GetLength() + string2.GetLength());
    s += string1;
    s += string2;
    return s;
}

CString AFXAPI operator+(const CString& string, LPCSTR lpsz)
{
    CString s(string);
    s += lpsz;
    return s;
}

CString AFXAPI operator+(LPCSTR lpsz, const CString& string)
{
    CString s(lpsz);
    s += string;
    return s;
}

CString AFXAPI operator+(const CString& string, char ch)
{
    CString s(string);
    s += ch;
    return s;
}

CString AFXAPI operator+(char ch, const CString& string)
{
    CString s(ch);
    s += string;
    return s;
}

// ---- Comparison ------------------------------------------------------------------

static inline LPCSTR NonNull(LPCSTR lpsz)
{
    return lpsz != NULL ? lpsz : "";
}

int CString::Compare(LPCSTR lpsz) const
{
    return strcmp(m_pszData, NonNull(lpsz));
}

int CString::CompareNoCase(LPCSTR lpsz) const
{
    return _mbsicmp((const unsigned char*)m_pszData, (const unsigned char*)NonNull(lpsz));
}

int CString::Collate(LPCSTR lpsz) const
{
    return _mbscoll((const unsigned char*)m_pszData, (const unsigned char*)NonNull(lpsz));
}

int CString::CollateNoCase(LPCSTR lpsz) const
{
    return _mbsicoll((const unsigned char*)m_pszData, (const unsigned char*)NonNull(lpsz));
}

bool AFXAPI operator==(const CString& s1, const CString& s2) { return s1.GetLength() == s2.GetLength() && s1.Compare(s2) == 0; }
bool AFXAPI operator==(const CString& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
bool AFXAPI operator==(LPCSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool AFXAPI operator!=(const CString& s1, const CString& s2) { return !(s1 == s2); }
bool AFXAPI operator!=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
bool AFXAPI operator!=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool AFXAPI operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(const CString& s1, LPCSTR s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(LPCSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
bool AFXAPI operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator>(const CString& s1, LPCSTR s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator>(LPCSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
bool AFXAPI operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator<=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator<=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
bool AFXAPI operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
bool AFXAPI operator>=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) >= 0; }
bool AFXAPI operator>=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }

// ---- Extraction --------------------------------------------------------------------

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    int nLength = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst > nLength)
        return CString();
    if (nCount > nLength - nFirst)
        nCount = nLength - nFirst;
    if (nFirst == 0 && nCount == nLength)
        return *this;
    return CString(m_pszData + nFirst, nCount);
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= GetLength())
        return *this;
    return CString(m_pszData, nCount);
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    int nLength = GetLength();
    if (nCount >= nLength)
        return *this;
    return CString(m_pszData + nLength - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const
{
    return Left((int)strspn(m_pszData, NonNull(lpszCharSet)));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const
{
    return Left((int)strcspn(m_pszData, NonNull(lpszCharSet)));
}

// ---- In-place changes -----------------------------------------------------------------

CString& CString::MakeUpper()
{
    // The C run-time's multibyte case mapping of the current locale, as the classic class.
    if (GetLength() > 0)
        _mbsupr((unsigned char*)m_pszData);
    return *this;
}

CString& CString::MakeLower()
{
    if (GetLength() > 0)
        _mbslwr((unsigned char*)m_pszData);
    return *this;
}

CString& CString::MakeReverse()
{
    int n = GetLength();
    for (int i = 0, j = n - 1; i < j; ++i, --j)
    {
        char t = m_pszData[i];
        m_pszData[i] = m_pszData[j];
        m_pszData[j] = t;
    }
    return *this;
}

int CString::Replace(char chOld, char chNew)
{
    int nCount = 0;
    if (chOld == chNew)
        return 0;
    for (int i = 0, n = GetLength(); i < n; ++i)
    {
        if (m_pszData[i] == chOld)
        {
            m_pszData[i] = chNew;
            ++nCount;
        }
    }
    return nCount;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew)
{
    int nOldLen = SafeLen(lpszOld);
    if (nOldLen == 0)
        return 0;
    int nNewLen = SafeLen(lpszNew);
    int nCount = 0;
    for (LPCSTR p = strstr(m_pszData, lpszOld); p != NULL; p = strstr(p + nOldLen, lpszOld))
        ++nCount;
    if (nCount == 0)
        return 0;
    CString strResult;
    strResult.Preallocate(GetLength() + nCount * (nNewLen - nOldLen));
    LPCSTR pStart = m_pszData;
    for (LPCSTR p = strstr(pStart, lpszOld); p != NULL; p = strstr(pStart, lpszOld))
    {
        strResult.Append(pStart, (int)(p - pStart));
        strResult.Append(lpszNew, nNewLen);
        pStart = p + nOldLen;
    }
    strResult.Append(pStart, (int)(m_pszData + GetLength() - pStart));
    *this = static_cast<CString&&>(strResult);
    return nCount;
}

int CString::Remove(char chRemove)
{
    int n = GetLength();
    int j = 0;
    for (int i = 0; i < n; ++i)
        if (m_pszData[i] != chRemove)
            m_pszData[j++] = m_pszData[i];
    SetLength(j);
    return n - j;
}

int CString::Insert(int nIndex, char ch)
{
    return Insert(nIndex, CString(ch));
}

int CString::Insert(int nIndex, LPCSTR pstr)
{
    int nLength = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > nLength)
        nIndex = nLength;
    int nInsert = SafeLen(pstr);
    if (nInsert > 0)
    {
        CString strInsert(pstr, nInsert);  // pstr may point into this string
        Reserve(nLength + nInsert);
        memmove(m_pszData + nIndex + nInsert, m_pszData + nIndex, nLength - nIndex);
        memcpy(m_pszData + nIndex, strInsert.m_pszData, nInsert);
        SetLength(nLength + nInsert);
    }
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    int nLength = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < nLength)
    {
        if (nCount > nLength - nIndex)
            nCount = nLength - nIndex;
        memmove(m_pszData + nIndex, m_pszData + nIndex + nCount, nLength - nIndex - nCount);
        SetLength(nLength - nCount);
    }
    return GetLength();
}

void CString::Truncate(int nNewLength)
{
    if (nNewLength >= 0 && nNewLength < GetLength())
        SetLength(nNewLength);
}

CString& CString::TrimRight()
{
    int n = GetLength();
    while (n > 0 && IsBlank(m_pszData[n - 1]))
        --n;
    SetLength(n);
    return *this;
}

CString& CString::TrimRight(char chTarget)
{
    int n = GetLength();
    while (n > 0 && m_pszData[n - 1] == chTarget)
        --n;
    SetLength(n);
    return *this;
}

CString& CString::TrimRight(LPCSTR lpszTargets)
{
    if (SafeLen(lpszTargets) == 0)
        return *this;
    int n = GetLength();
    while (n > 0 && strchr(lpszTargets, m_pszData[n - 1]) != NULL)
        --n;
    SetLength(n);
    return *this;
}

CString& CString::TrimLeft()
{
    int n = 0, nLength = GetLength();
    while (n < nLength && IsBlank(m_pszData[n]))
        ++n;
    return Delete(0, n), *this;
}

CString& CString::TrimLeft(char chTarget)
{
    int n = 0, nLength = GetLength();
    while (n < nLength && m_pszData[n] == chTarget)
        ++n;
    return Delete(0, n), *this;
}

CString& CString::TrimLeft(LPCSTR lpszTargets)
{
    if (SafeLen(lpszTargets) == 0)
        return *this;
    int n = 0, nLength = GetLength();
    while (n < nLength && strchr(lpszTargets, m_pszData[n]) != NULL)
        ++n;
    return Delete(0, n), *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(LPCSTR lpszTargets) { return TrimRight(lpszTargets).TrimLeft(lpszTargets); }

// ---- Searching ------------------------------------------------------------------------

int CString::Find(char ch, int nStart) const
{
    int nLength = GetLength();
    if (nStart < 0 || nStart >= nLength)
        return -1;
    const char* p = (const char*)memchr(m_pszData + nStart, ch, nLength - nStart);
    return p != NULL ? (int)(p - m_pszData) : -1;
}

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    if (lpszSub == NULL)
        return -1;
    if (nStart < 0 || nStart > GetLength())
        return -1;
    LPCSTR p = strstr(m_pszData + nStart, lpszSub);
    return p != NULL ? (int)(p - m_pszData) : -1;
}

int CString::ReverseFind(char ch) const
{
    for (int i = GetLength() - 1; i >= 0; --i)
        if (m_pszData[i] == ch)
            return i;
    return -1;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const
{
    if (SafeLen(lpszCharSet) == 0)
        return -1;
    LPCSTR p = strpbrk(m_pszData, lpszCharSet);
    return p != NULL ? (int)(p - m_pszData) : -1;
}

CString CString::Tokenize(LPCSTR pszTokens, int& iStart) const
{
    int nLength = GetLength();
    if (iStart < 0 || iStart >= nLength)
    {
        iStart = -1;
        return CString();
    }
    if (pszTokens == NULL || *pszTokens == '\0')
    {
        // No delimiters: the rest is the one token.
        CString strRest = Mid(iStart);
        iStart = nLength;
        return strRest;
    }
    LPCSTR pszPlace = m_pszData + iStart;
    int nIncluding = (int)strspn(pszPlace, pszTokens);
    if (iStart + nIncluding < nLength)
    {
        int nExcluding = (int)strcspn(pszPlace + nIncluding, pszTokens);
        int iFrom = iStart + nIncluding;
        // Past the delimiter that ended the token (one past the end for the last one).
        iStart = iFrom + nExcluding + 1;
        return Mid(iFrom, nExcluding);
    }
    iStart = -1;
    return CString();
}

// ---- Formatting ------------------------------------------------------------------------

void CString::FormatV(LPCSTR lpszFormat, va_list argList)
{
    CString strResult;
    strResult.AppendFormatV(lpszFormat, argList);
    *this = static_cast<CString&&>(strResult);
}

void CString::AppendFormatV(LPCSTR lpszFormat, va_list argList)
{
    if (lpszFormat == NULL)
        return;
    va_list argCopy;
    va_copy(argCopy, argList);
    int nAdd = _vscprintf(lpszFormat, argCopy);
    va_end(argCopy);
    if (nAdd <= 0)
        return;
    int nOld = GetLength();
    if ((long long)nOld + nAdd > 0x7FFFFFF0LL)
        AfxThrowMemoryException();
    // The format or an argument may point into this string's own characters: when
    // the buffer must grow, the text is built in a new block while the old one stays.
    CString strGrown;
    LPSTR pszTarget = m_pszData;
    if (nOld + nAdd > GetAllocLength())
    {
        int nAlloc = GetAllocLength();
        strGrown.Reserve(nOld + nAdd > nAlloc + nAlloc / 2 ? nOld + nAdd : nAlloc + nAlloc / 2);
        memcpy(strGrown.m_pszData, m_pszData, nOld);
        pszTarget = strGrown.m_pszData;
    }
    va_copy(argCopy, argList);
    int nWritten = _vsnprintf(pszTarget + nOld, nAdd + 1, lpszFormat, argCopy);
    va_end(argCopy);
    if (nWritten < 0 || nWritten > nAdd)
        nWritten = nAdd;
    if (pszTarget != m_pszData)
        *this = static_cast<CString&&>(strGrown);
    SetLength(nOld + nWritten);
}

void AFX_CDECL CString::Format(LPCSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    FormatV(lpszFormat, argList);
    va_end(argList);
}

void AFX_CDECL CString::Format(UINT nFormatID, ...)
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    va_list argList;
    va_start(argList, nFormatID);
    FormatV(strFormat, argList);
    va_end(argList);
}

void AFX_CDECL CString::AppendFormat(LPCSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    AppendFormatV(lpszFormat, argList);
    va_end(argList);
}

static void FormatMessageV(CString& str, LPCSTR lpszFormat, va_list* pArgList)
{
    LPSTR lpszTemp = NULL;
    if (lpszFormat == NULL ||
        ::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, lpszFormat, 0, 0,
                         (LPSTR)&lpszTemp, 0, pArgList) == 0 || lpszTemp == NULL)
    {
        str.Empty();
        if (lpszTemp != NULL)
            LocalFree(lpszTemp);
        return;
    }
    str = lpszTemp;
    LocalFree(lpszTemp);
}

void AFX_CDECL CString::FormatMessage(LPCSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    FormatMessageV(*this, lpszFormat, &argList);
    va_end(argList);
}

void AFX_CDECL CString::FormatMessage(UINT nFormatID, ...)
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    va_list argList;
    va_start(argList, nFormatID);
    FormatMessageV(*this, strFormat, &argList);
    va_end(argList);
}

// ---- Resources ---------------------------------------------------------------------------

BOOL CString::LoadString(UINT nID)
{
    // Grow until the text fits; a string resource holds at most 65535 characters.
    for (int nSize = 256; nSize <= 65536; nSize *= 2)
    {
        LPSTR p = GetBuffer(nSize);
        int nLen = (int)AfxLoadString(nID, p, (UINT)nSize + 1);
        ReleaseBuffer(nLen);
        if (nLen == 0)
            return FALSE;
        if (nLen < nSize)
            return TRUE;
    }
    return TRUE;
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    for (int nSize = 256; nSize <= 65536; nSize *= 2)
    {
        LPSTR p = GetBuffer(nSize);
        int nLen = ::LoadStringA(hInstance, nID, p, nSize + 1);
        ReleaseBuffer(nLen > 0 ? nLen : 0);
        if (nLen <= 0)
            return FALSE;
        if (nLen < nSize)
            return TRUE;
    }
    return TRUE;
}

// ---- Buffer access -------------------------------------------------------------------------

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < 0)
        nMinBufLength = 0;
    Reserve(nMinBufLength);
    return m_pszData;
}

LPSTR CString::GetBuffer()
{
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    int nAlloc = GetAllocLength();
    if (nAlloc == 0)
        return;
    if (nNewLength < 0)
    {
        const char* pEnd = (const char*)memchr(m_pszData, 0, nAlloc + 1);
        nNewLength = pEnd != NULL ? (int)(pEnd - m_pszData) : nAlloc;
    }
    SetLength(nNewLength);
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = 0;
    GetBuffer(nNewLength);
    SetLength(nNewLength);
    return m_pszData;
}

void CString::Preallocate(int nLength)
{
    if (nLength > 0)
        Reserve(nLength);
}

void CString::FreeExtra()
{
    if (GetAllocLength() > GetLength())
    {
        CString strCopy(m_pszData, GetLength());
        *this = static_cast<CString&&>(strCopy);
    }
}

BSTR CString::AllocSysString() const
{
    int nLen = MultiByteToWideChar(CP_ACP, 0, m_pszData, GetLength(), NULL, 0);
    BSTR bstr = ::SysAllocStringLen(NULL, (UINT)nLen);
    if (bstr == NULL)
        AfxThrowMemoryException();
    if (nLen > 0)
        MultiByteToWideChar(CP_ACP, 0, m_pszData, GetLength(), bstr, nLen);
    bstr[nLen] = 0;
    return bstr;
}

// ---- Helpers ---------------------------------------------------------------------------------

BOOL AFXAPI AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep)
{
    rString.Empty();
    if (lpszFullString == NULL || iSubString < 0)
        return FALSE;
    while (iSubString--)
    {
        lpszFullString = strchr(lpszFullString, chSep);
        if (lpszFullString == NULL)
            return FALSE;
        ++lpszFullString;
    }
    LPCSTR lpchEnd = strchr(lpszFullString, chSep);
    int nLen = lpchEnd == NULL ? (int)strlen(lpszFullString) : (int)(lpchEnd - lpszFullString);
    rString.SetString(lpszFullString, nLen);
    return TRUE;
}

void AFXAPI AfxFormatStrings(CString& rString, LPCSTR lpszFormat, LPCSTR const* rglpsz, int nString)
{
    CString strResult;
    if (lpszFormat == NULL)
    {
        rString.Empty();
        return;
    }
    for (LPCSTR p = lpszFormat; *p != '\0'; ++p)
    {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9')
        {
            int i = p[1] - '1';
            if (i < nString && rglpsz != NULL && rglpsz[i] != NULL)
                strResult += rglpsz[i];
            else
                strResult += "?";
            ++p;
        }
        else
        {
            strResult += *p;
        }
    }
    rString = static_cast<CString&&>(strResult);
}

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1)
{
    CString strFormat;
    strFormat.LoadString(nIDS);
    AfxFormatStrings(rString, strFormat, &lpsz1, 1);
}

void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2)
{
    CString strFormat;
    strFormat.LoadString(nIDS);
    LPCSTR rglpsz[2] = { lpsz1, lpsz2 };
    AfxFormatStrings(rString, strFormat, rglpsz, 2);
}
