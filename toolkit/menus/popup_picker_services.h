// What popup menus build from command-tree nodes but cannot make themselves: the
// undo/redo list popup belongs to the pickers library, which is linked after the menus.
// The pickers library fills g_PopupPickerServices when it starts; until it does, an
// undo/redo node makes no menu item.
#pragma once
#include "framework/framework.h"

class CExtPopupMenuWnd;
class CExtCustomizeCmdTreeNode;

struct CExtPopupPickerServices
{
    // A new undo/redo list popup for the node with these list box styles and cookie whose
    // list is sizeList large, its list callbacks reporting to the customize site; the
    // caller owns it.
    CExtPopupMenuWnd* (*pfnCreateUndoRedoPopup)(CExtCustomizeCmdTreeNode* pNode, DWORD dwListBoxStyles,
                                                LPARAM lParamCookie, SIZE sizeList);

    CExtPopupMenuWnd* CreateUndoRedoPopup(CExtCustomizeCmdTreeNode* pNode, DWORD dwListBoxStyles,
                                          LPARAM lParamCookie, SIZE sizeList) const
    {
        return pfnCreateUndoRedoPopup != NULL
                   ? pfnCreateUndoRedoPopup(pNode, dwListBoxStyles, lParamCookie, sizeList)
                   : NULL;
    }
};
extern CExtPopupPickerServices g_PopupPickerServices;
