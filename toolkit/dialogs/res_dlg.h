// CExtResDlg: the framework dialog that takes its template and its dialog-init data
// through the toolkit's resource manager, adjusts the template's font to the system's
// property-sheet font before creating it, and is a paint-manager bridge. CExtADLG is
// the adaptor layer the resizable dialog family stands on; it adds nothing.
//
// OLE control sites are not hosted by the framework, so the control-information step of
// the classic creation does not exist here.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CExtResDlg : public CDialog, public CExtPmBridge
{
    DECLARE_DYNAMIC(CExtResDlg)
public:
    // The property-sheet font information the template adjustment uses: read once from
    // the common controls' property-sheet template and kept for the process. The face
    // lives in a global memory block freed at exit.
    class CExtResPP
    {
    public:
        CExtResPP();
        ~CExtResPP();
        HGLOBAL m_hFontInfo;  // zero-terminated face name, NULL until known
        WORD m_nFontSize;     // 0xFFFF until known
        bool IsKnown() const { return m_hFontInfo != NULL && m_nFontSize < 0xFFFF; }
        void Set(LPCTSTR sFace, WORD nSize);
        void Reset();
        CString GetFace() const;
    };
    static CExtResPP& stat_GetFontInfo();
    // The face and point size of the system's property-sheet font (the wizard form's
    // template when bWizard); true when a size is known.
    static bool stat_GetPropSheetFont(CString& sFace, WORD& nSize, bool bWizard = false);

    CExtResDlg();
    explicit CExtResDlg(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CExtResDlg(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual ~CExtResDlg();

    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL) override;
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL) override;
    BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = NULL) override;
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL, void* lpDialogInit = NULL) override;
    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;

    // The dialog's name; NULL here.
    virtual LPCTSTR QueryDialogName() const;
    // The template to create from: a hook's replacement, else a copy in fixed global
    // memory with the font adjusted. The caller frees the answer with GlobalFree.
    virtual LPDLGTEMPLATE AdjustDialogTemplate(LPCDLGTEMPLATE lpDialogTemplate);
    // The modal loop with the template found through the resource manager; -1 when no
    // template can be found.
    virtual INT_PTR ResourceDoModal();
    // Whether the resource manager's layout direction applies to this dialog.
    virtual bool UseResourceLayoutDirection() const;

    // ---- paint-manager bridge: the current paint manager, no window of its own
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    LPCTSTR GetRememberedTemplateName() const { return m_lpszTemplateNameRes; }

protected:
    // The modeless creation every form ends in.
    BOOL CreateDlgIndirectRes(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);
    void PreSubclassWindow() override;

    LPCTSTR m_lpszTemplateNameRes;  // remembered resource name (or id), NULL after construction

private:
    bool m_bWindowBound;  // a window was bound during the current creation
};

// The adaptor layer between the resource dialog and the window-state layer.
template <class T>
class CExtADLG : public T
{
public:
    CExtADLG() {}
    explicit CExtADLG(UINT nIDTemplate, CWnd* pParentWnd = NULL) : T(nIDTemplate, pParentWnd) {}
    explicit CExtADLG(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL) : T(lpszTemplateName, pParentWnd) {}
};
