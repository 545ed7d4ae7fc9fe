// The mutation run over the groups file's reader: a valid file, then bit flips,
// truncations and odd field values, each case loaded by the group manager, edited and
// saved in a child process (scripts/fuzz.sh runs many more cases).
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>

#include "catalogue/groups.h"
#include "support/mutation_run.h"

namespace {

typedef testsupport::MutationBytes Bytes;

std::vector<testsupport::MutationReader> Readers() {
    return {
        {"groups",
         [] {
             std::string s = "<?xml version=\"1.0\"?>\n<NimboPurgelet Version=\"1.1\">\n<!-- c -->\n<Purgelet>\n"
                             "<Group Id=\"2\" Name=\"A\">\n<Keyword>x</Keyword>\n</Group>\n"
                             "<Group Id=\"3\" Name=\"B\" Color=\"red\"/>\n</Purgelet>\n</NimboPurgelet>";
             return std::vector<Bytes>{Bytes(s.begin(), s.end())};
         },
         [](const Bytes& b) {
             // A file of this run's own: another run from the same build folder, or
             // another test program, writes its cases elsewhere.
             char path[MAX_PATH];
             ::GetTempPathA(MAX_PATH, path);
             std::string file =
                 std::string(path) + "purgelet_fuzz_groups-" + std::to_string(::GetCurrentProcessId()) + ".xml";
             FILE* f = fopen(file.c_str(), "wb");
             if (!f) return;
             fwrite(b.data(), 1, b.size(), f);
             fclose(f);
             CGroupManager* m = CGroupManager::GetInstance();
             // Read, then edited: a group renamed, given a keyword and deleted, one added.
             if (m->Load(file.c_str()) && m->m_Groups.size() > 1) {
                 m->m_Groups[1]->Name += "!";
                 m->m_Groups[1]->AddKeyword("new");
                 if (m->m_Groups.size() > 2) m->DeleteGroup(m->m_Groups[2]);
                 m->CreateGroup()->Name = "Added";
                 m->Save(file.c_str());
             }
             m->Clear();
             ::DeleteFileA(file.c_str());
         }},
    };
}

}  // namespace

TEST(GroupsFileFuzz, Child) {
    if (!testsupport::MutationIsChild()) GTEST_SKIP() << "run by GroupsFileFuzz.EveryCaseSurvives";
    testsupport::MutationChildRun(Readers());
}

TEST(GroupsFileFuzz, EveryCaseSurvives) {
    if (testsupport::MutationIsChild()) GTEST_SKIP();
    testsupport::MutationParentRun(Readers(), "GroupsFileFuzz.Child");
}
