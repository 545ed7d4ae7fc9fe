// A stand-in for the registry editor's window in the test's own process: its frame class
// and its key tree, whose keys are recorded as the tree receives them (wide, as typed).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

namespace fakeregedit {

struct KeyRecord
{
    UINT message;
    WPARAM wParam;
    HTREEITEM caret;  // the selection when the key arrived
};

inline std::vector<KeyRecord>& Keys()
{
    static std::vector<KeyRecord> keys;
    return keys;
}

inline WNDPROC& TreeProc()
{
    static WNDPROC pfn = NULL;
    return pfn;
}

inline LRESULT CALLBACK RecordingTreeProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_CHAR)
        Keys().push_back({message, wParam, (HTREEITEM)::SendMessageW(hWnd, TVM_GETNEXTITEM, TVGN_CARET, 0)});
    return ::CallWindowProcW(TreeProc(), hWnd, message, wParam, lParam);
}

inline HTREEITEM AddItem(HWND hTree, HTREEITEM hParent, const char* text)
{
    TVINSERTSTRUCTA tvi = {};
    tvi.hParent = hParent;
    tvi.hInsertAfter = TVI_LAST;
    tvi.item.mask = TVIF_TEXT;
    tvi.item.pszText = const_cast<char*>(text);
    return (HTREEITEM)::SendMessageA(hTree, TVM_INSERTITEMA, 0, (LPARAM)&tvi);
}

class FakeRegEdit
{
public:
    FakeRegEdit()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "RegEdit_RegEdit";
        ::RegisterClassA(&wc);
        m_hFrame = ::CreateWindowExA(0, "RegEdit_RegEdit", "Registry Editor", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300,
                                     NULL, NULL, wc.hInstance, NULL);
        m_hTree = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, 0, 0, 280, 260,
                                    m_hFrame, NULL, wc.hInstance, NULL);
        m_hRoot = AddItem(m_hTree, TVI_ROOT, "My Computer");
        HTREEITEM hHkcu = AddItem(m_hTree, m_hRoot, "HKEY_CURRENT_USER");
        AddItem(m_hTree, m_hRoot, "HKEY_LOCAL_MACHINE");
        AddItem(m_hTree, hHkcu, "Software");
        Keys().clear();
        // A wide procedure: it sees the characters as they are, not their ANSI form.
        TreeProc() = (WNDPROC)::SetWindowLongPtrW(m_hTree, GWLP_WNDPROC, (LONG_PTR)RecordingTreeProc);
    }
    ~FakeRegEdit()
    {
        ::SetWindowLongPtrW(m_hTree, GWLP_WNDPROC, (LONG_PTR)TreeProc());
        ::DestroyWindow(m_hFrame);
        ::UnregisterClassA("RegEdit_RegEdit", ::GetModuleHandleA(NULL));
    }
    // What the tree was typed after its root: each character as it arrived, a backslash
    // for each right arrow.
    static std::wstring Typed()
    {
        std::wstring typed;
        for (const KeyRecord& k : Keys()) {
            if (k.message == WM_KEYDOWN && k.wParam == VK_RIGHT)
                typed += L'\\';
            else if (k.message == WM_CHAR)
                typed += (wchar_t)k.wParam;
        }
        return typed;
    }

    HWND m_hFrame, m_hTree;
    HTREEITEM m_hRoot;
};

}  // namespace fakeregedit
