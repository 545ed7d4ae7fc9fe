// CRecentFileList: the application's most recently used files, newest first, kept in
// the application's profile under a section with numbered entries ("File1", ...), and
// shortened for display in menus (relative to a directory, abbreviated to a length).
#pragma once
#include "framework/str.h"
#include "framework/platform.h"

class CRecentFileList {
public:
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize, int nMaxDispLen = 16);
    virtual ~CRecentFileList();

    int GetSize() const { return m_nSize; }
    CString& operator[](int nIndex) { return m_arrNames[nIndex]; }

    // Puts the file (made a full path) first; an entry for the same file moves up, the
    // oldest drops off the end.
    virtual void Add(LPCTSTR lpszPathName);
    virtual void Remove(int nIndex);
    // The name shown for an entry: only the file title when it lies in lpszCurDir (a
    // directory with its trailing backslash, nCurDir characters), else the path
    // abbreviated to the display length; FALSE for an empty entry.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;
    virtual void ReadList();
    virtual void WriteList();

    int m_nSize;
    CString* m_arrNames;
    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart;
    int m_nMaxDisplayLength;
    CString m_strOriginal;
};

// Shortens a path in place to at most cchMax characters: "C:\...\dir\name.ext" keeping
// the root and as many trailing parts as fit; with bAtLeastName the file name alone is
// kept even when it is longer.
void AFXAPI AfxAbbreviateName(CString& strPath, int cchMax, BOOL bAtLeastName);
