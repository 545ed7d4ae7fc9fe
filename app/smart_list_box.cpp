#include "app/smart_list_box.h"
#include "toolkit/dialogs/memory_dc.h"

IMPLEMENT_DYNAMIC(CExtSmartListBox, CListBox)

CExtSmartListBox::CExtSmartListBox() { RegisterWithHolder(); }

CExtSmartListBox::~CExtSmartListBox() { UnregisterFromHolder(); }

void CExtSmartListBox::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtSmartListBox::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtSmartListBox::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CExtSmartListBox::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

SmartListItem* CExtSmartListBox::GetItem(int nIndex) const
{
    LRESULT lData = ::SendMessageA(m_hWnd, LB_GETITEMDATA, nIndex, 0);
    return lData == LB_ERR ? NULL : (SmartListItem*)lData;
}

void CExtSmartListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if ((int)lpDrawItemStruct->itemID < 0) return;
    SmartListItem* pItem = (SmartListItem*)lpDrawItemStruct->itemData;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rcItem(lpDrawItemStruct->rcItem);
    bool bFocused = ::GetFocus() == m_hWnd && (lpDrawItemStruct->itemState & ODS_FOCUS) != 0;
    bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;

    COLORREF clrBack = ::GetSysColor(COLOR_WINDOW);
    COLORREF clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    if (bSelected) {
        clrBack = ::GetSysColor(COLOR_HIGHLIGHT);
        clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (pItem != NULL) {
        if (pItem->bBackSet) clrBack = pItem->clrBack;
        if (pItem->bTextSet) clrText = pItem->clrText;
    }
    pDC->FillSolidRect(&rcItem, clrBack);

    CRect rcText(rcItem);
    rcText.DeflateRect(1, 0);
    if (pItem != NULL && pItem->hIcon != NULL) {
        int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
        ICONINFO info = {};
        if (::GetIconInfo(pItem->hIcon, &info)) {
            cx = (int)info.xHotspot * 2;
            cy = (int)info.yHotspot * 2;
            if (info.hbmMask != NULL) ::DeleteObject(info.hbmMask);
            if (info.hbmColor != NULL) ::DeleteObject(info.hbmColor);
        }
        ::DrawIconEx(pDC->m_hDC, rcText.left, rcText.top + (rcText.Height() - cy) / 2, pItem->hIcon, cx, cy, 0, NULL,
                     DI_NORMAL);
        rcText.left += cx;
    }
    rcText.left += 2;

    CExtPaintManager* pPM = GetPaintManager();
    CFont* pOldFont = NULL;
    if (pPM != NULL)
        pOldFont = pDC->SelectObject(pItem != NULL && pItem->bBold ? &pPM->m_FontBold : &pPM->m_FontNormal);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOldText = pDC->SetTextColor(clrText);
    // An item is a name as the user wrote it (a group's): "&" is a character, not a mnemonic.
    if (pItem != NULL)
        pDC->DrawText(pItem->strText, &rcText, DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS | DT_NOPREFIX);
    if (bFocused) pDC->DrawFocusRect(&rcItem);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkMode(nOldMode);
    if (pOldFont != NULL) pDC->SelectObject(pOldFont);
}

void CExtSmartListBox::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    delete (SmartListItem*)lpDeleteItemStruct->itemData;
    lpDeleteItemStruct->itemData = 0;
    CListBox::DeleteItem(lpDeleteItemStruct);
}

LRESULT CExtSmartListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        LRESULT lIndex = CListBox::WindowProc(message, wParam, lParam);
        if (lIndex >= 0) {
            SmartListItem* pItem = new SmartListItem;
            if (lParam != 0) pItem->strText = (LPCTSTR)lParam;
            ::SendMessageA(m_hWnd, LB_SETITEMDATA, (WPARAM)lIndex, (LPARAM)pItem);
        }
        return lIndex;
    }
    case WM_ERASEBKGND:
        return 0;
    case WM_PAINT: {
        CPaintDC dc(this);
        CRect rcClient;
        GetClientRect(&rcClient);
        CExtMemoryDC dcBuffer(&dc, &rcClient, 0x03);
        DefWindowProc(WM_PAINT, (WPARAM)dcBuffer.m_hDC, 0);
        return 0;
    }
    case WM_NCPAINT: {
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        CWindowDC dc(this);
        CRect rcWnd;
        GetWindowRect(&rcWnd);
        rcWnd.OffsetRect(-rcWnd.left, -rcWnd.top);
        CExtPaintManager* pPM = GetPaintManager();
        if (pPM != NULL) pPM->DrawSimpleFrame(dc, rcWnd, this);
        return lResult;
    }
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
