#include "catalogue/groups.h"
#include <algorithm>

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
