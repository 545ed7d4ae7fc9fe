#include "app/groups_kept.h"
#include "catalogue/groups_file.h"
#include "framework/framework.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <tuple>

namespace
{

// The section and its one value: everything in one binary value, so that the changes are
// kept whole or not at all. Every number is four bytes, low byte first; a text is its
// length and its bytes; a group is its name, its keyword count and its keywords.
//   kWithBaseIdsOnce; the count of the base's other Ids and each; the count of base groups
//   and each (its Id in the file, 0 for none, with kHeldBesides when the file held that Id
//   for another group too, and the group); then each change to the end: the place of its
//   base group plus one (0: added here), 1 when the group is here (followed by it as
//   changed) or 0 when it was deleted here. Each Id is named once: a value that names one
//   twice is damaged.
// Since kWithSeen the value opens with what that run saw the file count as given beyond the
// base and its other Ids (their count and each, then the Id up to which and the Id from
// which every Id counts, 0 for none), the largest Id it gave or saw and the lowest it gave
// downwards (0 for none); then the rest as kWithBaseIdsOnce, where a base group of Id 0 is followed by the Id
// it had in that run and a group added here by its Id there (0 for none to keep).
// An earlier build kept the same after kWithBase, with an Id the file held twice named both
// among the other Ids and on its base group. Builds before kept no base but the changed
// groups: each change is its Id, which sides it has (1: as the file held it, 2: as here)
// and those sides in that order.
// Since kRecords each end keeps its value under a name of its own, "Groups " and the time it
// was first kept (16 hex digits of the system's FILETIME) and the process's id (8 hex
// digits), so that the names sort in the order kept; the value "Groups" then holds kRecords
// alone, which an earlier build takes for damaged and says so rather than drop the records
// unseen. A value "Groups" of an earlier layout is a record too, the first kept. A record a
// copy took to store has its name go on with when that process started (16 hex digits of its
// FILETIME): while that process runs it is its alone.
// Since kBaseApart a record holds what a merge of its changes needs, and the names and
// keywords of the other base groups (what only a whole read needs, most of the bytes) go in
// a value of their own in the section's key "Bases", written before the record: the
// section's listing and the reading of a record then cost what its changes cost, not what
// the file holds. The record: kBaseApart; the name of its base kept apart ("" for none: every
// base group is in the record), named as a taken record is for the process that wrote it and
// when, the time being when it was written; then what that run saw, and the other Ids, as
// kWithSeen; the count of base groups and each one's Id (with kHeldBesides as before, and for
// Id 0 the Id it had in that run); the count of changes and each as kWithSeen; last, in the
// base's order, the base groups of Id 0 and those a change names. The base kept apart:
// kBaseApart, the count of the other base groups and each, in the base's order. A claim
// copies the record alone: the base stays under its name until the record goes.
const char kKeptSection[] = "Groups Not Stored";
const char kKeptValue[] = "Groups";
const char kRecordPrefix[] = "Groups ";
const size_t kRecordNameLength = sizeof(kRecordPrefix) - 1 + 16 + 1 + 8;
// A record a copy took to store: the name goes on with when that process started.
const size_t kTakenNameLength = kRecordNameLength + 1 + 16;
// Above every Id, so that no value of the earliest layout starts with either.
const DWORD kWithBase = 0x80000002;
const DWORD kWithBaseIdsOnce = 0x80000003;
const DWORD kWithSeen = 0x80000004;
const DWORD kRecords = 0x80000005;
const DWORD kBaseApart = 0x80000006;
const char kBasesSection[] = "Groups Not Stored\\Bases";
// Above every Id too: set on a base group's Id, it says the file held that Id elsewhere too
// (a group it does not show, another groups element).
const DWORD kHeldBesides = 0x40000000;
const DWORD kSideBase = 1, kSideHere = 2;
const char kUntoldSection[] = "Groups Not Told";
const char kUntoldValue[] = "Text";
// More than the groups of any file a user keeps: a larger value is no kept change of this
// program, and changes that would take more are not kept.
const DWORD kMaxKeptBytes = 16 * 1024 * 1024;

void PutNumber(std::string& bytes, DWORD nNumber)
{
    for (int i = 0; i < 4; ++i) bytes += (char)((nNumber >> (8 * i)) & 0xFF);
}

void PutText(std::string& bytes, const std::string& text)
{
    PutNumber(bytes, (DWORD)text.size());
    bytes += text;
}

void PutGroup(std::string& bytes, const GroupEntry& group)
{
    PutText(bytes, group.Name);
    PutNumber(bytes, (DWORD)group.Keywords.size());
    for (const std::string& keyword : group.Keywords) PutText(bytes, keyword);
}

// Reads the kept bytes in order; every read fails past their end.
class KeptReader
{
public:
    KeptReader(const std::vector<BYTE>& bytes) : m_bytes(bytes), m_nAt(0), m_bUnstorable(false) {}
    bool AtEnd() const { return m_nAt == m_bytes.size(); }
    // A count of things of at least nBytes each that the bytes left can hold.
    bool Count(DWORD& nCount, size_t nBytes) { return Number(nCount) && nCount <= (m_bytes.size() - m_nAt) / nBytes; }
    bool Number(DWORD& nNumber)
    {
        if (m_bytes.size() - m_nAt < 4) return false;
        nNumber = 0;
        for (int i = 0; i < 4; ++i) nNumber |= (DWORD)m_bytes[m_nAt + i] << (8 * i);
        m_nAt += 4;
        return true;
    }
    bool Text(std::string& text)
    {
        DWORD nLength = 0;
        if (!Number(nLength) || nLength > m_bytes.size() - m_nAt) return false;
        text.assign((const char*)m_bytes.data() + m_nAt, nLength);
        m_nAt += nLength;
        return true;
    }
    bool Group(GroupEntry& group)
    {
        DWORD nCount = 0;
        // Each keyword takes four bytes at least: a count beyond that is no group.
        if (!Text(group.Name) || !Number(nCount) || nCount > (m_bytes.size() - m_nAt) / 4) return false;
        group.Keywords.resize(nCount);
        for (std::string& keyword : group.Keywords)
            if (!Text(keyword)) return false;
        return true;
    }
    // A group as changed here holds only what the groups file can: one it cannot would make
    // every save fail, and be kept again at every end.
    bool StorableGroup(GroupEntry& group)
    {
        if (!Group(group)) return false;
        m_bUnstorable = !GroupsFileTextFault(group.Name).empty();
        for (const std::string& keyword : group.Keywords)
            m_bUnstorable = m_bUnstorable || !GroupsFileTextFault(keyword).empty();
        return !m_bUnstorable;
    }
    // Passes a group as StorableGroup reads it, without making it: its texts are looked at
    // where they lie, and made only where they are not plain ASCII.
    bool SkipStorableGroup()
    {
        DWORD nCount = 0;
        bool bUnstorable = false;
        if (!SkipText(bUnstorable) || !Number(nCount) || nCount > (m_bytes.size() - m_nAt) / 4) return false;
        for (DWORD i = 0; i < nCount; ++i)
            if (!SkipText(bUnstorable)) return false;
        m_bUnstorable = bUnstorable;
        return !m_bUnstorable;
    }
    size_t At() const { return m_nAt; }
    void MoveTo(size_t nAt) { m_nAt = nAt; }
    // The last group read holds what the file cannot.
    bool Unstorable() const { return m_bUnstorable; }

private:
    bool SkipText(bool& bUnstorable)
    {
        DWORD nLength = 0;
        if (!Number(nLength) || nLength > m_bytes.size() - m_nAt) return false;
        const BYTE* pText = m_bytes.data() + m_nAt;
        m_nAt += nLength;
        for (DWORD i = 0; i < nLength; ++i) {
            const BYTE c = pText[i];
            if (c >= 0x80 || (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D)) {
                bUnstorable = bUnstorable || !GroupsFileTextFault(std::string((const char*)pText, nLength)).empty();
                break;
            }
        }
        return true;
    }

    const std::vector<BYTE>& m_bytes;
    size_t m_nAt;
    bool m_bUnstorable;
};

bool ReadSectionBytes(HKEY hKey, const char* pszValue, std::vector<BYTE>& bytes)
{
    DWORD dwType = 0, cbData = 0;
    if (::RegQueryValueExA(hKey, pszValue, NULL, &dwType, NULL, &cbData) != ERROR_SUCCESS || dwType != REG_BINARY ||
        cbData > kMaxKeptBytes)
        return false;
    bytes.assign(cbData, 0);
    DWORD cbRead = cbData;
    if (::RegQueryValueExA(hKey, pszValue, NULL, &dwType, bytes.data(), &cbRead) != ERROR_SUCCESS ||
        dwType != REG_BINARY || cbRead > cbData)
        return false;
    bytes.resize(cbRead);
    return true;
}

HKEY OpenSection(const char* pszSection, REGSAM access)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pApp->m_pszRegistryKey == NULL || pApp->m_pszProfileName == NULL) return NULL;
    const std::string key = std::string("Software\\") + pApp->m_pszRegistryKey + "\\" + pApp->m_pszProfileName +
                            "\\" + pszSection;
    HKEY hKey = NULL;
    return ::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, access, &hKey) == ERROR_SUCCESS ? hKey : NULL;
}

// Whether the value "Groups" is the mark of records kept by name (kRecords alone).
bool IsRecordsMark(HKEY hKey)
{
    std::vector<BYTE> bytes;
    return ReadSectionBytes(hKey, kKeptValue, bytes) && bytes.size() == 4 &&
           (bytes[0] | bytes[1] << 8 | bytes[2] << 16 | (DWORD)bytes[3] << 24) == kRecords;
}

// Sets the value "Groups" to the mark that records are kept by name where the section has
// none, so that an earlier build sees that something is kept. False when it cannot be set.
bool MarkRecordsKept(HKEY hKey)
{
    if (::RegQueryValueExA(hKey, kKeptValue, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) return true;
    std::string mark;
    PutNumber(mark, kRecords);
    return ::RegSetValueExA(hKey, kKeptValue, 0, REG_BINARY, (const BYTE*)mark.data(), (DWORD)mark.size()) ==
           ERROR_SUCCESS;
}

// Names as the registry compares them: in either case.
std::string UpperName(std::string name)
{
    for (char& c : name) c = (char)toupper((unsigned char)c);
    return name;
}

bool IsRecordName(const std::string& name)
{
    if ((name.size() != kRecordNameLength && name.size() != kTakenNameLength) ||
        name.compare(0, sizeof(kRecordPrefix) - 1, kRecordPrefix) != 0)
        return false;
    for (size_t i = sizeof(kRecordPrefix) - 1; i < name.size(); ++i) {
        const bool bGap = i == kRecordNameLength - 9 || i == kRecordNameLength;
        if (!(isxdigit((unsigned char)name[i]) || (name[i] == ' ' && bGap))) return false;
    }
    return name.size() == kRecordNameLength || name[kRecordNameLength] == ' ';
}

// When a process was started (its FILETIME as one number): with its id it names that very
// process, also once the id is given to another. 0 when it cannot be had.
unsigned long long StartedAt(HANDLE hProcess)
{
    FILETIME created = {}, exited = {}, kernel = {}, user = {};
    if (!::GetProcessTimes(hProcess, &created, &exited, &kernel, &user)) return 0;
    return (unsigned long long)created.dwHighDateTime << 32 | created.dwLowDateTime;
}

// The names of a key's values that may be ours (plain ASCII, short), without their data:
// Wine's RegEnumValueA/W fetch each value's data whenever a name is asked for, which for
// the bases kept apart is the whole base of every record kept (tens of megabytes at 100
// records). The system's own listing of names alone, where it has one.
std::vector<std::string> ValueNames(HKEY hKey)
{
    struct BasicInformation
    {
        ULONG nTitleIndex, nType, cbName;
        WCHAR name[96];
    };
    typedef LONG(WINAPI * EnumerateValue)(HANDLE, ULONG, int, PVOID, ULONG, PULONG);
    static const EnumerateValue pEnumerate =
        (EnumerateValue)(void*)::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtEnumerateValueKey");
    const LONG kBufferOverflow = (LONG)0x80000005, kBasicInformation = 0;
    std::vector<std::string> names;
    for (ULONG i = 0;; ++i) {
        std::string name;
        if (pEnumerate != NULL) {
            BasicInformation info = {};
            ULONG cbInfo = 0;
            const LONG nStatus = pEnumerate(hKey, i, kBasicInformation, &info, sizeof(info), &cbInfo);
            // A longer name is none of ours (nor one that is not plain ASCII).
            if (nStatus == kBufferOverflow) continue;
            if (nStatus < 0) break;
            if (info.cbName > sizeof(info.name)) continue;
            for (ULONG c = 0; c < info.cbName / sizeof(WCHAR); ++c) name += (char)(info.name[c] < 0x80 ? info.name[c] : 0);
            if (name.find('\0') != std::string::npos) continue;
        } else {
            char text[96];
            DWORD cchName = sizeof(text);
            const LONG nResult = ::RegEnumValueA(hKey, i, text, &cchName, NULL, NULL, NULL, NULL);
            if (nResult == ERROR_MORE_DATA) continue;
            if (nResult != ERROR_SUCCESS) break;
            name = text;
        }
        names.push_back(name);
    }
    return names;
}

// Every record's name, those another running copy took too, in the order kept (the value of
// an earlier build first).
std::vector<std::string> AllRecordNames()
{
    std::vector<std::string> names;
    HKEY hKey = OpenProgramSection(kKeptSection);
    if (hKey == NULL) return names;
    // The registry lists values by index: a value another copy deletes meanwhile (an end
    // that keeps outside the turn, its turn outlasted) moves the later ones down, and the
    // listing would pass one by. Listed again until two listings agree, and every name any
    // of them gave counts: one that is gone by now is found gone where it is read.
    std::vector<std::string> listed, before;
    std::set<std::string> seen;
    bool bListedToTheEnd = true;
    for (int nTry = 0; nTry < 8 && bListedToTheEnd && (nTry < 2 || listed != before); ++nTry) {
        before.swap(listed);
        listed.clear();
        for (DWORD i = 0;; ++i) {
            char name[96];
            DWORD cchName = sizeof(name);
            const LONG nResult = ::RegEnumValueA(hKey, i, name, &cchName, NULL, NULL, NULL, NULL);
            // A longer name is none of ours. Any other failure ends the listing, and the
            // listing is not asked again: a key that fails at every index (it was deleted)
            // would fail the same way each time.
            if (nResult == ERROR_MORE_DATA) continue;
            bListedToTheEnd = nResult == ERROR_NO_MORE_ITEMS;
            if (nResult != ERROR_SUCCESS) break;
            if (IsRecordName(name) || (lstrcmpiA(name, kKeptValue) == 0 && !IsRecordsMark(hKey)))
                listed.push_back(name);
        }
        for (const std::string& name : listed)
            if (seen.insert(name).second) names.push_back(name);
    }
    ::RegCloseKey(hKey);
    SortKeptRecordNames(names);
    return names;
}

// The mark goes once no record is left, so that an earlier build does not take an empty
// section for damaged changes; a record written meanwhile has it set again, by this copy
// when it finds the record now, or by the writer when it looks after its write
// (KeepGroupChanges). While records are kept it is there: an earlier build is to see that
// something is kept.
void SettleRecordsMark(HKEY hKey)
{
    if (AllRecordNames().empty()) {
        if (IsRecordsMark(hKey)) ::RegDeleteValueA(hKey, kKeptValue);
        if (AllRecordNames().empty()) return;
    }
    MarkRecordsKept(hKey);
}

// A name for a record kept now: it sorts after every record kept before.
std::string NewRecordName()
{
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    char name[64];
    sprintf(name, "%s%08lX%08lX %08lX", kRecordPrefix, (unsigned long)now.dwHighDateTime,
            (unsigned long)now.dwLowDateTime, (unsigned long)::GetCurrentProcessId());
    return name;
}

// The first name of this process's own, later than nTime, that hKey holds no value of.
std::string OwnNameAfter(HKEY hKey, unsigned long long nTime)
{
    const unsigned long long nStarted = StartedAt(::GetCurrentProcess());
    for (;;) {
        char text[96];
        sprintf(text, "%s%016llX %08lX %016llX", kRecordPrefix, ++nTime, (unsigned long)::GetCurrentProcessId(),
                nStarted);
        if (hKey == NULL || ::RegQueryValueExA(hKey, text, NULL, NULL, NULL, NULL) == ERROR_FILE_NOT_FOUND)
            return text;
    }
}

// A name of this copy's own for a record taken from `name`: just after it, so that it keeps
// its place among the records; a name no record has (the process's id may be the one that
// kept it). It names this very process, so that other copies leave it alone while this one
// runs.
std::string ClaimedName(HKEY hKey, const std::string& name)
{
    unsigned long long nTime = 0;
    if (IsRecordName(name)) nTime = std::stoull(name.substr(sizeof(kRecordPrefix) - 1, 16), NULL, 16);
    return OwnNameAfter(hKey, nTime);
}

// The name of the base a record's bytes keep apart, "" for none (or a record of an earlier
// layout).
std::string ApartNameIn(const std::vector<BYTE>& bytes)
{
    KeptReader reader(bytes);
    DWORD nLayout = 0;
    std::string name;
    return reader.Number(nLayout) && nLayout == kBaseApart && reader.Text(name) ? name : std::string();
}

std::string ApartNameOf(HKEY hKey, const std::string& record)
{
    std::vector<BYTE> bytes;
    return ReadSectionBytes(hKey, record.c_str(), bytes) ? ApartNameIn(bytes) : std::string();
}

void DeleteApart(const std::string& name)
{
    HKEY hBases = OpenSection(kBasesSection, KEY_SET_VALUE);
    if (hBases == NULL) return;
    ::RegDeleteValueA(hBases, name.c_str());
    ::RegCloseKey(hBases);
}

// Deletes a record, then the base it keeps apart, or gives that base's name to pBases to
// delete later (a copy that dies between leaves a base no record names: a later start
// removes it, ForgetLostKeptBases). False when the record's delete did not go through (the
// registry deletes a value for one caller only).
bool DeleteRecord(HKEY hKey, const std::string& name, std::vector<std::string>* pBases = NULL)
{
    const std::string apart = ApartNameOf(hKey, name);
    if (::RegDeleteValueA(hKey, name.c_str()) != ERROR_SUCCESS) return false;
    if (!apart.empty() && pBases != NULL) pBases->push_back(apart);
    if (!apart.empty() && pBases == NULL) DeleteApart(apart);
    return true;
}

}  // namespace

HKEY OpenProgramSection(const char* pszSection) { return OpenSection(pszSection, KEY_READ); }

bool IsAnotherRunningCopysRecord(const std::string& name, OpenProcessFunction pOpenProcess)
{
    if (name.size() != kTakenNameLength || !IsRecordName(name)) return false;
    const DWORD dwProcess = strtoul(name.substr(kRecordNameLength - 8, 8).c_str(), NULL, 16);
    const unsigned long long nStarted = std::stoull(name.substr(kRecordNameLength + 1), NULL, 16);
    if (dwProcess == ::GetCurrentProcessId() && nStarted == StartedAt(::GetCurrentProcess())) return false;
    // A system that knows no limited query refuses it: the full one then.
    HANDLE hProcess = pOpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwProcess);
    if (hProcess == NULL && ::GetLastError() == ERROR_ACCESS_DENIED)
        hProcess = pOpenProcess(PROCESS_QUERY_INFORMATION, FALSE, dwProcess);
    // No such process: it ended. One this user may not look at is no copy of this program
    // run by this user (the user may always look at its own processes, elevated ones too):
    // the copy that took the record ended and its id went to another user's process. Taken
    // for running, its record would wait at every start without a word.
    if (hProcess == NULL) return false;
    // Another process with that id since, or that process ended (someone still holds it).
    DWORD dwExit = 0;
    const bool bRuns = StartedAt(hProcess) == nStarted && ::GetExitCodeProcess(hProcess, &dwExit) &&
                       dwExit == STILL_ACTIVE;
    ::CloseHandle(hProcess);
    return bRuns;
}

void SortKeptRecordNames(std::vector<std::string>& names)
{
    // Where a name stands: the earlier layout's value before every named record, then the
    // time it was kept as one number (the registry lists values in no order it promises, and
    // the name's text sorts as its number only while every name is written alike), then the
    // process; a record taken to store follows the one it was taken from (its time is one
    // more) and, at one time, a record not taken.
    struct Place
    {
        bool bNamed;
        unsigned long long nTime;
        unsigned long nProcess;
        bool bTaken;
        unsigned long long nStarted;
        bool operator<(const Place& other) const
        {
            return std::tie(bNamed, nTime, nProcess, bTaken, nStarted) <
                   std::tie(other.bNamed, other.nTime, other.nProcess, other.bTaken, other.nStarted);
        }
    };
    const auto placeOf = [](const std::string& name) {
        Place place = {IsRecordName(name), 0, 0, false, 0};
        if (!place.bNamed) return place;
        const size_t nTimeAt = sizeof(kRecordPrefix) - 1;
        place.nTime = std::stoull(name.substr(nTimeAt, 16), NULL, 16);
        place.nProcess = std::stoul(name.substr(kRecordNameLength - 8, 8), NULL, 16);
        place.bTaken = name.size() == kTakenNameLength;
        if (place.bTaken) place.nStarted = std::stoull(name.substr(kRecordNameLength + 1), NULL, 16);
        return place;
    };
    std::stable_sort(names.begin(), names.end(),
                     [&](const std::string& a, const std::string& b) { return placeOf(a) < placeOf(b); });
}

bool ReadSectionText(HKEY hKey, const char* pszValue, std::string& text)
{
    DWORD dwType = 0, cbData = 0;
    if (::RegQueryValueExA(hKey, pszValue, NULL, &dwType, NULL, &cbData) != ERROR_SUCCESS || dwType != REG_SZ)
        return false;
    std::vector<char> data(cbData + 1, '\0');
    if (::RegQueryValueExA(hKey, pszValue, NULL, &dwType, (LPBYTE)data.data(), &cbData) != ERROR_SUCCESS ||
        dwType != REG_SZ)
        return false;
    text = data.data();
    return true;
}

bool ReadSectionNumber(HKEY hKey, const char* pszValue, DWORD& nNumber)
{
    DWORD dwType = 0, cbData = sizeof(nNumber);
    return ::RegQueryValueExA(hKey, pszValue, NULL, &dwType, (LPBYTE)&nNumber, &cbData) == ERROR_SUCCESS &&
           dwType == REG_DWORD && cbData == sizeof(nNumber);
}

void ForgetProgramSection(const char* pszSection)
{
    // Opened first: deleting a section that is not there would make the program's key.
    HKEY hKey = OpenProgramSection(pszSection);
    if (hKey == NULL) return;
    ::RegCloseKey(hKey);
    AfxGetApp()->WriteProfileString(pszSection, NULL, NULL);
}

KeptGroups GroupChangesBetween(const std::vector<GroupEntry>& base, const std::vector<GroupEntry>& here,
                               const std::set<int>& unstated, const std::vector<int>& baseOtherIds)
{
    std::map<int, const GroupEntry*> hereById;
    std::set<int> inBase;
    for (const GroupEntry& group : here) hereById[group.Id] = &group;
    KeptGroups kept;
    kept.baseOtherIds = baseOtherIds;
    for (const GroupEntry& group : base) {
        kept.base.push_back(group);
        kept.baseHereIds.push_back(0);
        // An Id given here and never written is none of the file's: the next start finds
        // the group by its name and keywords, and gives it this Id again.
        if (unstated.count(group.Id)) {
            kept.base.back().Id = 0;
            if (!IsRunOnlyId(group.Id)) kept.baseHereIds.back() = group.Id;
        }
        inBase.insert(group.Id);
        std::map<int, const GroupEntry*>::const_iterator it = hereById.find(group.Id);
        if (it != hereById.end() && it->second->Name == group.Name && it->second->Keywords == group.Keywords) continue;
        KeptGroupChange change;
        change.nBase = (int)kept.base.size() - 1;
        change.bHere = it != hereById.end();
        if (change.bHere) change.here = *it->second;
        kept.changes.push_back(change);
    }
    for (const GroupEntry& group : here) {
        if (inBase.count(group.Id)) continue;
        KeptGroupChange change;
        change.bHere = true;
        change.here = group;
        kept.changes.push_back(change);
    }
    return kept;
}

std::vector<std::string> KeptRecordNames()
{
    std::vector<std::string> names = AllRecordNames();
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& name) { return IsAnotherRunningCopysRecord(name); }),
                names.end());
    return names;
}

void ForgetKeptRecords(const std::set<std::string>& names)
{
    if (names.empty()) return;
    // Opened first: deleting a value of a section that is not there would make the key.
    HKEY hKey = OpenSection(kKeptSection, KEY_READ | KEY_SET_VALUE);
    if (hKey == NULL) return;
    for (const std::string& name : names)
        if (!IsAnotherRunningCopysRecord(name)) DeleteRecord(hKey, name);
    // The section itself stays: another copy may be writing a record into it this very
    // moment, which deleting the key would take with it.
    SettleRecordsMark(hKey);
    ::RegCloseKey(hKey);
}

void ForgetLostKeptNotes()
{
    HKEY hKey = OpenSection(kKeptSection, KEY_READ | KEY_SET_VALUE);
    if (hKey == NULL) return;
    // The notes first, then the records: a note is written only beside its record, and a
    // record goes before its note, so a note whose record is not there after it was listed
    // is left over from a death between the two (its record stored).
    const std::vector<std::string> values = ValueNames(hKey);
    std::set<std::string> records;
    for (const std::string& name : AllRecordNames()) records.insert(UpperName(name));
    const std::string suffix = KeptWriteNoteName("");
    for (const std::string& value : values) {
        if (value.size() <= suffix.size() || lstrcmpiA(value.c_str() + value.size() - suffix.size(), suffix.c_str()) != 0)
            continue;
        const std::string record = value.substr(0, value.size() - suffix.size());
        if ((IsRecordName(record) || lstrcmpiA(record.c_str(), kKeptValue) == 0) && !records.count(UpperName(record)))
            ::RegDeleteValueA(hKey, value.c_str());
    }
    SettleRecordsMark(hKey);
    ::RegCloseKey(hKey);
}

void ForgetLostKeptBases()
{
    HKEY hBases = OpenSection(kBasesSection, KEY_READ | KEY_SET_VALUE);
    if (hBases == NULL) return;
    HKEY hKey = OpenProgramSection(kKeptSection);
    // Asked in the turn at the file (GroupsTurnObject), which every copy holds while it
    // writes or removes a record and its base: a base no record names is what a copy that
    // died between the two writes or the two deletes left.
    std::set<std::string> named;
    for (const std::string& name : hKey != NULL ? AllRecordNames() : std::vector<std::string>()) {
        std::vector<BYTE> bytes;
        if (ReadSectionBytes(hKey, name.c_str(), bytes)) named.insert(UpperName(ApartNameIn(bytes)));
    }
    for (const std::string& name : ValueNames(hBases))
        if (!named.count(UpperName(name))) ::RegDeleteValueA(hBases, name.c_str());
    if (hKey != NULL) ::RegCloseKey(hKey);
    ::RegCloseKey(hBases);
}

bool ClaimKeptRecord(const std::string& name, std::string* pClaimed, std::vector<BYTE>* pBytes, DWORD* pType)
{
    if (IsAnotherRunningCopysRecord(name)) return false;
    HKEY hKey = OpenSection(kKeptSection, KEY_READ | KEY_SET_VALUE);
    if (hKey == NULL) return false;
    // Copied first under a name of this copy's own, then the record deleted: a copy that
    // dies between the two leaves the record to the next start (under both names then,
    // stored twice rather than lost), never neither.
    DWORD dwType = 0, cbData = 0;
    std::vector<BYTE> bytes;
    bool bCopied = ::RegQueryValueExA(hKey, name.c_str(), NULL, &dwType, NULL, &cbData) == ERROR_SUCCESS;
    if (bCopied) {
        bytes.assign(cbData + 1, 0);
        DWORD cbRead = cbData;
        bCopied = ::RegQueryValueExA(hKey, name.c_str(), NULL, &dwType, bytes.data(), &cbRead) == ERROR_SUCCESS &&
                  cbRead <= cbData;
        bytes.resize(cbRead);
    }
    // The mark that records are kept by name is no record: another copy claimed the
    // earlier build's value before.
    if (bCopied && lstrcmpiA(name.c_str(), kKeptValue) == 0) bCopied = !IsRecordsMark(hKey);
    std::string claimed;
    if (bCopied) {
        claimed = ClaimedName(hKey, name);
        bCopied = ::RegSetValueExA(hKey, claimed.c_str(), 0, dwType, bytes.data(), (DWORD)bytes.size()) ==
                  ERROR_SUCCESS;
    }
    // The registry deletes a value for one caller only: the copy whose delete goes through
    // stores the record, every other leaves it alone.
    const bool bClaimed = bCopied && ::RegDeleteValueA(hKey, name.c_str()) == ERROR_SUCCESS;
    if (bCopied && !bClaimed) ::RegDeleteValueA(hKey, claimed.c_str());
    ::RegCloseKey(hKey);
    if (bClaimed) *pClaimed = claimed;
    if (bClaimed && pBytes != NULL) pBytes->swap(bytes);
    if (bClaimed && pType != NULL) *pType = dwType;
    return bClaimed;
}

namespace
{

// Which base groups a record holds whole: those of Id 0 (found by their name and keywords)
// and those a change names. The others are kept apart, unless bApart is false: then the
// record holds every one.
std::vector<bool> HeldInRecord(const KeptGroups& kept, bool bApart)
{
    std::vector<bool> held(kept.base.size(), false);
    for (size_t i = 0; i < kept.base.size(); ++i) held[i] = !bApart || kept.base[i].Id <= 0;
    for (const KeptGroupChange& change : kept.changes)
        if (change.nBase >= 0 && (size_t)change.nBase < held.size()) held[change.nBase] = true;
    return held;
}

// A record's bytes, as the layout above says; `apart` names its base kept apart, which holds
// ApartBytes (ignored when the record holds every base group).
std::string KeptRecordBytes(const KeptGroups& kept, const std::string& apart, bool bApart)
{
    // The file may hold one Id twice (a group it does not show, another groups element):
    // each is named once, that of a base group on the group.
    std::set<int> others(kept.baseOtherIds.begin(), kept.baseOtherIds.end()), onBase;
    for (const GroupEntry& group : kept.base)
        if (group.Id > 0) onBase.insert(group.Id);
    const std::vector<bool> held = HeldInRecord(kept, bApart);
    std::string bytes;
    PutNumber(bytes, kBaseApart);
    PutText(bytes, std::find(held.begin(), held.end(), false) != held.end() ? apart : std::string());
    std::string seenBytes;
    DWORD nSeen = 0;
    for (int nId : kept.seen.Ids())
        if (!others.count(nId) && !onBase.count(nId)) {
            PutNumber(seenBytes, (DWORD)nId);
            ++nSeen;
        }
    PutNumber(bytes, nSeen);
    bytes += seenBytes;
    PutNumber(bytes, (DWORD)kept.seen.UpTo());
    PutNumber(bytes, (DWORD)kept.seen.From());
    PutNumber(bytes, IsRunOnlyId(kept.nLargestId) ? (DWORD)kMaxGroupId : (DWORD)std::max(kept.nLargestId, 0));
    PutNumber(bytes, (DWORD)std::max(kept.nLowestDownwards, 0));
    std::string otherBytes;
    DWORD nOthers = 0;
    for (int nId : others)
        if (!onBase.count(nId)) {
            PutNumber(otherBytes, (DWORD)nId);
            ++nOthers;
        }
    PutNumber(bytes, nOthers);
    bytes += otherBytes;
    PutNumber(bytes, (DWORD)kept.base.size());
    // The Ids of that run's groups, each named once: one named already is given anew at the
    // next start.
    std::set<int> named(others.begin(), others.end());
    named.insert(onBase.begin(), onBase.end());
    const auto hereId = [&](int nId) { return nId > 0 && !IsRunOnlyId(nId) && named.insert(nId).second ? nId : 0; };
    for (size_t i = 0; i < kept.base.size(); ++i) {
        const GroupEntry& group = kept.base[i];
        PutNumber(bytes, (DWORD)group.Id | (group.Id > 0 && others.count(group.Id) ? kHeldBesides : 0));
        if (group.Id <= 0) PutNumber(bytes, i < kept.baseHereIds.size() ? (DWORD)hereId(kept.baseHereIds[i]) : 0);
    }
    PutNumber(bytes, (DWORD)kept.changes.size());
    for (const KeptGroupChange& change : kept.changes) {
        PutNumber(bytes, (DWORD)(change.nBase + 1));
        PutNumber(bytes, change.bHere ? 1 : 0);
        if (change.bHere) PutGroup(bytes, change.here);
        if (change.bHere && change.nBase < 0) PutNumber(bytes, (DWORD)hereId(change.here.Id));
    }
    for (size_t i = 0; i < kept.base.size(); ++i)
        if (held[i]) PutGroup(bytes, kept.base[i]);
    return bytes;
}

// The base kept apart of a record's bytes: the groups the record does not hold; "" when it
// holds them all.
std::string ApartBytes(const KeptGroups& kept, bool bApart)
{
    const std::vector<bool> held = HeldInRecord(kept, bApart);
    std::string bytes;
    PutNumber(bytes, kBaseApart);
    PutNumber(bytes, (DWORD)std::count(held.begin(), held.end(), false));
    for (size_t i = 0; i < kept.base.size(); ++i)
        if (!held[i]) PutGroup(bytes, kept.base[i]);
    return std::find(held.begin(), held.end(), false) != held.end() ? bytes : std::string();
}

// Writes a record under `name`: the mark first (an earlier build that finds a record alone
// would take nothing for kept), then its base kept apart, then the record, so that a record
// never names a base that is not there yet; a base the record held before goes last. False
// when the registry refused it (nothing this wrote stays, and nothing is deleted). Without
// bApart the record holds its whole base, one value: as a writer outside the turn at the
// file must write it, since a start in that turn takes a base no record names yet for one
// a death left.
bool WriteKeptRecord(const std::string& name, const KeptGroups& kept, bool bApart = true)
{
    const std::string apart = ApartBytes(kept, bApart);
    HKEY hKey = apart.size() <= kMaxKeptBytes ? AfxGetApp()->GetSectionKey(kKeptSection) : NULL;
    if (hKey == NULL) return false;
    const std::string before = ApartNameOf(hKey, name);
    HKEY hBases = NULL;
    std::string apartName;
    bool bWritten = MarkRecordsKept(hKey);
    if (bWritten && !apart.empty()) {
        hBases = AfxGetApp()->GetSectionKey(kBasesSection);
        FILETIME now = {};
        ::GetSystemTimeAsFileTime(&now);
        apartName = OwnNameAfter(hBases, ((unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime) - 1);
        bWritten = hBases != NULL && ::RegSetValueExA(hBases, apartName.c_str(), 0, REG_BINARY,
                                                      (const BYTE*)apart.data(), (DWORD)apart.size()) == ERROR_SUCCESS;
        if (!bWritten) apartName.clear();
    }
    const std::string bytes = bWritten ? KeptRecordBytes(kept, apartName, bApart) : std::string();
    bWritten = bWritten && bytes.size() <= kMaxKeptBytes &&
               ::RegSetValueExA(hKey, name.c_str(), 0, REG_BINARY, (const BYTE*)&bytes[0], (DWORD)bytes.size()) ==
                   ERROR_SUCCESS;
    if (!bWritten && !apartName.empty()) ::RegDeleteValueA(hBases, apartName.c_str());
    if (bWritten && !before.empty() && lstrcmpiA(before.c_str(), apartName.c_str()) != 0) DeleteApart(before);
    if (hBases != NULL) ::RegCloseKey(hBases);
    ::RegCloseKey(hKey);
    return bWritten;
}

}  // namespace

bool KeepGroupChanges(const KeptGroups& kept, std::string* pName, bool bApart)
{
    if (kept.changes.empty()) return true;
    // The record of an earlier build's value takes the place before every record named.
    std::string name = pName != NULL && IsRecordName(*pName) ? *pName : NewRecordName();
    if (pName != NULL && lstrcmpiA(pName->c_str(), kKeptValue) == 0)
        name.replace(sizeof(kRecordPrefix) - 1, 16, 16, '0');
    if (pName != NULL) *pName = name;
    if (WriteKeptRecord(name, kept, bApart)) return true;
    // What this record held before is older than these changes: it never stays in their place.
    ForgetKeptRecords({name});
    return false;
}

bool ReadKeptRecord(const std::string& name, std::vector<BYTE>& bytes)
{
    HKEY hKey = OpenProgramSection(kKeptSection);
    if (hKey == NULL) return false;
    const bool bRead = IsRecordName(name) && ReadSectionBytes(hKey, name.c_str(), bytes);
    ::RegCloseKey(hKey);
    return bRead;
}

std::string ClaimedKeptRecordName(const std::string& name)
{
    HKEY hKey = OpenProgramSection(kKeptSection);
    const std::string claimed = ClaimedName(hKey, name);
    if (hKey != NULL) ::RegCloseKey(hKey);
    return claimed;
}

void ForgetKeptBases(const std::vector<std::string>& bases)
{
    for (const std::string& name : bases) DeleteApart(name);
}

bool ClaimKeptRecordsAsOne(const KeptGroups& kept, const std::string& claimed, const std::vector<std::string>& names,
                           std::set<std::string>& taken, std::vector<std::string>& bases)
{
    taken.clear();
    // What the records hold goes in first, under this copy's own name: a copy that dies
    // before a record's delete leaves it stored twice (here too), never neither.
    if (!kept.changes.empty() && !WriteKeptRecord(claimed, kept)) return false;
    HKEY hKey = OpenSection(kKeptSection, KEY_READ | KEY_SET_VALUE);
    // The registry deletes a value for one caller only: a record whose delete fails went to
    // another copy meanwhile, and is that copy's to store.
    for (const std::string& name : names)
        if (hKey == NULL || !IsRecordName(name) || !DeleteRecord(hKey, name, &bases)) taken.insert(name);
    if (hKey != NULL) ::RegCloseKey(hKey);
    return true;
}

void KeepUntoldText(const std::string& text)
{
    if (text.empty()) return;
    // A value of this end's own: two copies ending at once, or a start taking the texts
    // meanwhile, never take one another's away. The time in the name keeps them in order.
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    char name[48];
    sprintf(name, "%s %08lX%08lX %08lX", kUntoldValue, now.dwHighDateTime, now.dwLowDateTime, ::GetCurrentProcessId());
    AfxGetApp()->WriteProfileString(kUntoldSection, name, text.c_str());
}

std::string TakeUntoldText()
{
    HKEY hKey = OpenSection(kUntoldSection, KEY_READ | KEY_SET_VALUE);
    if (hKey == NULL) return std::string();
    // The earlier layout's one value first, then the ends' own by the time they were kept.
    std::vector<std::string> names = ValueNames(hKey);
    const std::string prefix = std::string(kUntoldValue) + " ";
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& name) {
                                   return lstrcmpiA(name.c_str(), kUntoldValue) != 0 &&
                                          name.compare(0, prefix.size(), prefix) != 0;
                               }),
                names.end());
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names) {
        std::string one;
        // Only what was read goes: a text kept after the listing waits for the next start.
        if (!ReadSectionText(hKey, name.c_str(), one)) continue;
        if (!one.empty() && text.find(one) == std::string::npos) text += (text.empty() ? "" : "\r\n\r\n") + one;
        ::RegDeleteValueA(hKey, name.c_str());
    }
    ::RegCloseKey(hKey);
    return text;
}

namespace
{

const char kCutShort[] = "they are cut short or damaged";

std::string TwiceText(DWORD nId) { return "they name the group Id " + std::to_string(nId) + " twice"; }

// An Id of such a value: 1 to kMaxGroupId, or 0 too when bNone.
bool ReadId(KeptReader& reader, int& nId, bool bNone)
{
    DWORD nRead = 0;
    if (!reader.Number(nRead) || nRead > (DWORD)kMaxGroupId || (nRead == 0 && !bNone)) return false;
    nId = (int)nRead;
    return true;
}

// The Ids as GivenIds::Of counts them. The records a start reads were mostly kept on one
// file and name the same Ids: a set made for one of the last few is given again while they
// do, so that reading a record costs what its changes cost rather than a set of every Id
// it names.
GivenIds SharedGivenIds(std::vector<int> ids, int nUpTo, int nFrom)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    struct Made
    {
        std::vector<int> ids;
        int nUpTo, nFrom;
        GivenIds given;
    };
    static std::vector<Made> s_made;
    static std::mutex s_lock;
    const std::lock_guard<std::mutex> hold(s_lock);
    for (const Made& made : s_made)
        if (made.nUpTo == nUpTo && made.nFrom == nFrom && made.ids == ids) return made.given;
    if (s_made.size() == 4) s_made.erase(s_made.begin());
    const GivenIds given = GivenIds::Of(std::set<int>(ids.begin(), ids.end()), nUpTo, nFrom);
    s_made.push_back(Made{std::move(ids), nUpTo, nFrom, given});
    return given;
}

// Each Id a record names, but 0, is named once: a record naming one twice is no value
// this program kept. Gathered as read and judged once at the end (a set grown Id by Id
// would cost a record what every Id of the file costs).
class IdsNamedOnce
{
public:
    void Add(int nId)
    {
        if (nId != 0) m_ids.push_back(nId);
    }
    bool Once(std::string* why)
    {
        std::sort(m_ids.begin(), m_ids.end());
        const std::vector<int>::const_iterator twice = std::adjacent_find(m_ids.begin(), m_ids.end());
        if (twice == m_ids.end()) return true;
        *why = TwiceText((DWORD)*twice);
        return false;
    }

private:
    std::vector<int> m_ids;
};

// What that run saw (since kWithSeen).
bool ReadSeen(KeptReader& reader, KeptGroups* kept)
{
    DWORD nCount = 0;
    if (!reader.Count(nCount, 4)) return false;
    std::vector<int> seen(nCount);
    for (int& nId : seen)
        if (!ReadId(reader, nId, false)) return false;
    int nUpTo = 0, nFrom = 0;
    if (!ReadId(reader, nUpTo, true) || !ReadId(reader, nFrom, true) || !ReadId(reader, kept->nLargestId, true) ||
        !ReadId(reader, kept->nLowestDownwards, true))
        return false;
    kept->seen = SharedGivenIds(std::move(seen), nUpTo, nFrom);
    return true;
}

// One change of a layout with the base; `changed` marks the base groups named already, `once`
// each Id named (bSeen: an added group is followed by its Id).
bool ReadChange(KeptReader& reader, KeptGroups* kept, std::vector<bool>& changed, bool bSeen,
                const std::function<bool(int)>& once, std::string* why)
{
    KeptGroupChange change;
    DWORD nPlace = 0, nHere = 0;
    if (!reader.Number(nPlace) || !reader.Number(nHere) || nPlace > kept->base.size() || nHere > 1 ||
        (nPlace == 0 && nHere == 0))
        return false;
    if (nPlace > 0) {
        if (changed[nPlace - 1]) {
            *why = "they change one group twice";
            return false;
        }
        changed[nPlace - 1] = true;
    }
    change.nBase = (int)nPlace - 1;
    change.bHere = nHere != 0;
    if (change.bHere && !reader.StorableGroup(change.here)) return false;
    if (bSeen && nPlace == 0 && (!ReadId(reader, change.here.Id, true) || !once(change.here.Id))) return false;
    kept->changes.push_back(change);
    return true;
}

const char kBaseGone[] = "the groups they were kept with are gone";
const char kUnstorable[] = "they hold a name or keyword the groups file cannot hold";

// The base kept apart of a record of the layout kBaseApart; false when there is none such.
// Only looked for when no bytes are asked for.
bool ReadApart(const std::string& name, std::vector<BYTE>* pBytes)
{
    HKEY hBases = OpenProgramSection(kBasesSection);
    if (hBases == NULL) return false;
    DWORD dwType = 0;
    const bool bRead = pBytes != NULL ? ReadSectionBytes(hBases, name.c_str(), *pBytes)
                                      : ::RegQueryValueExA(hBases, name.c_str(), NULL, &dwType, NULL, NULL) ==
                                                ERROR_SUCCESS &&
                                            dwType == REG_BINARY;
    ::RegCloseKey(hBases);
    return bRead;
}

// The layout kBaseApart (its number read already), as ReadWithBase reads the others. A lean
// read looks that the base kept apart is there; a whole one reads the groups it holds.
bool ReadBaseApart(KeptReader& reader, KeptGroups* kept, std::string* why, bool bLean)
{
    std::string apart;
    DWORD nCount = 0;
    *why = kCutShort;
    if (!reader.Text(apart) || (!apart.empty() && !IsRecordName(apart)) || !ReadSeen(reader, kept) ||
        !reader.Count(nCount, 4))
        return false;
    IdsNamedOnce ids;
    const std::function<bool(int)> once = [&](int nId) {
        ids.Add(nId);
        return true;
    };
    kept->baseOtherIds.resize(nCount);
    for (int& nId : kept->baseOtherIds)
        if (!ReadId(reader, nId, false) || !once(nId)) return false;
    // A base group takes four bytes at least: its Id.
    if (!reader.Count(nCount, 4)) return false;
    kept->base.resize(nCount);
    kept->baseHereIds.assign(nCount, 0);
    for (size_t i = 0; i < kept->base.size(); ++i) {
        DWORD nId = 0;
        if (!reader.Number(nId)) return false;
        const bool bHeldBesides = (nId & kHeldBesides) != 0;
        nId &= ~kHeldBesides;
        if (nId > (DWORD)kMaxGroupId || (bHeldBesides && nId == 0)) return false;
        kept->base[i].Id = (int)nId;
        if (!once(kept->base[i].Id)) return false;
        if (bHeldBesides) kept->baseOtherIds.push_back((int)nId);
        if (nId == 0 && (!ReadId(reader, kept->baseHereIds[i], true) || !once(kept->baseHereIds[i]))) return false;
    }
    // A change takes eight bytes at least.
    if (!reader.Count(nCount, 8)) return false;
    std::vector<bool> changed(kept->base.size(), false);
    for (DWORD i = 0; i < nCount; ++i)
        if (!ReadChange(reader, kept, changed, true, once, why)) return false;
    if (!ids.Once(why)) return false;
    *why = kCutShort;
    // A record that names no base apart holds every base group.
    const std::vector<bool> held = HeldInRecord(*kept, !apart.empty());
    for (size_t i = 0; i < kept->base.size(); ++i)
        if (held[i] && !reader.StorableGroup(kept->base[i])) return false;
    const DWORD nApart = (DWORD)std::count(held.begin(), held.end(), false);
    // A base apart named for a record that holds every group.
    if (!reader.AtEnd() || (nApart == 0) != apart.empty()) return false;
    if (nApart == 0) return true;
    std::vector<BYTE> bytes;
    if (!ReadApart(apart, bLean ? NULL : &bytes)) {
        *why = kBaseGone;
        return false;
    }
    kept->baseLean = bLean;
    if (bLean) return true;
    KeptReader apartReader(bytes);
    DWORD nLayout = 0;
    if (!apartReader.Number(nLayout) || nLayout != kBaseApart || !apartReader.Number(nCount) || nCount != nApart)
        return false;
    for (size_t i = 0; i < kept->base.size(); ++i)
        if (!held[i] && !apartReader.StorableGroup(kept->base[i])) {
            if (apartReader.Unstorable()) *why = kUnstorable;
            return false;
        }
    return apartReader.AtEnd();
}

// The layouts with the base (kWithBase, kWithBaseIdsOnce or kWithSeen read already). False,
// with the reason, when the bytes are not such a value whole. In memory an Id the file held
// twice is among the other Ids and on its base group, as the file gave it; what that run
// saw is read as kept (ReadKeptGroupChanges adds the base's and the other Ids).
bool ReadWithBase(KeptReader& reader, DWORD nLayout, KeptGroups* kept, std::string* why, bool bLean)
{
    const bool bIdsOnce = nLayout != kWithBase, bSeen = nLayout == kWithSeen;
    DWORD nCount = 0;
    *why = kCutShort;
    if (bSeen && !ReadSeen(reader, kept)) return false;
    if (!reader.Count(nCount, 4)) return false;
    kept->baseOtherIds.resize(nCount);
    std::set<int> ids;
    // Each Id named once: a second naming is no value this program kept.
    const std::function<bool(int)> once = [&](int nId) {
        if (nId == 0 || !bIdsOnce || ids.insert(nId).second) return true;
        *why = TwiceText((DWORD)nId);
        return false;
    };
    for (int& nId : kept->baseOtherIds)
        if (!ReadId(reader, nId, false) || !once(nId)) return false;
    // The earlier build named an Id the file held twice among both: the other Ids say nothing
    // of the base's groups.
    if (!bIdsOnce) ids.clear();
    // A base group takes twelve bytes at least: its Id, an empty name and no keywords.
    if (!reader.Count(nCount, 12)) return false;
    kept->base.resize(nCount);
    kept->baseHereIds.assign(nCount, 0);
    std::vector<size_t> placeOf(bLean ? nCount : 0);
    for (size_t i = 0; i < kept->base.size(); ++i) {
        GroupEntry& group = kept->base[i];
        DWORD nId = 0;
        if (!reader.Number(nId)) return false;
        const bool bHeldBesides = bIdsOnce && (nId & kHeldBesides) != 0;
        if (bHeldBesides) nId &= ~kHeldBesides;
        if (bLean) placeOf[i] = reader.At();
        if (nId > (DWORD)kMaxGroupId || (bHeldBesides && nId == 0) ||
            !(bLean ? reader.SkipStorableGroup() : reader.StorableGroup(group)))
            return false;
        group.Id = (int)nId;
        if (nId != 0 && !bIdsOnce && !ids.insert(group.Id).second) {
            *why = TwiceText(nId);
            return false;
        }
        if (!once(group.Id)) return false;
        if (bHeldBesides) kept->baseOtherIds.push_back(group.Id);
        if (bSeen && nId == 0 && (!ReadId(reader, kept->baseHereIds[i], true) || !once(kept->baseHereIds[i])))
            return false;
    }
    std::vector<bool> changed(kept->base.size(), false);
    while (!reader.AtEnd())
        if (!ReadChange(reader, kept, changed, bSeen, once, why)) return false;
    // Of the base, only the groups changed are made (read whole already).
    for (const KeptGroupChange& change : kept->changes) {
        if (!bLean || change.nBase < 0) continue;
        reader.MoveTo(placeOf[change.nBase]);
        reader.Group(kept->base[change.nBase]);
    }
    kept->baseLean = bLean;
    return true;
}

// The layout of earlier builds: the changed groups' sides, the first Id read already.
bool ReadChangedSides(KeptReader& reader, DWORD nFirstId, KeptGroups* kept, std::string* why)
{
    std::set<int> ids;
    *why = kCutShort;
    for (DWORD nId = nFirstId;; ) {
        DWORD nSides = 0;
        if (nId > (DWORD)kMaxGroupId || !reader.Number(nSides) || nSides == 0 || nSides > (kSideBase | kSideHere))
            return false;
        if (nId != 0 && !ids.insert((int)nId).second) {
            *why = TwiceText(nId);
            return false;
        }
        KeptGroupChange change;
        change.bHere = (nSides & kSideHere) != 0;
        if (nSides & kSideBase) {
            GroupEntry base;
            if (!reader.Group(base)) return false;
            base.Id = (int)nId;
            change.nBase = (int)kept->base.size();
            kept->base.push_back(base);
        }
        if (change.bHere && !reader.StorableGroup(change.here)) return false;
        kept->changes.push_back(change);
        if (reader.AtEnd()) return true;
        if (!reader.Number(nId)) return false;
    }
}

}  // namespace

KeptRead ReadKeptGroupChanges(const std::string& name, KeptGroups* kept, std::string* why)
{
    *kept = KeptGroups();
    why->clear();
    if (IsAnotherRunningCopysRecord(name)) return KeptRead::None;
    HKEY hKey = OpenProgramSection(kKeptSection);
    if (hKey == NULL) return KeptRead::None;
    DWORD dwType = 0;
    const bool bThere = ::RegQueryValueExA(hKey, name.c_str(), NULL, &dwType, NULL, NULL) == ERROR_SUCCESS;
    std::vector<BYTE> bytes;
    const bool bRead = ReadSectionBytes(hKey, name.c_str(), bytes);
    ::RegCloseKey(hKey);
    if (!bThere) return KeptRead::None;
    if (!bRead) {
        *why = "they are not kept as this program keeps them";
        return KeptRead::Unreadable;
    }
    return ReadKeptGroupChangesFrom(bytes, kept, why);
}

KeptRead ReadKeptGroupChangesFrom(const std::vector<BYTE>& bytes, KeptGroups* kept, std::string* why, bool bLean)
{
    *kept = KeptGroups();
    why->clear();
    const bool bRead = bytes.size() <= kMaxKeptBytes;
    KeptReader reader(bytes);
    DWORD nFirst = 0;
    bool bWhole = false;
    if (!bRead) {
        *why = "they are not kept as this program keeps them";
    } else if (!reader.Number(nFirst)) {
        *why = kCutShort;
    } else {
        bWhole = nFirst == kBaseApart ? ReadBaseApart(reader, kept, why, bLean)
                 : nFirst == kWithBase || nFirst == kWithBaseIdsOnce || nFirst == kWithSeen
                     ? ReadWithBase(reader, nFirst, kept, why, bLean)
                     : ReadChangedSides(reader, nFirst, kept, why);
    }
    if (bWhole && !kept->changes.empty()) {
        // That run saw the file hold the base's Ids and the other Ids; earlier builds kept
        // nothing else of what it counted as given.
        std::vector<int> held(kept->baseOtherIds);
        for (const GroupEntry& group : kept->base) held.push_back(group.Id);
        if (nFirst == kWithSeen || nFirst == kBaseApart) {
            held.insert(held.end(), kept->seen.Ids().begin(), kept->seen.Ids().end());
            kept->seen = SharedGivenIds(std::move(held), kept->seen.UpTo(), kept->seen.From());
        } else {
            kept->seen.Add(GivenIds::OfFile(std::set<int>(held.begin(), held.end()), 0));
        }
        return KeptRead::Read;
    }
    if (bWhole) *why = "they hold no change";
    if (reader.Unstorable()) *why = kUnstorable;
    *kept = KeptGroups();
    return KeptRead::Unreadable;
}
