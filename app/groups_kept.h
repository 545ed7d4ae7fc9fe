// What the program keeps in its registry key for the next start when it cannot store it
// now: the changes to the groups that the groups file does not hold yet when the program
// ends (it was held by another program, or could not be written), in the section
// "Groups Not Stored", and the sections' reading, which never makes a key.
//
// The changes are kept as a merge needs them: the file's groups as this run last read or
// wrote them (with the file's Ids, and the other Ids it held), and each group changed,
// added or deleted here since. The next start makes that run's groups again and applies
// them to what the file holds then through the merge of a change made in that run
// (CGroupsStore), so that what another program changed in the file meanwhile stays and
// no kept change lands on another group.
#pragma once
#include <windows.h>
#include <set>
#include <string>
#include <vector>
#include "catalogue/groups.h"

// The turn every copy of the program this user runs, in any session, takes at the groups file
// at `path` and at the records kept for it: a write of the file and of the records that
// note or remove what it stores, a keep, and a start's look at what a writer left beside the
// file and in the records (made once, kept open; NULL when none can be made). A mutex, which
// one thread holds at a time, in the namespace all sessions share: the system lets it go
// when its holder dies (the next taker gets WAIT_ABANDONED), in Wine as in Windows, so that a
// start knows, rather than guesses from files and process ids, that no writer is half-way
// while it holds the turn. A lock file beside the groups file would do the same but leave a
// file of its own in the user's folder.
HANDLE GroupsTurnObject(const std::string& path);
// The program's registry section of that name, opened for reading, or NULL when there is
// none.
HKEY OpenProgramSection(const char* pszSection);
// A text value (REG_SZ) of such a section; false when there is none, or one of another type.
bool ReadSectionText(HKEY hKey, const char* pszValue, std::string& text);
// A number (REG_DWORD) of such a section; false when there is none, or one of another type.
bool ReadSectionNumber(HKEY hKey, const char* pszValue, DWORD& nNumber);
// Removes the section with its values, when there is one.
void ForgetProgramSection(const char* pszSection);

// One group changed, added or deleted here that the groups file does not hold so yet.
struct KeptGroupChange
{
    int nBase = -1;      // the group's place in KeptGroups::base; -1 for a group added here
    bool bHere = false;  // the group is here: `here` is it as changed; not here: deleted here
    // Of a group added here, its Id there too (0: one for that run only, or none kept).
    GroupEntry here;
};

// What the next start needs to merge the changes made here into the file as the running
// program would have: the file's groups as this run last read or wrote them, and what the
// user changed in them since.
struct KeptGroups
{
    // The user groups as the file held them then, in its order, each with the file's Id, or
    // 0 where the file gave it none of its own (such a group is found by its name and
    // keywords, and is given an Id only once the file is read).
    std::vector<GroupEntry> base;
    // The Ids the file held then besides those of `base` (CGroupsFile::OtherIds).
    std::vector<int> baseOtherIds;
    // Only what the file does not hold: groups added here come last, in their order here.
    std::vector<KeptGroupChange> changes;
    // For each group of `base` the file gave no Id of its own, the Id it had in that run, so
    // that the next start's merge is that run's (0 elsewhere, and where none is kept).
    std::vector<int> baseHereIds;
    // What that run saw the file count as given (GivenIds), with the Ids of `base` and
    // `baseOtherIds` (kept without them); the largest Id it gave or saw, and the lowest it gave downwards (0:
    // none): the next start gives none of them again.
    GivenIds seen;
    int nLargestId = 0;
    int nLowestDownwards = 0;
    // Set when only the groups of `base` that a change names are read whole: the others
    // hold their Id alone (a record merged with the groups here in time that grows with
    // its changes, CKeptRecords::Whole reads it whole when the merge needs it).
    bool baseLean = false;
};

// The changes that make `here` of `base` (both with the Ids the groups have here, `base`
// in the file's order); `unstated` holds the Ids of base groups the file does not hold
// under those Ids, `baseOtherIds` the file's other Ids as `base` was read.
KeptGroups GroupChangesBetween(const std::vector<GroupEntry>& base, const std::vector<GroupEntry>& here,
                               const std::set<int>& unstated, const std::vector<int>& baseOtherIds);
// Each end that keeps changes keeps them as a record of its own beside those other copies
// of the program kept (two sessions of one user share the key): one copy never replaces
// nor removes what another kept. The names of the records kept, in the order they were
// kept (the value of an earlier build first); not those another copy that still runs took
// to store (they are its alone until it ends).
std::vector<std::string> KeptRecordNames();
// Puts records' names (each "Groups <time> <process>", one taken to store with " <when its
// taker started>" after it, or the value "Groups" of an earlier layout) in the order they
// were kept, however the registry listed them: the earlier layout's value first, then by the
// time in the name; a record taken to store stays where the one it was taken from stood.
void SortKeptRecordNames(std::vector<std::string>& names);
// How a copy opens another process to look at it (::OpenProcess but in tests).
typedef HANDLE(WINAPI* OpenProcessFunction)(DWORD, BOOL, DWORD);
// The one rule every reader of the records asks: a record another copy of the program took
// to store while that copy still runs is that copy's alone (it stores it once the file is
// free, or keeps it at its end); no other copy reads, takes or removes it. Once that copy
// has ended (it stored it and removed it, kept it at its end, or died) it is any copy's.
// Only a taken name carries the process and when it started: an earlier layout's is any
// copy's, as before.
bool IsAnotherRunningCopysRecord(const std::string& name, OpenProcessFunction pOpenProcess = ::OpenProcess);
// Keeps the changes as the record *pName (a new record, named here, when it is empty) in
// place of what that record held. No changes keep nothing. False when the registry refused
// them (the record is gone then too: what it held is older than these changes). Without
// bApart the record holds its whole base in its one value, none apart: a writer outside
// the turn at the file keeps them so.
bool KeepGroupChanges(const KeptGroups& kept, std::string* pName = NULL, bool bApart = true);
// Takes the record for this copy alone before it stores it (two copies may have read it
// at their starts): it goes under a name of this copy's own, *pClaimed, kept in the same
// place in the order. False when the record is gone (another copy took it) or could not be
// taken: it is not this copy's to store then. The name taken says which process took it,
// so that no other copy reads, takes or removes the record while this one runs.
// The record's bytes and type as claimed go to pBytes and pType, when given.
bool ClaimKeptRecord(const std::string& name, std::string* pClaimed, std::vector<BYTE>* pBytes = NULL,
                     DWORD* pType = NULL);
// A record's bytes as kept under `name` (one of the layout by name, a REG_BINARY value), read
// without taking it; false when there is none such.
bool ReadKeptRecord(const std::string& name, std::vector<BYTE>& bytes);
// A name of this copy's own for what it takes from the record `name`, in its place.
std::string ClaimedKeptRecordName(const std::string& name);
// Takes records read already (not taken) for this copy alone at once: `kept`, what the
// groups here hold of them, is written as one record under `claimed` (a name of this
// copy's own), then each of `names` is deleted. The names whose delete fails go to `taken`:
// another copy took them meanwhile, they are not this copy's to store. False, with nothing
// deleted, when the registry refused the write. The bases the records deleted kept apart go
// to `bases`, and stay until ForgetKeptBases: when one was taken, the others are merged
// again, read whole from their bases.
bool ClaimKeptRecordsAsOne(const KeptGroups& kept, const std::string& claimed, const std::vector<std::string>& names,
                           std::set<std::string>& taken, std::vector<std::string>& bases);
void ForgetKeptBases(const std::vector<std::string>& bases);
// Removes these records, and the mark that records are kept once none is left. The section
// stays: another copy may be keeping a record in it meanwhile.
void ForgetKeptRecords(const std::set<std::string>& names);
// Removes the bases kept apart (the names and keywords of the groups a record's changes do
// not name, beside the section) that no record names: in the turn at the file
// (GroupsTurnObject), what a copy left that died between the writes of a record or between
// its deletes.
void ForgetLostKeptBases();
// Forgets the notes of writes (CKeptRecords::NoteWrite) whose record is gone, and the mark
// of records kept when none is left: what a death between a record's delete and theirs left.
void ForgetLostKeptNotes();
// In the turn at the file, what a writer that died left in the key: the bases and notes
// whose record is gone (ForgetLostKeptBases, ForgetLostKeptNotes), and each record's note of
// a write that stores it (CKeptRecords::NoteWrite), judged by `reached` (the rule is the
// store's) against the file as found: when the file holds that write the record goes, never
// applied again; else the record stays for a start to take. Either way its note goes.
// False when the registry refused to delete a note: the new bytes of that write stay beside
// the file then, as a later judging of the note needs them.
bool JudgeKeptWriteNotes(bool (*reached)(const std::string& note));
// What ReadKeptGroupChanges found.
enum class KeptRead
{
    None,       // nothing kept
    Read,       // the changes, read whole
    Unreadable  // something kept that cannot be read as changes (why: the reason, for the user)
};
// The changes kept in one record. Nothing of a value that cannot be read whole is used, nor
// of one that names one Id twice. Values an earlier build kept (each changed group with its
// Id and sides, no other group of the file) are read as a base of the changed groups alone.
KeptRead ReadKeptGroupChanges(const std::string& name, KeptGroups* kept, std::string* why);
// The same, of a record's bytes read already (a REG_BINARY value).
// bLean reads the base as KeptGroups::baseLean says. A record that keeps its base apart
// (beside the section) is read whole with that base, which a lean read only looks for: one
// whose base is gone cannot be read.
KeptRead ReadKeptGroupChangesFrom(const std::vector<BYTE>& bytes, KeptGroups* kept, std::string* why,
                                  bool bLean = false);

// What the user is to be told of the groups file and could not be when the session ended
// (a change a merge then dropped), kept for the next start (section "Groups Not Told").
void KeepUntoldText(const std::string& text);
// That text, given back once: "" when there is none.
std::string TakeUntoldText();

// The records of kept changes one run of the program holds, as one piece: those it took at
// its start, each claimed for this copy at once (a record another running copy took is
// left to it), in the order kept; and the one it keeps at its end. The store merges the
// changes of those it could read into its groups in that order, writes the file once, and
// then forgets exactly these records; or, at an end that cannot store them, keeps what the
// groups here hold of them as one record in the place of the first.
class CKeptRecords
{
public:
    // Reads every record this copy may take now, in the order kept; in the turn at the file
    // (GroupsTurnObject), so that no writer is half-way, once JudgeKeptWriteNotes judged
    // what writers that died left. One that cannot be read is taken at once, told
    // (LostText) and forgotten with the others; one whose note is still there (its delete
    // refused) is left to a later start. One of an earlier layout is taken at once too. The
    // others are read only: Claim takes them once they are merged.
    void TakeAll();
    // Takes the records read for this copy alone, once the store merged them: those merged
    // at once, with `kept` (what the groups here hold of them) written as one record in
    // the place of the first, then each deleted; the others one by one. False when another
    // copy took one merged meanwhile: it is left out (the first is read whole then), and
    // the store merges the others again without it, and claims again.
    bool Claim(const KeptGroups& kept);
    // Whether a record read is not taken yet (Claim is to come).
    bool ToClaim() const;
    // Gives up every record (a store run again for another file, as the tests do).
    void Clear();
    // The changes of the records read, in the order kept.
    size_t Count() const { return m_read.size(); }
    const KeptGroups& Changes(size_t i) const { return m_read[i].kept; }
    // The same, its base read whole (records after the first are read with the groups
    // their changes name alone).
    const KeptGroups& Whole(size_t i);
    // What the user is told of records that could not be read, or "".
    const std::string& LostText() const { return m_strLost; }
    // Whether this run holds a record (taken or kept).
    bool Any() const { return !m_read.empty() || !m_others.empty() || !m_strOwn.empty(); }
    // The first n records read are in the groups here now (merged): a store or a keep
    // takes them along; the others stay for the next merge.
    void SetMerged(size_t n) { m_nMerged = n; }
    size_t Merged() const { return m_nMerged; }
    // Notes in each record merged, before the write that stores them, what that write
    // makes of the file (`note`: the file it replaces and the file it writes), so that a
    // start after a death between the write and Forget can tell whether it reached the
    // file. False when the registry refused the note.
    bool NoteWrite(const std::string& note);
    // The write noted did not replace the file: its notes go, so that no later start takes
    // the records for stored. False when the registry refused to delete one.
    bool UnnoteWrite();
    // The file holds the records merged: they go (and those that could not be read).
    void Forget();
    // Keeps `kept` (the changes the file does not hold, those of the records merged among
    // them) as one record in the place of the first this run took or kept, and forgets
    // the other records merged. Nothing to keep forgets them all. False when the registry
    // refused it (the records merged are gone then too: they are older than `kept`).
    // bApart as KeepGroupChanges.
    bool Keep(const KeptGroups& kept, bool bApart = true);

private:
    // The records a write of this run stores: those merged, and the one it kept itself.
    std::set<std::string> Written() const;
    enum class State
    {
        Read,     // read only: under its own name still, any copy's to take
        Claimed,  // under a name of this copy's own
        InOne     // deleted, held by the record this copy wrote for those it took (m_strOne)
    };
    struct Record
    {
        std::string name;  // as claimed (as kept while it is only read)
        std::string keptAs;  // as kept
        KeptGroups kept;
        // The bytes of a record read by the groups its changes name alone, until it is
        // claimed (Whole).
        std::vector<BYTE> bytes;
        State state = State::Claimed;
    };
    // The record that holds those taken at once, and the record it stands after.
    std::string m_strOne, m_strOneAfter;
    std::vector<Record> m_read;
    // Taken but not read (cut short, damaged, or noted as stored already): forgotten
    // with the first records forgotten.
    std::set<std::string> m_others;
    // The record this run kept at an end (a session's end that is called off goes on).
    std::string m_strOwn;
    // The bases kept apart of the records taken at once, until the claim holds: the records
    // merged again without one another copy took are read whole from them.
    std::vector<std::string> m_bases;
    size_t m_nMerged = 0;
    std::string m_strLost;
};

// The name of the note a store keeps beside a record before the write that stores it.
std::string KeptWriteNoteName(const std::string& record);
// That note, or "" when there is none.
std::string ReadKeptWriteNote(const std::string& record);
