// CExtColorDlg: the toolkit's modal colour dialog. A colour control in a mode the user
// picks from a combo box, a second one comparing the colour at opening with the one
// being picked, and nine edits with spin buttons for red, green, blue, cyan, magenta,
// yellow, hue, saturation and lightness (each 0-255); every way of changing the colour
// updates the others at once. After OK the caller reads m_clrNew.
//
// The dialog's template (id 30001) comes from the program's resources when it has one;
// otherwise the dialog builds its own with the same control ids in memory.
#pragma once
#include "toolkit/dialogs/button.h"
#include "toolkit/dialogs/combo_box.h"
#include "toolkit/dialogs/edit.h"
#include "toolkit/dialogs/label.h"
#include "toolkit/dialogs/nc_frame_dialog.h"
#include "toolkit/dialogs/spin_wnd.h"
#include "toolkit/pickers/color_ctrl.h"

class CExtColorDlg : public CExtNCW<CExtResizableDialog>
{
public:
    enum
    {
        IDD = 30001,
        IDC_PICKER = 30013,
        IDC_MODE = 30014,
        IDC_DIFF = 30027,
        IDC_LABEL_MODE = 30291,
        IDS_RANGE_ERROR = 30002,
        IDI_DIALOG = 30001,
    };
    // The nine edits in group order: R, G, B; C, M, Y; H, S, L.
    enum e_field_t
    {
        FIELD_R = 0, FIELD_G, FIELD_B, FIELD_C, FIELD_M, FIELD_Y, FIELD_H, FIELD_S, FIELD_L, FIELD_COUNT
    };
    static const UINT g_nEditIds[FIELD_COUNT];
    static const UINT g_nSpinIds[FIELD_COUNT];
    static const UINT g_nLabelIds[12];

    CExtColorDlg(COLORREF clrInit = RGB(255, 255, 255), COLORREF clrNew = RGB(255, 255, 255),
                 CWnd* pParent = NULL);
    virtual ~CExtColorDlg();

    INT_PTR DoModal() override;
    // The built-in template, made once for the process.
    static LPCDLGTEMPLATE stat_GetBuiltInTemplate();

    COLORREF m_clrInit;
    COLORREF m_clrNew;
    CString m_strCaption;
    CExtSpinWnd m_wndSpin[FIELD_COUNT];
    CExtEdit m_wndEdit[FIELD_COUNT];
    CExtComboBox m_wndComboMode;
    CExtButton m_wndBtnCancel;
    CExtButton m_wndBtnOK;
    CExtLabel m_wndLabel[12];
    bool m_bInitialized;
    bool m_bSyncing;
    HICON m_hIcon;
    CExtColorCtrl m_wndPicker;
    CExtColorCtrl m_wndDiff;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Writes the colour into the chosen edit groups and the two controls (without their
    // notifications); m_clrNew follows the picker.
    void SyncFromColor(COLORREF clr, bool bRgb, bool bCmy, bool bHsl);
    // One group's edits changed: reads them, checks the range, syncs the rest.
    void OnEditGroupChanged(int nFirstField);
    void SetFieldText(int nField, int nValue);

    afx_msg LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEditRgbChanged();
    afx_msg void OnEditCmyChanged();
    afx_msg void OnEditHslChanged();
    afx_msg void OnModeSelEndOk();
    DECLARE_MESSAGE_MAP()
};
