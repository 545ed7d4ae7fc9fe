// CDialog: modal dialogs from resource templates (owner disabled, idle messages,
// EndDialog inside OnInitDialog, a missing template), dialog-init data, DDX round trips
// and validation, and the template font helper.
#include <gtest/gtest.h>
#include <stdexcept>
#include "framework_test_app.h"
#include "window_test_ids.h"
#include "support/msg_recorder.h"
#include "support/message_pump.h"

using namespace testsupport;

namespace {

LPCTSTR PopupClass() { return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)); }

// A dialog scripted by a list of steps run one per posted WM_APP message.
class CScriptDlg : public CDialog {
public:
    using CDialog::CDialog;
    int kickIdle = 0;
    int endInInit = 0;          // non-zero: EndDialog(endInInit) inside OnInitDialog
    int endOnFirstIdle = 0;     // non-zero: EndDialog at the first WM_KICKIDLE
    bool wasVisibleAtEnd = false;
    CRect rectAtEnd;
    bool ownerDisabledDuringLoop = false;
    HWND hOwner = NULL;
    std::vector<std::function<void(CScriptDlg&)>> steps;
    size_t nextStep = 0;

    int throwInInit = 0;  // 1: the framework's exception, 2: the C++ library's
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (throwInInit == 1) AfxThrowResourceException();
        if (throwInInit == 2) throw std::out_of_range("no such record");
        if (endInInit) {
            EndDialog(endInInit);
            return TRUE;
        }
        if (!steps.empty()) PostMessage(WM_APP);
        return TRUE;
    }
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
        ++kickIdle;
        if (hOwner) ownerDisabledDuringLoop = !::IsWindowEnabled(hOwner);
        if (endOnFirstIdle) {
            wasVisibleAtEnd = IsWindowVisible() != FALSE;
            GetWindowRect(&rectAtEnd);
            EndDialog(endOnFirstIdle);
        }
        return 0;  // no more idle work
    }
    afx_msg LRESULT OnStep(WPARAM, LPARAM) {
        if (nextStep < steps.size()) steps[nextStep++](*this);
        if (nextStep < steps.size() && m_hWnd) PostMessage(WM_APP);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptDlg, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CScriptDlg::OnKickIdle)
    ON_MESSAGE(WM_APP, &CScriptDlg::OnStep)
END_MESSAGE_MAP()

// A parent that records the idle notifications a modal child sends it.
class COwnerWnd : public CWnd {
public:
    MsgRecorder rec;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ENTERIDLE) rec.Record(message, wParam, lParam, m_hWnd, "owner");
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The data dialog: every DDX form against the main template.
class CDataDlg : public CDialog {
public:
    CDataDlg() : CDialog(IDD_WT_MAIN) {}
    CString m_strName = "Nimbo";
    int m_nCount = 12;
    int m_nCheck = 1;
    int m_nCombo = 2;
    int m_nRadio = 1;
    CWnd m_wndName;
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_WT_NAME, m_wndName);
        DDX_Text(pDX, IDC_WT_NAME, m_strName);
        DDX_Text(pDX, IDC_WT_COUNT, m_nCount);
        DDX_Check(pDX, IDC_WT_CHECK, m_nCheck);
        DDX_CBIndex(pDX, IDC_WT_COMBO, m_nCombo);
        DDX_Radio(pDX, IDC_WT_RADIO1, m_nRadio);
    }
};

std::string Text(HWND h) {
    char buf[256];
    GetWindowTextA(h, buf, sizeof(buf));
    return buf;
}

}  // namespace

TEST(DialogModal, RunsFromItsTemplateWithTheOwnerDisabledAndShowsOnIdle) {
    COwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, PopupClass(), "owner", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
    CScriptDlg dlg(IDD_WT_MAIN, &owner);
    dlg.hOwner = owner.m_hWnd;
    dlg.endOnFirstIdle = 42;
    EXPECT_EQ(42, dlg.DoModal());
    EXPECT_EQ(1, dlg.kickIdle);
    EXPECT_TRUE(dlg.ownerDisabledDuringLoop);
    EXPECT_TRUE(dlg.wasVisibleAtEnd);  // MLF_SHOWONIDLE showed it before the first idle message
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_TRUE(dlg.m_hWnd == NULL);
    // The owner heard the dialog go idle once (MSGF_DIALOGBOX, the dialog's handle).
    ASSERT_EQ(1u, owner.rec.Count(WM_ENTERIDLE));
    EXPECT_EQ((WPARAM)MSGF_DIALOGBOX, owner.rec.Records()[0].wParam);

    // DS_NOIDLEMSG: still kicked, but the owner is not told.
    owner.rec.Clear();
    CScriptDlg quiet(IDD_WT_NOIDLE, &owner);
    quiet.endOnFirstIdle = 7;
    EXPECT_EQ(7, quiet.DoModal());
    EXPECT_EQ(1, quiet.kickIdle);
    EXPECT_EQ(0u, owner.rec.Count(WM_ENTERIDLE));
    owner.DestroyWindow();
}

TEST(DialogModal, ModalDialogsAreCentredModelessOnesStayWhereTheTemplateSays) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CScriptDlg modal(IDD_WT_PLAIN);
    modal.endOnFirstIdle = 1;
    EXPECT_EQ(1, modal.DoModal());
    CPoint centre = modal.rectAtEnd.CenterPoint();
    EXPECT_NEAR((work.left + work.right) / 2, centre.x, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, centre.y, 1);

    COwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, PopupClass(), "owner", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
    CScriptDlg modeless;
    ASSERT_TRUE(modeless.Create(IDD_WT_PLAIN, &owner));
    CRect rc;
    modeless.GetWindowRect(&rc);
    EXPECT_EQ(CPoint(0, 0), rc.TopLeft());
    modeless.DestroyWindow();
    owner.DestroyWindow();
}

TEST(DialogModal, EndDialogInsideOnInitDialogAndAMissingTemplate) {
    COwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, PopupClass(), "owner", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
    CScriptDlg dlg(IDD_WT_PLAIN, &owner);
    dlg.endInInit = 5;
    EXPECT_EQ(5, dlg.DoModal());
    EXPECT_EQ(0, dlg.kickIdle);  // no loop ran
    EXPECT_TRUE(dlg.m_hWnd == NULL);
    EXPECT_TRUE(owner.IsWindowEnabled());

    // The same for a modeless dialog: it reports failure and leaves no window.
    CScriptDlg modeless;
    modeless.endInInit = 3;
    EXPECT_FALSE(modeless.Create(IDD_WT_PLAIN, &owner));
    EXPECT_TRUE(modeless.m_hWnd == NULL);

    // An exception out of OnInitDialog, of any kind, ends the dialog with -1; nothing
    // escapes, and the user is told what it says.
    CFrameworkTestApp& app = TestApp();
    app.m_bRecordBoxes = true;
    for (const int kind : {1, 2}) {
        app.m_boxes.clear();
        CScriptDlg thrower(IDD_WT_PLAIN, &owner);
        thrower.throwInInit = kind;
        EXPECT_EQ(-1, thrower.DoModal());
        EXPECT_TRUE(owner.IsWindowEnabled());
        ASSERT_EQ(1u, app.m_boxes.size());
        EXPECT_EQ(kind == 1 ? "A required resource was unavailable." : "no such record", app.m_boxes[0].text);
    }
    app.m_bRecordBoxes = false;

    CScriptDlg missing(0x7BFF, &owner);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

TEST(DialogModal, OkAndCancelButtonsEndTheDialogWithTheirIds) {
    struct Case {
        const char* name;
        std::function<void(CScriptDlg&)> step;
        INT_PTR expected;
    } cases[] = {
        {"OK button", [](CScriptDlg& d) { d.GetDlgItem(IDOK)->SendMessage(BM_CLICK); }, IDOK},
        {"Cancel button", [](CScriptDlg& d) { d.GetDlgItem(IDCANCEL)->SendMessage(BM_CLICK); }, IDCANCEL},
        {"WM_CLOSE", [](CScriptDlg& d) { d.SendMessage(WM_CLOSE); }, IDCANCEL},
        {"Escape key", [](CScriptDlg& d) { d.GetDlgItem(IDC_WT_NAME)->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0x00010001); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        CScriptDlg dlg(IDD_WT_MAIN);
        dlg.steps.push_back(c.step);
        EXPECT_EQ(c.expected, dlg.DoModal()) << c.name;
    }
}

TEST(DialogData, DialogInitFillsTheComboAndDdxRoundTrips) {
    CDataDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_WT_MAIN));
    // Dialog-init data from the resource filled the combo before DDX selected in it.
    HWND hCombo = ::GetDlgItem(dlg.m_hWnd, IDC_WT_COMBO);
    ASSERT_EQ(3, (int)SendMessageA(hCombo, CB_GETCOUNT, 0, 0));
    char item[16];
    SendMessageA(hCombo, CB_GETLBTEXT, 1, (LPARAM)item);
    EXPECT_STREQ("Beta", item);
    // Members went into the controls.
    EXPECT_EQ("Nimbo", Text(::GetDlgItem(dlg.m_hWnd, IDC_WT_NAME)));
    EXPECT_EQ("12", Text(::GetDlgItem(dlg.m_hWnd, IDC_WT_COUNT)));
    EXPECT_EQ(BST_CHECKED, dlg.IsDlgButtonChecked(IDC_WT_CHECK));
    EXPECT_EQ(2, (int)SendMessageA(hCombo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(IDC_WT_RADIO2, dlg.GetCheckedRadioButton(IDC_WT_RADIO1, IDC_WT_RADIO3));
    EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_WT_NAME), dlg.m_wndName.m_hWnd);
    EXPECT_EQ(&dlg.m_wndName, CWnd::FromHandlePermanent(dlg.m_wndName.m_hWnd));

    // The user changes everything; saving brings it back into the members.
    dlg.SetDlgItemText(IDC_WT_NAME, "Purgelet");
    dlg.SetDlgItemText(IDC_WT_COUNT, " -40 ");
    dlg.CheckDlgButton(IDC_WT_CHECK, BST_UNCHECKED);
    SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    dlg.CheckRadioButton(IDC_WT_RADIO1, IDC_WT_RADIO3, IDC_WT_RADIO3);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(CString("Purgelet"), dlg.m_strName);
    EXPECT_EQ(-40, dlg.m_nCount);
    EXPECT_EQ(0, dlg.m_nCheck);
    EXPECT_EQ(0, dlg.m_nCombo);
    EXPECT_EQ(2, dlg.m_nRadio);

    // No radio checked reads as -1; an out-of-range check state loads as unchecked.
    dlg.CheckRadioButton(IDC_WT_RADIO1, IDC_WT_RADIO3, 0);
    dlg.m_nCheck = 9;
    dlg.m_nRadio = -1;
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(BST_UNCHECKED, dlg.IsDlgButtonChecked(IDC_WT_CHECK));
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(-1, dlg.m_nRadio);
    dlg.DestroyWindow();
}

TEST(DialogData, AnInvalidNumberFailsValidationWithTheFrameworkPrompt) {
    CFrameworkTestApp& app = TestApp();
    CDataDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_WT_MAIN));
    const char* bad[] = {"12x", "", "99999999999", "1 2"};
    for (const char* text : bad) {
        app.m_bRecordBoxes = true;
        app.m_boxes.clear();
        dlg.m_nCount = 5;
        dlg.SetDlgItemText(IDC_WT_COUNT, text);
        EXPECT_FALSE(dlg.UpdateData(TRUE)) << text;
        EXPECT_EQ(5, dlg.m_nCount) << text;
        ASSERT_EQ(1u, app.m_boxes.size()) << text;
        EXPECT_EQ("Please enter an integer.", app.m_boxes[0].text) << text;
        EXPECT_EQ((UINT)AFX_IDP_PARSE_INT, app.m_boxes[0].idPrompt) << text;
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_WT_COUNT), ::GetFocus()) << text;
    }
    app.m_bRecordBoxes = false;
    // OK with a bad field keeps the dialog open.
    dlg.SetDlgItemText(IDC_WT_COUNT, "zz");
    app.m_bRecordBoxes = true;
    dlg.SendMessage(WM_COMMAND, IDOK);
    app.m_bRecordBoxes = false;
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    dlg.DestroyWindow();
}

TEST(DialogTemplate, ReadsAndReplacesTheFontOfBothTemplateForms) {
    struct Case {
        UINT id;
        bool ex;
        const char* face;
        WORD size;
    } cases[] = {{IDD_WT_MAIN, true, "MS Shell Dlg", 8}, {IDD_WT_PLAIN, false, "MS Sans Serif", 8}};
    for (const Case& c : cases) {
        CDialogTemplate t;
        ASSERT_TRUE(t.Load(MAKEINTRESOURCEA(c.id))) << c.id;
        const DLGTEMPLATE* p = (const DLGTEMPLATE*)GlobalLock(t.m_hTemplate);
        EXPECT_EQ(c.ex, CDialogTemplate::IsDialogEx(p) != FALSE) << c.id;
        GlobalUnlock(t.m_hTemplate);
        CString face;
        WORD size = 0;
        ASSERT_TRUE(t.GetFont(face, size)) << c.id;
        EXPECT_EQ(CString(c.face), face) << c.id;
        EXPECT_EQ(c.size, size) << c.id;

        ASSERT_TRUE(t.SetFont("Tahoma", 10)) << c.id;
        ASSERT_TRUE(t.GetFont(face, size)) << c.id;
        EXPECT_EQ(CString("Tahoma"), face) << c.id;
        EXPECT_EQ(10, size) << c.id;
        // The rebuilt template still makes the same dialog.
        CDialog dlg;
        HGLOBAL h = t.Detach();
        ASSERT_TRUE(dlg.CreateIndirect((LPCDLGTEMPLATE)GlobalLock(h))) << c.id;
        int children = 0;
        for (HWND w = GetTopWindow(dlg.m_hWnd); w; w = GetWindow(w, GW_HWNDNEXT)) ++children;
        EXPECT_EQ(c.ex ? 11 : 2, children) << c.id;
        EXPECT_TRUE(::GetDlgItem(dlg.m_hWnd, IDOK) != NULL) << c.id;
        dlg.DestroyWindow();
        GlobalUnlock(h);
        GlobalFree(h);
    }

    // A template without a font gets one added (and the style says so).
    CDialogTemplate none;
    ASSERT_TRUE(none.Load(MAKEINTRESOURCEA(IDD_WT_NOFONT)));
    EXPECT_FALSE(none.HasFont());
    ASSERT_TRUE(none.SetSystemFont());
    EXPECT_TRUE(none.HasFont());
    CString face;
    WORD size = 0;
    EXPECT_TRUE(none.GetFont(face, size));
    EXPECT_FALSE(face.IsEmpty());
    EXPECT_GT(size, 0);
    // And a fontless template still creates through CDialog.
    CDialog dlg;
    EXPECT_TRUE(dlg.Create(IDD_WT_NOFONT));
    EXPECT_TRUE(dlg.SendMessage(WM_GETFONT) != 0);
    dlg.DestroyWindow();
}

namespace {

// Counts the framework's end-of-initialisation message.
class CInitialUpdateWnd : public CWnd {
public:
    int updates = 0;
    afx_msg LRESULT OnInitialUpdate(WPARAM, LPARAM) {
        ++updates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CInitialUpdateWnd, CWnd)
    ON_MESSAGE(WM_INITIALUPDATE, &CInitialUpdateWnd::OnInitialUpdate)
END_MESSAGE_MAP()

void AppendInitRecord(std::vector<BYTE>& data, WORD id, WORD msg, const char* text) {
    DWORD len = (DWORD)strlen(text) + 1;
    const BYTE* p = (const BYTE*)&id;
    data.insert(data.end(), p, p + 2);
    p = (const BYTE*)&msg;
    data.insert(data.end(), p, p + 2);
    p = (const BYTE*)&len;
    data.insert(data.end(), p, p + 4);
    data.insert(data.end(), text, text + len);
}

}  // namespace

TEST(DialogData, DialogInitDataFillsListComboAndExtendedComboBoxes) {
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, PopupClass(), "host", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
    ASSERT_TRUE(AfxDeferRegisterClass(AFX_WNDCOMMCTLSNEW_REG));
    HWND hComboEx = CreateWindowExA(0, WC_COMBOBOXEXA, NULL, WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 100,
                                    host.m_hWnd, (HMENU)100, GetModuleHandleA(NULL), NULL);
    HWND hList = CreateWindowExA(0, "LISTBOX", NULL, WS_CHILD, 0, 0, 100, 100, host.m_hWnd, (HMENU)101,
                                 GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(hComboEx != NULL && hList != NULL);
    CInitialUpdateWnd child;
    ASSERT_TRUE(child.Create(NULL, "child", 0, CRect(0, 0, 10, 10), &host, 102));

    std::vector<BYTE> data;
    AppendInitRecord(data, 100, 0x1234, "Extended one");  // the extended combo's marker
    AppendInitRecord(data, 101, 0x0401, "First");         // the 16-bit LB_ADDSTRING
    AppendInitRecord(data, 100, 0x1234, "Extended two");
    AppendInitRecord(data, 101, LB_ADDSTRING, "Second");
    AppendInitRecord(data, 101, 0x0999, "Skipped");       // not a known message
    data.insert(data.end(), 8, 0);
    ASSERT_TRUE(host.ExecuteDlgInit(data.data()));

    ASSERT_EQ(2, (int)SendMessageA(hComboEx, CB_GETCOUNT, 0, 0));
    char text[32] = {};
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = 1;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ASSERT_TRUE(SendMessageA(hComboEx, CBEM_GETITEMA, 0, (LPARAM)&item));
    EXPECT_STREQ("Extended two", text);
    ASSERT_EQ(2, (int)SendMessageA(hList, LB_GETCOUNT, 0, 0));
    SendMessageA(hList, LB_GETTEXT, 0, (LPARAM)text);
    EXPECT_STREQ("First", text);
    // Then every child hears that initialisation is over; also when there is no data.
    EXPECT_EQ(1, child.updates);
    EXPECT_TRUE(host.ExecuteDlgInit((LPCTSTR)NULL));
    EXPECT_TRUE(host.ExecuteDlgInit(MAKEINTRESOURCEA(0x7BFF)));  // no such resource
    EXPECT_EQ(3, child.updates);
    host.DestroyWindow();
}
