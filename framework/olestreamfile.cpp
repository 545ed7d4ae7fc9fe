#include "framework/olestreamfile.h"
#include "framework/exceptions.h"

IMPLEMENT_DYNAMIC(COleStreamFile, CFile)

namespace {

int CauseOfStreamError(HRESULT hr)
{
    switch (hr) {
    case STG_E_ACCESSDENIED:
    case STG_E_SHAREVIOLATION:
        return CFileException::accessDenied;
    case STG_E_MEDIUMFULL:
        return CFileException::diskFull;
    case STG_E_FILENOTFOUND:
        return CFileException::fileNotFound;
    case STG_E_INVALIDFUNCTION:
    case STG_E_LOCKVIOLATION:
        return CFileException::lockViolation;
    case STG_E_SEEKERROR:
        return CFileException::badSeek;
    default:
        return CFileException::genericException;
    }
}

// The storage access mode of the file open flags.
DWORD StorageMode(DWORD nOpenFlags)
{
    DWORD dwMode = STGM_READ;
    if ((nOpenFlags & CFile::modeReadWrite) != 0)
        dwMode = STGM_READWRITE;
    else if ((nOpenFlags & CFile::modeWrite) != 0)
        dwMode = STGM_WRITE;
    switch (nOpenFlags & 0x70) {
    case CFile::shareDenyWrite: dwMode |= STGM_SHARE_DENY_WRITE; break;
    case CFile::shareDenyRead: dwMode |= STGM_SHARE_DENY_READ; break;
    case CFile::shareDenyNone: dwMode |= STGM_SHARE_DENY_NONE; break;
    default: dwMode |= STGM_SHARE_EXCLUSIVE; break;
    }
    return dwMode;
}

void SetError(CFileException* pError, HRESULT hr)
{
    if (pError == NULL) return;
    pError->m_cause = CauseOfStreamError(hr);
    pError->m_lOsError = (LONG)hr;
}

}  // namespace

COleStreamFile::COleStreamFile(LPSTREAM lpStream) : m_lpStream(lpStream) { m_bCloseOnDelete = FALSE; }

COleStreamFile::~COleStreamFile()
{
    if (m_lpStream != NULL && m_bCloseOnDelete) Abort();
}

void COleStreamFile::ThrowStreamError(HRESULT hr) { AfxThrowFileException(CauseOfStreamError(hr), (LONG)hr); }

void COleStreamFile::Attach(LPSTREAM lpStream)
{
    m_lpStream = lpStream;
    m_bCloseOnDelete = FALSE;
}

LPSTREAM COleStreamFile::Detach()
{
    LPSTREAM lpStream = m_lpStream;
    m_lpStream = NULL;
    m_bCloseOnDelete = FALSE;
    return lpStream;
}

BOOL COleStreamFile::OpenOrCreate(LPSTORAGE lpStorage, LPCTSTR lpszStreamName, DWORD nOpenFlags,
                                  CFileException* pError, bool bCreate)
{
    if (lpStorage == NULL || lpszStreamName == NULL) {
        SetError(pError, E_INVALIDARG);
        return FALSE;
    }
    int nWide = ::MultiByteToWideChar(CP_ACP, 0, lpszStreamName, -1, NULL, 0);
    if (nWide <= 0 || nWide > 32) {  // stream names hold at most 31 characters
        SetError(pError, STG_E_INVALIDNAME);
        return FALSE;
    }
    WCHAR szName[32];
    ::MultiByteToWideChar(CP_ACP, 0, lpszStreamName, -1, szName, 32);
    IStream* pStream = NULL;
    DWORD dwMode = StorageMode(nOpenFlags);
    HRESULT hr = bCreate ? lpStorage->CreateStream(szName, dwMode | STGM_CREATE, 0, 0, &pStream)
                         : lpStorage->OpenStream(szName, NULL, dwMode, 0, &pStream);
    if (FAILED(hr) || pStream == NULL) {
        SetError(pError, FAILED(hr) ? hr : E_FAIL);
        return FALSE;
    }
    if (m_lpStream != NULL && m_bCloseOnDelete) Abort();
    m_lpStream = pStream;
    m_bCloseOnDelete = TRUE;
    m_strFileName = lpszStreamName;
    return TRUE;
}

BOOL COleStreamFile::OpenStream(LPSTORAGE lpStorage, LPCTSTR lpszStreamName, DWORD nOpenFlags,
                                CFileException* pError)
{
    return OpenOrCreate(lpStorage, lpszStreamName, nOpenFlags, pError, false);
}

BOOL COleStreamFile::CreateStream(LPSTORAGE lpStorage, LPCTSTR lpszStreamName, DWORD nOpenFlags,
                                  CFileException* pError)
{
    return OpenOrCreate(lpStorage, lpszStreamName, nOpenFlags, pError, true);
}

BOOL COleStreamFile::CreateMemoryStream(CFileException* pError)
{
    IStream* pStream = NULL;
    HRESULT hr = ::CreateStreamOnHGlobal(NULL, TRUE, &pStream);
    if (FAILED(hr) || pStream == NULL) {
        SetError(pError, FAILED(hr) ? hr : E_OUTOFMEMORY);
        return FALSE;
    }
    if (m_lpStream != NULL && m_bCloseOnDelete) Abort();
    m_lpStream = pStream;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

ULONGLONG COleStreamFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (m_lpStream == NULL) ThrowStreamError(E_UNEXPECTED);
    DWORD dwOrigin = nFrom == CFile::begin ? STREAM_SEEK_SET : (nFrom == CFile::end ? STREAM_SEEK_END : STREAM_SEEK_CUR);
    LARGE_INTEGER li;
    li.QuadPart = lOff;
    ULARGE_INTEGER pos;
    pos.QuadPart = 0;
    HRESULT hr = m_lpStream->Seek(li, dwOrigin, &pos);
    if (FAILED(hr)) ThrowStreamError(hr);
    return pos.QuadPart;
}

ULONGLONG COleStreamFile::GetPosition() const { return const_cast<COleStreamFile*>(this)->Seek(0, CFile::current); }

ULONGLONG COleStreamFile::GetLength() const
{
    if (m_lpStream == NULL) ThrowStreamError(E_UNEXPECTED);
    STATSTG stat;
    ::ZeroMemory(&stat, sizeof(stat));
    HRESULT hr = m_lpStream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr)) ThrowStreamError(hr);
    return stat.cbSize.QuadPart;
}

BOOL COleStreamFile::GetStatus(CFileStatus& rStatus) const
{
    ::ZeroMemory(&rStatus, sizeof(rStatus));
    if (m_lpStream == NULL) return FALSE;
    STATSTG stat;
    ::ZeroMemory(&stat, sizeof(stat));
    if (FAILED(m_lpStream->Stat(&stat, STATFLAG_NONAME))) return FALSE;
    rStatus.m_size = stat.cbSize.QuadPart;
    if (stat.mtime.dwHighDateTime != 0 || stat.mtime.dwLowDateTime != 0) rStatus.m_mtime = CTime(stat.mtime);
    if (stat.ctime.dwHighDateTime != 0 || stat.ctime.dwLowDateTime != 0) rStatus.m_ctime = CTime(stat.ctime);
    if (stat.atime.dwHighDateTime != 0 || stat.atime.dwLowDateTime != 0) rStatus.m_atime = CTime(stat.atime);
    lstrcpynA(rStatus.m_szFullName, m_strFileName, _MAX_PATH);
    return TRUE;
}

void COleStreamFile::SetLength(ULONGLONG dwNewLen)
{
    if (m_lpStream == NULL) ThrowStreamError(E_UNEXPECTED);
    ULARGE_INTEGER size;
    size.QuadPart = dwNewLen;
    HRESULT hr = m_lpStream->SetSize(size);
    if (FAILED(hr)) ThrowStreamError(hr);
}

UINT COleStreamFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0) return 0;
    if (m_lpStream == NULL) ThrowStreamError(E_UNEXPECTED);
    ULONG nRead = 0;
    HRESULT hr = m_lpStream->Read(lpBuf, nCount, &nRead);
    if (FAILED(hr)) ThrowStreamError(hr);
    return nRead;
}

void COleStreamFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0) return;
    if (m_lpStream == NULL) ThrowStreamError(E_UNEXPECTED);
    ULONG nWritten = 0;
    HRESULT hr = m_lpStream->Write(lpBuf, nCount, &nWritten);
    if (FAILED(hr)) ThrowStreamError(hr);
    if (nWritten < nCount) ThrowStreamError(STG_E_MEDIUMFULL);
}

void COleStreamFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    if (m_lpStream == NULL) ThrowStreamError(E_UNEXPECTED);
    ULARGE_INTEGER pos, count;
    pos.QuadPart = dwPos;
    count.QuadPart = dwCount;
    HRESULT hr = m_lpStream->LockRegion(pos, count, LOCK_EXCLUSIVE);
    if (FAILED(hr)) ThrowStreamError(hr);
}

void COleStreamFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    if (m_lpStream == NULL) ThrowStreamError(E_UNEXPECTED);
    ULARGE_INTEGER pos, count;
    pos.QuadPart = dwPos;
    count.QuadPart = dwCount;
    HRESULT hr = m_lpStream->UnlockRegion(pos, count, LOCK_EXCLUSIVE);
    if (FAILED(hr)) ThrowStreamError(hr);
}

void COleStreamFile::Flush()
{
    if (m_lpStream == NULL) return;
    HRESULT hr = m_lpStream->Commit(STGC_DEFAULT);
    if (FAILED(hr)) ThrowStreamError(hr);
}

void COleStreamFile::Abort()
{
    if (m_lpStream != NULL && m_bCloseOnDelete) m_lpStream->Release();
    m_lpStream = NULL;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

void COleStreamFile::Close()
{
    // A stream the file did not open stays with its owner.
    if (m_lpStream != NULL && m_bCloseOnDelete) m_lpStream->Release();
    m_lpStream = NULL;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}
