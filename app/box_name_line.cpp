#include "app/box_name_line.h"
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

std::string WithBlanksForControls(const std::string& strName)
{
    std::string strLine(strName);
    for (char& c : strLine)
        if ((unsigned char)c < 0x20 || c == 0x7F) c = ' ';
    return strLine;
}

// Answers whether a one-line text fits a width in one font, as drawn: its extent and
// every pixel its glyphs cover lie left of the width.
class CLineGauge
{
public:
    CLineGauge(HFONT hFont, int nWidth)
        : m_nWidth(std::max(0, nWidth)), m_hdc(::CreateCompatibleDC(NULL)), m_hBitmap(NULL), m_pBits(NULL),
          m_hOldFont(NULL), m_hOldBitmap(NULL), m_cx(0), m_cy(0)
    {
        if (m_hdc == NULL) return;
        m_hOldFont = ::SelectObject(m_hdc, hFont != NULL ? (HGDIOBJ)hFont : ::GetStockObject(SYSTEM_FONT));
        TEXTMETRICA tm;
        if (!::GetTextMetricsA(m_hdc, &tm)) return;
        // Room right of the width for glyphs drawn further than their extents say; a
        // line drawn beyond that room covers pixels inside it too, as its glyphs follow
        // each other without gaps wider than a blank.
        m_cx = 2 * m_nWidth + 4 * std::max(1, (int)tm.tmMaxCharWidth);
        m_cy = std::max(1, (int)tm.tmHeight);
        BITMAPINFO bi;
        memset(&bi, 0, sizeof(bi));
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = m_cx;
        bi.bmiHeader.biHeight = -m_cy;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        m_hBitmap = ::CreateDIBSection(m_hdc, &bi, DIB_RGB_COLORS, (void**)&m_pBits, NULL, 0);
        if (m_hBitmap == NULL) {
            m_pBits = NULL;
            return;
        }
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

    bool Fits(const std::string& text)
    {
        if (m_hdc == NULL) return false;
        SIZE size = {0, 0};
        if (!::GetTextExtentPoint32A(m_hdc, text.c_str(), (int)text.size(), &size) || size.cx > m_nWidth) return false;
        // Without a bitmap to draw into, the extent is all there is to go by.
        if (m_pBits == NULL) return true;
        const DWORD kBlank = 0x00FFFFFF;
        std::fill(m_pBits, m_pBits + (size_t)m_cx * m_cy, kBlank);
        ::TextOutA(m_hdc, 0, 0, text.c_str(), (int)text.size());
        ::GdiFlush();
        for (int y = 0; y < m_cy; ++y) {
            const DWORD* pRow = m_pBits + (size_t)y * m_cx;
            for (int x = m_nWidth; x < m_cx; ++x)
                if ((pRow[x] & 0x00FFFFFF) != kBlank) return false;
        }
        return true;
    }
    int Width() const { return m_nWidth; }

private:
    int m_nWidth;
    HDC m_hdc;
    HBITMAP m_hBitmap;
    DWORD* m_pBits;
    HGDIOBJ m_hOldFont, m_hOldBitmap;
    int m_cx, m_cy;
};

// The longest start of the line that fits with "..." after it, or the line itself when
// it fits whole.
std::string CutToFit(const std::string& strLine, CLineGauge& gauge)
{
    // Every character covers a pixel at least: more characters than pixels never fit,
    // so a name of any length is measured over a start of the width's size only.
    std::vector<size_t> ends;  // the ends of the characters: a cut never splits a double-byte one
    const size_t nMaxChars = (size_t)gauge.Width() + 1;
    for (const char* p = strLine.c_str(); *p != '\0' && ends.size() <= nMaxChars;) {
        p = ::CharNextA(p);
        ends.push_back((size_t)(p - strLine.c_str()));
    }
    if (ends.size() <= nMaxChars && gauge.Fits(strLine)) return strLine;
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

std::string WindowTextOf(HWND hWnd)
{
    const int nLength = ::GetWindowTextLengthA(hWnd);
    if (nLength <= 0) return std::string();
    std::vector<char> text((size_t)nLength + 1, '\0');
    const int nRead = ::GetWindowTextA(hWnd, text.data(), nLength + 1);
    return std::string(text.data(), (size_t)std::max(0, nRead));
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
    // A message box grows as wide as its longest line only up to half the screen, and
    // its icon and margins take their part of that.
    const int kMarginsBesideText = 96;
    const int nBudget = std::max(100, ::GetSystemMetrics(SM_CXSCREEN) / 2 - ::GetSystemMetrics(SM_CXICON) -
                                          kMarginsBesideText);
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
    for (HWND hText = ::GetWindow(hBox, GW_CHILD); hText != NULL; hText = ::GetWindow(hText, GW_HWNDNEXT)) {
        if (!IsClass(hText, "Static")) continue;
        std::string text = WindowTextOf(hText);
        const size_t nAt = text.find(m_strLine);
        if (nAt == std::string::npos) continue;
        RECT rc;
        if (!::GetClientRect(hText, &rc)) return;
        const HFONT hFont = (HFONT)::SendMessageA(hText, WM_GETFONT, 0, 0);
        const std::string strFitted = BoxNameLine(m_strName, hFont, rc.right - rc.left);
        m_hFitted = hBox;
        if (strFitted == m_strLine) return;
        text.replace(nAt, m_strLine.size(), strFitted);
        ::SetWindowTextA(hText, text.c_str());
        return;
    }
}
