#include "catalogue/program_entry.h"
#include "catalogue/entry_values.h"
#include "catalogue/registry_access.h"

const std::string UninstallKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string ArpCacheKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\";

ProgramEntry::ProgramEntry()
    : IconIndex(0),
      HasArpCacheData(0),
      InstalledSize(0),
      LastUsed(),
      Frequency(0),
      IsLocalMachine(0),
      RegView(0) {}

void ProgramEntry::SetArpCacheData(LONGLONG installedSize, const FILETIME& lastUsed, int frequency) {
    InstalledSize = installedSize;
    LastUsed = lastUsed;
    Frequency = frequency;
    HasArpCacheData = 1;
}

void ProgramEntry::SetDisplayIconPath(const std::string& text) { DisplayIconPath = text; }

void ProgramEntry::AddValue(const std::string& name, const std::string& text) { Values[name] = text; }

namespace {

// Where the machine's 32-bit view really lives on 64-bit Windows; the registry editor
// must be sent there to show an entry read through KEY_WOW64_32KEY.
const wchar_t kWow64UninstallKeyPath[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::wstring WideOf(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Opens `subkey` (exact name) below `parentPath` of `root` in `view`, with the parent open
// too when `parent` is given. The registry's answer: ERROR_FILE_NOT_FOUND when either key
// is not there.
LONG OpenBelow(HKEY root, const std::string& parentPath, const std::wstring& subkey, REGSAM view, REGSAM access,
               HKEY* parent, HKEY* key) {
    HKEY parentKey = nullptr;
    LONG rc = ::RegOpenKeyExA(root, parentPath.c_str(), 0, KEY_READ | view, &parentKey);
    if (rc != ERROR_SUCCESS) return rc;
    if (key) {
        rc = ::RegOpenKeyExW(parentKey, subkey.c_str(), 0, access | view, key);
        if (rc != ERROR_SUCCESS) *key = nullptr;
    }
    if (parent && rc == ERROR_SUCCESS)
        *parent = parentKey;
    else
        ::RegCloseKey(parentKey);
    return rc;
}

// Deletes `subkey` below `parentPath` of `root` in `view`. Returns ERROR_SUCCESS, or
// ERROR_FILE_NOT_FOUND when the key (or its parent) does not exist, or the error.
LONG DeleteOneKey(HKEY root, const std::string& parentPath, const std::wstring& subkey, REGSAM view) {
    HKEY parent = nullptr;
    LONG rc = OpenBelow(root, parentPath, subkey, view, 0, &parent, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    rc = registry::DeleteKey(parent, subkey.c_str(), view);
    ::RegCloseKey(parent);
    return rc;
}

// One rule for what names the same registry key, whether the one side is a key's copy or
// an entry itself: root, view, exact name, and the name as shown. The cheap fields first.
bool NamesSameKey(BOOL isLocalMachine, REGSAM regView, const std::wstring& keyName, const std::string& registryPath,
                  const ProgramEntryKey& key) {
    return (isLocalMachine != 0) == (key.IsLocalMachine != 0) && regView == key.RegView && keyName == key.KeyName &&
           registryPath == key.RegistryPath;
}

// Only "not found" means gone: access denied and the like leave the key where it is.
bool IsGone(LONG rc) { return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND; }

}  // namespace

HKEY ProgramEntryKey::Root() const { return IsLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

bool ProgramEntryKey::SameAs(const ProgramEntryKey& other) const {
    return NamesSameKey(IsLocalMachine, RegView, KeyName, RegistryPath, other);
}

std::wstring ProgramEntryKey::EditorPath() const {
    std::wstring path = IsLocalMachine ? L"\\HKEY_LOCAL_MACHINE\\" : L"\\HKEY_CURRENT_USER\\";
    path += (IsLocalMachine && RegView == KEY_WOW64_32KEY) ? std::wstring(kWow64UninstallKeyPath)
                                                           : WideOf(UninstallKeyPath);
    return path + KeyName;
}

bool ProgramEntryKey::Exists() const {
    if (KeyName.empty()) return false;
    HKEY key = nullptr;
    const LONG rc = OpenBelow(Root(), UninstallKeyPath, KeyName, RegView, KEY_READ, nullptr, &key);
    if (key) ::RegCloseKey(key);
    return rc != ERROR_FILE_NOT_FOUND;
}

BOOL ProgramEntryKey::Remove() const {
    if (KeyName.empty()) return FALSE;  // never ask the registry to delete the Uninstall key itself
    const HKEY root = Root();

    if (!IsGone(DeleteOneKey(root, UninstallKeyPath, KeyName, RegView))) return FALSE;
    // The entry is gone from the list now; its cached size and usage belong to nothing.
    if (!IsGone(DeleteOneKey(root, ArpCacheKeyPath, KeyName, RegView))) return FALSE;
    return TRUE;
}

ProgramEntryKey::RemoveResult ProgramEntryKey::RemoveIfNamed(const std::wstring& exactName) const {
    if (KeyName.empty()) return {Failed, ERROR_INVALID_NAME};
    const HKEY root = Root();
    HKEY parent = nullptr, key = nullptr;
    LONG rc = OpenBelow(root, UninstallKeyPath, KeyName, RegView, KEY_QUERY_VALUE, &parent, &key);
    if (rc == ERROR_FILE_NOT_FOUND) return {Gone, ERROR_SUCCESS};
    if (rc != ERROR_SUCCESS) return {Failed, rc};

    // Read under the key itself just before it goes: a key rewritten for another program
    // under the same name is that program's now.
    std::wstring shown;
    rc = ReadExactDisplayName(key, KeyName, shown);
    ::RegCloseKey(key);
    RemoveResult result = {Removed, ERROR_SUCCESS};
    if (rc != ERROR_SUCCESS)
        result = {Failed, rc};
    else if (shown != exactName)
        result = {Changed, ERROR_SUCCESS};
    else if ((rc = registry::DeleteKey(parent, KeyName.c_str(), RegView)) == ERROR_FILE_NOT_FOUND)
        result = {Gone, ERROR_SUCCESS};
    else if (rc != ERROR_SUCCESS)
        result = {Failed, rc};
    ::RegCloseKey(parent);
    if (result.outcome != Removed) return result;

    rc = DeleteOneKey(root, ArpCacheKeyPath, KeyName, RegView);
    if (!IsGone(rc)) return {Failed, rc};
    return result;
}

ProgramEntryKey ProgramEntry::GetKey() const {
    ProgramEntryKey key;
    key.IsLocalMachine = IsLocalMachine;
    key.RegView = RegView;
    key.RegistryPath = RegistryPath;
    key.KeyName = KeyName;
    return key;
}

bool ProgramEntry::HasKey(const ProgramEntryKey& key) const {
    return NamesSameKey(IsLocalMachine, RegView, KeyName, RegistryPath, key);
}

BOOL ProgramEntry::RemoveEntry() { return GetKey().Remove(); }
