// The owner-drawn list box of the application's dialogs: every item carries its text,
// optional text and background colours, a bold flag, a small icon and the caller's
// pointer. It paints flicker-free and with the theme's one-pixel border.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

struct SmartListItem
{
    CString strText;
    COLORREF clrText = 0xFFFFFF;
    bool bTextSet = false;
    COLORREF clrBack = 0xFFFFFF;
    bool bBackSet = false;
    bool bBold = false;
    HICON hIcon = NULL;        // borrowed
    void* pUserData = NULL;    // the caller's
};

class CExtSmartListBox : public CListBox, public CExtPmBridge
{
    DECLARE_DYNAMIC(CExtSmartListBox)
public:
    CExtSmartListBox();
    virtual ~CExtSmartListBox();

    // The item's record (the item data); NULL for a bad index.
    SmartListItem* GetItem(int nIndex) const;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override;

    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
