#include "app/groups_store.h"
#include "app/groups_kept.h"
#include "app/groups_turn.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "framework/framework.h"
#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

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

// What becomes of a change that waits for the file: `strWhy` says why it waits.
std::string WaitsWhy(const std::string& strWhy)
{
    return strWhy +
           " It is left as it is, and the change is written with the next one; one still not written when the "
           "program ends is written if the file frees within a few seconds, and otherwise kept and stored at the "
           "next start.";
}

// Why a change is not written while another program holds the file.
std::string HeldWhy(const GroupsFileStatus& status)
{
    return WaitsWhy("cannot be opened now: " + status.reason + ".\r\n\r\nAnother program holds it.");
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

// Why a change is not written while another copy has its turn past the wait.
std::string TurnWhy() { return WaitsWhy("is being written by another copy of the program now."); }

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

// The sentences that tell which changes made here a merge dropped (MergeChanges): edits,
// then deletes.
std::string DroppedText(const std::vector<DroppedChange>& dropped)
{
    std::string strEdited, strDeleted;
    int nEdited = 0, nDeleted = 0;
    for (const DroppedChange& change : dropped) {
        std::string& strNames = change.bDelete ? strDeleted : strEdited;
        strNames += (strNames.empty() ? "\"" : ", \"") + change.name + "\"";
        ++(change.bDelete ? nDeleted : nEdited);
    }
    std::string text;
    if (nEdited > 0) {
        const bool bOne = nEdited == 1;
        text = std::string("The changes made here to the ") + (bOne ? "group " : "groups ") + strEdited +
               " are not stored: another program changed " + (bOne ? "it" : "them") + " meanwhile, and " +
               (bOne ? "it is" : "they are") + " no longer among the groups shown here.";
    }
    if (nDeleted > 0) {
        const bool bOne = nDeleted == 1;
        text += std::string(text.empty() ? "" : " ") + (bOne ? "The group " : "The groups ") + strDeleted +
                " deleted here " + (bOne ? "is" : "are") + " not deleted: another program changed " +
                (bOne ? "it" : "them") + " meanwhile, and which of the file's groups " + (bOne ? "it is" : "they are") +
                " now cannot be told.";
    }
    return text;
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
      m_bKeptToStore(false), m_bKeptToTell(false), m_bStoringKept(false), m_bKeptAllDropped(false),
      m_bWriting(false), m_bLoadPutOff(false)
{
}

bool CGroupsStore::PutOffLoad()
{
    // A run starts: its session has not ended, nor its exit come.
    m_bEnded = m_bExited = false;
    m_bLoadPutOff = !KeptRecordNames().empty();
    return m_bLoadPutOff;
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
    // The records after the first follow the first's merge with the file, in the order kept.
    const bool bLater = m_records.Merged() < m_records.Count();
    bool bAllDropped = false;
    if (!MergeWithFile(file, strWhy, strNotice, &bAllDropped)) return false;
    if (bLater) MergeLaterKept(strNotice, bAllDropped);
    if (pAllDropped != NULL) *pAllDropped = bAllDropped;
    return true;
}

bool CGroupsStore::MergeWithFile(CGroupsFile& file, std::string& strWhy, std::string& strNotice, bool* pAllDropped)
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
    std::vector<GroupEntry> disk;
    file.ReadGroups(&disk);
    file.ReserveIds(pGroups);
    GroupsMerged merged = MergeSinceBase(disk, file.OtherIds(), file.IdsGiven());
    if (merged.changed) {
        // The tree holds the groups by address: it is built again from the list as it is.
        CUiManager::GetInstance()->RefreshGroups();
    }
    if (!merged.dropped.empty())
        strNotice += (strNotice.empty() ? FileLines(path) + "was changed by another program." : std::string()) +
                     "\r\n\r\n" + DroppedText(merged.dropped);
    NoteUnstatedIds(disk, merged.newBase);
    m_base.swap(merged.newBase);
    m_baseOtherIds = file.OtherIds();
    m_seen.Add(file.IdsGiven());
    if (pAllDropped != NULL)
        *pAllDropped = !merged.dropped.empty() && SameAsBase();
    m_fileState = now;
    m_bUnread = false;
    return true;
}

std::string CGroupsStore::Load()
{
    // Another copy writes the file or its records, or its start looks at what writers left:
    // the load waits as one put off for the window does (the page tries it again), and
    // never reads a write half-way. A load put off already looks once each time: the window
    // answers the user in between.
    GroupsTurn turn(m_bLoadPutOff ? 0 : kHeldWaitMs);
    m_bLoadPutOff = !turn.Held();
    if (m_bLoadPutOff) return std::string();
    m_strUntold.clear();
    // What the last session's end could not tell comes first.
    const std::string strUntold = TakeUntoldText();
    return Joined(strUntold, LoadFile());
}

std::string CGroupsStore::LoadFile()
{
    const std::string path = GetGroupsFilePath();
    // In this copy's turn (Load), what a save cut short by a death left is put right, as
    // any step that finds the turn abandoned does (a copy of an earlier build takes no
    // turn). Each end that kept changes kept a record of its own: every record this copy
    // may take is read then, in the order kept.
    PutRightWhatWritersLeft();
    m_records.TakeAll();
    const std::string strUntold = m_strUntold;
    // Merged, then taken at once: one write of what they hold together, then each deleted.
    // One whose delete the registry refused stays for the next start: the load goes again
    // without it.
    for (bool bAgain = false;; bAgain = true) {
        const std::string text = LoadRecords(path);
        if (!m_records.ToClaim() || m_records.Claim(PendingChanges())) {
            // The tree holds the groups by address: those of the load before are gone.
            if (bAgain) CUiManager::GetInstance()->RefreshGroups();
            return text;
        }
        CGroupManager* pGroups = CGroupManager::GetInstance();
        pGroups->m_pCurrentGroup = NULL;
        for (; pGroups->m_Groups.size() > 1; pGroups->m_Groups.pop_back()) delete pGroups->m_Groups.back();
        m_strUntold = strUntold;
    }
}

std::string CGroupsStore::LoadRecords(const std::string& path)
{
    m_strKeptCopy.clear();
    m_strKeptMerge.clear();
    m_bKeptAllDropped = false;
    m_pKeptRead.reset();
    m_reportedUnshown.clear();
    m_bLeftAlone = false;
    m_bUnread = false;
    m_bExited = false;
    m_bEnded = false;
    m_bKeptToTell = false;
    m_bStoringKept = false;
    // Records that cannot be read are told first (the user was told they were kept) and
    // dropped.
    CGroupManager* pGroups = CGroupManager::GetInstance();
    const std::string strLost = m_records.LostText();
    static const KeptGroups kNone;
    const KeptGroups& kept = m_records.Count() > 0 ? m_records.Changes(0) : kNone;
    // Those that could not be read go with the first write that stores the groups.
    m_bKeptToTell = m_records.Count() > 0;
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
    m_bKeptToStore = m_records.Count() > 0;
    if (m_bKeptToStore) {
        if (bOpened && !bHeld && kind == GroupsFileStatus::Read) file.ReserveIds(pGroups);
        TakeKeptChanges(kept, keptBase, keptUnstated);
        m_records.SetMerged(1);
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
        // Not read as groups: the kept changes wait for a write, as changes made here, the
        // later records merged with the first as its store would leave the file.
        m_bKeptToStore = false;
        m_bKeptToTell = false;
        StartFrom(keptBase, keptUnstated, kept.baseOtherIds, kept.seen);
        std::string strDropped;
        bool bAllDropped = false;
        MergeLaterKept(strDropped, bAllDropped);
        m_bKeptToStore = m_bKeptToTell = false;
        m_strUntold = Joined(m_strUntold, strDropped);
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
    // A write read it first (and stored the kept changes with it): told now.
    if (!m_bUnread) return m_bKeptToTell ? StoreKeptChanges(NULL, std::string(), false) : std::string();
    // An open may put back a file a save set aside: not while another copy saves.
    GroupsTurn turn(0);
    CGroupsFile file;
    if (!turn.Held() || !file.Open(GetGroupsFilePath().c_str()) || IsHeld(file)) return std::string();
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
    if (m_bKeptToTell)
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

std::map<int, int> CGroupsStore::RenumberClaimedUnstated(const std::vector<int>& otherIds, const GivenIds& given,
                                                         const std::vector<GroupEntry>& disk, std::set<int>& untold)
{
    std::map<int, int> formerIds;
    untold.clear();
    if (m_unstated.empty()) return formerIds;
    std::set<int> claimed(otherIds.begin(), otherIds.end());
    for (const GroupEntry& group : disk)
        if (group.Id > 0) claimed.insert(group.Id);
    CGroupManager* pGroups = CGroupManager::GetInstance();
    std::map<int, GroupEntry*> here;
    // Another copy that read the file as this run did gave such a group this Id too, and its
    // save wrote it: the file's group of the Id is this one where it is that group.
    const std::vector<UnderItsId> same = SameGroupsUnderIds(m_base, disk, m_unstated);
    for (size_t i = 0; i < m_base.size(); ++i) {
        GroupEntry& base = m_base[i];
        if (same[i] == UnderItsId::It || !IdTakenInFile(base.Id, claimed, given, m_seen)) {
            if (same[i] == UnderItsId::Untold) untold.insert(base.Id);
            continue;
        }
        if (here.empty())
            for (GroupEntry* pGroup : pGroups->m_Groups) here[pGroup->Id] = pGroup;
        // Given here and never written: the group here of that Id is this one.
        const int nId = GiveFreshId(pGroups);
        std::map<int, GroupEntry*>::iterator it = here.find(base.Id);
        if (it != here.end()) it->second->Id = nId;
        m_unstated.erase(base.Id);
        m_unstated.insert(nId);
        formerIds[nId] = base.Id;
        base.Id = nId;
        if (same[i] == UnderItsId::Untold) untold.insert(nId);
    }
    return formerIds;
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

std::string CGroupsStore::KeptStoredText(const std::string& strRead, bool bAllDropped) const
{
    // A merge that dropped every change: what the read told says why.
    if (bAllDropped) return strRead;
    return Joined(strRead, FileLines(GetGroupsFilePath()) +
                               "now holds the changes to the groups that could not be stored in it when the program "
                               "last ended.");
}

std::string CGroupsStore::StoreKeptChanges(CGroupsFile* pRead, const std::string& strRead, bool bAllDropped)
{
    m_bKeptToTell = false;
    // A write before this one (a save, the session's question) stored them already.
    if (!m_bKeptToStore) return KeptStoredText(strRead, m_bKeptAllDropped && bAllDropped);
    std::string strNotice, strWhy;
    m_bStoringKept = true;
    const Outcome outcome = Write(kHeldWaitMs, 0, strNotice, strWhy, pRead);
    m_bStoringKept = false;
    if (outcome == Stored) return Joined(KeptStoredText(strRead, bAllDropped), strNotice);
    // Not stored: they stay merged here, and go with the next write or are kept at the end.
    m_bKeptToStore = false;
    strWhy = "The changes to the groups that could not be stored when the program last ended are not stored "
             "yet.\r\n\r\n" + FileLines(GetGroupsFilePath()) + strWhy;
    if (outcome == Failed) strWhy += "\r\n\r\nThey are kept, and stored with the next change or at the next start.";
    return Joined(Joined(strRead, strNotice), strWhy);
}

namespace
{

// What the merges of one start's later records share, so that each costs what its own
// changes cost: the groups here by Id and by name, kept as each merge adds, renames and
// removes groups, and the base Ids reserved last (records kept on one file hold the same).
struct LaterMerges
{
    std::unordered_map<int, GroupEntry*> byId;  // the first group of each Id in the list
    std::unordered_multimap<std::string, GroupEntry*> byName;
    bool bIndexed = false;                      // false: the list changed otherwise, built anew
    std::vector<int> reservedBase;
    std::vector<GroupEntry*> added;  // the groups the last merge added to the list

    void Index(const std::vector<GroupEntry*>& list)
    {
        if (bIndexed) return;
        byId.clear();
        byName.clear();
        for (size_t i = 1; i < list.size(); ++i) Add(list[i]);
        bIndexed = true;
    }
    void Add(GroupEntry* pGroup)
    {
        byId.emplace(pGroup->Id, pGroup);
        byName.emplace(pGroup->Name, pGroup);
    }
    void Rename(GroupEntry* pGroup, const std::string& name)
    {
        if (pGroup->Name == name) return;
        const auto range = byName.equal_range(pGroup->Name);
        for (auto it = range.first; it != range.second; ++it)
            if (it->second == pGroup) {
                byName.erase(it);
                break;
            }
        pGroup->Name = name;
        byName.emplace(name, pGroup);
    }
};

// Merges one later record into the groups here the short way, when its changes touch only
// groups here of the Ids they had in that run (and groups it added that no group here new
// to that run is named like): the merge of the whole run, cut down to its changed groups,
// those it added and the groups here of the same Ids, gives what the whole merge would,
// in time that grows with the changes, not with the groups. False, with nothing changed,
// when the record is not such a one: the whole merge is made then.
bool MergeChangedGroups(const KeptGroups& kept, const std::vector<int>& otherIds, const GivenIds& given,
                        std::vector<DroppedChange>& dropped, LaterMerges& later)
{
    CGroupManager* pGroups = CGroupManager::GetInstance();
    std::vector<GroupEntry*>& list = pGroups->m_Groups;
    later.Index(list);
    later.added.clear();
    const std::set<int> held(otherIds.begin(), otherIds.end());
    std::vector<int> baseIds;
    baseIds.reserve(kept.base.size());
    for (const GroupEntry& group : kept.base) {
        // A group the file gave no Id of its own is found by its name and keywords.
        if (group.Id <= 0) return false;
        baseIds.push_back(group.Id);
    }
    std::unordered_set<int> baseIdSet;  // filled when a name asks
    std::vector<GroupEntry> base, disk, here;
    std::vector<GroupEntry*> hereOf;
    for (const KeptGroupChange& change : kept.changes) {
        if (change.nBase < 0) {
            // One of the same name new to that run would be made one group with it.
            const auto named = later.byName.equal_range(change.here.Name);
            for (auto it = named.first; it != named.second; ++it) {
                if (baseIdSet.empty()) baseIdSet.insert(baseIds.begin(), baseIds.end());
                if (!baseIdSet.count(it->second->Id)) return false;
            }
            here.push_back(change.here);
            // An Id a group here holds is none this group keeps (the whole merge gives a fresh one).
            if (later.byId.count(here.back().Id)) here.back().Id = 0;
            continue;
        }
        const GroupEntry& group = kept.base[change.nBase];
        const std::unordered_map<int, GroupEntry*>::const_iterator it = later.byId.find(group.Id);
        // Gone from here, or where the file does not show it: found otherwise.
        if (it == later.byId.end() || held.count(group.Id)) return false;
        base.push_back(group);
        disk.push_back(*it->second);
        hereOf.push_back(it->second);
        if (!change.bHere) continue;
        here.push_back(change.here);
        here.back().Id = group.Id;
    }
    // No Id that run saw or gave is given anew, as when its groups are made whole. The Ids
    // reserved already (the same base as the record before, the same seen) are skipped.
    pGroups->ReserveIds(kept.seen);
    for (int nId : kept.baseOtherIds) pGroups->ReserveId(nId);
    if (baseIds != later.reservedBase) {
        for (int nId : baseIds) pGroups->ReserveId(nId);
        later.reservedBase.swap(baseIds);
    }
    pGroups->ReserveId(kept.nLargestId);
    pGroups->TakeGivenDownwards(kept.nLowestDownwards);
    // The cut-down run in the list's place for the merge.
    std::vector<GroupEntry*> whole(1, list.front());
    whole.swap(list);
    GroupEntry* pCurrent = pGroups->m_pCurrentGroup;
    pGroups->m_pCurrentGroup = NULL;
    for (const GroupEntry& group : here) {
        // One without an Id to keep gets a fresh one, as the run's groups made whole would.
        GroupEntry* pGroup = group.Id > 0 ? new GroupEntry : pGroups->CreateGroup();
        if (group.Id > 0) {
            pGroup->Id = group.Id;
            list.push_back(pGroup);
        }
        pGroup->Name = group.Name;
        pGroup->Keywords = group.Keywords;
    }
    GroupsMerge merge;
    merge.base.swap(base);
    merge.disk.swap(disk);
    merge.heldIds = otherIds;
    merge.given = given;
    merge.seen = kept.seen;
    merge.baseHeldIds = kept.baseOtherIds;
    const std::vector<DroppedChange> mergeDropped = pGroups->MergeChanges(merge).dropped;
    dropped.insert(dropped.end(), mergeDropped.begin(), mergeDropped.end());
    std::vector<GroupEntry*> merged(list.begin() + 1, list.end());
    list.swap(whole);
    pGroups->m_pCurrentGroup = pCurrent;
    // Each group here of those Ids takes what the merge made of it, or goes; the groups the
    // run added come last.
    std::unordered_map<int, GroupEntry*> mergedById;
    for (GroupEntry* pGroup : merged) mergedById.emplace(pGroup->Id, pGroup);
    std::unordered_set<GroupEntry*> gone, taken;
    for (GroupEntry* pHere : hereOf) {
        const std::unordered_map<int, GroupEntry*>::const_iterator it = mergedById.find(pHere->Id);
        if (it == mergedById.end()) {
            gone.insert(pHere);
            continue;
        }
        later.Rename(pHere, it->second->Name);
        pHere->Keywords = it->second->Keywords;
        taken.insert(it->second);
    }
    for (GroupEntry* pGroup : merged) {
        if (taken.count(pGroup)) {
            delete pGroup;
            continue;
        }
        list.push_back(pGroup);
        later.Add(pGroup);
        later.added.push_back(pGroup);
    }
    if (!gone.empty()) {
        list.erase(std::remove_if(list.begin(), list.end(), [&](GroupEntry* p) { return gone.count(p) != 0; }),
                   list.end());
        // Another group of a gone one's Id may stand later in the list: the index is built anew.
        later.bIndexed = false;
        if (gone.count(pGroups->m_pCurrentGroup)) pGroups->m_pCurrentGroup = NULL;
        for (GroupEntry* pGroup : gone) delete pGroup;
    }
    return true;
}

}  // namespace

GroupsMerged CGroupsStore::MergeSinceBase(const std::vector<GroupEntry>& disk, const std::vector<int>& heldIds,
                                          const GivenIds& given)
{
    GroupsMerge merge;
    merge.formerIds = RenumberClaimedUnstated(heldIds, given, disk, merge.untoldIds);
    merge.base = m_base;
    merge.baseHeldIds = m_baseOtherIds;
    merge.seen = m_seen;
    merge.disk = disk;
    merge.heldIds = heldIds;
    merge.given = given;
    return CGroupManager::GetInstance()->MergeChanges(merge);
}

void CGroupsStore::MergeLaterKept(std::string& strNotice, bool& bAllDropped)
{
    if (m_records.Merged() >= m_records.Count()) return;
    CGroupManager* pGroups = CGroupManager::GetInstance();
    const int nCurrent = pGroups->m_pCurrentGroup != NULL ? pGroups->m_pCurrentGroup->Id : 0;
    // The file's reading stays the base of the one write: each record is merged with the
    // groups here as its store would have left the file (Ids the file would hold as written,
    // the other Ids it holds besides, what it would count as given).
    std::vector<GroupEntry> fileBase;
    fileBase.swap(m_base);
    const std::vector<int> otherIds = m_baseOtherIds;
    const std::set<int> fileUnstated = m_unstated;
    GivenIds fileSeen = m_seen;
    std::vector<DroppedChange> dropped;
    // What the file would count as given after each store: gathered once, and grown by the
    // Ids each merge leaves here anew (a short merge's are on the groups it added).
    std::set<int> held(otherIds.begin(), otherIds.end());
    const auto holdNewIds = [&](const std::vector<GroupEntry*>& groups) {
        std::set<int> added;
        for (const GroupEntry* pGroup : groups)
            if (pGroup->BuiltIn != 1 && !IsRunOnlyId(pGroup->Id) && held.insert(pGroup->Id).second)
                added.insert(pGroup->Id);
        return GivenIds::OfFile(added, pGroups->LowestIdGivenDownwards());
    };
    GivenIds given = fileSeen;
    given.Add(holdNewIds(pGroups->m_Groups));
    LaterMerges later;
    for (size_t i = m_records.Merged(); i < m_records.Count(); ++i) {
        const KeptGroups& kept = m_records.Changes(i);
        std::vector<DroppedChange> recordDropped;
        const bool bShort = MergeChangedGroups(kept, otherIds, given, recordDropped, later);
        if (!bShort) {
            later.bIndexed = false;
            const KeptGroups& whole = m_records.Whole(i);
            std::vector<GroupEntry> disk = pGroups->UserGroups();
            for (GroupEntry& group : disk)
                if (IsRunOnlyId(group.Id)) group.Id = 0;
            // That run's groups, as it left them.
            pGroups->m_pCurrentGroup = NULL;
            for (; pGroups->m_Groups.size() > 1; pGroups->m_Groups.pop_back()) delete pGroups->m_Groups.back();
            std::vector<GroupEntry> base;
            std::set<int> unstated;
            TakeKeptChanges(whole, base, unstated);
            StartFrom(base, unstated, whole.baseOtherIds, whole.seen);
            const GroupsMerged recordMerged = MergeSinceBase(disk, otherIds, given);
            recordDropped = recordMerged.dropped;
            // The groups that were here were made again: each the merge kept is still the
            // same group to whoever holds it open (the group editor). The new base is
            // `disk`, copies of them, with the Ids the groups made of them have now.
            std::unordered_map<int, GroupEntry*> remade;
            for (GroupEntry* pGroup : pGroups->m_Groups) remade.emplace(pGroup->Id, pGroup);
            for (const GroupEntry& copy : recordMerged.newBase) {
                const std::unordered_map<int, GroupEntry*>::const_iterator it = remade.find(copy.Id);
                if (it != remade.end()) it->second->TakeSerialOf(copy);
            }
            bAllDropped = bAllDropped && !recordDropped.empty() && SameGroups(pGroups->UserGroups(), disk);
        } else {
            bAllDropped = bAllDropped && !recordDropped.empty() && kept.changes.size() == recordDropped.size();
        }
        dropped.insert(dropped.end(), recordDropped.begin(), recordDropped.end());
        fileSeen.Add(kept.seen);
        given.Add(kept.seen);
        given.Add(holdNewIds(bShort ? later.added : pGroups->m_Groups));
    }
    m_records.SetMerged(m_records.Count());
    m_base.swap(fileBase);
    m_baseOtherIds = otherIds;
    m_unstated = fileUnstated;
    m_seen = fileSeen;
    m_bKeptToStore = m_bKeptToTell = true;
    if (nCurrent != 0) pGroups->m_pCurrentGroup = pGroups->FindGroup(nCurrent);
    if (!dropped.empty())
        strNotice = Joined(strNotice.empty() ? FileLines(GetGroupsFilePath()) + "was changed by another program."
                                             : strNotice,
                           DroppedText(dropped));
    // The tree holds the groups by address: built again once, from the list as it is.
    CUiManager::GetInstance()->RefreshGroups();
}

void CGroupsStore::DropKept()
{
    // Only what this run took at its start or kept itself: another copy's stay.
    m_records.Forget();
    // What was merged of them is in the file now: told by StoreKept.
    m_bKeptToStore = false;
}

KeptGroups CGroupsStore::PendingChanges() const
{
    CGroupManager* pGroups = CGroupManager::GetInstance();
    KeptGroups kept = GroupChangesBetween(m_base, pGroups->UserGroups(), m_unstated, m_baseOtherIds);
    kept.seen = m_seen;
    kept.nLargestId = pGroups->LargestId();
    kept.nLowestDownwards = pGroups->LowestIdGivenDownwards();
    return kept;
}

bool CGroupsStore::KeepPending()
{
    // Nothing read, nothing changed: what earlier ends kept stays as it is.
    if (m_bLoadPutOff) return true;
    // At a session's end too: a start that looks at the records meanwhile would take a
    // base written for a record not there yet for one left over. Kept also when another
    // copy's turn outlasts the wait: what this writes and removes is this copy's alone, and
    // the record then holds its whole base, so that no start's look takes a part of it.
    GroupsTurn turn(kHeldWaitMs, m_bEnded);
    // The records merged here are in these changes (older, also when the registry refuses
    // them); those not merged yet (the file never read) stay as they are, after them.
    return m_records.Keep(PendingChanges(), turn.Held());
}

CGroupsStore::Outcome CGroupsStore::Write(DWORD dwHeldWaitMs, int nLastingId, std::string& strNotice,
                                          std::string& strWhy, CGroupsFile* pRead, bool* pAllDropped)
{
    if (pAllDropped != NULL) *pAllDropped = false;
    // The file not read yet (its load waits for the window), nothing here differs from it:
    // the groups here are none of its, and writing them would put them over it.
    if (m_bLoadPutOff) return Stored;
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
    // The start's reading goes with the first write, used or not: a later one reads the file
    // again. Replacing the file checks that it still holds what was read.
    std::unique_ptr<CGroupsFile> pKeptRead(m_pKeptRead.release());
    if (pRead == NULL) pRead = pKeptRead.get();
    // A group named for this run only gets no Id from a write: the file holds none for it.
    if (SameAsBase() && (!m_unstated.count(nLastingId) || IsRunOnlyId(nLastingId)))
    {
        // Nothing is left to store: what an earlier end kept is in the file, or the user
        // undid it here (the base of a file not read yet is what that end knew of it). Undone,
        // it is no change the file is to be said to hold once it is read. The records go in
        // the turn, as every delete of them does; with the turn another copy's past the
        // wait, they stay with this run, and a later write or the end's keep lets them go.
        GroupsTurn turn(dwHeldWaitMs);
        if (turn.Held())
            DropKept();
        else
            m_bKeptToStore = false;
        if (!m_bStoringKept) m_bKeptToTell = false;
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
            // From the read to the records' removal: no other copy reads, sets aside or
            // judges the file, nor the records, half-way.
            GroupsTurn turn(nWaited < dwHeldWaitMs ? (DWORD)(dwHeldWaitMs - nWaited) : 0);
            if (!turn.Held()) {
                outcome = Held;
                strWhy = TurnWhy();
                break;
            }
            CGroupsFile opened;
            CGroupsFile& file = pRead != NULL ? *pRead : opened;
            const ULONGLONG nTurned = ::GetTickCount64() - nStart;
            if (pRead == NULL &&
                !OpenWhenFree(opened, path, nTurned < dwHeldWaitMs ? (DWORD)(dwHeldWaitMs - nTurned) : 0)) {
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
            // The records this write stores note what it makes of the file before it takes the
            // file's name: a start after a death before they are forgotten applies none again.
            file.BeforeReplace(
                [this](const GroupsFileState& from, const GroupsFileState& to) {
                    m_records.NoteWrite(WriteNote(from, to));
                    StopHereForTest("noted");
                },
                [this] { return m_records.UnnoteWrite(); });
            file.WhenReplacing(StopHereForTest);
            if (file.MayReplace(m_strKeptCopy.c_str()) && file.WriteGroups(pGroups, &m_base) && file.Save()) {
                m_base = file.Written();
                m_baseOtherIds = file.OtherIds();
                m_seen.Add(file.IdsGiven());
                // A group named for this run only is written without an Id.
                m_unstated.clear();
                for (const GroupEntry& group : m_base)
                    if (IsRunOnlyId(group.Id)) m_unstated.insert(group.Id);
                m_fileState = file.State();
                StopHereForTest("stored");
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
