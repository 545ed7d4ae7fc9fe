// A dialog box that a window opens over itself, watched and answered from a thread of
// its own: the window's thread sits in the box's modal loop until the answer comes.
#pragma once
#include "framework/framework.h"
#include "real_input.h"
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace ownedbox {

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

// Waits (bounded) until the box takes input, moves the pointer onto its button with
// real input as a hand does, waits until it is there (a pointer only placed there was
// not always where the click arrived), and clicks.
inline void ClickBoxButton(HWND hBox, UINT nID)
{
    HWND hButton = ::GetDlgItem(hBox, nID);
    GUITHREADINFO info;
    realinput::SleepUntil([&] {
        return realinput::ThreadInputOf(hBox, info) && info.hwndActive == hBox && ::IsWindowVisible(hButton);
    });
    CRect rc;
    ::GetWindowRect(hButton, &rc);
    const POINT pt = realinput::SendMouse(0, rc.CenterPoint());
    realinput::SleepUntil([&] {
        return realinput::CursorAt(pt) && realinput::ThreadInputOf(hBox, info) &&
               (info.hwndCapture == NULL || info.hwndCapture == hButton);
    });
    realinput::ClickAt(pt);
}

// Waits (bounded) for the box, notes its caption, its message text and its place, and
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
            realinput::SleepUntil([&] { return m_bStop || (hBox = FindOpenBox(hOwner)) != NULL; }, 10000);
            if (hBox == NULL) return;
            char text[2048] = "";
            ::GetWindowTextA(hBox, text, sizeof(text));
            m_caption = text;
            text[0] = '\0';
            ::GetDlgItemTextA(hBox, 0xFFFF, text, sizeof(text));
            m_text = text;
            ::GetWindowRect(hBox, &m_rect);
            m_bFound = true;
            answer(hBox);
            // A box the answer did not close would hold its owner's thread for good.
            auto open = [hBox] { return ::IsWindow(hBox) && ::IsWindowVisible(hBox); };
            if (!realinput::SleepUntil([&] { return !open(); }) && open()) {
                m_bStuck = true;
                ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
        });
    }
    ~BoxWatcher() { Join(); }
    // Gives up waiting for a box that has not come (a box found already is answered).
    void Stop() { m_bStop = true; }
    void Join()
    {
        if (m_thread.joinable()) m_thread.join();
    }

    std::atomic<bool> m_bFound{false};
    std::atomic<bool> m_bStuck{false};  // the answer left the box open: it was cancelled
    std::string m_caption, m_text;
    CRect m_rect;

private:
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

}  // namespace ownedbox
