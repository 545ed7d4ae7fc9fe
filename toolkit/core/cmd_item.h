// Command items: everything the toolkit knows about one command id inside one command
// profile (texts, icon index, state bits, usage counter), and the command-update object
// that writes what a command handler reports into an item.
#pragma once
#include "framework/framework.h"

class CExtCmdProfile;
class CExtCmdIcon;
class CExtPaintManager;

// Whether DoUpdateCmdUI disables a command that has no handler at all.
extern BYTE g_bDisableCmdIfNoHandler;

class CExtCmdItem
{
public:
    // State bits of m_dwStateFlags.
    enum e_state_t
    {
        STATE_DISABLED = 0x00000001,
        STATE_CHECK = 0x00000002,
        STATE_RADIO = 0x00000004,
        STATE_INDETERMINATE = 0x00000008,
        STATE_CHECK_MASK = 0x0000000E,
        STATE_BASICCMDPROP = 0x00000010,
        STATE_FORCE_NO_USAGE_COUNT = 0x00000020,
        STATE_NOT_COUNTED = 0x00000040,
        STATE_MODE_MASK = 0x10001400,
    };

    explicit CExtCmdItem(UINT nCmdID = 0);
    CExtCmdItem(const CExtCmdItem& other);

    virtual void AssignFull(const CExtCmdItem& other);
    virtual void AssignNonEmpty(const CExtCmdItem& other);
    virtual void NormalizeUsage();
    virtual ~CExtCmdItem();
    virtual void ClearTipAndStatusTexts();
    virtual bool LoadTextsFromResource();
    virtual void AssignEmptyOnly(const CExtCmdItem& other);
    virtual DWORD SetBasicCommand(bool bOn = true);
    virtual bool IsBasicCommand() const;
    virtual bool IsRarelyUsed() const;
    virtual DWORD SetNoUsageCount(bool bOn = true);
    virtual bool IsNoUsageCount() const;
    virtual DWORD Enable(bool bOn = true);
    virtual bool IsEnabled() const;
    virtual DWORD SetCheck(bool bOn = true);
    virtual bool GetCheck() const;
    virtual DWORD SetRadio(bool bOn = true);
    virtual bool GetRadio() const;
    virtual DWORD SetIndeterminate(bool bOn = true);
    virtual bool GetIndeterminate() const;
    virtual DWORD SetStateBit6(bool bOn = true);
    virtual bool GetStateBit6() const;
    virtual DWORD SetStateBit7(bool bOn = true);
    virtual bool GetStateBit7() const;
    virtual DWORD SetStateBit8(bool bOn = true);
    virtual bool GetStateBit8() const;
    virtual DWORD SetStateBit9(bool bOn = true);
    virtual bool GetStateBit9() const;
    virtual DWORD SetStateBit10(bool bOn = true);
    virtual bool GetStateBit10() const;
    virtual DWORD SetStateBit11(bool bOn = true);
    virtual bool GetStateBit11() const;
    virtual DWORD SetStateBits10And12(bool bOn = true);
    virtual bool GetStateBits10And12() const;
    virtual DWORD SetStateBits10And28(bool bOn = true);
    virtual bool GetStateBits10And28() const;
    virtual DWORD SetStateBit13(bool bOn = true);
    virtual bool GetStateBit13() const;
    virtual DWORD SetStateBit14(bool bOn = true);
    virtual bool GetStateBit14() const;
    virtual DWORD SetStateBit29(bool bOn = true);
    virtual bool GetStateBit29() const;
    virtual DWORD SetStateBit15(bool bOn = true);
    virtual bool GetStateBit15() const;
    virtual DWORD SetStateBit16(bool bOn = true);
    virtual bool GetStateBit16() const;
    virtual DWORD SetStateBit17(bool bOn = true);
    virtual bool GetStateBit17() const;
    virtual DWORD SetStateBit18(bool bOn = true);
    virtual bool GetStateBit18() const;
    virtual DWORD SetStateBit19(bool bOn = true);
    virtual bool GetStateBit19() const;
    virtual DWORD SetStateBit20(bool bOn = true);
    virtual bool GetStateBit20() const;
    virtual DWORD SetStateBit21(bool bOn = true);
    virtual bool GetStateBit21() const;
    virtual DWORD SetExStateBit0(bool bOn = true);
    virtual bool GetExStateBit0() const;
    virtual bool DoUpdateCmdUI(CCmdTarget* pTarget, UINT nIndex = 0);
    virtual bool DeliverToOwner(CWnd* pWnd, bool bSend = false);
    virtual bool Deliver(CWnd* pWnd, bool bSend = false);
    virtual bool Deliver(HWND hWnd, bool bSend = false);
    virtual UINT GetUsageCount() const;
    virtual UINT GetUsagePercent() const;
    virtual void IncrementUsage();
    virtual void ResetUsage();
    virtual UINT GetProfileUsageTotal() const;
    virtual UINT GetRarelyUsedThreshold() const;
    virtual UINT SetRarelyUsedThreshold(UINT nRarelyUsedPercent);
    virtual void OnPaintManagerChanged(CExtPaintManager* pPM);
    virtual void OnSysColorChange(CExtPaintManager* pPM);
    virtual void OnSettingChange(CExtPaintManager* pPM, UINT uFlags, LPCTSTR lpszSection);
    virtual void OnDisplayChange(CExtPaintManager* pPM, INT nDepthBPP, INT cx, INT cy);
    virtual void OnThemeChanged(CExtPaintManager* pPM, WPARAM wParam, LPARAM lParam);
    virtual CString GetDisplayText() const;
    virtual void GetDisplayText(CString& strOut) const;
    virtual void GetStatusText(CString& strOut) const;
    virtual bool IsUsageCounted() const;

    // Ids 0xFF00-0xFF09, 0xE110-0xE11F, 0xF000-0xF1EF and 0xE210-0xE21F.
    static bool stat_IsFrameworkCommand(UINT nCmdID);
    // Ids 0xF000-0xF1EF, delivered as WM_SYSCOMMAND.
    static bool stat_IsSystemCommand(UINT nCmdID);

    CExtCmdProfile* m_pProfile;
    UINT m_nCmdID;
    int m_nIconIndex;
    DWORD m_dwStateFlags;
    DWORD m_dwExStateFlags;
    CString m_sMenuText;
    CString m_sToolbarText;
    CString m_sTipTool;
    CString m_sTipStatus;
    CString m_sAccelText;
    DWORD m_nLParam;
    int m_nExtraValue1;
    int m_nExtraValue2;
    int m_nExtraValue3;
    UINT m_nUsageTickCount;

protected:
    DWORD SetPlainBit(DWORD dwBit, bool bOn);
    DWORD SetCheckGroupBit(DWORD dwBit, bool bOn);
    // Clears the bits of a group (dwMask) that exclude each other, then sets dwBits when bOn.
    DWORD SetGroupBits(DWORD dwMask, DWORD dwBits, bool bOn);
    CExtCmdIcon* GetIconPtr() const;

private:
    CExtCmdItem& operator=(const CExtCmdItem&) = delete;
};

// The command-update object of an item: what a handler reports lands in the item.
class CExtCmdItemUI : public CCmdUI
{
public:
    CExtCmdItemUI(CExtCmdItem* pCmd, UINT nIndex = 0);

    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetRadio(BOOL bOn = TRUE) override;
    void SetText(LPCTSTR lpszText) override;

    CExtCmdItem* m_pCmd;
};
