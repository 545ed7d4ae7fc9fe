// The shared test helpers work under Wine: the registry sandbox really redirects the
// predefined keys and cleans up, and the DIB canvas reads back what GDI painted.
#include <gtest/gtest.h>
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"

using testsupport::RegistrySandbox;

TEST(SupportRegistrySandbox, RedirectsPredefinedKeysAndCleansUp) {
    std::string path;
    {
        RegistrySandbox box;
        path = box.Path();
        ASSERT_TRUE(box.Root() != nullptr);
        ASSERT_TRUE(box.Override(HKEY_LOCAL_MACHINE, "HKLM"));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, "Software\\Probe", "Name", "value"));
        box.RestoreOverrides();
        // The write landed inside the sandbox, not in the real HKEY_LOCAL_MACHINE.
        EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_LOCAL_MACHINE, "Software\\Probe"));
        char buf[32] = {};
        DWORD size = sizeof(buf), type = 0;
        HKEY k;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(box.Root(), "HKLM\\Software\\Probe", 0, KEY_READ, &k));
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(k, "Name", nullptr, &type, (BYTE*)buf, &size));
        RegCloseKey(k);
        EXPECT_STREQ("value", buf);
        EXPECT_EQ((DWORD)REG_SZ, type);
    }
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, path));
}

TEST(SupportDibCanvas, ReadsBackExactColours) {
    testsupport::DibCanvas canvas(20, 10, RGB(255, 255, 255));
    RECT r = {2, 3, 6, 5};
    HBRUSH b = CreateSolidBrush(RGB(10, 20, 30));
    FillRect(canvas.Dc(), &r, b);
    DeleteObject(b);
    EXPECT_EQ(RGB(10, 20, 30), canvas.Pixel(2, 3));
    EXPECT_EQ(RGB(10, 20, 30), canvas.Pixel(5, 4));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(6, 4));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(2, 5));
    EXPECT_EQ(8, canvas.Count(RGB(10, 20, 30), RECT{0, 0, 20, 10}));
    EXPECT_EQ(CLR_INVALID, canvas.Pixel(20, 0));
}

TEST(SupportMessagePump, DeliversPostedMessagesWithinBound) {
    HWND w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(w != nullptr);
    PostMessageA(w, WM_NULL, 0, 0);
    EXPECT_GE(testsupport::PumpPending(), 1);
    EXPECT_TRUE(testsupport::PumpUntil([] { return true; }, 10));
    DestroyWindow(w);
}
