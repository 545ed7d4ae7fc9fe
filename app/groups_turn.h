// This copy's turn at the groups file and its kept records, and what a write in the turn
// leaves for whoever takes the turn after a death: the note of the write (before it takes
// the file's name) and the files beside the file, put right before anything else is done.
#pragma once
#include "app/purgelet_app.h"
#include <windows.h>
#include <memory>
#include <string>

struct GroupsFileState;

// This copy's turn at the groups file and its records (GroupsTurnObject), for one short
// step: an open of the file (which puts back a file a save set aside) and the write that
// follows with its notes, a keep, a start's look at what writers left. Waited for at most
// dwWaitMs, answering what other threads send meanwhile as at a held file (not once the
// session has ended, unless bAtEnd); another copy's turn that outlasts it counts as a file
// held: a change waits for the next write, a start reads once it is free. Never held across
// a box or the user: the steps that take it speak once it is given back. A turn whose
// holder died puts right what it left (PutRightWhatWritersLeft) before the step goes on.
class GroupsTurn
{
public:
    explicit GroupsTurn(DWORD dwWaitMs, bool bAtEnd = false);
    ~GroupsTurn();
    GroupsTurn(const GroupsTurn&) = delete;
    GroupsTurn& operator=(const GroupsTurn&) = delete;
    bool Held() const { return m_bHeld; }

private:
    HANDLE m_hTurn;
    bool m_bHeld = false, m_bOwned = false;
    std::unique_ptr<CWorkNotedMeanwhile> m_pWorking;
};

// In the turn, what a writer that died half-way left: the user's file set aside goes back
// to its name, the notes of writes are judged against the file as found, and the new bytes
// of a save cut short go once no note needs them.
void PutRightWhatWritersLeft();

// The note a store keeps beside the records it is about to store (CKeptRecords::NoteWrite)
// for a write that makes `to` of `from`.
std::string WriteNote(const GroupsFileState& from, const GroupsFileState& to);

// Where a test stops the program in the middle of a write (the environment's
// NIMBO_PURGELET_STOP_AT names the step): the step says so through the event
// "NimboPurgelet.Stopped.<process id>" and waits until "NimboPurgelet.GoOn.<process id>" is set,
// or the test ends the process there, as a death at that moment would. Unset, nothing waits.
void StopHereForTest(const char* pszStep);
