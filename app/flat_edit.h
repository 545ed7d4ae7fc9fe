// The application's flat edits: CExtFlatEdit shows a flat one-colour frame while idle
// and the theme's edit frame while hovered or focused; CExtEditWithIcon (the search
// box) adds a 24 x 24 icon at its left and a font half as large again.
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/edit.h"

class CExtFlatEdit : public CExtEdit
{
    DECLARE_DYNAMIC(CExtFlatEdit)
public:
    CExtFlatEdit();
    virtual ~CExtFlatEdit();

    void PaintFrame(CRect rcFrame, CDC* pDC) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CExtEditWithIcon : public CExtFlatEdit
{
    DECLARE_DYNAMIC(CExtEditWithIcon)
public:
    // The icon beside the text; the icon is borrowed.
    class CExtIconWnd : public CStatic
    {
    public:
        CExtIconWnd();
        HICON m_hIcon;

    protected:
        afx_msg void OnPaint();
        afx_msg BOOL OnEraseBkgnd(CDC* pDC);
        DECLARE_MESSAGE_MAP()
    };

    CExtEditWithIcon();
    virtual ~CExtEditWithIcon();

    // Registered as " CExtEditWithIcon::g_nMsgNotifySelect".
    static const UINT g_nMsgNotifySelect;

    CExtIconWnd m_wndIcon;
    CFont m_font;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
