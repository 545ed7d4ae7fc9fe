// The object model: CObject, run-time class records and the DECLARE_/IMPLEMENT_
// macros. Every class declared with one of the macros is entered in a process-wide
// registry when its translation unit's statics are constructed, so a class can be
// created by name (archives, paint-manager installation) whatever the link order.
#pragma once
#include "framework/platform.h"

class CObject;
class CArchive;
class CDumpContext;

// A run-time class record. Plain aggregate, so every record is constant-initialised
// and usable from other translation units' static constructors.
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                           // 0xFFFF: not serialisable
    CObject* (PASCAL* m_pfnCreateObject)();   // NULL: not dynamically creatable
    CRuntimeClass* (PASCAL* m_pfnGetBaseClass)();
    CRuntimeClass* m_pBaseClass;              // filled in on registration; prefer GetBaseClass()
    CRuntimeClass* m_pNextClass;              // registry chain

    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    CRuntimeClass* GetBaseClass() const;

    // Registry of every declared class.
    static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
    static CObject* PASCAL CreateObject(LPCSTR lpszClassName);
    static CRuntimeClass* PASCAL GetFirstClass();

    // Class records in archives: WORD schema, WORD name length, name bytes.
    void Store(CArchive& ar) const;
    // Answers NULL for a name that is too long or unknown; the schema read is
    // returned through pwSchemaNum either way.
    static CRuntimeClass* PASCAL Load(CArchive& ar, UINT* pwSchemaNum);
};

// Entering a class in the registry from a static constructor.
struct AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};
void AFXAPI AfxClassInit(CRuntimeClass* pNewClass);

#define VERSIONABLE_SCHEMA (0x80000000)

// Sources written for debug allocation tracking use "new" through this name.
#ifndef DEBUG_NEW
#define DEBUG_NEW new
#endif

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())
#define RUNTIME_CLASS_T(class_name, T1) (class_name<T1>::GetThisClass())

// ---- Declarations (inside the class body) ---------------------------------------
#define DECLARE_DYNAMIC(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    static CRuntimeClass* PASCAL GetThisClass() { return &class##class_name; } \
    virtual CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
public: \
    static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name) \
    DECLARE_DYNCREATE(class_name) \
public: \
    friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

// ---- Definitions (one translation unit) -----------------------------------------
#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    CRuntimeClass class_name::class##class_name = { \
        #class_name, (int)sizeof(class class_name), (UINT)(wSchema), pfnNew, \
        &base_class_name::GetThisClass, NULL, NULL }; \
    static const AFX_CLASSINIT _init_##class_name(&class_name::class##class_name); \
    CRuntimeClass* class_name::GetRuntimeClass() const { return &class_name::class##class_name; }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* PASCAL class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema) \
    CObject* PASCAL class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
    CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb) \
    { pOb = (class_name*)ar.ReadObject(RUNTIME_CLASS(class_name)); return ar; }

// Class templates with one parameter (e.g. template <class T> class CExtNCW : public T).
// The base may be the parameter itself. Instances are not entered in the name registry
// (they all share one name); RUNTIME_CLASS(CExtNCW<CWnd>) and IsKindOf work as usual.
// Put these in the header, after the template's definition.
#define IMPLEMENT_RUNTIMECLASS_T(class_name, T1, base_class_name, wSchema, pfnNew) \
    template <class T1> CRuntimeClass class_name<T1>::class##class_name = { \
        #class_name, (int)sizeof(class_name<T1>), (UINT)(wSchema), pfnNew, \
        &base_class_name::GetThisClass, NULL, NULL }; \
    template <class T1> CRuntimeClass* class_name<T1>::GetRuntimeClass() const \
    { return &class_name<T1>::class##class_name; }

#define IMPLEMENT_DYNAMIC_T(class_name, T1, base_class_name) \
    IMPLEMENT_RUNTIMECLASS_T(class_name, T1, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE_T(class_name, T1, base_class_name) \
    template <class T1> CObject* PASCAL class_name<T1>::CreateObject() { return new class_name<T1>; } \
    IMPLEMENT_RUNTIMECLASS_T(class_name, T1, base_class_name, 0xFFFF, class_name<T1>::CreateObject)

// ---- CObject ----------------------------------------------------------------------
class CObject
{
public:
    static CRuntimeClass classCObject;
    static CRuntimeClass* PASCAL GetThisClass() { return &classCObject; }
    virtual CRuntimeClass* GetRuntimeClass() const;

    virtual ~CObject() {}

    BOOL IsSerializable() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}
    virtual void Dump(CDumpContext& dc) const { (void)dc; }

protected:
    CObject() {}

private:
    // Objects are not copyable unless a class says how.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// Down-casts: DYNAMIC_DOWNCAST answers NULL when the object is not of the class.
CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
#define DYNAMIC_DOWNCAST(class_name, object) \
    ((class_name*)AfxDynamicDownCast(RUNTIME_CLASS(class_name), (CObject*)(object)))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT nBytes, BOOL bReadWrite = TRUE);
BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength = -1);
