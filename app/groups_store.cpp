#include "app/groups_store.h"
#include "app/groups_kept.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "framework/framework.h"
#include <algorithm>
#include <map>

namespace
{

std::string FileLines(const std::string& path) { return "The groups file\r\n\r\n" + path + "\r\n\r\n"; }

void Report(const std::string& strText) { AfxMessageBox(strText.c_str(), MB_OK | MB_ICONWARNING); }

std::string NotSavedText(const std::string& path) { return "The groups could not be saved.\r\n\r\n" + FileLines(path); }

// How long a file another program holds is tried again: at the start and at a change (the
// window waits meanwhile), and at the exit for a change not stored yet.
const DWORD kHeldWaitMs = 1500;
const DWORD kHeldExitWaitMs = 5000;
const DWORD kHeldStepMs = 100;

bool IsHeld(const CGroupsFile& file) { return file.Status().kind == GroupsFileStatus::InUse; }

// Why a change is not written while another program holds the file.
std::string HeldWhy(const GroupsFileStatus& status)
{
    return "cannot be opened now: " + status.reason +
           ".\r\n\r\nAnother program holds it. It is left as it is, and the change is written with the next one; "
           "one still not written when the program ends is written if the file frees within a few seconds, and "
           "otherwise kept and stored at the next start.";
}

// What becomes of a change the file refused during the run (read-only, a full disk): the
// store keeps it until a write goes in, and the end keeps it for the next start.
const char kRefusedChangeKept[] =
    "\r\n\r\nThe change is kept: it goes with the next change that can be written, and one still not "
    "written when the program ends is stored at the next start.";

// One step of a wait for a file another program holds. The messages other threads send
// meanwhile are answered (the system asks every window whether the session may end, and
// counts one that keeps it waiting as holding the log-off up); nothing posted, no input and
// no timer is taken. False once the session has ended: nothing waits any more.
bool WaitForHeldFile()
{
    const ULONGLONG nEnd = ::GetTickCount64() + kHeldStepMs;
    for (ULONGLONG nNow; !CGroupsStore::Instance().SessionEnded() && (nNow = ::GetTickCount64()) < nEnd;) {
        MSG msg;
        if (::MsgWaitForMultipleObjects(0, NULL, FALSE, (DWORD)(nEnd - nNow), QS_SENDMESSAGE) == WAIT_OBJECT_0)
            ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return !CGroupsStore::Instance().SessionEnded();
}

// Opens the groups file, again every kHeldStepMs while another program holds it, for at
// most dwWaitMs. As CGroupsFile::Open; the status says InUse when it was held throughout.
bool OpenWhenFree(CGroupsFile& file, const std::string& path, DWORD dwWaitMs)
{
    const ULONGLONG nStart = ::GetTickCount64();
    for (;;) {
        const bool bOpened = file.Open(path.c_str()) != FALSE;
        if (!bOpened || !IsHeld(file) || ::GetTickCount64() - nStart >= dwWaitMs || !WaitForHeldFile())
            return bOpened;
    }
}

// The box that names the groups the code page cannot show, each once.
std::string UnshownText(const std::string& path, const std::vector<std::string>& names)
{
    if (names.empty()) return std::string();
    const size_t kNamed = 10;
    std::string strNames;
    for (size_t i = 0; i < names.size() && i < kNamed; ++i) strNames += (i ? ", \"" : "\"") + names[i] + "\"";
    if (names.size() > kNamed) strNames += " and " + std::to_string(names.size() - kNamed) + " more";
    const bool bOne = names.size() == 1;
    return FileLines(path) + (bOne ? "holds a group whose name or keywords" : "holds groups whose names or keywords") +
           " this system's code page (" + std::to_string(::GetACP()) + ") cannot show: " + strNames + ".\r\n\r\n" +
           (bOne ? "It is" : "They are") + " kept in the file as " + (bOne ? "it is" : "they are") +
           " and left out of the groups here.";
}

// The sentence that tells which changes made here a merge dropped (MergeChanges).
std::string DroppedText(const std::vector<std::string>& names)
{
    std::string strNames;
    for (size_t i = 0; i < names.size(); ++i) strNames += (i ? ", \"" : "\"") + names[i] + "\"";
    const bool bOne = names.size() == 1;
    return std::string("The changes made here to the ") + (bOne ? "group " : "groups ") + strNames +
           " are not stored: another program changed " + (bOne ? "it" : "them") + " meanwhile, and " +
           (bOne ? "it is" : "they are") + " no longer among the groups shown here.";
}

// What the start tells of kept changes it cannot read (why: the reader's reason).
std::string UnreadableKeptText(const std::string& why)
{
    return "The changes to the groups that could not be stored when the program last ended cannot be read back (" +
           why + "). They are not stored in the groups file, and are dropped.";
}

// An Id no group of the list holds, given: no group made later takes it either.
int GiveFreshId(CGroupManager* pGroups)
{
    GroupEntry* pGroup = pGroups->CreateGroup();
    const int nId = pGroup->Id;
    // CreateGroup appended it: it goes at once, from the end, without a walk of the list.
    pGroups->m_Groups.pop_back();
    delete pGroup;
    return nId;
}

std::string Joined(const std::string& first, const std::string& second)
{
    return first + (first.empty() || second.empty() ? "" : "\r\n\r\n") + second;
}

}  // namespace

CGroupsStore& CGroupsStore::Instance()
{
    static CGroupsStore s_store;
    return s_store;
}

CGroupsStore::CGroupsStore()
    : m_bLeftAlone(false), m_bUnread(false), m_bExited(false), m_bEnded(false),
      m_bClaimed(false), m_bKeptToStore(false), m_bKeptAllDropped(false), m_bWriting(false)
{
}

bool CGroupsStore::SameAsBase() const
{
    return SameGroups(CGroupManager::GetInstance()->UserGroups(), m_base);
}

// Somebody else wrote the file since this run read or wrote it (or it was held when this
// run would have read it). The user's changes made
// here since are applied to what it holds now (CGroupManager::MergeChanges), so that the
// write keeps the other hand's edit; the file's groups then stand for the merged base. A
// file that cannot be read as groups now is copied beside itself first, as at the start.
// Gives back false when nothing may be written (the reason in strWhy), and in strNotice
// what the user is to be told even when the write goes ahead.
bool CGroupsStore::TakeChangedFile(CGroupsFile& file, std::string& strWhy, std::string& strNotice, bool* pAllDropped)
{
    if (pAllDropped != NULL)
        *pAllDropped = false;
    const std::string path = GetGroupsFilePath();
    const GroupsFileStatus& status = file.Status();
    const GroupsFileState& now = file.State();
    if (status.kind == GroupsFileStatus::Unreadable) {
        // Access taken away: nothing of it could be read to tell.
        strWhy = "cannot be opened now: " + status.reason + ".\r\n\r\nIt is left as it is.";
        return false;
    }
    if (status.Damaged()) {
        std::string strCopy, strError;
        const std::string strRead =
            "was changed by another program and cannot be read as groups: " + status.reason + ".\r\n\r\n";
        if (!KeepGroupsFileCopy(path, &strCopy, &strError)) {
            strWhy = strRead + "It could not be copied to\r\n\r\n" + strCopy + "\r\n\r\n(" + strError +
                     "), so it is left as it is.";
            return false;
        }
        m_strKeptCopy = strCopy;
        m_fileState = now;
        m_bUnread = false;
        strNotice = FileLines(path) + strRead + "Its contents were kept in\r\n\r\n" + strCopy +
                    "\r\n\r\nThe groups of this program were written in its place.";
        return true;
    }
    if (status.kind == GroupsFileStatus::Missing) {
        // Gone or emptied to nothing, it holds nothing of the user's: the groups here are
        // written as they are rather than thinned to the changes made since.
        m_fileState = now;
        m_bUnread = false;
        return true;
    }
    // Groups the other hand gave names or keywords the code page cannot show drop out of
    // the list (the file keeps them): the user is told which, once.
    std::vector<std::string> unshown;
    for (const std::string& name : file.UnshownGroups())
        if (m_reportedUnshown.insert(name).second) unshown.push_back(name);
    strNotice = UnshownText(path, unshown);
    CGroupManager* pGroups = CGroupManager::GetInstance();
    GroupsMerge merge;
    file.ReadGroups(&merge.disk);
    file.ReserveIds(pGroups);
    RenumberClaimedUnstated(file, merge.disk);
    merge.base = m_base;
    merge.baseHeldIds = m_baseOtherIds;
    merge.seen = m_seen;
    merge.heldIds = file.OtherIds();
    merge.given = file.IdsGiven();
    merge.repeatedIds = file.RepeatedIds();
    GroupsMerged merged = pGroups->MergeChanges(merge);
    if (merged.changed) {
        // The tree holds the groups by address: it is built again from the list as it is.
        CUiManager::GetInstance()->RefreshGroups();
    }
    if (!merged.dropped.empty())
        strNotice += (strNotice.empty() ? FileLines(path) + "was changed by another program." : std::string()) +
                     "\r\n\r\n" + DroppedText(merged.dropped);
    NoteUnstatedIds(merge.disk, merged.newBase);
    m_base.swap(merged.newBase);
    m_baseOtherIds = file.OtherIds();
    m_seen.Add(*merge.given);
    if (pAllDropped != NULL)
        *pAllDropped = !merged.dropped.empty() && SameAsBase();
    m_fileState = now;
    m_bUnread = false;
    return true;
}

std::string CGroupsStore::Load()
{
    m_strUntold.clear();
    // What the last session's end could not tell comes first.
    const std::string strUntold = TakeUntoldText();
    return Joined(strUntold, LoadFile());
}

std::string CGroupsStore::LoadFile()
{
    const std::string path = GetGroupsFilePath();
    m_strKeptCopy.clear();
    m_strKeptMerge.clear();
    m_bKeptAllDropped = false;
    m_pKeptRead.reset();
    m_reportedUnshown.clear();
    m_bLeftAlone = false;
    m_bUnread = false;
    m_bExited = false;
    m_bEnded = false;
    m_keptRecords.clear();
    m_strOwnRecord.clear();
    m_laterKept.clear();
    m_bClaimed = false;
    m_keptMerged.clear();
    // What a save cut short by the end of the program left beside the file: the user's file
    // set aside goes back to its name, the new bytes not yet in place go.
    RestoreGroupsFileSetAside(path);
    RemoveGroupsFileLeftovers(path);
    CGroupManager* pGroups = CGroupManager::GetInstance();
    // Each end that kept changes kept a record of its own (another copy of the program may
    // have ended meanwhile): the first that can be read is merged here, the others each once
    // the one before is stored. Those that cannot be read are told first (the user was told
    // they were kept) and dropped.
    KeptGroups kept;
    KeptRead keptRead = KeptRead::None;
    std::string strLost;
    for (const std::string& name : KeptRecordNames()) {
        if (keptRead == KeptRead::Read) {
            m_laterKept.push_back(name);
            continue;
        }
        std::string why;
        const KeptRead read = ReadKeptGroupChanges(name, &kept, &why);
        if (read == KeptRead::None) continue;
        m_keptRecords.insert(name);
        if (read == KeptRead::Unreadable) {
            strLost = Joined(strLost, UnreadableKeptText(why));
            continue;
        }
        keptRead = read;
        m_strOwnRecord = name;
    }
    std::unique_ptr<CGroupsFile> pFile(new CGroupsFile);
    CGroupsFile& file = *pFile;
    const bool bOpened = OpenWhenFree(file, path, kHeldWaitMs);
    const bool bHeld = bOpened && IsHeld(file);
    const GroupsFileStatus::Kind kind = file.Status().kind;
    // Changes the last run could not store are made again, in the groups as that run knew
    // them: the file's first read merges them as changes made in that run. A kept group
    // takes no Id the file holds: a group the file holds without an Id is found by its name
    // and keywords then, as that run would have found it.
    std::vector<GroupEntry> keptBase;
    std::set<int> keptUnstated;
    m_bKeptToStore = keptRead == KeptRead::Read;
    if (m_bKeptToStore) {
        if (bOpened && !bHeld && kind == GroupsFileStatus::Read) file.ReserveIds(pGroups);
        TakeKeptChanges(kept, keptBase, keptUnstated);
        m_keptMerged = pGroups->UserGroups();
    }
    if (bHeld) {
        // Another program is writing it (or holds it unshared): read once it is free
        // (ReadHeldFile), or before the first write, whichever comes first.
        m_bUnread = true;
        if (m_bKeptToStore)
            StartFrom(keptBase, keptUnstated, kept.baseOtherIds, kept.seen);
        else
            StartFrom(pGroups->UserGroups(), std::set<int>(), std::vector<int>(), GivenIds());
        return Joined(strLost, FileLines(path) + "is in use by another program (" + file.Status().reason +
                                   ").\r\n\r\nIts groups are read as soon as it is free, and the changes made to "
                                   "the groups meanwhile are applied to them.");
    }
    if (m_bKeptToStore && bOpened && (kind == GroupsFileStatus::Read || kind == GroupsFileStatus::Missing)) {
        m_bUnread = true;
        StartFrom(keptBase, keptUnstated, kept.baseOtherIds, kept.seen);
        std::string strWhy;
        TakeChangedFile(file, strWhy, m_strKeptMerge, &m_bKeptAllDropped);
        m_keptMerged = pGroups->UserGroups();
        // Stored by StoreKept, into this reading of the file: the file is parsed and walked
        // once at such a start.
        m_pKeptRead = std::move(pFile);
        return strLost;
    }
    if (bOpened) file.ReadGroups(pGroups);
    // The groups as read, in the file's order, with the Ids they were given here.
    m_base = pGroups->UserGroups();
    m_baseOtherIds = file.OtherIds();
    m_seen = file.IdsGiven();
    std::vector<GroupEntry> read;
    file.ReadGroups(&read);
    // ReadGroups appended them to the list: the base ends with them.
    const size_t nRead = std::min(read.size(), m_base.size());
    NoteUnstatedIds(read, std::vector<GroupEntry>(m_base.end() - nRead, m_base.end()));
    if (m_bKeptToStore) {
        // Not read as groups: the kept changes wait for a write, as changes made here.
        m_bKeptToStore = false;
        StartFrom(keptBase, keptUnstated, kept.baseOtherIds, kept.seen);
    }
    if (!bOpened && !file.Status().Damaged()) {
        // No document object at all: the file was not looked at, so it is not written
        // over either.
        m_fileState = ReadGroupsFileState(path);
        m_bLeftAlone = true;
        return strLost;
    }
    const std::string strText = TakeFirstRead(file, "starts");
    // The first change edits this reading of the file unless the file changes meanwhile.
    file.KeepReading();
    return Joined(strLost, strText);
}

// The file read for the first time in this run, at the start or once the program that
// held it let go: the groups it holds are in the list already. Gives back what the user is
// to be told: which groups the code page cannot show, or why the file cannot be read
// as groups and what became of it.
std::string CGroupsStore::TakeFirstRead(CGroupsFile& file, const char* pszGoesOn)
{
    const std::string path = GetGroupsFilePath();
    const GroupsFileStatus status = file.Status();
    m_fileState = file.State();
    if (!status.Damaged()) {
        m_reportedUnshown.insert(file.UnshownGroups().begin(), file.UnshownGroups().end());
        return UnshownText(path, file.UnshownGroups());
    }

    const std::string strLater = "changes to the groups are not saved until the program is started again.";
    if (status.kind == GroupsFileStatus::Unreadable) {
        m_bLeftAlone = true;
        return FileLines(path) + "cannot be opened: " + status.reason + ".\r\n\r\nIt is left as it is: " + strLater;
    }
    std::string strCopy, strError;
    const std::string strWhy = FileLines(path) + "cannot be read as groups: " + status.reason + ".\r\n\r\n";
    if (!KeepGroupsFileCopy(path, &strCopy, &strError)) {
        m_bLeftAlone = true;
        return strWhy + "It could not be copied to\r\n\r\n" + strCopy + "\r\n\r\n(" + strError +
               "), so it is left as it is: " + strLater;
    }
    m_strKeptCopy = strCopy;
    return strWhy + "Its contents were kept in\r\n\r\n" + strCopy + "\r\n\r\nThe program " + pszGoesOn +
           " without the groups it holds; the groups file is written anew when the groups change.";
}

void CGroupsStore::NoteUnstatedIds(const std::vector<GroupEntry>& read, const std::vector<GroupEntry>& here)
{
    m_unstated.clear();
    for (size_t i = 0; i < read.size() && i < here.size(); ++i)
        if (read[i].Id != here[i].Id) m_unstated.insert(here[i].Id);
}

std::string CGroupsStore::ReadHeldFile()
{
    if (!m_bUnread) return std::string();
    CGroupsFile file;
    if (!file.Open(GetGroupsFilePath().c_str()) || IsHeld(file)) return std::string();
    const GroupsFileStatus::Kind kind = file.Status().kind;
    if (kind != GroupsFileStatus::Read && kind != GroupsFileStatus::Missing) {
        // As at the start: nothing of it joins the list.
        m_bUnread = false;
        return TakeFirstRead(file, "goes on");
    }
    // What the user changed meanwhile is applied to what the file holds, as when another
    // program changed it between two changes.
    std::string strWhy, strNotice;
    bool bAllDropped = false;
    TakeChangedFile(file, strWhy, strNotice, &bAllDropped);
    if (m_bKeptToStore)
        return StoreKeptChanges(&file, strNotice, bAllDropped);
    // The first change edits this reading of the file unless the file changes meanwhile.
    file.KeepReading();
    return strNotice;
}

void CGroupsStore::StartFrom(const std::vector<GroupEntry>& base, const std::set<int>& unstated,
                             const std::vector<int>& baseOtherIds, const GivenIds& seen)
{
    m_base = base;
    m_baseOtherIds = baseOtherIds;
    m_unstated = unstated;
    m_seen = seen;
}

void CGroupsStore::RenumberClaimedUnstated(const CGroupsFile& file, const std::vector<GroupEntry>& disk)
{
    if (m_unstated.empty()) return;
    std::set<int> claimed(file.OtherIds().begin(), file.OtherIds().end());
    for (const GroupEntry& group : disk)
        if (group.Id > 0) claimed.insert(group.Id);
    const GivenIds given = file.IdsGiven();
    CGroupManager* pGroups = CGroupManager::GetInstance();
    std::map<int, GroupEntry*> here;
    for (GroupEntry& base : m_base) {
        if (!m_unstated.count(base.Id) || !IdTakenInFile(base.Id, claimed, given, m_seen)) continue;
        if (here.empty())
            for (GroupEntry* pGroup : pGroups->m_Groups) here[pGroup->Id] = pGroup;
        // Given here and never written: the group here of that Id is this one.
        const int nId = GiveFreshId(pGroups);
        std::map<int, GroupEntry*>::iterator it = here.find(base.Id);
        if (it != here.end()) it->second->Id = nId;
        m_unstated.erase(base.Id);
        m_unstated.insert(nId);
        base.Id = nId;
    }
}

bool CGroupsStore::FileHoldsId(int nId) const
{
    if (m_bUnread || nId <= 0 || m_unstated.count(nId)) return false;
    for (const GroupEntry& group : m_base)
        if (group.Id == nId) return true;
    return false;
}

void CGroupsStore::TakeKeptChanges(const KeptGroups& kept, std::vector<GroupEntry>& base, std::set<int>& unstated)
{
    CGroupManager* pGroups = CGroupManager::GetInstance();
    base = pGroups->UserGroups();
    unstated.clear();
    // No Id that run saw in the file or gave is given anew: a copy that read the file then
    // may follow a group by it.
    pGroups->ReserveIds(kept.seen);
    for (int nId : kept.baseOtherIds) pGroups->ReserveId(nId);
    for (const GroupEntry& group : kept.base) pGroups->ReserveId(group.Id);
    for (int nId : kept.baseHereIds) pGroups->ReserveId(nId);
    pGroups->ReserveId(kept.nLargestId);
    pGroups->TakeGivenDownwards(kept.nLowestDownwards);
    const auto hereId = [&](size_t i) {
        return kept.base[i].Id > 0 || i >= kept.baseHereIds.size() ? kept.base[i].Id : kept.baseHereIds[i];
    };
    std::vector<const KeptGroupChange*> changeOf(kept.base.size(), NULL);
    for (const KeptGroupChange& change : kept.changes)
        if (change.nBase >= 0) changeOf[change.nBase] = &change;
    // That run's groups in its order, each with the Id it had there (none kept: given one
    // now): each group of the file as changed there, then those it added. One call for all
    // of them: the Ids present are gathered once.
    const size_t kDeleted = (size_t)-1;
    std::vector<size_t> placeOf(kept.base.size(), kDeleted);
    std::vector<GroupEntry> groups;
    groups.reserve(kept.base.size() + kept.changes.size());
    for (size_t i = 0; i < kept.base.size(); ++i) {
        const KeptGroupChange* pChange = changeOf[i];
        if (pChange != NULL && !pChange->bHere) continue;
        placeOf[i] = groups.size();
        groups.push_back(pChange != NULL ? pChange->here : kept.base[i]);
        groups.back().Id = hereId(i);
    }
    for (const KeptGroupChange& change : kept.changes)
        if (change.nBase < 0) groups.push_back(change.here);
    const size_t nFirst = pGroups->m_Groups.size();
    pGroups->AddStoredGroups(groups);
    for (size_t i = 0; i < kept.base.size(); ++i) {
        GroupEntry group = kept.base[i];
        if (placeOf[i] != kDeleted) {
            group.Id = pGroups->m_Groups[nFirst + placeOf[i]]->Id;
        } else if (group.Id <= 0) {
            // Deleted in that run, a group the file gave no Id of its own: an Id no group
            // here takes, so that the merge finds the file's group by its name and keywords
            // and leaves it out.
            group.Id = hereId(i) > 0 ? hereId(i) : GiveFreshId(pGroups);
        }
        if (group.Id != kept.base[i].Id) unstated.insert(group.Id);
        base.push_back(group);
    }
}

std::string CGroupsStore::StoreKept()
{
    if (!KeepsChangesToStore()) return std::string();
    std::string strMerge;
    strMerge.swap(m_strKeptMerge);
    return StoreKeptChanges(NULL, strMerge, m_bKeptAllDropped);
}

std::string CGroupsStore::StoreKeptChanges(CGroupsFile* pRead, const std::string& strRead, bool bAllDropped)
{
    m_bKeptToStore = false;
    const std::string path = GetGroupsFilePath();
    std::string strNotice, strWhy, strText = strRead;
    // Another copy that read the same record at its start may store it first: it is then
    // that copy's to store and to tell of, and the groups here follow the file as that copy
    // leaves it (read now, or once it is free).
    const bool bOurs = ClaimKept();
    if (!bOurs) strText = Joined(strText, ReadHeldFile());
    Outcome outcome = Write(kHeldWaitMs, 0, strNotice, strWhy, bOurs ? pRead : NULL);
    bool bStored = outcome == Stored && !bAllDropped && bOurs;
    // What other ends kept after that record, each merged with the file as the store before
    // left it, in the order kept.
    std::string strLost;
    while (outcome == Stored && TakeLaterKept(strLost)) {
        std::string strMerged;
        outcome = Write(kHeldWaitMs, 0, strMerged, strWhy, NULL, &bAllDropped);
        bStored = bStored || (outcome == Stored && !bAllDropped);
        strNotice = Joined(strNotice, strMerged);
    }
    strText = Joined(strText, strLost);
    // Records that could not be read go once the others are stored.
    if (outcome == Stored) DropKept();
    if ((outcome == Stored && !bStored) || (outcome != Stored && !bOurs))
    {
        // The file holds none of them: what the read told says why (or nothing of them is
        // this run's: another copy stores them).
        strWhy.clear();
    }
    else if (outcome == Stored)
    {
        strWhy = FileLines(path) +
                 "now holds the changes to the groups that could not be stored in it when the program last ended.";
    }
    else
    {
        strWhy = "The changes to the groups that could not be stored when the program last ended are not stored "
                 "yet.\r\n\r\n" + FileLines(path) + strWhy;
        if (outcome == Failed) strWhy += "\r\n\r\nThey are kept, and stored with the next change or at the next start.";
    }
    for (const std::string* pPart : {&strNotice, &strWhy})
        if (!pPart->empty()) strText += (strText.empty() ? "" : "\r\n\r\n") + *pPart;
    return strText;
}

bool CGroupsStore::TakeLaterKept(std::string& strLost)
{
    while (!m_laterKept.empty()) {
        const std::string name = m_laterKept.front();
        m_laterKept.erase(m_laterKept.begin());
        // Gone, or another copy took it first: that copy stores it.
        std::string claimed;
        if (!ClaimKeptRecord(name, &claimed)) continue;
        m_keptRecords.insert(claimed);
        KeptGroups kept;
        std::string why;
        const KeptRead read = ReadKeptGroupChanges(claimed, &kept, &why);
        if (read == KeptRead::None) continue;
        if (read == KeptRead::Unreadable) {
            strLost = Joined(strLost, UnreadableKeptText(why));
            continue;
        }
        if (m_strOwnRecord.empty()) m_strOwnRecord = claimed;
        // The file holds the groups here now: they are made again as the run that kept the
        // record left them, and the next write merges them with the file as that run's next
        // start would have.
        CGroupManager* pGroups = CGroupManager::GetInstance();
        const int nCurrent = pGroups->m_pCurrentGroup != NULL ? pGroups->m_pCurrentGroup->Id : 0;
        pGroups->m_pCurrentGroup = NULL;
        for (; pGroups->m_Groups.size() > 1; pGroups->m_Groups.pop_back()) delete pGroups->m_Groups.back();
        std::vector<GroupEntry> base;
        std::set<int> unstated;
        TakeKeptChanges(kept, base, unstated);
        StartFrom(base, unstated, kept.baseOtherIds, kept.seen);
        m_bUnread = true;
        if (nCurrent != 0) pGroups->m_pCurrentGroup = pGroups->FindGroup(nCurrent);
        // The tree holds the groups by address.
        CUiManager::GetInstance()->RefreshGroups();
        return true;
    }
    return false;
}

void CGroupsStore::DropKept()
{
    // Only what this run read at its start or kept itself: another copy's stay.
    ForgetKeptRecords(m_keptRecords);
    m_keptRecords.clear();
    m_strOwnRecord.clear();
}

bool CGroupsStore::ClaimKept()
{
    if (m_bClaimed) return !m_strOwnRecord.empty();
    m_bClaimed = true;
    std::set<std::string> taken;
    taken.swap(m_keptRecords);
    bool bOurs = m_strOwnRecord.empty();
    for (const std::string& name : taken) {
        std::string claimed;
        if (!ClaimKeptRecord(name, &claimed)) continue;
        m_keptRecords.insert(claimed);
        if (name == m_strOwnRecord) {
            m_strOwnRecord = claimed;
            bOurs = true;
        }
    }
    if (bOurs) return !m_strOwnRecord.empty();
    // Its changes are in the groups here since the start: they are no change of this run's
    // any more. Another write of the file since is merged with what remains, as any other
    // program's.
    m_strOwnRecord.clear();
    m_bKeptToStore = false;
    m_base = m_keptMerged;
    // The start's reading is of the file as it was before that copy stored them.
    m_pKeptRead.reset();
    // A file kept aside as damaged, or left alone, is not merged with.
    if (!m_bLeftAlone && m_strKeptCopy.empty()) m_bUnread = true;
    return false;
}

bool CGroupsStore::KeepPending()
{
    ClaimKept();
    CGroupManager* pGroups = CGroupManager::GetInstance();
    KeptGroups kept = GroupChangesBetween(m_base, pGroups->UserGroups(), m_unstated, m_baseOtherIds);
    kept.seen = m_seen;
    kept.nLargestId = pGroups->LargestId();
    kept.nLowestDownwards = pGroups->LowestIdGivenDownwards();
    if (kept.changes.empty()) {
        DropKept();
        return true;
    }
    // Kept beside what other copies kept, in the place of the first record this run took.
    const bool bKept = KeepGroupChanges(kept, &m_strOwnRecord);
    // The other records this run took are in these changes (older, also when the registry
    // refused them).
    std::set<std::string> taken;
    taken.swap(m_keptRecords);
    taken.erase(m_strOwnRecord);
    ForgetKeptRecords(taken);
    if (bKept) m_keptRecords.insert(m_strOwnRecord);
    if (!bKept) m_strOwnRecord.clear();
    return bKept;
}

CGroupsStore::Outcome CGroupsStore::Write(DWORD dwHeldWaitMs, int nLastingId, std::string& strNotice,
                                          std::string& strWhy, CGroupsFile* pRead, bool* pAllDropped)
{
    if (pAllDropped != NULL) *pAllDropped = false;
    // Asked again while a write waits for the file (the session's end comes then): this one
    // goes on with what is to be written, and the end keeps it should it not get there.
    if (m_bWriting) {
        strWhy = "is being written now.";
        return Failed;
    }
    struct Writing
    {
        bool& bWriting;
        ~Writing() { bWriting = false; }
    } writing{m_bWriting = true};
    ClaimKept();
    // The start's reading goes with the first write, used or not: a later one reads the file
    // again. Replacing the file checks that it still holds what was read.
    std::unique_ptr<CGroupsFile> pKeptRead(m_pKeptRead.release());
    if (pRead == NULL) pRead = pKeptRead.get();
    // A group named for this run only gets no Id from a write: the file holds none for it.
    if (SameAsBase() && (!m_unstated.count(nLastingId) || IsRunOnlyId(nLastingId)))
    {
        // Nothing is left to store: what an earlier end kept is in the file, or the user
        // undid it here (the base of a file not read yet is what that end knew of it). Undone,
        // it is no change the file is to be said to hold once it is read.
        DropKept();
        m_bKeptToStore = false;
        return Stored;
    }
    const std::string path = GetGroupsFilePath();
    Outcome outcome = Failed;
    if (m_bLeftAlone) {
        strWhy = "could not be read when the program started and is left as it is.";
    } else {
        const ULONGLONG nStart = ::GetTickCount64();
        for (int nAtOnce = 0;;) {
            const ULONGLONG nWaited = ::GetTickCount64() - nStart;
            CGroupsFile opened;
            CGroupsFile& file = pRead != NULL ? *pRead : opened;
            if (pRead == NULL &&
                !OpenWhenFree(opened, path, nWaited < dwHeldWaitMs ? (DWORD)(dwHeldWaitMs - nWaited) : 0)) {
                strWhy = "could not be read again.";
                break;
            }
            // A try after the first reads the file again.
            pRead = NULL;
            // Never written unread: while it is held, the change waits for the next one.
            if (IsHeld(file)) {
                outcome = Held;
                strWhy = HeldWhy(file.Status());
                break;
            }
            // While the file is as this run left it, its groups are the base's, place by place.
            if (m_bUnread || file.State() != m_fileState) {
                if (!TakeChangedFile(file, strWhy, strNotice, pAllDropped)) break;
                // The file holds every change already (another program made it too, or the
                // merge dropped it): nothing is written, as at the next start's store.
                if (!m_bLeftAlone && file.Status().kind == GroupsFileStatus::Read && SameAsBase() &&
                    (!m_unstated.count(nLastingId) || IsRunOnlyId(nLastingId))) {
                    DropKept();
                    return Stored;
                }
            }
            CGroupManager* pGroups = CGroupManager::GetInstance();
            if (file.MayReplace(m_strKeptCopy.c_str()) && file.WriteGroups(pGroups, &m_base) && file.Save()) {
                m_base = file.Written();
                m_baseOtherIds = file.OtherIds();
                m_seen.Add(file.IdsGiven());
                // A group named for this run only is written without an Id.
                m_unstated.clear();
                for (const GroupEntry& group : m_base)
                    if (IsRunOnlyId(group.Id)) m_unstated.insert(group.Id);
                m_fileState = file.State();
                DropKept();
                return Stored;
            }
            // Held by another program at the replace (one that reads it sharing reads only, a
            // scanner or a backup, keeps it from being replaced as a writer keeps it from being
            // read): tried again within the same wait as a file held at the read. Taken or
            // written by another program between the read and the write: read again (and
            // merged), a few times.
            const GroupsFileStatus& status = file.Status();
            const bool bHeld = status.kind == GroupsFileStatus::InUse;
            if (bHeld && ::GetTickCount64() - nStart < dwHeldWaitMs && WaitForHeldFile()) continue;
            if ((bHeld || status.changedSinceRead) && ++nAtOnce < 3) continue;
            if (status.kind == GroupsFileStatus::InUse) {
                outcome = Held;
                strWhy = HeldWhy(status);
                break;
            }
            const std::string& strError = status.writeError;
            strWhy = "cannot be written: " + (strError.empty() ? std::string("unknown reason") : strError) + ".";
            break;
        }
    }
    return outcome;
}

bool CGroupsStore::Save(bool bReport, int nLastingId, bool bWaitWhileHeld)
{
    std::string strNotice, strWhy;
    const Outcome outcome = Write(m_bExited || !bWaitWhileHeld ? 0 : kHeldWaitMs, nLastingId, strNotice, strWhy);
    Tell(strNotice, bReport && !m_bEnded);
    if (bReport && !m_bEnded && outcome != Stored)
        Report(NotSavedText(GetGroupsFilePath()) + strWhy +
               (outcome == Failed && !m_bLeftAlone ? kRefusedChangeKept : ""));
    return outcome == Stored;
}

void CGroupsStore::SaveAtExit()
{
    std::string strNotice, strWhy;
    const Outcome outcome = Write(m_bEnded ? 0 : kHeldExitWaitMs, 0, strNotice, strWhy);
    // The exit has waited: saves after it (the pages going) try once, without waiting.
    m_bExited = true;
    const bool bKept = outcome == Stored || KeepPending();
    Tell(strNotice, !m_bEnded);
    if (m_bEnded) {
        KeepUntoldText(m_strUntold);
        return;
    }
    if (outcome == Stored) return;
    // Whatever kept the change from the file, the user learns what becomes of it.
    const std::string strKept = bKept ? "They are kept, and stored in it at the next start."
                                      : "They could not be kept for the next start either: the registry refused them.";
    Report(NotSavedText(GetGroupsFilePath()) +
           (outcome == Held ? "is still in use by another program: the latest changes to the groups are not stored in "
                              "it now. "
                            : strWhy + "\r\n\r\nThe latest changes to the groups are not stored in it. ") +
           strKept);
}

void CGroupsStore::EndSession()
{
    m_bExited = true;
    m_bEnded = true;
    KeepPending();
    // A change a merge dropped at the end (the saves before spoke to nobody) is told at
    // the next start.
    KeepUntoldText(m_strUntold);
}

void CGroupsStore::Tell(const std::string& strNotice, bool bNow)
{
    if (!strNotice.empty()) m_strUntold += (m_strUntold.empty() ? "" : "\r\n\r\n") + strNotice;
    if (!bNow || m_strUntold.empty()) return;
    Report(m_strUntold);
    m_strUntold.clear();
}

std::string LoadGroupsFile() { return CGroupsStore::Instance().Load(); }

bool SaveGroupsFile(bool bReport, int nLastingId, bool bWaitWhileHeld)
{
    return CGroupsStore::Instance().Save(bReport, nLastingId, bWaitWhileHeld);
}

void SaveGroupsFileAtExit() { CGroupsStore::Instance().SaveAtExit(); }
