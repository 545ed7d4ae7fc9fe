#include "toolkit/grid/grid_alloc.h"
#include <new>
#include <cstdlib>
#include <cstring>


CExtAlloc::CExtAlloc(ULONG nItemsPerBlock, bool bFreeEmptyBlocks, IUnknown* pUnkOuter, bool bZeroFill)
    : m_pUnkOuter(pUnkOuter),
      m_nRefCount(1),
      m_nItemsPerBlock(nItemsPerBlock > __EXT_ALLOC_MAX_ITEMS_PER_BLOCK ? (ULONG)__EXT_ALLOC_MAX_ITEMS_PER_BLOCK
                                                                        : nItemsPerBlock),
      m_nBitmapBytes(0),
      m_nFlags(0),
      m_mapBlocks(10)
{
    // The bitmap is sized for the slots a block really has: sized from a larger
    // request it would only waste room (or overflow the block size).
    if (m_nItemsPerBlock >= 2)
        m_nBitmapBytes = m_nItemsPerBlock / 8 + ((m_nItemsPerBlock % 8) != 0 ? 1 : 0);
    if (bFreeEmptyBlocks)
        m_nFlags |= __EXT_ALLOC_FREE_EMPTY_BLOCKS;
    if (bZeroFill)
        m_nFlags |= __EXT_ALLOC_ZERO_FILL;
    m_mapBlocks.InitHashTable(10);
}

CExtAlloc* CExtAlloc::stat_Create(ULONG nItemsPerBlock, bool bFreeEmptyBlocks, IUnknown* pUnkOuter,
                                  bool bZeroFill)
{
    try {
        return new CExtAlloc(nItemsPerBlock, bFreeEmptyBlocks, pUnkOuter, bZeroFill);
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return NULL;
}

CExtAlloc::~CExtAlloc()
{
    POSITION pos = m_mapBlocks.GetStartPosition();
    while (pos != NULL) {
        DWORD nSize = 0;
        _N_header_block_t* pBlock = NULL;
        m_mapBlocks.GetNextAssoc(pos, nSize, pBlock);
        if (pBlock == NULL)
            continue;
        while (pBlock->m_pPrev != NULL)
            pBlock = pBlock->m_pPrev;
        while (pBlock != NULL) {
            _N_header_block_t* pNext = pBlock->m_pNext;
            _RawFreeTracked(pBlock, true);
            pBlock = pNext;
        }
    }
    m_mapBlocks.RemoveAll();
    // Blocks no chain reached any more, and unpooled items never freed.
    for (const auto& block : m_mapOwnedBlocks)
        RawFree((void*)block.first);
    m_mapOwnedBlocks.clear();
    for (const BYTE* pHeader : m_setOwnedUnpooled)
        RawFree((void*)pHeader);
    m_setOwnedUnpooled.clear();
}

void* CExtAlloc::_RawAllocTracked(SIZE_T nBytes, bool bBlock)
{
    BYTE* p = (BYTE*)RawAlloc(nBytes);
    if (p == NULL)
        return NULL;
    try {
        if (bBlock)
            m_mapOwnedBlocks[p] = nBytes;
        else
            m_setOwnedUnpooled.insert(p);
    } catch (...) {
        RawFree(p);
        return NULL;
    }
    return p;
}

void CExtAlloc::_RawFreeTracked(void* p, bool bBlock)
{
    if (bBlock)
        m_mapOwnedBlocks.erase((const BYTE*)p);
    else
        m_setOwnedUnpooled.erase((const BYTE*)p);
    RawFree(p);
}

// ---- IUnknown ---------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CExtAlloc::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL)
        return E_NOINTERFACE;
    if (::IsEqualIID(riid, IID_IUnknown)) {
        if (m_pUnkOuter != NULL) {
            m_pUnkOuter->AddRef();
            *ppvObject = m_pUnkOuter;
        } else {
            AddRef();
            *ppvObject = static_cast<IUnknown*>(this);
        }
        return S_OK;
    }
    if (::IsEqualIID(riid, IID_IMalloc)) {
        AddRef();
        *ppvObject = static_cast<IMalloc*>(this);
        return S_OK;
    }
    if (m_pUnkOuter != NULL)
        return m_pUnkOuter->QueryInterface(riid, ppvObject);
    *ppvObject = NULL;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CExtAlloc::AddRef() { return ++m_nRefCount; }

ULONG STDMETHODCALLTYPE CExtAlloc::Release()
{
    ULONG nCount = --m_nRefCount;
    if (nCount == 0)
        delete this;
    return nCount;
}

// ---- raw memory -------------------------------------------------------------------

void* CExtAlloc::RawAlloc(SIZE_T nBytes) { return ::malloc(nBytes); }

void CExtAlloc::RawFree(void* p) { ::free(p); }

void* CExtAlloc::RawRealloc(void* p, SIZE_T nBytes) { return ::realloc(p, nBytes); }

// ---- block geometry ---------------------------------------------------------------

SIZE_T CExtAlloc::GetBlockBytes(DWORD nItemSize) const
{
    if (!IsPooled() || nItemSize == 0)
        return 0;
    ULONGLONG nBytes = ((ULONGLONG)nItemSize + __EXT_ALLOC_SLOT_HEADER) * m_nItemsPerBlock + m_nBitmapBytes +
                       __EXT_ALLOC_BLOCK_HEADER;
    if (nBytes > 0x7FFFFFFFull)
        return 0;
    return (SIZE_T)nBytes;
}

CExtAlloc::_N_header_block_t* CExtAlloc::GetCurrentBlock(DWORD nItemSize) const
{
    _N_header_block_t* pBlock = NULL;
    if (!m_mapBlocks.Lookup(nItemSize, pBlock))
        return NULL;
    return pBlock;
}

BYTE* CExtAlloc::_Bitmap(const _N_header_block_t* pBlock) const
{
    return (BYTE*)pBlock + __EXT_ALLOC_BLOCK_HEADER;
}

bool CExtAlloc::IsSlotUsed(const _N_header_block_t* pBlock, ULONG nSlot) const
{
    if (pBlock == NULL || nSlot >= m_nItemsPerBlock)
        return false;
    return (_Bitmap(pBlock)[nSlot / 8] & (1 << (nSlot % 8))) != 0;
}

bool CExtAlloc::_IsBlockEmpty(const _N_header_block_t* pBlock) const
{
    const BYTE* pBits = _Bitmap(pBlock);
    for (ULONG i = 0; i < m_nBitmapBytes; i++) {
        if (pBits[i] != 0)
            return false;
    }
    return true;
}

CExtAlloc::_N_header_block_t* CExtAlloc::_BlockFromPtr(const void* pv, ULONG* pnSlot) const
{
    if (pv == NULL || m_mapOwnedBlocks.empty())
        return NULL;
    const BYTE* p = (const BYTE*)pv;
    auto it = m_mapOwnedBlocks.upper_bound(p);
    if (it == m_mapOwnedBlocks.begin())
        return NULL;
    --it;
    const BYTE* pStart = it->first;
    if ((ULONG_PTR)(p - pStart) >= it->second)
        return NULL;
    _N_header_block_t* pBlock = (_N_header_block_t*)pStart;
    if (pBlock->m_nItemSize == 0)
        return NULL;
    // The pointer must be the data of one of the block's slots.
    const ULONGLONG nOffset = (ULONGLONG)(p - pStart);
    const ULONGLONG nFirst = (ULONGLONG)__EXT_ALLOC_BLOCK_HEADER + m_nBitmapBytes + __EXT_ALLOC_SLOT_HEADER;
    const ULONGLONG nStride = (ULONGLONG)pBlock->m_nItemSize + __EXT_ALLOC_SLOT_HEADER;
    if (nOffset < nFirst || (nOffset - nFirst) % nStride != 0)
        return NULL;
    const ULONGLONG nSlot = (nOffset - nFirst) / nStride;
    if (nSlot >= m_nItemsPerBlock)
        return NULL;
    if (pnSlot != NULL)
        *pnSlot = (ULONG)nSlot;
    return pBlock;
}

BYTE* CExtAlloc::_UnpooledHeader(const void* pv) const
{
    if (pv == NULL || (ULONG_PTR)pv < __EXT_ALLOC_UNPOOLED_HEADER || m_setOwnedUnpooled.empty())
        return NULL;
    const BYTE* pHeader = (const BYTE*)pv - __EXT_ALLOC_UNPOOLED_HEADER;
    if (m_setOwnedUnpooled.find(pHeader) == m_setOwnedUnpooled.end())
        return NULL;
    return (BYTE*)pHeader;
}

// ---- IMalloc ----------------------------------------------------------------------

void* STDMETHODCALLTYPE CExtAlloc::Alloc(SIZE_T cb)
{
    if (cb == 0 || cb > 0x7FFFFFF0u)
        return NULL;
    if (IsPooledSize(cb))
        return _PooledAlloc((DWORD)cb);
    return _UnpooledAlloc(cb);
}

void* CExtAlloc::_UnpooledAlloc(SIZE_T cb)
{
    BYTE* pHeader = (BYTE*)_RawAllocTracked(cb + __EXT_ALLOC_UNPOOLED_HEADER, false);
    if (pHeader == NULL)
        return NULL;
    *(DWORD*)pHeader = (DWORD)cb;
    *(CExtAlloc**)(pHeader + __EXT_ALLOC_UNPOOLED_HEADER - sizeof(void*)) = this;
    BYTE* pData = pHeader + __EXT_ALLOC_UNPOOLED_HEADER;
    if ((m_nFlags & __EXT_ALLOC_ZERO_FILL) != 0)
        ::memset(pData, 0, cb);
    return pData;
}

void* CExtAlloc::_UnpooledRealloc(BYTE* pHeader, SIZE_T cb)
{
    DWORD nOldSize = *(DWORD*)pHeader;
    BYTE* pNewHeader = (BYTE*)RawRealloc(pHeader, cb + __EXT_ALLOC_UNPOOLED_HEADER);
    if (pNewHeader == NULL)
        return NULL;
    m_setOwnedUnpooled.erase(pHeader);
    try {
        m_setOwnedUnpooled.insert(pNewHeader);
    } catch (...) {
        // The data has moved already: keep it for the caller; the allocator only
        // loses sight of it (a leak rather than lost data).
    }
    *(DWORD*)pNewHeader = (DWORD)cb;
    *(CExtAlloc**)(pNewHeader + __EXT_ALLOC_UNPOOLED_HEADER - sizeof(void*)) = this;
    BYTE* pData = pNewHeader + __EXT_ALLOC_UNPOOLED_HEADER;
    if ((m_nFlags & __EXT_ALLOC_ZERO_FILL) != 0 && cb > nOldSize)
        ::memset(pData + nOldSize, 0, cb - nOldSize);
    return pData;
}

void* STDMETHODCALLTYPE CExtAlloc::Realloc(void* pv, SIZE_T cb)
{
    if (pv == NULL || cb == 0 || cb > 0x7FFFFFF0u)
        return NULL;
    BYTE* pHeader = _UnpooledHeader(pv);
    _N_header_block_t* pBlock = pHeader == NULL && IsPooled() ? _BlockFromPtr(pv, NULL) : NULL;
    if (pHeader == NULL && pBlock == NULL)
        return NULL;
    // An item of its own that stays large grows or shrinks in place.
    if (pHeader != NULL && !IsPooledSize(cb))
        return _UnpooledRealloc(pHeader, cb);
    DWORD nOldSize = pHeader != NULL ? *(DWORD*)pHeader : pBlock->m_nItemSize;
    if (pBlock != NULL && nOldSize == cb)
        return pv;
    // Into a slot of the new size or out of the pool: the new item is zero-filled
    // with the flag, so the grown part stays clear under the copy.
    void* pNew = Alloc(cb);
    if (pNew == NULL)
        return NULL;
    ::memcpy(pNew, pv, nOldSize < cb ? nOldSize : cb);
    Free(pv);
    return pNew;
}

void STDMETHODCALLTYPE CExtAlloc::Free(void* pv)
{
    if (pv == NULL)
        return;
    if (BYTE* pHeader = _UnpooledHeader(pv)) {
        _RawFreeTracked(pHeader, false);
        return;
    }
    if (IsPooled())
        _PooledFree(pv);
}

SIZE_T STDMETHODCALLTYPE CExtAlloc::GetSize(void* pv)
{
    if (pv == NULL)
        return (SIZE_T)-1;
    if (BYTE* pHeader = _UnpooledHeader(pv))
        return *(DWORD*)pHeader;
    _N_header_block_t* pBlock = IsPooled() ? _BlockFromPtr(pv, NULL) : NULL;
    return pBlock != NULL ? pBlock->m_nItemSize : 0;
}

int STDMETHODCALLTYPE CExtAlloc::DidAlloc(void* pv)
{
    if (pv == NULL)
        return -1;
    if (_UnpooledHeader(pv) != NULL)
        return 1;
    return IsPooled() && _BlockFromPtr(pv, NULL) != NULL ? 1 : 0;
}

void STDMETHODCALLTYPE CExtAlloc::HeapMinimize()
{
    if (!IsPooled())
        return;
    CArray<DWORD, DWORD> arrGone;
    POSITION pos = m_mapBlocks.GetStartPosition();
    while (pos != NULL) {
        DWORD nSize = 0;
        _N_header_block_t* pBlock = NULL;
        m_mapBlocks.GetNextAssoc(pos, nSize, pBlock);
        if (pBlock != NULL && pBlock->m_pNext == NULL && pBlock->m_pPrev == NULL && _IsBlockEmpty(pBlock)) {
            _RawFreeTracked(pBlock, true);
            arrGone.Add(nSize);
        }
    }
    for (INT_PTR i = 0; i < arrGone.GetSize(); i++)
        m_mapBlocks.RemoveKey(arrGone[i]);
}

// ---- the pool ---------------------------------------------------------------------

void* CExtAlloc::_PooledAlloc(DWORD nSize)
{
    _N_header_block_t* pCurrent = GetCurrentBlock(nSize);
    _N_header_block_t* pFound = NULL;
    ULONG nSlot = 0;
    // Forward from the current block first, then backward from it.
    for (int nPass = 0; nPass < 2 && pFound == NULL; nPass++) {
        for (_N_header_block_t* pBlock = pCurrent; pBlock != NULL && pFound == NULL;
             pBlock = (nPass == 0) ? pBlock->m_pNext : pBlock->m_pPrev) {
            const BYTE* pBits = _Bitmap(pBlock);
            for (ULONG i = 0; i < m_nBitmapBytes; i++) {
                if (pBits[i] == 0xFF)
                    continue;
                ULONG nBit = 0;
                while ((pBits[i] & (1 << nBit)) != 0)
                    nBit++;
                if (i * 8 + nBit < m_nItemsPerBlock) {
                    pFound = pBlock;
                    nSlot = i * 8 + nBit;
                }
                break;
            }
        }
    }
    if (pFound != NULL) {
        if (pFound != pCurrent)
            m_mapBlocks.SetAt(nSize, pFound);
    } else {
        SIZE_T nBlockBytes = GetBlockBytes(nSize);
        if (nBlockBytes == 0)
            return NULL;
        pFound = (_N_header_block_t*)_RawAllocTracked(nBlockBytes, true);
        if (pFound == NULL)
            return NULL;
        ::memset(pFound, 0, nBlockBytes);
        pFound->m_pOwner = this;
        pFound->m_nItemSize = nSize;
        BYTE* pSlot = (BYTE*)pFound + __EXT_ALLOC_BLOCK_HEADER + m_nBitmapBytes;
        for (ULONG i = 0; i < m_nItemsPerBlock; i++, pSlot += nSize + __EXT_ALLOC_SLOT_HEADER)
            *(DWORD*)pSlot = (DWORD)(pSlot - (BYTE*)pFound);
        if (pCurrent != NULL) {
            pFound->m_pNext = pCurrent->m_pNext;
            if (pCurrent->m_pNext != NULL)
                pCurrent->m_pNext->m_pPrev = pFound;
            pFound->m_pPrev = pCurrent;
            pCurrent->m_pNext = pFound;
        } else {
            m_mapBlocks.SetAt(nSize, pFound);
        }
        nSlot = 0;
    }
    _Bitmap(pFound)[nSlot / 8] |= (BYTE)(1 << (nSlot % 8));
    BYTE* pData = (BYTE*)pFound + __EXT_ALLOC_BLOCK_HEADER + m_nBitmapBytes +
                  (SIZE_T)(nSize + __EXT_ALLOC_SLOT_HEADER) * nSlot + __EXT_ALLOC_SLOT_HEADER;
    if ((m_nFlags & __EXT_ALLOC_ZERO_FILL) != 0)
        ::memset(pData, 0, nSize);
    return pData;
}

void CExtAlloc::_PooledFree(void* pv)
{
    ULONG nSlot = 0;
    _N_header_block_t* pBlock = _BlockFromPtr(pv, &nSlot);
    if (pBlock == NULL)
        return;
    _Bitmap(pBlock)[nSlot / 8] &= (BYTE)~(1 << (nSlot % 8));
    if (!_IsBlockEmpty(pBlock))
        return;
    DWORD nSize = pBlock->m_nItemSize;
    bool bReleased = false;
    if (pBlock->m_pNext != NULL || pBlock->m_pPrev != NULL)
        _TidyChain(pBlock, &bReleased);
    if (!bReleased && (m_nFlags & __EXT_ALLOC_FREE_EMPTY_BLOCKS) != 0 && pBlock->m_pNext == NULL &&
        pBlock->m_pPrev == NULL) {
        _RawFreeTracked(pBlock, true);
        m_mapBlocks.RemoveKey(nSize);
    }
}

void CExtAlloc::_UnlinkAndRelease(_N_header_block_t* pBlock)
{
    if (pBlock->m_pNext != NULL)
        pBlock->m_pNext->m_pPrev = pBlock->m_pPrev;
    if (pBlock->m_pPrev != NULL)
        pBlock->m_pPrev->m_pNext = pBlock->m_pNext;
    _RawFreeTracked(pBlock, true);
}

// Releases every empty block of the chain that still has a neighbour, walking forward
// from the block and then backward from its predecessor, so no empty block stays
// linked to another; a block left alone is kept. The size's entry moves to a survivor.
void CExtAlloc::_TidyChain(_N_header_block_t* pBlock, bool* pbBlockReleased)
{
    DWORD nSize = pBlock->m_nItemSize;
    _N_header_block_t* pBackStart = pBlock->m_pPrev;
    _N_header_block_t* pSurvivor = NULL;
    bool bAnyReleased = false;
    *pbBlockReleased = false;
    for (_N_header_block_t* p = pBlock; p != NULL;) {
        _N_header_block_t* pNext = p->m_pNext;
        if (_IsBlockEmpty(p) && (p->m_pNext != NULL || p->m_pPrev != NULL)) {
            if (p == pBlock)
                *pbBlockReleased = true;
            _UnlinkAndRelease(p);
            bAnyReleased = true;
        } else if (pSurvivor == NULL) {
            pSurvivor = p;
        }
        p = pNext;
    }
    for (_N_header_block_t* p = pBackStart; p != NULL;) {
        _N_header_block_t* pPrev = p->m_pPrev;
        if (_IsBlockEmpty(p) && (p->m_pNext != NULL || p->m_pPrev != NULL)) {
            _UnlinkAndRelease(p);
            bAnyReleased = true;
        } else if (pSurvivor == NULL) {
            pSurvivor = p;
        }
        p = pPrev;
    }
    if (bAnyReleased && pSurvivor != NULL)
        m_mapBlocks.SetAt(nSize, pSurvivor);
}
