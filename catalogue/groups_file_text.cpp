#include "catalogue/ansi_text.h"
#include "catalogue/groups_file_dom.h"

// The text rule: what a name or keyword must be for the file to hold it, and what the
// code page can show of what the file holds.

namespace groupsfile {

std::string ShownName(const std::string& name) {
    std::string shown = name.size() > 64 ? name.substr(0, 64) + "..." : name;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return shown;
}

bool TakeExactAnsi(BSTR text, std::string& out, std::wstring& wide) {
    wide.assign(text ? text : L"", text ? ::SysStringLen(text) : 0);
    ::SysFreeString(text);
    return ExactAnsiFromWide(wide.data(), static_cast<int>(wide.size()), out);
}

}  // namespace groupsfile

// A character reference is no way out for the characters refused here: "&#1;" is not
// well-formed XML 1.0 either.
std::string GroupsFileTextFault(const std::string& text) {
    if (text.empty()) return std::string();
    std::wstring wide;
    size_t ascii = 0;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
    if (ascii == text.size()) {
        // Every code page the system may use holds ASCII as itself: no round trip to make,
        // and only the control characters to look for.
        size_t at = 0;
        while (at < ascii && (static_cast<unsigned char>(text[at]) >= 0x20 || text[at] == 0x09 || text[at] == 0x0A ||
                              text[at] == 0x0D))
            ++at;
        if (at == ascii) return std::string();
        wide.assign(text.begin(), text.end());
    } else {
        const int units = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                                static_cast<int>(text.size()), nullptr, 0);
        wide.assign(units > 0 ? units : 0, L'\0');
        if (units <= 0 || ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                                static_cast<int>(text.size()), &wide[0], units) != units)
            return "bytes that are no text in the system's code page";
        std::string back;
        if (!AnsiFromWide(wide.data(), units, back) || back != text)
            return "bytes that are no text in the system's code page";
    }
    for (size_t i = 0; i < wide.size(); ++i) {
        const unsigned c = wide[i];
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        const bool paired = c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                            wide[i + 1] <= 0xDFFF;
        if (paired) {
            ++i;
            continue;
        }
        if ((c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF || surrogate) {
            char code[16];
            wsprintfA(code, "U+%04X", c);
            return std::string(c < 0x20 ? "the control character " : "the character ") + code;
        }
    }
    return std::string();
}

