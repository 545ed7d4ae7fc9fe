// CObject and the run-time class registry.
#include "framework/object.h"
#include "framework/exceptions.h"
#include <string.h>
#if __has_include("framework/archive.h")
#include "framework/archive.h"
#define FRAMEWORK_HAVE_ARCHIVE 1
#endif

// Zero-initialised before any static constructor runs, so classes registered from
// other translation units' statics always find a valid (possibly empty) chain.
static CRuntimeClass* g_pFirstClass = NULL;

CRuntimeClass CObject::classCObject = {
    "CObject", (int)sizeof(CObject), 0xFFFF, NULL, NULL, NULL, NULL };
static const AFX_CLASSINIT _init_CObject(&CObject::classCObject);

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass)
{
    if (pNewClass == NULL)
        return;
    if (pNewClass->m_pfnGetBaseClass != NULL)
        pNewClass->m_pBaseClass = pNewClass->m_pfnGetBaseClass();
    for (CRuntimeClass* p = g_pFirstClass; p != NULL; p = p->m_pNextClass)
        if (p == pNewClass)
            return;
    pNewClass->m_pNextClass = g_pFirstClass;
    g_pFirstClass = pNewClass;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    AfxClassInit(pNewClass);
}

CRuntimeClass* CRuntimeClass::GetBaseClass() const
{
    if (m_pfnGetBaseClass != NULL)
        return m_pfnGetBaseClass();
    return m_pBaseClass;
}

CObject* CRuntimeClass::CreateObject()
{
    if (m_pfnCreateObject == NULL)
        return NULL;
    return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    if (pBaseClass == NULL)
        return FALSE;
    for (const CRuntimeClass* p = this; p != NULL; p = p->GetBaseClass())
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::GetFirstClass()
{
    return g_pFirstClass;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (lpszClassName == NULL)
        return NULL;
    for (CRuntimeClass* p = g_pFirstClass; p != NULL; p = p->m_pNextClass)
        if (p->m_lpszClassName != NULL && strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    return NULL;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass != NULL ? pClass->CreateObject() : NULL;
}

#ifdef FRAMEWORK_HAVE_ARCHIVE
void CRuntimeClass::Store(CArchive& ar) const
{
    WORD nLen = (WORD)strlen(m_lpszClassName);
    WORD wSchema = (WORD)m_wSchema;
    ar.Write(&wSchema, sizeof(wSchema));
    ar.Write(&nLen, sizeof(nLen));
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema = 0, nLen = 0;
    if (ar.Read(&wSchema, sizeof(wSchema)) != sizeof(wSchema))
        AfxThrowArchiveException(CArchiveException::endOfFile);
    if (pwSchemaNum != NULL)
        *pwSchemaNum = wSchema;
    if (ar.Read(&nLen, sizeof(nLen)) != sizeof(nLen))
        AfxThrowArchiveException(CArchiveException::endOfFile);
    char szClassName[64];
    if (nLen >= sizeof(szClassName) || ar.Read(szClassName, nLen) != nLen)
        return NULL;
    szClassName[nLen] = '\0';
    return FromName(szClassName);
}
#endif

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &CObject::classCObject;
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive& ar)
{
    (void)ar;
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject != NULL && pObject->IsKindOf(pClass))
        return pObject;
    return NULL;
}

BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT nBytes, BOOL bReadWrite)
{
    (void)bReadWrite;
    return lp != NULL || nBytes == 0;
}

BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength)
{
    (void)nLength;
    return lpsz != NULL;
}
