#include "toolkit/dialogs/res_dlg.h"
#include "toolkit/core/resource_manager.h"

IMPLEMENT_DYNAMIC(CExtResDlg, CDialog)

// ---- the property-sheet font ---------------------------------------------------------

CExtResDlg::CExtResPP::CExtResPP() : m_hFontInfo(NULL), m_nFontSize(0xFFFF) {}

CExtResDlg::CExtResPP::~CExtResPP() { Reset(); }

void CExtResDlg::CExtResPP::Reset()
{
    if (m_hFontInfo != NULL)
        ::GlobalFree(m_hFontInfo);
    m_hFontInfo = NULL;
    m_nFontSize = 0xFFFF;
}

void CExtResDlg::CExtResPP::Set(LPCTSTR sFace, WORD nSize)
{
    Reset();
    if (sFace == NULL)
        sFace = "";
    size_t nLen = strlen(sFace) + 1;
    m_hFontInfo = ::GlobalAlloc(GMEM_FIXED, nLen);
    if (m_hFontInfo == NULL)
        return;
    memcpy((void*)m_hFontInfo, sFace, nLen);
    m_nFontSize = nSize;
}

CString CExtResDlg::CExtResPP::GetFace() const
{
    return (m_hFontInfo != NULL) ? CString((LPCSTR)m_hFontInfo) : CString();
}

CExtResDlg::CExtResPP& CExtResDlg::stat_GetFontInfo()
{
    static CExtResPP g_FontInfo;
    return g_FontInfo;
}

bool CExtResDlg::stat_GetPropSheetFont(CString& sFace, WORD& nSize, bool bWizard)
{
    CExtResPP& info = stat_GetFontInfo();
    if (!info.IsKnown())
    {
        // Until a size is known every request looks again.
        HMODULE hComCtl = ::GetModuleHandleA("COMCTL32.DLL");
        if (hComCtl != NULL)
        {
            LPCSTR lpszName = MAKEINTRESOURCEA(bWizard ? 1020 : 1006);
            WORD nLang = g_CurrentResourceManager->GetLangIdDefault();
            HRSRC hRsrc = ::FindResourceExA(hComCtl, (LPCSTR)RT_DIALOG, lpszName, nLang);
            if (hRsrc == NULL)
                hRsrc = ::FindResourceA(hComCtl, lpszName, (LPCSTR)RT_DIALOG);
            HGLOBAL hRes = (hRsrc != NULL) ? ::LoadResource(hComCtl, hRsrc) : NULL;
            const DLGTEMPLATE* pTemplate = (hRes != NULL) ? (const DLGTEMPLATE*)::LockResource(hRes) : NULL;
            CString strFace;
            WORD nFontSize = 0;
            if (pTemplate != NULL && CDialogTemplate::GetFont(pTemplate, strFace, nFontSize))
                info.Set(strFace, nFontSize);
        }
    }
    if (!info.IsKnown())
        return false;
    sFace = info.GetFace();
    nSize = info.m_nFontSize;
    return true;
}

// ---- construction ----------------------------------------------------------------------

CExtResDlg::CExtResDlg() : m_lpszTemplateNameRes(NULL), m_bWindowBound(false) { RegisterWithHolder(); }

CExtResDlg::CExtResDlg(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_lpszTemplateNameRes(NULL), m_bWindowBound(false)
{
    RegisterWithHolder();
}

CExtResDlg::CExtResDlg(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : CDialog(lpszTemplateName, pParentWnd), m_lpszTemplateNameRes(NULL), m_bWindowBound(false)
{
    RegisterWithHolder();
}

CExtResDlg::~CExtResDlg() { UnregisterFromHolder(); }

void CExtResDlg::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }

void CExtResDlg::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }

HWND CExtResDlg::GetBridgeHwnd() { return NULL; }

CExtPaintManager* CExtResDlg::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

LPCTSTR CExtResDlg::QueryDialogName() const { return NULL; }

bool CExtResDlg::UseResourceLayoutDirection() const { return false; }

void CExtResDlg::PreSubclassWindow()
{
    m_bWindowBound = true;
    CDialog::PreSubclassWindow();
}

// ---- template adjustment ---------------------------------------------------------------

LPDLGTEMPLATE CExtResDlg::AdjustDialogTemplate(LPCDLGTEMPLATE lpDialogTemplate)
{
    if (lpDialogTemplate == NULL)
        return NULL;
    INT_PTR nHooked = g_CurrentResourceManager->OnAdjustDialogTemplate(lpDialogTemplate, m_hWnd, false);
    if (nHooked != 0)
        return (LPDLGTEMPLATE)nHooked;
    // The paint manager has no dialog-template hook of its own: no theme replaces one.

    UINT nSize = CDialogTemplate::GetTemplateSize(lpDialogTemplate);
    CString strFace;
    WORD nFontSize = 0;
    CString strSysFace;
    WORD nSysSize = 0;
    HGLOBAL hAdjusted = NULL;
    if (CDialogTemplate::GetFont(lpDialogTemplate, strFace, nFontSize) &&
        stat_GetPropSheetFont(strSysFace, nSysSize) && !(strFace == strSysFace && nFontSize == nSysSize) &&
        (strFace.CompareNoCase("MS Sans Serif") == 0 || strFace.CompareNoCase("MS Shell Dlg") == 0) &&
        nFontSize == nSysSize)
    {
        CDialogTemplate dlgTemp(lpDialogTemplate);
        if (dlgTemp.SetFont(strSysFace, nFontSize))
            hAdjusted = dlgTemp.Detach();
    }
    const void* pSource = lpDialogTemplate;
    if (hAdjusted != NULL)
    {
        pSource = ::GlobalLock(hAdjusted);
        nSize = (UINT)::GlobalSize(hAdjusted);
    }
    LPDLGTEMPLATE pCopy = (LPDLGTEMPLATE)::GlobalAlloc(GMEM_FIXED, nSize);
    if (pCopy != NULL && pSource != NULL)
        memcpy(pCopy, pSource, nSize);
    if (hAdjusted != NULL)
    {
        ::GlobalUnlock(hAdjusted);
        ::GlobalFree(hAdjusted);
    }
    return pCopy;
}

// ---- modeless creation -----------------------------------------------------------------

BOOL CExtResDlg::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CExtResDlg::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    m_lpszTemplateName = lpszTemplateName;
    m_lpszTemplateNameRes = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = LOWORD((DWORD_PTR)lpszTemplateName);
    if (lpszTemplateName == NULL)
        return FALSE;
    HRSRC hRsrc = NULL;
    HINSTANCE hInst = g_CurrentResourceManager->FindResourceHandle((LPCTSTR)RT_DIALOG, lpszTemplateName, NULL, &hRsrc);
    if (hInst == NULL || hRsrc == NULL)
        return FALSE;
    HGLOBAL hTemplate = ::LoadResource(hInst, hRsrc);
    if (hTemplate == NULL)
        return FALSE;
    LPCDLGTEMPLATE lpTemplate = (LPCDLGTEMPLATE)::LockResource(hTemplate);
    if (lpTemplate == NULL)
        return FALSE;
    if (pParentWnd == NULL)
        pParentWnd = AfxGetMainWnd();
    m_lpDialogInit = NULL;
    return CreateDlgIndirectRes(lpTemplate, pParentWnd, hInst);
}

BOOL CExtResDlg::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    if (hDialogTemplate == NULL)
        return FALSE;
    LPCDLGTEMPLATE lpTemplate = (LPCDLGTEMPLATE)::LockResource(hDialogTemplate);
    if (lpTemplate == NULL)
        return FALSE;
    return CreateIndirect(lpTemplate, pParentWnd, NULL);
}

BOOL CExtResDlg::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    if (pParentWnd == NULL)
        pParentWnd = AfxGetMainWnd();
    m_lpDialogInit = lpDialogInit;
    return CreateDlgIndirectRes(lpDialogTemplate, pParentWnd, AfxGetInstanceHandle());
}

BOOL CExtResDlg::CreateDlgIndirectRes(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (lpDialogTemplate == NULL)
        return FALSE;
    if (hInst == NULL)
        hInst = AfxGetInstanceHandle();
    LPDLGTEMPLATE pAdjusted = AdjustDialogTemplate(lpDialogTemplate);
    LPCDLGTEMPLATE pUse = (pAdjusted != NULL) ? pAdjusted : lpDialogTemplate;

    // A DBCS system shows the classic dialog faces badly: such a template takes the
    // system font (the framework gives one to a template without a font).
    HGLOBAL hFixup = NULL;
    CString strFace;
    WORD nFontSize = 0;
    if (::GetSystemMetrics(SM_DBCSENABLED) && CDialogTemplate::GetFont(pUse, strFace, nFontSize) &&
        (strFace == "MS Shell Dlg" || strFace == "MS Sans Serif" || strFace == "Helv"))
    {
        CDialogTemplate dlgTemp(pUse);
        dlgTemp.SetSystemFont(nFontSize == 8 ? 0 : nFontSize);
        hFixup = dlgTemp.Detach();
        if (hFixup != NULL)
            pUse = (LPCDLGTEMPLATE)::GlobalLock(hFixup);
    }

    if (pAdjusted != NULL && UseResourceLayoutDirection() && (g_CurrentResourceManager->GetLangLayout() & 1) != 0)
    {
        DWORD* pdw = (DWORD*)(hFixup != NULL ? (void*)pUse : (void*)pAdjusted);
        if (CDialogTemplate::IsDialogEx((const DLGTEMPLATE*)pdw))
            pdw[2] |= WS_EX_LAYOUTRTL;
        else
            pdw[1] |= WS_EX_LAYOUTRTL;
    }

    m_bWindowBound = false;
    BOOL bCreated = CDialog::CreateDlgIndirect(pUse, pParentWnd, hInst);
    // A dialog that ended itself while initialising had its window; the framework has
    // destroyed it already, and that counts as a successful creation.
    bool bEndedItself = !bCreated && m_bWindowBound && (m_nFlags & WF_CONTINUEMODAL) == 0;

    if (hFixup != NULL)
    {
        ::GlobalUnlock(hFixup);
        ::GlobalFree(hFixup);
    }
    if (pAdjusted != NULL)
        ::GlobalFree((HGLOBAL)pAdjusted);
    return bCreated || bEndedItself;
}

// ---- modal -----------------------------------------------------------------------------

INT_PTR CExtResDlg::DoModal()
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    m_lpszTemplateNameRes = m_lpszTemplateName;
    return ResourceDoModal();
}

INT_PTR CExtResDlg::ResourceDoModal()
{
    LPCDLGTEMPLATE lpDialogTemplate = m_lpDialogTemplate;
    HGLOBAL hDialogTemplate = m_hDialogTemplate;
    HINSTANCE hInst = AfxGetResourceHandle();
    if (m_lpszTemplateName != NULL)
    {
        HRSRC hRsrc = NULL;
        hInst = g_CurrentResourceManager->FindResourceHandle((LPCTSTR)RT_DIALOG, m_lpszTemplateName, NULL, &hRsrc);
        hDialogTemplate = (hInst != NULL && hRsrc != NULL) ? ::LoadResource(hInst, hRsrc) : NULL;
    }
    if (hDialogTemplate != NULL)
        lpDialogTemplate = (LPCDLGTEMPLATE)::LockResource(hDialogTemplate);
    if (lpDialogTemplate == NULL)
        return -1;

    HWND hWndParent = PreModal();
    AfxUnhookWindowCreate();
    bool bEnableParent = false;
    if (hWndParent != NULL && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent))
    {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = true;
    }

    try
    {
        AfxHookWindowCreate(this);
        if (CreateDlgIndirectRes(lpDialogTemplate, CWnd::FromHandle(hWndParent), hInst))
        {
            if ((m_nFlags & WF_CONTINUEMODAL) != 0 && m_hWnd != NULL)
            {
                DWORD dwFlags = MLF_SHOWONIDLE;
                if (GetStyle() & DS_NOIDLEMSG)
                    dwFlags |= MLF_NOIDLEMSG;
                RunModalLoop(dwFlags);
            }
            if (m_hWnd != NULL)
                SetWindowPos(NULL, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }
    catch (CException* e)
    {
        e->Delete();
        m_nModalResult = -1;
    }

    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);

    DestroyWindow();
    PostModal();
    return m_nModalResult;
}

// ---- initialisation --------------------------------------------------------------------

BOOL CExtResDlg::OnInitDialog()
{
    if (m_lpszTemplateNameRes != NULL)
    {
        m_lpDialogInit = NULL;
        g_CurrentResourceManager->ExecuteDlgInit(m_hWnd, m_lpszTemplateNameRes);
    }
    // The framework would run the init data again from the module's own resources.
    LPCTSTR lpszSavedName = m_lpszTemplateName;
    void* lpSavedInit = m_lpDialogInit;
    m_lpszTemplateName = NULL;
    m_lpDialogInit = NULL;
    BOOL bResult = CDialog::OnInitDialog();
    m_lpszTemplateName = lpszSavedName;
    m_lpDialogInit = lpSavedInit;
    return bResult;
}
