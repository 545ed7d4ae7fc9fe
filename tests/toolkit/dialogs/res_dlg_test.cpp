// The resource dialog: templates and their init data through the resource manager, the
// property-sheet font put into classic dialog faces, the modal loop, and a dialog that
// ends itself while initialising.
#include <gtest/gtest.h>
#include "toolkit/dialogs/res_dlg.h"
#include "support/message_pump.h"
#include "dialogs_test_ids.h"

namespace {

// Puts a known property-sheet font into the process cache for one test.
class FontInfoGuard
{
public:
    FontInfoGuard(LPCTSTR sFace, WORD nSize) { CExtResDlg::stat_GetFontInfo().Set(sFace, nSize); }
    ~FontInfoGuard() { CExtResDlg::stat_GetFontInfo().Reset(); }
};

CString DialogFontFace(HWND hWnd, LONG* pHeight = NULL)
{
    HFONT hFont = (HFONT)::SendMessageA(hWnd, WM_GETFONT, 0, 0);
    LOGFONTA lf = {};
    if (hFont == NULL || ::GetObjectA(hFont, sizeof(lf), &lf) == 0)
        return "(none)";
    if (pHeight != NULL)
        *pHeight = lf.lfHeight;
    return lf.lfFaceName;
}

class CEndingDlg : public CExtResDlg
{
public:
    explicit CEndingDlg(UINT nID) : CExtResDlg(nID) {}
    BOOL OnInitDialog() override
    {
        CExtResDlg::OnInitDialog();
        EndDialog(77);
        return FALSE;
    }
};

class COkDlg : public CExtResDlg
{
public:
    explicit COkDlg(UINT nID, CWnd* pParent = NULL) : CExtResDlg(nID, pParent) {}
    int m_nComboCount = -1;
    BOOL OnInitDialog() override
    {
        BOOL b = CExtResDlg::OnInitDialog();
        m_nComboCount = (int)SendDlgItemMessage(IDC_DT_COMBO, CB_GETCOUNT);
        PostMessage(WM_COMMAND, IDOK);
        return b;
    }
};

}  // namespace

TEST(ResDlg, ClassicFaceAtTheSystemSizeTakesThePropertySheetFace)
{
    struct Case
    {
        UINT nID;
        const char* sExpected;
    } cases[] = {
        {IDD_DT_SHELL8, "Tahoma"},         // "MS Shell Dlg" 8 with Tahoma 8
        {IDD_DT_ARIAL8, "Arial"},          // another face keeps its font
        {IDD_DT_SANS10, "MS Sans Serif"},  // another size keeps its font
    };
    FontInfoGuard guard("Tahoma", 8);
    for (const Case& c : cases)
    {
        CExtResDlg dlg(c.nID);
        ASSERT_TRUE(dlg.Create(c.nID, NULL)) << "template " << c.nID;
        EXPECT_STREQ(c.sExpected, DialogFontFace(dlg.m_hWnd)) << "template " << c.nID;
        EXPECT_EQ(MAKEINTRESOURCEA(c.nID), dlg.GetRememberedTemplateName());
        dlg.DestroyWindow();
    }
}

TEST(ResDlg, AdjustedTemplateIsAFixedCopyAndTheResourceIsUntouched)
{
    FontInfoGuard guard("Tahoma", 8);
    HRSRC hRsrc = ::FindResourceA(NULL, MAKEINTRESOURCEA(IDD_DT_SHELL8), (LPCSTR)RT_DIALOG);
    ASSERT_NE(nullptr, hRsrc);
    const DLGTEMPLATE* pRes = (const DLGTEMPLATE*)::LockResource(::LoadResource(NULL, hRsrc));
    CExtResDlg dlg;
    LPDLGTEMPLATE pCopy = dlg.AdjustDialogTemplate(pRes);
    ASSERT_NE(nullptr, pCopy);
    EXPECT_NE((const void*)pRes, (const void*)pCopy);
    CString sFace;
    WORD nSize = 0;
    ASSERT_TRUE(CDialogTemplate::GetFont(pCopy, sFace, nSize));
    EXPECT_STREQ("Tahoma", sFace);
    EXPECT_EQ(8, nSize);
    ASSERT_TRUE(CDialogTemplate::GetFont(pRes, sFace, nSize));
    EXPECT_STREQ("MS Shell Dlg", sFace);
    EXPECT_EQ(pRes->cdit, pCopy->cdit);
    ::GlobalFree((HGLOBAL)pCopy);
}

TEST(ResDlg, PropertySheetFontIsReadFromTheCommonControls)
{
    CExtResDlg::stat_GetFontInfo().Reset();
    CString sFace;
    WORD nSize = 0;
    ASSERT_TRUE(CExtResDlg::stat_GetPropSheetFont(sFace, nSize));
    EXPECT_FALSE(sFace.IsEmpty());
    EXPECT_GT(nSize, 0);
    EXPECT_LT(nSize, 0xFFFF);
    // Kept for the process: a second request answers the same without looking again.
    EXPECT_TRUE(CExtResDlg::stat_GetFontInfo().IsKnown());
    CString sAgain;
    WORD nAgain = 0;
    ASSERT_TRUE(CExtResDlg::stat_GetPropSheetFont(sAgain, nAgain));
    EXPECT_EQ(sFace, sAgain);
    EXPECT_EQ(nSize, nAgain);
    CExtResDlg::stat_GetFontInfo().Reset();
}

TEST(ResDlg, InitDataRunsOnceThroughTheResourceManager)
{
    CExtResDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    HWND hCombo = ::GetDlgItem(dlg.m_hWnd, IDC_DT_COMBO);
    ASSERT_EQ(2, (int)::SendMessageA(hCombo, CB_GETCOUNT, 0, 0));
    char sText[32] = {};
    ::SendMessageA(hCombo, CB_GETLBTEXT, 1, (LPARAM)sText);
    EXPECT_STREQ("Beta", sText);
    dlg.DestroyWindow();
}

TEST(ResDlg, DialogThatEndsItselfWhileInitialising)
{
    {
        CEndingDlg dlg(IDD_DT_SHELL8);
        EXPECT_TRUE(dlg.Create(IDD_DT_SHELL8, NULL));  // ended, and that counts as created
        EXPECT_EQ(NULL, dlg.m_hWnd);
    }
    CEndingDlg dlg(IDD_DT_SHELL8);
    EXPECT_EQ(77, dlg.DoModal());
    EXPECT_EQ(NULL, dlg.m_hWnd);
}

TEST(ResDlg, ModalLoopEndsWithTheCommandAndReEnablesTheParent)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "Owner", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    COkDlg dlg(IDD_DT_ANCHORS, &owner);
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(2, dlg.m_nComboCount);
    EXPECT_TRUE(owner.IsWindowEnabled());

    CExtResDlg missing(IDD_DT_MISSING, &owner);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_FALSE(missing.Create(IDD_DT_MISSING, &owner));
    owner.DestroyWindow();
}

TEST(ResDlg, BridgeLivesWithTheObjectAndAnswersTheCurrentPaintManager)
{
    CExtResDlg* pDlg = new CExtResDlg(IDD_DT_SHELL8);
    EXPECT_TRUE(g_CurrentPaintManager.IsBridgeRegistered(pDlg));
    EXPECT_EQ(g_CurrentPaintManager.GetPM(), pDlg->GetPaintManager());
    EXPECT_EQ(NULL, pDlg->GetBridgeHwnd());
    EXPECT_EQ(NULL, pDlg->QueryDialogName());
    EXPECT_FALSE(pDlg->UseResourceLayoutDirection());
    CExtPmBridge* pBridge = pDlg;
    delete pDlg;
    EXPECT_FALSE(g_CurrentPaintManager.IsBridgeRegistered(pBridge));
}
