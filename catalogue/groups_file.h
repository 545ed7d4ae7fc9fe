// The groups file, "Purgelet.xml": the user's groups as UTF-8 XML, read and written
// through the platform's XML document object. Layout:
//   <NimboPurgelet Version="1.1">
//   <Purgelet>
//   <Group Id="2" Name="..."> <Keyword>...</Keyword> ... </Group> ...
//   </Purgelet>
//   </NimboPurgelet>
// with one element per line. The built-in group "Other" is never written, and the Ids
// written are not read back (they only need to be unique within a run).
//
// What a save writes reads back equal, or nothing is written:
// - Every save writes UTF-8 with its own declaration (version="1.0" encoding="utf-8"),
//   whatever the file declared before: a file read as UTF-16, ISO-8859-1 or
//   windows-1252 becomes UTF-8 at its first save, with the same names.
// - A name or keyword is 8-bit text of the system's code page. A save refuses the whole
//   write (FALSE, the file left as it is, Status().writeError naming the group and the
//   character) when a name or keyword holds a character XML 1.0 cannot hold at all, not
//   even as a reference: the control characters U+0001 to U+001F other than tab, line
//   feed and carriage return, U+FFFE, U+FFFF, or bytes that are no text in the code
//   page (their UTF-16 form does not give the same bytes back). The group editor refuses
//   such text before it gets here; the refusal is the file's own guarantee.
// - Tab, line feed, carriage return and blanks, also at either end of a keyword, are
//   kept: the reader keeps white space as the file holds it (preserveWhiteSpace), and
//   the writer leaves it to the document object to write them as references where
//   the XML would otherwise change them.
// - The new file is read back and compared with the groups before it replaces the old
//   one; any difference refuses the write.
//
// A file is read only when the program would keep everything it holds: a file with a
// second groups element, or anything inside the root that a save would drop (another
// element, text, a comment, an attribute of a group other than Id and Name), or a name
// or keyword with a character the system's code page cannot hold exactly (it would be
// read as "?" or a look-alike and written back so), counts as damaged, as does a file whose shape would make the parser slow (an element with more
// than kMaxGroupsFileAttributes attributes, elements nested deeper than
// kMaxGroupsFileDepth), found by one pass over the bytes before the parser sees them.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "catalogue/groups.h"

struct IXMLDOMDocument;
struct IXMLDOMNode;

// Bounds of the file's shape. A groups file has two attributes on a group and four
// levels of elements; the parser's time grows with the square of one element's
// attributes.
const int kMaxGroupsFileAttributes = 1000;
const int kMaxGroupsFileDepth = 64;

// What a load or a save found where the groups file belongs. A file that is there but
// is no groups file holds bytes of the user's that no save may destroy unseen.
struct GroupsFileStatus {
    enum Kind {
        Read,           // a groups file, read
        Missing,        // no file, or an empty one: nothing stored yet
        Unreadable,     // there, but it cannot be opened (locked, no access)
        NotWellFormed,  // not well-formed XML
        ForeignRoot,    // XML with another root element
        DocumentType,   // declares a document type: refused unread
        Incomplete,     // holds something the program would not keep (a second groups element,
                        // a name the code page cannot hold...)
        TooComplex,     // its shape would make the parser slow: refused unread
    };
    Kind kind = Missing;
    std::string reason;      // why the file cannot be read as groups, for the user
    std::string writeError;  // why a save could not write the file, for the user
    bool Damaged() const { return kind >= Unreadable; }
};

// Copies the file beside itself as "<file>.damaged" ("<file>.damaged-2" ... when that
// name is taken), never over another file; a copy there already with the same bytes is
// used as it is. The file itself is not touched. False, with the name tried and the
// system's reason, when no copy could be made.
bool KeepGroupsFileCopy(const std::string& path, std::string* copyPath, std::string* error);
// Whether two files hold the same bytes (false when either cannot be read).
bool SameFileBytes(const std::string& first, const std::string& second);

// What is on disk at a path, to tell whether somebody else changed the file since this
// program last read or wrote it: whether it is there, its size and a hash of its bytes.
struct GroupsFileState {
    bool exists = false;
    bool readable = false;
    ULONGLONG size = 0;
    ULONGLONG hash = 0;
    bool operator==(const GroupsFileState& other) const {
        return exists == other.exists && readable == other.readable && size == other.size && hash == other.hash;
    }
    bool operator!=(const GroupsFileState& other) const { return !(*this == other); }
};
GroupsFileState ReadGroupsFileState(const std::string& path);

// Why a group's name or keyword cannot be written to the groups file, or "" when it can:
// the one rule of what the file holds (see the top of this file), for the dialogs that
// take a name or keyword to ask before the save would refuse. The reason names the
// character ("the control character U+0007", "bytes that are no text in the system's
// code page").
std::string GroupsFileTextFault(const std::string& text);

// Removes the temporary files a save left beside the file when the program ended in the
// middle of it ("<file>.~*.tmp"); a file that another save holds open stays. Gives back
// how many were removed.
int RemoveGroupsFileLeftovers(const std::string& path);

// The classic MSXML document class and its interface. mingw's msxml2.h maps the class
// name to DOMDocument2, so the program spells them out itself.
extern "C" const CLSID CLSID_DOMDocument;
extern "C" const IID IID_IXMLDOMDocument;

class CGroupsFile {
public:
    CGroupsFile();
    ~CGroupsFile();
    CGroupsFile(const CGroupsFile&) = delete;
    CGroupsFile& operator=(const CGroupsFile&) = delete;

    // Loads the file, or starts an empty document when it is missing, not well-formed or
    // not ours (a root other than "NimboPurgelet"); Status() says which. FALSE only when
    // no document could be made at all.
    BOOL Open(const char* path);
    const GroupsFileStatus& Status() const { return m_status; }
    // Appends the groups the file held when opened to the manager.
    void ReadGroups(CGroupManager* manager);
    // The same groups, appended to `groups` in file order (Ids left 0).
    void ReadGroups(std::vector<GroupEntry>* groups);
    // Replaces the groups element's content by the manager's user groups. FALSE, with the
    // reason in Status().writeError, when a name or keyword cannot be written.
    BOOL WriteGroups(CGroupManager* manager);
    // Writes the document as UTF-8, one element per line. The new bytes go to a file of
    // their own beside the old one, are read back and compared with the groups, and only
    // then replace the old file (which keeps its attributes); FALSE when the file could
    // not be written, with the reason in Status().writeError, and the old file whole.
    BOOL Save();

private:
    BOOL StartEmptyDocument();
    void NoteParseError();
    void NoteForeignRoot();
    bool FindDroppedContent(IXMLDOMNode* root);
    bool ReadGroupNodes();
    BOOL SetUtf8Declaration();
    BOOL SerializeDocument(std::string& bytes);
    BOOL AppendElement(IXMLDOMNode* parent, const char* name, const std::string& text);
    BOOL SetAttribute(IXMLDOMNode* element, const char* name, const VARIANT& value);
    BOOL RemoveChildren(IXMLDOMNode* node);
    IXMLDOMNode* CreateElement(const char* name);
    BOOL WriteDocument(IXMLDOMDocument* document);
    BOOL AddLineBreaks(IXMLDOMNode* element);
    BOOL InsertLineFeed(IXMLDOMNode* parent, IXMLDOMNode* before);

    IXMLDOMDocument* m_pDocument;
    IXMLDOMNode* m_pGroups;
    std::string m_path;
    GroupsFileStatus m_status;
    std::vector<GroupEntry> m_groups;   // the groups the file held when opened
    std::vector<GroupEntry> m_written;  // the groups WriteGroups put in, for the read-back
};
