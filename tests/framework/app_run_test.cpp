// A small application run: the main dialog from a resource template runs modally as
// the application's main window; its accelerators (F5, Ctrl+C) arrive through the
// application's message filter, its buttons and menu commands route to it and to the
// application (File > Exit closes it), and Esc does not close it.
#include <gtest/gtest.h>
#include "framework_test_app.h"
#include "window_test_ids.h"

namespace {

class CTestMainDlg : public CDialog {
public:
    CTestMainDlg() : CDialog(IDD_WT_MAIN) {}
    int refreshed = 0, copied = 0, clicked = 0, closed = 0;
    std::vector<std::function<void(CTestMainDlg&)>> steps;
    size_t next = 0;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        TestApp().m_hAccelTarget = m_hWnd;
        PostMessage(WM_APP);
        return TRUE;
    }
    // Like the program's main dialog: Enter and Esc do not end it.
    void OnOK() override {}
    void OnCancel() override {}
    afx_msg void OnClose() {
        ++closed;
        EndDialog(IDABORT);
    }
    afx_msg void OnRefresh() { ++refreshed; }
    afx_msg void OnCopy() { ++copied; }
    afx_msg void OnAction() { ++clicked; }
    afx_msg LRESULT OnStep(WPARAM, LPARAM) {
        if (next < steps.size()) steps[next++](*this);
        if (next < steps.size() && m_hWnd != NULL) PostMessage(WM_APP);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestMainDlg, CDialog)
    ON_WM_CLOSE()
    ON_COMMAND(ID_WT_REFRESH, &CTestMainDlg::OnRefresh)
    ON_COMMAND(ID_EDIT_COPY, &CTestMainDlg::OnCopy)
    ON_BN_CLICKED(IDC_WT_ACTION, &CTestMainDlg::OnAction)
    ON_MESSAGE(WM_APP, &CTestMainDlg::OnStep)
END_MESSAGE_MAP()

void PressKey(HWND hWnd, UINT vk, bool ctrl) {
    // Posted keys, with the thread's key state saying whether Ctrl is down, which is
    // what the accelerator translation looks at.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(hWnd, WM_KEYDOWN, vk, 0x00000001);
    // The state is put back by a later step (RestoreKeys), after the key went through.
}

void RestoreKeys() {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

}  // namespace

TEST(TestApplication, MainDialogRunsModallyWithAcceleratorsAndCommandRouting) {
    CFrameworkTestApp& app = TestApp();
    app.m_hAccel = LoadAcceleratorsA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_WT_ACCEL));
    ASSERT_TRUE(app.m_hAccel != NULL);
    app.m_filterCodes.clear();
    app.m_commands.clear();

    CTestMainDlg dlg;
    app.m_pMainWnd = &dlg;
    auto edit = [](CTestMainDlg& d) { return ::GetDlgItem(d.m_hWnd, IDC_WT_NAME); };
    dlg.steps = {
        [&](CTestMainDlg& d) { PressKey(edit(d), VK_F5, false); },
        [&](CTestMainDlg& d) { PressKey(edit(d), 'C', true); },
        [&](CTestMainDlg&) { RestoreKeys(); },
        [&](CTestMainDlg& d) { PressKey(edit(d), 'C', false); },  // plain C: typed, no command
        [&](CTestMainDlg& d) { ::SendMessageA(::GetDlgItem(d.m_hWnd, IDC_WT_ACTION), BM_CLICK, 0, 0); },
        [&](CTestMainDlg& d) { PressKey(edit(d), VK_ESCAPE, false); },
        [&](CTestMainDlg& d) { d.PostMessage(WM_COMMAND, IDC_APP_FIRST + 2); },
        [&](CTestMainDlg& d) { d.PostMessage(WM_COMMAND, ID_APP_EXIT); },
    };
    INT_PTR result = dlg.DoModal();
    RestoreKeys();
    app.m_hAccelTarget = NULL;
    DestroyAcceleratorTable(app.m_hAccel);
    app.m_hAccel = NULL;

    EXPECT_EQ(IDABORT, result);
    EXPECT_EQ(1, dlg.refreshed);  // F5
    EXPECT_EQ(1, dlg.copied);     // Ctrl+C only, not C
    EXPECT_EQ(1, dlg.clicked);
    EXPECT_EQ(1, dlg.closed);     // File > Exit reached the application, which closed the main window
    EXPECT_EQ(std::vector<UINT>{IDC_APP_FIRST + 2}, app.m_commands);
    ASSERT_FALSE(app.m_filterCodes.empty());
    EXPECT_EQ(MSGF_DIALOGBOX, app.m_filterCodes[0]);

    // The main window going away ended the application's loop.
    EXPECT_TRUE(app.m_pMainWnd == NULL);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
}
