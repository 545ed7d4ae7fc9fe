// The framework's toolbar button styles must agree with the common-control bits they
// are turned into when buttons are handed to the toolbar control.
#include <gtest/gtest.h>
#include "framework/framework.h"

TEST(ResourceIds, ToolbarButtonStylesAreTheControlsStyleAndStateBits) {
    struct Case { const char* name; DWORD tbbs; DWORD expected; };
    const Case cases[] = {
        {"TBBS_BUTTON", TBBS_BUTTON, MAKELONG(TBSTYLE_BUTTON, 0)},
        {"TBBS_SEPARATOR", TBBS_SEPARATOR, MAKELONG(TBSTYLE_SEP, 0)},
        {"TBBS_CHECKBOX", TBBS_CHECKBOX, MAKELONG(TBSTYLE_CHECK, 0)},
        {"TBBS_GROUP", TBBS_GROUP, MAKELONG(TBSTYLE_GROUP, 0)},
        {"TBBS_CHECKGROUP", TBBS_CHECKGROUP, MAKELONG(TBSTYLE_CHECKGROUP, 0)},
        {"TBBS_DROPDOWN", TBBS_DROPDOWN, MAKELONG(TBSTYLE_DROPDOWN, 0)},
        {"TBBS_AUTOSIZE", TBBS_AUTOSIZE, MAKELONG(TBSTYLE_AUTOSIZE, 0)},
        {"TBBS_NOPREFIX", TBBS_NOPREFIX, MAKELONG(TBSTYLE_NOPREFIX, 0)},
        {"TBBS_CHECKED", TBBS_CHECKED, MAKELONG(0, TBSTATE_CHECKED)},
        {"TBBS_PRESSED", TBBS_PRESSED, MAKELONG(0, TBSTATE_PRESSED)},
        {"TBBS_DISABLED", TBBS_DISABLED, MAKELONG(0, TBSTATE_ENABLED)},
        {"TBBS_HIDDEN", TBBS_HIDDEN, MAKELONG(0, TBSTATE_HIDDEN)},
        {"TBBS_INDETERMINATE", TBBS_INDETERMINATE, MAKELONG(0, TBSTATE_INDETERMINATE)},
        {"TBBS_WRAPPED", TBBS_WRAPPED, MAKELONG(0, TBSTATE_WRAP)},
        {"TBBS_ELLIPSES", TBBS_ELLIPSES, MAKELONG(0, TBSTATE_ELLIPSES)},
        {"TBBS_MARKED", TBBS_MARKED, MAKELONG(0, TBSTATE_MARKED)},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, c.tbbs) << c.name;
}
