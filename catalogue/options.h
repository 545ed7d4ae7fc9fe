// The ten persisted options of the program, kept in global objects for the whole run
// and stored through the application's profile functions (section = the application's
// profile name): integers as REG_DWORD, colours as "r,g,b" text, booleans as "TRUE" /
// "FALSE" text.
#pragma once
#include <string>

class OptionValue {
public:
    OptionValue(int defaultValue, const char* name);

    int Value;         // a COLORREF for colours, 0 or 1 for booleans
    std::string Name;  // the registry value name
    bool Changed = false;  // set by whoever changes Value

    // Each keeps Value when nothing usable is stored. Integers are saved through the
    // application's WriteProfileInt directly.
    void LoadInt(const char* section);
    void LoadColor(const char* section);
    void LoadBool(const char* section);
    void SaveColor(const char* section) const;
    void SaveBool(const char* section) const;
};

extern OptionValue g_SizeType;     // unit of the Size column: 0 bytes, 1 KB, 2 MB, 3 GB
extern OptionValue g_GridColor1;   // first alternating row colour of the program list
extern OptionValue g_GridColor2;   // second alternating row colour
extern OptionValue g_GridEnabled;  // alternating row colours on
extern OptionValue g_AutoRefresh;  // shown and changed in the Options dialog
extern OptionValue g_Hide;         // leave out entries without an uninstall command
extern OptionValue g_ShowCats;     // the groups pane is shown
extern OptionValue g_ShowDetails;  // the details pane is shown
extern OptionValue g_CatsSize;     // splitter beside the groups pane, percent
extern OptionValue g_ListSize;     // splitter between the list and the details pane, percent

// Read / write the ten, in the order above. SaveSettings writes an option only when it
// was changed in this run (Changed) or nothing usable is stored for it, so a value the
// user did not touch is never written back from memory.
void LoadSettings();
void SaveSettings();
