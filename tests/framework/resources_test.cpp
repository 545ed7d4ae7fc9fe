// Module handles: defaults before the application sets them, and string look-up that
// falls back from the resource module to the program's own module.
#include <gtest/gtest.h>
#include "framework/resources.h"
#include "framework/str.h"
#include "foundation_test_ids.h"

namespace {
// Restores the module state the test changed.
struct ModuleStateGuard
{
    AFX_MODULE_STATE saved = *AfxGetModuleState();
    ~ModuleStateGuard() { *AfxGetModuleState() = saved; }
};
}  // namespace

TEST(ModuleResources, HandlesDefaultToTheProgram)
{
    ModuleStateGuard guard;
    AfxSetInstanceHandle(NULL);
    AfxSetResourceHandle(NULL);
    EXPECT_EQ(GetModuleHandleA(NULL), AfxGetInstanceHandle());
    EXPECT_EQ(GetModuleHandleA(NULL), AfxGetResourceHandle()) << "resources come from the instance until set";

    HINSTANCE hKernel = GetModuleHandleA("kernel32.dll");
    AfxSetResourceHandle(hKernel);
    EXPECT_EQ(hKernel, AfxGetResourceHandle());
    EXPECT_EQ(GetModuleHandleA(NULL), AfxGetInstanceHandle());
}

TEST(ModuleResources, StringsFallBackToTheInstanceModule)
{
    ModuleStateGuard guard;
    AfxSetInstanceHandle(GetModuleHandleA(NULL));
    // A resource module that does not have our strings.
    AfxSetResourceHandle(GetModuleHandleA("kernel32.dll"));

    EXPECT_EQ(GetModuleHandleA(NULL), AfxFindStringResourceHandle(IDS_FT_HELLO));
    CString s;
    EXPECT_TRUE(s.LoadString(IDS_FT_HELLO));
    EXPECT_STREQ("Hello, resources", (LPCTSTR)s);

    // Nowhere to be found: the resource module is the answer.
    EXPECT_EQ(GetModuleHandleA("kernel32.dll"),
              AfxFindResourceHandle(MAKEINTRESOURCEA(4242), MAKEINTRESOURCEA(4242)));
    char buf[16] = "junk";
    EXPECT_EQ(0, AfxLoadString(IDS_FT_MISSING, buf, sizeof(buf)));
    EXPECT_STREQ("", buf);
}
