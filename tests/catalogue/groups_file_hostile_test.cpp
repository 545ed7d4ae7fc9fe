// Groups files made to attack the reader: document types with entities, and shapes that
// make the parser slow, in 8-bit and UTF-16 text, are refused as damaged and left as
// they are.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "catalogue_test_util.h"

namespace {

class GroupsFileHostile : public cattest::GroupsTest {
protected:
    std::string GroupNames() const {
        std::string names;
        for (const GroupEntry* g : m->m_Groups) names += (names.empty() ? "" : ",") + g->Name;
        return names;
    }
    cattest::TempFolder folder;
    std::string path = folder.Path() + "Purgelet.xml";
};

}  // namespace

TEST_F(GroupsFileHostile, DocumentTypesAreRefusedAndTheFileKept) {
    const std::string laughs =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE NimboPurgelet [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>\n"
        "<NimboPurgelet><Purgelet><Group Name=\"&d;\"><Keyword>&d;</Keyword></Group></Purgelet></NimboPurgelet>";
    const std::string plain =
        "<?xml version=\"1.0\"?><!doctype NimboPurgelet>"
        "<NimboPurgelet><Purgelet><Group Name=\"G\"/></Purgelet></NimboPurgelet>";
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {{"entities", laughs}, {"lower case", plain}, {"UTF-16", cattest::Utf16LE(laughs)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cattest::WriteWholeFile(path, c.bytes);
        GroupsFileStatus status;
        EXPECT_TRUE(m->Load(path.c_str(), &status));
        EXPECT_EQ(GroupsFileStatus::DocumentType, status.kind);
        EXPECT_EQ(1u, m->m_Groups.size());  // "Other" alone
        EXPECT_EQ(c.bytes, cattest::ReadWholeFile(path));
        // Nor does a save write over it.
        EXPECT_FALSE(m->Save(path.c_str()));
        EXPECT_EQ(c.bytes, cattest::ReadWholeFile(path));
        Reset();
    }
}

// A shape that makes the parser slow is refused by the one pass over the bytes before the
// parser sees them; the same shape within the bounds is read.
TEST_F(GroupsFileHostile, ElementsWithTooManyAttributesOrNamespacesOrTooDeepAreRefusedAndTheFileKept) {
    // `n` attributes, then those named in `more`.
    auto attributes = [](int n, const std::string& more = "") {
        std::string s = "<?xml version=\"1.0\"?>\n<NimboPurgelet";
        for (int i = 0; i < n; ++i) s += " a" + std::to_string(i) + "='>/'";
        return s + more + "><Purgelet><Group Name=\"G\"/></Purgelet></NimboPurgelet>";
    };
    auto nested = [](int depth) {
        std::string s = "<NimboPurgelet><Purgelet><Group Name=\"G\"/></Purgelet>";
        // An attribute, a comment and a section with markup characters inside count nothing.
        for (int i = 2; i < depth; ++i) s += "<d x=\">/\"><!-- <a><b> --><![CDATA[<c>]]><e/>";
        for (int i = 2; i < depth; ++i) s += "</d>";
        return s + "</NimboPurgelet>";
    };
    // `levels` nested elements each declaring `each` namespaces (the default one among
    // them, written with blanks around its "=") and using them in prefixed attributes.
    auto namespaces = [](int levels, int each) {
        std::string s = "<NimboPurgelet><Purgelet><Group Name=\"G\"/></Purgelet>";
        for (int l = 0; l < levels; ++l) {
            s += "<d xmlns = 'urn:d'";
            for (int i = 1; i < each; ++i) s += " xmlns:p" + std::to_string(i) + "='urn:" + std::to_string(i) + "'";
            for (int i = 1; i < each; ++i) s += " p" + std::to_string(i) + ":a='v'";
            s += ">";
        }
        for (int l = 0; l < levels; ++l) s += "</d>";
        return s + "</NimboPurgelet>";
    };
    // `n` elements whose one attribute, right after the element's name, declares a namespace.
    auto firstDeclarations = [](int n) {
        std::string s = "<NimboPurgelet><Purgelet><Group Name=\"G\"/></Purgelet>";
        for (int i = 0; i < n; ++i) s += i % 2 ? "<Entry xmlns:q='urn:q'/>" : "<Field\txmlns=\"urn:f\"></Field>";
        return s + "</NimboPurgelet>";
    };
    const struct {
        const char* name;
        std::string bytes;
        GroupsFileStatus::Kind kind;
    } cases[] = {
        {"100,000 attributes", attributes(100000), GroupsFileStatus::TooComplex},
        {"100,000 attributes in UTF-16", cattest::Utf16LE(attributes(100000)), GroupsFileStatus::TooComplex},
        {"1,001 attributes", attributes(kMaxGroupsFileAttributes + 1), GroupsFileStatus::TooComplex},
        {"1,000 attributes", attributes(kMaxGroupsFileAttributes), GroupsFileStatus::Read},
        // Those a save adds itself are not counted; names that only start like them are.
        {"1,000 attributes and those a save adds",
         attributes(kMaxGroupsFileAttributes, " Id='2' Name='n' LastId='3' LowestTopId='4'"), GroupsFileStatus::Read},
        {"1,000 attributes and Idx", attributes(kMaxGroupsFileAttributes, " Idx='1'"), GroupsFileStatus::TooComplex},
        {"1,000 attributes and Names", attributes(kMaxGroupsFileAttributes, " Names='1'"),
         GroupsFileStatus::TooComplex},
        {"1,000 attributes and LastIds", attributes(kMaxGroupsFileAttributes, " LastIds='1'"),
         GroupsFileStatus::TooComplex},
        {"1,000 attributes and LowestTopIds", attributes(kMaxGroupsFileAttributes, " LowestTopIds='1'"),
         GroupsFileStatus::TooComplex},
        {"nested too deep", nested(kMaxGroupsFileDepth + 1), GroupsFileStatus::TooComplex},
        {"nested to the bound", nested(kMaxGroupsFileDepth), GroupsFileStatus::Read},
        // Each prefixed name is looked up among the namespaces in scope: 30 elements of 999
        // declarations each made 2 MB take half a minute.
        {"30 x 999 namespace declarations", namespaces(30, 999), GroupsFileStatus::TooComplex},
        {"one too many namespace declarations", namespaces(1, kMaxGroupsFileNamespaces + 1),
         GroupsFileStatus::TooComplex},
        {"namespace declarations to the bound", namespaces(2, kMaxGroupsFileNamespaces / 2), GroupsFileStatus::Read},
        {"namespace declarations in UTF-16", cattest::Utf16LE(namespaces(30, 999)), GroupsFileStatus::TooComplex},
        {"declarations first in their tags, one too many", firstDeclarations(kMaxGroupsFileNamespaces + 1),
         GroupsFileStatus::TooComplex},
        {"declarations first in their tags, to the bound", firstDeclarations(kMaxGroupsFileNamespaces),
         GroupsFileStatus::Read},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        cattest::WriteWholeFile(path, c.bytes);
        GroupsFileStatus status;
        EXPECT_TRUE(m->Load(path.c_str(), &status));
        EXPECT_EQ(c.kind, status.kind) << status.reason;
        if (c.kind != GroupsFileStatus::TooComplex) {
            EXPECT_EQ("Other,G", GroupNames());
            continue;
        }
        EXPECT_EQ(1u, m->m_Groups.size());
        EXPECT_TRUE(status.reason == "one of its elements has more than 1000 attributes, which no groups file has" ||
                    status.reason == "its elements are nested more than 64 deep, which no groups file is" ||
                    status.reason == "it declares more than 64 namespaces, which no groups file does")
            << status.reason;
        EXPECT_FALSE(m->Save(path.c_str()));
        EXPECT_EQ(c.bytes, cattest::ReadWholeFile(path));
    }
}
