#include "toolkit/pickers/color_dlg.h"

#include "toolkit/core/bitmap.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/dialogs/color_button.h"

#include <algorithm>
#include <stdlib.h>

const UINT CExtColorDlg::g_nEditIds[FIELD_COUNT] = {30016, 30018, 30020, 30031, 30040, 30043, 30022, 30024, 30026};
const UINT CExtColorDlg::g_nSpinIds[FIELD_COUNT] = {30032, 30033, 30034, 30038, 30041, 30044, 30035, 30036, 30037};
// The captions of the nine fields in field order, then "New", "Old" and the unused one.
const UINT CExtColorDlg::g_nLabelIds[12] = {30015, 30017, 30019, 30030, 30039, 30042,
                                            30021, 30023, 30025, 30028, 30029, IDC_LABEL_MODE};

BEGIN_MESSAGE_MAP(CExtColorDlg, CExtResizableDialog)
ON_REGISTERED_MESSAGE(CExtColorCtrl::g_nMsgColorChanged, OnColorChanged)
ON_EN_CHANGE(30016, OnEditRgbChanged)
ON_EN_CHANGE(30018, OnEditRgbChanged)
ON_EN_CHANGE(30020, OnEditRgbChanged)
ON_EN_CHANGE(30031, OnEditCmyChanged)
ON_EN_CHANGE(30040, OnEditCmyChanged)
ON_EN_CHANGE(30043, OnEditCmyChanged)
ON_EN_CHANGE(30022, OnEditHslChanged)
ON_EN_CHANGE(30024, OnEditHslChanged)
ON_EN_CHANGE(30026, OnEditHslChanged)
ON_CONTROL(CBN_SELENDOK, IDC_MODE, OnModeSelEndOk)
END_MESSAGE_MAP()

CExtColorDlg::CExtColorDlg(COLORREF clrInit, COLORREF clrNew, CWnd* pParent)
    : CExtNCW<CExtResizableDialog>(IDD, pParent), m_clrInit(clrInit), m_clrNew(clrNew), m_bInitialized(false),
      m_bSyncing(false), m_hIcon(NULL), m_wndPicker(CExtColorCtrl::MODE_BASIC_COLORS),
      m_wndDiff(CExtColorCtrl::MODE_DIFF)
{
    m_hIcon = (HICON)::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_DIALOG), IMAGE_ICON, 0, 0,
                                 LR_DEFAULTSIZE);
}

CExtColorDlg::~CExtColorDlg()
{
    if (m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
}

INT_PTR CExtColorDlg::DoModal()
{
    m_bInitialized = false;
    if (g_CurrentResourceManager->FindResourceHandle(RT_DIALOG, MAKEINTRESOURCE(IDD)) == NULL)
    {
        m_lpszTemplateName = NULL;
        m_lpDialogTemplate = stat_GetBuiltInTemplate();
    }
    const INT_PTR nResult = CExtNCW<CExtResizableDialog>::DoModal();
    m_bInitialized = false;
    return nResult;
}

void CExtColorDlg::DoDataExchange(CDataExchange* pDX)
{
    CExtNCW<CExtResizableDialog>::DoDataExchange(pDX);
    for (int i = 0; i < FIELD_COUNT; i++)
    {
        DDX_Control(pDX, (int)g_nEditIds[i], m_wndEdit[i]);
        DDX_Control(pDX, (int)g_nSpinIds[i], m_wndSpin[i]);
    }
    DDX_Control(pDX, IDC_MODE, m_wndComboMode);
    DDX_Control(pDX, IDCANCEL, m_wndBtnCancel);
    DDX_Control(pDX, IDOK, m_wndBtnOK);
    for (int i = 0; i < 12; i++)
        DDX_Control(pDX, (int)g_nLabelIds[i], m_wndLabel[i]);
}

BOOL CExtColorDlg::OnInitDialog()
{
    m_bInitialized = false;
    if (!CExtNCW<CExtResizableDialog>::OnInitDialog())
        return FALSE;
    m_wndComboMode.ResetContent();
    for (int nMode = 0; nMode < CExtColorCtrl::MODE_DIFF; nMode++)
    {
        CString sName;
        CExtColorCtrl::GetModeName(sName, nMode);
        m_wndComboMode.AddString(sName);
    }
    if (m_hIcon != NULL)
    {
        SetIcon(m_hIcon, TRUE);
        SetIcon(m_hIcon, FALSE);
    }
    CString sTitle = m_strCaption;
    const int nLineFeed = sTitle.Find(_T('\n'));
    if (nLineFeed > 0)
        sTitle = sTitle.Mid(nLineFeed + 1);
    if (!sTitle.IsEmpty())
        SetWindowText(sTitle);

    m_wndPicker.m_clrReference = m_clrInit;
    m_wndPicker.m_clrCurrent = m_clrNew;
    m_wndPicker.m_clrPrevious = m_clrInit;
    m_wndDiff.m_clrReference = m_wndDiff.m_clrCurrent = m_wndDiff.m_clrPrevious = m_clrInit;
    m_wndComboMode.SetCurSel((int)m_wndPicker.m_eMode);

    AddAnchor(IDC_PICKER, CSize(0, 0), CSize(100, 100));
    AddAnchor(IDC_MODE, CSize(0, 0), CSize(100, 0));
    AddAnchor(IDC_DIFF, CSize(100, 0));
    for (int i = 0; i < FIELD_COUNT; i++)
    {
        AddAnchor(g_nEditIds[i], CSize(100, 0));
        AddAnchor(g_nSpinIds[i], CSize(100, 0));
    }
    for (int i = 0; i < 11; i++)
        AddAnchor(g_nLabelIds[i], CSize(100, 0));
    AddAnchor(IDOK, CSize(0, 100));
    AddAnchor(IDCANCEL, CSize(0, 100));
    ShowSizeGrip(true);

    m_wndPicker.SubclassDlgItem(IDC_PICKER, this);
    m_wndDiff.SubclassDlgItem(IDC_DIFF, this);
    for (int i = 0; i < FIELD_COUNT; i++)
        if (m_wndSpin[i].GetSafeHwnd() != NULL)
            m_wndSpin[i].SetRange(0, 255);
    m_bInitialized = true;
    OnColorChanged(0, (LPARAM)&m_wndPicker.m_selClrs);
    m_wndDiff.SetCurrentColor(m_clrInit, false);
    return TRUE;
}

LRESULT CExtColorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CExtNCW<CExtResizableDialog>::WindowProc(message, wParam, lParam);
    // The pickers paint their whole client area: after a size change every part of the
    // dialog repaints at once rather than leaving stale strips.
    if (message == WM_SIZE && m_hWnd != NULL && ::IsWindow(m_hWnd))
    {
        Invalidate(TRUE);
        UpdateWindow();
    }
    return lResult;
}

// ---- synchronising -------------------------------------------------------------------

void CExtColorDlg::SetFieldText(int nField, int nValue)
{
    if (m_wndEdit[nField].GetSafeHwnd() == NULL)
        return;
    CString sText;
    sText.Format(_T("%d"), nValue);
    m_wndEdit[nField].SetWindowText(sText);
}

void CExtColorDlg::SyncFromColor(COLORREF clr, bool bRgb, bool bCmy, bool bHsl)
{
    if (bRgb)
    {
        SetFieldText(FIELD_R, GetRValue(clr));
        SetFieldText(FIELD_G, GetGValue(clr));
        SetFieldText(FIELD_B, GetBValue(clr));
    }
    if (bCmy)
    {
        SetFieldText(FIELD_C, 255 - GetRValue(clr));
        SetFieldText(FIELD_M, 255 - GetGValue(clr));
        SetFieldText(FIELD_Y, 255 - GetBValue(clr));
    }
    if (bHsl)
    {
        double h = 0.0, s = 0.0, l = 0.0;
        CExtBitmap::stat_RGB2HLS(clr, h, s, l);
        auto toByte = [](double v) { return std::min(255, (int)(v * 255.0 + 0.5)); };
        SetFieldText(FIELD_H, toByte(h));
        SetFieldText(FIELD_S, toByte(s));
        SetFieldText(FIELD_L, toByte(l));
    }
    if (m_wndPicker.m_clrCurrent != clr)
        m_wndPicker.SetCurrentColor(clr, false);
    if (m_wndDiff.m_clrCurrent != clr)
        m_wndDiff.SetCurrentColor(clr, false);
    m_clrNew = m_wndPicker.m_clrCurrent;
}

LRESULT CExtColorDlg::OnColorChanged(WPARAM, LPARAM lParam)
{
    const CExtColorCtrl::selection_colors_t* pColors = (const CExtColorCtrl::selection_colors_t*)lParam;
    if (m_bSyncing || pColors == NULL)
        return 0;
    m_bSyncing = true;
    SyncFromColor(pColors->m_clrCurrent, true, true, true);
    m_bSyncing = false;
    return 0;
}

void CExtColorDlg::OnEditGroupChanged(int nFirstField)
{
    if (!m_bInitialized || m_bSyncing)
        return;
    CString sError;
    if (!g_CurrentResourceManager->LoadString(sError, IDS_RANGE_ERROR) || sError.IsEmpty())
        sError = _T("Value must be in range 0..255");
    m_bSyncing = true;
    int nValues[3] = {0, 0, 0};
    for (int i = 0; i < 3; i++)
    {
        CExtEdit& wndEdit = m_wndEdit[nFirstField + i];
        CString sText;
        if (wndEdit.GetSafeHwnd() != NULL)
            wndEdit.GetWindowText(sText);
        // Like the C library's conversion: leading blanks and a sign, digits up to the
        // first other character, nothing at all reads as 0.
        const long nValue = strtol(sText, NULL, 10);
        if (nValue < 0 || nValue > 255)
        {
            UINT nType = MB_OK;
            if ((g_CurrentResourceManager->GetLangLayout() & LAYOUT_RTL) != 0)
                nType |= MB_RTLREADING;
            MessageBox(sError, NULL, nType);
            if (wndEdit.GetSafeHwnd() != NULL)
                wndEdit.SetFocus();
            m_bSyncing = false;
            return;
        }
        nValues[i] = (int)nValue;
    }
    COLORREF clr = RGB(nValues[0], nValues[1], nValues[2]);
    if (nFirstField == FIELD_C)
        clr = RGB(255 - nValues[0], 255 - nValues[1], 255 - nValues[2]);
    else if (nFirstField == FIELD_H)
    {
        const double h = std::min((nValues[0] + 0.5) / 255.0, 1.0);
        const double s = std::min((nValues[1] + 0.5) / 255.0, 1.0);
        const double l = std::min((nValues[2] + 0.5) / 255.0, 1.0);
        clr = CExtBitmap::stat_HLS2RGB(h, l, s);
    }
    SyncFromColor(clr, nFirstField != FIELD_R, nFirstField != FIELD_C, nFirstField != FIELD_H);
    m_bSyncing = false;
}

void CExtColorDlg::OnEditRgbChanged() { OnEditGroupChanged(FIELD_R); }
void CExtColorDlg::OnEditCmyChanged() { OnEditGroupChanged(FIELD_C); }
void CExtColorDlg::OnEditHslChanged() { OnEditGroupChanged(FIELD_H); }

void CExtColorDlg::OnModeSelEndOk()
{
    if (!m_bInitialized)
        return;
    const int nMode = m_wndComboMode.GetCurSel();
    if (nMode < 0 || nMode >= CExtColorCtrl::MODE_DIFF)
        return;
    m_wndPicker.ResetAllPickers();
    m_wndPicker.m_eMode = (CExtColorCtrl::e_mode_t)nMode;
    if (m_wndPicker.GetSafeHwnd() == NULL)
        return;
    m_wndPicker.RecalcLayout(false);
    m_wndPicker.Invalidate();
    m_wndPicker.UpdateWindow();
}

// ---- the colour button's dialog ------------------------------------------------------

namespace {

bool RunColorDialog(COLORREF clrInit, COLORREF clrNew, CWnd* pParent, COLORREF& clrChosen)
{
    CExtColorDlg dlg(clrInit, clrNew, pParent);
    if (dlg.DoModal() != IDOK)
        return false;
    clrChosen = dlg.m_clrNew;
    return true;
}

struct ColorDialogInstaller
{
    ColorDialogInstaller() { g_ColorDialogServices.pfnRunColorDialog = RunColorDialog; }
};
ColorDialogInstaller g_colorDialogInstaller;

}  // namespace

// Nothing calls the colour dialog by name in a program that only places colour buttons;
// the link options of the pickers library ask for this symbol so that the installer
// above is always part of such a program.
extern "C" {
int PurgeletColorDialogLink = 0;
}
