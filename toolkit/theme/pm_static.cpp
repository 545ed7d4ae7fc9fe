// Static services of the paint manager that do not depend on the theme: printing
// windows into bitmaps, the DLL-version probe, the transparent-child test, the text
// colour icon, monitors and work areas, text measuring, dotted lines, the screen depth
// and pumping pending paint messages.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/bitmap.h"

#include <shlwapi.h>

HBITMAP CExtPaintManager::PrintWindowToBitmap(HWND hWnd, UINT nMessage, LPARAM lParamPrint)
{
    if (hWnd == NULL || !::IsWindow(hWnd))
        return NULL;
    RECT rc;
    if ((lParamPrint & PRF_NONCLIENT) != 0)
        ::GetWindowRect(hWnd, &rc);
    else
        ::GetClientRect(hWnd, &rc);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (cx <= 0 || cy <= 0)
        return NULL;
    HDC hDC = ::CreateCompatibleDC(NULL);
    if (hDC == NULL)
        return NULL;
    void* pBits = NULL;
    HBITMAP hBmp = CreateDib32(hDC, cx, cy, &pBits, true);
    if (hBmp == NULL)
    {
        ::DeleteDC(hDC);
        return NULL;
    }
    HGDIOBJ hOld = ::SelectObject(hDC, hBmp);
    ::SendMessageA(hWnd, nMessage, (WPARAM)hDC, lParamPrint);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return hBmp;
}

void CExtPaintManager::PrintChildWindows(HWND hWndParent, UINT nMessage, HDC hDC,
                                         LPARAM lParamPrint, bool bRecurse)
{
    if (hWndParent == NULL || hDC == NULL || !::IsWindow(hWndParent))
        return;
    const bool bNonClient = (lParamPrint & PRF_NONCLIENT) != 0;
    POINT ptParentClient = {0, 0};
    ::ClientToScreen(hWndParent, &ptParentClient);
    POINT ptNcShift = {0, 0};
    if (bNonClient)
    {
        RECT rcWnd;
        ::GetWindowRect(hWndParent, &rcWnd);
        ptNcShift.x = ptParentClient.x - rcWnd.left;
        ptNcShift.y = ptParentClient.y - rcWnd.top;
        ::OffsetViewportOrgEx(hDC, ptNcShift.x, ptNcShift.y, NULL);
    }
    for (HWND hWnd = ::GetWindow(hWndParent, GW_CHILD); hWnd != NULL;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        if ((::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) == 0)
            continue;
        POINT ptChild = {0, 0};
        if (bNonClient)
        {
            RECT rcChild;
            ::GetWindowRect(hWnd, &rcChild);
            ptChild.x = rcChild.left;
            ptChild.y = rcChild.top;
        }
        else
            ::ClientToScreen(hWnd, &ptChild);
        const int dx = ptChild.x - ptParentClient.x, dy = ptChild.y - ptParentClient.y;
        ::OffsetViewportOrgEx(hDC, dx, dy, NULL);
        ::SendMessageA(hWnd, nMessage, (WPARAM)hDC, lParamPrint);
        if (bRecurse)
            PrintChildWindows(hWnd, nMessage, hDC, lParamPrint, true);
        ::OffsetViewportOrgEx(hDC, -dx, -dy, NULL);
    }
    if (bNonClient)
        ::OffsetViewportOrgEx(hDC, -ptNcShift.x, -ptNcShift.y, NULL);
}

DWORD CExtPaintManager::QueryDllVersion(LPCTSTR sDllName)
{
    if (sDllName == NULL || *sDllName == '\0')
        return 0;
    HMODULE hModule = ::LoadLibraryA(sDllName);
    if (hModule == NULL)
        return 0;
    DWORD dwVersion = 0;
    typedef HRESULT(CALLBACK * PFN_DllGetVersion)(DLLVERSIONINFO*);
    FARPROC p = ::GetProcAddress(hModule, "DllGetVersion");
    PFN_DllGetVersion pfn = reinterpret_cast<PFN_DllGetVersion>(reinterpret_cast<void*>(p));
    if (pfn != NULL)
    {
        DLLVERSIONINFO dvi;
        ::memset(&dvi, 0, sizeof(dvi));
        dvi.cbSize = sizeof(DLLVERSIONINFO);  // 20 bytes
        if (SUCCEEDED(pfn(&dvi)))
            dwVersion = (dvi.dwMajorVersion << 16) | (dvi.dwMinorVersion & 0xFFFF);
    }
    ::FreeLibrary(hModule);
    return dwVersion;
}

bool CExtPaintManager::IsTransparentChild(HWND hWnd)
{
    if (hWnd == NULL || !::IsWindow(hWnd))
        return false;
    const DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
    char szClass[261];
    szClass[0] = '\0';
    ::GetClassNameA(hWnd, szClass, 260);
    ::CharLowerA(szClass);
    if (::lstrcmpA(szClass, "static") == 0 || ::lstrcmpA(szClass, "systabcontrol32") == 0 ||
        ::lstrcmpA(szClass, "msctls_trackbar32") == 0)
        return true;
    if (::lstrcmpA(szClass, "button") == 0)
    {
        if ((g_CurrentPaintManager.m_nOsFlags2 & 0x10) != 0)
            return true;
        const DWORD dwType = dwStyle & 0x0F;
        return dwType <= 7 || dwType == 9;
    }
    return false;
}

bool CExtPaintManager::stat_ClipFilterTransparentChild(HDC, HWND, HWND hWndChild, LPARAM)
{
    return IsTransparentChild(hWndChild);
}

bool CExtPaintManager::stat_ClipFilterNoLParam(HDC, HWND, HWND, LPARAM lParam)
{
    return lParam == 0;
}

HICON CExtPaintManager::CreateTextColorIcon(COLORREF clr, HFONT hFont, LPCTSTR sText)
{
    HDC hScreen = ::GetDC(NULL);
    if (hScreen == NULL)
        return NULL;
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HDC hMaskDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, 16, 16);
    HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, NULL);
    ::ReleaseDC(NULL, hScreen);
    HICON hIcon = NULL;
    if (hDC != NULL && hMaskDC != NULL && hColor != NULL && hMask != NULL)
    {
        HGDIOBJ hOldColor = ::SelectObject(hDC, hColor);
        HGDIOBJ hOldMask = ::SelectObject(hMaskDC, hMask);
        RECT rcAll = {0, 0, 16, 16}, rcText = {0, 0, 16, 12}, rcBar = {0, 12, 16, 16};
        ::FillRect(hDC, &rcAll, (HBRUSH)::GetStockObject(WHITE_BRUSH));
        if (sText != NULL && *sText != '\0')
        {
            HGDIOBJ hOldFont = (hFont != NULL) ? ::SelectObject(hDC, hFont) : NULL;
            ::SetBkMode(hDC, TRANSPARENT);
            ::SetTextColor(hDC, RGB(0, 0, 0));
            ::DrawTextA(hDC, sText, -1, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            if (hOldFont != NULL)
                ::SelectObject(hDC, hOldFont);
        }
        // The white around the text is transparent; the text and the bar are not.
        ::SetBkColor(hDC, RGB(255, 255, 255));
        ::BitBlt(hMaskDC, 0, 0, 16, 16, hDC, 0, 0, SRCCOPY);
        ::FillRect(hMaskDC, &rcBar, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        HBRUSH hBrush = ::CreateSolidBrush(clr);
        ::FillRect(hDC, &rcBar, hBrush);
        ::DeleteObject(hBrush);
        // Transparent pixels of an icon's colour image are black.
        ::SetBkColor(hDC, RGB(0, 0, 0));
        ::SetTextColor(hDC, RGB(255, 255, 255));
        ::BitBlt(hDC, 0, 0, 16, 16, hMaskDC, 0, 0, SRCAND);
        ::SelectObject(hDC, hOldColor);
        ::SelectObject(hMaskDC, hOldMask);
        ICONINFO ii;
        ::memset(&ii, 0, sizeof(ii));
        ii.fIcon = TRUE;
        ii.hbmColor = hColor;
        ii.hbmMask = hMask;
        hIcon = ::CreateIconIndirect(&ii);
    }
    if (hColor != NULL)
        ::DeleteObject(hColor);
    if (hMask != NULL)
        ::DeleteObject(hMask);
    if (hDC != NULL)
        ::DeleteDC(hDC);
    if (hMaskDC != NULL)
        ::DeleteDC(hMaskDC);
    return hIcon;
}

// ---- monitors --------------------------------------------------------------------------------

void CExtPaintManager::MonitorDataFromDesktop(MONITORDATA& md)
{
    ::GetWindowRect(::GetDesktopWindow(), &md.m_rcMonitor);
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &md.m_rcWorkArea, 0))
        md.m_rcWorkArea = md.m_rcMonitor;
    md.m_nFlags |= 0x01;
}

namespace {

bool FromMonitor(CExtPaintManager::MONITORDATA& md, HMONITOR hMonitor)
{
    if (hMonitor == NULL)
        return false;
    MONITORINFO mi;
    ::memset(&mi, 0, sizeof(mi));
    mi.cbSize = sizeof(MONITORINFO);  // 40 bytes
    if (!::GetMonitorInfoA(hMonitor, &mi))
        return false;
    md.m_rcMonitor = mi.rcMonitor;
    md.m_rcWorkArea = mi.rcWork;
    if ((mi.dwFlags & MONITORINFOF_PRIMARY) != 0)
        md.m_nFlags |= 0x01;
    else
        md.m_nFlags &= ~0x01;
    return true;
}

}  // namespace

void CExtPaintManager::MonitorDataFromPoint(MONITORDATA& md, POINT pt)
{
    if (!FromMonitor(md, ::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST)))
        MonitorDataFromDesktop(md);
}

void CExtPaintManager::MonitorDataFromRect(MONITORDATA& md, const RECT& rc)
{
    if (!FromMonitor(md, ::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST)))
        MonitorDataFromDesktop(md);
}

void CExtPaintManager::MonitorDataFromHwnd(MONITORDATA& md, HWND hWnd)
{
    RECT rc = {0, 0, 0, 0};
    if (hWnd == NULL || !::GetWindowRect(hWnd, &rc))
        ::SetRectEmpty(&rc);
    MonitorDataFromRect(md, rc);
}

void CExtPaintManager::MonitorDataFromWnd(MONITORDATA& md, CWnd* pWnd)
{
    MonitorDataFromHwnd(md, pWnd->GetSafeHwnd());
}

RECT CExtPaintManager::FitRectIntoBounds(RECT rc, const RECT& rcB, bool bKeepFullyInside)
{
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (rc.left >= rcB.right)
    {
        rc.right = rcB.right;
        rc.left = rc.right - cx;
    }
    if (rc.top >= rcB.bottom)
    {
        rc.bottom = rcB.bottom;
        rc.top = rc.bottom - cy;
    }
    if (rc.right <= rcB.left)
    {
        rc.left = rcB.left;
        rc.right = rc.left + cx;
    }
    if (rc.bottom <= rcB.top)
    {
        rc.top = rcB.top;
        rc.bottom = rc.top + cy;
    }
    if (bKeepFullyInside)
    {
        if (rc.right > rcB.right)
        {
            rc.right = rcB.right;
            rc.left = rc.right - cx;
        }
        if (rc.bottom > rcB.bottom)
        {
            rc.bottom = rcB.bottom;
            rc.top = rc.bottom - cy;
        }
        if (rc.left < rcB.left)
        {
            rc.left = rcB.left;
            rc.right = rc.left + cx;
        }
        if (rc.top < rcB.top)
        {
            rc.top = rcB.top;
            rc.bottom = rc.top + cy;
        }
    }
    return rc;
}

RECT CExtPaintManager::FitRectIntoMonitor(RECT rc, bool bUseWorkArea, bool bKeepFullyInside)
{
    MONITORDATA md;
    MonitorDataFromRect(md, rc);
    return FitRectIntoBounds(rc, bUseWorkArea ? md.m_rcWorkArea : md.m_rcMonitor,
                             bKeepFullyInside);
}

// ---- text ------------------------------------------------------------------------------------

RECT CExtPaintManager::MeasureText(RECT& rcOut, CDC& dc, CFont* pFont, LPCTSTR sText,
                                   UINT nDrawTextFlags)
{
    ::SetRectEmpty(&rcOut);
    HDC hDC = dc.GetSafeHdc();
    if (hDC == NULL || sText == NULL)
        return rcOut;
    HGDIOBJ hOld = NULL;
    if (pFont != NULL && pFont->GetSafeHandle() != NULL)
        hOld = ::SelectObject(hDC, pFont->GetSafeHandle());
    UINT nFlags = nDrawTextFlags | DT_CALCRECT;
    if (::strchr(sText, '\t') != NULL)
        nFlags |= DT_EXPANDTABS;
    ::DrawTextA(hDC, sText, -1, &rcOut, nFlags);
    if (hOld != NULL)
        ::SelectObject(hDC, hOld);
    ::OffsetRect(&rcOut, -rcOut.left, -rcOut.top);
    return rcOut;
}

int CExtPaintManager::MeasureTextWidth(CDC& dc, CFont* pFont, LPCTSTR sText)
{
    RECT rc;
    MeasureText(rc, dc, pFont, sText, DT_CALCRECT | DT_SINGLELINE);
    return rc.right - rc.left;
}

void CExtPaintManager::DrawDottedLineHorz(CDC& dc, int x1, int x2, int y, COLORREF clr)
{
    HDC hDC = dc.GetSafeHdc();
    if (hDC == NULL)
        return;
    int x = x1 + (x1 & 1);
    for (; x < x2; x += 2)
        ::SetPixel(hDC, x, y, clr);
}

void CExtPaintManager::DrawDottedLineVert(CDC& dc, int x, int y1, int y2, COLORREF clr)
{
    HDC hDC = dc.GetSafeHdc();
    if (hDC == NULL)
        return;
    int y = y1 + (y1 & 1);
    for (; y < y2; y += 2)
        ::SetPixel(hDC, x, y, clr);
}

int CExtPaintManager::GetScreenBitsPerPixel()
{
    if (g_nScreenBitsPerPixelOverride > 0)
        return g_nScreenBitsPerPixelOverride;
    HDC hDC = ::GetDC(NULL);
    if (hDC == NULL)
        return 32;
    const int nBits = ::GetDeviceCaps(hDC, BITSPIXEL);
    ::ReleaseDC(NULL, hDC);
    return nBits;
}

void CExtPaintManager::PumpPaintMessages(bool bNcPaint, bool bEraseBkgnd, bool bPaint)
{
    const UINT arrMessages[3] = {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT};
    const bool arrWanted[3] = {bNcPaint, bEraseBkgnd, bPaint};
    for (int i = 0; i < 3; i++)
    {
        if (!arrWanted[i])
            continue;
        const UINT nMsg = arrMessages[i];
        MSG msg;
        while (::PeekMessageA(&msg, NULL, nMsg, nMsg, PM_NOREMOVE))
        {
            BOOL bRet = ::GetMessageA(&msg, NULL, nMsg, nMsg);
            if (bRet == 0)
            {
                // GetMessage hands out WM_QUIT whatever the filter; the loop that owns
                // the thread must still see it.
                ::PostQuitMessage((int)msg.wParam);
                return;
            }
            if (bRet == -1)
                return;
            ::DispatchMessageA(&msg);
        }
    }
}
