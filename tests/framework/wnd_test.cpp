// CWnd: creation order through the creation hook, subclassing and the handle maps,
// message-map dispatch and chaining, the thread's current message, self-deleting
// windows, and exceptions stopped at the window procedure.
#include <gtest/gtest.h>
#include <stdexcept>
#include "framework_test_app.h"
#include "support/msg_recorder.h"
#include "support/message_pump.h"

using namespace testsupport;

namespace {

const UINT kPreSubclass = 0xFFF0;  // pseudo-message: PreSubclassWindow ran
UINT g_nMsgRegistered = RegisterWindowMessageA("FrameworkTests::g_nMsgRegistered");

// Records every message its object sees, and when PreSubclassWindow runs.
class CRecordingWnd : public CWnd {
public:
    MsgRecorder* rec = nullptr;
    bool boundInPreSubclass = false;
    void PreSubclassWindow() override {
        boundInPreSubclass = (CWnd::FromHandlePermanent(m_hWnd) == this);
        if (rec) rec->Record(kPreSubclass, 0, 0, m_hWnd, "object");
        CWnd::PreSubclassWindow();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (rec) rec->Record(message, wParam, lParam, m_hWnd, "object");
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A base and a derived class with their own maps: the derived map chains to the base.
class CBaseMapWnd : public CWnd {
public:
    std::vector<std::string> calls;
    const MSG* lastSeen = nullptr;
    MSG seenCopy{};
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        calls.push_back("Base::OnSize " + std::to_string(cx) + "x" + std::to_string(cy) + " " + std::to_string(nType));
        CWnd::OnSize(nType, cx, cy);
    }
    afx_msg LRESULT OnUser1(WPARAM wParam, LPARAM lParam) {
        calls.push_back("Base::OnUser1");
        seenCopy = *GetCurrentMessage();
        return (LRESULT)(wParam + lParam);
    }
    afx_msg LRESULT OnRegistered(WPARAM, LPARAM) {
        calls.push_back("Base::OnRegistered");
        return 77;
    }
    afx_msg LRESULT OnNcHitTest(CPoint point) {
        calls.push_back("Base::OnNcHitTest");
        (void)point;
        return HTCAPTION;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseMapWnd, CWnd)
    ON_WM_SIZE()
    ON_MESSAGE(WM_USER + 1, &CBaseMapWnd::OnUser1)
    ON_REGISTERED_MESSAGE(g_nMsgRegistered, &CBaseMapWnd::OnRegistered)
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

class CDerivedMapWnd : public CBaseMapWnd {
public:
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        calls.push_back("Derived::OnSize");
        CBaseMapWnd::OnSize(nType, cx, cy);
    }
    afx_msg void OnPaint() {
        calls.push_back("Derived::OnPaint");
        CWnd::OnPaint();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedMapWnd, CBaseMapWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

bool MostDerivedMapHas(const CCmdTarget& t, UINT message) {
    struct Peek : CCmdTarget {
        static const AFX_MSGMAP* Map(const CCmdTarget& x) { return static_cast<const Peek&>(x).GetMessageMap(); }
    };
    for (const AFX_MSGMAP_ENTRY* p = Peek::Map(t)->lpEntries; p->nSig != AfxSig_end; ++p)
        if (p->nMessage == message) return true;
    return false;
}

class CRefuseCreate : public CWnd {
public:
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRefuseCreate, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// A layer added by a class template, as the toolkit builds its windows.
template <class TBase>
class CLayerWnd : public TBase {
public:
    int timers = 0;
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        ++timers;
        TBase::OnTimer(nIDEvent);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_TEMPLATE_MESSAGE_MAP(CLayerWnd, TBase, TBase)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// Throws from a handler: the window procedure must stop it.
class CThrowingWnd : public CWnd {
public:
    int paints = 0;
    afx_msg LRESULT OnUser(WPARAM, LPARAM) { AfxThrowMemoryException(); }
    afx_msg LRESULT OnUserQuiet(WPARAM, LPARAM) { AfxThrowUserException(); }
    afx_msg LRESULT OnUserLibrary(WPARAM, LPARAM) { throw std::length_error("too long"); }
    afx_msg int OnCreate(LPCREATESTRUCT) { AfxThrowResourceException(); }
    afx_msg void OnPaint() {
        ++paints;
        AfxThrowNotSupportedException();
    }
    afx_msg void OnCommandThrows() { AfxThrowNotSupportedException(); }
    bool throwOnCreate = false;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_MESSAGE(WM_USER + 5, &CThrowingWnd::OnUser)
    ON_MESSAGE(WM_USER + 6, &CThrowingWnd::OnUserQuiet)
    ON_MESSAGE(WM_USER + 7, &CThrowingWnd::OnUserLibrary)
    ON_WM_PAINT()
    ON_COMMAND(0x8C01, &CThrowingWnd::OnCommandThrows)
END_MESSAGE_MAP()

// Deletes itself when its window is gone.
class CSelfDeletingWnd : public CWnd {
public:
    static int deleted;
    ~CSelfDeletingWnd() override { ++deleted; }
    void PostNcDestroy() override { delete this; }
};
int CSelfDeletingWnd::deleted = 0;

// Creates windows of its own while being bound, as toolkit windows do (tooltips, grips).
class CBusyPreSubclassWnd : public CWnd {
public:
    HWND hHelper = NULL;
    void PreSubclassWindow() override {
        CWnd::PreSubclassWindow();
        EnableToolTips(TRUE);
        hHelper = CreateWindowExA(0, "STATIC", "helper", WS_POPUP, 0, 0, 5, 5, NULL, NULL, GetModuleHandleA(NULL), NULL);
    }
};

CRect Popup(int w = 200, int h = 100) { return CRect(10, 10, 10 + w, 10 + h); }

LPCTSTR PopupClass() { return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)); }

}  // namespace

TEST(WndCreation, PreSubclassWindowRunsBeforeNcCreateAndTheObjectSeesEveryMessage) {
    MsgRecorder rec;
    rec.Only({kPreSubclass, WM_NCCREATE, WM_CREATE, WM_NCCALCSIZE, WM_SIZE, WM_DESTROY, WM_NCDESTROY});
    CRecordingWnd wnd;
    wnd.rec = &rec;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "creation", WS_POPUP, Popup(), NULL, 0));
    EXPECT_TRUE(wnd.boundInPreSubclass);
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    // The class procedure was DefWindowProc: the framework's procedure replaced it.
    EXPECT_EQ((LONG_PTR)AfxWndProc, GetWindowLongPtrA(wnd.m_hWnd, GWLP_WNDPROC));
    HWND h = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_TRUE(wnd.m_hWnd == NULL);
    EXPECT_TRUE(CWnd::FromHandlePermanent(h) == NULL);
    EXPECT_TRUE(rec.Matches({
        {kPreSubclass, kTag, 0, 0, nullptr, "object"},
        {WM_NCCREATE, kSent},
        {WM_NCCALCSIZE, kSent | kOptional},
        {WM_CREATE, kSent},
        {WM_SIZE, kSent | kOptional},
        {WM_DESTROY, kSent},
        {WM_NCDESTROY, kSent},
    }));
}

TEST(WndCreation, WindowsMadeInsidePreSubclassWindowDoNotTakeTheObject) {
    CBusyPreSubclassWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "busy", WS_POPUP, Popup(), NULL, 0));
    ASSERT_TRUE(wnd.hHelper != NULL);
    EXPECT_TRUE(CWnd::FromHandlePermanent(wnd.hHelper) == NULL);
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    char text[16];
    wnd.GetWindowText(text, sizeof(text));
    EXPECT_STREQ("busy", text);
    DestroyWindow(wnd.hHelper);
    wnd.DestroyWindow();
}

TEST(WndCreation, PreCreateWindowMayChangeTheClassAndAFailedCreateUnbinds) {
    struct CClassWnd : CWnd {
        BOOL PreCreateWindow(CREATESTRUCT& cs) override {
            cs.lpszClass = AfxRegisterWndClass(CS_HREDRAW, NULL, (HBRUSH)(COLOR_BTNFACE + 1));
            return TRUE;
        }
    } wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "Never Registered", "x", WS_POPUP, Popup(), NULL, 0));
    char cls[64];
    GetClassNameA(wnd.m_hWnd, cls, sizeof(cls));
    EXPECT_EQ(0, strncmp(cls, "Afx:", 4)) << cls;
    wnd.DestroyWindow();

    CRefuseCreate refuse;
    EXPECT_FALSE(refuse.CreateEx(0, PopupClass(), "no", WS_POPUP, Popup(), NULL, 0));
    EXPECT_TRUE(refuse.m_hWnd == NULL);
}

TEST(WndCreation, ChildCreateUsesTheDefaultClassAndTheId) {
    CWnd parent, child;
    ASSERT_TRUE(parent.CreateEx(0, PopupClass(), "parent", WS_POPUP, Popup(), NULL, 0));
    ASSERT_TRUE(child.Create(NULL, "child", WS_VISIBLE, CRect(0, 0, 20, 20), &parent, 1234));
    char cls[64];
    GetClassNameA(child.m_hWnd, cls, sizeof(cls));
    EXPECT_STREQ("AfxWnd", cls);
    EXPECT_EQ(1234, child.GetDlgCtrlID());
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    EXPECT_EQ(&child, parent.GetDlgItem(1234));
    EXPECT_EQ(&parent, child.GetParent());
    EXPECT_EQ(&parent, child.GetTopLevelParent());
    EXPECT_EQ(&child, parent.GetDescendantWindow(1234, TRUE));
    parent.DestroyWindow();
    // Destroying the parent destroyed and unbound the child object.
    EXPECT_TRUE(child.m_hWnd == NULL);
}

TEST(WndRelations, SetOwnerRoutesToAnotherWindowWithoutReparenting) {
    CWnd parent, other, child;
    ASSERT_TRUE(parent.CreateEx(0, PopupClass(), "parent", WS_POPUP, Popup(), NULL, 0));
    ASSERT_TRUE(other.CreateEx(0, PopupClass(), "other", WS_POPUP, Popup(), NULL, 0));
    ASSERT_TRUE(child.Create(NULL, "child", WS_VISIBLE, CRect(0, 0, 20, 20), &parent, 77));
    EXPECT_EQ(&parent, child.GetOwner());  // no owner set: the parent

    child.SetOwner(&other);
    EXPECT_EQ(&other, child.GetOwner());
    EXPECT_EQ(parent.m_hWnd, ::GetParent(child.m_hWnd));  // still the parent's child
    EXPECT_EQ(&child, parent.GetDlgItem(77));

    child.SetOwner(NULL);
    EXPECT_EQ(&parent, child.GetOwner());
    // A top-level window without an owner of its own answers its real owner.
    CWnd popup;
    ASSERT_TRUE(popup.CreateEx(0, PopupClass(), "owned", WS_POPUP, Popup(), &parent, 0));
    EXPECT_EQ(&parent, popup.GetOwner());
    popup.DestroyWindow();
    other.DestroyWindow();
    parent.DestroyWindow();
}

TEST(WndHandleMaps, TemporaryWrappersPermanentObjectsAndSubclassing) {
    HWND h = CreateWindowExA(0, "EDIT", "raw", WS_POPUP, 0, 0, 50, 20, NULL, NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(h != NULL);
    LONG_PTR original = GetWindowLongPtrA(h, GWLP_WNDPROC);

    // A foreign window: a temporary wrapper, the same one each time, not bound.
    CWnd* pTemp = CWnd::FromHandle(h);
    ASSERT_TRUE(pTemp != NULL);
    EXPECT_EQ(pTemp, CWnd::FromHandle(h));
    EXPECT_TRUE(CWnd::FromHandlePermanent(h) == NULL);
    EXPECT_EQ(original, GetWindowLongPtrA(h, GWLP_WNDPROC));
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(h));  // freeing wrappers never touches windows

    // Subclassed: the object sees the messages, the control still does its work.
    MsgRecorder rec;
    rec.Only({WM_SETTEXT, kPreSubclass});
    CRecordingWnd wnd;
    wnd.rec = &rec;
    ASSERT_TRUE(wnd.SubclassWindow(h));
    EXPECT_TRUE(wnd.boundInPreSubclass);
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(h));
    EXPECT_EQ(&wnd, CWnd::FromHandle(h));
    wnd.SetWindowText("changed");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(CString("changed"), text);
    EXPECT_TRUE(rec.Matches({{kPreSubclass, 0}, {WM_SETTEXT, kSent}}));

    // A second object cannot take a bound window.
    CWnd other;
    EXPECT_FALSE(other.SubclassWindow(h));

    EXPECT_EQ(h, wnd.UnsubclassWindow());
    EXPECT_TRUE(wnd.m_hWnd == NULL);
    EXPECT_EQ(original, GetWindowLongPtrA(h, GWLP_WNDPROC));
    EXPECT_TRUE(CWnd::FromHandlePermanent(h) == NULL);

    // Attach binds without subclassing; Detach gives the handle back.
    CWnd attached;
    ASSERT_TRUE(attached.Attach(h));
    EXPECT_EQ(&attached, CWnd::FromHandlePermanent(h));
    EXPECT_EQ(h, attached.Detach());
    EXPECT_TRUE(CWnd::FromHandlePermanent(h) == NULL);
    DestroyWindow(h);
}

TEST(WndHandleMaps, SubclassDlgItemAndDestructionThroughTheObject) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, PopupClass(), "p", WS_POPUP, Popup(), NULL, 0));
    HWND hButton = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 20, 20, parent.m_hWnd, (HMENU)77,
                                   GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(hButton != NULL);
    {
        CWnd button;
        EXPECT_FALSE(button.SubclassDlgItem(78, &parent));
        ASSERT_TRUE(button.SubclassDlgItem(77, &parent));
        EXPECT_EQ(hButton, button.m_hWnd);
    }
    // The object went first: it destroyed its window.
    EXPECT_FALSE(IsWindow(hButton));
    parent.DestroyWindow();

    CSelfDeletingWnd::deleted = 0;
    CSelfDeletingWnd* p = new CSelfDeletingWnd;
    ASSERT_TRUE(p->CreateEx(0, PopupClass(), "self", WS_POPUP, Popup(), NULL, 0));
    p->DestroyWindow();
    EXPECT_EQ(1, CSelfDeletingWnd::deleted);
}

TEST(WndMessageMaps, DispatchChainsFromTheDerivedMapToItsBases) {
    CDerivedMapWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "maps", WS_POPUP, Popup(), NULL, 0));
    wnd.calls.clear();
    wnd.SetWindowPos(NULL, 0, 0, 120, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_GE(wnd.calls.size(), 2u);
    EXPECT_EQ("Derived::OnSize", wnd.calls[0]);
    RECT rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ("Base::OnSize " + std::to_string(rc.right) + "x" + std::to_string(rc.bottom) + " 0", wnd.calls[1]);

    // A base-class entry serves the derived object; the result comes back.
    wnd.calls.clear();
    EXPECT_EQ(5, wnd.SendMessage(WM_USER + 1, 2, 3));
    ASSERT_EQ(1u, wnd.calls.size());
    EXPECT_EQ("Base::OnUser1", wnd.calls[0]);
    // While a handler runs, the thread's current message is that message.
    EXPECT_EQ((UINT)(WM_USER + 1), wnd.seenCopy.message);
    EXPECT_EQ(wnd.m_hWnd, wnd.seenCopy.hwnd);
    EXPECT_EQ(2u, wnd.seenCopy.wParam);
    EXPECT_EQ(3, wnd.seenCopy.lParam);
    EXPECT_EQ(77, wnd.SendMessage(g_nMsgRegistered));
    EXPECT_EQ(HTCAPTION, wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(15, 15)));
    // Unmapped messages reach the window procedure below.
    EXPECT_EQ(0, wnd.SendMessage(WM_USER + 2));
    wnd.SetWindowText("abc");
    EXPECT_EQ(3, wnd.GetWindowTextLength());

    // Introspection: the most-derived map alone, or the whole chain.
    EXPECT_TRUE(MostDerivedMapHas(wnd, WM_PAINT));
    EXPECT_FALSE(MostDerivedMapHas(wnd, WM_NCHITTEST));
    EXPECT_TRUE(wnd.HasMessageMapEntry(WM_NCHITTEST));
    EXPECT_FALSE(wnd.HasMessageMapEntry(WM_TIMER));
    wnd.DestroyWindow();
}

TEST(WndMessageMaps, TemplateLayersChainAndExceptionsStopAtTheWindowProcedure) {
    CLayerWnd<CDerivedMapWnd> layered;
    ASSERT_TRUE(layered.CreateEx(0, PopupClass(), "layer", WS_POPUP, Popup(), NULL, 0));
    layered.SendMessage(WM_TIMER, 9);
    EXPECT_EQ(1, layered.timers);
    layered.calls.clear();
    layered.SendMessage(WM_USER + 1, 1, 1);
    EXPECT_EQ(1u, layered.calls.size());
    layered.DestroyWindow();

    CFrameworkTestApp& app = TestApp();
    app.m_bRecordBoxes = true;
    app.m_boxes.clear();
    CThrowingWnd thrower;
    ASSERT_TRUE(thrower.CreateEx(0, PopupClass(), "throw", WS_POPUP, Popup(), NULL, 0));
    EXPECT_EQ(0, thrower.SendMessage(WM_USER + 5));
    EXPECT_TRUE(IsWindow(thrower.m_hWnd));
    // The user is told, through the application's message box.
    ASSERT_EQ(1u, app.m_boxes.size());
    EXPECT_EQ((UINT)(MB_ICONEXCLAMATION | MB_SYSTEMMODAL), app.m_boxes[0].type);
    EXPECT_FALSE(app.m_boxes[0].text.empty());
    // A user exception was reported by whoever threw it: no second box.
    EXPECT_EQ(0, thrower.SendMessage(WM_USER + 6));
    EXPECT_EQ(1u, app.m_boxes.size());
    // A failed command counts as handled.
    EXPECT_EQ(1, thrower.SendMessage(WM_COMMAND, 0x8C01));
    ASSERT_EQ(2u, app.m_boxes.size());
    EXPECT_EQ((UINT)AFX_IDP_COMMAND_FAILURE, app.m_boxes[1].idPrompt);
    EXPECT_EQ((UINT)MB_ICONSTOP, app.m_boxes[1].type);
    // One of the C++ library's is told by its own text, not ended quietly.
    EXPECT_EQ(0, thrower.SendMessage(WM_USER + 7));
    ASSERT_EQ(3u, app.m_boxes.size());
    EXPECT_EQ("too long", app.m_boxes[2].text);
    app.m_boxes.pop_back();
    // A paint that fails leaves the window validated: it is not asked again and again.
    thrower.ShowWindow(SW_SHOWNA);
    thrower.Invalidate();
    PumpPending();
    EXPECT_EQ(1, thrower.paints);
    EXPECT_FALSE(GetUpdateRect(thrower.m_hWnd, NULL, FALSE));
    EXPECT_EQ(2u, app.m_boxes.size());  // painting failures are not reported
    app.m_bRecordBoxes = false;
    thrower.DestroyWindow();
}

TEST(WndMessageRecorder, ThreadHooksRecordSentAndPostedMessagesOfWatchedWindows) {
    CDerivedMapWnd wnd, other;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "watched", WS_POPUP, Popup(), NULL, 0));
    ASSERT_TRUE(other.CreateEx(0, PopupClass(), "other", WS_POPUP, Popup(), NULL, 0));
    MsgRecorder rec;
    rec.Only({WM_USER + 1, WM_USER + 3});
    rec.Watch(wnd.m_hWnd);
    rec.HookThread();
    wnd.PostMessage(WM_USER + 3, 7);
    other.SendMessage(WM_USER + 1);  // not watched
    wnd.SendMessage(WM_USER + 1, 1, 2);
    PumpPending();
    rec.Unhook();
    EXPECT_TRUE(rec.Matches({
        {WM_USER + 1, kSent | kWParam | kLParam | kHwnd, 1, 2, wnd.m_hWnd},
        {WM_USER + 3, kPosted | kWParam, 7},
    }));
    // A sequence that differs is reported.
    EXPECT_FALSE(rec.Matches({{WM_USER + 3, kPosted}}));
    EXPECT_TRUE(rec.Matches({{WM_USER + 2, kOptional}, {WM_USER + 1, kSent}, {WM_USER + 3, kPosted}}));
    wnd.DestroyWindow();
    other.DestroyWindow();
}
