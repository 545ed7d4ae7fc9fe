// The flat edit's idle and themed frames, the search box's icon, font and margins, the
// tree's buffered painting and the icon list box's items.
#include "app_test_app.h"
#include "app/flat_edit.h"
#include "app/smart_list_box.h"
#include "app/tree_ctrl.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/theme/pm_bar_parts.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>

using testsupport::DibCanvas;

namespace {

// Paints through a CDC bound to a canvas for as long as it lives.
class CanvasDC : public CDC
{
public:
    explicit CanvasDC(DibCanvas& canvas) { Attach(canvas.Dc()); }
    ~CanvasDC() { Detach(); }
};

// Copies what a window shows (its whole window rectangle) into a canvas.
std::unique_ptr<DibCanvas> CaptureWindow(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    std::unique_ptr<DibCanvas> canvas(new DibCanvas(rc.right - rc.left, rc.bottom - rc.top));
    HDC hDC = ::GetWindowDC(hWnd);
    ::BitBlt(canvas->Dc(), 0, 0, canvas->Width(), canvas->Height(), hDC, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hDC);
    return canvas;
}

int Differences(const DibCanvas& a, const DibCanvas& b)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) ++n;
    return n;
}

HICON MakeSolidIcon(int size, COLORREF clr)
{
    HDC hScreen = ::GetDC(NULL);
    HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, size, size);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hMem, hColor);
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    RECT rc = {0, 0, size, size};
    ::FillRect(hMem, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
    HBITMAP hMask = ::CreateBitmap(size, size, 1, 1, NULL);
    HDC hMaskDC = ::CreateCompatibleDC(NULL);
    hOld = ::SelectObject(hMaskDC, hMask);
    ::PatBlt(hMaskDC, 0, 0, size, size, BLACKNESS);
    ::SelectObject(hMaskDC, hOld);
    ::DeleteDC(hMaskDC);
    ICONINFO info = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hMask);
    ::DeleteObject(hColor);
    return hIcon;
}

class FlatControlsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1)), "parent",
                                      WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 360, 260, NULL, NULL));
        ::SetForegroundWindow(m_parent.GetSafeHwnd());
        ::SetActiveWindow(m_parent.GetSafeHwnd());
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    HWND MakeChild(const char* cls, DWORD style, DWORD exStyle, int x, int y, int cx, int cy, UINT id)
    {
        return ::CreateWindowExA(exStyle, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, m_parent.GetSafeHwnd(),
                                 (HMENU)(UINT_PTR)id, ::GetModuleHandleA(NULL), NULL);
    }
    CExtPaintManager* PM() { return g_CurrentPaintManager.GetPM(); }

    CWnd m_parent;
};

}  // namespace

TEST_F(FlatControlsTest, TheFlatEditIsFlatWhileIdleAndThemedWhileHoveredOrFocused)
{
    CExtFlatEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(MakeChild("EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 10, 150, 24, 200)));
    edit.m_bHoverFrame = true;
    const int W = 150, H = 24;
    CRect rcFrame(3, 3, W - 3, H - 3);
    const COLORREF face = PM()->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, &edit);

    // Idle: the theme's simple frame one pixel in, the background colour round it.
    DibCanvas idle(W, H), idleRef(W, H);
    {
        CanvasDC dc(idle);
        edit.PaintFrame(rcFrame, &dc);
        CanvasDC ref(idleRef);
        PM()->DrawSimpleFrame(ref, CRect(1, 1, W - 1, H - 1), &edit);
        ref.Draw3dRect(CRect(0, 0, W, H), face, face);
    }
    EXPECT_EQ(0, Differences(idle, idleRef));
    EXPECT_EQ(face, idle.Pixel(0, H / 2));
    EXPECT_EQ(face, idle.Pixel(W / 2, H - 1));

    struct Case
    {
        const char* name;
        bool hover;
        bool focus;
        bool hoverFrame;
        bool themed;
    } cases[] = {
        {"hovered", true, false, true, true},
        {"focused", false, true, true, true},
        {"hovered without the hover-frame bit", true, false, false, false},
        {"focused without the hover-frame bit", false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        edit.m_bMouseOver = c.hover;
        edit.m_bHoverFrame = c.hoverFrame;
        ::SetFocus(c.focus ? edit.GetSafeHwnd() : m_parent.GetSafeHwnd());
        ASSERT_EQ(c.focus, ::GetFocus() == edit.GetSafeHwnd());
        DibCanvas look(W, H), ref(W, H);
        {
            CanvasDC dc(look);
            edit.PaintFrame(rcFrame, &dc);
            CanvasDC refDC(ref);
            if (c.themed) {
                CExtPaintManager::PAINTEDITFRAMEDATA data(&edit, rcFrame, true, c.hover, true, c.focus, false);
                PM()->DrawEditFrame(refDC, data);
            } else {
                PM()->DrawSimpleFrame(refDC, CRect(1, 1, W - 1, H - 1), &edit);
                refDC.Draw3dRect(CRect(0, 0, W, H), face, face);
            }
        }
        EXPECT_EQ(0, Differences(look, ref));
    }
    edit.DestroyWindow();
}

TEST_F(FlatControlsTest, TheFlatEditPaintsItsFrameInTheNonClientArea)
{
    CExtFlatEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(MakeChild("EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 10, 150, 24, 200)));
    edit.m_bHoverFrame = true;
    ::SetFocus(m_parent.GetSafeHwnd());
    edit.RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    testsupport::PumpPending();
    auto shown = CaptureWindow(edit.GetSafeHwnd());
    const COLORREF face = PM()->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, &edit);
    EXPECT_EQ(face, shown->Pixel(0, 12));
    EXPECT_EQ(face, shown->Pixel(75, 0));
    EXPECT_EQ(face, shown->Pixel(149, 12));
    edit.DestroyWindow();
}

TEST_F(FlatControlsTest, TheSearchBoxHasItsIconLargerFontAndMargin)
{
    EXPECT_EQ(::RegisterWindowMessageA(" CExtEditWithIcon::g_nMsgNotifySelect"), CExtEditWithIcon::g_nMsgNotifySelect);

    CExtEditWithIcon edit;
    ASSERT_TRUE(edit.SubclassWindow(MakeChild("EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 50, 200, 32, 201)));
    LOGFONT normal = {}, own = {};
    PM()->m_FontNormal.GetLogFont(&normal);
    HFONT hFont = (HFONT)edit.SendMessage(WM_GETFONT);
    ASSERT_EQ(edit.m_font.GetSafeHandle(), hFont);
    ::GetObjectA(hFont, sizeof(own), &own);
    EXPECT_EQ((LONG)(normal.lfHeight * 1.5), own.lfHeight);

    HWND hIcon = ::GetDlgItem(edit.GetSafeHwnd(), 101);
    ASSERT_EQ(edit.m_wndIcon.GetSafeHwnd(), hIcon);
    CRect rcClient, rcIcon;
    edit.GetClientRect(&rcClient);
    ::GetWindowRect(hIcon, &rcIcon);
    edit.ScreenToClient(&rcIcon);
    EXPECT_EQ(CRect(1, 1, 25, rcClient.bottom - 1), rcIcon);
    EXPECT_NE(0, ::GetWindowLongA(hIcon, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(SS_ICON, ::GetWindowLongA(hIcon, GWL_STYLE) & SS_TYPEMASK);

    // The text starts right of the icon, also after a resize.
    EXPECT_EQ(28, LOWORD(edit.SendMessage(EM_GETMARGINS)));
    CRect rcFormat;
    edit.GetRect(&rcFormat);
    EXPECT_GE(rcFormat.left, 28);
    edit.SetWindowPos(NULL, 0, 0, 260, 32, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    edit.GetRect(&rcFormat);
    EXPECT_GE(rcFormat.left, 28);
    edit.GetClientRect(&rcClient);
    EXPECT_LE(rcFormat.right, rcClient.right);
    edit.DestroyWindow();
}

TEST_F(FlatControlsTest, TheSearchBoxShowsItsIconAndRepaintsItWhenTyping)
{
    CExtEditWithIcon edit;
    ASSERT_TRUE(edit.SubclassWindow(MakeChild("EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 50, 200, 32, 201)));
    HICON hIcon = MakeSolidIcon(24, RGB(0, 160, 0));
    edit.m_wndIcon.m_hIcon = hIcon;
    edit.m_wndIcon.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    testsupport::PumpPending();
    auto shown = CaptureWindow(edit.m_wndIcon.GetSafeHwnd());
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), shown->Pixel(0, 0));
    EXPECT_EQ(RGB(0, 160, 0), shown->Pixel(1, 1));
    EXPECT_EQ(RGB(0, 160, 0), shown->Pixel(12, 12));

    edit.m_wndIcon.ValidateRect(NULL);
    CRect rcUpdate;
    EXPECT_FALSE(edit.m_wndIcon.GetUpdateRect(&rcUpdate));
    edit.SendMessage(WM_KEYUP, 'A', 0xC0000001);
    EXPECT_TRUE(edit.m_wndIcon.GetUpdateRect(&rcUpdate));
    edit.DestroyWindow();
    ::DestroyIcon(hIcon);
}

TEST_F(FlatControlsTest, TheTreeEraseNothingAndPaintsThroughItsBuffer)
{
    CExtTreeCtrl tree;
    ASSERT_TRUE(tree.SubclassWindow(MakeChild(WC_TREEVIEWA, TVS_HASBUTTONS | TVS_LINESATROOT, 0, 10, 90, 200, 120, 202)));
    HTREEITEM hRoot = tree.InsertItem("Groups");
    tree.InsertItem("Other", hRoot);
    tree.Expand(hRoot, TVE_EXPAND);

    DibCanvas untouched(20, 20, RGB(255, 0, 255));
    EXPECT_EQ(0, tree.SendMessage(WM_ERASEBKGND, (WPARAM)untouched.Dc()));
    EXPECT_EQ(RGB(255, 0, 255), untouched.Pixel(10, 10));

    tree.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    testsupport::PumpPending();
    auto shown = CaptureWindow(tree.GetSafeHwnd());
    CRect rcItem;
    tree.GetItemRect(hRoot, &rcItem, TRUE);
    RECT area = {rcItem.left, rcItem.top, rcItem.right, rcItem.bottom};
    EXPECT_GT(shown->Count(::GetSysColor(COLOR_WINDOWTEXT), area), 0);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), shown->Pixel(190, 110));
    tree.DestroyWindow();
}

namespace {

class CRecordingListBox : public CExtSmartListBox
{
public:
    std::vector<std::string> m_deleted;
    void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override
    {
        SmartListItem* pItem = (SmartListItem*)lpDeleteItemStruct->itemData;
        m_deleted.push_back(pItem != NULL ? (LPCTSTR)pItem->strText : "<none>");
        CExtSmartListBox::DeleteItem(lpDeleteItemStruct);
    }
};

}  // namespace

TEST_F(FlatControlsTest, ListBoxItemsCarryTheirRecordsUntilDeleted)
{
    CRecordingListBox list;
    ASSERT_TRUE(list.SubclassWindow(
        MakeChild("LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, 0, 10, 10, 200, 120, 203)));
    EXPECT_EQ(0, list.AddString("Games"));
    EXPECT_EQ(1, (int)list.SendMessage(LB_ADDSTRING, 0, 0));
    EXPECT_EQ(0, list.InsertString(0, "Tools"));
    ASSERT_EQ(3, list.GetCount());
    ASSERT_NE(nullptr, list.GetItem(0));
    EXPECT_STREQ("Tools", list.GetItem(0)->strText);
    EXPECT_STREQ("Games", list.GetItem(1)->strText);
    EXPECT_STREQ("", list.GetItem(2)->strText);
    EXPECT_FALSE(list.GetItem(1)->bBold);
    EXPECT_EQ(nullptr, list.GetItem(1)->pUserData);
    EXPECT_EQ(nullptr, list.GetItem(7));

    list.DeleteString(1);
    ASSERT_EQ(1u, list.m_deleted.size());
    EXPECT_EQ("Games", list.m_deleted[0]);
    list.ResetContent();
    EXPECT_EQ(3u, list.m_deleted.size());
    list.DestroyWindow();
}

TEST_F(FlatControlsTest, ListBoxItemsArePaintedWithTheirFormatsUnlessSelected)
{
    CExtSmartListBox list;
    ASSERT_TRUE(list.SubclassWindow(
        MakeChild("LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, 0, 10, 10, 200, 120, 203)));
    list.SetItemHeight(0, 20);
    for (const char* text : {"Plain", "Coloured", "Bold", "Iconic"}) list.AddString(text);
    const COLORREF back = RGB(255, 240, 200), red = RGB(192, 0, 0);
    SmartListItem* pColoured = list.GetItem(1);
    pColoured->clrBack = back;
    pColoured->bBackSet = true;
    pColoured->clrText = red;
    pColoured->bTextSet = true;
    list.GetItem(2)->bBold = true;
    list.GetItem(2)->strText = "Plain";
    HICON hIcon = MakeSolidIcon(::GetSystemMetrics(SM_CXSMICON), RGB(0, 160, 0));
    list.GetItem(3)->hIcon = hIcon;

    CRect rcClient;
    list.GetClientRect(&rcClient);
    auto print = [&]() {
        std::unique_ptr<DibCanvas> canvas(new DibCanvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3)));
        list.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas->Dc(), PRF_CLIENT);
        return canvas;
    };
    auto itemRect = [&](int i) {
        CRect rc;
        list.GetItemRect(i, &rc);
        return RECT{rc.left, rc.top, rc.right, rc.bottom};
    };
    auto canvas = print();
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), canvas->Pixel(190, itemRect(0).top + 2));
    EXPECT_EQ(back, canvas->Pixel(190, itemRect(1).top + 2));
    EXPECT_GT(canvas->Count(red, itemRect(1)), 0);
    int normal = canvas->Count(::GetSysColor(COLOR_WINDOWTEXT), itemRect(0));
    int bold = canvas->Count(::GetSysColor(COLOR_WINDOWTEXT), itemRect(2));
    EXPECT_GT(normal, 0);
    EXPECT_GT(bold, normal);
    RECT iconic = itemRect(3);
    EXPECT_EQ(RGB(0, 160, 0), canvas->Pixel(iconic.left + 1, (iconic.top + iconic.bottom) / 2));

    list.SetCurSel(1);
    canvas = print();
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), canvas->Pixel(190, itemRect(1).top + 2));
    EXPECT_EQ(0, canvas->Count(red, itemRect(1)));
    EXPECT_GT(canvas->Count(::GetSysColor(COLOR_HIGHLIGHTTEXT), itemRect(1)), 0);

    list.DestroyWindow();
    ::DestroyIcon(hIcon);
}
