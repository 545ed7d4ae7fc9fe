// CExtBarColorButton: a toolbar button that stands for a colour. Its icon is drawn from
// the colour, its drop-down is the colour menu, and a click on its main part reports the
// colour (with the caller's lParam) to the command target instead of a command.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_BAR_COLOR_BUTTON_H_INCLUDED
#define TOOLKIT_BARS_BAR_COLOR_BUTTON_H_INCLUDED

class CExtPopupColorMenuWnd;

class CExtBarColorButton : public CExtBarButton
{
    DECLARE_DYNCREATE(CExtBarColorButton)
public:
    // Icon styles.
    enum
    {
        __ICON_STYLE_FILLED = 0,
        __ICON_STYLE_FRAME = 1,
        __ICON_STYLE_LETTER = 2,
    };
    // Flag bits; the node flags that mirror them while a node is attached.
    enum
    {
        __ECBF_DEFAULT_BTN = 0x01,
        __ECBF_CUSTOM_BTN = 0x02,
        __NODE_DEFAULT_BTN = 0x10000,
        __NODE_CUSTOM_BTN = 0x20000,
    };

    explicit CExtBarColorButton(CExtToolControlBar* pBar = NULL, UINT nCmdID = 0, UINT nStyle = 0,
                                COLORREF clr = 0, COLORREF clrDefault = 0, LPARAM lParam = 0,
                                bool bShowDefaultColorButton = true, bool bShowCustomColorButton = true,
                                LPCTSTR sDefaultColorBtnText = NULL, LPCTSTR sCustomColorBtnText = NULL,
                                int nIconStyle = __ICON_STYLE_FILLED);
    virtual ~CExtBarColorButton();

    // ---- overrides of the bar button --------------------------------------------------------
    bool IsAbleToTrackMenu() const override;
    bool HasPopup(bool bCustomizeMode = false) const override;
    bool PutToPopupMenu(CExtPopupMenuWnd* pPopup) override;
    UINT OnTrackPopup(CPoint point, bool bSelectAny, bool bNoAnimation) override;
    void OnDeliverCmd() override;
    int OnHelpHitTest(CPoint point) override;
    bool CanStartCustomizeDrag() override;
    int OnCustomizeCalcDropPos(CPoint point, bool bDropDownAware) override;

    // ---- own operations, in slot order ------------------------------------------------------
    // Regenerates the icon and stores it for the effective id in the bar's profile.
    virtual void OnSyncIcon();
    virtual COLORREF ColorGet(bool bButtonColor) const;
    virtual void ColorSet(COLORREF clr, bool bDefaultColor);
    virtual LPARAM LParamGet() const;
    virtual void LParamSet(LPARAM lParam);
    virtual bool IsDefaultColorBtnVisible() const;
    virtual void SetDefaultColorBtnVisible(bool bVisible);
    virtual bool IsCustomColorBtnVisible() const;
    virtual void SetCustomColorBtnVisible(bool bVisible);
    virtual LPCTSTR GetDefaultColorBtnText() const;
    virtual void SetDefaultColorBtnText(LPCTSTR sText);
    virtual LPCTSTR GetCustomColorBtnText() const;
    virtual void SetCustomColorBtnText(LPCTSTR sText);
    virtual void OnGenerateIcon(CExtCmdIcon& icon);

    int m_nIconStyle;

protected:
    bool GetColorFlag(BYTE nBit, DWORD dwNodeFlag) const;
    void SetColorFlag(BYTE nBit, DWORD dwNodeFlag, bool bOn);
    // Gives a colour menu the button's values: lParam, rows, colours, captions, node.
    void SetupColorMenu(CExtPopupColorMenuWnd* pPopup) const;

    COLORREF m_clr;
    COLORREF m_clrDefault;
    LPARAM m_lParamCookie;
    BYTE m_nColorFlags;
    CString m_sBtnTextColorDefault;
    CString m_sBtnTextColorCustom;
};

#endif
