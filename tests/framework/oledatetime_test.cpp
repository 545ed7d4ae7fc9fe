#include <gtest/gtest.h>

#include "framework/framework.h"

namespace {

// Automation dates count days from 30 December 1899; before it the fraction still runs
// forwards from midnight.
TEST(OleDateTime, PartsAndSerialValues)
{
    struct { int y, mo, d, h, mi, s; double dt; int dow; } cases[] = {
        {1899, 12, 30, 0, 0, 0, 0.0, 7},       {1899, 12, 29, 6, 0, 0, -1.25, 6},
        {1900, 1, 1, 12, 0, 0, 2.5, 2},        {2000, 2, 29, 18, 0, 0, 36585.75, 3},
        {100, 1, 1, 0, 0, 0, -657434.0, 6},    {9999, 12, 31, 0, 0, 0, 2958465.0, 6},
        {1752, 9, 2, 0, 0, 0, -53809.0, 7}};
    for (const auto& c : cases) {
        COleDateTime dt(c.y, c.mo, c.d, c.h, c.mi, c.s);
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.mo << "-" << c.d);
        EXPECT_EQ(COleDateTime::valid, dt.GetStatus());
        EXPECT_DOUBLE_EQ(c.dt, (DATE)dt);
        COleDateTime back(c.dt);
        EXPECT_EQ(c.y, back.GetYear());
        EXPECT_EQ(c.mo, back.GetMonth());
        EXPECT_EQ(c.d, back.GetDay());
        EXPECT_EQ(c.h, back.GetHour());
        EXPECT_EQ(c.dow, back.GetDayOfWeek());
    }
}

TEST(OleDateTime, OutOfRangePartsMakeTheDateInvalid)
{
    struct { int y, mo, d, h, mi, s; } cases[] = {
        {99, 12, 31, 0, 0, 0}, {10000, 1, 1, 0, 0, 0}, {2023, 2, 29, 0, 0, 0},
        {2024, 13, 1, 0, 0, 0}, {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0}};
    for (const auto& c : cases) {
        COleDateTime dt(c.y, c.mo, c.d, c.h, c.mi, c.s);
        EXPECT_EQ(COleDateTime::invalid, dt.GetStatus()) << c.y << "-" << c.mo << "-" << c.d;
        EXPECT_EQ(-1, dt.GetYear());
    }
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(DATE(2958466.0)).GetStatus());
}

TEST(OleDateTime, SpansAndOrderingAcrossTheEpoch)
{
    COleDateTime a(1899, 12, 29, 18, 0, 0), b(1899, 12, 29, 6, 0, 0);
    EXPECT_TRUE(b < a);  // -1.25 lies before -1.75 in time
    COleDateTime c = b + COleDateTimeSpan(0, 12, 0, 0);
    EXPECT_EQ(18, c.GetHour());
    EXPECT_EQ(29, c.GetDay());
    COleDateTime d = COleDateTime(2024, 2, 28, 0, 0, 0) + COleDateTimeSpan(2, 0, 0, 0);
    EXPECT_EQ(3, d.GetMonth());
    EXPECT_EQ(1, d.GetDay());
    EXPECT_DOUBLE_EQ(1.5, (double)(a - COleDateTime(1899, 12, 28, 6, 0, 0)));
    COleDateTime n;
    n.SetStatus(COleDateTime::null);
    EXPECT_EQ(COleDateTime::null, (n + COleDateTimeSpan(1, 0, 0, 0)).GetStatus());
}

}  // namespace
