// What the program keeps in its registry key for the next start when it cannot store it
// now: the changes to the groups that the groups file does not hold yet when the program
// ends (it was held by another program, or could not be written), in the section
// "Groups Not Stored", and the sections' reading, which never makes a key.
//
// The changes are kept as a merge needs them: each group changed, added or deleted here,
// with its Id in the file and the group as the file held it when this run last read or
// wrote it, and as it is here. The next start applies them to what the file holds then,
// as a change made in that run (CGroupsStore), so that what another program changed in
// the file meanwhile stays.
#pragma once
#include <windows.h>
#include <set>
#include <string>
#include <vector>
#include "catalogue/groups.h"

// The program's registry section of that name, opened for reading, or NULL when there is
// none.
HKEY OpenProgramSection(const char* pszSection);
// A text value (REG_SZ) of such a section; false when there is none, or one of another type.
bool ReadSectionText(HKEY hKey, const char* pszValue, std::string& text);
// A number (REG_DWORD) of such a section; false when there is none, or one of another type.
bool ReadSectionNumber(HKEY hKey, const char* pszValue, DWORD& nNumber);
// Removes the section with its values, when there is one.
void ForgetProgramSection(const char* pszSection);

// One group changed, added or deleted here that the groups file does not hold so yet.
struct KeptGroupChange
{
    int nId = 0;         // the group's Id in the file; 0 when the file gives it none (a group added here)
    bool bBase = false;  // the file held the group: `base` is the group as this run last read or wrote it
    bool bHere = false;  // the group is here: `here` is it as changed; not here: deleted here
    GroupEntry base, here;
};

// The changes that make `here` of `base` (both with the Ids the groups have here, `base`
// in the file's order); `unstated` holds the Ids of base groups the file does not hold
// under those Ids. Groups added here come last, in their order here.
std::vector<KeptGroupChange> GroupChangesBetween(const std::vector<GroupEntry>& base,
                                                 const std::vector<GroupEntry>& here, const std::set<int>& unstated);
// Keeps the changes for the next start in place of those kept before; none drops what
// was kept. False when the registry refused them.
bool KeepGroupChanges(const std::vector<KeptGroupChange>& changes);
// The changes kept; false when none are kept or what is kept cannot be read as changes.
bool ReadKeptGroupChanges(std::vector<KeptGroupChange>* changes);

// What the user is to be told of the groups file and could not be when the session ended
// (a change a merge then dropped), kept for the next start (section "Groups Not Told").
void KeepUntoldText(const std::string& text);
// That text, given back once: "" when there is none.
std::string TakeUntoldText();
