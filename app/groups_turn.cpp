#include "app/groups_turn.h"
#include "app/groups_kept.h"
#include "app/groups_store.h"
#include "catalogue/groups_file.h"

namespace {

// The note a store keeps beside the records it is about to store (CKeptRecords::NoteWrite):
// the file the write replaces and the file it makes, each whether it is there, its size and
// its hash (GroupsFileState). Notes of the first layout were left behind by a write that was
// then refused; since the second, a refused or failed write takes its notes away before the
// new bytes leave the folder (CGroupsFile::BeforeReplace).
const DWORD kWriteNoteLayout = 2;

void PutState(std::string& note, const GroupsFileState& state)
{
    note += (char)(state.exists ? 1 : 0);
    note += (char)(state.readable ? 1 : 0);
    for (ULONGLONG value : {state.size, state.hash})
        for (int i = 0; i < 8; ++i) note += (char)((value >> (8 * i)) & 0xFF);
}

bool GetState(const std::string& note, size_t& at, GroupsFileState& state)
{
    if (note.size() - at < 18) return false;
    state.exists = note[at] != 0;
    state.readable = note[at + 1] != 0;
    at += 2;
    for (ULONGLONG* pValue : {&state.size, &state.hash}) {
        *pValue = 0;
        for (int i = 0; i < 8; ++i) *pValue |= (ULONGLONG)(unsigned char)note[at + i] << (8 * i);
        at += 8;
    }
    return true;
}

// Whether the write a record's note speaks of reached the file, judged by the file found at
// the start (a save's leftovers not removed yet). The file as that write made it: reached.
// The file it replaced (also put back from where the save set it aside), or the write's new
// bytes still beside the file (a ".~N.tmp" of them, never moved in): not reached. Any other
// file, or one that cannot be read now (held), is judged by the note alone: one of this
// layout outlives only a write that took the file's name, so what another program made of
// the file since stands, as the running program's merge would have let it stand, and the
// record is not applied again. A note of the first layout may speak of a write that was
// refused: its record is applied, and its changes merge with what the file holds as any
// change (one the file holds already stays once). Where the write took the name, the file
// it replaced goes from beside the file if a death left it there (its move-in done, its
// delete not).
bool WriteReachedFile(const std::string& note)
{
    GroupsFileState from, to;
    size_t at = 4;
    const unsigned char nLayout = (unsigned char)note[0];
    if (note.size() != 4 + 2 * 18 || note[1] != 0 || note[2] != 0 || note[3] != 0 || nLayout < 1 ||
        nLayout > kWriteNoteLayout || !GetState(note, at, from) || !GetState(note, at, to))
        return false;
    const std::string path = GetGroupsFilePath();
    const GroupsFileState now = ReadGroupsFileState(path);
    if (now == to) {
        RemoveGroupsFileReplaced(path, from);
        return true;
    }
    if (now == from) return false;
    const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    WIN32_FIND_DATAA found;
    HANDLE hSearch = ::FindFirstFileA((path + ".~*.tmp").c_str(), &found);
    bool bBeside = false;
    for (BOOL bMore = hSearch != INVALID_HANDLE_VALUE; bMore && !bBeside; bMore = ::FindNextFileA(hSearch, &found))
        bBeside = ReadGroupsFileState(folder + found.cFileName) == to;
    if (hSearch != INVALID_HANDLE_VALUE) ::FindClose(hSearch);
    if (bBeside || nLayout < 2) return false;
    RemoveGroupsFileReplaced(path, from);
    return true;
}

}  // namespace

GroupsTurn::GroupsTurn(DWORD dwWaitMs, bool bAtEnd) : m_hTurn(GroupsTurnObject(GetGroupsFilePath()))
{
    // None could be made: the copies write as they did before they took turns.
    m_bHeld = m_hTurn == NULL;
    bool bAbandoned = false;
    const ULONGLONG nEnd = ::GetTickCount64() + dwWaitMs;
    while (!m_bHeld) {
        const ULONGLONG nNow = ::GetTickCount64();
        const bool bWaits = nNow < nEnd && (bAtEnd || !CGroupsStore::Instance().SessionEnded());
        const DWORD dwWait = bWaits ? (DWORD)(nEnd - nNow) : 0;
        const DWORD dwGot = bAtEnd ? ::WaitForSingleObject(m_hTurn, dwWait)
                                   : ::MsgWaitForMultipleObjects(1, &m_hTurn, FALSE, dwWait, QS_SENDMESSAGE);
        m_bHeld = m_bOwned = dwGot == WAIT_OBJECT_0 || dwGot == WAIT_ABANDONED_0;
        bAbandoned = dwGot == WAIT_ABANDONED_0;
        if (dwGot != WAIT_OBJECT_0 + 1) break;
        MSG msg;
        ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    // The steps in the turn read and write the file, which may block on a slow disk or
    // a network share for long: a start meanwhile sees this copy at work, not hung.
    if (m_bHeld) m_pWorking.reset(new CWorkNotedMeanwhile);
    // Abandoned: its holder died half-way through a step. What it left is put right
    // before this step opens or writes anything, whichever step this is: a save that
    // opened the file first would put the file set aside back and delete the new bytes
    // that tell a start the noted write never took the name.
    if (bAbandoned) PutRightWhatWritersLeft();
}

GroupsTurn::~GroupsTurn()
{
    if (m_bOwned) ::ReleaseMutex(m_hTurn);
}

void PutRightWhatWritersLeft()
{
    // The user's file set aside goes back to its name. The notes are judged against the
    // file as found, before the new bytes of a save cut short go (they tell whether the
    // write a note speaks of got there); a note the registry keeps keeps them too.
    const std::string path = GetGroupsFilePath();
    RestoreGroupsFileSetAside(path);
    if (JudgeKeptWriteNotes(WriteReachedFile)) RemoveGroupsFileLeftovers(path);
}

std::string WriteNote(const GroupsFileState& from, const GroupsFileState& to)
{
    std::string note;
    for (int i = 0; i < 4; ++i) note += (char)((kWriteNoteLayout >> (8 * i)) & 0xFF);
    PutState(note, from);
    PutState(note, to);
    return note;
}

void StopHereForTest(const char* pszStep)
{
    char szStep[32] = "";
    if (::GetEnvironmentVariableA("NIMBO_PURGELET_STOP_AT", szStep, sizeof(szStep)) == 0 ||
        lstrcmpA(szStep, pszStep) != 0)
        return;
    const std::string id = std::to_string(::GetCurrentProcessId());
    HANDLE hStopped = ::CreateEventA(NULL, TRUE, FALSE, ("NimboPurgelet.Stopped." + id).c_str());
    HANDLE hGoOn = ::CreateEventA(NULL, TRUE, FALSE, ("NimboPurgelet.GoOn." + id).c_str());
    if (hStopped != NULL && hGoOn != NULL && ::SetEvent(hStopped)) ::WaitForSingleObject(hGoOn, INFINITE);
    if (hStopped != NULL) ::CloseHandle(hStopped);
    if (hGoOn != NULL) ::CloseHandle(hGoOn);
}
