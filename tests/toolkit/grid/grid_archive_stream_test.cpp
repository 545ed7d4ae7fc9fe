#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "toolkit/grid/grid_archive_stream.h"

namespace {

// A stream over a storing archive that records the size of every write.
class CRecordingStream : public CExtArchiveIStream {
public:
    explicit CRecordingStream(CArchive* pArchive) : CExtArchiveIStream(pArchive, false) {}
    std::vector<ULONG> m_writes;
    ULONG m_nTake = 0xFFFFFFFF;  // a short write takes at most this much
    STDMETHOD(Write)(const void* pv, ULONG cb, ULONG* pcbWritten) override {
        m_writes.push_back(cb);
        return CExtArchiveIStream::Write(pv, cb < m_nTake ? cb : m_nTake, pcbWritten);
    }
};

std::vector<BYTE> Pattern(size_t n) {
    std::vector<BYTE> v(n);
    for (size_t i = 0; i < n; i++) v[i] = (BYTE)(i * 7 + 1);
    return v;
}

std::vector<BYTE> FileBytes(CMemFile& file) {
    std::vector<BYTE> v((size_t)file.GetLength());
    file.SeekToBegin();
    if (!v.empty()) file.Read(v.data(), (UINT)v.size());
    return v;
}

LARGE_INTEGER Li(LONGLONG n) {
    LARGE_INTEGER li;
    li.QuadPart = n;
    return li;
}

ULARGE_INTEGER Uli(ULONGLONG n) {
    ULARGE_INTEGER li;
    li.QuadPart = n;
    return li;
}

}  // namespace

TEST(GridArchiveStream, InterfacesAndReferenceCount) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    CExtArchiveIStream stream(&ar, false);
    EXPECT_EQ(1u, stream.GetRefCount());
    void* pv = NULL;
    EXPECT_EQ(E_NOINTERFACE, stream.QueryInterface(IID_IStream, NULL));
    const IID* iids[] = {&IID_IUnknown, &IID_IStream, &IID_ISequentialStream};
    for (const IID* piid : iids) {
        pv = NULL;
        EXPECT_EQ(S_OK, stream.QueryInterface(*piid, &pv));
        EXPECT_EQ(static_cast<IStream*>(&stream), pv);
    }
    EXPECT_EQ(4u, stream.GetRefCount());
    pv = (void*)1;
    EXPECT_EQ(E_NOINTERFACE, stream.QueryInterface(IID_IMalloc, &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_EQ(3u, stream.Release());
    EXPECT_EQ(E_NOTIMPL, stream.Revert());
    IStream* pClone = (IStream*)1;
    EXPECT_EQ(E_NOTIMPL, stream.Clone(&pClone));
    EXPECT_EQ(S_OK, stream.SetSize(Uli(5)));
}

TEST(GridArchiveStream, OwnedArchiveIsFlushedClosedAndDeleted) {
    CMemFile file;
    CArchive* pAr = new CArchive(&file, CArchive::store);
    CExtArchiveIStream* pStream = new CExtArchiveIStream(pAr, true);
    ULONG nWritten = 0;
    EXPECT_EQ(S_OK, pStream->Write("abcde", 5, &nWritten));
    EXPECT_EQ(5u, nWritten);
    EXPECT_EQ(0u, file.GetLength()) << "still in the archive's buffer";
    EXPECT_EQ(0u, pStream->Release());
    EXPECT_EQ((std::vector<BYTE>{'a', 'b', 'c', 'd', 'e'}), FileBytes(file));
}

TEST(GridArchiveStream, ReadAndWriteFollowTheArchiveDirection) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CExtArchiveIStream stream(&ar, false);
        char buf[4] = {'x', 'x', 'x', 'x'};
        ULONG n = 99;
        EXPECT_EQ(S_FALSE, stream.Read(buf, 4, &n));
        EXPECT_EQ(0u, n);
        EXPECT_EQ('x', buf[0]);
        n = 99;
        EXPECT_EQ(E_INVALIDARG, stream.Write(NULL, 3, &n));
        EXPECT_EQ(0u, n);
        EXPECT_EQ(S_OK, stream.Write(NULL, 0, &n));
        EXPECT_EQ(S_OK, stream.Write("hello", 5, NULL));
        EXPECT_EQ(S_OK, stream.Commit(0));
        EXPECT_EQ(5u, file.GetLength()) << "commit writes what the archive buffered";
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CExtArchiveIStream stream(&ar, false);
    ULONG n = 99;
    EXPECT_EQ(S_FALSE, stream.Write("zz", 2, &n));
    EXPECT_EQ(0u, n);
    EXPECT_EQ(E_INVALIDARG, stream.Read(NULL, 2, &n));
    EXPECT_EQ(S_OK, stream.Commit(0));
    char buf[8] = {};
    EXPECT_EQ(S_OK, stream.Read(buf, 3, &n));
    EXPECT_EQ(3u, n);
    EXPECT_EQ(std::string("hel"), std::string(buf, 3));
    EXPECT_EQ(S_OK, stream.Read(buf, 8, &n));
    EXPECT_EQ(2u, n) << "only what is left";
    EXPECT_EQ(std::string("lo"), std::string(buf, 2));
    EXPECT_EQ(S_OK, stream.Read(buf, 8, &n));
    EXPECT_EQ(0u, n);

    CExtArchiveIStream none;
    EXPECT_EQ(S_FALSE, none.Read(buf, 1, &n));
    EXPECT_EQ(S_FALSE, none.Write(buf, 1, &n));
    EXPECT_EQ(S_FALSE, none.Seek(Li(0), STREAM_SEEK_SET, NULL));
    EXPECT_EQ(STG_E_ACCESSDENIED, none.Commit(0));
    EXPECT_EQ(STG_E_INVALIDFUNCTION, none.LockRegion(Uli(0), Uli(1), 0));
    EXPECT_EQ(STG_E_INVALIDFUNCTION, none.UnlockRegion(Uli(0), Uli(1), 0));
}

TEST(GridArchiveStream, SeekKeepsTheArchivePosition) {
    CMemFile file;
    std::vector<BYTE> data = Pattern(100);
    file.Write(data.data(), 100);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CExtArchiveIStream stream(&ar, false);
    BYTE buf[16];
    ULONG n = 0;
    ASSERT_EQ(S_OK, stream.Read(buf, 10, &n));
    ULARGE_INTEGER pos = Uli(12345);
    EXPECT_EQ(S_OK, stream.Seek(Li(0), STREAM_SEEK_CUR, &pos));
    EXPECT_EQ(10u, pos.QuadPart);
    EXPECT_EQ(S_OK, stream.Seek(Li(-4), STREAM_SEEK_END, &pos));
    EXPECT_EQ(96u, pos.QuadPart);
    ASSERT_EQ(S_OK, stream.Read(buf, 16, &n));
    EXPECT_EQ(4u, n);
    EXPECT_EQ(data[96], buf[0]);
    EXPECT_EQ(S_OK, stream.Seek(Li(20), STREAM_SEEK_SET, &pos));
    EXPECT_EQ(20u, pos.QuadPart);
    EXPECT_EQ(S_OK, stream.Seek(Li(5), 7, &pos)) << "other origins are the current position";
    EXPECT_EQ(25u, pos.QuadPart);
    ASSERT_EQ(S_OK, stream.Read(buf, 1, &n));
    EXPECT_EQ(data[25], buf[0]);
    EXPECT_EQ(S_OK, stream.Seek(Li(0), STREAM_SEEK_SET, NULL));
}

TEST(GridArchiveStream, CopyToMovesChunksOf4096) {
    std::vector<BYTE> data = Pattern(10000);
    CMemFile src;
    src.Write(data.data(), (UINT)data.size());
    src.SeekToBegin();
    CArchive arIn(&src, CArchive::load);
    CExtArchiveIStream in(&arIn, false);

    CMemFile dst;
    CArchive arOut(&dst, CArchive::store);
    CRecordingStream out(&arOut);
    ULARGE_INTEGER nRead = Uli(1), nWritten = Uli(1);
    EXPECT_EQ(E_POINTER, in.CopyTo(NULL, Uli(10), &nRead, &nWritten));
    EXPECT_EQ(0u, nRead.QuadPart);
    EXPECT_EQ(0u, nWritten.QuadPart);
    EXPECT_EQ(S_OK, in.CopyTo(&out, Uli(0), &nRead, &nWritten));
    EXPECT_TRUE(out.m_writes.empty());

    EXPECT_EQ(S_OK, in.CopyTo(&out, Uli(10000), &nRead, &nWritten));
    EXPECT_EQ(10000u, nRead.QuadPart);
    EXPECT_EQ(10000u, nWritten.QuadPart);
    EXPECT_EQ((std::vector<ULONG>{4096, 4096, 1808}), out.m_writes);
    arOut.Close();
    EXPECT_EQ(data, FileBytes(dst));
}

TEST(GridArchiveStream, CopyToStopsAtTheEndOrAShortWrite) {
    std::vector<BYTE> data = Pattern(5000);
    CMemFile src;
    src.Write(data.data(), (UINT)data.size());
    src.SeekToBegin();
    CArchive arIn(&src, CArchive::load);
    CExtArchiveIStream in(&arIn, false);
    CMemFile dst;
    CArchive arOut(&dst, CArchive::store);
    CRecordingStream out(&arOut);
    ULARGE_INTEGER nRead, nWritten;
    EXPECT_EQ(S_OK, in.CopyTo(&out, Uli(1000000), &nRead, &nWritten));
    EXPECT_EQ(5000u, nRead.QuadPart);
    EXPECT_EQ(5000u, nWritten.QuadPart);
    EXPECT_EQ((std::vector<ULONG>{4096, 904}), out.m_writes);

    src.SeekToBegin();
    CArchive arIn2(&src, CArchive::load);
    CExtArchiveIStream in2(&arIn2, false);
    out.m_writes.clear();
    out.m_nTake = 100;
    EXPECT_EQ(S_OK, in2.CopyTo(&out, Uli(5000), &nRead, &nWritten));
    EXPECT_EQ(4096u, nRead.QuadPart);
    EXPECT_EQ(100u, nWritten.QuadPart);
    EXPECT_EQ(1u, out.m_writes.size());

    // A loading target refuses writes without failing: nothing moves on.
    src.SeekToBegin();
    CArchive arIn3(&src, CArchive::load);
    CExtArchiveIStream in3(&arIn3, false);
    CExtArchiveIStream wrong(&arIn2, false);
    EXPECT_EQ(S_OK, in3.CopyTo(&wrong, Uli(5000), &nRead, &nWritten));
    EXPECT_EQ(4096u, nRead.QuadPart);
    EXPECT_EQ(0u, nWritten.QuadPart);
}

TEST(GridArchiveStream, StatAndRangeLocks) {
    CExtArchiveIStream none;
    STATSTG st;
    EXPECT_EQ(E_INVALIDARG, none.Stat(NULL, 0));
    EXPECT_EQ(STG_E_ACCESSDENIED, none.Stat(&st, STATFLAG_DEFAULT));

    CMemFile mem;
    CArchive arMem(&mem, CArchive::store);
    CExtArchiveIStream memStream(&arMem, false);
    memStream.Write("0123456789", 10, NULL);
    memset(&st, 0xCC, sizeof(st));
    EXPECT_EQ(S_OK, memStream.Stat(&st, STATFLAG_DEFAULT));
    EXPECT_EQ((DWORD)STGTY_STREAM, st.type);
    EXPECT_EQ(1u, st.grfMode);
    EXPECT_EQ(nullptr, st.pwcsName);
    EXPECT_EQ(10u, st.cbSize.QuadPart);
    EXPECT_EQ(0u, st.mtime.dwLowDateTime | st.mtime.dwHighDateTime) << "a memory file has no times";
    // Memory files cannot lock ranges.
    EXPECT_EQ(STG_E_INVALIDFUNCTION, memStream.LockRegion(Uli(0), Uli(4), LOCK_EXCLUSIVE));
    EXPECT_EQ(STG_E_INVALIDFUNCTION, memStream.UnlockRegion(Uli(0), Uli(4), LOCK_EXCLUSIVE));

    char szDir[MAX_PATH], szPath[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, szDir));
    ASSERT_NE(0u, ::GetTempFileNameA(szDir, "gst", 0, szPath));
    {
        CFile disk;
        ASSERT_TRUE(disk.Open(szPath, CFile::modeCreate | CFile::modeReadWrite));
        CArchive ar(&disk, CArchive::store);
        CExtArchiveIStream stream(&ar, false);
        stream.Write("abcdef", 6, NULL);
        EXPECT_EQ(S_OK, stream.Stat(&st, STATFLAG_NONAME));
        EXPECT_EQ(6u, st.cbSize.QuadPart);
        FILETIME ftNow;
        ::GetSystemTimeAsFileTime(&ftNow);
        ULONGLONG nNow = ((ULONGLONG)ftNow.dwHighDateTime << 32) | ftNow.dwLowDateTime;
        ULONGLONG nMod = ((ULONGLONG)st.mtime.dwHighDateTime << 32) | st.mtime.dwLowDateTime;
        EXPECT_GT(nMod, 0u);
        EXPECT_LE(nMod, nNow + 20000000ull);
        EXPECT_GT(nMod + 36000000000ull * 24, nNow) << "within a day of now";
        EXPECT_EQ(S_OK, stream.LockRegion(Uli(0), Uli(4), LOCK_EXCLUSIVE));
        EXPECT_EQ(S_OK, stream.UnlockRegion(Uli(0), Uli(4), LOCK_EXCLUSIVE));
        EXPECT_EQ(S_OK, stream.Commit(0));
        ar.Close();
        disk.Close();
    }
    ::DeleteFileA(szPath);
}
