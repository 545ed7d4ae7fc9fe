// Gives the system back the pages that lie unused inside a heap's free blocks.
#pragma once
#include <windows.h>

// A heap keeps a freed block's pages committed and in the working set for as long as
// blocks in use sit on both sides of it; only a later free that joins it to its
// neighbours lets the heap give the memory back. This tells the system that the whole
// pages inside `hHeap`'s free blocks hold nothing worth keeping, so they leave the
// working set now (they come back as zero pages when the heap hands the space out
// again). The bytes at each free block's two ends are left alone: the heap keeps its own
// records of the block there. The heap is locked throughout, so no other thread can be
// handed a block whose pages are being released. Returns the number of bytes released.
SIZE_T ReleaseFreeHeapPages(HANDLE hHeap);
