#include "toolkit/menus/popup_color_menu_wnd.h"

#include "toolkit/core/resource_manager.h"
#include "toolkit/menus/sound_player.h"
#include "toolkit/theme/pm_push_button.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CExtPopupColorMenuWnd, CExtPopupMenuWnd)

const UINT CExtPopupColorMenuWnd::g_nMsgNotifyColorChanged =
    ::RegisterWindowMessage(_T("CExtPopupColorMenuWnd::g_nMsgNotifyColorChanged"));
const UINT CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally =
    ::RegisterWindowMessage(_T("CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally"));
const UINT CExtPopupColorMenuWnd::g_nMsgNotifyCustColor =
    ::RegisterWindowMessage(_T("CExtPopupColorMenuWnd::g_nMsgNotifyCustColor"));

int CExtPopupColorMenuWnd::g_nColorTipStyle = CExtPopupMenuTipWnd::__ETS_RECTANGLE_NO_ICON;

typedef CExtPopupColorMenuWnd::COLORREF_TABLE_ENTRY ColorEntry;

// Row by row, eight to a row. Grey - 50 and Grey - 40 carry each other's string ids.
const ColorEntry CExtPopupColorMenuWnd::g_colors40[40] = {
    ColorEntry(30302, RGB(0, 0, 0), _T("Black")),
    ColorEntry(30303, RGB(165, 42, 0), _T("Brown")),
    ColorEntry(30304, RGB(0, 64, 64), _T("Dark Olive Green")),
    ColorEntry(30305, RGB(0, 85, 0), _T("Dark Green")),
    ColorEntry(30306, RGB(0, 0, 94), _T("Dark Teal")),
    ColorEntry(30307, RGB(0, 0, 139), _T("Dark blue")),
    ColorEntry(30308, RGB(75, 0, 130), _T("Indigo")),
    ColorEntry(30309, RGB(40, 40, 40), _T("Dark grey")),
    ColorEntry(30310, RGB(139, 0, 0), _T("Dark red")),
    ColorEntry(30311, RGB(255, 104, 32), _T("Orange")),
    ColorEntry(30312, RGB(139, 139, 0), _T("Dark yellow")),
    ColorEntry(30313, RGB(0, 147, 0), _T("Green")),
    ColorEntry(30314, RGB(56, 142, 142), _T("Teal")),
    ColorEntry(30315, RGB(0, 0, 255), _T("Blue")),
    ColorEntry(30316, RGB(123, 123, 192), _T("Blue-grey")),
    ColorEntry(30325, RGB(102, 102, 102), _T("Grey - 50")),
    ColorEntry(30318, RGB(255, 0, 0), _T("Red")),
    ColorEntry(30319, RGB(255, 173, 91), _T("Light orange")),
    ColorEntry(30320, RGB(50, 205, 50), _T("Lime")),
    ColorEntry(30321, RGB(60, 179, 113), _T("Sea green")),
    ColorEntry(30322, RGB(127, 255, 212), _T("Aqua")),
    ColorEntry(30323, RGB(125, 158, 192), _T("Light blue")),
    ColorEntry(30324, RGB(128, 0, 128), _T("Violet")),
    ColorEntry(30317, RGB(127, 127, 127), _T("Grey - 40")),
    ColorEntry(30326, RGB(255, 192, 203), _T("Pink")),
    ColorEntry(30327, RGB(255, 215, 0), _T("Gold")),
    ColorEntry(30328, RGB(255, 255, 0), _T("Yellow")),
    ColorEntry(30329, RGB(0, 255, 0), _T("Bright green")),
    ColorEntry(30330, RGB(64, 224, 208), _T("Turquoise")),
    ColorEntry(30331, RGB(192, 255, 255), _T("Skyblue")),
    ColorEntry(30332, RGB(72, 0, 72), _T("Plum")),
    ColorEntry(30333, RGB(192, 192, 192), _T("Light grey")),
    ColorEntry(30334, RGB(255, 228, 225), _T("Rose")),
    ColorEntry(30335, RGB(210, 180, 140), _T("Tan")),
    ColorEntry(30336, RGB(255, 255, 224), _T("Light yellow")),
    ColorEntry(30337, RGB(152, 251, 152), _T("Pale green ")),
    ColorEntry(30338, RGB(175, 238, 238), _T("Pale turquoise")),
    ColorEntry(30339, RGB(104, 131, 139), _T("Pale blue")),
    ColorEntry(30340, RGB(230, 230, 250), _T("Lavender")),
    ColorEntry(30341, RGB(255, 255, 255), _T("White")),
};

const ColorEntry CExtPopupColorMenuWnd::g_colors16[16] = {
    ColorEntry(30302, RGB(0, 0, 0), _T("Black")),
    ColorEntry(30325, RGB(102, 102, 102), _T("Grey - 50")),
    ColorEntry(30310, RGB(139, 0, 0), _T("Dark red")),
    ColorEntry(30312, RGB(139, 139, 0), _T("Dark yellow")),
    ColorEntry(30313, RGB(0, 147, 0), _T("Green")),
    ColorEntry(30308, RGB(75, 0, 130), _T("Indigo")),
    ColorEntry(30307, RGB(0, 0, 139), _T("Dark blue")),
    ColorEntry(30306, RGB(0, 0, 94), _T("Dark Teal")),
    ColorEntry(30341, RGB(255, 255, 255), _T("White")),
    ColorEntry(30333, RGB(192, 192, 192), _T("Light grey")),
    ColorEntry(30318, RGB(255, 0, 0), _T("Red")),
    ColorEntry(30328, RGB(255, 255, 0), _T("Yellow")),
    ColorEntry(30329, RGB(0, 255, 0), _T("Bright green")),
    ColorEntry(30331, RGB(192, 255, 255), _T("Skyblue")),
    ColorEntry(30315, RGB(0, 0, 255), _T("Blue")),
    ColorEntry(30334, RGB(255, 228, 225), _T("Rose")),
};

// ---- COLORREF_TABLE_ENTRY -------------------------------------------------------------------
CExtPopupColorMenuWnd::COLORREF_TABLE_ENTRY::COLORREF_TABLE_ENTRY(UINT nNameResId, COLORREF clr, LPCTSTR sName)
    : m_nNameResId(nNameResId), m_clr(clr), m_sName(sName != NULL ? sName : _T(""))
{
}

CExtPopupColorMenuWnd::COLORREF_TABLE_ENTRY::COLORREF_TABLE_ENTRY(const COLORREF_TABLE_ENTRY& other)
    : m_nNameResId(other.m_nNameResId), m_clr(other.m_clr), m_sName(other.m_sName)
{
}

CExtPopupColorMenuWnd::COLORREF_TABLE_ENTRY::~COLORREF_TABLE_ENTRY() {}

CString CExtPopupColorMenuWnd::COLORREF_TABLE_ENTRY::GetName() const
{
    if (m_nNameResId != 0)
    {
        CString sText;
        if (g_CurrentResourceManager->LoadString(sText, m_nNameResId) && !sText.IsEmpty())
            return sText;
    }
    return m_sName;
}

// ---- construction ---------------------------------------------------------------------------
CExtPopupColorMenuWnd::CExtPopupColorMenuWnd()
    : m_hWndNotification(NULL), m_lParamCookie(0), m_pClrResult(NULL), m_clrDefault(RGB(0, 0, 0)),
      m_clrInitial(COLORREF(-1L)), m_nRowFlags(ROW_DEFAULT_COLOR | ROW_CUSTOM_COLOR), m_rcDefaultColor(0, 0, 0, 0),
      m_rcCustomColor(0, 0, 0, 0), m_nHoverIndex(-1), m_nSelectedIndex(-1), m_nColumns(8), m_sizeCell(16, 16),
      m_sizeCellGap(2, 2), m_nColorFlags(0)
{
    if (!g_CurrentResourceManager->LoadString(m_sBtnTextColorDefault, 30011) || m_sBtnTextColorDefault.IsEmpty())
        m_sBtnTextColorDefault = _T("Default Color");
    if (!g_CurrentResourceManager->LoadString(m_sBtnTextColorCustom, 30010) || m_sBtnTextColorCustom.IsEmpty())
        m_sBtnTextColorCustom = _T("Custom Color ...");
    SetColumnCount(8);
    RemoveAllColors();
    for (int i = 0; i < 40; i++)
        AddColor(g_colors40[i]);
}

CExtPopupColorMenuWnd::~CExtPopupColorMenuWnd() { RemoveAllColors(); }

BEGIN_MESSAGE_MAP(CExtPopupColorMenuWnd, CExtPopupMenuWnd)
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

// ---- the palette ----------------------------------------------------------------------------
CSize CExtPopupColorMenuWnd::GetCellSize() const { return m_sizeCell; }
CSize CExtPopupColorMenuWnd::GetCellGap() const { return m_sizeCellGap; }
int CExtPopupColorMenuWnd::GetColorCount() const { return (int)m_arrColors.GetSize(); }
int CExtPopupColorMenuWnd::GetColumnCount() const { return m_nColumns; }

int CExtPopupColorMenuWnd::SetColumnCount(int nColumns)
{
    m_nColumns = nColumns;
    return m_nColumns;
}

CSize CExtPopupColorMenuWnd::GetGridSize() const
{
    const int nCount = GetColorCount();
    const int nColumns = std::max(1, GetColumnCount());
    int nRows = (nCount + nColumns - 1) / nColumns;
    if (nRows == 1)
        return CSize(nCount, 1);
    return CSize(nColumns, nRows);
}

ColorEntry* CExtPopupColorMenuWnd::GetColorEntry(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetColorCount())
        return NULL;
    return m_arrColors[nIndex];
}

COLORREF CExtPopupColorMenuWnd::GetColor(int nIndex)
{
    const ColorEntry* pEntry = GetColorEntry(nIndex);
    return pEntry != NULL ? pEntry->m_clr : RGB(0, 0, 0);
}

CString& CExtPopupColorMenuWnd::GetColorName(CString& sOut, int nIndex)
{
    const ColorEntry* pEntry = GetColorEntry(nIndex);
    sOut = (pEntry != NULL) ? pEntry->GetName() : CString();
    return sOut;
}

void CExtPopupColorMenuWnd::AddColor(const COLORREF_TABLE_ENTRY& entry) { m_arrColors.Add(new ColorEntry(entry)); }

void CExtPopupColorMenuWnd::RemoveAllColors()
{
    for (INT_PTR i = 0; i < m_arrColors.GetSize(); i++)
        delete m_arrColors[i];
    m_arrColors.RemoveAll();
}

int CExtPopupColorMenuWnd::GetNextCellIndex(int nIndex, UINT nVirtualKey)
{
    const int N = GetColorCount();
    if (N <= 0)
        return -1;
    if (nIndex < 0 || nIndex >= N)
        return 0;
    const int C = std::max(1, GetColumnCount());
    const int R = (N + C - 1) / C;
    const int L = N % C;
    const int E = (R == 1) ? N : C;
    const int nRow = nIndex / C, nCol = nIndex % C;
    // The last cell of a row: the partial last row ends early.
    const int nRowLast = (nRow == R - 1 && L != 0) ? nRow * C + L - 1 : nRow * C + E - 1;
    switch (nVirtualKey)
    {
    case VK_LEFT:
        if (E == 1)
            return nIndex;
        return (nCol > 0) ? nIndex - 1 : nRowLast;
    case VK_RIGHT:
        if (E == 1)
            return nIndex;
        return (nIndex >= nRowLast) ? nRow * C : nIndex + 1;
    case VK_UP:
    {
        if (R == 1)
            return nIndex;
        if (nRow > 0)
            return nIndex - C;
        int nTarget = (R - 1) * C + nCol;
        if (nTarget >= N)
            nTarget -= C;
        return nTarget;
    }
    case VK_DOWN:
    {
        if (R == 1)
            return nIndex;
        const int nBelow = nIndex + C;
        return (nBelow < N) ? nBelow : nCol;
    }
    default: return nIndex;
    }
}

// ---- layout ---------------------------------------------------------------------------------
int CExtPopupColorMenuWnd::GetSeparatorHeight() { return stat_GetSeparatorHeight(GetPaintManager()); }

CSize CExtPopupColorMenuWnd::MeasureRowText(const CString& sText)
{
    CExtPaintManager* pPM = GetPaintManager();
    CWindowDC dc(NULL);
    CFont* pOldFont = (pPM != NULL && pPM->m_FontNormal.GetSafeHandle() != NULL) ? dc.SelectObject(&pPM->m_FontNormal)
                                                                                 : NULL;
    CRect rcText(0, 0, 0, 0);
    dc.DrawText(sText, &rcText, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
    return CSize(rcText.Width(), std::max(rcText.Height(), 22));
}

CSize& CExtPopupColorMenuWnd::CalcMenuSize(CSize& sizeMenu)
{
    CRect rcM;
    GetBorderMargins(rcM);
    const int S = GetShadowSize();
    const CSize sizeCell = GetCellSize(), sizeGap = GetCellGap(), sizeGrid = GetGridSize();
    const int nSep = GetSeparatorHeight();
    const int nTearOff = IsTearOffEnabled() ? GetTearOffCaptionHeight() : 0;
    const int nGridHeight = (sizeCell.cy + 2 * sizeGap.cy) * sizeGrid.cy;
    sizeMenu.cx = (sizeCell.cx + 2 * sizeGap.cx) * sizeGrid.cx + rcM.left + rcM.right + S;
    sizeMenu.cy = nGridHeight + rcM.top + rcM.bottom + S;
    m_rcDefaultColor.SetRectEmpty();
    m_rcCustomColor.SetRectEmpty();
    int nDefaultShift = 0;
    if ((m_nRowFlags & ROW_DEFAULT_COLOR) != 0)
    {
        sizeMenu.cy += nSep + 6;
        const CSize sizeText = MeasureRowText(m_sBtnTextColorDefault);
        sizeMenu.cy += sizeText.cy;
        sizeMenu.cx = std::max((int)sizeMenu.cx, (int)sizeText.cx + 6);
        m_rcDefaultColor.SetRect(rcM.left + 3, rcM.top + 3,
                                 rcM.left + 3 + sizeMenu.cx - rcM.left - rcM.right - S - 6, rcM.top + 3 + sizeText.cy);
        m_rcDefaultColor.OffsetRect(0, nTearOff);
        nDefaultShift = nSep + sizeText.cy + 6;
    }
    if ((m_nRowFlags & ROW_CUSTOM_COLOR) != 0)
    {
        sizeMenu.cy += nSep + 7;
        const CSize sizeText = MeasureRowText(m_sBtnTextColorCustom);
        sizeMenu.cy += sizeText.cy;
        sizeMenu.cx = std::max((int)sizeMenu.cx, (int)sizeText.cx + 6);
        m_rcCustomColor.SetRect(rcM.left + 3, rcM.top + 3,
                                rcM.left + 3 + sizeMenu.cx - rcM.left - rcM.right - S - 6, rcM.top + 3 + sizeText.cy);
        m_rcCustomColor.OffsetRect(0, nDefaultShift + nGridHeight + rcM.top + sizeGap.cy + nTearOff);
    }
    sizeMenu.cx += (int)m_nLeftAreaWidth;
    return sizeMenu;
}

CPoint CExtPopupColorMenuWnd::GetGridOrigin()
{
    CRect rcM;
    GetBorderMargins(rcM);
    CRect rcP;
    GetPaintRect(rcP);
    CPoint pt(rcM.left + rcP.left + (int)m_nLeftAreaWidth, rcM.top + rcP.top);
    if ((m_nRowFlags & ROW_DEFAULT_COLOR) != 0)
        pt.y += GetSeparatorHeight() + m_rcDefaultColor.Height() + 6;
    if (IsTearOffEnabled())
        pt.y += GetTearOffCaptionHeight();
    return pt;
}

CRect CExtPopupColorMenuWnd::GetCellRect(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetColorCount())
        return CRect(0, 0, 0, 0);
    const CSize sizeCell = GetCellSize(), sizeGap = GetCellGap(), sizeGrid = GetGridSize();
    const int nColumns = std::max(1, (int)sizeGrid.cx);
    const int nCol = nIndex % nColumns, nRow = nIndex / nColumns;
    const CPoint ptOrigin = GetGridOrigin();
    const int x = (sizeCell.cx + 2 * sizeGap.cx) * nCol + sizeGap.cx + ptOrigin.x;
    const int y = (sizeCell.cy + 2 * sizeGap.cy) * nRow + sizeGap.cy + ptOrigin.y;
    return CRect(x, y, x + sizeCell.cx, y + sizeCell.cy);
}

int CExtPopupColorMenuWnd::ColorHitTest(const POINT& ptClient)
{
    for (int i = 0; i < GetColorCount(); i++)
        if (GetCellRect(i).PtInRect(ptClient))
            return i;
    if ((m_nRowFlags & ROW_DEFAULT_COLOR) != 0 && m_rcDefaultColor.PtInRect(ptClient))
        return IDX_DEFAULT_COLOR;
    if ((m_nRowFlags & ROW_CUSTOM_COLOR) != 0 && m_rcCustomColor.PtInRect(ptClient))
        return IDX_CUSTOM_COLOR;
    return -1;
}

int CExtPopupColorMenuWnd::HitTest(const POINT&, bool* pbInplaceEdit, bool* pbInplaceDropDown)
{
    // There are no items: the cells and rows have their own hit test.
    if (pbInplaceEdit != NULL)
        *pbInplaceEdit = false;
    if (pbInplaceDropDown != NULL)
        *pbInplaceDropDown = false;
    return IDX_NOTHING;
}

bool CExtPopupColorMenuWnd::CreateMenuWindow(CWnd* pWndCmdReceiver)
{
    if (!CExtPopupMenuWnd::CreateMenuWindow(pWndCmdReceiver))
        return false;
    for (int i = 0; i < GetColorCount(); i++)
    {
        if (m_clrInitial != COLORREF(-1L) && GetColor(i) == m_clrInitial)
        {
            m_nHoverIndex = m_nSelectedIndex = i;
            Invalidate();
            break;
        }
    }
    CRect rcP;
    GetPaintRect(rcP);
    const CPoint ptShift(rcP.left + (int)m_nLeftAreaWidth, rcP.top);
    m_rcDefaultColor.OffsetRect(ptShift);
    m_rcCustomColor.OffsetRect(ptShift);
    return true;
}

// ---- notifications --------------------------------------------------------------------------
HWND CExtPopupColorMenuWnd::GetNotifyTarget() const
{
    return (m_hWndNotification != NULL) ? m_hWndNotification : GetCmdReceiverHWND();
}

void CExtPopupColorMenuWnd::NotifyColorChanged(bool bFinal)
{
    if ((m_nColorFlags & __CMF_NOTIFYING) != 0)
        return;
    m_nColorFlags |= __CMF_NOTIFYING;
    const HWND hWndTarget = GetNotifyTarget();
    const int nIndex = m_nHoverIndex;
    if (nIndex == IDX_CUSTOM_COLOR)
    {
        if (bFinal && m_pClrResult != NULL)
            *m_pClrResult = COLORREF(RESULT_CUSTOM_COLOR);
        if (hWndTarget != NULL && ::IsWindow(hWndTarget))
            ::PostMessage(hWndTarget, g_nMsgNotifyCustColor, 0, m_lParamCookie);
    }
    else if (nIndex == IDX_DEFAULT_COLOR || (nIndex >= 0 && nIndex < GetColorCount()))
    {
        const COLORREF clr = (nIndex == IDX_DEFAULT_COLOR) ? m_clrDefault : GetColor(nIndex);
        if (bFinal && m_pClrResult != NULL)
            *m_pClrResult = clr;
        if (hWndTarget != NULL && ::IsWindow(hWndTarget))
            ::PostMessage(hWndTarget, bFinal ? g_nMsgNotifyColorChangedFinally : g_nMsgNotifyColorChanged,
                          (WPARAM)clr, m_lParamCookie);
    }
    m_nColorFlags &= ~__CMF_NOTIFYING;
}

// ---- painting -------------------------------------------------------------------------------
void CExtPopupColorMenuWnd::RepaintNow()
{
    if (GetSafeHwnd() == NULL || !IsWindowVisible())
        return;
    CClientDC dc(this);
    OnPaintMenu(dc, true);
}

void CExtPopupColorMenuWnd::PaintRowButton(CDC& dc, const CRect& rc, const CString& sText, bool bHover,
                                           CExtPaintManager* pPM)
{
    // The caption stands centred in the row, as it was measured.
    CExtPaintManager::PAINTBUTTONDATA _ppbd(this, true, rc, sText, NULL, true, bHover, false, false, true, true,
                                            false, false, 0x01 | 0x08, (HFONT)pPM->m_FontNormal.GetSafeHandle(),
                                            false, 0, true);
    pPM->DrawPushButton(dc, _ppbd);
}

void CExtPopupColorMenuWnd::PaintRows(CDC& dc, CExtPaintManager* pPM)
{
    const CSize sizeGap = GetCellGap();
    if ((m_nRowFlags & ROW_DEFAULT_COLOR) != 0 && !m_rcDefaultColor.IsRectEmpty())
    {
        PaintRowButton(dc, m_rcDefaultColor, m_sBtnTextColorDefault, m_nHoverIndex == IDX_DEFAULT_COLOR, pPM);
        // The separator stands in the gap between the row and the first row of cells.
        const int nGridTop = GetGridOrigin().y;
        CRect rcSep(m_rcDefaultColor.left, m_rcDefaultColor.bottom, m_rcDefaultColor.right, nGridTop + sizeGap.cy);
        pPM->DrawSeparator(dc, rcSep, false, true, this, 0);
    }
    if ((m_nRowFlags & ROW_CUSTOM_COLOR) != 0 && !m_rcCustomColor.IsRectEmpty())
    {
        PaintRowButton(dc, m_rcCustomColor, m_sBtnTextColorCustom, m_nHoverIndex == IDX_CUSTOM_COLOR, pPM);
        const CSize sizeCell = GetCellSize(), sizeGrid = GetGridSize();
        const int nGridBottom = GetGridOrigin().y + (sizeCell.cy + 2 * sizeGap.cy) * sizeGrid.cy - sizeGap.cy;
        CRect rcSep(m_rcCustomColor.left, nGridBottom, m_rcCustomColor.right, m_rcCustomColor.top);
        pPM->DrawSeparator(dc, rcSep, false, true, this, 0);
    }
}

void CExtPopupColorMenuWnd::PaintCells(CDC& dc, CExtPaintManager* pPM)
{
    const COLORREF clrFrame = pPM->LookupColor(COLOR_3DDKSHADOW, this);
    for (int i = 0; i < GetColorCount(); i++)
    {
        const CRect rcCell = GetCellRect(i);
        const bool bHighlight = i == m_nHoverIndex || i == m_nSelectedIndex;
        CExtPaintManager::PAINTBUTTONDATA _ppbd(this, true, rcCell, _T(""), NULL, true, bHighlight, false, false,
                                                true, true, false, false, 0, NULL, false, 0, true);
        pPM->DrawPushButton(dc, _ppbd);
        CRect rcColor(rcCell);
        rcColor.DeflateRect(2, 2);
        dc.FillSolidRect(&rcColor, GetColor(i));
        CBrush brFrame(clrFrame);
        dc.FrameRect(&rcColor, &brFrame);
    }
}

void CExtPopupColorMenuWnd::OnPaintMenu(CDC& dcTarget, bool bUseMemoryDC)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL || dcTarget.GetSafeHdc() == NULL)
        return;
    CRect rcClient(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetClientRect(&rcClient);
    // The background, frame, left area and shadow of the menu come first, then the rows
    // and cells on top, all in one buffer so that a hover change does not flicker.
    PaintBuffer buffer(dcTarget, rcClient, bUseMemoryDC);
    CDC& dc = buffer.DC();
    CExtPopupMenuWnd::OnPaintMenu(dc, false);
    dc.SelectClipRgn(NULL);
    CFont* pOldFont = dc.SelectObject(&pPM->m_FontNormal);
    PaintRows(dc, pPM);
    PaintCells(dc, pPM);
    dc.SelectObject(pOldFont);
    buffer.CopyToTarget(CRect(0, 0, rcClient.Width(), rcClient.Height()));
}

BOOL CExtPopupColorMenuWnd::OnQueryNewPalette()
{
    Invalidate(TRUE);
    return CExtPopupMenuWnd::OnQueryNewPalette();
}

void CExtPopupColorMenuWnd::OnPaletteChanged(CWnd* pFocusWnd)
{
    CExtPopupMenuWnd::OnPaletteChanged(pFocusWnd);
    if (pFocusWnd == NULL || pFocusWnd->GetSafeHwnd() != m_hWnd)
        Invalidate(TRUE);
}

// ---- tips -----------------------------------------------------------------------------------
void CExtPopupColorMenuWnd::HideColorTip() { HideMenuTip(false); }

void CExtPopupColorMenuWnd::ShowColorTip(int nIndex)
{
    if (!g_bShowMenuTips || (m_nMenuFlags & __MF_TIP_SUPPRESSED) != 0)
        return;
    CString sName;
    GetColorName(sName, nIndex);
    if (sName.IsEmpty())
    {
        HideColorTip();
        return;
    }
    CRect rcCell = GetCellRect(nIndex);
    ClientToScreen(&rcCell);
    m_wndMenuTip.SetTipStyle(GetTipStyle());
    m_wndMenuTip.SetText(sName);
    m_wndMenuTip.Show(this, rcCell);
}

void CExtPopupColorMenuWnd::ShowTearOffTip()
{
    if (!g_bShowMenuTips || g_PopupTrackingSite.GetCurrentPopup() != this)
        return;
    const CString sTip = stat_GetTearOffCaptionTip();
    CRect rc(m_rcTearOff);
    ClientToScreen(&rc);
    m_wndMenuTip.SetTipStyle(GetTipStyle());
    m_wndMenuTip.SetText(sTip);
    m_wndMenuTip.Show(this, rc);
}

// ---- input ----------------------------------------------------------------------------------
bool CExtPopupColorMenuWnd::PassMoveToParent(UINT nMsg, CPoint ptClient, bool& bNoEat)
{
    if (m_pParentMenu == NULL || m_pParentMenu->GetSafeHwnd() == NULL)
        return false;
    CPoint pt(ptClient);
    ClientToScreen(&pt);
    m_pParentMenu->ScreenToClient(&pt);
    HWND hWnd = m_hWnd;
    if (!m_pParentMenu->OnMouseMoveTracked(nMsg, pt, bNoEat))
        return false;
    if (bNoEat)
        return false;
    if (::IsWindow(hWnd))
        DestroyMenuWindow(false);
    return true;
}

bool CExtPopupColorMenuWnd::OnMouseMoveTracked(UINT nMsg, CPoint ptClient, bool& bNoEat)
{
    if (GetSafeHwnd() == NULL || !::IsWindow(m_hWnd))
        return false;
    if (g_PopupTrackingSite.GetAnimatedMenu() != NULL)
        return true;
    if (HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, ptClient, CWP_SKIPINVISIBLE))
        if (hWndChild != m_hWnd)
            return false;
    if (!IsClientPointOnWindow(ptClient))
        return PassMoveToParent(nMsg, ptClient, bNoEat);
    if (IsTearOffEnabled() && m_rcTearOff.PtInRect(ptClient))
    {
        ::SetCursor(::LoadCursor(NULL, IDC_SIZEALL));
        if (m_nHoverIndex != IDX_TEAROFF)
        {
            m_nHoverIndex = IDX_TEAROFF;
            RepaintNow();
            ShowTearOffTip();
        }
        return true;
    }
    ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    const int nHit = ColorHitTest(ptClient);
    if (nHit != m_nHoverIndex)
    {
        m_nHoverIndex = nHit;
        if (nHit != IDX_CUSTOM_COLOR)
            NotifyColorChanged(false);
        if (!::IsWindow(m_hWnd))
            return true;
        RepaintNow();
        if (nHit < 0)
            HideColorTip();
        else
            ShowColorTip(nHit);
    }
    return true;
}

bool CExtPopupColorMenuWnd::OnMouseClickTracked(UINT nMsg, CPoint ptClient, bool& bNoEat)
{
    if (GetSafeHwnd() == NULL || !::IsWindow(m_hWnd))
        return false;
    if (g_PopupTrackingSite.GetAnimatedMenu() != NULL)
        return true;
    bool bRelease = nMsg == WM_LBUTTONUP || nMsg == WM_NCLBUTTONUP;
    const bool bPress = nMsg == WM_LBUTTONDOWN || nMsg == WM_RBUTTONDOWN || nMsg == WM_MBUTTONDOWN ||
                        nMsg == WM_NCLBUTTONDOWN || nMsg == WM_NCRBUTTONDOWN || nMsg == WM_NCMBUTTONDOWN;
    CPoint ptScreen(ptClient);
    ClientToScreen(&ptScreen);
    if ((m_nPbwFlags & __PBW_FLAG_COMBINED) != 0 && m_rcWndArea.PtInRect(ptScreen))
    {
        // A click on the owner's part joined to the menu closes the menu as a release does.
        if (bPress)
        {
            for (int i = 0; i < ItemGetCount(); i++)
                if (CExtPopupMenuWnd* pSub = ItemGetPopup(i))
                    if (pSub->GetSafeHwnd() != NULL)
                        pSub->DestroyMenuWindow(false);
        }
        bRelease = true;
    }
    if (bPress && nMsg == WM_LBUTTONDOWN && IsTearOffEnabled() && m_rcTearOff.PtInRect(ptClient) &&
        !IsUntrackedMode())
    {
        StartTearOff();
        return true;
    }
    if (!bRelease)
        return false;
    const int nHit = IsClientPointOnWindow(ptClient) ? ColorHitTest(ptClient) : -1;
    if (nHit != -1 && !IsUntrackedMode())
    {
        m_nHoverIndex = nHit;
        NotifyColorChanged(true);
        g_MenuSoundPlayer->PlaySound(3);
    }
    if (GetSafeHwnd() == NULL || !::IsWindow(m_hWnd))
        return true;
    if (m_pParentMenu != NULL && m_pParentMenu->GetSafeHwnd() != NULL)
    {
        CRect rcParent;
        m_pParentMenu->GetWindowRect(&rcParent);
        if (rcParent.PtInRect(ptScreen) && ::WindowFromPoint(ptScreen) == m_pParentMenu->GetSafeHwnd())
        {
            CPoint pt(ptScreen);
            m_pParentMenu->ScreenToClient(&pt);
            return m_pParentMenu->OnMouseClickTracked(nMsg, pt, bNoEat);
        }
    }
    EndSequence(0);
    return true;
}

void CExtPopupColorMenuWnd::ReturnToParent()
{
    CExtPopupMenuWnd* pParent = m_pParentMenu;
    pParent->ActivateCurrentPopup();
    const int nParentCur = pParent->m_nCurIndex;
    pParent->SelectItem(-1, false, false, false);  // closes this menu's window
    pParent->SelectItem(nParentCur, false, true, false);
    pParent->ActivateCurrentPopup();
}

bool CExtPopupColorMenuWnd::OnKeyDown(UINT nChar, UINT, UINT, bool&)
{
    if (GetSafeHwnd() == NULL || !::IsWindow(m_hWnd) || g_PopupTrackingSite.GetAnimatedMenu() != NULL)
        return true;
    switch (nChar)
    {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    {
        const int nNext = GetNextCellIndex(m_nHoverIndex, nChar);
        if (nNext == m_nHoverIndex)
            return false;
        m_nHoverIndex = nNext;
        HideColorTip();
        NotifyColorChanged(false);
        if (::IsWindow(m_hWnd))
            RepaintNow();
        return true;
    }
    case VK_RETURN:
    {
        const bool bOnChoice = (m_nHoverIndex >= 0 && m_nHoverIndex < GetColorCount()) ||
                               m_nHoverIndex == IDX_DEFAULT_COLOR || m_nHoverIndex == IDX_CUSTOM_COLOR;
        if (bOnChoice && !IsUntrackedMode())
        {
            NotifyColorChanged(true);
            g_MenuSoundPlayer->PlaySound(3);
        }
        EndSequence(0);
        return true;
    }
    case VK_MENU: EndSequence(0); return true;
    case VK_ESCAPE:
        if (m_pParentMenu != NULL && m_pParentMenu->GetSafeHwnd() != NULL)
            ReturnToParent();
        else
            EndSequence(0);
        return true;
    default: return false;
    }
}
