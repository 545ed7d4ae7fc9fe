// The control bar base: the object and its flags, the list of all bars, the window class,
// creation in a frame or from a dialog template, the WM_SIZEPARENT layout, size queries,
// command-UI updating, painting and the system-change relay.
//
// The non-client area, the resize and drag loops and the docking operations build on
// the fields kept here; this file holds none of them.
#include "toolkit/bars/control_bar.h"
#include <algorithm>
#include "framework/afxres.h"
#include "framework/miniframe.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNAMIC(CExtControlBar, CControlBar)

// ---- module state ---------------------------------------------------------------------
// Order matters: the cursors, the list of bars, the registered messages, the frame
// registry. All of it exists before the first window is made.

HCURSOR CExtControlBar::g_hCursorArrow = ::LoadCursor(NULL, IDC_ARROW);
HCURSOR CExtControlBar::g_hCursorDrag = ::LoadCursor(NULL, IDC_SIZEALL);
HCURSOR CExtControlBar::g_hCursorResizeV = ::LoadCursor(NULL, IDC_SIZENS);
HCURSOR CExtControlBar::g_hCursorResizeH = ::LoadCursor(NULL, IDC_SIZEWE);

CArray<CExtControlBar*, CExtControlBar*> CExtControlBar::g_AllBars;

const UINT CExtControlBar::g_nMsgQueryFocusChangingEnabled =
    ::RegisterWindowMessageA("CExtControlBar::g_nMsgQueryFocusChangingEnabled");
const UINT CExtControlBar::g_nMsgQueryRepositionCalcEffect =
    ::RegisterWindowMessageA("CExtControlBar::g_nMsgQueryRepositionCalcEffect");
const UINT CExtControlBar::g_nMsgQueryIcon = ::RegisterWindowMessageA("CExtControlBar::g_nMsgQueryIcon");
const UINT CExtControlBar::g_nMsgPutToPopupMenu = ::RegisterWindowMessageA("CExtControlBar::g_nMsgPutToPopupMenu");
const UINT CExtControlBar::g_nMsgConstructPopupMenu =
    ::RegisterWindowMessageA("CExtControlBar::g_nMsgConstructPopupMenu");
const UINT CExtControlBar::g_nMsgCreateTabbedBar = ::RegisterWindowMessageA("CExtControlBar::g_nMsgCreateTabbedBar");
const UINT CExtControlBar::g_nMsgDrawTrackedArea = ::RegisterWindowMessageA("CExtControlBar::g_nMsgDrawTrackedArea");
const UINT CExtControlBar::g_nMsgCustomNcAreaQuery =
    ::RegisterWindowMessageA("CExtControlBar::g_nMsgCustomNcAreaQuery");

CTypedPtrMap<CMapPtrToWord, CFrameWnd*, WORD> CExtControlBar::g_FrameRegistry(10);

bool CExtControlBar::g_bControlBarClassRegistered = false;
CExtControlBar* CExtControlBar::g_pBarLastRepositioned = NULL;
bool CExtControlBar::g_bLockAllBars = false;
bool CExtControlBar::g_bEnableCustomNcAreaQuery = false;
bool CExtControlBar::g_bCloseActiveTabOnly = false;
bool CExtControlBar::g_bUseAdvancedToolTips = true;
int CExtControlBar::g_nDockMarkerStyleOverride = -1;
DWORD CExtControlBar::g_nDelayValue = 500;
const char* const CExtControlBar::g_sControlBarClassName = "Kestrix-ControlBar";
int CExtControlBar::g_nBarSetting = -1;

int CExtControlBar::GetBarSetting()
{
    if (g_nBarSetting != -1)
        return g_nBarSetting;
    return g_CurrentPaintManager->QueryBarSettingDefault();
}

namespace {

int SplitterDefault(int nMetric)
{
    const int n = ::GetSystemMetrics(nMetric);
    return n < 5 ? n : 4;
}

bool IsKindOfWnd(CWnd* pWnd, CRuntimeClass* pClass) { return pWnd != NULL && pWnd->IsKindOf(pClass); }

}  // namespace

// ---- construction ---------------------------------------------------------------------

CExtControlBar::CExtControlBar()
    : m_nOptionFlags(__ESF_CAPTION_AT_TOP | __ESF_SIZEPARENT | __ESF_IN_BARS_MENU),
      m_nGripHeightAtTop(::GetSystemMetrics(SM_CYSMCAPTION) + 1),
      m_nGripWidthAtLeft(::GetSystemMetrics(SM_CYSMCAPTION) + 1),
      m_nSeparatorHeight(SplitterDefault(SM_CYFRAME)),
      m_nSeparatorWidth(SplitterDefault(SM_CXFRAME)),
      m_nMinHW(0),
      m_nMinVH(0),
      m_nTrackerOffset(0),
      m_nTrackerExtent(0),
      m_nAutoHideWidth(-1),
      m_nAutoHideHeight(-1),
      m_sizeDockedH(200, 150),
      m_sizeDockedV(150, 200),
      m_sizeFloated(200, 200),
      m_nActivityFlags(__EAF_CONTENT_FILLS),
      m_bSuppressToolTips(false),
      m_dwVisibilitySyncValue(0),
      m_ptFloatPos(0, 0),
      m_ptDragValue(0, 0),
      m_nInteractionFlags(0),
      m_nDragValueA(-1),
      m_nDragValueB(-1),
      m_nLifeFlags(0),
      m_dwAuxValue(0),
      m_nSavedRowLength(0),
      m_bCreating(false)
{
    ::SetRectEmpty(&m_rcDragValue);
    // Construction goes on without the class: creation then fails, and the next bar
    // tries to register it again.
    RegisterControlBarClass();
    m_nMinHW = ::GetSystemMetrics(SM_CYSMCAPTION) + m_nSeparatorWidth + 1;
    m_nMinVH = ::GetSystemMetrics(SM_CYSMCAPTION) + m_nSeparatorHeight + 1;
    ::SetRectEmpty(&m_rcCaption);
    ::SetRectEmpty(&m_rcRowSplitter);
    ::SetRectEmpty(&m_rcTrailingSplitter);
    ::SetRectEmpty(&m_rcLeadingSplitter);
    g_AllBars.Add(this);
    RegisterWithHolder();
}

CExtControlBar::~CExtControlBar()
{
    UnregisterFromHolder();
    if (g_pBarLastRepositioned == this)
        g_pBarLastRepositioned = NULL;
    if (g_pDraggedBar == this)
        g_pDraggedBar = NULL;
    for (INT_PTR i = 0; i < g_AllBars.GetSize(); i++)
    {
        if (g_AllBars[i] == this)
        {
            g_AllBars.RemoveAt(i);
            break;
        }
    }
    // Each button destroys itself.
    for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize(); i++)
        m_vNcAreaButtons[i]->OnNcDestroy();
    m_vNcAreaButtons.RemoveAll();
    // The window goes while the object is still a bar, so its handlers see a bar.
    if (m_hWnd != NULL)
    {
        m_nOptionFlags |= __ESF_BUSY;
        m_bAutoDelete = FALSE;  // the object is going already
        CWnd::DestroyWindow();
    }
}

void CExtControlBar::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }

void CExtControlBar::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }

HWND CExtControlBar::GetBridgeHwnd() { return m_hWnd; }

CExtPaintManager* CExtControlBar::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

// ---- window class and creation --------------------------------------------------------

bool CExtControlBar::RegisterControlBarClass()
{
    if (g_bControlBarClassRegistered)
        return true;
    HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASSA wc;
    if (::GetClassInfoA(hInst, g_sControlBarClassName, &wc))
    {
        g_bControlBarClassRegistered = true;
        return true;
    }
    ::ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = g_sControlBarClassName;
    if (!AfxRegisterClass(&wc))
        return false;
    g_bControlBarClassRegistered = true;
    return true;
}

BOOL CExtControlBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!RegisterControlBarClass() || !CControlBar::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = g_sControlBarClassName;
    return TRUE;
}

BOOL CExtControlBar::Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, UINT nID, DWORD dwStyle)
{
    if (!RegisterControlBarClass())
        return FALSE;
    m_dwStyle = dwStyle & (CBRS_ALL | CBRS_GRIPPER);

    CString sText = (lpszWindowName != NULL) ? lpszWindowName : "";
    if (lpszWindowName == NULL && nID != 0 && nID != UINT(-1))
    {
        LPCTSTR sProfile =
            g_CommandManager->ProfileNameFromWnd(pParentWnd != NULL ? pParentWnd->GetSafeHwnd() : NULL);
        CExtCmdItem* pCmd = (sProfile != NULL) ? g_CommandManager->CmdGetPtr(sProfile, nID) : NULL;
        if (pCmd != NULL)
        {
            sText = pCmd->m_sMenuText;
            if (sText.IsEmpty())
                sText = pCmd->m_sToolbarText;
            sText.Remove('&');
        }
        else if (!g_CurrentResourceManager->LoadString(sText, nID))
            sText.Empty();
        const int nNewLine = sText.Find('\n');
        if (nNewLine >= 0)
            sText = sText.Left(nNewLine);
    }

    LPCTSTR sClass = AfxRegisterWndClass(CS_DBLCLKS, g_hCursorArrow, GetPaintManager()->LookupBrush(COLOR_BTNFACE));
    const DWORD dwWndStyle = (dwStyle & ~(DWORD(0xFFFF) | CBRS_GRIPPER)) | WS_CLIPCHILDREN;
    m_bCreating = true;
    const BOOL bCreated = CWnd::Create(sClass, sText, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
    m_bCreating = false;
    if (!bCreated)
        return FALSE;
    if ((GetStyle() & (CBRS_GRIPPER | CBRS_ALIGN_TOP)) != 0)
        ModifyStyle(CBRS_GRIPPER | CBRS_ALIGN_TOP, 0, SWP_FRAMECHANGED);
    return TRUE;
}

void CExtControlBar::PreSubclassWindow()
{
    CControlBar::PreSubclassWindow();
    m_nOptionFlags &= ~__ESF_BUSY;
    HWND hWndParent = ::GetParent(m_hWnd);
    if ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) == 0 && hWndParent != NULL)
    {
        CWnd* pParent = CWnd::FromHandlePermanent(hWndParent);
        if (pParent != NULL && !pParent->IsKindOf(RUNTIME_CLASS(CControlBar)) &&
            !pParent->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        {
            // A template's style word carries the bar style in its low word. A window
            // being made by Create has had those bits taken out already, so the style
            // Create was given stands.
            if (!m_bCreating)
                m_dwStyle = DWORD(::GetWindowLong(m_hWnd, GWL_STYLE)) & (CBRS_ALL | CBRS_GRIPPER);
            m_nOptionFlags |= __ESF_OUTSIDE_FRAME;
        }
    }
    if ((m_dwStyle & CBRS_TOOLTIPS) != 0)
        EnableToolTips(TRUE);
    if ((GetStyle() & (CBRS_GRIPPER | CBRS_ALIGN_TOP)) != 0)
        ModifyStyle(CBRS_GRIPPER | CBRS_ALIGN_TOP, 0, SWP_FRAMECHANGED);
}

BOOL CExtControlBar::DestroyWindow()
{
    if (m_hWnd == NULL)
    {
        if ((m_nLifeFlags & __ELF_SELF_DELETE) != 0)
            delete this;
        return TRUE;
    }
    return CControlBar::DestroyWindow();
}

void CExtControlBar::PostNcDestroy()
{
    if ((m_nLifeFlags & __ELF_SELF_DELETE) != 0)
        return;
    CControlBar::PostNcDestroy();
}

// ---- message map ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CExtControlBar, CControlBar)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_CANCELMODE()
    ON_WM_CAPTURECHANGED()
    ON_WM_MOUSEMOVE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_SIZE()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCRBUTTONUP()
    ON_WM_SHOWWINDOW()
    ON_WM_SETFOCUS()
    ON_WM_CONTEXTMENU()
    ON_MESSAGE(WM_SETTEXT, &CExtControlBar::OnSetText)
    ON_MESSAGE(WM_SIZEPARENT, &CExtControlBar::OnSizeParent)
    ON_MESSAGE(WM_HELPHITTEST, &CExtControlBar::OnHelpHitTest)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
    ON_MESSAGE(WM_DISPLAYCHANGE, &CExtControlBar::OnDisplayChange)
    ON_MESSAGE(WM_THEMECHANGED, &CExtControlBar::OnThemeChanged)
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

// ---- layout ---------------------------------------------------------------------------

LRESULT CExtControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    if ((m_nOptionFlags & __ESF_SIZEPARENT) == 0)
        return 0;
    AFX_SIZEPARENTPARAMS* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (lpLayout == NULL)
        return 0;
    const DWORD dwStyle = RecalcDelayShow(lpLayout);
    if ((dwStyle & WS_VISIBLE) == 0 || (dwStyle & CBRS_ALIGN_ANY) == 0)
        return 0;

    CRect rect(lpLayout->rect);
    const CSize sizeAvail = rect.Size();
    DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) != 0 && (m_dwStyle & CBRS_FLOATING) != 0)
        dwMode |= LM_HORZ | LM_MRUWIDTH;
    else if ((dwStyle & CBRS_ORIENT_HORZ) != 0)
        dwMode |= LM_HORZ | LM_HORZDOCK;
    else
        dwMode |= LM_VERTDOCK;

    CSize size = CalcDynamicLayout(-1, dwMode);
    size.cx = std::min(size.cx, sizeAvail.cx);
    size.cy = std::min(size.cy, sizeAvail.cy);

    if ((dwStyle & CBRS_ORIENT_HORZ) != 0)
    {
        lpLayout->sizeTotal.cy += size.cy;
        lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
        if ((dwStyle & CBRS_ALIGN_TOP) != 0)
            lpLayout->rect.top += size.cy;
        else if ((dwStyle & CBRS_ALIGN_BOTTOM) != 0)
        {
            rect.top = rect.bottom - size.cy;
            lpLayout->rect.bottom -= size.cy;
        }
    }
    else if ((dwStyle & CBRS_ORIENT_VERT) != 0)
    {
        lpLayout->sizeTotal.cx += size.cx;
        lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
        // In a right-to-left frame the dock bars swap sides; a bar in a dialog keeps
        // the side its style names.
        CWnd* pParent = GetParent();
        const bool bSwap = m_pDockBar != NULL && pParent != NULL &&
                           (pParent->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
        const bool bTakeLeft = bSwap ? (dwStyle & CBRS_ALIGN_RIGHT) != 0 : (dwStyle & CBRS_ALIGN_LEFT) != 0;
        const bool bTakeRight = bSwap ? (dwStyle & CBRS_ALIGN_LEFT) != 0 : (dwStyle & CBRS_ALIGN_RIGHT) != 0;
        if (bTakeLeft)
            lpLayout->rect.left += size.cx;
        else if (bTakeRight)
        {
            rect.left = rect.right - size.cx;
            lpLayout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (lpLayout->hDWP != NULL)
        AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    return 0;
}

CSize CExtControlBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    // The stretch argument is not used: the stretched sizes are the dynamic layout's.
    return CalcDynamicLayout(0, bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
}

CSize CExtControlBar::CalcDynamicLayout(int nLength, DWORD nMode)
{
    // In a frame's dock bar or floating frame the row layout decides.
    if (m_pDockBar != NULL && (m_nOptionFlags & __ESF_OUTSIDE_FRAME) == 0 && (nMode & LM_STRETCH) == 0)
        return CalcDockedRowLayout(nLength, nMode);
    if (IsFloating())
        return m_sizeFloated;
    const bool bStretch = (nMode & LM_STRETCH) != 0;
    if ((nMode & LM_HORZ) != 0)
    {
        if (bStretch)
            return CSize(32767, m_sizeDockedH.cy);
        const int nMin = GetMinHorzExtent();
        if (m_sizeDockedH.cy < nMin)
            m_sizeDockedH.cy = nMin;
        return m_sizeDockedH;
    }
    if (bStretch)
        return CSize(m_sizeDockedH.cx, 32767);
    const int nMin = GetMinVertExtent();
    if (m_sizeDockedV.cx < nMin)
        m_sizeDockedV.cx = nMin;
    return m_sizeDockedV;
}

int CExtControlBar::GetMinHorzExtent() const
{
    const int n = m_nMinHW + (m_rcLeadingSplitter.right - m_rcLeadingSplitter.left);
    if ((m_nOptionFlags & __ESF_CAPTION_AT_TOP) != 0 && n < 11)
        return 10;
    return n;
}

int CExtControlBar::GetMinVertExtent() const
{
    return m_nMinVH + (m_rcLeadingSplitter.bottom - m_rcLeadingSplitter.top);
}

void CExtControlBar::RepositionBarsEx(CWnd* pParent, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag,
                                      LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch)
{
    if (pParent == NULL || pParent->GetSafeHwnd() == NULL)
        return;
    AFX_SIZEPARENTPARAMS layout;
    layout.bStretch = bStretch;
    layout.sizeTotal.cx = layout.sizeTotal.cy = 0;
    if (lpRectClient != NULL)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(pParent->m_hWnd, &layout.rect);
    layout.hDWP = (nFlag == reposQuery) ? NULL : ::BeginDeferWindowPos(8);

    HWND hWndLeftOver = NULL;
    for (HWND hWndChild = ::GetTopWindow(pParent->m_hWnd); hWndChild != NULL;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
    {
        const UINT nID = UINT(::GetDlgCtrlID(hWndChild)) & 0xFFFF;
        if (nID == nIDLeftOver)
        {
            hWndLeftOver = hWndChild;
            continue;
        }
        bool bSkip = false;
        if (CWnd::FromHandlePermanent(hWndChild) != NULL)
        {
            QUERY_REPOSITION_CALC_EFFECT_DATA _qrced(nFlag, pParent, nIDFirst, nIDLast, nIDLeftOver, lpRectParam,
                                                     lpRectClient, bStretch != FALSE);
            ::SendMessage(hWndChild, g_nMsgQueryRepositionCalcEffect, (WPARAM)&_qrced, 0);
            bSkip = _qrced.IsSkipSizeParent();
        }
        if (nID >= nIDFirst && nID <= nIDLast && !(nFlag == reposQuery && bSkip))
            ::SendMessage(hWndChild, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if (nFlag == reposQuery)
    {
        if (lpRectParam != NULL)
        {
            if (bStretch)
                ::CopyRect(lpRectParam, &layout.rect);
            else
                ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        }
        return;
    }

    if (nIDLeftOver != 0 && hWndLeftOver != NULL)
    {
        CWnd* pLeftOver = CWnd::FromHandle(hWndLeftOver);
        if (nFlag == reposExtra && lpRectParam != NULL)
        {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        pLeftOver->CalcWindowRect(&layout.rect, CWnd::adjustBorder);
        AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
    }
    if (layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);
}

void CExtControlBar::ResizeContentWindow(int cx, int cy, bool bRedraw)
{
    if ((m_nActivityFlags & __EAF_CONTENT_FILLS) == 0 || m_hWnd == NULL)
        return;
    HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD);
    if (hWndChild == NULL)
        return;
    CRect rcTarget;
    if (cx >= 0 && cy >= 0)
        rcTarget.SetRect(0, 0, cx, cy);
    else
        GetClientRect(&rcTarget);
    if (IsFloating())
        rcTarget.DeflateRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
    CRect rcChild;
    ::GetWindowRect(hWndChild, &rcChild);
    ScreenToClient(&rcChild);
    if (rcChild != rcTarget)
        ::MoveWindow(hWndChild, rcTarget.left, rcTarget.top, rcTarget.Width(), rcTarget.Height(),
                     bRedraw ? TRUE : FALSE);
}

void CExtControlBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    if ((m_nActivityFlags & __EAF_SYNC_GUARD) != 0)
        return;
    ResizeContentWindow(cx, cy, true);
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        pFrame->SendMessage(WM_NCPAINT);
}

CExtMiniDockFrameWnd* CExtControlBar::CreateFloatingFrame(DWORD dwStyle)
{
    CFrameWnd* pSite = m_pDockSite;
    if (pSite == NULL || pSite->GetSafeHwnd() == NULL)
        AfxThrowResourceException();
    CExtMiniDockFrameWnd* pFrame = new CExtMiniDockFrameWnd;
    if (!pFrame->Create(pSite, dwStyle))
    {
        if (pFrame->m_hWnd == NULL)
            delete pFrame;
        AfxThrowResourceException();
    }
    return pFrame;
}

void CExtControlBar::FloatUnderCursor(int x, int y)
{
    if (m_hWnd == NULL)
        return;
    // The grab point sits in the caption: s pixels in, half of that down.
    const int nGrab = std::min(m_rcCaption.right - m_rcCaption.left, m_rcCaption.bottom - m_rcCaption.top);
    CPoint ptFloat(x - nGrab, y - nGrab / 2);
    if (IsFloating())
    {
        CFrameWnd* pMini = GetParentFrame();
        if (pMini != NULL)
        {
            // No customize site is ever registered, so the frame always comes to the top.
            pMini->SetWindowPos(&CWnd::wndTop, ptFloat.x, ptFloat.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
            pMini->m_nIdleFlags |= CFrameWnd::idleNotify | CFrameWnd::idleLayout;
        }
    }
    else
    {
        m_ptFloatPos = ptFloat;
        CFrameWnd* pSite = m_pDockSite;
        if (pSite != NULL && pSite->GetSafeHwnd() != NULL)
            pSite->FloatControlBar(this, ptFloat, CBRS_ALIGN_TOP);
    }
    if (m_pDockContext != NULL)
        m_pDockContext->m_ptMRUFloatPos = ptFloat;
    if (m_hWnd != NULL && ::GetCapture() != m_hWnd)
        CExtMouseCaptureSink::SetCapture(m_hWnd);
}

bool CExtControlBar::SetFrameFloatingClass(CFrameWnd* pFrame)
{
    if (pFrame != NULL)
        pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(CExtMiniDockFrameWnd);
    return true;
}

void CExtControlBar::RecalcNcFrame()
{
    if (m_hWnd == NULL || (GetStyle() & WS_VISIBLE) == 0)
        return;
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

// ---- command UI -----------------------------------------------------------------------

bool CExtControlBar::DoBarUpdateCmdUI(BOOL bDisableIfNoHandler)
{
    // A bar whose window is gone answers so even though its destruction left it busy.
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return false;
    if ((m_nOptionFlags & __ESF_BUSY) != 0)
        return true;
    m_nOptionFlags |= __ESF_BUSY;
    CFrameWnd* pTarget = ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0) ? NULL : GetDockingFrame();
    OnUpdateCmdUI(pTarget, bDisableIfNoHandler);
    m_nOptionFlags &= ~__ESF_BUSY;
    return true;
}

void CExtControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    if ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0)
        return;
    if ((m_nActivityFlags & (__EAF_ROW_RESIZING | __EAF_INROW_RESIZING | __EAF_DRAGGING)) != 0 ||
        GetDraggedBar() != NULL)
        return;
    if (m_hWnd == NULL || (GetStyle() & WS_VISIBLE) == 0)
        return;
    CPoint pt;
    if (!::GetCursorPos(&pt))
        return;
    const BYTE nOld = m_nInteractionFlags;
    if (NcButtonsHitTest(pt) == HTCLIENT)
        m_nInteractionFlags &= ~__EIF_NC_HOVER;
    else
        m_nInteractionFlags |= __EIF_NC_HOVER;
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != NULL && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus)))
        m_nInteractionFlags |= __EIF_FOCUS_INSIDE;
    else
        m_nInteractionFlags &= ~__EIF_FOCUS_INSIDE;
    if (((nOld ^ m_nInteractionFlags) & (__EIF_FOCUS_INSIDE | __EIF_NC_HOVER)) != 0)
    {
        SendMessage(WM_NCPAINT);
        HWND hWndParent = ::GetParent(m_hWnd);
        if (hWndParent != NULL)
            ::SendMessage(hWndParent, WM_NCPAINT, 0, 0);
    }
}

BOOL CExtControlBar::ChildBarsPreTranslateMessage(CWnd* pParent, MSG* pMsg)
{
    if (pParent == NULL || pParent->GetSafeHwnd() == NULL || pMsg == NULL)
        return FALSE;
    for (HWND hWnd = ::GetWindow(pParent->m_hWnd, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (IsKindOfWnd(pWnd, RUNTIME_CLASS(CExtControlBar)) && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
    }
    return FALSE;
}

void CExtControlBar::UpdateChildBarsCmdUI(CWnd* pParent, BOOL bDisableIfNoHandler)
{
    if (pParent == NULL || pParent->GetSafeHwnd() == NULL)
        return;
    const HWND hWndParent = pParent->m_hWnd;
    for (HWND hWnd = ::GetWindow(hWndParent, GW_CHILD); hWnd != NULL;)
    {
        HWND hWndNext = ::GetWindow(hWnd, GW_HWNDNEXT);
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (IsKindOfWnd(pWnd, RUNTIME_CLASS(CExtControlBar)))
        {
            static_cast<CExtControlBar*>(pWnd)->DoBarUpdateCmdUI(bDisableIfNoHandler);
            if (!::IsWindow(hWndParent))
                return;
            // A bar destroyed by its own update ends where it stood.
            if (::IsWindow(hWnd) && ::GetParent(hWnd) == hWndParent)
                hWndNext = ::GetWindow(hWnd, GW_HWNDNEXT);
        }
        hWnd = hWndNext;
    }
}

// ---- painting -------------------------------------------------------------------------

void CExtControlBar::DoPaint(CDC* pDC)
{
    if (pDC == NULL || m_hWnd == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    if ((m_nActivityFlags & __EAF_CONTENT_FILLS) != 0 && !IsFixedMode())
    {
        HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD);
        if (hWndChild != NULL && (::GetWindowLong(hWndChild, GWL_STYLE) & WS_VISIBLE) != 0)
        {
            CRect rcChild;
            ::GetWindowRect(hWndChild, &rcChild);
            ScreenToClient(&rcChild);
            CRect rcCover;
            rcCover.IntersectRect(&rcChild, &rcClient);
            if (rcCover == rcClient)
                return;
        }
    }
    if (!pDC->RectVisible(&rcClient))
        return;
    // The background (and any parent background the theme continues) is painted off
    // screen and copied once, so the bar does not flicker while it is resized.
    CExtMemoryDC dc(pDC, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    OnPaintBackground(dc);
}

void CExtControlBar::OnPaintBackground(CDC& dc)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    GetPaintManager()->DrawToolbarBackground(dc, rcClient, this);
}

// ---- text, help and system changes ----------------------------------------------------

LRESULT CExtControlBar::OnSetText(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    if (IsFloating())
    {
        CFrameWnd* pFrame = GetParentFrame();
        if (IsKindOfWnd(pFrame, RUNTIME_CLASS(CMiniDockFrameWnd)))
        {
            LPCTSTR sText = reinterpret_cast<LPCTSTR>(lParam);
            CMiniDockFrameWnd* pMini = static_cast<CMiniDockFrameWnd*>(pFrame);
            if (pMini->m_wndDockBar.GetSafeHwnd() != NULL)
                pMini->m_wndDockBar.SetWindowText(sText);
            pMini->SetWindowText(sText);
            pMini->DelayRecalcLayout();
            pMini->SendMessage(WM_NCPAINT);
        }
    }
    (void)wParam;
    bool bAtTop = false, bTextOnGripper = false;
    if (IsBarWithGripper(&bAtTop, &bTextOnGripper) && bTextOnGripper)
        SendMessage(WM_NCPAINT);
    return lResult;
}

int CExtControlBar::OnHelpHitTestBar(CPoint) { return -1; }

LRESULT CExtControlBar::OnHelpHitTest(WPARAM wParam, LPARAM lParam)
{
    if (::GetCapture() == m_hWnd)
        SendMessage(WM_CANCELMODE);
    const int nHit = OnHelpHitTestBar(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
    if (nHit == -3)
        return 0;
    if (nHit == -2)
        return -1;
    if (nHit == -1)
        return CControlBar::OnHelpHitTest(wParam, lParam);
    return LRESULT(nHit) + 0x10000;
}

void CExtControlBar::OnSysColorChange()
{
    Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_SYSCOLORCHANGE, 0, 0);
    RecalcParentFrameLayout();
}

void CExtControlBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_SETTINGCHANGE, uFlags, LPARAM(lpszSection));
    RecalcParentFrameLayout();
}

LRESULT CExtControlBar::OnDisplayChange(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_DISPLAYCHANGE, wParam, lParam);
    return lResult;
}

LRESULT CExtControlBar::OnThemeChanged(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_THEMECHANGED, wParam, lParam);
    return lResult;
}

// ---- the theme's queries of bar buttons and dock markers ---------------------------------

#include "toolkit/theme/pm_small_controls.h"
#include "toolkit/theme/pm_dock_markers.h"

namespace {

// The theme reads bar buttons and dock-marker windows through these functions, since it
// is linked before the bars.
struct BarPaintQueriesRegistration
{
    BarPaintQueriesRegistration()
    {
        CExtPmSmallControlQueries::Queries& q = CExtPmSmallControlQueries::g_queries;
        q.pfnBarButtonRect = [](CObject* p, RECT& rc) {
            CExtBarButton* pTBB = DYNAMIC_DOWNCAST(CExtBarButton, p);
            if (pTBB == NULL)
                return false;
            rc = pTBB->Rect();
            return true;
        };
        q.pfnBarButtonNoDockFrame = [](CObject* p) {
            CExtBarButton* pTBB = DYNAMIC_DOWNCAST(CExtBarButton, p);
            return pTBB != NULL && pTBB->IsNoVerticalDockFrame();
        };
        CExtPmDockMarkerHooks::g_hooks.pfnMarkerState = [](CObject* p, int& nKind, bool& bStandAlone,
                                                          HWND& hWndLinked) {
            CExtDynDockMarkerWnd* pMarker = DYNAMIC_DOWNCAST(CExtDynDockMarkerWnd, p);
            if (pMarker == NULL)
                return false;
            nKind = pMarker->m_nKind;
            bStandAlone = pMarker->m_bStandAloneOuter;
            hWndLinked = pMarker->m_hWndLinkedMarker;
            return true;
        };
    }
};

const BarPaintQueriesRegistration g_BarPaintQueriesRegistration;

}  // namespace
