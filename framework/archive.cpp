// CArchive: buffering, the primitive types, strings, counts and the object/class tags.
#include "framework/archive.h"
#include "framework/exceptions.h"
#include <string.h>
#include <map>
#include <unordered_map>
#include <vector>

namespace {
const WORD wNullTag = 0;           // a NULL object
const WORD wNewClassTag = 0xFFFF;  // a class record follows
const WORD wClassTag = 0x8000;     // OR'd with a class index
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;  // a DWORD tag follows
const DWORD nMaxMapCount = 0x3FFFFFFE;
const UINT nBufSizeMin = 128;
const UINT nMaxClassName = 64;       // a longer stored name is not one of ours
const UINT nStringChunk = 64 * 1024;  // bytes read at a time when the length is unknown
const UINT nMaxLoadDepth = CArchive::nMaxObjectDepth;  // far beyond any real document

// A reference to an object or class already in the archive: its index in a WORD tag,
// or past the WORD range the big-object tag and a DWORD. A class reference carries its
// flag in both forms; an object reference has none.
void WriteStoredIndex(CArchive& ar, DWORD nIndex, WORD wFlag, DWORD dwBigFlag) {
    if (nIndex < wBigObjectTag) {
        ar << (WORD)(wFlag | nIndex);
    } else {
        ar << wBigObjectTag;
        ar << (DWORD)(dwBigFlag | nIndex);
    }
}
}  // namespace

// The archive's object tables: on storing, object/class -> index; on loading,
// index -> object/class with what kind of entry it is.
struct CArchiveMaps {
    std::unordered_map<const void*, DWORD> storeMap;
    std::vector<void*> loadArray;
    std::vector<bool> loadIsClass;
    std::map<const CRuntimeClass*, UINT> schemaMap;  // versionable classes stored with another schema
};

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(NULL), m_nMode(nMode), m_pFile(pFile), m_bUserBuf(FALSE), m_nBufSize(0), m_lpBufStart(NULL),
      m_lpBufCur(NULL), m_lpBufMax(NULL), m_nObjectSchema((UINT)-1), m_nMapCount(0), m_nHashSize(2053),
      m_nGrowSize(1024), m_nLoadDepth(0), m_pMaps(NULL) {
    if (pFile == NULL) AfxThrowInvalidArgException();
    m_strFileName = pFile->GetFilePath();
    m_nBufSize = nBufSize < (int)nBufSizeMin ? nBufSizeMin : (UINT)nBufSize;
    if (lpBuf == NULL || nBufSize < (int)nBufSizeMin) {
        m_lpBufStart = new BYTE[m_nBufSize];
        m_bUserBuf = FALSE;
    } else {
        m_lpBufStart = (BYTE*)lpBuf;
        m_bUserBuf = TRUE;
    }
    m_lpBufCur = m_lpBufStart;
    // Loading starts with an empty buffer; storing with all of it free.
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

CArchive::~CArchive() {
    if (m_pFile != NULL && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
    }
    m_pFile = NULL;
    if (!m_bUserBuf) delete[] m_lpBufStart;
    delete m_pMaps;
}

void CArchive::ThrowArchive(int nCause) const {
    AfxThrowArchiveException(nCause, m_strFileName);
}

UINT CArchive::GetObjectSchema() {
    UINT nResult = m_nObjectSchema;
    m_nObjectSchema = (UINT)-1;  // only the first call answers it
    return nResult;
}

// ---- Raw data -----------------------------------------------------------------------

void CArchive::FillBuffer() {
    UINT n = m_pFile->Read(m_lpBufStart, m_nBufSize);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + n;
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    if (nMax == 0) return 0;
    if (!IsLoading()) ThrowArchive(CArchiveException::writeOnly);
    if (m_pFile == NULL) ThrowArchive(CArchiveException::genericException);
    if (lpBuf == NULL) AfxThrowInvalidArgException();
    BYTE* p = (BYTE*)lpBuf;
    UINT nRead = 0;
    while (nMax > 0) {
        if (m_lpBufCur == m_lpBufMax) {
            if (nMax >= m_nBufSize) {
                // Big reads go straight to the caller's memory.
                UINT n = m_pFile->Read(p, nMax);
                if (n == 0) break;
                p += n;
                nMax -= n;
                nRead += n;
                continue;
            }
            FillBuffer();
            if (m_lpBufCur == m_lpBufMax) break;  // end of file
        }
        UINT nAvail = (UINT)(m_lpBufMax - m_lpBufCur);
        UINT n = nAvail < nMax ? nAvail : nMax;
        memcpy(p, m_lpBufCur, n);
        m_lpBufCur += n;
        p += n;
        nMax -= n;
        nRead += n;
    }
    return nRead;
}

void CArchive::EnsureRead(void* lpBuf, UINT nCount) {
    if (Read(lpBuf, nCount) != nCount) ThrowArchive(CArchiveException::endOfFile);
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    if (nMax == 0) return;
    if (!IsStoring()) ThrowArchive(CArchiveException::readOnly);
    if (m_pFile == NULL) ThrowArchive(CArchiveException::genericException);
    if (lpBuf == NULL) AfxThrowInvalidArgException();
    const BYTE* p = (const BYTE*)lpBuf;
    UINT nFree = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nMax <= nFree) {
        memcpy(m_lpBufCur, p, nMax);
        m_lpBufCur += nMax;
        return;
    }
    memcpy(m_lpBufCur, p, nFree);
    m_lpBufCur += nFree;
    p += nFree;
    nMax -= nFree;
    Flush();
    if (nMax >= m_nBufSize) {
        m_pFile->Write(p, nMax);
        return;
    }
    memcpy(m_lpBufCur, p, nMax);
    m_lpBufCur += nMax;
}

void CArchive::Flush() {
    if (m_pFile == NULL) return;
    if (IsLoading()) {
        // Give back what was buffered but not consumed, so the file's position is the
        // archive's position.
        if (m_lpBufMax != m_lpBufCur) m_pFile->Seek(-(LONGLONG)(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
    } else {
        if (m_lpBufCur != m_lpBufStart) {
            UINT n = (UINT)(m_lpBufCur - m_lpBufStart);
            m_lpBufCur = m_lpBufStart;  // dropped even when the write fails: no double write
            m_pFile->Write(m_lpBufStart, n);
        }
    }
}

void CArchive::Close() {
    Flush();
    m_pFile = NULL;
}

void CArchive::Abort() {
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
    m_pFile = NULL;
}

BOOL CArchive::CanHoldBytes(ULONGLONG nBytes) const {
    if (!IsLoading() || m_pFile == NULL) return TRUE;
    ULONGLONG nBuffered = (ULONGLONG)(m_lpBufMax - m_lpBufCur);
    if (nBytes <= nBuffered) return TRUE;
    try {
        ULONGLONG nLength = m_pFile->GetLength();
        ULONGLONG nPos = m_pFile->GetPosition();
        ULONGLONG nLeft = nLength > nPos ? nLength - nPos : 0;
        return nBytes - nBuffered <= nLeft;
    } catch (CException* e) {
        e->Delete();  // a file that cannot tell its length: the reads will find out
        return TRUE;
    }
}

// ---- Counts and text ----------------------------------------------------------------

void CArchive::WriteCount(DWORD_PTR dwCount) {
    if (dwCount < 0xFFFF) {
        *this << (WORD)dwCount;
    } else {
        *this << (WORD)0xFFFF;
        *this << (DWORD)dwCount;
    }
}

DWORD_PTR CArchive::ReadCount() {
    WORD wCount;
    *this >> wCount;
    if (wCount != 0xFFFF) return wCount;
    DWORD dwCount;
    *this >> dwCount;
    return dwCount;
}

void CArchive::WriteString(LPCTSTR lpsz) {
    if (lpsz == NULL) AfxThrowInvalidArgException();
    Write(lpsz, (UINT)lstrlenA(lpsz));
}

LPTSTR CArchive::ReadString(LPTSTR lpsz, UINT nMax) {
    // A negative nMax (as an int) keeps the newline, as the classic function does.
    int nStop = (int)nMax < 0 ? -(int)nMax : (int)nMax;
    if (lpsz == NULL) return NULL;
    int nRead = 0;
    BYTE ch;
    while (nRead < nStop) {
        if (Read(&ch, 1) != 1) {
            if (nRead == 0) return NULL;
            break;
        }
        if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && Read(&ch, 1) == 1 && ch != '\n') {
                // A lone carriage return ends the line; the next byte stays unread.
                m_lpBufCur--;
                ch = '\r';
            }
            if ((int)nMax != nStop) lpsz[nRead++] = (char)ch;
            break;
        }
        lpsz[nRead++] = (char)ch;
    }
    lpsz[nRead] = '\0';
    return lpsz;
}

BOOL CArchive::ReadString(CString& rString) {
    CString strLine;
    BYTE ch;
    BOOL bAny = FALSE;
    for (;;) {
        if (Read(&ch, 1) != 1) break;
        bAny = TRUE;
        if (ch == '\n') break;
        if (ch == '\r') {
            if (Read(&ch, 1) == 1 && ch != '\n') m_lpBufCur--;
            break;
        }
        strLine += (char)ch;
    }
    rString = strLine;
    return bAny;
}

// ---- Strings ------------------------------------------------------------------------

void AFXAPI AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode) {
    if (bUnicode) {
        ar << (BYTE)0xFF;
        ar << (WORD)0xFFFE;
    }
    if (nLength < 255) {
        ar << (BYTE)nLength;
    } else if (nLength < 0xFFFE) {
        ar << (BYTE)0xFF;
        ar << (WORD)nLength;
    } else {
        ar << (BYTE)0xFF;
        ar << (WORD)0xFFFF;
        ar << (DWORD)nLength;
    }
}

UINT_PTR AFXAPI AfxReadStringLength(CArchive& ar, int& nCharSize) {
    BYTE bLength;
    WORD wLength;
    DWORD dwLength;
    nCharSize = (int)sizeof(char);
    ar >> bLength;
    if (bLength < 0xFF) return bLength;
    ar >> wLength;
    if (wLength == 0xFFFE) {
        // A Unicode string: the length starts over, counting UTF-16 units.
        nCharSize = (int)sizeof(WCHAR);
        ar >> bLength;
        if (bLength < 0xFF) return bLength;
        ar >> wLength;
    }
    if (wLength < 0xFFFF) return wLength;
    ar >> dwLength;
    if (dwLength < 0xFFFFFFFF) return dwLength;
    // An 8-byte length: more than this 32-bit program can hold.
    AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
}

CArchive& AFXAPI operator<<(CArchive& ar, const CString& string) {
    AfxWriteStringLength(ar, (UINT_PTR)string.GetLength(), FALSE);
    ar.Write((LPCSTR)string, (UINT)string.GetLength());
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, LPCSTR lpsz) {
    UINT nLength = lpsz != NULL ? (UINT)lstrlenA(lpsz) : 0;
    AfxWriteStringLength(ar, nLength, FALSE);
    if (nLength != 0) ar.Write(lpsz, nLength);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CString& string) {
    int nCharSize = 1;
    UINT_PTR nLength = AfxReadStringLength(ar, nCharSize);
    ULONGLONG nBytes = (ULONGLONG)nLength * (ULONGLONG)nCharSize;
    if (nBytes > 0x7FFFFFFE || !ar.CanHoldBytes(nBytes))
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);

    // Read in bounded chunks, so that a huge length on a stream of unknown size fails
    // at its real end instead of allocating all of it first. The target keeps its old
    // value until the whole text is in.
    std::vector<BYTE> data;
    size_t nTotal = (size_t)nBytes, nDone = 0;
    while (nDone < nTotal) {
        size_t nChunk = nDone > nStringChunk ? nDone : nStringChunk;  // grows with what arrived
        if (nChunk > nTotal - nDone) nChunk = nTotal - nDone;
        data.resize(nDone + nChunk);
        ar.EnsureRead(data.data() + nDone, (UINT)nChunk);
        nDone += nChunk;
    }

    CString strResult;
    if (nCharSize == 1) {
        if (nLength != 0) strResult = CString((LPCSTR)data.data(), (int)nLength);
    } else if (nLength != 0) {
        int nAnsi = ::WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)(const void*)data.data(), (int)nLength, NULL, 0,
                                          NULL, NULL);
        if (nAnsi > 0) {
            LPSTR p = strResult.GetBuffer(nAnsi);
            ::WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)(const void*)data.data(), (int)nLength, p, nAnsi, NULL,
                                  NULL);
            strResult.ReleaseBuffer(nAnsi);
        }
    }
    string = strResult;
    return ar;
}

// ---- Objects and classes ------------------------------------------------------------

void CArchive::CheckCount() {
    if (m_nMapCount >= nMaxMapCount) ThrowArchive(CArchiveException::badIndex);
}

void CArchive::SetStoreParams(UINT nHashSize, UINT nBlockSize) {
    (void)nBlockSize;
    m_nHashSize = nHashSize;
}

void CArchive::SetLoadParams(UINT nGrowBy) {
    m_nGrowSize = nGrowBy;
}

void CArchive::MapObject(const CObject* pOb) {
    if (m_pMaps == NULL) {
        m_pMaps = new CArchiveMaps;
        if (IsStoring()) {
            m_pMaps->storeMap.reserve(m_nHashSize);
        } else {
            m_pMaps->loadArray.reserve(m_nGrowSize);
            m_pMaps->loadArray.push_back(NULL);  // index 0 is the NULL object
            m_pMaps->loadIsClass.push_back(false);
        }
        m_nMapCount = 1;
    }
    if (pOb == NULL) return;
    CheckCount();
    if (IsStoring()) {
        m_pMaps->storeMap[(const void*)pOb] = m_nMapCount++;
    } else {
        m_pMaps->loadArray.push_back((void*)pOb);
        m_pMaps->loadIsClass.push_back(false);
        m_nMapCount++;
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
    if (!IsStoring()) ThrowArchive(CArchiveException::genericException);
    if (pClassRef == NULL) AfxThrowInvalidArgException();
    if (pClassRef->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();  // not a serial class
    MapObject(NULL);
    auto it = m_pMaps->storeMap.find((const void*)pClassRef);
    if (it != m_pMaps->storeMap.end()) {
        WriteStoredIndex(*this, it->second, wClassTag, dwBigClassTag);
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    CheckCount();
    m_pMaps->storeMap[(const void*)pClassRef] = m_nMapCount++;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
    if (!IsLoading()) ThrowArchive(CArchiveException::genericException);
    if (pClassRefRequested != NULL && pClassRefRequested->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();
    MapObject(NULL);

    WORD wTag;
    DWORD obTag;
    *this >> wTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = ((DWORD)(wTag & wClassTag) << 16) | (DWORD)(wTag & ~wClassTag);

    if (!(obTag & dwBigClassTag)) {
        // An object tag where only a class may stand.
        if (pObTag == NULL) ThrowArchive(CArchiveException::badIndex);
        *pObTag = obTag;
        return NULL;
    }

    CRuntimeClass* pClassRef;
    UINT nSchema;
    if (wTag == wNewClassTag) {
        WORD wSchema, nLen;
        *this >> wSchema;
        *this >> nLen;
        if (nLen == 0 || nLen >= nMaxClassName) ThrowArchive(CArchiveException::badClass);
        char szClassName[nMaxClassName];
        EnsureRead(szClassName, nLen);
        szClassName[nLen] = '\0';
        pClassRef = CRuntimeClass::FromName(szClassName);
        if (pClassRef == NULL || pClassRef->m_wSchema == 0xFFFF) ThrowArchive(CArchiveException::badClass);
        nSchema = wSchema;
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema) {
            if (!(pClassRef->m_wSchema & VERSIONABLE_SCHEMA)) ThrowArchive(CArchiveException::badSchema);
            // Accepted; remembered so that later references report the same schema.
            m_pMaps->schemaMap[pClassRef] = nSchema;
        }
        CheckCount();
        m_pMaps->loadArray.push_back(pClassRef);
        m_pMaps->loadIsClass.push_back(true);
        m_nMapCount++;
    } else {
        DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_pMaps->loadArray.size() || !m_pMaps->loadIsClass[nClassIndex])
            ThrowArchive(CArchiveException::badIndex);
        pClassRef = (CRuntimeClass*)m_pMaps->loadArray[nClassIndex];
        auto it = m_pMaps->schemaMap.find(pClassRef);
        nSchema = it != m_pMaps->schemaMap.end() ? it->second : (pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA);
    }

    if (pClassRefRequested != NULL && !pClassRef->IsDerivedFrom(pClassRefRequested))
        ThrowArchive(CArchiveException::badClass);

    if (pSchema != NULL)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag != NULL) *pObTag = obTag;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

void CArchive::WriteObject(const CObject* pOb) {
    if (!IsStoring()) ThrowArchive(CArchiveException::genericException);
    MapObject(NULL);
    if (pOb == NULL) {
        *this << wNullTag;
        return;
    }
    auto it = m_pMaps->storeMap.find((const void*)pOb);
    if (it != m_pMaps->storeMap.end()) {
        WriteStoredIndex(*this, it->second, 0, 0);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    CheckCount();
    m_pMaps->storeMap[(const void*)pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
    if (!IsLoading()) ThrowArchive(CArchiveException::genericException);
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);

    if (pClassRef == NULL) {
        // A reference to an object loaded before (or 0 for NULL).
        if (obTag >= m_pMaps->loadArray.size() || m_pMaps->loadIsClass[obTag])
            ThrowArchive(CArchiveException::badIndex);
        CObject* pOb = (CObject*)m_pMaps->loadArray[obTag];
        if (pOb != NULL && pClassRefRequested != NULL && !pOb->IsKindOf(pClassRefRequested))
            ThrowArchive(CArchiveException::badClass);
        return pOb;
    }

    if (pClassRef->m_pfnCreateObject == NULL) ThrowArchive(CArchiveException::badClass);
    if (m_nLoadDepth >= nMaxLoadDepth) ThrowArchive(CArchiveException::genericException);
    CObject* pOb = pClassRef->CreateObject();
    if (pOb == NULL) AfxThrowMemoryException();

    // Entered before loading, so the object's own members may refer back to it.
    CheckCount();
    size_t nIndex = m_pMaps->loadArray.size();
    m_pMaps->loadArray.push_back(pOb);
    m_pMaps->loadIsClass.push_back(false);
    m_nMapCount++;

    UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    m_nLoadDepth++;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        // The half-loaded object was never handed out: free it, and let a later
        // reference to its index find nothing.
        m_nLoadDepth--;
        m_nObjectSchema = nSchemaSave;
        m_pMaps->loadArray[nIndex] = NULL;
        delete pOb;
        throw;
    }
    m_nLoadDepth--;
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb) {
    ar.WriteObject(pOb);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb) {
    pOb = ar.ReadObject(NULL);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb) {
    pOb = ar.ReadObject(NULL);
    return ar;
}
