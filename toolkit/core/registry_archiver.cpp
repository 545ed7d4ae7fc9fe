#include "toolkit/core/registry_archiver.h"
#include "toolkit/core/cmd_manager.h"

#include <string.h>
#include <vector>

namespace {

const REGSAM kAccessReadWrite = 0x2001F;  // KEY_READ | KEY_WRITE
const LPCTSTR kValueSize = "data_size";
const LPCTSTR kValueIntegrity = "data_integrity";
const LPCTSTR kValueGenerator = "data_generator";

// The failure of a registry operation: the user exception, or false.
bool Fail(bool bEnableThrowExceptions)
{
    if (bEnableThrowExceptions)
        AfxThrowUserException();
    return false;
}

CString BlockKeyPath(LPCTSTR sRegKeyPath, DWORD nChunk)
{
    CString s;
    s.Format("%s\\block_0x%08lX", sRegKeyPath, (unsigned long)(nChunk >> CExtRegistryArchiver::CHUNKS_PER_BLOCK_SHIFT));
    return s;
}

CString ChunkValueName(DWORD nChunk)
{
    CString s;
    s.Format("data_0x%08lX", (unsigned long)nChunk);
    return s;
}

}  // namespace

// ---- integrity hash ------------------------------------------------------------------

void CExtRegistryIntegrityHash::Clear()
{
    m_nLane = 0;
    for (int i = 0; i < 4; i++)
        m_arrLanes[i] = 0;
}

void CExtRegistryIntegrityHash::Update(const BYTE* pData, UINT nSize)
{
    for (UINT i = 0; i < nSize; i++)
    {
        DWORD& h = m_arrLanes[m_nLane];
        h = (h << 4) + pData[i];
        DWORD g = h & 0xF0000000UL;
        if (g != 0)
        {
            h ^= g >> 24;
            h ^= g;
        }
        m_nLane = (m_nLane + 1) & 3;
    }
}

CString CExtRegistryIntegrityHash::GetText() const
{
    CString s;
    for (int i = 0; i < 4; i++)
    {
        DWORD h = m_arrLanes[i];
        s.AppendFormat("%s%02X %02X %02X %02X", (i == 0) ? "" : " ", (unsigned)((h >> 24) & 0xFF),
                       (unsigned)((h >> 16) & 0xFF), (unsigned)((h >> 8) & 0xFF), (unsigned)(h & 0xFF));
    }
    return s;
}

// ---- the archiver --------------------------------------------------------------------

CString CExtRegistryArchiver::GetGeneratorText()
{
    CString sVersion, s;
    CExtCmdManager::GetVersionString(sVersion, '.');
    s.Format("Kestrix v. %s registry archiver", (LPCTSTR)sVersion);
    return s;
}

bool CExtRegistryArchiver::SaveToRegistry(CFile& file, LPCTSTR sRegKeyPath, HKEY hKeyRoot,
                                          bool bEnableThrowExceptions)
{
    if (sRegKeyPath == NULL)
        return Fail(bEnableThrowExceptions);
    // Chunks of an earlier, longer stream must not survive under the key.
    RegDeleteKeyOrValue(hKeyRoot, sRegKeyPath, NULL);

    file.SeekToBegin();
    DWORD nSize = (DWORD)file.GetLength();

    CExtRegistryKeyHolder key;
    if (::RegCreateKeyEx(hKeyRoot, sRegKeyPath, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key,
                         NULL) != ERROR_SUCCESS)
        return false;  // whatever the flag
    if (::RegSetValueEx(key, kValueSize, 0, REG_DWORD, (const BYTE*)&nSize, sizeof(nSize)) != ERROR_SUCCESS)
        return Fail(bEnableThrowExceptions);

    CExtRegistryIntegrityHash hash;
    BYTE arrChunk[CHUNK_SIZE];
    for (DWORD nChunk = 0;; nChunk++)
    {
        UINT nRead = file.Read(arrChunk, CHUNK_SIZE);
        if (nRead == 0)
            break;
        CString sBlock = BlockKeyPath(sRegKeyPath, nChunk);
        CExtRegistryKeyHolder keyBlock;
        if (::RegCreateKeyEx(hKeyRoot, sBlock, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &keyBlock,
                             NULL) != ERROR_SUCCESS)
            return Fail(bEnableThrowExceptions);
        if (::RegSetValueEx(keyBlock, ChunkValueName(nChunk), 0, REG_BINARY, arrChunk, nRead) != ERROR_SUCCESS)
            return Fail(bEnableThrowExceptions);
        hash.Update(arrChunk, nRead);
    }
    if (!RegWriteString(key, kValueIntegrity, hash.GetText()) ||
        !RegWriteString(key, kValueGenerator, GetGeneratorText()))
        return Fail(bEnableThrowExceptions);
    return true;
}

bool CExtRegistryArchiver::LoadFromRegistry(CFile& file, LPCTSTR sRegKeyPath, HKEY hKeyRoot,
                                            bool bEnableThrowExceptions)
{
    if (sRegKeyPath == NULL)
        return Fail(bEnableThrowExceptions);
    CExtRegistryKeyHolder key;
    if (::RegOpenKeyEx(hKeyRoot, sRegKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return Fail(bEnableThrowExceptions);

    DWORD nType = 0, nSize = 0, cbSize = sizeof(nSize);
    if (::RegQueryValueEx(key, kValueSize, NULL, &nType, (LPBYTE)&nSize, &cbSize) != ERROR_SUCCESS ||
        nType != REG_DWORD || cbSize != sizeof(nSize))
        return Fail(bEnableThrowExceptions);
    if (nSize == 0)
        return true;

    // The size is trusted only as far as the chunks bear it out: nothing is allocated
    // from it, and every chunk must be present with exactly the length the size implies.
    CExtRegistryIntegrityHash hash;
    BYTE arrChunk[CHUNK_SIZE];
    DWORD nDone = 0;
    for (DWORD nChunk = 0; nDone < nSize; nChunk++)
    {
        DWORD nWant = nSize - nDone;
        if (nWant > CHUNK_SIZE)
            nWant = CHUNK_SIZE;
        CExtRegistryKeyHolder keyBlock;
        if (::RegOpenKeyEx(hKeyRoot, BlockKeyPath(sRegKeyPath, nChunk), 0, KEY_READ, &keyBlock) != ERROR_SUCCESS)
            return Fail(bEnableThrowExceptions);
        DWORD nChunkType = 0, cbChunk = nWant;
        if (::RegQueryValueEx(keyBlock, ChunkValueName(nChunk), NULL, &nChunkType, arrChunk, &cbChunk) !=
                ERROR_SUCCESS ||
            nChunkType != REG_BINARY || cbChunk != nWant)
            return Fail(bEnableThrowExceptions);
        hash.Update(arrChunk, cbChunk);
        file.Write(arrChunk, cbChunk);
        nDone += cbChunk;
    }

    CString sExpected = hash.GetText();
    DWORD cbText = (DWORD)sExpected.GetLength() + 1;
    std::vector<char> vecStored(cbText + 1, '\0');
    DWORD nTextType = 0, cbStored = cbText;
    if (::RegQueryValueEx(key, kValueIntegrity, NULL, &nTextType, (LPBYTE)&vecStored[0], &cbStored) !=
            ERROR_SUCCESS ||
        nTextType != REG_SZ || cbStored > cbText)
        return Fail(bEnableThrowExceptions);
    vecStored[cbStored] = '\0';
    if (sExpected != &vecStored[0])
        return Fail(bEnableThrowExceptions);
    file.SeekToBegin();
    return true;
}

// ---- registry helpers ----------------------------------------------------------------

bool RegDeleteKeyTree(HKEY hKey)
{
    DWORD nSubKeys = 0;
    if (::RegQueryInfoKey(hKey, NULL, NULL, NULL, &nSubKeys, NULL, NULL, NULL, NULL, NULL, NULL, NULL) !=
        ERROR_SUCCESS)
        return false;
    for (DWORD i = nSubKeys; i > 0; i--)
    {
        TCHAR sName[MAX_PATH + 1];
        DWORD nNameLen = MAX_PATH;
        if (::RegEnumKeyEx(hKey, i - 1, sName, &nNameLen, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            return false;
        CExtRegistryKeyHolder sub;
        if (::RegOpenKeyEx(hKey, sName, 0, kAccessReadWrite, &sub) != ERROR_SUCCESS)
            return false;
        if (!RegDeleteKeyTree(sub))
            return false;
        sub.Reset();
        if (::RegDeleteKey(hKey, sName) != ERROR_SUCCESS)
            return false;
    }
    return true;
}

bool RegDeleteKeyOrValue(HKEY hKeyRoot, LPCTSTR sSubKey, LPCTSTR sValueName)
{
    if (sValueName != NULL)
    {
        if (sSubKey == NULL)
            return ::RegDeleteValue(hKeyRoot, sValueName) == ERROR_SUCCESS;
        CExtRegistryKeyHolder key;
        if (::RegOpenKeyEx(hKeyRoot, sSubKey, 0, kAccessReadWrite, &key) != ERROR_SUCCESS)
            return false;
        return ::RegDeleteValue(key, sValueName) == ERROR_SUCCESS;
    }
    if (sSubKey == NULL)
        return false;
    {
        CExtRegistryKeyHolder key;
        if (::RegOpenKeyEx(hKeyRoot, sSubKey, 0, kAccessReadWrite, &key) != ERROR_SUCCESS)
            return false;
        if (!RegDeleteKeyTree(key))
            return false;
    }
    return ::RegDeleteKey(hKeyRoot, sSubKey) == ERROR_SUCCESS;
}

namespace {

bool RegReadValue(HKEY hKeyRoot, LPCTSTR sSubKey, LPCTSTR sValueName, LPBYTE pBuffer, DWORD nBufferSize,
                  bool bString)
{
    if (pBuffer == NULL)
        return false;
    CExtRegistryKeyHolder keyOwned;
    HKEY hKey = hKeyRoot;
    if (sSubKey != NULL)
    {
        if (::RegOpenKeyEx(hKeyRoot, sSubKey, 0, KEY_READ, &keyOwned) != ERROR_SUCCESS)
            return false;
        hKey = keyOwned;
    }
    DWORD nType = 0, nSize = 0;
    if (::RegQueryValueEx(hKey, sValueName, NULL, &nType, NULL, &nSize) != ERROR_SUCCESS)
        return false;
    if (bString)
    {
        if (nType != REG_SZ && nType != REG_EXPAND_SZ && nType != REG_LINK && nType != REG_MULTI_SZ)
            return false;
    }
    else if (nType != REG_BINARY)
        return false;
    if (nSize > nBufferSize)
        return false;
    DWORD cb = nBufferSize;
    if (::RegQueryValueEx(hKey, sValueName, NULL, &nType, pBuffer, &cb) != ERROR_SUCCESS)
        return false;
    if (bString)
    {
        // A stored string need not carry its terminator.
        if (cb < nBufferSize)
            pBuffer[cb] = 0;
        else if (cb == 0 || pBuffer[cb - 1] != 0)
            return false;
    }
    return true;
}

}  // namespace

bool RegReadString(HKEY hKeyRoot, LPCTSTR sSubKey, LPCTSTR sValueName, LPTSTR pBuffer, DWORD nBufferSize)
{
    return RegReadValue(hKeyRoot, sSubKey, sValueName, (LPBYTE)pBuffer, nBufferSize, true);
}

bool RegReadBinary(HKEY hKeyRoot, LPCTSTR sSubKey, LPCTSTR sValueName, LPBYTE pBuffer, DWORD nBufferSize)
{
    return RegReadValue(hKeyRoot, sSubKey, sValueName, pBuffer, nBufferSize, false);
}

bool RegWriteString(HKEY hKey, LPCTSTR sValueName, LPCTSTR sText)
{
    if (hKey == NULL)
        return false;
    if (sText == NULL)
        sText = "";
    return ::RegSetValueEx(hKey, sValueName, 0, REG_SZ, (const BYTE*)sText, (DWORD)lstrlen(sText) + 1) ==
           ERROR_SUCCESS;
}
