#include "toolkit/dialogs/hyperlink_button.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <shellapi.h>
#include <intshcut.h>
#include <algorithm>

IMPLEMENT_DYNCREATE(CExtHyperLinkButton, CExtButton)

namespace {
// The shell's Internet shortcut object and its ANSI locator interface.
const CLSID kClsidInternetShortcut = {0xFBF23B40, 0xE3F0, 0x101B, {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};
const IID kIidUniformResourceLocatorA = {0xFBF23B80, 0xE3F0, 0x101B, {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};

// Reads the default value of HKEY_CLASSES_ROOT\sKey as text of at most 260 bytes,
// always terminated.
bool ReadClassesRootText(LPCTSTR sKey, CString& strOut)
{
    HKEY hKey = NULL;
    if (::RegOpenKeyEx(HKEY_CLASSES_ROOT, sKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return false;
    BYTE buffer[CExtHyperLinkButton::ASSOC_VALUE_BYTES + sizeof(TCHAR)];
    ::memset(buffer, 0, sizeof(buffer));
    DWORD dwType = 0, dwSize = CExtHyperLinkButton::ASSOC_VALUE_BYTES;
    LONG nResult = ::RegQueryValueEx(hKey, NULL, NULL, &dwType, buffer, &dwSize);
    ::RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return false;
    buffer[CExtHyperLinkButton::ASSOC_VALUE_BYTES] = 0;
    strOut = (LPCTSTR)buffer;
    return !strOut.IsEmpty();
}
}  // namespace

CExtHyperLinkButton::CExtHyperLinkButton()
    : m_nLinkFlags(LINK_SHOW_VISITED), m_nTextAlign(0), m_clrVisited(RGB(128, 0, 128)), m_bUnderlineOnHover(false)
{
    m_nKeyFlags &= ~0x01;
    m_clrText2 = RGB(0, 0, 255);
    m_clrText3 = RGB(255, 0, 0);
    // No cursor resource of that id ships with the toolkit: the system's hand cursor is used.
    if (!SetBtnCursor(30264))
    {
        HCURSOR hHand = ::LoadCursor(NULL, IDC_HAND);
        if (hHand != NULL)
            m_hCursor = (HCURSOR)::CopyIcon(hHand);
    }
}

CExtHyperLinkButton::~CExtHyperLinkButton() {}

// ---- opening ---------------------------------------------------------------------------

LPCTSTR CExtHyperLinkButton::GetVerbText(int nVerb)
{
    switch (nVerb)
    {
    case VERB_OPEN: return _T("open");
    case VERB_EDIT: return _T("edit");
    case VERB_PRINT: return _T("print");
    }
    return NULL;
}

bool CExtHyperLinkButton::IsWebAddress(LPCTSTR sURL)
{
    if (sURL == NULL)
        return false;
    return _tcsnicmp(sURL, _T("http://"), 7) == 0 || _tcsnicmp(sURL, _T("file://"), 7) == 0 ||
           _tcsnicmp(sURL, _T("www."), 4) == 0 || _tcsnicmp(sURL, _T("web."), 4) == 0;
}

CString CExtHyperLinkButton::GetErrorReason(int nCode)
{
    switch (nCode)
    {
    case 0: return _T("OS is out of memory or resources.");
    case 2: return _T("File was not found.");
    case 3: return _T("Path was not found.");
    case 5: return _T("OS denied access to the file.");
    case 8: return _T("Not enough memory.");
    case 11: return _T("EXE file is invalid (must run on other platform or error in its image).");
    case 26: return _T("A sharing violation occurred.");
    case 27: return _T("The filename association is incomplete or invalid.");
    case 28: return _T("DDE transaction could not be completed due to request timed out.");
    case 29: return _T("DDE transaction failed.");
    case 30: return _T("DDE transaction was not completed due to other DDE transactions.");
    case 31: return _T("There is no application associated with the given filename extension.");
    case 32: return _T("DLL was not found.");
    }
    CString s;
    s.Format(_T("Unknown Error (%d=0x%X) occurred."), nCode, nCode);
    return s;
}

void CExtHyperLinkButton::ShowOpenError(int nCode)
{
    CString sText;
    sText.Format(_T("Unable to open hyper link:\n%s"), (LPCTSTR)GetErrorReason(nCode));
    UINT nType = MB_ICONERROR;
    if ((g_CurrentResourceManager->GetLangLayout() & LAYOUT_RTL) != 0)
        nType |= MB_RTLREADING;
    ::AfxMessageBox(sText, nType);
}

bool CExtHyperLinkButton::OpenWithInternetShortcut(LPCTSTR sURL, int nVerb, bool)
{
    IUniformResourceLocatorA* pURL = NULL;
    if (FAILED(::CoCreateInstance(kClsidInternetShortcut, NULL, CLSCTX_INPROC_SERVER, kIidUniformResourceLocatorA,
                                  (void**)&pURL)) ||
        pURL == NULL)
        return false;
    if (FAILED(pURL->SetURL(sURL, IURL_SETURL_FL_GUESS_PROTOCOL)))
    {
        pURL->Release();
        return false;
    }
    URLINVOKECOMMANDINFOA info;
    ::memset(&info, 0, sizeof(info));
    info.dwcbSize = sizeof(info);
    info.dwFlags = IURL_INVOKECOMMAND_FL_ALLOW_UI;
    info.hwndParent = ::GetDesktopWindow();
    info.pcszVerb = GetVerbText(nVerb);
    HRESULT hr = pURL->InvokeCommand(&info);
    pURL->Release();
    return SUCCEEDED(hr);
}

bool CExtHyperLinkButton::OpenWithShellExecute(LPCTSTR sURL, int nVerb, bool bShowError)
{
    INT_PTR nResult = (INT_PTR)::ShellExecute(::GetDesktopWindow(), GetVerbText(nVerb), sURL, NULL, NULL, SW_SHOW);
    if (nResult > 32)
        return true;
    if (bShowError)
        ShowOpenError((int)nResult);
    return false;
}

bool CExtHyperLinkButton::ReadAssociationCommand(int nVerb, CString& strOut)
{
    static const LPCTSTR s_keyPaths[] = {_T("\\shell\\open\\command"), _T("\\shell\\edit\\command"),
                                         _T("\\shell\\print\\command")};
    if (nVerb < 0 || nVerb > 2)
        return false;
    CString sType;
    if (!ReadClassesRootText(_T(".htm"), sType))
        return false;
    CString sKey = sType + s_keyPaths[nVerb];
    if (sKey.GetLength() >= ASSOC_BUFFER_CHARS)
        return false;
    return ReadClassesRootText(sKey, strOut);
}

bool CExtHyperLinkButton::BuildAssociationCommand(LPCTSTR sCommand, LPCTSTR sURL, CString& strOut)
{
    if (sCommand == NULL || sURL == NULL || *sURL == _T('\0'))
        return false;
    for (LPCTSTR p = sURL; *p != _T('\0'); ++p)
    {
        TCHAR ch = *p;
        if (ch == _T('"') || (unsigned)(_TUCHAR)ch < 0x20 || ch == 0x7F)
            return false;
    }
    CString sCmd(sCommand);
    int nCut = sCmd.Find(_T("\"%1\""));
    if (nCut < 0)
        nCut = sCmd.Find(_T("%1"));
    if (nCut >= 0)
        sCmd = sCmd.Left(nCut);
    strOut = sCmd + _T(" \"") + sURL + _T("\"");
    if (strOut.GetLength() >= ASSOC_BUFFER_CHARS)
    {
        strOut.Empty();
        return false;
    }
    return true;
}

bool CExtHyperLinkButton::OpenWithAssociation(LPCTSTR sURL, int nVerb, bool bShowError)
{
    CString sCommand, sLine;
    if (!ReadAssociationCommand(nVerb, sCommand) || !BuildAssociationCommand(sCommand, sURL, sLine))
        return false;
    UINT nResult = ::WinExec(CStringA(sLine), SW_SHOW);
    if (nResult > 32)
        return true;
    if (bShowError)
        ShowOpenError((int)nResult);
    return false;
}

bool CExtHyperLinkButton::OpenURL(LPCTSTR sURL, int nVerb, bool bShowError)
{
    if (sURL == NULL)
        return false;
    bool bDone;
    if (IsWebAddress(sURL))
        bDone = OpenWithAssociation(sURL, nVerb, bShowError) || OpenWithInternetShortcut(sURL, nVerb, bShowError) ||
                OpenWithShellExecute(sURL, nVerb, bShowError);
    else
        bDone = OpenWithInternetShortcut(sURL, nVerb, false) || OpenWithShellExecute(sURL, nVerb, false) ||
                OpenWithAssociation(sURL, nVerb, false);
    if (!bDone)
        return false;
    m_nLinkFlags |= LINK_VISITED;
    if (IsAlive())
        ::InvalidateRect(m_hWnd, NULL, TRUE);
    return true;
}

CString CExtHyperLinkButton::GetClickTarget()
{
    if (!m_strURL.IsEmpty())
        return m_strURL;
    CString sText = GetLinkText();
    sText.TrimLeft();
    sText.TrimRight();
    return sText;
}

void CExtHyperLinkButton::OnButtonClick(bool bFromKeyboard, bool bOnDropDownPart)
{
    if ((m_nLinkFlags & LINK_PLAIN_BUTTON) != 0)
    {
        CExtButton::OnButtonClick(bFromKeyboard, bOnDropDownPart);
        m_nLinkFlags |= LINK_VISITED;
        if (IsAlive())
            ::InvalidateRect(m_hWnd, NULL, TRUE);
        return;
    }
    CString sURL = GetClickTarget();
    OpenURL(sURL, VERB_OPEN, false);
}

// ---- painting --------------------------------------------------------------------------

CString CExtHyperLinkButton::GetLinkText()
{
    CString sText;
    GetButtonText(sText);
    return sText;
}

COLORREF CExtHyperLinkButton::GetLinkTextColor(bool bVisited, bool bEnabled, bool, bool bFocused, bool bHover,
                                               bool bPushed)
{
    CExtPaintManager* pPM = GetPaintManager();
    COLORREF clr;
    int nSys = COLOR_BTNTEXT;
    if (!bEnabled)
    {
        clr = m_clrText1;
        nSys = COLOR_BTNSHADOW;
    }
    else if (bHover || bPushed || bFocused)
        clr = m_clrText3;
    else if (bVisited)
        clr = m_clrVisited;
    else
        clr = m_clrText2;
    if (clr != COLORREF(-1L))
        return clr;
    return pPM != NULL ? pPM->LookupColor(nSys, this) : ::GetSysColor(nSys);
}

CRect CExtHyperLinkButton::CalcFocusRect(const CRect& rc, CSize sizeText) const
{
    CRect rcFocus(rc.left, rc.top, rc.left + std::min((int)sizeText.cx, rc.Width()),
                  rc.top + std::min((int)sizeText.cy, rc.Height()));
    rcFocus.OffsetRect(0, (rc.Height() - rcFocus.Height()) / 2);
    int dx = (rc.right - 4) - rcFocus.right;
    if (m_nTextAlign == 2)
        rcFocus.OffsetRect(dx, 0);
    else if (m_nTextAlign == 1)
        rcFocus.OffsetRect(dx / 2, 0);
    rcFocus.left -= 2;
    rcFocus.top -= 2;
    rcFocus.right += 2;
    rcFocus.bottom += 1;
    return rcFocus;
}

void CExtHyperLinkButton::DrawLinkText(CDC& dc, const RECT& rcIn, bool bVisited, bool bEnabled, bool bDrawFocus,
                                       bool bFocused, bool bHover, bool bPushed)
{
    CString sText = GetLinkText();
    if (sText.IsEmpty())
        return;
    int nOldMode = dc.SetBkMode(TRANSPARENT);
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    HFONT hBase = OnQueryFont();
    ::GetObject(hBase, sizeof(lf), &lf);
    if (m_nButtonType == BS_DEFPUSHBUTTON && lf.lfWeight < FW_BOLD)
        lf.lfWeight = FW_BOLD;
    if ((bHover || bPushed) && m_bUnderlineOnHover)
        lf.lfUnderline = TRUE;
    HFONT hFont = ::CreateFontIndirect(&lf);
    HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, hFont != NULL ? hFont : hBase);
    COLORREF clrOld = dc.SetTextColor(GetLinkTextColor(bVisited, bEnabled, bDrawFocus, bFocused, bHover, bPushed));
    CRect rc(rcIn);
    rc.DeflateRect(2, 2);
    CRect rcFocus;
    if (bDrawFocus)
    {
        CRect rcMeasure(0, 0, 0, 0);
        dc.DrawText(sText, &rcMeasure, DT_CALCRECT | DT_SINGLELINE);
        rcFocus = CalcFocusRect(rc, rcMeasure.Size());
    }
    dc.DrawText(sText, &rc, (UINT)m_nTextAlign | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    dc.SetTextColor(clrOld);
    ::SelectObject(dc.m_hDC, hOldFont);
    if (hFont != NULL)
        ::DeleteObject(hFont);
    dc.SetBkMode(nOldMode);
    if (bDrawFocus && bFocused)
        dc.DrawFocusRect(&rcFocus);
}

void CExtHyperLinkButton::RenderButton(CDC& dc, bool bTransparentBackground, bool)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL || !IsAlive())
        return;
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    if (!bTransparentBackground)
    {
        bool bDone = false;
        if (m_clrBackground == COLORREF(-1L) && pPM->UsesParentBackground(this))
        {
            CExtPaintManager::ClipOutChildren(&dc, m_hWnd);
            bDone = pPM->DrawWindowBackground(true, dc, this);
        }
        if (!bDone)
            dc.FillSolidRect(&rc, m_clrBackground != COLORREF(-1L) ? m_clrBackground : pPM->LookupColor(1000, this));
    }
    bool bVisited = (m_nLinkFlags & (LINK_VISITED | LINK_SHOW_VISITED)) == (LINK_VISITED | LINK_SHOW_VISITED);
    bool bHover = (m_nState & STATE_HOVER) != 0 && !CExtPopupMenuWnd::IsMenuTracking();
    DrawLinkText(dc, rc, bVisited, IsButtonEnabled(), (m_nState & STATE_FOCUS_RECT) != 0, ::GetFocus() == m_hWnd,
                 bHover, (m_nState & STATE_PUSHED) != 0);
}
