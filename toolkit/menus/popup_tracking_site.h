// The one tracking site of the process: which popup-menu tree tracks now, which of its
// popups takes input first, where the chosen command goes, and the thread-local mouse and
// keyboard hooks that route the thread's input to the menus while a tree tracks.
//
// The control bars are linked after the menus, so what the menus need of them (the
// button-menu tracking flag, cancelling it, the status text, the dragged bar) is reached
// through g_PopupBarServices, which the bars library fills when it starts. Until it does,
// no button menu tracks and nothing is written to a status bar.
#pragma once
#include "framework/framework.h"

class CExtPopupMenuWnd;
class CExtPopupMenuTipWnd;

struct CExtPopupBarServices
{
    // CExtToolControlBar::g_bButtonMenuTracking.
    bool (*pfnIsButtonMenuTracking)();
    // CExtToolControlBar::CancelAllButtonMenuTracking.
    void (*pfnCancelAllButtonMenuTracking)();
    // CExtControlBar::ShowCommandStatusText.
    void (*pfnShowCommandStatusText)(CWnd* pWnd, UINT nCmdID);
    // CExtControlBar::GetDraggedBar.
    CObject* (*pfnGetDraggedBar)();
    // The screen rectangle of the toolbar button whose menu tracks now; false when none.
    bool (*pfnGetTrackedButtonRect)(RECT* pRectScreen);

    bool IsButtonMenuTracking() const { return pfnIsButtonMenuTracking != NULL && pfnIsButtonMenuTracking(); }
    void CancelAllButtonMenuTracking() const
    {
        if (pfnCancelAllButtonMenuTracking != NULL)
            pfnCancelAllButtonMenuTracking();
    }
    void ShowCommandStatusText(CWnd* pWnd, UINT nCmdID) const
    {
        if (pfnShowCommandStatusText != NULL)
            pfnShowCommandStatusText(pWnd, nCmdID);
    }
    CObject* GetDraggedBar() const { return pfnGetDraggedBar != NULL ? pfnGetDraggedBar() : NULL; }
    bool GetTrackedButtonRect(RECT* pRectScreen) const
    {
        return pfnGetTrackedButtonRect != NULL && pfnGetTrackedButtonRect(pRectScreen);
    }
};
extern CExtPopupBarServices g_PopupBarServices;

class CExtPopupTrackingSite
{
public:
    enum
    {
        __FLAG_SHUTDOWN = 0x01,
    };

    CExtPopupTrackingSite();
    ~CExtPopupTrackingSite();

    bool IsEmpty() const { return m_pTopMenu == NULL; }
    bool IsShutdownMode() const { return (m_nFlags & __FLAG_SHUTDOWN) != 0; }
    CExtPopupMenuWnd* GetInstance() const { return m_pTopMenu; }
    bool IsTopMenu(const CExtPopupMenuWnd* pMenu) const { return pMenu != NULL && pMenu == m_pTopMenu; }

    // Makes the menu the tracked tree; another tree that tracks is ended first.
    void SetInstance(CExtPopupMenuWnd* pMenu);
    // Ends tracking: empties, destroys and deletes the top-level menu, removes the hooks.
    void DoneInstance();

    CExtPopupMenuWnd* GetCurrentPopup() const { return m_pCurrentPopup; }
    void SetCurrentPopup(CExtPopupMenuWnd* pMenu) { m_pCurrentPopup = pMenu; }
    CExtPopupMenuWnd* GetAnimatedMenu() const { return m_pAnimatedMenu; }
    void SetAnimatedMenu(CExtPopupMenuWnd* pMenu) { m_pAnimatedMenu = pMenu; }
    UINT* GetResultCmdIdPtr() const { return m_pResultCmdID; }
    void SetResultCmdIdPtr(UINT* p) { m_pResultCmdID = p; }

    // The shared tip window, made on the first call; NULL when it cannot be made.
    CExtPopupMenuTipWnd* GetTip();

    void SetupHooks(bool bInstall);
    bool AreHooksInstalled() const { return m_hMouseHook != NULL && m_hKeyboardHook != NULL; }

    static LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);

    // The mouse and keyboard rules without the hook chain: TRUE = eat. The hook
    // procedures call these; tests drive them directly, as hooks see only real input.
    bool OnMouseHookEvent(UINT nMessage, MOUSEHOOKSTRUCT* pData);
    bool OnKeyboardHookEvent(WPARAM wParam, LPARAM lParam);

    BYTE m_nFlags;
    CExtPopupMenuTipWnd* m_pTip;
    CExtPopupMenuWnd* m_pTopMenu;
    CExtPopupMenuWnd* m_pCurrentPopup;
    CExtPopupMenuWnd* m_pAnimatedMenu;
    HHOOK m_hMouseHook;
    HHOOK m_hKeyboardHook;
    UINT* m_pResultCmdID;

    // clock() of the last key given to a menu, and the shortest interval after it at
    // which an auto-repeated key is given to a menu.
    static long g_nLastKeyTime;
    static int g_nKeyInterval;

private:
    CExtPopupTrackingSite(const CExtPopupTrackingSite&) = delete;
    CExtPopupTrackingSite& operator=(const CExtPopupTrackingSite&) = delete;
};

extern CExtPopupTrackingSite g_PopupTrackingSite;
