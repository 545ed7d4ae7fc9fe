// The most-recently-used file list of the application.
#include "framework/framework.h"

#include <commdlg.h>

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nSize(nSize > 0 ? nSize : 1), m_arrNames(NULL), m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat), m_nStart(nStart), m_nMaxDisplayLength(nMaxDispLen) {
    m_arrNames = new CString[m_nSize];
}

CRecentFileList::~CRecentFileList() { delete[] m_arrNames; }

namespace {

CString FullPathOf(LPCTSTR lpszPathName) {
    TCHAR szFull[MAX_PATH];
    LPTSTR pFilePart = NULL;
    DWORD n = ::GetFullPathName(lpszPathName, MAX_PATH, szFull, &pFilePart);
    if (n == 0 || n >= MAX_PATH) return CString(lpszPathName);
    return CString(szFull);
}

// Offset of the file name part (after the last backslash, slash or drive colon).
int FileNameOffset(const CString& s) {
    for (int i = s.GetLength() - 1; i >= 0; i--)
        if (s[i] == '\\' || s[i] == '/' || s[i] == ':') return i + 1;
    return 0;
}

// The title the shell shows for a file name (the extension hidden when the user asked).
CString FileTitleOf(LPCTSTR lpszName) {
    TCHAR szTitle[MAX_PATH];
    if (::GetFileTitle(lpszName, szTitle, MAX_PATH) == 0) return CString(szTitle);
    return CString(lpszName);
}

}  // namespace

void CRecentFileList::Add(LPCTSTR lpszPathName) {
    if (lpszPathName == NULL || *lpszPathName == 0) return;
    const CString strFull = FullPathOf(lpszPathName);
    int iMRU = 0;
    for (; iMRU < m_nSize - 1; iMRU++)
        if (m_arrNames[iMRU].CompareNoCase(strFull) == 0) break;
    // Entries above the found one (or all but the last) move down by one.
    for (int i = iMRU; i > 0; i--) m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = strFull;
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= m_nSize) return;
    m_arrNames[nIndex].Empty();
    int i;
    for (i = nIndex; i < m_nSize - 1; i++) m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames[i].Empty();
}

void AFXAPI AfxAbbreviateName(CString& strPath, int cchMax, BOOL bAtLeastName) {
    const int nLen = strPath.GetLength();
    if (cchMax < 0 || nLen <= cchMax) return;
    const int nName = FileNameOffset(strPath);
    const CString strName = strPath.Mid(nName);
    if (cchMax < strName.GetLength()) {
        strPath = bAtLeastName ? strName : CString();
        return;
    }
    // The root: "C:\" or "\\server\share\".
    int nRoot = 0;
    if (nLen >= 2 && strPath[1] == ':') nRoot = (nLen >= 3 && strPath[2] == '\\') ? 3 : 2;
    else if (nLen >= 2 && strPath[0] == '\\' && strPath[1] == '\\') {
        int nSlashes = 0;
        for (nRoot = 2; nRoot < nLen && nSlashes < 2; nRoot++)
            if (strPath[nRoot] == '\\') nSlashes++;
    }
    const CString strRoot = strPath.Left(nRoot);
    const CString strEllipsis = _T("...\\");
    // Keep the longest tail of whole parts that fits behind "root...\".
    int nTail = nName;
    for (int i = nName - 2; i > nRoot; i--) {
        if (strPath[i] != '\\') continue;
        if (strRoot.GetLength() + strEllipsis.GetLength() + (nLen - (i + 1)) > cchMax) break;
        nTail = i + 1;
    }
    if (strRoot.GetLength() + strEllipsis.GetLength() + (nLen - nTail) <= cchMax)
        strPath = strRoot + strEllipsis + strPath.Mid(nTail);
    else
        strPath = strName;
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const {
    if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty()) return FALSE;
    const CString& strFull = m_arrNames[nIndex];
    const int nLenDir = FileNameOffset(strFull);
    const bool bSameDir = lpszCurDir != NULL && nCurDir > 0 && nLenDir == nCurDir &&
                          strFull.Left(nLenDir).CompareNoCase(CString(lpszCurDir).Left(nCurDir)) == 0;
    if (bSameDir) {
        strName = FileTitleOf(strFull.Mid(nLenDir));
        return TRUE;
    }
    if (m_nMaxDisplayLength == -1) {
        strName = strFull;
        return TRUE;
    }
    strName = strFull.Left(nLenDir) + FileTitleOf(strFull.Mid(nLenDir));
    AfxAbbreviateName(strName, m_nMaxDisplayLength, bAtLeastName);
    return TRUE;
}

void CRecentFileList::ReadList() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL) return;
    for (int i = 0; i < m_nSize; i++) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        m_arrNames[i] = pApp->GetProfileString(m_strSectionName, strEntry, _T(""));
    }
}

void CRecentFileList::WriteList() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL) return;
    for (int i = 0; i < m_nSize; i++) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        // Empty entries go from the profile so that a shorter list reads back the same.
        pApp->WriteProfileString(m_strSectionName, strEntry,
                                 m_arrNames[i].IsEmpty() ? NULL : (LPCTSTR)m_arrNames[i]);
    }
}
