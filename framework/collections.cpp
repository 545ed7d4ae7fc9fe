// Storage for the collections and the run-time classes of the non-template ones.
#include "framework/collections.h"
#include <stdlib.h>

CPlex* PASCAL CPlex::Create(CPlex*& pHead, UINT_PTR nMax, UINT_PTR cbElement) {
    AfxEnsureArg(nMax > 0 && cbElement > 0);
    if (nMax > (((UINT_PTR)-1) - sizeof(CPlex)) / cbElement) AfxThrowMemoryException();
    CPlex* p = (CPlex*)(void*)AfxCollectionAlloc(1, sizeof(CPlex) + nMax * cbElement);
    p->pNext = pHead;
    pHead = p;
    return p;
}

void CPlex::FreeDataChain() {
    CPlex* p = this;
    while (p != NULL) {
        CPlex* pNext = p->pNext;
        AfxCollectionFree(p);
        p = pNext;
    }
}

BYTE* AFXAPI AfxCollectionAlloc(UINT_PTR nCount, UINT_PTR cbElement) {
    if (cbElement == 0 || nCount > ((UINT_PTR)0x7FFFFFFF) / cbElement) AfxThrowMemoryException();
    UINT_PTR nBytes = nCount * cbElement;
    void* p = malloc(nBytes != 0 ? nBytes : 1);
    if (p == NULL) AfxThrowMemoryException();
    return (BYTE*)p;
}

void AFXAPI AfxCollectionFree(void* p) {
    free(p);
}

UINT AFXAPI AfxCollectionHashSalt() {
    // Not secret, only unknown to whoever wrote a file before this run: the clock, the
    // process and a count of the salts given out.
    static volatile LONG s_nCalls = 0;
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    const UINT nCall = (UINT)InterlockedIncrement(&s_nCalls);
    UINT nSalt = AfxMixHashValue(t.LowPart ^ (UINT)t.HighPart * 0x9E3779B9u ^ GetCurrentProcessId());
    nSalt = AfxMixHashValue(nSalt ^ nCall * 0x7FEB352Du ^ GetTickCount());
    return nSalt != 0 ? nSalt : 1;
}

void AFXAPI AfxCheckArchiveCount(CArchive& ar, DWORD_PTR nCount, UINT_PTR nMinSize) {
    if (!ar.CanHoldBytes((ULONGLONG)nCount * (ULONGLONG)(nMinSize != 0 ? nMinSize : 1)))
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
}

IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
