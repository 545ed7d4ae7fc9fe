// The tab strip of a tabbed group: one tab per page, the tab's lParam being the page
// (the auto-hide area lives in auto_hide.h).
#pragma once
#include "framework/oledrop.h"
#include "toolkit/dialogs/tab_wnd.h"

class CExtControlBar;
class CExtDynTabControlBar;

class CExtDynTabWnd : public CExtTabWnd
{
    DECLARE_DYNAMIC(CExtDynTabWnd)
public:
    // Item style bits of the group's tabs, beside the tab window's own.
    enum
    {
        __EDTI_INVISIBLE = 0x01,
        __EDTI_PREVIEW = 0x10,  // a bar dragged over the group, or the page dragged out
        __EDTI_NO_ICON = 0x40,  // the command manager holds no icon for the page
    };

    // Dragging data over a tab turns to its page; nothing is ever dropped.
    class CDynDropTarget : public COleDropTarget
    {
    public:
        CExtDynTabWnd* m_pWndTab;
        CDynDropTarget() : m_pWndTab(NULL) {}
        DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
        DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    };

    CExtDynTabWnd();
    virtual ~CExtDynTabWnd();

    CDynDropTarget m_oleDropTarget;
    DWORD m_dwReserved;

    CExtDynTabControlBar* GetContainer() const;
    // The item's page; NULL for a preview item when bSkipPreview.
    CExtControlBar* GetItemBar(int nIndex, bool bSkipPreview = true) const;
    int SelectBar(CExtControlBar* pBar);
    void InsertBar(CExtControlBar* pBar, int nPos = -1, bool bPreview = false, bool bUpdate = true);
    void RemovePreviewItems(bool bUpdate = true);
    // Clears the preview mark of the pages' own tabs (the dragged page's tab).
    void ClearPreviewMarks(bool bUpdate = true);
    int HitTestScreen(POINT ptScreen) const;
    // Ctrl+PageUp / Ctrl+PageDown: true when the key was eaten.
    bool ProcessKeyboardSwitch(const MSG* pMsg);
    // The item nStep (+1 or -1) away from the selection that may be switched to; -1 when
    // the walk comes back to the selection.
    int FindSwitchTarget(int nStep) const;
    // Turns to the page under a point of the strip (OLE drag over).
    void OnDragOverItem(CPoint ptClient);

    bool OnTabWndClickedItem(int nItem, bool bButtonPressed, int nMouseButton, UINT nMouseEventFlags) override;
    bool OnTabWndSelectionChange(int nOldItem, int nNewItem, bool bPreSelectionTest) override;
    CExtCmdIcon* OnTabWndQueryItemIcon(const TAB_ITEM_INFO* pTii) const override;
    LPCTSTR OnTabWndQueryItemText(const TAB_ITEM_INFO* pTii) const override;
    void OnTabWndDrawItem(CDC& dc, const RECT& rcTabItemsArea, int nItemIndex, TAB_ITEM_INFO* pTii, bool bTopLeft,
                          bool bHorz, bool bSelected, bool bCenteredText, bool bGroupedMode, bool bInGroupActive,
                          bool bInvertedVerticalMode, const RECT& rcEntireItem, CSize sizeTextMeasured,
                          CFont* pFont, LPCTSTR sText, CExtCmdIcon* pIcon) override;
    bool OnTabWndCanDragItem(int nIndex) override;
    bool OnTabWndStartPushedTracking(int nMouseButton, int nHitTest) override;
    // A page's tab dragged away runs the page's own drag loop.
    void ItemDragLoop(int nIndex) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    DECLARE_MESSAGE_MAP()
};
