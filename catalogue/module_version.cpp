#include "catalogue/module_version.h"
#include <cstdio>
#include <cstring>

static const DWORD kFixedInfoSignature = 0xFEEF04BD;

CModuleVersion::CModuleVersion() : VS_FIXEDFILEINFO(), m_pVersionData(nullptr) {
    m_translation.wLanguage = 0;
    m_translation.wCodePage = 1252;
}

CModuleVersion::~CModuleVersion() { delete[] m_pVersionData; }

BOOL CModuleVersion::GetFileVersionInfo(const char* path) {
    // Without a translation table the strings are looked up as language-neutral
    // Windows Latin-1, the code page the old resource compilers wrote by default.
    m_translation.wLanguage = 0;
    m_translation.wCodePage = 1252;
    VS_FIXEDFILEINFO* fixed = this;
    std::memset(fixed, 0, sizeof(VS_FIXEDFILEINFO));
    // A failed load must not leave the previous file's strings to be answered.
    delete[] m_pVersionData;
    m_pVersionData = nullptr;
    if (!path) return FALSE;

    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return FALSE;

    m_pVersionData = new BYTE[size];
    if (!::GetFileVersionInfoA(path, 0, size, m_pVersionData)) {
        delete[] m_pVersionData;
        m_pVersionData = nullptr;
        return FALSE;
    }

    void* block = nullptr;
    UINT len = 0;
    if (!::VerQueryValueA(m_pVersionData, "\\", &block, &len) || !block || len < sizeof(VS_FIXEDFILEINFO))
        return FALSE;
    std::memcpy(fixed, block, sizeof(VS_FIXEDFILEINFO));

    block = nullptr;
    len = 0;
    if (::VerQueryValueA(m_pVersionData, "\\VarFileInfo\\Translation", &block, &len) && block && len >= 4)
        std::memcpy(&m_translation, block, 4);

    return dwSignature == kFixedInfoSignature ? TRUE : FALSE;
}

std::string CModuleVersion::GetValue(const char* key) const {
    if (!m_pVersionData || !key) return std::string();
    std::string query(32 + std::strlen(key), '\0');
    int n = std::snprintf(&query[0], query.size(), "\\StringFileInfo\\%04x%04x\\%s", m_translation.wLanguage,
                          m_translation.wCodePage, key);
    if (n < 0) return std::string();
    query.resize(static_cast<size_t>(n));
    void* text = nullptr;
    UINT len = 0;
    if (!::VerQueryValueA(m_pVersionData, query.c_str(), &text, &len) || !text) return std::string();
    // The length counts characters and may include the terminator; never read past it.
    const char* s = static_cast<const char*>(text);
    size_t n2 = 0;
    while (n2 < len && s[n2]) ++n2;
    return std::string(s, n2);
}
