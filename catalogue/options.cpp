#include "catalogue/options.h"
#include <climits>
#include <cstdio>
#include <cstdlib>
#include "framework/app.h"

OptionValue g_SizeType(2, "SizeType");
OptionValue g_GridColor1(0xF5EEEB, "GridColor1");
OptionValue g_GridColor2(0xFFFFFF, "GridColor2");
OptionValue g_GridEnabled(1, "GridEnabled");
OptionValue g_AutoRefresh(1, "AutoRefresh");
OptionValue g_Hide(0, "Hide");
OptionValue g_ShowCats(1, "ShowCats");
OptionValue g_ShowDetails(1, "ShowDetails");
OptionValue g_CatsSize(20, "CatsSize");
OptionValue g_ListSize(65, "ListSize");

namespace {

// atoi without its undefined behaviour: out-of-range numbers are clamped.
int ToInt(const std::string& text) {
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// Field `index` of a comma-separated text; empty when there are fewer fields.
std::string Field(const std::string& text, int index) {
    std::string::size_type start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.find(',', start);
        if (start == std::string::npos) return std::string();
        ++start;
    }
    std::string::size_type end = text.find(',', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool EqualsNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
        if (!x) return true;
    }
}

const char* Section() {
    CWinApp* app = AfxGetApp();
    return app ? app->m_pszProfileName : nullptr;
}

}  // namespace

OptionValue::OptionValue(int defaultValue, const char* name) : Value(defaultValue), Name(name) {}

void OptionValue::LoadInt(const char* section) {
    CWinApp* app = AfxGetApp();
    if (!app) return;
    Value = static_cast<int>(app->GetProfileInt(section, Name.c_str(), Value));
}

void OptionValue::LoadColor(const char* section) {
    CWinApp* app = AfxGetApp();
    if (!app) return;
    CString stored = app->GetProfileString(section, Name.c_str(), "");
    const std::string text(static_cast<const char*>(stored));
    if (text.empty()) return;
    // XOR of the shifted fields, as the program always combined them: a field outside
    // 0-255 spills into its neighbour's byte. Unsigned, so negative fields are defined too.
    const unsigned red = static_cast<unsigned>(ToInt(Field(text, 0)));
    const unsigned green = static_cast<unsigned>(ToInt(Field(text, 1)));
    const unsigned blue = static_cast<unsigned>(ToInt(Field(text, 2)));
    Value = static_cast<int>(red ^ (green << 8) ^ (blue << 16));
}

void OptionValue::SaveColor(const char* section) const {
    CWinApp* app = AfxGetApp();
    if (!app) return;
    char text[48];
    const unsigned v = static_cast<unsigned>(Value);
    std::snprintf(text, sizeof(text), "%d,%d,%d", static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
    app->WriteProfileString(section, Name.c_str(), text);
}

void OptionValue::LoadBool(const char* section) {
    CWinApp* app = AfxGetApp();
    if (!app) return;
    CString stored = app->GetProfileString(section, Name.c_str(), Value ? "TRUE" : "FALSE");
    const char* text = stored;
    if (!text || !*text) return;
    Value = EqualsNoCase(text, "TRUE") ? 1 : 0;
}

void OptionValue::SaveBool(const char* section) const {
    CWinApp* app = AfxGetApp();
    if (app) app->WriteProfileString(section, Name.c_str(), Value ? "TRUE" : "FALSE");
}

void LoadSettings() {
    const char* section = Section();
    g_SizeType.LoadInt(section);
    g_GridColor1.LoadColor(section);
    g_GridColor2.LoadColor(section);
    g_GridEnabled.LoadBool(section);
    g_AutoRefresh.LoadBool(section);
    g_Hide.LoadBool(section);
    g_ShowCats.LoadBool(section);
    g_ShowDetails.LoadBool(section);
    g_CatsSize.LoadInt(section);
    g_ListSize.LoadInt(section);
}

namespace {

// Whether the registry holds a usable value for the option: an integer reads the same
// whatever default is offered; a text is not empty.
bool IntStored(CWinApp* app, const char* section, const OptionValue& option) {
    return app->GetProfileInt(section, option.Name.c_str(), 0) == app->GetProfileInt(section, option.Name.c_str(), 1);
}

bool TextStored(CWinApp* app, const char* section, const OptionValue& option) {
    return !app->GetProfileString(section, option.Name.c_str(), "").IsEmpty();
}

}  // namespace

void SaveSettings() {
    CWinApp* app = AfxGetApp();
    if (!app) return;
    const char* section = app->m_pszProfileName;
    // Only what was changed in this run, or is not stored yet, is written: a value the
    // user left alone stays as it is stored, whoever stored it last.
    auto intDue = [&](const OptionValue& o) { return o.Changed || !IntStored(app, section, o); };
    auto textDue = [&](const OptionValue& o) { return o.Changed || !TextStored(app, section, o); };
    if (intDue(g_SizeType)) app->WriteProfileInt(section, g_SizeType.Name.c_str(), g_SizeType.Value);
    if (textDue(g_GridColor1)) g_GridColor1.SaveColor(section);
    if (textDue(g_GridColor2)) g_GridColor2.SaveColor(section);
    if (textDue(g_GridEnabled)) g_GridEnabled.SaveBool(section);
    if (textDue(g_AutoRefresh)) g_AutoRefresh.SaveBool(section);
    if (textDue(g_Hide)) g_Hide.SaveBool(section);
    if (textDue(g_ShowCats)) g_ShowCats.SaveBool(section);
    if (textDue(g_ShowDetails)) g_ShowDetails.SaveBool(section);
    if (intDue(g_CatsSize)) app->WriteProfileInt(section, g_CatsSize.Name.c_str(), g_CatsSize.Value);
    if (intDue(g_ListSize)) app->WriteProfileInt(section, g_ListSize.Name.c_str(), g_ListSize.Value);
}
