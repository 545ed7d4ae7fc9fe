// Version resource of an executable file. The fixed part of the resource is this
// object's own base, so callers read dwFileVersionMS and friends directly; strings are
// asked for by key under the resource's first translation.
#pragma once
#include <windows.h>
#include <string>

class CModuleVersion : public VS_FIXEDFILEINFO {
public:
    CModuleVersion();
    virtual ~CModuleVersion();
    CModuleVersion(const CModuleVersion&) = delete;
    CModuleVersion& operator=(const CModuleVersion&) = delete;

    // TRUE when the resource was read and its fixed part carries the signature.
    BOOL GetFileVersionInfo(const char* path);
    // The text of `key` in the string table of the stored translation, or "".
    std::string GetValue(const char* key) const;

    WORD GetLanguage() const { return m_translation.wLanguage; }
    WORD GetCodePage() const { return m_translation.wCodePage; }

private:
    BYTE* m_pVersionData;
    struct Translation {
        WORD wLanguage;
        WORD wCodePage;
    } m_translation;
};
