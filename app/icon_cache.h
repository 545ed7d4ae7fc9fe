// Small program icons by icon-file path, so that refreshing the program list does not
// extract the same icon again. The cache owns every icon it holds; list rows only
// borrow them.
#pragma once
#include "framework/framework.h"
#include <map>
#include <string>

class CExtIconCacheImpl
{
public:
    CExtIconCacheImpl();
    virtual ~CExtIconCacheImpl();

    // A new key is inserted; an existing entry's icon is replaced without being
    // destroyed. A null icon may be stored.
    virtual void Add(const char* key, HICON icon);
    // Null when the key is null, absent, or stored with a null icon.
    virtual HICON Find(const char* key);

    int GetCount() const { return (int)m_icons.size(); }

protected:
    // Keys compare byte by byte, so letter case matters.
    std::map<std::string, HICON> m_icons;

private:
    CExtIconCacheImpl(const CExtIconCacheImpl&) = delete;
    CExtIconCacheImpl& operator=(const CExtIconCacheImpl&) = delete;
};

class CExtIconCache : public CExtIconCacheImpl
{
public:
    // Takes the default icon from the Add/Remove Programs applet, else the system's
    // application icon, at small-icon size.
    CExtIconCache();
    virtual ~CExtIconCache();

    HICON GetDefaultIcon() const { return m_hDefaultIcon; }

    HICON m_hDefaultIcon;
};
