// The registry archiver: stores a byte stream (usually a memory file filled by an
// archive) in the registry as a size value, 16-byte REG_BINARY chunks grouped 128 to a
// block sub-key, and an integrity text that a reader checks before it accepts the data.
// Also the small registry helpers that go with it.
#pragma once
#include "framework/framework.h"

// Closes its key when destroyed or reset.
class CExtRegistryKeyHolder
{
public:
    explicit CExtRegistryKeyHolder(HKEY hKey = NULL) : m_hKey(hKey) {}
    ~CExtRegistryKeyHolder() { Reset(); }
    void Reset(HKEY hKey = NULL)
    {
        if (m_hKey != NULL)
            ::RegCloseKey(m_hKey);
        m_hKey = hKey;
    }
    HKEY* operator&() { return &m_hKey; }
    operator HKEY() const { return m_hKey; }

    HKEY m_hKey;

private:
    CExtRegistryKeyHolder(const CExtRegistryKeyHolder&) = delete;
    CExtRegistryKeyHolder& operator=(const CExtRegistryKeyHolder&) = delete;
};

// The integrity hash: four ELF-hash lanes taking the stream's bytes in turn.
class CExtRegistryIntegrityHash
{
public:
    CExtRegistryIntegrityHash() { Clear(); }
    void Clear();
    void Update(const BYTE* pData, UINT nSize);
    // "%02X %02X %02X %02X" per lane, most significant byte first, lanes blank-separated.
    CString GetText() const;

    UINT m_nLane;
    DWORD m_arrLanes[4];
};

class CExtRegistryArchiver
{
public:
    enum
    {
        CHUNK_SIZE = 16,
        CHUNKS_PER_BLOCK_SHIFT = 7,  // 128 chunks in a block
    };

    static bool SaveToRegistry(CFile& file, LPCTSTR sRegKeyPath, HKEY hKeyRoot = HKEY_CURRENT_USER,
                               bool bEnableThrowExceptions = false);
    static bool LoadFromRegistry(CFile& file, LPCTSTR sRegKeyPath, HKEY hKeyRoot = HKEY_CURRENT_USER,
                                 bool bEnableThrowExceptions = false);
    // "Kestrix v. 2.5.4.0 registry archiver".
    static CString GetGeneratorText();
};

// With a value name: deletes that value of the sub-key (the root itself when sSubKey is
// NULL); without one: deletes the sub-key with everything below it.
bool RegDeleteKeyOrValue(HKEY hKeyRoot, LPCTSTR sSubKey, LPCTSTR sValueName = NULL);
// Deletes every sub-key of hKey, depth first.
bool RegDeleteKeyTree(HKEY hKey);
// A string value (REG_SZ, REG_EXPAND_SZ, REG_LINK or REG_MULTI_SZ) that fits the buffer.
bool RegReadString(HKEY hKeyRoot, LPCTSTR sSubKey, LPCTSTR sValueName, LPTSTR pBuffer, DWORD nBufferSize);
// A REG_BINARY value that fits the buffer.
bool RegReadBinary(HKEY hKeyRoot, LPCTSTR sSubKey, LPCTSTR sValueName, LPBYTE pBuffer, DWORD nBufferSize);
// REG_SZ with the terminator counted; false for a key that is not open.
bool RegWriteString(HKEY hKey, LPCTSTR sValueName, LPCTSTR sText);
