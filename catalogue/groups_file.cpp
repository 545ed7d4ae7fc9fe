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

// Follows the markup of a file character by character, once, to find a shape that would
// make the parser slow before the parser sees it: an element with very many attributes
// (the parser compares each attribute with every one before it) or elements nested very
// deep. Well-formedness is the parser's question: this only has to count right for files
// that are.
class ShapeScanner {
public:
    // Takes one character (a byte of 8-bit text, a code unit of UTF-16; anything above
    // 127 is never markup). False once the shape is refused.
    bool Take(unsigned c) {
        switch (m_state) {
        case Text:
            if (c == '<') m_state = AfterOpen;
            break;
        case AfterOpen:
            if (c == '/') {
                m_state = EndTag;
            } else if (c == '?') {
                m_state = Instruction;
            } else if (c == '!') {
                m_state = Bang;
            } else {
                m_state = StartTag;
                m_attributes = 0;
                if (++m_depth > kMaxGroupsFileDepth) return Refuse(Deep);
            }
            break;
        case StartTag:
            if (c == '"' || c == '\'') {
                m_quote = c;
                m_state = Quoted;
            } else if (c == '=') {
                if (++m_attributes > kMaxGroupsFileAttributes) return Refuse(Wide);
            } else if (c == '>') {
                if (m_previous == '/' && m_depth > 0) --m_depth;  // an empty element
                m_state = Text;
            }
            break;
        case Quoted:
            if (c == m_quote) m_state = StartTag;
            c = 0;  // a "/" in a value ends no element
            break;
        case EndTag:
            if (c == '>') {
                if (m_depth > 0) --m_depth;
                m_state = Text;
            }
            break;
        case Instruction:
            if (c == '>' && m_previous == '?') m_state = Text;
            break;
        case Bang:  // "<!--" a comment, "<![CDATA[" a section, anything else to its ">"
            m_state = c == '-' ? Comment : c == '[' ? Section : c == '>' ? Text : Declaration;
            m_run = 0;
            break;
        case Comment:
        case Section:
            if (c == '>' && m_run >= 2) m_state = Text;
            else m_run = (c == (m_state == Comment ? '-' : ']')) ? m_run + 1 : 0;
            break;
        case Declaration:
            if (c == '>') m_state = Text;
            break;
        }
        m_previous = c;
        return true;
    }
    std::string Reason() const {
        if (m_refused == Wide)
            return "one of its elements has more than " + std::to_string(kMaxGroupsFileAttributes) +
                   " attributes, which no groups file has";
        return "its elements are nested more than " + std::to_string(kMaxGroupsFileDepth) +
               " deep, which no groups file is";
    }

private:
    enum State { Text, AfterOpen, StartTag, Quoted, EndTag, Instruction, Bang, Comment, Section, Declaration };
    enum Refusal { None, Wide, Deep };
    bool Refuse(Refusal why) {
        m_refused = why;
        return false;
    }
    State m_state = Text;
    Refusal m_refused = None;
    unsigned m_quote = 0, m_previous = 0;
    int m_attributes = 0, m_depth = 0, m_run = 0;
};

// Looks at the file before the parser does. A missing or empty file holds nothing of the
// user's; one that cannot be opened is the user's all the same. A file that declares a
// document type is not ours and is refused before the parser sees it: a document type
// can define entities that expand to far more than the file holds. A file whose shape
// would make the parser slow is refused too (ShapeScanner). UTF-16 text is read by code
// units when it starts with a byte-order mark or "<?" in UTF-16; in any other file zero
// bytes are skipped, so that unmarked wide text is caught too. One pass, in linear time.
// True when the parser may read the file.
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
    bool found = false, refused = false;
    ShapeScanner shape;
    enum { Unknown, Bytes, Little, Big } width = Unknown;
    int pending = -1;  // the first byte of a UTF-16 unit split between two reads
    auto take = [&](unsigned c) {
        if (c == 0) return;
        unsigned upper = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
        matched = (upper == static_cast<unsigned char>(kMarkup[matched])) ? matched + 1 : (upper == '<' ? 1 : 0);
        found = matched == kLength;
        refused = !shape.Take(c > 127 ? 128 : c);
    };
    unsigned char buffer[16384];
    DWORD got = 0;
    while (!found && !refused && ::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        DWORD i = 0;
        if (width == Unknown) {
            const bool four = total == 0 && got >= 4;
            if (got >= 2 && buffer[0] == 0xFF && buffer[1] == 0xFE) {
                width = Little;
                i = 2;
            } else if (got >= 2 && buffer[0] == 0xFE && buffer[1] == 0xFF) {
                width = Big;
                i = 2;
            } else if (four && !std::memcmp(buffer, "<\0?\0", 4)) {
                width = Little;
            } else if (four && !std::memcmp(buffer, "\0<\0?", 4)) {
                width = Big;
            } else {
                width = Bytes;
            }
        }
        total += got;
        for (; i < got && !found && !refused; ++i) {
            if (width == Bytes) {
                take(buffer[i]);
            } else if (pending < 0) {
                pending = buffer[i];
            } else {
                take(width == Little ? (buffer[i] << 8 | pending) : (pending << 8 | buffer[i]));
                pending = -1;
            }
        }
    }
    ::CloseHandle(file);
    if (found) {
        status.kind = GroupsFileStatus::DocumentType;
        status.reason = "it declares a document type, which a groups file never does";
        return false;
    }
    if (refused) {
        status.kind = GroupsFileStatus::TooComplex;
        status.reason = shape.Reason();
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
    // White space is read as the file holds it: otherwise the text of a keyword comes
    // back without the blanks at its ends that the save wrote.
    document->put_preserveWhiteSpace(VARIANT_TRUE);
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

namespace {

bool IsBlank(const wchar_t* text) {
    for (; text && *text; ++text)
        if (*text != L' ' && *text != L'\t' && *text != L'\r' && *text != L'\n') return false;
    return true;
}

DOMNodeType TypeOf(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    if (FAILED(node->get_nodeType(&type))) type = NODE_INVALID;
    return type;
}

std::string NameOf(IXMLDOMNode* node) {
    BSTR name = nullptr;
    std::string text = SUCCEEDED(node->get_nodeName(&name)) ? TakeAnsi(name) : std::string();
    if (text.size() > 64) text = text.substr(0, 64) + "...";
    return text;
}

bool IsElementNamed(IXMLDOMNode* node, const wchar_t* wanted) {
    if (TypeOf(node) != NODE_ELEMENT) return false;
    BSTR name = nullptr;
    const bool is = SUCCEEDED(node->get_nodeName(&name)) && NameIs(name, wanted);
    ::SysFreeString(name);
    return is;
}

bool IsBlankText(IXMLDOMNode* node) {
    if (TypeOf(node) != NODE_TEXT) return false;
    BSTR text = nullptr;
    const bool blank = SUCCEEDED(node->get_text(&text)) && IsBlank(text);
    ::SysFreeString(text);
    return blank;
}

// What a node is, in the user's words.
std::string Describe(IXMLDOMNode* node) {
    switch (TypeOf(node)) {
    case NODE_ELEMENT: return "an element <" + NameOf(node) + ">";
    case NODE_TEXT:
    case NODE_CDATA_SECTION: return "text";
    case NODE_COMMENT: return "a comment";
    case NODE_PROCESSING_INSTRUCTION: return "a processing instruction";
    default: return "content";
    }
}

// The names of a node's attributes, in order, through a node-set query (the attribute
// map walks from the first on each step).
std::vector<std::pair<std::wstring, std::string>> AttributeNames(IXMLDOMNode* node) {
    std::vector<std::pair<std::wstring, std::string>> names;
    IXMLDOMNodeList* attributes = nullptr;
    Bstr query("@*");
    if (FAILED(node->selectNodes(query, &attributes)) || !attributes) return names;
    attributes->reset();
    IXMLDOMNode* attribute = nullptr;
    while (attributes->nextNode(&attribute) == S_OK && attribute) {
        BSTR name = nullptr;
        if (SUCCEEDED(attribute->get_nodeName(&name)) && name) names.push_back({name, NameOf(attribute)});
        ::SysFreeString(name);
        Release(attribute);
    }
    attributes->Release();
    return names;
}

}  // namespace

// Everything inside the root must be something a save writes back: one groups element,
// in it groups, in a group the Id and Name attributes and keywords, in a keyword text;
// blank text between elements is the layout. Anything else would be read and then lost
// at the first save, so the file is not taken as groups. The walk is as deep as the
// layout (four levels) and visits each node once.
bool CGroupsFile::FindDroppedContent(IXMLDOMNode* root) {
    std::string found;
    int groupsElements = 0;
    auto note = [&](const std::string& what, const char* where) {
        if (found.empty()) found = "it holds " + what + " " + where;
    };
    auto checkKeyword = [&](IXMLDOMNode* keyword) {
        for (const auto& name : AttributeNames(keyword)) note("an attribute " + name.second, "on a keyword");
        ForEachChild(keyword, [&](IXMLDOMNode*& child) {
            const DOMNodeType type = TypeOf(child);
            if (type != NODE_TEXT && type != NODE_CDATA_SECTION) note(Describe(child), "in a keyword");
        });
    };
    auto checkGroup = [&](IXMLDOMNode* group) {
        int names = 0;
        for (const auto& name : AttributeNames(group)) {
            if (NameIsNoCase(const_cast<wchar_t*>(name.first.c_str()), L"name") && ++names == 1) continue;
            if (name.first == L"Id") continue;
            note("an attribute " + name.second, "on a group");
        }
        ForEachChild(group, [&](IXMLDOMNode*& child) {
            if (IsElementNamed(child, L"Keyword")) checkKeyword(child);
            else if (!IsBlankText(child)) note(Describe(child), "in a group");
        });
    };
    ForEachChild(root, [&](IXMLDOMNode*& child) {
        if (!found.empty()) return;
        if (!IsElementNamed(child, L"Purgelet")) {
            if (!IsBlankText(child)) note(Describe(child), "beside the groups");
            return;
        }
        if (++groupsElements > 1) {
            note("a second <Purgelet> element", "");
            return;
        }
        ForEachChild(child, [&](IXMLDOMNode*& group) {
            if (!found.empty()) return;
            if (IsElementNamed(group, L"Group")) checkGroup(group);
            else if (!IsBlankText(group)) note(Describe(group), "among the groups");
        });
    });
    if (found.empty()) return false;
    while (!found.empty() && found.back() == ' ') found.pop_back();
    m_status.kind = GroupsFileStatus::Incomplete;
    m_status.reason = found + ", which the program would not keep";
    return true;
}

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
            if (!root) {
                NoteForeignRoot();
            } else if (FindDroppedContent(root)) {
                // Read, the file would lose what the program does not keep at the first
                // save: it is treated as damaged, and its groups are not taken.
                Release(root);
            } else {
                m_status.kind = GroupsFileStatus::Read;
            }
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
        if (!ReadGroupNodes()) {
            // A name or keyword the code page cannot hold: the file is treated as
            // damaged, like one holding what a save would drop.
            Release(m_pGroups);
            if (!StartEmptyDocument()) return FALSE;
        }
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

namespace {

// A group's name as a box may show it: control characters as blanks, not too long.
std::string ShownName(const std::string& name) {
    std::string shown = name.size() > 64 ? name.substr(0, 64) + "..." : name;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return shown;
}

bool SameGroups(const std::vector<GroupEntry>& a, const std::vector<GroupEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].Name != b[i].Name || a[i].Keywords != b[i].Keywords) return false;
    return true;
}

// The first character of a text that the code page cannot hold, as "U+0416", or "" when
// each holds alone (then only their sequence has no exact form).
std::string FirstUnshownCharacter(const std::wstring& text) {
    for (size_t i = 0; i < text.size();) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        const int width = pair ? 2 : 1;
        std::string ignored;
        if (!ExactAnsiFromWide(text.data() + i, width, ignored)) {
            const unsigned code = pair ? 0x10000 + ((text[i] - 0xD800u) << 10) + (text[i + 1] - 0xDC00u) : text[i];
            char shown[16];
            wsprintfA(shown, "U+%04X", code);
            return shown;
        }
        i += width;
    }
    return std::string();
}

// Takes the BSTR. False when the text has no exact form in the code page: read as the
// code page shows it, it would be written back as "?" or as a look-alike at the first
// save.
bool TakeExactAnsi(BSTR text, std::string& out, std::wstring& wide) {
    wide.assign(text ? text : L"", text ? ::SysStringLen(text) : 0);
    ::SysFreeString(text);
    return ExactAnsiFromWide(wide.data(), static_cast<int>(wide.size()), out);
}

}  // namespace

void CGroupsFile::ReadGroups(CGroupManager* manager) {
    if (!manager) return;
    for (const GroupEntry& group : m_groups) manager->AddGroup(group);
}

void CGroupsFile::ReadGroups(std::vector<GroupEntry>* groups) {
    if (groups) groups->insert(groups->end(), m_groups.begin(), m_groups.end());
}

bool CGroupsFile::ReadGroupNodes() {
    m_groups.clear();
    if (!m_pGroups) return true;
    bool found = false;         // a name or keyword the code page cannot hold
    std::wstring unshown;       // that text
    std::wstring unshownName;   // the name of its group
    bool unshownIsName = false;
    size_t unshownGroup = 0;    // the group's place in the file, from 1
    ForEachChildNamed(m_pGroups, L"Group", [&](IXMLDOMNode*& groupNode) {
        if (found) return;
        GroupEntry entry;
        std::wstring name, wide;
        bool nameExact = true;
        // The attributes through a node-set query, whose items are found directly (the
        // attribute map, like the child lists, walks from the first on each step).
        IXMLDOMNodeList* attributes = nullptr;
        Bstr query("@*");
        if (SUCCEEDED(groupNode->selectNodes(query, &attributes)) && attributes) {
            attributes->reset();
            IXMLDOMNode* attribute = nullptr;
            while (attributes->nextNode(&attribute) == S_OK && attribute) {
                BSTR attributeName = nullptr;
                if (SUCCEEDED(attribute->get_nodeName(&attributeName)) && NameIsNoCase(attributeName, L"name")) {
                    VARIANT value;
                    ::VariantInit(&value);
                    if (SUCCEEDED(attribute->get_nodeValue(&value)) &&
                        SUCCEEDED(::VariantChangeType(&value, &value, 0, VT_BSTR))) {
                        nameExact = TakeExactAnsi(value.bstrVal, entry.Name, name);
                        value.vt = VT_EMPTY;  // the BSTR was taken
                    }
                    ::VariantClear(&value);
                }
                ::SysFreeString(attributeName);
                Release(attribute);
            }
            attributes->Release();
        }
        const size_t place = m_groups.size() + 1;
        if (!nameExact) {
            found = true;
            unshown = name;
            unshownName = name;
            unshownIsName = true;
            unshownGroup = place;
            return;
        }

        ForEachChildNamed(groupNode, L"Keyword", [&](IXMLDOMNode*& child) {
            if (found) return;
            BSTR text = nullptr;
            if (FAILED(child->get_text(&text))) return;
            std::string keyword;
            if (TakeExactAnsi(text, keyword, wide)) {
                entry.AddKeyword(keyword.c_str());
            } else {
                found = true;
                unshown = wide;
                unshownName = name;
                unshownGroup = place;
            }
        });
        m_groups.push_back(entry);
    });
    if (!found) return true;

    // Read as the code page shows it, the text would come back as "?" or a look-alike,
    // and the first save would write that over the user's own: the file is not taken.
    m_groups.clear();
    std::string character = FirstUnshownCharacter(unshown);
    character = character.empty() ? std::string("characters") : "the character " + character;
    m_status.kind = GroupsFileStatus::Incomplete;
    m_status.reason = std::string(unshownIsName ? "the name of group " : "a keyword of group ") +
                      std::to_string(unshownGroup) + " (\"" + ShownName(AnsiText(unshownName)) + "\") holds " +
                      character + ", which this system's code page (" + std::to_string(::GetACP()) +
                      ") cannot show, so the program would not keep it";
    return false;
}

// A character reference is no way out for the characters refused here: "&#1;" is not
// well-formed XML 1.0 either.
std::string GroupsFileTextFault(const std::string& text) {
    if (text.empty()) return std::string();
    const int units = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                            nullptr, 0);
    std::wstring wide(units > 0 ? units : 0, L'\0');
    if (units <= 0 || ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                            &wide[0], units) != units)
        return "bytes that are no text in the system's code page";
    std::string back;
    if (!AnsiFromWide(wide.data(), units, back) || back != text) return "bytes that are no text in the system's code page";
    for (size_t i = 0; i < wide.size(); ++i) {
        const unsigned c = wide[i];
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        const bool paired = c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                            wide[i + 1] <= 0xDFFF;
        if (paired) {
            ++i;
            continue;
        }
        if ((c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF || surrogate) {
            char code[16];
            wsprintfA(code, "U+%04X", c);
            return std::string(c < 0x20 ? "the control character " : "the character ") + code;
        }
    }
    return std::string();
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
    m_written.clear();
    for (const GroupEntry* group : manager->m_Groups) {
        if (group->BuiltIn == 1) continue;
        std::string fault = GroupsFileTextFault(group->Name);
        if (!fault.empty()) {
            m_status.writeError = "the name of the group \"" + ShownName(group->Name) + "\" holds " + fault +
                                  ", which a groups file cannot hold";
            return FALSE;
        }
        for (const std::string& keyword : group->Keywords) {
            fault = GroupsFileTextFault(keyword);
            if (fault.empty()) continue;
            m_status.writeError = "a keyword of the group \"" + ShownName(group->Name) + "\" holds " + fault +
                                  ", which a groups file cannot hold";
            return FALSE;
        }
        m_written.push_back(*group);
    }
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

namespace {

// A name of its own beside the file for the new bytes, "<file>.~<hex>.tmp", created
// empty (never over another file). The pattern is the groups file's own, so that the
// leftovers of a save that never ended can be found and removed at the next start.
HANDLE CreateTemporaryFile(const std::string& path, std::string& temp) {
    static LONG s_counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        wsprintfA(suffix, ".~%lx.tmp",
                  static_cast<unsigned long>(::GetCurrentProcessId() * 7919u + ::GetTickCount() +
                                             static_cast<unsigned long>(::InterlockedIncrement(&s_counter))));
        temp = path + suffix;
        HANDLE file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

BOOL CGroupsFile::SetUtf8Declaration() {
    // Whatever the file declared goes: the bytes written are UTF-8, and a declaration of
    // another encoding over them would make the next read take them for something else.
    std::vector<IXMLDOMNode*> declarations;
    ForEachChild(m_pDocument, [&](IXMLDOMNode*& child) {
        if (TypeOf(child) != NODE_PROCESSING_INSTRUCTION) return;
        BSTR name = nullptr;
        if (SUCCEEDED(child->get_nodeName(&name)) && NameIs(name, L"xml")) {
            declarations.push_back(child);
            child = nullptr;  // kept
        }
        ::SysFreeString(name);
    });
    BOOL ok = TRUE;
    for (IXMLDOMNode* declaration : declarations) {
        IXMLDOMNode* removed = nullptr;
        ok = SUCCEEDED(m_pDocument->removeChild(declaration, &removed)) && ok;
        Release(removed);
        declaration->Release();
    }
    IXMLDOMProcessingInstruction* declaration = nullptr;
    Bstr target("xml");
    Bstr data("version=\"1.0\" encoding=\"utf-8\"");
    if (!ok || FAILED(m_pDocument->createProcessingInstruction(target, data, &declaration)) || !declaration)
        return FALSE;
    IXMLDOMNode* first = nullptr;
    if (m_pDocument->get_firstChild(&first) != S_OK) first = nullptr;
    VARIANT reference;
    ::VariantInit(&reference);
    if (first) {
        reference.vt = VT_UNKNOWN;
        reference.punkVal = first;  // borrowed: released below
    }
    IXMLDOMNode* inserted = nullptr;
    ok = SUCCEEDED(m_pDocument->insertBefore(declaration, reference, &inserted));
    Release(inserted);
    Release(first);
    declaration->Release();
    return ok;
}

BOOL CGroupsFile::SerializeDocument(std::string& bytes) {
    // The document object writes into memory; the program writes the file itself, so
    // that it knows every byte went to the disk before the old file is replaced.
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || !stream) return FALSE;
    VARIANT target;
    ::VariantInit(&target);
    target.vt = VT_UNKNOWN;
    target.punkVal = stream;  // borrowed: released below
    BOOL ok = m_pDocument->save(target) == S_OK;
    HGLOBAL memory = nullptr;
    STATSTG stat = {};
    if (ok) ok = SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(::GetHGlobalFromStream(stream, &memory));
    if (ok && stat.cbSize.QuadPart > 0) {
        const char* data = static_cast<const char*>(::GlobalLock(memory));
        ok = data != nullptr;
        if (ok) bytes.assign(data, static_cast<size_t>(stat.cbSize.QuadPart));
        if (data) ::GlobalUnlock(memory);
    }
    stream->Release();
    return ok && !bytes.empty();
}

BOOL CGroupsFile::WriteDocument(IXMLDOMDocument* document) {
    // Written next to the file and moved over it only when complete and read back, so
    // that a failed write never costs the user the groups stored before.
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
    std::string bytes;
    if (document != m_pDocument || !SetUtf8Declaration() || !SerializeDocument(bytes)) {
        m_status.writeError = "the new file could not be made";
        return FALSE;
    }
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

    // What was written must read back as the groups meant.
    {
        CGroupsFile check;
        std::vector<GroupEntry> groups;
        if (check.Open(temp.c_str()) && check.Status().kind == GroupsFileStatus::Read) check.ReadGroups(&groups);
        if (check.Status().kind != GroupsFileStatus::Read || !SameGroups(groups, m_written)) {
            m_status.writeError = "the new file would not read back as the groups";
            ::DeleteFileA(temp.c_str());
            return FALSE;
        }
    }

    // The old file keeps its attributes (and what else the system keeps of a file it
    // replaces); a first save only moves the new file in place.
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        ok = ::ReplaceFileA(m_path.c_str(), temp.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr);
        error = ok ? 0 : ::GetLastError();
        if (!ok && error == ERROR_CALL_NOT_IMPLEMENTED) {
            ok = ::MoveFileExA(temp.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            error = ok ? 0 : ::GetLastError();
        }
        // Some systems replace the file without carrying its attributes over (Wine gives
        // the new file its own): they are put back.
        const DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        const DWORD now = ok ? ::GetFileAttributesA(m_path.c_str()) : INVALID_FILE_ATTRIBUTES;
        if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (attributes & kKept)) {
            const DWORD wanted = (now & ~kKept & ~FILE_ATTRIBUTE_NORMAL) | (attributes & kKept);
            ::SetFileAttributesA(m_path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL);
        }
    } else {
        ok = ::MoveFileExA(temp.c_str(), m_path.c_str(), MOVEFILE_WRITE_THROUGH);
        error = ok ? 0 : ::GetLastError();
    }
    if (!ok) {
        m_status.writeError = SystemErrorText(error);
        ::DeleteFileA(temp.c_str());
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

GroupsFileState ReadGroupsFileState(const std::string& path) {
    GroupsFileState state;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        state.exists = !(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME);
        return state;
    }
    state.exists = true;
    state.readable = true;
    // FNV-1a over every byte: a hand edit that keeps the size and the time is seen too.
    ULONGLONG hash = 14695981039346656037ull;
    std::vector<unsigned char> buffer(65536);
    DWORD got = 0;
    while (::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
        state.size += got;
        for (DWORD i = 0; i < got; ++i) hash = (hash ^ buffer[i]) * 1099511628211ull;
    }
    ::CloseHandle(file);
    state.hash = hash;
    return state;
}

int RemoveGroupsFileLeftovers(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string prefix = path.substr(path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/") + 1);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path + ".~*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int removed = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // The pattern's "*" may match short names too: only the file's own pattern goes.
        const std::string name = found.cFileName;
        if (name.compare(0, prefix.size() + 2, prefix + ".~") != 0 || name.size() < prefix.size() + 7 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        if (::DeleteFileA((folder + "\\" + name).c_str())) ++removed;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return removed;
}
