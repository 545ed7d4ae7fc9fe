#include "app/groups_store.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "framework/framework.h"
#include <algorithm>

namespace
{

std::string FileLines(const std::string& path) { return "The groups file\r\n\r\n" + path + "\r\n\r\n"; }

void Report(const std::string& strText) { AfxMessageBox(strText.c_str(), MB_OK | MB_ICONWARNING); }

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

}  // namespace

CGroupsStore& CGroupsStore::Instance()
{
    static CGroupsStore s_store;
    return s_store;
}

CGroupsStore::CGroupsStore() : m_bLeftAlone(false) {}

bool CGroupsStore::SameAsBase() const
{
    return SameGroups(CGroupManager::GetInstance()->UserGroups(), m_base);
}

// Somebody else wrote the file since this run read or wrote it. The user's changes made
// here since are applied to what it holds now (CGroupManager::MergeChanges), so that the
// write keeps the other hand's edit; the file's groups then stand for the merged base. A
// file that cannot be read as groups now is copied beside itself first, as at the start.
// Gives back false when nothing may be written (the reason in strWhy), and in strNotice
// what the user is to be told even when the write goes ahead.
bool CGroupsStore::TakeChangedFile(CGroupsFile& file, const GroupsFileState& now, std::string& strWhy,
                                   std::string& strNotice)
{
    const std::string path = GetGroupsFilePath();
    const GroupsFileStatus& status = file.Status();
    if (status.kind == GroupsFileStatus::Unreadable) {
        // Held open by another program (a sync client, a scanner) more often than changed:
        // nothing of it could be read to tell.
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
        strNotice = FileLines(path) + strRead + "Its contents were kept in\r\n\r\n" + strCopy +
                    "\r\n\r\nThe groups of this program were written in its place.";
        return true;
    }
    if (status.kind == GroupsFileStatus::Missing) {
        // Gone or emptied to nothing, it holds nothing of the user's: the groups here are
        // written as they are rather than thinned to the changes made since.
        m_fileState = now;
        return true;
    }
    // Groups the other hand gave names or keywords the code page cannot show drop out of
    // the list (the file keeps them): the user is told which, once.
    std::vector<std::string> unshown;
    for (const std::string& name : file.UnshownGroups())
        if (m_reportedUnshown.insert(name).second) unshown.push_back(name);
    strNotice = UnshownText(path, unshown);
    CGroupManager* pGroups = CGroupManager::GetInstance();
    std::vector<GroupEntry> disk, newBase;
    std::vector<std::string> dropped;
    file.ReadGroups(&disk);
    file.ReserveIds(pGroups);
    if (pGroups->MergeChanges(m_base, disk, &newBase, &file.OtherIds(), &dropped)) {
        // The tree holds the groups by address: it is built again from the list as it is.
        CUiManager::GetInstance()->RefreshGroups();
    }
    if (!dropped.empty())
        strNotice += (strNotice.empty() ? FileLines(path) + "was changed by another program." : std::string()) +
                     "\r\n\r\n" + DroppedText(dropped);
    NoteUnstatedIds(disk, newBase);
    m_base.swap(newBase);
    m_fileState = now;
    return true;
}

std::string CGroupsStore::Load()
{
    const std::string path = GetGroupsFilePath();
    m_strKeptCopy.clear();
    m_reportedUnshown.clear();
    m_bLeftAlone = false;
    // What a save cut short by the end of the program left beside the file.
    RemoveGroupsFileLeftovers(path);
    CGroupManager* pGroups = CGroupManager::GetInstance();
    CGroupsFile file;
    const bool bOpened = file.Open(path.c_str()) != FALSE;
    const GroupsFileStatus status = file.Status();
    if (bOpened) file.ReadGroups(pGroups);
    // The groups as read, in the file's order, with the Ids they were given here.
    m_base = pGroups->UserGroups();
    std::vector<GroupEntry> read;
    file.ReadGroups(&read);
    // ReadGroups appended them to the list: the base ends with them.
    const size_t nRead = std::min(read.size(), m_base.size());
    NoteUnstatedIds(read, std::vector<GroupEntry>(m_base.end() - nRead, m_base.end()));
    m_fileState = ReadGroupsFileState(path);
    if (!bOpened && !status.Damaged()) {
        // No document object at all: the file was not looked at, so it is not written
        // over either.
        m_bLeftAlone = true;
        return std::string();
    }
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
    return strWhy + "Its contents were kept in\r\n\r\n" + strCopy +
           "\r\n\r\nThe program starts without the groups it holds; the groups file is written anew when the groups "
           "change.";
}

void CGroupsStore::NoteUnstatedIds(const std::vector<GroupEntry>& read, const std::vector<GroupEntry>& here)
{
    m_unstated.clear();
    for (size_t i = 0; i < read.size() && i < here.size(); ++i)
        if (read[i].Id != here[i].Id) m_unstated.insert(here[i].Id);
}

bool CGroupsStore::Save(bool bReport, int nLastingId)
{
    if (SameAsBase() && !m_unstated.count(nLastingId)) return true;
    const std::string path = GetGroupsFilePath();
    std::string strWhy, strNotice;
    if (m_bLeftAlone) {
        strWhy = "could not be read when the program started and is left as it is.";
    } else {
        const GroupsFileState now = ReadGroupsFileState(path);
        CGroupsFile file;
        bool bWrite = file.Open(path.c_str()) != FALSE;
        if (!bWrite) strWhy = "could not be read again.";
        // While the file is as this run left it, its groups are the base's, place by place.
        if (bWrite && now != m_fileState) bWrite = TakeChangedFile(file, now, strWhy, strNotice);
        if (bWrite) {
            CGroupManager* pGroups = CGroupManager::GetInstance();
            if (file.MayReplace(m_strKeptCopy.c_str()) && file.WriteGroups(pGroups, &m_base) && file.Save()) {
                m_base = file.Written();
                m_unstated.clear();
                m_fileState = ReadGroupsFileState(path);
                if (bReport && !strNotice.empty()) Report(strNotice);
                return true;
            }
            const std::string& strError = file.Status().writeError;
            strWhy = "cannot be written: " + (strError.empty() ? std::string("unknown reason") : strError) + ".";
        }
    }
    if (bReport) {
        if (!strNotice.empty()) Report(strNotice);
        Report("The groups could not be saved.\r\n\r\n" + FileLines(path) + strWhy);
    }
    return false;
}

std::string LoadGroupsFile() { return CGroupsStore::Instance().Load(); }

bool SaveGroupsFile(bool bReport, int nLastingId) { return CGroupsStore::Instance().Save(bReport, nLastingId); }
