// A dialog box that a window opens over itself, watched and answered from a thread of
// its own: the window's thread sits in the box's modal loop until the answer comes.
#pragma once
#include "framework/framework.h"
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

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

// Waits (bounded) for the box, notes its caption and its message text, and runs the
// answer on it. Read the notes after Join.
class BoxWatcher
{
public:
    BoxWatcher(HWND hOwner, std::function<void(HWND)> answer)
    {
        m_thread = std::thread([this, hOwner, answer] {
            for (int i = 0; i < 1000; ++i) {
                HWND hBox = FindOpenBox(hOwner);
                if (hBox == NULL) {
                    ::Sleep(10);
                    continue;
                }
                char text[2048] = "";
                ::GetWindowTextA(hBox, text, sizeof(text));
                m_caption = text;
                text[0] = '\0';
                ::GetDlgItemTextA(hBox, 0xFFFF, text, sizeof(text));
                m_text = text;
                m_bFound = true;
                answer(hBox);
                // A box the answer did not close would hold its owner's thread for good.
                for (int j = 0; j < 500 && ::IsWindow(hBox) && ::IsWindowVisible(hBox); ++j) ::Sleep(10);
                if (::IsWindow(hBox) && ::IsWindowVisible(hBox)) {
                    m_bStuck = true;
                    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                }
                return;
            }
        });
    }
    ~BoxWatcher() { Join(); }
    void Join()
    {
        if (m_thread.joinable()) m_thread.join();
    }

    std::atomic<bool> m_bFound{false};
    std::atomic<bool> m_bStuck{false};  // the answer left the box open: it was cancelled
    std::string m_caption, m_text;

private:
    std::thread m_thread;
};

}  // namespace ownedbox
