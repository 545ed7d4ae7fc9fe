#include <gtest/gtest.h>

#include "framework/framework.h"

// The locale form of a date: the automation conversion's text, an empty text for a null
// date and the fixed text for an invalid one.
TEST(OleDateTimeLocaleFormat, StatusAndAutomationText)
{
    const LCID lcidUS = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
    COleDateTime dt(2020, 5, 17, 13, 45, 0);
    EXPECT_STREQ("5/17/2020", dt.Format(VAR_DATEVALUEONLY, lcidUS));
    EXPECT_STREQ("1:45:00 PM", dt.Format(VAR_TIMEVALUEONLY, lcidUS));
    COleDateTime empty;
    empty.SetStatus(COleDateTime::null);
    EXPECT_STREQ("", empty.Format(0, lcidUS));
    COleDateTime bad;
    bad.SetStatus(COleDateTime::invalid);
    EXPECT_STREQ("Invalid DateTime", bad.Format());
    // The strftime form is still there for a pattern.
    EXPECT_STREQ("2020-05-17", dt.Format("%Y-%m-%d"));
}
