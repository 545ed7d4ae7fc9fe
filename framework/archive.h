// CArchive: the classic binary archive over a CFile, with its object and class tags.
//
// Format (all numbers little-endian):
// - CString: a length byte below 255; else 0xFF and a WORD below 0xFFFE; else 0xFF,
//   0xFFFF and a DWORD; then the characters without terminator. On reading, the Unicode
//   marker (0xFF, WORD 0xFFFE, then a length in the same form counting UTF-16 units) is
//   accepted and the text converted to the ANSI code page. An 8-byte length (DWORD
//   0xFFFFFFFF) cannot be loaded here and raises badSchema.
// - Counts: a WORD below 0xFFFF, else 0xFFFF and a DWORD.
// - Class references: 0xFFFF, WORD schema, WORD name length, name; then the class is
//   known by its index: WORD 0x8000|index, or for index 0x7FFF and up WORD 0x7FFF and
//   DWORD 0x80000000|index. Objects: WORD 0 for NULL, a class reference followed by the
//   object's Serialize, or an earlier object's plain index (0x7FFF + DWORD when big).
//   Classes and objects share one index space starting at 1.
//
// A damaged archive ends in CArchiveException: endOfFile for a short read or for a length
// the file cannot hold any more, badIndex for a tag naming nothing loaded (or naming an
// object where a class is due, or the reverse), badClass for an unknown, non-creatable or
// unexpected class, badSchema for a schema the class does not accept. Nothing is read or
// allocated past what the file holds; strings are read in bounded chunks when the file's
// length is unknown. Objects nested more than 2000 deep (each loaded inside the previous
// one's Serialize) raise genericException rather than run out of stack.
#pragma once
#include "framework/platform.h"
#include "framework/object.h"
#include "framework/str.h"
#include "framework/file.h"

class CDocument;
struct CArchiveMaps;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };
    // Objects loaded inside one another beyond this depth raise genericException.
    enum { nMaxObjectDepth = 2000 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    ~CArchive();

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // How many objects are being loaded inside one another right now; a class that
    // loads nested parts of its own without ReadObject counts them on top of this.
    UINT GetLoadDepth() const { return m_nLoadDepth; }

    UINT GetObjectSchema();  // answers the schema once, then -1
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Raw data. Read answers the bytes read (fewer at the end of the file).
    UINT Read(void* lpBuf, UINT nMax);
    // Reads exactly nCount bytes or throws endOfFile.
    void EnsureRead(void* lpBuf, UINT nCount);
    void Write(const void* lpBuf, UINT nMax);
    void Flush();
    void Close();
    void Abort();  // detaches from the file, dropping unwritten data

    // Text lines: WriteString writes the text as it is (no terminator, no newline added);
    // ReadString reads up to a newline and drops "\r\n" or "\n".
    void WriteString(LPCTSTR lpsz);
    LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
    BOOL ReadString(CString& rString);

    // Objects and classes.
    CObject* ReadObject(const CRuntimeClass* pClass);
    void WriteObject(const CObject* pOb);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL, UINT* pSchema = NULL,
                             DWORD* pObTag = NULL);
    void WriteClass(const CRuntimeClass* pClassRef);
    void SerializeClass(const CRuntimeClass* pClassRef);
    // Enters an object in the archive's table without writing it, so that later
    // references to it become back-references.
    void MapObject(const CObject* pOb);
    void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128);
    void SetLoadParams(UINT nGrowBy = 1024);

    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR dwCount);

    // FALSE when a loading archive's file is known to hold fewer than nBytes more bytes.
    BOOL CanHoldBytes(ULONGLONG nBytes) const;

    // Insertion.
    CArchive& operator<<(BYTE by) { return WriteValue(by); }
    CArchive& operator<<(WORD w) { return WriteValue(w); }
    CArchive& operator<<(LONG l) { return WriteValue(l); }
    CArchive& operator<<(DWORD dw) { return WriteValue(dw); }
    CArchive& operator<<(float f) { return WriteValue(f); }
    CArchive& operator<<(double d) { return WriteValue(d); }
    CArchive& operator<<(LONGLONG dwdw) { return WriteValue(dwdw); }
    CArchive& operator<<(ULONGLONG dwdw) { return WriteValue(dwdw); }
    CArchive& operator<<(int i) { return WriteValue((LONG)i); }
    CArchive& operator<<(short w) { return WriteValue((WORD)w); }
    CArchive& operator<<(char ch) { return WriteValue((BYTE)ch); }
    CArchive& operator<<(signed char ch) { return WriteValue((BYTE)ch); }
    CArchive& operator<<(unsigned u) { return WriteValue((LONG)u); }
    CArchive& operator<<(bool b) { return WriteValue((BYTE)(b ? 1 : 0)); }
    CArchive& operator<<(wchar_t ch) { return WriteValue((WORD)ch); }

    // Extraction.
    CArchive& operator>>(BYTE& by) { return ReadValue(by); }
    CArchive& operator>>(WORD& w) { return ReadValue(w); }
    CArchive& operator>>(LONG& l) { return ReadValue(l); }
    CArchive& operator>>(DWORD& dw) { return ReadValue(dw); }
    CArchive& operator>>(float& f) { return ReadValue(f); }
    CArchive& operator>>(double& d) { return ReadValue(d); }
    CArchive& operator>>(LONGLONG& dwdw) { return ReadValue(dwdw); }
    CArchive& operator>>(ULONGLONG& dwdw) { return ReadValue(dwdw); }
    CArchive& operator>>(int& i) { return ReadAs<LONG>(i); }
    CArchive& operator>>(short& w) { return ReadAs<WORD>(w); }
    CArchive& operator>>(char& ch) { return ReadAs<BYTE>(ch); }
    CArchive& operator>>(signed char& ch) { return ReadAs<BYTE>(ch); }
    CArchive& operator>>(unsigned& u) { return ReadAs<LONG>(u); }
    CArchive& operator>>(wchar_t& ch) { return ReadAs<WORD>(ch); }
    CArchive& operator>>(bool& b) {
        BYTE by = 0;
        ReadValue(by);
        b = by != 0;
        return *this;
    }

    CString m_strFileName;
    CDocument* m_pDocument;  // kept for callers; the archive itself never uses it

protected:
    template <class T>
    CArchive& WriteValue(T value) {
        Write(&value, sizeof(value));
        return *this;
    }
    template <class T>
    CArchive& ReadValue(T& value) {
        T tmp;
        EnsureRead(&tmp, sizeof(tmp));
        value = tmp;
        return *this;
    }
    template <class T, class U>
    CArchive& ReadAs(U& value) {
        T tmp;
        EnsureRead(&tmp, sizeof(tmp));
        value = (U)tmp;
        return *this;
    }
    [[noreturn]] void ThrowArchive(int nCause) const;
    void CheckCount();
    void FillBuffer();

    UINT m_nMode;
    CFile* m_pFile;
    BOOL m_bUserBuf;
    UINT m_nBufSize;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    UINT m_nObjectSchema;
    DWORD m_nMapCount;
    UINT m_nHashSize;
    UINT m_nGrowSize;
    UINT m_nLoadDepth;  // objects being loaded inside one another
    CArchiveMaps* m_pMaps;

private:
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
};

// Strings.
CArchive& AFXAPI operator<<(CArchive& ar, const CString& string);
CArchive& AFXAPI operator<<(CArchive& ar, LPCSTR lpsz);  // as a CString, not as a bool
CArchive& AFXAPI operator>>(CArchive& ar, CString& string);
void AFXAPI AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode);
// The stored length and the size of one character (1, or 2 after the Unicode marker).
UINT_PTR AFXAPI AfxReadStringLength(CArchive& ar, int& nCharSize);

// Objects.
CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb);
CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb);
CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb);
