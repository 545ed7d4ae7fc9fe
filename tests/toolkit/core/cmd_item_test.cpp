// Command items: state bits, texts from string resources, the assign forms, usage and
// its normalisation, command-UI updates and delivery as WM_COMMAND or WM_SYSCOMMAND.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_profile.h"
#include "toolkit/core/resource_manager.h"
#include "tests/toolkit/core/cmd_test_ids.h"

using testsupport::ExpectedMsg;
using testsupport::MsgRecorder;

TEST(CmdItem, DefaultsAndCopy) {
    CExtCmdItem cmd(42);
    EXPECT_EQ(cmd.m_nCmdID, 42u);
    EXPECT_EQ(cmd.m_nIconIndex, -1);
    EXPECT_EQ(cmd.m_dwStateFlags, 0u);
    EXPECT_EQ(cmd.m_nExtraValue1, 100);
    EXPECT_EQ(cmd.m_nExtraValue2, -2);
    EXPECT_EQ(cmd.m_nExtraValue3, 250);
    EXPECT_TRUE(cmd.IsEnabled());

    cmd.m_sMenuText = "Menu";
    cmd.m_sAccelText = "Ctrl+M";
    cmd.m_nUsageTickCount = 7;
    cmd.m_nLParam = 9;
    cmd.m_nExtraValue2 = 5;
    cmd.SetCheck(true);
    CExtCmdItem copy(cmd);
    EXPECT_EQ(copy.m_nCmdID, 42u);
    EXPECT_STREQ((LPCTSTR)copy.m_sMenuText, "Menu");
    EXPECT_STREQ((LPCTSTR)copy.m_sAccelText, "Ctrl+M");
    EXPECT_EQ(copy.m_nUsageTickCount, 7u);
    EXPECT_EQ(copy.m_nLParam, 9u);
    EXPECT_EQ(copy.m_nExtraValue2, 5);
    EXPECT_TRUE(copy.GetCheck());
}

TEST(CmdItem, CheckRadioAndIndeterminateExcludeEachOther) {
    CExtCmdItem cmd(1);
    cmd.SetRadio(true);
    EXPECT_EQ(cmd.SetCheck(true) & 0xE, 0x2u);
    EXPECT_TRUE(cmd.GetCheck());
    EXPECT_FALSE(cmd.GetRadio());
    cmd.SetIndeterminate(true);
    EXPECT_EQ(cmd.m_dwStateFlags & 0xE, 0x8u);
    cmd.SetCheck(false);
    EXPECT_EQ(cmd.m_dwStateFlags & 0xE, 0u);

    EXPECT_EQ(cmd.Enable(false) & 0x1, 0x1u);
    EXPECT_FALSE(cmd.IsEnabled());
    cmd.Enable(true);
    EXPECT_TRUE(cmd.IsEnabled());
}

TEST(CmdItem, ModeBitsAndPlainBits) {
    CExtCmdItem cmd(1);
    cmd.SetStateBits10And12(true);
    EXPECT_EQ(cmd.m_dwStateFlags, 0x1400u);
    EXPECT_TRUE(cmd.GetStateBit10());
    cmd.SetStateBits10And28(true);
    EXPECT_EQ(cmd.m_dwStateFlags, 0x10000400u);
    EXPECT_FALSE(cmd.GetStateBits10And12());
    EXPECT_TRUE(cmd.GetStateBits10And28());
    cmd.SetStateBit10(true);
    EXPECT_EQ(cmd.m_dwStateFlags, 0x400u);
    cmd.SetStateBit10(false);
    EXPECT_EQ(cmd.m_dwStateFlags, 0u);

    struct Plain {
        DWORD (CExtCmdItem::*set)(bool);
        bool (CExtCmdItem::*get)() const;
        DWORD bit;
    };
    const Plain plain[] = {
        {&CExtCmdItem::SetStateBit6, &CExtCmdItem::GetStateBit6, 0x40},
        {&CExtCmdItem::SetStateBit7, &CExtCmdItem::GetStateBit7, 0x80},
        {&CExtCmdItem::SetStateBit8, &CExtCmdItem::GetStateBit8, 0x100},
        {&CExtCmdItem::SetStateBit9, &CExtCmdItem::GetStateBit9, 0x200},
        {&CExtCmdItem::SetStateBit11, &CExtCmdItem::GetStateBit11, 0x800},
        {&CExtCmdItem::SetStateBit13, &CExtCmdItem::GetStateBit13, 0x2000},
        {&CExtCmdItem::SetStateBit14, &CExtCmdItem::GetStateBit14, 0x4000},
        {&CExtCmdItem::SetStateBit29, &CExtCmdItem::GetStateBit29, 0x20000000},
        {&CExtCmdItem::SetStateBit15, &CExtCmdItem::GetStateBit15, 0x8000},
        {&CExtCmdItem::SetStateBit16, &CExtCmdItem::GetStateBit16, 0x10000},
        {&CExtCmdItem::SetStateBit17, &CExtCmdItem::GetStateBit17, 0x20000},
        {&CExtCmdItem::SetStateBit18, &CExtCmdItem::GetStateBit18, 0x40000},
        {&CExtCmdItem::SetStateBit19, &CExtCmdItem::GetStateBit19, 0x80000},
        {&CExtCmdItem::SetStateBit20, &CExtCmdItem::GetStateBit20, 0x100000},
        {&CExtCmdItem::SetStateBit21, &CExtCmdItem::GetStateBit21, 0x200000},
    };
    for (const Plain& p : plain) {
        CExtCmdItem item(1);
        EXPECT_EQ((item.*p.set)(true), p.bit) << std::hex << p.bit;
        EXPECT_TRUE((item.*p.get)()) << std::hex << p.bit;
        EXPECT_EQ((item.*p.set)(false), 0u) << std::hex << p.bit;
        EXPECT_FALSE((item.*p.get)()) << std::hex << p.bit;
    }
    EXPECT_EQ(cmd.SetExStateBit0(true), 1u);
    EXPECT_TRUE(cmd.GetExStateBit0());
    EXPECT_EQ(cmd.m_dwStateFlags, 0u);
}

TEST(CmdItem, FrameworkIdsAreBasicAndNeverNoUsage) {
    CExtCmdItem close(0xF060);
    EXPECT_TRUE(close.IsBasicCommand()) << "even with bit 0x10 clear";
    CExtCmdItem copy(0xE110);
    copy.SetNoUsageCount(true);
    EXPECT_FALSE(copy.IsNoUsageCount()) << "even with bit 0x20 set";
    CExtCmdItem own(100);
    EXPECT_FALSE(own.IsBasicCommand());
    own.SetBasicCommand(true);
    EXPECT_TRUE(own.IsBasicCommand());
    for (UINT id : {0xFF00u, 0xFF09u, 0xE11Fu, 0xF000u, 0xF1EFu, 0xE210u, 0xE21Fu})
        EXPECT_TRUE(CExtCmdItem::stat_IsFrameworkCommand(id)) << std::hex << id;
    for (UINT id : {0xFF0Au, 0xE120u, 0xF1F0u, 0xE220u, 0xE10Fu})
        EXPECT_FALSE(CExtCmdItem::stat_IsFrameworkCommand(id)) << std::hex << id;
}

TEST(CmdItem, AssignForms) {
    CExtCmdItem src(5);
    src.m_nIconIndex = 3;
    src.m_sMenuText = "menu";
    src.m_sToolbarText = "tb";
    src.m_sTipTool = "tip";
    src.m_sTipStatus = "status";
    src.m_sAccelText = "accel";

    CExtCmdItem emptyOnly(5);
    emptyOnly.m_sMenuText = "own";
    emptyOnly.AssignEmptyOnly(src);
    EXPECT_STREQ((LPCTSTR)emptyOnly.m_sMenuText, "own");
    EXPECT_STREQ((LPCTSTR)emptyOnly.m_sTipTool, "tip");
    EXPECT_STREQ((LPCTSTR)emptyOnly.m_sTipStatus, "status");
    EXPECT_STREQ((LPCTSTR)emptyOnly.m_sAccelText, "accel");
    EXPECT_TRUE(emptyOnly.m_sToolbarText.IsEmpty()) << "the toolbar text is never taken";
    EXPECT_EQ(emptyOnly.m_nIconIndex, 3);

    CExtCmdItem nonEmpty(5);
    nonEmpty.m_sMenuText = "own";
    nonEmpty.m_sTipTool = "own tip";
    CExtCmdItem partial(5);
    partial.m_sMenuText = "new";
    nonEmpty.AssignNonEmpty(partial);
    EXPECT_STREQ((LPCTSTR)nonEmpty.m_sMenuText, "new");
    EXPECT_STREQ((LPCTSTR)nonEmpty.m_sTipTool, "own tip");
    EXPECT_EQ(nonEmpty.m_nIconIndex, -1);
}

TEST(CmdItem, TextsFromStringResources) {
    g_CurrentResourceManager.InstallResourceManager(NULL);
    struct Case {
        UINT id;
        bool ok;
        const char* status;
        const char* tip;
    };
    const Case cases[] = {
        {ID_TEST_OPEN, true, "Opens an existing document", "Open"},
        {ID_TEST_COPY, true, "Copies the selection", ""},
        {ID_TEST_EXIT, true, "Quits the program", "Exit"},
        {ID_TEST_BLANKS, false, "", ""},
        {0x7F05, false, "", ""},
        {0, false, "", ""},
        {0x80000001u, false, "", ""},
    };
    for (const Case& c : cases) {
        CExtCmdItem cmd(c.id);
        cmd.m_sTipTool = "old tip";
        cmd.m_sTipStatus = "old status";
        EXPECT_EQ(cmd.LoadTextsFromResource(), c.ok) << std::hex << c.id;
        EXPECT_STREQ((LPCTSTR)cmd.m_sTipStatus, c.status) << std::hex << c.id;
        EXPECT_STREQ((LPCTSTR)cmd.m_sTipTool, c.tip) << std::hex << c.id;
    }
}

TEST(CmdItem, DisplayAndStatusTexts) {
    CExtCmdItem cmd(1);
    cmd.m_sToolbarText = "tb";
    EXPECT_STREQ((LPCTSTR)cmd.GetDisplayText(), "tb");
    cmd.m_sTipTool = "tip";
    EXPECT_STREQ((LPCTSTR)cmd.GetDisplayText(), "tip");
    cmd.m_sMenuText = "menu";
    EXPECT_STREQ((LPCTSTR)cmd.GetDisplayText(), "menu");
    CString s = "x";
    cmd.GetStatusText(s);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CmdItem, UsageCountsThroughTheProfile) {
    CExtCmdProfile profile("usage");
    CExtCmdItem tmp(10);
    ASSERT_TRUE(profile.CmdSetup(tmp));
    tmp.m_nCmdID = 11;
    ASSERT_TRUE(profile.CmdSetup(tmp));
    CExtCmdItem* a = profile.CmdGetPtr(10);
    CExtCmdItem* b = profile.CmdGetPtr(11);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetUsagePercent(), 0u) << "total 0";
    for (int i = 0; i < 3; i++)
        a->IncrementUsage();
    for (int i = 0; i < 4; i++)
        b->IncrementUsage();
    EXPECT_EQ(profile.m_nTotalTickCount, 7u);
    EXPECT_EQ(a->GetUsagePercent(), 42u);
    EXPECT_EQ(a->GetProfileUsageTotal(), 7u);
    EXPECT_EQ(a->SetRarelyUsedThreshold(250), 100u);
    EXPECT_EQ(profile.m_nRarelyUsedPercent, 100u);
    EXPECT_TRUE(a->IsRarelyUsed());
    a->SetRarelyUsedThreshold(10);
    EXPECT_FALSE(a->IsRarelyUsed());

    b->SetNoUsageCount(true);
    b->IncrementUsage();
    EXPECT_EQ(b->GetUsageCount(), 4u) << "no-usage-count items do not count";
    b->ResetUsage();
    EXPECT_EQ(b->GetUsageCount(), 4u) << "nor reset";
    a->SetBasicCommand(true);
    a->IncrementUsage();
    a->ResetUsage();
    EXPECT_EQ(a->GetUsageCount(), 3u);
    EXPECT_EQ(profile.m_nTotalTickCount, 7u);
}

TEST(CmdItem, RarelyUsedJudgement) {
    CExtCmdProfile profile("rare");
    CExtCmdItem tmp(10);
    ASSERT_TRUE(profile.CmdSetup(tmp));
    tmp.m_nCmdID = 11;
    ASSERT_TRUE(profile.CmdSetup(tmp));
    tmp.m_nCmdID = 12;
    ASSERT_TRUE(profile.CmdSetup(tmp));
    CExtCmdItem* a = profile.CmdGetPtr(10);
    CExtCmdItem* b = profile.CmdGetPtr(11);
    CExtCmdItem* c = profile.CmdGetPtr(12);
    ASSERT_TRUE(a && b && c);
    EXPECT_FALSE(a->IsRarelyUsed()) << "nothing counted yet: a fresh profile hides nothing";
    for (int i = 0; i < 20; i++)
        a->IncrementUsage();
    b->IncrementUsage();  // 1 of 21: below the 10 percent threshold
    EXPECT_FALSE(a->IsRarelyUsed());
    EXPECT_TRUE(b->IsRarelyUsed());
    EXPECT_TRUE(c->IsRarelyUsed()) << "never used";
    c->SetNoUsageCount(true);
    EXPECT_FALSE(c->IsRarelyUsed()) << "a command that is never counted cannot become frequent";
    c->SetNoUsageCount(false);
    c->SetBasicCommand(true);
    EXPECT_FALSE(c->IsRarelyUsed()) << "basic commands always show";
    CExtCmdItem sys(0xF060);
    EXPECT_FALSE(sys.IsRarelyUsed());
}

TEST(CmdItem, UsagePercentDoesNotOverflow) {
    CExtCmdProfile profile("big");
    CExtCmdItem tmp(10);
    profile.CmdSetup(tmp);
    CExtCmdItem* a = profile.CmdGetPtr(10);
    a->m_nUsageTickCount = 3000000000u;
    profile.m_nTotalTickCount = 4000000000u;
    EXPECT_EQ(a->GetUsagePercent(), 75u);
}

TEST(CmdItem, UsageIsHalvedNearTheTopOfItsRange) {
    CExtCmdProfile profile("norm");
    CExtCmdItem tmp(10);
    profile.CmdSetup(tmp);
    tmp.m_nCmdID = 11;
    profile.CmdSetup(tmp);
    CExtCmdItem* a = profile.CmdGetPtr(10);
    CExtCmdItem* b = profile.CmdGetPtr(11);
    a->m_nUsageTickCount = 0xFFFFFF00u;
    b->m_nUsageTickCount = 0xFC;
    profile.m_nTotalTickCount = 0xFFFFFFFDu;
    a->IncrementUsage();  // total reaches 0xFFFFFFFE
    EXPECT_EQ(profile.m_nTotalTickCount, 0x7FFFFFFFu);
    EXPECT_EQ(a->GetUsageCount(), 0x7FFFFF80u);
    EXPECT_EQ(b->GetUsageCount(), 0x7Eu);
}

TEST(CmdItem, UsageCountedOnlyForOrdinaryUsedCommands) {
    struct Case {
        UINT id;
        DWORD flags;
        UINT count;
        bool counted;
    };
    const Case cases[] = {
        {100, 0, 1, true},   {100, 0, 0, false},      {100, 0x10, 1, false},
        {100, 0x20, 1, false}, {100, 0x40, 1, false}, {0xF020, 0, 1, false},
    };
    for (const Case& c : cases) {
        CExtCmdItem cmd(c.id);
        cmd.m_dwStateFlags = c.flags;
        cmd.m_nUsageTickCount = c.count;
        EXPECT_EQ(cmd.IsUsageCounted(), c.counted) << std::hex << c.id << " flags " << c.flags << " count " << c.count;
    }
}

namespace {

MsgRecorder* g_pRecorder = nullptr;
bool g_bPumping = false;  // what arrives while the queue is pumped was posted

void PumpPosted() {
    g_bPumping = true;
    testsupport::PumpPending();
    g_bPumping = false;
}

LRESULT CALLBACK RecordingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_pRecorder != nullptr && (msg == WM_COMMAND || msg == WM_SYSCOMMAND)) {
        g_pRecorder->Record(msg, wp, lp, h, "target", g_bPumping);
        return msg == WM_COMMAND ? 1 : 0;
    }
    return ::DefWindowProc(h, msg, wp, lp);
}

HWND CreateTarget(HWND hOwner = NULL, DWORD dwStyle = WS_POPUP) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandle(NULL);
        wc.lpszClassName = "CmdItemDeliveryTarget";
        ::RegisterClassA(&wc);
        registered = true;
    }
    return ::CreateWindowA("CmdItemDeliveryTarget", "", dwStyle, 0, 0, 50, 50, hOwner, NULL,
                           ::GetModuleHandle(NULL), NULL);
}

}  // namespace

TEST(CmdItem, DeliveryPostsCommandsAndSystemCommands) {
    HWND hWnd = CreateTarget();
    ASSERT_NE(hWnd, nullptr);
    MsgRecorder rec;
    g_pRecorder = &rec;
    ::SetCursorPos(37, 41);
    POINT pt;
    ::GetCursorPos(&pt);

    CExtCmdItem cmd(ID_TEST_OPEN);
    EXPECT_TRUE(cmd.Deliver(hWnd));
    CExtCmdItem sys(0xF020);
    EXPECT_TRUE(sys.Deliver(hWnd));
    EXPECT_TRUE(rec.Records().empty()) << "posted, not sent";
    PumpPosted();
    EXPECT_TRUE(rec.Matches({
        {WM_COMMAND, testsupport::kPosted | testsupport::kWParam | testsupport::kLParam, ID_TEST_OPEN, 0},
        {WM_SYSCOMMAND, testsupport::kPosted | testsupport::kWParam | testsupport::kLParam, 0xF020,
         MAKELPARAM(pt.x, pt.y)},
    }));
    EXPECT_EQ(cmd.GetUsageCount(), 1u) << "delivery counts usage";

    rec.Clear();
    EXPECT_TRUE(cmd.Deliver(hWnd, true)) << "the handler answered non-zero";
    EXPECT_TRUE(rec.Matches({{WM_COMMAND, testsupport::kSent | testsupport::kWParam, ID_TEST_OPEN}}));
    EXPECT_FALSE(cmd.Deliver((HWND)NULL));
    EXPECT_FALSE(cmd.Deliver((CWnd*)NULL));
    g_pRecorder = nullptr;
    ::DestroyWindow(hWnd);
}

TEST(CmdItem, DeliveryToOwnerGoesToTheOwnerWindow) {
    HWND hOwner = CreateTarget();
    HWND hOwned = CreateTarget(hOwner);
    ASSERT_TRUE(hOwner && hOwned);
    MsgRecorder rec;
    g_pRecorder = &rec;
    CWnd wnd;
    wnd.Attach(hOwned);
    CExtCmdItem cmd(ID_TEST_COPY);
    EXPECT_TRUE(cmd.DeliverToOwner(&wnd));
    PumpPosted();
    EXPECT_TRUE(rec.Matches({{WM_COMMAND, testsupport::kPosted | testsupport::kWParam | testsupport::kHwnd,
                              ID_TEST_COPY, 0, hOwner}}));
    wnd.Detach();
    EXPECT_FALSE(cmd.DeliverToOwner(NULL));
    g_pRecorder = nullptr;
    ::DestroyWindow(hOwned);
    ::DestroyWindow(hOwner);
}

namespace {

class CUpdateTarget : public CCmdTarget {
public:
    bool m_bHandled = false;
    afx_msg void OnUpdateOpen(CCmdUI* pCmdUI) {
        pCmdUI->Enable(FALSE);
        pCmdUI->SetCheck(2);
        pCmdUI->SetText("Open now");
        m_bHandled = true;
    }
    afx_msg void OnCopy() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpdateTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI(ID_TEST_OPEN, OnUpdateOpen)
    ON_COMMAND(ID_TEST_COPY, OnCopy)
END_MESSAGE_MAP()

}  // namespace

TEST(CmdItem, CommandUiUpdatesLandInTheItem) {
    CUpdateTarget target;
    CExtCmdItem open(ID_TEST_OPEN);
    EXPECT_TRUE(open.DoUpdateCmdUI(&target));
    EXPECT_TRUE(target.m_bHandled);
    EXPECT_FALSE(open.IsEnabled());
    EXPECT_TRUE(open.GetIndeterminate());
    EXPECT_STREQ((LPCTSTR)open.m_sMenuText, "Open now");

    CExtCmdItem copy(ID_TEST_COPY);
    copy.Enable(false);
    EXPECT_FALSE(copy.DoUpdateCmdUI(&target));
    CExtCmdItem paste(ID_TEST_PASTE);
    EXPECT_FALSE(paste.DoUpdateCmdUI(&target));
    EXPECT_FALSE(paste.IsEnabled()) << "no handler at all: disabled";

    CExtCmdItem sys(0xF060);
    sys.Enable(false);
    EXPECT_TRUE(sys.DoUpdateCmdUI(&target));
    EXPECT_TRUE(sys.IsEnabled()) << "system commands are always enabled";

    CExtCmdItemUI ui(&open, 3);
    EXPECT_EQ(ui.m_nID, (UINT)ID_TEST_OPEN);
    EXPECT_EQ(ui.m_nIndex, 3u);
    ui.SetCheck(1);
    EXPECT_TRUE(open.GetCheck());
    ui.SetRadio(TRUE);
    EXPECT_TRUE(open.GetRadio());
    ui.SetText(NULL);
    EXPECT_TRUE(open.m_sMenuText.IsEmpty());
}
