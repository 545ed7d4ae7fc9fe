// CExtBarButton: one button of a toolbar or menu bar. Not a window: the toolbar owns the
// objects, measures, places and paints them and routes mouse events to them. Customize
// trees are only stored here: nothing in this program attaches a customize site.
//
// control_bar.h includes this header where the button class belongs among the bars, so
// the include comes before the guard: whichever header a file names first, the class is
// declared after the toolbar and before the buttons derived from it.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_BAR_BUTTON_H_INCLUDED
#define TOOLKIT_BARS_BAR_BUTTON_H_INCLUDED

class CExtCmdIcon;
class CExtCmdItem;
class CExtPopupMenuWnd;
class CExtCustomizeCmdTreeNode;

class CExtBarButton : public CObject
{
    DECLARE_DYNCREATE(CExtBarButton)
public:
    explicit CExtBarButton(CExtControlBar* pBar = NULL, UINT nCmdID = 0, UINT nStyle = 0);
    virtual ~CExtBarButton();

    virtual void SyncAttachedControl();
    virtual bool IsLargeIcon() const;
    virtual bool IsShowTips() const;
    virtual bool IsShowShortcutInTips() const;
    virtual UINT GetCmdID(bool bEffective = true) const;
    virtual void SetCmdID(UINT nCmdID, bool bEffectiveOnly = false, bool bRedraw = false);
    virtual bool IsSeparatedDropDown() const;
    virtual void SetSeparatedDropDown(bool bOn = true);
    virtual bool IsAutoChangeID() const;
    virtual void SetAutoChangeID(bool bOn = true);
    virtual bool IsHorizontalOnly() const;
    virtual void SetHorizontalOnly(bool bOn = true);
    virtual bool IsCtrlShown() const;
    virtual void SetCtrlShown(bool bOn);
    virtual CWnd* GetCtrl();
    virtual CWnd* SetCtrl(CWnd* pCtrl, bool bCtrlDeletesItself = false);
    virtual DWORD GetStyle() const;
    virtual void SetStyle(DWORD dwStyle);
    virtual void ModifyStyle(DWORD dwAdd, DWORD dwRemove = 0);
    virtual void SetTracked();
    virtual void ClearTracked();
    virtual bool IsTracked() const;
    virtual void SetCtrlOptional(bool bOn);
    virtual bool IsWrap(int nLayout) const;
    virtual void SetWrap(int nLayout, bool bWrap = true);
    virtual bool IsSeparator() const;
    virtual bool IsDisabled() const;
    virtual bool IsIndeterminate() const;
    virtual bool IsPressedOrChecked() const;
    virtual void SetVisible(bool bVisible = true);
    virtual bool IsVisible() const;
    virtual void SetHot(bool bHot = true);
    virtual bool IsHot() const;
    virtual CString GetText() const;
    virtual void SetRect(const RECT& rc);
    virtual CRect GetRect() const;
    virtual CRect GetRectDropDown() const;
    virtual CSize GetSize() const;
    virtual void SetMenu(HMENU hMenu, bool bUseFirstSubMenu, bool bOwned);
    virtual HMENU GetMenu();
    virtual void SetAppendMdiWindowsMenu(bool bOn);
    virtual bool IsAppendMdiWindowsMenu() const;
    virtual bool IsAbleToTrackMenu() const;
    virtual bool HasPopup(bool bCustomizeMode = false) const;
    virtual bool IsSubMenuUsed() const;
    virtual CSize MeasureButton(CDC& dc, CSize sizeDefault, bool bHorz);
    virtual bool PutToPopupMenu(CExtPopupMenuWnd* pPopup);
    virtual CExtCmdIcon* GetIconPtr() const;
    virtual CWnd* GetCmdTargetWnd() const;
    virtual void Paint(CDC& dc, bool bHorz);
    virtual COLORREF GetTextColor(CDC& dc);
    virtual UINT OnTrackPopup(CPoint point, bool bSelectAny, bool bNoAnimation);
    virtual void OnHover(CPoint point, bool bOn, bool& bSuspendTips);
    virtual void OnClick(CPoint point, bool bDown);
    virtual bool OnDblClick(CPoint point);
    virtual void OnDeliverCmd();
    virtual int OnToolHitTest(CPoint point, TOOLINFO* pTI);
    virtual int OnHelpHitTest(CPoint point);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler, int nIndex);
    virtual bool CanStartCustomizeDrag();
    virtual void SyncNodeHidden();
    virtual CExtCustomizeCmdTreeNode* GetCmdNode(bool bInitial = false);
    virtual void SetInitialCmdNode(CExtCustomizeCmdTreeNode* pNode);
    virtual void SetBasicCmdNode(CExtCustomizeCmdTreeNode* pNode);
    // Takes ids and flags from the node (the initial node when NULL).
    virtual void SyncFromNode(CExtCustomizeCmdTreeNode* pNode);
    virtual int OnCustomizeQuery(int n1, int n2, int n3, int n4);
    // Where a command dragged over the button would go along the bar's flow: -1 in the
    // first quarter, -2 in the middle half, 1 in the last quarter.
    virtual int OnCustomizeCalcDropPos(CPoint point, bool bDropDownAware);
    virtual void Redraw(bool bUpdateNow = false);
    virtual UINT GetTrackPopupPlacement() const;
    virtual bool OnCustomizeSetCursor(CPoint point);
    // True suppresses the Office 2003 vertical-dock frame of the button gradient.
    virtual bool IsNoVerticalDockFrame() const;

    // The rectangle by value, for the toolbar's own code and the theme's gradient query.
    CRect Rect() const { return GetRect(); }
    // Never a dangling reference: without an icon, one shared empty icon.
    CExtCmdIcon& GetIcon() const;

    // The bar as a toolbar, NULL when the button has none or it is no toolbar.
    CExtToolControlBar* GetBar() const;
    bool IsInMenuBar() const;

    CExtControlBar* m_pBar;  // not owned
    CRect m_rc;              // in the bar's client coordinates

protected:
    // The profile bound to the bar's window, NULL without a window or a binding.
    LPCTSTR ProfileName() const;
    CExtCmdItem* CmdItem() const;
    bool IsCtrlInUse() const;
    bool GetMirroredFlag(BYTE nBit, DWORD dwNodeFlag) const { return GetMirroredFlag(m_nFlags2, nBit, dwNodeFlag); }
    void SetMirroredFlag(BYTE nBit, DWORD dwNodeFlag, bool bOn) { SetMirroredFlag(m_nFlags2, nBit, dwNodeFlag, bOn); }
    // The same for a flag byte of a derived button.
    bool GetMirroredFlag(const BYTE& nFlags, BYTE nBit, DWORD dwNodeFlag) const;
    void SetMirroredFlag(BYTE& nFlags, BYTE nBit, DWORD dwNodeFlag, bool bOn);
    // The node's two texts become the command's toolbar text, else its menu text.
    void SyncNodeTexts();
    // Hands the tool-tip machinery its own copy of sTip (a callback marker when there is
    // no memory for it).
    static void SetToolTipText(TOOLINFO* pTI, const CString& sTip);
    // ---- steps shared by the buttons that drop a menu ----
    // A floating bar's frame comes to the front before its button's menu opens.
    static void BringFloatingBarForward(CExtToolControlBar* pBar);
    // Turns point and the button's rectangle into screen coordinates for the menu and
    // adds the tracking options of the call and of the bar's menu tracking to nFlags.
    static UINT PlacePopupOnScreen(CExtToolControlBar* pBar, const CRect& rcOnBar, CPoint& point, CRect& rcButton,
                                   UINT nFlags, bool bSelectAny, bool bNoAnimation);
    // Opens pPopup below the button and marks the button as tracking it (bMarkBeforeTrack:
    // the bar's tracking state is set before the popup starts); a popup that cannot be
    // shown is deleted and all button tracking ends.
    void TrackButtonMenu(CExtToolControlBar* pBar, CExtPopupMenuWnd* pPopup, UINT nFlags, const CPoint& point,
                         const CRect& rcButton, bool bMarkBeforeTrack);

    UINT m_nCmdID;           // basic
    UINT m_nEffectiveCmdID;
    DWORD m_dwStyle;
    CSize m_size;
    BYTE m_nFlags1;
    BYTE m_nFlags2;
    CExtCustomizeCmdTreeNode* m_pInitialNode;
    CExtCustomizeCmdTreeNode* m_pBasicNode;
    CWnd* m_pCtrl;
    HMENU m_hMenu;

public:
    enum
    {
        // first flag byte
        __F1_WRAP0 = 0x01, __F1_WRAP1 = 0x02, __F1_WRAP2 = 0x04, __F1_VISIBLE = 0x08, __F1_HOT = 0x10,
        __F1_CTRL_DELETES_ITSELF = 0x20, __F1_CTRL_OPTIONAL = 0x40, __F1_FIRST_SUBMENU = 0x80,
        // second flag byte
        __F2_MENU_OWNED = 0x01, __F2_MDI_LIST = 0x02, __F2_SEPARATED_DD = 0x04, __F2_AUTO_CHANGE = 0x08,
        __F2_DD_PART_PRESSED = 0x10, __F2_HORZ_ONLY = 0x20, __F2_CTRL_SHOWN = 0x40, __F2_TRACKED = 0x80,
    };
    // Width of the drop-down glyph (5 by 3) plus its margin: what a drop-down adds.
    enum { __DROPDOWN_EXTENT = 5 + 6 };
};

#endif
