// What the parts of the groups file share (groups_file.cpp, _probe, _reader, _writer,
// _text): texts handed to and taken from the document object, walks over its nodes, and
// the probe that looks at the bytes before the parser does. Not for use outside them.
#pragma once
#include <windows.h>
#include <msxml.h>
#include <oleauto.h>
#include <cwchar>
#include <set>
#include <string>
#include <vector>
#include "catalogue/groups_file.h"

namespace groupsfile {

extern const char kRootName[];    // "NimboPurgelet"
extern const char kGroupsName[];  // "Purgelet"

// A BSTR made from 8-bit ANSI text, freed with the object.
class Bstr {
public:
    explicit Bstr(const char* text);
    explicit Bstr(const std::string& text) : Bstr(text.c_str()) {}
    ~Bstr() { ::SysFreeString(m_bstr); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return m_bstr; }
    // Hands the string over (to a VARIANT that frees it).
    BSTR Detach() {
        BSTR text = m_bstr;
        m_bstr = nullptr;
        return text;
    }

private:
    BSTR m_bstr;
};

// 8-bit ANSI text of a BSTR as the code page shows it; frees the BSTR.
std::string TakeAnsi(BSTR text);

template <class T>
void Release(T*& p) {
    if (p) {
        p->Release();
        p = nullptr;
    }
}

// Element names match code unit for code unit: lstrcmpW compares by locale and would
// take a name padded with ignorable characters for ours.
inline bool NameIs(BSTR name, const wchar_t* wanted) { return name && std::wcscmp(name, wanted) == 0; }
// Case-insensitive for the ASCII letters only, as the "Name" attribute is read.
bool NameIsNoCase(const wchar_t* name, const wchar_t* wanted);

DOMNodeType TypeOf(IXMLDOMNode* node);
bool IsElementNamed(IXMLDOMNode* node, const wchar_t* wanted);
bool IsBlankText(IXMLDOMNode* node);

// Calls f with each child of parent in document order, stepping from sibling to sibling:
// the document object's child lists find an item by index by walking from the first, so
// going by index would make a long file quadratic. The child is released afterwards
// unless f takes the reference (leaves the pointer null). ForEachSibling does the same
// from `first` (a reference it takes) on.
template <class F>
void ForEachSibling(IXMLDOMNode* first, F f) {
    IXMLDOMNode* child = first;
    while (child) {
        IXMLDOMNode* next = nullptr;
        if (child->get_nextSibling(&next) != S_OK) next = nullptr;
        f(child);
        Release(child);
        child = next;
    }
}

template <class F>
void ForEachChild(IXMLDOMNode* parent, F f) {
    IXMLDOMNode* child = nullptr;
    if (parent->get_firstChild(&child) != S_OK) child = nullptr;
    ForEachSibling(child, f);
}

// The same for the element children named `wanted`.
template <class F>
void ForEachChildNamed(IXMLDOMNode* parent, const wchar_t* wanted, F f) {
    ForEachChild(parent, [&](IXMLDOMNode*& child) {
        if (IsElementNamed(child, wanted)) f(child);
    });
}

// An element's attributes in document order, namespace declarations left out: each
// with its name (freed by the list) and its node (released by the list).
class AttributeList {
public:
    explicit AttributeList(IXMLDOMNode* element);
    ~AttributeList();
    AttributeList(const AttributeList&) = delete;
    AttributeList& operator=(const AttributeList&) = delete;
    size_t Count() const { return m_items.size(); }
    BSTR Name(size_t i) const { return m_items[i].name; }
    IXMLDOMNode* Node(size_t i) const { return m_items[i].node; }

private:
    struct Item {
        BSTR name;
        IXMLDOMNode* node;
    };
    bool FromMap(IXMLDOMNode* element);
    void FromQuery(IXMLDOMNode* element);
    void Clear();
    std::vector<Item> m_items;
};

// Calls f(name, attribute) for each attribute of an element, namespace declarations left
// out, in document order.
template <class F>
void ForEachAttribute(IXMLDOMNode* element, F f) {
    AttributeList attributes(element);
    for (size_t i = 0; i < attributes.Count(); ++i) f(attributes.Name(i), attributes.Node(i));
}

// An attribute's value as a BSTR the caller frees, or null.
BSTR AttributeText(IXMLDOMNode* attribute);

// Takes the line breaks, blanks and full stops off the end of a sentence the system or
// the parser gave, so that it can stand inside one of the program's own.
void TrimSentenceEnd(std::string& text);
// The system's words for an error, without the line break and full stop it ends with.
std::string SystemErrorText(DWORD error);

// The file opened for reading, leaving it to others to read and write meanwhile;
// INVALID_HANDLE_VALUE, with the system's error, when it cannot be opened.
HANDLE OpenToRead(const std::string& path);
// Whether an error opening a file means there is no file at the path.
inline bool IsNoFile(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
}

IXMLDOMDocument* CreateDocument();

// The other of a save's pair of files beside the groups file: "<file>.~<n>.tmp" (its new
// bytes) for "<file>.~<n>.old" (the old file it set aside), and back.
std::string SetAsideTwin(const std::string& name);

// Whether the file at `path` holds exactly these bytes; false while another program
// holds it open for writing.
bool FileHolds(const std::string& path, const std::string& bytes);

// Takes bytes piece by piece and gives their digest.
class Digester {
public:
    Digester();
    ~Digester();
    Digester(const Digester&) = delete;
    Digester& operator=(const Digester&) = delete;
    void Add(const void* bytes, size_t count);
    BytesDigest Finish();

private:
    void* m_algorithm;
    void* m_hash;
    bool m_ok;
};
BytesDigest DigestOf(const std::string& bytes);

// The document read from the bytes of a file (by a save's read-back of what it wrote, or
// by a load), kept for the next Open of the file, so that a change does not parse again
// what was parsed just before: one document, of the last file kept. Takes a reference.
// `state` and `digest` are those of the bytes it was read from, `removed` how many nodes
// saves took out of it since it was parsed (NodesIn). Nothing else is kept with it.
void KeepDocument(const std::string& path, const GroupsFileState& state, const BytesDigest& digest,
                  IXMLDOMDocument* document, size_t removed);
// The kept document of `path`, handed over (the caller releases it), when the file still
// holds exactly the bytes it was read from; null otherwise. A kept document of `path` that
// the file no longer matches is let go. `state`, `digest` and `removed` then receive what
// it was kept with.
IXMLDOMDocument* TakeKeptDocument(const std::string& path, GroupsFileState* state, BytesDigest* digest,
                                  size_t* removed);
// The nodes a node holds, itself, its attributes and their values included: what a document
// may go on keeping of a node taken out of it (see CGroupsFile::WriteDocument).
size_t NodesIn(IXMLDOMNode* node);

// Looks at the file before the parser does (groups_file_probe.cpp). True when the parser
// may read it; otherwise `status` says what was found. `state` receives what the file
// holds (all of it, also when refused). When true, `held` is the file opened so that
// nobody can write it until the caller closes it, after the parser read it.
// `digest`, when given, receives the digest of what the file holds.
bool ProbeFile(const std::string& path, GroupsFileStatus& status, GroupsFileState& state, HANDLE& held,
               BytesDigest* digest = nullptr);
// Whether an error opening or reading a file means another program holds it.
inline bool IsHeldByAnother(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }
// The state of what an open file holds, read from where the handle stands to the end;
// `digest`, when given, receives the digest of those bytes (none when a read failed).
GroupsFileState ReadGroupsFileState(HANDLE file, BytesDigest* digest = nullptr);
// Whether an open file, from where the handle stands, holds the bytes `read` is the state of
// (and `digest`, when given, the digest of). A file of another size holds other bytes: it is
// not read to be told so.
bool HandleHolds(HANDLE file, const GroupsFileState& read, const BytesDigest* digest = nullptr);
// Adds bytes of the file to its state (size and hash).
void AddToState(GroupsFileState& state, const unsigned char* bytes, size_t count);

// Takes the BSTR. False when the text has no exact form in the code page: read as the
// code page shows it, it would be written back as "?" or as a look-alike.
bool TakeExactAnsi(BSTR text, std::string& out, std::wstring& wide);
// A group's name as a box may show it: control characters as blanks, not too long.
std::string ShownName(const std::string& name);

// The Id a group element gives itself: its "Id" attribute as a plain decimal number from
// 1 to kMaxStoredGroupId (no sign, blank or leading zero: "07" is no Id, it would be
// written back as "7"), or 0 when it has none such. With `attributeName`, the same for
// another attribute ("LastId" of the groups element).
int StoredId(IXMLDOMNode* element, const wchar_t* attributeName = L"Id");
// The same of an "Id" attribute itself, and of an attribute's text.
int StoredIdOf(IXMLDOMNode* attribute);
int IdFromText(const wchar_t* text);

// One "Group" element as a load reads it, taken attribute by attribute and then keyword
// by keyword in document order. The reader and the check of what a save writes read
// groups by this one rule.
struct GroupReading {
    GroupEntry group;   // its Id (StoredId), name and keywords
    std::wstring name;  // the name as the file holds it
    bool exact = true;  // whether the code page shows the name and every keyword exactly
    // Takes an attribute (the value stays the caller's): the "Id", and the name from an
    // attribute named "Name" in any case (the last such wins). True when it gave the name.
    bool Attribute(BSTR attributeName, BSTR value);
    // Takes a keyword's text (get_text of its element); one the code page cannot show ends
    // the reading.
    void Keyword(const wchar_t* text, size_t length);
};

// The groups element read as a load reads it: the groups shown, in document order, and the
// names of those the code page cannot show.
struct GroupsReading {
    bool read = false;  // the root is "NimboPurgelet": the file reads as groups
    std::vector<GroupEntry> groups;
    std::vector<std::string> unshown;
    int lastId = 0;       // "LastId"
    int lowestTopId = 0;  // "LowestTopId"
    std::set<int> seen;   // the Ids of the groups taken so far
    // Takes the next group read: a second group of one Id is no group of that Id (its Id
    // becomes 0, the program gives it its own). True when the code page shows it; else its
    // name joins `unshown`.
    bool Take(GroupReading& reading);
};

// Why bytes about to be written as the groups file would not pass the look a load takes
// at them before the parser does (ProbeFile: a document type, a shape that would make the
// parser slow), or "". For UTF-8 bytes.
std::string ProbeFault(const std::string& bytes);

}  // namespace groupsfile
