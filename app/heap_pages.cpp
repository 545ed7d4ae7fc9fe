#include "app/heap_pages.h"

namespace {

// A heap keeps its records of a free block (its links in the free lists, the size that
// lets the next block find it) at the block's two ends; these bytes are never released.
const ULONG_PTR kEndRecords = 64;

}  // namespace

SIZE_T ReleaseFreeHeapPages(HANDLE hHeap)
{
    if (hHeap == NULL) return 0;
    SYSTEM_INFO si;
    ::GetSystemInfo(&si);
    const ULONG_PTR nPage = si.dwPageSize != 0 ? si.dwPageSize : 4096;
    SIZE_T nReleased = 0;
    if (!::HeapLock(hHeap)) return 0;
    PROCESS_HEAP_ENTRY entry;
    ZeroMemory(&entry, sizeof(entry));
    while (::HeapWalk(hHeap, &entry)) {
        // Regions, uncommitted ranges and blocks in use are not free space.
        if ((entry.wFlags & (PROCESS_HEAP_REGION | PROCESS_HEAP_UNCOMMITTED_RANGE | PROCESS_HEAP_ENTRY_BUSY)) != 0)
            continue;
        if (entry.cbData < 2 * kEndRecords + nPage) continue;
        const ULONG_PTR nStart = (ULONG_PTR)entry.lpData + kEndRecords;
        const ULONG_PTR nEnd = (ULONG_PTR)entry.lpData + entry.cbData - kEndRecords;
        // Only whole pages clear of the records.
        const ULONG_PTR nFirst = (nStart + nPage - 1) / nPage * nPage;
        const ULONG_PTR nLast = nEnd / nPage * nPage;
        if (nLast <= nFirst) continue;
        const SIZE_T nSize = (SIZE_T)(nLast - nFirst);
        if (::VirtualAlloc((LPVOID)nFirst, nSize, MEM_RESET, PAGE_READWRITE) != NULL) nReleased += nSize;
    }
    ::HeapUnlock(hHeap);
    return nReleased;
}
