#include "catalogue/program_entry.h"
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

// Deletes `subkey` below `parentPath` of `root` in `view`. Returns ERROR_SUCCESS, or
// ERROR_FILE_NOT_FOUND when the key (or its parent) does not exist, or the error.
static LONG DeleteOneKey(HKEY root, const std::string& parentPath, const std::string& subkey, REGSAM view) {
    HKEY parent = nullptr;
    LONG rc = ::RegOpenKeyExA(root, parentPath.c_str(), 0, KEY_READ | view, &parent);
    if (rc != ERROR_SUCCESS) return rc;
    rc = registry::DeleteKey(parent, subkey.c_str(), view);
    ::RegCloseKey(parent);
    return rc;
}

static bool IsGone(LONG rc) { return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND; }

// The entry's own subkey name (the part of RegistryPath after its last backslash), or
// "" when there is none: the Uninstall key itself is never the entry's key.
static std::string EntrySubkey(const std::string& registryPath) {
    std::string::size_type slash = registryPath.rfind('\\');
    if (slash == std::string::npos) return std::string();
    return registryPath.substr(slash + 1);
}

HKEY ProgramEntryKey::Root() const { return IsLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

bool ProgramEntryKey::SameAs(const ProgramEntryKey& other) const {
    return (IsLocalMachine != 0) == (other.IsLocalMachine != 0) && RegView == other.RegView &&
           RegistryPath == other.RegistryPath;
}

bool ProgramEntryKey::Exists() const {
    const std::string subkey = EntrySubkey(RegistryPath);
    if (subkey.empty()) return false;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(Root(), (UninstallKeyPath + subkey).c_str(), 0, KEY_READ | RegView, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

BOOL ProgramEntryKey::Remove() const {
    const std::string subkey = EntrySubkey(RegistryPath);
    if (subkey.empty()) return FALSE;  // never ask the registry to delete the Uninstall key itself
    const HKEY root = Root();

    if (!IsGone(DeleteOneKey(root, UninstallKeyPath, subkey, RegView))) return FALSE;
    // The entry is gone from the list now; its cached size and usage belong to nothing.
    if (!IsGone(DeleteOneKey(root, ArpCacheKeyPath, subkey, RegView))) return FALSE;
    return TRUE;
}

ProgramEntryKey ProgramEntry::GetKey() const {
    ProgramEntryKey key;
    key.IsLocalMachine = IsLocalMachine;
    key.RegView = RegView;
    key.RegistryPath = RegistryPath;
    return key;
}

BOOL ProgramEntry::RemoveEntry() { return GetKey().Remove(); }
