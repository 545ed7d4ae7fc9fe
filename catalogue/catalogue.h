// The catalogue of installed programs: reads every Uninstall subkey of the current user
// and of the machine (both registry views on 64-bit Windows) into program entries, adds
// the Add/Remove Programs cache figures, and hands the entries to a view.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>
#include <vector>
#include "catalogue/program_entry.h"
#include "catalogue/registry_access.h"

// The catalogue's own failure; Refresh catches it and answers false.
class CVrelException {
public:
    explicit CVrelException(const char* reason = "") : m_reason(reason ? reason : "") {}
    virtual ~CVrelException() = default;
    const std::string& GetReason() const { return m_reason; }

private:
    std::string m_reason;
};

class CVrelPurgelet {
public:
    CVrelPurgelet();
    ~CVrelPurgelet();
    CVrelPurgelet(const CVrelPurgelet&) = delete;
    CVrelPurgelet& operator=(const CVrelPurgelet&) = delete;

    // Reads the registry afresh and hands every entry to `manager`. Every entry pointer of
    // the previous scan is invalid from the moment this starts. False when the catalogue's
    // own failure cut the scan short: the entries read until then are handed over all the
    // same, and telling the user is the caller's part (the catalogue has no window).
    bool Refresh(IUninstallManager* manager);
    // Hands the entries already read to `manager` again, in list order.
    void Populate(IUninstallManager* manager);
    // Frees every entry; `manager`, when given, hears that work goes on while many go.
    void Clear(IUninstallManager* manager = nullptr);

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    ProgramEntry* GetAt(int index) const {
        return index >= 0 && index < GetCount() ? m_entries[static_cast<size_t>(index)] : nullptr;
    }

private:
    // Scratch buffers of one scan, grown as needed and reused for every key.
    struct ScanBuffers {
        std::vector<wchar_t> keyName;
        registry::ValueBuffers values;
    };

    // What the readers of one root share: its open keys and the ARP cache's record names.
    struct RootScan {
        HKEY root;
        REGSAM view;
        HKEY uninstallKey;
        HKEY arpCacheKey;
        bool arpNamesKnown;               // else each entry tries to open its record
        std::vector<std::wstring> arpNames;  // folded to one case, sorted
        mutable std::atomic<size_t> keysRead{0};  // by all readers, for the progress told
    };

    void EnumerateRoot(HKEY root, REGSAM view, ScanBuffers& buffers, IUninstallManager* manager);
    // Reads the programs of names[first, last) in order; a thread runs this for each slice.
    // The calling thread of Refresh passes its manager, which hears of every key read.
    static void ReadPrograms(const RootScan& scan, const std::vector<std::wstring>& names, size_t first, size_t last,
                             std::vector<ProgramEntry*>& out, IUninstallManager* reading = nullptr);
    static ProgramEntry* ReadProgram(const RootScan& scan, const std::wstring& subkeyName, ScanBuffers& buffers);
    struct Slice;
    static DWORD WINAPI ReadSlice(LPVOID param);
    // Fills what one value of a program's key gives: a known field (found by its name as
    // the registry compares names), and the value as the details list shows it.
    static void ReadValue(ProgramEntry* entry, const wchar_t* name, DWORD nameLength, DWORD type, const BYTE* data,
                          DWORD size);
    static void ReadArpCache(ProgramEntry* entry, HKEY arpKey);

    std::vector<ProgramEntry*> m_entries;
};
