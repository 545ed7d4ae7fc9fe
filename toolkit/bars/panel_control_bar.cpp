// The panel bar: sizing from the hosted window, keeping the window at its margin corner,
// passing the focus on, and painting the background around the window.
#include "toolkit/bars/panel_control_bar.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNCREATE(CExtPanelControlBar, CExtToolControlBar)

BEGIN_MESSAGE_MAP(CExtPanelControlBar, CExtToolControlBar)
    ON_WM_SIZE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SETFOCUS()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CExtPanelControlBar::CExtPanelControlBar() : m_nMarginLeft(5), m_nMarginTop(5), m_nMarginRight(5), m_nMarginBottom(5)
{
    // A panel never joins a customize site: it has no buttons to offer.
    m_nToolbarStyleFlags |= __TBSF_PANEL;
    m_nLifeFlags &= ~__ELF_CUSTOMIZE_REGISTER;
}

CExtPanelControlBar::~CExtPanelControlBar() {}

// ---- sizes ------------------------------------------------------------------------------

CSize CExtPanelControlBar::GetChildSize() const
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return CSize(0, 0);
    HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD);
    if (hWndChild == NULL)
        return CSize(0, 0);
    CRect rc;
    ::GetWindowRect(hWndChild, &rc);
    return rc.Size();
}

CRect CExtPanelControlBar::GetMargins() const
{
    return CRect(m_nMarginLeft, m_nMarginTop, m_nMarginRight, m_nMarginBottom);
}

void CExtPanelControlBar::CalcPanelSize(CSize& size, int nType)
{
    (void)nType;
    const CRect rcMargins = GetMargins();
    size = GetChildSize();
    size.cx += rcMargins.left + rcMargins.right;
    size.cy += rcMargins.top + rcMargins.bottom;
}

void CExtPanelControlBar::QueryPanelSize(CSize& size, int nType)
{
    CalcPanelSize(size, nType);
}

CSize CExtPanelControlBar::PanelSize(int nType) const
{
    CSize size(0, 0);
    const_cast<CExtPanelControlBar*>(this)->QueryPanelSize(size, nType);
    return size;
}

int CExtPanelControlBar::GetMinHorzExtent() const { return PanelSize(__PANEL_SIZE_DOCKED_HORZ).cx; }

int CExtPanelControlBar::GetMinVertExtent() const { return PanelSize(__PANEL_SIZE_DOCKED_VERT).cy; }

CSize CExtPanelControlBar::GetDefaultMinSize() const { return PanelSize(__PANEL_SIZE_FLOATING); }

CSize CExtPanelControlBar::GetMinSize() const
{
    return PanelSize(IsDockedVertically() ? __PANEL_SIZE_DOCKED_VERT : __PANEL_SIZE_DOCKED_HORZ);
}

bool CExtPanelControlBar::TakesRowThickness() const { return false; }

int CExtPanelControlBar::OnHelpHitTestBar(CPoint) { return -1; }

bool CExtPanelControlBar::IsMultiRowLayout() const { return false; }

CExtCustomizeSite* CExtPanelControlBar::GetCustomizeSite() { return NULL; }

bool CExtPanelControlBar::SetCustomizeSite(CExtCustomizeSite*) { return false; }

void CExtPanelControlBar::DisableContentWindow() {}

CSize CExtPanelControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    const CSize size = CExtToolControlBar::CalcFixedLayout(bStretch, bHorz);
    RecalcNcFrame();
    return size;
}

CSize CExtPanelControlBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && (dwMode & (LM_MRUWIDTH | LM_COMMIT)) == 0 && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) != 0)
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    return CalcLayout(dwMode, nLength);
}

// Neither the mode nor the length changes the answer: the panel is as large as its
// hosted window plus margins and frame.
CSize CExtPanelControlBar::CalcLayout(DWORD, int)
{
    CSize size(0, 0);
    if (!IsFloating())
    {
        size += CSize(2, 2);
        bool bGripperAtTop = false;
        if (IsBarWithGripper(&bGripperAtTop))
        {
            const RECT* prcCaption = GetCaptionRect();
            if (bGripperAtTop)
                size.cy += prcCaption->bottom - prcCaption->top;
            else
                size.cx += prcCaption->right - prcCaption->left;
        }
    }
    if (IsDockedHorizontally())
    {
        size += PanelSize(__PANEL_SIZE_DOCKED_HORZ);
        m_sizeDockedH = size;
        m_nMinHW = size.cx;
    }
    else if (IsDockedVertically())
    {
        size += PanelSize(__PANEL_SIZE_DOCKED_VERT);
        m_sizeDockedV = size;
        m_nMinVH = size.cy;
    }
    else if (IsFloating())
    {
        size += PanelSize(__PANEL_SIZE_FLOATING);
        m_sizeFloated = size;
    }
    else
        size += CSize(20, 20);
    return WithDialogEdgeRoom(size);
}

// ---- the hosted window ------------------------------------------------------------------

void CExtPanelControlBar::RepositionChild(bool bRedraw)
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD);
    if (hWndChild == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const CPoint ptWanted(rcClient.left + m_nMarginLeft, rcClient.top + m_nMarginTop);
    CRect rcChild;
    ::GetWindowRect(hWndChild, &rcChild);
    ScreenToClient(&rcChild);
    if (rcChild.TopLeft() == ptWanted)
        return;
    ::SetWindowPos(hWndChild, NULL, ptWanted.x, ptWanted.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | (bRedraw ? 0 : SWP_NOREDRAW));
}

void CExtPanelControlBar::OnSize(UINT nType, int cx, int cy)
{
    CExtToolControlBar::OnSize(nType, cx, cy);
    RepositionChild(true);
}

void CExtPanelControlBar::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CWnd::OnWindowPosChanged(lpwndpos);
    RepositionChild(true);
}

void CExtPanelControlBar::OnSetFocus(CWnd* pOldWnd)
{
    CExtControlBar::OnSetFocus(pOldWnd);
    HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD);
    if (hWndChild != NULL && ::IsWindowEnabled(hWndChild) && ::IsWindowVisible(hWndChild))
        ::SetFocus(hWndChild);
}

// ---- painting ---------------------------------------------------------------------------

void CExtPanelControlBar::PaintPanelBackground(CDC& dc, const CRect& rcClient)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL)
        return;
    if (pPM->UsesParentBackground(this) && pPM->DrawWindowBackground(true, dc, this))
        return;
    dc.FillSolidRect(&rcClient, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this));
}

void CExtPanelControlBar::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    // The hosted window paints itself: keep the buffer's copy off it.
    if (::GetWindow(m_hWnd, GW_CHILD) != NULL)
        CExtPaintManager::ClipOutChildren(&dcPaint, m_hWnd);
    CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    PaintPanelBackground(dc, rcClient);
}
