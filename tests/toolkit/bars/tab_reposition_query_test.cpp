// A tab strip that places itself (flag bit 0) is left out of a frame's query pass and
// of no other: the frame layout's reposition query reaches it through the bars.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "framework/afxres.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/dialogs/tab_wnd.h"

namespace {

// A frame the test owns: not deleted when its window goes.
class HostFrame : public CFrameWnd
{
public:
    void PostNcDestroy() override {}
};

}  // namespace

TEST(TabRepositionQuery, SelfPlacingStripIsLeftOutOfTheFrameQueryOnly)
{
    struct Case
    {
        const char* sName;
        bool bFrame;
        BYTE nFlags;
        bool bSkipped;
    } const kCases[] = {
        {"frame, flag set", true, 0x01, true},
        {"frame, flag clear", true, 0x00, false},
        {"plain parent, flag set", false, 0x01, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.sName);
        CWnd* pParent = c.bFrame ? new HostFrame : new CWnd;
        ASSERT_TRUE(pParent->CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                      0, 300, 200, NULL, NULL));
        CExtTabWnd tabs;
        ASSERT_TRUE(tabs.Create(pParent, CRect(0, 0, 300, 30), 0xE810));
        tabs.ItemInsert("one");
        tabs.m_nTabWndFlags = c.nFlags;
        CRect rcClient;
        pParent->GetClientRect(&rcClient);
        CRect rc;
        CExtControlBar::RepositionBarsEx(pParent, 0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rc, NULL, TRUE);
        if (c.bSkipped)
            EXPECT_EQ(rcClient, rc);
        else
            EXPECT_LT(rcClient.top, rc.top) << "the strip's band is taken from the top";
        tabs.DestroyWindow();
        pParent->DestroyWindow();
        delete pParent;
    }
}
