// The Options dialog: edits six of the persisted options (auto refresh, hiding invalid
// entries, the size unit, the colour grid and its two colours). Confirming stores what
// changed, marks it changed and saves all options; the caller tells the panes.
// Every control is the toolkit's themed one; the two grid colours live in the colour
// buttons.
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/check_box.h"
#include "toolkit/dialogs/color_button.h"
#include "toolkit/dialogs/combo_box.h"
#include "toolkit/dialogs/group_box.h"
#include "toolkit/dialogs/label.h"
#include "toolkit/dialogs/nc_frame_dialog.h"

class COptionsDlg : public CExtNCW<CExtResizableDialog>
{
public:
    explicit COptionsDlg(CWnd* pParent = NULL);
    virtual ~COptionsDlg();

    BOOL Create(CWnd* pParentWnd);  // modeless, for embedding and tests

    int m_nAutoRefresh;
    int m_nHide;
    int m_nSizeType;
    int m_nGridEnabled;

    // GridColor1 and GridColor2: each button holds its current and its default colour.
    CExtColorButton m_wndGridColor1;
    CExtColorButton m_wndGridColor2;
    CExtComboBox m_wndSizeType;
    CExtGroupBox m_wndGeneralBox;
    CExtGroupBox m_wndViewBox;
    CExtCheckBox m_wndAutoRefresh;
    CExtCheckBox m_wndHideInvalid;
    CExtCheckBox m_wndShowGrid;
    CExtLabel m_wndSizeTypeLabel;
    CExtButton m_wndOK;
    CExtButton m_wndCancel;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};
