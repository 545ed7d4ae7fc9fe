// The popup base window, the popup menu window and the shared tip window. Declared
// here with what the theme engine reads of them; the menu subsystem completes them.
#pragma once
#include "framework/framework.h"

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

        MENUITEMDATA() : m_nLeftAreaWidth(0), m_dwItemFlags(0) {}
        int GetIconAreaWidth() const { return m_nLeftAreaWidth; }
    };

    CExtPopupMenuWnd();
    virtual ~CExtPopupMenuWnd();
    virtual bool UsesDefaultCombinePainter();

    // Number of items (0 for none) and the item at 0 .. count - 1.
    int ItemGetCount() const;
    MENUITEMDATA& ItemGetInfo(int nPos);
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
