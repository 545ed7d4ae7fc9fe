// The framework's collections: the CArray, CList and CMap templates, their typed-pointer
// wrappers and the classic non-template collections built on them.
//
// Semantics follow the classic library: indexes are INT_PTR, a bad index or an empty-list
// access throws the invalid-argument exception, element storage is raw memory with the
// elements constructed in place, lists and maps take their nodes from CPlex blocks, and
// CMap iterates bucket by bucket, newest entry first within a bucket.
//
// Deliberate differences, all on paths where the classic code corrupts memory:
// - elements are moved with their move constructor/assignment when the type is not
//   trivially copyable (the classic memcpy would break types holding self-pointers);
// - inserting or appending an element that lives in the same array, or appending a list
//   to itself, works on a copy;
// - InitHashTable on a non-empty map rehashes the entries instead of losing them;
// - loading a map from an archive grows its table as entries arrive (a map of more than
//   four entries per bucket iterates in another order than the classic one would).
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

// ---------------------------------------------------------------------------------------
// CArray

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
    virtual ~CArray() { SetSize(0, -1); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);

    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    const TYPE& GetAt(INT_PTR nIndex) const {
        AfxEnsureArg(nIndex >= 0 && nIndex < m_nSize);
        return m_pData[nIndex];
    }
    TYPE& GetAt(INT_PTR nIndex) {
        AfxEnsureArg(nIndex >= 0 && nIndex < m_nSize);
        return m_pData[nIndex];
    }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) {
        AfxEnsureArg(nIndex >= 0 && nIndex < m_nSize);
        m_pData[nIndex] = newElement;
    }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }

    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    INT_PTR Add(ARG_TYPE newElement) {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    INT_PTR Append(const CArray& src);
    void Copy(const CArray& src);

    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray);

    virtual void Serialize(CArchive& ar);

protected:
    TYPE* m_pData;
    INT_PTR m_nSize;
    INT_PTR m_nMaxSize;
    INT_PTR m_nGrowBy;

private:
    CArray(const CArray&);
    CArray& operator=(const CArray&);
    bool Owns(ARG_TYPE value) const {
        return m_pData != NULL && afx_detail::Inside(value, m_pData, m_pData + m_nMaxSize);
    }
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
    AfxEnsureArg(nNewSize >= 0);
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;

    if (nNewSize == 0) {
        if (m_pData != NULL) {
            DestructElements(m_pData, m_nSize);
            AfxCollectionFree(m_pData);
            m_pData = NULL;
        }
        m_nSize = m_nMaxSize = 0;
    } else if (m_pData == NULL) {
        INT_PTR nAllocSize = nNewSize > m_nGrowBy ? nNewSize : m_nGrowBy;
        m_pData = (TYPE*)(void*)AfxCollectionAlloc((UINT_PTR)nAllocSize, sizeof(TYPE));
        ConstructElements(m_pData, nNewSize);
        m_nSize = nNewSize;
        m_nMaxSize = nAllocSize;
    } else if (nNewSize <= m_nMaxSize) {
        if (nNewSize > m_nSize)
            ConstructElements(m_pData + m_nSize, nNewSize - m_nSize);
        else if (m_nSize > nNewSize)
            DestructElements(m_pData + nNewSize, m_nSize - nNewSize);
        m_nSize = nNewSize;
    } else {
        // Grow by the set amount, or by an eighth of the size kept between 4 and 1024.
        INT_PTR nGrow = m_nGrowBy;
        if (nGrow == 0) {
            nGrow = m_nSize / 8;
            nGrow = (nGrow < 4) ? 4 : ((nGrow > 1024) ? 1024 : nGrow);
        }
        INT_PTR nNewMax;
        if (nNewSize < m_nMaxSize + nGrow)
            nNewMax = m_nMaxSize + nGrow;
        else
            nNewMax = nNewSize;
        AfxEnsureArg(nNewMax >= m_nMaxSize);
        TYPE* pNewData = (TYPE*)(void*)AfxCollectionAlloc((UINT_PTR)nNewMax, sizeof(TYPE));
        afx_detail::Relocate(pNewData, m_pData, m_nSize);
        ConstructElements(pNewData + m_nSize, nNewSize - m_nSize);
        AfxCollectionFree(m_pData);
        m_pData = pNewData;
        m_nSize = nNewSize;
        m_nMaxSize = nNewMax;
    }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra() {
    if (m_nSize == m_nMaxSize) return;
    TYPE* pNewData = NULL;
    if (m_nSize != 0) {
        pNewData = (TYPE*)(void*)AfxCollectionAlloc((UINT_PTR)m_nSize, sizeof(TYPE));
        afx_detail::Relocate(pNewData, m_pData, m_nSize);
    }
    AfxCollectionFree(m_pData);
    m_pData = pNewData;
    m_nMaxSize = m_nSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    AfxEnsureArg(nIndex >= 0);
    if (nIndex >= m_nSize) {
        if (nIndex >= m_nMaxSize && Owns(newElement)) {
            // The element lives in the storage about to be reallocated.
            TYPE copy(newElement);
            SetSize(nIndex + 1, -1);
            m_pData[nIndex] = copy;
            return;
        }
        SetSize(nIndex + 1, -1);
    }
    m_pData[nIndex] = newElement;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
    AfxEnsureArg(this != &src);
    INT_PTR nOldSize = m_nSize;
    SetSize(m_nSize + src.m_nSize, -1);
    CopyElements<TYPE>(m_pData + nOldSize, src.m_pData, src.m_nSize);
    return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
    if (this == &src) return;
    SetSize(src.m_nSize, -1);
    CopyElements<TYPE>(m_pData, src.m_pData, src.m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
    AfxEnsureArg(nIndex >= 0 && nCount > 0);
    if (Owns(newElement)) {
        TYPE copy(newElement);
        InsertAt(nIndex, copy, nCount);
        return;
    }
    if (nIndex >= m_nSize) {
        SetSize(nIndex + nCount, -1);  // grow so nIndex is valid
    } else {
        INT_PTR nOldSize = m_nSize;
        SetSize(m_nSize + nCount, -1);  // grow it to the new size
        if constexpr (afx_detail::relocate_bitwise<TYPE>::value) {
            DestructElements(m_pData + nOldSize, nCount);
            memmove((void*)(m_pData + nIndex + nCount), (const void*)(m_pData + nIndex),
                    (size_t)(nOldSize - nIndex) * sizeof(TYPE));
            ConstructElements(m_pData + nIndex, nCount);
        } else {
            for (INT_PTR i = m_nSize - 1; i >= nIndex + nCount; i--)
                m_pData[i] = std::move(m_pData[i - nCount]);
        }
    }
    while (nCount--) m_pData[nIndex++] = newElement;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
    INT_PTR nUpperBound = nIndex + nCount;
    AfxEnsureArg(nIndex >= 0 && nCount >= 0 && nUpperBound <= m_nSize && nUpperBound >= nIndex &&
                 nUpperBound >= nCount);
    INT_PTR nMoveCount = m_nSize - nUpperBound;
    if constexpr (afx_detail::relocate_bitwise<TYPE>::value) {
        DestructElements(m_pData + nIndex, nCount);
        if (nMoveCount)
            memmove((void*)(m_pData + nIndex), (const void*)(m_pData + nUpperBound),
                    (size_t)nMoveCount * sizeof(TYPE));
    } else {
        for (INT_PTR i = 0; i < nMoveCount; i++) m_pData[nIndex + i] = std::move(m_pData[nUpperBound + i]);
        DestructElements(m_pData + m_nSize - nCount, nCount);
    }
    m_nSize -= nCount;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
    AfxEnsureArg(pNewArray != NULL && nStartIndex >= 0);
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    if (pNewArray->GetSize() > 0) {
        InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->GetSize());
        for (INT_PTR i = 0; i < pNewArray->GetSize(); i++) SetAt(nStartIndex + i, pNewArray->GetAt(i));
    }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD_PTR)m_nSize);
    } else {
        DWORD_PTR nCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nCount, AfxMinStoredSize((const TYPE*)NULL));
        // Grown as elements arrive, in steps that double with what was read, so a count
        // that the data does not back never costs more than a little memory.
        const INT_PTR nFirstStep = 16;
        SetSize(0, -1);
        INT_PTR nDone = 0;
        while ((DWORD_PTR)nDone < nCount) {
            INT_PTR nLeft = (INT_PTR)(nCount - (DWORD_PTR)nDone);
            INT_PTR nStep = nDone > nFirstStep ? nDone : nFirstStep;
            if (nStep > nLeft) nStep = nLeft;
            SetSize(nDone + nStep, -1);
            SerializeElements<TYPE>(ar, m_pData + nDone, nStep);
            nDone += nStep;
        }
        return;
    }
    SerializeElements<TYPE>(ar, m_pData, m_nSize);
}

// ---------------------------------------------------------------------------------------
// CList

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(INT_PTR nBlockSize = 10);
    virtual ~CList() { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() {
        AfxEnsureArg(m_pNodeHead != NULL);
        return m_pNodeHead->data;
    }
    const TYPE& GetHead() const {
        AfxEnsureArg(m_pNodeHead != NULL);
        return m_pNodeHead->data;
    }
    TYPE& GetTail() {
        AfxEnsureArg(m_pNodeTail != NULL);
        return m_pNodeTail->data;
    }
    const TYPE& GetTail() const {
        AfxEnsureArg(m_pNodeTail != NULL);
        return m_pNodeTail->data;
    }

    TYPE RemoveHead();
    TYPE RemoveTail();

    POSITION AddHead(ARG_TYPE newElement);
    POSITION AddTail(ARG_TYPE newElement);
    void AddHead(CList* pNewList);
    void AddTail(CList* pNewList);

    void RemoveAll();

    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    TYPE& GetNext(POSITION& rPosition) {
        CNode* pNode = NodeAt(rPosition);
        rPosition = (POSITION)pNode->pNext;
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        CNode* pNode = NodeAt(rPosition);
        rPosition = (POSITION)pNode->pNext;
        return pNode->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        CNode* pNode = NodeAt(rPosition);
        rPosition = (POSITION)pNode->pPrev;
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const {
        CNode* pNode = NodeAt(rPosition);
        rPosition = (POSITION)pNode->pPrev;
        return pNode->data;
    }

    TYPE& GetAt(POSITION position) { return NodeAt(position)->data; }
    const TYPE& GetAt(POSITION position) const { return NodeAt(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { NodeAt(pos)->data = newElement; }
    void RemoveAt(POSITION position);

    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const;
    POSITION FindIndex(INT_PTR nIndex) const;

    virtual void Serialize(CArchive& ar);

protected:
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
    CNode* m_pNodeFree;
    struct CPlex* m_pBlocks;
    INT_PTR m_nBlockSize;

    CNode* NewNode(CNode* pPrev, CNode* pNext);
    void FreeNode(CNode* pNode);
    static CNode* NodeAt(POSITION position) {
        AfxEnsureArg(position != NULL && position != BEFORE_START_POSITION);
        return (CNode*)position;
    }

private:
    CList(const CList&);
    CList& operator=(const CList&);
};

template <class TYPE, class ARG_TYPE>
CList<TYPE, ARG_TYPE>::CList(INT_PTR nBlockSize)
    : m_pNodeHead(NULL), m_pNodeTail(NULL), m_nCount(0), m_pNodeFree(NULL), m_pBlocks(NULL),
      m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() {
    for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext) pNode->data.~TYPE();
    m_nCount = 0;
    m_pNodeHead = m_pNodeTail = m_pNodeFree = NULL;
    if (m_pBlocks != NULL) m_pBlocks->FreeDataChain();
    m_pBlocks = NULL;
}

template <class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::NewNode(CNode* pPrev, CNode* pNext) {
    if (m_pNodeFree == NULL) {
        // Chain the new block's nodes into the free list, first node last.
        CPlex* pNewBlock = CPlex::Create(m_pBlocks, (UINT_PTR)m_nBlockSize, sizeof(CNode));
        CNode* pNode = (CNode*)pNewBlock->data();
        pNode += m_nBlockSize - 1;
        for (INT_PTR i = m_nBlockSize - 1; i >= 0; i--, pNode--) {
            pNode->pNext = m_pNodeFree;
            m_pNodeFree = pNode;
        }
    }
    CNode* pNode = m_pNodeFree;
    memset((void*)&pNode->data, 0, sizeof(TYPE));
    ::new ((void*)&pNode->data) TYPE;  // may throw: the node stays free
    m_pNodeFree = m_pNodeFree->pNext;
    pNode->pPrev = pPrev;
    pNode->pNext = pNext;
    m_nCount++;
    return pNode;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::FreeNode(CNode* pNode) {
    pNode->data.~TYPE();
    pNode->pNext = m_pNodeFree;
    m_pNodeFree = pNode;
    m_nCount--;
    if (m_nCount == 0) RemoveAll();  // no elements left: release the blocks
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddHead(ARG_TYPE newElement) {
    CNode* pNewNode = NewNode(NULL, m_pNodeHead);
    pNewNode->data = newElement;
    if (m_pNodeHead != NULL)
        m_pNodeHead->pPrev = pNewNode;
    else
        m_pNodeTail = pNewNode;
    m_pNodeHead = pNewNode;
    return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddTail(ARG_TYPE newElement) {
    CNode* pNewNode = NewNode(m_pNodeTail, NULL);
    pNewNode->data = newElement;
    if (m_pNodeTail != NULL)
        m_pNodeTail->pNext = pNewNode;
    else
        m_pNodeHead = pNewNode;
    m_pNodeTail = pNewNode;
    return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList) {
    AfxEnsureArg(pNewList != NULL);
    // Walk a fixed number of nodes so adding a list to itself terminates.
    INT_PTR n = pNewList->GetCount();
    POSITION pos = pNewList->GetTailPosition();
    while (n-- > 0 && pos != NULL) AddHead(pNewList->GetPrev(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList) {
    AfxEnsureArg(pNewList != NULL);
    INT_PTR n = pNewList->GetCount();
    POSITION pos = pNewList->GetHeadPosition();
    while (n-- > 0 && pos != NULL) AddTail(pNewList->GetNext(pos));
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
    AfxEnsureArg(m_pNodeHead != NULL);
    CNode* pOldNode = m_pNodeHead;
    TYPE returnValue = pOldNode->data;
    m_pNodeHead = pOldNode->pNext;
    if (m_pNodeHead != NULL)
        m_pNodeHead->pPrev = NULL;
    else
        m_pNodeTail = NULL;
    FreeNode(pOldNode);
    return returnValue;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
    AfxEnsureArg(m_pNodeTail != NULL);
    CNode* pOldNode = m_pNodeTail;
    TYPE returnValue = pOldNode->data;
    m_pNodeTail = pOldNode->pPrev;
    if (m_pNodeTail != NULL)
        m_pNodeTail->pNext = NULL;
    else
        m_pNodeHead = NULL;
    FreeNode(pOldNode);
    return returnValue;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
    if (position == NULL) return AddHead(newElement);
    CNode* pOldNode = NodeAt(position);
    CNode* pNewNode = NewNode(pOldNode->pPrev, pOldNode);
    pNewNode->data = newElement;
    if (pOldNode->pPrev != NULL)
        pOldNode->pPrev->pNext = pNewNode;
    else
        m_pNodeHead = pNewNode;
    pOldNode->pPrev = pNewNode;
    return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
    if (position == NULL) return AddTail(newElement);
    CNode* pOldNode = NodeAt(position);
    CNode* pNewNode = NewNode(pOldNode, pOldNode->pNext);
    pNewNode->data = newElement;
    if (pOldNode->pNext != NULL)
        pOldNode->pNext->pPrev = pNewNode;
    else
        m_pNodeTail = pNewNode;
    pOldNode->pNext = pNewNode;
    return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
    CNode* pOldNode = NodeAt(position);
    if (pOldNode == m_pNodeHead)
        m_pNodeHead = pOldNode->pNext;
    else
        pOldNode->pPrev->pNext = pOldNode->pNext;
    if (pOldNode == m_pNodeTail)
        m_pNodeTail = pOldNode->pPrev;
    else
        pOldNode->pNext->pPrev = pOldNode->pPrev;
    FreeNode(pOldNode);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR nIndex) const {
    if (nIndex >= m_nCount || nIndex < 0) return NULL;
    CNode* pNode = m_pNodeHead;
    while (nIndex--) pNode = pNode->pNext;
    return (POSITION)pNode;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
    CNode* pNode = (startAfter == NULL) ? m_pNodeHead : NodeAt(startAfter)->pNext;
    for (; pNode != NULL; pNode = pNode->pNext)
        if (CompareElements<TYPE>(&pNode->data, &searchValue)) return (POSITION)pNode;
    return NULL;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD_PTR)m_nCount);
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            SerializeElements<TYPE>(ar, &pNode->data, 1);
    } else {
        DWORD_PTR nNewCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nNewCount, AfxMinStoredSize((const TYPE*)NULL));
        while (nNewCount--) {
            TYPE newData[1] = {};
            SerializeElements<TYPE>(ar, newData, 1);
            AddTail(newData[0]);
        }
    }
}

// ---------------------------------------------------------------------------------------
// CMap

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    // The pair as PLookup and PGetFirstAssoc give it out.
    class CPair {
    public:
        const KEY key;
        VALUE value;

    protected:
        explicit CPair(ARG_KEY keyval) : key(keyval) {}
    };

protected:
    class CAssoc : public CPair {
        friend class CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>;
        CAssoc* pNext;
        UINT nHashValue;  // needed for efficient iteration

    public:
        explicit CAssoc(ARG_KEY key) : CPair(key), pNext(NULL), nHashValue(0) {}
    };

public:
    explicit CMap(INT_PTR nBlockSize = 10);
    virtual ~CMap() { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    const CPair* PLookup(ARG_KEY key) const;
    CPair* PLookup(ARG_KEY key);

    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;
    const CPair* PGetFirstAssoc() const;
    CPair* PGetFirstAssoc();
    const CPair* PGetNextAssoc(const CPair* pAssocRet) const;
    CPair* PGetNextAssoc(const CPair* pAssocRet);

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    virtual void Serialize(CArchive& ar);

protected:
    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    INT_PTR m_nCount;
    CAssoc* m_pFreeList;
    struct CPlex* m_pBlocks;
    INT_PTR m_nBlockSize;

    CAssoc* NewAssoc(ARG_KEY key);
    void FreeAssoc(CAssoc* pAssoc);
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHashBucket, UINT& nHashValue) const;
    CAssoc* NextAssoc(const CAssoc* pAssocRet) const;
    CAssoc* FirstAssoc() const;

private:
    CMap(const CMap&);
    CMap& operator=(const CMap&);
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CMap(INT_PTR nBlockSize)
    : m_pHashTable(NULL), m_nHashTableSize(17), m_nCount(0), m_pFreeList(NULL), m_pBlocks(NULL),
      m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow) {
    AfxEnsureArg(nHashSize > 0);
    if (m_nCount != 0) {
        // Entries exist: move them into the new table rather than orphan them.
        CAssoc** pNewTable = (CAssoc**)(void*)AfxCollectionAlloc(nHashSize, sizeof(CAssoc*));
        memset(pNewTable, 0, sizeof(CAssoc*) * nHashSize);
        for (UINT nBucket = 0; nBucket < m_nHashTableSize; nBucket++) {
            CAssoc* pAssoc = m_pHashTable[nBucket];
            while (pAssoc != NULL) {
                CAssoc* pNext = pAssoc->pNext;
                UINT nNew = pAssoc->nHashValue % nHashSize;
                pAssoc->pNext = pNewTable[nNew];
                pNewTable[nNew] = pAssoc;
                pAssoc = pNext;
            }
        }
        AfxCollectionFree(m_pHashTable);
        m_pHashTable = pNewTable;
        m_nHashTableSize = nHashSize;
        return;
    }
    if (m_pHashTable != NULL) {
        AfxCollectionFree(m_pHashTable);
        m_pHashTable = NULL;
    }
    if (bAllocNow) {
        m_pHashTable = (CAssoc**)(void*)AfxCollectionAlloc(nHashSize, sizeof(CAssoc*));
        memset(m_pHashTable, 0, sizeof(CAssoc*) * nHashSize);
    }
    m_nHashTableSize = nHashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
    if (m_pHashTable != NULL) {
        for (UINT nHash = 0; nHash < m_nHashTableSize; nHash++)
            for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc != NULL;) {
                // The link is read first: after its destructor the association is gone.
                CAssoc* pNext = pAssoc->pNext;
                pAssoc->CAssoc::~CAssoc();
                pAssoc = pNext;
            }
        AfxCollectionFree(m_pHashTable);
        m_pHashTable = NULL;
    }
    m_nCount = 0;
    m_pFreeList = NULL;
    if (m_pBlocks != NULL) m_pBlocks->FreeDataChain();
    m_pBlocks = NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NewAssoc(
    ARG_KEY key) {
    if (m_pFreeList == NULL) {
        CPlex* newBlock = CPlex::Create(m_pBlocks, (UINT_PTR)m_nBlockSize, sizeof(CAssoc));
        CAssoc* pAssoc = (CAssoc*)newBlock->data();
        pAssoc += m_nBlockSize - 1;
        for (INT_PTR i = m_nBlockSize - 1; i >= 0; i--, pAssoc--) {
            pAssoc->pNext = m_pFreeList;
            m_pFreeList = pAssoc;
        }
    }
    CAssoc* pAssoc = m_pFreeList;
    CAssoc* pNextFree = pAssoc->pNext;
    memset((void*)pAssoc, 0, sizeof(CAssoc));
    ::new ((void*)pAssoc) CAssoc(key);  // may throw: the free list is left intact
    m_pFreeList = pNextFree;
    m_nCount++;
    return pAssoc;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FreeAssoc(CAssoc* pAssoc) {
    pAssoc->CAssoc::~CAssoc();
    pAssoc->pNext = m_pFreeList;
    m_pFreeList = pAssoc;
    m_nCount--;
    if (m_nCount == 0) RemoveAll();  // no entries left: release everything
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(
    ARG_KEY key, UINT& nHashBucket, UINT& nHashValue) const {
    nHashValue = HashKey<ARG_KEY>(key);
    nHashBucket = nHashValue % m_nHashTableSize;
    if (m_pHashTable == NULL) return NULL;
    for (CAssoc* pAssoc = m_pHashTable[nHashBucket]; pAssoc != NULL; pAssoc = pAssoc->pNext)
        if (pAssoc->nHashValue == nHashValue && CompareElements(&pAssoc->key, &key)) return pAssoc;
    return NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const {
    UINT nHashBucket, nHashValue;
    CAssoc* pAssoc = GetAssocAt(key, nHashBucket, nHashValue);
    if (pAssoc == NULL) return FALSE;
    rValue = pAssoc->value;
    return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
const typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CPair* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::PLookup(
    ARG_KEY key) const {
    UINT nHashBucket, nHashValue;
    return GetAssocAt(key, nHashBucket, nHashValue);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CPair* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::PLookup(
    ARG_KEY key) {
    UINT nHashBucket, nHashValue;
    return GetAssocAt(key, nHashBucket, nHashValue);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
    UINT nHashBucket, nHashValue;
    CAssoc* pAssoc = GetAssocAt(key, nHashBucket, nHashValue);
    if (pAssoc == NULL) {
        if (m_pHashTable == NULL) InitHashTable(m_nHashTableSize);
        pAssoc = NewAssoc(key);
        pAssoc->nHashValue = nHashValue;
        // Put it at the head of its bucket.
        pAssoc->pNext = m_pHashTable[nHashBucket];
        m_pHashTable[nHashBucket] = pAssoc;
    }
    return pAssoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
    if (m_pHashTable == NULL) return FALSE;
    UINT nHashValue = HashKey<ARG_KEY>(key);
    CAssoc** ppAssocPrev = &m_pHashTable[nHashValue % m_nHashTableSize];
    for (CAssoc* pAssoc = *ppAssocPrev; pAssoc != NULL; pAssoc = pAssoc->pNext) {
        if (pAssoc->nHashValue == nHashValue && CompareElements(&pAssoc->key, &key)) {
            *ppAssocPrev = pAssoc->pNext;
            FreeAssoc(pAssoc);
            return TRUE;
        }
        ppAssocPrev = &pAssoc->pNext;
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FirstAssoc() const {
    if (m_nCount == 0 || m_pHashTable == NULL) return NULL;
    for (UINT nBucket = 0; nBucket < m_nHashTableSize; nBucket++)
        if (m_pHashTable[nBucket] != NULL) return m_pHashTable[nBucket];
    return NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NextAssoc(
    const CAssoc* pAssocRet) const {
    CAssoc* pAssocNext = pAssocRet->pNext;
    if (pAssocNext == NULL) {
        for (UINT nBucket = (pAssocRet->nHashValue % m_nHashTableSize) + 1; nBucket < m_nHashTableSize; nBucket++)
            if ((pAssocNext = m_pHashTable[nBucket]) != NULL) break;
    }
    return pAssocNext;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey,
                                                       VALUE& rValue) const {
    CAssoc* pAssocRet = (CAssoc*)rNextPosition;
    if (pAssocRet == (CAssoc*)BEFORE_START_POSITION) pAssocRet = FirstAssoc();
    AfxEnsureArg(pAssocRet != NULL);
    rNextPosition = (POSITION)NextAssoc(pAssocRet);
    rKey = pAssocRet->key;
    rValue = pAssocRet->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
const typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CPair*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::PGetFirstAssoc() const {
    return FirstAssoc();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CPair* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::PGetFirstAssoc() {
    return FirstAssoc();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
const typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CPair* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::PGetNextAssoc(
    const CPair* pAssocRet) const {
    AfxEnsureArg(pAssocRet != NULL && m_pHashTable != NULL);
    return NextAssoc(static_cast<const CAssoc*>(pAssocRet));
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CPair* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::PGetNextAssoc(
    const CPair* pAssocRet) {
    AfxEnsureArg(pAssocRet != NULL && m_pHashTable != NULL);
    return NextAssoc(static_cast<const CAssoc*>(pAssocRet));
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD_PTR)m_nCount);
        if (m_nCount == 0) return;
        for (CAssoc* pAssoc = FirstAssoc(); pAssoc != NULL; pAssoc = NextAssoc(pAssoc)) {
            SerializeElements<KEY>(ar, const_cast<KEY*>(&pAssoc->key), 1);
            SerializeElements<VALUE>(ar, &pAssoc->value, 1);
        }
    } else {
        DWORD_PTR nNewCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nNewCount,
                             AfxMinStoredSize((const KEY*)NULL) + AfxMinStoredSize((const VALUE*)NULL));
        while (nNewCount--) {
            KEY newKey[1] = {};
            VALUE newValue[1] = {};
            SerializeElements<KEY>(ar, newKey, 1);
            SerializeElements<VALUE>(ar, newValue, 1);
            SetAt(newKey[0], newValue[0]);
            // The table grows with what arrives: with the classic fixed table, a map of
            // many entries from a file would take time quadratic in its size to load.
            if (m_nCount > (INT_PTR)m_nHashTableSize * 4 && m_nHashTableSize < 0x1000000u)
                InitHashTable(m_nHashTableSize * 4 + 1, TRUE);
        }
    }
}

// ---------------------------------------------------------------------------------------
// Typed pointer wrappers over the pointer collections.

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(INT_PTR nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return (TYPE&)BASE_CLASS::ElementAt(nIndex); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray<BASE_CLASS, TYPE>& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray<BASE_CLASS, TYPE>& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray<BASE_CLASS, TYPE>* pNewArray) {
        BASE_CLASS::InsertAt(nStartIndex, pNewArray);
    }
    TYPE* GetData() { return (TYPE*)BASE_CLASS::GetData(); }
    const TYPE* GetData() const { return (const TYPE*)BASE_CLASS::GetData(); }
    TYPE operator[](INT_PTR nIndex) const { return (TYPE)BASE_CLASS::operator[](nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return (TYPE&)BASE_CLASS::operator[](nIndex); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
    TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
    TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
    TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }
    TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
    TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList<BASE_CLASS, TYPE>* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList<BASE_CLASS, TYPE>* pNewList) { BASE_CLASS::AddTail(pNewList); }
    TYPE& GetNext(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetNext(rPosition); }
    TYPE GetNext(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetPrev(rPosition); }
    TYPE GetPrev(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetPrev(rPosition); }
    TYPE& GetAt(POSITION position) { return (TYPE&)BASE_CLASS::GetAt(position); }
    TYPE GetAt(POSITION position) const { return (TYPE)BASE_CLASS::GetAt(position); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
    POSITION Find(TYPE searchValue, POSITION startAfter = NULL) const { return BASE_CLASS::Find(searchValue, startAfter); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const {
        typename BASE_CLASS::BASE_VALUE value = typename BASE_CLASS::BASE_VALUE();
        if (!BASE_CLASS::Lookup(key, value)) return FALSE;
        rValue = (VALUE)value;
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) { return (VALUE&)BASE_CLASS::operator[](key); }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
        typename BASE_CLASS::BASE_KEY key = typename BASE_CLASS::BASE_KEY();
        typename BASE_CLASS::BASE_VALUE value = typename BASE_CLASS::BASE_VALUE();
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = (KEY)key;
        rValue = (VALUE)value;
    }
};

// ---------------------------------------------------------------------------------------
// The classic non-template collections.

#define AFX_DECLARE_PTR_MAP_TYPES(key, argkey, value, argvalue) \
    typedef key BASE_KEY;                                      \
    typedef argkey BASE_ARG_KEY;                               \
    typedef value BASE_VALUE;                                  \
    typedef argvalue BASE_ARG_VALUE;

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

// Pointers are not serializable; the classic array keeps CObject's empty Serialize.
class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
public:
    virtual void Serialize(CArchive& ar) { CObject::Serialize(ar); }
};

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
};

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
public:
    INT_PTR Add(LPCTSTR newElement) { return CArray<CString, const CString&>::Add(CString(newElement)); }
    INT_PTR Add(const CString& newElement) { return CArray<CString, const CString&>::Add(newElement); }
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
    virtual void Serialize(CArchive& ar) { CObject::Serialize(ar); }
};

class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList<CString, const CString&>(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    AFX_DECLARE_PTR_MAP_TYPES(void*, void*, void*, void*)
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap<void*, void*, void*, void*>(nBlockSize) {}
    virtual void Serialize(CArchive& ar) { CObject::Serialize(ar); }
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
    DECLARE_DYNAMIC(CMapPtrToWord)
public:
    AFX_DECLARE_PTR_MAP_TYPES(void*, void*, WORD, WORD)
    explicit CMapPtrToWord(INT_PTR nBlockSize = 10) : CMap<void*, void*, WORD, WORD>(nBlockSize) {}
    virtual void Serialize(CArchive& ar) { CObject::Serialize(ar); }
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    AFX_DECLARE_PTR_MAP_TYPES(WORD, WORD, void*, void*)
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap<WORD, WORD, void*, void*>(nBlockSize) {}
    virtual void Serialize(CArchive& ar) { CObject::Serialize(ar); }
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_SERIAL(CMapWordToOb)
public:
    AFX_DECLARE_PTR_MAP_TYPES(WORD, WORD, CObject*, CObject*)
    explicit CMapWordToOb(INT_PTR nBlockSize = 10) : CMap<WORD, WORD, CObject*, CObject*>(nBlockSize) {}
};

class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    AFX_DECLARE_PTR_MAP_TYPES(CString, LPCTSTR, void*, void*)
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap<CString, LPCTSTR, void*, void*>(nBlockSize) {}
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const {
        const CPair* p = PLookup(key);
        if (p == NULL) return FALSE;
        rKey = (LPCTSTR)p->key;
        return TRUE;
    }
    virtual void Serialize(CArchive& ar) { CObject::Serialize(ar); }
};

class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
    DECLARE_SERIAL(CMapStringToOb)
public:
    AFX_DECLARE_PTR_MAP_TYPES(CString, LPCTSTR, CObject*, CObject*)
    explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap<CString, LPCTSTR, CObject*, CObject*>(nBlockSize) {}
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const {
        const CPair* p = PLookup(key);
        if (p == NULL) return FALSE;
        rKey = (LPCTSTR)p->key;
        return TRUE;
    }
};

class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap<CString, LPCTSTR, CString, LPCTSTR>(nBlockSize) {}
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const {
        const CPair* p = PLookup(key);
        if (p == NULL) return FALSE;
        rKey = (LPCTSTR)p->key;
        return TRUE;
    }
};
