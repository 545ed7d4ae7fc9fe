#include "catalogue/groups_file.h"
#include <bcrypt.h>
#include <cstring>
#include <utility>
#include <vector>
#include "catalogue/ansi_text.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file_dom.h"

// The groups file's object and what the parts share; the probe, the reader, the writer
// and the text rule are in groups_file_probe.cpp, _reader.cpp, _writer.cpp, _text.cpp.

extern "C" const CLSID CLSID_DOMDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
extern "C" const IID IID_IXMLDOMDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

bool BytesDigest::Matches(const BytesDigest& other) const {
    return known && other.known && std::memcmp(value, other.value, sizeof(value)) == 0;
}

namespace groupsfile {

const char kRootName[] = "NimboPurgelet";
const char kGroupsName[] = "Purgelet";

Bstr::Bstr(const char* text) : m_bstr(nullptr) {
    if (!text) text = "";
    int units = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0) units = 1;
    m_bstr = ::SysAllocStringLen(nullptr, static_cast<UINT>(units - 1));
    if (m_bstr) {
        if (units > 1) ::MultiByteToWideChar(CP_ACP, 0, text, -1, m_bstr, units);
        m_bstr[units - 1] = L'\0';
    }
}

std::string TakeAnsi(BSTR text) {
    std::string result;
    if (text) {
        AnsiFromWide(text, static_cast<int>(::SysStringLen(text)), result);
        ::SysFreeString(text);
    }
    return result;
}

bool NameIsNoCase(const wchar_t* name, const wchar_t* wanted) {
    if (!name) return false;
    for (;; ++name, ++wanted) {
        wchar_t a = *name, b = *wanted;
        if (a >= L'A' && a <= L'Z') a = static_cast<wchar_t>(a - L'A' + L'a');
        if (b >= L'A' && b <= L'Z') b = static_cast<wchar_t>(b - L'A' + L'a');
        if (a != b) return false;
        if (!a) return true;
    }
}

DOMNodeType TypeOf(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    if (FAILED(node->get_nodeType(&type))) type = NODE_INVALID;
    return type;
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
    bool blank = SUCCEEDED(node->get_text(&text));
    for (const wchar_t* c = text; blank && c && *c; ++c)
        blank = *c == L' ' || *c == L'\t' || *c == L'\r' || *c == L'\n';
    ::SysFreeString(text);
    return blank;
}

namespace {

// "xmlns" alone or "xmlns:" and a prefix: a declaration, not an attribute of the element.
bool IsNamespaceDeclaration(const wchar_t* name) {
    return std::wcsncmp(name, L"xmlns", 5) == 0 && (name[5] == L'\0' || name[5] == L':');
}

// The attribute map finds each next item by walking from the first (quadratic in the
// attributes), the node-set query costs about as much as ten short walks: a map longer
// than this is read through the query. Group and keyword elements have two attributes.
const long kWalkedMapLength = 16;

}  // namespace

AttributeList::AttributeList(IXMLDOMNode* element) {
    if (!FromMap(element)) {
        Clear();
        FromQuery(element);
    }
}

AttributeList::~AttributeList() { Clear(); }

void AttributeList::Clear() {
    for (Item& item : m_items) {
        ::SysFreeString(item.name);
        item.node->Release();
    }
    m_items.clear();
}

// True when the map gave every item it counts: some document objects fail on a
// namespace declaration partway, and the query then lists what the map could not.
bool AttributeList::FromMap(IXMLDOMNode* element) {
    IXMLDOMNamedNodeMap* map = nullptr;
    long length = 0;
    if (FAILED(element->get_attributes(&map)) || !map) return true;  // no attributes (a text node)
    bool whole = SUCCEEDED(map->get_length(&length)) && length <= kWalkedMapLength;
    long walked = 0;
    if (whole && length > 0) {
        m_items.reserve(static_cast<size_t>(length));
        map->reset();
        IXMLDOMNode* attribute = nullptr;
        while (walked < length && map->nextNode(&attribute) == S_OK && attribute) {
            ++walked;
            BSTR name = nullptr;
            if (FAILED(attribute->get_nodeName(&name)) || !name) {
                attribute->Release();
                break;
            }
            if (IsNamespaceDeclaration(name)) {
                ::SysFreeString(name);
                attribute->Release();
            } else {
                m_items.push_back({name, attribute});
            }
            attribute = nullptr;
        }
        whole = walked == length;
    }
    map->Release();
    return whole;
}

void AttributeList::FromQuery(IXMLDOMNode* element) {
    IXMLDOMNodeList* attributes = nullptr;
    Bstr query("@*");
    if (FAILED(element->selectNodes(query, &attributes)) || !attributes) return;
    attributes->reset();
    IXMLDOMNode* attribute = nullptr;
    while (attributes->nextNode(&attribute) == S_OK && attribute) {
        BSTR name = nullptr;
        if (SUCCEEDED(attribute->get_nodeName(&name)) && name) {
            m_items.push_back({name, attribute});
        } else {
            ::SysFreeString(name);
            attribute->Release();
        }
        attribute = nullptr;
    }
    attributes->Release();
}

BSTR AttributeText(IXMLDOMNode* attribute) {
    VARIANT value;
    ::VariantInit(&value);
    if (FAILED(attribute->get_nodeValue(&value)) || FAILED(::VariantChangeType(&value, &value, 0, VT_BSTR))) {
        ::VariantClear(&value);
        return nullptr;
    }
    return value.bstrVal;  // handed over
}

size_t NodesIn(IXMLDOMNode* node) {
    size_t count = 1;
    IXMLDOMNamedNodeMap* map = nullptr;
    long attributes = 0;
    if (SUCCEEDED(node->get_attributes(&map)) && map && SUCCEEDED(map->get_length(&attributes)) && attributes > 0)
        count += 2 * static_cast<size_t>(attributes);  // each with its value
    Release(map);
    // As deep as the file's elements go: the probe bounds that.
    ForEachChild(node, [&](IXMLDOMNode*& child) { count += NodesIn(child); });
    return count;
}

int IdFromText(const wchar_t* text) {
    long long value = 0;
    bool plain = text && *text && (text[0] != L'0');
    for (const wchar_t* c = text; plain && *c; ++c) {
        plain = *c >= L'0' && *c <= L'9' && value <= kMaxStoredGroupId;
        value = value * 10 + (*c - L'0');
    }
    return plain && value >= 1 && value <= kMaxStoredGroupId ? static_cast<int>(value) : 0;
}

int StoredIdOf(IXMLDOMNode* attribute) {
    BSTR text = AttributeText(attribute);
    const int id = IdFromText(text);
    ::SysFreeString(text);
    return id;
}

int StoredId(IXMLDOMNode* element, const wchar_t* attributeName) {
    int id = 0;
    ForEachAttribute(element, [&](BSTR name, IXMLDOMNode* attribute) {
        if (NameIs(name, attributeName)) id = StoredIdOf(attribute);
    });
    return id;
}

void TrimSentenceEnd(std::string& text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
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
    TrimSentenceEnd(text);
    if (text.empty()) text = "error " + std::to_string(error);
    return text;
}

HANDLE OpenToRead(const std::string& path) {
    return ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
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

bool FileHolds(const std::string& path, const std::string& bytes) {
    // Shared for reading only: a file another program holds open for writing may be
    // changing under the comparison, and is left to the reader's own rules for such a file.
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool same = ::GetFileSizeEx(file, &size) && static_cast<ULONGLONG>(size.QuadPart) == bytes.size();
    std::vector<char> buffer(65536);
    size_t at = 0;
    while (same) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            same = false;
        } else if (got == 0) {
            same = at == bytes.size();
            break;
        } else {
            same = got <= bytes.size() - at && std::memcmp(buffer.data(), bytes.data() + at, got) == 0;
            at += got;
        }
    }
    ::CloseHandle(file);
    return same;
}

Digester::Digester() : m_algorithm(nullptr), m_hash(nullptr), m_ok(false) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return;
    m_algorithm = algorithm;
    m_ok = BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
    m_hash = hash;
}

Digester::~Digester() {
    if (m_hash) ::BCryptDestroyHash(m_hash);
    if (m_algorithm) ::BCryptCloseAlgorithmProvider(m_algorithm, 0);
}

void Digester::Add(const void* bytes, size_t count) {
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    while (m_ok && count > 0) {
        const ULONG piece = count > 0x10000000 ? 0x10000000 : static_cast<ULONG>(count);
        m_ok = BCRYPT_SUCCESS(::BCryptHashData(m_hash, const_cast<PUCHAR>(at), piece, 0));
        at += piece;
        count -= piece;
    }
}

BytesDigest Digester::Finish() {
    BytesDigest digest;
    digest.known = m_ok && BCRYPT_SUCCESS(::BCryptFinishHash(m_hash, digest.value, sizeof(digest.value), 0));
    m_ok = false;
    return digest;
}

BytesDigest DigestOf(const std::string& bytes) {
    Digester digester;
    digester.Add(bytes.data(), bytes.size());
    return digester.Finish();
}

namespace {

// Whether the file at `path` holds the bytes `state` and `digest` were taken of; not while
// another program holds it open for writing (it may be changing under the reading).
bool FileStillHolds(const std::string& path, const GroupsFileState& state, const BytesDigest& digest) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool same = HandleHolds(file, state, &digest);
    ::CloseHandle(file);
    return same;
}

struct KeptDocument {
    std::string path;
    // What the document was read from: its bytes are not kept, they would add a good part of
    // the document's own memory.
    GroupsFileState state;
    BytesDigest digest;
    IXMLDOMDocument* document = nullptr;
    size_t removed = 0;  // nodes saves took out of it since
    ~KeptDocument() { Release(document); }
};

KeptDocument& Kept() {
    static KeptDocument s_kept;
    return s_kept;
}

}  // namespace

void KeepDocument(const std::string& path, const GroupsFileState& state, const BytesDigest& digest,
                  IXMLDOMDocument* document, size_t removed) {
    KeptDocument& kept = Kept();
    Release(kept.document);
    kept.path = path;
    kept.state = state;
    kept.digest = digest;
    kept.document = digest.known ? document : nullptr;
    kept.removed = removed;
    if (kept.document) kept.document->AddRef();
}

IXMLDOMDocument* TakeKeptDocument(const std::string& path, GroupsFileState* state, BytesDigest* digest,
                                  size_t* removed) {
    KeptDocument& kept = Kept();
    if (!kept.document || kept.path != path) return nullptr;
    IXMLDOMDocument* document = kept.document;
    kept.document = nullptr;
    // Compared by a digest no other bytes share, not by a quick hash: a document that is not
    // the file's own would have the save edit, and write back, what the file does not hold.
    if (!FileStillHolds(path, kept.state, kept.digest)) Release(document);
    if (document && state) *state = kept.state;
    if (document && digest) *digest = kept.digest;
    if (document && removed) *removed = kept.removed;
    kept.path.clear();
    return document;
}

}  // namespace groupsfile

using namespace groupsfile;

namespace {

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return path.substr(0, 1);
    return path.substr(0, slash);
}

}  // namespace

CGroupsFile::CGroupsFile()
    : m_pDocument(nullptr),
      m_pGroups(nullptr),
      m_bGroupsAttached(false),
      m_removedNodes(0),
      m_lastId(0),
      m_lowestTopId(0) {}

CGroupsFile::~CGroupsFile() {
    m_path.clear();
    ForgetGroups();
    Release(m_pGroups);
    Release(m_pDocument);
}

void CGroupsFile::ForgetGroups() {
    for (StoredGroup& stored : m_groups) {
        Release(stored.element);
        Release(stored.nameAttribute);
    }
    m_groups.clear();
    m_unshown.clear();
    m_otherIds.clear();
    m_written.clear();
    m_lastId = 0;
    m_lowestTopId = 0;
}

BOOL CGroupManager::Load(const char* path, GroupsFileStatus* status) {
    CGroupsFile file;
    BOOL opened = file.Open(path);
    if (status) *status = file.Status();
    if (!opened) return FALSE;
    file.ReadGroups(this);
    file.KeepReading();
    return TRUE;
}

void CGroupsFile::KeepReading() {
    if (m_pDocument && m_status.kind == GroupsFileStatus::Read && m_readFrom.known)
        KeepDocument(m_path, m_state, m_readFrom, m_pDocument, m_removedNodes);
    // Nothing here may edit the kept document.
    m_readFrom = BytesDigest();
    ForgetGroups();
    Release(m_pGroups);
    Release(m_pDocument);
}

BOOL CGroupsFile::MayReplace(const char* keptCopy) {
    // The user's bytes in a file that is no groups file are replaced only once a copy of
    // exactly those bytes is kept elsewhere.
    if (m_status.kind == GroupsFileStatus::InUse) {
        m_status.writeError = "it is in use by another program (" + m_status.reason + ")";
        return FALSE;
    }
    if (!m_status.Damaged()) return TRUE;
    if (keptCopy && *keptCopy && SameFileBytes(m_path, keptCopy)) return TRUE;
    m_status.writeError = m_status.kind == GroupsFileStatus::Unreadable
                              ? m_status.reason
                              : "it cannot be read as groups (" + m_status.reason + ") and is kept nowhere else";
    return FALSE;
}

BOOL CGroupManager::Save(const char* path, GroupsFileStatus* status, const char* keptCopy) {
    // The file as it is now is the document the user's groups are written into.
    CGroupsFile file;
    BOOL ok = file.Open(path);
    if (ok) ok = file.MayReplace(keptCopy) && file.WriteGroups(this) && file.Save();
    if (status) *status = file.Status();
    return ok;
}

bool SameFileBytes(const std::string& first, const std::string& second) {
    HANDLE a = OpenToRead(first);
    if (a == INVALID_HANDLE_VALUE) return false;
    HANDLE b = OpenToRead(second);
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
    HANDLE file = OpenToRead(path);
    if (file == INVALID_HANDLE_VALUE) {
        GroupsFileState state;
        state.exists = !IsNoFile(::GetLastError());
        return state;
    }
    const GroupsFileState state = groupsfile::ReadGroupsFileState(file);
    ::CloseHandle(file);
    return state;
}

namespace groupsfile {

GroupsFileState ReadGroupsFileState(HANDLE file, BytesDigest* digest) {
    GroupsFileState state;
    state.exists = true;
    state.readable = true;
    Digester digester;
    std::vector<unsigned char> buffer(65536);
    DWORD got = 0;
    BOOL read = FALSE;
    while ((read = ::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) && got > 0) {
        AddToState(state, buffer.data(), got);
        if (digest) digester.Add(buffer.data(), got);
    }
    // Part of it locked by another program: what could be read is not what it holds.
    if (!read) state.readable = false;
    if (digest) *digest = read ? digester.Finish() : BytesDigest();
    return state;
}

bool HandleHolds(HANDLE file, const GroupsFileState& read, const BytesDigest* digest) {
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file, &size) && static_cast<ULONGLONG>(size.QuadPart) != read.size) return false;
    BytesDigest now;
    return ReadGroupsFileState(file, digest ? &now : nullptr) == read && (!digest || now.Matches(*digest));
}

void AddToState(GroupsFileState& state, const unsigned char* bytes, size_t count) {
    // FNV-1a over every byte: a hand edit that keeps the size and the time is seen too.
    if (state.size == 0) state.hash = 14695981039346656037ull;
    state.size += count;
    for (size_t i = 0; i < count; ++i) state.hash = (state.hash ^ bytes[i]) * 1099511628211ull;
}

}  // namespace groupsfile

namespace {

// Calls take(full name, find data) for every file "<file>.~<something><ending>" beside the
// groups file: the files a save makes for itself.
template <class Take>
void ForEachSaveFile(const std::string& path, const char* ending, Take take) {
    const std::string folder = FolderOf(path);
    const std::string::size_type slash = path.find_last_of("\\/");
    const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::string tail = ending;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path + ".~*" + tail).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // The pattern's "*" may match short names too: only the file's own pattern counts.
        const std::string name = found.cFileName;
        if (name.compare(0, prefix.size() + 2, prefix + ".~") != 0 || name.size() < prefix.size() + 3 + tail.size() ||
            name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
            continue;
        take(folder + "\\" + name, found);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

}  // namespace

namespace groupsfile {

std::string SetAsideTwin(const std::string& name) {
    const std::string::size_type dot = name.find_last_of('.');
    if (dot == std::string::npos) return name;
    return name.substr(0, dot) + (name.compare(dot, std::string::npos, ".old") == 0 ? ".tmp" : ".old");
}

}  // namespace groupsfile

namespace {

bool NoFileAt(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && IsNoFile(::GetLastError());
}

}  // namespace

int RemoveGroupsFileLeftovers(const std::string& path) {
    int removed = 0;
    // While the name holds no file, new bytes beside the user's file set aside mark it as
    // the one to put back: they stay until it is back.
    const bool noFile = NoFileAt(path);
    ForEachSaveFile(path, ".tmp", [&](const std::string& name, const WIN32_FIND_DATAA&) {
        if (noFile && ::GetFileAttributesA(SetAsideTwin(name).c_str()) != INVALID_FILE_ATTRIBUTES) return;
        if (::DeleteFileA(name.c_str())) ++removed;
    });
    return removed;
}

int RemoveGroupsFileReplaced(const std::string& path, const GroupsFileState& replaced) {
    int removed = 0;
    if (!replaced.exists || NoFileAt(path)) return 0;
    ForEachSaveFile(path, ".old", [&](const std::string& name, const WIN32_FIND_DATAA&) {
        if (::GetFileAttributesA(SetAsideTwin(name).c_str()) != INVALID_FILE_ATTRIBUTES) return;
        if (ReadGroupsFileState(name) == replaced && ::DeleteFileA(name.c_str())) ++removed;
    });
    return removed;
}

bool RestoreGroupsFileSetAside(const std::string& path, std::string* notBack) {
    if (notBack) notBack->clear();
    if (!NoFileAt(path)) return false;
    // Only a file whose save left its new bytes (or their mark) beside it under the same
    // name never finished: a file set aside beside one another program made meanwhile has
    // none, nor has an old copy once the user deleted the file.
    std::string newest, newestTwin;
    FILETIME newestTime = {0, 0};
    ForEachSaveFile(path, ".old", [&](const std::string& name, const WIN32_FIND_DATAA& found) {
        const std::string twin = SetAsideTwin(name);
        if (::GetFileAttributesA(twin.c_str()) == INVALID_FILE_ATTRIBUTES) return;
        if (newest.empty() || ::CompareFileTime(&found.ftLastWriteTime, &newestTime) > 0) {
            newest = name;
            newestTwin = twin;
            newestTime = found.ftLastWriteTime;
        }
    });
    if (newest.empty()) return false;
    // Never over a file another program made meanwhile.
    if (!::MoveFileExA(newest.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        if (notBack && error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            *notBack = "it was set aside as " + newest +
                       " by a save that did not finish, and cannot be put back now: " + SystemErrorText(error);
        return false;
    }
    ::DeleteFileA(newestTwin.c_str());
    return true;
}

