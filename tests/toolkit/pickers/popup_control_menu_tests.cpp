#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/message_pump.h"
#include "toolkit/pickers/popup_control_menu.h"
#include "toolkit/pickers/popup_undo_redo.h"

using testsupport::PumpPending;

namespace {

const UINT kFlags = CExtPopupMenuWnd::TMF_NO_CMD_UI | CExtPopupMenuWnd::TMF_NO_ANIMATION |
                    CExtPopupMenuWnd::TMF_NO_SHADOW;

struct Event {
    std::string name;
    LPARAM value;
};
std::vector<Event> g_events;
bool g_bHandleInCallback = false;

LRESULT CALLBACK ReceiverProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    typedef CExtPopupInplaceListBox LB;
    if (m == LB::g_nMsgPopupListBoxInitContent) {
        CExtPopupInplaceListBox* pList = reinterpret_cast<CExtPopupInplaceListBox*>(w);
        for (const char* s : {"alpha", "beta", "gamma"})
            pList->AddString(s);
        g_events.push_back({"init", l});
        return 0;
    }
    const struct { UINT msg; const char* name; } lists[] = {{LB::g_nMsgPopupListBoxSelChange, "change"},
                                                            {LB::g_nMsgPopupListBoxSelEndOK, "ok"},
                                                            {LB::g_nMsgPopupListBoxSelEndCancel, "cancel"}};
    for (const auto& e : lists)
        if (m == e.msg) {
            g_events.push_back({e.name, reinterpret_cast<LB::LB_NOTIFICATION*>(w)->m_lParamItem});
            return 0;
        }
    if (m == LB::g_nMsgPopupListBoxItemMeasure) {
        reinterpret_cast<LPMEASUREITEMSTRUCT>(reinterpret_cast<LB::LB_NOTIFICATION*>(w)->m_lParamItem)->itemHeight = 21;
        g_events.push_back({"measure", l});
        return 0;
    }
    if (m == LB::g_nMsgPopupListBoxItemDraw) {
        g_events.push_back({"draw", (LPARAM)reinterpret_cast<LPDRAWITEMSTRUCT>(
                                        reinterpret_cast<LB::LB_NOTIFICATION*>(w)->m_lParamItem)->itemID});
        return 0;
    }
    if (m == CExtPopupInplaceDatePicker::g_nMsgPopupDatePickerInitContent) {
        g_events.push_back({"picker init", l});
        return 0;
    }
    if (m == CExtDatePickerWnd::g_nMsgSelectionNotification) {
        auto* p = reinterpret_cast<CExtDatePickerWnd::SELECTIONNOTIFICATION*>(w);
        g_events.push_back({p->m_bFinalSelectionChanging ? "picked final" : "picked", p->m_dtEnd.GetDay()});
        return 0;
    }
    return ::DefWindowProcA(h, m, w, l);
}

bool SelectionCallback(CExtPopupInplaceListBox&, LPVOID pCookie, int eSAT)
{
    g_events.push_back({"callback", eSAT * 100 + (LPARAM)pCookie});
    return g_bHandleInCallback;
}

class PopupControlMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "PopupControlMenuReceiver";
        ::RegisterClassA(&wc);
        m_hWndRecv = ::CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        g_events.clear();
        g_bHandleInCallback = false;
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        ::DestroyWindow(m_hWndRecv);
    }
    bool Track(CExtPopupControlMenuWnd* pMenu)
    {
        if (!pMenu->CreatePopupMenu(m_hWndRecv) || !pMenu->TrackPopupMenu(kFlags, 300, 200)) {
            delete pMenu;
            return false;
        }
        PumpPending();
        return true;
    }
    std::string Events() const
    {
        std::string s;
        for (const auto& e : g_events)
            s += e.name + "(" + std::to_string(e.value) + ") ";
        return s;
    }
    HWND m_hWndRecv = NULL;
};

TEST_F(PopupControlMenuTest, ListBoxKeysSendChangeThenOkAndClose)
{
    struct { UINT vk; const char* expected; } cases[] = {
        {VK_RETURN, "init(5) change(0) change(1) ok(1) "},
        {VK_ESCAPE, "init(5) change(0) change(1) cancel(1) "}};
    for (const auto& c : cases) {
        g_events.clear();
        CExtPopupListBoxMenuWnd* pMenu = new CExtPopupListBoxMenuWnd(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 5);
        pMenu->m_sizeChildControl.cx = 120;
        pMenu->m_sizeChildControl.cy = 80;
        ASSERT_TRUE(Track(pMenu));
        HWND hWndMenu = pMenu->GetSafeHwnd();
        CRect rcList;
        ::GetWindowRect(pMenu->m_hWndChildControl, &rcList);
        EXPECT_EQ(CSize(120, 80), rcList.Size());
        bool bNoEat = false;
        pMenu->OnKeyDown(VK_DOWN, 1, 0, bNoEat);
        pMenu->OnKeyDown(VK_DOWN, 1, 0, bNoEat);
        pMenu->OnKeyDown(c.vk, 1, 0, bNoEat);  // Esc closes the menu, whose list then cancels
        PumpPending();
        EXPECT_EQ(c.expected, Events()) << "key " << c.vk;
        EXPECT_FALSE(::IsWindow(hWndMenu) && ::IsWindowVisible(hWndMenu) && c.vk == VK_RETURN) << "key " << c.vk;
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
}

TEST_F(PopupControlMenuTest, OwnerDrawnListAsksTheReceiverToMeasureAndDraw)
{
    CExtPopupListBoxMenuWnd* pMenu = new CExtPopupListBoxMenuWnd();
    ASSERT_TRUE(Track(pMenu));
    EXPECT_EQ(21, (int)::SendMessage(pMenu->m_hWndChildControl, LB_GETITEMHEIGHT, 1, 0));
    g_events.clear();
    ::RedrawWindow(pMenu->m_hWndChildControl, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ("draw(0) draw(1) draw(2) ", Events());
}

TEST_F(PopupControlMenuTest, CallbackThatHandlesSuppressesTheMessage)
{
    for (bool bHandle : {true, false}) {
        g_events.clear();
        g_bHandleInCallback = bHandle;
        CExtPopupListBoxMenuWnd* pMenu = new CExtPopupListBoxMenuWnd(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS);
        pMenu->m_pCbListBoxSelection = SelectionCallback;
        pMenu->m_pSelectionCookie = (LPVOID)7;
        ASSERT_TRUE(Track(pMenu));
        bool bNoEat = false;
        pMenu->OnKeyDown(VK_DOWN, 1, 0, bNoEat);
        pMenu->OnKeyDown(VK_RETURN, 1, 0, bNoEat);
        PumpPending();
        EXPECT_EQ(bHandle ? "init(0) callback(7) callback(107) "
                          : "init(0) callback(7) change(0) callback(107) ok(0) ",
                  Events());
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
}

TEST_F(PopupControlMenuTest, DatePickerMenuHostsAPickerThatTakesTheKeys)
{
    CExtPopupDatePickerMenuWnd* pMenu = new CExtPopupDatePickerMenuWnd(9);
    CExtDatePickerWnd wndMeasure;
    wndMeasure.ModifyStyle(0xFFFFFFFF, 7703, false);
    EXPECT_EQ(wndMeasure.CalcSize(CSize(1, 1)), CSize(pMenu->m_sizeChildControl));
    ASSERT_TRUE(Track(pMenu));
    CExtDatePickerWnd* pPicker =
        DYNAMIC_DOWNCAST(CExtDatePickerWnd, CWnd::FromHandlePermanent(pMenu->m_hWndChildControl));
    ASSERT_NE(nullptr, pPicker);
    pPicker->SelectionSet(COleDateTime(2024, 5, 10, 0, 0, 0), COleDateTime(2024, 5, 10, 0, 0, 0), false, false);
    g_events.clear();
    bool bNoEat = false;
    pMenu->OnKeyDown(VK_RIGHT, 1, 0, bNoEat);
    pMenu->OnKeyDown(VK_RETURN, 1, 0, bNoEat);
    PumpPending();
    // The selection change itself notifies, then the key handler (not final in a popup).
    EXPECT_EQ("picked(11) picked(11) picked final(11) ", Events());
}

TEST_F(PopupControlMenuTest, UndoRedoSelectionRunsFromTheFirstActionAndCountsInTheCaption)
{
    CExtPopupUndoRedoMenuWnd* pMenu =
        new CExtPopupUndoRedoMenuWnd(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_HASSTRINGS | LBS_MULTIPLESEL);
    ASSERT_TRUE(Track(pMenu));
    CRect rcList;
    ::GetWindowRect(pMenu->m_hWndChildControl, &rcList);
    pMenu->ScreenToClient(&rcList);
    const CRect rcCaption(pMenu->m_rcCaption);
    EXPECT_EQ(rcList.left, rcCaption.left);
    EXPECT_EQ(rcList.right, rcCaption.right);
    EXPECT_EQ(pMenu->m_rcChildControl.bottom, rcCaption.top);  // under the asked size, not the integral list
    EXPECT_EQ(24, rcCaption.Height());
    bool bNoEat = false;
    struct { UINT vk; const char* caption; } keys[] = {
        {VK_DOWN, "Undo 1 Actions"}, {VK_DOWN, "Undo 2 Actions"}, {VK_END, "Undo 3 Actions"},
        {VK_UP, "Undo 2 Actions"},   {VK_HOME, "Undo 1 Actions"}};
    for (const auto& k : keys) {
        pMenu->OnKeyDown(k.vk, 1, 0, bNoEat);
        EXPECT_EQ(CString(k.caption), pMenu->GetCaptionText()) << "key " << k.vk;
        EXPECT_EQ(1, (int)::SendMessage(pMenu->m_hWndChildControl, LB_GETSEL, 0, 0)) << "key " << k.vk;
    }
    // The pointer over the third action selects the first three.
    CRect rcItem;
    ::SendMessage(pMenu->m_hWndChildControl, LB_GETITEMRECT, 2, (LPARAM)&rcItem);
    ::SendMessage(pMenu->m_hWndChildControl, WM_MOUSEMOVE, 0, MAKELPARAM(rcItem.left + 2, rcItem.top + 2));
    EXPECT_EQ(CString("Undo 3 Actions"), pMenu->GetCaptionText());
    g_events.clear();
    ::SendMessage(pMenu->m_hWndChildControl, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcItem.left + 2, rcItem.top + 2));
    ::SendMessage(pMenu->m_hWndChildControl, WM_LBUTTONUP, 0, MAKELPARAM(rcItem.left + 2, rcItem.top + 2));
    PumpPending();
    // The record carries the caret; the count of actions is the list's selected count.
    EXPECT_EQ("ok(0) ", Events());
}

TEST_F(PopupControlMenuTest, TheWheelGoesOnOnlyWhenTheListScrolled)
{
    CExtPopupListBoxMenuWnd* pMenu =
        new CExtPopupListBoxMenuWnd(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT);
    pMenu->m_sizeChildControl.cy = 12;  // one item shown of three
    ASSERT_TRUE(Track(pMenu));
    const HWND hList = pMenu->m_hWndChildControl;
    int nLines = g_CurrentPaintManager.GetWheelLinesPerNotch();
    if (nLines > 2)
        --nLines;
    // The tracking hook answers true when it eats the wheel: when the list did not move.
    struct { short nDelta; int nTop; bool bEaten; } steps[] = {
        {-WHEEL_DELTA, std::min(nLines, 2), false},
        {-WHEEL_DELTA, std::min(2 * nLines, 2), nLines >= 2},
        {WHEEL_DELTA, std::max(0, std::min(2 * nLines, 2) - nLines), false},
        {WHEEL_DELTA, 0, nLines >= 2}};
    for (const auto& st : steps) {
        MOUSEHOOKSTRUCTEX hook = {};
        ::GetCursorPos(&hook.pt);
        hook.hwnd = hList;
        hook.mouseData = (DWORD)MAKELONG(0, st.nDelta);
        const bool bEaten = pMenu->GetTrackingSite().OnMouseHookEvent(WM_MOUSEWHEEL, &hook);
        EXPECT_EQ(st.nTop, (int)::SendMessage(hList, LB_GETTOPINDEX, 0, 0)) << st.nDelta;
        EXPECT_EQ(st.bEaten, bEaten) << st.nDelta;
    }
}

}  // namespace
