// CDialog: dialogs from resource templates (by id or name) or from templates in memory,
// modeless (Create, CreateIndirect) or modal (DoModal: created modeless with the owner
// disabled, then RunModalLoop). Commands a dialog does not handle go on to its parent
// window and then to the application.
#pragma once
#include "framework/wnd.h"
#include "framework/dlgtemplate.h"
#include "framework/ddx.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual ~CDialog();

    // Modeless
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL, void* lpDialogInit = NULL);
    virtual BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = NULL);

    // Modal
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL, void* lpDialogInit = NULL);
    BOOL InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = NULL);
    virtual INT_PTR DoModal();

    void MapDialogRect(LPRECT lpRect) const;
    void SetHelpID(UINT nIDR) { m_nIDHelp = nIDR; }
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    // Ends a modal dialog (also from OnInitDialog) or hides a modeless one.
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnSetFont(CFont* pFont);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL CheckAutoCenter() override;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    virtual void PreInitDialog();

    // The template and where it came from.
    UINT m_nIDHelp;
    LPCTSTR m_lpszTemplateName;   // resource name or MAKEINTRESOURCE id
    HGLOBAL m_hDialogTemplate;    // indirect template handle
    LPCDLGTEMPLATE m_lpDialogTemplate;  // indirect template pointer
    void* m_lpDialogInit;         // dialog-init data for an indirect template
    CWnd* m_pParentWnd;
    HWND m_hWndTop;               // top-level window disabled for the modal time

    // Modal steps, for classes that run their own DoModal.
    HWND PreModal();
    void PostModal();
    // Creates the window from a template (the modeless core of every form).
    BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit, HINSTANCE hInst);
    BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);

    afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
    afx_msg LRESULT HandleSetFont(WPARAM, LPARAM);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()
};

// The dialog procedure of framework dialogs: only WM_INITDIALOG reaches OnInitDialog
// through it; everything else goes through the window procedure and message maps.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
