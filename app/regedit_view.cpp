// View Registry Entry: brings up the registry editor (started when none is open) and
// walks its key tree to a program's key, typed by the key's exact (wide) name.
#include "app/regedit_view.h"
#include "app/purgelet_app.h"
#include <shellapi.h>
#include <string>
#include <vector>

namespace {

struct ChildOfClass
{
    const char* pszClass;
    HWND hFound;
};

BOOL CALLBACK NoteChildOfClass(HWND hWnd, LPARAM lParam)
{
    ChildOfClass* pFind = (ChildOfClass*)lParam;
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpiA(szClass, pFind->pszClass) != 0) return TRUE;
    pFind->hFound = hWnd;
    return FALSE;
}

}  // namespace

HWND FindRegEditWindow() { return ::FindWindowA("RegEdit_RegEdit", NULL); }

HWND FindChildOfClass(HWND hParent, const char* pszClass)
{
    ChildOfClass find = {pszClass, NULL};
    ::EnumChildWindows(hParent, NoteChildOfClass, (LPARAM)&find);
    return find.hFound;
}

HWND FindRegEditReadyTree(HWND hEditor)
{
    if (!::IsWindow(hEditor)) return NULL;
    HWND hTree = FindChildOfClass(hEditor, "SysTreeView32");
    DWORD_PTR root = 0;
    if (hTree == NULL ||
        !::SendMessageTimeoutW(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0, SMTO_ABORTIFHUNG, 1000, &root) || root == 0)
        return NULL;
    return hTree;
}

HWND FindRegEditStatusBar(HWND hEditor) { return FindChildOfClass(hEditor, "msctls_statusbar32"); }

namespace {

// How long a registry editor that was started may take to show its window: on a busy
// machine under Wine it takes seconds.
const DWORD kEditorWindowWaitMs = 30000;
// How often the wait looks for the window; a window shown for less than this was never
// seen by the user either.
const DWORD kEditorLookMs = 10;
// Bounds of the walk by arrow keys: a status text longer than any key path, and more
// steps than any tree the editor shows.
const DWORD_PTR kMaxShownPath = 65536;
const UINT kStatusReadMs = 10000;
const int kMaxWalkSteps = 200000;

// Paints of this thread's windows handled in one go at most: a window that never
// validates itself must not keep the wait from looking at the editor.
const int kMaxPaintsAtOnce = 64;

// Paints the program's windows that wait for it (an editor starting over the main
// window uncovers it, and the user sees it paint again). Only paints are taken from the
// queue: no key, click or command of ours runs during the wait.
void PaintWaitingWindows()
{
    MSG msg;
    for (int n = 0; n < kMaxPaintsAtOnce && ::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE | PM_QS_PAINT); ++n)
        if (msg.message == WM_PAINT) ::DispatchMessageA(&msg);
}

// Waits, within a bound, until pred() holds, the process (when given) ended or the bound
// passed; answers what pred() says at the end. Messages that other windows send to ours
// meanwhile are answered (the editor's start-up may send some) and our windows paint;
// nothing else is taken from the queue: no command of ours runs during the wait.
bool WaitForEditor(HANDLE hProcess, DWORD timeoutMs, bool (*pred)(HWND), HWND hEditor)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (pred(hEditor)) return true;
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        const DWORD wait = timeoutMs - elapsed < kEditorLookMs ? timeoutMs - elapsed : kEditorLookMs;
        const DWORD result = ::MsgWaitForMultipleObjects(hProcess != NULL ? 1 : 0, &hProcess, FALSE, wait,
                                                         QS_SENDMESSAGE | QS_PAINT);
        if (hProcess != NULL && result == WAIT_OBJECT_0) return pred(hEditor);  // the editor ended
        MSG msg;
        if (result == (hProcess != NULL ? WAIT_OBJECT_0 + 1 : WAIT_OBJECT_0)) {
            ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            PaintWaitingWindows();
        } else if (result == WAIT_FAILED) {
            ::Sleep(wait);
        }
    }
}

bool EditorWindowCame(HWND) { return FindRegEditWindow() != NULL; }

bool TreeReadyOrEditorGone(HWND hEditor) { return !::IsWindow(hEditor) || FindRegEditReadyTree(hEditor) != NULL; }

// The components of a key path, split at its backslashes (a key name holds none).
std::vector<std::wstring> PathComponents(const wchar_t* path)
{
    std::vector<std::wstring> components;
    std::wstring component;
    for (const wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p != L'\\') {
            component += *p;
        } else if (!component.empty()) {
            components.push_back(component);
            component.clear();
        }
    }
    if (!component.empty()) components.push_back(component);
    return components;
}

// The path of the key the editor shows selected, read from its status bar, without the
// computer's name in front; empty when the bar shows none. The editor may be slow to answer
// on a busy machine (opening a key of thousands of subkeys takes it seconds there): a read
// it does not answer within kStatusReadMs counts as none.
std::vector<std::wstring> ShownPath(HWND hStatus)
{
    DWORD_PTR nLength = 0;
    if (!::SendMessageTimeoutW(hStatus, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kStatusReadMs, &nLength) ||
        nLength == 0 || nLength > kMaxShownPath)
        return std::vector<std::wstring>();
    std::vector<wchar_t> text(nLength + 1, L'\0');
    DWORD_PTR nCopied = 0;
    if (!::SendMessageTimeoutW(hStatus, WM_GETTEXT, text.size(), (LPARAM)text.data(), SMTO_NORMAL, kStatusReadMs,
                               &nCopied))
        return std::vector<std::wstring>();
    text.back() = L'\0';
    std::vector<std::wstring> path = PathComponents(text.data());
    if (!path.empty()) path.erase(path.begin());
    return path;
}

// Key names compare as the registry compares them: without regard to case.
bool SameKeyName(std::wstring a, std::wstring b)
{
    if (a.size() != b.size()) return false;
    if (!a.empty()) ::CharUpperBuffW(&a[0], (DWORD)a.size());
    if (!b.empty()) ::CharUpperBuffW(&b[0], (DWORD)b.size());
    return a == b;
}

// Whether `shown` is exactly the first `n` components of `wanted`.
bool ShowsPrefix(const std::vector<std::wstring>& shown, const std::vector<std::wstring>& wanted, size_t n)
{
    if (shown.size() != n || n > wanted.size()) return false;
    for (size_t i = 0; i < n; ++i)
        if (!SameKeyName(shown[i], wanted[i])) return false;
    return true;
}

// Whether `shown` lies below (or at) the first `n` components of `wanted`.
bool ShowsBelow(const std::vector<std::wstring>& shown, const std::vector<std::wstring>& wanted, size_t n)
{
    return shown.size() >= n && ShowsPrefix(std::vector<std::wstring>(shown.begin(), shown.begin() + n), wanted, n);
}

// Walks from the root to the wanted key with the arrow keys alone, reading every step
// back from the status bar: the right arrow opens a key and goes to its first subkey, the
// down arrow to the next one, until the shown name is the wanted one exactly. For trees
// whose typed search does not reach the key (Wine's keeps the letters typed for the key
// before; a longer name may begin with the wanted one). Stops where the key is missing.
// Returns whether it got there.
bool WalkByArrows(HWND hTree, HWND hStatus, LPARAM root, const std::vector<std::wstring>& wanted)
{
    ::SendMessageW(hTree, TVM_SELECTITEM, TVGN_CARET, root);
    if (!ShownPath(hStatus).empty()) return false;  // the root shows the computer alone
    int nSteps = 0;
    for (size_t n = 0; n < wanted.size(); ++n) {
        // The first right arrow may only open the key; the second goes to its first subkey.
        for (int nRight = 0; nRight < 2 && ShowsPrefix(ShownPath(hStatus), wanted, n); ++nRight)
            ::SendMessageW(hTree, WM_KEYDOWN, VK_RIGHT, 0);
        std::vector<std::wstring> shown = ShownPath(hStatus);
        while (!ShowsPrefix(shown, wanted, n + 1)) {
            // Past the last subkey, or no step taken: the key is not there.
            if (shown.size() != n + 1 || !ShowsBelow(shown, wanted, n) || ++nSteps > kMaxWalkSteps) return false;
            ::SendMessageW(hTree, WM_KEYDOWN, VK_DOWN, 0);
            std::vector<std::wstring> next = ShownPath(hStatus);
            if (next.size() > n + 1 && ShowsBelow(next, shown, n + 1)) {
                // The key passed over is open: back up to it and close it (its subkeys
                // may be thousands), then on to the next one.
                while (next.size() > n + 1 && ++nSteps <= kMaxWalkSteps) {
                    ::SendMessageW(hTree, WM_KEYDOWN, VK_LEFT, 0);
                    next = ShownPath(hStatus);
                }
                ::SendMessageW(hTree, WM_KEYDOWN, VK_LEFT, 0);
                ::SendMessageW(hTree, WM_KEYDOWN, VK_DOWN, 0);
                next = ShownPath(hStatus);
            }
            if (next == shown) return false;
            shown.swap(next);
        }
    }
    return true;
}

}  // namespace

void ShowInRegEdit(const wchar_t* registryPath)
{
    HWND hEditor = FindRegEditWindow();
    if (hEditor == NULL) {
        SHELLEXECUTEINFOA sei;
        memset(&sei, 0, sizeof(sei));
        sei.cbSize = sizeof(sei);
        sei.fMask = SEE_MASK_NOCLOSEPROCESS;
        sei.lpVerb = "open";
        sei.lpFile = "regedit.exe";
        sei.nShow = SW_SHOWNORMAL;
        if (!::ShellExecuteExA(&sei)) {
            AfxMessageBox("Nimbo Purgelet was unable to launch RegEdit.", MB_ICONERROR);
            return;
        }
        // The editor's window is what counts, not its idle state: an editor that the user
        // closes again at once did open, and only one whose window never came failed.
        const bool bCame = WaitForEditor(sei.hProcess, kEditorWindowWaitMs, EditorWindowCame, NULL);
        hEditor = FindRegEditWindow();
        if (hEditor != NULL) WaitForEditor(sei.hProcess, kEditorWindowWaitMs, TreeReadyOrEditorGone, hEditor);
        if (sei.hProcess != NULL) ::CloseHandle(sei.hProcess);
        if (!bCame) {
            AfxMessageBox("Nimbo Purgelet was unable to launch RegEdit.", MB_ICONERROR);
            return;
        }
        if (hEditor == NULL) return;  // it came and the user closed it already
    }
    ::ShowWindow(hEditor, SW_SHOW);
    ::SetForegroundWindow(hEditor);

    HWND hTree = FindRegEditReadyTree(hEditor);
    if (hTree == NULL) return;
    CWnd tree;
    tree.Attach(hTree);
    ::SetForegroundWindow(tree.GetSafeHwnd());
    tree.SetFocus();
    LPARAM root = ::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    ::SendMessageW(hTree, TVM_EXPAND, TVE_EXPAND, root);
    ::SendMessageW(hTree, TVM_SELECTITEM, TVGN_CARET, root);
    // The tree's own keyboard handling walks the path: the right arrow opens the
    // selected node, and typed capitals select the child by incremental search. The
    // characters go as they are (wide): a key named outside the code page is found by
    // its own name, never by the "?" its ANSI form shows.
    if (registryPath == NULL) registryPath = L"";
    for (const wchar_t* p = registryPath; *p != L'\0'; ++p) {
        if (*p == L'\\')
            ::SendMessageW(hTree, WM_KEYDOWN, VK_RIGHT, 0);
        else
            ::SendMessageW(hTree, WM_CHAR, (WPARAM)(ULONG_PTR)::CharUpperW((LPWSTR)(ULONG_PTR)*p), 0);
    }
    // Where the status bar tells which key the typing reached and it is not the one
    // named, the walk is done again by arrow keys, name by name.
    HWND hStatus = FindRegEditStatusBar(hEditor);
    const std::vector<std::wstring> wanted = PathComponents(registryPath);
    std::vector<std::wstring> shown = hStatus != NULL ? ShownPath(hStatus) : std::vector<std::wstring>();
    if (!shown.empty() && !ShowsPrefix(shown, wanted, wanted.size())) WalkByArrows(hTree, hStatus, root, wanted);
    tree.Detach();
    ::SetForegroundWindow(hEditor);
    ::SetFocus(hEditor);
}
