#include <gtest/gtest.h>

#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/pickers/slider_wnd.h"

namespace {

class SliderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), _T("host"), WS_POPUP | WS_VISIBLE,
                                    0, 0, 300, 100, NULL, NULL));
        ASSERT_TRUE(m_slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_AUTOTICKS,
                                    CRect(10, 10, 210, 50), &m_host, 1));
        m_slider.SetRange(0, 10);
        m_slider.SetPos(5);
    }
    void TearDown() override
    {
        m_slider.DestroyWindow();
        m_host.DestroyWindow();
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    CWnd m_host;
    CExtSliderWnd m_slider;
};

// With slider style 1 the channel is the theme's face framed in its shadow colour and the
// thumb a themed push button; the trackbar paints through the custom-draw notification.
TEST_F(SliderTest, ChannelAndThumbFollowTheTheme)
{
    struct { CRuntimeClass* pClass; const char* name; } themes[] = {
        {RUNTIME_CLASS(CExtPaintManager), "base"},
        {RUNTIME_CLASS(CExtPaintManagerXP), "XP"},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), "Office 2003"},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), "Studio 2005"}};
    m_slider.m_nSliderStyle = 1;
    CRect rcChannel, rcThumb;
    m_slider.SendMessage(TBM_GETCHANNELRECT, 0, (LPARAM)&rcChannel);
    m_slider.SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)&rcThumb);
    ASSERT_FALSE(rcChannel.IsRectEmpty());
    for (const auto& t : themes) {
        g_CurrentPaintManager.InstallPaintManagerByClass(t.pClass);
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        testsupport::DibCanvas canvas(200, 40, RGB(1, 2, 3));
        m_slider.SendMessage(WM_PAINT, (WPARAM)canvas.Dc());
        EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW), canvas.Pixel(rcChannel.left, rcChannel.top)) << t.name;
        EXPECT_EQ(pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT),
                  canvas.Pixel(rcChannel.left + 2, rcChannel.top + 1)) << t.name;
        EXPECT_NE(RGB(1, 2, 3), canvas.Pixel(rcThumb.CenterPoint().x, rcThumb.CenterPoint().y)) << t.name;
        EXPECT_TRUE(m_slider.OnSliderDrawThumb(*CDC::FromHandle(canvas.Dc()), rcThumb, 0)) << t.name;
        EXPECT_FALSE(m_slider.OnSliderDrawTics(*CDC::FromHandle(canvas.Dc()), CRect(0, 0, 200, 40)));
    }
    m_slider.m_nSliderStyle = 0;
    testsupport::DibCanvas canvas(200, 40, RGB(1, 2, 3));
    EXPECT_FALSE(m_slider.OnSliderDrawChannel(*CDC::FromHandle(canvas.Dc()), rcChannel));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(rcChannel.left + 2, rcChannel.top + 1));
}

TEST_F(SliderTest, BackgroundBrushIsKeptForTheSameColourAndKeysMoveTheThumb)
{
    EXPECT_EQ(COLORREF(-1), m_slider.SetBkColor(RGB(10, 20, 30)));
    HBRUSH hbr = m_slider.QueryBackgroundBrush();
    LOGBRUSH lb = {};
    ::GetObject(hbr, sizeof(lb), &lb);
    EXPECT_EQ(RGB(10, 20, 30), lb.lbColor);
    m_slider.SetBkColor(RGB(10, 20, 30));
    EXPECT_EQ(hbr, m_slider.QueryBackgroundBrush());
    struct { UINT vk; int pos; } keys[] = {{VK_RIGHT, 6}, {VK_LEFT, 5}, {VK_END, 10}, {VK_HOME, 0}};
    for (const auto& k : keys) {
        m_slider.SendMessage(WM_KEYDOWN, k.vk, 1);
        EXPECT_EQ(k.pos, m_slider.GetPos()) << "key " << k.vk;
    }
}

}  // namespace
