// Text on the clipboard as CF_TEXT, owned by the window the caller gives.
#include "app_test_app.h"
#include "app/clipboard_text.h"
#include "support/import_patch.h"
#include <gtest/gtest.h>
#include <string>

using testsupport::PatchImport;

namespace {

HANDLE g_refusedBlock = NULL;
HANDLE WINAPI RefuseClipboardData(UINT, HANDLE block)
{
    g_refusedBlock = block;
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
}

typedef HGLOBAL(WINAPI* GlobalFreeFn)(HGLOBAL);
GlobalFreeFn g_realGlobalFree = NULL;
HGLOBAL g_freedBlock = NULL;
HGLOBAL WINAPI RecordGlobalFree(HGLOBAL block)
{
    if (block == g_refusedBlock) g_freedBlock = block;
    return g_realGlobalFree(block);  // not GlobalFree: that would come back here
}

std::string ReadClipboard()
{
    std::string text = "(none)";
    if (!::OpenClipboard(NULL)) return "(busy)";
    HANDLE data = ::GetClipboardData(CF_TEXT);
    if (data != NULL) {
        const char* p = (const char*)::GlobalLock(data);
        if (p != NULL) text = p;
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

class ClipboardText : public testing::Test
{
protected:
    void SetUp() override
    {
        m_hOwner = ::CreateWindowExA(0, "Static", "owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(m_hOwner != NULL);
    }
    void TearDown() override
    {
        if (m_hOwner != NULL) ::DestroyWindow(m_hOwner);
    }
    CWnd* Owner() { return CWnd::FromHandle(m_hOwner); }

    HWND m_hOwner = NULL;
};

TEST_F(ClipboardText, PutsTheTextOnTheClipboardOwnedByTheGivenWindow)
{
    CopyToClipboard(Owner(), "Alpha Suite \xE9");
    EXPECT_EQ("Alpha Suite \xE9", ReadClipboard());
    EXPECT_EQ(m_hOwner, ::GetClipboardOwner());
    CopyToClipboard(NULL, "x");
    EXPECT_EQ("x", ReadClipboard());
}

TEST_F(ClipboardText, AnEmptyTextLeavesTheClipboardAlone)
{
    CopyToClipboard(Owner(), "kept");
    CopyToClipboard(Owner(), "");
    CopyToClipboard(Owner(), NULL);
    EXPECT_EQ("kept", ReadClipboard());
}

TEST_F(ClipboardText, ABlockTheClipboardRefusesIsFreed)
{
    CopyToClipboard(Owner(), "before");
    void* realSet = PatchImport("user32.dll", "SetClipboardData", (void*)&RefuseClipboardData);
    ASSERT_TRUE(realSet != NULL);
    g_realGlobalFree = (GlobalFreeFn)(void*)::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GlobalFree");
    void* realFree = PatchImport("kernel32.dll", "GlobalFree", (void*)&RecordGlobalFree);
    g_refusedBlock = g_freedBlock = NULL;
    CopyToClipboard(Owner(), "refused");
    PatchImport("user32.dll", "SetClipboardData", realSet);
    if (realFree != NULL) PatchImport("kernel32.dll", "GlobalFree", realFree);
    ASSERT_TRUE(realFree != NULL);

    ASSERT_TRUE(g_refusedBlock != NULL);
    EXPECT_EQ(g_refusedBlock, g_freedBlock);
    // The clipboard was emptied before the refusal; nothing of the old text is left.
    EXPECT_EQ("(none)", ReadClipboard());
}

}  // namespace
