// A dialog box that a window opens over itself, watched and answered from a thread of
// its own: the window's thread sits in the box's modal loop until the answer comes.
#pragma once
#include "framework/framework.h"
#include "real_input.h"
#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace ownedbox {

// How long the helpers below wait for something the box's thread must do (show the box,
// activate it, take a click and close): a guard against a hang, not a time the program
// has to keep. On a busy machine the window's thread and the Wine server it talks to can
// go seconds without running; a click answered by a fixed few seconds was then taken
// after the watcher had given up on it and called the box stuck.
const DWORD kBoxWaitMs = 60000;
// How long a box may take to come after what opens it: a box that never comes fails its
// test within this rather than after the guard above. A box comes once the window's
// thread has handled one command, which even a busy machine does within seconds.
const DWORD kBoxComesMs = 10000;

// The dialog box hOwner owns and shows, or NULL; the other windows it owns (tooltips,
// shadows) are no boxes.
inline HWND FindOpenBox(HWND hOwner)
{
    for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char sClass[16] = "";
        ::GetClassNameA(h, sClass, sizeof(sClass));
        if (::GetWindow(h, GW_OWNER) == hOwner && ::IsWindowVisible(h) && strcmp(sClass, "#32770") == 0) return h;
    }
    return NULL;
}

// An answer that presses one of the box's buttons (IDYES, IDNO, IDOK ...).
inline std::function<void(HWND)> Press(UINT nID)
{
    return [nID](HWND hBox) { ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0); };
}

// The words of a text, split at blanks and line breaks, with their widths in the font
// of the window hText: a box's text control wraps a line between words but clips a word
// wider than itself.
inline std::vector<std::pair<std::string, int>> WordWidths(HWND hText, const std::string& text)
{
    std::vector<std::pair<std::string, int>> words;
    HDC hdc = ::GetDC(hText);
    HGDIOBJ hOld = ::SelectObject(hdc, (HGDIOBJ)::SendMessageA(hText, WM_GETFONT, 0, 0));
    for (size_t nPos = 0; nPos < text.size();) {
        size_t nEnd = text.find_first_of(" \r\n", nPos);
        if (nEnd == std::string::npos) nEnd = text.size();
        const std::string word = text.substr(nPos, nEnd - nPos);
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hdc, word.c_str(), (int)word.size(), &size);
        words.push_back({word, (int)size.cx});
        nPos = nEnd + 1;
    }
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hText, hdc);
    return words;
}

// The pixels of a window's client area: as drawn on screen (read back from the window),
// or as a text drawn into a blank bitmap; 0x00RRGGBB, rows top down.
struct Pixels
{
    int cx = 0, cy = 0;
    std::vector<DWORD> bits;
    DWORD At(int x, int y) const { return bits[(size_t)y * cx + x] & 0x00FFFFFF; }
    // The rightmost column in rows [top, bottom) whose pixel is not `blank`, or -1.
    int InkRight(int top, int bottom, DWORD blank) const
    {
        int right = -1;
        for (int y = std::max(0, top); y < std::min(cy, bottom); ++y)
            for (int x = cx - 1; x > right; --x)
                if (At(x, y) != blank) right = x;
        return right;
    }
};

// Draws into a fresh 32-bit bitmap of cx x cy, filled with 0x00FFFFFF, through draw(hdc).
inline Pixels DrawnPixels(int cx, int cy, const std::function<void(HDC)>& draw)
{
    Pixels px;
    px.cx = cx;
    px.cy = cy;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD* pBits = NULL;
    HDC hdc = ::CreateCompatibleDC(NULL);
    HBITMAP hBitmap = ::CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, (void**)&pBits, NULL, 0);
    if (hBitmap == NULL) {
        ::DeleteDC(hdc);
        return Pixels();
    }
    HGDIOBJ hOld = ::SelectObject(hdc, hBitmap);
    std::fill(pBits, pBits + (size_t)cx * cy, 0x00FFFFFF);
    draw(hdc);
    ::GdiFlush();
    px.bits.assign(pBits, pBits + (size_t)cx * cy);
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hdc);
    return px;
}

// A wide text in the ANSI code page, as the system converts it (a character the code page
// lacks becomes its default character).
inline std::string AnsiOf(const std::wstring& wide)
{
    const int nBytes = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), (int)wide.size(), NULL, 0, NULL, NULL);
    std::string ansi((size_t)std::max(0, nBytes), '\0');
    if (nBytes > 0) ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), (int)wide.size(), &ansi[0], nBytes, NULL, NULL);
    return ansi;
}

// The line of a box's text that ends in "...", as the box shows it: the text control's
// font (WM_GETFONT) and client width, the line's extent in that font, the rightmost
// pixel its glyphs cover when drawn with that font, and the rightmost pixel of its rows
// that differs from the background on screen. The box holds and draws its text in wide
// characters (read from the ANSI text through the code page), so the line is read and
// measured in those: the ANSI calls would read its bytes in the font's character set.
struct ShownNameLine
{
    std::string line;    // in the ANSI code page
    std::wstring wline;  // as the box draws it
    int nClientWidth = -1, nExtent = -1, nDrawnRight = -1, nScreenRight = -1;
};

// Half the width of the narrowest work area a box of hOwner may show on: the primary
// monitor's, where a box without an owner goes, and that of hOwner's monitor. A name
// line no wider than this keeps the box, with its icon and margins, well inside.
inline int HalfNarrowestWorkArea(HWND hOwner)
{
    int nWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const POINT ptOrigin = {0, 0};
    for (HMONITOR hMonitor : {::MonitorFromPoint(ptOrigin, MONITOR_DEFAULTTOPRIMARY),
                              ::MonitorFromWindow(hOwner, MONITOR_DEFAULTTOPRIMARY)}) {
        MONITORINFO mi;
        mi.cbSize = sizeof(mi);
        if (::GetMonitorInfoA(hMonitor, &mi)) nWidth = std::min(nWidth, (int)(mi.rcWork.right - mi.rcWork.left));
    }
    return nWidth / 2;
}

inline ShownNameLine ReadShownNameLine(HWND hBox)
{
    ShownNameLine shown;
    HWND hText = ::GetDlgItem(hBox, 0xFFFF);
    RECT rc;
    ::GetClientRect(hText, &rc);
    shown.nClientWidth = rc.right;
    HFONT hFont = (HFONT)::SendMessageW(hText, WM_GETFONT, 0, 0);
    std::vector<WCHAR> buffer(70000, L'\0');
    ::GetWindowTextW(hText, buffer.data(), (int)buffer.size());
    const std::wstring text = buffer.data();
    const size_t nDots = text.find(L"...");
    if (nDots == std::wstring::npos) return shown;
    const size_t nStart = text.rfind(L'\n', nDots) == std::wstring::npos ? 0 : text.rfind(L'\n', nDots) + 1;
    const size_t nEnd = std::min(text.find(L'\r', nDots), text.size());
    shown.wline = text.substr(nStart, nEnd - nStart);
    shown.line = AnsiOf(shown.wline);
    // Where the line lies: the text up to its end, broken into lines as the control does.
    HDC hdc = ::GetDC(hText);
    HGDIOBJ hOldFont = ::SelectObject(hdc, hFont);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(hdc, shown.wline.c_str(), (int)shown.wline.size(), &size);
    shown.nExtent = size.cx;
    TEXTMETRICW tm;
    ::GetTextMetricsW(hdc, &tm);
    RECT rcUpTo = {0, 0, rc.right, 0};
    ::DrawTextW(hdc, text.c_str(), (int)nEnd, &rcUpTo, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    ::SelectObject(hdc, hOldFont);
    const int nBottom = rcUpTo.bottom, nTop = rcUpTo.bottom - tm.tmHeight;

    const int cxDrawn = 2 * std::max((int)size.cx, shown.nClientWidth) + 64;
    Pixels drawn = DrawnPixels(cxDrawn, tm.tmHeight, [&](HDC hdcDrawn) {
        ::SelectObject(hdcDrawn, hFont);
        ::SetBkMode(hdcDrawn, TRANSPARENT);
        ::TextOutW(hdcDrawn, 0, 0, shown.wline.c_str(), (int)shown.wline.size());
    });
    shown.nDrawnRight = drawn.InkRight(0, drawn.cy, 0x00FFFFFF);

    // The screen, once the line shows there: the background is the control's most
    // frequent colour.
    auto readScreen = [&] {
        Pixels screen = DrawnPixels(rc.right, rc.bottom, [&](HDC hdcScreen) {
            ::BitBlt(hdcScreen, 0, 0, rc.right, rc.bottom, hdc, 0, 0, SRCCOPY);
        });
        if (screen.bits.empty()) return -1;
        std::map<DWORD, size_t> counts;
        for (DWORD c : screen.bits) ++counts[c & 0x00FFFFFF];
        auto most = std::max_element(counts.begin(), counts.end(),
                                     [](const std::pair<const DWORD, size_t>& a,
                                        const std::pair<const DWORD, size_t>& b) { return a.second < b.second; });
        return screen.InkRight(nTop, nBottom, most->first);
    };
    realinput::SleepUntil([&] { return (shown.nScreenRight = readScreen()) >= 0; });
    ::ReleaseDC(hText, hdc);
    return shown;
}

// Waits until the box takes input, moves the pointer onto its button with real input as
// a hand does, waits until it is there (a pointer only placed there was not always where
// the click arrived), and clicks. False, with no click, when the box never got there.
// Now and then on a loaded display a press arrives nowhere: while the box still stands
// ready with its button under the pointer some seconds after a click, it is clicked again,
// as a hand would. A press queued while the box shows goes to the box, and one the box
// no longer takes dies with it, so no click of this lands behind a box that closed.
inline bool ClickBoxButton(HWND hBox, UINT nID)
{
    const DWORD kAgainAfterMs = 10000;
    HWND hButton = ::GetDlgItem(hBox, nID);
    GUITHREADINFO info;
    auto ready = [&] {
        return realinput::ThreadInputOf(hBox, info) && info.hwndActive == hBox && ::IsWindowVisible(hButton) &&
               ::IsWindowEnabled(hButton);
    };
    auto closed = [&] { return !::IsWindow(hBox) || !::IsWindowVisible(hBox); };
    if (!realinput::SleepUntil(ready, kBoxWaitMs)) return false;
    bool bClicked = false;
    for (const DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < kBoxWaitMs;) {
        CRect rc;
        ::GetWindowRect(hButton, &rc);
        const POINT pt = realinput::SendMouse(0, rc.CenterPoint());
        if (!realinput::SleepUntil(
                [&] {
                    return realinput::CursorAt(pt) && realinput::ThreadInputOf(hBox, info) &&
                           (info.hwndCapture == NULL || info.hwndCapture == hButton);
                },
                kBoxWaitMs))
            return bClicked;
        if (bClicked && (closed() || !ready())) return true;
        realinput::ClickAt(pt);
        bClicked = true;
        if (realinput::SleepUntil(closed, kAgainAfterMs) || !ready()) return true;
    }
    return bClicked;
}

// Waits (bounded by kBoxComesMs) for the box, notes its caption, its message text and its place, and
// runs the answer on it. Read the notes after Join.
class BoxWatcher
{
public:
    BoxWatcher(HWND hOwner, std::function<void(HWND)> answer)
    {
        // The thread starts only once every member it uses exists: started from the
        // initialiser list it could read a flag not yet set and give up before the box
        // opened.
        m_thread = std::thread([this, hOwner, answer] {
            HWND hBox = NULL;
            realinput::SleepUntil([&] { return m_bStop || (hBox = FindOpenBox(hOwner)) != NULL; }, kBoxComesMs);
            if (hBox == NULL) {
                m_bGaveUp = true;
                return;
            }
            char text[2048] = "";
            ::GetWindowTextA(hBox, text, sizeof(text));
            m_caption = text;
            text[0] = '\0';
            ::GetDlgItemTextA(hBox, 0xFFFF, text, sizeof(text));
            m_text = text;
            ::GetWindowRect(hBox, &m_rect);
            m_bFound = true;
            answer(hBox);
            // A box the answer did not close would hold its owner's thread for good. The
            // answer is queued input: the box's thread takes it when it next runs.
            auto open = [hBox] { return ::IsWindow(hBox) && ::IsWindowVisible(hBox); };
            if (!realinput::SleepUntil([&] { return !open(); }, kBoxWaitMs) && open()) {
                m_bStuck = true;
                ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
        });
    }
    ~BoxWatcher() { Join(); }
    // Gives up waiting for a box that has not come (a box found already is answered);
    // a test that expects no box says so, rather than waiting for the bound.
    void Stop() { m_bStop = true; }
    void Join()
    {
        if (m_thread.joinable()) m_thread.join();
    }
    // Whether the watcher is through: the box came and is gone from hOwner, or none came
    // within kBoxComesMs (m_bFound tells which). A test pumps until this holds.
    bool Settled(HWND hOwner) const { return m_bGaveUp || (m_bFound && FindOpenBox(hOwner) == NULL); }

    std::atomic<bool> m_bFound{false};
    std::atomic<bool> m_bStuck{false};  // the answer left the box open: it was cancelled
    std::atomic<bool> m_bGaveUp{false};  // no box came within kBoxComesMs
    std::string m_caption, m_text;
    CRect m_rect;

private:
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

}  // namespace ownedbox
