#include "support/message_pump.h"

namespace testsupport {

int PumpPending(int maxMessages) {
    MSG msg;
    int n = 0;
    while (n < maxMessages && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for whoever owns the loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++n;
    }
    return n;
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (pred()) return true;
        if (GetTickCount() - start >= timeoutMs) return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    PumpPending();
}

bool QueueIdle() {
    return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)) == 0;
}

bool PumpUntilIdle(const std::function<bool()>& pred, DWORD timeoutMs) {
    return PumpUntil([&] { return QueueIdle() && (!pred || pred()); }, timeoutMs);
}

bool PumpUntilDispatched(const std::function<bool(const MSG&)>& match, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        for (int n = 0; n < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (match(msg)) return true;
        }
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

UINT_PTR g_markerTimer = 0;
bool g_markerFired = false;

void CALLBACK MarkerTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    if (id == g_markerTimer) g_markerFired = true;
}

}  // namespace

bool PumpPastTimer(DWORD ms, DWORD timeoutMs) {
    g_markerFired = false;
    g_markerTimer = SetTimer(nullptr, 0, ms, MarkerTimerProc);
    if (g_markerTimer == 0) return false;
    const bool fired = PumpUntil([] { return g_markerFired; }, ms + timeoutMs);
    KillTimer(nullptr, g_markerTimer);
    g_markerTimer = 0;
    return fired;
}

}  // namespace testsupport
