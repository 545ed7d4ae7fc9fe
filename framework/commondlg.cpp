#include "framework/commondlg.h"
#include "framework/dc.h"
#include "framework/resources.h"

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)

/////////////////////////////////////////////////////////////////////////////
// CCommonDialog

CCommonDialog::CCommonDialog(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }

void CCommonDialog::OnOK() { Default(); }
void CCommonDialog::OnCancel() { Default(); }

HWND CCommonDialog::GetOwnerForModal() const {
    return CWnd::GetSafeOwner_(m_pParentWnd->GetSafeHwnd(), NULL);
}

/////////////////////////////////////////////////////////////////////////////
// CColorDialog

COLORREF* PASCAL CColorDialog::GetSavedCustomColors() {
    static COLORREF s_custom[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return s_custom;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd) {
    ::ZeroMemory(&m_cc, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags;
    m_cc.rgbResult = clrInit;
    if (clrInit != 0) m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() {
    m_cc.hwndOwner = GetOwnerForModal();
    return ::ChooseColor(&m_cc) ? IDOK : IDCANCEL;
}

void CColorDialog::SetCurrentColor(COLORREF clr) {
    m_cc.rgbResult = clr;
    m_cc.Flags |= CC_RGBINIT;
}

/////////////////////////////////////////////////////////////////////////////
// CFileDialog

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD dwSize)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog), m_pszFilter(NULL) {
    ::ZeroMemory(&m_ofn, sizeof(m_ofn));
    m_szFileName[0] = 0;
    m_szFileTitle[0] = 0;
    // A size larger than the record we own would let the platform write past it.
    m_ofn.lStructSize = (dwSize == 0 || dwSize > sizeof(m_ofn)) ? (DWORD)sizeof(m_ofn) : dwSize;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = _countof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = _countof(m_szFileTitle);
    m_ofn.lpstrDefExt = lpszDefExt;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.hInstance = AfxGetInstanceHandle();
    if (lpszFileName != NULL) lstrcpyn(m_szFileName, lpszFileName, _countof(m_szFileName));
    if (lpszFilter != NULL) {
        // "Text|*.txt|All|*.*|" becomes "Text\0*.txt\0All\0*.*\0\0"; a filter that lacks
        // the final "|" still ends in the two NULs the platform needs.
        size_t len = (size_t)lstrlen(lpszFilter);
        m_pszFilter = new TCHAR[len + 2];
        for (size_t i = 0; i < len; ++i) m_pszFilter[i] = lpszFilter[i] == '|' ? 0 : lpszFilter[i];
        m_pszFilter[len] = 0;
        m_pszFilter[len + 1] = 0;
        m_ofn.lpstrFilter = m_pszFilter;
    }
}

CFileDialog::~CFileDialog() { delete[] m_pszFilter; }

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = GetOwnerForModal();
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileName(&m_ofn) : ::GetSaveFileName(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

namespace {

// The file part of a path: after the last backslash, slash or drive colon.
LPCTSTR FileNameOf(LPCTSTR path) {
    LPCTSTR name = path;
    for (LPCTSTR p = path; *p; p = ::CharNext(p))
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return name;
}

// The extension's dot in a file name, NULL when there is none.
LPCTSTR ExtensionDotOf(LPCTSTR name) {
    LPCTSTR dot = NULL;
    for (LPCTSTR p = name; *p; p = ::CharNext(p))
        if (*p == '.') dot = p;
    return dot;
}

}  // namespace

CString CFileDialog::GetPathName() const {
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) != 0) {
        POSITION pos = GetStartPosition();
        return pos != NULL ? GetNextPathName(pos) : CString();
    }
    return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const {
    CString path = GetPathName();
    return CString(FileNameOf(path));
}

CString CFileDialog::GetFileExt() const {
    CString name = GetFileName();
    LPCTSTR dot = ExtensionDotOf(name);
    return dot != NULL ? CString(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const {
    CString name = GetFileName();
    LPCTSTR dot = ExtensionDotOf(name);
    return dot != NULL ? name.Left((int)(dot - (LPCTSTR)name)) : name;
}

CString CFileDialog::GetFolderPath() const {
    CString path = GetPathName();
    LPCTSTR name = FileNameOf(path);
    int n = (int)(name - (LPCTSTR)path);
    if (n > 0 && (path[n - 1] == '\\' || path[n - 1] == '/')) --n;
    return path.Left(n);
}

// Positions are pointers into the file buffer: at the next name to hand out.
POSITION CFileDialog::GetStartPosition() const {
    if (m_ofn.lpstrFile == NULL || m_ofn.lpstrFile[0] == 0) return NULL;
    return (POSITION)m_ofn.lpstrFile;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    LPCTSTR p = (LPCTSTR)pos;
    LPCTSTR buf = m_ofn.lpstrFile;
    LPCTSTR end = buf + m_ofn.nMaxFile;
    if (p == NULL || p < buf || p >= end) {
        pos = NULL;
        return CString();
    }
    // One file: the buffer holds its whole path. Several (explorer form): the folder,
    // then each name, each ended by a NUL, the list by a second NUL.
    size_t firstLen = (size_t)lstrlen(buf);
    bool several = (m_ofn.Flags & OFN_ALLOWMULTISELECT) != 0 && buf + firstLen + 1 < end && buf[firstLen + 1] != 0;
    if (!several) {
        pos = NULL;
        return CString(buf);
    }
    if (p == buf) p = buf + firstLen + 1;  // the first name after the folder
    CString name(p);
    LPCTSTR next = p + name.GetLength() + 1;
    pos = (next < end && *next != 0) ? (POSITION)next : NULL;
    CString folder(buf);
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\') folder += '\\';
    return folder + name;
}

/////////////////////////////////////////////////////////////////////////////
// CFontDialog

CFontDialog::CFontDialog(LPLOGFONT lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd) {
    ::ZeroMemory(&m_cf, sizeof(m_cf));
    ::ZeroMemory(&m_lf, sizeof(m_lf));
    m_szStyleName[0] = 0;
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpszStyle = m_szStyleName;
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = dwFlags;
    if (lplfInitial != NULL) {
        m_lf = *lplfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
    if (pdcPrinter != NULL) {
        m_cf.hDC = pdcPrinter->m_hAttribDC;
        m_cf.Flags |= CF_PRINTERFONTS;
    }
}

INT_PTR CFontDialog::DoModal() {
    m_cf.hwndOwner = GetOwnerForModal();
    return ::ChooseFont(&m_cf) ? IDOK : IDCANCEL;
}

void CFontDialog::GetCurrentFont(LPLOGFONT lplf) {
    if (lplf != NULL) *lplf = m_lf;
}
