// When the main window takes input: the one rule every loop, the accelerators and the
// panes ask before a key, a click or a command reaches the main window. It holds what
// that rule reads and nothing else: how many of the program's commands run now, the
// message hook that the system's own modal loops ask, the last key it dropped, and where
// the windows of the program that just closed lay. The count and the hook are scoped
// objects, so nothing can leave them set.
#pragma once
#include "framework/framework.h"

class CInputRule
{
public:
    // While one lives, one of the program's commands runs (a program started and waited
    // for): the main window takes no command and no input.
    class CProgramRun
    {
    public:
        CProgramRun();
        ~CProgramRun();
        CProgramRun(const CProgramRun&) = delete;
        CProgramRun& operator=(const CProgramRun&) = delete;
    };

    // While one lives, the system's own modal loops (a message box's, a dialog box's, a
    // menu's) offer every message they take to a thread filter, which drops a key or a
    // click for the main window behind them; the windows of the thread that close are
    // noted (CoveredAt).
    class CMessageHook
    {
    public:
        CMessageHook();
        ~CMessageHook();
        CMessageHook(const CMessageHook&) = delete;
        CMessageHook& operator=(const CMessageHook&) = delete;

    private:
        HHOOK m_hFilter;
        HHOOK m_hWindows;
    };

    // True while a CProgramRun lives.
    static bool IsProgramRunning();
    // A modal window of the program is up (a message box, a dialog, a running program's
    // wait): it disables the main window, which then takes no command.
    static bool IsModalWindowUp();
    // Whether the main window and its panes take a command now: not while a modal window
    // of the program is up or one of the program's commands runs. A box's answer is about
    // what it named, and nothing may act behind it.
    static bool TakesCommands();
    // Whether a message is a key or a click (or a move of the pointer) in the client
    // area of the main window or one of its panes.
    static bool IsMainWindowInput(const MSG& msg);
    // Whether such input is dropped unhandled: every loop asks before it dispatches (the
    // wait for a program, the framework's loops through the application's
    // PreTranslateMessage, the system's own through the thread's message filter). Behind
    // a modal window and while a command runs, nothing of the main window takes a key or
    // a click, however the system routes them (a disabled window's children still get
    // the keys while one of them has the focus). A key dropped so starts a burst: the
    // keys typed after it in one go are dropped with it, the menu and command keys among
    // them, so that no part of what the user typed acts without the rest.
    static bool RefusesMainWindowInput(const MSG& msg);
    // Takes the keys (with bKeys) and the clicks queued for the main window and its panes
    // off the queue unhandled: they were made while the window could not take them and
    // were aimed at what it showed then. Dropped keys start a burst as above.
    static void DropMainWindowInput(bool bKeys);
    // A pane refused a key of its own accord (made at dwTime, the message's time): a key
    // press so refused starts a burst as above, so that the keys typed on after it do not
    // act without it.
    static void KeyRefused(UINT message, DWORD dwTime);

    // The time of an input message (GetMessageTime, 32 bits) on the 64-bit tick count of
    // ullNow, which the message is not older than: the rule compares times that never
    // wrap, whatever the uptime.
    static ULONGLONG InputTime(DWORD dwMessageTime, ULONGLONG ullNow);
    // Whether the point of the screen lay under a window of the program that closed less
    // than the system's double-click time before ullTime (a box, a dialog, a menu): a
    // click there may be the second half of one aimed at that window.
    static bool CoveredAt(POINT ptScreen, ULONGLONG ullTime);
    // Whether input made at ullInput belongs with what happened at ullEvent: made before
    // it, or less than the system's double-click time after it. A click so soon after a
    // change under the pointer was aimed at what was there before (both halves of a
    // double-click); a key so soon after a dropped key was typed in the same go. No event
    // (0) has nothing belong with it.
    static bool SoonAfter(ULONGLONG ullInput, ULONGLONG ullEvent);
    // A window of the thread closed at ullTime over the rectangle (screen coordinates).
    static void NoteClosedWindow(const RECT& rcScreen, ULONGLONG ullTime);

private:
    static bool RefusesKeyOfBurst(const MSG& msg);
};
