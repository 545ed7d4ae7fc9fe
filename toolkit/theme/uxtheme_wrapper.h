// UxThemeLibrary: the toolkit's one run-time binding of UxTheme.dll. The library is
// never linked statically (it does not exist before Windows XP), so every entry point
// is looked up by name and every member answers a fixed failure value when the module
// or the entry is missing. At most one theme handle is open at a time; drawing code
// opens the class it needs, draws and closes (or keeps) it.
//
// The entry-point members are public on purpose: tests replace them to play a themed
// system on a platform where visual styles are off.
#pragma once
#include "framework/platform.h"
#include <uxtheme.h>

class UxThemeLibrary
{
public:
    typedef HTHEME(WINAPI* PFN_OpenThemeData)(HWND, LPCWSTR);
    typedef HRESULT(WINAPI* PFN_CloseThemeData)(HTHEME);
    typedef HRESULT(WINAPI* PFN_DrawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    typedef HRESULT(WINAPI* PFN_DrawThemeText)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*);
    typedef HRESULT(WINAPI* PFN_GetThemeBackgroundContentRect)(HTHEME, HDC, int, int, const RECT*, RECT*);
    typedef HRESULT(WINAPI* PFN_GetThemeBackgroundExtent)(HTHEME, HDC, int, int, const RECT*, RECT*);
    typedef HRESULT(WINAPI* PFN_GetThemePartSize)(HTHEME, HDC, int, int, RECT*, int, SIZE*);
    typedef HRESULT(WINAPI* PFN_GetThemeTextExtent)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, const RECT*, RECT*);
    typedef HRESULT(WINAPI* PFN_GetThemeTextMetrics)(HTHEME, HDC, int, int, TEXTMETRICW*);
    typedef HRESULT(WINAPI* PFN_GetThemeBackgroundRegion)(HTHEME, HDC, int, int, const RECT*, HRGN*);
    typedef HRESULT(WINAPI* PFN_HitTestThemeBackground)(HTHEME, HDC, int, int, DWORD, const RECT*, HRGN, POINT, WORD*);
    typedef HRESULT(WINAPI* PFN_DrawThemeEdge)(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*);
    typedef HRESULT(WINAPI* PFN_DrawThemeIcon)(HTHEME, HDC, int, int, const RECT*, HIMAGELIST, int);
    typedef BOOL(WINAPI* PFN_IsThemePartDefined)(HTHEME, int, int);
    typedef BOOL(WINAPI* PFN_IsThemeBackgroundPartiallyTransparent)(HTHEME, int, int);
    typedef HRESULT(WINAPI* PFN_GetThemeColor)(HTHEME, int, int, int, COLORREF*);
    typedef HRESULT(WINAPI* PFN_GetThemeMetric)(HTHEME, HDC, int, int, int, int*);
    typedef HRESULT(WINAPI* PFN_GetThemeString)(HTHEME, int, int, int, LPWSTR, int);
    typedef HRESULT(WINAPI* PFN_GetThemeBool)(HTHEME, int, int, int, BOOL*);
    typedef HRESULT(WINAPI* PFN_GetThemeInt)(HTHEME, int, int, int, int*);
    typedef HRESULT(WINAPI* PFN_GetThemeEnumValue)(HTHEME, int, int, int, int*);
    typedef HRESULT(WINAPI* PFN_GetThemePosition)(HTHEME, int, int, int, POINT*);
    typedef HRESULT(WINAPI* PFN_GetThemeFont)(HTHEME, HDC, int, int, int, LOGFONTW*);
    typedef HRESULT(WINAPI* PFN_GetThemeRect)(HTHEME, int, int, int, RECT*);
    typedef HRESULT(WINAPI* PFN_GetThemeMargins)(HTHEME, HDC, int, int, int, RECT*, MARGINS*);
    typedef HRESULT(WINAPI* PFN_GetThemeIntList)(HTHEME, int, int, int, INTLIST*);
    typedef HRESULT(WINAPI* PFN_GetThemePropertyOrigin)(HTHEME, int, int, int, int*);
    typedef HRESULT(WINAPI* PFN_SetWindowTheme)(HWND, LPCWSTR, LPCWSTR);
    typedef HRESULT(WINAPI* PFN_GetThemeFilename)(HTHEME, int, int, int, LPWSTR, int);
    typedef COLORREF(WINAPI* PFN_GetThemeSysColor)(HTHEME, int);
    typedef HBRUSH(WINAPI* PFN_GetThemeSysColorBrush)(HTHEME, int);
    typedef BOOL(WINAPI* PFN_GetThemeSysBool)(HTHEME, int);
    typedef int(WINAPI* PFN_GetThemeSysSize)(HTHEME, int);
    typedef HRESULT(WINAPI* PFN_GetThemeSysFont)(HTHEME, int, LOGFONTW*);
    typedef HRESULT(WINAPI* PFN_GetThemeSysString)(HTHEME, int, LPWSTR, int);
    typedef HRESULT(WINAPI* PFN_GetThemeSysInt)(HTHEME, int, int*);
    typedef BOOL(WINAPI* PFN_IsThemeActive)();
    typedef BOOL(WINAPI* PFN_IsAppThemed)();
    typedef HTHEME(WINAPI* PFN_GetWindowTheme)(HWND);
    typedef HRESULT(WINAPI* PFN_EnableThemeDialogTexture)(HWND, DWORD);
    typedef BOOL(WINAPI* PFN_IsThemeDialogTextureEnabled)(HWND);
    typedef DWORD(WINAPI* PFN_GetThemeAppProperties)();
    typedef void(WINAPI* PFN_SetThemeAppProperties)(DWORD);
    typedef HRESULT(WINAPI* PFN_GetCurrentThemeName)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    typedef HRESULT(WINAPI* PFN_GetThemeDocumentationProperty)(LPCWSTR, LPCWSTR, LPWSTR, int);
    typedef HRESULT(WINAPI* PFN_DrawThemeParentBackground)(HWND, HDC, const RECT*);
    typedef HRESULT(WINAPI* PFN_EnableTheming)(BOOL);
    typedef HRESULT(WINAPI* PFN_DrawThemeBackgroundEx)(HTHEME, HDC, int, int, const RECT*, const DTBGOPTS*);

    enum
    {
        __CLASS_LIST_MAX = 260,
        __ENTRY_POINT_COUNT = 48,
    };

    // The names looked up, in lookup order (the order of the pointer members below).
    static const char* const g_arrEntryNames[__ENTRY_POINT_COUNT];

    UxThemeLibrary();
    ~UxThemeLibrary();

    HTHEME OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
    HRESULT CloseThemeData(bool bKeep = false);
    HRESULT DrawThemeBackground(HDC hDC, int nPartId, int nStateId, const RECT* pRect,
                                const RECT* pClipRect);
    HRESULT DrawThemeText(HDC hDC, int nPartId, int nStateId, LPCWSTR pszText, int nCharCount,
                          DWORD dwTextFlags, DWORD dwTextFlags2, const RECT* pRect);
    HRESULT DrawThemeText(HDC hDC, int nPartId, int nStateId, LPCSTR pszText, int nCharCount,
                          DWORD dwTextFlags, DWORD dwTextFlags2, const RECT* pRect);
    HRESULT GetThemePartSize(HDC hDC, int nPartId, int nStateId, RECT* pRect, int eSize,
                             SIZE* pSize);
    bool IsThemeBackgroundPartiallyTransparent(int nPartId, int nStateId);
    HRESULT GetThemeColor(int nPartId, int nStateId, int nPropId, COLORREF* pColor);
    HRESULT GetThemeMetric(HDC hDC, int nPartId, int nStateId, int nPropId, int* pnVal);
    bool IsThemeActive();
    bool IsAppThemed();
    DWORD GetThemeAppProperties();
    HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int nMaxNameChars,
                                LPWSTR pszColorBuff, int nMaxColorChars, LPWSTR pszSizeBuff,
                                int nMaxSizeChars);
    HRESULT DrawThemeParentBackground(HWND hWnd, HDC hDC, RECT* pRect);
    bool IsUsable(bool bRequireCommonControls6);

    // Draws a part over its parent's background where the part is not opaque. Works
    // on the holder's instance.
    static HRESULT DrawBackgroundOverParent(HWND hWnd, HDC hDC, int nPartId, int nStateId,
                                            const RECT* pRect, const RECT* pClipRect);

    HTHEME GetOpenTheme() const { return m_hTheme; }
    HWND GetOpenThemeWindow() const { return m_hWndTheme; }
    LPCWSTR GetOpenThemeClassList() const { return m_szClassList; }
    DWORD GetCommonControlsVersion() const { return m_dwComCtlVersion; }

    // ---- fields, in their documented order ------------------------------------------
    HTHEME m_hTheme;
    HMODULE m_hModule;
    BYTE m_nFlags;            // bit 0: the module was loaded here and must be freed
    DWORD m_dwComCtlVersion;  // (major << 16) | minor of COMCTL32.DLL, 0 when unknown
    WCHAR m_szClassList[__CLASS_LIST_MAX];
    HWND m_hWndTheme;

    PFN_OpenThemeData m_pfnOpenThemeData;
    PFN_CloseThemeData m_pfnCloseThemeData;
    PFN_DrawThemeBackground m_pfnDrawThemeBackground;
    PFN_DrawThemeText m_pfnDrawThemeText;
    PFN_GetThemeBackgroundContentRect m_pfnGetThemeBackgroundContentRect;
    PFN_GetThemeBackgroundExtent m_pfnGetThemeBackgroundExtent;
    PFN_GetThemePartSize m_pfnGetThemePartSize;
    PFN_GetThemeTextExtent m_pfnGetThemeTextExtent;
    PFN_GetThemeTextMetrics m_pfnGetThemeTextMetrics;
    PFN_GetThemeBackgroundRegion m_pfnGetThemeBackgroundRegion;
    PFN_HitTestThemeBackground m_pfnHitTestThemeBackground;
    PFN_DrawThemeEdge m_pfnDrawThemeEdge;
    PFN_DrawThemeIcon m_pfnDrawThemeIcon;
    PFN_IsThemePartDefined m_pfnIsThemePartDefined;
    PFN_IsThemeBackgroundPartiallyTransparent m_pfnIsThemeBackgroundPartiallyTransparent;
    PFN_GetThemeColor m_pfnGetThemeColor;
    PFN_GetThemeMetric m_pfnGetThemeMetric;
    PFN_GetThemeString m_pfnGetThemeString;
    PFN_GetThemeBool m_pfnGetThemeBool;
    PFN_GetThemeInt m_pfnGetThemeInt;
    PFN_GetThemeEnumValue m_pfnGetThemeEnumValue;
    PFN_GetThemePosition m_pfnGetThemePosition;
    PFN_GetThemeFont m_pfnGetThemeFont;
    PFN_GetThemeRect m_pfnGetThemeRect;
    PFN_GetThemeMargins m_pfnGetThemeMargins;
    PFN_GetThemeIntList m_pfnGetThemeIntList;
    PFN_GetThemePropertyOrigin m_pfnGetThemePropertyOrigin;
    PFN_SetWindowTheme m_pfnSetWindowTheme;
    PFN_GetThemeFilename m_pfnGetThemeFilename;
    PFN_GetThemeSysColor m_pfnGetThemeSysColor;
    PFN_GetThemeSysColorBrush m_pfnGetThemeSysColorBrush;
    PFN_GetThemeSysBool m_pfnGetThemeSysBool;
    PFN_GetThemeSysSize m_pfnGetThemeSysSize;
    PFN_GetThemeSysFont m_pfnGetThemeSysFont;
    PFN_GetThemeSysString m_pfnGetThemeSysString;
    PFN_GetThemeSysInt m_pfnGetThemeSysInt;
    PFN_IsThemeActive m_pfnIsThemeActive;
    PFN_IsAppThemed m_pfnIsAppThemed;
    PFN_GetWindowTheme m_pfnGetWindowTheme;
    PFN_EnableThemeDialogTexture m_pfnEnableThemeDialogTexture;
    PFN_IsThemeDialogTextureEnabled m_pfnIsThemeDialogTextureEnabled;
    PFN_GetThemeAppProperties m_pfnGetThemeAppProperties;
    PFN_SetThemeAppProperties m_pfnSetThemeAppProperties;
    PFN_GetCurrentThemeName m_pfnGetCurrentThemeName;
    PFN_GetThemeDocumentationProperty m_pfnGetThemeDocumentationProperty;
    PFN_DrawThemeParentBackground m_pfnDrawThemeParentBackground;
    PFN_EnableTheming m_pfnEnableTheming;
    PFN_DrawThemeBackgroundEx m_pfnDrawThemeBackgroundEx;

private:
    UxThemeLibrary(const UxThemeLibrary&) = delete;
    UxThemeLibrary& operator=(const UxThemeLibrary&) = delete;

    template <class T>
    bool Has(T pfn) const { return m_hModule != NULL && pfn != NULL; }
};
