// The pooled IMalloc behind the grid's data providers. Equal-sized requests are served
// from blocks of up to 10000 slots, so a grid of many thousands of cells makes one
// heap call per block rather than per cell. An allocator made with fewer than 2 items
// per block does not pool: each request is its own heap block with an 8-byte header.
// A pooling allocator serves requests larger than a cell the same way: a block holds as
// many items as any other, so pooling a text of some kilobytes would reserve hundreds
// of times its size (and a text of some megabytes could not be held at all).
//
// Pooled memory is laid out as a block header, an occupancy bitmap and the slots, each
// slot preceded by the 32-bit offset that leads back to its block. The slots are packed
// without padding, so pooled memory is 4-byte aligned only when the item size and the
// bitmap size are multiples of 4 (as for cells in the providers' 256-item blocks).
#pragma once
#include <objidl.h>
#include <map>
#include <set>
#include "framework/framework.h"

class CExtAlloc : public IMalloc
{
public:
    // The start of every pooled block; the bitmap and the slots follow it.
    struct _N_header_block_t
    {
        CExtAlloc* m_pOwner;
        _N_header_block_t* m_pNext;
        _N_header_block_t* m_pPrev;
        DWORD m_nItemSize;
    };

    enum e_flags_t : BYTE
    {
        __EXT_ALLOC_FREE_EMPTY_BLOCKS = 0x01,
        __EXT_ALLOC_ZERO_FILL = 0x02,
    };
    enum : ULONG
    {
        __EXT_ALLOC_MAX_ITEMS_PER_BLOCK = 10000,
        // The size before an unpooled item (its size and its allocator), and the block
        // header: 8 and 16 bytes in a 32-bit program, 16 and 32 in a 64-bit one.
        __EXT_ALLOC_UNPOOLED_HEADER = (4 + sizeof(void*) + sizeof(void*) - 1) & ~(sizeof(void*) - 1),
        __EXT_ALLOC_BLOCK_HEADER = (sizeof(_N_header_block_t) + sizeof(void*) - 1) & ~(sizeof(void*) - 1),
        __EXT_ALLOC_SLOT_HEADER = 4,
        // The largest request a pooling allocator serves from its blocks; cells are a
        // few hundred bytes at most.
        __EXT_ALLOC_MAX_POOLED_ITEM = 512,
    };

    // The count starts at 1: the creator holds the first reference.
    CExtAlloc(ULONG nItemsPerBlock = 256, bool bFreeEmptyBlocks = false, IUnknown* pUnkOuter = NULL,
              bool bZeroFill = false);

    // A new allocator on the heap, or NULL when it cannot be made; never throws.
    static CExtAlloc* stat_Create(ULONG nItemsPerBlock = 256, bool bFreeEmptyBlocks = false,
                                  IUnknown* pUnkOuter = NULL, bool bZeroFill = false);

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD_(void*, Alloc)(SIZE_T cb) override;
    STDMETHOD_(void*, Realloc)(void* pv, SIZE_T cb) override;
    STDMETHOD_(void, Free)(void* pv) override;
    STDMETHOD_(SIZE_T, GetSize)(void* pv) override;
    STDMETHOD_(int, DidAlloc)(void* pv) override;
    STDMETHOD_(void, HeapMinimize)() override;

    // Releases every block, including blocks whose items were never freed.
    virtual ~CExtAlloc();

    bool IsPooled() const { return m_nItemsPerBlock >= 2; }
    // Whether a request of this size is served from a pooled block.
    bool IsPooledSize(SIZE_T nSize) const { return IsPooled() && nSize <= __EXT_ALLOC_MAX_POOLED_ITEM; }
    ULONG GetItemsPerBlock() const { return m_nItemsPerBlock; }
    ULONG GetBitmapBytes() const { return m_nBitmapBytes; }
    BYTE GetFlags() const { return m_nFlags; }
    ULONG GetRefCount() const { return m_nRefCount; }

    // The current block of an item size (NULL when none) and the bytes of one block of
    // that size (0 when such a block could not exist).
    _N_header_block_t* GetCurrentBlock(DWORD nItemSize) const;
    SIZE_T GetBlockBytes(DWORD nItemSize) const;
    // Whether a slot of the block is in use.
    bool IsSlotUsed(const _N_header_block_t* pBlock, ULONG nSlot) const;

protected:
    // The process heap through the C runtime; the pool takes its blocks and the
    // unpooled items from here.
    virtual void* RawAlloc(SIZE_T nBytes);
    virtual void RawFree(void* p);
    virtual void* RawRealloc(void* p, SIZE_T nBytes);

    IUnknown* m_pUnkOuter;
    ULONG m_nRefCount;
    ULONG m_nItemsPerBlock;
    ULONG m_nBitmapBytes;
    BYTE m_nFlags;
    CMap<DWORD, DWORD, _N_header_block_t*, _N_header_block_t*> m_mapBlocks;
    // Every pooled block (start -> bytes) and every unpooled item header this allocator
    // holds: a pointer handed back is checked against these before anything is read
    // through it, so foreign or damaged pointers are refused without touching memory.
    std::map<const BYTE*, SIZE_T> m_mapOwnedBlocks;
    std::set<const BYTE*> m_setOwnedUnpooled;

private:
    BYTE* _Bitmap(const _N_header_block_t* pBlock) const;
    bool _IsBlockEmpty(const _N_header_block_t* pBlock) const;
    // The block a pooled pointer leads to and its slot, or NULL when the pointer is
    // not the start of a slot of one of this allocator's blocks.
    _N_header_block_t* _BlockFromPtr(const void* pv, ULONG* pnSlot) const;
    // The header of an unpooled item of this allocator, or NULL.
    BYTE* _UnpooledHeader(const void* pv) const;
    void* _PooledAlloc(DWORD nSize);
    // An item in a heap block of its own behind the 8-byte header.
    void* _UnpooledAlloc(SIZE_T nSize);
    void* _UnpooledRealloc(BYTE* pHeader, SIZE_T nSize);
    void _PooledFree(void* pv);
    void _UnlinkAndRelease(_N_header_block_t* pBlock);
    // Memory of the pool and of unpooled items, kept in the sets above.
    void* _RawAllocTracked(SIZE_T nBytes, bool bBlock);
    void _RawFreeTracked(void* p, bool bBlock);
    void _TidyChain(_N_header_block_t* pBlock, bool* pbBlockReleased);

    CExtAlloc(const CExtAlloc&) = delete;
    CExtAlloc& operator=(const CExtAlloc&) = delete;
};
