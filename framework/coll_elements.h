// Shared ground of the collections: iteration positions, the CPlex block storage and
// array allocator, the overridable element helpers (construct, compare, serialize, hash)
// and the element relocation the templates use when they move storage.
#pragma once
#include "framework/platform.h"
#include "framework/object.h"
#include "framework/exceptions.h"
#include "framework/str.h"
#include "framework/archive.h"
#include <new>
#include <string.h>
#include <type_traits>
#include <utility>
#include <memory>

// An opaque iteration position. Other framework headers that hand out positions
// include this file or repeat the guarded definition.
#ifndef AFX_POSITION_DEFINED
#define AFX_POSITION_DEFINED
struct __POSITION {};
typedef __POSITION* POSITION;
#endif

#ifndef BEFORE_START_POSITION
#define BEFORE_START_POSITION ((POSITION)-1L)
#endif

// ---------------------------------------------------------------------------------------
// Raw storage: CPlex blocks (lists and maps) and the array allocator.

struct CPlex {
    CPlex* pNext;
    void* data() { return this + 1; }
    // Links a new block of nMax elements of cbElement bytes at the head of the chain.
    static CPlex* PASCAL Create(CPlex*& head, UINT_PTR nMax, UINT_PTR cbElement);
    void FreeDataChain();  // frees this block and every block after it
};

// Allocates n bytes for collection storage; throws CMemoryException when the heap is
// exhausted or the size overflows, like the classic operator new.
BYTE* AFXAPI AfxCollectionAlloc(UINT_PTR nCount, UINT_PTR cbElement);
void AFXAPI AfxCollectionFree(void* p);
// Loading a collection: a count the archive cannot possibly hold (each element takes at
// least nMinSize bytes) is a truncated or damaged archive.
void AFXAPI AfxCheckArchiveCount(CArchive& ar, DWORD_PTR nCount, UINT_PTR nMinSize = 1);

// ---------------------------------------------------------------------------------------
// Element helpers, overridable per type as in the classic library.

template <class TYPE>
inline void AFXAPI ConstructElements(TYPE* pElements, INT_PTR nCount) {
    memset((void*)pElements, 0, (size_t)nCount * sizeof(TYPE));
    for (; nCount--; pElements++) ::new ((void*)pElements) TYPE;
}

template <class TYPE>
inline void AFXAPI DestructElements(TYPE* pElements, INT_PTR nCount) {
    for (; nCount--; pElements++) pElements->~TYPE();
}

template <class TYPE>
inline void AFXAPI CopyElements(TYPE* pDest, const TYPE* pSrc, INT_PTR nCount) {
    while (nCount--) *pDest++ = *pSrc++;
}

template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
    return *pElement1 == *pElement2;
}

// Default: the elements' bytes exactly as they are held in memory.
template <class TYPE>
void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount) {
    if (nCount <= 0) return;
    const UINT_PTR nChunk = 0x7FFFFFFF / sizeof(TYPE);
    BYTE* p = (BYTE*)(void*)pElements;
    UINT_PTR nLeft = (UINT_PTR)nCount;
    while (nLeft != 0) {
        UINT_PTR n = nLeft < nChunk ? nLeft : nChunk;
        if (ar.IsStoring())
            ar.Write(p, (UINT)(n * sizeof(TYPE)));
        else
            ar.EnsureRead(p, (UINT)(n * sizeof(TYPE)));
        p += n * sizeof(TYPE);
        nLeft -= n;
    }
}

// Through the archive's own operators, for element types that carry their own format.
template <class TYPE>
void AFXAPI SerializeElementsInsertExtract(CArchive& ar, TYPE* pElements, INT_PTR nCount) {
    if (ar.IsStoring()) {
        for (; nCount-- > 0; pElements++) ar << *pElements;
    } else {
        for (; nCount-- > 0; pElements++) ar >> *pElements;
    }
}

template <>
inline void AFXAPI SerializeElements<CString>(CArchive& ar, CString* pElements, INT_PTR nCount) {
    SerializeElementsInsertExtract(ar, pElements, nCount);
}

template <>
inline void AFXAPI SerializeElements<CObject*>(CArchive& ar, CObject** pElements, INT_PTR nCount) {
    SerializeElementsInsertExtract(ar, pElements, nCount);
}

// The fewest bytes one element takes in an archive, which bounds the count a collection
// may announce. Plain bytes take their size; a type that stores itself some other way
// (and so has its own SerializeElements) is assumed to take at least one byte unless it
// says otherwise here.
template <class TYPE>
inline UINT_PTR AFXAPI AfxMinStoredSize(const TYPE*) {
    return std::is_trivially_copyable<TYPE>::value ? sizeof(TYPE) : 1;
}
inline UINT_PTR AFXAPI AfxMinStoredSize(const CString*) {
    return 1;  // the length byte of an empty string
}
inline UINT_PTR AFXAPI AfxMinStoredSize(CObject* const*) {
    return 2;  // a NULL tag or a back-reference
}

// Identity hash for integers, pointers, handles and colours.
template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
    return (UINT)(((DWORD_PTR)key) >> 4);
}

template <>
inline UINT AFXAPI HashKey<__int64>(__int64 key) {
    return HashKey<DWORD>((DWORD)((ULONGLONG)key & 0xFFFFFFFFu)) ^ HashKey<DWORD>((DWORD)((ULONGLONG)key >> 32));
}

template <>
inline UINT AFXAPI HashKey<ULONGLONG>(ULONGLONG key) {
    return HashKey<DWORD>((DWORD)(key & 0xFFFFFFFFu)) ^ HashKey<DWORD>((DWORD)(key >> 32));
}

// The classic string hash: nHash = nHash * 33 + character.
inline UINT AfxHashString(LPCTSTR key) {
    UINT nHash = 0;
    if (key != NULL)
        while (*key) nHash = (nHash << 5) + nHash + (UINT)(BYTE)*key++;
    return nHash;
}

template <>
inline UINT AFXAPI HashKey<LPCSTR>(LPCSTR key) {
    return AfxHashString(key);
}

template <>
inline UINT AFXAPI HashKey<LPSTR>(LPSTR key) {
    return AfxHashString(key);
}

template <>
inline UINT AFXAPI HashKey<CString>(CString key) {
    return AfxHashString((LPCTSTR)key);
}

template <>
inline UINT AFXAPI HashKey<const CString&>(const CString& key) {
    return AfxHashString((LPCTSTR)key);
}

// Spreads every bit of a hash value over the others (a bijection, so distinct hash
// values stay distinct), for tables indexed by a salted hash value.
inline UINT AfxMixHashValue(UINT n) {
    n ^= n >> 16;
    n *= 0x85EBCA6Bu;
    n ^= n >> 13;
    n *= 0xC2B2AE35u;
    n ^= n >> 16;
    return n;
}
// A nonzero salt that differs from call to call and from run to run.
UINT AFXAPI AfxCollectionHashSalt();

namespace afx_detail {
// Elements whose bytes can simply be moved; others go through their move operations.
template <class TYPE>
struct relocate_bitwise
    : std::integral_constant<bool, std::is_trivially_copyable<TYPE>::value ||
                                       !std::is_move_constructible<TYPE>::value ||
                                       !std::is_move_assignable<TYPE>::value> {};

// Moves nCount constructed elements from pSrc into raw storage at pDest (no overlap),
// leaving the source storage raw.
template <class TYPE>
inline void Relocate(TYPE* pDest, TYPE* pSrc, INT_PTR nCount) {
    if (nCount <= 0) return;
    if constexpr (relocate_bitwise<TYPE>::value) {
        memcpy((void*)pDest, (const void*)pSrc, (size_t)nCount * sizeof(TYPE));
    } else {
        for (INT_PTR i = 0; i < nCount; i++) {
            ::new ((void*)(pDest + i)) TYPE(std::move(pSrc[i]));
            pSrc[i].~TYPE();
        }
    }
}

template <class T>
inline bool Inside(const T& value, const void* pStart, const void* pEnd) {
    const void* p = (const void*)std::addressof(value);
    return p >= pStart && p < pEnd;
}
}  // namespace afx_detail

inline void AfxEnsureArg(bool b) {
    if (!b) AfxThrowInvalidArgException();
}
