#include "app/groups_store.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "framework/framework.h"

namespace
{

// The user groups as the file held them when this run last read or wrote it, with the
// Ids of the groups they are here: what the user changed since is the difference.
std::vector<GroupEntry> s_base;
// The file's bytes as this run last read or wrote them (its size and a hash): a
// difference means somebody else wrote it since.
GroupsFileState s_fileState;
// The copy of a damaged file's bytes, which lets the file be written over.
std::string s_strKeptCopy;
// Set when the file could neither be read nor kept: this run writes nothing to it.
bool s_bLeftAlone = false;

bool SameAsBase()
{
    const std::vector<GroupEntry> now = CGroupManager::GetInstance()->UserGroups();
    if (now.size() != s_base.size()) return false;
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i].Id != s_base[i].Id || now[i].Name != s_base[i].Name || now[i].Keywords != s_base[i].Keywords)
            return false;
    return true;
}

std::string FileLines(const std::string& path) { return "The groups file\r\n\r\n" + path + "\r\n\r\n"; }

void Report(const std::string& strText) { AfxMessageBox(strText.c_str(), MB_OK | MB_ICONWARNING); }

// Somebody else wrote the file since this run read or wrote it. What it holds now is
// read again and the user's changes since are applied to it (CGroupManager::MergeChanges),
// so that the write keeps the other hand's edit. A file that cannot be read as groups
// now is copied beside itself first, as at the start. Gives back false when nothing may
// be written (the reason in strWhy), and in strNotice what the user is to be told even
// when the write goes ahead.
bool TakeChangedFile(const std::string& path, const GroupsFileState& now, std::string& strWhy,
                     std::string& strNotice)
{
    CGroupsFile file;
    const bool bOpened = file.Open(path.c_str()) != FALSE;
    const GroupsFileStatus status = file.Status();
    if (!bOpened) {
        strWhy = "was changed by another program and could not be read again.";
        return false;
    }
    if (status.kind == GroupsFileStatus::Unreadable) {
        strWhy = "was changed by another program and cannot be opened now: " + status.reason +
                 ".\r\n\r\nIt is left as it is.";
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
        s_strKeptCopy = strCopy;
        s_fileState = now;
        strNotice = FileLines(path) + strRead + "Its contents were kept in\r\n\r\n" + strCopy +
                    "\r\n\r\nThe groups of this program were written in its place.";
        return true;
    }
    if (status.kind == GroupsFileStatus::Missing) {
        // Gone (or emptied to nothing): it holds nothing of the user's, and the groups here
        // are written as they are rather than thinned to the changes made since.
        s_fileState = now;
        return true;
    }
    std::vector<GroupEntry> disk;
    file.ReadGroups(&disk);
    std::vector<GroupEntry> newBase;
    if (CGroupManager::GetInstance()->MergeChanges(s_base, disk, &newBase)) {
        // The tree holds the groups by address: it is built again from the list as it is.
        CUiManager::GetInstance()->RefreshGroups();
    }
    s_base.swap(newBase);
    s_fileState = now;
    return true;
}

}  // namespace

std::string LoadGroupsFile()
{
    const std::string path = GetGroupsFilePath();
    s_strKeptCopy.clear();
    s_bLeftAlone = false;
    // What a save cut short by the end of the program left beside the file.
    RemoveGroupsFileLeftovers(path);
    GroupsFileStatus status;
    CGroupManager* pGroups = CGroupManager::GetInstance();
    const bool bOpened = pGroups->Load(path.c_str(), &status) != FALSE;
    s_base = pGroups->UserGroups();
    s_fileState = ReadGroupsFileState(path);
    if (!bOpened && !status.Damaged()) {
        // No document object at all: the file was not looked at, so it is not written
        // over either.
        s_bLeftAlone = true;
        return std::string();
    }
    if (!status.Damaged()) return std::string();

    const std::string strLater = "changes to the groups are not saved until the program is started again.";
    if (status.kind == GroupsFileStatus::Unreadable) {
        s_bLeftAlone = true;
        return FileLines(path) + "cannot be opened: " + status.reason + ".\r\n\r\nIt is left as it is: " + strLater;
    }
    std::string strCopy, strError;
    const std::string strWhy = FileLines(path) + "cannot be read as groups: " + status.reason + ".\r\n\r\n";
    if (!KeepGroupsFileCopy(path, &strCopy, &strError)) {
        s_bLeftAlone = true;
        return strWhy + "It could not be copied to\r\n\r\n" + strCopy + "\r\n\r\n(" + strError +
               "), so it is left as it is: " + strLater;
    }
    s_strKeptCopy = strCopy;
    return strWhy + "Its contents were kept in\r\n\r\n" + strCopy +
           "\r\n\r\nThe program starts without the groups it holds; the groups file is written anew when the groups "
           "change.";
}

bool SaveGroupsFile(bool bReport)
{
    if (SameAsBase()) return true;
    const std::string path = GetGroupsFilePath();
    std::string strWhy, strNotice;
    if (s_bLeftAlone) {
        strWhy = "could not be read when the program started and is left as it is.";
    } else {
        const GroupsFileState now = ReadGroupsFileState(path);
        bool bWrite = true;
        if (now != s_fileState) bWrite = TakeChangedFile(path, now, strWhy, strNotice);
        if (bWrite) {
            GroupsFileStatus status;
            if (CGroupManager::GetInstance()->Save(path.c_str(), &status, s_strKeptCopy.c_str())) {
                s_base = CGroupManager::GetInstance()->UserGroups();
                s_fileState = ReadGroupsFileState(path);
                if (bReport && !strNotice.empty()) Report(strNotice);
                return true;
            }
            const std::string strError = status.writeError.empty() ? std::string("unknown reason") : status.writeError;
            strWhy = "cannot be written: " + strError + ".";
        }
    }
    if (bReport) {
        if (!strNotice.empty()) Report(strNotice);
        Report("The groups could not be saved.\r\n\r\n" + FileLines(path) + strWhy);
    }
    return false;
}
