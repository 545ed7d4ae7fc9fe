// CExtColorButton: a themed push button that holds a colour, shows it as its icon and
// opens the colour menu when clicked. It previews the colour under the mouse while the
// menu is open, passes the menu's notifications on to its parent, and opens a colour
// dialog for the menu's custom-colour entry: the toolkit's own colour dialog or, on
// request, the system one.
//
// The toolkit's colour dialog belongs to the pickers library, which is linked after this
// one; it hands its runner to the button through g_ColorDialogServices when it starts.
// A program that links no pickers gets the system colour dialog instead.
#pragma once
#include "toolkit/dialogs/button.h"

struct CExtColorDialogServices
{
    // Runs the toolkit's colour dialog modally with the initial and the current colour;
    // true when the user confirmed, with the chosen colour in clrChosen.
    bool (*pfnRunColorDialog)(COLORREF clrInit, COLORREF clrNew, CWnd* pParent, COLORREF& clrChosen);
};
extern CExtColorDialogServices g_ColorDialogServices;

class CExtColorButton : public CExtButton
{
    DECLARE_DYNCREATE(CExtColorButton)
public:
    CExtColorButton();
    virtual ~CExtColorButton();

    // Fills the icon with the button's colour (or the previewed one while the menu is open).
    virtual void SyncColorIcon(CExtCmdIcon& icon);

    void OnButtonClick(bool bFromKeyboard, bool bOnDropDownPart) override;
    bool OnTrackPopup(bool bFromKeyboard) override;
    bool HasMenu() override { return true; }
    void RenderButton(CDC& dc, bool bTransparentBackground, bool bRespectRtl) override;

    // The colour the button stands for now: the previewed one while the menu is open.
    COLORREF GetShownColor() const;

    CString m_strDefaultColorText;
    CString m_strCustomColorText;
    BYTE m_bShowDefaultColor;
    BYTE m_bShowCustomColor;
    BYTE m_bUseSystemColorDialog;
    BYTE m_bPreviewOnHover;
    COLORREF m_clrDefault;
    COLORREF m_clrCurrent;
    COLORREF m_clrHover;
    LPARAM m_lParamCookie;

protected:
    // Runs the chosen colour dialog with the current colour; true and the colour on OK.
    bool RunColorDialog(COLORREF& clrChosen);
    void RefreshNow();
    LRESULT SendToParent(UINT nMsg, WPARAM wParam, LPARAM lParam);

    afx_msg LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnColorChangedFinally(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCustomColor(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
