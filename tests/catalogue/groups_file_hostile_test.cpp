// Groups files made to attack the reader: document types with entities, in 8-bit and
// UTF-16 text, are refused as damaged and left as they are.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "catalogue_test_util.h"

namespace {

class GroupsFileHostile : public cattest::GroupsTest {
protected:
    cattest::TempFolder folder;
    std::string path = folder.Path() + "Purgelet.xml";
};

std::string Utf16(const std::string& text) {
    std::string out("\xFF\xFE", 2);
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

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
    } cases[] = {{"entities", laughs}, {"lower case", plain}, {"UTF-16", Utf16(laughs)}};
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
