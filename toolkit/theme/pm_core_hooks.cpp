// What the core services (linked before the theme engine) reach of the paint manager:
// the command icon's disabled look, check mark and radio dot, and the resource
// manager's base font. Registered once by the
// paint-manager holder's constructor.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/resource_manager.h"

namespace {

int HookGetThemeId(CExtPaintManager* pPM)
{
    return (pPM != NULL) ? pPM->GetThemeId() : CExtPaintManager::ThemeIdBase;
}

COLORREF HookLookupColor(CExtPaintManager* pPM, int nColorIndex)
{
    return (pPM != NULL) ? pPM->LookupColor(nColorIndex) : ::GetSysColor(nColorIndex & 0xFF);
}

int HookGetLunaColorScheme(CExtPaintManager* pPM)
{
    return (pPM != NULL) ? pPM->GetLunaColorScheme() : 0;
}

COLORREF HookGetDisabledIconColor(CExtPaintManager* pPM)
{
    return (pPM != NULL) ? pPM->GetDisabledIconColor() : COLORREF(-1);
}

double HookGetDisabledIconAlpha(CExtPaintManager* pPM)
{
    return (pPM != NULL) ? pPM->GetDisabledIconAlpha() : 0.0;
}

void HookDrawCheckMark(CExtPaintManager*, HDC hDC, int x, int y, COLORREF clr)
{
    CExtPaintManager::DrawCheckMark(*CDC::FromHandle(hDC), x, y, clr);
}

void HookDrawRadioDot(CExtPaintManager*, HDC hDC, int x, int y, COLORREF clr)
{
    CExtPaintManager::DrawRadioDot(*CDC::FromHandle(hDC), x, y, clr);
}

const CExtCmdIconThemeHooks g_CmdIconThemeHooks = {
    HookGetThemeId,           HookLookupColor,          HookGetLunaColorScheme,
    HookGetDisabledIconColor, HookGetDisabledIconAlpha, HookDrawCheckMark,
    HookDrawRadioDot,
};

// The resource manager derives its font (its own face) from the current theme's normal font.
HFONT HookQueryBaseFont()
{
    return (HFONT)g_CurrentPaintManager->m_FontNormal.GetSafeHandle();
}

}  // namespace

void CExtPaintManagerHolder::RegisterCoreHooks()
{
    CExtCmdIcon::stat_SetThemeHooks(&g_CmdIconThemeHooks);
    // The command manager applies the same relay test to the system changes it passes
    // to its profiles.
    CExtCmdManagerHolder::g_pfnIsSystemChangeRelay = &CExtPaintManagerHolder::IsSystemChangeRelay;
    CExtResourceManager::g_pfnQueryBaseFont = &HookQueryBaseFont;
}
