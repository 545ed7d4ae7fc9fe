#include <gtest/gtest.h>
#include <set>
#include <vector>
#include "toolkit/grid/grid_alloc.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_data_provider.h"

typedef CExtAlloc::_N_header_block_t Block;

namespace {

// Counts the raw heap blocks the allocator holds.
class CCountingAlloc : public CExtAlloc {
public:
    CCountingAlloc(ULONG nItems, bool bFreeEmpty, IUnknown* pOuter, bool bZeroFill)
        : CExtAlloc(nItems, bFreeEmpty, pOuter, bZeroFill) {}
    std::set<void*> m_live;
    int m_nRawAllocs = 0;
    SIZE_T m_nLastRawBytes = 0;

protected:
    void* RawAlloc(SIZE_T n) override {
        void* p = CExtAlloc::RawAlloc(n);
        if (p != NULL) {
            m_live.insert(p);
            m_nRawAllocs++;
            m_nLastRawBytes = n;
        }
        return p;
    }
    void RawFree(void* p) override {
        m_live.erase(p);
        CExtAlloc::RawFree(p);
    }
    void* RawRealloc(void* p, SIZE_T n) override {
        void* q = CExtAlloc::RawRealloc(p, n);
        if (q != NULL) {
            m_live.erase(p);
            m_live.insert(q);
        }
        return q;
    }
};

Block* BlockOf(void* p) {
    DWORD nOffset = *(DWORD*)((BYTE*)p - 4);
    return (Block*)((BYTE*)p - 4 - nOffset);
}

// A stand-in for an aggregating object.
class COuter : public IUnknown {
public:
    ULONG m_nRefs = 1;
    int m_nAsked = 0;
    STDMETHOD(QueryInterface)(REFIID, void** ppv) override {
        m_nAsked++;
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_nRefs; }
    STDMETHOD_(ULONG, Release)() override { return --m_nRefs; }
};

}  // namespace

TEST(GridAlloc, ConstructionCapsItemsAndSizesTheBitmap) {
    struct Case {
        ULONG nRequested;
        ULONG nItems;
        ULONG nBitmap;
    } cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 2, 1}, {8, 8, 1}, {10, 10, 2}, {256, 256, 32},
                 {10000, 10000, 1250}, {20000, 10000, 1250}, {0xFFFFFFFFu, 10000, 1250}};
    for (const auto& c : cases) {
        CExtAlloc a(c.nRequested, false, NULL, false);
        EXPECT_EQ(c.nItems, a.GetItemsPerBlock()) << c.nRequested;
        EXPECT_EQ(c.nBitmap, a.GetBitmapBytes()) << c.nRequested;
        EXPECT_EQ(c.nRequested >= 2, a.IsPooled()) << c.nRequested;
        EXPECT_EQ(1u, a.GetRefCount()) << c.nRequested;
    }
    EXPECT_EQ(0, CExtAlloc(4, false, NULL, false).GetFlags());
    EXPECT_EQ(1, CExtAlloc(4, true, NULL, false).GetFlags());
    EXPECT_EQ(2, CExtAlloc(4, false, NULL, true).GetFlags());
    EXPECT_EQ(3, CExtAlloc(4, true, NULL, true).GetFlags());

    // 20000 requested: the block holds 10000 slots of (size + 4) bytes.
    CExtAlloc big(20000, false, NULL, false);
    const SIZE_T nHeader = CExtAlloc::__EXT_ALLOC_BLOCK_HEADER;  // 16, or 32 in a 64-bit program
    EXPECT_EQ(nHeader + 1250 + 10000 * 12, big.GetBlockBytes(8));
    void* p = big.Alloc(8);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(8u, big.GetSize(p));
    big.Free(p);
}

TEST(GridAlloc, ReferenceCountingAndInterfaces) {
    CExtAlloc* pAlloc = CExtAlloc::stat_Create(16, false, NULL, true);
    ASSERT_NE(nullptr, pAlloc);
    EXPECT_EQ(2u, pAlloc->AddRef());
    EXPECT_EQ(E_NOINTERFACE, pAlloc->QueryInterface(IID_IMalloc, NULL));
    void* pv = NULL;
    EXPECT_EQ(S_OK, pAlloc->QueryInterface(IID_IMalloc, &pv));
    EXPECT_EQ(static_cast<IMalloc*>(pAlloc), pv);
    EXPECT_EQ(S_OK, pAlloc->QueryInterface(IID_IUnknown, &pv));
    EXPECT_EQ(static_cast<IUnknown*>(pAlloc), pv);
    EXPECT_EQ(4u, pAlloc->GetRefCount());
    pv = (void*)1;
    EXPECT_EQ(E_NOINTERFACE, pAlloc->QueryInterface(IID_IStream, &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_EQ(3u, pAlloc->Release());
    EXPECT_EQ(2u, pAlloc->Release());
    EXPECT_EQ(1u, pAlloc->Release());
    EXPECT_EQ(0u, pAlloc->Release());  // deleted here

    // With a controlling object, IUnknown is the controller's and unknown
    // interfaces are asked of it.
    COuter outer;
    CExtAlloc inner(16, false, &outer, false);
    EXPECT_EQ(S_OK, inner.QueryInterface(IID_IUnknown, &pv));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), pv);
    EXPECT_EQ(2u, outer.m_nRefs);
    EXPECT_EQ(1u, inner.GetRefCount());
    EXPECT_EQ(S_OK, inner.QueryInterface(IID_IMalloc, &pv));
    EXPECT_EQ(static_cast<IMalloc*>(&inner), pv);
    EXPECT_EQ(2u, inner.GetRefCount());
    EXPECT_EQ(E_NOINTERFACE, inner.QueryInterface(IID_IStream, &pv));
    EXPECT_EQ(1, outer.m_nAsked);
}

TEST(GridAlloc, UnpooledItemsCarryAnEightByteHeader) {
    CCountingAlloc a(1, false, NULL, true);
    EXPECT_EQ(nullptr, a.Alloc(0));
    BYTE* p = (BYTE*)a.Alloc(10);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(1u, a.m_live.size());
    // The size, then the allocator: eight bytes in a 32-bit program, sixteen in a 64-bit one.
    const size_t nHeader = CExtAlloc::__EXT_ALLOC_UNPOOLED_HEADER;
    EXPECT_EQ(sizeof(void*) == 4 ? 8u : 16u, nHeader);
    EXPECT_EQ(1u, a.m_live.count(p - nHeader));
    EXPECT_EQ(10u, *(DWORD*)(p - nHeader));
    EXPECT_EQ(static_cast<CExtAlloc*>(&a), *(CExtAlloc**)(p - sizeof(void*)));
    EXPECT_EQ(nullptr, a.GetCurrentBlock(10));
    EXPECT_EQ(0u, ((ULONG_PTR)p) % 8) << "heap alignment plus the header";
    for (int i = 0; i < 10; i++) EXPECT_EQ(0, p[i]) << i;
    EXPECT_EQ(10u, a.GetSize(p));
    EXPECT_EQ(1, a.DidAlloc(p));

    memset(p, 0xAB, 10);
    BYTE* q = (BYTE*)a.Realloc(p, 300);
    ASSERT_NE(nullptr, q);
    EXPECT_EQ(300u, a.GetSize(q));
    EXPECT_EQ(0xAB, q[9]);
    EXPECT_EQ(0, q[10]);
    EXPECT_EQ(0, q[299]);
    EXPECT_EQ(nullptr, a.Realloc(q, 0));
    EXPECT_EQ(nullptr, a.Realloc(NULL, 8));
    EXPECT_EQ(300u, a.GetSize(q));

    // Another allocator's item is refused and left alone.
    CExtAlloc other(1, false, NULL, false);
    void* r = other.Alloc(4);
    EXPECT_EQ(0u, a.GetSize(r));
    EXPECT_EQ(0, a.DidAlloc(r));
    EXPECT_EQ(nullptr, a.Realloc(r, 64));
    a.Free(r);
    EXPECT_EQ(4u, other.GetSize(r));
    other.Free(r);

    a.Free(q);
    EXPECT_TRUE(a.m_live.empty());
    EXPECT_EQ((SIZE_T)-1, a.GetSize(NULL));
    EXPECT_EQ(-1, a.DidAlloc(NULL));
    a.Free(NULL);
}

TEST(GridAlloc, PooledBlockFormat) {
    CCountingAlloc a(256, false, NULL, false);
    BYTE* p0 = (BYTE*)a.Alloc(12);
    BYTE* p1 = (BYTE*)a.Alloc(12);
    ASSERT_NE(nullptr, p0);
    ASSERT_NE(nullptr, p1);
    Block* pBlock = BlockOf(p0);
    EXPECT_EQ(1u, a.m_live.size());
    EXPECT_EQ(1u, a.m_live.count(pBlock));
    EXPECT_EQ(pBlock, a.GetCurrentBlock(12));
    EXPECT_EQ(static_cast<CExtAlloc*>(&a), pBlock->m_pOwner);
    EXPECT_EQ(nullptr, pBlock->m_pNext);
    EXPECT_EQ(nullptr, pBlock->m_pPrev);
    EXPECT_EQ(12u, pBlock->m_nItemSize);
    // Header 16 (32 in a 64-bit program), bitmap 32, then slots of 4 + 12 bytes.
    const DWORD nHeader = CExtAlloc::__EXT_ALLOC_BLOCK_HEADER;
    EXPECT_EQ(sizeof(void*) == 4 ? 16u : 32u, nHeader);
    EXPECT_EQ((BYTE*)pBlock + nHeader + 32 + 4, p0);
    EXPECT_EQ(p0 + 16, p1);
    EXPECT_EQ(pBlock, BlockOf(p1));
    EXPECT_EQ(nHeader + 32 + 16 * 255, *(DWORD*)((BYTE*)pBlock + nHeader + 32 + 16 * 255));
    EXPECT_EQ(0x03, ((BYTE*)pBlock)[nHeader]);
    EXPECT_TRUE(a.IsSlotUsed(pBlock, 1));
    EXPECT_FALSE(a.IsSlotUsed(pBlock, 2));
    EXPECT_EQ(12u, a.GetSize(p1));
    EXPECT_EQ(1, a.DidAlloc(p1));

    // Another size has its own block.
    void* pOther = a.Alloc(20);
    EXPECT_NE(pBlock, BlockOf(pOther));
    EXPECT_EQ(BlockOf(pOther), a.GetCurrentBlock(20));
    EXPECT_EQ(2u, a.m_live.size());

    // Pointers that are not slot starts, or come from elsewhere, are refused.
    EXPECT_EQ(0, a.DidAlloc(p0 + 4));
    EXPECT_EQ(0u, a.GetSize(p0 + 4));
    a.Free(p0 + 4);
    EXPECT_TRUE(a.IsSlotUsed(pBlock, 0));
    DWORD stackWords[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, a.DidAlloc(&stackWords[4]));
    EXPECT_EQ(0u, a.GetSize(&stackWords[4]));
    a.Free(&stackWords[4]);
    CExtAlloc other(256, false, NULL, false);
    void* pForeign = other.Alloc(12);
    EXPECT_EQ(0, a.DidAlloc(pForeign));
    EXPECT_EQ(0u, a.GetSize(pForeign));
    EXPECT_EQ(nullptr, a.Realloc(pForeign, 24));
    a.Free(pForeign);
    EXPECT_EQ(1, other.DidAlloc(pForeign));
    other.Free(pForeign);

    a.Free(p0);
    a.Free(p1);
    a.Free(pOther);
}

TEST(GridAlloc, SlotsAreReusedLowestFirstAndBlocksChain) {
    CCountingAlloc a(2, false, NULL, false);
    void* p0 = a.Alloc(8);
    void* p1 = a.Alloc(8);
    Block* b1 = BlockOf(p0);
    EXPECT_EQ(b1, BlockOf(p1));
    void* p2 = a.Alloc(8);
    Block* b2 = BlockOf(p2);
    ASSERT_NE(b1, b2);
    // The new block is linked after the current one, which stays current until a
    // search finds room elsewhere.
    EXPECT_EQ(b2, b1->m_pNext);
    EXPECT_EQ(b1, b2->m_pPrev);
    EXPECT_EQ(b1, a.GetCurrentBlock(8));
    void* p3 = a.Alloc(8);
    EXPECT_EQ(b2, BlockOf(p3));
    EXPECT_EQ(b2, a.GetCurrentBlock(8));
    EXPECT_EQ(2u, a.m_live.size());

    // A freed slot is the next one handed out, found backward from the current block.
    a.Free(p0);
    EXPECT_EQ(p0, a.Alloc(8));
    EXPECT_EQ(b1, a.GetCurrentBlock(8));
    EXPECT_EQ(2, a.m_nRawAllocs);

    // A block that empties while it has a neighbour goes at once.
    a.Free(p2);
    a.Free(p3);
    EXPECT_EQ(0u, a.m_live.count(b2));
    EXPECT_EQ(nullptr, b1->m_pNext);
    EXPECT_EQ(b1, a.GetCurrentBlock(8));
    // The last block of a size stays without the free-empty flag.
    a.Free(p0);
    a.Free(p1);
    EXPECT_EQ(1u, a.m_live.count(b1));
    EXPECT_EQ(b1, a.GetCurrentBlock(8));
    EXPECT_EQ(p0, a.Alloc(8));
    a.Free(p0);
    a.HeapMinimize();
    EXPECT_TRUE(a.m_live.empty());
    EXPECT_EQ(nullptr, a.GetCurrentBlock(8));
}

TEST(GridAlloc, EmptyBlocksMetWhileTidyingGoToo) {
    CCountingAlloc a(2, false, NULL, false);
    std::vector<void*> items;
    for (int i = 0; i < 6; i++) items.push_back(a.Alloc(4));
    ASSERT_EQ(3u, a.m_live.size());
    // Empty the middle and last blocks down to one item each, then the first.
    a.Free(items[2]);
    a.Free(items[4]);
    a.Free(items[0]);
    a.Free(items[1]);  // first block empties, has a neighbour: released
    EXPECT_EQ(2u, a.m_live.size());
    a.Free(items[3]);  // middle block empties: released
    EXPECT_EQ(1u, a.m_live.size());
    Block* pLast = BlockOf(items[5]);
    EXPECT_EQ(pLast, a.GetCurrentBlock(4));
    EXPECT_EQ(nullptr, pLast->m_pPrev);
    a.Free(items[5]);
    EXPECT_EQ(1u, a.m_live.size());
}

TEST(GridAlloc, FreeEmptyBlocksFlagReleasesTheLastBlock) {
    CCountingAlloc a(4, true, NULL, false);
    void* p = a.Alloc(16);
    EXPECT_EQ(1u, a.m_live.size());
    a.Free(p);
    EXPECT_TRUE(a.m_live.empty());
    EXPECT_EQ(nullptr, a.GetCurrentBlock(16));
    // The size starts afresh.
    p = a.Alloc(16);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(BlockOf(p), a.GetCurrentBlock(16));
    a.Free(p);
}

TEST(GridAlloc, PooledReallocAndZeroFill) {
    CExtAlloc a(32, false, NULL, true);
    BYTE* p = (BYTE*)a.Alloc(8);
    memset(p, 0x5A, 8);
    EXPECT_EQ(p, a.Realloc(p, 8));
    BYTE* q = (BYTE*)a.Realloc(p, 24);
    ASSERT_NE(nullptr, q);
    EXPECT_EQ(24u, a.GetSize(q));
    for (int i = 0; i < 8; i++) EXPECT_EQ(0x5A, q[i]) << i;
    for (int i = 8; i < 24; i++) EXPECT_EQ(0, q[i]) << i;
    // The old slot is free again; its lone block stays.
    EXPECT_FALSE(a.IsSlotUsed(BlockOf(p), 0));
    EXPECT_EQ(1, a.DidAlloc(p));
    BYTE* r = (BYTE*)a.Realloc(q, 4);
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(4u, a.GetSize(r));
    for (int i = 0; i < 4; i++) EXPECT_EQ(0x5A, r[i]) << i;
    EXPECT_EQ(nullptr, a.Realloc(r, 0));
    EXPECT_EQ(4u, a.GetSize(r));

    // With zero-fill a reused slot comes back cleared; without, it keeps its bytes.
    memset(r, 0x77, 4);
    a.Free(r);
    BYTE* s = (BYTE*)a.Alloc(4);
    EXPECT_EQ(r, s);
    EXPECT_EQ(0, s[0]);
    a.Free(s);

    CExtAlloc plain(32, false, NULL, false);
    BYTE* t = (BYTE*)plain.Alloc(4);
    memset(t, 0x77, 4);
    plain.Free(t);
    EXPECT_EQ(0x77, ((BYTE*)plain.Alloc(4))[0]);
}

TEST(GridAlloc, AlignmentOfPooledAndUnpooledItems) {
    // Item sizes that are multiples of 4 in blocks whose bitmap is a multiple of 4
    // bytes give 4-byte aligned slots.
    CExtAlloc pooled(256, false, NULL, false);
    for (DWORD nSize : {4u, 8u, 12u, 36u, 100u}) {
        for (int i = 0; i < 300; i++) {
            void* p = pooled.Alloc(nSize);
            ASSERT_NE(nullptr, p);
            EXPECT_EQ(0u, ((ULONG_PTR)p) % 4) << nSize << " #" << i;
        }
    }
    CExtAlloc unpooled(1, false, NULL, false);
    for (SIZE_T nSize : {1u, 3u, 8u, 17u, 4096u}) {
        void* p = unpooled.Alloc(nSize);
        EXPECT_EQ(0u, ((ULONG_PTR)p) % 8) << nSize;
        unpooled.Free(p);
    }
}

TEST(GridAlloc, HugeRequestsFailWithNull) {
    CExtAlloc pooled(10000, false, NULL, false);
    EXPECT_EQ(nullptr, pooled.Alloc(0x7FFFFFFFu));
    // More than a 32-bit process can hold (a 64-bit one may well have it).
    if (sizeof(void*) == 4) EXPECT_EQ(nullptr, pooled.Alloc(0x7FFFFFF0u)) << "more than the process can hold";
    CExtAlloc unpooled(1, false, NULL, false);
    EXPECT_EQ(nullptr, unpooled.Alloc((SIZE_T)-4));
}

// A pointer is known by the allocator's own block set, not by what lies around it: a
// damaged slot header or unpooled header does not stop its owner, and pointers into
// inaccessible or freed memory are refused without being read.
TEST(GridAlloc, DamagedAndForeignPointersAreJudgedByMembership) {
    BYTE* pNoAccess = (BYTE*)::VirtualAlloc(NULL, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(nullptr, pNoAccess);
    for (ULONG nItems : {256u, 1u}) {
        SCOPED_TRACE(nItems);
        CCountingAlloc a(nItems, true, NULL, false);
        BYTE* p = (BYTE*)a.Alloc(20);
        BYTE* q = (BYTE*)a.Alloc(20);
        ASSERT_NE(nullptr, p);
        ASSERT_NE(nullptr, q);
        const size_t nLive = a.m_live.size();
        // Whatever precedes the data (slot offset, or size and owner) is overwritten.
        ::memset(p - 4, 0xA5, 4);
        EXPECT_EQ(1, a.DidAlloc(p));
        const struct {
            const char* what;
            void* ptr;
        } refused[] = {
            {"no-access page", pNoAccess + 64},
            {"inside an item", q + 3},
            {"just before an item", q - 1},
        };
        for (const auto& r : refused) {
            EXPECT_EQ(0, a.DidAlloc(r.ptr)) << r.what;
            EXPECT_EQ(0u, a.GetSize(r.ptr)) << r.what;
            EXPECT_EQ(nullptr, a.Realloc(r.ptr, 40)) << r.what;
            a.Free(r.ptr);
        }
        EXPECT_EQ(nLive, a.m_live.size()) << "nothing was released by a refused pointer";
        a.Free(q);
        a.Free(p);
        EXPECT_TRUE(a.m_live.empty()) << "both items and their block are gone";
        EXPECT_EQ(0, a.DidAlloc(p)) << "a freed pointer is no longer known";
        a.Free(p);
    }
    ::VirtualFree(pNoAccess, 0, MEM_RELEASE);
}

// A pooling allocator gives a request larger than a cell a heap block of its own, so a
// text of a megabyte costs a megabyte, not a block of 256 of them, and moves it in and
// out of the pool as a reallocation crosses the limit.
TEST(GridAlloc, LargeRequestsOfAPoolingAllocatorGetTheirOwnBlock) {
    CCountingAlloc a(256, false, NULL, true);
    for (SIZE_T nSize : {(SIZE_T)513, (SIZE_T)1 << 20, (SIZE_T)8 << 20}) {
        SCOPED_TRACE(nSize);
        BYTE* p = (BYTE*)a.Alloc(nSize);
        ASSERT_NE(nullptr, p);
        const SIZE_T nHeader = CExtAlloc::__EXT_ALLOC_UNPOOLED_HEADER;
        EXPECT_EQ(nSize + nHeader, a.m_nLastRawBytes);
        EXPECT_EQ(nSize, *(DWORD*)(p - nHeader));
        EXPECT_EQ(&a, *(CExtAlloc**)(p - sizeof(void*)));
        EXPECT_TRUE(a.GetCurrentBlock((DWORD)nSize) == NULL);
        EXPECT_EQ(nSize, a.GetSize(p));
        EXPECT_EQ(1, a.DidAlloc(p));
        EXPECT_EQ(0, p[nSize - 1]);
        a.Free(p);
        EXPECT_EQ(0, a.DidAlloc(p));
        EXPECT_TRUE(a.m_live.empty());
    }
    BYTE* p = (BYTE*)a.Alloc(512);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(a.GetBlockBytes(512), a.m_nLastRawBytes);
    ::memset(p, 0x5A, 512);
    p = (BYTE*)a.Realloc(p, 4096);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(4096u, a.GetSize(p));
    EXPECT_EQ(0x5A, p[511]);
    EXPECT_EQ(0, p[512]);
    EXPECT_TRUE(a.GetCurrentBlock(512) != NULL);
    p = (BYTE*)a.Realloc(p, 1 << 20);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(0x5A, p[0]);
    EXPECT_EQ(0, p[(1 << 20) - 1]);
    p = (BYTE*)a.Realloc(p, 16);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(16u, a.GetSize(p));
    EXPECT_EQ(BlockOf(p), a.GetCurrentBlock(16));
    EXPECT_EQ(0x5A, p[15]);
    a.Free(p);
    a.HeapMinimize();
    EXPECT_TRUE(a.m_live.empty());

    // A header cell's text lives in its provider's memory: eight megabytes of it fit.
    CExtGridDataProviderMemory dp;
    CExtGridCellHeader header(&dp);
    CString strText('x', 8 << 20);
    header.TextSet(strText);
    CString strBack;
    header.TextGet(strBack);
    EXPECT_EQ(8 << 20, strBack.GetLength());
    header.Reset();
}
