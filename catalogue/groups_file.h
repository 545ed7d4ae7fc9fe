// The groups file, "Purgelet.xml": the user's groups as UTF-8 XML, read and written
// through the platform's XML document object. Layout:
//   <NimboPurgelet Version="1.1">
//   <Purgelet>
//   <Group Id="2" Name="..."> <Keyword>...</Keyword> ... </Group> ...
//   </Purgelet>
//   </NimboPurgelet>
// with one element per line. The built-in group "Other" is never written, and the Ids
// written are not read back (they only need to be unique within a run).
#pragma once
#include <windows.h>
#include <string>

struct IXMLDOMDocument;
struct IXMLDOMNode;
class CGroupManager;

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
    // Appends the groups of the file to the manager.
    void ReadGroups(CGroupManager* manager);
    // Replaces the groups element's content by the manager's user groups.
    BOOL WriteGroups(CGroupManager* manager);
    // Writes the document, one element per line. The old file is replaced only after the
    // new one was written completely; FALSE when the file could not be written, with the
    // reason in Status().writeError.
    BOOL Save();

private:
    BOOL StartEmptyDocument();
    void NoteParseError();
    void NoteForeignRoot();
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
};
