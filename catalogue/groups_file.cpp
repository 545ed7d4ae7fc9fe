#include "catalogue/groups_file.h"
#include <msxml.h>
#include <oleauto.h>
#include <cstring>
#include <cwchar>
#include <vector>
#include "catalogue/ansi_text.h"
#include "catalogue/groups.h"

extern "C" const CLSID CLSID_DOMDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
extern "C" const IID IID_IXMLDOMDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

namespace {

const char kRootName[] = "NimboPurgelet";
const char kGroupsName[] = "Purgelet";

// A BSTR made from 8-bit ANSI text, freed with the object.
class Bstr {
public:
    explicit Bstr(const char* text) : m_bstr(nullptr) {
        if (!text) text = "";
        int units = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        if (units <= 0) units = 1;
        m_bstr = ::SysAllocStringLen(nullptr, static_cast<UINT>(units - 1));
        if (m_bstr) {
            if (units > 1) ::MultiByteToWideChar(CP_ACP, 0, text, -1, m_bstr, units);
            m_bstr[units - 1] = L'\0';
        }
    }
    explicit Bstr(const std::string& text) : Bstr(text.c_str()) {}
    ~Bstr() { ::SysFreeString(m_bstr); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return m_bstr; }
    bool Valid() const { return m_bstr != nullptr; }

private:
    BSTR m_bstr;
};

// 8-bit ANSI text of a BSTR; frees the BSTR.
std::string TakeAnsi(BSTR text) {
    std::string result;
    if (text) {
        AnsiFromWide(text, static_cast<int>(::SysStringLen(text)), result);
        ::SysFreeString(text);
    }
    return result;
}

template <class T>
void Release(T*& p) {
    if (p) {
        p->Release();
        p = nullptr;
    }
}

// Element names match code unit for code unit: lstrcmpW compares by locale and would
// take a name padded with ignorable characters for ours.
bool NameIs(BSTR name, const wchar_t* wanted) { return name && std::wcscmp(name, wanted) == 0; }

// Calls f with each child of parent in document order, stepping from sibling to sibling:
// the document object's child lists find an item by index by walking from the first, so
// going by index would make a long file quadratic. The child is released afterwards
// unless f takes the reference (leaves the pointer null).
template <class F>
void ForEachChild(IXMLDOMNode* parent, F f) {
    IXMLDOMNode* child = nullptr;
    if (parent->get_firstChild(&child) != S_OK) child = nullptr;
    while (child) {
        IXMLDOMNode* next = nullptr;
        if (child->get_nextSibling(&next) != S_OK) next = nullptr;
        f(child);
        Release(child);
        child = next;
    }
}

// The same for the element children named `wanted`.
template <class F>
void ForEachChildNamed(IXMLDOMNode* parent, const wchar_t* wanted, F f) {
    ForEachChild(parent, [&](IXMLDOMNode*& child) {
        DOMNodeType type = NODE_INVALID;
        if (FAILED(child->get_nodeType(&type)) || type != NODE_ELEMENT) return;
        BSTR name = nullptr;
        if (SUCCEEDED(child->get_nodeName(&name)) && NameIs(name, wanted)) f(child);
        ::SysFreeString(name);
    });
}

// The system's words for an error, without the line break and full stop it ends with.
std::string SystemErrorText(DWORD error) {
    char* buffer = nullptr;
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (length && buffer) text.assign(buffer, length);
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.empty()) text = "error " + std::to_string(error);
    return text;
}

// Looks at the file before the parser does. A missing or empty file holds nothing of the
// user's; one that cannot be opened is the user's all the same. A file that declares a
// document type is not ours and is refused before the parser sees it: a document type
// can define entities that expand to far more than the file holds. Zero bytes are
// skipped so that UTF-16 text is caught too. True when the parser may read the file.
bool ProbeFile(const std::string& path, GroupsFileStatus& status) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) {
            status.kind = GroupsFileStatus::Missing;
        } else {
            status.kind = GroupsFileStatus::Unreadable;
            status.reason = SystemErrorText(error);
        }
        return false;
    }
    static const char kMarkup[] = "<!DOCTYPE";
    const size_t kLength = sizeof(kMarkup) - 1;
    size_t matched = 0, total = 0;
    bool found = false;
    char buffer[16384];
    DWORD got = 0;
    while (!found && ::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        total += got;
        for (DWORD i = 0; i < got && !found; ++i) {
            char c = buffer[i];
            if (c == '\0') continue;
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            matched = (c == kMarkup[matched]) ? matched + 1 : (c == '<' ? 1 : 0);
            found = matched == kLength;
        }
    }
    ::CloseHandle(file);
    if (found) {
        status.kind = GroupsFileStatus::DocumentType;
        status.reason = "it declares a document type, which a groups file never does";
        return false;
    }
    if (total == 0) {
        status.kind = GroupsFileStatus::Missing;
        return false;
    }
    return true;
}

// Case-insensitive for the ASCII letters only, as attribute names are.
bool NameIsNoCase(BSTR name, const wchar_t* wanted) {
    if (!name) return false;
    for (;; ++name, ++wanted) {
        wchar_t a = *name, b = *wanted;
        if (a >= L'A' && a <= L'Z') a = static_cast<wchar_t>(a - L'A' + L'a');
        if (b >= L'A' && b <= L'Z') b = static_cast<wchar_t>(b - L'A' + L'a');
        if (a != b) return false;
        if (!a) return true;
    }
}


IXMLDOMDocument* CreateDocument() {
    IXMLDOMDocument* document = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_DOMDocument, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(&document))) ||
        !document)
        return nullptr;
    // A local file is read at once; a document type never fetches anything.
    document->put_async(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    return document;
}

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return path.substr(0, 1);
    return path.substr(0, slash);
}

}  // namespace

CGroupsFile::CGroupsFile() : m_pDocument(nullptr), m_pGroups(nullptr) {}

CGroupsFile::~CGroupsFile() {
    m_path.clear();
    Release(m_pGroups);
    Release(m_pDocument);
}

BOOL CGroupsFile::StartEmptyDocument() {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<";
    text += kRootName;
    text += ">\r\n</";
    text += kRootName;
    text += ">";
    Bstr xml(text);
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (FAILED(m_pDocument->loadXML(xml, &ok)) || ok != VARIANT_TRUE) return FALSE;
    IXMLDOMNode* root = nullptr;
    Bstr rootName(kRootName);
    if (m_pDocument->selectSingleNode(rootName, &root) == S_OK && root) {
        VARIANT version;
        ::VariantInit(&version);
        version.vt = VT_BSTR;
        version.bstrVal = ::SysAllocString(L"1.1");
        SetAttribute(root, "Version", version);
        ::VariantClear(&version);
        root->Release();
    }
    return TRUE;
}

BOOL CGroupsFile::Open(const char* path) {
    ::CoInitialize(nullptr);
    Release(m_pGroups);
    Release(m_pDocument);
    m_status = GroupsFileStatus();
    m_pDocument = CreateDocument();
    if (!m_pDocument) return FALSE;

    m_path = path ? path : "";
    IXMLDOMNode* root = nullptr;
    if (ProbeFile(m_path, m_status)) {
        VARIANT source;
        ::VariantInit(&source);
        source.vt = VT_BSTR;
        {
            Bstr p(m_path);
            source.bstrVal = ::SysAllocString(p);
        }
        VARIANT_BOOL loaded = VARIANT_FALSE;
        HRESULT hr = m_pDocument->load(source, &loaded);
        ::VariantClear(&source);
        if (SUCCEEDED(hr) && loaded == VARIANT_TRUE) {
            Bstr rootName(kRootName);
            hr = m_pDocument->selectSingleNode(rootName, &root);
            if (FAILED(hr)) return FALSE;
            if (root) m_status.kind = GroupsFileStatus::Read;
            else NoteForeignRoot();
        } else {
            NoteParseError();
        }
    }
    if (!root) {
        // Missing, not well-formed, or somebody else's XML: start afresh in memory. The
        // groups already in memory stay; whether the file may be replaced is the save's
        // question (see CGroupManager::Save).
        if (!StartEmptyDocument()) return FALSE;
    } else {
        ForEachChildNamed(root, L"Purgelet", [&](IXMLDOMNode*& child) {
            // The last groups element wins.
            Release(m_pGroups);
            m_pGroups = child;
            child = nullptr;
        });
        root->Release();
    }
    if (!m_pGroups) m_pGroups = CreateElement(kGroupsName);  // attached by Save
    return TRUE;
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
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ' ||
                               reason.back() == '.'))
        reason.pop_back();
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

void CGroupsFile::ReadGroups(CGroupManager* manager) {
    if (!m_pGroups || !manager) return;
    ForEachChildNamed(m_pGroups, L"Group", [&](IXMLDOMNode*& groupNode) {
        GroupEntry entry;
        // The attributes through a node-set query, whose items are found directly (the
        // attribute map, like the child lists, walks from the first on each step).
        IXMLDOMNodeList* attributes = nullptr;
        Bstr query("@*");
        if (SUCCEEDED(groupNode->selectNodes(query, &attributes)) && attributes) {
            attributes->reset();
            IXMLDOMNode* attribute = nullptr;
            while (attributes->nextNode(&attribute) == S_OK && attribute) {
                BSTR name = nullptr;
                if (SUCCEEDED(attribute->get_nodeName(&name)) && NameIsNoCase(name, L"name")) {
                    VARIANT value;
                    ::VariantInit(&value);
                    if (SUCCEEDED(attribute->get_nodeValue(&value)) &&
                        SUCCEEDED(::VariantChangeType(&value, &value, 0, VT_BSTR))) {
                        entry.Name = TakeAnsi(value.bstrVal);
                        value.vt = VT_EMPTY;  // the BSTR was taken
                    }
                    ::VariantClear(&value);
                }
                ::SysFreeString(name);
                Release(attribute);
            }
            attributes->Release();
        }

        ForEachChildNamed(groupNode, L"Keyword", [&](IXMLDOMNode*& child) {
            BSTR text = nullptr;
            if (SUCCEEDED(child->get_text(&text))) entry.AddKeyword(TakeAnsi(text).c_str());
        });
        manager->AddGroup(entry);
    });
}

BOOL CGroupsFile::AppendElement(IXMLDOMNode* parent, const char* name, const std::string& text) {
    IXMLDOMNode* element = CreateElement(name);
    if (!element) return FALSE;
    BOOL ok = TRUE;
    if (!text.empty()) {
        Bstr value(text);
        ok = SUCCEEDED(element->put_text(value));
    }
    IXMLDOMNode* added = nullptr;
    if (ok) ok = SUCCEEDED(parent->appendChild(element, &added));
    Release(added);
    element->Release();
    return ok;
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
    Release(previous);
    Release(attributes);
    attribute->Release();
    return ok;
}

BOOL CGroupsFile::RemoveChildren(IXMLDOMNode* node) {
    // Always the first child, so each step is short however many there are.
    for (;;) {
        IXMLDOMNode* child = nullptr;
        HRESULT hr = node->get_firstChild(&child);
        if (FAILED(hr)) return FALSE;
        if (hr != S_OK || !child) return TRUE;
        IXMLDOMNode* removed = nullptr;
        hr = node->removeChild(child, &removed);
        Release(removed);
        child->Release();
        if (FAILED(hr)) return FALSE;
    }
}

BOOL CGroupsFile::WriteGroups(CGroupManager* manager) {
    if (!m_pGroups || !manager) return FALSE;
    if (!RemoveChildren(m_pGroups)) return FALSE;
    for (size_t i = 0; i < manager->m_Groups.size(); ++i) {
        const GroupEntry* group = manager->m_Groups[i];
        if (group->BuiltIn == 1) continue;
        IXMLDOMNode* element = CreateElement("Group");
        if (!element) return FALSE;
        BOOL ok = TRUE;

        VARIANT id;
        ::VariantInit(&id);
        id.vt = VT_UI4;
        id.ulVal = static_cast<ULONG>(i + 1);
        ok = SetAttribute(element, "Id", id);

        VARIANT name;
        ::VariantInit(&name);
        name.vt = VT_BSTR;
        {
            Bstr text(group->Name);
            name.bstrVal = ::SysAllocString(text);
        }
        if (ok) ok = name.bstrVal && SetAttribute(element, "Name", name);
        ::VariantClear(&name);

        for (size_t k = 0; ok && k < group->Keywords.size(); ++k)
            ok = AppendElement(element, "Keyword", group->Keywords[k]);

        IXMLDOMNode* added = nullptr;
        if (ok) ok = SUCCEEDED(m_pGroups->appendChild(element, &added));
        Release(added);
        element->Release();
        if (!ok) return FALSE;
    }
    return TRUE;
}

BOOL CGroupsFile::WriteDocument(IXMLDOMDocument* document) {
    // Written next to the file and moved over it only when complete, so that a failed
    // write never costs the user the groups stored before.
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
    const std::string folder = FolderOf(m_path);
    char temp[MAX_PATH + 16];
    if (folder.size() + 14 > MAX_PATH) {
        m_status.writeError = "its folder's name is too long";
        return FALSE;
    }
    if (!::GetTempFileNameA(folder.c_str(), "grp", 0, temp)) {
        m_status.writeError = SystemErrorText(::GetLastError());
        return FALSE;
    }

    VARIANT target;
    ::VariantInit(&target);
    target.vt = VT_BSTR;
    {
        Bstr p(temp);
        target.bstrVal = ::SysAllocString(p);
    }
    HRESULT hr = target.bstrVal ? document->save(target) : E_OUTOFMEMORY;
    ::VariantClear(&target);

    WIN32_FILE_ATTRIBUTE_DATA written;
    if (hr != S_OK || !::GetFileAttributesExA(temp, GetFileExInfoStandard, &written) ||
        (written.nFileSizeLow == 0 && written.nFileSizeHigh == 0)) {
        m_status.writeError = "the new file could not be written";
        ::DeleteFileA(temp);
        return FALSE;
    }
    if (!::MoveFileExA(temp, m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_status.writeError = SystemErrorText(::GetLastError());
        ::DeleteFileA(temp);
        return FALSE;
    }
    return TRUE;
}

BOOL CGroupsFile::AddLineBreaks(IXMLDOMNode* element) {
    std::vector<IXMLDOMNode*> children;
    bool textContent = false;
    ForEachChild(element, [&](IXMLDOMNode*& child) {
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_TEXT || type == NODE_CDATA_SECTION) textContent = true;
        children.push_back(child);
        child = nullptr;  // kept
    });

    // An element with text (a keyword) is written as it is; one holding only elements
    // gets a line feed before each child and before its end tag.
    BOOL ok = TRUE;
    if (!textContent && !children.empty()) {
        for (IXMLDOMNode* child : children) {
            ok = InsertLineFeed(element, child) && ok;
            DOMNodeType type = NODE_INVALID;
            child->get_nodeType(&type);
            if (type == NODE_ELEMENT) ok = AddLineBreaks(child) && ok;
        }
        ok = InsertLineFeed(element, nullptr) && ok;
    }
    for (IXMLDOMNode* child : children) child->Release();
    return ok;
}

BOOL CGroupsFile::InsertLineFeed(IXMLDOMNode* parent, IXMLDOMNode* before) {
    Bstr lineFeed("\n");
    IXMLDOMText* text = nullptr;
    if (FAILED(m_pDocument->createTextNode(lineFeed, &text)) || !text) return FALSE;
    VARIANT reference;
    ::VariantInit(&reference);
    if (before) {
        reference.vt = VT_UNKNOWN;
        reference.punkVal = before;  // borrowed: not cleared below
    }
    IXMLDOMNode* inserted = nullptr;
    HRESULT hr = parent->insertBefore(text, reference, &inserted);
    Release(inserted);
    text->Release();
    return SUCCEEDED(hr);
}

BOOL CGroupsFile::Save() {
    if (!m_pDocument || !m_pGroups || m_path.empty()) return FALSE;

    IXMLDOMElement* root = nullptr;
    if (FAILED(m_pDocument->get_documentElement(&root)) || !root) return FALSE;
    BOOL ok = RemoveChildren(root);
    IXMLDOMNode* added = nullptr;
    if (ok) ok = SUCCEEDED(root->appendChild(m_pGroups, &added));
    Release(added);
    root->Release();
    if (!ok) return FALSE;

    // One element per line: a line feed wherever one tag directly follows another. The line
    // feeds go into the tree as text nodes rather than into the serialised text, because
    // the document object's own text (get_xml) may come back indented with tabs and CR LF,
    // where no "><" is left to replace, and parsing the text again drops whitespace-only
    // text. A failure here leaves a document that is still complete, only less readable.
    IXMLDOMElement* formatted = nullptr;
    if (SUCCEEDED(m_pDocument->get_documentElement(&formatted)) && formatted) {
        AddLineBreaks(formatted);
        formatted->Release();
    }
    return WriteDocument(m_pDocument);
}

BOOL CGroupManager::Load(const char* path, GroupsFileStatus* status) {
    CGroupsFile file;
    BOOL opened = file.Open(path);
    if (status) *status = file.Status();
    if (!opened) return FALSE;
    file.ReadGroups(this);
    return TRUE;
}

BOOL CGroupManager::Save(const char* path, GroupsFileStatus* status, const char* keptCopy) {
    CGroupsFile file;
    BOOL ok = file.Open(path);
    // The user's bytes in a file that is no groups file are replaced only once a copy of
    // exactly those bytes is kept elsewhere.
    std::string refused;
    const bool kept = path && keptCopy && *keptCopy && SameFileBytes(path, keptCopy);
    if (ok && file.Status().Damaged() && !kept) {
        ok = FALSE;
        refused = file.Status().kind == GroupsFileStatus::Unreadable
                      ? file.Status().reason
                      : "it cannot be read as groups (" + file.Status().reason + ") and is kept nowhere else";
    }
    if (ok) ok = file.WriteGroups(this);
    if (ok) ok = file.Save();
    if (status) {
        *status = file.Status();
        if (!refused.empty()) status->writeError = refused;
    }
    return ok;
}

bool SameFileBytes(const std::string& first, const std::string& second) {
    HANDLE a = ::CreateFileA(first.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (a == INVALID_HANDLE_VALUE) return false;
    HANDLE b = ::CreateFileA(second.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (b == INVALID_HANDLE_VALUE) {
        ::CloseHandle(a);
        return false;
    }
    LARGE_INTEGER sizeA, sizeB;
    bool same = ::GetFileSizeEx(a, &sizeA) && ::GetFileSizeEx(b, &sizeB) && sizeA.QuadPart == sizeB.QuadPart;
    std::vector<char> bufferA(65536), bufferB(65536);
    while (same) {
        DWORD gotA = 0, gotB = 0;
        if (!::ReadFile(a, bufferA.data(), 65536, &gotA, nullptr) ||
            !::ReadFile(b, bufferB.data(), 65536, &gotB, nullptr) || gotA != gotB) {
            same = false;
            break;
        }
        if (gotA == 0) break;
        same = std::memcmp(bufferA.data(), bufferB.data(), gotA) == 0;
    }
    ::CloseHandle(a);
    ::CloseHandle(b);
    return same;
}

bool KeepGroupsFileCopy(const std::string& path, std::string* copyPath, std::string* error) {
    // A copy from an earlier start stays: each damaged file keeps a name of its own, and
    // the same bytes started with again are kept once.
    const int kNames = 100;
    for (int n = 1; n <= kNames; ++n) {
        std::string name = path + ".damaged";
        if (n > 1) name += "-" + std::to_string(n);
        if (copyPath) *copyPath = name;
        if (::GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (SameFileBytes(path, name)) return true;
            continue;
        }
        if (::CopyFileA(path.c_str(), name.c_str(), TRUE)) return true;
        const DWORD failure = ::GetLastError();
        if (failure == ERROR_FILE_EXISTS || failure == ERROR_ALREADY_EXISTS) continue;
        if (error) *error = SystemErrorText(failure);
        return false;
    }
    if (error) *error = "every name up to this one is taken";
    return false;
}
