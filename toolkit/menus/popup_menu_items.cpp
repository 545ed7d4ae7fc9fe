// The item model of the popup menu: the MENUITEMDATA record (texts, access key, icon,
// state and measuring) and the menu's item operations (query, change, insert, remove,
// find). Items are held by value; an item owns its sub-menu.
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/resource_manager.h"

#include <algorithm>

namespace {

// The empty icons ItemGetIcon hands out when there is no icon to give.
CExtCmdIcon& EmptyIconForBadPos()
{
    static CExtCmdIcon g_icon;
    return g_icon;
}
CExtCmdIcon& EmptyIconForNoIcon()
{
    static CExtCmdIcon g_icon;
    return g_icon;
}

// The node flags the item model reads.
const DWORD kNodeColorMenu = 0x8000;
const DWORD kNodeEffectiveIsCommand = 0x40;
const DWORD kNodeUndoRedo = 0x100000;

}  // namespace

// ======================================================================================
// MENUITEMDATA
// ======================================================================================
CExtPopupMenuWnd::MENUITEMDATA::MENUITEMDATA(CExtPopupMenuWnd* pOwner)
    : m_pCmdNode(NULL), m_pPopup(NULL), m_nItemIndex(-100), m_nCmdID(TYPE_SEPARATOR), m_nWidth(0), m_nHeight(0),
      m_rcItemWithIndents(0, 0, 0, 0), m_rcItem(0, 0, 0, 0), m_nIconAreaWidth(0), m_nMarginLeft(-1),
      m_nMarginTop(-1), m_nMarginRight(-1), m_nMarginBottom(-1), m_nLayoutFlags(0), m_nStateFlags(__MIS_ENABLED),
      m_nKindFlags(0), m_pCbItemClick(NULL), m_pCbItemExtra(NULL), m_cAccessKey(0), m_hWndCmdReceiver(NULL),
      m_pWndInplaceEdit(NULL), m_pInplaceEditStr(NULL), m_pCbInplaceEditValidate(NULL), m_pCbInplaceEditCommit(NULL),
      m_pCbInplaceEditDraw(NULL), m_pInplaceEditCookie(NULL), m_nInplaceEditWidth(0), m_nEditFlags(0x01),
      m_dwUserValue(0), m_pOwner(pOwner)
{
}

CExtPopupMenuWnd::MENUITEMDATA::MENUITEMDATA(const MENUITEMDATA& other) { CopyFrom(other); }

CExtPopupMenuWnd::MENUITEMDATA& CExtPopupMenuWnd::MENUITEMDATA::operator=(const MENUITEMDATA& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

// The sub-menu is not freed here: removal frees it, so a copy may outlive its source.
CExtPopupMenuWnd::MENUITEMDATA::~MENUITEMDATA() {}

void CExtPopupMenuWnd::MENUITEMDATA::CopyFrom(const MENUITEMDATA& o)
{
    m_pCmdNode = o.m_pCmdNode;
    m_pPopup = o.m_pPopup;
    m_nItemIndex = o.m_nItemIndex;
    m_nCmdID = o.m_nCmdID;
    m_sText = o.m_sText;
    m_sAccelText = o.m_sAccelText;
    m_sTipText = o.m_sTipText;
    m_icon = o.m_icon;
    m_nWidth = o.m_nWidth;
    m_nHeight = o.m_nHeight;
    m_rcItemWithIndents = o.m_rcItemWithIndents;
    m_rcItem = o.m_rcItem;
    m_nIconAreaWidth = o.m_nIconAreaWidth;
    m_nMarginLeft = o.m_nMarginLeft;
    m_nMarginTop = o.m_nMarginTop;
    m_nMarginRight = o.m_nMarginRight;
    m_nMarginBottom = o.m_nMarginBottom;
    m_nLayoutFlags = o.m_nLayoutFlags;
    m_nStateFlags = o.m_nStateFlags;
    m_nKindFlags = o.m_nKindFlags;
    m_pCbItemClick = o.m_pCbItemClick;
    m_pCbItemExtra = o.m_pCbItemExtra;
    m_cAccessKey = o.m_cAccessKey;
    m_hWndCmdReceiver = o.m_hWndCmdReceiver;
    m_pWndInplaceEdit = o.m_pWndInplaceEdit;
    m_pInplaceEditStr = o.m_pInplaceEditStr;
    m_pCbInplaceEditValidate = o.m_pCbInplaceEditValidate;
    m_pCbInplaceEditCommit = o.m_pCbInplaceEditCommit;
    m_pCbInplaceEditDraw = o.m_pCbInplaceEditDraw;
    m_pInplaceEditCookie = o.m_pInplaceEditCookie;
    m_nInplaceEditWidth = o.m_nInplaceEditWidth;
    m_nEditFlags = o.m_nEditFlags;
    m_sEditText = o.m_sEditText;
    m_dwUserValue = o.m_dwUserValue;
    m_pOwner = o.m_pOwner;
}

LPCTSTR CExtPopupMenuWnd::MENUITEMDATA::GetProfileName() const
{
    return g_CommandManager->ProfileNameFromWnd(m_hWndCmdReceiver);
}

bool CExtPopupMenuWnd::MENUITEMDATA::SetText(LPCTSTR sText)
{
    if (IsSeparator())
        return false;
    m_sText = (sText != NULL) ? sText : _T("");
    return true;
}

bool CExtPopupMenuWnd::MENUITEMDATA::SetAccelText(LPCTSTR sText)
{
    if (IsSeparator())
        return false;
    m_sAccelText = (sText != NULL) ? sText : _T("");
    return true;
}

bool CExtPopupMenuWnd::MENUITEMDATA::SetAccelTextAlways(LPCTSTR sText)
{
    m_sAccelText = (sText != NULL) ? sText : _T("");
    return true;
}

bool CExtPopupMenuWnd::MENUITEMDATA::SetTextWithAccel(LPCTSTR sText)
{
    SetText(sText);
    int nTab = m_sText.Find(_T('\t'));
    if (nTab >= 0)
    {
        CString sAccel = m_sText.Mid(nTab + 1);
        m_sText = m_sText.Left(nTab);
        SetAccelText(sAccel);
    }
    return true;
}

CString CExtPopupMenuWnd::MENUITEMDATA::GetText() const { return IsSeparator() ? CString() : m_sText; }
CString CExtPopupMenuWnd::MENUITEMDATA::GetAccelText() const { return IsSeparator() ? CString() : m_sAccelText; }

bool CExtPopupMenuWnd::MENUITEMDATA::Enable(bool bOn)
{
    if (m_nCmdID == TYPE_SEPARATOR)
        return false;
    bool bOld = (m_nStateFlags & __MIS_ENABLED) != 0;
    if (bOn)
        m_nStateFlags |= __MIS_ENABLED;
    else
        m_nStateFlags &= ~__MIS_ENABLED;
    return bOld;
}

namespace {
bool SetStateBit(BYTE& nFlags, BYTE nBit, bool bOn)
{
    bool bOld = (nFlags & nBit) != 0;
    if (bOn)
        nFlags |= nBit;
    else
        nFlags &= ~nBit;
    return bOld;
}
}  // namespace

bool CExtPopupMenuWnd::MENUITEMDATA::SetCheck(bool bOn) { return SetStateBit(m_nStateFlags, __MIS_CHECKED, bOn); }
bool CExtPopupMenuWnd::MENUITEMDATA::SetRadio(bool bOn) { return SetStateBit(m_nStateFlags, __MIS_RADIO, bOn); }
bool CExtPopupMenuWnd::MENUITEMDATA::SetIndeterminate(bool bOn)
{
    return SetStateBit(m_nStateFlags, __MIS_INDETERMINATE, bOn);
}

bool CExtPopupMenuWnd::MENUITEMDATA::SetIcon(const CExtCmdIcon& icon)
{
    if (!IsPopup() && !IsCustom())
        return false;
    if (icon.IsEmpty())
        m_icon.Empty();
    else
        m_icon = icon;
    return true;
}

CExtCmdIcon* CExtPopupMenuWnd::MENUITEMDATA::GetIcon()
{
    if (IsSeparator())
        return NULL;
    if (!m_icon.IsEmpty())
        return &m_icon;
    if (m_pCmdNode != NULL)
    {
        CExtCmdItem* pCmdItem = NULL;
        LPCTSTR sProfile = GetProfileName();
        if (sProfile != NULL)
            pCmdItem = g_CommandManager->CmdGetPtr(sProfile, m_pCmdNode->GetCmdID(false));
        return m_pCmdNode->GetIconPtrInMenu(pCmdItem, false);
    }
    if (IsPopup())
        return NULL;
    LPCTSTR sProfile = GetProfileName();
    if (sProfile == NULL)
        return NULL;
    return g_CommandManager->CmdGetIconPtr(sProfile, m_nCmdID);
}

CExtCmdItem* CExtPopupMenuWnd::MENUITEMDATA::GetCmdItem() const
{
    if (IsSeparator() || IsCustom())
        return NULL;
    LPCTSTR sProfile = GetProfileName();
    if (m_pCmdNode != NULL)
    {
        DWORD dwNodeFlags = m_pCmdNode->GetFlags();
        if ((dwNodeFlags & (kNodeColorMenu | kNodeEffectiveIsCommand | kNodeUndoRedo)) != 0 || IsInplaceEdit())
        {
            if (sProfile == NULL)
                return NULL;
            bool bEffective = (dwNodeFlags & kNodeEffectiveIsCommand) != 0;
            return g_CommandManager->CmdGetPtr(sProfile, m_pCmdNode->GetCmdID(bEffective));
        }
    }
    if (IsPopup() || sProfile == NULL)
        return NULL;
    return g_CommandManager->CmdGetPtr(sProfile, m_nCmdID);
}

UINT CExtPopupMenuWnd::MENUITEMDATA::GetCmdID() const
{
    if (!IsPopup())
        return m_nCmdID;
    if (m_pCmdNode == NULL)
        return 0;
    DWORD dwNodeFlags = m_pCmdNode->GetFlags();
    if ((dwNodeFlags & kNodeColorMenu) != 0)
        return 0;
    if ((dwNodeFlags & kNodeUndoRedo) != 0)
        return m_pCmdNode->GetCmdID(true);
    if ((dwNodeFlags & kNodeEffectiveIsCommand) == 0)
        return 0;
    LPCTSTR sProfile = GetProfileName();
    CExtCmdItem* pCmdItem = (sProfile != NULL) ? g_CommandManager->CmdGetPtr(sProfile, m_pCmdNode->GetCmdID(true)) : NULL;
    return (pCmdItem != NULL) ? pCmdItem->m_nCmdID : UINT(-1);
}

bool CExtPopupMenuWnd::MENUITEMDATA::IsEnabled() const
{
    if (IsPopup())
    {
        if ((m_nLayoutFlags & __MIF_NEVER_ENABLED) != 0)
            return false;
        if (GetCmdItem() == NULL)
            return true;
    }
    if (IsSeparator())
        return false;
    return (m_nStateFlags & (__MIS_FORCE_ENABLED | __MIS_ENABLED)) != 0;
}

bool CExtPopupMenuWnd::MENUITEMDATA::IsExecutable() const
{
    if (IsSeparator() || IsInplaceEdit())
        return false;
    if (!IsPopup())
        return true;
    if (m_pCmdNode == NULL)
        return false;
    DWORD dwNodeFlags = m_pCmdNode->GetFlags();
    if ((dwNodeFlags & (kNodeColorMenu | kNodeUndoRedo)) != 0 || (dwNodeFlags & kNodeEffectiveIsCommand) == 0)
        return false;
    LPCTSTR sProfile = GetProfileName();
    return sProfile != NULL && g_CommandManager->CmdGetPtr(sProfile, m_pCmdNode->GetCmdID(true)) != NULL;
}

void CExtPopupMenuWnd::MENUITEMDATA::UpdateAccessKey()
{
    m_cAccessKey = 0;
    int nAmp = m_sText.Find(_T('&'));
    if (nAmp < 0 || nAmp == m_sText.GetLength() - 1)
        return;
    TCHAR sKey[2] = {m_sText[nAmp + 1], 0};
    ::CharUpper(sKey);
    m_cAccessKey = sKey[0];
}

void CExtPopupMenuWnd::MENUITEMDATA::MeasureItem(CExtPaintManager* pPM)
{
    if (pPM == NULL)
        pPM = g_CurrentPaintManager.GetPM();
    const bool bPalette = IsPaletteStyle();
    m_nIconAreaWidth = bPalette ? 0 : 16;
    if (IsSeparator())
    {
        m_nWidth = 0;
        m_nHeight = CExtPopupMenuWnd::stat_GetSeparatorHeight(pPM);
        return;
    }
    CExtCmdIcon* pIcon = GetIcon();
    if (pIcon != NULL && pIcon->IsEmpty())
        pIcon = NULL;
    if (pIcon != NULL && (m_nKindFlags & __MIK_ICON_ONLY) != 0)
    {
        m_nWidth = 0;
        m_nHeight = 0;
    }
    else
    {
        UpdateAccessKey();
        CString sMeasure = m_sText;
        if (!IsInplaceEdit() && !bPalette && !m_sAccelText.IsEmpty())
            sMeasure += m_sAccelText;
        sMeasure.Remove(_T('&'));
        CRect rcText(0, 0, 0, 0);
        HDC hDC = ::CreateCompatibleDC(NULL);
        HFONT hFont = NULL;
        if (pPM != NULL)
            hFont = (HFONT)(IsDefault() ? pPM->m_FontBold.GetSafeHandle() : pPM->m_FontNormal.GetSafeHandle());
        if (hFont == NULL)
            hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
        HGDIOBJ hOld = ::SelectObject(hDC, hFont);
        ::DrawText(hDC, sMeasure, sMeasure.GetLength(), &rcText, DT_SINGLELINE | DT_CALCRECT);
        ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
        m_nWidth = rcText.Width() + 4;
        m_nHeight = rcText.Height() + 4;
    }
    if (IsDefault())
        m_nWidth += 5;
    if (pIcon != NULL && !(bPalette && IsInplaceEdit()))
    {
        CSize sizeIcon = pIcon->GetSize();
        if (sizeIcon.cx < 16)
            sizeIcon.cx = 16;
        if (sizeIcon.cy < 16)
            sizeIcon.cy = 16;
        if (sizeIcon.cx < 19 && sizeIcon.cy < sizeIcon.cx)
            sizeIcon.cy = sizeIcon.cx;
        if (!bPalette)
            m_nIconAreaWidth = std::max(m_nIconAreaWidth, (int)sizeIcon.cx);
        else
            m_nWidth += sizeIcon.cx + 4;
        m_nHeight = std::max(m_nHeight, (int)sizeIcon.cy + 4);
    }
    if (m_nHeight < 22)
        m_nHeight = 22;
    if (!bPalette)
    {
        m_nIconAreaWidth = std::max(m_nIconAreaWidth, m_nHeight);
        if (!IsPopup() && m_pCbItemExtra != NULL)
            m_nIconAreaWidth = 2 * m_nIconAreaWidth + 4;
        m_nIconAreaWidth += 2;
        m_nWidth += 26;
    }
    else if (pIcon == NULL)
        m_nHeight -= 2;
    if (!IsInplaceEdit())
    {
        if (!bPalette)
            m_nWidth += m_nIconAreaWidth + 16;
        else
        {
            if (IsPopup())
            {
                m_nWidth += 12;
                if ((m_nKindFlags & __MIK_ICON_ONLY) == 0)
                    m_nWidth += 3;
            }
            m_nWidth += 2;
        }
    }
    else
    {
        m_nWidth += m_nInplaceEditWidth;
        if (!bPalette)
            m_nWidth += 12;
        m_nHeight -= 2;
    }
    if (bPalette && pPM != NULL)
    {
        SIZE sizeButton = {0, 0};
        pPM->GetMenuPaletteButtonSize(sizeButton, m_pOwner);
        m_nHeight = std::max(m_nHeight, (int)sizeButton.cy);
        if (pPM->GetThemeId() == 29910)
            m_nWidth += sizeButton.cx;
        else
            m_nWidth = std::max(m_nWidth, (int)sizeButton.cx);
    }
}

bool CExtPopupMenuWnd::MENUITEMDATA::CreateSubMenu()
{
    CExtPopupMenuWnd* pSub = new CExtPopupMenuWnd;
    pSub->m_hWndCmdReceiver = m_hWndCmdReceiver;
    m_pPopup = pSub;
    return true;
}

void CExtPopupMenuWnd::MENUITEMDATA::DestroySubMenu()
{
    if (IsPopup() || IsCustom())
        m_icon.Empty();
    if (m_pPopup == NULL)
        return;
    if (m_pPopup->GetSafeHwnd() != NULL && ::IsWindow(m_pPopup->GetSafeHwnd()))
        m_pPopup->DestroyWindow();
    delete m_pPopup;
    m_pPopup = NULL;
}

bool CExtPopupMenuWnd::MENUITEMDATA::SetPopup(int nPos, LPCTSTR sText, const CExtCmdIcon& icon,
                                              CExtPopupMenuWnd* pMenu)
{
    if (pMenu != NULL)
    {
        m_pPopup = pMenu;
        pMenu->m_hWndCmdReceiver = m_hWndCmdReceiver;
    }
    else if (m_pPopup == NULL)
        CreateSubMenu();
    m_nCmdID = TYPE_POPUP;
    m_sText.Empty();
    m_sAccelText.Empty();
    m_nItemIndex = nPos;
    if (icon.IsEmpty())
        m_icon.Empty();
    else
        m_icon = icon;
    SetTextWithAccel(sText);
    MeasureItem();
    return true;
}

bool CExtPopupMenuWnd::MENUITEMDATA::SetCommand(const CExtCmdItem& cmd, int nPos)
{
    m_sText.Empty();
    m_sAccelText.Empty();
    m_nCmdID = cmd.m_nCmdID;
    if ((INT)m_nCmdID >= 1)
    {
        if (nPos >= 0)
            m_nItemIndex = nPos;
        m_sText = cmd.m_sMenuText;
        m_sAccelText = cmd.m_sAccelText;
        UpdateAccessKey();
        MeasureItem();
        return true;
    }
    m_nCmdID = TYPE_SEPARATOR;
    m_nItemIndex = -100;
    return false;
}

void CExtPopupMenuWnd::MENUITEMDATA::GetTipText(CString& sText) const
{
    sText.Empty();
    if (IsSeparator() || IsPopup())
        return;
    if (!m_sTipText.IsEmpty())
    {
        sText = m_sTipText;
        return;
    }
    CExtCmdItem* pCmdItem = GetCmdItem();
    if (pCmdItem == NULL)
        return;
    static const UINT g_sysCmds[][2] = {{0xF000, 0xEF00}, {0xF010, 0xEF01}, {0xF020, 0xEF02},
                                        {0xF030, 0xEF03}, {0xF040, 0xEF04}, {0xF050, 0xEF05},
                                        {0xF060, 0xEF06}, {0xF120, 0xEF12}, {0xF130, 0xEF13}};
    for (const auto& e : g_sysCmds)
    {
        if (e[0] != m_nCmdID)
            continue;
        CString s;
        if (g_CurrentResourceManager->LoadString(s, e[1]))
        {
            int nLF = s.Find(_T('\n'));
            sText = (nLF >= 0) ? s.Left(nLF) : s;
        }
        return;
    }
    sText = pCmdItem->m_sTipTool;
}

// ======================================================================================
// The menu's item operations
// ======================================================================================
int CExtPopupMenuWnd::ItemGetCount() const { return (int)m_items.GetSize(); }

CExtPopupMenuWnd::MENUITEMDATA& CExtPopupMenuWnd::ItemGetInfo(int nPos)
{
    if (nPos < 0 || nPos >= ItemGetCount())
        AfxThrowInvalidArgException();
    return m_items.ElementAt(nPos);
}

const CExtPopupMenuWnd::MENUITEMDATA& CExtPopupMenuWnd::ItemGetInfo(int nPos) const
{
    if (nPos < 0 || nPos >= ItemGetCount())
        AfxThrowInvalidArgException();
    return m_items.ElementAt(nPos);
}

UINT CExtPopupMenuWnd::ItemGetCmdID(int nPos) const
{
    if (nPos < 0 || nPos >= ItemGetCount())
        return 0;
    return m_items.ElementAt(nPos).GetCmdID();
}

CExtCmdIcon& CExtPopupMenuWnd::ItemGetIcon(int nPos)
{
    if (nPos < 0 || nPos >= ItemGetCount())
        return EmptyIconForBadPos();
    CExtCmdIcon* pIcon = m_items.ElementAt(nPos).GetIcon();
    return (pIcon != NULL) ? *pIcon : EmptyIconForNoIcon();
}

CString CExtPopupMenuWnd::ItemGetText(int nPos) const
{
    if (nPos < 0 || nPos >= ItemGetCount())
        return CString();
    return m_items.ElementAt(nPos).GetText();
}

CString CExtPopupMenuWnd::ItemGetAccelText(int nPos) const
{
    if (nPos < 0 || nPos >= ItemGetCount())
        return CString();
    return m_items.ElementAt(nPos).GetAccelText();
}

int CExtPopupMenuWnd::ItemFindPosForCmdID(UINT nCmdID, int nPosStart) const
{
    for (int i = (nPosStart < 0) ? 0 : nPosStart + 1; i < ItemGetCount(); i++)
        if (ItemGetCmdID(i) == nCmdID)
            return i;
    return -1;
}

bool CExtPopupMenuWnd::ItemSetPopupIcon(int nPos, const CExtCmdIcon& icon)
{
    if (nPos < 0 || nPos >= ItemGetCount())
        return false;
    return m_items.ElementAt(nPos).SetIcon(icon);
}

bool CExtPopupMenuWnd::ItemSetText(int nPos, LPCTSTR sText)
{
    if (nPos < 0 || nPos >= ItemGetCount())
        return false;
    MENUITEMDATA& mi = m_items.ElementAt(nPos);
    mi.SetTextWithAccel(sText);
    mi.MeasureItem();
    return true;
}

bool CExtPopupMenuWnd::ItemSetAccelText(int nPos, LPCTSTR sText)
{
    if (nPos < 0 || nPos >= ItemGetCount())
        return false;
    return m_items.ElementAt(nPos).SetAccelTextAlways(sText);
}

CExtPopupMenuWnd* CExtPopupMenuWnd::ItemGetPopup(int nPos)
{
    if (nPos < 0 || nPos >= ItemGetCount())
        return NULL;
    MENUITEMDATA& mi = m_items.ElementAt(nPos);
    return mi.IsPopup() ? mi.m_pPopup : NULL;
}

const CExtPopupMenuWnd* CExtPopupMenuWnd::ItemGetPopup(int nPos) const
{
    return const_cast<CExtPopupMenuWnd*>(this)->ItemGetPopup(nPos);
}

bool CExtPopupMenuWnd::ItemIsDisplayed(int nPos) const { return ItemGetInfo(nPos).IsDisplayed(); }

void CExtPopupMenuWnd::ItemSetDisplayed(int nPos, bool bForceDisplayed)
{
    MENUITEMDATA& mi = ItemGetInfo(nPos);
    SetStateBit(mi.m_nLayoutFlags, MENUITEMDATA::__MIF_FORCE_DISPLAYED, bForceDisplayed);
    RecalcLayout();
}

void CExtPopupMenuWnd::RemoveAllItems(bool bNoCmdProfile)
{
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        if (mi.m_pPopup == NULL)
            continue;
        mi.m_pPopup->m_hWndCmdReceiver = m_hWndCmdReceiver;
        if (mi.m_pPopup->GetSafeHwnd() != NULL && ::IsWindow(mi.m_pPopup->GetSafeHwnd()))
            mi.m_pPopup->DestroyWindow();
        mi.m_pPopup->UpdateFromMenu(NULL, false, bNoCmdProfile);
        mi.DestroySubMenu();
    }
    m_items.RemoveAll();
    m_nCurIndex = -1;
}

bool CExtPopupMenuWnd::ItemRemove(int nPos)
{
    if (nPos < 0)
    {
        if (!UpdateFromMenu(NULL, IsTopLevel(), false))
            return false;
        RecalcLayout();
        return true;
    }
    if (nPos >= ItemGetCount())
        return false;
    MENUITEMDATA& mi = m_items.ElementAt(nPos);
    if (mi.IsPopup() && mi.m_pPopup != NULL)
    {
        mi.m_pPopup->DestroyMenuWindow(false);
        mi.m_pPopup->UpdateFromMenu(NULL, false, false);
        mi.DestroySubMenu();
    }
    m_items.RemoveAt(nPos);
    m_nCurIndex = -1;
    RecalcLayout();
    return true;
}

int CExtPopupMenuWnd::ItemRemoveSeparators()
{
    int nRemoved = 0;
    for (int i = ItemGetCount() - 1; i >= 0; i--)
    {
        if (!m_items.ElementAt(i).IsSeparator())
            continue;
        m_items.RemoveAt(i);
        nRemoved++;
    }
    if (nRemoved > 0)
    {
        m_nCurIndex = -1;
        RecalcLayout();
    }
    return nRemoved;
}

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MENUITEMDATA;

// The item at nPos, NULL outside the menu.
MENUITEMDATA* ItemAtOrNull(CExtPopupMenuWnd& menu, int nPos)
{
    return (nPos >= 0 && nPos < menu.ItemGetCount()) ? &menu.m_items.ElementAt(nPos) : NULL;
}

const MENUITEMDATA* ItemAtOrNull(const CExtPopupMenuWnd& menu, int nPos)
{
    return (nPos >= 0 && nPos < menu.ItemGetCount()) ? &menu.m_items.GetAt(nPos) : NULL;
}

// A layout bit that changes the item's size: the item is measured again when it changed.
void SetLayoutBitAndMeasure(MENUITEMDATA& mi, BYTE nBit, bool bOn)
{
    if (SetStateBit(mi.m_nLayoutFlags, nBit, bOn) != bOn)
        mi.MeasureItem();
}

}  // namespace

bool CExtPopupMenuWnd::ItemPaletteWrapGet(int nPos) const
{
    const MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    return pItem != NULL && (pItem->m_nLayoutFlags & MENUITEMDATA::__MIF_PALETTE_WRAP) != 0;
}

bool CExtPopupMenuWnd::ItemPaletteWrapSet(int nPos, bool bWrap)
{
    MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    if (pItem == NULL)
        return false;
    SetStateBit(pItem->m_nLayoutFlags, MENUITEMDATA::__MIF_PALETTE_WRAP, bWrap);
    return true;
}

bool CExtPopupMenuWnd::ItemOwnWidthGet(int nPos) const
{
    const MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    return pItem != NULL && pItem->IsPaletteStyle();
}

bool CExtPopupMenuWnd::ItemOwnWidthSet(int nPos, bool bOwnWidth)
{
    MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    if (pItem == NULL)
        return false;
    SetLayoutBitAndMeasure(*pItem, MENUITEMDATA::__MIF_NO_LEFT_AREA, bOwnWidth);
    return true;
}

bool CExtPopupMenuWnd::ItemEnabledGet(int nPos) const
{
    const MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    return pItem != NULL && pItem->IsEnabled();
}

bool CExtPopupMenuWnd::ItemEnabledSet(int nPos, bool bEnabled)
{
    MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    if (pItem == NULL || pItem->m_nCmdID == TYPE_SEPARATOR)
        return false;
    pItem->Enable(bEnabled);
    return true;
}

bool CExtPopupMenuWnd::ItemDefaultGet(int nPos) const
{
    const MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    return pItem != NULL && pItem->IsDefault();
}

bool CExtPopupMenuWnd::ItemDefaultSet(int nPos, bool bDefault)
{
    MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    if (pItem == NULL)
        return false;
    SetLayoutBitAndMeasure(*pItem, MENUITEMDATA::__MIF_DEFAULT, bDefault);
    return true;
}

bool CExtPopupMenuWnd::ItemBoldGet(int nPos) const
{
    const MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    return pItem != NULL && (pItem->m_nKindFlags & MENUITEMDATA::__MIK_BOLD) != 0;
}

bool CExtPopupMenuWnd::ItemBoldSet(int nPos, bool bBold)
{
    MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    if (pItem == NULL)
        return false;
    SetStateBit(pItem->m_nKindFlags, MENUITEMDATA::__MIK_BOLD, bBold);
    SetLayoutBitAndMeasure(*pItem, MENUITEMDATA::__MIF_DEFAULT, bBold);
    return true;
}

bool CExtPopupMenuWnd::ItemFlagGet(int nPos) const
{
    const MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    return pItem != NULL && (pItem->m_nStateFlags & MENUITEMDATA::__MIS_FLAG_04) != 0;
}

bool CExtPopupMenuWnd::ItemFlagSet(int nPos, bool bOn)
{
    MENUITEMDATA* pItem = ItemAtOrNull(*this, nPos);
    if (pItem == NULL)
        return false;
    SetStateBit(pItem->m_nStateFlags, MENUITEMDATA::__MIS_FLAG_04, bOn);
    return true;
}

void CExtPopupMenuWnd::ItemInsertData(int nPos, const MENUITEMDATA& mi)
{
    MENUITEMDATA copy(mi);
    if (nPos < 0 || nPos >= ItemGetCount())
        m_items.Add(copy);
    else
        m_items.InsertAt(nPos, copy);
}

bool CExtPopupMenuWnd::ItemInsert(UINT nCmdID, int nPos, LPCTSTR sText, const CExtCmdIcon& icon,
                                  HWND hWndSpecCmdReceiver)
{
    if (nPos > ItemGetCount())
        return false;
    MENUITEMDATA mi(this);
    mi.m_hWndCmdReceiver = (hWndSpecCmdReceiver != NULL) ? hWndSpecCmdReceiver : m_hWndCmdReceiver;
    if (nCmdID == TYPE_SEPARATOR)
        mi.MeasureItem();
    else if (nCmdID == TYPE_POPUP)
        mi.SetPopup(nPos, sText, icon, NULL);
    else
    {
        LPCTSTR sProfile = mi.GetProfileName();
        CExtCmdItem* pCmdItem = (sProfile != NULL) ? g_CommandManager->CmdGetPtr(sProfile, nCmdID) : NULL;
        if (pCmdItem == NULL)
            return false;
        mi.SetCommand(*pCmdItem, nPos);
    }
    if (mi.m_pPopup != NULL)
        mi.m_pPopup->m_pParentMenu = this;
    ItemInsertData(nPos, mi);
    RelayoutAfterChange();
    return true;
}

bool CExtPopupMenuWnd::ItemInsert(UINT nCmdID, int nPos, LPCTSTR sText, HICON hIcon, HWND hWndSpecCmdReceiver)
{
    CExtCmdIcon icon;
    if (hIcon != NULL)
        icon.AssignFromHICON(hIcon, false);
    return ItemInsert(nCmdID, nPos, sText, icon, hWndSpecCmdReceiver);
}

bool CExtPopupMenuWnd::ItemInsertCommand(UINT nCmdID, int nPos, LPCTSTR sText, LPCTSTR sAccelText,
                                         const CExtCmdIcon& icon, int nCheck, HWND hWndSpecCmdReceiver)
{
    if (nPos > ItemGetCount())
        return false;
    MENUITEMDATA mi(this);
    mi.m_hWndCmdReceiver = (hWndSpecCmdReceiver != NULL) ? hWndSpecCmdReceiver : m_hWndCmdReceiver;
    mi.m_nKindFlags |= MENUITEMDATA::__MIK_CUSTOM;
    if (nCmdID == TYPE_POPUP)
    {
        mi.SetPopup(nPos, (sText != NULL) ? sText : _T(""), CExtCmdIcon(), NULL);
        mi.SetIcon(icon);
    }
    else
    {
        mi.m_nCmdID = nCmdID;
        if (nCmdID != TYPE_SEPARATOR)
        {
            mi.m_nItemIndex = nPos;
            mi.SetText((sText != NULL) ? sText : _T(""));
            mi.SetAccelText((sAccelText != NULL) ? sAccelText : _T(""));
            mi.UpdateAccessKey();
            mi.SetIcon(icon);
            switch (nCheck)
            {
            case 1:
                mi.SetCheck(true);
                break;
            case 2:
                mi.SetIndeterminate(true);
                break;
            case 3:
                mi.SetRadio(true);
                break;
            default:
                break;
            }
        }
        mi.MeasureItem();
    }
    mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_DISPLAYED;
    if (mi.m_pPopup != NULL)
        mi.m_pPopup->m_pParentMenu = this;
    ItemInsertData(nPos, mi);
    RelayoutAfterChange();
    return true;
}

bool CExtPopupMenuWnd::ItemInsertCommand(UINT nCmdID, int nPos, LPCTSTR sText, LPCTSTR sAccelText, HICON hIcon,
                                         bool bCopyIcon, int nCheck, HWND hWndSpecCmdReceiver)
{
    CExtCmdIcon icon;
    if (hIcon != NULL)
        icon.AssignFromHICON(hIcon, bCopyIcon);
    return ItemInsertCommand(nCmdID, nPos, sText, sAccelText, icon, nCheck, hWndSpecCmdReceiver);
}

bool CExtPopupMenuWnd::ItemInsertSubMenu(CExtPopupMenuWnd* pSubMenu, int nPos, LPCTSTR sText,
                                         const CExtCmdIcon& icon)
{
    if (pSubMenu == NULL || nPos > ItemGetCount())
        return false;
    MENUITEMDATA mi(this);
    mi.m_hWndCmdReceiver = m_hWndCmdReceiver;
    pSubMenu->m_nMenuFlags &= ~__MF_TOP_LEVEL;
    mi.SetPopup(nPos, sText, icon, pSubMenu);
    pSubMenu->m_pParentMenu = this;
    mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_DISPLAYED;
    ItemInsertData(nPos, mi);
    RelayoutAfterChange();
    return true;
}

int CExtPopupMenuWnd::ItemFindByAccessKey(TCHAR chrAccess, int nStartIdx, bool) const
{
    if (chrAccess == _T('0'))
        return -1;
    TCHAR sKey[2] = {chrAccess, 0};
    ::CharUpper(sKey);
    const TCHAR cKey = sKey[0];
    if (cKey == 0)
        return -1;
    const int nCount = ItemGetCount();
    auto matches = [&](int i) {
        const MENUITEMDATA& mi = m_items.ElementAt(i);
        if (i == nStartIdx || mi.m_cAccessKey == 0 || mi.m_cAccessKey != cKey || !mi.IsDisplayed())
            return false;
        if (mi.IsPopup() && (mi.m_nLayoutFlags & MENUITEMDATA::__MIF_NEVER_ENABLED) == 0 && mi.GetCmdItem() == NULL)
            return true;
        return mi.m_nCmdID != 0 &&
               (mi.m_nStateFlags & (MENUITEMDATA::__MIS_FORCE_ENABLED | MENUITEMDATA::__MIS_ENABLED)) != 0;
    };
    for (int i = (nStartIdx < 0) ? 0 : nStartIdx + 1; i < nCount; i++)
        if (matches(i))
            return i;
    for (int i = 0; nStartIdx > 0 && i < nStartIdx && i < nCount; i++)
        if (matches(i))
            return i;
    return -1;
}

int CExtPopupMenuWnd::ItemFindByText(LPCTSTR sText, int nStartIdx, bool) const
{
    if (sText == NULL || *sText == 0)
        return -1;
    const int nCount = ItemGetCount();
    auto matches = [&](int i) { return i != nStartIdx && lstrcmp(m_items.ElementAt(i).m_sText, sText) == 0; };
    for (int i = (nStartIdx < 0) ? 0 : nStartIdx + 1; i < nCount; i++)
        if (matches(i))
            return i;
    for (int i = 0; nStartIdx > 0 && i < nStartIdx && i < nCount; i++)
        if (matches(i))
            return i;
    return -1;
}

bool CExtPopupMenuWnd::IsAllItemsHidden() const
{
    for (int i = 0; i < ItemGetCount(); i++)
    {
        const MENUITEMDATA& mi = m_items.ElementAt(i);
        if (mi.IsDisplayed())
            return false;
        if (!mi.IsPopup() && !mi.IsSeparator() && mi.m_pCbItemExtra != NULL)
            return false;
    }
    return true;
}

void CExtPopupMenuWnd::SetCmdReceiver(HWND hWndCmdRecv, bool bThisLevelOnly)
{
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        if (mi.IsSeparator())
            continue;
        mi.m_hWndCmdReceiver = hWndCmdRecv;
        if (!bThisLevelOnly && mi.IsPopup() && mi.m_pPopup != NULL)
            mi.m_pPopup->SetCmdReceiver(hWndCmdRecv, true);
    }
}
