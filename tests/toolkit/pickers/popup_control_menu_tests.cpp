#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/mouse_input.h"
#include "support/msg_recorder.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/pickers/date_picker_header_popup.h"
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

// A click made on the picker's month list passes through the menu to the list; one made
// beside it is the menu's (a press outside closes it). Each is judged where the hand made
// it, whatever the pointer does before the menu's thread takes it (the thread is held:
// it takes nothing until the hand is done). The list lies beside the menu here, over a
// window of this program.
TEST_F(PopupControlMenuTest, AClickOnTheMonthListIsJudgedWhereTheHandMadeIt)
{
    HWND hBackdrop = ::CreateWindowA("STATIC", "", WS_POPUP | SS_NOTIFY, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    const struct {
        const char* what;
        bool bOnList, bTracking;
    } cases[] = {
        {"clicked on the list, the pointer moved onto the window beside it", true, true},
        {"clicked on the window beside the list, the pointer moved onto the list", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CExtPopupDatePickerMenuWnd* pMenu = new CExtPopupDatePickerMenuWnd(9);
        ASSERT_TRUE(Track(pMenu));
        CExtDatePickerWnd* pPicker =
            DYNAMIC_DOWNCAST(CExtDatePickerWnd, CWnd::FromHandlePermanent(pMenu->m_hWndChildControl));
        ASSERT_NE(nullptr, pPicker);
        CRect rcMenu;
        pMenu->GetWindowRect(&rcMenu);
        ::SetWindowPos(hBackdrop, NULL, rcMenu.right + 20, rcMenu.top, 300, 300,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        CExtDatePickerHeaderPopupWnd* pList = new CExtDatePickerHeaderPopupWnd(pPicker, false);
        CSize size;
        pList->GetWindowSize(size, false);
        ASSERT_TRUE(pList->CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(CS_SAVEBITS), _T(""), WS_POPUP,
                                    rcMenu.right + 40, rcMenu.top + 10, size.cx, size.cy, hBackdrop,
                                    NULL));
        const HWND hList = pList->GetSafeHwnd();
        ::ShowWindow(hList, SW_SHOWNA);
        PumpPending();
        CRect rcList;
        ::GetWindowRect(hList, &rcList);
        const CPoint ptList = rcList.CenterPoint(), ptBeside(ptList.x, rcList.bottom + 30);
        const CPoint ptClick = c.bOnList ? ptList : ptBeside, ptAfter = c.bOnList ? ptBeside : ptList;
        testsupport::MsgRecorder rec;
        rec.Only({WM_LBUTTONDOWN});
        rec.Watch(hList);
        rec.HookThread();
        testsupport::SendMouse(0, ptClick);
        testsupport::SendMouse(MOUSEEVENTF_LEFTDOWN, ptClick);
        testsupport::SendMouse(MOUSEEVENTF_LEFTUP, ptClick);
        testsupport::SendMouse(0, ptAfter);
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        rec.Unhook();
        EXPECT_EQ(c.bTracking, CExtPopupMenuWnd::IsMenuTracking());
        EXPECT_EQ(c.bOnList ? 1u : 0u, rec.Count(WM_LBUTTONDOWN)) << "the press reached the list";
        ::DestroyWindow(hList);  // the list deletes itself
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
    ::DestroyWindow(hBackdrop);
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

TEST_F(PopupControlMenuTest, AnUndoRedoNodeOfACommandTreeOpensTheUndoRedoList)
{
    // Cookie 5, list 120 x 200 from the node's first and third extra values.
    CExtCustomizeCmdTreeNode root;
    root.InsertNode(NULL, new CExtCustomizeCmdTreeNode(0x7A01, 0x7A01, NULL, 0x100000, NULL, "&Undo", NULL, 5, NULL,
                                                       120, -2, 200));
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
    ASSERT_TRUE(pMenu->BuildFromCmdTree(m_hWndRecv, &root));
    ASSERT_EQ(1, pMenu->ItemGetCount());
    EXPECT_STREQ("&Undo", pMenu->ItemGetText(0));
    CExtPopupUndoRedoMenuWnd* pList = DYNAMIC_DOWNCAST(CExtPopupUndoRedoMenuWnd, pMenu->ItemGetPopup(0));
    ASSERT_TRUE(pList != NULL);
    EXPECT_EQ(pMenu, pList->GetParentMenu());
    EXPECT_EQ(5, pList->m_lParamCookie);
    EXPECT_EQ(0x50200068u, pList->m_dwListBoxStyles);
    EXPECT_EQ(120, pList->m_sizeChildControl.cx);
    EXPECT_EQ(200, pList->m_sizeChildControl.cy);
    // Right on the item opens the list, which asks the receiver for its actions. (The
    // command behind the node is in no profile: not hidden as rarely used here.)
    const bool bHide = CExtPopupMenuWnd::g_bHideRarelyUsedItems;
    CExtPopupMenuWnd::g_bHideRarelyUsedItems = false;
    const BOOL bTracked = pMenu->TrackPopupMenu(kFlags, 300, 200);
    CExtPopupMenuWnd::g_bHideRarelyUsedItems = bHide;
    ASSERT_TRUE(bTracked);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return pMenu->IsAnimationDone(); }, 5000));
    bool bNoEat = false;
    pMenu->OnKeyDown(VK_DOWN, 1, 0, bNoEat);
    pMenu->OnKeyDown(VK_RIGHT, 1, 0, bNoEat);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return pList->m_hWndChildControl != NULL; }));
    EXPECT_EQ(3, (int)::SendMessage(pList->m_hWndChildControl, LB_GETCOUNT, 0, 0));
    EXPECT_NE(std::string::npos, Events().find("init(5)"));

    // With a customize site the list reports to it and draws and measures the items the
    // site leaves to it; the receiver hears nothing of them.
    struct ListSite : CExtCustomizeSite {
        CExtCustomizeCmdTreeNode* m_pChosen = NULL;
        CRect GetPopupListTextMargin(CExtCustomizeCmdTreeNode*) override { return CRect(2, 1, 2, 1); }
        bool OnPopupListSelEndOK(CExtCustomizeCmdTreeNode* pNode, HWND) override
        {
            m_pChosen = pNode;
            return true;
        }
    } site;
    const HWND hWndList = pList->m_hWndChildControl;
    CExtCustomizeSite::g_CustomizeSitesMap.SetAt(hWndList, &site);
    g_events.clear();
    CRect rcClient;
    ::GetClientRect(hWndList, &rcClient);
    CExtPaintManager* pPM = pList->GetPaintManager();
    testsupport::DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(255, 0, 255));
    // {item, state, colour of the item's corner, colour of the list's last row}
    const struct { UINT nItem, nState; int nItemColor, nBottomColor; } draws[] = {
        {0, ODS_SELECTED, COLOR_HIGHLIGHT, -1}, {2, 0, COLOR_WINDOW, COLOR_WINDOW}};
    for (const auto& d : draws) {
        DRAWITEMSTRUCT dis = {ODT_LISTBOX, 0, d.nItem, ODA_DRAWENTIRE, d.nState, hWndList, canvas.Dc(),
                              {0, 0, rcClient.Width(), 16}, 0};
        ::SendMessage(hWndList, WM_DRAWITEM, 0, (LPARAM)&dis);
        EXPECT_EQ(pPM->LookupColor(d.nItemColor), canvas.Pixel(rcClient.Width() - 1, 0)) << "item " << d.nItem;
        EXPECT_EQ(d.nBottomColor < 0 ? RGB(255, 0, 255) : pPM->LookupColor(d.nBottomColor),
                  canvas.Pixel(0, rcClient.Height() - 1)) << "item " << d.nItem;
    }
    MEASUREITEMSTRUCT mis = {ODT_LISTBOX, 0, 1, 0, 0, 0};
    ::SendMessage(hWndList, WM_MEASUREITEM, 0, (LPARAM)&mis);
    CClientDC dc(CWnd::FromHandle(hWndList));
    CFont* pOld = dc.SelectObject(&pPM->m_FontNormal);
    const CSize sizeText = dc.GetTextExtent(CString("beta"));
    dc.SelectObject(pOld);
    EXPECT_EQ(UINT(sizeText.cx + 4), mis.itemWidth);
    EXPECT_EQ(UINT(sizeText.cy + 2), mis.itemHeight);
    static_cast<CExtPopupInplaceListBox*>(CWnd::FromHandlePermanent(hWndList))->AcceptSelection();
    EXPECT_EQ(root.ElementAt(0), site.m_pChosen);
    EXPECT_EQ("", Events());
    CExtCustomizeSite::g_CustomizeSitesMap.RemoveKey(hWndList);
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
