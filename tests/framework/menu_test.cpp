// CMenu: building, lookup by position and by command, states, loading from resources
// and templates, ownership of menus and submenus, and the temporary wrappers.
#include <gtest/gtest.h>
#include <vector>
#include "framework/framework.h"

namespace {

enum { kOpen = 100, kSave = 101, kExit = 102, kAbout = 200 };

// File (Open, Save, ---, Exit) and Help (About).
void BuildMenu(CMenu& bar) {
    ASSERT_TRUE(bar.CreateMenu());
    CMenu file, help;
    ASSERT_TRUE(file.CreatePopupMenu());
    ASSERT_TRUE(file.AppendMenu(MF_STRING, kOpen, "&Open"));
    ASSERT_TRUE(file.AppendMenu(MF_STRING, kExit, "E&xit"));
    ASSERT_TRUE(file.InsertMenu(kExit, MF_BYCOMMAND | MF_SEPARATOR));
    ASSERT_TRUE(file.InsertMenu(1, MF_BYPOSITION | MF_STRING, kSave, "&Save"));
    ASSERT_TRUE(help.CreatePopupMenu());
    ASSERT_TRUE(help.AppendMenu(MF_STRING, kAbout, "&About"));
    ASSERT_TRUE(bar.AppendMenu(MF_POPUP, (UINT_PTR)file.Detach(), "&File"));
    ASSERT_TRUE(bar.AppendMenu(MF_POPUP, (UINT_PTR)help.Detach(), "&Help"));
}

}  // namespace

TEST(CMenuBuilding, ItemsLandWhereAskedAndAreFoundAgain) {
    CMenu bar;
    BuildMenu(bar);
    ASSERT_EQ(2u, bar.GetMenuItemCount());
    EXPECT_EQ((UINT)-1, bar.GetMenuItemID(0));  // a popup has no command id
    CMenu* file = bar.GetSubMenu(0);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(nullptr, bar.GetSubMenu(5));
    ASSERT_EQ(4u, file->GetMenuItemCount());
    const UINT ids[] = {kOpen, kSave, 0, kExit};
    const char* texts[] = {"&Open", "&Save", "", "E&xit"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ids[i], file->GetMenuItemID(i));
        CString s;
        EXPECT_EQ((int)strlen(texts[i]), file->GetMenuString(i, s, MF_BYPOSITION));
        EXPECT_STREQ(texts[i], (LPCTSTR)s);
    }
    EXPECT_EQ((UINT)-1, file->GetMenuItemID(9));
    CString s;
    EXPECT_EQ(5, bar.GetMenuString(kSave, s, MF_BYCOMMAND));  // found through the submenu
    EXPECT_STREQ("&Save", (LPCTSTR)s);
    EXPECT_EQ(0, bar.GetMenuString(999, s, MF_BYCOMMAND));
    EXPECT_TRUE(s.IsEmpty());
    char buf[8];
    EXPECT_EQ(5, bar.GetMenuString(0, buf, sizeof(buf), MF_BYPOSITION));
    EXPECT_STREQ("&File", buf);

    EXPECT_TRUE(file->ModifyMenu(kSave, MF_BYCOMMAND | MF_STRING, kSave, "Save &As"));
    file->GetMenuString(kSave, s, MF_BYCOMMAND);
    EXPECT_STREQ("Save &As", (LPCTSTR)s);

    MENUITEMINFO mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    ASSERT_TRUE(bar.GetMenuItemInfo(1, &mii, TRUE));
    EXPECT_EQ(bar.GetSubMenu(1)->GetSafeHmenu(), mii.hSubMenu);
    ASSERT_TRUE(file->GetMenuItemInfo(2, &mii, TRUE));
    EXPECT_TRUE(mii.fType & MFT_SEPARATOR);
    AfxDeleteTempGdiMaps();
}

TEST(CMenuBuilding, CheckEnableAndStateReturnThePreviousState) {
    CMenu bar;
    BuildMenu(bar);
    CMenu* file = bar.GetSubMenu(0);
    EXPECT_EQ((UINT)MF_UNCHECKED, file->CheckMenuItem(kOpen, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_EQ((UINT)MF_CHECKED, file->CheckMenuItem(kOpen, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_TRUE(file->GetMenuState(kOpen, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ((UINT)-1, file->CheckMenuItem(999, MF_BYCOMMAND | MF_CHECKED));

    EXPECT_EQ((UINT)MF_ENABLED, bar.EnableMenuItem(kExit, MF_BYCOMMAND | MF_GRAYED));
    EXPECT_EQ((UINT)MF_GRAYED, bar.EnableMenuItem(kExit, MF_BYCOMMAND | MF_ENABLED));
    EXPECT_EQ((UINT)-1, bar.EnableMenuItem(999, MF_BYCOMMAND | MF_GRAYED));
    EXPECT_EQ((UINT)-1, file->GetMenuState(999, MF_BYCOMMAND));
    EXPECT_TRUE(file->GetMenuState(2, MF_BYPOSITION) & MF_SEPARATOR);

    EXPECT_TRUE(file->CheckMenuRadioItem(kOpen, kSave, kSave, MF_BYCOMMAND));
    EXPECT_FALSE(file->GetMenuState(kOpen, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(file->GetMenuState(kSave, MF_BYCOMMAND) & MF_CHECKED);

    EXPECT_TRUE(file->SetDefaultItem(kExit));
    EXPECT_EQ((UINT)kExit, file->GetDefaultItem(0));
    AfxDeleteTempGdiMaps();
}

TEST(CMenuOwnership, RemoveKeepsAndDeleteDestroysTheSubmenu) {
    CMenu bar;
    BuildMenu(bar);
    HMENU hFile = bar.GetSubMenu(0)->GetSafeHmenu();
    HMENU hHelp = bar.GetSubMenu(1)->GetSafeHmenu();
    // A CMenu that owns the Help popup: deleting it from the bar must not leave the
    // owner with a dead handle it would destroy a second time.
    CMenu owner;
    owner.Attach(hHelp);
    EXPECT_EQ(&owner, bar.GetSubMenu(1));
    EXPECT_EQ(&owner, CMenu::FromHandlePermanent(hHelp));

    EXPECT_TRUE(bar.RemoveMenu(0, MF_BYPOSITION));
    EXPECT_TRUE(::IsMenu(hFile));
    EXPECT_EQ(1u, bar.GetMenuItemCount());
    ::DestroyMenu(hFile);

    EXPECT_TRUE(bar.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_FALSE(::IsMenu(hHelp));
    EXPECT_EQ(nullptr, owner.GetSafeHmenu());
    EXPECT_EQ(0u, bar.GetMenuItemCount());

    HMENU hBar = bar.GetSafeHmenu();
    EXPECT_TRUE(bar.DestroyMenu());
    EXPECT_FALSE(::IsMenu(hBar));
    EXPECT_FALSE(bar.DestroyMenu());
    AfxDeleteTempGdiMaps();
}

TEST(CMenuOwnership, TemporaryWrappersAndDestruction) {
    HMENU h = ::CreatePopupMenu();
    CMenu* temp = CMenu::FromHandle(h);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(temp, CMenu::FromHandle(h));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(h));
    AfxDeleteTempGdiMaps();
    EXPECT_TRUE(::IsMenu(h));  // the wrapper went, the menu stays
    {
        CMenu owner;
        owner.Attach(h);
        EXPECT_EQ(&owner, CMenu::FromHandle(h));
    }
    EXPECT_FALSE(::IsMenu(h));  // the owner destroyed it
    EXPECT_EQ(nullptr, CMenu::FromHandle(NULL));
}

TEST(CMenuLoading, FromResourceAndFromTemplate) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(5301));
    ASSERT_EQ(2u, menu.GetMenuItemCount());
    CString s;
    menu.GetMenuString(0, s, MF_BYPOSITION);
    EXPECT_STREQ("&File", (LPCTSTR)s);
    EXPECT_EQ(5313u, menu.GetMenuItemID(1));
    EXPECT_TRUE(menu.GetMenuState(5313, MF_BYCOMMAND) & MF_CHECKED);
    CMenu* file = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(3u, file->GetMenuItemCount());
    file->GetMenuString(5311, s, MF_BYCOMMAND);
    EXPECT_STREQ("&Open\tCtrl+O", (LPCTSTR)s);
    EXPECT_TRUE(file->GetMenuState(5312, MF_BYCOMMAND) & MF_GRAYED);
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(5399));
    EXPECT_EQ(nullptr, missing.GetSafeHmenu());

    // A standard template: header (version 0, offset 0), then items of
    // WORD flags, WORD id (not for popups) and a wide string.
    std::vector<WORD> tpl = {0, 0};
    auto add = [&tpl](WORD flags, WORD id, const wchar_t* text, bool popup) {
        tpl.push_back(flags);
        if (!popup) tpl.push_back(id);
        for (const wchar_t* p = text; *p; ++p) tpl.push_back((WORD)*p);
        tpl.push_back(0);
    };
    add(MF_POPUP, 0, L"Edit", true);
    add(0, 301, L"Cut", false);
    add(MF_END, 302, L"Copy", false);
    add(MF_END, 303, L"Go", false);
    CMenu fromTemplate;
    ASSERT_TRUE(fromTemplate.LoadMenuIndirect(tpl.data()));
    ASSERT_EQ(2u, fromTemplate.GetMenuItemCount());
    EXPECT_EQ(303u, fromTemplate.GetMenuItemID(1));
    ASSERT_NE(nullptr, fromTemplate.GetSubMenu(0));
    EXPECT_EQ(302u, fromTemplate.GetSubMenu(0)->GetMenuItemID(1));
    fromTemplate.GetMenuString(301, s, MF_BYCOMMAND);
    EXPECT_STREQ("Cut", (LPCTSTR)s);
    EXPECT_FALSE(CMenu().LoadMenuIndirect(NULL));
    AfxDeleteTempGdiMaps();
}

namespace {
void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(NULL, id);
    ::EndMenu();
}
}  // namespace

TEST(CMenuTracking, TrackPopupMenuReturnsWhenTheMenuIsCancelled) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100),
                               NULL, 0));
    ::SetForegroundWindow(owner.m_hWnd);
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, kOpen, "&Open");
    EXPECT_FALSE(popup.TrackPopupMenu(TPM_RETURNCMD, 10, 10, NULL));  // no owner: refused
    ::SetTimer(NULL, 0, 50, EndMenuSoon);
    // Cancelled, no command chosen: 0.
    EXPECT_EQ(0, popup.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &owner));
    owner.DestroyWindow();
}

TEST(CMenuOwnership, DestroyingAMenuReleasesOwnersOfEveryMenuBelowIt) {
    // bar > file > recent, each popup owned by a CMenu of its own.
    CMenu bar, file, recent, tools;
    ASSERT_TRUE(bar.CreateMenu());
    ASSERT_TRUE(file.CreatePopupMenu());
    ASSERT_TRUE(recent.CreatePopupMenu());
    ASSERT_TRUE(tools.CreatePopupMenu());
    recent.AppendMenu(MF_STRING, 7001, "one.txt");
    file.AppendMenu(MF_POPUP, (UINT_PTR)recent.m_hMenu, "Recent");
    file.AppendMenu(MF_STRING, 7002, "Open");
    bar.AppendMenu(MF_POPUP, (UINT_PTR)file.m_hMenu, "File");
    bar.AppendMenu(MF_POPUP, (UINT_PTR)tools.m_hMenu, "Tools");
    HMENU hFile = file.m_hMenu, hRecent = recent.m_hMenu;

    // By command: the popup item's id is its menu handle, found one level down too.
    EXPECT_TRUE(bar.DeleteMenu((UINT)(UINT_PTR)hRecent, MF_BYCOMMAND));
    EXPECT_FALSE(::IsMenu(hRecent));
    EXPECT_EQ(nullptr, recent.GetSafeHmenu());
    EXPECT_EQ(1u, file.GetMenuItemCount());
    EXPECT_EQ(&file, CMenu::FromHandlePermanent(hFile));

    // Destroying the bar destroys every popup below it: their owners let go.
    CMenu again;
    ASSERT_TRUE(again.CreatePopupMenu());
    HMENU hAgain = again.m_hMenu;
    file.AppendMenu(MF_POPUP, (UINT_PTR)hAgain, "Again");
    EXPECT_TRUE(bar.DestroyMenu());
    EXPECT_FALSE(::IsMenu(hFile));
    EXPECT_FALSE(::IsMenu(hAgain));
    EXPECT_EQ(nullptr, file.GetSafeHmenu());
    EXPECT_EQ(nullptr, tools.GetSafeHmenu());
    EXPECT_EQ(nullptr, again.GetSafeHmenu());
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(hAgain));
    // A new menu may get one of the old handles: no object destroys it by mistake.
    CMenu fresh;
    ASSERT_TRUE(fresh.CreatePopupMenu());
    HMENU hFresh = fresh.m_hMenu;
    file.DestroyMenu();
    again.DestroyMenu();
    EXPECT_TRUE(::IsMenu(hFresh));
}

TEST(CMenuOwnership, ModifyMenuKeepsOwnersInStepWithThePlatform) {
    CMenu bar, view;
    ASSERT_TRUE(bar.CreateMenu());
    ASSERT_TRUE(view.CreatePopupMenu());
    view.AppendMenu(MF_STRING, 7101, "Zoom");
    HMENU hView = view.m_hMenu;
    bar.AppendMenu(MF_POPUP, (UINT_PTR)hView, "View");
    // The same popup with a new text: it stays, and so does its owner.
    EXPECT_TRUE(bar.ModifyMenu(0, MF_BYPOSITION | MF_POPUP, (UINT_PTR)hView, "&View"));
    EXPECT_TRUE(::IsMenu(hView));
    EXPECT_EQ(hView, view.GetSafeHmenu());
    CString text;
    bar.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_STREQ("&View", (LPCTSTR)text);
    // A plain command in its place: the owner holds the popup exactly while it lives.
    EXPECT_TRUE(bar.ModifyMenu(0, MF_BYPOSITION | MF_STRING, 7102, "Plain"));
    EXPECT_EQ(::IsMenu(hView) ? hView : (HMENU)NULL, view.GetSafeHmenu());
}
