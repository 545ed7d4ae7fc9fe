// The run-time binding of UxTheme.dll. Structured exception guards are not available
// with this compiler; the calls they guarded (closing a handle of a dead window,
// IsAppThemed) are made only where they are safe: a handle is closed with the
// platform's CloseThemeData, which does not touch the window.
#include "toolkit/theme/uxtheme_wrapper.h"
#include "toolkit/theme/paint_manager.h"

#include <vector>

const char* const UxThemeLibrary::g_arrEntryNames[UxThemeLibrary::__ENTRY_POINT_COUNT] = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText",
    "GetThemeBackgroundContentRect", "GetThemeBackgroundExtent", "GetThemePartSize",
    "GetThemeTextExtent", "GetThemeTextMetrics", "GetThemeBackgroundRegion",
    "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric", "GetThemeString",
    "GetThemeBool", "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont",
    "GetThemeRect", "GetThemeMargins", "GetThemeIntList", "GetThemePropertyOrigin",
    "SetWindowTheme", "GetThemeFilename", "GetThemeSysColor", "GetThemeSysColorBrush",
    "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont", "GetThemeSysString",
    "GetThemeSysInt", "IsThemeActive", "IsAppThemed", "GetWindowTheme",
    "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled", "GetThemeAppProperties",
    "SetThemeAppProperties", "GetCurrentThemeName", "GetThemeDocumentationProperty",
    "DrawThemeParentBackground", "EnableTheming", "DrawThemeBackgroundEx",
};

namespace {

template <class T>
void LookUp(HMODULE hModule, T& pfn, const char* pszName)
{
    FARPROC p = ::GetProcAddress(hModule, pszName);
    pfn = reinterpret_cast<T>(reinterpret_cast<void*>(p));
}

}  // namespace

UxThemeLibrary::UxThemeLibrary()
    : m_hTheme(NULL), m_hModule(NULL), m_nFlags(0), m_dwComCtlVersion(0), m_hWndTheme(NULL)
{
    m_szClassList[0] = L'\0';
    // Every pointer starts null; a missing module leaves them so.
    m_pfnOpenThemeData = NULL;
    m_pfnCloseThemeData = NULL;
    m_pfnDrawThemeBackground = NULL;
    m_pfnDrawThemeText = NULL;
    m_pfnGetThemeBackgroundContentRect = NULL;
    m_pfnGetThemeBackgroundExtent = NULL;
    m_pfnGetThemePartSize = NULL;
    m_pfnGetThemeTextExtent = NULL;
    m_pfnGetThemeTextMetrics = NULL;
    m_pfnGetThemeBackgroundRegion = NULL;
    m_pfnHitTestThemeBackground = NULL;
    m_pfnDrawThemeEdge = NULL;
    m_pfnDrawThemeIcon = NULL;
    m_pfnIsThemePartDefined = NULL;
    m_pfnIsThemeBackgroundPartiallyTransparent = NULL;
    m_pfnGetThemeColor = NULL;
    m_pfnGetThemeMetric = NULL;
    m_pfnGetThemeString = NULL;
    m_pfnGetThemeBool = NULL;
    m_pfnGetThemeInt = NULL;
    m_pfnGetThemeEnumValue = NULL;
    m_pfnGetThemePosition = NULL;
    m_pfnGetThemeFont = NULL;
    m_pfnGetThemeRect = NULL;
    m_pfnGetThemeMargins = NULL;
    m_pfnGetThemeIntList = NULL;
    m_pfnGetThemePropertyOrigin = NULL;
    m_pfnSetWindowTheme = NULL;
    m_pfnGetThemeFilename = NULL;
    m_pfnGetThemeSysColor = NULL;
    m_pfnGetThemeSysColorBrush = NULL;
    m_pfnGetThemeSysBool = NULL;
    m_pfnGetThemeSysSize = NULL;
    m_pfnGetThemeSysFont = NULL;
    m_pfnGetThemeSysString = NULL;
    m_pfnGetThemeSysInt = NULL;
    m_pfnIsThemeActive = NULL;
    m_pfnIsAppThemed = NULL;
    m_pfnGetWindowTheme = NULL;
    m_pfnEnableThemeDialogTexture = NULL;
    m_pfnIsThemeDialogTextureEnabled = NULL;
    m_pfnGetThemeAppProperties = NULL;
    m_pfnSetThemeAppProperties = NULL;
    m_pfnGetCurrentThemeName = NULL;
    m_pfnGetThemeDocumentationProperty = NULL;
    m_pfnDrawThemeParentBackground = NULL;
    m_pfnEnableTheming = NULL;
    m_pfnDrawThemeBackgroundEx = NULL;

    m_hModule = ::GetModuleHandleA("UxTheme.dll");
    if (m_hModule == NULL)
    {
        m_hModule = ::LoadLibraryA("UxTheme.dll");
        if (m_hModule != NULL)
            m_nFlags |= 0x01;
    }
    if (m_hModule != NULL)
    {
        const char* const* n = g_arrEntryNames;
        LookUp(m_hModule, m_pfnOpenThemeData, n[0]);
        LookUp(m_hModule, m_pfnCloseThemeData, n[1]);
        LookUp(m_hModule, m_pfnDrawThemeBackground, n[2]);
        LookUp(m_hModule, m_pfnDrawThemeText, n[3]);
        LookUp(m_hModule, m_pfnGetThemeBackgroundContentRect, n[4]);
        LookUp(m_hModule, m_pfnGetThemeBackgroundExtent, n[5]);
        LookUp(m_hModule, m_pfnGetThemePartSize, n[6]);
        LookUp(m_hModule, m_pfnGetThemeTextExtent, n[7]);
        LookUp(m_hModule, m_pfnGetThemeTextMetrics, n[8]);
        LookUp(m_hModule, m_pfnGetThemeBackgroundRegion, n[9]);
        LookUp(m_hModule, m_pfnHitTestThemeBackground, n[10]);
        LookUp(m_hModule, m_pfnDrawThemeEdge, n[11]);
        LookUp(m_hModule, m_pfnDrawThemeIcon, n[12]);
        LookUp(m_hModule, m_pfnIsThemePartDefined, n[13]);
        LookUp(m_hModule, m_pfnIsThemeBackgroundPartiallyTransparent, n[14]);
        LookUp(m_hModule, m_pfnGetThemeColor, n[15]);
        LookUp(m_hModule, m_pfnGetThemeMetric, n[16]);
        LookUp(m_hModule, m_pfnGetThemeString, n[17]);
        LookUp(m_hModule, m_pfnGetThemeBool, n[18]);
        LookUp(m_hModule, m_pfnGetThemeInt, n[19]);
        LookUp(m_hModule, m_pfnGetThemeEnumValue, n[20]);
        LookUp(m_hModule, m_pfnGetThemePosition, n[21]);
        LookUp(m_hModule, m_pfnGetThemeFont, n[22]);
        LookUp(m_hModule, m_pfnGetThemeRect, n[23]);
        LookUp(m_hModule, m_pfnGetThemeMargins, n[24]);
        LookUp(m_hModule, m_pfnGetThemeIntList, n[25]);
        LookUp(m_hModule, m_pfnGetThemePropertyOrigin, n[26]);
        LookUp(m_hModule, m_pfnSetWindowTheme, n[27]);
        LookUp(m_hModule, m_pfnGetThemeFilename, n[28]);
        LookUp(m_hModule, m_pfnGetThemeSysColor, n[29]);
        LookUp(m_hModule, m_pfnGetThemeSysColorBrush, n[30]);
        LookUp(m_hModule, m_pfnGetThemeSysBool, n[31]);
        LookUp(m_hModule, m_pfnGetThemeSysSize, n[32]);
        LookUp(m_hModule, m_pfnGetThemeSysFont, n[33]);
        LookUp(m_hModule, m_pfnGetThemeSysString, n[34]);
        LookUp(m_hModule, m_pfnGetThemeSysInt, n[35]);
        LookUp(m_hModule, m_pfnIsThemeActive, n[36]);
        LookUp(m_hModule, m_pfnIsAppThemed, n[37]);
        LookUp(m_hModule, m_pfnGetWindowTheme, n[38]);
        LookUp(m_hModule, m_pfnEnableThemeDialogTexture, n[39]);
        LookUp(m_hModule, m_pfnIsThemeDialogTextureEnabled, n[40]);
        LookUp(m_hModule, m_pfnGetThemeAppProperties, n[41]);
        LookUp(m_hModule, m_pfnSetThemeAppProperties, n[42]);
        LookUp(m_hModule, m_pfnGetCurrentThemeName, n[43]);
        LookUp(m_hModule, m_pfnGetThemeDocumentationProperty, n[44]);
        LookUp(m_hModule, m_pfnDrawThemeParentBackground, n[45]);
        LookUp(m_hModule, m_pfnEnableTheming, n[46]);
        LookUp(m_hModule, m_pfnDrawThemeBackgroundEx, n[47]);
    }
    m_szClassList[0] = L'\0';
    m_dwComCtlVersion = CExtPaintManager::QueryDllVersion("COMCTL32.DLL");
}

UxThemeLibrary::~UxThemeLibrary()
{
    CloseThemeData(false);
    if ((m_nFlags & 0x01) != 0 && m_hModule != NULL)
    {
        ::FreeLibrary(m_hModule);
        m_hModule = NULL;
    }
}

HTHEME UxThemeLibrary::OpenThemeData(HWND hWnd, LPCWSTR pszClassList)
{
    if (!Has(m_pfnOpenThemeData))
        return NULL;
    WCHAR szList[__CLASS_LIST_MAX + 1];
    szList[0] = L'\0';
    if (pszClassList != NULL)
    {
        int i = 0;
        for (; i < __CLASS_LIST_MAX && pszClassList[i] != L'\0'; i++)
            szList[i] = pszClassList[i];
        szList[i] = L'\0';
    }
    if (szList[0] == L'\0')
    {
        char szClass[__CLASS_LIST_MAX + 1];
        szClass[0] = '\0';
        if (hWnd != NULL)
            ::GetClassNameA(hWnd, szClass, __CLASS_LIST_MAX);
        int n = ::MultiByteToWideChar(CP_ACP, 0, szClass, -1, szList, __CLASS_LIST_MAX);
        if (n <= 0)
            szList[0] = L'\0';
        szList[__CLASS_LIST_MAX] = L'\0';
    }
    // Reuse only for the very same list (not a list that merely begins like the stored
    // one) on the same, still living window.
    if (m_hTheme != NULL && ::lstrcmpW(szList, m_szClassList) == 0 && hWnd == m_hWndTheme &&
        ::IsWindow(m_hWndTheme))
        return m_hTheme;
    CloseThemeData(false);
    m_hTheme = m_pfnOpenThemeData(hWnd, szList);
    m_szClassList[0] = L'\0';
    m_hWndTheme = NULL;
    if (m_hTheme != NULL)
    {
        ::lstrcpynW(m_szClassList, szList, __CLASS_LIST_MAX);
        m_hWndTheme = hWnd;
    }
    return m_hTheme;
}

HRESULT UxThemeLibrary::CloseThemeData(bool bKeep)
{
    if (m_hTheme == NULL || bKeep)
        return 0;
    // A theme handle belongs to the process, not to the window it was opened for, so it
    // is released even when that window is gone; dropping it would leak the handle.
    HRESULT hr = 1;
    if (Has(m_pfnCloseThemeData))
        hr = m_pfnCloseThemeData(m_hTheme);
    m_hTheme = NULL;
    m_szClassList[0] = L'\0';
    m_hWndTheme = NULL;
    return hr;
}

HRESULT UxThemeLibrary::DrawThemeBackground(HDC hDC, int nPartId, int nStateId,
                                            const RECT* pRect, const RECT* pClipRect)
{
    if (!Has(m_pfnDrawThemeBackground))
        return 1;
    return m_pfnDrawThemeBackground(m_hTheme, hDC, nPartId, nStateId, pRect, pClipRect);
}

HRESULT UxThemeLibrary::DrawThemeText(HDC hDC, int nPartId, int nStateId, LPCWSTR pszText,
                                      int nCharCount, DWORD dwTextFlags, DWORD dwTextFlags2,
                                      const RECT* pRect)
{
    if (!Has(m_pfnDrawThemeText))
        return 1;
    return m_pfnDrawThemeText(m_hTheme, hDC, nPartId, nStateId, pszText, nCharCount,
                              dwTextFlags, dwTextFlags2, pRect);
}

HRESULT UxThemeLibrary::DrawThemeText(HDC hDC, int nPartId, int nStateId, LPCSTR pszText,
                                      int nCharCount, DWORD dwTextFlags, DWORD dwTextFlags2,
                                      const RECT* pRect)
{
    if (!Has(m_pfnDrawThemeText))
        return 1;
    if (pszText == NULL)
        return DrawThemeText(hDC, nPartId, nStateId, (LPCWSTR)NULL, nCharCount, dwTextFlags,
                             dwTextFlags2, pRect);
    // The text may be of any length: it is converted on the heap, and the wide form is
    // told the converted length (a multi-byte text has fewer wide characters than bytes).
    // A count beyond the text's end is cut to the text, so nothing past it is read.
    int nSource = ::lstrlenA(pszText);
    if (nCharCount >= 0 && nCharCount < nSource)
        nSource = nCharCount;
    std::vector<WCHAR> wide((size_t)nSource + 1, L'\0');
    int nWide = 0;
    if (nSource > 0)
    {
        nWide = ::MultiByteToWideChar(CP_ACP, 0, pszText, nSource, wide.data(), nSource);
        if (nWide < 0)
            nWide = 0;
    }
    wide[(size_t)nWide] = L'\0';
    return DrawThemeText(hDC, nPartId, nStateId, (LPCWSTR)wide.data(),
                         (nCharCount < 0) ? -1 : nWide, dwTextFlags, dwTextFlags2, pRect);
}

HRESULT UxThemeLibrary::GetThemePartSize(HDC hDC, int nPartId, int nStateId, RECT* pRect,
                                         int eSize, SIZE* pSize)
{
    if (!Has(m_pfnGetThemePartSize))
        return 1;
    return m_pfnGetThemePartSize(m_hTheme, hDC, nPartId, nStateId, pRect, eSize, pSize);
}

bool UxThemeLibrary::IsThemeBackgroundPartiallyTransparent(int nPartId, int nStateId)
{
    if (!Has(m_pfnIsThemeBackgroundPartiallyTransparent))
        return false;
    return m_pfnIsThemeBackgroundPartiallyTransparent(m_hTheme, nPartId, nStateId) != FALSE;
}

HRESULT UxThemeLibrary::GetThemeColor(int nPartId, int nStateId, int nPropId, COLORREF* pColor)
{
    if (!Has(m_pfnGetThemeColor))
        return 1;
    return m_pfnGetThemeColor(m_hTheme, nPartId, nStateId, nPropId, pColor);
}

HRESULT UxThemeLibrary::GetThemeMetric(HDC hDC, int nPartId, int nStateId, int nPropId,
                                       int* pnVal)
{
    if (!Has(m_pfnGetThemeMetric))
        return 1;
    return m_pfnGetThemeMetric(m_hTheme, hDC, nPartId, nStateId, nPropId, pnVal);
}

bool UxThemeLibrary::IsThemeActive()
{
    if (!Has(m_pfnIsThemeActive))
        return false;
    return m_pfnIsThemeActive() != FALSE;
}

bool UxThemeLibrary::IsAppThemed()
{
    if (!Has(m_pfnIsAppThemed))
        return false;
    return m_pfnIsAppThemed() != FALSE;
}

DWORD UxThemeLibrary::GetThemeAppProperties()
{
    if (!Has(m_pfnGetThemeAppProperties))
        return 0;
    return m_pfnGetThemeAppProperties();
}

HRESULT UxThemeLibrary::GetCurrentThemeName(LPWSTR pszThemeFileName, int nMaxNameChars,
                                            LPWSTR pszColorBuff, int nMaxColorChars,
                                            LPWSTR pszSizeBuff, int nMaxSizeChars)
{
    if (!Has(m_pfnGetCurrentThemeName))
        return 1;
    return m_pfnGetCurrentThemeName(pszThemeFileName, nMaxNameChars, pszColorBuff,
                                    nMaxColorChars, pszSizeBuff, nMaxSizeChars);
}

HRESULT UxThemeLibrary::DrawThemeParentBackground(HWND hWnd, HDC hDC, RECT* pRect)
{
    if (!Has(m_pfnDrawThemeParentBackground))
        return 1;
    return m_pfnDrawThemeParentBackground(hWnd, hDC, pRect);
}

bool UxThemeLibrary::IsUsable(bool bRequireCommonControls6)
{
    if (m_hModule == NULL)
        return false;
    if (!IsThemeActive())
        return false;
    if ((GetThemeAppProperties() & STAP_ALLOW_CONTROLS) == 0)
        return false;
    if (bRequireCommonControls6 && HIWORD(m_dwComCtlVersion) <= 5)
        return false;
    return true;
}

HRESULT UxThemeLibrary::DrawBackgroundOverParent(HWND hWnd, HDC hDC, int nPartId, int nStateId,
                                                 const RECT* pRect, const RECT* pClipRect)
{
    UxThemeLibrary& lib = g_CurrentPaintManager.m_UxTheme;
    RECT rc = {0, 0, 0, 0}, rcClip = {0, 0, 0, 0};
    if (pRect != NULL)
        rc = *pRect;
    if (pClipRect != NULL)
        rcClip = *pClipRect;
    if (lib.IsThemeBackgroundPartiallyTransparent(nPartId, nStateId))
        lib.DrawThemeParentBackground(hWnd, hDC, &rc);
    return lib.DrawThemeBackground(hDC, nPartId, nStateId, &rc, &rcClip);
}
