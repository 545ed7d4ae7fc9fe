// Hook chains: dispatch order, eating, changed parameters, WM_NCDESTROY, removal
// and auto-deleting sinks, including sinks that change the chain while it runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/core/hook_sink.h"

namespace {

const UINT kMsgProbe = WM_APP + 11;
std::vector<std::string> g_log;

LRESULT CALLBACK OwnProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == kMsgProbe)
    {
        g_log.push_back("own:" + std::to_string((int)wParam));
        return 1000 + (LRESULT)wParam;
    }
    if (nMsg == WM_NCDESTROY)
        g_log.push_back("own:ncdestroy");
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

HWND MakeWindow()
{
    static bool registered = false;
    if (!registered)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "HookSinkTestWnd";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "HookSinkTestWnd", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
}

int g_deleted = 0;

class Sink : public CExtHookSink
{
public:
    explicit Sink(const char* name, bool autoDelete = false) : m_name(name), m_autoDelete(autoDelete) {}
    ~Sink() override { g_deleted++; }

    bool IsAutoDeleteHookWndSink() override { return m_autoDelete; }
    bool OnHookWndMsg(LRESULT& lResult, HWND hWnd, UINT nMsg, WPARAM& wParam, LPARAM& lParam) override
    {
        if (nMsg != kMsgProbe)
            return CExtHookSink::OnHookWndMsg(lResult, hWnd, nMsg, wParam, lParam);
        g_log.push_back(m_name + ":" + std::to_string((int)wParam));
        if (m_removeSelf)
        {
            // the sink leaves (and, auto-deleting, is deleted) inside its own handler
            SetupHookWndSink(hWnd, true);
            return false;
        }
        if (m_callDef)
        {
            lResult = OnHookCallDefWindowProc(wParam + 1, lParam) + 1;
            return true;
        }
        if (m_callDefAsArrived)
        {
            // the message as it arrived, whatever this sink did to its copies
            wParam += 50;
            lResult = OnHookCallDefWindowProc();
            return true;
        }
        if (m_callDefOther)
        {
            lResult = OnHookCallDefWindowProc(kMsgProbe, 40, 0);
            return true;
        }
        if (m_addWParam != 0)
            wParam += m_addWParam;
        if (m_eat)
        {
            lResult = 77;
            return true;
        }
        return false;
    }
    void OnHookWndNcDestroy() override { g_log.push_back(m_name + ":ncdestroy"); }
    void OnHookWndAttach(HWND) override { m_attached++; }
    void OnHookWndDetach(HWND) override { m_detached++; }

    std::string m_name;
    bool m_autoDelete;
    bool m_eat = false;
    bool m_removeSelf = false;
    bool m_callDef = false;
    bool m_callDefAsArrived = false;
    bool m_callDefOther = false;
    int m_addWParam = 0;
    int m_attached = 0;
    int m_detached = 0;
};

std::vector<std::string> Log(std::initializer_list<const char*> items)
{
    std::vector<std::string> v;
    for (const char* s : items)
        v.push_back(s);
    return v;
}

}  // namespace

class HookSinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        g_deleted = 0;
        m_hWnd = MakeWindow();
        ASSERT_TRUE(m_hWnd != NULL);
        m_ownProc = (WNDPROC)GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC);
    }
    void TearDown() override
    {
        if (IsWindow(m_hWnd))
            DestroyWindow(m_hWnd);
    }
    HWND m_hWnd = NULL;
    WNDPROC m_ownProc = NULL;
};

TEST_F(HookSinkTest, OrderEatingAndChangedParameters)
{
    Sink a("A"), b("B");
    EXPECT_TRUE(a.SetupHookWndSink(m_hWnd));
    EXPECT_TRUE(b.SetupHookWndSink(m_hWnd, false, true));  // at the head
    EXPECT_NE((LONG_PTR)m_ownProc, GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    EXPECT_EQ(1005, SendMessageA(m_hWnd, kMsgProbe, 5, 0));
    EXPECT_EQ(Log({"B:5", "A:5", "own:5"}), g_log);

    // B changes wParam: A and the window see the changed value
    g_log.clear();
    b.m_addWParam = 10;
    EXPECT_EQ(1015, SendMessageA(m_hWnd, kMsgProbe, 5, 0));
    EXPECT_EQ(Log({"B:5", "A:15", "own:15"}), g_log);

    // B eats: nobody else sees the message, the sender gets B's result
    g_log.clear();
    b.m_addWParam = 0;
    b.m_eat = true;
    EXPECT_EQ(77, SendMessageA(m_hWnd, kMsgProbe, 6, 0));
    EXPECT_EQ(Log({"B:6"}), g_log);

    // a sink may call the saved procedure itself
    g_log.clear();
    b.m_eat = false;
    b.m_callDef = true;
    EXPECT_EQ(1008, SendMessageA(m_hWnd, kMsgProbe, 6, 0));
    EXPECT_EQ(Log({"B:6", "own:7"}), g_log);
    b.m_callDef = false;
    g_log.clear();
    b.m_callDefAsArrived = true;
    EXPECT_EQ(1006, SendMessageA(m_hWnd, kMsgProbe, 6, 0));
    EXPECT_EQ(Log({"B:6", "own:6"}), g_log);
    b.m_callDefAsArrived = false;
    g_log.clear();
    b.m_callDefOther = true;
    EXPECT_EQ(1040, SendMessageA(m_hWnd, kMsgProbe, 6, 0));
    EXPECT_EQ(Log({"B:6", "own:40"}), g_log);
    b.m_callDefOther = false;

    a.RemoveAllWndHooks();
    b.RemoveAllWndHooks();
}

TEST_F(HookSinkTest, AddingTwiceAndRemoving)
{
    Sink a("A"), b("B");
    EXPECT_TRUE(a.SetupHookWndSink(m_hWnd));
    EXPECT_TRUE(b.SetupHookWndSink(m_hWnd));
    EXPECT_TRUE(a.SetupHookWndSink(m_hWnd, false, false));
    EXPECT_TRUE(a.SetupHookWndSink(m_hWnd, false, true));  // already there: keeps its place
    EXPECT_EQ(1, a.m_attached);
    SendMessageA(m_hWnd, kMsgProbe, 1, 0);
    EXPECT_EQ(Log({"A:1", "B:1", "own:1"}), g_log);
    EXPECT_TRUE(a.IsHookedWindow(m_hWnd));

    EXPECT_TRUE(a.SetupHookWndSink(m_hWnd, true));
    EXPECT_TRUE(b.SetupHookWndSink(m_hWnd, true));
    EXPECT_EQ(1, a.m_detached);
    EXPECT_FALSE(a.IsHookedWindow(m_hWnd));
    // the last sink gone, the window stays subclassed and messages pass unchanged
    EXPECT_NE((LONG_PTR)m_ownProc, GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    g_log.clear();
    EXPECT_EQ(1003, SendMessageA(m_hWnd, kMsgProbe, 3, 0));
    EXPECT_EQ(Log({"own:3"}), g_log);

    // removing always succeeds; adding needs a live window
    HWND hOther = MakeWindow();
    EXPECT_TRUE(a.SetupHookWndSink(hOther, true));
    DestroyWindow(hOther);
    EXPECT_TRUE(a.SetupHookWndSink(hOther, true));
    EXPECT_FALSE(a.SetupHookWndSink(hOther));
    EXPECT_FALSE(a.SetupHookWndSink(NULL));
    EXPECT_FALSE(a.SetupHookWndSink(NULL, true));
    EXPECT_EQ(1, a.m_detached);
}

TEST_F(HookSinkTest, NcDestroyEndsTheChain)
{
    Sink a("A"), b("B");
    Sink* pAuto = new Sink("C", true);
    a.SetupHookWndSink(m_hWnd);
    b.SetupHookWndSink(m_hWnd);
    pAuto->SetupHookWndSink(m_hWnd);
    a.m_eat = true;  // eating other messages does not stop the destroy notices
    SendMessageA(m_hWnd, kMsgProbe, 1, 0);
    g_log.clear();
    DestroyWindow(m_hWnd);
    EXPECT_EQ(Log({"A:ncdestroy", "B:ncdestroy", "C:ncdestroy", "own:ncdestroy"}), g_log);
    EXPECT_EQ(1, g_deleted);  // the auto-deleting sink went with the window
    EXPECT_FALSE(a.IsHookedWindow(m_hWnd));
    EXPECT_FALSE(b.IsHookedWindow(m_hWnd));
    EXPECT_EQ(0, (int)g_HookChainsMap.GetCount());
    EXPECT_EQ(0, a.m_detached);  // destruction is not a detach
}

TEST_F(HookSinkTest, EatenNcDestroyAndRestoredProcedure)
{
    Sink a("A");
    a.m_bEatNcDestroy = true;
    a.SetupHookWndSink(m_hWnd);
    // the window procedure is restored before the saved one would run; with the
    // message eaten, the window's own procedure never sees it
    EXPECT_EQ(0, SendMessageA(m_hWnd, WM_NCDESTROY, 0, 0));
    EXPECT_EQ(Log({"A:ncdestroy"}), g_log);
    EXPECT_EQ((LONG_PTR)m_ownProc, GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    EXPECT_FALSE(a.IsHookedWindow(m_hWnd));
}

TEST_F(HookSinkTest, DetailedRouting)
{
    class Detailed : public CExtHookSink
    {
    public:
        explicit Detailed(bool detailed) : CExtHookSink(detailed) {}
        bool OnHookCmdMsg(LRESULT& r, HWND, WORD code, WORD id, HWND ctrl) override
        {
            m_seen = "cmd " + std::to_string(code) + " " + std::to_string(id) + " " + std::to_string((INT_PTR)ctrl);
            r = 5;
            return true;
        }
        bool OnHookEraseBackgroundMsg(LRESULT& r, HWND, HDC hDC) override
        {
            m_seen = "erase " + std::to_string((INT_PTR)hDC);
            r = 6;
            return true;
        }
        std::string m_seen;
    };
    Detailed on(true), off(false);
    EXPECT_TRUE(on.m_bEnableDetailedWndHooks);
    EXPECT_FALSE(on.m_bEatNcDestroy);
    off.SetupHookWndSink(m_hWnd);
    on.SetupHookWndSink(m_hWnd);
    EXPECT_EQ(5, SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(42, 3), 99));
    EXPECT_EQ("cmd 3 42 99", on.m_seen);
    EXPECT_EQ(6, SendMessageA(m_hWnd, WM_ERASEBKGND, 123, 0));
    EXPECT_EQ("erase 123", on.m_seen);
    EXPECT_EQ("", off.m_seen);
    on.RemoveAllWndHooks();
    off.RemoveAllWndHooks();
}

TEST_F(HookSinkTest, AutoDeletingSinkOnSeveralWindows)
{
    HWND h2 = MakeWindow(), h3 = MakeWindow();
    Sink* pSink = new Sink("S", true);
    Sink other("O");
    pSink->SetupHookWndSink(m_hWnd);
    pSink->SetupHookWndSink(h2);
    pSink->SetupHookWndSink(h3);
    other.SetupHookWndSink(h2);
    pSink->RemoveAllWndHooks();  // leaves all three chains, then is deleted once
    EXPECT_EQ(1, g_deleted);
    g_log.clear();
    SendMessageA(h2, kMsgProbe, 2, 0);
    SendMessageA(h3, kMsgProbe, 3, 0);
    EXPECT_EQ(Log({"O:2", "own:2", "own:3"}), g_log);

    // removing from one window deletes an auto-deleting sink; its other chains forget it
    Sink* pTwo = new Sink("T", true);
    pTwo->SetupHookWndSink(h2);
    pTwo->SetupHookWndSink(h3);
    pTwo->SetupHookWndSink(h2, true);
    EXPECT_EQ(2, g_deleted);
    g_log.clear();
    SendMessageA(h3, kMsgProbe, 4, 0);
    EXPECT_EQ(Log({"own:4"}), g_log);

    // a window destroyed with an auto-deleting sink that also watches another one
    Sink* pThree = new Sink("U", true);
    pThree->SetupHookWndSink(h2);
    pThree->SetupHookWndSink(h3);
    DestroyWindow(h2);
    EXPECT_EQ(3, g_deleted);
    g_log.clear();
    SendMessageA(h3, kMsgProbe, 5, 0);
    EXPECT_EQ(Log({"own:5"}), g_log);
    other.RemoveAllWndHooks();
    DestroyWindow(h3);
}

TEST_F(HookSinkTest, SinkRemovingItselfInsideItsHandler)
{
    Sink a("A"), c("C");
    Sink* pB = new Sink("B", true);
    a.SetupHookWndSink(m_hWnd);
    pB->SetupHookWndSink(m_hWnd);
    c.SetupHookWndSink(m_hWnd);
    pB->m_removeSelf = true;
    EXPECT_EQ(1001, SendMessageA(m_hWnd, kMsgProbe, 1, 0));
    // C, after the sink that left, is still visited
    EXPECT_EQ(Log({"A:1", "B:1", "C:1", "own:1"}), g_log);
    EXPECT_EQ(1, g_deleted);
    g_log.clear();
    SendMessageA(m_hWnd, kMsgProbe, 2, 0);
    EXPECT_EQ(Log({"A:2", "C:2", "own:2"}), g_log);
    a.RemoveAllWndHooks();
    c.RemoveAllWndHooks();
}

TEST_F(HookSinkTest, WindowDestroyedDuringADispatch)
{
    class Destroyer : public CExtHookSink
    {
    public:
        bool OnHookWndMsg(LRESULT& r, HWND hWnd, UINT nMsg, WPARAM&, LPARAM&) override
        {
            if (nMsg == kMsgProbe)
            {
                DestroyWindow(hWnd);
                r = 0;
            }
            return false;
        }
    };
    Destroyer d;
    Sink after("After");
    d.SetupHookWndSink(m_hWnd);
    after.SetupHookWndSink(m_hWnd);
    SendMessageA(m_hWnd, kMsgProbe, 9, 0);
    EXPECT_FALSE(IsWindow(m_hWnd));
    // the destroy notices ran; the sink after the destroyer saw no more of the dead window
    EXPECT_EQ(Log({"After:ncdestroy", "own:ncdestroy", "own:9"}), g_log);
    EXPECT_EQ(0, (int)g_HookChainsMap.GetCount());
}

TEST(MouseCaptureSink, ReturnsThePreviousCapture)
{
    HWND h1 = MakeWindow(), h2 = MakeWindow();
    CExtMouseCaptureSink sink;
    ReleaseCapture();
    sink.SetCapture(h1);
    EXPECT_EQ(h1, GetCapture());
    EXPECT_EQ(h1, sink.SetCapture(h2));
    ReleaseCapture();
    DestroyWindow(h1);
    DestroyWindow(h2);
}
