// Process-wide module state: the instance and resource handles, string loading.
#pragma once
#include "framework/platform.h"

class CWinApp;

// One module (the program): this is the whole state. The application object sets
// m_pCurrentWinApp, the instance handle and the application name.
struct AFX_MODULE_STATE
{
    CWinApp* m_pCurrentWinApp;
    HINSTANCE m_hCurrentInstanceHandle;   // NULL until set: GetModuleHandle(NULL) is used
    HINSTANCE m_hCurrentResourceHandle;   // NULL until set: the instance handle is used
    LPCTSTR m_lpszCurrentAppName;
};

AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState();
// Code written for DLL modules switches module state; with one module it does nothing.
#ifndef AFX_MANAGE_STATE
#define AFX_MANAGE_STATE(p) ((void)(p))
#endif

HINSTANCE AFXAPI AfxGetInstanceHandle();
void AFXAPI AfxSetInstanceHandle(HINSTANCE hInstance);
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);

// The module that holds the resource: the resource handle when it has it, else the
// instance handle when that has it, else the resource handle.
HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// The module that holds string nID (strings are stored in blocks of 16).
HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID);

// Loads string nID into lpszBuf (nMaxBuf chars with the terminator). Answers the
// length, 0 (and an empty buffer) when there is no such string.
int AFXAPI AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf = 256);
