#include "toolkit/grid/grid_cell_file.h"
#include <shlobj.h>
#include <shlwapi.h>
#include "toolkit/grid/grid_cell_typed_common.h"
#include "toolkit/grid/grid_wnd.h"

IMPLEMENT_SERIAL(CExtGridCellFile, CExtGridCellString, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellFileImage, CExtGridCellFile, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellFolder, CExtGridCellString, VERSIONABLE_SCHEMA | 1)

namespace {

const TCHAR kAllFilesFilter[] = _T("All Files (*.*)|*.*||");
const DWORD kDefaultFileFlags = 0x81800;  // OFN_EXPLORER, OFN_FILEMUSTEXIST, OFN_PATHMUSTEXIST
const DWORD kDefaultBrowseFlags = 0x11;    // BIF_RETURNONLYFSDIRS, BIF_EDITBOX

DWORD DefaultBrowseFlags()
{
    return kDefaultBrowseFlags | (CExtGridCellFolder::stat_ComCtlVersion() >= 0x50000 ? BIF_NEWDIALOGSTYLE : 0);
}

int CALLBACK BrowseCallback(HWND hWnd, UINT nMsg, LPARAM lParam, LPARAM lpData)
{
    if (nMsg == BFFM_INITIALIZED && lpData != 0) {
        ::SendMessage(hWnd, BFFM_SETSELECTION, FALSE, lpData);
    } else if (nMsg == BFFM_SELCHANGED && lParam != 0) {
        TCHAR sPath[MAX_PATH];
        sPath[0] = _T('\0');
        if (::SHGetPathFromIDList((LPCITEMIDLIST)lParam, sPath)) ::SendMessage(hWnd, BFFM_SETSTATUSTEXT, 0, (LPARAM)sPath);
    }
    return 0;
}

// A path parsed by the desktop folder into an item list; NULL when it names nothing.
LPITEMIDLIST ParsePath(LPCTSTR sPath)
{
    if (sPath == NULL || *sPath == _T('\0')) return NULL;
    IShellFolder* pDesktop = NULL;
    if (FAILED(::SHGetDesktopFolder(&pDesktop)) || pDesktop == NULL) return NULL;
    BSTR bstr = gridcell::AllocBstr(sPath);
    LPITEMIDLIST pidl = NULL;
    if (bstr == NULL || FAILED(pDesktop->ParseDisplayName(NULL, NULL, bstr, NULL, &pidl, NULL))) pidl = NULL;
    if (bstr != NULL) ::SysFreeString(bstr);
    pDesktop->Release();
    return pidl;
}

}  // namespace

// ---- file cell ------------------------------------------------------------------------------

CExtGridCellFile::CExtGridCellFile(CExtGridDataProvider* pOwner)
    : CExtGridCellString(pOwner), m_bOpenFileDialog(true), m_dwFileDialogFlags(kDefaultFileFlags),
      m_sFilter(kAllFilesFilter)
{
    ModifyStyle(__EGCS_BUTTON_ELLIPSIS);
}

CExtGridCellFile::~CExtGridCellFile() {}

void CExtGridCellFile::Serialize(CArchive& ar)
{
    CExtGridCellString::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (BYTE)(m_bOpenFileDialog ? 1 : 0);
        ar << m_sDefExt;
        ar << m_dwFileDialogFlags;
        ar << m_sFilter;
    } else {
        BYTE bOpen = 0;
        CString sDefExt, sFilter;
        DWORD dwFlags = 0;
        ar >> bOpen >> sDefExt >> dwFlags >> sFilter;
        m_bOpenFileDialog = bOpen != 0;
        m_sDefExt = sDefExt;
        m_dwFileDialogFlags = dwFlags;
        m_sFilter = sFilter;
    }
}

void CExtGridCellFile::Assign(const CExtGridCell& other)
{
    CExtGridCellString::Assign(other);
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellFile))) {
        const CExtGridCellFile& src = static_cast<const CExtGridCellFile&>(other);
        m_bOpenFileDialog = src.m_bOpenFileDialog;
        m_sDefExt = src.m_sDefExt;
        m_dwFileDialogFlags = src.m_dwFileDialogFlags;
        m_sFilter = src.m_sFilter;
    } else {
        m_bOpenFileDialog = true;
        m_sDefExt.Empty();
        m_dwFileDialogFlags = kDefaultFileFlags;
        m_sFilter = kAllFilesFilter;
    }
}

CExtGridCell* CExtGridCellFile::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellFile>(*this, pMalloc);
}

LPCTSTR CExtGridCellFile::DialogInitialFile() const
{
    if (m_str.IsEmpty() || m_str.GetLength() >= MAX_PATH) return NULL;
    return m_str;
}

bool CExtGridCellFile::OnRunFileDialog(CExtGridWnd& wndGrid, CString& sPath)
{
    CFileDialog dlg(m_bOpenFileDialog ? TRUE : FALSE, m_sDefExt.IsEmpty() ? NULL : (LPCTSTR)m_sDefExt,
                    DialogInitialFile(), m_dwFileDialogFlags, m_sFilter.IsEmpty() ? NULL : (LPCTSTR)m_sFilter,
                    &wndGrid, 0);
    OSVERSIONINFO osvi;
    ::memset(&osvi, 0, sizeof(osvi));
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    // The places bar shows only for the full record.
    if (::GetVersionEx(&osvi) && osvi.dwPlatformId >= 2 && osvi.dwMajorVersion >= 5 && dlg.m_ofn.lStructSize < 88)
        dlg.m_ofn.lStructSize += 12;
    if (dlg.DoModal() != IDOK) return false;
    sPath = dlg.GetPathName();
    return true;
}

void CExtGridCellFile::OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra,
                                       const RECT& rcCell, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                       LONG nRowNo, INT nColType, INT nRowType)
{
    auto fnRunDialog = [&]() {
        CString sPath;
        if (!OnRunFileDialog(wndGrid, sPath))
            return false;
        TextSet(sPath);
        return true;
    };
    if (gridcell::PressEllipsisButton(this, wndGrid, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo,
                                      nColNo, nRowNo, nColType, nRowType, fnRunDialog))
        return;
    CExtGridCellString::OnButtonPressed(wndGrid, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo, nColNo,
                                        nRowNo, nColType, nRowType);
}

bool CExtGridCellFile::OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                           const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                                           const RECT& rcCell)
{
    if (gridcell::EditorF4PressesButton(*this, pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell,
                                        __EBTT_ELLIPSIS))
        return true;
    return CExtGridCellString::OnInplaceControlKey(pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell);
}

// ---- file image cell ------------------------------------------------------------------------

CExtGridCellFileImage::CExtGridCellFileImage(CExtGridDataProvider* pOwner) : CExtGridCellFile(pOwner)
{
    m_sFilter = _T("Supported Image Files (*.ico)|*.ico|All Files (*.*)|*.*||");
}

CExtGridCell* CExtGridCellFileImage::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellFileImage>(*this, pMalloc);
}

CSize CExtGridCellFileImage::IconGetSize() { return CSize(20, 13); }

CRect CExtGridCellFileImage::GetIconMargins() const { return CRect(6, 1, 1, 1); }

void CExtGridCellFileImage::OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon, EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)pIcon, (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)nColType;
    (void)nRowType, (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange, (void)dwAreaFlags;
    (void)dwHelperPaintFlags;
    const HDC hDC = dc.GetSafeHdc();
    if (hDC == NULL || ::IsRectEmpty(&rcIcon)) return;
    CRect rc(rcIcon);
    dc.FillSolidRect(&rc, wndGrid.GetColor(COLOR_WINDOW));
    CString sPath;
    TextGet(sPath);
    if (!sPath.IsEmpty()) {
        HICON hIcon = (HICON)::LoadImage(NULL, sPath, IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
        if (hIcon != NULL) {
            ::DrawIconEx(hDC, rc.left, rc.top, hIcon, rc.Width(), rc.Height(), 0, NULL, DI_NORMAL);
            ::DestroyIcon(hIcon);
        }
    }
    HBRUSH hBlack = (HBRUSH)::GetStockObject(BLACK_BRUSH);
    ::FrameRect(hDC, &rc, hBlack);
}

// ---- folder cell ----------------------------------------------------------------------------

CExtGridCellFolder::CExtGridCellFolder(CExtGridDataProvider* pOwner)
    : CExtGridCellString(pOwner), m_dwBrowseFlags(DefaultBrowseFlags()), m_sTitle(_T("Select Folder"))
{
    ModifyStyle(__EGCS_BUTTON_ELLIPSIS);
}

CExtGridCellFolder::~CExtGridCellFolder() {}

DWORD CExtGridCellFolder::stat_ComCtlVersion()
{
    HMODULE hModule = ::LoadLibraryA("COMCTL32.DLL");
    if (hModule == NULL) return 0;
    DWORD dwVersion = 0;
    typedef HRESULT(CALLBACK * PFN_GETVERSION)(DLLVERSIONINFO*);
    PFN_GETVERSION pfn = (PFN_GETVERSION)(void*)::GetProcAddress(hModule, "DllGetVersion");
    if (pfn != NULL) {
        DLLVERSIONINFO dvi;
        ::memset(&dvi, 0, sizeof(dvi));
        dvi.cbSize = sizeof(dvi);  // the 20-byte record
        if (SUCCEEDED(pfn(&dvi))) dwVersion = (dvi.dwMajorVersion << 16) | (dvi.dwMinorVersion & 0xFFFF);
    }
    ::FreeLibrary(hModule);
    return dwVersion;
}

bool CExtGridCellFolder::BrowseForFolder(LPCTSTR sTitle, LPTSTR sPathBuffer, LPCTSTR sRoot, HWND hWndOwner)
{
    if (sPathBuffer == NULL) return false;
    IMalloc* pShellMalloc = NULL;
    if (FAILED(::SHGetMalloc(&pShellMalloc)) || pShellMalloc == NULL) return false;
    const bool bNewStyle = (m_dwBrowseFlags & BIF_NEWDIALOGSTYLE) != 0;
    const bool bComInit = bNewStyle && SUCCEEDED(::CoInitialize(NULL));
    LPITEMIDLIST pidlRoot = ParsePath(sRoot);
    LPITEMIDLIST pidlInitial = ParsePath(sPathBuffer);
    TCHAR sDisplay[MAX_PATH];
    sDisplay[0] = _T('\0');
    BROWSEINFO bi;
    ::memset(&bi, 0, sizeof(bi));
    bi.hwndOwner = hWndOwner;
    bi.pidlRoot = pidlRoot;
    bi.pszDisplayName = sDisplay;
    bi.lpszTitle = sTitle;
    bi.ulFlags = m_dwBrowseFlags | (bNewStyle ? 0 : BIF_STATUSTEXT);
    bi.lpfn = BrowseCallback;
    bi.lParam = (LPARAM)pidlInitial;
    LPITEMIDLIST pidlChosen = ::SHBrowseForFolder(&bi);
    bool bResult = false;
    if (pidlChosen != NULL) {
        TCHAR sPath[MAX_PATH];
        sPath[0] = _T('\0');
        if (::SHGetPathFromIDList(pidlChosen, sPath) && sPath[0] != _T('\0'))
            bResult = gridcell::CopyBounded(sPathBuffer, MAX_PATH, sPath);
        pShellMalloc->Free(pidlChosen);
    }
    if (pidlInitial != NULL) pShellMalloc->Free(pidlInitial);
    if (pidlRoot != NULL) pShellMalloc->Free(pidlRoot);
    pShellMalloc->Release();
    if (bComInit) ::CoUninitialize();
    return bResult;
}

void CExtGridCellFolder::Serialize(CArchive& ar)
{
    CExtGridCellString::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_dwBrowseFlags << m_sTitle << m_sRootFolder;
    } else {
        DWORD dwFlags = 0;
        CString sTitle, sRoot;
        ar >> dwFlags >> sTitle >> sRoot;
        m_dwBrowseFlags = dwFlags;
        m_sTitle = sTitle;
        m_sRootFolder = sRoot;
    }
}

void CExtGridCellFolder::Assign(const CExtGridCell& other)
{
    CExtGridCellString::Assign(other);
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellFolder))) {
        const CExtGridCellFolder& src = static_cast<const CExtGridCellFolder&>(other);
        m_dwBrowseFlags = src.m_dwBrowseFlags;
        m_sTitle = src.m_sTitle;
        m_sRootFolder = src.m_sRootFolder;
    } else {
        m_dwBrowseFlags = kDefaultBrowseFlags;
        m_sTitle = _T("Select Folder");
        m_sRootFolder.Empty();
    }
}

CExtGridCell* CExtGridCellFolder::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellFolder>(*this, pMalloc);
}

void CExtGridCellFolder::OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra,
                                         const RECT& rcCell, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                         LONG nRowNo, INT nColType, INT nRowType)
{
    auto fnRunDialog = [&]() {
        TCHAR sPath[MAX_PATH];
        // A text longer than the buffer is not cut into some other folder: the browser then
        // starts without a preselection.
        if (!gridcell::CopyBounded(sPath, MAX_PATH, m_str))
            sPath[0] = _T('\0');
        if (!BrowseForFolder(m_sTitle.IsEmpty() ? NULL : (LPCTSTR)m_sTitle, sPath,
                             m_sRootFolder.IsEmpty() ? NULL : (LPCTSTR)m_sRootFolder, wndGrid.GetSafeHwnd()))
            return false;
        TextSet(sPath);
        return true;
    };
    if (gridcell::PressEllipsisButton(this, wndGrid, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo,
                                      nColNo, nRowNo, nColType, nRowType, fnRunDialog))
        return;
    CExtGridCellString::OnButtonPressed(wndGrid, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo, nColNo,
                                        nRowNo, nColType, nRowType);
}

bool CExtGridCellFolder::OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                             const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                                             const RECT& rcCell)
{
    if (gridcell::EditorF4PressesButton(*this, pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell,
                                        __EBTT_ELLIPSIS))
        return true;
    return CExtGridCellString::OnInplaceControlKey(pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell);
}
