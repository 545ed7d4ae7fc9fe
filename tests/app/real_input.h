// Real input for the tests that drive a window as a user does: keys and mouse events
// through SendInput, so they pass every hook, filter and loop the program's own input
// passes. Nothing here pumps messages, so a helper thread may use it while the window's
// thread sits in a modal loop.
#pragma once
#include "framework/framework.h"
#include "support/mouse_input.h"
#include <algorithm>
#include <cctype>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace realinput {

// Queues the keys, each {key, released}, with one SendInput call: they arrive as one
// burst, in order, as keys typed faster than the program handles them.
inline void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    std::vector<INPUT> in;
    for (const auto& k : keys) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k.first;
        i.ki.dwFlags = k.second ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    }
    ::SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
}

// Keys tapped in a row, in one burst: each {modifier held around it (0: none), key}.
inline void TapKeys(std::initializer_list<std::pair<WORD, WORD>> keys)
{
    std::vector<INPUT> in;
    auto add = [&in](WORD vk, bool bUp) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    for (const auto& k : keys) {
        if (k.first != 0) add(k.first, false);
        add(k.second, false);
        add(k.second, true);
        if (k.first != 0) add(k.first, true);
    }
    ::SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
}

// A key tapped, held with a modifier key (0: none), that the system stamps as made at
// dwTime (the tick count, as a message's time): keys made while the program was busy
// and taken off its queue afterwards.
inline void TapAtTime(WORD vkModifier, WORD vk, DWORD dwTime)
{
    std::vector<INPUT> in;
    auto add = [&](WORD vkKey, bool bUp) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vkKey;
        i.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
        i.ki.time = dwTime;
        in.push_back(i);
    };
    if (vkModifier != 0) add(vkModifier, false);
    add(vk, false);
    add(vk, true);
    if (vkModifier != 0) add(vkModifier, true);
    ::SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
}

// A key tapped, held with a modifier key (0: none).
inline void TapWith(WORD vkModifier, WORD vk) { TapKeys({{vkModifier, vk}}); }
inline void Tap(WORD vk) { TapWith(0, vk); }
// A menu's letter with Alt held, as it opens the menu bar's menu.
inline void AltLetter(WORD vk) { TapWith(VK_MENU, vk); }

// Small letters and blanks, as typed.
inline void Type(const char* text)
{
    for (; *text != '\0'; ++text) Tap(*text == ' ' ? VK_SPACE : (WORD)toupper((unsigned char)*text));
}

// The pace of a quick hand: each of its keys comes this long after the one before. It
// is how the hand types, not a wait for anything the program does.
const DWORD kHandPaceMs = 60;

// Keys {modifier (0: none), key} tapped one by one at a quick hand's pace, the first a
// pace after what the hand did before.
inline void TypePaced(const std::vector<std::pair<WORD, WORD>>& keys)
{
    for (const auto& key : keys) {
        ::Sleep(kHandPaceMs);
        TapWith(key.first, key.second);
    }
}

using testsupport::OnScreen;
using testsupport::SendMouse;

inline bool CursorAt(POINT pt)
{
    POINT now;
    return ::GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
}

// The colour the screen shows at a point, as the user sees it.
inline COLORREF ScreenPixel(POINT pt)
{
    HDC hScreen = ::GetDC(NULL);
    const COLORREF clr = ::GetPixel(hScreen, pt.x, pt.y);
    ::ReleaseDC(NULL, hScreen);
    return clr;
}

// A left click at a point of the screen; two in a row make a double-click.
inline void ClickAt(POINT pt)
{
    ::SetCursorPos(pt.x, pt.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
}

// A left click at a point of the screen that the system stamps as made at dwTime (the
// tick count, as a message's time): the halves of a double-click can be made as far
// apart as a case needs, whatever the machine's load.
inline void ClickAtTime(POINT pt, DWORD dwTime)
{
    ::SetCursorPos(pt.x, pt.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    in[0].mi.time = in[1].mi.time = dwTime;
    ::SendInput(2, in, sizeof(INPUT));
}

// A left click at a point of a window's client area.
inline void ClickAt(HWND hWnd, POINT ptClient)
{
    ::ClientToScreen(hWnd, &ptClient);
    ClickAt(ptClient);
}

// A left click in the centre of a rectangle of a window's client area (empty: the whole).
inline void ClickIn(HWND hWnd, CRect rc = CRect())
{
    if (rc.IsRectNull()) ::GetClientRect(hWnd, &rc);
    ::MapWindowPoints(hWnd, NULL, (POINT*)&rc, 2);
    ClickAt(rc.CenterPoint());
}

// For a thread that must not pump (it would take the messages of the window it waits
// on): sleeps in short steps until pred() holds, about timeoutMs at most. Answers
// whether it held.
inline bool SleepUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000)
{
    for (DWORD n = 0; n < timeoutMs / 10; ++n) {
        if (pred()) return true;
        ::Sleep(10);
    }
    return pred();
}

// Reads the input state (focus, activation, capture) of the thread that owns hWnd, from
// any thread; false when it cannot be read.
inline bool ThreadInputOf(HWND hWnd, GUITHREADINFO& info)
{
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(hWnd, NULL), &info) != FALSE;
}

// Whether hWnd's thread has put its keyboard focus on hFocus.
inline bool ThreadFocusIs(HWND hWnd, HWND hFocus)
{
    GUITHREADINFO info;
    return ThreadInputOf(hWnd, info) && info.hwndFocus == hFocus;
}

}  // namespace realinput
