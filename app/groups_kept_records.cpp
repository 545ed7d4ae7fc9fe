// The records of kept changes one run holds (CKeptRecords), and the note a store keeps
// beside each before the write that stores them.
#include "app/groups_kept.h"
#include "framework/framework.h"
#include <sddl.h>
#include <cstdio>
#include <map>

namespace
{

const char kKeptSection[] = "Groups Not Stored";
// Beside a record, "<record> Written": what the write that stores it makes of the file. No
// record's name has that length, so the readers of records (and earlier builds) pass it by.
const char kNoteSuffix[] = " Written";

// What the start tells of kept changes it cannot read (why: the reader's reason).
std::string UnreadableKeptText(const std::string& why)
{
    return "The changes to the groups that could not be stored when the program last ended cannot be read back (" +
           why + "). They are not stored in the groups file, and are dropped.";
}

// False when a note is there still (the registry refused its delete).
bool DeleteNote(const std::string& record)
{
    HKEY hKey = NULL;
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pApp->m_pszRegistryKey == NULL || pApp->m_pszProfileName == NULL) return true;
    const std::string key = std::string("Software\\") + pApp->m_pszRegistryKey + "\\" + pApp->m_pszProfileName +
                            "\\" + kKeptSection;
    const LONG nOpened = ::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &hKey);
    if (nOpened != ERROR_SUCCESS) return nOpened == ERROR_FILE_NOT_FOUND;
    const LONG nDeleted = ::RegDeleteValueA(hKey, KeptWriteNoteName(record).c_str());
    ::RegCloseKey(hKey);
    return nDeleted == ERROR_SUCCESS || nDeleted == ERROR_FILE_NOT_FOUND;
}

// The name of the turn at one groups file for this user: the user's SID (two users share
// no file and no key) and a hash of the file's path, upper-cased as the file system
// compares names (tests and a folder that fell back to the program's own have files of
// their own).
std::string TurnName(const std::string& path, const std::string& sid)
{
    std::string upper = path;
    if (!upper.empty()) ::CharUpperBuffA(&upper[0], (DWORD)upper.size());
    unsigned long long nHash = 14695981039346656037ull;
    for (char c : upper) nHash = (nHash ^ (unsigned char)c) * 1099511628211ull;
    char hash[17];
    sprintf(hash, "%016llX", nHash);
    return "NimboPurgelet.GroupsTurn." + sid + "." + hash;
}

HANDLE MakeTurn(const std::string& path)
{
    // The user's SID: in the name, and the one the object lets in. A copy run elevated
    // makes objects only administrators may open by default, which would shut the user's
    // other copies out; an explicit list lets this user (and nobody else) in whoever made it.
    HANDLE hToken = NULL;
    std::vector<BYTE> user(256);
    DWORD cbUser = 0;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken)) return NULL;
    const bool bUser = ::GetTokenInformation(hToken, TokenUser, user.data(), (DWORD)user.size(), &cbUser) != FALSE;
    ::CloseHandle(hToken);
    if (!bUser) return NULL;
    PSID pSid = ((TOKEN_USER*)user.data())->User.Sid;
    LPSTR pszSid = NULL;
    if (!::ConvertSidToStringSidA(pSid, &pszSid)) return NULL;
    const std::string name = TurnName(path, pszSid);
    ::LocalFree(pszSid);
    std::vector<BYTE> acl(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(pSid));
    SECURITY_DESCRIPTOR sd;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), &sd, FALSE};
    const bool bSecured = ::InitializeAcl((PACL)acl.data(), (DWORD)acl.size(), ACL_REVISION) &&
                          ::AddAccessAllowedAce((PACL)acl.data(), ACL_REVISION, MUTEX_ALL_ACCESS, pSid) &&
                          ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
                          ::SetSecurityDescriptorDacl(&sd, TRUE, (PACL)acl.data(), FALSE);
    // Global: the user's copies in other sessions (a second log-on, a remote desktop) share
    // the file and the key. Where another user made an object of that name first (the
    // global namespace is the machine's), the session's own namespace serves: the copies
    // of this session at least take turns.
    for (const char* pszSpace : {"Global\\", "Local\\"}) {
        HANDLE hTurn = ::CreateMutexA(bSecured ? &sa : NULL, FALSE, (pszSpace + name).c_str());
        if (hTurn != NULL) return hTurn;
    }
    return NULL;
}

}  // namespace

HANDLE GroupsTurnObject(const std::string& path)
{
    static std::map<std::string, HANDLE> s_turns;
    const auto it = s_turns.find(path);
    return it != s_turns.end() ? it->second : (s_turns[path] = MakeTurn(path));
}

std::string KeptWriteNoteName(const std::string& record) { return record + kNoteSuffix; }

std::string ReadKeptWriteNote(const std::string& record)
{
    HKEY hKey = OpenProgramSection(kKeptSection);
    if (hKey == NULL) return std::string();
    std::string note;
    DWORD dwType = 0, cbData = 0;
    const std::string name = KeptWriteNoteName(record);
    if (::RegQueryValueExA(hKey, name.c_str(), NULL, &dwType, NULL, &cbData) == ERROR_SUCCESS &&
        dwType == REG_BINARY && cbData <= 256) {
        note.assign(cbData, '\0');
        if (::RegQueryValueExA(hKey, name.c_str(), NULL, &dwType, (LPBYTE)&note[0], &cbData) != ERROR_SUCCESS)
            note.clear();
        note.resize(cbData);
    }
    ::RegCloseKey(hKey);
    return note;
}

void CKeptRecords::Clear()
{
    m_read.clear();
    m_others.clear();
    m_strOwn.clear();
    m_nMerged = 0;
    m_strLost.clear();
    m_strOne.clear();
    m_strOneAfter.clear();
    m_bases.clear();
}

bool JudgeKeptWriteNotes(bool (*reached)(const std::string& note))
{
    ForgetLostKeptBases();
    ForgetLostKeptNotes();
    bool bAllGone = true;
    for (const std::string& name : KeptRecordNames()) {
        // The note of a write that stores the record is judged where it is, against the
        // file as found (the turn held: no writer is half-way). Reached: stored once, the
        // record goes, then its note. Not: the note goes, and the record stays, to be read
        // as any.
        const std::string note = ReadKeptWriteNote(name);
        if (note.empty()) continue;
        if (reached(note)) ForgetKeptRecords({name});
        bAllGone = DeleteNote(name) && bAllGone;
    }
    return bAllGone;
}

void CKeptRecords::TakeAll()
{
    Clear();
    // Every record at once: one another copy claims between the listing and the claim is
    // that copy's (the registry lets one delete of it through).
    for (const std::string& name : KeptRecordNames()) {
        // A note the registry would not let go (JudgeKeptWriteNotes) leaves its record to a
        // later start, which judges the note again.
        if (!ReadKeptWriteNote(name).empty()) continue;
        Record record;
        record.keptAs = name;
        std::string why;
        if (ReadKeptRecord(name, record.bytes)) {
            // Read only: taken once merged, all at once (Claim). The first is merged with the
            // file as a change made in its run, whole; the others with the groups as the one
            // before left them, by the groups they change.
            const bool bLean = !m_read.empty();
            if (ReadKeptGroupChangesFrom(record.bytes, &record.kept, &why, bLean) == KeptRead::Read) {
                record.name = name;
                record.state = State::Read;
                if (!bLean) record.bytes.clear();
                m_read.push_back(std::move(record));
                continue;
            }
            record.bytes.clear();
            record.kept = KeptGroups();
        }
        std::string claimed;
        std::vector<BYTE> bytes;
        DWORD dwType = 0;
        if (!ClaimKeptRecord(name, &claimed, &bytes, &dwType)) continue;
        record.name = claimed;
        // Read from the bytes the claim copied: a record is read from the registry once.
        const KeptRead read = dwType == REG_BINARY
                                  ? ReadKeptGroupChangesFrom(bytes, &record.kept, &why, !m_read.empty())
                                  : ReadKeptGroupChanges(claimed, &record.kept, &why);
        if (read == KeptRead::Read) {
            m_read.push_back(std::move(record));
            continue;
        }
        m_others.insert(claimed);
        if (read == KeptRead::Unreadable) m_strLost += (m_strLost.empty() ? "" : "\r\n\r\n") + UnreadableKeptText(why);
    }
}

const KeptGroups& CKeptRecords::Whole(size_t i)
{
    Record& record = m_read[i];
    KeptGroups whole;
    std::string why;
    // A record only read may be gone from the registry (taken here at once): read from its bytes.
    if (record.kept.baseLean &&
        (record.bytes.empty() ? ReadKeptGroupChanges(record.name, &whole, &why)
                              : ReadKeptGroupChangesFrom(record.bytes, &whole, &why)) == KeptRead::Read)
        record.kept = whole;
    return record.kept;
}

bool CKeptRecords::ToClaim() const
{
    for (const Record& record : m_read)
        if (record.state != State::Claimed) return true;
    return !m_strOne.empty();
}

bool CKeptRecords::Claim(const KeptGroups& kept)
{
    bool bAtOnce = false;
    for (size_t i = 0; i < m_nMerged; ++i) bAtOnce = bAtOnce || m_read[i].state != State::Claimed;
    std::set<std::string> taken;
    if (bAtOnce) {
        // In the place of the first record: one taken already holds it, else a name just after it.
        const Record& first = m_read.front();
        std::string one = first.state == State::Claimed ? first.name
                          : m_strOneAfter == first.keptAs ? m_strOne
                                                           : ClaimedKeptRecordName(first.keptAs);
        std::vector<std::string> names;
        for (size_t i = 0; i < m_nMerged; ++i)
            if (m_read[i].state == State::Read || (m_read[i].state == State::Claimed && m_read[i].name != one))
                names.push_back(m_read[i].name);
        // What an earlier try wrote elsewhere goes once this one is written.
        if (!m_strOne.empty() && m_strOne != one) names.push_back(m_strOne);
        if (!ClaimKeptRecordsAsOne(kept, one, names, taken, m_bases)) {
            // Refused: the records only read are not taken (left to the next start); those
            // an earlier try took stay in what it wrote then.
            bool bLeft = false;
            for (size_t i = m_nMerged; i-- > 0;)
                if (m_read[i].state == State::Read) {
                    m_read.erase(m_read.begin() + i);
                    --m_nMerged;
                    bLeft = true;
                }
            if (bLeft) {
                if (!m_read.empty()) Whole(0);
                return false;
            }
        } else {
            m_strOne = one;
            m_strOneAfter = first.keptAs;
            for (size_t i = 0; i < m_nMerged; ++i)
                if (!taken.count(m_read[i].name)) m_read[i].state = State::InOne;
        }
    } else if (!m_strOne.empty()) {
        // None left that an earlier try wrote for: what it wrote goes.
        ForgetKeptRecords({m_strOne});
        m_strOne.clear();
        m_strOneAfter.clear();
    }
    if (taken.empty()) {
        ForgetKeptBases(m_bases);
        m_bases.clear();
    } else {
        // Another copy's now: merged again without them.
        for (size_t i = m_nMerged; i-- > 0;)
            if (m_read[i].state == State::Read && taken.count(m_read[i].name)) {
                m_read.erase(m_read.begin() + i);
                --m_nMerged;
            }
        if (!m_read.empty()) Whole(0);
        return false;
    }
    if (bAtOnce) {
        // One record now: the others' changes are in it.
        Record one;
        one.name = m_strOne;
        one.keptAs = m_read.front().keptAs;
        one.kept = kept;
        m_read.erase(m_read.begin(), m_read.begin() + m_nMerged);
        m_read.insert(m_read.begin(), std::move(one));
        m_nMerged = 1;
        m_strOne.clear();
        m_strOneAfter.clear();
    }
    // Those not merged yet (the file not read) are taken one by one.
    for (size_t i = m_nMerged; i < m_read.size();) {
        Record& record = m_read[i];
        if (record.state != State::Read) {
            ++i;
            continue;
        }
        std::string claimed;
        if (!ClaimKeptRecord(record.name, &claimed)) {
            m_read.erase(m_read.begin() + i);
            continue;
        }
        record.name = claimed;
        record.state = State::Claimed;
        ++i;
    }
    return true;
}

std::set<std::string> CKeptRecords::Written() const
{
    std::set<std::string> names;
    for (size_t i = 0; i < m_nMerged; ++i) names.insert(m_read[i].name);
    if (!m_strOwn.empty()) names.insert(m_strOwn);
    return names;
}

bool CKeptRecords::NoteWrite(const std::string& note)
{
    const std::set<std::string> names = Written();
    if (names.empty()) return true;
    HKEY hKey = AfxGetApp()->GetSectionKey(kKeptSection);
    if (hKey == NULL) return false;
    bool bNoted = true;
    for (const std::string& record : names)
        bNoted = ::RegSetValueExA(hKey, KeptWriteNoteName(record).c_str(), 0, REG_BINARY, (const BYTE*)note.data(),
                                  (DWORD)note.size()) == ERROR_SUCCESS && bNoted;
    ::RegCloseKey(hKey);
    return bNoted;
}

bool CKeptRecords::UnnoteWrite()
{
    bool bGone = true;
    for (const std::string& record : Written()) bGone = DeleteNote(record) && bGone;
    return bGone;
}

void CKeptRecords::Forget()
{
    std::set<std::string> names = Written();
    names.insert(m_others.begin(), m_others.end());
    m_others.clear();
    m_read.erase(m_read.begin(), m_read.begin() + m_nMerged);
    m_nMerged = 0;
    m_strOwn.clear();
    // The records first, then their notes: a note without its record says nothing.
    ForgetKeptRecords(names);
    ForgetKeptBases(m_bases);
    m_bases.clear();
    for (const std::string& name : names) DeleteNote(name);
}

bool CKeptRecords::Keep(const KeptGroups& kept, bool bApart)
{
    if (kept.changes.empty()) {
        Forget();
        return true;
    }
    // In the place of the first record this run took (its changes are the oldest among
    // these), else under a name of its own.
    std::string name = !m_strOwn.empty() ? m_strOwn : m_nMerged > 0 ? m_read.front().name : std::string();
    const bool bKept = KeepGroupChanges(kept, &name, bApart);
    std::set<std::string> names = Written();
    names.insert(m_others.begin(), m_others.end());
    m_others.clear();
    names.erase(name);
    m_read.erase(m_read.begin(), m_read.begin() + m_nMerged);
    m_nMerged = 0;
    m_strOwn = bKept ? name : std::string();
    ForgetKeptRecords(names);
    ForgetKeptBases(m_bases);
    m_bases.clear();
    for (const std::string& other : names) DeleteNote(other);
    // Kept anew, it holds no write noted for what it held before.
    DeleteNote(name);
    return bKept;
}
