#include "app/box_name_line.h"
#include <windows.h>
#include <algorithm>
#include <stddef.h>
#include <string.h>
#include <vector>

namespace {

// The message boxes' font, as the system draws their text; NULL when it cannot be made.
HFONT CreateMessageBoxFont()
{
    // The structure's size before the padded border width was added: every system
    // takes it, and the headers' own size grows with the version they target.
    NONCLIENTMETRICSA ncm;
    memset(&ncm, 0, sizeof(ncm));
    ncm.cbSize = (UINT)offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return NULL;
    return ::CreateFontIndirectA(&ncm.lfMessageFont);
}

}  // namespace

std::string BoxNameLine(const std::string& strName)
{
    std::string strLine(strName);
    for (char& c : strLine)
        if ((unsigned char)c < 0x20 || c == 0x7F) c = ' ';
    // A message box grows as wide as its longest line only up to half the screen, and
    // its icon and margins take their part of that.
    const int kMarginsBesideText = 96;
    const int nBudget = std::max(100, ::GetSystemMetrics(SM_CXSCREEN) / 2 - ::GetSystemMetrics(SM_CXICON) -
                                          kMarginsBesideText);
    HDC hdc = ::GetDC(NULL);
    if (hdc == NULL) return strLine;
    HFONT hFont = CreateMessageBoxFont();
    HGDIOBJ hOldFont = ::SelectObject(hdc, hFont != NULL ? (HGDIOBJ)hFont : ::GetStockObject(DEFAULT_GUI_FONT));
    auto width = [hdc](const std::string& text) {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hdc, text.c_str(), (int)text.size(), &size);
        return (int)size.cx;
    };
    if (width(strLine) > nBudget) {
        // The ends of the characters, for a cut that never splits a double-byte one.
        std::vector<size_t> ends;
        for (const char* p = strLine.c_str(); *p != '\0';) {
            p = ::CharNextA(p);
            ends.push_back((size_t)(p - strLine.c_str()));
        }
        size_t nLow = 0, nHigh = ends.size();  // the longest prefix that fits: ends[nLow - 1]
        while (nLow < nHigh) {
            size_t nMid = (nLow + nHigh + 1) / 2;
            if (width(strLine.substr(0, ends[nMid - 1]) + "...") <= nBudget)
                nLow = nMid;
            else
                nHigh = nMid - 1;
        }
        strLine = strLine.substr(0, nLow > 0 ? ends[nLow - 1] : 0) + "...";
    }
    ::SelectObject(hdc, hOldFont);
    if (hFont != NULL) ::DeleteObject(hFont);
    ::ReleaseDC(NULL, hdc);
    return strLine;
}
