#include "catalogue/groups.h"
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iterator>
#include <map>
#include <set>

// Addresses of deleted groups are reused, and a merge may renumber a group: neither names
// a group for long. The serial does; 64 bits never run out in a process's life.
static std::atomic<unsigned long long> s_nextGroupSerial(1);

GroupEntry::GroupEntry() : Id(0), BuiltIn(0), m_serial(s_nextGroupSerial++) {}

void GroupEntry::AddKeyword(const char* keyword) { Keywords.push_back(keyword ? keyword : ""); }

std::string GroupsLowerCase(const char* text) {
    std::string lower(text ? text : "");
    for (char& c : lower) {
        // Through unsigned char: bytes above 127 are neither negative nor letters here.
        unsigned char u = static_cast<unsigned char>(c);
        if (u >= 'A' && u <= 'Z') c = static_cast<char>(u - 'A' + 'a');
    }
    return lower;
}

static bool KeywordMatches(const std::string& lowerName, const std::string& keyword) {
    return lowerName.find(GroupsLowerCase(keyword.c_str())) != std::string::npos;
}

// Whether `all` holds every Id of `ids`, in time that grows with `ids` when they are few.
static bool HoldsAllOf(const std::set<int>& all, const std::set<int>& ids) {
    if (ids.size() > all.size()) return false;
    if (ids.size() * 16 < all.size())
        return std::all_of(ids.begin(), ids.end(), [&](int id) { return all.count(id) != 0; });
    return std::includes(all.begin(), all.end(), ids.begin(), ids.end());
}

CGroupManager* CGroupManager::GetInstance() {
    // Built on first use and destroyed at exit with every group it holds.
    static CGroupManager s_manager;
    return &s_manager;
}

CGroupManager::CGroupManager()
    : m_pCurrentGroup(nullptr), m_nLargestId(0), m_nReservedFrom(kMaxGroupId + 1), m_nLowestGivenDownwards(0),
      m_nDownwardsFrom(kMaxGroupId), m_nRunOnlyId(kMaxGroupId + 1) {
    GroupEntry other;
    other.Name = "Other";
    other.BuiltIn = 1;
    AddGroup(other);
}

CGroupManager::~CGroupManager() {
    for (GroupEntry* group : m_Groups) delete group;
    m_Groups.clear();
    m_pCurrentGroup = nullptr;
}

int CGroupManager::NextId() {
    // "Other" gets 0. A user group gets one more than the largest Id this run gave or saw
    // (so no group made after a deletion takes the deleted one's Id, which the file or a
    // copy of this program still running may still hold), and at least its position plus
    // one, the Id a fresh file has always given its n-th group.
    if (m_Groups.empty()) return 0;
    const int position = static_cast<int>(m_Groups.size());
    int id = std::max(m_nLargestId + 1, position + 1);
    if (id > kMaxGroupId || id >= m_nReservedFrom) {
        // Only a file holding the largest Ids there are, or saying it gave Ids downwards,
        // gets here (the file would not read an Id above kMaxGroupId back): Ids are given
        // downwards. Every Id from the lowest top one used, or from the lowest the file says
        // it gave, up counts as given (a group deleted since, in this run or another, may
        // have held it), and so does every Id up to the largest used below that, as Ids
        // given upwards: the largest Id between the two, when there is one. Ids only ever
        // become used, so the next search begins below the Id given (a file of many groups
        // without an Id is read in linear time).
        const std::set<int>::const_iterator lowestTop = m_usedIds.lower_bound(kFirstTopGroupId);
        id = std::min(m_nReservedFrom, lowestTop == m_usedIds.end() ? kMaxGroupId + 1 : *lowestTop) - 1;
        id = std::min(id, m_nDownwardsFrom);
        const std::set<int>::const_iterator above = m_usedIds.upper_bound(id);
        const int givenUpwards = above == m_usedIds.begin() ? 0 : *std::prev(above);
        if (id <= givenUpwards) {
            // The file counts every Id as given: none is given again. The group is named for
            // this run only, by an Id the file holds none of, and is written without one.
            return m_nRunOnlyId++;
        }
        m_nDownwardsFrom = id - 1;
        m_nLowestGivenDownwards = id;
    }
    if (id > m_nLargestId) m_nLargestId = id;
    m_usedIds.insert(id);
    return id;
}

void CGroupManager::ReserveId(int id) {
    // An Id for this run only is none the file holds.
    if (id <= 0 || IsRunOnlyId(id)) return;
    if (id > m_nLargestId) m_nLargestId = id;
    m_usedIds.insert(id);
}

void CGroupManager::ReserveIdsFrom(int id) {
    if (id <= 0) return;
    if (id > kMaxGroupId) id = kMaxGroupId;
    ReserveId(id);
    m_nReservedFrom = std::min(m_nReservedFrom, id);
}

void CGroupManager::ReserveIds(const GivenIds& given) {
    // A start merging many kept records reserves the same thousands of Ids for each: when
    // every one is used already (each used Id is at most the largest), none changes a thing.
    if (!HoldsAllOf(m_usedIds, given.Ids()))
        for (int id : given.Ids()) ReserveId(id);
    ReserveId(given.UpTo());
    ReserveIdsFrom(given.From());
}

void CGroupManager::TakeGivenDownwards(int id) {
    if (id <= 0 || IsRunOnlyId(id)) return;
    ReserveIdsFrom(id);
    if (m_nLowestGivenDownwards == 0 || id < m_nLowestGivenDownwards) m_nLowestGivenDownwards = id;
}

void CGroupManager::Clear() {
    while (m_Groups.size() > 1) {
        delete m_Groups.back();
        m_Groups.pop_back();
    }
    m_pCurrentGroup = nullptr;
    m_nLargestId = 0;
    m_usedIds.clear();
    m_nReservedFrom = kMaxGroupId + 1;
    m_nLowestGivenDownwards = 0;
    m_nDownwardsFrom = kMaxGroupId;
    m_nRunOnlyId = kMaxGroupId + 1;
}

GroupEntry* CGroupManager::AddGroup(const GroupEntry& source) {
    GroupEntry* group = new GroupEntry;
    group->Name = source.Name;
    group->Keywords = source.Keywords;
    group->BuiltIn = source.BuiltIn;
    group->Id = NextId();
    m_Groups.push_back(group);
    return group;
}

void CGroupManager::AddStoredGroups(const std::vector<GroupEntry>& groups) {
    // The Ids present are gathered once: a file of many groups is read in linear time.
    std::set<int> taken;
    for (const GroupEntry* group : m_Groups) taken.insert(group->Id);
    for (const GroupEntry& source : groups) ReserveId(source.Id);
    for (const GroupEntry& source : groups) {
        if (source.Id <= 0 || taken.count(source.Id)) {
            taken.insert(AddGroup(source)->Id);
            continue;
        }
        GroupEntry* group = new GroupEntry;
        group->Name = source.Name;
        group->Keywords = source.Keywords;
        group->Id = source.Id;
        taken.insert(source.Id);
        m_Groups.push_back(group);
    }
}

GroupEntry* CGroupManager::CreateGroup() {
    GroupEntry* group = new GroupEntry;
    group->Id = NextId();
    m_Groups.push_back(group);
    return group;
}

void CGroupManager::DeleteGroup(GroupEntry* group) {
    std::vector<GroupEntry*>::iterator it = std::find(m_Groups.begin(), m_Groups.end(), group);
    if (it == m_Groups.end()) return;
    m_Groups.erase(it);
    if (m_pCurrentGroup == group) m_pCurrentGroup = nullptr;
    delete group;
}

GroupEntry* CGroupManager::FindGroup(int id) const {
    for (GroupEntry* group : m_Groups)
        if (group->Id == id) return group;
    return nullptr;
}

BOOL CGroupManager::IsExcluded(const char* displayName) const {
    if (!m_pCurrentGroup) return FALSE;
    if (m_pCurrentGroup->BuiltIn == 1) return IsExcludedFromOther(displayName);
    const std::string name = GroupsLowerCase(displayName);
    for (const std::string& keyword : m_pCurrentGroup->Keywords)
        if (KeywordMatches(name, keyword)) return FALSE;
    return TRUE;
}

BOOL CGroupManager::IsExcludedFromOther(const char* displayName) const {
    const std::string name = GroupsLowerCase(displayName);
    for (const GroupEntry* group : m_Groups)
        for (const std::string& keyword : group->Keywords)
            if (KeywordMatches(name, keyword)) return TRUE;
    return FALSE;
}

std::vector<GroupEntry> CGroupManager::UserGroups() const {
    std::vector<GroupEntry> groups;
    for (const GroupEntry* group : m_Groups)
        if (group->BuiltIn != 1) groups.push_back(*group);
    return groups;
}

namespace {

bool SameContent(const GroupEntry& a, const GroupEntry& b) { return a.Name == b.Name && a.Keywords == b.Keywords; }

// Whether the file's group may be `twin` changed there: it kept the name, or keywords that
// tell (none at all tell nothing).
bool LikeTwin(const GroupEntry& theirs, const GroupEntry& twin) {
    return theirs.Name == twin.Name || (!twin.Keywords.empty() && theirs.Keywords == twin.Keywords);
}

}  // namespace

// Each keyword ends up as many times as the side that changed its count wants; when both
// changed it the same way (both added it, both removed it) the change is made once, not
// twice. The file's order is kept, and what only this program added comes at the end in
// its order.
std::vector<std::string> MergeKeywords(const std::vector<std::string>& base, const std::vector<std::string>& mine,
                                       const std::vector<std::string>& theirs) {
    if (mine == base) return theirs;
    if (theirs == base) return mine;
    std::map<std::string, int> inBase, inMine, inTheirs;
    for (const std::string& k : base) ++inBase[k];
    for (const std::string& k : mine) ++inMine[k];
    for (const std::string& k : theirs) ++inTheirs[k];
    auto wanted = [&](const std::string& k) {
        const int b = inBase[k], m = inMine[k], t = inTheirs[k];
        const int dm = m - b, dt = t - b;
        if (dm == 0) return t;
        if (dt == 0) return m;
        if ((dm > 0) == (dt > 0)) return std::abs(dm) > std::abs(dt) ? m : t;
        return std::max(0, t + dm);
    };
    std::map<std::string, int> taken;
    std::vector<std::string> result;
    for (const std::vector<std::string>* side : {&theirs, &mine})
        for (const std::string& k : *side)
            if (taken[k] < wanted(k)) {
                ++taken[k];
                result.push_back(k);
            }
    return result;
}

namespace {

// The file's group of each Id it gives (its place in `disk`; the first, where twins share one).
std::map<int, size_t> FileGroupOfId(const std::vector<GroupEntry>& disk) {
    std::map<int, size_t> holderOf;
    for (size_t i = 0; i < disk.size(); ++i)
        if (disk[i].Id > 0) holderOf.insert({disk[i].Id, i});
    return holderOf;
}

// For each group of the file, the Id of the base's group it is, or 0 for a group new in
// the file. A group whose Id names a base group of the same name and keywords is that
// group. Otherwise it is the base's group that the file no longer holds by its Id and that
// has exactly its name and keywords, if there is one (a group made by hand without an Id,
// the second of two groups of one Id once the first is deleted elsewhere, a group whose
// Id was changed by hand); failing that, the base's group of its Id (changed by the other
// hand), or none. Of base groups alike, one still here is taken before one deleted here:
// a delete here removes only the group the user deleted. Last, a group still unmatched is
// the base's group of its name that the file no longer holds by its Id, when that group is
// still here (its keywords changed by the other hand too); a group deleted here matches
// none this way, so that a group the other hand made anew under its name stays, and
// neither does a twin this run numbered anew (`renumbered`, its number now on another
// group): its name alone does not tell it from a group another copy gave that name. Base
// groups that moved where the file does not show them (`moved`) are those groups, and
// match none here.
// First, where the file gives a base group's Id to a group that is not exactly that group,
// while another group is exactly it as read, that other group is it: the other hand wrote
// the Id onto another group. The file then holds the Id twice (the later holder reads as a
// group without an Id of its own), or another copy of the program saved it since, left the
// Id on the first holder and gave the group as read an Id of its own (or the other hand
// numbered the groups anew). The holder is then followed as any group the file no longer
// holds by its own Id, except that by name a group deleted here matches it too (a group
// that held an Id of the file was not made anew there).
std::vector<int> FollowFileGroups(const std::vector<GroupEntry>& base, const std::vector<GroupEntry>& disk,
                                  const std::set<int>& moved, const std::map<int, GroupEntry*>& here,
                                  const std::map<int, int>& renumbered) {
    std::map<int, const GroupEntry*> baseById;
    for (const GroupEntry& b : base)
        if (b.Id > 0) baseById[b.Id] = &b;
    // The base groups whose Id the file gives a group that is not exactly them, by name in
    // the base's order: another group may be exactly one of them.
    const std::map<int, size_t> holderOf = FileGroupOfId(disk);
    std::multimap<std::string, const GroupEntry*> stamped;
    for (const GroupEntry& b : base) {
        const std::map<int, size_t>::const_iterator holder = b.Id > 0 ? holderOf.find(b.Id) : holderOf.end();
        if (holder != holderOf.end() && !SameContent(b, disk[holder->second])) stamped.insert({b.Name, &b});
    }
    // The group of the file that is exactly such a base group as read, under another Id or
    // none: that base group's Id (each taken once), or 0. A group that is exactly the base's
    // group of its own Id is that group, not another one alike: of twins of one name and
    // keywords, the one the other hand changed keeps its Id.
    std::vector<int> twinOf(disk.size(), 0);
    std::set<int> twinned;
    for (size_t j = 0; j < disk.size() && !stamped.empty(); ++j) {
        const auto own = disk[j].Id > 0 ? baseById.find(disk[j].Id) : baseById.end();
        if (own != baseById.end() && SameContent(*own->second, disk[j])) continue;
        auto range = stamped.equal_range(disk[j].Name);
        for (auto it = range.first; it != range.second; ++it) {
            const GroupEntry& b = *it->second;
            if (twinned.count(b.Id) || b.Keywords != disk[j].Keywords) continue;
            twinOf[j] = b.Id;
            twinned.insert(b.Id);
            break;
        }
    }
    std::set<int> onDisk;
    for (const GroupEntry& theirs : disk)
        if (theirs.Id > 0) onDisk.insert(theirs.Id);
    // By name, in the base's order (equal keys keep the order they were put in).
    std::multimap<std::string, const GroupEntry*> missing;
    for (const GroupEntry& b : base)
        if (b.Id > 0 && !onDisk.count(b.Id) && !moved.count(b.Id)) missing.insert({b.Name, &b});
    // `orDeleted`: by name, a group deleted here matches too.
    auto takeMissing = [&](const GroupEntry& theirs, bool byName, bool orDeleted) {
        auto range = missing.equal_range(theirs.Name);
        auto taken = range.second;
        for (auto it = range.first; it != range.second; ++it) {
            const bool stillHere = here.count(it->second->Id) != 0;
            if (!(byName ? stillHere || orDeleted : it->second->Keywords == theirs.Keywords)) continue;
            // A twin numbered anew, its number on another group now: by its name alone it
            // would be whichever group another copy gave that name.
            if (byName && renumbered.count(it->second->Id)) continue;
            if (taken == range.second || stillHere) taken = it;
            if (stillHere) break;
        }
        if (taken == range.second) return 0;
        const int id = taken->second->Id;
        missing.erase(taken);
        return id;
    };
    std::vector<int> followed(disk.size(), 0);
    // The groups that hold the Id of a base group another group is exactly (twinOf): another
    // base group the other hand wrote that Id onto, not one it made anew, so a delete here
    // matches it by name.
    std::vector<bool> gaveWay(disk.size(), false);
    for (size_t i = 0; i < disk.size(); ++i) {
        if (twinOf[i]) {
            followed[i] = twinOf[i];
            continue;
        }
        const GroupEntry& theirs = disk[i];
        std::map<int, const GroupEntry*>::const_iterator b = theirs.Id > 0 ? baseById.find(theirs.Id) : baseById.end();
        if (b != baseById.end() && SameContent(*b->second, theirs)) {
            followed[i] = theirs.Id;
            continue;
        }
        gaveWay[i] = b != baseById.end() && twinned.count(theirs.Id) != 0;
        const int asRead = takeMissing(theirs, false, false);
        followed[i] = asRead ? asRead : b != baseById.end() && !gaveWay[i] ? theirs.Id : 0;
    }
    // A base group whose Id the file now gives a group that is another base group (the
    // other hand wrote that group's Id over its own) is missing too: the file's group still
    // holding the Id reads as one without an Id (its Id repeats the other's), and is found
    // by its name and keywords.
    std::set<int> followedIds(followed.begin(), followed.end());
    for (const GroupEntry& b : base)
        if (b.Id > 0 && onDisk.count(b.Id) && !followedIds.count(b.Id) && !moved.count(b.Id))
            missing.insert({b.Name, &b});
    for (size_t i = 0; i < disk.size(); ++i)
        if (!followed[i]) followed[i] = takeMissing(disk[i], false, false);
    for (size_t i = 0; i < disk.size(); ++i)
        if (!followed[i]) followed[i] = takeMissing(disk[i], true, gaveWay[i]);
    return followed;
}

// The base groups of `formerIds` that no group of the file is (`followed`), while the file
// gives the Id each had to a group new in the file: which group that is cannot be told.
std::set<int> UnplacedGroups(const std::map<int, int>& formerIds, const std::vector<GroupEntry>& disk,
                             const std::vector<int>& followed) {
    std::set<int> unplaced;
    if (formerIds.empty()) return unplaced;
    const std::set<int> followedIds(followed.begin(), followed.end());
    const std::map<int, size_t> holderOf = FileGroupOfId(disk);
    for (const auto& ids : formerIds) {
        const std::map<int, size_t>::const_iterator holder = holderOf.find(ids.second);
        if (holder != holderOf.end() && !followed[holder->second] && !followedIds.count(ids.first))
            unplaced.insert(ids.first);
    }
    return unplaced;
}

}  // namespace

// The rule: the file as it is now wins, except for what the user changed in this program
// since the file was last read or written, which is applied to it as the change it was.
// - Groups are followed by their Id (FollowFileGroups): a group the other hand renamed is
//   the same group. A group takes the Id the file gives it.
// - A group deleted here goes from the file's list; a group added here comes at its end.
//   A group added here and one of the same name added there are one group: the file's,
//   with the keywords of both.
// - A group edited here: a new name here wins over the file's; the keywords are the
//   file's with this program's removals and additions applied, none made twice.
// - A group that the file no longer holds (deleted by the other hand) stays gone, unless
//   it was edited here: then the edit is kept, at the end. A group the file now holds
//   where it is not shown here (renamed beyond the code page, moved to another groups
//   element) is the file's: an edit made here is dropped and named in `dropped`. Only an
//   Id the file did not hold so when the base was read tells such a move.
// - Groups only the file holds are taken as they are.
// - A group the file gave no Id of its own, which took a fresh Id because the file now
//   gives the one it had to a group that may be another (`formerIds`), and which the file
//   holds neither as read nor under its Id: an edit made here is dropped and named when
//   the file gives the Id it had to a group new there (it may be that group, changed).
//   So is an edit to one of twins that nothing places (`untoldIds`).
// - Then each Id is held by one group: a group that does not hold the file's own Id
//   (made here, kept here, a group the file gives no Id) takes a fresh one when the file
//   holds its Id for another group or gave it since this run saw the file
//   (IdTakenInFile), or a group before it in the list holds it.
GroupsMerged CGroupManager::MergeChanges(const GroupsMerge& merge) {
    const std::vector<GroupEntry>& base = merge.base;
    const std::vector<GroupEntry>& disk = merge.disk;
    GroupsMerged merged;
    const std::vector<GroupEntry> before = UserGroups();
    std::map<int, const GroupEntry*> baseById;
    for (const GroupEntry& b : base)
        if (b.Id > 0) baseById[b.Id] = &b;
    std::map<int, GroupEntry*> mine;
    for (GroupEntry* group : m_Groups)
        if (group->BuiltIn != 1) mine[group->Id] = group;
    std::set<int> held(merge.heldIds.begin(), merge.heldIds.end());
    std::set<int> moved = held;  // of those, the Ids of groups that went where they are not shown
    for (int id : merge.baseHeldIds) moved.erase(id);
    std::set<int> claimed = held;  // the Ids the file holds for groups
    for (const GroupEntry& theirs : disk)
        if (theirs.Id > 0) claimed.insert(theirs.Id);
    std::set<int> baseIds;
    for (const GroupEntry& b : base) baseIds.insert(b.Id);
    const GivenIds now = merge.given ? *merge.given : GivenIds::OfFile(claimed, 0);
    const GivenIds seenBefore = merge.seen ? *merge.seen : GivenIds::OfFile(baseIds, 0);
    ReserveIds(now);
    for (int id : claimed) ReserveId(id);
    // A twin edited here that nothing places matches none of the file's groups, as a moved one.
    // So does one deleted here: the group of the file it would take out may be another twin,
    // one another copy changed; the file's groups stay as they are, and the delete is named.
    std::set<int> unmatched = moved;
    for (int id : merge.untoldIds) {
        const std::map<int, GroupEntry*>::const_iterator here = mine.find(id);
        const std::map<int, const GroupEntry*>::const_iterator b = baseById.find(id);
        if (b == baseById.end()) continue;
        if (here == mine.end()) {
            unmatched.insert(id);
            merged.dropped.push_back({b->second->Name, true});
        } else if (!SameContent(*here->second, *b->second)) {
            unmatched.insert(id);
        }
    }
    const std::vector<int> followed = FollowFileGroups(base, disk, unmatched, mine, merge.formerIds);
    const std::set<int> unplaced = UnplacedGroups(merge.formerIds, disk, followed);

    std::vector<GroupEntry*> addedHere;
    for (GroupEntry* group : m_Groups)
        if (group->BuiltIn != 1 && !baseById.count(group->Id)) addedHere.push_back(group);
    std::vector<GroupEntry*> result;
    std::vector<GroupEntry*> became(disk.size(), nullptr);  // the group here each of the file's is
    std::set<GroupEntry*> placed, owners;
    for (size_t i = 0; i < disk.size(); ++i) {
        const GroupEntry& theirs = disk[i];
        GroupEntry* group = nullptr;
        if (!followed[i]) {  // new in the file
            // The same group made here too (a new group of the same name): one group.
            for (GroupEntry* here : addedHere)
                if (!placed.count(here) && here->Name == theirs.Name) {
                    group = here;
                    group->Keywords = MergeKeywords(std::vector<std::string>(), group->Keywords, theirs.Keywords);
                    break;
                }
            if (!group) {
                group = new GroupEntry;
                group->Name = theirs.Name;
                group->Keywords = theirs.Keywords;
            }
        } else {
            std::map<int, GroupEntry*>::iterator it = mine.find(followed[i]);
            if (it == mine.end()) continue;  // deleted here
            group = it->second;
            const GroupEntry& b = *baseById[followed[i]];
            if (group->Name == b.Name) group->Name = theirs.Name;
            group->Keywords = MergeKeywords(b.Keywords, group->Keywords, theirs.Keywords);
        }
        if (theirs.Id > 0) {
            group->Id = theirs.Id;
            owners.insert(group);
        }
        became[i] = group;
        result.push_back(group);
        placed.insert(group);
    }
    std::vector<GroupEntry*> gone;
    for (GroupEntry* group : m_Groups) {
        if (group->BuiltIn == 1 || placed.count(group)) continue;
        std::map<int, const GroupEntry*>::const_iterator b = baseById.find(group->Id);
        const bool addedHere = b == baseById.end();
        const bool editedHere = !addedHere && !SameContent(*group, *b->second);
        if (!addedHere && (!editedHere || unmatched.count(group->Id) || unplaced.count(group->Id))) {
            if (editedHere) merged.dropped.push_back({group->Name, false});
            gone.push_back(group);
            continue;
        }
        result.push_back(group);
    }

    // Each Id once, checked. A fresh Id is none the file, the list or the base holds. A group
    // that does not hold the file's own Id (made here, kept here, a group the file gives no
    // Id) keeps its Id unless the file holds it for another group or gave it since.
    std::set<int> taken = claimed, seenHere;
    for (const GroupEntry& b : base) taken.insert(b.Id);
    for (const GroupEntry* group : result) taken.insert(group->Id);
    // An Id none of those holds, given: no later group takes it.
    const auto freshId = [&] {
        int id = NextId();
        for (int candidate = 1; taken.count(id) || id <= 0; ++candidate) id = candidate;
        ReserveId(id);
        taken.insert(id);
        return id;
    };
    for (GroupEntry* group : result) {
        const bool notTheFiles = !owners.count(group);
        if (group->Id <= 0 || seenHere.count(group->Id) ||
            (notTheFiles && IdTakenInFile(group->Id, claimed, now, seenBefore)))
            group->Id = freshId();
        seenHere.insert(group->Id);
    }

    GroupEntry* other = m_Groups.front();
    m_Groups.assign(1, other);
    m_Groups.insert(m_Groups.end(), result.begin(), result.end());
    for (GroupEntry* group : gone) {
        if (m_pCurrentGroup == group) m_pCurrentGroup = nullptr;
        delete group;
    }
    // The file's groups with the Ids they have here; one deleted here keeps the file's Id or
    // the base's, which no group here has, or else a fresh one: the next merge must find it
    // by that Id or by its name and keywords, never as another group.
    std::vector<GroupEntry>& next = merged.newBase;
    next = disk;
    for (size_t i = 0; i < next.size(); ++i) {
        if (became[i] || next[i].Id > 0) {
            next[i].Id = became[i] ? became[i]->Id : next[i].Id;
            continue;
        }
        int id = followed[i];
        if (id <= 0 || seenHere.count(id) || claimed.count(id)) id = freshId();
        seenHere.insert(id);
        next[i].Id = id;
    }

    merged.changed = !SameGroups(UserGroups(), before);
    return merged;
}

GivenIds::GivenIds(std::set<int>&& ids, int upTo, int from)
    : m_ids(ids.empty() ? nullptr : std::make_shared<const std::set<int>>(std::move(ids))), m_upTo(upTo),
      m_from(from) {}

// As the manager gives Ids (CGroupManager::NextId): upwards from the largest while it is
// below kMaxGroupId and the file records no lowest top Id, else downwards from the lowest
// top one, down to the largest below.
GivenIds GivenIds::OfFile(const std::set<int>& held, int lowestTopId) {
    std::set<int> ids;
    for (int id : held)
        if (id > 0 && !IsRunOnlyId(id)) ids.insert(id);
    if (lowestTopId > 0) ids.insert(std::min(lowestTopId, kMaxGroupId));
    if (ids.empty()) return GivenIds();
    const int largest = *ids.rbegin();
    if (largest < kMaxGroupId && lowestTopId <= 0) return GivenIds(std::move(ids), largest, kMaxGroupId + 1);
    const std::set<int>::const_iterator top = ids.lower_bound(kFirstTopGroupId);
    int from = top == ids.end() ? kMaxGroupId : *top;
    if (lowestTopId > 0) from = std::min(from, std::min(lowestTopId, kMaxGroupId));
    const std::set<int>::const_iterator above = ids.lower_bound(from);
    const int upTo = above != ids.begin() ? *std::prev(above) : 0;
    return GivenIds(std::move(ids), upTo, from);
}

GivenIds GivenIds::Of(const std::set<int>& held, int upTo, int from) {
    std::set<int> ids;
    for (int id : held)
        if (id > 0 && !IsRunOnlyId(id)) ids.insert(id);
    return GivenIds(std::move(ids), std::max(0, std::min(upTo, kMaxGroupId)),
                    from > 0 ? std::min(from, kMaxGroupId) : kMaxGroupId + 1);
}

const std::set<int>& GivenIds::Ids() const {
    static const std::set<int> s_none;
    return m_ids ? *m_ids : s_none;
}

bool GivenIds::HoldsAll(const std::set<int>& ids) const {
    return ids.empty() || (m_ids && (m_ids.get() == &ids || HoldsAllOf(*m_ids, ids)));
}

void GivenIds::Add(const GivenIds& other) {
    m_upTo = std::max(m_upTo, other.m_upTo);
    m_from = std::min(m_from, other.m_from);
    // Records kept on one file hold the same Ids: adding them again makes no new set.
    if (!other.m_ids || HoldsAll(*other.m_ids)) return;
    if (!m_ids || other.HoldsAll(*m_ids)) {
        m_ids = other.m_ids;
        return;
    }
    std::shared_ptr<std::set<int>> ids = std::make_shared<std::set<int>>(*m_ids);
    ids->insert(other.m_ids->begin(), other.m_ids->end());
    m_ids = std::move(ids);
}

bool GivenIds::Counts(int id) const {
    return id > 0 && !IsRunOnlyId(id) && (id <= m_upTo || id >= m_from || (m_ids && m_ids->count(id)));
}

bool IdTakenInFile(int id, const std::set<int>& held, const GivenIds& now, const GivenIds& seen) {
    return held.count(id) || (now.Counts(id) && !seen.Counts(id));
}

std::vector<UnderItsId> SameGroupsUnderIds(const std::vector<GroupEntry>& base, const std::vector<GroupEntry>& disk,
                                          const std::set<int>& numbered) {
    const size_t n = base.size(), m = disk.size();
    const std::map<int, size_t> holderOf = FileGroupOfId(disk);
    // Another copy numbered the groups as this run did only when it read as many: a group
    // gone from the file before it read it (deleted by hand) moves each number after it to
    // the next group, the first twin's Id included, and leaves the last to none, or to a
    // group made there. Whether the last is on the group it names here, or on one that kept
    // its name or keywords, is all that tells it.
    bool numberedAlike = true;
    for (size_t i = n; i-- > 0;) {
        if (!numbered.count(base[i].Id)) continue;
        const std::map<int, size_t>::const_iterator last = holderOf.find(base[i].Id);
        numberedAlike = last != holderOf.end() && (disk[last->second].Name == base[i].Name ||
                                                   disk[last->second].Keywords == base[i].Keywords);
        break;
    }
    // A group put in before the other copy read the file (a twin added by hand) moves each
    // number after it to the group before, and gives the last group a number past this
    // run's: a group of the file under an Id this run neither read nor gave, past its
    // numbering, like a numbered group (LikeTwin), may be that group rather than one made
    // there. Counted by name and keywords, so that many groups cost no more than sorting.
    using Content = std::pair<std::string, std::vector<std::string>>;
    int largestNumbered = 0;
    std::set<int> baseIds;
    std::set<std::string> numberedNames;
    std::set<std::vector<std::string>> numberedKeywords;
    for (const GroupEntry& b : base) {
        baseIds.insert(b.Id);
        if (!numbered.count(b.Id)) continue;
        largestNumbered = std::max(largestNumbered, b.Id);
        numberedNames.insert(b.Name);
        if (!b.Keywords.empty()) numberedKeywords.insert(b.Keywords);
    }
    std::map<std::string, size_t> pastByName;
    std::map<std::vector<std::string>, size_t> pastByKeywords;
    std::map<Content, size_t> pastExactly;
    for (const GroupEntry& theirs : disk) {
        if (largestNumbered == 0 || theirs.Id <= largestNumbered || baseIds.count(theirs.Id)) continue;
        if (numberedNames.count(theirs.Name) || numberedKeywords.count(theirs.Keywords)) numberedAlike = false;
        ++pastByName[theirs.Name];
        ++pastByKeywords[theirs.Keywords];
        ++pastExactly[{theirs.Name, theirs.Keywords}];
    }
    // Otherwise, where the file gives Ids of the other copy's numbering, a group alike a
    // numbered one may be the first of their Id's twins, whose Id went to the next twin
    // with the numbers: its Id tells no more than theirs.
    std::set<Content> twins;
    const bool numberedThere =
        std::any_of(numbered.begin(), numbered.end(), [&](int id) { return holderOf.count(id) != 0; });
    if (!numberedAlike && numberedThere)
        for (const GroupEntry& b : base)
            if (numbered.count(b.Id)) twins.insert({b.Name, b.Keywords});
    // Of those, the twins of which the file holds one changed there (renamed, or its keywords
    // edited), under an Id of theirs or past this run's numbering: with the numbers moved,
    // nothing tells which twin that one is, so neither which the ones as read are.
    std::set<Content> changedThere;
    for (const GroupEntry& b : base) {
        const std::map<int, size_t>::const_iterator holder = b.Id > 0 ? holderOf.find(b.Id) : holderOf.end();
        const GroupEntry* theirs = holder != holderOf.end() ? &disk[holder->second] : nullptr;
        if (theirs && twins.count({b.Name, b.Keywords}) && !SameContent(*theirs, b) && LikeTwin(*theirs, b))
            changedThere.insert({b.Name, b.Keywords});
    }
    for (const Content& twin : twins) {
        const size_t exactly = pastExactly[twin];
        if (pastByName[twin.first] > exactly || (!twin.second.empty() && pastByKeywords[twin.second] > exactly))
            changedThere.insert(twin);
    }
    // Whether the file's group at j holds the Id of the base's group at i (both there).
    const auto sameId = [&](size_t i, size_t j) {
        return i < n && j < m && base[i].Id > 0 && disk[j].Id == base[i].Id;
    };
    std::vector<UnderItsId> same(n, UnderItsId::It);
    for (size_t i = 0; i < n; ++i) {
        if (!numbered.count(base[i].Id) && !twins.count({base[i].Name, base[i].Keywords})) continue;
        if (changedThere.count({base[i].Name, base[i].Keywords})) {
            same[i] = UnderItsId::Untold;
            continue;
        }
        const auto holder = base[i].Id > 0 ? holderOf.find(base[i].Id) : holderOf.end();
        same[i] = UnderItsId::NotIt;
        if (holder == holderOf.end()) continue;
        const size_t j = holder->second;
        const bool afterTheSame = i == 0 ? j == 0 : j > 0 && sameId(i - 1, j - 1);
        const bool beforeTheSame = i + 1 == n ? j + 1 == m : sameId(i + 1, j + 1);
        if ((numberedAlike && (afterTheSame || beforeTheSame)) || SameContent(base[i], disk[j]))
            same[i] = UnderItsId::It;
    }
    return same;
}

bool SameGroups(const std::vector<GroupEntry>& first, const std::vector<GroupEntry>& second) {
    if (first.size() != second.size()) return false;
    for (size_t i = 0; i < first.size(); ++i)
        if (first[i].Id != second[i].Id || !SameContent(first[i], second[i])) return false;
    return true;
}
