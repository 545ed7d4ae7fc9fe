#include "toolkit/grid/grid_archive_stream.h"

namespace {

// CTime counts seconds since 1970 (UTC); a FILETIME counts 100 ns since 1601 (UTC).
bool TimeToFileTime(const CTime& t, FILETIME& ft)
{
    __time64_t nSeconds = t.GetTime();
    if (nSeconds <= 0)
        return false;
    ULONGLONG n = ((ULONGLONG)nSeconds + 11644473600ull) * 10000000ull;
    ft.dwLowDateTime = (DWORD)n;
    ft.dwHighDateTime = (DWORD)(n >> 32);
    return true;
}

// Locks or unlocks (pfnRange) a byte range of the archive's file; a missing file or a
// refusal of the file is an invalid call for the stream.
HRESULT FileRangeCall(CArchive* pArchive, void (CFile::*pfnRange)(ULONGLONG, ULONGLONG), ULARGE_INTEGER libOffset,
                      ULARGE_INTEGER cb)
{
    CFile* pFile = (pArchive != NULL) ? pArchive->GetFile() : NULL;
    if (pFile == NULL)
        return STG_E_INVALIDFUNCTION;
    try
    {
        (pFile->*pfnRange)(libOffset.LowPart, cb.LowPart);
    }
    catch (CException* e)
    {
        e->Delete();
        return STG_E_INVALIDFUNCTION;
    }
    return S_OK;
}

}  // namespace

CExtArchiveIStream::CExtArchiveIStream(CArchive* pArchive, bool bOwnsArchive)
    : m_nRefCount(1), m_pArchive(pArchive), m_bOwnsArchive(bOwnsArchive)
{
}

CExtArchiveIStream::~CExtArchiveIStream()
{
    if (!m_bOwnsArchive || m_pArchive == NULL)
        return;
    try {
        if (m_pArchive->IsStoring())
            m_pArchive->Flush();
        m_pArchive->Close();
    } catch (CException* e) {
        e->Delete();
        m_pArchive->Abort();
    }
    delete m_pArchive;
    m_pArchive = NULL;
}

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL)
        return E_NOINTERFACE;
    if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IStream) ||
        ::IsEqualIID(riid, IID_ISequentialStream)) {
        AddRef();
        *ppvObject = static_cast<IStream*>(this);
        return S_OK;
    }
    *ppvObject = NULL;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CExtArchiveIStream::AddRef() { return ++m_nRefCount; }

ULONG STDMETHODCALLTYPE CExtArchiveIStream::Release()
{
    ULONG nCount = --m_nRefCount;
    if (nCount == 0)
        delete this;
    return nCount;
}

// The archive's exceptions stop here: a stream answers result codes.
HRESULT STDMETHODCALLTYPE CExtArchiveIStream::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    if (pcbRead != NULL)
        *pcbRead = 0;
    if (m_pArchive == NULL || !m_pArchive->IsLoading())
        return S_FALSE;
    if (cb == 0)
        return S_OK;
    if (pv == NULL)
        return E_INVALIDARG;
    try {
        UINT nRead = m_pArchive->Read(pv, cb);
        if (pcbRead != NULL)
            *pcbRead = nRead;
    } catch (CException* e) {
        e->Delete();
        return STG_E_READFAULT;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten)
{
    if (pcbWritten != NULL)
        *pcbWritten = 0;
    if (m_pArchive == NULL || !m_pArchive->IsStoring())
        return S_FALSE;
    if (cb == 0)
        return S_OK;
    if (pv == NULL)
        return E_INVALIDARG;
    try {
        m_pArchive->Write(pv, cb);
    } catch (CException* e) {
        e->Delete();
        return STG_E_WRITEFAULT;
    }
    if (pcbWritten != NULL)
        *pcbWritten = cb;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                                                   ULARGE_INTEGER* plibNewPosition)
{
    CFile* pFile = (m_pArchive != NULL) ? m_pArchive->GetFile() : NULL;
    if (pFile == NULL)
        return S_FALSE;
    UINT nFrom = CFile::current;
    if (dwOrigin == STREAM_SEEK_SET)
        nFrom = CFile::begin;
    else if (dwOrigin == STREAM_SEEK_END)
        nFrom = CFile::end;
    try {
        // The archive buffers: bring the file to the archive's own position first, or
        // positions would be off by what sits in the buffer.
        m_pArchive->Flush();
        ULONGLONG nPos = pFile->Seek(dlibMove.QuadPart, nFrom);
        if (plibNewPosition != NULL)
            plibNewPosition->QuadPart = (ULONGLONG)(LONGLONG)(LONG)(DWORD)nPos;
    } catch (CException* e) {
        e->Delete();
        return STG_E_SEEKERROR;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::SetSize(ULARGE_INTEGER) { return S_OK; }

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                                     ULARGE_INTEGER* pcbWritten)
{
    if (pcbRead != NULL)
        pcbRead->QuadPart = 0;
    if (pcbWritten != NULL)
        pcbWritten->QuadPart = 0;
    if (pstm == NULL)
        return E_POINTER;
    BYTE buffer[4096];
    ULONGLONG nLeft = cb.QuadPart;
    while (nLeft > 0) {
        ULONG nChunk = nLeft < sizeof(buffer) ? (ULONG)nLeft : (ULONG)sizeof(buffer);
        ULONG nRead = 0;
        HRESULT hr = Read(buffer, nChunk, &nRead);
        if (FAILED(hr))
            return hr;
        if (nRead == 0)
            break;
        if (pcbRead != NULL)
            pcbRead->QuadPart += nRead;
        ULONG nWritten = 0;
        hr = pstm->Write(buffer, nRead, &nWritten);
        if (FAILED(hr))
            return hr;
        if (pcbWritten != NULL)
            pcbWritten->QuadPart += nWritten;
        if (nWritten < nRead)
            break;
        nLeft -= nRead;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::Commit(DWORD)
{
    if (m_pArchive == NULL)
        return STG_E_ACCESSDENIED;
    CFile* pFile = m_pArchive->GetFile();
    if (m_pArchive->IsLoading() || pFile == NULL)
        return S_OK;
    try {
        // What the archive still buffers belongs to the committed data too.
        m_pArchive->Flush();
        pFile->Flush();
    } catch (CException* e) {
        e->Delete();
        return STG_E_ACCESSDENIED;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::Revert() { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD)
{
    return FileRangeCall(m_pArchive, &CFile::LockRange, libOffset, cb);
}

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD)
{
    return FileRangeCall(m_pArchive, &CFile::UnlockRange, libOffset, cb);
}

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::Stat(STATSTG* pstatstg, DWORD)
{
    if (pstatstg == NULL)
        return E_INVALIDARG;
    if (m_pArchive == NULL)
        return STG_E_ACCESSDENIED;
    ::memset(pstatstg, 0, sizeof(STATSTG));
    pstatstg->type = STGTY_STREAM;
    pstatstg->grfMode = STGM_WRITE;
    CFile* pFile = m_pArchive->GetFile();
    if (pFile == NULL)
        return S_OK;
    try {
        if (m_pArchive->IsStoring())
            m_pArchive->Flush();
        CFileStatus status;
        if (!pFile->GetStatus(status))
            return S_OK;
        TimeToFileTime(status.m_mtime, pstatstg->mtime);
        TimeToFileTime(status.m_ctime, pstatstg->ctime);
        TimeToFileTime(status.m_atime, pstatstg->atime);
        pstatstg->cbSize.QuadPart = status.m_size;
    } catch (CException* e) {
        e->Delete();
        return STG_E_ACCESSDENIED;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CExtArchiveIStream::Clone(IStream** ppstm)
{
    if (ppstm != NULL)
        *ppstm = NULL;
    return E_NOTIMPL;
}
