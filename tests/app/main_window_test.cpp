// The program end to end: the application object starts the real main dialog over a
// registry sandbox seeded with Uninstall entries (one of them removed by a real small
// uninstaller), and the test drives it from inside its modal loop with messages and
// SendInput, then checks what the close stored. A screenshot of the main window goes
// into the build folder.
#include "main_window_fixture.h"
#include "owned_box.h"
#include "app/purgelet_dlg.h"
#include "app/ui_manager.h"
#include "catalogue/catalogue.h"
#include "catalogue/groups.h"
#include "catalogue/options.h"
#include "catalogue/program_entry.h"
#include "framework/afxres.h"
#include "res/resource.h"
#include "support/dib_canvas.h"
#include "support/import_patch.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <gtest/gtest.h>
#include <shellapi.h>
#include <atomic>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

using mainwindowtest::BarButton;
using mainwindowtest::ClipboardText;
using mainwindowtest::CommandEnabled;
using mainwindowtest::FocusIn;
using mainwindowtest::kOptionsKey;
using mainwindowtest::List;
using mainwindowtest::Pump;
using mainwindowtest::PumpUntil;
using mainwindowtest::ReadFile;
using mainwindowtest::SelectedRowText;
using mainwindowtest::TestFolder;
using mainwindowtest::UninstallerMarkerPath;
using ownedbox::BoxWatcher;
using ownedbox::Press;
using realinput::ClickAt;
using realinput::ClickIn;
using realinput::ScreenPixel;
using realinput::Tap;
using realinput::TapWith;
using testsupport::RegistrySandbox;

namespace {

const char kEventName[] = "PurgeletMainWindowTestUninstall";

class MainWindowTest : public mainwindowtest::NoGroupsFixture
{
protected:
    void SetUp() override
    {
        NoGroupsFixture::SetUp();
        if (HasFatalFailure()) return;
        ::DeleteFileA(UninstallerMarkerPath().c_str());
        m_uninstaller = TestFolder() + "test_uninstaller.exe";
    }
    void TearDown() override
    {
        NoGroupsFixture::TearDown();
        ::DeleteFileA(UninstallerMarkerPath().c_str());
    }
    void Seed(HKEY root, const std::string& key, const char* name, const std::string& uninstall,
              const char* location = NULL)
    {
        const std::string path = UninstallKeyPath + key;
        ASSERT_TRUE(RegistrySandbox::SetString(root, path, "DisplayName", name));
        ASSERT_TRUE(RegistrySandbox::SetString(root, path, "Publisher", "Corvalin Labs"));
        if (!uninstall.empty()) {
            ASSERT_TRUE(RegistrySandbox::SetString(root, path, "UninstallString", uninstall));
        }
        if (location != NULL) {
            ASSERT_TRUE(RegistrySandbox::SetString(root, path, "InstallLocation", location));
        }
    }
    std::string m_uninstaller;
};

CString Status(CPurgeletDlg& dlg) { return dlg.m_wndStatusBar.GetPaneText(0); }

bool SelectProgram(CPurgeletDlg& dlg, const char* name)
{
    LVFINDINFO find = {};
    find.flags = LVFI_STRING;
    find.psz = name;
    int nItem = List(dlg).FindItem(&find);
    if (nItem < 0) return false;
    List(dlg).SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ProgramEntry* pSelected = CUiManager::GetInstance()->GetSelectedProgram();
    return pSelected != NULL && pSelected->DisplayName == name;
}

CExtBarButton* GroupButton(CPageUninstallGroups& groups, UINT nID) { return BarButton(groups.m_wndToolBar, nID); }

// Pixels of the theme's text colour in the left part of the status pane, where its text
// goes.
int StatusTextPixels(CPurgeletDlg& dlg)
{
    CRect rcPane;
    dlg.m_wndStatusBar.GetPanePaintRect(0, rcPane);
    dlg.m_wndStatusBar.ClientToScreen(&rcPane);
    const COLORREF clrText = g_CurrentPaintManager.GetPM()->LookupColor(COLOR_BTNTEXT);
    int nCount = 0;
    HDC hScreen = ::GetDC(NULL);
    for (int y = rcPane.top; y < rcPane.bottom; ++y)
        for (int x = rcPane.left; x < rcPane.left + 100; ++x)
            if (::GetPixel(hScreen, x, y) == clrText) ++nCount;
    ::ReleaseDC(NULL, hScreen);
    return nCount;
}

// Paints every window of the dialog now and waits until nothing is left to paint, so
// the screen shows what the user sees.
bool PaintAll(CPurgeletDlg& dlg)
{
    ::RedrawWindow(dlg.GetSafeHwnd(), NULL, NULL,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return PumpUntil([] { return !mainwindowtest::QueueHolds(QS_PAINT); });
}

// Takes a screenshot of the dialog, stores it as a bitmap file and hands the picture back
// for its pixels to be read.
std::unique_ptr<testsupport::DibCanvas> SaveScreenshot(CPurgeletDlg& dlg, const std::string& path)
{
    CRect rc;
    dlg.GetWindowRect(&rc);
    std::unique_ptr<testsupport::DibCanvas> shot(new testsupport::DibCanvas(rc.Width(), rc.Height()));
    HDC hScreen = ::GetDC(NULL);
    ::BitBlt(shot->Dc(), 0, 0, rc.Width(), rc.Height(), hScreen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(NULL, hScreen);
    ::GdiFlush();
    const BITMAPINFOHEADER bih = testsupport::TopDown32Info(rc.Width(), rc.Height()).bmiHeader;
    DWORD cbBits = (DWORD)rc.Width() * rc.Height() * 4;
    BITMAPFILEHEADER bfh = {0x4D42, (DWORD)(sizeof(bfh) + sizeof(bih) + cbBits), 0, 0, sizeof(bfh) + sizeof(bih)};
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write((const char*)&bfh, sizeof(bfh));
    out.write((const char*)&bih, sizeof(bih));
    out.write((const char*)shot->Bits(), cbBits);
    return shot;
}

// Pixels of one colour in a rectangle (screen coordinates) of a screenshot of the dialog.
int ScreenshotPixels(CPurgeletDlg& dlg, const testsupport::DibCanvas& shot, CRect rc, COLORREF clr)
{
    CRect rcWindow;
    dlg.GetWindowRect(&rcWindow);
    rc.OffsetRect(-rcWindow.left, -rcWindow.top);
    return shot.Count(clr, rc);
}

}  // namespace

TEST_F(MainWindowTest, TheProgramListsFiltersRunsRemovesAndStoresOnClose)
{
    const std::string uninstallKey = m_box.Path() + "\\HKCU\\" + UninstallKeyPath + "Alpha";
    Seed(HKEY_CURRENT_USER, "Alpha", "Alpha Editor",
         "\"" + m_uninstaller + "\" \"" + uninstallKey + "\" " + kEventName, m_uninstaller.c_str());
    Seed(HKEY_CURRENT_USER, "Beta", "Beta Viewer", "beta_remove.exe");
    Seed(HKEY_CURRENT_USER, "Gamma", "Gamma Tools", "");
    Seed(HKEY_CURRENT_USER, "Delta", "Delta Player", "delta_remove.exe");
    // A key with a subkey cannot be deleted: the removal fails.
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + "Delta\\Parts", "x", "y"));
    Seed(HKEY_CURRENT_USER, "Zeta", "Zeta Driver", "zeta_remove.exe");
    HANDLE hEvent = ::CreateEventA(NULL, TRUE, FALSE, kEventName);
    int nCatsPercent = -1;
    TestApp().m_boxes.clear();

    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        HWND hDlg = dlg.GetSafeHwnd();
        FocusIn(List(dlg));
        CString title;
        dlg.GetWindowText(title);
        EXPECT_STREQ("Nimbo Purgelet 1.1", title);
        EXPECT_STREQ("5 of 5 programs found", Status(dlg));
        // The screenshot shows the texts a user reads: a column header's and the
        // Groups caption's.
        EXPECT_TRUE(PaintAll(dlg));
        EXPECT_TRUE(PumpUntil([&] { return StatusTextPixels(dlg) > 20; }));
        std::unique_ptr<testsupport::DibCanvas> shot = SaveScreenshot(dlg, TestFolder() + "main_window.bmp");
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        CRect rcHeader;
        List(dlg).GetHeaderCtrl()->GetItemRect(0, &rcHeader);
        List(dlg).GetHeaderCtrl()->ClientToScreen(&rcHeader);
        EXPECT_GT(ScreenshotPixels(dlg, *shot, rcHeader, pPM->LookupColor(COLOR_BTNTEXT)), 20) << "Application";
        CExtContainerBar& groupsBar = dlg.m_pageUninstall.m_wndGroupsBar;
        CRect rcCaption;
        groupsBar.GetClientRect(&rcCaption);
        rcCaption.bottom = rcCaption.top + CExtContainerBar::CAPTION_HEIGHT;
        groupsBar.ClientToScreen(&rcCaption);
        EXPECT_GT(ScreenshotPixels(dlg, *shot, rcCaption, pPM->LookupColor(COLOR_INACTIVECAPTIONTEXT, &groupsBar)), 20)
            << "Groups";
        // The idle message keeps the counts once they are shown; before that it shows
        // the idle text.
        struct IdleCase
        {
            bool bCountsShown;
            const char* status;
        } idles[] = {{true, "5 of 5 programs found"}, {false, "Ready"}};
        for (const IdleCase& c : idles) {
            dlg.m_bCountsShown = c.bCountsShown;
            dlg.SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
            EXPECT_STREQ(c.status, Status(dlg));
        }
        dlg.SendMessage(g_nMsgUpdateStatusBar, 0, 0);
        EXPECT_STREQ("5 of 5 programs found", Status(dlg));
        // Every menu that closes puts the idle text back, twice: the same text leaves the
        // bar alone, another one is painted once at most.
        ASSERT_TRUE(PaintAll(dlg));
        const HWND hBar = dlg.m_wndStatusBar.m_hWnd;
        mainwindowtest::SentCount paints(hBar, WM_PAINT);
        dlg.SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
        EXPECT_FALSE(::GetUpdateRect(hBar, NULL, FALSE));
        EXPECT_EQ(0, paints.Count()) << "same text";
        CUiManager::GetInstance()->m_nShownPrograms = 4;
        dlg.SendMessage(g_nMsgUpdateStatusBar, 0, 0);
        EXPECT_TRUE(::GetUpdateRect(hBar, NULL, FALSE));
        paints.Stop();
        EXPECT_LE(paints.Count(), 1) << "new text";
        EXPECT_STREQ("4 of 5 programs found", Status(dlg));
        CUiManager::GetInstance()->m_nShownPrograms = 5;
        dlg.SendMessage(g_nMsgUpdateStatusBar, 0, 0);

        // With the root "Groups" current, the groups toolbar offers New only.
        struct GroupButtonState
        {
            UINT nID;
            bool bDisabled;
        } groupButtons[] = {{ID_GROUP_NEW, false}, {ID_GROUP_DELETE, true}, {ID_GROUP_EDIT, true}};
        for (const GroupButtonState& b : groupButtons) {
            CExtBarButton* pButton = GroupButton(dlg.m_pageUninstall.m_pageGroups, b.nID);
            ASSERT_TRUE(pButton != NULL) << b.nID;
            EXPECT_EQ(b.bDisabled, pButton->IsDisabled()) << b.nID;
        }

        // Which commands the selected program allows (Alpha Editor, selected by the user:
        // the first refresh selects none; then none); Add to Group needs a group besides
        // "Other".
        struct CommandState
        {
            UINT nID;
            BOOL bWithAlpha, bWithNone;
        } states[] = {
            {ID_PROGRAM_UNINSTALL, TRUE, FALSE},      {ID_PROGRAM_UNINSTALL_QUIET, FALSE, FALSE},
            {ID_PROGRAM_MODIFY, FALSE, FALSE},        {ID_PROGRAM_REMOVE_ENTRY, TRUE, FALSE},
            {ID_PROGRAM_OPEN_FOLDER, TRUE, FALSE},    {ID_PROGRAM_ADD_TO_GROUP, FALSE, FALSE},
            {ID_EDIT_COPY_APPLICATION, TRUE, TRUE},   {ID_PROGRAM_REGISTRY_ENTRY, TRUE, TRUE},
            {ID_VIEW_REFRESH, TRUE, TRUE},
        };
        EXPECT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() == NULL);
        EXPECT_EQ(-1, List(dlg).GetNextItem(-1, LVNI_SELECTED));
        ASSERT_TRUE(SelectProgram(dlg, "Alpha Editor"));
        ProgramEntry* pFirst = CUiManager::GetInstance()->GetSelectedProgram();
        for (int nPass = 0; nPass < 2; ++nPass) {
            // The second pass with no row selected in the list.
            if (nPass == 1) List(dlg).SetItemState(-1, 0, LVIS_SELECTED);
            ASSERT_EQ(nPass == 0 ? pFirst : NULL, CUiManager::GetInstance()->GetSelectedProgram());
            for (const CommandState& c : states)
                EXPECT_EQ(nPass == 0 ? c.bWithAlpha : c.bWithNone, CommandEnabled(dlg, c.nID))
                    << c.nID << " pass " << nPass;
        }
        ASSERT_TRUE(SelectProgram(dlg, "Alpha Editor"));
        // Help answers both of its commands, 57670 and 57669, with a handler and an update.
        for (UINT nID : {57670u, 57669u}) {
            AFX_CMDHANDLERINFO info = {};
            EXPECT_TRUE(dlg.OnCmdMsg(nID, CN_COMMAND, NULL, &info)) << nID;
            EXPECT_EQ(&dlg, info.pTarget) << nID;
            CTestCmdUI state;
            state.m_nID = nID;
            EXPECT_TRUE(dlg.OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL)) << nID;
        }

        // The search box and the group tree filter the list.
        struct Filter
        {
            const char* search;
            const char* keywords;  // a group "Media" with these keywords is selected; NULL: the root
            bool bOther;           // "Other" instead
            const char* status;
        } filters[] = {
            {"TA", NULL, false, "3 of 5 programs found"},  // Beta, Delta, Zeta
            {"", NULL, false, "5 of 5 programs found"},
            {"", "player\r\nviewer\r\n", false, "2 of 5 programs found"},
            {"", "player\r\nviewer\r\n", true, "3 of 5 programs found"},
            {"", NULL, false, "5 of 5 programs found"},
        };
        CPageUninstallGroups& groups = dlg.m_pageUninstall.m_pageGroups;
        for (const Filter& f : filters) {
            SCOPED_TRACE(std::string("search '") + f.search + "' group " + (f.keywords ? f.keywords : "-"));
            dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch.SetWindowText(f.search);
            if (f.keywords != NULL && CGroupManager::GetInstance()->m_Groups.size() < 2) {
                // A new group through the editor's Apply, which writes the groups file.
                CUiManager::GetInstance()->ShowGroupEditor(-1);
                CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
                editor.SetDlgItemText(IDC_GROUP_NAME, "Media");
                editor.SetDlgItemText(IDC_GROUP_KEYWORDS, f.keywords);
                editor.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GROUP_APPLY, BN_CLICKED), 0);
                EXPECT_NE(std::string::npos, ReadFile(m_groupsFile).find("Media"));
                EXPECT_FALSE(CUiManager::GetInstance()->IsGroupEditorOpen());
                // Apply makes the new group the current one and filters the list by it.
                EXPECT_EQ("Media", std::string(groups.m_wndTree.GetItemText(groups.m_wndTree.GetSelectedItem())));
                EXPECT_STREQ("2 of 5 programs found", Status(dlg));
                groups.m_wndTree.SelectItem(groups.m_hRoot);
            }
            HTREEITEM hItem = groups.m_hRoot;
            if (f.keywords != NULL) {
                hItem = groups.m_wndTree.GetChildItem(groups.m_hRoot);
                if (f.bOther) hItem = groups.m_wndTree.GetNextSiblingItem(hItem);
            }
            groups.m_wndTree.SelectItem(hItem);
            EXPECT_STREQ(f.status, Status(dlg));
            // Delete follows the caret at once: only a user group can go.
            EXPECT_EQ(f.keywords == NULL || f.bOther, GroupButton(groups, ID_GROUP_DELETE)->IsDisabled());
        }

        // The details pane shows the selected program's values.
        ASSERT_TRUE(SelectProgram(dlg, "Beta Viewer"));
        CExtDetailsCtrl& details = dlg.m_pageUninstall.m_pageView.m_pageDetails.m_wndDetails;
        EXPECT_EQ(3, details.GetItemCount());
        LVFINDINFO find = {LVFI_STRING, "Publisher", 0, {0, 0}, 0};
        int nRow = details.FindItem(&find);
        EXPECT_STREQ("Corvalin Labs", nRow >= 0 ? (LPCSTR)details.GetItemText(nRow, 1) : "(no row)");

        // F5 reads the registry again; Ctrl+C copies the selected row; Esc and Enter
        // leave the window open.
        Seed(HKEY_CURRENT_USER, "Eta", "Eta Notes", "eta_remove.exe");
        List(dlg).SetFocus();
        Tap(VK_F5);
        PumpUntil([&] { return Status(dlg) == "6 of 6 programs found"; });
        EXPECT_STREQ("6 of 6 programs found", Status(dlg));
        ASSERT_TRUE(SelectProgram(dlg, "Beta Viewer"));
        TapWith(VK_CONTROL, 'C');
        std::string clip;
        PumpUntil([&] { return (clip = ClipboardText()).find("Beta Viewer") != std::string::npos; });
        EXPECT_EQ(0u, clip.find("Beta Viewer, Corvalin Labs, N/A, N/A, N/A\r\n")) << clip;
        EXPECT_EQ(hDlg, ::GetClipboardOwner()) << "the main window owns the copied text";
        Tap(VK_ESCAPE);
        Tap(VK_RETURN);
        Pump(300);
        EXPECT_TRUE(::IsWindowVisible(hDlg));
        EXPECT_TRUE(dlg.ContinueModal());

        // Options: hiding entries without an uninstall command reaches the list.
        {
            BoxWatcher options(hDlg, [](HWND hBox) {
                ::SendDlgItemMessageA(hBox, IDC_HIDE_INVALID, BM_SETCHECK, BST_CHECKED, 0);
                ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            });
            dlg.SendMessage(WM_COMMAND, ID_VIEW_OPTIONS, 0);
            options.Join();
            EXPECT_EQ("Options", options.m_caption);
        }
        EXPECT_STREQ("5 of 6 programs found", Status(dlg));

        // Remove Entry: No keeps it, Yes removes it, a failing delete says so.
        struct Removal
        {
            const char* name;
            const char* key;
            UINT answer;
            bool bGone;
            size_t nErrorBoxes;
            const char* status;
        } removals[] = {
            {"Beta Viewer", "Beta", IDNO, false, 0, "5 of 6 programs found"},
            {"Beta Viewer", "Beta", IDYES, true, 0, "4 of 5 programs found"},
            {"Delta Player", "Delta", IDYES, false, 1, "4 of 5 programs found"},
        };
        for (const Removal& r : removals) {
            SCOPED_TRACE(std::string(r.name) + (r.answer == IDYES ? " yes" : " no"));
            TestApp().m_boxes.clear();
            ASSERT_TRUE(SelectProgram(dlg, r.name));
            BoxWatcher warning(hDlg, Press(r.answer));
            dlg.SendMessage(WM_COMMAND, ID_PROGRAM_REMOVE_ENTRY, 0);
            warning.Join();
            EXPECT_STREQ(CPurgeletDlg::RemoveWarning(r.name), warning.m_text.c_str());
            EXPECT_EQ("Nimbo Purgelet 1.1", warning.m_caption);
            EXPECT_NE(r.bGone, EntryExists(r.key));
            EXPECT_EQ(r.nErrorBoxes, TestApp().m_boxes.size());
            EXPECT_STREQ(r.status, Status(dlg));
        }

        // Open Folder on a file path opens nothing and says so.
        TestApp().m_boxes.clear();
        ASSERT_TRUE(SelectProgram(dlg, "Alpha Editor"));
        dlg.SendMessage(WM_COMMAND, ID_PROGRAM_OPEN_FOLDER, 0);
        PumpUntil([] { return !TestApp().m_boxes.empty(); });
        Pump(100);
        EXPECT_EQ(1u, TestApp().m_boxes.size());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(UninstallerMarkerPath().c_str()));

        // Uninstall: the window is disabled but answers while the uninstaller runs; the
        // list comes back without the entry.
        std::atomic<bool> bAnswered{false}, bDisabled{false};
        std::thread helper([&] {
            // The window is disabled once the uninstaller runs; a busy machine may take
            // a while to start it.
            realinput::SleepUntil([&] { return !::IsWindowEnabled(hDlg); }, 20000);
            char text[64] = "";
            DWORD_PTR nResult = 0;
            bAnswered = ::SendMessageTimeoutA(hDlg, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_NORMAL, 3000,
                                              &nResult) != 0 &&
                        strcmp(text, "Nimbo Purgelet 1.1") == 0;
            bDisabled = !::IsWindowEnabled(hDlg);
            ::SetEvent(hEvent);
        });
        dlg.SendMessage(WM_COMMAND, ID_PROGRAM_UNINSTALL, 0);
        helper.join();
        EXPECT_TRUE(bAnswered);
        EXPECT_TRUE(bDisabled);
        EXPECT_TRUE(dlg.IsWindowEnabled());
        EXPECT_FALSE(EntryExists("Alpha"));
        EXPECT_STREQ("3 of 4 programs found", Status(dlg));

        nCatsPercent = dlg.m_pageUninstall.GetGroupsPercentage();
    }));
    ::CloseHandle(hEvent);

    // The close stored the panes' sizes, the groups file and then every option.
    EXPECT_NE(std::string::npos, ReadFile(m_groupsFile).find("player"));
    DWORD nCats = 0, cb = sizeof(nCats);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueA(HKEY_CURRENT_USER, kOptionsKey, "CatsSize", RRF_RT_REG_DWORD, NULL,
                                            &nCats, &cb));
    EXPECT_EQ((DWORD)nCatsPercent, nCats);
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kOptionsKey));
    g_Hide.Value = 0;
}

namespace {

// The screen's colour in a row's Size cell, left of its right-aligned text.
COLORREF RowPixel(CPurgeletDlg& dlg, int nRow)
{
    CRect rc;
    List(dlg).GetSubItemRect(nRow, 2, LVIR_LABEL, rc);
    CPoint pt(rc.left + 4, rc.CenterPoint().y);
    List(dlg).ClientToScreen(&pt);
    return ScreenPixel(pt);
}

// Sends a command to the main window while a helper thread answers Yes to any message
// box it opens; true when a box opened.
bool SendCommandAnsweringBoxes(CPurgeletDlg& dlg, UINT nID)
{
    HWND hDlg = dlg.GetSafeHwnd();
    std::atomic<bool> bDone{false}, bBox{false};
    std::thread answerer([&] {
        while (!bDone) {
            if (HWND hBox = ownedbox::FindOpenBox(hDlg)) {
                bBox = true;
                ownedbox::Press(IDYES)(hBox);
            }
            ::Sleep(10);
        }
    });
    dlg.SendMessage(WM_COMMAND, nID, 0);
    bDone = true;
    answerer.join();
    return bBox;
}

}  // namespace

// A re-filter keeps the selected program only while the list shows it, and then shows
// its row selected; a program the list hides is no longer the one the commands act on.
TEST_F(MainWindowTest, ACommandNeverActsOnAProgramTheListDoesNotShow)
{
    Seed(HKEY_CURRENT_USER, "Alpha", "Alpha Editor", "alpha_remove.exe", "C:\\");
    Seed(HKEY_CURRENT_USER, "Beta", "Beta Viewer", "beta_remove.exe", "C:\\");
    Seed(HKEY_CURRENT_USER, "Gamma", "Gamma Tools", "gamma_remove.exe", "C:\\");

    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        HWND hDlg = dlg.GetSafeHwnd();
        GroupEntry* pViewers = CGroupManager::GetInstance()->CreateGroup();
        pViewers->Name = "Viewers";
        pViewers->AddKeyword("viewer");
        CUiManager::GetInstance()->RefreshGroups();
        ::SetForegroundWindow(hDlg);
        List(dlg).SetFocus();
        CExtDetailsCtrl& details = dlg.m_pageUninstall.m_pageView.m_pageDetails.m_wndDetails;
        CPageUninstallGroups& groups = dlg.m_pageUninstall.m_pageGroups;

        // The first full refresh selects no row; the user's selection shows in the
        // highlight colour in the focused list.
        ASSERT_EQ("", SelectedRowText(dlg));
        ASSERT_TRUE(SelectProgram(dlg, "Alpha Editor"));
        EXPECT_EQ("Alpha Editor", CUiManager::GetInstance()->GetSelectedProgram()->DisplayName);
        EXPECT_TRUE(testsupport::PumpUntil([&] { return RowPixel(dlg, 0) == ::GetSysColor(COLOR_HIGHLIGHT); }))
            << "the first row is not shown selected";

        struct Case
        {
            const char* select;  // the program selected before the re-filter
            const char* search;  // the search text
            bool bViewers;       // the group "Viewers" current instead of the root
            const char* kept;    // the selected program afterwards, NULL: none
        } cases[] = {
            {"Beta Viewer", "alpha", false, NULL},
            {"Alpha Editor", "ED", false, "Alpha Editor"},
            {"Alpha Editor", "", true, NULL},
            {"Beta Viewer", "", true, "Beta Viewer"},
            {"Gamma Tools", "beta", false, NULL},
        };
        const UINT kNeedsProgram[] = {ID_PROGRAM_UNINSTALL, ID_PROGRAM_REMOVE_ENTRY, ID_PROGRAM_OPEN_FOLDER};
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.select) + " / search '" + c.search + "'" + (c.bViewers ? " / Viewers" : ""));
            dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch.SetWindowText("");
            groups.m_wndTree.SelectItem(groups.m_hRoot);
            ASSERT_TRUE(SelectProgram(dlg, c.select));
            ASSERT_GT(details.GetItemCount(), 0);

            dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch.SetWindowText(c.search);
            if (c.bViewers) groups.m_wndTree.SelectItem(groups.m_wndTree.GetChildItem(groups.m_hRoot));

            ProgramEntry* pSelected = CUiManager::GetInstance()->GetSelectedProgram();
            EXPECT_EQ(c.kept != NULL ? c.kept : "", pSelected != NULL ? pSelected->DisplayName : "");
            EXPECT_EQ(c.kept != NULL ? c.kept : "", SelectedRowText(dlg));
            for (UINT nID : kNeedsProgram) EXPECT_EQ(c.kept != NULL, CommandEnabled(dlg, nID) != FALSE) << nID;
            if (c.kept == NULL) {
                EXPECT_EQ(0, details.GetItemCount()) << "the details pane still shows a program";
            } else {
                LVFINDINFO find = {LVFI_STRING, "DisplayName", 0, {0, 0}, 0};
                int nRow = details.FindItem(&find);
                EXPECT_EQ(c.kept, std::string(nRow >= 0 ? (LPCSTR)details.GetItemText(nRow, 1) : "(no row)"));
            }
        }

        // The hidden program's entry survives Remove Entry: the command is refused
        // without a question, and the toolbar shows Remove disabled.
        CExtBarButton* pRemove = BarButton(dlg.m_wndToolBar, ID_PROGRAM_REMOVE_ENTRY);
        ASSERT_TRUE(pRemove != NULL);
        EXPECT_TRUE(testsupport::PumpUntil([&] {
            ::PostMessageA(hDlg, WM_NULL, 0, 0);
            return pRemove->IsDisabled();
        }));
        EXPECT_FALSE(SendCommandAnsweringBoxes(dlg, ID_PROGRAM_REMOVE_ENTRY));
        EXPECT_TRUE(EntryExists("Gamma"));

        // A full refresh that finds nothing leaves no program selected and the details
        // pane empty.
        dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch.SetWindowText("");
        ASSERT_TRUE(SelectProgram(dlg, "Gamma Tools"));
        const std::string uninstallKey = UninstallKeyPath.substr(0, UninstallKeyPath.size() - 1);
        ASSERT_TRUE(RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, uninstallKey));
        dlg.SendMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
        EXPECT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() == NULL);
        EXPECT_EQ(0, details.GetItemCount());
    }));
}

namespace {

// The catalogue's own failure, raised where it opens the machine's Uninstall key.
typedef LONG(WINAPI* RegOpenKeyExAFn)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
RegOpenKeyExAFn g_realRegOpenKeyExA = NULL;
LONG WINAPI ThrowOnMachineRoot(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY result)
{
    if (root == HKEY_LOCAL_MACHINE && path != NULL && UninstallKeyPath == path) throw CVrelException("staged");
    return g_realRegOpenKeyExA(root, path, options, access, result);
}

}  // namespace

// The catalogue has no window: when its scan fails, the program shows its message in a
// box and lists what it read before the failure.
TEST_F(MainWindowTest, F5ShowsTheCataloguesFailureInAMessageBox)
{
    Seed(HKEY_CURRENT_USER, "Alpha", "Alpha Editor", "alpha_remove.exe");
    Seed(HKEY_LOCAL_MACHINE, "Beta", "Beta Viewer", "beta_remove.exe");
    TestApp().m_boxes.clear();
    g_realRegOpenKeyExA = (RegOpenKeyExAFn)(void*)::GetProcAddress(::GetModuleHandleA("advapi32.dll"), "RegOpenKeyExA");
    ASSERT_TRUE(g_realRegOpenKeyExA != NULL);

    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        LVFINDINFO find = {LVFI_STRING, "Beta Viewer", 0, {0, 0}, 0};
        EXPECT_GE(List(dlg).FindItem(&find), 0) << "the machine's program is listed at first";
        EXPECT_TRUE(TestApp().m_boxes.empty());
        ASSERT_TRUE(FocusIn(List(dlg)));

        void* pReal = testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", (void*)&ThrowOnMachineRoot);
        ASSERT_TRUE(pReal != NULL);
        Tap(VK_F5);
        PumpUntil([&] { return !TestApp().m_boxes.empty(); });
        testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", pReal);

        ASSERT_EQ(1u, TestApp().m_boxes.size());
        EXPECT_EQ("CVrelPurgelet::Refresh", TestApp().m_boxes[0].text);
        EXPECT_EQ((UINT)MB_OK, TestApp().m_boxes[0].type & MB_TYPEMASK);
        EXPECT_STREQ("1 of 1 programs found", Status(dlg));
        EXPECT_EQ("Alpha Editor", std::string((LPCSTR)List(dlg).GetItemText(0, 0)));
    }));
}

// Tab and Shift+Tab go round every pane in reading order, through the pages nested in
// the main window; the Groups and Details captions show when their pane has the focus.
TEST_F(MainWindowTest, TabVisitsEveryPaneInReadingOrder)
{
    Seed(HKEY_CURRENT_USER, "Alpha", "Alpha Editor", "alpha_remove.exe");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.GetSafeHwnd());
        CPageUninstall& page = dlg.m_pageUninstall;
        struct Pane
        {
            const char* name;
            HWND hWnd;
            CExtContainerBar* pBar;  // the caption that shows the focus, if any
        } panes[] = {
            {"groups tree", page.m_pageGroups.m_wndTree.GetSafeHwnd(), &page.m_wndGroupsBar},
            {"search box", page.m_pageView.m_pageList.m_wndSearch.GetSafeHwnd(), NULL},
            {"program list", page.m_pageView.m_pageList.m_wndList.GetSafeHwnd(), NULL},
            {"details list", page.m_pageView.m_pageDetails.m_wndDetails.GetSafeHwnd(),
             &page.m_pageView.m_wndDetailsBar},
        };
        const int nPanes = (int)(sizeof(panes) / sizeof(panes[0]));
        ::SetFocus(panes[0].hWnd);
        ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == panes[0].hWnd; }));
        for (int nShift = 0; nShift < 2; ++nShift) {
            int nPane = 0;
            for (int nStep = 1; nStep <= nPanes; ++nStep) {
                nPane = nShift == 0 ? (nPane + 1) % nPanes : (nPane + nPanes - 1) % nPanes;
                const Pane& pane = panes[nPane];
                SCOPED_TRACE(std::string(nShift ? "Shift+Tab to the " : "Tab to the ") + pane.name);
                TapWith(nShift ? VK_SHIFT : 0, VK_TAB);
                EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == pane.hWnd; }));
                for (const Pane& other : panes) {
                    if (other.pBar == NULL) continue;
                    EXPECT_EQ(&other == &pane, other.pBar->m_bActive) << other.name;
                }
            }
        }

        // The active caption's text is drawn in the caption text colour.
        ::SetFocus(panes[3].hWnd);
        CExtContainerBar& bar = page.m_pageView.m_wndDetailsBar;
        const COLORREF clrActive = g_CurrentPaintManager.GetPM()->LookupColor(COLOR_CAPTIONTEXT, &bar);
        const COLORREF clrCaption = g_CurrentPaintManager.GetPM()->LookupColor(COLOR_INACTIVECAPTION, &bar);
        ASSERT_NE(clrActive, clrCaption);
        EXPECT_TRUE(PumpUntil([&] {
            CRect rc;
            bar.GetClientRect(&rc);
            bar.ClientToScreen(&rc);
            int nText = 0;
            HDC hScreen = ::GetDC(NULL);
            for (int y = rc.top; y < rc.top + CExtContainerBar::CAPTION_HEIGHT; ++y)
                for (int x = rc.left; x < rc.left + 60; ++x)
                    if (::GetPixel(hScreen, x, y) == clrActive) ++nText;
            ::ReleaseDC(NULL, hScreen);
            return nText > 10;
        })) << "the Details caption does not show the focus";
    }));
}

// The program the commands act on is the one the list shows selected, also while the
// focus is elsewhere; a click on empty space leaves none, and Remove names its program.
TEST_F(MainWindowTest, ACommandActsOnlyOnTheProgramShownSelected)
{
    for (const char* name : {"Beta", "Gamma", "Delta"})
        Seed(HKEY_CURRENT_USER, name, (std::string(name) + " Tools").c_str(), "none_such_remover.exe", "C:\\");

    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        HWND hDlg = dlg.GetSafeHwnd();
        ::SetForegroundWindow(hDlg);
        const COLORREF clrSelected = ::GetSysColor(COLOR_HIGHLIGHT);
        HWND hTree = dlg.m_pageUninstall.m_pageGroups.m_wndTree.GetSafeHwnd();
        ::SetFocus(hTree);
        ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == hTree; }));
        // At start no row is selected. The program the user selects shows selected with
        // the focus in the groups tree, also after F5 has moved it down a row.
        EXPECT_EQ("", SelectedRowText(dlg));
        ASSERT_TRUE(SelectProgram(dlg, "Beta Tools"));
        for (int nRow : {0, 1}) {
            SCOPED_TRACE(nRow == 0 ? "selected" : "after F5");
            if (nRow == 1) {
                Seed(HKEY_CURRENT_USER, "Alpha", "Alpha Tools", "none_such_remover.exe", "C:\\");
                Tap(VK_F5);
                ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "4 of 4 programs found"; }));
            }
            EXPECT_EQ(hTree, ::GetFocus());
            EXPECT_EQ("Beta Tools", SelectedRowText(dlg));
            EXPECT_EQ(nRow, List(dlg).GetNextItem(-1, LVNI_SELECTED));
            EXPECT_TRUE(PumpUntil([&] { return RowPixel(dlg, nRow) == clrSelected; })) << std::hex << RowPixel(dlg, nRow);
        }

        // A click on empty space leaves no row selected and no program to act on.
        CRect rcLast, rcClient;
        List(dlg).GetItemRect(List(dlg).GetItemCount() - 1, &rcLast, LVIR_BOUNDS);
        List(dlg).GetClientRect(&rcClient);
        ASSERT_LT(rcLast.bottom + 10, rcClient.bottom);
        mainwindowtest::WaitUntilListTakesClicks();
        ClickAt(List(dlg), CPoint(40, rcLast.bottom + 10));
        ASSERT_TRUE(PumpUntil([] { return CUiManager::GetInstance()->GetSelectedProgram() == NULL; }));
        EXPECT_EQ("", SelectedRowText(dlg));
        EXPECT_EQ(0, dlg.m_pageUninstall.m_pageView.m_pageDetails.m_wndDetails.GetItemCount());
        for (UINT nID : {ID_PROGRAM_UNINSTALL, ID_PROGRAM_UNINSTALL_QUIET, ID_PROGRAM_MODIFY, ID_PROGRAM_REMOVE_ENTRY,
                         ID_PROGRAM_OPEN_FOLDER})
            EXPECT_FALSE(CommandEnabled(dlg, nID)) << nID;
        CExtBarButton* pRemove = BarButton(dlg.m_wndToolBar, ID_PROGRAM_REMOVE_ENTRY);
        ASSERT_TRUE(pRemove != NULL);
        EXPECT_TRUE(PumpUntil([&] {
            ::PostMessageA(hDlg, WM_NULL, 0, 0);
            return pRemove->IsDisabled();
        }));
        // Posted as messages, Uninstall and Remove are refused: no question, no failed
        // launch reported, nothing deleted.
        TestApp().m_boxes.clear();
        for (UINT nID : {ID_PROGRAM_UNINSTALL, ID_PROGRAM_REMOVE_ENTRY}) {
            BoxWatcher box(hDlg, Press(IDYES));
            ::PostMessageA(hDlg, WM_COMMAND, nID, 0);
            PumpUntil([] { return !mainwindowtest::QueueHolds(QS_POSTMESSAGE); });
            box.Stop();
            box.Join();
            EXPECT_TRUE(box.m_text.empty()) << nID << ": " << box.m_text;
        }
        EXPECT_TRUE(TestApp().m_boxes.empty());
        for (const char* key : {"Alpha", "Beta", "Gamma", "Delta"}) EXPECT_TRUE(EntryExists(key)) << key;

        // Clicking Gamma's row and the toolbar's Remove: the warning names Gamma, and Yes
        // removes Gamma's key alone. No row is selected then, and Remove is disabled.
        LVFINDINFO find = {LVFI_STRING, "Gamma Tools", 0, {0, 0}, 0};
        CRect rcGamma;
        List(dlg).GetItemRect(List(dlg).FindItem(&find), &rcGamma, LVIR_BOUNDS);
        mainwindowtest::WaitUntilListTakesClicks();
        ClickAt(List(dlg), CPoint(40, rcGamma.CenterPoint().y));
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Gamma Tools" && !pRemove->IsDisabled(); }));
        BoxWatcher warning(hDlg, Press(IDYES));
        ClickAt(dlg.m_wndToolBar, pRemove->Rect().CenterPoint());
        EXPECT_TRUE(PumpUntil([&] { return Status(dlg) == "3 of 3 programs found"; }));
        warning.Join();
        EXPECT_STREQ(CPurgeletDlg::RemoveWarning("Gamma Tools"), warning.m_text.c_str());
        EXPECT_NE(std::string::npos, warning.m_text.find("\r\n\r\nGamma Tools\r\n\r\n"));
        // A line break in a registry name does not split the name's line.
        EXPECT_NE(-1, CPurgeletDlg::RemoveWarning("Gamma\r\nTools\t").Find("\r\n\r\nGamma  Tools \r\n\r\n"));
        for (const char* key : {"Alpha", "Beta", "Gamma", "Delta"}) EXPECT_EQ(key[0] != 'G', EntryExists(key)) << key;
        EXPECT_EQ("", SelectedRowText(dlg));
        EXPECT_TRUE(PumpUntil([&] { return pRemove->IsDisabled(); }));
    }));
}

// A name of hundreds of characters: the Remove warning still fits the screen, with the
// name's start on its line and the question below it.
TEST_F(MainWindowTest, TheRemoveWarningForAVeryLongNameFitsTheScreen)
{
    const std::string name = "Very Long Name " + std::string(600, 'X');
    Seed(HKEY_CURRENT_USER, "Long", name.c_str(), "none_such_remover.exe");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(SelectProgram(dlg, name.c_str()));
        BoxWatcher warning(dlg.GetSafeHwnd(), Press(IDNO));
        dlg.SendMessage(WM_COMMAND, ID_PROGRAM_REMOVE_ENTRY, 0);
        warning.Join();
        EXPECT_LE(warning.m_rect.Width(), ::GetSystemMetrics(SM_CXSCREEN));
        EXPECT_NE(std::string::npos, warning.m_text.find("\r\n\r\nVery Long Name XXXX")) << warning.m_text;
        EXPECT_NE(std::string::npos, warning.m_text.find("XXX...\r\n\r\nAre you sure")) << warning.m_text;
        EXPECT_TRUE(EntryExists("Long"));
    }));
}

// The list is filled once at start-up, with the focus in it. The group editor takes
// the typing and keeps the panes it hides out of the Tab order; Apply, Cancel and its
// caption's close button hand the focus to the groups tree with the group selected.
TEST_F(MainWindowTest, TheGroupEditorTakesTheTypingAndHandsTheFocusBackToTheTree)
{
    Seed(HKEY_CURRENT_USER, "Alpha", "Alpha Editor", "a.exe");
    mainwindowtest::RefillWatch refills;
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        EXPECT_EQ(1u, refills.Count(List(dlg).m_hWnd));
        EXPECT_EQ(List(dlg).m_hWnd, ::GetFocus());
        CPageUninstall& page = dlg.m_pageUninstall;
        CPageUninstallGroupEditor& editor = page.m_pageEditor;
        CExtTreeCtrl& tree = page.m_pageGroups.m_wndTree;
        CGroupManager::GetInstance()->CreateGroup()->Name = "Media";
        CUiManager::GetInstance()->RefreshGroups();
        ::SetForegroundWindow(dlg.m_hWnd);
        page.m_pageView.m_pageList.m_wndSearch.SetFocus();
        auto item = [&](int n) {  // the n-th group's item
            HTREEITEM h = tree.GetChildItem(page.m_pageGroups.m_hRoot);
            while (n-- > 0) h = tree.GetNextSiblingItem(h);
            CRect rc;
            tree.GetItemRect(h, &rc, TRUE);
            return rc;
        };
        CPageUninstallGroups& groups = page.m_pageGroups;
        auto tool = [&](UINT nID) { ClickIn(groups.m_wndToolBar, GroupButton(groups, nID)->Rect()); };
        struct Step
        {
            std::function<void()> input;
            CWnd* pFocus;
            const char* text;  // the tree's selected item or the Name field, whichever has the focus
        } steps[] = {
            {[&] { tool(ID_GROUP_NEW); }, &editor.m_wndName, ""},
            {[&] { TapWith(VK_SHIFT, 'S'); Tap('A'); }, &editor.m_wndName, "Sa"},
            {[&] { TapWith(VK_SHIFT, VK_TAB); }, &tree, NULL},
            {[&] { Tap(VK_TAB); }, &editor.m_wndName, "Sa"},
            {[&] { ClickIn(editor.m_wndApply); }, &tree, "Sa"},
            {[&] { tool(ID_GROUP_EDIT); }, &editor.m_wndName, "Sa"},
            {[&] { ClickIn(tree, item(0)); }, &tree, "Media"},
            {[&] { Tap(VK_DOWN); }, &tree, "Sa"},
            {[&] { ClickIn(editor.m_wndCancel); }, &tree, "Sa"},
            {[&] { ClickIn(tree, item(1)); ClickIn(tree, item(1)); }, &editor.m_wndName, "Sa"},
            {[&] {
                 CRect rc;
                 page.m_wndEditorBar.GetCloseButtonRect(NULL, &rc);
                 ClickIn(page.m_wndEditorBar, rc);
             },
             &tree, "Sa"},
        };
        auto text = [&](CWnd* pFocus) {
            CString s = pFocus == &tree ? tree.GetItemText(tree.GetSelectedItem()) : CString();
            if (pFocus != &tree) editor.m_wndName.GetWindowText(s);
            return std::string((LPCTSTR)s);
        };
        for (const Step& s : steps) {
            s.input();
            auto reached = [&] { return ::GetFocus() == s.pFocus->m_hWnd && (!s.text || text(s.pFocus) == s.text); };
            EXPECT_TRUE(PumpUntil(reached)) << "step " << &s - steps << ": " << text(s.pFocus);
        }
        // The search box saw none of the typing; the double-click's first click made the
        // selected group, which matches no program, the current one.
        EXPECT_EQ(0, page.m_pageView.m_pageList.m_wndSearch.GetWindowTextLength());
        EXPECT_STREQ("0 of 1 programs found", Status(dlg));
    }));
}

namespace {

// The registry editor held up on its way: View Registry Entry starts, in its place, a
// process that shows no window until the test lets it end.
const char kEditorStandInEvent[] = "PurgeletMainWindowTestEditorStandIn";
std::atomic<bool> g_bEditorStandInStarted{false};

BOOL WINAPI StartEditorStandIn(SHELLEXECUTEINFOA* pInfo)
{
    std::string command = "\"" + mainwindowtest::TestFolder() + "test_uninstaller.exe\" " +
                          "Software\\Corvalin\\PurgeletNoSuchTestKey " + kEditorStandInEvent;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return FALSE;
    ::CloseHandle(pi.hThread);
    pInfo->hProcess = pi.hProcess;
    g_bEditorStandInStarted = true;
    return TRUE;
}

}  // namespace

// While View Registry Entry waits for the editor to come, the main window paints what
// needs painting (what the menu or another window uncovered).
TEST_F(MainWindowTest, ViewRegistryEntryKeepsTheWindowPaintingWhileTheEditorStarts)
{
    Seed(HKEY_CURRENT_USER, "Alpha", "Alpha Editor", "alpha_remove.exe");
    HANDLE hEvent = ::CreateEventA(NULL, TRUE, FALSE, kEditorStandInEvent);
    ASSERT_TRUE(hEvent != NULL);
    g_bEditorStandInStarted = false;
    TestApp().m_boxes.clear();
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(FocusIn(List(dlg)));
        ASSERT_TRUE(SelectProgram(dlg, "Alpha Editor"));
        ASSERT_TRUE(PaintAll(dlg));
        // A point of the list's empty part, away from where the Action menu opens.
        const HWND hList = List(dlg).GetSafeHwnd();
        CRect rcClient;
        List(dlg).GetClientRect(&rcClient);
        CPoint pt(rcClient.right - 20, rcClient.bottom - 10);
        List(dlg).ClientToScreen(&pt);
        const COLORREF clrShown = ScreenPixel(pt);
        ASSERT_NE(RGB(0, 0, 0), clrShown);

        void* pReal = testsupport::PatchImport("shell32.dll", "ShellExecuteExA", (void*)&StartEditorStandIn);
        ASSERT_TRUE(pReal != NULL);
        std::atomic<bool> bDone{false}, bBlackened{false}, bRepainted{false};
        std::thread user([&] {
            if (realinput::SleepUntil([] { return g_bEditorStandInStarted.load(); }, 10000)) {
                // Something covered the list and went: its pixels need painting again.
                HDC hdc = ::GetDC(hList);
                RECT rc = {rcClient.right - 40, rcClient.bottom - 30, rcClient.right, rcClient.bottom};
                ::FillRect(hdc, &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
                ::ReleaseDC(hList, hdc);
                bBlackened = realinput::SleepUntil([&] { return ScreenPixel(pt) == RGB(0, 0, 0); });
                ::InvalidateRect(hList, NULL, TRUE);
                bRepainted = realinput::SleepUntil([&] { return ScreenPixel(pt) == clrShown; });
            }
            ::SetEvent(hEvent);
            bDone = true;
        });
        realinput::AltLetter('A');
        PumpUntil([] { return CExtPopupMenuWnd::IsMenuTracking() != FALSE; });
        Tap('E');
        PumpUntil([&] { return bDone && !TestApp().m_boxes.empty(); }, 30000);
        testsupport::PatchImport("shell32.dll", "ShellExecuteExA", pReal);
        user.join();
        EXPECT_TRUE(g_bEditorStandInStarted);
        EXPECT_TRUE(bBlackened);
        EXPECT_TRUE(bRepainted) << std::hex << ScreenPixel(pt) << " for " << clrShown;
        // The stand-in ended without a window: the editor did not come.
        ASSERT_EQ(1u, TestApp().m_boxes.size());
        EXPECT_EQ("Nimbo Purgelet was unable to launch RegEdit.", TestApp().m_boxes[0].text);
        EXPECT_EQ("Alpha Editor", SelectedRowText(dlg));
    }));
    ::CloseHandle(hEvent);
    TestApp().m_boxes.clear();
}
