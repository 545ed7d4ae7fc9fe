#include "support/msg_recorder.h"
#include <stdio.h>

namespace testsupport {

namespace {
thread_local MsgRecorder* t_hooked = nullptr;  // the recorder whose hooks are active
}

MsgRecorder::MsgRecorder() {}
MsgRecorder::~MsgRecorder() { Unhook(); }

void MsgRecorder::Record(UINT message, WPARAM wParam, LPARAM lParam, HWND hwnd, const char* tag, bool posted) {
    if (!m_only.empty() && m_only.count(message) == 0) return;
    m_records.push_back({message, wParam, lParam, posted, hwnd, tag ? tag : ""});
}

void MsgRecorder::Watch(HWND hwnd) { m_watched.insert(hwnd); }

void MsgRecorder::HookThread() {
    if (m_hCallWnd != nullptr) return;
    m_pPrev = t_hooked;
    t_hooked = this;
    m_hCallWnd = SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, nullptr, GetCurrentThreadId());
    m_hGetMsg = SetWindowsHookExA(WH_GETMESSAGE, GetMsgProc, nullptr, GetCurrentThreadId());
}

void MsgRecorder::Unhook() {
    if (m_hCallWnd) UnhookWindowsHookEx(m_hCallWnd);
    if (m_hGetMsg) UnhookWindowsHookEx(m_hGetMsg);
    if (m_hCallWnd || m_hGetMsg) t_hooked = m_pPrev;
    m_hCallWnd = m_hGetMsg = nullptr;
}

LRESULT CALLBACK MsgRecorder::CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    MsgRecorder* self = t_hooked;
    if (code == HC_ACTION && self != nullptr) {
        const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
        if (self->m_watched.count(p->hwnd)) self->Record(p->message, p->wParam, p->lParam, p->hwnd, "", false);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MsgRecorder::GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    MsgRecorder* self = t_hooked;
    if (code == HC_ACTION && wParam == PM_REMOVE && self != nullptr) {
        const MSG* p = (const MSG*)lParam;
        if (self->m_watched.count(p->hwnd)) self->Record(p->message, p->wParam, p->lParam, p->hwnd, "", true);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string MsgRecorder::MessageName(UINT m) {
    static const struct {
        UINT id;
        const char* name;
    } names[] = {
        {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"}, {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"}, {WM_NCCALCSIZE, "WM_NCCALCSIZE"}, {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_SIZE, "WM_SIZE"}, {WM_MOVE, "WM_MOVE"}, {WM_COMMAND, "WM_COMMAND"}, {WM_NOTIFY, "WM_NOTIFY"},
        {WM_INITDIALOG, "WM_INITDIALOG"}, {WM_TIMER, "WM_TIMER"}, {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_CHAR, "WM_CHAR"},
        {WM_CLOSE, "WM_CLOSE"}, {WM_PAINT, "WM_PAINT"}, {WM_SETFONT, "WM_SETFONT"}, {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"}, {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_DRAWITEM, "WM_DRAWITEM"}, {WM_MEASUREITEM, "WM_MEASUREITEM"}, {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
        {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"}, {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"}, {WM_ENTERIDLE, "WM_ENTERIDLE"},
        {WM_USER, "WM_USER"}, {0x036A, "WM_KICKIDLE"}, {0x0361, "WM_SIZEPARENT"}, {0x0363, "WM_IDLEUPDATECMDUI"},
        {WM_SETTEXT, "WM_SETTEXT"}, {WM_ERASEBKGND, "WM_ERASEBKGND"}, {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
    };
    for (const auto& n : names)
        if (n.id == m) return n.name;
    char buf[32];
    if (m >= 0xBC00 && m < 0xC000) {
        snprintf(buf, sizeof(buf), "reflected(%s)", MessageName(m - 0xBC00).c_str());
        return buf;
    }
    snprintf(buf, sizeof(buf), "0x%04X", m);
    return buf;
}

namespace {
std::string Describe(const MsgRecord& r) {
    char buf[160];
    snprintf(buf, sizeof(buf), "%s %s w=%#lx l=%#lx hwnd=%p %s", r.posted ? "posted" : "sent",
             MsgRecorder::MessageName(r.message).c_str(), (unsigned long)r.wParam, (unsigned long)r.lParam,
             (void*)r.hwnd, r.tag.c_str());
    return buf;
}
std::string Describe(const ExpectedMsg& e) {
    char buf[160];
    snprintf(buf, sizeof(buf), "%s%s%s w=%#lx l=%#lx %s", (e.flags & kOptional) ? "optional " : "",
             (e.flags & kPosted) ? "posted " : ((e.flags & kSent) ? "sent " : ""),
             MsgRecorder::MessageName(e.message).c_str(), (unsigned long)e.wParam, (unsigned long)e.lParam,
             e.tag ? e.tag : "");
    return buf;
}
bool Fits(const MsgRecord& r, const ExpectedMsg& e) {
    if (r.message != e.message) return false;
    if ((e.flags & kPosted) && !r.posted) return false;
    if ((e.flags & kSent) && r.posted) return false;
    if ((e.flags & kWParam) && r.wParam != e.wParam) return false;
    if ((e.flags & kLParam) && r.lParam != e.lParam) return false;
    if ((e.flags & kHwnd) && r.hwnd != e.hwnd) return false;
    if ((e.flags & kTag) && (e.tag == nullptr || r.tag != e.tag)) return false;
    return true;
}
}  // namespace

std::string MsgRecorder::Dump() const {
    std::string s;
    for (size_t i = 0; i < m_records.size(); ++i) s += "  [" + std::to_string(i) + "] " + Describe(m_records[i]) + "\n";
    return s;
}

::testing::AssertionResult MsgRecorder::Matches(const std::vector<ExpectedMsg>& expected) const {
    size_t ri = 0, ei = 0;
    while (ri < m_records.size() || ei < expected.size()) {
        if (ei < expected.size() && ri < m_records.size() && Fits(m_records[ri], expected[ei])) {
            ++ri;
            ++ei;
        } else if (ei < expected.size() && (expected[ei].flags & kOptional)) {
            ++ei;
        } else {
            std::string exp;
            for (size_t i = 0; i < expected.size(); ++i)
                exp += std::string(i == ei ? "> " : "  ") + "[" + std::to_string(i) + "] " + Describe(expected[i]) + "\n";
            return ::testing::AssertionFailure()
                   << "message sequence differs at recorded #" << ri << " / expected #" << ei << "\nexpected:\n"
                   << exp << "recorded:\n"
                   << Dump();
        }
    }
    return ::testing::AssertionSuccess();
}

int MsgRecorder::IndexOf(UINT message, const char* tag, size_t from) const {
    for (size_t i = from; i < m_records.size(); ++i)
        if (m_records[i].message == message && (tag == nullptr || m_records[i].tag == tag)) return (int)i;
    return -1;
}

size_t MsgRecorder::Count(UINT message, const char* tag) const {
    size_t n = 0;
    for (const auto& r : m_records)
        if (r.message == message && (tag == nullptr || r.tag == tag)) ++n;
    return n;
}

}  // namespace testsupport
