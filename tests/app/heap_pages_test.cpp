// Releasing the pages inside a heap's free blocks: the heap stays whole, the blocks in
// use keep their bytes, and the released space is handed out again as usable memory.
#include <gtest/gtest.h>
#include <windows.h>
#include "app/heap_pages.h"

namespace {

// Every byte of the block is `value`.
bool Filled(const void* pBlock, SIZE_T nSize, BYTE value)
{
    const BYTE* p = static_cast<const BYTE*>(pBlock);
    for (SIZE_T i = 0; i < nSize; ++i)
        if (p[i] != value) return false;
    return true;
}

}  // namespace

// A freed block between two blocks in use stays committed; its inner pages go back, and
// nothing else changes.
TEST(HeapPagesTest, AFreeBlockBetweenBlocksInUseGivesBackItsInnerPagesOnly)
{
    EXPECT_EQ(0u, ReleaseFreeHeapPages(NULL));
    HANDLE hHeap = ::HeapCreate(0, 0, 0);
    ASSERT_TRUE(hHeap != NULL);
    // Below the size that a heap serves from separate memory of its own.
    const SIZE_T kSize = 256 * 1024;
    void* pBefore = ::HeapAlloc(hHeap, 0, kSize);
    void* pFreed = ::HeapAlloc(hHeap, 0, kSize);
    void* pAfter = ::HeapAlloc(hHeap, 0, kSize);
    ASSERT_TRUE(pBefore != NULL && pFreed != NULL && pAfter != NULL);
    memset(pBefore, 0xA1, kSize);
    memset(pFreed, 0xB2, kSize);
    memset(pAfter, 0xC3, kSize);
    ASSERT_TRUE(::HeapFree(hHeap, 0, pFreed));

    SYSTEM_INFO si;
    ::GetSystemInfo(&si);
    const SIZE_T nReleased = ReleaseFreeHeapPages(hHeap);
    EXPECT_GE(nReleased, kSize - 2 * si.dwPageSize);
    EXPECT_EQ(0u, nReleased % si.dwPageSize);
    EXPECT_TRUE(::HeapValidate(hHeap, 0, NULL));
    EXPECT_TRUE(Filled(pBefore, kSize, 0xA1));
    EXPECT_TRUE(Filled(pAfter, kSize, 0xC3));

    // The space is handed out again: zeroed when asked, and keeping what is written.
    BYTE* pAgain = static_cast<BYTE*>(::HeapAlloc(hHeap, HEAP_ZERO_MEMORY, kSize));
    ASSERT_TRUE(pAgain != NULL);
    EXPECT_TRUE(Filled(pAgain, kSize, 0));
    memset(pAgain, 0xD4, kSize);
    EXPECT_TRUE(Filled(pAgain, kSize, 0xD4));
    EXPECT_TRUE(::HeapValidate(hHeap, 0, NULL));
    EXPECT_TRUE(::HeapDestroy(hHeap));
}
