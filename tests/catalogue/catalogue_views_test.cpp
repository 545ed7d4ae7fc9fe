// The machine's two registry views. A program on 64-bit Windows (the test prefix is a
// 64-bit one), of either build, must list the programs of both. RegOverridePredefKey cannot
// redirect a view under Wine (both views of an overridden root land in one key), so these
// tests create uniquely named keys under the real machine Uninstall key of the private
// test prefix and delete exactly those keys again.
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include "catalogue/catalogue.h"
#include "catalogue_test_util.h"
#include "support/registry_sandbox.h"

using cattest::Collector;
using testsupport::RegistrySandbox;

namespace {

struct SeededKey {
    HKEY root;
    std::string path;
    REGSAM view;
};

// Whether this process meets the machine's two views, asked of the platform itself and not
// of the catalogue: a catalogue that wrongly believes in one view must fail here, not skip.
bool PlatformHasTwoViews() {
    if (sizeof(void*) == 8) return true;
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const IsWow64ProcessFn isWow64 =
        kernel ? reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
               : nullptr;
    BOOL wow = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow) && wow;
}

class CatalogueViews : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PlatformHasTwoViews()) GTEST_SKIP() << "a 32-bit system has one registry view";
        prefix = cattest::UniqueName("PurgeletTest");
    }
    void TearDown() override {
        for (auto it = seeded.rbegin(); it != seeded.rend(); ++it)
            RegistrySandbox::DeleteTree(it->root, it->path, it->view);
    }

    void Set(HKEY root, REGSAM view, const std::string& path, const char* name, const std::string& text) {
        Remember(root, path, view);
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                                 &key, nullptr))
            << path;
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }
    void SetEntry(HKEY root, REGSAM view, const std::string& key, const char* displayName, const char* command) {
        const std::string path = UninstallKeyPath + key;
        if (displayName) Set(root, view, path, "DisplayName", displayName);
        if (command) Set(root, view, path, "UninstallString", command);
        if (!displayName && !command) Set(root, view, path, "Comments", "neither");
    }
    void SetArp(HKEY root, REGSAM view, const std::string& key, int frequency) {
        const std::string path = ArpCacheKeyPath + key;
        Remember(root, path, view);
        const ArpCacheRecord record = cattest::MakeArpRecord(1000, 0, 0, frequency, nullptr);
        HKEY k;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &k, nullptr));
        RegSetValueExA(k, "SlowInfoCache", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record), sizeof(record));
        RegCloseKey(k);
    }
    static bool Exists(HKEY root, REGSAM view, const std::string& path) {
        return RegistrySandbox::KeyExists(root, path, view);
    }

    std::vector<ProgramEntry*> Ours(const Collector& c) const {
        std::vector<ProgramEntry*> ours;
        for (ProgramEntry* e : c.entries)
            if (e->RegistryPath.find(prefix) != std::string::npos) ours.push_back(e);
        return ours;
    }

    std::string prefix;
    std::vector<SeededKey> seeded;
    CVrelPurgelet catalogue;

private:
    void Remember(HKEY root, const std::string& path, REGSAM view) {
        for (const SeededKey& k : seeded)
            if (k.root == root && k.path == path && k.view == view) return;
        seeded.push_back({root, path, view});
    }
};

TEST_F(CatalogueViews, ListsBothMachineViewsEachWithItsOwnCacheAndPath) {
    const std::string only64 = prefix + "-64", only32 = prefix + "-32", twin = prefix + "-Twin";
    SetEntry(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, only64, "Sixty-four", "u64.exe");
    SetArp(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, only64, 64);
    SetEntry(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, only32, "Thirty-two", "u32.exe");
    SetArp(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, only32, 32);
    SetEntry(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, twin, "Twin 64", "t64.exe");
    SetEntry(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, twin, "Twin 32", "t32.exe");
    SetArp(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, twin, 3232);

    Collector c;
    catalogue.Refresh(&c);
    std::vector<ProgramEntry*> ours = Ours(c);
    ASSERT_EQ(4u, ours.size());

    ProgramEntry* e64 = c.Find(only64);
    ASSERT_TRUE(e64 != nullptr);
    EXPECT_EQ(1u, c.All(only64).size());
    EXPECT_TRUE(e64->IsLocalMachine);
    EXPECT_EQ(static_cast<REGSAM>(KEY_WOW64_64KEY), e64->RegView);
    EXPECT_EQ("\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + only64,
              e64->RegistryPath);
    EXPECT_TRUE(e64->HasArpCacheData);
    EXPECT_EQ(64, e64->Frequency);

    ProgramEntry* e32 = c.Find(only32);
    ASSERT_TRUE(e32 != nullptr);
    EXPECT_EQ(1u, c.All(only32).size());
    EXPECT_EQ(static_cast<REGSAM>(KEY_WOW64_32KEY), e32->RegView);
    // The registry editor must be sent to the key where the 32-bit view really lives.
    EXPECT_EQ("\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + only32,
              e32->RegistryPath);
    EXPECT_EQ(32, e32->Frequency);

    std::vector<ProgramEntry*> twins = c.All(twin);
    ASSERT_EQ(2u, twins.size());
    EXPECT_EQ("Twin 64", twins[0]->DisplayName);
    EXPECT_FALSE(twins[0]->HasArpCacheData);  // its cache key exists only in the other view
    EXPECT_EQ("Twin 32", twins[1]->DisplayName);
    EXPECT_TRUE(twins[1]->HasArpCacheData);
    EXPECT_EQ(3232, twins[1]->Frequency);

    // The 64-bit view is read first.
    auto position = [&](ProgramEntry* e) { return std::find(c.entries.begin(), c.entries.end(), e); };
    EXPECT_LT(position(e64), position(e32));
    EXPECT_LT(position(twins[0]), position(twins[1]));
}

TEST_F(CatalogueViews, RemovesAnEntryInTheViewItWasReadFrom) {
    const std::string twin = prefix + "-Twin";
    SetEntry(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, twin, "Twin 64", "t64.exe");
    SetArp(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, twin, 1);
    SetEntry(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, twin, "Twin 32", "t32.exe");
    SetArp(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, twin, 2);

    Collector c;
    catalogue.Refresh(&c);
    std::vector<ProgramEntry*> twins = c.All(twin);
    ASSERT_EQ(2u, twins.size());

    EXPECT_TRUE(twins[1]->RemoveEntry());
    EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, UninstallKeyPath + twin));
    EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, ArpCacheKeyPath + twin));
    EXPECT_TRUE(Exists(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, UninstallKeyPath + twin));
    EXPECT_TRUE(Exists(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, ArpCacheKeyPath + twin));

    EXPECT_TRUE(twins[0]->RemoveEntry());
    EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, UninstallKeyPath + twin));
    EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, ArpCacheKeyPath + twin));
}

// Runs the platform's own uninstaller in list mode and returns the key names it printed
// (lines "key|||display name").
static bool RunPlatformList(std::vector<std::string>* keys, std::string* error) {
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) {
        *error = "CreatePipe failed";
        return false;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    char command[] = "uninstaller.exe --list";
    BOOL started = CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        *error = "uninstaller.exe could not be started";
        return false;
    }
    std::string output;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buf, sizeof(buf), &got, nullptr) && got) output.append(buf, got);
    CloseHandle(readEnd);
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);

    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t bar = line.find("|||");
        if (bar != std::string::npos) keys->push_back(line.substr(0, bar));
        start = end + 1;
    }
    return true;
}

TEST_F(CatalogueViews, ListsWhatThePlatformsUninstallerListsAndMore) {
    const REGSAM views[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    const char* viewNames[] = {"-m64", "-m32"};
    for (int v = 0; v < 2; ++v) {
        const std::string base = prefix + viewNames[v];
        SetEntry(HKEY_LOCAL_MACHINE, views[v], base + "-Full", "Full program", "full.exe");
        SetEntry(HKEY_LOCAL_MACHINE, views[v], base + "-NoName", nullptr, "noname.exe");
        SetEntry(HKEY_LOCAL_MACHINE, views[v], base + "-NoCommand", "No command", nullptr);
        SetEntry(HKEY_LOCAL_MACHINE, views[v], base + "-System", "System part", "sys.exe");
        Set(HKEY_LOCAL_MACHINE, views[v], UninstallKeyPath + base + "-System", "Note", "x");
        HKEY k;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, (UninstallKeyPath + base + "-System").c_str(), 0,
                                               KEY_SET_VALUE | views[v], &k));
        const DWORD one = 1;
        RegSetValueExA(k, "SystemComponent", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
        RegCloseKey(k);
    }
    SetEntry(HKEY_CURRENT_USER, 0, prefix + "-cu-Full", "User program", "user.exe");
    SetEntry(HKEY_CURRENT_USER, 0, prefix + "-cu-NoName", nullptr, "user-noname.exe");

    std::vector<std::string> platform;
    std::string error;
    if (!RunPlatformList(&platform, &error)) GTEST_SKIP() << error;

    Collector c;
    catalogue.Refresh(&c);
    std::multiset<std::string> mine, theirs;
    for (ProgramEntry* e : Ours(c)) mine.insert(e->RegistryPath.substr(e->RegistryPath.rfind('\\') + 1));
    for (const std::string& k : platform)
        if (k.compare(0, prefix.size(), prefix) == 0) theirs.insert(k);

    // The differences, each on purpose:
    // - the platform's list leaves out entries without DisplayName (-NoName) and entries
    //   without UninstallString (-NoCommand); the catalogue keeps them, and the program list
    //   hides the ones without a command only when the user asks it to (option Hide);
    // - it leaves out entries marked SystemComponent (-System); the catalogue lists every
    //   subkey that holds values;
    // - it reads the machine views first and the current user last; the catalogue reads the
    //   current user first. Order is not compared: the program list sorts its rows itself.
    std::multiset<std::string> expectedTheirs = {prefix + "-m64-Full", prefix + "-m32-Full", prefix + "-cu-Full"};
    std::multiset<std::string> expectedMine = expectedTheirs;
    for (const char* v : viewNames)
        for (const char* s : {"-NoName", "-NoCommand", "-System"}) expectedMine.insert(prefix + v + s);
    expectedMine.insert(prefix + "-cu-NoName");

    EXPECT_EQ(expectedTheirs, theirs);
    EXPECT_EQ(expectedMine, mine);
    for (const std::string& k : theirs) EXPECT_EQ(1u, mine.count(k)) << k << " is listed by the platform but not by us";
}

}  // namespace
