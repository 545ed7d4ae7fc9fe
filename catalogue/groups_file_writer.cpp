#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include "catalogue/groups.h"
#include "catalogue/groups_file_dom.h"

// The writer: the changes of the groups made as edits of the document read, and the
// document written through a file of its own that is read back before it replaces the
// old one.

using namespace groupsfile;

namespace {

// A name of its own beside the file, "<file>.~<hex><ending>", not taken when made.
std::string NameBeside(const std::string& path, const char* ending) {
    static LONG s_counter = 0;
    const unsigned long number = ::GetCurrentProcessId() * 7919u + ::GetTickCount() +
                                 static_cast<unsigned long>(::InterlockedIncrement(&s_counter));
    char suffix[32];
    wsprintfA(suffix, ".~%lx", number);
    return path + suffix + ending;
}

// A name of its own beside the file for the new bytes, "<file>.~<hex>.tmp", created
// empty (never over another file). The pattern is the groups file's own, so that the
// leftovers of a save that never ended can be found and removed at the next start.
HANDLE CreateTemporaryFile(const std::string& path, std::string& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = NameBeside(path, ".tmp");
        HANDLE file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// Whether a move of the new bytes at `temp` failed because they are gone: another copy of
// the program, starting on the same file, removed them as a save's leftover.
bool NewBytesTaken(DWORD error, const std::string& temp) {
    return IsNoFile(error) && ::GetFileAttributesA(temp.c_str()) == INVALID_FILE_ATTRIBUTES &&
           IsNoFile(::GetLastError());
}

// Gives the held file the name `name` (never over another file), through its handle.
BOOL RenameHeld(HANDLE held, const std::string& name) {
    char full[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(name.c_str(), MAX_PATH, full, nullptr);
    const int units = length && length < MAX_PATH ? ::MultiByteToWideChar(CP_ACP, 0, full, -1, nullptr, 0) : 0;
    if (units <= 0) return FALSE;
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + units * sizeof(WCHAR), 0);
    FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>((units - 1) * sizeof(WCHAR));
    ::MultiByteToWideChar(CP_ACP, 0, full, -1, info->FileName, units);
    return ::SetFileInformationByHandle(held, FileRenameInfo, info, static_cast<DWORD>(buffer.size()));
}

// Replaces the file at `path` with `temp` when it still holds the bytes read (`read`);
// `changed` says when it does not, or when another program made the file meanwhile. From
// the look at its bytes to the end the file is held, read and shared for reading alone:
// no other program can write it, replace it, rename it or delete it in between (its save
// waits or fails, and is read at the next try). Nothing can be moved over a file that is
// open, and ReplaceFile would need it shared for deletion, which lets another program's
// replace in; so the held file is renamed aside through its handle, the new one moved to
// its name (never over another file), and the old one deleted through the handle. The
// name stands empty between the two moves: a program that makes the file then makes the
// move fail, and its file is read. The old file is set aside under the name of `temp`
// with ".old" for ".tmp" (`temp` may take another name for that): the pair tells a save
// that never finished (RestoreGroupsFileSetAside). `keptAside` is set when neither file
// could take the name: `temp`, or an empty file in its place, then stays as the mark.
BOOL ReplaceHeldFile(const std::string& path, std::string& temp, const GroupsFileState& read, bool& changed,
                     bool& keptAside, const std::function<void(const char*)>& replacing) {
    changed = keptAside = false;
    HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        changed = IsNoFile(error);  // gone since it was read
        ::SetLastError(error);
        return FALSE;
    }
    if (!HandleHolds(held, read)) {
        ::CloseHandle(held);
        changed = true;
        ::SetLastError(ERROR_SUCCESS);
        return FALSE;
    }
    // Not named as the temporary files are: the start removes those, and this one holds the
    // user's bytes until the new file has the name.
    BOOL ok = FALSE;
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; !ok && error == ERROR_FILE_EXISTS && attempt < 100; ++attempt) {
        const std::string other = attempt ? NameBeside(path, ".tmp") : temp;
        if (attempt && !::MoveFileExA(temp.c_str(), other.c_str(), 0)) {
            error = ::GetLastError();
            if (error == ERROR_ALREADY_EXISTS) error = ERROR_FILE_EXISTS;
            continue;
        }
        temp = other;
        ok = RenameHeld(held, SetAsideTwin(temp));
        error = ok ? 0 : ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS) error = ERROR_FILE_EXISTS;
    }
    if (ok) {
        if (replacing) replacing("set aside");
        ok = ::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
        if (ok && replacing) replacing("moved in");
        error = ok ? 0 : ::GetLastError();
        const bool clash = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        // The old file goes back to its name; when another program made a new one there,
        // it stays beside it: it holds groups the new one may lack.
        const bool back = !ok && RenameHeld(held, path);
        // The new bytes gone since they were read back (another copy's start took them for
        // a leftover): with the old file back, the save is simply made again.
        changed = clash || (back && NewBytesTaken(error, temp));
        if (!ok && !back && !clash) {
            keptAside = true;
            HANDLE mark = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                        nullptr);
            if (mark != INVALID_HANDLE_VALUE) ::CloseHandle(mark);
        }
    }
    FILE_DISPOSITION_INFO gone = {TRUE};
    if (ok) ::SetFileInformationByHandle(held, FileDispositionInfo, &gone, sizeof(gone));
    ::CloseHandle(held);
    ::SetLastError(error);
    return ok;
}

}  // namespace

IXMLDOMNode* CGroupsFile::CreateElement(const char* name) {
    if (!m_pDocument) return nullptr;
    VARIANT type;
    ::VariantInit(&type);
    type.vt = VT_I4;
    type.lVal = NODE_ELEMENT;
    Bstr elementName(name);
    Bstr noNamespace("");
    IXMLDOMNode* node = nullptr;
    if (FAILED(m_pDocument->createNode(type, elementName, noNamespace, &node))) return nullptr;
    return node;
}

BOOL CGroupsFile::SetAttribute(IXMLDOMNode* element, const char* name, const VARIANT& value) {
    if (!m_pDocument) return FALSE;
    Bstr attributeName(name);
    IXMLDOMAttribute* attribute = nullptr;
    if (FAILED(m_pDocument->createAttribute(attributeName, &attribute)) || !attribute) return FALSE;
    BOOL ok = SUCCEEDED(attribute->put_nodeValue(value));
    IXMLDOMNamedNodeMap* attributes = nullptr;
    if (ok) ok = SUCCEEDED(element->get_attributes(&attributes)) && attributes;
    IXMLDOMNode* previous = nullptr;
    if (ok) ok = SUCCEEDED(attributes->setNamedItem(attribute, &previous));
    if (previous) m_removedNodes += NodesIn(previous);
    Release(previous);
    Release(attributes);
    attribute->Release();
    return ok;
}

BOOL CGroupsFile::SetText(IXMLDOMNode* element, const std::string& text) {
    if (text.empty()) return TRUE;  // an empty keyword is an empty element
    Bstr value(text);
    return SUCCEEDED(element->put_text(value));
}

BOOL CGroupsFile::Insert(IXMLDOMNode* parent, IXMLDOMNode* node, IXMLDOMNode* before) {
    VARIANT reference;
    ::VariantInit(&reference);
    if (before) {
        reference.vt = VT_UNKNOWN;
        reference.punkVal = before;  // borrowed: not cleared
    }
    IXMLDOMNode* inserted = nullptr;
    const HRESULT hr = parent->insertBefore(node, reference, &inserted);
    Release(inserted);
    return SUCCEEDED(hr);
}

BOOL CGroupsFile::InsertLineFeed(IXMLDOMNode* parent, IXMLDOMNode* before) {
    Bstr lineFeed("\n");
    IXMLDOMText* text = nullptr;
    if (FAILED(m_pDocument->createTextNode(lineFeed, &text)) || !text) return FALSE;
    const BOOL ok = Insert(parent, text, before);
    text->Release();
    return ok;
}

// The node goes before `before` (at the end when null), on a line of its own: a line
// feed goes in front of it. The node goes in first: the document object joins a text
// node put next to another text node with it, so the line feed is put next to the node.
BOOL CGroupsFile::InsertLine(IXMLDOMNode* parent, IXMLDOMNode* node, IXMLDOMNode* before) {
    return Insert(parent, node, before) && InsertLineFeed(parent, node);
}

// The layout of the file is one element per line: a node added among elements gets a line
// of its own, at the end of its parent (before the line break that closes the parent's
// last line, or followed by one when the parent was empty).
BOOL CGroupsFile::InsertOnItsOwnLine(IXMLDOMNode* parent, IXMLDOMNode* node) {
    IXMLDOMNode* last = nullptr;
    if (parent->get_lastChild(&last) != S_OK) last = nullptr;
    BOOL ok;
    if (last && IsBlankText(last)) {
        ok = InsertLine(parent, node, last);
    } else {
        ok = InsertLine(parent, node, nullptr);
        if (ok && !last) ok = InsertLineFeed(parent, nullptr);
    }
    Release(last);
    return ok;
}

// A node removed takes the line break before it along, so that no empty line is left.
BOOL CGroupsFile::RemoveWithItsLine(IXMLDOMNode* parent, IXMLDOMNode* node) {
    IXMLDOMNode* previous = nullptr;
    if (node->get_previousSibling(&previous) != S_OK) previous = nullptr;
    const size_t nodes = NodesIn(node);
    IXMLDOMNode* removed = nullptr;
    BOOL ok = SUCCEEDED(parent->removeChild(node, &removed));
    Release(removed);
    if (ok) m_removedNodes += nodes;
    if (ok && previous && IsBlankText(previous)) {
        ok = SUCCEEDED(parent->removeChild(previous, &removed));
        Release(removed);
        if (ok) ++m_removedNodes;
    }
    Release(previous);
    return ok;
}

BOOL CGroupsFile::CheckWritable(const GroupEntry& group) {
    std::string fault = GroupsFileTextFault(group.Name);
    if (!fault.empty()) {
        m_status.writeError = "the name of the group \"" + ShownName(group.Name) + "\" holds " + fault +
                              ", which a groups file cannot hold";
        return FALSE;
    }
    for (const std::string& keyword : group.Keywords) {
        fault = GroupsFileTextFault(keyword);
        if (fault.empty()) continue;
        m_status.writeError = "a keyword of the group \"" + ShownName(group.Name) + "\" holds " + fault +
                              ", which a groups file cannot hold";
        return FALSE;
    }
    return TRUE;
}

BOOL CGroupsFile::SetId(IXMLDOMNode* element, int id) {
    if (IsRunOnlyId(id)) {
        // The file holds no Id for such a group: one the element held (not its own) goes.
        IXMLDOMNamedNodeMap* attributes = nullptr;
        if (FAILED(element->get_attributes(&attributes)) || !attributes) return FALSE;
        Bstr name("Id");
        IXMLDOMNode* removed = nullptr;
        const BOOL ok = SUCCEEDED(attributes->removeNamedItem(name, &removed));
        if (removed) m_removedNodes += NodesIn(removed);
        Release(removed);
        attributes->Release();
        return ok;
    }
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_UI4;
    value.ulVal = static_cast<ULONG>(id);
    return SetAttribute(element, "Id", value);
}

// Into `nameAttribute` when the name was read from one (it keeps its own spelling,
// "NAME"), else into a "Name" attribute of the element.
BOOL CGroupsFile::SetName(IXMLDOMNode* element, IXMLDOMNode* nameAttribute, const std::string& name) {
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = Bstr(name).Detach();
    BOOL ok = FALSE;
    if (value.bstrVal)
        ok = nameAttribute ? SUCCEEDED(nameAttribute->put_nodeValue(value)) : SetAttribute(element, "Name", value);
    ::VariantClear(&value);
    return ok;
}

IXMLDOMNode* CGroupsFile::NewGroupElement(const GroupEntry& group) {
    IXMLDOMNode* element = CreateElement("Group");
    if (!element) return nullptr;
    BOOL ok = SetId(element, group.Id) && SetName(element, nullptr, group.Name);
    for (size_t k = 0; ok && k < group.Keywords.size(); ++k) {
        IXMLDOMNode* keyword = CreateElement("Keyword");
        ok = keyword && SetText(keyword, group.Keywords[k]) && InsertOnItsOwnLine(element, keyword);
        Release(keyword);
    }
    if (!ok) Release(element);
    return element;
}

// Changes the element of a group the file holds into `wanted`: its Id when the file gave
// it none of its own, its name and its keywords, each only when it differs.
BOOL CGroupsFile::EditGroup(StoredGroup& stored, const GroupEntry& wanted) {
    BOOL ok = TRUE;
    if (stored.group.Id != wanted.Id) ok = SetId(stored.element, wanted.Id);
    if (ok && stored.group.Name != wanted.Name) ok = SetName(stored.element, stored.nameAttribute, wanted.Name);
    if (ok && stored.group.Keywords != wanted.Keywords)
        ok = EditKeywords(stored.element, stored.group.Keywords, wanted.Keywords);
    return ok;
}

namespace {

// Past this many pairs of keywords compared, the keywords between the first and the last
// that changed are all written anew: the table below takes this many cells.
const size_t kMaxKeywordPairs = 1 << 18;

// For each keyword wanted, the keyword read that it stays as (its index), or -1 for a new
// one: the most keywords both lists hold in the same order, so that a keyword that stays
// keeps its element as the file holds it (its attributes, a CDATA section, the comments
// beside it) however many keywords change around it.
std::vector<int> KeptKeywords(const std::vector<std::string>& from, const std::vector<std::string>& to) {
    std::vector<int> kept(to.size(), -1);
    size_t head = 0, tail = 0;
    while (head < from.size() && head < to.size() && from[head] == to[head]) {
        kept[head] = static_cast<int>(head);
        ++head;
    }
    while (tail < from.size() - head && tail < to.size() - head &&
           from[from.size() - 1 - tail] == to[to.size() - 1 - tail]) {
        kept[to.size() - 1 - tail] = static_cast<int>(from.size() - 1 - tail);
        ++tail;
    }
    const size_t n = from.size() - head - tail, m = to.size() - head - tail;
    if (n == 0 || m == 0 || n > kMaxKeywordPairs / m) return kept;
    // length[i][j]: the most keywords from[head + i ...] and to[head + j ...] hold in order.
    const size_t w = m + 1;
    std::vector<unsigned> length((n + 1) * w, 0);
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            length[i * w + j] = from[head + i] == to[head + j]
                                    ? length[(i + 1) * w + j + 1] + 1
                                    : std::max(length[(i + 1) * w + j], length[i * w + j + 1]);
    for (size_t i = 0, j = 0; i < n && j < m;) {
        if (from[head + i] == to[head + j]) {
            kept[head + j] = static_cast<int>(head + i);
            ++i;
            ++j;
        } else if (length[(i + 1) * w + j] >= length[i * w + j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    return kept;
}

}  // namespace

// The keywords that stay stay as the elements they are (KeptKeywords); the others are
// removed and the new ones put where they belong among those that stay: adding a keyword
// adds one element, deleting one removes one.
BOOL CGroupsFile::EditKeywords(IXMLDOMNode* element, const std::vector<std::string>& from,
                               const std::vector<std::string>& to) {
    std::vector<IXMLDOMNode*> keywords;  // as many as `from`, in its order (that is how it was read)
    ForEachChildNamed(element, L"Keyword", [&](IXMLDOMNode*& child) {
        keywords.push_back(child);
        child = nullptr;  // kept
    });
    BOOL ok = keywords.size() == from.size();
    const std::vector<int> kept = KeptKeywords(from, to);
    std::vector<bool> stays(from.size(), false);
    for (int i : kept)
        if (i >= 0) stays[i] = true;
    for (size_t i = 0; ok && i < from.size(); ++i)
        if (!stays[i]) ok = RemoveWithItsLine(element, keywords[i]);
    // A run of new keywords goes before the line of the next keyword that stays, after
    // the last that stayed before it, or at the end of the group; every keyword of the run
    // goes before the same node, so that they keep their order.
    IXMLDOMNode* before = nullptr;
    bool inRun = false;
    int lastKept = -1;
    for (size_t j = 0; ok && j < to.size(); ++j) {
        if (kept[j] >= 0) {
            lastKept = kept[j];
            inRun = false;
            Release(before);
            continue;
        }
        if (!inRun) {
            inRun = true;
            size_t next = j;
            while (next < to.size() && kept[next] < 0) ++next;
            if (next < to.size()) {
                IXMLDOMNode* stay = keywords[kept[next]];
                if (stay->get_previousSibling(&before) != S_OK || !before || !IsBlankText(before)) {
                    Release(before);
                    before = stay;
                    stay->AddRef();
                }
            } else if (lastKept >= 0) {
                if (keywords[lastKept]->get_nextSibling(&before) != S_OK) before = nullptr;
            }
        }
        IXMLDOMNode* keyword = CreateElement("Keyword");
        ok = keyword && SetText(keyword, to[j]);
        if (ok) ok = before ? InsertLine(element, keyword, before) : InsertOnItsOwnLine(element, keyword);
        Release(keyword);
    }
    Release(before);
    for (IXMLDOMNode* keyword : keywords) keyword->Release();
    return ok;
}

BOOL CGroupsFile::WriteGroups(CGroupManager* manager, const std::vector<GroupEntry>* ids) {
    if (!m_pDocument || !m_pGroups || !manager) return FALSE;
    m_readFrom = BytesDigest();  // the document is the file's reading no more
    std::map<int, const GroupEntry*> wanted;
    for (const GroupEntry* group : manager->m_Groups) {
        if (group->BuiltIn == 1) continue;
        if (!CheckWritable(*group)) return FALSE;
        wanted[group->Id] = group;
    }
    const bool byPlace = ids && ids->size() == m_groups.size();
    // Without the Ids of the program, a group the file gave no Id of its own is the
    // manager's group of the same name and keywords whose Id the file does not hold.
    std::multimap<std::string, const GroupEntry*> unnumbered;
    if (!byPlace) {
        std::set<int> inFile;
        for (const StoredGroup& stored : m_groups) inFile.insert(stored.group.Id);
        for (const auto& group : wanted)
            if (!inFile.count(group.first)) unnumbered.insert({group.second->Name, group.second});
    }
    auto unnumberedId = [&](const GroupEntry& read) {
        auto range = unnumbered.equal_range(read.Name);
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second->Keywords != read.Keywords) continue;
            const int id = it->second->Id;
            unnumbered.erase(it);
            return id;
        }
        return 0;
    };
    m_written.clear();
    std::vector<int> idsRead;
    idsRead.reserve(m_groups.size());
    for (const StoredGroup& stored : m_groups) idsRead.push_back(stored.group.Id);
    std::set<int> placed;
    BOOL ok = TRUE;
    for (size_t i = 0; ok && i < m_groups.size(); ++i) {
        StoredGroup& stored = m_groups[i];
        const int id = byPlace ? (*ids)[i].Id : stored.group.Id ? stored.group.Id : unnumberedId(stored.group);
        std::map<int, const GroupEntry*>::const_iterator it = id > 0 ? wanted.find(id) : wanted.end();
        if (it == wanted.end() || !placed.insert(id).second) {
            ok = RemoveWithItsLine(m_pGroups, stored.element);
            continue;
        }
        ok = EditGroup(stored, *it->second);
        m_written.push_back(*it->second);
    }
    for (const GroupEntry* group : manager->m_Groups) {
        if (!ok || group->BuiltIn == 1 || placed.count(group->Id)) continue;
        IXMLDOMNode* element = NewGroupElement(*group);
        ok = element && InsertOnItsOwnLine(m_pGroups, element);
        Release(element);
        m_written.push_back(*group);
    }
    if (ok) ok = KeepGivenIds(idsRead, manager->LowestIdGivenDownwards());
    // The elements now stand for other groups than those read: they are not used again.
    for (StoredGroup& stored : m_groups) {
        Release(stored.element);
        Release(stored.nameAttribute);
    }
    m_groups.clear();
    return ok;
}

// The largest Id the file ever held, and its lowest top Id, stay in it while no group
// holds them (see the top of groups_file.h): "LastId" only grows and "LowestTopId" only
// goes down, and neither is touched while it says enough or a group holds that Id. An Id
// given here but never written is known to no other copy and needs no keeping: every Id
// that leaves the file leaves it at a save that read it. Two Ids leave no trace in the
// groups the file holds, and are kept as they come: a "LastId" that was a top Id (the file
// held that Id) when a larger one takes its place, and an Id given downwards below the top
// half (`givenDownwards`), which no group's Id tells from one given upwards. The largest
// Id given upwards, below the top ones, is what tells that every Id below it counts as
// given: when no group holds it any more, "LastId" keeps it, and a top Id that would take
// its place there is kept by "LowestTopId" instead, as every Id from that one up.
BOOL CGroupsFile::KeepGivenIds(const std::vector<int>& idsRead, int givenDownwards) {
    const int kNone = kMaxGroupId + 1;
    // Given upwards: below the top half and below every Id the file says it gave downwards.
    auto upwards = [&](int id) {
        return id > 0 && id < kFirstTopGroupId && (m_lowestTopId == 0 || id < m_lowestTopId) &&
               (givenDownwards <= 0 || id < givenDownwards);
    };
    int largestHeld = 0, lowestTopHeld = kNone, upwardsHeld = 0;
    std::set<int> held;  // every Id the file holds now
    auto hold = [&](int id) {
        held.insert(id);
        if (IsRunOnlyId(id)) return;  // written without an Id
        largestHeld = std::max(largestHeld, id);
        if (id >= kFirstTopGroupId) lowestTopHeld = std::min(lowestTopHeld, id);
        if (upwards(id)) upwardsHeld = std::max(upwardsHeld, id);
    };
    for (const GroupEntry& group : m_written) hold(group.Id);
    for (int id : m_otherIds) hold(id);
    int largest = largestHeld, lowestTop = lowestTopHeld, largestUpwards = upwardsHeld;
    for (int id : idsRead) {
        largest = std::max(largest, id);
        if (id >= kFirstTopGroupId) lowestTop = std::min(lowestTop, id);
        if (upwards(id)) largestUpwards = std::max(largestUpwards, id);
    }
    if (upwards(m_lastId)) largestUpwards = std::max(largestUpwards, m_lastId);
    if (m_lastId >= kFirstTopGroupId) lowestTop = std::min(lowestTop, m_lastId);
    if (givenDownwards > 0) lowestTop = std::min(lowestTop, givenDownwards);
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_UI4;
    // Only "LastId" can say how far Ids were given upwards: it says that rather than a top Id.
    const int lastIdRead = m_lastId;
    const int lastId = largestUpwards > upwardsHeld ? largestUpwards
                       : largest > largestHeld && largest > m_lastId ? largest
                                                                     : m_lastId;
    if (lastId != m_lastId) {
        value.ulVal = static_cast<ULONG>(lastId);
        if (!SetAttribute(m_pGroups, "LastId", value)) return FALSE;
        m_lastId = lastId;
    }
    // The next read takes the largest Id given for a top Id held too. When neither a group
    // nor "LastId" holds the largest Id given any more, "LowestTopId" is what stops the next
    // run giving Ids upwards from the largest it sees.
    if (m_lastId >= kFirstTopGroupId) lowestTopHeld = std::min(lowestTopHeld, m_lastId);
    const bool largestUnheld = std::max(largest, lastIdRead) > std::max(largestHeld, m_lastId);
    // A top Id that leaves the file and that "LastId" does not keep is kept by the record
    // itself: a lower top Id the file still holds counts it as given only while its group
    // stays, and another program may delete that group without a trace.
    bool topLeft = false;
    for (int id : idsRead) topLeft = topLeft || (id >= kFirstTopGroupId && !held.count(id) && id != m_lastId);
    if ((lowestTop < lowestTopHeld || ((largestUnheld || topLeft) && lowestTop < kNone)) &&
        (m_lowestTopId == 0 || lowestTop < m_lowestTopId)) {
        value.ulVal = static_cast<ULONG>(lowestTop);
        if (!SetAttribute(m_pGroups, "LowestTopId", value)) return FALSE;
        m_lowestTopId = lowestTop;
    }
    return TRUE;
}

namespace {

// The document as UTF-8 XML, written by the program itself: the document object's own
// serialisation (save, xml) keeps memory the size of the document alive at each call under
// some systems, which would grow the program by that much at every change of the groups.
// Everything the reader keeps is written: elements, attributes in order, text, CDATA
// sections, comments and processing instructions, with its own UTF-8 declaration in
// place of whatever the file declared (the bytes are UTF-8, and a declaration of another
// encoding over them would make the next read take them for something else).
//
// The writing also reads the groups as a load will read them from its bytes (Reading):
// each name, keyword and Id goes out as the very text it reads, and every construct is
// written in the form the parser gives back as it was (markup and the white space the
// parser would change as references, UTF-8 converted exactly, no character XML cannot
// hold, no comment, CDATA section or instruction that its own text would end early;
// anything else makes no bytes at all). So the bytes read back as that reading without a
// parse. Namespace declarations are an exception (their text is the document object's), and
// so is a text or value too long for every parser to take (kMaxVouchedValueBytes):
// Vouched() is false then, and the bytes are to be parsed to know what they read as.
class DocumentText {
public:
    // The longest text or attribute value, as written, whose reading the writing vouches for.
    static const size_t kMaxVouchedValueBytes = 1000000;

    bool Document(IXMLDOMDocument* document) {
        m_out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
        ForEachChild(document, [&](IXMLDOMNode*& child) {
            if (TypeOf(child) == NODE_PROCESSING_INSTRUCTION && NameOf(child) == "xml") return;
            Node(child, Place::Document);
            m_out += "\n";
        });
        return m_ok;
    }
    std::string& Bytes() { return m_out; }
    // Whether Reading() is what the bytes read as (see above).
    bool Vouched() const { return m_vouched; }
    const GroupsReading& Reading() const { return m_reading; }
    // The nodes written, counted as NodesIn counts them.
    size_t Nodes() const { return m_nodes; }

private:
    // Where an element stands, as the reader looks for the groups: the document, its root
    // "NimboPurgelet", a groups element "Purgelet" of the root, a "Group" in it, elsewhere.
    enum class Place { Document, Root, Groups, Group, Elsewhere };

    void Node(IXMLDOMNode* node, Place parent) {
        ++m_nodes;
        switch (TypeOf(node)) {
        case NODE_ELEMENT: Element(node, parent); break;
        case NODE_TEXT: EscapedText(node); break;
        case NODE_CDATA_SECTION: Enclosed(node, "<![CDATA[", L"]]>", "]]>", false); break;
        case NODE_COMMENT: Enclosed(node, "<!--", L"--", "-->", true); break;
        case NODE_PROCESSING_INSTRUCTION: {
            const std::wstring data = Value(node);
            if (data.find(L"?>") != std::wstring::npos || !Legal(data.data(), data.size())) m_ok = false;
            m_out += "<?" + NameOf(node) + (data.empty() ? "" : " " + Utf8(data)) + "?>";
            break;
        }
        default: m_ok = false; break;  // nothing else comes out of a file the probe let through
        }
    }

    // A comment or CDATA section: its text as it is, which must not hold its own end
    // (`inner`), nor end with a hyphen in a comment.
    void Enclosed(IXMLDOMNode* node, const char* open, const wchar_t* inner, const char* close, bool comment) {
        const std::wstring text = Value(node);
        if (text.find(inner) != std::wstring::npos || (comment && !text.empty() && text.back() == L'-')) m_ok = false;
        if (!Legal(text.data(), text.size())) m_ok = false;
        m_out += open;
        m_out += Utf8(text);
        m_out += close;
    }

    static Place PlaceOf(Place parent, const std::string& name) {
        if (parent == Place::Document && name == kRootName) return Place::Root;
        if (parent == Place::Root && name == kGroupsName) return Place::Groups;
        if (parent == Place::Groups && name == "Group") return Place::Group;
        return Place::Elsewhere;
    }

    void Element(IXMLDOMNode* element, Place parent) {
        const std::string name = NameOf(element);
        const Place place = PlaceOf(parent, name);
        GroupReading group;
        if (place == Place::Root) {
            m_reading.read = true;
        } else if (place == Place::Groups) {
            // The last groups element holds the groups.
            m_reading = GroupsReading();
            m_reading.read = true;
        } else if (place == Place::Group) {
            m_group = &group;
        }
        // A keyword's text, as get_text gives it: a keyword element holds one text node as
        // a rule, whose value is written anyway.
        const bool keyword = parent == Place::Group && name == "Keyword" && m_group && m_group->exact;
        BSTR text = nullptr;
        int children = 0;
        bool onlyText = false;
        m_out += '<';
        m_out += name;
        Attributes(element, place);
        IXMLDOMNode* first = nullptr;
        if (element->get_firstChild(&first) != S_OK || !first) {
            m_out += "/>";
        } else {
            m_out += '>';
            ForEachSibling(first, [&](IXMLDOMNode*& child) {
                onlyText = keyword && ++children == 1 && TypeOf(child) == NODE_TEXT;
                if (onlyText) {
                    ++m_nodes;
                    EscapedText(child, &text);
                } else {
                    Node(child, place);
                }
            });
            m_out += "</";
            m_out += name;
            m_out += '>';
        }
        bool read = keyword;
        if (keyword && children != 0 && !onlyText) {
            ::SysFreeString(text);
            text = nullptr;
            read = SUCCEEDED(element->get_text(&text));  // a keyword whose text fails is not read
        }
        if (read) m_group->Keyword(text ? text : L"", text ? ::SysStringLen(text) : 0);
        ::SysFreeString(text);
        if (place == Place::Group) {
            m_group = nullptr;
            if (m_reading.Take(group)) m_reading.groups.push_back(std::move(group.group));
        }
    }

    void Attributes(IXMLDOMNode* element, Place place) {
        IXMLDOMNamedNodeMap* map = nullptr;
        long count = 0;
        if (FAILED(element->get_attributes(&map)) || !map || FAILED(map->get_length(&count))) count = 0;
        Release(map);
        if (count == 0) return;
        long listed = 0;
        m_attributes.clear();
        m_nodes += 2 * static_cast<size_t>(count);
        ForEachAttribute(element, [&](BSTR name, IXMLDOMNode* attribute) {
            ++listed;
            m_attributes += " " + Utf8(std::wstring(name, ::SysStringLen(name))) + "=\"";
            BSTR text = AttributeText(attribute);
            if (place == Place::Group) m_group->Attribute(name, text);
            if (place == Place::Groups && NameIs(name, L"LastId")) m_reading.lastId = IdFromText(text);
            if (place == Place::Groups && NameIs(name, L"LowestTopId")) m_reading.lowestTopId = IdFromText(text);
            std::swap(m_out, m_attributes);
            Escaped(text ? text : L"", text ? ::SysStringLen(text) : 0, true);
            std::swap(m_out, m_attributes);
            ::SysFreeString(text);
            m_attributes += "\"";
        });
        // Namespace declarations are attributes the query does not list (count - listed
        // of them): they are taken from the element's start tag as the document object
        // writes it alone.
        if (listed < count) {
            m_vouched = false;
            m_out += OwnDeclarations(element, count - listed);
        }
        m_out += m_attributes;
        m_attributes.clear();
    }

    // The first `own` namespace declarations of the start tag of a child-less copy of the
    // element (so that what the document object keeps is one element's worth). The copy
    // stands alone: after the element's own declarations it declares again every prefix
    // the element or its attributes use from higher up, which the file does not hold here
    // and which would add a node at every save.
    std::string OwnDeclarations(IXMLDOMNode* element, long own) {
        IXMLDOMNode* copy = nullptr;
        BSTR xml = nullptr;
        if (FAILED(element->cloneNode(VARIANT_FALSE, &copy)) || !copy || FAILED(copy->get_xml(&xml)) || !xml) {
            Release(copy);
            m_ok = false;
            return std::string();
        }
        copy->Release();
        const std::wstring tag(xml, ::SysStringLen(xml));
        ::SysFreeString(xml);
        // "<name attributes/>" or "<name attributes>": the attributes as name="value",
        // each value quoted and escaped by the document object.
        std::string declarations;
        size_t at = tag.find_first_of(L" \t\r\n");
        while (own > 0 && at != std::wstring::npos) {
            at = tag.find_first_not_of(L" \t\r\n", at);
            if (at == std::wstring::npos || tag[at] == L'>' || tag[at] == L'/') break;
            const size_t equals = tag.find(L'=', at);
            const size_t open = equals == std::wstring::npos ? equals : tag.find_first_of(L"\"'", equals);
            const size_t close = open == std::wstring::npos ? open : tag.find(tag[open], open + 1);
            if (close == std::wstring::npos) break;
            const std::wstring name = tag.substr(at, tag.find_last_not_of(L" \t\r\n", equals - 1) + 1 - at);
            if (name == L"xmlns" || name.compare(0, 6, L"xmlns:") == 0) {
                declarations += " " + Utf8(name) + "=" + Utf8(tag.substr(open, close + 1 - open));
                --own;
            }
            at = close + 1;
        }
        if (own > 0) m_ok = false;  // fewer than the element holds: no file rather than a wrong one
        return declarations;
    }

    // Whether XML can hold every character of the text, not even as a reference: no control
    // character but tab, line feed and carriage return, no U+FFFE or U+FFFF. (A surrogate
    // without its pair fails the conversion to UTF-8.)
    static bool Legal(const wchar_t* text, size_t length) {
        for (size_t i = 0; i < length; ++i) {
            const wchar_t c = text[i];
            if ((c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') || c == 0xFFFE || c == 0xFFFF) return false;
        }
        return true;
    }

    // Plain ASCII goes out as it is, markup as references, and each run of other
    // characters through one conversion (a surrogate pair stays within its run).
    void Escaped(const wchar_t* text, size_t length, bool attribute) {
        const size_t start = m_out.size();
        for (size_t i = 0; i < length;) {
            const wchar_t c = text[i];
            if (c >= 0x80) {
                size_t end = i + 1;
                while (end < length && text[end] >= 0x80) ++end;
                if (!Legal(text + i, end - i)) m_ok = false;
                AppendUtf8(m_out, text + i, end - i);
                i = end;
                continue;
            }
            if (c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') m_ok = false;
            switch (c) {
            case L'&': m_out += "&amp;"; break;
            case L'<': m_out += "&lt;"; break;
            case L'>': m_out += "&gt;"; break;
            case L'\r': m_out += "&#13;"; break;
            case L'"': m_out += attribute ? "&quot;" : "\""; break;
            case L'\t': m_out += attribute ? "&#9;" : "\t"; break;
            case L'\n': m_out += attribute ? "&#10;" : "\n"; break;
            default: m_out += static_cast<char>(c); break;
            }
            ++i;
        }
        // Some parsers refuse a value of ten million bytes or more as not well-formed: only
        // the parse of the bytes can tell whether a value that long reads back.
        if (m_out.size() - start > kMaxVouchedValueBytes) m_vouched = false;
    }
    // A text node's value, escaped; `keep`, when given, receives the value (the caller frees it).
    void EscapedText(IXMLDOMNode* node, BSTR* keep = nullptr) {
        VARIANT value;
        ::VariantInit(&value);
        if (SUCCEEDED(node->get_nodeValue(&value)) && value.vt == VT_BSTR && value.bstrVal) {
            Escaped(value.bstrVal, ::SysStringLen(value.bstrVal), false);
            if (keep) {
                *keep = value.bstrVal;
                value.vt = VT_EMPTY;
            }
        }
        ::VariantClear(&value);
    }

    static std::wstring Value(IXMLDOMNode* node) {
        VARIANT value;
        ::VariantInit(&value);
        std::wstring text;
        if (SUCCEEDED(node->get_nodeValue(&value)) && value.vt == VT_BSTR && value.bstrVal)
            text.assign(value.bstrVal, ::SysStringLen(value.bstrVal));
        ::VariantClear(&value);
        return text;
    }
    std::string NameOf(IXMLDOMNode* node) {
        BSTR name = nullptr;
        std::string text;
        if (SUCCEEDED(node->get_nodeName(&name)) && name) AppendUtf8(text, name, ::SysStringLen(name));
        ::SysFreeString(name);
        return text;
    }
    std::string Utf8(const std::wstring& text) {
        std::string out;
        AppendUtf8(out, text.data(), text.size());
        return out;
    }
    // Appends the UTF-8 form of the text: ASCII as it is, the rest through the system.
    void AppendUtf8(std::string& out, const wchar_t* text, size_t length) {
        size_t ascii = 0;
        while (ascii < length && text[ascii] < 0x80) ++ascii;
        for (size_t i = 0; i < ascii; ++i) out += static_cast<char>(text[i]);
        if (ascii == length) return;
        text += ascii;
        const int units = static_cast<int>(length - ascii);
        // A surrogate without its pair has no UTF-8 form: the write is refused rather than
        // given a replacement character.
        const DWORD kExact = WC_ERR_INVALID_CHARS;
        const int bytes = ::WideCharToMultiByte(CP_UTF8, kExact, text, units, nullptr, 0, nullptr, nullptr);
        const size_t at = out.size();
        out.resize(at + (bytes > 0 ? bytes : 0));
        if (bytes <= 0 ||
            ::WideCharToMultiByte(CP_UTF8, kExact, text, units, &out[at], bytes, nullptr, nullptr) != bytes)
            m_ok = false;
    }

    std::string m_out;
    std::string m_attributes;
    bool m_ok = true;
    bool m_vouched = true;
    size_t m_nodes = 0;
    GroupReading* m_group = nullptr;  // the group whose element is being written
    GroupsReading m_reading;
};

}  // namespace

namespace {

const char kReadsOtherwise[] = "the new file would not read back as the groups: ";
// A kept reading serves the next save while the nodes taken out of it stay within this
// part of those it holds (one in so many).
const size_t kRemovedNodesShare = 256;

}  // namespace

BOOL CGroupsFile::WriteDocument() {
    // Written next to the file and moved over it only when complete and known to read
    // back as the groups, so that a failed write never costs the user the groups stored
    // before.
    // The user's read-only flag is honoured: such a file is never replaced.
    const DWORD attributes = ::GetFileAttributesA(m_path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        m_status.writeError = "a folder has its name";
        return FALSE;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        m_status.writeError = "the file is read-only";
        return FALSE;
    }
    DocumentText text;
    if (!text.Document(m_pDocument)) {
        m_status.writeError = "the new file could not be made";
        return FALSE;
    }
    // (What WriteGroups kept of the document went with the groups it edited.)
    Release(m_pGroups);
    const std::string& bytes = text.Bytes();
    // What the bytes read as is known from their writing where it vouches for it: the look a
    // load takes before the parser, and the groups, are checked before anything is written.
    std::string fault;
    if (text.Vouched()) fault = ProbeFault(bytes);
    if (text.Vouched() && fault.empty()) fault = ReadingFault(text.Reading());
    if (!fault.empty()) {
        m_status.writeError = kReadsOtherwise + fault;
        return FALSE;
    }
    // Otherwise the bytes are parsed once written: the document's memory goes first.
    if (!text.Vouched()) Release(m_pDocument);
    std::string temp;
    HANDLE file = CreateTemporaryFile(m_path, temp);
    if (file == INVALID_HANDLE_VALUE) {
        m_status.writeError = SystemErrorText(::GetLastError());
        return FALSE;
    }
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    DWORD error = ok ? 0 : ::GetLastError();
    if (ok && !::FlushFileBuffers(file)) {
        ok = FALSE;
        error = ::GetLastError();
    }
    ::CloseHandle(file);
    if (!ok) {
        m_status.writeError = "the new file could not be written";
        if (error) m_status.writeError += " (" + SystemErrorText(error) + ")";
        ::DeleteFileA(temp.c_str());
        return FALSE;
    }

    IXMLDOMDocument* readBack = nullptr;
    BytesDigest digest;
    fault = WrittenFault(temp, bytes, &readBack, &digest);
    if (!fault.empty()) {
        m_status.writeError = kReadsOtherwise + fault;
        ::DeleteFileA(temp.c_str());
        return FALSE;
    }
    bool noted = false, undone = true;
    if (m_beforeReplace) {
        GroupsFileState to;
        to.exists = to.readable = true;
        AddToState(to, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        m_beforeReplace(m_state, to);
        noted = true;
    }
    // Only the bytes read are replaced: what another program wrote since is read first.
    bool changed = false, keptAside = false;
    if (m_state.exists) {
        ok = ReplaceHeldFile(m_path, temp, m_state, changed, keptAside, m_replacing);
        error = ok ? 0 : ::GetLastError();
        // The write did not take the name: its note goes before the put-back below deletes
        // the new bytes, which say until then that it did not.
        if (!ok && noted) undone = !m_replaceUndone || m_replaceUndone();
        noted = ok;
        // The user's groups are only in the file set aside: put back as soon as the name
        // takes it, here or at the next open of the file.
        if (keptAside) RestoreGroupsFileSetAside(m_path);
        // Moved in, the new file has attributes of its own: the old file's are put back.
        const DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        const DWORD now = ok ? ::GetFileAttributesA(m_path.c_str()) : INVALID_FILE_ATTRIBUTES;
        if (attributes != INVALID_FILE_ATTRIBUTES && now != INVALID_FILE_ATTRIBUTES &&
            (now & kKept) != (attributes & kKept)) {
            const DWORD wanted = (now & ~kKept & ~FILE_ATTRIBUTE_NORMAL) | (attributes & kKept);
            ::SetFileAttributesA(m_path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL);
        }
    } else {
        // Found missing: moved in, never over a file another program made since.
        ok = ::MoveFileExA(temp.c_str(), m_path.c_str(), MOVEFILE_WRITE_THROUGH);
        error = ok ? 0 : ::GetLastError();
        changed = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS || (!ok && NewBytesTaken(error, temp));
    }
    // The write did not take the name: what was noted of it goes while its bytes still lie
    // beside the file. Where the note could not go, they stay there to tell the next start.
    if (!ok && noted) undone = !m_replaceUndone || m_replaceUndone();
    if (!ok && changed) {
        m_status.changedSinceRead = true;
        m_status.writeError = "another program changed it while it was being written";
        if (undone) ::DeleteFileA(temp.c_str());
        Release(readBack);
        return FALSE;
    }
    if (!ok) {
        m_status.writeError = SystemErrorText(error);
        // Held by another program: to be tried again, as a file in use at the read is.
        if (IsHeldByAnother(error)) {
            m_status.kind = GroupsFileStatus::InUse;
            m_status.reason = m_status.writeError;
            m_status.writeError = "it is in use by another program (" + m_status.reason + ")";
        }
        const std::string aside = SetAsideTwin(temp);
        if (keptAside && ::GetFileAttributesA(aside.c_str()) != INVALID_FILE_ATTRIBUTES)
            m_status.writeError += "; it was set aside as " + aside + " and goes back to its name at the next change "
                                   "or start";
        if (!keptAside && undone) ::DeleteFileA(temp.c_str());
        Release(readBack);
        return FALSE;
    }
    m_state = GroupsFileState();
    m_state.exists = m_state.readable = true;
    AddToState(m_state, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    // The document object may keep the nodes a save takes out of the document for as long
    // as the document lives (Wine's does), so a reading kept from save to save would grow by
    // every group and keyword deleted in the run. Once they pass a small share of what it
    // holds, the next save reads the file afresh: in time that share pays for the parse.
    if (readBack && m_removedNodes <= text.Nodes() / kRemovedNodesShare)
        KeepDocument(m_path, m_state, digest.known ? digest : DigestOf(bytes), readBack, m_removedNodes);
    Release(readBack);
    return TRUE;
}

// Why the file written to `temp` does not read back exactly as written, or "". When it
// holds exactly `bytes`, `readBack` receives the document that reads as them (a reference
// the caller releases): the one written, when the writing vouched for what its bytes read
// as (it is still held then), else the parse of the file, and then `digest` the digest of
// the bytes that parse read (they are not hashed twice). A file that holds other bytes is
// parsed too, so that the reason says what would read back otherwise.
std::string CGroupsFile::WrittenFault(const std::string& temp, const std::string& bytes,
                                      IXMLDOMDocument** readBack, BytesDigest* digest) {
    if (m_pDocument && FileHolds(temp, bytes)) {
        *readBack = m_pDocument;
        m_pDocument = nullptr;
        return std::string();
    }
    Release(m_pDocument);
    m_removedNodes = 0;  // a reading of its own
    const std::string fault = ReadBackFault(temp, bytes, readBack, digest);
    return fault.empty() && !*readBack ? "it holds other bytes than were written" : fault;
}

// Why the file written to `temp` does not read back as the groups meant, or "", by a parse
// of it. When it reads back and holds exactly `bytes`, the document it read is given back
// in `readBack` (a reference the caller releases), as the reading of those bytes, with
// their digest in `digest`.
std::string CGroupsFile::ReadBackFault(const std::string& temp, const std::string& bytes,
                                       IXMLDOMDocument** readBack, BytesDigest* digest) {
    CGroupsFile check;
    if (!check.Open(temp.c_str())) return "it could not be read again";
    if (check.Status().kind != GroupsFileStatus::Read)
        return check.Status().reason.empty() ? std::string("it could not be read again") : check.Status().reason;
    GroupsReading read;
    read.read = true;
    for (const StoredGroup& stored : check.m_groups) read.groups.push_back(stored.group);
    read.unshown = check.m_unshown;
    read.lastId = check.m_lastId;
    read.lowestTopId = check.m_lowestTopId;
    const std::string fault = ReadingFault(read);
    if (!fault.empty()) return fault;
    if (FileHolds(temp, bytes)) {
        *readBack = check.m_pDocument;
        check.m_pDocument->AddRef();
        *digest = check.m_readFrom;
    }
    return std::string();
}

// Why groups read as `read` are not the groups WriteGroups meant, or "".
std::string CGroupsFile::ReadingFault(const GroupsReading& reading) const {
    if (!reading.read) return "it could not be read as groups";
    if (reading.groups.size() != m_written.size())
        return "it holds " + std::to_string(reading.groups.size()) + " groups the program shows, not " +
               std::to_string(m_written.size());
    if (reading.unshown != m_unshown) return "the groups this system's code page cannot show would change";
    if (reading.lastId != m_lastId)
        return "the largest Id given (" + std::to_string(m_lastId) + ") would read back as " +
               std::to_string(reading.lastId);
    if (reading.lowestTopId != m_lowestTopId)
        return "the lowest top Id given (" + std::to_string(m_lowestTopId) + ") would read back as " +
               std::to_string(reading.lowestTopId);
    for (size_t i = 0; i < m_written.size(); ++i) {
        const GroupEntry& read = reading.groups[i];
        const GroupEntry& meant = m_written[i];
        const std::string group = "the group \"" + ShownName(meant.Name) + "\"";
        if (read.Id != (IsRunOnlyId(meant.Id) ? 0 : meant.Id))
            return group + (read.Id ? " would read back with the Id " + std::to_string(read.Id)
                                    : std::string(" would read back without an Id")) +
                   ", not " + std::to_string(meant.Id);
        if (read.Name != meant.Name) return group + " would read back as \"" + ShownName(read.Name) + "\"";
        if (read.Keywords != meant.Keywords) return "the keywords of " + group + " would read back otherwise";
    }
    return std::string();
}

BOOL CGroupsFile::Save() {
    if (!m_pDocument || !m_pGroups || m_path.empty()) return FALSE;
    m_readFrom = BytesDigest();
    if (!m_bGroupsAttached) {
        IXMLDOMElement* root = nullptr;
        if (FAILED(m_pDocument->get_documentElement(&root)) || !root) return FALSE;
        const BOOL ok = InsertOnItsOwnLine(root, m_pGroups);
        root->Release();
        if (!ok) return FALSE;
        m_bGroupsAttached = true;
    }
    return WriteDocument();
}
