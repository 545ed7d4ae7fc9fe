#include "catalogue/clipboard_text.h"
#include <cstring>
#include "framework/app.h"
#include "framework/wnd.h"

void CopyToClipboard(const char* text) {
    if (!text || !*text) return;
    CWnd* mainWnd = AfxGetMainWnd();
    if (!::OpenClipboard(mainWnd ? mainWnd->GetSafeHwnd() : NULL)) return;
    if (!::EmptyClipboard()) {
        ::CloseClipboard();
        return;
    }
    const size_t length = std::strlen(text);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, length + 1);
    if (!block) {
        ::CloseClipboard();
        return;
    }
    char* target = static_cast<char*>(::GlobalLock(block));
    if (!target) {
        ::GlobalFree(block);
        ::CloseClipboard();
        return;
    }
    std::memcpy(target, text, length + 1);
    ::GlobalUnlock(block);
    // The clipboard owns the block only when it took it.
    if (!::SetClipboardData(CF_TEXT, block)) ::GlobalFree(block);
    ::CloseClipboard();
}
