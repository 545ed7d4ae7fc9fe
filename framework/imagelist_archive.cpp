// CImageList::Read / Write: the platform writes and reads an image list through an
// IStream; here the stream is the archive itself, so the list sits in the archive in
// the platform's own format (the classic form, readable by any program that uses it).
#include "framework/imagelist.h"
#include "framework/archive.h"
#include "framework/exceptions.h"

namespace {

// A forward-only IStream over an archive. Exceptions of the archive (a short or
// failing file) never cross into the platform's code: they become a stream error,
// which makes ImageList_Read / ImageList_Write fail cleanly.
class ArchiveStream : public IStream {
public:
    explicit ArchiveStream(CArchive& ar) : m_ar(ar) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == NULL) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) ||
            IsEqualIID(riid, IID_IStream)) {
            *ppv = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    // Lives on the caller's stack for the one call; counting is for form only.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }

    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override {
        if (pcbRead) *pcbRead = 0;
        if (pv == NULL) return STG_E_INVALIDPOINTER;
        if (!m_ar.IsLoading()) return STG_E_ACCESSDENIED;
        UINT got = 0;
        try {
            got = m_ar.Read(pv, cb);
        } catch (CException* e) {
            e->Delete();
            return STG_E_READFAULT;
        } catch (...) {
            return STG_E_READFAULT;
        }
        m_pos += got;
        if (pcbRead) *pcbRead = got;
        // The platform asks for exactly the sizes its header announced and takes S_FALSE
        // for success, so a short read (a truncated archive) must be an error here or
        // it would build a list from a half-filled buffer.
        return got == cb ? S_OK : STG_E_READFAULT;
    }

    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
        if (pcbWritten) *pcbWritten = 0;
        if (pv == NULL) return STG_E_INVALIDPOINTER;
        if (!m_ar.IsStoring()) return STG_E_ACCESSDENIED;
        try {
            m_ar.Write(pv, cb);
        } catch (CException* e) {
            e->Delete();
            return STG_E_WRITEFAULT;
        } catch (...) {
            return STG_E_WRITEFAULT;
        }
        m_pos += cb;
        if (pcbWritten) *pcbWritten = cb;
        return S_OK;
    }

    // Only "where am I" is answered: an archive cannot move back.
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) override {
        if (origin == STREAM_SEEK_CUR && move.QuadPart == 0) {
            if (newPos) newPos->QuadPart = m_pos;
            return S_OK;
        }
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    CArchive& m_ar;
    ULONG m_refs = 1;
    ULONGLONG m_pos = 0;
};

}  // namespace

BOOL CImageList::Read(CArchive* pArchive) {
    if (pArchive == NULL || !pArchive->IsLoading()) return FALSE;
    DeleteImageList();
    ArchiveStream stream(*pArchive);
    return Attach(ImageList_Read(&stream));
}

BOOL CImageList::Write(CArchive* pArchive) {
    if (pArchive == NULL || !pArchive->IsStoring() || m_hImageList == NULL) return FALSE;
    ArchiveStream stream(*pArchive);
    return ImageList_Write(m_hImageList, &stream);
}
