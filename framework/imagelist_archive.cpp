// CImageList::Read / Write: the platform writes and reads an image list through an
// IStream; here the stream is the archive itself, so the list sits in the archive in
// the platform's own format (the classic form, readable by any program that uses it).
//
// The platform's reader believes the counts and sizes in the stream and indexes the
// embedded bitmaps with them, so a crafted stream can make it read far outside what it
// allocated. Read therefore takes the whole list from the archive first, checks every
// count and size against the others and against the bytes that arrived, and hands the
// platform only a stream that passed.
#include "framework/imagelist.h"
#include "framework/archive.h"
#include "framework/exceptions.h"
#include <shlwapi.h>
#include <string.h>
#include <vector>

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

// The list's header as the platform stores it.
#pragma pack(push, 2)
struct ListHeader {
    WORD wMagic;    // "IL"
    WORD wVersion;
    WORD cCurImage;
    WORD cMaxImage;
    WORD cGrow;
    WORD cx;
    WORD cy;
    DWORD clrBk;
    WORD wFlags;
    SHORT ovls[4];
};
#pragma pack(pop)
static_assert(sizeof(ListHeader) == 28, "the stored header is 28 bytes");

const WORD wListMagic = 0x4C49;
const LONG nTileCount = 4;      // images side by side in a row of the stored bitmap
const LONG nMaxSide = 32767;
const WORD nMaxGrow = 1024;
const size_t nChunk = 64 * 1024;

[[noreturn]] void Refuse(CArchive& ar, int nCause = CArchiveException::badSchema) {
    AfxThrowArchiveException(nCause, ar.m_strFileName);
}

// Appends nBytes from the archive; in growing steps when its length is unknown, so that
// a size the file does not back fails at the file's end rather than in the allocator.
void TakeBytes(CArchive& ar, std::vector<BYTE>& data, ULONGLONG nBytes) {
    if (nBytes > 0x7FFFFFF || !ar.CanHoldBytes(nBytes)) Refuse(ar, CArchiveException::endOfFile);
    size_t nDone = 0, nTotal = (size_t)nBytes;
    while (nDone < nTotal) {
        size_t nStep = nDone > nChunk ? nDone : nChunk;
        if (nStep > nTotal - nDone) nStep = nTotal - nDone;
        size_t nAt = data.size();
        data.resize(nAt + nStep);
        ar.EnsureRead(data.data() + nAt, (UINT)nStep);
        nDone += nStep;
    }
}

// One embedded bitmap: file header, 40-byte info header, full colour table, rows.
BITMAPINFOHEADER TakeBitmap(CArchive& ar, std::vector<BYTE>& data) {
    size_t nStart = data.size();
    TakeBytes(ar, data, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
    WORD wType;
    BITMAPINFOHEADER bih;
    memcpy(&wType, data.data() + nStart, sizeof(wType));
    memcpy(&bih, data.data() + nStart + sizeof(BITMAPFILEHEADER), sizeof(bih));
    const WORD nBpp = bih.biBitCount;
    const LONG nHeight = bih.biHeight < 0 ? -bih.biHeight : bih.biHeight;
    if (wType != 0x4D42 || bih.biSize != sizeof(BITMAPINFOHEADER) || bih.biPlanes != 1 ||
        bih.biCompression != BI_RGB || bih.biWidth <= 0 || bih.biWidth > nMaxSide || nHeight <= 0 ||
        nHeight > nMaxSide || (nBpp != 1 && nBpp != 4 && nBpp != 8 && nBpp != 16 && nBpp != 24 && nBpp != 32))
        Refuse(ar);
    ULONGLONG nPalette = nBpp <= 8 ? (ULONGLONG)sizeof(RGBQUAD) << nBpp : 0;
    ULONGLONG nStride = (((ULONGLONG)bih.biWidth * nBpp + 31) / 32) * 4;
    TakeBytes(ar, data, nPalette + nStride * (ULONGLONG)nHeight);
    return bih;
}

// The list's bytes, checked; throws the archive exception for anything inconsistent.
std::vector<BYTE> TakeCheckedList(CArchive& ar) {
    std::vector<BYTE> data;
    TakeBytes(ar, data, sizeof(ListHeader));
    ListHeader head;
    memcpy(&head, data.data(), sizeof(head));
    if (head.wMagic != wListMagic || (head.wVersion != 0x101 && head.wVersion != 0x600) || head.cx == 0 ||
        head.cy == 0 || (LONG)head.cx * nTileCount > nMaxSide || head.cy > nMaxSide ||
        head.cCurImage > head.cMaxImage || head.cGrow > nMaxGrow)
        Refuse(ar);
    for (SHORT nOverlay : head.ovls)
        if (nOverlay < -1 || nOverlay >= (SHORT)head.cCurImage) Refuse(ar);

    // The image bitmap holds every slot the list announces, in rows of four cells.
    BITMAPINFOHEADER image = TakeBitmap(ar, data);
    const LONG nHeight = image.biHeight < 0 ? -image.biHeight : image.biHeight;
    if (image.biWidth != (LONG)head.cx * nTileCount || nHeight % head.cy != 0 ||
        (LONGLONG)(nHeight / head.cy) * nTileCount < (LONGLONG)head.cMaxImage)
        Refuse(ar);
    if (head.wFlags & ILC_MASK) {
        BITMAPINFOHEADER mask = TakeBitmap(ar, data);
        LONG nMaskHeight = mask.biHeight < 0 ? -mask.biHeight : mask.biHeight;
        if (mask.biBitCount != 1 || mask.biWidth != image.biWidth || nMaskHeight != nHeight) Refuse(ar);
    }
    return data;
}

}  // namespace

BOOL CImageList::Read(CArchive* pArchive) {
    if (pArchive == NULL || !pArchive->IsLoading()) return FALSE;
    DeleteImageList();
    std::vector<BYTE> data = TakeCheckedList(*pArchive);
    IStream* pStream = ::SHCreateMemStream(data.data(), (UINT)data.size());
    if (pStream == NULL) AfxThrowMemoryException();
    HIMAGELIST hImageList = ImageList_Read(pStream);
    pStream->Release();
    return Attach(hImageList);
}

BOOL CImageList::Write(CArchive* pArchive) {
    if (pArchive == NULL || !pArchive->IsStoring() || m_hImageList == NULL) return FALSE;
    ArchiveStream stream(*pArchive);
    return ImageList_Write(m_hImageList, &stream);
}
