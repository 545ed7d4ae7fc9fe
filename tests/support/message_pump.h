// Bounded message pumping for tests: drain what is pending, or wait a little for
// something asynchronous (posted messages, timers) to arrive.
#pragma once
#include <windows.h>
#include <functional>

namespace testsupport {

// Dispatches every pending message of this thread; stops after maxMessages so a
// window that keeps posting to itself cannot hang a test. Returns the count.
int PumpPending(int maxMessages = 10000);

// Pumps until pred() is true or timeoutMs passed. Returns pred()'s last value.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 2000);

// Pumps for about the given time. Only for waiting out the double-click time: anything
// else waits for its condition with PumpUntil or the helpers below.
void PumpFor(DWORD ms);

// Whether this thread's queue holds no sent, posted or input message (timers and
// paints aside). Input given with SendInput is queued before SendInput returns, so once
// this holds after a pump, that input and whatever its handling posted have been handled.
bool QueueIdle();

// Pumps until QueueIdle() holds and pred() is true, or timeoutMs passed.
bool PumpUntilIdle(const std::function<bool()>& pred = nullptr, DWORD timeoutMs = 2000);

// Pumps until a message that match() accepts has been dispatched, or timeoutMs passed.
bool PumpUntilDispatched(const std::function<bool(const MSG&)>& match, DWORD timeoutMs = 2000);

// Sets a timer of ms on this thread and pumps until it has fired (bounded by ms plus
// timeoutMs). A thread's timers fire in the order they fall due, so every timer of this
// thread that was set before this call and falls due no later has fired (and been
// handled) by then: the way to show that such a timer did not do something.
bool PumpPastTimer(DWORD ms, DWORD timeoutMs = 5000);

}  // namespace testsupport
