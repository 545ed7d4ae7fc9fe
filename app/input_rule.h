// When the main window takes input: the one rule every loop, the accelerators and the
// panes ask before a key, a click or a command reaches the main window, and what follows
// when input aimed there is dropped. It holds what that rule reads and nothing else: how
// many of the program's commands run now and when the last one ended, whether the main
// window carries out a command, the message hook that the system's own modal loops ask,
// the last key it dropped, where the windows of the program that just closed lay, and who
// gives up the target. The counts and the hook are scoped objects, so nothing can leave
// them set.
#pragma once
#include "framework/framework.h"
#include <functional>

class CInputRule
{
public:
    // While one lives, one of the program's commands runs (a program started and waited
    // for): the main window takes no command and no input. When it goes, the run has
    // ended (RunEnded).
    class CProgramRun
    {
    public:
        CProgramRun();
        ~CProgramRun();
        CProgramRun(const CProgramRun&) = delete;
        CProgramRun& operator=(const CProgramRun&) = delete;
    };

    // While one lives (made with bCommand true), the main window or one of its panes
    // carries out a command (a menu item, a button, a key, a row's double-click, a box's
    // answer): a refill of the list now is that command's doing, and a hand that clicked
    // for it may still be clicking. When the outermost one goes, the command is over
    // (SetCommandEnded).
    class CCommandCarriedOut
    {
    public:
        explicit CCommandCarriedOut(bool bCommand = true);
        ~CCommandCarriedOut();
        CCommandCarriedOut(const CCommandCarriedOut&) = delete;
        CCommandCarriedOut& operator=(const CCommandCarriedOut&) = delete;

    private:
        bool m_bCommand;
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
    // True while a CCommandCarriedOut lives.
    static bool IsCarryingOutCommand();
    // A modal window of the program is up (a message box, a dialog, a running program's
    // wait): it disables the main window, which then takes no command.
    static bool IsModalWindowUp();
    // Whether the main window and its panes take a command now: not while a modal window
    // of the program is up or one of the program's commands runs. A box's answer is about
    // what it named, and nothing may act behind it.
    static bool TakesCommands();
    // Whether a message that reaches the main window or one of its panes carries out a
    // command of the user's: a command (from a menu, an accelerator, a toolbar, a button,
    // the system menu's own items or Close, or posted), or the group editor's typing
    // applied (a box's Yes). Each window of the main window marks the time it handles
    // one (CCommandCarriedOut), whichever window the command came from.
    static bool IsCommandMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Whether a message is a key or a click (or a move of the pointer) in the client
    // area of the main window or one of its panes.
    static bool IsMainWindowInput(const MSG& msg);
    // Whether such input is dropped unhandled, and drops it (InputDropped): every loop
    // asks before it dispatches (the wait for a program, the framework's loops through
    // the application's PreTranslateMessage, the system's own through the thread's
    // message filter). Behind a modal window and while a command runs, nothing of the
    // main window takes a key or a click, however the system routes them (a disabled
    // window's children still get the keys while one of them has the focus), nor
    // afterwards what was made before the command ended and still waits in the queue;
    // and the keys of a burst that was dropped go with it.
    static bool RefusesMainWindowInput(const MSG& msg);
    // Takes the clicks queued for the main window and its panes off the queue unhandled
    // (InputDropped): they were made while the list was read again and were aimed at
    // what it showed before.
    static void DropQueuedClicks();
    // The one rule for input aimed at the main window, its panes or its commands that
    // the program drops, whoever drops it (the loops above, the list refusing a click on
    // a row that just changed or a key made before the list was read again, a
    // double-click too soon after a command): input that would have changed the
    // program the commands act on (a key, a typed character, a button pressed; not a
    // release, a move or a modifier key alone) takes that program away (the selection
    // goes, TargetGone), so that no command acts on the program the user was moving
    // away from; and a key press starts a burst, so that the keys typed on after it in
    // one go (within the double-click time of the one before) are dropped with it, the
    // menu and command keys among them.
    static void InputDropped(UINT message, WPARAM wParam, DWORD dwTime);
    // Who gives the target up when input is dropped: the program list (empty: none).
    static void SetTargetGone(std::function<void()> fnTargetGone);
    // Who is told when the outermost command carried out is over, with everything it
    // changed (a save after a refill, a box after it): the program list (empty: none).
    static void SetCommandEnded(std::function<void()> fnCommandEnded);
    // When the last of the program's commands ended (64-bit ticks; 0: none yet).
    static ULONGLONG RunEnded();

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
    static bool MadeBeforeRunEnded(const MSG& msg);
};
