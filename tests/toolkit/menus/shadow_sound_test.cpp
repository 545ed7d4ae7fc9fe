// The popup shadow's pixels (gradient, rounded ends, tint, cache, dithered form) and
// the menu sound player's serialisation on its worker threads.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "toolkit/menus/popup_shadow.h"
#include "toolkit/menus/sound_player.h"
#include "toolkit/theme/paint_manager.h"

#include <atomic>
#include <string>
#include <vector>

using testsupport::DibCanvas;

namespace {

// The popup covers (10,10)-(50,40); the strips lie right of and below it.
const RECT kPopup = {10, 10, 50, 40};
const RECT kEmpty = {0, 0, 0, 0};

COLORREF Darkened(COLORREF clr, int nPercent)
{
    return RGB(GetRValue(clr) * nPercent / 100, GetGValue(clr) * nPercent / 100, GetBValue(clr) * nPercent / 100);
}

bool PaintShadow(CExtPopupShadow& shadow, DibCanvas& canvas, int nSize = 4, int nDark = 75, int nLight = 100,
                 bool bKeep = true)
{
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    return shadow.Paint(NULL, *pDC, kPopup, kEmpty, kEmpty, nSize, nDark, nLight, bKeep, false);
}

}  // namespace

TEST(PopupShadow, GradientFadesOutwardsWithRoundedEnds)
{
    const COLORREF clrBack = RGB(200, 120, 40);
    DibCanvas canvas(80, 60, clrBack);
    CExtPopupShadow shadow;
    ASSERT_TRUE(PaintShadow(shadow, canvas));

    // Columns of the right strip at mid height: 75, 81, 87, 93 percent.
    const int nExpected[4] = {75, 81, 87, 93};
    for (int i = 0; i < 4; i++)
    {
        EXPECT_EQ(canvas.Pixel(50 + i, 25), Darkened(clrBack, nExpected[i])) << "right strip column " << i;
        EXPECT_EQ(canvas.Pixel(30, 40 + i), Darkened(clrBack, nExpected[i])) << "bottom strip row " << i;
    }
    // The bottom-right square: the inner corner is darkest, the outer one untouched.
    EXPECT_EQ(canvas.Pixel(50, 40), Darkened(clrBack, 75));
    EXPECT_EQ(canvas.Pixel(53, 43), clrBack) << "(3,3) lies outside the rounding";
    EXPECT_EQ(canvas.Pixel(52, 42), Darkened(clrBack, 2 * 25 / 4 + 75)) << "sqrt(8) truncates to 2";
    // The top end of the right strip and the left end of the bottom strip are rounded.
    EXPECT_EQ(canvas.Pixel(53, 10), clrBack);
    EXPECT_EQ(canvas.Pixel(50, 10), Darkened(clrBack, 3 * 25 / 4 + 75));
    EXPECT_EQ(canvas.Pixel(10, 43), clrBack);
    // The popup area and what lies beyond the strips are not touched.
    EXPECT_EQ(canvas.Pixel(30, 25), clrBack);
    EXPECT_EQ(canvas.Pixel(54, 25), clrBack);
    EXPECT_EQ(canvas.Pixel(30, 44), clrBack);
    EXPECT_TRUE(shadow.HasCache());
}

TEST(PopupShadow, TheTipsPercentagesAndTheTint)
{
    EXPECT_EQ(CExtPopupShadow::StripPercent(0, 4, 70, 95), 70);
    EXPECT_EQ(CExtPopupShadow::StripPercent(3, 4, 70, 95), 88);
    EXPECT_EQ(CExtPopupShadow::CornerPercent(3, 3, 4, 75, 100), -1);
    EXPECT_EQ(CExtPopupShadow::CornerPercent(0, 4, 4, 75, 100), 100);
    // Without tint each channel scales; a white tint lifts the shadow to full brightness.
    EXPECT_EQ(CExtPopupShadow::DarkenPixel(0x00C87828, 50, COLORREF(-1)), 0x00643C14u);
    EXPECT_EQ(CExtPopupShadow::DarkenPixel(0x00C87828, 50, RGB(255, 255, 255)), 0x00C87828u);
    // A black tint is no tint; a red one lightens only the red channel.
    EXPECT_EQ(CExtPopupShadow::DarkenPixel(0x00C87828, 50, RGB(0, 0, 0)), 0x00643C14u);
    EXPECT_EQ(CExtPopupShadow::DarkenPixel(0x00C87828, 50, RGB(255, 0, 0)), 0x00C83C14u);
}

TEST(PopupShadow, RepaintsFromTheCacheUntilReset)
{
    const COLORREF clrFirst = RGB(255, 255, 255), clrSecond = RGB(0, 0, 255);
    DibCanvas canvas(80, 60, clrFirst);
    CExtPopupShadow shadow;
    ASSERT_TRUE(PaintShadow(shadow, canvas));
    canvas.Fill(clrSecond);
    ASSERT_TRUE(PaintShadow(shadow, canvas));
    EXPECT_EQ(canvas.Pixel(50, 25), Darkened(clrFirst, 75)) << "the cached strips were copied";
    EXPECT_EQ(canvas.Pixel(30, 25), clrSecond);

    shadow.Reset();
    EXPECT_FALSE(shadow.HasCapture());
    EXPECT_FALSE(shadow.HasCache());
    canvas.Fill(clrSecond);  // the popup went away: the screen shows no shadow now
    ASSERT_TRUE(PaintShadow(shadow, canvas));
    EXPECT_EQ(canvas.Pixel(50, 25), Darkened(clrSecond, 75)) << "the screen was captured again";
}

TEST(PopupShadow, ZeroSizeOrEmptyPopupPaintsNothing)
{
    DibCanvas canvas(80, 60, RGB(255, 255, 255));
    CExtPopupShadow shadow;
    EXPECT_TRUE(PaintShadow(shadow, canvas, 0));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    EXPECT_TRUE(shadow.Paint(NULL, *pDC, kEmpty, kEmpty, kEmpty, 4, 75, 100, true, false));
    RECT rcAll = {0, 0, 80, 60};
    EXPECT_EQ(canvas.Count(RGB(255, 255, 255), rcAll), 80 * 60);
    EXPECT_FALSE(shadow.HasCapture());
}

TEST(PopupShadow, PaletteScreensGetTheDitherPattern)
{
    CExtPaintManager::g_nScreenBitsPerPixelOverride = 8;
    DibCanvas canvas(80, 60, RGB(255, 255, 255));
    CExtPopupShadow shadow;
    bool bPainted = PaintShadow(shadow, canvas, 4, 75, 100, false);
    CExtPaintManager::g_nScreenBitsPerPixelOverride = 0;
    ASSERT_TRUE(bPainted);
    // Rows 0 and 4 of the pattern (0x55) blacken even columns, rows 2 and 6 (0xAA) odd
    // ones; the odd rows (0xFF) stay as they were.
    for (int y = 16; y < 24; y++)
    {
        for (int x = 50; x < 54; x++)
        {
            bool bBlack = false;
            if (y % 4 == 0)
                bBlack = (x % 2) == 0;
            else if (y % 4 == 2)
                bBlack = (x % 2) == 1;
            EXPECT_EQ(canvas.Pixel(x, y), bBlack ? RGB(0, 0, 0) : RGB(255, 255, 255)) << "x " << x << " y " << y;
        }
    }
}

// ---------------------------------------------------------------------------------------
namespace {

std::atomic<int> g_nPlays{0};
std::vector<std::string> g_calls;
CRITICAL_SECTION g_callsLock;
HANDLE g_hRelease = NULL;  // a playing "MenuCommand" waits for this

BOOL WINAPI FakePlaySound(LPCSTR pszSound, HMODULE, DWORD fdwSound)
{
    ::EnterCriticalSection(&g_callsLock);
    g_calls.push_back(pszSound == NULL ? std::string("<purge>") : std::string(pszSound) + "/" + std::to_string(fdwSound));
    ::LeaveCriticalSection(&g_callsLock);
    if (pszSound != NULL)
    {
        g_nPlays++;
        if ((fdwSound & SND_ASYNC) == 0 && g_hRelease != NULL)
            ::WaitForSingleObject(g_hRelease, 10000);
    }
    return TRUE;
}

std::atomic<int> g_nThreadsAsked{0};
HANDLE WINAPI FailingCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD)
{
    g_nThreadsAsked++;
    return NULL;
}

// Waits until no sound is handled and leaves the idle state as it found it.
bool WaitIdle()
{
    HANDLE h = CExtSoundPlayer::stat_GetIdleEvent().m_hObject;
    if (::WaitForSingleObject(h, 10000) != WAIT_OBJECT_0)
        return false;
    ::SetEvent(h);
    return true;
}

class SoundPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::InitializeCriticalSection(&g_callsLock);
        g_calls.clear();
        g_nPlays = 0;
        g_nThreadsAsked = 0;
        g_hRelease = ::CreateEvent(NULL, TRUE, FALSE, NULL);
        ASSERT_TRUE(WaitIdle());
        CExtSoundPlayer::g_pfnPlaySound = FakePlaySound;
    }
    void TearDown() override
    {
        ::SetEvent(g_hRelease);
        WaitIdle();
        CExtSoundPlayer::g_pfnPlaySound = m_pfnOldPlay;
        CExtSoundPlayer::g_pfnCreateThread = m_pfnOldCreate;
        ::CloseHandle(g_hRelease);
        g_hRelease = NULL;
        ::DeleteCriticalSection(&g_callsLock);
    }
    std::vector<std::string> Calls()
    {
        ::EnterCriticalSection(&g_callsLock);
        std::vector<std::string> v = g_calls;
        ::LeaveCriticalSection(&g_callsLock);
        return v;
    }
    CExtSoundPlayer::pfnPlaySound_t m_pfnOldPlay = CExtSoundPlayer::g_pfnPlaySound;
    CExtSoundPlayer::pfnCreateThread_t m_pfnOldCreate = CExtSoundPlayer::g_pfnCreateThread;
};

}  // namespace

TEST_F(SoundPlayerTest, EventsMapToAliasesAndFlags)
{
    struct
    {
        int nEvent;
        const char* sAlias;
        DWORD dwFlags;
    } cases[] = {{1, "MenuPopup", 0x12003}, {2, "MenuPopup", 0x12003}, {3, "MenuCommand", 0x12002}};
    for (const auto& c : cases)
    {
        LPCTSTR sAlias = NULL;
        DWORD dwFlags = 0;
        ASSERT_TRUE(CExtSoundPlayer::stat_MapEvent(c.nEvent, sAlias, dwFlags)) << "event " << c.nEvent;
        EXPECT_STREQ(sAlias, c.sAlias) << "event " << c.nEvent;
        EXPECT_EQ(dwFlags, c.dwFlags) << "event " << c.nEvent;
    }
    for (int nEvent : {0, 4, -1})
    {
        LPCTSTR sAlias = NULL;
        DWORD dwFlags = 0;
        EXPECT_FALSE(CExtSoundPlayer::stat_MapEvent(nEvent, sAlias, dwFlags)) << "event " << nEvent;
    }
}

TEST_F(SoundPlayerTest, NoSoundEventsStartNoThread)
{
    CExtSoundPlayer::g_pfnCreateThread = FailingCreateThread;
    g_MenuSoundPlayer->PlaySound(0);
    g_MenuSoundPlayer->PlaySound(4);
    EXPECT_EQ(g_nThreadsAsked.load(), 0);
}

TEST_F(SoundPlayerTest, ARequestWhileASoundPlaysIsDropped)
{
    // The first command sound blocks its worker; the caller is not blocked.
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_CMD_CLICKED);
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_CMD_CLICKED);
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_POPUP_DISPLAYED);
    ::SetEvent(g_hRelease);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Calls(), (std::vector<std::string>{"MenuCommand/" + std::to_string(0x12002)}));

    // Idle again: the next request plays, an asynchronous one purging first.
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_POPUP_DISPLAYED);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Calls(), (std::vector<std::string>{"MenuCommand/" + std::to_string(0x12002), "<purge>",
                                                 "MenuPopup/" + std::to_string(0x12003)}));
}

TEST_F(SoundPlayerTest, AFailedThreadLeavesThePlayerIdle)
{
    CExtSoundPlayer::g_pfnCreateThread = FailingCreateThread;
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_CMD_CLICKED);
    EXPECT_EQ(g_nThreadsAsked.load(), 1);
    CExtSoundPlayer::g_pfnCreateThread = m_pfnOldCreate;
    ::SetEvent(g_hRelease);
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_CMD_CLICKED);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(g_nPlays.load(), 1);
}

TEST_F(SoundPlayerTest, ThePlatformSoundNeverBlocksTheCaller)
{
    // Wine may have no audio device; the worker must still finish.
    CExtSoundPlayer::g_pfnPlaySound = m_pfnOldPlay;
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_CMD_CLICKED);
    EXPECT_TRUE(WaitIdle());
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_POPUP_DISPLAYED);
    EXPECT_TRUE(WaitIdle());
}

TEST(PopupShadow, NoShadowFallsOnTheOwnerOfACombinedPopup)
{
    // A drop-down combined with the button above-right of its bottom strip: the button
    // (48,40)-(70,58) touches the popup's right part below it.
    const COLORREF clrBack = RGB(255, 255, 255);
    DibCanvas canvas(80, 60, clrBack);
    CExtPopupShadow shadow;
    const RECT rcOwner = {48, 40, 70, 58};
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    ASSERT_TRUE(shadow.Paint(NULL, *pDC, kPopup, rcOwner, kPopup, 4, 75, 100, true, false));
    EXPECT_EQ(canvas.Pixel(30, 40), Darkened(clrBack, 75)) << "the bottom strip away from the owner";
    EXPECT_EQ(canvas.Pixel(48, 40), clrBack) << "on the owner";
    EXPECT_EQ(canvas.Pixel(51, 42), clrBack) << "the corner square lies on the owner";
    EXPECT_EQ(canvas.Pixel(51, 25), Darkened(clrBack, 81)) << "the right strip above the owner";
}

namespace {
DWORD WINAPI RequestFromAnotherThread(LPVOID)
{
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_CMD_CLICKED);
    return 0;
}
}  // namespace

TEST_F(SoundPlayerTest, ADroppedRequestLeavesTheLockFree)
{
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_CMD_CLICKED);
    g_MenuSoundPlayer->PlaySound(CExtSoundPlayer::__ON_MENU_CMD_CLICKED);  // dropped
    // Another thread's request must not wait for a lock the dropped one kept.
    HANDLE hThread = ::CreateThread(NULL, 0, RequestFromAnotherThread, NULL, 0, NULL);
    ASSERT_NE(hThread, (HANDLE)NULL);
    EXPECT_EQ(::WaitForSingleObject(hThread, 2000), WAIT_OBJECT_0);
    ::CloseHandle(hThread);
    ::SetEvent(g_hRelease);
    ASSERT_TRUE(WaitIdle());
}
