// The resource manager and its global holder g_CurrentResourceManager: where the
// toolkit and the application load strings, menus, accelerator tables, bitmaps and
// dialog init data, in which language and from which modules, whether windows are laid
// out right to left, and the locale-dependent formatting.
//
// Every parser here is bounded by the size of the resource it reads: a string block, an
// accelerator table or a dialog-init record that claims more bytes than the resource
// holds is a failure, never a read past its end.
#pragma once
#include "framework/framework.h"

class CExtBitmap;

// A heap copy of a located resource's bytes (empty: NULL and 0).
class CExtResourceMemoryBuffer
{
public:
    CExtResourceMemoryBuffer();
    ~CExtResourceMemoryBuffer();

    bool IsEmpty() const { return m_pBuffer == NULL; }
    void Empty();
    // Copies the located resource; a size of 0 leaves the buffer empty and succeeds.
    bool FromResource(HINSTANCE hInst, HRSRC hRsrc);
    bool Alloc(DWORD nSize);
    LPBYTE GetBuffer() const { return m_pBuffer; }
    DWORD GetSize() const { return m_nSize; }

private:
    LPBYTE m_pBuffer;
    DWORD m_nSize;

    CExtResourceMemoryBuffer(const CExtResourceMemoryBuffer&) = delete;
    CExtResourceMemoryBuffer& operator=(const CExtResourceMemoryBuffer&) = delete;
};

class CExtResourceManager
{
public:
    // An extra module searched before the framework's resource module.
    class RscInstEntry
    {
    public:
        explicit RscInstEntry(HINSTANCE hInst = NULL, bool bFreeInstance = false)
            : m_hInstance(hInst), m_bFreeInstance(bFreeInstance) {}
        virtual ~RscInstEntry()
        {
            if (m_bFreeInstance && m_hInstance != NULL)
                ::FreeLibrary(m_hInstance);
        }
        HINSTANCE GetInstance() const { return m_hInstance; }
        bool IsEmpty() const { return m_hInstance == NULL; }

    protected:
        HINSTANCE m_hInstance;
        bool m_bFreeInstance;
    };

    CExtResourceManager(bool bAllowCustomLang = false, WORD nLangIdDesired = 1033,
                        DWORD nLangLayout = DWORD(-1));

    virtual ~CExtResourceManager();
    // A hook for dialog templates before a dialog is created from them; the base
    // changes nothing and answers 0.
    virtual INT_PTR OnAdjustDialogTemplate(LPCVOID lpDialogTemplate, HWND hWndParent, bool bWizard);
    virtual bool IsCustomLangAllowed() const;
    virtual bool AllowCustomLang(bool bAllow = true);  // true when the value changed
    virtual DWORD GetLangLayout() const;
    virtual DWORD GetLangLayoutSetting() const;
    virtual DWORD SetLangLayout(DWORD nLangLayout);  // answers the previous value
    virtual WORD GetLangIdDesired() const;
    virtual WORD SetLangIdDesired(WORD nLangIdDesired);
    virtual WORD GetLangIdDefault() const;
    virtual int GetLocaleInfo(LCTYPE LCType, LPTSTR lpLCData, int cchData);
    virtual int GetTimeFormat(DWORD dwFlags, const SYSTEMTIME* lpTime, LPCTSTR lpFormat,
                              LPTSTR lpTimeStr, int cchTime);
    virtual int GetDateFormat(DWORD dwFlags, const SYSTEMTIME* lpDate, LPCTSTR lpFormat,
                              LPTSTR lpDateStr, int cchDate);
    virtual int GetNumberFormat(DWORD dwFlags, LPCTSTR lpValue, const NUMBERFMT* lpFormat,
                                LPTSTR lpNumberStr, int cchNumber);
    virtual int GetCurrencyFormat(DWORD dwFlags, LPCTSTR lpValue, const CURRENCYFMT* lpFormat,
                                  LPTSTR lpCurrencyStr, int cchCurrency);
    virtual bool FindResourceInstanceBuffer(CExtResourceMemoryBuffer& buffer, LPCTSTR lpszResourceType,
                                            LPCTSTR lpszResourceName, WORD nLangIdDesired,
                                            WORD* p_wLangIdOut = NULL, HINSTANCE* p_hInstOut = NULL);
    virtual HINSTANCE FindResourceInstance(LPCTSTR lpszResourceType, LPCTSTR lpszResourceName,
                                           WORD nLangIdDesired, WORD* p_wLangIdOut = NULL,
                                           HRSRC* p_hResourceOut = NULL);
    virtual LPCTSTR GetFontFaceName();  // NULL when none is set
    virtual void SetFontFaceName(LPCTSTR sFontFaceName = NULL);  // empty or NULL clears
    virtual HFONT GetFont();
    virtual void ApplyFont(HWND hWnd, int nDepth = -1, bool bRedraw = true);
    virtual HINSTANCE FindResourceLang(LPCTSTR lpszResourceType, LPCTSTR lpszResourceName,
                                       WORD nLangIdDesired, WORD* p_wLangIdOut = NULL,
                                       HRSRC* p_hResourceOut = NULL);
    virtual HINSTANCE FindResourceLangPair(LPCTSTR lpszResourceType, LPCTSTR lpszResourceName,
                                           WORD nLangIdDesired, WORD nLangIdFallback,
                                           WORD* p_wLangIdOut = NULL, HRSRC* p_hResourceOut = NULL);
    virtual HINSTANCE FindResourceHandle(LPCTSTR lpszResourceType, LPCTSTR lpszResourceName,
                                         WORD* p_wLangIdOut = NULL, HRSRC* p_hResourceOut = NULL);
    virtual bool LoadResourceBuffer(CExtResourceMemoryBuffer& buffer, LPCTSTR lpszResourceType,
                                    LPCTSTR lpszResourceName, WORD nLangIdDesired,
                                    WORD* p_wLangIdOut = NULL, HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadResourceBuffer(CExtResourceMemoryBuffer& buffer, LPCTSTR lpszResourceType,
                                    LPCTSTR lpszResourceName, WORD nLangIdDesired,
                                    WORD nLangIdFallback, WORD* p_wLangIdOut = NULL,
                                    HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadResourceBuffer(CExtResourceMemoryBuffer& buffer, LPCTSTR lpszResourceType,
                                    LPCTSTR lpszResourceName, WORD* p_wLangIdOut = NULL,
                                    HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadStringLang(CString& strOut, UINT nID, WORD nLangIdDesired, WORD nLangIdFallback,
                                WORD* p_wLangIdOut = NULL, HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadString(CString& strOut, UINT nID, WORD* p_wLangIdOut = NULL,
                            HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadMenuLangPair(CMenu& menu, UINT nResourceID, WORD nLangIdDesired,
                                  WORD nLangIdFallback, WORD* p_wLangIdOut = NULL,
                                  HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadMenu(CMenu& menu, UINT nResourceID, WORD* p_wLangIdOut = NULL,
                          HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadMenu(CMenu& menu, LPCTSTR lpszResourceName, WORD* p_wLangIdOut = NULL,
                          HINSTANCE* p_hInstOut = NULL);
    virtual HACCEL LoadAcceleratorsLangPair(LPCTSTR lpszResourceName, WORD nLangIdDesired,
                                            WORD nLangIdFallback, WORD* p_wLangIdOut = NULL,
                                            HINSTANCE* p_hInstOut = NULL);
    virtual HACCEL LoadAccelerators(UINT nResourceID, WORD* p_wLangIdOut = NULL,
                                    HINSTANCE* p_hInstOut = NULL);
    virtual HACCEL LoadAccelerators(LPCTSTR lpszResourceName, WORD* p_wLangIdOut = NULL,
                                    HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadBitmapLangPair(CExtBitmap& bmp, LPCTSTR lpszResourceName, WORD nLangIdDesired,
                                    WORD nLangIdFallback, WORD* p_wLangIdOut = NULL,
                                    HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadBitmap(CExtBitmap& bmp, UINT nResourceID, WORD* p_wLangIdOut = NULL,
                            HINSTANCE* p_hInstOut = NULL);
    virtual bool LoadBitmap(CExtBitmap& bmp, LPCTSTR lpszResourceName, WORD* p_wLangIdOut = NULL,
                            HINSTANCE* p_hInstOut = NULL);

    // Dialog init data (resource type 240) of the dialog template lpszTemplateName,
    // executed against the dialog hWndDlg. No data counts as success.
    bool ExecuteDlgInit(HWND hWndDlg, LPCTSTR lpszTemplateName);
    // Executes init records held in nSize bytes; a record that overruns them fails.
    static bool stat_ExecuteDlgInitData(HWND hWndDlg, const BYTE* pData, DWORD nSize);

    // The right-to-left language ids.
    static bool stat_IsLangRTL(WORD nLangId);
    // The string (nID mod 16) of a string block, bounded by nSize. false when the block
    // ends before the string does.
    static bool stat_ParseStringBlock(CString& strOut, UINT nID, const BYTE* pData, DWORD nSize);
    // An accelerator table from RT_ACCELERATOR bytes; NULL for an empty or odd block.
    static HACCEL stat_CreateAccelTable(const BYTE* pData, DWORD nSize);

    // The theme engine answers the normal font the manager derives its own from; left
    // NULL, the system's GUI font is used.
    typedef HFONT (*PFN_QUERY_BASE_FONT)();
    static PFN_QUERY_BASE_FONT g_pfnQueryBaseFont;

    // The flags byte: bit 0 allows custom languages.
    BYTE m_bAllowCustomLang : 1;
    WORD m_nLangIdDesired;
    DWORD m_nLangLayout;
    CArray<RscInstEntry*, RscInstEntry*> m_arrRscInst;
    CString m_sFontFaceName;
    CFont m_fontCached;

protected:
    HINSTANCE FrameworkResourceHandle() const;

private:
    CExtResourceManager(const CExtResourceManager&) = delete;
    CExtResourceManager& operator=(const CExtResourceManager&) = delete;
};

class CExtResourceManagerHolder
{
public:
    CExtResourceManagerHolder();
    ~CExtResourceManagerHolder();

    // Installs the default manager on first use.
    CExtResourceManager* operator->();
    CExtResourceManager* GetCurrent() { return operator->(); }
    // Takes ownership; NULL installs a default manager.
    void InstallResourceManager(CExtResourceManager* pNewResourceManager);

    CExtResourceManager* m_pResourceManager;

private:
    CExtResourceManagerHolder(const CExtResourceManagerHolder&) = delete;
    CExtResourceManagerHolder& operator=(const CExtResourceManagerHolder&) = delete;
};

extern CExtResourceManagerHolder g_CurrentResourceManager;
