// CExtWS: the window-state layer of the resizable dialog family. It gives a dialog a
// size grip in the bottom-right corner of its client area, saves and restores the
// window placement in the application's profile, paints a themed background with
// themed colours for the dialog and its static controls, and opens a themed system
// menu from the caption, the system-menu button or Alt+Space. The second template
// argument is the id of the window timer that watches the open system menu.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/dialogs/memory_dc.h"

// The size grip: a small child window of its own that answers the sizing hit code.
class CExtWSGripper : public CWnd
{
public:
    CExtWSGripper();
    virtual ~CExtWSGripper();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnGripPaint();
};

// What the layer does the same way for every instantiation.
class CExtWSHelper
{
public:
    enum
    {
        __EWS_SAVE_RESTORE = 0x02,
        __EWS_SYS_MENU_TRACKING = 0x04,
        __EWS_SHOW_SIZE_GRIP = 0x08,
    };
    // The one solid dialog brush of the process, in the paint manager's colour 1000;
    // remade when that colour changes, destroyed at exit.
    static HBRUSH stat_GetDialogBrush(CExtPaintManager* pPM, CObject* pHelperSrc);
    // The framework's dialog class, or a window class whose name has a '#'.
    static bool stat_IsDialogWindow(CWnd* pWnd);
    // Whether the message map of the object's own class (not its bases) maps nMessage.
    static bool stat_OwnMapHandles(const AFX_MSGMAP* pMap, UINT nMessage);
    // The window's class name is "static" in any case.
    static bool stat_IsStaticControl(HWND hWnd);
    // Background painting of WM_PAINT (begin paint, parent background, end paint).
    static void stat_PaintBackground(CWnd* pWnd);
    // Control colours after the lower layer answered lResult.
    static LRESULT stat_OnCtlColor(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT lResult);
    // Placement saved as "%d,%d,%d,%d,%d,%d" under the application's profile.
    static void stat_SaveWindowRect(CWnd* pWnd, LPCTSTR sSection, LPCTSTR sEntry);
    static void stat_LoadWindowRect(CWnd* pWnd, LPCTSTR sSection, LPCTSTR sEntry, bool bForceHideWindow);
    // Reacts to a position change: moves the grip, redraws a parent-background dialog.
    static void stat_OnWindowPosChanged(CWnd* pWnd, CExtWSGripper& wndGrip, WINDOWPOS* pWP);
    static void stat_CreateSizeGrip(CWnd* pWnd, CExtWSGripper& wndGrip, bool bShow);
    static void stat_ShowSizeGrip(CWnd* pWnd, CExtWSGripper& wndGrip, bool bShow);
    // Opens the themed system menu of pWnd; true when it tracks. Implemented with the
    // popup menu's tracking (window_state_menu.cpp).
    static bool stat_TrackSystemMenu(CWnd* pWnd, const POINT* pPtScreen, bool bFromKeyboard);
    // Where the system menu opens and with which track flags: the given screen point,
    // else just under the caption at the window's leading edge; right to left it is
    // moved right by the menu's shadow size.
    static CPoint stat_SystemMenuPoint(CWnd* pWnd, const POINT* pPtScreen, bool bFromKeyboard,
                                       DWORD& dwTrackFlags, int nShadowSize);
    // Whether any popup menu of the thread tracks now, and cancelling it.
    static bool stat_IsMenuTracking();
    static void stat_CancelMenuTracking();
    // Alt+Space: TRUE (eaten) for a popup dialog; opens its system menu when due.
    static bool stat_IsAltSpace(const MSG* pMsg);
    static bool stat_AltSpaceOpensMenu(CWnd* pWnd);
};

template <class TBase, UINT_PTR nSysMenuTimerId = 301>
class CExtWS : public TBase
{
public:
    CExtWS() : m_nWsFlags(0) {}
    explicit CExtWS(UINT nIDTemplate, CWnd* pParentWnd = NULL) : TBase(nIDTemplate, pParentWnd), m_nWsFlags(0) {}
    explicit CExtWS(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL)
        : TBase(lpszTemplateName, pParentWnd), m_nWsFlags(0)
    {
    }
    virtual ~CExtWS() {}

    virtual void ShowSizeGrip(bool bShow = true)
    {
        if (IsSizeGripShown() == bShow)
            return;
        if (bShow)
            m_nWsFlags |= CExtWSHelper::__EWS_SHOW_SIZE_GRIP;
        else
            m_nWsFlags &= ~CExtWSHelper::__EWS_SHOW_SIZE_GRIP;
        CExtWSHelper::stat_ShowSizeGrip(this, m_wndGripper, bShow);
    }
    virtual void SaveWindowRect() { CExtWSHelper::stat_SaveWindowRect(this, m_sSection, m_sEntry); }
    virtual void LoadWindowRect(bool bForceHideWindow = false)
    {
        CExtWSHelper::stat_LoadWindowRect(this, m_sSection, m_sEntry, bForceHideWindow);
    }
    virtual void EnableSaveRestore(LPCTSTR sSection, LPCTSTR sEntry, bool bForceHideWindow = false)
    {
        m_sSection = (sSection != NULL) ? sSection : "";
        m_sEntry = (sEntry != NULL) ? sEntry : "";
        m_nWsFlags |= CExtWSHelper::__EWS_SAVE_RESTORE;
        if (this->m_hWnd != NULL && ::IsWindow(this->m_hWnd))
            LoadWindowRect(bForceHideWindow);
    }
    virtual bool TrackSystemMenu(const POINT* pPtScreen = NULL, bool bFromKeyboard = false)
    {
        if ((this->GetStyle() & WS_POPUP) == 0)
            return false;
        if (CExtWSHelper::stat_IsMenuTracking())
            CExtWSHelper::stat_CancelMenuTracking();
        m_nWsFlags &= ~CExtWSHelper::__EWS_SYS_MENU_TRACKING;
        if (CExtWSHelper::stat_TrackSystemMenu(this, pPtScreen, bFromKeyboard))
        {
            m_nWsFlags |= CExtWSHelper::__EWS_SYS_MENU_TRACKING;
            this->SetTimer(nSysMenuTimerId, 20, NULL);
        }
        return (m_nWsFlags & CExtWSHelper::__EWS_SYS_MENU_TRACKING) != 0;
    }
    virtual void CreateSizeGrip() { CExtWSHelper::stat_CreateSizeGrip(this, m_wndGripper, IsSizeGripShown()); }

    bool IsSizeGripShown() const { return (m_nWsFlags & CExtWSHelper::__EWS_SHOW_SIZE_GRIP) != 0; }
    bool IsSaveRestoreEnabled() const { return (m_nWsFlags & CExtWSHelper::__EWS_SAVE_RESTORE) != 0; }
    bool IsSystemMenuTracking() const { return (m_nWsFlags & CExtWSHelper::__EWS_SYS_MENU_TRACKING) != 0; }
    CExtWSGripper& GetSizeGrip() { return m_wndGripper; }
    const CString& GetSaveRestoreSection() const { return m_sSection; }
    const CString& GetSaveRestoreEntry() const { return m_sEntry; }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (this->m_hWnd != NULL && ::IsWindow(this->m_hWnd) && CExtWSHelper::stat_IsAltSpace(pMsg))
        {
            bool bPopup = (this->GetStyle() & WS_POPUP) != 0;
            if (pMsg->message != WM_SYSKEYUP && CExtWSHelper::stat_AltSpaceOpensMenu(this))
                TrackSystemMenu(NULL, true);
            return bPopup ? TRUE : FALSE;
        }
        return TBase::PreTranslateMessage(pMsg);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_CREATE:
        case WM_INITDIALOG:
        {
            LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            CreateSizeGrip();
            return lResult;
        }
        case WM_WINDOWPOSCHANGED:
        {
            LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            CExtWSHelper::stat_OnWindowPosChanged(this, m_wndGripper, (WINDOWPOS*)lParam);
            return lResult;
        }
        case WM_PAINT:
        {
            bool bOwn = OwnClassHandles(WM_PAINT);
            bool bTopDialog = CExtWSHelper::stat_IsDialogWindow(this) && ::GetParent(this->m_hWnd) == NULL;
            if (bOwn && !bTopDialog)
                return TBase::WindowProc(message, wParam, lParam);
            CExtWSHelper::stat_PaintBackground(this);
            if (bOwn)
                TBase::WindowProc(message, wParam, lParam);
            return 0;
        }
        case WM_ERASEBKGND:
        {
            if (OwnClassHandles(WM_ERASEBKGND))
                return TBase::WindowProc(message, wParam, lParam);
            CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
            if ((this->GetStyle() & WS_CLIPCHILDREN) != 0 && pPM->UsesParentBackground(this, 0))
                return 1;
            CDC* pDC = CDC::FromHandle((HDC)wParam);
            CExtPaintManager::ClipOutChildren(pDC, this->m_hWnd, CExtPaintManager::stat_ClipFilterTransparentChild);
            return TBase::WindowProc(message, wParam, lParam);
        }
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        {
            LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            return CExtWSHelper::stat_OnCtlColor(this, message, wParam, lParam, lResult);
        }
        case WM_TIMER:
            if (wParam == nSysMenuTimerId)
            {
                if (!CExtWSHelper::stat_IsMenuTracking())
                {
                    m_nWsFlags &= ~CExtWSHelper::__EWS_SYS_MENU_TRACKING;
                    this->KillTimer(nSysMenuTimerId);
                }
                return 0;
            }
            break;
        case WM_DESTROY:
            if (IsSaveRestoreEnabled())
                SaveWindowRect();
            break;
        case WM_NCLBUTTONDOWN:
            if (wParam == HTSYSMENU)
                return 0;
            break;
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONUP:
            if (wParam == HTSYSMENU)
            {
                if (message == WM_NCRBUTTONUP)
                    TrackSystemMenu(NULL, false);
                return 0;
            }
            if (wParam == HTCAPTION)
            {
                POINT pt;
                if (::GetCursorPos(&pt))
                    TrackSystemMenu(&pt, false);
                return 0;
            }
            break;
        case WM_NCLBUTTONUP:
            if (wParam == HTSYSMENU)
            {
                TrackSystemMenu(NULL, false);
                return 0;
            }
            break;
        default:
            break;
        }
        return TBase::WindowProc(message, wParam, lParam);
    }

protected:
    void PostNcDestroy() override { TBase::PostNcDestroy(); }

    // The most derived class's own map; maps of the framework's dialog and window
    // classes do not count as the object's own.
    bool OwnClassHandles(UINT nMessage) const
    {
        const AFX_MSGMAP* pMap = this->GetMessageMap();
        if (pMap == CDialog::GetThisMessageMap() || pMap == CWnd::GetThisMessageMap())
            return false;
        return CExtWSHelper::stat_OwnMapHandles(pMap, nMessage);
    }

    CString m_sSection;
    CString m_sEntry;
    BYTE m_nWsFlags;
    CExtWSGripper m_wndGripper;
};
