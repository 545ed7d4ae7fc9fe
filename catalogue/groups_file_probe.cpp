#include <cstring>
#include "catalogue/groups_file_dom.h"

// The probe: one pass over the file's bytes before the parser sees them.

namespace groupsfile {

namespace {

// Follows the markup of a file character by character, once, to find a shape that would
// make the parser slow before the parser sees it: an element with very many attributes
// (the parser compares each attribute with every one before it), elements nested very
// deep, or many namespace declarations (each prefixed name is looked up among all those
// in scope). Well-formedness is the parser's question: this only has to count right for
// files that are.
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
                m_nameLength = 0;
                m_nameEnded = false;
                if (++m_depth > kMaxGroupsFileDepth) return Refuse(Deep);
            }
            break;
        case StartTag:
            if (c == '"' || c == '\'') {
                m_quote = c;
                m_state = Quoted;
            } else if (c == '=') {
                // What a save adds itself is not counted, so that a save never turns a file
                // the probe took into one it refuses: an element holds one of each at most.
                if (!IsAddedBySave() && ++m_attributes > kMaxGroupsFileAttributes) return Refuse(Wide);
                if (IsNamespaceDeclaration() && ++m_namespaces > kMaxGroupsFileNamespaces) return Refuse(Namespaces);
                m_nameLength = 0;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                m_nameEnded = true;
            } else if (c == '>') {
                if (m_previous == '/' && m_depth > 0) --m_depth;  // an empty element
                m_state = Text;
            } else {
                TakeNameCharacter(c);
            }
            break;
        case Quoted:
            if (c == m_quote) {
                m_state = StartTag;
                m_nameEnded = true;
            }
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
        if (m_refused == Namespaces)
            return "it declares more than " + std::to_string(kMaxGroupsFileNamespaces) +
                   " namespaces, which no groups file does";
        return "its elements are nested more than " + std::to_string(kMaxGroupsFileDepth) +
               " deep, which no groups file is";
    }

private:
    enum State { Text, AfterOpen, StartTag, Quoted, EndTag, Instruction, Bang, Comment, Section, Declaration };
    enum Refusal { None, Wide, Deep, Namespaces };
    // The first characters of the name being read in a start tag: a name starts after a
    // blank or a value (the element's own name is followed by a blank before any
    // attribute).
    void TakeNameCharacter(unsigned c) {
        if (m_nameEnded) {
            m_nameLength = 0;
            m_nameEnded = false;
        }
        if (m_nameLength < kNameKept) m_name[m_nameLength] = static_cast<char>(c);
        if (m_nameLength <= kNameKept) ++m_nameLength;
    }
    bool NameIs(const char* name) const {
        const int length = static_cast<int>(std::strlen(name));
        return m_nameLength == length && std::memcmp(m_name, name, length) == 0;
    }
    // The attributes a save may give an element: a group's Id and Name, the groups
    // element's LastId and LowestTopId.
    bool IsAddedBySave() const {
        return NameIs("Id") || NameIs("Name") || NameIs("LastId") || NameIs("LowestTopId");
    }
    // "xmlns" alone or "xmlns:" and a prefix.
    bool IsNamespaceDeclaration() const {
        if (m_nameLength < 5 || std::memcmp(m_name, "xmlns", 5) != 0) return false;
        return m_nameLength == 5 || m_name[5] == ':';
    }
    static const int kNameKept = 12;  // the longest name asked about, and one more
    char m_name[kNameKept] = {};
    int m_nameLength = 0;
    bool m_nameEnded = false;
    int m_namespaces = 0;
    bool Refuse(Refusal why) {
        m_refused = why;
        return false;
    }
    State m_state = Text;
    Refusal m_refused = None;
    unsigned m_quote = 0, m_previous = 0;
    int m_attributes = 0, m_depth = 0, m_run = 0;
};

const char kDocumentType[] = "<!DOCTYPE";

// The whole look at the text: a document type declared anywhere ("<!DOCTYPE" in any case),
// and the shape (ShapeScanner), character by character.
class TextProbe {
public:
    // Takes one character; false once the text is refused.
    bool Take(unsigned c) {
        if (c == 0) return true;
        const unsigned upper = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
        m_matched =
            (upper == static_cast<unsigned char>(kDocumentType[m_matched])) ? m_matched + 1 : (upper == '<' ? 1 : 0);
        m_typed = m_matched == sizeof(kDocumentType) - 1;
        m_refused = !m_shape.Take(c > 127 ? 128 : c);
        return !m_typed && !m_refused;
    }
    bool Typed() const { return m_typed; }
    bool Refused() const { return m_refused; }
    // Why the text was refused, for the user.
    std::string Reason() const {
        return m_typed ? std::string("it declares a document type, which a groups file never does") : m_shape.Reason();
    }

private:
    ShapeScanner m_shape;
    size_t m_matched = 0;
    bool m_typed = false, m_refused = false;
};

}  // namespace

std::string ProbeFault(const std::string& bytes) {
    TextProbe probe;
    for (const char c : bytes)
        if (!probe.Take(static_cast<unsigned char>(c))) return probe.Reason();
    return std::string();
}

// Looks at the file before the parser does. A missing or empty file holds nothing of the
// user's; one that cannot be opened is the user's all the same, and one that another
// program holds for writing may be half written: it is in use, to be read later. A file
// that declares a document type is not ours and is refused before the parser sees it: a
// document type can define entities that expand to far more than the file holds. A file whose shape
// would make the parser slow is refused too (ShapeScanner). UTF-16 text is read by code
// units when it starts with a byte-order mark or "<?" in UTF-16; in any other file zero
// bytes are skipped, so that unmarked wide text is caught too. One pass, in linear time.
// True when the parser may read the file.
bool ProbeFile(const std::string& path, GroupsFileStatus& status, GroupsFileState& state, HANDLE& held,
               BytesDigest* digest) {
    held = INVALID_HANDLE_VALUE;
    state = GroupsFileState();
    // Shared for reading only: the open fails while another program may write the file,
    // and while the handle stays open (through the parse) no program can start to.
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (IsNoFile(error)) {
            status.kind = GroupsFileStatus::Missing;
        } else {
            state.exists = true;
            status.kind = IsHeldByAnother(error) ? GroupsFileStatus::InUse : GroupsFileStatus::Unreadable;
            status.reason = SystemErrorText(error);
        }
        return false;
    }
    state.exists = true;
    state.readable = true;
    size_t total = 0;
    bool found = false, refused = false;
    TextProbe probe;
    enum { Unknown, Bytes, Little, Big } width = Unknown;
    int pending = -1;  // the first byte of a UTF-16 unit split between two reads
    auto take = [&](unsigned c) {
        probe.Take(c);
        found = probe.Typed();
        refused = probe.Refused();
    };
    Digester digester;
    unsigned char buffer[16384];
    DWORD got = 0;
    BOOL read = FALSE;
    // Read to the end, also past a refusal: the state covers every byte.
    while ((read = ::ReadFile(file, buffer, sizeof(buffer), &got, nullptr)) && got > 0) {
        AddToState(state, buffer, got);
        if (digest) digester.Add(buffer, got);
        if (found || refused) continue;
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
    if (!read) {
        // Part of it locked by another program (or a failing disk).
        const DWORD error = ::GetLastError();
        ::CloseHandle(file);
        state.readable = false;
        status.kind = IsHeldByAnother(error) ? GroupsFileStatus::InUse : GroupsFileStatus::Unreadable;
        status.reason = SystemErrorText(error);
        return false;
    }
    if (found || refused || total == 0) ::CloseHandle(file);
    if (found || refused) {
        status.kind = found ? GroupsFileStatus::DocumentType : GroupsFileStatus::TooComplex;
        status.reason = probe.Reason();
        return false;
    }
    if (total == 0) {
        status.kind = GroupsFileStatus::Missing;
        return false;
    }
    if (digest) *digest = digester.Finish();
    held = file;
    return true;
}

}  // namespace groupsfile
