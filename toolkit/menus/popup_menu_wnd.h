// The popup base window, the popup menu window and the shared tip window. Declared
// here with what the theme engine reads of them; the menu subsystem completes them.
#pragma once
#include "framework/framework.h"

class CExtCustomizeCmdTreeNode;
class CExtCmdItem;
class CExtCmdIcon;

class CExtPopupBaseWnd : public CWnd
{
    DECLARE_DYNAMIC(CExtPopupBaseWnd)
public:
    CExtPopupBaseWnd();
    virtual ~CExtPopupBaseWnd();

    // The object (usually a toolbar or the menu bar) the popup is combined with; NULL
    // when it is combined with nothing.
    virtual CObject* GetCombinedObject();
    // True for a popup menu whose combined-area painter is the toolkit's default one.
    virtual bool UsesDefaultCombinePainter();

    // The popup is laid out right to left.
    bool IsLayoutRTL() const;
};

class CExtPopupMenuWnd : public CExtPopupBaseWnd
{
    DECLARE_DYNAMIC(CExtPopupMenuWnd)
public:
    // One item of the menu, as the painting reads it.
    struct MENUITEMDATA
    {
        enum
        {
            __MIF_NO_LEFT_AREA = 0x10,  // the expand button then uses a left-area width of 0
        };
        int m_nLeftAreaWidth;  // width of the icon column computed for the item, in pixels
        DWORD m_dwItemFlags;
        // What the item was built from (see UpdateFromCmdTree).
        UINT m_nCmdID;                          // a command; 0 separator; (UINT)-1 sub-menu
        CString m_sText;                        // menu text
        CString m_sAccelText;                   // accelerator text shown at the right
        CExtCustomizeCmdTreeNode* m_pCmdNode;   // not owned
        CExtCmdIcon* m_pIcon;                   // not owned; NULL for none
        CExtPopupMenuWnd* m_pPopup;             // the sub-menu, owned by the item

        MENUITEMDATA()
            : m_nLeftAreaWidth(0), m_dwItemFlags(0), m_nCmdID(0), m_pCmdNode(NULL), m_pIcon(NULL), m_pPopup(NULL) {}
        int GetIconAreaWidth() const { return m_nLeftAreaWidth; }
        bool IsSeparator() const { return m_nCmdID == 0; }
        bool IsPopup() const { return m_pPopup != NULL; }
    };

    CExtPopupMenuWnd();
    virtual ~CExtPopupMenuWnd();
    virtual bool UsesDefaultCombinePainter();

    // Number of items (0 for none) and the item at 0 .. count - 1.
    int ItemGetCount() const;
    MENUITEMDATA& ItemGetInfo(int nPos);

    // Builds the items from the children of a command tree node, with the texts, icons
    // and accelerator texts of the command profile of hWndCmdRecv (the window that gets
    // the commands). A node that follows a separator gets one before it; popup-like
    // nodes become sub-menus built the same way. False without a profile.
    bool UpdateFromCmdTree(HWND hWndCmdRecv, CExtCustomizeCmdTreeNode* pRootNode, bool bTopLevel = true);
    void ItemRemoveAll();
    HWND GetCmdReceiverHWND() const { return m_hWndCmdReceiver; }
    // The command item of an item, from the receiver's profile; NULL for none.
    CExtCmdItem* ItemGetCmd(int nPos);
    // Delivers the item's command to the receiver (posted unless bSend).
    bool ItemDeliver(int nPos, bool bSend = false);
    // Runs the command-UI update of every command item against pTarget.
    void ItemsUpdateCmdUI(CCmdTarget* pTarget);

protected:
    // Owns the items (and their sub-menus).
    class ItemList
    {
    public:
        ItemList() {}
        ~ItemList();
        void RemoveAll();
        CArray<MENUITEMDATA*, MENUITEMDATA*> m_arr;

    private:
        ItemList(const ItemList&) = delete;
        ItemList& operator=(const ItemList&) = delete;
    };
    ItemList m_items;
    HWND m_hWndCmdReceiver = NULL;
};

class CExtPopupMenuTipWnd : public CExtPopupBaseWnd
{
    DECLARE_DYNAMIC(CExtPopupMenuTipWnd)
public:
    CExtPopupMenuTipWnd();
    virtual ~CExtPopupMenuTipWnd();

    void SetTipStyle(int nTipStyle);
    // A change drops the cached shadow bitmaps.
    void SetAppearanceValue(int nValue);
    void SetText(LPCTSTR sText);  // NULL is empty
    // Nothing is redone when the rectangle to keep clear is unchanged.
    void Show(CWnd* pWndOwner, const RECT& rcExcludeArea);
    // Kills the tip timers, hides the window and empties its rectangle.
    void Hide();
};
