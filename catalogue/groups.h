// The user's program groups: a group is a name and keywords, and a program belongs to it
// when a keyword occurs in the program's display name, ignoring case. The built-in group
// "Other" is always first and holds what no keyword of any group matches.
#pragma once
#include <windows.h>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct GroupsFileStatus;

// The largest Id a group may have: the groups file holds no larger one, so that the Ids
// given after the largest stored stay far from overflowing.
const int kMaxGroupId = 0x3FFFFFFF;
// The upper half of the Ids: giving them one above the largest would take half a billion
// groups, so a file holds them only by hand or as given downwards from kMaxGroupId once
// the Ids ran up to it. Every Id from the lowest of them a file ever held up to
// kMaxGroupId counts as given in that file.
const int kFirstTopGroupId = kMaxGroupId / 2 + 1;
// An Id above kMaxGroupId names a group for one run only: the groups file holds no Id for
// it (the group is written without one). The manager gives such Ids only when the file
// counts every Id it can hold as given.
inline bool IsRunOnlyId(int id) { return id > kMaxGroupId; }

// The Ids a groups file counts as given: every Id it holds (its groups', those of groups it
// does not show and of other groups elements, its "LastId"), and every Id up to the largest
// of them; once Ids are given downwards (the largest is kMaxGroupId, or the file records a
// "LowestTopId"), every Id from the lowest top one (or its LowestTopId) up and every Id up
// to the largest below that instead. What the file counted as given each time this run
// read or wrote it joins it (Add): a copy of the program that read the file then may still
// follow a group by one of those Ids. The manager gives none (CGroupManager::ReserveIds).
// Copies share the Ids (they never change once made; Add makes a new set when it adds one):
// a start merging many kept records hands the same thousands of Ids to every merge.
class GivenIds {
public:
    GivenIds() : m_upTo(0), m_from(kMaxGroupId + 1) {}
    // What one file counts as given: the Ids it holds and its "LowestTopId" (0: none).
    static GivenIds OfFile(const std::set<int>& held, int lowestTopId);
    // As kept for a later run: the Ids held, and every Id up to `upTo` and from `from` (0: none).
    static GivenIds Of(const std::set<int>& held, int upTo, int from);
    // What either counts.
    void Add(const GivenIds& other);
    bool Counts(int id) const;
    const std::set<int>& Ids() const;
    // Whether every Id of `ids` is among these (without the Ids up to UpTo or from From).
    bool HoldsAll(const std::set<int>& ids) const;
    int UpTo() const { return m_upTo; }
    int From() const { return m_from > kMaxGroupId ? 0 : m_from; }

private:
    explicit GivenIds(std::set<int>&& ids, int upTo, int from);

    std::shared_ptr<const std::set<int>> m_ids;  // null: none
    int m_upTo;  // every Id from 1 up to it counts
    int m_from;  // every Id from it up to kMaxGroupId counts
};

// Whether a group that does not hold the file's own Id must take a fresh one before it is
// written: the file holds its Id for a group (`held`), or counts it as given (`now`) while
// nothing this run saw of the file did (`seen`): another program gave it since, to a group
// it may have deleted again, which a copy that read the file meanwhile still follows by it.
// An Id the run saw stays with its group: the group is the one the file held under it.
bool IdTakenInFile(int id, const std::set<int>& held, const GivenIds& now, const GivenIds& seen);

class GroupEntry {
public:
    // A group made anew (also one read from the groups file or a kept record) takes a
    // serial no other group of this process had; a copy carries it, so a group a merge
    // makes again from its copy is still the same group to whoever holds it open. The
    // serial is never written: it names the group for this process only.
    GroupEntry();

    void AddKeyword(const char* keyword);
    unsigned long long Serial() const { return m_serial; }
    // This group is the one `copy` was taken of (made again from it by a merge).
    void TakeSerialOf(const GroupEntry& copy) { m_serial = copy.m_serial; }

    int Id;  // names the group: kept from the groups file, never given to two groups in a run
    std::string Name;
    std::vector<std::string> Keywords;  // in the order added; duplicates and empty ones kept
    int BuiltIn;                        // 1 only for "Other"

private:
    unsigned long long m_serial;
};

// What a merge of the changes made here with the groups file as another hand left it is
// given (CGroupManager::MergeChanges): the file as this program last read or wrote it (the
// base), and the file as it is now.
struct GroupsMerge {
    // The user groups as this program last read or wrote the file, in its order, with the
    // Ids they have here: what the user changed since is the difference.
    std::vector<GroupEntry> base;
    // The Ids the file held besides those of `base` when it was read (groups it did not
    // show): a group of the base whose Id the file holds so now and did not then moved
    // where it is not shown here; an edit made here to it is dropped (GroupsMerged::dropped).
    // An Id held so then too says nothing of the group: it is followed as any other.
    std::vector<int> baseHeldIds;
    // What this run saw the file count as given before; unset: the Ids of `base`.
    std::optional<GivenIds> seen;

    // What the file holds now: each group with the file's Id, or 0 when the file gave it
    // none of its own.
    std::vector<GroupEntry> disk;
    // The Ids the file holds besides those of `disk` (groups it does not show): a group made
    // or kept here takes none of them.
    std::vector<int> heldIds;
    // What the file counts as given now (CGroupsFile::IdsGiven); unset: the Ids of `disk`
    // and `heldIds`. A group here that does not hold the file's own Id keeps no Id the file
    // holds for another group nor one it gave since this run saw it (IdTakenInFile).
    std::optional<GivenIds> given;
    // Base groups the file gave no Id of their own when read (or the first of such groups'
    // twins), whose Id here the file now gives a group that could not be told to be them
    // (SameGroupsUnderIds), so that they
    // took a fresh one: by the Id they have now, the one they had. When the file holds
    // such a group neither as read nor under its Id, while it gives the Id it had to a group
    // new in the file, that group may be it changed there, or another: an edit made here
    // is not stored but named in GroupsMerged::dropped, rather than made a second group.
    std::map<int, int> formerIds;
    // Base groups, twins, of which nothing tells which group of the file each is now
    // (UnderItsId::Untold): one edited here is none of the file's, and its edit is not
    // stored but named in GroupsMerged::dropped, rather than put on a twin the user did not
    // touch. The others are followed by name and keywords, alike as they are.
    std::set<int> untoldIds;
};

// A change made here that a merge dropped: an edit of the group named so, or its delete.
struct DroppedChange {
    std::string name;  // as it was here
    bool bDelete = false;
};

// What a merge gives back.
struct GroupsMerged {
    // Whether the list now differs from what it was before.
    bool changed = false;
    // `disk` as a base for the next merge: each group with the Id it has here (a group
    // deleted here keeps the file's Id, which no group here has).
    std::vector<GroupEntry> newBase;
    // Groups edited here that the file now holds where they are not shown here: their
    // edits are dropped. A group deleted here of which nothing tells which group of the
    // file it is now keeps the file's groups as they are: its delete is dropped.
    std::vector<DroppedChange> dropped;
};

class CGroupManager {
public:
    static CGroupManager* GetInstance();

    // Appends a copy of `source` (name, keywords, built-in flag) with a fresh Id.
    GroupEntry* AddGroup(const GroupEntry& source);
    // Appends copies of groups read from the groups file, each with the file's Id, or a
    // fresh one when its Id is 0 (the file gave none, or one that was not its own) or taken.
    void AddStoredGroups(const std::vector<GroupEntry>& groups);
    // Appends an empty group with a fresh Id.
    GroupEntry* CreateGroup();
    // Marks an Id as used (a group the file holds but the list does not show, a group of
    // the file as last read, the largest and the lowest top Id the file says it ever
    // gave): no new group gets it during this run, nor an Id below the largest reserved
    // while there are Ids above, nor, once they ran up to kMaxGroupId, an Id from the
    // lowest top one used (kFirstTopGroupId) up, nor one below the largest used below that.
    void ReserveId(int id);
    // Marks every Id from `id` up to kMaxGroupId as given (the groups file's "LowestTopId"):
    // once the Ids ran up to kMaxGroupId, a new group takes one below it. It may lie below
    // kFirstTopGroupId: Ids given downwards go on below the top half when that is used up.
    void ReserveIdsFrom(int id);
    // Marks every Id the record counts as given.
    void ReserveIds(const GivenIds& given);
    // Takes on that a run before gave Ids downwards down to `id` (its LowestIdGivenDownwards):
    // every Id from it up counts as given, and the file records it as that run would have.
    void TakeGivenDownwards(int id);
    // The largest Id given or reserved in this run.
    int LargestId() const { return m_nLargestId; }
    // The lowest Id this run gave downwards (once the Ids ran up to kMaxGroupId), or 0. The
    // groups file records it when it is written: below kFirstTopGroupId nothing else tells
    // an Id given downwards from one given upwards long before.
    int LowestIdGivenDownwards() const { return m_nLowestGivenDownwards; }
    // Back to the state at start: only "Other", no current group, no Id used. For a
    // process that reads another groups file afresh.
    void Clear();
    // Removes and deletes the group; when it was the current group, none is current.
    void DeleteGroup(GroupEntry* group);
    GroupEntry* FindGroup(int id) const;

    // TRUE when the program list leaves this program out under the current group.
    BOOL IsExcluded(const char* displayName) const;
    // TRUE when some keyword of some group occurs in the name.
    BOOL IsExcludedFromOther(const char* displayName) const;

    // The groups file (read appends to the list; save writes every user group). The
    // status, when asked for, tells what was found at the path and why a save failed.
    BOOL Load(const char* path, GroupsFileStatus* status = nullptr);
    // A file that is there but no groups file (Damaged) is not written over unless
    // `keptCopy` names a file holding the same bytes.
    BOOL Save(const char* path, GroupsFileStatus* status = nullptr, const char* keptCopy = nullptr);

    // Copies of the user groups (Ids, names, keywords) in order.
    std::vector<GroupEntry> UserGroups() const;
    // Someone else changed the groups file: the list becomes what it holds now with the
    // changes made here since the base applied to it (see GroupsMerge, and groups.cpp for
    // the rule). Groups are followed by Id. Groups that stay keep their objects (pointers to
    // them stay good); groups that go are deleted. After the merge each Id is held by one
    // group.
    GroupsMerged MergeChanges(const GroupsMerge& merge);

    std::vector<GroupEntry*> m_Groups;  // owned; the first is always "Other"
    GroupEntry* m_pCurrentGroup;        // the selected group, or null for all programs

    ~CGroupManager();

private:
    CGroupManager();
    CGroupManager(const CGroupManager&) = delete;
    CGroupManager& operator=(const CGroupManager&) = delete;

    // A fresh Id for a group appended at the end of the list.
    int NextId();

    // The largest Id given or reserved in this run; it never goes down, so that no group
    // made later takes the Id of one deleted (the file may still hold it).
    int m_nLargestId;
    // Every Id reserved or given in this run, the Ids of the list's groups among them: once
    // the Ids run up to kMaxGroupId, a new group takes the largest Id below the lowest top
    // one of them (or below m_nReservedFrom) that none of them is.
    std::set<int> m_usedIds;
    // The lowest Id from which every Id up counts as given (ReserveIdsFrom), or
    // kMaxGroupId + 1.
    int m_nReservedFrom;
    int m_nLowestGivenDownwards;
    // Where the next search for an Id given downwards begins at the highest: no Id above it
    // is free (see NextId).
    int m_nDownwardsFrom;
    // The next Id for this run only (IsRunOnlyId), once the file counts every Id as given.
    int m_nRunOnlyId;
};

// The keywords of a group that both sides changed since `base`: this program's changes
// (`mine`) applied to the other side's keywords (`theirs`).
std::vector<std::string> MergeKeywords(const std::vector<std::string>& base, const std::vector<std::string>& mine,
                                       const std::vector<std::string>& theirs);

// What the file's Id of a group tells (SameGroupsUnderIds).
enum class UnderItsId {
    It,      // the file's group of its Id is it, or it is followed as any group
    NotIt,   // the file's group of its Id may be another
    Untold,  // one of twins another copy numbered otherwise and changed one of: no Id, name or
             // keywords tell which group of the file it is
};

// For each group of `base`, whether the file (`disk`, with the file's Ids) gives its Id to
// a group that is it. Only the Ids this run gave groups the file gave none of their own
// (`numbered`) ask: copies of the program that read one file give those groups the same
// Ids, and a save writes them, so such a group renamed or edited there is followed so. The
// file's group of the Id is it when exactly as read, or standing in its place, right after
// the group of the Id of the base's group before it, or right before that of the one after
// it (first or last in both lists counts so too). Place tells only while the other copy
// numbered as many: the file gives the last Id of `numbered` to its group, or to one that
// kept its name or keywords (a group the other copy did not read, deleted by hand before,
// moves every Id after it to another group), and no group past that numbering is like a
// numbered one (a group added by hand before it read the file moves them the other way).
// Where the file gives Ids of that numbering, that of a group alike a numbered one (the
// first of twins) tells no more, and is asked as well; where it holds one of such twins
// changed there (under an Id of theirs or past the numbering), none of them is told
// (Untold). Every other group is its Id's (It).
std::vector<UnderItsId> SameGroupsUnderIds(const std::vector<GroupEntry>& base, const std::vector<GroupEntry>& disk,
                                          const std::set<int>& numbered);

// Whether two lists hold the same groups in the same order: Ids, names and keywords.
bool SameGroups(const std::vector<GroupEntry>& first, const std::vector<GroupEntry>& second);

// Lower-cases A to Z of an 8-bit text; every other byte stays as it is.
std::string GroupsLowerCase(const char* text);
