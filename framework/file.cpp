// CFile on the Win32 file functions; CMemFile on a malloc'd or caller's buffer.
#include "framework/file.h"
#include "framework/exceptions.h"
#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

// ---- CFile --------------------------------------------------------------------------

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
    // Never let a close error leave a destructor.
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) {
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pException) {
    nOpenFlags &= ~(UINT)typeBinary;  // files are always binary here
    m_bCloseOnDelete = FALSE;
    m_hFile = INVALID_HANDLE_VALUE;
    m_strFileName.Empty();

    char szFull[MAX_PATH];
    LPSTR pszFilePart = NULL;
    DWORD nFull = (lpszFileName != NULL && *lpszFileName != '\0')
                      ? ::GetFullPathNameA(lpszFileName, MAX_PATH, szFull, &pszFilePart)
                      : 0;
    if (nFull == 0 || nFull >= MAX_PATH) {
        if (pException != NULL) {
            pException->m_cause = CFileException::badPath;
            pException->m_lOsError = nFull == 0 ? (LONG)::GetLastError() : (LONG)ERROR_FILENAME_EXCED_RANGE;
            pException->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_strFileName = szFull;

    DWORD dwAccess = 0;
    switch (nOpenFlags & 3) {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default:
        if (pException != NULL) {
            pException->m_cause = CFileException::genericException;
            pException->m_lOsError = ERROR_INVALID_PARAMETER;
            pException->m_strFileName = lpszFileName;
        }
        m_strFileName.Empty();
        return FALSE;
    }

    DWORD dwShareMode = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: dwShareMode = FILE_SHARE_READ; break;
    case shareDenyRead: dwShareMode = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShareMode = FILE_SHARE_WRITE | FILE_SHARE_READ; break;
    default: dwShareMode = 0; break;  // compatibility and exclusive
    }

    SECURITY_ATTRIBUTES sa;
    sa.nLength = sizeof(sa);
    sa.lpSecurityDescriptor = NULL;
    sa.bInheritHandle = (nOpenFlags & modeNoInherit) == 0;

    DWORD dwCreateFlag;
    if (nOpenFlags & modeCreate)
        dwCreateFlag = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    else
        dwCreateFlag = OPEN_EXISTING;

    DWORD dwFlags = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osNoBuffer) dwFlags |= FILE_FLAG_NO_BUFFERING;
    if (nOpenFlags & osWriteThrough) dwFlags |= FILE_FLAG_WRITE_THROUGH;
    if (nOpenFlags & osRandomAccess) dwFlags |= FILE_FLAG_RANDOM_ACCESS;
    if (nOpenFlags & osSequentialScan) dwFlags |= FILE_FLAG_SEQUENTIAL_SCAN;

    HANDLE hFile = ::CreateFileA(lpszFileName, dwAccess, dwShareMode, &sa, dwCreateFlag, dwFlags, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        if (pException != NULL) {
            pException->m_lOsError = (LONG)::GetLastError();
            pException->m_cause = CFileException::OsErrorToException(pException->m_lOsError);
            pException->m_strFileName = lpszFileName;
        }
        m_strFileName.Empty();
        return FALSE;
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0) return 0;
    if (lpBuf == NULL) AfxThrowInvalidArgException();
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &dwRead, NULL))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
    return (UINT)dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) return;
    if (lpBuf == NULL) AfxThrowInvalidArgException();
    DWORD nWritten = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &nWritten, NULL))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
    if (nWritten != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
    if (nFrom != begin && nFrom != current && nFrom != end) AfxThrowInvalidArgException();
    LARGE_INTEGER liOff;
    liOff.QuadPart = lOff;
    LARGE_INTEGER liNew;
    liNew.QuadPart = 0;
    if (!::SetFilePointerEx(m_hFile, liOff, &liNew, (DWORD)nFrom))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
    return (ULONGLONG)liNew.QuadPart;
}

ULONGLONG CFile::GetPosition() const {
    LARGE_INTEGER liOff, liNew;
    liOff.QuadPart = 0;
    liNew.QuadPart = 0;
    if (!::SetFilePointerEx(m_hFile, liOff, &liNew, FILE_CURRENT))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
    return (ULONGLONG)liNew.QuadPart;
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER liSize;
    if (!::GetFileSizeEx(m_hFile, &liSize)) CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
    return (ULONGLONG)liSize.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen) {
    Seek((LONGLONG)dwNewLen, begin);
    if (!::SetEndOfFile(m_hFile)) CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
    if (!::LockFile(m_hFile, (DWORD)dwPos, (DWORD)(dwPos >> 32), (DWORD)dwCount, (DWORD)(dwCount >> 32)))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
    if (!::UnlockFile(m_hFile, (DWORD)dwPos, (DWORD)(dwPos >> 32), (DWORD)dwCount, (DWORD)(dwCount >> 32)))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
}

void CFile::Flush() {
    if (m_hFile == INVALID_HANDLE_VALUE) return;
    if (!::FlushFileBuffers(m_hFile)) CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
}

void CFile::Close() {
    BOOL bError = FALSE;
    LONG lError = 0;
    if (m_hFile != INVALID_HANDLE_VALUE) {
        bError = !::CloseHandle(m_hFile);
        if (bError) lError = (LONG)::GetLastError();
    }
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    CString strName = m_strFileName;
    m_strFileName.Empty();
    if (bError) CFileException::ThrowOsError(lError, strName);
}

void CFile::Abort() {
    if (m_hFile != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const {
    LPCSTR psz = m_strFileName;
    LPCSTR pszName = psz;
    for (LPCSTR p = psz; *p != '\0'; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':') pszName = p + 1;
    return CString(pszName);
}

CString CFile::GetFileTitle() const {
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot >= 0 ? strName.Left(nDot) : strName;
}

CString CFile::GetFilePath() const {
    return m_strFileName;
}

void CFile::SetFilePath(LPCTSTR lpszNewName) {
    m_strFileName = lpszNewName;
}

static void FillStatusTimes(CFileStatus& rStatus, const FILETIME& ftCreate, const FILETIME& ftAccess,
                            const FILETIME& ftWrite) {
    rStatus.m_ctime = CTime(ftCreate);
    rStatus.m_atime = CTime(ftAccess);
    rStatus.m_mtime = CTime(ftWrite);
    if (rStatus.m_ctime.GetTime() == 0) rStatus.m_ctime = rStatus.m_mtime;
    if (rStatus.m_atime.GetTime() == 0) rStatus.m_atime = rStatus.m_mtime;
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
    memset((void*)&rStatus, 0, sizeof(CFileStatus));
    lstrcpynA(rStatus.m_szFullName, m_strFileName, _MAX_PATH);
    if (m_hFile == INVALID_HANDLE_VALUE) return FALSE;
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(m_hFile, &info)) return FALSE;
    rStatus.m_size = ((ULONGLONG)info.nFileSizeHigh << 32) | info.nFileSizeLow;
    rStatus.m_attribute = (BYTE)(info.dwFileAttributes & 0xFF);
    FillStatusTimes(rStatus, info.ftCreationTime, info.ftLastAccessTime, info.ftLastWriteTime);
    return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus) {
    memset((void*)&rStatus, 0, sizeof(CFileStatus));
    if (lpszFileName == NULL) return FALSE;
    DWORD n = ::GetFullPathNameA(lpszFileName, _MAX_PATH, rStatus.m_szFullName, NULL);
    if (n == 0 || n >= _MAX_PATH) {
        rStatus.m_szFullName[0] = '\0';
        return FALSE;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data)) return FALSE;
    rStatus.m_size = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    rStatus.m_attribute = (BYTE)(data.dwFileAttributes & 0xFF);
    FillStatusTimes(rStatus, data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime);
    return TRUE;
}

void PASCAL CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName) {
    if (!::MoveFileA(lpszOldName, lpszNewName)) CFileException::ThrowOsError((LONG)::GetLastError(), lpszOldName);
}

void PASCAL CFile::Remove(LPCTSTR lpszFileName) {
    if (!::DeleteFileA(lpszFileName)) CFileException::ThrowOsError((LONG)::GetLastError(), lpszFileName);
}

// ---- CMemFile -----------------------------------------------------------------------

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL),
      m_bAutoDelete(TRUE) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL), m_bAutoDelete(FALSE) {
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
    if (m_lpBuffer != NULL && m_bAutoDelete) Free(m_lpBuffer);
    m_lpBuffer = NULL;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    if (lpBuffer == NULL && nBufferSize != 0) AfxThrowInvalidArgException();
    if (m_lpBuffer != NULL && m_bAutoDelete) Free(m_lpBuffer);
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_nBufferSize = nBufferSize;
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_lpBuffer = lpBuffer;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return lpBuffer;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) {
    return (BYTE*)malloc(nBytes != 0 ? nBytes : 1);
}

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) {
    return (BYTE*)realloc(lpMem, nBytes != 0 ? nBytes : 1);
}

BYTE* CMemFile::Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, SIZE_T nBytes) {
    return (BYTE*)memcpy(lpMemTarget, lpMemSource, nBytes);
}

void CMemFile::Free(BYTE* lpMem) {
    free(lpMem);
}

void CMemFile::GrowFile(SIZE_T dwNewLen) {
    if (dwNewLen <= m_nBufferSize) return;
    // A buffer that cannot grow: the caller's fixed block.
    if (m_nGrowBytes == 0) AfxThrowMemoryException();
    SIZE_T dwNewBufferSize = m_nBufferSize;
    while (dwNewBufferSize < dwNewLen) {
        if (dwNewBufferSize > ((SIZE_T)-1) - m_nGrowBytes) AfxThrowMemoryException();
        dwNewBufferSize += m_nGrowBytes;
    }
    BYTE* lpNew;
    if (m_lpBuffer == NULL) {
        lpNew = Alloc(dwNewBufferSize);
    } else if (m_bAutoDelete) {
        lpNew = Realloc(m_lpBuffer, dwNewBufferSize);
    } else {
        // The caller's block is neither resized nor freed: the content moves to our own.
        lpNew = Alloc(dwNewBufferSize);
        if (lpNew != NULL) Memcpy(lpNew, m_lpBuffer, m_nFileSize);
    }
    if (lpNew == NULL) AfxThrowMemoryException();
    m_lpBuffer = lpNew;
    m_nBufferSize = dwNewBufferSize;
    m_bAutoDelete = TRUE;
}

ULONGLONG CMemFile::GetLength() const {
    return m_nFileSize;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
    if (dwNewLen > (ULONGLONG)(SIZE_T)-1) AfxThrowMemoryException();
    SIZE_T nNewLen = (SIZE_T)dwNewLen;
    if (nNewLen > m_nBufferSize) GrowFile(nNewLen);
    if (nNewLen > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, nNewLen - m_nFileSize);
    if (nNewLen < m_nPosition) m_nPosition = nNewLen;
    m_nFileSize = nNewLen;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0) return 0;
    if (lpBuf == NULL) AfxThrowInvalidArgException();
    if (m_nPosition >= m_nFileSize) return 0;
    SIZE_T nRead = m_nFileSize - m_nPosition;
    if (nRead > nCount) nRead = nCount;
    Memcpy((BYTE*)lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return (UINT)nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) return;
    if (lpBuf == NULL) AfxThrowInvalidArgException();
    if (m_nPosition > ((SIZE_T)-1) - nCount) AfxThrowFileException(CFileException::diskFull);
    SIZE_T nEnd = m_nPosition + nCount;
    if (nEnd > m_nBufferSize) GrowFile(nEnd);  // throws before anything is written
    // A write after a seek past the end leaves zeros in the gap, not stale bytes.
    if (m_nPosition > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    Memcpy(m_lpBuffer + m_nPosition, (const BYTE*)lpBuf, nCount);
    m_nPosition = nEnd;
    if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
    LONGLONG lNewPos;
    switch (nFrom) {
    case begin: lNewPos = lOff; break;
    case current: lNewPos = (LONGLONG)m_nPosition + lOff; break;
    case end: lNewPos = (LONGLONG)m_nFileSize + lOff; break;
    default: AfxThrowInvalidArgException();
    }
    if (lNewPos < 0 || (ULONGLONG)lNewPos > (ULONGLONG)(SIZE_T)-1) AfxThrowFileException(CFileException::badSeek);
    m_nPosition = (SIZE_T)lNewPos;
    return m_nPosition;
}

ULONGLONG CMemFile::GetPosition() const {
    return m_nPosition;
}

BOOL CMemFile::GetStatus(CFileStatus& rStatus) const {
    memset((void*)&rStatus, 0, sizeof(CFileStatus));
    rStatus.m_size = m_nFileSize;
    return TRUE;
}

void CMemFile::LockRange(ULONGLONG, ULONGLONG) {
    AfxThrowNotSupportedException();
}

void CMemFile::UnlockRange(ULONGLONG, ULONGLONG) {
    AfxThrowNotSupportedException();
}

void CMemFile::Flush() {}

void CMemFile::Abort() {
    Close();
}

void CMemFile::Close() {
    if (m_lpBuffer != NULL && m_bAutoDelete) Free(m_lpBuffer);
    m_lpBuffer = NULL;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
}
