// The classic non-template collections (byte, word, pointer, object and string arrays,
// lists and maps), each a fixed instance of the templates with its run-time class.
#pragma once
#include "framework/coll_array.h"
#include "framework/coll_list.h"
#include "framework/coll_map.h"

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
