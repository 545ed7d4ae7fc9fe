#include <gtest/gtest.h>
#include "framework/framework.h"

// An archive over a memory stream reads back what it wrote, and the stream's errors and
// its end reach the archive's reader as they do for a plain file.
TEST(OleStreamFile, ArchiveRoundTripOverMemoryStream) {
    COleStreamFile file;
    ASSERT_TRUE(file.CreateMemoryStream());
    ASSERT_TRUE(file.GetStream() != NULL);
    {
        CArchive ar(&file, CArchive::store);
        ar << (DWORD)0x01020304 << CString("text");
        ar.Close();
    }
    EXPECT_EQ(9u, file.GetLength());
    EXPECT_EQ(9u, file.GetPosition());
    EXPECT_EQ(0u, file.Seek(0, CFile::begin));
    {
        CArchive ar(&file, CArchive::load);
        DWORD dw = 0;
        CString s;
        ar >> dw >> s;
        EXPECT_EQ(0x01020304u, dw);
        EXPECT_STREQ("text", s);
        bool bEnd = false;
        try {
            ar >> dw;
        } catch (CArchiveException* e) {
            bEnd = e->m_cause == CArchiveException::endOfFile;
            e->Delete();
        }
        EXPECT_TRUE(bEnd);
    }
    file.SetLength(2);
    EXPECT_EQ(2u, file.GetLength());

    // An attached stream stays its owner's: detaching hands it back unreleased.
    IStream* pStream = file.Detach();
    ASSERT_TRUE(pStream != NULL);
    COleStreamFile attached;
    attached.Attach(pStream);
    attached.Close();
    EXPECT_TRUE(attached.GetStream() == NULL);
    EXPECT_EQ(0u, pStream->Release());  // the only reference left was ours

    COleStreamFile none;
    bool bThrown = false;
    try {
        none.GetLength();
    } catch (CFileException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}
