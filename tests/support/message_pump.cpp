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

}  // namespace testsupport
