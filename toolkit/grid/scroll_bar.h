// The grid's scroll bar as the scroll-bar painting reads it. The grid subsystem
// completes it.
#pragma once
#include "framework/framework.h"

class CExtScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CExtScrollBar)
public:
    CExtScrollBar();
    virtual ~CExtScrollBar();

    // 0 and 1 horizontal, 2 and 3 vertical; any other value makes the painting record
    // empty.
    virtual int GetOrientationKind() const;

    // In this order: arrow extent of a horizontal bar, of a vertical bar, minimum thumb
    // extent of a horizontal bar, of a vertical bar.
    int m_nHorzBarHeight;
    int m_nVertBarWidth;
    int m_nHorzButtonWidth;
    int m_nVertButtonHeight;
};
