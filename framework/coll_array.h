// The CArray template: a growable array of elements constructed in place in raw storage.
#pragma once
#include "framework/coll_elements.h"

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
