#include "app/groups_kept.h"
#include "catalogue/groups_file.h"
#include "framework/framework.h"
#include <map>

namespace
{

// The section and its one value: every change in one binary value, so that the changes
// are kept whole or not at all. Each change: its Id, which sides it has (1: as the file
// held it, 2: as here), then each side: its name and its keywords, a count first. Every
// number is four bytes, low byte first; a text is its length and its bytes.
const char kKeptSection[] = "Groups Not Stored";
const char kKeptValue[] = "Groups";
const DWORD kSideBase = 1, kSideHere = 2;
const char kUntoldSection[] = "Groups Not Told";
const char kUntoldValue[] = "Text";
// More than any groups a user keeps: a larger value is no kept change of this program.
const DWORD kMaxKeptBytes = 16 * 1024 * 1024;

void PutNumber(std::string& bytes, DWORD nNumber)
{
    for (int i = 0; i < 4; ++i) bytes += (char)((nNumber >> (8 * i)) & 0xFF);
}

void PutText(std::string& bytes, const std::string& text)
{
    PutNumber(bytes, (DWORD)text.size());
    bytes += text;
}

void PutGroup(std::string& bytes, const GroupEntry& group)
{
    PutText(bytes, group.Name);
    PutNumber(bytes, (DWORD)group.Keywords.size());
    for (const std::string& keyword : group.Keywords) PutText(bytes, keyword);
}

// Reads the kept bytes in order; every read fails past their end.
class KeptReader
{
public:
    KeptReader(const std::vector<BYTE>& bytes) : m_bytes(bytes), m_nAt(0) {}
    bool AtEnd() const { return m_nAt == m_bytes.size(); }
    bool Number(DWORD& nNumber)
    {
        if (m_bytes.size() - m_nAt < 4) return false;
        nNumber = 0;
        for (int i = 0; i < 4; ++i) nNumber |= (DWORD)m_bytes[m_nAt + i] << (8 * i);
        m_nAt += 4;
        return true;
    }
    bool Text(std::string& text)
    {
        DWORD nLength = 0;
        if (!Number(nLength) || nLength > m_bytes.size() - m_nAt) return false;
        text.assign((const char*)m_bytes.data() + m_nAt, nLength);
        m_nAt += nLength;
        return true;
    }
    bool Group(GroupEntry& group)
    {
        DWORD nCount = 0;
        // Each keyword takes four bytes at least: a count beyond that is no group.
        if (!Text(group.Name) || !Number(nCount) || nCount > (m_bytes.size() - m_nAt) / 4) return false;
        group.Keywords.resize(nCount);
        for (std::string& keyword : group.Keywords)
            if (!Text(keyword)) return false;
        return true;
    }
    // A group as changed here holds only what the groups file can: one it cannot would make
    // every save fail, and be kept again at every end.
    bool StorableGroup(GroupEntry& group)
    {
        if (!Group(group) || !GroupsFileTextFault(group.Name).empty()) return false;
        for (const std::string& keyword : group.Keywords)
            if (!GroupsFileTextFault(keyword).empty()) return false;
        return true;
    }

private:
    const std::vector<BYTE>& m_bytes;
    size_t m_nAt;
};

bool ReadSectionBytes(HKEY hKey, const char* pszValue, std::vector<BYTE>& bytes)
{
    DWORD dwType = 0, cbData = 0;
    if (::RegQueryValueExA(hKey, pszValue, NULL, &dwType, NULL, &cbData) != ERROR_SUCCESS || dwType != REG_BINARY ||
        cbData > kMaxKeptBytes)
        return false;
    bytes.assign(cbData, 0);
    DWORD cbRead = cbData;
    if (::RegQueryValueExA(hKey, pszValue, NULL, &dwType, bytes.data(), &cbRead) != ERROR_SUCCESS ||
        dwType != REG_BINARY || cbRead > cbData)
        return false;
    bytes.resize(cbRead);
    return true;
}

}  // namespace

HKEY OpenProgramSection(const char* pszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pApp->m_pszRegistryKey == NULL || pApp->m_pszProfileName == NULL) return NULL;
    const std::string key = std::string("Software\\") + pApp->m_pszRegistryKey + "\\" + pApp->m_pszProfileName +
                            "\\" + pszSection;
    HKEY hKey = NULL;
    return ::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &hKey) == ERROR_SUCCESS ? hKey : NULL;
}

bool ReadSectionText(HKEY hKey, const char* pszValue, std::string& text)
{
    DWORD dwType = 0, cbData = 0;
    if (::RegQueryValueExA(hKey, pszValue, NULL, &dwType, NULL, &cbData) != ERROR_SUCCESS || dwType != REG_SZ)
        return false;
    std::vector<char> data(cbData + 1, '\0');
    if (::RegQueryValueExA(hKey, pszValue, NULL, &dwType, (LPBYTE)data.data(), &cbData) != ERROR_SUCCESS ||
        dwType != REG_SZ)
        return false;
    text = data.data();
    return true;
}

bool ReadSectionNumber(HKEY hKey, const char* pszValue, DWORD& nNumber)
{
    DWORD dwType = 0, cbData = sizeof(nNumber);
    return ::RegQueryValueExA(hKey, pszValue, NULL, &dwType, (LPBYTE)&nNumber, &cbData) == ERROR_SUCCESS &&
           dwType == REG_DWORD && cbData == sizeof(nNumber);
}

void ForgetProgramSection(const char* pszSection)
{
    // Opened first: deleting a section that is not there would make the program's key.
    HKEY hKey = OpenProgramSection(pszSection);
    if (hKey == NULL) return;
    ::RegCloseKey(hKey);
    AfxGetApp()->WriteProfileString(pszSection, NULL, NULL);
}

std::vector<KeptGroupChange> GroupChangesBetween(const std::vector<GroupEntry>& base,
                                                 const std::vector<GroupEntry>& here, const std::set<int>& unstated)
{
    std::map<int, const GroupEntry*> hereById, baseById;
    for (const GroupEntry& group : here) hereById[group.Id] = &group;
    for (const GroupEntry& group : base) baseById[group.Id] = &group;
    std::vector<KeptGroupChange> changes;
    for (const GroupEntry& group : base) {
        std::map<int, const GroupEntry*>::const_iterator it = hereById.find(group.Id);
        if (it != hereById.end() && it->second->Name == group.Name && it->second->Keywords == group.Keywords) continue;
        KeptGroupChange change;
        change.nId = unstated.count(group.Id) ? 0 : group.Id;
        change.bBase = true;
        change.base = group;
        change.bHere = it != hereById.end();
        if (change.bHere) change.here = *it->second;
        changes.push_back(change);
    }
    for (const GroupEntry& group : here) {
        if (baseById.count(group.Id)) continue;
        KeptGroupChange change;
        change.bHere = true;
        change.here = group;
        changes.push_back(change);
    }
    return changes;
}

bool KeepGroupChanges(const std::vector<KeptGroupChange>& changes)
{
    if (changes.empty()) {
        ForgetProgramSection(kKeptSection);
        return true;
    }
    std::string bytes;
    for (const KeptGroupChange& change : changes) {
        PutNumber(bytes, (DWORD)change.nId);
        PutNumber(bytes, (change.bBase ? kSideBase : 0) | (change.bHere ? kSideHere : 0));
        if (change.bBase) PutGroup(bytes, change.base);
        if (change.bHere) PutGroup(bytes, change.here);
    }
    return AfxGetApp()->WriteProfileBinary(kKeptSection, kKeptValue, (LPBYTE)&bytes[0], (UINT)bytes.size()) != FALSE;
}

void KeepUntoldText(const std::string& text)
{
    if (!text.empty()) AfxGetApp()->WriteProfileString(kUntoldSection, kUntoldValue, text.c_str());
}

std::string TakeUntoldText()
{
    HKEY hKey = OpenProgramSection(kUntoldSection);
    if (hKey == NULL) return std::string();
    std::string text;
    ReadSectionText(hKey, kUntoldValue, text);
    ::RegCloseKey(hKey);
    ForgetProgramSection(kUntoldSection);
    return text;
}

bool ReadKeptGroupChanges(std::vector<KeptGroupChange>* changes)
{
    changes->clear();
    HKEY hKey = OpenProgramSection(kKeptSection);
    if (hKey == NULL) return false;
    std::vector<BYTE> bytes;
    const bool bRead = ReadSectionBytes(hKey, kKeptValue, bytes);
    ::RegCloseKey(hKey);
    if (!bRead) return false;
    KeptReader reader(bytes);
    while (!reader.AtEnd()) {
        KeptGroupChange change;
        DWORD nId = 0, nSides = 0;
        if (!reader.Number(nId) || !reader.Number(nSides) || nId > (DWORD)kMaxGroupId || nSides == 0 ||
            nSides > (kSideBase | kSideHere)) {
            changes->clear();
            return false;
        }
        change.nId = (int)nId;
        change.bBase = (nSides & kSideBase) != 0;
        change.bHere = (nSides & kSideHere) != 0;
        if ((change.bBase && !reader.Group(change.base)) || (change.bHere && !reader.StorableGroup(change.here))) {
            changes->clear();
            return false;
        }
        changes->push_back(change);
    }
    return !changes->empty();
}
