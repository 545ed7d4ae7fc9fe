#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_profile.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/core/cmd_icon.h"

BYTE g_bDisableCmdIfNoHandler = TRUE;

bool CExtCmdItem::stat_IsSystemCommand(UINT nCmdID) { return nCmdID >= 0xF000 && nCmdID <= 0xF1EF; }

bool CExtCmdItem::stat_IsFrameworkCommand(UINT nCmdID)
{
    return (nCmdID >= 0xFF00 && nCmdID <= 0xFF09) || (nCmdID >= 0xE110 && nCmdID <= 0xE11F) ||
           stat_IsSystemCommand(nCmdID) || (nCmdID >= 0xE210 && nCmdID <= 0xE21F);
}

CExtCmdItem::CExtCmdItem(UINT nCmdID)
    : m_pProfile(NULL),
      m_nCmdID(nCmdID),
      m_nIconIndex(-1),
      m_dwStateFlags(0),
      m_dwExStateFlags(0),
      m_nLParam(0),
      m_nExtraValue1(100),
      m_nExtraValue2(-2),
      m_nExtraValue3(250),
      m_nUsageTickCount(0)
{
}

CExtCmdItem::CExtCmdItem(const CExtCmdItem& other)
    : m_pProfile(NULL),
      m_nCmdID(UINT(-1)),
      m_nIconIndex(-1),
      m_dwStateFlags(0),
      m_dwExStateFlags(0),
      m_nLParam(0),
      m_nExtraValue1(100),
      m_nExtraValue2(-2),
      m_nExtraValue3(250),
      m_nUsageTickCount(0)
{
    AssignFull(other);
}

CExtCmdItem::~CExtCmdItem() {}

void CExtCmdItem::AssignFull(const CExtCmdItem& other)
{
    if (&other == this)
        return;
    m_pProfile = other.m_pProfile;
    m_nCmdID = other.m_nCmdID;
    m_dwStateFlags = other.m_dwStateFlags;
    m_dwExStateFlags = other.m_dwExStateFlags;
    m_nIconIndex = other.m_nIconIndex;
    m_sMenuText = other.m_sMenuText;
    m_sToolbarText = other.m_sToolbarText;
    m_sTipTool = other.m_sTipTool;
    m_sTipStatus = other.m_sTipStatus;
    m_sAccelText = other.m_sAccelText;
    m_nUsageTickCount = other.m_nUsageTickCount;
    m_nLParam = other.m_nLParam;
    m_nExtraValue1 = other.m_nExtraValue1;
    m_nExtraValue2 = other.m_nExtraValue2;
    m_nExtraValue3 = other.m_nExtraValue3;
}

void CExtCmdItem::AssignNonEmpty(const CExtCmdItem& other)
{
    if (other.m_nIconIndex >= 0)
        m_nIconIndex = other.m_nIconIndex;
    if (!other.m_sMenuText.IsEmpty())
        m_sMenuText = other.m_sMenuText;
    if (!other.m_sToolbarText.IsEmpty())
        m_sToolbarText = other.m_sToolbarText;
    if (!other.m_sTipTool.IsEmpty())
        m_sTipTool = other.m_sTipTool;
    if (!other.m_sTipStatus.IsEmpty())
        m_sTipStatus = other.m_sTipStatus;
    if (!other.m_sAccelText.IsEmpty())
        m_sAccelText = other.m_sAccelText;
}

void CExtCmdItem::AssignEmptyOnly(const CExtCmdItem& other)
{
    if (m_nIconIndex < 0)
        m_nIconIndex = other.m_nIconIndex;
    if (m_sMenuText.IsEmpty())
        m_sMenuText = other.m_sMenuText;
    if (m_sTipTool.IsEmpty())
        m_sTipTool = other.m_sTipTool;
    if (m_sTipStatus.IsEmpty())
        m_sTipStatus = other.m_sTipStatus;
    if (m_sAccelText.IsEmpty())
        m_sAccelText = other.m_sAccelText;
}

void CExtCmdItem::NormalizeUsage()
{
    if (m_pProfile != NULL)
        m_pProfile->NormalizeUsage();
}

void CExtCmdItem::ClearTipAndStatusTexts()
{
    m_sTipTool.Empty();
    m_sTipStatus.Empty();
}

bool CExtCmdItem::LoadTextsFromResource()
{
    ClearTipAndStatusTexts();
    if ((int)m_nCmdID <= 0)
        return false;
    CString sText;
    if (!g_CurrentResourceManager->LoadString(sText, m_nCmdID))
        return false;
    sText.Replace('\t', ' ');
    sText.Remove('\r');
    sText.Trim();
    if (sText.IsEmpty())
        return false;
    int nPos = sText.Find('\n');
    if (nPos < 0)
    {
        m_sTipStatus = sText;
        return true;
    }
    m_sTipTool = sText.Mid(nPos);
    m_sTipTool.Trim();
    m_sTipStatus = sText.Left(nPos);
    m_sTipStatus.Trim();
    return true;
}

DWORD CExtCmdItem::SetPlainBit(DWORD dwBit, bool bOn)
{
    if (bOn)
        m_dwStateFlags |= dwBit;
    else
        m_dwStateFlags &= ~dwBit;
    return m_dwStateFlags;
}

DWORD CExtCmdItem::SetGroupBits(DWORD dwMask, DWORD dwBits, bool bOn)
{
    m_dwStateFlags &= ~dwMask;
    if (bOn)
        m_dwStateFlags |= dwBits;
    return m_dwStateFlags;
}

DWORD CExtCmdItem::SetCheckGroupBit(DWORD dwBit, bool bOn) { return SetGroupBits(STATE_CHECK_MASK, dwBit, bOn); }

DWORD CExtCmdItem::SetBasicCommand(bool bOn) { return SetPlainBit(STATE_BASICCMDPROP, bOn); }

bool CExtCmdItem::IsBasicCommand() const
{
    return stat_IsFrameworkCommand(m_nCmdID) || (m_dwStateFlags & STATE_BASICCMDPROP) != 0;
}

// Menus hide rarely used commands until expanded. A command that is never counted could
// never leave that state, and on a fresh profile every command would be hidden, so both
// always show.
bool CExtCmdItem::IsRarelyUsed() const
{
    if (IsBasicCommand() || IsNoUsageCount())
        return false;
    if (GetProfileUsageTotal() == 0)
        return false;  // nothing was counted yet: nothing is rare
    return GetUsagePercent() < GetRarelyUsedThreshold();
}

DWORD CExtCmdItem::SetNoUsageCount(bool bOn) { return SetPlainBit(STATE_FORCE_NO_USAGE_COUNT, bOn); }

bool CExtCmdItem::IsNoUsageCount() const
{
    if (stat_IsFrameworkCommand(m_nCmdID))
        return false;
    return (m_dwStateFlags & STATE_FORCE_NO_USAGE_COUNT) != 0;
}

DWORD CExtCmdItem::Enable(bool bOn) { return SetPlainBit(STATE_DISABLED, !bOn); }
bool CExtCmdItem::IsEnabled() const { return (m_dwStateFlags & STATE_DISABLED) == 0; }
DWORD CExtCmdItem::SetCheck(bool bOn) { return SetCheckGroupBit(STATE_CHECK, bOn); }
bool CExtCmdItem::GetCheck() const { return (m_dwStateFlags & STATE_CHECK) != 0; }
DWORD CExtCmdItem::SetRadio(bool bOn) { return SetCheckGroupBit(STATE_RADIO, bOn); }
bool CExtCmdItem::GetRadio() const { return (m_dwStateFlags & STATE_RADIO) != 0; }
DWORD CExtCmdItem::SetIndeterminate(bool bOn) { return SetCheckGroupBit(STATE_INDETERMINATE, bOn); }
bool CExtCmdItem::GetIndeterminate() const { return (m_dwStateFlags & STATE_INDETERMINATE) != 0; }

DWORD CExtCmdItem::SetStateBit6(bool bOn) { return SetPlainBit(0x00000040, bOn); }
bool CExtCmdItem::GetStateBit6() const { return (m_dwStateFlags & 0x00000040) != 0; }

DWORD CExtCmdItem::SetStateBit7(bool bOn) { return SetPlainBit(0x00000080, bOn); }
bool CExtCmdItem::GetStateBit7() const { return (m_dwStateFlags & 0x00000080) != 0; }

DWORD CExtCmdItem::SetStateBit8(bool bOn) { return SetPlainBit(0x00000100, bOn); }
bool CExtCmdItem::GetStateBit8() const { return (m_dwStateFlags & 0x00000100) != 0; }

DWORD CExtCmdItem::SetStateBit9(bool bOn) { return SetPlainBit(0x00000200, bOn); }
bool CExtCmdItem::GetStateBit9() const { return (m_dwStateFlags & 0x00000200) != 0; }

DWORD CExtCmdItem::SetStateBit10(bool bOn) { return SetGroupBits(STATE_MODE_MASK, 0x00000400, bOn); }
bool CExtCmdItem::GetStateBit10() const { return (m_dwStateFlags & 0x00000400) != 0; }

DWORD CExtCmdItem::SetStateBit11(bool bOn) { return SetPlainBit(0x00000800, bOn); }
bool CExtCmdItem::GetStateBit11() const { return (m_dwStateFlags & 0x00000800) != 0; }

DWORD CExtCmdItem::SetStateBits10And12(bool bOn) { return SetGroupBits(STATE_MODE_MASK, 0x1400, bOn); }
bool CExtCmdItem::GetStateBits10And12() const { return (m_dwStateFlags & 0x1400) == 0x1400; }

DWORD CExtCmdItem::SetStateBits10And28(bool bOn) { return SetGroupBits(STATE_MODE_MASK, 0x10000400, bOn); }
bool CExtCmdItem::GetStateBits10And28() const { return (m_dwStateFlags & 0x10000400) == 0x10000400; }

DWORD CExtCmdItem::SetStateBit13(bool bOn) { return SetPlainBit(0x00002000, bOn); }
bool CExtCmdItem::GetStateBit13() const { return (m_dwStateFlags & 0x00002000) != 0; }

DWORD CExtCmdItem::SetStateBit14(bool bOn) { return SetPlainBit(0x00004000, bOn); }
bool CExtCmdItem::GetStateBit14() const { return (m_dwStateFlags & 0x00004000) != 0; }

DWORD CExtCmdItem::SetStateBit29(bool bOn) { return SetPlainBit(0x20000000, bOn); }
bool CExtCmdItem::GetStateBit29() const { return (m_dwStateFlags & 0x20000000) != 0; }

DWORD CExtCmdItem::SetStateBit15(bool bOn) { return SetPlainBit(0x00008000, bOn); }
bool CExtCmdItem::GetStateBit15() const { return (m_dwStateFlags & 0x00008000) != 0; }

DWORD CExtCmdItem::SetStateBit16(bool bOn) { return SetPlainBit(0x00010000, bOn); }
bool CExtCmdItem::GetStateBit16() const { return (m_dwStateFlags & 0x00010000) != 0; }

DWORD CExtCmdItem::SetStateBit17(bool bOn) { return SetPlainBit(0x00020000, bOn); }
bool CExtCmdItem::GetStateBit17() const { return (m_dwStateFlags & 0x00020000) != 0; }

DWORD CExtCmdItem::SetStateBit18(bool bOn) { return SetPlainBit(0x00040000, bOn); }
bool CExtCmdItem::GetStateBit18() const { return (m_dwStateFlags & 0x00040000) != 0; }

DWORD CExtCmdItem::SetStateBit19(bool bOn) { return SetPlainBit(0x00080000, bOn); }
bool CExtCmdItem::GetStateBit19() const { return (m_dwStateFlags & 0x00080000) != 0; }

DWORD CExtCmdItem::SetStateBit20(bool bOn) { return SetPlainBit(0x00100000, bOn); }
bool CExtCmdItem::GetStateBit20() const { return (m_dwStateFlags & 0x00100000) != 0; }

DWORD CExtCmdItem::SetStateBit21(bool bOn) { return SetPlainBit(0x00200000, bOn); }
bool CExtCmdItem::GetStateBit21() const { return (m_dwStateFlags & 0x00200000) != 0; }

DWORD CExtCmdItem::SetExStateBit0(bool bOn)
{
    if (bOn)
        m_dwExStateFlags |= 0x1;
    else
        m_dwExStateFlags &= ~DWORD(0x1);
    return m_dwExStateFlags;
}

bool CExtCmdItem::GetExStateBit0() const { return (m_dwExStateFlags & 0x1) != 0; }

bool CExtCmdItem::DoUpdateCmdUI(CCmdTarget* pTarget, UINT nIndex)
{
    CExtCmdItemUI cmdUI(this, nIndex);
    if (stat_IsSystemCommand(m_nCmdID) || (m_nCmdID >= 0xFF00 && m_nCmdID <= 0xFF09))
    {
        cmdUI.Enable(TRUE);
        return true;
    }
    return cmdUI.DoUpdate(pTarget, g_bDisableCmdIfNoHandler ? TRUE : FALSE) != FALSE;
}

bool CExtCmdItem::DeliverToOwner(CWnd* pWnd, bool bSend)
{
    HWND hWnd = (pWnd != NULL) ? pWnd->GetSafeHwnd() : NULL;
    if (hWnd == NULL)
        return false;
    HWND hWndTarget = ::GetWindow(hWnd, GW_OWNER);
    if (hWndTarget == NULL)
        hWndTarget = ::GetParent(hWnd);
    return Deliver(hWndTarget, bSend);
}

bool CExtCmdItem::Deliver(CWnd* pWnd, bool bSend)
{
    return Deliver((pWnd != NULL) ? pWnd->GetSafeHwnd() : (HWND)NULL, bSend);
}

bool CExtCmdItem::Deliver(HWND hWnd, bool bSend)
{
    if (hWnd == NULL)
        return false;
    IncrementUsage();
    UINT nMsg = WM_COMMAND;
    WPARAM wParam = (WPARAM)m_nCmdID;
    LPARAM lParam = 0;
    if (stat_IsSystemCommand(m_nCmdID))
    {
        nMsg = WM_SYSCOMMAND;
        POINT pt = {0, 0};
        ::GetCursorPos(&pt);
        lParam = MAKELPARAM(pt.x, pt.y);
    }
    if (bSend)
        return ::SendMessage(hWnd, nMsg, wParam, lParam) != 0;
    return ::PostMessage(hWnd, nMsg, wParam, lParam) != FALSE;
}

UINT CExtCmdItem::GetUsageCount() const { return m_nUsageTickCount; }

UINT CExtCmdItem::GetUsagePercent() const
{
    UINT nTotal = GetProfileUsageTotal();
    if (nTotal == 0)
        return 0;
    // In 64 bits: a counter above 42,949,672 would overflow count * 100 in 32.
    return (UINT)(((ULONGLONG)m_nUsageTickCount * 100ULL) / (ULONGLONG)nTotal);
}

void CExtCmdItem::IncrementUsage()
{
    if (IsBasicCommand() || IsNoUsageCount())
        return;
    m_nUsageTickCount++;
    if (m_pProfile != NULL)
        m_pProfile->m_nTotalTickCount++;
    NormalizeUsage();
}

void CExtCmdItem::ResetUsage()
{
    if (IsBasicCommand())
        return;
    if (!IsNoUsageCount())
        m_nUsageTickCount = 0;
}

UINT CExtCmdItem::GetProfileUsageTotal() const
{
    return (m_pProfile != NULL) ? m_pProfile->m_nTotalTickCount : 0;
}

UINT CExtCmdItem::GetRarelyUsedThreshold() const
{
    return (m_pProfile != NULL) ? m_pProfile->m_nRarelyUsedPercent : 0;
}

UINT CExtCmdItem::SetRarelyUsedThreshold(UINT nRarelyUsedPercent)
{
    if (nRarelyUsedPercent > 100)
        nRarelyUsedPercent = 100;
    if (m_pProfile != NULL)
        m_pProfile->m_nRarelyUsedPercent = nRarelyUsedPercent;
    return nRarelyUsedPercent;
}

CExtCmdIcon* CExtCmdItem::GetIconPtr() const
{
    return (m_pProfile != NULL) ? m_pProfile->CmdGetIconPtr(m_nCmdID) : NULL;
}

// The theme and system changes concern only the item's icon.
void CExtCmdItem::OnPaintManagerChanged(CExtPaintManager*)
{
    CExtCmdIcon* pIcon = GetIconPtr();
    if (pIcon != NULL)
        pIcon->OnPaintManagerChanged();
}

void CExtCmdItem::OnSysColorChange(CExtPaintManager* pPM)
{
    CExtCmdIcon* pIcon = GetIconPtr();
    if (pIcon != NULL)
        pIcon->SyncStateImages(pPM);
}

void CExtCmdItem::OnSettingChange(CExtPaintManager* pPM, UINT uFlags, LPCTSTR lpszSection)
{
    CExtCmdIcon* pIcon = GetIconPtr();
    if (pIcon != NULL)
        pIcon->OnSettingChange(pPM, uFlags, lpszSection);
}

void CExtCmdItem::OnDisplayChange(CExtPaintManager* pPM, INT nDepthBPP, INT cx, INT cy)
{
    CExtCmdIcon* pIcon = GetIconPtr();
    if (pIcon != NULL)
        pIcon->OnDisplayChange(pPM, nDepthBPP, CPoint(cx, cy));
}

void CExtCmdItem::OnThemeChanged(CExtPaintManager* pPM, WPARAM wParam, LPARAM lParam)
{
    CExtCmdIcon* pIcon = GetIconPtr();
    if (pIcon != NULL)
        pIcon->OnThemeChanged(pPM, wParam, lParam);
}

CString CExtCmdItem::GetDisplayText() const
{
    CString s;
    GetDisplayText(s);
    return s;
}

void CExtCmdItem::GetDisplayText(CString& strOut) const
{
    if (!m_sMenuText.IsEmpty())
        strOut = m_sMenuText;
    else if (!m_sTipTool.IsEmpty())
        strOut = m_sTipTool;
    else
        strOut = m_sToolbarText;
}

void CExtCmdItem::GetStatusText(CString& strOut) const { strOut = m_sTipStatus; }

bool CExtCmdItem::IsUsageCounted() const
{
    if (IsBasicCommand() || IsNoUsageCount())
        return false;
    if ((m_dwStateFlags & STATE_NOT_COUNTED) != 0 || stat_IsSystemCommand(m_nCmdID))
        return false;
    return m_nUsageTickCount != 0;
}

// ---- the command-update object -------------------------------------------------------

CExtCmdItemUI::CExtCmdItemUI(CExtCmdItem* pCmd, UINT nIndex) : m_pCmd(pCmd)
{
    m_nID = (pCmd != NULL) ? pCmd->m_nCmdID : 0;
    m_nIndex = nIndex;
}

void CExtCmdItemUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    if (m_pCmd != NULL)
        m_pCmd->Enable(bOn != FALSE);
}

void CExtCmdItemUI::SetCheck(int nCheck)
{
    if (m_pCmd == NULL)
        return;
    if (nCheck == 0 || nCheck == 1)
        m_pCmd->SetCheck(nCheck != 0);
    else
        m_pCmd->SetIndeterminate(true);
}

void CExtCmdItemUI::SetRadio(BOOL bOn)
{
    if (m_pCmd != NULL)
        m_pCmd->SetRadio(bOn != FALSE);
}

void CExtCmdItemUI::SetText(LPCTSTR lpszText)
{
    if (m_pCmd != NULL)
        m_pCmd->m_sMenuText = (lpszText != NULL) ? lpszText : "";
}
