#include <set>
#include <utility>
#include "catalogue/ansi_text.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file_dom.h"

// The reader: the file's document as the parser gives it, and the groups in it that the
// program shows.

using namespace groupsfile;

BOOL CGroupsFile::StartEmptyDocument() {
    std::string text = std::string("<") + kRootName + " Version=\"1.1\">\n<" + kGroupsName + ">\n</" + kGroupsName +
                       ">\n</" + kRootName + ">";
    Bstr xml(text);
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (FAILED(m_pDocument->loadXML(xml, &ok)) || ok != VARIANT_TRUE) return FALSE;
    IXMLDOMElement* root = nullptr;
    if (FAILED(m_pDocument->get_documentElement(&root)) || !root) return FALSE;
    ForEachChildNamed(root, L"Purgelet", [&](IXMLDOMNode*& child) {
        Release(m_pGroups);
        m_pGroups = child;
        child = nullptr;
    });
    root->Release();
    m_bGroupsAttached = true;
    return m_pGroups != nullptr;
}

BOOL CGroupsFile::Open(const char* path) {
    ::CoInitialize(nullptr);
    ForgetGroups();
    Release(m_pGroups);
    Release(m_pDocument);
    m_bGroupsAttached = false;
    m_removedNodes = 0;
    m_status = GroupsFileStatus();
    m_state = GroupsFileState();
    m_pDocument = CreateDocument();
    if (!m_pDocument) return FALSE;

    m_path = path ? path : "";
    // A save of this program that set the file aside and could not put it back: the
    // user's groups go back to their name before anything is read or written there. Until
    // they can, the file is in use: a save would write the groups here over its empty name.
    std::string notBack;
    RestoreGroupsFileSetAside(m_path, &notBack);
    if (!notBack.empty()) {
        m_status.kind = GroupsFileStatus::InUse;
        m_status.reason = notBack;
        m_state.exists = true;
        return StartEmptyDocument();
    }
    IXMLDOMNode* root = nullptr;
    HANDLE held = INVALID_HANDLE_VALUE;
    m_readFrom = BytesDigest();
    if (IXMLDOMDocument* kept = TakeKeptDocument(m_path, &m_state, &m_readFrom, &m_removedNodes)) {
        // The file holds what the last save here wrote and read back: that reading serves.
        m_pDocument->Release();
        m_pDocument = kept;
        Bstr rootName(kRootName);
        if (FAILED(m_pDocument->selectSingleNode(rootName, &root))) return FALSE;
        if (root) m_status.kind = GroupsFileStatus::Read;
    } else if (ProbeFile(m_path, m_status, m_state, held, &m_readFrom)) {
        VARIANT source;
        ::VariantInit(&source);
        source.vt = VT_BSTR;
        source.bstrVal = Bstr(m_path).Detach();
        VARIANT_BOOL loaded = VARIANT_FALSE;
        HRESULT hr = m_pDocument->load(source, &loaded);
        ::VariantClear(&source);
        // The parser has read the bytes the probe saw; others may write the file again.
        ::CloseHandle(held);
        if (SUCCEEDED(hr) && loaded == VARIANT_TRUE) {
            Bstr rootName(kRootName);
            hr = m_pDocument->selectSingleNode(rootName, &root);
            if (FAILED(hr)) return FALSE;
            if (!root) NoteForeignRoot();
            else m_status.kind = GroupsFileStatus::Read;
        } else {
            NoteParseError();
        }
    }
    if (!root) {
        m_readFrom = BytesDigest();
        // Missing, not well-formed, or somebody else's XML: start afresh in memory. The
        // groups already in memory stay; whether the file may be replaced is the save's
        // question (see CGroupManager::Save).
        return StartEmptyDocument();
    }
    ReadGroupNodes(root);
    root->Release();
    return TRUE;
}

void CGroupsFile::ReadGroupNodes(IXMLDOMNode* root) {
    // The last groups element holds the groups; the Ids of the groups in the others are
    // kept from new groups all the same.
    std::vector<IXMLDOMNode*> groupsElements;
    ForEachChildNamed(root, L"Purgelet", [&](IXMLDOMNode*& child) {
        groupsElements.push_back(child);
        child = nullptr;  // kept
    });
    for (size_t i = 0; i + 1 < groupsElements.size(); ++i) {
        ForEachChildNamed(groupsElements[i], L"Group", [&](IXMLDOMNode*& group) {
            if (const int id = StoredId(group)) m_otherIds.push_back(id);
        });
        groupsElements[i]->Release();
    }
    if (groupsElements.empty()) {
        m_pGroups = CreateElement(kGroupsName);  // attached by Save
        return;
    }
    m_pGroups = groupsElements.back();
    m_bGroupsAttached = true;
    m_lastId = StoredId(m_pGroups, L"LastId");
    // Below the top half too: Ids given downwards go on there once the top half is used up.
    m_lowestTopId = StoredId(m_pGroups, L"LowestTopId");

    GroupsReading reading;
    ForEachChildNamed(m_pGroups, L"Group", [&](IXMLDOMNode*& element) {
        IXMLDOMNode* nameAttribute = nullptr;
        GroupReading group;
        ReadGroup(element, group, nameAttribute);
        const int held = group.group.Id;
        if (reading.Take(group)) {
            m_groups.push_back({std::move(group.group), element, nameAttribute});
            element = nullptr;  // kept
            return;
        }
        // Read as the code page shows it, the text would come back as "?" or a look-alike,
        // and a save would write that over the user's own: the group is left as it is.
        Release(nameAttribute);
        // Never written, it holds its Id also where it repeats another group's.
        if (held) m_otherIds.push_back(held);
    });
    m_unshown.swap(reading.unshown);
}

// Reads one group element (GroupReading); `nameAttribute` receives the attribute its
// name was read from.
void CGroupsFile::ReadGroup(IXMLDOMNode* element, GroupReading& group, IXMLDOMNode*& nameAttribute) {
    // One walk over the attributes for the Id and the name: each costs a call per attribute.
    ForEachAttribute(element, [&](BSTR name, IXMLDOMNode* attribute) {
        BSTR value = AttributeText(attribute);
        if (group.Attribute(name, value)) {
            Release(nameAttribute);
            nameAttribute = attribute;
            attribute->AddRef();
        }
        ::SysFreeString(value);
    });
    ForEachChildNamed(element, L"Keyword", [&](IXMLDOMNode*& child) {
        BSTR text = nullptr;
        if (!group.exact || FAILED(child->get_text(&text))) return;
        group.Keyword(text ? text : L"", text ? ::SysStringLen(text) : 0);
        ::SysFreeString(text);
    });
}

namespace groupsfile {

bool GroupReading::Attribute(BSTR attributeName, BSTR value) {
    if (NameIs(attributeName, L"Id")) group.Id = IdFromText(value);
    if (!NameIsNoCase(attributeName, L"name")) return false;
    name.assign(value ? value : L"", value ? ::SysStringLen(value) : 0);
    group.Name.clear();
    exact = ExactAnsiFromWide(name.data(), static_cast<int>(name.size()), group.Name);
    return true;
}

void GroupReading::Keyword(const wchar_t* text, size_t length) {
    std::string keyword;
    exact = ExactAnsiFromWide(text, static_cast<int>(length), keyword);
    group.AddKeyword(keyword.c_str());
}

bool GroupsReading::Take(GroupReading& reading) {
    int& id = reading.group.Id;
    if (id && !seen.insert(id).second) id = 0;
    if (reading.exact) return true;
    unshown.push_back(ShownName(AnsiText(reading.name)));
    return false;
}

}  // namespace groupsfile

void CGroupsFile::ReadGroups(CGroupManager* manager) {
    if (!manager) return;
    ReserveIds(manager);
    std::vector<GroupEntry> groups;
    ReadGroups(&groups);
    manager->AddStoredGroups(groups);
}

void CGroupsFile::ReserveIds(CGroupManager* manager) const { manager->ReserveIds(IdsGiven()); }

GivenIds CGroupsFile::IdsGiven() const {
    std::set<int> held(m_otherIds.begin(), m_otherIds.end());
    held.insert(m_lastId);
    for (const StoredGroup& stored : m_groups) held.insert(stored.group.Id);
    for (const GroupEntry& group : m_written) held.insert(group.Id);
    return GivenIds::OfFile(held, m_lowestTopId);
}

void CGroupsFile::ReadGroups(std::vector<GroupEntry>* groups) {
    if (!groups) return;
    for (const StoredGroup& stored : m_groups) groups->push_back(stored.group);
}

void CGroupsFile::NoteParseError() {
    m_status.kind = GroupsFileStatus::NotWellFormed;
    m_status.reason = "it is not well-formed XML";
    // The parser's own words, where it gives them (not every one does).
    IXMLDOMParseError* error = nullptr;
    if (FAILED(m_pDocument->get_parseError(&error)) || !error) return;
    long line = 0;
    BSTR why = nullptr;
    if (FAILED(error->get_line(&line))) line = 0;
    std::string reason;
    if (SUCCEEDED(error->get_reason(&why))) reason = TakeAnsi(why);
    error->Release();
    TrimSentenceEnd(reason);
    // A line break or a novel from the parser would break the box's layout.
    for (char& c : reason)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    if (reason.size() > 200) reason = reason.substr(0, 200) + "...";
    // Some parsers give the bare word "error" as their reason: it tells the user nothing.
    if (lstrcmpiA(reason.c_str(), "error") == 0) reason.clear();
    if (line > 0 && !reason.empty())
        m_status.reason += " (line " + std::to_string(line) + ": " + reason + ")";
    else if (line > 0)
        m_status.reason += " (line " + std::to_string(line) + ")";
    else if (!reason.empty())
        m_status.reason += " (" + reason + ")";
}

void CGroupsFile::NoteForeignRoot() {
    m_status.kind = GroupsFileStatus::ForeignRoot;
    std::string name;
    IXMLDOMElement* element = nullptr;
    if (SUCCEEDED(m_pDocument->get_documentElement(&element)) && element) {
        BSTR text = nullptr;
        if (SUCCEEDED(element->get_nodeName(&text))) name = TakeAnsi(text);
        element->Release();
    }
    if (name.size() > 64) name = name.substr(0, 64) + "...";
    m_status.reason = name.empty() ? std::string("it has no root element") : "its root element is <" + name + ">";
    m_status.reason += std::string(", not <") + kRootName + ">";
}

