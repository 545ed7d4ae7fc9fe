#include "catalogue/ansi_text.h"

bool AnsiFromWide(const wchar_t* text, int units, std::string& out) {
    if (!text || units <= 0) return false;
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    std::string result(static_cast<size_t>(bytes), '\0');
    bytes = ::WideCharToMultiByte(CP_ACP, 0, text, units, &result[0], bytes, nullptr, nullptr);
    result.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    out.swap(result);
    return true;
}

std::string AnsiText(const std::wstring& text) {
    std::string out;
    AnsiFromWide(text.c_str(), static_cast<int>(text.size()), out);
    return out;
}

std::wstring WideFromAnsi(const char* text, size_t bytes) {
    if (!text || bytes == 0 || bytes > 0x7FFFFFFF) return std::wstring();
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(bytes), nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    const int written = ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(bytes), &wide[0], units);
    wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return wide;
}
