// Module state and resource look-up.
#include "framework/resources.h"

static AFX_MODULE_STATE g_moduleState = { NULL, NULL, NULL, NULL };

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    return &g_moduleState;
}

AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState()
{
    return &g_moduleState;
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    if (g_moduleState.m_hCurrentInstanceHandle == NULL)
        return ::GetModuleHandleA(NULL);
    return g_moduleState.m_hCurrentInstanceHandle;
}

void AFXAPI AfxSetInstanceHandle(HINSTANCE hInstance)
{
    g_moduleState.m_hCurrentInstanceHandle = hInstance;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    if (g_moduleState.m_hCurrentResourceHandle == NULL)
        return AfxGetInstanceHandle();
    return g_moduleState.m_hCurrentResourceHandle;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_moduleState.m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE hResource = AfxGetResourceHandle();
    if (lpszName == NULL || lpszType == NULL)
        return hResource;
    if (::FindResourceA(hResource, lpszName, lpszType) != NULL)
        return hResource;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (hInstance != hResource && ::FindResourceA(hInstance, lpszName, lpszType) != NULL)
        return hInstance;
    return hResource;
}

HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID)
{
    return AfxFindResourceHandle(MAKEINTRESOURCEA((nID >> 4) + 1), (LPCSTR)RT_STRING);
}

int AFXAPI AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf)
{
    if (lpszBuf == NULL || nMaxBuf == 0)
        return 0;
    lpszBuf[0] = '\0';
    int nLen = ::LoadStringA(AfxFindStringResourceHandle(nID), nID, lpszBuf, (int)nMaxBuf);
    if (nLen <= 0)
    {
        lpszBuf[0] = '\0';
        return 0;
    }
    return nLen;
}
