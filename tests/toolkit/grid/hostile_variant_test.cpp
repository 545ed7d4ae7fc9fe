// VARIANT streams from files: an object is created only when its class was allowed, and
// a string count the stream cannot back is refused before anything is allocated.
#include <gtest/gtest.h>
#include "toolkit/grid/grid_cell.h"
#include <ole2.h>
#include <olectl.h>

namespace {

IStream* StreamOf(const BYTE* p, size_t n) {
    IStream* pStream = NULL;
    ::CreateStreamOnHGlobal(NULL, TRUE, &pStream);
    pStream->Write(p, (ULONG)n, NULL);
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    pStream->Seek(zero, STREAM_SEEK_SET, NULL);
    return pStream;
}

ULONGLONG Position(IStream* pStream) {
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    ULARGE_INTEGER pos;
    pStream->Seek(zero, STREAM_SEEK_CUR, &pos);
    return pos.QuadPart;
}

}  // namespace

TEST(HostileVariant, ObjectsOnlyFromAllowedClasses) {
    ::CoInitialize(NULL);
    FONTDESC fd = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {100000, 0}, 400, ANSI_CHARSET, FALSE, FALSE, FALSE};
    IUnknown* pFont = NULL;
    ASSERT_EQ(::OleCreateFontIndirect(&fd, IID_IUnknown, (void**)&pFont), S_OK);
    IStream* pSaved = NULL;
    ASSERT_EQ(::CreateStreamOnHGlobal(NULL, TRUE, &pSaved), S_OK);
    VARIANT v;
    v.vt = VT_UNKNOWN;
    v.punkVal = pFont;
    ASSERT_EQ(CExtGridCell::stat_VariantSerialize(&v, pSaved, true), S_OK);
    pFont->Release();
    HGLOBAL hGlobal = NULL;
    ::GetHGlobalFromStream(pSaved, &hGlobal);
    std::vector<BYTE> bytes((size_t)::GlobalSize(hGlobal));
    memcpy(bytes.data(), ::GlobalLock(hGlobal), bytes.size());
    ::GlobalUnlock(hGlobal);
    pSaved->Release();
    std::vector<BYTE> nullObject(18, 0);
    nullObject[0] = VT_DISPATCH;

    struct Case {
        const char* name;
        const std::vector<BYTE>& bytes;
        bool bAllow;
        HRESULT hr;
        bool bObject;
        ULONGLONG nPosition;  // -1: the end
    } cases[] = {
        {"not allowed", bytes, false, E_FAIL, false, 18},
        {"allowed", bytes, true, S_OK, true, (ULONGLONG)-1},
        {"NULL object", nullObject, false, S_OK, false, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExtGridCell::stat_VariantAllowClass(CLSID_StdFont, c.bAllow);
        IStream* pStream = StreamOf(c.bytes.data(), c.bytes.size());
        VARIANT loaded;
        ::VariantInit(&loaded);
        EXPECT_EQ(CExtGridCell::stat_VariantSerialize(&loaded, pStream, false), c.hr);
        EXPECT_EQ(c.bObject, SUCCEEDED(c.hr) && loaded.punkVal != NULL);
        EXPECT_EQ(Position(pStream), c.nPosition == (ULONGLONG)-1 ? c.bytes.size() : c.nPosition);
        ::VariantClear(&loaded);
        pStream->Release();
    }
    CExtGridCell::stat_VariantAllowClass(CLSID_StdFont, false);
}

TEST(HostileVariant, StringCountBeyondTheStream) {
    const BYTE bytes[] = {VT_BSTR, 0, 0xFE, 0xFF, 0xFF, 0x7F, 'a', 0, 0, 0};
    IStream* pStream = StreamOf(bytes, sizeof(bytes));
    VARIANT v;
    ::VariantInit(&v);
    EXPECT_EQ(CExtGridCell::stat_VariantSerialize(&v, pStream, false), E_FAIL);
    EXPECT_EQ(v.vt, VT_EMPTY);
    pStream->Release();
}
