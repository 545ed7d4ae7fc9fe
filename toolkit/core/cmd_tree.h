// Command tree nodes: one entry of a menu or toolbar as a tree (command id, display
// flags, texts and icon that override the command item's, children for sub-menus), which
// popup menus build their items from; and the customize site, the owner that menus and
// bars ask for their trees (only its window map and registered messages exist here).
#pragma once
#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"

#include <oleidl.h>

class CExtCmdItem;
class CExtCustomizeSite;

// The drop effect of the customize drag (DROPEFFECT_NONE, _COPY, _MOVE).
#ifndef PURGELET_DROPEFFECT_DEFINED
#define PURGELET_DROPEFFECT_DEFINED
typedef DWORD DROPEFFECT;
#endif

class CExtCustomizeCmdTreeNode : public CObject
{
    DECLARE_SERIAL(CExtCustomizeCmdTreeNode)
public:
    // Node flags the code tests.
    enum e_flags_t
    {
        __ECTN_DISPLAY_MASK = 0x00000003,
        __ECTN_AUTO_POPUP = 0x00000004,
        __ECTN_FROM_SUBMENU = 0x00000008,
        __ECTN_GROUP_START = 0x00000010,
    };

    CExtCustomizeCmdTreeNode(UINT nCmdIdBasic = 0, UINT nCmdIdEffective = 0,
                             CExtCustomizeCmdTreeNode* pParentNode = NULL, DWORD dwFlags = 0,
                             LPCTSTR sTextInToolbar = NULL, LPCTSTR sTextInMenu = NULL, LPCTSTR sTextUser = NULL,
                             DWORD nLParam = 0, const CExtCmdIcon* pIconCustomized = NULL,
                             int nExtraValue1 = 100, int nExtraValue2 = -2, int nExtraValue3 = 250);
    virtual ~CExtCustomizeCmdTreeNode();
    void Serialize(CArchive& ar) override;

    virtual void AssignFrom(const CExtCustomizeCmdTreeNode& other);
    virtual void AssignFromCmdItem(const CExtCmdItem& cmd, const CExtCmdIcon* pIcon = NULL);
    virtual UINT GetCmdID(bool bEffective = true) const;
    virtual UINT SetCmdID(UINT nCmdID, bool bEffectiveOnly = false);
    virtual DWORD GetFlags() const;
    virtual DWORD ModifyFlags(DWORD dwAdd, DWORD dwRemove = 0);
    virtual bool CanShowIcon(CExtCmdItem* pCmdItem);
    virtual CExtCmdIcon* GetIconPtrCustomized(bool bAllowEmpty, CExtCmdItem* pCmdItem);
    virtual CExtCmdIcon* GetIconPtrInToolbar(CExtCmdItem* pCmdItem, bool bCmdIconFirst = false);
    virtual CExtCmdIcon* GetIconPtrInMenu(CExtCmdItem* pCmdItem, bool bCmdIconFirst = false);
    virtual void ResetIcon();
    virtual LPCTSTR GetTextInToolbar(CExtCmdItem* pCmdItem, bool bForce = false);
    virtual void SetTextInToolbar(LPCTSTR sText);
    virtual LPCTSTR GetTextInMenu(CExtCmdItem* pCmdItem);
    virtual void SetTextInMenu(LPCTSTR sText);
    virtual LPCTSTR GetTextUser() const;
    virtual void SetTextUser(LPCTSTR sText);
    virtual DWORD GetLParam() const;
    virtual DWORD SetLParam(DWORD nLParam);
    virtual CExtCustomizeCmdTreeNode* GetParentNode();
    virtual CExtCustomizeCmdTreeNode* SetParentNode(CExtCustomizeCmdTreeNode* pParentNode);
    virtual int AssignChildren(CExtCustomizeSite* pSite, const CExtCustomizeCmdTreeNode& other);
    virtual CExtCustomizeCmdTreeNode* CloneNode(CExtCustomizeSite* pSite = NULL, bool bDeep = true) const;
    virtual bool LoadMenuTree(CWnd* pWnd, CExtCustomizeSite* pSite, CMenu* pMenu, bool bPopupMenu = true);
    virtual int InsertNode(CExtCustomizeSite* pSite, CExtCustomizeCmdTreeNode* pNode);
    virtual int InsertNode(CExtCustomizeSite* pSite, CExtCustomizeCmdTreeNode* pNode, int nPos);
    virtual int RemoveNodes(int nStart = 0, int nCount = -1);
    virtual void RemoveSelf(bool bFixSeparator = true);
    virtual int SwapNodes(int nIdx1, int nIdx2, DWORD dwFlagsMask = 0);
    virtual int GetNodeCount() const;
    virtual CExtCustomizeCmdTreeNode* ElementAt(int nPos) const;
    virtual int GetOwnIndex(const CExtCustomizeCmdTreeNode* pNode) const;
    virtual int RemoveCmdIdRange(UINT nCmdIdFrom, UINT nCmdIdTo, bool bEffective = true, bool bDeep = true);
    virtual int SearchNodeByText(LPCTSTR sText, int nWhich = 1, int nStart = -1) const;
    virtual int SearchNodeByCmdID(UINT nCmdID, int nStart = -1, bool bEffective = true) const;
    virtual int SearchNodeBackwardByText(LPCTSTR sText, int nWhich = 1, int nStart = -1) const;
    virtual int SearchNodeBackwardByCmdID(UINT nCmdID, int nStart = -1, bool bEffective = true) const;
    virtual bool IsAncestorOf(const CExtCustomizeCmdTreeNode* pNode) const;
    virtual bool IsPopupLike() const;
    virtual int GetExtraValue1() const;
    virtual int SetExtraValue1(int nValue);
    virtual int GetExtraValue3() const;
    virtual int SetExtraValue3(int nValue);
    virtual int GetExtraValue2() const;
    virtual int SetExtraValue2(int nValue);

    int GetIndexInParent() const;

    UINT m_nCmdIdBasic;
    UINT m_nCmdIdEffective;
    CExtCustomizeCmdTreeNode* m_pParentNode;
    CArray<CExtCustomizeCmdTreeNode*, CExtCustomizeCmdTreeNode*> m_arrChildren;
    DWORD m_dwFlags;
    CString m_sTextInToolbar;
    CString m_sTextInMenu;
    CString m_sTextUser;
    DWORD m_nLParam;
    CExtCmdIcon m_iconCustomized;
    int m_nExtraValue1;
    int m_nExtraValue2;
    int m_nExtraValue3;
    CString m_sExtraText;

protected:
    CExtCustomizeCmdTreeNode* MakeNode(CExtCustomizeSite* pSite) const;
    DWORD SerializeHead(CArchive& ar);
    static void DeleteTree(CExtCustomizeCmdTreeNode* pNode);
    const CString& TextByKind(int nWhich) const;
};

// The owner of command trees for a window. Nothing in this toolkit registers one; the
// map and the query message let an application that does be found by menus and bars.
class CExtCustomizeSite
{
public:
    CExtCustomizeSite();
    virtual ~CExtCustomizeSite();

    // What the site's drag loop carries: the command-tree node being dragged.
    struct CCmdDragInfo
    {
        CExtCustomizeCmdTreeNode* m_pNode;
        explicit CCmdDragInfo(CExtCustomizeCmdTreeNode* pNode = NULL) : m_pNode(pNode) {}
    };
    // A window that commands can be dropped into while the user customizes.
    class ICustomizeDropTarget
    {
    public:
        virtual ~ICustomizeDropTarget() {}
        virtual DROPEFFECT OnCustomizeTargetEnter(CCmdDragInfo& dragInfo, CPoint point, DWORD dwKeyState)
        {
            return OnCustomizeTargetOver(dragInfo, point, dwKeyState);
        }
        virtual DROPEFFECT OnCustomizeTargetOver(CCmdDragInfo& dragInfo, CPoint point, DWORD dwKeyState) = 0;
        virtual void OnCustomizeTargetLeave() = 0;
        virtual bool OnCustomizeTargetDrop(CCmdDragInfo& dragInfo, CPoint point, DROPEFFECT de) = 0;
    };
    // A window that commands can be dragged out of.
    class ICustomizeDropSource
    {
    public:
        virtual ~ICustomizeDropSource() {}
        virtual bool OnCustomizeSourceCanDrag() { return true; }
        virtual void OnCustomizeSourceDragComplete(DROPEFFECT de, bool bCanceled, bool* p_bNoResetActiveItem) = 0;
    };

    // The site is in its customize mode; the base never is.
    virtual bool IsCustomizeMode() const;
    // The site keeps the state of this command itself, so the menus' command-UI update
    // leaves the application's handlers out and takes the check state the site gives
    // (0 clear, else checked). The base claims no command.
    virtual bool IsCmdUpdateClaimed(UINT nCmdID);
    virtual int GetCmdCheckState(UINT nCmdID);
    // The row texts and colours of the colour menu a colour-menu node opens: the texts of
    // the default-colour and custom-colour rows, the default colour and the colour
    // selected at first. The base leaves the menu's own values.
    virtual void OnColorMenuPrepare(CExtCustomizeCmdTreeNode* pNode, CString& sDefaultText, CString& sCustomText,
                                    COLORREF& clrDefault, COLORREF& clrInitial);
    // The list size of a list popup that a node opens; 0 x 0 leaves it to the node's own
    // first and third extra values.
    virtual CSize GetPopupListSize(CExtCustomizeCmdTreeNode* pNode);
    // The list popup of a node: the site may draw or measure an item itself (true when it
    // did), gives the margin around the item texts, and hears when a choice is made or
    // the list is cancelled (true when it took the event). The base does none of it.
    virtual bool OnPopupListItemDraw(CExtCustomizeCmdTreeNode* pNode, HWND hWndList, LPDRAWITEMSTRUCT pDIS);
    virtual bool OnPopupListItemMeasure(CExtCustomizeCmdTreeNode* pNode, HWND hWndList, LPMEASUREITEMSTRUCT pMIS);
    virtual CRect GetPopupListTextMargin(CExtCustomizeCmdTreeNode* pNode);
    virtual bool OnPopupListSelEndOK(CExtCustomizeCmdTreeNode* pNode, HWND hWndList);
    virtual bool OnPopupListSelEndCancel(CExtCustomizeCmdTreeNode* pNode, HWND hWndList);
    // The node the site's drag carries now; NULL when none.
    virtual CExtCustomizeCmdTreeNode* DraggedNodeGet();
    // Drop targets of untracked menus, known to the site while their windows live.
    virtual void DropTargetRegister(ICustomizeDropTarget* pTarget);
    virtual void DropTargetUnregister(ICustomizeDropTarget* pTarget);
    CArray<ICustomizeDropTarget*, ICustomizeDropTarget*> m_arrDropTargets;

    // A new node for trees built under this site; the base makes a plain node.
    virtual CExtCustomizeCmdTreeNode* OnCmdNodeCreate(UINT nCmdIdBasic = 0, UINT nCmdIdEffective = 0);
    // Told after a node was inserted into a tree; the base does nothing.
    virtual void OnCmdNodeInserted(CExtCustomizeCmdTreeNode* pNode);
    // The bar button the site reports as current; the base has none.
    virtual const void* GetCurrentButton() const;
    // A toolbar asks to be listed among the site's customizable bars; answers whether
    // it is listed.
    virtual bool RegisterToolBar(CWnd* pBar);
    bool IsToolBarRegistered(CWnd* pBar) const;
    // Makes sure the command is known in the profile bound to hWnd, its texts read from
    // the resources when it was new; answers the command, NULL when it cannot be set up.
    virtual CExtCmdItem* OnCmdPrepare(HWND hWnd, UINT nCmdID);
    // Brings what the site knows of a toolbar up to date before its buttons are offered
    // for adding and removing; the base lists the bar among its toolbars.
    virtual void OnToolBarPrepare(CWnd* pBar);
    // Whether the user may add and remove the toolbar's buttons; the base allows it for
    // the toolbars listed with it.
    virtual bool IsToolBarCustomizable(CWnd* pBar);
    // Told when a bar of the site was shown, hidden or moved; the base does nothing.
    virtual void OnBarStateChanged(CWnd* pBar);
    // May set the cursor over a bar itself (answering true); the base leaves it to the bar.
    virtual bool OnBarSetCursor(CWnd* pBar, CPoint ptClient);
    // The tree that a menu bar of the site shows instead of its window menu; the base
    // keeps none, so the bar shows its menu.
    virtual CExtCustomizeCmdTreeNode* GetMenuBarNode(CWnd* pMenuBar)
    {
        (void)pMenuBar;
        return NULL;
    }

    // The first or the second stored value.
    DWORD GetStoredValue(bool bSecond) const { return bSecond ? m_dwValue2 : m_dwValue1; }
    bool IsCurrentButton(const void* pTBB) const;

    // The site of hWnd or its nearest parent that has one; NULL when none answers.
    static CExtCustomizeSite* GetCustomizeSite(HWND hWnd);

    static CMap<HWND, HWND, CExtCustomizeSite*, CExtCustomizeSite*> g_CustomizeSitesMap;
    static const UINT g_nMsgQueryCustomizeSite;
    static const UINT g_nMsgAssignAccelTable;
    static const UINT g_nMsgSyncAccelTable;
    static const UINT g_nMsgSyncContent;
    static const UINT g_nMsgDelayCustomization;

    DWORD m_dwValue1;
    DWORD m_dwValue2;
    CArray<CWnd*, CWnd*> m_arrToolBars;
};
