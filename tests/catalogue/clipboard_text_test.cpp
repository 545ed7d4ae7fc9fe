// Text on the clipboard as CF_TEXT.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "catalogue/clipboard_text.h"

namespace {

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

}  // namespace
