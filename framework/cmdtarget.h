// Command targets: the message-map machinery (entries, signatures, chaining to the
// base class's map), command routing through OnCmdMsg and the command-UI objects that
// update menus and controls. The ON_* macros that fill the maps are in msgmap.h.
#pragma once
#include "framework/platform.h"
#include "framework/object.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CMenu;
class CWinThread;

// Command codes passed to OnCmdMsg: a WM_COMMAND notification code, or one of these.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#define CN_EVENT ((UINT)(-2))
#define CN_OLECOMMAND ((UINT)(-3))
#define CN_OLE_UNREGISTER ((UINT)(-4))

// Reflected messages are dispatched as WM_REFLECT_BASE + message to the child.
#ifndef WM_REFLECT_BASE
#define WM_REFLECT_BASE 0xBC00
#endif

#ifndef AFX_MSG_CALL
#define AFX_MSG_CALL
#endif
#ifndef afx_msg
#define afx_msg
#endif

// Casting between handler signatures is what a message map is; the compiler is told
// once per map rather than once per entry.
#define PTM_WARNING_DISABLE \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wcast-function-type\"")
#define PTM_WARNING_RESTORE _Pragma("GCC diagnostic pop")

typedef void (AFX_MSG_CALL CCmdTarget::*AFX_PMSG)(void);
typedef void (AFX_MSG_CALL CWnd::*AFX_PMSGW)(void);

// Handler signatures. The name says result, then arguments; the dispatcher casts the
// entry's pointer back to exactly this type before calling it.
enum AfxSig {
    AfxSig_end = 0,

    // command and notification handlers (CCmdTarget level)
    AfxSigCmd_v,          // void ()
    AfxSigCmd_b,          // BOOL ()                       ON_CONTROL_REFLECT_EX
    AfxSigCmd_RANGE,      // void (UINT)                   ON_COMMAND_RANGE, ON_CONTROL_RANGE
    AfxSigCmd_EX,         // BOOL (UINT)                   ON_COMMAND_EX, ON_COMMAND_EX_RANGE
    AfxSigNotify_v,       // void (NMHDR*, LRESULT*)        ON_NOTIFY, ON_NOTIFY_REFLECT
    AfxSigNotify_b,       // BOOL (NMHDR*, LRESULT*)        ON_NOTIFY_REFLECT_EX
    AfxSigNotify_RANGE,   // void (UINT, NMHDR*, LRESULT*)  ON_NOTIFY_RANGE
    AfxSigNotify_EX,      // BOOL (UINT, NMHDR*, LRESULT*)  ON_NOTIFY_EX, ON_NOTIFY_EX_RANGE
    AfxSigCmdUI,          // void (CCmdUI*)                 ON_UPDATE_COMMAND_UI(_RANGE)

    // window message handlers (CWnd level)
    AfxSig_l_w_l,         // LRESULT (WPARAM, LPARAM)       ON_MESSAGE, ON_REGISTERED_MESSAGE
    AfxSig_l_v,           // LRESULT ()
    AfxSig_v_v,           // void ()
    AfxSig_b_v,           // BOOL ()
    AfxSig_i_v,           // int ()
    AfxSig_u_v,           // UINT ()
    AfxSig_h_v,           // HCURSOR/HANDLE ()              OnQueryDragIcon
    AfxSig_i_CREATE,      // int (LPCREATESTRUCT)           OnCreate
    AfxSig_b_CREATE,      // BOOL (LPCREATESTRUCT)          OnNcCreate
    AfxSig_b_D,           // BOOL (CDC*)                    OnEraseBkgnd
    AfxSig_v_D_u,         // void (CDC*, UINT)              OnPrintClient
    AfxSig_v_u_i_i,       // void (UINT, int, int)          OnSize
    AfxSig_v_i_i,         // void (int, int)                OnMove
    AfxSig_v_u_RECT,      // void (UINT, LPRECT)            OnMoving, OnSizing
    AfxSig_v_POS,         // void (WINDOWPOS*)              OnWindowPosChanging/Changed
    AfxSig_v_MMI,         // void (MINMAXINFO*)             OnGetMinMaxInfo
    AfxSig_v_b_u,         // void (BOOL, UINT)              OnShowWindow
    AfxSig_v_TIMER,       // void (UINT_PTR)                OnTimer
    AfxSig_v_u_p,         // void (UINT, CPoint)            mouse buttons and moves, non-client ones
    AfxSig_b_u_s_p,       // BOOL (UINT, short, CPoint)     OnMouseWheel
    AfxSig_v_u_W_b,       // void (UINT, CWnd*, BOOL)       OnActivate
    AfxSig_v_b_DW,        // void (BOOL, DWORD)             OnActivateApp
    AfxSig_i_W_u_u,       // int (CWnd*, UINT, UINT)        OnMouseActivate
    AfxSig_b_W_u_u,       // BOOL (CWnd*, UINT, UINT)       OnSetCursor
    AfxSig_v_W,           // void (CWnd*)                   OnSetFocus, OnKillFocus, OnCaptureChanged, OnPaletteChanged
    AfxSig_v_u_u_u,       // void (UINT, UINT, UINT)        keys and chars
    AfxSig_v_b_NCCALC,    // void (BOOL, NCCALCSIZE_PARAMS*) OnNcCalcSize
    AfxSig_l_p,           // LRESULT (CPoint)               OnNcHitTest
    AfxSig_b_b,           // BOOL (BOOL)                    OnNcActivate
    AfxSig_v_b,           // void (BOOL)                    OnEnable
    AfxSig_v_W_p,         // void (CWnd*, CPoint)           OnContextMenu
    AfxSig_v_u_l,         // void (UINT, LPARAM)            OnSysCommand, OnParentNotify
    AfxSig_v_u_s,         // void (UINT, LPCTSTR)           OnSettingChange
    AfxSig_h_D_W_u,       // HBRUSH (CDC*, CWnd*, UINT)     OnCtlColor
    AfxSig_h_D_u,         // HBRUSH (CDC*, UINT)            ON_WM_CTLCOLOR_REFLECT
    AfxSig_v_i_DRAW,      // void (int, LPDRAWITEMSTRUCT)   OnDrawItem
    AfxSig_v_DRAW,        // void (LPDRAWITEMSTRUCT)        ON_WM_DRAWITEM_REFLECT
    AfxSig_v_i_MEASURE,   // void (int, LPMEASUREITEMSTRUCT) OnMeasureItem
    AfxSig_v_MEASURE,     // void (LPMEASUREITEMSTRUCT)     ON_WM_MEASUREITEM_REFLECT
    AfxSig_v_i_DELETE,    // void (int, LPDELETEITEMSTRUCT) OnDeleteItem
    AfxSig_v_DELETE,      // void (LPDELETEITEMSTRUCT)      ON_WM_DELETEITEM_REFLECT
    AfxSig_i_i_COMPARE,   // int (int, LPCOMPAREITEMSTRUCT) OnCompareItem
    AfxSig_i_COMPARE,     // int (LPCOMPAREITEMSTRUCT)      ON_WM_COMPAREITEM_REFLECT
    AfxSig_v_u_u_SCROLL,  // void (UINT, UINT, CScrollBar*) OnHScroll, OnVScroll
    AfxSig_v_u_u_REFLSCROLL, // void (UINT, UINT)           ON_WM_HSCROLL_REFLECT, ON_WM_VSCROLL_REFLECT
    AfxSig_v_M_u_b,       // void (CMenu*, UINT, BOOL)      OnInitMenuPopup
    AfxSig_v_M,           // void (CMenu*)                  OnInitMenu
    AfxSig_v_u_u_HMENU,   // void (UINT, UINT, HMENU)       OnMenuSelect
    AfxSig_l_u_u_M,       // LRESULT (UINT, UINT, CMenu*)   OnMenuChar
    AfxSig_b_HELPINFO,    // BOOL (HELPINFO*)               OnHelpInfo
    AfxSig_v_i_STYLE,     // void (int, LPSTYLESTRUCT)      OnStyleChanging/Changed
    AfxSig_b_W_COPYDATA,  // BOOL (CWnd*, COPYDATASTRUCT*)  OnCopyData
    AfxSig_v_HDROP,       // void (HDROP)                   OnDropFiles
    AfxSig_i_u_W_u,       // int (UINT, CWnd*, UINT)        OnVKeyToItem, OnCharToItem
    AfxSig_v_b_W_W,       // void (BOOL, CWnd*, CWnd*)      OnMDIActivate
    AfxSig_v_u_W,         // void (UINT, CWnd*)             OnEnterIdle

    // thread messages (CWinThread level)
    AfxSig_v_w_l,         // void (WPARAM, LPARAM)          ON_THREAD_MESSAGE
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // window message, or WM_COMMAND/WM_NOTIFY (+WM_REFLECT_BASE) for commands
    UINT nCode;      // control or notification code
    UINT nID;        // first control id (0 for window messages)
    UINT nLastID;    // last control id of a range
    UINT_PTR nSig;   // AfxSig; for a registered message the address of its id variable
    AFX_PMSG pfn;    // the handler
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// The extra data that travels with a WM_NOTIFY through OnCmdMsg.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Reflected WM_CTLCOLOR* travels with this record in lParam.
struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();        \
    virtual const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    PTM_WARNING_DISABLE                                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                      \
    {                                                                           \
        typedef theClass ThisClass;                                             \
        typedef baseClass TheBaseClass;                                         \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass)             \
    PTM_WARNING_DISABLE                                                         \
    template <typename type_name>                                               \
    const AFX_MSGMAP* theClass<type_name>::GetMessageMap() const { return GetThisMessageMap(); } \
    template <typename type_name>                                               \
    const AFX_MSGMAP* PASCAL theClass<type_name>::GetThisMessageMap()           \
    {                                                                           \
        typedef theClass<type_name> ThisClass;                                  \
        typedef baseClass TheBaseClass;                                         \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                       \
            { 0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0 } };                          \
        (void)sizeof(ThisClass*);                                               \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
        return &messageMap;                                                     \
    }                                                                           \
    PTM_WARNING_RESTORE

// Finds the first entry for (message, code, id) in one map's entries (not the bases').
const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode, UINT nID);

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    virtual ~CCmdTarget();

    // Routes a command (CN_COMMAND, CN_UPDATE_COMMAND_UI, a control notification, or
    // MAKELONG(code, WM_NOTIFY)) through this object's message maps. With pHandlerInfo
    // it only answers whether a handler exists and fills the record.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // Does the whole map chain (this class and its bases) hold an entry for the message?
    BOOL HasMessageMapEntry(UINT nMessage, UINT nCode = 0, UINT nID = 0) const;

    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
};

// Calls one command handler of the given signature. Used by OnCmdMsg; public so that
// toolkit code routing its own commands calls handlers the same way.
BOOL AFXAPI _AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra,
                               UINT_PTR nSig, AFX_CMDHANDLERINFO* pHandlerInfo);

// The update object handed to ON_UPDATE_COMMAND_UI handlers. m_pMenu/m_nIndex address a
// menu item; m_pOther a control (button, toolbar, status bar...).
class CCmdUI {
public:
    UINT m_nID;
    UINT m_nIndex;
    CMenu* m_pMenu;
    CMenu* m_pSubMenu;
    CMenu* m_pParentMenu;
    CWnd* m_pOther;
    BOOL m_bEnableChanged;
    BOOL m_bContinueRouting;
    UINT m_nIndexMax;

    CCmdUI();
    virtual ~CCmdUI() {}

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);   // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);

    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's update handler; without one and with bDisableIfNoHndler the item is
    // disabled when no command handler exists either. TRUE when a handler took it.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Records what an update handler set without touching any user interface; used to ask
// whether a command is enabled before it is routed.
class CTestCmdUI : public CCmdUI {
public:
    CTestCmdUI();
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetRadio(BOOL bOn = TRUE) override;
    void SetText(LPCTSTR lpszText) override;

    BOOL m_bEnabled;
    int m_nCheck;
    BOOL m_bRadio;
    BOOL m_bTextSet;
};

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    void Restore();
};

#include "framework/msgmap.h"
