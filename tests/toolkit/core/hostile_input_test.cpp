// Crafted input against the core readers: command trees nested beyond any sane depth, and
// bitmap streams whose announced sizes do not match what they carry.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/core/cmd_tree.h"
#include "support/archive_bytes.h"
#include "tests/toolkit/core/bmp_builder.h"

#include <vector>

namespace {

typedef CExtCustomizeCmdTreeNode Node;

// A chain of nDepth nodes under root, built without recursion.
void BuildChain(Node& root, int nDepth) {
    Node* p = &root;
    for (int i = 0; i < nDepth; i++) {
        Node* c = new Node((UINT)i + 1, (UINT)i + 1);
        p->InsertNode(NULL, c);
        p = c;
    }
}

// Loads a node from bytes; answers the archive exception's cause, or -1 when none.
int LoadNode(const std::vector<BYTE>& bytes, Node& node) {
    CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    try {
        node.Serialize(ar);
    } catch (CArchiveException* e) {
        int nCause = e->m_cause;
        e->Delete();
        return nCause;
    }
    return -1;
}

}  // namespace

// Depths well past what the stack could take by recursion: storing, loading and
// destroying must all hold, and only a tree within the archive's limit loads.
TEST(HostileInput, CommandTreeDepth) {
    struct Case {
        int nDepth;
        int nCause;  // -1: loads
    } cases[] = {
        {CArchive::nMaxObjectDepth - 10, -1},
        {CArchive::nMaxObjectDepth + 1, CArchiveException::genericException},
        {200000, CArchiveException::genericException},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nDepth);
        std::vector<BYTE> bytes;
        {
            Node root(7, 7);
            BuildChain(root, c.nDepth);
            bytes = testsupport::StoredBytes([&](CArchive& ar) { root.Serialize(ar); });
        }  // destroyed here: a deep chain must not recurse through the destructors
        Node loaded;
        Node* pKept = new Node(99, 99);
        loaded.InsertNode(NULL, pKept);
        EXPECT_EQ(LoadNode(bytes, loaded), c.nCause);
        if (c.nCause < 0) {
            int nDepth = 0;
            for (Node* p = &loaded; p->GetNodeCount() == 1; p = p->ElementAt(0)) nDepth++;
            EXPECT_EQ(nDepth, c.nDepth);
            EXPECT_EQ(loaded.GetCmdID(), 7u);
        }
    }
}

// Announced sizes against what the stream carries: sides past 32,767 are refused, and
// so is an image whose rows mostly are not there; a short tail still loads.
TEST(HostileInput, BitmapSizesAgainstTheStream) {
    struct Case {
        int width, height, bpp;
        size_t nBits;  // pixel bytes actually present
        bool bLoads;
    } cases[] = {
        {32767, 1, 8, 32768, true},
        {32768, 1, 8, 32768, false},
        {1, -32768, 8, 32768 * 4, false},
        {16000, 16000, 32, 4096, false},       // a gigabyte announced, 4 KB there
        {1000, 1000, 32, 3000000, true},       // three quarters of the rows
        {1000, 1000, 32, 1000000, false},      // a quarter
        {100, 100, 24, 100, true},             // small images keep what arrived
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bpp << " " << c.nBits);
        bmptest::BmpLayout layout;
        layout.width = c.width;
        layout.height = c.height;
        layout.bpp = c.bpp;
        if (c.bpp == 8) layout.palette.assign(256, RGBQUAD{1, 2, 3, 0});
        layout.bits.assign(c.nBits, 0x5A);
        std::vector<BYTE> data = bmptest::Build(layout);
        CExtBitmap bmp;
        EXPECT_EQ(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()), c.bLoads);
        EXPECT_EQ(bmp.IsEmpty(), !c.bLoads);
    }
}
