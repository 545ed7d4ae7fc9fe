// Files: CFile over real files in a scratch folder (open flags, errors and their causes,
// seek and length), CMemFile growth and a caller's buffer that must stay within bounds.
#include <gtest/gtest.h>
#include "framework/file.h"
#include "framework/exceptions.h"
#include "support/exception_probe.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

class ScratchDir {
public:
    ScratchDir() {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        m_path = std::string(tmp) + "purgelet_file_test_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_path.c_str(), NULL);
    }
    ~ScratchDir() {
        for (const std::string& f : m_files) DeleteFileA(f.c_str());
        RemoveDirectoryA(m_path.c_str());
    }
    std::string File(const char* name) {
        std::string f = m_path + "\\" + name;
        m_files.push_back(f);
        return f;
    }

private:
    std::string m_path;
    std::vector<std::string> m_files;
};

}  // namespace

TEST(CFileTest, WriteReadSeekAndLength) {
    ScratchDir dir;
    std::string path = dir.File("data.bin");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        EXPECT_NE(CFile::hFileNull, f.m_hFile);
        f.Write("hello world", 11);
        EXPECT_EQ(11u, f.GetPosition());
        EXPECT_EQ(11u, f.GetLength());
        EXPECT_STREQ("data.bin", f.GetFileName());
        EXPECT_STREQ(path.c_str(), f.GetFilePath());
        EXPECT_STREQ("data", f.GetFileTitle());
        f.SetLength(5);
        EXPECT_EQ(5u, f.GetLength());
        f.Flush();
        f.Close();
        EXPECT_EQ(CFile::hFileNull, f.m_hFile);
    }
    CFile f;
    CFileException e;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeReadWrite | CFile::shareDenyNone, &e));
    char buf[16] = {};
    EXPECT_EQ(5u, f.Read(buf, sizeof(buf)));
    EXPECT_STREQ("hello", buf);
    EXPECT_EQ(0u, f.Read(buf, sizeof(buf))) << "at the end";
    EXPECT_EQ(1u, f.Seek(1, CFile::begin));
    EXPECT_EQ(3u, f.Seek(2, CFile::current));
    EXPECT_EQ(4u, f.Seek(-1, CFile::end));
    f.SeekToBegin();
    EXPECT_EQ(0u, f.GetPosition());
    EXPECT_EQ(5u, f.SeekToEnd());
    f.Write("!", 1);
    EXPECT_EQ(6u, f.GetLength());
    EXPECT_EQ(CFileException::badSeek, ThrownCause<CFileException>([&] { f.Seek(-100, CFile::begin); }));

    CFileStatus st;
    ASSERT_TRUE(f.GetStatus(st));
    EXPECT_EQ(6u, st.m_size);
    EXPECT_STREQ(path.c_str(), st.m_szFullName);
    EXPECT_NE(0, st.m_mtime.GetTime());
    f.Close();

    CFileStatus st2;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), st2));
    EXPECT_EQ(6u, st2.m_size);
    EXPECT_EQ(0, st2.m_attribute & CFile::directory);
}

TEST(CFileTest, CreateFlagsAndErrors) {
    ScratchDir dir;
    std::string path = dir.File("keep.bin");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        f.Write("abc", 3);
    }
    {
        // modeNoTruncate keeps the content of an existing file.
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(3u, f.GetLength());
    }
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
        EXPECT_EQ(0u, f.GetLength()) << "modeCreate alone truncates";
    }

    std::string missing = dir.File("missing.bin");
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open(missing.c_str(), CFile::modeRead, &e));
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
    EXPECT_EQ((LONG)ERROR_FILE_NOT_FOUND, e.m_lOsError);
    EXPECT_STREQ(missing.c_str(), e.m_strFileName);
    EXPECT_EQ(CFileException::fileNotFound,
              ThrownCause<CFileException>([&] { CFile g(missing.c_str(), CFile::modeRead); }));

    std::string badDir = dir.File("no_such_dir\\x.bin");
    EXPECT_EQ(CFileException::badPath, ThrownCause<CFileException>([&] { CFile g(badDir.c_str(), CFile::modeRead); }));

    {
        CFile held(path.c_str(), CFile::modeReadWrite | CFile::shareExclusive);
        EXPECT_EQ(CFileException::sharingViolation,
                  ThrownCause<CFileException>([&] { CFile g(path.c_str(), CFile::modeRead); }));
    }

    // A read-only handle refuses writes with the access cause.
    CFile ro(path.c_str(), CFile::modeRead);
    EXPECT_EQ(CFileException::accessDenied, ThrownCause<CFileException>([&] { ro.Write("x", 1); }));
}

TEST(CFileTest, LockedRangesAreExclusive) {
    ScratchDir dir;
    std::string path = dir.File("locked.bin");
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyNone);
    BYTE data[64];
    memset(data, 0x11, sizeof(data));
    f.Write(data, sizeof(data));
    f.LockRange(16, 16);

    // Nobody, not even the owner, locks an overlapping range a second time. (Writes through
    // another handle of the same process are not checked: Wine lets them through.)
    CFile other(path.c_str(), CFile::modeReadWrite | CFile::shareDenyNone);
    EXPECT_EQ(CFileException::lockViolation, ThrownCause<CFileException>([&] { other.LockRange(20, 4); }));
    EXPECT_EQ(CFileException::lockViolation, ThrownCause<CFileException>([&] { f.LockRange(31, 2); }));
    EXPECT_EQ(-1, ThrownCause<CFileException>([&] { other.LockRange(40, 4); })) << "beside the locked bytes";

    // Unlocking what is not locked fails; after the real unlock the range is free again.
    int cause = ThrownCause<CFileException>([&] { f.UnlockRange(0, 8); });
    EXPECT_TRUE(cause >= 0) << "a CFileException, got " << cause;
    f.UnlockRange(16, 16);
    EXPECT_EQ(-1, ThrownCause<CFileException>([&] { other.LockRange(20, 4); }));
    other.UnlockRange(20, 4);
    other.UnlockRange(40, 4);

    // Memory files have nothing to lock.
    CMemFile mem;
    bool bNotSupported = false;
    try {
        mem.LockRange(0, 1);
    } catch (CNotSupportedException* e) {
        bNotSupported = true;
        e->Delete();
    }
    EXPECT_TRUE(bNotSupported);
}

TEST(CMemFileTest, GrowsAndReadsBack) {
    CMemFile f(16);
    EXPECT_EQ(0u, f.GetLength());
    std::string big(100, 'x');
    f.Write(big.data(), (UINT)big.size());
    f.Write("END", 3);
    EXPECT_EQ(103u, f.GetLength());
    EXPECT_EQ(103u, f.GetPosition());
    f.SeekToBegin();
    char buf[200] = {};
    EXPECT_EQ(103u, f.Read(buf, sizeof(buf)));
    EXPECT_EQ(0, memcmp(buf + 100, "END", 3));

    // A write after a seek past the end leaves zeros in the gap.
    f.Seek(110, CFile::begin);
    f.Write("Z", 1);
    EXPECT_EQ(111u, f.GetLength());
    f.Seek(103, CFile::begin);
    EXPECT_EQ(8u, f.Read(buf, sizeof(buf)));
    EXPECT_EQ(0, memcmp(buf, "\0\0\0\0\0\0\0Z", 8));

    f.SetLength(2);
    EXPECT_EQ(2u, f.GetLength());
    EXPECT_EQ(2u, f.GetPosition()) << "clipped with the length";
    EXPECT_EQ(CFileException::badSeek, ThrownCause<CFileException>([&] { f.Seek(-3, CFile::end); }));

    CFileStatus st;
    EXPECT_TRUE(f.GetStatus(st));
    EXPECT_EQ(2u, st.m_size);

    BYTE* p = f.Detach();
    ASSERT_NE(nullptr, p);
    EXPECT_EQ('x', p[0]);
    free(p);
    EXPECT_EQ(0u, f.GetLength());
}

TEST(CMemFileTest, AttachedBufferIsNeverWrittenPastNorFreed) {
    // A buffer with guard bytes after the part handed to the file.
    BYTE block[24];
    memset(block, 0xEE, sizeof(block));
    BYTE* buffer = block;
    const UINT size = 16;

    CMemFile f;
    f.Attach(buffer, size);
    EXPECT_EQ(16u, f.GetLength()) << "without grow bytes the whole buffer is content";
    f.Write("0123456789", 10);
    // Six bytes are left; seven must fail as a whole and change nothing.
    EXPECT_TRUE(Throws<CMemoryException>([&] { f.Write("abcdefg", 7); }));
    EXPECT_EQ(10u, f.GetPosition());
    EXPECT_EQ(0xEE, buffer[10]);
    f.Write("abcdef", 6);
    EXPECT_EQ(16u, f.GetLength());
    EXPECT_TRUE(Throws<CMemoryException>([&] { f.Write("!", 1); }));
    EXPECT_TRUE(Throws<CMemoryException>([&] { f.SetLength(17); }));
    f.Seek(100, CFile::begin);
    EXPECT_TRUE(Throws<CMemoryException>([&] { f.Write("!", 1); }));
    for (UINT i = size; i < sizeof(block); i++) EXPECT_EQ(0xEE, block[i]) << "guard byte " << i;
    EXPECT_EQ(0, memcmp(block, "0123456789abcdef", 16));

    BYTE* back = f.Detach();
    EXPECT_EQ(buffer, back);
    f.Close();  // the caller's buffer is not freed (it lives on the stack)

    // With grow bytes the file starts empty over the buffer and moves to memory of its
    // own when it outgrows it; the caller's buffer keeps its bytes past the size.
    memset(block, 0xEE, sizeof(block));
    CMemFile g(block, 8, 32);
    EXPECT_EQ(0u, g.GetLength());
    g.Write("12345678", 8);
    EXPECT_EQ(0, memcmp(block, "12345678", 8));
    g.Write("9ABCDEF", 7);
    EXPECT_EQ(15u, g.GetLength());
    for (UINT i = 8; i < sizeof(block); i++) EXPECT_EQ(0xEE, block[i]) << "guard byte " << i;
    BYTE* own = g.Detach();
    ASSERT_NE(nullptr, own);
    EXPECT_NE(block, own);
    EXPECT_EQ(0, memcmp(own, "123456789ABCDEF", 15));
    free(own);
}
