// Popup menus whose body is one hosted control instead of items: the base, the drop-down
// list box menu and the date picker menu. The menu keeps tracking as any popup menu
// does and hands its mouse and keyboard input to the control with the registered
// message CExtPopupControlMenuWnd::g_nMsgControlInputRetranslate.
#pragma once

#include "framework/framework.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/pickers/date_picker_wnd.h"
#include "toolkit/pickers/popup_control_input.h"

class CExtPopupControlMenuWnd : public CExtPopupMenuWnd
{
    DECLARE_DYNCREATE(CExtPopupControlMenuWnd)

public:
    typedef CExtPopupControlInputRecord INPUT_RETRANSLATE_DATA;
    static const UINT& g_nMsgControlInputRetranslate;

    CExtPopupControlMenuWnd();
    virtual ~CExtPopupControlMenuWnd();

    virtual void OnQueryChildControlRect(RECT* pRect);
    virtual HWND OnCreateChildControl(const RECT& rcChildControl);

    bool CreateMenuWindow(CWnd* pWndCmdReceiver) override;
    CSize& CalcMenuSize(CSize& sizeMenu) override;
    void RecalcServiceAreas() override;
    int HitTest(const POINT& ptClient, bool* pbInplaceEdit = NULL, bool* pbInplaceDropDown = NULL) override;
    bool OnMouseMoveTracked(UINT nMsg, CPoint ptClient, bool& bNoEat) override;
    bool OnMouseClickTracked(UINT nMsg, CPoint ptClient, bool& bNoEat) override;
    bool OnMouseWheelTracked(UINT nMsg, MOUSEHOOKSTRUCT* pData, bool& bNoEat) override;
    bool OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags, bool& bNoEat) override;
    using CExtPopupMenuWnd::OnKeyDown;

    // Sends one input record to the hosted control; its answer.
    LRESULT RetranslateInput(INPUT_RETRANSLATE_DATA& data);

    SIZE m_sizeChildControl;
    DWORD m_dwControlMenuFlags;  // bit 0: Esc leaves this level of the menu
    RECT m_rcChildControl;
    HWND m_hWndChildControl;

protected:
    // The window under the mouse, the focus or the capture is the control or inside it.
    bool IsInputForChild(CPoint ptClient) const;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CExtPopupInplaceListBox : public CListBox
{
    DECLARE_DYNAMIC(CExtPopupInplaceListBox)

public:
    enum e_sel_action_t { __SAT_SELCHANGE = 0, __SAT_SELENDOK = 1, __SAT_SELENDCANCEL = 2 };
    typedef bool (*pCbListBoxSelection)(CExtPopupInplaceListBox& wndListBox, LPVOID pCookie, int eSAT);
    typedef bool (*pCbInitListBoxContent)(CExtPopupInplaceListBox& wndListBox, LPVOID pCookie);
    typedef bool (*pCbListBoxItemDraw)(CExtPopupInplaceListBox& wndListBox, LPVOID pCookie,
                                       LPDRAWITEMSTRUCT pDIS);
    typedef bool (*pCbListBoxItemMeasure)(CExtPopupInplaceListBox& wndListBox, LPVOID pCookie,
                                          LPMEASUREITEMSTRUCT pMIS);

    // The record of the list-box messages: the list box, then the draw or measure record or
    // the current selection.
    struct LB_NOTIFICATION
    {
        CExtPopupInplaceListBox* m_pListBox;
        LPARAM m_lParamItem;
    };

    static const UINT g_nMsgPopupListBoxInitContent;
    static const UINT g_nMsgPopupListBoxItemMeasure;
    static const UINT g_nMsgPopupListBoxItemDraw;
    static const UINT g_nMsgPopupListBoxSelEndOK;
    static const UINT g_nMsgPopupListBoxSelEndCancel;
    static const UINT g_nMsgPopupListBoxSelChange;
    // Wheel scrolling of popup lists.
    static bool g_bListBoxMouseWheel;

    CExtPopupInplaceListBox();
    virtual ~CExtPopupInplaceListBox();

    // The menu that hosts this list (its parent), NULL outside one.
    CExtPopupControlMenuWnd* GetPopupMenu() const;
    HWND GetCmdReceiver() const;
    virtual void OnListBoxSelChange();
    void AcceptSelection() { EndSelection(true, true); }
    void CancelSelection() { EndSelection(false, true); }
    bool IsSelectionEnded() const { return (m_nFlags & 0x01) != 0; }

    pCbListBoxSelection m_pCbListBoxSelection;
    LPVOID m_pSelectionCookie;
    pCbInitListBoxContent m_pCbInitListBoxContent;
    LPVOID m_pInitListBoxCookie;
    pCbListBoxItemDraw m_pCbListBoxItemDraw;
    pCbListBoxItemMeasure m_pCbListBoxItemMeasure;
    LPVOID m_pListBoxItemCookie;
    LPARAM m_lParamCookie;
    BYTE m_nFlags;

    void EndSelection(bool bAccept, bool bCloseMenu);

protected:
    // The menu's command receiver, kept from creation: the menu may be gone by the time
    // the list's destruction cancels the selection.
    HWND m_hWndCmdReceiver;

    void SendListBoxMessage(UINT nMsg, LPARAM lParamItem);
    virtual bool OnRetranslatedInput(CExtPopupControlInputRecord& data);
    void OnRetranslatedMouseMove(CPoint pt);
    void OnRetranslatedWheel(CExtPopupControlInputRecord& data);
    void OnRetranslatedKey(UINT nChar, UINT nRepCnt, UINT nFlags);
    void PaintOwnerDrawn();
    // Font, then the content: the init callback or the init message.
    void OnCreated();
    void PreSubclassWindow() override;
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CExtPopupListBoxMenuWnd : public CExtPopupControlMenuWnd
{
    DECLARE_DYNCREATE(CExtPopupListBoxMenuWnd)

public:
    explicit CExtPopupListBoxMenuWnd(DWORD dwListBoxStyles = WS_CHILD | WS_VISIBLE | WS_VSCROLL |
                                                             LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS |
                                                             LBS_OWNERDRAWVARIABLE,
                                     LPARAM lParamCookie = 0);
    HWND OnCreateChildControl(const RECT& rcChildControl) override;
    bool OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags, bool& bNoEat) override;
    using CExtPopupControlMenuWnd::OnKeyDown;

    LPARAM m_lParamCookie;
    DWORD m_dwListBoxStyles;
    CExtPopupInplaceListBox::pCbListBoxSelection m_pCbListBoxSelection;
    LPVOID m_pSelectionCookie;
    CExtPopupInplaceListBox::pCbInitListBoxContent m_pCbInitListBoxContent;
    LPVOID m_pInitListBoxCookie;
    CExtPopupInplaceListBox::pCbListBoxItemDraw m_pCbListBoxItemDraw;
    CExtPopupInplaceListBox::pCbListBoxItemMeasure m_pCbListBoxItemMeasure;
    LPVOID m_pListBoxItemCookie;

protected:
    // The list box object is made here so that derived menus can host a derived list.
    virtual CExtPopupInplaceListBox* OnNewListBox();
};

class CExtPopupInplaceDatePicker : public CExtDatePickerWnd
{
    DECLARE_DYNAMIC(CExtPopupInplaceDatePicker)

public:
    typedef bool (*pCbDatePickerSelection)(LPVOID pSelectionNotification, LPVOID pCookie);
    typedef bool (*pCbDatePickerInitContent)(CExtPopupInplaceDatePicker& wndPicker, LPVOID pCookie);

    static const UINT g_nMsgPopupDatePickerInitContent;

    CExtPopupInplaceDatePicker();

    pCbDatePickerSelection m_pCbDatePickerSelection;
    LPVOID m_pDatePickerSelectionCookie;
    pCbDatePickerInitContent m_pCbDatePickerInitContent;
    LPVOID m_pDatePickerInitCookie;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CExtPopupDatePickerMenuWnd : public CExtPopupControlMenuWnd
{
    DECLARE_DYNCREATE(CExtPopupDatePickerMenuWnd)

public:
    CExtPopupDatePickerMenuWnd(LPARAM lParamCookie = 0, int nMonthsHorz = 1, int nMonthsVert = 1,
                               DWORD dwDatePickerWindowStyle = 0x52000000,
                               DWORD dwDatePickerStyle = 7703);
    HWND OnCreateChildControl(const RECT& rcChildControl) override;
    void GetBorderMargins(RECT& rcMargins) override;
    bool OnMouseWheelTracked(UINT nMsg, MOUSEHOOKSTRUCT* pData, bool& bNoEat) override;
    bool OnMouseMoveTracked(UINT nMsg, CPoint ptClient, bool& bNoEat) override;
    bool OnMouseClickTracked(UINT nMsg, CPoint ptClient, bool& bNoEat) override;

    LPARAM m_lParamCookie;
    CSize m_sizeCalendarDimensions;
    DWORD m_dwDatePickerWindowStyle;
    DWORD m_dwDatePickerStyle;
    CExtPopupInplaceDatePicker::pCbDatePickerSelection m_pCbDatePickerSelection;
    LPVOID m_pDatePickerSelectionCookie;
    CExtPopupInplaceDatePicker::pCbDatePickerInitContent m_pCbDatePickerInitContent;
    LPVOID m_pDatePickerInitCookie;

protected:
    bool IsOverHeaderPopup(CPoint ptClient) const;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
