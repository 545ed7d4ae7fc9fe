// The CMap template: a hash map whose associations come from CPlex blocks; iteration runs
// bucket by bucket, newest entry first within a bucket. A key goes to the bucket its hash
// value names modulo the table size, as callers that store maps expect; only a map that a
// load found crowded switches to buckets of a salted mix of the hash value (see LoadAssoc).
#pragma once
#include "framework/coll_elements.h"

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
    UINT m_nHashSalt;  // 0: the classic buckets, hash value modulo the table size

    UINT BucketOf(UINT nHashValue) const {
        return (m_nHashSalt == 0 ? nHashValue : AfxMixHashValue(nHashValue ^ m_nHashSalt)) % m_nHashTableSize;
    }

    CAssoc* NewAssoc(ARG_KEY key);
    void FreeAssoc(CAssoc* pAssoc);
    // Moves every entry into a new table of nHashSize buckets indexed with nHashSalt.
    void Rehash(UINT nHashSize, UINT nHashSalt);
    // Loading one entry as SetAt would, with the work per entry bounded: a chain may hold
    // LOAD_MAX_SAME_HASH keys of one hash value (no table can spread them, and more can
    // be told apart only by comparing them all, so the archive is refused). A chain of
    // LOAD_MAX_CHAIN keys of other hash values, which a file can aim at every table size
    // a load reaches, makes the map index its table by a salted mix of the hash values
    // instead, which the file cannot know in advance.
    enum { LOAD_MAX_SAME_HASH = 128, LOAD_MAX_CHAIN = 64 };
    void LoadAssoc(ARG_KEY key, ARG_VALUE newValue);
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
      m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10), m_nHashSalt(0) {}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow) {
    AfxEnsureArg(nHashSize > 0);
    if (m_nCount != 0) {
        Rehash(nHashSize, m_nHashSalt);
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
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Rehash(UINT nHashSize, UINT nHashSalt) {
    // Entries exist: move them into the new table rather than orphan them.
    CAssoc** pNewTable = (CAssoc**)(void*)AfxCollectionAlloc(nHashSize, sizeof(CAssoc*));
    memset(pNewTable, 0, sizeof(CAssoc*) * nHashSize);
    CAssoc** pOldTable = m_pHashTable;
    const UINT nOldSize = m_nHashTableSize;
    m_pHashTable = pNewTable;
    m_nHashTableSize = nHashSize;
    m_nHashSalt = nHashSalt;
    for (UINT nBucket = 0; nBucket < nOldSize; nBucket++) {
        CAssoc* pAssoc = pOldTable[nBucket];
        while (pAssoc != NULL) {
            CAssoc* pNext = pAssoc->pNext;
            UINT nNew = BucketOf(pAssoc->nHashValue);
            pAssoc->pNext = pNewTable[nNew];
            pNewTable[nNew] = pAssoc;
            pAssoc = pNext;
        }
    }
    AfxCollectionFree(pOldTable);
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
    m_nHashSalt = 0;  // an empty map starts over with the classic buckets
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
    nHashBucket = BucketOf(nHashValue);
    if (m_pHashTable == NULL) return NULL;
    for (CAssoc* pAssoc = m_pHashTable[nHashBucket]; pAssoc != NULL; pAssoc = pAssoc->pNext)
        if (pAssoc->nHashValue == nHashValue && CompareElements(&pAssoc->key, &key)) return pAssoc;
    return NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::LoadAssoc(ARG_KEY key, ARG_VALUE newValue) {
    if (m_pHashTable == NULL) InitHashTable(m_nHashTableSize);
    const UINT nHashValue = HashKey<ARG_KEY>(key);
    const UINT nBucket = BucketOf(nHashValue);
    UINT nSameHash = 0, nOthers = 0;
    for (CAssoc* pAssoc = m_pHashTable[nBucket]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
        if (pAssoc->nHashValue != nHashValue) {
            nOthers++;
        } else if (CompareElements(&pAssoc->key, &key)) {
            pAssoc->value = newValue;
            return;
        } else {
            nSameHash++;
        }
    }
    if (nSameHash >= LOAD_MAX_SAME_HASH) AfxThrowArchiveException(CArchiveException::genericException);
    // A new key goes to the head of its bucket, as operator[] puts it.
    CAssoc* pAssoc = NewAssoc(key);
    pAssoc->nHashValue = nHashValue;
    pAssoc->pNext = m_pHashTable[nBucket];
    m_pHashTable[nBucket] = pAssoc;
    pAssoc->value = newValue;
    // Keys of other hash values crowd this bucket. Growing the table cannot spread keys
    // whose hash values agree modulo every size it would take, so the table is indexed by
    // a mix the file cannot aim at, once: after that, a crowded bucket is chance or keys
    // of one hash value (bounded above), and the entries' order in the file never decides
    // whether the map loads.
    if (nOthers >= LOAD_MAX_CHAIN && m_nHashSalt == 0)
        Rehash(m_nHashTableSize, AfxCollectionHashSalt());
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
    CAssoc** ppAssocPrev = &m_pHashTable[BucketOf(nHashValue)];
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
        for (UINT nBucket = BucketOf(pAssocRet->nHashValue) + 1; nBucket < m_nHashTableSize; nBucket++)
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
            LoadAssoc(newKey[0], newValue[0]);
            // The table grows with what arrives: with the classic fixed table, a map of
            // many entries from a file would take time quadratic in its size to load.
            if (m_nCount > (INT_PTR)m_nHashTableSize * 4 && m_nHashTableSize < 0x1000000u)
                InitHashTable(m_nHashTableSize * 4 + 1, TRUE);
        }
    }
}
