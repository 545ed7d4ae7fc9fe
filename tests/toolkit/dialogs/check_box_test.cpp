// Themed check boxes and radio buttons: check cycling, box state codes and the box
// painted through the paint manager.
#include <gtest/gtest.h>
#include "toolkit/dialogs/check_box.h"
#include "support/dib_canvas.h"
#include "support/msg_recorder.h"
#include "support/message_pump.h"

using namespace testsupport;

namespace {

class RecordingCheckBox : public CExtCheckBox
{
public:
    bool OnCheckBoxPainted(CDC&, const RECT& rcBox, int nBoxState) override
    {
        m_rcBox = rcBox;
        m_nPaintedState = nBoxState;
        ++m_nPaints;
        return false;
    }
    CRect m_rcBox;
    int m_nPaintedState = -1;
    int m_nPaints = 0;
};

MsgRecorder* g_pRec = nullptr;

LRESULT CALLBACK ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && g_pRec != nullptr)
        g_pRec->Record(msg, wParam, lParam, hWnd, "parent");
    return ::DefWindowProc(hWnd, msg, wParam, lParam);
}

class ExtCheckBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static bool s_bReg = false;
        if (!s_bReg)
        {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = ParentProc;
            wc.hInstance = ::GetModuleHandle(NULL);
            wc.lpszClassName = "ExtCheckBoxTestParent";
            ::RegisterClassA(&wc);
            s_bReg = true;
        }
        g_pRec = &m_rec;
        m_hParent = ::CreateWindowExA(WS_EX_TOPMOST, "ExtCheckBoxTestParent", "p", WS_POPUP | WS_VISIBLE, 100, 100,
                                      300, 200, NULL, NULL, ::GetModuleHandle(NULL), NULL);
        ASSERT_TRUE(m_hParent != NULL);
        ::SetActiveWindow(m_hParent);
    }
    void TearDown() override
    {
        for (RecordingCheckBox* p : {&m_a, &m_b})
            if (p->m_hWnd != NULL)
                p->DestroyWindow();
        ::DestroyWindow(m_hParent);
        PumpPending();
        g_pRec = nullptr;
    }
    void Take(RecordingCheckBox& box, DWORD dwStyle, int nId, int y = 10)
    {
        HWND h = ::CreateWindowA("BUTTON", "Box", WS_CHILD | WS_VISIBLE | dwStyle, 10, y, 120, 20, m_hParent,
                                 (HMENU)(UINT_PTR)nId, ::GetModuleHandle(NULL), NULL);
        ASSERT_TRUE(h != NULL);
        ASSERT_TRUE(box.SubclassWindow(h));
        PumpPending();
    }
    size_t Clicks(int nId) const
    {
        size_t n = 0;
        for (const MsgRecord& r : m_rec.Records())
            if (r.message == WM_COMMAND && LOWORD(r.wParam) == nId && HIWORD(r.wParam) == BN_CLICKED)
                ++n;
        return n;
    }
    MsgRecorder m_rec;
    HWND m_hParent = NULL;
    RecordingCheckBox m_a, m_b;
};

}  // namespace

TEST_F(ExtCheckBoxTest, ThreeStateCyclesOffOnIndeterminate)
{
    Take(m_a, BS_AUTO3STATE, 11);
    const int expected[] = {1, 2, 0, 1};
    for (int i = 0; i < 4; ++i)
    {
        m_a.OnButtonClick(false, false);
        EXPECT_EQ(expected[i], (int)m_a.SendMessage(BM_GETCHECK)) << "click " << i;
    }
    EXPECT_EQ(4u, Clicks(11));
    // Space clicks it like the mouse
    MSG down = {m_a.m_hWnd, WM_KEYDOWN, VK_SPACE, 0, 0, {0, 0}};
    MSG up = {m_a.m_hWnd, WM_KEYUP, VK_SPACE, 0, 0, {0, 0}};
    m_a.PreTranslateMessage(&down);
    m_a.PreTranslateMessage(&up);
    EXPECT_EQ(2, (int)m_a.SendMessage(BM_GETCHECK));
}

TEST_F(ExtCheckBoxTest, TwoStateAndRadioToggleAlone)
{
    Take(m_a, BS_AUTORADIOBUTTON, 21, 10);
    Take(m_b, BS_AUTORADIOBUTTON, 22, 40);
    m_a.OnButtonClick(false, false);
    m_b.OnButtonClick(false, false);
    EXPECT_EQ(1, (int)m_a.SendMessage(BM_GETCHECK));
    EXPECT_EQ(1, (int)m_b.SendMessage(BM_GETCHECK));
    m_b.OnButtonClick(false, false);
    EXPECT_EQ(0, (int)m_b.SendMessage(BM_GETCHECK));
    EXPECT_EQ(1u, Clicks(21));
    EXPECT_EQ(2u, Clicks(22));
}

TEST_F(ExtCheckBoxTest, BoxStateCodes)
{
    Take(m_a, BS_AUTO3STATE, 11);
    struct Case { int check; BYTE state; bool enabled; int code; } cases[] = {
        {0, 0x03, true, 0}, {1, 0x03, true, 1}, {2, 0x03, true, 2},
        {0, 0x03 | 0x04 | 0x10, true, 3}, {1, 0x03 | 0x04, true, 7},
        {2, 0x03 | 0x10, true, 8}, {1, 0x03 | 0x10 | 0x20, true, 4},
        {0, 0x03 | 0x20, true, 3}, {1, 0x03 | 0x04, false, 10}, {2, 0x03, false, 11},
        {5, 0x03, true, 0},
    };
    for (const Case& c : cases)
    {
        m_a.SendMessage(BM_SETCHECK, c.check);
        m_a.m_nState = c.state;
        m_a.EnableWindow(c.enabled);
        EXPECT_EQ(c.code, m_a.GetBoxState()) << "check " << c.check << " state " << (int)c.state
                                             << " enabled " << c.enabled;
    }
}

TEST_F(ExtCheckBoxTest, PaintsTheBoxAndItsStateThroughThePaintManager)
{
    Take(m_a, BS_AUTOCHECKBOX, 11);
    m_a.m_clrBackground = RGB(10, 200, 30);
    DibCanvas off(120, 20), on(120, 20);
    m_a.SendMessage(WM_PRINTCLIENT, (WPARAM)off.Dc(), PRF_CLIENT);
    EXPECT_EQ(0, m_a.m_nPaintedState);
    ASSERT_FALSE(m_a.m_rcBox.IsRectEmpty());
    EXPECT_EQ(RGB(10, 200, 30), off.Pixel(119, 0));
    m_a.SendMessage(BM_SETCHECK, 1);
    m_a.SendMessage(WM_PRINTCLIENT, (WPARAM)on.Dc(), PRF_CLIENT);
    EXPECT_EQ(1, m_a.m_nPaintedState);
    bool bDiffer = false;
    for (int x = m_a.m_rcBox.left; x < m_a.m_rcBox.right && !bDiffer; ++x)
        for (int y = m_a.m_rcBox.top; y < m_a.m_rcBox.bottom && !bDiffer; ++y)
            bDiffer = off.Pixel(x, y) != on.Pixel(x, y);
    EXPECT_TRUE(bDiffer) << "the check mark shows inside the box";

    // a radio button gets the round glyph, not the check box
    Take(m_b, BS_AUTORADIOBUTTON, 12, 40);
    m_b.m_clrBackground = RGB(10, 200, 30);
    m_b.SendMessage(BM_SETCHECK, 1);
    DibCanvas radio(120, 20);
    m_b.SendMessage(WM_PRINTCLIENT, (WPARAM)radio.Dc(), PRF_CLIENT);
    bool bRadioDiffers = false;
    for (int x = m_b.m_rcBox.left; x < m_b.m_rcBox.right && !bRadioDiffers; ++x)
        for (int y = m_b.m_rcBox.top; y < m_b.m_rcBox.bottom && !bRadioDiffers; ++y)
            bRadioDiffers = on.Pixel(x, y) != radio.Pixel(x, y);
    EXPECT_TRUE(bRadioDiffers);
}

TEST_F(ExtCheckBoxTest, PushLikeCheckBoxPaintsAsAPushButton)
{
    Take(m_a, BS_AUTOCHECKBOX | BS_PUSHLIKE, 11);
    DibCanvas canvas(120, 20);
    m_a.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.Dc(), PRF_CLIENT);
    EXPECT_EQ(0, m_a.m_nPaints);
    m_a.OnButtonClick(false, false);
    EXPECT_EQ(1, (int)m_a.SendMessage(BM_GETCHECK));
}
