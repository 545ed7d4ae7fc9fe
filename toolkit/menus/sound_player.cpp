// The menu sound player: one worker thread per accepted request, serialised by a
// critical section and an auto-reset idle event.
#include "toolkit/menus/sound_player.h"

#include <mmsystem.h>
#include <string.h>

IMPLEMENT_DYNCREATE(CExtSoundPlayer, CObject)

namespace {

const int kSoundNameChars = 1024;

// Built on the requesting thread's stack for one call; the worker copies what it needs
// before the handshake lets the caller go on.
struct SoundRequest
{
    CExtSoundPlayer::InternalSoundEventInitDone_t* pInitDone;
    TCHAR sSoundName[kSoundNameChars];
    HMODULE hModule;
    DWORD dwFlags;
    HANDLE hThread;
    DWORD dwThreadID;
};

// Made on first use so that a request during static initialization finds them.
CEvent& IdleEvent()
{
    static CEvent g_event(TRUE, FALSE);  // signalled: no sound is handled
    return g_event;
}

CCriticalSection& RequestLock()
{
    static CCriticalSection g_cs;
    return g_cs;
}

BOOL WINAPI PlatformPlaySound(LPCSTR pszSound, HMODULE hMod, DWORD fdwSound)
{
    return ::PlaySoundA(pszSound, hMod, fdwSound);
}

}  // namespace

CExtSoundPlayer::pfnPlaySound_t CExtSoundPlayer::g_pfnPlaySound = PlatformPlaySound;
CExtSoundPlayer::pfnCreateThread_t CExtSoundPlayer::g_pfnCreateThread = ::CreateThread;

CExtSoundPlayerAutoPtr g_MenuSoundPlayer;

CExtSoundPlayerAutoPtr::CExtSoundPlayerAutoPtr() : m_pPlayer(new CExtSoundPlayer)
{
    IdleEvent();
    RequestLock();
}

CExtSoundPlayerAutoPtr::~CExtSoundPlayerAutoPtr()
{
    delete m_pPlayer;
    m_pPlayer = NULL;
}

CExtSoundPlayer::InternalSoundEventInitDone_t::InternalSoundEventInitDone_t() : CEvent(FALSE, TRUE) {}

CExtSoundPlayer::CExtSoundPlayer() {}
CExtSoundPlayer::~CExtSoundPlayer() {}

CEvent& CExtSoundPlayer::stat_GetIdleEvent() { return IdleEvent(); }

bool CExtSoundPlayer::stat_MapEvent(int nEvent, LPCTSTR& sAlias, DWORD& dwFlags)
{
    switch (nEvent)
    {
    case __ON_MENU_EXPAND_CLICKED:
    case __ON_MENU_POPUP_DISPLAYED:
        sAlias = _T("MenuPopup");
        dwFlags = SND_ALIAS | SND_NOWAIT | SND_NODEFAULT | SND_ASYNC;
        return true;
    case __ON_MENU_CMD_CLICKED:
        sAlias = _T("MenuCommand");
        dwFlags = SND_ALIAS | SND_NOWAIT | SND_NODEFAULT;
        return true;
    default:
        sAlias = NULL;
        dwFlags = 0;
        return false;
    }
}

void CExtSoundPlayer::PlaySound(int nEvent)
{
    LPCTSTR sAlias = NULL;
    DWORD dwFlags = 0;
    if (!stat_MapEvent(nEvent, sAlias, dwFlags))
        return;
    SoundRequest req;
    ::ZeroMemory(&req, sizeof(req));
    lstrcpyn(req.sSoundName, sAlias, kSoundNameChars);
    req.dwFlags = dwFlags;
    CCriticalSection& cs = RequestLock();
    cs.Lock();
    CEvent& idle = IdleEvent();
    // The auto-reset event lets exactly one request through until the worker is done.
    if (::WaitForSingleObject(idle.m_hObject, 0) == WAIT_OBJECT_0)
    {
        InternalSoundEventInitDone_t initDone;
        req.pInitDone = &initDone;
        req.hThread = g_pfnCreateThread(NULL, 0, stat_WorkerProc, &req, CREATE_SUSPENDED, &req.dwThreadID);
        if (req.hThread != NULL)
        {
            ::SetThreadPriority(req.hThread, THREAD_PRIORITY_BELOW_NORMAL);
            ::ResumeThread(req.hThread);
            ::WaitForSingleObject(initDone.m_hObject, INFINITE);
        }
        else
            idle.SetEvent();
        if (req.hThread != NULL)
            ::CloseHandle(req.hThread);
    }
    cs.Unlock();
}

DWORD WINAPI CExtSoundPlayer::stat_WorkerProc(LPVOID pParam)
{
    SoundRequest* pReq = (SoundRequest*)pParam;
    TCHAR sName[kSoundNameChars];
    lstrcpyn(sName, pReq->sSoundName, kSoundNameChars);
    HMODULE hModule = pReq->hModule;
    DWORD dwFlags = pReq->dwFlags;
    pReq->pInitDone->SetEvent();
    // The request lives on the caller's stack: not touched from here on.
    if ((dwFlags & SND_ASYNC) != 0)
        g_pfnPlaySound(NULL, NULL, SND_PURGE);
    g_pfnPlaySound(sName, hModule, dwFlags);
    IdleEvent().SetEvent();
    return 0;
}
