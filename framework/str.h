// CString: the framework's ANSI string. One pointer in size: the length and capacity
// live in a header in front of the characters, so a CString's bits are a valid
// const char* (as code written for the classic class expects). Copies are deep.
#pragma once
#include "framework/platform.h"

#if defined(__GNUC__)
#define AFX_FORMAT_ATTR(fmt, args) __attribute__((format(ms_printf, fmt, args)))
#else
#define AFX_FORMAT_ATTR(fmt, args)
#endif

class CString
{
public:
    typedef char XCHAR;
    typedef LPSTR PXSTR;
    typedef LPCSTR PCXSTR;

    CString();
    CString(const CString& stringSrc);
    CString(CString&& stringSrc) noexcept;
    // A string, or MAKEINTRESOURCE(id) of a string resource to load.
    CString(LPCSTR lpsz);
    CString(LPCWSTR lpsz);
    CString(LPCSTR lpch, int nLength);
    CString(const unsigned char* psz);
    explicit CString(char ch, int nRepeat = 1);
    ~CString();

    // ---- Attributes
    int GetLength() const { return GetData()->nDataLength; }
    int GetAllocLength() const { return GetData()->nAllocLength; }
    BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
    void Empty();

    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    char operator[](unsigned int nIndex) const { return GetAt((int)nIndex); }
    void SetAt(int nIndex, char ch);
    operator LPCSTR() const { return m_pszData; }
    LPCSTR GetString() const { return m_pszData; }

    // ---- Assignment and concatenation
    CString& operator=(const CString& stringSrc);
    CString& operator=(CString&& stringSrc) noexcept;
    CString& operator=(LPCSTR lpsz);
    CString& operator=(LPCWSTR lpsz);
    CString& operator=(const unsigned char* psz);
    CString& operator=(char ch);

    CString& operator+=(const CString& string);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(char ch);

    void SetString(LPCSTR lpsz);
    void SetString(LPCSTR lpch, int nLength);
    void Append(LPCSTR lpsz);
    void Append(LPCSTR lpch, int nLength);
    void Append(const CString& str);
    void AppendChar(char ch);

    // ---- Comparison
    int Compare(LPCSTR lpsz) const;
    int CompareNoCase(LPCSTR lpsz) const;
    int Collate(LPCSTR lpsz) const;
    int CollateNoCase(LPCSTR lpsz) const;

    // ---- Extraction (out-of-range arguments are clamped)
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR lpszCharSet) const;
    CString SpanExcluding(LPCSTR lpszCharSet) const;

    // ---- In-place changes
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    int Replace(char chOld, char chNew);          // number replaced
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
    int Remove(char chRemove);                    // number removed
    int Insert(int nIndex, char ch);              // new length
    int Insert(int nIndex, LPCSTR pstr);
    int Delete(int nIndex, int nCount = 1);       // new length
    void Truncate(int nNewLength);

    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR lpszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR lpszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR lpszTargets);

    // ---- Searching (-1 when not found)
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR lpszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;

    // Next token after iStart: skips runs of delimiters, never yields an empty token;
    // sets iStart to -1 (and answers an empty string) when no token is left.
    CString Tokenize(LPCSTR pszTokens, int& iStart) const;

    // ---- Formatting (msvcrt printf rules)
    void AFX_CDECL Format(LPCSTR lpszFormat, ...) AFX_FORMAT_ATTR(2, 3);
    void AFX_CDECL Format(UINT nFormatID, ...);
    void FormatV(LPCSTR lpszFormat, va_list argList);
    void AFX_CDECL AppendFormat(LPCSTR lpszFormat, ...) AFX_FORMAT_ATTR(2, 3);
    void AppendFormatV(LPCSTR lpszFormat, va_list argList);
    // %1..%99 inserts, as the Windows message formatter does.
    void AFX_CDECL FormatMessage(LPCSTR lpszFormat, ...);
    void AFX_CDECL FormatMessage(UINT nFormatID, ...);

    // ---- Resources
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // ---- Raw buffer access
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBuffer();
    // nNewLength -1: up to the first terminator within the buffer.
    void ReleaseBuffer(int nNewLength = -1);
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    void Preallocate(int nLength);
    void FreeExtra();
    LPSTR LockBuffer() { return GetBuffer(0); }
    void UnlockBuffer() {}

    BSTR AllocSysString() const;

private:
    struct CStringData
    {
        int nDataLength;   // characters, without the terminator
        int nAllocLength;  // capacity, without the terminator; 0 for the shared empty block
        char* data() { return reinterpret_cast<char*>(this + 1); }
    };
    CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pszData) - 1; }
    void Release();
    void Reserve(int nLength);      // keeps contents, capacity >= nLength
    void SetLength(int nLength);
    void Assign(LPCSTR lpch, int nLength);

    LPSTR m_pszData;
};

typedef CString CStringA;

// ---- Concatenation
CString AFXAPI operator+(const CString& string1, const CString& string2);
CString AFXAPI operator+(const CString& string, LPCSTR lpsz);
CString AFXAPI operator+(LPCSTR lpsz, const CString& string);
CString AFXAPI operator+(const CString& string, char ch);
CString AFXAPI operator+(char ch, const CString& string);

// ---- Comparisons (case-sensitive, byte order)
bool AFXAPI operator==(const CString& s1, const CString& s2);
bool AFXAPI operator==(const CString& s1, LPCSTR s2);
bool AFXAPI operator==(LPCSTR s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, LPCSTR s2);
bool AFXAPI operator!=(LPCSTR s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, LPCSTR s2);
bool AFXAPI operator<(LPCSTR s1, const CString& s2);
bool AFXAPI operator>(const CString& s1, const CString& s2);
bool AFXAPI operator>(const CString& s1, LPCSTR s2);
bool AFXAPI operator>(LPCSTR s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, LPCSTR s2);
bool AFXAPI operator<=(LPCSTR s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, LPCSTR s2);
bool AFXAPI operator>=(LPCSTR s1, const CString& s2);

// ---- Helpers around strings
// The iSubString'th field of lpszFullString separated by chSep; FALSE past the last.
BOOL AFXAPI AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString,
                                char chSep = '\n');
// Replaces %1 (and %2) in the string resource nIDS / in lpszFormat.
void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1);
void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2);
void AFXAPI AfxFormatStrings(CString& rString, LPCSTR lpszFormat, LPCSTR const* rglpsz, int nString);
