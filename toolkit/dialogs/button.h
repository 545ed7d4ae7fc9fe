// CExtButton: the toolkit's themed push button. It takes over a standard button,
// tracks hover and pressed states itself and paints every state through the current
// paint manager. It may carry a drop-down menu (for the whole button or a split arrow
// part), an icon with state images, a cursor and a tip text.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/theme/paint_manager.h"

class CExtPopupMenuWnd;
class CExtPopupMenuTipWnd;

class CExtButton : public CButton, public CExtMouseCaptureSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtButton)
public:
    enum
    {
        STATE_FOCUS_RECT = 0x01,
        STATE_DRAW_BORDER = 0x02,
        STATE_HOVER = 0x04,
        STATE_PUSHED = 0x08,
        STATE_PRESSING = 0x10,
        STATE_KEY_PRESS = 0x20,
        STATE_SPLIT = 0x40,
        STATE_TAKE_COMMAND = 0x80,
    };
    enum
    {
        PART_NONE = 0,
        PART_MAIN = 1,
        PART_DROPDOWN = 2,
    };

    CExtButton();
    virtual ~CExtButton();

    // Empties the icon, then takes the given icons (and destroys them): with a first
    // and a second icon the first is the hover look and the second the main image,
    // with one of them that one is the main image; a disabled and a pushed icon become
    // the state images 1 and 3. A live button is repainted at once.
    void SetStateIcons(HICON hIconFirst, HICON hIconSecond = NULL, HICON hIconDisabled = NULL,
                       HICON hIconPushed = NULL);
    void SetIcon(HICON hIcon1, HICON hIcon2 = NULL, HICON hIcon3 = NULL, HICON hIcon4 = NULL);
    bool SetBtnCursor(int nCursorID);
    void SetTooltipText(LPCTSTR sText, bool bActivate = true);
    void ActivateTooltip(bool bActivate = true);

    void GetPartRects(CRect& rcMain, CRect& rcDropDown);
    int HitTestPart(POINT ptClient);
    // The part at a client point: none where another window lies over it there, the
    // main part anywhere on a button that is not split. The mouse handlers ask it for
    // the point their message carries.
    int HitTestAt(POINT ptClient);
    // The same for the cursor as it is now.
    int HitTestCursor();
    void PaintBuffered(CDC& dc, bool bTransparentBackground, bool bRespectRtl);

    virtual bool IsButtonEnabled();
    virtual void OnButtonClick(bool bFromKeyboard, bool bOnDropDownPart);
    virtual bool OnTrackPopup(bool bFromKeyboard);
    virtual bool HasMenu();
    virtual bool PutToPopupMenu(CExtPopupMenuWnd* pPopup);
    virtual bool OnMnemonicActivate();
    virtual bool MatchesMnemonic(UINT nVirtualKey);
    virtual int GetTipMaxWidth(LPCTSTR sText);
    virtual void RenderButton(CDC& dc, bool bTransparentBackground, bool bRespectRtl);
    virtual int GetButtonText(CString& sText);
    virtual HFONT OnQueryFont();
    virtual CExtPopupMenuTipWnd* GetSharedTipWnd();
    virtual void ShowSharedTip(CExtPopupMenuTipWnd* pTip, const RECT& rcButtonScreen);

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // bridge to the paint manager
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override;

    CMenu m_menu;
    int m_nMenuAlign;
    int m_nMenuLeftAreaWidth;
    int m_nTipStyle;
    BYTE m_nKeyFlags;
    UINT m_nContentAlign;
    int m_nButtonType;
    int m_nCheck;
    BYTE m_nState;
    BYTE m_nOptions;
    int m_nPressedPart;
    HCURSOR m_hCursor;
    CToolTipCtrl m_wndToolTip;
    CExtCmdIcon m_icon;
    COLORREF m_clrBackground;
    COLORREF m_clrText1;
    COLORREF m_clrText2;
    COLORREF m_clrText3;
    COLORREF m_clrText4;
    CString m_strTipText;
    bool m_bTipActive : 1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Steps of the window procedure, by kind of message; each is true when it took the
    // message and set the result.
    bool RelayMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    bool HandleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    bool HandleEnvironmentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    bool HandlePaintMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    bool HandleStateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    void OnButtonDown(WPARAM wParam, LPARAM lParam, bool bTakeFocus);
    void OnButtonMove(WPARAM wParam, LPARAM lParam);
    void OnButtonUp(WPARAM wParam, LPARAM lParam);
    void OnCancelModeNow();
    bool IsAlive() const { return m_hWnd != NULL && ::IsWindow(m_hWnd); }
    // The receiver of the button's menu and its placement: on a docked bar the menu opens
    // away from the dock side and goes to the first window up the chain that is no bar
    // (the owning frame for a floating bar); bOnBar tells that the parent is a bar.
    HWND FindMenuReceiver(UINT& nAlign, UINT& nDock, bool& bOnBar);
    void Refresh();
public:
    bool IsCheckType() const;
protected:
    bool IsPushType() const;
    static void stat_PaintCombinedContent(LPVOID pCookie, CDC& dc, const CWnd& wndPopup,
                                          const CRect& rcExcludeArea, int nCombineAlign);
};
