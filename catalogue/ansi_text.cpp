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

bool ExactAnsiFromWide(const wchar_t* text, int units, std::string& out) {
    out.clear();
    if (units <= 0) return true;
    if (!text) return false;
    // Every code page the system may use holds ASCII as itself: most names and keywords
    // need no conversion to be known exact.
    int ascii = 0;
    while (ascii < units && text[ascii] < 0x80) ++ascii;
    if (ascii == units) {
        out.assign(text, text + units);
        return true;
    }
    // The UTF-8 code page takes neither the flag nor the question; the round trip below
    // answers for it.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* askDefault = utf8 ? nullptr : &usedDefault;
    int bytes = ::WideCharToMultiByte(CP_ACP, flags, text, units, nullptr, 0, nullptr, askDefault);
    if (bytes <= 0 || usedDefault) return false;
    std::string result(static_cast<size_t>(bytes), '\0');
    bytes = ::WideCharToMultiByte(CP_ACP, flags, text, units, &result[0], bytes, nullptr, askDefault);
    if (bytes != static_cast<int>(result.size()) || usedDefault) return false;
    // Back to wide, and the same code units: no mapping of the code page's own made a
    // look-alike of a character that the flag lets through.
    const int back = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, result.data(), bytes, nullptr, 0);
    if (back != units) return false;
    std::wstring wide(static_cast<size_t>(back), L'\0');
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, result.data(), bytes, &wide[0], back) != back ||
        wide.compare(0, wide.size(), text, static_cast<size_t>(units)) != 0)
        return false;
    out.swap(result);
    return true;
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
