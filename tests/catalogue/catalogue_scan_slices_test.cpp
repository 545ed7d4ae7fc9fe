// A catalogue large enough to be read in slices on several threads: the entries keep the
// registry's order, and each finds its ARP cache record by name, whatever its case,
// while records without an entry are passed over.
#include <gtest/gtest.h>
#include <cstdio>
#include "catalogue/catalogue.h"
#include "catalogue_test_util.h"
#include "support/registry_sandbox.h"

using testsupport::RegistrySandbox;

TEST(CatalogueSlices, LargeScanKeepsOrderAndArpRecords) {
    RegistrySandbox box;
    ASSERT_TRUE(box.Override(HKEY_CURRENT_USER, "HKCU"));
    ASSERT_TRUE(box.Override(HKEY_LOCAL_MACHINE, "HKLM"));
    const int kEntries = 700;
    for (int i = 0; i < kEntries; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "Entry%04d", i);
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + name, "DisplayName", name));
        if (i % 3 == 0) {
            // Every third has a record, some under a name in other letter case.
            std::string arp = name;
            if (i % 2) arp[0] = 'e';
            ArpCacheRecord r = cattest::MakeArpRecord(1000 + i, 0, 0, i, nullptr);
            ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, ArpCacheKeyPath + arp, "SlowInfoCache", &r,
                                                   sizeof(r)));
        }
    }
    ArpCacheRecord stale = cattest::MakeArpRecord(5, 0, 0, 0, nullptr);
    ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, ArpCacheKeyPath + "Gone", "SlowInfoCache", &stale,
                                           sizeof(stale)));

    CVrelPurgelet catalogue;
    cattest::Collector c;
    catalogue.Refresh(&c);
    box.RestoreOverrides();
    ASSERT_EQ((size_t)kEntries, c.entries.size());
    for (int i = 0; i < kEntries; ++i) {
        const ProgramEntry* e = c.entries[(size_t)i];
        char name[32];
        std::snprintf(name, sizeof(name), "Entry%04d", i);
        SCOPED_TRACE(name);
        EXPECT_EQ(name, e->DisplayName);
        EXPECT_EQ(i % 3 == 0 ? 1 : 0, e->HasArpCacheData);
        if (i % 3 == 0) {
            EXPECT_EQ(1000 + i, e->InstalledSize);
        }
    }
}
