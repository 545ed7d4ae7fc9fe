// Records message sequences the way the platform's conformance tests do and compares
// them with an expected table. Messages come in by explicit Record() calls (from a test
// window's procedure) or from thread hooks (WH_CALLWNDPROC for sent messages,
// WH_GETMESSAGE for posted ones) limited to the windows being watched.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

enum MsgFlags : unsigned {
    kSent = 0x01,      // delivered by SendMessage (or a direct call)
    kPosted = 0x02,    // taken from the queue
    kOptional = 0x04,  // may be missing
    kWParam = 0x08,    // wParam must match
    kLParam = 0x10,    // lParam must match
    kHwnd = 0x20,      // window must match
    kTag = 0x40,       // tag must match
};

struct MsgRecord {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
    HWND hwnd;
    std::string tag;  // who recorded it ("child", "dialog", "OnCommand"...)
};

struct ExpectedMsg {
    UINT message;
    unsigned flags;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND hwnd = nullptr;
    const char* tag = nullptr;
};

class MsgRecorder {
public:
    MsgRecorder();
    ~MsgRecorder();
    MsgRecorder(const MsgRecorder&) = delete;
    MsgRecorder& operator=(const MsgRecorder&) = delete;

    void Record(UINT message, WPARAM wParam, LPARAM lParam, HWND hwnd = nullptr, const char* tag = "",
                bool posted = false);
    void Clear() { m_records.clear(); }
    const std::vector<MsgRecord>& Records() const { return m_records; }

    // Only these messages are kept (empty: all).
    void Only(std::initializer_list<UINT> messages) { m_only.insert(messages.begin(), messages.end()); }
    // Watch windows through thread hooks; the hooks go when the recorder does.
    void Watch(HWND hwnd);
    void HookThread();
    void Unhook();

    // Exact sequence check: every recorded message must match the next expected entry,
    // optional entries may be skipped. On failure the message lists both sequences.
    ::testing::AssertionResult Matches(const std::vector<ExpectedMsg>& expected) const;
    // Whether the message occurs (with the tag, when given), and where.
    int IndexOf(UINT message, const char* tag = nullptr, size_t from = 0) const;
    size_t Count(UINT message, const char* tag = nullptr) const;

    static std::string MessageName(UINT message);
    std::string Dump() const;

private:
    static LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam);

    std::vector<MsgRecord> m_records;
    std::set<UINT> m_only;
    std::set<HWND> m_watched;
    HHOOK m_hCallWnd = nullptr;
    HHOOK m_hGetMsg = nullptr;
    MsgRecorder* m_pPrev = nullptr;
};

}  // namespace testsupport
