// Helpers shared by the catalogue tests: a view that records what the catalogue hands
// over, builders for registry values the installers leave behind, and the fixture of
// the group tests.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>
#include "catalogue/catalogue.h"
#include "catalogue/groups.h"
#include "support/import_patch.h"

namespace cattest {

class Collector : public IUninstallManager {
public:
    void AddProgram(ProgramEntry* entry) override { entries.push_back(entry); }
    void Reading() override { ++(entries.empty() ? readingsBeforeFirst : readingsAfter); }

    // The entries whose key name (the last part of RegistryPath) is `key`, in hand-over order.
    std::vector<ProgramEntry*> All(const std::string& key) const {
        std::vector<ProgramEntry*> found;
        for (ProgramEntry* e : entries) {
            std::string::size_type slash = e->RegistryPath.rfind('\\');
            if (slash != std::string::npos && e->RegistryPath.compare(slash + 1, std::string::npos, key) == 0)
                found.push_back(e);
        }
        return found;
    }
    ProgramEntry* Find(const std::string& key) const {
        std::vector<ProgramEntry*> found = All(key);
        return found.empty() ? nullptr : found.front();
    }

    std::vector<ProgramEntry*> entries;
    // How often the catalogue said it was at work, before the first entry and after it.
    int readingsBeforeFirst = 0, readingsAfter = 0;
};

inline ArpCacheRecord MakeArpRecord(LONGLONG size, DWORD lastLow, DWORD lastHigh, int frequency,
                                    const wchar_t* exePath) {
    ArpCacheRecord r;
    ZeroMemory(&r, sizeof(r));
    r.cbSize = sizeof(r);
    r.InstalledSize = size;
    r.LastUsed.dwLowDateTime = lastLow;
    r.LastUsed.dwHighDateTime = lastHigh;
    r.Frequency = frequency;
    if (exePath) {
        r.HasName = 1;
        lstrcpynW(r.Name, exePath, 262);
    }
    return r;
}

// A name no other run or test uses.
inline std::string UniqueName(const char* stem) {
    static LONG counter = 0;
    char buf[96];
    wsprintfA(buf, "%s-%lu-%lu-%ld", stem, GetCurrentProcessId(), GetTickCount(), InterlockedIncrement(&counter));
    return buf;
}

inline std::string ReadWholeFile(const std::string& path, bool* exists = nullptr) {
    std::string data;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (exists) *exists = f != INVALID_HANDLE_VALUE;
    if (f == INVALID_HANDLE_VALUE) return data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof(buf), &got, nullptr) && got) data.append(buf, got);
    CloseHandle(f);
    return data;
}

inline bool WriteWholeFile(const std::string& path, const std::string& data) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == data.size();
}

// UTF-8 text as UTF-16 bytes with the little-endian byte-order mark.
inline std::string Utf16LE(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], n);
    std::string bytes("\xFF\xFE", 2);
    for (wchar_t c : wide) {
        bytes += (char)(c & 0xFF);
        bytes += (char)(c >> 8);
    }
    return bytes;
}

// A fresh empty folder under the temporary folder, removed with its files by the destructor.
class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + UniqueName("purgelet-test");
        CreateDirectoryA(m_path.c_str(), nullptr);
        m_path += "\\";
    }
    ~TempFolder() {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((m_path + "*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                    std::string file = m_path + fd.cFileName;
                    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(file.c_str());
                }
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(m_path.substr(0, m_path.size() - 1).c_str());
    }
    const std::string& Path() const { return m_path; }  // ends in a backslash

private:
    std::string m_path;
};

// The catalogue, linked in statically, calls the platform through this executable's
// import table.
using testsupport::PatchImport;

// The group manager is the process's single instance: every group test starts from
// "Other" alone and leaves it so.
class GroupsTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        CGroupManager::GetInstance()->Clear();
    }
    static GroupEntry* Add(const char* name, std::initializer_list<const char*> keywords) {
        GroupEntry g;
        g.Name = name;
        for (const char* k : keywords) g.AddKeyword(k);
        return CGroupManager::GetInstance()->AddGroup(g);
    }
    CGroupManager* m = CGroupManager::GetInstance();
};

}  // namespace cattest
