// Text on the clipboard as CF_TEXT.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "catalogue/clipboard_text.h"

namespace {

// Replaces the import `function` of `dll` in this executable's import table (through
// which the catalogue, linked in statically, calls the platform) and returns the old
// address, or null when the import is not there.
void* PatchImport(const char* dll, const char* function, void* replacement) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    IMAGE_NT_HEADERS* nt =
        reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return nullptr;
    for (IMAGE_IMPORT_DESCRIPTOR* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name;
         ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0 || !d->OriginalFirstThunk) continue;
        IMAGE_THUNK_DATA* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            IMAGE_IMPORT_BY_NAME* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old)) return nullptr;
            void* previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<DWORD_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
            return previous;
        }
    }
    return nullptr;
}

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
    void* realSet = PatchImport("user32.dll", "SetClipboardData", reinterpret_cast<void*>(&RefuseClipboardData));
    ASSERT_TRUE(realSet != nullptr);
    g_realGlobalFree = reinterpret_cast<GlobalFreeFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GlobalFree")));
    void* realFree = PatchImport("kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&RecordGlobalFree));
    g_refusedBlock = g_freedBlock = nullptr;
    CopyToClipboard("refused");
    PatchImport("user32.dll", "SetClipboardData", realSet);
    if (realFree) PatchImport("kernel32.dll", "GlobalFree", realFree);
    ASSERT_TRUE(realFree != nullptr);

    ASSERT_TRUE(g_refusedBlock != nullptr);
    EXPECT_EQ(g_refusedBlock, g_freedBlock);
    // The clipboard was emptied before the refusal; nothing of the old text is left.
    EXPECT_EQ("(none)", ClipboardText());
}

}  // namespace
