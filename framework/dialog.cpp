// CDialog: creation from templates, the modal loop, OK/Cancel, keyboard navigation and
// command routing of dialogs.
#include "framework/dialog.h"
#include "framework/winthread.h"
#include "framework/app.h"
#include "framework/exceptions.h"
#include "framework/resources.h"
#include "framework/gdiobj.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
    ON_MESSAGE(WM_COMMANDHELP, &CDialog::OnCommandHelp)
    ON_MESSAGE(WM_HELPHITTEST, &CDialog::OnHelpHitTest)
    ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
    ON_MESSAGE(WM_SETFONT, &CDialog::HandleSetFont)
    ON_WM_PAINT()
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
        if (pDlg == NULL) return 1;
        // Called from the system's dialog procedure: an exception must stop here, it
        // cannot unwind through the system's frames. The dialog is over (DoModal answers
        // -1, Create FALSE), and the thread tells the user why, as for any exception that
        // reaches a window procedure: a dialog that never showed must not go unexplained.
        try {
            return pDlg->OnInitDialog();
        } catch (...) {
            CException* e = AfxCaughtException();
            pDlg->EndDialog(-1);
            MSG msg = {};
            msg.hwnd = hWnd;
            msg.message = WM_INITDIALOG;
            msg.wParam = wParam;
            msg.lParam = lParam;
            AfxProcessWndProcException(e, &msg);
            e->Delete();
        }
        return FALSE;
    }
    return 0;
}

CDialog::CDialog()
    : m_nIDHelp(0),
      m_lpszTemplateName(NULL),
      m_hDialogTemplate(NULL),
      m_lpDialogTemplate(NULL),
      m_lpDialogInit(NULL),
      m_pParentWnd(NULL),
      m_hWndTop(NULL) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : CDialog() {
    m_pParentWnd = pParentWnd;
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(m_lpszTemplateName)) m_nIDHelp = LOWORD((DWORD_PTR)m_lpszTemplateName);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog() {
    m_pParentWnd = pParentWnd;
    m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
    m_nIDHelp = nIDTemplate;
}

CDialog::~CDialog() {
    if (m_hWnd != NULL) DestroyWindow();
}

// ---- modeless -------------------------------------------------------------------------

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(m_lpszTemplateName) && m_nIDHelp == 0) m_nIDHelp = LOWORD((DWORD_PTR)m_lpszTemplateName);
    if (!lpszTemplateName) return FALSE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, (LPCSTR)RT_DIALOG);
    HRSRC hResource = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (hResource == NULL) return FALSE;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    if (hTemplate == NULL) return FALSE;
    return CreateIndirect(hTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
    return CreateIndirect(hDialogTemplate, pParentWnd, NULL);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
    if (hDialogTemplate == NULL) return FALSE;
    LPCDLGTEMPLATE lpDialogTemplate = (LPCDLGTEMPLATE)::LockResource(hDialogTemplate);
    if (lpDialogTemplate == NULL) return FALSE;
    return CreateIndirect(lpDialogTemplate, pParentWnd, NULL, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
    return CreateIndirect(lpDialogTemplate, pParentWnd, lpDialogInit, NULL);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit, HINSTANCE hInst) {
    if (pParentWnd == NULL) pParentWnd = AfxGetMainWnd();
    m_lpDialogInit = lpDialogInit;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, hInst);
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
    if (lpDialogTemplate == NULL) return FALSE;
    if (hInst == NULL) hInst = AfxGetResourceHandle();

    HGLOBAL hTemplate = NULL;
    HWND hWnd = NULL;
    try {
        AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
        AfxDeferRegisterClass(AFX_WNDCOMMCTLSNEW_REG);

        // A template without a font gets the system's dialog font; so do the old
        // default faces on a DBCS system, where they lack the characters (their usual
        // size 8 then becomes the system font's size).
        CString strFace;
        WORD wSize = 0;
        BOOL bSetSysFont = !CDialogTemplate::GetFont(lpDialogTemplate, strFace, wSize);
        if (!bSetSysFont && ::GetSystemMetrics(SM_DBCSENABLED)) {
            bSetSysFont = strFace == "MS Shell Dlg" || strFace == "MS Sans Serif" || strFace == "Helv";
            if (bSetSysFont && wSize == 8) wSize = 0;
        }
        if (bSetSysFont) {
            CDialogTemplate dlgTemp(lpDialogTemplate);
            dlgTemp.SetSystemFont(wSize);
            hTemplate = dlgTemp.Detach();
        }
        if (hTemplate != NULL) lpDialogTemplate = (LPCDLGTEMPLATE)::GlobalLock(hTemplate);

        m_nModalResult = -1;
        m_nFlags |= WF_CONTINUEMODAL;

        AfxHookWindowCreate(this);
        hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, pParentWnd->GetSafeHwnd(), AfxDlgProc, 0);
    } catch (CException* e) {
        e->Delete();
        m_nModalResult = -1;
    }

    if (hTemplate != NULL) {
        ::GlobalUnlock(hTemplate);
        ::GlobalFree(hTemplate);
    }

    // Not consumed: the template was refused before any window existed.
    if (!AfxUnhookWindowCreate()) PostNcDestroy();

    // EndDialog during OnInitDialog: the dialog is over before it was shown.
    if (hWnd != NULL && !(m_nFlags & WF_CONTINUEMODAL)) {
        ::DestroyWindow(hWnd);
        hWnd = NULL;
    }
    return hWnd != NULL;
}

// ---- modal ------------------------------------------------------------------------------

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    m_lpDialogInit = lpDialogInit;
    return TRUE;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
    m_hDialogTemplate = hDialogTemplate;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

HWND CDialog::PreModal() {
    // The owner: the parent given, else the main window's last active popup; its
    // top-level window is disabled for the modal time.
    HWND hWnd = CWnd::GetSafeOwner_(m_pParentWnd->GetSafeHwnd(), &m_hWndTop);
    AfxHookWindowCreate(this);
    return hWnd;
}

void CDialog::PostModal() {
    AfxUnhookWindowCreate();
    Detach();
    if (::IsWindow(m_hWndTop)) ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;
}

INT_PTR CDialog::DoModal() {
    LPCDLGTEMPLATE lpDialogTemplate = m_lpDialogTemplate;
    HGLOBAL hDialogTemplate = m_hDialogTemplate;
    HINSTANCE hInst = AfxGetResourceHandle();
    if (m_lpszTemplateName != NULL) {
        hInst = AfxFindResourceHandle(m_lpszTemplateName, (LPCSTR)RT_DIALOG);
        HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
        hDialogTemplate = hResource ? ::LoadResource(hInst, hResource) : NULL;
    }
    if (hDialogTemplate != NULL) lpDialogTemplate = (LPCDLGTEMPLATE)::LockResource(hDialogTemplate);
    if (lpDialogTemplate == NULL) return -1;  // no template: the parent is left alone

    HWND hWndParent = PreModal();
    AfxUnhookWindowCreate();
    BOOL bEnableParent = FALSE;
    if (hWndParent != NULL && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    try {
        AfxHookWindowCreate(this);
        if (CreateDlgIndirect(lpDialogTemplate, CWnd::FromHandle(hWndParent), hInst)) {
            if (m_nFlags & WF_CONTINUEMODAL) {
                DWORD dwFlags = MLF_SHOWONIDLE;
                if (GetStyle() & DS_NOIDLEMSG) dwFlags |= MLF_NOIDLEMSG;
                RunModalLoop(dwFlags);
            }
            // Hidden before the owner comes back, so activation moves cleanly.
            if (m_hWnd != NULL)
                SetWindowPos(NULL, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    } catch (CException* e) {
        e->Delete();
        m_nModalResult = -1;
    }

    if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != NULL && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);

    DestroyWindow();
    PostModal();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

// ---- initialisation ---------------------------------------------------------------------

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    PreInitDialog();
    return Default();  // the dialog procedure calls OnInitDialog
}

void CDialog::PreInitDialog() {}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM) {
    OnSetFont(CFont::FromHandle((HFONT)wParam));
    return Default();
}

void CDialog::OnSetFont(CFont*) {}

BOOL CDialog::OnInitDialog() {
    BOOL bDlgInit;
    if (m_lpDialogInit != NULL)
        bDlgInit = ExecuteDlgInit(m_lpDialogInit);
    else
        bDlgInit = ExecuteDlgInit(m_lpszTemplateName);
    if (!bDlgInit) {
        EndDialog(-1);
        return FALSE;
    }
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;  // the system puts the focus on the first control
}

BOOL CDialog::CheckAutoCenter() {
    return !(GetStyle() & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN));
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;  // a field failed validation: stay
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnPaint() { Default(); }

LRESULT CDialog::OnCommandHelp(WPARAM, LPARAM lParam) {
    if (lParam == 0 && m_nIDHelp != 0) lParam = 0x20000 + m_nIDHelp;  // HID_BASE_RESOURCE
    if (lParam != 0) {
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL) pApp->HtmlHelp(lParam);
        return TRUE;
    }
    return FALSE;
}

LRESULT CDialog::OnHelpHitTest(WPARAM, LPARAM) {
    if (m_nIDHelp != 0) return 0x20000 + m_nIDHelp;
    return 0;
}

// ---- navigation ------------------------------------------------------------------------

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl != NULL && pWndCtrl->m_hWnd != NULL)
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, 1L);
}
void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
DWORD CDialog::GetDefID() const { return (DWORD)::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Tooltips first, then dialog keyboard navigation for the dialog and its children.
    if (CWnd::PreTranslateMessage(pMsg)) return TRUE;

    // Esc in a multi-line edit would be eaten by the edit: cancel the dialog ourselves
    // unless its Cancel button is disabled.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongA(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE)) {
        char cls[16];
        ::GetClassNameA(pMsg->hwnd, cls, sizeof(cls));
        if (lstrcmpiA(cls, "Edit") == 0) {
            HWND hItem = ::GetDlgItem(m_hWnd, IDCANCEL);
            if (hItem == NULL || ::IsWindowEnabled(hItem)) {
                SendMessage(WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            }
        }
    }
    return PreTranslateInput(pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;

    // Only commands (not notifications or system commands) go on: to the parent
    // window, then to the thread's application object.
    if ((nCode != (int)CN_COMMAND && nCode != (int)CN_UPDATE_COMMAND_UI) || !(nID & 0x8000) || nID >= 0xF000)
        return FALSE;
    CWnd* pOwner = GetParent();
    if (pOwner != NULL && pOwner->m_hWnd != m_hWnd && pOwner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return FALSE;
}
