// The groups file, "Purgelet.xml": the user's groups as UTF-8 XML, read and written
// through the platform's XML document object. Layout:
//   <NimboPurgelet Version="1.1">
//   <Purgelet>
//   <Group Id="2" Name="..."> <Keyword>...</Keyword> ... </Group> ...
//   </Purgelet>
//   </NimboPurgelet>
// with one element per line. The built-in group "Other" is never written.
//
// The file is edited, never rebuilt: a save reads the document as the file holds it and
// changes only the groups that changed, each found by its Id (its name, its keywords,
// the group added or deleted); everything else is written back as it was read: comments
// and processing instructions, attributes and elements the program does not use, other
// groups elements, and groups whose names or keywords the system's code page cannot show
// (those are left out of the list, see UnshownGroups, and never touched). The groups read
// are those of the last "Purgelet" element of the root.
//
// Ids: a group keeps the Id the file gives it. A group whose Id is missing, not a plain
// decimal number from 1 to kMaxStoredGroupId, or the same as an earlier group's, is read
// with Id 0 (the program gives it one, written at the next save); a new group gets an Id
// the file does not hold (CGroupManager::ReserveId).
// An Id is given once per file, across runs: a copy of the program still running on an
// older state of the file follows its groups by Id, and would take a new group of a
// reused Id for the one deleted. So when the largest Id ever given is no longer held by
// a group (that group was deleted), the groups element keeps it in its attribute
// "LastId" (<Purgelet LastId="7">), read back as an Id the file holds. Files without it
// (written before, or never needing it) give their largest group Id instead; the
// attribute is written only when it must grow, or when a top Id there gives way to the
// largest Id given upwards (below), and otherwise left as it is.
// Once the Ids ran up to kMaxStoredGroupId, new ones are given downwards, below every top
// Id (kFirstTopGroupId and up) the file holds or held: when a top Id leaves it that
// "LastId" does not keep, the groups element keeps the lowest top Id it held in
// "LowestTopId" (<Purgelet LowestTopId="1073741822">), read back as an Id the file holds;
// every Id from it up counts as given (GivenIds), also once another program deletes the
// group of the lowest without a trace. A "LastId" that was a top Id goes there when a larger one replaces it.
// When the top half is used up, Ids are given downwards below it too, and the lowest of
// them goes there as soon as its group is written (no group's Id tells it from an Id
// given upwards). Files without it give their lowest top Id instead (an earlier build
// reads neither attribute and keeps both as they are); it is written only when it must
// go down, and otherwise left as it is. Ids given downwards stop above the largest Id
// given upwards below them (every Id up to it counts as given): while no group holds that
// one, "LastId" keeps it rather than a top Id, which "LowestTopId" then keeps. When no Id
// is left between, a new group is written without an Id (IsRunOnlyId).
//
// What a save writes reads back equal, or nothing is written (Status().writeError says
// what would have read back otherwise):
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
// - What the new bytes read as is compared with the groups meant before anything is
//   written, and the new file is read back and must hold exactly those bytes before it
//   replaces the old one; any difference refuses the write. The writer writes each
//   construct in the form the parser gives back as it was, and reads the groups as a load
//   reads them while it writes them: so the bytes need no parse to be known, except where
//   the document declares namespaces (their text is the document object's) or holds a text
//   longer than a million bytes (a parser may refuse one of ten million): those are parsed
//   back from the new file.
//
// A file another program holds so that it cannot be read whole now (open for writing, a
// sync client or an editor saving it, or open without sharing) is in use: never damaged,
// never replaced. While the document object parses the file, nobody may open it for
// writing, and a save replaces the file only while it still holds the bytes read (State).
//
// A file is damaged only when the parser cannot read it (not well-formed), when it is no
// groups file (another root element, a document type), or when its shape would make the
// parser slow (an element with more than kMaxGroupsFileAttributes attributes besides
// those a save may add itself (Id, Name, LastId, LowestTopId: one of each at most), elements
// nested deeper than kMaxGroupsFileDepth, more than kMaxGroupsFileNamespaces namespace
// declarations), found by one pass over the bytes before the parser sees them.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "catalogue/groups.h"

struct IXMLDOMDocument;
struct IXMLDOMNode;
namespace groupsfile {
struct GroupReading;
struct GroupsReading;
}  // namespace groupsfile

// Bounds of the file's shape. A groups file has two attributes on a group, four levels
// of elements and no namespace declaration; the parser's time grows with the square of
// one element's attributes, and with the declarations in scope for each prefixed name.
const int kMaxGroupsFileAttributes = 1000;
const int kMaxGroupsFileDepth = 64;
const int kMaxGroupsFileNamespaces = 64;  // in the whole file
// The largest Id read from a file; larger ones count as none (see kMaxGroupId).
const int kMaxStoredGroupId = kMaxGroupId;

// What a load or a save found where the groups file belongs. A file that is there but
// is no groups file holds bytes of the user's that no save may destroy unseen.
struct GroupsFileStatus {
    enum Kind {
        Read,           // a groups file, read
        Missing,        // no file, or an empty one: nothing stored yet
        InUse,          // another program holds it open for writing or without sharing: try later
        Unreadable,     // there, but it cannot be opened (no access)
        NotWellFormed,  // not well-formed XML
        ForeignRoot,    // XML with another root element
        DocumentType,   // declares a document type: refused unread
        TooComplex,     // its shape would make the parser slow: refused unread
    };
    Kind kind = Missing;
    std::string reason;      // why the file cannot be read as groups, for the user
    std::string writeError;  // why a save could not write the file, for the user
    // Set by a save that found the file changed since it was read: nothing was written,
    // and the file is to be read again before the next try.
    bool changedSinceRead = false;
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

// The SHA-256 digest of bytes, through the system's cryptography: no two files met in
// practice share one, so it tells a file's bytes as surely as the bytes themselves, in 32
// bytes. `known` is false when the system gave none; such a digest matches nothing.
struct BytesDigest {
    unsigned char value[32] = {};
    bool known = false;
    bool Matches(const BytesDigest& other) const;
};

// Why a group's name or keyword cannot be written to the groups file, or "" when it can:
// the one rule of what the file holds (see the top of this file), for the dialogs that
// take a name or keyword to ask before the save would refuse. The reason names the
// character ("the control character U+0007", "bytes that are no text in the system's
// code page").
std::string GroupsFileTextFault(const std::string& text);

// Removes the temporary files a save left beside the file when the program ended in the
// middle of it ("<file>.~*.tmp"); one that marks a file set aside to put back while the path
// holds no file stays (see RestoreGroupsFileSetAside). The caller makes sure no save is
// under way (the program's copies take turns). Gives back how many were removed.
int RemoveGroupsFileLeftovers(const std::string& path);
// Removes the files a save set aside ("<file>.~*.old") without their twin that hold exactly
// `replaced`: the bytes a write replaced that is known to have taken the name (its move-in
// done, its end cut short before the old file went). Any other file set aside stays.
// Gives back how many were removed.
int RemoveGroupsFileReplaced(const std::string& path, const GroupsFileState& replaced);
// A save sets the old file aside ("<file>.~<n>.old") for the moment before the new one
// takes its name; its new bytes lie beside under the same name ("<file>.~<n>.tmp"). One
// that the end of the program cut short there, or whose new file could not be moved in nor
// the old one put back, leaves no file at the path and its pair of files beside (the
// latter marks the pair with an empty "<file>.~<n>.tmp" when its new bytes are gone).
// When the path holds no file, the file set aside last of such a pair is put back there,
// and its twin removed. A file set aside without its twin stays where it is: beside a file
// another program made meanwhile, or an old copy when the user deleted the file. True when
// one was put back. Every open of the file calls it first, and every start before it
// removes the leftovers. When such a file is there but cannot be moved back (another
// program holds it), `notBack`, when given, receives why: the user's file is in use
// until it is back, and nothing may be written at its name meanwhile.
bool RestoreGroupsFileSetAside(const std::string& path, std::string* notBack = nullptr);

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
    // no document could be made at all. A file that holds exactly the bytes the last save
    // of this process wrote there is not parsed again: the save's reading of them serves.
    BOOL Open(const char* path);
    const GroupsFileStatus& Status() const { return m_status; }
    // The file as this object last read it (Open) or wrote it (Save): what a later
    // ReadGroupsFileState gives while nobody else wrote it since.
    const GroupsFileState& State() const { return m_state; }
    // Appends the groups the file held when opened to the manager, each with the file's
    // Id where it has one of its own, and reserves every Id the file holds.
    void ReadGroups(CGroupManager* manager);
    // The same groups, appended to `groups` in file order, with the file's Ids (0 where
    // the file gives none of its own).
    void ReadGroups(std::vector<GroupEntry>* groups);
    // Marks every Id the file holds as used in the manager, also those of groups it does
    // not show and of other groups elements, and its LastId.
    void ReserveIds(CGroupManager* manager) const;
    // The names (as the code page shows them) of the groups the file holds that are left
    // out of ReadGroups because the code page cannot show their name or a keyword.
    const std::vector<std::string>& UnshownGroups() const { return m_unshown; }
    // The Ids the file holds besides those of ReadGroups: of the groups it does not show
    // and of the other groups elements.
    const std::vector<int>& OtherIds() const { return m_otherIds; }
    // What the file counts as given (GivenIds): the Ids of its groups, those of OtherIds,
    // LastId and LowestTopId, as read, or as written by the last WriteGroups.
    GivenIds IdsGiven() const;
    // The largest Id the groups element says was ever given ("LastId"), or 0.
    int LastId() const { return m_lastId; }
    // The lowest Id given downwards that the groups element records ("LowestTopId"), or 0.
    int LowestTopId() const { return m_lowestTopId; }
    // Edits the document so that its groups become the manager's user groups: each group
    // of the file is the group of the same Id in the manager, or, when `ids` is given (as
    // many as ReadGroups gave, in its order), the group of the Id at its place there. A
    // group the manager lacks is removed, one only the manager has is added at the end,
    // and of the others only a changed name or keyword is touched. FALSE, with the reason
    // in Status().writeError, when a name or keyword cannot be written. The groups
    // element's "LastId" grows to the largest Id the file held when no group holds it now,
    // and its "LowestTopId" goes down to the lowest top Id it held likewise, or to the
    // lowest Id the manager gave downwards.
    BOOL WriteGroups(CGroupManager* manager, const std::vector<GroupEntry>* ids = nullptr);
    // The groups WriteGroups left in the document, in its order (as a later ReadGroups of
    // the saved file gives them, with their Ids).
    const std::vector<GroupEntry>& Written() const { return m_written; }
    // Whether a save may put the groups where the file is: not over a file that is there
    // but no groups file (Damaged) unless `keptCopy` names a file holding the same bytes.
    // FALSE, with the reason in Status().writeError, when not.
    BOOL MayReplace(const char* keptCopy);
    // Writes the document as UTF-8. The new bytes, known to read as the groups, go to a file
    // of their own beside the old one, are read back and compared with what was written,
    // and only then replace the old file
    // (which keeps its attributes), if it still holds what Open read; FALSE when the file
    // could not be written, with the reason in Status().writeError (the kind InUse when
    // another program held the file, changedSinceRead when it wrote it), and the old file
    // whole.
    BOOL Save();
    // Called by Save once the new bytes lie beside the file and read back as meant, just
    // before they take its name, with the file they replace (State()) and what the file
    // holds once they do: the caller notes there what the write makes of the file, so that
    // a start after a death in between can tell whether the write got there. When the
    // replace is then refused or fails, `unnote` is called before the new bytes are deleted
    // from beside the file (or the file set aside is put back): a note outlives its write
    // only once the write took the name, or while those bytes still lie there to say that it
    // did not. When `unnote` gives false (the note could not go), the bytes stay there.
    void BeforeReplace(std::function<void(const GroupsFileState& from, const GroupsFileState& to)> note,
                       std::function<bool()> unnote) {
        m_beforeReplace = std::move(note);
        m_replaceUndone = std::move(unnote);
    }
    // Called by Save at the steps of the replace ("set aside": the file is set aside, the
    // new bytes about to take its name; "moved in": they took it, the old file not gone
    // yet): where a test stops the program to end it there, as a death at that moment would.
    void WhenReplacing(std::function<void(const char* step)> replacing) { m_replacing = std::move(replacing); }
    // Hands the document, when it is the file's reading as Open made it (nothing edited),
    // to the next Open of the file, which takes it instead of parsing the file again while
    // the file holds the same bytes; this object is left holding nothing. For a load, whose
    // reading the first change then edits.
    void KeepReading();

private:
    struct StoredGroup {
        GroupEntry group;          // as read (Id 0 when the file gives it none of its own)
        IXMLDOMNode* element;      // its element, owned
        IXMLDOMNode* nameAttribute;  // the attribute its name was read from, owned, or null
    };

    BOOL StartEmptyDocument();
    void NoteParseError();
    void NoteForeignRoot();
    void ReadGroupNodes(IXMLDOMNode* root);
    void ReadGroup(IXMLDOMNode* element, groupsfile::GroupReading& group, IXMLDOMNode*& nameAttribute);
    void ForgetGroups();
    BOOL CheckWritable(const GroupEntry& group);
    BOOL EditGroup(StoredGroup& stored, const GroupEntry& wanted);
    BOOL EditKeywords(IXMLDOMNode* element, const std::vector<std::string>& from, const std::vector<std::string>& to);
    IXMLDOMNode* NewGroupElement(const GroupEntry& group);
    BOOL SetAttribute(IXMLDOMNode* element, const char* name, const VARIANT& value);
    BOOL SetId(IXMLDOMNode* element, int id);
    BOOL SetName(IXMLDOMNode* element, IXMLDOMNode* nameAttribute, const std::string& name);
    BOOL SetText(IXMLDOMNode* element, const std::string& text);
    IXMLDOMNode* CreateElement(const char* name);
    BOOL Insert(IXMLDOMNode* parent, IXMLDOMNode* node, IXMLDOMNode* before);
    BOOL InsertLineFeed(IXMLDOMNode* parent, IXMLDOMNode* before);
    BOOL InsertLine(IXMLDOMNode* parent, IXMLDOMNode* node, IXMLDOMNode* before);
    BOOL InsertOnItsOwnLine(IXMLDOMNode* parent, IXMLDOMNode* node);
    BOOL RemoveWithItsLine(IXMLDOMNode* parent, IXMLDOMNode* node);
    BOOL WriteDocument();
    BOOL KeepGivenIds(const std::vector<int>& idsRead, int givenDownwards);
    std::string WrittenFault(const std::string& temp, const std::string& bytes, IXMLDOMDocument** readBack,
                             BytesDigest* digest);
    std::string ReadBackFault(const std::string& temp, const std::string& bytes, IXMLDOMDocument** readBack,
                              BytesDigest* digest);
    std::string ReadingFault(const groupsfile::GroupsReading& read) const;

    IXMLDOMDocument* m_pDocument;
    IXMLDOMNode* m_pGroups;   // the groups element read and written
    bool m_bGroupsAttached;   // whether m_pGroups is in the document yet
    std::string m_path;
    BytesDigest m_readFrom;  // of the bytes the document was read from, until it is edited
    // The nodes taken out of the document since it was parsed (NodesIn): the document object
    // may keep them as long as the document lives.
    size_t m_removedNodes;
    GroupsFileStatus m_status;
    GroupsFileState m_state;
    std::vector<StoredGroup> m_groups;  // the groups the file holds that the program shows
    std::vector<std::string> m_unshown;
    std::vector<int> m_otherIds;        // Ids of the file's groups not in m_groups
    std::vector<GroupEntry> m_written;  // the groups WriteGroups made, for the read-back
    int m_lastId;                       // the groups element's "LastId" as read or written
    int m_lowestTopId;                  // its "LowestTopId" likewise
    std::function<void(const GroupsFileState&, const GroupsFileState&)> m_beforeReplace;
    std::function<bool()> m_replaceUndone;
    std::function<void(const char*)> m_replacing;
};
