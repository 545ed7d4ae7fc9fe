#include "app/options_dlg.h"
#include "catalogue/options.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(COptionsDlg, CExtResizableDialog)
END_MESSAGE_MAP()

COptionsDlg::COptionsDlg(CWnd* pParent)
    : CExtNCW<CExtResizableDialog>(IDD_OPTIONS, pParent),
      m_nAutoRefresh(g_AutoRefresh.Value),
      m_nHide(g_Hide.Value),
      m_nSizeType(g_SizeType.Value),
      m_nGridEnabled(g_GridEnabled.Value)
{
}

COptionsDlg::~COptionsDlg() {}

BOOL COptionsDlg::Create(CWnd* pParentWnd) { return CExtNCW<CExtResizableDialog>::Create(IDD_OPTIONS, pParentWnd); }

void COptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CExtNCW<CExtResizableDialog>::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SIZE_TYPE, m_wndSizeType);
    DDX_Control(pDX, IDC_OPTIONS_GENERAL, m_wndGeneralBox);
    DDX_Control(pDX, IDC_OPTIONS_VIEW, m_wndViewBox);
    DDX_Control(pDX, IDC_AUTO_REFRESH, m_wndAutoRefresh);
    DDX_Control(pDX, IDC_HIDE_INVALID, m_wndHideInvalid);
    DDX_Control(pDX, IDC_SHOW_GRID, m_wndShowGrid);
    DDX_Control(pDX, IDC_SIZE_TYPE_LABEL, m_wndSizeTypeLabel);
    DDX_Control(pDX, IDOK, m_wndOK);
    DDX_Control(pDX, IDCANCEL, m_wndCancel);
    DDX_Control(pDX, IDC_GRID_COLOR1, m_wndGridColor1);
    DDX_Control(pDX, IDC_GRID_COLOR2, m_wndGridColor2);
    DDX_Check(pDX, IDC_AUTO_REFRESH, m_nAutoRefresh);
    DDX_Check(pDX, IDC_HIDE_INVALID, m_nHide);
    DDX_Check(pDX, IDC_SHOW_GRID, m_nGridEnabled);
    // The index is exchanged only once the list holds its four units.
    if (m_wndSizeType.GetSafeHwnd() != NULL && m_wndSizeType.GetCount() > 0)
        DDX_CBIndex(pDX, IDC_SIZE_TYPE, m_nSizeType);
}

BOOL COptionsDlg::OnInitDialog()
{
    CExtNCW<CExtResizableDialog>::OnInitDialog();
    ShowSizeGrip(false);
    m_wndGeneralBox.SetStyle(CExtGroupBox::STYLE_FLAT);
    m_wndViewBox.SetStyle(CExtGroupBox::STYLE_FLAT);

    m_wndGridColor1.m_clrDefault = RGB(235, 238, 245);
    m_wndGridColor1.m_clrCurrent = (COLORREF)g_GridColor1.Value;
    m_wndGridColor2.m_clrDefault = RGB(255, 255, 255);
    m_wndGridColor2.m_clrCurrent = (COLORREF)g_GridColor2.Value;

    static const char* const s_units[] = {"Bytes", "KBytes", "MBytes", "GBytes"};
    for (const char* pszUnit : s_units) m_wndSizeType.AddString(pszUnit);
    m_wndSizeType.SetCurSel(m_nSizeType);
    return TRUE;
}

namespace {
void StoreIfChanged(OptionValue& option, int nValue)
{
    if (option.Value == nValue) return;
    option.Value = nValue;
    option.Changed = true;
}
}  // namespace

void COptionsDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    StoreIfChanged(g_GridEnabled, m_nGridEnabled);
    StoreIfChanged(g_GridColor1, (int)m_wndGridColor1.m_clrCurrent);
    StoreIfChanged(g_GridColor2, (int)m_wndGridColor2.m_clrCurrent);
    StoreIfChanged(g_SizeType, m_nSizeType);
    StoreIfChanged(g_AutoRefresh, m_nAutoRefresh);
    StoreIfChanged(g_Hide, m_nHide);
    SaveSettings();
    EndDialog(IDOK);
}
