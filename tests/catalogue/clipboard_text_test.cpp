// Text on the clipboard as CF_TEXT.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "catalogue/clipboard_text.h"
#include "catalogue_test_util.h"

namespace {

HANDLE g_refusedBlock = nullptr;
HANDLE WINAPI RefuseClipboardData(UINT, HANDLE block) {
    g_refusedBlock = block;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

typedef HGLOBAL(WINAPI* GlobalFreeFn)(HGLOBAL);
GlobalFreeFn g_realGlobalFree = nullptr;
HGLOBAL g_freedBlock = nullptr;
HGLOBAL WINAPI RecordGlobalFree(HGLOBAL block) {
    if (block == g_refusedBlock) g_freedBlock = block;
    return g_realGlobalFree(block);  // not GlobalFree: that would come back here
}

std::string ClipboardText() {
    std::string text = "(none)";
    if (!OpenClipboard(nullptr)) return "(busy)";
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        const char* p = static_cast<const char*>(GlobalLock(data));
        if (p) text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

TEST(ClipboardText, PutsTheTextOnTheClipboard) {
    CopyToClipboard("Alpha Suite \xE9");
    EXPECT_EQ("Alpha Suite \xE9", ClipboardText());
    CopyToClipboard("x");
    EXPECT_EQ("x", ClipboardText());
}

TEST(ClipboardText, AnEmptyTextLeavesTheClipboardAlone) {
    CopyToClipboard("kept");
    CopyToClipboard("");
    CopyToClipboard(nullptr);
    EXPECT_EQ("kept", ClipboardText());
}

TEST(ClipboardText, ABlockTheClipboardRefusesIsFreed) {
    CopyToClipboard("before");
    void* realSet = cattest::PatchImport("user32.dll", "SetClipboardData", reinterpret_cast<void*>(&RefuseClipboardData));
    ASSERT_TRUE(realSet != nullptr);
    g_realGlobalFree = reinterpret_cast<GlobalFreeFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GlobalFree")));
    void* realFree = cattest::PatchImport("kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&RecordGlobalFree));
    g_refusedBlock = g_freedBlock = nullptr;
    CopyToClipboard("refused");
    cattest::PatchImport("user32.dll", "SetClipboardData", realSet);
    if (realFree) cattest::PatchImport("kernel32.dll", "GlobalFree", realFree);
    ASSERT_TRUE(realFree != nullptr);

    ASSERT_TRUE(g_refusedBlock != nullptr);
    EXPECT_EQ(g_refusedBlock, g_freedBlock);
    // The clipboard was emptied before the refusal; nothing of the old text is left.
    EXPECT_EQ("(none)", ClipboardText());
}

}  // namespace
