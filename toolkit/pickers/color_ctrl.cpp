#include "toolkit/pickers/color_ctrl.h"

#include "toolkit/core/resource_manager.h"
#include "toolkit/dialogs/memory_dc.h"

const UINT CExtColorCtrl::g_nMsgColorChanged =
    ::RegisterWindowMessageA("CExtColorCtrl::g_nMsgColorChanged");

IMPLEMENT_DYNCREATE(CExtColorCtrl, CWnd)

BEGIN_MESSAGE_MAP(CExtColorCtrl, CWnd)
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_CANCELMODE()
    ON_WM_KILLFOCUS()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CExtColorCtrl::CExtColorCtrl(e_mode_t eMode)
    : m_eMode(eMode), m_bTracking(false), m_clrReference(m_selClrs.m_clrReference),
      m_clrCurrent(m_selClrs.m_clrCurrent), m_clrPrevious(m_selClrs.m_clrPrevious)
{
    if (int(m_eMode) < 0 || int(m_eMode) >= MODE_COUNT)
        m_eMode = MODE_BASIC_COLORS;
    m_clrReference = m_clrCurrent = m_clrPrevious = RGB(255, 255, 255);
    for (int i = 0; i < 6; ++i)
        m_pickerAxis[i].m_nAxis = i;
    m_arrPickers[MODE_BASIC_COLORS] = &m_pickerBasic;
    m_arrPickers[MODE_HSL_PANEL] = &m_pickerHslPanel;
    m_arrPickers[MODE_HSL_BASIC_HUE] = &m_pickerHslBasicHue;
    m_arrPickers[MODE_HSL_ROLLER] = &m_pickerHslRoller;
    m_arrPickers[MODE_RGB_CUBE] = &m_pickerRgbCube;
    m_arrPickers[MODE_RGB_MIXER] = &m_pickerRgbMixer;
    m_arrPickers[MODE_GRAYSCALE_MIXER] = &m_pickerGrayscale;
    m_arrPickers[MODE_CMY_CUBE] = &m_pickerCmyCube;
    m_arrPickers[MODE_CMY_MIXER] = &m_pickerCmyMixer;
    for (int i = 0; i < 6; ++i)
        m_arrPickers[MODE_RED_AXIS + i] = &m_pickerAxis[i];
    m_arrPickers[MODE_DIFF] = &m_pickerDiff;
    RegisterWithHolder();
}

CExtColorCtrl::~CExtColorCtrl()
{
    UnregisterFromHolder();
}

void CExtColorCtrl::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtColorCtrl::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtColorCtrl::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CExtColorCtrl::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

CExtColorCtrl::any_picker_data_t* CExtColorCtrl::GetPicker(int eMode)
{
    if (eMode < 0 || eMode >= MODE_COUNT)
        return NULL;
    return m_arrPickers[eMode];
}

CExtColorCtrl::any_picker_data_t* CExtColorCtrl::GetActivePicker()
{
    any_picker_data_t* pPicker = GetPicker(m_eMode);
    // A host that stored a mode out of range still gets a picker, never a null one.
    return pPicker != NULL ? pPicker : m_arrPickers[MODE_BASIC_COLORS];
}

void CExtColorCtrl::GetModeName(CString& strOut, int eMode)
{
    static const char* const s_names[15] = {
        " basic colors",
        " hue, saturation and luminance - mixer",
        " hue, saturation and luminance - basic hue",
        " hue, saturation and luminance - roller",
        " red, green and blue - cube",
        " red, green and blue - mixer",
        " gray scale mixer",
        " cyan, magenta and yellow - cube",
        " cyan, magenta and yellow - mixer",
        " red axis",
        " green axis",
        " blue axis",
        " cyan axis",
        " magenta axis",
        " yellow axis",
    };
    strOut.Empty();
    if (eMode < 0 || eMode > 14)
        return;
    if (g_CurrentResourceManager->LoadString(strOut, UINT(30343 + eMode)) && !strOut.IsEmpty())
        return;
    strOut = s_names[eMode];
}

void CExtColorCtrl::NotifyColorChanged()
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL)
        return;
    HWND hWndParent = ::GetParent(hWnd);
    if (hWndParent == NULL)
        return;
    ::SendMessageA(hWndParent, g_nMsgColorChanged, (WPARAM)hWnd, (LPARAM)&m_selClrs);
}

void CExtColorCtrl::RepaintNow()
{
    if (GetSafeHwnd() == NULL)
        return;
    Invalidate(TRUE);
    UpdateWindow();
}

void CExtColorCtrl::SetCurrentColor(COLORREF clr, bool bNotify)
{
    if (clr != m_clrCurrent) {
        m_clrCurrent = clr;
        if (bNotify)
            NotifyColorChanged();
    }
    GetActivePicker()->SetColor(m_clrCurrent);
    RepaintNow();
}

void CExtColorCtrl::ResetAllPickers()
{
    for (int i = 0; i < MODE_COUNT; ++i)
        m_arrPickers[i]->Reset();
}

void CExtColorCtrl::RecalcLayout(bool bKeepCells)
{
    if (!bKeepCells)
        ResetAllPickers();
    if (GetSafeHwnd() == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CClientDC dc(this);
    CExtPaintManager* pPM = GetPaintManager();
    any_picker_data_t* pPicker = GetActivePicker();
    pPicker->RecalcLayout(dc, pPM != NULL ? &pPM->m_PaletteWide : NULL, rcClient.Width(),
                          rcClient.Height(), bKeepCells);
    pPicker->SetColor(m_clrCurrent);
    pPicker->SetReferenceColor(m_clrReference);
}

void CExtColorCtrl::SetTracking(bool bTracking)
{
    if (m_bTracking == bTracking)
        return;
    m_bTracking = bTracking;
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL)
        return;
    if (bTracking)
        CExtMouseCaptureSink::SetCapture(hWnd);
    else if (::GetCapture() == hWnd)
        ::ReleaseCapture();
}

void CExtColorCtrl::CheckColorChange()
{
    COLORREF clr = GetActivePicker()->GetColor();
    if (clr == m_clrCurrent)
        return;
    m_clrPrevious = m_clrCurrent;
    m_clrCurrent = clr;
    NotifyColorChanged();
    RepaintNow();
}

void CExtColorCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    RecalcLayout(false);
}

LRESULT CExtColorCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_UPDATEUISTATE)
        return 0;
    LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    if (message == WM_SETTEXT || message == WM_ENABLE)
        RepaintNow();
    return lResult;
}

void CExtColorCtrl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout(true);
    RepaintNow();
}

void CExtColorCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetTracking(true);
    any_picker_data_t* pPicker = GetActivePicker();
    if (pPicker->GetColor() != m_clrCurrent) {
        pPicker->SetColor(m_clrCurrent);
        RepaintNow();
    }
    pPicker->OnMouseDown(nFlags, point.x, point.y);
    OnMouseMove(0, point);
    CheckColorChange();
}

void CExtColorCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bTracking)
        return;
    GetActivePicker()->OnMouseTrack(nFlags, point.x, point.y);
    CheckColorChange();
}

void CExtColorCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    SetTracking(false);
    GetActivePicker()->OnMouseUp(nFlags, point.x, point.y);
}

void CExtColorCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    SetTracking(false);
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CExtColorCtrl::OnCancelMode()
{
    CWnd::OnCancelMode();
    SetTracking(false);
}

void CExtColorCtrl::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    SetTracking(false);
}

void CExtColorCtrl::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty() || !dcPaint.RectVisible(&rcClient))
        return;
    CExtPaintManager* pPM = GetPaintManager();
    CPalette* pPalette = NULL;
    if ((dcPaint.GetDeviceCaps(RASTERCAPS) & RC_PALETTE) != 0 && pPM != NULL &&
        pPM->m_PaletteWide.GetSafeHandle() != NULL)
        pPalette = &pPM->m_PaletteWide;
    HPALETTE hOldPalette = NULL;
    if (pPalette != NULL) {
        hOldPalette = ::SelectPalette(dcPaint.GetSafeHdc(), (HPALETTE)pPalette->GetSafeHandle(), FALSE);
        ::RealizePalette(dcPaint.GetSafeHdc());
    }
    {
        CExtMemoryDC dc(&dcPaint, &rcClient);
        bool bPainted = false;
        if (pPM != NULL && pPM->IsParentBackgroundOn()) {
            CExtPaintManager::ClipOutChildren(&dc, GetSafeHwnd(),
                                              CExtPaintManager::stat_ClipFilterTransparentChild);
            bPainted = pPM->AskParentForBackground(true, dc, this);
        }
        if (!bPainted) {
            COLORREF clrBack = pPM != NULL ? pPM->LookupColor(1000, this) : ::GetSysColor(COLOR_BTNFACE);
            HBRUSH hBrush = ::CreateSolidBrush(clrBack);
            ::FillRect(dc.GetSafeHdc(), &rcClient, hBrush);
            ::DeleteObject(hBrush);
        }
        HPALETTE hOldMemPalette = NULL;
        if (pPalette != NULL) {
            hOldMemPalette = ::SelectPalette(dc.GetSafeHdc(), (HPALETTE)pPalette->GetSafeHandle(), FALSE);
            ::RealizePalette(dc.GetSafeHdc());
        }
        GetActivePicker()->Paint(dc, pPalette);
        if (hOldMemPalette != NULL)
            ::SelectPalette(dc.GetSafeHdc(), hOldMemPalette, FALSE);
    }
    if (hOldPalette != NULL)
        ::SelectPalette(dcPaint.GetSafeHdc(), hOldPalette, FALSE);
}
