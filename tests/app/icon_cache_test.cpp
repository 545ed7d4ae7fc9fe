// The icon cache: keys by exact bytes, overwriting without destroying, and one shared
// default icon destroyed once with the cache.
#include "app/icon_cache.h"
#include <gtest/gtest.h>

namespace {

HICON MakeIcon()
{
    BYTE andMask[32 * 4], xorMask[32 * 4];
    memset(andMask, 0xFF, sizeof(andMask));
    memset(xorMask, 0, sizeof(xorMask));
    return ::CreateIcon(::GetModuleHandleA(NULL), 32, 32, 1, 1, andMask, xorMask);
}

bool IsIconAlive(HICON hIcon)
{
    ICONINFO info = {};
    if (!::GetIconInfo(hIcon, &info)) return false;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return true;
}

}  // namespace

TEST(IconCache, KeysDifferingInCaseAreDifferentEntries)
{
    CExtIconCache cache;
    HICON a = MakeIcon(), b = MakeIcon();
    cache.Add("C:\\App\\app.exe", a);
    cache.Add("c:\\app\\APP.EXE", b);
    EXPECT_EQ(2, cache.GetCount());
    EXPECT_EQ(a, cache.Find("C:\\App\\app.exe"));
    EXPECT_EQ(b, cache.Find("c:\\app\\APP.EXE"));
    EXPECT_EQ(nullptr, cache.Find("C:\\APP\\APP.EXE"));
    EXPECT_EQ(nullptr, cache.Find(NULL));
}

TEST(IconCache, ANullIconIsStoredButNotFound)
{
    CExtIconCache cache;
    cache.Add("none.exe", NULL);
    EXPECT_EQ(1, cache.GetCount());
    EXPECT_EQ(nullptr, cache.Find("none.exe"));
}

TEST(IconCache, OverwritingAnEntryLeavesTheOldIconAlone)
{
    HICON first = MakeIcon(), second = MakeIcon();
    {
        CExtIconCache cache;
        cache.Add("x.exe", first);
        cache.Add("x.exe", second);
        EXPECT_EQ(1, cache.GetCount());
        EXPECT_EQ(second, cache.Find("x.exe"));
        EXPECT_TRUE(IsIconAlive(first));
    }
    // The cache destroyed what it held, and only that.
    EXPECT_TRUE(IsIconAlive(first));
    EXPECT_FALSE(IsIconAlive(second));
    ::DestroyIcon(first);
}

TEST(IconCache, TheDefaultIconIsSmallAndOutlivesEveryEntryThatSharesIt)
{
    HICON hDefault = NULL;
    HICON own = MakeIcon();
    {
        CExtIconCache cache;
        hDefault = cache.GetDefaultIcon();
        ASSERT_NE(nullptr, hDefault);
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(hDefault, &info));
        BITMAP bm = {};
        ::GetObjectA(info.hbmColor != NULL ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), bm.bmWidth);
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);

        cache.Add("one.exe", hDefault);
        cache.Add("two.exe", hDefault);
        cache.Add("three.exe", own);
        EXPECT_EQ(hDefault, cache.Find("one.exe"));
        EXPECT_EQ(hDefault, cache.Find("two.exe"));
        EXPECT_TRUE(IsIconAlive(hDefault));
    }
    EXPECT_FALSE(IsIconAlive(hDefault));
    EXPECT_FALSE(IsIconAlive(own));
}

TEST(IconCache, ThePlainCacheDestroysEveryStoredIcon)
{
    HICON a = MakeIcon();
    {
        CExtIconCacheImpl cache;
        cache.Add("a", a);
        cache.Add("b", NULL);
    }
    EXPECT_FALSE(IsIconAlive(a));
}
