// The menu sounds: "MenuPopup" when a menu has appeared and "MenuCommand" when a command
// was chosen, played by alias on a short-lived worker thread so that a synchronous sound
// never blocks the GUI thread. One sound is handled at a time; a request that comes while
// one is still handled is dropped, not queued.
#pragma once
#include "framework/framework.h"

class CExtSoundPlayer : public CObject
{
    DECLARE_DYNCREATE(CExtSoundPlayer)
public:
    enum e_ui_sounds_t
    {
        __NO_SOUND = 0,
        __ON_MENU_EXPAND_CLICKED = 1,
        __ON_MENU_POPUP_DISPLAYED = 2,
        __ON_MENU_CMD_CLICKED = 3,
    };

    CExtSoundPlayer();
    virtual ~CExtSoundPlayer();
    virtual void PlaySound(int nEvent);

    // The handshake of one request: set by the worker once it has copied the request.
    class InternalSoundEventInitDone_t : public CEvent
    {
    public:
        InternalSoundEventInitDone_t();
    };

    // Alias and PlaySound flags of an event; false for an event that plays nothing.
    static bool stat_MapEvent(int nEvent, LPCTSTR& sAlias, DWORD& dwFlags);

    // How the worker plays a sound; the platform's PlaySound unless a test replaces it.
    typedef BOOL(WINAPI* pfnPlaySound_t)(LPCSTR pszSound, HMODULE hMod, DWORD fdwSound);
    static pfnPlaySound_t g_pfnPlaySound;
    // Thread creation, replaceable so that a failing creation can be exercised.
    typedef HANDLE(WINAPI* pfnCreateThread_t)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD,
                                              LPDWORD);
    static pfnCreateThread_t g_pfnCreateThread;

    // Signalled while no sound is being handled (tests wait on it).
    static CEvent& stat_GetIdleEvent();

private:
    static DWORD WINAPI stat_WorkerProc(LPVOID pParam);
};

// The process-wide player; every caller goes through it.
class CExtSoundPlayerAutoPtr
{
public:
    CExtSoundPlayerAutoPtr();
    ~CExtSoundPlayerAutoPtr();
    CExtSoundPlayer* operator->() { return m_pPlayer; }
    CExtSoundPlayer* GetPtr() { return m_pPlayer; }

private:
    CExtSoundPlayer* m_pPlayer;
};
extern CExtSoundPlayerAutoPtr g_MenuSoundPlayer;
