#include "app/icon_cache.h"

CExtIconCacheImpl::CExtIconCacheImpl() {}

CExtIconCacheImpl::~CExtIconCacheImpl()
{
    for (auto& entry : m_icons)
        if (entry.second != NULL) ::DestroyIcon(entry.second);
    m_icons.clear();
}

void CExtIconCacheImpl::Add(const char* key, HICON icon)
{
    if (key == NULL) return;
    m_icons[key] = icon;
}

HICON CExtIconCacheImpl::Find(const char* key)
{
    if (key == NULL) return NULL;
    auto it = m_icons.find(key);
    return it != m_icons.end() ? it->second : NULL;
}

CExtIconCache::CExtIconCache() : m_hDefaultIcon(NULL)
{
    HICON hIcon = NULL;
    bool bOwned = false;
    HMODULE hAppWiz = ::LoadLibraryA("appwiz.cpl");
    if (hAppWiz != NULL) {
        hIcon = (HICON)::LoadImageA(hAppWiz, MAKEINTRESOURCEA(1502), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
        bOwned = hIcon != NULL;
        ::FreeLibrary(hAppWiz);
    }
    if (hIcon == NULL) hIcon = ::LoadIconA(NULL, IDI_APPLICATION);

    int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    HIMAGELIST hList = ::ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 0);
    if (hList != NULL) {
        if (hIcon != NULL) {
            ::ImageList_AddIcon(hList, hIcon);
            m_hDefaultIcon = ::ImageList_GetIcon(hList, 0, ILD_NORMAL);
        }
        ::ImageList_Destroy(hList);
    }
    // The system's own application icon is shared and must not be destroyed.
    if (bOwned) ::DestroyIcon(hIcon);
}

CExtIconCache::~CExtIconCache()
{
    // Several paths may hold the shared default icon: it goes once, at the end.
    for (auto& entry : m_icons)
        if (entry.second != NULL && entry.second != m_hDefaultIcon) ::DestroyIcon(entry.second);
    m_icons.clear();
    if (m_hDefaultIcon != NULL) ::DestroyIcon(m_hDefaultIcon);
    m_hDefaultIcon = NULL;
}
