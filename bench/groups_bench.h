#pragma once
// What the groups file benchmarks share: the bench's file in the temp folder, a groups
// file of so many groups and keywords written there, the groups model emptied between
// loads, and the program's store set up without its window.
#include <windows.h>
#include <cstdio>
#include <string>
#include "catalogue/groups.h"
#include "framework/app.h"
#include "support/registry_sandbox.h"

// The groups file's text up to its first group and from its last on.
const char* const GroupsBenchHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n";
const char* const GroupsBenchTail = "</Purgelet>\n</NimboPurgelet>\n";

// The file the bench named `name` works on, in the temp folder.
inline std::string GroupsBenchPath(const std::string& name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

inline bool GroupsBenchWrite(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return true;
}

// A groups file of `groups` groups (Ids from 2, named "Group 0" on) of `keywords` keywords
// each, keyword k of group i being keyword(i, k).
template <class KeywordText>
bool GroupsBenchWriteFile(const std::string& path, int groups, int keywords, KeywordText keyword) {
    std::string text = GroupsBenchHead;
    for (int i = 0; i < groups; ++i) {
        text += "<Group Id=\"" + std::to_string(i + 2) + "\" Name=\"Group " + std::to_string(i) + "\">\n";
        for (int k = 0; k < keywords; ++k) text += "<Keyword>" + keyword(i, k) + "</Keyword>\n";
        text += "</Group>\n";
    }
    text += GroupsBenchTail;
    return GroupsBenchWrite(path, text);
}

// The program's store as a run has it, for a bench without the main window: the
// framework's registry key, and the user's hive redirected to a scratch key so that the
// store's kept changes stay out of the user's. False, and said, when it cannot be redirected.
inline bool GroupsBenchStoreSetUp(CWinApp& app, testsupport::RegistrySandbox& box) {
    AfxWinInit(::GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    app.SetRegistryKey("Corvalin");
    if (box.Override(HKEY_CURRENT_USER, "HKCU")) return true;
    std::printf("could not redirect the registry\n");
    return false;
}
