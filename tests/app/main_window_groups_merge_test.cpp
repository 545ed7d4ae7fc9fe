// The groups file changed by another program between changes made in the real main
// window, in a file that holds what the program does not show: groups the code page cannot
// show, another groups element, groups without an Id. Each change made here is applied to
// the file as it is then; the document stays node for node what the other program left
// but for that change.
#include "main_window_groups_fixture.h"
#include "held_file.h"
#include "catalogue/groups_file.h"
#include "support/xml_nodes.h"
#include <gtest/gtest.h>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

using namespace mainwindowgroupstest;

namespace {

// Puts text before the first (or, with bLast, the last) place `at` in the file's text.
std::string InsertedBefore(const std::string& text, const std::string& at, const std::string& inserted, bool bLast)
{
    const std::string::size_type pos = bLast ? text.rfind(at) : text.find(at);
    EXPECT_NE(std::string::npos, pos) << at;
    return pos == std::string::npos ? text : std::string(text).insert(pos, inserted);
}

// The text with the first `from` replaced by `to`.
std::string Replaced(const std::string& text, const std::string& from, const std::string& to)
{
    const std::string::size_type pos = text.find(from);
    EXPECT_NE(std::string::npos, pos) << from;
    return pos == std::string::npos ? text : std::string(text).replace(pos, from.size(), to);
}

}  // namespace

// The other program adds, before this run's first change, a group the code page cannot
// show under the Id this run would give next and a group without an Id; the user adds a
// keyword to a group the file gave no Id. Then it adds a group to the other groups
// element under the next Id again, and the user makes a new group. Each write edits the
// group where it stands (the group without an Id gets an Id of this run, past every one
// the file counts as given), and no group here takes an Id the file holds.
TEST_F(MainWindowGroupsFileTest, ChangesMadeHereGoIntoAFileAnotherProgramChangedWhereTheyStand)
{
    const std::string hand = "<Group Name=\"Hand\" Color=\"red\">\n<Keyword>alpha</Keyword>\n</Group>\n";
    const std::string first =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NimboPurgelet Version=\"1.1\">\n"
        "<Purgelet>\n<Group Id=\"7\" Name=\"Old\"/>\n</Purgelet>\n<Purgelet>\n"
        "<Group Id=\"2\" Name=\"Tools\">\n<Keyword>corpus</Keyword>\n</Group>\n" +
        hand + "<Group Id=\"4\" Name=\"\xD0\x96\xD0\xB6\">\n<Keyword>\xD0\xB6</Keyword>\n</Group>\n"
               "<Group Id=\"3\" Name=\"Media\">\n<Keyword>player</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>\n";
    // Hand is given 8 here, one above the largest Id the file holds; the other program's 9
    // counts 8 as given, so the write gives Hand a fresh one.
    const std::string theirs1 = InsertedBefore(
        first, "</Purgelet>",
        "<Group Id=\"9\" Name=\"\xD0\x97\xD0\xB7\"/>\n<Group Name=\"Extra\">\n<Keyword>beta</Keyword>\n</Group>\n", true);
    const std::string written1 = Replaced(Replaced(theirs1, hand,
                                                   "<Group Name=\"Hand\" Color=\"red\" Id=\"10\">\n"
                                                   "<Keyword>alpha</Keyword>\n<Keyword>gamma</Keyword>\n</Group>\n"),
                                          "<Group Name=\"Extra\">", "<Group Name=\"Extra\" Id=\"11\">");
    const std::string theirs2 = InsertedBefore(written1, "</Purgelet>", "<Group Id=\"12\" Name=\"Older\"/>\n", false);
    const std::string written2 = InsertedBefore(
        theirs2, "</Purgelet>", "<Group Id=\"13\" Name=\"cartoons\">\n<Keyword>tom</Keyword>\n</Group>\n", true);

    const std::string expectedFile = m_groupsFile + ".expected";
    auto sameNodes = [&](const std::string& expected) {
        std::ofstream(expectedFile.c_str(), std::ios::binary | std::ios::trunc) << expected;
        EXPECT_EQ(xmlnodes::OfFile(expectedFile), xmlnodes::OfFile(m_groupsFile)) << GroupsFile();
    };
    WriteGroups(first);
    ClearGroups();
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Hand", "Media"}; }));
        WriteGroups(theirs1);
        OpenInEditor(dlg, "Hand");
        TypeInto(editor.m_wndKeywords, "gamma");
        ClickIn(editor.m_wndApply.m_hWnd);
        EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
        EXPECT_EQ((std::vector<std::string>{"Tools", "Hand", "Media", "Extra"}), TreeGroups(dlg));
        sameNodes(written1);

        WriteGroups(theirs2);
        NewGroup(dlg, "cartoons", "tom");
        EXPECT_EQ((std::vector<std::string>{"Tools", "Hand", "Media", "Extra", "cartoons"}), TreeGroups(dlg));
        sameNodes(written2);
    }));
    sameNodes(written2);
    for (const auto& box : TestApp().m_boxes)
        EXPECT_EQ(std::string::npos, box.text.find("could not be saved")) << box.text;
    ::DeleteFileA(expectedFile.c_str());
}

// The merges that gave one Id to two groups or made one group two, through the window:
// the other program changes the file before the user's change (the first of this run for
// two groups of one Id), and the write is the other program's file with that change
// alone, node for node; each Id is held by one group, and a change that cannot be made
// where the other program put the group is named in a box.
TEST_F(MainWindowGroupsFileTest, AChangeMadeHereAfterAnotherProgramsEditComesOutOnceUnderAnIdOfItsOwn)
{
    const auto file = GroupsFileOf;
    const auto group = GroupElement;
    const std::string tools = group("Id=\"2\" Name=\"Tools\"", {"corpus"});
    const std::string media = group("Id=\"3\" Name=\"Media\"", {"player"});
    const std::string unshown = group("Id=\"3\" Name=\"\xD0\x96\xD0\xB6\"", {"player"});
    const std::string media4 = group("Id=\"4\" Name=\"Media\"", {"player", "alpha"});
    const std::string below = std::to_string(kMaxStoredGroupId - 1);
    const std::string mediaTop = group("Id=\"" + std::to_string(kMaxStoredGroupId) + "\" Name=\"Media\"", {"player"});
    // With another groups element before, holding Media's Id; with the largest Id given.
    const auto earlier = [](const std::string& text) {
        return Replaced(text, "<Purgelet>", "<Purgelet>\n<Group Id=\"3\" Name=\"Old\"/>\n</Purgelet>\n<Purgelet>");
    };
    const auto lastId = [](const std::string& text) {
        return Replaced(text, "<Purgelet>", "<Purgelet LastId=\"4\">");
    };
    const char* const kDropped =
        "left out of the groups here.\r\n\r\nThe changes made here to the group \"Media\" are not stored: another "
        "program changed it meanwhile, and it is no longer among the groups shown here.";
    // Four groups of one Id; another copy renamed Media (the second) to Films and saved them,
    // each under an Id of its own.
    const std::string twins = group("Id=\"3\" Name=\"Games\"", {}) + group("Id=\"3\" Name=\"Media\"", {"player"}) +
                              group("Id=\"3\" Name=\"Docs\"", {}) + group("Id=\"3\" Name=\"Maps\"", {});
    const std::string films = group("Name=\"Films\" Id=\"4\"", {"player"}), maps = group("Name=\"Maps\" Id=\"6\"", {});
    const auto renamed = [&](const std::string& films) {
        return group("Id=\"3\" Name=\"Games\"", {}) + films + group("Name=\"Docs\" Id=\"5\"", {}) + maps;
    };
    const struct
    {
        const char* what;
        std::string first, theirs;  // the file at the start, and as the other program leaves it
        char change;  // 'n': a new group "cartoons" (tom), 'k': "alpha" added to Media, 'd': the first Media deleted
        std::string written;
        std::vector<std::string> tree;
        const char* box;  // the end of the one box, or null for none
    } cases[] = {
        // Tools and Media hold 2 and 3: this run gives 4 next.
        {"a group under the next Id and one without an Id, named as the group made here", file(tools + media),
         file(tools + media + group("Id=\"4\" Name=\"Q\"", {"q"}) + group("Name=\"cartoons\"", {"y"})), 'n',
         file(tools + media + group("Id=\"4\" Name=\"Q\"", {"q"}) + group("Name=\"cartoons\" Id=\"5\"", {"y", "tom"})),
         {"Tools", "Media", "Q", "cartoons"}, nullptr},
        {"the next Id given and deleted", file(tools + media), lastId(file(tools + media)), 'n',
         lastId(file(tools + media + group("Id=\"5\" Name=\"cartoons\"", {"tom"}))), {"Tools", "Media", "cartoons"},
         nullptr},
        {"the top Id this run gives next given and deleted", file(tools + mediaTop),
         Replaced(file(tools + mediaTop), "<Purgelet>", "<Purgelet LowestTopId=\"" + below + "\">"), 'n',
         Replaced(file(tools + mediaTop +
                       group("Id=\"" + std::to_string(kMaxStoredGroupId - 2) + "\" Name=\"cartoons\"", {"tom"})),
                  "<Purgelet>", "<Purgelet LowestTopId=\"" + below + "\">"),
         {"Tools", "Media", "cartoons"}, nullptr},
        {"two groups of one Id, the first deleted", file(tools + group("Id=\"2\" Name=\"Media\"", {"player"})),
         file(group("Id=\"2\" Name=\"Media\"", {"player"})), 'k',
         file(group("Id=\"2\" Name=\"Media\"", {"player", "alpha"})), {"Media"}, nullptr},
        {"two groups of one Id, the first edited", file(tools + media),
         file(group("Id=\"3\" Name=\"Tools\"", {"corpus", "x"}) + media), 'k',
         file(group("Id=\"3\" Name=\"Tools\"", {"corpus", "x"}) +
              group("Name=\"Media\" Id=\"4\"", {"player", "alpha"})),
         {"Tools", "Media"}, nullptr},
        {"two groups of one Id, the first edited, then saved by another copy", file(tools + media),
         file(group("Id=\"3\" Name=\"Tools\"", {"corpus", "x"}) + group("Name=\"Media\" Id=\"4\"", {"player"})), 'k',
         file(group("Id=\"3\" Name=\"Tools\"", {"corpus", "x"}) +
              group("Name=\"Media\" Id=\"4\"", {"player", "alpha"})),
         {"Tools", "Media"}, nullptr},
        {"four groups of one Id, renamed and saved by another copy", file(tools + twins), file(tools + renamed(films)),
         'k', file(tools + renamed(group("Name=\"Films\" Id=\"4\"", {"player", "alpha"}))),
         {"Tools", "Games", "Films", "Docs", "Maps"}, nullptr},
        // With the groups around it gone, which group Films is cannot be told: said, not made twice.
        {"four groups of one Id, renamed by another copy, those around it deleted", file(tools + twins),
         file(tools + films + maps), 'k', file(tools + films + maps), {"Tools", "Films", "Maps"},
         strstr(kDropped, "The changes")},
        {"an Id changed by hand", file(tools + media), file(tools + group("Id=\"30\" Name=\"Media\"", {"player"})),
         'k', file(tools + group("Id=\"30\" Name=\"Media\"", {"player", "alpha"})), {"Tools", "Media"}, nullptr},
        {"an Id changed by hand, held by another groups element", earlier(file(tools + media)),
         earlier(file(tools + group("Id=\"30\" Name=\"Media\"", {"player"}))), 'k',
         earlier(file(tools + group("Id=\"30\" Name=\"Media\"", {"player", "alpha"}))), {"Tools", "Media"}, nullptr},
        {"deleted, its Id held by another groups element", earlier(file(tools + media)), earlier(file(tools)), 'k',
         earlier(file(tools + media4)), {"Tools", "Media"}, nullptr},
        {"deleted, its Id held by a group not shown", file(tools + media + unshown), file(tools + unshown), 'k',
         file(tools + unshown + media4), {"Tools", "Media"}, "left out of the groups here."},
        {"renamed beyond the code page", file(tools + media), file(tools + unshown), 'k', file(tools + unshown),
         {"Tools"}, kDropped},
        {"renamed beyond the code page, and a group like it made", file(tools + media),
         file(tools + unshown + group("Id=\"5\" Name=\"Media\"", {"player"})), 'k',
         file(tools + unshown + group("Id=\"5\" Name=\"Media\"", {"player"})), {"Tools", "Media"}, kDropped},
        {"two groups alike, the first deleted and the second given another Id",
         file(tools + media + group("Id=\"4\" Name=\"Media\"", {"player"})),
         file(tools + group("Id=\"30\" Name=\"Media\"", {"player"})), 'd',
         file(tools + group("Id=\"30\" Name=\"Media\"", {"player"})), {"Tools", "Media"}, nullptr},
    };
    const std::string expectedFile = m_groupsFile + ".expected";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteGroups(c.first);
        TestApp().m_boxes.clear();
        ClearGroups();
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            ASSERT_TRUE(PumpUntil([&] { return TreeItem(dlg, "Media") != NULL; }));
            WriteGroups(c.theirs);
            if (c.change == 'n') {
                NewGroup(dlg, "cartoons", "tom");
            } else if (c.change == 'd') {
                ClickGroup(dlg, "Media");
                DeleteAnswered(dlg, IDYES);
            } else {
                OpenInEditor(dlg, "Media");
                TypeInto(editor.m_wndKeywords, "alpha");
                ClickIn(editor.m_wndApply.m_hWnd);
                EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
            }
            EXPECT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == c.tree; }));
            for (const GroupEntry* pGroup : CGroupManager::GetInstance()->m_Groups)
                EXPECT_EQ(pGroup, CGroupManager::GetInstance()->FindGroup(pGroup->Id)) << pGroup->Name;
        }));
        std::ofstream(expectedFile.c_str(), std::ios::binary | std::ios::trunc) << c.written;
        EXPECT_EQ(xmlnodes::OfFile(expectedFile), xmlnodes::OfFile(m_groupsFile)) << GroupsFile();
        ASSERT_EQ(c.box ? 1u : 0u, TestApp().m_boxes.size());
        if (c.box) {
            const std::string& text = TestApp().m_boxes[0].text;
            EXPECT_TRUE(text.size() > strlen(c.box) && text.compare(text.size() - strlen(c.box), strlen(c.box), c.box) == 0)
                << text;
        }
    }
    ::DeleteFileA(expectedFile.c_str());
}

// A file held at the start is read once free, and a group it gives no Id is given one
// here. Typing kept at a session's end names that group by its Id, so the end writes the
// Id into the file, though the groups did not change otherwise.
TEST_F(MainWindowGroupsFileTest, AnIdGivenWhenAHeldFileIsReadIsWrittenForTypingKeptAtASessionsEnd)
{
    const std::string first = GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"}) +
                                           GroupElement("Name=\"Media\"", {"player"}));
    WriteGroups(first);
    ClearGroups();
    HeldFile held(m_groupsFile, HeldFile::SharingNothing);
    ASSERT_TRUE(held.Hold());
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ASSERT_EQ(1u, Boxes(1).size()) << "the file is in use";
        held.Release();
        ASSERT_TRUE(held.Join());
        ASSERT_TRUE(PumpUntil([&] { return TreeItem(dlg, "Media") != NULL; }));
        OpenInEditor(dlg, "Media");
        ClickIn(editor.m_wndName.m_hWnd);
        Tap(VK_HOME);
        TapWith(VK_SHIFT, VK_END);
        Tap(VK_DELETE);
        EXPECT_TRUE(PumpUntil([&] { return editor.m_wndName.GetWindowTextLength() == 0; }));
        EXPECT_TRUE(SendSessionEnd(dlg, WM_QUERYENDSESSION, 0));
        SendSessionEnd(dlg, WM_ENDSESSION, TRUE);
    }));
    EXPECT_EQ(Replaced(first, "Name=\"Media\"", "Name=\"Media\" Id=\"3\""), GroupsFile());
}
