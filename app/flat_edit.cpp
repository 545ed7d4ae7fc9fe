#include "app/flat_edit.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNAMIC(CExtFlatEdit, CExtEdit)
IMPLEMENT_DYNAMIC(CExtEditWithIcon, CExtFlatEdit)

CExtFlatEdit::CExtFlatEdit() {}

CExtFlatEdit::~CExtFlatEdit() {}

void CExtFlatEdit::PaintFrame(CRect rcFrame, CDC* pDC)
{
    CWindowDC* pWindowDC = NULL;
    if (pDC == NULL) pDC = pWindowDC = new CWindowDC(this);
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM != NULL) {
        bool bFocus = ::GetFocus() == m_hWnd && !CExtPopupMenuWnd::IsMenuTracking();
        bool bEnabled = IsEditEnabled();
        if ((bFocus || m_bMouseOver) && m_bHoverFrame) {
            CExtPaintManager::PAINTEDITFRAMEDATA data(this, rcFrame, true, m_bMouseOver, bEnabled, bFocus,
                                                      (GetStyle() & ES_READONLY) != 0);
            pPM->DrawEditFrame(*pDC, data);
        } else {
            // The frame rectangle lies 3 pixels inside the window's edge: the idle frame
            // goes outside it, the theme's one-pixel frame next to the client area and
            // the background colour round it, so the edit looks flat.
            CRect rc(rcFrame);
            rc.InflateRect(2, 2);
            pPM->DrawSimpleFrame(*pDC, rc, this);
            rc.InflateRect(1, 1);
            COLORREF clr = pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this);
            pDC->Draw3dRect(&rc, clr, clr);
        }
    }
    delete pWindowDC;
}

LRESULT CExtFlatEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Ctrl+A selects the whole text, as users know it from every current edit; the
    // platform's edit control does nothing with it. Its character (1) types nothing.
    const bool bCtrlOnly = ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) >= 0;
    if (message == WM_KEYDOWN && wParam == 'A' && bCtrlOnly) {
        SetSel(0, -1);
        return 0;
    }
    if (message == WM_CHAR && wParam == 0x01 && bCtrlOnly) return 0;
    return CExtEdit::WindowProc(message, wParam, lParam);
}

// ---- edit with icon ------------------------------------------------------------------

const UINT CExtEditWithIcon::g_nMsgNotifySelect = ::RegisterWindowMessageA(" CExtEditWithIcon::g_nMsgNotifySelect");

BEGIN_MESSAGE_MAP(CExtEditWithIcon::CExtIconWnd, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CExtEditWithIcon::CExtIconWnd::CExtIconWnd() : m_hIcon(NULL) {}

BOOL CExtEditWithIcon::CExtIconWnd::OnEraseBkgnd(CDC*) { return FALSE; }

void CExtEditWithIcon::CExtIconWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CExtMemoryDC dcBuffer(&dc, &rcClient, 0x03);
    if (m_hIcon != NULL) {
        dcBuffer.FillSolidRect(&rcClient, ::GetSysColor(COLOR_WINDOW));
        ::DrawIconEx(dcBuffer.m_hDC, 1, 1, m_hIcon, 24, 24, 0, NULL, DI_NORMAL);
    }
}

CExtEditWithIcon::CExtEditWithIcon() {}

CExtEditWithIcon::~CExtEditWithIcon() {}

void CExtEditWithIcon::PreSubclassWindow()
{
    CExtPaintManager* pPM = GetPaintManager();
    LOGFONT lf = {};
    if (pPM != NULL && pPM->m_FontNormal.GetSafeHandle() != NULL)
        pPM->m_FontNormal.GetLogFont(&lf);
    else
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfHeight = (LONG)(lf.lfHeight * 1.5);
    m_font.DeleteObject();
    if (m_font.CreateFontIndirect(&lf)) SendMessage(WM_SETFONT, (WPARAM)m_font.GetSafeHandle(), TRUE);

    CRect rcIcon;
    GetClientRect(&rcIcon);
    rcIcon.DeflateRect(1, 1);
    rcIcon.right = rcIcon.left + 24;
    if (m_wndIcon.Create(NULL, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SS_ICON, rcIcon, this, 101))
        m_wndIcon.ModifyStyleEx(0, WS_EX_TRANSPARENT);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(28, 0));
    CExtFlatEdit::PreSubclassWindow();
}

LRESULT CExtEditWithIcon::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = CExtFlatEdit::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_KEYUP:
    case WM_GETDLGCODE:
        // Typing repaints the edit over the icon: the icon is drawn again at once.
        if (m_wndIcon.GetSafeHwnd() != NULL) m_wndIcon.Invalidate(TRUE);
        Invalidate(TRUE);
        break;
    case WM_SIZE: {
        CRect rcFormat, rcClient;
        GetRect(&rcFormat);
        GetClientRect(&rcClient);
        rcFormat.right = rcClient.right;
        SendMessage(EM_SETRECT, 0, (LPARAM)&rcFormat);
        break;
    }
    default:
        break;
    }
    return lResult;
}
