// The entries of a message map. Each macro builds one AFX_MSGMAP_ENTRY whose handler is
// checked against the classic signature before it is stored.
//
// As in the classic library (8.0), command, notification and message entries take the
// handler as a member pointer, ON_COMMAND(ID_X, &CMyDlg::OnX), and ON_WM_xxx() entries
// name the handler themselves (OnCreate, OnSize, ...) in the class being mapped.
#pragma once

#define AFX_CMD_CAST(sig) (AFX_PMSG)(static_cast<sig>
#define AFX_WND_CAST(sig, fn) (AFX_PMSG)(AFX_PMSGW)(static_cast<sig>(&ThisClass::fn))

// ---- commands and notifications ----------------------------------------------------
#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_v, static_cast<AFX_PMSG>(memberFxn) },
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE, \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(UINT)>(memberFxn)) },
#define ON_COMMAND_EX(id, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_EX, \
      (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT)>(memberFxn)) },
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_EX, \
      (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT)>(memberFxn)) },
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(id), AfxSigCmdUI, \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(CCmdUI*)>(memberFxn)) },
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(idLast), AfxSigCmdUI, \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(CCmdUI*)>(memberFxn)) },
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn) \
    { WM_COMMAND + WM_REFLECT_BASE, (WORD)CN_UPDATE_COMMAND_UI, 0, 0, AfxSigCmdUI, \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(CCmdUI*)>(memberFxn)) },

#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    { WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigCmd_v, static_cast<AFX_PMSG>(memberFxn) },
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    { WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE, \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(UINT)>(memberFxn)) },
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    { WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_v, static_cast<AFX_PMSG>(memberFxn) },
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    { WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_b, \
      (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(void)>(memberFxn)) },

#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    { WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_v, \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*)>(memberFxn)) },
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    { WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_RANGE, \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(memberFxn)) },
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    { WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_EX, \
      (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(memberFxn)) },
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    { WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_EX, \
      (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(memberFxn)) },
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    { WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSigNotify_v, \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*)>(memberFxn)) },
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    { WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSigNotify_b, \
      (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*)>(memberFxn)) },

// ---- user and registered messages -------------------------------------------------
#define ON_MESSAGE(message, memberFxn) \
    { (UINT)(message), 0, 0, 0, AfxSig_l_w_l, \
      (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (AFX_MSG_CALL CWnd::*)(WPARAM, LPARAM)>(memberFxn)) },
// The id of a registered message is only known at run time: the entry holds the
// address of the variable and marks itself with 0xC000.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    { 0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), \
      (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (AFX_MSG_CALL CWnd::*)(WPARAM, LPARAM)>(memberFxn)) },

// Messages posted to the thread itself (no window) reach its CWinThread's map.
#define ON_THREAD_MESSAGE(message, memberFxn) \
    { (UINT)(message), 0, 0, 0, AfxSig_v_w_l, \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CWinThread::*)(WPARAM, LPARAM)>(memberFxn)) },
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn) \
    { 0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), \
      (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CWinThread::*)(WPARAM, LPARAM)>(memberFxn)) },

// ---- control notification shorthands ---------------------------------------------
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// ---- window messages with the classic handler signatures --------------------------
#define AFX_ON_WM(msg, sig, type, fn) { msg, 0, 0, 0, sig, AFX_WND_CAST(type, fn) },

#define ON_WM_CREATE() AFX_ON_WM(WM_CREATE, AfxSig_i_CREATE, int (AFX_MSG_CALL CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_NCCREATE() AFX_ON_WM(WM_NCCREATE, AfxSig_b_CREATE, BOOL (AFX_MSG_CALL CWnd::*)(LPCREATESTRUCT), OnNcCreate)
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnDestroy)
#define ON_WM_NCDESTROY() AFX_ON_WM(WM_NCDESTROY, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnNcDestroy)
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnPaint)
#define ON_WM_ERASEBKGND() AFX_ON_WM(WM_ERASEBKGND, AfxSig_b_D, BOOL (AFX_MSG_CALL CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_PRINTCLIENT() AFX_ON_WM(WM_PRINTCLIENT, AfxSig_v_D_u, void (AFX_MSG_CALL CWnd::*)(CDC*, UINT), OnPrintClient)
#define ON_WM_SIZE() AFX_ON_WM(WM_SIZE, AfxSig_v_u_i_i, void (AFX_MSG_CALL CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() AFX_ON_WM(WM_MOVE, AfxSig_v_i_i, void (AFX_MSG_CALL CWnd::*)(int, int), OnMove)
#define ON_WM_MOVING() AFX_ON_WM(WM_MOVING, AfxSig_v_u_RECT, void (AFX_MSG_CALL CWnd::*)(UINT, LPRECT), OnMoving)
#define ON_WM_SIZING() AFX_ON_WM(WM_SIZING, AfxSig_v_u_RECT, void (AFX_MSG_CALL CWnd::*)(UINT, LPRECT), OnSizing)
#define ON_WM_WINDOWPOSCHANGING() AFX_ON_WM(WM_WINDOWPOSCHANGING, AfxSig_v_POS, void (AFX_MSG_CALL CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_ON_WM(WM_WINDOWPOSCHANGED, AfxSig_v_POS, void (AFX_MSG_CALL CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_GETMINMAXINFO() AFX_ON_WM(WM_GETMINMAXINFO, AfxSig_v_MMI, void (AFX_MSG_CALL CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_SHOWWINDOW() AFX_ON_WM(WM_SHOWWINDOW, AfxSig_v_b_u, void (AFX_MSG_CALL CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_TIMER() AFX_ON_WM(WM_TIMER, AfxSig_v_TIMER, void (AFX_MSG_CALL CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_MOUSEMOVE() AFX_ON_WM(WM_MOUSEMOVE, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_ON_WM(WM_LBUTTONDOWN, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_ON_WM(WM_LBUTTONUP, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_ON_WM(WM_LBUTTONDBLCLK, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_ON_WM(WM_RBUTTONDOWN, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_ON_WM(WM_RBUTTONUP, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_ON_WM(WM_RBUTTONDBLCLK, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_ON_WM(WM_MBUTTONDOWN, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_ON_WM(WM_MBUTTONUP, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_ON_WM(WM_MBUTTONDBLCLK, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMButtonDblClk)
#define ON_WM_NCMOUSEMOVE() AFX_ON_WM(WM_NCMOUSEMOVE, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_ON_WM(WM_NCLBUTTONDOWN, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_ON_WM(WM_NCLBUTTONUP, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_ON_WM(WM_NCLBUTTONDBLCLK, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_ON_WM(WM_NCRBUTTONDOWN, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_ON_WM(WM_NCRBUTTONUP, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcRButtonUp)
#define ON_WM_NCRBUTTONDBLCLK() AFX_ON_WM(WM_NCRBUTTONDBLCLK, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcRButtonDblClk)
#define ON_WM_NCMBUTTONDOWN() AFX_ON_WM(WM_NCMBUTTONDOWN, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() AFX_ON_WM(WM_NCMBUTTONUP, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcMButtonUp)
#define ON_WM_NCMBUTTONDBLCLK() AFX_ON_WM(WM_NCMBUTTONDBLCLK, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcMButtonDblClk)
#define ON_WM_MOUSEHOVER() AFX_ON_WM(WM_MOUSEHOVER, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMouseHover)
#define ON_WM_NCMOUSEHOVER() AFX_ON_WM(WM_NCMOUSEHOVER, AfxSig_v_u_p, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcMouseHover)
#define ON_WM_NCMOUSELEAVE() AFX_ON_WM(WM_NCMOUSELEAVE, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnNcMouseLeave)
#define ON_WM_MOUSEWHEEL() AFX_ON_WM(WM_MOUSEWHEEL, AfxSig_b_u_s_p, BOOL (AFX_MSG_CALL CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_MOUSELEAVE() AFX_ON_WM(WM_MOUSELEAVE, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnMouseLeave)
#define ON_WM_ACTIVATE() AFX_ON_WM(WM_ACTIVATE, AfxSig_v_u_W_b, void (AFX_MSG_CALL CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_ON_WM(WM_ACTIVATEAPP, AfxSig_v_b_DW, void (AFX_MSG_CALL CWnd::*)(BOOL, DWORD), OnActivateApp)
#define ON_WM_MOUSEACTIVATE() AFX_ON_WM(WM_MOUSEACTIVATE, AfxSig_i_W_u_u, int (AFX_MSG_CALL CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_SETCURSOR() AFX_ON_WM(WM_SETCURSOR, AfxSig_b_W_u_u, BOOL (AFX_MSG_CALL CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_SETFOCUS() AFX_ON_WM(WM_SETFOCUS, AfxSig_v_W, void (AFX_MSG_CALL CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_ON_WM(WM_KILLFOCUS, AfxSig_v_W, void (AFX_MSG_CALL CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED() AFX_ON_WM(WM_CAPTURECHANGED, AfxSig_v_W, void (AFX_MSG_CALL CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_CANCELMODE() AFX_ON_WM(WM_CANCELMODE, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnCancelMode)
#define ON_WM_KEYDOWN() AFX_ON_WM(WM_KEYDOWN, AfxSig_v_u_u_u, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_ON_WM(WM_KEYUP, AfxSig_v_u_u_u, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_ON_WM(WM_CHAR, AfxSig_v_u_u_u, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_DEADCHAR() AFX_ON_WM(WM_DEADCHAR, AfxSig_v_u_u_u, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnDeadChar)
#define ON_WM_SYSKEYDOWN() AFX_ON_WM(WM_SYSKEYDOWN, AfxSig_v_u_u_u, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_ON_WM(WM_SYSKEYUP, AfxSig_v_u_u_u, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_ON_WM(WM_SYSCHAR, AfxSig_v_u_u_u, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnSysChar)
#define ON_WM_GETDLGCODE() AFX_ON_WM(WM_GETDLGCODE, AfxSig_u_v, UINT (AFX_MSG_CALL CWnd::*)(void), OnGetDlgCode)
#define ON_WM_NCCALCSIZE() AFX_ON_WM(WM_NCCALCSIZE, AfxSig_v_b_NCCALC, void (AFX_MSG_CALL CWnd::*)(BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_NCPAINT() AFX_ON_WM(WM_NCPAINT, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnNcPaint)
#define ON_WM_NCHITTEST() AFX_ON_WM(WM_NCHITTEST, AfxSig_l_p, LRESULT (AFX_MSG_CALL CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_NCACTIVATE() AFX_ON_WM(WM_NCACTIVATE, AfxSig_b_b, BOOL (AFX_MSG_CALL CWnd::*)(BOOL), OnNcActivate)
#define ON_WM_ENABLE() AFX_ON_WM(WM_ENABLE, AfxSig_v_b, void (AFX_MSG_CALL CWnd::*)(BOOL), OnEnable)
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnClose)
#define ON_WM_CONTEXTMENU() AFX_ON_WM(WM_CONTEXTMENU, AfxSig_v_W_p, void (AFX_MSG_CALL CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_SYSCOMMAND() AFX_ON_WM(WM_SYSCOMMAND, AfxSig_v_u_l, void (AFX_MSG_CALL CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_PARENTNOTIFY() AFX_ON_WM(WM_PARENTNOTIFY, AfxSig_v_u_l, void (AFX_MSG_CALL CWnd::*)(UINT, LPARAM), OnParentNotify)
#define ON_WM_QUERYDRAGICON() AFX_ON_WM(WM_QUERYDRAGICON, AfxSig_h_v, HCURSOR (AFX_MSG_CALL CWnd::*)(void), OnQueryDragIcon)
#define ON_WM_SYSCOLORCHANGE() AFX_ON_WM(WM_SYSCOLORCHANGE, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnSysColorChange)
#define ON_WM_SETTINGCHANGE() AFX_ON_WM(WM_SETTINGCHANGE, AfxSig_v_u_s, void (AFX_MSG_CALL CWnd::*)(UINT, LPCTSTR), OnSettingChange)
#define ON_WM_WININICHANGE() AFX_ON_WM(WM_WININICHANGE, AfxSig_v_u_s, void (AFX_MSG_CALL CWnd::*)(UINT, LPCTSTR), OnSettingChange)
#define ON_WM_DISPLAYCHANGE() AFX_ON_WM(WM_DISPLAYCHANGE, AfxSig_l_w_l, LRESULT (AFX_MSG_CALL CWnd::*)(WPARAM, LPARAM), OnDisplayChange)
#define ON_WM_THEMECHANGED() AFX_ON_WM(WM_THEMECHANGED, AfxSig_l_v, LRESULT (AFX_MSG_CALL CWnd::*)(void), OnThemeChanged)
#define ON_WM_TIMECHANGE() AFX_ON_WM(WM_TIMECHANGE, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnTimeChange)
#define ON_WM_PALETTECHANGED() AFX_ON_WM(WM_PALETTECHANGED, AfxSig_v_W, void (AFX_MSG_CALL CWnd::*)(CWnd*), OnPaletteChanged)
#define ON_WM_PALETTEISCHANGING() AFX_ON_WM(WM_PALETTEISCHANGING, AfxSig_v_W, void (AFX_MSG_CALL CWnd::*)(CWnd*), OnPaletteIsChanging)
#define ON_WM_QUERYNEWPALETTE() AFX_ON_WM(WM_QUERYNEWPALETTE, AfxSig_b_v, BOOL (AFX_MSG_CALL CWnd::*)(void), OnQueryNewPalette)
#define ON_WM_CTLCOLOR() AFX_ON_WM(WM_CTLCOLOR, AfxSig_h_D_W_u, HBRUSH (AFX_MSG_CALL CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_DRAWITEM() AFX_ON_WM(WM_DRAWITEM, AfxSig_v_i_DRAW, void (AFX_MSG_CALL CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_ON_WM(WM_MEASUREITEM, AfxSig_v_i_MEASURE, void (AFX_MSG_CALL CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_DELETEITEM() AFX_ON_WM(WM_DELETEITEM, AfxSig_v_i_DELETE, void (AFX_MSG_CALL CWnd::*)(int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_COMPAREITEM() AFX_ON_WM(WM_COMPAREITEM, AfxSig_i_i_COMPARE, int (AFX_MSG_CALL CWnd::*)(int, LPCOMPAREITEMSTRUCT), OnCompareItem)
#define ON_WM_HSCROLL() AFX_ON_WM(WM_HSCROLL, AfxSig_v_u_u_SCROLL, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() AFX_ON_WM(WM_VSCROLL, AfxSig_v_u_u_SCROLL, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_INITMENU() AFX_ON_WM(WM_INITMENU, AfxSig_v_M, void (AFX_MSG_CALL CWnd::*)(CMenu*), OnInitMenu)
#define ON_WM_INITMENUPOPUP() AFX_ON_WM(WM_INITMENUPOPUP, AfxSig_v_M_u_b, void (AFX_MSG_CALL CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_ON_WM(WM_MENUSELECT, AfxSig_v_u_u_HMENU, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_MENUCHAR() AFX_ON_WM(WM_MENUCHAR, AfxSig_l_u_u_M, LRESULT (AFX_MSG_CALL CWnd::*)(UINT, UINT, CMenu*), OnMenuChar)
#define ON_WM_HELPINFO() AFX_ON_WM(WM_HELP, AfxSig_b_HELPINFO, BOOL (AFX_MSG_CALL CWnd::*)(HELPINFO*), OnHelpInfo)
#define ON_WM_STYLECHANGING() AFX_ON_WM(WM_STYLECHANGING, AfxSig_v_i_STYLE, void (AFX_MSG_CALL CWnd::*)(int, LPSTYLESTRUCT), OnStyleChanging)
#define ON_WM_STYLECHANGED() AFX_ON_WM(WM_STYLECHANGED, AfxSig_v_i_STYLE, void (AFX_MSG_CALL CWnd::*)(int, LPSTYLESTRUCT), OnStyleChanged)
#define ON_WM_COPYDATA() AFX_ON_WM(WM_COPYDATA, AfxSig_b_W_COPYDATA, BOOL (AFX_MSG_CALL CWnd::*)(CWnd*, COPYDATASTRUCT*), OnCopyData)
#define ON_WM_DROPFILES() AFX_ON_WM(WM_DROPFILES, AfxSig_v_HDROP, void (AFX_MSG_CALL CWnd::*)(HDROP), OnDropFiles)
#define ON_WM_MDIACTIVATE() AFX_ON_WM(WM_MDIACTIVATE, AfxSig_v_b_W_W, void (AFX_MSG_CALL CWnd::*)(BOOL, CWnd*, CWnd*), OnMDIActivate)
#define ON_WM_CHILDACTIVATE() AFX_ON_WM(WM_CHILDACTIVATE, AfxSig_v_v, void (AFX_MSG_CALL CWnd::*)(void), OnChildActivate)
#define ON_WM_ENTERIDLE() AFX_ON_WM(WM_ENTERIDLE, AfxSig_v_u_W, void (AFX_MSG_CALL CWnd::*)(UINT, CWnd*), OnEnterIdle)
#define ON_WM_ENTERMENULOOP() AFX_ON_WM(WM_ENTERMENULOOP, AfxSig_v_b, void (AFX_MSG_CALL CWnd::*)(BOOL), OnEnterMenuLoop)
#define ON_WM_EXITMENULOOP() AFX_ON_WM(WM_EXITMENULOOP, AfxSig_v_b, void (AFX_MSG_CALL CWnd::*)(BOOL), OnExitMenuLoop)
#define ON_WM_QUERYOPEN() AFX_ON_WM(WM_QUERYOPEN, AfxSig_b_v, BOOL (AFX_MSG_CALL CWnd::*)(void), OnQueryOpen)
#define ON_WM_QUERYENDSESSION() AFX_ON_WM(WM_QUERYENDSESSION, AfxSig_b_v, BOOL (AFX_MSG_CALL CWnd::*)(void), OnQueryEndSession)
#define ON_WM_ENDSESSION() AFX_ON_WM(WM_ENDSESSION, AfxSig_v_b, void (AFX_MSG_CALL CWnd::*)(BOOL), OnEndSession)
#define ON_WM_VKEYTOITEM() AFX_ON_WM(WM_VKEYTOITEM, AfxSig_i_u_W_u, int (AFX_MSG_CALL CWnd::*)(UINT, CWnd*, UINT), OnVKeyToItem)
#define ON_WM_CHARTOITEM() AFX_ON_WM(WM_CHARTOITEM, AfxSig_i_u_W_u, int (AFX_MSG_CALL CWnd::*)(UINT, CWnd*, UINT), OnCharToItem)

// Reflected forms: handled by the child control on behalf of its parent.
#define ON_WM_CTLCOLOR_REFLECT() AFX_ON_WM(WM_CTLCOLOR + WM_REFLECT_BASE, AfxSig_h_D_u, HBRUSH (AFX_MSG_CALL CWnd::*)(CDC*, UINT), CtlColor)
#define ON_WM_DRAWITEM_REFLECT() AFX_ON_WM(WM_DRAWITEM + WM_REFLECT_BASE, AfxSig_v_DRAW, void (AFX_MSG_CALL CWnd::*)(LPDRAWITEMSTRUCT), DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() AFX_ON_WM(WM_MEASUREITEM + WM_REFLECT_BASE, AfxSig_v_MEASURE, void (AFX_MSG_CALL CWnd::*)(LPMEASUREITEMSTRUCT), MeasureItem)
#define ON_WM_DELETEITEM_REFLECT() AFX_ON_WM(WM_DELETEITEM + WM_REFLECT_BASE, AfxSig_v_DELETE, void (AFX_MSG_CALL CWnd::*)(LPDELETEITEMSTRUCT), DeleteItem)
#define ON_WM_COMPAREITEM_REFLECT() AFX_ON_WM(WM_COMPAREITEM + WM_REFLECT_BASE, AfxSig_i_COMPARE, int (AFX_MSG_CALL CWnd::*)(LPCOMPAREITEMSTRUCT), CompareItem)
#define ON_WM_HSCROLL_REFLECT() AFX_ON_WM(WM_HSCROLL + WM_REFLECT_BASE, AfxSig_v_u_u_REFLSCROLL, void (AFX_MSG_CALL CWnd::*)(UINT, UINT), HScroll)
#define ON_WM_VSCROLL_REFLECT() AFX_ON_WM(WM_VSCROLL + WM_REFLECT_BASE, AfxSig_v_u_u_REFLSCROLL, void (AFX_MSG_CALL CWnd::*)(UINT, UINT), VScroll)
#define ON_WM_PARENTNOTIFY_REFLECT() AFX_ON_WM(WM_PARENTNOTIFY + WM_REFLECT_BASE, AfxSig_v_u_l, void (AFX_MSG_CALL CWnd::*)(UINT, LPARAM), ParentNotify)
