// CMiniFrameWnd: a small tool-window frame; CMiniDockFrameWnd: the floating frame that
// holds a floating dock bar (id AFX_IDW_DOCKBAR_FLOAT) with the bars floated into it.
#pragma once
#include "framework/frame.h"
#include "framework/dockbar.h"

#define MFS_SYNCACTIVE 0x00000100L
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L
#define MFS_BLOCKSYSMENU 0x00001000L

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();
    virtual ~CMiniFrameWnd();

    BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = NULL, UINT nID = 0);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd = NULL, UINT nID = 0);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    CString m_strCaption;
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();
    virtual ~CMiniDockFrameWnd();

    CDockBar m_wndDockBar;

    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    virtual void RecalcLayout(BOOL bNotify = TRUE);

protected:
    afx_msg void OnClose();
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);

    DECLARE_MESSAGE_MAP()
};
