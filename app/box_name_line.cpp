#include "app/box_name_line.h"
#include "catalogue/ansi_text.h"
#include "toolkit/core/bitmap.h"
#include <algorithm>
#include <stddef.h>
#include <string.h>
#include <vector>

namespace {

// The room a message box keeps beside its text: its frame, its margins and the gaps
// around its icon.
const int kMarginsBesideText = 96;

// The message boxes' font, as the system draws their text; NULL when it cannot be made.
HFONT CreateMessageBoxFont()
{
    // The structure's size before the padded border width was added: every system
    // takes it, and the headers' own size grows with the version they target.
    NONCLIENTMETRICSW ncm;
    memset(&ncm, 0, sizeof(ncm));
    ncm.cbSize = (UINT)offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return NULL;
    return ::CreateFontIndirectW(&ncm.lfMessageFont);
}

// The width of the narrowest work area a box of this thread may show on: the primary
// monitor's, where a box without an owner goes, and that of the active window's monitor.
int NarrowestWorkAreaWidth()
{
    const POINT ptOrigin = {0, 0};
    HMONITOR monitors[2] = {::MonitorFromPoint(ptOrigin, MONITOR_DEFAULTTOPRIMARY), NULL};
    HWND hActive = ::GetActiveWindow();
    if (hActive != NULL) monitors[1] = ::MonitorFromWindow(hActive, MONITOR_DEFAULTTOPRIMARY);
    int nWidth = ::GetSystemMetrics(SM_CXSCREEN);
    for (HMONITOR hMonitor : monitors) {
        MONITORINFO mi;
        mi.cbSize = sizeof(mi);
        if (hMonitor != NULL && ::GetMonitorInfoW(hMonitor, &mi))
            nWidth = std::min(nWidth, (int)(mi.rcWork.right - mi.rcWork.left));
    }
    return nWidth;
}

std::string WithBlanksForControls(const std::string& strName)
{
    // No trail byte of a double-byte code page lies below 0x40, so this never splits one.
    std::string strLine(strName);
    for (char& c : strLine)
        if ((unsigned char)c < 0x20 || c == 0x7F) c = ' ';
    return strLine;
}

// The bytes of the ANSI character at psz: two for a lead byte of a double-byte code page
// (a lead byte at the end stands alone), a whole sequence under UTF-8.
size_t CharBytes(const char* psz, UINT nCodePage)
{
    const unsigned char b = (unsigned char)psz[0];
    size_t nWanted = 1;
    if (nCodePage == CP_UTF8)
        nWanted = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    else if (::IsDBCSLeadByteEx(nCodePage, b))
        nWanted = 2;
    size_t nBytes = 1;
    while (nBytes < nWanted && psz[nBytes] != '\0') ++nBytes;
    return nBytes;
}

// Whether the character is drawn onto the one before it (a combining accent, a vowel or
// cantillation point): a cut must not part them.
bool IsMark(const char* psz, size_t nBytes)
{
    WCHAR units[4];
    const int nUnits = ::MultiByteToWideChar(CP_ACP, 0, psz, (int)nBytes, units, 4);
    if (nUnits <= 0) return false;
    WORD types[4] = {0, 0, 0, 0};
    if (!::GetStringTypeW(CT_CTYPE3, units, nUnits, types)) return false;
    for (int i = 0; i < nUnits; ++i)
        if (!(types[i] & C3_NONSPACING)) return false;
    return true;
}

// Answers whether a one-line text fits a width in one font, as drawn: its extent and
// every pixel its glyphs cover lie left of the width. The text is measured and drawn in
// the characters the box draws, through the wide calls: the ANSI calls read bytes in
// the font's character set, which need not be the code page the box reads them in.
class CLineGauge
{
public:
    CLineGauge(HFONT hFont, int nWidth)
        : m_nWidth(std::max(0, nWidth)), m_hdc(::CreateCompatibleDC(NULL)), m_hBitmap(NULL), m_pBits(NULL),
          m_hOldFont(NULL), m_hOldBitmap(NULL), m_cx(0), m_cy(0)
    {
        if (m_hdc == NULL) return;
        m_hOldFont = ::SelectObject(m_hdc, hFont != NULL ? (HGDIOBJ)hFont : ::GetStockObject(SYSTEM_FONT));
        TEXTMETRICW tm;
        if (!::GetTextMetricsW(m_hdc, &tm)) return;
        // Room right of the width for glyphs drawn further than their extents say; a
        // line drawn beyond that room covers pixels inside it too, as its glyphs follow
        // each other without gaps wider than a blank.
        m_cx = 2 * m_nWidth + 4 * std::max(1, (int)tm.tmMaxCharWidth);
        m_cy = std::max(1, (int)tm.tmHeight);
        void* pBits = NULL;
        m_hBitmap = CreateDib32(m_hdc, m_cx, m_cy, &pBits);
        if (m_hBitmap == NULL) return;
        m_pBits = static_cast<DWORD*>(pBits);
        m_hOldBitmap = ::SelectObject(m_hdc, m_hBitmap);
        ::SetBkMode(m_hdc, TRANSPARENT);
        ::SetTextColor(m_hdc, RGB(0, 0, 0));
        ::SetTextAlign(m_hdc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    }
    ~CLineGauge()
    {
        if (m_hdc == NULL) return;
        if (m_hOldBitmap != NULL) ::SelectObject(m_hdc, m_hOldBitmap);
        if (m_hOldFont != NULL) ::SelectObject(m_hdc, m_hOldFont);
        if (m_hBitmap != NULL) ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hdc);
    }

    bool Fits(const std::wstring& text)
    {
        if (m_hdc == NULL) return false;
        SIZE size = {0, 0};
        if (!::GetTextExtentPoint32W(m_hdc, text.c_str(), (int)text.size(), &size) || size.cx > m_nWidth)
            return false;
        // Without a bitmap to draw into, the extent is all there is to go by.
        if (m_pBits == NULL) return true;
        const DWORD kBlank = 0x00FFFFFF;
        std::fill(m_pBits, m_pBits + (size_t)m_cx * m_cy, kBlank);
        ::TextOutW(m_hdc, 0, 0, text.c_str(), (int)text.size());
        ::GdiFlush();
        for (int y = 0; y < m_cy; ++y) {
            const DWORD* pRow = m_pBits + (size_t)y * m_cx;
            for (int x = m_nWidth; x < m_cx; ++x)
                if ((pRow[x] & 0x00FFFFFF) != kBlank) return false;
        }
        return true;
    }
    // The text as a box draws it: a box takes its text through the ANSI code page.
    bool Fits(const std::string& ansi) { return Fits(WideFromAnsi(ansi.c_str(), ansi.size())); }
    int Width() const { return m_nWidth; }

private:
    int m_nWidth;
    HDC m_hdc;
    HBITMAP m_hBitmap;
    DWORD* m_pBits;
    HGDIOBJ m_hOldFont, m_hOldBitmap;
    int m_cx, m_cy;
};

// Where the line may be cut: the byte offsets that end a character of the code page and
// are not followed by a mark on that character. `bWhole` tells whether the list reaches
// the line's end.
struct CutPlaces
{
    std::vector<size_t> ends;
    bool bWhole = true;
};

CutPlaces FindCutPlaces(const std::string& strLine, size_t nMaxSpacing)
{
    // Every character that is not drawn onto another covers a pixel at least: more of
    // them than pixels never fit, so a name of any length is looked at over a start of
    // the width's size only.
    CutPlaces places;
    const UINT nCodePage = ::GetACP();
    const char* pszLine = strLine.c_str();
    size_t nSpacing = 0, nAt = 0;
    bool bAfterBase = false;
    while (nAt < strLine.size() && pszLine[nAt] != '\0') {
        const size_t nBytes = CharBytes(pszLine + nAt, nCodePage);
        const bool bMark = IsMark(pszLine + nAt, nBytes);
        // A mark belongs to the character before it; marks that begin the line have none.
        if (bMark && bAfterBase) {
            if (!places.ends.empty()) places.ends.pop_back();
        } else if (++nSpacing > nMaxSpacing) {
            places.bWhole = false;
            return places;
        }
        bAfterBase = bAfterBase || !bMark;
        nAt += nBytes;
        places.ends.push_back(nAt);
    }
    return places;
}

// The longest start of the line, ending between characters, that fits with "..." after
// it, or the line itself when it fits whole.
std::string CutToFit(const std::string& strLine, CLineGauge& gauge)
{
    const CutPlaces places = FindCutPlaces(strLine, (size_t)gauge.Width() + 1);
    if (places.bWhole && gauge.Fits(strLine)) return strLine;
    const std::vector<size_t>& ends = places.ends;
    size_t nLow = 0, nHigh = ends.size();  // the longest prefix that fits: ends[nLow - 1]
    while (nLow < nHigh) {
        size_t nMid = (nLow + nHigh + 1) / 2;
        if (gauge.Fits(strLine.substr(0, ends[nMid - 1]) + "..."))
            nLow = nMid;
        else
            nHigh = nMid - 1;
    }
    return strLine.substr(0, nLow > 0 ? ends[nLow - 1] : 0) + "...";
}

// The fitter whose box this thread shows now, innermost first.
thread_local CBoxNameFitter* t_pFitter = NULL;

std::wstring WindowTextOf(HWND hWnd)
{
    const int nLength = ::GetWindowTextLengthW(hWnd);
    if (nLength <= 0) return std::wstring();
    std::vector<WCHAR> text((size_t)nLength + 1, L'\0');
    const int nRead = ::GetWindowTextW(hWnd, text.data(), nLength + 1);
    return std::wstring(text.data(), (size_t)std::max(0, nRead));
}

bool IsClass(HWND hWnd, const char* pszClass)
{
    char sClass[16] = "";
    ::GetClassNameA(hWnd, sClass, sizeof(sClass));
    return lstrcmpiA(sClass, pszClass) == 0;
}

}  // namespace

std::string BoxNameLine(const std::string& strName)
{
    // A message box grows as wide as its longest line: a line of half the work area,
    // with the box's icon and margins beside it, keeps it well inside.
    const int nBudget =
        std::max(100, NarrowestWorkAreaWidth() / 2 - ::GetSystemMetrics(SM_CXICON) - kMarginsBesideText);
    HFONT hFont = CreateMessageBoxFont();
    const std::string strLine = BoxNameLine(strName, hFont != NULL ? hFont : (HFONT)::GetStockObject(DEFAULT_GUI_FONT),
                                            nBudget);
    if (hFont != NULL) ::DeleteObject(hFont);
    return strLine;
}

std::string BoxNameLine(const std::string& strName, HFONT hFont, int nWidth)
{
    CLineGauge gauge(hFont, nWidth);
    return CutToFit(WithBlanksForControls(strName), gauge);
}

CBoxNameFitter::CBoxNameFitter(const std::string& strName)
    : m_strName(strName), m_strLine(BoxNameLine(strName)), m_hFitted(NULL), m_hHook(NULL), m_pOuter(t_pFitter)
{
    t_pFitter = this;
    m_hHook = ::SetWindowsHookExA(WH_CBT, &CBoxNameFitter::OnCbt, NULL, ::GetCurrentThreadId());
}

CBoxNameFitter::~CBoxNameFitter()
{
    if (m_hHook != NULL) ::UnhookWindowsHookEx(m_hHook);
    t_pFitter = m_pOuter;
}

LRESULT CALLBACK CBoxNameFitter::OnCbt(int nCode, WPARAM wParam, LPARAM lParam)
{
    // A box is laid out by the time it is activated.
    if (nCode == HCBT_ACTIVATE)
        for (CBoxNameFitter* pFitter = t_pFitter; pFitter != NULL; pFitter = pFitter->m_pOuter)
            pFitter->Fit((HWND)wParam);
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

void CBoxNameFitter::Fit(HWND hBox)
{
    if (m_strLine.empty() || hBox == m_hFitted || !IsClass(hBox, "#32770")) return;
    // The box holds its text in the characters it draws; the line is found and replaced
    // in those, so a double-byte character is never taken apart.
    const std::wstring strLine = WideFromAnsi(m_strLine.c_str(), m_strLine.size());
    for (HWND hText = ::GetWindow(hBox, GW_CHILD); hText != NULL; hText = ::GetWindow(hText, GW_HWNDNEXT)) {
        if (!IsClass(hText, "Static")) continue;
        std::wstring text = WindowTextOf(hText);
        const size_t nAt = text.find(strLine);
        if (nAt == std::wstring::npos) continue;
        RECT rc;
        if (!::GetClientRect(hText, &rc)) return;
        const HFONT hFont = (HFONT)::SendMessageW(hText, WM_GETFONT, 0, 0);
        const std::string strFitted = BoxNameLine(m_strName, hFont, rc.right - rc.left);
        m_hFitted = hBox;
        if (strFitted == m_strLine) return;
        text.replace(nAt, strLine.size(), WideFromAnsi(strFitted.c_str(), strFitted.size()));
        ::SetWindowTextW(hText, text.c_str());
        return;
    }
}
