// The multiple-document frame and its child frames: the frame owns an MDICLIENT window
// whose children are numbered from AFX_IDM_FIRST_MDICHILD; the default processing of
// both goes through the system's MDI frame and child procedures. There are no documents
// and views: a child frame is a plain frame window inside the client.
#pragma once
#include "framework/frame.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    // Makes the MDI client; the Window menu (may be NULL) gets the system's window list.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    // The active child (NULL when none); *pbMaximized tells whether it is maximized.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = NULL) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext();
    void MDICascade();
    // Gives the MDI client the frame menu (and the window menu, when not NULL); the
    // previous frame menu, NULL when none.
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
    void MDITile();

    HWND m_hWndMDIClient;

protected:
    LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    // Creates the child inside the frame's MDI client (the main window's when pParentWnd
    // is NULL); the window takes the next free child id.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    CMDIFrameWnd* GetMDIFrame() const;
    // A child goes through its MDI client (WM_MDIDESTROY), so that the client and whoever
    // watches it see it leave.
    BOOL DestroyWindow() override;
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();
    // The menu and accelerators the frame shows while this child is active.
    void SetHandles(HMENU hMenu, HACCEL hAccel);

    HMENU m_hMenuShared;

    // The child was active while its frame was inactive (set by the activation logic of
    // an application that keeps a hidden child "active").
    BOOL m_bPseudoInactive;

protected:
    LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};
