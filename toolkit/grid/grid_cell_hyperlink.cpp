#include "toolkit/grid/grid_cell_hyperlink.h"
#include <intshcut.h>
#include <shellapi.h>
#include "toolkit/core/resource_manager.h"
#include "toolkit/grid/grid_cell_typed_common.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_SERIAL(CExtGridCellHyperLink, CExtGridCellString, VERSIONABLE_SCHEMA | 1)

namespace {

const CLSID kCLSID_InternetShortcut = {0xFBF23B40, 0xE3F0, 0x101B, {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};
const IID kIID_IUniformResourceLocatorA = {0xFBF23B80, 0xE3F0, 0x101B,
                                           {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};
const UINT kHandCursorId = 30264;
const LPCTSTR kVerbs[3] = {_T("open"), _T("edit"), _T("print")};

LPCTSTR VerbOf(int nVerb) { return kVerbs[(nVerb >= 0 && nVerb <= 2) ? nVerb : 0]; }

// A target other programs get on their command line: no quotation mark that would end
// its quoting, no control character that could split or hide it.
bool IsSafeTarget(LPCTSTR sTarget)
{
    if (sTarget == NULL || *sTarget == _T('\0')) return false;
    for (LPCTSTR p = sTarget; *p != _T('\0'); p++)
        if (*p == _T('"') || (unsigned)(_TUCHAR)*p < 0x20 || *p == 0x7F) return false;
    return true;
}

// The default value of a key under HKEY_CLASSES_ROOT, at most 259 characters.
bool ReadClassesValue(LPCTSTR sKey, CString& sValue)
{
    HKEY hKey = NULL;
    if (::RegOpenKeyEx(HKEY_CLASSES_ROOT, sKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) return false;
    TCHAR sBuffer[MAX_PATH];
    LONG cb = sizeof(sBuffer);
    sBuffer[0] = _T('\0');
    const LONG nResult = ::RegQueryValue(hKey, NULL, sBuffer, &cb);
    ::RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS) return false;
    sBuffer[MAX_PATH - 1] = _T('\0');
    sValue = sBuffer;
    return true;
}

}  // namespace

CExtGridCellHyperLink::CExtGridCellHyperLink(CExtGridDataProvider* pOwner)
    : CExtGridCellString(pOwner), m_clrVisited(0x800080), m_bUnderlineOnHover(true), m_bUseVisitedColor(true),
      m_bVisited(false)
{
    ModifyStyle(__EGCS_NO_INPLACE_CONTROL);
    TextColorSet(__ECS_HOVERED, 0xFF0000);
    HINSTANCE hInst = AfxGetResourceHandle();
    HCURSOR hCursor = (HCURSOR)::LoadImage(hInst, MAKEINTRESOURCE(kHandCursorId), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
    if (hCursor == NULL) {
        // The program carries no cursor of that id: a private copy of the system's hand.
        HCURSOR hHand = ::LoadCursor(NULL, IDC_HAND);
        hCursor = hHand != NULL ? (HCURSOR)::CopyIcon((HICON)hHand) : NULL;
    }
    if (hCursor != NULL) CursorSet(hCursor);
}

CExtGridCellHyperLink::~CExtGridCellHyperLink() {}

void CExtGridCellHyperLink::Serialize(CArchive& ar)
{
    CExtGridCellString::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (DWORD)m_clrVisited << (BYTE)(m_bUnderlineOnHover ? 1 : 0) << (BYTE)(m_bUseVisitedColor ? 1 : 0)
           << m_sURL;
    } else {
        DWORD dwColor = 0;
        BYTE bUnderline = 0, bUseVisited = 0;
        CString sURL;
        ar >> dwColor >> bUnderline >> bUseVisited >> sURL;
        m_clrVisited = dwColor;
        m_bUnderlineOnHover = bUnderline != 0;
        m_bUseVisitedColor = bUseVisited != 0;
        m_sURL = sURL;
    }
}

void CExtGridCellHyperLink::Assign(const CExtGridCell& other)
{
    CExtGridCellString::Assign(other);
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellHyperLink))) {
        const CExtGridCellHyperLink& src = static_cast<const CExtGridCellHyperLink&>(other);
        m_clrVisited = src.m_clrVisited;
        m_bUnderlineOnHover = src.m_bUnderlineOnHover;
        m_bUseVisitedColor = src.m_bUseVisitedColor;
        m_sURL = src.m_sURL;
    } else {
        m_clrVisited = 0x800080;
        m_bUnderlineOnHover = false;
        m_bUseVisitedColor = true;
        m_sURL.Empty();
    }
}

CExtGridCell* CExtGridCellHyperLink::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellHyperLink>(*this, pMalloc);
}

CString CExtGridCellHyperLink::GetLinkTarget() const
{
    CString s(m_sURL);
    s.TrimLeft();
    s.TrimRight();
    if (s.IsEmpty()) {
        TextGet(s);
        s.TrimLeft();
        s.TrimRight();
    }
    return s;
}

bool CExtGridCellHyperLink::stat_IsWebTarget(LPCTSTR sTarget)
{
    if (sTarget == NULL) return false;
    static const LPCTSTR g_arrPrefixes[4] = {_T("http://"), _T("file://"), _T("www."), _T("web.")};
    for (LPCTSTR sPrefix : g_arrPrefixes)
        if (_tcsnicmp(sTarget, sPrefix, _tcslen(sPrefix)) == 0) return true;
    return false;
}

bool CExtGridCellHyperLink::Navigate(LPCTSTR sTarget, int nVerb, bool bShowErrors)
{
    if (sTarget == NULL || *sTarget == _T('\0')) return false;
    bool bDone;
    if (stat_IsWebTarget(sTarget))
        bDone = NavigateRegistry(sTarget, nVerb, bShowErrors) ||
                NavigateInternetShortcut(sTarget, nVerb, bShowErrors) ||
                NavigateShellExecute(sTarget, nVerb, bShowErrors);
    else
        bDone = NavigateInternetShortcut(sTarget, nVerb, false) || NavigateShellExecute(sTarget, nVerb, false) ||
                NavigateRegistry(sTarget, nVerb, false);
    if (bDone) m_bVisited = true;
    return bDone;
}

bool CExtGridCellHyperLink::NavigateInternetShortcut(LPCTSTR sTarget, int nVerb, bool bShowErrors)
{
    (void)bShowErrors;
    if (sTarget == NULL || *sTarget == _T('\0')) return false;
    IUniformResourceLocatorA* pURL = NULL;
    if (FAILED(::CoCreateInstance(kCLSID_InternetShortcut, NULL, CLSCTX_INPROC_SERVER, kIID_IUniformResourceLocatorA,
                                  (void**)&pURL)) ||
        pURL == NULL)
        return false;
    bool bResult = false;
    if (SUCCEEDED(pURL->SetURL(sTarget, IURL_SETURL_FL_GUESS_PROTOCOL))) {
        URLINVOKECOMMANDINFOA info;
        ::memset(&info, 0, sizeof(info));
        info.dwcbSize = sizeof(info);
        info.dwFlags = IURL_INVOKECOMMAND_FL_ALLOW_UI;
        info.hwndParent = ::GetDesktopWindow();
        info.pcszVerb = VerbOf(nVerb);
        bResult = SUCCEEDED(pURL->InvokeCommand(&info));
    }
    pURL->Release();
    return bResult;
}

bool CExtGridCellHyperLink::NavigateShellExecute(LPCTSTR sTarget, int nVerb, bool bShowErrors)
{
    if (sTarget == NULL || *sTarget == _T('\0')) return false;
    const int nCode = (int)(INT_PTR)::ShellExecute(::GetDesktopWindow(), VerbOf(nVerb), sTarget, NULL, NULL, SW_SHOW);
    if (nCode > 32) return true;
    if (bShowErrors) ShowError(nCode);
    return false;
}

bool CExtGridCellHyperLink::stat_BuildCommandLine(LPCTSTR sCommand, LPCTSTR sTarget, CString& sOut, int cchMax)
{
    sOut.Empty();
    if (sCommand == NULL || !IsSafeTarget(sTarget)) return false;
    CString sLine(sCommand);
    int nCut = sLine.Find(_T("\"%1\""));
    if (nCut < 0) nCut = sLine.Find(_T("%1"));
    if (nCut >= 0) sLine = sLine.Left(nCut);
    sLine += _T(" \"");
    sLine += sTarget;
    sLine += _T("\"");
    if (sLine.GetLength() > cchMax - 1) return false;
    sOut = sLine;
    return true;
}

bool CExtGridCellHyperLink::NavigateRegistry(LPCTSTR sTarget, int nVerb, bool bShowErrors)
{
    CString sClass;
    if (!ReadClassesValue(_T(".htm"), sClass)) return false;
    static const LPCTSTR g_arrKeyTails[3] = {_T("\\shell\\open\\command"), _T("\\shell\\edit\\command"),
                                             _T("\\shell\\print\\command")};
    CString sKey = sClass + g_arrKeyTails[(nVerb >= 0 && nVerb <= 2) ? nVerb : 0];
    if (sKey.GetLength() > 521) return false;
    CString sCommand;
    if (!ReadClassesValue(sKey, sCommand)) return false;
    CString sLine;
    if (!stat_BuildCommandLine(sCommand, sTarget, sLine)) return false;
    const int nCode = (int)::WinExec(sLine, SW_SHOW);
    if (nCode > 32) return true;
    if (bShowErrors) ShowError(nCode);
    return false;
}

CString CExtGridCellHyperLink::stat_ErrorMessage(int nCode)
{
    LPCTSTR sText = NULL;
    switch (nCode) {
    case 0: sText = _T("OS is out of memory or resources."); break;
    case 2: sText = _T("File was not found."); break;
    case 3: sText = _T("Path was not found."); break;
    case 5: sText = _T("OS denied access to the file."); break;
    case 8: sText = _T("Not enough memory."); break;
    case 11: sText = _T("EXE file is invalid (must run on other platform or error in its image)."); break;
    case 26: sText = _T("A sharing violation occurred."); break;
    case 27: sText = _T("The filename association is incomplete or invalid."); break;
    case 28: sText = _T("DDE transaction could not be completed due to request timed out."); break;
    case 29: sText = _T("DDE transaction failed."); break;
    case 30: sText = _T("DDE transaction was not completed due to other DDE transactions."); break;
    case 31: sText = _T("There is no application associated with the given filename extension."); break;
    case 32: sText = _T("DLL was not found."); break;
    default: break;
    }
    CString sError;
    if (sText != NULL)
        sError = sText;
    else
        sError.Format(_T("Unknown Error (%d=0x%X) occurred."), nCode, nCode);
    CString sMessage;
    sMessage.Format(_T("Unable to open hyper link:\n%s"), (LPCTSTR)sError);
    return sMessage;
}

void CExtGridCellHyperLink::ShowError(int nCode) const
{
    UINT nType = MB_ICONERROR;
    if (g_CurrentResourceManager->GetLangLayout() & LAYOUT_RTL) nType |= MB_RTLREADING;
    ::MessageBox(NULL, stat_ErrorMessage(nCode), NULL, nType);
}

HFONT CExtGridCellHyperLink::OnQueryCellFont(const CWnd* pWndGrid, LONG nColNo, LONG nRowNo, INT nColType,
                                             INT nRowType, bool* pbDelete) const
{
    bool bDeleteBase = false;
    HFONT hFont = CExtGridCellString::OnQueryCellFont(pWndGrid, nColNo, nRowNo, nColType, nRowType, &bDeleteBase);
    if (pbDelete != NULL) *pbDelete = bDeleteBase;
    if (!m_bUnderlineOnHover || pWndGrid == NULL || !pWndGrid->IsKindOf(RUNTIME_CLASS(CExtGridWnd))) return hFont;
    CExtGridWnd* pGrid = const_cast<CExtGridWnd*>(static_cast<const CExtGridWnd*>(pWndGrid));
    const CExtGridWnd::HIT_TEST_INFO& hti = pGrid->GetHoverHitTest();
    if (hti.m_nColNo != nColNo || hti.m_nRowNo != nRowNo || hti.GetColumnType() != nColType ||
        hti.GetRowType() != nRowType)
        return hFont;
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    HFONT hSource = hFont != NULL ? hFont : (HFONT)g_CurrentPaintManager->m_FontNormal.GetSafeHandle();
    if (hSource == NULL || ::GetObject(hSource, sizeof(lf), &lf) == 0) return hFont;
    if (bDeleteBase && hFont != NULL) ::DeleteObject(hFont);
    lf.lfUnderline = TRUE;
    HFONT hUnderlined = ::CreateFontIndirect(&lf);
    if (pbDelete != NULL) *pbDelete = hUnderlined != NULL;
    return hUnderlined;
}

COLORREF CExtGridCellHyperLink::OnQueryTextColor(EXT_GRID_CELL_PAINT_ARGS) const
{
    COLORREF clr = wndGrid.OnGridHookCellColor(true, *this, dc, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo,
                                               nColType, nRowType, dwAreaFlags, dwHelperPaintFlags);
    if (clr != COLORREF(-1)) return clr;
    clr = TextColorGet(__ECS_ALL);
    if (clr != COLORREF(-1)) return clr;
    if (m_bUseVisitedColor && m_bVisited) return m_clrVisited;
    return CExtGridCellString::OnQueryTextColor(EXT_GRID_CELL_PAINT_PASS);
}

bool CExtGridCellHyperLink::OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, UINT nButton,
                                    UINT nEvent, UINT nFlags)
{
    const bool bResult = CExtGridCellString::OnClick(wndGrid, htiCurrent, nButton, nEvent, nFlags);
    if ((GetStyle() & __EGCS_READ_ONLY) == 0 && nButton == 1 && (nEvent == 1 || nEvent == 2) &&
        (htiCurrent.m_dwAreaFlags & (__EGCPF_CHECK | __EGCPF_BUTTON)) == 0)
        Navigate(GetLinkTarget(), 0, false);
    return bResult;
}

bool CExtGridCellHyperLink::OnKey(CExtGridWnd& wndGrid, bool bKeyDownEvent, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!bKeyDownEvent &&
        (nChar == VK_SPACE || (nChar == VK_RETURN && (GetStyle() & __EGCS_NO_INPLACE_CONTROL) != 0))) {
        Navigate(GetLinkTarget(), 0, false);
        return true;
    }
    return CExtGridCellString::OnKey(wndGrid, bKeyDownEvent, nChar, nRepCnt, nFlags);
}

bool CExtGridCellHyperLink::OnSetCursor(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent) const
{
    (void)wndGrid, (void)htiCurrent;
    if (GetLinkTarget().IsEmpty() || m_hCursor == NULL) return false;
    ::SetCursor(m_hCursor);
    return true;
}
