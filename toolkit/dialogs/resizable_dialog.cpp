#include "toolkit/dialogs/resizable_dialog.h"

const CSize AnchorTopLeft(0, 0);
const CSize AnchorTopRight(100, 0);
const CSize AnchorBottomLeft(0, 100);
const CSize AnchorBottomRight(100, 100);

IMPLEMENT_DYNCREATE(CExtResizableDialog, CExtResDlg)

// No entries: the window-state layer looks for handlers of the most derived class's own
// map, and an empty map here keeps the framework dialog's from counting as one.
BEGIN_MESSAGE_MAP(CExtResizableDialog, CExtResDlg)
END_MESSAGE_MAP()

CExtResizableDialog::pfnChildBarsPreTranslateMessage CExtResizableDialog::g_pfnChildBarsPreTranslateMessage = NULL;
CExtResizableDialog::pfnUpdateChildBarsCmdUI CExtResizableDialog::g_pfnUpdateChildBarsCmdUI = NULL;

CExtResizableDialog::CExtResizableDialog() : m_nRdFlags(0) { m_nWsFlags |= CExtWSHelper::__EWS_SHOW_SIZE_GRIP; }

CExtResizableDialog::CExtResizableDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CBaseClass(nIDTemplate, pParentWnd), m_nRdFlags(0)
{
    m_nWsFlags |= CExtWSHelper::__EWS_SHOW_SIZE_GRIP;
}

CExtResizableDialog::CExtResizableDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : CBaseClass(lpszTemplateName, pParentWnd), m_nRdFlags(0)
{
    m_nWsFlags |= CExtWSHelper::__EWS_SHOW_SIZE_GRIP;
}

CExtResizableDialog::~CExtResizableDialog() {}

LPCTSTR CExtResizableDialog::QueryDialogName() const { return "Dialog"; }

void CExtResizableDialog::PreSubclassWindow()
{
    CBaseClass::PreSubclassWindow();
    m_nRdFlags |= __ERD_UPDATE_BARS;
    EnableToolTips(TRUE);
}

LRESULT CExtResizableDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        m_nRdFlags &= ~__ERD_UPDATE_BARS;
    bool bUpdate = false;
    if ((m_nRdFlags & __ERD_UPDATE_BARS) != 0)
    {
        CWinThread* pThread = AfxGetThread();
        if (pThread != NULL && pThread->IsIdleMessage(&pThread->m_msgCur))
            bUpdate = true;
    }
    HWND hWndSaved = m_hWnd;
    LRESULT lResult = CBaseClass::WindowProc(message, wParam, lParam);
    if (bUpdate && (m_nRdFlags & __ERD_UPDATING) == 0 && hWndSaved != NULL && ::IsWindow(hWndSaved) &&
        CWnd::FromHandlePermanent(hWndSaved) == this)
    {
        m_nRdFlags |= __ERD_UPDATING;
        if (g_pfnUpdateChildBarsCmdUI != NULL)
            g_pfnUpdateChildBarsCmdUI(this, TRUE);
        m_nRdFlags &= ~__ERD_UPDATING;
    }
    return lResult;
}

BOOL CExtResizableDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && pMsg->wParam != VK_TAB &&
        m_hWnd != NULL && (GetStyle() & (WS_CHILD | WS_VISIBLE)) == (WS_CHILD | WS_VISIBLE))
    {
        CWnd* pWndParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
        if (pWndParent != NULL && (CExtPaintManagerHolder::IsKindOfByName(pWndParent, "CExtControlBar") ||
                                   CExtPaintManagerHolder::IsKindOfByName(pWndParent, "CExtDynAutoHideSlider")))
        {
            if (pWndParent->PreTranslateMessage(pMsg))
                return TRUE;
        }
    }
    if (g_pfnChildBarsPreTranslateMessage != NULL && g_pfnChildBarsPreTranslateMessage(this, pMsg))
        return TRUE;
    return CBaseClass::PreTranslateMessage(pMsg);
}

void CExtResizableDialog::OnOK()
{
    if ((GetStyle() & WS_CHILD) != 0)
        return;  // a page inside another window is not ended by Enter
    CBaseClass::OnOK();
}

void CExtResizableDialog::OnCancel()
{
    if ((GetStyle() & WS_CHILD) != 0)
        return;
    CBaseClass::OnCancel();
}
