// The Options dialog: edits six of the persisted options (auto refresh, hiding invalid
// entries, the size unit, the colour grid and its two colours). Confirming stores what
// changed, marks it changed and saves all options; the caller tells the panes.
//
// The themed check boxes, group boxes, combo box and colour buttons of the toolkit are
// not available yet: the template's plain controls stand in, and the two colours (with
// their defaults, which the colour popup's default entry would give) are kept by the
// dialog itself; a click on either button picks its colour in the common colour dialog.
#pragma once
#include "framework/framework.h"
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

    // What the two colour buttons hold: the current and the default colour.
    COLORREF m_clrGridColor1, m_clrGridColor1Default;
    COLORREF m_clrGridColor2, m_clrGridColor2Default;

    CComboBox m_wndSizeType;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnGridColor1();
    afx_msg void OnGridColor2();
    // Asks for a colour starting from clrCurrent; false when the user cancels.
    virtual bool PickColor(COLORREF clrCurrent, COLORREF& clrPicked);

    DECLARE_MESSAGE_MAP()
};
