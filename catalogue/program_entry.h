// One installed program as the catalogue read it from an Uninstall subkey, and the
// interface through which the catalogue hands entries to a view.
#pragma once
#include <windows.h>
#include <map>
#include <string>

// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" and the ARP cache key; both end in a
// backslash so that a subkey name can be appended directly.
extern const std::string UninstallKeyPath;
extern const std::string ArpCacheKeyPath;

// The layout of the ARP cache's "SlowInfoCache" value (little-endian, 552 bytes).
#pragma pack(push, 4)
struct ArpCacheRecord {
    DWORD cbSize;          // byte size of the record as written; not relied on
    DWORD HasName;         // nonzero when Name holds the executable's path
    LONGLONG InstalledSize;  // bytes; -1 when none is recorded
    FILETIME LastUsed;
    int Frequency;
    WCHAR Name[262];  // the program's executable path, NUL-terminated when it fits
};
#pragma pack(pop)
static_assert(sizeof(ArpCacheRecord) == 552, "ARP cache record layout");

// What names an entry in the registry: its root, its view and its key's exact name. It
// is a copy that outlives the entry (a refresh frees every entry), so a question asked
// about one program is answered for that program alone.
struct ProgramEntryKey {
    BOOL IsLocalMachine = 0;
    REGSAM RegView = 0;
    std::string RegistryPath;  // as shown; may hold "?" where the code page lacks a character
    std::wstring KeyName;      // the Uninstall subkey's exact name: what every lookup uses

    // What a removal of the program that the user confirmed by its name came to.
    enum RemoveOutcome {
        Removed,  // both keys are gone
        Gone,     // the Uninstall key was not there (any more); nothing was deleted
        Changed,  // the key now shows another program; nothing was deleted
        Failed,   // the registry refused; `error` says why
    };
    struct RemoveResult {
        RemoveOutcome outcome;
        LONG error;  // the registry's answer when Failed, else ERROR_SUCCESS
    };

    HKEY Root() const;
    // Whether this key and another name the same registry key (root, view and exact
    // name): how a program is found again among the entries of a later refresh.
    bool SameAs(const ProgramEntryKey& other) const;
    // The key's full path as the registry editor's tree shows it, with the exact name:
    // "\HKEY_CURRENT_USER\SOFTWARE\...\Uninstall\" and the name (the machine's
    // 32-bit view under its "Wow6432Node" path).
    std::wstring EditorPath() const;
    // Whether the entry's Uninstall subkey is still there in its root and view; false only
    // when the registry says it is not (a key that cannot be opened is still there).
    bool Exists() const;
    // As ProgramEntry::RemoveEntry, for the entry this key names.
    BOOL Remove() const;
    // Removes the entry's keys only while its Uninstall key still shows exactly
    // `exactName` (an entry's ExactDisplayName: read as the list reads it, the key's own
    // name when it has none, and compared as wide text, so that another program whose
    // name merely shows alike in the code page is not taken for it): the key may have
    // been rewritten for another program since the name was shown. Only a key that is
    // not found counts as gone; any other failure is Failed with the registry's answer.
    RemoveResult RemoveIfNamed(const std::wstring& exactName) const;
};

class ProgramEntry {
public:
    ProgramEntry();

    std::string RegistryPath;  // for showing: a name outside the code page shows its "?"
    std::string DisplayName;
    // The display name exactly as the registry holds it (the key's name when it has
    // none); DisplayName is its ANSI form, which names outside the code page share.
    std::wstring ExactDisplayName;
    std::string UninstallString;
    std::string QuietUninstallString;
    std::string ModifyPath;
    std::string Publisher;
    std::string InstallLocation;
    std::string HelpLink;
    std::string InstallDate;
    std::string DisplayIconPath;
    int IconIndex;
    BOOL HasArpCacheData;
    LONGLONG InstalledSize;
    FILETIME LastUsed;
    int Frequency;
    std::string ExePath;
    std::map<std::string, std::string> Values;  // byte-wise order of the value names
    BOOL IsLocalMachine;
    // The registry view the entry was read in: 0 (the process's own), KEY_WOW64_64KEY or
    // KEY_WOW64_32KEY. A 32-bit process on 64-bit Windows reads both machine views, and
    // removing an entry must delete it in the view it came from.
    REGSAM RegView;
    // The Uninstall subkey's exact name. RegistryPath is its ANSI form, which may name
    // another key (or none): the registry is asked by this name alone.
    std::wstring KeyName;

    void SetArpCacheData(LONGLONG installedSize, const FILETIME& lastUsed, int frequency);
    void SetDisplayIconPath(const std::string& text);
    void AddValue(const std::string& name, const std::string& text);

    // Deletes the entry's Uninstall subkey and then its ARP cache subkey (by KeyName) under
    // the root and view it was read from. FALSE when the Uninstall subkey exists but could not be
    // deleted (access denied, subkeys of its own; the ARP cache key is then left alone), or
    // when an existing ARP cache key could not be deleted. A key that is already gone is
    // not a failure. Subkeys are never deleted. The entry stays until the next refresh.
    BOOL RemoveEntry();
    // The copy of what names this entry in the registry.
    ProgramEntryKey GetKey() const;
    // Whether this entry is the one `key` names (as ProgramEntryKey::SameAs), asked of the
    // entry itself: a list that looks for a program among thousands of rows builds no copy.
    bool HasKey(const ProgramEntryKey& key) const;
};

class IUninstallManager {
public:
    virtual void AddProgram(ProgramEntry* entry) = 0;
    // Called on the refreshing thread, now and then while the registry is read and before
    // the first AddProgram, as long as the reading gets on: a view whose thread takes no
    // messages meanwhile can tell that it is at work, not stuck.
    virtual void Reading() {}

protected:
    ~IUninstallManager() = default;
};
