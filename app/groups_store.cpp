#include "app/groups_store.h"
#include "app/purgelet_app.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "framework/framework.h"

namespace
{

// What the file holds as far as this run knows: the groups it was read or last written
// with, as one text (see Fingerprint).
std::string s_strWritten;
// The copy of a damaged file's bytes, which lets the file be written over.
std::string s_strKeptCopy;
// Set when the file could neither be read nor kept: this run writes nothing to it.
bool s_bLeftAlone = false;

// The user groups in order, each name and keyword with its length, so that no two
// different lists give the same text.
std::string Fingerprint()
{
    std::string text;
    for (const GroupEntry* pGroup : CGroupManager::GetInstance()->m_Groups) {
        if (pGroup->BuiltIn == 1) continue;
        text += std::to_string(pGroup->Name.size()) + ":" + pGroup->Name + "/";
        text += std::to_string(pGroup->Keywords.size());
        for (const std::string& keyword : pGroup->Keywords)
            text += "," + std::to_string(keyword.size()) + ":" + keyword;
        text += ";";
    }
    return text;
}

std::string FileLines(const std::string& path) { return "The groups file\r\n\r\n" + path + "\r\n\r\n"; }

}  // namespace

std::string LoadGroupsFile()
{
    const std::string path = GetGroupsFilePath();
    s_strKeptCopy.clear();
    s_bLeftAlone = false;
    GroupsFileStatus status;
    CGroupManager* pGroups = CGroupManager::GetInstance();
    const bool bOpened = pGroups->Load(path.c_str(), &status) != FALSE;
    s_strWritten = Fingerprint();
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
    const std::string strNow = Fingerprint();
    if (strNow == s_strWritten) return true;
    const std::string path = GetGroupsFilePath();
    std::string strWhy;
    if (s_bLeftAlone) {
        strWhy = "could not be read when the program started and is left as it is.";
    } else {
        GroupsFileStatus status;
        if (CGroupManager::GetInstance()->Save(path.c_str(), &status, s_strKeptCopy.c_str())) {
            s_strWritten = strNow;
            return true;
        }
        const std::string strError = status.writeError.empty() ? std::string("unknown reason") : status.writeError;
        strWhy = "cannot be written: " + strError + ".";
    }
    if (bReport) {
        const std::string strText = "The groups could not be saved.\r\n\r\n" + FileLines(path) + strWhy;
        AfxMessageBox(strText.c_str(), MB_OK | MB_ICONWARNING);
    }
    return false;
}
