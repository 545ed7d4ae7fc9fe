// A name from the registry or the groups file as one line of a message box.
#pragma once
#include <windows.h>
#include <string>

// Control characters become blanks (a line break must not split the name or make it look
// like the box's own text), and a name wider than a box's line in the box's font is cut
// between characters and ends in "...": the box clips a line without blanks, so a cut
// name would otherwise look whole. The name's own start stays, as the list shows it. A
// cut never parts a double-byte character nor a letter from the accents drawn onto it.
// The cut is against the widest line a box takes (half the narrowest work area it may
// show on, less its icon and margins): it keeps a long name from stretching the box past
// the screen.
std::string BoxNameLine(const std::string& strName);

// The same line cut to nWidth pixels as drawn with hFont, in the characters a box draws
// (a box reads its text through the ANSI code page, whatever the font's character set):
// what the glyphs cover when they are drawn, and never less than the text's extent. Wine
// draws some fonts wider than their reported extents (Tahoma at 11 pixels, the message
// font of its default settings: an "x" measures 5 pixels and covers 6), so the extent
// alone would cut too little and the box would clip the "...".
std::string BoxNameLine(const std::string& strName, HFONT hFont, int nWidth);

// While it lives, a message box this thread opens with the line BoxNameLine(strName) in
// its text has that line cut again once the box has laid itself out, to the width and
// the font of the box's text as they are then. A box sizes its text from the extents of
// its lines, so only the box itself knows the width its text gets.
class CBoxNameFitter
{
public:
    explicit CBoxNameFitter(const std::string& strName);
    ~CBoxNameFitter();

private:
    CBoxNameFitter(const CBoxNameFitter&) = delete;
    CBoxNameFitter& operator=(const CBoxNameFitter&) = delete;
    static LRESULT CALLBACK OnCbt(int nCode, WPARAM wParam, LPARAM lParam);
    void Fit(HWND hBox);

    std::string m_strName;
    std::string m_strLine;  // the line as the box's text holds it before the fit
    HWND m_hFitted;         // the box fitted last: activated again, it is left as it is
    HHOOK m_hHook;
    CBoxNameFitter* m_pOuter;  // the fitter that was active when this one began
};
