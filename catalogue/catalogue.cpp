#include "catalogue/catalogue.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include "catalogue/ansi_text.h"
#include "catalogue/debug_log.h"
#include "catalogue/entry_values.h"
#include "catalogue/module_version.h"
#include "catalogue/registry_access.h"

namespace {

// A subkey name that keeps growing while we read it is given up after this many attempts.
const int kMaxReadAttempts = 4;
// Registry names are at most 16383 characters; no buffer for one grows beyond this.
const size_t kMaxNameBuffer = 32768 + 2;

void Grow(std::vector<wchar_t>& buf, size_t atLeast) {
    if (buf.size() < atLeast) buf.resize(atLeast);
}

// Several readers may fail to open a key at once; the log takes one line at a time.
void LogUnreadable(const char* subkeyName) {
    static CRITICAL_SECTION s_lock;
    static const bool s_ready = (::InitializeCriticalSection(&s_lock), true);
    (void)s_ready;
    ::EnterCriticalSection(&s_lock);
    DebugLog("node = %s\n", subkeyName);
    ::LeaveCriticalSection(&s_lock);
}

// Subkey names of a key, folded, or false when there are more than `limit` of them.
bool FoldedSubkeyNames(HKEY key, DWORD limit, std::vector<std::wstring>& names) {
    DWORD count = 0, maxLen = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, &maxLen, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS ||
        count > limit)
        return false;
    std::vector<wchar_t> name(static_cast<size_t>(maxLen) + 2);
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = static_cast<DWORD>(name.size() - 1);
        LONG rc = ::RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) return false;  // changed meanwhile: fall back to opening each
        names.push_back(registry::FoldedName(std::wstring(name.data(), length)));
    }
    std::sort(names.begin(), names.end());
    return true;
}

// Readers share the server with everything else; a few are enough to keep its requests
// flowing while each one waits for its answer.
const size_t kMaxReaders = 8;
const size_t kMinKeysPerReader = 256;
// How often the refreshing thread, waiting for the other readers, looks at their progress.
const DWORD kProgressStepMs = 100;

}  // namespace

CVrelPurgelet::CVrelPurgelet() = default;

CVrelPurgelet::~CVrelPurgelet() { Clear(nullptr); }

void CVrelPurgelet::Clear(IUninstallManager* manager) {
    // Freeing a long list takes a while: the manager hears that the read is under way.
    for (size_t i = 0; i < m_entries.size(); ++i) {
        delete m_entries[i];
        if (manager && (i & 1023) == 0) manager->Reading();
    }
    m_entries.clear();
    m_entries.shrink_to_fit();
}

bool CVrelPurgelet::Refresh(IUninstallManager* manager) {
    Clear(manager);
    bool complete = true;
    try {
        ScanBuffers buffers;
        EnumerateRoot(HKEY_CURRENT_USER, 0, buffers, manager);
        if (registry::HasTwoMachineViews()) {
            // Each process on 64-bit Windows sees only its own view unless it asks (most
            // programs register through a 32-bit installer): both are read, the 64-bit
            // programs first, as the platform's own list does, in whichever build.
            EnumerateRoot(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, buffers, manager);
            EnumerateRoot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, buffers, manager);
        } else {
            EnumerateRoot(HKEY_LOCAL_MACHINE, 0, buffers, manager);
        }
    } catch (CVrelException&) {
        complete = false;
    }
    Populate(manager);
    return complete;
}

void CVrelPurgelet::Populate(IUninstallManager* manager) {
    if (!manager) return;
    for (size_t i = 0; i < m_entries.size(); ++i) manager->AddProgram(m_entries[i]);
}

struct CVrelPurgelet::Slice {
    const RootScan* scan;
    const std::vector<std::wstring>* names;
    size_t first, last;
    std::vector<ProgramEntry*> out;
    HANDLE thread;
    std::exception_ptr failure;
};

void CVrelPurgelet::EnumerateRoot(HKEY root, REGSAM view, ScanBuffers& buffers, IUninstallManager* manager) {
    HKEY uninstallKey = nullptr;
    if (::RegOpenKeyExA(root, UninstallKeyPath.c_str(), 0, KEY_READ | view, &uninstallKey) != ERROR_SUCCESS) return;

    DWORD subkeyCount = 0, maxSubkeyLen = 0;
    if (::RegQueryInfoKeyW(uninstallKey, nullptr, nullptr, nullptr, &subkeyCount, &maxSubkeyLen, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        ::RegCloseKey(uninstallKey);
        return;
    }

    // Every subkey is opened relative to the keys opened once here: under Wine each
    // registry call is a round trip to the server, so nothing is opened twice. The ARP
    // cache's record names are read once, so that an entry without a record costs no
    // failing open; not when the cache holds more records than there are entries.
    RootScan scan;
    scan.root = root;
    scan.view = view;
    scan.uninstallKey = uninstallKey;
    scan.arpCacheKey = nullptr;
    scan.arpNamesKnown = false;
    if (::RegOpenKeyExA(root, ArpCacheKeyPath.c_str(), 0, KEY_READ | view, &scan.arpCacheKey) != ERROR_SUCCESS)
        scan.arpCacheKey = nullptr;
    else
        scan.arpNamesKnown = FoldedSubkeyNames(scan.arpCacheKey, subkeyCount, scan.arpNames);
    if (!scan.arpNamesKnown) scan.arpNames.clear();

    // The subkeys are enumerated and opened by their exact (wide) names: the ANSI names
    // turn every character the code page lacks into "?", so two keys would read as one
    // name, and that name may open a third key or none.
    std::vector<std::wstring> names;
    names.reserve(subkeyCount);
    std::vector<wchar_t>& name = buffers.keyName;
    Grow(name, static_cast<size_t>(maxSubkeyLen) + 4);
    for (DWORD index = 0; index < subkeyCount; ++index) {
        LONG rc = ERROR_MORE_DATA;
        DWORD length = 0;
        for (int attempt = 0; attempt < kMaxReadAttempts && rc == ERROR_MORE_DATA; ++attempt) {
            length = static_cast<DWORD>(name.size() - 1);
            rc = ::RegEnumKeyExW(uninstallKey, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
            // A subkey with a longer name was added while we read: make room and ask again.
            if (rc == ERROR_MORE_DATA) Grow(name, std::min(name.size() * 2, kMaxNameBuffer));
        }
        if (rc == ERROR_NO_MORE_ITEMS) break;  // subkeys were deleted meanwhile
        if (manager) manager->Reading();
        if (rc != ERROR_SUCCESS || length >= name.size()) continue;
        names.emplace_back(name.data(), length);
    }

    // The programs are read in slices on a few threads and appended slice by slice, so
    // the list keeps the registry's order.
    SYSTEM_INFO si;
    ::GetSystemInfo(&si);
    size_t readers = std::min<size_t>(kMaxReaders, std::max<DWORD>(si.dwNumberOfProcessors, 1));
    readers = std::max<size_t>(1, std::min(readers, names.size() / kMinKeysPerReader));
    std::vector<Slice> slices(readers);
    for (size_t i = 0; i < readers; ++i) {
        Slice& slice = slices[i];
        slice.scan = &scan;
        slice.names = &names;
        slice.first = names.size() * i / readers;
        slice.last = names.size() * (i + 1) / readers;
        slice.thread = i > 0 ? ::CreateThread(nullptr, 0, ReadSlice, &slice, 0, nullptr) : nullptr;
    }
    std::exception_ptr failure;
    try {
        ReadPrograms(scan, names, slices[0].first, slices[0].last, slices[0].out, manager);
        for (size_t i = 1; i < readers; ++i)
            if (!slices[i].thread) ReadPrograms(scan, names, slices[i].first, slices[i].last, slices[i].out, manager);
    } catch (...) {
        failure = std::current_exception();  // once the other readers are done with the keys
    }
    // The other readers may still be at it: the manager hears of their progress, and of none
    // once they stop getting on (a reader that never ends must not pass for work going on).
    size_t keysSeen = scan.keysRead.load();
    for (size_t i = 1; i < readers; ++i) {
        if (!slices[i].thread) continue;
        while (::WaitForSingleObject(slices[i].thread, kProgressStepMs) == WAIT_TIMEOUT) {
            const size_t keysNow = scan.keysRead.load();
            if (manager && keysNow != keysSeen) manager->Reading();
            keysSeen = keysNow;
        }
        ::CloseHandle(slices[i].thread);
    }
    for (Slice& slice : slices) {
        m_entries.insert(m_entries.end(), slice.out.begin(), slice.out.end());
        if (!failure) failure = slice.failure;
    }

    if (scan.arpCacheKey) ::RegCloseKey(scan.arpCacheKey);
    ::RegCloseKey(uninstallKey);
    if (failure) std::rethrow_exception(failure);
}

DWORD WINAPI CVrelPurgelet::ReadSlice(LPVOID param) {
    Slice* slice = static_cast<Slice*>(param);
    try {
        ReadPrograms(*slice->scan, *slice->names, slice->first, slice->last, slice->out);
    } catch (...) {
        slice->failure = std::current_exception();  // the slice keeps what it read
    }
    return 0;
}

void CVrelPurgelet::ReadPrograms(const RootScan& scan, const std::vector<std::wstring>& names, size_t first,
                                 size_t last, std::vector<ProgramEntry*>& out, IUninstallManager* reading) {
    ScanBuffers buffers;
    for (size_t i = first; i < last; ++i) {
        ProgramEntry* entry = ReadProgram(scan, names[i], buffers);
        if (entry) out.push_back(entry);
        scan.keysRead.fetch_add(1, std::memory_order_relaxed);
        if (reading) reading->Reading();
    }
}

void CVrelPurgelet::ReadArpCache(ProgramEntry* entry, HKEY arpKey) {
    ArpCacheRecord record;
    std::memset(&record, 0, sizeof(record));
    DWORD size = sizeof(record);
    DWORD type = 0;
    LONG rc = ::RegQueryValueExA(arpKey, "SlowInfoCache", nullptr, &type, reinterpret_cast<BYTE*>(&record), &size);
    // A missing value, and one too long to be a record (the registry leaves the buffer
    // undefined then), both count as the all-zero record. A short one keeps its zero tail.
    if (rc != ERROR_SUCCESS || size > sizeof(record)) std::memset(&record, 0, sizeof(record));

    if (record.HasName) {
        const int maxUnits = static_cast<int>(sizeof(record.Name) / sizeof(record.Name[0]));
        int units = 0;
        while (units < maxUnits && record.Name[units]) ++units;  // the path may fill the field unterminated
        std::string path;
        if (AnsiFromWide(record.Name, units, path)) entry->ExePath = path;
    }
    entry->SetArpCacheData(record.InstalledSize, record.LastUsed, record.Frequency);
}

ProgramEntry* CVrelPurgelet::ReadProgram(const RootScan& scan, const std::wstring& subkeyName, ScanBuffers& buffers) {
    const HKEY root = scan.root;
    const REGSAM view = scan.view;
    // The name as the code page shows it: for the log and a program without a name.
    const std::string shownName = AnsiText(subkeyName);
    HKEY key = nullptr;
    if (::RegOpenKeyExW(scan.uninstallKey, subkeyName.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        LogUnreadable(shownName.c_str());
        return nullptr;
    }

    DWORD valueCount = 0;
    if (registry::QueryValues(key, valueCount, buffers.values) != ERROR_SUCCESS || valueCount == 0) {
        ::RegCloseKey(key);
        return nullptr;
    }

    std::unique_ptr<ProgramEntry> entry(new ProgramEntry);
    const bool machine = root == HKEY_LOCAL_MACHINE;
    entry->IsLocalMachine = machine ? 1 : 0;
    entry->RegView = view;
    entry->KeyName = subkeyName;
    entry->RegistryPath = AnsiText(entry->GetKey().EditorPath());

    const bool mayHaveRecord =
        scan.arpCacheKey && (!scan.arpNamesKnown || std::binary_search(scan.arpNames.begin(), scan.arpNames.end(),
                                                                       registry::FoldedName(subkeyName)));
    if (mayHaveRecord) {
        HKEY arpKey = nullptr;
        if (::RegOpenKeyExW(scan.arpCacheKey, subkeyName.c_str(), 0, KEY_READ | view, &arpKey) == ERROR_SUCCESS) {
            ReadArpCache(entry.get(), arpKey);
            ::RegCloseKey(arpKey);
        }
    }

    registry::ForEachValue(key, valueCount, buffers.values,
                           [&](const wchar_t* name, DWORD nameLength, DWORD type, const BYTE* data, DWORD size) {
                               ReadValue(entry.get(), name, nameLength, type, data, size);
                           });

    if (entry->DisplayName.empty()) {
        entry->DisplayName = shownName;
        entry->ExactDisplayName = subkeyName;
    }
    if (entry->DisplayIconPath.empty()) entry->DisplayIconPath = entry->ExePath;
    if (entry->Publisher.empty() && !entry->ExePath.empty()) {
        CModuleVersion version;
        version.GetFileVersionInfo(entry->ExePath.c_str());
        entry->Publisher = version.GetValue("CompanyName");
    }

    ::RegCloseKey(key);
    return entry.release();
}

void CVrelPurgelet::ReadValue(ProgramEntry* entry, const wchar_t* name, DWORD nameLength, DWORD type,
                              const BYTE* data, DWORD size) {
    const EntryField field = FieldOfValue(name, nameLength);
    // Only the known fields and the values the details list shows are kept.
    if (field == EntryField::None && type != REG_SZ && type != REG_DWORD) return;
    const std::string text = ShownValueText(type, data, size);

    switch (field) {
    case EntryField::DisplayName:
        entry->DisplayName = text;
        // Kept exactly as well: names that show alike are still two names.
        entry->ExactDisplayName = ExactValueText(type, data, size);
        break;
    case EntryField::UninstallString:
        entry->UninstallString = text;
        break;
    case EntryField::Publisher:
        entry->Publisher = text;
        break;
    case EntryField::DisplayIcon: {
        std::string::size_type comma = text.find(',');
        if (comma != std::string::npos) {
            // strtol rather than atoi: an index too large for an int is clamped, not undefined.
            long index = std::strtol(text.c_str() + comma + 1, nullptr, 10);
            entry->IconIndex = static_cast<int>(index);
            entry->SetDisplayIconPath(text.substr(0, comma));
        } else {
            entry->IconIndex = 0;
            entry->SetDisplayIconPath(text);
        }
        break;
    }
    case EntryField::InstallDate:
        entry->InstallDate = text;
        break;
    case EntryField::InstallLocation:
        entry->InstallLocation = text;
        break;
    case EntryField::QuietUninstallString:
        entry->QuietUninstallString = text;
        break;
    case EntryField::HelpLink:
        entry->HelpLink = text;
        break;
    case EntryField::ModifyPath:
        entry->ModifyPath = text;
        break;
    case EntryField::None:
        break;
    }

    // Listed under the name as spelt, as the code page shows it.
    std::string listedName;
    AnsiFromWide(name, static_cast<int>(nameLength), listedName);
    if (type == REG_SZ) {
        entry->AddValue(listedName, text);
    } else if (type == REG_DWORD) {
        // A value shorter than a DWORD is zero-extended from the bytes that exist.
        DWORD value = 0;
        std::memcpy(&value, data, size < sizeof(value) ? size : sizeof(value));
        char formatted[512];
        std::snprintf(formatted, sizeof(formatted), "%u   (hex: 0x%08X)", static_cast<unsigned>(value),
                      static_cast<unsigned>(value));
        entry->AddValue(listedName, formatted);
    }
}
