// The popup menu window: its item model (MENUITEMDATA records held by value), the
// building of menus from menu resources, menu handles and command trees, the command-UI
// update of its items, the menu-wide static services (tracking test, cancelling, the
// nested message pump) and the registered messages and option globals of the menus.
// Layout, painting, placement and the keyboard and mouse handling of a tracking menu
// stand on this model and are added to the same class.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/menus/popup_base_wnd.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

class CExtCustomizeCmdTreeNode;
class CExtCustomizeSite;
class CExtCmdItem;
class CExtPopupMenuWnd;

class CExtPopupMenuWnd : public CExtPopupBaseWnd,
                         public CExtCustomizeSite::ICustomizeDropTarget,
                         public CExtCustomizeSite::ICustomizeDropSource
{
    DECLARE_DYNCREATE(CExtPopupMenuWnd)
public:
    enum
    {
        TYPE_SEPARATOR = 0,
        TYPE_POPUP = 0xFFFFFFFF,
    };
    // Track flags the model reads.
    enum
    {
        TMF_NO_CMD_UI = 0x00000400,
        TMF_UNTRACKED = 0x00004000,
        TMF_CONTEXT_HELP = 0x00002000,
    };
    enum
    {
        __MF_TOP_LEVEL = 0x01,  // made by CreatePopupMenu (or loaded as top level): owns its tree
    };

    // Item callbacks: the before-execute callback and the item's own click callback.
    typedef bool (*pCbItemClick)(CExtPopupMenuWnd* pMenu, LPVOID pItemData);
    typedef void (*pCbItemExtra)(CExtPopupMenuWnd* pMenu, LPVOID pItemData);
    // In-place edit callbacks, called with the edit and the owner's cookie: the validate
    // callback accepts a text (true), the apply callback stores a committed text, the
    // message filter may take any message of the edit (true, with its result).
    typedef bool (*pCbInplaceEditValidate)(CWnd* pEdit, LPVOID pCookie, CString& sText);
    typedef void (*pCbInplaceEditApply)(CWnd* pEdit, LPVOID pCookie, CString& sText);
    typedef bool (*pCbInplaceEditMsgFilter)(LRESULT* pResult, UINT nMsg, WPARAM wParam, LPARAM lParam, CWnd* pEdit,
                                            LPVOID pCookie);

    class MENUITEMDATA
    {
    public:
        // Layout flags.
        enum
        {
            __MIF_SELECTED = 0x01,
            __MIF_DISPLAYED = 0x02,
            __MIF_FORCE_DISPLAYED = 0x04,
            __MIF_COMBINED_SUBMENU = 0x08,
            __MIF_NO_LEFT_AREA = 0x10,  // own width, icon inline (palette-style item)
            __MIF_PALETTE_WRAP = 0x20,
            __MIF_DEFAULT = 0x40,
            __MIF_NEVER_ENABLED = 0x80,
        };
        // State flags.
        enum
        {
            __MIS_FORCE_ENABLED = 0x01,
            __MIS_FLAG_04 = 0x04,
            __MIS_CHECKED = 0x08,
            __MIS_RADIO = 0x10,
            __MIS_ENABLED = 0x20,
            __MIS_INDETERMINATE = 0x40,
        };
        // Kind flags.
        enum
        {
            __MIK_CUSTOM = 0x01,
            __MIK_ICON_ONLY = 0x02,
            __MIK_BOLD = 0x04,
        };

        explicit MENUITEMDATA(CExtPopupMenuWnd* pOwner = NULL);
        MENUITEMDATA(const MENUITEMDATA& other);
        MENUITEMDATA& operator=(const MENUITEMDATA& other);
        ~MENUITEMDATA();

        bool IsSeparator() const { return m_nCmdID == TYPE_SEPARATOR; }
        bool IsPopup() const { return m_nCmdID == TYPE_POPUP; }
        bool IsCustom() const { return (m_nKindFlags & __MIK_CUSTOM) != 0; }
        bool IsInplaceEdit() const { return m_pInplaceEditStr != NULL; }
        bool IsInplaceEditActive() const { return (m_nEditFlags & 0x01) != 0; }
        bool IsPaletteStyle() const { return (m_nLayoutFlags & __MIF_NO_LEFT_AREA) != 0; }
        bool IsDefault() const { return (m_nLayoutFlags & __MIF_DEFAULT) != 0; }
        bool IsDisplayed() const { return (m_nLayoutFlags & (__MIF_DISPLAYED | __MIF_FORCE_DISPLAYED)) != 0; }
        bool IsSelected() const { return !IsSeparator() && (m_nLayoutFlags & __MIF_SELECTED) != 0; }
        bool GetCheck() const { return (m_nStateFlags & __MIS_CHECKED) != 0; }
        bool GetRadio() const { return (m_nStateFlags & __MIS_RADIO) != 0; }
        bool GetIndeterminate() const { return (m_nStateFlags & __MIS_INDETERMINATE) != 0; }
        int GetIconAreaWidth() const { return m_nIconAreaWidth; }
        CExtPopupMenuWnd* GetPopup() const { return m_pPopup; }
        CExtPopupMenuWnd* GetOwner() const { return m_pOwner; }
        HWND GetCmdReceiver() const { return m_hWndCmdReceiver; }
        TCHAR GetAccessKey() const { return m_cAccessKey; }
        CSize GetMeasuredSize() const { return CSize(m_nWidth, m_nHeight); }

        bool SetText(LPCTSTR sText);
        bool SetAccelText(LPCTSTR sText);
        bool SetAccelTextAlways(LPCTSTR sText);
        bool SetTextWithAccel(LPCTSTR sText);
        CString GetText() const;
        CString GetAccelText() const;
        bool Enable(bool bOn);
        bool SetCheck(bool bOn);
        bool SetRadio(bool bOn);
        bool SetIndeterminate(bool bOn);
        bool SetIcon(const CExtCmdIcon& icon);
        CExtCmdIcon* GetIcon();
        CExtCmdItem* GetCmdItem() const;
        UINT GetCmdID() const;
        bool IsEnabled() const;
        bool IsExecutable() const;
        void UpdateAccessKey();
        void MeasureItem(CExtPaintManager* pPM = NULL);
        bool CreateSubMenu();
        void DestroySubMenu();
        bool SetPopup(int nPos, LPCTSTR sText, const CExtCmdIcon& icon, CExtPopupMenuWnd* pMenu);
        bool SetCommand(const CExtCmdItem& cmd, int nPos);
        void GetTipText(CString& sText) const;
        // Fills the record from the item at nPos of a Windows menu.
        bool UpdateFromMenuItem(HWND hWndCmdRecv, HMENU hMenu, int nPos, bool bNoCmdProfile);
        bool ConstructPopupFromNode(HWND hWndCmdRecv, CExtCustomizeCmdTreeNode* pNode, int nPos,
                                    CExtPopupMenuWnd* pParent);
        // The colour-menu and undo/redo node kinds of ConstructPopupFromNode.
        bool ConstructColorMenuFromNode(CExtCustomizeCmdTreeNode* pNode, CExtPopupMenuWnd* pParent);
        bool ConstructUndoRedoFromNode(CExtCustomizeCmdTreeNode* pNode);
        void SetNodePopup(CExtCustomizeCmdTreeNode* pNode, CExtPopupMenuWnd* pPopup);

        // The in-place edit part inside the item rectangle, at the trailing edge.
        void GetInplaceEditRect(RECT& rcEdit, const RECT& rcItem, bool bRTL) const;

        // The profile of the item's command receiver, NULL when none is bound.
        LPCTSTR GetProfileName() const;

        // The in-place edit of an in-place item: the receiver's own (asked with
        // g_nMsgCreateInplaceEdit) or a CInPlaceEditWnd; created hidden with the menu window.
        bool CreateInplaceEdit(CWnd* pParentMenu, RECT rcEdit);
        CWnd* GetInplaceEditWnd() const { return IsInplaceEdit() ? m_pWndInplaceEdit : NULL; }
        // The text shown in the edit part until the edit opens; NULL clears it.
        void SetInplaceEditText(LPCTSTR sText);

        // ---- fields, in order ----------------------------------------------------------
        CExtCustomizeCmdTreeNode* m_pCmdNode;
        CExtPopupMenuWnd* m_pPopup;
        int m_nItemIndex;
        UINT m_nCmdID;
        CString m_sText;
        CString m_sAccelText;
        CString m_sTipText;
        CExtCmdIcon m_icon;
        int m_nWidth;
        int m_nHeight;
        CRect m_rcItemWithIndents;
        CRect m_rcItem;
        int m_nIconAreaWidth;
        int m_nMarginLeft, m_nMarginTop, m_nMarginRight, m_nMarginBottom;
        BYTE m_nLayoutFlags;
        BYTE m_nStateFlags;
        BYTE m_nKindFlags;
        pCbItemClick m_pCbItemClick;
        pCbItemExtra m_pCbItemExtra;
        TCHAR m_cAccessKey;
        HWND m_hWndCmdReceiver;
        CWnd* m_pWndInplaceEdit;
        CString* m_pInplaceEditStr;
        pCbInplaceEditValidate m_pCbInplaceEditValidate;
        pCbInplaceEditApply m_pCbInplaceEditCommit;
        pCbInplaceEditMsgFilter m_pCbInplaceEditDraw;
        LPVOID m_pInplaceEditCookie;
        int m_nInplaceEditWidth;
        BYTE m_nEditFlags;
        CString m_sEditText;
        DWORD m_dwUserValue;
        CExtPopupMenuWnd* m_pOwner;

    private:
        void CopyFrom(const MENUITEMDATA& other);
    };

    // The command-UI updater of one menu level.
    class CExtPopupMenuCmdUI : public CCmdUI
    {
    public:
        CExtPopupMenuCmdUI(HWND hWndCmdReceiver, CExtPopupMenuWnd* pMenu);
        void Enable(BOOL bOn = TRUE) override;
        void SetCheck(int nCheck = 1) override;
        void SetRadio(BOOL bOn = TRUE) override;
        void SetText(LPCTSTR lpszText) override;
        void SelectItem(int nIndex);

        HWND m_hWndCmdReceiver;
        CExtPopupMenuWnd* m_pMenu;
        MENUITEMDATA* m_pItem;
    };

    // The record of g_nMsgItemCoveringNotification, sent to the command receiver when an
    // item (or a bar button) is selected, hovered or left; the receiver may suppress the
    // tip of that item.
    struct ITEMCOVERINGNOTIFICATION
    {
        enum eICN_t
        {
            __EICN_CANCEL = 0,  // the item was left
            __EICN_SET = 1,     // the item was selected
            __EICN_DELAY = 2,   // the item is hovered (its sub-menu waits)
        };
        eICN_t m_eICN;
        CExtPopupMenuWnd* m_pPopup;
        LPVOID m_pBarButton;
        int m_nItemIndex;
        bool m_bEnableShowSubMenu;
        bool m_bSelectFirstInSubMenu;
        bool m_bSuppressShowTip;
        ITEMCOVERINGNOTIFICATION(eICN_t eICN, CExtPopupMenuWnd* pPopup, LPVOID pBarButton, int nItemIndex,
                                 bool bEnableShowSubMenu = false, bool bSelectFirstInSubMenu = false)
            : m_eICN(eICN), m_pPopup(pPopup), m_pBarButton(pBarButton), m_nItemIndex(nItemIndex),
              m_bEnableShowSubMenu(bEnableShowSubMenu), m_bSelectFirstInSubMenu(bSelectFirstInSubMenu),
              m_bSuppressShowTip(false)
        {
        }
        // Sends the record to hWnd; answers the suppress-tip flag the receiver left.
        bool Notify(HWND hWnd);
    };

    // The tear-off drag: asks the command receiver for a bar that carries the menu's
    // commands, then moves the bar's floating frame with the pointer while the hooks route
    // all input here, and shows the menu again while the pointer is back near the caption.
    // It is also the record of g_nMsgTearOff.
    class TEAROFFNOTIFICATON : public CExtHookSink
    {
    public:
        enum
        {
            __TNF_BAR_SHOWN = 0x01,
            __TNF_HIDING = 0x02,
            __TNF_CANCELED = 0x04,
            __TNF_ENDED = 0x08,
        };
        enum
        {
            __TNS_START = 0,
            __TNS_STEP = 1,
            __TNS_FINISHED = 2,
        };
        TEAROFFNOTIFICATON(CExtPopupMenuWnd* pPopup, const POINT& ptStart);
        virtual ~TEAROFFNOTIFICATON();

        virtual bool Run();
        virtual bool DragLoop();
        virtual void DragStep(bool bFromHook);
        virtual bool IsInStartZone(const POINT& ptScreen);
        virtual bool _OnHookKey(UINT nChar, UINT nRepCnt, UINT nFlags);
        virtual bool _OnHookMouseMove(UINT nMessage, int x, int y);
        virtual bool _OnHookMouseButton(UINT nMessage, int x, int y);
        virtual bool _OnHookMouseWheel(UINT nMessage, MOUSEHOOKSTRUCT* pData);
        bool OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam,
                          LPARAM& lParam) override;

        HWND m_hWndBar;
        HWND m_hWndMenu;
        HWND m_hWndHookedFrame;
        CExtPopupMenuWnd* m_pPopup;
        CControlBar* m_pBar;
        CPoint m_ptStart;
        CSize m_sizeThreshold;
        CRect m_rcStartZone;
        CRect m_rcFrame;
        BYTE m_nFlags;
        int m_nState;

    protected:
        void SendToReceiver();
        void RepaintChain();
        void HookFrame(HWND hWnd);
    };

    // The record of g_nMsgCreateInplaceEdit: the receiver may store its own edit window
    // through m_ppWndEdit; otherwise the menu makes a CInPlaceEditWnd.
    struct INPLACEEDITREQUEST
    {
        CWnd** m_ppWndEdit;
        CExtPopupMenuWnd* m_pPopup;
        MENUITEMDATA* m_pItem;
        CString* m_pStr;
        pCbInplaceEditValidate m_pCbValidate;
        pCbInplaceEditApply m_pCbApply;
        pCbInplaceEditMsgFilter m_pCbMsgFilter;
        LPVOID m_pCookie;
        CRect m_rcEdit;
    };

    // The edit control of an in-place edit item: validates each key against the owner's
    // rule, commits with Enter, gives the menu back the focus with Esc, and shows no
    // context menu.
    class CInPlaceEditWnd : public CEdit
    {
    public:
        CInPlaceEditWnd(CString* pStr, pCbInplaceEditValidate pCbValidate, pCbInplaceEditApply pCbApply,
                        pCbInplaceEditMsgFilter pCbMsgFilter, LPVOID pCookie);
        virtual ~CInPlaceEditWnd();
        virtual bool Create(CWnd* pParentMenu, RECT rc, UINT nID);
        bool IsCommitted() const { return (m_nFlags & 0x01) != 0; }

        static const UINT g_nMsgDeleteSelection;
        static const UINT g_nMsgSelectAll;

        pCbInplaceEditValidate m_pCbValidate;
        pCbInplaceEditApply m_pCbApply;
        pCbInplaceEditMsgFilter m_pCbMsgFilter;
        LPVOID m_pCookie;
        CString* m_pStr;
        CString m_sText;
        BYTE m_nFlags;

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
        void PostNcDestroy() override;

    private:
        LRESULT ValidatedTyping(UINT message, WPARAM wParam, LPARAM lParam);
        CExtPopupMenuWnd* GetMenu() const;
    };

    CExtPopupMenuWnd();
    virtual ~CExtPopupMenuWnd();

    // ---- base window overrides ---------------------------------------------------------
    bool IsLayoutRTL() override;
    bool IsUntrackedMode() override;
    bool IsCombinedWithParentItem() override;
    BOOL DestroyWindow() override;

    // ---- building ----------------------------------------------------------------------
    virtual HWND GetCmdReceiverHWND() const { return m_hWndCmdReceiver; }
    virtual DWORD GetTrackFlags() const { return m_dwTrackFlags; }
    virtual DWORD SetTrackFlags(DWORD dwTrackFlags);
    virtual bool LoadMenu(HWND hWndCmdRecv, UINT nResourceID, bool bPopupMenu = true, bool bNoCmdProfile = false);
    virtual HMENU ExportToHMENU(bool bDeep = true);
    virtual bool LoadMenu(HWND hWndCmdRecv, CMenu* pMenu, bool bPopupMenu, bool bTopLevel, bool bNoCmdProfile);
    virtual void SetCmdReceiver(HWND hWndCmdRecv, bool bThisLevelOnly = false);
    // Appends the open document windows of the MDI frame above pFrame (or above the
    // receiver): nine numbered items, then "More Windows".
    virtual bool UpdateMdiWindowsMenu(CWnd* pFrame = NULL);
    // Inserts the application's recent files at nPos; false when a command or an item
    // could not be made.
    bool InsertRecentFileItems(int nPos, int& nInserted);

    // ---- items -------------------------------------------------------------------------
    virtual int ItemGetCount() const;
    virtual UINT ItemGetCmdID(int nPos) const;
    virtual CExtCmdIcon& ItemGetIcon(int nPos);
    virtual CString ItemGetText(int nPos) const;
    virtual CString ItemGetAccelText(int nPos) const;
    virtual int ItemFindPosForCmdID(UINT nCmdID, int nPosStart = -1) const;
    virtual bool ItemSetPopupIcon(int nPos, const CExtCmdIcon& icon);
    virtual bool ItemSetText(int nPos, LPCTSTR sText);
    virtual bool ItemSetAccelText(int nPos, LPCTSTR sText);
    virtual CExtPopupMenuWnd* ItemGetPopup(int nPos);
    virtual const CExtPopupMenuWnd* ItemGetPopup(int nPos) const;
    virtual bool ItemIsDisplayed(int nPos) const;
    virtual void ItemSetDisplayed(int nPos, bool bForceDisplayed = true);
    virtual bool ItemRemove(int nPos = -1);
    virtual int ItemRemoveSeparators();
    virtual bool ItemPaletteWrapGet(int nPos) const;
    virtual bool ItemPaletteWrapSet(int nPos, bool bWrap = true);
    virtual bool ItemOwnWidthGet(int nPos) const;
    virtual bool ItemOwnWidthSet(int nPos, bool bOwnWidth = true);
    virtual bool ItemEnabledGet(int nPos) const;
    virtual bool ItemEnabledSet(int nPos, bool bEnabled = true);
    virtual bool ItemDefaultGet(int nPos) const;
    virtual bool ItemDefaultSet(int nPos, bool bDefault = true);
    virtual bool ItemBoldGet(int nPos) const;
    virtual bool ItemBoldSet(int nPos, bool bBold = true);
    virtual bool ItemFlagGet(int nPos) const;
    virtual bool ItemFlagSet(int nPos, bool bOn = true);
    virtual bool ItemInsert(UINT nCmdID = TYPE_SEPARATOR, int nPos = -1, LPCTSTR sText = NULL,
                            const CExtCmdIcon& icon = CExtCmdIcon(), HWND hWndSpecCmdReceiver = NULL);
    virtual bool ItemInsertCommand(UINT nCmdID = TYPE_SEPARATOR, int nPos = -1, LPCTSTR sText = NULL,
                                   LPCTSTR sAccelText = NULL, const CExtCmdIcon& icon = CExtCmdIcon(),
                                   int nCheck = 0, HWND hWndSpecCmdReceiver = NULL);
    virtual bool ItemInsertSubMenu(CExtPopupMenuWnd* pSubMenu, int nPos = -1, LPCTSTR sText = NULL,
                                   const CExtCmdIcon& icon = CExtCmdIcon());
    virtual int ItemFindByAccessKey(TCHAR chrAccess, int nStartIdx = -1, bool bRestartAt0 = true) const;
    virtual int ItemFindByText(LPCTSTR sText, int nStartIdx = -1, bool bRestartAt0 = true) const;
    virtual bool IsAllItemsHidden() const;
    virtual void ItemInsertData(int nPos, const MENUITEMDATA& mi);

    bool ItemInsert(UINT nCmdID, int nPos, LPCTSTR sText, HICON hIcon, HWND hWndSpecCmdReceiver = NULL);
    bool ItemInsertCommand(UINT nCmdID, int nPos, LPCTSTR sText, LPCTSTR sAccelText, HICON hIcon, bool bCopyIcon,
                           int nCheck = 0, HWND hWndSpecCmdReceiver = NULL);
    MENUITEMDATA& ItemGetInfo(int nPos);
    const MENUITEMDATA& ItemGetInfo(int nPos) const;

    // ---- more building -------------------------------------------------------------------
    virtual bool CreatePopupMenu(HWND hWndCmdRecv);
    virtual bool UpdateFromMenu(CMenu* pMenu, bool bTopLevel = true, bool bNoCmdProfile = false);
    virtual void UpdateItemsCmdUI();
    virtual CExtPopupTrackingSite& GetTrackingSite();

    void SetLeftAreaWidth(int nWidth) { m_nLeftAreaWidth = nWidth; }
    int GetLeftAreaWidth() const { return m_nLeftAreaWidth; }
    bool BuildFromCmdTree(HWND hWndCmdRecv, CExtCustomizeCmdTreeNode* pNode, bool bTopLevel = true);
    static CExtPopupMenuWnd* GetTrackingMenu();

    CExtPopupMenuWnd* GetParentMenu() const { return m_pParentMenu; }
    bool IsTopLevel() const { return (m_nMenuFlags & __MF_TOP_LEVEL) != 0; }
    CExtCustomizeCmdTreeNode* GetSourceCmdNode() const { return m_pSourceNode; }
    int GetCurrentItem() const { return m_nCurIndex; }

    // ---- track flags and codes ---------------------------------------------------------
    enum
    {
        TMF_ALIGN_MASK = 0x0000000F,
        TMF_COMBINE_MASK = 0x00000030,
        TMF_COMBINE_ALWAYS = 0x00000010,
        TMF_COMBINE_BY_PM = 0x00000020,
        TMF_SELECT_ANY = 0x00000040,
        TMF_SYNC = 0x00000080,
        TMF_EXPANDED = 0x00000100,
        TMF_NO_DELIVERY = 0x00000200,
        TMF_OWNER_DRAW = 0x00000800,
        TMF_NO_SHADOW = 0x00001000,
        TMF_NO_ANIMATION = 0x00008000,
        TMF_PALETTE = 0x00010000,
        TMF_PALETTE_BK = 0x00020000,
        TMF_TEAROFF = 0x00040000,
    };
    // The codes within TMF_ALIGN_MASK: where the menu opens against its exclude rectangle.
    enum
    {
        TMF_ALIGN_RIGHT_OF = 1,
        TMF_ALIGN_CENTRED_X = 2,
        TMF_ALIGN_LEFT_OF = 3,
        TMF_ALIGN_BELOW = 4,
        TMF_ALIGN_CENTRED_Y = 5,
        TMF_ALIGN_ABOVE = 6,
    };
    // Menu state bits beside __MF_TOP_LEVEL.
    enum
    {
        __MF_SCROLLABLE = 0x02,
        __MF_EXPAND_AREA = 0x04,
        __MF_EXPANDED = 0x08,
        __MF_TIP_SUPPRESSED = 0x10,
    };
    // Hit codes and pseudo item indices; navigation codes of FindNextItem.
    enum
    {
        IDX_NOTHING = -1,
        IDX_SCROLL_TOP = -2,
        IDX_SCROLL_BOTTOM = -3,
        IDX_EXPAND = -4,
        IDX_TEAROFF = -5,
        NEXT_EXPAND = -100,
        NEXT_CURRENT = -101,
        NEXT_NEXT = -102,
        NEXT_PREV = -103,
        NEXT_ROW_NEXT = -104,
        NEXT_ROW_PREV = -105,
        // Page Up and Page Down have no search of their own: FindNextItem answers them as
        // any other code, with the first selectable item only while none is current.
        NEXT_PAGE_UP = -106,
        NEXT_PAGE_DOWN = -107,
    };

    // One item as item painting and the expand animation walk it.
    struct ExpandEffectRects_t
    {
        int m_nItemIndex;
        bool m_bRarelyUsed : 1;
        bool m_bFlag02 : 1;
        bool m_bFlag04 : 1;
        bool m_bSeparator : 1;
        bool m_bPopup : 1;
        UINT m_nCmdID;
        CRect m_rcItemWithIndents;
        CRect m_rcItem;
        ExpandEffectRects_t()
            : m_nItemIndex(-1), m_bRarelyUsed(false), m_bFlag02(false), m_bFlag04(false), m_bSeparator(false),
              m_bPopup(false), m_nCmdID(0), m_rcItemWithIndents(0, 0, 0, 0), m_rcItem(0, 0, 0, 0)
        {
        }
    };
    typedef CArray<ExpandEffectRects_t, ExpandEffectRects_t&> ExpandEffectRectsArr_t;

    // The record of g_nMsgPrepareMenu and g_nMsgPrepareOneMenuLevel: bit 0 of the flags
    // asks for a new layout, bit 1 vetoes the menu, bit 2 marks the one-level message.
    struct PREPAREMENUDATA
    {
        BYTE m_nFlags;
        CExtPopupMenuWnd* m_pPopup;
        PREPAREMENUDATA(CExtPopupMenuWnd* pPopup, BYTE nFlags = 0) : m_nFlags(nFlags), m_pPopup(pPopup) {}
    };

    // The lParam record of g_nMsgPopupDrawItem.
    struct DRAWITEMDATA
    {
        enum
        {
            __DIF_NOTIFY = 0x01,
            __DIF_POPUP = 0x02,
            __DIF_RARELY_USED = 0x04,
            __DIF_RARELY_PREV = 0x08,
            __DIF_RARELY_NEXT = 0x10,
        };
        CDC* m_pDC;
        const RECT* m_pRectItemWithIndents;
        const RECT* m_pRectItem;
        const MENUITEMDATA* m_pItemData;
        CExtPopupMenuWnd* m_pPopup;
        BYTE m_nFlags;
        DRAWITEMDATA(CDC* pDC, const RECT* pRectItemWithIndents, const RECT* pRectItem, const MENUITEMDATA* pItemData,
                     CExtPopupMenuWnd* pPopup, BYTE nFlags)
            : m_pDC(pDC), m_pRectItemWithIndents(pRectItemWithIndents), m_pRectItem(pRectItem),
              m_pItemData(pItemData), m_pPopup(pPopup), m_nFlags(nFlags)
        {
        }
        // Offers the item to the receiver; true when the receiver painted it.
        bool Notify();
        void PaintDefault(bool bNoIcon, bool bNoText, bool bNoCheck, bool bForceEnabled, bool bForceUnselected);
    };
    // The lParam records of g_nMsgPopupDrawBackground and g_nMsgPopupDrawLeftArea.
    struct DRAWBACKGROUNDDATA
    {
        CDC& m_dc;
        CRect m_rcBackground;
        CExtPopupMenuWnd* m_pPopup;
        BYTE m_nFlags;  // 0x01: the receiver painted the background
        DRAWBACKGROUNDDATA(CDC& dc, const RECT& rc, CExtPopupMenuWnd* pPopup)
            : m_dc(dc), m_rcBackground(rc), m_pPopup(pPopup), m_nFlags(0)
        {
        }
    };
    struct DRAWLEFTAREADATA
    {
        CDC* m_pDC;
        const RECT* m_pRectLeftArea;
        CExtPopupMenuWnd* m_pPopup;
        DRAWLEFTAREADATA(CDC* pDC, const RECT* pRect, CExtPopupMenuWnd* pPopup)
            : m_pDC(pDC), m_pRectLeftArea(pRect), m_pPopup(pPopup)
        {
        }
    };

    // ---- layout and hit testing ----------------------------------------------------------
    virtual void RecalcServiceAreas();
    virtual void GetBorderMargins(RECT& rcMargins);
    virtual int HitTest(const POINT& ptClient, bool* pbInplaceEdit = NULL, bool* pbInplaceDropDown = NULL);
    virtual int GetTearOffCaptionHeight();
    virtual bool IsTearOffEnabled();
    virtual bool IsPaletteLayout() const { return (m_dwTrackFlags & TMF_PALETTE) != 0; }
    virtual void CollectItemRects(CDC* pDC, ExpandEffectRectsArr_t& arr);
    virtual void CollectPaletteItemRects(CDC* pDC, ExpandEffectRectsArr_t& arr);
    virtual bool IsPaletteRowEnd(int nIndex) const;
    virtual void GetItemRect(int nIndex, RECT& rcItem, bool bIncludeIndents = true);
    virtual void GetPaletteItemRect(int nIndex, RECT& rcItem, bool bIncludeIndents);
    // Recomputes which items are shown and the content size, and rewrites each item's index.
    virtual void RecalcLayout();
    virtual void RecalcPaletteLayout();
    virtual void PaletteWrapItems(bool bWrap, int nFrom, int nTo);
    virtual CSize& CalcMenuSize(CSize& sizeMenu);
    virtual int FindNextItem(int nCode);
    // Empties the cached rectangles of every item.
    void InvalidateItemRects();
    // Navigation and selection may stop on the item.
    bool IsItemSelectable(int nIndex) const;
    // The lowest scroll position: the content's overhang below the visible area (<= 0).
    int GetScrollLimit();
    bool IsExpanded() const { return (m_nMenuFlags & __MF_EXPANDED) != 0; }
    bool HasExpandArea() const { return (m_nMenuFlags & __MF_EXPAND_AREA) != 0; }
    bool IsScrollable() const { return (m_nMenuFlags & __MF_SCROLLABLE) != 0; }
    bool IsContextHelpMode();
    void GetPaintRect(RECT& rc) override;
    void ResetState() override;
    bool IsShadowEnabled() override;

    // ---- painting --------------------------------------------------------------------------
    virtual void DrawItems(CDC* pDC);
    virtual void DrawPaletteItems(CDC* pDC);
    // The border callback of a sub-menu combined with its parent's item.
    virtual void PaintParentItemCombined(int nParentItem, CDC* pDC, CExtPopupMenuWnd* pSubMenu, const RECT* pRect);
    // The callback a sub-menu opened from an item gets: its parent paints that item.
    static void stat_PaintParentItemCallback(LPVOID pCookie, CDC& dc, const CWnd& wndPopup, const CRect& rcArea,
                                             int nCombineAlign);
    void OnPaintMenu(CDC& dc, bool bFull) override;
    // One frame of the open animation, composed from the screen before and the menu after.
    void OnPaintFull(CDC& dc) override;
    void ReleaseCachedBitmaps() override;
    // Notifications of g_nMsgPopupDrawItem are on for this menu's items.
    bool IsOwnerDrawNotifyOn();

    // ---- tracking --------------------------------------------------------------------------
    typedef CExtPopupBaseWnd::pCbPaintCombinedContent pCbPaintCombinedContent;
    virtual BOOL TrackPopupMenu(UINT nTrackFlags, int x, int y, LPCRECT lpRectExclude = NULL, LPVOID pCookie = NULL,
                                pCbPaintCombinedContent pCombinedAreaCallback = NULL, UINT* lpnResultCmdID = NULL,
                                bool bCookieIsObject = false);
    virtual bool CreateMenuWindow(CWnd* pWndCmdReceiver);
    virtual BOOL TrackPopupMenuImpl(UINT nTrackFlags, int x, int y, LPCRECT lpRectExclude, LPVOID pCookie,
                                    pCbPaintCombinedContent pCombinedAreaCallback, bool bCookieIsObject);
    virtual void ReleaseAnimationResources();
    virtual void ActivateCurrentPopup();
    virtual CExtPopupMenuWnd* GetCurrentPopup();
    virtual void ReleaseCurrentPopup();
    virtual void RepaintUnderlyingWindows();
    virtual bool IsRectOnMenuTree(LPCRECT lpRectScreen, bool bCheckParents);
    virtual void CalcPlacementRect(RECT& rcWindow);
    virtual void EndSequence(UINT nCmdID, HWND hWndDeliver = NULL);
    // Selects an item (or nothing with -1), optionally repainting and opening its sub-menu
    // (with its first item selected).
    virtual void SelectItem(int nIndex, bool bEnableShowSubMenu = false, bool bRepaint = true,
                            bool bSelectFirstInSubMenu = false);
    virtual void DeselectCurrentItem(bool bRepaint, bool bHideTip);
    static bool g_bLockSystemMoveSize;

    // Captures the screen under the shadow strips while the window is still hidden.
    void CaptureShadowBeforeShow();

    // ---- in-place edit items -----------------------------------------------------------
    void CreateInplaceEdits();
    void MoveInplaceEdits();
    bool ShowInplaceEdit(int nIndex);
    int FindInplaceEditItem(HWND hWnd) const;
    bool OnInplaceEditKey(UINT nChar, bool& bNoEat);

    // ---- customize drag and drop ---------------------------------------------------------
    // A command-tree node dragged over the menu may be dropped before an item; a command
    // dragged out of a menu built from a node leaves that node. Inert in palette menus.
    DROPEFFECT OnCustomizeTargetOver(CExtCustomizeSite::CCmdDragInfo& dragInfo, CPoint point,
                                     DWORD dwKeyState) override;
    void OnCustomizeTargetLeave() override;
    bool OnCustomizeTargetDrop(CExtCustomizeSite::CCmdDragInfo& dragInfo, CPoint point, DROPEFFECT de) override;
    void OnCustomizeSourceDragComplete(DROPEFFECT de, bool bCanceled, bool* p_bNoResetActiveItem) override;
    CExtCustomizeSite* GetCustomizeSite();
    void PaintCustomizeMarks(CDC* pDC, int nIndex, const RECT& rcItemWithIndents);
    // Moves the drop marker (-1 removes it), repainting at once when it moved.
    void SetDropPos(int nPos);
    int GetDropPos() const { return m_nDropPos; }
    int m_nDropPos;
    BYTE m_nDragFlags;
    int m_nDragCounter1, m_nDragCounter2;
    int m_nDragMarker;

protected:
    // Lays the menu out again and re-shapes its window after the items changed.
    void ReshapeAfterDrop();

public:
    // ---- tear-off ------------------------------------------------------------------------
    // A press on the tear-off caption: runs one tear-off drag.
    virtual void StartTearOff();
    // The caption tip: string 30402, else the built-in text.
    static CString stat_GetTearOffCaptionTip();

    // Sends the item-covering notification of an item; the suppress-tip answer goes
    // into the menu's state. False when the window died meanwhile.
    bool NotifyItemCovering(ITEMCOVERINGNOTIFICATION::eICN_t eICN, int nIndex, bool bEnableShowSubMenu = false,
                            bool bSelectFirstInSubMenu = false);
    // The status-bar text of the item (or the idle message) in the owner's frame.
    void ShowItemStatusText(int nIndex);
    // The point lies on the part of a combined root menu that covers its owner button.
    bool IsPointOnCombinedOwnerPart(const CPoint& ptClient);

protected:
    // Enables the items that mirror a window's system menu and takes their texts from it.
    void UpdateSystemCommandItems();
    // Opens the sub-menu of the selected sub-menu item beside it.
    bool OpenSubMenu(int nIndex, bool bSelectFirst);
    // Runs an item as Enter or a click does.
    void ExecuteItem(int nIndex);
    // Left or Esc in a sub-menu: the parent becomes current again, its item still selected.
    bool CloseToParent();
    // A bitmap of the client size that a paint goes through off screen, so that client
    // coordinates hold unchanged; where none is wanted or none can be made, the paint goes
    // straight to the target.
    class PaintBuffer
    {
    public:
        PaintBuffer(CDC& dcTarget, const CRect& rcClient, bool bWanted);
        ~PaintBuffer();
        PaintBuffer(const PaintBuffer&) = delete;
        PaintBuffer& operator=(const PaintBuffer&) = delete;
        CDC& DC() { return *m_pDC; }
        // Copies a part of the buffer to the target (nothing when painting went straight there).
        void CopyToTarget(const CRect& rc);

    private:
        CDC& m_dcTarget;
        CDC m_dcMem;
        CBitmap m_bmpMem;
        CBitmap* m_pOldBmp;
        CDC* m_pDC;
    };
    // Sets or clears the top-level state of a menu being (re)built; a top-level menu has no
    // parent.
    void SetTopLevel(bool bTopLevel);

    // ---- the steps of OnPaintMenu and OnPaintFull ----------------------------------------
    void PaintMenuBackground(CDC& dc, const CRect& rcPaint, CExtPaintManager* pPM);
    void ExcludeServiceAreasFromClip(CDC& dc, const CRect& rcClient, const CRect& rcPaint, const CRect& rcMargins);
    void PaintServiceAreas(CDC& dc, CExtPaintManager* pPM);
    void PaintLeftArea(CDC& dc, const CRect& rcPaint, const CRect& rcMargins);
    void PaintCombinedBorder(CDC& dc, const CRect& rcPaint, CExtPaintManager* pPM);
    void PaintMenuShadow(CDC& dcTarget, const CRect& rcPaint, bool bCombined, CExtPaintManager* pPM);
    bool PrepareAnimationBuffers(CDC& dc, CDC& dcMem, int cx, int cy, int nKind);

    // ---- the steps of TrackPopupMenuImpl --------------------------------------------------
    bool SendPrepareMessage(UINT nMsg, BYTE nFlags);
    // The receiver's prepare messages and the system-menu items. False cancels the menu.
    bool PrepareWithReceiver(bool bUntracked);
    void ResetForTracking(UINT nTrackFlags, LPVOID pCookie, pCbPaintCombinedContent pCombinedAreaCallback,
                          bool bCookieIsObject, bool bExpandedRequest);
    bool SetTrackPointAndExcludeArea(int x, int y, LPCRECT lpRectExclude);
    void DecideCombineWithOwner(bool bHasExcludeArea, LPVOID pCookie, bool bCookieIsObject);
    void AlignTrackPointToExcludeArea();
    bool StartOpenAnimation(bool bUntracked);
    void ShowMenuWindow(bool bUntracked);
    // ---- the steps of CalcPlacementRect ---------------------------------------------------
    enum PLACEMENT_STEP
    {
        PLACEMENT_DONE,
        PLACEMENT_RESTART,      // flipped to the other side: place again
        PLACEMENT_WINDOW_GONE,  // hiding the window for the flip destroyed it
    };
    CRect GetPlacementArea(bool bExclude);
    DWORD InheritParentAlignment(bool bCombined);
    int OffsetOntoCombinedOwner(CRect& rcMenu, DWORD dwAlign, int nShadow);
    PLACEMENT_STEP PlaceBesideExclude(CRect& rcMenu, const CRect& rcArea, DWORD dwAlign, int nOverlap, bool bCombined,
                                      const CSize& sizeMenu);
    bool ClampIntoWorkArea(CRect& rcMenu, const CRect& rcArea);
    bool MakeCombinedRegion(const CRect& rcMenu, int nSide, int nShadow, RECT& rcWindow);
    // ---- the steps of OnKeyDown -----------------------------------------------------------
    // The focus is in one of this menu's in-place edits, which takes this key.
    bool IsKeyForFocusedInplaceEdit(UINT nChar);
    // Moves the selection to the item FindNextItem answers for the code.
    void MoveSelectionByKey(int nCode);
    bool OnKeyEnter(bool& bNoEat);
    void OnKeyDropDownInplaceItem();
    void OnKeyUpDown(UINT nChar);
    void OnKeyRight();
    bool OnKeyLeft();
    void OnAccessKey(UINT nChar);
    // The window lives, the tree tracks and no open animation runs.
    bool IsInputReady();
    void ShowItemTip(int nIndex);
    void OnHoverTimer();
    void OnScrollTimer();
    void OnExpandTimer();

public:
    enum
    {
        ID_TIMER_DELAYED_SUBMENU = 667,
        ID_TIMER_SCROLLING = 668,
        ID_TIMER_EXPAND = 670,
    };
    // Starts the delayed sub-menu timer for an item, or stops it with -1.
    virtual void OnHoverItem(int nIndex);
    // Scrolls while the pointer rests on the scroll-up (-2) or scroll-down (-3) area.
    virtual bool StartScrolling(int nPseudoItem);
    // Shows the rarely used items and re-places the window for its new size.
    virtual void ExpandMenu();

    static bool g_bScrollAcceleration;
    static int g_nScrollAccelerationPeriod;
    static int g_nScrollAccelerationPercent;
    static int g_nScrollStepMax;
    int m_nScrollStep;
    int m_nScrollAccelTime;

public:

    // ---- tracking services ---------------------------------------------------------------
    virtual bool OnMouseMoveTracked(UINT nMsg, CPoint ptClient, bool& bNoEat);
    virtual bool OnMouseClickTracked(UINT nMsg, CPoint ptClient, bool& bNoEat);
    virtual bool OnMouseWheelTracked(UINT nMsg, MOUSEHOOKSTRUCT* pData, bool& bNoEat);
    // The key handler the keyboard hook calls; the window's own WM_KEYDOWN handler
    // stays reachable beside it.
    virtual bool OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags, bool& bNoEat);
    using CExtPopupBaseWnd::OnKeyDown;
    // The client point lies on this very window.
    virtual bool IsClientPointOnWindow(POINT ptClient);
    // Closes this menu and its open sub-menus (the window too, unless bKeepWindow).
    virtual void DestroyMenuWindow(bool bKeepWindow = false);
    // Places this menu after the given window in the z-order (at the top without one),
    // repaints it at once, and does the same for its parent menus.
    void BringChainToTop(HWND hWndInsertAfter);
    // BringChainToTop from the deepest visible sub-menu of the current item's chain.
    void BringTreeToTop();
    // The menu's own tip window, NULL while it has none.
    virtual CWnd* GetMenuTipWnd() { return &m_wndMenuTip; }
    // The menu's own tip is shown for this menu, which takes input now.
    bool IsMenuTipVisible();
    void HideMenuTip(bool bRepaintMenu);

    static BOOL IsMenuTracking();
    static void CancelMenuTracking();
    static void stat_PumpPendingMessages(bool bCallOnIdle);
    // Handles the pending sent and posted messages and leaves keyboard and mouse input
    // queued, for whatever tracks next to read, and paints and timers for the thread's
    // own loop: they come after whatever the handled messages show.
    static void stat_PumpPendingNonInputMessages(bool bCallOnIdle);
    static bool stat_TestWindowsShareParent(HWND hWndA, HWND hWndB, bool bRequireEnabled, bool bRequireVisible,
                                            bool bFailWhileTracking);
    static BOOL IsModifierKeyDown(LPARAM lParam);
    static bool stat_RelayDateSelection(LPVOID pCookie, LPARAM lParam);

    // The separator height of the paint manager: 6 in the base theme, 1 in the others.
    static int stat_GetSeparatorHeight(CExtPaintManager* pPM);

    // ---- registered messages -------------------------------------------------------------
    static const UINT g_nMsgPrepareMenu;
    static const UINT g_nMsgPrepareOneMenuLevel;
    static const UINT g_nMsgPrepareDesktopBk;
    static const UINT g_nMsgPopupNext;
    static const UINT g_nMsgPopupPrev;
    static const UINT g_nMsgNotifyMenuExpanded;
    static const UINT g_nMsgNotifyMenuClosed;
    static const UINT g_nMsgPopupDrawItem;
    static const UINT g_nMsgPopupDrawLeftArea;
    static const UINT g_nMsgPopupDrawBackground;
    static const UINT g_nMsgCreateInplaceEdit;
    static const UINT g_nMsgItemCoveringNotification;
    static const UINT g_nMsgTearOff;
    static const UINT g_nMsgCustomFloatPos;

    // ---- option globals ------------------------------------------------------------------
    static bool g_bHideRarelyUsedItems;
    static bool g_bExpandOnHover;
    static bool g_bHighlightRarelyUsed;
    static bool g_bShowMenuTips;
    static bool g_bExpandAnimation;
    static bool g_bEatClicksOutside;
    static bool g_bUseWorkArea;
    static bool g_bPumpCallsOnIdle;

    // ---- fields ------------------------------------------------------------------------
    DWORD m_dwTrackFlags;
    CExtCustomizeCmdTreeNode* m_pSourceNode;
    int m_nLeftAreaWidth;
    CArray<MENUITEMDATA, MENUITEMDATA&> m_items;
    HWND m_hWndCmdReceiver;
    CExtPopupMenuWnd* m_pParentMenu;
    BYTE m_nMenuFlags;
    int m_nCurIndex;
    CSize m_sizeContent;
    CExtCustomizeSite* m_pCustomizeSite;
    int m_nHoverIndex;
    int m_nMouseItem;
    int m_nExpandCounter;
    int m_nScrollPos;
    int m_nScrollingDelta;
    int m_nCombineSide;
    CRgn m_rgnCombined;
    CRect m_rcMenu;
    CRect m_rcScrollTop, m_rcScrollBottom, m_rcExpand, m_rcTearOff;
    CExtPopupMenuTipWnd m_wndMenuTip;

protected:
    // Relayout after an item change: of this menu when it is top level, else of its parent.
    void RelayoutAfterChange();
    // Removes every item, freeing the sub-menu tree.
    void RemoveAllItems(bool bNoCmdProfile);

    void PostNcDestroy() override;
    afx_msg void OnCancelMode();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

// The tear-off drag that runs now, NULL when none.
extern CExtPopupMenuWnd::TEAROFFNOTIFICATON* g_pActiveTearOff;
