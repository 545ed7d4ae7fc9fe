// The groups file of the running program: read once when the groups pane opens, and
// written after every change of the groups (Apply, Add to Group, Delete), never when
// nothing changed. A save edits the file as it is: only the groups changed here are
// touched, each found by its Id, and whatever else the file holds stays as it was
// (CGroupsFile). Groups whose names or keywords the system's code page cannot show stay
// in the file and out of the list; the box at start names them. A file that is there
// but cannot be read as groups is copied beside itself before anything is written over
// it; when it cannot even be copied or opened, nothing is written to it until the next
// start. A file that another program changed since this run read or wrote it is merged
// first: the user's changes made here since are applied to what it holds now, group by
// Id (CGroupManager::MergeChanges); the list of groups may then gain, lose or change
// groups, and the groups tree is rebuilt.
//
// A file another program holds (open for writing, or without sharing: a sync client, an
// editor saving) is never taken for damaged nor written over unread. The store tries
// again for a short while; held at the start, the file is read as soon as it is free
// (ReadHeldFile) and always before a write, and the changes made meanwhile are merged into
// what it holds. A change that cannot be written while the file is held says so and is
// written with the next one; one still pending at the exit is written when the file frees
// within a few seconds.
//
// What the file does not hold when the program exits or the session ends (held, or not
// writable) is kept in the program's registry key (app/groups_kept.h) and stored at the
// next start through the same merge as a change made then; that start says whether it
// was stored. The start's load takes every record at once and merges them in the order
// kept, so that the list shows them, and the groups pane stores them in one write once the
// window is up (StoreKept): nothing else is written before, and any write stores them too
// (StoreKept then only tells it).
#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "app/groups_kept.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"

class CGroupsStore
{
public:
    // The program's one store of the groups file.
    static CGroupsStore& Instance();

    // Reads the groups file into the groups model, after removing the temporary files a
    // save cut short left beside it, with the changes the last run kept applied (stored by
    // StoreKept). Gives back the text of the box that tells the user why the file could
    // not be read and what became of it, or which of its groups the code page cannot show,
    // or "" when there is nothing to tell. While another copy of the program has its turn at
    // the file past a short wait, nothing is read: the load stays put off (GroupsMayChange),
    // to be called again.
    std::string Load();
    // Whether the load is to wait until the window shows (and Load be called then): records
    // of changes earlier ends kept wait to be merged and stored, which takes a while, and the
    // window is painted and answers first. Until Load, nothing of this run is there to store:
    // no write, no keep at an end, and the groups do not change (GroupsMayChange).
    bool PutOffLoad();
    // Whether the user may change the groups now: not before a load put off has read them.
    bool GroupsMayChange() const { return !m_bLoadPutOff; }
    // Whether Load applied changes the last run kept to the file it read, and StoreKept is
    // to store them (or tell that a write stored them already).
    bool KeepsChangesToStore() const { return m_bKeptToTell && !m_bUnread; }
    // Stores those changes in the file (in the reading Load made of it while the file still
    // holds those bytes), and gives back what the user is told of them and of the merge with
    // the file: that the file now holds them, or why not. A write before (a save, the
    // session's question) that stored them already is told here too. "" when none wait.
    std::string StoreKept();
    // Writes the groups when they differ from what the file was last read or written
    // with, or when nLastingId names a group whose Id the file does not hold yet (a group
    // it gives no Id of its own: something kept for the next start names the group by
    // it), unless that group is named for this run only (IsRunOnlyId). A file that cannot be written is reported in a
    // box naming it when bReport is set. A file another program holds is waited for a
    // little unless bWaitWhileHeld is false (one look at it). True when the file holds the
    // groups now.
    bool Save(bool bReport, int nLastingId = 0, bool bWaitWhileHeld = true);
    // The exit's save: a change still pending while another program holds the file waits
    // a few seconds for it. What is not stored then is kept for the next start, and a box
    // says why it is not stored and that it is kept (or that the registry refused it). A
    // change the merge with another program's edit drops is told as at any change.
    void SaveAtExit();
    // The session ends, and the system ends the program without its exit: what the file
    // does not hold now is kept for the next start. From here on nothing waits for the
    // file or speaks.
    void EndSession();
    bool SessionEnded() const { return m_bEnded; }
    // Whether the file holds the group of this Id under it, as this run last read or
    // wrote the file: something kept for the next start may name the group by it.
    bool FileHoldsId(int nId) const;
    // Whether the file was held when the program would have read it, and is not read yet.
    bool WaitsForHeldFile() const { return m_bUnread; }
    // Whether the file's groups are still to come into the list: its load waits for the
    // window, or the file was held at the start and is not read yet.
    bool GroupsToCome() const { return m_bLoadPutOff || m_bUnread; }
    // Tries once to read a file held at the start: its groups join the list, with the
    // changes made meanwhile applied to them (the tree is rebuilt). Gives back what the
    // user is to be told of the file now, or "" (also while it is still held).
    std::string ReadHeldFile();

private:
    enum Outcome { Stored, Held, Failed };

    CGroupsStore();
    CGroupsStore(const CGroupsStore&) = delete;
    CGroupsStore& operator=(const CGroupsStore&) = delete;

    // Load but for what an earlier session's end could not tell.
    std::string LoadFile();
    // The load of the file with the records read (LoadFile), before they are taken.
    std::string LoadRecords(const std::string& path);
    // What the groups here hold that the file does not (as an end keeps it).
    KeptGroups PendingChanges() const;
    // Tells what a save found (strNotice) with what saves before could not, now (bNow) or
    // with the next box about the file.
    void Tell(const std::string& strNotice, bool bNow);

    bool SameAsBase() const;
    // Stores the changes in the file. strNotice receives what the user is to be told also
    // when it was written (a change the merge dropped, groups no longer shown), strWhy why
    // it was not. pRead, when given, is the file as just read (and merged): the first try
    // writes into that reading instead of opening the file again.
    // pAllDropped, when given, is set when a merge dropped every change made here.
    Outcome Write(DWORD dwHeldWaitMs, int nLastingId, std::string& strNotice, std::string& strWhy,
                  CGroupsFile* pRead = NULL, bool* pAllDropped = NULL);
    // The groups the last run kept, made again as that run left them: the list gets them
    // (the file's groups as it knew them, with its changes applied), `base` the file's
    // groups as it knew them (after the groups here already), with the Ids they have here,
    // `unstated` the Ids here of those the file gave none. Ids reserved before (the file's,
    // when it is read first) go to none of them.
    void TakeKeptChanges(const KeptGroups& kept, std::vector<GroupEntry>& base, std::set<int>& unstated);
    // Writes the kept changes into the file just read (pRead; NULL: opened again), and gives
    // back what the user is told of them after what the read told (strRead). bAllDropped:
    // the read's merge dropped them and left nothing to store (strRead says so).
    std::string StoreKeptChanges(CGroupsFile* pRead, const std::string& strRead, bool bAllDropped);
    // Merges the records after the first into the groups here, each as the merge of a
    // change made in its run with the file as the store of the one before would leave it
    // (the groups here stand for that file), in the order kept. The file is written once,
    // after them all. Tells in strNotice what a merge dropped; bAllDropped stays set
    // while no record left anything to store.
    void MergeLaterKept(std::string& strNotice, bool& bAllDropped);
    // The text StoreKept gives back once the file holds the records (or their merge left
    // nothing to store), after what the merges told (strRead).
    std::string KeptStoredText(const std::string& strRead, bool bAllDropped) const;
    // Keeps what the file does not hold for the next start (or drops what was kept, when
    // it holds everything). False when the registry refused it.
    bool KeepPending();
    // Drops what an earlier end kept: the file holds it now.
    void DropKept();
    // The base for changes made before the file is read (held at the start, or kept from
    // an earlier end), with the other Ids the file held and what it counted as given as it
    // was known.
    void StartFrom(const std::vector<GroupEntry>& base, const std::set<int>& unstated,
                   const std::vector<int>& baseOtherIds, const GivenIds& seen);
    // A base group the file gave no Id of its own holds an Id given here; one the file now
    // holds or gave since (IdTakenInFile) takes a fresh one, here and in the base, before
    // the merge would take the file's group of that Id for it, or write the Id a second
    // time, unless the file's group of that Id is it (SameGroupsUnderIds; which asks of the
    // first of its twins too, whose Id another copy may have moved on). Gives back the Ids
    // those had, by the fresh ones (GroupsMerge::formerIds), and in `untold` the Ids of the
    // twins no group of the file can be told to be (GroupsMerge::untoldIds).
    std::map<int, int> RenumberClaimedUnstated(const std::vector<int>& otherIds, const GivenIds& given,
                                               const std::vector<GroupEntry>& disk, std::set<int>& untold);
    // Merges the changes made here since the base into the file's groups as they are now
    // (`disk`, with the Ids the file holds besides and what it counts as given), after
    // renumbering the base groups whose Ids the file holds or gave since.
    GroupsMerged MergeSinceBase(const std::vector<GroupEntry>& disk, const std::vector<int>& heldIds,
                                const GivenIds& given);
    // pAllDropped, when given, is set when the merge dropped a change made here and left
    // nothing to store.
    bool TakeChangedFile(CGroupsFile& file, std::string& strWhy, std::string& strNotice, bool* pAllDropped = NULL);
    // TakeChangedFile but for the records after the first.
    bool MergeWithFile(CGroupsFile& file, std::string& strWhy, std::string& strNotice, bool* pAllDropped);
    std::string TakeFirstRead(CGroupsFile& file, const char* pszGoesOn);
    // Notes the Ids here of the groups that the file, as read, gives another Id or none.
    void NoteUnstatedIds(const std::vector<GroupEntry>& read, const std::vector<GroupEntry>& here);

    // The user groups as the file held them when this run last read or wrote it, in the
    // file's order, with the Ids they have here: what the user changed since is the
    // difference.
    std::vector<GroupEntry> m_base;
    // The Ids the file held besides those of its shown groups then (CGroupsFile::OtherIds):
    // a group of the base whose Id the file holds so later moved only when this is without it.
    std::vector<int> m_baseOtherIds;
    // The Ids of the base's groups that the file does not hold (it gives them none of
    // their own): the next write puts them in.
    std::set<int> m_unstated;
    // What the file counted as given each time this run (or the run that kept its changes)
    // read or wrote it: an Id among them stays with the group that holds it here, and no
    // group takes one anew.
    GivenIds m_seen;
    // The file's bytes as this run last read or wrote them (its size and a hash): a
    // difference means somebody else wrote it since.
    GroupsFileState m_fileState;
    // The copy of a damaged file's bytes, which lets the file be written over.
    std::string m_strKeptCopy;
    // The groups the code page cannot show that the user was told of.
    std::set<std::string> m_reportedUnshown;
    // Set when the file could neither be read nor kept: this run writes nothing to it.
    bool m_bLeftAlone;
    // Set while the file, held at the start, has not been read: m_base holds no group of
    // it, and the next write merges with what it holds.
    bool m_bUnread;
    // Set once the exit's save has waited for a held file: later saves do not wait again.
    bool m_bExited;
    // Set once the session ended: the system ends the program, nobody answers a box.
    bool m_bEnded;
    // The records of kept changes this run took at its start, or kept at an end (another
    // copy's stay): merged into the groups here in the order kept, forgotten once the file
    // holds them.
    CKeptRecords m_records;
    // Set while the changes the last run kept wait for their first write in this run.
    bool m_bKeptToStore;
    // Set from the start that took them until StoreKept told what became of them.
    bool m_bKeptToTell;
    // Set while StoreKept's own write runs.
    bool m_bStoringKept;
    // What the merge of the kept changes with the file had to tell, until StoreKept tells it.
    std::string m_strKeptMerge;
    // Set when that merge dropped them and left nothing to store.
    bool m_bKeptAllDropped;
    // Set while a write is under way (it may wait for the file, answering the session).
    bool m_bWriting;
    // Set from PutOffLoad until Load: the groups here are none of the file's yet.
    bool m_bLoadPutOff;
    // The start's reading of the file the kept changes were merged with: the first write
    // writes into it, as into a reading it made itself.
    std::unique_ptr<CGroupsFile> m_pKeptRead;
    // What saves that spoke to nobody (at the session's end, the pages going) had to tell:
    // the next box about the file, or the next start, tells it.
    std::string m_strUntold;
};

// The store's Load and Save, as the pages and the main dialog call them.
std::string LoadGroupsFile();
bool SaveGroupsFile(bool bReport = true, int nLastingId = 0, bool bWaitWhileHeld = true);
void SaveGroupsFileAtExit();
