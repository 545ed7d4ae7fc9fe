// CExtCheckBox: a themed check box, three-state check box or radio button. It keeps the
// push button's input handling, cycles its own check state on a click and paints the
// box and text through the paint manager. BS_PUSHLIKE controls paint as push buttons.
#pragma once
#include "toolkit/dialogs/button.h"

class CExtCheckBox : public CExtButton
{
    DECLARE_DYNCREATE(CExtCheckBox)
public:
    CExtCheckBox();
    virtual ~CExtCheckBox();

    void OnButtonClick(bool bFromKeyboard, bool bOnDropDownPart) override;
    void RenderButton(CDC& dc, bool bTransparentBackground, bool bRespectRtl) override;
    // Called after the box is painted, with the box rectangle and state code (0-11).
    virtual bool OnCheckBoxPainted(CDC& dc, const RECT& rcBox, int nBoxState);

    bool IsThreeStateType() const { return m_nButtonType == BS_3STATE || m_nButtonType == BS_AUTO3STATE; }
    bool IsRadioType() const { return m_nButtonType == BS_RADIOBUTTON || m_nButtonType == BS_AUTORADIOBUTTON; }
    // The box state code: check state 0-2 plus 3 pressed, 6 hot, 9 disabled.
    int GetBoxState();
};
