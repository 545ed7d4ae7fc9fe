// COleDateTime read from text and carried through an archive.
#include <gtest/gtest.h>
#include <vector>
#include "framework/framework.h"
#include "support/archive_bytes.h"

TEST(OleDateTimeParse, TextGivesValidOrInvalidDates)
{
    const struct { const char* text; bool ok; COleDateTime::DateTimeStatus status; } cases[] = {
        {"2/29/2024 1:05:09 PM", true, COleDateTime::valid},
        {"not a date", false, COleDateTime::invalid},
        {"", false, COleDateTime::invalid},
    };
    for (const auto& c : cases) {
        COleDateTime dt(2000, 1, 1, 0, 0, 0);
        EXPECT_EQ(c.ok, dt.ParseDateTime(c.text, 0, LANG_USER_DEFAULT)) << c.text;
        EXPECT_EQ(c.status, dt.GetStatus()) << c.text;
        if (c.ok) {
            EXPECT_EQ(COleDateTime(2024, 2, 29, 13, 5, 9), dt) << c.text;
        }
    }
    COleDateTime dt;
    EXPECT_FALSE(dt.ParseDateTime(NULL));
    EXPECT_EQ(COleDateTime::invalid, dt.GetStatus());
}

TEST(OleDateTimeParse, ArchiveFormIsStatusThenDate)
{
    COleDateTime dt(2024, 2, 29, 12, 0, 0);
    dt.SetStatus(COleDateTime::null);
    std::vector<BYTE> expected = {2, 0, 0, 0};
    const double d = dt.m_dt;
    expected.insert(expected.end(), (const BYTE*)&d, (const BYTE*)&d + 8);
    EXPECT_EQ(expected, testsupport::StoredBytes([&](CArchive& ar) { ar << dt; }));
    // A status outside the three known ones loads as invalid.
    expected[0] = 9;
    CMemFile file;
    file.Write(expected.data(), (UINT)expected.size());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    COleDateTime loaded;
    ar >> loaded;
    EXPECT_EQ(COleDateTime::invalid, loaded.GetStatus());
    EXPECT_EQ(d, loaded.m_dt);
}
