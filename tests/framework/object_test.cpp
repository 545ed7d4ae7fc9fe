// Run-time classes: creation by name, derivation, schemas, down-casts and the
// template form used for window-class wrappers.
#include <gtest/gtest.h>
#include <string.h>
#include "framework/object.h"
#include "framework/archive.h"
#include "framework/exceptions.h"

class CFtShape : public CObject
{
    DECLARE_SERIAL(CFtShape)
public:
    CFtShape() : m_nSides(0) {}
    int m_nSides;
};

class CFtSquare : public CFtShape
{
    DECLARE_DYNCREATE(CFtSquare)
public:
    CFtSquare() { m_nSides = 4; }
    char m_padding[40];
};

class CFtVersionedShape : public CFtShape
{
    DECLARE_SERIAL(CFtVersionedShape)
};

// Known by class but not creatable.
class CFtAbstractTool : public CObject
{
    DECLARE_DYNAMIC(CFtAbstractTool)
};

// A wrapper that derives from its parameter, as the non-client window wrappers do.
template <class BASE>
class CFtWrapped : public BASE
{
    DECLARE_DYNCREATE(CFtWrapped)
public:
    int m_nWrapped = 1;
};
IMPLEMENT_DYNCREATE_T(CFtWrapped, BASE, BASE)

// An ordinary class built on a template instance.
class CFtOnWrapped : public CFtWrapped<CFtSquare>
{
    DECLARE_DYNAMIC(CFtOnWrapped)
};

IMPLEMENT_SERIAL(CFtShape, CObject, 1)
IMPLEMENT_DYNCREATE(CFtSquare, CFtShape)
IMPLEMENT_SERIAL(CFtVersionedShape, CFtShape, VERSIONABLE_SCHEMA | 3)
IMPLEMENT_DYNAMIC(CFtAbstractTool, CObject)
IMPLEMENT_DYNAMIC(CFtOnWrapped, CFtWrapped<CFtSquare>)

TEST(RuntimeClass, CreateByName)
{
    CObject* pObject = CRuntimeClass::CreateObject("CFtSquare");
    ASSERT_TRUE(pObject != NULL);
    EXPECT_EQ(RUNTIME_CLASS(CFtSquare), pObject->GetRuntimeClass());
    EXPECT_EQ(4, static_cast<CFtSquare*>(pObject)->m_nSides) << "constructed, not just allocated";
    delete pObject;

    CRuntimeClass* pClass = CRuntimeClass::FromName("CFtVersionedShape");
    ASSERT_EQ(RUNTIME_CLASS(CFtVersionedShape), pClass);
    pObject = pClass->CreateObject();
    ASSERT_TRUE(pObject != NULL);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CFtShape)));
    delete pObject;

    // The framework's own classes are registered from its library's statics.
    EXPECT_EQ(RUNTIME_CLASS(CFileException), CRuntimeClass::FromName("CFileException"));
    EXPECT_EQ(RUNTIME_CLASS(CObject), CRuntimeClass::FromName("CObject"));

    EXPECT_TRUE(CRuntimeClass::FromName("CNoSuchClass") == NULL);
    EXPECT_TRUE(CRuntimeClass::FromName(NULL) == NULL);
    EXPECT_TRUE(CRuntimeClass::CreateObject("CNoSuchClass") == NULL);
    EXPECT_TRUE(CRuntimeClass::CreateObject("CFtAbstractTool") == NULL) << "not dynamically creatable";
    EXPECT_TRUE(RUNTIME_CLASS(CObject)->CreateObject() == NULL);
}

TEST(RuntimeClass, RegistryHoldsEachClassOnce)
{
    int nShape = 0, nTotal = 0;
    for (CRuntimeClass* p = CRuntimeClass::GetFirstClass(); p != NULL && nTotal < 100000; p = p->m_pNextClass)
    {
        ++nTotal;
        if (strcmp(p->m_lpszClassName, "CFtShape") == 0)
            ++nShape;
    }
    EXPECT_EQ(1, nShape);
    EXPECT_LT(nTotal, 100000) << "the chain must end";
}

TEST(RuntimeClass, DerivationAndKinds)
{
    CFtSquare square;
    EXPECT_TRUE(square.IsKindOf(RUNTIME_CLASS(CFtSquare)));
    EXPECT_TRUE(square.IsKindOf(RUNTIME_CLASS(CFtShape)));
    EXPECT_TRUE(square.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(square.IsKindOf(RUNTIME_CLASS(CFtVersionedShape)));
    EXPECT_FALSE(square.IsKindOf(RUNTIME_CLASS(CFtAbstractTool)));
    EXPECT_FALSE(square.IsKindOf(NULL));

    EXPECT_EQ(RUNTIME_CLASS(CFtShape), RUNTIME_CLASS(CFtSquare)->GetBaseClass());
    EXPECT_EQ(RUNTIME_CLASS(CFtShape), RUNTIME_CLASS(CFtSquare)->m_pBaseClass);
    EXPECT_TRUE(RUNTIME_CLASS(CObject)->GetBaseClass() == NULL);
    EXPECT_TRUE(RUNTIME_CLASS(CFtSquare)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(RUNTIME_CLASS(CFtShape)->IsDerivedFrom(RUNTIME_CLASS(CFtSquare)));

    EXPECT_STREQ("CFtSquare", RUNTIME_CLASS(CFtSquare)->m_lpszClassName);
    EXPECT_EQ((int)sizeof(CFtSquare), RUNTIME_CLASS(CFtSquare)->m_nObjectSize);
}

TEST(RuntimeClass, SchemasAndSerializability)
{
    EXPECT_EQ(1u, RUNTIME_CLASS(CFtShape)->m_wSchema);
    EXPECT_EQ(0x80000003u, RUNTIME_CLASS(CFtVersionedShape)->m_wSchema);
    EXPECT_EQ(0xFFFFu, RUNTIME_CLASS(CFtSquare)->m_wSchema);

    CFtShape shape;
    CFtSquare square;
    CFtVersionedShape versioned;
    EXPECT_TRUE(shape.IsSerializable());
    EXPECT_TRUE(versioned.IsSerializable());
    EXPECT_FALSE(square.IsSerializable()) << "creatable is not serialisable";
}

TEST(RuntimeClass, DownCasts)
{
    CFtSquare square;
    CObject* pObject = &square;
    EXPECT_EQ(&square, DYNAMIC_DOWNCAST(CFtShape, pObject));
    EXPECT_EQ(&square, DYNAMIC_DOWNCAST(CFtSquare, pObject));
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CFtVersionedShape, pObject) == NULL);
    EXPECT_TRUE(DYNAMIC_DOWNCAST(CFtShape, (CObject*)NULL) == NULL);
    EXPECT_EQ(&square, STATIC_DOWNCAST(CFtSquare, pObject));
}

TEST(RuntimeClass, TemplateClassesKnowTheirParameterAsBase)
{
    CFtWrapped<CFtSquare> wrapped;
    CRuntimeClass* pClass = wrapped.GetRuntimeClass();
    EXPECT_STREQ("CFtWrapped", pClass->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CFtWrapped<CFtSquare>), pClass);
    EXPECT_NE(RUNTIME_CLASS(CFtWrapped<CFtShape>), pClass) << "each instance has its own class";
    EXPECT_EQ(RUNTIME_CLASS(CFtSquare), pClass->GetBaseClass());
    EXPECT_TRUE(wrapped.IsKindOf(RUNTIME_CLASS(CFtShape)));
    EXPECT_FALSE(CFtWrapped<CFtShape>().IsKindOf(RUNTIME_CLASS(CFtSquare)));
    EXPECT_EQ((int)sizeof(CFtWrapped<CFtSquare>), pClass->m_nObjectSize);

    CObject* pObject = pClass->CreateObject();
    ASSERT_TRUE(pObject != NULL);
    EXPECT_EQ(pClass, pObject->GetRuntimeClass());
    EXPECT_EQ(4, static_cast<CFtWrapped<CFtSquare>*>(pObject)->m_nSides);
    delete pObject;

    CFtOnWrapped onWrapped;
    EXPECT_EQ(pClass, RUNTIME_CLASS(CFtOnWrapped)->GetBaseClass());
    EXPECT_TRUE(onWrapped.IsKindOf(RUNTIME_CLASS(CFtSquare)));
    EXPECT_EQ(RUNTIME_CLASS(CFtOnWrapped), CRuntimeClass::FromName("CFtOnWrapped"));
}
