// The records of kept changes one run holds (CKeptRecords), and the note a store keeps
// beside each before the write that stores them.
#include "app/groups_kept.h"
#include "framework/framework.h"

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

void DeleteNote(const std::string& record)
{
    HKEY hKey = NULL;
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pApp->m_pszRegistryKey == NULL || pApp->m_pszProfileName == NULL) return;
    const std::string key = std::string("Software\\") + pApp->m_pszRegistryKey + "\\" + pApp->m_pszProfileName +
                            "\\" + kKeptSection;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(hKey, KeptWriteNoteName(record).c_str());
    ::RegCloseKey(hKey);
}

}  // namespace

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

void CKeptRecords::TakeAll(bool (*reached)(const std::string& note))
{
    Clear();
    ForgetLostKeptBases();
    ForgetLostKeptNotes();
    // Every record at once: one another copy claims between the listing and the claim is
    // that copy's (the registry lets one delete of it through).
    for (const std::string& name : KeptRecordNames()) {
        const std::string note = ReadKeptWriteNote(name);
        Record record;
        record.keptAs = name;
        std::string why;
        if (note.empty() && ReadKeptRecord(name, record.bytes)) {
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
        // The note goes with the record's old name: it speaks of the write it was for,
        // and is judged now, against the file as found.
        if (!note.empty()) DeleteNote(name);
        record.name = claimed;
        // Read from the bytes the claim copied: a record is read from the registry once.
        // The first is merged with the file as a change made in its run, whole; the others
        // with the groups as the one before left them, by the groups they change.
        const KeptRead read = dwType == REG_BINARY
                                  ? ReadKeptGroupChangesFrom(bytes, &record.kept, &why, !m_read.empty())
                                  : ReadKeptGroupChanges(claimed, &record.kept, &why);
        if (read == KeptRead::Read && !note.empty() && reached(note)) {
            // Its write reached the file before that run could remove it: stored once, and
            // it goes now.
            ForgetKeptRecords({claimed});
            continue;
        }
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

void CKeptRecords::UnnoteWrite()
{
    for (const std::string& record : Written()) DeleteNote(record);
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

bool CKeptRecords::Keep(const KeptGroups& kept)
{
    if (kept.changes.empty()) {
        Forget();
        return true;
    }
    // In the place of the first record this run took (its changes are the oldest among
    // these), else under a name of its own.
    std::string name = !m_strOwn.empty() ? m_strOwn : m_nMerged > 0 ? m_read.front().name : std::string();
    const bool bKept = KeepGroupChanges(kept, &name);
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
