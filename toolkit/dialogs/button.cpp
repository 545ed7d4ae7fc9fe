#include "toolkit/dialogs/button.h"

IMPLEMENT_DYNAMIC(CExtButton, CButton)

CExtButton::CExtButton() {}

CExtButton::~CExtButton() {}

void CExtButton::SetStateIcons(HICON hIconFirst, HICON hIconSecond, HICON hIconDisabled,
                               HICON hIconPushed)
{
    m_icon.Empty();
    if (hIconFirst != NULL && hIconSecond != NULL)
    {
        m_icon.m_bmpHover.AssignFromHICON(hIconFirst);
        m_icon.m_dwFlags |= CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_HOVER;
        m_icon.m_bmpNormal.AssignFromHICON(hIconSecond);
    }
    else if (hIconFirst != NULL || hIconSecond != NULL)
        m_icon.m_bmpNormal.AssignFromHICON(hIconFirst != NULL ? hIconFirst : hIconSecond);
    if (hIconFirst != NULL)
        ::DestroyIcon(hIconFirst);
    if (hIconSecond != NULL)
        ::DestroyIcon(hIconSecond);
    if (hIconDisabled != NULL)
    {
        m_icon.m_bmpDisabled.AssignFromHICON(hIconDisabled);
        m_icon.m_dwFlags |= CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_DISABLED;
        ::DestroyIcon(hIconDisabled);
    }
    if (hIconPushed != NULL)
    {
        m_icon.m_bmpPressed.AssignFromHICON(hIconPushed);
        m_icon.m_dwFlags |= CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_PRESSED;
        ::DestroyIcon(hIconPushed);
    }
    if (hIconFirst == NULL && hIconSecond == NULL && hIconDisabled == NULL && hIconPushed == NULL)
        return;
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
    {
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        ::UpdateWindow(m_hWnd);
    }
}
