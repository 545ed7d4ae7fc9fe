// The themed label: draw flags from style and text, text colours, and painting of text,
// background and the statics it leaves to the system.
#include <gtest/gtest.h>
#include "toolkit/dialogs/label.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "popup_parent_test.h"

using namespace testsupport;

namespace {

class ExtLabelTest : public PopupParentTest
{
protected:
    void DestroyControls() override { DestroyIfOpen(m_label); }
    void Take(DWORD dwStyle, const char* text)
    {
        HWND h = ::CreateWindowA("STATIC", text, WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, 120, 30, m_hParent, NULL,
                                 ::GetModuleHandle(NULL), NULL);
        ASSERT_TRUE(h != NULL);
        ASSERT_TRUE(m_label.SubclassWindow(h));
    }
    int CountColour(const DibCanvas& c, COLORREF clr)
    {
        int n = 0;
        for (int x = 0; x < 120; ++x)
            for (int y = 0; y < 30; ++y)
                n += c.Pixel(x, y) == clr ? 1 : 0;
        return n;
    }
    CExtLabel m_label;
};

}  // namespace

TEST_F(ExtLabelTest, DrawFlagsFollowStyleAndText)
{
    struct Case { DWORD style; const char* text; UINT flags; } cases[] = {
        {SS_LEFT, "a", 0x10 | 0x8004},
        {SS_CENTER, "a", 0x11 | 0x8004},
        {SS_RIGHT, "a\tb", 0x12 | 0x40 | 0x8004},
        {SS_LEFTNOWORDWRAP, "a", 0x8004},
        {SS_LEFT | SS_CENTERIMAGE, "one", 0x10 | 0x24 | 0x8004},
        {SS_LEFT | SS_CENTERIMAGE, "one\r\ntwo", 0x10 | 0x8004},
    };
    for (const Case& c : cases)
    {
        Take(c.style, c.text);
        CString s(c.text);
        EXPECT_EQ(c.flags, m_label.GetTextDrawFlags(s)) << "style " << c.style << " text " << c.text;
        m_label.DestroyWindow();
    }
}

TEST_F(ExtLabelTest, TextColours)
{
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    ASSERT_TRUE(pPM != NULL);
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW, &m_label), m_label.GetLabelTextColor(false));
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNTEXT, &m_label), m_label.GetLabelTextColor(true));
    m_label.m_clrText = RGB(1, 2, 3);
    m_label.m_clrTextDisabled = RGB(4, 5, 6);
    EXPECT_EQ(RGB(1, 2, 3), m_label.GetLabelTextColor(true));
    EXPECT_EQ(RGB(4, 5, 6), m_label.GetLabelTextColor(false));
}

TEST_F(ExtLabelTest, PaintsBackgroundAndTextInItsColours)
{
    Take(SS_LEFT, "WWWW");
    m_label.m_clrBackground = RGB(10, 200, 30);
    m_label.m_clrText = RGB(255, 0, 0);
    m_label.m_clrTextDisabled = RGB(0, 0, 255);
    m_label.m_nFontFlags = CExtLabel::FONT_BOLD;
    DibCanvas enabled(120, 30, RGB(1, 1, 1));
    m_label.SendMessage(WM_PRINTCLIENT, (WPARAM)enabled.Dc(), PRF_CLIENT);
    EXPECT_EQ(RGB(10, 200, 30), enabled.Pixel(119, 29));
    EXPECT_GT(CountColour(enabled, RGB(255, 0, 0)), 10);
    m_label.EnableWindow(FALSE);
    DibCanvas disabled(120, 30, RGB(1, 1, 1));
    m_label.SendMessage(WM_PRINTCLIENT, (WPARAM)disabled.Dc(), PRF_CLIENT);
    EXPECT_EQ(0, CountColour(disabled, RGB(255, 0, 0)));
    EXPECT_GT(CountColour(disabled, RGB(0, 0, 255)), 10);
    EXPECT_EQ(0, (int)m_label.SendMessage(WM_UPDATEUISTATE));
}

TEST_F(ExtLabelTest, FramesKeepTheSystemPainting)
{
    Take(SS_ETCHEDFRAME, "");
    m_label.m_clrBackground = RGB(10, 200, 30);
    DibCanvas canvas(120, 30, RGB(1, 1, 1));
    m_label.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.Dc(), PRF_CLIENT);
    EXPECT_EQ(0, CountColour(canvas, RGB(10, 200, 30)));
}
