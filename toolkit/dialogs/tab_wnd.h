// The tab window family as the theme engine reads it: items, selection, style and
// orientation, and the MDI tab window. The dialogs subsystem completes these classes.
#pragma once
#include "framework/framework.h"

class CExtCmdIcon;

class CExtTabWnd : public CWnd
{
    DECLARE_DYNAMIC(CExtTabWnd)
public:
    class TAB_ITEM_INFO : public CObject
    {
    public:
        enum
        {
            __ETWI_SELECTED = 0x04,
            __ETWI_IN_GROUP_ACTIVE = 0x08,
            __ETWI_DISABLED = 0x20,
            __ETWI_CENTERED_TEXT = 0x40,
        };
        TAB_ITEM_INFO(CExtTabWnd* pWndTab = NULL, DWORD dwItemStyle = 0)
            : m_pWndTab(pWndTab), m_dwItemStyle(dwItemStyle)
        {
        }
        // An item is enabled while its style bit 0x20 is clear.
        bool EnabledGet() const { return (m_dwItemStyle & __ETWI_DISABLED) == 0; }
        DWORD GetItemStyle() const { return m_dwItemStyle; }
        // The item's index in its tab window, -1 when it is in none.
        int GetIndexOf() const;

        CExtTabWnd* m_pWndTab;
        DWORD m_dwItemStyle;
    };

    CExtTabWnd();
    virtual ~CExtTabWnd();

    // The MDI-tab test: false for a plain tab window.
    virtual bool IsMdiTabCtrl() const;
    // The tab window paints its own background (false here).
    virtual bool PaintsOwnBackground() const;

    int ItemGetCount() const { return (int)m_arrItems.GetSize(); }
    // NULL when the index is out of range.
    TAB_ITEM_INFO* ItemGet(int nIndex) const
    {
        return (nIndex >= 0 && nIndex < ItemGetCount()) ? m_arrItems[nIndex] : NULL;
    }
    int SelectionGet() const { return m_nSelIndex; }
    DWORD GetTabWndStyle() const { return m_dwTabWndStyle; }
    // 0 top, 1 bottom, 2 left, 3 right.
    int OrientationGet() const { return m_nOrientation; }
    bool OrientationIsHorizontal() const { return m_nOrientation == 0 || m_nOrientation == 1; }

    CTypedPtrArray<CPtrArray, TAB_ITEM_INFO*> m_arrItems;
    int m_nSelIndex;
    DWORD m_dwTabWndStyle;
    int m_nOrientation;
    // Bit 0: the strip is painted over the parent's background.
    BYTE m_nTabWndFlags;
};

class CExtTabMdiWnd : public CExtTabWnd
{
    DECLARE_DYNAMIC(CExtTabMdiWnd)
public:
    CExtTabMdiWnd();
    virtual ~CExtTabMdiWnd();
    virtual bool IsMdiTabCtrl() const;
};
