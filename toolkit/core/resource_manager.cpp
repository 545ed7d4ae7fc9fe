#include "toolkit/core/resource_manager.h"
#include "toolkit/core/bitmap.h"

#include <commctrl.h>
#include <new>
#include <string.h>

namespace {

const WORD kLangIdDefault = 1033;  // U.S. English; nothing changes it
const LPCTSTR kRtDlgInit = MAKEINTRESOURCE(240);
const UINT kMsgInitialUpdate = 0x0364;

BOOL CALLBACK SendInitialUpdateProc(HWND hWnd, LPARAM)
{
    ::SendMessage(hWnd, kMsgInitialUpdate, 0, 0);
    return TRUE;
}

}  // namespace

CExtResourceManager::PFN_QUERY_BASE_FONT CExtResourceManager::g_pfnQueryBaseFont = NULL;

// ---- resource data buffer ------------------------------------------------------------

CExtResourceMemoryBuffer::CExtResourceMemoryBuffer() : m_pBuffer(NULL), m_nSize(0) {}

CExtResourceMemoryBuffer::~CExtResourceMemoryBuffer() { Empty(); }

void CExtResourceMemoryBuffer::Empty()
{
    delete[] m_pBuffer;
    m_pBuffer = NULL;
    m_nSize = 0;
}

bool CExtResourceMemoryBuffer::Alloc(DWORD nSize)
{
    Empty();
    if (nSize == 0)
        return true;
    m_pBuffer = new (std::nothrow) BYTE[nSize];
    if (m_pBuffer == NULL)
        return false;
    m_nSize = nSize;
    return true;
}

bool CExtResourceMemoryBuffer::FromResource(HINSTANCE hInst, HRSRC hRsrc)
{
    Empty();
    if (hRsrc == NULL)
        return false;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    if (hGlobal == NULL)
        return false;
    const BYTE* pData = (const BYTE*)::LockResource(hGlobal);
    DWORD nSize = ::SizeofResource(hInst, hRsrc);
    if (nSize == 0)
        return true;
    if (pData == NULL || !Alloc(nSize))
        return false;
    memcpy(m_pBuffer, pData, nSize);
    return true;
}

// ---- the manager ---------------------------------------------------------------------

CExtResourceManager::CExtResourceManager(bool bAllowCustomLang, WORD nLangIdDesired, DWORD nLangLayout)
    : m_bAllowCustomLang(bAllowCustomLang ? 1 : 0),
      m_nLangIdDesired(nLangIdDesired),
      m_nLangLayout(nLangLayout)
{
}

CExtResourceManager::~CExtResourceManager()
{
    for (INT_PTR i = 0; i < m_arrRscInst.GetSize(); i++)
        delete m_arrRscInst[i];
    m_arrRscInst.RemoveAll();
    m_fontCached.DeleteObject();
    m_sFontFaceName.Empty();
}

INT_PTR CExtResourceManager::OnAdjustDialogTemplate(LPCVOID, HWND, bool) { return 0; }

bool CExtResourceManager::IsCustomLangAllowed() const { return m_bAllowCustomLang != 0; }

bool CExtResourceManager::AllowCustomLang(bool bAllow)
{
    if (IsCustomLangAllowed() == bAllow)
        return false;
    m_bAllowCustomLang = bAllow ? 1 : 0;
    return true;
}

bool CExtResourceManager::stat_IsLangRTL(WORD nLangId)
{
    static const WORD g_arrRTL[] = {
        0x0401, 0x040D, 0x0420, 0x0429, 0x0446, 0x0459, 0x0460, 0x0801, 0x0820, 0x0860, 0x0C01, 0x1001,
        0x1401, 0x1801, 0x1C01, 0x2001, 0x2401, 0x2801, 0x2C01, 0x3001, 0x3401, 0x3801, 0x3C01, 0x4001,
    };
    for (size_t i = 0; i < sizeof(g_arrRTL) / sizeof(g_arrRTL[0]); i++)
        if (g_arrRTL[i] == nLangId)
            return true;
    return false;
}

DWORD CExtResourceManager::GetLangLayout() const
{
    if (m_nLangLayout != DWORD(-1))
        return m_nLangLayout;
    WORD nLangId = IsCustomLangAllowed() ? GetLangIdDesired() : ::GetUserDefaultLangID();
    return stat_IsLangRTL(nLangId) ? 1 : 0;
}

DWORD CExtResourceManager::GetLangLayoutSetting() const { return m_nLangLayout; }

DWORD CExtResourceManager::SetLangLayout(DWORD nLangLayout)
{
    DWORD nOld = m_nLangLayout;
    m_nLangLayout = nLangLayout;
    return nOld;
}

WORD CExtResourceManager::GetLangIdDesired() const { return m_nLangIdDesired; }

WORD CExtResourceManager::SetLangIdDesired(WORD nLangIdDesired)
{
    m_nLangIdDesired = nLangIdDesired;
    return m_nLangIdDesired;
}

WORD CExtResourceManager::GetLangIdDefault() const { return kLangIdDefault; }

// The locale functions: with custom languages the desired and then the default language
// are tried as locales; then, always, the user's, the system's and locale 0.
#define EXT_RM_LOCALE_SEQUENCE(call_with_lcid)                                            \
    AFX_MANAGE_STATE(AfxGetStaticModuleState());                                          \
    int nRet = 0;                                                                         \
    if (IsCustomLangAllowed()) {                                                          \
        LCID lcid = MAKELCID(GetLangIdDesired(), SORT_DEFAULT);                           \
        if ((nRet = (call_with_lcid)) != 0) return nRet;                                  \
        lcid = MAKELCID(GetLangIdDefault(), SORT_DEFAULT);                                \
        if ((nRet = (call_with_lcid)) != 0) return nRet;                                  \
    }                                                                                     \
    {                                                                                     \
        LCID lcid = LOCALE_USER_DEFAULT;                                                  \
        if ((nRet = (call_with_lcid)) != 0) return nRet;                                  \
        lcid = LOCALE_SYSTEM_DEFAULT;                                                     \
        if ((nRet = (call_with_lcid)) != 0) return nRet;                                  \
        lcid = 0;                                                                         \
        nRet = (call_with_lcid);                                                          \
    }                                                                                     \
    return nRet;

int CExtResourceManager::GetLocaleInfo(LCTYPE LCType, LPTSTR lpLCData, int cchData)
{
    EXT_RM_LOCALE_SEQUENCE(::GetLocaleInfo(lcid, LCType, lpLCData, cchData))
}

int CExtResourceManager::GetTimeFormat(DWORD dwFlags, const SYSTEMTIME* lpTime, LPCTSTR lpFormat,
                                       LPTSTR lpTimeStr, int cchTime)
{
    EXT_RM_LOCALE_SEQUENCE(::GetTimeFormat(lcid, dwFlags, lpTime, lpFormat, lpTimeStr, cchTime))
}

int CExtResourceManager::GetDateFormat(DWORD dwFlags, const SYSTEMTIME* lpDate, LPCTSTR lpFormat,
                                       LPTSTR lpDateStr, int cchDate)
{
    EXT_RM_LOCALE_SEQUENCE(::GetDateFormat(lcid, dwFlags, lpDate, lpFormat, lpDateStr, cchDate))
}

int CExtResourceManager::GetNumberFormat(DWORD dwFlags, LPCTSTR lpValue, const NUMBERFMT* lpFormat,
                                         LPTSTR lpNumberStr, int cchNumber)
{
    EXT_RM_LOCALE_SEQUENCE(::GetNumberFormat(lcid, dwFlags, lpValue, lpFormat, lpNumberStr, cchNumber))
}

int CExtResourceManager::GetCurrencyFormat(DWORD dwFlags, LPCTSTR lpValue, const CURRENCYFMT* lpFormat,
                                           LPTSTR lpCurrencyStr, int cchCurrency)
{
    EXT_RM_LOCALE_SEQUENCE(
        ::GetCurrencyFormat(lcid, dwFlags, lpValue, lpFormat, lpCurrencyStr, cchCurrency))
}

#undef EXT_RM_LOCALE_SEQUENCE

HINSTANCE CExtResourceManager::FrameworkResourceHandle() const
{
    return AfxGetResourceHandle();
}

bool CExtResourceManager::FindResourceInstanceBuffer(CExtResourceMemoryBuffer& buffer,
                                                     LPCTSTR lpszResourceType, LPCTSTR lpszResourceName,
                                                     WORD nLangIdDesired, WORD* p_wLangIdOut,
                                                     HINSTANCE* p_hInstOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    HRSRC hRsrc = NULL;
    HINSTANCE hInst =
        FindResourceInstance(lpszResourceType, lpszResourceName, nLangIdDesired, p_wLangIdOut, &hRsrc);
    if (hInst == NULL)
        return false;
    if (!buffer.FromResource(hInst, hRsrc))
        return false;
    if (p_hInstOut != NULL)
        *p_hInstOut = hInst;
    return true;
}

HINSTANCE CExtResourceManager::FindResourceInstance(LPCTSTR lpszResourceType, LPCTSTR lpszResourceName,
                                                    WORD nLangIdDesired, WORD* p_wLangIdOut,
                                                    HRSRC* p_hResourceOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    for (INT_PTR i = 0; i < m_arrRscInst.GetSize(); i++)
    {
        RscInstEntry* pEntry = m_arrRscInst[i];
        if (pEntry == NULL || pEntry->IsEmpty())
            continue;
        HRSRC hRsrc = ::FindResourceEx(pEntry->GetInstance(), lpszResourceType, lpszResourceName,
                                       nLangIdDesired);
        if (hRsrc != NULL)
        {
            if (p_wLangIdOut != NULL)
                *p_wLangIdOut = nLangIdDesired;
            if (p_hResourceOut != NULL)
                *p_hResourceOut = hRsrc;
            return pEntry->GetInstance();
        }
    }
    return NULL;
}

LPCTSTR CExtResourceManager::GetFontFaceName()
{
    return m_sFontFaceName.IsEmpty() ? NULL : (LPCTSTR)m_sFontFaceName;
}

void CExtResourceManager::SetFontFaceName(LPCTSTR sFontFaceName)
{
    if (sFontFaceName == NULL || *sFontFaceName == '\0')
    {
        if (m_sFontFaceName.IsEmpty())
            return;
        m_sFontFaceName.Empty();
    }
    else
    {
        if (m_sFontFaceName == sFontFaceName)
            return;  // the cached font stays valid
        m_sFontFaceName = sFontFaceName;
    }
    m_fontCached.DeleteObject();
}

HFONT CExtResourceManager::GetFont()
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (m_sFontFaceName.IsEmpty())
        return NULL;
    if (m_fontCached.GetSafeHandle() != NULL)
        return (HFONT)m_fontCached.GetSafeHandle();
    HFONT hBase = (g_pfnQueryBaseFont != NULL) ? g_pfnQueryBaseFont() : NULL;
    if (hBase == NULL)
        hBase = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    LOGFONT lf;
    memset(&lf, 0, sizeof(lf));
    if (hBase == NULL || ::GetObject(hBase, sizeof(lf), &lf) == 0)
        return NULL;
    lstrcpyn(lf.lfFaceName, m_sFontFaceName, LF_FACESIZE);
    if (!m_fontCached.CreateFontIndirect(&lf))
        return NULL;
    return (HFONT)m_fontCached.GetSafeHandle();
}

void CExtResourceManager::ApplyFont(HWND hWnd, int nDepth, bool bRedraw)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (hWnd == NULL || !::IsWindow(hWnd))
        return;
    HFONT hFont = GetFont();
    if (hFont != NULL)
        ::SendMessage(hWnd, WM_SETFONT, (WPARAM)hFont, bRedraw ? TRUE : FALSE);
    if (nDepth == 0)
        return;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ApplyFont(hChild, nDepth - 1, bRedraw);
}

HINSTANCE CExtResourceManager::FindResourceLang(LPCTSTR lpszResourceType, LPCTSTR lpszResourceName,
                                                WORD nLangIdDesired, WORD* p_wLangIdOut,
                                                HRSRC* p_hResourceOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    HINSTANCE hInst =
        FindResourceInstance(lpszResourceType, lpszResourceName, nLangIdDesired, p_wLangIdOut, p_hResourceOut);
    if (hInst != NULL)
        return hInst;
    hInst = FrameworkResourceHandle();
    HRSRC hRsrc = ::FindResourceEx(hInst, lpszResourceType, lpszResourceName, nLangIdDesired);
    if (hRsrc == NULL)
        return NULL;
    if (p_wLangIdOut != NULL)
        *p_wLangIdOut = nLangIdDesired;
    if (p_hResourceOut != NULL)
        *p_hResourceOut = hRsrc;
    return hInst;
}

HINSTANCE CExtResourceManager::FindResourceLangPair(LPCTSTR lpszResourceType, LPCTSTR lpszResourceName,
                                                    WORD nLangIdDesired, WORD nLangIdFallback,
                                                    WORD* p_wLangIdOut, HRSRC* p_hResourceOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (p_wLangIdOut != NULL)
        *p_wLangIdOut = GetLangIdDefault();
    if (!IsCustomLangAllowed())
    {
        HINSTANCE hInst = FrameworkResourceHandle();
        HRSRC hRsrc = ::FindResource(hInst, lpszResourceName, lpszResourceType);
        if (hRsrc == NULL)
            return NULL;
        if (p_hResourceOut != NULL)
            *p_hResourceOut = hRsrc;
        return hInst;
    }
    HINSTANCE hInst =
        FindResourceLang(lpszResourceType, lpszResourceName, nLangIdDesired, p_wLangIdOut, p_hResourceOut);
    if (hInst == NULL && nLangIdFallback != nLangIdDesired)
        hInst = FindResourceLang(lpszResourceType, lpszResourceName, nLangIdFallback, p_wLangIdOut,
                                 p_hResourceOut);
    return hInst;
}

HINSTANCE CExtResourceManager::FindResourceHandle(LPCTSTR lpszResourceType, LPCTSTR lpszResourceName,
                                                  WORD* p_wLangIdOut, HRSRC* p_hResourceOut)
{
    return FindResourceLangPair(lpszResourceType, lpszResourceName, GetLangIdDesired(), GetLangIdDefault(),
                                p_wLangIdOut, p_hResourceOut);
}

// One language, looked for exactly as FindResourceLang looks for it.
bool CExtResourceManager::LoadResourceBuffer(CExtResourceMemoryBuffer& buffer, LPCTSTR lpszResourceType,
                                             LPCTSTR lpszResourceName, WORD nLangIdDesired,
                                             WORD* p_wLangIdOut, HINSTANCE* p_hInstOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    buffer.Empty();
    HRSRC hRsrc = NULL;
    HINSTANCE hInst = FindResourceLang(lpszResourceType, lpszResourceName, nLangIdDesired, p_wLangIdOut, &hRsrc);
    if (hInst == NULL || !buffer.FromResource(hInst, hRsrc))
        return false;
    if (p_hInstOut != NULL)
        *p_hInstOut = hInst;
    return true;
}

bool CExtResourceManager::LoadResourceBuffer(CExtResourceMemoryBuffer& buffer, LPCTSTR lpszResourceType,
                                             LPCTSTR lpszResourceName, WORD nLangIdDesired,
                                             WORD nLangIdFallback, WORD* p_wLangIdOut,
                                             HINSTANCE* p_hInstOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    buffer.Empty();
    HRSRC hRsrc = NULL;
    HINSTANCE hInst = FindResourceLangPair(lpszResourceType, lpszResourceName, nLangIdDesired,
                                           nLangIdFallback, p_wLangIdOut, &hRsrc);
    if (hInst == NULL || !buffer.FromResource(hInst, hRsrc))
        return false;
    if (p_hInstOut != NULL)
        *p_hInstOut = hInst;
    return true;
}

bool CExtResourceManager::LoadResourceBuffer(CExtResourceMemoryBuffer& buffer, LPCTSTR lpszResourceType,
                                             LPCTSTR lpszResourceName, WORD* p_wLangIdOut,
                                             HINSTANCE* p_hInstOut)
{
    return LoadResourceBuffer(buffer, lpszResourceType, lpszResourceName, GetLangIdDesired(),
                              GetLangIdDefault(), p_wLangIdOut, p_hInstOut);
}

bool CExtResourceManager::stat_ParseStringBlock(CString& strOut, UINT nID, const BYTE* pData, DWORD nSize)
{
    strOut.Empty();
    if (pData == NULL)
        return false;
    DWORD nPos = 0;
    UINT nSkip = nID % 16;
    for (UINT i = 0;; i++)
    {
        if (nPos > nSize || nSize - nPos < sizeof(WORD))
            return false;
        WORD nLen = (WORD)(pData[nPos] | (pData[nPos + 1] << 8));
        nPos += sizeof(WORD);
        if ((DWORD)nLen * sizeof(WCHAR) > nSize - nPos)
            return false;  // the string would run past the block
        if (i < nSkip)
        {
            nPos += (DWORD)nLen * sizeof(WCHAR);
            continue;
        }
        if (nLen == 0)
            return true;
        WCHAR* pWide = new (std::nothrow) WCHAR[nLen];
        if (pWide == NULL)
            return false;
        memcpy(pWide, pData + nPos, (size_t)nLen * sizeof(WCHAR));  // the block may be unaligned
        int nBytes = ::WideCharToMultiByte(CP_ACP, 0, pWide, nLen, strOut.GetBuffer(nLen), nLen, NULL, NULL);
        strOut.ReleaseBuffer(nBytes > 0 ? nBytes : 0);
        delete[] pWide;
        return true;
    }
}

bool CExtResourceManager::LoadStringLang(CString& strOut, UINT nID, WORD nLangIdDesired,
                                         WORD nLangIdFallback, WORD* p_wLangIdOut, HINSTANCE* p_hInstOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!IsCustomLangAllowed())
    {
        if (p_wLangIdOut != NULL)
            *p_wLangIdOut = GetLangIdDefault();
        HINSTANCE hInst = AfxFindStringResourceHandle(nID);
        if (::FindResource(hInst, MAKEINTRESOURCE((nID >> 4) + 1), RT_STRING) == NULL)
        {
            strOut.Empty();
            return false;
        }
        if (p_hInstOut != NULL)
            *p_hInstOut = hInst;
        if (!strOut.LoadString(hInst, nID))
            strOut.Empty();  // an empty slot of a present block is an empty string
        return true;
    }
    CExtResourceMemoryBuffer buffer;
    if (!LoadResourceBuffer(buffer, RT_STRING, MAKEINTRESOURCE((nID >> 4) + 1), nLangIdDesired,
                            nLangIdFallback, p_wLangIdOut, p_hInstOut))
    {
        strOut.Empty();
        return false;
    }
    return stat_ParseStringBlock(strOut, nID, buffer.GetBuffer(), buffer.GetSize());
}

bool CExtResourceManager::LoadString(CString& strOut, UINT nID, WORD* p_wLangIdOut, HINSTANCE* p_hInstOut)
{
    return LoadStringLang(strOut, nID, GetLangIdDesired(), GetLangIdDefault(), p_wLangIdOut, p_hInstOut);
}

bool CExtResourceManager::LoadMenuLangPair(CMenu& menu, UINT nResourceID, WORD nLangIdDesired,
                                           WORD nLangIdFallback, WORD* p_wLangIdOut, HINSTANCE* p_hInstOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (menu.GetSafeHmenu() != NULL)
        menu.DestroyMenu();
    if (!IsCustomLangAllowed())
    {
        if (p_wLangIdOut != NULL)
            *p_wLangIdOut = GetLangIdDefault();
        HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE(nResourceID), RT_MENU);
        HMENU hMenu = ::LoadMenu(hInst, MAKEINTRESOURCE(nResourceID));
        if (hMenu == NULL)
            return false;
        menu.Attach(hMenu);
        if (p_hInstOut != NULL)
            *p_hInstOut = hInst;
        return true;
    }
    CExtResourceMemoryBuffer buffer;
    if (!LoadResourceBuffer(buffer, RT_MENU, MAKEINTRESOURCE(nResourceID), nLangIdDesired, nLangIdFallback,
                            p_wLangIdOut, p_hInstOut) ||
        buffer.IsEmpty())
        return false;
    HMENU hMenu = ::LoadMenuIndirect(buffer.GetBuffer());
    if (hMenu == NULL)
        return false;
    menu.Attach(hMenu);
    return true;
}

bool CExtResourceManager::LoadMenu(CMenu& menu, UINT nResourceID, WORD* p_wLangIdOut, HINSTANCE* p_hInstOut)
{
    return LoadMenuLangPair(menu, nResourceID, GetLangIdDesired(), GetLangIdDefault(), p_wLangIdOut,
                            p_hInstOut);
}

bool CExtResourceManager::LoadMenu(CMenu& menu, LPCTSTR lpszResourceName, WORD* p_wLangIdOut,
                                   HINSTANCE* p_hInstOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (IS_INTRESOURCE(lpszResourceName))
        return LoadMenu(menu, (UINT)(UINT_PTR)lpszResourceName, p_wLangIdOut, p_hInstOut);
    if (menu.GetSafeHmenu() != NULL)
        menu.DestroyMenu();
    if (!IsCustomLangAllowed())
    {
        if (p_wLangIdOut != NULL)
            *p_wLangIdOut = GetLangIdDefault();
        HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_MENU);
        HMENU hMenu = ::LoadMenu(hInst, lpszResourceName);
        if (hMenu == NULL)
            return false;
        menu.Attach(hMenu);
        if (p_hInstOut != NULL)
            *p_hInstOut = hInst;
        return true;
    }
    CExtResourceMemoryBuffer buffer;
    if (!LoadResourceBuffer(buffer, RT_MENU, lpszResourceName, p_wLangIdOut, p_hInstOut) || buffer.IsEmpty())
        return false;
    HMENU hMenu = ::LoadMenuIndirect(buffer.GetBuffer());
    if (hMenu == NULL)
        return false;
    menu.Attach(hMenu);
    return true;
}

HACCEL CExtResourceManager::stat_CreateAccelTable(const BYTE* pData, DWORD nSize)
{
    DWORD nCount = nSize / 8;
    if (pData == NULL || nCount == 0)
        return NULL;
    ACCEL* pAccel = new (std::nothrow) ACCEL[nCount];
    if (pAccel == NULL)
        return NULL;
    for (DWORD i = 0; i < nCount; i++)
    {
        const BYTE* p = pData + i * 8;
        WORD wFlags = (WORD)(p[0] | (p[1] << 8));
        pAccel[i].fVirt = (BYTE)(wFlags & 0xFF);
        pAccel[i].key = (WORD)(p[2] | (p[3] << 8));
        pAccel[i].cmd = (WORD)(p[4] | (p[5] << 8));
    }
    HACCEL hAccel = ::CreateAcceleratorTable(pAccel, (int)nCount);
    delete[] pAccel;
    return hAccel;
}

HACCEL CExtResourceManager::LoadAcceleratorsLangPair(LPCTSTR lpszResourceName, WORD nLangIdDesired,
                                                     WORD nLangIdFallback, WORD* p_wLangIdOut,
                                                     HINSTANCE* p_hInstOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!IsCustomLangAllowed())
    {
        if (p_wLangIdOut != NULL)
            *p_wLangIdOut = GetLangIdDefault();
        HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR);
        HACCEL hAccel = ::LoadAccelerators(hInst, lpszResourceName);
        if (hAccel != NULL && p_hInstOut != NULL)
            *p_hInstOut = hInst;
        return hAccel;
    }
    CExtResourceMemoryBuffer buffer;
    if (!LoadResourceBuffer(buffer, RT_ACCELERATOR, lpszResourceName, nLangIdDesired, nLangIdFallback,
                            p_wLangIdOut, p_hInstOut))
        return NULL;
    return stat_CreateAccelTable(buffer.GetBuffer(), buffer.GetSize());
}

HACCEL CExtResourceManager::LoadAccelerators(UINT nResourceID, WORD* p_wLangIdOut, HINSTANCE* p_hInstOut)
{
    return LoadAccelerators(MAKEINTRESOURCE(nResourceID), p_wLangIdOut, p_hInstOut);
}

HACCEL CExtResourceManager::LoadAccelerators(LPCTSTR lpszResourceName, WORD* p_wLangIdOut, HINSTANCE* p_hInstOut)
{
    return LoadAcceleratorsLangPair(lpszResourceName, GetLangIdDesired(), GetLangIdDefault(), p_wLangIdOut,
                                    p_hInstOut);
}

bool CExtResourceManager::LoadBitmapLangPair(CExtBitmap& bmp, LPCTSTR lpszResourceName, WORD nLangIdDesired,
                                             WORD nLangIdFallback, WORD* p_wLangIdOut, HINSTANCE* p_hInstOut)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    bmp.Empty();
    if (!IsCustomLangAllowed())
    {
        if (p_wLangIdOut != NULL)
            *p_wLangIdOut = GetLangIdDefault();
        HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
        HBITMAP hBitmap = ::LoadBitmap(hInst, lpszResourceName);
        if (hBitmap == NULL)
            return false;
        bmp.AssignFromHBITMAP(hBitmap);
        ::DeleteObject(hBitmap);
        if (bmp.IsEmpty())
            return false;
        if (p_hInstOut != NULL)
            *p_hInstOut = hInst;
        return true;
    }
    HRSRC hRsrc = NULL;
    HINSTANCE hInst = FindResourceLangPair(RT_BITMAP, lpszResourceName, nLangIdDesired, nLangIdFallback,
                                           p_wLangIdOut, &hRsrc);
    if (hInst == NULL)
        return false;
    bmp.LoadFromResource(hInst, hRsrc);
    if (bmp.IsEmpty())
        return false;
    if (p_hInstOut != NULL)
        *p_hInstOut = hInst;
    return true;
}

bool CExtResourceManager::LoadBitmap(CExtBitmap& bmp, UINT nResourceID, WORD* p_wLangIdOut, HINSTANCE* p_hInstOut)
{
    return LoadBitmap(bmp, MAKEINTRESOURCE(nResourceID), p_wLangIdOut, p_hInstOut);
}

bool CExtResourceManager::LoadBitmap(CExtBitmap& bmp, LPCTSTR lpszResourceName, WORD* p_wLangIdOut,
                                     HINSTANCE* p_hInstOut)
{
    return LoadBitmapLangPair(bmp, lpszResourceName, GetLangIdDesired(), GetLangIdDefault(), p_wLangIdOut,
                              p_hInstOut);
}

// ---- dialog init data ----------------------------------------------------------------

bool CExtResourceManager::stat_ExecuteDlgInitData(HWND hWndDlg, const BYTE* pData, DWORD nSize)
{
    if (pData == NULL || nSize == 0)
        return true;
    DWORD nPos = 0;
    bool bOK = true;
    while (nSize - nPos >= sizeof(WORD))
    {
        WORD nIDC = (WORD)(pData[nPos] | (pData[nPos + 1] << 8));
        if (nIDC == 0)
            break;
        if (nSize - nPos < 8)
        {
            bOK = false;  // a record header cut short
            break;
        }
        WORD nMsg = (WORD)(pData[nPos + 2] | (pData[nPos + 3] << 8));
        DWORD nLen = (DWORD)pData[nPos + 4] | ((DWORD)pData[nPos + 5] << 8) | ((DWORD)pData[nPos + 6] << 16) |
                     ((DWORD)pData[nPos + 7] << 24);
        nPos += 8;
        if (nLen > nSize - nPos)
        {
            bOK = false;  // the record claims more than the resource holds
            break;
        }
        // The text is copied so that it ends with a terminator even when the record's
        // own bytes do not.
        CString sText;
        if (nLen > 0)
        {
            DWORD nTextLen = 0;
            while (nTextLen < nLen && pData[nPos + nTextLen] != 0)
                nTextLen++;
            memcpy(sText.GetBuffer((int)nTextLen), pData + nPos, nTextLen);
            sText.ReleaseBuffer((int)nTextLen);
        }
        nPos += nLen;

        UINT nSendMsg = 0;
        switch (nMsg)
        {
        case 0x0401: nSendMsg = LB_ADDSTRING; break;
        case 0x0403: nSendMsg = CB_ADDSTRING; break;
        case LB_ADDSTRING: nSendMsg = LB_ADDSTRING; break;
        case CB_ADDSTRING: nSendMsg = CB_ADDSTRING; break;
        case 0x1234: nSendMsg = CBEM_INSERTITEMA; break;
        default: continue;
        }
        HWND hWndItem = ::GetDlgItem(hWndDlg, nIDC);
        LRESULT lResult;
        if (nSendMsg == CBEM_INSERTITEMA)
        {
            COMBOBOXEXITEMA item;
            memset(&item, 0, sizeof(item));
            item.mask = CBEIF_TEXT;
            item.iItem = -1;
            item.pszText = sText.GetBuffer(0);
            lResult = ::SendMessage(hWndItem, nSendMsg, 0, (LPARAM)&item);
            sText.ReleaseBuffer();
        }
        else
            lResult = ::SendMessage(hWndItem, nSendMsg, 0, (LPARAM)(LPCTSTR)sText);
        if (lResult == -1)
        {
            bOK = false;
            break;
        }
    }
    if (bOK)
        ::EnumChildWindows(hWndDlg, SendInitialUpdateProc, 0);
    return bOK;
}

bool CExtResourceManager::ExecuteDlgInit(HWND hWndDlg, LPCTSTR lpszTemplateName)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (lpszTemplateName == NULL)
        return true;
    HRSRC hRsrc = NULL;
    HINSTANCE hInst = FindResourceHandle(kRtDlgInit, lpszTemplateName, NULL, &hRsrc);
    if (hInst == NULL || hRsrc == NULL)
        return stat_ExecuteDlgInitData(hWndDlg, NULL, 0);
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = (hGlobal != NULL) ? (const BYTE*)::LockResource(hGlobal) : NULL;
    DWORD nSize = (pData != NULL) ? ::SizeofResource(hInst, hRsrc) : 0;
    return stat_ExecuteDlgInitData(hWndDlg, pData, nSize);
}

// ---- the holder ----------------------------------------------------------------------

CExtResourceManagerHolder::CExtResourceManagerHolder() : m_pResourceManager(NULL) {}

CExtResourceManagerHolder::~CExtResourceManagerHolder()
{
    delete m_pResourceManager;
    m_pResourceManager = NULL;
}

CExtResourceManager* CExtResourceManagerHolder::operator->()
{
    if (m_pResourceManager == NULL)
        InstallResourceManager(NULL);
    return m_pResourceManager;
}

void CExtResourceManagerHolder::InstallResourceManager(CExtResourceManager* pNewResourceManager)
{
    // Installing the manager that is already current keeps it: deleting it first would
    // leave the holder with a freed object.
    if (pNewResourceManager != NULL && pNewResourceManager == m_pResourceManager)
        return;
    delete m_pResourceManager;
    m_pResourceManager = (pNewResourceManager != NULL) ? pNewResourceManager
                                                       : new CExtResourceManager(false, 1033, DWORD(-1));
}

CExtResourceManagerHolder g_CurrentResourceManager;
