// Themed edits (command enabling and routing, the context menu's rows, colours) and
// combo boxes (multi-column records, column widths, inline completion and the filter
// popup list with its keys).
#include <gtest/gtest.h>
#include "toolkit/dialogs/edit.h"
#include "toolkit/dialogs/combo_box.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"

using namespace testsupport;

namespace {

std::vector<WORD> g_notifications;

LRESULT CALLBACK RecordingParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND)
        g_notifications.push_back(HIWORD(wParam));
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

class EditComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static bool s_bReg = false;
        if (!s_bReg)
        {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = RecordingParentProc;
            wc.hInstance = ::GetModuleHandle(NULL);
            wc.lpszClassName = "EditComboTestParent";
            ::RegisterClassA(&wc);
            s_bReg = true;
        }
        g_notifications.clear();
        HWND h = ::CreateWindowExA(0, "EditComboTestParent", "p", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, NULL,
                                   NULL, ::GetModuleHandle(NULL), NULL);
        ASSERT_TRUE(h != NULL);
        ASSERT_TRUE(m_parent.SubclassWindow(h));
        ::SetActiveWindow(h);
    }
    void TearDown() override
    {
        for (CWnd* p : {(CWnd*)&m_edit, (CWnd*)&m_combo})
            if (p->m_hWnd != NULL)
                p->DestroyWindow();
        m_parent.DestroyWindow();
        PumpPending();
    }
    HWND MakeChild(const char* cls, DWORD dwStyle, const char* text, int cy)
    {
        return ::CreateWindowA(cls, text, WS_CHILD | WS_VISIBLE | dwStyle, 10, 10, 150, cy, m_parent.m_hWnd,
                               (HMENU)(UINT_PTR)41001, ::GetModuleHandle(NULL), NULL);
    }
    void MakeCombo(DWORD dwStyle, std::initializer_list<const char*> items)
    {
        ASSERT_TRUE(m_combo.SubclassWindow(MakeChild("COMBOBOX", dwStyle | WS_VSCROLL, "", 120)));
        for (const char* s : items)
            m_combo.AddString(s);
    }
    CWnd m_parent;
    CExtEdit m_edit;
    CExtComboBox m_combo;
};

}  // namespace

TEST_F(EditComboTest, EditCommandsEnableFromTextSelectionAndReadOnly)
{
    ASSERT_TRUE(m_edit.SubclassWindow(MakeChild("EDIT", ES_AUTOHSCROLL, "hello", 20)));
    struct Case { bool readOnly; int start, end; const char* text; std::vector<bool> enabled; } cases[] = {
        // undo, cut, copy, paste, clear, select all
        {true, 0, 2, "hello", {false, false, true, false, false, true}},
        {false, 0, 2, "hello", {false, true, true, true, true, true}},
        {false, 0, 5, "hello", {false, true, true, true, true, false}},
        {false, 0, 0, "", {false, false, false, true, false, false}},
    };
    const UINT ids[] = {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, ID_EDIT_SELECT_ALL};
    ASSERT_TRUE(::OpenClipboard(m_parent.m_hWnd));
    ::EmptyClipboard();
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 2);
    ::memcpy(::GlobalLock(hText), "x", 2);
    ::GlobalUnlock(hText);
    ::SetClipboardData(CF_TEXT, hText);
    ::CloseClipboard();
    for (const Case& c : cases)
    {
        m_edit.SetWindowText(c.text);
        m_edit.SendMessage(EM_SETREADONLY, c.readOnly);
        m_edit.SendMessage(EM_EMPTYUNDOBUFFER);
        m_edit.SendMessage(EM_SETSEL, c.start, c.end);
        for (int i = 0; i < 6; ++i)
        {
            bool bEnabled = false;
            EXPECT_TRUE(m_edit.QueryCommandEnabled(ids[i], bEnabled));
            EXPECT_EQ(c.enabled[i], bEnabled) << "text '" << c.text << "' command " << std::hex << ids[i];
        }
    }
    // The edit carries out a command that reaches it as WM_COMMAND.
    m_edit.SetWindowText("hello");
    m_edit.SendMessage(EM_SETSEL, 1, 2);
    m_edit.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    DWORD dwSel = (DWORD)m_edit.SendMessage(EM_GETSEL);
    EXPECT_EQ(0, LOWORD(dwSel));
    EXPECT_EQ(5, HIWORD(dwSel));
}

TEST_F(EditComboTest, ContextMenuRowsComeFromTheProfile)
{
    ASSERT_TRUE(m_edit.SubclassWindow(MakeChild("EDIT", ES_AUTOHSCROLL, "x", 20)));
    CExtPopupMenuWnd popup;
    EXPECT_FALSE(m_edit.BuildContextMenu(&popup)) << "no profile bound";
    ASSERT_TRUE(g_CommandManager->ProfileSetup("edit-combo-test", m_parent.m_hWnd));
    ASSERT_TRUE(popup.CreatePopupMenu(m_edit.m_hWnd));
    ASSERT_TRUE(m_edit.BuildContextMenu(&popup));
    const char* texts[] = {"&Undo", "", "Cu&t", "&Copy", "&Paste", "Cl&ear", "", "Select &All"};
    ASSERT_EQ(8, popup.ItemGetCount());
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ(CExtEditBase::g_arrContextMenu[i].m_nCmdID, popup.ItemGetInfo(i).GetCmdID()) << i;
        EXPECT_STREQ(texts[i], popup.ItemGetInfo(i).GetText()) << i;
    }
    g_CommandManager->ProfileDestroy("edit-combo-test", true);
}

TEST_F(EditComboTest, ReadOnlyEditPaintsOnButtonFace)
{
    ASSERT_TRUE(m_edit.SubclassWindow(MakeChild("EDIT", ES_AUTOHSCROLL | ES_READONLY, "", 20)));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    struct Case { bool readOnly; COLORREF stored; COLORREF expected; } cases[] = {
        {true, COLORREF(-1L), pPM->LookupColor(COLOR_BTNFACE)},
        {false, COLORREF(-1L), pPM->LookupColor(COLOR_WINDOW)},
        {false, RGB(1, 2, 3), RGB(1, 2, 3)},
    };
    for (const Case& c : cases)
    {
        m_edit.SendMessage(EM_SETREADONLY, c.readOnly);
        m_edit.m_clrBackground = c.stored;
        DibCanvas canvas(150, 20, RGB(9, 9, 9));
        HBRUSH hBrush = (HBRUSH)m_parent.SendMessage(WM_CTLCOLOREDIT, (WPARAM)canvas.Dc(), (LPARAM)m_edit.m_hWnd);
        ASSERT_TRUE(hBrush != NULL);
        RECT rc = {0, 0, 4, 4};
        ::FillRect(canvas.Dc(), &rc, hBrush);
        EXPECT_EQ(c.expected, canvas.Pixel(1, 1)) << "read-only " << c.readOnly;
        EXPECT_EQ(c.expected, ::GetBkColor(canvas.Dc()));
    }
}

TEST_F(EditComboTest, MultiColumnItemsKeepTheUsersData)
{
    MakeCombo(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, {"one", "two"});
    ASSERT_TRUE(m_combo.IsMultiColumn());
    EXPECT_EQ(0, (int)m_combo.GetItemData(0));
    EXPECT_EQ(0, m_combo.SetItemData(1, 77));
    EXPECT_EQ(77, (int)m_combo.GetItemData(1));
    CExtComboBoxBase::LB_ITEM* pItem = m_combo.GetItemRecord(1);
    ASSERT_TRUE(pItem != NULL);
    ASSERT_EQ(1, pItem->GetCellCount());
    EXPECT_STREQ("two", pItem->CellGet(0)->m_strText);
    EXPECT_EQ(1, pItem->CellInsert("x", 7));
    EXPECT_EQ(0, pItem->CellInsert(NULL, 0));
    EXPECT_STREQ("", pItem->CellGet(0)->m_strText);
    EXPECT_EQ(CB_ERR, (int)m_combo.GetItemData(5));

    struct Case { UINT stored; int answered; } widths[] = {{10, 50}, {0, 0}, {49, 50}, {60, 60}};
    for (int i = 0; i < 4; ++i)
        m_combo.SetColumnWidth(i, widths[i].stored);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(widths[i].answered, m_combo.GetColumnWidth(i)) << "stored " << widths[i].stored;
    EXPECT_EQ(0, m_combo.GetColumnWidth(9));
    m_combo.DeleteString(0);
    EXPECT_EQ(77, (int)m_combo.GetItemData(0));
}

TEST_F(EditComboTest, FilterPopupListsItemsAfterUrlPrefixes)
{
    MakeCombo(CBS_DROPDOWN, {"http://www.alpha", "ftp://beta", "Alpha"});
    struct Case { const char* typed; std::vector<const char*> listed; } cases[] = {
        {"al", {"http://www.alpha", "Alpha"}},
        {"BE", {"ftp://beta"}},
        {"www.", {}},
        {"http", {}},
        {"", {}},
    };
    for (const Case& c : cases)
    {
        m_combo.FilterPopupShow(c.typed);
        CExtComboBoxFilterPopupListBox* pPopup = m_combo.GetFilterPopup();
        if (c.listed.empty())
        {
            EXPECT_TRUE(pPopup == NULL) << "typed '" << c.typed << "'";
            continue;
        }
        ASSERT_TRUE(pPopup != NULL) << c.typed;
        ASSERT_EQ((int)c.listed.size(), pPopup->GetCount()) << c.typed;
        for (int i = 0; i < pPopup->GetCount(); ++i)
        {
            CString s;
            pPopup->GetText(i, s);
            EXPECT_STREQ(c.listed[i], s) << c.typed;
        }
    }
}

TEST_F(EditComboTest, EnterInThePopupPicksTheMatchingOccurrence)
{
    MakeCombo(CBS_DROPDOWN, {"x", "y", "x"});
    m_combo.SetItemData(0, 1);
    m_combo.SetItemData(2, 2);
    HWND hEdit = m_combo.m_wndInnerEdit.m_hWnd;
    ASSERT_TRUE(hEdit != NULL);
    ::SetFocus(hEdit);
    m_combo.FilterPopupShow("x");
    ASSERT_TRUE(m_combo.GetFilterPopup() != NULL);
    ASSERT_EQ(2, m_combo.GetFilterPopup()->GetCount());
    MSG msg = {hEdit, WM_KEYDOWN, VK_DOWN, 0, 0, {0, 0}};
    EXPECT_TRUE(m_combo.PreTranslateMessage(&msg));
    EXPECT_TRUE(m_combo.PreTranslateMessage(&msg));
    EXPECT_EQ(2, m_combo.GetCurSel()) << "moving selects the matching combo item";
    msg.wParam = VK_RETURN;
    EXPECT_TRUE(m_combo.PreTranslateMessage(&msg));
    EXPECT_TRUE(m_combo.GetFilterPopup() == NULL);
    EXPECT_EQ(2, m_combo.GetCurSel());
    ASSERT_FALSE(g_notifications.empty());
    EXPECT_EQ(CBN_SELENDOK, g_notifications.back());
    EXPECT_GT(m_combo.m_nSavedPopupWidth, 0) << "the popup's size is kept for next time";

    // Enter with no selection picks the first item; Esc just closes; a button let go on
    // the scroll bar picks nothing.
    m_combo.FilterPopupShow("x");
    ASSERT_TRUE(m_combo.GetFilterPopup() != NULL);
    m_combo.GetFilterPopup()->SendMessage(WM_NCLBUTTONUP, HTVSCROLL, 0);
    ASSERT_TRUE(m_combo.GetFilterPopup() != NULL);
    msg.wParam = VK_ESCAPE;
    EXPECT_TRUE(m_combo.PreTranslateMessage(&msg));
    EXPECT_TRUE(m_combo.GetFilterPopup() == NULL);
    m_combo.FilterPopupShow("x");
    msg.wParam = VK_RETURN;
    EXPECT_TRUE(m_combo.PreTranslateMessage(&msg));
    EXPECT_EQ(0, m_combo.GetCurSel());
}

TEST_F(EditComboTest, InlineCompletionSelectsTheCompletedTail)
{
    MakeCombo(CBS_DROPDOWN, {"alpha", "beta"});
    HWND hEdit = m_combo.m_wndInnerEdit.m_hWnd;
    ASSERT_TRUE(hEdit != NULL);
    ::SetFocus(hEdit);
    struct Case { int key; const char* typed; const char* shown; int selStart, selEnd; } cases[] = {
        {'B', "be", "beta", 2, 4},
        {VK_BACK, "b", "b", 1, 1},
        {'Q', "q", "q", 1, 1},
    };
    for (const Case& c : cases)
    {
        MSG msg = {hEdit, WM_KEYDOWN, (WPARAM)c.key, 0, 0, {0, 0}};
        m_combo.PreTranslateMessage(&msg);
        ::SetWindowTextA(hEdit, c.typed);
        ::SendMessage(hEdit, EM_SETSEL, strlen(c.typed), strlen(c.typed));
        m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(41001, CBN_EDITUPDATE), (LPARAM)m_combo.m_hWnd);
        char sText[32] = {0};
        ::GetWindowTextA(hEdit, sText, 32);
        EXPECT_STREQ(c.shown, sText) << c.typed;
        DWORD dwSel = (DWORD)::SendMessage(hEdit, EM_GETSEL, 0, 0);
        EXPECT_EQ(c.selStart, LOWORD(dwSel)) << c.typed;
        EXPECT_EQ(c.selEnd, HIWORD(dwSel)) << c.typed;
    }
    MSG sys = {hEdit, WM_SYSCHAR, 'a', 0, 0, {0, 0}};
    EXPECT_TRUE(m_combo.PreTranslateMessage(&sys)) << "swallowed while completion is on";
}

TEST_F(EditComboTest, DisabledDropDownKeepsItsEditEnabledButReadOnly)
{
    MakeCombo(CBS_DROPDOWN, {"a"});
    HWND hEdit = m_combo.m_wndInnerEdit.m_hWnd;
    ASSERT_TRUE(hEdit != NULL);
    m_combo.EnableWindow(FALSE);
    EXPECT_TRUE(::IsWindowEnabled(hEdit));
    EXPECT_NE(0, ::GetWindowLong(hEdit, GWL_STYLE) & ES_READONLY);
    m_combo.EnableWindow(TRUE);
    EXPECT_EQ(0, ::GetWindowLong(hEdit, GWL_STYLE) & ES_READONLY);
}

TEST_F(EditComboTest, ComboFrameRingsFollowHoverAndEnabling)
{
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    MakeCombo(CBS_DROPDOWNLIST, {"a"});
    ::SetCursorPos(0, 0);
    ::SetFocus(m_parent.m_hWnd);
    const COLORREF face = pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT);
    const COLORREF normal = pPM->LookupColor(CExtPaintManager::XPCLR_3DFACE_NORMAL);
    const COLORREF hot = pPM->LookupColor(CExtPaintManager::XPCLR_HILIGHT_BORDER);
    struct Case { bool enabled, hover, focused; COLORREF ring; const char* name; } cases[] = {
        {true, false, false, normal, "idle"},
        {true, true, false, hot, "hovered"},
        {true, false, true, hot, "focus within, cursor away"},
        {false, true, false, normal, "disabled ignores hover"},
    };
    for (const Case& c : cases)
    {
        m_combo.EnableWindow(c.enabled);
        if (c.focused)
            m_combo.SetFocus();
        DibCanvas canvas(150, 30, RGB(1, 1, 1));
        CDC* pDC = CDC::FromHandle(canvas.Dc());
        m_combo.PaintFrame(false, c.hover, pDC);
        EXPECT_EQ(face, canvas.Pixel(0, 0)) << c.name;
        EXPECT_EQ(c.ring, canvas.Pixel(1, 1)) << c.name;
        ::SetFocus(m_parent.m_hWnd);
    }
}
