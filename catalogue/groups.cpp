#include "catalogue/groups.h"
#include <algorithm>
#include <map>

GroupEntry::GroupEntry() : Id(0), BuiltIn(0) {}

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

CGroupManager* CGroupManager::GetInstance() {
    // Built on first use and destroyed at exit with every group it holds.
    static CGroupManager s_manager;
    return &s_manager;
}

CGroupManager::CGroupManager() : m_pCurrentGroup(nullptr), m_nLargestId(0) {
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
    // One more than the largest Id present, so that Ids stay distinct after deletions; the
    // very first group, "Other", gets 0. The largest is kept rather than searched for, so
    // that reading a file of many groups stays linear.
    if (m_Groups.empty()) return m_nLargestId = 0;
    return ++m_nLargestId;
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
    if (group->Id == m_nLargestId) {
        m_nLargestId = 0;
        for (const GroupEntry* g : m_Groups) m_nLargestId = std::max(m_nLargestId, g->Id);
    }
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

// The keywords of a group that both sides changed: the file's keywords, less those this
// program removed since the base (one occurrence each), plus those it added, at the end.
std::vector<std::string> MergeKeywords(const std::vector<std::string>& base, const std::vector<std::string>& mine,
                                       const std::vector<std::string>& theirs) {
    std::map<std::string, int> count;
    for (const std::string& k : base) ++count[k];
    std::vector<std::string> added;
    for (const std::string& k : mine) {
        if (count[k] > 0) --count[k];
        else added.push_back(k);
    }
    std::vector<std::string> result;
    for (const std::string& k : theirs) {
        if (count[k] > 0) --count[k];  // removed here
        else result.push_back(k);
    }
    result.insert(result.end(), added.begin(), added.end());
    return result;
}

}  // namespace

// The rule: the file as it is now wins, except for what the user changed in this program
// since the file was last read or written, which is applied to it as the change it was.
// - The groups of `base` are found in the file by name (the n-th group of a name in the
//   base is the n-th of that name in the file); the file carries no lasting Ids.
// - A group deleted here goes from the file's list; a group added here comes at its end.
// - A group edited here: when the file still holds it as it was, the edit replaces it;
//   when the file changed it too, a new name here wins over the file's, and the keywords
//   are the file's with this program's removals and additions applied.
// - A group that the file no longer holds (deleted or renamed by the other hand) stays
//   gone, unless it was edited here: then the edit is kept, at the end.
// - Groups only the file holds are taken as they are.
bool CGroupManager::MergeChanges(const std::vector<GroupEntry>& base, const std::vector<GroupEntry>& disk,
                                 std::vector<GroupEntry>* newBase) {
    std::map<std::string, std::vector<size_t>> byName;  // file positions of each name, in order
    for (size_t i = 0; i < disk.size(); ++i) byName[disk[i].Name].push_back(i);
    std::map<std::string, size_t> used;
    std::vector<const GroupEntry*> baseOf(disk.size(), nullptr);  // the base group each file group is
    std::map<int, bool> found;                                    // base Id -> found in the file
    for (const GroupEntry& b : base) {
        std::vector<size_t>& places = byName[b.Name];
        size_t& next = used[b.Name];
        found[b.Id] = next < places.size();
        if (next < places.size()) baseOf[places[next++]] = &b;
    }
    std::map<int, GroupEntry*> mine;
    for (GroupEntry* group : m_Groups)
        if (group->BuiltIn != 1) mine[group->Id] = group;
    std::map<int, const GroupEntry*> baseById;
    for (const GroupEntry& b : base) baseById[b.Id] = &b;

    const std::vector<GroupEntry> before = UserGroups();
    std::vector<GroupEntry*> result;
    std::vector<GroupEntry*> placed;
    std::vector<int> became(disk.size(), 0);  // the Id each file group has here
    for (size_t i = 0; i < disk.size(); ++i) {
        const GroupEntry& theirs = disk[i];
        const GroupEntry* b = baseOf[i];
        if (!b) {  // only the file holds it
            GroupEntry* group = new GroupEntry;
            group->Name = theirs.Name;
            group->Keywords = theirs.Keywords;
            group->Id = ++m_nLargestId;
            became[i] = group->Id;
            result.push_back(group);
            continue;
        }
        std::map<int, GroupEntry*>::iterator it = mine.find(b->Id);
        if (it == mine.end()) {  // deleted here: an Id below -1, which no group is ever given
            became[i] = -2 - static_cast<int>(i);
            continue;
        }
        became[i] = b->Id;
        GroupEntry* group = it->second;
        if (SameContent(*group, *b)) {
            group->Name = theirs.Name;
            group->Keywords = theirs.Keywords;
        } else if (!SameContent(theirs, *b)) {
            if (group->Name == b->Name) group->Name = theirs.Name;
            group->Keywords = MergeKeywords(b->Keywords, group->Keywords, theirs.Keywords);
        }
        result.push_back(group);
        placed.push_back(group);
    }
    std::vector<GroupEntry*> gone;
    for (GroupEntry* group : m_Groups) {
        if (group->BuiltIn == 1 || std::find(placed.begin(), placed.end(), group) != placed.end()) continue;
        std::map<int, const GroupEntry*>::iterator b = baseById.find(group->Id);
        const bool addedHere = b == baseById.end();
        const bool editedHere = !addedHere && !SameContent(*group, *b->second);
        if (addedHere || (editedHere && found[group->Id] == false)) result.push_back(group);
        else gone.push_back(group);
    }

    GroupEntry* other = m_Groups.front();
    m_Groups.assign(1, other);
    m_Groups.insert(m_Groups.end(), result.begin(), result.end());
    for (GroupEntry* group : gone) {
        if (m_pCurrentGroup == group) m_pCurrentGroup = nullptr;
        delete group;
    }
    m_nLargestId = 0;
    for (const GroupEntry* g : m_Groups) m_nLargestId = std::max(m_nLargestId, g->Id);
    if (newBase) {
        *newBase = disk;
        for (size_t i = 0; i < disk.size(); ++i) (*newBase)[i].Id = became[i];
    }

    const std::vector<GroupEntry> after = UserGroups();
    if (after.size() != before.size()) return true;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i].Id != before[i].Id || !SameContent(after[i], before[i])) return true;
    return false;
}
