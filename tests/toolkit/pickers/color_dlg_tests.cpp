// The colour dialog: its title, the nine edits kept in step, a value out of range, and
// the colour button's custom colour chosen in it.
#include <gtest/gtest.h>

#include <functional>

#include "support/message_pump.h"
#include "toolkit/dialogs/color_button.h"
#include "toolkit/menus/popup_color_menu_wnd.h"
#include "toolkit/pickers/color_dlg.h"

using testsupport::PumpPending;

namespace {

std::function<void(CExtColorDlg&)> g_fnInside;
CString g_sMessageBoxText;

CExtColorDlg* g_pDlg = nullptr;  // the dialog a test runs itself

CExtColorDlg* FindOpenDialog()
{
    if (g_pDlg != nullptr)
        return g_pDlg->GetSafeHwnd() != NULL ? g_pDlg : nullptr;
    HWND hWnd = ::FindWindowA(NULL, "Colors");
    return hWnd != NULL ? static_cast<CExtColorDlg*>(CWnd::FromHandlePermanent(hWnd)) : nullptr;
}

void CALLBACK RunInside(HWND, UINT, UINT_PTR nId, DWORD)
{
    CExtColorDlg* pDlg = FindOpenDialog();
    if (pDlg == nullptr || !pDlg->IsWindowVisible())
        return;
    ::KillTimer(NULL, nId);
    g_fnInside(*pDlg);
    pDlg->PostMessage(WM_COMMAND, IDOK);
}

// Reads and closes the message box an out-of-range value brings up.
void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR nId, DWORD)
{
    HWND hWndBox = ::GetActiveWindow();
    char szClass[16] = "";
    ::GetClassNameA(hWndBox, szClass, sizeof(szClass));
    if (lstrcmpA(szClass, "#32770") != 0 || FindOpenDialog() == nullptr || hWndBox == FindOpenDialog()->m_hWnd)
        return;
    ::KillTimer(NULL, nId);
    char szText[128] = "";
    ::GetDlgItemTextA(hWndBox, 0xFFFF, szText, sizeof(szText));
    g_sMessageBoxText = szText;
    ::PostMessage(hWndBox, WM_COMMAND, IDOK, 0);
}

CString Field(CExtColorDlg& dlg, int nField)
{
    CString s;
    dlg.m_wndEdit[nField].GetWindowText(s);
    return s;
}

}  // namespace

TEST(ColorDlg, EditsFollowEveryChangeAndRefuseValuesOutOfRange)
{
    CExtColorDlg dlg(RGB(255, 0, 0), RGB(255, 0, 0));
    dlg.m_strCaption = "x\nPick a colour";
    g_fnInside = [](CExtColorDlg& d) {
        char szTitle[64] = "";
        ::GetWindowTextA(d.m_hWnd, szTitle, sizeof(szTitle));
        EXPECT_STREQ("Pick a colour", szTitle);
        EXPECT_EQ(15, d.m_wndComboMode.GetCount());
        const char* const kRed[] = {"255", "0", "0", "0", "255", "255", "0", "255", "128"};
        for (int i = 0; i < CExtColorDlg::FIELD_COUNT; i++)
            EXPECT_STREQ(kRed[i], Field(d, i)) << "field " << i;
        // The typed hue, saturation and lightness stay as typed; the rest follows.
        d.m_wndEdit[CExtColorDlg::FIELD_H].SetWindowText("0");
        d.m_wndEdit[CExtColorDlg::FIELD_S].SetWindowText("255");
        d.m_wndEdit[CExtColorDlg::FIELD_L].SetWindowText("128");
        EXPECT_EQ(RGB(255, 4, 1), d.m_clrNew);
        EXPECT_EQ(RGB(255, 4, 1), d.m_wndPicker.m_clrCurrent);
        EXPECT_EQ(RGB(255, 4, 1), d.m_wndDiff.m_clrCurrent);
        EXPECT_EQ(RGB(255, 0, 0), d.m_wndDiff.m_clrReference) << "the old colour stays";
        EXPECT_STREQ("4", Field(d, CExtColorDlg::FIELD_G));
        EXPECT_STREQ("251", Field(d, CExtColorDlg::FIELD_M));
        d.m_wndEdit[CExtColorDlg::FIELD_G].SetWindowText("");
        EXPECT_EQ(RGB(255, 0, 1), d.m_clrNew) << "an empty field reads 0";
        ::SetTimer(NULL, 0, 10, CloseMessageBox);
        d.m_wndEdit[CExtColorDlg::FIELD_B].SetWindowText("300");
        EXPECT_STREQ("Value must be in range 0..255", g_sMessageBoxText);
        EXPECT_EQ(d.m_wndEdit[CExtColorDlg::FIELD_B].m_hWnd, ::GetFocus());
        EXPECT_EQ(RGB(255, 0, 1), d.m_clrNew) << "nothing changed";
    };
    g_pDlg = &dlg;
    ::SetTimer(NULL, 0, 10, RunInside);
    EXPECT_EQ(IDOK, dlg.DoModal());
    g_pDlg = nullptr;
    EXPECT_EQ(RGB(255, 0, 1), dlg.m_clrNew);
    EXPECT_FALSE(dlg.m_bInitialized);
}

TEST(ColorDlg, TheColourButtonTakesItsCustomColourFromTheDialog)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, NULL,
                                NULL));
    CExtColorButton btn;
    ASSERT_TRUE(btn.Create("Color", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 5, 90, 30), &parent, 1040));
    btn.m_clrCurrent = RGB(0, 0, 255);
    g_fnInside = [](CExtColorDlg& d) {
        char szTitle[64] = "";
        ::GetWindowTextA(d.m_hWnd, szTitle, sizeof(szTitle));
        EXPECT_STREQ("Colors", szTitle);
        EXPECT_STREQ("0", Field(d, CExtColorDlg::FIELD_R));
        d.m_wndEdit[CExtColorDlg::FIELD_R].SetWindowText("10");
    };
    ::SetTimer(NULL, 0, 10, RunInside);
    EXPECT_EQ(0, btn.SendMessage(CExtPopupColorMenuWnd::g_nMsgNotifyCustColor, 0, 3));
    EXPECT_EQ(RGB(10, 0, 255), btn.m_clrCurrent);
    PumpPending();
    btn.DestroyWindow();
    parent.DestroyWindow();
}
