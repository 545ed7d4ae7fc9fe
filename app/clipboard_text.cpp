#include "app/clipboard_text.h"
#include <string.h>

void CopyToClipboard(CWnd* pOwner, const char* text)
{
    if (text == NULL || *text == '\0') return;
    if (!::OpenClipboard(pOwner != NULL ? pOwner->GetSafeHwnd() : NULL)) return;
    if (!::EmptyClipboard()) {
        ::CloseClipboard();
        return;
    }
    const size_t length = strlen(text);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, length + 1);
    if (block == NULL) {
        ::CloseClipboard();
        return;
    }
    char* target = (char*)::GlobalLock(block);
    if (target == NULL) {
        ::GlobalFree(block);
        ::CloseClipboard();
        return;
    }
    memcpy(target, text, length + 1);
    ::GlobalUnlock(block);
    // The clipboard owns the block only when it took it.
    if (::SetClipboardData(CF_TEXT, block) == NULL) ::GlobalFree(block);
    ::CloseClipboard();
}
