// Command tree nodes: every tree operation, the item-to-node flag mapping, text and icon
// lookups, the archive round trip (and a damaged archive), trees built from the test
// menu, and the customize site's lookup.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "tests/toolkit/core/cmd_test_icons.h"
#include "tests/toolkit/core/cmd_test_ids.h"
#include "support/archive_bytes.h"

#include <string.h>
#include <vector>

namespace {

typedef CExtCustomizeCmdTreeNode Node;

Node* Child(Node& parent, UINT id, DWORD dwFlags = 0, LPCTSTR sMenu = NULL) {
    Node* p = new Node(id, id, NULL, dwFlags, NULL, sMenu);
    parent.InsertNode(NULL, p);
    return p;
}

std::vector<UINT> Ids(const Node& n) {
    std::vector<UINT> v;
    for (int i = 0; i < n.GetNodeCount(); i++)
        v.push_back(n.ElementAt(i)->GetCmdID());
    return v;
}

}  // namespace

TEST(CmdTree, DefaultsAndRunTimeClass) {
    CObject* pObject = RUNTIME_CLASS(Node)->CreateObject();
    Node* p = DYNAMIC_DOWNCAST(Node, pObject);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetCmdID(false), 0u);
    EXPECT_EQ(p->GetExtraValue1(), 100);
    EXPECT_EQ(p->GetExtraValue2(), -2);
    EXPECT_EQ(p->GetExtraValue3(), 250);
    EXPECT_EQ(p->GetParentNode(), nullptr);
    EXPECT_FALSE(p->IsPopupLike());
    EXPECT_EQ(RUNTIME_CLASS(Node)->m_wSchema, (UINT)(VERSIONABLE_SCHEMA | 1));
    delete p;
}

TEST(CmdTree, InsertRemoveAndSwap) {
    Node root;
    Child(root, 1);
    Child(root, 2);
    Node* n3 = new Node(3, 3);
    EXPECT_EQ(root.InsertNode(NULL, n3, 99), 2) << "a position beyond the count appends";
    EXPECT_NE(root.GetFlags() & 0x4, 0u);
    EXPECT_EQ(n3->GetParentNode(), &root);
    EXPECT_EQ(n3->GetIndexInParent(), 2);
    Node* n0 = new Node(9, 9);
    EXPECT_EQ(root.InsertNode(NULL, n0, 0), 0);
    EXPECT_EQ(Ids(root), (std::vector<UINT>{9, 1, 2, 3}));
    EXPECT_EQ(root.RemoveNodes(5, 1), 0);
    EXPECT_EQ(root.RemoveNodes(0, 1), 1);
    EXPECT_EQ(root.RemoveNodes(1, -1), 2);
    EXPECT_EQ(Ids(root), (std::vector<UINT>{1}));

    Child(root, 2, 0x10);
    Child(root, 3, 0x20);
    EXPECT_EQ(root.SwapNodes(0, 1, 0x10), 1);
    EXPECT_EQ(Ids(root), (std::vector<UINT>{2, 1, 3}));
    EXPECT_EQ(root.ElementAt(0)->GetFlags() & 0x10, 0u) << "the masked flag stays at its position";
    EXPECT_EQ(root.ElementAt(1)->GetFlags() & 0x10, 0x10u);
    EXPECT_EQ(root.GetOwnIndex(root.ElementAt(2)), 2);
    EXPECT_EQ(root.GetOwnIndex(&root), -1);

    bool bThrown = false;
    try {
        root.ElementAt(3);
    } catch (CInvalidArgException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

TEST(CmdTree, RemoveSelfFixesTheSeparator) {
    Node root;
    Child(root, 1);
    Node* n2 = Child(root, 2, 0x10);
    Child(root, 3, 0x10);
    n2->RemoveSelf(true);
    ASSERT_EQ(Ids(root), (std::vector<UINT>{1, 3}));
    EXPECT_EQ(root.ElementAt(1)->GetFlags() & 0x10, 0u);
    root.ElementAt(1)->ModifyFlags(0x10);
    root.ElementAt(0)->RemoveSelf(false);
    EXPECT_EQ(root.ElementAt(0)->GetFlags() & 0x10, 0x10u);
}

TEST(CmdTree, SearchesAndRanges) {
    Node root;
    Child(root, 10, 0, "A");
    Child(root, 20, 0, "B");
    Child(root, 10, 0, "A");
    Node* sub = Child(root, 30, 0, "C");
    Child(*sub, 15);
    Child(*sub, 40);
    root.ElementAt(1)->SetTextUser("user");
    root.ElementAt(1)->SetTextInToolbar("tb");

    EXPECT_EQ(root.SearchNodeByCmdID(10), 0);
    EXPECT_EQ(root.SearchNodeByCmdID(10, 0), 2);
    EXPECT_EQ(root.SearchNodeByCmdID(10, 2), -1);
    EXPECT_EQ(root.SearchNodeBackwardByCmdID(10), 2);
    EXPECT_EQ(root.SearchNodeBackwardByCmdID(10, 2), 0);
    EXPECT_EQ(root.SearchNodeByText("A", 1, 0), 2);
    EXPECT_EQ(root.SearchNodeByText("tb", 0), 1);
    EXPECT_EQ(root.SearchNodeByText("user", 2), 1);
    EXPECT_EQ(root.SearchNodeByText("a", 1), -1) << "exact comparison";
    EXPECT_EQ(root.SearchNodeBackwardByText("A", 1, 99), 2);
    EXPECT_EQ(root.SearchNodeByText(NULL, 0), 0) << "NULL is the empty text";

    EXPECT_TRUE(root.IsAncestorOf(sub->ElementAt(0)));
    EXPECT_FALSE(root.IsAncestorOf(&root));
    EXPECT_FALSE(root.IsAncestorOf(NULL));
    EXPECT_FALSE(sub->IsAncestorOf(root.ElementAt(0)));
    EXPECT_TRUE(sub->IsPopupLike());
    EXPECT_FALSE(root.ElementAt(0)->IsPopupLike());
    root.ElementAt(0)->ModifyFlags(0x80000);
    EXPECT_TRUE(root.ElementAt(0)->IsPopupLike());

    EXPECT_EQ(root.RemoveCmdIdRange(10, 15, true, false), 2);
    EXPECT_EQ(sub->GetNodeCount(), 2);
    EXPECT_EQ(root.RemoveCmdIdRange(10, 15, true, true), 1);
    EXPECT_EQ(Ids(*sub), (std::vector<UINT>{40}));
    EXPECT_EQ(Ids(root), (std::vector<UINT>{20, 30}));
}

TEST(CmdTree, ItemFlagsMapToNodeFlags) {
    struct Case {
        DWORD state;
        DWORD before;
        DWORD after;
    };
    const Case cases[] = {
        {0x1400, 0x80000, 0x2800},
        {0x10000400, 0x2000, 0x80800},
        {0x400, 0x82000, 0x800},
        {0, 0x86800, 0},
        {0x800, 0, 0x1000},
        {0, 0x1000, 0},
        {0x2400, 0, 0x4800},
        {0x2000, 0, 0},
        {0x20000000, 0, 0x100000},
        {0x4000, 0, 0x8000},
        {0x8000, 0, 0x10000},
        {0x10000, 0, 0x20000},
        {0x20000 | 0x40000 | 0x80000 | 0x100000 | 0x200000, 0, 0x40 | 0x80 | 0x100 | 0x200 | 0x40000},
        {0, 0x40 | 0x80, 0x40 | 0x80},
        {0x100, 0, 0x4},
    };
    for (const Case& c : cases) {
        CExtCmdItem cmd(5);
        cmd.m_dwStateFlags = c.state;
        Node node(0, 0, NULL, c.before);
        node.AssignFromCmdItem(cmd);
        EXPECT_EQ(node.GetFlags(), c.after) << std::hex << "state " << c.state << " before " << c.before;
    }
    CExtCmdItem cmd(77);
    cmd.m_sMenuText = "menu";
    cmd.m_sToolbarText = "tb";
    cmd.m_nLParam = 3;
    cmd.m_nExtraValue3 = 1;
    Node node(1, 2);
    node.AssignFromCmdItem(cmd);
    EXPECT_EQ(node.GetCmdID(false), 77u);
    EXPECT_EQ(node.GetCmdID(true), 77u);
    EXPECT_STREQ(node.m_sTextInMenu, "menu");
    EXPECT_STREQ(node.m_sTextInToolbar, "tb");
    EXPECT_EQ(node.GetLParam(), 3u);
    EXPECT_EQ(node.GetExtraValue3(), 1);
    EXPECT_EQ(node.SetCmdID(8, true), 77u);
    EXPECT_EQ(node.GetCmdID(false), 77u);
    EXPECT_EQ(node.GetCmdID(true), 8u);
}

TEST(CmdTree, TextsFallBackToTheCommandItem) {
    CExtCmdProfile profile("texts");
    CExtCmdItem tmp(5);
    tmp.m_sMenuText = "Item menu";
    tmp.m_sToolbarText = "Item tb";
    profile.CmdSetup(tmp);
    CExtCmdItem* pItem = profile.CmdGetPtr(5);

    Node node(5, 5);
    EXPECT_STREQ(node.GetTextInMenu(pItem), "Item menu");
    EXPECT_STREQ(node.GetTextInToolbar(pItem), "Item tb");
    pItem->m_sMenuText.Empty();
    EXPECT_STREQ(node.GetTextInMenu(pItem), "Item tb");
    node.SetTextInToolbar("Node tb");
    EXPECT_STREQ(node.GetTextInMenu(pItem), "Node tb");
    node.SetTextInMenu("Node menu");
    EXPECT_STREQ(node.GetTextInMenu(pItem), "Node menu");
    EXPECT_STREQ(node.GetTextInToolbar(pItem), "Node tb");
    node.SetTextInToolbar(NULL);
    EXPECT_STREQ(node.GetTextInToolbar(pItem), "Node menu");
    EXPECT_STREQ(node.GetTextInMenu(NULL), "Node menu");

    // Styles 0 and 1 show no toolbar text beside an icon, unless forced.
    CExtCmdIcon icon;
    MakeSolidIcon(icon, RGB(9, 9, 9), 8, 8);
    profile.CmdSetIcon(5, icon);
    EXPECT_STREQ(node.GetTextInToolbar(pItem), "");
    EXPECT_STREQ(node.GetTextInToolbar(pItem, true), "Node menu");
    node.ModifyFlags(2);
    EXPECT_STREQ(node.GetTextInToolbar(pItem), "Node menu") << "style 2 shows no icon";
}

TEST(CmdTree, IconLookups) {
    CExtCmdProfile profile("icons");
    CExtCmdItem tmp(5);
    profile.CmdSetup(tmp);
    CExtCmdItem* pItem = profile.CmdGetPtr(5);
    CExtCmdIcon cmdIcon, ownIcon;
    MakeSolidIcon(cmdIcon, RGB(1, 1, 1), 8, 8);
    MakeSolidIcon(ownIcon, RGB(2, 2, 2), 8, 8);

    Node node(5, 5);
    EXPECT_EQ(node.GetIconPtrInToolbar(pItem), nullptr);
    EXPECT_FALSE(node.CanShowIcon(pItem));
    profile.CmdSetIcon(5, cmdIcon);
    CExtCmdIcon* pCmdIcon = profile.CmdGetIconPtr(5);
    EXPECT_EQ(node.GetIconPtrInToolbar(pItem), pCmdIcon);
    EXPECT_TRUE(node.CanShowIcon(pItem));
    node.m_iconCustomized.AssignFrom(ownIcon);
    EXPECT_EQ(node.GetIconPtrInToolbar(pItem), &node.m_iconCustomized) << "the node's own icon first";
    EXPECT_EQ(node.GetIconPtrInToolbar(pItem, true), pCmdIcon);
    EXPECT_EQ(node.GetIconPtrCustomized(false, pItem), &node.m_iconCustomized);
    pItem->SetStateBit9(true);
    EXPECT_EQ(node.GetIconPtrInToolbar(pItem), pCmdIcon) << "item bit 0x200: the command icon first";
    EXPECT_EQ(node.GetIconPtrCustomized(false, pItem), pCmdIcon);
    pItem->SetStateBit9(false);

    node.ModifyFlags(1);
    EXPECT_NE(node.GetIconPtrInToolbar(pItem), nullptr);
    EXPECT_EQ(node.GetIconPtrInMenu(pItem), nullptr) << "style 1: no menu icon";
    EXPECT_EQ(node.GetIconPtrInMenu(pItem, true), pCmdIcon);
    node.ModifyFlags(2, 1);
    EXPECT_EQ(node.GetIconPtrInToolbar(pItem), nullptr);
    node.ModifyFlags(0, 3);
    node.ModifyFlags(0x8000);
    EXPECT_FALSE(node.CanShowIcon(pItem));
    node.ModifyFlags(0, 0x8000);
    node.ResetIcon();
    EXPECT_TRUE(node.m_iconCustomized.IsEmpty());
    EXPECT_EQ(node.GetIconPtrCustomized(false, pItem), nullptr);
    EXPECT_EQ(node.GetIconPtrCustomized(true, pItem), &node.m_iconCustomized);
}

TEST(CmdTree, ArchiveRoundTripKeepsTheWholeTree) {
    Node root(1, 2, NULL, 0x3, "tb", "menu", "user", 7, NULL, 11, 12, 13);
    root.m_sExtraText = "extra";
    MakeSolidIcon(root.m_iconCustomized, RGB(10, 20, 30), 8, 8);
    Node* a = Child(root, 100, 0x10, "A");
    Child(*a, 101, 0, "A1");
    Child(root, 200, 0x8, "B");

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << &root;
        ar.Close();
    }
    file.SeekToBegin();
    CObject* pObject = NULL;
    {
        CArchive ar(&file, CArchive::load);
        ar >> pObject;
    }
    Node* p = DYNAMIC_DOWNCAST(Node, pObject);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetParentNode(), nullptr);
    EXPECT_EQ(p->GetCmdID(false), 1u);
    EXPECT_EQ(p->GetCmdID(true), 2u);
    EXPECT_EQ(p->GetFlags(), root.GetFlags());
    EXPECT_STREQ(p->m_sTextInToolbar, "tb");
    EXPECT_STREQ(p->m_sTextInMenu, "menu");
    EXPECT_STREQ(p->GetTextUser(), "user");
    EXPECT_EQ(p->GetLParam(), 7u);
    EXPECT_EQ(p->GetExtraValue1(), 11);
    EXPECT_EQ(p->GetExtraValue2(), 12);
    EXPECT_EQ(p->GetExtraValue3(), 13);
    EXPECT_STREQ(p->m_sExtraText, "extra");
    EXPECT_EQ(p->m_iconCustomized.m_bmpNormal.GetPixelColor(2, 2), RGB(10, 20, 30));
    ASSERT_EQ(Ids(*p), (std::vector<UINT>{100, 200}));
    EXPECT_EQ(p->ElementAt(0)->GetParentNode(), p);
    EXPECT_EQ(p->ElementAt(0)->GetFlags(), 0x10u | 0x4u);
    ASSERT_EQ(p->ElementAt(0)->GetNodeCount(), 1);
    EXPECT_STREQ(p->ElementAt(0)->ElementAt(0)->m_sTextInMenu, "A1");
    EXPECT_TRUE(p->ElementAt(1)->m_iconCustomized.IsEmpty());
    delete p;

    // A stream cut inside a child ends in the archive's exception, not a crash.
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    for (size_t cut : {bytes.size() / 2, bytes.size() - 3}) {
        CMemFile part(bytes.data(), (UINT)cut);
        CArchive ar(&part, CArchive::load);
        CObject* pLoaded = NULL;
        bool bThrown = false;
        try {
            ar >> pLoaded;
        } catch (CArchiveException* e) {
            bThrown = true;
            e->Delete();
        }
        EXPECT_TRUE(bThrown) << "cut at " << cut;
        EXPECT_EQ(pLoaded, nullptr);
    }
}

namespace {

using testsupport::StoredBytes;

void PutDword(std::vector<BYTE>& v, DWORD dw) {
    for (int i = 0; i < 4; i++)
        v.push_back((BYTE)(dw >> (8 * i)));
}

void PutText(std::vector<BYTE>& v, const char* s) {
    v.push_back((BYTE)strlen(s));
    v.insert(v.end(), s, s + strlen(s));
}

void PutNodeFields(std::vector<BYTE>& v, DWORD basic, DWORD effective, DWORD flags, const char* tb,
                   const char* menu, const char* user, DWORD lParam, int x1, int x2, int x3, const char* extra) {
    PutDword(v, basic);
    PutDword(v, effective);
    PutDword(v, flags);
    PutText(v, tb);
    PutText(v, menu);
    PutText(v, user);
    PutDword(v, lParam);
    PutDword(v, (DWORD)x1);
    PutDword(v, (DWORD)x2);
    PutDword(v, (DWORD)x3);
    PutText(v, extra);
}

}  // namespace

TEST(CmdTree, ArchiveBytesFollowTheNodeLayout) {
    Node root(5, 6, NULL, 0x10, "t", "m", NULL, 7);
    root.m_sExtraText = "x";
    Child(root, 9, 0x1, "c")->SetLParam(3);

    CExtCmdIcon iconEmpty;
    std::vector<BYTE> icon = StoredBytes([&](CArchive& ar) { iconEmpty.Serialize(ar); });
    std::vector<BYTE> want;
    PutNodeFields(want, 5, 6, 0x14, "t", "m", "", 7, 100, -2, 250, "x");
    PutDword(want, 1);  // one child, with its class record
    want.push_back(0xFF);
    want.push_back(0xFF);  // a new class
    want.push_back(1);
    want.push_back(0);  // schema 1
    const char kName[] = "CExtCustomizeCmdTreeNode";
    want.push_back((BYTE)(sizeof(kName) - 1));
    want.push_back(0);
    want.insert(want.end(), kName, kName + sizeof(kName) - 1);
    PutNodeFields(want, 9, 9, 0x1, "", "c", "", 3, 100, -2, 250, "");
    PutDword(want, 0);
    want.insert(want.end(), icon.begin(), icon.end());  // the child's icon
    want.insert(want.end(), icon.begin(), icon.end());  // the root's icon

    std::vector<BYTE> got = StoredBytes([&](CArchive& ar) { root.Serialize(ar); });
    EXPECT_EQ(got, want);
}

TEST(CmdTree, SettersAnswerAsDocumented) {
    Node a, b;
    EXPECT_EQ(a.SetLParam(5), 0u) << "the previous value";
    EXPECT_EQ(a.SetLParam(6), 5u);
    EXPECT_EQ(a.SetParentNode(&b), nullptr) << "the previous parent";
    EXPECT_EQ(a.SetParentNode(NULL), &b);
    EXPECT_EQ(a.SetExtraValue1(1), 1) << "the new value";
    EXPECT_EQ(a.SetExtraValue2(2), 2);
    EXPECT_EQ(a.SetExtraValue3(3), 3);
    EXPECT_EQ(a.GetExtraValue1() * 100 + a.GetExtraValue2() * 10 + a.GetExtraValue3(), 123);
    EXPECT_EQ(a.SetCmdID(7, true), 0u) << "the previous effective id";
    EXPECT_EQ(a.GetCmdID(false), 0u) << "effective only";
    EXPECT_EQ(a.SetCmdID(8), 7u);
    EXPECT_EQ(a.GetCmdID(false), 8u);
    EXPECT_EQ(a.ModifyFlags(0x30, 0x10), 0u) << "the previous flags";
    EXPECT_EQ(a.GetFlags(), 0x20u);
}

TEST(CmdTree, CopiesAreDeepAndDetached) {
    Node src(1, 1, NULL, 0x1);
    Node* a = Child(src, 10, 0, "A");
    Child(*a, 11, 0, "A1");
    Node dst(9, 9);
    Child(dst, 99);
    dst.AssignFrom(src);
    ASSERT_EQ(Ids(dst), (std::vector<UINT>{10}));
    EXPECT_NE(dst.ElementAt(0), a);
    EXPECT_EQ(dst.ElementAt(0)->GetParentNode(), &dst);
    EXPECT_STREQ(dst.ElementAt(0)->ElementAt(0)->m_sTextInMenu, "A1");
    EXPECT_EQ(dst.GetFlags(), src.GetFlags());

    Node* shallow = src.CloneNode(NULL, false);
    EXPECT_EQ(shallow->GetNodeCount(), 0);
    EXPECT_EQ(shallow->GetParentNode(), nullptr);
    delete shallow;
    Node* deep = a->CloneNode(NULL, true);
    EXPECT_EQ(deep->GetParentNode(), nullptr);
    EXPECT_EQ(Ids(*deep), (std::vector<UINT>{11}));
    delete deep;
    Node other;
    EXPECT_EQ(other.AssignChildren(NULL, src), 1);
    EXPECT_EQ(other.ElementAt(0)->ElementAt(0)->GetCmdID(), 11u);
}

TEST(CmdTree, LoadsTheTestMenuForTheWindowsProfile) {
    HWND hWnd = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    CWnd wnd;
    wnd.Attach(hWnd);
    CMenu menu;
    ASSERT_TRUE(g_CurrentResourceManager->LoadMenu(menu, IDR_TEST_MENU));
    Node root;
    EXPECT_FALSE(root.LoadMenuTree(&wnd, NULL, &menu)) << "no profile for the window";
    ASSERT_TRUE(g_CommandManager->ProfileSetup("tree", hWnd));
    ASSERT_TRUE(g_CommandManager->UpdateFromMenu("tree", menu.GetSafeHmenu()));
    ASSERT_TRUE(root.LoadMenuTree(&wnd, NULL, &menu));

    ASSERT_EQ(root.GetNodeCount(), 2);
    Node* file = root.ElementAt(0);
    EXPECT_NE(file->GetFlags() & 0x8, 0u);
    CExtCmdItem* pFileItem = g_CommandManager->CmdGetPtr("tree", file->GetCmdID());
    ASSERT_NE(pFileItem, nullptr) << "a sub-menu gets a command id of its own";
    EXPECT_EQ(file->GetCmdID(), 65534u);
    EXPECT_TRUE(pFileItem->IsBasicCommand());
    EXPECT_TRUE(pFileItem->GetStateBit8());
    EXPECT_STREQ((LPCTSTR)pFileItem->m_sMenuText, "&File");
    ASSERT_EQ(Ids(*file), (std::vector<UINT>{ID_TEST_OPEN, ID_TEST_EXIT}));
    EXPECT_EQ(file->ElementAt(0)->GetFlags() & 0x10, 0u);
    EXPECT_EQ(file->ElementAt(1)->GetFlags() & 0x10, 0x10u) << "follows the separator";
    EXPECT_STREQ(file->ElementAt(0)->m_sTextInMenu, "&Open");

    Node* edit = root.ElementAt(1);
    ASSERT_EQ(edit->GetNodeCount(), 2);
    Node* more = edit->ElementAt(1);
    EXPECT_NE(more->GetFlags() & 0x8, 0u);
    EXPECT_STREQ(g_CommandManager->CmdGetPtr("tree", more->GetCmdID())->m_sMenuText, "&More");
    EXPECT_EQ(Ids(*more), (std::vector<UINT>{ID_TEST_PASTE}));

    CMenu notAMenu;
    EXPECT_FALSE(root.LoadMenuTree(&wnd, NULL, &notAMenu));
    wnd.Detach();
    ::DestroyWindow(hWnd);
    EXPECT_TRUE(g_CommandManager->ProfileDestroy("tree", true));
}

namespace {

CExtCustomizeSite g_site;

LRESULT CALLBACK SiteAnsweringProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == CExtCustomizeSite::g_nMsgQueryCustomizeSite && wp != 0) {
        *(CExtCustomizeSite**)wp = &g_site;
        return 1;
    }
    return ::DefWindowProcA(h, msg, wp, lp);
}

}  // namespace

TEST(CmdTree, CustomizeSiteIsFoundByMapOrByAsking) {
    EXPECT_NE(CExtCustomizeSite::g_nMsgQueryCustomizeSite, 0u);
    EXPECT_NE(CExtCustomizeSite::g_nMsgAssignAccelTable, 0u);
    EXPECT_NE(CExtCustomizeSite::g_nMsgSyncAccelTable, 0u);
    EXPECT_NE(CExtCustomizeSite::g_nMsgSyncContent, 0u);
    EXPECT_NE(CExtCustomizeSite::g_nMsgDelayCustomization, 0u);
    EXPECT_EQ(CExtCustomizeSite::g_nMsgQueryCustomizeSite,
              ::RegisterWindowMessageA("CExtCustomizeSite::g_nMsgQueryCustomizeSite"));

    WNDCLASSA wc = {};
    wc.lpfnWndProc = SiteAnsweringProc;
    wc.hInstance = ::GetModuleHandle(NULL);
    wc.lpszClassName = "CmdTreeSiteOwner";
    ::RegisterClassA(&wc);
    HWND hOwner = ::CreateWindowA("CmdTreeSiteOwner", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    HWND hChild = ::CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 5, 5, hOwner, NULL, NULL, NULL);
    HWND hLone = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 5, 5, NULL, NULL, NULL, NULL);
    EXPECT_EQ(CExtCustomizeSite::GetCustomizeSite(hChild), &g_site);
    EXPECT_EQ(CExtCustomizeSite::GetCustomizeSite(hLone), nullptr);
    CExtCustomizeSite mapped;
    CExtCustomizeSite::g_CustomizeSitesMap.SetAt(hLone, &mapped);
    EXPECT_EQ(CExtCustomizeSite::GetCustomizeSite(hLone), &mapped);
    CExtCustomizeSite::g_CustomizeSitesMap.RemoveKey(hLone);
    EXPECT_FALSE(mapped.IsCurrentButton(NULL));
    mapped.m_dwValue2 = 5;
    EXPECT_EQ(mapped.GetStoredValue(true), 5u);
    EXPECT_EQ(mapped.GetStoredValue(false), 0u);

    // A site's node factory makes the nodes of a tree built under it.
    Node root;
    Node* pMade = mapped.OnCmdNodeCreate(4, 5);
    EXPECT_EQ(root.InsertNode(&mapped, pMade), 0);
    Node* pClone = root.CloneNode(&mapped, true);
    EXPECT_EQ(pClone->ElementAt(0)->GetCmdID(false), 4u);
    delete pClone;
    ::DestroyWindow(hLone);
    ::DestroyWindow(hOwner);
}
